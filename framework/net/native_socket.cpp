// VoSocket and VoSocketAddress on POSIX sockets.
#include "framework/net/native_socket.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Longer host names are not looked up.
constexpr int kMaxHostLength = 1024;

// The part of a buffer that [offset, offset + count) may touch, or null when offset lies
// outside it; a socket call never reads or writes past the buffer.
unsigned char* Span(VoDataBuffer* data, int offset, int* count) {
    if (!data || offset < 0 || offset > data->m_length || *count < 0) return nullptr;
    *count = std::min(*count, data->m_length - offset);
    return data->m_bytes ? data->m_bytes + offset : nullptr;
}

template <class Call>
int Retrying(Call call) {
    ssize_t n;
    do {
        n = call();
    } while (n < 0 && errno == EINTR);
    return static_cast<int>(n);
}

}  // namespace

VoSocketAddress::VoSocketAddress() {
    std::memset(&m_raw, 0, sizeof m_raw);
    m_raw.sin_family = AF_INET;
}

void VoSocketAddress::Set(String host, int port) {
    std::memset(&m_raw, 0, sizeof m_raw);
    m_raw.sin_family = AF_INET;
    m_raw.sin_port = htons(static_cast<uint16_t>(port));
    m_raw.sin_addr.s_addr = htonl(INADDR_ANY);
    m_host = host;
    if (host.Empty() || host.Length() >= kMaxHostLength) return;
    // getaddrinfo, unlike the older lookup calls, may run on any thread.
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.ToNarrow().c_str(), nullptr, &hints, &found) != 0) return;
    for (addrinfo* at = found; at; at = at->ai_next) {
        if (at->ai_family == AF_INET && at->ai_addr) {
            m_raw.sin_addr = reinterpret_cast<const sockaddr_in*>(at->ai_addr)->sin_addr;
            break;
        }
    }
    freeaddrinfo(found);
}

void VoSocketAddress::Set(const VoSocketAddress& other) {
    m_raw = other.m_raw;
    m_host = other.m_host;
}

void VoSocketAddress::SetRaw(const sockaddr_in& raw) {
    m_raw = raw;
    char text[INET_ADDRSTRLEN] = "";
    inet_ntop(AF_INET, &raw.sin_addr, text, sizeof text);
    m_host = String(text);
}

// Holds the handle for one call; the handle is -1 when the socket is closed.
class VoSocket::Use {
public:
    explicit Use(VoSocket* socket) : m_socket(socket) {
        std::lock_guard<std::mutex> guard(socket->m__lock);
        m_handle = socket->m_handle;
        if (m_handle >= 0) ++socket->m__users;
    }
    ~Use() {
        if (m_handle < 0) return;
        std::lock_guard<std::mutex> guard(m_socket->m__lock);
        if (--m_socket->m__users == 0 && m_socket->m__closing >= 0) {
            ::close(m_socket->m__closing);
            m_socket->m__closing = -1;
        }
    }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;

    int Handle() const { return m_handle; }

private:
    VoSocket* m_socket;
    int m_handle;
};

VoSocket::VoSocket(int handle, int protocol) : m_protocol(protocol), m_handle(handle) {}

VoSocket::~VoSocket() {
    Close();
    if (m_accepted >= 0) ::close(m_accepted);
}

