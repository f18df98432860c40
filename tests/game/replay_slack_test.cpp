// The room a script leaves: what the forked moves find is what plain playings of the moved
// script give, and a level's pace is counted from its first update.
#include <gtest/gtest.h>

#include <string>

#include "tests/game/replay_tool.h"
#include "tools/replay/replay_slack.h"

namespace game_test {
namespace {

// Level 1 from a first start: the Jump out of the dip in level update `jump`, then the speed-up
// held `after` updates later to the end.
std::string DipJump(int jump, int after) {
    return "start 1 1\nwait " + std::to_string(jump) + "\nkey tap 74\nwait " + std::to_string(after) +
           "\nkey down 75\nuntil end 6000\nkey up 75\n";
}

c_ReplayScript Parse(const std::string& text) {
    c_ReplayScript script;
    c_ReplayError error;
    EXPECT_TRUE(vo_replay_ParseScript(text, script, error)) << error.p_Text();
    return script;
}

// Who got home and what was left, as a plain playing of the script ends its level.
std::string PlainEnd(const std::string& text) {
    c_ReplayRunner runner;
    c_ReplayError error;
    EXPECT_TRUE(runner.p_Run(Parse(text), error)) << error.p_Text();
    if (runner.p_LevelEnds().empty()) return "no end";
    c_LevelEnd end = runner.p_LevelEnds()[0];
    end.m_score = end.m_update = 0;
    return vo_replay_FormatLevelEnd(end);
}

TEST(ReplaySlack, AMoveCountsAsHeldExactlyWhenAPlainPlayingOfTheMovedScriptEndsTheSame) {
    // The Jump 10 updates before the first moment that lifts the penguin out: it can come a few
    // updates earlier, and later up to the limit; the speed-up after it keeps its own update.
    constexpr int kJump = 725, kAfter = 20, kLimit = 19;
    std::vector<c_SlackLevel> levels;
    c_ReplayError error;
    ASSERT_TRUE(vo_replay_Slack(Parse(DipJump(kJump, kAfter)), "", kLimit, levels, error)) << error.p_Text();
    ASSERT_EQ(levels.size(), 1u);
    ASSERT_EQ(levels[0].m_actions.size(), 2u) << "the Jump, then the speed-up";
    const c_SlackAction& jump = levels[0].m_actions[0];
    EXPECT_EQ(jump.m_update, kJump);
    ASSERT_GT(jump.m_earlier, 0);
    ASSERT_LT(jump.m_earlier, kLimit);
    EXPECT_EQ(jump.m_later, kLimit);

    const std::string held = PlainEnd(DipJump(kJump, kAfter));
    EXPECT_NE(held.find("rescued 1"), std::string::npos) << held;
    EXPECT_EQ(PlainEnd(DipJump(kJump - jump.m_earlier, kAfter + jump.m_earlier)), held);
    EXPECT_NE(PlainEnd(DipJump(kJump - jump.m_earlier - 1, kAfter + jump.m_earlier + 1)), held);
    EXPECT_EQ(PlainEnd(DipJump(kJump + kLimit, kAfter - kLimit)), held);
}

TEST(ReplaySlack, ALevelsPaceIsCountedFromItsFirstUpdate) {
    // A hop in update 200, the speed-up held from 301 to 350, a Jump in 651.
    const std::string text =
        "start 1 1\nwait 200\nkey tap 74\nwait 100\nkey down 75\nwait 50\nkey up 75\nwait 300\n"
        "key tap 74\nkey down 75\nuntil end 6000\nkey up 75\n";
    std::vector<c_SlackLevel> levels;
    c_ReplayError error;
    ASSERT_TRUE(vo_replay_Slack(Parse(text), "", 0, levels, error)) << error.p_Text();
    ASSERT_EQ(levels.size(), 1u);
    const c_SlackLevel& level = levels[0];
    EXPECT_EQ(level.m_level, 1);
    ASSERT_EQ(level.m_actions.size(), 4u);
    EXPECT_EQ(level.m_firstAction, 200);
    EXPECT_EQ(level.m_actions[1].m_update, 301);
    EXPECT_EQ(level.m_actions[3].m_update, 651);
    // 352 to 650: the longest stretch at one step an update with nothing decided.
    EXPECT_EQ(level.m_idle, 299);
    EXPECT_GT(level.m_finish, 651);
    EXPECT_EQ(level.m_end.m_update, level.m_finish);
}

TEST_F(ReplayTool, SlackPrintsEachLevelAndRefusesAnEmptyLimit) {
    Write("dip", DipJump(735, 20));
    ASSERT_EQ(Tool("--slack=2 " + Path("dip")), 0) << err;
    EXPECT_NE(out.find("level 1 first action 735 finish "), std::string::npos) << out;
    EXPECT_NE(out.find("  line 3 update 735 earlier 2+ later 2+ window 5"), std::string::npos) << out;
    EXPECT_NE(out.find("  smallest window 5 at line 3, update 735"), std::string::npos) << out;
    EXPECT_EQ(Tool("--slack=0 " + Path("dip")), 1);
    EXPECT_EQ(Tool("--slack --verify " + Path("dip")), 1);
}

}  // namespace
}  // namespace game_test
