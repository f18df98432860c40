// The five skills: choosing a skill and the penguin to give it to, giving it, and what Jump,
// Leap, Melt, Burst and Spin each do to the penguin and the level.
#include <cmath>

#include "framework/app/random.h"
#include "framework/graphics/graphics_context.h"
#include "game/my_app.h"
#include "game/truncate.h"

namespace {

// The skills are chosen on the first pad; the right stick switches them.
constexpr int kPad = 0;
constexpr int kRightStick = 1;
// A stick re-arms once back inside ±kStickRest and acts beyond ±kStickPush, so one push is one move.
constexpr float kStickRest = 0.25f;
constexpr float kStickPush = 0.35f;
// A skill lasts this many steps; its sound is pitched at random from kSkillPitch up by the range.
constexpr float kSkillSteps = 24;
constexpr float kSkillPitch = 0.7f, kSkillPitchRange = 0.6f;
// Jump: a rise of kJumpRise × sin(kJumpArc × timer) a step, slowing to nothing as the timer
// runs out (3.7 cells in all), drifting forward 1.1 cells.
constexpr float kJumpRise = 0.25f;
constexpr float kJumpArc = 3.75f;
constexpr float kJumpDrift = 0.045f;
constexpr float kJumpFrame = 8;
// Leap: long and flat, 3.6 cells forward and 0.36 up.
constexpr float kLeapRise = 0.015f;
constexpr float kLeapSpeed = 0.15f;
constexpr float kLeapFrame = 9;
// Melt and Burst: the penguin works on the spot and the block goes when the timer reaches
// kDigStep, the first of them within kDigReach cells.
constexpr float kDigFrame = 10;
constexpr float kDigStep = 3;
constexpr int kDigReach = 3;
// Sparks a step, from kSparkLift pixels (at scale 1) above the feet, ahead or upwards within
// ±kSparkSpread / 2 degrees.
constexpr int kDigSparks = 5;
constexpr float kSparkLift = 8;
constexpr float kSparkSpread = 8;
constexpr float kSideways = 90;
constexpr float kSparkMinSpeed = 0.5f, kSparkSpeedRange = 1.5f;
constexpr float kImageSize = 32;

// The tile code of a cell of the level or its border; 0 anywhere else, where nothing can be cleared.
int TileAt(const Array<float>& grid, int x, int y) {
    if (x < 0 || x > grid::kCols + 1 || y < 0 || y > grid::kRows + 1) return tile::kEmpty;
    return vo_game_Trunc(grid[(y * grid::kRowCells + x) * grid::kCellFloats]);
}

}  // namespace

int c_MyApp::p_SkillControls() {
    // The right stick switches skills.
    const float v = p_StickX(kRightStick, kPad);
    float& stickLatch = m_player[play::kSkillStickLatch];
    if (v > -kStickRest && v < kStickRest) stickLatch = 0;
    if (stickLatch == 0 && (v < -kStickPush || v > kStickPush)) {
        p_SwitchSkill(v < 0 ? -1 : 1);
        stickLatch = 1;
    }

    // So do the previous and next keys.
    const int previous = p_PlayKey(action::kPrevSkill, 0, kPad), next = p_PlayKey(action::kNextSkill, 0, kPad);
    float& keyLatch = m_player[play::kSkillKeyLatch];
    if (previous == 0 && next == 0) keyLatch = 0;
    if (keyLatch == 0 && (previous != 0 || next != 0)) {
        p_SwitchSkill(previous != 0 ? -1 : 1);
        keyLatch = 1;
    }

    // The analogue direction picks the nearest penguin on either side.
    const float u = m_stickOutX;
    float& penguinLatch = m_player[play::kPenguinStickLatch];
    if (u > -kStickRest && u < kStickRest) penguinLatch = 0;
    const float left = m_player[play::kLeftPenguin], right = m_player[play::kRightPenguin];
    if (penguinLatch == 0 && ((u < -kStickPush && left > -1) || (u > kStickPush && right > -1))) {
        m_player[play::kSelected] = u < 0 ? left : right;
        penguinLatch = 1;
        p_PlaySFX(sfx::kClick, 1);
    }

    return p_UseSkill();
}

int c_MyApp::p_CanTakeSkill(int r) {
    const float* p = p_PenAt(r);
    // The ground countdown still reads 2 in the update after a penguin started a turn or got
    // home; only a walking penguin in a running level takes a skill.
    return m_levelOver == 0 && p[pen::kInPlay] == 1 && p[pen::kState] == pen::kWalking && p[pen::kGround] > 0 ? 1 : 0;
}

int c_MyApp::p_SwitchSkill(int by) {
    const int current = vo_game_Trunc(m_player[play::kSkill]);
    m_player[play::kSkill] = static_cast<float>((current + by + skill::kCount) % skill::kCount);
    p_PlaySFX(sfx::kClick, 1);
    return 0;
}

