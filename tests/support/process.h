// Running the real executable and X tools from end-to-end tests.
#pragma once

#include <chrono>
#include <vector>
#include <string>
#include <sys/types.h>

// Runs a shell-free command line given as words; returns its standard output.
std::string RunTool(const std::vector<std::string>& argv, int* status = nullptr);

// The game (or, given a command, another program) started in a working directory of the
// test's, with its output in a file there.
class GameProcess {
public:
    explicit GameProcess(const std::string& workDir, std::vector<std::string> argv = {},
                         const std::vector<std::string>& extraEnv = {});
    ~GameProcess();
    // Waits until the log holds the text; false after the timeout.
    bool WaitForLog(const std::string& text, std::chrono::milliseconds timeout);
    // Waits for the process to end; its exit status, or -1000 after the timeout.
    int WaitForExit(std::chrono::milliseconds timeout);
    std::string Log() const;
    pid_t Pid() const { return m_pid; }

private:
    std::string m_logPath;
    pid_t m_pid = -1;
    bool m_exited = false;
};

// The id of the first window titled exactly so, or 0 after the timeout.
unsigned long WaitForWindow(const std::string& title, std::chrono::milliseconds timeout);
// Gives the window the keyboard focus, retrying while a newly opened window is not yet mapped;
// false when it never took it.
bool Focus(unsigned long window);
