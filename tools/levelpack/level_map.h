// Level maps: the readable form of a level kept in levels/, and the run-length coded text the
// game stores for it (its decoder is c_MyApp::p_JuNKrunch).
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "game/defs.h"
#include "game/stored_levels.h"

// The most a `needs` line may ask of one skill, and the longest name and hint.
inline constexpr int kMostNeeded = 99;
inline constexpr size_t kLongestName = 24;
inline constexpr size_t kLongestHint = 80;

// The most bytes of a map file: fourteen rows of 28 and the counters, with room for comments.
inline constexpr long long kMapFileLimit = 64 << 10;

// A level as its map file gives it.
struct c_LevelMap {
    // The rows of map characters, top row first.
    std::array<std::string, grid::kRows> m_rows;
    // The ten counter characters, "@" for 0, "A" for 1 and so on.
    std::string m_counters;
    // What the player is told of the level: its name, and one hint drawn over it ("" for none;
    // a backslash and "n" break the hint's line, as in the game's texts).
    std::string m_name;
    std::string m_hint;
    // For each of the five skills, the fewest of it with which the level was proven finishable
    // as the campaign enters it; kUnknownNeed where the map states none.
    std::array<int, skill::kCount> m_needs{kUnknownNeed, kUnknownNeed, kUnknownNeed, kUnknownNeed, kUnknownNeed};
};

// Reads a map file: lines starting with "#" and blank lines are comments; one line
// "counters CCCCCCCCCC"; at most one each of "name TEXT", "hint TEXT" (printable ASCII and the
// key-icon sign "¬") and "needs J L M B S" (a number 0 to kMostNeeded, or "-" where nothing was
// proven); kRows lines of kCols map characters ("0" empty, "1" block, "S" start, "X" exit, "A"
// to "E" skill pick-ups, "F" penguin pick-up), with exactly one start and one exit. False with
// the first fault, and its line, in error.
bool vo_levelpack_ReadMap(std::string_view text, c_LevelMap& map, std::string& error);

// The level text the stored string expands to: the map column by column, each from the top,
// then the counter characters.
std::string vo_levelpack_Expand(const c_LevelMap& map);

// The stored string of an expanded text: greedy runs of up to 52 equal characters, each a count
// letter ("A" 1 to "Z" 26, "a" 27 to "z" 52) and the character, running on across columns and
// into the counters; cut into groups of 20 characters separated by single blanks.
std::string vo_levelpack_Encode(std::string_view expanded);
