// The drawing context and the vo_graphics_ functions: frame reset, state, the matrix and its
// stack, and drawing images about their handles.
#include "framework/graphics/graphics_context.h"

#include <cmath>

#include "framework/app/app.h"
#include "framework/app/files.h"

Ref<gxtkGraphics> vo_graphics_device;
Ref<c_GraphicsContext> vo_graphics_context = New<c_GraphicsContext>();
gxtkGraphics* vo_graphics_renderDevice = nullptr;

int c_GraphicsContext::p_Validate() {
    if (m_matDirty && vo_graphics_renderDevice) {
        vo_graphics_renderDevice->SetMatrix(m_ix, m_iy, m_jx, m_jy, m_tx, m_ty);
        m_matDirty = false;
    }
    return 0;
}

int vo_graphics_SetGraphicsDevice(gxtkGraphics* device) {
    vo_graphics_device = device;
    return 0;
}

int vo_graphics_BeginRender() {
    vo_graphics_renderDevice = vo_graphics_device.Get();
    c_GraphicsContext& context = *vo_graphics_context;
    context.m_matrixSp = 0;
    vo_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    vo_graphics_SetColor(255, 255, 255);
    vo_graphics_SetAlpha(1);
    vo_graphics_SetBlend(0);
    vo_graphics_SetScissor(0, 0, static_cast<float>(vo_app__devWidth), static_cast<float>(vo_app__devHeight));
    return 0;
}

int vo_graphics_EndRender() {
    vo_graphics_renderDevice = nullptr;
    return 0;
}

int vo_graphics_SetColor(float r, float g, float b) {
    c_GraphicsContext& context = *vo_graphics_context;
    context.m_colorR = r;
    context.m_colorG = g;
    context.m_colorB = b;
    if (vo_graphics_renderDevice) vo_graphics_renderDevice->SetColor(r, g, b);
    return 0;
}

int vo_graphics_SetAlpha(float alpha) {
    vo_graphics_context->m_alpha = alpha;
    if (vo_graphics_renderDevice) vo_graphics_renderDevice->SetAlpha(alpha);
    return 0;
}

int vo_graphics_SetBlend(int mode) {
    vo_graphics_context->m_blend = mode;
    if (vo_graphics_renderDevice) vo_graphics_renderDevice->SetBlend(mode);
    return 0;
}

int vo_graphics_SetScissor(float x, float y, float width, float height) {
    c_GraphicsContext& context = *vo_graphics_context;
    context.m_scissorX = x;
    context.m_scissorY = y;
    context.m_scissorWidth = width;
    context.m_scissorHeight = height;
    if (vo_graphics_renderDevice) {
        vo_graphics_renderDevice->SetScissor(static_cast<int>(x), static_cast<int>(y), static_cast<int>(width),
                                             static_cast<int>(height));
    }
    return 0;
}

int vo_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
    c_GraphicsContext& context = *vo_graphics_context;
    context.m_ix = ix;
    context.m_iy = iy;
    context.m_jx = jx;
    context.m_jy = jy;
    context.m_tx = tx;
    context.m_ty = ty;
    context.m_matDirty = true;
    return 0;
}

int vo_graphics_SetMatrix2(Array<float> m) { return vo_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]); }

int vo_graphics_Transform(float a, float b, float c, float d, float e, float f) {
    c_GraphicsContext& m = *vo_graphics_context;
    float ix = m.m_ix * a + m.m_jx * b;
    float iy = m.m_iy * a + m.m_jy * b;
    float jx = m.m_ix * c + m.m_jx * d;
    float jy = m.m_iy * c + m.m_jy * d;
    float tx = m.m_ix * e + m.m_jx * f + m.m_tx;
    float ty = m.m_iy * e + m.m_jy * f + m.m_ty;
    return vo_graphics_SetMatrix(ix, iy, jx, jy, tx, ty);
}

int vo_graphics_Transform2(Array<float> m) { return vo_graphics_Transform(m[0], m[1], m[2], m[3], m[4], m[5]); }

int vo_graphics_Translate(float x, float y) { return vo_graphics_Transform(1, 0, 0, 1, x, y); }

int vo_graphics_Scale(float x, float y) { return vo_graphics_Transform(x, 0, 0, y, 0, 0); }

int vo_graphics_Rotate(float angle) {
    float r = angle * D2R;
    float c = std::cos(r), s = std::sin(r);
    return vo_graphics_Transform(c, -s, s, c, 0, 0);
}

int vo_graphics_PushMatrix() {
    c_GraphicsContext& context = *vo_graphics_context;
    Array<float>& stack = context.m_matrixStack;
    int sp = context.m_matrixSp;
    if (sp + 6 > stack.Length()) {
        Array<float> larger(stack.Length() > 0 ? stack.Length() * 2 : 192);
        for (int i = 0; i < sp; ++i) larger[i] = stack[i];
        stack = larger;
    }
    stack[sp] = context.m_ix;
    stack[sp + 1] = context.m_iy;
    stack[sp + 2] = context.m_jx;
    stack[sp + 3] = context.m_jy;
    stack[sp + 4] = context.m_tx;
    stack[sp + 5] = context.m_ty;
    context.m_matrixSp = sp + 6;
    return 0;
}

