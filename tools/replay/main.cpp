// floeward-replay: plays an input script on the headless game and prints one line per level end.
// Exit status 0 when the whole script ran, 1 for a bad command line, file or script, 2 when a
// script line could not be carried out.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>
#include <unistd.h>

#include "framework/app/files.h"
#include "framework/app/glfw_window_system.h"
#include "tools/replay/replay_runner.h"
#include "tools/replay/replay_slack.h"

namespace {

constexpr int kBadInput = 1;
constexpr int kRunFailed = 2;

constexpr char kUsage[] =
    "usage: floeward-replay SCRIPT [--state FILE]\n"
    "       floeward-replay --verify REPLAY\n"
    "       floeward-replay --slack[=N] SCRIPT [--state FILE]\n"
    "  Plays the input script on the game with no window or sound, and prints one line per level end:\n"
    "  level L reason R rescued N counters C0..C7 score S update U\n"
    "  --state FILE  start from the saved state in FILE (none: a first start) and write the state\n"
    "                back to FILE when the game saved it\n"
    "  --verify      REPLAY is a replay the game kept (floeward-replays/level-NN.script): play it\n"
    "                and exit 2 unless the level ends as the replay recorded\n"
    "  --window      also show the game in a window, at its own speed, with the pictures of the\n"
    "                data folder in DIR/data (--data DIR; by default the build's or the installed\n"
    "                game's); closing the window stops the playback\n"
    "  --slack[=N]   for every level the script plays: the update of its first action, the update\n"
    "                that decided it, the longest stretch at normal speed with no action; and how\n"
    "                far each action moves earlier and later, every other action kept, with the\n"
    "                level ending the same (up to N updates each way, 10 by default; N+ when all\n"
    "                moves held); nothing is written back to --state\n";

// The updates each way `--slack` measures by default: what every stored solution must allow.
constexpr int kDefaultSlack = 10;
constexpr int kMostSlack = 600;

// The folder holding the game's data folder: the one given, else the build's top folder or the
// installed game's folder, seen from this program's own place in either.
std::string DataRoot(const std::string& given) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error).parent_path();
    std::vector<fs::path> candidates;
    if (!given.empty()) {
        candidates.push_back(given);
    } else {
        candidates = {self / "../..", self / "../lib/games/floeward", self};
    }
    for (const fs::path& root : candidates) {
        if (fs::is_directory(root / "data", error)) return fs::weakly_canonical(root, error).string();
    }
    return std::string();
}

// A move, with "+" where every move measured held.
std::string Moved(int moved, int limit) { return std::to_string(moved) + (moved == limit ? "+" : ""); }

// The report of --slack: a block a level, with the comment line above each action when it has one.
void PrintSlack(FILE* out, const std::vector<c_SlackLevel>& levels, const std::string& text, int limit) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    for (const c_SlackLevel& level : levels) {
        std::fprintf(out, "level %d first action %d finish %d idle %d: %s\n", level.m_level, level.m_firstAction,
                     level.m_finish, level.m_idle, vo_replay_FormatLevelEnd(level.m_end).c_str());
        for (const c_SlackAction& action : level.m_actions) {
            std::fprintf(out, "  line %d update %d earlier %s later %s window %d", action.m_line, action.m_update,
                         Moved(action.m_earlier, limit).c_str(), Moved(action.m_later, limit).c_str(), action.p_Window());
            const size_t above = static_cast<size_t>(action.m_line) - 2;
            if (action.m_line >= 2 && above < lines.size() && lines[above].rfind('#', 0) == 0) {
                std::fprintf(out, "  %s", lines[above].c_str());
            }
            std::fputc('\n', out);
        }
        if (const c_SlackAction* tightest = level.p_Tightest()) {
            std::fprintf(out, "  smallest window %d at line %d, update %d\n", tightest->p_Window(), tightest->m_line,
                         tightest->m_update);
        }
    }
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "floeward-replay: %s\n", message.c_str());
    return kBadInput;
}

}  // namespace

