// gxtkGraphics: frame set-up, state, the batching rule, flushing and every drawing operation.
#include "framework/graphics/renderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "framework/app/glfw_host.h"
#include "framework/graphics/gl.h"

namespace {

// A colour channel as a byte; values outside 0-255 saturate instead of spilling into the
// neighbouring channel of the packed word.
uint32_t ChannelByte(float value) {
    if (!(value > 0.0f)) return 0;
    if (value >= 255.0f) return 255;
    return static_cast<uint32_t>(value);
}

// The segment count of an oval from the estimate of its outline length.
int OvalSegments(float estimate) {
    if (!(estimate >= 12.0f)) return 12;
    if (estimate > 1024.0f) return 1024;
    return static_cast<int>(estimate) & ~3;
}

// Raises the array index error when rows of width values, pitch apart from offset, do not all
// lie inside the array.
void CheckRows(const Array<int>& pixels, int offset, int pitch, int width, int height) {
    for (int row = 0; row < height; ++row) {
        long long first = static_cast<long long>(offset) + static_cast<long long>(row) * pitch;
        long long last = first + width - 1;
        for (long long index : {first, last}) {
            if (index < 0 || index >= pixels.Length())
                vo_array_index_error(index < 0 ? -1 : static_cast<int>(std::min<long long>(index, 0x7FFFFFFF)),
                                     pixels.Length());
        }
    }
}

}  // namespace

gxtkGraphics::gxtkGraphics()
    : gxtkGraphics(VoGlfwGame::_glfwGame ? VoGlfwGame::_glfwGame->WindowSystem() : nullptr) {}

gxtkGraphics::gxtkGraphics(VoWindowSystem* windowSystem) : m_vertices{}, m_windowSystem(windowSystem) {
    ReadWindowSize();
    for (int q = 0; q < kMaxQuads; ++q) {
        uint16_t* index = m_quadIndices + q * 6;
        uint16_t first = static_cast<uint16_t>(q * 4);
        index[0] = first;
        index[1] = static_cast<uint16_t>(first + 1);
        index[2] = static_cast<uint16_t>(first + 2);
        index[3] = first;
        index[4] = static_cast<uint16_t>(first + 2);
        index[5] = static_cast<uint16_t>(first + 3);
    }
}

void gxtkGraphics::ReadWindowSize() {
    int width = 0, height = 0;
    if (m_windowSystem) m_windowSystem->GetWindowSize(&width, &height);
    m_width = width;
    m_height = height;
}

int gxtkGraphics::BeginRender() {
    ReadWindowSize();
    VoGl& gl = VoGl::Current();
    gl.Viewport(0, 0, m_width, m_height);
    gl.MatrixMode(vo_gl::PROJECTION);
    gl.LoadIdentity();
    gl.Ortho(0, m_width, m_height, 0, -1, 1);
    gl.MatrixMode(vo_gl::MODELVIEW);
    gl.LoadIdentity();
    gl.EnableClientState(vo_gl::VERTEX_ARRAY);
    gl.EnableClientState(vo_gl::TEXTURE_COORD_ARRAY);
    gl.EnableClientState(vo_gl::COLOR_ARRAY);
    gl.VertexPointer(2, vo_gl::FLOAT, sizeof(gxtkVertex), &m_vertices[0].x);
    gl.TexCoordPointer(2, vo_gl::FLOAT, sizeof(gxtkVertex), &m_vertices[0].u);
    gl.ColorPointer(4, vo_gl::UNSIGNED_BYTE, sizeof(gxtkVertex), &m_vertices[0].color);
    gl.Enable(vo_gl::BLEND);
    gl.BlendFunc(vo_gl::ONE, vo_gl::ONE_MINUS_SRC_ALPHA);
    gl.Disable(vo_gl::TEXTURE_2D);
    m_vertexCount = 0;
    return 1;
}

void gxtkGraphics::EndRender() { Flush(); }

gxtkVertex* gxtkGraphics::Begin(int kind, int n, gxtkSurface* surface) {
    if (kind != m_primKind || surface != m_primSurface || m_vertexCount + n > kMaxVertices) {
        if (m_vertexCount > 0) Flush();
        m_primKind = kind;
        m_primSurface = surface;
    }
    gxtkVertex* first = m_vertices + m_vertexCount;
    m_vertexCount += n;
    return first;
}

