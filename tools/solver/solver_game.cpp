// The solver's level on the headless game: every input goes through the replay runner from
// script lines, so what the solver finds is what a script plays.
#include "tools/solver/solver_game.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

#include "framework/app/files.h"
#include "game/globals.h"
#include "game/menu_layout.h"
#include "game/truncate.h"
#include "tools/levelpack/level_map.h"

namespace {

// A counter character stands for its code less this ('@' 0, 'A' 1).
constexpr int kCounterBase = '@';
// Updates the final `until end` may wait: the whole level, its banner and the way to the title.
constexpr int kEndWait = 36000;

// Four small whole numbers in one.
int64_t Pack(float a, float b, float c, float d) {
    auto part = [](float v) { return static_cast<int64_t>(vo_game_Trunc(v) + 1024) & 0xffff; };
    return part(a) << 48 | part(b) << 32 | part(c) << 16 | part(d);
}

// Cell i of the level with its border, row by row, in the grid's floats.
int CellOf(int i) { return (i / (grid::kCols + 2) * grid::kRowCells + i % (grid::kCols + 2)) * grid::kCellFloats; }

// Half a penguin's tap box: a tap strictly within this of its point, either way, selects it.
constexpr float kTapHalf = menu_layout::kPenguinTapBox / 2;

// Two independent 64-bit hashes fed word by word.
class c_KeyHash {
public:
    void p_Add(uint32_t w) {
        m_a = (m_a ^ w) * 0x9E3779B97F4A7C15ull;
        m_a ^= m_a >> 29;
        m_b = (m_b + w + 0x632BE59BD9B4E019ull) * 0xD6E8FEB86659FD93ull;
        m_b ^= m_b >> 32;
    }
    void p_Add(float v) {
        uint32_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        p_Add(bits);
    }
    void p_Add(uint64_t v) {
        p_Add(static_cast<uint32_t>(v));
        p_Add(static_cast<uint32_t>(v >> 32));
    }
    c_StateKey p_Key() const { return {Finish(m_a), Finish(m_b ^ 0x5851F42D4C957F2Dull)}; }

private:
    static uint64_t Finish(uint64_t h) {
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDull;
        h ^= h >> 33;
        h *= 0xC4CEB9FE1A85EC53ull;
        return h ^ (h >> 33);
    }
    uint64_t m_a = 0xCBF29CE484222325ull, m_b = 0x84222325CBF29CE4ull;
};

// As the game builds a level, from the given text instead of the stored one.
void Rebuild(c_MyApp& app, const c_SolveSetup& setup) {
    app.p_FlushGame();
    app.p_BuildLevel(setup.m_level, String(std::string_view(setup.m_text)));
}

}  // namespace

c_SolverGame::c_SolverGame(const c_SolveSetup& setup) : m_setup(setup), m_state(p_StateFor(setup)) {
    m_runner = std::make_unique<c_ReplayRunner>(m_state);
    // The search reads only the rules; its answer is played back on a game that draws.
    p_App().m_drawOff = 1;
    // A level given as text replaces the stored one as soon as the stored one is built.
    m_runner->m_onUpdate = [this](int updates) {
        if (updates == m_rebuildAt) Rebuild(p_App(), m_setup);
    };
}

std::string c_SolverGame::p_StateFor(const c_SolveSetup& setup) {
    if (setup.m_level < 2) return std::string();
    c_ReplayRunner runner;
    c_ReplayScript script;
    c_ReplayError error;
    vo_replay_ParseScript("until loaded", script, error);
    runner.p_Run(script, error);
    c_MyApp& app = runner.p_App();
    const int record = progress::RecordOf(setup.m_level - 1);
    app.m_progress[record] = setup.m_penguins;
    for (int k = 0; k < skill::kCount; ++k) app.m_progress[record + 1 + k] = setup.m_counters[k];
    return app.p_SaveString().ToUtf8();
}

void c_SolverGame::p_StartCounters(int level, int counters[skill::kCount]) {
    c_ReplayRunner runner;
    c_ReplayScript script;
    c_ReplayError error;
    vo_replay_ParseScript("start " + std::to_string(level) + " 1\nwait 1", script, error);
    runner.p_Run(script, error);
    for (int k = 0; k < skill::kCount; ++k) counters[k] = vo_game_Trunc(runner.p_App().m_player[play::kCounters + k]);
}

bool c_SolverGame::p_RunCommands(const c_ReplayScript& script) {
    c_ReplayError error;
    const int before = m_runner->p_Updates();
    const bool ran = m_runner->p_Run(script, error);
    m_update += m_runner->p_Updates() - before;
    return ran;
}

