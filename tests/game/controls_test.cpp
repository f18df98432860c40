// Controls: the actions over keyboard, pad buttons, the left stick and the iCade, the tables the
// tools read them by, the analogue direction, the pointer tests of areas and buttons, and the
// screen driver's key latch.
#include <map>
#include <set>

#include "framework/app/input.h"
#include "framework/app/key_codes.h"
#include "game/controls.h"
#include "game_fixture.h"
#include "tools/replay/replay_runner.h"
#include "tools/replay/replay_script.h"

namespace game_test {
namespace {

constexpr int kEsc = 27, kBackquote = 192;

class Controls : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        FinishLoading();
    }
    void Down(int code) { host.KeyEvent(c_VoGameEvent::KeyDown, code); }
    void Up(int code) { host.KeyEvent(c_VoGameEvent::KeyUp, code); }
    // Touch point `finger` down at a window position, read as the driver's step 5 reads it.
    void TouchAt(int finger, float x, float y) {
        host.TouchEvent(c_VoGameEvent::TouchDown, finger, x, y);
        app->p_ReadPointer();
    }
    void Lift(int finger) {
        host.TouchEvent(c_VoGameEvent::TouchUp, finger, 0, 0);
        app->p_ReadPointer();
    }
    // The actions 0 to 99 held on that pad.
    std::set<int> Held(int pad, int withStick = 1) {
        std::set<int> held;
        for (int a = 0; a < 100; ++a) {
            if (app->p_PlayKey(a, withStick, pad) != 0) held.insert(a);
        }
        return held;
    }
};

using Mapping = std::map<int, std::set<int>>;

// Keyboard key → actions, with the iCade off and on. 98 only counts with a pad given.
const Mapping kKeysOff = {
    {38, {0}},      {'W', {0}},     {37, {3}},      {'A', {3}},      {39, {5}},      {'D', {5}},
    {40, {8}},      {'S', {8}},     {'Z', {10}},    {'J', {10}},     {32, {10}},     {13, {10}},
    {'X', {11}},    {'K', {11}},    {17, {11}},     {'C', {12}},     {'L', {12}},    {16, {12}},
    {'V', {13}},    {'I', {13}},    {'B', {14}},    {'U', {14}},     {'N', {15}},    {'O', {15}},
    {'R', {18}},    {kEsc, {98, 99}}, {kBackquote, {98, 99}}, {46, {98, 99}}, {8, {98, 99}},
};
const Mapping kKeysOn = {
    {38, {0}}, {37, {3}}, {39, {5}}, {40, {8}}, {32, {10}}, {13, {10}},
    {17, {11}}, {16, {12}}, {kEsc, {99}}, {46, {99}}, {8, {99}},
};
// Pad button → actions (the iCade on drops 98).
const Mapping kButtons = {
    {9, {0}},  {8, {3}},  {10, {5}}, {11, {8}}, {0, {10}},      {1, {11}},      {2, {12}},
    {3, {13}}, {4, {14}}, {5, {15}}, {6, {98, 99}}, {7, {98, 99}}, {13, {18}}, {14, {98, 99}},
};

TEST_F(Controls, KeyboardActionsInBothModes) {
    for (int icade : {0, 1}) {
        iCadeControls = icade;
        const Mapping& keys = icade ? kKeysOn : kKeysOff;
        // Every key either table names, and every letter.
        std::set<int> codes;
        for (const auto& [code, _] : kKeysOff) codes.insert(code);
        for (int c = 'A'; c <= 'Z'; ++c) codes.insert(c);
        for (int code : codes) {
            SCOPED_TRACE(testing::Message() << "iCade " << icade << " key " << code);
            auto it = keys.find(code);
            std::set<int> want = it == keys.end() ? std::set<int>{} : it->second;
            Down(code);
            for (int pad : {0, 3}) EXPECT_EQ(Held(pad), want);
            want.erase(98);
            EXPECT_EQ(Held(-1), want) << "back needs a pad";
            EXPECT_TRUE(Held(-2).empty());
            for (int a : want) EXPECT_EQ(app->p_PlayKeyAll(a, 1), 4) << "a key counts on every pad";
            Up(code);
        }
    }
}

