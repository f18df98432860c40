// One level played for the solver on the replay runner's headless game: restarting it, giving
// skills by the pointer as a player would, and reading the penguins back after every update.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/defs.h"
#include "game/level_fields.h"
#include "tools/replay/replay_runner.h"

// What the level starts with.
struct c_SolveSetup {
    int m_level = 1;
    int m_penguins = 1;
    // Jump, Leap, Melt, Burst, Spin.
    int m_counters[skill::kCount] = {};
    // The expanded level text (column by column, then ten counter characters) that replaces the
    // stored level once it is built; empty for the stored level.
    std::string m_text;
};

// One skill given: to penguin record m_penguin, taking effect in update m_update after the start.
// The pointer taps the penguin (when it is not selected already) three updates before, or
// m_tapEarlier updates before that, at m_tapX, m_tapY, and the skill's HUD slot the update before.
// A covered penguin (no point of its tap box selects it: each also taps a record before it, or a
// bump in the tap's update moves one over it) is selected without a tap instead: the search's
// stand-in for a tap while it stood apart earlier, which p_Uncover finds before the way is played
// back.
struct c_SolveAction {
    int m_update = 0;
    int m_penguin = 0;
    int m_skill = 0;
    bool m_tap = false;
    int m_tapX = 0, m_tapY = 0;
    int m_tapEarlier = 0;
    bool m_covered = false;
};

// Updates a tap and a slot take before the skill acts, and with the slot alone.
constexpr int kTapLead = 3;
constexpr int kSlotLead = 1;
// The level is built in update 1; taps start from here on.
constexpr int kFirstInput = 2;

// A state of the level as the search compares them: two independent 64-bit hashes.
struct c_StateKey {
    uint64_t m_a = 0, m_b = 0;
    bool operator==(const c_StateKey& other) const { return m_a == other.m_a && m_b == other.m_b; }
};

// Everything a level in play carries from one update to the next that the rules read: the
// penguin records from the first one the level has used (those below it are all zero), the play
// state, the level's cells (with their border), the neighbourhood last read, and the game
// object's level fields (the level's end, the input latches). Particles, sounds and the picture
// are left out: nothing the penguins do reads them.
struct c_SolverSnapshot {
    static constexpr int kCells = (grid::kRows + 2) * (grid::kCols + 2);
    int m_firstRecord = pen::kRecords;
    std::array<float, pen::kRecords * pen::kFloats> m_pen{};
    std::array<float, play::kFloats> m_player{};
    std::array<float, kCells> m_cells{};
    std::array<int, grid::kMatrixInts> m_matrix{};
    int m_update = 0;
    c_LevelFields m_fields;
};

class c_SolverGame {
public:
    explicit c_SolverGame(const c_SolveSetup& setup);

    // The saved state that gives level setup.m_level its counters: the record of the level
    // before, written by the game's own saving.
    static std::string p_StateFor(const c_SolveSetup& setup);
    // The counters the game gives the level from a first start.
    static void p_StartCounters(int level, int counters[skill::kCount]);
    // The input script of these actions from a first start, ending when the level has ended.
    static std::string p_Script(const c_SolveSetup& setup, const std::vector<c_SolveAction>& actions);
    // Plays a script from a first start on this saved state, on a game of its own (none other
    // may exist meanwhile); false with the reason unless exactly one level ended, with at least
    // `home` penguins rescued and none lost.
    static bool p_Verify(const c_SolveSetup& setup, const std::string& state, const std::string& script, int home,
                         c_LevelEnd& end, std::string& error);

    // Starts the level again, and plays it with these actions up to and including the last
    // one's update; false when one of them did not reach its penguin.
    bool p_Play(const std::vector<c_SolveAction>& actions);
    // Gives one skill from where the game is: the taps start in the next update. False when the
    // action's update is too soon or the skill did not reach its penguin.
    bool p_Give(const c_SolveAction& action);
    // Starts the level again and plays these actions, giving each covered one the latest tap
    // that selects its penguin after the action before; false when there is none.
    bool p_Uncover(std::vector<c_SolveAction>& actions);
    // One more update with no input (and no picture drawn).
    void p_Step();
    // The level as it is now, and back to it. Only between whole inputs: no pointer held.
    void p_Save(c_SolverSnapshot& snapshot);
    void p_Restore(const c_SolverSnapshot& snapshot);

    const std::string& p_State() const { return m_state; }
    // Updates since the start.
    int p_Update() const { return m_update; }
    c_MyApp& p_App() { return m_runner->p_App(); }
    // The first penguin record the level has used; every record below it is all zero.
    int p_FirstRecord() const { return m_firstRecord; }
    bool p_Over();
    // The level ended (or will end) with at least `home` penguins rescued and nobody lost.
    bool p_Won(int home);
    // At least `home` penguins are rescued and the level runs on: it is won if it ends so.
    bool p_Holding(int home);
    // The level timer, in steps.
    int p_Timer();
    // Whether penguin record r can take a skill in the next update.
    bool p_CanTakeSkill(int r);
    // A virtual pixel whose tap in the next update selects penguin r: inside its tap box and
    // outside those of the records before it, which take a tap first. False when there is none.
    bool p_TapPoint(int r, int& x, int& y);
    // Taps a virtual pixel from where the game is: the pointer down for one update, then up.
    void p_Tap(int x, int y);
    // Whether penguin r stands exactly as a record before it does (every field alike).
    bool p_SameAsEarlier(int r);
    // Everything that decides the rest of the level apart from the clock, with `extra` (what the
    // search adds of its own) mixed in: the records (one that left play only by whether it got
    // home), the cells (every block alike), the counters, the selected penguin and the level's end.
    // With a quantum, positions and speeds are read only to that fraction of a cell, so that
    // nearly equal states meet.
    c_StateKey p_StateKey(uint64_t extra, float quantum = 0);
    // The cell and state of penguin r, packed, for noticing that it changed; with split > 1 its
    // column is read in that many parts a cell.
    int64_t p_PenKey(int r, int split = 1);
    // The timer reading after the update in which a level runs out of time, one step an update,
    // measured once on the game from where it is; false when that level ended otherwise first.
    bool p_OutOfTimeTimer(int& timer);

private:
    bool p_RunCommands(const c_ReplayScript& script);
    // Runs on with no input until `update`; false when the runner stopped first.
    bool p_WaitUntil(int update);
    // The virtual pixel on skill s's icon in its HUD slot.
    static void p_SlotPoint(int s, int& x, int& y);
    // Notes a record below the first one that an update brought into play (a penguin pick-up).
    void p_NoteRecords();

    c_SolveSetup m_setup;
    std::string m_state;
    std::unique_ptr<c_ReplayRunner> m_runner;
    // The runner's update after which a level text replaces the stored level; -1 for none.
    int m_rebuildAt = -1;
    int m_update = 0;
    int m_firstRecord = pen::kRecords;
    int m_outOfTime = 0;
    bool m_outOfTimeKnown = false;
    // The cells as the state last read them, and their hash: cells change seldom, and hashing
    // them all at every state met was a good part of the search's time.
    std::array<float, c_SolverSnapshot::kCells> m_cellsRead{};
    c_StateKey m_cellsKey;
    bool m_cellsKnown = false;
};

// Reads a level map file as the level packer does into the expanded level text, with these
// counters instead of the map's own; false with the file, its line and the fault.
bool vo_solver_ReadMap(const std::string& file, const int counters[skill::kCount], std::string& text, std::string& error);
