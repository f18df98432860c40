// The window-system interface on GLFW 3: one window at a time, callbacks routed to the host.
// The window is shown before its OpenGL context is made (with GLX on GLFW's X window), so that
// the player sees it while the driver starts.
#include "framework/app/glfw_window_system.h"

#include <GLFW/glfw3.h>
#include <GL/glx.h>

// GLFW's X11 access, declared here: its native header would want the RandR headers as well.
extern "C" {
Display* glfwGetX11Display(void);
Window glfwGetX11Window(GLFWwindow* window);
}

#include <chrono>
#include <cstring>
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

int Attribute(Display* display, GLXFBConfig config, int attribute) {
    int value = 0;
    glXGetFBConfigAttrib(display, config, attribute, &value);
    return value;
}

bool HasGlxExtension(Display* display, int screen, const char* name) {
    const char* list = glXQueryExtensionsString(display, screen);
    const size_t length = std::strlen(name);
    for (const char* at = list; at && (at = std::strstr(at, name)) != nullptr; at += length) {
        if ((at == list || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) return true;
    }
    return false;
}

}  // namespace

bool VoGlfwWindowSystem::Init() {
    // Hats are read as hats and turned into buttons by the host in its own order.
    glfwInitHint(GLFW_JOYSTICK_HAT_BUTTONS, GLFW_FALSE);
    return glfwInit() == GLFW_TRUE;
}