int main(int argc, char** argv) {
    std::string scriptPath, statePath, dataPath;
    bool verify = false, window = false;
    int slack = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--verify") {
            verify = true;
        } else if (arg == "--slack") {
            slack = kDefaultSlack;
        } else if (arg.rfind("--slack=", 0) == 0) {
            const std::string number = arg.substr(sizeof "--slack=" - 1);
            char* end = nullptr;
            const long n = std::strtol(number.c_str(), &end, 10);
            if (number.empty() || *end != '\0' || n < 1 || n > kMostSlack) {
                std::fputs(kUsage, stderr);
                return kBadInput;
            }
            slack = static_cast<int>(n);
        } else if (arg == "--window") {
            window = true;
        } else if (arg == "--data" && i + 1 < argc) {
            dataPath = argv[++i];
        } else if (arg == "--state" && i + 1 < argc) {
            statePath = argv[++i];
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (!arg.empty() && arg[0] != '-' && scriptPath.empty()) {
            scriptPath = arg;
        } else {
            std::fputs(kUsage, stderr);
            return kBadInput;
        }
    }
    if (scriptPath.empty() || (verify && !statePath.empty()) || (!dataPath.empty() && !window) ||
        (slack > 0 && (verify || window))) {
        std::fputs(kUsage, stderr);
        return kBadInput;
    }

    std::string text, why;
    if (vo_file_ReadRegular(scriptPath, kReplayScriptFileLimit, text, why) != VoFileRead::kRead) {
        return Fail("cannot read " + scriptPath + " (" + why + ")");
    }
    c_ReplayScript script;
    c_ReplayError error;
    if (!vo_replay_ParseScript(text, script, error)) {
        return Fail(scriptPath + (verify ? " is not a replay: " : ": ") + error.p_Text());
    }
    if (verify && !vo_replay_IsKeptReplay(script)) {
        return Fail(scriptPath + " is not a replay: it does not start a level with `enter` and end with `expect end`");
    }
    // A state file that is not there is a first start, as it is to the game.
    std::string state;
    if (!statePath.empty()) {
        const VoFileRead read = vo_file_ReadRegular(statePath, kStateFileLimit, state, why);
        if (read != VoFileRead::kRead && read != VoFileRead::kAbsent) {
            return Fail("cannot read " + statePath + " (" + why + ")");
        }
    }

    // The game logs to standard output; its lines go to standard error so that standard output
    // holds the level ends alone.
    std::fflush(stdout);
    FILE* results = fdopen(dup(STDOUT_FILENO), "w");
    if (!results || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) return Fail("cannot set up the output");

    if (slack > 0) {
        std::vector<c_SlackLevel> levels;
        const bool measured = vo_replay_Slack(script, state, slack, levels, error);
        PrintSlack(results, levels, text, slack);
        std::fclose(results);
        if (measured) return 0;
        std::fprintf(stderr, "floeward-replay: %s: %s\n", scriptPath.c_str(), error.p_Text().c_str());
        return kRunFailed;
    }

    VoGlfwWindowSystem display;
    c_HeadlessView view;
    if (window) {
        view.m_dataRoot = DataRoot(dataPath);
        if (view.m_dataRoot.empty()) return Fail("cannot find the game's data folder; name the folder holding it with --data");
        if (!display.Init()) return Fail("cannot open a window: no display");
        view.m_window = &display;
    }
    c_ReplayRunner runner(state, window ? &view : nullptr);
    runner.m_onLevelEnd = [results](const c_LevelEnd& end) {
        std::fprintf(results, "%s\n", vo_replay_FormatLevelEnd(end).c_str());
        std::fflush(results);
    };
    const bool ran = runner.p_Run(script, error);
    std::fclose(results);
    // Replaced whole, as the game saves it: a full disk leaves the old state rather than none.
    if (!statePath.empty() && runner.p_Saved()) {
        const std::string saved = runner.p_State();
        if (vo_file_ReplaceAtomically(statePath.c_str(), saved.data(), saved.size()) != 0) {
            return Fail("cannot write " + statePath + " (" + std::strerror(errno) + ")");
        }
    }
    if (!ran) {
        std::fprintf(stderr, "floeward-replay: %s: %s\n", scriptPath.c_str(), error.p_Text().c_str());
        return kRunFailed;
    }
    return 0;
}
