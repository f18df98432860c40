// The headless game's draw queue read as placed image records and lines of text, and records
// looked for in a picture of the real window by sampling their sheets as the renderer does
// (nearest pixel, picture handle in the middle).
#include "e2e/drawn.h"

#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>

#include "framework/app/app.h"
#include "game/globals.h"
#include "game/image_sheets.h"

namespace {

// Glyphs further apart than this many advances have a space between them.
constexpr float kSpaceGap = 1.5f;
constexpr int kFirstGlyph = 32;
constexpr int kOpaque = 255;

struct Sheet {
    int width = 0, height = 0, frameWidth = 0, frameHeight = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> rgba{nullptr, stbi_image_free};
    const unsigned char* At(int x, int y) const { return rgba.get() + 4 * (static_cast<size_t>(y) * width + x); }
};

// The generated file of a slot at a detail level, as the game's loader names it, read once.
const Sheet* SheetFor(int slot, int detail) {
    static std::map<std::pair<int, int>, Sheet> loaded;
    auto found = loaded.find({slot, detail});
    if (found != loaded.end()) return found->second.rgba ? &found->second : nullptr;
    Sheet& sheet = loaded[{slot, detail}];
    std::string stem;
    if (slot == image::kFont) {
        stem = image::kFontStem;
        sheet.frameWidth = sheet.frameHeight = image::kFontCell * detail;
    } else if (const image::Sheet* table = image::SheetOf(slot)) {
        stem = table->stem;
        sheet.frameWidth = table->frameWidth * detail;
        sheet.frameHeight = table->frameHeight * detail;
    } else {
        return nullptr;
    }
    const std::string suffix = detail == 4 ? "-hd2" : detail == 2 ? "-hd" : "";
    const std::string file = std::string(FLOEWARD_BUILD_DIR) + "/data/" + stem + suffix + ".png";
    int channels = 0;
    sheet.rgba.reset(stbi_load(file.c_str(), &sheet.width, &sheet.height, &channels, 4));
    return sheet.rgba ? &sheet : nullptr;
}

float Gap(const Drawn& a, const Drawn& b) { return b.x - a.x; }

}  // namespace

std::vector<Drawn> Scene::OfSlot(int slot) const {
    std::vector<Drawn> out;
    for (const Drawn& d : images) {
        if (d.slot == slot) out.push_back(d);
    }
    return out;
}

std::vector<TextLine> Scene::Lines() const {
    std::vector<TextLine> lines;
    const Drawn* last = nullptr;
    for (const Drawn& d : images) {
        if (d.slot != image::kFont) {
            last = nullptr;
            continue;
        }
        const float advance = image::kFontAdvance * d.scaleX;
        const bool sameLine = last && last->y == d.y && last->scaleX == d.scaleX && Gap(*last, d) > 0;
        if (!sameLine) {
            lines.emplace_back();
        } else if (Gap(*last, d) > kSpaceGap * advance) {
            lines.back().text += ' ';
        }
        lines.back().text += static_cast<char>(d.frame + kFirstGlyph);
        lines.back().glyphs.push_back(d);
        last = &d;
    }
    return lines;
}

TextLine Scene::Line(const std::string& text) const {
    for (const TextLine& line : Lines()) {
        if (line.text == text) return line;
    }
    return {};
}

Scene CaptureScene(const c_MyApp& app) {
    Scene scene;
    scene.detail = app.m_hdLevel;
    const int width = vo_app_DeviceWidth(), height = vo_app_DeviceHeight();
    const float insetY = width > 0 ? overscan * static_cast<float>(height) / static_cast<float>(width) : 0;
    const float* queue = app.m_drawQueue.Data();
    for (int at = 0; at + draw::kRecordFloats <= app.m_drawCount; at += draw::kRecordFloats) {
        const float* r = queue + at;
        if (r[draw::kKind] <= -1) continue;
        Drawn d;
        d.slot = static_cast<int>(r[draw::kKind]);
        d.frame = static_cast<int>(r[draw::kFrame]);
        d.x = r[draw::kX] * app.m_scaleX + overscan;
        d.y = r[draw::kY] * app.m_scaleY + insetY;
        d.scaleX = r[draw::kWidth] * app.m_scaleX * app.m_imgScale;
        d.scaleY = r[draw::kHeight] * app.m_scaleY * app.m_imgScale;
        d.alpha = r[draw::kAlpha];
        d.red = r[draw::kRed];
        d.green = r[draw::kGreen];
        d.blue = r[draw::kBlue];
        scene.images.push_back(d);
    }
    return scene;
}

