// What is drawn over a level in play: the skill slots with their counters, the timer, the speed-up
// button, the hints and the level's name; and the pause and restart requests.
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
constexpr float kPauseCorner = menu_layout::kHudPauseCorner;
constexpr float kPauseFadedAlpha = 0.2f;
constexpr float kPauseSoundVolume = 0.5f;

// Which device a hint speaks to: every one, the keys and pads (it names keys), or the pointer.
enum class For { kEvery, kKeys, kPointer };

// One rule for every hint, the first levels' and the maps' alike: a hint for the keys waits for
// keys or a pad, one for the pointer for the pointer.
bool Shown(For device, int inputMode) {
    switch (device) {
        case For::kKeys: return inputMode != inputmode::kPointer;
        case For::kPointer: return inputMode == inputmode::kPointer;
        default: return true;
    }
}

// A map's hint names keys when it draws a key icon.
For DeviceOf(const String& text) {
    return text.View().find(static_cast<char16_t>(glyph::kIconMark)) != std::u16string_view::npos ? For::kKeys : For::kEvery;
}

// The first levels teach the controls, next to where the player looks.
struct Hint {
    int level;
    // Speeding up is worth knowing about once penguins walk back the long way.
    bool onceFacingLeft;
    For device;
    const char* text;
    float fromMiddle, y;
};

// Where the first hints and every map's hint stand: left of the middle, under the top edge; the
// controls' hints right of the middle.
constexpr float kLeftHintX = -240, kLeftHintY = 64;
constexpr float kRightHintX = 32, kRightHintY = 64, kSpeedHintY = 160;

constexpr Hint kHints[] = {
    {1, false, For::kEvery, "Use skills sparingly.\\nThey carry through the game.", kLeftHintX, kLeftHintY},
    {1, false, For::kKeys, "Press ¬J to give the\\nselected penguin a skill.", kRightHintX, kRightHintY},
    {1, false, For::kPointer, "Click a skill below to give\\nit to the selected penguin.", kRightHintX, kRightHintY},
    {2, false, For::kEvery, "Collect extra skills\\nto refill the counters.", kLeftHintX, kLeftHintY},
    {3, false, For::kKeys, "Use ¬U and ¬O\\nto switch skills.", kRightHintX, kRightHintY},
    {3, false, For::kPointer, "Click the slot of the skill\\nyou want: it is used at once.", kRightHintX, kRightHintY},
    {4, false, For::kKeys, "Use ¬A and ¬D\\nto select penguins.", kRightHintX, kRightHintY},
    {4, false, For::kPointer, "Click a penguin\\nto select it.", kRightHintX, kRightHintY},
    {4, true, For::kKeys, "Hold ¬K to\\nspeed up", kRightHintX, kSpeedHintY},
    {4, true, For::kPointer, "Hold the >> button\\nto speed up", kRightHintX, kSpeedHintY},
};
constexpr int kHintCount = static_cast<int>(std::size(kHints));

// The speed-up button: lit while held.
constexpr float kSpeedIdleAlpha = 0.6f;
// The last seconds: the timer turns a warning orange and swells at each second's start.
constexpr int kWarningSeconds = 10;
constexpr float kWarningSwell = 0.25f;
// The level's name: shown for two seconds from the level's start, fading in and out, on a dark
// band that keeps it readable over any level.
constexpr int kNameUpdates = 2 * kStepsPerSecond, kNameFadeIn = 10, kNameFadeOut = 30;
constexpr float kNameBandHeight = 30, kNameBandAlpha = 0.55f, kNameSize = 2;

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
    static const std::array<For, kLastStoredLevel + 1> kMapHintDevices = [] {
        std::array<For, kLastStoredLevel + 1> devices{};
        for (int n = kFirstMapHintLevel; n <= kLastStoredLevel; ++n) devices[n] = DeviceOf(kMapHints[n]);
        return devices;
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
        if (m_inputMode < inputmode::kPointer) {
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
        float size = kTimerSize;
        if (seconds < kWarningSeconds) {
            const float intoSecond = 1 - (m_player[play::kTimer] - static_cast<float>(seconds * kStepsPerSecond)) / kStepsPerSecond;
            size *= 1 + kWarningSwell * (1 - std::clamp(intoSecond, 0.0f, 1.0f));
            p_SetCol(255, 120, 40, 1);
        }
        p_SetSize(size);
        p_Text(jscrw - kTimerInset, kTimerInset, c_TextLine(seconds).View(), kAlignCentre, kAlignCentre);
        p_ResetDraw();

        // The speed-up button, lit while it is held.
        const menu_layout::HudButton speed = menu_layout::HudSpeedButton(jscrw, jscrh, m_levelTop, m_levelBottom);
        const bool held = p_SpeedButtonHeld() != 0;
        p_Alpha(held ? 1 : kSpeedIdleAlpha);
        p_SetSize(speed.size / menu_layout::kHudSpeedSize);
        p_DrawImg(image::kIcons, speed.x, speed.y, static_cast<float>(held ? image::kSpeedHeldIconFrame : image::kSpeedIconFrame));
        p_ResetDraw();
    }

    for (int i = 0; i < kHintCount; ++i) {
        const Hint& hint = kHints[i];
        if (hint.level != m_level || (hint.onceFacingLeft && m_facedLeft == 0) || !Shown(hint.device, m_inputMode)) continue;
        p_Text(jscrw / 2 + hint.fromMiddle, hint.y, kHintTexts[i], kAlignStart, kAlignStart);
    }
    if (m_level >= kFirstMapHintLevel && m_level <= kLastStoredLevel && !kMapHints[m_level].Empty() &&
        Shown(kMapHintDevices[m_level], m_inputMode)) {
        p_Text(jscrw / 2 + kLeftHintX, kLeftHintY, kMapHints[m_level], kAlignStart, kAlignStart);
    }
    m_facedLeft = 0;

    // The level's name over its first two seconds.
    const String& name = p_LevelTitle(m_level);
    if (m_levelAge < kNameUpdates && m_hideHud == 0 && !name.Empty()) {
        const float fade = std::min({1.0f, static_cast<float>(m_levelAge + 1) / kNameFadeIn,
                                     static_cast<float>(kNameUpdates - m_levelAge) / kNameFadeOut});
        p_SetCol(0, 0, 0, kNameBandAlpha * fade);
        p_Rect(-1, menu_layout::kLevelNameY - kNameBandHeight / 2, jscrw + 2, kNameBandHeight);
        p_SetCol(255, 240, 200, fade);
        p_SetSize(kNameSize);
        p_Text(jscrw / 2, menu_layout::kLevelNameY, name, kAlignCentre, kAlignCentre);
    }
    ++m_levelAge;
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_SpeedButtonHeld() {
    if (m_hideHud != 0 || m_pointerDown == 0) return 0;
    const menu_layout::HudButton speed = menu_layout::HudSpeedButton(jscrw, jscrh, m_levelTop, m_levelBottom);
    return p_MouseIn_Centered(speed.x, speed.y, speed.size, speed.size);
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
    // The restart key, paused or not, until the level is over.
    if (m_levelOver == 0 && m_keyUsed == 0 && p_PlayKeyAll(action::kRestart, 1) != 0) {
        p_PauseItem(menu::kRestartItem, 1);
        return 0;
    }
    if (m_hideHud == 0) {
        if (m_inputMode != inputmode::kPointer) p_Alpha(kPauseFadedAlpha);
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
