// The real game object on the real desktop host and delegate with no window, no sound card and
// no data folder: a scripted window system, OpenGL calls that draw nothing, pictures made up at
// the size the game asks for, sounds recorded instead of played, the saved state and the player's
// files kept in memory.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/app/glfw_host.h"
#include "framework/app/scripted_window_system.h"
#include "framework/audio/audio_device.h"
#include "framework/graphics/gl.h"
#include "game/my_app.h"

// The desktop host whose data folder holds every picture the game loads, blank, at any detail
// level, and no sound file; the saved state lives in a string.
class VoHeadlessHost : public VoGlfwGame {
public:
    using VoGlfwGame::VoGlfwGame;

    // Every picture location asked for, in order.
    std::vector<std::string> imageRequests;
    // The saved state: read by the game at start, replaced by each save.
    std::string state;
    int saves = 0;
    // Saves of the state fail this way while it is not kNone, leaving the state as it was.
    VoSaveProblem failSaves = VoSaveProblem::kNone;
    // What was written, in order: "state", or a player's file by location.
    std::vector<std::string> writes;
    // How often the game reported the loaded state damaged.
    int damageReports = 0;
    // The player's files (replays) by location, kept in memory like the state.
    std::map<std::string, std::string> files;

    unsigned char* LoadImageData(String location, int* width, int* height, int* depth) override;
    unsigned char* LoadAudioData(String location, int* length, int* channels, int* format, int* hertz) override;
    int SaveState(String text) override;
    String LoadState() override;
    void StateDamaged() override;
    String LoadUserFile(String location) override;
    int SaveUserFile(String location, String text) override;
    // Pictures from the data folder in root (root/data) instead of made-up ones.
    void UseData(const std::string& root);

private:
    bool m_realPictures = false;
};

// The audio device with loading and playing recorded; every sound file exists.
class gxtkRecordingAudio : public gxtkAudio {
public:
    std::vector<std::string> loads;
    // The file of each sound played, in order, with its channel.
    std::vector<std::pair<std::string, int>> plays;
    int musicPauses = 0, musicResumes = 0;
    // The rate and volume last set on any channel: those of the last sound played.
    float lastRate = 1, lastVolume = 1;

    Ref<gxtkSample> LoadSample(String path) override;
    int PlaySample(gxtkSample* sample, int channel, int flags) override;
    void SetRate(int channel, float rate) override;
    void SetVolume(int channel, float volume) override;
    void PauseMusic() override;
    void ResumeMusic() override;
    // How many sounds played whose file name contains file.
    int Plays(const std::string& file) const;

private:
    std::map<gxtkSample*, std::string> m_files;
};

// An OpenGL table that reaches no driver: textures get names, everything else is dropped. It
// stands in for the driver's table from its construction to its destruction.
class VoNullGl : public VoGl {
public:
    VoNullGl() { VoGl::Install(this); }
    ~VoNullGl() override { VoGl::Install(nullptr); }

    void Viewport(int, int, int, int) override {}
    void MatrixMode(unsigned) override {}
    void LoadIdentity() override {}
    void Ortho(double, double, double, double, double, double) override {}
    void EnableClientState(unsigned) override {}
    void VertexPointer(int, unsigned, int, const void*) override {}
    void TexCoordPointer(int, unsigned, int, const void*) override {}
    void ColorPointer(int, unsigned, int, const void*) override {}
    void Enable(unsigned) override {}
    void Disable(unsigned) override {}
    void BlendFunc(unsigned, unsigned) override {}
    void Scissor(int, int, int, int) override {}
    void ClearColor(float, float, float, float) override {}
    void Clear(unsigned) override {}
    void DrawArrays(unsigned, int, int) override {}
    void DrawElements(unsigned, int, unsigned, const void*) override {}
    void ReadPixels(int, int, int, int, unsigned, unsigned, void*) override {}
    void GenTextures(int n, unsigned* textures) override {
        for (int i = 0; i < n; ++i) textures[i] = ++m_lastTexture;
    }
    void DeleteTextures(int, const unsigned*) override {}
    void BindTexture(unsigned, unsigned) override {}
    void TexParameteri(unsigned, unsigned, int) override {}
    void TexImage2D(unsigned, int, int, int, int, int, unsigned, unsigned, const void*) override {}
    void TexSubImage2D(unsigned, int, int, int, int, int, unsigned, unsigned, const void*) override {}
    void PixelStorei(unsigned, int) override {}
    unsigned GetError() override { return vo_gl::NO_ERROR; }

private:
    unsigned m_lastTexture = 0;
};

// How a c_HeadlessGame is shown: on a real window system (initialised, with a display), with the
// pictures of the data folder in dataRoot.
struct c_HeadlessView {
    VoWindowSystem* m_window = nullptr;
    std::string m_dataRoot;
};

// One run of the game as the program starts it, in a 640 by 480 window, over the pieces above;
// with a view, also drawn into a real window with the game's own pictures. Without a sound device
// the game plays the same (its sounds are recorded all the same) on the process's one thread, so
// that the process may fork; OpenAL Soft takes the choice of the first game a process makes.
// The OpenGL table is the owner's: install one (VoNullGl or a recording one) before creating a
// c_HeadlessGame and keep it until the c_HeadlessGame is gone. The framework and the game keep
// their state in globals, so only one c_HeadlessGame may exist at a time.
class c_HeadlessGame {
    // First: the window system the members below are made over.
    std::unique_ptr<VoScriptedWindowSystem> m_ownedWs;

public:
    // Starts the game on this saved state ("" for a first start).
    explicit c_HeadlessGame(const std::string& state = std::string(), const c_HeadlessView* view = nullptr,
                            bool soundDevice = true);
    ~c_HeadlessGame();
    c_HeadlessGame(const c_HeadlessGame&) = delete;
    c_HeadlessGame& operator=(const c_HeadlessGame&) = delete;

    // The host loop's phases: a render, the clock a sixtieth of a second on, one update.
    void p_Render();
    void p_Tick();
    void p_Update();
    // One pass of the loop with nothing polled: render, tick, update.
    void p_Pass();

    VoScriptedWindowSystem& m_ws;
    VoHeadlessHost m_host{&m_ws};
    c_MyApp* m_app = nullptr;
    Ref<gxtkRecordingAudio> m_audio;
};
