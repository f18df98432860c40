// Controls: the pointer and touch points in virtual pixels, the iCade's characters, the numbered
// actions over keyboard, pads, sticks and iCade, and the pointer tests of on-screen areas and buttons.
#include <array>
#include <cmath>
#include <cstdint>
#include <span>

#include "framework/app/app.h"
#include "framework/app/input.h"
#include "framework/app/key_codes.h"
#include "game/controls.h"
#include "game/image_sheets.h"
#include "game/my_app.h"
#include "game/truncate.h"

namespace {

// The iCade's letters: each button's press and release letter, and its m_pad entry.
constexpr c_ICadeLetters kICadeKeys[] = {
    {'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},  {'H', 'R', 10}, {'J', 'N', 11},
    {'K', 'P', 12}, {'Y', 'T', 13}, {'U', 'F', 14}, {'I', 'M', 15}, {'O', 'G', 16}, {'L', 'V', 17},
};

// Pad buttons are key codes from KEY_JOY0, KEY_JOY_BUTTONS a pad; the last pad with codes.
constexpr int kLastCodedPad = (KEY_LAST - KEY_JOY0) / KEY_JOY_BUTTONS;

// The left stick counts as a direction past kStickThreshold, and moves the analogue direction
// past kStickDeadZone.
constexpr float kStickThreshold = 0.4f;
constexpr float kStickDeadZone = 0.2f;
// The key ramps: the step while held and the step back after release.
constexpr float kRampStep = 0.15f;
constexpr float kRampReturn = 0.2f;
// The debug marker: the direction drawn as a dot around a ring 64 pixels in from the bottom
// right corner, once it is more than a nudge.
constexpr float kMarkerInset = 64;
constexpr float kMarkerReach = 52;
constexpr float kMarkerRing = 12;
constexpr float kMarkerDot = 8;
constexpr float kMarkerMoved = 0.05f;
constexpr float kMarkerColour[3] = {0, 180, 250};
constexpr float kMarkerAlpha = 0.5f;
// p_Touch's margins around its rectangle.
constexpr float kTouchMarginBefore = 6;
constexpr float kTouchMarginAfter = 12;

// The left stick's directions, y up.
constexpr c_StickDirection kNoStick{}, kStickUp{0, 1}, kStickLeft{-1, 0}, kStickRight{1, 0}, kStickDown{0, -1};
// Which pad values read an action: every one from -1 up, or only pads 0 and up.
constexpr bool kEvery = false, kPadsOnly = true;

// With the iCade off. Columns: action, keyboard, pad buttons, left stick, iCade, pad values.
constexpr c_ActionInputs kActions[] = {
    {action::kUp, {KEY_UP, 'W'}, {9}, kStickUp, {0}, kEvery},
    {action::kLeft, {KEY_LEFT, 'A'}, {8}, kStickLeft, {3}, kEvery},
    {action::kRight, {KEY_RIGHT, 'D'}, {10}, kStickRight, {5}, kEvery},
    {action::kDown, {KEY_DOWN, 'S'}, {11}, kStickDown, {8}, kEvery},
    {action::kUse, {'Z', 'J', KEY_SPACE, KEY_ENTER}, {0}, kNoStick, {10}, kEvery},
    {action::kSpeedUp, {'X', 'K', KEY_CONTROL}, {1}, kNoStick, {11}, kEvery},
    {action::kButton2, {'C', 'L', KEY_SHIFT}, {2}, kNoStick, {12}, kEvery},
    {action::kButton3, {'V', 'I'}, {3}, kNoStick, {13}, kEvery},
    {action::kPrevSkill, {'B', 'U'}, {4}, kNoStick, {14}, kEvery},
    {action::kNextSkill, {'N', 'O'}, {5}, kNoStick, {15}, kEvery},
    {action::kRestart, {'R'}, {13}, kNoStick, {}, kEvery},
    {action::kBack, {KEY_ESCAPE, KEY_BACKQUOTE, KEY_DELETE, KEY_BACKSPACE}, {6, 7, 14}, kNoStick, {16, 17, 19},
     kPadsOnly},
    {action::kPause, {KEY_ESCAPE, KEY_BACKQUOTE, KEY_DELETE, KEY_BACKSPACE}, {6, 7, 14}, kNoStick, {16, 17, 19},
     kEvery},
};

// With the iCade on, the letter keys are its buttons and drop out, the stick is not read, and
// back (98) is gone.
constexpr c_ActionInputs kICadeActions[] = {
    {action::kUp, {KEY_UP}, {9}, kNoStick, {0}, kEvery},
    {action::kLeft, {KEY_LEFT}, {8}, kNoStick, {3}, kEvery},
    {action::kRight, {KEY_RIGHT}, {10}, kNoStick, {5}, kEvery},
    {action::kDown, {KEY_DOWN}, {11}, kNoStick, {8}, kEvery},
    {action::kUse, {KEY_SPACE, KEY_ENTER}, {0}, kNoStick, {10}, kEvery},
    {action::kSpeedUp, {KEY_CONTROL}, {1}, kNoStick, {11}, kEvery},
    {action::kButton2, {KEY_SHIFT}, {2}, kNoStick, {12}, kEvery},
    {action::kButton3, {}, {3}, kNoStick, {13}, kEvery},
    {action::kPrevSkill, {}, {4}, kNoStick, {14}, kEvery},
    {action::kNextSkill, {}, {5}, kNoStick, {15}, kEvery},
    {action::kRestart, {}, {13}, kNoStick, {}, kEvery},
    {action::kPause, {KEY_ESCAPE, KEY_DELETE, KEY_BACKSPACE}, {6, 7, 14}, kNoStick, {16, 17, 19}, kEvery},
};

// Each action's row in a table, -1 for none: the actions are read dozens of times an update.
constexpr int kActionIds = action::kPause + 1;
template <size_t N>
constexpr std::array<int8_t, kActionIds> RowsOf(const c_ActionInputs (&table)[N]) {
    std::array<int8_t, kActionIds> rows{};
    rows.fill(-1);
    for (size_t i = 0; i < N; ++i) rows[static_cast<size_t>(table[i].m_action)] = static_cast<int8_t>(i);
    return rows;
}
constexpr auto kActionRows = RowsOf(kActions), kICadeRows = RowsOf(kICadeActions);

// The table in force, with the iCade on or off, and each action's row in it.
struct c_ActionsInForce {
    std::span<const c_ActionInputs> m_table;
    const std::array<int8_t, kActionIds>& m_rows;
};
c_ActionsInForce ActionsInForce() {
    return iCadeControls == 1 ? c_ActionsInForce{kICadeActions, kICadeRows} : c_ActionsInForce{kActions, kActionRows};
}

const c_ActionInputs* FindAction(int a) {
    if (a < 0 || a >= kActionIds) return nullptr;
    const c_ActionsInForce actions = ActionsInForce();
    const int row = actions.m_rows[static_cast<size_t>(a)];
    return row < 0 ? nullptr : &actions.m_table[static_cast<size_t>(row)];
}

// The keys a replay keeps: every keyboard code an action reads, with the iCade on or off, and the
// HUD key, whose flag decides whether the HUD's slots take taps.
struct KeyList {
    int count = 0;
    int code[replay::kMostKeys] = {};
    constexpr void Add(int c) {
        for (int i = 0; i < count; ++i) {
            if (code[i] == c) return;
        }
        code[count++] = c;
    }
};

constexpr KeyList BuildReplayKeys() {
    KeyList list;
    for (const c_ActionInputs& row : kActions) {
        for (int i = 0; i < row.m_keys.m_count; ++i) list.Add(row.m_keys.m_code[i]);
    }
    for (const c_ActionInputs& row : kICadeActions) {
        for (int i = 0; i < row.m_keys.m_count; ++i) list.Add(row.m_keys.m_code[i]);
    }
    list.Add(hotkey::kHud);
    return list;
}

constexpr KeyList kReplayKeys = BuildReplayKeys();

// Whether the left stick is pushed past the threshold the way the direction points.
bool StickPushed(c_StickDirection stick, int pad) {
    if (stick.m_x != 0) {
        return stick.m_x < 0 ? vo_input_JoyX(0, pad) < -kStickThreshold : vo_input_JoyX(0, pad) > kStickThreshold;
    }
    if (stick.m_y != 0) {
        return stick.m_y < 0 ? vo_input_JoyY(0, pad) < -kStickThreshold : vo_input_JoyY(0, pad) > kStickThreshold;
    }
    return false;
}

// Moves a key ramp one update for the key of one direction (dir -1 or +1): outward while the key
// is held, back to 0 while it is not and the ramp lies on its side. The output follows the ramp
// whenever the ramp moves.
void Ramp(bool held, float dir, float& ramp, float& output) {
    if (held) {
        ramp += dir * kRampStep;
        output = ramp;
    } else if (ramp * dir > 0) {
        ramp -= dir * kRampReturn;
        if (ramp * dir < 0) ramp = 0;
        output = ramp;
    }
}

float Clamp1(float v) { return std::fmin(std::fmax(v, -1.0f), 1.0f); }

// Whether touch point i is down and strictly inside the box.
bool TouchInside(const c_MyApp& app, int i, float left, float top, float right, float bottom) {
    if (app.m_touchDown[i] == 0) return false;
    const float tx = static_cast<float>(app.m_touchX[i]), ty = static_cast<float>(app.m_touchY[i]);
    return tx > left && tx < right && ty > top && ty < bottom;
}

// An image's width and height on screen in virtual pixels: its detail-level size brought back
// by the display scale, times the draw scale.
float ShownWidth(const c_MyApp& app, int image) {
    return static_cast<float>(app.m_imgInfo[3 * image]) * app.m_imgScale * app.m_drawSizeX;
}
float ShownHeight(const c_MyApp& app, int image) {
    return static_cast<float>(app.m_imgInfo[3 * image + 1]) * app.m_imgScale * app.m_drawSizeY;
}

// Whether any touch point is down and strictly inside the box w by h centred on (x, y).
bool AnyTouchInside(const c_MyApp& app, float x, float y, float w, float h) {
    for (int i = 0; i < touch::kPoints; ++i) {
        if (TouchInside(app, i, x - w * 0.5f, y - h * 0.5f, x + w * 0.5f, y + h * 0.5f)) return true;
    }
    return false;
}

// An action's keyboard keys; its buttons and stick on one pad; its iCade buttons (the held value).
bool KeyHeld(const c_ActionInputs& row) {
    for (int i = 0; i < row.m_keys.m_count; ++i) {
        if (vo_input_KeyDown(row.m_keys.m_code[i])) return true;
    }
    return false;
}

bool PadHeld(const c_ActionInputs& row, int withStick, int pad) {
    if (pad >= 0 && pad <= kLastCodedPad) {
        for (int i = 0; i < row.m_buttons.m_count; ++i) {
            if (vo_input_KeyDown(KEY_JOY0 + KEY_JOY_BUTTONS * pad + row.m_buttons.m_code[i])) return true;
        }
    }
    return pad >= 0 && withStick == 1 && StickPushed(row.m_stick, pad);
}

int ICadeHeld(const c_MyApp& app, const c_ActionInputs& row) {
    for (int i = 0; i < row.m_icade.m_count; ++i) {
        if (app.m_pad[row.m_icade.m_code[i]] != 0) return app.m_pad[row.m_icade.m_code[i]];
    }
    return 0;
}

}  // namespace

int c_MyApp::p_ReadPointer() {
    const float insetY = vo_app_DeviceWidth() > 0
                             ? overscan * static_cast<float>(vo_app_DeviceHeight()) / static_cast<float>(vo_app_DeviceWidth())
                             : 0;
    m_mouseX = vo_game_Trunc((vo_input_MouseX() - overscan) / m_scaleX);
    m_mouseY = vo_game_Trunc((vo_input_MouseY() - insetY) / m_scaleY);
    m_pointerDown = vo_input_MouseDown(0) ? 1 : 0;
    for (int i = 0; i < touch::kPoints; ++i) {
        m_touchDown[i] = 0;
        m_touchX[i] = kNoArg;
        m_touchY[i] = kNoArg;
        if (vo_input_KeyDown(touch::kFirstCode + i)) {
            m_touchDown[i] = 1;
            m_touchX[i] = vo_game_Trunc((vo_input_TouchX(i) - overscan) / m_scaleX);
            m_touchY[i] = vo_game_Trunc((vo_input_TouchY(i) - insetY) / m_scaleY);
            m_pointerDown = 1;
        }
    }
    if (m_pointerDown == 0) m_pointerUsed = 0;
    return 0;
}

int vo_game_ReplayKeyCode(int index) { return index >= 0 && index < kReplayKeys.count ? kReplayKeys.code[index] : -1; }

std::span<const c_ActionInputs> vo_game_ActionTable() { return kActions; }

std::span<const c_ICadeLetters> vo_game_ICadeTable() { return kICadeKeys; }

int c_MyApp::p_ReadInputState(c_InputState& state) {
    for (int i = 0; i < kReplayKeys.count; ++i) state.m_keys[i] = vo_input_KeyDown(kReplayKeys.code[i]) != 0;
    for (int pad = 0; pad < action::kPads; ++pad) {
        for (int b = 0; b < replay::kPadButtons; ++b) {
            state.m_padButtons[pad][b] = vo_input_KeyDown(KEY_JOY0 + KEY_JOY_BUTTONS * pad + b) != 0;
        }
        for (int stick = 0; stick < replay::kSticks; ++stick) {
            state.m_sticks[pad][stick][0] = vo_input_JoyX(stick, pad);
            state.m_sticks[pad][stick][1] = vo_input_JoyY(stick, pad);
        }
    }
    // The first touch point and the mouse are one pointer to the input device.
    state.m_pointerDown = vo_input_MouseDown(0) != 0;
    state.m_pointerX = m_mouseX;
    state.m_pointerY = m_mouseY;
    for (int i = 1; i < touch::kPoints; ++i) {
        state.m_touchDown[i] = m_touchDown[i] != 0;
        state.m_touchX[i] = m_touchX[i];
        state.m_touchY[i] = m_touchY[i];
    }
    state.m_width = vo_app_DeviceWidth();
    state.m_height = vo_app_DeviceHeight();
    return 0;
}

int c_MyApp::p_NoteDevice() {
    constexpr int kKeyboardBit = 1, kPadBit = 2, kPointerBit = 4;
    const std::span<const c_ActionInputs> table = ActionsInForce().m_table;
    bool keys = false;
    for (const c_ActionInputs& row : table) {
        for (int i = 0; i < row.m_keys.m_count; ++i) keys = keys || vo_input_KeyDown(row.m_keys.m_code[i]) != 0;
    }
    // The iCade's letters reach the game as its buttons, so it counts as a pad.
    bool pad = false;
    for (int i = 0; i < vpad::kButtons; ++i) pad = pad || m_pad[i] != 0;
    for (int p = 0; p < action::kPads && p <= kLastCodedPad; ++p) {
        for (int b = 0; b < replay::kPadButtons; ++b) pad = pad || vo_input_KeyDown(KEY_JOY0 + KEY_JOY_BUTTONS * p + b) != 0;
        for (int stick = 0; stick < replay::kSticks; ++stick) {
            pad = pad || std::fabs(vo_input_JoyX(stick, p)) > kStickThreshold ||
                  std::fabs(vo_input_JoyY(stick, p)) > kStickThreshold;
        }
    }
    const int held = (keys ? kKeyboardBit : 0) | (pad ? kPadBit : 0) | (m_pointerDown != 0 ? kPointerBit : 0);
    const int pressed = held & ~m_devicesHeld;
    m_devicesHeld = held;
    if ((pressed & kPointerBit) != 0) {
        m_lastDevice = inputmode::kPointer;
    } else if ((pressed & kKeyboardBit) != 0) {
        m_lastDevice = inputmode::kKeys;
    } else if ((pressed & kPadBit) != 0) {
        m_lastDevice = inputmode::kPad;
    }
    // A player who picks up another device in a level sees its icons from then on.
    if (m_mode == screen::kInLevel) m_inputMode = m_lastDevice;
    return 0;
}

int c_MyApp::p_ReadICade() {
    for (;;) {
        int c = vo_input_GetChar();
        m_lastChar = c;
        if (c == 0) break;
        p_ReplayNote(replay::Change::kChar, c);
        int upper = c >= 'a' && c <= 'z' ? c - 32 : c;
        for (const c_ICadeLetters& key : kICadeKeys) {
            if (upper == key.m_press) m_pad[key.m_entry] = vpad::kHeld;
            if (upper == key.m_release) m_pad[key.m_entry] = 0;
        }
    }
    return 0;
}

int c_MyApp::p_PlayKey(int a, int withStick, int pad) {
    if (pad < -1) return 0;
    const c_ActionInputs* row = FindAction(a);
    if (!row || (row->m_padsOnly && pad < 0)) return 0;
    if (KeyHeld(*row)) return 1;
    if (PadHeld(*row, withStick, pad)) return 1;
    return ICadeHeld(*this, *row);
}

// The sum of p_PlayKey over the pads; the keyboard and the iCade read alike for every pad.
int c_MyApp::p_PlayKeyAll(int a, int withStick) {
    const c_ActionInputs* row = FindAction(a);
    if (!row) return 0;
    if (KeyHeld(*row)) return action::kPads;
    const int icade = ICadeHeld(*this, *row);
    int sum = 0;
    for (int pad = 0; pad < action::kPads; ++pad) sum += PadHeld(*row, withStick, pad) ? 1 : icade;
    return sum;
}

float c_MyApp::p_StickX(int stick, int pad) { return pad < 0 ? 0 : vo_input_JoyX(stick, pad); }

// The left stick reads with down positive, as the screen's y does.
float c_MyApp::p_StickY(int stick, int pad) {
    if (pad < 0) return 0;
    return stick == 0 ? -vo_input_JoyY(stick, pad) : vo_input_JoyY(stick, pad);
}

int c_MyApp::p_AnalogueControl() {
    m_stickOutX = 0;
    m_stickOutY = 0;
    const float jx = vo_input_JoyX(0, 0), jy = vo_input_JoyY(0, 0);
    if (std::fabs(jx) > kStickDeadZone || std::fabs(jy) > kStickDeadZone) {
        m_stickOutX = jx;
        m_stickOutY = -jy;
    }
    // Keys ramp up over a few updates so that a tap moves less than a hold.
    Ramp(p_PlayKey(action::kUp, 0, 0) != 0, -1, m_keyRampY, m_stickOutY);
    Ramp(p_PlayKey(action::kDown, 0, 0) != 0, 1, m_keyRampY, m_stickOutY);
    Ramp(p_PlayKey(action::kLeft, 0, 0) != 0, -1, m_keyRampX, m_stickOutX);
    Ramp(p_PlayKey(action::kRight, 0, 0) != 0, 1, m_keyRampX, m_stickOutX);
    m_stickOutX = Clamp1(m_stickOutX);
    m_stickOutY = Clamp1(m_stickOutY);
    m_keyRampX = Clamp1(m_keyRampX);
    m_keyRampY = Clamp1(m_keyRampY);

    if ((std::fabs(m_stickOutX) > kMarkerMoved || std::fabs(m_stickOutY) > kMarkerMoved) && DebugMode == 1) {
        const float cx = jscrw - kMarkerInset, cy = jscrh - kMarkerInset;
        p_SetCol(kMarkerColour[0], kMarkerColour[1], kMarkerColour[2], kMarkerAlpha);
        p_Oval(cx, cy, kMarkerRing, kMarkerRing);
        p_Oval(cx + kMarkerReach * m_stickOutX, cy + kMarkerReach * m_stickOutY, kMarkerDot, kMarkerDot);
    }
    p_SetCol(255, 255, 255, 1);
    p_SetSize(1);
    return 0;
}

int c_MyApp::p_iCade(int on) {
    if (on == 1) {
        vo_input_EnableKeyboard();
        iCadeControls = 1;
        // Whatever was typed before the iCade took over is not a button.
        m_lastChar = 0;
        for (int c = vo_input_GetChar(); c != 0; c = vo_input_GetChar()) m_lastChar = c;
    } else if (on == 0) {
        vo_input_DisableKeyboard();
        iCadeControls = 0;
        for (int i = 0; i < vpad::kButtons; ++i) m_pad[i] = 0;
    }
    return 0;
}

int c_MyApp::p_MouseIn(float x, float y, float w, float h) {
    for (int i = 0; i < touch::kPoints; ++i) {
        if (TouchInside(*this, i, x, y, x + w, y + h)) return 1;
    }
    return 0;
}

int c_MyApp::p_MouseIn_Centered(float x, float y, float w, float h) {
    return AnyTouchInside(*this, x, y, w, h) ? 1 : 0;
}

int c_MyApp::p_MouseIn_Radius(float x, float y, float w, float h) {
    const float reach2 = (w * 0.5f) * (w * 0.5f) + (h * 0.5f) * (h * 0.5f);
    for (int i = 0; i < touch::kPoints; ++i) {
        if (m_touchDown[i] == 0) continue;
        const float dx = static_cast<float>(m_touchX[i]) - x, dy = static_cast<float>(m_touchY[i]) - y;
        if (dx * dx + dy * dy <= reach2) return 1;
    }
    return 0;
}

int c_MyApp::p_Touch(float x, float y, float w, float h) {
    p_Rect(x, y, w, h);
    // The margins are wider to the right and below, where a finger covers what it presses.
    for (int i = 0; i < touch::kPoints; ++i) {
        if (TouchInside(*this, i, x - kTouchMarginBefore, y - kTouchMarginBefore, x + w + kTouchMarginAfter,
                        y + h + kTouchMarginAfter)) {
            return 1;
        }
    }
    return 0;
}

int c_MyApp::p_Button(int image, float x, float y, int frame) {
    m_buttonHit = 0;
    p_DrawImg(image, x, y, static_cast<float>(frame));
    const float w = ShownWidth(*this, image), h = ShownHeight(*this, image);
    if (m_pointerDown >= 1 && AnyTouchInside(*this, x, y, w, h)) m_buttonHit = 1;
    return m_buttonHit;
}

int c_MyApp::p_PauseButton(float x, float y, int frame) { return p_Button(image::kIcons, x, y, frame); }

int c_MyApp::p_Button0(int image, float x, float y, int frame) {
    p_DrawImg(image, x, y, static_cast<float>(frame));
    // Only the first touch point, which the left mouse button moves too.
    const float halfW = ShownWidth(*this, image) * 0.5f, halfH = ShownHeight(*this, image) * 0.5f;
    return m_pointerDown > 0 && TouchInside(*this, 0, x - halfW, y - halfH, x + halfW, y + halfH) ? 1 : 0;
}
