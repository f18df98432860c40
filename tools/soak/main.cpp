// floeward-soak: plays a seeded random stream of input on the headless game for a number of
// updates per seed, each seed in a child process of its own, and reports what the runs went
// through. Exit status 0 when every seed ran to the end with no fault, 1 for a bad command line,
// 2 when a seed failed (a check, a runtime error, a sanitizer report or an early end).
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "framework/app/files.h"
#include "tools/replay/replay_runner.h"
#include "tools/soak/soak_player.h"

namespace {

constexpr int kBadInput = 1;
constexpr int kSeedFailed = 2;
// The child's own status when a check failed.
constexpr int kCheckFailed = 3;
constexpr int kDefaultUpdates = 200000;
constexpr int kMaxUpdates = 100000000;
constexpr size_t kLogTail = 40;
constexpr auto kPoll = std::chrono::milliseconds(100);
constexpr auto kProgressEvery = std::chrono::seconds(60);
// The most bytes of a file of kept seeds: tens of thousands of lines.
constexpr long long kSeedFileLimit = 1 << 20;

constexpr char kUsage[] =
    "usage: floeward-soak [--updates N] [--seeds LIST] [--regressions FILE] [--keep FILE] [--trace] [--log-dir DIR]\n"
    "  Plays seeded random input on the game with no window or sound, N updates a seed (200000).\n"
    "  --seeds LIST        seeds such as 7 or 1-4,9 (default: one from the clock)\n"
    "  --regressions FILE  first replays the seeds kept in FILE, one 'SEED [UPDATES]' a line\n"
    "  --keep FILE         appends each failing seed to FILE\n"
    "  --trace             writes the input of every seed to standard error as an input script\n"
    "  --log-dir DIR       where the game's own output goes, one file a seed (default: the temporary folder)\n";

struct Run {
    uint64_t seed;
    int updates;
};

// What a child hands back: how far it got, whether it reached the end of its run, and what it saw.
struct SharedResult {
    volatile int update;
    volatile int finished;
    int failedAt;
    char failure[1024];
    c_SoakCoverage coverage;
};

bool ParseNumber(const std::string& text, uint64_t& out) {
    if (text.empty() || text.size() > 19 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    out = std::stoull(text);
    return true;
}

// "7", "1-4,9": every seed named.
bool ParseSeeds(const std::string& text, int updates, std::vector<Run>& runs) {
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, ',');) {
        const size_t dash = part.find('-');
        uint64_t first = 0, last = 0;
        if (!ParseNumber(part.substr(0, dash), first)) return false;
        last = first;
        if (dash != std::string::npos &&
            (!ParseNumber(part.substr(dash + 1), last) || last < first || last - first > 100000)) {
            return false;
        }
        for (uint64_t s = first; s <= last; ++s) runs.push_back({s, updates});
    }
    return !runs.empty();
}

// Lines of "SEED [UPDATES]", with '#' comments.
bool ReadRegressions(const std::string& path, int updates, std::vector<Run>& runs) {
    std::string text, why;
    if (vo_file_ReadRegular(path, kSeedFileLimit, text, why) != VoFileRead::kRead) return false;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string seedWord, updatesWord;
        if (!(words >> seedWord)) continue;
        Run run{0, updates};
        uint64_t count = 0;
        if (!ParseNumber(seedWord, run.seed)) return false;
        if (words >> updatesWord) {
            if (!ParseNumber(updatesWord, count) || count < 1 || count > kMaxUpdates) return false;
            run.updates = static_cast<int>(count);
        }
        runs.push_back(run);
    }
    return true;
}

std::string Tail(const std::string& path, size_t lines) {
    std::ifstream in(path);
    std::deque<std::string> last;
    for (std::string line; std::getline(in, line);) {
        last.push_back(line);
        if (last.size() > lines) last.pop_front();
    }
    std::string out;
    for (const std::string& line : last) out += "    " + line + "\n";
    return out;
}

[[noreturn]] void RunChild(const Run& run, int log, bool trace, SharedResult* shared) {
    // The game's own lines go to the log; standard error stays for the sanitizers and the trace.
    if (dup2(log, STDOUT_FILENO) < 0) _exit(kBadInput);
    close(log);
    bool passed = false;
    {
        c_ReplayRunner runner;
        c_SoakPlayer player(run.seed, runner);
        if (trace) player.m_trace = stderr;
        player.m_onUpdate = [shared](int update) { shared->update = update; };
        passed = player.p_Play(run.updates);
        shared->coverage = player.m_coverage;
        shared->failedAt = player.m_failedAt;
        std::snprintf(shared->failure, sizeof shared->failure, "%s", player.m_failure.c_str());
    }
    shared->finished = 1;
    std::fflush(stdout);
    // exit rather than _exit: the leak checker runs at exit.
    std::exit(passed ? 0 : kCheckFailed);
}

// Why a child that did not pass ended, in words.
std::string Verdict(int status, const SharedResult& result) {
    if (result.failure[0] != '\0') return "update " + std::to_string(result.failedAt) + ": " + result.failure;
    const std::string after = " after update " + std::to_string(result.update);
    if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status)) + after;
    const int code = WEXITSTATUS(status);
    if (code == 0 && !result.finished) return "the game ended the program by itself (status 0)" + after;
    if (code == 255) return "a runtime error (status -1)" + after + "; see the game's output below";
    if (result.finished) return "a sanitizer report at exit (status " + std::to_string(code) + ", see above)";
    return "ended with status " + std::to_string(code) + after + " (a sanitizer report is above)";
}

