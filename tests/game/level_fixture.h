// A level in play for the penguin and skill tests: either a stored level started as the title
// starts it, or an empty grid with blocks and penguins placed by hand.
#pragma once

#include <cmath>
#include <string>

#include "framework/app/input.h"
#include "game_fixture.h"

namespace game_test {

class LevelTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        FinishLoading();
    }

    // An empty level in play: no tiles, no penguins, the exit out of reach, the full timer and
    // one of each skill, so that an update runs one step.
    void Blank() {
        app->p_FlushGame();
        app->m_level = 0;
        app->m_mode = screen::kInLevel;
        app->m_tapSkill = -1;
        app->m_player[play::kTimer] = play::kLevelSteps;
        app->m_player[play::kExitX] = -10;
        app->m_player[play::kExitY] = -10;
        Counters(1);
    }
    void Counters(float n) {
        for (int s = 0; s < skill::kCount; ++s) app->m_player[play::kCounters + s] = n;
    }
    // Blocks along row y from column x0 to x1.
    void Blocks(int x0, int x1, int y, int code = tile::kFirstBlock) {
        for (int x = x0; x <= x1; ++x) app->p_PutTile(static_cast<float>(x), static_cast<float>(y), code);
    }
    int Tile(int x, int y) const { return static_cast<int>(app->m_grid[(y * grid::kRowCells + x) * grid::kCellFloats]); }
    // A penguin walking from the centre of cell (x, y); its record.
    int Walker(int x, int y, int dir) {
        int r = pen::kRecords - 1;
        while (r > 0 && Pen(r, pen::kInPlay) != 0) --r;
        app->p_AddPen(static_cast<float>(x), static_cast<float>(y), dir, 0, 0);
        Pen(r, pen::kState) = pen::kWalking;
        return r;
    }
    float& Pen(int r, int field) { return app->m_pen[r * pen::kFloats + field]; }
    float X(int r) { return Pen(r, pen::kCellX) + Pen(r, pen::kOffsetX); }
    float Y(int r) { return Pen(r, pen::kCellY) + Pen(r, pen::kOffsetY); }
    int State(int r) { return static_cast<int>(Pen(r, pen::kState)); }
    void Select(int r, int s = skill::kJump) {
        app->m_player[play::kSelected] = static_cast<float>(r);
        app->m_player[play::kSkill] = static_cast<float>(s);
    }

    // Level updates, as the screen driver runs them while a level is on screen.
    void Play(int updates = 1) {
        for (int i = 0; i < updates; ++i) app->p_Game();
    }
    void Hold(int code) { host.KeyEvent(c_VoGameEvent::KeyDown, code); }
    void Release(int code) { host.KeyEvent(c_VoGameEvent::KeyUp, code); }
    // One update with the use key held, then released.
    void UseNow() {
        Hold('J');
        Play();
        Release('J');
    }
    int Thuds() const { return audio->Plays("sfx/002.wav") + audio->Plays("sfx/003.wav") + audio->Plays("sfx/004.wav"); }
    int Plays(int sound) const {
        char name[16];
        std::snprintf(name, sizeof name, "sfx/%03d.wav", sound);
        return audio->Plays(name);
    }
    // Image records of one slot in this update's drawing.
    int Drawn(int slot) const {
        int n = 0;
        for (const auto& image : Images()) n += image[0] == static_cast<float>(slot);
        return n;
    }
};

}  // namespace game_test
