// VoGame: default services and the guarded forwarding of host events to the delegate.
#include "framework/app/host.h"

#include <unistd.h>

#include <cstdlib>

#include "framework/app/error.h"

VoGame* VoGame::_game = nullptr;

VoGame::VoGame() { _game = this; }

void VoGame::SetDelegate(VoGameDelegate* delegate) { m_delegate = delegate; }
VoGameDelegate* VoGame::Delegate() { return m_delegate; }
void VoGame::SetKeyboardEnabled(bool enabled) { m_keyboardEnabled = enabled; }
bool VoGame::KeyboardEnabled() { return m_keyboardEnabled; }
void VoGame::SetUpdateRate(int hertz) { m_updateRate = hertz; }
int VoGame::UpdateRate() { return m_updateRate; }
bool VoGame::Started() { return m_started; }
bool VoGame::Suspended() { return m_suspended; }
int VoGame::Millisecs() { return 0; }
bool VoGame::PollJoystick(int, Array<float>, Array<float>, Array<float>, Array<bool>) { return false; }
void VoGame::OpenUrl(String) {}
void VoGame::SetMouseVisible(bool) {}
int VoGame::GetDeviceWidth() { return 0; }
int VoGame::GetDeviceHeight() { return 0; }
void VoGame::SetDeviceWindow(int, int, int) {}
Array<Ref<VoDisplayMode>> VoGame::GetDisplayModes() { return Array<Ref<VoDisplayMode>>(); }
Ref<VoDisplayMode> VoGame::GetDesktopMode() { return nullptr; }
void VoGame::SetSwapInterval(int) {}
String VoGame::PathToFilePath(String location) { return location; }
unsigned char* VoGame::LoadImageData(String, int*, int*, int*) { return nullptr; }
bool VoGame::LoadImageInfo(String location, int* width, int* height, int* format) {
    unsigned char* data = LoadImageData(location, width, height, format);
    std::free(data);
    return data != nullptr;
}
unsigned char* VoGame::LoadAudioData(String, int*, int*, int*, int*) { return nullptr; }

void VoGame::Die(ThrowableObject*) {
    voPrint(String("Zembra Runtime Error : Uncaught Zembra Exception"));
    std::fflush(stdout);
    _exit(-1);
}

void VoGame::gc_collect() { ::gc_collect(); }

template <class F>
void VoGame::Guarded(F&& call) {
    try {
        call();
    } catch (ThrowableObject* ex) {
        Die(ex);
    }
    gc_collect();
}

void VoGame::StartGame() {
    if (m_started) return;
    m_started = true;
    Guarded([this] { m_delegate->StartGame(); });
}

void VoGame::SuspendGame() {
    if (!m_started || m_suspended) return;
    m_suspended = true;
    Guarded([this] { m_delegate->SuspendGame(); });
}

void VoGame::ResumeGame() {
    if (!m_started || !m_suspended) return;
    m_suspended = false;
    Guarded([this] { m_delegate->ResumeGame(); });
}

void VoGame::UpdateGame() {
    if (!m_started || m_suspended) return;
    Guarded([this] { m_delegate->UpdateGame(); });
}

void VoGame::RenderGame() {
    if (!m_started) return;
    Guarded([this] { m_delegate->RenderGame(); });
}

void VoGame::KeyEvent(int event, int data) {
    if (!m_started) return;
    Guarded([&] { m_delegate->KeyEvent(event, data); });
}

void VoGame::MouseEvent(int event, int data, float x, float y) {
    if (!m_started) return;
    Guarded([&] { m_delegate->MouseEvent(event, data, x, y); });
}

void VoGame::TouchEvent(int event, int data, float x, float y) {
    if (!m_started) return;
    Guarded([&] { m_delegate->TouchEvent(event, data, x, y); });
}

void VoGame::MotionEvent(int event, int data, float x, float y, float z) {
    if (!m_started) return;
    Guarded([&] { m_delegate->MotionEvent(event, data, x, y, z); });
}

void VoGame::DiscardGraphics() {
    if (!m_started) return;
    Guarded([this] { m_delegate->DiscardGraphics(); });
}
