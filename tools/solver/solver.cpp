// Iterative deepening over skill uses, depth first, on snapshots of the level. A play runs the
// level on from a state with no input and, at the moments worth a skill (a penguin that can take
// one enters a new part of a cell, turns, lands, or is about to lose the ground), goes back the
// few updates a skill's taps need and gives each skill it has; then on from there with one use
// fewer. States proven hopeless with as many uses left and no less time are not searched again.
#include "tools/solver/solver.h"

#include <array>
#include <chrono>
#include <limits>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace {

using Clock = std::chrono::steady_clock;

// How often a long play looks at the clock.
constexpr int kClockEvery = 256;
// Snapshots a play keeps: a skill's taps start at most kTapLead + 1 updates before it acts.
constexpr int kRing = kTapLead + 2;
// The level is built in update 1; taps start from here on.
constexpr int kFirstInput = 2;

// A state from which every way with this many skill uses was searched, with this much time left.
struct Proven {
    int m_uses;
    float m_timer;
};

// What the moments of an update are read against: each penguin's key, whether it could take a
// skill, and the update a skill of its last moment acts in, as of the update before.
struct Marks {
    std::vector<int64_t> m_key = std::vector<int64_t>(pen::kRecords, -1);
    std::vector<char> m_could = std::vector<char>(pen::kRecords, 0);
    std::vector<int> m_effect = std::vector<int>(pen::kRecords, -1);
};

// One play's own memory, kept per depth so that a deeper play does not overwrite it.
struct Frame {
    std::array<c_SolverSnapshot, kRing> m_ring;
    // The marks as of this update and the one before.
    Marks m_now, m_before;
    std::vector<std::pair<uint64_t, float>> m_visited;
    std::unordered_set<uint64_t> m_own;
    int m_start = 0;
};

enum class Outcome { kNone, kSolved, kSpent };

class Search {
public:
    Search(const c_SolveSetup& setup, const c_SolveBudget& budget)
        : m_budget(budget), m_split(budget.m_split), m_game(setup) {}

    c_SolveResult p_Run();

private:
    bool p_Spent();
    // Plays on from the game's state with this many skill uses left; the marks are those of the
    // update before, so that a skill given makes no moments of its own.
    Outcome p_Play(int uses, size_t depth, const Marks& marks);
    // Every skill penguin r can take in update `effect`, each searched on with one use fewer.
    Outcome p_Give(Frame& frame, int r, int effect, const Marks& marks, int uses, size_t depth);
    uint64_t p_Hash(const Frame& frame);

    c_SolveBudget m_budget;
    int m_split;
    c_SolverGame m_game;
    Clock::time_point m_started = Clock::now();
    std::unordered_map<uint64_t, Proven> m_proven;
    // Every state met, with the fewest skills given before it (and the most time left then).
    std::unordered_map<uint64_t, Proven> m_met;
    std::vector<std::unique_ptr<Frame>> m_frames;
    std::vector<c_SolveAction> m_path;
    // Whether this depth left a skill ungiven for want of uses: else a deeper one finds nothing new.
    bool m_cut = false;
    c_SolveResult m_result;
};

bool Search::p_Spent() {
    if (m_budget.m_updates > 0 && m_result.m_updates > m_budget.m_updates) return true;
    const double seconds = std::chrono::duration<double>(Clock::now() - m_started).count();
    return seconds > m_budget.m_seconds;
}

uint64_t Search::p_Hash(const Frame& frame) {
    uint64_t h = m_budget.m_quantum > 0 ? m_game.p_StateHash(m_budget.m_quantum) : m_game.p_StateHash();
    // Just after a skill, the next one's taps cannot start before it: fewer ways on.
    const int slack = std::min(m_game.p_Update() - frame.m_start, kTapLead + 1);
    return (h ^ static_cast<uint64_t>(slack)) * 1099511628211ull;
}

Outcome Search::p_Give(Frame& frame, int r, int effect, const Marks& marks, int uses, size_t depth) {
    c_MyApp& app = m_game.p_App();
    const bool tap = static_cast<int>(app.m_player[play::kSelected]) != r;
    const int from = effect - (tap ? kTapLead : kSlotLead) - 1;
    if (from < frame.m_start || from < kFirstInput) return Outcome::kNone;
    float counters[skill::kCount];
    for (int s = 0; s < skill::kCount; ++s) counters[s] = app.m_player[play::kCounters + s];
    for (int s = 0; s < skill::kCount; ++s) {
        if (counters[s] <= 0) continue;
        if (uses == 0) {
            m_cut = true;
            return Outcome::kNone;
        }
        m_game.p_Restore(frame.m_ring[static_cast<size_t>(from % kRing)]);
        c_SolveAction action;
        action.m_update = effect;
        action.m_penguin = r;
        action.m_skill = s;
        action.m_tap = tap;
        if (tap) m_game.p_TapPoint(r, action.m_tapX, action.m_tapY);
        const bool given = m_game.p_Give(action);
        m_result.m_updates += m_game.p_Update() - from;
        ++m_result.m_plays;
        if (!given) continue;
        m_path.push_back(action);
        const Outcome outcome = p_Play(uses - 1, depth + 1, marks);
        if (outcome != Outcome::kNone) return outcome;
        m_path.pop_back();
    }
    return Outcome::kNone;
}

