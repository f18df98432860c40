// The input-script lines that start a level as a player does and check what it was entered with:
// `title` turning the level wheel by keys from wherever the title's focus is, waiting out the
// end banner, refusing a locked level; `expect penguins` and `expect counters`.
#include <gtest/gtest.h>

#include <string>

#include "tools/replay/replay_runner.h"

namespace game_test {
namespace {

// Level 1 played out with its one Jump, from the title.
constexpr char kLevelOne[] = "title 1\nwait 734\nkey tap 74\nuntil end\n";

c_ReplayScript Parse(const std::string& text) {
    c_ReplayScript script;
    c_ReplayError error;
    EXPECT_TRUE(vo_replay_ParseScript(text, script, error)) << text << "\n" << error.p_Text();
    return script;
}

TEST(ReplayTitleScript, TitleAndExpectReadIntoTheirFields) {
    const c_ReplayScript script = Parse("title 15\nexpect penguins 0\nexpect counters 9 0 12 9999 1\n");
    ASSERT_EQ(script.m_commands.size(), 3u);
    EXPECT_EQ(script.m_commands[0].m_op, c_ReplayOp::kTitle);
    EXPECT_EQ(script.m_commands[0].m_number, 15);
    EXPECT_EQ(script.m_commands[1].m_op, c_ReplayOp::kExpectPenguins);
    EXPECT_EQ(script.m_commands[1].m_index, 0);
    EXPECT_EQ(script.m_commands[2].m_op, c_ReplayOp::kExpectCounters);
    const int want[] = {9, 0, 12, 9999, 1};
    for (int s = 0; s < skill::kCount; ++s) EXPECT_EQ(script.m_commands[2].m_counters[s], want[s]) << s;

    const struct {
        const char* text;
        const char* says;
    } bad[] = {
        {"title", "expected: title LEVEL"},
        {"title 0", "a level must be a whole number from 1 to 15"},
        {"title 16", "a level must be"},
        {"expect", "expected: expect end R N S, expect penguins P, or expect counters J L M B S"},
        {"expect sheep 3", "expected: expect end R N S, expect penguins P"},
        {"expect penguins 51", "a number of penguins must be a whole number from 0 to 50"},
        {"expect penguins 1 2", "expected: expect penguins P"},
        {"expect counters 1 2 3 4", "expected: expect counters J L M B S"},
        {"expect counters 1 2 3 4 -5", "a counter must be a whole number from 0 to 9999"},
    };
    for (const auto& c : bad) {
        c_ReplayScript refused;
        c_ReplayError error;
        EXPECT_FALSE(vo_replay_ParseScript(c.text, refused, error)) << c.text;
        EXPECT_NE(error.m_message.find(c.says), std::string::npos) << c.text << ": " << error.m_message;
    }
    // `title` may wait for the title as long as `until` does, and then spends updates on keys.
    c_ReplayScript budget;
    c_ReplayError error;
    EXPECT_FALSE(vo_replay_ParseScript("wait " + std::to_string(kReplayMaxUpdates - kReplayUntilDefault) + "\ntitle 1",
                                       budget, error));
}

class ReplayTitle : public testing::Test {
protected:
    bool Play(const std::string& text) {
        error = c_ReplayError();
        return runner.p_Run(Parse(text), error);
    }

    c_ReplayRunner runner;
    c_MyApp& app = runner.p_App();
    c_ReplayError error;
};

TEST_F(ReplayTitle, TheWheelIsTurnedByKeysAndTheLevelStartsWithItsFirstUpdateToCome) {
    // The wheel turned to level 4 and the focus moved off it to the credits.
    ASSERT_TRUE(Play("until loaded")) << error.p_Text();
    app.m_levelSel = 3;
    app.m_menuCursor = menu::kCreditsFocus;
    ASSERT_TRUE(Play("title 1\nexpect penguins 1\nexpect counters 10 0 0 0 0")) << error.p_Text();
    EXPECT_EQ(app.m_mode, screen::kInLevel);
    EXPECT_EQ(app.m_level, 1);
    EXPECT_EQ(app.m_menuCursor, menu::kWheelFocus);
    EXPECT_EQ(app.m_levelSel, 0);
    const float* first = &app.m_pen[(pen::kRecords - 1) * pen::kFloats];
    EXPECT_EQ(first[pen::kState], pen::kWaiting);
    EXPECT_EQ(first[pen::kTimer], 60) << "built, not yet played";
    ASSERT_TRUE(Play("wait 1"));
    EXPECT_EQ(first[pen::kTimer], 59);
}

TEST_F(ReplayTitle, ALockedLevelFailsAndAnEndedLevelsBannerIsWaitedOut) {
    EXPECT_FALSE(Play("title 3"));
    EXPECT_EQ(error.m_line, 1);
    EXPECT_NE(error.m_message.find("level 3 did not start: it is locked"), std::string::npos) << error.m_message;
    EXPECT_EQ(app.m_mode, screen::kTitle);

    ASSERT_TRUE(Play(kLevelOne)) << error.p_Text();
    ASSERT_EQ(runner.p_LevelEnds().size(), 1u);
    EXPECT_GT(app.m_endTimer, 0) << "the banner still retracts over the title";
    ASSERT_TRUE(Play("title 2\nexpect penguins 1\nexpect counters 9 0 0 0 0")) << error.p_Text();
    EXPECT_EQ(app.m_level, 2);
    EXPECT_EQ(app.m_endTimer, 0);
}

TEST_F(ReplayTitle, ExpectReportsWhatTheLevelHas) {
    ASSERT_TRUE(Play("title 1")) << error.p_Text();
    EXPECT_FALSE(Play("expect penguins 2"));
    EXPECT_NE(error.m_message.find("the level was built with 1 penguins, not 2"), std::string::npos) << error.m_message;
    EXPECT_FALSE(Play("wait 1\nexpect counters 10 0 0 1 0"));
    EXPECT_EQ(error.m_line, 2);
    EXPECT_NE(error.m_message.find("the counters read 10 0 0 0 0, not 10 0 0 1 0"), std::string::npos)
        << error.m_message;
}

}  // namespace
}  // namespace game_test
