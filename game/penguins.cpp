// The penguins of a level: the table of their records and the play state beside it, and one
// update of a level, in which every penguin walks, falls, turns and gets home step by step.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "framework/app/app.h"
#include "framework/app/random.h"
#include "framework/graphics/graphics_context.h"
#include "game/menu_layout.h"
#include "game/my_app.h"
#include "game/truncate.h"

namespace {

constexpr int kSkyR = 150, kSkyG = 150, kSkyB = 180;
// Steps an update runs: one; more while sped up; many once no skill is left to give, so that
// such a level plays out fast.
constexpr int kNormalSteps = 1;
constexpr int kFastSteps = 5;
constexpr int kNoSkillSteps = 31;
// The select stick's neighbour search starts farther away than any screen is wide, and skips a
// penguin standing on the selected one.
constexpr float kFarAway = 1000;
constexpr float kSameSpot = 0.1f;

// Penguin and tile pictures are 32 virtual pixels a cell at scale 1.
constexpr float kImageSize = 32;
// Motion in cells per step: 40 steps a cell on the ground.
constexpr float kWalkSpeed = 0.025f;
constexpr float kAirDrift = 0.015f;
constexpr float kGravity = 0.025f;
constexpr float kMaxFallSpeed = 0.25f;
// Feet this close to the top of the block below land; faster than kLoudLanding, with a thud.
constexpr float kLandAbove = -0.15f, kLandBelow = 0.35f;
constexpr float kLoudLanding = 0.15f;
// A skill is taken for this many steps after the last step on the ground.
constexpr float kGroundSteps = 2;
// The walk cycle: frames 0 to kLastWalkFrame; the pop-in frame.
constexpr float kFrameStep = 0.15f;
constexpr float kLastWalkFrame = 7;
constexpr float kPopInFrame = 9;
// A wall turns a penguin once it is this far past its cell's centre towards it.
constexpr float kWallReach = 0.25f;
// A turn lasts kTurnSteps and faces the new way from kTurnFlip steps before its end; a penguin
// stuck in a block is pushed out by kUnstick a step meanwhile.
constexpr float kTurnSteps = 6;
constexpr float kTurnFlip = 3;
constexpr float kUnstick = 0.1f;
// The exit takes a penguin this close to its cell's centre; home, it flies up and out of play
// above kLeaveRow.
constexpr float kExitReachX = 0.25f, kExitReachY = 0.5f;
constexpr float kRescueSteps = 120;
constexpr float kRescueRise = 0.4f;
constexpr float kLeaveRow = -2;
// Penguins within kBumpRows of one row meet when their positions, scaled by kBumpScale and
// moved on by their direction, come within kBumpReach; each is then pushed kBumpPush away.
constexpr float kBumpRows = 0.25f;
constexpr float kBumpScale = 32;
constexpr float kBumpReach = 4;
constexpr float kBumpPush = 0.15f;
// The screen before the bump test: a penguin between rows ±kScreenedRows, its row moved by
// kDirLift times its direction so that only penguins facing the other way come near, whose
// distance in rows, scaled by kScreenRowScale, and in scaled x must both be under kBumpReach.
// The rows reach kBumpRows widened by far more than the rounding of the moved rows can be.
constexpr float kDirLift = 1024;
constexpr float kScreenedRows = 512;
constexpr float kScreenRowScale = kBumpReach / (kBumpRows + 1.0f / 64);
// Popping in: the timer runs down kPopInStep a step while the penguin hops.
constexpr float kPopInStep = 0.75f;
constexpr float kHop = 0.075f;
constexpr float kHopRate = 2;
constexpr float kTapBox = menu_layout::kPenguinTapBox;
// The selection marker floats above the penguin and spins a turn every kMarkerTurnMillisecs.
constexpr float kMarkerLift = 0.75f;
constexpr float kMarkerSpin = 0.25f;
constexpr int kMarkerTurnMillisecs = 1440;
// Below the last row a penguin has fallen out of the level, in a burst of red to yellow.
constexpr float kLastRow = grid::kRows;
constexpr int kDeathParticles = 33;
constexpr float kDeathAngle = 10, kDeathMinSpeed = 3, kDeathSpeedRange = 2;
// Sounds pitched at random from the low rate up by the range.
constexpr float kThudPitch = 0.7f, kThudPitchRange = 0.6f;
constexpr float kLandingPitch = 1.3f, kLandingPitchRange = 0.4f;
constexpr float kRescuePitch = 0.8f, kRescuePitchRange = 0.4f;

float Pitch(float low, float range) { return low + range * vo_random_Rnd(); }

// The bump test of one penguin (its row y, direction dir and scaled x reach) against every
// record of the view: 1 for each record it meets, and whether it meets any. Each test reads "not
// at or beyond the limit", as a penguin's own test always has, so that a position that is not a
// number still passes.
int MeetAll(const c_MyApp::c_BumpView& view, float y, float dir, float reach, int* meets) {
    int any = 0;
    for (int j = 0; j < c_MyApp::c_BumpView::kLanes; ++j) {
        meets[j] = (view.live[j] != 0) & !(std::fabs(y - view.row[j]) >= kBumpRows) & (dir != view.dir[j]) &
                   !(std::fabs(reach - view.reach[j]) >= kBumpReach);
        any |= meets[j];
    }
    return any;
}

// Whether the penguin with screen key `key` and scaled x `reach` (finite numbers) may meet any
// record of the view: never 0 where the bump test meets one, seldom 1 where it meets none. All
// the lanes are tested, with no branch and no number that is not finite. The padding (0 and 0)
// is always kDirLift − kScreenedRows rows away.
int MayMeetAny(const c_MyApp::c_BumpView& view, float key, float reach) {
    // All bits set for a lane that passes, which folds into whole vector masks.
    int any = 0;
    for (int j = 0; j < c_MyApp::c_BumpView::kLanes; ++j) {
        const float rows = std::fabs(view.key[j] - key) * kScreenRowScale;
        const float across = std::fabs(view.keyReach[j] - reach);
        any |= (rows > across ? rows : across) < kBumpReach ? -1 : 0;
    }
    return any != 0 ? 1 : 0;
}

}  // namespace

