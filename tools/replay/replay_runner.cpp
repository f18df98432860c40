// Playing a script: events through the host's own window callbacks between a render and its
// update, pads as a window system reports them, and the level ends read off the screen driver.
#include "tools/replay/replay_runner.h"

#include <algorithm>
#include <thread>

#include "framework/app/app.h"
#include "framework/app/key_codes.h"
#include "game/globals.h"

namespace {

// A pad of 14 buttons and 5 axes takes the host's first layout, where each button the game
// reads (0 to 13) has a raw button of its own: this one.
constexpr int kPadButtons = 14;
constexpr int kPadAxes = 5;
constexpr int kRawButton[kPadButtons] = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 8, 9};
// In that layout the left stick is axes 0 and 1; the right stick's x is axis 4 and its y axis 3,
// upside down.
constexpr int kLeftX = 0, kLeftY = 1, kRightY = 3, kRightX = 4;

// How far a shown playback may fall behind its clock before it stops trying to catch up.
constexpr std::chrono::milliseconds kPaceSlack{250};

}  // namespace

std::string vo_replay_FormatLevelEnd(const c_LevelEnd& end) {
    std::string line = "level " + std::to_string(end.m_level) + " reason " + std::to_string(end.m_reason) +
                       " rescued " + std::to_string(end.m_rescued) + " counters";
    for (int counter : end.m_counters) line += " " + std::to_string(counter);
    return line + " score " + std::to_string(end.m_score) + " update " + std::to_string(end.m_update);
}

c_ReplayRunner::c_ReplayRunner(const std::string& state, const c_HeadlessView* view, bool soundDevice)
    : m_gl(view ? std::optional<VoNullGl>() : std::optional<VoNullGl>(std::in_place)),
      m_game(state, view, soundDevice),
      m_shown(view ? static_cast<VoShownWindowSystem*>(&m_game.m_ws) : nullptr),
      m_paceStart(std::chrono::steady_clock::now()) {}

bool c_ReplayRunner::p_Run(const c_ReplayScript& script, c_ReplayError& error) {
    for (const c_ReplayCommand& command : script.m_commands) {
        if (!p_Command(command, error)) return false;
    }
    return true;
}

