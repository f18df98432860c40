// The game played on the real executable with the keyboard alone, from a first start: level 1
// solved and its rescue heard, the title back with level 2 open, the progress saved on focus
// loss and read by a second start, its replay kept and played back headless to the same score;
// and a level quit from the pause panel. The headless game,
// played with the same keys, says what each screen must show and where the penguin must jump.
#include <chrono>
#include <filesystem>
#include <thread>

#include "e2e/level_one.h"
#include "e2e/mix.h"
#include "e2e/real_window.h"
#include "e2e/reference.h"
#include "game/image_sheets.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The rescue sound plays at a pitch from 0.8 to 1.2 times its own, at random.
constexpr double kRescueSlowest = 0.8, kRescueFastest = 1.2;
// The part of the mix before the end banner was first seen that holds the rescue.
constexpr size_t kMixRate = 44100;
constexpr size_t kRescueSearchFrames = 4 * kMixRate, kAfterBannerFrames = 2 * kMixRate;

std::string DataFile(const std::string& name) { return std::string(FLOEWARD_BUILD_DIR) + "/data/" + name; }

using Playing = RealGameTest;

TEST_F(Playing, LevelOneSolvedByKeysOpensLevelTwoSavesItAndASecondStartShowsIt) {
    // The span the test jumps in, proved at both ends.
    const LevelOneRun early = PlayLevelOne(kJumpUpdate - kSlack), late = PlayLevelOne(kJumpUpdate + kSlack);
    ASSERT_TRUE(early.completed && late.completed) << "level 1 changed: a Jump in updates " << kJumpUpdate - kSlack
                                                   << " to " << kJumpUpdate + kSlack << " no longer takes it home";
    ASSERT_EQ(late.walk[kJumpUpdate].slot, image::kPenguin) << "the penguin is not drawn where the jump is aimed";
    // Afterwards the title shows level 2 selected, open, with its statistics.
    ASSERT_TRUE(SelectedDisc(early.titleAfter).open);
    ASSERT_FALSE(early.titleAfter.Line("Level 2").glyphs.empty());

    ASSERT_NO_FATAL_FAILURE(Launch());
    std::string why;
    ASSERT_TRUE(WaitForPicture([&](const Picture& p) { return ShowsTitle(p, early.title, &why); }, 30s, "first-title"))
        << why;

    // Level 1 from the title by Enter; the level as it stands before the penguin reaches the pit.
    PressKey(kEnterKey.name);
    ASSERT_TRUE(WaitForPicture([&](const Picture& p) { return ShowsLevel(p, early.level, &why); }, 10s, "level-1"))
        << why;
    const Picture before = shot;

    const LevelOneSolved solved = SolveLevelOne(window, late, before);
    ASSERT_TRUE(solved.solved) << "no \"Level Complete\" banner: " << solved.story;
    const size_t bannerAt = MixFramesSoFar();

    // Back on the title, level 2 is open and selected: its statistics and the wheel turned on by one.
    ASSERT_TRUE(WaitForPicture([&](const Picture& p) { return ShowsTitle(p, early.titleAfter, &why); }, 15s,
                               "title-after-level-1"))
        << why;

    // The rescue was heard shortly before the banner.
    const std::vector<float> mix = MonoSamples(MixFile()), rescue = MonoSamples(DataFile("sfx/011.wav"));
    ASSERT_FALSE(rescue.empty());
    const double heard = Likeness(mix, rescue, bannerAt > kRescueSearchFrames ? bannerAt - kRescueSearchFrames : 0,
                                  bannerAt + kAfterBannerFrames, kRescueSlowest, kRescueFastest);
    EXPECT_GT(heard, kHeard) << "the rescue sound is not in the mix before the banner";
    if (heard <= kHeard) KeepMix("level-1");

    // The level's end saved the progress; losing the focus saves it again.
    const fs::path stateFile = dir / ".zembrastate";
    EXPECT_TRUE(fs::exists(stateFile));
    fs::remove(stateFile);
    auto other = FocusAnotherWindow(dir.string());
    ASSERT_NE(other, nullptr);
    for (int i = 0; i < 100 && !fs::exists(stateFile); ++i) std::this_thread::sleep_for(50ms);
    const ReadBack saved(ReadFile(stateFile));
    EXPECT_EQ(saved.record, early.record) << "level 1's record: rescued penguins, then the skills left";
    EXPECT_EQ(saved.record, late.record);
    EXPECT_EQ(saved.record[0], 1);
    // An earlier jump gets home sooner, with more time left to score.
    EXPECT_LE(saved.topScore, early.topScore);
    EXPECT_GE(saved.topScore, late.topScore);
    EXPECT_GT(late.topScore, 0);
    EXPECT_EQ(saved.selected, 1) << "the wheel starts past the level completed";
    EXPECT_TRUE(SelectedDisc(saved.title).open);

    // The win kept its replay beside the state, and the headless game plays it to the same score.
    const std::string kept = ReadFile(dir / "floeward-replays/level-01.script");
    c_ReplayScript replay;
    c_ReplayError error;
    ASSERT_TRUE(vo_replay_ParseScript(kept, replay, error)) << error.p_Text() << "\n" << kept;
    EXPECT_TRUE(vo_replay_IsKeptReplay(replay)) << kept;
    {
        c_ReplayRunner runner;
        EXPECT_TRUE(runner.p_Run(replay, error)) << error.p_Text() << "\n" << kept;
        ASSERT_EQ(runner.p_LevelEnds().size(), 1u);
        EXPECT_EQ(runner.p_LevelEnds()[0].m_rescued, 1);
        EXPECT_EQ(runner.p_LevelEnds()[0].m_score, saved.topScore);
    }
    other.reset();
    ASSERT_TRUE(Focus(window));
    EXPECT_EQ(Close(), 0) << game->Log();

    // A second start reads it and shows the wheel at level 2.
    ASSERT_NO_FATAL_FAILURE(Launch());
    EXPECT_TRUE(WaitForPicture([&](const Picture& p) { return ShowsTitle(p, saved.title, &why); }, 30s, "second-start"))
        << why;
    EXPECT_EQ(Close(), 0) << game->Log();
}

