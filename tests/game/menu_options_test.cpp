// The options box: its rise and the latch while it moves, the key cursor's ends, the sound
// option's cycle with its music rule, a held fire key acting once, the iCade and window rows, and closing with a save.
#include "framework/app/input.h"
#include "game/menu_layout.h"
#include "menu_fixture.h"

namespace game_test {
namespace {

using menu_layout::kOptionsFirstRow;
using menu_layout::kOptionsGearX;
using menu_layout::kOptionsGearY;
using menu_layout::kOptionsRowGap;

class Options : public MenuTest {
protected:
    // Opens the box from the title's options button by keys and lets it finish rising.
    void OpenFromTitle() {
        Press(key::kLeft);
        Press(key::kEnter);
        ASSERT_EQ(app->m_optionsOpen, 1);
        Updates(30);
        ASSERT_EQ(app->m_optionsSlide, 30);
    }
    void ToRow(int row) {
        while (app->m_optCursor < row) Press(key::kDown);
        while (app->m_optCursor > row) Press(key::kUp);
    }
};

TEST_F(Options, TheBoxRisesOverThirtyUpdatesAndNoRowActsMeanwhile) {
    Press(key::kLeft);
    Hold(key::kEnter);
    Update();
    ASSERT_EQ(app->m_optionsOpen, 1);
    Release(key::kEnter);
    Press(key::kDown);
    EXPECT_EQ(app->m_optCursor, 0) << "the box is still moving";
    Updates(30);
    // Its top edge at 24 × (30 − slide): now at the top, the gear at rest.
    bool gearHome = false;
    for (const auto& image : Images()) {
        gearHome |= image[0] == image::kButtons && image[1] == kOptionsGearX && image[2] == kOptionsGearY &&
                    image[3] >= image::kGearFrame && image[3] < image::kGearFrame + image::kGearFrames;
    }
    EXPECT_TRUE(gearHome);
    EXPECT_EQ(RowOf("Sound:SFX+Music"), kOptionsFirstRow);
    EXPECT_EQ(RowOf("iCade:Off"), kOptionsFirstRow + kOptionsRowGap);
    EXPECT_EQ(RowOf("Fullscreen"), kOptionsFirstRow + 2 * kOptionsRowGap);
    EXPECT_TRUE(Shows("<[BACK]"));
    Press(key::kDown);
    EXPECT_EQ(app->m_optCursor, 1);
}

TEST_F(Options, TheKeyCursorStopsAtTheBackRowAndAtTheLastRow) {
    OpenFromTitle();
    const int clicks = Plays(sfx::kClick);
    for (int i = 0; i < 5; ++i) Press(key::kDown);
    EXPECT_EQ(app->m_optCursor, menu::kWindowRow);
    for (int i = 0; i < 5; ++i) Press(key::kUp);
    EXPECT_EQ(app->m_optCursor, menu::kBackRow);
    EXPECT_EQ(Plays(sfx::kClick), clicks + 6) << "a move past either end is no move";
    EXPECT_EQ(app->m_fullScreen, 0);
}

TEST_F(Options, TheSoundOptionCyclesAndTheMusicFollowsItDuringALevel) {
    // On the title, music switched on waits for the next level.
    OpenFromTitle();
    ToRow(menu::kSoundRow);
    app->m_options[option::kSound] = option::kSoundOff;
    Press(key::kEnter);
    EXPECT_EQ(app->m_options[option::kSound], option::kSoundAll);
    EXPECT_EQ(app->m_musicOn, 0);
    Press(key::kEscape);
    Updates(30);

    // In a level, from the pause panel's options item.
    Press(key::kRight);
    Press(key::kEnter);
    ASSERT_EQ(app->m_mode, screen::kInLevel);
    ASSERT_EQ(app->m_musicOn, 1);
    Press(key::kEscape);
    Press(key::kDown);
    Press(key::kEnter);
    ASSERT_EQ(app->m_optionsOpen, 1);
    Updates(30);
    const int want[4] = {2, 3, 0, 1};
    const int musicOn[4] = {0, 1, 0, 1};
    for (int i = 0; i < 4; ++i) {
        Press(key::kEnter);
        EXPECT_EQ(app->m_options[option::kSound], want[i]) << i;
        // The music stopped for 2 and 0, started again for 3 and 1.
        EXPECT_EQ(app->m_musicOn, musicOn[i]) << i;
    }
    EXPECT_EQ(app->m_tune, String("Garlic"));
}

TEST_F(Options, AFireKeyHeldActsOnceAndAStrangeSoundValueShowsNothing) {
    OpenFromTitle();
    ToRow(menu::kSoundRow);
    const int clicks = Plays(sfx::kClick);
    Hold(key::kEnter);
    Updates(5);
    Release(key::kEnter);
    Update();
    EXPECT_EQ(app->m_options[option::kSound], option::kSoundEffects);
    EXPECT_EQ(Plays(sfx::kClick), clicks + 1);

    app->m_options[option::kSound] = 7;
    Update();
    EXPECT_FALSE(Shows("Sound")) << "shown as nothing";
    EXPECT_EQ(app->m_options[option::kSound], option::kSoundOff);
    Update();
    EXPECT_TRUE(Shows("Sound:Off"));
}

TEST_F(Options, TheICadeRowDrainsTheCharactersAndReleasesThePad) {
    OpenFromTitle();
    ToRow(menu::kICadeRow);
    host.KeyEvent(c_VoGameEvent::KeyChar, 'W');
    host.KeyEvent(c_VoGameEvent::KeyChar, 'x');
    app->m_pad[3] = vpad::kHeld;
    Hold(key::kEnter);
    Update();
    Release(key::kEnter);
    EXPECT_EQ(iCadeControls, 1);
    EXPECT_EQ(vo_input_GetChar(), 0) << "what was typed before is gone";
    EXPECT_EQ(app->m_pad[3], 0);
    Update();
    EXPECT_TRUE(Shows("iCade:On"));
    Press(key::kEnter);
    EXPECT_EQ(iCadeControls, 0);
}

TEST_F(Options, TheWindowRowSwitchesToFullScreenByTouch) {
    OpenFromTitle();
    ws.desktop = {1600, 900, 8, 8, 8};
    // The row's touch area runs 84 in from either side, 24 high around its label.
    Click(550, kOptionsFirstRow + 2 * kOptionsRowGap + 11);
    EXPECT_EQ(app->m_fullScreen, 1);
    EXPECT_EQ(app->m_optCursor, menu::kWindowRow);
    Update();
    EXPECT_TRUE(Shows("Windowed"));
}

TEST_F(Options, ClosingByBackByTheGearOrOnTheBackRowAlwaysSaves) {
    OpenFromTitle();
    int saves = host.saves;
    Press(key::kEscape);
    EXPECT_EQ(app->m_optionsOpen, 0);
    EXPECT_EQ(host.saves, saves + 1);
    EXPECT_EQ(app->m_mode, screen::kTitle) << "the back key closed the box, not the program";
    Updates(30);
    EXPECT_EQ(app->m_optionsSlide, 0);

    Press(key::kEnter);
    Updates(30);
    Click(kOptionsGearX, kOptionsGearY);
    EXPECT_EQ(app->m_optionsOpen, 0);
    EXPECT_EQ(host.saves, saves + 2);
    Updates(30);

    Press(key::kEnter);
    Updates(30);
    ToRow(menu::kBackRow);
    // The next-skill key closes from the back row too.
    Press('N');
    EXPECT_EQ(app->m_optionsOpen, 0);
    EXPECT_EQ(host.saves, saves + 3);
}

}  // namespace
}  // namespace game_test