TEST_F(Controls, PadButtonsCountOnTheirOwnPadOnly) {
    for (int icade : {0, 1}) {
        iCadeControls = icade;
        for (int pad = 0; pad < 4; ++pad) {
            for (int button = 0; button < 16; ++button) {
                SCOPED_TRACE(testing::Message() << "iCade " << icade << " pad " << pad << " button " << button);
                auto it = kButtons.find(button);
                std::set<int> want = it == kButtons.end() ? std::set<int>{} : it->second;
                if (icade) want.erase(98);
                const int code = 256 + 32 * pad + button;
                Down(code);
                for (int other = -1; other < 4; ++other) {
                    EXPECT_EQ(Held(other), other == pad ? want : std::set<int>{}) << other;
                }
                Up(code);
            }
        }
    }
}

TEST_F(Controls, LeftStickDirectionsWhenAskedForAndICadeOff) {
    struct Case {
        float x, y;
        std::set<int> want;
    };
    const Case cases[] = {{0, 0.5f, {0}}, {-0.5f, 0, {3}}, {0.5f, 0, {5}}, {0, -0.5f, {8}},
                          {0.4f, -0.4f, {}}, {-0.41f, 0.41f, {0, 3}}};
    for (int pad = 0; pad < 4; ++pad) ws.joysticks[pad].present = true;
    for (int pad = 0; pad < 4; ++pad) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "pad " << pad << " stick " << c.x << "," << c.y);
            ws.joysticks[pad].axes = {c.x, c.y};
            Update();
            ASSERT_FLOAT_EQ(vo_input_JoyY(0, pad), c.y) << "the stick's y as the input device holds it";
            iCadeControls = 0;
            EXPECT_EQ(Held(pad), c.want);
            EXPECT_TRUE(Held(pad, 0).empty());
            EXPECT_TRUE(Held(-1).empty());
            EXPECT_TRUE(Held((pad + 1) % 4).empty());
            iCadeControls = 1;
            EXPECT_TRUE(Held(pad).empty());
            ws.joysticks[pad].axes = {0, 0};
        }
    }
}

TEST_F(Controls, ICadeButtonsGiveTheirPadValueOnEveryPad) {
    const Mapping entries = {{0, {0}},   {3, {3}},   {5, {5}},   {8, {8}},       {10, {10}},     {11, {11}},
                             {12, {12}}, {13, {13}}, {14, {14}}, {15, {15}},     {16, {98, 99}}, {17, {98, 99}},
                             {19, {98, 99}}};
    for (int icade : {0, 1}) {
        iCadeControls = icade;
        for (const auto& [entry, actions] : entries) {
            SCOPED_TRACE(testing::Message() << "iCade " << icade << " entry " << entry);
            app->m_pad[entry] = 2;
            for (int pad : {-1, 0, 2}) {
                std::set<int> want = actions;
                if (pad < 0 || icade) want.erase(98);
                EXPECT_EQ(Held(pad), want);
                for (int a : want) EXPECT_EQ(app->p_PlayKey(a, 1, pad), 2);
            }
            app->m_pad[entry] = 0;
        }
    }
}

