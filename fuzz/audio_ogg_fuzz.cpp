// Feeds arbitrary bytes to the Ogg Vorbis path as a file: decoding must end, and a decoded
// block must hold as many samples as it claims.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "framework/audio/ogg_reader.h"

// The system's Vorbis decoder asks for absurd sizes on hostile headers and relies on malloc
// failing, so the sanitizer lets malloc fail.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file) return 0;
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char* block = LoadOGG(file, &length, &channels, &format, &hertz);
    std::fclose(file);
    if (!block) return 0;
    if (length < 0 || channels <= 0 || format != 2) std::abort();
    volatile unsigned sum = 0;
    for (size_t i = 0; i < static_cast<size_t>(length) * channels * format; ++i) sum = sum + block[i];
    std::free(block);
    return 0;
}
