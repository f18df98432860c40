// The soak's player: what each phase presses on each screen, the inputs it holds and lets go
// of, and the checks after every command and every update.
#include "tools/soak/soak_player.h"

#include <algorithm>
#include <cmath>

#include "framework/app/key_codes.h"
#include "game/controls.h"
#include "game/globals.h"
#include "game/menu_layout.h"
#include "game/replay_log.h"

namespace {

// The actions the soak gives, in the game's order: every row of its action table but back,
// which the soak gives as pause (back is pause's inputs on the pads only).
const std::vector<const c_ActionInputs*>& Actions() {
    static const std::vector<const c_ActionInputs*> kActions = [] {
        std::vector<const c_ActionInputs*> given;
        for (const c_ActionInputs& row : vo_game_ActionTable()) {
            if (row.m_action != action::kBack) given.push_back(&row);
        }
        return given;
    }();
    return kActions;
}

const c_ActionInputs& InputsOf(int a) {
    for (const c_ActionInputs* row : Actions()) {
        if (row->m_action == a) return *row;
    }
    return *Actions().front();
}

// The back inputs, which end the program when held on the title screen with nothing open:
// pause's keys, the pad buttons of it that a script can press and its iCade entries that have
// letters.
struct BackInputs {
    std::vector<int> keys, buttons, icade;
};

const BackInputs& Back() {
    static const BackInputs kBack = [] {
        const c_ActionInputs& pause = InputsOf(action::kPause);
        BackInputs back;
        back.keys.assign(pause.m_keys.m_code, pause.m_keys.m_code + pause.m_keys.m_count);
        for (int i = 0; i < pause.m_buttons.m_count; ++i) {
            if (pause.m_buttons.m_code[i] < replay::kPadButtons) back.buttons.push_back(pause.m_buttons.m_code[i]);
        }
        for (int i = 0; i < pause.m_icade.m_count; ++i) {
            for (const c_ICadeLetters& letters : vo_game_ICadeTable()) {
                if (letters.m_entry == pause.m_icade.m_code[i]) back.icade.push_back(letters.m_entry);
            }
        }
        return back;
    }();
    return kBack;
}

// An iCade back button is let go well within the end banner's 90 updates, so that it is never
// still held when the title screen comes back.
constexpr int kLongestICadeBack = 20;

// Keys with no action, and the hot keys (F1 debug overlay, F2 HUD, F11 full screen); never F4,
// which ends the program.
constexpr int kOtherKeys[] = {'Q', 'E', 'R', 'T', 'Y', 'F', 'G', 'H', 'M', 'P', '0', '5', '9',
                              KEY_TAB, KEY_PAGEUP, KEY_HOME, KEY_F5, KEY_F12};
constexpr int kHotKeys[] = {hotkey::kDebug, hotkey::kHud, hotkey::kFullScreen};
constexpr int kPadButtons = replay::kPadButtons;
constexpr int kMouseButtons = 3;
constexpr int kFingers = 32;
constexpr int kCoordinateLimit = replay::kCoordinateLimit;

// Where the game's buttons are, in virtual pixels, so that presses find them often; the
// pointer also goes anywhere else, all from menu_layout.h.
using namespace menu_layout;
constexpr float kPauseButton = kHudPauseCorner;
constexpr float kSlotRise = kHudSlotMiddle;

// Chances in 10,000 per move of the things that happen on any screen.
constexpr int kFocusChance = 25, kResizeChance = 30, kFullScreenChance = 15, kHotKeyChance = 40;
constexpr int kChaosBackgroundFactor = 4;

// Phases: their weights and how many updates each lasts.
struct PhaseKind {
    c_SoakPhase phase;
    int weight, shortest, longest;
};
constexpr PhaseKind kPhases[] = {
    {c_SoakPhase::kRoam, 12, 300, 2000},    {c_SoakPhase::kPlay, 32, 1500, 6000},  {c_SoakPhase::kPause, 18, 400, 2500},
    {c_SoakPhase::kOptions, 14, 300, 2000}, {c_SoakPhase::kBanner, 12, 600, 3000}, {c_SoakPhase::kChaos, 12, 300, 2000},
};

constexpr const char* kPhaseNames[] = {"roam", "play", "pause", "options", "banner", "chaos"};

bool Contains(const std::vector<int>& items, int value) {
    return std::find(items.begin(), items.end(), value) != items.end();
}

template <class Items>
const auto& Pick(c_SoakRandom& random, const Items& items) {
    return items[static_cast<size_t>(random.p_Int(0, static_cast<int>(items.size()) - 1))];
}

std::string Number(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

std::string Pixel(float v) {
    return std::to_string(static_cast<int>(
        std::clamp(std::round(v), -static_cast<float>(kCoordinateLimit), static_cast<float>(kCoordinateLimit))));
}

}  // namespace

c_SoakPlayer::c_SoakPlayer(uint64_t seed, c_ReplayRunner& runner) : m_runner(runner), m_random(seed) {
    m_runner.m_onUpdate = [this](int updates) { p_AfterUpdate(updates); };
    m_runner.m_onLevelEnd = [this](const c_LevelEnd& end) {
        const int slot = c_SoakCoverage::p_EndSlot(end.m_reason);
        if (slot >= 0) ++m_coverage.m_levelEnds[slot];
    };
    m_savesSeen = m_runner.p_Game().m_host.saves;
}

bool c_SoakPlayer::p_Play(int updates) {
    m_lastUpdate = updates;
    while (m_updates < updates && m_failure.empty()) {
        if (m_updates >= m_phaseEnds) p_NextPhase();
        if (!p_Move()) break;
        const int roll = m_random.p_Int(0, 99);
        const int idle = roll < 60 ? m_random.p_Int(0, 3) : roll < 90 ? m_random.p_Int(4, 12) : m_random.p_Int(13, 60);
        if (!p_Idle(idle)) break;
    }
    p_FlushTrace();
    return m_failure.empty();
}

void c_SoakPlayer::p_NextPhase() {
    int total = 0;
    for (const PhaseKind& kind : kPhases) total += kind.weight;
    int roll = m_random.p_Int(0, total - 1);
    for (const PhaseKind& kind : kPhases) {
        if (roll < kind.weight) {
            m_phase = kind.phase;
            m_phaseEnds = m_updates + m_random.p_Int(kind.shortest, kind.longest);
            if (m_trace) {
                p_FlushTrace();
                std::fprintf(m_trace, "# %s until update %d\n", kPhaseNames[static_cast<int>(m_phase)], m_phaseEnds);
            }
            return;
        }
        roll -= kind.weight;
    }
}

// --- Commands, updates and checks ---

bool c_SoakPlayer::p_Do(const std::string& line) {
    if (!m_failure.empty()) return false;
    if (m_trace) {
        if (line == "wait 1") {
            ++m_pendingWaits;
        } else {
            p_FlushTrace();
            std::fprintf(m_trace, "%s\n", line.c_str());
        }
    }
    c_ReplayScript script;
    c_ReplayError error;
    if (!vo_replay_ParseScript(line, script, error)) {
        return p_Fail("the soak wrote a bad line '" + line + "': " + error.p_Text());
    }
    if (!m_runner.p_Run(script, error)) {
        return p_Fail("the runner could not carry out '" + line + "': " + error.p_Text());
    }
    return p_CheckSaves() && m_failure.empty();
}

void c_SoakPlayer::p_FlushTrace() {
    if (!m_trace || m_pendingWaits == 0) return;
    std::fprintf(m_trace, "wait %d\n", m_pendingWaits);
    m_pendingWaits = 0;
}

bool c_SoakPlayer::p_Fail(const std::string& what) {
    if (m_failure.empty()) {
        m_failure = what;
        m_failedAt = m_updates;
    }
    return false;
}

bool c_SoakPlayer::p_Update() {
    if (!m_focused) return p_Fail("the soak asked for an update while the window had no focus");
    // The run is over: every move stops here, with no fault.
    if (m_updates >= m_lastUpdate) return false;
    if (!p_ReleaseDue() || !p_GuardBack()) return false;
    c_MyApp& app = p_App();
    m_screenBefore = vo_soak_Screen(app);
    m_modeBefore = app.m_mode;
    m_timerBefore = app.m_player[play::kTimer];
    return p_Do("wait 1");
}

bool c_SoakPlayer::p_Idle(int updates) {
    for (int i = 0; i < updates; ++i) {
        if (!p_Update()) return false;
    }
    return true;
}

void c_SoakPlayer::p_AfterUpdate(int updates) {
    c_MyApp& app = p_App();
    m_updates = updates;
    const c_SoakScreen screen = vo_soak_Screen(app);
    const int s = static_cast<int>(screen);
    ++m_coverage.m_updates;
    ++m_coverage.m_screenUpdates[s];
    m_coverage.m_peakQueue[s] = std::max(m_coverage.m_peakQueue[s], app.m_drawCount);
    if ((m_modeBefore == screen::kTitle || app.m_mode == screen::kTitle) && vo_soak_QueueFull(app)) {
        p_Fail("the draw queue is full on the title screen (" + std::to_string(app.m_drawCount) + " of " +
               std::to_string(draw::kQueueFloats) + " floats)");
    }
    // A level begins from the title, or again from its pause panel with a full timer.
    if (app.m_mode == screen::kInLevel &&
        (m_modeBefore != screen::kInLevel || app.m_player[play::kTimer] > m_timerBefore)) {
        ++m_coverage.m_levelStarts;
    }
    if (app.m_fullScreen != m_fullScreen) {
        m_fullScreen = app.m_fullScreen;
        ++m_coverage.m_fullScreenSwitches;
    }
    if (m_onUpdate) m_onUpdate(updates);
}

bool c_SoakPlayer::p_CheckSaves() {
    const int saves = m_runner.p_Game().m_host.saves;
    if (saves == m_savesSeen) return true;
    m_savesSeen = saves;
    ++m_coverage.m_saves;
    const std::string difference = vo_soak_CheckReload(m_runner.p_State(), p_App());
    if (!difference.empty()) return p_Fail("a saved string does not reload to the values saved: " + difference);
    return true;
}

// --- Holding and letting go ---

bool c_SoakPlayer::p_GuardBack() {
    c_MyApp& app = p_App();
    if (!vo_soak_BackEndsProgram(app)) return true;
    for (int key : Back().keys) {
        if (!p_Release(Held::kKey, key, 0)) return false;
    }
    for (int pad = 0; pad < action::kPads; ++pad) {
        for (int button : Back().buttons) {
            if (!p_Release(Held::kPadButton, pad, button)) return false;
        }
    }
    for (int entry : Back().icade) {
        if (app.m_pad[entry] != 0) return p_Fail("the soak left an iCade back button held into the title screen");
    }
    return true;
}

bool c_SoakPlayer::p_ReleaseDue() {
    // Releasing runs commands, which may schedule nothing; take the due ones out first.
    std::vector<Release> due;
    auto split = std::stable_partition(m_releases.begin(), m_releases.end(),
                                       [this](const Release& r) { return r.at > m_updates; });
    due.assign(split, m_releases.end());
    m_releases.erase(split, m_releases.end());
    for (const Release& r : due) {
        if (!p_Release(r.kind, r.a, r.b)) return false;
    }
    return true;
}

bool c_SoakPlayer::p_IsHeld(Held kind, int a, int b) const {
    switch (kind) {
        case Held::kKey: return std::find(m_keys.begin(), m_keys.end(), a) != m_keys.end();
        case Held::kMouse: return m_mouse[a];
        case Held::kFinger: return std::find(m_fingers.begin(), m_fingers.end(), a) != m_fingers.end();
        case Held::kPadButton: return m_pad[a][b];
        case Held::kStick: return m_sticks[a][b];
        case Held::kICade: return std::find(m_icade.begin(), m_icade.end(), a) != m_icade.end();
    }
    return false;
}

bool c_SoakPlayer::p_Release(Held kind, int a, int b) {
    if (!p_IsHeld(kind, a, b)) return true;
    auto drop = [](std::vector<int>& held, int value) { held.erase(std::find(held.begin(), held.end(), value)); };
    switch (kind) {
        case Held::kKey: drop(m_keys, a); return p_Do("key up " + std::to_string(a));
        case Held::kMouse: m_mouse[a] = false; return p_Do("pointer up " + std::to_string(a));
        case Held::kFinger: drop(m_fingers, a); return p_Do("touch up " + std::to_string(a));
        case Held::kPadButton:
            m_pad[a][b] = false;
            return p_Do("pad up " + std::to_string(a) + " " + std::to_string(b));
        case Held::kStick:
            m_sticks[a][b] = false;
            return p_Do("pad stick " + std::to_string(a) + " " + std::to_string(b) + " 0 0");
        case Held::kICade:
            drop(m_icade, a);
            for (const c_ICadeLetters& letters : vo_game_ICadeTable()) {
                if (letters.m_entry == a) return p_Do("char " + std::to_string(static_cast<int>(letters.m_release)));
            }
            return true;
    }
    return true;
}

bool c_SoakPlayer::p_ReleaseAll(bool padsToo) {
    while (!m_keys.empty()) {
        if (!p_Release(Held::kKey, m_keys.back(), 0)) return false;
    }
    for (int b = 0; b < kMouseButtons; ++b) {
        if (!p_Release(Held::kMouse, b, 0)) return false;
    }
    while (!m_fingers.empty()) {
        if (!p_Release(Held::kFinger, m_fingers.back(), 0)) return false;
    }
    // The game lets go of the iCade's buttons itself when it loses the focus.
    m_icade.clear();
    if (padsToo) {
        for (int pad = 0; pad < action::kPads; ++pad) {
            for (int b = 0; b < kPadButtons; ++b) {
                if (!p_Release(Held::kPadButton, pad, b)) return false;
            }
            for (int s = 0; s < 2; ++s) {
                if (!p_Release(Held::kStick, pad, s)) return false;
            }
        }
    }
    std::erase_if(m_releases, [padsToo](const Release& r) {
        return padsToo || (r.kind != Held::kPadButton && r.kind != Held::kStick);
    });
    return true;
}

void c_SoakPlayer::p_Schedule(Held kind, int a, int b, int hold) {
    m_releases.push_back({m_updates + hold, kind, a, b});
}

// --- Inputs ---

bool c_SoakPlayer::p_Key(int code, int hold) {
    if (p_IsHeld(Held::kKey, code, 0)) return true;
    if (Contains(Back().keys, code) && vo_soak_BackEndsProgram(p_App())) return true;
    m_keys.push_back(code);
    p_Schedule(Held::kKey, code, 0, hold);
    return p_Do("key down " + std::to_string(code));
}

bool c_SoakPlayer::p_PadButton(int pad, int button, int hold) {
    if (p_IsHeld(Held::kPadButton, pad, button)) return true;
    if (Contains(Back().buttons, button) && vo_soak_BackEndsProgram(p_App())) return true;
    m_pad[pad][button] = true;
    p_Schedule(Held::kPadButton, pad, button, hold);
    return p_Do("pad down " + std::to_string(pad) + " " + std::to_string(button));
}

bool c_SoakPlayer::p_Stick(int pad, int stick, float x, float y, int hold) {
    m_sticks[pad][stick] = true;
    p_Schedule(Held::kStick, pad, stick, hold);
    return p_Do("pad stick " + std::to_string(pad) + " " + std::to_string(stick) + " " + Number(x) + " " + Number(y));
}

bool c_SoakPlayer::p_Click(float x, float y, int button, int hold) {
    if (m_mouse[button]) return true;
    m_mouse[button] = true;
    p_Schedule(Held::kMouse, button, 0, hold);
    return p_Do("pointer down " + Pixel(x) + " " + Pixel(y) + " " + std::to_string(button));
}

bool c_SoakPlayer::p_Drag(float x0, float y0, float x1, float y1, int steps) {
    if (m_mouse[0]) return true;
    m_mouse[0] = true;
    if (!p_Do("pointer down " + Pixel(x0) + " " + Pixel(y0))) return false;
    for (int i = 1; i <= steps; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(steps);
        if (!p_Update() || !p_Do("pointer move " + Pixel(x0 + (x1 - x0) * t) + " " + Pixel(y0 + (y1 - y0) * t))) {
            return false;
        }
    }
    return p_Update() && p_Release(Held::kMouse, 0, 0);
}

bool c_SoakPlayer::p_Touch(int finger, float x, float y, int hold) {
    if (p_IsHeld(Held::kFinger, finger, 0)) return true;
    m_fingers.push_back(finger);
    p_Schedule(Held::kFinger, finger, 0, hold);
    return p_Do("touch down " + std::to_string(finger) + " " + Pixel(x) + " " + Pixel(y));
}

bool c_SoakPlayer::p_TouchDrag(int finger, float x0, float y0, float x1, float y1, int steps) {
    if (p_IsHeld(Held::kFinger, finger, 0)) return true;
    m_fingers.push_back(finger);
    if (!p_Do("touch down " + std::to_string(finger) + " " + Pixel(x0) + " " + Pixel(y0))) return false;
    for (int i = 1; i <= steps; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(steps);
        if (!p_Update() || !p_Do("touch move " + std::to_string(finger) + " " + Pixel(x0 + (x1 - x0) * t) + " " +
                                 Pixel(y0 + (y1 - y0) * t))) {
            return false;
        }
    }
    return p_Update() && p_Release(Held::kFinger, finger, 0);
}

bool c_SoakPlayer::p_Char(int code) { return p_Do("char " + std::to_string(code)); }

bool c_SoakPlayer::p_ICade(int entry, int hold) {
    const c_ICadeLetters* letters = nullptr;
    for (const c_ICadeLetters& l : vo_game_ICadeTable()) {
        if (l.m_entry == entry) letters = &l;
    }
    if (!letters || p_IsHeld(Held::kICade, entry, 0)) return true;
    if (Contains(Back().icade, entry)) {
        if (vo_soak_Screen(p_App()) != c_SoakScreen::kLevel) return true;
        hold = std::min(hold, kLongestICadeBack);
    }
    m_icade.push_back(entry);
    p_Schedule(Held::kICade, entry, 0, hold);
    // The cabinet types upper case; a keyboard standing in for it may type either.
    const int press = m_random.p_Percent(80) ? letters->m_press : letters->m_press + ('a' - 'A');
    return p_Char(press);
}

bool c_SoakPlayer::p_Action(int a, int hold) {
    const c_ActionInputs& in = InputsOf(a == action::kBack ? action::kPause : a);
    const c_StickDirection stick = in.m_stick;
    const int roll = m_random.p_Int(0, 99);
    if (iCadeControls == 1 && roll < 25) return p_ICade(in.m_icade.m_code[0], hold);
    if (roll < 60 || (stick.m_x == 0 && stick.m_y == 0 && roll >= 85)) {
        return p_Key(in.m_keys.m_code[m_random.p_Int(0, in.m_keys.m_count - 1)], hold);
    }
    // The title's keys read pad 0 only; the others read every pad.
    const int pad = m_random.p_Percent(70) ? 0 : m_random.p_Int(1, action::kPads - 1);
    if (roll < 85) {
        const int button = in.m_action == action::kPause ? Pick(m_random, Back().buttons) : in.m_buttons.m_code[0];
        return p_PadButton(pad, button, hold);
    }
    if (m_sticks[pad][0]) return true;
    const float push = m_random.p_Float(0.5f, 1.0f);
    return p_Stick(pad, 0, static_cast<float>(stick.m_x) * push, static_cast<float>(stick.m_y) * push, hold);
}

bool c_SoakPlayer::p_Resize() {
    if (m_fullScreen == 1) return true;
    struct Size {
        int w, h;
    };
    static constexpr Size kSizes[] = {{640, 480}, {800, 600},   {1024, 768}, {1280, 720},  {1920, 1080},
                                      {320, 240}, {480, 800},   {1, 1},      {2560, 1440}, {100, 700},
                                      {700, 100}, {3840, 2160}, {2, 3000}};
    Size size = m_random.p_Pick(kSizes);
    if (m_random.p_Percent(50)) size = {m_random.p_Int(1, 2600), m_random.p_Int(1, 1600)};
    VoScriptedWindowSystem& ws = m_runner.p_Game().m_ws;
    ws.width = size.w;
    ws.height = size.h;
    ++m_coverage.m_resizes;
    if (m_trace) {
        p_FlushTrace();
        std::fprintf(m_trace, "# the window becomes %d x %d\n", size.w, size.h);
    }
    return true;
}

bool c_SoakPlayer::p_FocusAway() {
    // The window system lets go of the keys and buttons held when the window loses the focus.
    if (!p_ReleaseAll(false) || !p_Do("focus off")) return false;
    m_focused = false;
    ++m_coverage.m_focusLosses;
    if (m_random.p_Percent(30) && !p_Resize()) return false;
    if (m_random.p_Percent(30) && !p_Do("pointer move " + Pixel(m_random.p_Float(-100, jscrw + 100)) + " " +
                                        Pixel(m_random.p_Float(-100, jscrh + 100)))) {
        return false;
    }
    m_focused = true;
    return p_Do("focus on");
}

// --- Moves ---

bool c_SoakPlayer::p_Move() {
    if (!p_Background()) return false;
    if (m_phase == c_SoakPhase::kChaos && m_random.p_Percent(70)) return p_ChaosMove();
    switch (vo_soak_Screen(p_App())) {
        case c_SoakScreen::kTitle: return p_TitleMove();
        case c_SoakScreen::kCredits: return p_CreditsMove();
        case c_SoakScreen::kTitleOptions:
        case c_SoakScreen::kPauseOptions: return p_OptionsMove();
        case c_SoakScreen::kLevel: return p_LevelMove();
        case c_SoakScreen::kPause: return p_PauseMove();
        case c_SoakScreen::kLoading:
        case c_SoakScreen::kBanner: return m_random.p_Percent(15) ? p_ChaosMove() : p_Idle(m_random.p_Int(1, 20));
    }
    return true;
}

bool c_SoakPlayer::p_Background() {
    const int factor = m_phase == c_SoakPhase::kChaos ? kChaosBackgroundFactor : 1;
    auto chance = [&](int in10000) { return m_random.p_Int(0, 9999) < in10000 * factor; };
    if (chance(kFocusChance) && !p_FocusAway()) return false;
    if (chance(kResizeChance) && !p_Resize()) return false;
    if (chance(kFullScreenChance) && !p_Key(hotkey::kFullScreen, m_random.p_Int(1, 4))) return false;
    if (chance(kHotKeyChance) && !p_Key(m_random.p_Percent(50) ? hotkey::kDebug : hotkey::kHud, m_random.p_Int(1, 4))) {
        return false;
    }
    return true;
}

bool c_SoakPlayer::p_TitleMove() {
    c_MyApp& app = p_App();
    const float w = jscrw, h = jscrh;
    const float wheelX = w - (app.m_creditsX + kStripWidth) - kWheelFromStrip, wheelY = h / 2 + kWheelBelowMiddle;
    const int roll = m_random.p_Int(0, 99);
    switch (m_phase) {
        case c_SoakPhase::kPlay:
        case c_SoakPhase::kPause:
        case c_SoakPhase::kBanner:
            // Into a level: the wheel's focus, an open level, then any of the ways to start it.
            if (app.m_menuCursor != menu::kWheelFocus) {
                return p_Tap(app.m_menuCursor < menu::kWheelFocus ? action::kRight : action::kLeft);
            }
            if (app.p_LevelOpen(app.m_levelSel) == 0) return p_Tap(action::kUp);
            if (roll < 15) {
                return p_Do("start " + std::to_string(m_random.p_Int(1, progress::kLevels)) + " " +
                            std::to_string(m_random.p_Int(1, pen::kRecords)));
            }
            if (roll < 30) return p_Click(w - kStripWidth / 2, h - kPlayRise, 0, m_random.p_Int(1, 6));
            if (roll < 40) return p_Touch(m_random.p_Int(0, 9), wheelX, wheelY, m_random.p_Int(1, 6));
            return p_Tap(m_random.p_Percent(70)   ? action::kUse
                         : m_random.p_Percent(50) ? action::kSpeedUp
                                                  : action::kButton2);
        case c_SoakPhase::kOptions:
            if (roll < 40) return p_Click(kTitleGearX, h - kTitleGearRise, 0, m_random.p_Int(1, 6));
            if (app.m_menuCursor != menu::kOptionsFocus) return p_Tap(action::kLeft);
            return p_Tap(action::kUse);
        default: break;
    }
    // Looking around: the wheel by keys and drags, the strip, the focus, presses anywhere.
    static constexpr int kDirections[] = {action::kUp, action::kDown, action::kLeft, action::kRight};
    if (roll < 35) return p_Tap(m_random.p_Pick(kDirections));
    if (roll < 45) return p_Tap(action::kUse);
    if (roll < 65) {
        const float x = wheelX + m_random.p_Float(-150, 150), y = wheelY + m_random.p_Float(-150, 150);
        return p_Drag(x, y, x + m_random.p_Float(-250, 250), y + m_random.p_Float(-250, 250), m_random.p_Int(1, 30));
    }
    if (roll < 75) return p_Click(m_random.p_Float(0, w), m_random.p_Float(0, h), 0, m_random.p_Int(1, 10));
    if (roll < 82) return p_Click(w - kStripWidth / 2, m_random.p_Float(0, h), 0, m_random.p_Int(1, 6));
    if (roll < 90) {
        return p_Touch(m_random.p_Int(0, 12), m_random.p_Float(0, w), m_random.p_Float(0, h), m_random.p_Int(1, 10));
    }
    return p_Stick(0, 0, m_random.p_Float(-1, 1), m_random.p_Float(-1, 1), m_random.p_Int(1, 40));
}

bool c_SoakPlayer::p_CreditsMove() {
    const bool stay = m_phase == c_SoakPhase::kRoam && m_random.p_Percent(80);
    static constexpr int kHurry[] = {action::kUp, action::kDown, action::kLeft, action::kRight, action::kPrevSkill};
    if (stay) return m_random.p_Percent(70) ? p_Tap(m_random.p_Pick(kHurry)) : p_Idle(m_random.p_Int(10, 90));
    const int roll = m_random.p_Int(0, 99);
    if (roll < 40) return p_Tap(action::kUse);
    if (roll < 70) return p_Tap(action::kPause);
    return p_Click(jscrw / 2, jscrh / 2, 0, m_random.p_Int(1, 6));
}

bool c_SoakPlayer::p_OptionsMove() {
    c_MyApp& app = p_App();
    const float top = kOptionsSlidePixels * static_cast<float>(kOptionsSlideOpen - app.m_optionsSlide);
    const int roll = m_random.p_Int(0, 99);
    const bool stay =
        m_phase == c_SoakPhase::kOptions || m_phase == c_SoakPhase::kRoam || m_phase == c_SoakPhase::kChaos;
    if (!stay) {
        if (roll < 50) return p_Tap(action::kPause);
        if (roll < 75) return p_Tap(app.m_optCursor != menu::kBackRow ? action::kUp : action::kUse);
        return p_Click(kOptionsGearX, kOptionsGearY, 0, m_random.p_Int(1, 6));
    }
    if (roll < 35) return p_Tap(m_random.p_Percent(50) ? action::kUp : action::kDown);
    if (roll < 55) return p_Tap(m_random.p_Percent(80) ? action::kUse : action::kNextSkill);
    if (roll < 60) return p_Tap(action::kPause);
    if (roll < 80) {
        const int row = m_random.p_Int(menu::kSoundRow, menu::kWindowRow);
        const float y = top + kOptionsFirstRow + kOptionsRowGap * static_cast<float>(row - menu::kSoundRow);
        const float x = m_random.p_Float(kOptionsRowInset, jscrw - kOptionsRowInset);
        return m_random.p_Percent(70) ? p_Click(x, y, 0, m_random.p_Int(1, 8))
                                      : p_Touch(m_random.p_Int(0, 9), x, y, m_random.p_Int(1, 8));
    }
    if (roll < 85) return p_Click(kOptionsGearX, kOptionsGearY, 0, m_random.p_Int(1, 6));
    return p_Click(m_random.p_Float(0, jscrw), m_random.p_Float(0, jscrh), m_random.p_Int(0, 2), m_random.p_Int(1, 10));
}

bool c_SoakPlayer::p_LevelMove() {
    auto pause = [this] {
        return m_random.p_Percent(60) ? p_Tap(action::kPause)
                                      : p_Click(kPauseButton, kPauseButton, 0, m_random.p_Int(1, 6));
    };
    switch (m_phase) {
        case c_SoakPhase::kPause:
        case c_SoakPhase::kOptions: return m_random.p_Percent(70) ? pause() : p_PlayMove();
        case c_SoakPhase::kBanner:
            if (m_random.p_Percent(30)) return pause();
            // The clock runs out faster with the level sped up.
            return m_random.p_Percent(50) ? p_Action(action::kSpeedUp, m_random.p_Int(60, 400)) : p_PlayMove();
        default: return p_PlayMove();
    }
}

bool c_SoakPlayer::p_PlayMove() {
    const float w = jscrw, h = jscrh;
    const int roll = m_random.p_Int(0, 99);
    if (roll < 18) return p_Tap(m_random.p_Percent(50) ? action::kLeft : action::kRight);
    if (roll < 26) return p_Tap(m_random.p_Percent(50) ? action::kPrevSkill : action::kNextSkill);
    if (roll < 30) {
        return p_Stick(m_random.p_Int(0, 1), 1, m_random.p_Float(-1, 1), m_random.p_Float(-1, 1),
                       m_random.p_Int(2, 30));
    }
    if (roll < 48) return p_Tap(action::kUse);
    if (roll < 56) return p_Action(action::kSpeedUp, m_random.p_Int(20, 300));
    if (roll < 68) {
        return p_Click(m_random.p_Float(0, w), m_random.p_Float(0, h - 2 * kSlotRise), 0, m_random.p_Int(1, 6));
    }
    if (roll < 74) {
        const float x = (static_cast<float>(m_random.p_Int(0, skill::kCount - 1)) + 0.5f) * w / skill::kCount;
        return m_random.p_Percent(60) ? p_Click(x, h - kSlotRise, 0, m_random.p_Int(1, 6))
                                      : p_Touch(m_random.p_Int(0, 9), x, h - kSlotRise, m_random.p_Int(1, 6));
    }
    if (roll < 80) {
        static constexpr int kOthers[] = {action::kButton2, action::kButton3, action::kUp, action::kDown};
        return p_Tap(m_random.p_Pick(kOthers));
    }
    if (roll < 86) return p_Stick(0, 0, m_random.p_Float(-1, 1), m_random.p_Float(-1, 1), m_random.p_Int(5, 60));
    if (roll < 92) {
        const int fingers = m_random.p_Int(1, 3);
        for (int f = 0; f < fingers; ++f) {
            if (!p_Touch(m_random.p_Int(0, 12), m_random.p_Float(0, w), m_random.p_Float(0, h), m_random.p_Int(1, 20))) {
                return false;
            }
        }
        return true;
    }
    return p_Idle(m_random.p_Int(20, 120));
}

bool c_SoakPlayer::p_PauseMove() {
    c_MyApp& app = p_App();
    const float open = std::trunc(jscrh * kPauseOpenAt);
    const float panelY = kPausePanelTravel * static_cast<float>(app.m_pauseY) - open;
    // Rows from the top: quit, restart, continue, options; the item numbers run from quit (-2).
    auto clickItem = [&](int item) {
        const float y = panelY - kPauseFirstRowRise + kPauseRowGap * static_cast<float>(item - menu::kQuitItem);
        const float x = jscrw / 2 + m_random.p_Float(-kPauseRowHalfWidth + 2, kPauseRowHalfWidth - 2);
        return m_random.p_Percent(70) ? p_Click(x, y, 0, m_random.p_Int(1, 6))
                                      : p_Touch(m_random.p_Int(0, 9), x, y, m_random.p_Int(1, 6));
    };
    // Moves the key cursor towards an item, or takes it once there.
    auto choose = [&](int item) {
        if (m_random.p_Percent(30)) return clickItem(item);
        if (app.m_pauseCursor == item) return p_Tap(action::kUse);
        return p_Tap(app.m_pauseCursor < item ? action::kDown : action::kUp);
    };
    const int roll = m_random.p_Int(0, 99);
    switch (m_phase) {
        case c_SoakPhase::kOptions: return choose(menu::kOptionsItem);
        case c_SoakPhase::kBanner: return choose(menu::kQuitItem);
        case c_SoakPhase::kPlay: return roll < 50 ? p_Tap(action::kPause) : choose(menu::kContinueItem);
        default: break;
    }
    if (roll < 35) return p_Tap(m_random.p_Percent(50) ? action::kUp : action::kDown);
    if (roll < 50) return p_Tap(action::kUse);
    if (roll < 60) return p_Tap(action::kPause);
    if (roll < 85) {
        static constexpr int kItems[] = {menu::kContinueItem, menu::kContinueItem, menu::kOptionsItem,
                                         menu::kRestartItem,  menu::kQuitItem,     menu::kOptionsItem};
        return clickItem(m_random.p_Pick(kItems));
    }
    return p_Idle(m_random.p_Int(5, 40));
}

bool c_SoakPlayer::p_ChaosMove() {
    const float w = jscrw, h = jscrh;
    auto anywhere = [&](float margin) { return m_random.p_Float(-margin, std::max(w, h) + margin); };
    switch (m_random.p_Int(0, 11)) {
        case 0: return p_Action(Pick(m_random, Actions())->m_action, m_random.p_Int(1, 30));
        case 1: return p_Key(Pick(m_random, Actions())->m_keys.m_code[0], m_random.p_Int(1, 30));
        case 2:
            return p_Key(m_random.p_Percent(80) ? m_random.p_Pick(kOtherKeys) : m_random.p_Pick(kHotKeys),
                         m_random.p_Int(1, 10));
        case 3:
            return p_PadButton(m_random.p_Int(0, action::kPads - 1), m_random.p_Int(0, kPadButtons - 1),
                               m_random.p_Int(1, 30));
        case 4:
            return p_Stick(m_random.p_Int(0, action::kPads - 1), m_random.p_Int(0, 1), m_random.p_Float(-1, 1),
                           m_random.p_Float(-1, 1), m_random.p_Int(1, 60));
        case 5: {
            // Now and then far off the screen, where no window pixel is.
            const float margin = m_random.p_Percent(10) ? static_cast<float>(kCoordinateLimit) : 50;
            return p_Click(anywhere(margin), anywhere(margin), m_random.p_Int(0, kMouseButtons - 1),
                           m_random.p_Int(1, 30));
        }
        case 6: return p_Drag(anywhere(20), anywhere(20), anywhere(20), anywhere(20), m_random.p_Int(1, 40));
        case 7: return p_Touch(m_random.p_Int(0, kFingers - 1), anywhere(20), anywhere(20), m_random.p_Int(1, 30));
        case 8:
            return p_TouchDrag(m_random.p_Int(0, kFingers - 1), anywhere(20), anywhere(20), anywhere(20), anywhere(20),
                               m_random.p_Int(1, 30));
        case 9: return p_ICade(Pick(m_random, vo_game_ICadeTable()).m_entry, m_random.p_Int(1, 30));
        case 10: {
            // Typed text beyond the iCade's letters: any character outside the surrogates.
            int code = m_random.p_Percent(70) ? m_random.p_Int(32, 126) : m_random.p_Int(0x80, 0x10FFFF);
            if (code >= 0xD800 && code <= 0xDFFF) code = 0xFFFD;
            return p_Char(code);
        }
        default: return p_Idle(m_random.p_Int(1, 30));
    }
}
