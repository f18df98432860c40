// The RIFF/WAVE writer: a 44-byte header (fmt chunk of 16 bytes, PCM) and the samples.
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "tools/assetgen/audio_files.h"
#include "tools/assetgen/synth.h"

namespace assetgen {

namespace {

void Put16(std::vector<unsigned char>& out, uint32_t v) {
    out.push_back(static_cast<unsigned char>(v & 255));
    out.push_back(static_cast<unsigned char>((v >> 8) & 255));
}
void Put32(std::vector<unsigned char>& out, uint32_t v) {
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}
void PutTag(std::vector<unsigned char>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

bool WriteWav(const std::string& path, const std::vector<float>& samples) {
    const uint32_t channels = 1, bits = 16;
    uint32_t dataBytes = static_cast<uint32_t>(samples.size()) * channels * bits / 8;
    std::vector<unsigned char> out;
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, channels);
    Put32(out, kSampleRate);
    Put32(out, kSampleRate * channels * bits / 8);
    Put16(out, channels * bits / 8);
    Put16(out, bits);
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (float s : samples) {
        long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        Put16(out, static_cast<uint32_t>(static_cast<int16_t>(v)) & 0xffff);
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace assetgen
