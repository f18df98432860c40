// The real window behind a shown playback: opened at the scripted size, never full screen, swapped
// and polled with every frame.
#include "tools/replay/shown_window.h"

void VoShownWindowSystem::OpenWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                                     int stencil, bool fullscreen, int refreshRate, bool resizable) {
    VoScriptedWindowSystem::OpenWindow(width, height, red, green, blue, alpha, depth, stencil, fullscreen, refreshRate,
                                       resizable);
    // Full screen would take the player's desktop for a recording; the window keeps its size.
    m_real.OpenWindow(width, height, red, green, blue, alpha, depth, stencil, false, refreshRate, false);
    m_closed = !m_real.WindowOpen();
    if (!m_closed) m_real.SetEventHandler(this);
}

void VoShownWindowSystem::CloseWindow() {
    VoScriptedWindowSystem::CloseWindow();
    m_real.CloseWindow();
    m_closed = true;
}

void VoShownWindowSystem::SwapBuffers() {
    VoScriptedWindowSystem::SwapBuffers();
    if (m_closed) return;
    m_real.SwapBuffers();
    m_real.PollEvents();
}

void VoShownWindowSystem::SwapInterval(int interval) {
    VoScriptedWindowSystem::SwapInterval(interval);
    // The playback paces itself; waiting for the screen as well would slow it down.
    m_real.SwapInterval(0);
}
