// The asset generator: writes every picture, sound and the tune into a data folder, and on
// request the contact sheets for reviewing the art or the installed game's desktop icons.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "tools/assetgen/audio_files.h"
#include "tools/assetgen/contact_sheet.h"
#include "tools/assetgen/desktop_icon.h"
#include "tools/assetgen/images.h"

namespace {

using namespace assetgen;

bool WriteImages(const std::filesystem::path& dataDir) {
    for (const ImageAsset& asset : ImageAssets()) {
        for (int level : {1, 2, 4}) {
            if (level > 1 && !asset.detailLevels) continue;
            std::filesystem::path path = dataDir / ImageFileName(asset.stem, level);
            std::filesystem::create_directories(path.parent_path());
            if (!RenderImage(asset, level).WritePng(path.string())) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                return false;
            }
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--contact-sheets") == 0) return WriteContactSheets(argv[2]) ? 0 : 1;
    if (argc == 3 && std::strcmp(argv[1], "--desktop-icons") == 0) return WriteDesktopIcons(argv[2]) ? 0 : 1;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DATA_DIR | --contact-sheets DIR | --desktop-icons DIR\n", argv[0]);
        return 2;
    }
    std::filesystem::path dataDir = argv[1];
    if (!WriteImages(dataDir)) return 1;
    if (!WriteSounds(dataDir.string())) {
        std::fprintf(stderr, "cannot write the sounds into %s\n", dataDir.c_str());
        return 1;
    }
    return 0;
}
