// The picture sheets: the game's sheets as its own table names them, drawn by the generator's
// frame drawers, and the rendering of a whole sheet.
#include "tools/assetgen/images.h"

#include "game/image_sheets.h"

namespace assetgen {

namespace {

// What only the generator knows of a game sheet. Every game sheet is written at all three
// detail levels, without gutters.
struct SheetArt {
    int slot;
    int columns;  // frames per row of the sheet
    FrameDrawer draw;
};

constexpr SheetArt kSheetArt[] = {
    {image::kPenguin, 8, DrawPenguinFrame},   {image::kTiles, 8, DrawTileFrame},
    {image::kBadges, 8, DrawBadgeFrame},      {image::kCircle, 2, DrawCircleFrame},
    {image::kLight, 4, DrawLightFrame},       {image::kFont, 16, DrawGameFontFrame},
    {image::kStudioMark, 1, DrawStudioFrame}, {image::kDpad, 4, DrawDpadFrame},
    {image::kButtons, 4, DrawButtonFrame},    {image::kParticles, 16, DrawParticleFrame},
    {image::kIcons, 4, DrawIconFrame},        {image::kLogo, 1, DrawLogoFrame},
    {image::kMenu, 2, DrawMenuFrame},
};

// A sheet the game loads but nobody draws would be a missing file; art for a slot the game
// has no sheet for would be a file nobody loads.
constexpr bool EverySheetHasArt() {
    for (const image::Sheet& sheet : image::kSheets) {
        bool drawn = false;
        for (const SheetArt& art : kSheetArt) drawn = drawn || art.slot == sheet.slot;
        if (!drawn) return false;
    }
    for (const SheetArt& art : kSheetArt) {
        if (art.slot != image::kFont && image::SheetOf(art.slot) == nullptr) return false;
    }
    return true;
}
static_assert(EverySheetHasArt());

ImageAsset GameSheet(const SheetArt& art) {
    if (art.slot == image::kFont) {
        return {art.slot, image::kFontStem, image::kFontCell, image::kFontCell, image::kFontCells,
                art.columns, true, false, art.draw};
    }
    const image::Sheet& sheet = *image::SheetOf(art.slot);
    return {art.slot, sheet.stem, sheet.frameWidth, sheet.frameHeight, sheet.frameCount, art.columns, true, false,
            art.draw};
}

}  // namespace

const std::vector<ImageAsset>& ImageAssets() {
    static const std::vector<ImageAsset> assets = [] {
        std::vector<ImageAsset> list;
        for (const SheetArt& art : kSheetArt) list.push_back(GameSheet(art));
        // The framework's default font: one strip of cells, loaded with its gutters cut off.
        list.push_back({-1, "mivo_font", 10, 14, 96, 96, false, true, DrawDefaultFontFrame});
        return list;
    }();
    return assets;
}

std::string ImageFileName(const std::string& stem, int level) {
    const char* suffix = level == 4 ? "-hd2" : level == 2 ? "-hd" : "";
    return stem + suffix + ".png";
}

Canvas RenderImage(const ImageAsset& asset, int level) {
    int rows = (asset.frameCount + asset.columns - 1) / asset.columns;
    int fw = asset.frameWidth * level, fh = asset.frameHeight * level;
    Canvas canvas(fw * asset.columns, fh * rows);
    for (int i = 0; i < asset.frameCount; i++) {
        int x = (i % asset.columns) * fw, y = (i / asset.columns) * fh;
        ClipRect clip{x, y, x + fw, y + fh};
        if (asset.gutter) clip.x0 += 1, clip.x1 -= 1;
        Affine toPixels{static_cast<float>(level), 0, 0, static_cast<float>(level), static_cast<float>(x),
                        static_cast<float>(y)};
        asset.draw(Painter(canvas, toPixels, clip), i);
    }
    return canvas;
}

}  // namespace assetgen
