// The render: the render-rate measure, the background, resize detection, the fit of the
// virtual screen to the window and the replay of the draw queue.
#include <cmath>

#include "framework/app/app.h"
#include "framework/graphics/graphics_context.h"
#include "game/my_app.h"

namespace {

// A portrait window fits a virtual screen this much larger than the design size.
constexpr float kPortraitEnlargement = 1.5f;

// Sends a blend mode only when it differs from the one in force: every blend call flushes the
// device's batch, so repeating it would cost one draw call per record.
void UseBlend(int mode) {
    if (vo_graphics_context->m_blend != mode) vo_graphics_SetBlend(mode);
}

}  // namespace

int c_MyApp::p_FitScreen(int width, int height) {
    const float windowW = static_cast<float>(width), windowH = static_cast<float>(height);
    const float enlargement = width >= height ? 1.0f : kPortraitEnlargement;
    const float scaleForWidth = (windowW - 2 * overscan) / (rawscrw * enlargement);
    const float scaleForHeight = (windowH - 2 * overscan) / (rawscrh * enlargement);
    // The axis with room for the larger scale keeps its design length and the other grows, so
    // the whole design always shows.
    if (scaleForHeight > scaleForWidth) {
        m_fitMode = 2;
        m_scaleX = m_scaleY = scaleForHeight;
        const float pixelsPerVirtual = windowH / (rawscrh * enlargement);
        jscrw = windowW / pixelsPerVirtual;
        jscrh = windowH / pixelsPerVirtual;
    } else {
        m_fitMode = 1;
        m_scaleX = m_scaleY = scaleForWidth;
        const float pixelsPerVirtual = windowW / (rawscrw * enlargement);
        jscrw = windowW / pixelsPerVirtual;
        jscrh = windowH / pixelsPerVirtual;
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
    for (int at = 0; at + draw::kRecordFloats <= m_drawCount; at += draw::kRecordFloats) {
        const float* record = queue + at;
        const float kind = record[draw::kKind];
        vo_graphics_SetAlpha(record[draw::kAlpha]);
        vo_graphics_SetColor(record[draw::kRed], record[draw::kGreen], record[draw::kBlue]);
        UseBlend(record[draw::kBlend] == draw::kAdditiveBlend ? 1 : 0);
        const float x = record[draw::kX] * m_scaleX + offsetX, y = record[draw::kY] * m_scaleY + offsetY;
        const float sizeX = record[draw::kWidth], sizeY = record[draw::kHeight];
        if (kind == draw::kRectKind) {
            vo_graphics_DrawRect(x, y, sizeX * m_scaleX, sizeY * m_scaleY);
        } else if (kind == draw::kOvalKind) {
            vo_graphics_DrawEllipse(x, y, sizeX * m_scaleX, sizeY * m_scaleY);
        } else if (kind == draw::kLineKind) {
            vo_graphics_DrawLine(x, y, sizeX * m_scaleX + offsetX, sizeY * m_scaleY + offsetY);
        } else if (kind > -1) {
            // A slot or frame outside the table is skipped like an empty slot, never read.
            const float slot = std::trunc(kind), frame = std::trunc(record[draw::kFrame]);
            if (slot >= image::kSlots) continue;
            c_Image* image = m_images[static_cast<int>(slot)].Get();
            if (!image || !(frame >= 0) || frame >= static_cast<float>(image->m_frames.Length())) continue;
            vo_graphics_DrawImage2(image, x, y, record[draw::kRotation], sizeX * m_scaleX * m_imgScale,
                                   sizeY * m_scaleY * m_imgScale, static_cast<int>(frame));
        }
    }
    return 0;
}
