// The levels stored in the program as run-length coded text, their titles, their decoding, and
// building a level from the text: the grid, the start and exit, the counters and the waiting penguins.
#include <array>
#include <string>

#include "framework/app/error.h"
#include "framework/app/random.h"
#include "game/my_app.h"
#include "game/stored_levels.h"

namespace {

// Every level number from kFirstDefaultLevel to kLastLevel plays the default level. All levels
// come from their maps in levels/, encoded when the game is built.
constexpr int kFirstDefaultLevel = 16;
constexpr int kLastLevel = 30;

// The run-length code: a count letter ("A" 1 to "Z" 26, "a" 27 to "z" 52) and the character it
// repeats; anything else where a count is expected (the blanks between groups) is skipped.
constexpr int kFirstCount = 'A', kLastUpperCount = 'Z', kLastCount = 'z';
constexpr int kUpperBase = 64, kLowerBase = 70;

// The expanded text: the map column by column, then the counter characters ("@" is 0).
constexpr int kMapChars = grid::kCols * grid::kRows;
constexpr int kTextLength = kMapChars + play::kCounterSlots;
constexpr int kCounterBase = '@';

// Map characters with a meaning other than their tile code.
constexpr int kBlockChar = '1', kStartChar = 'S', kExitChar = 'X';
constexpr int kFirstPickupChar = 'A', kPenguinPickupChar = 'F';
// Block looks 1 to 8 at random.
constexpr float kBlockLooks = 7.99f;
// Map characters whose codes are printed while a level is built (the pick-ups among them).
constexpr int kFirstPrinted = '=', kLastPrinted = 'O';

// The penguins enter one after another at the start marker.
constexpr int kFirstEntry = 60;
constexpr int kEntryGap = 220;

constexpr const char* kLevelTune = "Garlic";
constexpr int kLoopTune = 1;

// Calls run(count, character) for each pair of the code; a count letter at the very end has
// nothing to repeat.
template <class Run>
void ForEachRun(std::u16string_view text, Run run) {
    for (size_t i = 0; i < text.size(); ++i) {
        const int c = text[i];
        if (c < kFirstCount || c > kLastCount) continue;
        ++i;
        if (i < text.size()) run(c <= kLastUpperCount ? c - kUpperBase : c - kLowerBase, text[i]);
    }
}

int TileOf(int c) {
    if (c == kBlockChar) return static_cast<int>(vo_random_Rnd() * kBlockLooks + tile::kFirstBlock);
    if (c == kStartChar) return tile::kStart;
    if (c == kExitChar) return tile::kExit;
    if (c >= kFirstPickupChar && c <= kPenguinPickupChar) return tile::kSkillPickup + (c - kFirstPickupChar);
    return tile::kEmpty;
}

// The printed codes as text, made once: building a level allocates only its expanded text.
const String& CodeText(int c) {
    static const auto texts = [] {
        std::array<String, kLastPrinted - kFirstPrinted + 1> made;
        for (int code = kFirstPrinted; code <= kLastPrinted; ++code) made[code - kFirstPrinted] = String(code);
        return made;
    }();
    return texts[c - kFirstPrinted];
}

int CellIndex(int x, int y) { return (y * grid::kRowCells + x) * grid::kCellFloats; }

}  // namespace

String c_MyApp::p_GetLevDat(int level) {
    // Made once, so that starting a level allocates only its expanded text.
    static const auto stored = [] {
        std::array<String, kLastStoredLevel - kFirstStoredLevel + 1> texts;
        for (int n = kFirstStoredLevel; n <= kLastStoredLevel; ++n) {
            texts[n - kFirstStoredLevel] = String(vo_levels_Stored(n));
        }
        return texts;
    }();
    static const String defaultLevel(vo_levels_Default());
    if (level >= kFirstStoredLevel && level <= kLastStoredLevel) return stored[level - kFirstStoredLevel];
    if (level >= kFirstDefaultLevel && level <= kLastLevel) return defaultLevel;
    return String();
}

String c_MyApp::p_JuNKrunch(const String& text) {
    // Measured first, so that the result is allocated once.
    size_t length = 0;
    ForEachRun(text.View(), [&length](int count, char16_t) { length += static_cast<size_t>(count); });
    std::u16string out;
    out.reserve(length);
    ForEachRun(text.View(), [&out](int count, char16_t c) { out.append(static_cast<size_t>(count), c); });
    return String(std::move(out));
}

