// VoGlfwGame: window (re)opening, the update/render loop, event callbacks, key translation,
// joystick layouts, display modes and opening URLs.
#include "framework/app/glfw_host.h"

#include "framework/app/end_request.h"
#include "framework/app/input.h"
#include "framework/app/key_codes.h"

#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

int glfwGraphicsSeq = 0;
VoGlfwGame* VoGlfwGame::_glfwGame = nullptr;

namespace {

constexpr int kMaxVideoModes = 1024;

// The window the loop opens first: windowed, 8 bits a colour, no alpha, depth or stencil buffer.
constexpr int kFirstWindowWidth = 640;
constexpr int kFirstWindowHeight = 480;
constexpr int kColourBits = 8;

// The most updates one pass runs to catch up; a loop still behind after them drops the backlog.
constexpr int kMaxCatchUpUpdates = 4;

// m_nextUpdate when no update is scheduled: the next pass starts the schedule afresh from now.
constexpr double kUnscheduled = 0;

// A suspended loop waits for events at most this long, so that a signal to end is not left
// unseen until the window is next touched.
constexpr double kSuspendedWait = 0.25;

}  // namespace

int TransKey(int key) {
    using namespace vo_key;
    if ((key >= Num0 && key <= Num9) || (key >= A && key <= Z) || key == Space) return key;
    if (key >= F1 && key <= F12) return KEY_F1 + (key - F1);
    if (key >= Kp0 && key <= Kp9) return KEY_NUM0 + (key - Kp0);
    switch (key) {
        case Apostrophe: return KEY_QUOTE;
        case Comma: return KEY_COMMA;
        case Minus: return KEY_MINUS;
        case Period: return KEY_PERIOD;
        case Slash: return KEY_SLASH;
        case Semicolon: return KEY_SEMICOLON;
        case Equal: return KEY_EQUALS;
        case LeftBracket: return KEY_OPENBRACKET;
        case Backslash: return KEY_BACKSLASH;
        case RightBracket: return KEY_CLOSEBRACKET;
        case GraveAccent: return KEY_BACKQUOTE;
        case Escape: return KEY_ESCAPE;
        case Up: return KEY_UP;
        case Down: return KEY_DOWN;
        case Left: return KEY_LEFT;
        case Right: return KEY_RIGHT;
        case LeftShift: case RightShift: return KEY_SHIFT;
        case LeftControl: case RightControl: return KEY_CONTROL;
        case Tab: return KEY_TAB;
        case Enter: return KEY_ENTER;
        case Backspace: return KEY_BACKSPACE;
        case Insert: return KEY_INSERT;
        case Delete: return KEY_DELETE;
        case PageUp: return KEY_PAGEUP;
        case PageDown: return KEY_PAGEDOWN;
        case Home: return KEY_HOME;
        case End: return KEY_END;
        case KpDivide: return KEY_NUMDIVIDE;
        case KpMultiply: return KEY_NUMMULTIPLY;
        case KpSubtract: return KEY_NUMSUBTRACT;
        case KpAdd: return KEY_NUMADD;
        case KpDecimal: return KEY_NUMDECIMAL;
        default: return 0;
    }
}

int KeyToChar(int key) {
    switch (key) {
        case KEY_BACKSPACE: case KEY_TAB: case KEY_ENTER: case KEY_ESCAPE: return key;
        case KEY_DELETE: return 127;
        case KEY_INSERT: return key | 0x10000;
        default: return (key >= KEY_PAGEUP && key <= KEY_DOWN) ? (key | 0x10000) : 0;
    }
}

VoGlfwGame::VoGlfwGame(VoWindowSystem* windowSystem) : m_windowSystem(windowSystem) { _glfwGame = this; }

void VoGlfwGame::SetUpdateRate(int hertz) {
    m_updateRate = hertz;
    if (hertz != 0) m_updatePeriod = 1.0 / hertz;
    m_nextUpdate = kUnscheduled;
}

int VoGlfwGame::Millisecs() { return static_cast<int>(m_windowSystem->GetTime() * 1000.0); }

