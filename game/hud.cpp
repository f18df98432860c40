// What is drawn over a level in play: the skill slots with their counters, the timer and the
// hints of the first levels; and the pause request, by key or by the pause button.
#include <algorithm>
#include <array>

#include "game/menu_layout.h"
#include "game/my_app.h"
#include "game/stored_levels.h"
#include "game/text_line.h"
#include "game/truncate.h"

namespace {

constexpr int kSlots = skill::kCount;
constexpr int kSlotInset = menu_layout::kHudSlotInset;
constexpr float kSlotHeight = menu_layout::kHudSlotHeight;
constexpr float kSlotTop = menu_layout::kHudSlotTop;
constexpr float kSlotMiddle = menu_layout::kHudSlotMiddle;
constexpr float kCounterSize = 2;
constexpr float kSelectedAlpha = 0.75f;
constexpr float kBoxAlpha = 0.5f;
constexpr float kTimerInset = 32;
constexpr float kTimerSize = 2;
constexpr int kStepsPerSecond = kRunningRate;
// Text alignment: left or top, centred, right.
constexpr float kAlignStart = 0, kAlignCentre = 1, kAlignEnd = 2;
// The level was started with the pointer: key hints and the faded pause button are not needed.
constexpr int kPointerInput = 2;
constexpr float kPauseCorner = menu_layout::kHudPauseCorner;
constexpr float kPauseFadedAlpha = 0.2f;
constexpr float kPauseSoundVolume = 0.5f;

// The first levels teach the controls, next to where the player looks.
struct Hint {
    int level;
    // Speeding up is worth knowing about once penguins walk back the long way.
    bool onceFacingLeft;
    const char* text;
    float fromMiddle, y;
};

// Where the first hints and every map's hint stand: left of the middle, under the top edge.
constexpr float kLeftHintX = -240, kLeftHintY = 64;

constexpr Hint kHints[] = {
    {1, false, "Use skills sparingly.\\nThey carry through the game.", kLeftHintX, kLeftHintY},
    {2, false, "Collect extra skills\\nto refill the counters.", kLeftHintX, kLeftHintY},
    {3, false, "Use ¬U and ¬O\\nto switch skills.", 32, 64},
    {4, false, "Use ¬A and ¬D\\nto select penguins.", 32, 64},
    {4, true, "Hold ¬K to\\nspeed up", 32, 160},
};
constexpr int kHintCount = static_cast<int>(std::size(kHints));

}  // namespace

