// The title screen: the lock rule and starting a level, the wheel by keys, drag and tap, the
// focus, the statistics of the selected level, the credits strip and panel, and the back key.
#include "game/menu_layout.h"
#include "menu_fixture.h"

namespace game_test {
namespace {

// At 640 × 480, where menu_layout.h puts them: the wheel's top, the middle of the closed strip
// with its play button, and the options button in the bottom left.
constexpr float kWidth = 640, kHeight = 480;
constexpr float kTopX = kWidth - menu_layout::kStripWidth - menu_layout::kWheelFromStrip;
constexpr float kTopY = kHeight / 2 + menu_layout::kWheelBelowMiddle;
constexpr float kStripX = kWidth - menu_layout::kStripWidth / 2, kPlayY = kHeight - menu_layout::kPlayRise;
constexpr float kGearX = menu_layout::kTitleGearX, kGearY = kHeight - menu_layout::kTitleGearRise;

using Title = MenuTest;

TEST_F(Title, LevelsOpenAfterTheirOwnOrThePreviousRecord) {
    EXPECT_EQ(app->p_LevelOpen(0), 1) << "the first level is always open";
    EXPECT_EQ(app->p_LevelOpen(1), 0);
    EXPECT_EQ(app->p_LevelOpen(2), 0);
    app->m_progress[160] = 4;
    EXPECT_EQ(app->m_progress[150], 0);
    EXPECT_EQ(app->p_LevelOpen(2), 1) << "level 2's record opens level 3 without one for level 1";
    EXPECT_EQ(app->p_LevelOpen(3), 0);
    app->m_progress[160] = 0;
    app->m_progress[170] = 1;
    EXPECT_EQ(app->p_LevelOpen(2), 1) << "a level completed before stays open";
    EXPECT_EQ(app->p_LevelOpen(3), 1);
}

TEST_F(Title, ALockedLevelRefusesToStart) {
    Press(key::kDown);
    ASSERT_EQ(app->m_levelSel, 1);
    const int confirms = Plays(sfx::kConfirm);
    Press(key::kEnter);
    EXPECT_EQ(Plays(sfx::kRefusal), 1);
    EXPECT_EQ(Plays(sfx::kConfirm), confirms) << "nothing but the refusal";
    EXPECT_EQ(app->m_mode, screen::kTitle);
    Hold(key::kEnter);
    Updates(3);
    EXPECT_EQ(Plays(sfx::kRefusal), 2) << "once per press";
}

TEST_F(Title, StartingALevelTakesThePenguinsOfThePreviousRecordAndTheInputMode) {
    // The fire key that confirms is still held as the level starts.
    Press(key::kEnter);
    EXPECT_EQ(app->m_mode, screen::kInLevel) << "built in the same update";
    EXPECT_EQ(app->m_level, 1);
    EXPECT_EQ(app->m_settings[0], 1);
    EXPECT_EQ(app->m_inputMode, inputmode::kFire);
    EXPECT_EQ(Plays(sfx::kConfirm), 1);

    // Back on the title: level 3 after a record of 4 penguins in level 2, started by pointer.
    app->p_FlushGame();
    app->m_mode = screen::kTitle;
    app->m_progress[160] = 4;
    Press(key::kDown);
    Press(key::kDown);
    ASSERT_EQ(app->m_levelSel, 2);
    Updates(2);
    Click(kTopX, kTopY);
    EXPECT_EQ(app->m_mode, screen::kInLevel);
    EXPECT_EQ(app->m_level, 3);
    EXPECT_EQ(app->m_settings[0], 4);
    EXPECT_EQ(app->m_inputMode, inputmode::kPointer);
    EXPECT_EQ(app->m_wheelPos, -64);

    // A confirm with neither the pointer nor a fire key down.
    app->m_mode = screen::kTitle;
    app->p_ConfirmLevel();
    EXPECT_EQ(app->m_inputMode, inputmode::kKeys);
}

TEST_F(Title, UpAndDownMoveTheWheelWithinItsLevels) {
    Press(key::kUp);
    EXPECT_EQ(app->m_levelSel, 0);
    EXPECT_EQ(Plays(sfx::kClick), 0) << "no move above the first level";
    Hold(key::kDown);
    Updates(3);
    Release(key::kDown);
    Update();
    EXPECT_EQ(app->m_levelSel, 1) << "a held key moves once";
    EXPECT_EQ(app->m_wheelPos, -32);
    EXPECT_EQ(Plays(sfx::kClick), 1);
    EXPECT_EQ(app->m_level, 2);
    for (int i = 0; i < 16; ++i) Press(key::kDown);
    EXPECT_EQ(app->m_levelSel, 14);
    EXPECT_EQ(app->m_wheelPos, -448);
    EXPECT_EQ(Plays(sfx::kClick), 14);
    Press(key::kUp);
    EXPECT_EQ(app->m_levelSel, 13);
}

TEST_F(Title, LeftAndRightMoveTheFocusAndFireOpensTheFocusedItem) {
    Press(key::kLeft);
    Press(key::kLeft);
    EXPECT_EQ(app->m_menuCursor, menu::kOptionsFocus);
    EXPECT_EQ(Plays(sfx::kClick), 1);
    Press(key::kDown);
    EXPECT_EQ(app->m_levelSel, 0) << "up and down belong to the wheel";
    Press(key::kEnter);
    EXPECT_EQ(app->m_optionsOpen, 1);
    EXPECT_EQ(app->m_mode, screen::kTitle);

    app->m_optionsOpen = 0;
    app->m_optionsSlide = 0;
    for (int i = 0; i < 3; ++i) Press(key::kRight);
    EXPECT_EQ(app->m_menuCursor, menu::kCreditsFocus);
    Press(key::kEnter);
    EXPECT_EQ(app->m_creditsOpen, 1);
}

TEST_F(Title, ADragSpinsTheWheelThroughTheLevelsItPassesThenItSettles) {
    PointerDown(kTopX, 200);
    Update();
    EXPECT_EQ(app->m_dragOn, 1);
    EXPECT_EQ(app->m_wheelSpin, 0);
    // 100 pixels left of where the press began.
    PointerTo(kTopX - 100, 200);
    Update();
    EXPECT_FLOAT_EQ(app->m_wheelSpin, -25 * 0.75f);
    EXPECT_EQ(app->m_levelSel, 1);
    Update();
    EXPECT_FLOAT_EQ(app->m_wheelSpin, -40 * 0.75f) << "limited to 40";
    PointerUp();
    int updates = 0;
    while (app->m_wheelSpin != 0 && updates < 100) {
        Update();
        ++updates;
    }
    EXPECT_LT(updates, 20) << "the spin decays";
    EXPECT_EQ(app->m_dragOn, 0);
    EXPECT_GE(app->m_levelSel, 4);
    EXPECT_EQ(Plays(sfx::kClick), app->m_levelSel) << "every level that passed the top";
    Updates(30);
    EXPECT_EQ(app->m_wheelPos, -32.0f * app->m_levelSel) << "at rest on its level";
    EXPECT_EQ(app->m_mode, screen::kTitle);

    // Dragging right and down turns it back; it stops at the first level.
    PointerDown(kTopX, 200);
    Update();
    PointerTo(kTopX + 200, 300);
    Updates(10);
    PointerUp();
    Updates(30);
    EXPECT_EQ(app->m_levelSel, 0);
    EXPECT_EQ(app->m_wheelPos, 0);
}

TEST_F(Title, ATapOnASideDiscSelectsItAndATapOnTheTopStartsIt) {
    // Level 2's disc lies right of the top one.
    Click(kTopX + 67, kTopY + 9);
    EXPECT_EQ(app->m_levelSel, 1);
    EXPECT_EQ(app->m_mode, screen::kTitle);
    Updates(10);
    app->m_progress[150] = 1;
    Click(kTopX, kTopY);
    EXPECT_EQ(app->m_mode, screen::kInLevel);
    EXPECT_EQ(app->m_level, 2);
}

TEST_F(Title, StatisticsShowWhatTheSelectedLevelStartsWith) {
    Update();
    EXPECT_EQ(Lines(0, 150), (std::vector<std::string>{"Level1", "Penguins", "1", "Jumps", "10", "Leaps", "0", "Melts",
                                                       "0", "Bursts", "0", "Spins", "0"}));
    // Lines 35 apart from 105 above the middle; a glyph's middle is half a line below its top.
    EXPECT_EQ(RowOf("Penguins", 0, 150), 240 - 105 + 5);
    EXPECT_EQ(RowOf("Spins", 0, 150), 240 - 105 + 5 + 5 * 35);

    const int record[6] = {3, 4, 5, 6, 7, 8};
    for (int k = 0; k < 6; ++k) app->m_progress[150 + k] = record[k];
    Press(key::kDown);
    EXPECT_EQ(Lines(0, 150), (std::vector<std::string>{"Level2", "Penguins", "3", "Jumps", "4", "Leaps", "5", "Melts",
                                                       "6", "Bursts", "7", "Spins", "8"}));
    // The texts are made again when the record changes under the same selection.
    app->m_progress[150 + 2] = 12;
    Update();
    EXPECT_EQ(Lines(0, 150), (std::vector<std::string>{"Level2", "Penguins", "3", "Jumps", "4", "Leaps", "12", "Melts",
                                                       "6", "Bursts", "7", "Spins", "8"}));
}

TEST_F(Title, TheStripTakesTheFocusThenOpensAndTheBackKeyClosesIt) {
    Click(kStripX, 200);
    EXPECT_EQ(app->m_menuCursor, menu::kCreditsFocus);
    EXPECT_EQ(app->m_creditsOpen, 0);
    Click(kStripX, 200);
    EXPECT_EQ(app->m_creditsOpen, 1);
    EXPECT_EQ(Plays(sfx::kClick), 2);
    Updates(60);
    EXPECT_EQ(app->m_creditsX, kWidth - menu_layout::kStripWidth) << "open over the whole screen";

    // Back closes the panel and does not end the program.
    Press(key::kEscape);
    EXPECT_EQ(app->m_creditsOpen, 0);
    EXPECT_EQ(app->m_mode, screen::kTitle);
    Updates(60);
    EXPECT_EQ(app->m_creditsX, 0);

    // The play button confirms the wheel whatever has the focus.
    Click(kStripX, kPlayY);
    EXPECT_EQ(app->m_mode, screen::kInLevel);
    EXPECT_EQ(app->m_menuCursor, menu::kWheelFocus);
}

TEST_F(Title, TheOptionsButtonOpensTheBox) {
    Click(kGearX, kGearY);
    EXPECT_EQ(app->m_optionsOpen, 1);
    EXPECT_EQ(Plays(sfx::kClick), 1);
}

TEST_F(Title, TheCreditsScrollFasterWithUpOrDownAndNeverShowTheirEnd) {
    for (int i = 0; i < 2; ++i) Press(key::kRight);
    Press(key::kEnter);
    ASSERT_EQ(app->m_creditsOpen, 1);
    const float before = app->m_creditsScroll;
    const int top = app->m_creditsTop;
    Updates(10);
    EXPECT_NEAR(app->m_creditsScroll - before, -3, 1e-3);
    Hold(key::kDown);
    Updates(10);
    Release(key::kDown);
    // 3 + 18 pixels: one line has gone by.
    EXPECT_EQ(app->m_creditsTop, top + 1);
    EXPECT_NEAR(app->m_creditsScroll, before - 21 + 16, 1e-3);

    // Technical figures at the top, the closing line below the credits.
    Updates(50);
    EXPECT_EQ(RowOf("DebugStats"), 16);
    EXPECT_TRUE(Shows("Engine:640x480"));
    EXPECT_TRUE(Shows("Screen:640x480"));
    EXPECT_TRUE(Shows("FPS:"));
    EXPECT_TRUE(Shows("CodedinC++"));

    // A whole turn of the 52 lines, never reaching "End".
    Hold(key::kDown);
    bool sawEnd = false, sawLast = false;
    for (int i = 0; i < 500; ++i) {
        Update();
        sawEnd |= Shows("End");
        sawLast |= Shows("-=-=-") && app->m_creditsTop == 51;
        ASSERT_LT(app->m_creditsTop, 52);
    }
    EXPECT_TRUE(sawLast) << "the line before it is shown";
    EXPECT_FALSE(sawEnd);
}

TEST_F(Title, BackWithNothingOpenEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Hold(key::kEscape);
            Update();
            std::exit(3);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(Title, OnAWideScreenEveryTextStaysInsideAndClearOfTheDiscsAndTheButton) {
    EXPECT_EQ(app->m_titleDrop, 0) << "the logo has dropped in";
    Resize(1280, 720);
    Render();
    FinishLoading();
    Update();
    ASSERT_EQ(jscrh, 360);
    // Boxes of the glyphs and the discs; the options button's gear is round, its teeth
    // reaching 27 from its middle.
    const float gearX = menu_layout::kTitleGearX, gearY = 360 - menu_layout::kTitleGearRise;
    struct Box {
        float x0, y0, x1, y1;
        bool Meets(const Box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
    };
    std::vector<Box> glyphs, discs;
    for (int at = 0; at + draw::kRecordFloats <= app->m_drawCount; at += draw::kRecordFloats) {
        const float* r = app->m_drawQueue.Data() + at;
        const float x = r[draw::kX], y = r[draw::kY], sx = r[draw::kWidth], sy = r[draw::kHeight];
        if (r[draw::kKind] == static_cast<float>(app->m_curFont)) glyphs.push_back({x - 3.5f * sx, y - 5 * sy, x + 3.5f * sx, y + 5 * sy});
        if (r[draw::kKind] == image::kButtons &&
            (r[draw::kFrame] == image::kLevelFrame || r[draw::kFrame] == image::kLockedLevelFrame)) {
            discs.push_back({x - 28 * sx, y - 28 * sy, x + 28 * sx, y + 28 * sy});
        }
    }
    ASSERT_GT(glyphs.size(), 40u);
    for (const Box& g : glyphs) {
        EXPECT_GE(g.x0, 0);
        EXPECT_LE(g.x1, 640);
        EXPECT_GE(g.y0, 0);
        EXPECT_LE(g.y1, 360);
        const float nearX = std::clamp(gearX, g.x0, g.x1), nearY = std::clamp(gearY, g.y0, g.y1);
        EXPECT_GT(std::hypot(nearX - gearX, nearY - gearY), 27) << g.x0 << "," << g.y0;
    }
    // Statistics (left of x = 150) against the discs.
    for (const Box& d : discs) {
        for (const Box& g : glyphs) {
            if (g.x1 < 150) {
                EXPECT_FALSE(g.Meets(d)) << g.x0 << "," << g.y0;
            }
        }
    }
}

}  // namespace
}  // namespace game_test
