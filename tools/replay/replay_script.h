// Input scripts: a line-based record of what a player did, by update number, that the replay
// runner plays back on the headless game. The reader takes outside input: every number is
// bounded, every word checked, and a bad line is reported with its number.
//
// One command a line; '#' starts a comment; words are separated by spaces or tabs. Numbers are
// whole unless said otherwise. The runner counts the updates the game has run; an event line
// takes effect between two updates, so the next update is the first to see it.
//
//   at N                  run updates until N have run in all (0 to 1000000)
//   wait N                run N more updates (0 to 1000000)
//   until COND [MAX]      run updates until COND holds, at most MAX (1 to 1000000, default
//                         36000); COND not holding by then fails the run. COND is one of:
//                           loaded   the loader is idle
//                           mode N   the screen state is N (1 title, 2 level done, 10 in a level)
//                           end      a level has ended since this line began
//   start LEVEL PENGUINS  once the loader is idle (as `until loaded`), start level 1 to 15 with
//                         1 to 50 penguins, as the title screen does
//   title LEVEL           start level 1 to 15 from the title screen by keys, as a player does: once
//                         the title takes keys (the loader idle, the end banner gone, no panel
//                         open), move the focus to the level wheel, turn it with the arrow keys
//                         and confirm with Enter; the level's first update runs after the line.
//                         Fails when the level does not start (it is locked)
//   enter LEVEL PENGUINS J L M B S
//                         once the loader is idle, start level 1 to 15 with 1 to 50 penguins as
//                         if the level before had left these skill counters (its record is
//                         written so; level 1 takes its own) and build it: the level's first
//                         update runs after the line. A kept replay starts so
//   carry KEY POINTER RAMPX RAMPY ROW HUD ICADE PADS
//                         what a level's first update inherited where the replay was recorded:
//                         the key and pointer latches (0 or 1), the key ramps (decimals from -1
//                         to 1), the options box's row (0 to 3), the HUD hidden (0 or 1), the
//                         iCade on (0 or 1) and its held buttons (a mask of bits 0 to 18)
//   window W H            the window becomes W by H pixels (160 to 16384), as a resize does
//   expect end R N S      fails unless the last level end had reason R (0 to 9), N rescued and
//                         score S
//   expect penguins P     fails unless the level in play was built with P penguins (0 to 50)
//   expect counters J L M B S
//                         fails unless the five skill counters read these now (0 to 9999)
//   key down CODE         press or release a keyboard key by its framework code (Windows
//   key up CODE           virtual-key numbering: 74 J, 32 space, 37 to 40 the arrows, ...);
//   key tap CODE          tap is down, one update, up. F4 (115) ends the program: refused
//   char CODE             a typed character by Unicode code point (the iCade types letters)
//   pointer move X Y      the mouse pointer to virtual pixel (X, Y), -10000 to 10000
//   pointer down X Y [B]  move there and press mouse button B (0 left, 1 right, 2 middle; 0)
//   pointer up [B]        release button B where the pointer is
//   touch down F X Y      finger F (0 to 31) down at virtual pixel (X, Y)
//   touch move F X Y      finger F moves there
//   touch up F            finger F lifts
//   pad down P B          press button B (0 to 13, as the game numbers them) of pad P (0 to 3)
//   pad up P B            release it
//   pad stick P S X Y     stick S (0 left, 1 right) of pad P at X, Y: decimals from -1 to 1,
//                         x to the right, y up
//   focus off             the window loses the focus: the game is suspended (it saves, and a
//                         level pauses) and no update runs until `focus on` gives it back
//   focus on
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "game/defs.h"
#include "game/level_fields.h"

// Bounds of a script: updates it may run in the worst case, commands, and the default of `until`.
constexpr int kReplayMaxUpdates = 1000000;
constexpr int kReplayMaxCommands = 200000;
constexpr int kReplayUntilDefault = 36000;
// The most bytes of a script file: the most commands, each a line of a few dozen characters.
constexpr long long kReplayScriptFileLimit = 16 << 20;
// The most updates `title` spends on keys after the title is ready: a tap and a free update for
// each focus move and wheel step, and the confirm.
constexpr int kReplayTitleKeyUpdates = 2 * (2 + progress::kLevels) + 1;

enum class c_ReplayOp : unsigned char {
    kAt,
    kWait,
    kUntil,
    kStart,
    kTitle,
    kEnter,
    kCarry,
    kWindow,
    kExpectEnd,
    kExpectPenguins,
    kExpectCounters,
    kKeyDown,
    kKeyUp,
    kKeyTap,
    kChar,
    kPointerMove,
    kPointerDown,
    kPointerUp,
    kTouchDown,
    kTouchMove,
    kTouchUp,
    kPadDown,
    kPadUp,
    kPadStick,
    kFocusOff,
    kFocusOn,
};

// The words of `carry` after the carried fields, in m_carry.
enum c_CarryField { kCarryICade, kCarryPads, kCarryFields };

enum class c_ReplayCondition : unsigned char { kLoaded, kMode, kEnd };

struct c_ReplayCommand {
    c_ReplayOp m_op = c_ReplayOp::kWait;
    // The script line it came from, from 1.
    int m_line = 0;
    // at, wait: updates; until: the most updates; start, title, enter: the level; key, char: the
    // code; window: the width; expect end: the reason.
    int m_number = 0;
    // start, enter, expect penguins: penguins; until mode: the mode; pointer: the button; touch:
    // the finger; pad: the pad; window: the height; expect end: the rescued.
    int m_index = 0;
    // enter, expect counters: the five skill counters. expect end: the score first.
    int m_counters[skill::kCount] = {};
    // carry: the carried fields (the latches, the key ramps, the options row, the HUD flag), then
    // the iCade and its held buttons.
    c_LevelFields m_carried;
    int m_carry[kCarryFields] = {};
    // pad down, up: the button; pad stick: the stick.
    int m_button = 0;
    c_ReplayCondition m_condition = c_ReplayCondition::kLoaded;
    // pointer, touch: the virtual pixel; pad stick: the stick's position.
    float m_x = 0, m_y = 0;
};

struct c_ReplayScript {
    std::vector<c_ReplayCommand> m_commands;
};

// What went wrong, and on which script line (0 when no line is to blame).
struct c_ReplayError {
    int m_line = 0;
    std::string m_message;
    // "line N: message", or the message alone.
    std::string p_Text() const;
};

// Reads a whole script into commands; false with the first bad line's error.
bool vo_replay_ParseScript(std::string_view text, c_ReplayScript& script, c_ReplayError& error);

// Whether the script is a replay the game kept: it starts a level with `enter` and its last line
// checks the level's end with `expect end`.
bool vo_replay_IsKeptReplay(const c_ReplayScript& script);

// The window-system key that the desktop host translates to this framework key code, or -1
// when no keyboard key has that code.
int vo_replay_KeyboardKey(int code);
