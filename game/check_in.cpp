// The start-up check-in: one GET to the check-in server announcing the game, whose reply text
// is kept and never interpreted.
#include "game/check_in.h"

#include "framework/app/error.h"
#include "game/globals.h"
#include "game/my_app.h"

String CheckInURL = String("http://checkin.floeward.example/housecall.php");

int c_MyApp::p_CheckIn() { return p_GetURL(CheckInURL, String("hello=1&gameID=") + String(GameNum)); }

int c_MyApp::p_GetURL(String url, String query) {
    m_reply = String("N/A");
    m_request = New<c_HttpRequest>();
    m_request->m_new();
    m_request->p_Open(String("GET"), url + String("?") + query, this);
    m_request->p_Send();
    voPrint(String("Requesting URL"));
    m_replied = 0;
    return 0;
}

void c_MyApp::p_OnHttpRequestComplete(c_HttpRequest* request) {
    // A completion of an earlier request, replaced since, is not the answer we wait for.
    if (request != m_request.Get()) return;
    voPrint(String("Http GET complete! ") + String(request->p_Status()));
    m_replied = 1;
    m_reply = request->p_ResponseText();
    if (!m_reply.Empty()) J_On_Able = 1;
}