void VoGlfwWindowSystem::Terminate() {
    CloseWindow();
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
    GLFWmonitor* monitor = fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    // The window first, shown at once; then a context for it.
    glfwWindowHint(GLFW_CLIENT_API, GLFW_NO_API);
    m_window = glfwCreateWindow(width, height, "Floeward", monitor, nullptr);
    if (m_window && !MakeContext(red, green, blue, alpha, depth, stencil)) {
        // No configuration fits the window as it was made: GLFW makes window and context together.
        glfwDestroyWindow(m_window);
        m_window = nullptr;
    }
    if (!m_window) {
        glfwWindowHint(GLFW_CLIENT_API, GLFW_OPENGL_API);
        m_window = glfwCreateWindow(width, height, "Floeward", monitor, nullptr);
        if (!m_window) return;
        glfwMakeContextCurrent(m_window);
    }
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

bool VoGlfwWindowSystem::MakeContext(int red, int green, int blue, int alpha, int depth, int stencil) {
    Display* display = glfwGetX11Display();
    const Window window = glfwGetX11Window(m_window);
    int errorBase = 0, eventBase = 0;
    XWindowAttributes attributes;
    if (!display || !glXQueryExtension(display, &errorBase, &eventBase) ||
        !XGetWindowAttributes(display, window, &attributes)) {
        return false;
    }
    // Of the configurations with what was asked for, the one with the fewest bits beyond it, as
    // GLFW would choose: a depth or stencil buffer nobody uses costs memory every frame.
    int count = 0;
    GLXFBConfig* configs = glXGetFBConfigs(display, XScreenNumberOfScreen(attributes.screen), &count);
    GLXFBConfig chosen = nullptr;
    int least = 0;
    for (int i = 0; i < count; ++i) {
        const GLXFBConfig c = configs[i];
        auto get = [&](int attribute) { return Attribute(display, c, attribute); };
        if (get(GLX_VISUAL_ID) == 0 || !(get(GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT) || !(get(GLX_RENDER_TYPE) & GLX_RGBA_BIT) ||
            !get(GLX_DOUBLEBUFFER) || get(GLX_CONFIG_CAVEAT) != GLX_NONE || get(GLX_RED_SIZE) < red ||
            get(GLX_GREEN_SIZE) < green || get(GLX_BLUE_SIZE) < blue || get(GLX_ALPHA_SIZE) < alpha ||
            get(GLX_DEPTH_SIZE) < depth || get(GLX_STENCIL_SIZE) < stencil) {
            continue;
        }
        const int extra = get(GLX_RED_SIZE) - red + get(GLX_GREEN_SIZE) - green + get(GLX_BLUE_SIZE) - blue +
                          get(GLX_ALPHA_SIZE) - alpha + get(GLX_DEPTH_SIZE) - depth + get(GLX_STENCIL_SIZE) - stencil +
                          get(GLX_ACCUM_RED_SIZE) + get(GLX_SAMPLES);
        if (!chosen || extra < least) {
            chosen = c;
            least = extra;
        }
    }
    XVisualInfo* visual = chosen ? glXGetVisualFromFBConfig(display, chosen) : nullptr;
    if (visual && visual->visualid == XVisualIDFromVisual(attributes.visual)) {
        m_drawable = window;
    } else if (visual) {
        // The window was made in the screen's own visual: the picture is drawn into a child of
        // it in the chosen one, which covers it and lets its input through to it.
        XSetWindowAttributes set{};
        set.colormap = XCreateColormap(display, RootWindow(display, visual->screen), visual->visual, AllocNone);
        set.border_pixel = 0;
        m_colormap = set.colormap;
        m_drawable = XCreateWindow(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                                   static_cast<unsigned>(attributes.height), 0, visual->depth, InputOutput,
                                   visual->visual, CWColormap | CWBorderPixel, &set);
        m_childWidth = attributes.width;
        m_childHeight = attributes.height;
        m_child = true;
        XMapWindow(display, m_drawable);
    }
    if (visual) XFree(visual);
    if (chosen && m_drawable) m_context = glXCreateNewContext(display, chosen, GLX_RGBA_TYPE, nullptr, True);
    if (configs) XFree(configs);
    if (!m_context || !glXMakeContextCurrent(display, m_drawable, m_drawable, m_context)) {
        DropContext();
        return false;
    }
    return true;
}

void VoGlfwWindowSystem::DropContext() {
    Display* display = glfwGetX11Display();
    if (m_context) {
        glXMakeContextCurrent(display, None, None, nullptr);
        glXDestroyContext(display, m_context);
    }
    if (m_child) XDestroyWindow(display, m_drawable);
    if (m_colormap) XFreeColormap(display, m_colormap);
    m_context = nullptr;
    m_drawable = 0;
    m_colormap = 0;
    m_child = false;
}

void VoGlfwWindowSystem::CloseWindow() {
    if (!m_window) return;
    DropContext();
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
    // The child the picture is drawn into follows the window's size before a frame is drawn.
    if (m_child && *width > 0 && *height > 0 && (*width != m_childWidth || *height != m_childHeight)) {
        XResizeWindow(glfwGetX11Display(), m_drawable, static_cast<unsigned>(*width), static_cast<unsigned>(*height));
        m_childWidth = *width;
        m_childHeight = *height;
    }
}

void VoGlfwWindowSystem::SwapBuffers() {
    if (!m_window) return;
    if (m_context) {
        glXSwapBuffers(glfwGetX11Display(), m_drawable);
    } else {
        glfwSwapBuffers(m_window);
    }
}

void VoGlfwWindowSystem::SwapInterval(int interval) {
    if (!m_window) return;
    if (!m_context) {
        glfwSwapInterval(interval);
        return;
    }
    // As GLFW would: the extension that sets it for the window, else the ones for the context.
    Display* display = glfwGetX11Display();
    const int screen = DefaultScreen(display);
    using SwapEXT = void (*)(Display*, GLXDrawable, int);
    using SwapMESA = int (*)(unsigned);
    using SwapSGI = int (*)(int);
    auto find = [](const char* name) { return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)); };
    if (HasGlxExtension(display, screen, "GLX_EXT_swap_control")) {
        if (auto swap = reinterpret_cast<SwapEXT>(find("glXSwapIntervalEXT"))) swap(display, m_drawable, interval);
    } else if (HasGlxExtension(display, screen, "GLX_MESA_swap_control")) {
        if (auto swap = reinterpret_cast<SwapMESA>(find("glXSwapIntervalMESA"))) swap(static_cast<unsigned>(interval));
    } else if (HasGlxExtension(display, screen, "GLX_SGI_swap_control") && interval > 0) {
        if (auto swap = reinterpret_cast<SwapSGI>(find("glXSwapIntervalSGI"))) swap(interval);
    }
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
