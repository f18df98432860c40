// The desktop host's picture decoder: any format stb_image reads, with the file's own channels.
#include <stb_image.h>

#include "framework/app/glfw_host.h"

unsigned char* VoGlfwGame::LoadImageData(String location, int* width, int* height, int* depth) {
    FILE* file = OpenFile(location, String("rb"));
    if (!file) return nullptr;
    unsigned char* data = stbi_load_from_file(file, width, height, depth, 0);
    std::fclose(file);
    if (!data) return nullptr;
    gc_ext_new_bytes.fetch_add(static_cast<long long>(*width) * *height * *depth);
    return data;
}