int c_MyApp::p_GetLev(int level) { return p_BuildLevel(level, p_JuNKrunch(p_GetLevDat(level))); }

int c_MyApp::p_BuildLevel(int level, const String& text) {
    m_tapSkill = -1;
    m_player[play::kTimer] = play::kLevelSteps;
    m_levCols = grid::kCols;
    m_levRows = grid::kRows;
    for (int x = 0; x <= m_levCols + 1; ++x) {
        for (int y = 0; y <= m_levRows + 1; ++y) m_grid[CellIndex(x, y)] = tile::kEmpty;
    }

    // A text too short for a map and its counters (a number with no stored level) builds an
    // empty level with nothing to spend and nobody to rescue, instead of reading past its end.
    const std::u16string_view chars = text.View();
    const bool whole = chars.size() >= static_cast<size_t>(kTextLength);
    int at = 0;
    if (whole) {
        for (int x = 1; x <= m_levCols; ++x) {
            for (int y = 1; y <= m_levRows; ++y) {
                const int c = chars[static_cast<size_t>(at++)];
                m_grid[CellIndex(x, y)] = static_cast<float>(TileOf(c));
                if (c == kStartChar) {
                    m_player[play::kStartX] = static_cast<float>(x);
                    m_player[play::kStartY] = static_cast<float>(y);
                } else if (c == kExitChar) {
                    m_player[play::kExitX] = static_cast<float>(x);
                    m_player[play::kExitY] = static_cast<float>(y);
                }
                if (c >= kFirstPrinted && c <= kLastPrinted) voPrint(CodeText(c));
            }
        }
    }
    m_player[play::kPenguins] = whole ? static_cast<float>(m_settings[0]) : 0;

    if (!whole) {
        for (int i = 0; i < play::kCounterSlots; ++i) m_player[play::kCounters + i] = 0;
    } else if (level == 1) {
        for (int i = 0; i < play::kCounterSlots; ++i) {
            m_player[play::kCounters + i] = static_cast<float>(chars[static_cast<size_t>(at + i)] - kCounterBase);
        }
    } else if (level >= 2) {
        // Later levels start with what the level before left: its record keeps the counters.
        const int previous = progress::RecordOf(level - 1) + 1;
        for (int i = 0; i < play::kCarriedCounters; ++i) {
            m_player[play::kCounters + i] = static_cast<float>(m_progress[previous + i]);
        }
    }

    m_player[play::kSelected] = 0;
    m_player[play::kUnused3] = 0;
    p_ResetObj();
    for (int k = 0; static_cast<float>(k) <= m_player[play::kPenguins] - 1; ++k) {
        p_AddPen(m_player[play::kStartX], m_player[play::kStartY], 1, kFirstEntry + kEntryGap * k, k == 0 ? 1 : 0);
    }
    return 0;
}

int c_MyApp::p_FlushGame() {
    p_ResetObj();
    p_ResetGrid();
    p_ResetStars(particle::kStartStars);
    p_ResetParticles(particle::kStartMax);
    p_ResetPlayers();
    m_paused = 0;
    m_score = 0;
    m_levelOver = 0;
    m_endTimer = 0;
    m_endReason = ending::kNone;
    m_camX = 0;
    m_camY = 0;
    m_camDX = 0;
    m_camDY = 0;
    return 0;
}

const String& c_MyApp::p_LevelTitle(int level) {
    static const std::array<String, kLastStoredLevel + 1> kTitles = [] {
        std::array<String, kLastStoredLevel + 1> titles;
        for (int n = kFirstStoredLevel; n <= kLastStoredLevel; ++n) {
            const String name(vo_levels_Name(n));
            titles[n] = String("Level ") + String(n) + (name.Empty() ? String() : String(" \u2014 ") + name);
        }
        return titles;
    }();
    static const String kNone;
    return level >= kFirstStoredLevel && level <= kLastStoredLevel ? kTitles[level] : kNone;
}

int c_MyApp::p_LoadGame() {
    m_tapSkill = -1;
    m_levelAge = 0;
    m_mode = screen::kInLevel;
    p_PlayTune(String(kLevelTune), kLoopTune);
    p_FlushGame();
    p_GetLev(m_level);
    p_ReplayBuilt();
    return 0;
}