int c_MyApp::p_AddPen(float x, float y, int dir, int delay, int select) {
    // The highest free record; with none free the first one is taken over.
    int r = pen::kRecords - 1;
    while (r > 0 && m_pen[r * pen::kFloats + pen::kInPlay] != 0) --r;
    float* p = &m_pen[r * pen::kFloats];
    // Offsets, frame, fall speed and the unused fields all start at 0.
    std::fill(p, p + pen::kFloats, 0.0f);
    p[pen::kInPlay] = 1;
    p[pen::kCellX] = x;
    p[pen::kCellY] = y;
    p[pen::kDir] = static_cast<float>(dir);
    p[pen::kTimer] = static_cast<float>(delay);
    p[pen::kState] = delay == pen::kPopInDelay ? pen::kPoppingIn : pen::kWaiting;
    if (select == 1) m_player[play::kSelected] = static_cast<float>(r);
    return 0;
}

int c_MyApp::p_ResetObj() {
    std::fill(m_pen.begin(), m_pen.end(), 0.0f);
    return 0;
}

int c_MyApp::p_ResetPlayers() {
    std::fill(m_player.begin(), m_player.begin() + play::kClearedFloats, 0.0f);
    return 0;
}

float* c_MyApp::p_PenAt(int r) { return &m_pen[r * pen::kFloats]; }

int c_MyApp::p_PenScreenPoint(int r, float& sx, float& sy) {
    const float* p = p_PenAt(r);
    sx = (p[pen::kCellX] + p[pen::kOffsetX] - 0.5f) * m_tileSize - m_camX;
    sy = (p[pen::kCellY] + p[pen::kOffsetY] + 1) * m_tileSize - m_camY;
    return 0;
}

