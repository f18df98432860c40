// Skill symbols: an up arrow, a long arc, a flame against a block, a block bursting upward
// and two turning arrows, each in its skill's colour with the usual dark rim.
#include "tools/assetgen/skill_art.h"

#include "tools/assetgen/palette.h"

namespace assetgen {

namespace {

using namespace palette;

constexpr float kRim = 1.2f;

auto Glossy(Rgba c) { return LinearGradient({0, 6}, Shade(c, 0.45f), {0, 30}, Shade(c, -0.2f)); }

void Ground(const Painter& p) { p.Line({7, 31}, {29, 31}, 1.6f, WithAlpha(kSnowShade, 0.9f)); }

void Arrowhead(const Painter& p, Vec2 tip, Vec2 dir, float size, Rgba colour) {
    Vec2 side{-dir.y, dir.x};
    Vec2 base = tip - dir * size;
    std::vector<Vec2> tri = {tip, base + side * (size * 0.62f), base - side * (size * 0.62f)};
    Vec2 lo{std::min(tip.x, base.x) - size, std::min(tip.y, base.y) - size};
    Vec2 hi{std::max(tip.x, base.x) + size, std::max(tip.y, base.y) + size};
    p.Outlined(lo, hi, [tri](Vec2 q) { return sdf::Polygon(q, tri) - 0.6f; },
               Glossy(colour), kInk, kRim);
}

void Jump(const Painter& p) {
    Ground(p);
    auto shaft = [](Vec2 q) { return sdf::Box(q, {18, 21}, {3.0f, 8.5f}, 1.5f); };
    p.Outlined({15, 12}, {21, 30}, shaft, Glossy(kJump), kInk, kRim);
    Arrowhead(p, {18, 4.5f}, {0, -1}, 11.0f, kJump);
    for (float x : {9.0f, 27.0f}) p.Line({x, 16}, {x, 24}, 1.4f, WithAlpha(kWhite, 0.8f));
}

void Leap(const Painter& p) {
    Ground(p);
    Vec2 c{17, 36};
    auto arc = [=](Vec2 q) { return sdf::Arc(q, c, 18.0f, -55.0f, 40.0f, 2.4f); };
    p.Outlined({0, 14}, {34, 30}, arc, Glossy(kLeap), kInk, kRim);
    Vec2 end = Polar(c, 18.0f, 40.0f);
    Vec2 dir = Rotated({1, 0}, 40.0f);
    Arrowhead(p, end + dir * 5.0f, dir, 8.5f, kLeap);
    p.Line({2, 20}, {7, 20}, 1.4f, WithAlpha(kWhite, 0.8f));
}

void Melt(const Painter& p) {
    // A block on the right, melting, with drops below.
    p.Outlined({21, 9}, {32, 26}, [](Vec2 q) { return sdf::Box(q, {26.5f, 17.5f}, {5.0f, 8.0f}, 1.0f); },
               LinearGradient({0, 9}, kIceLight, {0, 26}, kIceMid), kInk, kRim);
    p.Outlined({20, 24}, {25, 32}, [](Vec2 q) {
        return sdf::SmoothUnion(sdf::Circle(q, {22.5f, 29.5f}, 1.8f), sdf::Capsule(q, {22.5f, 25}, {22.5f, 28.5f}, 0.9f), 1.0f);
    }, kIce, kInk, kRim * 0.8f);
    p.Outlined({27, 24}, {31, 30}, [](Vec2 q) { return sdf::Circle(q, {29, 27.5f}, 1.4f); }, kIce, kInk, kRim * 0.8f);
    // A flame lying on its side, licking at the block.
    auto flame = [](Vec2 q, float s) {
        return sdf::SmoothUnion(sdf::Circle(q, {10.5f, 18}, 6.5f * s),
                                sdf::Polygon(q, {{10.5f, 18 - 6.2f * s}, {10.5f + 10.5f * s + 0.5f, 17.5f}, {10.5f, 18 + 6.2f * s}}),
                                2.0f);
    };
    p.Outlined({3, 10}, {22, 26}, [&](Vec2 q) { return flame(q, 1.0f); },
               LinearGradient({4, 18}, kMelt, {20, 18}, Hex(0xff3b2a)), kInk, kRim);
    p.Fill({5, 13}, {18, 23}, [&](Vec2 q) { return flame(q - Vec2{-1.5f, 0}, 0.5f); }, kBurst);
}

void Burst(const Painter& p) {
    // A starburst pushing up into a block that breaks apart.
    std::vector<Vec2> star;
    for (int i = 0; i < 16; i++) star.push_back(Polar({18, 25}, i % 2 ? 4.0f : 9.0f, i * 22.5f));
    p.Outlined({8, 15}, {28, 34}, [&](Vec2 q) { return sdf::Polygon(q, star); }, Glossy(kBurst), kInk, kRim);
    p.Circle({18, 25}, 2.5f, kWhite);
    const std::vector<Vec2> pieces[3] = {
        {{7, 8}, {15, 6}, {16, 13}, {9, 14}},
        {{17, 4}, {26, 3}, {25, 11}, {18, 12}},
        {{27, 9}, {32, 11}, {30, 16}, {25, 14}},
    };
    for (const auto& piece : pieces) {
        p.Outlined({5, 1}, {34, 18}, [&](Vec2 q) { return sdf::Polygon(q, piece); },
                   LinearGradient({0, 3}, kIceLight, {0, 15}, kIceMid), kInk, kRim * 0.9f);
    }
}

void Spin(const Painter& p) {
    Vec2 c{18, 18};
    for (int half = 0; half < 2; half++) {
        float a0 = half * 180.0f + 25.0f, a1 = a0 + 120.0f;
        p.Outlined({3, 3}, {33, 33}, [=](Vec2 q) { return sdf::Arc(q, c, 11.0f, a0, a1, 2.4f); }, Glossy(kSpin), kInk, kRim);
        Vec2 end = Polar(c, 11.0f, a1);
        Vec2 dir = Rotated({1, 0}, a1);
        Arrowhead(p, end + dir * 4.5f, dir, 7.5f, kSpin);
    }
    p.Circle(c, 2.4f, kInk);
    p.Circle(c, 1.5f, kSnow);
}

}  // namespace

Rgba SkillColour(int skill) {
    const Rgba colours[5] = {kJump, kLeap, kMelt, kBurst, kSpin};
    return colours[skill];
}

void DrawSkillSymbol(const Painter& p, int skill) {
    switch (skill) {
        case 0: Jump(p); break;
        case 1: Leap(p); break;
        case 2: Melt(p); break;
        case 3: Burst(p); break;
        case 4: Spin(p); break;
        default: break;
    }
}

}  // namespace assetgen