void c_SolverGame::p_SlotPoint(int s, int& x, int& y) {
    // On the skill's icon.
    x = vo_game_Trunc(menu_layout::HudSlotIconX(s, menu_layout::HudSlotPart(jscrw)));
    y = vo_game_Trunc(jscrh - menu_layout::kHudSlotMiddle);
}

bool c_SolverGame::p_Play(const std::vector<c_SolveAction>& actions) {
    c_ReplayScript start;
    c_ReplayError error;
    vo_replay_ParseScript("start " + std::to_string(m_setup.m_level) + " " + std::to_string(m_setup.m_penguins), start,
                          error);
    m_runner->p_Run(start, error);
    m_update = 0;
    if (!m_setup.m_text.empty()) m_rebuildAt = m_runner->p_Updates() + 1;
    m_firstRecord = pen::kRecords;
    for (const c_SolveAction& a : actions) {
        if (!p_Give(a)) return false;
    }
    p_NoteRecords();
    return true;
}

bool c_SolverGame::p_Give(const c_SolveAction& a) {
    c_MyApp& app = p_App();
    // After these updates the penguin's tap and the slot's tap start.
    const int tapFrom = a.m_update - kTapLead - 1 - a.m_tapEarlier, slotFrom = a.m_update - kSlotLead - 1;
    if ((a.m_tap ? tapFrom : slotFrom) < m_update) return false;
    if (a.m_tap) {
        if (!p_WaitUntil(tapFrom)) return false;
        if (a.m_covered) {
            app.m_player[play::kSelected] = static_cast<float>(a.m_penguin);
        } else {
            p_Tap(a.m_tapX, a.m_tapY);
            if (vo_game_Trunc(app.m_player[play::kSelected]) != a.m_penguin) return false;
        }
    }
    if (!p_WaitUntil(slotFrom)) return false;
    int x = 0, y = 0;
    p_SlotPoint(a.m_skill, x, y);
    p_Tap(x, y);
    p_WaitUntil(m_update + 1);
    p_NoteRecords();
    // The use latch is set in the update a skill is given, which a pick-up taken in the same
    // update would hide from the counter.
    return app.m_player[play::kUseLatch] != 0 && vo_game_Trunc(app.m_player[play::kSkill]) == a.m_skill &&
           vo_game_Trunc(app.m_player[play::kSelected]) == a.m_penguin;
}

// Taps and waits as script commands of their own, read by the same runner as a script's.
void c_SolverGame::p_Tap(int x, int y) {
    c_ReplayScript tap;
    tap.m_commands.resize(3);
    tap.m_commands[0].m_op = c_ReplayOp::kPointerDown;
    tap.m_commands[0].m_x = static_cast<float>(x);
    tap.m_commands[0].m_y = static_cast<float>(y);
    tap.m_commands[1].m_op = c_ReplayOp::kWait;
    tap.m_commands[1].m_number = 1;
    tap.m_commands[2].m_op = c_ReplayOp::kPointerUp;
    p_RunCommands(tap);
}

bool c_SolverGame::p_WaitUntil(int update) {
    if (update <= m_update) return true;
    c_ReplayScript wait;
    wait.m_commands.resize(1);
    wait.m_commands[0].m_op = c_ReplayOp::kWait;
    wait.m_commands[0].m_number = update - m_update;
    return p_RunCommands(wait);
}

bool c_SolverGame::p_Uncover(std::vector<c_SolveAction>& actions) {
    if (!p_Play({})) return false;
    c_SolverSnapshot before;
    struct Tap {
        int m_update, m_x, m_y;
    };
    std::vector<Tap> taps;
    for (c_SolveAction& a : actions) {
        if (!a.m_covered) {
            if (!p_Give(a)) return false;
            continue;
        }
        while (m_update < kFirstInput) p_Step();
        p_Save(before);
        // Every update whose state offers a point of the penguin's box, drawn once it stopped waiting.
        const int from = a.m_update - kTapLead - 1;
        taps.clear();
        for (int x = 0, y = 0; m_update < from; p_Step()) {
            if (p_App().p_PenAt(a.m_penguin)[pen::kState] != pen::kWaiting && p_TapPoint(a.m_penguin, x, y)) {
                taps.push_back({m_update, x, y});
            }
        }
        // The latest that selects it: penguins bumping within the tap's update may cover a point.
        a.m_covered = false;
        bool given = false;
        for (auto tap = taps.rbegin(); tap != taps.rend() && !given; ++tap) {
            p_Restore(before);
            a.m_tapEarlier = from - tap->m_update;
            a.m_tapX = tap->m_x;
            a.m_tapY = tap->m_y;
            given = p_Give(a);
        }
        if (!given) {
            a.m_covered = true;
            return false;
        }
    }
    return true;
}

