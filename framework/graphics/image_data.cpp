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

// Opens a picture file and reads its size and channels: null, with the reason on standard error,
// when it cannot be opened or read, or when no texture could hold it, so it is never decoded.
FILE* OpenPicture(VoGlfwGame& host, const String& location, const std::string& name, int* width, int* height,
                  int* depth) {
    FILE* file = host.OpenFile(location, String("rb"));
    if (!file) {
        std::fprintf(stderr, "Floeward: picture %s cannot be opened (%s)\n", name.c_str(), std::strerror(errno));
        return nullptr;
    }
    if (!stbi_info_from_file(file, width, height, depth)) {
        std::fclose(file);
        std::fprintf(stderr, "Floeward: picture %s cannot be decoded (%s)\n", name.c_str(),
                     PrintableReason(stbi_failure_reason()).c_str());
        return nullptr;
    }
    const int limit = vo_surface_maxTextureSize;
    if (limit > 0 && (*width > limit || *height > limit)) {
        std::fclose(file);
        std::fprintf(stderr, "Floeward: picture %s is %dx%d, larger than the %d pixels a texture may have here\n",
                     name.c_str(), *width, *height, limit);
        return nullptr;
    }
    return file;
}

}  // namespace

unsigned char* VoGlfwGame::LoadImageData(String location, int* width, int* height, int* depth) {
    const std::string name = PathToFilePath(location).ToUtf8();
    FILE* file = OpenPicture(*this, location, name, width, height, depth);
    if (!file) return nullptr;
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

bool VoGlfwGame::LoadImageInfo(String location, int* width, int* height, int* depth) {
    FILE* file = OpenPicture(*this, location, PathToFilePath(location).ToUtf8(), width, height, depth);
    if (file) std::fclose(file);
    return file != nullptr;
}
