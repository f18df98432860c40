// The title screen: the logo dropping in, the notice of a failed save, the level wheel with its
// lock rule, drag spin and keys, the statistics of the selected level, the options button, and
// the credits strip and panel.
#include <algorithm>
#include <array>
#include <cmath>

#include "game/menu_layout.h"
#include "game/my_app.h"
#include "game/text_line.h"
#include "game/truncate.h"

namespace {

// The strip, the play button, the wheel and the options button lie where menu_layout.h says.
using menu_layout::kNoticeTop;
using menu_layout::kPlayRise;
using menu_layout::kStripWidth;
using menu_layout::kTitleGearRise;
using menu_layout::kTitleGearX;
using menu_layout::kWheelBelowMiddle;
using menu_layout::kWheelFromStrip;

// A night sky, so that the ice of the logo and the discs stands out; snow drifts down it.
constexpr int kNightR = 16, kNightG = 30, kNightB = 62;
constexpr float kSnowDriftX = -0.3f, kSnowDriftY = 0.8f;
// The logo rests 115 down and drops in from 12 pixels a drop step higher.
constexpr float kLogoY = 115, kLogoDrop = 12;
// The notice of a failed save, in a warning red.
constexpr int kNoticeR = 255, kNoticeG = 150, kNoticeB = 150;

// The credits strip, darker as it opens over the whole screen; its left edge lights up while it
// has the focus.
constexpr float kStripAlpha = 0.55f, kStripOpenAlpha = 0.9f;
constexpr float kStripEdge = 2;
constexpr float kStripTitleY = 28, kStripTitleSize = 2;
// The play button: the play icon at twice its size, pressed in 128 × 128.
constexpr float kPlaySize = 2, kPlayArea = 128;
constexpr float kPlayLabelRise = 96;

// The options button turns in the bottom left corner, and flies in with the logo.
constexpr float kGearDropX = 12, kGearDropY = 8, kGearArea = 64;
constexpr int kGearFrameUpdates = 6;

// The level wheel: the selected level on top of an arc of radius 240. Levels lie 56 pixels apart
// along the arc, the selected one 12 further from its neighbours because it is drawn larger; up
// to 3.6 levels either side are shown, fading out over the last 0.6.
constexpr float kWheelRadius = 240;
constexpr float kDiscSpacing = 56, kSelectedGap = 12;
constexpr float kShownLevels = 3.6f, kFadeLevels = 0.6f;
// Disc sizes: 1.2 on top, shrinking by 0.15 a level to 0.6.
constexpr float kSelectedSize = 1.2f, kSideSize = 1.05f, kSizeStep = 0.15f, kSmallestSize = 0.6f;
constexpr float kDiscPixels = 64, kNumberSize = 2;
// Dragging: the area that takes a drag, the spin it gives, its limit and decay; a press that
// strays less than kTapSlop is a tap on the disc under it. A wheel at rest eases onto its level.
constexpr float kDragArea = 500;
constexpr float kDragSpin = 0.25f, kSpinLimit = 40, kSpinDecay = 0.75f, kSpinStop = 1;
constexpr float kTapSlop = 6;
constexpr float kSettle = 0.25f, kSettled = 0.5f;

// The first level starts with one penguin and ten jumps; later ones with the record of the
// level before.
constexpr int kFirstLevelPenguins = 1, kFirstLevelJumps = 10;
// Statistics: one entry a line, 35 apart from 105 above the middle, under a heading.
constexpr float kStatsX = 24, kStatsRise = 105, kStatsGap = 35;

// The credits panel: eight lines of 16 pixels at 0.8 size scroll up through a window centred
// 8 below the middle, fading out within 24 pixels of its ends; the technical figures from 16
// down, 14 apart; the closing line below the window.
constexpr int kCreditLines = 8;
constexpr float kCreditLineHeight = 16, kCreditSize = 0.8f;
constexpr float kCreditWindowBelowMiddle = 8, kCreditFade = 24;
constexpr float kCreditDrift = 0.3f, kCreditHurry = 1.5f;
// "End", the last line, is never shown.
constexpr int kCreditWrap = 52;
constexpr float kFiguresTop = 16, kFiguresGap = 14;

constexpr float kAlignStart = 0, kAlignCentre = 1;
constexpr float kFullVolume = 1;

// Where a level's disc lies when the wheel stands at `at` levels (the selected level's place).
struct Disc {
    float x, y, size, alpha, offset;
};

Disc PlaceDisc(int level, float at, float centreX, float topY) {
    const float u = static_cast<float>(level) - at;
    const float along = kDiscSpacing * u + kSelectedGap * std::clamp(u, -1.0f, 1.0f);
    const float angle = along / kWheelRadius;
    Disc d;
    d.offset = u;
    d.x = centreX + kWheelRadius * std::sin(angle);
    d.y = topY + kWheelRadius * (1 - std::cos(angle));
    d.size = std::max(kSmallestSize, kSideSize - kSizeStep * std::fabs(u)) +
             (kSelectedSize - kSideSize) * std::max(0.0f, 1 - std::fabs(u));
    d.alpha = std::clamp((kShownLevels - std::fabs(u)) / kFadeLevels, 0.0f, 1.0f);
    return d;
}

}  // namespace

