// The penguins of a level: walking, walls and turns, falling and landing, meeting each other,
// the steps an update runs, how a level ends, and level 1 played out with and without a Jump.
#include <cmath>
#include <vector>

#include "level_fixture.h"

namespace game_test {
namespace {

using Penguins = LevelTest;

constexpr float kEps = 1e-4f;

TEST_F(Penguins, WalkAlongTheGroundTurnAtAWallAndFaceBackHalfwayThroughTheTurn) {
    Blank();
    Blocks(1, 28, 10);
    Blocks(8, 8, 9);
    const int r = Walker(5, 9, 1);
    float last = X(r);
    int thuds = Thuds();
    while (State(r) == pen::kWalking && X(r) < 8) {
        Play();
        if (State(r) == pen::kWalking) {
            EXPECT_NEAR(X(r) - last, 0.025f, kEps);
            EXPECT_EQ(Y(r), 9) << "on the ground, never sinking or rising";
            last = X(r);
        }
    }
    // The turn starts in the step that takes it past a quarter cell towards the wall.
    ASSERT_EQ(State(r), pen::kTurning);
    EXPECT_LE(last - 7, 0.25f);
    EXPECT_GT(Pen(r, pen::kOffsetX), 0.25f);
    EXPECT_EQ(Pen(r, pen::kCellX), 7);
    EXPECT_EQ(Thuds(), thuds + 1);
    EXPECT_EQ(Pen(r, pen::kNewDir), -1);

    const float turnedAt = X(r);
    const int dirs[] = {1, 1, -1, -1, -1, -1};
    for (int step = 0; step < 6; ++step) {
        Play();
        EXPECT_EQ(Pen(r, pen::kDir), dirs[step]) << step;
        EXPECT_EQ(State(r), step < 5 ? pen::kTurning : pen::kWalking) << step;
    }
    EXPECT_EQ(X(r), turnedAt) << "it stands still while it turns";
    Play();
    EXPECT_NEAR(X(r), turnedAt - 0.025f, kEps);
}

TEST_F(Penguins, WalkOffAnEdgeFallFasterUpToAQuarterCellAndThudOnlyOnAHardLanding) {
    Blank();
    Blocks(1, 6, 10);
    Blocks(1, 28, 14);
    const int r = Walker(5, 9, 1);
    while (Y(r) == 9) Play();
    std::vector<float> speeds;
    const int thuds = Thuds();
    while (Y(r) < 13) {
        speeds.push_back(Pen(r, pen::kFallSpeed));
        const float x = X(r);
        Play();
        if (Y(r) < 12.5f) {
            EXPECT_NEAR(X(r) - x, 0.015f, kEps) << "drifting on in the air";
        }
    }
    ASSERT_GE(speeds.size(), 11u);
    for (size_t i = 0; i < speeds.size(); ++i) {
        EXPECT_NEAR(speeds[i], std::min(0.025f * static_cast<float>(i + 1), 0.25f), kEps) << i;
    }
    Play(3);
    EXPECT_EQ(Y(r), 13) << "standing on the lower floor";
    EXPECT_GE(Thuds(), thuds + 1);

    // A hop of a fifth of a cell lands at under 0.1 cells a step: quietly.
    const int quiet = Walker(20, 13, 1);
    Pen(quiet, pen::kOffsetY) = -0.2f;
    const int before = Thuds();
    Play(8);
    EXPECT_EQ(Y(quiet), 13);
    EXPECT_EQ(Pen(quiet, pen::kFallSpeed), 0);
    EXPECT_EQ(Thuds(), before);
    // Coming down at 0.2 cells a step is loud.
    const int loud = Walker(24, 13, 1);
    Pen(loud, pen::kOffsetY) = 0.1f;
    Pen(loud, pen::kFallSpeed) = 0.2f;
    Play();
    EXPECT_EQ(Y(loud), 13);
    EXPECT_EQ(Thuds(), before + 1);
}

TEST_F(Penguins, PenguinsMeetingHeadOnTurnEachOtherAndAreHeldApartButNeverBumpWalkingOneWay) {
    Blank();
    Blocks(1, 28, 10);
    const int a = Walker(5, 9, 1);
    const int b = Walker(8, 9, -1);
    // The record with the lower number steps first; it finds the other.
    ASSERT_LT(b, a);
    auto gap = [&] { return (X(b) * 32 - 1) - (X(a) * 32 + 1); };
    float before = gap();
    while (State(a) == pen::kWalking) {
        before = gap();
        Play();
    }
    EXPECT_GE(before, 4);
    EXPECT_LT(before - 0.025f * 32, 4) << "b's step brought them within 4";
    EXPECT_EQ(State(b), pen::kTurning);
    EXPECT_EQ(Pen(a, pen::kNewDir), -1);
    EXPECT_EQ(Pen(b, pen::kNewDir), 1);
    EXPECT_NEAR(gap(), before - 0.025f * 32 + 0.3f * 32, 1e-3f) << "pushed 0.15 cells apart each";
    Play(6);
    EXPECT_EQ(Pen(a, pen::kDir), -1);
    EXPECT_EQ(Pen(b, pen::kDir), 1);

    Blank();
    Blocks(1, 28, 10);
    const int lead = Walker(5, 9, 1);
    const int close = Walker(5, 9, 1);
    Pen(close, pen::kOffsetX) = -0.05f;
    for (int i = 0; i < 100; ++i) {
        Play();
        ASSERT_EQ(State(lead), pen::kWalking) << i;
        ASSERT_EQ(State(close), pen::kWalking) << i;
    }
    EXPECT_NEAR(X(lead) - X(close), 0.05f, kEps);
}

// A push moves the penguin on: records after the one it met are tested where it stands now, the
// ones before are not tested again.
TEST_F(Penguins, APushFromOneMeetingBringsTheNextRecordsIntoReachButNotTheEarlierOnes) {
    Blank();
    Blocks(1, 28, 10);
    const int later = Walker(9, 9, -1), met = Walker(10, 9, -1), earlier = Walker(9, 9, -1), p = Walker(10, 9, 1);
    ASSERT_TRUE(earlier < met && met < later);
    // p meets `met` 2.5 apart in the scaled test; the other two stand 8 away until the push.
    Pen(met, pen::kOffsetX) = 0.140625f;
    Pen(later, pen::kOffsetX) = Pen(earlier, pen::kOffsetX) = 0.8125f;
    for (int r = 0; r < pen::kRecords; ++r) app->p_NoteBumper(r);
    app->p_PenBump(p);
    EXPECT_EQ(State(p), pen::kTurning);
    EXPECT_EQ(State(met), pen::kTurning);
    EXPECT_EQ(State(later), pen::kTurning) << "within 4 once pushed 0.15 back";
    EXPECT_EQ(State(earlier), pen::kWalking) << "tested before the push";
    EXPECT_NEAR(X(p), 10, kEps) << "pushed back, then forward again";
    EXPECT_NEAR(X(later), 9.8125f - 0.15f, kEps);
}

// A penguin meets another that does not face its way when their rows are under a quarter cell
// apart and their scaled x (x × 32 plus the direction) under 4, at any height: one facing the
// other way, or one facing neither way; and one whose position is not a number always.
TEST_F(Penguins, TheBumpTestMeetsUpToItsEdgesAtAnyHeightWhicheverWayTheOtherFaces) {
    const float rows[] = {0.2421875f, -0.2421875f, 0.25f, 0};
    const float reaches[] = {3.96875f, -3.96875f, 4, 0};
    for (float y : {9.0f, 500.5f, -511.75f, 600.0f}) {
        for (float otherDir : {-1.0f, 0.0f}) {
            for (float dy : rows) {
                for (float dx : reaches) {
                    SCOPED_TRACE(testing::Message() << y << " " << otherDir << " " << dy << " " << dx);
                    Blank();
                    const int p = Walker(10, 0, 1), q = Walker(10, 0, -1);
                    Pen(q, pen::kDir) = otherDir;
                    Pen(p, pen::kCellY) = y;
                    Pen(q, pen::kCellY) = y;
                    Pen(q, pen::kOffsetY) = dy;
                    // q's scaled x is p's, 321, and dx.
                    Pen(q, pen::kOffsetX) = (321 + dx - otherDir) / 32 - 10;
                    for (int r = 0; r < pen::kRecords; ++r) app->p_NoteBumper(r);
                    app->p_PenBump(p);
                    const bool meet = std::fabs(dy) < 0.25f && std::fabs(dx) < 4;
                    EXPECT_EQ(State(p), meet ? pen::kTurning : pen::kWalking);
                    EXPECT_EQ(State(q), meet ? pen::kTurning : pen::kWalking);
                }
            }
        }
    }
    // Not a number, in either position of the one tested or of the one it is tested against.
    for (int field : {pen::kOffsetX, pen::kOffsetY}) {
        for (int nan : {0, 1}) {
            Blank();
            const int p = Walker(10, 9, 1), q = Walker(10, 9, -1);
            Pen(nan == 0 ? p : q, field) = NAN;
            for (int r = 0; r < pen::kRecords; ++r) app->p_NoteBumper(r);
            app->p_PenBump(p);
            EXPECT_EQ(State(q), pen::kTurning) << field << " " << nan;
        }
    }
}

// A penguin reads the cells around it again after the grid changed: written straight into the
// grid between updates (as a tool restores a level), or cleared by a Melt in the middle of an
// update of 31 steps while the penguin stays in its cell.
TEST_F(Penguins, APenguinFeelsTheFloorGoAtOnceWhoeverTakesItAway) {
    Blank();
    Blocks(1, 28, 10);
    const int r = Walker(5, 9, 1);
    Play();
    app->m_grid[(10 * grid::kRowCells + 5) * grid::kCellFloats] = tile::kEmpty;
    Play();
    EXPECT_GT(Y(r), 9) << "falling through the gap";

    Blank();
    Blocks(1, 28, 10);
    Blocks(12, 12, 9);
    const int digger = Walker(10, 9, 1);
    const int above = Walker(12, 8, -1);
    Pen(above, pen::kOffsetX) = 0.45f;
    Counters(0);
    app->m_player[play::kCounters + skill::kMelt] = 1;
    Select(digger, skill::kMelt);
    Play();
    UseNow();
    ASSERT_EQ(Tile(12, 9), tile::kEmpty) << "melted in the 21st of the update's 31 steps";
    EXPECT_EQ(Pen(above, pen::kCellX), 12) << "in its cell all the while";
    EXPECT_GT(Y(above), 8) << "falling since the block went";
}

TEST_F(Penguins, AWalkerComingBackToTheStartBumpsAWaitingPenguinOutOfItsWait) {
    Blank();
    Blocks(1, 28, 10);
    app->p_AddPen(5, 9, 1, 500, 0);
    const int waiting = pen::kRecords - 1;
    const int walker = Walker(8, 9, -1);
    while (State(walker) == pen::kWalking) Play();
    EXPECT_EQ(State(waiting), pen::kTurning) << "no longer waiting";
    Play(6);
    EXPECT_EQ(State(waiting), pen::kWalking);
    EXPECT_EQ(Pen(waiting, pen::kDir), -1);
    const float x = X(waiting);
    Play();
    EXPECT_LT(X(waiting), x) << "it has entered the level, walking left";
}

TEST_F(Penguins, OneStepAnUpdateFiveWhileSpedUpAndThirtyOneWithNoSkillLeft) {
    struct Case {
        float counters;
        bool speedUp;
        int steps;
    };
    for (const Case& c : {Case{1, false, 1}, Case{1, true, 5}, Case{0, false, 31}, Case{0, true, 31}}) {
        SCOPED_TRACE(c.steps);
        Blank();
        Blocks(1, 28, 10);
        Counters(c.counters);
        const int r = Walker(3, 9, 1);
        if (c.speedUp) Hold('X');
        Play();
        Release('X');
        EXPECT_EQ(app->m_player[play::kTimer], play::kLevelSteps - c.steps);
        EXPECT_NEAR(X(r), 3 + 0.025f * static_cast<float>(c.steps), kEps);
        EXPECT_EQ(Drawn(image::kPenguin), c.steps) << "drawn once a step";
    }
    // Once the level is over the clock stops and speeding up does nothing.
    app->m_levelOver = 1;
    Counters(1);
    Hold('X');
    Play();
    Release('X');
    EXPECT_EQ(Drawn(image::kPenguin), 1);
    EXPECT_EQ(app->m_player[play::kTimer], play::kLevelSteps - 31);
}

TEST_F(Penguins, ALevelWithNoPenguinsIsOverAtTheFirstUpdate) {
    app->m_level = 1;
    app->m_settings[0] = 0;
    app->p_LoadGame();
    Play();
    EXPECT_EQ(app->m_levelOver, 1);
    EXPECT_EQ(app->m_endReason, ending::kNone);
}

TEST_F(Penguins, AFallOutOfTheLevelLosesItEvenAfterRescues) {
    Blank();
    Blocks(1, 5, 10);
    app->m_player[play::kExitX] = 3;
    app->m_player[play::kExitY] = 9;
    const int home = Walker(3, 9, 1);
    Play();
    ASSERT_EQ(State(home), pen::kRescued);
    const int doomed = Walker(12, 14, 1);
    const int other = Walker(2, 9, 1);
    while (app->m_levelOver == 0 && Y(doomed) < 16) Play();
    EXPECT_EQ(app->m_levelOver, 1);
    EXPECT_EQ(app->m_endReason, ending::kDeadPenguin);
    EXPECT_EQ(Plays(sfx::kFall), 1);
    for (int r : {home, doomed, other}) {
        EXPECT_EQ(Pen(r, pen::kInPlay), 0) << r;
        EXPECT_EQ(State(r), pen::kWalking) << r;
    }
    EXPECT_EQ(app->p_CountRescued(), 0);
    EXPECT_EQ(app->m_score, 0);
    int sparks = 0;
    for (int i = 0; i <= app->m_partMax; ++i) sparks += app->m_part[i * particle::kRecordFloats] != 0;
    EXPECT_EQ(sparks, 33);
    // The level stays lost: nobody in play afterwards does not make it a plain ending.
    Play(3);
    EXPECT_EQ(app->m_endReason, ending::kDeadPenguin);
    EXPECT_EQ(Plays(sfx::kFall), 1);
}

// Level 1 with one penguin: a pit four cells wide and one deep lies between the start and the
// exit. Without a skill the penguin paces the pit until time runs out; a Jump from the pit's
// floor near its far wall gets it out and home.
class LevelOne : public Penguins {
protected:
    // The update, counted from 1 after the level starts, in which the use key is held: the
    // penguin walks right on the pit's floor, 20.7 cells across. A Jump taken in updates 716 to
    // 753 (and 1010 to 1047, on its second way right) clears the far wall.
    static constexpr int kJumpUpdate = 735;

