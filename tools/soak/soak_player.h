// The soak's player: a seeded random stream of input played on the headless game through the
// replay runner, in phases that each steer the game somewhere (into levels, the pause panel,
// the options box, an end banner) or simply press anything. After every command it checks the
// game: no save that fails to reload, no full draw queue on the title screen.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tools/replay/replay_runner.h"
#include "tools/soak/soak_checks.h"
#include "tools/soak/soak_random.h"

enum class c_SoakPhase : int { kRoam, kPlay, kPause, kOptions, kBanner, kChaos };

class c_SoakPlayer {
public:
    // Plays on this runner's game, which must have run no update yet.
    c_SoakPlayer(uint64_t seed, c_ReplayRunner& runner);

    // Plays until the game has run exactly `updates` updates in all. False at the first fault, with
    // m_failure saying what it was and m_failedAt the update it showed after.
    bool p_Play(int updates);

    c_SoakCoverage m_coverage;
    std::string m_failure;
    int m_failedAt = 0;
    // When set, every command is written here as an input script (waits run together; window
    // sizes, which scripts cannot give, as comments).
    std::FILE* m_trace = nullptr;
    // Called after every update with the number run.
    std::function<void(int)> m_onUpdate;

private:
    // An input held down, let go by p_Release.
    enum class Held { kKey, kMouse, kFinger, kPadButton, kStick, kICade };
    struct Release {
        int at;
        Held kind;
        int a, b;
    };

    // One command line through the script reader and the runner, then the save check.
    bool p_Do(const std::string& line);
    // One update: the releases due, the back guard, the update and its checks.
    bool p_Update();
    bool p_Idle(int updates);
    void p_AfterUpdate(int updates);
    bool p_CheckSaves();
    bool p_Fail(const std::string& what);
    void p_FlushTrace();

    // Let go of back keys and buttons wherever a held one would end the program.
    bool p_GuardBack();
    bool p_ReleaseDue();
    bool p_Release(Held kind, int a, int b);
    bool p_ReleaseAll(bool padsToo);
    bool p_IsHeld(Held kind, int a, int b) const;
    void p_Schedule(Held kind, int a, int b, int hold);

    // Inputs. Each is skipped when the input is already held.
    bool p_Key(int code, int hold);
    bool p_PadButton(int pad, int button, int hold);
    bool p_Stick(int pad, int stick, float x, float y, int hold);
    bool p_Click(float x, float y, int button, int hold);
    bool p_Drag(float x0, float y0, float x1, float y1, int steps);
    bool p_Touch(int finger, float x, float y, int hold);
    bool p_TouchDrag(int finger, float x0, float y0, float x1, float y1, int steps);
    bool p_Char(int code);
    // An iCade button pressed by its letter and let go by its other letter.
    bool p_ICade(int entry, int hold);
    // One of the game's numbered actions by any input that gives it: a key, a pad button, the
    // left stick or (with the iCade on) the iCade.
    bool p_Action(int action, int hold);
    bool p_Tap(int action) { return p_Action(action, m_random.p_Int(1, 8)); }
    bool p_Resize();
    bool p_FocusAway();

    // The moves of each screen, by phase.
    bool p_Move();
    bool p_Background();
    bool p_TitleMove();
    bool p_CreditsMove();
    bool p_OptionsMove();
    bool p_LevelMove();
    bool p_PlayMove();
    bool p_PauseMove();
    bool p_ChaosMove();
    void p_NextPhase();

    c_MyApp& p_App() { return m_runner.p_App(); }
    c_ReplayRunner& m_runner;
    c_SoakRandom m_random;
    c_SoakPhase m_phase = c_SoakPhase::kPlay;
    int m_phaseEnds = 0;
    int m_updates = 0;
    int m_lastUpdate = 0;
    int m_savesSeen = 0;
    int m_fullScreen = 0;
    bool m_focused = true;
    c_SoakScreen m_screenBefore = c_SoakScreen::kLoading;
    int m_modeBefore = 0;
    float m_timerBefore = 0;
    std::vector<int> m_keys;
    bool m_mouse[3] = {};
    std::vector<int> m_fingers;
    bool m_pad[action::kPads][14] = {};
    bool m_sticks[action::kPads][2] = {};
    std::vector<int> m_icade;
    std::vector<Release> m_releases;
    int m_pendingWaits = 0;
};
