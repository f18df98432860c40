// c_Socket: state checks around the two operation queues.
#include "framework/net/socket.h"

#include "framework/app/error.h"

c_Socket::~c_Socket() {
    // Shutting down returns any worker blocked in this socket, so the queues can be joined.
    if (m_socket) m_socket->Close();
    vo_asyncevent_RemoveAsyncEventSource(this);
}

c_Socket* c_Socket::m_new(String protocol) {
    if (protocol == String("stream")) {
        m_proto = 1;
    } else if (protocol == String("server")) {
        m_proto = 2;
    } else if (protocol == String("datagram")) {
        m_proto = 3;
    } else {
        voError(String("Illegal socket protocol"));
    }
    m_socket = New<VoSocket>();
    if (!m_socket->Open(m_proto)) voError(String("Socket open failed"));
    m_state = kOpen;
    p_Start();
    return this;
}

c_Socket* c_Socket::m_new2(VoSocket* socket, int protocol, int state) {
    m_socket = socket;
    m_proto = protocol;
    m_state = state;
    p_Start();
    return this;
}

void c_Socket::p_Start() {
    m_readQueue = New<c_AsyncQueue>()->m_new(this);
    m_writeQueue = New<c_AsyncQueue>()->m_new(this);
    vo_asyncevent_AddAsyncEventSource(this);
}

void c_Socket::p_ConnectAsync(String host, int port, c_IOnConnectComplete* onComplete) {
    if (!p_IsOpen() || p_IsConnected() || p_IsListening()) return;
    m_readQueue->p_Enqueue(New<c_AsyncConnectOp>()->m_new(m_socket.Get(), host, port, onComplete));
}

void c_Socket::p_SendAsync(c_DataBuffer* data, int offset, int count, c_IOnSendComplete* onComplete) {
    if (!p_IsConnected()) return;
    m_writeQueue->p_Enqueue(New<c_AsyncSendOp>()->m_new(m_socket.Get(), data, offset, count, onComplete));
}

void c_Socket::p_ReceiveAsync(c_DataBuffer* data, int offset, int count, c_IOnReceiveComplete* onComplete) {
    if (!p_IsConnected()) return;
    m_readQueue->p_Enqueue(New<c_AsyncReceiveOp>()->m_new(m_socket.Get(), data, offset, count, onComplete));
}

void c_Socket::p_Close() {
    if (m_socket) m_socket->Close();
    m_state = 0;
}

void c_Socket::p_UpdateAsyncEvents() {
    m_readQueue->p_UpdateAsyncEvents();
    m_writeQueue->p_UpdateAsyncEvents();
}
