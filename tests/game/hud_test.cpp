// Over a level in play: the skill slots and their taps, counters, icons and switch keys, the
// hints of the first levels, and the pause request by key and by button.
#include "game/menu_layout.h"
#include "game_fixture.h"
#include "tools/replay/replay_runner.h"

namespace game_test {
namespace {

class Hud : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        FinishLoading();
        app->m_mode = screen::kInLevel;
        app->m_level = 5;
        app->m_inputMode = 2;
        app->m_player[play::kTimer] = play::kLevelSteps;
        // Past the level's name, which shows only at its start.
        app->m_levelAge = 1000;
        app->p_CLS2D();
    }
    void Draw() {
        app->p_CLS2D();
        app->p_DrawHud();
    }
    void TouchAt(int x, int y) {
        app->m_touchDown[0] = 1;
        app->m_touchX[0] = x;
        app->m_touchY[0] = y;
        app->m_pointerDown = 1;
    }
    // Images of one slot, as (slot, x, y, frame); the font's with y in [top, bottom).
    std::vector<std::array<float, 4>> ImagesOf(float slot, float top = -1e9f, float bottom = 1e9f) const {
        std::vector<std::array<float, 4>> out;
        for (const auto& image : Images()) {
            if (image[0] == slot && image[2] >= top && image[2] < bottom) out.push_back(image);
        }
        return out;
    }
    // Rectangles as (x, y, width, alpha), by their red and blue.
    std::vector<std::array<float, 4>> Rects(float red, float blue) const {
        std::vector<std::array<float, 4>> out;
        for (int at = 0; at + draw::kRecordFloats <= app->m_drawCount; at += draw::kRecordFloats) {
            const float* r = app->m_drawQueue.Data() + at;
            if (r[0] == draw::kRectKind && r[draw::kRed] == red && r[draw::kBlue] == blue) {
                out.push_back({r[draw::kX], r[draw::kY], r[draw::kWidth], r[draw::kAlpha]});
            }
        }
        return out;
    }
};

TEST_F(Hud, SlotsCountersIconsAndSwitchKeys) {
    ws.now = 100.3;  // outside the key icons' blink phase
    app->m_inputMode = 1;
    app->m_player[play::kSkill] = 2;
    const int counters[] = {3, 0, 1, 0, 12};
    for (int i = 0; i < 5; ++i) app->m_player[play::kCounters + i] = static_cast<float>(counters[i]);
    Draw();
    // 640 wide: fifths of 128, boxes 120 wide from 4 in, their tops 33 above the bottom.
    EXPECT_EQ(Rects(255, 0), (std::vector<std::array<float, 4>>{{2 * 128 + 4, 447, 120, 0.75f}}));
    EXPECT_EQ(Rects(0, 0).size(), 5u);
    // Icons only for skills left, centred in their slot; every counter ends at its slot's edge.
    EXPECT_EQ(ImagesOf(image::kTiles), (std::vector<std::array<float, 4>>{
                                           {image::kTiles, 60, 464, image::kSkillIconFrame + 0},
                                           {image::kTiles, 316, 464, image::kSkillIconFrame + 2},
                                           {image::kTiles, 572, 464, image::kSkillIconFrame + 4}}));
    auto counterGlyphs = ImagesOf(app->m_curFont, 455, 475);
    ASSERT_EQ(counterGlyphs.size(), 6u);
    EXPECT_EQ(counterGlyphs[0], (std::array<float, 4>{image::kFont, 124, 464, '3' - 32}));
    EXPECT_EQ(counterGlyphs[5], (std::array<float, 4>{image::kFont, 636, 464, '2' - 32}));
    // The previous and next skill's keys over their slots.
    EXPECT_EQ(ImagesOf(app->m_curFont, 440, 455),
              (std::vector<std::array<float, 4>>{{image::kFont, 128 + 7, 452, 100}, {image::kFont, 3 * 128 + 7, 452, 101}}));

    app->m_inputMode = 2;
    Draw();
    EXPECT_TRUE(ImagesOf(app->m_curFont, 440, 455).empty()) << "no keys after a start by pointer";
}

TEST_F(Hud, ATapSelectsTheSlotAndHandsItToTheNextUpdate) {
    for (int i = 0; i < 4; ++i) app->m_player[play::kCounters + i] = 2;
    app->m_tapSkill = -1;
    TouchAt(3 * 128 + 60, 460);
    Draw();
    EXPECT_EQ(app->m_player[play::kSkill], 3);
    EXPECT_EQ(app->m_tapSkill, 3);
    EXPECT_EQ(app->m_pointerUsed, 1);
    EXPECT_EQ(audio->Plays("sfx/099.wav"), 1);
    EXPECT_EQ(audio->Plays("sfx/098.wav"), 1);

    // Held on, nothing more; a tap on a spent skill does nothing.
    app->m_tapSkill = -1;
    Draw();
    app->m_pointerUsed = 0;
    TouchAt(4 * 128 + 60, 460);
    Draw();
    EXPECT_EQ(app->m_tapSkill, -1);
    EXPECT_EQ(app->m_player[play::kSkill], 3);
    EXPECT_EQ(audio->Plays("sfx/098.wav"), 1);
}

