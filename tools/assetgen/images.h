// The picture files the game and the framework load, and how each is drawn.
#pragma once

#include <string>
#include <vector>

#include "tools/assetgen/painter.h"

namespace assetgen {

// Draws one frame: the painter maps the frame's virtual pixels (0..width, 0..height) to its
// cell in the sheet at the sheet's detail level, and clips to that cell.
using FrameDrawer = void (*)(const Painter& p, int frame);

struct ImageAsset {
    int slot;           // the game's image slot, or -1 for the framework's default font
    std::string stem;   // file name without detail suffix and ".png"
    int frameWidth;     // virtual pixels
    int frameHeight;
    int frameCount;
    int columns;        // frames per row of the sheet
    bool detailLevels;  // also written as -hd (2x) and -hd2 (4x)
    bool gutter;        // each frame keeps a transparent 1-pixel column on both sides
    FrameDrawer draw;
};

const std::vector<ImageAsset>& ImageAssets();

// The whole sheet at detail level 1, 2 or 4.
Canvas RenderImage(const ImageAsset& asset, int level);
// "penA" → "penA-hd.png" at level 2.
std::string ImageFileName(const std::string& stem, int level);

// The frame drawers, one file per picture family.
void DrawPenguinFrame(const Painter& p, int frame);
void DrawTileFrame(const Painter& p, int frame);
void DrawGameFontFrame(const Painter& p, int frame);
void DrawDefaultFontFrame(const Painter& p, int frame);
void DrawIconFrame(const Painter& p, int frame);
void DrawButtonFrame(const Painter& p, int frame);
void DrawDpadFrame(const Painter& p, int frame);
void DrawCircleFrame(const Painter& p, int frame);
void DrawLightFrame(const Painter& p, int frame);
void DrawParticleFrame(const Painter& p, int frame);
void DrawBadgeFrame(const Painter& p, int frame);
void DrawMenuFrame(const Painter& p, int frame);
void DrawLogoFrame(const Painter& p, int frame);
void DrawStudioFrame(const Painter& p, int frame);

}  // namespace assetgen
