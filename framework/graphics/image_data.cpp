// The desktop host's picture decoder: any format stb_image reads, with the file's own channels.
// A picture that cannot be used is named in one line on standard error, and the game goes on
// without it.
#include <stb_image.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "framework/app/glfw_host.h"
#include "framework/graphics/surface.h"

namespace {

// The decoder's reason, with every byte that is not printable ASCII shown as "?": it quotes
// the name of an unknown chunk from the file itself, which could break or colour the line.
std::string PrintableReason(const char* reason) {
    std::string text = reason ? reason : "";
    for (char& c : text) {
        if (c < ' ' || c > '~') c = '?';
    }
    return text;
}

}  // namespace

unsigned char* VoGlfwGame::LoadImageData(String location, int* width, int* height, int* depth) {
    std::string name = PathToFilePath(location).ToUtf8();
    FILE* file = OpenFile(location, String("rb"));
    if (!file) {
        std::fprintf(stderr, "Floeward: picture %s cannot be opened (%s)\n", name.c_str(), std::strerror(errno));
        return nullptr;
    }
    // The size is read first, so that a picture no texture could hold is never decoded.
    int limit = vo_surface_maxTextureSize;
    int w = 0, h = 0, n = 0;
    if (limit > 0 && stbi_info_from_file(file, &w, &h, &n) && (w > limit || h > limit)) {
        std::fclose(file);
        std::fprintf(stderr, "Floeward: picture %s is %dx%d, larger than the %d pixels a texture may have here\n",
                     name.c_str(), w, h, limit);
        return nullptr;
    }
    unsigned char* data = stbi_load_from_file(file, width, height, depth, 0);
    std::fclose(file);
    if (!data) {
        std::fprintf(stderr, "Floeward: picture %s cannot be decoded (%s)\n", name.c_str(),
                     PrintableReason(stbi_failure_reason()).c_str());
        return nullptr;
    }
    gc_ext_new_bytes.fetch_add(static_cast<long long>(*width) * *height * *depth);
    return data;
}
