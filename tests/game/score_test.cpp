// The level score rule: rescued penguins count most, time left breaks ties, and a level that
// rescued nobody scores nothing.
#include <gtest/gtest.h>

#include "game/level_end.h"

namespace {

TEST(LevelScore, RescuesCountMostAndTimeLeftBreaksTies) {
    struct Case {
        int rescued, seconds, score;
    };
    for (Case c : {Case{0, 0, 0}, Case{0, 90, 0}, Case{1, 0, 100}, Case{1, 59, 159}, Case{3, 12, 312},
                   Case{50, 90, 5090}, Case{2, -1, 200}, Case{-1, 30, 0}}) {
        EXPECT_EQ(vo_score_LevelScore(c.rescued, c.seconds), c.score) << c.rescued << " rescued, " << c.seconds << " s";
    }
    // One more penguin outranks any amount of time saved.
    EXPECT_GT(vo_score_LevelScore(2, 0), vo_score_LevelScore(1, 90));
}

}  // namespace
