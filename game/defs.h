// The game's definitions: every record layout, state, code and tunable that more than one file
// reads, named once. The tables stay plain float and int arrays; these names say what each slot holds.
#pragma once

#include "framework/app/key_codes.h"

// Marks an argument that was not given, and a touch point that is up.
constexpr int kNoArg = -3717;

// Updates per second while the window is active, and while it is suspended.
constexpr int kRunningRate = 60;
constexpr int kSuspendedRate = 5;

// The screen states of m_mode.
namespace screen {
constexpr int kTitle = 1;
constexpr int kLevelDone = 2;
constexpr int kInLevel = 10;
constexpr int kStartLevel = 11;
// The pause panel's position out of sight above the screen, where it opens from and closes to.
constexpr int kPausePanelHidden = -64;
}  // namespace screen

// The panels' key cursors: the title screen's focus (m_menuCursor), the options box's rows
// (m_optCursor) and the pause panel's items (m_pauseCursor).
namespace menu {
constexpr int kOptionsFocus = 0;
constexpr int kWheelFocus = 1;
constexpr int kCreditsFocus = 2;
constexpr int kBackRow = 0;
constexpr int kSoundRow = 1;
constexpr int kICadeRow = 2;
constexpr int kWindowRow = 3;
constexpr int kQuitItem = -2;
constexpr int kRestartItem = -1;
constexpr int kContinueItem = 0;
constexpr int kOptionsItem = 1;
}  // namespace menu

// The device the player used last (m_inputMode), taken when a level is confirmed and again
// whenever another device is pressed in a level: a pad (its buttons and sticks, or the iCade),
// the keyboard, or the pointer. The HUD, its hints and the text's key icons follow it.
namespace inputmode {
constexpr int kPad = 0;
constexpr int kKeys = 1;
constexpr int kPointer = 2;
}  // namespace inputmode

// In a text, this character and the letter after it draw the icon of a key or its pad control.
namespace glyph {
constexpr int kIconMark = 0xAC;  // "¬"
}  // namespace glyph

// One command record of m_drawQueue. Slots 4 and 5 hold the scale of an image, the size of a
// rectangle, the radii of an oval or the end point of a line.
namespace draw {
constexpr int kQueueFloats = 37500;
constexpr int kRecordFloats = 15;
// The last start that keeps a whole record inside the queue.
constexpr int kLastRecordStart = kQueueFloats - 16;
constexpr int kKind = 0;
constexpr int kX = 1;
constexpr int kY = 2;
constexpr int kRotation = 3;
constexpr int kWidth = 4;
constexpr int kHeight = 5;
constexpr int kFrame = 6;
constexpr int kAlpha = 7;
constexpr int kRed = 10;
constexpr int kGreen = 11;
constexpr int kBlue = 12;
constexpr int kBlend = 13;
// Kinds other than an image slot number.
constexpr float kRectKind = -3717;
constexpr float kOvalKind = -3716;
constexpr float kLineKind = -3715;
// Records whose blend selector is this value are drawn additively.
constexpr float kAdditiveBlend = 3;
// The blend selector a reset drawing state copies into records.
constexpr int kNormalBlend = 1;
// Colour factors of p_Ink's numbered colours 1 to 9 (the particles' colour index too); any other
// number is grey, entry 0.
constexpr float kPalette[10][3] = {
    {0.3f, 0.3f, 0.3f}, {1.0f, 0.1f, 0.1f}, {1.0f, 0.5f, 0.1f}, {1.0f, 1.0f, 0.1f}, {0.1f, 1.0f, 0.1f},
    {0.1f, 1.0f, 1.0f}, {0.1f, 0.1f, 1.0f}, {0.5f, 0.1f, 1.0f}, {1.0f, 0.1f, 0.5f}, {1.0f, 1.0f, 1.0f},
};
// p_DoBG: a channel at or above this asks for a new target; this alpha asks for an opaque background.
constexpr int kKeepChannel = -122;
constexpr int kBackgroundDefault = -123;
}  // namespace draw

// The level grid m_grid: cells of 10 floats (the first the tile code), 50 cells a row.
namespace grid {
constexpr int kFloats = 5000000;
constexpr int kCellFloats = 10;
constexpr int kRowCells = 50;
// The playable area; column 0, column kCols + 1, row 0 and row kRows + 1 are an empty border.
constexpr int kCols = 28;
constexpr int kRows = 14;
// m_matrix elements 1 to 9 hold a 3 × 3 neighbourhood, row by row.
constexpr int kMatrixInts = 50;
constexpr int kFirstNeighbour = 1;
constexpr int kNeighbours = 9;
constexpr int kAbove = 2;
constexpr int kLeft = 4;
constexpr int kCentre = 5;
constexpr int kRight = 6;
constexpr int kBelow = 8;
}  // namespace grid

