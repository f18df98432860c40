// The options box: the sound option, the iCade and the window mode, rising over the title screen
// or the pause panel; it owns the keys and the pointer while it is up, and saves when it closes.
#include <array>

#include "game/menu_layout.h"
#include "game/my_app.h"

namespace {

// The box's slide, its gear's place at rest and its rows lie where menu_layout.h says.
using menu_layout::kOptionsFirstRow;
using menu_layout::kOptionsGearX;
using menu_layout::kOptionsGearY;
using menu_layout::kOptionsRowGap;
using menu_layout::kOptionsRowInset;
using menu_layout::kOptionsSlideOpen;
using menu_layout::kOptionsSlidePixels;

// The box rises from below the screen 50 in from either side; its gear rolls in from the left
// 12 pixels an update, the back button 76 right of it.
constexpr float kBoxX = 50;
constexpr float kBoxAlpha = 0.94f;
constexpr float kEdge = 2;
constexpr float kGearRoll = 12, kGearStart = kOptionsGearX - kGearRoll * kOptionsSlideOpen;
constexpr float kBackFromGear = 76;
constexpr int kGearFrameUpdates = 6;
// The gear and its back button answer a press on either: from the gear's left edge to the
// end of "<[BACK]" at double size.
constexpr float kGearHalf = 32, kBackPressWidth = kGearHalf + kBackFromGear + 112;
constexpr float kHeadingInset = 24, kHeadingSize = 3;
// Rows 1 to 3: labels at double size from x = 100, each pressed 24 high.
constexpr float kLabelX = 100, kLabelSize = 2;
constexpr float kRowHeight = 24;
constexpr float kRowAlpha = 0.08f, kCursorAlpha = 0.3f;

constexpr float kAlignStart = 0, kAlignCentre = 1, kAlignEnd = 2;
constexpr float kFullVolume = 1;
constexpr int kLoopTune = 1;

// The rows under the back row, from the top, each with the label of its setting now; a row's
// action is p_OptionRow's.
struct Row {
    int row;
    const String& (*label)(c_MyApp& app);
};

const String& SoundLabel(c_MyApp& app) {
    static const std::array<String, option::kSoundModes> kLabels = {
        String("Sound : Off"), String("Sound : SFX + Music"), String("Sound : SFX"), String("Sound : Music")};
    static const String kNoLabel;
    const int sound = app.m_options[option::kSound];
    // A value from outside the cycle shows nothing and starts it again.
    if (sound < option::kSoundOff || sound >= option::kSoundModes) {
        app.m_options[option::kSound] = option::kSoundOff;
        return kNoLabel;
    }
    return kLabels[sound];
}

const String& ICadeLabel(c_MyApp&) {
    static const String kOff("iCade : Off"), kOn("iCade : On");
    return iCadeControls == 1 ? kOn : kOff;
}

// The mode the row switches to.
const String& WindowLabel(c_MyApp& app) {
    static const String kFullscreen("Fullscreen"), kWindowed("Windowed");
    return app.m_fullScreen == 1 ? kWindowed : kFullscreen;
}

constexpr Row kRows[] = {
    {menu::kSoundRow, SoundLabel},
    {menu::kICadeRow, ICadeLabel},
    {menu::kWindowRow, WindowLabel},
};
// The key cursor runs from the back row to the last row.
constexpr int kLastRow = kRows[std::size(kRows) - 1].row;

// Any of the keys the driver's latch watches, held on any pad.
bool AnyKeyHeld(c_MyApp& app) {
    for (int key : action::kLatchOrder) {
        if (app.p_PlayKeyAll(key, 1) != 0) return true;
    }
    return false;
}

bool FireHeld(c_MyApp& app, int firstKey, int lastKey) {
    for (int key = firstKey; key <= lastKey; ++key) {
        if (app.p_PlayKeyAll(key, 1) != 0) return true;
    }
    return false;
}

}  // namespace