bool c_ReplayRunner::p_Command(const c_ReplayCommand& command, c_ReplayError& error) {
    c_MyApp& app = p_App();
    VoScriptedWindowSystem& ws = m_game.m_ws;
    switch (command.m_op) {
        case c_ReplayOp::kAt:
            if (m_updates > command.m_number) {
                error = {command.m_line, "update " + std::to_string(command.m_number) + " is already past (" +
                                             std::to_string(m_updates) + " have run)"};
                return false;
            }
            while (m_updates < command.m_number) {
                if (!p_Advance(command, error)) return false;
            }
            return true;
        case c_ReplayOp::kWait:
            for (int i = 0; i < command.m_number; ++i) {
                if (!p_Advance(command, error)) return false;
            }
            return true;
        case c_ReplayOp::kUntil: return p_RunUntil(command, error);
        case c_ReplayOp::kStart: return p_StartLevel(command, error);
        case c_ReplayOp::kTitle: return p_Title(command, error);
        case c_ReplayOp::kEnter: return p_Enter(command, error);
        case c_ReplayOp::kCarry:
            vo_game_EachLevelField(command.m_carried, app, [](const auto& kept, auto& live, const c_FieldRule& rule) {
                if (rule.m_carried) live = kept;
            });
            app.p_iCade(command.m_carry[kCarryICade]);
            for (int i = 0; i < vpad::kButtons; ++i) {
                app.m_pad[i] = (command.m_carry[kCarryPads] >> i & 1) != 0 ? vpad::kHeld : 0;
            }
            // The game's own replay of this level starts from what it now inherits.
            app.p_ReplayStart();
            return true;
        case c_ReplayOp::kWindow:
            ws.width = command.m_number;
            ws.height = command.m_index;
            // Events after this line read the pointer at the scale of the new size.
            if (m_prepared) m_game.p_Render();
            m_fitted = m_prepared;
            return true;
        case c_ReplayOp::kExpectEnd: return p_ExpectEnd(command, error);
        case c_ReplayOp::kExpectPenguins:
        case c_ReplayOp::kExpectCounters: return p_Expect(command, error);
        case c_ReplayOp::kKeyDown: p_Key(command.m_number, VO_PRESS); return true;
        case c_ReplayOp::kKeyUp: p_Key(command.m_number, VO_RELEASE); return true;
        case c_ReplayOp::kKeyTap:
            p_Key(command.m_number, VO_PRESS);
            if (!p_Advance(command, error)) return false;
            p_Key(command.m_number, VO_RELEASE);
            return true;
        case c_ReplayOp::kChar:
            p_Prepare();
            ws.handler->OnChar(static_cast<unsigned>(command.m_number));
            return true;
        case c_ReplayOp::kPointerMove: p_PointerTo(command.m_x, command.m_y); return true;
        case c_ReplayOp::kPointerDown:
            p_PointerTo(command.m_x, command.m_y);
            ws.handler->OnMouseButton(command.m_index, VO_PRESS);
            return true;
        case c_ReplayOp::kPointerUp:
            p_Prepare();
            ws.handler->OnMouseButton(command.m_index, VO_RELEASE);
            return true;
        case c_ReplayOp::kTouchDown:
        case c_ReplayOp::kTouchMove:
            p_Prepare();
            m_game.m_host.TouchEvent(command.m_op == c_ReplayOp::kTouchDown ? c_VoGameEvent::TouchDown
                                                                            : c_VoGameEvent::TouchMove,
                                     command.m_index, p_WindowX(command.m_x), p_WindowY(command.m_y));
            return true;
        case c_ReplayOp::kTouchUp:
            p_Prepare();
            m_game.m_host.TouchEvent(c_VoGameEvent::TouchUp, command.m_index, 0, 0);
            return true;
        case c_ReplayOp::kPadDown:
        case c_ReplayOp::kPadUp:
            p_Plug(command.m_index);
            ws.joysticks[command.m_index].buttons[static_cast<size_t>(kRawButton[command.m_button])] =
                command.m_op == c_ReplayOp::kPadDown ? 1 : 0;
            return true;
        case c_ReplayOp::kPadStick: {
            p_Plug(command.m_index);
            std::vector<float>& axes = ws.joysticks[command.m_index].axes;
            if (command.m_button == 0) {
                axes[kLeftX] = command.m_x;
                axes[kLeftY] = command.m_y;
            } else {
                axes[kRightX] = command.m_x;
                axes[kRightY] = -command.m_y;
            }
            return true;
        }
        // As the host loop does after polling the events that changed the window's focus.
        case c_ReplayOp::kFocusOff:
            p_Prepare();
            ws.active = false;
            m_game.m_host.SuspendGame();
            return true;
        case c_ReplayOp::kFocusOn:
            p_Prepare();
            ws.active = true;
            m_game.m_host.ResumeGame();
            return true;
    }
    return true;
}

bool c_ReplayRunner::p_RunUntil(const c_ReplayCommand& command, c_ReplayError& error) {
    const int endsBefore = static_cast<int>(m_levelEnds.size());
    for (int run = 0;; ++run) {
        if (p_Holds(command, endsBefore)) return true;
        if (run == command.m_number) break;
        if (!p_Advance(command, error)) return false;
    }
    const std::string within = " within " + std::to_string(command.m_number) + " updates";
    switch (command.m_condition) {
        case c_ReplayCondition::kLoaded: error = {command.m_line, "the loader was still busy" + within}; break;
        case c_ReplayCondition::kMode:
            error = {command.m_line, "the screen state did not become " + std::to_string(command.m_index) + within +
                                         " (it is " + std::to_string(p_App().m_mode) + ")"};
            break;
        case c_ReplayCondition::kEnd: error = {command.m_line, "no level ended" + within}; break;
    }
    return false;
}

bool c_ReplayRunner::p_Holds(const c_ReplayCommand& command, int endsBefore) {
    switch (command.m_condition) {
        case c_ReplayCondition::kLoaded: return p_App().m_loadStep == 0;
        case c_ReplayCondition::kMode: return p_App().m_mode == command.m_index;
        case c_ReplayCondition::kEnd: return static_cast<int>(m_levelEnds.size()) > endsBefore;
    }
    return false;
}

