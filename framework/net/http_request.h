// A minimal HTTP/1.0 client: one request per object, the response collected until the
// server closes the connection.
#pragma once

#include <optional>
#include <vector>

#include "framework/net/data_buffer.h"
#include "framework/net/socket_callbacks.h"
#include "framework/net/url.h"

class c_HttpRequest;
// Known here by name only, so that users of the client do not see the sockets underneath.
class c_Socket;

class c_IOnHttpRequestComplete {
public:
    virtual ~c_IOnHttpRequestComplete() = default;
    virtual void p_OnHttpRequestComplete(c_HttpRequest* request) = 0;
};

// The object must stay alive until its completion: the socket's callbacks point at it.
class c_HttpRequest : public Object,
                      public c_IOnConnectComplete,
                      public c_IOnSendComplete,
                      public c_IOnReceiveComplete {
public:
    static constexpr int kSendBufferSize = 4096;
    static constexpr int kRecvBufferSize = 16384;

    // Both defined where c_Socket is complete, as dropping m_socket needs it.
    c_HttpRequest();
    ~c_HttpRequest() override;
    c_HttpRequest* m_new();
    c_HttpRequest* m_new2(String method, String url, c_IOnHttpRequestComplete* onComplete);

    void p_Open(String method, String url, c_IOnHttpRequestComplete* onComplete);
    void p_Send();
    void p_Send2(String data, String mimeType, String encoding);
    int p_Status() { return m_status; }
    String p_ResponseText() { return m_responseText; }

    void p_OnConnectComplete(bool connected, c_Socket* source) override;
    void p_OnSendComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) override;
    void p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) override;
    void p_Finish();

    String m_req;
    Ref<c_Url> m_url;
    c_IOnHttpRequestComplete* m_onComplete = nullptr;
    Ref<c_DataBuffer> m_body;
    int m_bodyLength = 0;
    int m_status = -1;
    // Absent until the status line has been parsed.
    std::optional<std::vector<String>> m_response;
    String m_responseText;
    int m_bytesReceived = 0;
    std::vector<String> m_headers;
    Ref<c_Socket> m_socket;
    Ref<c_DataBuffer> m_sendBuffer;
    Ref<c_DataBuffer> m_recvBuffer;

private:
    // Takes the status line from the collected head; false when it is missing or not HTTP.
    bool p_ParseStatus();
    void p_ReceiveBody(int offset, int count);
    void p_ReceiveMore(int offset);
};
