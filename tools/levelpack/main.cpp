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
// The maps of the stored levels in order, then the default level's.
constexpr int kMapCount = kStoredCount + 1;

// A text as a C++ string literal; the bytes stay UTF-8 as they are.
std::string Literal(const std::string& text) {
    std::string literal = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') literal += '\\';
        literal += c;
    }
    return literal + "\"";
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "floeward-levelpack: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != kMapCount + 2) {
        return Fail("usage: floeward-levelpack OUTPUT.cpp MAP... (the maps of levels " +
                    std::to_string(kFirstStoredLevel) + " to " + std::to_string(kLastStoredLevel) +
                    " in order, then the default level's)");
    }
    std::vector<std::string> stored;
    std::vector<c_LevelMap> maps;
    for (int i = 0; i < kMapCount; ++i) {
        const std::string path = argv[i + 2];
        std::string text, error;
        if (vo_file_ReadRegular(path, kMapFileLimit, text, error) != VoFileRead::kRead) {
            return Fail("cannot read " + path + " (" + error + ")");
        }
        c_LevelMap map;
        if (!vo_levelpack_ReadMap(text, map, error)) return Fail(path + ": " + error);
        const bool designed = i < kStoredCount;
        if (!map.m_hint.empty() && (!designed || kFirstStoredLevel + i < kFirstMapHintLevel)) {
            return Fail(path + ": only the maps of levels " + std::to_string(kFirstMapHintLevel) + " to " +
                        std::to_string(kLastStoredLevel) + " carry a hint");
        }
        stored.push_back(vo_levelpack_Encode(vo_levelpack_Expand(map)));
        maps.push_back(map);
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
              "constexpr const char* kDefault = \"" << stored.back() << "\";\n\n"
              "struct c_Told {\n"
              "    const char* name;\n"
              "    const char* hint;\n"
              "    bool hasNeeds;\n"
              "    int needs[" << skill::kCount << "];\n"
              "};\n\n"
              "constexpr c_Told kTold[] = {\n";
    for (int i = 0; i < kStoredCount; ++i) {
        const c_LevelMap& map = maps[static_cast<size_t>(i)];
        const bool hasNeeds = map.m_needs != c_LevelMap().m_needs;
        source << "    {" << Literal(map.m_name) << ", " << Literal(map.m_hint) << ", " << (hasNeeds ? "true" : "false")
               << ", {";
        for (size_t k = 0; k < map.m_needs.size(); ++k) source << (k ? ", " : "") << map.m_needs[k];
        source << "}},\n";
    }
    source << "};\n\n"
              "bool Stored(int level) { return level >= kFirstStoredLevel && level <= kLastStoredLevel; }\n\n"
              "}  // namespace\n\n"
              "const char* vo_levels_Stored(int level) { return Stored(level) ? kStored[level - kFirstStoredLevel] : nullptr; }\n\n"
              "const char* vo_levels_Default() { return kDefault; }\n\n"
              "const char* vo_levels_Name(int level) { return Stored(level) ? kTold[level - kFirstStoredLevel].name : \"\"; }\n\n"
              "const char* vo_levels_Hint(int level) { return Stored(level) ? kTold[level - kFirstStoredLevel].hint : \"\"; }\n\n"
              "const int* vo_levels_Needs(int level) {\n"
              "    if (!Stored(level) || !kTold[level - kFirstStoredLevel].hasNeeds) return nullptr;\n"
              "    return kTold[level - kFirstStoredLevel].needs;\n"
              "}\n";
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << source.str();
    if (!out.flush()) return Fail(std::string("cannot write ") + argv[1]);
    return 0;
}