// Tile codes of the grid.
namespace tile {
constexpr int kEmpty = 0;
constexpr int kFirstBlock = 1;
constexpr int kLastBlock = 8;
constexpr int kStart = 9;
constexpr int kExit = 10;
// Skill pick-ups: kSkillPickup + skill; the collection test takes every code up to kLastPickup.
constexpr int kSkillPickup = 50;
constexpr int kPenguinPickup = 55;
constexpr int kLastPickup = 59;
}  // namespace tile

// The penguin table m_pen: 50 records of 20 floats at the front of 5,100.
namespace pen {
constexpr int kTableFloats = 5100;
constexpr int kRecords = 50;
constexpr int kFloats = 20;
constexpr int kInPlay = 0;
constexpr int kCellX = 1;
constexpr int kCellY = 2;
constexpr int kOffsetX = 3;
constexpr int kOffsetY = 4;
constexpr int kDir = 5;
constexpr int kTimer = 7;
constexpr int kState = 9;
constexpr int kFrame = 13;
constexpr int kFallSpeed = 14;
constexpr int kNewDir = 15;
constexpr int kGround = 19;
// States (field kState); a skill in progress is kSkillState + skill.
constexpr int kWalking = 0;
constexpr int kTurning = 1;
constexpr int kPoppingIn = 6;
constexpr int kRescued = 8;
constexpr int kWaiting = 9;
constexpr int kSkillState = 50;
// The entry delay that makes an added penguin pop in instead of waiting.
constexpr int kPopInDelay = 90;
}  // namespace pen

// The five skills, in counter and HUD order.
namespace skill {
constexpr int kJump = 0;
constexpr int kLeap = 1;
constexpr int kMelt = 2;
constexpr int kBurst = 3;
constexpr int kSpin = 4;
constexpr int kCount = 5;
}  // namespace skill

// The play-state array m_player.
namespace play {
constexpr int kFloats = 512;
// p_ResetPlayers clears indices below this.
constexpr int kClearedFloats = 500;
constexpr int kSelected = 1;
constexpr int kSkill = 2;
constexpr int kUnused3 = 3;
constexpr int kLeftPenguin = 8;
constexpr int kRightPenguin = 9;
constexpr int kSelectedX = 11;
constexpr int kSelectedY = 12;
constexpr int kLeftDistance = 18;
constexpr int kRightDistance = 19;
constexpr int kTimer = 30;
// Counters: the five skills at kCounters + skill, then five stored but unused.
constexpr int kCounters = 50;
constexpr int kCounterSlots = 10;
// Counters a level record keeps for the next level.
constexpr int kCarriedCounters = 8;
constexpr int kSkillKeyLatch = 96;
constexpr int kUseLatch = 97;
constexpr int kSkillStickLatch = 98;
constexpr int kPenguinStickLatch = 99;
constexpr int kPenguins = 490;
constexpr int kStartX = 496;
constexpr int kStartY = 497;
constexpr int kExitX = 498;
constexpr int kExitY = 499;
// 90 seconds of simulation steps.
constexpr int kLevelSteps = 5400;
}  // namespace play

// Why a level ended (m_endReason).
namespace ending {
constexpr int kQuit = -1;
constexpr int kNone = 0;
constexpr int kComplete = 1;
constexpr int kOutOfTime = 8;
constexpr int kDeadPenguin = 9;
}  // namespace ending

// The numbered actions that p_PlayKey reports.
namespace action {
constexpr int kUp = 0;
constexpr int kLeft = 3;
constexpr int kRight = 5;
constexpr int kDown = 8;
constexpr int kUse = 10;
constexpr int kSpeedUp = 11;
constexpr int kButton2 = 12;
constexpr int kButton3 = 13;
constexpr int kPrevSkill = 14;
constexpr int kNextSkill = 15;
// Restarts the level in play at once, as the pause panel's Restart does.
constexpr int kRestart = 18;
constexpr int kBack = 98;
constexpr int kPause = 99;
// The screen driver's latch polls these, in this order, on pads 0 to 3.
constexpr int kLatchOrder[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 18, 99};
constexpr int kPads = 4;
}  // namespace action

// The hot keys the screen driver reads itself: F1 the debug overlay, F2 the HUD, F4 the end of
// the program, F11 full screen.
namespace hotkey {
constexpr int kDebug = KEY_F1;
constexpr int kHud = KEY_F2;
constexpr int kQuit = KEY_F4;
constexpr int kFullScreen = KEY_F11;
}  // namespace hotkey

// The virtual pad m_pad: iCade buttons 0 to 18, then the back-key hits of the update.
namespace vpad {
constexpr int kEntries = 20;
constexpr int kButtons = 19;
constexpr int kBackHits = 19;
// The value of a held iCade button.
constexpr int kHeld = 2;
}  // namespace vpad

