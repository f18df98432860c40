// How a level ends: the ending and its score, the banner's words, bars and rescued line, the
// rank in the top ten, the banner's timer in the level and over the title, and the level's result
// kept when the program ends during the banner or the disk is full.
#include <string>
#include <tuple>

#include "game/level_end.h"
#include "game/menu_layout.h"
#include "game_fixture.h"
#include "tools/replay/replay_runner.h"

namespace game_test {
namespace {

using Words = std::pair<std::string, std::string>;

// The glyphs the last update drew at height y (in the colour's green, when given), spaces left
// out as the font draws them.
std::string TextAt(const c_MyApp& app, float y, float green = -1) {
    std::string out;
    for (int at = 0; at + draw::kRecordFloats <= app.m_drawCount; at += draw::kRecordFloats) {
        const float* r = app.m_drawQueue.Data() + at;
        if (r[0] == app.m_curFont && r[draw::kY] == y && (green < 0 || r[draw::kGreen] == green)) {
            out += static_cast<char>(r[draw::kFrame] + 32);
        }
    }
    return out;
}

class Ending : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        FinishLoading();
        app->m_mode = screen::kInLevel;
        app->m_level = 3;
        app->m_player[play::kTimer] = play::kLevelSteps;
    }
    void Rescue(int count) {
        for (int p = 0; p < pen::kRecords; ++p) app->m_pen[p * pen::kFloats + pen::kState] = p < count ? pen::kRescued : pen::kWalking;
    }
    // The banner at that age over a 640 × 480 level: its two words (216 from the top and the
    // bottom once the bands are out) and its rescued line, spaces left out as the font draws them.
    Words DrawBanner(int age) {
        app->m_endTimer = age;
        app->p_CLS2D();
        app->p_GameOver();
        return {TextAt(216), TextAt(480 - 216)};
    }
    std::string TextAt(float y, float green = -1) const { return game_test::TextAt(*app, y, green); }
    std::string RescuedLine() const { return TextAt(480 - 144, 255); }
    // Rectangles of one colour as (x, y, width, alpha).
    std::vector<std::array<float, 4>> Rects(float red, float green, float blue) const {
        std::vector<std::array<float, 4>> out;
        for (int at = 0; at + draw::kRecordFloats <= app->m_drawCount; at += draw::kRecordFloats) {
            const float* r = app->m_drawQueue.Data() + at;
            if (r[0] == draw::kRectKind && r[draw::kRed] == red && r[draw::kGreen] == green && r[draw::kBlue] == blue) {
                out.push_back({r[draw::kX], r[draw::kY], r[draw::kWidth], r[draw::kAlpha]});
            }
        }
        return out;
    }
};

TEST_F(Ending, BannerWordsByEnding) {
    const std::pair<int, Words> cases[] = {{ending::kQuit, {"Quit", "Game"}},         {ending::kComplete, {"Level", "Complete"}},
                                           {ending::kDeadPenguin, {"Dead", "Penguin:("}}, {ending::kOutOfTime, {"Outof", "Time"}},
                                           {ending::kNone, {"GAME", "OVER"}},         {5, {"GAME", "OVER"}}};
    for (const auto& [reason, words] : cases) {
        app->m_endReason = reason;
        app->m_keyUsed = 0;
        EXPECT_EQ(DrawBanner(30), words) << reason;
        EXPECT_EQ(app->m_keyUsed, 1) << "no press counts as new under the banner";
    }
    app->m_keyUsed = 0;
    DrawBanner(0);
    EXPECT_EQ(app->m_drawCount, 0) << "age 0 draws nothing";
    EXPECT_EQ(app->m_keyUsed, 0);
}

TEST_F(Ending, AnEmptyLevelIsCompleteOnlyWithSomebodyHome) {
    Rescue(2);
    app->m_player[play::kTimer] = 3000;
    app->p_NoPenguinLeft();
    EXPECT_EQ(app->m_levelOver, 1);
    EXPECT_EQ(app->m_score, vo_score_LevelScore(2, 50));
    EXPECT_EQ(DrawBanner(30), Words("Level", "Complete"));
    EXPECT_EQ(RescuedLine(), "Rescued:2");

    app->m_levelOver = 0;
    Rescue(0);
    app->p_NoPenguinLeft();
    EXPECT_EQ(app->m_endReason, ending::kNone);
    EXPECT_EQ(app->m_score, 0);
}

TEST_F(Ending, ADeathAfterRescuesScoresNothingAndShowsNobodyRescued) {
    Rescue(3);
    app->p_EndLevel(ending::kDeadPenguin);
    EXPECT_EQ(app->m_score, 0) << "whether the records are cleared before or after";
    // The level clears every record and then finds nobody in play: the first ending stands.
    Rescue(0);
    app->p_NoPenguinLeft();
    EXPECT_EQ(DrawBanner(30), Words("Dead", "Penguin:("));
    EXPECT_EQ(RescuedLine(), "Rescued:0");
}

