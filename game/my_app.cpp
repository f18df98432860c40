// The game object's life: construction, start-up, the screen driver run by every update,
// suspend and resume, the full-screen switch, and the program's voInit and voMain.
#include <cmath>

#include "framework/app/glfw_host.h"
#include "framework/app/input.h"
#include "framework/audio/sound.h"
#include "framework/graphics/surface.h"
#include "framework/net/async_event.h"
#include "game/menu_layout.h"
#include "game/my_app.h"
#include "game/truncate.h"

namespace {

constexpr int kKeyF1 = hotkey::kDebug, kKeyF2 = hotkey::kHud, kKeyF4 = hotkey::kQuit, kKeyF11 = hotkey::kFullScreen;
using menu_layout::kOptionsSlideOpen;
// The credits panel closes to the title's strip.
constexpr float kCreditsWidth = menu_layout::kStripWidth;
// The window size a full-screen switch returns to.
constexpr int kWindowWidth = 640, kWindowHeight = 480;
// The level the title shows at start-up.
constexpr int kStartLevel = 2;
constexpr int kClearedBadgeFlags = 128;

}  // namespace

int c_MyApp::p_OnCreate() {
    m_fullScreen = 0;
    m_levelSel = 1;
    m_wheelPos = -progress::kWheelStep;
    if (J_On_Allow == 1) p_CheckIn();
    m_mode = screen::kTitle;
    vo_app_SetUpdateRate(kRunningRate);
    m_startDevW = vo_app_DeviceWidth();
    m_startDevH = vo_app_DeviceHeight();
    p_Reload();
    m_level = kStartLevel;
    m_paused = 0;
    m_pauseDir = -1;
    m_pauseY = screen::kPausePanelHidden;
    m_titleDrop = -progress::kWheelStep;
    for (int i = 0; i < m_badgeShow.Length(); ++i) {
        m_badgeShow[i] = 0;
        m_badgeTime[i] = 0;
    }
    for (int i = 0; i < kClearedBadgeFlags; ++i) m_badges[i] = 0;
    for (int i = 0; i < vpad::kButtons; ++i) m_pad[i] = 0;
    for (int i = 0; i < m_options.Length(); ++i) m_options[i] = 0;
    m_options[option::kSound] = option::kSoundDefault;
    for (int i = 0; i <= progress::kRecordBase; ++i) m_progress[i] = 0;
    p_Load();
    for (int i = 0; i < m_chan.Length(); ++i) m_chan[i] = i;
    return 0;
}

int c_MyApp::p_OnUpdate() {
    // 1. Hot keys.
    m_pad[vpad::kBackHits] = vo_input_KeyHit(KEY_BACK);
    if (vo_input_KeyHit(kKeyF1) > 0) DebugMode = 1 - DebugMode;
    if (vo_input_KeyHit(kKeyF2) > 0) m_hideHud = 1 - m_hideHud;
    if (vo_input_KeyHit(kKeyF11) > 0) p_FullscreenFlip();
    // Ending here records a level's result the title has not yet taken (p_OnEnd).
    if (vo_input_KeyHit(kKeyF4) > 0 || vo_input_KeyHit(KEY_CLOSE) > 0) vo_app_EndApp();

    // 2. Finished network operations report.
    vo_asyncevent_UpdateAsyncEvents();

    // 3. The music follows the pause flag.
    if (HasMusicStream == 1 && m_musicOn == 1) {
        if (m_paused != 0) {
            vo_audio_PauseMusic();
        } else {
            vo_audio_ResumeMusic();
        }
    }

    // 4. The update rate.
    int now = vo_app_Millisecs();
    if (now - m_updLast > 0) m_updFps = vo_game_Trunc(1000.0f / static_cast<float>(now - m_updLast));
    m_updFpsAvg = (m_updFps + 9 * m_updFpsAvg) / 10;
    m_updLast = vo_app_Millisecs();

    // 5. The pointer, and the level's input kept for its replay.
    p_ReadPointer();
    p_ReplayCapture();

    // 6. The key latch.
    p_LatchKeys();

    // 7. The screen, unless the loader runs.
    if (m_loadStep == 0) {
        if (m_mode == screen::kTitle) p_Menu();
        if (m_mode == screen::kLevelDone) {
            p_LoadMenu();
            p_PlaySFX(sfx::kLevelEnd, 1);
            m_mode = screen::kTitle;
        }
        if (m_mode == screen::kInLevel) {
            if (m_paused == 0) p_Game();
            p_InGame();
        }
        if (m_mode == screen::kStartLevel) p_LoadGame();
        // The end banner grows over the finished level and retracts over the title.
        if (m_mode == screen::kTitle || m_mode == screen::kLevelDone || (m_mode == screen::kInLevel && m_levelOver > 0)) {
            p_GameOver();
        }
        if (m_optionsOpen == 1 || m_optionsSlide > 0) p_OptionBox();
        if (m_optionsOpen == 0 && m_optionsSlide > 0) --m_optionsSlide;
        if (m_optionsOpen == 1 && m_optionsSlide < kOptionsSlideOpen) ++m_optionsSlide;
        p_SlideCredits();
    }
    // 8. One loading step with its loading screen.
    if (m_loadStep > 0) p_Loader();

    // 9. iCade characters.
    if (iCadeControls == 1) p_ReadICade();

    // 10. The debug overlay.
    if (DebugMode == 1) {
        p_ResetDraw();
        p_Text(16, jscrh - 16, String(m_renderFps) + String(":") + String(m_scaleX) + String(",") + String(m_scaleY));
    }
    // 11. Badge pop-ups, over everything.
    p_ShowBadges();
    // 12. A level built in this update starts its replay with what the next update inherits.
    p_ReplayStart();
    return 0;
}

