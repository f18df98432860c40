// The operation queue and the async-event module: ordering, where completions run,
// overflow, re-entrancy and registration.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "framework/net/async_event.h"
#include "framework/net/socket.h"
#include "net_test_support.h"

namespace {

// Records where and in which order operations run.
struct Journal {
    std::thread::id mainThread = std::this_thread::get_id();
    std::atomic<int> executed{0};
    std::atomic<bool> executedOnMain{false};
    std::vector<int> completed;
    bool completedOffMain = false;
};

class RecordingOp : public c_AsyncOp {
public:
    RecordingOp(Journal* journal, int id, std::atomic<bool>* gate = nullptr)
        : m_journal(journal), m_id(id), m_gate(gate) {}

    void p_Execute__UNSAFE__(c_Socket*) override {
        while (m_gate && !m_gate->load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (std::this_thread::get_id() == m_journal->mainThread) m_journal->executedOnMain = true;
        m_journal->executed.fetch_add(1);
    }
    void p_Complete(c_Socket*) override {
        if (std::this_thread::get_id() != m_journal->mainThread) m_journal->completedOffMain = true;
        m_journal->completed.push_back(m_id);
        if (m_onComplete) m_onComplete();
    }

    std::function<void()> m_onComplete;

private:
    Journal* m_journal;
    int m_id;
    std::atomic<bool>* m_gate;
};

// Waits for the worker without completing anything. A worker that was ending just as more
// work came leaves that work for the next update to restart it; here Start does that part.
bool WaitExecuted(Journal& journal, int count, c_AsyncQueue* queue) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTestDeadlineMs);
    while (journal.executed.load() < count) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        queue->Start();
    }
    return true;
}

using AsyncQueue = NetTest;
using AsyncQueueDeathTest = NetDeathTest;

TEST_F(AsyncQueue, CompletesOnlyInsideUpdateAndInEnqueueOrder) {
    Journal journal;
    Ref<c_Socket> socket = New<c_Socket>()->m_new(String("stream"));
    c_AsyncQueue* queue = socket->m_readQueue.Get();
    // Four batches of 200 take the indices round the ring several times.
    int next = 0;
    for (int batch = 0; batch < 4; ++batch) {
        for (int i = 0; i < 200; ++i) queue->p_Enqueue(New<RecordingOp>(&journal, next++).Get());
        ASSERT_TRUE(WaitExecuted(journal, next, queue));
        EXPECT_EQ(journal.completed.size(), static_cast<size_t>(batch * 200)) << "completed outside the update";
        vo_asyncevent_UpdateAsyncEvents();
    }
    ASSERT_EQ(journal.completed.size(), 800u);
    for (int i = 0; i < 800; ++i) ASSERT_EQ(journal.completed[static_cast<size_t>(i)], i);
    EXPECT_FALSE(journal.executedOnMain);
    EXPECT_FALSE(journal.completedOffMain);

    // An operation the worker has not finished stays queued, and so do those behind it.
    std::atomic<bool> gate{false};
    socket->m_writeQueue->p_Enqueue(New<RecordingOp>(&journal, 1000, &gate).Get());
    queue->p_Enqueue(New<RecordingOp>(&journal, 1001).Get());
    PumpUntil([&] { return journal.completed.size() == 801; });
    PumpFor(20);
    EXPECT_EQ(journal.completed.back(), 1001);
    gate = true;
    ASSERT_TRUE(PumpUntil([&] { return journal.completed.size() == 802; }));
    EXPECT_EQ(journal.completed.back(), 1000);
}

TEST_F(AsyncQueue, UpdateFromInsideACompletionDoesNothing) {
    Journal journal;
    Ref<c_Socket> socket = New<c_Socket>()->m_new(String("stream"));
    Ref<RecordingOp> first = New<RecordingOp>(&journal, 1);
    size_t seenInside = 0;
    first->m_onComplete = [&] {
        vo_asyncevent_UpdateAsyncEvents();
        seenInside = journal.completed.size();
    };
    socket->m_readQueue->p_Enqueue(first.Get());
    socket->m_readQueue->p_Enqueue(New<RecordingOp>(&journal, 2).Get());
    ASSERT_TRUE(WaitExecuted(journal, 2, socket->m_readQueue.Get()));
    vo_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(seenInside, 1u);
    EXPECT_EQ(journal.completed, std::vector<int>({1, 2}));
}

TEST_F(AsyncQueueDeathTest, OverflowAndDoubleRegistrationAreFatal) {
    EXPECT_EXIT(
        {
            RedirectStdoutToStderr();
            Journal journal;
            Ref<c_Socket> socket = New<c_Socket>()->m_new(String("stream"));
            c_AsyncQueue* queue = socket->m_readQueue.Get();
            // Completed operations free their slots; 255 outstanding ones are accepted.
            for (int i = 0; i < 200; ++i) queue->p_Enqueue(New<RecordingOp>(&journal, i).Get());
            if (!WaitExecuted(journal, 200, queue)) std::exit(3);
            vo_asyncevent_UpdateAsyncEvents();
            for (int i = 0; i < 255; ++i) queue->p_Enqueue(New<RecordingOp>(&journal, i).Get());
            std::fputs("255 accepted\n", stderr);
            queue->p_Enqueue(New<RecordingOp>(&journal, 255).Get());
            std::exit(4);
        },
        ::testing::ExitedWithCode(255), "255 accepted\n.*Zembra Runtime Error : AsyncQueue queue overflow!");
    EXPECT_EXIT(
        {
            RedirectStdoutToStderr();
            Ref<c_Socket> socket = New<c_Socket>()->m_new(String("stream"));
            vo_asyncevent_AddAsyncEventSource(socket.Get());
        },
        ::testing::ExitedWithCode(255), "Zembra Runtime Error : Async event source is already active");
}

}  // namespace
