// The framework socket: a native socket with one queue for connect and receive and one for
// send, polled as an asynchronous event source.
#pragma once

#include "framework/net/async_event.h"
#include "framework/net/async_queue.h"
#include "framework/net/native_socket.h"
#include "framework/net/socket_callbacks.h"

class c_Socket : public Object, public c_IAsyncEventSource {
public:
    // State bits.
    static constexpr int kOpen = 1;
    static constexpr int kConnected = 4;
    static constexpr int kListening = 8;

    ~c_Socket() override;

    // "stream", "server" or "datagram".
    c_Socket* m_new(String protocol);
    c_Socket* m_new2(VoSocket* socket, int protocol, int state);
    void p_Start();

    bool p_IsOpen() { return (m_state & kOpen) != 0; }
    bool p_IsConnected() { return (m_state & kConnected) != 0; }
    bool p_IsListening() { return (m_state & kListening) != 0; }

    // Each is dropped without a callback when the socket is in the wrong state.
    virtual void p_ConnectAsync(String host, int port, c_IOnConnectComplete* onComplete);
    virtual void p_SendAsync(c_DataBuffer* data, int offset, int count, c_IOnSendComplete* onComplete);
    virtual void p_ReceiveAsync(c_DataBuffer* data, int offset, int count, c_IOnReceiveComplete* onComplete);
    virtual void p_Close();
    void p_UpdateAsyncEvents() override;

    Ref<VoSocket> m_socket;
    int m_proto = 0;
    int m_state = 0;
    Ref<c_AsyncQueue> m_readQueue;
    Ref<c_AsyncQueue> m_writeQueue;
};
