// The saved-data string: options, badge flags and level scores written as "|"-terminated
// decimal fields, each section guarded by its own checksum so that damage costs only that section;
// saving it, and the title's notice while saving fails.
#include <climits>
#include <iterator>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/app/app.h"
#include "framework/app/error.h"
#include "game/globals.h"
#include "game/my_app.h"

namespace {

using namespace progress;

constexpr int kOptions = option::kCount;
constexpr int kBadgeWords = 8;
constexpr int kBadgeBits = 32;
constexpr int kScoreRowsWritten = 20;
// Score row r is level r + 1's: ten pairs of a top-ten score and a record entry, then the row's
// checksum.
constexpr int kRowSumField = 2 * kTopTen;
constexpr int kRowFields = kRowSumField + 1;
constexpr int kFields = kOptions + 1 + kBadgeWords + 1 + kScoreRowsWritten * kRowFields;
constexpr int kScoreRowsRead = 15;

// Checksums wrap at 32 bits whichever way the values lie, so any stored int is summable.
uint32_t Wrapping(int v) { return static_cast<uint32_t>(v); }
int AsStored(uint32_t v) { return static_cast<int>(v); }

int SettingsSum(const Array<int>& options) {
    uint32_t sum = 0;
    for (int i = 0; i < kOptions; ++i) sum += Wrapping(i) * Wrapping(options[i]);
    return AsStored(sum);
}

int BadgeWord(const Array<int>& badges, int g) {
    uint32_t word = 0;
    for (int j = 0; j < kBadgeBits; ++j) {
        if (badges[kBadgeBits * g + j]) word |= 1u << j;
    }
    return AsStored(word);
}

int RowSum(const Array<int>& progress, int r) {
    uint32_t sum = 0;
    for (int j = 0; j < kTopTen; ++j) {
        sum += Wrapping(progress[TopTenOf(r + 1) + j]) * Wrapping(j + 4);
        sum += Wrapping(progress[RecordOf(r + 1) + j]) * Wrapping(j + 3 + r);
    }
    return AsStored(sum);
}

void Put(std::string& out, int value) {
    out += std::to_string(value);
    out += '|';
}

// One field as C reads a decimal: at most 63 characters, each cut to its low byte, leading
// white space, a sign, then digits up to the first other character. A value beyond the int
// range is held at the nearest end of it rather than overflowing.
int ParseField(std::u16string_view field) {
    size_t n = field.size() < 63 ? field.size() : 63;
    size_t i = 0;
    auto at = [&](size_t k) { return static_cast<unsigned char>(field[k] & 0xff); };
    while (i < n && (at(i) == ' ' || (at(i) >= '\t' && at(i) <= '\r'))) ++i;
    bool negative = false;
    if (i < n && (at(i) == '+' || at(i) == '-')) negative = at(i++) == '-';
    int64_t value = 0;
    const int64_t limit = negative ? -static_cast<int64_t>(INT_MIN) : INT_MAX;
    for (; i < n && at(i) >= '0' && at(i) <= '9'; ++i) {
        value = value * 10 + (at(i) - '0');
        if (value > limit) value = limit;
    }
    return static_cast<int>(negative ? -value : value);
}

// The fields of the string, split at every "|"; an empty string is one empty field.
std::vector<int> ParseFields(const String& text) {
    std::vector<int> fields;
    std::u16string_view rest = text.View();
    for (;;) {
        size_t bar = rest.find(u'|');
        fields.push_back(ParseField(rest.substr(0, bar)));
        if (bar == std::u16string_view::npos) break;
        rest.remove_prefix(bar + 1);
    }
    return fields;
}

}  // namespace

String c_MyApp::p_SaveString() {
    std::string out;
    // A few characters a field.
    out.reserve(kFields * 4);
    for (int i = 0; i < kOptions; ++i) Put(out, m_options[i]);
    Put(out, SettingsSum(m_options));

    uint32_t badgeSum = 0;
    for (int g = 0; g < kBadgeWords; ++g) {
        int word = BadgeWord(m_badges, g);
        badgeSum += Wrapping(word);
        Put(out, word);
    }
    Put(out, AsStored(badgeSum));

    // Rows 15 to 19 are never read back; they are kept so the string keeps its length.
    for (int r = 0; r < kScoreRowsWritten; ++r) {
        for (int j = 0; j < kTopTen; ++j) {
            Put(out, m_progress[TopTenOf(r + 1) + j]);
            Put(out, m_progress[RecordOf(r + 1) + j]);
        }
        Put(out, RowSum(m_progress, r));
    }
    return String(std::string_view(out));
}

