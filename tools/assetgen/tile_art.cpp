// The level sheet: eight ice blocks that join seamlessly, the entrance, the igloo exit, the
// skill icons and the pick-ups.
#include <cmath>

#include "tools/assetgen/images.h"
#include "tools/assetgen/palette.h"
#include "tools/assetgen/penguin_art.h"
#include "tools/assetgen/skill_art.h"

namespace assetgen {

namespace {

using namespace palette;

// A block fills the frame's central 32 x 32 completely, so neighbours meet without gaps;
// light top and left rims and dark bottom and right ones make each block read as one.
constexpr Vec2 kLo{2, 2}, kHi{34, 34};

float Square(Vec2 q) { return sdf::Box(q, {18, 18}, {16, 16}); }

void Band(const Painter& p, Vec2 lo, Vec2 hi, Rgba colour) {
    Vec2 c = (lo + hi) * 0.5f, h = (hi - lo) * 0.5f;
    p.Fill(lo, hi, [=](Vec2 q) { return sdf::Box(q, c, h); }, colour);
}

void BlockBase(const Painter& p, Rgba top, Rgba bottom) {
    p.Fill(kLo, kHi, Square, LinearGradient({0, 2}, top, {0, 34}, bottom));
}

void BlockRims(const Painter& p) {
    Band(p, {2, 2}, {34, 4}, WithAlpha(kWhite, 0.5f));
    Band(p, {2, 4}, {4, 32}, WithAlpha(kWhite, 0.22f));
    Band(p, {32, 4}, {34, 32}, WithAlpha(kInk, 0.22f));
    Band(p, {2, 31}, {34, 34}, WithAlpha(kInk, 0.3f));
    Band(p, {2, 33}, {34, 34}, WithAlpha(kInk, 0.35f));
}

void Glints(const Painter& p) {
    p.Line({8, 27}, {19, 9}, 2.6f, WithAlpha(kWhite, 0.35f));
    p.Line({15, 28}, {21, 18}, 1.2f, WithAlpha(kWhite, 0.3f));
}

void ClearIce(const Painter& p) {
    BlockBase(p, kIceLight, kIceMid);
    Glints(p);
    BlockRims(p);
}

void SnowCapped(const Painter& p) {
    BlockBase(p, kIce, kIceMid);
    Glints(p);
    auto snow = [](Vec2 q) {
        float edge = q.y - (10.0f + 1.3f * std::sin(q.x * 0.55f));
        float drips = std::min(sdf::Capsule(q, {10, 9}, {10, 13.5f}, 1.6f), sdf::Capsule(q, {25, 9}, {25, 15}, 1.9f));
        return sdf::Intersect(sdf::Union(edge, drips), Square(q));
    };
    p.Fill(kLo, {34, 18}, [&](Vec2 q) { return sdf::Intersect(snow(q) - 0.9f, Square(q)); }, kSnowShade);
    p.Fill(kLo, {34, 18}, snow, LinearGradient({0, 2}, kWhite, {0, 14}, kSnow));
    BlockRims(p);
}

void Cracked(const Painter& p) {
    BlockBase(p, kIceLight, kIceMid);
    const std::vector<std::vector<Vec2>> cracks = {
        {{6, 6}, {12, 13}, {11, 19}, {17, 24}, {16, 31}},
        {{12, 13}, {19, 12}, {26, 17}, {31, 16}},
        {{17, 24}, {24, 27}},
    };
    for (const auto& crack : cracks) {
        for (size_t i = 1; i < crack.size(); i++) {
            p.Line(crack[i - 1] + Vec2{0.8f, 0.8f}, crack[i] + Vec2{0.8f, 0.8f}, 1.0f, WithAlpha(kWhite, 0.55f));
            p.Line(crack[i - 1], crack[i], 1.0f, kIceDeep);
        }
    }
    BlockRims(p);
}

void PackedSnow(const Painter& p) {
    BlockBase(p, kSnow, kSnowShade);
    Rng rng(7);
    for (int i = 0; i < 14; i++) {
        Vec2 c{rng.Range(5, 31), rng.Range(6, 30)};
        p.Circle(c, rng.Range(0.6f, 1.2f), WithAlpha(Hex(0x9fb8d0), 0.6f));
    }
    BlockRims(p);
}

void DeepIce(const Painter& p) {
    BlockBase(p, kIceMid, kIceDeep);
    const float bubbles[][3] = {{10, 24, 2.2f}, {14, 16, 1.3f}, {24, 10, 1.8f}, {27, 25, 1.1f}, {20, 28, 0.9f}, {8, 9, 1.0f}};
    for (const auto& b : bubbles) {
        Vec2 c{b[0], b[1]};
        p.Fill(c - Vec2{3, 3}, c + Vec2{3, 3}, [=](Vec2 q) { return sdf::Ring(q, c, b[2], 0.45f); }, WithAlpha(kIceLight, 0.75f));
        p.Circle(c + Vec2{-b[2] * 0.35f, -b[2] * 0.35f}, b[2] * 0.3f, WithAlpha(kWhite, 0.8f));
    }
    Glints(p);
    BlockRims(p);
}

void IceBricks(const Painter& p) {
    BlockBase(p, kIceLight, kIce);
    Rgba mortar = WithAlpha(kIceDeep, 0.7f), light = WithAlpha(kWhite, 0.45f);
    Band(p, {2, 17}, {34, 18}, mortar);
    Band(p, {2, 18}, {34, 19}, light);
    Band(p, {17, 2}, {18, 17}, mortar);
    Band(p, {9, 18}, {10, 34}, mortar);
    Band(p, {25, 18}, {26, 34}, mortar);
    BlockRims(p);
}

void FrozenStone(const Painter& p) {
    BlockBase(p, Hex(0x8e9db2), Hex(0x56657c));
    const std::vector<Vec2> facets[3] = {
        {{4, 12}, {14, 8}, {18, 16}, {10, 22}, {4, 20}},
        {{18, 16}, {28, 12}, {32, 22}, {24, 28}},
        {{8, 26}, {16, 24}, {18, 32}, {8, 32}},
    };
    for (const auto& f : facets) {
        p.Polygon(f, WithAlpha(kWhite, 0.14f));
        for (size_t i = 0; i < f.size(); i++) p.Line(f[i], f[(i + 1) % f.size()], 0.8f, WithAlpha(kInk, 0.35f));
    }
    auto glaze = [](Vec2 q) { return sdf::Intersect(q.y - (8.0f + 1.0f * std::sin(q.x * 0.4f + 1)), Square(q)); };
    p.Fill(kLo, {34, 12}, glaze, WithAlpha(kIceLight, 0.65f));
    BlockRims(p);
}

void Crystal(const Painter& p) {
    BlockBase(p, kIce, kIceMid);
    Vec2 c{18, 18};
    p.Polygon({{2, 2}, {34, 2}, c}, WithAlpha(kWhite, 0.35f));
    p.Polygon({{34, 2}, {34, 34}, c}, WithAlpha(kIceLight, 0.12f));
    p.Polygon({{2, 34}, {34, 34}, c}, WithAlpha(kIceDeep, 0.3f));
    p.Polygon({{7, 18}, {18, 7}, {29, 18}, {18, 29}}, LinearGradient({10, 8}, kIceLight, {26, 28}, kIceMid));
    p.Polygon({{12, 18}, {18, 12}, {24, 18}, {18, 24}}, WithAlpha(kWhite, 0.4f));
    BlockRims(p);
}

// The entrance: an ice arch around a dark opening where the penguins drop in.
void Entrance(const Painter& p) {
    auto outer = [](Vec2 q) { return sdf::Union(sdf::Box(q, {18, 25}, {13, 9}), sdf::Circle(q, {18, 17}, 13)); };
    auto inner = [](Vec2 q) { return sdf::Union(sdf::Box(q, {18, 26}, {7.5f, 8}), sdf::Circle(q, {18, 18}, 7.5f)); };
    p.Outlined({4, 3}, {32, 34}, [&](Vec2 q) { return sdf::Intersect(outer(q), q.y - 33.2f); },
               LinearGradient({0, 4}, kIceLight, {0, 34}, kIceMid), kInk, 1.0f);
    for (int i = 0; i < 5; i++) {
        float a = -72.0f + i * 36.0f;
        p.Line(Polar({18, 18}, 8.5f, a), Polar({18, 17}, 12.5f, a), 0.8f, WithAlpha(kIceDeep, 0.6f));
    }
    p.Line({5, 25}, {10, 25}, 0.8f, WithAlpha(kIceDeep, 0.6f));
    p.Line({26, 25}, {31, 25}, 0.8f, WithAlpha(kIceDeep, 0.6f));
    p.Fill({9, 9}, {27, 34}, [&](Vec2 q) { return inner(q) - 1.0f; }, kInk);
    p.Fill({10, 10}, {26, 34}, inner, LinearGradient({0, 10}, Hex(0x2a4c7a), {0, 34}, kNight));
    p.Circle({15, 17}, 0.8f, WithAlpha(kIceLight, 0.8f));
    p.Circle({21, 22}, 0.6f, WithAlpha(kIceLight, 0.7f));
    p.Circle({18, 13.5f}, 0.5f, WithAlpha(kIceLight, 0.6f));
    // snow on the crown of the arch
    auto snow = [](Vec2 q) {
        return sdf::Intersect(sdf::Circle(q, {18, 17}, 13.8f), -(q.y - (8.5f + 0.8f * std::sin(q.x * 0.9f))));
    };
    p.Outlined({4, 2}, {32, 12}, [&](Vec2 q) { return sdf::Intersect(snow(q), sdf::Circle(q, {18, 17}, 13.8f)); },
               LinearGradient({0, 3}, kWhite, {0, 10}, kSnowShade), kInk, 0.8f);
}

// The exit: an igloo with a flag on top, standing on the cell's floor.
void Igloo(const Painter& p) {
    p.Line({18, 13}, {18, 3}, 1.4f, kInk);
    p.Outlined({18, 2}, {26, 9}, [](Vec2 q) { return sdf::Polygon(q, {{18.5f, 3}, {25, 5.5f}, {18.5f, 8}}) - 0.3f; },
               LinearGradient({18, 0}, kRed, {25, 0}, Hex(0xd8334a)), kInk, 0.8f);
    auto dome = [](Vec2 q) { return sdf::Intersect(sdf::Ellipse(q, {18, 33}, 15.0f, 20.0f), q.y - 33.2f); };
    p.Outlined({3, 12}, {33, 34}, dome, RadialGradient({13, 17}, 22.0f, kWhite, kSnowShade), kInk, 1.0f);
    for (float y : {19.0f, 25.0f}) {
        p.Fill({3, y - 1}, {33, y + 1}, [=](Vec2 q) { return sdf::Intersect(std::fabs(q.y - y) - 0.4f, dome(q) + 1.2f); },
               WithAlpha(Hex(0x8fa9c4), 0.9f));
    }
    const Vec2 seams[] = {{14, 14}, {22, 14}, {9, 20}, {18, 20}, {27, 20}, {6, 26}, {30, 26}};
    for (Vec2 s : seams) p.Line(s, s + Vec2{0, 4.5f}, 0.8f, WithAlpha(Hex(0x8fa9c4), 0.9f));
    auto door = [](Vec2 q) { return sdf::Union(sdf::Box(q, {19, 30}, {5, 4}), sdf::Circle(q, {19, 26}, 5)); };
    p.Outlined({13, 20}, {25, 34}, [&](Vec2 q) { return sdf::Intersect(door(q), q.y - 33.2f); },
               LinearGradient({0, 21}, Hex(0x2a4c7a), {0, 33}, kNight), kInk, 1.0f);
    p.Fill({13, 26}, {25, 34}, [](Vec2 q) { return sdf::Intersect(sdf::Ellipse(q, {19, 33}, 4.5f, 1.6f), q.y - 33.2f); },
           WithAlpha(Hex(0xffd77a), 0.5f));
}

// A floating ice bubble holding what it gives.
void Bubble(const Painter& p) {
    Vec2 c{18, 18};
    p.Circle(c, 15.2f, kInk);
    p.Circle(c, 14.0f, RadialGradient({14, 13}, 17.0f, WithAlpha(kIceLight, 0.9f), WithAlpha(kIceMid, 0.85f)));
    p.Fill({3, 3}, {33, 33}, [=](Vec2 q) { return sdf::Ring(q, c, 13.2f, 0.7f); }, WithAlpha(kWhite, 0.45f));
}

void BubbleShine(const Painter& p) {
    Vec2 c{18, 18};
    p.Fill({4, 4}, {20, 20}, [=](Vec2 q) { return sdf::Arc(q, c, 11.0f, -70, -25, 1.3f); }, WithAlpha(kWhite, 0.85f));
    p.Circle({27, 9}, 1.2f, kWhite);
}

void Pickup(const Painter& p, int skill) {
    Bubble(p);
    Painter inner = p.Translated(18, 18.5f).Scaled(0.66f).Translated(-18, -18);
    if (skill < 5) {
        DrawSkillSymbol(inner, skill);
    } else {
        DrawPenguin(p.Translated(18, 18).Scaled(0.72f).Translated(-18, -19.5f), PenguinPose{});
    }
    BubbleShine(p);
}

// Shown when a penguin pick-up floats away: a penguin with a plus.
void PenguinPlus(const Painter& p) {
    DrawPenguin(p.Translated(16, 18).Scaled(0.85f).Translated(-18, -19), PenguinPose{.eyeHappy = true});
    auto plus = [](Vec2 q) {
        return sdf::Union(sdf::Box(q, {28, 9}, {5.0f, 1.6f}, 0.6f), sdf::Box(q, {28, 9}, {1.6f, 5.0f}, 0.6f));
    };
    p.Outlined({22, 3}, {34, 15}, plus, Hex(0x7cf08a), kInk, 1.0f);
}

}  // namespace

void DrawTileFrame(const Painter& p, int frame) {
    switch (frame) {
        case 0: ClearIce(p); break;
        case 1: SnowCapped(p); break;
        case 2: Cracked(p); break;
        case 3: PackedSnow(p); break;
        case 4: DeepIce(p); break;
        case 5: IceBricks(p); break;
        case 6: FrozenStone(p); break;
        case 7: Crystal(p); break;
        case 8: Entrance(p); break;
        case 9: Igloo(p); break;
        case 16: case 17: case 18: case 19: case 20: DrawSkillSymbol(p, frame - 16); break;
        case 21: PenguinPlus(p); break;
        case 24: case 25: case 26: case 27: case 28: case 29: Pickup(p, frame - 24); break;
        default: break;
    }
}

}  // namespace assetgen
