// The installed game: the layout `cmake --install` gives a prefix, with every file the loader
// asks for; the desktop entry, metadata and icons; the launcher's data folder, alone and with
// the real game under X, one copy of the game to it; and the Debian package built from the same
// install.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <csignal>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "game/globals.h"
#include "support/process.h"
#include "tools/replay/headless_game.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every entry below root by relative path: "dir", "link -> target", or the size of a file.
std::map<std::string, std::string> Tree(const fs::path& root) {
    std::map<std::string, std::string> entries;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        std::string what;
        if (it->is_symlink()) {
            what = "link -> " + fs::read_symlink(it->path()).string();
        } else if (it->is_directory()) {
            what = "dir";
        } else {
            what = std::to_string(it->file_size());
        }
        entries[fs::relative(it->path(), root).string()] = what;
    }
    return entries;
}

// A fresh temporary folder of the test's, removed with it.
class TempDir {
public:
    explicit TempDir(const std::string& name)
        : m_path(fs::temp_directory_path() / ("floeward-install-" + name + "-" + std::to_string(getpid()))) {
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~TempDir() { fs::remove_all(m_path); }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

// The build installed into a temporary prefix.
class Install : public testing::Test {
protected:
    void SetUp() override {
        int status = -1;
        std::string out = RunTool({FLOEWARD_CMAKE, "--install", FLOEWARD_BUILD_DIR, "--prefix", prefix.string()}, &status);
        ASSERT_EQ(status, 0) << out;
    }
    fs::path GameDir() const { return prefix / "lib/games/floeward"; }

    TempDir root{"prefix"};
    fs::path prefix = root.Path() / "usr";
};

TEST_F(Install, LaysTheGameOutAsDebianLaysOutGames) {
    auto executable = [](const fs::path& p) { return access(p.c_str(), X_OK) == 0 && fs::is_regular_file(p); };
    EXPECT_TRUE(executable(prefix / "games/floeward"));
    EXPECT_TRUE(executable(GameDir() / "floeward"));
    // The data is shared; the link beside the executable is relative, so the tree can move.
    ASSERT_TRUE(fs::is_symlink(GameDir() / "data"));
    EXPECT_TRUE(fs::read_symlink(GameDir() / "data").is_relative());
    EXPECT_EQ(fs::canonical(GameDir() / "data"), fs::canonical(prefix / "share/games/floeward/data"));
    EXPECT_EQ(Tree(GameDir() / "data"), Tree(fs::path(FLOEWARD_BUILD_DIR) / "data"));

    for (const char* file : {"share/applications/floeward.desktop", "share/metainfo/io.github.floeward.Floeward.metainfo.xml",
                             "share/man/man6/floeward.6.gz", "share/doc/floeward/copyright",
                             "share/doc/floeward/changelog.Debian.gz"}) {
        EXPECT_TRUE(fs::is_regular_file(prefix / file)) << file;
    }
}

TEST_F(Install, HoldsEveryFileTheLoaderAsksForAtEveryDetailLevel) {
    std::set<std::string> asked;
    {
        VoNullGl gl;
        c_HeadlessGame game;
        UseHDImages = 1;
        // The window sizes that pick detail levels 1, 2 and 4.
        for (auto [width, height] : {std::pair{640, 480}, std::pair{800, 600}, std::pair{1280, 720}}) {
            game.m_ws.width = width;
            game.m_ws.height = height;
            game.p_Render();
            for (int i = 0; i < 100 && game.m_app->m_loadStep != 0; ++i) game.p_Pass();
            ASSERT_EQ(game.m_app->m_loadStep, 0);
        }
        asked.insert(game.m_host.imageRequests.begin(), game.m_host.imageRequests.end());
        asked.insert(game.m_audio->loads.begin(), game.m_audio->loads.end());
    }
    // Thirteen picture slots at three detail levels and sixteen sounds, at the least.
    ASSERT_GE(asked.size(), 3u * 13u + 16u);
    const std::string prefixOfData = "zembra://data/";
    for (const std::string& location : asked) {
        ASSERT_EQ(location.rfind(prefixOfData, 0), 0u) << location;
        fs::path file = GameDir() / "data" / location.substr(prefixOfData.size());
        EXPECT_TRUE(fs::is_regular_file(file) && fs::file_size(file) > 0) << file;
    }
}

TEST_F(Install, DesktopEntryAndMetadataValidateAndAgreeWithTheRelease) {
    fs::path desktop = prefix / "share/applications/floeward.desktop";
    fs::path metainfo = prefix / "share/metainfo/io.github.floeward.Floeward.metainfo.xml";
    int status = -1;
    std::string out = RunTool({"desktop-file-validate", desktop.string()}, &status);
    EXPECT_EQ(status, 0) << out;
    out = RunTool({"appstreamcli", "validate", "--no-net", metainfo.string()}, &status);
    EXPECT_EQ(status, 0) << out;

    // The entry starts the launcher on the PATH with the installed icon, and the metadata
    // points at the entry.
    std::string entry = ReadFile(desktop);
    EXPECT_NE(entry.find("\nExec=floeward\n"), std::string::npos);
    EXPECT_NE(entry.find("\nIcon=floeward\n"), std::string::npos);
    EXPECT_NE(entry.find("\nCategories=Game;LogicGame;\n"), std::string::npos);
    std::string meta = ReadFile(metainfo);
    EXPECT_NE(meta.find("<launchable type=\"desktop-id\">floeward.desktop</launchable>"), std::string::npos);

    // The newest release named by the metadata and the package's changelog is this version.
    const std::string version = FLOEWARD_VERSION;
    size_t release = meta.find("<release version=\"");
    ASSERT_NE(release, std::string::npos);
    EXPECT_EQ(meta.substr(release + 18, version.size() + 1), version + "\"");
    std::string changelog = RunTool({"gzip", "-dc", (prefix / "share/doc/floeward/changelog.Debian.gz").string()});
    EXPECT_EQ(changelog.rfind("floeward (" + version + ") ", 0), 0u) << changelog.substr(0, 80);
    std::string manual = RunTool({"gzip", "-dc", (prefix / "share/man/man6/floeward.6.gz").string()});
    EXPECT_NE(manual.find("\"Floeward " + version + "\""), std::string::npos);
}

// The pixels of a picture file as 8-bit RGBA rows, decoded by ImageMagick.
std::string Rgba(const fs::path& file) { return RunTool({"convert", file.string(), "-depth", "8", "rgba:-"}); }

TEST_F(Install, IconsAtEveryThemeSizeAndAScalableOneOfTheSameDrawing) {
    fs::path theme = prefix / "share/icons/hicolor";
    std::string png128;
    for (int size : {48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        fs::path file = theme / (std::to_string(size) + "x" + std::to_string(size)) / "apps/floeward.png";
        // The file's own size, read from its header.
        std::string header = ReadFile(file).substr(0, 24);
        ASSERT_EQ(header.size(), 24u);
        ASSERT_EQ(header.substr(1, 3), "PNG");
        auto be32 = [&](size_t at) {
            return static_cast<int>(static_cast<unsigned char>(header[at]) << 24 | static_cast<unsigned char>(header[at + 1]) << 16 |
                                    static_cast<unsigned char>(header[at + 2]) << 8 | static_cast<unsigned char>(header[at + 3]));
        };
        EXPECT_EQ(be32(16), size);
        EXPECT_EQ(be32(20), size);
        std::string px = Rgba(file);
        ASSERT_EQ(px.size(), static_cast<size_t>(size * size * 4));
        // Rounded corners are see-through, the middle is solid.
        EXPECT_EQ(static_cast<unsigned char>(px[3]), 0);
        EXPECT_EQ(static_cast<unsigned char>(px[(static_cast<size_t>(size / 2) * size + size / 2) * 4 + 3]), 255);
        if (size == 128) png128 = px;
    }
    // The scalable icon, rasterised at 128, looks like the drawn one: the same shapes, colours
    // and places, off only where edges are smoothed differently.
    fs::path rasterised = root.Path() / "scalable-128.png";
    RunTool({"rsvg-convert", "-w", "128", "-h", "128", "-o", rasterised.string(), (theme / "scalable/apps/floeward.svg").string()});
    std::string svg = Rgba(rasterised);
    ASSERT_EQ(svg.size(), png128.size());
    long difference = 0;
    for (size_t i = 0; i < svg.size(); ++i)
        difference += std::abs(static_cast<unsigned char>(svg[i]) - static_cast<unsigned char>(png128[i]));
    EXPECT_LT(static_cast<double>(difference) / static_cast<double>(svg.size()), 2.0);
}

// The launcher over a stand-in game that reports where and with what it was started.
class Launcher : public Install {
protected:
    void SetUp() override {
        Install::SetUp();
        fs::create_directories(fake / "games");
        fs::create_directories(fake / "lib/games/floeward");
        fs::copy_file(prefix / "games/floeward", fake / "games/floeward");
        std::ofstream(fake / "lib/games/floeward/floeward") << "#!/bin/sh\npwd\necho \"$@\"\n";
        fs::permissions(fake / "lib/games/floeward/floeward", fs::perms::owner_exec, fs::perm_options::add);
        fs::create_directories(home);
        fs::create_directories(elsewhere);
    }
    // Runs the launcher from `elsewhere` with env(1)'s changes; its output and error together.
    std::string Run(const std::vector<std::string>& env, int* status, const fs::path& launcher = {}) {
        std::vector<std::string> argv = {"sh", "-c", "exec \"$@\" 2>&1", "sh", "env", "-C", elsewhere.string()};
        argv.insert(argv.end(), env.begin(), env.end());
        argv.push_back((launcher.empty() ? fake / "games/floeward" : launcher).string());
        argv.insert(argv.end(), {"one", "two words"});
        return RunTool(argv, status);
    }
    static unsigned Mode(const fs::path& p) {
        struct stat st {};
        return stat(p.c_str(), &st) == 0 ? st.st_mode & 07777u : 0u;
    }

    fs::path fake = root.Path() / "fake";
    fs::path home = root.Path() / "home";
    fs::path elsewhere = root.Path() / "elsewhere";
};

TEST_F(Launcher, StartsTheGameInAPrivateFolderOfTheDataHomeWithItsArguments) {
    int status = -1;
    fs::path data = home / ".local/share/floeward";
    EXPECT_EQ(Run({"-u", "XDG_DATA_HOME", "HOME=" + home.string()}, &status), data.string() + "\none two words\n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Mode(data), 0700u);
    // Only the game's own folder is private; the missing parents get the usual mode.
    const unsigned mask = umask(0);
    umask(mask);
    EXPECT_EQ(Mode(home / ".local"), (0777u & ~mask) | 0300u);

    fs::path xdg = root.Path() / "xdg";
    EXPECT_EQ(Run({"XDG_DATA_HOME=" + xdg.string(), "HOME=" + home.string()}, &status), (xdg / "floeward").string() + "\none two words\n");
    EXPECT_EQ(Mode(xdg / "floeward"), 0700u);
    // A relative data home is not one: the launcher falls back on HOME and makes nothing here.
    EXPECT_EQ(Run({"XDG_DATA_HOME=relative", "HOME=" + home.string()}, &status), data.string() + "\none two words\n");
    EXPECT_TRUE(fs::is_empty(elsewhere));

    // Started through a link elsewhere on the PATH, it still finds the game beside itself.
    fs::create_directories(root.Path() / "bin");
    fs::create_symlink(fake / "games/floeward", root.Path() / "bin/floeward");
    EXPECT_EQ(Run({"-u", "XDG_DATA_HOME", "HOME=" + home.string()}, &status, root.Path() / "bin/floeward"),
              data.string() + "\none two words\n");
    EXPECT_EQ(status, 0);
}

TEST_F(Launcher, RefusesToStartWithNeitherHomeNorDataHome) {
    int status = -1;
    std::string out = Run({"-u", "XDG_DATA_HOME", "-u", "HOME"}, &status);
    EXPECT_NE(status, 0);
    EXPECT_NE(out.find("HOME"), std::string::npos);
    EXPECT_EQ(out.find("one two words"), std::string::npos) << "the game was started";
    EXPECT_TRUE(fs::is_empty(elsewhere));
}

TEST_F(Launcher, InstalledGameOpensItsWindowAndSavesOnlyInThePlayersDataFolder) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "this test needs an X display (the test command starts one)";
    GameProcess game(elsewhere.string(), {"env", "-u", "XDG_DATA_HOME", "HOME=" + home.string(), "ALSOFT_DRIVERS=null",
                                          (prefix / "games/floeward").string()});
    unsigned long window = WaitForWindow("Floeward", 20s);
    ASSERT_NE(window, 0u) << game.Log();
    ASSERT_TRUE(Focus(window));
    std::this_thread::sleep_for(200ms);

    // Another client takes the focus: the game suspends and saves.
    GameProcess other(elsewhere.string(), {"xmessage", "Another window"});
    std::string otherWindow;
    for (int i = 0; i < 200 && otherWindow.empty(); ++i) {
        otherWindow = RunTool({"xdotool", "search", "--class", "xmessage"});
        if (otherWindow.empty()) std::this_thread::sleep_for(50ms);
    }
    ASSERT_FALSE(otherWindow.empty());
    ASSERT_TRUE(Focus(std::stoul(otherWindow.substr(0, otherWindow.find('\n')))));
    fs::path state = home / ".local/share/floeward/.zembrastate";
    for (int i = 0; i < 100 && !fs::exists(state); ++i) std::this_thread::sleep_for(50ms);
    EXPECT_GT(fs::file_size(state), 0u);

    // Nowhere else: not where it was started, not in the home folder, not beside the game.
    std::vector<std::string> saved;
    for (const auto& entry : fs::recursive_directory_iterator(root.Path())) {
        if (entry.path().filename() == ".zembrastate") saved.push_back(fs::relative(entry.path(), root.Path()).string());
    }
    EXPECT_EQ(saved, std::vector<std::string>{fs::relative(state, root.Path()).string()});

    RunTool({FLOEWARD_X11_CLOSE, std::to_string(window)});
    EXPECT_EQ(game.WaitForExit(5s), 0) << game.Log();
}

TEST_F(Launcher, OneCopyOfTheGamePerDataFolderAndACrashLeavesTheFolderFree) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "this test needs an X display (the test command starts one)";
    // Each copy is started from a folder of its own, where its output goes; all share one data folder.
    auto start = [&](const std::string& name) {
        fs::create_directories(elsewhere / name);
        return std::make_unique<GameProcess>(
            (elsewhere / name).string(), std::vector<std::string>{"env", "-u", "XDG_DATA_HOME", "HOME=" + home.string(),
                                                                  "ALSOFT_DRIVERS=null", (prefix / "games/floeward").string()});
    };
    const fs::path data = home / ".local/share/floeward";
    auto first = start("first");
    const unsigned long firstWindow = WaitForWindow("Floeward", 20s);
    ASSERT_NE(firstWindow, 0u) << first->Log();
    // With the focus it has nothing to save while the second tries.
    ASSERT_TRUE(Focus(firstWindow));
    std::this_thread::sleep_for(500ms);
    const auto before = Tree(data);

    // The second says why it does not start, through the launcher, and leaves the folder alone.
    auto second = start("second");
    EXPECT_EQ(second->WaitForExit(20s), 1) << second->Log();
    EXPECT_EQ(second->Log(), "Floeward is already running with this data folder\n");
    EXPECT_EQ(Tree(data), before);

    // A copy that crashed holds nothing: the next one starts.
    kill(first->Pid(), SIGKILL);
    EXPECT_EQ(first->WaitForExit(20s), 128 + SIGKILL);
    for (int i = 0; i < 400 && !RunTool({"xdotool", "search", "--name", "^Floeward$"}).empty(); ++i) {
        std::this_thread::sleep_for(50ms);
    }
    auto third = start("third");
    const unsigned long window = WaitForWindow("Floeward", 20s);
    ASSERT_NE(window, 0u) << third->Log();
    RunTool({FLOEWARD_X11_CLOSE, std::to_string(window)});
    EXPECT_EQ(third->WaitForExit(20s), 0) << third->Log();
}

// The Debian package CPack builds from the same install.
TEST_F(Install, DebianPackageUnpacksToTheInstalledTreeAndDependsOnWhatTheGameLinks) {
    TempDir packages("deb");
    int status = -1;
    std::string out = RunTool({FLOEWARD_CPACK, "-G", "DEB", "--config", std::string(FLOEWARD_BUILD_DIR) + "/CPackConfig.cmake",
                               "-B", packages.Path().string()},
                              &status);
    ASSERT_EQ(status, 0) << out;
    std::string arch = RunTool({"dpkg", "--print-architecture"});
    arch = arch.substr(0, arch.find('\n'));
    fs::path deb = packages.Path() / ("floeward_" + std::string(FLOEWARD_VERSION) + "_" + arch + ".deb");
    ASSERT_TRUE(fs::is_regular_file(deb)) << out;

    fs::path unpacked = packages.Path() / "tree";
    RunTool({"dpkg-deb", "-x", deb.string(), unpacked.string()}, &status);
    ASSERT_EQ(status, 0);
    // The same files, links and folders; the packaged executable alone is stripped.
    auto installed = Tree(prefix), packaged = Tree(unpacked / "usr");
    const std::string executable = "lib/games/floeward/floeward";
    ASSERT_EQ(installed.count(executable), 1u);
    ASSERT_EQ(packaged.count(executable), 1u);
    EXPECT_LE(std::stol(packaged[executable]), std::stol(installed[executable]));
    installed.erase(executable);
    packaged.erase(executable);
    EXPECT_EQ(packaged, installed);
    EXPECT_EQ(Tree(unpacked).size(), Tree(unpacked / "usr").size() + 1) << "only usr/ at the top";

    std::string info = RunTool({"dpkg-deb", "-I", deb.string()}, &status);
    ASSERT_EQ(status, 0);
    std::string depends;
    std::istringstream lines(info);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(" Depends: ", 0) == 0) depends = line;
    }
    EXPECT_NE(depends.find("libglfw3"), std::string::npos) << info;
    EXPECT_NE(depends.find("libopenal1"), std::string::npos) << info;
    EXPECT_NE(info.find(" Version: " + std::string(FLOEWARD_VERSION) + "\n"), std::string::npos) << info;
    EXPECT_NE(info.find(" Section: games\n"), std::string::npos) << info;
}

}  // namespace
