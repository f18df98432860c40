// c_HttpRequest: the request head, and the response read as a head of lines and a body.
#include "framework/net/http_request.h"

#include <algorithm>
#include <string>

#include "framework/net/socket.h"

namespace {

// Drops space and control characters (so also the "\r" of a line) from both ends.
String Trim(const String& line) {
    int from = 0;
    int to = line.Length();
    while (from < to && line[from] <= 32) ++from;
    while (to > from && line[to - 1] <= 32) --to;
    return line.Slice(from, to);
}

String ToUpper(const String& text) {
    std::u16string units(text.View());
    for (auto& c : units) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    }
    return String(std::move(units));
}

std::vector<String> Split(const String& text, const String& separator) {
    std::vector<String> parts;
    int at = 0;
    for (int hit = text.Find(separator); hit >= 0; hit = text.Find(separator, at)) {
        parts.push_back(text.Slice(at, hit));
        at = hit + separator.Length();
    }
    parts.push_back(text.Slice(at));
    return parts;
}

String Join(const std::vector<String>& parts, const String& separator) {
    std::u16string joined;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) joined.append(separator.View());
        joined.append(parts[i].View());
    }
    return String(std::move(joined));
}

}  // namespace

c_HttpRequest::c_HttpRequest() = default;
c_HttpRequest::~c_HttpRequest() = default;

c_HttpRequest* c_HttpRequest::m_new() {
    m_sendBuffer = New<c_DataBuffer>()->m_new(kSendBufferSize);
    m_recvBuffer = New<c_DataBuffer>()->m_new(kRecvBufferSize);
    return this;
}

c_HttpRequest* c_HttpRequest::m_new2(String method, String url, c_IOnHttpRequestComplete* onComplete) {
    m_new();
    p_Open(method, url, onComplete);
    return this;
}

void c_HttpRequest::p_Open(String method, String url, c_IOnHttpRequestComplete* onComplete) {
    m_req = method;
    m_onComplete = onComplete;
    m_url = New<c_Url>()->m_new(url, String("http"), 80);
    m_status = -1;
    m_body = nullptr;
    m_bodyLength = 0;
    m_response.reset();
    m_responseText = String();
    m_bytesReceived = 0;
    m_headers.clear();
    m_headers.push_back(method + String(" ") + m_url->p_FullPath() + String(" HTTP/1.0"));
    m_headers.push_back(String("Host: ") + m_url->p_Domain());
}

void c_HttpRequest::p_Send() {
    m_socket = New<c_Socket>()->m_new(String("stream"));
    m_socket->p_ConnectAsync(m_url->p_Domain(), m_url->p_Port(), this);
}

void c_HttpRequest::p_Send2(String data, String mimeType, String encoding) {
    m_body = New<c_DataBuffer>()->m_new(data.Length() * 3);
    m_bodyLength = m_body->p_PokeString(0, data, encoding);
    if (!mimeType.Empty()) m_headers.push_back(String("Content-Type: ") + mimeType);
    m_headers.push_back(String("Content-Length: ") + String(m_bodyLength));
    p_Send();
}

void c_HttpRequest::p_OnConnectComplete(bool connected, c_Socket*) {
    if (!connected) {
        p_Finish();
        return;
    }
    m_headers.push_back(String());
    m_headers.push_back(String());
    String head = Join(m_headers, String("\r\n"));
    m_headers.clear();
    // A head that does not fit the usual buffer gets one of its own rather than being cut.
    if (head.Length() > m_sendBuffer->Length()) m_sendBuffer = New<c_DataBuffer>()->m_new(head.Length());
    int length = m_sendBuffer->p_PokeString(0, head, String("ascii"));
    if (m_socket && m_socket->p_IsConnected()) m_socket->p_SendAsync(m_sendBuffer.Get(), 0, length, this);
    p_ReceiveMore(0);
}

void c_HttpRequest::p_OnSendComplete(c_DataBuffer*, int, int, c_Socket*) {
    if (m_bodyLength != 0 && m_socket && m_socket->p_IsConnected())
        m_socket->p_SendAsync(m_body.Get(), 0, m_bodyLength, this);
    m_bodyLength = 0;
}

void c_HttpRequest::p_OnReceiveComplete(c_DataBuffer*, int offset, int count, c_Socket*) {
    if (count <= 0) {
        p_Finish();
        return;
    }
    // The received bytes always lie in m_recvBuffer, where this object asked for them.
    offset = std::clamp(offset, 0, kRecvBufferSize);
    int end = offset + std::min(count, kRecvBufferSize - offset);
    if (m_response) {
        p_ReceiveBody(offset, end - offset);
        p_ReceiveMore(0);
        return;
    }
    const unsigned char* bytes = m_recvBuffer->m_bytes;
    int lineStart = 0;
    // The bytes before offset are an unfinished line: no "\n" among them.
    for (int i = offset; i < end; ++i) {
        if (bytes[i] != '\n') continue;
        String line = Trim(m_recvBuffer->p_PeekString(lineStart, i - lineStart, String("ascii")));
        lineStart = i + 1;
        if (!line.Empty()) {
            m_headers.push_back(line);
            continue;
        }
        if (!p_ParseStatus()) {
            p_Finish();
            return;
        }
        m_response.emplace();
        if (lineStart < end) p_ReceiveBody(lineStart, end - lineStart);
        p_ReceiveMore(0);
        return;
    }
    int rest = end - lineStart;
    m_recvBuffer->p_CopyBytes(lineStart, m_recvBuffer.Get(), 0, rest);
    p_ReceiveMore(rest);
}

bool c_HttpRequest::p_ParseStatus() {
    if (m_headers.empty()) return false;
    std::vector<String> parts = Split(ToUpper(m_headers[0]), String(" "));
    if (parts.size() < 3 || !parts[0].StartsWith(String("HTTP/"))) return false;
    m_status = parts[1].ToInt();
    return true;
}

void c_HttpRequest::p_ReceiveBody(int offset, int count) {
    m_bytesReceived += count;
    m_response->push_back(m_recvBuffer->p_PeekString(offset, count, String("utf8")));
}

void c_HttpRequest::p_ReceiveMore(int offset) {
    if (m_socket && m_socket->p_IsConnected())
        m_socket->p_ReceiveAsync(m_recvBuffer.Get(), offset, kRecvBufferSize - offset, this);
}

void c_HttpRequest::p_Finish() {
    if (m_socket) m_socket->p_Close();
    if (m_response) m_responseText = Join(*m_response, String());
    if (m_onComplete) m_onComplete->p_OnHttpRequestComplete(this);
}
