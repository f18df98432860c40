// The window-system interface on GLFW 3: one window at a time, callbacks routed to the host.
#include "framework/app/glfw_window_system.h"

#include <GLFW/glfw3.h>
#include <chrono>
#include <thread>

static_assert(GLFW_KEY_LAST == vo_key::Last && GLFW_KEY_KP_EQUAL == vo_key::KpEqual && GLFW_KEY_F1 == vo_key::F1 &&
              GLFW_KEY_ESCAPE == vo_key::Escape && GLFW_KEY_RIGHT_SUPER == vo_key::RightSuper);
static_assert(GLFW_HAT_UP == VO_HAT_UP && GLFW_HAT_RIGHT == VO_HAT_RIGHT && GLFW_HAT_DOWN == VO_HAT_DOWN &&
              GLFW_HAT_LEFT == VO_HAT_LEFT && GLFW_REPEAT == VO_REPEAT);

namespace {

VoWindowEvents* Handler(GLFWwindow* window) { return static_cast<VoWindowEvents*>(glfwGetWindowUserPointer(window)); }

void OnKey(GLFWwindow* window, int key, int, int action, int) {
    if (auto* handler = Handler(window)) handler->OnKey(key, action);
}

void OnChar(GLFWwindow* window, unsigned codepoint) {
    if (auto* handler = Handler(window)) handler->OnChar(codepoint);
}

void OnMouseButton(GLFWwindow* window, int button, int action, int) {
    if (auto* handler = Handler(window)) handler->OnMouseButton(button, action);
}

void OnCursorPos(GLFWwindow* window, double x, double y) {
    if (auto* handler = Handler(window)) handler->OnMousePos(x, y);
}

void OnClose(GLFWwindow* window) {
    // The game decides what closing means; the window itself stays.
    glfwSetWindowShouldClose(window, GLFW_FALSE);
    if (auto* handler = Handler(window)) handler->OnWindowClose();
}

}  // namespace

bool VoGlfwWindowSystem::Init() {
    // Hats are read as hats and turned into buttons by the host in its own order.
    glfwInitHint(GLFW_JOYSTICK_HAT_BUTTONS, GLFW_FALSE);
    return glfwInit() == GLFW_TRUE;
}

void VoGlfwWindowSystem::Terminate() {
    m_window = nullptr;
    glfwTerminate();
}

void VoGlfwWindowSystem::OpenWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                                    int stencil, bool fullscreen, int refreshRate, bool resizable) {
    CloseWindow();
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_RED_BITS, red);
    glfwWindowHint(GLFW_GREEN_BITS, green);
    glfwWindowHint(GLFW_BLUE_BITS, blue);
    glfwWindowHint(GLFW_ALPHA_BITS, alpha);
    glfwWindowHint(GLFW_DEPTH_BITS, depth);
    glfwWindowHint(GLFW_STENCIL_BITS, stencil);
    glfwWindowHint(GLFW_REFRESH_RATE, refreshRate);
    glfwWindowHint(GLFW_RESIZABLE, resizable ? GLFW_TRUE : GLFW_FALSE);
    m_window = glfwCreateWindow(width, height, "Floeward", fullscreen ? glfwGetPrimaryMonitor() : nullptr, nullptr);
    if (!m_window) return;
    glfwMakeContextCurrent(m_window);
    // Some drivers crash when the window outgrows what the context can draw into: the window
    // may not grow past the context's viewport limit.
    GLint dims[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
    m_maxWidth = dims[0];
    m_maxHeight = dims[1];
    if (m_maxWidth > 0 && m_maxHeight > 0) {
        glfwSetWindowSizeLimits(m_window, GLFW_DONT_CARE, GLFW_DONT_CARE, m_maxWidth, m_maxHeight);
    }
}

void VoGlfwWindowSystem::CloseWindow() {
    if (!m_window) return;
    glfwDestroyWindow(m_window);
    m_window = nullptr;
}

bool VoGlfwWindowSystem::WindowOpen() { return m_window != nullptr; }

const char* VoGlfwWindowSystem::LastError() {
    const char* description = nullptr;
    glfwGetError(&description);
    return description ? description : "";
}

bool VoGlfwWindowSystem::WindowActive() {
    return m_window && glfwGetWindowAttrib(m_window, GLFW_FOCUSED) && !glfwGetWindowAttrib(m_window, GLFW_ICONIFIED);
}

