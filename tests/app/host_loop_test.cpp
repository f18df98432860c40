// The desktop host on a scripted window system: start-up order, pacing, suspension,
// window (re)opening, display modes and the close path.
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

#include "framework/app/end_request.h"
#include "framework/app/input.h"
#include "support/fake_window_system.h"
#include "support/recording_app.h"

namespace {

// Ends the loop after the given number of event polls.
void CloseAfter(FakeWindowSystem& ws, int polls, std::function<void(FakeWindowSystem&)> each = nullptr) {
    ws.onEvents = [polls, each](FakeWindowSystem& w) {
        if (each) each(w);
        if (w.polls + w.waits >= polls) w.open = false;
    };
}

std::vector<std::string> Trimmed(const std::vector<std::string>& calls, size_t n) {
    return std::vector<std::string>(calls.begin(), calls.begin() + static_cast<long>(std::min(n, calls.size())));
}

TEST(HostLoop, CreateComesFirstThenRenderBeforeAnyUpdate) {
    FakeWindowSystem ws;
    HostFixture f(&ws);
    CloseAfter(ws, 2);
    f.host.Run();
    EXPECT_EQ(Trimmed(f.app->calls, 4), (std::vector<std::string>{"create", "render", "update", "render"}));
    EXPECT_EQ(ws.width, 640);
    EXPECT_EQ(ws.height, 480);
    EXPECT_EQ(ws.posX, (1920 - 640) / 2);
    EXPECT_EQ(ws.posY, (1080 - 480) / 2);
    EXPECT_EQ(ws.title, "Floeward");
    EXPECT_EQ(ws.swapInterval, 1);
    EXPECT_FALSE(ws.fullscreen);
}

TEST(HostLoop, RateZeroRunsOneUpdatePerFrameWithoutSleeping) {
    FakeWindowSystem ws;
    HostFixture f(&ws);
    CloseAfter(ws, 10);
    f.host.Run();
    EXPECT_EQ(f.app->Count("render"), 10);
    EXPECT_EQ(f.app->Count("update"), 10);
    EXPECT_TRUE(ws.sleeps.empty());
}

TEST(HostLoop, OnTimeScheduleSleepsUntilTheNextUpdate) {
    FakeWindowSystem ws;
    HostFixture f(&ws);
    f.app->onRender = [&] { ws.now += 0.002; };
    vo_app_SetUpdateRate(50);
    CloseAfter(ws, 20);
    f.host.Run();
    // After the first pass each pass sleeps the rest of the 20 ms period and runs one update.
    ASSERT_GE(ws.sleeps.size(), 10u);
    for (size_t i = 1; i < ws.sleeps.size(); ++i) EXPECT_NEAR(ws.sleeps[i], 0.018, 1e-9) << i;
    EXPECT_EQ(f.app->Count("update"), f.app->Count("render"));
}

TEST(HostLoop, SlowRenderRunsFourUpdatesThenDropsTheBacklog) {
    FakeWindowSystem ws;
    HostFixture f(&ws);
    vo_app_SetUpdateRate(60);
    int pass = 0;
    f.app->onRender = [&] { ws.now += (++pass == 2) ? 0.100 : 0.0; };
    CloseAfter(ws, 3);
    f.host.Run();
    // Pass 1 sets the schedule and runs one update; pass 2's 100 ms render leaves 6 updates
    // due, of which 4 run; pass 3 starts a new schedule: one update.
    EXPECT_EQ(f.app->calls, (std::vector<std::string>{"create", "render", "update", "render", "update", "update",
                                                      "update", "update", "render", "update"}));
}

TEST(HostLoop, ChangingTheRateInsideAnUpdateSkipsThePassesRemainingUpdates) {
    FakeWindowSystem ws;
    HostFixture f(&ws);
    vo_app_SetUpdateRate(60);
    int pass = 0;
    f.app->onRender = [&] { ws.now += (++pass == 2) ? 0.100 : 0.0; };
    f.app->onUpdate = [&] {
        if (pass == 2) vo_app_SetUpdateRate(30);
    };
    CloseAfter(ws, 3);
    f.host.Run();
    EXPECT_EQ(f.app->calls,
              (std::vector<std::string>{"create", "render", "update", "render", "update", "render", "update"}));
    EXPECT_EQ(f.host.UpdateRate(), 30);
}

TEST(HostLoop, FocusLossSuspendsAndTheLoopBlocksRenderingOncePerEvent) {
    FakeWindowSystem ws;
    HostFixture f(&ws);
    vo_app_SetUpdateRate(60);
    int events = 0;
    ws.onEvents = [&](FakeWindowSystem& w) {
        ++events;
        if (events == 2) w.active = false;  // focus moves away
        if (events == 6) w.active = true;   // and comes back
        if (events == 8) w.open = false;
    };
    f.host.Run();
    EXPECT_EQ(ws.waits, 4);  // passes 3 to 6 block for their event
    std::vector<std::string> expected{"create", "render", "update", "render", "suspend", "render", "render",
                                      "render", "render", "resume", "update", "render", "update",
                                      "render", "update"};
    EXPECT_EQ(f.app->calls, expected);
}

TEST(HostLoop, ClosingTheWindowEndsTheProgramWithStatusZero) {
    FakeWindowSystem ws;
    HostFixture f(&ws);
    ws.onEvents = [](FakeWindowSystem& w) { w.handler->OnWindowClose(); };
    EXPECT_EXIT(f.host.Run(), testing::ExitedWithCode(0), "");
}

TEST(HostLoop, AnEndSignalClosesAsTheWindowDoesAndTheAppFinishesOnce) {
    // The application says it finishes; finishing a second time, or not ending, exits otherwise.
    constexpr int kFinishedTwice = 3, kUnboundedWait = 4, kNotEnded = 5;
    auto finishOnce = [](RecordingApp& app) {
        if (app.Count("end") > 1) _exit(kFinishedTwice);
        std::fputs("finishing\n", stderr);
    };
    // Suspended, the loop still notices the signal: its wait for events is bounded.
    auto endWhileSuspended = [&](int sig, bool again) {
        vo_install_end_signals();
        FakeWindowSystem ws;
        HostFixture f(&ws);
        ws.active = false;
        ws.onEvents = [sig](FakeWindowSystem& w) {
            if (w.waits == 1) raise(sig);
        };
        f.app->onEnd = [&] {
            finishOnce(*f.app);
            if (ws.waitTimeout <= 0 || ws.waitTimeout > 1) _exit(kUnboundedWait);
            if (again) raise(sig);
            // A quit asked for while finishing ends the program without finishing again.
            vo_app_EndApp();
        };
        f.host.Run();
        _exit(kNotEnded);
    };
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        EXPECT_EXIT(endWhileSuspended(sig, false), testing::ExitedWithCode(0), "finishing") << sig;
        // A second signal while the application finishes ends the program at once.
        EXPECT_EXIT(endWhileSuspended(sig, true), testing::KilledBySignal(sig), "finishing") << sig;
    }
    // A closed window ends the program the same way.
    EXPECT_EXIT(
        {
            FakeWindowSystem ws;
            HostFixture f(&ws);
            f.app->onEnd = [&] { finishOnce(*f.app); };
            ws.onEvents = [](FakeWindowSystem& w) { w.handler->OnWindowClose(); };
            f.host.Run();
            _exit(kNotEnded);
        },
        testing::ExitedWithCode(0), "finishing");
}

