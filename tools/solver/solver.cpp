// Breadth-first over skill uses. Each node is a list of skills given; playing it shows where
// the level goes after its last skill, and the moments worth another skill there: when a
// penguin that can take one enters a cell, turns, lands, or is about to step off an edge. A
// state the search has already met no later in the level is not searched again.
#include "tools/solver/solver.h"

#include <chrono>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace {

using Clock = std::chrono::steady_clock;

// How often a long play looks at the clock.
constexpr int kClockEvery = 256;

struct Seen {
    int m_update;
    long long m_node;
};

class Search {
public:
    Search(const c_SolveSetup& setup, const c_SolveBudget& budget) : m_setup(setup), m_budget(budget), m_game(setup) {}

    c_SolveResult p_Run();

private:
    bool p_Spent();
    // Plays one node; true when it solves the level. Its children go to m_next.
    bool p_Expand(const std::vector<c_SolveAction>& node, long long id);
    void p_AddChildren(const std::vector<c_SolveAction>& node, int r, int update,
                       const std::unordered_map<int, std::pair<int, int>>& tapAt);

    c_SolveSetup m_setup;
    c_SolveBudget m_budget;
    c_SolverGame m_game;
    Clock::time_point m_started = Clock::now();
    std::unordered_map<uint64_t, Seen> m_seen;
    std::vector<std::vector<c_SolveAction>> m_next;
    c_SolveResult m_result;
};

bool Search::p_Spent() {
    const double seconds = std::chrono::duration<double>(Clock::now() - m_started).count();
    return seconds > m_budget.m_seconds || (m_budget.m_updates > 0 && m_result.m_updates > m_budget.m_updates);
}

void Search::p_AddChildren(const std::vector<c_SolveAction>& node, int r, int update,
                           const std::unordered_map<int, std::pair<int, int>>& tapAt) {
    c_MyApp& app = m_game.p_App();
    const int previous = node.empty() ? 0 : node.back().m_update;
    const bool tap = static_cast<int>(app.m_player[play::kSelected]) != r;
    const int lead = tap ? kTapLead : kSlotLead;
    if (update - lead - 1 < previous) return;
    c_SolveAction action;
    action.m_update = update;
    action.m_penguin = r;
    action.m_tap = tap;
    if (tap) {
        // Tapped where it stood when the tap's update began.
        auto at = tapAt.find(update - lead - 1);
        if (at == tapAt.end()) return;
        action.m_tapX = at->second.first;
        action.m_tapY = at->second.second;
    }
    for (int s = 0; s < skill::kCount; ++s) {
        if (app.m_player[play::kCounters + s] <= 0) continue;
        action.m_skill = s;
        m_next.push_back(node);
        m_next.back().push_back(action);
    }
}

