// How a level ends: the score rule, the ending and its score, the banner over the frozen level
// with the rank, and the way back to the title with the score entered into the level's top ten,
// the level record, the wheel moved on and the progress saved.
#include <algorithm>
#include <array>

#include "game/level_end.h"
#include "game/my_app.h"
#include "game/text_line.h"
#include "game/truncate.h"

using namespace progress;

namespace {

// The banner grows for 90 updates, then the title takes over with it partly retracted; over
// the title it retracts by 2 per update.
constexpr int kBannerUpdates = 90;
constexpr int kBannerHandOver = 73;
constexpr int kBannerRetract = 2;
// The veil darkens over 40 updates up to 0.7; the bands grow 12 pixels per update, to 0.45 of
// the screen height. The two bars run at 0.45 and 0.55 of the height.
constexpr float kVeilUpdates = 40;
constexpr float kVeilAlpha = 0.7f;
constexpr int kBandGrowth = 12;
constexpr float kBandReach = 0.45f;
constexpr float kUpperBarY = 0.45f, kLowerBarY = 0.55f;
constexpr float kBarHalfHeight = 8;
constexpr float kBarAlpha = 0.5f;
// The words sit at these fractions of the width, at text scale 4.
constexpr float kFirstWordX = 0.35f, kSecondWordX = 0.65f;
constexpr float kWordSize = 4;
// The rescued line on a blue bar 0.3 of the width wide and 32 high, centred on the line.
constexpr float kRankBarX = 0.35f, kRankBarWidth = 0.3f, kRankBarHeight = 32;
constexpr float kRescuedRise = 1.5f;
constexpr float kRescuedSize = 2;
constexpr float kCentred = 1;
constexpr int kStepsPerSecond = kRunningRate;

struct BannerWords {
    String first, second;
};

const BannerWords& WordsFor(int reason) {
    static const BannerWords kQuit{"Quit", "Game"}, kComplete{"Level", "Complete"},
        kDead{"Dead", "Penguin :("}, kOutOfTime{"Out of", "Time"}, kOver{"GAME", "OVER"};
    switch (reason) {
        case ending::kQuit: return kQuit;
        case ending::kComplete: return kComplete;
        case ending::kDeadPenguin: return kDead;
        case ending::kOutOfTime: return kOutOfTime;
        default: return kOver;
    }
}

}  // namespace

int vo_score_LevelScore(int rescued, int secondsLeft) {
    if (rescued < 1) return 0;
    // A timer that ran out reads below zero; it adds nothing rather than taking points away.
    return 100 * rescued + (secondsLeft > 0 ? secondsLeft : 0);
}

int c_MyApp::p_LoadMenu() {
    // Only a level of the fifteen has a table and a record to write to.
    const bool knownLevel = m_level >= 1 && m_level <= kLevels;
    const int table = TopTenOf(m_level);
    const int record = RecordOf(m_level);

    if (knownLevel) {
        // A score equal to a stored one goes below it.
        for (int rank = 0; rank < kTopTen; ++rank) {
            if (m_progress[table + rank] < m_score) {
                for (int j = kTopTen - 1; j > rank; --j) m_progress[table + j] = m_progress[table + j - 1];
                m_progress[table + rank] = m_score;
                break;
            }
        }
    }

    m_rescued = p_CountRescued();

    if (m_endReason != ending::kDeadPenguin && m_endReason != ending::kQuit) {
        if (m_rescued >= 1) ++m_levelSel;
        if (m_levelSel > kLastLevelIndex) m_levelSel = kLastLevelIndex;
        if (knownLevel) {
            if (m_rescued > m_progress[record]) m_progress[record] = m_rescued;
            for (int k = 0; k < play::kCarriedCounters; ++k) {
                float left = m_player[play::kCounters + k];
                if (left > static_cast<float>(m_progress[record + 1 + k])) {
                    m_progress[record + 1 + k] = vo_game_Trunc(left);
                }
            }
        }
    }

    m_wheelPos = static_cast<float>(-(m_levelSel * kWheelStep));
    // The progress before the replay: on a nearly full disk the last bytes go to what matters.
    p_Save();
    p_ReplaySave();
    return 0;
}

