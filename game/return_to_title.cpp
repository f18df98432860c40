// The way back from a finished level to the title: the score into the level's top ten, the
// level record, the wheel moved on, and the progress saved.
#include "game/my_app.h"
#include "game/progress_layout.h"
#include "game/truncate.h"

namespace {

constexpr int kPenguins = 50;
constexpr int kPenguinFloats = 20;
constexpr int kStateField = 9;
constexpr int kRescued = 8;
constexpr int kSkillCounters = 50;
constexpr int kCounters = 8;
constexpr int kDeadPenguin = 9;
constexpr int kQuit = -1;

}  // namespace

int c_MyApp::p_LoadMenu() {
    // Only a level of the fifteen has a table and a record to write to.
    const bool knownLevel = m_level >= 1 && m_level <= kLevels;
    const int table = kTopTen * (m_level - 1);
    const int record = table + kRecordBase;

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

    m_rescued = 0;
    for (int p = 0; p < kPenguins; ++p) {
        if (m_pen[p * kPenguinFloats + kStateField] == kRescued) ++m_rescued;
    }

    if (m_endReason != kDeadPenguin && m_endReason != kQuit) {
        if (m_rescued >= 1) ++m_levelSel;
        if (m_levelSel > kLastLevelIndex) m_levelSel = kLastLevelIndex;
        if (knownLevel) {
            if (m_rescued > m_progress[record]) m_progress[record] = m_rescued;
            for (int k = 0; k < kCounters; ++k) {
                float left = m_player[kSkillCounters + k];
                if (left > static_cast<float>(m_progress[record + 1 + k])) {
                    m_progress[record + 1 + k] = vo_game_Trunc(left);
                }
            }
        }
    }

    m_wheelPos = static_cast<float>(-(m_levelSel * kWheelStep));
    p_Save();
    return 0;
}
