// The TLS half of the socket layer against openssl s_server on loopback:
// a round trip, and the certificate checks for each test certificate.
// Winsock before anything of the C library or windows.h (and without the
// min and max macros, which the C++ library would trip over).
#define NOMINMAX
#include <winsock2.h>

#include "QlGTest.h"

#include "NetTestSupport.h"
#include "netmail/ZrSockInternal.h"

#include <string.h>
#include <string>

namespace {

class SslTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(NetTestCerts().winDir.empty()) << "test certificates";
        int tls = 1;
        ASSERT_EQ(1, ZrSockInit(&tls));
    }
    void TearDown() override
    {
        ZrSockCleanup();
    }

    // openssl s_server with the named certificate, answering each line
    // reversed; its port.
    int StartServer(NetPeer &server, const char *name)
    {
        const NetCerts &c = NetTestCerts();
        return server.startListening({"/usr/bin/openssl", "s_server", "-accept", "127.0.0.1:0", "-cert",
                                      c.native((std::string(name) + ".pem").c_str()), "-key",
                                      c.native((std::string(name) + ".key").c_str()), "-rev"},
                                     15000, true);
    }

    ZrSockSlotRec *Connect(int port)
    {
        ZrSockSlotRec *slot = NULL;
        if (ZrSockTcpConnect("127.0.0.1", (uint16_t)port, &slot) != 1) return NULL;
        char buffer[2048];
        for (int i = 0; i < 5000; i++) {
            int kind, length;
            if (ZrSockTcpPoll(slot, &kind, buffer, &length) == 1) return kind == ZR_EV_CONNECTED ? slot : NULL;
            Sleep(1);
        }
        return NULL;
    }

    bool WaitHandshake(ZrSockSlotRec *slot, int *encrypted, char *text)
    {
        for (int i = 0; i < 5000; i++) {
            int done = 0;
            if (ZrSockGetSecureInfo(slot, &done, encrypted, text) == 1 && done) return true;
            Sleep(1);
        }
        return false;
    }

    ZrSockSecureParamRec Params(const char *serverName, bool withCa = true)
    {
        ZrSockSecureParamRec p;
        memset(&p, 0, sizeof(p));
        p.method = 3;
        caFile_ = NetTestCerts().windows("ca.pem");
        p.caFile = withCa ? caFile_.c_str() : NULL;
        p.serverName = serverName;
        return p;
    }

    std::string caFile_;
};

}  // namespace

TEST_F(SslTest, RoundTripWithPlaintextQueuedDuringTheHandshake)
{
    NetPeer server;
    int port = StartServer(server, "good");
    ASSERT_GT(port, 0);
    ZrSockSlotRec *slot = Connect(port);
    ASSERT_TRUE(slot);
    ZrSockSecureParamRec p = Params("localhost");
    ASSERT_EQ(1, ZrSockTcpSwitchToSecureMode(slot, &p));
    void *engine = slot->sslConnection;
    EXPECT_EQ(1, ZrSockTcpSwitchToSecureMode(slot, &p)) << "a second switch";
    EXPECT_EQ(engine, slot->sslConnection) << "keeps its engine";

    int queued = 0;
    ASSERT_EQ(1, ZrSockTcpSend(slot, "first line\n", 11, &queued));
    ASSERT_EQ(1, ZrSockTcpSend(slot, "second\n", 7, &queued));
    int encrypted = -1;
    char text[256] = "";
    ASSERT_TRUE(WaitHandshake(slot, &encrypted, text));
    EXPECT_EQ(1, encrypted);
    EXPECT_NE(nullptr, strstr(text, "TLS")) << text;

    std::string got;
    char buffer[2048];
    for (int i = 0; i < 5000 && got.size() < 18; i++) {
        int kind, length;
        if (ZrSockTcpPoll(slot, &kind, buffer, &length) == 1 && kind == ZR_EV_DATA) got.append(buffer, length);
        else Sleep(1);
    }
    EXPECT_EQ("enil tsrif\ndnoces\n", got) << "held back during the handshake, then sent in order";
    EXPECT_EQ(1, ZrSockClose(slot));
    char untouched[256] = "untouched";
    EXPECT_EQ(16, ZrSockCheckHostName(slot, "localhost", untouched));
    EXPECT_STREQ("untouched", untouched);
}