bool Search::p_Expand(const std::vector<c_SolveAction>& node, long long id) {
    ++m_result.m_plays;
    const bool played = m_game.p_Play(node);
    m_result.m_updates += m_game.p_Update();
    if (!played) return false;
    std::vector<int64_t> lastKey(pen::kRecords, -1);
    std::vector<bool> couldTake(pen::kRecords, false);
    std::vector<int> lastMoment(pen::kRecords, -1);
    // Tap points of every penguin by update, for the taps a few updates before a skill.
    std::vector<std::unordered_map<int, std::pair<int, int>>> tapAt(pen::kRecords);
    const int tailStart = m_game.p_Update();
    std::unordered_set<uint64_t> own;
    for (int steps = 0;; ++steps) {
        const int u = m_game.p_Update();
        if (m_game.p_Over()) return m_game.p_Won();
        if (steps % kClockEvery == kClockEvery - 1 && p_Spent()) return false;
        bool event = u == tailStart;
        std::vector<int> moments, lastMoments;
        for (int r = 0; r < pen::kRecords; ++r) {
            if (m_game.p_App().p_PenAt(r)[pen::kInPlay] == 0) continue;
            int x = 0, y = 0;
            m_game.p_TapPoint(r, x, y);
            tapAt[static_cast<size_t>(r)][u] = {x, y};
            // The oldest a moment of this update or the last can still need.
            tapAt[static_cast<size_t>(r)].erase(u - kTapLead - 2);
            const int64_t key = m_game.p_PenKey(r);
            const bool can = m_game.p_CanTakeSkill(r);
            if (key != lastKey[static_cast<size_t>(r)]) event = true;
            if (can && (!couldTake[static_cast<size_t>(r)] || key != lastKey[static_cast<size_t>(r)])) moments.push_back(r);
            // The last update before it steps off an edge or starts to turn.
            if (!can && couldTake[static_cast<size_t>(r)] && lastMoment[static_cast<size_t>(r)] != u) lastMoments.push_back(r);
            lastKey[static_cast<size_t>(r)] = key;
            couldTake[static_cast<size_t>(r)] = can;
        }
        if (event || !moments.empty()) {
            // Met before in this play: it goes round the same way until the time runs out.
            const uint64_t exact = m_game.p_StateHash();
            if (!own.emplace(exact).second) return m_game.p_App().p_CountRescued() >= 1;
            // Met no later in another play: everything from here was searched from there.
            const uint64_t hash = m_budget.m_quantum > 0 ? m_game.p_StateHash(m_budget.m_quantum) : exact;
            auto found = m_seen.find(hash);
            if (found != m_seen.end() && found->second.m_update <= u && found->second.m_node != id) return false;
            m_seen[hash] = {u, id};
        }
        for (int r : lastMoments) p_AddChildren(node, r, u, tapAt[static_cast<size_t>(r)]);
        for (int r : moments) {
            p_AddChildren(node, r, u + 1, tapAt[static_cast<size_t>(r)]);
            lastMoment[static_cast<size_t>(r)] = u + 1;
        }
        m_game.p_Step();
        ++m_result.m_updates;
    }
}

c_SolveResult Search::p_Run() {
    // Without a limit the counters (and the pick-ups) bound the depth: a node with nothing left
    // to give has no children.
    const int most = m_budget.m_maxUses < 0 ? std::numeric_limits<int>::max() : m_budget.m_maxUses;
    m_result.m_state = m_game.p_State();
    std::vector<std::vector<c_SolveAction>> level{{}};
    long long id = 0;
    for (int depth = 0; depth <= most && !level.empty(); ++depth) {
        m_next.clear();
        for (const auto& node : level) {
            if (p_Spent()) {
                m_result.m_status = c_SolveStatus::kBudgetSpent;
                return m_result;
            }
            if (p_Expand(node, ++id)) {
                m_result.m_status = c_SolveStatus::kSolved;
                m_result.m_actions = node;
                return m_result;
            }
        }
        // The last play of the depth may have been cut short.
        if (p_Spent()) {
            m_result.m_status = c_SolveStatus::kBudgetSpent;
            return m_result;
        }
        m_result.m_depthDone = depth;
        if (depth < most) level.swap(m_next);
    }
    m_result.m_status = c_SolveStatus::kExhausted;
    return m_result;
}

}  // namespace

c_SolveResult vo_solver_Solve(const c_SolveSetup& setup, const c_SolveBudget& budget) {
    const Clock::time_point started = Clock::now();
    c_SolveResult result;
    {
        Search search(setup, budget);
        result = search.p_Run();
        // The HUD's slots are placed by the running game's screen size.
        if (result.m_status == c_SolveStatus::kSolved) result.m_script = c_SolverGame::p_Script(setup, result.m_actions);
    }
    if (result.m_status == c_SolveStatus::kSolved) {
        if (!c_SolverGame::p_Verify(setup, result.m_state, result.m_script, result.m_end, result.m_verifyError)) {
            result.m_status = c_SolveStatus::kVerifyFailed;
        }
    }
    result.m_seconds = std::chrono::duration<double>(Clock::now() - started).count();
    return result;
}

const char* vo_solver_StatusText(c_SolveStatus status) {
    switch (status) {
        case c_SolveStatus::kSolved: return "solvable";
        case c_SolveStatus::kExhausted: return "not solvable: no candidate solves it";
        case c_SolveStatus::kBudgetSpent: return "not solvable within budget";
        case c_SolveStatus::kVerifyFailed: return "found, but its script did not play back";
    }
    return "";
}