int c_MyApp::p_Save() {
    // The title's line for each way a save can fail, made once.
    static const String kNotices[] = {
        String(), String("Progress could not be saved: disk full"),
        String("Progress could not be saved: folder is read-only"),
        String("Progress could not be saved: saved file unreadable"), String("Progress could not be saved")};
    static_assert(std::size(kNotices) == static_cast<size_t>(VoSaveProblem::kOther) + 1);
    String text = p_SaveString();
    if (DebugMode == 1) voPrint(text);
    m_saveNotice = kNotices[static_cast<int>(vo_app_SaveState(text))];
    return 0;
}

int c_MyApp::p_Load() {
    String text = vo_app_LoadState();
    if (DebugMode == 1) voPrint(text);
    p_LoadString(text);
    return 0;
}

int c_MyApp::p_LoadString(const String& text) {
    const std::vector<int> f = ParseFields(text);
    const int n = static_cast<int>(f.size());

    // A section that fails its checksum, or text too short to hold the settings, is damage: the
    // framework then keeps the file's bytes aside before a save replaces them.
    bool damaged = !text.Empty() && n < kOptions;

    // Settings. Too few fields leave the defaults, and the badges are looked for at the start.
    int s = 0;
    if (n >= kOptions) {
        for (int i = 0; i < kOptions; ++i) m_options[i] = f[i];
        // Without its checksum field the section cannot be trusted.
        if (n > kOptions && SettingsSum(m_options) == f[kOptions]) {
            voPrint(String("Settings Loaded"));
        } else {
            voPrint(String("Settings Checksum Invalid"));
            damaged = true;
            for (int i = 0; i < kOptions; ++i) m_options[i] = 0;
            m_options[option::kSound] = option::kSoundDefault;
        }
        s = kOptions + 1;
    }
    if (m_options[option::kPadX] < option::kPadMinPosition) m_options[option::kPadX] = option::kPadMinPosition;
    if (m_options[option::kPadY] < option::kPadMinPosition) m_options[option::kPadY] = option::kPadMinPosition;
    if (m_options[option::kPadSize] < option::kPadMinSize) m_options[option::kPadSize] = option::kPadDefaultSize;
    m_options[option::kInset] = 1;
    overscan = 0;

    // Badges.
    int p = s;
    if (s + kBadgeWords < n) {
        uint32_t sum = 0;
        for (int g = 0; g < kBadgeWords; ++g) {
            uint32_t word = Wrapping(f[s + g]);
            sum += word;
            for (int j = 0; j < kBadgeBits; ++j) m_badges[kBadgeBits * g + j] = static_cast<int>((word >> j) & 1u);
        }
        if (AsStored(sum) == f[s + kBadgeWords]) {
            voPrint(String("Badges Loaded"));
        } else {
            voPrint(String("Badge Checksum Invalid"));
            damaged = true;
            for (int i = 0; i < m_badges.Length(); ++i) m_badges[i] = 0;
        }
        p = s + kBadgeWords + 1;
    }

    // Scores: a row that fails its checksum is cleared on its own; the wheel starts past the
    // highest level completed.
    m_levelSel = 0;
    for (int r = 0; r < kScoreRowsRead; ++r) {
        if (p + kRowSumField < n) {
            for (int j = 0; j < kTopTen; ++j) {
                m_progress[TopTenOf(r + 1) + j] = f[p + 2 * j];
                m_progress[RecordOf(r + 1) + j] = f[p + 2 * j + 1];
            }
            if (RowSum(m_progress, r) != f[p + kRowSumField]) {
                damaged = true;
                for (int j = 0; j < kTopTen; ++j) {
                    m_progress[TopTenOf(r + 1) + j] = 0;
                    m_progress[RecordOf(r + 1) + j] = 0;
                }
            }
            p += kRowFields;
        }
        if (m_progress[RecordOf(r + 1)] > 0) m_levelSel = r + 1;
    }
    if (m_levelSel <= kLastLevelIndex) {
        m_wheelPos = static_cast<float>(-kWheelStep * m_levelSel);
    } else {
        m_levelSel = kLastLevelIndex;
        m_wheelPos = static_cast<float>(-kWheelStep * kLastLevelIndex);
    }
    voPrint(String("Highscores Loaded"));
    if (damaged) vo_app_StateDamaged();
    return 0;
}
