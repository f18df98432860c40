// floeward-solve: searches the fewest skill uses that bring a penguin home in a level, and
// writes the input script (and saved state) that plays the solution. Exit status 0 when every
// level asked for was solved, 1 for a bad command line, 3 when one was not.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/solver/solver.h"

namespace {

constexpr int kBadInput = 1;
constexpr int kUnsolved = 3;

constexpr char kUsage[] =
    "usage: floeward-solve [--level N | --levels A-B] [--penguins P] [--counters J,L,M,B,S]\n"
    "                      [--home N] [--without SKILL] [--budget SECONDS] [--updates N]\n"
    "                      [--max-uses K] [--split N | --every] [--merge F | --prove] [--workers W]\n"
    "                      [--memory MB] [--map FILE] [--out DIR]\n"
    "  Searches skill uses, fewest first, on the game's own simulation and plays the solution's\n"
    "  input script back before reporting it.\n"
    "  --level N           the level (1 to 15; default 1)\n"
    "  --levels A-B        levels A to B in turn, each starting with the penguins rescued and the\n"
    "                      counters left by the solution of the one before\n"
    "  --penguins P        penguins at the start (1 to 50; default 1)\n"
    "  --counters ...      Jump, Leap, Melt, Burst and Spin at the start (default: what the game gives\n"
    "                      from a first start: level 1's own ten Jumps, nothing for later levels)\n"
    "  --home N            penguins that must get home, none lost (default 1; 'all' for every one)\n"
    "  --without SKILL     never give this skill (jump, leap, melt, burst or spin; may be repeated):\n"
    "                      an exhausted search proves the level needs it\n"
    "  --budget SECONDS    wall-clock time per level, at least 1/60 (default 60)\n"
    "  --updates N         updates simulated per level at most, all workers together (default: no limit)\n"
    "  --max-uses K        skill uses searched at most (default: all the counters allow)\n"
    "  --split N           moments a walking penguin offers a skill per cell (1 to 40; default 1)\n"
    "  --every             a moment at every update a penguin can take a skill\n"
    "  --merge FRACTION    count states whose penguins stand within this fraction of a cell\n"
    "                      as one (faster, may miss a solution, proves nothing; default: only equal states)\n"
    "  --prove             half the budget searches merged states (0.5) for a way, the rest tries every\n"
    "                      way with one use fewer: the fewest proven, sooner where it is many\n"
    "  --workers W         processes searching together (default: one a processor)\n"
    "  --memory MB         memory for the states proven, shared by the workers (default 512)\n"
    "  --map FILE          play this map (14 rows of 28 characters) as the level instead\n"
    "  --out DIR           write level-N.script (and level-N.state from level 2) into DIR\n";

constexpr const char* kSkillNames[skill::kCount] = {"jump", "leap", "melt", "burst", "spin"};
constexpr const char* kSkillPlurals[skill::kCount] = {"Jumps", "Leaps", "Melts", "Bursts", "Spins"};
constexpr int kDefaultMemoryMb = 512;
constexpr int kMostMemoryMb = 16384;

bool ParseInt(const std::string& text, int low, int high, int& out) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < low || v > high) return false;
    out = static_cast<int>(v);
    return true;
}

bool ParseCounters(const std::string& text, int counters[skill::kCount]) {
    std::stringstream in(text);
    std::string part;
    int k = 0;
    while (std::getline(in, part, ',')) {
        if (k == skill::kCount || !ParseInt(part, 0, 50, counters[k])) return false;
        ++k;
    }
    return k == skill::kCount;
}

bool ParseSkill(const std::string& text, unsigned& without) {
    for (int k = 0; k < skill::kCount; ++k) {
        if (text != kSkillNames[k]) continue;
        without |= 1u << k;
        return true;
    }
    return false;
}

