// What the device really plays: OpenAL Soft's wave backend records the mix to a file, which
// must hold the tone that was played, at its pitch and length, or silence at volume 0.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "audio_test_support.h"

namespace {

using namespace audio_test;

// The left channel of the recorded 16-bit stereo mix.
std::vector<int> RecordedLeft(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int> left;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        uint32_t size = static_cast<unsigned char>(bytes[at + 4]) | (static_cast<unsigned char>(bytes[at + 5]) << 8) |
                        (static_cast<unsigned char>(bytes[at + 6]) << 16) |
                        (static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 7])) << 24);
        if (bytes.compare(at, 4, "data") == 0) {
            for (size_t i = at + 8; i + 4 <= bytes.size() && i < at + 8 + size; i += 4) {
                left.push_back(static_cast<int16_t>(static_cast<unsigned char>(bytes[i]) |
                                                    (static_cast<unsigned char>(bytes[i + 1]) << 8)));
            }
            break;
        }
        at += 8 + size;
    }
    return left;
}

struct CaptureCase {
    const char* name;
    float volume;
    bool audible;
};

void PrintTo(const CaptureCase& c, std::ostream* out) { *out << c.name; }

class Capture : public DeviceTest, public ::testing::WithParamInterface<CaptureCase> {};

TEST_P(Capture, TheRecordingHoldsWhatWasPlayed) {
    constexpr double kSeconds = 0.4;
    Ref<gxtkSample> tone = LoadTone(kSeconds, 440.0);
    device->SetVolume(0, GetParam().volume);
    ASSERT_EQ(device->PlaySample(tone.Get(), 0, 0), 0);
    ASSERT_TRUE(WaitUntil([&] { return device->ChannelState(0) == 0; }));
    // Let the mixer write out its last periods before the file is closed.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    tone = nullptr;
    CloseDevice();

    std::vector<int> left = RecordedLeft(CapturePath());
    ASSERT_GT(left.size(), static_cast<size_t>(kSeconds * 44100));
    size_t first = left.size(), last = 0;
    for (size_t i = 0; i < left.size(); ++i) {
        if (std::abs(left[i]) <= 1000) continue;
        first = std::min(first, i);
        last = i;
    }
    if (!GetParam().audible) {
        int loudest = 0;
        for (int v : left) loudest = std::max(loudest, std::abs(v));
        EXPECT_EQ(loudest, 0);
        return;
    }
    ASSERT_LT(first, last);
    double duration = static_cast<double>(last - first) / 44100;
    EXPECT_NEAR(duration, kSeconds, 0.02);
    int crossings = 0;
    for (size_t i = first + 1; i <= last; ++i) crossings += (left[i - 1] < 0) != (left[i] < 0);
    EXPECT_NEAR(crossings / (2 * duration), 440.0, 5.0);
}

INSTANTIATE_TEST_SUITE_P(Volumes, Capture,
                         ::testing::Values(CaptureCase{"FullVolume", 1.0f, true}, CaptureCase{"Muted", 0.0f, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
