// The loopback test server and the completion pump.
#include "net_test_support.h"

#include <arpa/inet.h>
#include <chrono>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "framework/app/object.h"
#include "framework/net/async_event.h"

namespace {

using Clock = std::chrono::steady_clock;

bool WaitReadable(int fd, Clock::time_point until) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, left > 0 ? static_cast<int>(left) : 0) > 0;
}

bool RequestComplete(const std::string& request) {
    size_t head = request.find("\r\n\r\n");
    if (head == std::string::npos) return false;
    size_t length = request.find("Content-Length: ");
    size_t body = length < head ? std::stoul(request.substr(length + 16)) : 0;
    return request.size() >= head + 4 + body;
}

}  // namespace

LoopbackServer::LoopbackServer(ServerScript script) : m_script(std::move(script)) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(m_script.port));
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(fd, 4) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(fd);
        return;
    }
    m_listen = fd;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

std::string LoopbackServer::Finish() {
    if (m_thread.joinable()) m_thread.join();
    if (m_listen >= 0) close(m_listen);
    m_listen = -1;
    return m_request;
}

void LoopbackServer::Serve() {
    auto deadline = Clock::now() + std::chrono::milliseconds(kTestDeadlineMs);
    int client = WaitReadable(m_listen, deadline) ? accept(m_listen, nullptr, nullptr) : -1;
    if (client < 0) return;
    char block[4096];
    bool open = true;
    while (open && !RequestComplete(m_request) && WaitReadable(client, deadline)) {
        ssize_t n = recv(client, block, sizeof block, 0);
        open = n > 0;
        if (open) m_request.append(block, static_cast<size_t>(n));
    }
    for (size_t i = 0; open && i < m_script.replies.size(); ++i) {
        if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(m_script.gapMs));
        send(client, m_script.replies[i].data(), m_script.replies[i].size(), MSG_NOSIGNAL);
    }
    auto holdUntil = std::min(deadline, Clock::now() + std::chrono::milliseconds(m_script.holdMs));
    while (open && WaitReadable(client, holdUntil)) open = recv(client, block, sizeof block, 0) > 0;
    close(client);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        vo_asyncevent_UpdateAsyncEvents();
        if (done()) return true;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}

void RedirectStdoutToStderr() { dup2(STDERR_FILENO, STDOUT_FILENO); }

void NetTest::TearDown() {
    gc_collect();
    EXPECT_TRUE(vo_asyncevent__sources.empty()) << "a socket outlived its test";
}
