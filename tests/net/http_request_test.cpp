// The HTTP client: the request head it sends and how it reads responses, both over a
// scripted socket (to split responses at will) and over real loopback connections.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/net/http_request.h"
#include "net_test_support.h"
#include "scripted_socket.h"

namespace {

class Completion : public c_IOnHttpRequestComplete {
public:
    void p_OnHttpRequestComplete(c_HttpRequest* request) override {
        ++m_count;
        m_status = request->p_Status();
        m_text = request->p_ResponseText();
    }
    int m_count = 0;
    int m_status = 0;
    String m_text;
};

// A request whose connect has just succeeded on a scripted socket.
struct Scripted {
    explicit Scripted(const char* url = "http://h/") {
        request = New<c_HttpRequest>()->m_new2(String("GET"), String(url), &completion);
        socket = New<ScriptedSocket>()->Init();
        request->m_socket = socket;
        request->p_OnConnectComplete(true, socket.Get());
    }
    Completion completion;
    Ref<c_HttpRequest> request;
    Ref<ScriptedSocket> socket;
};

const std::string kResponse = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nX-Note: a b\r\n\r\nhello";

using HttpRequest = NetTest;

TEST_F(HttpRequest, SendsTheExactGetHead) {
    Scripted s("http://h/p.php?a=1");
    EXPECT_EQ(s.socket->m_sent, "GET /p.php?a=1 HTTP/1.0\r\nHost: h\r\n\r\n");
    EXPECT_EQ(s.request->m_url->p_Port(), 80);
    EXPECT_TRUE(s.request->m_headers.empty());
    EXPECT_TRUE(s.socket->ReceivePending());
}

TEST_F(HttpRequest, SendsAHeadLongerThanTheBufferWhole) {
    std::string path(5000, 'p');
    Scripted s(("http://h/" + path).c_str());
    std::string expected = "GET /" + path + " HTTP/1.0\r\nHost: h\r\n\r\n";
    EXPECT_EQ(s.socket->m_sent, expected);
}

TEST_F(HttpRequest, ReadsAResponseSplitAtEveryByte) {
    for (size_t split = 0; split <= kResponse.size(); ++split) {
        SCOPED_TRACE(split);
        Scripted s;
        ASSERT_TRUE(s.socket->Deliver(kResponse.substr(0, split)));
        ASSERT_TRUE(s.socket->Deliver(kResponse.substr(split)));
        EXPECT_EQ(s.completion.m_count, 0) << "complete only when the server closes";
        s.socket->Hangup();
        EXPECT_EQ(s.completion.m_count, 1);
        EXPECT_EQ(s.completion.m_status, 200);
        EXPECT_EQ(s.completion.m_text, String("hello"));
        EXPECT_EQ(s.request->m_bytesReceived, 5);
        EXPECT_EQ(s.request->m_headers.back(), String("X-Note: a b"));
        EXPECT_FALSE(s.socket->p_IsOpen());
    }
    Scripted bytewise;
    for (char c : kResponse) ASSERT_TRUE(bytewise.socket->Deliver(std::string(1, c)));
    bytewise.socket->Hangup();
    EXPECT_EQ(bytewise.completion.m_status, 200);
    EXPECT_EQ(bytewise.completion.m_text, String("hello"));
}

TEST_F(HttpRequest, ResponseOutcomes) {
    struct Case {
        const char* name;
        std::vector<std::string> receives;  // then the server closes
        int status;
        std::u16string text;
    };
    const Case cases[] = {
        {"not HTTP", {"ICY 200 OK\r\n\r\nmusic"}, -1, u""},
        {"no status line", {"\r\nHTTP/1.1 200 OK\r\n\r\nx"}, -1, u""},
        {"status line of two parts", {"HTTP/1.0 404\r\n\r\nx"}, -1, u""},
        {"closed before the head ends", {"HTTP/1.1 200 OK\r\nX: y\r\n"}, -1, u""},
        {"closed at once", {}, -1, u""},
        {"empty body", {"HTTP/1.1 200 OK\r\n\r\n"}, 200, u""},
        {"any code, any case", {"http/1.0 301 Moved Permanently\r\n\r\nthere"}, 301, u"there"},
        {"bare line feeds", {"HTTP/1.1 200 OK\nA: b\n\nbody"}, 200, u"body"},
        {"body in pieces", {"HTTP/1.1 200 OK\r\n\r\nab", "cd", "e"}, 200, u"abcde"},
        {"utf8 body", {"HTTP/1.1 200 OK\r\n\r\nh\xc3\xa9"}, 200, u"h\u00e9"},
        // Each receive is decoded on its own, so a character cut in two falls back to bytes.
        {"utf8 cut across receives", {"HTTP/1.1 200 OK\r\n\r\nh\xc3", "\xa9!"}, 200, u"h\u00c3\u00a9!"},
        // A head line that fills the whole receive buffer cannot be read further.
        {"endless head line", {"HTTP/1.1 200 OK\r\nX: " + std::string(20000, 'x')}, -1, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scripted s;
        for (const std::string& bytes : c.receives) s.socket->Deliver(bytes);
        s.socket->Hangup();
        EXPECT_EQ(s.completion.m_count, 1);
        EXPECT_EQ(s.completion.m_status, c.status);
        EXPECT_EQ(s.completion.m_text, String(c.text));
        EXPECT_FALSE(s.socket->ReceivePending());
    }
}

TEST_F(HttpRequest, GetOverLoopback) {
    LoopbackServer server({.replies = {"HTTP/1.1 200 OK\r\nCont", "ent-Length: 5\r\n\r", "\nhel", "lo"}, .gapMs = 20});
    Completion completion;
    std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/p.php?a=1";
    Ref<c_HttpRequest> request = New<c_HttpRequest>()->m_new2(String("GET"), String(url), &completion);
    request->p_Send();
    ASSERT_TRUE(PumpUntil([&] { return completion.m_count > 0; }));
    EXPECT_EQ(server.Finish(), "GET /p.php?a=1 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_EQ(completion.m_status, 200);
    EXPECT_EQ(completion.m_text, String("hello"));
    PumpFor(20);
    EXPECT_EQ(completion.m_count, 1);
}

TEST_F(HttpRequest, PortWithoutPathRequestsTheRoot) {
    LoopbackServer server({.replies = {"HTTP/1.0 204 No Content\r\n\r\n"}, .port = 8080});
    if (!server.Listening()) GTEST_SKIP() << "port 8080 is taken on this machine";
    Completion completion;
    Ref<c_HttpRequest> request = New<c_HttpRequest>()->m_new2(String("GET"), String("127.0.0.1:8080"), &completion);
    request->p_Send();
    ASSERT_TRUE(PumpUntil([&] { return completion.m_count > 0; }));
    EXPECT_EQ(server.Finish(), "GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_EQ(completion.m_status, 204);
}

TEST_F(HttpRequest, PostSendsHeadersAndBody) {
    LoopbackServer server({.replies = {"HTTP/1.1 201 Created\r\n\r\nok"}});
    Completion completion;
    std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/submit";
    Ref<c_HttpRequest> request = New<c_HttpRequest>()->m_new2(String("POST"), String(url), &completion);
    request->p_Send2(String(u"a=\u00e9"), String("text/plain"), String("utf8"));
    ASSERT_TRUE(PumpUntil([&] { return completion.m_count > 0; }));
    EXPECT_EQ(server.Finish(),
              "POST /submit HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Type: text/plain\r\nContent-Length: 4\r\n\r\n"
              "a=\xc3\xa9");
    EXPECT_EQ(completion.m_status, 201);
    EXPECT_EQ(completion.m_text, String("ok"));
}

TEST_F(HttpRequest, UnreachableServerFinishesWithMinusOne) {
    Completion completion;
    std::string url = "http://" + std::string(70, 'x') + ".invalid/";
    Ref<c_HttpRequest> request = New<c_HttpRequest>()->m_new2(String("GET"), String(url), &completion);
    request->p_Send();
    ASSERT_TRUE(PumpUntil([&] { return completion.m_count > 0; }));
    EXPECT_EQ(completion.m_status, -1);
    EXPECT_EQ(completion.m_text, String());
}

}  // namespace
