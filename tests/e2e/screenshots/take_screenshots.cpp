// The README's screenshots of the real executable, taken the way the end-to-end tests play it:
// the title, level 1 in play with its HUD and its hints for the keyboard, the pause panel over it,
// the end banner once the level is solved, and level 1 again started by mouse with the hints for
// the pointer. scripts/screenshots.sh builds and runs this with FLOEWARD_SCREENSHOTS set to
// the folder the PNG files go to.

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "e2e/level_one.h"
#include "e2e/real_window.h"
#include "e2e/reference.h"
#include "game/image_sheets.h"
#include "game/menu_layout.h"
#include "support/process.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The HUD is shot once the penguin has walked in a little way and the snow has spread.
constexpr auto kIntoTheLevel = 2s;

// The banner retracts over the title and the wheel settles on the next level.
constexpr auto kBackToTitle = 4s;
constexpr auto kWheelSettles = 1s;
// Where the disc of the level before the selected one lies from the top of the wheel.
constexpr float kPreviousDiscLeft = 67, kPreviousDiscDown = 9;

// A press and release of the left mouse button at a point of the window.
void Click(unsigned long window, float x, float y) {
    RunTool({"xdotool", "mousemove", "--window", std::to_string(window), "--sync", std::to_string(static_cast<int>(x)),
             std::to_string(static_cast<int>(y))});
    RunTool({"xdotool", "mousedown", "1"});
    std::this_thread::sleep_for(100ms);
    RunTool({"xdotool", "mouseup", "1"});
    std::this_thread::sleep_for(100ms);
}

// The key cap in level 1's hint blinks to its pressed look two tenths of every half second; the
// picture is taken while it shows its letter, a light cap rather than the pressed orange.
constexpr int kHintCapX = 400, kHintCapY = 70;
Picture KeyCapShown(unsigned long window) {
    Picture picture;
    for (int tries = 0; tries < 20; ++tries) {
        picture = GrabWindow(window);
        if (!picture.Empty()) {
            const unsigned char* cap = picture.At(kHintCapX, kHintCapY);
            if (cap[2] > cap[0] - 40) return picture;
        }
        std::this_thread::sleep_for(37ms);
    }
    return picture;
}

using Screenshots = RealGameTest;

TEST_F(Screenshots, TitleLevelPausePanelAndEndBanner) {
    const char* out = std::getenv("FLOEWARD_SCREENSHOTS");
    ASSERT_NE(out, nullptr) << "set FLOEWARD_SCREENSHOTS to the folder for the pictures";
    fs::create_directories(out);

    // What each screen looks like, from the headless game played the same way; it jumps late in
    // the span the player aims at, so that its record of the walk covers all of it.
    const LevelOneRun aim = PlayLevelOne(kJumpUpdate + kSlack);
    ASSERT_TRUE(aim.completed);
    c_ReplayRunner runner;
    ASSERT_TRUE(RunScript(runner, kSettledTitleScript + HoldScript(kEnterKey) + "until mode 10 10\nwait " +
                                      std::to_string(kLevelShown) + "\n" + HoldScript(kEscapeKey) + "wait 30\n"));
    const Scene paused = CaptureScene(runner.p_App());

    ASSERT_NO_FATAL_FAILURE(Launch());
    std::string why;
    ASSERT_TRUE(WaitForPicture([&](const Picture& p) { return ShowsTitle(p, aim.title, &why); }, 30s, "title")) << why;
    ASSERT_TRUE(SavePng(shot, fs::path(out) / "title.png"));

    PressKey(kEnterKey.name);
    ASSERT_TRUE(WaitForPicture([&](const Picture& p) { return ShowsLevel(p, aim.level, &why); }, 10s, "level")) << why;
    const Picture before = shot;
    std::this_thread::sleep_for(kIntoTheLevel);
    ASSERT_TRUE(SavePng(KeyCapShown(window), fs::path(out) / "level.png"));

    // Paused over the level, then back to it by the same key.
    PressKey(kEscapeKey.name);
    const std::vector<Drawn> panel = Opaque(paused, {image::kMenu});
    ASSERT_TRUE(WaitForPicture(
        [&](const Picture& p) {
            return ShowsImages(p, panel, paused.detail) && ShowsText(p, paused, {"PAUSED"}, &why);
        },
        10s, "pause"))
        << why;
    ASSERT_TRUE(SavePng(shot, fs::path(out) / "pause.png"));
    PressKey(kEscapeKey.name);

    const LevelOneSolved solved = SolveLevelOne(window, aim, before);
    ASSERT_TRUE(solved.solved) << solved.story;
    ASSERT_TRUE(SavePng(solved.banner, fs::path(out) / "banner.png"));

    // Back on the title the wheel has moved on to level 2: a tap on level 1's disc, left of the top
    // one, selects it and a tap on the top one starts it, by mouse alone.
    std::this_thread::sleep_for(kBackToTitle);
    const float topX = 640 - menu_layout::kStripWidth - menu_layout::kWheelFromStrip;
    const float topY = 480 / 2 + menu_layout::kWheelBelowMiddle;
    Click(window, topX - kPreviousDiscLeft, topY + kPreviousDiscDown);
    std::this_thread::sleep_for(kWheelSettles);
    Click(window, topX, topY);
    ASSERT_TRUE(WaitForPicture([&](const Picture& p) { return ShowsLevel(p, aim.level, &why); }, 10s, "level by mouse"))
        << why;
    std::this_thread::sleep_for(kIntoTheLevel);
    ASSERT_TRUE(SavePng(GrabWindow(window), fs::path(out) / "level-mouse.png"));
    EXPECT_EQ(Close(), 0) << game->Log();
}

}  // namespace
