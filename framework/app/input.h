// The framework's input state: keys, hits, typed characters, pointer, touches, joysticks and
// accelerometer, written by host events and joystick polls and read by the game per update.
#pragma once

#include "framework/app/array.h"
#include "framework/app/key_codes.h"
#include "framework/app/object.h"

class c_JoyState : public Object {
public:
    Array<float> m_joyx{2};
    Array<float> m_joyy{2};
    Array<float> m_joyz{2};
    Array<bool> m_buttons{32};
};

class c_InputDevice : public Object {
public:
    c_InputDevice();

    void p_KeyEvent(int event, int data);
    void p_MouseEvent(int event, int data, float x, float y);
    void p_TouchEvent(int event, int data, float x, float y);
    void p_MotionEvent(int event, int data, float x, float y, float z);
    void p_BeginUpdate();
    void p_EndUpdate();
    void p_PutKeyHit(int key);

    int p_KeyDown(int key);
    int p_KeyHit(int key);
    int p_GetChar();
    float p_MouseX() { return m__mouseX; }
    float p_MouseY() { return m__mouseY; }
    float p_TouchX(int finger);
    float p_TouchY(int finger);
    float p_JoyX(int index, int unit);
    float p_JoyY(int index, int unit);
    float p_AccelX() { return m__accelX; }
    float p_AccelY() { return m__accelY; }
    void p_SetKeyboardEnabled(bool enabled);

    Array<Ref<c_JoyState>> m__joyStates{4};

private:
    // The press and release rules, with the tie of mouse button 0 (KEY_LMB) and touch 0 (KEY_TOUCH0).
    void KeyPressed(int code);
    void KeyReleased(int code);
    bool ValidCode(int code) const { return code >= 1 && code <= KEY_LAST; }

    Array<bool> m__keyDown{KEY_LAST + 1};
    int m__keyHitPut = 0;
    Array<int> m__keyHitQueue{33};
    Array<int> m__keyHit{KEY_LAST + 1};
    int m__charGet = 0;
    int m__charPut = 0;
    Array<int> m__charQueue{32};
    float m__mouseX = 0, m__mouseY = 0;
    Array<float> m__touchX{32};
    Array<float> m__touchY{32};
    float m__accelX = 0, m__accelY = 0, m__accelZ = 0;
};

extern Ref<c_InputDevice> vo_input_device;

void vo_input_SetInputDevice(c_InputDevice* device);
int vo_input_KeyDown(int key);
int vo_input_KeyHit(int key);
int vo_input_GetChar();
float vo_input_MouseX();
float vo_input_MouseY();
int vo_input_MouseDown(int button);
int vo_input_MouseHit(int button);
int vo_input_TouchDown(int finger);
float vo_input_TouchX(int finger);
float vo_input_TouchY(int finger);
int vo_input_JoyDown(int button, int unit);
int vo_input_JoyHit(int button, int unit);
float vo_input_JoyX(int index, int unit);
float vo_input_JoyY(int index, int unit);
float vo_input_AccelX();
float vo_input_AccelY();
int vo_input_EnableKeyboard();
int vo_input_DisableKeyboard();
