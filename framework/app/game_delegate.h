// The delegate that creates the devices at start and carries each host event to the
// application and the input device.
#pragma once

#include <thread>

#include "framework/app/host.h"
#include "framework/app/input.h"
#include "framework/graphics/renderer.h"
#include "framework/audio/audio_device.h"

class c_GameDelegate : public VoGameDelegate {
public:
    ~c_GameDelegate() override;
    void PrepareStart() override;
    void StartGame() override;
    void SuspendGame() override;
    void ResumeGame() override;
    void UpdateGame() override;
    void RenderGame() override;
    void KeyEvent(int event, int data) override;
    void MouseEvent(int event, int data, float x, float y) override;
    void TouchEvent(int event, int data, float x, float y) override;
    void MotionEvent(int event, int data, float x, float y, float z) override;
    void DiscardGraphics() override;

    Ref<gxtkGraphics> m_graphics;
    Ref<gxtkAudio> m_audio;
    Ref<c_InputDevice> m_input;

private:
    // Opens the sound device while the window is made (PrepareStart); StartGame joins it.
    std::thread m_audioOpening;
};
