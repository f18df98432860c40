// Small value types for the asset generator: points, colours and the usual blends.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace assetgen {

inline constexpr float kPi = 3.14159265358979f;

struct Vec2 {
    float x = 0, y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float s) { return {a.x * s, a.y * s}; }
inline float Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float Cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }
inline float Length(Vec2 a) { return std::sqrt(Dot(a, a)); }
inline Vec2 Rotated(Vec2 a, float degrees) {
    float r = degrees * kPi / 180.0f, c = std::cos(r), s = std::sin(r);
    return {a.x * c - a.y * s, a.x * s + a.y * c};
}
// The point at `degrees` on a circle, 0 pointing up and 90 to the right (screen y is down).
inline Vec2 Polar(Vec2 centre, float radius, float degrees) {
    float r = degrees * kPi / 180.0f;
    return {centre.x + std::sin(r) * radius, centre.y - std::cos(r) * radius};
}

inline float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
inline float Mix(float a, float b, float t) { return a + (b - a) * t; }
inline float SmoothStep(float e0, float e1, float v) {
    float t = Clamp01((v - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// A colour with straight (not premultiplied) alpha, every channel 0 to 1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

inline Rgba Hex(uint32_t rgb, float alpha = 1.0f) {
    return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, alpha};
}
inline Rgba WithAlpha(Rgba c, float a) { return {c.r, c.g, c.b, a}; }
inline Rgba Mix(Rgba a, Rgba b, float t) {
    return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t), Mix(a.a, b.a, t)};
}
// Towards white (amount > 0) or black (amount < 0), alpha kept.
inline Rgba Shade(Rgba c, float amount) {
    Rgba target = amount > 0 ? Rgba{1, 1, 1, c.a} : Rgba{0, 0, 0, c.a};
    return Mix(c, target, std::fabs(amount));
}

// A deterministic generator for the art and the sounds: every asset seeds its own.
class Rng {
public:
    explicit Rng(uint32_t seed) : m_state(seed * 2654435761u + 0x9e3779b9u) {
        if (m_state == 0) m_state = 1;
    }
    uint32_t Next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    // A float in [0, 1).
    float Unit() { return static_cast<float>(Next() >> 8) * (1.0f / 16777216.0f); }
    float Range(float low, float high) { return low + (high - low) * Unit(); }
    int Int(int low, int high) { return low + static_cast<int>(Next() % static_cast<uint32_t>(high - low + 1)); }

private:
    uint32_t m_state;
};

}  // namespace assetgen
