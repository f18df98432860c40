// The solver: level 1 solved with its one Jump and level 4 with its one Leap, the scripts played
// back on a game of their own; small made-up levels that one Jump clears or cannot clear; the
// budget; the saved state of a later level, a tapped penguin, a snapshot played on from; the map
// reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <fstream>
#include <string>
#include <vector>

#include "tools/solver/solver.h"

namespace game_test {
namespace {

// A box with the start inside and the exit outside, behind a wall `wall` blocks high.
std::vector<std::string> BoxMap(int wall) {
    std::vector<std::string> rows(grid::kRows, "1" + std::string(grid::kCols - 2, '0') + "1");
    for (int y = grid::kRows - 1 - wall; y < grid::kRows - 1; ++y) rows[static_cast<size_t>(y)][5] = '1';
    rows[11][2] = 'S';
    rows[12][12] = 'X';
    rows[13] = std::string(grid::kCols, '1');
    return rows;
}

std::string WriteMap(const std::vector<std::string>& rows, const std::string& extra = std::string()) {
    const std::string path = testing::TempDir() + "solver_test.map";
    std::ofstream out(path);
    out << "# a made-up level\ncounters J@@@@@@@@@\n" << extra;
    for (const std::string& row : rows) out << row << "\n";
    return path;
}

c_SolveSetup BoxLevel(int wall) {
    c_SolveSetup setup;
    setup.m_counters[skill::kJump] = 1;
    std::string error;
    EXPECT_TRUE(vo_solver_ReadMap(WriteMap(BoxMap(wall)), setup.m_counters, setup.m_text, error)) << error;
    return setup;
}

// Wide enough for a slow sanitizer build on a busy machine: these searches end on their own.
c_SolveBudget Unhurried() {
    c_SolveBudget budget;
    budget.m_seconds = 600;
    return budget;
}

// One search (a test process each under CTest) both for the answer and for its playback.
TEST(Solver, FindsLevelOnesJumpAndItsScriptPlaysBackToARescue) {
    c_SolveSetup setup;
    setup.m_counters[skill::kJump] = 10;
    const c_SolveResult result = vo_solver_Solve(setup, Unhurried());
    ASSERT_EQ(result.m_status, c_SolveStatus::kSolved) << result.m_verifyError;
    ASSERT_EQ(result.m_actions.size(), 1u);
    EXPECT_EQ(result.m_actions[0].m_skill, skill::kJump);
    // Nothing was given without a skill: no shorter answer exists.
    EXPECT_EQ(result.m_depthDone, 0);
    EXPECT_TRUE(result.m_state.empty());

    c_ReplayScript script;
    c_ReplayError error;
    ASSERT_TRUE(vo_replay_ParseScript(result.m_script, script, error)) << error.p_Text();
    c_ReplayRunner runner;
    ASSERT_TRUE(runner.p_Run(script, error)) << error.p_Text();
    ASSERT_EQ(runner.p_LevelEnds().size(), 1u);
    const c_LevelEnd& end = runner.p_LevelEnds()[0];
    EXPECT_EQ(end.m_level, 1);
    EXPECT_EQ(end.m_reason, ending::kComplete);
    EXPECT_EQ(end.m_rescued, 1);
    EXPECT_EQ(end.m_counters[skill::kJump], 9);
    EXPECT_EQ(vo_replay_FormatLevelEnd(end), vo_replay_FormatLevelEnd(result.m_end));
}

// Level 4 needs a Leap that only a few moments allow; states wrongly counted as met, or a
// snapshot that leaves something out, lose it or find a script that does not play back. Leaps
// only, which keeps a sanitizer build quick.
TEST(Solver, FindsLevelFoursLeapAndItsScriptPlaysBack) {
    c_SolveSetup setup;
    setup.m_level = 4;
    const int counters[skill::kCount] = {0, 3, 0, 0, 0};
    std::copy(std::begin(counters), std::end(counters), setup.m_counters);
    const c_SolveResult result = vo_solver_Solve(setup, Unhurried());
    ASSERT_EQ(result.m_status, c_SolveStatus::kSolved) << result.m_verifyError;
    ASSERT_EQ(result.m_actions.size(), 1u);
    EXPECT_EQ(result.m_actions[0].m_skill, skill::kLeap);
    EXPECT_EQ(result.m_end.m_level, 4);
    EXPECT_EQ(result.m_end.m_rescued, 1);
    EXPECT_EQ(result.m_end.m_counters[skill::kLeap], 2);
    // Nothing without a skill: no shorter answer.
    EXPECT_EQ(result.m_depthDone, 0);
}

TEST(Solver, AWallTooHighForOneJumpIsNotSolvable) {
    const c_SolveResult result = vo_solver_Solve(BoxLevel(6), Unhurried());
    EXPECT_EQ(result.m_status, c_SolveStatus::kExhausted);
    EXPECT_EQ(result.m_depthDone, 1);
    EXPECT_TRUE(result.m_actions.empty());
    EXPECT_TRUE(result.m_script.empty());
}

TEST(Solver, ALowWallIsJumpedAndTheMadeUpLevelPlaysBack) {
    const c_SolveResult result = vo_solver_Solve(BoxLevel(2), Unhurried());
    ASSERT_EQ(result.m_status, c_SolveStatus::kSolved) << result.m_verifyError;
    EXPECT_EQ(result.m_actions.size(), 1u);
    EXPECT_EQ(result.m_end.m_rescued, 1);
    EXPECT_EQ(result.m_end.m_counters[skill::kJump], 0);
}

TEST(Solver, StopsWhenTheBudgetIsSpent) {
    c_SolveSetup setup;
    setup.m_counters[skill::kJump] = 10;
    c_SolveBudget budget = Unhurried();
    budget.m_updates = 50;
    const c_SolveResult result = vo_solver_Solve(setup, budget);
    EXPECT_EQ(result.m_status, c_SolveStatus::kBudgetSpent);
    EXPECT_LT(result.m_plays, 3);
}

TEST(SolverGame, TheStateGivesALaterLevelItsCounters) {
    c_SolveSetup setup;
    setup.m_level = 2;
    setup.m_penguins = 3;
    const int counters[skill::kCount] = {2, 1, 0, 4, 3};
    std::copy(std::begin(counters), std::end(counters), setup.m_counters);
    const std::string state = c_SolverGame::p_StateFor(setup);
    c_ReplayScript script;
    c_ReplayError error;
    ASSERT_TRUE(vo_replay_ParseScript("start 2 3\nwait 1", script, error));
    c_ReplayRunner runner(state);
    ASSERT_TRUE(runner.p_Run(script, error)) << error.p_Text();
    for (int k = 0; k < skill::kCount; ++k) EXPECT_EQ(runner.p_App().m_player[play::kCounters + k], counters[k]) << k;
}

TEST(SolverGame, ATapSelectsAnotherPenguinForTheSkillAndTheScriptSaysSo) {
    c_SolveSetup setup;
    setup.m_penguins = 2;
    setup.m_counters[skill::kJump] = 10;
    c_SolverGame game(setup);
    // The second penguin enters 220 steps after the first, which stays selected.
    constexpr int kSecond = pen::kRecords - 2, kUse = 900;
    ASSERT_TRUE(game.p_Play({}));
    while (game.p_Update() < kUse - kTapLead - 1) game.p_Step();
    ASSERT_TRUE(game.p_CanTakeSkill(kSecond));
    c_SolveAction action;
    action.m_update = kUse;
    action.m_penguin = kSecond;
    action.m_tap = true;
    game.p_TapPoint(kSecond, action.m_tapX, action.m_tapY);
    ASSERT_TRUE(game.p_Play({action}));
    EXPECT_EQ(game.p_App().m_player[play::kSelected], kSecond);
    EXPECT_EQ(game.p_App().m_player[play::kCounters + skill::kJump], 9);
    EXPECT_EQ(game.p_App().p_PenAt(kSecond)[pen::kState], pen::kSkillState + skill::kJump);
    // A tap beside the penguin selects nobody: the skill does not count as given.
    c_SolveAction missed = action;
    constexpr int kBeside = 64;
    missed.m_tapX += kBeside;
    EXPECT_FALSE(game.p_Play({missed}));

    const std::string text = c_SolverGame::p_Script(setup, {action});
    const std::string tap = "pointer down " + std::to_string(action.m_tapX) + " " + std::to_string(action.m_tapY);
    EXPECT_NE(text.find("start 1 2\nwait " + std::to_string(kUse - kTapLead - 1) + "\n" + tap), std::string::npos) << text;
}

// The search goes back to snapshots instead of playing from the start: a skill given after going
// back must play on exactly as from a fresh start, and as the same skill given before.
TEST(SolverGame, ASnapshotPlaysOnAsAFreshStartDoes) {
    c_SolveSetup setup;
    setup.m_penguins = 2;
    setup.m_counters[skill::kJump] = 10;
    c_SolverGame game(setup);
    constexpr int kSecond = pen::kRecords - 2, kSaved = 890, kUse = 900, kAfter = 300;
    ASSERT_TRUE(game.p_Play({}));
    while (game.p_Update() < kSaved) game.p_Step();
    c_SolverSnapshot saved;
    game.p_Save(saved);
    // Played on without input first, so that going back has something to undo.
    for (int i = 0; i < kAfter; ++i) game.p_Step();
    const uint64_t untouched = game.p_StateHash();

    auto giveAndPlayOn = [&](bool fromSnapshot) {
        if (fromSnapshot) {
            game.p_Restore(saved);
        } else {
            EXPECT_TRUE(game.p_Play({}));
            while (game.p_Update() < kSaved) game.p_Step();
        }
        c_SolveAction action;
        action.m_update = kUse;
        action.m_penguin = kSecond;
        action.m_tap = true;
        while (game.p_Update() < kUse - kTapLead - 1) game.p_Step();
        game.p_TapPoint(kSecond, action.m_tapX, action.m_tapY);
        EXPECT_TRUE(game.p_Give(action));
        while (game.p_Update() < kSaved + kAfter) game.p_Step();
        // Still in play: a snapshot covers a level in play, not the way back to the title.
        EXPECT_FALSE(game.p_Over());
        return game.p_StateHash();
    };
    const uint64_t fresh = giveAndPlayOn(false);
    EXPECT_NE(fresh, untouched);
    EXPECT_EQ(giveAndPlayOn(true), fresh);
    EXPECT_EQ(giveAndPlayOn(true), fresh);
    game.p_Restore(saved);
    for (int i = 0; i < kAfter; ++i) game.p_Step();
    EXPECT_EQ(game.p_StateHash(), untouched);
}

TEST(SolverMap, ReadsLevelOneAsTheGameStoresIt) {
    c_ReplayRunner runner;
    const std::string stored = runner.p_App().p_JuNKrunch(runner.p_App().p_GetLevDat(1)).ToUtf8();
    const int counters[skill::kCount] = {10, 0, 0, 0, 0};
    std::string text, error;
    ASSERT_TRUE(vo_solver_ReadMap(std::string(FLOEWARD_SOURCE_DIR) + "/levels/01.map", counters, text, error)) << error;
    EXPECT_EQ(text, stored);
}

TEST(SolverMap, RefusesAMapOfTheWrongShape) {
    const int counters[skill::kCount] = {};
    std::string text, error;
    std::vector<std::string> rows = BoxMap(2);
    rows.pop_back();
    EXPECT_FALSE(vo_solver_ReadMap(WriteMap(rows), counters, text, error));
    EXPECT_NE(error.find("13 of 14 rows"), std::string::npos) << error;
    EXPECT_FALSE(vo_solver_ReadMap(WriteMap(BoxMap(2), "10S1\n"), counters, text, error));
    EXPECT_NE(error.find("not 4"), std::string::npos) << error;
    // As the level packer reads it: one start and one exit, and only map characters.
    rows = BoxMap(2);
    rows[11][3] = 'S';
    EXPECT_FALSE(vo_solver_ReadMap(WriteMap(rows), counters, text, error));
    EXPECT_NE(error.find("exactly one start"), std::string::npos) << error;
    rows = BoxMap(2);
    rows[4][8] = 'G';
    EXPECT_FALSE(vo_solver_ReadMap(WriteMap(rows), counters, text, error));
    EXPECT_NE(error.find("holds 'G'"), std::string::npos) << error;
    EXPECT_FALSE(vo_solver_ReadMap(testing::TempDir() + "no-such.map", counters, text, error));
}

}  // namespace
}  // namespace game_test
