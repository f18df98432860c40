// Iterative deepening over skill uses, depth first, on snapshots of the level, in one or more
// worker processes (the game keeps its state in globals: one game a process) that share the
// states they prove hopeless. A play runs the level on from a state with no input and, at the
// moments worth a skill (a penguin that can take one enters a new part of a cell, turns, lands,
// or is about to lose the ground), goes back the few updates a skill's taps need and gives each
// skill it has; then on from there with one use fewer.
//
// A state met again with no more uses left and no more time is not searched again, unless the
// time makes a difference: a level also counts as won when it runs out of time with enough
// penguins home and none lost, so with less time a way that lost a penguin late may win. The
// search keeps, for every state it proves hopeless, when the ways from it were as good as won,
// and prunes a later copy only when its clock runs out outside that stretch.
#include "tools/solver/solver.h"

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <climits>
#include <memory>
#include <new>
#include <thread>
#include <unordered_set>

#include "game/truncate.h"
#include "tools/solver/solver_table.h"

namespace {

using Clock = std::chrono::steady_clock;

// How often a long play looks at the clock and the other workers.
constexpr int kClockEvery = 256;
// Snapshots a play keeps: a skill's taps start at most kTapLead + 1 updates before it acts.
constexpr int kRing = kTapLead + 2;
// The most skill uses searched, and the first skills of a depth shared out among the workers.
constexpr int kMostDepths = 64;
constexpr int kMostTasks = 1 << 18;
// How long a worker waiting for the others sleeps between looks.
constexpr std::chrono::milliseconds kWaitStep{2};
// The key's room for the updates since the play began, below the moment bits.
constexpr int kSlackBits = 3;

enum class Outcome { kNone, kSolved, kSpent, kStopped };
// Why the workers stop before the search ends.
enum Stop { kRunning, kSolvedStop, kSpentStop, kFailedStop };

// Timer readings of the states below a state in which the level was as good as won (enough
// penguins home, the level running): the highest and the lowest.
struct Window {
    int m_high = INT_MIN, m_low = INT_MAX;
    bool p_Empty() const { return m_high < m_low; }
    void p_Add(int timer) {
        m_high = std::max(m_high, timer);
        m_low = std::min(m_low, timer);
    }
    void p_Add(const Window& w) {
        if (w.p_Empty()) return;
        p_Add(w.m_high);
        p_Add(w.m_low);
    }
};

// What a search below a state reports up: its window, and whether it left out a skill that did
// not take.
struct Below {
    Window m_window;
    bool m_tainted = false;
    void p_Add(const Below& b) {
        m_window.p_Add(b.m_window);
        m_tainted = m_tainted || b.m_tainted;
    }
};

// A first skill of a depth, shared out: claimed by the worker that first reaches it, and what
// its search found below. Claims and completions carry the depth + 1 they belong to.
struct Task {
    std::atomic<int> m_claimed;
    std::atomic<int> m_done;
    int m_high, m_low, m_tainted;
};

// Everything the workers share besides the table.
struct Shared {
    std::atomic<int> m_stop;
    std::atomic<long long> m_updates, m_plays, m_untapped, m_covered;
    std::atomic<int> m_arrived[kMostDepths];
    std::atomic<int> m_cut[kMostDepths];
    std::atomic<int> m_depthDone;
    // When each depth was through, in seconds and updates since the start.
    double m_depthSeconds[kMostDepths];
    long long m_depthUpdates[kMostDepths];
    long long m_depthUntapped[kMostDepths];
    // Whether the deepest depth left no skill ungiven for want of uses.
    std::atomic<int> m_complete;
    std::atomic<int> m_solver;
    int m_pathLength;
    c_SolveAction m_path[kMostDepths];
    Task m_tasks[kMostTasks];
};

// What the moments of an update are read against: each penguin's key, whether it could take a
// skill, and the update a skill of its last moment acts in, as of the update before.
struct Marks {
    std::array<int64_t, pen::kRecords> m_key;
    std::array<char, pen::kRecords> m_could{};
    std::array<int, pen::kRecords> m_effect;
    Marks() {
        m_key.fill(-1);
        m_effect.fill(-1);
    }
};

struct KeyHash {
    size_t operator()(const c_StateKey& key) const { return static_cast<size_t>(key.m_a); }
};

// A state a play met and recorded, with what was seen after it up to the next one.
struct Node {
    c_StateKey m_key;
    int m_timer;
    Below m_after;
};

// One play's own memory, kept per depth so that a deeper play does not overwrite it.
struct Frame {
    std::array<c_SolverSnapshot, kRing> m_ring;
    // The marks as of this update and the one before.
    Marks m_now, m_before;
    // What was seen before the first node, the nodes, and everything seen so far.
    Below m_lead;
    std::vector<Node> m_nodes;
    Below m_seen;
    std::unordered_set<c_StateKey, KeyHash> m_own;
    // The first play of a depth: the first skills other workers claimed, with the node after
    // which each was given (-1 before the first).
    std::vector<std::pair<int, int>> m_pending;
    int m_start = 0;

