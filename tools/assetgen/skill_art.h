// The symbols of the five skills (Jump, Leap, Melt, Burst, Spin), shared by the HUD icons,
// the pick-ups and the badges.
#pragma once

#include "tools/assetgen/painter.h"

namespace assetgen {

// Draws skill 0-4 in a 36 x 36 box of the painter's units.
void DrawSkillSymbol(const Painter& p, int skill);
Rgba SkillColour(int skill);

}  // namespace assetgen
