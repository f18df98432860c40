// Native sockets on 127.0.0.1, and c_Socket's asynchronous connect, send, receive and close.
#include <arpa/inet.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "framework/net/native_socket.h"
#include "framework/net/socket.h"
#include "net_test_support.h"

namespace {

using Clock = std::chrono::steady_clock;

Ref<c_DataBuffer> Text(const std::string& text) {
    Ref<c_DataBuffer> buffer = New<c_DataBuffer>()->m_new(static_cast<int>(text.size()));
    buffer->p_PokeString(0, String(text), String("ascii"));
    return buffer;
}

std::string Read(c_DataBuffer* buffer, int offset, int count) {
    return std::string(reinterpret_cast<const char*>(buffer->m_bytes) + offset, static_cast<size_t>(count));
}

int MsSince(Clock::time_point start) {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

class Recorder : public c_IOnConnectComplete, public c_IOnSendComplete, public c_IOnReceiveComplete {
public:
    void p_OnConnectComplete(bool connected, c_Socket*) override { m_connects.push_back(connected); }
    void p_OnSendComplete(c_DataBuffer*, int, int count, c_Socket*) override { m_sends.push_back(count); }
    void p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket*) override {
        m_receives.push_back(count);
        if (count > 0) m_received += Read(data, offset, count);
    }
    std::vector<bool> m_connects;
    std::vector<int> m_sends;
    std::vector<int> m_receives;
    std::string m_received;
};

// A stream socket connected to port, with a receive of 16 bytes waiting.
Ref<c_Socket> ReceivingFrom(int port, Recorder& recorder) {
    Ref<c_Socket> socket = New<c_Socket>()->m_new(String("stream"));
    socket->p_ConnectAsync(String("127.0.0.1"), port, &recorder);
    EXPECT_TRUE(PumpUntil([&] { return !recorder.m_connects.empty(); }));
    socket->p_ReceiveAsync(New<c_DataBuffer>()->m_new(16), 0, 16, &recorder);
    PumpFor(50);
    EXPECT_TRUE(recorder.m_receives.empty()) << "the server sends nothing";
    return socket;
}

const String kUnresolvable = String(std::string(70, 'x') + ".invalid");  // refused before any query

using NativeSocket = NetTest;

TEST_F(NativeSocket, StreamAndDatagramOnLoopback) {
    Ref<VoSocket> server = New<VoSocket>();
    EXPECT_FALSE(server->Open(4));
    ASSERT_TRUE(server->Open(2));
    EXPECT_FALSE(server->Open(2)) << "already open";
    ASSERT_TRUE(server->Bind(String("127.0.0.1"), 0));
    ASSERT_TRUE(server->Listen(4));
    Ref<VoSocketAddress> local = New<VoSocketAddress>();
    Ref<VoSocketAddress> remote = New<VoSocketAddress>();
    ASSERT_TRUE(server->GetLocalAddress(local.Get()));

    Ref<VoSocket> client = New<VoSocket>();
    ASSERT_TRUE(client->Open(1));
    ASSERT_TRUE(client->Connect(String("127.0.0.1"), local->Port()));
    ASSERT_TRUE(server->Accept());
    Ref<VoSocket> peer = server->Accepted();
    ASSERT_TRUE(peer);
    ASSERT_TRUE(client->GetRemoteAddress(remote.Get()));
    EXPECT_EQ(remote->Port(), local->Port());

    Ref<c_DataBuffer> out = Text("..hello..");
    EXPECT_EQ(client->Send(out.Get(), 2, 5), 5);
    EXPECT_EQ(client->Send(out.Get(), 7, 100), 2) << "cut at the buffer's end";
    EXPECT_EQ(client->Send(out.Get(), 10, 1), -1) << "offset outside the buffer";
    Ref<c_DataBuffer> in = New<c_DataBuffer>()->m_new(32);
    for (int got = 0; got < 7;) {
        int n = peer->Receive(in.Get(), got, 32 - got);
        ASSERT_GT(n, 0);
        got += n;
    }
    EXPECT_EQ(Read(in.Get(), 0, 7), "hello..");
    client->Close();
    EXPECT_EQ(peer->Receive(in.Get(), 0, 16), 0) << "peer closed";
    EXPECT_EQ(client->Send(out.Get(), 0, 1), -1) << "closed";

    Ref<VoSocket> a = New<VoSocket>();
    Ref<VoSocket> b = New<VoSocket>();
    ASSERT_TRUE(a->Open(3) && b->Open(3));
    ASSERT_TRUE(a->Bind(String("127.0.0.1"), 0) && b->Bind(String("127.0.0.1"), 0));
    ASSERT_TRUE(a->GetLocalAddress(local.Get()) && b->GetLocalAddress(remote.Get()));
    EXPECT_EQ(a->SendTo(Text("datagram").Get(), 0, 8, remote.Get()), 8);
    Ref<VoSocketAddress> from = New<VoSocketAddress>();
    EXPECT_EQ(b->ReceiveFrom(in.Get(), 4, 28, from.Get()), 8);
    EXPECT_EQ(Read(in.Get(), 4, 8), "datagram");
    EXPECT_EQ(from->Port(), local->Port()) << "the sender's address is stored";
}

using Socket = NetTest;
using SocketDeathTest = NetDeathTest;

TEST_F(Socket, ConnectSendReceiveAndPeerClose) {
    LoopbackServer server({.replies = {"pong"}});
    Recorder recorder;
    Ref<c_Socket> socket = New<c_Socket>()->m_new(String("stream"));
    Ref<c_DataBuffer> in = New<c_DataBuffer>()->m_new(64);
    // Not connected yet: dropped without a callback.
    socket->p_SendAsync(in.Get(), 0, 8, &recorder);
    socket->p_ReceiveAsync(in.Get(), 0, 8, &recorder);
    socket->p_ConnectAsync(String("127.0.0.1"), server.Port(), &recorder);
    // The state bits change when the completion is delivered, not when the worker connects.
    auto deadline = Clock::now() + std::chrono::milliseconds(kTestDeadlineMs);
    while (socket->m_readQueue->m_run.load() == 0 && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(socket->p_IsConnected());
    ASSERT_TRUE(PumpUntil([&] { return !recorder.m_connects.empty(); }));
    EXPECT_EQ(socket->m_state, 1 | 2 | 4);

    socket->p_ConnectAsync(String("127.0.0.1"), server.Port(), &recorder);  // connected: dropped
    socket->p_SendAsync(Text("ping\r\n\r\n").Get(), 0, 8, &recorder);
    socket->p_ReceiveAsync(in.Get(), 10, 54, &recorder);
    ASSERT_TRUE(PumpUntil([&] { return recorder.m_receives.size() == 1 && recorder.m_sends.size() == 1; }));
    // The server closes after its reply: the next receive completes with 0.
    socket->p_ReceiveAsync(in.Get(), 0, 64, &recorder);
    ASSERT_TRUE(PumpUntil([&] { return recorder.m_receives.size() == 2; }));
    EXPECT_EQ(server.Finish(), "ping\r\n\r\n");
    EXPECT_EQ(recorder.m_received, "pong");
    EXPECT_EQ(recorder.m_receives, std::vector<int>({4, 0}));
    EXPECT_EQ(recorder.m_sends, std::vector<int>({8}));

    socket->p_Close();
    EXPECT_EQ(socket->m_state, 0);
    socket->p_ConnectAsync(String("127.0.0.1"), server.Port(), &recorder);  // closed: dropped
    PumpFor(20);
    EXPECT_EQ(recorder.m_connects, std::vector<bool>({true}));
}

TEST_F(Socket, ConnectFailuresCompleteWithFalse) {
    Ref<VoSocketAddress> address = New<VoSocketAddress>();
    address->Set(kUnresolvable, 80);
    EXPECT_EQ(address->Raw().sin_addr.s_addr, htonl(INADDR_ANY));
    // Nothing listens on a port that was just released.
    int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in free{};
    free.sin_family = AF_INET;
    free.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof free;
    ASSERT_EQ(bind(probe, reinterpret_cast<sockaddr*>(&free), length), 0);
    ASSERT_EQ(getsockname(probe, reinterpret_cast<sockaddr*>(&free), &length), 0);
    close(probe);
    int port = ntohs(free.sin_port);
    for (const String& host : {kUnresolvable, String("127.0.0.1")}) {
        Recorder recorder;
        Ref<c_Socket> socket = New<c_Socket>()->m_new(String("stream"));
        socket->p_ConnectAsync(host, port, &recorder);
        ASSERT_TRUE(PumpUntil([&] { return !recorder.m_connects.empty(); }));
        EXPECT_EQ(recorder.m_connects, std::vector<bool>({false}));
        EXPECT_EQ(socket->m_state, 1);
    }
}

TEST_F(Socket, CloseOrReclaimWakesABlockedReceive) {
    LoopbackServer server({});
    Recorder recorder;
    Ref<c_Socket> socket = ReceivingFrom(server.Port(), recorder);
    auto start = Clock::now();
    socket->p_Close();
    ASSERT_TRUE(PumpUntil([&] { return !recorder.m_receives.empty(); }));
    EXPECT_LT(MsSince(start), 1000);
    EXPECT_LE(recorder.m_receives[0], 0);

    LoopbackServer second({});
    Recorder dropped;
    socket = ReceivingFrom(second.Port(), dropped);
    start = Clock::now();
    socket = nullptr;
    gc_collect();  // joins the worker, which must not stay blocked
    EXPECT_LT(MsSince(start), 1000);
}

TEST_F(Socket, CloseWakesABlockedConnect) {
    // A listener whose backlog is full ignores new connection requests, so a connect to it
    // waits; the raw connects fill the backlog.
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(listen(listener, 0), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    std::vector<int> fillers;
    for (int i = 0; i < 4; ++i) {
        fillers.push_back(socket(AF_INET, SOCK_STREAM, 0));
        fcntl(fillers.back(), F_SETFL, O_NONBLOCK);
        connect(fillers.back(), reinterpret_cast<sockaddr*>(&address), length);
    }
    Recorder recorder;
    Ref<c_Socket> blocked = New<c_Socket>()->m_new(String("stream"));
    blocked->p_ConnectAsync(String("127.0.0.1"), ntohs(address.sin_port), &recorder);
    PumpFor(300);
    bool held = recorder.m_connects.empty();
    auto start = Clock::now();
    blocked->p_Close();
    bool completed = PumpUntil([&] { return !recorder.m_connects.empty(); });
    int elapsed = MsSince(start);
    for (int fd : fillers) close(fd);
    close(listener);
    if (!held) GTEST_SKIP() << "this system completed the connect despite the full backlog";
    ASSERT_TRUE(completed);
    EXPECT_LT(elapsed, 1000);
    EXPECT_EQ(recorder.m_connects, std::vector<bool>({false}));
    EXPECT_FALSE(blocked->p_IsConnected());
}

TEST_F(SocketDeathTest, IllegalProtocolAndExitWithABlockedWorker) {
    EXPECT_EXIT(
        {
            RedirectStdoutToStderr();
            New<c_Socket>()->m_new(String("raw"));
        },
        ::testing::ExitedWithCode(255), "Zembra Runtime Error : Illegal socket protocol");
    EXPECT_EXIT(
        {
            LoopbackServer server({});
            Recorder recorder;
            Ref<c_Socket> socket = ReceivingFrom(server.Port(), recorder);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