int c_MyApp::p_UseSkill() {
    const int use = p_PlayKey(action::kUse, 0, kPad);
    float& latch = m_player[play::kUseLatch];
    if (use == 0) latch = 0;
    if ((use == 0 && m_tapSkill < 0) || latch != 0) return 0;
    const int chosen = vo_game_Trunc(m_player[play::kSkill]);
    float& counter = m_player[play::kCounters + chosen];
    const int selected = vo_game_Trunc(m_player[play::kSelected]);
    if (counter == 0 || p_CanTakeSkill(selected) == 0) return 0;
    float* p = p_PenAt(selected);
    latch = 1;
    counter -= 1;
    p[pen::kState] = static_cast<float>(pen::kSkillState + chosen);
    p[pen::kTimer] = kSkillSteps;
    const int sound = chosen == skill::kSpin ? p_Rand(sfx::kFirstThud, sfx::kLastThud) : sfx::kFirstSkill + chosen;
    p_PlaySFX(sound, kSkillPitch + kSkillPitchRange * vo_random_Rnd(), 1, 0);
    return 0;
}

int c_MyApp::p_PenJump(int r) {
    float* p = p_PenAt(r);
    p[pen::kTimer] -= 1;
    if (p[pen::kTimer] <= 0) p[pen::kState] = pen::kWalking;
    p[pen::kOffsetY] -= kJumpRise * std::sin(kJumpArc * p[pen::kTimer] * D2R);
    p[pen::kFrame] = kJumpFrame;
    p[pen::kOffsetX] += p[pen::kDir] * kJumpDrift;
    // A wall turns a jumping penguin without a thud, unless it is already inside a block.
    if (p_isFloor(p_Neighbour(grid::kCentre)) == 0 && p_AtWall(r) == 1) p_StartTurn(r, -p[pen::kDir]);
    // A ceiling ends the jump; the penguin falls from there.
    if (p_isFloor(p_Neighbour(grid::kAbove)) == 1 && p[pen::kOffsetY] < 0) {
        p[pen::kTimer] = 0;
        p[pen::kState] = pen::kWalking;
    }
    return 0;
}

int c_MyApp::p_PenLeap(int r) {
    float* p = p_PenAt(r);
    p[pen::kTimer] -= 1;
    if (p[pen::kTimer] <= 0) p[pen::kState] = pen::kWalking;
    p[pen::kOffsetY] -= kLeapRise;
    p[pen::kFrame] = kLeapFrame;
    p[pen::kOffsetX] += p[pen::kDir] * kLeapSpeed;
    if (p_AtWall(r) == 1) {
        p_StartTurn(r, -p[pen::kDir]);
        p_PlaySFX(p_Rand(sfx::kFirstThud, sfx::kLastThud), kSkillPitch + kSkillPitchRange * vo_random_Rnd(), 1, 0);
    }
    return 0;
}

int c_MyApp::p_PenDig(int r, float sx, float sy) {
    float* p = p_PenAt(r);
    const bool melt = p[pen::kState] == pen::kSkillState + skill::kMelt;
    p[pen::kTimer] -= 1;
    if (p[pen::kTimer] <= 0) p[pen::kState] = pen::kWalking;
    p[pen::kFrame] = kDigFrame;
    const float ahead = p[pen::kDir] > 0 ? kSideways : -kSideways;
    const float lift = kSparkLift * m_tileSize / kImageSize;
    for (int i = 0; i < kDigSparks; ++i) {
        const int kind = p_Rand(particle::kSpark, particle::kFalling);
        const int colour = p_Rand(1, particle::kLastHotColour);
        const float spread = kSparkSpread * vo_random_Rnd() - kSparkSpread / 2;
        const float speed = kSparkMinSpeed + kSparkSpeedRange * vo_random_Rnd();
        p_ThrowParticle(sx + m_camX, sy - lift + m_camY, kind, colour, melt ? ahead + spread : spread, speed);
    }
    if (p[pen::kTimer] != kDigStep) return 0;
    // Only a block goes: the start, the exit and pick-ups in the way are passed over and stay.
    const int x = vo_game_Trunc(p[pen::kCellX]), y = vo_game_Trunc(p[pen::kCellY]);
    const int dir = vo_game_Trunc(p[pen::kDir]);
    for (int d = 1; d <= kDigReach; ++d) {
        const int cx = melt ? x + dir * d : x, cy = melt ? y : y - d;
        if (p_isFloor(TileAt(m_grid, cx, cy)) == 1 && p_PutTile(static_cast<float>(cx), static_cast<float>(cy), tile::kEmpty) == 1) break;
    }
    return 0;
}

int c_MyApp::p_PenSpin(int r) { return p_StartTurn(r, -p_PenAt(r)[pen::kDir]); }
