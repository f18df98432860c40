// gxtkGraphics: the one graphics device, a batched 2D renderer over fixed-function OpenGL.
// Drawing calls become vertices in one fixed buffer; calls sharing a primitive kind and a
// texture reach OpenGL together when the batch is flushed.
#pragma once

#include <cstdint>

#include "framework/app/array.h"
#include "framework/app/object.h"
#include "framework/app/string.h"
#include "framework/graphics/surface.h"

class VoWindowSystem;

// The layout handed to OpenGL: position, texture coordinates, colour bytes R, G, B, A.
struct gxtkVertex {
    float x, y;
    float u, v;
    uint32_t color;
};
static_assert(sizeof(gxtkVertex) == 20, "OpenGL reads vertices with a 20-byte stride");

class gxtkGraphics : public Object {
public:
    static constexpr int kMaxVertices = 1024;
    static constexpr int kMaxQuads = kMaxVertices / 4;

    // Sized from the host's window.
    gxtkGraphics();
    // Sized from the given window system's window.
    explicit gxtkGraphics(VoWindowSystem* windowSystem);

    virtual int Width() { return m_width; }
    virtual int Height() { return m_height; }
    virtual int BeginRender();
    virtual void EndRender();
    virtual void DiscardGraphics() {}

    virtual Ref<gxtkSurface> LoadSurface(String path);
    virtual Ref<gxtkSurface> CreateSurface(int width, int height);
    virtual bool LoadSurface__UNSAFE__(gxtkSurface* surface, String path);

    virtual int Cls(float r, float g, float b);
    virtual int SetAlpha(float alpha);
    virtual int SetColor(float r, float g, float b);
    virtual int SetBlend(int mode);
    virtual int SetScissor(int x, int y, int width, int height);
    virtual int SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);

    virtual int DrawPoint(float x, float y);
    virtual int DrawRect(float x, float y, float width, float height);
    virtual int DrawLine(float x0, float y0, float x1, float y1);
    virtual int DrawOval(float x, float y, float width, float height);
    virtual int DrawPoly(Array<float> verts);
    virtual int DrawPoly2(Array<float> verts, gxtkSurface* surface, int srcx, int srcy);
    virtual int DrawSurface(gxtkSurface* surface, float x, float y);
    virtual int DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw, int srch);

    virtual int ReadPixels(Array<int> pixels, int x, int y, int width, int height, int offset, int pitch);
    virtual int WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int width, int height,
                             int offset, int pitch);

    // Applies the batching rule for n vertices of a kind and texture; returns where they go.
    gxtkVertex* Begin(int kind, int n, gxtkSurface* surface);
    // Draws the pending vertices, if any.
    void Flush();

    int m_width = 0;
    int m_height = 0;
    uint32_t m_packedColor = 0;
    float m_red = 0, m_green = 0, m_blue = 0;
    float m_alpha = 0;
    float m_ix = 1, m_iy = 0, m_jx = 0, m_jy = 1, m_tx = 0, m_ty = 0;
    bool m_transformed = false;
    gxtkVertex m_vertices[kMaxVertices];
    uint16_t m_quadIndices[kMaxQuads * 6];
    int m_primKind = 0;
    int m_vertexCount = 0;
    gxtkSurface* m_primSurface = nullptr;

private:
    void ReadWindowSize();
    // Writes the point through the current matrix.
    void Put(gxtkVertex* vertex, float x, float y) const {
        if (m_transformed) {
            vertex->x = m_ix * x + m_jx * y + m_tx;
            vertex->y = m_iy * x + m_jy * y + m_ty;
        } else {
            vertex->x = x;
            vertex->y = y;
        }
        vertex->color = m_packedColor;
    }
    void PackColor();

    VoWindowSystem* m_windowSystem;
};
