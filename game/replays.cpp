// Replays: the level in play keeps what its input did, change by change, and a level ended with a
// penguin rescued is written as an input script beside the saved state, one file a level, the
// best-scoring attempt kept. floeward-replay plays such a file back and checks its end.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <type_traits>

#include "framework/app/app.h"
#include "framework/app/error.h"
#include "game/my_app.h"
#include "game/truncate.h"

namespace {

using replay::Change;

// A line of a written script is at most this long; a change line is far shorter.
constexpr size_t kLineBytes = 96;
// Bytes reserved for the script's text up front: the header, and a line a change.
constexpr size_t kHeaderBytes = 512;
constexpr size_t kChangeBytes = 40;

const char kEndWords[] = "expect end ";

int Clamp(int v) { return std::clamp(v, -replay::kCoordinateLimit, replay::kCoordinateLimit); }
// A window side as a script may name it: one shrunk to nothing (minimised) at the smallest.
int WindowSide(int v) { return std::clamp(v, replay::kLeastWindow, replay::kMostWindow); }

void Add(c_ReplayLog& log, int update, Change change, int code, float x = 0, float y = 0) {
    if (log.m_phase != replay::Phase::kRecording) return;
    if (log.m_count == replay::kEvents) {
        log.m_phase = replay::Phase::kOverflow;
        return;
    }
    c_ReplayChange& c = log.m_changes[log.m_count++];
    c.m_update = update;
    c.m_change = change;
    c.m_code = code;
    c.m_x = x;
    c.m_y = y;
}

// Every difference between what the input read in the update before and now.
void AddChanges(c_ReplayLog& log, const c_InputState& was, const c_InputState& now, int update) {
    if (now.m_width != was.m_width || now.m_height != was.m_height) {
        Add(log, update, Change::kWindow, 0, static_cast<float>(WindowSide(now.m_width)),
            static_cast<float>(WindowSide(now.m_height)));
    }
    for (int i = 0; i < replay::kMostKeys; ++i) {
        if (now.m_keys[i] != was.m_keys[i]) {
            Add(log, update, now.m_keys[i] ? Change::kKeyDown : Change::kKeyUp, vo_game_ReplayKeyCode(i));
        }
    }
    for (int pad = 0; pad < action::kPads; ++pad) {
        for (int b = 0; b < replay::kPadButtons; ++b) {
            if (now.m_padButtons[pad][b] != was.m_padButtons[pad][b]) {
                Add(log, update, now.m_padButtons[pad][b] ? Change::kPadDown : Change::kPadUp, pad * replay::kPadButtons + b);
            }
        }
        for (int stick = 0; stick < replay::kSticks; ++stick) {
            const float* a = was.m_sticks[pad][stick];
            const float* b = now.m_sticks[pad][stick];
            if (a[0] != b[0] || a[1] != b[1]) Add(log, update, Change::kStick, pad * replay::kSticks + stick, b[0], b[1]);
        }
    }
    const float px = static_cast<float>(Clamp(now.m_pointerX)), py = static_cast<float>(Clamp(now.m_pointerY));
    if (now.m_pointerDown && !was.m_pointerDown) {
        Add(log, update, Change::kPointerDown, 0, px, py);
    } else {
        if (now.m_pointerX != was.m_pointerX || now.m_pointerY != was.m_pointerY) Add(log, update, Change::kPointerMove, 0, px, py);
        if (!now.m_pointerDown && was.m_pointerDown) Add(log, update, Change::kPointerUp, 0);
    }
    for (int f = 1; f < touch::kPoints; ++f) {
        const float tx = static_cast<float>(Clamp(now.m_touchX[f])), ty = static_cast<float>(Clamp(now.m_touchY[f]));
        if (now.m_touchDown[f] && !was.m_touchDown[f]) {
            Add(log, update, Change::kTouchDown, f, tx, ty);
        } else if (!now.m_touchDown[f] && was.m_touchDown[f]) {
            Add(log, update, Change::kTouchUp, f);
        } else if (now.m_touchDown[f] && (now.m_touchX[f] != was.m_touchX[f] || now.m_touchY[f] != was.m_touchY[f])) {
            Add(log, update, Change::kTouchMove, f, tx, ty);
        }
    }
}

void Line(std::string& text, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Line(std::string& text, const char* format, ...) {
    char line[kLineBytes];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    text += line;
    text += '\n';
}

void ChangeLine(std::string& text, const c_ReplayChange& c) {
    const int x = vo_game_Trunc(c.m_x), y = vo_game_Trunc(c.m_y);
    switch (c.m_change) {
        case Change::kKeyDown: Line(text, "key down %d", c.m_code); break;
        case Change::kKeyUp: Line(text, "key up %d", c.m_code); break;
        case Change::kPadDown: Line(text, "pad down %d %d", c.m_code / replay::kPadButtons, c.m_code % replay::kPadButtons); break;
        case Change::kPadUp: Line(text, "pad up %d %d", c.m_code / replay::kPadButtons, c.m_code % replay::kPadButtons); break;
        // Twelve places give a stick's every float back from -1 to 1, bar what no dead zone notices.
        case Change::kStick:
            Line(text, "pad stick %d %d %.12f %.12f", c.m_code / replay::kSticks, c.m_code % replay::kSticks,
                 static_cast<double>(c.m_x), static_cast<double>(c.m_y));
            break;
        case Change::kPointerMove: Line(text, "pointer move %d %d", x, y); break;
        case Change::kPointerDown: Line(text, "pointer down %d %d", x, y); break;
        case Change::kPointerUp: Line(text, "pointer up"); break;
        case Change::kTouchDown: Line(text, "touch down %d %d %d", c.m_code, x, y); break;
        case Change::kTouchMove: Line(text, "touch move %d %d %d", c.m_code, x, y); break;
        case Change::kTouchUp: Line(text, "touch up %d", c.m_code); break;
        case Change::kChar: Line(text, "char %d", c.m_code); break;
        case Change::kWindow: Line(text, "window %d %d", x, y); break;
        case Change::kFocusOff: Line(text, "focus off"); break;
        case Change::kFocusOn: Line(text, "focus on"); break;
    }
}

// The carried fields as a carry line gives them, each after a blank; twelve places give a key
// ramp's every float back.
std::string CarriedWords(const c_LevelFields& carried) {
    std::string words;
    vo_game_EachLevelField(carried, carried, [&words](const auto& kept, const auto&, const c_FieldRule& rule) {
        if (!rule.m_carried) return;
        char word[kLineBytes];
        if constexpr (std::is_floating_point_v<std::decay_t<decltype(kept)>>) {
            std::snprintf(word, sizeof word, " %.12f", static_cast<double>(kept));
        } else {
            std::snprintf(word, sizeof word, " %d", kept);
        }
        words += word;
    });
    return words;
}

// The score of the `expect end` line a written replay ends with, or false when there is none.
bool RecordedScore(const std::string& text, int& score) {
    size_t at = text.rfind(std::string("\n") + kEndWords);
    if (at == std::string::npos) return false;
    int reason = 0, rescued = 0;
    return std::sscanf(text.c_str() + at + 1 + sizeof kEndWords - 1, "%d %d %d", &reason, &rescued, &score) == 3;
}

}  // namespace

String vo_game_ReplayLocation(int level) {
    char name[64];
    std::snprintf(name, sizeof name, "%s%s%02d%s", replay::kFolder, replay::kFilePrefix, level, replay::kFileSuffix);
    return String(std::string_view(name));
}

int c_MyApp::p_ReplayStart() {
    c_ReplayLog& log = m_replay;
    const bool unplayed = log.m_phase == replay::Phase::kRecording && log.m_updates == 0;
    if (log.m_phase != replay::Phase::kBuilt && !unplayed) return 0;
    vo_game_EachLevelField(log.m_carried, *this, [](auto& kept, const auto& live, const c_FieldRule& rule) {
        if (rule.m_carried) kept = live;
    });
    log.m_iCade = iCadeControls;
    log.m_padMask = 0;
    for (int i = 0; i < vpad::kButtons; ++i) {
        if (m_pad[i] != 0) log.m_padMask |= 1 << i;
    }
    log.m_width = vo_app_DeviceWidth();
    log.m_height = vo_app_DeviceHeight();
    // Nothing is held before the first update: what is, is a change at update 0.
    log.m_last = c_InputState();
    log.m_last.m_width = log.m_width;
    log.m_last.m_height = log.m_height;
    // A pointer line starts every replay, wherever the pointer is.
    log.m_last.m_pointerX = kNoArg;
    log.m_updates = 0;
    log.m_count = 0;
    log.m_phase = replay::Phase::kRecording;
    return 0;
}

int c_MyApp::p_ReplayBuilt() {
    c_ReplayLog& log = m_replay;
    log.m_phase = replay::Phase::kBuilt;
    log.m_level = m_level;
    log.m_penguins = static_cast<int>(m_player[play::kPenguins]);
    for (int s = 0; s < skill::kCount; ++s) log.m_counters[s] = static_cast<int>(m_player[play::kCounters + s]);
    return 0;
}

int c_MyApp::p_ReplayCapture() {
    c_ReplayLog& log = m_replay;
    if (log.m_phase != replay::Phase::kRecording || m_mode != screen::kInLevel) return 0;
    if (log.m_updates == replay::kMostUpdates) {
        log.m_phase = replay::Phase::kOverflow;
        return 0;
    }
    c_InputState& now = m_replayInput;
    now = c_InputState();
    p_ReadInputState(now);
    AddChanges(log, log.m_last, now, log.m_updates);
    log.m_last = now;
    ++log.m_updates;
    return 0;
}

int c_MyApp::p_ReplayNote(replay::Change change, int code) {
    c_ReplayLog& log = m_replay;
    if (m_mode != screen::kInLevel) return 0;
    // A character is read late in an update, the focus changes between two: both reach the
    // game before the update that follows the last one captured.
    const int update = change == Change::kChar ? log.m_updates - 1 : log.m_updates;
    if (update >= 0) Add(log, update, change, code);
    return 0;
}

String c_MyApp::p_ReplayText() {
    const c_ReplayLog& log = m_replay;
    std::string text;
    text.reserve(kHeaderBytes + kChangeBytes * static_cast<size_t>(log.m_count));
    Line(text, "# Floeward replay of level %d: %d of %d penguins rescued, score %d.", log.m_level, m_rescued,
         log.m_penguins, m_score);
    Line(text, "# Check it with: floeward-replay --verify FILE");
    Line(text, "window %d %d", WindowSide(log.m_width), WindowSide(log.m_height));
    Line(text, "enter %d %d %d %d %d %d %d", log.m_level, log.m_penguins, log.m_counters[0], log.m_counters[1],
         log.m_counters[2], log.m_counters[3], log.m_counters[4]);
    Line(text, "carry%s %d %d", CarriedWords(log.m_carried).c_str(), log.m_iCade, log.m_padMask);
    int at = 0;
    for (int i = 0; i < log.m_count; ++i) {
        const c_ReplayChange& c = log.m_changes[i];
        if (c.m_update > at) {
            Line(text, "wait %d", c.m_update - at);
            at = c.m_update;
        }
        ChangeLine(text, c);
    }
    Line(text, "until end");
    Line(text, "%s%d %d %d", kEndWords, m_endReason, m_rescued, m_score);
    return String(std::string_view(text));
}

int c_MyApp::p_ReplaySave() {
    c_ReplayLog& log = m_replay;
    const replay::Phase phase = log.m_phase;
    log.m_phase = replay::Phase::kIdle;
    const bool kept = m_level >= 1 && m_level <= progress::kLevels && m_rescued >= 1 && m_endReason != ending::kDeadPenguin &&
                      m_endReason != ending::kQuit && log.m_level == m_level;
    if (!kept) return 0;
    if (phase == replay::Phase::kOverflow) {
        voPrint(String("The replay of this level is too long to keep."));
        return 0;
    }
    if (phase != replay::Phase::kRecording) return 0;
    const String location = vo_game_ReplayLocation(m_level);
    const std::string old = vo_app_LoadUserFile(location).ToUtf8();
    int oldScore = 0;
    if (!old.empty() && RecordedScore(old, oldScore) && oldScore >= m_score) return 0;
    vo_app_SaveUserFile(location, p_ReplayText());
    return 0;
}