bool c_ReplayRunner::p_Title(const c_ReplayCommand& command, c_ReplayError& error) {
    c_MyApp& app = p_App();
    const int level = command.m_number;
    // The end banner keeps every key from counting until it has retracted and an update with no
    // key held has freed the keys.
    auto ready = [&app] {
        return app.m_mode == screen::kTitle && app.m_loadStep == 0 && app.m_endTimer == 0 && app.m_keyUsed == 0 &&
               app.m_pointerUsed == 0 && app.m_optionsOpen == 0 && app.m_creditsOpen == 0;
    };
    for (int run = 0; !ready(); ++run) {
        if (run == kReplayUntilDefault) {
            const std::string most = std::to_string(kReplayUntilDefault);
            error = {command.m_line, "the title screen did not take keys within " + most + " updates"};
            return false;
        }
        if (!p_Advance(command, error)) return false;
    }
    while (app.m_menuCursor != menu::kWheelFocus) {
        if (!p_TapAndRelease(app.m_menuCursor < menu::kWheelFocus ? KEY_RIGHT : KEY_LEFT, command, error)) return false;
    }
    // Each tap turns the wheel by one level; a wheel that did not turn is reported, not tapped forever.
    while (app.m_levelSel != level - 1) {
        const int before = app.m_levelSel;
        if (!p_TapAndRelease(app.m_levelSel < level - 1 ? KEY_DOWN : KEY_UP, command, error)) return false;
        if (app.m_levelSel == before) {
            error = {command.m_line, "the level wheel did not turn from level " + std::to_string(before + 1)};
            return false;
        }
    }
    // The confirming update builds the level; the script's next update is the level's first.
    p_Key(KEY_ENTER, VO_PRESS);
    if (!p_Advance(command, error)) return false;
    p_Key(KEY_ENTER, VO_RELEASE);
    if (app.m_mode != screen::kInLevel || app.m_level != level) {
        error = {command.m_line, "level " + std::to_string(level) + " did not start: it is locked"};
        return false;
    }
    return true;
}

bool c_ReplayRunner::p_StartLevel(const c_ReplayCommand& command, c_ReplayError& error) {
    // The loader ends by sending the game to the title, which would undo the start.
    c_ReplayCommand loaded = command;
    loaded.m_condition = c_ReplayCondition::kLoaded;
    loaded.m_number = kReplayUntilDefault;
    if (!p_RunUntil(loaded, error)) return false;
    c_MyApp& app = p_App();
    app.m_level = command.m_number;
    app.m_settings[0] = command.m_index;
    app.m_mode = screen::kStartLevel;
    return true;
}

bool c_ReplayRunner::p_Enter(const c_ReplayCommand& command, c_ReplayError& error) {
    if (!p_StartLevel(command, error)) return false;
    c_MyApp& app = p_App();
    const int level = command.m_number;
    // A level takes its penguins from the title and its counters from the record of the level
    // before, as that level's end left them; the driver reads both as it builds the level.
    if (level >= 2) {
        const int record = progress::RecordOf(level - 1);
        app.m_progress[record] = command.m_index;
        for (int s = 0; s < skill::kCount; ++s) app.m_progress[record + 1 + s] = command.m_counters[s];
    }
    if (!p_Advance(command, error)) return false;
    if (app.m_mode != screen::kInLevel || app.m_level != level) {
        error = {command.m_line, "level " + std::to_string(level) + " did not start"};
        return false;
    }
    return true;
}

bool c_ReplayRunner::p_ExpectEnd(const c_ReplayCommand& command, c_ReplayError& error) {
    const auto said = [](int reason, int rescued, int score) {
        return "reason " + std::to_string(reason) + ", " + std::to_string(rescued) + " rescued, score " +
               std::to_string(score);
    };
    if (m_levelEnds.empty()) {
        error = {command.m_line, "no level has ended"};
        return false;
    }
    const c_LevelEnd& end = m_levelEnds.back();
    if (end.m_reason == command.m_number && end.m_rescued == command.m_index && end.m_score == command.m_counters[0]) {
        return true;
    }
    error = {command.m_line, "the level ended with " + said(end.m_reason, end.m_rescued, end.m_score) + ", not " +
                                 said(command.m_number, command.m_index, command.m_counters[0])};
    return false;
}

bool c_ReplayRunner::p_TapAndRelease(int code, const c_ReplayCommand& command, c_ReplayError& error) {
    p_Key(code, VO_PRESS);
    if (!p_Advance(command, error)) return false;
    p_Key(code, VO_RELEASE);
    return p_Advance(command, error);
}

bool c_ReplayRunner::p_Expect(const c_ReplayCommand& command, c_ReplayError& error) {
    const c_MyApp& app = p_App();
    if (command.m_op == c_ReplayOp::kExpectPenguins) {
        const int penguins = static_cast<int>(app.m_player[play::kPenguins]);
        if (penguins == command.m_index) return true;
        error = {command.m_line, "the level was built with " + std::to_string(penguins) + " penguins, not " +
                                     std::to_string(command.m_index)};
        return false;
    }
    std::string have, want;
    bool same = true;
    for (int s = 0; s < skill::kCount; ++s) {
        const int counter = static_cast<int>(app.m_player[play::kCounters + s]);
        same = same && counter == command.m_counters[s];
        have += " " + std::to_string(counter);
        want += " " + std::to_string(command.m_counters[s]);
    }
    if (same) return true;
    error = {command.m_line, "the counters read" + have + ", not" + want};
    return false;
}

