// The pause panel over a paused level: its slide and veil, and quit, restart, continue and
// options under the key cursor or the pointer.
#include <algorithm>
#include <array>
#include <cmath>

#include "game/menu_layout.h"
#include "game/my_app.h"
#include "game/truncate.h"

namespace {

// Where the panel opens, how far it travels and where its rows lie: menu_layout.h.
using menu_layout::kPauseFirstRowRise;
using menu_layout::kPauseOpenAt;
using menu_layout::kPausePanelTravel;
using menu_layout::kPauseRowGap;
using menu_layout::kPauseRowHalfWidth;

// The panel's position moves 24 pixels an update to where it opens and back up; the pause ends
// once it is above -32.
constexpr int kPauseSpeed = 24;
constexpr int kPauseGone = -32;
// The veil is black at |position| / (0.8 × screen height).
constexpr float kVeilReach = 0.8f;
constexpr int kPanelFrame = 0;
// "PAUSED" near the panel's top, then one row an item, each with its button, its name and a
// row that the cursor lights and the pointer presses.
constexpr float kTitleRise = 88, kTitleSize = 3;
constexpr float kButtonX = -70, kLabelX = -48, kLabelSize = 2;
constexpr float kRowHalfHeight = 18;
constexpr float kCursorAlpha = 0.3f;

// Sounds: cursor moves quietly and lower, higher for the move down to options; quit and
// restart deeper.
constexpr float kQuiet = 0.5f, kFullVolume = 1;
constexpr float kMoveRate = 0.8f, kMoveToOptionsRate = 1.2f, kDeepRate = 0.5f;

constexpr float kAlignStart = 0, kAlignCentre = 1;

struct Item {
    int item;
    int frame;
    const char* name;
};

constexpr Item kItems[] = {
    {menu::kQuitItem, image::kQuitIconFrame, "Quit"},
    {menu::kRestartItem, image::kRestartIconFrame, "Restart"},
    {menu::kContinueItem, image::kPlayIconFrame, "Continue"},
    {menu::kOptionsItem, image::kGearIconFrame, "Options"},
};
// The key cursor runs from the first item to the last; below the first: nothing chosen.
constexpr int kFirstItem = kItems[0].item, kLastItem = kItems[std::size(kItems) - 1].item;
constexpr int kNoItem = kFirstItem - 1;

}  // namespace

int c_MyApp::p_PauseMenu() {
    static const String kTitle("PAUSED");
    static const std::array<String, std::size(kItems)> kNames = [] {
        std::array<String, std::size(kItems)> names;
        for (size_t i = 0; i < std::size(kItems); ++i) names[i] = String(kItems[i].name);
        return names;
    }();

    // 1. The panel's motion and the veil over the level.
    const int open = vo_game_Trunc(jscrh * kPauseOpenAt);
    if (m_pauseDir == 1) {
        m_pauseY = std::min(m_pauseY + kPauseSpeed, open);
    } else if (m_pauseDir == -1) {
        m_pauseY -= kPauseSpeed;
        if (m_pauseY < kPauseGone) {
            m_paused = 0;
            return 0;
        }
    }
    p_ResetDraw();
    p_SetCol(0, 0, 0, std::fabs(static_cast<float>(m_pauseY)) / (kVeilReach * jscrh));
    p_Rect(-1, -1, jscrw + 2, jscrh + 2);

    // 2. The panel, its title and the four items.
    const float x = jscrw / 2;
    const float y = kPausePanelTravel * static_cast<float>(m_pauseY) - static_cast<float>(open);
    p_ResetDraw();
    p_DrawImg(image::kMenu, x, y, kPanelFrame);
    p_SetSize(kTitleSize);
    p_Text(x, y - kTitleRise, kTitle, kAlignCentre, kAlignCentre);

    // Only a panel that is opening or open takes input, once the latches are free.
    const bool free = m_pauseDir == 1 && m_keyUsed == 0 && m_pointerUsed == 0;
    int chosen = kNoItem;
    int byKey = 0;
    for (size_t i = 0; i < std::size(kItems); ++i) {
        const Item& item = kItems[i];
        const float rowY = y - kPauseFirstRowRise + kPauseRowGap * static_cast<float>(i);
        p_ResetDraw();
        if (item.item == m_pauseCursor) {
            p_SetCol(255, 220, 90, kCursorAlpha);
            p_Rect(x - kPauseRowHalfWidth, rowY - kRowHalfHeight, 2 * kPauseRowHalfWidth, 2 * kRowHalfHeight);
            p_SetCol(255, 255, 255, 1);
        }
        p_DrawImg(image::kIcons, x + kButtonX, rowY, static_cast<float>(item.frame));
        p_SetSize(kLabelSize);
        p_Text(x + kLabelX, rowY, kNames[i], kAlignStart, kAlignCentre);
        if (free && m_pointerDown != 0 &&
            p_MouseIn(x - kPauseRowHalfWidth, rowY - kRowHalfHeight, 2 * kPauseRowHalfWidth, 2 * kRowHalfHeight) == 1) {
            chosen = item.item;
        }
    }
    p_ResetDraw();
    if (!free) return 0;

    // The keys of every pad: up and down move the cursor, fire takes its item, back continues.
    if (chosen == kNoItem) {
        const int step = p_PlayKeyAll(action::kUp, 1) != 0 ? -1 : p_PlayKeyAll(action::kDown, 1) != 0 ? 1 : 0;
        const int next = std::clamp(m_pauseCursor + step, kFirstItem, kLastItem);
        if (next != m_pauseCursor) {
            const bool toOptions = m_pauseCursor == menu::kContinueItem && next == menu::kOptionsItem;
            m_pauseCursor = next;
            m_keyUsed = 1;
            m_pointerUsed = 1;
            p_PlaySFX(sfx::kClick, toOptions ? kMoveToOptionsRate : kMoveRate, kQuiet, 0);
            return 0;
        }
        if (p_PlayKeyAll(action::kUse, 1) != 0) {
            chosen = m_pauseCursor;
            byKey = 1;
        } else if (p_PlayKeyAll(action::kPause, 1) != 0) {
            chosen = menu::kContinueItem;
            byKey = 1;
        }
    }
    if (chosen != kNoItem) p_PauseItem(chosen, byKey);
    return 0;
}

int c_MyApp::p_PauseItem(int item, int byKey) {
    m_keyUsed = 1;
    m_pointerUsed = 1;
    switch (item) {
        case menu::kContinueItem:
            m_pauseDir = -1;
            p_PlaySFX(sfx::kConfirm, kQuiet);
            break;
        case menu::kRestartItem:
            // The driver builds the level again in this same update.
            m_mode = screen::kStartLevel;
            p_PlaySFX(sfx::kConfirm, kDeepRate, kQuiet, 0);
            break;
        case menu::kQuitItem:
            // Ended here rather than through the level's own ending, which would score it.
            m_paused = 0;
            m_pauseDir = -1;
            m_pauseY = screen::kPausePanelHidden;
            m_levelOver = 1;
            m_endReason = ending::kQuit;
            p_PlaySFX(sfx::kConfirm, kDeepRate, kQuiet, 0);
            break;
        case menu::kOptionsItem:
            m_optionsOpen = 1;
            if (byKey == 1) {
                p_PlaySFX(sfx::kConfirm, kQuiet);
            } else {
                p_PlaySFX(sfx::kClick, kFullVolume);
            }
            break;
        default: break;
    }
    return 0;
}
