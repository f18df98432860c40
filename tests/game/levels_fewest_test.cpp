// The ways behind the fewest skill uses docs/LEVELS.md proves: each levels/fewest/NN.script still
// finishes level NN as the campaign enters it (the stored chain's penguins and counters), so a
// change to the rules that breaks the upper half of a proof shows here.
#include <gtest/gtest.h>

#include <string>

#include "tests/game/level_files.h"

namespace game_test {
namespace {

TEST(LevelsFewest, EachFewestWayWinsAsTheCampaignEntersItsLevel) {
    int checked = 0;
    for (int level = 1; level <= progress::kLevels; ++level) {
        if (LevelFile(level, "script", "fewest/").empty()) continue;
        SCOPED_TRACE("level " + std::to_string(level));
        EXPECT_GE(PlayEnteredWay(level, "fewest/", ChainPenguins(level)), 1);
        ++checked;
    }
    EXPECT_GT(checked, 0) << "levels/fewest/ holds the ways";
}

}  // namespace
}  // namespace game_test