TEST(HostLoop, BackAndCloseKeysEndTheProgramEvenWhenAlreadyHeld) {
    for (int key : {KEY_BACK, KEY_CLOSE}) {
        FakeWindowSystem ws;
        HostFixture f(&ws);
        f.host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
        f.host.StartGame();
        vo_input_device->p_KeyEvent(c_VoGameEvent::KeyDown, key);
        ASSERT_EQ(vo_input_KeyDown(key), 1);
        EXPECT_EXIT(f.host.KeyEvent(c_VoGameEvent::KeyDown, key), testing::ExitedWithCode(0), "") << key;
    }
}

TEST(HostWindow, ReopeningReleasesHeldKeysAndReportsThePointer) {
    FakeWindowSystem ws;
    HostFixture f(&ws);
    f.host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    f.host.StartGame();
    int seq = glfwGraphicsSeq;
    f.host.KeyEvent(c_VoGameEvent::KeyDown, 74);
    f.host.KeyEvent(c_VoGameEvent::KeyDown, 16);
    ws.pressedKeys = {vo_key::A + ('J' - 'A'), vo_key::RightShift, vo_key::RightAlt};
    ws.cursorX = 12;
    ws.cursorY = 34;
    f.host.SetGlfwWindow(1920, 1080, 8, 8, 8, 0, 0, 0, true);
    EXPECT_EQ(vo_input_KeyDown(74), 0);
    EXPECT_EQ(vo_input_KeyDown(16), 0);
    EXPECT_EQ(glfwGraphicsSeq, seq + 1);
    EXPECT_TRUE(ws.fullscreen);
    EXPECT_EQ(ws.title, "");  // a full-screen window gets no title and no position
    EXPECT_EQ(ws.posX, -1);
    EXPECT_EQ(vo_input_MouseX(), 12.0f);
    EXPECT_EQ(vo_input_MouseY(), 34.0f);
    EXPECT_EQ(ws.opens, 2);
}

