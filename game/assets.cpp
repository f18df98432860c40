// Asset loading: the image slot table, the detail level from the window size, file names per
// level, and the stepwise loader with its loading screen.
#include <algorithm>
#include <cmath>

#include "framework/graphics/graphics_context.h"
#include "game/my_app.h"

namespace {

struct ImageSlot {
    int slot;
    const char* stem;
    int frameWidth, frameHeight, frameCount;
};

constexpr ImageSlot kImageTable[] = {
    {1, "penA", 36, 36, 64},
    {2, "gfx", 36, 36, 64},
    {80, "BadgesA", 64, 64, 64},
    {85, "common/circle", 256, 256, 4},
    {86, "common/light", 32, 32, 4},
    {93, "common/ZUNOLogo", 256, 256, 1},
    {94, "common/dpad", 32, 32, 16},
    {95, "common/Buttons", 64, 64, 16},
    {96, "parts", 8, 8, 256},
    {97, "common/icons", 32, 32, 16},
    {98, "logo", 256, 128, 1},
    {99, "menu", 256, 256, 4},
};

constexpr int kFontSlot = 90;
constexpr const char* kFontStem = "fonts/shadow_editundo";
constexpr int kFontAdvance = 7;
constexpr int kFontLineHeight = 10;
constexpr int kFontCell = 16;
constexpr int kFontCells = 128;
constexpr int kLogoSlot = 93;
constexpr int kJingle = 96;
constexpr int kMidHandle = 1;

// What one loader step loads: up to two image slots and two sounds (0 for none).
struct LoadStep {
    int images[2];
    int sounds[2];
};

// Steps 1 to 16; the font and the jingle of steps 4 and 5 are handled beside the table.
constexpr LoadStep kLoadSteps[16] = {
    {{97, 0}, {96, 0}},  {{95, 0}, {1, 0}},   {{94, 0}, {98, 0}}, {{93, 0}, {0, 0}},
    {{0, 0}, {99, 0}},   {{99, 98}, {95, 0}}, {{80, 96}, {0, 0}}, {{85, 86}, {0, 0}},
    {{2, 0}, {0, 0}},    {{1, 0}, {0, 0}},    {{0, 0}, {2, 3}},   {{0, 0}, {4, 5}},
    {{0, 0}, {6, 7}},    {{0, 0}, {8, 9}},    {{0, 0}, {10, 11}}, {{0, 0}, {12, 0}},
};

// Detail levels start at these window sizes (width or height). The design size itself,
// 640 by 480, draws its pictures one to one.
constexpr int kLevel4Size = 1231;
constexpr int kLevel2Size = 641;

}  // namespace

int c_MyApp::p_SetDetailLevel() {
    const int size = std::max(vo_app_DeviceWidth(), vo_app_DeviceHeight());
    if (UseHDImages == 0) {
        m_hdLevel = 1;
    } else if (size >= kLevel4Size) {
        m_hdLevel = 4;
    } else if (size >= kLevel2Size) {
        m_hdLevel = 2;
    } else {
        m_hdLevel = 1;
    }
    m_imgScale = 1.0f / static_cast<float>(m_hdLevel);
    return 0;
}

String c_MyApp::p_ImageFile(const String& stem) {
    switch (m_hdLevel) {
        case 2: return stem + String("-hd.png");
        case 4: return stem + String("-hd2.png");
        default: return stem + String(".png");
    }
}

int c_MyApp::p_LoadImg(int slot, const String& stem, int frameWidth, int frameHeight, int frameCount, int flags) {
    String name = p_ImageFile(stem);
    m_images[slot] = nullptr;
    m_images[slot] =
        vo_graphics_LoadImage2(name, frameWidth * m_hdLevel, frameHeight * m_hdLevel, frameCount, flags);
    m_imgInfo[3 * slot] = frameWidth * m_hdLevel;
    m_imgInfo[3 * slot + 1] = frameHeight * m_hdLevel;
    m_imgInfo[3 * slot + 2] = frameCount;
    return 0;
}

