// The draw queue: every drawing call of an update appends one record, which the render replays;
// the drawing state that records copy, and the backgrounds that start a new queue.
#include <algorithm>

#include "game/my_app.h"

namespace {

using namespace draw;

float Channel255(float factor, float brightness) { return std::clamp(factor * brightness * 255.0f, 0.0f, 255.0f); }

// Writes one record from the current drawing state with its own kind, position, size and
// frame; a full queue drops it. The size is an image's scale, a rectangle's size, an oval's
// radii or a line's end point.
void AppendRecord(c_MyApp& app, float kind, float x, float y, float sizeX, float sizeY, float frame) {
    if (app.m_drawOff != 0 || app.m_drawCount > kLastRecordStart) return;
    float* r = app.m_drawQueue.Data() + app.m_drawCount;
    r[kKind] = kind;
    r[kX] = x;
    r[kY] = y;
    r[kRotation] = app.m_drawRot;
    r[kWidth] = sizeX;
    r[kHeight] = sizeY;
    r[kFrame] = frame;
    r[kAlpha] = app.m_drawAlpha;
    r[kRed] = app.m_drawR;
    r[kGreen] = app.m_drawG;
    r[kBlue] = app.m_drawB;
    r[kBlend] = static_cast<float>(app.m_drawBlend);
    app.m_drawCount += kRecordFloats;
}

}  // namespace

int c_MyApp::p_DrawImg(int slot, float x, float y, float frame) {
    AppendRecord(*this, static_cast<float>(slot), x, y, m_drawSizeX, m_drawSizeY, frame);
    return 0;
}

int c_MyApp::p_Rect(float x, float y, float width, float height) {
    AppendRecord(*this, kRectKind, x, y, width, height, 0);
    return 0;
}

int c_MyApp::p_Oval(float x, float y, float xRadius, float yRadius) {
    AppendRecord(*this, kOvalKind, x, y, xRadius, yRadius, 0);
    return 0;
}

int c_MyApp::p_Line(float x1, float y1, float x2, float y2) {
    AppendRecord(*this, kLineKind, x1, y1, x2, y2, 0);
    return 0;
}

int c_MyApp::p_SetCol(float r, float g, float b, float a) {
    m_drawR = r;
    m_drawG = g;
    m_drawB = b;
    if (a > kNoArg) m_drawAlpha = a;
    return 0;
}

int c_MyApp::p_Ink(int colour, float brightness) {
    const float* f = kPalette[colour >= 1 && colour <= 9 ? colour : 0];
    m_drawR = Channel255(f[0], brightness);
    m_drawG = Channel255(f[1], brightness);
    m_drawB = Channel255(f[2], brightness);
    return 0;
}

int c_MyApp::p_Alpha(float a) {
    m_drawAlpha = a;
    return 0;
}

int c_MyApp::p_SetRot(float angle) {
    m_drawRot = -angle;
    return 0;
}

int c_MyApp::p_SetSize(float sx, float sy) {
    m_drawSizeX = sx;
    m_drawSizeY = sy > kNoArg ? sy : sx;
    return 0;
}

int c_MyApp::p_ResetDraw() {
    m_drawSizeX = 1;
    m_drawSizeY = 1;
    m_drawRot = 0;
    m_drawR = 255;
    m_drawG = 255;
    m_drawB = 255;
    m_drawAlpha = 1;
    m_drawBlend = kNormalBlend;
    return 0;
}

int c_MyApp::p_CLS2D(float r, float g, float b, float a) {
    if (r > kNoArg) {
        m_bgR = r;
        m_bgG = g;
        m_bgB = b;
        m_bgAlpha = a;
    }
    p_ResetDraw();
    m_drawCount = 0;
    return 0;
}

int c_MyApp::p_DoBG(int r, int g, int b, float a) {
    if (r >= kKeepChannel) m_bgTargetR = static_cast<float>(r);
    if (g >= kKeepChannel) m_bgTargetG = static_cast<float>(g);
    if (b >= kKeepChannel) m_bgTargetB = static_cast<float>(b);
    m_bgCurR -= (m_bgCurR - m_bgTargetR) * 0.125f;
    m_bgCurG -= (m_bgCurG - m_bgTargetG) * 0.125f;
    m_bgCurB -= (m_bgCurB - m_bgTargetB) * 0.125f;
    float alpha = a == kBackgroundDefault ? 1.0f : (a < 0 ? 0.0f : std::min(a, 1.0f));
    return p_CLS2D(m_bgCurR, m_bgCurG, m_bgCurB, alpha);
}

String c_MyApp::p_rstr(int value, int digits, const String& pad) {
    String text;
    for (int i = 0; i < digits; ++i) text += pad;
    text += String(value);
    return text.Slice(std::max(0, text.Length() - digits));
}
