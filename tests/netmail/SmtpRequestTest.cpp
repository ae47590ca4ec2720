// The checks of a mail request, the sessions, and the client's lifecycle.
// Winsock before anything of the C library or windows.h (and without the
// min and max macros, which the C++ library would trip over).
#define NOMINMAX
#include <winsock2.h>

#include "QlGTest.h"

#include "SmtpTestSupport.h"

#include <string.h>
#include <functional>
#include <string>

namespace {

// A loopback port that accepts connections and never answers.
class SilentListener {
public:
    SilentListener()
    {
        socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in a;
        memset(&a, 0, sizeof(a));
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = inet_addr("127.0.0.1");
        bind(socket_, (sockaddr *)&a, sizeof(a));
        listen(socket_, 16);
        int size = sizeof(a);
        getsockname(socket_, (sockaddr *)&a, &size);
        port = ntohs(a.sin_port);
    }
    ~SilentListener() { closesocket(socket_); }
    int port = 0;

private:
    SOCKET socket_;
};

}  // namespace

TEST_F(SmtpTest, RequestChecks)
{
    SilentListener server;
    const std::string a80(80, 'a'), a81(81, 'a'), s99(99, 's'), s100(100, 's');
    const std::string missing = folder_.winFile("missing.pdf");
    const std::string cyrillic80(80, '\xE0'), accented80(80, '\xE9');
    struct Case {
        const char *what;
        std::function<void(QlMailRequestRec &)> change;
        int code;
    } cases[] = {
        {"a plain request", [](QlMailRequestRec &) {}, 0},
        {"no host and no address", [](QlMailRequestRec &r) { r.ip_address = NULL; }, 5},
        {"empty host and address", [](QlMailRequestRec &r) { r.ip_address = ""; r.host = ""; }, 5},
        {"address of 16 characters", [](QlMailRequestRec &r) { r.ip_address = "127.000.000.001."; }, 5},
        {"host of 81 characters", [&](QlMailRequestRec &r) { r.host = a81.c_str(); }, 5},
        {"host ignored for the address", [&](QlMailRequestRec &r) { r.host = "nowhere.invalid"; }, 0},
        {"no sender", [](QlMailRequestRec &r) { r.from = NULL; }, 5},
        {"empty sender", [](QlMailRequestRec &r) { r.from = ""; }, 5},
        {"sender of 80", [&](QlMailRequestRec &r) { r.from = a80.c_str(); }, 0},
        {"sender of 81", [&](QlMailRequestRec &r) { r.from = a81.c_str(); }, 5},
        {"no body", [](QlMailRequestRec &r) { r.body = NULL; }, 5},
        {"body length 0", [](QlMailRequestRec &r) { r.body_len = 0; }, 5},
        {"no event function", [](QlMailRequestRec &r) { r.event_cb = NULL; }, 5},
        {"no To address", [](QlMailRequestRec &r) { r.to_count = 0; }, 0},
        {"51 To addresses", [](QlMailRequestRec &r) { r.to_count = 51; }, 5},
        {"51 CC addresses", [](QlMailRequestRec &r) { r.cc_count = 51; }, 5},
        {"To of 80", [&](QlMailRequestRec &r) { r.to[0] = a80.c_str(); }, 0},
        {"To of 81", [&](QlMailRequestRec &r) { r.to[0] = a81.c_str(); }, 5},
        {"empty To entry", [](QlMailRequestRec &r) { r.to[0] = ""; }, 5},
        {"missing To entry", [](QlMailRequestRec &r) { r.to_count = 2; }, 5},
        {"CC of 80", [&](QlMailRequestRec &r) { r.cc[0] = a80.c_str(); r.cc_count = 1; }, 0},
        {"empty CC entry", [](QlMailRequestRec &r) { r.cc[0] = ""; r.cc_count = 1; }, 5},
        {"subject of 80", [&](QlMailRequestRec &r) { r.subject = a80.c_str(); }, 0},
        {"subject of 81", [&](QlMailRequestRec &r) { r.subject = a81.c_str(); }, 5},
        {"CR in the sender", [](QlMailRequestRec &r) { r.from = "a@b\rRCPT TO:<x@y>"; }, 5},
        {"LF in a To address", [](QlMailRequestRec &r) { r.to[0] = "a@b\nDATA"; }, 5},
        {"LF in a CC address", [](QlMailRequestRec &r) { r.cc[0] = "a@b\n"; r.cc_count = 1; }, 5},
        {"CR LF in the subject", [](QlMailRequestRec &r) { r.subject = "Hi\r\nBcc: x@y"; }, 5},
        {"angle bracket in the sender", [](QlMailRequestRec &r) { r.from = "a@b> RCPT TO:<c@d"; }, 5},
        {"angle bracket in a To address", [](QlMailRequestRec &r) { r.to[0] = "<a@b"; }, 5},
        {"angle bracket in the subject", [](QlMailRequestRec &r) { r.subject = "<1> >2<"; }, 0},
        {"user of 99", [&](QlMailRequestRec &r) { r.use_auth = 1; r.user = s99.c_str(); r.password = "p"; }, 0},
        {"user of 100", [&](QlMailRequestRec &r) { r.use_auth = 1; r.user = s100.c_str(); r.password = "p"; }, 5},
        {"password of 100", [&](QlMailRequestRec &r) { r.use_auth = 1; r.user = "u"; r.password = s100.c_str(); }, 5},
        {"no user", [](QlMailRequestRec &r) { r.use_auth = 1; r.password = "p"; }, 5},
        {"LF in the user", [](QlMailRequestRec &r) { r.use_auth = 1; r.user = "u\nQUIT"; r.password = "p"; }, 5},
        {"CR in the password", [](QlMailRequestRec &r) { r.use_auth = 1; r.user = "u"; r.password = "p\r"; }, 5},
        {"long user without AUTH", [&](QlMailRequestRec &r) { r.user = s100.c_str(); }, 0},
        {"attachment without a path", [](QlMailRequestRec &r) { r.has_attachment = 1; r.attachment_path = ""; }, 5},
        {"attachment missing", [&](QlMailRequestRec &r) { r.has_attachment = 1; r.attachment_path = missing.c_str(); }, 10},
        // Encoded words on folded lines: every subject the dialog takes fits.
        {"encoded subject of 80", [&](QlMailRequestRec &r) { r.subject_encode = 1; r.subject = cyrillic80.c_str(); }, 0},
        {"accented subject of 80", [&](QlMailRequestRec &r) { r.subject = accented80.c_str(); }, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QlMailRequestRec r = NetBaseRequest(server.port);
        r.cc[0] = "copy@quillory.test";
        c.change(r);
        QlSmtpSessionRec *session = (QlSmtpSessionRec *)0x1;
        EXPECT_EQ(c.code, QlSmtpSend(&r, &session));
        EXPECT_EQ(c.code == 0 ? 1 : 0, SessionsInUse());
        if (c.code != 0) {
            EXPECT_EQ((QlSmtpSessionRec *)0x1, session) << "the out session is written only on success";
        } else {
            QlSmtpFreeSession(session);
        }
    }
    QlMailRequestRec r = NetBaseRequest(server.port);
    QlSmtpSessionRec *session = NULL;
    EXPECT_EQ(5, QlSmtpSend(NULL, &session));
    EXPECT_EQ(5, QlSmtpSend(&r, NULL));
    EXPECT_TRUE(gNetSmtpLog.events.empty()) << "a refused send raises no event";
}

TEST_F(SmtpTest, ThreeSessionsAndTheClientsLifecycle)
{
    SilentListener server;
    QlMailRequestRec r = NetBaseRequest(server.port);
    QlSmtpSessionRec *sessions[3] = {};
    for (QlSmtpSessionRec *&s : sessions) ASSERT_EQ(0, QlSmtpSend(&r, &s));
    QlSmtpSessionRec *fourth = NULL;
    EXPECT_EQ(7, QlSmtpSend(&r, &fourth));
    EXPECT_EQ(1, QlSmtpInit()) << "a second init changes nothing";
    EXPECT_EQ(3, SessionsInUse());
    EXPECT_EQ(5, QlSmtpQuit(NULL));
    EXPECT_EQ(0, QlSmtpShutdown());
    EXPECT_EQ(2, QlSmtpShutdown());
    EXPECT_EQ(2, QlSmtpPump());
    EXPECT_EQ(2, QlSmtpSend(&r, &fourth));
    EXPECT_EQ(2, QlSmtpQuit(sessions[0]));
    ASSERT_EQ(0, QlSmtpInit()) << "the client starts again after a shutdown";
    EXPECT_EQ(9, QlSmtpContinue(&gQlSmtp->sessions[0])) << "a session not in use";

    char text[128];
    struct {
        int code;
        const char *text;
    } texts[] = {{0, "success"},      {5, "invalid parameters"}, {8, "failed to connect to server"},
                 {11, ""},            {12, "unknown"},           {-1, "unknown"},
                 {1000, "unknown"},   {10, "file open error"}};
    for (const auto &t : texts) {
        QlSmtpErrorText(text, t.code);
        EXPECT_STREQ(t.text, text) << t.code;
    }
}

TEST_F(SmtpTest, ShutdownFreesSessionsAndClosesTheAttachment)
{
    SilentListener server;
    std::string path = folder_.winFile("invoice.pdf");
    ASSERT_TRUE(NetWriteFile(path, std::string(5000, 'p')));
    QlMailRequestRec r = NetBaseRequest(server.port);
    r.has_attachment = 1;
    r.attachment_path = path.c_str();
    QlSmtpSessionRec *session = NULL;
    ASSERT_EQ(0, QlSmtpSend(&r, &session));
    HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_EQ(INVALID_HANDLE_VALUE, other) << "the attachment is held without sharing while it is sent";
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    EXPECT_EQ(0, QlSmtpShutdown());
    other = CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_NE(INVALID_HANDLE_VALUE, other) << "the shutdown closed it";
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    EXPECT_TRUE(gNetSmtpLog.events.empty()) << "no event for sessions ended by the shutdown";
    ASSERT_EQ(0, QlSmtpInit());
}

TEST_F(SmtpTest, ARefusedConnectionEndsAsClosed)
{
    // Not known at once: the socket layer reports it later.  The host name
    // is resolved (localhost, from the hosts file).
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a;
    memset(&a, 0, sizeof(a));
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = inet_addr("127.0.0.1");
    bind(probe, (sockaddr *)&a, sizeof(a));
    int size = sizeof(a);
    getsockname(probe, (sockaddr *)&a, &size);
    closesocket(probe);
    QlMailRequestRec r = NetBaseRequest(ntohs(a.sin_port));
    r.host = "localhost";
    r.ip_address = NULL;
    EXPECT_EQ(SMTP_EV_CLOSED, SendAndWait(r));
    EXPECT_EQ(0, SessionsInUse());
}

TEST(SmtpClient, AFailedInitLeavesNothingBehind)
{
    // The socket layer already running makes the client's start fail.
    int tls = 0;
    ASSERT_EQ(1, ZrSockInit(&tls));
    EXPECT_EQ(3, QlSmtpInit());
    EXPECT_EQ(2, QlSmtpShutdown()) << "the failed start was undone";
    EXPECT_EQ(0, ZrSockIsInitialised());
    EXPECT_EQ(0, QlSmtpInit()) << "and the next start works";
    EXPECT_EQ(0, QlSmtpShutdown());
}
