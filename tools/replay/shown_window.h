// The scripted window system shown on a real one: the game still takes its input, clock and
// window size from the script, while each frame it draws lands in a real window the player
// watches. Closing that window stops the playback.
#pragma once

#include "framework/app/scripted_window_system.h"

class VoShownWindowSystem : public VoScriptedWindowSystem, private VoWindowEvents {
public:
    // real: an initialised window system with a display.
    explicit VoShownWindowSystem(VoWindowSystem& real) : m_real(real) {}

    void OpenWindow(int width, int height, int red, int green, int blue, int alpha, int depth, int stencil,
                    bool fullscreen, int refreshRate, bool resizable) override;
    void CloseWindow() override;
    void SwapBuffers() override;
    void SwapInterval(int interval) override;
    // Whether the real window was closed, by its owner or by the player.
    bool Closed() const { return m_closed; }

private:
    // The real window's own input is not the game's: only its close counts.
    void OnKey(int, int) override {}
    void OnChar(unsigned) override {}
    void OnMouseButton(int, int) override {}
    void OnMousePos(double, double) override {}
    void OnWindowClose() override { m_closed = true; }

    VoWindowSystem& m_real;
    bool m_closed = false;
};
