// Where the title screen's, the options box's, the pause panel's and the level HUD's buttons and
// rows lie, in virtual pixels: the screens draw and hit-test them here, and the soak's player aims
// at them.
#pragma once

#include "game/defs.h"
#include "game/truncate.h"

namespace menu_layout {

// The title screen. The credits strip along the right edge, 140 wide while closed, with the play
// button in its middle 48 above the bottom; the level wheel's top 70 below the middle of the
// screen and 200 left of the strip; the options button at 38 from the left, 64 above the bottom.
constexpr float kStripWidth = 140;
constexpr float kPlayRise = 48;
constexpr float kWheelFromStrip = 200, kWheelBelowMiddle = 70;
constexpr float kTitleGearX = 38, kTitleGearRise = 64;
// While saving fails, a line says so above the logo, centred on it, 24 below the top edge.
constexpr float kNoticeTop = 24;

// The options box rises 24 pixels an update over 30 updates from below the screen; its gear
// comes to rest at (100, 60). Its rows lie 40 apart from 130 below the box's top edge, each
// pressed in the full width less 84 on either side.
constexpr int kOptionsSlideOpen = 30;
constexpr float kOptionsSlidePixels = 24;
constexpr float kOptionsGearX = 100, kOptionsGearY = 60;
constexpr float kOptionsFirstRow = 130, kOptionsRowGap = 40;
constexpr float kOptionsRowInset = 84;

// The pause panel: open at half the screen height, drawn at twice its position less that, so
// that it is out of sight before the pause ends. One row an item from quit down, 40 apart from
// 44 above the panel's middle, each pressed 100 either side of the screen's middle.
constexpr float kPauseOpenAt = 0.5f;
constexpr float kPausePanelTravel = 2;
constexpr float kPauseFirstRowRise = 44, kPauseRowGap = 40;
constexpr float kPauseRowHalfWidth = 100;

// The level's HUD: the pause button's centre 16 in from the top left corner. The skill slots
// share the screen's width in whole-pixel parts, one a skill; each box is inset 4 on either side,
// 32 high with its top 33 above the bottom edge. A slot's counter ends at its box's right edge
// and its icon sits half a part left of that, both 16 above the bottom edge.
constexpr float kHudPauseCorner = 16;
constexpr int kHudSlotInset = 4;
constexpr float kHudSlotHeight = 32, kHudSlotTop = 33;
constexpr float kHudSlotMiddle = 16;
// A tap within this square box around a penguin's point selects it.
constexpr float kPenguinTapBox = 16;

// The width of a skill slot's part on a screen this wide.
inline int HudSlotPart(float screenWidth) { return vo_game_Trunc(screenWidth / skill::kCount); }
// Skill slot i's right edge, for parts this wide.
inline float HudSlotRight(int i, int part) { return static_cast<float>((i + 1) * part - kHudSlotInset); }
// The x of skill slot i's icon.
inline float HudSlotIconX(int i, int part) { return HudSlotRight(i, part) - static_cast<float>(part / 2); }

}  // namespace menu_layout