bool VoSocket::Open(int protocol) {
    std::lock_guard<std::mutex> guard(m__lock);
    if (m_handle >= 0 || m__closing >= 0 || protocol < 1) return false;
    int handle = -1;
    if (protocol == 1 || protocol == 2) {
        handle = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (handle >= 0) {
            int on = 1;
            setsockopt(handle, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        }
    } else if (protocol == 3) {
        handle = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    }
    if (handle < 0) return false;
    m_handle = handle;
    m_protocol = protocol;
    return true;
}

void VoSocket::Close() {
    std::lock_guard<std::mutex> guard(m__lock);
    if (m_handle < 0) return;
    // Wakes a call blocked in connect, accept, recv or send on another thread.
    ::shutdown(m_handle, SHUT_RDWR);
    if (m__users == 0) {
        ::close(m_handle);
    } else {
        m__closing = m_handle;
    }
    m_handle = -1;
}

bool VoSocket::Connect(String host, int port) {
    auto address = New<VoSocketAddress>();
    address->Set(host, port);
    // 0.0.0.0 is what an unresolved name leaves; the system would take it as this machine.
    if (address->Raw().sin_addr.s_addr == htonl(INADDR_ANY)) return false;
    Use use(this);
    if (use.Handle() < 0) return false;
    const auto* raw = reinterpret_cast<const sockaddr*>(&address->Raw());
    // Not retried on EINTR: an interrupted connect goes on by itself.
    return ::connect(use.Handle(), raw, sizeof(sockaddr_in)) == 0;
}

bool VoSocket::Bind(String host, int port) {
    auto address = New<VoSocketAddress>();
    address->Set(host, port);
    Use use(this);
    if (use.Handle() < 0) return false;
    return ::bind(use.Handle(), reinterpret_cast<const sockaddr*>(&address->Raw()), sizeof(sockaddr_in)) == 0;
}

bool VoSocket::Listen(int backlog) {
    Use use(this);
    return use.Handle() >= 0 && ::listen(use.Handle(), backlog) == 0;
}

bool VoSocket::Accept() {
    int accepted;
    {
        Use use(this);
        if (use.Handle() < 0) return false;
        accepted = Retrying([&] { return ::accept(use.Handle(), nullptr, nullptr); });
    }
    std::lock_guard<std::mutex> guard(m__lock);
    // A connection nobody took is not kept open behind the new one.
    if (m_accepted >= 0) ::close(m_accepted);
    m_accepted = accepted < 0 ? -1 : accepted;
    return m_accepted >= 0;
}

Ref<VoSocket> VoSocket::Accepted() {
    std::lock_guard<std::mutex> guard(m__lock);
    if (m_accepted < 0) return nullptr;
    int handle = m_accepted;
    m_accepted = -1;
    return New<VoSocket>(handle, 1);
}

int VoSocket::Send(VoDataBuffer* data, int offset, int count) {
    unsigned char* bytes = Span(data, offset, &count);
    if (!bytes && count != 0) return -1;
    Use use(this);
    if (use.Handle() < 0) return -1;
    // MSG_NOSIGNAL: a peer that has gone is an error result, not SIGPIPE.
    return Retrying([&] { return ::send(use.Handle(), bytes, static_cast<size_t>(count), MSG_NOSIGNAL); });
}

int VoSocket::Receive(VoDataBuffer* data, int offset, int count) {
    unsigned char* bytes = Span(data, offset, &count);
    if (!bytes && count != 0) return -1;
    Use use(this);
    if (use.Handle() < 0) return -1;
    return Retrying([&] { return ::recv(use.Handle(), bytes, static_cast<size_t>(count), 0); });
}

int VoSocket::SendTo(VoDataBuffer* data, int offset, int count, VoSocketAddress* address) {
    unsigned char* bytes = Span(data, offset, &count);
    if ((!bytes && count != 0) || !address) return -1;
    Use use(this);
    if (use.Handle() < 0) return -1;
    const auto* raw = reinterpret_cast<const sockaddr*>(&address->Raw());
    return Retrying([&] {
        return ::sendto(use.Handle(), bytes, static_cast<size_t>(count), MSG_NOSIGNAL, raw, sizeof(sockaddr_in));
    });
}

int VoSocket::ReceiveFrom(VoDataBuffer* data, int offset, int count, VoSocketAddress* address) {
    unsigned char* bytes = Span(data, offset, &count);
    if ((!bytes && count != 0) || !address) return -1;
    Use use(this);
    if (use.Handle() < 0) return -1;
    sockaddr_in from{};
    socklen_t length = sizeof from;
    int n = Retrying([&] {
        length = sizeof from;
        return ::recvfrom(use.Handle(), bytes, static_cast<size_t>(count), 0, reinterpret_cast<sockaddr*>(&from),
                          &length);
    });
    if (n >= 0) address->SetRaw(from);
    return n;
}

bool VoSocket::GetLocalAddress(VoSocketAddress* address) {
    Use use(this);
    sockaddr_in raw{};
    socklen_t length = sizeof raw;
    if (!address || use.Handle() < 0 || ::getsockname(use.Handle(), reinterpret_cast<sockaddr*>(&raw), &length) != 0)
        return false;
    address->SetRaw(raw);
    return true;
}

bool VoSocket::GetRemoteAddress(VoSocketAddress* address) {
    Use use(this);
    sockaddr_in raw{};
    socklen_t length = sizeof raw;
    if (!address || use.Handle() < 0 || ::getpeername(use.Handle(), reinterpret_cast<sockaddr*>(&raw), &length) != 0)
        return false;
    address->SetRaw(raw);
    return true;
}
