// The installed game's desktop icon: one set of shapes drawn as PNGs for the icon theme's
// fixed sizes and written out as an SVG for the scalable size.
#pragma once

#include <filesystem>
#include <string>

#include "tools/assetgen/canvas.h"

namespace assetgen {

// The pixel sizes the icon theme gets a PNG for.
inline constexpr int kDesktopIconSizes[] = {48, 64, 128, 256};

// The icon as a square picture of the given size.
Canvas RenderDesktopIcon(int size);
// The same shapes as an SVG document of 256 units a side.
std::string DesktopIconSvg();
// Writes dir/hicolor/NxN/apps/floeward.png for each size and dir/hicolor/scalable/apps/floeward.svg.
bool WriteDesktopIcons(const std::filesystem::path& dir);

}  // namespace assetgen