int c_MyApp::p_Game() {
    m_facedLeft = 0;
    // 1. Background, snow and the analogue direction.
    p_DoBG(kSkyR, kSkyG, kSkyB, draw::kBackgroundDefault);
    p_DoSnow(0, 0);
    p_AnalogueControl();
    // 2. The level's size and its place on the screen.
    p_PlaceLevel();
    // 3. Tiles and pick-ups.
    p_DrawTiles();
    // 4. Choosing a skill and a penguin, and giving the skill.
    m_player[play::kLeftDistance] = kFarAway;
    m_player[play::kRightDistance] = kFarAway;
    p_SkillControls();
    // 5. The steps of this update.
    m_player[play::kLeftPenguin] = -1;
    m_player[play::kRightPenguin] = -1;
    int steps = kNormalSteps;
    if (m_levelOver == 0 && (p_PlayKey(action::kSpeedUp, 0, 0) != 0 || p_SpeedButtonHeld() != 0)) steps = kFastSteps;
    bool skillLeft = false;
    for (int s = 0; s < skill::kCount; ++s) skillLeft = skillLeft || m_player[play::kCounters + s] != 0;
    if (!skillLeft) steps = kNoSkillSteps;
    // 6. Every record, step by step; the clock stops once the level is over.
    // A record moves only in its own turn and when it is bumped, so the bump view noted now is
    // kept up to date by noting each record again after its turn. Penguins meet only while the
    // level is on: once it is over nobody reads the view.
    int inPlay = 0;
    p_ForgetNeighbourhoods();
    if (m_levelOver == 0) {
        for (int r = 0; r < pen::kRecords; ++r) p_NoteBumper(r);
    }
    for (int step = 0; step < steps; ++step) {
        for (int r = 0; r < pen::kRecords; ++r) {
            inPlay += p_StepPen(r);
            if (m_levelOver == 0) p_NoteBumper(r);
        }
        if (m_levelOver == 0) m_player[play::kTimer] -= 1;
    }
    p_KeepNeighbourhood();
    // 7. Nobody left in play.
    if (inPlay == 0) p_NoPenguinLeft();
    // 8. A tapped skill slot has been used, or refused.
    m_tapSkill = -1;
    // 9. HUD, timer and hints.
    p_DrawHud();
    // 10. Particles over everything.
    p_ResetDraw();
    p_DoParticles(1);
    m_levelDrawn = m_drawCount;
    if (m_levelOver != 0) p_StopTune();
    return 0;
}

int c_MyApp::p_StepPen(int r) {
    float* p = p_PenAt(r);
    if (p[pen::kInPlay] == 0) return 0;
    // 1. Drawn mirrored while facing left.
    const float scale = m_tileSize / kImageSize;
    if (p[pen::kDir] < 0) {
        p_SetSize(-scale, scale);
        m_facedLeft = 1;
    } else {
        p_SetSize(scale, scale);
    }
    // 2. Where it is drawn, from where it stood at the start of the step.
    float sx = 0, sy = 0;
    p_PenScreenPoint(r, sx, sy);
    // 3. Neighbours for the select stick.
    p_NotePen(r, sx, sy);
    // 4. The state rules.
    int counted = 0;
    if (p[pen::kInPlay] == 1) {
        p_SettlePen(r);
        if (p[pen::kState] == pen::kRescued) {
            p_PenRescued(r);
        } else {
            counted = 1;
            if (m_levelOver == 0) p_PenAct(r, sx, sy);
        }
    }
    // 5. Drawing, then the fall out of the level.
    p_DrawPen(r, sx, sy);
    p_PenDeath(r, sx, sy);
    return counted;
}

int c_MyApp::p_NotePen(int r, float sx, float sy) {
    const float* p = p_PenAt(r);
    if (vo_game_Trunc(m_player[play::kSelected]) == r) {
        m_player[play::kSelectedX] = sx;
        m_player[play::kSelectedY] = sy;
        return 0;
    }
    const float state = p[pen::kState];
    if (state == pen::kWaiting || state == pen::kPoppingIn || state == pen::kRescued) return 0;
    const float d = sx - m_player[play::kSelectedX];
    const float distance = std::fabs(d);
    // Right on top of the selected one is not a neighbour to move to.
    if (distance <= kSameSpot) return 0;
    if (d < 0 && distance < m_player[play::kLeftDistance]) {
        m_player[play::kLeftPenguin] = static_cast<float>(r);
        m_player[play::kLeftDistance] = distance;
    }
    if (d > 0 && distance < m_player[play::kRightDistance]) {
        m_player[play::kRightPenguin] = static_cast<float>(r);
        m_player[play::kRightDistance] = distance;
    }
    return 0;
}

