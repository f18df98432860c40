// Signed distance functions of the basic shapes, negative inside, in the caller's units.
#pragma once

#include <cmath>
#include <vector>

#include "tools/assetgen/geometry.h"

namespace assetgen::sdf {

inline float Circle(Vec2 p, Vec2 c, float r) { return Length(p - c) - r; }

// Close to the true distance near the edge, which is all anti-aliasing needs.
inline float Ellipse(Vec2 p, Vec2 c, float rx, float ry) {
    Vec2 q = p - c;
    float k0 = Length({q.x / rx, q.y / ry});
    float k1 = Length({q.x / (rx * rx), q.y / (ry * ry)});
    if (k1 < 1e-6f) return -std::min(rx, ry);
    return k0 * (k0 - 1.0f) / k1;
}

// A box centred on c with half sizes h and corner radius r.
inline float Box(Vec2 p, Vec2 c, Vec2 h, float r = 0) {
    Vec2 q{std::fabs(p.x - c.x) - h.x + r, std::fabs(p.y - c.y) - h.y + r};
    Vec2 outside{std::max(q.x, 0.0f), std::max(q.y, 0.0f)};
    return Length(outside) + std::min(std::max(q.x, q.y), 0.0f) - r;
}

inline float Segment(Vec2 p, Vec2 a, Vec2 b) {
    Vec2 pa = p - a, ba = b - a;
    float len2 = Dot(ba, ba);
    float t = len2 > 0 ? Clamp01(Dot(pa, ba) / len2) : 0.0f;
    return Length(pa - ba * t);
}

inline float Capsule(Vec2 p, Vec2 a, Vec2 b, float r) { return Segment(p, a, b) - r; }

// A closed polygon of any winding; the sign comes from the even-odd rule.
inline float Polygon(Vec2 p, const std::vector<Vec2>& v) {
    size_t n = v.size();
    float d = Dot(p - v[0], p - v[0]);
    float s = 1.0f;
    for (size_t i = 0, j = n - 1; i < n; j = i, i++) {
        Vec2 e = v[j] - v[i], w = p - v[i];
        float t = Clamp01(Dot(w, e) / Dot(e, e));
        Vec2 b = w - e * t;
        d = std::min(d, Dot(b, b));
        bool c1 = p.y >= v[i].y, c2 = p.y < v[j].y, c3 = e.x * w.y > e.y * w.x;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
    }
    return s * std::sqrt(d);
}

inline float Ring(Vec2 p, Vec2 c, float r, float halfWidth) {
    return std::fabs(Length(p - c) - r) - halfWidth;
}

// A round-capped stroke along a circle from angle a0 clockwise to a1 (degrees, 0 up).
inline float Arc(Vec2 p, Vec2 c, float r, float a0, float a1, float halfWidth) {
    Vec2 q = p - c;
    float angle = std::atan2(q.x, -q.y) * 180.0f / kPi;
    float t = std::fmod(angle - a0 + 720.0f, 360.0f);
    if (t <= a1 - a0) return std::fabs(Length(q) - r) - halfWidth;
    return std::min(Length(p - Polar(c, r, a0)), Length(p - Polar(c, r, a1))) - halfWidth;
}

inline float Union(float a, float b) { return std::min(a, b); }
inline float Intersect(float a, float b) { return std::max(a, b); }
inline float Subtract(float a, float b) { return std::max(a, -b); }
// A union with a rounded seam of size k, for organic outlines.
inline float SmoothUnion(float a, float b, float k) {
    float h = Clamp01(0.5f + 0.5f * (b - a) / k);
    return Mix(b, a, h) - k * h * (1.0f - h);
}

}  // namespace assetgen::sdf
