// VoThread over std::thread.
#include "framework/net/thread.h"

#include <cstdio>
#include <system_error>
#include <unistd.h>

VoThread::~VoThread() { Join(); }

void VoThread::Start() {
    if (m_state.load(std::memory_order_acquire) == 1) return;
    // A finished thread is still joinable; collect it before starting the next one.
    Join();
    m_result = nullptr;
    m_state.store(1, std::memory_order_relaxed);
    try {
        m__thread = std::thread([this] {
            Run__UNSAFE__();
            m_state.store(2, std::memory_order_release);
        });
    } catch (const std::system_error&) {
        std::fputs("CreateThread failed!\n", stdout);
        std::fflush(stdout);
        _exit(-1);
    }
}

bool VoThread::IsRunning() { return m_state.load(std::memory_order_acquire) == 1; }

Object* VoThread::Result() { return m_result.Get(); }

void VoThread::SetResult(Object* result) { m_result = result; }

String VoThread::Strdup(String text) { return String(std::u16string(text.View())); }

void VoThread::Join() {
    if (m__thread.joinable()) m__thread.join();
}
