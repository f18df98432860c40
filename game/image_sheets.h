// The picture sheets of the game's image slots: slot, file stem, frame size in virtual pixels
// and frame count. The game loads them, the asset generator draws them, the tests check them.
#pragma once

// Image slots of m_images.
namespace image {
constexpr int kSlots = 100;
constexpr int kPenguin = 1;
constexpr int kTiles = 2;
constexpr int kBadges = 80;
constexpr int kCircle = 85;
constexpr int kLight = 86;
constexpr int kFont = 90;
constexpr int kStudioMark = 93;
constexpr int kDpad = 94;
constexpr int kButtons = 95;
constexpr int kParticles = 96;
constexpr int kIcons = 97;
constexpr int kLogo = 98;
constexpr int kMenu = 99;

// Frames of the penguin sheet (kPenguin): after the penguin's own, the selection marker, which
// is drawn among the penguins and so shares their sheet (and their batch on screen).
constexpr int kSelectedMarkerFrame = 11;
// Frames of the tile sheet (kTiles): blocks, markers, the skill icons and the pick-ups in bubbles.
constexpr int kBlockFrame = 0;
constexpr int kStartFrame = 8;
constexpr int kExitFrame = 9;
constexpr int kSkillIconFrame = 16;
constexpr int kPickupFrame = 24;
// Frames of the icon sheet (kIcons).
constexpr int kPauseIconFrame = 0;
constexpr int kQuitIconFrame = 1;
constexpr int kRestartIconFrame = 2;
constexpr int kPlayIconFrame = 3;
constexpr int kGearIconFrame = 7;
// Frames of the button sheet (kButtons): the focus ring, the level discs, and a gear turning
// through kGearFrames frames.
constexpr int kFocusRingFrame = 0;
constexpr int kLevelFrame = 1;
constexpr int kLockedLevelFrame = 2;
constexpr int kGearFrame = 8;
constexpr int kGearFrames = 3;

struct Sheet {
    int slot;
    const char* stem;
    int frameWidth, frameHeight, frameCount;
};

// Every sheet loaded into a slot by the table; the font is loaded apart, with its own metrics.
constexpr Sheet kSheets[] = {
    {kPenguin, "penA", 36, 36, 64},
    {kTiles, "gfx", 36, 36, 64},
    {kBadges, "BadgesA", 64, 64, 64},
    {kCircle, "common/circle", 256, 256, 4},
    {kLight, "common/light", 32, 32, 4},
    {kStudioMark, "common/ZUNOLogo", 256, 256, 1},
    {kDpad, "common/dpad", 32, 32, 16},
    {kButtons, "common/Buttons", 64, 64, 16},
    {kParticles, "parts", 8, 8, 256},
    {kIcons, "common/icons", 32, 32, 16},
    {kLogo, "logo", 256, 128, 1},
    {kMenu, "menu", 256, 256, 4},
};

// The game font: 128 cells of 16 × 16, drawn with its own advance and line height.
constexpr const char* kFontStem = "fonts/shadow_editundo";
constexpr int kFontCell = 16;
constexpr int kFontCells = 128;
constexpr int kFontAdvance = 7;
constexpr int kFontLineHeight = 10;

// The sheet of a slot, or null when the table has none.
constexpr const Sheet* SheetOf(int slot) {
    for (const Sheet& sheet : kSheets) {
        if (sheet.slot == slot) return &sheet;
    }
    return nullptr;
}
}  // namespace image
