// Level 1 in the real window: what the headless game shows when its only penguin jumps in a
// given update, and a player who watches the penguin and jumps in time.
#pragma once

#include <string>
#include <vector>

#include "e2e/reference.h"

// Level 1's only penguin walks right along the floor of a pit towards its far wall; a Jump there,
// in updates 716 to 753 of the level, clears the wall. The headless game proves that a Jump
// anywhere within kSlack updates of kJumpUpdate succeeds, and the player jumps in that span.
constexpr int kJumpUpdate = 735;
constexpr int kSlack = 15;
// Updates after the start of a level when it stands drawn, the penguin far from the pit; and
// after the end of a level when the banner's words stand in their final places.
constexpr int kLevelShown = 40;
constexpr int kBannerOut = 40;
// Updates for the banner to retract over the title and the wheel to settle.
constexpr int kTitleBack = 150;

// What the headless game shows and keeps when level 1 is started from the settled title with
// Enter and played with one Jump in update `jump` of the level.
struct LevelOneRun {
    bool completed = false;
    // The penguin's picture after each update n of the level before the jump, at index n.
    std::vector<Drawn> walk;
    Scene title, level, banner, titleAfter;
    // The saved progress after the title came back, as a lost focus writes it; level 1's record
    // in it (the penguins rescued, then the skills left) and its best score.
    std::string state;
    std::vector<int> record;
    int topScore = 0;
};
LevelOneRun PlayLevelOne(int jump);
// Level 1's record as the game holds it: the penguins rescued, then the skills left.
std::vector<int> LevelOneRecord(const c_MyApp& app);

// What a saved state holds, read back by the game itself: level 1's record and best score, the
// level the wheel starts at, and the title it shows.
struct ReadBack {
    std::vector<int> record;
    int topScore = 0;
    int selected = -1;
    Scene title;

    explicit ReadBack(const std::string& state);
};

struct LevelOneSolved {
    bool solved = false;
    // The window with the "Level Complete" banner out.
    Picture banner;
    // What the player saw and did, for a failure to tell.
    std::string story;
};
// Plays level 1, just started in the window, through to its banner with J (and K to hurry it
// where nothing is to be done). `aim` is a run that jumps after kJumpUpdate + kSlack; `before` the
// window's picture of the level while the penguin is still far from the pit.
LevelOneSolved SolveLevelOne(unsigned long window, const LevelOneRun& aim, const Picture& before);
