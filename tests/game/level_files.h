// The stored level files of the source tree as the level tests read them.
#pragma once

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/replay/replay_script.h"

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

}  // namespace game_test
