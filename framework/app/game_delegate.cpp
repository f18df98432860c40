// c_GameDelegate: device creation at start and the order of every forwarded event.
#include "framework/app/game_delegate.h"

#include "framework/app/app.h"

void c_GameDelegate::StartGame() {
    auto input = New<c_InputDevice>();
    for (int unit = 0; unit < 4; ++unit) input->m__joyStates[unit] = New<c_JoyState>();
    m_input = input;
    vo_input_SetInputDevice(input.Get());
    vo_app_ValidateDeviceWindow(false);
    vo_app_EnumDisplayModes();
    vo_app__app->p_OnCreate();
}

void c_GameDelegate::SuspendGame() { vo_app__app->p_OnSuspend(); }

void c_GameDelegate::ResumeGame() { vo_app__app->p_OnResume(); }

void c_GameDelegate::UpdateGame() {
    vo_app_ValidateDeviceWindow(true);
    m_input->p_BeginUpdate();
    vo_app__app->p_OnUpdate();
    m_input->p_EndUpdate();
}

void c_GameDelegate::RenderGame() {
    vo_app_ValidateDeviceWindow(true);
    vo_app__app->p_OnRender();
}

void c_GameDelegate::KeyEvent(int event, int data) {
    m_input->p_KeyEvent(event, data);
    if (event != c_VoGameEvent::KeyDown) return;
    if (data == KEY_BACK) vo_app__app->p_OnBack();
    if (data == KEY_CLOSE) vo_app__app->p_OnClose();
}

void c_GameDelegate::MouseEvent(int event, int data, float x, float y) { m_input->p_MouseEvent(event, data, x, y); }

void c_GameDelegate::TouchEvent(int event, int data, float x, float y) { m_input->p_TouchEvent(event, data, x, y); }

void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
    m_input->p_MotionEvent(event, data, x, y, z);
}

void c_GameDelegate::DiscardGraphics() {}
