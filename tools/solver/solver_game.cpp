// The solver's level on the headless game: every input goes through the replay runner from
// script lines, so what the solver finds is what a script plays.
#include "tools/solver/solver_game.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

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

// As the game builds a level, from the given text instead of the stored one.
void Rebuild(c_MyApp& app, const c_SolveSetup& setup) {
    app.p_FlushGame();
    app.p_BuildLevel(setup.m_level, String(std::string_view(setup.m_text)));
}

}  // namespace

c_SolverGame::c_SolverGame(const c_SolveSetup& setup) : m_setup(setup), m_state(p_StateFor(setup)) {
    m_runner = std::make_unique<c_ReplayRunner>(m_state);
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
    const int record = progress::kRecordBase + progress::kTopTen * (setup.m_level - 2);
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

bool c_SolverGame::p_Run(const std::string& line) {
    c_ReplayScript script;
    c_ReplayError error;
    const int before = m_runner->p_Updates();
    if (!vo_replay_ParseScript(line, script, error) || !m_runner->p_Run(script, error)) return false;
    m_update += m_runner->p_Updates() - before;
    return true;
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
    for (const c_SolveAction& a : actions) {
        if (!p_Give(a)) return false;
    }
    return true;
}

bool c_SolverGame::p_Give(const c_SolveAction& a) {
    c_MyApp& app = p_App();
    const int lead = a.m_tap ? kTapLead : kSlotLead;
    if (a.m_update - lead - 1 < m_update) return false;
    if (a.m_update - lead - 1 > m_update) p_Run("wait " + std::to_string(a.m_update - lead - 1 - m_update));
    if (a.m_tap) {
        p_Run("pointer down " + std::to_string(a.m_tapX) + " " + std::to_string(a.m_tapY));
        p_Run("wait 1");
        p_Run("pointer up");
        if (vo_game_Trunc(app.m_player[play::kSelected]) != a.m_penguin) return false;
        p_Run("wait 1");
    }
    int x = 0, y = 0;
    p_SlotPoint(a.m_skill, x, y);
    const float before = app.m_player[play::kCounters + a.m_skill];
    p_Run("pointer down " + std::to_string(x) + " " + std::to_string(y));
    p_Run("wait 1");
    p_Run("pointer up");
    p_Run("wait 1");
    return app.m_player[play::kCounters + a.m_skill] == before - 1 &&
           vo_game_Trunc(app.m_player[play::kSelected]) == a.m_penguin;
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
}

void c_SolverGame::p_Save(c_SolverSnapshot& s) {
    c_MyApp& app = p_App();
    std::copy_n(app.m_pen.begin(), s.m_pen.size(), s.m_pen.begin());
    std::copy_n(app.m_player.begin(), s.m_player.size(), s.m_player.begin());
    for (int i = 0; i < c_SolverSnapshot::kCells; ++i) s.m_cells[static_cast<size_t>(i)] = app.m_grid[CellOf(i)];
    std::copy_n(app.m_matrix.begin(), s.m_matrix.size(), s.m_matrix.begin());
    s.m_update = m_update;
    vo_game_EachLevelField(s.m_fields, app, [](auto& kept, const auto& live, const c_FieldRule&) { kept = live; });
}

void c_SolverGame::p_Restore(const c_SolverSnapshot& s) {
    c_MyApp& app = p_App();
    std::copy(s.m_pen.begin(), s.m_pen.end(), app.m_pen.begin());
    std::copy(s.m_player.begin(), s.m_player.end(), app.m_player.begin());
    for (int i = 0; i < c_SolverSnapshot::kCells; ++i) app.m_grid[CellOf(i)] = s.m_cells[static_cast<size_t>(i)];
    std::copy(s.m_matrix.begin(), s.m_matrix.end(), app.m_matrix.begin());
    m_update = s.m_update;
    vo_game_EachLevelField(s.m_fields, app, [](const auto& kept, auto& live, const c_FieldRule&) { live = kept; });
}

bool c_SolverGame::p_Over() { return p_App().m_levelOver != 0; }

bool c_SolverGame::p_Won() {
    c_MyApp& app = p_App();
    if (app.m_endReason == ending::kDeadPenguin || app.m_endReason == ending::kQuit) return false;
    return app.p_CountRescued() >= 1;
}

bool c_SolverGame::p_CanTakeSkill(int r) { return p_App().p_CanTakeSkill(r) != 0; }

void c_SolverGame::p_TapPoint(int r, int& x, int& y) {
    float sx = 0, sy = 0;
    p_App().p_PenScreenPoint(r, sx, sy);
    x = static_cast<int>(std::lround(sx));
    y = static_cast<int>(std::lround(sy));
}

uint64_t c_SolverGame::p_StateHash(float quantum) {
    c_MyApp& app = p_App();
    uint64_t h = 1469598103934665603ull;
    auto mix = [&h](float v) {
        uint32_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        h = (h ^ bits) * 1099511628211ull;
    };
    for (int i = 0; i < pen::kRecords * pen::kFloats; ++i) {
        const int field = i % pen::kFloats;
        // The walk cycle's frame is only drawn. A walking penguin's timer and a penguin's next
        // direction outside a turn are left from before and set again before they are read.
        if (field == pen::kFrame) continue;
        const float state = app.m_pen[i - field + pen::kState];
        if (field == pen::kTimer && state == pen::kWalking) continue;
        if (field == pen::kNewDir && state != pen::kTurning) continue;
        const bool fraction = field == pen::kOffsetX || field == pen::kOffsetY || field == pen::kFallSpeed;
        mix(quantum > 0 && fraction ? std::round(app.m_pen[i] / quantum) : app.m_pen[i]);
    }
    // A block's look is drawn at random when the level is built; every look is the same block.
    for (int y = 0; y <= grid::kRows + 1; ++y) {
        for (int x = 0; x <= grid::kCols + 1; ++x) {
            const float code = app.m_grid[(y * grid::kRowCells + x) * grid::kCellFloats];
            mix(code >= tile::kFirstBlock && code <= tile::kLastBlock ? static_cast<float>(tile::kFirstBlock) : code);
        }
    }
    for (int k = 0; k < skill::kCount; ++k) mix(app.m_player[play::kCounters + k]);
    // The selected penguin decides how soon a skill reaches which penguin.
    mix(app.m_player[play::kSelected]);
    mix(static_cast<float>(app.m_levelOver));
    return h;
}

int64_t c_SolverGame::p_PenKey(int r, int split) {
    const float* p = p_App().p_PenAt(r);
    const float column = split > 1 ? std::floor((p[pen::kCellX] + p[pen::kOffsetX]) * static_cast<float>(split)) : p[pen::kCellX];
    return Pack(column, p[pen::kCellY], p[pen::kState], p[pen::kDir]);
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
        const int lead = a.m_tap ? kTapLead : kSlotLead;
        out << "wait " << a.m_update - lead - 1 - update << '\n';
        if (a.m_tap) {
            out << "pointer down " << a.m_tapX << ' ' << a.m_tapY << "   # select penguin " << a.m_penguin << '\n'
                << "wait 1\npointer up\nwait 1\n";
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

bool c_SolverGame::p_Verify(const c_SolveSetup& setup, const std::string& state, const std::string& script,
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
    if (end.m_rescued < 1 || end.m_reason == ending::kDeadPenguin || end.m_reason == ending::kQuit) {
        error = "the level ended without a rescue: " + vo_replay_FormatLevelEnd(end);
        return false;
    }
    return true;
}

bool vo_solver_ReadMap(const std::string& file, const int counters[skill::kCount], std::string& text, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    if (!in) {
        error = "cannot read " + file;
        return false;
    }
    c_LevelMap map;
    if (!vo_levelpack_ReadMap(contents.str(), map, error)) {
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