int c_MyApp::p_SettlePen(int r) {
    float* p = p_PenAt(r);
    for (int axis : {pen::kOffsetX, pen::kOffsetY}) {
        float& offset = p[axis];
        float& cell = p[axis - (pen::kOffsetX - pen::kCellX)];
        if (offset >= 0.5f) {
            offset -= 1;
            cell += 1;
        } else if (offset <= -0.5f) {
            offset += 1;
            cell -= 1;
        }
    }
    p_GetMatrixOf(r, p[pen::kCellX], p[pen::kCellY]);
    p[pen::kGround] -= 1;
    p[pen::kFallSpeed] = std::min(p[pen::kFallSpeed] + kGravity, kMaxFallSpeed);
    // Only walking penguins fall.
    if (p[pen::kState] > pen::kWalking) p[pen::kFallSpeed] = 0;
    return 0;
}

int c_MyApp::p_PenAct(int r, float sx, float sy) {
    // Nearly every step walks or turns, a different one from record to record: a compare for
    // each costs less than a jump through the table that guesses wrong.
    const float state = p_PenAt(r)[pen::kState];
    if (state == pen::kWalking) return p_PenWalk(r);
    if (state == pen::kTurning) return p_PenTurn(r);
    switch (vo_game_Trunc(state)) {
        case pen::kWalking: return p_PenWalk(r);
        case pen::kTurning: return p_PenTurn(r);
        case pen::kPoppingIn: return p_PenPopIn(r);
        case pen::kWaiting: return p_PenWait(r);
        case pen::kSkillState + skill::kJump: return p_PenJump(r);
        case pen::kSkillState + skill::kLeap: return p_PenLeap(r);
        case pen::kSkillState + skill::kMelt:
        case pen::kSkillState + skill::kBurst: return p_PenDig(r, sx, sy);
        case pen::kSkillState + skill::kSpin: return p_PenSpin(r);
        default: return 0;
    }
}

int c_MyApp::p_PenWalk(int r) {
    float* p = p_PenAt(r);
    // 1. The walk cycle.
    p[pen::kFrame] += kFrameStep;
    if (p[pen::kFrame] > kLastWalkFrame) p[pen::kFrame] = 0;
    // 2. Falling or on the ground; feet near the block below land.
    const bool blockBelow = p_isFloor(p_Neighbour(grid::kBelow)) == 1;
    const bool falling = !blockBelow || p[pen::kOffsetY] < 0;
    if (blockBelow && p[pen::kOffsetY] > kLandAbove && p[pen::kOffsetY] < kLandBelow) {
        if (p[pen::kFallSpeed] > kLoudLanding) {
            p_PlaySFX(p_Rand(sfx::kFirstThud, sfx::kLastThud), Pitch(kLandingPitch, kLandingPitchRange), 1, 0);
        }
        p[pen::kOffsetY] = 0;
    }
    // 3. Move.
    if (falling) {
        p[pen::kOffsetY] += p[pen::kFallSpeed];
        p[pen::kOffsetX] += p[pen::kDir] * kAirDrift;
    } else {
        p[pen::kOffsetX] += p[pen::kDir] * kWalkSpeed;
        p[pen::kFallSpeed] = 0;
        p[pen::kGround] = kGroundSteps;
    }
    // 4. Walls.
    if (p_AtWall(r) == 1) {
        p_StartTurn(r, -p[pen::kDir]);
        p_PlaySFX(p_Rand(sfx::kFirstThud, sfx::kLastThud), Pitch(kThudPitch, kThudPitchRange), 1, 0);
    }
    // 5. Stuck inside a block: back the way it came.
    if (p_isFloor(p_Neighbour(grid::kCentre)) == 1) p_StartTurn(r, -p[pen::kDir]);
    // 6. Home.
    if (std::fabs(p[pen::kCellX] + p[pen::kOffsetX] - m_player[play::kExitX]) < kExitReachX &&
        std::fabs(p[pen::kCellY] + p[pen::kOffsetY] - m_player[play::kExitY]) < kExitReachY) {
        p[pen::kState] = pen::kRescued;
        p[pen::kTimer] = kRescueSteps;
        p_PlaySFX(sfx::kRescued, Pitch(kRescuePitch, kRescuePitchRange), 1, 0);
    }
    // 7. Other penguins.
    return p_PenBump(r);
}

