// gxtkSurface: a decoded picture kept in memory and as an OpenGL texture made from it lazily,
// once per graphics generation.
#pragma once

#include "framework/app/object.h"
#include "framework/app/string.h"

class gxtkSurface : public Object {
public:
    ~gxtkSurface() override;

    // Deletes a texture of the current generation and frees the pixel bytes.
    virtual int Discard();
    virtual int Width() { return m_width; }
    virtual int Height() { return m_height; }
    virtual int Loaded() { return 1; }
    virtual void OnUnsafeLoadComplete() { Bind(); }

    // Makes the texture current, creating it first when this generation has none.
    void Bind();
    // Takes ownership of malloc'ed bytes and premultiplies them by their alpha.
    void SetData(unsigned char* data, int width, int height, int depth);
    // Writes a rectangle of 0xAARRGGBB pixels (pitch in pixels) into an RGBA surface.
    void SetSubData(int x, int y, int width, int height, const int* pixels, int pitch);
    // Reads the bytes from the picture's file, as a texture is about to be made; false when the
    // file no longer gives the same picture.
    bool ReadAgain();

    unsigned char* m_data = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_depth = 0;
    int m_format = 0;
    int m_seq = -1;
    unsigned m_texture = 0;
    // The file the picture came from, to name it when it does not fit; empty for made surfaces.
    String m_path;
    // The location the picture was read from (empty for made surfaces), and whether its bytes
    // are to be read from there when a texture is made (see vo_surface_keepPictureBytes).
    String m_location;
    bool m_bytesGiven = false;
    float m_uscale = 0;
    float m_vscale = 0;
};

// The largest texture side the current OpenGL context takes, once one has said; 0 before.
extern int vo_surface_maxTextureSize;
// True (the start value): a picture is decoded when it is loaded and keeps its pixel bytes for
// its whole life. A program whose picture files stay in place sets it false: loading a picture
// then reads only its size, and its file is decoded whenever a texture must be made (when the
// picture is first drawn, and after the window was opened again), the bytes given up at once.
// A picture never drawn costs neither bytes nor texture.
extern bool vo_surface_keepPictureBytes;

// Multiplies the colour channels of depth-2 and depth-4 pixel bytes by their alpha.
void vo_surface_Premultiply(unsigned char* data, int pixelCount, int depth);
// The OpenGL pixel format for a number of bytes per pixel (1 to 4).
int vo_surface_FormatForDepth(int depth);
