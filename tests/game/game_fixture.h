// The real game object on the real host and delegate, over the scripted window system (the
// replay library's headless game): OpenGL calls recorded instead of drawn, pictures made up at
// the size the game asks for, sounds recorded instead of played, the saved state kept in memory.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
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
#include "tools/replay/headless_game.h"

namespace game_test {

using GameHost = VoHeadlessHost;
using RecordingAudio = gxtkRecordingAudio;

class GameTest : public testing::Test {
protected:
    void Render() { game.p_Render(); }
    void Update() { game.p_Update(); }
    // One pass of the host loop: a render, then one update a sixtieth of a second later.
    void Pass() { game.p_Pass(); }
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

    // The recording table comes first: it stands in for the driver until the game is torn down.
    RecordingGl gl;
    c_HeadlessGame game;
    FakeWindowSystem& ws = game.m_ws;
    GameHost& host = game.m_host;
    c_MyApp*& app = game.m_app;
    Ref<RecordingAudio>& audio = game.m_audio;
};

}  // namespace game_test
