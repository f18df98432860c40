// c_App and the application module: update rate, window size cache, display modes, state.
#include "framework/app/app.h"

#include "framework/app/error.h"
#include "framework/app/game_delegate.h"
#include "framework/app/glfw_host.h"
#include "framework/app/random.h"
#include "framework/audio/audio_device.h"
#include "framework/audio/sound.h"
#include "framework/graphics/graphics_context.h"

Ref<c_App> vo_app__app;
Ref<c_GameDelegate> vo_app__delegate;
VoGame* vo_app__game = nullptr;
int vo_app__updateRate = 0;
int vo_app__devWidth = 0;
int vo_app__devHeight = 0;
Array<Ref<c_DisplayMode>> vo_app__displayModes;
Ref<c_DisplayMode> vo_app__desktopMode;

c_App* c_App::m_new() {
    if (vo_app__app) voError(String("App has already been created"));
    vo_app__app = this;
    vo_app__delegate = New<c_GameDelegate>();
    vo_app__game->SetDelegate(vo_app__delegate.Get());
    return this;
}

int c_App::p_OnClose() { vo_app_EndApp(); }
int c_App::p_OnBack() { vo_app_EndApp(); }

void vo_framework_Init() {
    vo_app__app = nullptr;
    vo_app__delegate = nullptr;
    vo_app__game = VoGame::_game;
    vo_app__updateRate = 0;
    vo_app__devWidth = 0;
    vo_app__devHeight = 0;
    vo_app__displayModes = Array<Ref<c_DisplayMode>>();
    vo_app__desktopMode = nullptr;
    vo_random_Seed = 1234;
    vo_graphics_device = nullptr;
    vo_graphics_context = New<c_GraphicsContext>();
    vo_audio_device = nullptr;
    vo_input_device = nullptr;
}

void vo_app_SetUpdateRate(int hertz) {
    vo_app__updateRate = hertz;
    vo_app__game->SetUpdateRate(hertz);
}

int vo_app_UpdateRate() { return vo_app__updateRate; }
int vo_app_Millisecs() { return vo_app__game->Millisecs(); }
String vo_app_LoadState() { return vo_app__game->LoadState(); }
VoSaveProblem vo_app_SaveState(String state) {
    if (vo_app__game->SaveState(state) == 0) return VoSaveProblem::kNone;
    const VoSaveProblem problem = vo_app__game->SaveProblem();
    return problem == VoSaveProblem::kNone ? VoSaveProblem::kOther : problem;
}
void vo_app_StateDamaged() {
    if (vo_app__game) vo_app__game->StateDamaged();
}
String vo_app_LoadString(String location) { return vo_app__game->LoadString(location); }
String vo_app_LoadUserFile(String location) { return vo_app__game->LoadUserFile(location); }
int vo_app_SaveUserFile(String location, String text) { return vo_app__game->SaveUserFile(location, text); }
int vo_app_DeviceWidth() { return vo_app__devWidth; }
int vo_app_DeviceHeight() { return vo_app__devHeight; }
void vo_app_GetDate(Array<int> date) { vo_app__game->GetDate(date); }
void vo_app_SetMouseVisible(bool visible) { vo_app__game->SetMouseVisible(visible); }
void vo_app_OpenUrl(String url) { vo_app__game->OpenUrl(url); }
Array<Ref<c_DisplayMode>> vo_app_DisplayModes() { return vo_app__displayModes; }
Ref<c_DisplayMode> vo_app_DesktopMode() { return vo_app__desktopMode; }

void vo_app_ValidateDeviceWindow(bool) {
    int width = vo_app__game->GetDeviceWidth();
    int height = vo_app__game->GetDeviceHeight();
    if (width != vo_app__devWidth || height != vo_app__devHeight) {
        vo_app__devWidth = width;
        vo_app__devHeight = height;
    }
}

void vo_app_EnumDisplayModes() {
    Array<Ref<VoDisplayMode>> modes = vo_app__game->GetDisplayModes();
    Array<Ref<c_DisplayMode>> unique(modes.Length());
    int count = 0;
    for (int i = 0; i < modes.Length(); ++i) {
        int key = (modes[i]->m_width << 16) | modes[i]->m_height;
        bool seen = false;
        for (int j = 0; j < count && !seen; ++j) seen = ((unique[j]->m_width << 16) | unique[j]->m_height) == key;
        if (!seen) unique[count++] = New<c_DisplayMode>(modes[i]->m_width, modes[i]->m_height);
    }
    vo_app__displayModes = Array<Ref<c_DisplayMode>>(count);
    for (int i = 0; i < count; ++i) vo_app__displayModes[i] = unique[i];
    Ref<VoDisplayMode> desktop = vo_app__game->GetDesktopMode();
    vo_app__desktopMode = desktop ? New<c_DisplayMode>(desktop->m_width, desktop->m_height)
                                  : New<c_DisplayMode>(vo_app__devWidth, vo_app__devHeight);
}

void vo_app_EndApp() {
    // An end asked for while the application finishes (its own quit, a second close) ends at once.
    static bool ending = false;
    if (!ending && vo_app__app) {
        ending = true;
        vo_app__app->p_OnEnd();
    }
    voError(String());
}
