// The real executable in a real window under X: the window it opens, suspension on focus
// loss, and the close path of the window manager's protocol.
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

#include "support/process.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

struct Geometry {
    int x = -1, y = -1, width = 0, height = 0;
};

Geometry WindowGeometry(unsigned long window) {
    std::istringstream out(RunTool({"xdotool", "getwindowgeometry", "--shell", std::to_string(window)}));
    Geometry g;
    for (std::string line; std::getline(out, line);) {
        auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = line.substr(0, eq);
        int value = std::atoi(line.c_str() + eq + 1);
        if (key == "X") g.x = value;
        if (key == "Y") g.y = value;
        if (key == "WIDTH") g.width = value;
        if (key == "HEIGHT") g.height = value;
    }
    return g;
}

struct GameWindow : testing::Test {
    void SetUp() override {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "end-to-end tests need an X display (the test command starts one)";
        dir = fs::temp_directory_path() / ("floeward-e2e-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(GameWindow, OpensCentredSuspendsOnFocusLossAndClosesWithStatusZero) {
    GameProcess game(dir.string());
    unsigned long window = WaitForWindow("Floeward", 10s);
    ASSERT_NE(window, 0u) << game.Log();
    ASSERT_TRUE(game.WaitForLog("Created", 10s)) << game.Log();

    Geometry g = WindowGeometry(window);
    std::istringstream screen(RunTool({"xdotool", "getdisplaygeometry"}));
    int screenWidth = 0, screenHeight = 0;
    screen >> screenWidth >> screenHeight;
    EXPECT_EQ(g.width, 640);
    EXPECT_EQ(g.height, 480);
    EXPECT_EQ(g.x, (screenWidth - 640) / 2);
    EXPECT_EQ(g.y, (screenHeight - 480) / 2);

    // Another client takes the focus, then gives it back.
    GameProcess other(dir.string(), {"xmessage", "Another window"});
    std::string otherWindow;
    for (int i = 0; i < 200 && otherWindow.empty(); ++i) {
        otherWindow = RunTool({"xdotool", "search", "--class", "xmessage"});
        if (otherWindow.empty()) usleep(50000);
    }
    ASSERT_FALSE(otherWindow.empty());
    RunTool({"xdotool", "windowfocus", "--sync", otherWindow.substr(0, otherWindow.find('\n'))});
    EXPECT_TRUE(game.WaitForLog("Suspended", 5s)) << game.Log();
    RunTool({"xdotool", "windowfocus", "--sync", std::to_string(window)});
    EXPECT_TRUE(game.WaitForLog("Resumed", 5s)) << game.Log();

    RunTool({FLOEWARD_X11_CLOSE, std::to_string(window)});
    EXPECT_EQ(game.WaitForExit(1s), 0) << game.Log();
}

}  // namespace
