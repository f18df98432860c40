// The host base: the one object that owns the loop, carries host events to the delegate
// behind start/suspend guards, and offers the platform's services (files, time, window).
#pragma once

#include <cstdio>

#include "framework/app/array.h"
#include "framework/app/files.h"
#include "framework/app/object.h"
#include "framework/app/string.h"

// Host event codes (the event argument of the event operations).
struct c_VoGameEvent {
    static constexpr int KeyDown = 1;
    static constexpr int KeyUp = 2;
    static constexpr int KeyChar = 3;
    static constexpr int MouseDown = 4;
    static constexpr int MouseUp = 5;
    static constexpr int MouseMove = 6;
    static constexpr int TouchDown = 7;
    static constexpr int TouchUp = 8;
    static constexpr int TouchMove = 9;
    static constexpr int MotionAccel = 10;
};

// Receives every host event; its own versions do nothing.
class VoGameDelegate : public Object {
public:
    // A host loop calls it before it opens its window: devices that need no window may begin to
    // open meanwhile, on a thread of their own; StartGame waits for them.
    virtual void PrepareStart() {}
    virtual void StartGame() {}
    virtual void SuspendGame() {}
    virtual void ResumeGame() {}
    virtual void UpdateGame() {}
    virtual void RenderGame() {}
    virtual void KeyEvent(int /*event*/, int /*data*/) {}
    virtual void MouseEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {}
    virtual void TouchEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {}
    virtual void MotionEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/, float /*z*/) {}
    virtual void DiscardGraphics() {}
};

class VoDisplayMode : public Object {
public:
    VoDisplayMode(int width, int height) : m_width(width), m_height(height) {}
    int m_width;
    int m_height;
};

class VoGame {
public:
    VoGame();
    virtual ~VoGame() = default;

    virtual void SetDelegate(VoGameDelegate* delegate);
    virtual VoGameDelegate* Delegate();
    virtual void SetKeyboardEnabled(bool enabled);
    virtual bool KeyboardEnabled();
    virtual void SetUpdateRate(int hertz);
    virtual int UpdateRate();
    virtual bool Started();
    virtual bool Suspended();
    virtual int Millisecs();
    virtual void GetDate(Array<int> date);
    virtual int SaveState(String state);
    // Why the last save of the state failed; kNone after one that succeeded.
    VoSaveProblem SaveProblem() const { return m_saveProblem; }
    virtual String LoadState();
    // The program found part of the loaded state damaged: the file is kept aside before the
    // first save replaces it.
    virtual void StateDamaged();
    virtual String LoadString(String location);
    // A text file kept for the player (a replay): "" when it is absent, not a regular file, not
    // UTF-8 or over kUserFileLimit bytes (the last three reported on standard error).
    virtual String LoadUserFile(String location);
    // Replaces it whole (a link in its place too, never what the link points to), making its
    // folder if need be; 0 on success, -1 (reported) otherwise.
    virtual int SaveUserFile(String location, String text);
    virtual bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz, Array<bool> buttons);
    virtual void OpenUrl(String url);
    virtual void SetMouseVisible(bool visible);
    virtual int GetDeviceWidth();
    virtual int GetDeviceHeight();
    virtual void SetDeviceWindow(int width, int height, int flags);
    virtual Array<Ref<VoDisplayMode>> GetDisplayModes();
    virtual Ref<VoDisplayMode> GetDesktopMode();
    virtual void SetSwapInterval(int interval);
    virtual String PathToFilePath(String location);
    virtual FILE* OpenFile(String location, String mode);
    // Reads a whole file; the caller frees the buffer with free(). Null when it cannot be opened.
    virtual unsigned char* LoadData(String location, int* length);
    virtual unsigned char* LoadImageData(String location, int* width, int* height, int* format);
    // The size and channels of a picture, read without decoding it when the host can; false,
    // said as LoadImageData says it, when the picture cannot be used.
    virtual bool LoadImageInfo(String location, int* width, int* height, int* format);
    virtual unsigned char* LoadAudioData(String location, int* length, int* channels, int* format, int* hertz);
    [[noreturn]] virtual void Die(ThrowableObject* ex);
    virtual void gc_collect();

    virtual void StartGame();
    virtual void SuspendGame();
    virtual void ResumeGame();
    virtual void UpdateGame();
    virtual void RenderGame();
    virtual void KeyEvent(int event, int data);
    virtual void MouseEvent(int event, int data, float x, float y);
    virtual void TouchEvent(int event, int data, float x, float y);
    virtual void MotionEvent(int event, int data, float x, float y, float z);
    virtual void DiscardGraphics();

    static VoGame* _game;

protected:
    // Runs one forwarded call; a thrown ThrowableObject ends the program through Die.
    template <class F>
    void Guarded(F&& call);

    // What the last LoadState found; it decides how a save may replace the file.
    enum class StateFile { Absent, Clean, Damaged, Unreadable };
    StateFile m_stateFile = StateFile::Absent;
    VoSaveProblem m_saveProblem = VoSaveProblem::kNone;

    VoGameDelegate* m_delegate = nullptr;
    bool m_keyboardEnabled = false;
    int m_updateRate = 0;
    bool m_started = false;
    bool m_suspended = false;
};

// Bytes the runtime allocated outside its objects (file buffers handed to callers).
extern std::atomic<long long> gc_ext_new_bytes;
