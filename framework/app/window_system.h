// The narrow window-system interface the desktop host runs on: one window with its OpenGL
// context, events, a clock, key state, video modes and joysticks. The real implementation
// sits on GLFW 3; tests drive the host loop through a fake with its own clock and events.
#pragma once

// Key numbers as the window system reports them (GLFW 3 numbering).
namespace vo_key {
constexpr int Space = 32, Apostrophe = 39, Comma = 44, Minus = 45, Period = 46, Slash = 47;
constexpr int Num0 = 48, Num9 = 57, Semicolon = 59, Equal = 61, A = 65, Z = 90;
constexpr int LeftBracket = 91, Backslash = 92, RightBracket = 93, GraveAccent = 96;
constexpr int Escape = 256, Enter = 257, Tab = 258, Backspace = 259, Insert = 260, Delete = 261;
constexpr int Right = 262, Left = 263, Down = 264, Up = 265, PageUp = 266, PageDown = 267;
constexpr int Home = 268, End = 269, CapsLock = 280, ScrollLock = 281, NumLock = 282;
constexpr int PrintScreen = 283, Pause = 284, F1 = 290, F12 = 301, F13 = 302, F25 = 314;
constexpr int Kp0 = 320, Kp9 = 329, KpDecimal = 330, KpDivide = 331, KpMultiply = 332;
constexpr int KpSubtract = 333, KpAdd = 334, KpEnter = 335, KpEqual = 336;
constexpr int LeftShift = 340, LeftControl = 341, LeftAlt = 342, LeftSuper = 343;
constexpr int RightShift = 344, RightControl = 345, RightAlt = 346, RightSuper = 347, Menu = 348;
constexpr int Last = 348;
}  // namespace vo_key

// Key and button actions.
constexpr int VO_RELEASE = 0, VO_PRESS = 1, VO_REPEAT = 2;

// Bits of a hat value.
constexpr int VO_HAT_UP = 1, VO_HAT_RIGHT = 2, VO_HAT_DOWN = 4, VO_HAT_LEFT = 8;

struct VoVideoModeInfo {
    int width = 0, height = 0, redBits = 0, greenBits = 0, blueBits = 0;
};

// Callbacks of the open window; they fire only inside PollEvents and WaitEvents.
class VoWindowEvents {
public:
    virtual ~VoWindowEvents() = default;
    virtual void OnKey(int key, int action) = 0;
    virtual void OnChar(unsigned codepoint) = 0;
    virtual void OnMouseButton(int button, int action) = 0;
    virtual void OnMousePos(double x, double y) = 0;
    // The user asked to close the window; the window stays open.
    virtual void OnWindowClose() = 0;
};

class VoWindowSystem {
public:
    virtual ~VoWindowSystem() = default;

    virtual bool Init() = 0;
    virtual void Terminate() = 0;

    // Opens the window and makes its new OpenGL context current; a window that is open is
    // closed first. Full screen uses the primary monitor.
    virtual void OpenWindow(int width, int height, int red, int green, int blue, int alpha, int depth, int stencil,
                            bool fullscreen, int refreshRate, bool resizable) = 0;
    virtual void CloseWindow() = 0;
    virtual bool WindowOpen() = 0;
    // The window system's own words for what last went wrong, or an empty text.
    virtual const char* LastError() { return ""; }
    // Focused and not iconified.
    virtual bool WindowActive() = 0;
    virtual void SetWindowPos(int x, int y) = 0;
    virtual void SetWindowTitle(const char* title) = 0;
    virtual void GetWindowSize(int* width, int* height) = 0;
    virtual void SwapBuffers() = 0;
    virtual void SwapInterval(int interval) = 0;
    virtual void SetEventHandler(VoWindowEvents* handler) = 0;

    virtual void PollEvents() = 0;
    // Blocks until an event comes or the timeout (seconds) has passed.
    virtual void WaitEvents(double timeout) = 0;
    virtual double GetTime() = 0;
    virtual void Sleep(double seconds) = 0;

    virtual bool KeyPressed(int key) = 0;
    virtual void GetCursorPos(double* x, double* y) = 0;
    virtual void SetCursorVisible(bool visible) = 0;

    virtual VoVideoModeInfo DesktopMode() = 0;
    // Writes at most max modes; returns how many.
    virtual int VideoModes(VoVideoModeInfo* modes, int max) = 0;

    virtual bool JoystickPresent(int joystick) = 0;
    // The joystick's own axes, buttons (hats not included) and hats; null with count 0 when absent.
    // Axes read positive to the right and up (odd-numbered axes are the vertical ones).
    virtual const float* JoystickAxes(int joystick, int* count) = 0;
    virtual const unsigned char* JoystickButtons(int joystick, int* count) = 0;
    virtual const unsigned char* JoystickHats(int joystick, int* count) = 0;
};
