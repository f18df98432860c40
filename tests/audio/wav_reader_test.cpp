// The WAV reader over well-formed, unusual, damaged and hostile files, and the OpenAL buffer a
// decoded file becomes.
#include <gtest/gtest.h>

#include <cstring>

#include "audio_test_support.h"
#include "framework/audio/al_format.h"
#include "framework/audio/wav_reader.h"

namespace {

using namespace audio_test;

struct WavCase {
    const char* name;
    std::string bytes;
    int length, channels, format, hertz, alFormat;  // length -1: rejected
};

void PrintTo(const WavCase& c, std::ostream* out) { *out << c.name; }

const std::string kData(1000, '\x5a');
const std::string kList = Chunk("LIST", std::string("INFOISFT\x04\0\0\0abcd", 16));
const std::string kStereo16 = Fmt(1, 2, 44100, 16);

WavCase Rejected(const char* name, std::string bytes) { return {name, std::move(bytes), -1, 0, 0, 0, 0}; }

std::vector<WavCase> Cases() {
    return {
        {"Stereo16", Riff(kStereo16 + Chunk("data", std::string(176400, 'x'))), 44100, 2, 2, 44100, AL_FORMAT_STEREO16},
        {"Mono8", Riff(Fmt(1, 1, 22050, 8) + Chunk("data", kData)), 1000, 1, 1, 22050, AL_FORMAT_MONO8},
        {"Stereo8", Riff(Fmt(1, 2, 8000, 8) + Chunk("data", kData)), 500, 2, 1, 8000, AL_FORMAT_STEREO8},
        {"Mono16", Riff(Fmt(1, 1, 11025, 16) + Chunk("data", kData)), 500, 1, 2, 11025, AL_FORMAT_MONO16},
        {"ListBetweenFmtAndData", Riff(kStereo16 + kList + Chunk("data", kData)), 250, 2, 2, 44100, AL_FORMAT_STEREO16},
        {"Fmt18Bytes", Riff(Fmt(1, 1, 44100, 16, Le16(0)) + Chunk("data", kData)), 500, 1, 2, 44100, AL_FORMAT_MONO16},
        {"PartialFrameDropped", Riff(kStereo16 + Chunk("data", kData + "x")), 250, 2, 2, 44100, AL_FORMAT_STEREO16},
        {"EmptyData", Riff(kStereo16 + Chunk("data", "")), 0, 2, 2, 44100, AL_FORMAT_STEREO16},
        // Loads, but OpenAL has no format for it, so it plays silently.
        {"TwentyFourBit", Riff(Fmt(1, 2, 44100, 24) + Chunk("data", kData.substr(0, 600))), 100, 2, 3, 44100, 0},
        Rejected("ListBeforeFmt", Riff(kList + kStereo16 + Chunk("data", kData))),
        Rejected("NotPcm", Riff(Fmt(3, 2, 44100, 32) + Chunk("data", kData))),
        Rejected("NoDataChunk", Riff(kStereo16 + kList)),
        Rejected("NotWave", Riff(kStereo16 + Chunk("data", kData)).replace(8, 4, "AVI ")),
        Rejected("Empty", ""),
        Rejected("TruncatedFmt", Riff(kStereo16).substr(0, 30)),
        Rejected("TruncatedData", Riff(kStereo16 + Chunk("data", kData)).substr(0, 600)),
        Rejected("ZeroChannels", Riff(Fmt(1, 0, 44100, 16) + Chunk("data", kData))),
        Rejected("FourBitSamples", Riff(Fmt(1, 1, 44100, 4) + Chunk("data", kData))),
        Rejected("FmtShorterThan16", Riff("fmt " + Le32(12) + kStereo16.substr(8) + Chunk("data", kData))),
        Rejected("FmtBeyondFile", Riff("fmt " + Le32(0x7ffffff0) + kStereo16.substr(8) + Chunk("data", kData))),
        Rejected("DataSizeNegative", Riff(kStereo16 + "data" + Le32(0xfffffff0u) + kData)),
        Rejected("DataBeyondFile", Riff(kStereo16 + "data" + Le32(0x7fffffff) + kData)),
        Rejected("SkippedChunkNegative", Riff(kStereo16 + "LIST" + Le32(0x80000000u) + Chunk("data", kData))),
        Rejected("SkippedChunkBeyondFile", Riff(kStereo16 + "LIST" + Le32(5000) + Chunk("data", kData))),
    };
}

class WavReader : public ::testing::TestWithParam<WavCase> {};

TEST_P(WavReader, DecodesOrRejects) {
    const WavCase& c = GetParam();
    FILE* file = std::fopen(WriteFile(std::string(c.name) + ".wav", c.bytes).c_str(), "rb");
    ASSERT_NE(file, nullptr);
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char* block = LoadWAV(file, &length, &channels, &format, &hertz);
    std::fclose(file);
    ASSERT_EQ(block != nullptr, c.length >= 0);
    if (!block) return;
    EXPECT_EQ(length, c.length);
    EXPECT_EQ(channels, c.channels);
    EXPECT_EQ(format, c.format);
    EXPECT_EQ(hertz, c.hertz);
    EXPECT_EQ(vo_audio_ALFormat(format, channels), c.alFormat);
    size_t data = c.bytes.find("data") + 8;
    EXPECT_EQ(std::memcmp(block, c.bytes.data() + data, static_cast<size_t>(length * channels * format)), 0);
    std::free(block);
}

INSTANTIATE_TEST_SUITE_P(Files, WavReader, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

class WavUpload : public DeviceTest {};

TEST_F(WavUpload, TheHostDecodesByExtensionAndTheDeviceUploadsEveryByte) {
    long long before = gc_ext_new_bytes.load();
    std::string path = WriteFile("stereo.WAV", Riff(kStereo16 + kList + Chunk("data", std::string(176400, 'x'))));
    Ref<gxtkSample> sample = device->LoadSample(String(path.c_str()));
    ASSERT_TRUE(sample);
    EXPECT_EQ(gc_ext_new_bytes.load() - before, 176400);
    ALint size = 0, channels = 0, bits = 0;
    alGetBufferi(sample->m_buffer, AL_SIZE, &size);
    alGetBufferi(sample->m_buffer, AL_CHANNELS, &channels);
    alGetBufferi(sample->m_buffer, AL_BITS, &bits);
    EXPECT_EQ(size, 176400);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(bits, 16);
    for (const char* name : {"missing.wav", "tone.mp3", "wav"}) {
        if (std::string(name) != "missing.wav") WriteFile(name, ToneWav(0.05, 440));
        EXPECT_FALSE(device->LoadSample(String((ScratchDir() + "/" + name).c_str()))) << name;
    }
}

}  // namespace
