// The game's application object: all game state, the screen driver, and the methods of every
// part of the game (each part's methods live in a source file of its own).
#pragma once

#include "framework/app/app.h"

class c_MyApp : public c_App {
public:
    int p_OnCreate() override;
    int p_OnSuspend() override;
    int p_OnResume() override;
    int p_OnUpdate() override;
    int p_OnRender() override;

    // --- Screen driver (game/my_app.cpp) ---

    // --- Draw queue and drawing helpers (game/draw_queue.cpp) ---

    // --- Asset loading (game/assets.cpp) ---

    // --- Particles, snow and stars (game/particles.cpp) ---

    // --- Sound effects and music (game/sound.cpp) ---

    // --- Saved progress, badges and highscores (game/saved_progress.cpp) ---

    // --- Online check-in (game/check_in.cpp) ---
};
