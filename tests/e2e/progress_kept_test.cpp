// What the player won is kept, on the real executable: a level won and then ended by SIGTERM
// during its banner, and a signal that ends the game while it waits behind another window; a
// full disk, where the progress takes the last room before the replay and a failed save is shown
// on the title until one succeeds; and a start that clears what saves cut short left, unless
// another copy holds the data folder.
#include <csignal>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "e2e/level_one.h"
#include "e2e/real_window.h"
#include "e2e/reference.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const char kFullDiskNotice[] = "Progress could not be saved: disk full";

// The share of the notice's glyphs that the picture shows as the headless game draws them. Some
// of them the next glyph overlaps, and a snowflake may cross one: not all of them show alike.
double NoticeShown(const Picture& picture, const Scene& scene) {
    const TextLine line = scene.Line(kFullDiskNotice);
    int shown = 0;
    for (const Drawn& glyph : line.glyphs) shown += ShowsImages(picture, {glyph}, scene.detail) ? 1 : 0;
    return line.glyphs.empty() ? 0 : static_cast<double>(shown) / static_cast<double>(line.glyphs.size());
}
constexpr double kMostlyShown = 0.75, kHardlyShown = 0.25;

class Kept : public RealGameTest {
protected:
    // Level 1, in the game just launched, played from its first title to the "Level Complete" banner.
    void WinLevelOne(const LevelOneRun& aim, const std::string& name) {
        std::string why;
        ASSERT_TRUE(WaitForPicture([&](const Picture& p) { return ShowsTitle(p, aim.title, &why); }, 30s, name + "-title"))
            << why;
        PressKey(kEnterKey.name);
        ASSERT_TRUE(WaitForPicture([&](const Picture& p) { return ShowsLevel(p, aim.level, &why); }, 10s, name + "-level"))
            << why;
        const LevelOneSolved solved = SolveLevelOne(window, aim, shot);
        ASSERT_TRUE(solved.solved) << "no \"Level Complete\" banner: " << solved.story;
    }
    // The game saves when it loses the focus: another window takes it until the save is there.
    std::unique_ptr<GameProcess> SuspendAndSave(const fs::path& state) {
        fs::remove(state);
        auto other = FocusAnotherWindow(dir.string());
        for (int i = 0; i < 100 && other && !fs::exists(state); ++i) std::this_thread::sleep_for(50ms);
        return other;
    }
};

TEST_F(Kept, ALevelEndedBySigtermDuringItsBannerIsRecordedWithItsReplay) {
    const LevelOneRun aim = PlayLevelOne(kJumpUpdate + kSlack);
    ASSERT_TRUE(aim.completed);
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NO_FATAL_FAILURE(WinLevelOne(aim, "sigterm"));
    // The banner is out; the title takes the result only when it is done.
    kill(game->Pid(), SIGTERM);
    ASSERT_EQ(game->WaitForExit(10s), 0) << game->Log();

    const ReadBack saved(ReadFile(dir / ".zembrastate"));
    EXPECT_EQ(saved.record, aim.record) << "level 1's record: rescued penguins, then the skills left";
    EXPECT_EQ(saved.selected, 1) << "the wheel starts at level 2";
    const std::string kept = ReadFile(dir / "floeward-replays/level-01.script");
    c_ReplayScript replay;
    c_ReplayError error;
    ASSERT_TRUE(vo_replay_ParseScript(kept, replay, error)) << error.p_Text() << "\n" << kept;
    EXPECT_TRUE(vo_replay_IsKeptReplay(replay)) << kept;

    // Started again and waiting behind another window, it still ends on a signal, as a closed
    // window ends it.
    ASSERT_NO_FATAL_FAILURE(Launch());
    auto other = SuspendAndSave(dir / ".zembrastate");
    ASSERT_NE(other, nullptr);
    ASSERT_TRUE(fs::exists(dir / ".zembrastate"));
    kill(game->Pid(), SIGHUP);
    EXPECT_EQ(game->WaitForExit(5s), 0) << game->Log();
}