void VoGlfwGame::OpenUrl(String url) {
    std::string narrow = url.ToNarrow();
    char program[] = "xdg-open";
    char* argv[] = {program, narrow.data(), nullptr};
    pid_t pid;
    if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) == 0) {
        // Reap the opener when it ends so that it does not linger as a zombie.
        std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    }
}

void VoGlfwGame::SetMouseVisible(bool visible) { m_windowSystem->SetCursorVisible(visible); }

int VoGlfwGame::GetDeviceWidth() {
    int width = 0, height = 0;
    m_windowSystem->GetWindowSize(&width, &height);
    return width;
}

int VoGlfwGame::GetDeviceHeight() {
    int width = 0, height = 0;
    m_windowSystem->GetWindowSize(&width, &height);
    return height;
}

void VoGlfwGame::SetDeviceWindow(int width, int height, int flags) {
    SetGlfwWindow(width, height, kColourBits, kColourBits, kColourBits, 0, 0, 0, (flags & 1) != 0);
}

Array<Ref<VoDisplayMode>> VoGlfwGame::GetDisplayModes() {
    static VoVideoModeInfo modes[kMaxVideoModes];
    int count = m_windowSystem->VideoModes(modes, kMaxVideoModes);
    Array<Ref<VoDisplayMode>> result(count);
    for (int i = 0; i < count; ++i) result[i] = New<VoDisplayMode>(modes[i].width, modes[i].height);
    return result;
}

Ref<VoDisplayMode> VoGlfwGame::GetDesktopMode() {
    VoVideoModeInfo mode = m_windowSystem->DesktopMode();
    return New<VoDisplayMode>(mode.width, mode.height);
}

void VoGlfwGame::SetSwapInterval(int interval) {
    m_swapInterval = interval;
    if (interval >= 0) m_windowSystem->SwapInterval(interval);
}

Ref<VoGlfwVideoMode> VoGlfwGame::GetGlfwDesktopMode() {
    VoVideoModeInfo info = m_windowSystem->DesktopMode();
    auto mode = New<VoGlfwVideoMode>();
    mode->m_width = info.width;
    mode->m_height = info.height;
    mode->m_redBits = info.redBits;
    mode->m_greenBits = info.greenBits;
    mode->m_blueBits = info.blueBits;
    return mode;
}

Array<Ref<VoGlfwVideoMode>> VoGlfwGame::GetGlfwVideoModes() {
    static VoVideoModeInfo modes[kMaxVideoModes];
    int count = m_windowSystem->VideoModes(modes, kMaxVideoModes);
    Array<Ref<VoGlfwVideoMode>> result(count);
    for (int i = 0; i < count; ++i) {
        auto mode = New<VoGlfwVideoMode>();
        mode->m_width = modes[i].width;
        mode->m_height = modes[i].height;
        mode->m_redBits = modes[i].redBits;
        mode->m_greenBits = modes[i].greenBits;
        mode->m_blueBits = modes[i].blueBits;
        result[i] = mode;
    }
    return result;
}

void VoGlfwGame::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                               int stencil, bool fullscreen) {
    if (m_windowSystem->WindowOpen()) {
        for (int key = 0; key <= vo_key::Last; ++key) {
            int code = TransKey(key);
            if (code != 0 && m_windowSystem->KeyPressed(key)) KeyEvent(c_VoGameEvent::KeyUp, code);
        }
    }
    VoVideoModeInfo desktop = m_windowSystem->DesktopMode();
    m_windowSystem->CloseWindow();
    m_windowSystem->OpenWindow(width, height, red, green, blue, alpha, depth, stencil, fullscreen, 60, true);
    if (!m_windowSystem->WindowOpen()) {
        // Nothing can run without a window (a display without OpenGL, say): say why and fail.
        std::printf("glfwCreateWindow failed: %s\n", m_windowSystem->LastError());
        std::fflush(stdout);
        m_windowSystem->Terminate();
        _exit(-1);
    }
    if (!fullscreen) {
        m_windowSystem->SetWindowPos((desktop.width - width) / 2, (desktop.height - height) / 2);
        m_windowSystem->SetWindowTitle("Floeward");
    }
    ++glfwGraphicsSeq;
    if (m_swapInterval >= 0) m_windowSystem->SwapInterval(m_swapInterval);
    m_windowSystem->SetEventHandler(this);
    // The game learns where the pointer is after every window change.
    if (m_windowSystem->WindowOpen()) {
        double x = 0, y = 0;
        m_windowSystem->GetCursorPos(&x, &y);
        OnMousePos(x, y);
    }
}

