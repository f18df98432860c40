// The runtime types: number text, UTF-16/UTF-8 both ways, the generator, reclamation, errors.
#include <algorithm>
#include <cmath>
#include <csignal>
#include <atomic>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>
#include <gtest/gtest.h>

#include "framework/app/array.h"
#include "framework/app/error.h"
#include "framework/app/object.h"
#include "framework/app/random.h"
#include "framework/app/string.h"
#include "support/backed_memory.h"

namespace {

TEST(StringNumbers, IntsAndFloatsFormatAsTheGameExpects) {
    EXPECT_EQ(String(0).ToUtf8(), "0");
    EXPECT_EQ(String(-2147483647 - 1).ToUtf8(), "-2147483648");
    struct Case {
        float value;
        const char* text;
    } cases[] = {
        {1.0f, "1.0"},
        {-3.0f, "-3.0"},
        {0.5f, "0.5"},
        {0.1f, "0.10000000149011612"},
        {1e20f, "1.0000000200408773e+20"},
        {1e-7f, "1.0000000116860974e-07"},
        {16777216.0f, "16777216.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(String(c.value).ToUtf8(), c.text) << c.text;
}

TEST(StringUtf, EncodesEachCodeUnitOnItsOwn) {
    const char16_t units[] = {u'a', 0x00E9, 0x20AC, 0xD83D, 0xDE00};
    std::string bytes = String(units, 5).ToUtf8();
    const unsigned char expected[] = {0x61, 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80};
    ASSERT_EQ(bytes.size(), sizeof expected);
    for (size_t i = 0; i < sizeof expected; ++i) EXPECT_EQ(static_cast<unsigned char>(bytes[i]), expected[i]) << i;
}

TEST(StringUtf, DecodesUtf8IncludingSurrogatesWrittenAsTwoSequences) {
    String s("a\xC3\xA9\xE2\x82\xAC\xED\xA0\xBD\xED\xB8\x80");
    ASSERT_EQ(s.Length(), 5);
    EXPECT_EQ(s[1], 0xE9);
    EXPECT_EQ(s[2], 0x20AC);
    EXPECT_EQ(s[3], 0xD83D);
    EXPECT_EQ(s[4], 0xDE00);
    EXPECT_EQ(String(s.ToUtf8()), s);
}

TEST(StringOps, SearchSliceAndCompare) {
    String s("zembra://data/x.png");
    EXPECT_EQ(s.Find(String(":/")), 6);
    EXPECT_EQ(s.Find(String("/"), 9), 13);
    EXPECT_EQ(s.Find(String("?")), -1);
    EXPECT_EQ(s.Slice(14), String("x.png"));
    EXPECT_EQ(s.Slice(-5, 6), String("zembra"));
    EXPECT_EQ(s.Slice(30, 40), String());
    EXPECT_TRUE(s.StartsWith(String("zembra:")));
    EXPECT_TRUE(s.EndsWith(String(".png")));
    EXPECT_EQ(String("Music.OGG").ToLower(), String("music.ogg"));
    EXPECT_EQ(String("a-b-c").Replace(String("-"), String("--")), String("a--b--c"));
    EXPECT_LT(String("abc").Compare(String("abd")), 0);
    EXPECT_EQ(s[99], 0);
}

TEST(Random, FollowsTheLinearCongruentialSequenceFromSeed1234) {
    vo_random_Seed = 1234;
    float r = vo_random_Rnd();
    EXPECT_EQ(static_cast<uint32_t>(vo_random_Seed), 3067928073u);
    EXPECT_EQ(r, std::ldexp(11984094.0f, -24));
    uint32_t state = 3067928073u * 1664525u + 1013904223u;
    float expected = static_cast<float>(state >> 8) * 5.9604645e-8f;
    EXPECT_EQ(vo_random_Rnd2(10.0f, 20.0f), 10.0f + 10.0f * expected);
    state = state * 1664525u + 1013904223u;
    EXPECT_EQ(vo_random_Rnd3(5.0f), static_cast<float>(state >> 8) * 5.9604645e-8f * 5.0f);
}

struct Tracked : Object {
    explicit Tracked(int* deaths, Ref<Object> child = nullptr) : deaths(deaths), child(std::move(child)) {}
    ~Tracked() override { ++*deaths; }
    int* deaths;
    Ref<Object> child;
};

TEST(Reclamation, ObjectsDieInCollectAfterTheirLastReference) {
    gc_collect();
    int deaths = 0;
    {
        Ref<Tracked> parent = New<Tracked>(&deaths, New<Tracked>(&deaths));
        Ref<Tracked> alias = parent;
    }
    EXPECT_EQ(deaths, 0);
    gc_collect();
    EXPECT_EQ(deaths, 2);  // the child is released by the parent's destructor and collected in the same call
    EXPECT_EQ(gc_pending(), 0);
}

TEST(Reclamation, ARevivedObjectSurvivesCollection) {
    int deaths = 0;
    Tracked* raw = new Tracked(&deaths);
    { Ref<Tracked> first(raw); }
    Ref<Tracked> again(raw);
    gc_collect();
    EXPECT_EQ(deaths, 0);
    again = nullptr;
    gc_collect();
    EXPECT_EQ(deaths, 1);
}

TEST(Arrays, AreZeroedSharedAndOwnTheirLength) {
    Array<int> a(3);
    Array<String> s(2);
    Array<Ref<Object>> refs(2);
    EXPECT_EQ(a.Length(), 3);
    EXPECT_EQ(a[0] + a[1] + a[2], 0);
    EXPECT_TRUE(s[1].Empty());
    EXPECT_FALSE(refs[0]);
    Array<int> b = a;
    b[1] = 7;
    EXPECT_EQ(a[1], 7);
    EXPECT_EQ(Array<int>(-4).Length(), 0);
}

TEST(Arrays, ZeroPagedOnesAreBackedOnlyWhereWrittenAndClearByHandingTheirPagesBack) {
    constexpr int kFloats = 1 << 20;
    const size_t bytes = kFloats * sizeof(float);
    Array<float> a = Array<float>::ZeroPaged(kFloats);
    EXPECT_EQ(BackedPages(a.Data(), bytes), 0);
    a[0] = 1;
    a[5000] = 2;
    a[kFloats - 1] = 3;
    EXPECT_EQ(BackedPages(a.Data(), bytes), 3) << "the three pages written";
    Array<float> b = a;
    EXPECT_EQ(b[5000], 2) << "copies share the pages";

    vo_pages_Clear(a.Data(), bytes);
    EXPECT_EQ(BackedPages(a.Data(), bytes), 0);
    EXPECT_EQ(a[0] + a[5000] + a[kFloats - 1], 0);
    EXPECT_EQ(std::count(a.begin(), a.end(), 0.0f), kFloats);
    EXPECT_EQ(Array<float>::ZeroPaged(0).Length(), 0);
}

TEST(ErrorsDeathTest, RuntimeErrorsReportAndExit) {
    EXPECT_EXIT(voError(String()), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(voError(String("Boom")), testing::ExitedWithCode(255), "\\{\\{~~~~\\}\\}");
    Array<int> a(2);
    EXPECT_EXIT(a[2] = 1, testing::ExitedWithCode(255), "");
}

TEST(ErrorsDeathTest, RuntimeErrorPrintsItsTwoLinesOnStandardOutput) {
    EXPECT_EXIT(
        {
            // Send standard output to standard error so that the matcher can read it.
            dup2(2, 1);
            voError(String("Image frame outside surface"));
        },
        testing::ExitedWithCode(255), "Zembra Runtime Error : Image frame outside surface\n\n");
}

TEST(ErrorsDeathTest, TheMessageIsNarrowedThenWrittenAsUtf8) {
    const char16_t message[] = {u'c', u'a', u'f', 0x00E9, u' ', 0x20AC};
    EXPECT_EXIT(
        {
            dup2(2, 1);
            voError(String(message, 6));
        },
        testing::ExitedWithCode(255), "Zembra Runtime Error : caf\xC3\xA9 \xC2\xAC\n\n");
}

TEST(ErrorsDeathTest, FaultsInManyThreadsAtOnceEachWriteWholeLines) {
    // Each thread's text is one repeated letter; a line made of pieces of two would mix them.
    constexpr int kThreads = 8;
    constexpr size_t kLength = 3000;
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 1);
        close(out[0]);
        std::atomic<int> ready{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&ready, t] {
                std::string text(kLength, static_cast<char>('a' + t));
                ++ready;
                while (ready < kThreads) {
                }
                dbg_error(text.c_str());
            });
        }
        for (auto& thread : threads) thread.join();
        _exit(0);
    }
    close(out[1]);
    std::string output;
    char block[4096];
    for (ssize_t n; (n = read(out[0], block, sizeof block)) > 0;) output.append(block, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 255);
    std::istringstream lines(output);
    const std::string prefix = "Zembra Runtime Error : ";
    int reports = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty()) continue;
        ASSERT_EQ(line.size(), prefix.size() + kLength) << line.substr(0, 80);
        EXPECT_EQ(line.rfind(prefix, 0), 0u);
        EXPECT_EQ(line.find_first_not_of(line[prefix.size()], prefix.size()), std::string::npos);
        ++reports;
    }
    EXPECT_GE(reports, 1);
}

TEST(ErrorsDeathTest, SignalsBecomeRuntimeErrors) {
    vo_install_signal_handlers();
    EXPECT_EXIT(
        {
            dup2(2, 1);
            raise(SIGFPE);
        },
        testing::ExitedWithCode(255), "Zembra Runtime Error : Floating point exception");
}

}  // namespace
