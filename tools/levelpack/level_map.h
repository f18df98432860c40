// Level maps: the readable form of a level kept in levels/, and the run-length coded text the
// game stores for it (its decoder is c_MyApp::p_JuNKrunch).
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "game/defs.h"

// The most bytes of a map file: fourteen rows of 28 and the counters, with room for comments.
inline constexpr long long kMapFileLimit = 64 << 10;

// A level as its map file gives it.
struct c_LevelMap {
    // The rows of map characters, top row first.
    std::array<std::string, grid::kRows> m_rows;
    // The ten counter characters, "@" for 0, "A" for 1 and so on.
    std::string m_counters;
};

// Reads a map file: lines starting with "#" and blank lines are comments; one line
// "counters CCCCCCCCCC"; kRows lines of kCols map characters ("0" empty, "1" block, "S" start,
// "X" exit, "A" to "E" skill pick-ups, "F" penguin pick-up), with exactly one start and one
// exit. False with the first fault, and its line, in error.
bool vo_levelpack_ReadMap(std::string_view text, c_LevelMap& map, std::string& error);

// The level text the stored string expands to: the map column by column, each from the top,
// then the counter characters.
std::string vo_levelpack_Expand(const c_LevelMap& map);

// The stored string of an expanded text: greedy runs of up to 52 equal characters, each a count
// letter ("A" 1 to "Z" 26, "a" 27 to "z" 52) and the character, running on across columns and
// into the counters; cut into groups of 20 characters separated by single blanks.
std::string vo_levelpack_Encode(std::string_view expanded);
