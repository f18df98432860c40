// The level maps and the level packer: level 1 and the default level encode to the texts they
// were given, every stored level decodes to its map with one start and one exit and tells its
// name, hint and needs; the packer's run-length code and groups; maps the packer refuses.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "game_fixture.h"
#include "game/stored_levels.h"
#include "tools/levelpack/level_map.h"

namespace game_test {
namespace {

constexpr int kDefaultLevelNumber = 16;

// The texts level 1 and the default level were given as: the packer must give them to the
// character from 01.map and default.map, and the game must store them.
constexpr const char* kGivenLevel1 =
    "N1L0B1L0B1J0ASA0B1L0 B1L0B1L0B1L0B1L0B1L0 B1L0B1L0B1L0B1L0B1L0 B1L0B1L0B1M0A1M0A1M0 "
    "A1M0A1L0B1L0B1L0B1L0 B1K0AXB1L0P1AJI@";
constexpr const char* kGivenDefaultLevel =
    "N1L0B1L0B1J0ASA0B1L0 B1L0B1L0B1L0B1L0B1L0 B1L0B1L0B1L0B1L0B1L0 B1L0B1L0B1M0A1M0A1M0 "
    "A1M0A1L0B1L0B1L0B1L0 B1K0AXB1L0P1JJ";

std::string MapPath(int level) {
    char name[16];
    std::snprintf(name, sizeof name, "%02d.map", level);
    return std::string(FLOEWARD_SOURCE_DIR) + "/levels/" + (level == kDefaultLevelNumber ? "default.map" : name);
}

c_LevelMap ReadMap(int level) {
    std::ifstream in(MapPath(level), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    c_LevelMap map;
    std::string error;
    EXPECT_TRUE(vo_levelpack_ReadMap(text.str(), map, error)) << MapPath(level) << ": " << error;
    return map;
}

// An all-empty map with a start and an exit, as a map file.
std::string EmptyMapFile(const std::string& counters = "@@@@@@@@@@") {
    std::string text = "# empty\ncounters " + counters + "\n";
    for (int y = 1; y <= grid::kRows; ++y) {
        std::string row(grid::kCols, '0');
        if (y == 3) row[1] = 'S';
        if (y == 12) row[26] = 'X';
        text += row + "\n";
    }
    return text;
}

class LevelMaps : public GameTest {};

TEST_F(LevelMaps, LevelOneAndTheDefaultLevelEncodeToTheStoredStrings) {
    for (auto [level, given] : {std::pair{1, kGivenLevel1}, std::pair{kDefaultLevelNumber, kGivenDefaultLevel}}) {
        SCOPED_TRACE(level);
        EXPECT_EQ(vo_levelpack_Encode(vo_levelpack_Expand(ReadMap(level))), given);
        EXPECT_EQ(app->p_GetLevDat(level).ToUtf8(), given);
    }
}

TEST_F(LevelMaps, EveryStoredLevelDecodesToItsMapWithOneStartAndOneExit) {
    for (int level = 1; level <= kDefaultLevelNumber; ++level) {
        SCOPED_TRACE(level);
        const c_LevelMap map = ReadMap(level);
        const std::string expanded = vo_levelpack_Expand(map);
        const std::string stored = app->p_GetLevDat(level).ToUtf8();
        if (level <= kLastStoredLevel) {
            EXPECT_EQ(vo_levels_Name(level), map.m_name);
            EXPECT_EQ(vo_levels_Hint(level), map.m_hint);
            const int* needs = vo_levels_Needs(level);
            EXPECT_EQ(needs != nullptr, map.m_needs != c_LevelMap().m_needs);
            for (int k = 0; needs && k < skill::kCount; ++k) EXPECT_EQ(needs[k], map.m_needs[static_cast<size_t>(k)]);
        }
        EXPECT_EQ(app->p_JuNKrunch(String(stored)).ToUtf8(), expanded);
        // Built by the game, the level has its start and exit where the map puts them, once each.
        app->p_BuildLevel(1, String(expanded));
        int starts = 0, exits = 0;
        for (int x = 1; x <= grid::kCols; ++x) {
            for (int y = 1; y <= grid::kRows; ++y) {
                const float code = app->m_grid[(y * grid::kRowCells + x) * grid::kCellFloats];
                starts += code == tile::kStart;
                exits += code == tile::kExit;
            }
        }
        EXPECT_EQ(starts, 1);
        EXPECT_EQ(exits, 1);
        const int start = static_cast<int>(expanded.find('S')), exit = static_cast<int>(expanded.find('X'));
        EXPECT_EQ(app->m_player[play::kStartX], start / grid::kRows + 1);
        EXPECT_EQ(app->m_player[play::kStartY], start % grid::kRows + 1);
        EXPECT_EQ(app->m_player[play::kExitX], exit / grid::kRows + 1);
        EXPECT_EQ(app->m_player[play::kExitY], exit % grid::kRows + 1);
    }
}

TEST_F(LevelMaps, RunsReachFiftyTwoAndGroupsHoldTwentyCharacters) {
    c_LevelMap map;
    std::string error;
    ASSERT_TRUE(vo_levelpack_ReadMap(EmptyMapFile("JJJJJJJJJJ"), map, error)) << error;
    const std::string expanded = vo_levelpack_Expand(map);
    ASSERT_EQ(expanded.size(), static_cast<size_t>(grid::kCols * grid::kRows + play::kCounterSlots));
    EXPECT_EQ(expanded.substr(grid::kRows, 3), "00S") << "column by column, each from the top";
    const std::string stored = vo_levelpack_Encode(expanded);
    // Column 1 is 14 empty cells, then column 2 starts with two more before the start.
    EXPECT_EQ(stored.substr(0, 6), "P0ASz0");
    EXPECT_EQ(app->p_JuNKrunch(String(stored)).ToUtf8(), expanded);
    for (size_t at = 0; at < stored.size(); at += 21) {
        const size_t group = std::min<size_t>(20, stored.size() - at);
        EXPECT_EQ(stored.substr(at, group).find(' '), std::string::npos) << at;
        if (at + group < stored.size()) {
            EXPECT_EQ(stored[at + group], ' ') << at;
        }
    }
    EXPECT_EQ(stored.substr(stored.size() - 2), "JJ") << "the counters close the last run";
}

TEST_F(LevelMaps, BadMapsAreRefusedWithTheirLine) {
    const std::string good = EmptyMapFile();
    auto refused = [](const std::string& text, const std::string& says) {
        c_LevelMap map;
        std::string error;
        EXPECT_FALSE(vo_levelpack_ReadMap(text, map, error)) << says;
        EXPECT_NE(error.find(says), std::string::npos) << error;
    };
    auto replaced = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    refused(replaced("0S0", "S0"), "line 5: a row must be 28 characters, not 27");
    refused(replaced("0S0", "2S0"), "line 5: column 1 holds '2'");
    refused(replaced("0S0", "SS0"), "exactly one start and one exit, not 2 and 1");
    refused(replaced("X0", "00"), "not 1 and 0");
    refused(replaced("counters @@@@@@@@@@\n", ""), "no counters line");
    refused(replaced("counters @@@@@@@@@@", "counters @@@@@@@@@"), "line 2: counters must be ten characters");
    refused(replaced("counters @@@@@@@@@@", "counters @@@@@@@@@a"), "line 2: counters must be ten characters");
    refused(good + "counters @@@@@@@@@@\n", "line 17: a second counters line");
    refused(good + std::string(grid::kCols, '0') + "\n", "line 17: more than 14 rows");
    refused(good.substr(0, good.rfind('\n', good.size() - 2) + 1), "only 13 of 14 rows");
    refused("name Thaw\nname Thaw\n" + good, "line 2: a second name line");
    refused("hint Melt\x07s\n" + good, "line 1: the hint holds '\\x07' at character 5");
    refused("name \n" + good, "line 1: the name is empty");
    refused("needs 1 0 0 0\n" + good, "line 1: needs must be five numbers");
    refused("needs 1 0 0 0 100\n" + good, "line 1: needs must be five numbers");

    c_LevelMap map;
    std::string error;
    ASSERT_TRUE(vo_levelpack_ReadMap("name Thaw\nhint Hold \xC2\xACK\\nto hurry\nneeds 1 - 0 2 0\n" + good, map, error)) << error;
    EXPECT_EQ(map.m_name, "Thaw");
    EXPECT_EQ(map.m_hint, "Hold \xC2\xACK\\nto hurry");
    EXPECT_EQ(map.m_needs, (std::array<int, skill::kCount>{1, kUnknownNeed, 0, 2, 0}));
    std::string crlf;
    for (char c : good) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_TRUE(vo_levelpack_ReadMap(crlf, map, error)) << error;
}

}  // namespace
}  // namespace game_test