void gxtkGraphics::Flush() {
    if (m_vertexCount == 0) return;
    VoGl& gl = VoGl::Current();
    if (m_primSurface) {
        gl.Enable(vo_gl::TEXTURE_2D);
        m_primSurface->Bind();
    }
    switch (m_primKind) {
        case 1: gl.DrawArrays(vo_gl::POINTS, 0, m_vertexCount); break;
        case 2: gl.DrawArrays(vo_gl::LINES, 0, m_vertexCount); break;
        case 3: gl.DrawArrays(vo_gl::TRIANGLES, 0, m_vertexCount); break;
        case 4:
            gl.DrawElements(vo_gl::TRIANGLES, m_vertexCount / 4 * 6, vo_gl::UNSIGNED_SHORT, m_quadIndices);
            break;
        default:
            for (int first = 0; first < m_vertexCount; first += m_primKind)
                gl.DrawArrays(vo_gl::TRIANGLE_FAN, first, m_primKind);
            break;
    }
    if (m_primSurface) gl.Disable(vo_gl::TEXTURE_2D);
    m_vertexCount = 0;
}

void gxtkGraphics::PackColor() {
    m_packedColor = ChannelByte(255.0f * m_alpha) << 24 | ChannelByte(m_blue * m_alpha) << 16 |
                    ChannelByte(m_green * m_alpha) << 8 | ChannelByte(m_red * m_alpha);
}

int gxtkGraphics::Cls(float r, float g, float b) {
    m_vertexCount = 0;
    VoGl& gl = VoGl::Current();
    gl.ClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
    gl.Clear(vo_gl::COLOR_BUFFER_BIT);
    return 0;
}

int gxtkGraphics::SetAlpha(float alpha) {
    m_alpha = alpha;
    PackColor();
    return 0;
}

int gxtkGraphics::SetColor(float r, float g, float b) {
    m_red = r;
    m_green = g;
    m_blue = b;
    PackColor();
    return 0;
}

int gxtkGraphics::SetBlend(int mode) {
    Flush();
    VoGl& gl = VoGl::Current();
    if (mode == 1) {
        gl.BlendFunc(vo_gl::ONE, vo_gl::ONE);
    } else {
        gl.BlendFunc(vo_gl::ONE, vo_gl::ONE_MINUS_SRC_ALPHA);
    }
    return 0;
}

int gxtkGraphics::SetScissor(int x, int y, int width, int height) {
    Flush();
    VoGl& gl = VoGl::Current();
    if (x == 0 && y == 0 && width == Width() && height == Height()) {
        gl.Disable(vo_gl::SCISSOR_TEST);
    } else {
        gl.Enable(vo_gl::SCISSOR_TEST);
        gl.Scissor(x, Height() - y - height, width, height);
    }
    return 0;
}

int gxtkGraphics::SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
    m_ix = ix;
    m_iy = iy;
    m_jx = jx;
    m_jy = jy;
    m_tx = tx;
    m_ty = ty;
    m_transformed = !(ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0);
    return 0;
}

int gxtkGraphics::DrawPoint(float x, float y) {
    gxtkVertex* v = Begin(1, 1, nullptr);
    Put(v, x, y);
    v->x += 0.5f;
    v->y += 0.5f;
    return 0;
}

int gxtkGraphics::DrawLine(float x0, float y0, float x1, float y1) {
    gxtkVertex* v = Begin(2, 2, nullptr);
    Put(v, x0, y0);
    Put(v + 1, x1, y1);
    for (int i = 0; i < 2; ++i) {
        v[i].x += 0.5f;
        v[i].y += 0.5f;
    }
    return 0;
}

int gxtkGraphics::DrawRect(float x, float y, float width, float height) {
    gxtkVertex* v = Begin(4, 4, nullptr);
    Put(v, x, y);
    Put(v + 1, x + width, y);
    Put(v + 2, x + width, y + height);
    Put(v + 3, x, y + height);
    return 0;
}

int gxtkGraphics::DrawOval(float x, float y, float width, float height) {
    float rx = width * 0.5f, ry = height * 0.5f;
    float estimate;
    if (m_transformed) {
        float ilen = std::sqrt((m_ix * rx) * (m_ix * rx) + (m_iy * rx) * (m_iy * rx));
        float jlen = std::sqrt((m_jx * ry) * (m_jx * ry) + (m_jy * ry) * (m_jy * ry));
        estimate = std::trunc(ilen + jlen);
    } else {
        estimate = std::fabs(std::trunc(rx)) + std::fabs(std::trunc(ry));
    }
    int n = OvalSegments(estimate);
    gxtkVertex* v = Begin(n, n, nullptr);
    float cx = x + rx, cy = y + ry;
    for (int i = 0; i < n; ++i) {
        float angle = static_cast<float>(i) * 6.2831855f / static_cast<float>(n);
        Put(v + i, cx + std::cos(angle) * rx, cy - std::sin(angle) * ry);
    }
    return 0;
}

