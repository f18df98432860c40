// The game object's single fields that a level carries from one update to the next, listed once
// for everything that keeps them beside the game: a replay records what a level's first update
// inherits (its carry line) and the replay runner gives it back; the solver saves and restores
// a level in play.
#pragma once

#include "game/defs.h"

// The fields on their own, under the game object's names.
struct c_LevelFields {
    int m_keyUsed = 0, m_pointerUsed = 0;
    float m_keyRampX = 0, m_keyRampY = 0;
    int m_optCursor = 0, m_hideHud = 0;
    int m_mode = 0, m_paused = 0;
    int m_levelOver = 0, m_endReason = 0, m_endTimer = 0, m_score = 0, m_rescued = 0, m_rank = 0;
    int m_tapSkill = 0, m_facedLeft = 0, m_pointerDown = 0;
    int m_drawCount = 0, m_levelDrawn = 0;
    float m_stickOutX = 0, m_stickOutY = 0;
};

// How a field is kept. A carried field is inherited by a level's first update from the screens
// before it; a replay's carry line gives the carried fields in list order, each a whole number
// from 0 to m_most or, for a decimal field, from -1 to 1. Every field is kept with a level in play.
struct c_FieldRule {
    bool m_carried = false;
    const char* m_what = "";
    int m_most = 0;
};

// each(kept, live, rule) for every field in the order above: kept of a c_LevelFields, live of
// the game object (or of another c_LevelFields).
template <class Kept, class Live, class Each>
void vo_game_EachLevelField(Kept& kept, Live& live, Each&& each) {
    constexpr c_FieldRule kLatch{true, "a latch", 1};
    constexpr c_FieldRule kRamp{true, "a key ramp", 1};
    constexpr c_FieldRule kLevel{};
    each(kept.m_keyUsed, live.m_keyUsed, kLatch);
    each(kept.m_pointerUsed, live.m_pointerUsed, kLatch);
    each(kept.m_keyRampX, live.m_keyRampX, kRamp);
    each(kept.m_keyRampY, live.m_keyRampY, kRamp);
    each(kept.m_optCursor, live.m_optCursor, c_FieldRule{true, "an options row", menu::kWindowRow});
    each(kept.m_hideHud, live.m_hideHud, c_FieldRule{true, "a flag", 1});
    each(kept.m_mode, live.m_mode, kLevel);
    each(kept.m_paused, live.m_paused, kLevel);
    each(kept.m_levelOver, live.m_levelOver, kLevel);
    each(kept.m_endReason, live.m_endReason, kLevel);
    each(kept.m_endTimer, live.m_endTimer, kLevel);
    each(kept.m_score, live.m_score, kLevel);
    each(kept.m_rescued, live.m_rescued, kLevel);
    each(kept.m_rank, live.m_rank, kLevel);
    each(kept.m_tapSkill, live.m_tapSkill, kLevel);
    each(kept.m_facedLeft, live.m_facedLeft, kLevel);
    each(kept.m_pointerDown, live.m_pointerDown, kLevel);
    each(kept.m_drawCount, live.m_drawCount, kLevel);
    each(kept.m_levelDrawn, live.m_levelDrawn, kLevel);
    each(kept.m_stickOutX, live.m_stickOutX, kLevel);
    each(kept.m_stickOutY, live.m_stickOutY, kLevel);
}
