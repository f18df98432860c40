// The game's letter shapes: every printable character as strokes on a small grid (x 0..6,
// y 0..8, baseline at y 6), so one design can be drawn crisply at any pixel size.
#pragma once

#include <string_view>

#include "tools/assetgen/painter.h"

namespace assetgen {

// Strokes of a character as pairs of digits "xy", strokes separated by spaces; empty when
// the character has no shape (the space, control codes).
std::string_view GlyphStrokes(int code);

// Width of the character's shape in grid columns (0 for the space).
int GlyphColumns(int code);

// Draws one character with its grid point (0, 0) at `origin`, `unit` design units per grid
// step and strokes `unit` wide. Grid points land on pixel centres when origin is at a
// pixel centre and unit is whole, which keeps upright strokes sharp.
void DrawGlyph(const Painter& p, Vec2 origin, float unit, int code, Rgba colour, float strokeScale = 1.0f);

// A line of text from `origin`, advancing each character by its width plus `gap` columns.
// Returns the width drawn, in design units.
float DrawText(const Painter& p, Vec2 origin, float unit, std::string_view text, Rgba colour,
               float gap = 2.0f, float strokeScale = 1.0f);
float TextWidth(float unit, std::string_view text, float gap = 2.0f);

}  // namespace assetgen
