// The window-system interface on GLFW 3.
#pragma once

#include "framework/app/window_system.h"

struct GLFWwindow;

class VoGlfwWindowSystem : public VoWindowSystem {
public:
    bool Init() override;
    void Terminate() override;
    void OpenWindow(int width, int height, int red, int green, int blue, int alpha, int depth, int stencil,
                    bool fullscreen, int refreshRate, bool resizable) override;
    void CloseWindow() override;
    bool WindowOpen() override;
    const char* LastError() override;
    bool WindowActive() override;
    void SetWindowPos(int x, int y) override;
    void SetWindowTitle(const char* title) override;
    void GetWindowSize(int* width, int* height) override;
    void SwapBuffers() override;
    void SwapInterval(int interval) override;
    void SetEventHandler(VoWindowEvents* handler) override;
    void PollEvents() override;
    void WaitEvents(double timeout) override;
    double GetTime() override;
    void Sleep(double seconds) override;
    bool KeyPressed(int key) override;
    void GetCursorPos(double* x, double* y) override;
    void SetCursorVisible(bool visible) override;
    VoVideoModeInfo DesktopMode() override;
    int VideoModes(VoVideoModeInfo* modes, int max) override;
    bool JoystickPresent(int joystick) override;
    const float* JoystickAxes(int joystick, int* count) override;
    const unsigned char* JoystickButtons(int joystick, int* count) override;
    const unsigned char* JoystickHats(int joystick, int* count) override;

private:
    static constexpr int kMaxAxes = 16;

    // Makes and makes current an OpenGL context for the open window; false when none fits it.
    bool MakeContext(int red, int green, int blue, int alpha, int depth, int stencil);
    // Lets go of the context made for the window, and of the child it drew into.
    void DropContext();

    GLFWwindow* m_window = nullptr;
    // The context made for the window, or null while GLFW made it with the window; the X window
    // it draws into, the window itself or a child of it in the context's own visual (with its
    // colour map and its size).
    struct __GLXcontextRec* m_context = nullptr;
    unsigned long m_drawable = 0;
    unsigned long m_colormap = 0;
    bool m_child = false;
    int m_childWidth = 0, m_childHeight = 0;
    // The largest window the context can draw into, as it reported on opening; 0 when unknown.
    int m_maxWidth = 0, m_maxHeight = 0;
    // The last axes read, with the vertical ones turned to read positive upward.
    float m_axes[kMaxAxes] = {};
};
