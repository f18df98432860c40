// The soak's view of the game: screens from the game's own state fields, the reload check
// through a second, unregistered game object, and the coverage report.
#include "tools/soak/soak_checks.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kScreenNames[kSoakScreens] = {
    "loading", "title", "credits", "options (title)", "level", "pause", "options (pause)", "banner",
};
constexpr const char* kEndNames[c_SoakCoverage::kEndReasons] = {"quit", "game over", "complete", "out of time",
                                                                "dead penguin"};
constexpr int kEndReasonCodes[c_SoakCoverage::kEndReasons] = {ending::kQuit, ending::kNone, ending::kComplete,
                                                              ending::kOutOfTime, ending::kDeadPenguin};

// The progress a save keeps and a load reads back: every level's top ten, then every record.
constexpr int kProgressRead = progress::RecordOf(progress::kLevels) + progress::kTopTen;

template <class T>
std::string FirstDifference(const char* what, const Array<T>& reloaded, const Array<T>& live, int count) {
    for (int i = 0; i < count; ++i) {
        if (reloaded[i] != live[i]) {
            return std::string(what) + "[" + std::to_string(i) + "] reloads as " + std::to_string(reloaded[i]) +
                   ", was " + std::to_string(live[i]);
        }
    }
    return {};
}

}  // namespace

const char* vo_soak_ScreenName(c_SoakScreen screen) { return kScreenNames[static_cast<int>(screen)]; }

c_SoakScreen vo_soak_Screen(c_MyApp& app) {
    if (app.m_loadStep > 0) return c_SoakScreen::kLoading;
    const bool inLevel = app.m_mode == screen::kInLevel;
    if (app.m_optionsOpen == 1) return inLevel ? c_SoakScreen::kPauseOptions : c_SoakScreen::kTitleOptions;
    if ((inLevel && app.m_levelOver > 0) || app.m_mode == screen::kLevelDone ||
        (app.m_mode == screen::kTitle && app.m_endTimer > 0)) {
        return c_SoakScreen::kBanner;
    }
    if (inLevel) return app.m_paused != 0 ? c_SoakScreen::kPause : c_SoakScreen::kLevel;
    if (app.m_mode == screen::kStartLevel) return c_SoakScreen::kLevel;
    return app.m_creditsOpen == 1 ? c_SoakScreen::kCredits : c_SoakScreen::kTitle;
}

bool vo_soak_BackEndsProgram(c_MyApp& app) {
    return app.m_mode == screen::kTitle && app.m_optionsOpen == 0 && app.m_creditsOpen == 0;
}

bool vo_soak_QueueFull(const c_MyApp& app) { return app.m_drawCount > draw::kLastRecordStart; }

std::string vo_soak_CheckReload(const std::string& saved, c_MyApp& live) {
    // Not registered with the host: only its arrays and its load path are used.
    Ref<c_MyApp> fresh = New<c_MyApp>();
    fresh->p_LoadString(String(saved));
    std::string difference = FirstDifference("option", fresh->m_options, live.m_options, option::kCount);
    if (difference.empty()) {
        difference = FirstDifference("badge", fresh->m_badges, live.m_badges, live.m_badges.Length());
    }
    if (difference.empty()) difference = FirstDifference("progress", fresh->m_progress, live.m_progress, kProgressRead);
    if (difference.empty() && fresh->p_SaveString().ToUtf8() != saved) {
        difference = "the reloaded values save as a different string";
    }
    fresh = nullptr;
    gc_collect();
    return difference;
}

void c_SoakCoverage::p_Add(const c_SoakCoverage& other) {
    m_updates += other.m_updates;
    for (int s = 0; s < kSoakScreens; ++s) {
        m_screenUpdates[s] += other.m_screenUpdates[s];
        m_peakQueue[s] = std::max(m_peakQueue[s], other.m_peakQueue[s]);
    }
    m_levelStarts += other.m_levelStarts;
    for (int r = 0; r < kEndReasons; ++r) m_levelEnds[r] += other.m_levelEnds[r];
    m_saves += other.m_saves;
    m_focusLosses += other.m_focusLosses;
    m_resizes += other.m_resizes;
    m_fullScreenSwitches += other.m_fullScreenSwitches;
}

int c_SoakCoverage::p_EndSlot(int reason) {
    for (int r = 0; r < kEndReasons; ++r) {
        if (kEndReasonCodes[r] == reason) return r;
    }
    return -1;
}

std::string c_SoakCoverage::p_Report() const {
    char line[160];
    std::string out;
    std::snprintf(line, sizeof line, "%-16s %10s %7s %11s\n", "screen", "updates", "share", "peak queue");
    out += line;
    for (int s = 0; s < kSoakScreens; ++s) {
        const double share =
            m_updates > 0 ? 100.0 * static_cast<double>(m_screenUpdates[s]) / static_cast<double>(m_updates) : 0;
        std::snprintf(line, sizeof line, "%-16s %10lld %6.1f%% %5d/%d\n", kScreenNames[s], m_screenUpdates[s], share,
                      m_peakQueue[s], draw::kQueueFloats);
        out += line;
    }
    std::snprintf(line, sizeof line, "%lld updates, %d levels started, level ends:", m_updates, m_levelStarts);
    out += line;
    for (int r = 0; r < kEndReasons; ++r) {
        std::snprintf(line, sizeof line, " %s %d%s", kEndNames[r], m_levelEnds[r], r + 1 < kEndReasons ? "," : "\n");
        out += line;
    }
    std::snprintf(line, sizeof line,
                  "%d saves reloaded and compared, %d focus losses, %d resizes, %d full-screen switches\n", m_saves,
                  m_focusLosses, m_resizes, m_fullScreenSwitches);
    out += line;
    return out;
}
