// The real executable where its surroundings fail it: a display that offers no OpenGL, and a
// window pulled larger than its OpenGL context can draw.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>
#include <unistd.h>

#include "support/process.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

TEST(StartUpFailure, AWindowThatCannotOpenSaysWhyAndEndsWithMinusOne) {
    fs::path dir = fs::temp_directory_path() / ("floeward-e2e-noglx-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    // A server of its own without the GLX extension; xvfb-run passes the game's status on.
    GameProcess game(dir.string(), {"xvfb-run", "-a", "-s", "-screen 0 640x480x24 -extension GLX", FLOEWARD_BIN});
    int status = game.WaitForExit(60s);
    std::string log = game.Log();
    EXPECT_EQ(status, 255) << log;
    EXPECT_NE(log.find("glfwCreateWindow failed: GLX"), std::string::npos) << log;
    // The game never started, so it neither loaded nor wrote its state.
    EXPECT_EQ(log.find("Highscores Loaded"), std::string::npos) << log;
    EXPECT_FALSE(fs::exists(dir / ".zembrastate"));
    fs::remove_all(dir);
}

TEST(WindowLimits, AWindowPulledPastWhatTheContextDrawsIsHeldWithinIt) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "end-to-end tests need an X display (the test command starts one)";
    fs::path dir = fs::temp_directory_path() / ("floeward-e2e-huge-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    GameProcess game(dir.string(), {}, {"ALSOFT_DRIVERS=null"});
    unsigned long window = WaitForWindow("Floeward", 10s);
    ASSERT_NE(window, 0u) << game.Log();
    std::this_thread::sleep_for(1s);
    // No window manager here, so only the program itself can refuse the size.
    RunTool({"xdotool", "windowsize", std::to_string(window), "32705", "32705"});
    std::this_thread::sleep_for(3s);
    EXPECT_EQ(game.WaitForExit(0ms), -1000) << "the game ended: " << game.Log();
    std::istringstream out(RunTool({"xdotool", "getwindowgeometry", "--shell", std::to_string(window)}));
    int width = 0, height = 0;
    for (std::string line; std::getline(out, line);) {
        if (line.rfind("WIDTH=", 0) == 0) width = std::atoi(line.c_str() + 6);
        if (line.rfind("HEIGHT=", 0) == 0) height = std::atoi(line.c_str() + 7);
    }
    EXPECT_GT(width, 0);
    EXPECT_LT(width, 32705);
    EXPECT_LT(height, 32705);
    fs::remove_all(dir);
}

}  // namespace
