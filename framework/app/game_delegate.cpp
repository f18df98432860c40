// c_GameDelegate: device creation at start and the order of every forwarded event.
#include "framework/app/game_delegate.h"

#include "framework/app/app.h"
#include "framework/graphics/graphics_context.h"
#include "framework/audio/sound.h"

c_GameDelegate::~c_GameDelegate() {
    if (m_audioOpening.joinable()) m_audioOpening.join();
}

void c_GameDelegate::PrepareStart() {
    // Opening the sound device takes a while and needs no window: it is done while the window
    // and its OpenGL context are made.
    m_audioOpening = std::thread([this] { m_audio = New<gxtkAudio>(); });
}

void c_GameDelegate::StartGame() {
    m_graphics = New<gxtkGraphics>();
    vo_graphics_SetGraphicsDevice(m_graphics.Get());
    vo_graphics_SetFont(nullptr, 32);
    if (m_audioOpening.joinable()) m_audioOpening.join();
    if (!m_audio) m_audio = New<gxtkAudio>();
    vo_audio_SetAudioDevice(m_audio);
    auto input = New<c_InputDevice>();
    for (int unit = 0; unit < 4; ++unit) input->m__joyStates[unit] = New<c_JoyState>();
    m_input = input;
    vo_input_SetInputDevice(input.Get());
    vo_app_ValidateDeviceWindow(false);
    vo_app_EnumDisplayModes();
    vo_app__app->p_OnCreate();
}

void c_GameDelegate::SuspendGame() {
    vo_app__app->p_OnSuspend();
    m_audio->Suspend();
}

void c_GameDelegate::ResumeGame() {
    m_audio->Resume();
    vo_app__app->p_OnResume();
}

void c_GameDelegate::UpdateGame() {
    vo_app_ValidateDeviceWindow(true);
    m_input->p_BeginUpdate();
    vo_app__app->p_OnUpdate();
    m_input->p_EndUpdate();
}

void c_GameDelegate::RenderGame() {
    vo_app_ValidateDeviceWindow(true);
    m_graphics->BeginRender();
    vo_graphics_BeginRender();
    vo_app__app->p_OnRender();
    vo_graphics_EndRender();
    m_graphics->EndRender();
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

void c_GameDelegate::DiscardGraphics() { m_graphics->DiscardGraphics(); }
