// Reading input scripts: words, bounded numbers, and the update budget of the whole script.
#include "tools/replay/replay_script.h"

#include <array>
#include <charconv>
#include <cmath>

#include "framework/app/glfw_host.h"
#include "framework/app/key_codes.h"
#include "game/defs.h"
#include "game/replay_log.h"

namespace {

constexpr int kMaxWords = 10;
// Longest stretch of a bad word quoted back in a message.
constexpr size_t kQuoteLength = 24;
constexpr int kLastKeyCode = KEY_LAST;
constexpr int kLastCodePoint = 0x10FFFF;
// Pads, their buttons and sticks, and how far out a pointer may be: as the game keeps them.
constexpr int kCoordinateLimit = replay::kCoordinateLimit;
constexpr int kPads = action::kPads;
constexpr int kPadButtons = replay::kPadButtons;
constexpr int kSticks = replay::kSticks;
constexpr int kMouseButtons = 3;
// Touch points 0 to 31 of the input device.
constexpr int kFingers = 32;
constexpr int kLastMode = 999;
// Counters a script may expect: more than pick-ups can ever add in one level.
constexpr int kMostCounter = 9999;
constexpr int kLeastWindow = replay::kLeastWindow, kMostWindow = replay::kMostWindow;
// Reasons a level ends, and scores: at most 100 a penguin and the seconds left.
constexpr int kLastReason = 9;
constexpr int kMostScore = 1000000;
// The iCade's buttons as a mask.
constexpr int kPadMask = (1 << vpad::kButtons) - 1;

// A word as it may be shown in a message: short, and printable.
std::string Quote(std::string_view word) {
    std::string out = "'";
    for (size_t i = 0; i < word.size() && i < kQuoteLength; ++i) {
        const unsigned char c = static_cast<unsigned char>(word[i]);
        out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    if (word.size() > kQuoteLength) out += "...";
    return out + "'";
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

class Parser {
public:
    Parser(c_ReplayScript& script, c_ReplayError& error) : m_script(script), m_error(error) {}

    bool p_Line(int number, std::string_view text) {
        m_lineNumber = number;
        const size_t hash = text.find('#');
        if (hash != std::string_view::npos) text = text.substr(0, hash);
        m_count = 0;
        size_t at = 0;
        while (at < text.size()) {
            while (at < text.size() && IsSpace(text[at])) ++at;
            if (at == text.size()) break;
            const size_t start = at;
            while (at < text.size() && !IsSpace(text[at])) ++at;
            if (m_count == kMaxWords) return Fail("too many words");
            m_words[m_count++] = text.substr(start, at - start);
        }
        if (m_count == 0) return true;
        if (static_cast<int>(m_script.m_commands.size()) >= kReplayMaxCommands) {
            return Fail("more than " + std::to_string(kReplayMaxCommands) + " commands");
        }
        m_command = c_ReplayCommand();
        m_command.m_line = number;
        if (!p_Command()) return false;
        m_script.m_commands.push_back(m_command);
        return true;
    }

private:
    bool p_Command() {
        const std::string_view verb = m_words[0];
        if (verb == "at") return p_At();
        if (verb == "wait") return p_Wait();
        if (verb == "until") return p_Until();
        if (verb == "start") return p_Start();
        if (verb == "title") return p_Title();
        if (verb == "enter") return p_Enter();
        if (verb == "carry") return p_Carry();
        if (verb == "window") {
            m_command.m_op = c_ReplayOp::kWindow;
            return Words(3, 3, "window W H") && Int(1, "a width", kLeastWindow, kMostWindow, m_command.m_number) &&
                   Int(2, "a height", kLeastWindow, kMostWindow, m_command.m_index);
        }
        if (verb == "expect") return p_Expect();
        if (verb == "key") return p_Key();
        if (verb == "char") {
            m_command.m_op = c_ReplayOp::kChar;
            return Words(2, 2, "char CODE") && Int(1, "a character", 1, kLastCodePoint, m_command.m_number);
        }
        if (verb == "pointer") return p_Pointer();
        if (verb == "touch") return p_Touch();
        if (verb == "pad") return p_Pad();
        if (verb == "focus") return p_Focus();
        return Fail("unknown command " + Quote(verb));
    }

    bool p_At() {
        m_command.m_op = c_ReplayOp::kAt;
        if (!Words(2, 2, "at N") || !Int(1, "an update number", 0, kReplayMaxUpdates, m_command.m_number)) return false;
        if (m_command.m_number < m_soonest) {
            return Fail("update " + std::to_string(m_command.m_number) + " is already past: the lines before run at least " +
                        std::to_string(m_soonest));
        }
        m_soonest = m_command.m_number;
        if (m_latest < m_soonest) m_latest = m_soonest;
        return Budget();
    }

    bool p_Wait() {
        m_command.m_op = c_ReplayOp::kWait;
        if (!Words(2, 2, "wait N") || !Int(1, "a number of updates", 0, kReplayMaxUpdates, m_command.m_number)) {
            return false;
        }
        return Run(m_command.m_number, m_command.m_number);
    }

    bool p_Until() {
        m_command.m_op = c_ReplayOp::kUntil;
        if (m_count < 2) return Fail("expected: until loaded|mode N|end [MAX]");
        const std::string_view what = m_words[1];
        int limitWord = 2;
        if (what == "loaded") {
            m_command.m_condition = c_ReplayCondition::kLoaded;
        } else if (what == "end") {
            m_command.m_condition = c_ReplayCondition::kEnd;
        } else if (what == "mode") {
            m_command.m_condition = c_ReplayCondition::kMode;
            if (m_count < 3) return Fail("expected: until mode N [MAX]");
            if (!Int(2, "a screen state", 0, kLastMode, m_command.m_index)) return false;
            limitWord = 3;
        } else {
            return Fail("unknown condition " + Quote(what) + " (loaded, mode N or end)");
        }
        if (m_count > limitWord + 1) return Fail("too many words after the condition");
        m_command.m_number = kReplayUntilDefault;
        if (m_count == limitWord + 1 && !Int(limitWord, "the most updates", 1, kReplayMaxUpdates, m_command.m_number)) {
            return false;
        }
        return Run(0, m_command.m_number);
    }

    bool p_Start() {
        m_command.m_op = c_ReplayOp::kStart;
        return Words(3, 3, "start LEVEL PENGUINS") && Int(1, "a level", 1, progress::kLevels, m_command.m_number) &&
               Int(2, "a number of penguins", 1, pen::kRecords, m_command.m_index) && Run(0, kReplayUntilDefault);
    }

    bool p_Title() {
        m_command.m_op = c_ReplayOp::kTitle;
        return Words(2, 2, "title LEVEL") && Int(1, "a level", 1, progress::kLevels, m_command.m_number) &&
               Run(1, kReplayUntilDefault + kReplayTitleKeyUpdates);
    }

    bool p_Enter() {
        m_command.m_op = c_ReplayOp::kEnter;
        if (!Words(3 + skill::kCount, 3 + skill::kCount, "enter LEVEL PENGUINS J L M B S") ||
            !Int(1, "a level", 1, progress::kLevels, m_command.m_number) ||
            !Int(2, "a number of penguins", 1, pen::kRecords, m_command.m_index)) {
            return false;
        }
        for (int s = 0; s < skill::kCount; ++s) {
            if (!Int(3 + s, "a counter", 0, kMostCounter, m_command.m_counters[s])) return false;
        }
        return Run(1, kReplayUntilDefault + 1);
    }

    bool p_Carry() {
        m_command.m_op = c_ReplayOp::kCarry;
        if (!Words(9, 9, "carry KEY POINTER RAMPX RAMPY ROW HUD ICADE PADS")) return false;
        int word = 1;
        bool read = true;
        c_LevelFields& carried = m_command.m_carried;
        vo_game_EachLevelField(carried, carried, [&](auto& kept, auto&, const c_FieldRule& rule) {
            if (read && rule.m_carried) read = Field(word++, rule, kept);
        });
        int* carry = m_command.m_carry;
        return read && Int(word, "a flag", 0, 1, carry[kCarryICade]) &&
               Int(word + 1, "a button mask", 0, kPadMask, carry[kCarryPads]);
    }

    bool Field(int word, const c_FieldRule& rule, int& out) { return Int(word, rule.m_what, 0, rule.m_most, out); }
    bool Field(int word, const c_FieldRule& rule, float& out) { return Decimal(word, rule.m_what, out); }

    bool p_Expect() {
        if (m_count >= 2 && m_words[1] == "end") {
            m_command.m_op = c_ReplayOp::kExpectEnd;
            return Words(5, 5, "expect end REASON RESCUED SCORE") &&
                   Int(2, "a reason", 0, kLastReason, m_command.m_number) &&
                   Int(3, "a number of penguins", 0, pen::kRecords, m_command.m_index) &&
                   Int(4, "a score", 0, kMostScore, m_command.m_counters[0]);
        }
        if (m_count >= 2 && m_words[1] == "penguins") {
            m_command.m_op = c_ReplayOp::kExpectPenguins;
            return Words(3, 3, "expect penguins P") &&
                   Int(2, "a number of penguins", 0, pen::kRecords, m_command.m_index);
        }
        if (m_count >= 2 && m_words[1] == "counters") {
            m_command.m_op = c_ReplayOp::kExpectCounters;
            if (!Words(2 + skill::kCount, 2 + skill::kCount, "expect counters J L M B S")) return false;
            for (int s = 0; s < skill::kCount; ++s) {
                if (!Int(2 + s, "a counter", 0, kMostCounter, m_command.m_counters[s])) return false;
            }
            return true;
        }
        return Fail("expected: expect end R N S, expect penguins P, or expect counters J L M B S");
    }

    bool p_Key() {
        if (!Words(3, 3, "key down|up|tap CODE")) return false;
        const std::string_view how = m_words[1];
        if (how == "down") {
            m_command.m_op = c_ReplayOp::kKeyDown;
        } else if (how == "up") {
            m_command.m_op = c_ReplayOp::kKeyUp;
        } else if (how == "tap") {
            m_command.m_op = c_ReplayOp::kKeyTap;
        } else {
            return Fail("expected key down, up or tap, not " + Quote(how));
        }
        int& code = m_command.m_number;
        if (!Int(2, "a key code", 1, kLastKeyCode, code)) return false;
        if (code == hotkey::kQuit) return Fail("key 115 (F4) ends the program; end the script instead");
        if (vo_replay_KeyboardKey(code) < 0) {
            return Fail("no keyboard key has code " + std::to_string(code) +
                        " (mouse buttons are pointer lines, pads pad lines, fingers touch lines)");
        }
        return m_command.m_op == c_ReplayOp::kKeyTap ? Run(1, 1) : true;
    }

    bool p_Pointer() {
        if (m_count < 2) return Fail("expected: pointer move|down|up ...");
        const std::string_view how = m_words[1];
        if (how == "move") {
            m_command.m_op = c_ReplayOp::kPointerMove;
            return Words(4, 4, "pointer move X Y") && Point(2);
        }
        if (how == "down") {
            m_command.m_op = c_ReplayOp::kPointerDown;
            return Words(4, 5, "pointer down X Y [BUTTON]") && Point(2) && (m_count == 4 || MouseButton(4));
        }
        if (how == "up") {
            m_command.m_op = c_ReplayOp::kPointerUp;
            return Words(2, 3, "pointer up [BUTTON]") && (m_count == 2 || MouseButton(2));
        }
        return Fail("expected pointer move, down or up, not " + Quote(how));
    }

    bool p_Touch() {
        if (m_count < 2) return Fail("expected: touch down|move|up FINGER ...");
        const std::string_view how = m_words[1];
        if (how == "down" || how == "move") {
            m_command.m_op = how == "down" ? c_ReplayOp::kTouchDown : c_ReplayOp::kTouchMove;
            return Words(5, 5, "touch down|move FINGER X Y") && Int(2, "a finger", 0, kFingers - 1, m_command.m_index) &&
                   Point(3);
        }
        if (how == "up") {
            m_command.m_op = c_ReplayOp::kTouchUp;
            return Words(3, 3, "touch up FINGER") && Int(2, "a finger", 0, kFingers - 1, m_command.m_index);
        }
        return Fail("expected touch down, move or up, not " + Quote(how));
    }

    bool p_Pad() {
        if (m_count < 2) return Fail("expected: pad down|up|stick PAD ...");
        const std::string_view how = m_words[1];
        if (how == "down" || how == "up") {
            m_command.m_op = how == "down" ? c_ReplayOp::kPadDown : c_ReplayOp::kPadUp;
            return Words(4, 4, "pad down|up PAD BUTTON") && Int(2, "a pad", 0, kPads - 1, m_command.m_index) &&
                   Int(3, "a pad button", 0, kPadButtons - 1, m_command.m_button);
        }
        if (how == "stick") {
            m_command.m_op = c_ReplayOp::kPadStick;
            return Words(6, 6, "pad stick PAD STICK X Y") && Int(2, "a pad", 0, kPads - 1, m_command.m_index) &&
                   Int(3, "a stick", 0, kSticks - 1, m_command.m_button) && Decimal(4, "a stick position", m_command.m_x) &&
                   Decimal(5, "a stick position", m_command.m_y);
        }
        return Fail("expected pad down, up or stick, not " + Quote(how));
    }

    bool p_Focus() {
        if (!Words(2, 2, "focus off|on")) return false;
        if (m_words[1] == "off") {
            m_command.m_op = c_ReplayOp::kFocusOff;
        } else if (m_words[1] == "on") {
            m_command.m_op = c_ReplayOp::kFocusOn;
        } else {
            return Fail("expected focus off or on, not " + Quote(m_words[1]));
        }
        return true;
    }

    bool Point(int first) {
        int x = 0, y = 0;
        if (!Int(first, "a virtual x", -kCoordinateLimit, kCoordinateLimit, x) ||
            !Int(first + 1, "a virtual y", -kCoordinateLimit, kCoordinateLimit, y)) {
            return false;
        }
        m_command.m_x = static_cast<float>(x);
        m_command.m_y = static_cast<float>(y);
        return true;
    }

    bool MouseButton(int word) { return Int(word, "a mouse button", 0, kMouseButtons - 1, m_command.m_index); }

    bool Words(int least, int most, const char* form) {
        if (m_count < least || m_count > most) return Fail(std::string("expected: ") + form);
        return true;
    }

    bool Int(int word, const char* what, int lo, int hi, int& out) {
        const std::string_view text = m_words[word];
        int value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || value < lo || value > hi) {
            return Fail(std::string(what) + " must be a whole number from " + std::to_string(lo) + " to " +
                        std::to_string(hi) + ", not " + Quote(text));
        }
        out = value;
        return true;
    }

    bool Decimal(int word, const char* what, float& out) {
        const std::string_view text = m_words[word];
        double value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
        if (error != std::errc() || end != text.data() + text.size() || !(value >= -1 && value <= 1)) {
            return Fail(std::string(what) + " must be a decimal from -1 to 1, not " + Quote(text));
        }
        out = static_cast<float>(value);
        return true;
    }

    // Adds the updates a line runs, at least and at most, and checks the script's budget.
    bool Run(int least, int most) {
        m_soonest += least;
        m_latest += most;
        return Budget();
    }

    bool Budget() {
        if (m_latest > kReplayMaxUpdates) {
            return Fail("the script may run more than " + std::to_string(kReplayMaxUpdates) + " updates");
        }
        return true;
    }

    bool Fail(std::string message) {
        m_error.m_line = m_lineNumber;
        m_error.m_message = std::move(message);
        return false;
    }

    c_ReplayScript& m_script;
    c_ReplayError& m_error;
    c_ReplayCommand m_command;
    std::string_view m_words[kMaxWords];
    int m_count = 0;
    int m_lineNumber = 0;
    // The fewest and the most updates the lines so far run; 64 bits so that no sum overflows.
    long long m_soonest = 0;
    long long m_latest = 0;
};

}  // namespace

std::string c_ReplayError::p_Text() const {
    return m_line > 0 ? "line " + std::to_string(m_line) + ": " + m_message : m_message;
}

bool vo_replay_ParseScript(std::string_view text, c_ReplayScript& script, c_ReplayError& error) {
    script.m_commands.clear();
    error = c_ReplayError();
    Parser parser(script, error);
    int number = 0;
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        if (!parser.p_Line(++number, text.substr(at, end - at))) {
            script.m_commands.clear();
            return false;
        }
        at = end + 1;
    }
    return true;
}

bool vo_replay_IsKeptReplay(const c_ReplayScript& script) {
    const std::vector<c_ReplayCommand>& commands = script.m_commands;
    bool enters = false;
    for (const c_ReplayCommand& command : commands) enters = enters || command.m_op == c_ReplayOp::kEnter;
    return enters && commands.back().m_op == c_ReplayOp::kExpectEnd;
}

int vo_replay_KeyboardKey(int code) {
    static const std::array<int, kLastKeyCode + 1> kKeys = [] {
        std::array<int, kLastKeyCode + 1> keys;
        keys.fill(-1);
        for (int key = 0; key <= vo_key::Last; ++key) {
            const int translated = TransKey(key);
            if (translated > 0 && translated <= kLastKeyCode && keys[translated] < 0) keys[translated] = key;
        }
        return keys;
    }();
    return code >= 1 && code <= kLastKeyCode ? kKeys[code] : -1;
}
