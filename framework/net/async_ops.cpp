// The connect, send and receive operations.
#include "framework/net/async_ops.h"

#include "framework/net/socket.h"
#include "framework/net/thread.h"

c_AsyncConnectOp* c_AsyncConnectOp::m_new(VoSocket* socket, String host, int port,
                                          c_IOnConnectComplete* onComplete) {
    m_socket = socket;
    m_host = VoThread::Strdup(host);
    m_port = port;
    m_onComplete = onComplete;
    return this;
}

void c_AsyncConnectOp::p_Execute__UNSAFE__(c_Socket*) { m_connected = m_socket->Connect(m_host, m_port); }

void c_AsyncConnectOp::p_Complete(c_Socket* source) {
    // A socket closed while it was connecting stays closed, even if the connect went through.
    bool connected = m_connected && source->p_IsOpen();
    if (connected) source->m_state |= 2 | 4;
    if (m_onComplete) m_onComplete->p_OnConnectComplete(connected, source);
}

c_AsyncSocketIoOp* c_AsyncSocketIoOp::m_new(VoSocket* socket, c_DataBuffer* data, int offset, int count) {
    m_socket = socket;
    m_data = data;
    m_offset = offset;
    m_count = count;
    return this;
}

c_AsyncSendOp* c_AsyncSendOp::m_new(VoSocket* socket, c_DataBuffer* data, int offset, int count,
                                    c_IOnSendComplete* onComplete) {
    c_AsyncSocketIoOp::m_new(socket, data, offset, count);
    m_onComplete = onComplete;
    return this;
}

void c_AsyncSendOp::p_Execute__UNSAFE__(c_Socket*) { m_count = m_socket->Send(m_data.Get(), m_offset, m_count); }

void c_AsyncSendOp::p_Complete(c_Socket* source) {
    if (m_onComplete) m_onComplete->p_OnSendComplete(m_data.Get(), m_offset, m_count, source);
}

c_AsyncReceiveOp* c_AsyncReceiveOp::m_new(VoSocket* socket, c_DataBuffer* data, int offset, int count,
                                          c_IOnReceiveComplete* onComplete) {
    c_AsyncSocketIoOp::m_new(socket, data, offset, count);
    m_onComplete = onComplete;
    return this;
}

void c_AsyncReceiveOp::p_Execute__UNSAFE__(c_Socket*) {
    m_count = m_socket->Receive(m_data.Get(), m_offset, m_count);
}

void c_AsyncReceiveOp::p_Complete(c_Socket* source) {
    if (m_onComplete) m_onComplete->p_OnReceiveComplete(m_data.Get(), m_offset, m_count, source);
}