int c_MyApp::p_CountRescued() {
    int rescued = 0;
    for (int p = 0; p < pen::kRecords; ++p) {
        if (m_pen[p * pen::kFloats + pen::kState] == pen::kRescued) ++rescued;
    }
    return rescued;
}

int c_MyApp::p_EndLevel(int reason) {
    if (m_levelOver != 0) return 0;
    m_levelOver = 1;
    m_endReason = reason;
    // A death clears every record: nobody counts as rescued, whatever the order of the clearing.
    const int rescued = reason == ending::kDeadPenguin ? 0 : p_CountRescued();
    m_score = vo_score_LevelScore(rescued, std::max(0, vo_game_Trunc(m_player[play::kTimer] / kStepsPerSecond)));
    return 0;
}

int c_MyApp::p_NoPenguinLeft() {
    return p_EndLevel(p_CountRescued() > 0 ? ending::kComplete : ending::kNone);
}

String c_MyApp::p_MyNth() {
    static const std::array<String, kTopTen + 1> kRanks = {"10th", "1st!", "2nd", "3rd", "4th", "5th",
                                                           "6th",  "7th",  "8th", "9th", "10th"};
    m_rank = 0;
    if (m_level >= 1 && m_level <= kLevels) {
        const int table = TopTenOf(m_level);
        for (int i = 1; i <= kTopTen && m_rank == 0; ++i) {
            if (m_score >= m_progress[table + i - 1]) m_rank = i;
        }
    }
    return kRanks[m_rank];
}

int c_MyApp::p_GameOver() {
    static const String kRescuedLabel("Rescued : ");
    if (m_endTimer > 0) {
        const float w = jscrw, h = jscrh;
        // No key press or tap counts as new while the banner shows.
        m_keyUsed = 1;
        m_pointerUsed = 1;

        p_ResetDraw();
        p_SetCol(0, 0, 0, std::min(static_cast<float>(m_endTimer) / kVeilUpdates, kVeilAlpha));
        p_Rect(-1, -1, w + 2, h + 2);

        const float band = static_cast<float>(std::min(kBandGrowth * m_endTimer, vo_game_Trunc(kBandReach * h)));
        p_SetCol(255, 255, 0, kBarAlpha);
        p_Rect(-1, kUpperBarY * h - kBarHalfHeight, 2 * band, 2 * kBarHalfHeight);
        p_SetCol(255, 128, 0, kBarAlpha);
        p_Rect(w - 2 * band, kLowerBarY * h - kBarHalfHeight, 2 * band + 1, 2 * kBarHalfHeight);

        const BannerWords& words = WordsFor(m_endReason);
        p_SetCol(255, 180, 180, 1);
        p_SetSize(kWordSize);
        p_Text(kFirstWordX * w, band, words.first, kCentred, kCentred);
        p_Text(kSecondWordX * w, h - band, words.second, kCentred, kCentred);

        // Only a score that made the top ten earns the rescued line.
        p_MyNth();
        if (m_rank >= 1) {
            const float lineY = h - band / kRescuedRise;
            p_SetCol(0, 125, 255, kBarAlpha);
            p_Rect(kRankBarX * w, lineY - kRankBarHeight / 2, kRankBarWidth * w, kRankBarHeight);
            m_rescued = p_CountRescued();
            p_SetCol(100, 255, 100, 1);
            p_SetSize(kRescuedSize);
            p_Text(0.5f * w, lineY, c_TextLine().Add(kRescuedLabel).Add(m_rescued).View(), kCentred, kCentred);
        }
        p_ResetDraw();
    }

    if (m_mode == screen::kInLevel) {
        ++m_endTimer;
        if (m_endTimer >= kBannerUpdates) {
            m_mode = screen::kLevelDone;
            if (HasMusicStream == 1) p_StopTune();
            m_endTimer = kBannerHandOver;
        }
    } else if (m_mode < screen::kInLevel) {
        m_endTimer = std::max(0, m_endTimer - kBannerRetract);
    }
    return 0;
}
