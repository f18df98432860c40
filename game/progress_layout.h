// Where the level scores and records sit in the saved progress, and the level wheel's step:
// shared by the return to the title and by the saved-data string.
#pragma once

constexpr int kLevels = 15;
constexpr int kLastLevelIndex = kLevels - 1;
// Each level's top ten starts at 10 × (level − 1); its record at that plus kRecordBase.
constexpr int kTopTen = 10;
constexpr int kRecordBase = 150;
// Virtual pixels between two levels on the wheel.
constexpr int kWheelStep = 32;
