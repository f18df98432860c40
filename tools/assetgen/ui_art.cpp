// Interface pictures: the round pause/quit/restart/play and speed-up buttons, the level discs and the
// options gear, and the touch d-pad.
#include <cmath>

#include "game/image_sheets.h"
#include "tools/assetgen/images.h"
#include "tools/assetgen/palette.h"

namespace assetgen {

namespace {

using namespace palette;

// A round button: ink rim, icy ring and a deep centre for a white symbol.
void RoundButton(const Painter& p, Vec2 c, float r) {
    p.Circle(c + Vec2{0, r * 0.08f}, r + 0.5f, WithAlpha(kInk, 0.45f));
    p.Circle(c, r, kInk);
    p.Circle(c, r - 1.2f, LinearGradient(c - Vec2{0, r}, kIceLight, c + Vec2{0, r}, kIceMid));
    p.Circle(c, r - 3.6f, LinearGradient(c - Vec2{0, r}, Hex(0x35669d), c + Vec2{0, r}, kNight));
    p.Fill(c - Vec2{r, r}, c + Vec2{r, 0}, [=](Vec2 q) { return sdf::Arc(q, c, r - 5.5f, -60, 20, 0.8f); },
           WithAlpha(kWhite, 0.35f));
}

void Pause(const Painter& p) {
    RoundButton(p, {16, 16}, 14);
    p.Box({12.5f, 16}, {2.2f, 6}, 0.8f, kSnow);
    p.Box({19.5f, 16}, {2.2f, 6}, 0.8f, kSnow);
}

void Quit(const Painter& p) {
    RoundButton(p, {16, 16}, 14);
    p.Line({11.5f, 11.5f}, {20.5f, 20.5f}, 3.4f, kSnow);
    p.Line({20.5f, 11.5f}, {11.5f, 20.5f}, 3.4f, kSnow);
}

void Restart(const Painter& p) {
    RoundButton(p, {16, 16}, 14);
    Vec2 c{16, 16.5f};
    p.Fill({8, 8}, {24, 25}, [=](Vec2 q) { return sdf::Arc(q, c, 6.0f, 60, 330, 1.5f); }, kSnow);
    Vec2 end = Polar(c, 6.0f, 330), dir = Rotated({1, 0}, 330);
    Vec2 side{-dir.y, dir.x};
    p.Polygon({end + dir * 4.0f, end - side * 3.5f, end + side * 3.5f}, kSnow);
}

void Play(const Painter& p) {
    RoundButton(p, {16, 16}, 14);
    std::vector<Vec2> tri = {{12.5f, 9.5f}, {22.5f, 16}, {12.5f, 22.5f}};
    p.Fill({11, 8}, {24, 24}, [&](Vec2 q) { return sdf::Polygon(q, tri) - 0.8f; }, kSnow);
}

void Back(const Painter& p) {
    RoundButton(p, {16, 16}, 14);
    p.Line({11, 16}, {21, 16}, 3.0f, kSnow);
    p.Polygon({{8.5f, 16}, {14, 10.5f}, {14, 21.5f}}, kSnow);
}

void Speaker(const Painter& p, bool on) {
    RoundButton(p, {16, 16}, 14);
    p.Polygon({{9, 13}, {12, 13}, {16, 9.5f}, {16, 22.5f}, {12, 19}, {9, 19}}, kSnow);
    if (on) {
        p.Fill({16, 8}, {25, 24}, [](Vec2 q) { return sdf::Arc(q, {16, 16}, 4.0f, 40, 140, 0.9f); }, kSnow);
        p.Fill({16, 8}, {25, 24}, [](Vec2 q) { return sdf::Arc(q, {16, 16}, 7.0f, 45, 135, 0.9f); }, kSnow);
    } else {
        p.Line({18.5f, 13}, {23.5f, 19}, 1.8f, kRed);
        p.Line({23.5f, 13}, {18.5f, 19}, 1.8f, kRed);
    }
}

// Speed-up: two arrow heads pointing ahead; lit gold while held.
void SpeedUp(const Painter& p, bool held) {
    RoundButton(p, {16, 16}, 14);
    const Rgba mark = held ? kGold : kSnow;
    p.Fill({7, 8}, {18, 24}, [](Vec2 q) { return sdf::Polygon(q, {{8.5f, 10}, {16, 16}, {8.5f, 22}}) - 0.6f; }, mark);
    p.Fill({15, 8}, {26, 24}, [](Vec2 q) { return sdf::Polygon(q, {{16, 10}, {23.5f, 16}, {16, 22}}) - 0.6f; }, mark);
}

// A gear; `step` 0-2 turns it by a third of a tooth each.
void Gear(const Painter& p, Vec2 c, float outer, int step) {
    constexpr int kTeeth = 8;
    float turn = step * (360.0f / kTeeth) / 3.0f;
    float body = outer * 0.74f, hole = outer * 0.3f;
    auto gear = [=](Vec2 q) {
        float d = sdf::Circle(q, c, body);
        for (int k = 0; k < kTeeth; k++) {
            Vec2 local = Rotated(q - c, -(k * 360.0f / kTeeth + turn));
            d = std::min(d, sdf::Box(local, {0, -(body + outer) * 0.5f}, {outer * 0.14f, (outer - body) * 0.5f + 1}, 1.2f));
        }
        return sdf::Subtract(d, sdf::Circle(q, c, hole));
    };
    Vec2 ext{outer + 1, outer + 1};
    p.Fill(c - ext + Vec2{0, 2}, c + ext + Vec2{0, 2}, [&](Vec2 q) { return gear(q - Vec2{0, 2}) - 1; }, WithAlpha(kInk, 0.45f));
    p.Outlined(c - ext, c + ext, gear, LinearGradient(c - Vec2{outer, outer}, kSnow, c + Vec2{outer, outer}, Hex(0x7f9bbd)),
               kInk, outer * 0.06f);
    p.Fill(c - ext, c + ext, [=](Vec2 q) { return sdf::Ring(q, c, body * 0.7f, outer * 0.035f); }, WithAlpha(Hex(0x5a7497), 0.8f));
}

// A level disc; the game writes the level number over its middle.
void LevelDisc(const Painter& p, bool locked, bool done) {
    Vec2 c{32, 32};
    p.Circle(c + Vec2{0, 2.5f}, 28.5f, WithAlpha(kInk, 0.4f));
    p.Circle(c, 28, kInk);
    Rgba top = locked ? Hex(0x9aa8bb) : kIceLight, bottom = locked ? Hex(0x55647a) : kIceDeep;
    p.Circle(c, 26, LinearGradient({0, 6}, top, {0, 58}, bottom));
    p.Circle(c, 20, LinearGradient({0, 12}, Shade(bottom, -0.15f), {0, 52}, Shade(top, -0.1f)));
    p.Fill({10, 8}, {40, 40}, [=](Vec2 q) { return sdf::Arc(q, c, 23.0f, -70, -10, 1.2f); }, WithAlpha(kWhite, 0.55f));
    if (done) {
        std::vector<Vec2> star;
        for (int i = 0; i < 10; i++) star.push_back(Polar({32, 8}, i % 2 ? 3.2f : 7.0f, i * 36.0f));
        p.Outlined({24, 0}, {40, 16}, [&](Vec2 q) { return sdf::Polygon(q, star); }, kGold, kInk, 1.2f);
    }
    if (locked) {
        // a padlock hanging at the lower right, clear of the number
        Vec2 l{47, 46};
        p.Fill(l - Vec2{7, 12}, l + Vec2{7, 0}, [=](Vec2 q) { return sdf::Arc(q, l - Vec2{0, 3}, 4.5f, -90, 90, 2.4f); }, kInk);
        p.Fill(l - Vec2{7, 12}, l + Vec2{7, 0}, [=](Vec2 q) { return sdf::Arc(q, l - Vec2{0, 3}, 4.5f, -90, 90, 1.2f); },
               Hex(0xc9d3df));
        p.Outlined(l - Vec2{7, 3}, l + Vec2{7, 9}, [=](Vec2 q) { return sdf::Box(q, l + Vec2{0, 3}, {6.5f, 5.5f}, 1.5f); },
                   LinearGradient(l, kGold, l + Vec2{0, 9}, Hex(0xd08a1c)), kInk, 1.3f);
        p.Circle(l + Vec2{0, 2}, 1.4f, kInk);
        p.Line(l + Vec2{0, 2}, l + Vec2{0, 5.5f}, 1.2f, kInk);
    }
}

// The focus ring drawn around a chosen disc.
void FocusRing(const Painter& p) {
    Vec2 c{32, 32};
    p.Fill({0, 0}, {64, 64}, [=](Vec2 q) { return sdf::Ring(q, c, 29.5f, 2.0f); }, WithAlpha(kGold, 0.95f));
    p.Fill({0, 0}, {64, 64}, [=](Vec2 q) { return sdf::Ring(q, c, 29.5f, 3.6f); }, WithAlpha(kGold, 0.3f));
}

// Touch d-pad pieces.
void ArrowButton(const Painter& p, int dir, bool pressed) {
    Vec2 c{16, 16};
    Rgba top = pressed ? kGold : kIceLight, bottom = pressed ? Hex(0xd08a1c) : kIceMid;
    p.Outlined({3, 3}, {29, 29}, [=](Vec2 q) { return sdf::Box(q, c, {12, 12}, 4); }, LinearGradient({0, 4}, top, {0, 28}, bottom),
               kInk, 1.2f);
    Painter a = p.Translated(16, 16).Rotated(dir * 90.0f);
    a.Outlined({-8, -8}, {8, 8}, [](Vec2 q) { return sdf::Polygon(q, {{0, -7}, {6.5f, 3}, {-6.5f, 3}}) - 0.6f; }, kSnow, kInk,
               1.0f);
}

void Cross(const Painter& p) {
    Vec2 c{16, 16};
    auto cross = [=](Vec2 q) { return sdf::Union(sdf::Box(q, c, {5, 14}, 2), sdf::Box(q, c, {14, 5}, 2)); };
    p.Outlined({1, 1}, {31, 31}, cross, LinearGradient({0, 2}, Hex(0x6a84a8), {0, 30}, Hex(0x34496b)), kInk, 1.0f);
    for (int d = 0; d < 4; d++) {
        Painter a = p.Translated(16, 16).Rotated(d * 90.0f);
        a.Polygon({{0, -12.5f}, {3.5f, -8}, {-3.5f, -8}}, WithAlpha(kSnow, 0.9f));
    }
    p.Circle(c, 2.5f, WithAlpha(kInk, 0.5f));
}

void PadButton(const Painter& p, Rgba colour) {
    Vec2 c{16, 16};
    p.Circle(c + Vec2{0, 1.5f}, 13, WithAlpha(kInk, 0.45f));
    p.Circle(c, 12.5f, kInk);
    p.Circle(c, 11.3f, RadialGradient({12, 11}, 16, Shade(colour, 0.5f), Shade(colour, -0.25f)));
    p.Fill({4, 4}, {20, 20}, [=](Vec2 q) { return sdf::Arc(q, c, 8.0f, -70, -20, 1.2f); }, WithAlpha(kWhite, 0.7f));
}

void StickBase(const Painter& p) {
    Vec2 c{16, 16};
    p.Circle(c, 14.5f, kInk);
    p.Circle(c, 13.5f, RadialGradient(c, 14, WithAlpha(kNight, 0.9f), WithAlpha(Hex(0x34496b), 0.9f)));
    p.Fill({0, 0}, {32, 32}, [=](Vec2 q) { return sdf::Ring(q, c, 10.5f, 0.5f); }, WithAlpha(kIceMid, 0.6f));
}

void StickKnob(const Painter& p) {
    Vec2 c{16, 16};
    p.Circle(c + Vec2{0, 1.5f}, 9.5f, WithAlpha(kInk, 0.45f));
    p.Circle(c, 9, kInk);
    p.Circle(c, 8, RadialGradient({13, 12}, 12, kSnow, Hex(0x7f9bbd)));
    p.Fill({0, 0}, {32, 32}, [=](Vec2 q) { return sdf::Ring(q, c, 4.5f, 0.5f); }, WithAlpha(Hex(0x5a7497), 0.7f));
}

}  // namespace

void DrawIconFrame(const Painter& p, int frame) {
    switch (frame) {
        case 0: Pause(p); break;
        case 1: Quit(p); break;
        case 2: Restart(p); break;
        case 3: Play(p); break;
        case 4: Back(p); break;
        case 5: Speaker(p, true); break;
        case 6: Speaker(p, false); break;
        case 7: {
            RoundButton(p, {16, 16}, 14);
            Gear(p, {16, 16}, 9.0f, 0);
            break;
        }
        case image::kSpeedIconFrame: SpeedUp(p, false); break;
        case image::kSpeedHeldIconFrame: SpeedUp(p, true); break;
        default: break;
    }
}

void DrawButtonFrame(const Painter& p, int frame) {
    switch (frame) {
        case 0: FocusRing(p); break;
        case 1: LevelDisc(p, false, false); break;
        case 2: LevelDisc(p, true, false); break;
        case 3: LevelDisc(p, false, true); break;
        case 8: case 9: case 10: Gear(p, {32, 32}, 26.0f, frame - 8); break;
        default: break;
    }
}

void DrawDpadFrame(const Painter& p, int frame) {
    if (frame == 0) {
        Cross(p);
    } else if (frame <= 4) {
        ArrowButton(p, frame - 1, false);
    } else if (frame <= 8) {
        ArrowButton(p, frame - 5, true);
    } else if (frame <= 12) {
        const Rgba colours[4] = {kJump, kRed, kLeap, kBurst};
        PadButton(p, colours[frame - 9]);
    } else if (frame == 13) {
        StickBase(p);
    } else if (frame == 14) {
        StickKnob(p);
    }
}

}  // namespace assetgen
