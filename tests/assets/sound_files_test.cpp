// The generated sounds: 16-bit PCM WAVs of their planned lengths, and a tune of at least a
// minute that decodes and loops without a jump.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include "assets/data_dir.h"
#include "framework/audio/wav_reader.h"

namespace {

struct Wav {
    bool ok = false;
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;
};

uint32_t Le32(const std::vector<unsigned char>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t Le16(const std::vector<unsigned char>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }

// Walks the RIFF chunks; the header sizes must agree with the file.
Wav ReadWav(const std::string& path) {
    Wav w;
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" || std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
        return w;
    if (Le32(b, 4) + 8 != b.size()) return w;
    bool haveFormat = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        std::string id(b.begin() + at, b.begin() + at + 4);
        uint32_t size = Le32(b, at + 4);
        if (at + 8 + size > b.size()) return w;
        if (id == "fmt " && size >= 16) {
            w.format = Le16(b, at + 8);
            w.channels = Le16(b, at + 10);
            w.rate = static_cast<int>(Le32(b, at + 12));
            w.bits = Le16(b, at + 22);
            haveFormat = true;
        } else if (id == "data" && haveFormat) {
            for (size_t i = 0; i + 1 < size; i += 2) w.samples.push_back(static_cast<int16_t>(Le16(b, at + 8 + i)));
            w.ok = true;
        }
        at += 8 + size + (size & 1);
    }
    return w;
}

TEST(SoundFiles, EveryEffectIsMono16BitPcmOfItsPlannedLengthAndStartsAndEndsQuietly) {
    const struct {
        int number;
        float seconds;
    } planned[] = {{1, 0.32f}, {2, 0.16f}, {3, 0.14f}, {4, 0.18f}, {5, 0.85f}, {6, 0.30f}, {7, 0.42f}, {8, 0.50f},
                   {9, 0.45f}, {10, 0.36f}, {11, 0.55f}, {12, 0.40f}, {95, 0.25f}, {96, 1.80f}, {98, 0.22f}, {99, 0.06f}};
    for (const auto& p : planned) {
        char name[32];
        std::snprintf(name, sizeof name, "/sfx/%03d.wav", p.number);
        SCOPED_TRACE(name);
        Wav w = ReadWav(DataDir() + name);
        ASSERT_TRUE(w.ok) << "not a readable RIFF/WAVE file";
        EXPECT_EQ(w.format, 1);
        EXPECT_EQ(w.bits, 16);
        EXPECT_EQ(w.channels, 1);
        EXPECT_EQ(w.rate, 44100);
        EXPECT_EQ(w.samples.size(), static_cast<size_t>(std::lround(p.seconds * 44100)));
        // and the game's own reader takes it the same way
        FILE* file = std::fopen((DataDir() + name).c_str(), "rb");
        ASSERT_NE(file, nullptr);
        int length = 0, channels = 0, format = 0, hertz = 0;
        unsigned char* data = LoadWAV(file, &length, &channels, &format, &hertz);
        std::fclose(file);
        ASSERT_NE(data, nullptr);
        std::free(data);
        EXPECT_EQ(length, static_cast<int>(w.samples.size()));
        EXPECT_EQ(channels, 1);
        EXPECT_EQ(format, 2);
        EXPECT_EQ(hertz, 44100);
        int peak = 0;
        for (int16_t s : w.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
        EXPECT_GT(peak, 16000) << "too quiet";
        EXPECT_LT(peak, 32767) << "clipped";
        // a sound that starts or stops at full swing clicks
        EXPECT_LT(std::abs(w.samples.front()), 200);
        EXPECT_LT(std::abs(w.samples.back()), 200);
    }
}

TEST(SoundFiles, TuneDecodesLastsAMinuteAndItsEndJoinsItsStart) {
    int channels = 0, rate = 0;
    short* pcm = nullptr;
    int frames = stb_vorbis_decode_filename((DataDir() + "/sfx/Garlic.ogg").c_str(), &channels, &rate, &pcm);
    ASSERT_GT(frames, 0);
    std::unique_ptr<short, void (*)(void*)> owned(pcm, free);
    ASSERT_EQ(channels, 2);
    ASSERT_EQ(rate, 44100);
    EXPECT_GE(frames, 60 * rate);
    for (int c = 0; c < channels; c++) {
        std::vector<int> steps;
        for (int i = 1; i < frames; i++) steps.push_back(std::abs(pcm[i * channels + c] - pcm[(i - 1) * channels + c]));
        std::sort(steps.begin(), steps.end());
        int typical = steps[steps.size() * 99 / 100];
        int seam = std::abs(pcm[c] - pcm[(frames - 1) * channels + c]);
        EXPECT_LE(seam, typical) << "channel " << c << ": the loop point jumps";
        int peak = 0;
        for (int i = 0; i < frames; i++) peak = std::max(peak, std::abs(static_cast<int>(pcm[i * channels + c])));
        EXPECT_GT(peak, 12000) << "channel " << c << " too quiet";
    }
}

}  // namespace