int c_MyApp::p_LatchKeys() {
    int held = 0;
    for (int key : action::kLatchOrder) {
        held = p_PlayKeyAll(key, 1);
        if (held != 0) break;
    }
    // A release frees the keys; a key still held after a panel took it stays taken.
    if (held == 0) m_keyUsed = 0;
    if (m_keyUsed == 0 && m_pointerUsed == 0 && m_mode == screen::kTitle && p_PlayKeyAll(action::kPause, 1) != 0) {
        // Back closes the credits panel; with no panel open the title screen takes it itself.
        if (m_optionsOpen == 1 || m_creditsOpen == 1) {
            m_creditsOpen = 0;
            m_keyUsed = 1;
            m_pointerUsed = 1;
        }
    }
    // While the options box is open, keys and pointer belong to it.
    if (m_optionsOpen == 1) {
        m_keyUsed = 1;
        m_pointerUsed = 1;
    }
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

int c_MyApp::p_FullscreenFlip() {
    VoGlfwGame* host = VoGlfwGame::_glfwGame;
    m_fullScreen = 1 - m_fullScreen;
    if (!host) return 0;
    Ref<VoGlfwVideoMode> desktop = host->GetGlfwDesktopMode();
    if (m_fullScreen == 1) {
        host->SetGlfwWindow(desktop->m_width, desktop->m_height, desktop->m_redBits, desktop->m_greenBits,
                            desktop->m_blueBits, 0, 0, 0, true);
    } else {
        host->SetGlfwWindow(kWindowWidth, kWindowHeight, desktop->m_redBits, desktop->m_greenBits, desktop->m_blueBits, 0, 0, 0, false);
    }
    return 0;
}

int c_MyApp::p_PauseForFocus() {
    if (m_mode < screen::kInLevel) {
        m_paused = 0;
        m_pauseDir = 0;
        m_pauseY = 0;
    } else {
        // A level is left paused with its panel half open; the player closes it.
        m_paused = 1;
        m_pauseDir = 1;
        m_pauseY = vo_game_Trunc(jscrh * menu_layout::kPauseOpenAt);
    }
    return 0;
}

int c_MyApp::p_ReleaseInput() {
    vo_input_DisableKeyboard();
    iCadeControls = 0;
    for (int i = 0; i < vpad::kButtons; ++i) m_pad[i] = 0;
    return 0;
}

int c_MyApp::p_OnSuspend() {
    p_ReplayNote(replay::Change::kFocusOff);
    p_ReleaseInput();
    p_PauseForFocus();
    vo_app_SetUpdateRate(kSuspendedRate);
    p_Save();
    return 0;
}

int c_MyApp::p_OnEnd() {
    // Between a level's end and the banner's hand-over to the title, the result is still pending.
    const bool pending = m_mode == screen::kLevelDone || (m_mode == screen::kInLevel && m_levelOver != 0);
    if (pending) {
        p_LoadMenu();
        // Taken: the hand-over must not record it again.
        m_mode = screen::kTitle;
    }
    return 0;
}

int c_MyApp::p_OnResume() {
    p_ReplayNote(replay::Change::kFocusOn);
    p_PauseForFocus();
    vo_app_SetUpdateRate(kRunningRate);
    p_ReleaseInput();
    return 0;
}

void voInit() {
    vo_framework_Init();
    vo_game_Init();
    // The data folder stays where it is, and every picture is loaded again when the window
    // changes: a picture need not keep its bytes once its texture is made.
    vo_surface_keepPictureBytes = false;
}

void voMain() { (new c_MyApp())->m_new(); }