// The tables the tools give input by are the ones the actions read: every input of a row holds
// its action, every key is one a window can send, and every iCade letter presses or lets go of
// its entry.
TEST_F(Controls, TheToolsActionAndICadeTablesAreTheOnesTheGameReads) {
    iCadeControls = 0;
    ws.joysticks[0].present = true;
    for (const c_ActionInputs& row : vo_game_ActionTable()) {
        SCOPED_TRACE(testing::Message() << "action " << row.m_action);
        for (int i = 0; i < row.m_keys.m_count; ++i) {
            const int code = row.m_keys.m_code[i];
            EXPECT_GE(vo_replay_KeyboardKey(code), 0) << "no window key sends " << code;
            Down(code);
            EXPECT_NE(app->p_PlayKey(row.m_action, 0, 1), 0) << "key " << code;
            EXPECT_EQ(app->p_PlayKey(row.m_action, 0, -1), row.m_padsOnly ? 0 : 1) << "key " << code;
            Up(code);
        }
        for (int i = 0; i < row.m_buttons.m_count; ++i) {
            const int code = KEY_JOY0 + KEY_JOY_BUTTONS + row.m_buttons.m_code[i];
            Down(code);
            EXPECT_NE(app->p_PlayKey(row.m_action, 0, 1), 0) << "pad 1 button " << row.m_buttons.m_code[i];
            Up(code);
        }
        const c_StickDirection stick = row.m_stick;
        ws.joysticks[0].axes = {0.5f * static_cast<float>(stick.m_x), 0.5f * static_cast<float>(stick.m_y)};
        Update();
        EXPECT_EQ(app->p_PlayKey(row.m_action, 1, 0) != 0, stick.m_x != 0 || stick.m_y != 0) << "the stick";
        ws.joysticks[0].axes = {0, 0};
        Update();
        for (int i = 0; i < row.m_icade.m_count; ++i) {
            app->m_pad[row.m_icade.m_code[i]] = vpad::kHeld;
            EXPECT_NE(app->p_PlayKey(row.m_action, 0, 0), 0) << "iCade entry " << row.m_icade.m_code[i];
            app->m_pad[row.m_icade.m_code[i]] = 0;
        }
    }
    for (const c_ICadeLetters& letters : vo_game_ICadeTable()) {
        SCOPED_TRACE(letters.m_press);
        host.KeyEvent(c_VoGameEvent::KeyChar, letters.m_press);
        app->p_ReadICade();
        EXPECT_EQ(app->m_pad[letters.m_entry], vpad::kHeld);
        host.KeyEvent(c_VoGameEvent::KeyChar, letters.m_release + ('a' - 'A'));
        app->p_ReadICade();
        EXPECT_EQ(app->m_pad[letters.m_entry], 0);
    }
}

TEST_F(Controls, SticksReadPerPadWithTheLeftYTurnedDown) {
    ws.joysticks[0].present = ws.joysticks[1].present = true;
    ws.joysticks[1].axes = {0.25f, -0.5f, 0.75f, 0.125f, 0.375f};
    Update();
    ASSERT_TRUE(vo_input_JoyY(0, 1) != 0 && vo_input_JoyY(1, 1) != 0);
    EXPECT_FLOAT_EQ(app->p_StickX(0, 1), 0.25f);
    EXPECT_FLOAT_EQ(app->p_StickY(0, 1), -vo_input_JoyY(0, 1));
    EXPECT_FLOAT_EQ(app->p_StickX(1, 1), vo_input_JoyX(1, 1));
    EXPECT_FLOAT_EQ(app->p_StickY(1, 1), vo_input_JoyY(1, 1));
    EXPECT_EQ(app->p_StickX(0, -1), 0);
    EXPECT_EQ(app->p_StickY(0, -1), 0);
}