TEST_F(SslTest, HandshakeNotFinishedRightAfterTheSwitch)
{
    NetPeer server;
    int port = StartServer(server, "good");
    ASSERT_GT(port, 0);
    ZrSockSlotRec *slot = Connect(port);
    ASSERT_TRUE(slot);
    // With reception paused the server's answer never reaches the engine:
    // however the threads are scheduled, the handshake cannot be done.
    ASSERT_EQ(1, ZrSockSetReceive(slot, 0));
    ZrSockSecureParamRec p = Params("localhost");
    ASSERT_EQ(1, ZrSockTcpSwitchToSecureMode(slot, &p));
    Sleep(20);   // passes of the send thread: the client's first message goes out
    int done = -1, encrypted = -1;
    char text[256];
    ASSERT_EQ(1, ZrSockGetSecureInfo(slot, &done, &encrypted, text));
    EXPECT_EQ(0, done);
    EXPECT_EQ(0, encrypted);
    ASSERT_EQ(1, ZrSockSetReceive(slot, 1));
    EXPECT_TRUE(WaitHandshake(slot, &encrypted, text)) << "done once the answer is read";
    EXPECT_EQ(1, encrypted);
}

TEST_F(SslTest, CertificateChecks)
{
    struct Case {
        const char *cert;
        const char *host;
        bool withCa;
        int verified;        // chain and name
        const char *reason;  // part of the failure text
    } cases[] = {
        {"good", "localhost", true, 1, ""},
        {"good", "LocalHost", true, 1, ""},
        {"good", "127.0.0.1", true, 1, ""},
        {"good", "mail.quillory.test", true, 0, "Common name doesn't match host name"},
        {"good", "localhost", false, 0, "x509 rc=20"},       // the test CA is not in the system's store
        {"wrong", "localhost", true, 0, "Common name doesn't match host name"},
        {"wild", "mail.quillory.test", true, 1, ""},
        {"wild", "quillory.test", true, 0, "Common name doesn't match host name"},
        {"wild", "a.mail.quillory.test", true, 0, "Common name doesn't match host name"},
        {"expired", "localhost", true, 0, "x509 rc=10"},
        {"rogue", "localhost", true, 0, "x509 rc=20"},
    };
    std::string current;
    NetPeer server;
    int port = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.cert) + " for " + c.host);
        if (current != c.cert) {
            server.stop();
            port = StartServer(server, c.cert);
            current = c.cert;
        }
        ASSERT_GT(port, 0);
        ZrSockSlotRec *slot = Connect(port);
        ASSERT_TRUE(slot);
        ZrSockSecureParamRec p = Params(c.host, c.withCa);
        ASSERT_EQ(1, ZrSockTcpSwitchToSecureMode(slot, &p));
        int encrypted = 0;
        char text[256] = "";
        ASSERT_TRUE(WaitHandshake(slot, &encrypted, text));
        char reason[256] = "";
        EXPECT_EQ(c.verified, ZrSockVerifyCert(slot, c.host, reason));
        EXPECT_NE(nullptr, strstr(reason, c.reason)) << reason;
        if (c.withCa && strstr(c.reason, "x509") == NULL) {
            char nameReason[256] = "";
            EXPECT_EQ(c.verified, ZrSockCheckHostName(slot, c.host, nameReason)) << nameReason;
        }
        ZrSockClose(slot);
    }
}

TEST(SslLayer, SwitchNeedsTlsAndAConnectedSlot)
{
    int tls = 0;
    ASSERT_EQ(1, ZrSockInit(&tls));
    ZrSockSecureParamRec p;
    memset(&p, 0, sizeof(p));
    EXPECT_EQ(13, ZrSockTcpSwitchToSecureMode(NULL, NULL)) << "the layer runs without TLS";
    char text[256] = "";
    EXPECT_EQ(0, ZrSockCheckHostName((ZrSockSlotRec *)1, "x", text));
    EXPECT_STREQ("SSL not enabled", text);
    ZrSockCleanup();

    tls = 1;
    ASSERT_EQ(1, ZrSockInit(&tls));
    // A slot that is not connected: its connection was refused.
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a;
    memset(&a, 0, sizeof(a));
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = inet_addr("127.0.0.1");
    bind(probe, (sockaddr *)&a, sizeof(a));
    int size = sizeof(a);
    getsockname(probe, (sockaddr *)&a, &size);
    closesocket(probe);
    ZrSockSlotRec *slot = NULL;
    ASSERT_EQ(1, ZrSockTcpConnect("127.0.0.1", ntohs(a.sin_port), &slot));
    EXPECT_EQ(17, ZrSockTcpSwitchToSecureMode(slot, &p));
    ZrSockCleanup();
    EXPECT_EQ(0, ZrSockVerifyCert((ZrSockSlotRec *)1, "x", text));
    EXPECT_STREQ("socket layer not initialized", text);
}
