// The fewest skill uses, proven sooner: a search on merged states finds a way fast but proves
// nothing, and a complete search then needs to try only every way with one use fewer.
#include <algorithm>

#include "tools/solver/solver.h"

namespace {

// The share of the time (and of the updates) the merged search may take, and how near its
// penguins stand to count as met: half a cell found the campaign's ways in seconds to a minute.
constexpr double kProbeShare = 0.5;
constexpr float kProbeQuantum = 0.5f;
// The least a search is given: an update's time.
constexpr double kLeastSeconds = 1.0 / kRunningRate;

}  // namespace

c_SolveResult vo_solver_Prove(const c_SolveSetup& setup, const c_SolveBudget& budget) {
    c_SolveBudget probe = budget;
    probe.m_quantum = kProbeQuantum;
    probe.m_seconds = std::max(budget.m_seconds * kProbeShare, kLeastSeconds);
    if (budget.m_updates > 0) probe.m_updates = std::max(static_cast<long long>(budget.m_updates * kProbeShare), 1LL);
    c_SolveResult found = vo_solver_Solve(setup, probe);
    const bool way = found.m_status == c_SolveStatus::kSolved;
    // A way without a skill use has nothing fewer to rule out.
    if (way && found.m_actions.empty()) return found;

    c_SolveBudget complete = budget;
    complete.m_quantum = 0;
    complete.m_seconds = std::max(budget.m_seconds - found.m_seconds, kLeastSeconds);
    if (budget.m_updates > 0) complete.m_updates = std::max(budget.m_updates - found.m_updates, 1LL);
    if (way) {
        const int fewer = static_cast<int>(found.m_actions.size()) - 1;
        complete.m_maxUses = complete.m_maxUses < 0 ? fewer : std::min(complete.m_maxUses, fewer);
    }
    c_SolveResult proof = vo_solver_Solve(setup, complete);

    // The merged way stands unless the complete search found a shorter one or failed.
    const bool keepWay = way && proof.m_status != c_SolveStatus::kSolved && proof.m_status != c_SolveStatus::kFailed;
    c_SolveResult result = keepWay ? found : proof;
    if (keepWay) {
        result.m_depthDone = proof.m_depthDone;
        result.m_depths = proof.m_depths;
        result.m_untapped = proof.m_untapped;
    }
    // What the complete search went through counts from the start of both.
    for (c_SolveResult::Depth& depth : result.m_depths) {
        depth.m_seconds += found.m_seconds;
        depth.m_updates += found.m_updates;
    }
    result.m_covered = found.m_covered + proof.m_covered;
    result.m_updates = found.m_updates + proof.m_updates;
    result.m_plays = found.m_plays + proof.m_plays;
    result.m_seconds = found.m_seconds + proof.m_seconds;
    return result;
}