TEST_F(Kept, OnAFullDiskTheProgressTakesTheLastRoomAndAFailedSaveShowsUntilOneSucceeds) {
    // The data folder is a file system of 64 KiB, the game's own in a mount namespace of its own.
    int status = -1;
    const std::vector<std::string> privateMount = {"unshare", "--user", "--map-root-user", "--mount"};
    std::vector<std::string> probe = privateMount;
    probe.push_back("true");
    RunTool(probe, &status);
    if (status != 0) {
        GTEST_SKIP() << "unprivileged user and mount namespaces are not available here (`unshare --user "
                        "--map-root-user --mount true` fails), so no small file system of the test's own can be made";
    }
    const LevelOneRun aim = PlayLevelOne(kJumpUpdate + kSlack);
    ASSERT_TRUE(aim.completed);
    const fs::path folder = dir / "folder", fresh = dir / "fresh.state";
    fs::create_directories(folder);
    {
        c_ReplayRunner runner;
        ASSERT_TRUE(RunScript(runner, std::string(kSettledTitleScript) + "focus off\n"));
        std::ofstream(fresh, std::ios::binary) << runner.p_State();
    }
    // A fresh state in it, and the rest filled but for one page.
    std::vector<std::string> command = privateMount;
    command.insert(command.end(),
                   {"sh", "-c",
                    "mount -t tmpfs -o size=64k tmpfs \"$0\" && cd \"$0\" && cp \"$1\" .zembrastate && "
                    "{ head -c 1048576 /dev/zero >filler 2>/dev/null; truncate -s -\"$(getconf PAGESIZE)\" filler; } && "
                    "exec \"$2\"",
                    folder.string(), fresh.string(), FLOEWARD_BIN});
    ASSERT_NO_FATAL_FAILURE(Launch(command));
    // The folder as the game sees it.
    const fs::path there = fs::path("/proc") / std::to_string(game->Pid()) / "cwd";
    ASSERT_TRUE(fs::exists(there / "filler")) << game->Log();

    ASSERT_NO_FATAL_FAILURE(WinLevelOne(aim, "full-disk"));
    std::string why;
    ASSERT_TRUE(WaitForPicture([&](const Picture& p) { return ShowsTitle(p, aim.titleAfter, &why); }, 15s,
                               "full-disk-title-after"))
        << why;
    const ReadBack saved(ReadFile(there / ".zembrastate"));
    EXPECT_EQ(saved.record, aim.record) << game->Log();
    EXPECT_EQ(saved.selected, 1) << "level 2 is open";
    EXPECT_TRUE(fs::exists(there / "floeward-replays/level-01.script")) << "the old state's page went to the replay";

    // The last page taken too: the next save fails, and the title says so.
    Scene notice;
    {
        c_ReplayRunner runner(ReadFile(there / ".zembrastate"));
        ASSERT_TRUE(RunScript(runner, kSettledTitleScript));
        runner.p_Game().m_host.failSaves = VoSaveProblem::kDiskFull;
        ASSERT_TRUE(RunScript(runner, "focus off\nfocus on\nwait 2\n"));
        notice = CaptureScene(runner.p_App());
        ASSERT_FALSE(notice.Line(kFullDiskNotice).glyphs.empty());
    }
    {
        std::ofstream fill(there / "filler2", std::ios::binary);
        const std::string page(4096, '\0');
        while (fill.write(page.data(), static_cast<std::streamsize>(page.size())) && fill.flush()) {
        }
    }
    {
        auto other = FocusAnotherWindow(dir.string());
        ASSERT_NE(other, nullptr);
        EXPECT_TRUE(game->WaitForLog("progress could not be saved", 10s)) << game->Log();
    }
    ASSERT_TRUE(Focus(window));
    EXPECT_TRUE(WaitForPicture([&](const Picture& p) { return NoticeShown(p, notice) >= kMostlyShown; }, 10s,
                               "full-disk-notice"))
        << NoticeShown(shot, notice) << " of the notice shown";

    // Room again: the next save succeeds, and the notice goes.
    fs::remove(there / "filler2");
    {
        auto other = SuspendAndSave(there / ".zembrastate");
        ASSERT_NE(other, nullptr);
        EXPECT_TRUE(fs::exists(there / ".zembrastate"));
    }
    ASSERT_TRUE(Focus(window));
    EXPECT_TRUE(WaitForPicture([&](const Picture& p) { return NoticeShown(p, notice) <= kHardlyShown; }, 10s,
                               "full-disk-notice-gone"))
        << NoticeShown(shot, notice) << " of the notice still shown";
    EXPECT_EQ(Close(), 0) << game->Log();
}

TEST_F(Kept, AStartClearsWhatSavesCutShortLeftUnlessAnotherCopyHoldsTheFolder) {
    // Temporaries of interrupted saves of the state, and files that only look like them.
    const std::vector<std::string> stale = {".zembrastate.Ab12Cd", ".zembrastate.000000"};
    const std::vector<std::string> others = {".zembrastate.damaged", ".zembrastate.Ab-12C", "level.Ab12Cd"};
    for (const auto& name : stale) std::ofstream(dir / name).flush();
    for (const auto& name : others) std::ofstream(dir / name) << "kept";
    ASSERT_NO_FATAL_FAILURE(Launch());
    for (const auto& name : stale) EXPECT_FALSE(fs::exists(dir / name)) << name;
    for (const auto& name : others) EXPECT_EQ(ReadFile(dir / name), "kept") << name;

    // A second copy finds the folder held: it says so, ends with status 1 and touches nothing,
    // not even what looks stale to it but may be the first copy's save in progress.
    std::ofstream(dir / ".zembrastate.Zz99Yy").flush();
    const std::string before = ReadFile(dir / ".zembrastate");
    GameProcess second(dir.string(), {"sh", "-c", "exec \"$0\"", FLOEWARD_BIN});
    EXPECT_EQ(second.WaitForExit(20s), 1) << second.Log();
    EXPECT_NE(second.Log().find("Floeward is already running with this data folder"), std::string::npos)
        << second.Log();
    EXPECT_TRUE(fs::exists(dir / ".zembrastate.Zz99Yy"));
    EXPECT_EQ(ReadFile(dir / ".zembrastate"), before);
    EXPECT_EQ(Close(), 0) << game->Log();
}

}  // namespace