int c_MyApp::p_AtWall(int r) {
    const float* p = p_PenAt(r);
    const bool left = p_isFloor(p_Neighbour(grid::kLeft)) == 1 && p[pen::kDir] == -1 && p[pen::kOffsetX] < -kWallReach;
    const bool right = p_isFloor(p_Neighbour(grid::kRight)) == 1 && p[pen::kDir] == 1 && p[pen::kOffsetX] > kWallReach;
    return left || right ? 1 : 0;
}

int c_MyApp::p_StartTurn(int r, float newDir) {
    float* p = p_PenAt(r);
    p[pen::kState] = pen::kTurning;
    p[pen::kNewDir] = newDir;
    p[pen::kTimer] = kTurnSteps;
    return 0;
}

int c_MyApp::p_NoteBumper(int r) {
    const float* p = p_PenAt(r);
    c_BumpView& view = m_bumpView;
    const bool live = !(p[pen::kInPlay] <= 0) && p[pen::kState] != pen::kRescued;
    const float row = p[pen::kCellY] + p[pen::kOffsetY];
    const float dir = p[pen::kDir];
    const float reach = (p[pen::kCellX] + p[pen::kOffsetX]) * kBumpScale + dir;
    view.live[r] = live ? 1.0f : 0.0f;
    view.row[r] = row;
    view.dir[r] = dir;
    view.reach[r] = reach;
    const bool fits = std::fabs(dir) == 1 && std::isfinite(row) && std::isfinite(reach);
    view.key[r] = live && fits ? row + dir * kDirLift : std::numeric_limits<float>::infinity();
    view.keyReach[r] = live && fits ? reach : 0;
    const uint64_t bit = uint64_t{1} << r;
    view.oddLive = live && !fits ? view.oddLive | bit : view.oddLive & ~bit;
    return 0;
}

int c_MyApp::p_PenBump(int r) {
    float* p = p_PenAt(r);
    if (p[pen::kState] == pen::kRescued) return 0;
    const float y = p[pen::kCellY] + p[pen::kOffsetY];
    int meets[c_BumpView::kLanes];
    // Whom the penguin meets as it stands now: the test of every record at once, without a
    // branch, since which ones pass cannot be guessed; itself it never meets.
    auto test = [&] {
        const float a = (p[pen::kCellX] + p[pen::kOffsetX]) * kBumpScale + p[pen::kDir];
        MeetAll(m_bumpView, y, p[pen::kDir], a, meets);
        meets[r] = 0;
    };
    // Meetings are few: most tests find nobody, and the records are passed over four at a time
    // while none of them is met.
    const float reach = (p[pen::kCellX] + p[pen::kOffsetX]) * kBumpScale + p[pen::kDir];
    // Screened first. A record facing the same way (itself included) is kDirLift × 2 rows away,
    // one not live infinitely far; for one facing the other way the moved rows, under 2048 with
    // the tested row inside ±kScreenedRows, round by a few units of 2^-13 at most.
    const float dir = p[pen::kDir];
    if (m_bumpView.oddLive == 0 && std::fabs(dir) == 1 && std::fabs(y) < kScreenedRows && std::isfinite(reach) &&
        MayMeetAny(m_bumpView, y - dir * kDirLift, reach) == 0) {
        return 0;
    }
    if (MeetAll(m_bumpView, y, p[pen::kDir], reach, meets) == 0) return 0;
    meets[r] = 0;
    for (int j = 0; j < c_BumpView::kLanes; ++j) {
        if (j % 4 == 0 && (meets[j] | meets[j + 1] | meets[j + 2] | meets[j + 3]) == 0) {
            j += 3;
            continue;
        }
        if (meets[j] == 0) continue;
        float* q = p_PenAt(j);
        const float a = (p[pen::kCellX] + p[pen::kOffsetX]) * kBumpScale + p[pen::kDir];
        const float b = m_bumpView.reach[j];
        p_StartTurn(r, -p[pen::kDir]);
        p_StartTurn(j, -q[pen::kDir]);
        // Apart, so that they do not meet again while they turn.
        const float push = a < b ? -kBumpPush : kBumpPush;
        p[pen::kOffsetX] += push;
        q[pen::kOffsetX] -= push;
        // The push moves both: the records after this one are tested again.
        p_NoteBumper(j);
        test();
    }
    return 0;
}

