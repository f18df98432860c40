// The title lettering "Floeward" in rounded icy letters with snow on top and icicles below,
// and the studio mark of the loading screen.
#include <cmath>

#include "tools/assetgen/images.h"
#include "tools/assetgen/palette.h"
#include "tools/assetgen/stroke_font.h"

namespace assetgen {

namespace {

using namespace palette;

// Word space: x-height from y 0 to the baseline at 30, ascenders up to -22; strokes are
// 2·kHalf wide.
constexpr float kHalf = 6.0f;
constexpr float kWordWidth = 300.0f;

float Stem(Vec2 q, float x, float top, float bottom) { return sdf::Capsule(q, {x, top}, {x, bottom}, kHalf); }
float Bowl(Vec2 q, float x) { return sdf::Ring(q, {x + 18, 15}, 12, kHalf); }

float Word(Vec2 q) {
    float d = 1e9f;
    float x = 0;
    // F
    d = std::min({d, Stem(q, x + 6, -22, 30), sdf::Capsule(q, {x + 6, -22}, {x + 27, -22}, kHalf),
                  sdf::Capsule(q, {x + 6, 3}, {x + 22, 3}, kHalf)});
    x += 36;
    d = std::min(d, Stem(q, x + 6, -22, 30));  // l
    x += 18;
    d = std::min(d, Bowl(q, x));  // o
    x += 40;
    d = std::min({d, sdf::Arc(q, {x + 18, 15}, 12, 125, 450, kHalf), sdf::Capsule(q, {x + 6, 15}, {x + 30, 15}, kHalf)});  // e
    x += 40;
    const Vec2 w[5] = {{x + 5, 0}, {x + 13, 30}, {x + 23, 8}, {x + 33, 30}, {x + 41, 0}};
    for (int i = 1; i < 5; i++) d = std::min(d, sdf::Capsule(q, w[i - 1], w[i], kHalf));
    x += 48;
    d = std::min({d, Bowl(q, x), Stem(q, x + 30, 3, 30)});  // a
    x += 42;
    d = std::min({d, Stem(q, x + 6, 3, 30), sdf::Arc(q, {x + 19, 15}, 13, 285, 385, kHalf)});  // r
    x += 34;
    d = std::min({d, Bowl(q, x), Stem(q, x + 30, -22, 30)});  // d
    return d;
}

}  // namespace

void DrawLogoFrame(const Painter& base, int) {
    float scale = 236.0f / kWordWidth;
    Painter p = base.Translated(128 - 0.5f * kWordWidth * scale + 6 * scale, 66).Scaled(scale).Translated(0, -4);
    Vec2 lo{-12, -40}, hi{kWordWidth + 12, 50};
    // a deep extrusion below, then the dark rim, the ice, a shine and the snow on top
    p.Fill(lo, hi, [](Vec2 q) { return Word(q - Vec2{0, 7}) - 4.5f; }, kInk);
    p.Fill(lo, hi, [](Vec2 q) { return Word(q - Vec2{0, 6}) - 1.0f; }, kIceDeep);
    p.Fill(lo, hi, [](Vec2 q) { return Word(q) - 4.5f; }, kInk);
    p.Fill(lo, hi, Word, LinearGradient({0, -24}, kIceLight, {0, 36}, kIceMid));
    p.Fill(lo, hi, [](Vec2 q) { return sdf::Intersect(Word(q) + 2.5f, -Word(q + Vec2{0, 3.5f}) - 1.0f); },
           WithAlpha(kWhite, 0.7f));
    auto snow = [](Vec2 q) {
        float wave = 1.5f * std::sin(q.x * 0.45f);
        // only on the upper edges of the letters' tops, not inside their bowls
        return sdf::Intersect(sdf::Intersect(Word(q) - 1.5f, -Word(q - Vec2{0, 6.5f + wave})), q.y - 2.0f);
    };
    p.Fill(lo, hi, [&](Vec2 q) { return snow(q) - 2.5f; }, kInk);
    p.Fill(lo, hi, snow, LinearGradient({0, -30}, kWhite, {0, 10}, kSnowShade));
    // icicles under the round letters
    for (float x : {72.0f, 150.0f, 178.0f, 222.0f, 281.0f}) {
        std::vector<Vec2> ice = {{x - 3.5f, 33}, {x + 3.5f, 33}, {x, 45}};
        p.Outlined({x - 5, 30}, {x + 5, 46}, [ice](Vec2 q) { return sdf::Polygon(q, ice) - 0.8f; },
                   LinearGradient({0, 33}, kIceLight, {0, 45}, kIce), kInk, 2.5f);
    }
}

// The studio mark: a hexagonal badge with a snowflake made of penguin-blue and ice, above
// the name. Kept within 90 units of the centre, inside the loading spinner.
void DrawStudioFrame(const Painter& p, int) {
    Vec2 c{128, 104};
    std::vector<Vec2> hex;
    for (int i = 0; i < 6; i++) hex.push_back(Polar(c, 50, i * 60.0f + 30));
    p.Outlined(c - Vec2{50, 50}, c + Vec2{50, 50}, [&](Vec2 q) { return sdf::Polygon(q, hex) - 4; },
               LinearGradient(c - Vec2{0, 50}, Hex(0x3d74b0), c + Vec2{0, 50}, kNight), kInk, 3);
    std::vector<Vec2> inner;
    for (Vec2 v : hex) inner.push_back(c + (v - c) * 0.84f);
    p.Fill(c - Vec2{50, 50}, c + Vec2{50, 50}, [&](Vec2 q) { return std::fabs(sdf::Polygon(q, inner)) - 1.5f; },
           WithAlpha(kIce, 0.7f));
    auto flake = [=](Vec2 q) {
        float d = 1e9f;
        for (int i = 0; i < 6; i++) {
            float a = i * 60.0f;
            Vec2 tip = Polar(c, 30, a), mid = Polar(c, 17, a);
            d = std::min({d, sdf::Capsule(q, c, tip, 3.2f), sdf::Capsule(q, mid, Polar(mid, 10, a - 45), 2.6f),
                          sdf::Capsule(q, mid, Polar(mid, 10, a + 45), 2.6f)});
        }
        return sdf::Subtract(d, sdf::Circle(q, c, 5));
    };
    p.Outlined(c - Vec2{36, 36}, c + Vec2{36, 36}, flake, LinearGradient(c - Vec2{0, 30}, kWhite, c + Vec2{0, 30}, kIce), kInk, 2);
    p.Circle(c, 3, kGold);
    // The studio mark carries our own short name.
    const char* mark = "FLOE";
    const float unit = 5.0f;
    float width = TextWidth(unit, mark, 2.2f);
    Vec2 origin{128 - width * 0.5f + unit * 0.5f, 170};
    DrawText(p, origin + Vec2{2, 3}, unit, mark, WithAlpha(kInk, 0.8f), 2.2f, 1.3f);
    DrawText(p, origin, unit, mark, kSnow, 2.2f, 1.3f);
}

}  // namespace assetgen
