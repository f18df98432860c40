// Replays the game keeps: a level won writes every input it read as a script that plays back to
// the same input, update by update, and the same end; only a higher score replaces the kept one;
// the tool verifies a kept replay and refuses a changed, cut or foreign one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "replay_tool.h"
#include "tools/replay/replay_runner.h"

namespace game_test {
namespace {

const std::string kLevel1 = "./floeward-replays/level-01.script";

// Level 1 solved after the title: the Jump out of the dip after so many of the level's updates,
// then the penguin walks home sped up.
std::string Solution(int updates) {
    return "wait " + std::to_string(updates) + "\nkey tap 74\nkey down 75\nuntil end 6000\nkey up 75\n";
}
// The stored solution's Jump, one a few updates later that leaves the same seconds, and one on
// the penguin's next pass through the dip, five seconds later.
constexpr int kEarly = 734, kEarlyToo = 738, kLate = 1030;

bool SameInput(const c_InputState& a, const c_InputState& b) {
    for (int i = 0; i < replay::kMostKeys; ++i) {
        if (a.m_keys[i] != b.m_keys[i]) return false;
    }
    for (int p = 0; p < action::kPads; ++p) {
        for (int k = 0; k < replay::kPadButtons; ++k) {
            if (a.m_padButtons[p][k] != b.m_padButtons[p][k]) return false;
        }
        for (int s = 0; s < replay::kSticks; ++s) {
            if (a.m_sticks[p][s][0] != b.m_sticks[p][s][0] || a.m_sticks[p][s][1] != b.m_sticks[p][s][1]) return false;
        }
    }
    for (int f = 1; f < touch::kPoints; ++f) {
        if (a.m_touchDown[f] != b.m_touchDown[f]) return false;
        if (a.m_touchDown[f] && (a.m_touchX[f] != b.m_touchX[f] || a.m_touchY[f] != b.m_touchY[f])) return false;
    }
    return a.m_pointerDown == b.m_pointerDown && a.m_pointerX == b.m_pointerX && a.m_pointerY == b.m_pointerY &&
           a.m_width == b.m_width && a.m_height == b.m_height;
}

// A runner that keeps the input of every level update it records.
struct Recorder {
    c_ReplayRunner runner;
    std::vector<c_InputState> inputs;
    int recorded = 0;

    Recorder() {
        runner.m_onUpdate = [this](int) {
            const c_MyApp& app = runner.p_App();
            if (app.m_replay.m_updates > recorded) inputs.push_back(app.m_replayInput);
            recorded = app.m_replay.m_updates;
            if (app.m_mode != screen::kInLevel) recorded = 0;
        };
    }

    void Play(const std::string& text) {
        c_ReplayScript script;
        c_ReplayError error;
        ASSERT_TRUE(vo_replay_ParseScript(text, script, error)) << error.p_Text() << "\n" << text;
        ASSERT_TRUE(runner.p_Run(script, error)) << error.p_Text() << "\n" << text;
    }