// Touch points the screen driver copies each update, and the first one's key code.
namespace touch {
constexpr int kPoints = 10;
constexpr int kFirstCode = KEY_TOUCH0;
}  // namespace touch

// The particle pool m_part and the snow field m_star: records of 10 floats.
namespace particle {
constexpr int kTableFloats = 5100;
constexpr int kRecordFloats = 10;
// Both pools hold at most this many records in use.
constexpr int kMaxSlots = 500;
constexpr int kStartMax = 250;
constexpr int kStartStars = 100;
// Particle fields.
constexpr int kKind = 0;
constexpr int kX = 1;
constexpr int kY = 2;
constexpr int kVelX = 3;
constexpr int kVelY = 4;
constexpr int kRotation = 5;
constexpr int kSpin = 6;
constexpr int kLife = 7;
constexpr int kColour = 8;
constexpr int kFrame = 9;
// A bouncing particle keeps its floor where others keep their rotation.
constexpr int kFloor = kRotation;
// Kinds: 1 to 9 sprites (2 with drag and gravity, 3 bouncing, 4 long-lived), a square, a
// floating pick-up (its tile code), a number.
constexpr int kSpark = 1;
constexpr int kFalling = 2;
constexpr int kBouncing = 3;
constexpr int kLongLived = 4;
constexpr int kLastSprite = 9;
constexpr int kSquare = 16;
constexpr int kFirstPickup = 50;
constexpr int kLastPickup = 59;
constexpr int kNumber = 99;
// The colour index of white.
constexpr int kWhite = 9;
// Colour indices 1 to this are red, orange and yellow: sparks of melting ice and a fall.
constexpr int kLastHotColour = 3;
// Snowflake fields.
constexpr int kStarFrame = 0;
constexpr int kStarX = 1;
constexpr int kStarY = 2;
constexpr int kStarDepth = 3;
constexpr int kStarRotation = 5;
constexpr int kStarSpin = 6;
}  // namespace particle

// Sound numbers: the slots of m_sfx and the files sfx/NNN.wav.
namespace sfx {
constexpr int kSlots = 100;
constexpr int kRefusal = 1;
// Thuds 2 to 4: landing and turning, one at random.
constexpr int kFirstThud = 2;
constexpr int kLastThud = 4;
constexpr int kFall = 5;
// Skill sounds: kFirstSkill + skill for Jump to Burst; Spin plays a thud.
constexpr int kFirstSkill = 6;
constexpr int kPenguinPickup = 10;
constexpr int kRescued = 11;
constexpr int kSkillPickup = 12;
constexpr int kSpare = 95;
// The end-of-level sound, which the loader also plays once as the start-up jingle.
constexpr int kLevelEnd = 96;
constexpr int kConfirm = 98;
constexpr int kClick = 99;
// Effects go round the first 24 entries of the channel table.
constexpr int kRingSize = 24;
}  // namespace sfx

// The saved options m_options.
namespace option {
constexpr int kCount = 25;
// Index of the sound option: 0 off, 1 effects and music, 2 effects only, 3 music only.
constexpr int kSound = 5;
constexpr int kSoundDefault = 1;
// The sound option's values, in the order the options box cycles through them.
constexpr int kSoundOff = 0;
constexpr int kSoundAll = 1;
constexpr int kSoundEffects = 2;
constexpr int kSoundMusic = 3;
constexpr int kSoundModes = 4;
// The on-screen pad's position and size (kept and clamped; nothing draws the pad), with their
// smallest values and the size that replaces a too-small one.
constexpr int kPadX = 10;
constexpr int kPadY = 11;
constexpr int kPadSize = 12;
constexpr int kPadMinPosition = 64;
constexpr int kPadMinSize = 8;
constexpr int kPadDefaultSize = 10;
// The picture inset flag, always 1 once loaded.
constexpr int kInset = 14;
}  // namespace option

// Where the level scores and records sit in m_progress, and the level wheel's step.
namespace progress {
constexpr int kLevels = 15;
constexpr int kLastLevelIndex = kLevels - 1;
// Each level's top ten starts at 10 × (level − 1); its record at that plus kRecordBase.
constexpr int kTopTen = 10;
constexpr int kRecordBase = 150;
// Where level N's top ten starts in m_progress (rank 0 first), and where its record starts: the
// most penguins rescued, then the counters the next level starts with.
constexpr int TopTenOf(int level) { return kTopTen * (level - 1); }
constexpr int RecordOf(int level) { return kRecordBase + TopTenOf(level); }
// Virtual pixels between two levels on the wheel.
constexpr int kWheelStep = 32;
}  // namespace progress
