// The room a script leaves its player, level by level: when it first acts, when the level is
// decided, the longest stretch played at normal speed with nothing to decide, and for each of its
// actions how far it can move earlier and later, every other action kept, with the level still
// ending the same.
#pragma once

#include <string>
#include <vector>

#include "tools/replay/replay_runner.h"

// Input lines at most this many updates apart belong to one action: the key strokes of one
// decision (a penguin selected, a skill switched to, the skill used).
constexpr int kSlackActionPause = 4;

// One action of a script: a run of input lines, moved as a whole.
struct c_SlackAction {
    // The script line of its first input.
    int m_line = 0;
    // The level's update that first sees it (the level's first update is 1).
    int m_update = 0;
    // How far it moves, earlier and later, with its level ending the same; at most the limit
    // measured.
    int m_earlier = 0;
    int m_later = 0;
    // The updates it may come in: the two moves and its own.
    int p_Window() const { return m_earlier + m_later + 1; }
};

// One level a script played.
struct c_SlackLevel {
    int m_level = 0;
    // The level's update that first sees an action (0: none), and the one that ended the level
    // (0: it did not end).
    int m_firstAction = 0;
    int m_finish = 0;
    // The longest run of updates at normal speed (one simulation step each) with no action.
    int m_idle = 0;
    // How it ended: reason, rescued and counters (m_update is the finish).
    c_LevelEnd m_end;
    std::vector<c_SlackAction> m_actions;
    // The action with the smallest window; nullptr when there is none.
    const c_SlackAction* p_Tightest() const;
};

// Plays the script on a game started from this saved state ("" for a first start), and watches
// every level it plays. With a limit above 0, each action is then moved step, 2 × step, ... up
// to limit updates each way (the last move is the limit itself), in processes forked from one
// playing of the script, until its level ends otherwise: the wait before the action is longer or
// shorter by the move and the wait after it the other way, and the game is watched to the level's
// end. A step above 1 is a quicker check of the limit that takes the moves between as held. False
// with the error when the script does not play, or when the game cannot be forked.
bool vo_replay_Slack(const c_ReplayScript& script, const std::string& state, int limit,
                     std::vector<c_SlackLevel>& levels, c_ReplayError& error, int step = 1);