void c_SolverGame::p_Step() {
    // Between inputs nothing needs the picture: the update alone, as the runner's pass would
    // run it after its render (which only draws and fits the unchanging window).
    c_HeadlessGame& game = m_runner->p_Game();
    game.p_Tick();
    game.p_Update();
    ++m_update;
    // Built here, the level must not be built again when the runner's own count reaches the update.
    if (m_update == 1 && !m_setup.m_text.empty()) {
        Rebuild(p_App(), m_setup);
        m_rebuildAt = -1;
    }
    p_NoteRecords();
}

void c_SolverGame::p_NoteRecords() {
    c_MyApp& app = p_App();
    // A level takes its records from the top down, and a pick-up adds a penguin in the highest
    // free one: a record below every one used so far comes into use only right below them.
    while (m_firstRecord > 0) {
        const float* p = app.p_PenAt(m_firstRecord - 1);
        if (std::all_of(p, p + pen::kFloats, [](float v) { return v == 0; })) break;
        --m_firstRecord;
    }
}

void c_SolverGame::p_Save(c_SolverSnapshot& s) {
    c_MyApp& app = p_App();
    const auto first = static_cast<size_t>(m_firstRecord * pen::kFloats);
    s.m_firstRecord = m_firstRecord;
    std::copy(app.m_pen.begin() + first, app.m_pen.begin() + s.m_pen.size(), s.m_pen.begin() + first);
    std::copy_n(app.m_player.begin(), s.m_player.size(), s.m_player.begin());
    for (int i = 0; i < c_SolverSnapshot::kCells; ++i) s.m_cells[static_cast<size_t>(i)] = app.m_grid[CellOf(i)];
    std::copy_n(app.m_matrix.begin(), s.m_matrix.size(), s.m_matrix.begin());
    s.m_update = m_update;
    vo_game_EachLevelField(s.m_fields, app, [](auto& kept, const auto& live, const c_FieldRule&) { kept = live; });
}

void c_SolverGame::p_Restore(const c_SolverSnapshot& s) {
    c_MyApp& app = p_App();
    // Records that came into use since were all zero then.
    const auto used = static_cast<size_t>(std::min(m_firstRecord, s.m_firstRecord) * pen::kFloats);
    const auto first = static_cast<size_t>(s.m_firstRecord * pen::kFloats);
    std::fill(app.m_pen.begin() + used, app.m_pen.begin() + first, 0.0f);
    std::copy(s.m_pen.begin() + first, s.m_pen.end(), app.m_pen.begin() + first);
    m_firstRecord = s.m_firstRecord;
    std::copy(s.m_player.begin(), s.m_player.end(), app.m_player.begin());
    for (int i = 0; i < c_SolverSnapshot::kCells; ++i) app.m_grid[CellOf(i)] = s.m_cells[static_cast<size_t>(i)];
    std::copy(s.m_matrix.begin(), s.m_matrix.end(), app.m_matrix.begin());
    m_update = s.m_update;
    vo_game_EachLevelField(s.m_fields, app, [](const auto& kept, auto& live, const c_FieldRule&) { live = kept; });
}

bool c_SolverGame::p_Over() { return p_App().m_levelOver != 0; }

bool c_SolverGame::p_Won(int home) {
    c_MyApp& app = p_App();
    if (app.m_endReason == ending::kDeadPenguin || app.m_endReason == ending::kQuit) return false;
    return app.p_CountRescued() >= home;
}

bool c_SolverGame::p_Holding(int home) { return p_App().m_levelOver == 0 && p_App().p_CountRescued() >= home; }

int c_SolverGame::p_Timer() { return vo_game_Trunc(p_App().m_player[play::kTimer]); }

bool c_SolverGame::p_CanTakeSkill(int r) { return p_App().p_CanTakeSkill(r) != 0; }

