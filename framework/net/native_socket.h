// Thin wrappers over one BSD socket and one IPv4 socket address.
#pragma once

#include <mutex>
#include <netinet/in.h>

#include "framework/app/object.h"
#include "framework/net/data_buffer.h"

class VoSocketAddress : public Object {
public:
    VoSocketAddress();

    // Resolves host (IPv4); an empty host or one that does not resolve gives 0.0.0.0.
    void Set(String host, int port);
    void Set(const VoSocketAddress& other);
    void SetRaw(const sockaddr_in& raw);

    String Host() const { return m_host; }
    int Port() const { return ntohs(m_raw.sin_port); }
    const sockaddr_in& Raw() const { return m_raw; }

private:
    sockaddr_in m_raw;
    String m_host;
};

// Calls may come from a worker thread while the main thread closes the socket. Close shuts
// the socket down first, so that a call blocked in it returns, and the descriptor itself is
// released only when no call is using it any more, so that a worker never reaches a
// descriptor number that has been reused.
class VoSocket : public Object {
public:
    VoSocket() = default;
    // Wraps a connected handle (from Accept).
    VoSocket(int handle, int protocol);
    ~VoSocket() override;

    // 1 stream, 2 server (both TCP with TCP_NODELAY), 3 datagram (UDP).
    bool Open(int protocol);
    void Close();
    bool Connect(String host, int port);
    bool Bind(String host, int port);
    bool Listen(int backlog);
    // Waits for a connection and keeps its handle for Accepted.
    bool Accept();
    // A socket around the last accepted handle, or null.
    Ref<VoSocket> Accepted();

    int Send(VoDataBuffer* data, int offset, int count);
    int Receive(VoDataBuffer* data, int offset, int count);
    int SendTo(VoDataBuffer* data, int offset, int count, VoSocketAddress* address);
    // Stores the sender's address into address.
    int ReceiveFrom(VoDataBuffer* data, int offset, int count, VoSocketAddress* address);

    bool GetLocalAddress(VoSocketAddress* address);
    bool GetRemoteAddress(VoSocketAddress* address);

    int m_protocol = 0;  // as given to Open

private:
    class Use;

    std::mutex m__lock;
    int m_handle = -1;
    int m_accepted = -1;
    int m__users = 0;
    int m__closing = -1;  // shut down, closed by the last call still using it
};
