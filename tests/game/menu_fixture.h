// The panels driven as a player drives them: keys pressed and let go over whole updates, the
// pointer pressed, dragged and released, and the text of an update read back from its glyphs.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "game_fixture.h"

namespace game_test {

namespace key {
constexpr int kEnter = 13, kEscape = 27, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
}  // namespace key

class MenuTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        FinishLoading();
        // The title's logo has dropped in.
        Updates(40);
    }
    void Updates(int n) {
        for (int i = 0; i < n; ++i) Update();
    }
    void Hold(int code) { host.KeyEvent(c_VoGameEvent::KeyDown, code); }
    void Release(int code) { host.KeyEvent(c_VoGameEvent::KeyUp, code); }
    // A key held over one update and let go over the next, as a quick press reaches the game.
    void Press(int code) {
        Hold(code);
        Update();
        Release(code);
        Update();
    }
    void PointerDown(float x, float y) { host.MouseEvent(c_VoGameEvent::MouseDown, 0, x, y); }
    void PointerTo(float x, float y) { host.MouseEvent(c_VoGameEvent::MouseMove, -1, x, y); }
    void PointerUp() { host.MouseEvent(c_VoGameEvent::MouseUp, 0, static_cast<float>(app->m_mouseX), static_cast<float>(app->m_mouseY)); }
    void Click(float x, float y) {
        PointerDown(x, y);
        Update();
        PointerUp();
        Update();
    }
    int Plays(int sound) const {
        char name[16];
        std::snprintf(name, sizeof name, "sfx/%03d.wav", sound);
        return audio->Plays(name);
    }

    // The text of this update's drawing between two x positions: each row of glyphs from the
    // top with its y, read without its spaces.
    std::vector<std::pair<float, std::string>> Rows(float left = -1e9f, float right = 1e9f) const {
        std::map<float, std::vector<std::pair<float, char>>> glyphs;
        for (const auto& image : Images()) {
            if (image[0] != static_cast<float>(app->m_curFont) || image[1] < left || image[1] >= right) continue;
            glyphs[image[2]].push_back({image[1], static_cast<char>(image[3] + 32)});
        }
        std::vector<std::pair<float, std::string>> rows;
        for (auto& [y, row] : glyphs) {
            std::sort(row.begin(), row.end());
            std::string line;
            for (const auto& glyph : row) line += glyph.second;
            rows.push_back({y, line});
        }
        return rows;
    }
    std::vector<std::string> Lines(float left = -1e9f, float right = 1e9f) const {
        std::vector<std::string> lines;
        for (const auto& row : Rows(left, right)) lines.push_back(row.second);
        return lines;
    }
    // The y of the first row holding the text, or NaN.
    float RowOf(const std::string& text, float left = -1e9f, float right = 1e9f) const {
        for (const auto& row : Rows(left, right)) {
            if (row.second.find(text) != std::string::npos) return row.first;
        }
        return std::nanf("");
    }
    bool Shows(const std::string& text, float left = -1e9f, float right = 1e9f) const {
        return !std::isnan(RowOf(text, left, right));
    }
};

}  // namespace game_test
