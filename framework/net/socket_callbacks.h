// The receivers of socket completions; each is called on the main thread.
#pragma once

class c_DataBuffer;
class c_Socket;

class c_IOnConnectComplete {
public:
    virtual ~c_IOnConnectComplete() = default;
    virtual void p_OnConnectComplete(bool connected, c_Socket* source) = 0;
};

class c_IOnSendComplete {
public:
    virtual ~c_IOnSendComplete() = default;
    virtual void p_OnSendComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) = 0;
};

class c_IOnReceiveComplete {
public:
    virtual ~c_IOnReceiveComplete() = default;
    virtual void p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) = 0;
};
