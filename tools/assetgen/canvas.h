// An RGBA picture in premultiplied floats that shapes are blended into, and its PNG output.
#pragma once

#include <string>
#include <vector>

#include "tools/assetgen/geometry.h"

namespace assetgen {

class Canvas {
public:
    Canvas(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Source-over blend of a straight-alpha colour, weighted by the pixel's coverage.
    void Blend(int x, int y, Rgba colour, float coverage) {
        float a = colour.a * coverage;
        float* p = &m_pixels[(static_cast<size_t>(y) * m_width + x) * 4];
        float keep = 1.0f - a;
        p[0] = colour.r * a + p[0] * keep;
        p[1] = colour.g * a + p[1] * keep;
        p[2] = colour.b * a + p[2] * keep;
        p[3] = a + p[3] * keep;
    }
    // Removes coverage of alpha (cuts holes).
    void Erase(int x, int y, float coverage) {
        float* p = &m_pixels[(static_cast<size_t>(y) * m_width + x) * 4];
        for (int i = 0; i < 4; i++) p[i] *= 1.0f - coverage;
    }
    // Straight-alpha colour of a pixel.
    Rgba At(int x, int y) const;
    // Copies another canvas in with source-over, the other's top-left at (x, y), clipped.
    void Draw(const Canvas& other, int x, int y);

    // 8-bit straight RGBA rows, what a PNG holds.
    std::vector<unsigned char> ToRgba8() const;
    bool WritePng(const std::string& path) const;

private:
    int m_width, m_height;
    std::vector<float> m_pixels;
};

}  // namespace assetgen
