// The drawing layer above the device: one drawing context (colour, alpha, blend, scissor,
// matrix and its stack, font) and the vo_graphics_ functions the game draws through.
#pragma once

#include "framework/app/array.h"
#include "framework/app/object.h"
#include "framework/app/string.h"
#include "framework/graphics/image.h"
#include "framework/graphics/renderer.h"

// Degrees to radians, in single precision.
inline constexpr float D2R = 0.017453292f;

class c_GraphicsContext : public Object {
public:
    c_GraphicsContext* m_new() { return this; }
    // Sends a changed matrix to the device before something is drawn.
    int p_Validate();

    Ref<c_Image> m_defaultFont;
    Ref<c_Image> m_font;
    int m_firstChar = 0;
    int m_matrixSp = 0;
    float m_ix = 1, m_iy = 0, m_jx = 0, m_jy = 1, m_tx = 0, m_ty = 0;
    bool m_matDirty = false;
    float m_colorR = 0, m_colorG = 0, m_colorB = 0;
    float m_alpha = 0;
    int m_blend = 0;
    float m_scissorX = 0, m_scissorY = 0, m_scissorWidth = 0, m_scissorHeight = 0;
    Array<float> m_matrixStack{192};
};

extern Ref<gxtkGraphics> vo_graphics_device;
extern Ref<c_GraphicsContext> vo_graphics_context;
// The device while a frame is being rendered; null otherwise, when drawing does nothing.
extern gxtkGraphics* vo_graphics_renderDevice;

int vo_graphics_SetGraphicsDevice(gxtkGraphics* device);
int vo_graphics_BeginRender();
int vo_graphics_EndRender();

int vo_graphics_SetColor(float r, float g, float b);
int vo_graphics_SetAlpha(float alpha);
int vo_graphics_SetBlend(int mode);
int vo_graphics_SetScissor(float x, float y, float width, float height);

int vo_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
int vo_graphics_SetMatrix2(Array<float> matrix);
int vo_graphics_Transform(float a, float b, float c, float d, float e, float f);
int vo_graphics_Transform2(Array<float> matrix);
int vo_graphics_Translate(float x, float y);
int vo_graphics_Scale(float x, float y);
int vo_graphics_Rotate(float angle);
int vo_graphics_PushMatrix();
int vo_graphics_PopMatrix();

int vo_graphics_DrawRect(float x, float y, float width, float height);
int vo_graphics_DrawLine(float x0, float y0, float x1, float y1);
int vo_graphics_DrawEllipse(float x, float y, float xRadius, float yRadius);
int vo_graphics_DrawImage(c_Image* image, float x, float y, int frame);
int vo_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY, int frame);

// Null when the picture is missing or cannot be decoded.
Ref<c_Image> vo_graphics_LoadImage(String path, int frameCount, int flags);
Ref<c_Image> vo_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount, int flags);
Ref<c_Image> vo_graphics_CreateImage(int width, int height, int frameCount, int flags);
// A null font selects the default font, with first character 32.
int vo_graphics_SetFont(c_Image* font, int firstChar);
