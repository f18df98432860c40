// The level score: what a finished level is worth in its top-ten table (game/level_end.cpp).
#pragma once

// 100 for each penguin rescued plus the whole seconds left on the timer; a level that rescued
// nobody is worth 0, however fast it ended.
int vo_score_LevelScore(int rescued, int secondsLeft);
