// The input device as the game sees it through the vo_input_ functions across updates.
#include <gtest/gtest.h>

#include "framework/app/input.h"
#include "support/fake_window_system.h"
#include "support/recording_app.h"

namespace {

struct InputFixture : testing::Test {
    InputFixture() : f(&ws) {
        f.host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
        f.host.StartGame();
    }
    void Key(int event, int code) { f.host.KeyEvent(event, code); }
    // One update as the delegate runs it; the body sees the input state.
    void Update(const std::function<void()>& body) {
        f.app->onUpdate = body;
        f.host.UpdateGame();
    }
    FakeWindowSystem ws;
    HostFixture f;
};

TEST_F(InputFixture, HeldKeyHitsOnceAndRepeatedPressesCount) {
    Key(c_VoGameEvent::KeyDown, 74);
    Key(c_VoGameEvent::KeyDown, 74);  // auto-repeat
    Update([] {
        EXPECT_EQ(vo_input_KeyDown(74), 1);
        EXPECT_EQ(vo_input_KeyHit(74), 1);
    });
    Key(c_VoGameEvent::KeyDown, 74);
    Update([] {
        EXPECT_EQ(vo_input_KeyDown(74), 1);
        EXPECT_EQ(vo_input_KeyHit(74), 0);
    });
    Key(c_VoGameEvent::KeyUp, 74);
    Key(c_VoGameEvent::KeyDown, 74);
    Key(c_VoGameEvent::KeyUp, 74);
    Key(c_VoGameEvent::KeyDown, 74);
    Update([] { EXPECT_EQ(vo_input_KeyHit(74), 2); });
}

TEST_F(InputFixture, HitsBeyondTheQueueAreDroppedWhole) {
    for (int i = 0; i < 34; ++i) {
        Key(c_VoGameEvent::KeyDown, 65 + i % 26);
        Key(c_VoGameEvent::KeyUp, 65 + i % 26);
    }
    Update([] {
        EXPECT_EQ(vo_input_KeyHit(65), 2);  // presses 1 and 27
        EXPECT_EQ(vo_input_KeyHit(71), 2);  // presses 7 and 33
        EXPECT_EQ(vo_input_KeyHit(72), 1);  // press 8 counted, press 34 dropped
    });
    Update([] { EXPECT_EQ(vo_input_KeyHit(65), 0); });
}

TEST_F(InputFixture, LeftButtonAndFirstTouchAreOne) {
    f.host.MouseEvent(c_VoGameEvent::MouseMove, -1, 10, 20);
    f.host.MouseEvent(c_VoGameEvent::MouseDown, 0, 30, 40);
    Update([] {
        EXPECT_EQ(vo_input_KeyDown(384), 1);
        EXPECT_EQ(vo_input_TouchDown(0), 1);
        EXPECT_EQ(vo_input_MouseHit(0), 1);
        EXPECT_EQ(vo_input_KeyHit(384), 1);
        EXPECT_EQ(vo_input_TouchX(0), 30.0f);
        EXPECT_EQ(vo_input_TouchY(0), 40.0f);
    });
    f.host.MouseEvent(c_VoGameEvent::MouseUp, 0, 99, 99);
    Update([] {
        EXPECT_EQ(vo_input_MouseDown(0), 0);
        EXPECT_EQ(vo_input_TouchDown(0), 0);
        EXPECT_EQ(vo_input_MouseX(), 30.0f);  // a release does not move the pointer
        EXPECT_EQ(vo_input_MouseY(), 40.0f);
    });
    f.host.TouchEvent(c_VoGameEvent::TouchDown, 0, 5, 6);
    f.host.TouchEvent(c_VoGameEvent::TouchDown, 3, 7, 8);
    Update([] {
        EXPECT_EQ(vo_input_MouseDown(0), 1);
        EXPECT_EQ(vo_input_MouseX(), 5.0f);
        EXPECT_EQ(vo_input_TouchDown(3), 1);
        EXPECT_EQ(vo_input_TouchX(3), 7.0f);
        EXPECT_EQ(vo_input_MouseY(), 6.0f);  // only finger 0 moves the pointer
    });
}

TEST_F(InputFixture, OutOfRangeQueriesReadZero) {
    Key(c_VoGameEvent::KeyDown, 1);
    Update([] {
        EXPECT_EQ(vo_input_KeyDown(0), 0);
        EXPECT_EQ(vo_input_KeyDown(512), 0);
        EXPECT_EQ(vo_input_KeyHit(-5), 0);
        EXPECT_EQ(vo_input_MouseDown(-1), 0);
        EXPECT_EQ(vo_input_MouseDown(511), 0);
        EXPECT_EQ(vo_input_TouchDown(-383), 1);  // code 1, the tied mouse button
        EXPECT_EQ(vo_input_TouchDown(-384), 0);
        EXPECT_EQ(vo_input_TouchDown(128), 0);
        EXPECT_EQ(vo_input_TouchX(32), 0.0f);
        EXPECT_EQ(vo_input_JoyDown(0, 8), 0);
    });
}

TEST_F(InputFixture, JoystickButtonsArePolledIntoKeyCodes) {
    ws.joysticks[0].present = true;
    ws.joysticks[1].present = true;
    ws.joysticks[1].axes = {0.5f, -0.25f};
    ws.joysticks[1].buttons = {0, 0, 0, 0};  // layout B: output 3 reads raw 3
    ws.joysticks[1].buttons[3] = 1;
    Update([] {
        EXPECT_EQ(vo_input_JoyHit(3, 1), 1);
        EXPECT_EQ(vo_input_KeyDown(291), 1);
        EXPECT_EQ(vo_input_JoyX(0, 1), 0.5f);
        EXPECT_EQ(vo_input_JoyY(0, 1), -0.25f);
    });
    Update([] {
        EXPECT_EQ(vo_input_JoyHit(3, 1), 0);
        EXPECT_EQ(vo_input_JoyDown(3, 1), 1);
    });
    // With nothing on unit 0 no unit is polled, so unit 1 keeps its last state.
    ws.joysticks[0].present = false;
    ws.joysticks[1].present = false;
    Update([] { EXPECT_EQ(vo_input_JoyDown(3, 1), 1); });
    ws.joysticks[0].present = true;
    ws.joysticks[1].buttons[3] = 0;
    ws.joysticks[1].present = true;
    Update([] { EXPECT_EQ(vo_input_JoyDown(3, 1), 0); });
}

TEST_F(InputFixture, CharactersComeInTypingOrderOncePerUpdate) {
    ws.handler->OnKey(vo_key::Left, VO_PRESS);  // a non-printing key types its own character
    ws.handler->OnChar('h');
    ws.handler->OnChar(0x00E9);
    for (int i = 0; i < 40; ++i) ws.handler->OnChar('x');
    Update([] {
        EXPECT_EQ(vo_input_GetChar(), 65573);
        EXPECT_EQ(vo_input_GetChar(), 'h');
        EXPECT_EQ(vo_input_GetChar(), 0xE9);
        int rest = 0;
        while (vo_input_GetChar() == 'x') ++rest;
        EXPECT_EQ(rest, 29);  // the queue holds 32
        EXPECT_EQ(vo_input_GetChar(), 0);
    });
    Update([] { EXPECT_EQ(vo_input_GetChar(), 0); });
}

TEST_F(InputFixture, WindowCallbacksBecomeHostEvents) {
    ws.cursorX = 3;
    ws.cursorY = 4;
    ws.handler->OnMouseButton(1, VO_PRESS);
    ws.handler->OnMouseButton(7, VO_PRESS);  // only three buttons exist
    ws.handler->OnKey(vo_key::LeftAlt, VO_PRESS);
    ws.handler->OnKey(vo_key::RightControl, VO_PRESS);
    ws.handler->OnKey(vo_key::RightControl, VO_REPEAT);
    ws.handler->OnMousePos(50.5, 60.25);
    Update([] {
        EXPECT_EQ(vo_input_MouseHit(1), 1);
        EXPECT_EQ(vo_input_KeyDown(8), 0);
        EXPECT_EQ(vo_input_KeyHit(17), 1);
        EXPECT_EQ(vo_input_MouseX(), 50.5f);
        EXPECT_EQ(vo_input_MouseY(), 60.25f);
        EXPECT_EQ(vo_input_GetChar(), 0);
    });
    ws.handler->OnKey(vo_key::RightControl, VO_RELEASE);
    Update([] { EXPECT_EQ(vo_input_KeyDown(17), 0); });
}

}  // namespace
