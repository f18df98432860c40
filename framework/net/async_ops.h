// Socket operations that run a blocking call on a queue's worker thread and report on the
// main thread.
#pragma once

#include "framework/app/object.h"
#include "framework/net/data_buffer.h"
#include "framework/net/native_socket.h"
#include "framework/net/socket_callbacks.h"

class c_Socket;

class c_AsyncOp : public Object {
public:
    // Main thread, after the worker has executed the operation.
    virtual void p_Complete(c_Socket* source) = 0;
    // Worker thread: touches only the operation, its native socket and its buffer.
    virtual void p_Execute__UNSAFE__(c_Socket* source) = 0;
};

class c_AsyncConnectOp : public c_AsyncOp {
public:
    c_AsyncConnectOp* m_new(VoSocket* socket, String host, int port, c_IOnConnectComplete* onComplete);
    void p_Complete(c_Socket* source) override;
    void p_Execute__UNSAFE__(c_Socket* source) override;

    Ref<VoSocket> m_socket;
    String m_host;
    int m_port = 0;
    c_IOnConnectComplete* m_onComplete = nullptr;
    bool m_connected = false;
};

class c_AsyncSocketIoOp : public c_AsyncOp {
public:
    c_AsyncSocketIoOp* m_new(VoSocket* socket, c_DataBuffer* data, int offset, int count);

    Ref<VoSocket> m_socket;
    Ref<c_DataBuffer> m_data;
    int m_offset = 0;
    int m_count = 0;
};

class c_AsyncSendOp : public c_AsyncSocketIoOp {
public:
    c_AsyncSendOp* m_new(VoSocket* socket, c_DataBuffer* data, int offset, int count, c_IOnSendComplete* onComplete);
    void p_Complete(c_Socket* source) override;
    void p_Execute__UNSAFE__(c_Socket* source) override;

    c_IOnSendComplete* m_onComplete = nullptr;
};

class c_AsyncReceiveOp : public c_AsyncSocketIoOp {
public:
    c_AsyncReceiveOp* m_new(VoSocket* socket, c_DataBuffer* data, int offset, int count,
                            c_IOnReceiveComplete* onComplete);
    void p_Complete(c_Socket* source) override;
    void p_Execute__UNSAFE__(c_Socket* source) override;

    c_IOnReceiveComplete* m_onComplete = nullptr;
};
