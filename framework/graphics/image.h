// Images: a surface cut into equally sized frames, with a handle point subtracted from every
// drawing position.
#pragma once

#include "framework/app/array.h"
#include "framework/app/object.h"
#include "framework/graphics/surface.h"

// One frame's top-left corner in its surface, in pixels.
class c_Frame : public Object {
public:
    c_Frame* m_new(int x, int y);
    c_Frame* m_new2();

    int m_x = 0;
    int m_y = 0;
};

class c_Image : public Object {
public:
    // Put the handle in the middle of the frame when the flags are applied.
    static constexpr int MidHandle = 1;
    // A one-pixel gutter on both sides of every cell, in x and in y.
    static constexpr int XPadding = 2;
    static constexpr int YPadding = 4;
    // One frame covering the whole surface: drawn with the device's whole-surface call.
    static constexpr int FullFrame = 0x10000;

    c_Image* m_new();
    // Frames in one horizontal strip across the whole surface.
    c_Image* p_Init(gxtkSurface* surface, int frameCount, int flags);
    // Frames of the given size walked left to right, then top to bottom, inside the source rectangle.
    c_Image* p_Init2(gxtkSurface* surface, int x, int y, int frameWidth, int frameHeight, int frameCount, int flags,
                     c_Image* source, int srcX, int srcY, int srcWidth, int srcHeight);
    void p_ApplyFlags(int flags);
    void p_SetHandle(float x, float y);

    Ref<gxtkSurface> m_surface;
    int m_width = 0;
    int m_height = 0;
    Array<Ref<c_Frame>> m_frames;
    int m_flags = 0;
    float m_handleX = 0;
    float m_handleY = 0;
    Ref<c_Image> m_source;
};
