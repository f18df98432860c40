// The level score rule, kept in one place so the top-ten tables always rank alike.
#include "game/score.h"

int vo_score_LevelScore(int rescued, int secondsLeft) {
    if (rescued < 1) return 0;
    // A timer that ran out reads below zero; it adds nothing rather than taking points away.
    return 100 * rescued + (secondsLeft > 0 ? secondsLeft : 0);
}
