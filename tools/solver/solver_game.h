// One level played for the solver on the replay runner's headless game: restarting it, giving
// skills by the pointer as a player would, and reading the penguins back after every update.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/defs.h"
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
// The pointer taps the penguin (when it is not selected already) three updates before, at
// m_tapX, m_tapY, and the skill's HUD slot the update before.
struct c_SolveAction {
    int m_update = 0;
    int m_penguin = 0;
    int m_skill = 0;
    bool m_tap = false;
    int m_tapX = 0, m_tapY = 0;
};

// Updates a tap and a slot take before the skill acts, and with the slot alone.
constexpr int kTapLead = 3;
constexpr int kSlotLead = 1;

// Everything a level in play carries from one update to the next that the rules read: the
// penguins, the play state, the level's cells (with their border), and the game object's level
// fields (the level's end, the input latches). Particles, sounds and the picture are left out:
// nothing the penguins do reads them.
struct c_SolverSnapshot {
    static constexpr int kCells = (grid::kRows + 2) * (grid::kCols + 2);
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
    // may exist meanwhile); false with the reason unless exactly one level ended, with a penguin
    // rescued and none lost.
    static bool p_Verify(const c_SolveSetup& setup, const std::string& state, const std::string& script,
                         c_LevelEnd& end, std::string& error);

    // Starts the level again, and plays it with these actions up to and including the last
    // one's update; false when one of them did not reach its penguin.
    bool p_Play(const std::vector<c_SolveAction>& actions);
    // Gives one skill from where the game is: the taps start in the next update. False when the
    // action's update is too soon or the skill did not reach its penguin.
    bool p_Give(const c_SolveAction& action);
    // One more update with no input (and no picture drawn).
    void p_Step();
    // The level as it is now, and back to it. Only between whole inputs: no pointer held.
    void p_Save(c_SolverSnapshot& snapshot);
    void p_Restore(const c_SolverSnapshot& snapshot);

    const std::string& p_State() const { return m_state; }
    // Updates since the start.
    int p_Update() const { return m_update; }
    c_MyApp& p_App() { return m_runner->p_App(); }
    bool p_Over();
    // The level ended (or will end) with a penguin rescued and nobody lost.
    bool p_Won();
    // Whether penguin record r can take a skill in the next update.
    bool p_CanTakeSkill(int r);
    // The virtual pixel that taps penguin r in the next update.
    void p_TapPoint(int r, int& x, int& y);
    // Everything that decides the rest of the level, apart from the clock (the selected penguin
    // included, which decides how soon a skill reaches another); with a quantum,
    // positions and speeds are read only to that fraction of a cell, so that nearly equal
    // states meet.
    uint64_t p_StateHash(float quantum = 0);
    // The cell and state of penguin r, packed, for noticing that it changed; with split > 1 its
    // column is read in that many parts a cell.
    int64_t p_PenKey(int r, int split = 1);

private:
    bool p_Run(const std::string& line);
    // The virtual pixel on skill s's icon in its HUD slot.
    static void p_SlotPoint(int s, int& x, int& y);

    c_SolveSetup m_setup;
    std::string m_state;
    std::unique_ptr<c_ReplayRunner> m_runner;
    // The runner's update after which a level text replaces the stored level; -1 for none.
    int m_rebuildAt = -1;
    int m_update = 0;
};

// Reads a level map file as the level packer does into the expanded level text, with these
// counters instead of the map's own; false with the file, its line and the fault.
bool vo_solver_ReadMap(const std::string& file, const int counters[skill::kCount], std::string& text, std::string& error);
