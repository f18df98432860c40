// Measuring a script's room: one playing watched level by level, then the same playing again
// with each action moved in processes forked from it, each of which reports by its exit status
// whether the action's level ended as it did. A moved playing stops early when, its inputs all
// given, the level is exactly as it was at that update of the first playing: from there on the
// two are the same.
#include "tools/replay/replay_slack.h"

#include <dirent.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

#include "game/globals.h"
#include "game/truncate.h"

namespace {

// How a moved action's process ends.
enum : int { kSameEnd = 0, kOtherEnd = 1, kNoRoom = 2, kNoEnd = 3, kRunFailed = 4 };

bool IsInput(c_ReplayOp op) {
    switch (op) {
        case c_ReplayOp::kKeyDown:
        case c_ReplayOp::kKeyUp:
        case c_ReplayOp::kKeyTap:
        case c_ReplayOp::kChar:
        case c_ReplayOp::kPointerMove:
        case c_ReplayOp::kPointerDown:
        case c_ReplayOp::kPointerUp:
        case c_ReplayOp::kTouchDown:
        case c_ReplayOp::kTouchMove:
        case c_ReplayOp::kTouchUp:
        case c_ReplayOp::kPadDown:
        case c_ReplayOp::kPadUp:
        case c_ReplayOp::kPadStick: return true;
        default: return false;
    }
}

// The commands of one run of input lines, and where its measurement goes.
struct Span {
    size_t m_first = 0, m_last = 0;
    // The level and action it was found to be in the first playing; -1 when it came outside a
    // level in play.
    int m_level = -1, m_action = -1;
    // The updates run when its last input line had run, in the first playing.
    int m_doneAt = 0;
    // The wait or `at` before it, which moves it; none when it follows anything else.
    bool p_HasMover(const std::vector<c_ReplayCommand>& commands) const {
        if (m_first == 0) return false;
        const c_ReplayOp op = commands[m_first - 1].m_op;
        return op == c_ReplayOp::kWait || op == c_ReplayOp::kAt;
    }
};

std::vector<Span> FindSpans(const std::vector<c_ReplayCommand>& commands) {
    const auto shortWait = [&commands](size_t i) {
        return commands[i].m_op == c_ReplayOp::kWait && commands[i].m_number <= kSlackActionPause;
    };
    std::vector<Span> spans;
    for (size_t i = 0; i < commands.size(); ++i) {
        if (!IsInput(commands[i].m_op)) continue;
        size_t last = i;
        for (;;) {
            if (last + 1 < commands.size() && IsInput(commands[last + 1].m_op)) {
                last += 1;
            } else if (last + 2 < commands.size() && shortWait(last + 1) && IsInput(commands[last + 2].m_op)) {
                last += 2;
            } else {
                break;
            }
        }
        Span span;
        span.m_first = i;
        span.m_last = last;
        spans.push_back(span);
        i = last;
    }
    return spans;
}

bool Run(c_ReplayRunner& runner, const c_ReplayCommand& command, c_ReplayError& error) {
    c_ReplayScript one;
    one.m_commands.push_back(command);
    return runner.p_Run(one, error);
}

// The same command with another number of updates.
c_ReplayCommand WithNumber(const c_ReplayCommand& command, int number) {
    c_ReplayCommand changed = command;
    changed.m_number = number;
    return changed;
}

// How a level in play ends as the game has decided it: the reason, who got home, the counters.
c_LevelEnd EndNow(c_MyApp& app) {
    c_LevelEnd end;
    end.m_level = app.m_level;
    end.m_reason = app.m_endReason;
    end.m_rescued = app.m_endReason == ending::kDeadPenguin ? 0 : app.p_CountRescued();
    for (int k = 0; k < play::kCarriedCounters; ++k) end.m_counters[k] = vo_game_Trunc(app.m_player[play::kCounters + k]);
    return end;
}

bool SameEnd(const c_LevelEnd& a, const c_LevelEnd& b) {
    return a.m_reason == b.m_reason && a.m_rescued == b.m_rescued &&
           std::equal(std::begin(a.m_counters), std::end(a.m_counters), std::begin(b.m_counters));
}

// Follows the levels a runner plays, after every update.
class Watch {
public:
    explicit Watch(std::vector<c_SlackLevel>& levels) : m_levels(levels) {}