int gxtkGraphics::DrawPoly(Array<float> verts) {
    int n = verts.Length() / 2;
    if (n < 1 || n > kMaxVertices) return 0;
    const float* in = verts.Data();
    gxtkVertex* v = Begin(n, n, nullptr);
    for (int i = 0; i < n; ++i) Put(v + i, in[2 * i], in[2 * i + 1]);
    return 0;
}

int gxtkGraphics::DrawPoly2(Array<float> verts, gxtkSurface* surface, int srcx, int srcy) {
    int n = verts.Length() / 4;
    if (n < 1 || n > kMaxVertices || !surface) return 0;
    const float* in = verts.Data();
    float us = surface->m_uscale, vs = surface->m_vscale;
    gxtkVertex* v = Begin(n, n, surface);
    for (int i = 0; i < n; ++i) {
        Put(v + i, in[4 * i], in[4 * i + 1]);
        v[i].u = (in[4 * i + 2] + static_cast<float>(srcx)) * us;
        v[i].v = (in[4 * i + 3] + static_cast<float>(srcy)) * vs;
    }
    return 0;
}

int gxtkGraphics::DrawSurface(gxtkSurface* surface, float x, float y) {
    if (!surface) return 0;
    float w = static_cast<float>(surface->Width()), h = static_cast<float>(surface->Height());
    float u1 = w * surface->m_uscale, v1 = h * surface->m_vscale;
    gxtkVertex* v = Begin(4, 4, surface);
    Put(v, x, y);
    Put(v + 1, x + w, y);
    Put(v + 2, x + w, y + h);
    Put(v + 3, x, y + h);
    v[0].u = 0, v[0].v = 0;
    v[1].u = u1, v[1].v = 0;
    v[2].u = u1, v[2].v = v1;
    v[3].u = 0, v[3].v = v1;
    return 0;
}

int gxtkGraphics::DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw, int srch) {
    if (!surface) return 0;
    float w = static_cast<float>(srcw), h = static_cast<float>(srch);
    float u0 = static_cast<float>(srcx) * surface->m_uscale;
    float u1 = static_cast<float>(srcx + srcw) * surface->m_uscale;
    float v0 = static_cast<float>(srcy) * surface->m_vscale;
    float v1 = static_cast<float>(srcy + srch) * surface->m_vscale;
    gxtkVertex* v = Begin(4, 4, surface);
    Put(v, x, y);
    Put(v + 1, x + w, y);
    Put(v + 2, x + w, y + h);
    Put(v + 3, x, y + h);
    v[0].u = u0, v[0].v = v0;
    v[1].u = u1, v[1].v = v0;
    v[2].u = u1, v[2].v = v1;
    v[3].u = u0, v[3].v = v1;
    return 0;
}

int gxtkGraphics::ReadPixels(Array<int> pixels, int x, int y, int width, int height, int offset, int pitch) {
    Flush();
    if (width <= 0 || height <= 0) return 0;
    CheckRows(pixels, offset, pitch, width, height);
    std::vector<uint32_t> buffer(static_cast<size_t>(width) * height);
    VoGl::Current().ReadPixels(x, m_height - y - height, width, height, vo_gl::BGRA, vo_gl::UNSIGNED_BYTE,
                               buffer.data());
    // OpenGL hands rows bottom up; the caller wants them top down.
    for (int row = 0; row < height; ++row) {
        std::memcpy(pixels.Data() + offset + static_cast<ptrdiff_t>(row) * pitch,
                    buffer.data() + static_cast<size_t>(height - 1 - row) * width, static_cast<size_t>(width) * 4);
    }
    return 0;
}

int gxtkGraphics::WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int width, int height,
                               int offset, int pitch) {
    if (!surface || width <= 0 || height <= 0) return 0;
    CheckRows(pixels, offset, pitch, width, height);
    surface->SetSubData(x, y, width, height, pixels.Data() + offset, pitch);
    return 0;
}
