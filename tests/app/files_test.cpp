// Locations, text decoding, whole-file reads and the saved-state file.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/app/files.h"
#include "support/fake_window_system.h"
#include "support/recording_app.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Each test runs in a fresh working directory, since the state file lives there.
struct FilesFixture : testing::Test {
    FilesFixture() : host(&ws) {
        dir = fs::temp_directory_path() / ("floeward-files-" + std::to_string(getpid()) + "-" +
                                           testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        old = fs::current_path();
        fs::current_path(dir);
    }
    ~FilesFixture() override {
        fs::current_path(old);
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    String LoadText(const std::string& bytes) {
        WriteBytes(dir / "t.txt", bytes);
        return host.LoadString(String((dir / "t.txt").string()));
    }
    FakeWindowSystem ws;
    VoGlfwGame host;
    fs::path dir, old;
};

TEST_F(FilesFixture, LocationsMapBesideTheExecutable) {
    std::string exeDir = fs::read_symlink("/proc/self/exe").parent_path().string();
    EXPECT_EQ(host.PathToFilePath(String("zembra://data/levels/a.txt")).ToUtf8(), exeDir + "/data/levels/a.txt");
    EXPECT_EQ(host.PathToFilePath(String("zembra://internal/s.bin")).ToUtf8(), exeDir + "/internal/s.bin");
    EXPECT_EQ(host.PathToFilePath(String("zembra://external/e")).ToUtf8(), exeDir + "/external/e");
    EXPECT_EQ(host.PathToFilePath(String("zembra://other/x")), String());
    EXPECT_EQ(host.PathToFilePath(String("./x.png")), String("./x.png"));
    EXPECT_EQ(host.OpenFile(String("zembra://other/x"), String("rb")), nullptr);
}

TEST(DataPaths, AssetNamesBecomeDataLocationsUnlessAlreadyPaths) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"gfx/logo.png", "zembra://data/gfx/logo.png"},
        {"./x.png", "./x.png"},
        {"/x.png", "/x.png"},
        {"C:/x.png", "C:/x.png"},
        {"zembra://data/x.png", "zembra://data/x.png"},
        {"a/b:/c", "zembra://data/a/b:/c"},
        {"x.png", "zembra://data/x.png"},
    };
    for (const auto& c : cases) EXPECT_EQ(vo_data_FixDataPath(String(c.in)).ToUtf8(), c.out) << c.in;
}

TEST_F(FilesFixture, TextDecodingHandlesMarksAndFallsBackToLatin1) {
    _str_load_err = "stale";
    EXPECT_EQ(LoadText("abc"), String("abc"));
    EXPECT_EQ(_str_load_err, nullptr);
    EXPECT_EQ(LoadText("\xEF\xBB\xBFhi"), String("hi"));
    EXPECT_EQ(LoadText(std::string("\xFF\xFEh\0i\0!", 7)), String("hi"));  // trailing odd byte ignored
    EXPECT_EQ(LoadText(std::string("\xFE\xFF\0h\0i", 6)), String("hi"));

    String latin = LoadText("A\xFF" "B");
    ASSERT_EQ(latin.Length(), 3);
    EXPECT_EQ(latin[1], 0xFF);
    EXPECT_STREQ(_str_load_err, "Invalid UTF-8");

    String truncated = LoadText("\xEF\xBB\xBFx\xE2\x82");
    EXPECT_EQ(truncated.Length(), 3);  // the mark stays skipped in the fallback
    EXPECT_EQ(truncated[1], 0xE2);
    EXPECT_EQ(host.LoadString(String("missing.txt")), String());

    std::string big(10000, 'q');
    EXPECT_EQ(LoadText(big).Length(), 10000);  // more than one read block
}

TEST_F(FilesFixture, LoadDataReadsWholeFiles) {
    WriteBytes(dir / "d.bin", std::string("\x01\x02\x03\xFE\xFF\x00\x7F", 7));
    int length = -7;
    EXPECT_EQ(host.LoadData(String("missing.bin"), &length), nullptr);
    EXPECT_EQ(length, -7);
    unsigned char* data = host.LoadData(String((dir / "d.bin").string()), &length);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(length, 7);
    EXPECT_EQ(data[3], 0xFE);
    free(data);

    FILE* stream = std::fopen((dir / "d.bin").c_str(), "rb");
    EXPECT_EQ(readInt(stream), static_cast<int>(0xFE030201u));
    EXPECT_EQ(readInt(stream), -1);  // three bytes left
    std::fclose(stream);
}

