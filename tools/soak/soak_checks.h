// What the soak watches in the game between updates: which screen it shows, what it has been
// through (the coverage), and the two checks of every run: a saved string reloads to the values
// it was saved from, and the draw queue never fills on the title screen.
#pragma once

#include <string>

#include "game/my_app.h"

enum class c_SoakScreen : int {
    kLoading,
    kTitle,
    kCredits,
    kTitleOptions,
    // In a level, and starting one.
    kLevel,
    kPause,
    kPauseOptions,
    // The end banner over a finished level, and as it retracts over the title.
    kBanner,
};
constexpr int kSoakScreens = 8;

const char* vo_soak_ScreenName(c_SoakScreen screen);
c_SoakScreen vo_soak_Screen(c_MyApp& app);

// Whether the next update runs the title screen with nothing open over it, where a held back
// key ends the program.
bool vo_soak_BackEndsProgram(c_MyApp& app);

// The queue has no room for another record: whatever the update draws next is dropped.
bool vo_soak_QueueFull(const c_MyApp& app);

// Loads the saved string into a fresh game object through the game's own load path and compares
// the options, badges, scores and records with the live game's, and the reloaded values saved
// again with the string. Empty when all agree, else what differs first.
std::string vo_soak_CheckReload(const std::string& saved, c_MyApp& live);

// Everything one or more runs went through. Plain numbers, so that a child process can hand it
// back through shared memory.
struct c_SoakCoverage {
    // Level ends by reason: quit, none (game over), complete, out of time, dead penguin.
    static constexpr int kEndReasons = 5;

    long long m_updates = 0;
    long long m_screenUpdates[kSoakScreens] = {};
    // The fullest the draw queue was after an update on each screen, in floats.
    int m_peakQueue[kSoakScreens] = {};
    int m_levelStarts = 0;
    int m_levelEnds[kEndReasons] = {};
    int m_saves = 0;
    int m_focusLosses = 0;
    int m_resizes = 0;
    int m_fullScreenSwitches = 0;

    void p_Add(const c_SoakCoverage& other);
    // The slot of m_levelEnds for an ending:: reason, or -1.
    static int p_EndSlot(int reason);
    // A few lines for a person: updates per screen with their share and peak queue, level ends,
    // saves, focus losses, resizes and full-screen switches.
    std::string p_Report() const;
};
