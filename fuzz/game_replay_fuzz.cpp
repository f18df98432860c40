// Feeds arbitrary text to the input-script reader. It must never crash; a script it accepts
// holds only commands within their bounds, on lines of the text, in order; a script it refuses
// names a line of the text and keeps no command.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "tools/replay/replay_script.h"

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "game_replay_fuzz: %s\n", what);
    std::abort();
}

bool Within(int value, int lo, int hi) { return value >= lo && value <= hi; }

void CheckCommand(const c_ReplayCommand& c) {
    switch (c.m_op) {
        case c_ReplayOp::kAt:
        case c_ReplayOp::kWait: Check(Within(c.m_number, 0, kReplayMaxUpdates), "update count"); break;
        case c_ReplayOp::kUntil: Check(Within(c.m_number, 1, kReplayMaxUpdates), "until limit"); break;
        case c_ReplayOp::kStart: Check(Within(c.m_number, 1, 15) && Within(c.m_index, 1, 50), "level or penguins"); break;
        case c_ReplayOp::kTitle: Check(Within(c.m_number, 1, 15), "level"); break;
        case c_ReplayOp::kEnter:
            Check(Within(c.m_number, 1, 15) && Within(c.m_index, 1, 50), "level or penguins");
            for (int counter : c.m_counters) Check(counter >= 0, "entering counter");
            break;
        case c_ReplayOp::kCarry: {
            const c_LevelFields& carried = c.m_carried;
            Check(std::abs(carried.m_keyRampX) <= 1 && std::abs(carried.m_keyRampY) <= 1, "key ramp");
            for (int field : {carried.m_keyUsed, carried.m_pointerUsed, carried.m_hideHud, c.m_carry[kCarryICade]}) {
                Check(Within(field, 0, 1), "carried latch or flag");
            }
            Check(Within(carried.m_optCursor, 0, 3) && Within(c.m_carry[kCarryPads], 0, (1 << 19) - 1), "options row or pad mask");
            break;
        }
        case c_ReplayOp::kWindow: Check(Within(c.m_number, 160, 16384) && Within(c.m_index, 160, 16384), "window"); break;
        case c_ReplayOp::kExpectEnd: Check(Within(c.m_number, 0, 9) && Within(c.m_index, 0, 50), "expected end"); break;
        case c_ReplayOp::kExpectPenguins: Check(Within(c.m_index, 0, 50), "expected penguins"); break;
        case c_ReplayOp::kExpectCounters:
            for (int counter : c.m_counters) Check(counter >= 0, "expected counter");
            break;
        case c_ReplayOp::kKeyDown:
        case c_ReplayOp::kKeyUp:
        case c_ReplayOp::kKeyTap: Check(vo_replay_KeyboardKey(c.m_number) >= 0 && c.m_number != 115, "key code"); break;
        case c_ReplayOp::kChar: Check(Within(c.m_number, 1, 0x10FFFF), "character"); break;
        case c_ReplayOp::kPointerMove:
        case c_ReplayOp::kPointerDown:
        case c_ReplayOp::kPointerUp:
            Check(Within(c.m_index, 0, 2) && std::abs(c.m_x) <= 10000 && std::abs(c.m_y) <= 10000, "pointer");
            break;
        case c_ReplayOp::kTouchDown:
        case c_ReplayOp::kTouchMove:
        case c_ReplayOp::kTouchUp:
            Check(Within(c.m_index, 0, 31) && std::abs(c.m_x) <= 10000 && std::abs(c.m_y) <= 10000, "touch");
            break;
        case c_ReplayOp::kPadDown:
        case c_ReplayOp::kPadUp: Check(Within(c.m_index, 0, 3) && Within(c.m_button, 0, 13), "pad button"); break;
        case c_ReplayOp::kPadStick:
            Check(Within(c.m_index, 0, 3) && Within(c.m_button, 0, 1) && std::abs(c.m_x) <= 1 && std::abs(c.m_y) <= 1,
                  "pad stick");
            break;
        case c_ReplayOp::kFocusOff:
        case c_ReplayOp::kFocusOn: break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    c_ReplayScript script;
    c_ReplayError error;
    if (vo_replay_ParseScript(text, script, error)) {
        Check(static_cast<int>(script.m_commands.size()) <= kReplayMaxCommands, "too many commands");
        int last = 0;
        for (const c_ReplayCommand& c : script.m_commands) {
            Check(c.m_line > last && c.m_line <= lines, "command line out of order");
            last = c.m_line;
            CheckCommand(c);
        }
    } else {
        Check(Within(error.m_line, 1, lines) && !error.m_message.empty(), "error without a line");
        Check(script.m_commands.empty(), "a refused script kept commands");
    }
    return 0;
}
