// The desktop host's sound loading: opens the file and picks the reader by its extension. A
// sound that cannot be used is named in one line on standard error, and the game goes on
// without it.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "framework/app/glfw_host.h"
#include "framework/audio/ogg_reader.h"
#include "framework/audio/wav_reader.h"

unsigned char* VoGlfwGame::LoadAudioData(String location, int* length, int* channels, int* format, int* hertz) {
    std::string name = PathToFilePath(location).ToUtf8();
    FILE* file = OpenFile(location, String("rb"));
    if (!file) {
        std::fprintf(stderr, "Floeward: sound %s cannot be opened (%s)\n", name.c_str(), std::strerror(errno));
        return nullptr;
    }
    String lower = location.ToLower();
    unsigned char* block = nullptr;
    if (lower.EndsWith(String(".wav"))) {
        block = LoadWAV(file, length, channels, format, hertz);
    } else if (lower.EndsWith(String(".ogg"))) {
        block = LoadOGG(file, length, channels, format, hertz);
    }
    std::fclose(file);
    if (!block) {
        std::fprintf(stderr, "Floeward: sound %s cannot be decoded\n", name.c_str());
        return nullptr;
    }
    gc_ext_new_bytes.fetch_add(static_cast<long long>(*length) * *channels * *format);
    return block;
}