    Below& p_Segment() { return m_nodes.empty() ? m_lead : m_nodes.back().m_after; }
    void p_See(const Below& b) {
        p_Segment().p_Add(b);
        m_seen.p_Add(b);
    }
};

class Search {
public:
    Search(const c_SolveSetup& setup, const c_SolveBudget& budget, Shared& shared, c_ProvenTable& table, int worker,
           Clock::time_point started)
        : m_budget(budget), m_split(budget.m_split), m_shared(shared), m_table(table), m_worker(worker),
          m_started(started), m_game(setup) {}

    void p_Run(const std::vector<pid_t>& children);
    const std::string& p_State() const { return m_game.p_State(); }
    bool p_Uncover(std::vector<c_SolveAction>& actions) { return m_game.p_Uncover(actions); }

private:
    bool p_Spent();
    void p_Flush();
    // Plays on from the game's state with this many skill uses left; the marks are those of the
    // update before, so that a skill given makes no moments of its own.
    Outcome p_Play(int uses, size_t depth, const Marks& marks, Below& below);
    // Every skill penguin r can take in update `effect`, each searched on with one use fewer.
    Outcome p_Give(Frame& frame, int r, int effect, const Marks& marks, int uses, size_t depth);
    // Whether a proven state spares this one, which then adds what the proof saw.
    bool p_Pruned(const c_StateKey& key, int timer, int uses, Frame& frame);
    // A play may stop where it met its own state again with less time only when nothing below it
    // was as good as won, and it alone knows all that was below.
    bool p_MayCycle(const Frame& frame, size_t depth) const;
    // Records a play's nodes as proven, each with what was seen after it.
    void p_Prove(Frame& frame, int uses, Below& below);
    void p_Merge(Frame& frame, int depth);
    // Whether an input can select penguin r for a skill whose taps start after update `from`, and
    // how (the action's tap point, or m_covered). None can where it stands exactly as an earlier
    // record does (a tap and the keys both find the earlier one first), or where it is still
    // waiting to enter in the update of the tap (neither drawn for a tap nor a neighbour for the
    // keys). A covered penguin that stands apart is given the skill as if a tap had selected it
    // earlier: a search over more ways than a player has, so "none with" stays a proof, and a way
    // found is played back only once p_Uncover found that tap.
    bool p_Reach(Frame& frame, int r, int from, c_SolveAction& action);
    bool p_Claim(int task, int depth);
    void p_Finish(int task, int depth, const Below& below);
    // Waits for every worker to finish the depth; false when the search stops meanwhile.
    bool p_Barrier(int depth, const std::vector<pid_t>& children);