int c_MyApp::p_PenTurn(int r) {
    float* p = p_PenAt(r);
    p[pen::kTimer] -= 1;
    if (p[pen::kTimer] == kTurnFlip) p[pen::kDir] = p[pen::kNewDir];
    if (p[pen::kTimer] < 1) p[pen::kState] = pen::kWalking;
    if (p_isFloor(p_Neighbour(grid::kCentre)) == 1) p[pen::kOffsetX] += p[pen::kNewDir] * kUnstick;
    return 0;
}

int c_MyApp::p_PenWait(int r) {
    float* p = p_PenAt(r);
    p[pen::kTimer] -= 1;
    if (p[pen::kTimer] < 0) p[pen::kState] = pen::kWalking;
    return 0;
}

int c_MyApp::p_PenPopIn(int r) {
    float* p = p_PenAt(r);
    p[pen::kTimer] -= kPopInStep;
    if (p[pen::kTimer] < 0) p[pen::kState] = pen::kWalking;
    p[pen::kFrame] = kPopInFrame;
    if (p[pen::kTimer] > 1) p[pen::kOffsetY] += kHop * std::cos(kHopRate * p[pen::kTimer] * D2R);
    return 0;
}

int c_MyApp::p_PenRescued(int r) {
    float* p = p_PenAt(r);
    p[pen::kTimer] -= 1;
    p[pen::kOffsetY] -= kRescueRise;
    // Out of play but still rescued: the state is what counts it.
    if (p[pen::kCellY] < kLeaveRow) p[pen::kInPlay] = 0;
    return 0;
}

int c_MyApp::p_DrawPen(int r, float sx, float sy) {
    const float* p = p_PenAt(r);
    if (p[pen::kState] == pen::kWaiting) return 0;
    if (p[pen::kInPlay] == 1) p_DrawImg(image::kPenguin, sx, sy, static_cast<float>(vo_game_Trunc(p[pen::kFrame])));
    if (m_pointerDown != 0 && m_pointerUsed == 0 && p_MouseIn_Centered(sx, sy, kTapBox, kTapBox) == 1) {
        m_player[play::kSelected] = static_cast<float>(r);
        m_pointerUsed = 1;
        p_PlaySFX(sfx::kClick, 1);
    }
    if (vo_game_Trunc(m_player[play::kSelected]) == r) {
        // Only the picture spins with the clock; nothing the penguins do reads it.
        const float angle = static_cast<float>(vo_app_Millisecs() % kMarkerTurnMillisecs) * kMarkerSpin;
        const float scale = m_tileSize / kImageSize;
        p_SetSize(scale * std::sin(angle * D2R), scale);
        p_DrawImg(image::kPenguin, sx, sy - kMarkerLift * m_tileSize, image::kSelectedMarkerFrame);
    }
    return 0;
}

int c_MyApp::p_PenDeath(int r, float sx, float sy) {
    float* p = p_PenAt(r);
    if (p[pen::kInPlay] == 0 || p[pen::kCellY] <= kLastRow) return 0;
    if (m_levelOver == 0) p_PlaySFX(sfx::kFall, 1);
    p[pen::kInPlay] = 0;
    for (int i = 0; i < kDeathParticles; ++i) {
        const int kind = p_Rand(particle::kSpark, particle::kFalling);
        const int colour = p_Rand(1, particle::kLastHotColour);
        const float angle = -kDeathAngle + 2 * kDeathAngle * vo_random_Rnd();
        const float speed = kDeathMinSpeed + kDeathSpeedRange * vo_random_Rnd();
        p_ThrowParticle(sx + m_camX, sy + m_camY, kind, colour, angle, speed);
    }
    // One penguin lost loses them all: nobody counts as rescued.
    for (int j = 0; j < pen::kRecords; ++j) {
        p_PenAt(j)[pen::kInPlay] = 0;
        p_PenAt(j)[pen::kState] = pen::kWalking;
    }
    return p_EndLevel(ending::kDeadPenguin);
}
