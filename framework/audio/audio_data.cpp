// The desktop host's sound loading: opens the file and picks the reader by its extension.
#include <cstdlib>

#include "framework/app/glfw_host.h"
#include "framework/audio/ogg_reader.h"
#include "framework/audio/wav_reader.h"

unsigned char* VoGlfwGame::LoadAudioData(String location, int* length, int* channels, int* format, int* hertz) {
    FILE* file = OpenFile(location, String("rb"));
    if (!file) return nullptr;
    String lower = location.ToLower();
    unsigned char* block = nullptr;
    if (lower.EndsWith(String(".wav"))) {
        block = LoadWAV(file, length, channels, format, hertz);
    } else if (lower.EndsWith(String(".ogg"))) {
        block = LoadOGG(file, length, channels, format, hertz);
    }
    std::fclose(file);
    if (block) gc_ext_new_bytes.fetch_add(static_cast<long long>(*length) * *channels * *format);
    return block;
}