    // The next update is the first to see the action whose first input line comes now.
    void p_ActionComing(int line) {
        m_comingLine = line;
    }
    // Whether a level is in play and not yet decided.
    bool p_Playing() const { return m_level >= 0 && m_levels[static_cast<size_t>(m_level)].m_finish == 0; }
    int p_Level() const { return m_level; }

    void p_Update(c_MyApp& app, int updates) {
        const bool inLevel = app.m_mode == screen::kInLevel;
        if (inLevel && !m_inLevel) {
            c_SlackLevel level;
            level.m_level = app.m_level;
            m_levels.push_back(level);
            m_level = static_cast<int>(m_levels.size()) - 1;
            m_base = updates;
            m_timer = app.m_player[play::kTimer];
            m_idleRun = 0;
        } else if (inLevel && p_Playing()) {
            c_SlackLevel& level = m_levels[static_cast<size_t>(m_level)];
            const int update = updates - m_base;
            const float timer = app.m_player[play::kTimer];
            const bool oneStep = m_timer - timer == 1;
            m_timer = timer;
            if (m_comingLine > 0) {
                c_SlackAction action;
                action.m_line = m_comingLine;
                action.m_update = update;
                level.m_actions.push_back(action);
                if (level.m_firstAction == 0) level.m_firstAction = update;
                m_idleRun = 0;
            } else if (oneStep) {
                level.m_idle = std::max(level.m_idle, ++m_idleRun);
            } else {
                m_idleRun = 0;
            }
            if (app.m_levelOver != 0) {
                level.m_finish = update;
                level.m_end = EndNow(app);
                level.m_end.m_update = update;
            }
        }
        m_comingLine = 0;
        m_inLevel = inLevel;
    }

private:
    std::vector<c_SlackLevel>& m_levels;
    int m_level = -1;
    bool m_inLevel = false;
    int m_base = 0;
    float m_timer = 0;
    int m_idleRun = 0;
    int m_comingLine = 0;
};

// FNV-1a over the bytes of the values given.
class Hash {
public:
    template <class T>
    void p_Add(const T& value) {
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&value);
        for (size_t i = 0; i < sizeof value; ++i) m_value = (m_value ^ bytes[i]) * 1099511628211ull;
    }
    uint64_t m_value = 14695981039346656037ull;
};

// Everything the rest of a level plays from, given the same input: the penguins (one gone only
// by whether it got home, as a gone record is reused whole), the play state, the level's cells,
// the game's level fields and the keys held.
uint64_t LevelHash(c_ReplayRunner& runner) {
    c_MyApp& app = runner.p_App();
    Hash hash;
    for (int r = 0; r < pen::kRecords; ++r) {
        const float* p = app.p_PenAt(r);
        if (p[pen::kInPlay] != 0) {
            for (int f = 0; f < pen::kFloats; ++f) hash.p_Add(p[f]);
        } else {
            hash.p_Add(p[pen::kState] == pen::kRescued);
        }
    }
    for (int i = 0; i < play::kFloats; ++i) hash.p_Add(app.m_player[i]);
    for (int y = 0; y <= grid::kRows + 1; ++y) {
        for (int x = 0; x <= grid::kCols + 1; ++x) hash.p_Add(app.m_grid[(y * grid::kRowCells + x) * grid::kCellFloats]);
    }
    for (const auto field : {app.m_mode, app.m_paused, app.m_levelOver, app.m_endReason, app.m_tapSkill, app.m_keyUsed,
                             app.m_pointerUsed, app.m_pointerDown}) {
        hash.p_Add(field);
    }
    for (const auto field : {app.m_keyRampX, app.m_keyRampY, app.m_stickOutX, app.m_stickOutY}) hash.p_Add(field);
    for (const int key : runner.p_Game().m_ws.pressedKeys) hash.p_Add(key);
    return hash.m_value;
}

bool SingleThreaded() {
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks) return false;
    int threads = 0;
    while (const dirent* entry = readdir(tasks)) threads += entry->d_name[0] != '.';
    closedir(tasks);
    return threads == 1;
}