TEST_F(Ending, TimeRunsOutAtMinusSixtyStepsAndKeepsTheRescued) {
    Rescue(4);
    app->m_player[play::kTimer] = -59;
    app->p_DrawHud();
    EXPECT_EQ(app->m_levelOver, 0) << "0 seconds still";
    app->m_player[play::kTimer] = -60;
    app->p_DrawHud();
    EXPECT_EQ(app->m_levelOver, 1);
    EXPECT_EQ(app->m_score, vo_score_LevelScore(4, 0));
    EXPECT_EQ(DrawBanner(30), Words("Outof", "Time"));
    EXPECT_EQ(RescuedLine(), "Rescued:4");
}

TEST_F(Ending, TheBannerOpensFullyAfter27UpdatesOnA720PixelScreen) {
    jscrw = 540;
    jscrh = 720;
    for (int update = 1; update <= 30; ++update) {
        app->p_CLS2D();
        app->p_GameOver();
        auto yellow = Rects(255, 255, 0);
        // Each update draws the age before it: nothing at 0, then 12 more on each side, up to
        // 0.45 of 720 at age 27.
        ASSERT_EQ(yellow.size(), update == 1 ? 0u : 1u);
        if (update > 1) {
            EXPECT_EQ(yellow[0][2], 2 * std::min(12 * (update - 1), 324)) << update;
        }
    }
    EXPECT_EQ(app->m_endTimer, 30);
    EXPECT_EQ(Rects(255, 255, 0)[0], (std::array<float, 4>{-1, 316, 648, 0.5f}));
    EXPECT_EQ(Rects(255, 128, 0)[0], (std::array<float, 4>{540 - 648, 388, 649, 0.5f}));
    EXPECT_FLOAT_EQ(Rects(0, 0, 0)[0][3], 0.7f);
    EXPECT_EQ(TextAt(324), "GAME");
    EXPECT_EQ(TextAt(720 - 324), "OVER");
}

TEST_F(Ending, RankInTheTopTen) {
    app->m_score = 0;
    EXPECT_EQ(app->p_MyNth().ToUtf8(), "1st!") << "an empty table";
    EXPECT_EQ(app->m_rank, 1);
    for (int j = 0; j < 10; ++j) app->m_progress[20 + j] = 1000 - 100 * j;
    const std::tuple<int, int, const char*> cases[] = {{999, 2, "2nd"}, {500, 6, "6th"}, {100, 10, "10th"}, {50, 0, "10th"}};
    for (const auto& [score, rank, text] : cases) {
        app->m_score = score;
        EXPECT_EQ(app->p_MyNth().ToUtf8(), text) << score;
        EXPECT_EQ(app->m_rank, rank) << score;
    }
    // Below the whole table: no rescued line and no bar under it.
    Rescue(2);
    DrawBanner(30);
    EXPECT_EQ(RescuedLine(), "");
    EXPECT_TRUE(Rects(0, 125, 255).empty());
}

TEST_F(Ending, AFasterRescueOfTheSamePenguinsRanksHigher) {
    app->m_level = 1;
    auto finish = [&](int stepsLeft) {
        app->m_mode = screen::kInLevel;
        app->m_levelOver = 0;
        Rescue(2);
        app->m_player[play::kTimer] = static_cast<float>(stepsLeft);
        app->p_NoPenguinLeft();
        app->m_mode = screen::kLevelDone;
        Update();
        return app->m_score;
    };
    const int slow = finish(30 * 60);
    const int fast = finish(50 * 60 + 59);
    EXPECT_EQ(app->m_progress[0], fast);
    EXPECT_EQ(app->m_progress[1], slow);
    EXPECT_GT(fast, slow);
}

TEST_F(Ending, TheDriverHandsTheFinishedLevelToTheTitleAndTheBannerRetracts) {
    // Paused with the panel standing still: only the banner moves the level on.
    app->m_paused = 1;
    app->m_pauseDir = 0;
    app->m_endTimer = 89;
    app->m_musicOn = 1;
    Update();
    EXPECT_EQ(app->m_endTimer, 89) << "no banner while the level runs";
    app->m_levelOver = 1;
    Update();
    EXPECT_EQ(app->m_mode, screen::kLevelDone);
    EXPECT_EQ(app->m_endTimer, 73);
    EXPECT_EQ(app->m_musicOn, 0) << "the music stops with the level";
    std::vector<int> ages;
    for (int i = 0; i < 38; ++i) {
        Update();
        ages.push_back(app->m_endTimer);
    }
    EXPECT_EQ(app->m_mode, screen::kTitle);
    EXPECT_EQ(ages[0], 71);
    EXPECT_EQ(ages[35], 1);
    EXPECT_EQ(ages[37], 0) << "not below 0";

    // Without the music switch the tune is left alone.
    HasMusicStream = 0;
    app->m_mode = screen::kInLevel;
    app->m_endTimer = 89;
    app->m_musicOn = 1;
    Update();
    EXPECT_EQ(app->m_mode, screen::kLevelDone);
    EXPECT_EQ(app->m_musicOn, 1);
}