TEST_F(Controls, AnalogueDirectionRampsFromKeysAndFollowsTheStick) {
    const float held[] = {-0.15f, -0.3f, -0.45f};
    Down('A');
    for (float want : held) {
        app->p_AnalogueControl();
        EXPECT_NEAR(app->m_stickOutX, want, 1e-6);
    }
    Up('A');
    for (float want : {-0.25f, -0.05f, 0.0f}) {
        app->p_AnalogueControl();
        EXPECT_NEAR(app->m_stickOutX, want, 1e-6);
        EXPECT_NEAR(app->m_keyRampX, want, 1e-6);
    }
    // Held long enough, the ramp stops at the edge.
    Down(40);
    for (int i = 0; i < 10; ++i) app->p_AnalogueControl();
    EXPECT_EQ(app->m_stickOutY, 1);
    EXPECT_EQ(app->m_keyRampY, 1);
    Up(40);

    // The stick past its dead zone, y turned down; the ramp left over still wins while it moves.
    ws.joysticks[0].present = true;
    ws.joysticks[0].axes = {0.3f, 0.1f};
    Update();
    app->p_AnalogueControl();
    EXPECT_FLOAT_EQ(app->m_stickOutX, 0.3f);
    EXPECT_NEAR(app->m_stickOutY, 0.8f, 1e-6);
    for (int i = 0; i < 8; ++i) app->p_AnalogueControl();
    EXPECT_EQ(app->m_keyRampY, 0);
    EXPECT_FLOAT_EQ(app->m_stickOutY, -0.1f);
    ws.joysticks[0].axes = {0.2f, -0.2f};
    Update();
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_stickOutX, 0);
    EXPECT_EQ(app->m_stickOutY, 0);
}

TEST_F(Controls, AnalogueMarkerOnlyInDebugModeAndTheDrawingStateReset) {
    Down(39);
    for (int debug : {0, 1}) {
        DebugMode = debug;
        app->p_CLS2D();
        app->p_SetSize(3);
        app->p_SetCol(10, 20, 30, 0.25f);
        app->p_AnalogueControl();
        EXPECT_EQ(app->m_drawCount, debug ? 30 : 0);
        EXPECT_EQ((std::vector<float>{app->m_drawSizeX, app->m_drawR, app->m_drawAlpha}),
                  (std::vector<float>{1, 255, 1}));
    }
    // A ring of 12 at 64 in from the corner, a dot of 8 in the direction, both light blue.
    const float* r = app->m_drawQueue.Data();
    EXPECT_EQ((std::vector<float>{r[0], r[1], r[2], r[4], r[11], r[7]}),
              (std::vector<float>{-3716, jscrw - 64, jscrh - 64, 12, 180, 0.5f}));
    EXPECT_EQ((std::vector<float>{r[15], r[16], r[19]}),
              (std::vector<float>{-3716, jscrw - 64 + 52 * app->m_stickOutX, 8}));
}

TEST_F(Controls, PointerAreas) {
    struct Case {
        const char* test;
        float x, y;
        int want;
    };
    auto areas = [&](const char* test) -> int {
        std::string t = test;
        if (t == "in") return app->p_MouseIn(100, 100, 50, 20);
        if (t == "centred") return app->p_MouseIn_Centered(200, 200, 20, 10);
        if (t == "radius") return app->p_MouseIn_Radius(200, 200, 6, 8);
        return app->p_Touch(100, 100, 50, 20);
    };
    const Case cases[] = {
        {"in", 100, 110, 0},      {"in", 101, 110, 1},      {"in", 149, 119, 1},      {"in", 150, 110, 0},
        {"in", 120, 120, 0},      {"centred", 190, 200, 0}, {"centred", 191, 204, 1}, {"centred", 209, 196, 1},
        {"centred", 200, 205, 0}, {"radius", 203, 204, 1},  {"radius", 197, 196, 1},  {"radius", 204, 204, 0},
        {"radius", 200, 206, 0},  {"touch", 161, 110, 1},   {"touch", 94, 110, 0},    {"touch", 95, 131, 1},
        {"touch", 162, 110, 0},   {"touch", 120, 132, 0},   {"touch", 120, 94, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.test << " at " << c.x << "," << c.y);
        TouchAt(4, c.x, c.y);
        EXPECT_EQ(areas(c.test), c.want);
        Lift(4);
        EXPECT_EQ(areas(c.test), 0) << "a lifted touch";
    }
    // p_Touch shows its rectangle in the current colour.
    app->p_CLS2D();
    app->p_SetCol(1, 2, 3);
    app->p_Touch(100, 100, 50, 20);
    const float* r = app->m_drawQueue.Data();
    EXPECT_EQ((std::vector<float>{r[0], r[1], r[2], r[4], r[5], r[10], r[11], r[12]}),
              (std::vector<float>{-3717, 100, 100, 50, 20, 1, 2, 3}));
}

