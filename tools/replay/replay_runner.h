// The replay runner: plays an input script on the headless game, one update per pass with the
// clock a sixtieth of a second on each time, so that the same script and saved state always
// give the same game; and reports the end of every level.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "game/defs.h"
#include "tools/replay/headless_game.h"
#include "tools/replay/replay_script.h"
#include "tools/replay/shown_window.h"

// A level as the game recorded it on the way back to the title.
struct c_LevelEnd {
    int m_level = 0;
    // ending:: in game/defs.h.
    int m_reason = 0;
    int m_rescued = 0;
    // The skill counters left, which the level record keeps for the next level.
    int m_counters[play::kCarriedCounters] = {};
    int m_score = 0;
    // Updates run when the game recorded it.
    int m_update = 0;
};

// "level L reason R rescued N counters C0 ... C7 score S update U".
std::string vo_replay_FormatLevelEnd(const c_LevelEnd& end);

class c_ReplayRunner {
public:
    // Starts the game on this saved state ("" for a first start). One runner at a time. With a
    // view, the game is also drawn into a real window and plays at its own speed, sixty updates
    // a second, until the script ends or the window is closed. Without a sound device, see
    // c_HeadlessGame.
    explicit c_ReplayRunner(const std::string& state = std::string(), const c_HeadlessView* view = nullptr,
                            bool soundDevice = true);

    // Plays a script read by vo_replay_ParseScript on from where the game is. False when a line
    // cannot be carried out (an `until` that did not come true in time, an `at` already past,
    // updates asked for while the window has no focus), with that line's error.
    bool p_Run(const c_ReplayScript& script, c_ReplayError& error);

    const std::vector<c_LevelEnd>& p_LevelEnds() const { return m_levelEnds; }
    int p_Updates() const { return m_updates; }
    // The saved state as the game last wrote it, or as it was given.
    const std::string& p_State() const { return m_game.m_host.state; }
    // Whether the game has written its saved state since it started.
    bool p_Saved() const { return m_game.m_host.saves > 0; }
    c_HeadlessGame& p_Game() { return m_game; }
    c_MyApp& p_App() { return *m_game.m_app; }

    // False: an update with no input before it is not drawn first. The picture only draws and
    // fits the window, which nothing but a `window` line changes, so the game plays the same.
    bool m_drawAll = true;
    // Called after every update with the number of updates run, and at every level end.
    std::function<void(int)> m_onUpdate;
    std::function<void(const c_LevelEnd&)> m_onLevelEnd;

private:
    bool p_Command(const c_ReplayCommand& command, c_ReplayError& error);
    // Runs updates until the condition holds; false when it still does not after `most`.
    bool p_RunUntil(const c_ReplayCommand& command, c_ReplayError& error);
    bool p_Holds(const c_ReplayCommand& command, int endsBefore);
    // `title`: waits for the title to take keys, then turns the wheel to the level and confirms.
    bool p_Title(const c_ReplayCommand& command, c_ReplayError& error);
    // A key pressed for one update, then an update with it let go, so that the next key counts.
    // `start`: once the loader is idle, the level asked to start, as the title screen does.
    bool p_StartLevel(const c_ReplayCommand& command, c_ReplayError& error);
    // `enter`: the level started, the record of the level before written, the level built.
    bool p_Enter(const c_ReplayCommand& command, c_ReplayError& error);
    bool p_ExpectEnd(const c_ReplayCommand& command, c_ReplayError& error);
    bool p_TapAndRelease(int code, const c_ReplayCommand& command, c_ReplayError& error);
    bool p_Expect(const c_ReplayCommand& command, c_ReplayError& error);
    // The render of the next pass, once: events then see the scale that update will read them with.
    void p_Prepare();
    // One update, or false while the window has no focus, when the host runs none.
    bool p_Advance(const c_ReplayCommand& command, c_ReplayError& error);
    void p_Step();
    // Shown: waits for the update's turn at sixty a second.
    void p_Pace();
    void p_Key(int code, int action);
    // The window pixel the game reads back as this virtual pixel.
    float p_WindowX(float x);
    float p_WindowY(float y);
    void p_PointerTo(float x, float y);
    // Marks pads 0 to pad present, so that the host's port table puts each at its own number.
    void p_Plug(int pad);

    // The null table comes first: it stands in for the driver until the game is torn down. A
    // shown game draws through the driver itself.
    std::optional<VoNullGl> m_gl;
    c_HeadlessGame m_game;
    VoShownWindowSystem* m_shown = nullptr;
    // Shown: when the pacing began, and the updates run since.
    std::chrono::steady_clock::time_point m_paceStart;
    int m_paced = 0;
    std::vector<c_LevelEnd> m_levelEnds;
    int m_updates = 0;
    bool m_prepared = false;
    // Whether the game has been drawn at the window's present size.
    bool m_fitted = false;
};