int c_MyApp::p_LoadFont(int slot, const String& stem, int advance, int lineHeight) {
    String name = p_ImageFile(stem);
    m_images[slot] = vo_graphics_LoadImage2(name, kFontCell * m_hdLevel, kFontCell * m_hdLevel, kFontCells, kMidHandle);
    m_imgInfo[3 * slot] = advance;
    m_imgInfo[3 * slot + 1] = lineHeight;
    m_imgInfo[3 * slot + 2] = kFontCells;
    m_curFont = slot;
    return 0;
}

namespace {

void LoadTableImage(c_MyApp& app, int slot) {
    for (const ImageSlot& image : kImageTable) {
        if (image.slot == slot) {
            app.p_LoadImg(slot, String(image.stem), image.frameWidth, image.frameHeight, image.frameCount, kMidHandle);
            return;
        }
    }
}

}  // namespace

int c_MyApp::p_Reload() {
    m_bgR = m_bgG = m_bgB = 0;
    m_bgAlpha = 1;
    p_SetDetailLevel();
    LoadTableImage(*this, kLogoSlot);
    p_LoadFont(kFontSlot, String(kFontStem), kFontAdvance, kFontLineHeight);
    m_loadStep = 1;
    return 0;
}

int c_MyApp::p_Loader() {
    p_SetDetailLevel();
    if (m_loadStep >= 1 && m_loadStep < kLastLoadStep) {
        const LoadStep& step = kLoadSteps[m_loadStep - 1];
        for (int slot : step.images) {
            if (slot != 0) LoadTableImage(*this, slot);
        }
        if (m_loadStep == 5) p_LoadFont(kFontSlot, String(kFontStem), kFontAdvance, kFontLineHeight);
        for (int sound : step.sounds) {
            if (sound != 0) p_LoadSFX(sound);
        }
        // The jingle greets the player once per run; reloads after a resize stay silent.
        if (m_loadStep == 4 && m_jinglePlayed == 0) {
            p_PlaySFX(kJingle, 1);
            m_jinglePlayed = 1;
        }
        ++m_loadStep;
    } else {
        m_loadStep = 0;
    }
    p_WaitStart(1);
    return 0;
}

namespace {

// One ring of the spinner: eleven dots fading in along the ring.
void SpinnerRing(c_MyApp& app, float angle, float radius, float dotRadius) {
    for (int k = 0; k <= 10; ++k) {
        float a = (angle + static_cast<float>(4 * k)) * D2R;
        app.p_Alpha(static_cast<float>(k) / 10);
        app.p_Oval(jscrw / 2 + std::sin(a) * radius, jscrh / 2 - std::cos(a) * radius, dotRadius, dotRadius);
    }
}

}  // namespace

int c_MyApp::p_WaitStart(int mode) {
    m_bgTargetR = m_bgTargetG = m_bgTargetB = 0;
    m_bgCurR *= 0.875f;
    m_bgCurG *= 0.875f;
    m_bgCurB *= 0.875f;
    p_CLS2D(m_bgCurR, m_bgCurG, m_bgCurB, 1);

    m_spinRadius = static_cast<int>(std::min(jscrw, jscrh));
    m_spinAngle += 3;
    const float angle = static_cast<float>(m_spinAngle);
    const float radius = static_cast<float>(m_spinRadius);
    if (mode == 1) {
        p_SetCol(0, 125, 255);
        SpinnerRing(*this, angle, radius * 0.45f, 16);
    }
    p_SetSize(2);
    p_SetCol(255, 255, 255, 1);
    p_DrawImg(kLogoSlot, jscrw / 2, jscrh * 0.48f, 0);
    p_ResetDraw();
    if (mode == 1) {
        p_SetCol(255, 125, 0);
        SpinnerRing(*this, angle + 120, radius * 0.4f, 12);
        SpinnerRing(*this, angle + 240, radius * 0.35f, 8);
    }
    static const String kLoading("Loading...");
    p_SetCol(255, 255, 255, 1);
    p_SetSize(1);
    p_Text(jscrw / 2, jscrh - 32, kLoading, 1, 1, 0);
    if (mode == 0) {
        m_pointerUsed = 1;
        m_mode = 1;
        p_Reload();
        vo_app_SetUpdateRate(60);
    }
    return 0;
}

int c_MyApp::p_BankLoad() { return 0; }
