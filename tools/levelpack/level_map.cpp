// Reading level maps and coding them as the game stores its levels.
#include "tools/levelpack/level_map.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::string_view kMapCharacters = "01SXABCDEF";
constexpr char kStart = 'S', kExit = 'X';
constexpr std::string_view kCountersWord = "counters ";
constexpr std::string_view kNameWord = "name ", kHintWord = "hint ", kNeedsWord = "needs ";
// The key-icon sign of the game's texts, in UTF-8.
constexpr std::string_view kIconSign = "\xC2\xAC";
constexpr char kNotProven = '-';
// Counter characters stand for 0 ("@") to 26 ("Z").
constexpr char kLeastCounter = '@', kMostCounter = 'Z';

constexpr int kUpperRuns = 26, kLongestRun = 52;
constexpr int kGroupLength = 20;

bool Fail(std::string& error, const std::string& message) {
    error = message;
    return false;
}

bool FailAt(std::string& error, int line, const std::string& message) {
    return Fail(error, "line " + std::to_string(line) + ": " + message);
}

bool CounterCharacters(std::string_view chars) {
    if (chars.size() != play::kCounterSlots) return false;
    return std::all_of(chars.begin(), chars.end(), [](char c) { return c >= kLeastCounter && c <= kMostCounter; });
}

// A character of the map as a message shows it: printable ASCII as itself, any other byte as
// \xNN, so that a map cannot put control bytes on the terminal.
std::string Shown(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= ' ' && byte < 0x7f) return std::string(1, c);
    char hex[5];
    std::snprintf(hex, sizeof hex, "\\x%02x", byte);
    return hex;
}

// A name or hint: printable ASCII and the icon sign, at most `longest` bytes. Empty when it is
// fine, else why not.
std::string TextFault(std::string_view text, size_t longest) {
    if (text.empty()) return "is empty";
    if (text.size() > longest) return "is longer than " + std::to_string(longest) + " characters";
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, kIconSign.size()) == kIconSign) {
            ++i;
        } else if (text[i] < ' ' || text[i] > '~') {
            return "holds '" + Shown(text[i]) + "' at character " + std::to_string(i + 1);
        }
    }
    return std::string();
}

// Five numbers of the needs line, or false.
bool ReadNeeds(std::string_view words, std::array<int, skill::kCount>& needs) {
    size_t at = 0;
    for (int& need : needs) {
        while (at < words.size() && words[at] == ' ') ++at;
        const size_t end = std::min(words.find(' ', at), words.size());
        const std::string_view word = words.substr(at, end - at);
        at = end;
        if (word.size() == 1 && word[0] == kNotProven) {
            need = kUnknownNeed;
            continue;
        }
        if (word.empty() || word.size() > 3 || word.find_first_not_of("0123456789") != std::string_view::npos) {
            return false;
        }
        need = std::stoi(std::string(word));
        if (need > kMostNeeded) return false;
    }
    return words.find_first_not_of(' ', at) == std::string_view::npos;
}

// The lines that give a text, where it goes and how long it may be.
struct c_TextLine {
    std::string_view word;
    std::string c_LevelMap::*field;
    size_t longest;
};
constexpr c_TextLine kTextLines[] = {{kNameWord, &c_LevelMap::m_name, kLongestName},
                                     {kHintWord, &c_LevelMap::m_hint, kLongestHint}};

// The length of the run of equal characters from `at`, at most kLongestRun.
int RunLength(std::string_view text, size_t at) {
    size_t end = at + 1;
    while (end < text.size() && end - at < static_cast<size_t>(kLongestRun) && text[end] == text[at]) ++end;
    return static_cast<int>(end - at);
}

}  // namespace

bool vo_levelpack_ReadMap(std::string_view text, c_LevelMap& map, std::string& error) {
    map = c_LevelMap();
    int rows = 0, starts = 0, exits = 0, number = 0;
    bool counters = false, needs = false;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;

        if (line.substr(0, kCountersWord.size()) == kCountersWord) {
            const std::string_view chars = line.substr(kCountersWord.size());
            if (counters) return FailAt(error, number, "a second counters line");
            if (!CounterCharacters(chars)) {
                return FailAt(error, number, "counters must be ten characters from '@' (0) to 'Z' (26)");
            }
            map.m_counters = chars;
            counters = true;
            continue;
        }
        const c_TextLine* textLine = nullptr;
        for (const c_TextLine& candidate : kTextLines) {
            if (line.substr(0, candidate.word.size()) == candidate.word) textLine = &candidate;
        }
        if (textLine) {
            std::string& field = map.*(textLine->field);
            const std::string what(textLine->word.substr(0, textLine->word.size() - 1));
            if (!field.empty()) return FailAt(error, number, "a second " + what + " line");
            const std::string fault = TextFault(line.substr(textLine->word.size()), textLine->longest);
            if (!fault.empty()) return FailAt(error, number, "the " + what + " " + fault);
            field = line.substr(textLine->word.size());
            continue;
        }
        if (line.substr(0, kNeedsWord.size()) == kNeedsWord) {
            if (needs) return FailAt(error, number, "a second needs line");
            if (!ReadNeeds(line.substr(kNeedsWord.size()), map.m_needs)) {
                return FailAt(error, number, "needs must be five numbers from 0 to " + std::to_string(kMostNeeded) +
                                                 " or '-', for Jump, Leap, Melt, Burst and Spin");
            }
            needs = true;
            continue;
        }

        if (rows == grid::kRows) return FailAt(error, number, "more than " + std::to_string(grid::kRows) + " rows");
        if (line.size() != grid::kCols) {
            const std::string length = std::to_string(line.size());
            return FailAt(error, number, "a row must be " + std::to_string(grid::kCols) + " characters, not " + length);
        }
        const size_t bad = line.find_first_not_of(kMapCharacters);
        if (bad != std::string_view::npos) {
            const std::string where = "column " + std::to_string(bad + 1) + " holds '" + Shown(line[bad]) + "'";
            return FailAt(error, number, where + ", not one of " + std::string(kMapCharacters));
        }
        starts += static_cast<int>(std::count(line.begin(), line.end(), kStart));
        exits += static_cast<int>(std::count(line.begin(), line.end(), kExit));
        map.m_rows[static_cast<size_t>(rows++)] = line;
    }
    if (rows < grid::kRows) {
        return Fail(error, "only " + std::to_string(rows) + " of " + std::to_string(grid::kRows) + " rows");
    }
    if (!counters) return Fail(error, "no counters line");
    if (starts != 1 || exits != 1) {
        const std::string found = std::to_string(starts) + " and " + std::to_string(exits);
        return Fail(error, "a level needs exactly one start and one exit, not " + found);
    }
    return true;
}

std::string vo_levelpack_Expand(const c_LevelMap& map) {
    std::string text;
    text.reserve(grid::kCols * grid::kRows + play::kCounterSlots);
    for (size_t x = 0; x < grid::kCols; ++x) {
        for (const std::string& row : map.m_rows) text += row[x];
    }
    return text + map.m_counters;
}

std::string vo_levelpack_Encode(std::string_view expanded) {
    std::string runs;
    for (size_t i = 0; i < expanded.size();) {
        const int n = RunLength(expanded, i);
        runs += static_cast<char>(n <= kUpperRuns ? 'A' + n - 1 : 'a' + n - kUpperRuns - 1);
        runs += expanded[i];
        i += static_cast<size_t>(n);
    }
    std::string stored;
    for (size_t i = 0; i < runs.size(); i += kGroupLength) {
        if (i > 0) stored += ' ';
        stored += runs.substr(i, kGroupLength);
    }
    return stored;
}