bool c_SolverGame::p_TapPoint(int r, int& x, int& y) {
    c_MyApp& app = p_App();
    // The records before r that take a tap first: in play and drawn (a waiting one is not).
    float before[pen::kRecords][2];
    int count = 0;
    for (int j = m_firstRecord; j < r; ++j) {
        const float* q = app.p_PenAt(j);
        if (q[pen::kInPlay] == 0 || q[pen::kState] == pen::kWaiting) continue;
        app.p_PenScreenPoint(j, before[count][0], before[count][1]);
        ++count;
    }
    float sx = 0, sy = 0;
    app.p_PenScreenPoint(r, sx, sy);
    const int cx = static_cast<int>(std::lround(sx)), cy = static_cast<int>(std::lround(sy));
    auto inBox = [](int tx, int ty, float bx, float by) {
        return std::fabs(static_cast<float>(tx) - bx) < kTapHalf && std::fabs(static_cast<float>(ty) - by) < kTapHalf;
    };
    // From the middle outwards.
    const int reach = static_cast<int>(std::ceil(kTapHalf));
    for (int ring = 0; ring <= reach; ++ring) {
        for (int dy = -ring; dy <= ring; ++dy) {
            for (int dx = -ring; dx <= ring; ++dx) {
                if (std::max(std::abs(dx), std::abs(dy)) != ring) continue;
                const int tx = cx + dx, ty = cy + dy;
                if (!inBox(tx, ty, sx, sy)) continue;
                bool free = true;
                for (int j = 0; j < count && free; ++j) free = !inBox(tx, ty, before[j][0], before[j][1]);
                if (!free) continue;
                x = tx;
                y = ty;
                return true;
            }
        }
    }
    return false;
}

bool c_SolverGame::p_SameAsEarlier(int r) {
    c_MyApp& app = p_App();
    const float* p = app.p_PenAt(r);
    for (int j = m_firstRecord; j < r; ++j) {
        if (std::equal(p, p + pen::kFloats, app.p_PenAt(j))) return true;
    }
    return false;
}

c_StateKey c_SolverGame::p_StateKey(uint64_t extra, float quantum) {
    c_MyApp& app = p_App();
    c_KeyHash h;
    h.p_Add(extra);
    for (int r = 0; r < pen::kRecords; ++r) {
        const float* p = app.p_PenAt(r);
        // Out of play a record is read only for whether it got home; a pick-up penguin
        // overwrites it whole.
        if (p[pen::kInPlay] == 0) {
            h.p_Add(p[pen::kState] == pen::kRescued ? 1u : 0u);
            continue;
        }
        for (int field = 0; field < pen::kFloats; ++field) {
            // The walk cycle's frame is only drawn. A walking penguin's timer and a penguin's next
            // direction outside a turn are left from before and set again before they are read.
            if (field == pen::kFrame) continue;
            if (field == pen::kTimer && p[pen::kState] == pen::kWalking) continue;
            if (field == pen::kNewDir && p[pen::kState] != pen::kTurning) continue;
            const bool fraction = field == pen::kOffsetX || field == pen::kOffsetY || field == pen::kFallSpeed;
            h.p_Add(quantum > 0 && fraction ? std::round(p[field] / quantum) : p[field]);
        }
    }
    // A block's look is drawn at random when the level is built; every look is the same block.
    bool same = m_cellsKnown;
    for (int i = 0; i < c_SolverSnapshot::kCells; ++i) {
        float code = app.m_grid[CellOf(i)];
        if (code >= tile::kFirstBlock && code <= tile::kLastBlock) code = static_cast<float>(tile::kFirstBlock);
        float& read = m_cellsRead[static_cast<size_t>(i)];
        same = same && read == code;
        read = code;
    }
    if (!same) {
        c_KeyHash cells;
        for (float code : m_cellsRead) cells.p_Add(code);
        m_cellsKey = cells.p_Key();
        m_cellsKnown = true;
    }
    h.p_Add(m_cellsKey.m_a);
    h.p_Add(m_cellsKey.m_b);
    for (int k = 0; k < skill::kCount; ++k) h.p_Add(app.m_player[play::kCounters + k]);
    // The selected penguin decides how soon a skill reaches which penguin.
    h.p_Add(app.m_player[play::kSelected]);
    h.p_Add(static_cast<uint32_t>(app.m_levelOver));
    return h.p_Key();
}

int64_t c_SolverGame::p_PenKey(int r, int split) {
    const float* p = p_App().p_PenAt(r);
    const float column = split > 1 ? std::floor((p[pen::kCellX] + p[pen::kOffsetX]) * static_cast<float>(split)) : p[pen::kCellX];
    return Pack(column, p[pen::kCellY], p[pen::kState], p[pen::kDir]);
}

