// Float to Int as the game converts: toward zero, saturating instead of overflowing.
#pragma once

#include <limits>

// Values beyond the Int range (a zero scale before the first render, a far-off pointer)
// saturate instead of being undefined; NaN reads 0.
inline int vo_game_Trunc(float value) {
    if (!(value == value)) return 0;
    if (value >= 2147483648.0f) return std::numeric_limits<int>::max();
    if (value <= -2147483648.0f) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}
