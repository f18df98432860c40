// The replay tool (and the other tools) run as programs on files in a folder of their own, for
// the tests of their command lines.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace game_test {

class ReplayTool : public testing::Test {
protected:
    // Named after the test too: ctest runs the tests of this suite side by side.
    std::string Path(const std::string& name) const {
        return testing::TempDir() + "replay_tool_" + testing::UnitTest::GetInstance()->current_test_info()->name() +
               "_" + name;
    }
    void Write(const std::string& name, const std::string& text) const { std::ofstream(Path(name), std::ios::binary) << text; }
    std::string Read(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The exit status of the replay tool with these arguments; its output in out and err.
    int Tool(const std::string& arguments) { return Command(std::string(FLOEWARD_REPLAY_BIN) + " " + arguments); }
    // The exit status of a shell command line; its output in out and err.
    int Command(const std::string& line) {
        std::remove(Path("out").c_str());
        std::remove(Path("err").c_str());
        const std::string command = line + " >" + Path("out") + " 2>" + Path("err");
        const int status = std::system(command.c_str());
        out = Read("out");
        err = Read("err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string out, err;
};

}  // namespace game_test