void VoGlfwWindowSystem::SetWindowPos(int x, int y) {
    if (m_window) glfwSetWindowPos(m_window, x, y);
}

void VoGlfwWindowSystem::SetWindowTitle(const char* title) {
    if (m_window) glfwSetWindowTitle(m_window, title);
}

void VoGlfwWindowSystem::GetWindowSize(int* width, int* height) {
    *width = 0;
    *height = 0;
    if (!m_window) return;
    glfwGetWindowSize(m_window, width, height);
    // Without a window manager nothing holds the window to its limits: a size beyond them is
    // undone here, before a frame is drawn at it (every frame asks for the size first).
    if (m_maxWidth > 0 && (*width > m_maxWidth || *height > m_maxHeight)) {
        if (*width > m_maxWidth) *width = m_maxWidth;
        if (*height > m_maxHeight) *height = m_maxHeight;
        glfwSetWindowSize(m_window, *width, *height);
    }
}

void VoGlfwWindowSystem::SwapBuffers() {
    if (m_window) glfwSwapBuffers(m_window);
}

void VoGlfwWindowSystem::SwapInterval(int interval) {
    if (m_window) glfwSwapInterval(interval);
}

void VoGlfwWindowSystem::SetEventHandler(VoWindowEvents* handler) {
    if (!m_window) return;
    glfwSetWindowUserPointer(m_window, handler);
    glfwSetKeyCallback(m_window, OnKey);
    glfwSetCharCallback(m_window, OnChar);
    glfwSetMouseButtonCallback(m_window, OnMouseButton);
    glfwSetCursorPosCallback(m_window, OnCursorPos);
    glfwSetWindowCloseCallback(m_window, OnClose);
}

void VoGlfwWindowSystem::PollEvents() { glfwPollEvents(); }

void VoGlfwWindowSystem::WaitEvents(double timeout) { glfwWaitEventsTimeout(timeout); }

double VoGlfwWindowSystem::GetTime() { return glfwGetTime(); }

void VoGlfwWindowSystem::Sleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

bool VoGlfwWindowSystem::KeyPressed(int key) {
    return m_window && key >= GLFW_KEY_SPACE && glfwGetKey(m_window, key) == GLFW_PRESS;
}

void VoGlfwWindowSystem::GetCursorPos(double* x, double* y) {
    *x = 0;
    *y = 0;
    if (m_window) glfwGetCursorPos(m_window, x, y);
}

void VoGlfwWindowSystem::SetCursorVisible(bool visible) {
    if (m_window) glfwSetInputMode(m_window, GLFW_CURSOR, visible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
}

VoVideoModeInfo VoGlfwWindowSystem::DesktopMode() {
    VoVideoModeInfo info;
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (mode) info = {mode->width, mode->height, mode->redBits, mode->greenBits, mode->blueBits};
    return info;
}

int VoGlfwWindowSystem::VideoModes(VoVideoModeInfo* modes, int max) {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    int count = 0;
    const GLFWvidmode* list = monitor ? glfwGetVideoModes(monitor, &count) : nullptr;
    int n = 0;
    for (; list && n < count && n < max; ++n) {
        modes[n] = {list[n].width, list[n].height, list[n].redBits, list[n].greenBits, list[n].blueBits};
    }
    return n;
}

bool VoGlfwWindowSystem::JoystickPresent(int joystick) { return glfwJoystickPresent(joystick) == GLFW_TRUE; }

const float* VoGlfwWindowSystem::JoystickAxes(int joystick, int* count) {
    *count = 0;
    const float* axes = glfwGetJoystickAxes(joystick, count);
    if (!axes) {
        *count = 0;
        return nullptr;
    }
    // GLFW 3 reports a stick pushed down as positive; the host reads up as positive, so the
    // vertical (odd-numbered) axes are turned over.
    if (*count > kMaxAxes) *count = kMaxAxes;
    for (int i = 0; i < *count; ++i) m_axes[i] = i % 2 == 1 ? -axes[i] : axes[i];
    return m_axes;
}

const unsigned char* VoGlfwWindowSystem::JoystickButtons(int joystick, int* count) {
    *count = 0;
    const unsigned char* buttons = glfwGetJoystickButtons(joystick, count);
    if (!buttons) *count = 0;
    return buttons;
}

const unsigned char* VoGlfwWindowSystem::JoystickHats(int joystick, int* count) {
    *count = 0;
    const unsigned char* hats = glfwGetJoystickHats(joystick, count);
    if (!hats) *count = 0;
    return hats;
}
