// The solver: searches which penguin gets which skill at which update, fewest skill uses first,
// by playing the level itself on the headless game, and checks the answer by playing its script.
#pragma once

#include <string>
#include <vector>

#include "tools/solver/solver_game.h"

struct c_SolveBudget {
    // Wall-clock seconds and updates simulated in all (0: no limit on updates).
    double m_seconds = 60;
    long long m_updates = 0;
    // Skill uses searched at most; -1 for as many as the counters and pick-ups allow.
    int m_maxUses = -1;
    // States whose penguins stand within this fraction of a cell of each other count as met
    // (0: only equal states), which prunes far more at the risk of missing a solution.
    float m_quantum = 0;
    // Moments a walking penguin offers a skill per cell it crosses (besides entering it, landing,
    // turning and the last update before it loses the ground); 0 for every update it can take one.
    int m_split = 1;
    // Processes searching together (each a game of its own), sharing what they prove.
    int m_workers = 1;
    // Penguins that must get home, none lost.
    int m_home = 1;
    // Skills never given, a bit a skill.
    unsigned m_without = 0;
    // Memory shared for the states proven, in bytes.
    size_t m_tableBytes = size_t{64} << 20;
};

enum class c_SolveStatus {
    // A solution, and its script played back to a win.
    kSolved,
    // Every candidate the counters and pick-ups allow was tried: none solves the level.
    kExhausted,
    // Every candidate up to the most skill uses asked for was tried: none solves the level.
    kUsesSpent,
    // The budget ran out first.
    kBudgetSpent,
    // A solution was found but its script did not play back to a win.
    kVerifyFailed,
    // A worker process failed.
    kFailed,
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
    // Skill uses searched through completely, and when each number of uses was through: seconds
    // and updates since the start.
    int m_depthDone = -1;
    struct Depth {
        double m_seconds;
        long long m_updates;
        // Skills of this number of uses left out (see m_untapped).
        long long m_untapped;
    };
    std::vector<Depth> m_depths;
    // Skills offered that did not reach a penguin the pointer reaches: the search left them out,
    // so "none with" does not cover them.
    long long m_untapped = 0;
    // Skills given to a covered penguin (see c_SolveAction) as if a tap had selected it earlier.
    long long m_covered = 0;
    long long m_updates = 0;
    // Skills given on the way (each a branch of the search).
    long long m_plays = 0;
    double m_seconds = 0;

    // Whether "none with up to m_depthDone uses" is a proof over the moments offered: equal
    // states only, and every skill offered given.
    bool p_Proof(const c_SolveBudget& budget) const { return budget.m_quantum == 0 && m_untapped == 0; }
    // The most uses up to which every number of uses was searched with every skill offered
    // given (-1 for none): the search of each number of uses starts again from the level's start,
    // so a skill left out with more uses does not unprove fewer.
    int p_ProvenDepth(const c_SolveBudget& budget) const {
        if (budget.m_quantum > 0) return -1;
        int depth = -1;
        while (depth + 1 < static_cast<int>(m_depths.size()) && m_depths[static_cast<size_t>(depth + 1)].m_untapped == 0) {
            ++depth;
        }
        return depth;
    }
};

c_SolveResult vo_solver_Solve(const c_SolveSetup& setup, const c_SolveBudget& budget);
// The same answer sooner where the fewest uses are many: half the budget searches merged states for
// a way, and the rest proves that no way with fewer uses wins (m_depthDone one below the way's
// uses). The complete search compares equal states only, whatever the budget's quantum.
c_SolveResult vo_solver_Prove(const c_SolveSetup& setup, const c_SolveBudget& budget);

const char* vo_solver_StatusText(c_SolveStatus status);
