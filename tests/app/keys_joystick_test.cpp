// Key translation, the characters of non-printing keys, and the two joystick layouts.
#include <gtest/gtest.h>

#include "framework/app/input.h"
#include "support/fake_window_system.h"
#include "support/recording_app.h"

namespace {

TEST(KeyTranslation, MapsWindowKeysByMeaningOntoVirtualKeyCodes) {
    using namespace vo_key;
    struct Case {
        int key, code;
    } cases[] = {
        {Num0, 48},       {Num9, 57},       {A, 65},          {Z, 90},           {Space, 32},      {Apostrophe, 222},
        {Comma, 188},     {Minus, 189},     {Period, 190},    {Slash, 191},      {Semicolon, 186}, {Equal, 187},
        {LeftBracket, 219}, {Backslash, 220}, {RightBracket, 221}, {GraveAccent, 192}, {Escape, 27},  {F1, 112},
        {F12, 123},       {Up, 38},         {Down, 40},       {Left, 37},        {Right, 39},      {LeftShift, 16},
        {RightShift, 16}, {LeftControl, 17}, {RightControl, 17}, {Tab, 9},       {Enter, 13},      {Backspace, 8},
        {Insert, 45},     {Delete, 46},     {PageUp, 33},     {PageDown, 34},    {Home, 36},       {End, 35},
        {Kp0, 96},        {Kp9, 105},       {KpDivide, 111},  {KpMultiply, 106}, {KpSubtract, 109}, {KpAdd, 107},
        {KpDecimal, 110},
        // Dropped keys.
        {F13, 0}, {F25, 0}, {LeftAlt, 0}, {RightAlt, 0}, {KpEqual, 0}, {KpEnter, 0}, {NumLock, 0}, {CapsLock, 0},
        {ScrollLock, 0}, {Pause, 0}, {LeftSuper, 0}, {RightSuper, 0}, {Menu, 0}, {161, 0}, {-1, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(TransKey(c.key), c.code) << "key " << c.key;
}

TEST(KeyTranslation, NonPrintingKeysTypeTheirOwnCharacters) {
    struct Case {
        int code, chr;
    } cases[] = {{8, 8},         {9, 9},         {13, 13},       {27, 27},       {46, 127},      {33, 65569},
                 {34, 65570},    {35, 65571},    {36, 65572},    {37, 65573},    {38, 65574},    {39, 65575},
                 {40, 65576},    {45, 65581},    {32, 0},        {65, 0},        {16, 0},        {112, 0}};
    for (const auto& c : cases) EXPECT_EQ(KeyToChar(c.code), c.chr) << "code " << c.code;
}

struct JoystickFixture : testing::Test {
    JoystickFixture() : host(&ws) {}
    FakeWindowSystem ws;
    VoGlfwGame host;
    Array<float> x{2}, y{2}, z{2};
    Array<bool> buttons{32};

    bool Poll(int port) { return host.PollJoystick(port, x, y, z, buttons); }
    std::vector<int> Pressed() {
        std::vector<int> out;
        for (int i = 0; i < 32; ++i)
            if (buttons[i]) out.push_back(i);
        return out;
    }
};

TEST_F(JoystickFixture, LayoutAForFourteenButtonsAndFiveAxes) {
    auto& pad = ws.joysticks[2];
    pad.present = true;
    pad.axes = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f};
    pad.buttons = {1, 0, 0, 0, 0, 0, 0, 1, 1, 0};  // ten buttons and one hat make fourteen
    pad.hats = {VO_HAT_RIGHT};
    ASSERT_TRUE(Poll(0));
    EXPECT_EQ(x[0], 0.1f);
    EXPECT_EQ(y[0], 0.2f);
    EXPECT_EQ(z[0], 0.3f);
    EXPECT_EQ(x[1], 0.5f);
    EXPECT_EQ(y[1], -0.4f);
    EXPECT_EQ(z[1], -0.3f);
    // Raw 0 and 7 as themselves, the hat's right (third of left, up, right, down) as 10, raw 8 as 12.
    EXPECT_EQ(Pressed(), (std::vector<int>{0, 7, 10, 12}));
}

TEST_F(JoystickFixture, LayoutBForAnyOtherPad) {
    auto& pad = ws.joysticks[0];
    pad.present = true;
    pad.axes = {0.1f, 0.2f, 0.3f, 0.4f};
    pad.buttons = {1, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1};  // twelve buttons, no hat
    ASSERT_TRUE(Poll(0));
    EXPECT_EQ(x[0], 0.1f);
    EXPECT_EQ(y[0], 0.2f);
    EXPECT_EQ(z[0], 1.0f);  // button 6
    EXPECT_EQ(x[1], 0.3f);
    EXPECT_EQ(y[1], -0.4f);
    EXPECT_EQ(z[1], 0.0f);  // button 7
    // Output 0 reads raw 1, output 2 raw 0, output 6 raw 8, outputs 8-11 the last four
    // (raw 8 to 11), output 13 raw 11.
    EXPECT_EQ(Pressed(), (std::vector<int>{0, 2, 6, 8, 11, 13}));
}

TEST_F(JoystickFixture, RelativeButtonsBeforeTheFirstReadAsReleased) {
    auto& pad = ws.joysticks[0];
    pad.present = true;
    pad.buttons = {1, 1};
    buttons[20] = true;
    ASSERT_TRUE(Poll(0));
    // Outputs 8 and 9 would read raw -2 and -1: out of range. 10 and 11 read raw 0 and 1.
    EXPECT_EQ(Pressed(), (std::vector<int>{0, 2, 10, 11}));
}

TEST_F(JoystickFixture, HatsBecomeLeftUpRightDownAndDiagonalsPressNone) {
    unsigned char out[32] = {};
    const unsigned char hats[] = {VO_HAT_LEFT, VO_HAT_UP | VO_HAT_RIGHT, VO_HAT_DOWN};
    ASSERT_EQ(vo_joystick_AppendHats(out, 1, hats, 3), 13);
    const unsigned char expected[13] = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    for (int i = 0; i < 13; ++i) EXPECT_EQ(out[i], expected[i]) << i;
    EXPECT_EQ(vo_joystick_AppendHats(out, 30, hats, 1), 32);
}

TEST_F(JoystickFixture, PortsAreRescannedOnPortZeroOnly) {
    ws.joysticks[3].present = true;
    ws.joysticks[9].present = true;
    EXPECT_TRUE(Poll(0));
    EXPECT_TRUE(Poll(1));
    EXPECT_FALSE(Poll(2));
    x[0] = 0.75f;
    ws.joysticks[9].present = false;
    EXPECT_TRUE(Poll(1));  // the table keeps number 9 until the next rescan
    EXPECT_TRUE(Poll(0));
    EXPECT_FALSE(Poll(1));
    ws.joysticks[3].present = false;
    x[0] = 0.75f;
    EXPECT_FALSE(Poll(0));
    EXPECT_EQ(x[0], 0.75f);  // untouched
}

}  // namespace
