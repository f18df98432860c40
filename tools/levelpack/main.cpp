// floeward-levelpack: encodes the level maps into the source of the game's stored level table.
// Run by the build; exits 1 with the file and line at fault when a map cannot be read.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/app/files.h"
#include "game/stored_levels.h"
#include "tools/levelpack/level_map.h"

namespace {

constexpr int kStoredCount = kLastStoredLevel - kFirstStoredLevel + 1;

int Fail(const std::string& message) {
    std::fprintf(stderr, "floeward-levelpack: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != kStoredCount + 2) {
        return Fail("usage: floeward-levelpack OUTPUT.cpp MAP... (the maps of levels " +
                    std::to_string(kFirstStoredLevel) + " to " + std::to_string(kLastStoredLevel) + ", in order)");
    }
    std::vector<std::string> stored;
    for (int i = 0; i < kStoredCount; ++i) {
        const std::string path = argv[i + 2];
        std::string text, error;
        if (vo_file_ReadRegular(path, kMapFileLimit, text, error) != VoFileRead::kRead) {
            return Fail("cannot read " + path + " (" + error + ")");
        }
        c_LevelMap map;
        if (!vo_levelpack_ReadMap(text, map, error)) return Fail(path + ": " + error);
        stored.push_back(vo_levelpack_Encode(vo_levelpack_Expand(map)));
    }

    std::ostringstream source;
    source << "// Written by floeward-levelpack from the level maps; edit the maps in levels/ instead.\n"
              "#include \"game/stored_levels.h\"\n\n"
              "namespace {\n\n"
              "constexpr const char* kStored[] = {\n";
    for (int i = 0; i < kStoredCount; ++i) {
        source << "    // Level " << kFirstStoredLevel + i << ".\n    \"" << stored[static_cast<size_t>(i)] << "\",\n";
    }
    source << "};\n\n"
              "}  // namespace\n\n"
              "const char* vo_levels_Stored(int level) {\n"
              "    if (level < kFirstStoredLevel || level > kLastStoredLevel) return nullptr;\n"
              "    return kStored[level - kFirstStoredLevel];\n"
              "}\n";
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << source.str();
    if (!out.flush()) return Fail(std::string("cannot write ") + argv[1]);
    return 0;
}
