// floeward-replay --window: a script shown in a real window with the game's own pictures, at the
// game's own speed rather than as fast as the headless game runs.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "e2e/real_window.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Three seconds of level 1 at sixty updates a second.
constexpr int kUpdates = 180;
constexpr std::chrono::milliseconds kPlayed{kUpdates * 1000 / 60};

TEST(ReplayWindow, AScriptShownInAWindowPlaysInTimeWithTheGamesPictures) {
    const fs::path dir = fs::temp_directory_path() / ("floeward-replay-window-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "show.script") << "start 1 1\nwait " << kUpdates << "\n";

    const auto started = std::chrono::steady_clock::now();
    GameProcess tool(dir.string(), {FLOEWARD_REPLAY_BIN, "--window", (dir / "show.script").string()});
    const unsigned long window = WaitForWindow("Floeward", 20s);
    ASSERT_NE(window, 0u) << tool.Log();

    // Part-way through, the window shows the level drawn from the data folder's sheets: many
    // colours, where a window drawn with made-up blank pictures would show a handful.
    std::this_thread::sleep_for(kPlayed / 2);
    const Picture shot = GrabWindow(window);
    ASSERT_FALSE(shot.Empty());
    std::set<unsigned> colours;
    for (int y = 0; y < shot.height; y += 2) {
        for (int x = 0; x < shot.width; x += 2) {
            const unsigned char* p = shot.At(x, y);
            colours.insert(p[0] << 16 | p[1] << 8 | p[2]);
        }
    }
    EXPECT_GT(colours.size(), 200u);

    EXPECT_EQ(tool.WaitForExit(30s), 0) << tool.Log();
    EXPECT_GE(std::chrono::steady_clock::now() - started, kPlayed) << "it ran faster than the game runs";
    fs::remove_all(dir);
}

}  // namespace
