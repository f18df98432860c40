// The campaign can be finished from nothing: the stored input scripts of levels 1 to 15, played
// in order on one game with no saved state, each starting its level from the title screen by
// keys, entering it with exactly what the script before left, and finishing it with a penguin
// home; the progress they leave is saved and reloads the same, and the replays the game kept play
// back to the same ends. A crowd plays most of it. The lean chain, the fewest skill uses and only
// the pick-ups they take, finishes it too. And no level is finished without a skill.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/game/level_files.h"
#include "tools/levelpack/level_map.h"
#include "tools/replay/replay_runner.h"

namespace game_test {
namespace {

// At least this many of the levels from the first after the four that teach the controls are
// entered with a crowd of at least this many penguins.
constexpr int kFirstCrowdLevel = 5;
constexpr int kCrowd = 3;
constexpr int kCrowdedLevels = 5;

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

// Plays the chain of scripts in levels/folder in order on this game, checking that each starts
// its level from the title and enters it with what the script before left; the penguins each
// level was entered with, by level (1 to 15).
std::vector<int> PlayChain(c_ReplayRunner& runner, const std::string& folder) {
    std::vector<int> entered(progress::kLevels + 1, 0);
    c_MyApp& app = runner.p_App();
    // Level 1 is entered with the title's one penguin and the ten Jumps of its own text.
    int penguins = 1;
    std::vector<int> counters = {10, 0, 0, 0, 0};
    for (int level = 1; level <= progress::kLevels; ++level) {
        SCOPED_TRACE(folder + "level " + std::to_string(level));
        c_ReplayScript script;
        c_ReplayError error;
        EXPECT_TRUE(vo_replay_ParseScript(LevelFile(level, "script", folder), script, error)) << error.p_Text();
        // Each script starts its level from the title and states what it was recorded with;
        // the runner checks those lines against the game as it plays them.
        if (script.m_commands.size() < 3) {
            ADD_FAILURE() << "a script too short to start its level";
            return entered;
        }
        const c_ReplayCommand& title = script.m_commands[0];
        const c_ReplayCommand& pens = script.m_commands[1];
        const c_ReplayCommand& skills = script.m_commands[2];
        EXPECT_EQ(title.m_op, c_ReplayOp::kTitle);
        EXPECT_EQ(title.m_number, level);
        EXPECT_EQ(pens.m_op, c_ReplayOp::kExpectPenguins);
        EXPECT_EQ(pens.m_index, penguins);
        EXPECT_EQ(skills.m_op, c_ReplayOp::kExpectCounters);
        EXPECT_EQ(std::vector<int>(skills.m_counters, skills.m_counters + skill::kCount), counters);
        entered[static_cast<size_t>(level)] = penguins;

        const size_t endsBefore = runner.p_LevelEnds().size();
        if (!runner.p_Run(script, error)) {
            ADD_FAILURE() << error.p_Text();
            return entered;
        }
        EXPECT_EQ(runner.p_LevelEnds().size(), endsBefore + 1) << "one level played";
        const c_LevelEnd& end = runner.p_LevelEnds().back();
        EXPECT_EQ(end.m_level, level);
        EXPECT_GE(end.m_rescued, 1);
        EXPECT_NE(end.m_reason, ending::kDeadPenguin);
        EXPECT_NE(end.m_reason, ending::kQuit);
        // What the next level is entered with: this level's record.
        EXPECT_EQ(app.m_progress[progress::RecordOf(level)], end.m_rescued);
        penguins = end.m_rescued;
        counters.assign(end.m_counters, end.m_counters + skill::kCount);
    }
    return entered;
}

TEST(LevelsChain, EveryLevelIsFinishedInTurnFromTheTitleWithWhatTheLevelBeforeLeft) {
    std::vector<int> progress;
    std::string state;
    std::vector<c_LevelEnd> ends;
    std::map<std::string, std::string> replays;
    {
        c_ReplayRunner runner;
        c_MyApp& app = runner.p_App();
        const std::vector<int> entered = PlayChain(runner, "");
        for (int level = 2; level <= progress::kLevels; ++level) {
            // The map's counters line, which the game reads for level 1 only, states what the
            // chain enters each later level with.
            const c_LevelEnd& before = runner.p_LevelEnds()[static_cast<size_t>(level - 2)];
            EXPECT_EQ(MapCounters(level), std::vector<int>(before.m_counters, before.m_counters + skill::kCount)) << level;
        }
        // A crowd: most of the levels after the first four are entered with three penguins or more.
        int crowded = 0;
        for (int level = kFirstCrowdLevel; level <= progress::kLevels; ++level) crowded += entered[static_cast<size_t>(level)] >= kCrowd;
        EXPECT_GE(crowded, kCrowdedLevels);
        for (int level = 1; level <= progress::kLevels; ++level) {
            EXPECT_GE(app.m_progress[progress::RecordOf(level)], 1) << level;
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

// A player who spends as few skills as a level allows, taking only the pick-ups that way must,
// can still finish the campaign: no silent dead end.
TEST(LevelsChain, TheLeanChainFinishesTheCampaignToo) {
    c_ReplayRunner runner;
    PlayChain(runner, "lean/");
    EXPECT_EQ(runner.p_LevelEnds().size(), static_cast<size_t>(progress::kLevels));
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