int c_MyApp::p_Menu() {
    // The first title of the run scatters the snow it drifts.
    if (m_menuTurn == 0) p_ResetStars(particle::kStartStars);
    ++m_menuTurn;

    // 1. Background and the logo, centred left of the strip, dropping in; over it, while saving
    // fails, the line that says so.
    p_DoBG(kNightR, kNightG, kNightB, draw::kBackgroundDefault);
    p_DoSnow(kSnowDriftX, kSnowDriftY);
    p_ResetDraw();
    const float stripLeft = jscrw - (m_creditsX + kStripWidth);
    p_DrawImg(image::kLogo, stripLeft / 2, kLogoY + kLogoDrop * static_cast<float>(m_titleDrop), 0);
    if (m_titleDrop < 0) ++m_titleDrop;
    if (!m_saveNotice.Empty()) {
        p_SetCol(kNoticeR, kNoticeG, kNoticeB, 1);
        p_Text(stripLeft / 2, kNoticeTop, m_saveNotice, kAlignCentre, kAlignCentre);
        p_ResetDraw();
    }

    // 2. Back with nothing open to close ends the program.
    if (m_keyUsed == 0 && m_pointerUsed == 0 && m_optionsOpen == 0 && m_creditsOpen == 0 &&
        p_PlayKeyAll(action::kPause, 1) != 0) {
        vo_app_EndApp();
    }

    // 3. The options button.
    int confirm = p_MenuOptionsButton();
    // 4. The level wheel: drags, taps and its discs; a tap on the selected level confirms it.
    confirm |= p_MenuWheel();
    // 5. The keys: the wheel, the focus and fire on the focused item.
    confirm |= p_MenuKeys();
    // 6. The statistics of the selected level.
    p_MenuStats();
    // 7. The credits strip with the play button, drawn after the rest so that it covers them
    // as it opens.
    confirm |= p_MenuStrip();

    // 8. The level to play follows the wheel.
    m_level = std::clamp(m_levelSel + 1, 1, progress::kLevels);
    // 9. Starting it, when the wheel, the keys or the play button confirmed it.
    if (confirm != 0) p_ConfirmLevel();

    // 10. The credits panel with its technical figures.
    p_MenuCredits();
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_LevelOpen(int i) {
    if (i == 0) return 1;
    if (i < 0 || i > progress::kLastLevelIndex) return 0;
    return m_progress[progress::RecordOf(i + 1)] > 0 || m_progress[progress::RecordOf(i)] > 0 ? 1 : 0;
}

int c_MyApp::p_SelectLevel(int i) {
    i = std::clamp(i, 0, progress::kLastLevelIndex);
    if (i == m_levelSel) return 0;
    m_levelSel = i;
    p_PlaySFX(sfx::kClick, kFullVolume);
    return 0;
}

int c_MyApp::p_ConfirmLevel() {
    m_keyUsed = 1;
    m_pointerUsed = 1;
    if (p_LevelOpen(m_levelSel) == 0) {
        p_PlaySFX(sfx::kRefusal, kFullVolume);
        return 0;
    }
    p_PlaySFX(sfx::kConfirm, kFullVolume);
    m_inputMode = m_pointerDown != 0 ? inputmode::kPointer : inputmode::kKeys;
    for (int key = action::kUse; key <= action::kNextSkill; ++key) {
        if (p_PlayKeyAll(key, 1) != 0) m_inputMode = inputmode::kFire;
    }
    m_settings[0] = m_levelSel == 0
                        ? kFirstLevelPenguins
                        : m_progress[progress::RecordOf(m_levelSel)];
    m_wheelPos = static_cast<float>(-progress::kWheelStep * m_levelSel);
    m_mode = screen::kStartLevel;
    return 0;
}

int c_MyApp::p_MenuOptionsButton() {
    const float drop = static_cast<float>(m_titleDrop);
    const float x = kTitleGearX + kGearDropX * drop, y = jscrh - kTitleGearRise - kGearDropY * drop;
    const int turn = (m_menuTurn / kGearFrameUpdates) % image::kGearFrames;
    p_ResetDraw();
    p_DrawImg(image::kButtons, x, y, static_cast<float>(image::kGearFrame + turn));
    if (m_menuCursor == menu::kOptionsFocus) p_DrawImg(image::kButtons, x, y, image::kFocusRingFrame);
    if (m_keyUsed == 0 && m_pointerUsed == 0 && m_optionsOpen == 0 && m_creditsOpen == 0 &&
        p_MouseIn_Centered(x, y, kGearArea, kGearArea) == 1) {
        m_optionsOpen = 1;
        m_keyUsed = 1;
        m_pointerUsed = 1;
        p_PlaySFX(sfx::kClick, kFullVolume);
    }
    return 0;
}

int c_MyApp::p_MenuWheel() {
    static const std::array<String, progress::kLevels> kNumbers = [] {
        std::array<String, progress::kLevels> numbers;
        for (int i = 0; i < progress::kLevels; ++i) numbers[i] = String(i + 1);
        return numbers;
    }();
    const float centreX = jscrw - (m_creditsX + kStripWidth) - kWheelFromStrip;
    const float topY = jscrh / 2 + kWheelBelowMiddle;
    const float lastPos = static_cast<float>(-progress::kWheelStep * progress::kLastLevelIndex);
    int confirm = 0;

    // A drag spins the wheel by how far it has gone left and up from where it began; letting go
    // after hardly moving is a tap on the disc first pressed.
    if (m_dragOn == 1) {
        if (m_pointerDown == 0) {
            m_dragOn = 0;
            if (m_dragStray < kTapSlop && m_dragDisc >= 0) p_SelectLevel(m_dragDisc);
        } else {
            const float left = m_dragX - static_cast<float>(m_mouseX), up = m_dragY - static_cast<float>(m_mouseY);
            m_dragStray = std::max(m_dragStray, std::fabs(left) + std::fabs(up));
            m_wheelSpin = std::clamp(m_wheelSpin - kDragSpin * (left + up), -kSpinLimit, kSpinLimit);
        }
    } else if (m_keyUsed == 0 && m_pointerUsed == 0 && m_optionsOpen == 0 && m_creditsOpen == 0 &&
               p_MouseIn_Centered(centreX, topY, kDragArea, kDragArea) == 1 &&
               p_MouseIn(-1, -1, jscrw - (m_creditsX + kStripWidth) + 1, jscrh + 2) == 1 &&
               p_MouseIn_Centered(kTitleGearX + kGearDropX * static_cast<float>(m_titleDrop),
                                  jscrh - kTitleGearRise - kGearDropY * static_cast<float>(m_titleDrop), kGearArea,
                                  kGearArea) == 0) {
        const float at = -m_wheelPos / static_cast<float>(progress::kWheelStep);
        int pressed = -1;
        for (int i = 0; i <= progress::kLastLevelIndex; ++i) {
            const Disc d = PlaceDisc(i, at, centreX, topY);
            const float reach = kDiscPixels * d.size;
            if (d.alpha > 0 && p_MouseIn_Centered(d.x, d.y, reach, reach) == 1) pressed = i;
        }
        if (pressed >= 0 && pressed == m_levelSel && m_wheelSpin == 0) {
            m_menuCursor = menu::kWheelFocus;
            confirm = 1;
        } else {
            m_dragOn = 1;
            m_dragX = static_cast<float>(m_mouseX);
            m_dragY = static_cast<float>(m_mouseY);
            m_dragStray = 0;
            m_dragDisc = pressed;
        }
        m_pointerUsed = 1;
    }

    // A spinning wheel selects every level that passes the top; a still one eases onto its level.
    if (m_wheelSpin != 0) {
        m_wheelPos = std::clamp(m_wheelPos + m_wheelSpin, lastPos, 0.0f);
        if (m_wheelPos == lastPos || m_wheelPos == 0) m_wheelSpin = 0;
        const int top = vo_game_Trunc(-m_wheelPos / static_cast<float>(progress::kWheelStep) + 0.5f);
        while (m_levelSel != top) p_SelectLevel(m_levelSel + (top > m_levelSel ? 1 : -1));
        m_wheelSpin *= kSpinDecay;
        if (std::fabs(m_wheelSpin) < kSpinStop) m_wheelSpin = 0;
    } else {
        const float rest = static_cast<float>(-progress::kWheelStep * m_levelSel);
        m_wheelPos += (rest - m_wheelPos) * kSettle;
        if (std::fabs(rest - m_wheelPos) < kSettled) m_wheelPos = rest;
    }

    const float at = -m_wheelPos / static_cast<float>(progress::kWheelStep);
    for (int i = 0; i <= progress::kLastLevelIndex; ++i) {
        const Disc d = PlaceDisc(i, at, centreX, topY);
        if (d.alpha <= 0) continue;
        p_ResetDraw();
        p_Alpha(d.alpha);
        p_SetSize(d.size);
        p_DrawImg(image::kButtons, d.x, d.y,
                  static_cast<float>(p_LevelOpen(i) == 1 ? image::kLevelFrame : image::kLockedLevelFrame));
        if (i == m_levelSel && m_menuCursor == menu::kWheelFocus) p_DrawImg(image::kButtons, d.x, d.y, image::kFocusRingFrame);
        p_SetSize(kNumberSize * d.size);
        p_Text(d.x, d.y, kNumbers[i], kAlignCentre, kAlignCentre);
    }
    p_ResetDraw();
    return confirm;
}

int c_MyApp::p_MenuKeys() {
    if (m_keyUsed != 0 || m_pointerUsed != 0 || m_optionsOpen != 0) return 0;
    const bool fire = p_PlayKey(action::kUse, 1, 0) != 0 || p_PlayKey(action::kSpeedUp, 1, 0) != 0 ||
                      p_PlayKey(action::kButton2, 1, 0) != 0;
    auto take = [this] {
        m_keyUsed = 1;
        m_pointerUsed = 1;
    };
    // Over the open credits panel fire closes it; the other keys hurry its scroll.
    if (m_creditsOpen == 1) {
        if (fire) {
            take();
            m_creditsOpen = 0;
            p_PlaySFX(sfx::kClick, kFullVolume);
        }
        return 0;
    }

    if (m_menuCursor == menu::kWheelFocus) {
        const int step = p_PlayKey(action::kUp, 1, 0) != 0 ? -1 : p_PlayKey(action::kDown, 1, 0) != 0 ? 1 : 0;
        const int next = std::clamp(m_levelSel + step, 0, progress::kLastLevelIndex);
        if (next != m_levelSel) {
            take();
            p_SelectLevel(next);
            m_wheelSpin = 0;
            m_wheelPos = static_cast<float>(-progress::kWheelStep * m_levelSel);
            return 0;
        }
    }
    const int move = p_PlayKey(action::kLeft, 1, 0) != 0 ? -1 : p_PlayKey(action::kRight, 1, 0) != 0 ? 1 : 0;
    const int focus = std::clamp(m_menuCursor + move, menu::kOptionsFocus, menu::kCreditsFocus);
    if (focus != m_menuCursor) {
        take();
        m_menuCursor = focus;
        p_PlaySFX(sfx::kClick, kFullVolume);
        return 0;
    }

    if (!fire) return 0;
    take();
    switch (m_menuCursor) {
        case menu::kOptionsFocus:
            m_optionsOpen = 1;
            p_PlaySFX(sfx::kClick, kFullVolume);
            return 0;
        case menu::kCreditsFocus:
            m_creditsOpen = 1;
            m_creditsTop = 0;
            m_creditsScroll = 0;
            p_PlaySFX(sfx::kClick, kFullVolume);
            return 0;
        default: return 1;
    }
}

int c_MyApp::p_MenuStats() {
    if (m_optionsOpen != 0 || m_creditsOpen != 0) return 0;

    // What the selected level starts with: the record of the level before it.
    bool changed = m_statsLevel != m_levelSel;
    for (int k = 0; k <= skill::kCount; ++k) {
        int count = 0;
        if (m_levelSel == 0) {
            count = k == 0 ? kFirstLevelPenguins : k == 1 + skill::kJump ? kFirstLevelJumps : 0;
        } else {
            count = m_progress[progress::RecordOf(m_levelSel) + k];
        }
        changed = changed || count != m_statsCounts[k];
        m_statsCounts[k] = count;
    }
    if (changed) {
        m_statsLevel = m_levelSel;
        p_MakeStatsTexts();
    }

    const float top = jscrh / 2 - kStatsRise;
    p_ResetDraw();
    p_SetCol(255, 220, 90);
    p_Text(kStatsX, top - kStatsGap, m_statsTexts[0], kAlignStart, kAlignStart);
    p_SetCol(255, 255, 255);
    for (int k = 0; k <= skill::kCount; ++k) {
        p_Text(kStatsX, top + kStatsGap * static_cast<float>(k), m_statsTexts[1 + k], kAlignStart, kAlignStart);
    }
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_MakeStatsTexts() {
    static const String kHeading("Level ");
    static const std::array<String, skill::kCount + 1> kLabels = {
        String("Penguins\\n     "), String("Jumps\\n     "),  String("Leaps\\n     "),
        String("Melts\\n     "),    String("Bursts\\n     "), String("Spins\\n     "),
    };
    m_statsTexts[0] = kHeading + String(m_statsLevel + 1);
    for (int k = 0; k <= skill::kCount; ++k) m_statsTexts[1 + k] = kLabels[k] + String(m_statsCounts[k]);
    return 0;
}

int c_MyApp::p_MenuStrip() {
    static const String kTitle("Credits"), kPlay("Play");
    const float width = m_creditsX + kStripWidth, left = jscrw - width;
    const float opened = std::clamp(m_creditsX / std::max(1.0f, jscrw - kStripWidth), 0.0f, 1.0f);
    const float middle = left + width / 2;
    const bool focused = m_menuCursor == menu::kCreditsFocus;

    p_ResetDraw();
    p_SetCol(0, 8, 24, kStripAlpha + (kStripOpenAlpha - kStripAlpha) * opened);
    p_Rect(left, -1, width + 1, jscrh + 2);
    if (focused) {
        p_SetCol(255, 220, 90, 1);
    } else {
        p_SetCol(120, 170, 220, 0.6f);
    }
    p_Rect(left, -1, kStripEdge, jscrh + 2);

    // The title and the play button belong to the closed strip and fade as it opens.
    const float playY = jscrh - kPlayRise;
    p_Alpha(1 - opened);
    p_SetSize(kStripTitleSize);
    if (!focused) p_SetCol(255, 255, 255);
    p_Text(middle, kStripTitleY, kTitle, kAlignCentre, kAlignCentre);
    p_SetCol(255, 255, 255);
    p_SetSize(1);
    p_Text(middle, jscrh - kPlayLabelRise, kPlay, kAlignCentre, kAlignCentre);
    p_SetSize(kPlaySize);
    p_DrawImg(image::kIcons, middle, playY, image::kPlayIconFrame);
    p_ResetDraw();

    if (m_keyUsed != 0 || m_pointerUsed != 0 || m_optionsOpen != 0) return 0;
    if (m_creditsOpen == 1) {
        // A press anywhere on the open panel closes it again.
        if (m_pointerDown != 0 && p_MouseIn(left - 1, -1, width + 2, jscrh + 2) == 1) {
            m_creditsOpen = 0;
            m_keyUsed = 1;
            m_pointerUsed = 1;
            p_PlaySFX(sfx::kClick, kFullVolume);
        }
        return 0;
    }
    if (p_MouseIn_Centered(middle, playY, kPlayArea, kPlayArea) == 1) {
        m_menuCursor = menu::kWheelFocus;
        m_keyUsed = 1;
        m_pointerUsed = 1;
        return 1;
    }
    if (p_MouseIn(left - 1, -1, width + 2, jscrh + 2) == 1) {
        m_keyUsed = 1;
        m_pointerUsed = 1;
        if (!focused) {
            m_menuCursor = menu::kCreditsFocus;
        } else {
            m_creditsOpen = 1;
            m_creditsTop = 0;
            m_creditsScroll = 0;
        }
        p_PlaySFX(sfx::kClick, kFullVolume);
    }
    return 0;
}

int c_MyApp::p_MenuCredits() {
    static const String kFigures("Debug Stats"), kEngine("Engine : "), kScreen("Screen : "), kFps("FPS : "),
        kTimes("x"), kBetween(" : "), kCodedIn("Coded in C++");
    if (m_creditsOpen == 1) {
        float fall = kCreditDrift;
        for (int pad = 0; pad < action::kPads; ++pad) {
            if (p_PlayKey(action::kUp, 1, pad) != 0 || p_PlayKey(action::kDown, 1, pad) != 0) {
                fall += kCreditHurry;
                break;
            }
        }
        m_creditsScroll -= fall;
        while (m_creditsScroll < -kCreditLineHeight) {
            m_creditsScroll += kCreditLineHeight;
            m_creditsTop = (m_creditsTop + 1) % kCreditWrap;
        }
    }

    // The panel fades in and out with its slide.
    const float opened = std::clamp(m_creditsX / std::max(1.0f, jscrw - kStripWidth), 0.0f, 1.0f);
    if (opened <= 0) return 0;
    const float middle = jscrw - (m_creditsX + kStripWidth) / 2;
    p_ResetDraw();
    p_Alpha(opened);
    p_Text(middle, kFiguresTop, kFigures, kAlignCentre, kAlignCentre);
    // The figures change from update to update, so they are put together in place.
    p_Text(middle, kFiguresTop + kFiguresGap,
           c_TextLine().Add(kEngine).Add(vo_game_Trunc(jscrw)).Add(kTimes).Add(vo_game_Trunc(jscrh)).View(),
           kAlignCentre, kAlignCentre);
    p_Text(middle, kFiguresTop + 2 * kFiguresGap,
           c_TextLine().Add(kScreen).Add(vo_app_DeviceWidth()).Add(kTimes).Add(vo_app_DeviceHeight()).View(),
           kAlignCentre, kAlignCentre);
    p_Text(middle, kFiguresTop + 3 * kFiguresGap,
           c_TextLine().Add(kFps).Add(m_renderFps).Add(kBetween).Add(m_updFpsAvg).View(), kAlignCentre, kAlignCentre);

    const float centre = jscrh / 2 + kCreditWindowBelowMiddle;
    const float reach = kCreditLineHeight * (kCreditLines / 2);
    p_SetSize(kCreditSize);
    for (int k = 0; k < kCreditLines; ++k) {
        const float y = centre + kCreditLineHeight * static_cast<float>(k - (kCreditLines / 2 - 1)) + m_creditsScroll;
        p_Alpha(opened * std::clamp((reach - std::fabs(y - centre)) / kCreditFade, 0.0f, 1.0f));
        p_Text(middle, y, CreditText[(m_creditsTop + k) % kCreditWrap], kAlignCentre, kAlignCentre);
    }
    p_SetSize(1);
    p_Alpha(opened);
    p_Text(middle, centre + reach + kCreditLineHeight, kCodedIn, kAlignCentre, kAlignCentre);
    p_ResetDraw();
    return 0;
}
