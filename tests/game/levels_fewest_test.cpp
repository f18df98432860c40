// The ways behind the fewest skill uses docs/LEVELS.md proves: each levels/fewest/NN.script still
// finishes level NN as the campaign enters it (the stored chain's penguins and counters), so a
// change to the rules that breaks the upper half of a proof shows here.
#include <gtest/gtest.h>

#include <string>

#include "tests/game/level_files.h"
#include "tools/replay/replay_runner.h"

namespace game_test {
namespace {

c_ReplayScript Parse(const std::string& text, const std::string& what) {
    c_ReplayScript script;
    c_ReplayError error;
    EXPECT_TRUE(vo_replay_ParseScript(text, script, error)) << what << ": " << error.p_Text();
    return script;
}

TEST(LevelsFewest, EachFewestWayWinsAsTheCampaignEntersItsLevel) {
    int checked = 0;
    for (int level = 1; level <= progress::kLevels; ++level) {
        const std::string text = LevelFile(level, "script", "fewest/");
        if (text.empty()) continue;
        SCOPED_TRACE("level " + std::to_string(level));
        const c_ReplayScript chain = Parse(LevelFile(level, "script"), "the stored chain");
        const c_ReplayScript fewest = Parse(text, "the fewest way");
        const c_ReplayCommand* penguins = FirstCommand(chain, c_ReplayOp::kExpectPenguins);
        const c_ReplayCommand* counters = FirstCommand(chain, c_ReplayOp::kExpectCounters);
        const c_ReplayCommand* enter = FirstCommand(fewest, c_ReplayOp::kEnter);
        ASSERT_TRUE(penguins && counters && enter);
        EXPECT_EQ(enter->m_number, level);
        EXPECT_EQ(enter->m_index, penguins->m_index);
        for (int s = 0; s < skill::kCount; ++s) EXPECT_EQ(enter->m_counters[s], counters->m_counters[s]) << s;

        c_ReplayRunner runner;
        c_ReplayError error;
        ASSERT_TRUE(runner.p_Run(fewest, error)) << error.p_Text();
        ASSERT_EQ(runner.p_LevelEnds().size(), 1u);
        const c_LevelEnd& end = runner.p_LevelEnds()[0];
        EXPECT_EQ(end.m_level, level);
        EXPECT_GE(end.m_rescued, 1);
        EXPECT_NE(end.m_reason, ending::kDeadPenguin);
        EXPECT_NE(end.m_reason, ending::kQuit);
        ++checked;
    }
    EXPECT_GT(checked, 0) << "levels/fewest/ holds the ways";
}

}  // namespace
}  // namespace game_test
