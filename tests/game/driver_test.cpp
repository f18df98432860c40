// The screen driver: hot keys, the update-rate measure, the pointer in virtual pixels, the
// iCade characters, suspend and resume, the slides, and the way back from a level.
#include "framework/app/input.h"
#include "game_fixture.h"

namespace game_test {
namespace {

class Driver : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        FinishLoading();
    }
};

TEST_F(Driver, HotKeysToggleTheOverlayAndTheHudAndSwitchFullScreen) {
    Key(112);
    Key(113);
    Pass();
    EXPECT_EQ(DebugMode, 1);
    EXPECT_EQ(app->m_hideHud, 1);
    // The overlay is drawn on top: render rate and scales in the number-to-text form.
    auto images = Images();
    ASSERT_FALSE(images.empty());
    EXPECT_EQ(images.back()[3], '0' - 32);
    Key(112);
    Pass();
    EXPECT_EQ(DebugMode, 0);

    ws.desktop = {1600, 900, 8, 8, 8};
    Key(122);
    Pass();
    EXPECT_EQ(app->m_fullScreen, 1);
    EXPECT_TRUE(ws.fullscreen);
    EXPECT_EQ(ws.width, 1600);
    EXPECT_EQ(ws.height, 900);
    Pass();
    EXPECT_GT(app->m_loadStep, 0) << "the new size reloads the pictures";
    Key(122);
    Pass();
    EXPECT_EQ(app->m_fullScreen, 0);
    EXPECT_FALSE(ws.fullscreen);
    EXPECT_EQ(ws.width, 640);
    EXPECT_EQ(ws.height, 480);
    EXPECT_EQ(ws.title, "Floeward");
}

TEST_F(Driver, F4AndTheWindowsCloseKeyEndTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (int code : {115, KEY_CLOSE}) {
        // Straight into the input device, so that the update is what ends the program.
        EXPECT_EXIT(
            {
                vo_input_device->p_KeyEvent(c_VoGameEvent::KeyDown, code);
                Update();
                std::exit(3);
            },
            testing::ExitedWithCode(0), "")
            << code;
    }
}

TEST_F(Driver, UpdateRateMeasure) {
    ws.now = 200.0;
    Update();
    ws.now = 200.03125;
    Update();
    EXPECT_EQ(app->m_updFps, 1000 / 31);
    int average = app->m_updFpsAvg;
    // Two updates in the same millisecond keep the last rate; the average still moves.
    Update();
    EXPECT_EQ(app->m_updFps, 32);
    EXPECT_EQ(app->m_updFpsAvg, (32 + 9 * average) / 10);
}

TEST_F(Driver, PointerAndTouchesInVirtualPixels) {
    Resize(1280, 720);
    Render();
    host.MouseEvent(c_VoGameEvent::MouseMove, -1, 201, 101);
    host.TouchEvent(c_VoGameEvent::TouchDown, 3, 400, 600);
    app->m_pointerUsed = 1;
    Update();
    EXPECT_EQ(app->m_mouseX, 100);
    EXPECT_EQ(app->m_mouseY, 50);
    EXPECT_EQ(app->m_pointerDown, 1) << "a touch counts as the pointer";
    EXPECT_EQ(app->m_touchDown[3], 1);
    EXPECT_EQ(app->m_touchX[3], 200);
    EXPECT_EQ(app->m_touchY[3], 300);
    EXPECT_EQ(app->m_touchDown[0], 0);
    EXPECT_EQ(app->m_touchX[0], -3717);
    EXPECT_EQ(app->m_touchY[0], -3717);
    EXPECT_EQ(app->m_pointerUsed, 1) << "held while the press lasts";

    host.TouchEvent(c_VoGameEvent::TouchUp, 3, 400, 600);
    Update();
    EXPECT_EQ(app->m_touchX[3], -3717);
    EXPECT_EQ(app->m_pointerDown, 0);
    EXPECT_EQ(app->m_pointerUsed, 0) << "a release frees the pointer";
}

TEST_F(Driver, ICadeCharactersPressAndReleasePadEntries) {
    const char* press = "WXADHJKYUIOL";
    const char* release = "EZQCRNPTFMGV";
    const int entries[] = {0, 8, 3, 5, 10, 11, 12, 13, 14, 15, 16, 17};
    // In a level, where entries 16 and 17 (back) open the pause panel; on the title they would
    // end the program.
    FinishLoading();
    app->m_level = 1;
    app->m_settings[0] = 1;
    app->m_mode = screen::kStartLevel;
    Update();
    ASSERT_EQ(app->m_mode, screen::kInLevel);
    iCadeControls = 1;
    for (int i = 0; i < 12; ++i) {
        for (int lower : {0, 32}) {
            SCOPED_TRACE(std::string(1, static_cast<char>(press[i] + lower)));
            host.KeyEvent(c_VoGameEvent::KeyChar, press[i] + lower);
            host.KeyEvent(c_VoGameEvent::KeyChar, '!');
            Update();
            EXPECT_EQ(app->m_pad[entries[i]], 2);
            EXPECT_EQ(app->m_lastChar, 0) << "the queue was emptied";
            host.KeyEvent(c_VoGameEvent::KeyChar, release[i] + lower);
            Update();
            EXPECT_EQ(app->m_pad[entries[i]], 0);
        }
    }
    // Off, the characters are left alone.
    iCadeControls = 0;
    host.KeyEvent(c_VoGameEvent::KeyChar, 'W');
    Update();
    EXPECT_EQ(app->m_pad[0], 0);
}

