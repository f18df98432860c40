// The penguin, drawn from a pose so the sprite frames, pick-ups and title art share one look.
#pragma once

#include "tools/assetgen/painter.h"

namespace assetgen {

struct PenguinPose {
    float tilt = 0;           // degrees about the feet, positive leans forward
    float bob = 0;            // body raised by this many units
    float stretch = 0;        // body taller by this many units
    float backFlipper = 15;   // degrees, 0 hangs down, positive swings back
    float frontFlipper = 15;
    Vec2 backFoot{0, 0};      // offsets from the feet's rest places
    Vec2 frontFoot{0, 0};
    bool beakOpen = false;
    bool eyeHappy = false;    // a closed, smiling eye
};

// Draws a penguin facing right whose feet rest on y = 31 around x = 18 (frame units of 36).
void DrawPenguin(const Painter& p, const PenguinPose& pose);

}  // namespace assetgen