// One pass is one frame, phases 1 to 5 below. Phase 6, gc_collect, is not a step of its own:
// it runs after every call the host forwards (VoGame::Guarded).
void VoGlfwGame::Run() {
    if (VoGameDelegate* delegate = Delegate()) delegate->PrepareStart();
    SetGlfwWindow(kFirstWindowWidth, kFirstWindowHeight, kColourBits, kColourBits, kColourBits, 0, 0, 0, false);
    StartGame();
    VoWindowSystem& ws = *m_windowSystem;
    while (ws.WindowOpen()) {
        // 1. Render and swap.
        RenderGame();
        ws.SwapBuffers();
        // 2. Sleep until the next update is due.
        if (m_nextUpdate != kUnscheduled) {
            double wait = m_nextUpdate - ws.GetTime();
            if (wait > 0) ws.Sleep(wait);
        }
        // 3. Poll events: window callbacks fire only here. Suspended, wait for one, but never so
        // long that a signal goes unseen: one that asked the program to end is taken as the
        // window's close.
        if (m_suspended) {
            ws.WaitEvents(kSuspendedWait);
        } else {
            ws.PollEvents();
        }
        if (vo_app_EndRequested()) OnWindowClose();
        // 4. Suspend or resume when the window's activity changed; either restarts the schedule.
        if (ws.WindowActive()) {
            if (m_suspended) {
                ResumeGame();
                m_nextUpdate = kUnscheduled;
            }
        } else if (!m_suspended) {
            SuspendGame();
            m_nextUpdate = kUnscheduled;
        }
        if (m_suspended) continue;
        // 5. Due updates: one a frame at rate 0, otherwise as many as are due, up to the catch-up limit.
        if (m_updateRate == 0) {
            UpdateGame();
            continue;
        }
        if (m_nextUpdate == kUnscheduled) m_nextUpdate = ws.GetTime();
        int updates = 0;
        for (; updates < kMaxCatchUpUpdates; ++updates) {
            UpdateGame();
            // The update changed the rate, which restarted the schedule.
            if (m_nextUpdate == kUnscheduled) break;
            m_nextUpdate += m_updatePeriod;
            if (m_nextUpdate > ws.GetTime()) break;
        }
        if (updates == kMaxCatchUpUpdates) m_nextUpdate = kUnscheduled;
    }
}

void VoGlfwGame::OnKey(int key, int action) {
    int code = TransKey(key);
    if (code == 0) return;
    if (action == VO_RELEASE) {
        KeyEvent(c_VoGameEvent::KeyUp, code);
        return;
    }
    // A repeat arrives as another press; the input device ignores presses of held keys.
    KeyEvent(c_VoGameEvent::KeyDown, code);
    if (int chr = KeyToChar(code)) KeyEvent(c_VoGameEvent::KeyChar, chr);
}

void VoGlfwGame::OnChar(unsigned codepoint) { KeyEvent(c_VoGameEvent::KeyChar, static_cast<int>(codepoint)); }

void VoGlfwGame::OnMouseButton(int button, int action) {
    if (button < 0 || button > 2) return;
    double x = 0, y = 0;
    m_windowSystem->GetCursorPos(&x, &y);
    MouseEvent(action == VO_RELEASE ? c_VoGameEvent::MouseUp : c_VoGameEvent::MouseDown, button,
               static_cast<float>(x), static_cast<float>(y));
}

void VoGlfwGame::OnMousePos(double x, double y) {
    MouseEvent(c_VoGameEvent::MouseMove, -1, static_cast<float>(x), static_cast<float>(y));
}

void VoGlfwGame::OnWindowClose() {
    KeyEvent(c_VoGameEvent::KeyDown, KEY_CLOSE);
    KeyEvent(c_VoGameEvent::KeyUp, KEY_CLOSE);
}