    c_SolveBudget m_budget;
    int m_split;
    Shared& m_shared;
    c_ProvenTable& m_table;
    int m_worker;
    Clock::time_point m_started;
    c_SolverGame m_game;
    // The timer reading at which the level runs out of time, when the game told it.
    int m_outOfTime = 0;
    bool m_outOfTimeKnown = false;
    std::vector<std::unique_ptr<Frame>> m_frames;
    std::vector<c_SolveAction> m_path;
    // Whether this depth left a skill ungiven for want of uses: else a deeper one finds nothing new.
    bool m_cut = false;
    // The first skills met so far in this depth, in the same order in every worker.
    int m_task = 0;
    long long m_updates = 0, m_plays = 0, m_untapped = 0, m_covered = 0;
};

bool Search::p_Spent() {
    if (m_budget.m_updates > 0 && m_shared.m_updates.load(std::memory_order_relaxed) + m_updates > m_budget.m_updates) {
        return true;
    }
    return std::chrono::duration<double>(Clock::now() - m_started).count() > m_budget.m_seconds;
}

void Search::p_Flush() {
    m_shared.m_updates += m_updates;
    m_shared.m_plays += m_plays;
    m_shared.m_untapped += m_untapped;
    m_shared.m_covered += m_covered;
    m_updates = m_plays = m_untapped = m_covered = 0;
}

bool Search::p_Pruned(const c_StateKey& key, int timer, int uses, Frame& frame) {
    c_Proven proven;
    if (!m_table.p_Find(key, proven) || !proven.p_Spares(uses, timer, m_outOfTimeKnown ? &m_outOfTime : nullptr)) {
        return false;
    }
    // What the proof saw as good as won is below this copy too, as far as its clock goes.
    if (proven.m_first <= proven.m_last) {
        Below seen;
        seen.m_window.p_Add(timer - proven.m_first);
        seen.m_window.p_Add(timer - proven.m_last);
        frame.p_See(seen);
    }
    return true;
}

bool Search::p_MayCycle(const Frame& frame, size_t depth) const {
    if (depth == 0 && m_budget.m_workers > 1) return false;
    return frame.m_seen.m_window.p_Empty() && !frame.m_seen.m_tainted;
}

void Search::p_Prove(Frame& frame, int uses, Below& below) {
    Below after;
    for (auto node = frame.m_nodes.rbegin(); node != frame.m_nodes.rend(); ++node) {
        after.p_Add(node->m_after);
        if (after.m_tainted) continue;
        c_Proven proven;
        proven.m_uses = uses;
        proven.m_timer = node->m_timer;
        if (!after.m_window.p_Empty()) {
            proven.m_first = node->m_timer - after.m_window.m_high;
            proven.m_last = node->m_timer - after.m_window.m_low;
        }
        m_table.p_Store(node->m_key, proven);
    }
    below = frame.m_lead;
    below.p_Add(after);
}

bool Search::p_Reach(Frame& frame, int r, int from, c_SolveAction& action) {
    action.m_covered = false;
    if (!action.m_tap) return true;
    const c_SolverSnapshot& at = frame.m_ring[static_cast<size_t>(from % kRing)];
    m_game.p_Restore(at);
    if (m_game.p_SameAsEarlier(r)) return false;
    // The tap is tried: penguins that bump within its update can move another's box over the point.
    if (m_game.p_TapPoint(r, action.m_tapX, action.m_tapY)) {
        m_game.p_Tap(action.m_tapX, action.m_tapY);
        ++m_updates;
        if (vo_game_Trunc(m_game.p_App().m_player[play::kSelected]) == r) return true;
        m_game.p_Restore(at);
    }
    m_game.p_Step();
    ++m_updates;
    action.m_covered = true;
    return m_game.p_App().p_PenAt(r)[pen::kState] != pen::kWaiting;
}

bool Search::p_Claim(int task, int depth) {
    if (m_budget.m_workers <= 1) return true;
    // Past the shared list, the first worker takes them all.
    if (task >= kMostTasks) return m_worker == 0;
    int seen = m_shared.m_tasks[task].m_claimed.load();
    while (seen <= depth) {
        if (m_shared.m_tasks[task].m_claimed.compare_exchange_weak(seen, depth + 1)) return true;
    }
    return false;
}

void Search::p_Finish(int task, int depth, const Below& below) {
    if (m_budget.m_workers <= 1 || task >= kMostTasks) return;
    Task& t = m_shared.m_tasks[task];
    t.m_high = below.m_window.m_high;
    t.m_low = below.m_window.m_low;
    t.m_tainted = below.m_tainted ? 1 : 0;
    t.m_done.store(depth + 1, std::memory_order_release);
}

void Search::p_Merge(Frame& frame, int depth) {
    for (const auto& [task, node] : frame.m_pending) {
        if (task >= kMostTasks) continue;
        const Task& t = m_shared.m_tasks[task];
        if (t.m_done.load(std::memory_order_acquire) != depth + 1) continue;
        Below below;
        below.m_window.m_high = t.m_high;
        below.m_window.m_low = t.m_low;
        below.m_tainted = t.m_tainted != 0;
        (node < 0 ? frame.m_lead : frame.m_nodes[static_cast<size_t>(node)].m_after).p_Add(below);
    }
    frame.m_pending.clear();
}

Outcome Search::p_Give(Frame& frame, int r, int effect, const Marks& marks, int uses, size_t depth) {
    c_MyApp& app = m_game.p_App();
    const bool tap = static_cast<int>(app.m_player[play::kSelected]) != r;
    const int from = effect - (tap ? kTapLead : kSlotLead) - 1;
    if (from < frame.m_start || from < kFirstInput) return Outcome::kNone;
    float counters[skill::kCount];
    for (int s = 0; s < skill::kCount; ++s) counters[s] = app.m_player[play::kCounters + s];
    c_SolveAction action;
    action.m_update = effect;
    action.m_penguin = r;
    action.m_tap = tap;
    // Whether the pointer reaches the penguin, worked out at its first skill (-1 until then).
    int reach = -1;
    for (int s = 0; s < skill::kCount; ++s) {
        if (counters[s] <= 0 || (m_budget.m_without >> s & 1) != 0) continue;
        if (uses == 0) {
            m_cut = true;
            return Outcome::kNone;
        }
        const int task = depth == 0 ? m_task++ : -1;
        if (depth == 0 && !p_Claim(task, uses)) {
            frame.m_pending.emplace_back(task, static_cast<int>(frame.m_nodes.size()) - 1);
            continue;
        }
        if (reach < 0) reach = p_Reach(frame, r, from, action) ? 1 : 0;
        action.m_skill = s;
        Below below;
        bool given = reach == 1;
        if (given) {
            m_game.p_Restore(frame.m_ring[static_cast<size_t>(from % kRing)]);
            const int before = m_game.p_Update();
            given = m_game.p_Give(action);
            m_updates += m_game.p_Update() - before;
            ++m_plays;
            if (given && action.m_covered) ++m_covered;
        }
        Outcome outcome = Outcome::kNone;
        if (given) {
            m_path.push_back(action);
            outcome = p_Play(uses - 1, depth + 1, marks, below);
            if (outcome == Outcome::kNone) m_path.pop_back();
        } else if (reach == 1) {
            ++m_untapped;
            below.m_tainted = true;
        }
        if (depth == 0) p_Finish(task, uses, below);
        if (outcome != Outcome::kNone) return outcome;
        frame.p_See(below);
    }
    return Outcome::kNone;
}

Outcome Search::p_Play(int uses, size_t depth, const Marks& marks, Below& below) {
    if (m_frames.size() <= depth) m_frames.push_back(std::make_unique<Frame>());
    Frame& frame = *m_frames[depth];
    frame.m_now = marks;
    frame.m_lead = Below();
    frame.m_seen = Below();
    frame.m_nodes.clear();
    frame.m_own.clear();
    frame.m_pending.clear();
    frame.m_start = m_game.p_Update();
    c_MyApp& app = m_game.p_App();
    const int home = m_budget.m_home;
    // With no use left nothing is given: no going back, and once a skill was seen left ungiven
    // no more moments to look at.
    const bool giving = uses > 0;
    std::vector<int> moments, lasts;
    for (int steps = 0;; ++steps) {
        const int u = m_game.p_Update();
        c_SolverSnapshot& now = frame.m_ring[static_cast<size_t>(u % kRing)];
        if (giving) m_game.p_Save(now);
        if (m_game.p_Over()) {
            if (m_game.p_Won(home)) return Outcome::kSolved;
            break;
        }
        if (m_game.p_Holding(home)) {
            Below held;
            held.m_window.p_Add(m_game.p_Timer());
            frame.p_See(held);
        }
        if (steps % kClockEvery == kClockEvery - 1) {
            p_Flush();
            if (m_shared.m_stop.load(std::memory_order_relaxed) != kRunning) return Outcome::kStopped;
            if (p_Spent()) return Outcome::kSpent;
        }
        bool changed = u == frame.m_start;
        moments.clear();
        lasts.clear();
        frame.m_before = frame.m_now;
        Marks& now_marks = frame.m_now;
        uint64_t offered = 0;
        for (int r = m_game.p_FirstRecord(); r < pen::kRecords; ++r) {
            if (app.p_PenAt(r)[pen::kInPlay] == 0) continue;
            const auto k = static_cast<size_t>(r);
            const int64_t key = m_split == 0 ? u : m_game.p_PenKey(r, m_split);
            const bool can = m_game.p_CanTakeSkill(r);
            changed = changed || key != now_marks.m_key[k];
            if (can && (!now_marks.m_could[k] || key != now_marks.m_key[k])) {
                moments.push_back(r);
                offered |= uint64_t{1} << r;
            }
            // The last update before it steps off an edge or starts to turn.
            if (!can && now_marks.m_could[k] && now_marks.m_effect[k] != u) lasts.push_back(r);
            now_marks.m_key[k] = key;
            now_marks.m_could[k] = can;
        }
        for (int r : moments) now_marks.m_effect[static_cast<size_t>(r)] = u + 1;
        // A skill in this update, decided on the state before it.
        for (int r : lasts) {
            if (!giving && m_cut) break;
            const Outcome outcome = p_Give(frame, r, u, frame.m_before, uses, depth);
            if (outcome != Outcome::kNone) return outcome;
            if (giving) m_game.p_Restore(now);
        }
        if (changed || !moments.empty()) {
            // Just after a skill, the next one's taps cannot start before it: fewer ways on. The
            // moments offered now and the lasts they decide belong to the state too.
            const auto slack = static_cast<uint64_t>(std::min(u - frame.m_start, kTapLead + 1));
            const c_StateKey key = m_game.p_StateKey(slack | offered << kSlackBits, m_budget.m_quantum);
            const int timer = m_game.p_Timer();
            // Met before in this play: it goes round the same way with less time.
            if (!frame.m_own.insert(key).second && p_MayCycle(frame, depth)) break;
            // The first play of a depth meets no proof of as many uses: every worker plays it alike.
            if (depth > 0 && p_Pruned(key, timer, uses, frame)) break;
            frame.m_nodes.push_back({key, timer, Below()});
        }
        for (int r : moments) {
            if (!giving && m_cut) break;
            const Outcome outcome = p_Give(frame, r, u + 1, frame.m_now, uses, depth);
            if (outcome != Outcome::kNone) return outcome;
            if (giving) m_game.p_Restore(now);
        }
        m_game.p_Step();
        ++m_updates;
    }
    // The first play of a depth is proven once every worker is through it.
    if (depth == 0 && m_budget.m_workers > 1) return Outcome::kNone;
    p_Prove(frame, uses, below);
    return Outcome::kNone;
}

bool Search::p_Barrier(int depth, const std::vector<pid_t>& children) {
    m_shared.m_arrived[depth] += 1;
    while (m_shared.m_arrived[depth].load() < m_budget.m_workers) {
        if (m_shared.m_stop.load() != kRunning) return false;
        if (p_Spent()) {
            int running = kRunning;
            m_shared.m_stop.compare_exchange_strong(running, kSpentStop);
            return false;
        }
        // A worker that died would keep the others waiting for ever.
        for (pid_t child : children) {
            int status = 0;
            if (waitpid(child, &status, WNOHANG) == child) {
                int running = kRunning;
                m_shared.m_stop.compare_exchange_strong(running, kFailedStop);
                return false;
            }
        }
        std::this_thread::sleep_for(kWaitStep);
    }
    return true;
}

void Search::p_Run(const std::vector<pid_t>& children) {
    const int most = m_budget.m_maxUses < 0 ? kMostDepths - 1 : std::min(m_budget.m_maxUses, kMostDepths - 1);
    ++m_plays;
    m_game.p_Play({});
    m_updates += m_game.p_Update();
    while (m_game.p_Update() < kFirstInput && !m_game.p_Over()) {
        m_game.p_Step();
        ++m_updates;
    }
    m_outOfTimeKnown = m_game.p_OutOfTimeTimer(m_outOfTime);
    c_SolverSnapshot root;
    m_game.p_Save(root);
    for (int depth = 0; depth <= most; ++depth) {
        m_game.p_Restore(root);
        m_cut = false;
        m_task = 0;
        m_path.clear();
        Below below;
        const Outcome outcome = p_Play(depth, 0, Marks(), below);
        p_Flush();
        if (outcome == Outcome::kSolved) {
            int none = -1;
            if (m_shared.m_solver.compare_exchange_strong(none, m_worker)) {
                m_shared.m_pathLength = static_cast<int>(m_path.size());
                std::copy(m_path.begin(), m_path.end(), m_shared.m_path);
                m_shared.m_stop.store(kSolvedStop);
            }
            return;
        }
        if (outcome == Outcome::kSpent) {
            int running = kRunning;
            m_shared.m_stop.compare_exchange_strong(running, kSpentStop);
            return;
        }
        if (outcome == Outcome::kStopped) return;
        if (m_cut) m_shared.m_cut[depth].store(1);
        if (!p_Barrier(depth, children)) return;
        if (m_budget.m_workers > 1 && m_worker == 0) {
            Frame& first = *m_frames[0];
            p_Merge(first, depth);
            p_Prove(first, depth, below);
        }
        if (m_worker == 0) {
            m_shared.m_depthSeconds[depth] = std::chrono::duration<double>(Clock::now() - m_started).count();
            m_shared.m_depthUpdates[depth] = m_shared.m_updates.load();
            m_shared.m_depthUntapped[depth] = m_shared.m_untapped.load();
            m_shared.m_depthDone.store(depth);
        }
        // Without a limit the counters (and the pick-ups) bound the depth.
        if (m_shared.m_cut[depth].load() == 0) {
            m_shared.m_complete.store(1);
            return;
        }
    }
}

}  // namespace

