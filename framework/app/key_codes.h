// The framework's key codes, 1 to 511: keyboard keys in Windows virtual-key numbering, mouse
// buttons, pad buttons, touch points and the back and close events, named once for host and game.
#pragma once

// Mouse buttons 0 to 2.
constexpr int KEY_LMB = 1, KEY_RMB = 2, KEY_MMB = 3;

// Keyboard keys. Digits and letters are their characters ('0' to '9', 'A' to 'Z').
constexpr int KEY_BACKSPACE = 8, KEY_TAB = 9, KEY_ENTER = 13, KEY_SHIFT = 16, KEY_CONTROL = 17;
constexpr int KEY_ESCAPE = 27, KEY_SPACE = 32, KEY_PAGEUP = 33, KEY_PAGEDOWN = 34, KEY_END = 35, KEY_HOME = 36;
constexpr int KEY_LEFT = 37, KEY_UP = 38, KEY_RIGHT = 39, KEY_DOWN = 40, KEY_INSERT = 45, KEY_DELETE = 46;
// The keypad's digits follow KEY_NUM0.
constexpr int KEY_NUM0 = 96, KEY_NUMMULTIPLY = 106, KEY_NUMADD = 107, KEY_NUMSUBTRACT = 109;
constexpr int KEY_NUMDECIMAL = 110, KEY_NUMDIVIDE = 111;
constexpr int KEY_F1 = 112, KEY_F2 = 113, KEY_F3 = 114, KEY_F4 = 115, KEY_F5 = 116, KEY_F6 = 117;
constexpr int KEY_F7 = 118, KEY_F8 = 119, KEY_F9 = 120, KEY_F10 = 121, KEY_F11 = 122, KEY_F12 = 123;
constexpr int KEY_SEMICOLON = 186, KEY_EQUALS = 187, KEY_COMMA = 188, KEY_MINUS = 189, KEY_PERIOD = 190;
constexpr int KEY_SLASH = 191, KEY_BACKQUOTE = 192, KEY_OPENBRACKET = 219, KEY_BACKSLASH = 220;
constexpr int KEY_CLOSEBRACKET = 221, KEY_QUOTE = 222;

// Pad p's button b is KEY_JOY0 + KEY_JOY_BUTTONS × p + b; codes past KEY_LAST are never read.
constexpr int KEY_JOY0 = 256, KEY_JOY_BUTTONS = 32;
// Touch point f is KEY_TOUCH0 + f, for 32 points.
constexpr int KEY_TOUCH0 = 384;
// The back key, and the close request of the window.
constexpr int KEY_BACK = 416;
constexpr int KEY_CLOSE = 432;
constexpr int KEY_LAST = 511;
