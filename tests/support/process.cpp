// Process helpers for end-to-end tests: spawn, capture, wait with a deadline.
#include "support/process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

std::vector<char*> CArgs(const std::vector<std::string>& words) {
    std::vector<char*> out;
    for (const auto& w : words) out.push_back(const_cast<char*>(w.c_str()));
    out.push_back(nullptr);
    return out;
}

}  // namespace

std::string RunTool(const std::vector<std::string>& argv, int* status) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    pid_t pid;
    auto args = CArgs(argv);
    int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string out;
    if (rc == 0) {
        char buf[4096];
        for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, static_cast<size_t>(n));
        int wstatus = 0;
        waitpid(pid, &wstatus, 0);
        if (status) *status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    } else if (status) {
        *status = -1;
    }
    close(fds[0]);
    return out;
}

GameProcess::GameProcess(const std::string& workDir, std::vector<std::string> argv,
                         const std::vector<std::string>& extraEnv) {
    if (argv.empty()) argv.emplace_back(FLOEWARD_BIN);
    m_logPath = workDir + "/" + fs::path(argv[0]).filename().string() + ".log";
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    auto envp = CArgs(env);
    auto args = CArgs(argv);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, m_logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
    if (posix_spawnp(&m_pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
}

GameProcess::~GameProcess() {
    if (m_pid > 0 && !m_exited) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

std::string GameProcess::Log() const {
    std::ifstream in(m_logPath);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool GameProcess::WaitForLog(const std::string& text, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (Log().find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return Log().find(text) != std::string::npos;
}

int GameProcess::WaitForExit(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (m_pid > 0) {
        int wstatus = 0;
        pid_t done = waitpid(m_pid, &wstatus, WNOHANG);
        if (done == m_pid) {
            m_exited = true;
            return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
        }
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1000;
}

unsigned long WaitForWindow(const std::string& title, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        std::string out = RunTool({"xdotool", "search", "--name", "^" + title + "$"});
        if (!out.empty()) return std::strtoul(out.c_str(), nullptr, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < deadline);
    return 0;
}

bool Focus(unsigned long window) {
    for (int i = 0; i < 100; ++i) {
        RunTool({"xdotool", "windowfocus", std::to_string(window)});
        if (std::strtoul(RunTool({"xdotool", "getwindowfocus"}).c_str(), nullptr, 10) == window) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}