bool c_SolverGame::p_OutOfTimeTimer(int& timer) {
    if (!m_outOfTimeKnown) {
        c_SolverSnapshot saved;
        p_Save(saved);
        c_MyApp& app = p_App();
        // A counter left keeps the level at one step an update; a second on the clock is soon out.
        app.m_player[play::kCounters] = std::max(app.m_player[play::kCounters], 1.0f);
        app.m_player[play::kTimer] = static_cast<float>(kRunningRate);
        while (!p_Over()) p_Step();
        m_outOfTimeKnown = app.m_endReason == ending::kOutOfTime;
        m_outOfTime = p_Timer();
        p_Restore(saved);
    }
    timer = m_outOfTime;
    return m_outOfTimeKnown;
}

std::string c_SolverGame::p_Script(const c_SolveSetup& setup, const std::vector<c_SolveAction>& actions) {
    std::ostringstream out;
    out << "# floeward-solve: level " << setup.m_level << ", " << setup.m_penguins << " penguin(s), counters";
    for (int c : setup.m_counters) out << ' ' << c;
    out << "; " << actions.size() << " skill use(s)\n";
    if (setup.m_level >= 2) out << "# play it with the state file written beside it (--state)\n";
    if (!setup.m_text.empty()) out << "# the level is a map file's, not the stored one\n";
    out << "start " << setup.m_level << ' ' << setup.m_penguins << '\n';
    int update = 0;
    for (const c_SolveAction& a : actions) {
        const int lead = a.m_tap ? kTapLead + a.m_tapEarlier : kSlotLead;
        out << "wait " << a.m_update - lead - 1 - update << '\n';
        if (a.m_tap) {
            out << "pointer down " << a.m_tapX << ' ' << a.m_tapY << "   # select penguin " << a.m_penguin
                << (a.m_covered ? ": covered, no tap found" : "") << '\n'
                << "wait 1\npointer up\nwait " << 1 + a.m_tapEarlier << '\n';
        }
        int x = 0, y = 0;
        p_SlotPoint(a.m_skill, x, y);
        static const char* const kNames[] = {"Jump", "Leap", "Melt", "Burst", "Spin"};
        out << "pointer down " << x << ' ' << y << "   # " << kNames[a.m_skill] << ", taken in update " << a.m_update
            << '\n'
            << "wait 1\npointer up\nwait 1\n";
        update = a.m_update;
    }
    out << "until end " << kEndWait << '\n';
    return out.str();
}

bool c_SolverGame::p_Verify(const c_SolveSetup& setup, const std::string& state, const std::string& script, int home,
                            c_LevelEnd& end, std::string& error) {
    c_ReplayScript parsed;
    c_ReplayError failure;
    if (!vo_replay_ParseScript(script, parsed, failure)) {
        error = failure.p_Text();
        return false;
    }
    c_ReplayRunner runner(state);
    bool rebuilt = setup.m_text.empty();
    runner.m_onUpdate = [&](int) {
        if (rebuilt || runner.p_App().m_mode != screen::kInLevel) return;
        Rebuild(runner.p_App(), setup);
        rebuilt = true;
    };
    if (!runner.p_Run(parsed, failure)) {
        error = failure.p_Text();
        return false;
    }
    if (runner.p_LevelEnds().size() != 1) {
        error = std::to_string(runner.p_LevelEnds().size()) + " level ends";
        return false;
    }
    end = runner.p_LevelEnds()[0];
    if (end.m_rescued < home || end.m_reason == ending::kDeadPenguin || end.m_reason == ending::kQuit) {
        error = "the level ended without a rescue: " + vo_replay_FormatLevelEnd(end);
        return false;
    }
    return true;
}

bool vo_solver_ReadMap(const std::string& file, const int counters[skill::kCount], std::string& text, std::string& error) {
    std::string bytes, why;
    if (vo_file_ReadRegular(file, kMapFileLimit, bytes, why) != VoFileRead::kRead) {
        error = "cannot read " + file + " (" + why + ")";
        return false;
    }
    c_LevelMap map;
    if (!vo_levelpack_ReadMap(bytes, map, error)) {
        error = file + ": " + error;
        return false;
    }
    // The level's own counters give way to the ones searched with; the five the game does not
    // use are none.
    map.m_counters.assign(play::kCounterSlots, static_cast<char>(kCounterBase));
    for (int k = 0; k < skill::kCount; ++k) map.m_counters[static_cast<size_t>(k)] = static_cast<char>(kCounterBase + counters[k]);
    text = vo_levelpack_Expand(map);
    return true;
}
