// c_AsyncQueue: the ring, its worker loop and the completion walk.
#include "framework/net/async_queue.h"

#include "framework/app/error.h"

namespace {

int Next(int index) { return (index + 1) % c_AsyncQueue::kSize; }

}  // namespace

c_AsyncQueue::~c_AsyncQueue() {
    // The worker runs this object's loop over m_ops; it must end before they go.
    Join();
}

c_AsyncQueue* c_AsyncQueue::m_new(c_Socket* socket) {
    m_socket = socket;
    return this;
}

void c_AsyncQueue::p_Enqueue(c_AsyncOp* op) {
    int put = m_put.load(std::memory_order_relaxed);
    m_ops[put] = op;
    put = Next(put);
    if (put == m_get) voError(String("AsyncQueue queue overflow!"));
    m_put.store(put, std::memory_order_release);
    Start();
}

void c_AsyncQueue::Run__UNSAFE__() {
    int run = m_run.load(std::memory_order_relaxed);
    while (run != m_put.load(std::memory_order_acquire)) {
        // A plain pointer: the worker must not take or drop references.
        m_ops[run].Get()->p_Execute__UNSAFE__(m_socket);
        run = Next(run);
        m_run.store(run, std::memory_order_release);
    }
}

void c_AsyncQueue::p_UpdateAsyncEvents() {
    // Work stored just as the worker was ending would wait forever without this.
    if (m_run.load(std::memory_order_acquire) != m_put.load(std::memory_order_relaxed)) Start();
    while (m_get != m_run.load(std::memory_order_acquire)) {
        Ref<c_AsyncOp> op = std::move(m_ops[m_get]);
        m_get = Next(m_get);
        op->p_Complete(m_socket);
    }
}