    void Start() {
        app->m_level = 1;
        app->m_settings[0] = 1;
        app->p_LoadGame();
    }
    // Plays until the level is over or the limit is reached; the updates played.
    int PlayOut(int jumpAt, int limit = 6000) {
        int update = 0;
        while (app->m_levelOver == 0 && update < limit) {
            ++update;
            if (update == jumpAt) Hold('J');
            Play();
            if (update == jumpAt) Release('J');
        }
        return update;
    }
};

TEST_F(LevelOne, WithoutInputThePenguinIsTrappedInThePitUntilTimeRunsOut) {
    Start();
    const int updates = PlayOut(-1);
    EXPECT_EQ(app->m_endReason, ending::kOutOfTime);
    EXPECT_EQ(updates, play::kLevelSteps + 60) << "the clock counts down to -60 before the seconds go negative";
    EXPECT_EQ(app->p_CountRescued(), 0);
    const int r = pen::kRecords - 1;
    EXPECT_EQ(Pen(r, pen::kCellY), 13) << "on the pit's floor";
    EXPECT_TRUE(X(r) > 17.5f && X(r) < 21.5f) << X(r);
}

TEST_F(LevelOne, AJumpAtTheRightMomentTakesThePenguinHome) {
    Start();
    PlayOut(kJumpUpdate);
    EXPECT_EQ(app->m_endReason, ending::kComplete);
    EXPECT_EQ(app->p_CountRescued(), 1);
    EXPECT_EQ(app->m_player[play::kCounters + skill::kJump], 9);
    EXPECT_EQ(Plays(sfx::kFirstSkill + skill::kJump), 1);
    EXPECT_EQ(Plays(sfx::kRescued), 1);
}

TEST_F(LevelOne, TheSameInputGivesTheSameLevelWhateverTheRandomSeed) {
    std::vector<float> first;
    for (int seed : {1, 987654321}) {
        Start();
        app->p_SeedRnd(seed);
        PlayOut(kJumpUpdate, kJumpUpdate + 200);
        std::vector<float> pens(app->m_pen.begin(), app->m_pen.begin() + pen::kRecords * pen::kFloats);
        if (first.empty()) {
            first = pens;
        } else {
            EXPECT_EQ(pens, first);
        }
    }
}

}  // namespace
}  // namespace game_test
