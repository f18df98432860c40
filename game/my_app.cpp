// c_MyApp's callbacks, voInit and voMain.
#include "game/my_app.h"

#include "framework/app/error.h"

int c_MyApp::p_OnCreate() {
    vo_app_SetUpdateRate(60);
    voPrint(String("Created"));
    return 0;
}

int c_MyApp::p_OnSuspend() {
    vo_app_SetUpdateRate(5);
    voPrint(String("Suspended"));
    return 0;
}

int c_MyApp::p_OnResume() {
    vo_app_SetUpdateRate(60);
    voPrint(String("Resumed"));
    return 0;
}

int c_MyApp::p_OnUpdate() { return 0; }

int c_MyApp::p_OnRender() { return 0; }

void voInit() { vo_framework_Init(); }

void voMain() { (new c_MyApp())->m_new(); }
