// One operating-system thread that runs one method to its end.
#pragma once

#include <atomic>
#include <thread>

#include "framework/app/object.h"

class VoThread : public Object {
public:
    ~VoThread() override;

    // Starts the thread unless it is running; a thread that cannot be created ends the
    // program.
    virtual void Start();
    virtual bool IsRunning();
    // The body's result; meaningful once the thread has finished.
    virtual Object* Result();
    virtual void SetResult(Object* result);
    // The body, run on the thread.
    virtual void Run__UNSAFE__() {}

    // An unshared copy, for handing text to another thread.
    static String Strdup(String text);

    // 0 never started, 1 running, 2 finished.
    std::atomic<int> m_state{0};
    Ref<Object> m_result;

protected:
    // Waits for the thread to end; a class whose body uses its own members calls it from its
    // destructor, before those members go.
    void Join();

private:
    std::thread m__thread;
};

class c_Thread : public VoThread {};
