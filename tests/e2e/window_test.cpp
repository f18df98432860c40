// The real executable in a real window under X, with OpenAL Soft recording to a file: the
// window it opens, the loading screen and its jingle, the title, full screen and back, the
// progress saved on focus loss, and the close path of the window manager's protocol.
#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "e2e/mix.h"
#include "e2e/real_window.h"
#include "e2e/reference.h"
#include "game/image_sheets.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The window the game has open now (its id changes when the window is opened again), once it
// has the size asked for.
unsigned long WaitForGameWindow(int width, int height, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        unsigned long window = WaitForWindow("Floeward", 1s);
        if (window != 0) {
            Geometry g = WindowGeometry(window);
            if (g.width == width && g.height == height) return window;
        }
        std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return 0;
}

// What a first run saves: default options with their checksum, no badges, no scores.
std::string FreshStartState() {
    std::string s = "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|";
    for (int i = 0; i < 10; ++i) s += "0|";
    s += "1483|";
    for (int i = 0; i < 9 + 20 * 21; ++i) s += "0|";
    return s;
}

// The loading screen is looked for every kMoment of the game's time, for at most kMoments of them.
constexpr auto kMoment = 5ms;
constexpr int kMoments = 2000;

using Game = RealGameTest;

TEST_F(Game, OpensCentredSavesOnFocusLossAndClosesWithStatusZero) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    std::istringstream screen(RunTool({"xdotool", "getdisplaygeometry"}));
    int screenWidth = 0, screenHeight = 0;
    screen >> screenWidth >> screenHeight;
    // The window is moved to the centre just after it opens.
    Geometry g = WindowGeometry(window);
    for (int i = 0; i < 100 && g.x != (screenWidth - 640) / 2; ++i) {
        std::this_thread::sleep_for(20ms);
        g = WindowGeometry(window);
    }
    EXPECT_EQ(g.width, 640);
    EXPECT_EQ(g.height, 480);
    EXPECT_EQ(g.x, (screenWidth - 640) / 2);
    EXPECT_EQ(g.y, (screenHeight - 480) / 2);

    // Suspension saves the progress: with the game in focus and nothing saved yet, another
    // client takes the focus.
    std::this_thread::sleep_for(200ms);
    fs::remove(dir / ".zembrastate");
    auto other = FocusAnotherWindow(dir.string());
    ASSERT_NE(other, nullptr);
    for (int i = 0; i < 100 && !fs::exists(dir / ".zembrastate"); ++i) std::this_thread::sleep_for(50ms);
    EXPECT_EQ(ReadFile(dir / ".zembrastate"), FreshStartState());
    Focus(window);

    EXPECT_EQ(Close(), 0) << game->Log();
}

TEST_F(Game, ShowsTheLoadingScreenWithItsJingleThenReachesTheTitle) {
    // What the headless game draws while it loads, and on its settled title.
    c_ReplayRunner runner;
    ASSERT_TRUE(RunScript(runner, "wait 1\n"));
    const Scene loading = CaptureScene(runner.p_App());
    ASSERT_TRUE(RunScript(runner, kSettledTitleScript));
    const Scene title = CaptureScene(runner.p_App());
    const std::vector<Drawn> mark = Opaque(loading, {image::kStudioMark});
    ASSERT_EQ(mark.size(), 1u);

    // The loader takes a step an update, so its screen is up for a fraction of a second: the
    // game is stopped as soon as its window exists and let go on a moment at a time, its window
    // read between the moments, until the screen is there.
    ASSERT_NO_FATAL_FAILURE(LaunchStopped());
    std::string why;
    bool loadingShown = false;
    for (int moment = 0; moment < kMoments && !loadingShown; ++moment) {
        RunFor(kMoment);
        const Picture p = GrabWindow(window);
        if (p.Empty()) continue;
        shot = p;
        loadingShown = ShowsImages(p, mark, loading.detail) && ShowsText(p, loading, {"Loading..."}, &why);
        if (!loadingShown && ShowsTitle(p, title)) break;
    }
    Resume();
    if (!loadingShown) SavePicture(shot, FailedDir() / "loading.ppm");
    EXPECT_TRUE(loadingShown) << "the studio mark and \"Loading...\" never showed: " << why;
    ASSERT_TRUE(Focus(window));

    // Then the title: the logo landed, the wheel with level 1 open and the rest locked.
    ASSERT_TRUE(WaitForPicture([&](const Picture& p) { return ShowsTitle(p, title, &why); }, 20s, "title")) << why;
    const size_t titleAt = MixFramesSoFar();

    // The loader started the jingle before the title came.
    const std::vector<float> jingle = MonoSamples(std::string(FLOEWARD_BUILD_DIR) + "/data/sfx/096.wav");
    ASSERT_FALSE(jingle.empty());
    const size_t end = titleAt + jingle.size();
    for (int i = 0; i < 100 && MixFramesSoFar() < end; ++i) std::this_thread::sleep_for(50ms);
    EXPECT_GT(Likeness(MonoSamples(MixFile()), jingle, 0, end), kHeard);

    EXPECT_EQ(Close(), 0) << game->Log();
}

TEST_F(Game, F11SwitchesToFullScreenAndBack) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    std::istringstream screen(RunTool({"xdotool", "getdisplaygeometry"}));
    int screenWidth = 0, screenHeight = 0;
    screen >> screenWidth >> screenHeight;

    RunTool({"xdotool", "key", "F11"});
    unsigned long full = WaitForGameWindow(screenWidth, screenHeight, 10s);
    ASSERT_NE(full, 0u) << game->Log();
    Geometry g = WindowGeometry(full);
    EXPECT_EQ(g.x, 0);
    EXPECT_EQ(g.y, 0);

    ASSERT_TRUE(Focus(full));
    RunTool({"xdotool", "key", "F11"});
    window = WaitForGameWindow(640, 480, 10s);
    ASSERT_NE(window, 0u) << game->Log();
    g = WindowGeometry(window);
    for (int i = 0; i < 100 && g.x != (screenWidth - 640) / 2; ++i) {
        std::this_thread::sleep_for(20ms);
        g = WindowGeometry(window);
    }
    EXPECT_EQ(g.x, (screenWidth - 640) / 2);
    EXPECT_EQ(g.y, (screenHeight - 480) / 2);

    EXPECT_EQ(Close(), 0) << game->Log();
}

}  // namespace
