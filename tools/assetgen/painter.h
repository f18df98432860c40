// Draws shapes given as distance functions into a canvas, through an affine transform from
// design units (virtual pixels of a frame) to canvas pixels, clipped to one frame cell.
#pragma once

#include <cmath>
#include <type_traits>
#include <vector>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/sdf.h"

namespace assetgen {

struct Affine {
    // x' = a·x + c·y + tx, y' = b·x + d·y + ty
    float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    Vec2 Apply(Vec2 p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    // This transform applied after `inner`.
    Affine After(const Affine& inner) const {
        return {a * inner.a + c * inner.b, b * inner.a + d * inner.b,
                a * inner.c + c * inner.d, b * inner.c + d * inner.d,
                a * inner.tx + c * inner.ty + tx, b * inner.tx + d * inner.ty + ty};
    }
    Affine Inverse() const {
        float det = a * d - b * c;
        Affine r{d / det, -b / det, -c / det, a / det, 0, 0};
        r.tx = -(r.a * tx + r.c * ty);
        r.ty = -(r.b * tx + r.d * ty);
        return r;
    }
};

struct ClipRect {
    int x0, y0, x1, y1;  // x1, y1 exclusive
};

class Painter {
public:
    Painter(Canvas& canvas, Affine toPixels, ClipRect clip)
        : m_canvas(&canvas), m_m(toPixels), m_clip(clip) {}

    Painter Translated(float x, float y) const { return With({1, 0, 0, 1, x, y}); }
    Painter Scaled(float sx, float sy) const { return With({sx, 0, 0, sy, 0, 0}); }
    Painter Scaled(float s) const { return Scaled(s, s); }
    Painter Rotated(float degrees) const {
        float r = degrees * kPi / 180.0f, cs = std::cos(r), sn = std::sin(r);
        return With({cs, sn, -sn, cs, 0, 0});
    }
    // Canvas pixels per design unit: the stroke and edge widths follow it.
    float PixelsPerUnit() const { return std::sqrt(std::fabs(m_m.a * m_m.d - m_m.b * m_m.c)); }
    Canvas& Target() const { return *m_canvas; }
    const Affine& Transform() const { return m_m; }
    const ClipRect& Clip() const { return m_clip; }

    // Fills where sdf(p) < 0 within the design-unit box [lo, hi], with anti-aliased edges.
    // The paint is a colour or a function of the design-unit point giving one.
    template <class Sdf, class Paint>
    void Fill(Vec2 lo, Vec2 hi, Sdf&& sdf, Paint&& paint) const {
        Each(lo, hi, [&](int x, int y, Vec2 p, float coverage) {
            if constexpr (std::is_same_v<std::decay_t<Paint>, Rgba>) {
                m_canvas->Blend(x, y, paint, coverage);
            } else {
                m_canvas->Blend(x, y, paint(p), coverage);
            }
        }, sdf);
    }
    // Cuts the shape out of what is already drawn.
    template <class Sdf>
    void Erase(Vec2 lo, Vec2 hi, Sdf&& sdf) const {
        Each(lo, hi, [&](int x, int y, Vec2, float coverage) { m_canvas->Erase(x, y, coverage); }, sdf);
    }
    // The shape with a dark rim of the given width around it, the usual look of the art.
    template <class Sdf, class Paint>
    void Outlined(Vec2 lo, Vec2 hi, Sdf&& sdf, Paint&& paint, Rgba rim, float width) const {
        Vec2 grow{width, width};
        Fill(lo - grow, hi + grow, [&](Vec2 p) { return sdf(p) - width; }, rim);
        Fill(lo, hi, sdf, paint);
    }

    // Shorthands for the common shapes.
    template <class Paint>
    void Circle(Vec2 c, float r, Paint&& paint) const {
        Fill(c - Vec2{r, r}, c + Vec2{r, r}, [=](Vec2 p) { return sdf::Circle(p, c, r); }, paint);
    }
    template <class Paint>
    void Ellipse(Vec2 c, float rx, float ry, Paint&& paint) const {
        Fill(c - Vec2{rx, ry}, c + Vec2{rx, ry}, [=](Vec2 p) { return sdf::Ellipse(p, c, rx, ry); }, paint);
    }
    template <class Paint>
    void Box(Vec2 c, Vec2 half, float radius, Paint&& paint) const {
        Fill(c - half, c + half, [=](Vec2 p) { return sdf::Box(p, c, half, radius); }, paint);
    }
    template <class Paint>
    void Line(Vec2 a, Vec2 b, float width, Paint&& paint) const {
        float r = width * 0.5f;
        Fill({std::min(a.x, b.x) - r, std::min(a.y, b.y) - r}, {std::max(a.x, b.x) + r, std::max(a.y, b.y) + r},
             [=](Vec2 p) { return sdf::Capsule(p, a, b, r); }, paint);
    }
    template <class Paint>
    void Polygon(const std::vector<Vec2>& pts, Paint&& paint) const {
        Vec2 lo = pts[0], hi = pts[0];
        for (Vec2 q : pts) {
            lo = {std::min(lo.x, q.x), std::min(lo.y, q.y)};
            hi = {std::max(hi.x, q.x), std::max(hi.y, q.y)};
        }
        Fill(lo, hi, [&](Vec2 p) { return sdf::Polygon(p, pts); }, paint);
    }

private:
    Painter With(const Affine& inner) const { return Painter(*m_canvas, m_m.After(inner), m_clip); }

    template <class Visit, class Sdf>
    void Each(Vec2 lo, Vec2 hi, Visit&& visit, Sdf& sdf) const {
        Vec2 corners[4] = {m_m.Apply(lo), m_m.Apply({hi.x, lo.y}), m_m.Apply({lo.x, hi.y}), m_m.Apply(hi)};
        float minX = corners[0].x, maxX = minX, minY = corners[0].y, maxY = minY;
        for (Vec2 q : corners) {
            minX = std::min(minX, q.x), maxX = std::max(maxX, q.x);
            minY = std::min(minY, q.y), maxY = std::max(maxY, q.y);
        }
        int x0 = std::max(m_clip.x0, static_cast<int>(std::floor(minX)) - 1);
        int y0 = std::max(m_clip.y0, static_cast<int>(std::floor(minY)) - 1);
        int x1 = std::min(m_clip.x1, static_cast<int>(std::ceil(maxX)) + 1);
        int y1 = std::min(m_clip.y1, static_cast<int>(std::ceil(maxY)) + 1);
        Affine inv = m_m.Inverse();
        float ppu = PixelsPerUnit();
        for (int y = y0; y < y1; y++) {
            for (int x = x0; x < x1; x++) {
                Vec2 p = inv.Apply({x + 0.5f, y + 0.5f});
                float coverage = Clamp01(0.5f - sdf(p) * ppu);
                if (coverage > 0.0f) visit(x, y, p, coverage);
            }
        }
    }

    Canvas* m_canvas;
    Affine m_m;
    ClipRect m_clip;
};

// Paints that vary over the shape.
inline auto LinearGradient(Vec2 p0, Rgba c0, Vec2 p1, Rgba c1) {
    Vec2 d = p1 - p0;
    float len2 = Dot(d, d);
    return [=](Vec2 p) { return Mix(c0, c1, Clamp01(Dot(p - p0, d) / len2)); };
}
inline auto RadialGradient(Vec2 centre, float radius, Rgba inner, Rgba outer) {
    return [=](Vec2 p) { return Mix(inner, outer, Clamp01(Length(p - centre) / radius)); };
}

}  // namespace assetgen
