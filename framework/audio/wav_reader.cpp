// The RIFF/WAV reader. Every size in the file is checked against what is left of the file
// before it is used, so a damaged or hostile file is rejected rather than trusted.
#include "framework/audio/wav_reader.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

bool ReadTag(FILE* file, const char* tag) {
    char bytes[4];
    return std::fread(bytes, 1, 4, file) == 4 && std::memcmp(bytes, tag, 4) == 0;
}

bool ReadU16(FILE* file, int* value) {
    unsigned char b[2];
    if (std::fread(b, 1, 2, file) != 2) return false;
    *value = b[0] | (b[1] << 8);
    return true;
}

bool ReadI32(FILE* file, int32_t* value) {
    unsigned char b[4];
    if (std::fread(b, 1, 4, file) != 4) return false;
    *value = static_cast<int32_t>(static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                                  (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24));
    return true;
}

// Bytes between the read position and the end of the file; 0 when it cannot be told.
long Remaining(FILE* file, long end) {
    long at = std::ftell(file);
    return at < 0 || at > end ? 0 : end - at;
}

}  // namespace

unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* format, int* hertz) {
    long start = std::ftell(file);
    if (start < 0 || std::fseek(file, 0, SEEK_END) != 0) return nullptr;
    long end = std::ftell(file);
    if (end < 0 || std::fseek(file, start, SEEK_SET) != 0) return nullptr;

    int32_t riffSize = 0, fmtSize = 0, rate = 0, byteRate = 0;
    int audioFormat = 0, chans = 0, blockAlign = 0, bits = 0;
    if (!ReadTag(file, "RIFF") || !ReadI32(file, &riffSize) || !ReadTag(file, "WAVE") || !ReadTag(file, "fmt ") ||
        !ReadI32(file, &fmtSize) || !ReadU16(file, &audioFormat) || !ReadU16(file, &chans) ||
        !ReadI32(file, &rate) || !ReadI32(file, &byteRate) || !ReadU16(file, &blockAlign) || !ReadU16(file, &bits)) {
        return nullptr;
    }
    int bytesPerSample = bits / 8;
    if (audioFormat != 1 || chans == 0 || bytesPerSample == 0) return nullptr;
    if (fmtSize < 16 || fmtSize - 16 > Remaining(file, end)) return nullptr;
    if (std::fseek(file, fmtSize - 16, SEEK_CUR) != 0) return nullptr;

    for (;;) {
        char tag[4];
        int32_t size = 0;
        if (std::fread(tag, 1, 4, file) != 4 || !ReadI32(file, &size)) return nullptr;
        if (size < 0 || size > Remaining(file, end)) return nullptr;
        if (std::memcmp(tag, "data", 4) != 0) {
            if (std::fseek(file, size, SEEK_CUR) != 0) return nullptr;
            continue;
        }
        // One byte more than asked, so that an empty chunk still gives a block.
        auto* block = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size) + 1));
        if (!block) return nullptr;
        if (std::fread(block, 1, static_cast<size_t>(size), file) == static_cast<size_t>(size)) {
            *length = size / (chans * bytesPerSample);
            *channels = chans;
            *format = bytesPerSample;
            *hertz = rate;
            return block;
        }
        std::free(block);
    }
}
