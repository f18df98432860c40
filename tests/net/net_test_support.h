// Shared pieces of the networking tests: a one-connection loopback server that stops by
// itself, a main-thread pump for completions, and the fixtures.
#pragma once

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

// Every wait of the tests ends by this bound.
constexpr int kTestDeadlineMs = 5000;

struct ServerScript {
    std::vector<std::string> replies;  // sent in order once the request head (and body) is read
    int gapMs = 0;                     // pause between replies, so that they arrive apart
    int holdMs = 0;                    // then stay connected this long, or until the peer closes
    int port = 0;                      // 0: any free port
};

// Listens on 127.0.0.1 and serves one connection on its own thread; every wait is bounded.
class LoopbackServer {
public:
    explicit LoopbackServer(ServerScript script);
    ~LoopbackServer() { Finish(); }

    bool Listening() const { return m_listen >= 0; }
    int Port() const { return m_port; }
    // Waits for the server to end and returns the bytes it read.
    std::string Finish();

private:
    void Serve();

    ServerScript m_script;
    int m_listen = -1;
    int m_port = 0;
    std::string m_request;
    std::thread m_thread;
};

// Calls vo_asyncevent_UpdateAsyncEvents until done() holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = kTestDeadlineMs);
void PumpFor(int ms);

// The runtime error goes to standard output; a death test matches standard error.
void RedirectStdoutToStderr();

// Checks that every socket of a test has been reclaimed and has left the event list.
class NetTest : public ::testing::Test {
protected:
    void TearDown() override;
};

// With worker threads about, a death test's child must re-run the test from the start.
class NetDeathTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};
