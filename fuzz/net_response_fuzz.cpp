// Feeds arbitrary bytes, split into arbitrary receives, to the HTTP response reader.
// Input: a sequence of [length - 1][length bytes] receives; the server closes at the end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/net/http_request.h"
#include "tests/net/scripted_socket.h"

namespace {

class Completion : public c_IOnHttpRequestComplete {
public:
    void p_OnHttpRequestComplete(c_HttpRequest*) override { ++m_count; }
    int m_count = 0;
};

void Check(bool holds) {
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Completion completion;
    Ref<c_HttpRequest> request = New<c_HttpRequest>()->m_new2(String("GET"), String("http://h/"), &completion);
    Ref<ScriptedSocket> socket = New<ScriptedSocket>()->Init();
    request->m_socket = socket;
    request->p_OnConnectComplete(true, socket.Get());

    size_t at = 0;
    size_t delivered = 0;
    while (at < size && completion.m_count == 0 && socket->ReceivePending()) {
        size_t length = static_cast<size_t>(data[at++]) + 1;
        if (length > size - at) length = size - at;
        socket->Deliver(std::string(reinterpret_cast<const char*>(data + at), length));
        delivered += length;
        at += length;
    }
    socket->Hangup();

    // Exactly one completion, whatever arrived; the body never holds more than arrived.
    Check(completion.m_count == 1);
    Check(!socket->p_IsOpen());
    Check(request->m_bytesReceived >= 0 && static_cast<size_t>(request->m_bytesReceived) <= delivered);
    Check(request->p_ResponseText().Length() <= request->m_bytesReceived);
    if (!request->m_response) Check(request->p_Status() == -1 && request->p_ResponseText().Empty());

    request = nullptr;
    socket = nullptr;
    gc_collect();
    return 0;
}
