// The pause panel over a running level: its slide and veil, the key cursor with its sounds,
// continue, restart, quit with its banner, and the options box over the panel.
#include <functional>

#include "game/menu_layout.h"
#include "menu_fixture.h"

namespace game_test {
namespace {

class Pause : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        Press(key::kEnter);
        ASSERT_EQ(app->m_mode, screen::kInLevel);
    }
    // Pauses with Escape and waits for the panel to finish opening.
    void OpenPanel() {
        Press(key::kEscape);
        ASSERT_EQ(app->m_paused, 1);
        Updates(20);
        ASSERT_EQ(app->m_pauseY, 240);
    }
    void ToItem(int item) {
        while (app->m_pauseCursor < item) Press(key::kDown);
        while (app->m_pauseCursor > item) Press(key::kUp);
    }
    float Timer() const { return app->m_player[play::kTimer]; }
    // A click on an item's row of the open panel, in the middle of the 640 × 480 screen; the
    // rows run from quit down.
    void ClickItem(int item) {
        const float open = menu_layout::kPauseOpenAt * 480;
        const float panelY = menu_layout::kPausePanelTravel * open - open;
        Click(320, panelY - menu_layout::kPauseFirstRowRise +
                       menu_layout::kPauseRowGap * static_cast<float>(item - menu::kQuitItem));
    }
    // The alpha of this update's last black rectangle over the whole screen, or -1.
    float VeilAlpha() const {
        float alpha = -1;
        for (int at = 0; at + draw::kRecordFloats <= app->m_drawCount; at += draw::kRecordFloats) {
            const float* r = app->m_drawQueue.Data() + at;
            if (r[draw::kKind] == draw::kRectKind && r[draw::kWidth] >= jscrw && r[draw::kHeight] >= jscrh &&
                r[draw::kRed] == 0 && r[draw::kGreen] == 0 && r[draw::kBlue] == 0) {
                alpha = r[draw::kAlpha];
            }
        }
        return alpha;
    }
};

TEST_F(Pause, ThePanelSlidesToHalfTheScreenUnderADeepeningVeilAndTheLevelStops) {
    Updates(30);
    Hold(key::kEscape);
    std::vector<int> ys;
    float levelTime = 0;
    for (int i = 0; i < 15; ++i) {
        Update();
        ys.push_back(app->m_pauseY);
        // The level took its step in the update that paused it, before the pause key was read.
        if (i == 0) levelTime = Timer();
    }
    Release(key::kEscape);
    EXPECT_EQ(ys[0], -40);
    EXPECT_EQ(ys[1], -16);
    EXPECT_EQ(ys[11], 224);
    EXPECT_EQ(ys[12], 240) << "stops at half the screen height";
    EXPECT_EQ(ys[14], 240);
    EXPECT_FLOAT_EQ(VeilAlpha(), 240 / (0.8f * 480));
    EXPECT_TRUE(Shows("PAUSED"));
    for (const char* item : {"Quit", "Restart", "Continue", "Options"}) EXPECT_TRUE(Shows(item)) << item;
    EXPECT_EQ(Timer(), levelTime) << "the level stands still behind the panel";
    EXPECT_EQ(app->m_pauseCursor, menu::kContinueItem);
}

TEST_F(Pause, ALongPauseKeepsTheLevelBehindThePanelAndNeverFillsTheQueue) {
    Updates(30);
    const auto tiles = [this] {
        int n = 0;
        for (const auto& image : Images()) n += image[0] == image::kTiles;
        return n;
    };
    const int levelTiles = tiles();
    ASSERT_GT(levelTiles, 0);
    OpenPanel();
    const int drawn = app->m_drawCount;
    Updates(300);
    EXPECT_EQ(app->m_drawCount, drawn) << "each paused update draws the panel once";
    EXPECT_EQ(tiles(), levelTiles);
    EXPECT_FLOAT_EQ(VeilAlpha(), 240 / (0.8f * 480)) << "one veil, not one an update";
    EXPECT_TRUE(Shows("Options"));
}

