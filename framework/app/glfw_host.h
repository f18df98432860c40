// The desktop host: the window, the fixed-rate update loop, the event pump, joysticks and
// display modes, on the window-system interface.
#pragma once

#include "framework/app/host.h"
#include "framework/app/window_system.h"

// Raised by one each time a window (and so a new OpenGL context) is opened.
extern int glfwGraphicsSeq;

class VoGlfwVideoMode : public Object {
public:
    int m_width = 0, m_height = 0, m_redBits = 0, m_greenBits = 0, m_blueBits = 0;
};

class VoGlfwGame : public VoGame, private VoWindowEvents {
public:
    explicit VoGlfwGame(VoWindowSystem* windowSystem);

    void SetUpdateRate(int hertz) override;
    int Millisecs() override;
    bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz, Array<bool> buttons) override;
    void OpenUrl(String url) override;
    void SetMouseVisible(bool visible) override;
    int GetDeviceWidth() override;
    int GetDeviceHeight() override;
    void SetDeviceWindow(int width, int height, int flags) override;
    Array<Ref<VoDisplayMode>> GetDisplayModes() override;
    Ref<VoDisplayMode> GetDesktopMode() override;
    void SetSwapInterval(int interval) override;
    String PathToFilePath(String location) override;
    unsigned char* LoadImageData(String location, int* width, int* height, int* depth) override;
    bool LoadImageInfo(String location, int* width, int* height, int* depth) override;
    unsigned char* LoadAudioData(String location, int* length, int* channels, int* format, int* hertz) override;

    virtual void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth, int stencil,
                               bool fullscreen);
    virtual Ref<VoGlfwVideoMode> GetGlfwDesktopMode();
    virtual Array<Ref<VoGlfwVideoMode>> GetGlfwVideoModes();
    virtual void Run();

    VoWindowSystem* WindowSystem() { return m_windowSystem; }

    static VoGlfwGame* _glfwGame;

protected:
    double m_updatePeriod = 0;
    double m_nextUpdate = 0;
    String m_appPath;
    String m_internalPath;
    int m_swapInterval = 1;

private:
    void OnKey(int key, int action) override;
    void OnChar(unsigned codepoint) override;
    void OnMouseButton(int button, int action) override;
    void OnMousePos(double x, double y) override;
    void OnWindowClose() override;
    static String ExecutableDirectory();

    VoWindowSystem* m_windowSystem;
    int m_joysticks[4] = {-1, -1, -1, -1};
};

// Window-system key number to framework key code; 0 drops the key.
int TransKey(int key);
// The character a pressed key types by itself (framework code in), or 0 for none.
int KeyToChar(int key);

// Starts the program: window system, host, signals, globals, application, loop. The program
// hands in its own start: programInit sets every global, programMain creates the application.
class VoZembraGame : public VoGlfwGame {
public:
    using VoGlfwGame::VoGlfwGame;
    static int Main(int argc, const char* argv[], void (*programInit)(), void (*programMain)());
};

// The command line, recorded and not used.
extern int vo_argc;
extern const char** vo_argv;

// Appends each hat as four buttons (left, up, right, down) after count buttons; returns the new count.
int vo_joystick_AppendHats(unsigned char* buttons, int count, const unsigned char* hats, int hatCount);