namespace {

// Calls visit(x, y, texel) for every window pixel the record covers within width × height,
// with the opaque pixel of the frame the renderer samples there; a negative scale mirrors.
template <class Visit>
bool ForEachCovered(const Drawn& drawn, int detail, int frame, int width, int height, Visit visit) {
    const Sheet* sheet = SheetFor(drawn.slot, detail);
    if (!sheet || frame < 0 || drawn.scaleX == 0 || drawn.scaleY == 0) return false;
    const int columns = sheet->width / sheet->frameWidth;
    const int frameX = frame % columns * sheet->frameWidth, frameY = frame / columns * sheet->frameHeight;
    if (frameY + sheet->frameHeight > sheet->height) return false;

    const float fw = static_cast<float>(sheet->frameWidth), fh = static_cast<float>(sheet->frameHeight);
    const float sx = std::fabs(drawn.scaleX), sy = std::fabs(drawn.scaleY);
    const float left = drawn.x - 0.5f * fw * sx, top = drawn.y - 0.5f * fh * sy;
    const int x0 = std::max(0, static_cast<int>(std::floor(left)));
    const int y0 = std::max(0, static_cast<int>(std::floor(top)));
    const int x1 = std::min(width, static_cast<int>(std::ceil(left + fw * sx)));
    const int y1 = std::min(height, static_cast<int>(std::ceil(top + fh * sy)));
    for (int y = y0; y < y1; ++y) {
        int v = static_cast<int>(std::floor((static_cast<float>(y) + 0.5f - top) / sy));
        if (v < 0 || v >= sheet->frameHeight) continue;
        if (drawn.scaleY < 0) v = sheet->frameHeight - 1 - v;
        for (int x = x0; x < x1; ++x) {
            int u = static_cast<int>(std::floor((static_cast<float>(x) + 0.5f - left) / sx));
            if (u < 0 || u >= sheet->frameWidth) continue;
            if (drawn.scaleX < 0) u = sheet->frameWidth - 1 - u;
            const unsigned char* texel = sheet->At(frameX + u, frameY + v);
            if (texel[3] == kOpaque) visit(x, y, texel);
        }
    }
    return true;
}

}  // namespace

double Mismatch(const Picture& picture, const Drawn& drawn, int detail, int frame) {
    const float tint[3] = {drawn.red / 255, drawn.green / 255, drawn.blue / 255};
    double sum = 0;
    long count = 0;
    ForEachCovered(drawn, detail, frame < 0 ? drawn.frame : frame, picture.width, picture.height,
                   [&](int x, int y, const unsigned char* texel) {
                       const unsigned char* c = picture.At(x, y);
                       float diff = 0;
                       for (int k = 0; k < 3; ++k)
                           diff += std::fabs(static_cast<float>(c[k]) - static_cast<float>(texel[k]) * tint[k]);
                       sum += diff / 3;
                       ++count;
                   });
    return count > 0 ? sum / static_cast<double>(count) : -1;
}

float DarkCentreX(const Drawn& drawn, int detail, int luminance, float top, float bottom) {
    const float tint[3] = {drawn.red / 255, drawn.green / 255, drawn.blue / 255};
    double sum = 0;
    long count = 0;
    const int below = static_cast<int>(std::ceil(bottom));
    ForEachCovered(drawn, detail, drawn.frame, std::numeric_limits<int>::max(), below,
                   [&](int x, int y, const unsigned char* texel) {
                       if (static_cast<float>(y) < top) return;
                       float rgb[3];
                       for (int k = 0; k < 3; ++k) rgb[k] = static_cast<float>(texel[k]) * tint[k];
                       if (Luminance(rgb[0], rgb[1], rgb[2]) >= static_cast<float>(luminance)) return;
                       sum += x;
                       ++count;
                   });
    return count > 0 ? static_cast<float>(sum / static_cast<double>(count)) : std::nanf("");
}

double WorstMismatch(const Picture& picture, const std::vector<Drawn>& drawn, int detail) {
    if (drawn.empty()) return -1;
    double worst = 0;
    for (const Drawn& d : drawn) {
        const double m = Mismatch(picture, d, detail);
        if (m < 0) return -1;
        worst = std::max(worst, m);
    }
    return worst;
}
