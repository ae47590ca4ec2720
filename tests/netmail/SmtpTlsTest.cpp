// Mail over verified TLS: bad certificates refuse the send in both TLS
// modes, and a real server (aiosmtpd) receives a mail with a PDF attachment
// over STARTTLS with AUTH LOGIN, checked with Python's email package.
#include "SmtpTestSupport.h"

#include <string.h>
#include <map>
#include <string>
#include <vector>

namespace {

bool Contains(const std::vector<std::string> &lines, const std::string &wanted)
{
    for (const std::string &line : lines)
        if (line.compare(0, wanted.size(), wanted) == 0) return true;
    return false;
}

}  // namespace

TEST_F(SmtpTest, BadCertificatesRefuseTheSendInBothTlsModes)
{
    const NetCerts &c = NetTestCerts();
    struct Case {
        const char *cert;
        int tlsMode;
        const char *host;
        int terminal;
        const char *reason;
    } cases[] = {
        {"good", 2, "localhost", SMTP_EV_SENT, ""},
        {"good", 2, "", SMTP_EV_SENT, ""},   // no host: the address is checked
        {"wild", 1, "mail.quillory.test", SMTP_EV_SENT, ""},
        {"wrong", 2, "localhost", SMTP_EV_LOCAL_ERROR, "Bad peer certificate: Common name doesn't match host name"},
        {"wrong", 1, "localhost", SMTP_EV_LOCAL_ERROR, "Bad peer certificate: Common name doesn't match host name"},
        {"expired", 1, "localhost", SMTP_EV_LOCAL_ERROR, "Bad peer certificate: Certificate doesn't verify: x509 rc=10"},
        {"rogue", 2, "localhost", SMTP_EV_LOCAL_ERROR, "Bad peer certificate: Certificate doesn't verify: x509 rc=20"},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(std::string(k.cert) + " mode " + std::to_string(k.tlsMode));
        gNetSmtpLog = NetSmtpLog();
        std::string log = folder_.nativeFile((std::string(k.cert) + std::to_string(k.tlsMode) + ".log").c_str());
        std::vector<std::string> args = {kNetPython, NetPeerScript("smtp_script.py"), "--log", log, "--cert",
                                         c.native((std::string(k.cert) + ".pem").c_str()), "--key",
                                         c.native((std::string(k.cert) + ".key").c_str())};
        if (k.tlsMode == 2) args.push_back("--implicit");
        NetPeer peer;
        int port = peer.startListening(args);
        ASSERT_GT(port, 0);
        QlMailRequestRec r = NetBaseRequest(port);
        r.host = k.host;
        r.tls_mode = k.tlsMode;
        r.use_auth = 1;
        r.user = "user";
        r.password = "never-sent-to-a-bad-peer";
        r.ca_file = caFile_.c_str();
        EXPECT_EQ(k.terminal, SendAndWait(r));
        EXPECT_EQ(0, strncmp(gNetSmtpLog.terminalText().c_str(), k.reason, strlen(k.reason)))
            << gNetSmtpLog.terminalText();
        peer.stop();
        std::vector<std::string> lines;
        std::string text = NetReadFile(log);
        for (size_t s = 0, e; (e = text.find('\n', s)) != std::string::npos; s = e + 1)
            lines.push_back(text.substr(s, e - s));
        EXPECT_TRUE(Contains(lines, "TLS"));
        if (k.terminal != SMTP_EV_SENT) {
            EXPECT_FALSE(Contains(lines, "AUTH")) << "nothing is said to a refused peer";
            EXPECT_FALSE(Contains(lines, "EHLO") && k.tlsMode == 2);
            EXPECT_FALSE(Contains(lines, "MAIL FROM"));
        }
        EXPECT_EQ(0, SessionsInUse());
    }
}

TEST_F(SmtpTest, AHeldCertificateWaitsUnderTheReplyTimer)
{
    const NetCerts &c = NetTestCerts();
    for (int goOn = 0; goOn < 2; goOn++) {
        SCOPED_TRACE(goOn ? "the caller goes on" : "the caller does not answer");
        gNetSmtpLog = NetSmtpLog();
        NetPeer peer;
        int port = peer.startListening({kNetPython, NetPeerScript("smtp_script.py"), "--log",
                                        folder_.nativeFile("hold.log"), "--cert", c.native("wrong.pem"), "--key",
                                        c.native("wrong.key"), "--implicit"});
        ASSERT_GT(port, 0);
        NetClockStart(0x10000, 0);
        QlMailRequestRec r = NetBaseRequest(port);
        r.host = "localhost";
        r.tls_mode = 2;
        r.verify_peer = 1;
        r.ca_file = caFile_.c_str();
        QlSmtpSessionRec *session = NULL;
        ASSERT_EQ(0, QlSmtpSend(&r, &session));
        ASSERT_TRUE(NetPumpUntil([] { return gNetSmtpLog.count(SMTP_EV_BAD_CERT) > 0; }, 15000));
        NetPumpUntil([] { return false; }, 300);   // the welcome arrives and is held
        EXPECT_FALSE(gNetSmtpLog.ended());
        if (goOn) {
            EXPECT_EQ(0, QlSmtpContinue(session));
            NetClockStart(0x10000, 2);   // the clock runs on from where it stood
        } else {
            NetClockAdvance(10000);
        }
        NetPumpUntil([] { return gNetSmtpLog.ended(); }, 15000);
        if (goOn) {
            EXPECT_EQ(SMTP_EV_SENT, gNetSmtpLog.terminal()) << gNetSmtpLog.terminalText();
        } else {
            EXPECT_EQ(SMTP_EV_LOCAL_ERROR, gNetSmtpLog.terminal());
            EXPECT_EQ("Bad peer certificate: Common name doesn't match host name", gNetSmtpLog.terminalText());
        }
        EXPECT_EQ(0, SessionsInUse());
    }
}

