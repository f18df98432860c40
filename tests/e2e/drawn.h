// What the game draws, read from the draw queue of the replay library's headless game, and
// whether a picture of the real window shows it: every image record, glyphs of text included,
// compared pixel by pixel with the generated picture sheet it comes from.
#pragma once

#include <string>
#include <vector>

#include "e2e/real_window.h"
#include "game/my_app.h"

// One image record of the queue, placed in window pixels.
struct Drawn {
    int slot = 0, frame = 0;
    // The handle's place, and window pixels per pixel of the sheet.
    float x = 0, y = 0, scaleX = 1, scaleY = 1;
    float alpha = 1;
    // The colour the picture is multiplied by, 0 to 255.
    float red = 255, green = 255, blue = 255;
};

// A run of glyphs of the game font along one line at one size, and the characters they show.
struct TextLine {
    std::string text;
    std::vector<Drawn> glyphs;
};

// One update's drawing.
struct Scene {
    std::vector<Drawn> images;
    // The sheets' detail level: which of the generated files the real game draws from.
    int detail = 1;

    std::vector<Drawn> OfSlot(int slot) const;
    std::vector<TextLine> Lines() const;
    // The first line that reads exactly so; empty glyphs when there is none.
    TextLine Line(const std::string& text) const;
};

// The drawing of the headless game's last update.
Scene CaptureScene(const c_MyApp& app);

// How far the picture is from showing the record drawn with this frame of its sheet (its own
// frame by default): the mean difference per colour channel, 0 to 255, over the window pixels
// that show opaque pixels of the frame. −1 when none of them is in the picture.
double Mismatch(const Picture& picture, const Drawn& drawn, int detail, int frame = -1);
// The largest mismatch of the records, or −1 when there are none or one is outside the picture.
double WorstMismatch(const Picture& picture, const std::vector<Drawn>& drawn, int detail);

// Perceived brightness of a colour, 0 to 255.
inline float Luminance(float red, float green, float blue) { return 0.299f * red + 0.587f * green + 0.114f * blue; }

// The mean x, in window pixels, of the record's opaque pixels darker than `luminance` (0 to 255)
// whose window rows lie in [top, bottom); NaN when there are none.
float DarkCentreX(const Drawn& drawn, int detail, int luminance, float top, float bottom);
