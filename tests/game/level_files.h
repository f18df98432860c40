// The stored level files of the source tree as the level tests read them.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/replay/replay_runner.h"

namespace game_test {

// levels/NN.suffix, or levels/folder/NN.suffix.
inline std::string LevelFile(int level, const char* suffix, const std::string& folder = std::string()) {
    char name[32];
    std::snprintf(name, sizeof name, "%02d.%s", level, suffix);
    std::ifstream in(std::string(FLOEWARD_SOURCE_DIR) + "/levels/" + folder + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The first command of this kind in a script; null when it has none.
inline const c_ReplayCommand* FirstCommand(const c_ReplayScript& script, c_ReplayOp op) {
    for (const c_ReplayCommand& command : script.m_commands) {
        if (command.m_op == op) return &command;
    }
    return nullptr;
}

// The penguins the stored chain enters the level with; -1 when its script does not say.
inline int ChainPenguins(int level) {
    c_ReplayScript chain;
    c_ReplayError error;
    EXPECT_TRUE(vo_replay_ParseScript(LevelFile(level, "script"), chain, error)) << error.p_Text();
    const c_ReplayCommand* penguins = FirstCommand(chain, c_ReplayOp::kExpectPenguins);
    return penguins ? penguins->m_index : -1;
}

// Plays a stored way that enters `level` itself with `enter`: it must enter with these penguins
// and the counters the stored chain enters with, and end that level once with no penguin lost.
// The penguins it rescued (-1 when it could not be played).
inline int PlayEnteredWay(int level, const std::string& folder, int penguins) {
    c_ReplayScript chain, way;
    c_ReplayError error;
    EXPECT_TRUE(vo_replay_ParseScript(LevelFile(level, "script"), chain, error)) << error.p_Text();
    EXPECT_TRUE(vo_replay_ParseScript(LevelFile(level, "script", folder), way, error)) << folder << error.p_Text();
    const c_ReplayCommand* counters = FirstCommand(chain, c_ReplayOp::kExpectCounters);
    const c_ReplayCommand* enter = FirstCommand(way, c_ReplayOp::kEnter);
    if (!counters || !enter) {
        ADD_FAILURE() << "the chain's counters or the way's enter line is missing";
        return -1;
    }
    EXPECT_EQ(enter->m_number, level);
    EXPECT_EQ(enter->m_index, penguins);
    for (int s = 0; s < skill::kCount; ++s) EXPECT_EQ(enter->m_counters[s], counters->m_counters[s]) << s;

    c_ReplayRunner runner;
    if (!runner.p_Run(way, error)) {
        ADD_FAILURE() << error.p_Text();
        return -1;
    }
    if (runner.p_LevelEnds().size() != 1u) {
        ADD_FAILURE() << runner.p_LevelEnds().size() << " level ends";
        return -1;
    }
    const c_LevelEnd& end = runner.p_LevelEnds()[0];
    EXPECT_EQ(end.m_level, level);
    EXPECT_NE(end.m_reason, ending::kDeadPenguin);
    EXPECT_NE(end.m_reason, ending::kQuit);
    return end.m_rescued;
}

}  // namespace game_test
