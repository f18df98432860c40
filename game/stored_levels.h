// The levels' stored text, encoded from the maps in levels/ when the game is built
// (tools/levelpack writes the source that defines it).
#pragma once

constexpr int kFirstStoredLevel = 1;
constexpr int kLastStoredLevel = 15;

// The stored text of a level from kFirstStoredLevel to kLastStoredLevel; nullptr for any other.
const char* vo_levels_Stored(int level);
// The stored text of the default level, which the level numbers past the designed ones play.
const char* vo_levels_Default();
