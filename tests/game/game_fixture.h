// The real game object on the real host and delegate, over the scripted window system: OpenGL
// calls recorded instead of drawn, pictures made up at the size the game asks for, sounds
// recorded instead of played, and the saved state kept in memory.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <array>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "framework/app/game_delegate.h"
#include "framework/app/glfw_host.h"
#include "framework/audio/sound.h"
#include "framework/graphics/graphics_context.h"
#include "game/my_app.h"
#include "graphics/recording_gl.h"
#include "support/fake_window_system.h"

namespace game_test {

// A host whose data folder holds every picture the game loads, blank, at any detail level.
class GameHost : public VoGlfwGame {
public:
    using VoGlfwGame::VoGlfwGame;

    std::vector<std::string> imageRequests;
    std::string state;
    int saves = 0;

    unsigned char* LoadImageData(String location, int* width, int* height, int* depth) override {
        std::string path = location.ToUtf8();
        imageRequests.push_back(path);
        const std::string prefix = "zembra://data/";
        if (path.rfind(prefix, 0) != 0 || path.size() < prefix.size() + 4) return nullptr;
        std::string name = path.substr(prefix.size(), path.size() - prefix.size() - 4);
        int level = 1;
        for (auto [suffix, l] : {std::pair<std::string, int>{"-hd2", 4}, {"-hd", 2}}) {
            if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
                name.resize(name.size() - suffix.size());
                level = l;
                break;
            }
        }
        static const std::map<std::string, std::array<int, 3>> kSheets = {
            {"penA", {36, 36, 64}},           {"gfx", {36, 36, 64}},           {"BadgesA", {64, 64, 64}},
            {"common/circle", {256, 256, 4}}, {"common/light", {32, 32, 4}},   {"common/ZUNOLogo", {256, 256, 1}},
            {"common/dpad", {32, 32, 16}},    {"common/Buttons", {64, 64, 16}}, {"parts", {8, 8, 256}},
            {"common/icons", {32, 32, 16}},   {"logo", {256, 128, 1}},         {"menu", {256, 256, 4}},
            {"fonts/shadow_editundo", {16, 16, 128}},
        };
        auto sheet = kSheets.find(name);
        if (sheet == kSheets.end()) return nullptr;
        auto [w, h, count] = sheet->second;
        int columns = 1;
        while (columns * columns < count) ++columns;
        int rows = (count + columns - 1) / columns;
        *width = columns * w * level;
        *height = rows * h * level;
        *depth = 1;
        return static_cast<unsigned char*>(std::calloc(static_cast<size_t>(*width) * *height, 1));
    }
    int SaveState(String text) override {
        state = text.ToUtf8();
        ++saves;
        return 0;
    }
    String LoadState() override { return String(state); }
};

// The audio device with loading and playing recorded; every sound file exists.
class RecordingAudio : public gxtkAudio {
public:
    std::vector<std::string> loads;
    // The file of each sound played, in order, with its channel.
    std::vector<std::pair<std::string, int>> plays;
    int musicPauses = 0, musicResumes = 0;

    Ref<gxtkSample> LoadSample(String path) override {
        auto sample = New<gxtkSample>();
        m_files[sample.Get()] = path.ToUtf8();
        loads.push_back(path.ToUtf8());
        return sample;
    }
    int PlaySample(gxtkSample* sample, int channel, int) override {
        plays.emplace_back(m_files[sample], channel);
        return 0;
    }
    void PauseMusic() override { ++musicPauses; }
    void ResumeMusic() override { ++musicResumes; }
    int Plays(const std::string& file) const {
        int n = 0;
        for (const auto& play : plays) n += play.first.find(file) != std::string::npos;
        return n;
    }

private:
    std::map<gxtkSample*, std::string> m_files;
};

class GameTest : public testing::Test {
protected:
    void SetUp() override {
        // OpenAL Soft's silent backend: the delegate's own device opens without a sound card.
        setenv("ALSOFT_DRIVERS", "null", 1);
        vo_framework_Init();
        vo_game_Init();
        app = new c_MyApp();
        app->m_new();
        host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
        host.StartGame();
        audio = New<RecordingAudio>();
        vo_app__delegate->m_audio = audio;
        vo_audio_SetAudioDevice(audio);
    }
    void TearDown() override {
        vo_framework_Init();
        vo_audio_SetAudioDevice(nullptr);
        vo_graphics_SetGraphicsDevice(nullptr);
        vo_input_SetInputDevice(nullptr);
        audio = nullptr;
        gc_collect();
    }

    void Render() { host.RenderGame(); }
    void Update() { host.UpdateGame(); }
    // One pass of the host loop: a render, then one update a sixtieth of a second later.
    void Pass() {
        Render();
        ws.now += 1.0 / 60;
        Update();
    }
    // Runs passes until the loader is done; the number of updates it took.
    int FinishLoading() {
        int updates = 0;
        while (app->m_loadStep != 0 && updates < 100) {
            Pass();
            ++updates;
        }
        return updates;
    }
    void Resize(int width, int height) {
        ws.width = width;
        ws.height = height;
    }
    void Key(int code) {
        host.KeyEvent(c_VoGameEvent::KeyDown, code);
        host.KeyEvent(c_VoGameEvent::KeyUp, code);
    }
    // The records of the draw queue as (slot, x, y, frame).
    std::vector<std::array<float, 4>> Images() const {
        std::vector<std::array<float, 4>> out;
        for (int at = 0; at + 15 <= app->m_drawCount; at += 15) {
            const float* r = app->m_drawQueue.Data() + at;
            if (r[0] > -1) out.push_back({r[0], r[1], r[2], r[6]});
        }
        return out;
    }

    FakeWindowSystem ws;
    RecordingGl gl;
    GameHost host{&ws};
    c_MyApp* app = nullptr;
    Ref<RecordingAudio> audio;
};

}  // namespace game_test
