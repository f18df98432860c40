// The generator's own building blocks: anti-aliased coverage, clipping, colour blending,
// shape signs, the letter table against the text routine's spacing, and looping notes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tools/assetgen/painter.h"
#include "tools/assetgen/stroke_font.h"
#include "tools/assetgen/synth.h"

namespace {

using namespace assetgen;

float AlphaSum(const Canvas& c) {
    float sum = 0;
    for (int y = 0; y < c.Height(); y++) {
        for (int x = 0; x < c.Width(); x++) sum += c.At(x, y).a;
    }
    return sum;
}

Painter Frame(Canvas& c, float scale) {
    return Painter(c, Affine{scale, 0, 0, scale, 0, 0}, ClipRect{0, 0, c.Width(), c.Height()});
}

TEST(Rasteriser, AntiAliasedCircleCoversItsAreaAtEveryDetailLevel) {
    for (float scale : {1.0f, 2.0f, 4.0f}) {
        Canvas c(static_cast<int>(32 * scale), static_cast<int>(32 * scale));
        Frame(c, scale).Circle({16, 16}, 10, Rgba{1, 1, 1, 1});
        float expected = kPi * 100 * scale * scale;
        EXPECT_NEAR(AlphaSum(c), expected, expected * 0.01f) << "scale " << scale;
    }
}

TEST(Rasteriser, DrawingStaysInsideTheFrameCell) {
    Canvas c(40, 40);
    Painter p(c, Affine{}, ClipRect{10, 10, 20, 20});
    p.Circle({15, 15}, 30, Rgba{1, 1, 1, 1});
    for (int y = 0; y < 40; y++) {
        for (int x = 0; x < 40; x++) {
            bool inside = x >= 10 && x < 20 && y >= 10 && y < 20;
            EXPECT_EQ(c.At(x, y).a > 0, inside) << x << "," << y;
        }
    }
}

TEST(Rasteriser, TranslucentColoursKeepTheirHueWhenWritten) {
    Canvas c(1, 1);
    c.Blend(0, 0, Rgba{1, 0, 0, 0.5f}, 1.0f);
    std::vector<unsigned char> px = c.ToRgba8();
    EXPECT_EQ(px[0], 255);  // straight alpha in the file: not darkened by the premultiply
    EXPECT_EQ(px[3], 128);
    c.Blend(0, 0, Rgba{0, 0, 1, 0.5f}, 1.0f);
    px = c.ToRgba8();
    EXPECT_EQ(px[3], 191);
    EXPECT_NEAR(px[0], 85, 1);  // 0.25 red, 0.5 blue over 0.75 alpha
    EXPECT_NEAR(px[2], 170, 1);
}

TEST(Shapes, SignsAreRightForConcavePolygonsOfEitherWindingAndForArcs) {
    std::vector<Vec2> ell = {{0, 0}, {10, 0}, {10, 4}, {4, 4}, {4, 10}, {0, 10}};
    std::vector<Vec2> reversed(ell.rbegin(), ell.rend());
    for (const auto& poly : {ell, reversed}) {
        EXPECT_LT(sdf::Polygon({2, 8}, poly), 0);
        EXPECT_GT(sdf::Polygon({8, 8}, poly), 0);  // the notch
        EXPECT_NEAR(sdf::Polygon({12, 2}, poly), 2.0f, 1e-4f);
    }
    // An arc from 0 (up) clockwise to 90 (right): on the ring inside the span, off it outside.
    EXPECT_LT(sdf::Arc(Polar({0, 0}, 5, 45), {0, 0}, 5, 0, 90, 0.5f), 0);
    EXPECT_GT(sdf::Arc(Polar({0, 0}, 5, 180), {0, 0}, 5, 0, 90, 0.5f), 4);
}

TEST(Letters, EveryLetterFitsTheTextRoutinesStepSoNeighboursNeverTouch) {
    // The game steps 7 pixels per character plus its kerning value.
    auto kerning = [](char c) {
        switch (c) {
            case 'w': case 'm': return 2;
            case 'W': case 'M': return 1;
            case 'i': case 'f': case 'l': return -3;
            case 'j': case 's': case 'k': case 'r': case 'z': case 't': case 'n': return -1;
            default: return 0;
        }
    };
    for (int code = 33; code <= 126; code++) {
        int columns = GlyphColumns(code);
        EXPECT_GE(columns, 1) << static_cast<char>(code);
        EXPECT_LE(columns, 7 + kerning(static_cast<char>(code)) - 1) << static_cast<char>(code);
        for (char d : GlyphStrokes(code)) {
            if (d != ' ') {
                EXPECT_LE(d - '0', 8) << static_cast<char>(code);
            }
        }
    }
}

TEST(Letters, UprightStrokesAreSharpAtEveryDetailLevel) {
    for (int scale : {1, 2, 4}) {
        Canvas c(16 * scale, 16 * scale);
        DrawGlyph(Frame(c, static_cast<float>(scale)), {5.5f, 4.5f}, 1.0f, '|', Rgba{1, 1, 1, 1});
        int y = 8 * scale;
        int solid = 0, partial = 0;
        for (int x = 0; x < c.Width(); x++) {
            float a = c.At(x, y).a;
            if (a > 0.999f) solid++;
            else if (a > 0.001f) partial++;
        }
        EXPECT_EQ(solid, scale) << "scale " << scale;
        EXPECT_EQ(partial, 0) << "scale " << scale;
    }
}

TEST(Synth, NotesEndSilentAndTailsWrapToTheStartOfALoop) {
    Envelope env{0.01f, 0.1f, 0.5f, 0.05f};
    EXPECT_FLOAT_EQ(env.At(0, 1), 0);
    EXPECT_FLOAT_EQ(env.At(1, 1), 0);
    EXPECT_GT(env.At(0.5f, 1), 0.4f);

    std::vector<float> ring(Samples(1.0f), 0.0f);
    AddNote(ring, {.start = 0.98f, .length = 0.1f, .from = 440, .to = 440, .env = {0.001f, 1, 1, 0.001f}}, true);
    float head = 0;
    for (int i = 0; i < Samples(0.05f); i++) head = std::max(head, std::fabs(ring[i]));
    EXPECT_GT(head, 0.3f) << "the tail past the end must sound at the start";

    std::vector<float> once(Samples(1.0f), 0.0f);
    AddNote(once, {.start = 0.98f, .length = 0.1f, .from = 440, .to = 440, .env = {0.001f, 1, 1, 0.001f}}, false);
    EXPECT_EQ(once[0], 0.0f);
}

}  // namespace
