// The game's text routine: measuring, alignment and rotation, kerning, the "¬" key icons, the
// long dash and the two-character line-break escape, each glyph recorded as an image command.
#include <cmath>

#include "framework/app/app.h"
#include "framework/graphics/graphics_context.h"
#include "game/my_app.h"

namespace {

constexpr int kLongDash = 0x2014;  // "—"
constexpr int kFirstGlyph = 32;
constexpr int kGlyphFrames = 128;
// The pen step of a "¬" icon while measuring.
constexpr int kIconMeasureKerning = 2;
// The second icon set: a pad's controls instead of key caps.
constexpr int kSecondIconSet = 16;
constexpr int kNoBlink = -1;

// Extra advance by glyph frame (character code − 32).
constexpr auto kKerning = [] {
    struct Table {
        int k[kGlyphFrames] = {};
    } table;
    auto set = [&](const char* chars, int k) {
        for (; *chars; ++chars) table.k[*chars - kFirstGlyph] = k;
    };
    set("wm", 2);
    set("WM", 1);
    set("ifl", -3);
    set("jskrztn", -1);
    return table;
}();

int Kerning(int frame) { return frame >= 0 && frame < kGlyphFrames ? kKerning.k[frame] : 0; }

struct Icon {
    int frame;
    int bonus;
    int blinkFrame;
};

Icon IconFor(int letter) {
    switch (letter) {
        case 'J': return {96, 4, 109};
        case 'K': return {97, 4, 109};
        case 'L': return {98, 4, 109};
        case 'I': return {99, 4, 109};
        case 'U': return {100, 6, 110};
        case 'O': return {101, 6, 110};
        case 'Q': return {102, 4, kNoBlink};
        case 'E': return {103, 4, kNoBlink};
        case 'F': return {104, 4, kNoBlink};
        case 'W': return {105, 4, 104};
        case 'S': return {106, 4, 104};
        case 'A': return {107, 4, 104};
        case 'D': return {108, 4, 104};
        default: return {letter, 4, kNoBlink};
    }
}

bool IsLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool Drawable(int frame) { return frame >= 1 && frame < kGlyphFrames; }

}  // namespace

int c_MyApp::p_Text(float x, float y, const String& text, float alignX, float alignY, int fontOffset) {
    return p_Text(x, y, text.View(), alignX, alignY, fontOffset);
}

int c_MyApp::p_Text(float x, float y, std::u16string_view text, float alignX, float alignY, int fontOffset) {
    if (m_drawOff != 0) return 0;
    const float advance = static_cast<float>(m_imgInfo[3 * m_curFont]);
    const float lineHeight = static_cast<float>(m_imgInfo[3 * m_curFont + 1]) * m_drawSizeY;
    const int slot = fontOffset + m_curFont;
    // The text is read with one leading space, without building the longer string; past its
    // end it reads 0.
    const int length = static_cast<int>(text.size()) + 1;
    auto at = [&](int i) -> int { return i == 0 ? ' ' : i < length ? text[static_cast<size_t>(i - 1)] : 0; };

    float width = 0;
    for (int i = 0; i < length - 1; ++i) {
        int c = at(i);
        int k = Kerning(c - kFirstGlyph);
        if (c == glyph::kIconMark) {
            k = kIconMeasureKerning;
            ++i;
        }
        width = std::trunc(width + (advance + static_cast<float>(k)) * m_drawSizeX);
    }

    const float theta = -m_drawRot * D2R;
    const float dx = std::cos(theta), dy = std::sin(theta);
    const float nx = -dy, ny = dx;
    const float back = width * alignX / 2;
    const float up = lineHeight * (alignY - 1) / 2;
    const float startX = x - dx * back - nx * up;
    const float startY = y - dy * back - ny * up;
    float penX = startX, penY = startY;
    int lines = 0;

    for (int i = 0; i < length;) {
        int c = at(i);
        int frame;
        int k;
        if (c == glyph::kIconMark && IsLetter(at(i + 1))) {
            Icon icon = IconFor(at(i + 1));
            frame = icon.frame;
            bool blinkOn = m_inputMode == inputmode::kKeys && vo_app_Millisecs() % 500 < 200;
            if (blinkOn && icon.blinkFrame != kNoBlink) {
                frame = icon.blinkFrame;
            } else if (m_inputMode == inputmode::kPad) {
                frame += kSecondIconSet;
            }
            k = Kerning(frame) != 0 ? Kerning(frame) : icon.bonus;
            i += 2;
        } else if (c == '\\' && at(i + 1) == 'n') {
            ++lines;
            penX = startX + nx * lineHeight * static_cast<float>(lines) + dx * advance * m_drawSizeX;
            penY = startY + ny * lineHeight * static_cast<float>(lines) + dy * advance * m_drawSizeX;
            i += 2;
            continue;
        } else {
            ++i;
            if (c == 0) continue;
            frame = c == kLongDash ? image::kFontDashFrame : c - kFirstGlyph;
            k = Kerning(frame);
        }
        if (Drawable(frame)) p_DrawImg(slot, penX, penY, static_cast<float>(frame));
        float step = (advance + static_cast<float>(k)) * m_drawSizeX;
        penX += dx * step;
        penY += dy * step;
    }
    return 0;
}
