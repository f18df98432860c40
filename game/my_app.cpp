// The game object's life: construction, start-up, the screen driver run by every update,
// suspend and resume, the full-screen switch, and the program's voInit and voMain.
#include <cmath>

#include "framework/app/error.h"
#include "framework/app/glfw_host.h"
#include "framework/app/input.h"
#include "framework/audio/sound.h"
#include "framework/net/async_event.h"
#include "game/my_app.h"
#include "game/truncate.h"

namespace {

constexpr int kKeyF1 = 112, kKeyF2 = 113, kKeyF4 = 115, kKeyF11 = 122;
constexpr int kTouchPoints = 10;
constexpr int kFirstTouchCode = 384;
constexpr int kPadButtons = 19;
constexpr int kPadBack = 19;
constexpr int kRunningRate = 60;
constexpr int kSuspendedRate = 5;
constexpr int kTitle = 1, kLevelDone = 2, kInLevel = 10;
constexpr int kLevelEndSound = 96;
constexpr int kOptionsSlideOpen = 30;
constexpr float kCreditsWidth = 140;

// The iCade's characters: the pad entry each letter presses (upper case) or releases.
struct ICadeKey {
    char press, release;
    int entry;
};

constexpr ICadeKey kICadeKeys[] = {
    {'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},  {'H', 'R', 10}, {'J', 'N', 11},
    {'K', 'P', 12}, {'Y', 'T', 13}, {'U', 'F', 14}, {'I', 'M', 15}, {'O', 'G', 16}, {'L', 'V', 17},
};

}  // namespace

int c_MyApp::p_OnCreate() {
    m_fullScreen = 0;
    m_levelSel = 1;
    m_wheelPos = -32;
    if (J_On_Allow == 1) p_CheckIn();
    m_mode = kTitle;
    vo_app_SetUpdateRate(kRunningRate);
    m_startDevW = vo_app_DeviceWidth();
    m_startDevH = vo_app_DeviceHeight();
    p_Reload();
    m_level = 2;
    m_paused = 0;
    m_pauseDir = -1;
    m_pauseY = -64;
    m_titleDrop = -32;
    for (int i = 0; i < 15; ++i) {
        m_badgeShow[i] = 0;
        m_badgeTime[i] = 0;
    }
    for (int i = 0; i < 128; ++i) m_badges[i] = 0;
    for (int i = 0; i < kPadButtons; ++i) m_pad[i] = 0;
    for (int i = 0; i < m_options.Length(); ++i) m_options[i] = 0;
    m_options[5] = 1;
    for (int i = 0; i <= 150; ++i) m_progress[i] = 0;
    p_Load();
    for (int i = 0; i < m_chan.Length(); ++i) m_chan[i] = i;
    return 0;
}

int c_MyApp::p_OnUpdate() {
    // Hot keys.
    m_pad[kPadBack] = vo_input_KeyHit(KEY_BACK);
    if (vo_input_KeyHit(kKeyF1) > 0) DebugMode = 1 - DebugMode;
    if (vo_input_KeyHit(kKeyF2) > 0) m_hideHud = 1 - m_hideHud;
    if (vo_input_KeyHit(kKeyF11) > 0) p_FullscreenFlip();
    // Ending here saves nothing: progress is saved on suspend and at the end of a level.
    if (vo_input_KeyHit(kKeyF4) > 0 || vo_input_KeyHit(KEY_CLOSE) > 0) voError(String());

    vo_asyncevent_UpdateAsyncEvents();

    if (HasMusicStream == 1 && m_musicOn == 1) {
        if (m_paused != 0) {
            vo_audio_PauseMusic();
        } else {
            vo_audio_ResumeMusic();
        }
    }

    int now = vo_app_Millisecs();
    if (now - m_updLast > 0) m_updFps = vo_game_Trunc(1000.0f / static_cast<float>(now - m_updLast));
    m_updFpsAvg = (m_updFps + 9 * m_updFpsAvg) / 10;
    m_updLast = vo_app_Millisecs();

    p_ReadPointer();

    // Held keys come from the controls; with no key counted as held, only the options box
    // claims the input.
    m_keyUsed = 0;
    if (m_optionsOpen == 1) {
        m_keyUsed = 1;
        m_pointerUsed = 1;
    }

    if (m_loadStep == 0) {
        if (m_mode == kLevelDone) {
            p_LoadMenu();
            p_PlaySFX(kLevelEndSound, 1);
            m_mode = kTitle;
        }
        if (m_optionsOpen == 0 && m_optionsSlide > 0) --m_optionsSlide;
        if (m_optionsOpen == 1 && m_optionsSlide < kOptionsSlideOpen) ++m_optionsSlide;
        p_SlideCredits();
    }
    if (m_loadStep > 0) p_Loader();

    if (iCadeControls == 1) p_ReadICade();

    if (DebugMode == 1) {
        p_ResetDraw();
        p_Text(16, jscrh - 16, String(m_renderFps) + String(":") + String(m_scaleX) + String(",") + String(m_scaleY));
    }
    p_ShowBadges();
    return 0;
}

int c_MyApp::p_ReadPointer() {
    const float insetY = vo_app_DeviceWidth() > 0
                             ? overscan * static_cast<float>(vo_app_DeviceHeight()) / static_cast<float>(vo_app_DeviceWidth())
                             : 0;
    m_mouseX = vo_game_Trunc((vo_input_MouseX() - overscan) / m_scaleX);
    m_mouseY = vo_game_Trunc((vo_input_MouseY() - insetY) / m_scaleY);
    m_pointerDown = vo_input_MouseDown(0) ? 1 : 0;
    for (int i = 0; i < kTouchPoints; ++i) {
        m_touchDown[i] = 0;
        m_touchX[i] = kNoArg;
        m_touchY[i] = kNoArg;
        if (vo_input_KeyDown(kFirstTouchCode + i)) {
            m_touchDown[i] = 1;
            m_touchX[i] = vo_game_Trunc((vo_input_TouchX(i) - overscan) / m_scaleX);
            m_touchY[i] = vo_game_Trunc((vo_input_TouchY(i) - insetY) / m_scaleY);
            m_pointerDown = 1;
        }
    }
    if (m_pointerDown == 0) m_pointerUsed = 0;
    return 0;
}

int c_MyApp::p_SlideCredits() {
    if (m_creditsOpen == 0 && m_creditsX > 0) {
        m_creditsX -= m_creditsX * 0.125f;
        if (m_creditsX < 8) m_creditsX = 0;
    }
    if (m_creditsOpen == 1) {
        const float target = jscrw - kCreditsWidth;
        if (m_creditsX < target) {
            m_creditsX -= (m_creditsX - target) * 0.125f;
            if (std::fabs(m_creditsX - target) < 8) m_creditsX = target;
        }
    }
    return 0;
}

int c_MyApp::p_ReadICade() {
    for (;;) {
        int c = vo_input_GetChar();
        m_lastChar = c;
        if (c == 0) break;
        int upper = c >= 'a' && c <= 'z' ? c - 32 : c;
        for (const ICadeKey& key : kICadeKeys) {
            if (upper == key.press) m_pad[key.entry] = 2;
            if (upper == key.release) m_pad[key.entry] = 0;
        }
    }
    return 0;
}

int c_MyApp::p_FullscreenFlip() {
    VoGlfwGame* host = VoGlfwGame::_glfwGame;
    m_fullScreen = 1 - m_fullScreen;
    if (!host) return 0;
    Ref<VoGlfwVideoMode> desktop = host->GetGlfwDesktopMode();
    if (m_fullScreen == 1) {
        host->SetGlfwWindow(desktop->m_width, desktop->m_height, desktop->m_redBits, desktop->m_greenBits,
                            desktop->m_blueBits, 0, 0, 0, true);
    } else {
        host->SetGlfwWindow(640, 480, desktop->m_redBits, desktop->m_greenBits, desktop->m_blueBits, 0, 0, 0, false);
    }
    return 0;
}

int c_MyApp::p_PauseForFocus() {
    if (m_mode < kInLevel) {
        m_paused = 0;
        m_pauseDir = 0;
        m_pauseY = 0;
    } else {
        // A level is left paused with its panel half open; the player closes it.
        m_paused = 1;
        m_pauseDir = 1;
        m_pauseY = vo_game_Trunc(jscrh * 0.5f);
    }
    return 0;
}

int c_MyApp::p_ReleaseInput() {
    vo_input_DisableKeyboard();
    iCadeControls = 0;
    for (int i = 0; i < kPadButtons; ++i) m_pad[i] = 0;
    return 0;
}

int c_MyApp::p_OnSuspend() {
    p_ReleaseInput();
    p_PauseForFocus();
    vo_app_SetUpdateRate(kSuspendedRate);
    p_Save();
    return 0;
}

int c_MyApp::p_OnResume() {
    p_PauseForFocus();
    vo_app_SetUpdateRate(kRunningRate);
    p_ReleaseInput();
    return 0;
}

void voInit() {
    vo_framework_Init();
    vo_game_Init();
}

void voMain() { (new c_MyApp())->m_new(); }
