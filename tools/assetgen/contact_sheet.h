// Review sheets: every frame of every picture at one detail level, labelled with its image
// slot and frame number.
#pragma once

#include <string>

namespace assetgen {

// Writes contact-sheet.png, contact-sheet-hd.png and contact-sheet-hd2.png into dir.
bool WriteContactSheets(const std::string& dir);

}  // namespace assetgen
