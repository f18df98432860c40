// The record of the level in play that becomes its replay: what the input read at the level's
// start, and every change to it since, by update, in arrays sized once.
#pragma once

#include "game/defs.h"
#include "game/level_fields.h"

namespace replay {
// Changes kept for one attempt; a level with more (a long pause spent moving the pointer) is
// not kept. The written script stays under the player-file size limit.
constexpr int kEvents = 16384;
// Updates of one attempt at most: more than the runner plays in one script is not kept.
constexpr int kMostUpdates = 900000;
// The keyboard codes an action may read (a dozen letters, the arrows and a few more).
constexpr int kMostKeys = 48;
// Pad buttons a pad can press (the host's layouts fill no others), and the analogue sticks read,
// of each of the action pads.
constexpr int kPadButtons = 14;
constexpr int kSticks = 2;
// Virtual pixels a pointer line may name; further out, nothing on screen is under it.
constexpr int kCoordinateLimit = 10000;
// The window sizes a replay may name, from a small window to beyond any screen.
constexpr int kLeastWindow = 160, kMostWindow = 16384;
// The folder beside the saved state, and each level's file in it.
constexpr const char* kFolder = "./floeward-replays/";
constexpr const char* kFilePrefix = "level-";
constexpr const char* kFileSuffix = ".script";

// Where an attempt's recording stands.
enum class Phase { kIdle, kBuilt, kRecording, kOverflow };

// What a change is; the script line each becomes is in game/replays.cpp.
enum class Change : unsigned char {
    kKeyDown,
    kKeyUp,
    kPadDown,
    kPadUp,
    kPointerMove,
    kPointerDown,
    kPointerUp,
    kTouchDown,
    kTouchMove,
    kTouchUp,
    kStick,
    kChar,
    kWindow,
    kFocusOff,
    kFocusOn,
};
}  // namespace replay

// What the game reads of the input in one update, in the game's own terms: held keys and pad
// buttons, the pointer and touch points in virtual pixels, the sticks, the window's size.
struct c_InputState {
    bool m_keys[replay::kMostKeys] = {};
    bool m_padButtons[action::kPads][replay::kPadButtons] = {};
    float m_sticks[action::kPads][replay::kSticks][2] = {};
    bool m_pointerDown = false;
    int m_pointerX = 0, m_pointerY = 0;
    // Touch points after the first, which is the pointer.
    bool m_touchDown[touch::kPoints] = {};
    int m_touchX[touch::kPoints] = {}, m_touchY[touch::kPoints] = {};
    int m_width = 0, m_height = 0;
};

struct c_ReplayChange {
    // The level's update before which it happened (0 is the first).
    int m_update = 0;
    replay::Change m_change = replay::Change::kKeyDown;
    // The key code, pad × kPadButtons + button, finger, pad × kSticks + stick, or character.
    int m_code = 0;
    // Virtual pixels, a stick's x and y (y up), or the window's size.
    float m_x = 0, m_y = 0;
};

struct c_ReplayLog {
    replay::Phase m_phase = replay::Phase::kIdle;
    // The level as built: its number, penguins and skill counters, and the window's size.
    int m_level = 0;
    int m_penguins = 0;
    int m_counters[skill::kCount] = {};
    int m_width = 0, m_height = 0;
    // What the level's first update inherits from the title or the attempt before: the carried
    // fields (latches, key ramps, the options box's row, the HUD flag), the iCade and its held
    // buttons.
    c_LevelFields m_carried;
    int m_iCade = 0, m_padMask = 0;
    // Updates recorded, the input as the last of them read it, and the changes.
    int m_updates = 0;
    c_InputState m_last;
    int m_count = 0;
    c_ReplayChange m_changes[replay::kEvents];
};
