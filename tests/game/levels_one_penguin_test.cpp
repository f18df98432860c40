// More penguins never gate a level: every level the campaign enters with more than one penguin is
// also finished by a single penguin with the same counters, by its script in levels/one-penguin/,
// which enters the level itself with `enter`.
#include <gtest/gtest.h>

#include <string>

#include "tests/game/level_files.h"

namespace game_test {
namespace {

TEST(LevelsOnePenguin, EveryLevelEnteredWithMoreIsFinishedByOnePenguinWithTheSameCounters) {
    int checked = 0;
    for (int level = 2; level <= progress::kLevels; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        const int penguins = ChainPenguins(level);
        ASSERT_GE(penguins, 1);
        if (penguins == 1) continue;
        EXPECT_EQ(PlayEnteredWay(level, "one-penguin/", 1), 1);
        ++checked;
    }
    EXPECT_GT(checked, 0) << "the campaign takes more than one penguin somewhere";
}

}  // namespace
}  // namespace game_test