TEST(HostWindow, SwapIntervalAndUpdateRateOverrides) {
    FakeWindowSystem ws;
    HostFixture f(&ws);
    f.host.SetSwapInterval(-1);
    f.host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    EXPECT_EQ(ws.swapInterval, -99);  // negative leaves the driver's setting alone
    f.host.SetSwapInterval(0);
    EXPECT_EQ(ws.swapInterval, 0);
    ws.now = 12.3456;
    EXPECT_EQ(f.host.Millisecs(), 12345);
}

TEST(DisplayModes, RepeatsCollapseAndTheDesktopFallsBackToTheWindow) {
    FakeWindowSystem ws;
    HostFixture f(&ws);
    ws.modes = {{800, 600, 5, 6, 5}, {1024, 768, 8, 8, 8}, {800, 600, 8, 8, 8}, {800, 600, 4, 4, 4}};
    f.host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    vo_app_ValidateDeviceWindow(false);
    vo_app_EnumDisplayModes();
    ASSERT_EQ(vo_app__displayModes.Length(), 2);
    EXPECT_EQ(vo_app__displayModes[0]->m_width, 800);
    EXPECT_EQ(vo_app__displayModes[1]->m_height, 768);
    EXPECT_EQ(vo_app__desktopMode->m_width, 1920);

    // A host that reports nothing: no modes, and the desktop is the window's size.
    VoGame bare;
    vo_app__game = &bare;
    vo_app__devWidth = 640;
    vo_app__devHeight = 480;
    vo_app_EnumDisplayModes();
    EXPECT_EQ(vo_app__displayModes.Length(), 0);
    EXPECT_EQ(vo_app__desktopMode->m_width, 640);
    EXPECT_EQ(vo_app__desktopMode->m_height, 480);
    VoGame::_game = &f.host;
}

TEST(StartUp, ASecondApplicationIsARuntimeError) {
    FakeWindowSystem ws;
    HostFixture f(&ws);
    EXPECT_EXIT(
        {
            dup2(2, 1);
            (new RecordingApp())->m_new();
        },
        testing::ExitedWithCode(255), "App has already been created");
}

TEST(StartUp, GuardsIgnoreEventsThatWouldNotChangeTheState) {
    FakeWindowSystem ws;
    HostFixture f(&ws);
    f.host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    f.host.UpdateGame();
    f.host.SuspendGame();
    f.host.KeyEvent(c_VoGameEvent::KeyDown, 65);
    EXPECT_TRUE(f.app->calls.empty());
    f.host.StartGame();
    f.host.StartGame();
    f.host.ResumeGame();
    f.host.SuspendGame();
    f.host.SuspendGame();
    f.host.UpdateGame();
    f.host.RenderGame();
    f.host.ResumeGame();
    EXPECT_EQ(f.app->calls, (std::vector<std::string>{"create", "suspend", "render", "resume"}));
}

}  // namespace

namespace {

TEST(OpenUrl, PassesTheUrlAsOneArgumentWithoutAShell) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("floeward-url-" + std::to_string(getpid()));
    fs::create_directories(dir);
    fs::path record = dir / "args";
    {
        std::ofstream opener(dir / "xdg-open");
        opener << "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > " << record.string() << ".tmp\n"
               << "mv " << record.string() << ".tmp " << record.string() << "\n";
    }
    fs::permissions(dir / "xdg-open", fs::perms::owner_all);
    std::string oldPath = std::getenv("PATH");
    setenv("PATH", (dir.string() + ":" + oldPath).c_str(), 1);

    FakeWindowSystem ws;
    VoGlfwGame host(&ws);
    host.OpenUrl(String("http://h/p.php?a=1&b=2; touch ") + String((dir / "pwned").string()));
    for (int i = 0; i < 200 && !fs::exists(record); ++i) usleep(10000);
    setenv("PATH", oldPath.c_str(), 1);

    std::ifstream in(record);
    std::string args((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(args, "[http://h/p.php?a=1&b=2; touch " + (dir / "pwned").string() + "]");
    EXPECT_FALSE(fs::exists(dir / "pwned"));
    fs::remove_all(dir);
}

}  // namespace