TEST_F(FilesFixture, StateFileHoldsExactlyTheUtf8Bytes) {
    EXPECT_EQ(host.SaveState(String("abc")), 0);
    EXPECT_EQ(ReadBytes(".zembrastate"), "abc");
    const char16_t e[] = {u'x', 0x00E9};
    EXPECT_EQ(host.SaveState(String(e, 2)), 0);
    EXPECT_EQ(ReadBytes(".zembrastate"), "x\xC3\xA9");
    EXPECT_EQ(host.LoadState(), String(e, 2));
    EXPECT_EQ(host.SaveState(String()), 0);
    EXPECT_EQ(fs::file_size(".zembrastate"), 0u);
    EXPECT_EQ(host.LoadState(), String());
    EXPECT_EQ(fs::directory_iterator(dir)->path().filename(), ".zembrastate");  // no temporary left behind
}

TEST_F(FilesFixture, StateFileIsLookedUpInTheWorkingDirectory) {
    WriteBytes(".zembrastate", "\xEF\xBB\xBFsaved");
    EXPECT_EQ(host.LoadState(), String("saved"));
    fs::create_directories("elsewhere");
    fs::current_path("elsewhere");
    EXPECT_EQ(host.LoadState(), String());
}

TEST_F(FilesFixture, AFailedSaveKeepsThePreviousFile) {
    ASSERT_EQ(host.SaveState(String("previous")), 0);

    // A directory that cannot take a new file.
    fs::permissions(dir, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    if (access(dir.c_str(), W_OK) != 0) {  // root may write anyway
        testing::internal::CaptureStderr();
        EXPECT_EQ(host.SaveState(String("lost")), -1);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("could not be saved"), std::string::npos);
        EXPECT_EQ(host.SaveProblem(), VoSaveProblem::kReadOnly);
        EXPECT_EQ(ReadBytes(".zembrastate"), "previous");
    }
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);

    // A write that stops part-way: a file-size limit of 4 bytes.
    EXPECT_EXIT(
        {
            signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit;
            limit.rlim_cur = limit.rlim_max = 4;
            setrlimit(RLIMIT_FSIZE, &limit);
            _exit(host.SaveState(String("a much longer state")) == -2 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");  // the limit cuts the captured message short too
    EXPECT_EQ(ReadBytes(".zembrastate"), "previous");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

// What the host writes to stderr while the call runs.
template <class F>
std::string Stderr(F&& call) {
    testing::internal::CaptureStderr();
    call();
    return testing::internal::GetCapturedStderr();
}

TEST_F(FilesFixture, AStateFileThatCannotBeReadIsNeverReplaced) {
    struct Case {
        const char* name;
        void (*make)();
    } cases[] = {
        {"directory", [] { fs::create_directory(".zembrastate"); }},
        {"fifo", [] { ASSERT_EQ(mkfifo(".zembrastate", 0600), 0); }},
        {"dangling link", [] { fs::create_symlink("gone", ".zembrastate"); }},
        {"looping link", [] { fs::create_symlink(".zembrastate", ".zembrastate"); }},
        {"device", [] { fs::create_symlink("/dev/zero", ".zembrastate"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.make();
        auto before = fs::symlink_status(".zembrastate").type();
        VoGlfwGame fresh(&ws);
        alarm(10);  // a FIFO must not block the load
        String text;
        std::string said = Stderr([&] { text = fresh.LoadState(); });
        alarm(0);
        EXPECT_EQ(text, String());
        EXPECT_NE(said.find("cannot be read"), std::string::npos) << said;
        EXPECT_NE(said.find("will not be saved"), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
        fresh.StateDamaged();
        EXPECT_EQ(fresh.SaveState(String("fresh start")), -1);
        EXPECT_EQ(fresh.SaveState(String("fresh start")), -1);  // off for the rest of the run
        EXPECT_EQ(fresh.SaveProblem(), VoSaveProblem::kStateUnreadable);
        EXPECT_EQ(fs::symlink_status(".zembrastate").type(), before);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
        fs::remove_all(".zembrastate");
    }

    WriteBytes(".zembrastate", "progress");
    fs::permissions(".zembrastate", fs::perms::none);
    if (access(".zembrastate", R_OK) != 0) {  // root reads it anyway
        VoGlfwGame fresh(&ws);
        std::string said = Stderr([&] { EXPECT_EQ(fresh.LoadState(), String()); });
        EXPECT_NE(said.find("Permission denied"), std::string::npos) << said;
        EXPECT_EQ(fresh.SaveState(String("fresh start")), -1);
        fs::permissions(".zembrastate", fs::perms::owner_read);
        EXPECT_EQ(ReadBytes(".zembrastate"), "progress");
    }
}

TEST_F(FilesFixture, ADamagedStateFileIsKeptAsideBeforeItIsReplaced) {
    // Found damaged by the program: kept once, an older copy replaced; later saves just save.
    WriteBytes(".zembrastate.damaged", "older damage");
    WriteBytes(".zembrastate", "1|2|bad sum|");
    EXPECT_EQ(host.LoadState(), String("1|2|bad sum|"));
    host.StateDamaged();
    std::string said = Stderr([&] { EXPECT_EQ(host.SaveState(String("1|2|3|")), 0); });
    EXPECT_NE(said.find(".zembrastate.damaged"), std::string::npos) << said;
    EXPECT_EQ(ReadBytes(".zembrastate.damaged"), "1|2|bad sum|");
    EXPECT_EQ(ReadBytes(".zembrastate"), "1|2|3|");
    EXPECT_EQ(Stderr([&] { EXPECT_EQ(host.SaveState(String("4|")), 0); }), "");
    EXPECT_EQ(ReadBytes(".zembrastate.damaged"), "1|2|bad sum|");

    // Bytes that are not the UTF-8 a save writes.
    fs::remove(".zembrastate.damaged");
    WriteBytes(".zembrastate", "A\xFF" "B");
    EXPECT_EQ(host.LoadState().Length(), 3);
    EXPECT_EQ(host.SaveState(String("ok")), 0);
    EXPECT_EQ(ReadBytes(".zembrastate.damaged"), "A\xFF" "B");

    // A clean load keeps nothing aside, and neither does a fresh start.
    fs::remove(".zembrastate.damaged");
    EXPECT_EQ(host.LoadState(), String("ok"));
    EXPECT_EQ(host.SaveState(String("ok2")), 0);
    fs::remove(".zembrastate");
    EXPECT_EQ(host.LoadState(), String());
    host.StateDamaged();
    EXPECT_EQ(host.SaveState(String("new")), 0);
    EXPECT_FALSE(fs::exists(".zembrastate.damaged"));
}

TEST_F(FilesFixture, AnOversizedStateFileIsNotReadButKeptAside) {
    WriteBytes(".zembrastate", std::string(kStateFileLimit, '7'));
    EXPECT_EQ(host.LoadState().Length(), kStateFileLimit);
    EXPECT_FALSE(fs::exists(".zembrastate.damaged"));

    // Sparse, so the test itself stays small; the load must not read it whole.
    { std::ofstream(".zembrastate", std::ios::binary) << "x"; }
    fs::resize_file(".zembrastate", 100ull << 20);
    String text;
    std::string said = Stderr([&] { text = host.LoadState(); });
    EXPECT_EQ(text, String());
    EXPECT_NE(said.find("too large"), std::string::npos) << said;
    EXPECT_EQ(host.SaveState(String("1|")), 0);
    EXPECT_EQ(fs::file_size(".zembrastate.damaged"), 100ull << 20);
    EXPECT_EQ(ReadBytes(".zembrastate"), "1|");
}

TEST_F(FilesFixture, SavingKeepsTheFileModeAndItsLink) {
    WriteBytes(".zembrastate", "old");
    fs::permissions(".zembrastate", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_EQ(host.SaveState(String("new")), 0);
    EXPECT_EQ(fs::status(".zembrastate").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    // The link stays a link; its target is replaced in the target's folder.
    fs::remove(".zembrastate");
    fs::create_directory("saves");
    WriteBytes("saves/state", "1|2|x|");
    fs::create_symlink("saves/state", ".zembrastate");
    EXPECT_EQ(host.LoadState(), String("1|2|x|"));
    host.StateDamaged();
    ASSERT_EQ(host.SaveState(String("1|2|3|")), 0);
    EXPECT_TRUE(fs::is_symlink(".zembrastate"));
    EXPECT_EQ(ReadBytes("saves/state"), "1|2|3|");
    EXPECT_EQ(ReadBytes("saves/state.damaged"), "1|2|x|");
    EXPECT_EQ(std::distance(fs::directory_iterator("saves"), fs::directory_iterator()), 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

TEST_F(FilesFixture, PlayerFilesMakeTheirFolderAndReadOnlyWhatASaveCouldHaveWritten) {
    const String location("./kept/level-01.script");
    EXPECT_EQ(host.LoadUserFile(location), String()) << "absent is empty, and quiet";
    ASSERT_EQ(host.SaveUserFile(location, String("wait 1\n\u00e9")), 0);
    EXPECT_EQ(host.LoadUserFile(location), String("wait 1\n\u00e9"));
    ASSERT_EQ(host.SaveUserFile(location, String("wait 2\n")), 0);
    EXPECT_EQ(ReadBytes("kept/level-01.script"), "wait 2\n") << "replaced whole";
    EXPECT_EQ(std::distance(fs::directory_iterator("kept"), fs::directory_iterator()), 1) << "no temporary left";

    struct Case {
        const char* name;
        void (*make)();
        const char* said;
    } cases[] = {
        {"fifo", [] { ASSERT_EQ(mkfifo("kept/level-01.script", 0600), 0); }, "not a regular file"},
        {"directory", [] { fs::create_directory("kept/level-01.script"); }, "not a regular file"},
        {"oversized", [] { WriteBytes("kept/level-01.script", std::string(kUserFileLimit + 1, 'w')); }, "over"},
        {"not text", [] { WriteBytes("kept/level-01.script", std::string("wait \xff\xfe 1", 9)); }, "not UTF-8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all("kept/level-01.script");
        c.make();
        alarm(10);  // a FIFO must not block the read
        String text;
        std::string said = Stderr([&] { text = host.LoadUserFile(location); });
        alarm(0);
        EXPECT_EQ(text, String());
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
    }
    fs::remove_all("kept");
    WriteBytes("kept", "a file where the folder goes");
    std::string said = Stderr([&] { EXPECT_EQ(host.SaveUserFile(location, String("x")), -1); });
    EXPECT_NE(said.find("could not be"), std::string::npos) << said;
}

TEST_F(FilesFixture, APlayersFileThatIsALinkIsReplacedAndWhatItPointedToIsLeftAlone) {
    const String location("./kept/level-01.script");
    WriteBytes("notes", "my notes");
    fs::create_directory("kept");
    fs::create_symlink("../notes", "kept/level-01.script");
    ASSERT_EQ(host.SaveUserFile(location, String("wait 1\n")), 0);
    EXPECT_EQ(ReadBytes("notes"), "my notes");
    EXPECT_FALSE(fs::is_symlink("kept/level-01.script"));
    EXPECT_EQ(ReadBytes("kept/level-01.script"), "wait 1\n");

    // A link to nowhere is replaced too, and makes nothing where it pointed.
    fs::remove("kept/level-01.script");
    fs::create_symlink("../made", "kept/level-01.script");
    ASSERT_EQ(host.SaveUserFile(location, String("wait 2\n")), 0);
    EXPECT_FALSE(fs::exists("made"));
    EXPECT_EQ(ReadBytes("kept/level-01.script"), "wait 2\n");
    EXPECT_EQ(std::distance(fs::directory_iterator("kept"), fs::directory_iterator()), 1) << "no temporary left";
}

TEST(Dates, FillAsManyFieldsAsTheArrayHolds) {
    FakeWindowSystem ws;
    VoGlfwGame host(&ws);
    Array<int> date(8);
    date[7] = 42;
    host.GetDate(date);
    EXPECT_GE(date[0], 2024);
    EXPECT_GE(date[1], 1);
    EXPECT_LE(date[1], 12);
    EXPECT_LE(date[3], 23);
    EXPECT_EQ(date[6], 0);
    EXPECT_EQ(date[7], 42);
    Array<int> two(2);
    host.GetDate(two);
    EXPECT_EQ(two[0], date[0]);
    host.GetDate(Array<int>());
}

}  // namespace
