// Asset loading: the detail level from the window size, file names per level, and the
// stepwise loader with its loading screen.
#include <algorithm>
#include <cmath>

#include "framework/graphics/graphics_context.h"
#include "game/defs.h"
#include "game/image_sheets.h"
#include "game/my_app.h"

namespace {

constexpr int kMidHandle = 1;

// What one loader step loads: up to two image slots and two sounds (0 for none).
struct LoadStep {
    int images[2];
    int sounds[2];
};

// Steps 1 to 16; the font and the jingle of steps 4 and 5 are handled beside the table.
constexpr LoadStep kLoadSteps[16] = {
    {{image::kIcons, 0}, {sfx::kLevelEnd, 0}},
    {{image::kButtons, 0}, {sfx::kRefusal, 0}},
    {{image::kDpad, 0}, {sfx::kConfirm, 0}},
    {{image::kStudioMark, 0}, {0, 0}},
    {{0, 0}, {sfx::kClick, 0}},
    {{image::kMenu, image::kLogo}, {sfx::kSpare, 0}},
    {{image::kBadges, image::kParticles}, {0, 0}},
    {{image::kCircle, image::kLight}, {0, 0}},
    {{image::kTiles, 0}, {0, 0}},
    {{image::kPenguin, 0}, {0, 0}},
    {{0, 0}, {sfx::kFirstThud, sfx::kFirstThud + 1}},
    {{0, 0}, {sfx::kLastThud, sfx::kFall}},
    {{0, 0}, {sfx::kFirstSkill + skill::kJump, sfx::kFirstSkill + skill::kLeap}},
    {{0, 0}, {sfx::kFirstSkill + skill::kMelt, sfx::kFirstSkill + skill::kBurst}},
    {{0, 0}, {sfx::kPenguinPickup, sfx::kRescued}},
    {{0, 0}, {sfx::kSkillPickup, 0}},
};

// Detail levels start at these window sizes (width or height). The design size itself,
// 640 by 480, draws its pictures one to one.
constexpr int kDetail4MinSize = 1231;
constexpr int kDetail2MinSize = 641;

}  // namespace

int c_MyApp::p_SetDetailLevel() {
    const int size = std::max(vo_app_DeviceWidth(), vo_app_DeviceHeight());
    if (UseHDImages == 0) {
        m_hdLevel = 1;
    } else if (size >= kDetail4MinSize) {
        m_hdLevel = 4;
    } else if (size >= kDetail2MinSize) {
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
    const int cell = image::kFontCell * m_hdLevel;
    m_images[slot] = vo_graphics_LoadImage2(name, cell, cell, image::kFontCells, kMidHandle);
    m_imgInfo[3 * slot] = advance;
    m_imgInfo[3 * slot + 1] = lineHeight;
    m_imgInfo[3 * slot + 2] = image::kFontCells;
    m_curFont = slot;
    return 0;
}

namespace {

void LoadTableImage(c_MyApp& app, int slot) {
    if (const image::Sheet* sheet = image::SheetOf(slot)) {
        app.p_LoadImg(slot, String(sheet->stem), sheet->frameWidth, sheet->frameHeight, sheet->frameCount, kMidHandle);
    }
}

void LoadGameFont(c_MyApp& app) {
    app.p_LoadFont(image::kFont, String(image::kFontStem), image::kFontAdvance, image::kFontLineHeight);
}

}  // namespace

int c_MyApp::p_Reload() {
    m_bgR = m_bgG = m_bgB = 0;
    m_bgAlpha = 1;
    p_SetDetailLevel();
    LoadTableImage(*this, image::kStudioMark);
    LoadGameFont(*this);
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
        if (m_loadStep == 5) LoadGameFont(*this);
        for (int sound : step.sounds) {
            if (sound != 0) p_LoadSFX(sound);
        }
        // The jingle greets the player once per run; reloads after a resize stay silent.
        if (m_loadStep == 4 && m_jinglePlayed == 0) {
            p_PlaySFX(sfx::kLevelEnd, 1);
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
    p_DrawImg(image::kStudioMark, jscrw / 2, jscrh * 0.48f, 0);
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
        m_mode = screen::kTitle;
        p_Reload();
        vo_app_SetUpdateRate(kRunningRate);
    }
    return 0;
}

int c_MyApp::p_BankLoad() { return 0; }
