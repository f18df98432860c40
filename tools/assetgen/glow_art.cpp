// White shapes that the game tints by multiplication and fades by alpha: the big circles,
// the lights and the 256 small particles and snowflakes.
#include <cmath>

#include "tools/assetgen/images.h"
#include "tools/assetgen/palette.h"

namespace assetgen {

namespace {

using palette::kWhite;

// A white glow whose alpha falls off smoothly from the centre to radius.
auto Glow(Vec2 c, float radius, float power) {
    return [=](Vec2 q) {
        float t = Clamp01(1.0f - Length(q - c) / radius);
        return WithAlpha(kWhite, std::pow(t, power));
    };
}

void Sparkle(const Painter& p, Vec2 c, float length, float width, int points, float turn) {
    std::vector<Vec2> star;
    for (int i = 0; i < points * 2; i++) {
        star.push_back(Polar(c, i % 2 ? width : length, turn + i * 180.0f / points));
    }
    p.Polygon(star, kWhite);
}

// A six-armed snowflake with side branches.
void Flake(const Painter& p, Vec2 c, float r, float turn, float width, bool branches) {
    for (int i = 0; i < 6; i++) {
        float a = turn + i * 60.0f;
        p.Line(c, Polar(c, r, a), width, kWhite);
        if (branches) {
            Vec2 mid = Polar(c, r * 0.55f, a);
            p.Line(mid, Polar(mid, r * 0.35f, a - 45), width * 0.8f, kWhite);
            p.Line(mid, Polar(mid, r * 0.35f, a + 45), width * 0.8f, kWhite);
        }
    }
}

}  // namespace

void DrawCircleFrame(const Painter& p, int frame) {
    Vec2 c{128, 128};
    switch (frame) {
        case 0: p.Circle(c, 126, Glow(c, 126, 1.6f)); break;
        case 1: p.Circle(c, 124, kWhite); break;
        case 2: p.Fill({0, 0}, {256, 256}, [=](Vec2 q) { return sdf::Ring(q, c, 118, 6); }, kWhite); break;
        case 3:
            p.Fill({0, 0}, {256, 256}, [=](Vec2 q) { return sdf::Ring(q, c, 100, 26); }, [=](Vec2 q) {
                return WithAlpha(kWhite, std::pow(Clamp01(1.0f - std::fabs(Length(q - c) - 100) / 26), 2.0f));
            });
            break;
        default: break;
    }
}

void DrawLightFrame(const Painter& p, int frame) {
    Vec2 c{16, 16};
    switch (frame) {
        case 0: p.Circle(c, 15.5f, Glow(c, 15.5f, 2.0f)); break;
        case 1:
            p.Circle(c, 10, Glow(c, 10, 2.5f));
            Sparkle(p, c, 15, 1.6f, 4, 0);
            break;
        case 2:
            p.Circle(c, 12, Glow(c, 12, 3.0f));
            p.Circle(c, 3.5f, kWhite);
            break;
        case 3:
            p.Circle(c, 8, Glow(c, 8, 2.0f));
            Sparkle(p, c, 14, 1.2f, 6, 0);
            break;
        default: break;
    }
}

// Eight kinds of particle, each in 32 sizes and turns so that a random frame looks random.
void DrawParticleFrame(const Painter& p, int frame) {
    Rng rng(static_cast<uint32_t>(frame) + 1000);
    Vec2 c{4, 4};
    float size = rng.Range(0.65f, 1.0f), turn = rng.Range(0, 360);
    switch (frame % 8) {
        case 0: Flake(p, c, 3.6f * size, turn, 0.9f, size > 0.8f); break;
        case 1: p.Circle(c, 3.6f * size, Glow(c, 3.6f * size, 0.8f)); break;
        case 2: Sparkle(p, c, 3.8f * size, 0.8f, 4, turn); break;
        case 3: Flake(p, c, 3.2f * size, turn, 1.1f, false); break;
        case 4: {
            std::vector<Vec2> shard = {Polar(c, 3.6f * size, turn), Polar(c, 2.0f * size, turn + 140),
                                       Polar(c, 2.6f * size, turn + 230)};
            p.Polygon(shard, kWhite);
            break;
        }
        case 5: p.Fill({0, 0}, {8, 8}, [=](Vec2 q) { return sdf::Ring(q, c, 2.6f * size, 0.6f); }, kWhite); break;
        case 6:
            p.Circle(c, 1.4f, kWhite);
            Sparkle(p, c, 3.8f * size, 0.7f, 2, turn);
            break;
        default:
            for (int i = 0; i < 3; i++) p.Circle(Polar(c, 2.0f * size, turn + i * 120), 0.9f, kWhite);
            break;
    }
}

}  // namespace assetgen
