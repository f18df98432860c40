// The game's bitmap font (letters with a drop shadow, key caps and pad controls) and the
// framework's plain default font.
#include "game/image_sheets.h"
#include "tools/assetgen/images.h"
#include "tools/assetgen/palette.h"
#include "tools/assetgen/stroke_font.h"

namespace assetgen {

namespace {

using namespace palette;

const Rgba kShadow = WithAlpha(Hex(0x050b16), 0.85f);

// Letters sit 3 pixels left of the cell centre so that the text routine's pen steps (7 plus
// kerning, taken after each character) leave even gaps; caps span rows 4 to 10.
constexpr Vec2 kGlyphOrigin{5.5f, 4.5f};

void DrawShadowedGlyph(const Painter& p, int code) {
    DrawGlyph(p, kGlyphOrigin + Vec2{1, 1}, 1.0f, code, kShadow);
    DrawGlyph(p, kGlyphOrigin, 1.0f, code, kWhite);
}

// A key cap covering pixel columns 4 .. 4+width-1 and rows 2..14 at 1x, seen from the
// front: a light top face and a darker lower lip. Pressed caps sit one row lower and glow.
void DrawKeyCap(const Painter& p, float width, bool pressed, int letter) {
    float sink = pressed ? 1.0f : 0.0f;
    Vec2 c{4 + width * 0.5f, 9.0f + sink * 0.5f};
    Vec2 half{width * 0.5f - 1, 6.0f - sink * 0.5f};
    auto cap = [=](Vec2 q) { return sdf::Box(q, c, half, 2.0f); };
    p.Fill(c - half + Vec2{0, 1.5f}, c + half + Vec2{1, 2.5f}, [=](Vec2 q) { return cap(q - Vec2{0.6f, 1.2f}) - 1; },
           WithAlpha(kShadow, 0.5f));
    Rgba top = pressed ? kBurst : kSnow, bottom = pressed ? Hex(0xf0a020) : kIceLight;
    p.Outlined(c - half, c + half, cap, LinearGradient({0, 3}, top, {0, 12}, bottom), kInk, 1.0f);
    float lipTop = 12.0f + sink;
    p.Fill(c - half, c + half, [=](Vec2 q) { return std::max(cap(q), lipTop - q.y); },
           pressed ? Hex(0xc77a12) : kIceMid);
    if (letter) {
        float x = 4 + std::floor((width - 5) * 0.5f) + 0.5f;
        DrawGlyph(p, {x, 4.5f + sink}, 1.0f, letter, kInk);
    }
}

// The four face buttons as a diamond; the one meant is lit and larger.
void DrawFaceButtons(const Painter& p, int lit) {
    Vec2 c{9.5f, 8.5f};
    const Vec2 offsets[4] = {{0, 3.8f}, {3.8f, 0}, {-3.8f, 0}, {0, -3.8f}};
    p.Circle(c + Vec2{0.5f, 0.8f}, 7.6f, WithAlpha(kShadow, 0.45f));
    p.Circle(c, 7.4f, kInk);
    p.Circle(c, 6.6f, RadialGradient(c - Vec2{2, 2}, 9.0f, Hex(0x3a4f70), kNight));
    const Rgba colours[4] = {kJump, kRed, kLeap, kBurst};
    for (int i = 0; i < 4; i++) {
        Vec2 b = c + offsets[i];
        if (i == lit) {
            p.Circle(b, 2.9f, kInk);
            p.Circle(b, 2.3f, RadialGradient(b - Vec2{0.8f, 0.8f}, 3.0f, Shade(colours[i], 0.5f), colours[i]));
        } else {
            p.Circle(b, 1.6f, WithAlpha(kSnowShade, 0.55f));
        }
    }
}

// A shoulder button: a wide rounded bar, flat at the bottom, with its side's letter.
void DrawShoulder(const Painter& p, int letter) {
    Vec2 c{10.0f, 9.0f};
    auto shape = [=](Vec2 q) {
        return sdf::Intersect(sdf::Box(q, c, {5.5f, 5.5f}, 4.5f), sdf::Box(q, c + Vec2{0, 2}, {6, 5.5f}, 1.0f));
    };
    p.Outlined(c - Vec2{6, 6}, c + Vec2{6, 6}, shape, LinearGradient({0, 4}, Hex(0x8aa0bf), {0, 14}, Hex(0x4a5f80)),
               kInk, 1.0f);
    DrawGlyph(p, {7.5f, 5.5f}, 1.0f, letter, kSnow);
}

// A small pill-shaped centre button with a mark: menu lines or a square.
void DrawPill(const Painter& p, bool lines) {
    Vec2 c{9.5f, 8.5f};
    p.Outlined(c - Vec2{6, 4}, c + Vec2{6, 4}, [=](Vec2 q) { return sdf::Box(q, c, {5.5f, 3.5f}, 3.5f); },
               LinearGradient({0, 5}, Hex(0x8aa0bf), {0, 12}, Hex(0x4a5f80)), kInk, 1.0f);
    if (lines) {
        for (float y : {6.5f, 8.5f, 10.5f}) p.Line({7.5f, y}, {11.5f, y}, 1.0f, kSnow);
    } else {
        p.Box(c, {1.5f, 1.5f}, 0.0f, kSnow);
    }
}

// An analogue stick seen from above.
void DrawStick(const Painter& p) {
    Vec2 c{9.5f, 8.5f};
    p.Circle(c, 6.8f, kInk);
    p.Circle(c, 6.0f, Hex(0x4a5f80));
    p.Circle(c, 4.6f, kInk);
    p.Circle(c, 3.8f, RadialGradient(c - Vec2{1.5f, 1.5f}, 5.0f, Hex(0xb8c8dc), Hex(0x6c80a0)));
}

// A d-pad cross with one arm lit: 0 up, 1 down, 2 left, 3 right.
void DrawPadDirection(const Painter& p, int arm) {
    Vec2 c{9.5f, 8.5f};
    auto cross = [=](Vec2 q) {
        return sdf::Union(sdf::Box(q, c, {2.5f, 6.5f}, 1.0f), sdf::Box(q, c, {6.5f, 2.5f}, 1.0f));
    };
    p.Outlined(c - Vec2{7, 7}, c + Vec2{7, 7}, cross, Hex(0x4a5f80), kInk, 1.0f);
    const Vec2 dirs[4] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
    Vec2 d = dirs[arm];
    Vec2 armCentre = c + d * 4.0f;
    Vec2 armHalf = d.x == 0 ? Vec2{2.5f, 2.5f} : Vec2{2.5f, 2.5f};
    p.Box(armCentre, armHalf, 1.0f, kGold);
    // an arrow tip on the lit arm, pointing outwards
    Vec2 tip = c + d * 5.6f, side{-d.y, d.x};
    Vec2 base = c + d * 3.2f;
    p.Polygon({tip, base + side * 1.8f, base - side * 1.8f}, kInk);
}

}  // namespace

void DrawGameFontFrame(const Painter& p, int frame) {
    if (frame >= 1 && frame <= 94) {
        DrawShadowedGlyph(p, frame + 32);
        return;
    }
    // A long dash across the whole pen step, on the hyphen's row.
    if (frame == image::kFontDashFrame) {
        p.Line(kGlyphOrigin + Vec2{1, 4}, kGlyphOrigin + Vec2{6, 4}, 1.0f, kShadow);
        p.Line(kGlyphOrigin + Vec2{0, 3}, kGlyphOrigin + Vec2{5, 3}, 1.0f, kWhite);
        return;
    }
    // Key caps J K L I U O Q E F W S A D, then the two pressed looks.
    static const char kKeys[] = "JKLIUOQEFWSAD";
    if (frame >= 96 && frame <= 108) {
        int k = frame - 96;
        bool wide = k == 4 || k == 5;
        DrawKeyCap(p, wide ? 12.0f : 11.0f, false, kKeys[k]);
        return;
    }
    if (frame == 109 || frame == 110) {
        DrawKeyCap(p, frame == 110 ? 12.0f : 11.0f, true, 0);
        return;
    }
    // The same controls on a pad: face buttons 0-3, shoulders, centre buttons, the stick and
    // the d-pad directions.
    switch (frame) {
        case 112: case 113: case 114: case 115: DrawFaceButtons(p, frame - 112); break;
        case 116: DrawShoulder(p, 'L'); break;
        case 117: DrawShoulder(p, 'R'); break;
        case 118: DrawPill(p, true); break;
        case 119: DrawPill(p, false); break;
        case 120: DrawStick(p); break;
        case 121: case 122: case 123: case 124: DrawPadDirection(p, frame - 121); break;
        default: break;
    }
}

void DrawDefaultFontFrame(const Painter& p, int frame) {
    // Cell 10 x 14 with the gutter columns 0 and 9 left empty; letters from column 2.
    DrawGlyph(p, {2.5f, 2.5f}, 1.0f, frame + 32, kWhite);
}

}  // namespace assetgen
