// Badge medallions: eight rim colours by row, eight emblems by column.
#include <cmath>

#include "tools/assetgen/images.h"
#include "tools/assetgen/palette.h"
#include "tools/assetgen/penguin_art.h"
#include "tools/assetgen/skill_art.h"

namespace assetgen {

namespace {

using namespace palette;

const Rgba kRims[8] = {Hex(0xc98a4b), Hex(0xc6d2de), kGold, kIce, kJump, kSpin, kRed, kLeap};

void Star(const Painter& p, Vec2 c, float r) {
    std::vector<Vec2> star;
    for (int i = 0; i < 10; i++) star.push_back(Polar(c, i % 2 ? r * 0.45f : r, i * 36.0f));
    p.Outlined(c - Vec2{r, r}, c + Vec2{r, r}, [&](Vec2 q) { return sdf::Polygon(q, star) - 0.8f; },
               LinearGradient(c - Vec2{0, r}, Hex(0xfff3a6), c + Vec2{0, r}, Hex(0xf0a81e)), kInk, 1.5f);
}

void Snowflake(const Painter& p, Vec2 c, float r) {
    auto flake = [=](Vec2 q) {
        float d = 1e9f;
        for (int i = 0; i < 6; i++) {
            float a = i * 60.0f;
            Vec2 tip = Polar(c, r, a), mid = Polar(c, r * 0.55f, a);
            d = std::min(d, sdf::Capsule(q, c, tip, 1.8f));
            d = std::min(d, sdf::Capsule(q, mid, Polar(mid, r * 0.35f, a - 45), 1.4f));
            d = std::min(d, sdf::Capsule(q, mid, Polar(mid, r * 0.35f, a + 45), 1.4f));
        }
        return d;
    };
    p.Outlined(c - Vec2{r + 2, r + 2}, c + Vec2{r + 2, r + 2}, flake, kSnow, kInk, 1.3f);
}

void Fish(const Painter& p, Vec2 c) {
    auto fish = [=](Vec2 q) {
        float body = sdf::Ellipse(q, c, 11, 6.5f);
        float tail = sdf::Polygon(q, {c + Vec2{8, 0}, c + Vec2{17, -7}, c + Vec2{17, 7}});
        return sdf::SmoothUnion(body, tail, 1.5f);
    };
    p.Outlined(c - Vec2{12, 8}, c + Vec2{18, 8}, fish, LinearGradient(c - Vec2{0, 6}, Hex(0xa8e4ff), c + Vec2{0, 6}, Hex(0x3f8fd0)),
               kInk, 1.4f);
    p.Circle(c + Vec2{-6, -1.5f}, 1.5f, kInk);
}

void Trophy(const Painter& p, Vec2 c) {
    auto cup = [=](Vec2 q) {
        float bowl = sdf::Intersect(sdf::Circle(q, c + Vec2{0, -6}, 11), q.y - (c.y - 6) - 100);
        bowl = sdf::Intersect(bowl, -(q.y - (c.y - 12)));
        float stem = sdf::Box(q, c + Vec2{0, 7}, {2.5f, 4});
        float base = sdf::Box(q, c + Vec2{0, 13}, {8, 2.5f}, 1);
        float handles = std::min(sdf::Ring(q, c + Vec2{-11, -6}, 4.5f, 1.4f), sdf::Ring(q, c + Vec2{11, -6}, 4.5f, 1.4f));
        return std::min({bowl, stem, base, handles});
    };
    p.Outlined(c - Vec2{18, 14}, c + Vec2{18, 17}, cup, LinearGradient(c - Vec2{0, 12}, Hex(0xfff3a6), c + Vec2{0, 16}, Hex(0xe09018)),
               kInk, 1.4f);
}

void Crown(const Painter& p, Vec2 c) {
    std::vector<Vec2> crown = {c + Vec2{-13, 9}, c + Vec2{-14, -8}, c + Vec2{-6, 0}, c + Vec2{0, -11},
                               c + Vec2{6, 0}, c + Vec2{14, -8}, c + Vec2{13, 9}};
    p.Outlined(c - Vec2{15, 12}, c + Vec2{15, 10}, [&](Vec2 q) { return sdf::Polygon(q, crown) - 0.6f; },
               LinearGradient(c - Vec2{0, 10}, Hex(0xfff3a6), c + Vec2{0, 9}, Hex(0xe09018)), kInk, 1.4f);
    for (float x : {-7.0f, 0.0f, 7.0f}) p.Circle(c + Vec2{x, 4}, 1.8f, kRed);
}

void Heart(const Painter& p, Vec2 c) {
    auto heart = [=](Vec2 q) {
        float lobes = std::min(sdf::Circle(q, c + Vec2{-6, -4}, 7), sdf::Circle(q, c + Vec2{6, -4}, 7));
        float point = sdf::Polygon(q, {c + Vec2{-12.5f, -1}, c + Vec2{12.5f, -1}, c + Vec2{0, 13}});
        return sdf::SmoothUnion(lobes, point, 1.0f);
    };
    p.Outlined(c - Vec2{14, 12}, c + Vec2{14, 14}, heart, LinearGradient(c - Vec2{0, 10}, Hex(0xff9aa6), c + Vec2{0, 12}, Hex(0xd8334a)),
               kInk, 1.4f);
}

}  // namespace

void DrawBadgeFrame(const Painter& p, int frame) {
    Vec2 c{32, 32};
    Rgba rim = kRims[frame / 8];
    p.Circle(c + Vec2{0, 2}, 29.5f, WithAlpha(kInk, 0.4f));
    p.Circle(c, 29, kInk);
    p.Circle(c, 27.6f, LinearGradient({0, 4}, Shade(rim, 0.45f), {0, 60}, Shade(rim, -0.35f)));
    p.Circle(c, 22.5f, kInk);
    p.Circle(c, 21.5f, RadialGradient({26, 24}, 30, Hex(0x35669d), kNight));
    for (int i = 0; i < 12; i++) p.Circle(Polar(c, 25.0f, i * 30.0f), 0.9f, WithAlpha(kWhite, 0.6f));
    switch (frame % 8) {
        case 0: Star(p, c, 15); break;
        case 1: Snowflake(p, c, 15); break;
        case 2: DrawPenguin(p.Translated(32, 33).Scaled(1.15f).Translated(-18, -19.5f), PenguinPose{.eyeHappy = true}); break;
        case 3: Fish(p, c - Vec2{3, 0}); break;
        case 4: Trophy(p, c - Vec2{0, 2}); break;
        case 5: Crown(p, c); break;
        case 6: DrawSkillSymbol(p.Translated(32, 32).Scaled(0.95f).Translated(-18, -18), (frame / 8) % 5); break;
        default: Heart(p, c); break;
    }
    p.Fill({4, 4}, {40, 40}, [=](Vec2 q) { return sdf::Arc(q, c, 26.2f, -75, -15, 0.9f); }, WithAlpha(kWhite, 0.6f));
}

}  // namespace assetgen