void c_ReplayRunner::p_Prepare() {
    if (m_prepared) return;
    m_game.p_Render();
    m_fitted = true;
    if (m_shown) m_shown->SwapBuffers();
    m_game.p_Tick();
    m_prepared = true;
}

bool c_ReplayRunner::p_Advance(const c_ReplayCommand& command, c_ReplayError& error) {
    if (m_game.m_host.Suspended()) {
        error = {command.m_line, "the window has no focus: no update runs until `focus on`"};
        return false;
    }
    if (m_shown) {
        if (m_shown->Closed()) {
            error = {command.m_line, "the window was closed"};
            return false;
        }
        p_Pace();
    }
    p_Step();
    return true;
}

void c_ReplayRunner::p_Pace() {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point due = m_paceStart + std::chrono::microseconds(1000000LL * m_paced / kRunningRate);
    const Clock::time_point now = Clock::now();
    // Far behind (the machine was busy), the pace starts over rather than hurrying to catch up.
    if (now - due > kPaceSlack) {
        m_paceStart = now;
        m_paced = 0;
    } else if (due > now) {
        std::this_thread::sleep_until(due);
    }
    ++m_paced;
}

void c_ReplayRunner::p_Step() {
    if (m_drawAll || m_shown || !m_fitted) {
        p_Prepare();
    } else if (!m_prepared) {
        m_game.p_Tick();
    }
    c_MyApp& app = p_App();
    const int modeBefore = app.m_mode;
    const int savesBefore = m_game.m_host.saves;
    m_game.p_Update();
    m_prepared = false;
    ++m_updates;
    // The driver leaves the finished-level state by recording the level and saving; the loader
    // leaving it for the title saves nothing and records nothing.
    if (modeBefore == screen::kLevelDone && app.m_mode != screen::kLevelDone && m_game.m_host.saves > savesBefore) {
        c_LevelEnd end;
        end.m_level = app.m_level;
        end.m_reason = app.m_endReason;
        end.m_rescued = app.m_rescued;
        for (int k = 0; k < play::kCarriedCounters; ++k) end.m_counters[k] = static_cast<int>(app.m_player[play::kCounters + k]);
        end.m_score = app.m_score;
        end.m_update = m_updates;
        m_levelEnds.push_back(end);
        if (m_onLevelEnd) m_onLevelEnd(end);
    }
    if (m_onUpdate) m_onUpdate(m_updates);
}

void c_ReplayRunner::p_Key(int code, int action) {
    const int key = vo_replay_KeyboardKey(code);
    // The window system's key state, which the host reads to let go of held keys when the
    // window is opened again.
    std::vector<int>& pressed = m_game.m_ws.pressedKeys;
    auto held = std::find(pressed.begin(), pressed.end(), key);
    if (action == VO_PRESS && held == pressed.end()) pressed.push_back(key);
    if (action == VO_RELEASE && held != pressed.end()) pressed.erase(held);
    p_Prepare();
    m_game.m_ws.handler->OnKey(key, action);
}

// The driver reads a window pixel p as the virtual pixel trunc((p - inset) / scale); half a
// virtual pixel outwards of the exact point reads back as the whole number asked for.
float c_ReplayRunner::p_WindowX(float x) {
    const float half = x < 0 ? -0.5f : 0.5f;
    return overscan + (x + half) * p_App().m_scaleX;
}

float c_ReplayRunner::p_WindowY(float y) {
    const int width = vo_app_DeviceWidth(), height = vo_app_DeviceHeight();
    const float inset = width > 0 ? overscan * static_cast<float>(height) / static_cast<float>(width) : 0;
    const float half = y < 0 ? -0.5f : 0.5f;
    return inset + (y + half) * p_App().m_scaleY;
}

void c_ReplayRunner::p_PointerTo(float x, float y) {
    p_Prepare();
    VoScriptedWindowSystem& ws = m_game.m_ws;
    ws.cursorX = p_WindowX(x);
    ws.cursorY = p_WindowY(y);
    ws.handler->OnMousePos(ws.cursorX, ws.cursorY);
}

void c_ReplayRunner::p_Plug(int pad) {
    for (int p = 0; p <= pad; ++p) {
        VoScriptedWindowSystem::Joystick& joystick = m_game.m_ws.joysticks[p];
        if (joystick.present) continue;
        joystick.present = true;
        joystick.buttons.assign(kPadButtons, 0);
        joystick.axes.assign(kPadAxes, 0);
    }
}
