// The solver: searches which penguin gets which skill at which update, fewest skill uses first,
// by playing the level itself on the headless game, and checks the answer by playing its script.
#pragma once

#include <string>
#include <vector>

#include "tools/solver/solver_game.h"

struct c_SolveBudget {
    // Wall-clock seconds and updates simulated (0: no limit on updates).
    double m_seconds = 60;
    long long m_updates = 0;
    // Skill uses searched at most; -1 for as many as the counters and pick-ups allow.
    int m_maxUses = -1;
    // States whose penguins stand within this fraction of a cell of each other count as met
    // (0: only equal states), which prunes far more at the risk of missing a solution.
    float m_quantum = 0;
    // Moments a walking penguin offers a skill per cell it crosses (besides entering it, landing,
    // turning and the last update before it loses the ground).
    int m_split = 1;
};

enum class c_SolveStatus {
    // A solution, and its script played back to a rescue.
    kSolved,
    // Every candidate up to the most skill uses was tried: none solves the level.
    kExhausted,
    // The budget ran out first.
    kBudgetSpent,
    // A solution was found but its script did not play back to a rescue.
    kVerifyFailed,
};

struct c_SolveResult {
    c_SolveStatus m_status = c_SolveStatus::kExhausted;
    std::vector<c_SolveAction> m_actions;
    // The input script, and the saved state it starts from ("" for a first start).
    std::string m_script;
    std::string m_state;
    // The played-back level end, or why the playback failed.
    c_LevelEnd m_end;
    std::string m_verifyError;
    // Skill uses searched through completely.
    int m_depthDone = -1;
    long long m_updates = 0;
    // Skills given on the way (each a branch of the search).
    long long m_plays = 0;
    double m_seconds = 0;
};

c_SolveResult vo_solver_Solve(const c_SolveSetup& setup, const c_SolveBudget& budget);

const char* vo_solver_StatusText(c_SolveStatus status);