TEST_F(Driver, SuspendAndResumeKeepALevelPausedAndSaveOnSuspend) {
    struct Case {
        int mode, paused, pauseDir, pauseY;
    };
    for (const Case& c : {Case{1, 0, 0, 0}, Case{10, 1, 1, 240}, Case{11, 1, 1, 240}}) {
        SCOPED_TRACE(c.mode);
        app->m_mode = c.mode;
        app->m_paused = 0;
        app->m_pad[4] = 2;
        iCadeControls = 1;
        int saves = host.saves;
        ws.active = false;
        host.SuspendGame();
        EXPECT_EQ(app->m_paused, c.paused);
        EXPECT_EQ(app->m_pauseDir, c.pauseDir);
        EXPECT_EQ(app->m_pauseY, c.pauseY);
        EXPECT_EQ(vo_app_UpdateRate(), 5);
        EXPECT_EQ(iCadeControls, 0);
        EXPECT_EQ(app->m_pad[4], 0);
        EXPECT_EQ(host.saves, saves + 1);
        ws.active = true;
        host.ResumeGame();
        EXPECT_EQ(app->m_paused, c.paused);
        EXPECT_EQ(vo_app_UpdateRate(), 60);
        EXPECT_EQ(host.saves, saves + 1) << "resuming saves nothing";
    }
    EXPECT_EQ(host.state.substr(0, 38), "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|0|0|0");
}

class LevelEnd : public Driver {
protected:
    // A level ended with the given score, reason and penguins home, back at the title.
    void EndLevel(int level, int score, int reason, int rescued) {
        app->m_level = level;
        app->m_score = score;
        app->m_endReason = reason;
        for (int p = 0; p < pen::kRecords; ++p) app->m_pen[pen::kFloats * p + pen::kState] = p < rescued ? pen::kRescued : pen::kWalking;
        app->m_mode = screen::kLevelDone;
        Update();
    }
};

TEST_F(LevelEnd, TheScoreGoesIntoTheTopTenBelowAnEqualOne) {
    for (int j = 0; j < 10; ++j) app->m_progress[20 + j] = 1000 - 100 * j;
    app->m_levelSel = 2;
    app->m_player[play::kCounters] = 4.7f;
    app->m_player[play::kCounters + 7] = 2;
    int saves = host.saves;
    EndLevel(3, 500, 0, 3);
    EXPECT_EQ(app->m_mode, 1);
    const int want[] = {1000, 900, 800, 700, 600, 500, 500, 400, 300, 200};
    for (int j = 0; j < 10; ++j) EXPECT_EQ(app->m_progress[20 + j], want[j]) << j;
    EXPECT_EQ(app->m_rescued, 3);
    EXPECT_EQ(app->m_levelSel, 3);
    EXPECT_EQ(app->m_wheelPos, -96);
    EXPECT_EQ(app->m_progress[170], 3);
    EXPECT_EQ(app->m_progress[171], 4);
    EXPECT_EQ(app->m_progress[178], 2);
    EXPECT_EQ(host.saves, saves + 1);
    EXPECT_EQ(audio->Plays("sfx/096.wav"), 2) << "the level's end sound after the jingle";

    // A lower run keeps the better record; a score below the whole table is not entered.
    app->m_player[play::kCounters] = 1;
    EndLevel(3, 1, 0, 1);
    EXPECT_EQ(app->m_progress[170], 3);
    EXPECT_EQ(app->m_progress[171], 4);
    EXPECT_EQ(app->m_progress[29], 200);
}

TEST_F(LevelEnd, TheWheelAdvancesOnlyAfterARescueAndNeverPastTheLastLevel) {
    app->m_levelSel = 13;
    EndLevel(14, 0, 8, 1);
    EXPECT_EQ(app->m_levelSel, 14);
    EndLevel(15, 0, 0, 2);
    EXPECT_EQ(app->m_levelSel, 14);
    EXPECT_EQ(app->m_wheelPos, -448);
    app->m_levelSel = 5;
    EndLevel(6, 0, 0, 0);
    EXPECT_EQ(app->m_levelSel, 5);
}

TEST_F(LevelEnd, QuitOrADeadPenguinRecordsTheScoreOnly) {
    app->m_levelSel = 4;
    app->m_player[play::kCounters] = 7;
    EndLevel(5, 299, ending::kQuit, 2);
    EndLevel(5, 150, ending::kDeadPenguin, 2);
    EXPECT_EQ(app->m_progress[40], 299);
    EXPECT_EQ(app->m_progress[41], 150);
    EXPECT_EQ(app->m_levelSel, 4);
    EXPECT_EQ(app->m_wheelPos, -128);
    EXPECT_EQ(app->m_progress[190], 0);
    EXPECT_EQ(app->m_progress[191], 0);
}

}  // namespace
}  // namespace game_test