int c_MyApp::p_DrawHud() {
    // The texts are made once; the counters and the timer are put together in place.
    static const String kPrevKey("¬U"), kNextKey("¬O");
    static const std::array<String, kHintCount> kHintTexts = [] {
        std::array<String, kHintCount> texts;
        for (int i = 0; i < kHintCount; ++i) texts[i] = String(kHints[i].text);
        return texts;
    }();
    static const std::array<String, kLastStoredLevel + 1> kMapHints = [] {
        std::array<String, kLastStoredLevel + 1> texts;
        for (int n = kFirstMapHintLevel; n <= kLastStoredLevel; ++n) texts[n] = String(vo_levels_Hint(n));
        return texts;
    }();

    const int w = menu_layout::HudSlotPart(jscrw);
    const float boxWidth = static_cast<float>(w - 2 * kSlotInset);
    const float top = jscrh - kSlotTop;
    auto slotRight = [&](int i) { return menu_layout::HudSlotRight(i, w); };
    p_ResetDraw();

    if (m_hideHud == 0) {
        for (int i = 0; i < kSlots; ++i) {
            const float right = slotRight(i), left = right - boxWidth;
            const int selected = vo_game_Trunc(m_player[play::kSkill]);
            const int counter = vo_game_Trunc(m_player[play::kCounters + i]);
            if (i == selected) {
                p_SetCol(255, 255, 0, kSelectedAlpha);
                p_Rect(left, top, boxWidth, kSlotHeight);
            }
            p_SetCol(0, 0, 0, kBoxAlpha);
            p_Rect(left, top, boxWidth, kSlotHeight);

            // One tap selects the skill and hands it to the selected penguin in the next update.
            if (m_pointerDown != 0 && m_pointerUsed == 0 && counter > 0 && p_MouseIn(left, top, boxWidth, kSlotHeight) == 1) {
                if (i != selected) {
                    m_player[play::kSkill] = static_cast<float>(i);
                    p_PlaySFX(sfx::kClick, 1);
                }
                m_tapSkill = i;
                m_pointerUsed = 1;
                p_PlaySFX(sfx::kConfirm, 1);
            }

            p_SetCol(255, 255, 255, 1);
            p_SetSize(kCounterSize);
            p_Text(right, jscrh - kSlotMiddle, c_TextLine(counter).View(), kAlignEnd, kAlignCentre);
            p_SetSize(1);
            if (counter > 0) {
                p_DrawImg(image::kTiles, menu_layout::HudSlotIconX(i, w), jscrh - kSlotMiddle,
                          static_cast<float>(image::kSkillIconFrame + i));
            }
        }
        // The keys that switch skills, over the slots they switch to.
        if (m_inputMode < kPointerInput) {
            const int selected = vo_game_Trunc(m_player[play::kSkill]);
            const int prev = (selected + kSlots - 1) % kSlots, next = (selected + 1) % kSlots;
            const float back = static_cast<float>(w - kSlotInset);
            p_Text(slotRight(prev) - back, top, kPrevKey, kAlignStart, kAlignStart);
            p_Text(slotRight(next) - back, top, kNextKey, kAlignStart, kAlignStart);
        }
    }

    int seconds = vo_game_Trunc(m_player[play::kTimer] / kStepsPerSecond);
    if (seconds < 0) {
        seconds = 0;
        p_EndLevel(ending::kOutOfTime);
    }
    if (m_hideHud == 0) {
        p_SetSize(kTimerSize);
        p_Text(jscrw - kTimerInset, kTimerInset, c_TextLine(seconds).View(), kAlignCentre, kAlignCentre);
        p_SetSize(1);
    }

    if (m_inputMode < kPointerInput) {
        for (int i = 0; i < kHintCount; ++i) {
            const Hint& hint = kHints[i];
            if (hint.level != m_level || (hint.onceFacingLeft && m_facedLeft == 0)) continue;
            p_Text(jscrw / 2 + hint.fromMiddle, hint.y, kHintTexts[i], kAlignStart, kAlignStart);
        }
        if (m_level >= kFirstMapHintLevel && m_level <= kLastStoredLevel && !kMapHints[m_level].Empty()) {
            p_Text(jscrw / 2 + kLeftHintX, kLeftHintY, kMapHints[m_level], kAlignStart, kAlignStart);
        }
    }
    m_facedLeft = 0;
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_OpenPause() {
    m_keyUsed = 1;
    m_paused = 1;
    m_pauseDir = 1;
    m_pauseY = screen::kPausePanelHidden;
    m_pauseCursor = menu::kContinueItem;
    p_PlaySFX(sfx::kConfirm, kPauseSoundVolume);
    return 0;
}

int c_MyApp::p_InGame() {
    // The level stays as it was last drawn; what was drawn over it is drawn afresh.
    if (m_paused == 1) m_drawCount = std::min(m_drawCount, m_levelDrawn);
    p_ResetDraw();
    if (m_paused == 0 && m_keyUsed == 0 && p_PlayKeyAll(action::kPause, 1) != 0) p_OpenPause();
    if (m_hideHud == 0) {
        if (m_inputMode != kPointerInput) p_Alpha(kPauseFadedAlpha);
        // The button answers a press even while the pointer is taken, so pausing never waits
        // for a release.
        if (p_PauseButton(kPauseCorner, kPauseCorner, image::kPauseIconFrame) == 1 && m_paused == 0) {
            m_pointerUsed = 1;
            p_OpenPause();
        }
        p_Alpha(1);
    }
    if (m_paused == 1) p_PauseMenu();
    return 0;
}
