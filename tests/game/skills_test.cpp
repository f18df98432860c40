// The skills: giving one to a penguin on the ground and refusing it otherwise, Jump and Leap
// in flight, Melt and Burst clearing blocks only, Spin, and choosing the skill and the penguin
// with keys and sticks.
#include <vector>

#include "level_fixture.h"

namespace game_test {
namespace {

class Skills : public LevelTest {
protected:
    // A penguin walking right on a long floor, selected, with `skill` chosen and one update played.
    int OnTheGround(int s, int x = 10, int y = 9) {
        Blank();
        Blocks(1, 28, y + 1);
        const int r = Walker(x, y, 1);
        Select(r, s);
        Play();
        return r;
    }
    float Counter(int s) { return app->m_player[play::kCounters + s]; }
    void SetStickX(int stick, float x) { vo_input_device->m__joyStates[0]->m_joyx[stick] = x; }
};

TEST_F(Skills, EachSkillIsTakenFromTheGroundWithItsSoundStateAndTimer) {
    for (int s = 0; s < skill::kCount; ++s) {
        SCOPED_TRACE(s);
        const int r = OnTheGround(s);
        const int sounds = s == skill::kSpin ? Thuds() : Plays(sfx::kFirstSkill + s);
        Hold('J');
        app->p_SkillControls();
        Release('J');
        EXPECT_EQ(State(r), pen::kSkillState + s);
        EXPECT_EQ(Pen(r, pen::kTimer), 24);
        EXPECT_EQ(Counter(s), 0);
        EXPECT_EQ(s == skill::kSpin ? Thuds() : Plays(sfx::kFirstSkill + s), sounds + 1);
        Play();
        if (s == skill::kSpin) {
            // Spin turns the penguin round at once.
            EXPECT_EQ(State(r), pen::kTurning);
            EXPECT_EQ(Pen(r, pen::kTimer), 6);
            EXPECT_EQ(Pen(r, pen::kNewDir), -1);
        } else {
            EXPECT_EQ(State(r), pen::kSkillState + s);
            EXPECT_EQ(Pen(r, pen::kTimer), 23);
        }
    }
}

TEST_F(Skills, ASkillIsRefusedInTheAirWhileTurningDuringAnotherSkillOrWithNoneLeft) {
    auto refused = [&](int r, const char* when, bool tap = false) {
        const float counter = Counter(skill::kJump);
        const int sounds = Plays(sfx::kFirstSkill + skill::kJump);
        const float timer = Pen(r, pen::kTimer);
        const int state = State(r);
        if (tap) {
            app->m_tapSkill = skill::kJump;
            Play();
        } else {
            UseNow();
        }
        EXPECT_EQ(Counter(skill::kJump), counter) << when;
        EXPECT_EQ(Plays(sfx::kFirstSkill + skill::kJump), sounds) << when;
        if (state == pen::kSkillState + skill::kJump) {
            EXPECT_EQ(Pen(r, pen::kTimer), timer - 1) << when << ": the jump goes on, not started again";
        } else {
            EXPECT_NE(State(r), pen::kSkillState + skill::kJump) << when;
        }
    };

    // Off the end of a floor: after the moment it leaves the edge, a faller is in the air.
    Blank();
    Blocks(1, 6, 10);
    Blocks(1, 28, 14);
    int r = Walker(6, 9, 1);
    Select(r);
    while (Y(r) == 9) Play();
    Play(2);
    refused(r, "falling");

    // At a wall: from the update right after the turn starts.
    Blank();
    Blocks(1, 28, 10);
    Blocks(12, 12, 9);
    r = Walker(11, 9, 1);
    Select(r);
    while (State(r) == pen::kWalking) Play();
    refused(r, "turning, first update");
    refused(r, "turning");

    // In a jump, even tapped in the update after it began, with the use key up.
    r = OnTheGround(skill::kJump);
    UseNow();
    ASSERT_EQ(State(r), pen::kSkillState + skill::kJump);
    refused(r, "jumping", true);

    // Home: the update after a rescue.
    Blank();
    Blocks(1, 28, 10);
    app->m_player[play::kExitX] = 10;
    app->m_player[play::kExitY] = 9;
    r = Walker(9, 9, 1);
    Select(r);
    while (State(r) != pen::kRescued) Play();
    refused(r, "rescued");
    EXPECT_EQ(State(r), pen::kRescued);

    r = OnTheGround(skill::kJump);
    app->m_player[play::kCounters + skill::kJump] = 0;
    refused(r, "no jumps left");
    EXPECT_EQ(Plays(sfx::kFirstSkill + skill::kJump), 1) << "only the jump that was taken";
}

TEST_F(Skills, TheUseKeyGivesOneSkillAPressAndATapGivesOneToo) {
    const int r = OnTheGround(skill::kSpin);
    app->m_player[play::kCounters + skill::kSpin] = 5;
    Hold('J');
    Play(20);
    EXPECT_EQ(Counter(skill::kSpin), 4) << "held down, the key gives one spin";
    Release('J');
    Play(8);
    ASSERT_EQ(State(r), pen::kWalking);
    app->m_tapSkill = skill::kSpin;
    Play();
    EXPECT_EQ(Counter(skill::kSpin), 3);
    EXPECT_EQ(app->m_tapSkill, -1) << "a tap is used in the update after it";
}

TEST_F(Skills, JumpRisesAboutThreeAndAHalfCellsAndLeapsGoFarAndLow) {
    int r = OnTheGround(skill::kJump, 10, 12);
    const float x0 = X(r), y0 = Y(r);
    float top = y0;
    int steps = 0;
    UseNow();
    for (++steps; State(r) == pen::kSkillState + skill::kJump; ++steps) {
        top = std::min(top, Y(r));
        Play();
    }
    EXPECT_EQ(steps, 24);
    EXPECT_NEAR(y0 - top, 3.7f, 0.05f);
    EXPECT_NEAR(X(r) - x0, 1.1f, 0.05f);
    while (Y(r) < y0 && Pen(r, pen::kCellY) < 14) Play();
    Play();
    EXPECT_EQ(Y(r), y0) << "back down on the floor";

    // A ceiling ends a jump early; the penguin never enters it.
    r = OnTheGround(skill::kJump, 10, 12);
    Blocks(1, 28, 10);
    UseNow();
    top = Y(r);
    for (steps = 1; State(r) == pen::kSkillState + skill::kJump; ++steps) {
        top = std::min(top, Y(r));
        Play();
    }
    EXPECT_LT(steps, 24);
    EXPECT_GT(top, 10.5f);

    r = OnTheGround(skill::kLeap, 5, 12);
    const float lx = X(r), ly = Y(r);
    UseNow();
    while (State(r) == pen::kSkillState + skill::kLeap) Play();
    EXPECT_NEAR(X(r) - lx, 3.6f, 1e-3f);
    EXPECT_NEAR(ly - Y(r), 0.36f, 1e-3f);
}

TEST_F(Skills, MeltAndBurstClearTheFirstBlockWithinThreeCellsAndNothingElse) {
    struct Case {
        const char* name;
        int skill, dir;
        // Codes of the three cells ahead (Melt) or above (Burst), nearest first.
        int cells[3];
        int cleared;  // which of them goes; -1 none
    };
    const int block = tile::kFirstBlock + 2, exit = tile::kExit, pickup = tile::kSkillPickup + 1;
    const Case cases[] = {
        {"melt, gap then block", skill::kMelt, 1, {0, block, block}, 1},
        {"melt to the left", skill::kMelt, -1, {block, block, 0}, 0},
        {"melt, nothing near", skill::kMelt, 1, {0, 0, 0}, -1},
        {"melt past the exit and a pick-up", skill::kMelt, 1, {exit, pickup, block}, 2},
        {"melt, exit and pick-up only", skill::kMelt, -1, {tile::kStart, exit, pickup}, -1},
        {"burst, gap then block", skill::kBurst, 1, {0, block, block}, 1},
        {"burst, nothing near", skill::kBurst, 1, {0, 0, 0}, -1},
        {"burst past the exit and a pick-up", skill::kBurst, 1, {exit, pickup, block}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int x = 10, y = 9;
        const int r = OnTheGround(c.skill, x, y);
        Pen(r, pen::kDir) = static_cast<float>(c.dir);
        Pen(r, pen::kOffsetX) = 0;
        // Beyond reach, a fourth cell always holds a block.
        for (int d = 1; d <= 4; ++d) {
            const int cx = c.skill == skill::kMelt ? x + c.dir * d : x;
            const int cy = c.skill == skill::kMelt ? y : y - d;
            Blocks(cx, cx, cy, d <= 3 ? c.cells[d - 1] : block);
        }
        std::vector<float> before(app->m_grid.begin(), app->m_grid.begin() + 16 * grid::kRowCells * grid::kCellFloats);
        const int sounds = Plays(sfx::kFirstSkill + c.skill);
        UseNow();
        EXPECT_EQ(Plays(sfx::kFirstSkill + c.skill), sounds + 1);
        Play(23);
        EXPECT_EQ(State(r), pen::kWalking);
        EXPECT_EQ(X(r), x) << "the penguin works on the spot";
        int changed = 0;
        for (size_t i = 0; i < before.size(); ++i) changed += before[i] != app->m_grid[i];
        EXPECT_EQ(changed, c.cleared < 0 ? 0 : 1);
        for (int d = 1; d <= 3; ++d) {
            const int cx = c.skill == skill::kMelt ? x + c.dir * d : x;
            const int cy = c.skill == skill::kMelt ? y : y - d;
            EXPECT_EQ(Tile(cx, cy), d - 1 == c.cleared ? tile::kEmpty : c.cells[d - 1]) << d;
        }
    }
}

TEST_F(Skills, PreviousAndNextKeysAndTheRightStickSwitchOnceAPush) {
    OnTheGround(skill::kJump);
    const int clicks = Plays(sfx::kClick);
    Hold('O');
    Play(3);
    EXPECT_EQ(app->m_player[play::kSkill], skill::kLeap) << "held, the key moves one skill";
    Hold('U');
    Play();
    EXPECT_EQ(app->m_player[play::kSkill], skill::kLeap) << "the latch holds while either key is down";
    Release('O');
    Play();
    EXPECT_EQ(app->m_player[play::kSkill], skill::kLeap);
    Release('U');
    Play();
    Hold('U');
    Play();
    Release('U');
    Play();
    Hold('U');
    Play();
    Release('U');
    EXPECT_EQ(app->m_player[play::kSkill], skill::kSpin) << "round from the first skill to the last";
    EXPECT_EQ(Plays(sfx::kClick), clicks + 3);

    SetStickX(1, 0.5f);
    Play(3);
    EXPECT_EQ(app->m_player[play::kSkill], skill::kJump);
    SetStickX(1, 0.3f);
    Play();
    SetStickX(1, 0.5f);
    Play();
    EXPECT_EQ(app->m_player[play::kSkill], skill::kJump) << "not re-armed short of the rest zone";
    SetStickX(1, 0.1f);
    Play();
    SetStickX(1, -0.9f);
    Play();
    EXPECT_EQ(app->m_player[play::kSkill], skill::kSpin);
    SetStickX(1, 0);
}

TEST_F(Skills, TheDirectionKeysSelectTheNearestPenguinOnEachSide) {
    Blank();
    Blocks(1, 28, 10);
    Walker(3, 9, 1);
    const int left = Walker(6, 9, 1);
    const int middle = Walker(9, 9, 1);
    const int right = Walker(14, 9, 1);
    Select(middle);
    Play();
    EXPECT_EQ(app->m_player[play::kLeftPenguin], left);
    EXPECT_EQ(app->m_player[play::kRightPenguin], right);

    // The analogue direction ramps up over three updates; one hold moves the selection once.
    Hold('D');
    Play(2);
    EXPECT_EQ(app->m_player[play::kSelected], middle);
    Play(6);
    EXPECT_EQ(app->m_player[play::kSelected], right);
    Release('D');
    Play(6);
    Hold('A');
    Play(3);
    Release('A');
    EXPECT_EQ(app->m_player[play::kSelected], middle);
    Play(6);
    Hold('A');
    Play(3);
    Release('A');
    EXPECT_EQ(app->m_player[play::kSelected], left);
}

}  // namespace
}  // namespace game_test
