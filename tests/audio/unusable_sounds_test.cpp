// Sounds the game cannot use: each file is named in one line and the game goes on silent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "audio_test_support.h"

namespace {

using namespace audio_test;

std::string LoadAndSay(const std::string& path) {
    int length = 0, channels = 0, format = 0, hertz = 0;
    testing::internal::CaptureStderr();
    unsigned char* block = Host().LoadAudioData(String(path), &length, &channels, &format, &hertz);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(block, nullptr) << path;
    std::free(block);
    return said;
}

TEST(UnusableSounds, EachFileThatCannotBeLoadedIsNamedInOneLine) {
    std::string said = LoadAndSay("/nonexistent/sfx/001.wav");
    EXPECT_NE(said.find("/nonexistent/sfx/001.wav cannot be opened"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);

    for (const char* name : {"garbage.wav", "garbage.ogg", "tune.mid"}) {
        std::string path = WriteFile(name, std::string(300, '\x5A'));
        said = LoadAndSay(path);
        EXPECT_NE(said.find(path + " cannot be decoded"), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
    std::string cut = ToneWav(0.5, 440);
    std::string path = WriteFile("cut.wav", cut.substr(0, 30));
    EXPECT_NE(LoadAndSay(path).find("cut.wav cannot be decoded"), std::string::npos);
}

}  // namespace
