// The image table: file stems, frame sizes and counts as the game loads them, and the
// rendering of a whole sheet.
#include "tools/assetgen/images.h"

namespace assetgen {

const std::vector<ImageAsset>& ImageAssets() {
    static const std::vector<ImageAsset> assets = {
        {1, "penA", 36, 36, 64, 8, true, false, DrawPenguinFrame},
        {2, "gfx", 36, 36, 64, 8, true, false, DrawTileFrame},
        {80, "BadgesA", 64, 64, 64, 8, true, false, DrawBadgeFrame},
        {85, "common/circle", 256, 256, 4, 2, true, false, DrawCircleFrame},
        {86, "common/light", 32, 32, 4, 4, true, false, DrawLightFrame},
        {90, "fonts/shadow_editundo", 16, 16, 128, 16, true, false, DrawGameFontFrame},
        {93, "common/ZUNOLogo", 256, 256, 1, 1, true, false, DrawStudioFrame},
        {94, "common/dpad", 32, 32, 16, 4, true, false, DrawDpadFrame},
        {95, "common/Buttons", 64, 64, 16, 4, true, false, DrawButtonFrame},
        {96, "parts", 8, 8, 256, 16, true, false, DrawParticleFrame},
        {97, "common/icons", 32, 32, 16, 4, true, false, DrawIconFrame},
        {98, "logo", 256, 128, 1, 1, true, false, DrawLogoFrame},
        {99, "menu", 256, 256, 4, 2, true, false, DrawMenuFrame},
        {-1, "mivo_font", 10, 14, 96, 96, false, true, DrawDefaultFontFrame},
    };
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
