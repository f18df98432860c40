// gxtkSurface: pixel bytes, premultiplication, lazy textures per generation and sub-rectangle writes.
#include "framework/graphics/surface.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "framework/app/glfw_host.h"
#include "framework/graphics/gl.h"

namespace {

// Smallest power of two not below size; 1 for sizes below 2.
int PowerOfTwoAtLeast(int size) {
    int result = 1;
    while (result < size && result < (1 << 30)) result <<= 1;
    return result;
}

// Drivers refuse some sizes by raising an error flag; stale flags from earlier calls must not
// be taken for that refusal. The bound keeps a context that never clears its flag from hanging us.
void DrainErrors(VoGl& gl) {
    for (int i = 0; i < 16 && gl.GetError() != vo_gl::NO_ERROR; ++i) {
    }
}

}  // namespace

int vo_surface_maxTextureSize = 0;
bool vo_surface_keepPictureBytes = true;

int vo_surface_FormatForDepth(int depth) {
    switch (depth) {
        case 1: return vo_gl::LUMINANCE;
        case 2: return vo_gl::LUMINANCE_ALPHA;
        case 3: return vo_gl::RGB;
        default: return vo_gl::RGBA;
    }
}

void vo_surface_Premultiply(unsigned char* data, int pixelCount, int depth) {
    if (depth == 2) {
        for (int i = 0; i < pixelCount; ++i, data += 2) data[0] = static_cast<unsigned char>(data[0] * data[1] / 255);
    } else if (depth == 4) {
        for (int i = 0; i < pixelCount; ++i, data += 4) {
            int alpha = data[3];
            data[0] = static_cast<unsigned char>(data[0] * alpha / 255);
            data[1] = static_cast<unsigned char>(data[1] * alpha / 255);
            data[2] = static_cast<unsigned char>(data[2] * alpha / 255);
        }
    }
}

gxtkSurface::~gxtkSurface() { Discard(); }

int gxtkSurface::Discard() {
    if (m_seq == glfwGraphicsSeq) {
        VoGl::Current().DeleteTextures(1, &m_texture);
        m_seq = -1;
    }
    std::free(m_data);
    m_data = nullptr;
    m_bytesGiven = false;
    return 0;
}

bool gxtkSurface::ReadAgain() {
    int width = 0, height = 0, depth = 0;
    unsigned char* data = VoGame::_game ? VoGame::_game->LoadImageData(m_location, &width, &height, &depth) : nullptr;
    if (data && (width != m_width || height != m_height || depth != m_depth)) {
        std::fprintf(stderr, "Floeward: picture %s is no longer the %dx%d it was\n", m_path.ToUtf8().c_str(), m_width,
                     m_height);
        std::free(data);
        data = nullptr;
    }
    if (!data) return false;
    vo_surface_Premultiply(data, width * height, depth);
    m_data = data;
    m_bytesGiven = false;
    return true;
}

void gxtkSurface::SetData(unsigned char* data, int width, int height, int depth) {
    std::free(m_data);
    m_data = data;
    m_width = width;
    m_height = height;
    m_depth = depth;
    m_format = vo_surface_FormatForDepth(depth);
    if (m_data) vo_surface_Premultiply(m_data, width * height, depth);
}