// Plays the action moved by `by` updates in this (forked) process, and exits with how its level
// ended compared with `end`. `lead` updates of the mover are still to run before the action;
// `hashes` are the first playing's, by updates run.
[[noreturn]] void PlayMoved(c_ReplayRunner& runner, const std::vector<c_ReplayCommand>& commands, const Span& span,
                            int lead, int by, const c_LevelEnd& end, const std::vector<uint64_t>& hashes) {
    bool playing = false;
    // From this update on both playings have the same input still to come.
    int sameInputFrom = INT_MAX;
    runner.m_onUpdate = [&](int updates) {
        c_MyApp& app = runner.p_App();
        if (app.m_mode != screen::kInLevel) return;
        if (app.m_levelOver == 0) {
            playing = true;
            if (updates >= sameInputFrom && static_cast<size_t>(updates) < hashes.size() &&
                LevelHash(runner) == hashes[static_cast<size_t>(updates)]) {
                _exit(kSameEnd);
            }
        } else if (playing) {
            _exit(SameEnd(EndNow(app), end) ? kSameEnd : kOtherEnd);
        }
    };
    c_ReplayError error;
    const bool at = span.p_HasMover(commands) && commands[span.m_first - 1].m_op == c_ReplayOp::kAt;
    if (at) {
        const int target = commands[span.m_first - 1].m_number + by;
        if (target < runner.p_Updates()) _exit(kNoRoom);
        if (!Run(runner, WithNumber(commands[span.m_first - 1], target), error)) _exit(kRunFailed);
    } else {
        if (lead + by < 0) _exit(kNoRoom);
        c_ReplayCommand wait;
        wait.m_op = c_ReplayOp::kWait;
        if (!Run(runner, WithNumber(wait, lead + by), error)) _exit(kRunFailed);
    }
    size_t next = span.m_first;
    for (; next <= span.m_last; ++next) {
        if (!Run(runner, commands[next], error)) _exit(kRunFailed);
    }
    sameInputFrom = std::max(runner.p_Updates(), span.m_doneAt);
    // The wait after the action gives back what the move took, so that the actions after it come
    // when they did.
    if (next < commands.size() && commands[next].m_op == c_ReplayOp::kWait) {
        if (commands[next].m_number - by < 0) _exit(kNoRoom);
        if (!Run(runner, WithNumber(commands[next], commands[next].m_number - by), error)) _exit(kRunFailed);
        ++next;
    }
    for (; next < commands.size(); ++next) {
        if (!Run(runner, commands[next], error)) _exit(kRunFailed);
    }
    _exit(kNoEnd);
}

// Moves the action step, 2 × step, ... updates each way, one process a side at a time, until
// its level ends otherwise or the limit is reached; fills in how far it moved.
bool MeasureAction(c_ReplayRunner& runner, const std::vector<c_ReplayCommand>& commands, const Span& span, int lead,
                   int limit, int step, const c_LevelEnd& end, const std::vector<uint64_t>& hashes, c_SlackAction& action) {
    struct Side {
        int m_sign;
        int m_moved = 0;
        int m_trying = 0;
        pid_t m_child = -1;
    };
    std::array<Side, 2> sides{Side{-1}, Side{1}};
    const auto launch = [&](Side& side) {
        side.m_trying = std::min(side.m_moved + step, limit);
        const pid_t child = fork();
        if (child == 0) PlayMoved(runner, commands, span, lead, side.m_sign * side.m_trying, end, hashes);
        side.m_child = child;
        return child > 0;
    };
    for (Side& side : sides) {
        if (!launch(side)) return false;
    }
    for (int running = 2; running > 0;) {
        int status = 0;
        const pid_t done = wait(&status);
        if (done < 0) return false;
        for (Side& side : sides) {
            if (side.m_child != done) continue;
            side.m_child = -1;
            const bool same = WIFEXITED(status) && WEXITSTATUS(status) == kSameEnd;
            if (same) side.m_moved = side.m_trying;
            if (same && side.m_moved < limit) {
                if (!launch(side)) return false;
            } else {
                --running;
            }
        }
    }
    action.m_earlier = sides[0].m_moved;
    action.m_later = sides[1].m_moved;
    return true;
}

}  // namespace