TEST_F(Playing, EscapePausesALevelAndItsQuitEndsItWithTheQuitBanner) {
    // The headless game pressed the same way: the panel open, the cursor up twice to Quit, Enter.
    c_ReplayRunner runner;
    c_MyApp& app = runner.p_App();
    ASSERT_TRUE(RunScript(runner, kSettledTitleScript));
    const Scene title = CaptureScene(app);
    ASSERT_TRUE(
        RunScript(runner, HoldScript(kEnterKey) + "until mode 10 10\nwait " + std::to_string(kLevelShown) + "\n"));
    const Scene level = CaptureScene(app);
    ASSERT_TRUE(RunScript(runner, HoldScript(kEscapeKey) + "wait 30\n"));
    const Scene paused = CaptureScene(app);
    ASSERT_TRUE(RunScript(runner, HoldScript(kUpKey) + HoldScript(kUpKey) + HoldScript(kEnterKey)));
    ASSERT_EQ(app.m_endReason, ending::kQuit);
    ASSERT_FALSE(paused.Line("PAUSED").glyphs.empty());
    ASSERT_TRUE(RunScript(runner, "wait " + std::to_string(kBannerOut) + "\n"));
    const Scene banner = CaptureScene(app);
    ASSERT_TRUE(RunScript(runner, "until mode 1 200\nwait " + std::to_string(kTitleBack) + "\n"));
    const Scene titleAfter = CaptureScene(app);

    ASSERT_NO_FATAL_FAILURE(Launch());
    std::string why;
    ASSERT_TRUE(WaitForPicture([&](const Picture& p) { return ShowsTitle(p, title, &why); }, 30s, "quit-title")) << why;
    PressKey(kEnterKey.name);
    ASSERT_TRUE(WaitForPicture([&](const Picture& p) { return ShowsLevel(p, level, &why); }, 10s, "quit-level")) << why;

    PressKey(kEscapeKey.name);
    const std::vector<Drawn> panel = Opaque(paused, {image::kMenu});
    ASSERT_TRUE(WaitForPicture(
        [&](const Picture& p) {
            return ShowsImages(p, panel, paused.detail) &&
                   ShowsText(p, paused, {"PAUSED", "Quit", "Restart", "Continue", "Options"}, &why);
        },
        10s, "pause-panel"))
        << why;

    PressKey(kUpKey.name);
    PressKey(kUpKey.name);
    PressKey(kEnterKey.name);
    ASSERT_TRUE(WaitForPicture(
        [&](const Picture& p) {
            return ShowsText(p, banner, {"Quit", "Game"}, &why);
        },
        10s, "quit-banner"))
        << why;
    // Quitting opens nothing: the title comes back at level 1.
    ASSERT_FALSE(titleAfter.Line("Level 1").glyphs.empty());
    EXPECT_TRUE(
        WaitForPicture([&](const Picture& p) { return ShowsTitle(p, titleAfter, &why); }, 15s, "title-after-quit"))
        << why;
    // Nobody was rescued, so the rescue sound was never played.
    const std::vector<float> mix = MonoSamples(MixFile()), rescue = MonoSamples(DataFile("sfx/011.wav"));
    ASSERT_FALSE(mix.empty());
    const double heard = Likeness(mix, rescue, 0, mix.size(), kRescueSlowest, kRescueFastest);
    EXPECT_LT(heard, kHeard) << "a rescue sound is in the mix";
    if (heard >= kHeard) KeepMix("quit");
    EXPECT_EQ(Close(), 0) << game->Log();
}

}  // namespace
