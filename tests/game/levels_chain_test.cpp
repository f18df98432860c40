// The campaign can be finished from nothing: the stored input scripts of levels 1 to 15, played
// in order on one game with no saved state, each starting its level from the title screen by
// keys, entering it with exactly what the script before left, and finishing it with a penguin
// home; the progress they leave is saved and reloads the same, and the replays the game kept play
// back to the same ends. And no level is finished without a skill.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tools/levelpack/level_map.h"
#include "tools/replay/replay_runner.h"

namespace game_test {
namespace {

std::string LevelFile(int level, const char* suffix) {
    char name[32];
    std::snprintf(name, sizeof name, "/levels/%02d.%s", level, suffix);
    std::ifstream in(std::string(FLOEWARD_SOURCE_DIR) + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The skill counters a map's counters line gives.
std::vector<int> MapCounters(int level) {
    c_LevelMap map;
    std::string error;
    EXPECT_TRUE(vo_levelpack_ReadMap(LevelFile(level, "map"), map, error)) << error;
    std::vector<int> counters;
    for (int s = 0; s < skill::kCount && s < static_cast<int>(map.m_counters.size()); ++s) {
        counters.push_back(map.m_counters[static_cast<size_t>(s)] - '@');
    }
    return counters;
}

TEST(LevelsChain, EveryLevelIsFinishedInTurnFromTheTitleWithWhatTheLevelBeforeLeft) {
    std::vector<int> progress;
    std::string state;
    std::vector<c_LevelEnd> ends;
    std::map<std::string, std::string> replays;
    {
        c_ReplayRunner runner;
        c_MyApp& app = runner.p_App();
        // Level 1 is entered with the title's one penguin and the ten Jumps of its own text.
        int penguins = 1;
        std::vector<int> counters = {10, 0, 0, 0, 0};
        for (int level = 1; level <= progress::kLevels; ++level) {
            SCOPED_TRACE("level " + std::to_string(level));
            c_ReplayScript script;
            c_ReplayError error;
            ASSERT_TRUE(vo_replay_ParseScript(LevelFile(level, "script"), script, error)) << error.p_Text();
            // Each script starts its level from the title and states what it was recorded with;
            // the runner checks those lines against the game as it plays them.
            ASSERT_GE(script.m_commands.size(), 3u);
            const c_ReplayCommand& title = script.m_commands[0];
            const c_ReplayCommand& pens = script.m_commands[1];
            const c_ReplayCommand& skills = script.m_commands[2];
            ASSERT_EQ(title.m_op, c_ReplayOp::kTitle);
            EXPECT_EQ(title.m_number, level);
            ASSERT_EQ(pens.m_op, c_ReplayOp::kExpectPenguins);
            EXPECT_EQ(pens.m_index, penguins);
            ASSERT_EQ(skills.m_op, c_ReplayOp::kExpectCounters);
            EXPECT_EQ(std::vector<int>(skills.m_counters, skills.m_counters + skill::kCount), counters);
            // The map's counters line, which the game reads for level 1 only, states them too.
            EXPECT_EQ(MapCounters(level), counters);

            const size_t endsBefore = runner.p_LevelEnds().size();
            ASSERT_TRUE(runner.p_Run(script, error)) << error.p_Text();
            ASSERT_EQ(runner.p_LevelEnds().size(), endsBefore + 1) << "one level played";
            const c_LevelEnd& end = runner.p_LevelEnds().back();
            EXPECT_EQ(end.m_level, level);
            EXPECT_GE(end.m_rescued, 1);
            EXPECT_NE(end.m_reason, ending::kDeadPenguin);
            EXPECT_NE(end.m_reason, ending::kQuit);
            // What the next level is entered with: this level's record.
            const int record = progress::kRecordBase + progress::kTopTen * (level - 1);
            EXPECT_EQ(app.m_progress[record], end.m_rescued);
            penguins = end.m_rescued;
            counters.assign(end.m_counters, end.m_counters + skill::kCount);
        }
        for (int level = 1; level <= progress::kLevels; ++level) {
            EXPECT_GE(app.m_progress[progress::kRecordBase + progress::kTopTen * (level - 1)], 1) << level;
        }
        EXPECT_EQ(app.m_mode, screen::kTitle);
        ASSERT_TRUE(runner.p_Saved());
        progress.assign(app.m_progress.begin(), app.m_progress.end());
        state = runner.p_State();
        ends = runner.p_LevelEnds();
        replays = runner.p_Game().m_host.files;
    }
    {
        c_ReplayRunner reloaded(state);
        const Array<int>& loaded = reloaded.p_App().m_progress;
        EXPECT_EQ(std::vector<int>(loaded.begin(), loaded.end()), progress);
    }
    // Every level kept its replay, which plays back to the same end on a game of its own.
    ASSERT_EQ(replays.size(), static_cast<size_t>(progress::kLevels));
    for (const c_LevelEnd& end : ends) {
        SCOPED_TRACE("the replay of level " + std::to_string(end.m_level));
        const std::string& text = replays[vo_game_ReplayLocation(end.m_level).ToUtf8()];
        c_ReplayScript script;
        c_ReplayError error;
        ASSERT_TRUE(vo_replay_ParseScript(text, script, error)) << error.p_Text();
        ASSERT_TRUE(vo_replay_IsKeptReplay(script));
        c_ReplayRunner replay;
        ASSERT_TRUE(replay.p_Run(script, error)) << error.p_Text();
        ASSERT_EQ(replay.p_LevelEnds().size(), 1u);
        for (int k = 0; k < play::kCarriedCounters; ++k) EXPECT_EQ(replay.p_LevelEnds()[0].m_counters[k], end.m_counters[k]);
    }
}

// No level solves itself by walking: left alone, one penguin or two never reach the exit. The
// speed-up is held; from a first start every level after the first has no skill to give, so its
// clock runs fast anyway.
TEST(LevelsChain, NoLevelIsFinishedWithoutASkill) {
    c_ReplayRunner runner;
    c_ReplayError error;
    for (int penguins = 1; penguins <= 2; ++penguins) {
        for (int level = progress::kLevels; level >= 1; --level) {
            SCOPED_TRACE("level " + std::to_string(level) + ", penguins " + std::to_string(penguins));
            c_ReplayScript script;
            const std::string text = "start " + std::to_string(level) + " " + std::to_string(penguins) +
                                     "\nkey down 75\nuntil end 7000\nkey up 75\n";
            ASSERT_TRUE(vo_replay_ParseScript(text, script, error)) << error.p_Text();
            ASSERT_TRUE(runner.p_Run(script, error)) << error.p_Text();
            const c_LevelEnd& end = runner.p_LevelEnds().back();
            EXPECT_EQ(end.m_level, level);
            EXPECT_EQ(end.m_rescued, 0);
        }
    }
}

}  // namespace
}  // namespace game_test
