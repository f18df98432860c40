// c_InputDevice and the vo_input_ functions.
#include "framework/app/input.h"

#include "framework/app/app.h"
#include "framework/app/host.h"

Ref<c_InputDevice> vo_input_device;

c_InputDevice::c_InputDevice() = default;

void c_InputDevice::p_PutKeyHit(int key) {
    if (m__keyHitPut == m__keyHitQueue.Length()) return;
    m__keyHit[key] += 1;
    m__keyHitQueue[m__keyHitPut++] = key;
}

void c_InputDevice::KeyPressed(int code) {
    if (!ValidCode(code) || m__keyDown[code]) return;
    m__keyDown[code] = true;
    p_PutKeyHit(code);
    if (code == KEY_LMB) {
        m__keyDown[KEY_TOUCH0] = true;
        p_PutKeyHit(KEY_TOUCH0);
    } else if (code == KEY_TOUCH0) {
        m__keyDown[KEY_LMB] = true;
        p_PutKeyHit(KEY_LMB);
    }
}

void c_InputDevice::KeyReleased(int code) {
    if (!ValidCode(code) || !m__keyDown[code]) return;
    m__keyDown[code] = false;
    if (code == KEY_LMB) m__keyDown[KEY_TOUCH0] = false;
    if (code == KEY_TOUCH0) m__keyDown[KEY_LMB] = false;
}

void c_InputDevice::p_KeyEvent(int event, int data) {
    switch (event) {
        case c_VoGameEvent::KeyDown: KeyPressed(data); break;
        case c_VoGameEvent::KeyUp: KeyReleased(data); break;
        case c_VoGameEvent::KeyChar:
            if (m__charPut < m__charQueue.Length()) m__charQueue[m__charPut++] = data;
            break;
        default: break;
    }
}

void c_InputDevice::p_MouseEvent(int event, int data, float x, float y) {
    switch (event) {
        case c_VoGameEvent::MouseDown: KeyPressed(KEY_LMB + data); break;
        case c_VoGameEvent::MouseUp: KeyReleased(KEY_LMB + data); return;
        case c_VoGameEvent::MouseMove: break;
        default: return;
    }
    m__mouseX = x;
    m__mouseY = y;
    m__touchX[0] = x;
    m__touchY[0] = y;
}

void c_InputDevice::p_TouchEvent(int event, int data, float x, float y) {
    // Fingers beyond the 32 touch points are ignored.
    if (data < 0 || data > 31) return;
    switch (event) {
        case c_VoGameEvent::TouchDown: KeyPressed(KEY_TOUCH0 + data); break;
        case c_VoGameEvent::TouchUp: KeyReleased(KEY_TOUCH0 + data); return;
        case c_VoGameEvent::TouchMove: break;
        default: return;
    }
    m__touchX[data] = x;
    m__touchY[data] = y;
    if (data == 0) {
        m__mouseX = x;
        m__mouseY = y;
    }
}

void c_InputDevice::p_MotionEvent(int event, int, float x, float y, float z) {
    if (event != c_VoGameEvent::MotionAccel) return;
    m__accelX = x;
    m__accelY = y;
    m__accelZ = z;
}

void c_InputDevice::p_BeginUpdate() {
    for (int unit = 0; unit < 4; ++unit) {
        c_JoyState* state = m__joyStates[unit].Get();
        if (!state || !vo_app__game->PollJoystick(unit, state->m_joyx, state->m_joyy, state->m_joyz, state->m_buttons))
            break;
        for (int b = 0; b < 32; ++b) {
            int code = KEY_JOY0 + KEY_JOY_BUTTONS * unit + b;
            if (state->m_buttons[b]) {
                if (!m__keyDown[code]) {
                    m__keyDown[code] = true;
                    p_PutKeyHit(code);
                }
            } else {
                m__keyDown[code] = false;
            }
        }
    }
}

void c_InputDevice::p_EndUpdate() {
    for (int i = 0; i < m__keyHitPut; ++i) m__keyHit[m__keyHitQueue[i]] = 0;
    m__keyHitPut = 0;
    m__charGet = 0;
    m__charPut = 0;
}

int c_InputDevice::p_KeyDown(int key) { return ValidCode(key) && m__keyDown[key] ? 1 : 0; }

int c_InputDevice::p_KeyHit(int key) { return ValidCode(key) ? m__keyHit[key] : 0; }

int c_InputDevice::p_GetChar() {
    if (m__charGet == m__charPut) return 0;
    return m__charQueue[m__charGet++];
}

float c_InputDevice::p_TouchX(int finger) { return finger >= 0 && finger < 32 ? m__touchX[finger] : 0; }
float c_InputDevice::p_TouchY(int finger) { return finger >= 0 && finger < 32 ? m__touchY[finger] : 0; }

// Sticks outside index 0..1 or unit 0..3 read as centred.
float c_InputDevice::p_JoyX(int index, int unit) {
    return index >= 0 && index < 2 && unit >= 0 && unit < 4 && m__joyStates[unit] ? m__joyStates[unit]->m_joyx[index] : 0;
}

float c_InputDevice::p_JoyY(int index, int unit) {
    return index >= 0 && index < 2 && unit >= 0 && unit < 4 && m__joyStates[unit] ? m__joyStates[unit]->m_joyy[index] : 0;
}

void c_InputDevice::p_SetKeyboardEnabled(bool enabled) { vo_app__game->SetKeyboardEnabled(enabled); }

void vo_input_SetInputDevice(c_InputDevice* device) { vo_input_device = device; }
int vo_input_KeyDown(int key) { return vo_input_device->p_KeyDown(key); }
int vo_input_KeyHit(int key) { return vo_input_device->p_KeyHit(key); }
int vo_input_GetChar() { return vo_input_device->p_GetChar(); }
float vo_input_MouseX() { return vo_input_device->p_MouseX(); }
float vo_input_MouseY() { return vo_input_device->p_MouseY(); }

int vo_input_MouseDown(int button) {
    return button >= 0 && button <= KEY_LAST - KEY_LMB ? vo_input_device->p_KeyDown(KEY_LMB + button) : 0;
}
int vo_input_MouseHit(int button) {
    return button >= 0 && button <= KEY_LAST - KEY_LMB ? vo_input_device->p_KeyHit(KEY_LMB + button) : 0;
}
int vo_input_TouchDown(int finger) {
    const bool coded = finger >= 1 - KEY_TOUCH0 && finger <= KEY_LAST - KEY_TOUCH0;
    return coded ? vo_input_device->p_KeyDown(KEY_TOUCH0 + finger) : 0;
}
float vo_input_TouchX(int finger) { return vo_input_device->p_TouchX(finger); }
float vo_input_TouchY(int finger) { return vo_input_device->p_TouchY(finger); }

int vo_input_JoyDown(int button, int unit) { return vo_input_device->p_KeyDown(button | KEY_JOY0 | (unit << 5)); }
int vo_input_JoyHit(int button, int unit) { return vo_input_device->p_KeyHit(button | KEY_JOY0 | (unit << 5)); }
float vo_input_JoyX(int index, int unit) { return vo_input_device->p_JoyX(index, unit); }
float vo_input_JoyY(int index, int unit) { return vo_input_device->p_JoyY(index, unit); }
float vo_input_AccelX() { return vo_input_device->p_AccelX(); }
float vo_input_AccelY() { return vo_input_device->p_AccelY(); }

int vo_input_EnableKeyboard() {
    vo_input_device->p_SetKeyboardEnabled(true);
    return 1;
}

int vo_input_DisableKeyboard() {
    vo_input_device->p_SetKeyboardEnabled(false);
    return 1;
}
