// Shared pieces of the audio tests: WAV bytes, a scratch folder, a host for loading, and
// OpenAL Soft on its wave-file backend (no sound card needed).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "framework/app/glfw_host.h"
#include "framework/audio/audio_device.h"
#include "support/fake_window_system.h"

namespace audio_test {

// Sources OpenAL Soft lets one context have in these tests.
constexpr int kSourceLimit = 6;

inline std::string Le16(int v) { return {static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff)}; }
inline std::string Le32(uint32_t v) { return Le16(static_cast<int>(v & 0xffff)) + Le16(static_cast<int>(v >> 16)); }
inline std::string Chunk(const std::string& tag, const std::string& content) {
    return tag + Le32(static_cast<uint32_t>(content.size())) + content;
}
inline std::string Fmt(int audioFormat, int channels, int rate, int bits, const std::string& extra = "") {
    int block = channels * bits / 8;
    return Chunk("fmt ", Le16(audioFormat) + Le16(channels) + Le32(static_cast<uint32_t>(rate)) +
                             Le32(static_cast<uint32_t>(rate * block)) + Le16(block) + Le16(bits) + extra);
}
inline std::string Riff(const std::string& chunks) {
    return "RIFF" + Le32(static_cast<uint32_t>(chunks.size() + 4)) + "WAVE" + chunks;
}

// A sine tone at half volume as a 16-bit mono 44100 Hz WAV file.
inline std::string ToneWav(double seconds, double frequency) {
    std::string pcm;
    for (int i = 0; i < static_cast<int>(seconds * 44100); ++i) {
        pcm += Le16(static_cast<int>(std::lround(16383.0 * std::sin(2.0 * M_PI * frequency * i / 44100))) & 0xffff);
    }
    return Riff(Fmt(1, 1, 44100, 16) + Chunk("data", pcm));
}

// A folder of this process for the files the tests write, removed at exit.
inline const std::string& ScratchDir() {
    static char name[] = "/tmp/floeward-audio-XXXXXX";
    static const std::string dir = [] {
        if (!mkdtemp(name)) std::abort();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(name, ignored);
        });
        return std::string(name);
    }();
    return dir;
}

inline std::string WriteFile(const std::string& name, const std::string& bytes) {
    std::string path = ScratchDir() + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// The host whose LoadAudioData the device uses; it lives for the process.
inline VoGlfwGame& Host() {
    static FakeWindowSystem windowSystem;
    static VoGlfwGame host(&windowSystem);
    VoGame::_game = &host;
    return host;
}

// Where the wave backend records what the device plays.
inline std::string CapturePath() { return ScratchDir() + "/capture.wav"; }

// OpenAL Soft reads its configuration once per process, so every device test shares this one.
inline void UseWaveBackend() {
    static const bool done = [] {
        std::string conf = WriteFile("alsoft.conf", "[general]\ndrivers = wave\nsources = " +
                                                        std::to_string(kSourceLimit) +
                                                        "\nchannels = stereo\nsample-type = int16\nfrequency = 44100\n"
                                                        "hrtf = false\ndither = false\n[wave]\nfile = " +
                                                        CapturePath() + "\n");
        unsetenv("ALSOFT_DRIVERS");
        return setenv("ALSOFT_CONF", conf.c_str(), 1) == 0;
    }();
    ASSERT_TRUE(done);
}

template <class F>
bool WaitUntil(F condition) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

inline ALint SourceState(ALuint source) {
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

// A device on the wave backend, closed (which finishes its recording) at the end of the test.
class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseWaveBackend();
        Host();
        device = New<gxtkAudio>();
        ASSERT_NE(device->m_alcDevice, nullptr);
    }
    void TearDown() override { CloseDevice(); }
    void CloseDevice() {
        device = nullptr;
        gc_collect();
    }

    Ref<gxtkSample> LoadTone(double seconds, double frequency = 440.0) {
        static int count = 0;
        std::string path = WriteFile("tone" + std::to_string(++count) + ".wav", ToneWav(seconds, frequency));
        Ref<gxtkSample> sample = device->LoadSample(String(path.c_str()));
        EXPECT_TRUE(sample);
        return sample;
    }
    ALuint SourceOf(int channel) { return device->m_channels[channel].m_source; }
    bool Ended(int channel) {
        return WaitUntil([&] { return SourceState(SourceOf(channel)) == AL_STOPPED; });
    }

    Ref<gxtkAudio> device;
};

}  // namespace audio_test
