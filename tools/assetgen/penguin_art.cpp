// The penguin sprite sheet: a walk cycle, the jump, the leap and the working pose, and the
// selection marker, which is drawn between the penguins and so comes from their sheet.
#include "tools/assetgen/penguin_art.h"

#include <cmath>
#include <vector>

#include "game/image_sheets.h"
#include "tools/assetgen/images.h"
#include "tools/assetgen/palette.h"

namespace assetgen {

namespace {

using namespace palette;

constexpr float kOutline = 0.8f;
const Rgba kFlipper = Hex(0x1a2c49);

void DrawFoot(const Painter& p, Vec2 c) {
    auto foot = [=](Vec2 q) { return sdf::Ellipse(q, c, 3.0f, 1.1f); };
    p.Outlined(c - Vec2{3, 1.2f}, c + Vec2{3, 1.2f}, foot, LinearGradient(c - Vec2{0, 1}, kBeak, c + Vec2{0, 1}, kBeakDark),
               kInk, kOutline);
}

void DrawFlipper(const Painter& p, Vec2 shoulder, float angle) {
    Painter f = p.Translated(shoulder.x, shoulder.y).Rotated(angle);
    auto shape = [](Vec2 q) { return sdf::Ellipse(q, {0, 4.8f}, 1.9f, 5.2f); };
    f.Outlined({-2, -1}, {2, 10.2f}, shape, LinearGradient({-2, 0}, kPenguinLight, {2, 8}, kFlipper), kInk, kOutline);
}

// The selection marker: a golden gem pointing down; drawn squeezed it seems to spin.
void Marker(const Painter& p) {
    std::vector<Vec2> gem = {{11, 13}, {14, 10}, {22, 10}, {25, 13}, {18, 26}};
    p.Outlined({10, 9}, {26, 27}, [&](Vec2 q) { return sdf::Polygon(q, gem); },
               LinearGradient({0, 10}, Hex(0xfff3a6), {0, 26}, Hex(0xf0a81e)), kInk, 1.2f);
    p.Polygon({{11, 13}, {14, 10}, {22, 10}, {25, 13}}, WithAlpha(kWhite, 0.55f));
    p.Polygon({{14, 13}, {22, 13}, {18, 26}}, WithAlpha(kWhite, 0.25f));
}

}  // namespace

void DrawPenguin(const Painter& base, const PenguinPose& pose) {
    const Vec2 pivot{17.5f, 29.5f};
    Painter p = base.Translated(pivot.x, pivot.y).Rotated(pose.tilt).Translated(-pivot.x, -pivot.y);
    float lift = pose.bob;
    Vec2 bodyC{17.5f, 21.8f - lift - pose.stretch * 0.5f};
    float bodyRy = 7.8f + pose.stretch * 0.5f;
    Vec2 headC{19.5f, 13.5f - lift - pose.stretch};
    auto body = [=](Vec2 q) {
        return sdf::SmoothUnion(sdf::Ellipse(q, bodyC, 7.2f, bodyRy), sdf::Circle(q, headC, 5.6f), 2.0f);
    };
    Vec2 lo{9, 6 - lift - pose.stretch}, hi{26, 31};

    DrawFoot(base, Vec2{15.0f, 29.2f} + pose.backFoot);
    DrawFlipper(p, {15.0f, 18.8f - lift}, pose.backFlipper + 10);

    p.Outlined(lo, hi, body, LinearGradient({12, 8}, kPenguinLight, {22, 30}, kPenguin), kInk, kOutline);
    // The white chest and face, kept inside the dark rim of the body.
    Vec2 bellyC{20.4f, 23.2f - lift - pose.stretch * 0.3f};
    Vec2 faceC{22.0f, 14.0f - lift - pose.stretch};
    auto patch = [=](Vec2 q) {
        float white = sdf::SmoothUnion(sdf::Ellipse(q, bellyC, 5.0f, 6.4f + pose.stretch * 0.3f),
                                       sdf::Circle(q, faceC, 3.3f), 1.5f);
        return sdf::Intersect(white, body(q) + 1.0f);
    };
    p.Fill(lo, hi, patch, LinearGradient({24, 14}, kBelly, {16, 30}, kBellyShade));

    Vec2 eye{22.4f, 12.7f - lift - pose.stretch};
    if (pose.eyeHappy) {
        p.Fill(eye - Vec2{2, 2}, eye + Vec2{2, 2}, [=](Vec2 q) { return sdf::Arc(q, eye + Vec2{0, 0.8f}, 1.3f, -60, 60, 0.45f); },
               kInk);
    } else {
        p.Circle(eye, 1.25f, kInk);
        p.Circle(eye + Vec2{0.45f, -0.5f}, 0.45f, kWhite);
    }
    p.Ellipse({22.6f, 16.1f - lift - pose.stretch}, 1.3f, 0.8f, kBlush);

    Vec2 b{24.0f, 14.3f - lift - pose.stretch};
    auto beakPart = [&](std::vector<Vec2> pts) {
        for (Vec2& q : pts) q = q + b;
        p.Outlined(b - Vec2{1, 3}, b + Vec2{5.5f, 3.5f}, [pts](Vec2 q) { return sdf::Polygon(q, pts) - 0.35f; },
                   LinearGradient(b - Vec2{0, 1.5f}, kBeak, b + Vec2{0, 1.5f}, kBeakDark), kInk, kOutline * 0.8f);
    };
    if (pose.beakOpen) {
        beakPart({{0, -1.6f}, {4.4f, -0.9f}, {0.2f, 0.2f}});
        beakPart({{0, 0.9f}, {3.4f, 1.9f}, {0, 2.0f}});
    } else {
        beakPart({{0, -1.5f}, {4.4f, 0}, {0, 1.5f}});
    }

    DrawFlipper(p, {16.4f, 19.4f - lift}, pose.frontFlipper);
    DrawFoot(base, Vec2{20.5f, 29.2f} + pose.frontFoot);
}

void DrawPenguinFrame(const Painter& p, int frame) {
    if (frame == image::kSelectedMarkerFrame) {
        Marker(p);
        return;
    }
    PenguinPose pose;
    if (frame < 8) {
        float phase = frame / 8.0f * 2 * kPi, s = std::sin(phase), c = std::cos(phase);
        pose.frontFoot = {2.2f * s, -1.2f * std::max(0.0f, c)};
        pose.backFoot = {-2.2f * s, -1.2f * std::max(0.0f, -c)};
        pose.bob = 0.7f * std::fabs(c);
        pose.tilt = 4 + 2 * std::sin(2 * phase);
        pose.backFlipper = 20 + 14 * s;
        pose.frontFlipper = 20 - 14 * s;
    } else if (frame == 8) {  // jump: stretched up, flippers raised, feet dangling
        pose.stretch = 1.5f;
        pose.bob = 1.0f;
        pose.backFlipper = 135;
        pose.frontFlipper = 120;
        pose.backFoot = {-1.5f, 0.3f};
        pose.frontFoot = {1.0f, 0.5f};
        pose.beakOpen = true;
        pose.eyeHappy = true;
    } else if (frame == 9) {  // leap and pop-in: thrown forward, flippers swept back
        pose.tilt = 32;
        pose.backFlipper = 75;
        pose.frontFlipper = 65;
        pose.backFoot = {-3.0f, -0.6f};
        pose.frontFoot = {-1.5f, 0};
    } else if (frame == 10) {  // melting or bursting: leaning back, flippers thrust forward
        pose.tilt = -6;
        pose.backFlipper = -70;
        pose.frontFlipper = -85;
        pose.beakOpen = true;
    } else {
        return;
    }
    DrawPenguin(p, pose);
}

}  // namespace assetgen