TEST_F(SmtpTest, EndToEndWithAttachmentOverStartTlsAndAuthLogin)
{
    const NetCerts &c = NetTestCerts();
    NetPeer server;
    int port = server.startListening({kNetPython, NetPeerScript("smtp_aio.py"), "--mode", "starttls", "--cert",
                                      c.native("good.pem"), "--key", c.native("good.key"), "--out",
                                      folder_.native, "--user", "quillory", "--password", "pa$$word"});
    ASSERT_GT(port, 0);
    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n1 0 obj << /Type /Catalog >> endobj\n";
    for (int i = 0; i < 9000; i++) pdf += (char)(i * 13 + i / 7);
    pdf += "\n%%EOF\n";
    std::string path = folder_.winFile("Invoice 17.pdf");
    ASSERT_TRUE(NetWriteFile(path, pdf));

    const std::string body = "Dear Customer\r\nPlease find attached the invoice from Caf\xE9 Noir.\r\n"
                             ".a line with a dot\r\nTotal = 12.50\r\n";
    QlMailRequestRec r = NetBaseRequest(port);
    r.host = "localhost";
    r.tls_mode = 1;
    r.use_auth = 1;
    r.user = "quillory";
    r.password = "pa$$word";
    r.ca_file = caFile_.c_str();
    r.cc[0] = "office@quillory.test";
    r.cc_count = 1;
    r.body = body.c_str();
    r.body_len = (int32_t)body.size();
    r.body_qp = 1;
    r.has_attachment = 1;
    r.attachment_path = path.c_str();
    ASSERT_EQ(SMTP_EV_SENT, SendAndWait(r, 60000)) << gNetSmtpLog.terminalText();

    std::string envelope = NetReadFile(folder_.nativeFile("msg-1.env"));
    EXPECT_EQ("sender@quillory.test\nbuyer@quillory.test\noffice@quillory.test\n", envelope);
    std::map<std::string, std::string> mail = NetCheckMail(folder_.nativeFile("msg-1.eml"));
    EXPECT_EQ("<sender@quillory.test>", mail["from"]);
    EXPECT_EQ("'<buyer@quillory.test>'", mail["to"]);
    EXPECT_EQ("'<office@quillory.test>'", mail["cc"]);
    EXPECT_EQ("Invoice 17", mail["subject"]);
    EXPECT_EQ("1", mail["multipart"]);
    // The body keeps its last line end: the delimiter brings its own.
    EXPECT_EQ("'Dear Customer\\nPlease find attached the invoice from Caf\\xe9 Noir.\\n"
              ".a line with a dot\\nTotal = 12.50\\n'",
              mail["body"]);
    EXPECT_EQ("application/pdf", mail["attachment-type"]);
    EXPECT_EQ("Invoice 17.pdf", mail["attachment-filename"]);
    EXPECT_EQ(std::to_string(pdf.size()), mail["attachment-size"]);
    EXPECT_EQ(NetSha256Of(SmtpNative(path)), mail["attachment-bytes"]);
    EXPECT_EQ("0", mail["defects"]);
}

TEST_F(SmtpTest, EndToEndOverImplicitTlsAndAWrongPassword)
{
    const NetCerts &c = NetTestCerts();
    NetPeer server;
    int port = server.startListening({kNetPython, NetPeerScript("smtp_aio.py"), "--mode", "implicit", "--cert",
                                      c.native("good.pem"), "--key", c.native("good.key"), "--out",
                                      folder_.native, "--user", "quillory", "--password", "right"});
    ASSERT_GT(port, 0);
    QlMailRequestRec r = NetBaseRequest(port);
    r.host = "localhost";
    r.tls_mode = 2;
    r.use_auth = 1;
    r.user = "quillory";
    r.password = "right";
    r.ca_file = caFile_.c_str();
    ASSERT_EQ(SMTP_EV_SENT, SendAndWait(r)) << gNetSmtpLog.terminalText();
    std::map<std::string, std::string> mail = NetCheckMail(folder_.nativeFile("msg-1.eml"));
    EXPECT_EQ("'Dear Customer\\nPlease find attached the invoice.\\n'", mail["body"]) << "exactly the text";

    gNetSmtpLog = NetSmtpLog();
    r.password = "wrong";
    EXPECT_EQ(SMTP_EV_SERVER_ERROR, SendAndWait(r));
    EXPECT_EQ(0, gNetSmtpLog.terminalText().compare(0, 4, "535 ")) << gNetSmtpLog.terminalText();
}
