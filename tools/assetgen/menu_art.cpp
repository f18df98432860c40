// Title-screen pictures: a panel, a penguin on a floe, an iceberg, and the moon with an aurora.
#include <cmath>

#include "tools/assetgen/images.h"
#include "tools/assetgen/palette.h"
#include "tools/assetgen/penguin_art.h"

namespace assetgen {

namespace {

using namespace palette;

void Panel(const Painter& p) {
    Vec2 c{128, 128};
    auto box = [=](Vec2 q) { return sdf::Box(q, c, {120, 120}, 18); };
    p.Outlined({8, 8}, {248, 248}, box, LinearGradient({0, 8}, WithAlpha(Hex(0x1f3a60), 0.92f), {0, 248}, WithAlpha(kNight, 0.92f)),
               kInk, 3);
    p.Fill({0, 0}, {256, 256}, [=](Vec2 q) { return std::fabs(box(q) + 4) - 1.5f; }, WithAlpha(kIceMid, 0.8f));
    p.Fill({0, 0}, {256, 40}, [=](Vec2 q) { return sdf::Intersect(box(q) + 8, q.y - 30); }, WithAlpha(kWhite, 0.08f));
}

void Water(const Painter& p, float y) {
    p.Fill({0, y}, {256, 256}, [=](Vec2 q) { return y - q.y; }, LinearGradient({0, y}, WithAlpha(kIceDeep, 0.9f), {0, 256}, WithAlpha(kNight, 0.9f)));
    for (int i = 0; i < 6; i++) {
        float wy = y + 14 + i * 16.0f, x = 30.0f + (i * 67) % 170;
        p.Line({x, wy}, {x + 36, wy}, 2.0f, WithAlpha(kIceLight, 0.35f));
    }
}

void PenguinOnFloe(const Painter& p) {
    Water(p, 196);
    std::vector<Vec2> floe = {{28, 196}, {50, 178}, {206, 176}, {232, 196}, {210, 214}, {46, 214}};
    p.Outlined({24, 172}, {236, 218}, [&](Vec2 q) { return sdf::Polygon(q, floe) - 2; },
               LinearGradient({0, 176}, kSnow, {0, 214}, kIceMid), kInk, 3);
    p.Fill({24, 196}, {236, 218}, [&](Vec2 q) { return sdf::Intersect(sdf::Polygon(q, floe) - 2, 198 - q.y); },
           WithAlpha(kIceDeep, 0.35f));
    PenguinPose wave;
    wave.frontFlipper = 165;
    wave.eyeHappy = true;
    wave.beakOpen = true;
    DrawPenguin(p.Translated(128, 183).Scaled(5.2f).Translated(-18, -31), wave);
}

void Iceberg(const Painter& p) {
    std::vector<Vec2> under = {{40, 170}, {216, 170}, {196, 236}, {128, 252}, {60, 230}};
    p.Polygon(under, WithAlpha(kIceMid, 0.45f));
    Water(p, 170);
    p.Polygon(under, WithAlpha(kIce, 0.25f));
    std::vector<Vec2> berg = {{30, 172}, {62, 110}, {96, 120}, {128, 40}, {160, 92}, {186, 84}, {228, 172}};
    p.Outlined({26, 36}, {232, 176}, [&](Vec2 q) { return sdf::Polygon(q, berg) - 1; },
               LinearGradient({90, 50}, kSnow, {200, 176}, kIceMid), kInk, 3);
    p.Polygon({{128, 40}, {118, 120}, {146, 172}, {160, 92}}, WithAlpha(kIceMid, 0.35f));
    p.Polygon({{186, 84}, {176, 130}, {228, 172}}, WithAlpha(kIceDeep, 0.3f));
    p.Polygon({{62, 110}, {70, 150}, {30, 172}}, WithAlpha(kWhite, 0.5f));
}

void MoonAndAurora(const Painter& p) {
    for (int band = 0; band < 3; band++) {
        float y0 = 70.0f + band * 22, phase = band * 1.7f;
        Rgba colour = band == 1 ? WithAlpha(kLeap, 0.35f) : WithAlpha(kJump, 0.35f);
        p.Fill({0, y0 - 40}, {256, y0 + 60}, [=](Vec2 q) {
            float centre = y0 + 14 * std::sin(q.x * 0.03f + phase);
            return std::fabs(q.y - centre) - 9.0f;
        }, [=](Vec2 q) {
            float centre = y0 + 14 * std::sin(q.x * 0.03f + phase);
            return WithAlpha(colour, colour.a * Clamp01(1.0f - std::fabs(q.y - centre) / 9.0f));
        });
    }
    Rng rng(31);
    for (int i = 0; i < 30; i++) p.Circle({rng.Range(8, 248), rng.Range(8, 248)}, rng.Range(0.8f, 1.8f), WithAlpha(kWhite, rng.Range(0.5f, 1)));
    Vec2 m{176, 96};
    p.Circle(m, 44, RadialGradient(m, 44, WithAlpha(kIceLight, 0.35f), WithAlpha(kIceLight, 0)));
    p.Outlined(m - Vec2{30, 30}, m + Vec2{30, 30}, [=](Vec2 q) { return sdf::Circle(q, m, 28); },
               RadialGradient(m - Vec2{8, 8}, 36, kWhite, Hex(0xc9dcee)), kInk, 2);
    p.Circle(m + Vec2{-9, 6}, 6, WithAlpha(Hex(0xa9bfd6), 0.7f));
    p.Circle(m + Vec2{10, -8}, 4, WithAlpha(Hex(0xa9bfd6), 0.7f));
    p.Circle(m + Vec2{8, 12}, 3, WithAlpha(Hex(0xa9bfd6), 0.7f));
}

}  // namespace

void DrawMenuFrame(const Painter& p, int frame) {
    switch (frame) {
        case 0: Panel(p); break;
        case 1: PenguinOnFloe(p); break;
        case 2: Iceberg(p); break;
        case 3: MoonAndAurora(p); break;
        default: break;
    }
}

}  // namespace assetgen