TEST_F(Hud, HintsOfTheFirstFourLevels) {
    app->m_inputMode = 1;
    // Levels 5 to 15 draw their map's hint where levels 1 and 2 draw theirs; the default level has none.
    struct Case {
        int level, facedLeft;
        float firstX;  // the first glyph of the hint at y 64; 0 none
        bool speedUp;
    };
    for (const Case& c : {Case{1, 0, 87, false}, Case{2, 1, 87, false}, Case{3, 0, 359, false},
                          Case{4, 0, 359, false}, Case{4, 1, 359, true}, Case{5, 1, 87, false},
                          Case{16, 1, 0, false}}) {
        SCOPED_TRACE(c.level * 10 + c.facedLeft);
        app->m_level = c.level;
        app->m_facedLeft = c.facedLeft;
        Draw();
        auto hint = ImagesOf(app->m_curFont, 60, 90);
        EXPECT_EQ(hint.empty() ? 0 : hint[0][1], c.firstX);
        EXPECT_EQ(ImagesOf(app->m_curFont, 160, 190).empty(), !c.speedUp);
        EXPECT_EQ(app->m_facedLeft, 0) << "the flag holds for one update";
    }
}

// By pointer the first levels explain the pointer in the places where the keys' hints stand; the
// key hints, with their key icons, wait for keys or a pad. Level 2 only tells every player of
// pick-ups, on the left as level 1 tells of saving skills.
TEST_F(Hud, PointerHintsByPointerAndKeyHintsByKeysOrPad) {
    ws.now = 100.3;  // outside the key icons' blink phase
    auto hintAt = [&](float top) {
        std::string text;
        bool icons = false;
        for (const auto& glyph : ImagesOf(app->m_curFont, top, top + 30)) {
            if (glyph[1] < 320) continue;
            icons = icons || glyph[3] >= 96;
            text += static_cast<char>(glyph[3] + 32);
        }
        return std::pair{text, icons};
    };
    for (int level = 1; level <= 4; ++level) {
        for (int mode : {inputmode::kPad, inputmode::kKeys, inputmode::kPointer}) {
            SCOPED_TRACE(testing::Message() << "level " << level << " mode " << mode);
            app->m_level = level;
            app->m_inputMode = mode;
            app->m_facedLeft = 1;
            Draw();
            const auto [right, rightIcons] = hintAt(60);
            const auto [speed, speedIcons] = hintAt(160);
            const bool pointer = mode == inputmode::kPointer;
            const auto left = ImagesOf(app->m_curFont, 60, 90);
            EXPECT_EQ(!left.empty() && left[0][1] == 87, level <= 2) << "the left hints speak to every player";
            if (level == 2) {
                EXPECT_EQ(right, "");
            } else if (pointer) {
                EXPECT_EQ(right.rfind("Click", 0), 0u) << right;
                EXPECT_FALSE(rightIcons);
            } else {
                EXPECT_FALSE(right.empty());
                EXPECT_TRUE(rightIcons) << right;
            }
            EXPECT_EQ(speed.empty(), level != 4);
            if (level == 4) {
                EXPECT_EQ(speedIcons, !pointer) << speed;
            }
        }
    }
}

TEST_F(Hud, ThePauseKeyPausesOnceItIsFree) {
    app->m_pauseY = -40;
    host.KeyEvent(c_VoGameEvent::KeyDown, 27);
    app->m_keyUsed = 1;
    app->p_InGame();
    EXPECT_EQ(app->m_paused, 0) << "held from before";
    // Released and pressed again, through the driver, which leaves the key to the level.
    host.KeyEvent(c_VoGameEvent::KeyUp, 27);
    Update();
    host.KeyEvent(c_VoGameEvent::KeyDown, 27);
    Update();
    EXPECT_EQ(app->m_paused, 1);
    EXPECT_EQ(app->m_keyUsed, 1);
    EXPECT_EQ(app->m_pauseDir, 1);
    EXPECT_EQ(app->m_pauseY, screen::kPausePanelHidden + 24) << "the panel slides in from above at once";
    EXPECT_EQ(audio->Plays("sfx/098.wav"), 1);
}