void gxtkSurface::Bind() {
    if (glfwGraphicsSeq == 0) return;
    VoGl& gl = VoGl::Current();
    if (m_seq == glfwGraphicsSeq) {
        gl.BindTexture(vo_gl::TEXTURE_2D, m_texture);
        return;
    }
    // The texture of a picture that keeps no bytes is made from its file.
    if (!m_data && m_bytesGiven) ReadAgain();
    m_seq = glfwGraphicsSeq;
    gl.GenTextures(1, &m_texture);
    gl.BindTexture(vo_gl::TEXTURE_2D, m_texture);
    gl.TexParameteri(vo_gl::TEXTURE_2D, vo_gl::TEXTURE_MAG_FILTER, vo_gl::NEAREST);
    gl.TexParameteri(vo_gl::TEXTURE_2D, vo_gl::TEXTURE_MIN_FILTER, vo_gl::NEAREST);
    gl.TexParameteri(vo_gl::TEXTURE_2D, vo_gl::TEXTURE_WRAP_S, vo_gl::CLAMP_TO_EDGE);
    gl.TexParameteri(vo_gl::TEXTURE_2D, vo_gl::TEXTURE_WRAP_T, vo_gl::CLAMP_TO_EDGE);

    // Some drivers crash on a texture beyond their limit rather than refusing it: such a
    // surface gets no texture and draws nothing.
    int limit = 0;
    gl.GetIntegerv(vo_gl::MAX_TEXTURE_SIZE, &limit);
    if (limit > 0) vo_surface_maxTextureSize = limit;
    auto fits = [limit](int width, int height) { return limit <= 0 || (width <= limit && height <= limit); };
    int texWidth = m_width, texHeight = m_height;
    bool made = fits(texWidth, texHeight);
    if (made) {
        DrainErrors(gl);
        gl.TexImage2D(vo_gl::TEXTURE_2D, 0, m_format, texWidth, texHeight, 0, m_format, vo_gl::UNSIGNED_BYTE, nullptr);
        if (gl.GetError() != vo_gl::NO_ERROR) {
            // Older implementations take only power-of-two sizes; the picture sits in the top-left part.
            texWidth = PowerOfTwoAtLeast(m_width);
            texHeight = PowerOfTwoAtLeast(m_height);
            made = fits(texWidth, texHeight);
            if (made) {
                gl.TexImage2D(vo_gl::TEXTURE_2D, 0, m_format, texWidth, texHeight, 0, m_format, vo_gl::UNSIGNED_BYTE,
                              nullptr);
            }
        }
    }
    if (!made) {
        std::fprintf(stderr, "Floeward: picture %s (%dx%d) is larger than the %d pixels a texture may have here\n",
                     m_path.Empty() ? "made in memory" : m_path.ToUtf8().c_str(), m_width, m_height, limit);
        m_uscale = m_vscale = 0;
        return;
    }
    m_uscale = texWidth > 0 ? 1.0f / static_cast<float>(texWidth) : 0.0f;
    m_vscale = texHeight > 0 ? 1.0f / static_cast<float>(texHeight) : 0.0f;

    if (m_data) {
        gl.PixelStorei(vo_gl::UNPACK_ALIGNMENT, 1);
        gl.TexSubImage2D(vo_gl::TEXTURE_2D, 0, 0, 0, m_width, m_height, m_format, vo_gl::UNSIGNED_BYTE, m_data);
    }
    // The texture holds the picture now, and the file holds it for the next texture.
    if (m_data && !vo_surface_keepPictureBytes && !m_location.Empty()) {
        std::free(m_data);
        m_data = nullptr;
        m_bytesGiven = true;
    }
}

void gxtkSurface::SetSubData(int x, int y, int width, int height, const int* pixels, int pitch) {
    if (m_format != static_cast<int>(vo_gl::RGBA)) return;
    // A rectangle reaching outside the picture would write outside the pixel bytes.
    if (width <= 0 || height <= 0 || x < 0 || y < 0 || x > m_width - width || y > m_height - height) return;
    // Written to, the picture is no longer its file's: it keeps its bytes from now on.
    if (!m_data && m_bytesGiven) ReadAgain();
    m_location = String();
    m_bytesGiven = false;
    if (!m_data) m_data = static_cast<unsigned char*>(std::calloc(static_cast<size_t>(m_width) * m_height, 4));
    if (!m_data) return;

    for (int r = 0; r < height; ++r) {
        const int* src = pixels + static_cast<ptrdiff_t>(r) * pitch;
        unsigned char* dst = m_data + (static_cast<size_t>(y + r) * m_width + x) * 4;
        for (int c = 0; c < width; ++c, dst += 4) {
            uint32_t argb = static_cast<uint32_t>(src[c]);
            uint32_t alpha = argb >> 24;
            dst[0] = static_cast<unsigned char>(((argb >> 16) & 0xFF) * alpha / 255);
            dst[1] = static_cast<unsigned char>(((argb >> 8) & 0xFF) * alpha / 255);
            dst[2] = static_cast<unsigned char>((argb & 0xFF) * alpha / 255);
            dst[3] = static_cast<unsigned char>(alpha);
        }
    }

    if (m_seq != glfwGraphicsSeq) return;
    VoGl& gl = VoGl::Current();
    gl.BindTexture(vo_gl::TEXTURE_2D, m_texture);
    gl.PixelStorei(vo_gl::UNPACK_ALIGNMENT, 1);
    if (width == m_width) {
        gl.TexSubImage2D(vo_gl::TEXTURE_2D, 0, x, y, width, height, vo_gl::RGBA, vo_gl::UNSIGNED_BYTE,
                         m_data + static_cast<size_t>(y) * m_width * 4);
        return;
    }
    for (int r = 0; r < height; ++r) {
        gl.TexSubImage2D(vo_gl::TEXTURE_2D, 0, x, y + r, width, 1, vo_gl::RGBA, vo_gl::UNSIGNED_BYTE,
                         m_data + (static_cast<size_t>(y + r) * m_width + x) * 4);
    }
}
