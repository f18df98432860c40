// The application base the game derives from, and the application module's functions.
#pragma once

#include "framework/app/array.h"
#include "framework/app/files.h"
#include "framework/app/object.h"
#include "framework/app/string.h"

class VoGame;
class c_GameDelegate;

class c_App : public Object {
public:
    // Registers the application with the host; a second application is a runtime error.
    c_App* m_new();

    virtual int p_OnCreate() { return 0; }
    virtual int p_OnSuspend() { return 0; }
    virtual int p_OnResume() { return 0; }
    virtual int p_OnUpdate() { return 0; }
    virtual int p_OnRender() { return 0; }
    // The program is about to end by request (the window's close, a quit key, SIGTERM, SIGINT,
    // SIGHUP): the last moment to keep what must not be lost. Called once.
    virtual int p_OnEnd() { return 0; }

    // Never called by this framework.
    int p_OnLoading() { return 0; }
    int p_OnResize() { return 0; }
    int p_OnClose();
    int p_OnBack();
};

class c_DisplayMode : public Object {
public:
    c_DisplayMode(int width, int height) : m_width(width), m_height(height) {}
    int m_width;
    int m_height;
};

extern Ref<c_App> vo_app__app;
extern Ref<c_GameDelegate> vo_app__delegate;
extern VoGame* vo_app__game;
extern int vo_app__updateRate;
extern int vo_app__devWidth;
extern int vo_app__devHeight;
extern Array<Ref<c_DisplayMode>> vo_app__displayModes;
extern Ref<c_DisplayMode> vo_app__desktopMode;

void vo_app_SetUpdateRate(int hertz);
int vo_app_UpdateRate();
int vo_app_Millisecs();
String vo_app_LoadState();
// Saves the state; why it failed, or kNone.
VoSaveProblem vo_app_SaveState(String state);
// The program found part of the loaded state damaged: its file is kept aside before the
// first save replaces it.
void vo_app_StateDamaged();
String vo_app_LoadString(String location);
// Text files kept for the player beside the saved state (see VoGame::LoadUserFile).
String vo_app_LoadUserFile(String location);
int vo_app_SaveUserFile(String location, String text);
int vo_app_DeviceWidth();
int vo_app_DeviceHeight();
void vo_app_ValidateDeviceWindow(bool notifyApp);
void vo_app_EnumDisplayModes();
Array<Ref<c_DisplayMode>> vo_app_DisplayModes();
Ref<c_DisplayMode> vo_app_DesktopMode();
void vo_app_GetDate(Array<int> date);
void vo_app_SetMouseVisible(bool visible);
void vo_app_OpenUrl(String url);
// Ends the program with status 0, after the application's p_OnEnd (unless it is the one ending).
[[noreturn]] void vo_app_EndApp();

// Sets the framework's globals to their start values; the program's init runs it first.
void vo_framework_Init();
