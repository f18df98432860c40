// Lays out every frame over a checkerboard (so white and transparent art shows), with a
// heading per picture and the frame number under each frame.
#include "tools/assetgen/contact_sheet.h"

#include <cstdio>
#include <filesystem>
#include <stb_image_write.h>
#include <vector>

#include "tools/assetgen/images.h"
#include "tools/assetgen/stroke_font.h"

namespace assetgen {

namespace {

constexpr int kMargin = 12;
constexpr int kHeading = 28;
constexpr int kLabel = 14;
constexpr int kGap = 6;

struct Sheet {
    int width, height;
    std::vector<unsigned char> rgb;

    void Put(int x, int y, const unsigned char* rgba) {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        unsigned char* d = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        int a = rgba[3];
        for (int c = 0; c < 3; c++) d[c] = static_cast<unsigned char>((rgba[c] * a + d[c] * (255 - a) + 127) / 255);
    }
    void Checker(int x0, int y0, int w, int h) {
        for (int y = y0; y < y0 + h && y < height; y++) {
            for (int x = x0; x < x0 + w && x < width; x++) {
                unsigned char v = (((x - x0) / 8 + (y - y0) / 8) % 2) ? 0x5e : 0x72;
                unsigned char* d = &rgb[(static_cast<size_t>(y) * width + x) * 3];
                d[0] = v, d[1] = static_cast<unsigned char>(v + 8), d[2] = static_cast<unsigned char>(v + 20);
            }
        }
    }
    void Blit(const std::vector<unsigned char>& rgba, int srcWidth, int sx, int sy, int w, int h, int dx, int dy) {
        for (int y = 0; y < h; y++) {
            for (int x = 0; x < w; x++) Put(dx + x, dy + y, &rgba[(static_cast<size_t>(sy + y) * srcWidth + sx + x) * 4]);
        }
    }
    void Text(int x, int y, float unit, const std::string& text) {
        int w = static_cast<int>(TextWidth(unit, text) + 2 * unit) + 2, h = static_cast<int>(10 * unit) + 2;
        Canvas label(w, h);
        Painter p(label, Affine{}, ClipRect{0, 0, w, h});
        DrawText(p, {unit * 0.5f + 1, unit * 0.5f + 1}, unit, text, Rgba{1, 1, 1, 1});
        Blit(label.ToRgba8(), w, 0, 0, w, h, x, y);
    }
};

struct Placement {
    int columns, cellWidth, cellHeight, rows, top;
};

}  // namespace

bool WriteContactSheets(const std::string& dir) {
    std::filesystem::create_directories(dir);
    for (int level : {1, 2, 4}) {
        const int width = level == 1 ? 1200 : level == 2 ? 2000 : 3200;
        std::vector<Placement> places;
        int y = kMargin;
        for (const ImageAsset& asset : ImageAssets()) {
            int scale = asset.detailLevels ? level : 1;
            Placement pl;
            pl.cellWidth = std::max(asset.frameWidth * scale + kGap, 26);  // room for a 3-digit label
            pl.cellHeight = asset.frameHeight * scale + kLabel + kGap;
            pl.columns = std::max(1, (width - 2 * kMargin) / pl.cellWidth);
            pl.rows = (asset.frameCount + pl.columns - 1) / pl.columns;
            pl.top = y + kHeading;
            places.push_back(pl);
            y = pl.top + pl.rows * pl.cellHeight + kMargin;
        }
        Sheet sheet{width, y, std::vector<unsigned char>(static_cast<size_t>(width) * y * 3, 0x1c)};
        for (size_t i = 0; i < places.size(); i++) {
            const ImageAsset& asset = ImageAssets()[i];
            const Placement& pl = places[i];
            int scale = asset.detailLevels ? level : 1;
            std::string heading = "slot " + std::to_string(asset.slot) + "  " + ImageFileName(asset.stem, scale) + "  " +
                                  std::to_string(asset.frameWidth) + "x" + std::to_string(asset.frameHeight) + " x " +
                                  std::to_string(asset.frameCount);
            sheet.Text(kMargin, pl.top - kHeading + 2, 2.0f, heading);
            Canvas image = RenderImage(asset, scale);
            std::vector<unsigned char> rgba = image.ToRgba8();
            int fw = asset.frameWidth * scale, fh = asset.frameHeight * scale;
            for (int f = 0; f < asset.frameCount; f++) {
                int cx = kMargin + (f % pl.columns) * pl.cellWidth, cy = pl.top + (f / pl.columns) * pl.cellHeight;
                sheet.Checker(cx, cy, fw, fh);
                sheet.Blit(rgba, image.Width(), (f % asset.columns) * fw, (f / asset.columns) * fh, fw, fh, cx, cy);
                sheet.Text(cx, cy + fh + 1, 1.0f, std::to_string(f));
            }
        }
        std::string path = dir + "/" + ImageFileName("contact-sheet", level);
        if (!stbi_write_png(path.c_str(), sheet.width, sheet.height, 3, sheet.rgb.data(), sheet.width * 3)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace assetgen