TEST_F(Controls, ButtonsUseTheImageSizeOnScreenAtEveryDetailLevel) {
    // The icon sheet's 32-pixel frames at draw scale (2, 0.5): a box 64 by 16 around (300, 200).
    struct Case {
        float x, y;
        int want;
    };
    const Case cases[] = {{331, 200, 1}, {332, 200, 0}, {269, 207, 1}, {300, 208, 0}, {300, 192, 0}};
    for (int size : {1, 2}) {
        Resize(640 * size, 480 * size);
        Render();
        FinishLoading();
        SCOPED_TRACE(testing::Message() << "detail " << app->m_hdLevel);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
            app->p_CLS2D();
            app->p_SetSize(2, 0.5f);
            TouchAt(7, c.x * size, c.y * size);
            EXPECT_EQ(app->p_PauseButton(300, 200, 3), c.want);
            EXPECT_EQ(Images().back(), (std::array<float, 4>{97, 300, 200, 3}));
            EXPECT_EQ(app->m_buttonHit, c.want);
            EXPECT_EQ(app->p_Button0(97, 300, 200, 3), 0) << "only touch point 0 counts";
            Lift(7);
            EXPECT_EQ(app->p_Button(97, 300, 200, 3), 0) << "cleared on every call";
            TouchAt(0, c.x * size, c.y * size);
            EXPECT_EQ(app->p_Button0(97, 300, 200, 3), c.want);
            Lift(0);
        }
    }
}

TEST_F(Controls, Button0QueuesTheRecordPDrawImgWould) {
    app->p_CLS2D();
    app->p_SetSize(1.5f, 2);
    app->p_SetRot(30);
    app->p_SetCol(40, 50, 60, 0.75f);
    app->m_drawBlend = 3;
    app->p_DrawImg(95, 12, 34, 5);
    app->p_Button0(95, 12, 34, 5);
    ASSERT_EQ(app->m_drawCount, 30);
    const float* r = app->m_drawQueue.Data();
    for (int slot : {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13}) EXPECT_EQ(r[15 + slot], r[slot]) << slot;
    // A full queue takes no more records, and the button still answers.
    app->m_drawCount = 2499 * 15;
    TouchAt(0, 12, 34);
    EXPECT_EQ(app->p_Button0(95, 12, 34, 5), 1);
    EXPECT_EQ(app->m_drawCount, 37485);
}

TEST_F(Controls, ICadeSwitch) {
    for (int c : {'q', 'w', 'e'}) host.KeyEvent(c_VoGameEvent::KeyChar, c);
    app->m_pad[vpad::kBackHits] = 1;
    app->p_iCade(1);
    EXPECT_EQ(iCadeControls, 1);
    EXPECT_TRUE(host.KeyboardEnabled());
    EXPECT_EQ(app->m_lastChar, 'e') << "the last character drained";
    EXPECT_EQ(vo_input_GetChar(), 0);
    app->p_iCade(1);
    EXPECT_EQ(app->m_lastChar, 0) << "nothing left to drain";

    app->m_pad[4] = 2;
    app->p_iCade(7);
    EXPECT_EQ(iCadeControls, 1);
    EXPECT_EQ(app->m_pad[4], 2);
    app->p_iCade(0);
    EXPECT_EQ(iCadeControls, 0);
    EXPECT_FALSE(host.KeyboardEnabled());
    EXPECT_EQ(app->m_pad[4], 0);
    EXPECT_EQ(app->m_pad[vpad::kBackHits], 1) << "the back-key hits are not a button";
}

