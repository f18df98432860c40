// The desktop icon: a penguin on an ice floe under a night sky, kept as plain shapes so that
// the raster sizes and the scalable SVG are drawn from one geometry.
#include "tools/assetgen/desktop_icon.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <vector>

#include "tools/assetgen/painter.h"
#include "tools/assetgen/palette.h"

namespace assetgen {

namespace {

using namespace palette;

constexpr float kUnits = 256.0f;

// One shape of the icon, painted top to bottom with a vertical gradient over its bounds and,
// when rim > 0, a dark outline of that width around it.
struct IconShape {
    enum Kind { kCircle, kEllipse, kRoundBox, kPolygon } kind;
    Vec2 centre;
    Vec2 size;  // radii of an ellipse (x of a circle), half sizes of a box
    float corner = 0;
    std::vector<Vec2> points;
    Rgba top, bottom;
    float rim = 0;

    Vec2 Lo() const { return Bounds(true); }
    Vec2 Hi() const { return Bounds(false); }
    float Distance(Vec2 p) const {
        switch (kind) {
            case kCircle: return sdf::Circle(p, centre, size.x);
            case kEllipse: return sdf::Ellipse(p, centre, size.x, size.y);
            case kRoundBox: return sdf::Box(p, centre, size, corner);
            case kPolygon: return sdf::Polygon(p, points);
        }
        return 1e9f;
    }

private:
    Vec2 Bounds(bool low) const {
        if (kind != kPolygon) {
            Vec2 half = kind == kCircle ? Vec2{size.x, size.x} : size;
            return low ? centre - half : centre + half;
        }
        Vec2 b = points[0];
        for (Vec2 q : points) b = low ? Vec2{std::min(b.x, q.x), std::min(b.y, q.y)} : Vec2{std::max(b.x, q.x), std::max(b.y, q.y)};
        return b;
    }
};

IconShape Circle(Vec2 c, float r, Rgba colour, float rim = 0) {
    return {IconShape::kCircle, c, {r, r}, 0, {}, colour, colour, rim};
}
IconShape Ellipse(Vec2 c, Vec2 radii, Rgba top, Rgba bottom, float rim = 0) {
    return {IconShape::kEllipse, c, radii, 0, {}, top, bottom, rim};
}
IconShape Polygon(std::vector<Vec2> points, Rgba top, Rgba bottom, float rim = 0) {
    return {IconShape::kPolygon, {}, {}, 0, std::move(points), top, bottom, rim};
}

const std::vector<IconShape>& Shapes() {
    static const std::vector<IconShape> shapes = [] {
        std::vector<IconShape> s;
        s.push_back({IconShape::kRoundBox, {128, 128}, {116, 116}, 44, {}, Hex(0x3d74b0), kNight, 6});
        for (Vec2 flake : {Vec2{62, 58}, Vec2{198, 52}, Vec2{216, 104}, Vec2{44, 116}, Vec2{172, 30}})
            s.push_back(Circle(flake, 4.5f, WithAlpha(kSnow, 0.9f)));
        s.push_back(Polygon({{30, 196}, {62, 176}, {196, 172}, {228, 194}, {212, 226}, {46, 228}}, kIceLight, kIce, 5));
        // the back flipper, spread, and the feet, both behind the body
        s.push_back(Polygon({{90, 110}, {62, 158}, {94, 150}}, kPenguinLight, kPenguin, 4));
        s.push_back(Ellipse({110, 190}, {18, 8}, kBeak, kBeakDark, 4));
        s.push_back(Ellipse({150, 190}, {18, 8}, kBeak, kBeakDark, 4));
        s.push_back(Ellipse({128, 124}, {50, 68}, kPenguinLight, kPenguin, 6));
        s.push_back(Ellipse({140, 138}, {32, 48}, kBelly, kBellyShade));
        s.push_back(Circle({148, 96}, 10, kWhite));
        s.push_back(Circle({152, 96}, 5, kInk));
        s.push_back(Circle({154.5f, 93.5f}, 1.8f, kWhite));
        s.push_back(Polygon({{166, 102}, {196, 112}, {166, 120}}, kBeak, kBeakDark, 4));
        s.push_back(Ellipse({158, 126}, {7, 4}, kBlush, kBlush));
        return s;
    }();
    return shapes;
}

std::string Number(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

// "#rrggbb" plus the opacity attribute when the colour is not opaque.
std::string Colour(Rgba c, const char* opacityAttribute) {
    char text[64];
    auto byte = [](float v) { return static_cast<int>(std::lround(Clamp01(v) * 255.0f)); };
    std::snprintf(text, sizeof text, "\"#%02x%02x%02x\"", byte(c.r), byte(c.g), byte(c.b));
    std::string out = text;
    if (c.a < 1.0f) out += std::string(" ") + opacityAttribute + "=\"" + Number(c.a) + "\"";
    return out;
}

std::string Element(const IconShape& s, const std::string& paint) {
    switch (s.kind) {
        case IconShape::kCircle:
            return "<circle cx=\"" + Number(s.centre.x) + "\" cy=\"" + Number(s.centre.y) + "\" r=\"" + Number(s.size.x) +
                   "\" " + paint + "/>\n";
        case IconShape::kEllipse:
            return "<ellipse cx=\"" + Number(s.centre.x) + "\" cy=\"" + Number(s.centre.y) + "\" rx=\"" +
                   Number(s.size.x) + "\" ry=\"" + Number(s.size.y) + "\" " + paint + "/>\n";
        case IconShape::kRoundBox:
            return "<rect x=\"" + Number(s.centre.x - s.size.x) + "\" y=\"" + Number(s.centre.y - s.size.y) +
                   "\" width=\"" + Number(2 * s.size.x) + "\" height=\"" + Number(2 * s.size.y) + "\" rx=\"" +
                   Number(s.corner) + "\" " + paint + "/>\n";
        case IconShape::kPolygon: {
            std::string points;
            for (Vec2 q : s.points) points += (points.empty() ? "" : " ") + Number(q.x) + "," + Number(q.y);
            return "<polygon points=\"" + points + "\" " + paint + "/>\n";
        }
    }
    return {};
}

}  // namespace

Canvas RenderDesktopIcon(int size) {
    Canvas canvas(size, size);
    float scale = static_cast<float>(size) / kUnits;
    Painter p(canvas, Affine{scale, 0, 0, scale, 0, 0}, ClipRect{0, 0, size, size});
    for (const IconShape& s : Shapes()) {
        auto distance = [&s](Vec2 q) { return s.Distance(q); };
        auto paint = LinearGradient({0, s.Lo().y}, s.top, {0, s.Hi().y}, s.bottom);
        if (s.rim > 0) {
            p.Outlined(s.Lo(), s.Hi(), distance, paint, kInk, s.rim);
        } else {
            p.Fill(s.Lo(), s.Hi(), distance, paint);
        }
    }
    return canvas;
}

std::string DesktopIconSvg() {
    std::string defs, body;
    int gradients = 0;
    for (const IconShape& s : Shapes()) {
        // A stroke centred on the edge, twice the rim wide with round joins, is the rim's outline.
        if (s.rim > 0) {
            body += Element(s, "fill=" + Colour(kInk, "fill-opacity") + " stroke=" + Colour(kInk, "stroke-opacity") +
                                   " stroke-width=\"" + Number(2 * s.rim) + "\" stroke-linejoin=\"round\"");
        }
        std::string fill;
        if (s.top.r == s.bottom.r && s.top.g == s.bottom.g && s.top.b == s.bottom.b && s.top.a == s.bottom.a) {
            fill = "fill=" + Colour(s.top, "fill-opacity");
        } else {
            std::string id = "g" + std::to_string(++gradients);
            defs += "<linearGradient id=\"" + id + "\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"" +
                    Number(s.Lo().y) + "\" x2=\"0\" y2=\"" + Number(s.Hi().y) + "\">\n<stop offset=\"0\" stop-color=" +
                    Colour(s.top, "stop-opacity") + "/>\n<stop offset=\"1\" stop-color=" + Colour(s.bottom, "stop-opacity") +
                    "/>\n</linearGradient>\n";
            fill = "fill=\"url(#" + id + ")\"";
        }
        body += Element(s, fill);
    }
    const std::string side = Number(kUnits);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + side +
           "\" height=\"" + side + "\" viewBox=\"0 0 " + side + " " + side + "\">\n<defs>\n" + defs + "</defs>\n" + body +
           "</svg>\n";
}

bool WriteDesktopIcons(const std::filesystem::path& dir) {
    std::error_code error;
    for (int size : kDesktopIconSizes) {
        std::string name = std::to_string(size) + "x" + std::to_string(size);
        std::filesystem::path path = dir / "hicolor" / name / "apps" / "floeward.png";
        std::filesystem::create_directories(path.parent_path(), error);
        if (!RenderDesktopIcon(size).WritePng(path.string())) return false;
    }
    std::filesystem::path svg = dir / "hicolor" / "scalable" / "apps" / "floeward.svg";
    std::filesystem::create_directories(svg.parent_path(), error);
    std::ofstream out(svg, std::ios::binary);
    out << DesktopIconSvg();
    return static_cast<bool>(out.flush());
}

}  // namespace assetgen
