// The check-in against a loopback server: the request on the wire, the log lines, what a
// reply with and without text leaves, and that only the latest request counts.
#include "game/check_in.h"
#include "game_fixture.h"
#include "net/net_test_support.h"

namespace {

class CheckIn : public game_test::GameTest {
protected:
    void TearDown() override {
        CheckInURL = m_savedUrl;
        GameTest::TearDown();
    }
    String Url(const LoopbackServer& server) {
        return String(("http://127.0.0.1:" + std::to_string(server.Port()) + "/housecall.php").c_str());
    }
    // Runs updates until the reply is in; the log they printed.
    std::string AwaitReply() {
        testing::internal::CaptureStdout();
        PumpUntil([this] {
            Pass();
            return app->m_replied == 1;
        });
        return testing::internal::GetCapturedStdout();
    }

private:
    String m_savedUrl = CheckInURL;
};

TEST_F(CheckIn, ATextReplyArrivesInAnUpdateAndMarksTheServerAble) {
    LoopbackServer server({{"HTTP/1.0 200 OK\r\n\r\nok"}});
    CheckInURL = Url(server);
    testing::internal::CaptureStdout();
    app->p_CheckIn();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Requesting URL\n");
    EXPECT_TRUE(app->m_reply == String("N/A"));
    EXPECT_EQ(AwaitReply(), "Http GET complete! 200\n");
    EXPECT_TRUE(app->m_reply == String("ok"));
    EXPECT_EQ(J_On_Able, 1);
    EXPECT_EQ(server.Finish().rfind("GET /housecall.php?hello=1&gameID=415 HTTP/1.0\r\n", 0), 0u);
}

TEST_F(CheckIn, AnEmptyReplyIsKeptButDoesNotMarkTheServerAble) {
    LoopbackServer server({{"HTTP/1.0 200 OK\r\n\r\n"}});
    testing::internal::CaptureStdout();
    app->p_GetURL(Url(server), String("hello=1&gameID=415"));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(AwaitReply(), "Http GET complete! 200\n");
    EXPECT_TRUE(app->m_reply.Empty());
    EXPECT_EQ(J_On_Able, 0);
}

TEST_F(CheckIn, OnlyTheLatestRequestIsAnswered) {
    LoopbackServer first({{"HTTP/1.0 200 OK\r\n\r\nfirst"}});
    LoopbackServer second({{"HTTP/1.0 201 Created\r\n\r\nsecond"}});
    testing::internal::CaptureStdout();
    app->p_GetURL(Url(first), String("hello=1&gameID=415"));
    app->p_GetURL(Url(second), String("hello=1&gameID=415"));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(AwaitReply(), "Http GET complete! 201\n");
    EXPECT_TRUE(app->m_reply == String("second"));
    testing::internal::CaptureStdout();
    for (int i = 0; i < 5; ++i) Pass();
    EXPECT_EQ(testing::internal::GetCapturedStdout().find("Http GET"), std::string::npos);
}

TEST_F(CheckIn, IsNotSentAtStartAsBuilt) {
    // The fixture has started the game with the switch at its start value, 0.
    EXPECT_EQ(J_On_Allow, 0);
    EXPECT_FALSE(app->m_request);
    EXPECT_TRUE(app->m_reply == String("N/A"));
}

}  // namespace