bool RunSeed(const Run& run, const std::string& logDir, bool trace, c_SoakCoverage& total, std::string& why,
             int& failedAt) {
    void* memory = mmap(nullptr, sizeof(SharedResult), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) {
        why = "cannot share memory with a child";
        return false;
    }
    auto* shared = new (memory) SharedResult{};
    const std::string logPath =
        logDir + "/floeward-soak-" + std::to_string(getpid()) + "-" + std::to_string(run.seed) + ".log";
    // A new file of our own: its name can be guessed, so whatever already holds it (a link to
    // some other file, say) is neither followed nor truncated.
    const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (log < 0) {
        std::fprintf(stderr, "floeward-soak: cannot create the log %s (%s)\n", logPath.c_str(), std::strerror(errno));
        std::exit(kBadInput);
    }
    std::fflush(stdout);
    std::fflush(stderr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) RunChild(run, log, trace, shared);
    close(log);
    int status = 0;
    auto nextProgress = start + kProgressEvery;
    while (child > 0 && waitpid(child, &status, WNOHANG) == 0) {
        std::this_thread::sleep_for(kPoll);
        if (std::chrono::steady_clock::now() >= nextProgress) {
            std::fprintf(stderr, "soak: seed %llu at update %d of %d\n", static_cast<unsigned long long>(run.seed),
                         shared->update, run.updates);
            nextProgress += kProgressEvery;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const bool passed = child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 && shared->finished;
    total.p_Add(shared->coverage);
    if (passed) {
        std::printf("seed %llu: %lld updates in %.1f s, no fault\n", static_cast<unsigned long long>(run.seed),
                    shared->coverage.m_updates, seconds);
        std::filesystem::remove(logPath);
    } else {
        why = child > 0 ? Verdict(status, *shared) : "cannot start a child process";
        failedAt = shared->failure[0] != '\0' ? shared->failedAt : shared->update;
        std::printf("seed %llu: FAILED at %s\n  the game's last lines (%s):\n%s",
                    static_cast<unsigned long long>(run.seed), why.c_str(), logPath.c_str(),
                    Tail(logPath, kLogTail).c_str());
    }
    std::fflush(stdout);
    munmap(memory, sizeof(SharedResult));
    return passed;
}

bool AlreadyKept(const std::string& path, uint64_t seed) {
    std::vector<Run> kept;
    if (!ReadRegressions(path, 1, kept)) return false;
    for (const Run& run : kept) {
        if (run.seed == seed) return true;
    }
    return false;
}

int Usage() {
    std::fputs(kUsage, stderr);
    return kBadInput;
}

}  // namespace

int main(int argc, char** argv) {
    int updates = kDefaultUpdates;
    std::string seeds, regressions, keep;
    std::string logDir = std::filesystem::temp_directory_path().string();
    bool trace = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--updates" && hasValue) {
            uint64_t n = 0;
            if (!ParseNumber(argv[++i], n) || n < 1 || n > kMaxUpdates) return Usage();
            updates = static_cast<int>(n);
        } else if (arg == "--seeds" && hasValue) {
            seeds = argv[++i];
        } else if (arg == "--regressions" && hasValue) {
            regressions = argv[++i];
        } else if (arg == "--keep" && hasValue) {
            keep = argv[++i];
        } else if (arg == "--log-dir" && hasValue) {
            logDir = argv[++i];
        } else if (arg == "--trace") {
            trace = true;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            return Usage();
        }
    }

    // Each seed's child writes its log there: a folder that is not one would fail every seed.
    if (!std::filesystem::is_directory(logDir)) {
        std::fprintf(stderr, "floeward-soak: the log folder %s does not exist\n", logDir.c_str());
        return kBadInput;
    }
    std::vector<Run> runs;
    if (!regressions.empty() && !ReadRegressions(regressions, updates, runs)) {
        std::fprintf(stderr, "floeward-soak: cannot read the seeds in %s\n", regressions.c_str());
        return kBadInput;
    }
    const size_t kept = runs.size();
    if (!seeds.empty() && !ParseSeeds(seeds, updates, runs)) return Usage();
    if (seeds.empty() && regressions.empty()) runs.push_back({static_cast<uint64_t>(std::time(nullptr)), updates});
    std::printf("soak: %zu kept seed%s and %zu more, %d updates a seed unless kept with their own count\n", kept,
                kept == 1 ? "" : "s", runs.size() - kept, updates);

    c_SoakCoverage total;
    int failed = 0;
    for (size_t i = 0; i < runs.size(); ++i) {
        std::string why;
        int failedAt = 0;
        if (RunSeed(runs[i], logDir, trace, total, why, failedAt)) continue;
        ++failed;
        if (!keep.empty() && i >= kept && !AlreadyKept(keep, runs[i].seed)) {
            std::ofstream(keep, std::ios::app)
                << runs[i].seed << " " << failedAt + 1 << "  # " << why.substr(0, 160) << "\n";
            std::printf("  seed %llu is kept in %s\n", static_cast<unsigned long long>(runs[i].seed), keep.c_str());
        }
    }
    std::printf("%s", total.p_Report().c_str());
    std::printf("soak: %zu seeds, %d failed\n", runs.size(), failed);
    return failed == 0 ? 0 : kSeedFailed;
}