int vo_graphics_PopMatrix() {
    c_GraphicsContext& context = *vo_graphics_context;
    // An unmatched pop has nothing to restore; the matrix stays as it is.
    if (context.m_matrixSp < 6) return 0;
    int sp = context.m_matrixSp - 6;
    const Array<float>& stack = context.m_matrixStack;
    vo_graphics_SetMatrix(stack[sp], stack[sp + 1], stack[sp + 2], stack[sp + 3], stack[sp + 4], stack[sp + 5]);
    context.m_matrixSp = sp;
    return 0;
}

int vo_graphics_DrawRect(float x, float y, float width, float height) {
    vo_graphics_context->p_Validate();
    if (vo_graphics_renderDevice) vo_graphics_renderDevice->DrawRect(x, y, width, height);
    return 0;
}

int vo_graphics_DrawLine(float x0, float y0, float x1, float y1) {
    vo_graphics_context->p_Validate();
    if (vo_graphics_renderDevice) vo_graphics_renderDevice->DrawLine(x0, y0, x1, y1);
    return 0;
}

int vo_graphics_DrawEllipse(float x, float y, float xRadius, float yRadius) {
    vo_graphics_context->p_Validate();
    if (vo_graphics_renderDevice) {
        vo_graphics_renderDevice->DrawOval(x - xRadius, y - yRadius, 2 * xRadius, 2 * yRadius);
    }
    return 0;
}

namespace {

// Draws one frame with its top-left corner at (x, y) in the current matrix.
void DrawFrame(c_Image* image, const c_Frame& frame, float x, float y) {
    gxtkGraphics* device = vo_graphics_renderDevice;
    if (!device) return;
    if (image->m_flags & c_Image::FullFrame) {
        device->DrawSurface(image->m_surface.Get(), x, y);
    } else {
        device->DrawSurface2(image->m_surface.Get(), x, y, frame.m_x, frame.m_y, image->m_width, image->m_height);
    }
}

}  // namespace

int vo_graphics_DrawImage(c_Image* image, float x, float y, int frame) {
    const c_Frame& f = *image->m_frames[frame];
    vo_graphics_context->p_Validate();
    DrawFrame(image, f, x - image->m_handleX, y - image->m_handleY);
    return 0;
}

int vo_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY, int frame) {
    const c_Frame& f = *image->m_frames[frame];
    vo_graphics_PushMatrix();
    vo_graphics_Transform(1, 0, 0, 1, x, y);
    vo_graphics_Rotate(rotation);
    vo_graphics_Transform(scaleX, 0, 0, scaleY, 0, 0);
    vo_graphics_Transform(1, 0, 0, 1, -image->m_handleX, -image->m_handleY);
    vo_graphics_context->p_Validate();
    DrawFrame(image, f, 0, 0);
    vo_graphics_PopMatrix();
    return 0;
}

Ref<c_Image> vo_graphics_LoadImage(String path, int frameCount, int flags) {
    if (!vo_graphics_device) return nullptr;
    Ref<gxtkSurface> surface = vo_graphics_device->LoadSurface(vo_data_FixDataPath(path));
    if (!surface) return nullptr;
    Ref<c_Image> image = New<c_Image>();
    image->m_new()->p_Init(surface.Get(), frameCount, flags);
    return image;
}

Ref<c_Image> vo_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount, int flags) {
    if (!vo_graphics_device) return nullptr;
    Ref<gxtkSurface> surface = vo_graphics_device->LoadSurface(vo_data_FixDataPath(path));
    if (!surface) return nullptr;
    Ref<c_Image> image = New<c_Image>();
    image->m_new()->p_Init2(surface.Get(), 0, 0, frameWidth, frameHeight, frameCount, flags, nullptr, 0, 0,
                            surface->Width(), surface->Height());
    return image;
}

Ref<c_Image> vo_graphics_CreateImage(int width, int height, int frameCount, int flags) {
    if (!vo_graphics_device) return nullptr;
    Ref<gxtkSurface> surface = vo_graphics_device->CreateSurface(width * frameCount, height);
    if (!surface) return nullptr;
    Ref<c_Image> image = New<c_Image>();
    image->m_new()->p_Init(surface.Get(), frameCount, flags);
    return image;
}

int vo_graphics_SetFont(c_Image* font, int firstChar) {
    c_GraphicsContext& context = *vo_graphics_context;
    if (!font) {
        if (!context.m_defaultFont) context.m_defaultFont = vo_graphics_LoadImage(String("mivo_font.png"), 96, 2);
        context.m_font = context.m_defaultFont;
        context.m_firstChar = 32;
        return 0;
    }
    context.m_font = font;
    context.m_firstChar = firstChar;
    return 0;
}
