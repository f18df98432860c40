// Input scripts and the replay runner: the reader's commands, bounds and line numbers; scripts
// played on the headless game reaching it as the host would deliver them; the same script
// giving the same game twice; the level-end report and the saved state; the tool's exit codes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "framework/app/input.h"
#include "framework/app/random.h"
#include "replay_tool.h"
#include "tools/replay/replay_runner.h"

namespace game_test {
namespace {

c_ReplayScript Parse(const std::string& text) {
    c_ReplayScript script;
    c_ReplayError error;
    EXPECT_TRUE(vo_replay_ParseScript(text, script, error)) << text << "\n" << error.p_Text();
    return script;
}

c_ReplayError ParseError(const std::string& text) {
    c_ReplayScript script;
    c_ReplayError error;
    EXPECT_FALSE(vo_replay_ParseScript(text, script, error)) << text;
    EXPECT_TRUE(script.m_commands.empty()) << text;
    return error;
}

TEST(ReplayScript, EveryCommandReadsIntoItsFields) {
    const c_ReplayScript script = Parse(
        "at 7\nwait 3\nuntil loaded\nuntil mode 10 50\nuntil end 9\nstart 15 50\n"
        "key down 74\nkey up 16\nkey tap 96\nchar 65569\n"
        "pointer move -3 480\npointer down 10 20\npointer down 10 20 2\npointer up\npointer up 1\n"
        "touch down 31 5 6\ntouch move 0 -7 8\ntouch up 4\n"
        "pad down 3 13\npad up 0 0\npad stick 2 1 -0.25 1\nfocus off\nfocus on\n");
    struct Want {
        c_ReplayOp op;
        int number, index, button;
        float x, y;
    };
    using O = c_ReplayOp;
    const Want want[] = {
        {O::kAt, 7, 0, 0, 0, 0},           {O::kWait, 3, 0, 0, 0, 0},          {O::kUntil, 36000, 0, 0, 0, 0},
        {O::kUntil, 50, 10, 0, 0, 0},      {O::kUntil, 9, 0, 0, 0, 0},         {O::kStart, 15, 50, 0, 0, 0},
        {O::kKeyDown, 74, 0, 0, 0, 0},     {O::kKeyUp, 16, 0, 0, 0, 0},        {O::kKeyTap, 96, 0, 0, 0, 0},
        {O::kChar, 65569, 0, 0, 0, 0},     {O::kPointerMove, 0, 0, 0, -3, 480}, {O::kPointerDown, 0, 0, 0, 10, 20},
        {O::kPointerDown, 0, 2, 0, 10, 20}, {O::kPointerUp, 0, 0, 0, 0, 0},    {O::kPointerUp, 0, 1, 0, 0, 0},
        {O::kTouchDown, 0, 31, 0, 5, 6},   {O::kTouchMove, 0, 0, 0, -7, 8},    {O::kTouchUp, 0, 4, 0, 0, 0},
        {O::kPadDown, 0, 3, 13, 0, 0},     {O::kPadUp, 0, 0, 0, 0, 0},         {O::kPadStick, 0, 2, 1, -0.25f, 1},
        {O::kFocusOff, 0, 0, 0, 0, 0},     {O::kFocusOn, 0, 0, 0, 0, 0},
    };
    ASSERT_EQ(script.m_commands.size(), std::size(want));
    for (size_t i = 0; i < std::size(want); ++i) {
        const c_ReplayCommand& c = script.m_commands[i];
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(c.m_line, static_cast<int>(i + 1));
        EXPECT_EQ(c.m_op, want[i].op);
        EXPECT_EQ(c.m_number, want[i].number);
        EXPECT_EQ(c.m_index, want[i].index);
        EXPECT_EQ(c.m_button, want[i].button);
        EXPECT_EQ(c.m_x, want[i].x);
        EXPECT_EQ(c.m_y, want[i].y);
    }
    EXPECT_EQ(script.m_commands[2].m_condition, c_ReplayCondition::kLoaded);
    EXPECT_EQ(script.m_commands[3].m_condition, c_ReplayCondition::kMode);
    EXPECT_EQ(script.m_commands[4].m_condition, c_ReplayCondition::kEnd);
}

TEST(ReplayScript, AKeptReplaysOwnLinesReadIntoTheirFields) {
    const c_ReplayScript script =
        Parse("window 800 600\nenter 3 2 7 2 0 1 9999\ncarry 1 0 -0.35 1 3 1 0 524287\nexpect end 8 2 215\n");
    ASSERT_EQ(script.m_commands.size(), 4u);
    const c_ReplayCommand& window = script.m_commands[0];
    EXPECT_EQ(window.m_op, c_ReplayOp::kWindow);
    EXPECT_EQ(window.m_number, 800);
    EXPECT_EQ(window.m_index, 600);
    const c_ReplayCommand& enter = script.m_commands[1];
    EXPECT_EQ(enter.m_op, c_ReplayOp::kEnter);
    EXPECT_EQ(enter.m_number, 3);
    EXPECT_EQ(enter.m_index, 2);
    EXPECT_EQ(std::vector<int>(enter.m_counters, enter.m_counters + skill::kCount), (std::vector<int>{7, 2, 0, 1, 9999}));
    const c_ReplayCommand& carry = script.m_commands[2];
    EXPECT_EQ(carry.m_op, c_ReplayOp::kCarry);
    const c_LevelFields& carried = carry.m_carried;
    EXPECT_EQ((std::vector<int>{carried.m_keyUsed, carried.m_pointerUsed, carried.m_optCursor, carried.m_hideHud,
                                carry.m_carry[kCarryICade], carry.m_carry[kCarryPads]}),
              (std::vector<int>{1, 0, 3, 1, 0, 524287}));
    EXPECT_FLOAT_EQ(carried.m_keyRampX, -0.35f);
    EXPECT_FLOAT_EQ(carried.m_keyRampY, 1);
    const c_ReplayCommand& end = script.m_commands[3];
    EXPECT_EQ(end.m_op, c_ReplayOp::kExpectEnd);
    EXPECT_EQ(end.m_number, 8);
    EXPECT_EQ(end.m_index, 2);
    EXPECT_EQ(end.m_counters[0], 215);
    EXPECT_TRUE(vo_replay_IsKeptReplay(Parse("enter 1 1 0 0 0 0 0\nexpect end 1 1 150\n")));
    EXPECT_FALSE(vo_replay_IsKeptReplay(Parse("enter 1 1 0 0 0 0 0\nexpect end 1 1 150\nwait 1\n")));
    EXPECT_FALSE(vo_replay_IsKeptReplay(Parse("start 1 1\nexpect end 1 1 150\n")));
    EXPECT_FALSE(vo_replay_IsKeptReplay(Parse("")));
}

TEST(ReplayScript, CommentsBlankLinesAndSpacingAreSkipped) {
    const c_ReplayScript script = Parse("# a solution\n\n   \t\r\n\twait   3 # three updates\r\n#wait 4\nkey tap 74#J\n");
    ASSERT_EQ(script.m_commands.size(), 2u);
    EXPECT_EQ(script.m_commands[0].m_line, 4);
    EXPECT_EQ(script.m_commands[0].m_number, 3);
    EXPECT_EQ(script.m_commands[1].m_line, 6);
    EXPECT_EQ(script.m_commands[1].m_number, 74);
    EXPECT_TRUE(Parse("").m_commands.empty());
}

TEST(ReplayScript, BadLinesAreRefusedWithTheirNumber) {
    struct Case {
        const char* text;
        int line;
        const char* says;
    };
    const Case cases[] = {
        {"wait 1\njump 3", 2, "unknown command 'jump'"},
        {"wait", 1, "expected: wait N"},
        {"wait 1 2", 1, "expected: wait N"},
        {"wait -1", 1, "from 0 to 1000000, not '-1'"},
        {"wait +1", 1, "not '+1'"},
        {"wait 3x", 1, "not '3x'"},
        {"wait 99999999999999999999999999", 1, "not '999999999999999999999999...'"},
        {"at 10\nwait 1\nat 10", 3, "update 10 is already past"},
        {"wait 600000\nwait 400000\nkey tap 74", 3, "may run more than 1000000 updates"},
        {"until", 1, "expected: until"},
        {"until soon", 1, "unknown condition 'soon'"},
        {"until mode", 1, "expected: until mode N"},
        {"until mode 1000", 1, "a screen state must be a whole number from 0 to 999"},
        {"until end 0", 1, "the most updates must be"},
        {"until end 5 6", 1, "too many words"},
        {"start 16 3", 1, "a level must be a whole number from 1 to 15"},
        {"start 1 0", 1, "a number of penguins must be a whole number from 1 to 50"},
        {"key press 74", 1, "expected key down, up or tap, not 'press'"},
        {"key down 512", 1, "from 1 to 511"},
        {"key down 1", 1, "no keyboard key has code 1"},
        {"key down 416", 1, "no keyboard key has code 416"},
        {"key up 115", 1, "F4"},
        {"char 0", 1, "a character must be"},
        {"char 1114112", 1, "a character must be"},
        {"pointer move 1", 1, "expected: pointer move X Y"},
        {"pointer move 10001 0", 1, "a virtual x must be a whole number from -10000 to 10000"},
        {"pointer down 0 -10001", 1, "a virtual y must be"},
        {"pointer down 0 0 3", 1, "a mouse button must be"},
        {"pointer up 0 0", 1, "expected: pointer up [BUTTON]"},
        {"pointer click", 1, "expected pointer move, down or up"},
        {"touch down 32 0 0", 1, "a finger must be a whole number from 0 to 31"},
        {"touch up", 1, "expected: touch up FINGER"},
        {"pad down 4 0", 1, "a pad must be a whole number from 0 to 3"},
        {"pad up 0 14", 1, "a pad button must be a whole number from 0 to 13"},
        {"pad stick 0 2 0 0", 1, "a stick must be"},
        {"pad stick 0 0 1.5 0", 1, "a stick position must be a decimal from -1 to 1, not '1.5'"},
        {"pad stick 0 0 0 nan", 1, "not 'nan'"},
        {"pad stick 0 0 1e0 0", 1, "not '1e0'"},
        {"focus lost", 1, "expected focus off or on"},
        {"enter 16 1 0 0 0 0 0", 1, "a level must be a whole number from 1 to 15"},
        {"enter 2 1 0 0 0 0", 1, "expected: enter LEVEL PENGUINS J L M B S"},
        {"carry 2 0 0 0 0 0 0 0", 1, "a latch must be a whole number from 0 to 1"},
        {"carry 0 0 1.5 0 0 0 0 0", 1, "a key ramp must be a decimal from -1 to 1"},
        {"carry 0 0 0 0 4 0 0 0", 1, "an options row must be a whole number from 0 to 3"},
        {"carry 0 0 0 0 0 0 0 524288", 1, "a button mask must be a whole number from 0 to 524287"},
        {"window 159 480", 1, "a width must be a whole number from 160 to 16384"},
        {"expect end 1 1", 1, "expected: expect end REASON RESCUED SCORE"},
        {"expect end 10 1 100", 1, "a reason must be a whole number from 0 to 9"},
        {"wait 1 2 3 4 5 6 7 8 9 10", 1, "too many words"},
        {"wait\x01 1", 1, "unknown command 'wait?'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const c_ReplayError error = ParseError(c.text);
        EXPECT_EQ(error.m_line, c.line);
        EXPECT_NE(error.m_message.find(c.says), std::string::npos) << error.m_message;
        EXPECT_EQ(error.p_Text().rfind("line " + std::to_string(c.line) + ": ", 0), 0u) << error.p_Text();
    }
}

TEST(ReplayScript, BoundsAreInclusive) {
    const c_ReplayScript script = Parse(
        "key down 8\nkey down 222\nchar 1114111\npointer move -10000 10000\npad stick 0 0 -1 1.0\n"
        "until end 1\nwait 964000\nat 964000\n");
    EXPECT_EQ(script.m_commands.size(), 8u);
    // `start` may wait for the loader as `until` does: its default counts against the budget too.
    ParseError("wait 964001\nstart 1 1");
}

// A runner on a fresh game, with each update's screen state recorded.
class ReplayRun : public testing::Test {
protected:
    ReplayRun() {
        runner.m_onUpdate = [this](int) { modes.push_back(app.m_mode); };
    }
    bool Play(const std::string& text) {
        error = c_ReplayError();
        return runner.p_Run(Parse(text), error);
    }
    // Runs until the loader is done and starts level 1; the updates that took.
    int StartLevel() {
        EXPECT_TRUE(Play("start 1 5\nwait 1")) << error.p_Text();
        return runner.p_Updates();
    }

    c_ReplayRunner runner;
    c_MyApp& app = runner.p_App();
    std::vector<int> modes;
    c_ReplayError error;
};

TEST_F(ReplayRun, StartWaitsForTheLoaderThenTheDriverBuildsTheLevel) {
    ASSERT_TRUE(Play("start 2 7\nwait 3")) << error.p_Text();
    const int loading = runner.p_Updates() - 3;
    EXPECT_GT(loading, 1) << "the loader runs first";
    std::vector<int> want(static_cast<size_t>(loading), screen::kTitle);
    want.insert(want.end(), 3, screen::kInLevel);
    EXPECT_EQ(modes, want);
    EXPECT_EQ(app.m_level, 2);
    int tiles = 0;
    for (int cell = 0; cell < grid::kRowCells * (grid::kRows + 2); ++cell) tiles += app.m_grid[cell * grid::kCellFloats] != 0;
    EXPECT_GT(tiles, 0) << "the level was built";
    EXPECT_TRUE(runner.p_LevelEnds().empty());
}

TEST_F(ReplayRun, KeysAndPadButtonsReachTheGameAsActions) {
    StartLevel();
    std::vector<int> use, left;
    runner.m_onUpdate = [&](int) {
        use.push_back(app.p_PlayKeyAll(action::kUse, 0) != 0);
        left.push_back(app.p_PlayKeyAll(action::kLeft, 0) != 0);
    };
    ASSERT_TRUE(Play("key down 74\nwait 2\nkey up 74\nwait 1\npad down 0 0\nwait 1\npad up 0 0\nwait 1\n"
                     "key tap 37\nwait 1\npad down 2 8\nwait 1\npad up 2 8\nwait 1"))
        << error.p_Text();
    EXPECT_EQ(use, (std::vector<int>{1, 1, 0, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(left, (std::vector<int>{0, 0, 0, 0, 0, 1, 0, 1, 0})) << "the arrow key, then pad 2's button 8";
}

TEST_F(ReplayRun, PadButtonsAndSticksReadBackAsTheGameNumbersThem) {
    StartLevel();
    for (int button = 0; button < 14; ++button) {
        SCOPED_TRACE(button);
        ASSERT_TRUE(Play("pad down 1 " + std::to_string(button) + "\nwait 1")) << error.p_Text();
        for (int other = 0; other < 32; ++other) EXPECT_EQ(vo_input_JoyDown(other, 1), other == button ? 1 : 0) << other;
        ASSERT_TRUE(Play("pad up 1 " + std::to_string(button) + "\nwait 1"));
        EXPECT_EQ(vo_input_JoyDown(button, 1), 0);
    }
    ASSERT_TRUE(Play("pad stick 1 0 0.5 -0.25\npad stick 1 1 -1 0.75\nwait 1"));
    EXPECT_EQ(vo_input_JoyX(0, 1), 0.5f);
    EXPECT_EQ(vo_input_JoyY(0, 1), -0.25f);
    EXPECT_EQ(vo_input_JoyX(1, 1), -1.0f);
    EXPECT_EQ(vo_input_JoyY(1, 1), 0.75f);
    EXPECT_EQ(vo_input_JoyX(0, 0), 0.0f) << "pad 0 is plugged in, idle, so that pad 1 keeps its number";
}

TEST_F(ReplayRun, PointerAndFingersReadBackAsTheVirtualPixelsAskedFor) {
    StartLevel();
    auto expectPointer = [&](int x, int y) {
        ASSERT_TRUE(Play("pointer move " + std::to_string(x) + " " + std::to_string(y) + "\nwait 1"));
        EXPECT_EQ(app.m_mouseX, x);
        EXPECT_EQ(app.m_mouseY, y);
    };
    for (auto [x, y] : {std::pair{0, 0}, {123, 45}, {639, 479}, {-3, -1}}) expectPointer(x, y);

    ASSERT_TRUE(Play("pointer down 200 100\nwait 1"));
    EXPECT_EQ(app.m_pointerDown, 1);
    EXPECT_EQ(app.m_touchX[0], 200) << "the left button is the first finger too";
    ASSERT_TRUE(Play("pointer up\ntouch down 3 17 301\nwait 1"));
    EXPECT_EQ(app.m_touchDown[3], 1);
    EXPECT_EQ(app.m_touchX[3], 17);
    EXPECT_EQ(app.m_touchY[3], 301);
    EXPECT_EQ(app.m_touchDown[0], 0);
    ASSERT_TRUE(Play("touch move 3 18 302\nwait 1"));
    EXPECT_EQ(app.m_touchX[3], 18);
    ASSERT_TRUE(Play("touch up 3\nwait 1"));
    EXPECT_EQ(app.m_touchDown[3], 0);
    EXPECT_EQ(app.m_pointerDown, 0);

    // F11: full screen at the desktop's 1920 by 1080, another scale, the pictures loaded again.
    ASSERT_TRUE(Play("key tap 122\nuntil loaded"));
    ASSERT_EQ(runner.p_Game().m_ws.width, 1920);
    ASSERT_NE(app.m_scaleX, 1.0f);
    for (auto [x, y] : {std::pair{123, 45}, {850, 479}}) expectPointer(x, y);
}

// Ends the level in play after the given update as the level code ends one: the screen state
// and what a finished level leaves behind (3 penguins home, counters 1 to 10, score 345).
void EndLevelAfter(c_ReplayRunner& runner, int at) {
    runner.m_onUpdate = [&runner, at](int update) {
        if (update != at) return;
        c_MyApp& app = runner.p_App();
        app.m_mode = screen::kLevelDone;
        app.m_levelOver = 1;
        app.m_endReason = ending::kOutOfTime;
        app.m_score = 345;
        for (int p = 0; p < pen::kRecords; ++p) app.m_pen[p * pen::kFloats + pen::kState] = p < 3 ? pen::kRescued : pen::kWalking;
        for (int k = 0; k < play::kCounterSlots; ++k) app.m_player[play::kCounters + k] = static_cast<float>(k + 1);
    };
}

TEST_F(ReplayRun, TheLevelEndIsReportedWhenTheDriverRecordsIt) {
    const int started = StartLevel();
    std::vector<c_LevelEnd> reported;
    runner.m_onLevelEnd = [&](const c_LevelEnd& end) { reported.push_back(end); };
    EndLevelAfter(runner, started + 2);
    ASSERT_TRUE(Play("until end 10")) << error.p_Text();
    ASSERT_EQ(runner.p_LevelEnds().size(), 1u);
    const c_LevelEnd& end = runner.p_LevelEnds()[0];
    EXPECT_EQ(end.m_level, 1);
    EXPECT_EQ(end.m_reason, ending::kOutOfTime);
    EXPECT_EQ(end.m_rescued, 3);
    EXPECT_EQ(end.m_score, 345);
    EXPECT_EQ(end.m_update, started + 3) << "the update after the level finished records it";
    EXPECT_EQ(runner.p_Updates(), started + 3) << "`until end` stops there";
    EXPECT_EQ(app.m_mode, screen::kTitle);
    EXPECT_EQ(vo_replay_FormatLevelEnd(end),
              "level 1 reason 8 rescued 3 counters 1 2 3 4 5 6 7 8 score 345 update " + std::to_string(started + 3));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(vo_replay_FormatLevelEnd(reported[0]), vo_replay_FormatLevelEnd(end));
    ASSERT_TRUE(Play("wait 5"));
    EXPECT_EQ(runner.p_LevelEnds().size(), 1u) << "the title is no level end";
}

// A saved state with level 1's record in it, written by a run whose level ended.
std::string StateWithARecord() {
    c_ReplayRunner runner;
    c_ReplayError error;
    EXPECT_TRUE(runner.p_Run(Parse("start 1 5\nwait 1"), error));
    EndLevelAfter(runner, runner.p_Updates() + 1);
    EXPECT_TRUE(runner.p_Run(Parse("until end 10"), error)) << error.p_Text();
    EXPECT_TRUE(runner.p_Saved());
    return runner.p_State();
}

TEST(ReplayState, TheSavedStateGoesInAndComesOut) {
    const std::string state = StateWithARecord();
    c_ReplayRunner runner(state);
    EXPECT_FALSE(runner.p_Saved());
    EXPECT_EQ(runner.p_State(), state);
    const c_MyApp& app = runner.p_App();
    EXPECT_EQ(app.m_progress[0], 345) << "level 1's best score";
    EXPECT_EQ(app.m_progress[progress::kRecordBase], 3) << "its most rescued";
    EXPECT_EQ(app.m_progress[progress::kRecordBase + 1], 1) << "its counters";
}

// Everything an update leaves that the script could change, as one line.
std::string Snapshot(const c_MyApp& app) {
    uint64_t hash = 1469598103934665603ull;
    auto mix = [&hash](const void* data, size_t bytes) {
        const unsigned char* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < bytes; ++i) hash = (hash ^ p[i]) * 1099511628211ull;
    };
    mix(app.m_drawQueue.Data(), sizeof(float) * static_cast<size_t>(app.m_drawCount));
    mix(app.m_pen.Data(), sizeof(float) * static_cast<size_t>(app.m_pen.Length()));
    mix(app.m_player.Data(), sizeof(float) * static_cast<size_t>(app.m_player.Length()));
    mix(app.m_part.Data(), sizeof(float) * static_cast<size_t>(app.m_part.Length()));
    mix(app.m_star.Data(), sizeof(float) * static_cast<size_t>(app.m_star.Length()));
    std::ostringstream line;
    line << app.m_mode << " " << app.m_drawCount << " " << vo_random_Seed << " " << app.m_mouseX << "," << app.m_mouseY
         << " " << hash;
    return line.str();
}

TEST(ReplayDeterminism, TheSameScriptPlaysTheSameGameTwice) {
    const std::string text =
        "start 1 10\nwait 60\nkey tap 39\npointer down 300 200\nwait 2\npointer up\nkey tap 74\n"
        "pad stick 0 0 0.8 0\nwait 30\npad stick 0 0 0 0\ntouch down 1 100 100\nwait 1\ntouch up 1\n"
        "focus off\nfocus on\nkey tap 27\nwait 120\n";
    struct Run {
        std::vector<std::string> updates;
        std::vector<std::string> ends;
        std::string state;
    };
    auto play = [&] {
        Run run;
        c_ReplayRunner runner;
        runner.m_onUpdate = [&](int) { run.updates.push_back(Snapshot(runner.p_App())); };
        c_ReplayError error;
        EXPECT_TRUE(runner.p_Run(Parse(text), error)) << error.p_Text();
        for (const c_LevelEnd& end : runner.p_LevelEnds()) run.ends.push_back(vo_replay_FormatLevelEnd(end));
        run.state = runner.p_State();
        return run;
    };
    const Run first = play();
    const Run second = play();
    ASSERT_EQ(first.updates.size(), second.updates.size());
    for (size_t i = 0; i < first.updates.size(); ++i) ASSERT_EQ(first.updates[i], second.updates[i]) << "update " << i + 1;
    EXPECT_EQ(first.ends, second.ends);
    EXPECT_EQ(first.state, second.state);
    EXPECT_FALSE(first.state.empty()) << "the focus change saved";
    // Not a still picture: the game moved from update to update.
    EXPECT_GT(std::set<std::string>(first.updates.begin(), first.updates.end()).size(), first.updates.size() / 2);
}

TEST_F(ReplayRun, UntilAtAndUnfocusedUpdatesFailOnTheirLine) {
    EXPECT_FALSE(Play("wait 1\nuntil mode 10 5"));
    EXPECT_EQ(error.m_line, 2);
    EXPECT_NE(error.m_message.find("within 5 updates (it is 1)"), std::string::npos) << error.m_message;
    EXPECT_EQ(runner.p_Updates(), 6);

    EXPECT_FALSE(Play("at 3"));
    EXPECT_EQ(error.m_line, 1);
    EXPECT_NE(error.m_message.find("update 3 is already past (6 have run)"), std::string::npos) << error.m_message;

    EXPECT_FALSE(Play("start 1 4\nwait 2\nuntil end 20"));
    EXPECT_EQ(error.m_line, 3);
    EXPECT_NE(error.m_message.find("no level ended within 20 updates"), std::string::npos);

    EXPECT_FALSE(Play("focus off\nfocus on\nfocus off\nwait 1"));
    EXPECT_EQ(error.m_line, 4);
    EXPECT_NE(error.m_message.find("no focus"), std::string::npos);
    EXPECT_TRUE(Play("focus on\nwait 1"));
    EXPECT_EQ(app.m_paused, 1) << "a level stays paused when the focus comes back";
}

TEST_F(ReplayTool, ExitCodesTellAPlayedScriptFromABadOneAndAFailedOne) {
    Write("good", "start 1 3\nwait 5\n");
    EXPECT_EQ(Tool(Path("good")), 0) << err;
    EXPECT_EQ(out, "") << "the game's own log goes to standard error; no level ended";

    Write("bad", "wait 1\nkey down 1\n");
    EXPECT_EQ(Tool(Path("bad")), 1);
    EXPECT_NE(err.find("line 2: no keyboard key has code 1"), std::string::npos) << err;

    EXPECT_EQ(Tool(Path("missing")), 1);
    EXPECT_NE(err.find("cannot read"), std::string::npos) << err;
    EXPECT_EQ(Tool(""), 1);
    EXPECT_NE(err.find("usage: floeward-replay SCRIPT"), std::string::npos) << err;
    EXPECT_EQ(Tool(Path("good") + " " + Path("good")), 1);

    Write("late", "start 1 3\nuntil end 5\n");
    EXPECT_EQ(Tool(Path("late")), 2);
    EXPECT_NE(err.find("line 2: no level ended within 5 updates"), std::string::npos) << err;
}

TEST_F(ReplayTool, TheStateFileIsReadAtStartAndWrittenWhenTheGameSaves) {
    Write("focus", "wait 2\nfocus off\nfocus on\nwait 1\n");
    const std::string recorded = StateWithARecord();
    Write("state", recorded);
    ASSERT_EQ(Tool(Path("focus") + " --state " + Path("state")), 0) << err;
    EXPECT_EQ(Read("state"), recorded) << "loaded, then saved back unchanged on the focus change";

    std::remove(Path("fresh").c_str());
    ASSERT_EQ(Tool(Path("focus") + " --state " + Path("fresh")), 0) << err;
    const std::string fresh = Read("fresh");
    EXPECT_FALSE(fresh.empty());
    EXPECT_NE(fresh, recorded);

    // A script in which the game never saves leaves the file alone.
    Write("quiet", "wait 2\n");
    std::remove(Path("untouched").c_str());
    ASSERT_EQ(Tool(Path("quiet") + " --state " + Path("untouched")), 0) << err;
    EXPECT_FALSE(std::ifstream(Path("untouched")).good());
}

}  // namespace
}  // namespace game_test
