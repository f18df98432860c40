// The levels' stored text and what the player is told of each, encoded from the maps in
// levels/ when the game is built (tools/levelpack writes the source that defines it).
#pragma once

constexpr int kFirstStoredLevel = 1;
constexpr int kLastStoredLevel = 15;
// Levels before this one keep the hints the HUD gives them; from it on, a map may carry one.
constexpr int kFirstMapHintLevel = 5;
// A skill whose need nothing proved.
constexpr int kUnknownNeed = -1;

// The stored text of a level from kFirstStoredLevel to kLastStoredLevel; nullptr for any other.
const char* vo_levels_Stored(int level);
// The stored text of the default level, which the level numbers past the designed ones play.
const char* vo_levels_Default();
// The name of a stored level; "" when its map gives none or for any other level.
const char* vo_levels_Name(int level);
// The hint drawn over a stored level ("\n", a backslash and "n", breaks its line); "" for none.
const char* vo_levels_Hint(int level);
// For a stored level whose map has a needs line, the fewest of each skill (Jump, Leap, Melt,
// Burst, Spin) with which it was proven finishable as the campaign enters it, kUnknownNeed where
// nothing was proven; nullptr when there is no needs line or for any other level.
const int* vo_levels_Needs(int level);
