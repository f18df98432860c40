// More penguins never gate a level: every level the campaign enters with more than one penguin is
// also finished by a single penguin with the same counters, by its script in levels/one-penguin/,
// which enters the level itself with `enter`.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/game/level_files.h"
#include "tools/replay/replay_runner.h"

namespace game_test {
namespace {

c_ReplayScript ReadScript(const std::string& path) {
    std::ifstream in(std::string(FLOEWARD_SOURCE_DIR) + path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    c_ReplayScript script;
    c_ReplayError error;
    EXPECT_TRUE(vo_replay_ParseScript(text.str(), script, error)) << path << ": " << error.p_Text();
    return script;
}

TEST(LevelsOnePenguin, EveryLevelEnteredWithMoreIsFinishedByOnePenguinWithTheSameCounters) {
    int checked = 0;
    for (int level = 2; level <= progress::kLevels; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        char name[32];
        std::snprintf(name, sizeof name, "%02d.script", level);
        const c_ReplayScript chain = ReadScript(std::string("/levels/") + name);
        const c_ReplayCommand* chainPenguins = FirstCommand(chain, c_ReplayOp::kExpectPenguins);
        const c_ReplayCommand* counters = FirstCommand(chain, c_ReplayOp::kExpectCounters);
        ASSERT_TRUE(chainPenguins && counters);
        if (chainPenguins->m_index <= 1) continue;

        const c_ReplayScript alone = ReadScript(std::string("/levels/one-penguin/") + name);
        const c_ReplayCommand* enter = FirstCommand(alone, c_ReplayOp::kEnter);
        ASSERT_TRUE(enter);
        EXPECT_EQ(enter->m_number, level);
        EXPECT_EQ(enter->m_index, 1);
        for (int s = 0; s < skill::kCount; ++s) EXPECT_EQ(enter->m_counters[s], counters->m_counters[s]) << s;

        c_ReplayRunner runner;
        c_ReplayError error;
        ASSERT_TRUE(runner.p_Run(alone, error)) << error.p_Text();
        ASSERT_EQ(runner.p_LevelEnds().size(), 1u);
        const c_LevelEnd& end = runner.p_LevelEnds()[0];
        EXPECT_EQ(end.m_level, level);
        EXPECT_EQ(end.m_rescued, 1);
        EXPECT_NE(end.m_reason, ending::kDeadPenguin);
        EXPECT_NE(end.m_reason, ending::kQuit);
        ++checked;
    }
    EXPECT_GT(checked, 0) << "the campaign takes more than one penguin somewhere";
}

}  // namespace
}  // namespace game_test