// Level 1 from the title: the Jump out of the dip, then home sped up; and the same won to its end.
const std::string kJumpHome = "title 1\nwait 734\nkey tap 74\nkey down 75\n";
const std::string kWinLevelOne = kJumpHome + "until end 6000\nkey up 75\n";
const std::string kLevelOneReplay = "./floeward-replays/level-01.script";

void Play(c_ReplayRunner& runner, const std::string& text) {
    c_ReplayScript script;
    c_ReplayError error;
    ASSERT_TRUE(vo_replay_ParseScript(text, script, error)) << error.p_Text() << "\n" << text;
    ASSERT_TRUE(runner.p_Run(script, error)) << error.p_Text() << "\n" << text;
}

TEST(LevelResult, EndingTheProgramDuringTheBannerRecordsTheLevelOnceWithItsReplay) {
    c_ReplayRunner runner;
    c_MyApp& app = runner.p_App();
    const VoHeadlessHost& host = runner.p_Game().m_host;
    // Half way through the banner, the program is asked to end (a close, F4 or a signal): what it
    // has recorded and saved then is all the player keeps.
    bool ended = false;
    int record = 0, levelSel = 0;
    std::string state, replay;
    runner.m_onUpdate = [&](int) {
        if (!ended && app.m_mode == screen::kInLevel && app.m_levelOver != 0 && app.m_endTimer == 45) {
            ended = true;
            app.p_OnEnd();
            record = app.m_progress[progress::kRecordBase];
            levelSel = app.m_levelSel;
            state = host.state;
            replay = host.files.count(kLevelOneReplay) ? host.files.at(kLevelOneReplay) : "";
        }
    };
    // The game plays on here, as the program would not: the banner's hand-over must not record again.
    ASSERT_NO_FATAL_FAILURE(Play(runner, kJumpHome + "until mode 1 6000\nkey up 75\nwait 60\n"));
    ASSERT_TRUE(ended);
    EXPECT_EQ(app.m_endReason, ending::kComplete);
    EXPECT_EQ(record, 1);
    EXPECT_EQ(levelSel, 1) << "the wheel stands at level 2";
    EXPECT_EQ(state, app.p_SaveString().ToUtf8());
    EXPECT_NE(replay.find("expect end 1 1 " + std::to_string(app.m_score)), std::string::npos) << "the replay is kept";
    EXPECT_GT(app.m_score, 0);
    EXPECT_EQ(app.m_progress[0], app.m_score);
    EXPECT_EQ(app.m_progress[1], 0) << "the banner's hand-over recorded the level again";

    // With no level pending, ending records nothing and saves nothing.
    const int saves = host.saves;
    app.p_OnEnd();
    EXPECT_EQ(host.saves, saves);
}

TEST(LevelResult, TheProgressIsSavedBeforeTheReplayAndAFailedSaveShowsOnTheTitleUntilOneSucceeds) {
    c_ReplayRunner runner;
    c_MyApp& app = runner.p_App();
    VoHeadlessHost& host = runner.p_Game().m_host;
    ASSERT_NO_FATAL_FAILURE(Play(runner, kWinLevelOne + "wait 60\n"));
    // On a disk with room for one file, the progress takes it.
    EXPECT_EQ(host.writes, (std::vector<std::string>{"state", kLevelOneReplay}));
    EXPECT_EQ(TextAt(app, menu_layout::kNoticeTop), "");

    const std::pair<VoSaveProblem, const char*> failures[] = {
        {VoSaveProblem::kDiskFull, "Progresscouldnotbesaved:diskfull"},
        {VoSaveProblem::kReadOnly, "Progresscouldnotbesaved:folderisread-only"},
    };
    for (const auto& [problem, notice] : failures) {
        host.failSaves = problem;
        // Losing the focus saves; the title goes on showing why that failed.
        ASSERT_NO_FATAL_FAILURE(Play(runner, "focus off\nfocus on\nwait 30\n"));
        EXPECT_EQ(TextAt(app, menu_layout::kNoticeTop), notice);
    }
    host.failSaves = VoSaveProblem::kNone;
    ASSERT_NO_FATAL_FAILURE(Play(runner, "focus off\nfocus on\nwait 2\n"));
    EXPECT_EQ(TextAt(app, menu_layout::kNoticeTop), "") << "a save that succeeds takes the notice away";
}

}  // namespace
}  // namespace game_test
