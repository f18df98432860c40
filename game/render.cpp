// The render: the render-rate measure, the background, resize detection, the fit of the
// virtual screen to the window and the replay of the draw queue.
#include <cmath>

#include "framework/app/app.h"
#include "framework/graphics/graphics_context.h"
#include "game/my_app.h"

namespace {

// Records whose blend selector is this value are drawn additively.
constexpr float kAdditiveRecord = 3;

// Sends a blend mode only when it differs from the one in force: every blend call flushes the
// device's batch, so repeating it would cost one draw call per record.
void UseBlend(int mode) {
    if (vo_graphics_context->m_blend != mode) vo_graphics_SetBlend(mode);
}

}  // namespace

int c_MyApp::p_FitScreen(int width, int height) {
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    // A portrait window uses a 1.5 times larger virtual screen.
    const float k = width >= height ? 1.0f : 1.5f;
    const float q = (w - 2 * overscan) / (rawscrw * k);
    const float p = (h - 2 * overscan) / (rawscrh * k);
    if (p > q) {
        m_fitMode = 2;
        m_scaleX = m_scaleY = p;
        const float f = h / (rawscrh * k);
        jscrw = w / f;
        jscrh = h / f;
    } else {
        m_fitMode = 1;
        m_scaleX = m_scaleY = q;
        const float g = w / (rawscrw * k);
        jscrw = w / g;
        jscrh = h / g;
    }
    m_landscape = jscrh <= jscrw ? 1 : 0;
    return 0;
}

int c_MyApp::p_OnRender() {
    int now = vo_app_Millisecs();
    if (now - m_renderLast > 0) m_renderFpsRaw = 1000 / (now - m_renderLast);
    m_renderFps = (m_renderFpsRaw + 9 * m_renderFps) / 10;
    m_renderLast = vo_app_Millisecs();

    const int width = vo_app_DeviceWidth(), height = vo_app_DeviceHeight();
    UseBlend(0);
    vo_graphics_SetColor(m_bgR, m_bgG, m_bgB);
    vo_graphics_SetAlpha(m_bgAlpha);
    vo_graphics_DrawRect(-1, -1, static_cast<float>(width + 2), static_cast<float>(height + 2));
    vo_graphics_SetColor(255, 255, 255);
    vo_graphics_SetAlpha(1);

    // A window without area (closed, or between modes) has no shape to fit or to load for;
    // the last fit stays until it has a size again.
    if (width <= 0 || height <= 0) return 0;
    if (width != m_lastDevW || height != m_lastDevH) {
        m_lastDevW = width;
        m_lastDevH = height;
        m_loadStep = 1;
    }
    p_FitScreen(width, height);

    const float offsetX = overscan;
    const float offsetY = overscan * static_cast<float>(height) / static_cast<float>(width);
    const float* queue = m_drawQueue.Data();
    for (int at = 0; at + kRecordFloats <= m_drawCount; at += kRecordFloats) {
        const float* r = queue + at;
        vo_graphics_SetAlpha(r[7]);
        vo_graphics_SetColor(r[10], r[11], r[12]);
        UseBlend(r[13] == kAdditiveRecord ? 1 : 0);
        const float x = r[1] * m_scaleX + offsetX, y = r[2] * m_scaleY + offsetY;
        if (r[0] == kRectRecord) {
            vo_graphics_DrawRect(x, y, r[4] * m_scaleX, r[5] * m_scaleY);
        } else if (r[0] == kOvalRecord) {
            vo_graphics_DrawEllipse(x, y, r[4] * m_scaleX, r[5] * m_scaleY);
        } else if (r[0] == kLineRecord) {
            vo_graphics_DrawLine(x, y, r[4] * m_scaleX + offsetX, r[5] * m_scaleY + offsetY);
        } else if (r[0] > -1) {
            // A slot or frame outside the table is skipped like an empty slot, never read.
            const float slot = std::trunc(r[0]), frame = std::trunc(r[6]);
            if (slot >= kImageSlots) continue;
            c_Image* image = m_images[static_cast<int>(slot)].Get();
            if (!image || !(frame >= 0) || frame >= static_cast<float>(image->m_frames.Length())) continue;
            vo_graphics_DrawImage2(image, x, y, r[3], r[4] * m_scaleX * m_imgScale, r[5] * m_scaleY * m_imgScale,
                                   static_cast<int>(frame));
        }
    }
    return 0;
}
