// VoGlfwGame::PollJoystick: the port table and the two pad layouts onto the framework's
// sticks and buttons.
#include "framework/app/glfw_host.h"

namespace {

constexpr int kMaxAxes = 6;
constexpr int kMaxButtons = 32;

// Output sources: low 4 bits an axis or button number; 0x40 negates an axis, 0x80 reads a button.
constexpr int kAxisSourcesA[6] = {0x00, 0x01, 0x02, 0x04, 0x43, 0x42};
constexpr int kAxisSourcesB[6] = {0x00, 0x01, 0x86, 0x02, 0x43, 0x87};
// Raw button of each output button; negative entries count from the end (-1 is the last).
constexpr int kButtonSourcesA[14] = {0, 1, 2, 3, 4, 5, 6, 7, -4, -3, -2, -1, 8, 9};
constexpr int kButtonSourcesB[14] = {1, 2, 0, 3, 4, 5, 8, 9, -4, -3, -2, -1, 10, 11};

}  // namespace

// Appends each hat as four buttons after the real ones, in the order left, up, right, down;
// a diagonal presses none of them. Returns the new button count.
int vo_joystick_AppendHats(unsigned char* buttons, int count, const unsigned char* hats, int hatCount) {
    static constexpr int kOrder[4] = {VO_HAT_LEFT, VO_HAT_UP, VO_HAT_RIGHT, VO_HAT_DOWN};
    for (int h = 0; h < hatCount; ++h) {
        for (int bit : kOrder) {
            if (count >= kMaxButtons) return count;
            buttons[count++] = hats[h] == bit ? 1 : 0;
        }
    }
    return count;
}

bool VoGlfwGame::PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons) {
    if (port == 0) {
        int found = 0;
        for (int number = 0; number < 16 && found < 4; ++number) {
            if (m_windowSystem->JoystickPresent(number)) m_joysticks[found++] = number;
        }
        while (found < 4) m_joysticks[found++] = -1;
    }
    if (port < 0 || port > 3 || m_joysticks[port] < 0) return false;
    int joystick = m_joysticks[port];

    float axes[kMaxAxes] = {};
    int axisCount = 0;
    const float* rawAxes = m_windowSystem->JoystickAxes(joystick, &axisCount);
    for (int i = 0; i < axisCount && i < kMaxAxes; ++i) axes[i] = rawAxes[i];

    unsigned char raw[kMaxButtons] = {};
    int rawCount = 0;
    const unsigned char* rawButtons = m_windowSystem->JoystickButtons(joystick, &rawCount);
    int buttonCount = 0;
    for (; buttonCount < rawCount && buttonCount < kMaxButtons; ++buttonCount) raw[buttonCount] = rawButtons[buttonCount];
    int hatCount = 0;
    const unsigned char* hats = m_windowSystem->JoystickHats(joystick, &hatCount);
    buttonCount = vo_joystick_AppendHats(raw, buttonCount, hats, hatCount);

    bool layoutA = buttonCount == 14 && axisCount == 5;
    const int* axisSources = layoutA ? kAxisSourcesA : kAxisSourcesB;
    const int* buttonSources = layoutA ? kButtonSourcesA : kButtonSourcesB;

    float outputs[6];
    for (int i = 0; i < 6; ++i) {
        int source = axisSources[i];
        int index = source & 0x0F;
        if (source & 0x80) {
            outputs[i] = raw[index] ? 1.0f : 0.0f;
        } else {
            outputs[i] = (source & 0x40) ? -axes[index] : axes[index];
        }
    }
    joyx[0] = outputs[0];
    joyy[0] = outputs[1];
    joyz[0] = outputs[2];
    joyx[1] = outputs[3];
    joyy[1] = outputs[4];
    joyz[1] = outputs[5];

    for (int i = 0; i < buttons.Length(); ++i) buttons[i] = false;
    for (int i = 0; i < 14; ++i) {
        int source = buttonSources[i];
        if (source < 0) source += buttonCount;
        buttons[i] = source >= 0 && source < buttonCount && raw[source] != 0;
    }
    return true;
}
