// The tools on a player's files: a state written back whole or not at all, inputs read only from
// regular files and never past their limits, and messages and logs that what they handle cannot
// turn against the player.
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "game/stored_levels.h"
#include "replay_tool.h"
#include "tools/levelpack/level_map.h"

namespace game_test {
namespace {

namespace fs = std::filesystem;

using ToolFiles = ReplayTool;

// A tool that reads a device or a FIFO for ever is stopped after this long, and so fails.
const std::string kPatience = "timeout 30 ";

TEST_F(ToolFiles, TheReplayToolReplacesTheStateWholeOrLeavesItAsItWas) {
    Write("focus", "wait 2\nfocus off\nfocus on\n");
    Write("state", "keep me");
    // Room for 512 bytes a file: the first save of the game (about 1.3 KB) cannot be written.
    const int status = Command("sh -c \"trap '' XFSZ; ulimit -f 1; exec " + std::string(FLOEWARD_REPLAY_BIN) + " " +
                               Path("focus") + " --state " + Path("state") + "\"");
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.find("cannot write " + Path("state")), std::string::npos) << err;
    EXPECT_EQ(Read("state"), "keep me");
    for (const auto& entry : fs::directory_iterator(testing::TempDir())) {
        EXPECT_EQ(entry.path().string().rfind(Path("state."), 0), std::string::npos) << "left behind: " << entry.path();
    }
}

TEST_F(ToolFiles, EveryToolReadsOnlyRegularFilesAndNoMoreThanItsLimit) {
    std::remove(Path("fifo").c_str());
    std::remove(Path("out.cpp").c_str());
    ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
    fs::create_directory(Path("folder"));
    Write("script", "wait 1\n");
    Write("large_map", std::string(kMapFileLimit + 1, '#'));
    // The level packer takes the maps of every stored level, then the default level's; the first
    // is the one at fault.
    std::string otherMaps;
    for (int level = kFirstStoredLevel + 1; level <= kLastStoredLevel; ++level) {
        otherMaps += std::string(" ") + FLOEWARD_SOURCE_DIR + "/levels/" + (level < 10 ? "0" : "") + std::to_string(level) +
                     ".map";
    }
    otherMaps += std::string(" ") + FLOEWARD_SOURCE_DIR + "/levels/default.map";
    const std::string replay = FLOEWARD_REPLAY_BIN, pack = std::string(FLOEWARD_LEVELPACK_BIN) + " " + Path("out.cpp"),
                      solve = std::string(FLOEWARD_SOLVE_BIN) + " --budget 1 --map";
    const std::pair<std::string, const char*> cases[] = {
        {replay + " /dev/zero", "not a regular file"},
        {replay + " " + Path("fifo"), "not a regular file"},
        {replay + " " + Path("script") + " --state /dev/zero", "not a regular file"},
        {replay + " " + Path("script") + " --state " + Path("fifo"), "not a regular file"},
        {pack + " /dev/zero" + otherMaps, "not a regular file"},
        {pack + " " + Path("folder") + otherMaps, "not a regular file"},
        {pack + " " + Path("fifo") + otherMaps, "not a regular file"},
        {solve + " /dev/zero", "not a regular file"},
        {solve + " " + Path("fifo"), "not a regular file"},
        {solve + " " + Path("large_map"), "over 65536 bytes"},
    };
    for (const auto& [command, said] : cases) {
        EXPECT_EQ(Command(kPatience + command), 1) << command << "\n" << err;
        EXPECT_NE(err.find(said), std::string::npos) << command << "\n" << err;
    }
    EXPECT_FALSE(fs::exists(Path("out.cpp")));
}

// The solver makes the folder for its answers before it searches: a long search must not end
// with nowhere to put what it found.
TEST_F(ToolFiles, TheSolverMakesItsAnswersFolderBeforeItSearches) {
    fs::remove_all(Path("new"));
    Write("file", "");
    const std::string solve = kPatience + FLOEWARD_SOLVE_BIN + " --level 1 --budget 60 --out ";
    EXPECT_EQ(Command(solve + Path("new/answers")), 0) << err;
    EXPECT_TRUE(fs::is_regular_file(Path("new/answers/level-1.script")));
    EXPECT_EQ(Command(solve + Path("file/answers")), 1);
    EXPECT_NE(err.find("cannot make " + Path("file/answers")), std::string::npos) << err;
}

TEST_F(ToolFiles, MessagesAndLogsCannotBeTurnedAgainstThePlayer) {
    // A control byte in a map is named, not written to the terminal.
    c_LevelMap map;
    std::string error;
    EXPECT_FALSE(vo_levelpack_ReadMap(std::string("0\x1b") + std::string(26, '0') + "\n", map, error));
    EXPECT_EQ(error, "line 1: column 2 holds '\\x1b', not one of 01SXABCDEF");

    // The soak's log has a name anyone can guess: a link put there is refused, not written through.
    Write("notes", "my notes");
    fs::create_directory(Path("logs"));
    EXPECT_EQ(Command("sh -c 'ln -s \"$1\" \"$0/floeward-soak-$$-1.log\" && exec \"$2\" --log-dir \"$0\" --seeds 1 "
                      "--updates 5' " + Path("logs") + " " + Path("notes") + " " + FLOEWARD_SOAK_BIN),
              1);
    EXPECT_NE(err.find("cannot create the log"), std::string::npos) << err;
    EXPECT_EQ(Read("notes"), "my notes");

    // A search budget shorter than one update searches nothing: refused.
    for (const char* budget : {"1e-300", "0.01"}) {
        EXPECT_EQ(Command(std::string(FLOEWARD_SOLVE_BIN) + " --budget " + budget), 1) << budget;
        EXPECT_NE(err.find("usage: floeward-solve"), std::string::npos) << err;
    }
}

}  // namespace
}  // namespace game_test
