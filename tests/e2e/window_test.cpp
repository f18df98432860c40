// The real executable in a real window under X, with OpenAL Soft recording to a file: the
// window it opens, the loading screen and its jingle, the title, full screen and back, the
// progress saved on focus loss, and the close path of the window manager's protocol.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>
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

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A window's picture as 8-bit RGB rows.
struct Picture {
    int width = 0, height = 0;
    std::string rgb;
    const unsigned char* At(int x, int y) const {
        return reinterpret_cast<const unsigned char*>(rgb.data()) + 3 * (static_cast<size_t>(y) * width + x);
    }
};

Picture Screenshot(unsigned long window, const fs::path& dir) {
    fs::path file = dir / "shot.ppm";
    RunTool({"import", "-window", std::to_string(window), "-depth", "8", "ppm:" + file.string()});
    std::istringstream in(ReadFile(file));
    std::string magic;
    Picture p;
    int maxValue = 0;
    in >> magic >> p.width >> p.height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255) return {};
    p.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (p.rgb.size() != static_cast<size_t>(3 * p.width * p.height)) return {};
    return p;
}

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

// Gives the window the keyboard focus, retrying while a newly opened window is not yet mapped.
bool Focus(unsigned long window) {
    for (int i = 0; i < 100; ++i) {
        RunTool({"xdotool", "windowfocus", std::to_string(window)});
        if (std::strtoul(RunTool({"xdotool", "getwindowfocus"}).c_str(), nullptr, 10) == window) return true;
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

// What a first run saves: default options with their checksum, no badges, no scores.
std::string FreshStartState() {
    std::string s = "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|";
    for (int i = 0; i < 10; ++i) s += "0|";
    s += "1483|";
    for (int i = 0; i < 9 + 20 * 21; ++i) s += "0|";
    return s;
}

class Game : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "end-to-end tests need an X display (the test command starts one)";
        dir = fs::temp_directory_path() / ("floeward-e2e-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        // The device records its mix instead of needing a sound card.
        std::ofstream(dir / "alsoft.conf") << "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\n"
                                              "frequency = 44100\n[wave]\nfile = "
                                           << (dir / "mix.wav").string() << "\n";
        unsetenv("ALSOFT_DRIVERS");
        game = std::make_unique<GameProcess>(dir.string(), std::vector<std::string>{},
                                             std::vector<std::string>{"ALSOFT_CONF=" + (dir / "alsoft.conf").string()});
        window = WaitForWindow("Floeward", 10s);
        ASSERT_NE(window, 0u) << game->Log();
    }
    void TearDown() override {
        game.reset();
        fs::remove_all(dir);
    }

    // Waits until two pictures a while apart are the same: the loader's spinner has stopped.
    bool WaitUntilStill(std::chrono::milliseconds timeout) {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        Picture last = Screenshot(window, dir);
        while (std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(300ms);
            Picture now = Screenshot(window, dir);
            if (!now.rgb.empty() && now.rgb == last.rgb) return true;
            last = now;
        }
        return false;
    }

    fs::path dir;
    std::unique_ptr<GameProcess> game;
    unsigned long window = 0;
};

TEST_F(Game, OpensCentredSavesOnFocusLossAndClosesWithStatusZero) {
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
    ASSERT_TRUE(Focus(window));
    std::this_thread::sleep_for(200ms);
    fs::remove(dir / ".zembrastate");
    GameProcess other(dir.string(), {"xmessage", "Another window"});
    std::string otherWindow;
    for (int i = 0; i < 200 && otherWindow.empty(); ++i) {
        otherWindow = RunTool({"xdotool", "search", "--class", "xmessage"});
        if (otherWindow.empty()) usleep(50000);
    }
    ASSERT_FALSE(otherWindow.empty());
    ASSERT_TRUE(Focus(std::stoul(otherWindow.substr(0, otherWindow.find('\n')))));
    for (int i = 0; i < 100 && !fs::exists(dir / ".zembrastate"); ++i) usleep(50000);
    EXPECT_EQ(ReadFile(dir / ".zembrastate"), FreshStartState());
    Focus(window);

    RunTool({FLOEWARD_X11_CLOSE, std::to_string(window)});
    EXPECT_EQ(game->WaitForExit(2s), 0) << game->Log();
}

TEST_F(Game, ShowsTheLoadingScreenWithItsJingleThenReachesTheTitle) {
    ASSERT_TRUE(Focus(window));
    ASSERT_TRUE(WaitUntilStill(10s)) << "the loading screen never stopped turning";

    // The title draws no panels of its own yet, so the last loading screen stays up: the logo
    // fills the middle, "Loading..." is written in white centred near the bottom.
    Picture p = Screenshot(window, dir);
    ASSERT_EQ(p.width, 640);
    int lit = 0;
    for (int y = 180; y < 280; ++y)
        for (int x = 270; x < 370; ++x) lit += p.At(x, y)[0] + p.At(x, y)[1] + p.At(x, y)[2] > 60;
    EXPECT_GT(lit, 5000);
    int left = 640, right = -1;
    for (int y = 436; y < 460; ++y) {
        for (int x = 0; x < 640; ++x) {
            const unsigned char* c = p.At(x, y);
            if (c[0] > 200 && c[1] > 200 && c[2] > 200) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    EXPECT_NEAR((left + right) / 2.0, 320, 4);
    EXPECT_NEAR(right - left, 10 * 7 - 7, 10) << "ten characters of the game font";

    // The jingle is in the recorded mix.
    std::string mix = ReadFile(dir / "mix.wav");
    ASSERT_GT(mix.size(), 44100u * 4);
    int loudest = 0;
    for (size_t i = 128; i + 1 < mix.size(); i += 2) {
        int sample = static_cast<int16_t>(static_cast<uint8_t>(mix[i]) | (static_cast<uint8_t>(mix[i + 1]) << 8));
        loudest = std::max(loudest, std::abs(sample));
    }
    EXPECT_GT(loudest, 2000);

    RunTool({FLOEWARD_X11_CLOSE, std::to_string(window)});
    EXPECT_EQ(game->WaitForExit(2s), 0) << game->Log();
}

TEST_F(Game, F11SwitchesToFullScreenAndBack) {
    std::istringstream screen(RunTool({"xdotool", "getdisplaygeometry"}));
    int screenWidth = 0, screenHeight = 0;
    screen >> screenWidth >> screenHeight;

    ASSERT_TRUE(Focus(window));
    RunTool({"xdotool", "key", "F11"});
    unsigned long full = WaitForGameWindow(screenWidth, screenHeight, 10s);
    ASSERT_NE(full, 0u) << game->Log();
    Geometry g = WindowGeometry(full);
    EXPECT_EQ(g.x, 0);
    EXPECT_EQ(g.y, 0);

    ASSERT_TRUE(Focus(full));
    RunTool({"xdotool", "key", "F11"});
    unsigned long windowed = WaitForGameWindow(640, 480, 10s);
    ASSERT_NE(windowed, 0u) << game->Log();
    g = WindowGeometry(windowed);
    for (int i = 0; i < 100 && g.x != (screenWidth - 640) / 2; ++i) {
        std::this_thread::sleep_for(20ms);
        g = WindowGeometry(windowed);
    }
    EXPECT_EQ(g.x, (screenWidth - 640) / 2);
    EXPECT_EQ(g.y, (screenHeight - 480) / 2);

    RunTool({FLOEWARD_X11_CLOSE, std::to_string(windowed)});
    EXPECT_EQ(game->WaitForExit(2s), 0) << game->Log();
}

}  // namespace
