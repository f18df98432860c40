// A worker thread with a ring of pending socket operations: they execute in order on the
// worker and complete in the same order on the main thread.
#pragma once

#include <array>
#include <atomic>

#include "framework/net/async_event.h"
#include "framework/net/async_ops.h"
#include "framework/net/thread.h"

class c_Socket;

// Single producer (the main thread) and single consumer (the worker), without a lock: the
// main thread publishes a stored operation by moving m_put, the worker publishes an executed
// one by moving m_run.
class c_AsyncQueue : public c_Thread, public c_IAsyncEventSource {
public:
    static constexpr int kSize = 256;

    ~c_AsyncQueue() override;

    c_AsyncQueue* m_new(c_Socket* socket);
    // At most kSize - 1 operations may be outstanding; one more is a runtime error.
    void p_Enqueue(c_AsyncOp* op);
    void Run__UNSAFE__() override;
    void p_UpdateAsyncEvents() override;

    c_Socket* m_socket = nullptr;  // the owner
    std::array<Ref<c_AsyncOp>, kSize> m_ops;
    std::atomic<int> m_put{0};
    int m_get = 0;
    std::atomic<int> m_run{0};
};