int c_MyApp::p_OptionBox() {
    static const String kBack("<[BACK]"), kHeading("Options");

    // A key or a press held from before the box came up, or from its last action, does nothing
    // until it is let go.
    if (!AnyKeyHeld(*this)) m_optKeyLatch = 0;
    if (m_pointerDown == 0) m_optPointerLatch = 0;
    // 1. The box owns the input while it is up; no row acts while it moves.
    m_keyUsed = 1;
    m_pointerUsed = 1;
    if (m_optionsSlide != kOptionsSlideOpen) {
        m_optKeyLatch = 1;
        m_optPointerLatch = 1;
    }

    // 2. The box, its gear and the back button.
    const float top = kOptionsSlidePixels * static_cast<float>(kOptionsSlideOpen - m_optionsSlide);
    const float gearX = kGearRoll * static_cast<float>(m_optionsSlide) + kGearStart;
    p_ResetDraw();
    p_SetCol(8, 20, 44, kBoxAlpha);
    p_Rect(kBoxX, top, jscrw - 2 * kBoxX, jscrh);
    p_SetCol(120, 170, 220, 1);
    p_Rect(kBoxX, top, kEdge, jscrh);
    p_Rect(jscrw - kBoxX - kEdge, top, kEdge, jscrh);
    p_Rect(kBoxX, top, jscrw - 2 * kBoxX, kEdge);
    p_SetCol(255, 255, 255, 1);
    ++m_optTurn;
    const int turn = (m_optTurn / kGearFrameUpdates) % image::kGearFrames;
    p_DrawImg(image::kButtons, gearX, kOptionsGearY, static_cast<float>(image::kGearFrame + turn));
    if (m_optCursor == menu::kBackRow) p_DrawImg(image::kButtons, gearX, kOptionsGearY, image::kFocusRingFrame);
    p_SetSize(kLabelSize);
    p_Text(gearX + kBackFromGear, kOptionsGearY, kBack, kAlignStart, kAlignCentre);
    p_SetSize(kHeadingSize);
    p_Text(jscrw - kBoxX - kHeadingInset, top + kOptionsGearY, kHeading, kAlignEnd, kAlignCentre);

    // 3. Closing: back, the gear, or fire on the back row.
    const bool latched = m_optKeyLatch != 0 || m_optPointerLatch != 0;
    if (m_optionsOpen == 1 && !latched &&
        (p_PlayKeyAll(action::kPause, 1) != 0 ||
         p_MouseIn(gearX - kGearHalf, kOptionsGearY - kGearHalf, kBackPressWidth, 2 * kGearHalf) == 1)) {
        p_PlaySFX(sfx::kClick, kFullVolume);
        p_OptionRow(menu::kBackRow);
    }
    if (m_optionsOpen == 1 && m_optKeyLatch == 0 && m_optCursor == menu::kBackRow &&
        (FireHeld(*this, action::kUse, action::kSpeedUp) || p_PlayKeyAll(action::kNextSkill, 1) != 0)) {
        p_PlaySFX(sfx::kClick, kFullVolume);
        p_OptionRow(menu::kBackRow);
    }

    // 4. The rows: the key cursor, then the row touched or fired on.
    if (m_optionsOpen == 1 && m_optKeyLatch == 0) {
        const int step = p_PlayKeyAll(action::kUp, 1) != 0 ? -1 : p_PlayKeyAll(action::kDown, 1) != 0 ? 1 : 0;
        const int next = m_optCursor + step;
        if (step != 0 && next >= menu::kBackRow && next <= kLastRow) {
            m_optCursor = next;
            m_optKeyLatch = 1;
            p_PlaySFX(sfx::kClick, kFullVolume);
        }
    }
    const bool fire = FireHeld(*this, action::kUse, action::kNextSkill);
    for (size_t i = 0; i < std::size(kRows); ++i) {
        const int row = kRows[i].row;
        const float y = top + kOptionsFirstRow + kOptionsRowGap * static_cast<float>(i);
        if (row == m_optCursor) {
            p_SetCol(255, 220, 90, kCursorAlpha);
        } else {
            p_SetCol(255, 255, 255, kRowAlpha);
        }
        const int touched = p_Touch(kOptionsRowInset, y - kRowHeight / 2, jscrw - 2 * kOptionsRowInset, kRowHeight);
        if (m_optionsOpen == 1 && m_optKeyLatch == 0 && m_optPointerLatch == 0 &&
            (touched == 1 || (fire && row == m_optCursor))) {
            m_optKeyLatch = 1;
            m_optPointerLatch = 1;
            m_optCursor = row;
            p_PlaySFX(sfx::kClick, kFullVolume);
            p_OptionRow(row);
        }

        const String& label = kRows[i].label(*this);
        p_SetCol(255, 255, 255, 1);
        p_SetSize(kLabelSize);
        p_Text(kLabelX, y, label, kAlignStart, kAlignCentre);
        p_SetSize(1);
    }
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_OptionRow(int row) {
    switch (row) {
        case menu::kBackRow:
            m_optionsOpen = 0;
            m_optKeyLatch = 1;
            m_optPointerLatch = 1;
            m_keyUsed = 1;
            m_pointerUsed = 1;
            p_Save();
            break;
        case menu::kSoundRow: {
            const int sound = (m_options[option::kSound] + 1) % option::kSoundModes;
            m_options[option::kSound] = sound;
            if (sound == option::kSoundOff || sound == option::kSoundEffects) {
                p_StopTune();
            } else if (m_mode >= screen::kInLevel) {
                // Music back on during a level: its tune starts again.
                p_PlayTune(String("-1"), kLoopTune);
            }
            break;
        }
        case menu::kICadeRow:
            iCadeControls = 1 - iCadeControls;
            p_iCade(iCadeControls);
            for (int i = 0; i < vpad::kEntries; ++i) m_pad[i] = 0;
            break;
        case menu::kWindowRow: p_FullscreenFlip(); break;
        default: break;
    }
    return 0;
}