// What the search went through completely, for the report: the uses, the skills left out and
// whether it is a proof over the moments offered.
std::string Searched(const c_SolveResult& result, const c_SolveBudget& budget) {
    std::string text = "every way with up to " + std::to_string(result.m_depthDone) + " skill use(s)";
    for (int k = 0; k < skill::kCount; ++k) {
        if ((budget.m_without >> k & 1) != 0) text += std::string(" and no ") + kSkillPlurals[k];
    }
    text += " tried";
    if (budget.m_quantum > 0) text += " (merged states: not a proof)";
    if (result.m_untapped > 0) {
        text += " (" + std::to_string(result.m_untapped) + " skill(s) that did not take left out: not a proof";
        const int proven = result.p_ProvenDepth(budget);
        if (proven >= 0) text += "; proven up to " + std::to_string(proven) + " use(s)";
        text += ")";
    }
    if (result.m_covered > 0) {
        text += "; " + std::to_string(result.m_covered) + " skill(s) given to a covered penguin as if tapped earlier";
    }
    return text;
}

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    c_SolveSetup setup;
    c_SolveBudget budget;
    budget.m_workers = std::max(1, static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN)));
    budget.m_tableBytes = static_cast<size_t>(kDefaultMemoryMb) << 20;
    bool homeAll = false;
    int first = 1, last = 1;
    bool countersGiven = false;
    bool prove = false;
    std::string mapFile, outDir;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        const std::string value = hasValue ? argv[i + 1] : "";
        bool ok = hasValue;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--level") {
            ok = ok && ParseInt(value, 1, progress::kLevels, first);
            last = first;
        } else if (arg == "--levels") {
            const size_t dash = value.find('-');
            ok = ok && dash != std::string::npos && ParseInt(value.substr(0, dash), 1, progress::kLevels, first) &&
                 ParseInt(value.substr(dash + 1), first, progress::kLevels, last);
        } else if (arg == "--penguins") {
            ok = ok && ParseInt(value, 1, pen::kRecords, setup.m_penguins);
        } else if (arg == "--counters") {
            ok = ok && ParseCounters(value, setup.m_counters);
            countersGiven = true;
        } else if (arg == "--budget") {
            // Less than an update's time would search nothing at all.
            budget.m_seconds = std::atof(value.c_str());
            ok = ok && budget.m_seconds >= 1.0 / kRunningRate;
        } else if (arg == "--updates") {
            budget.m_updates = std::atoll(value.c_str());
            ok = ok && budget.m_updates > 0;
        } else if (arg == "--max-uses") {
            ok = ok && ParseInt(value, 0, 250, budget.m_maxUses);
        } else if (arg == "--split") {
            ok = ok && ParseInt(value, 1, 40, budget.m_split);
        } else if (arg == "--every") {
            // No value follows.
            budget.m_split = 0;
            ok = true;
            --i;
        } else if (arg == "--home") {
            if (value == "all") {
                homeAll = true;
            } else {
                ok = ok && ParseInt(value, 1, pen::kRecords, budget.m_home);
            }
        } else if (arg == "--without") {
            ok = ok && ParseSkill(value, budget.m_without);
        } else if (arg == "--workers") {
            ok = ok && ParseInt(value, 1, 64, budget.m_workers);
        } else if (arg == "--memory") {
            int mb = 0;
            ok = ok && ParseInt(value, 1, kMostMemoryMb, mb);
            budget.m_tableBytes = static_cast<size_t>(mb) << 20;
        } else if (arg == "--merge") {
            budget.m_quantum = static_cast<float>(std::atof(value.c_str()));
            ok = ok && budget.m_quantum > 0;
        } else if (arg == "--prove") {
            // No value follows.
            prove = true;
            ok = true;
            --i;
        } else if (arg == "--map") {
            mapFile = value;
        } else if (arg == "--out") {
            outDir = value;
        } else {
            ok = false;
        }
        if (!ok) {
            std::fputs(kUsage, stderr);
            return kBadInput;
        }
        ++i;
    }
    if (prove && budget.m_quantum > 0) {
        std::fputs("floeward-solve: --prove merges states of its own; leave out --merge\n", stderr);
        return kBadInput;
    }
    if (!mapFile.empty() && first != last) {
        std::fputs("floeward-solve: --map plays one level\n", stderr);
        return kBadInput;
    }
    // Made before the search, so that a long search does not end in a folder it cannot write.
    std::error_code made;
    if (!outDir.empty() && !std::filesystem::create_directories(outDir, made) && made) {
        std::fprintf(stderr, "floeward-solve: cannot make %s (%s)\n", outDir.c_str(), made.message().c_str());
        return kBadInput;
    }

    // The game logs to standard output; the report keeps it for itself.
    std::fflush(stdout);
    FILE* report = fdopen(dup(STDOUT_FILENO), "w");
    const int quiet = open("/dev/null", O_WRONLY);
    if (!report || quiet < 0 || dup2(quiet, STDOUT_FILENO) < 0) return kBadInput;

    if (!countersGiven) c_SolverGame::p_StartCounters(first, setup.m_counters);
    int status = 0;
    for (int level = first; level <= last; ++level) {
        setup.m_level = level;
        if (homeAll) budget.m_home = setup.m_penguins;
        if (!mapFile.empty()) {
            std::string error;
            if (!vo_solver_ReadMap(mapFile, setup.m_counters, setup.m_text, error)) {
                std::fprintf(stderr, "floeward-solve: %s\n", error.c_str());
                return kBadInput;
            }
        }
        const c_SolveResult result = prove ? vo_solver_Prove(setup, budget) : vo_solver_Solve(setup, budget);
        std::fprintf(report, "level %d penguins %d counters %d,%d,%d,%d,%d home %d: %s", level, setup.m_penguins,
                     setup.m_counters[0], setup.m_counters[1], setup.m_counters[2], setup.m_counters[3],
                     setup.m_counters[4], budget.m_home, vo_solver_StatusText(result.m_status));
        if (result.m_status == c_SolveStatus::kSolved || result.m_status == c_SolveStatus::kVerifyFailed) {
            std::fprintf(report, ", %zu skill use(s)", result.m_actions.size());
        }
        std::fprintf(report, "; %lld updates, %lld skills tried, %d worker(s), %.2f s\n", result.m_updates,
                     result.m_plays, budget.m_workers, result.m_seconds);
        if (result.m_depthDone >= 0) std::fprintf(report, "  %s\n", Searched(result, budget).c_str());
        for (size_t d = 0; d < result.m_depths.size(); ++d) {
            std::fprintf(report, "  up to %zu use(s) through at %.1f s, %lld updates", d, result.m_depths[d].m_seconds,
                         result.m_depths[d].m_updates);
            if (result.m_depths[d].m_untapped > 0) {
                std::fprintf(report, ", %lld skill(s) left out", result.m_depths[d].m_untapped);
            }
            std::fprintf(report, "\n");
        }
        for (int k = 0; k < skill::kCount; ++k) {
            if ((budget.m_without >> k & 1) == 0) continue;
            if (result.m_status == c_SolveStatus::kExhausted && result.p_Proof(budget)) {
                std::fprintf(report, "  no way with 0 %s\n", kSkillPlurals[k]);
            }
        }
        if (result.m_status == c_SolveStatus::kSolved) {
            std::fprintf(report, "  played back: %s\n", vo_replay_FormatLevelEnd(result.m_end).c_str());
        } else if (result.m_status == c_SolveStatus::kVerifyFailed || result.m_status == c_SolveStatus::kFailed) {
            std::fprintf(report, "  %s\n", result.m_verifyError.c_str());
        }
        if (!result.m_script.empty() && !outDir.empty()) {
            const std::string base = outDir + "/level-" + std::to_string(level);
            if (!WriteFile(base + ".script", result.m_script) ||
                (!result.m_state.empty() && !WriteFile(base + ".state", result.m_state))) {
                std::fprintf(stderr, "floeward-solve: cannot write %s\n", base.c_str());
                return kBadInput;
            }
        } else if (!result.m_script.empty() && first == last) {
            std::fputs(result.m_script.c_str(), report);
        }
        std::fflush(report);
        if (result.m_status != c_SolveStatus::kSolved) {
            status = kUnsolved;
            break;
        }
        // The next level starts with what this one left.
        setup.m_penguins = result.m_end.m_rescued;
        for (int k = 0; k < skill::kCount; ++k) setup.m_counters[k] = result.m_end.m_counters[k];
    }
    std::fclose(report);
    return status;
}
