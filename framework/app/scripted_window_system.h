// A window system with no display: its own clock, events injected by its owner inside each
// poll, and a record of what the host asked for. Tests drive the host loop on it, and the
// replay runner plays the game on it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/app/window_system.h"

class VoScriptedWindowSystem : public VoWindowSystem {
public:
    // Called inside every PollEvents and WaitEvents, where the real window system delivers events.
    std::function<void(VoScriptedWindowSystem&)> onEvents;

    double now = 100.0;
    bool open = false;
    bool active = true;
    int width = 0, height = 0;
    int posX = -1, posY = -1;
    std::string title;
    bool fullscreen = false;
    int opens = 0, swaps = 0, polls = 0, waits = 0;
    // The timeout of the last WaitEvents.
    double waitTimeout = 0;
    int swapInterval = -99;
    std::vector<double> sleeps;
    std::vector<int> pressedKeys;
    double cursorX = 0, cursorY = 0;
    bool cursorVisible = true;
    VoVideoModeInfo desktop{1920, 1080, 8, 8, 8};
    std::vector<VoVideoModeInfo> modes;
    VoWindowEvents* handler = nullptr;

    struct Joystick {
        bool present = false;
        std::vector<float> axes;
        std::vector<unsigned char> buttons;
        std::vector<unsigned char> hats;
    };
    Joystick joysticks[16];

    bool Init() override { return true; }
    void Terminate() override { open = false; }
    void OpenWindow(int w, int h, int, int, int, int, int, int, bool full, int, bool) override {
        open = true;
        width = w;
        height = h;
        fullscreen = full;
        title.clear();
        posX = posY = -1;
        handler = nullptr;
        ++opens;
    }
    void CloseWindow() override { open = false; }
    bool WindowOpen() override { return open; }
    bool WindowActive() override { return active; }
    void SetWindowPos(int x, int y) override {
        posX = x;
        posY = y;
    }
    void SetWindowTitle(const char* t) override { title = t; }
    void GetWindowSize(int* w, int* h) override {
        *w = open ? width : 0;
        *h = open ? height : 0;
    }
    void SwapBuffers() override { ++swaps; }
    void SwapInterval(int interval) override { swapInterval = interval; }
    void SetEventHandler(VoWindowEvents* h) override { handler = h; }
    void PollEvents() override {
        ++polls;
        if (onEvents) onEvents(*this);
    }
    void WaitEvents(double timeout) override {
        ++waits;
        waitTimeout = timeout;
        if (onEvents) onEvents(*this);
    }
    double GetTime() override { return now; }
    void Sleep(double seconds) override {
        sleeps.push_back(seconds);
        now += seconds;
    }
    bool KeyPressed(int key) override {
        for (int k : pressedKeys)
            if (k == key) return true;
        return false;
    }
    void GetCursorPos(double* x, double* y) override {
        *x = cursorX;
        *y = cursorY;
    }
    void SetCursorVisible(bool visible) override { cursorVisible = visible; }
    VoVideoModeInfo DesktopMode() override { return desktop; }
    int VideoModes(VoVideoModeInfo* out, int max) override {
        int n = 0;
        for (; n < static_cast<int>(modes.size()) && n < max; ++n) out[n] = modes[static_cast<size_t>(n)];
        return n;
    }
    bool JoystickPresent(int j) override { return joysticks[j].present; }
    const float* JoystickAxes(int j, int* count) override {
        *count = static_cast<int>(joysticks[j].axes.size());
        return joysticks[j].axes.data();
    }
    const unsigned char* JoystickButtons(int j, int* count) override {
        *count = static_cast<int>(joysticks[j].buttons.size());
        return joysticks[j].buttons.data();
    }
    const unsigned char* JoystickHats(int j, int* count) override {
        *count = static_cast<int>(joysticks[j].hats.size());
        return joysticks[j].hats.data();
    }
};