Outcome Search::p_Play(int uses, size_t depth, const Marks& marks) {
    if (m_frames.size() <= depth) m_frames.push_back(std::make_unique<Frame>());
    Frame& frame = *m_frames[depth];
    frame.m_now = marks;
    frame.m_visited.clear();
    frame.m_own.clear();
    frame.m_start = m_game.p_Update();
    c_MyApp& app = m_game.p_App();
    std::vector<int> moments, lasts;
    for (int steps = 0;; ++steps) {
        const int u = m_game.p_Update();
        c_SolverSnapshot& now = frame.m_ring[static_cast<size_t>(u % kRing)];
        m_game.p_Save(now);
        if (m_game.p_Over()) {
            if (m_game.p_Won()) return Outcome::kSolved;
            break;
        }
        if ((m_budget.m_updates > 0 && m_result.m_updates > m_budget.m_updates) ||
            (steps % kClockEvery == kClockEvery - 1 && p_Spent())) {
            return Outcome::kSpent;
        }
        bool changed = u == frame.m_start;
        moments.clear();
        lasts.clear();
        frame.m_before = frame.m_now;
        Marks& marks = frame.m_now;
        for (int r = 0; r < pen::kRecords; ++r) {
            if (app.p_PenAt(r)[pen::kInPlay] == 0) continue;
            const auto k = static_cast<size_t>(r);
            const int64_t key = m_game.p_PenKey(r, m_split);
            const bool can = m_game.p_CanTakeSkill(r);
            changed = changed || key != marks.m_key[k];
            if (can && (!marks.m_could[k] || key != marks.m_key[k])) moments.push_back(r);
            // The last update before it steps off an edge or starts to turn.
            if (!can && marks.m_could[k] && marks.m_effect[k] != u) lasts.push_back(r);
            marks.m_key[k] = key;
            marks.m_could[k] = can;
        }
        for (int r : moments) marks.m_effect[static_cast<size_t>(r)] = u + 1;
        // A skill in this update, decided on the state before it.
        for (int r : lasts) {
            const Outcome outcome = p_Give(frame, r, u, frame.m_before, uses, depth);
            if (outcome != Outcome::kNone) return outcome;
            m_game.p_Restore(now);
        }
        if (changed || !moments.empty()) {
            const uint64_t hash = p_Hash(frame);
            // Met before in this play: it goes round the same way with less time.
            if (!frame.m_own.insert(hash).second) break;
            const float timer = app.m_player[play::kTimer];
            auto found = m_proven.find(hash);
            if (found != m_proven.end() && found->second.m_uses >= uses && found->second.m_timer >= timer) break;
            // Met with fewer skills given and no less time: whatever solves the level from here
            // solves it from there with fewer skills, and the shallower depths found nothing.
            const int given = static_cast<int>(depth);
            Proven& met = m_met.try_emplace(hash, Proven{given, timer}).first->second;
            if (met.m_uses < given && met.m_timer >= timer) break;
            if (given < met.m_uses || (given == met.m_uses && timer > met.m_timer)) met = {given, timer};
            frame.m_visited.emplace_back(hash, timer);
        }
        for (int r : moments) {
            const Outcome outcome = p_Give(frame, r, u + 1, frame.m_now, uses, depth);
            if (outcome != Outcome::kNone) return outcome;
            m_game.p_Restore(now);
        }
        m_game.p_Step();
        ++m_result.m_updates;
    }
    // Everything on from each state this play met was searched with `uses` left.
    for (const auto& [hash, timer] : frame.m_visited) {
        Proven& proven = m_proven.try_emplace(hash, Proven{-1, 0}).first->second;
        if (uses > proven.m_uses || (uses == proven.m_uses && timer > proven.m_timer)) proven = {uses, timer};
    }
    return Outcome::kNone;
}

c_SolveResult Search::p_Run() {
    const int most = m_budget.m_maxUses < 0 ? std::numeric_limits<int>::max() : m_budget.m_maxUses;
    m_result.m_state = m_game.p_State();
    ++m_result.m_plays;
    m_game.p_Play({});
    m_result.m_updates += m_game.p_Update();
    while (m_game.p_Update() < kFirstInput && !m_game.p_Over()) {
        m_game.p_Step();
        ++m_result.m_updates;
    }
    c_SolverSnapshot root;
    m_game.p_Save(root);
    for (int depth = 0; depth <= most; ++depth) {
        m_game.p_Restore(root);
        m_cut = false;
        m_path.clear();
        const Outcome outcome = p_Play(depth, 0, Marks());
        if (outcome == Outcome::kSolved) {
            m_result.m_status = c_SolveStatus::kSolved;
            m_result.m_actions = m_path;
            return m_result;
        }
        if (outcome == Outcome::kSpent) {
            m_result.m_status = c_SolveStatus::kBudgetSpent;
            return m_result;
        }
        m_result.m_depthDone = depth;
        // Without a limit the counters (and the pick-ups) bound the depth.
        if (!m_cut) break;
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