TEST_F(Controls, LatchGivesBackOnTheTitleToTheCreditsPanel) {
    app->m_mode = 1;
    // A key taken by a panel stays taken while held: back closes nothing.
    app->m_creditsOpen = 1;
    app->m_keyUsed = 1;
    Down(kEsc);
    Update();
    EXPECT_EQ(app->m_creditsOpen, 1);
    EXPECT_EQ(app->m_keyUsed, 1);
    Up(kEsc);
    Update();
    EXPECT_EQ(app->m_keyUsed, 0);

    // A fresh back press, here from pad 2, closes the credits and claims key and pointer.
    Down(256 + 32 * 2 + 6);
    Update();
    EXPECT_EQ(app->m_creditsOpen, 0);
    EXPECT_EQ(app->m_keyUsed, 1);
    EXPECT_EQ(app->m_pointerUsed, 1);
    Up(256 + 32 * 2 + 6);

    // With the options box open, back closes only the credits; the box keeps keys and pointer.
    Update();
    app->m_optionsOpen = app->m_creditsOpen = 1;
    Down(kBackquote);
    Update();
    EXPECT_EQ(app->m_creditsOpen, 0);
    EXPECT_EQ(app->m_optionsOpen, 1);
    Up(kBackquote);
    Update();
    EXPECT_EQ(app->m_keyUsed, 1);
    EXPECT_EQ(app->m_pointerUsed, 1);
    app->m_optionsOpen = 0;
}

TEST_F(Controls, LatchLeavesBackAloneWhileThePointerIsTakenOrOffTheTitle) {
    app->m_creditsOpen = 1;
    Down(kEsc);
    TouchAt(0, 10, 10);
    app->m_mode = 1;
    app->m_pointerUsed = 1;
    app->p_LatchKeys();
    EXPECT_EQ(app->m_creditsOpen, 1);
    EXPECT_EQ(app->m_keyUsed, 0);
    Lift(0);
    app->m_mode = 10;
    app->p_LatchKeys();
    EXPECT_EQ(app->m_creditsOpen, 1);
    // A held key other than back leaves the latch clear too.
    Up(kEsc);
    Down('Z');
    app->m_mode = 1;
    app->p_LatchKeys();
    EXPECT_EQ(app->m_creditsOpen, 1);
    EXPECT_EQ(app->m_keyUsed, 0);
}

// The icons follow the device pressed last: the one that confirmed the level, then whichever
// the player picks up in it. A device held on does not take the icons back from a newer press.
TEST(InputMode, FollowsTheDevicePressedLast) {
    struct Step {
        const char* script;
        int mode;
    };
    const Step byKeys[] = {
        {"title 1\nwait 1", inputmode::kKeys},
        {"pad down 0 4\nwait 1\npad up 0 4\nwait 1", inputmode::kPad},
        {"key down 75\nwait 1", inputmode::kKeys},
        {"pointer down 200 300\nwait 1", inputmode::kPointer},
        {"pointer up\nwait 1", inputmode::kPointer},
        {"pad stick 1 1 0.9 0\nwait 1", inputmode::kPad},
        {"key up 75\nwait 1\nkey tap 79\nwait 1", inputmode::kKeys},
    };
    c_ReplayRunner runner;
    for (const Step& step : byKeys) {
        SCOPED_TRACE(step.script);
        c_ReplayScript script;
        c_ReplayError error;
        ASSERT_TRUE(vo_replay_ParseScript(step.script, script, error)) << error.p_Text();
        ASSERT_TRUE(runner.p_Run(script, error)) << error.p_Text();
        EXPECT_EQ(runner.p_App().m_mode, screen::kInLevel);
        EXPECT_EQ(runner.p_App().m_inputMode, step.mode);
    }

    // A level confirmed by a pad's fire button starts with the pad's icons.
    c_ReplayRunner byPad;
    c_ReplayScript script;
    c_ReplayError error;
    ASSERT_TRUE(vo_replay_ParseScript("until loaded\nwait 60\npad down 0 0\nuntil mode 10 5", script, error));
    ASSERT_TRUE(byPad.p_Run(script, error)) << error.p_Text();
    EXPECT_EQ(byPad.p_App().m_inputMode, inputmode::kPad);
}

}  // namespace
}  // namespace game_test
