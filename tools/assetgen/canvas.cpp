// Canvas storage, conversion to 8-bit and PNG writing through stb_image_write.
#include "tools/assetgen/canvas.h"

#include <cmath>
#include <stb_image_write.h>

namespace assetgen {

Canvas::Canvas(int width, int height)
    : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height * 4, 0.0f) {}

Rgba Canvas::At(int x, int y) const {
    const float* p = &m_pixels[(static_cast<size_t>(y) * m_width + x) * 4];
    if (p[3] <= 0.0f) return {};
    return {p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

void Canvas::Draw(const Canvas& other, int x, int y) {
    for (int sy = 0; sy < other.m_height; sy++) {
        int dy = y + sy;
        if (dy < 0 || dy >= m_height) continue;
        for (int sx = 0; sx < other.m_width; sx++) {
            int dx = x + sx;
            if (dx < 0 || dx >= m_width) continue;
            const float* s = &other.m_pixels[(static_cast<size_t>(sy) * other.m_width + sx) * 4];
            float* d = &m_pixels[(static_cast<size_t>(dy) * m_width + dx) * 4];
            float keep = 1.0f - s[3];
            for (int i = 0; i < 4; i++) d[i] = s[i] + d[i] * keep;
        }
    }
}

std::vector<unsigned char> Canvas::ToRgba8() const {
    std::vector<unsigned char> out(static_cast<size_t>(m_width) * m_height * 4);
    auto byte = [](float v) { return static_cast<unsigned char>(std::lround(Clamp01(v) * 255.0f)); };
    for (size_t i = 0; i < out.size(); i += 4) {
        float a = m_pixels[i + 3];
        unsigned char alpha = byte(a);
        if (alpha == 0) continue;  // fully transparent pixels stay black so files compress well
        for (int c = 0; c < 3; c++) out[i + c] = byte(m_pixels[i + c] / a);
        out[i + 3] = alpha;
    }
    return out;
}

bool Canvas::WritePng(const std::string& path) const {
    std::vector<unsigned char> rgba = ToRgba8();
    return stbi_write_png(path.c_str(), m_width, m_height, 4, rgba.data(), m_width * 4) != 0;
}

}  // namespace assetgen