TEST_F(Pause, TheCursorRunsFromQuitToOptionsWithItsSounds) {
    OpenPanel();
    const int clicks = Plays(sfx::kClick);
    Press(key::kDown);
    EXPECT_EQ(app->m_pauseCursor, menu::kOptionsItem);
    EXPECT_FLOAT_EQ(audio->lastRate, 1.2f) << "higher on the way down to options";
    EXPECT_FLOAT_EQ(audio->lastVolume, 0.5f);
    Press(key::kDown);
    EXPECT_EQ(app->m_pauseCursor, menu::kOptionsItem) << "options is the last item";
    EXPECT_EQ(Plays(sfx::kClick), clicks + 1) << "a move that goes nowhere is silent";
    for (int item : {menu::kContinueItem, menu::kRestartItem, menu::kQuitItem, menu::kQuitItem}) {
        Press(key::kUp);
        EXPECT_EQ(app->m_pauseCursor, item);
    }
    EXPECT_FLOAT_EQ(audio->lastRate, 0.8f);
    EXPECT_EQ(Plays(sfx::kClick), clicks + 4);
    EXPECT_EQ(app->m_optionsOpen, 0) << "moving takes nothing";
}

TEST_F(Pause, ContinueByFireByTheBackKeyOrByAClickClosesThePanelAndTheLevelGoesOn) {
    const auto byClick = [this] { ClickItem(menu::kContinueItem); };
    for (const auto& act : std::vector<std::function<void()>>{
             [this] { Press(key::kEnter); }, [this] { Press(key::kEscape); }, byClick}) {
        OpenPanel();
        const int confirms = Plays(sfx::kConfirm);
        act();
        EXPECT_EQ(app->m_pauseDir, -1);
        EXPECT_EQ(Plays(sfx::kConfirm), confirms + 1);
        EXPECT_FLOAT_EQ(audio->lastVolume, 0.5f);
        Updates(9);
        EXPECT_EQ(app->m_paused, 1) << "still rising";
        Updates(2);
        EXPECT_EQ(app->m_paused, 0) << "gone once above -32";
        const float levelTime = Timer();
        Update();
        EXPECT_NE(Timer(), levelTime) << "the level runs again";
        EXPECT_EQ(app->m_mode, screen::kInLevel);
    }
}

TEST_F(Pause, RestartBuildsTheLevelAgainAtOnce) {
    Updates(200);
    const float lateTime = Timer();
    OpenPanel();
    ToItem(menu::kRestartItem);
    Hold(key::kEnter);
    Update();
    Release(key::kEnter);
    EXPECT_EQ(app->m_mode, screen::kInLevel) << "built in the same update";
    EXPECT_EQ(app->m_paused, 0);
    EXPECT_GT(Timer(), lateTime) << "the level's clock starts again";
    EXPECT_FLOAT_EQ(audio->lastRate, 0.5f);
    EXPECT_FLOAT_EQ(audio->lastVolume, 0.5f);
}

TEST_F(Pause, QuitEndsTheLevelUnscoredUnderTheQuitBanner) {
    OpenPanel();
    ToItem(menu::kQuitItem);
    Press(key::kEnter);
    EXPECT_EQ(app->m_paused, 0);
    EXPECT_EQ(app->m_levelOver, 1);
    EXPECT_EQ(app->m_endReason, ending::kQuit);
    Updates(30);
    EXPECT_TRUE(Shows("Quit"));
    EXPECT_TRUE(Shows("Game"));
    Updates(120);
    EXPECT_EQ(app->m_mode, screen::kTitle);
    EXPECT_EQ(app->m_progress[progress::kRecordBase], 0) << "a quit level leaves no record";
}

TEST_F(Pause, OptionsOpenOverThePanelAndCloseBackToIt) {
    OpenPanel();
    ToItem(menu::kOptionsItem);
    const int confirms = Plays(sfx::kConfirm);
    Press(key::kEnter);
    EXPECT_EQ(app->m_optionsOpen, 1);
    EXPECT_EQ(Plays(sfx::kConfirm), confirms + 1);
    EXPECT_FLOAT_EQ(audio->lastVolume, 0.5f);
    Updates(30);
    Press(key::kEscape);
    EXPECT_EQ(app->m_optionsOpen, 0);
    Updates(30);
    EXPECT_EQ(app->m_paused, 1) << "the back key that closed the box does not also continue";
    EXPECT_EQ(app->m_pauseDir, 1);

    // Pressed on its gear, the box opens with the louder click.
    const int clicks = Plays(sfx::kClick);
    ClickItem(menu::kOptionsItem);
    EXPECT_EQ(app->m_optionsOpen, 1);
    EXPECT_EQ(Plays(sfx::kClick), clicks + 1);
    EXPECT_FLOAT_EQ(audio->lastVolume, 1);
}

}  // namespace
}  // namespace game_test