c_SolveResult vo_solver_Solve(const c_SolveSetup& setup, const c_SolveBudget& budget) {
    const Clock::time_point started = Clock::now();
    c_SolveResult result;
    const int workers = std::max(budget.m_workers, 1);
    c_SolveBudget each = budget;
    each.m_workers = workers;
    const size_t tableBytes = c_ProvenTable::p_BytesFor(budget.m_tableBytes);
    const size_t sharedBytes = (sizeof(Shared) + 63) / 64 * 64;
    void* memory = mmap(nullptr, sharedBytes + tableBytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) {
        result.m_status = c_SolveStatus::kFailed;
        result.m_verifyError = "no memory for the search";
        return result;
    }
    Shared& shared = *new (memory) Shared();
    shared.m_solver.store(-1);
    shared.m_depthDone.store(-1);
    // Large pages where the system gives them: fewer faults and misses on a table read at random.
    madvise(static_cast<char*>(memory) + sharedBytes, tableBytes, MADV_HUGEPAGE);
    c_ProvenTable table(static_cast<char*>(memory) + sharedBytes, tableBytes);

    // The other workers start before any game exists in this process: a game's sound threads do
    // not survive a fork.
    std::vector<pid_t> children;
    for (int w = 1; w < workers; ++w) {
        const pid_t pid = fork();
        if (pid == 0) {
            {
                Search search(setup, each, shared, table, w, started);
                search.p_Run({});
            }
            _exit(0);
        }
        if (pid < 0) {
            shared.m_stop.store(kFailedStop);
            break;
        }
        children.push_back(pid);
    }
    bool uncovered = true;
    if (shared.m_stop.load() == kRunning) {
        Search search(setup, each, shared, table, 0, started);
        search.p_Run(children);
        result.m_state = search.p_State();
        // The script taps the HUD's slots where a game of this screen size has them.
        if (shared.m_stop.load() == kSolvedStop) {
            result.m_actions.assign(shared.m_path, shared.m_path + shared.m_pathLength);
            uncovered = search.p_Uncover(result.m_actions);
            result.m_script = c_SolverGame::p_Script(setup, result.m_actions);
        }
    }
    bool failed = shared.m_stop.load() == kFailedStop;
    for (pid_t child : children) {
        int status = 0;
        if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) failed = true;
    }

    result.m_depthDone = shared.m_depthDone.load();
    for (int depth = 0; depth <= result.m_depthDone; ++depth) {
        const long long before = depth > 0 ? shared.m_depthUntapped[depth - 1] : 0;
        result.m_depths.push_back(
            {shared.m_depthSeconds[depth], shared.m_depthUpdates[depth], shared.m_depthUntapped[depth] - before});
    }
    result.m_updates = shared.m_updates.load();
    result.m_plays = shared.m_plays.load();
    result.m_untapped = shared.m_untapped.load();
    result.m_covered = shared.m_covered.load();
    switch (shared.m_stop.load()) {
        case kSolvedStop: result.m_status = c_SolveStatus::kSolved; break;
        case kSpentStop: result.m_status = c_SolveStatus::kBudgetSpent; break;
        case kFailedStop: result.m_status = c_SolveStatus::kFailed; break;
        default:
            result.m_status = shared.m_complete.load() != 0 ? c_SolveStatus::kExhausted : c_SolveStatus::kUsesSpent;
            break;
    }
    if (failed && result.m_status != c_SolveStatus::kSolved) {
        result.m_status = c_SolveStatus::kFailed;
        result.m_verifyError = "a worker process failed";
    }
    shared.~Shared();
    munmap(memory, sharedBytes + tableBytes);

    if (result.m_status == c_SolveStatus::kSolved && !uncovered) {
        result.m_status = c_SolveStatus::kVerifyFailed;
        result.m_verifyError = "a penguin given a skill while others covered it was never tappable before";
    }
    if (result.m_status == c_SolveStatus::kSolved &&
        !c_SolverGame::p_Verify(setup, result.m_state, result.m_script, budget.m_home, result.m_end, result.m_verifyError)) {
        result.m_status = c_SolveStatus::kVerifyFailed;
    }
    result.m_seconds = std::chrono::duration<double>(Clock::now() - started).count();
    return result;
}

const char* vo_solver_StatusText(c_SolveStatus status) {
    switch (status) {
        case c_SolveStatus::kSolved: return "solvable";
        case c_SolveStatus::kExhausted: return "not solvable: no candidate solves it";
        case c_SolveStatus::kUsesSpent: return "not solvable within the skill uses asked for";
        case c_SolveStatus::kBudgetSpent: return "not solvable within budget";
        case c_SolveStatus::kVerifyFailed: return "found, but its script did not play back";
        case c_SolveStatus::kFailed: return "the search failed";
    }
    return "";
}