const c_SlackAction* c_SlackLevel::p_Tightest() const {
    const auto tighter = [](const c_SlackAction& a, const c_SlackAction& b) { return a.p_Window() < b.p_Window(); };
    const auto found = std::min_element(m_actions.begin(), m_actions.end(), tighter);
    return found == m_actions.end() ? nullptr : &*found;
}

bool vo_replay_Slack(const c_ReplayScript& script, const std::string& state, int limit,
                     std::vector<c_SlackLevel>& levels, c_ReplayError& error, int step) {
    const std::vector<c_ReplayCommand>& commands = script.m_commands;
    std::vector<Span> spans = FindSpans(commands);
    levels.clear();
    std::vector<uint64_t> hashes;
    {
        // Without a sound device: the same game, on one thread, for the forks of the second playing.
        c_ReplayRunner runner(state, nullptr, false);
        runner.m_drawAll = false;
        Watch watch(levels);
        runner.m_onUpdate = [&](int updates) {
            watch.p_Update(runner.p_App(), updates);
            hashes.resize(static_cast<size_t>(updates) + 1);
            if (limit > 0 && watch.p_Playing()) hashes.back() = LevelHash(runner);
        };
        size_t next = 0;
        for (size_t i = 0; i < commands.size(); ++i) {
            if (next < spans.size() && spans[next].m_first == i) {
                if (watch.p_Playing()) {
                    spans[next].m_level = watch.p_Level();
                    spans[next].m_action = static_cast<int>(levels[static_cast<size_t>(watch.p_Level())].m_actions.size());
                    watch.p_ActionComing(commands[i].m_line);
                }
                ++next;
            }
            if (!Run(runner, commands[i], error)) return false;
            if (next > 0 && spans[next - 1].m_last == i) spans[next - 1].m_doneAt = runner.p_Updates();
        }
    }
    // A run of inputs that no update saw (at the script's end) is no action.
    for (Span& span : spans) {
        if (span.m_level >= 0 && span.m_action >= static_cast<int>(levels[static_cast<size_t>(span.m_level)].m_actions.size())) {
            span.m_level = -1;
        }
    }
    if (limit <= 0) return true;

    c_ReplayRunner runner(state, nullptr, false);
    runner.m_drawAll = false;
    if (!SingleThreaded()) {
        error = {0, "the game runs more than one thread here (a sound device), so it cannot be forked"};
        return false;
    }
    size_t next = 0;
    for (size_t i = 0; i < commands.size(); ++i) {
        while (next < spans.size() && (spans[next].m_level < 0 || spans[next].m_first < i)) ++next;
        const Span* span = next < spans.size() ? &spans[next] : nullptr;
        const bool mover = span && span->p_HasMover(commands) && span->m_first == i + 1;
        if (span && (mover || (span->m_first == i && !span->p_HasMover(commands)))) {
            // Run the mover up to `limit` updates before the action; the forks go on from there.
            int lead = 0;
            if (mover && commands[i].m_op == c_ReplayOp::kWait) {
                lead = std::min(commands[i].m_number, limit);
                if (!Run(runner, WithNumber(commands[i], commands[i].m_number - lead), error)) return false;
            } else if (mover) {
                lead = std::clamp(commands[i].m_number - runner.p_Updates(), 0, limit);
                if (!Run(runner, WithNumber(commands[i], commands[i].m_number - lead), error)) return false;
            }
            c_SlackLevel& level = levels[static_cast<size_t>(span->m_level)];
            c_SlackAction& action = level.m_actions[static_cast<size_t>(span->m_action)];
            if (!MeasureAction(runner, commands, *span, lead, limit, std::max(step, 1), level.m_end, hashes, action)) {
                error = {commands[span->m_first].m_line, "a moved playing could not be forked"};
                return false;
            }
            // The rest of the mover; an `at` runs to its update whatever has run.
            if (mover && commands[i].m_op == c_ReplayOp::kWait) {
                if (!Run(runner, WithNumber(commands[i], lead), error)) return false;
                continue;
            }
        }
        if (!Run(runner, commands[i], error)) return false;
    }
    return true;
}
