// The soak: a seed always gives the same input, its trace replays the same game, its phases
// reach every screen; the reload check and the queue check agree with the game; and the tool
// runs seeds, kept seeds with their own counts, and adds up what they went through.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/replay/replay_runner.h"
#include "tools/soak/soak_player.h"

namespace game_test {
namespace {

// A fingerprint of what the game drew and where its penguins are after one update.
uint64_t Fingerprint(c_MyApp& app) {
    uint64_t h = 1469598103934665603ull;
    auto mix = [&h](const void* data, size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) h = (h ^ bytes[i]) * 1099511628211ull;
    };
    mix(&app.m_mode, sizeof app.m_mode);
    mix(app.m_drawQueue.Data(), sizeof(float) * static_cast<size_t>(app.m_drawCount));
    mix(app.m_pen.Data(), sizeof(float) * static_cast<size_t>(app.m_pen.Length()));
    return h;
}

struct Played {
    std::string trace;
    std::vector<uint64_t> fingerprints;
    c_SoakCoverage coverage;
    bool passed = false;
};

Played Play(uint64_t seed, int updates) {
    Played played;
    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* trace = open_memstream(&buffer, &size);
    {
        c_ReplayRunner runner;
        c_SoakPlayer player(seed, runner);
        player.m_trace = trace;
        player.m_onUpdate = [&](int) { played.fingerprints.push_back(Fingerprint(runner.p_App())); };
        played.passed = player.p_Play(updates);
        EXPECT_TRUE(played.passed) << "update " << player.m_failedAt << ": " << player.m_failure;
        played.coverage = player.m_coverage;
    }
    std::fclose(trace);
    played.trace.assign(buffer, size);
    std::free(buffer);
    return played;
}

TEST(SoakPlayer, TheSameSeedPlaysTheSameInputAndAnotherSeedOther) {
    const Played first = Play(11, 1500), again = Play(11, 1500), other = Play(12, 1500);
    EXPECT_EQ(first.trace, again.trace);
    EXPECT_EQ(first.fingerprints, again.fingerprints);
    EXPECT_NE(first.trace, other.trace);
    EXPECT_EQ(first.coverage.m_updates, 1500);
    EXPECT_EQ(first.coverage.m_updates, static_cast<long long>(first.fingerprints.size()));
}

// A person looking into a failing seed replays its trace with the replay tool: up to the first
// change of window size, which scripts cannot give, it must play the very same game.
TEST(SoakPlayer, ItsTraceReplaysTheSameGameUpToTheFirstResize) {
    const Played soak = Play(5, 3000);
    std::string script = soak.trace.substr(0, soak.trace.find("# the window becomes"));
    c_ReplayScript commands;
    c_ReplayError error;
    ASSERT_TRUE(vo_replay_ParseScript(script, commands, error)) << error.p_Text();

    std::vector<uint64_t> replayed;
    c_ReplayRunner runner;
    runner.m_onUpdate = [&](int) { replayed.push_back(Fingerprint(runner.p_App())); };
    ASSERT_TRUE(runner.p_Run(commands, error)) << error.p_Text();
    ASSERT_GT(replayed.size(), 300u) << "too little of the trace before its first resize to compare";
    ASSERT_LE(replayed.size(), soak.fingerprints.size());
    for (size_t i = 0; i < replayed.size(); ++i) ASSERT_EQ(replayed[i], soak.fingerprints[i]) << "update " << i + 1;
}

TEST(SoakPlayer, ItsPhasesReachLevelsPauseOptionsAndBannersWithoutAFault) {
    const Played played = Play(3, 6000);
    const c_SoakCoverage& c = played.coverage;
    auto on = [&c](c_SoakScreen s) { return c.m_screenUpdates[static_cast<int>(s)]; };
    EXPECT_EQ(c.m_updates, 6000);
    EXPECT_GT(on(c_SoakScreen::kTitle), 0);
    EXPECT_GT(on(c_SoakScreen::kLevel), 1000);
    EXPECT_GT(on(c_SoakScreen::kPause), 0);
    EXPECT_GT(on(c_SoakScreen::kTitleOptions) + on(c_SoakScreen::kPauseOptions), 0);
    EXPECT_GT(on(c_SoakScreen::kBanner), 0);
    EXPECT_GT(c.m_levelStarts, 1);
    EXPECT_GT(c.m_saves, 0);
    EXPECT_NE(c.p_Report().find("level ends: quit"), std::string::npos);
}

class SoakChecks : public testing::Test {
protected:
    void SetUp() override {
        c_ReplayScript script;
        c_ReplayError error;
        ASSERT_TRUE(vo_replay_ParseScript("until loaded", script, error));
        ASSERT_TRUE(runner.p_Run(script, error)) << error.p_Text();
    }
    c_ReplayRunner runner;
    c_MyApp& app = runner.p_App();
};

TEST_F(SoakChecks, ASavedStringReloadsToItsValuesAndADamagedOneSaysWhatDiffers) {
    app.m_options[option::kSound] = option::kSoundEffects;
    app.m_badges[37] = 1;
    app.m_progress[0] = 512;
    app.m_progress[progress::kRecordBase + progress::kTopTen * progress::kLastLevelIndex] = 9;
    const std::string saved = app.p_SaveString().ToUtf8();
    EXPECT_EQ(vo_soak_CheckReload(saved, app), "");

    // The options section with one value changed fails its checksum and loads as defaults.
    std::string options = saved;
    const size_t sound = options.find("|2|");
    ASSERT_NE(sound, std::string::npos);
    options[sound + 1] = '3';
    EXPECT_NE(vo_soak_CheckReload(options, app).find("option[5]"), std::string::npos);

    // So does a score row: it is cleared on its own.
    std::string scores = saved;
    const size_t score = scores.find("|512|");
    ASSERT_NE(score, std::string::npos);
    scores.replace(score, 5, "|513|");
    EXPECT_NE(vo_soak_CheckReload(scores, app).find("progress[0] reloads as 0, was 512"), std::string::npos);

    // A value the game changed after saving is no longer what the string holds.
    app.m_badges[38] = 1;
    EXPECT_NE(vo_soak_CheckReload(saved, app).find("badge[38]"), std::string::npos);
}

TEST_F(SoakChecks, TheQueueIsFullExactlyWhenTheGameDropsTheNextRecord) {
    app.m_drawCount = draw::kLastRecordStart;
    EXPECT_FALSE(vo_soak_QueueFull(app));
    app.p_Rect(0, 0, 1, 1);
    EXPECT_EQ(app.m_drawCount, draw::kLastRecordStart + draw::kRecordFloats);
    EXPECT_TRUE(vo_soak_QueueFull(app));
    app.p_Rect(0, 0, 1, 1);
    EXPECT_EQ(app.m_drawCount, draw::kLastRecordStart + draw::kRecordFloats);
}

TEST_F(SoakChecks, BackEndsTheProgramOnlyOnTheBareTitle) {
    EXPECT_EQ(vo_soak_Screen(app), c_SoakScreen::kTitle);
    EXPECT_TRUE(vo_soak_BackEndsProgram(app));
    app.m_creditsOpen = 1;
    EXPECT_EQ(vo_soak_Screen(app), c_SoakScreen::kCredits);
    EXPECT_FALSE(vo_soak_BackEndsProgram(app));
    app.m_creditsOpen = 0;
    app.m_optionsOpen = 1;
    EXPECT_EQ(vo_soak_Screen(app), c_SoakScreen::kTitleOptions);
    EXPECT_FALSE(vo_soak_BackEndsProgram(app));
    app.m_mode = screen::kInLevel;
    EXPECT_EQ(vo_soak_Screen(app), c_SoakScreen::kPauseOptions);
    app.m_optionsOpen = 0;
    app.m_paused = 1;
    EXPECT_EQ(vo_soak_Screen(app), c_SoakScreen::kPause);
    EXPECT_FALSE(vo_soak_BackEndsProgram(app));
    app.m_levelOver = 1;
    EXPECT_EQ(vo_soak_Screen(app), c_SoakScreen::kBanner);
}

// The tool's exit status and its standard output.
int Tool(const std::filesystem::path& dir, const std::string& arguments, std::string& out) {
    const std::filesystem::path file = dir / "out";
    const int status =
        std::system((std::string(FLOEWARD_SOAK_BIN) + " " + arguments + " >" + file.string() + " 2>&1").c_str());
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    out = text.str();
    std::filesystem::remove(file);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SoakTool, RunsKeptSeedsWithTheirOwnCountsThenTheSeedsNamed) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("floeward-soak-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "kept.txt") << "# kept\n7 300  # a note\n\n";
    std::string out;
    EXPECT_EQ(
        Tool(dir,
             "--updates 400 --seeds 3,8-9 --regressions " + (dir / "kept.txt").string() + " --log-dir " + dir.string(),
             out),
        0)
        << out;
    EXPECT_NE(out.find("seed 7: 300 updates"), std::string::npos) << out;
    for (const char* seed : {"seed 3: 400 updates", "seed 8: 400 updates", "seed 9: 400 updates"}) {
        EXPECT_NE(out.find(seed), std::string::npos) << out;
    }
    EXPECT_NE(out.find("1500 updates"), std::string::npos) << out;
    EXPECT_NE(out.find("soak: 4 seeds, 0 failed"), std::string::npos) << out;
    // Passing seeds leave no log behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);

    std::ofstream(dir / "bad.txt") << "seven\n";
    EXPECT_EQ(Tool(dir, "--regressions " + (dir / "bad.txt").string(), out), 1);
    EXPECT_EQ(Tool(dir, "--seeds 9-3", out), 1);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace game_test