TEST_F(Hud, ThePauseButtonPausesEvenWithThePointerTaken) {
    app->m_inputMode = 1;
    app->m_pointerUsed = 1;
    TouchAt(40, 2);
    app->p_InGame();
    EXPECT_EQ(Images(), (std::vector<std::array<float, 4>>{{image::kIcons, 16, 16, image::kPauseIconFrame}}));
    EXPECT_FLOAT_EQ(app->m_drawQueue[draw::kAlpha], 0.2f) << "faded unless the pointer started the level";
    EXPECT_EQ(app->m_paused, 0) << "outside the 32-pixel button";

    app->m_hideHud = 1;
    TouchAt(30, 2);
    app->p_InGame();
    EXPECT_EQ(app->m_paused, 0) << "hidden with the HUD";
    app->m_hideHud = 0;
    app->p_InGame();
    EXPECT_EQ(app->m_paused, 1);
    EXPECT_EQ(app->m_pauseDir, 1);
    EXPECT_EQ(app->m_keyUsed, 1);
}

// A level played by script on a headless game, for the HUD's controls over whole updates.
class HudPlay : public testing::Test {
protected:
    void Play(const std::string& text) {
        c_ReplayScript script;
        c_ReplayError error;
        ASSERT_TRUE(vo_replay_ParseScript(text, script, error)) << error.p_Text();
        ASSERT_TRUE(runner.p_Run(script, error)) << error.p_Text();
    }
    float Timer() { return app.m_player[play::kTimer]; }
    // The simulation steps the next update takes, with that input.
    float StepsOf(const std::string& input) {
        const float before = Timer();
        Play(input + "\nwait 1");
        return before - Timer();
    }

    c_ReplayRunner runner;
    c_MyApp& app = runner.p_App();
};

TEST_F(HudPlay, TheSpeedUpButtonHoldsTheSpeedUpAndNeverCoversTheLevel) {
    Play("start 1 1\nwait 30");
    const float normal = StepsOf("");
    const menu_layout::HudButton button = menu_layout::HudSpeedButton(640, 480, app.m_levelTop, app.m_levelBottom);
    EXPECT_LT(button.y + button.size / 2, app.m_levelTop);
    const std::string at = std::to_string(static_cast<int>(button.x)) + " " + std::to_string(static_cast<int>(button.y));
    const float held = StepsOf("pointer down " + at);
    EXPECT_GT(held, normal);
    EXPECT_EQ(StepsOf(""), held) << "for as long as it is held";
    EXPECT_EQ(StepsOf("pointer up"), normal);
    EXPECT_EQ(StepsOf("pointer down " + at + "\nkey down 113"), normal) << "hidden with the HUD, it is not there";
    Play("pointer up\nkey up 113\nkey tap 113\nwait 1");

    // A wide window's level reaches up to the top: the button goes below it, over no cell.
    jscrw = 854;
    app.p_PlaceLevel();
    const menu_layout::HudButton wide = menu_layout::HudSpeedButton(jscrw, jscrh, app.m_levelTop, app.m_levelBottom);
    EXPECT_LT(app.m_levelTop, menu_layout::kHudSpeedTop + menu_layout::kHudSpeedSize / 2);
    EXPECT_GE(wide.y - wide.size / 2, app.m_levelBottom);
    EXPECT_LE(wide.y + wide.size / 2, jscrh - menu_layout::kHudSlotTop);
    jscrw = 640;
}

// R restarts the level at once, as the pause panel's Restart does, paused or not, once a press;
// with the iCade on the letter is the iCade's.
TEST_F(HudPlay, TheRestartKeyStartsTheLevelAgainOnceAPress) {
    Play("start 1 1\nwait 200");
    ASSERT_LT(Timer(), play::kLevelSteps - 100);
    Play("key down 82\nwait 1");
    EXPECT_EQ(Timer(), play::kLevelSteps);
    EXPECT_EQ(app.m_levelAge, 0);
    EXPECT_EQ(app.m_mode, screen::kInLevel);
    Play("wait 30");
    EXPECT_LT(Timer(), play::kLevelSteps) << "a key held on restarts once";
    Play("key up 82\nwait 1\nkey tap 27\nwait 5");
    ASSERT_EQ(app.m_paused, 1);
    Play("key down 82\nwait 1\nkey up 82\nwait 1");
    EXPECT_EQ(app.m_paused, 0);
    EXPECT_EQ(app.m_levelAge, 1) << "restarted from the pause panel too";

    app.p_iCade(1);
    Play("wait 20\nkey down 82\nwait 1");
    EXPECT_GT(app.m_levelAge, 1) << "with the iCade on, R is its letter";
}

}  // namespace
}  // namespace game_test