    std::string Kept(const std::string& location = kLevel1) {
        const auto& files = runner.p_Game().m_host.files;
        auto file = files.find(location);
        return file == files.end() ? std::string() : file->second;
    }
};

TEST(KeptReplays, AWonLevelPlaysBackToTheSameInputEveryUpdateAndTheSameEnd) {
    std::string kept;
    std::vector<c_InputState> played;
    c_LevelEnd end;
    {
        Recorder first;
        // Every kind of input on top of the solution, in a window of another shape, with held
        // keys, a pad, both sticks, the pointer and a second finger; none of them turns the level.
        first.Play(
            "window 800 600\ntitle 1\n"
            "pointer move 300 40\npad stick 1 0 0.5 -0.25\npad down 1 3\nkey down 86\nwait 5\n"
            "pad up 1 3\ntouch down 1 60 60\nwait 2\ntouch move 1 70 65\npad stick 1 1 -0.75 0.125\nwait 3\n"
            "touch up 1\nkey up 86\npad stick 1 0 0 0\npad stick 1 1 0 0\npointer move 310 45\nwait 1\n"
            "pointer down 320 200\nwait 1\npointer up\nwait 3\n" +
            std::string("wait 719\nkey tap 74\nkey down 75\nuntil end 6000\nkey up 75\n"));
        ASSERT_EQ(first.runner.p_LevelEnds().size(), 1u);
        end = first.runner.p_LevelEnds()[0];
        ASSERT_EQ(end.m_rescued, 1) << "the extra input turned the level";
        kept = first.Kept();
        played = first.inputs;
    }
    ASSERT_FALSE(kept.empty()) << "a won level keeps its replay";
    for (const char* line : {"\nwindow 800 600\n", "\nenter 1 1 10 0 0 0 0\n", "\nkey down 86\n", "\npad down 1 3\n",
                             "\npad stick 1 1 -0.750000000000 0.125000000000\n", "\ntouch down 1 60 60\n",
                             "\npointer up\n", "\nuntil end\n"}) {
        EXPECT_NE(kept.find(line), std::string::npos) << line << "\n" << kept;
    }

    Recorder again;
    again.Play(kept);
    ASSERT_EQ(again.runner.p_LevelEnds().size(), 1u);
    const c_LevelEnd& replayed = again.runner.p_LevelEnds()[0];
    EXPECT_EQ(replayed.m_reason, end.m_reason);
    EXPECT_EQ(replayed.m_rescued, end.m_rescued);
    EXPECT_EQ(replayed.m_score, end.m_score);
    for (int k = 0; k < play::kCarriedCounters; ++k) EXPECT_EQ(replayed.m_counters[k], end.m_counters[k]) << k;
    ASSERT_EQ(again.inputs.size(), played.size());
    for (size_t u = 0; u < played.size(); ++u) ASSERT_TRUE(SameInput(again.inputs[u], played[u])) << "update " << u;
    // The replay of a replay is the replay.
    EXPECT_EQ(again.Kept(), kept);
}

// The score a kept replay's last line records.
int KeptScore(const std::string& text) {
    const size_t at = text.rfind("expect end ");
    int reason = 0, rescued = 0, score = -1;
    if (at != std::string::npos) std::sscanf(text.c_str() + at, "expect end %d %d %d", &reason, &rescued, &score);
    return score;
}

TEST(KeptReplays, OnlyAHigherScoreReplacesTheKeptReplayAndALostLevelKeepsNothing) {
    Recorder game;
    // Quitting from the pause panel is no win: nothing is kept.
    game.Play("title 1\nwait 30\nkey tap 27\nwait 40\nkey tap 38\nwait 2\nkey tap 38\nwait 2\nkey tap 13\nuntil end 3000\n");
    ASSERT_EQ(game.runner.p_LevelEnds().size(), 1u);
    ASSERT_EQ(game.runner.p_LevelEnds()[0].m_reason, ending::kQuit);
    EXPECT_EQ(game.Kept(), "");

    game.Play("title 1\n" + Solution(kLate));
    const int slow = game.runner.p_LevelEnds().back().m_score;
    ASSERT_EQ(KeptScore(game.Kept()), slow);
    game.Play("title 1\n" + Solution(kEarly));
    const int fast = game.runner.p_LevelEnds().back().m_score;
    ASSERT_GT(fast, slow) << "the early Jump leaves more seconds";
    EXPECT_EQ(KeptScore(game.Kept()), fast);
    const std::string bestText = game.Kept();
    // The lower score again, then the same one again: the file stays as it is.
    game.Play("title 1\n" + Solution(kLate));
    EXPECT_EQ(game.Kept(), bestText);
    game.Play("title 1\n" + Solution(kEarlyToo));
    EXPECT_EQ(game.Kept(), bestText) << "an equal score keeps the replay there";

    // A damaged file is no record to beat: the next win replaces it.
    game.runner.p_Game().m_host.files[kLevel1] = bestText.substr(0, bestText.size() / 2);
    game.Play("title 1\n" + Solution(kLate));
    EXPECT_EQ(KeptScore(game.Kept()), slow);
}

TEST_F(ReplayTool, VerifyPlaysAKeptReplayAndRefusesAChangedCutOrForeignOne) {
    std::string kept;
    {
        Recorder game;
        game.Play("title 1\n" + Solution(kEarly));
        kept = game.Kept();
    }
    ASSERT_FALSE(kept.empty());
    Write("kept", kept);
    EXPECT_EQ(Tool("--verify " + Path("kept")), 0) << err;
    EXPECT_EQ(out.rfind("level 1 reason 1 rescued 1 counters 9 0 0 0 0 0 0 0 score ", 0), 0u) << out;

    // The same inputs with another recorded end: the level does not end so.
    const size_t end = kept.rfind("expect end 1 1 ");
    ASSERT_NE(end, std::string::npos);
    Write("changed", kept.substr(0, end) + "expect end 1 1 1\n");
    EXPECT_EQ(Tool("--verify " + Path("changed")), 2);
    EXPECT_NE(err.find("the level ended with reason 1, 1 rescued, score"), std::string::npos) << err;

    // Cut short, at a line or inside one: no end to check, or a broken line.
    Write("cut", kept.substr(0, end));
    EXPECT_EQ(Tool("--verify " + Path("cut")), 1);
    EXPECT_NE(err.find("is not a replay"), std::string::npos) << err;
    Write("broken", kept.substr(0, kept.find("\nenter ") + 4));
    EXPECT_EQ(Tool("--verify " + Path("broken")), 1);
    EXPECT_NE(err.find("is not a replay: line"), std::string::npos) << err;
    // A script of another kind is not a replay either, though it plays.
    Write("script", "title 1\n" + Solution(kEarly));
    EXPECT_EQ(Tool("--verify " + Path("script")), 1);
    Write("foreign", std::string("\x89PNG\r\n\x1a\n\0\0", 10));
    EXPECT_EQ(Tool("--verify " + Path("foreign")), 1);
    EXPECT_EQ(Tool("--verify " + Path("kept") + " --state " + Path("state")), 1) << "a replay brings its own start";
}

}  // namespace
}  // namespace game_test
