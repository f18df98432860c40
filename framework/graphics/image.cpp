// c_Frame and c_Image: frame layout, gutters, handles and the whole-surface bit.
#include "framework/graphics/image.h"

#include <cstdio>

#include "framework/app/error.h"

namespace {

// The runtime error keeps its own text; the line before it says which picture was too small.
[[noreturn]] void FrameOutsideSurface(gxtkSurface* surface, int frameWidth, int frameHeight) {
    if (!surface->m_path.Empty()) {
        std::fprintf(stderr, "Floeward: picture %s (%dx%d) is too small for its frames of %dx%d\n",
                     surface->m_path.ToUtf8().c_str(), surface->Width(), surface->Height(), frameWidth, frameHeight);
    }
    voError(String("Image frame outside surface"));
}

}  // namespace

c_Frame* c_Frame::m_new(int x, int y) {
    m_x = x;
    m_y = y;
    return this;
}

c_Frame* c_Frame::m_new2() { return this; }

c_Image* c_Image::m_new() { return this; }

c_Image* c_Image::p_Init(gxtkSurface* surface, int frameCount, int flags) {
    if (m_surface) voError(String("Image already initialized"));
    // The strip is divided by the count; a count below one has no frames to divide into.
    if (frameCount < 1) voError(String("Image frame count must be at least 1"));
    m_surface = surface;
    m_width = surface->Width() / frameCount;
    m_height = surface->Height();
    m_frames = Array<Ref<c_Frame>>(frameCount);
    for (int i = 0; i < frameCount; ++i) m_frames[i] = Ref<c_Frame>(New<c_Frame>()->m_new(i * m_width, 0));
    p_ApplyFlags(flags);
    return this;
}

c_Image* c_Image::p_Init2(gxtkSurface* surface, int x, int y, int frameWidth, int frameHeight, int frameCount,
                          int flags, c_Image* source, int srcX, int srcY, int srcWidth, int srcHeight) {
    if (m_surface) voError(String("Image already initialized"));
    m_surface = surface;
    m_source = source;
    m_width = frameWidth;
    m_height = frameHeight;
    m_frames = Array<Ref<c_Frame>>(frameCount);
    int cx = x, cy = y;
    for (int i = 0; i < frameCount; ++i) {
        if (cx + frameWidth > srcWidth) {
            if (frameWidth > srcWidth) FrameOutsideSurface(surface, frameWidth, frameHeight);
            cy += frameHeight;
            cx = 0;
        }
        if (cy + frameHeight > srcHeight) FrameOutsideSurface(surface, frameWidth, frameHeight);
        m_frames[i] = Ref<c_Frame>(New<c_Frame>()->m_new(cx + srcX, cy + srcY));
        cx += frameWidth;
    }
    p_ApplyFlags(flags);
    return this;
}

void c_Image::p_ApplyFlags(int flags) {
    m_flags = flags;
    if (flags & XPadding) {
        for (const Ref<c_Frame>& frame : m_frames) frame->m_x += 1;
        m_width -= 2;
    }
    if (flags & YPadding) {
        for (const Ref<c_Frame>& frame : m_frames) frame->m_y += 1;
        m_height -= 2;
    }
    if (flags & MidHandle) {
        p_SetHandle(0.5f * static_cast<float>(m_width), 0.5f * static_cast<float>(m_height));
    }
    if (m_frames.Length() == 1 && m_frames[0]->m_x == 0 && m_frames[0]->m_y == 0 &&
        m_width == m_surface->Width() && m_height == m_surface->Height()) {
        m_flags |= FullFrame;
    }
}

void c_Image::p_SetHandle(float x, float y) {
    m_handleX = x;
    m_handleY = y;
    m_flags &= ~MidHandle;
}
