// The dialogue against the scripted peer: command order with and without
// TLS and AUTH, the greetings, the prompts, and the replies around DATA.
#include "SmtpTestSupport.h"

#include <string.h>
#include <string>
#include <vector>

namespace {

std::string Base64(const std::string &text)
{
    char out[256];
    QlSmtpBase64Plain(text.data(), (int)text.size(), out, sizeof(out));
    return out;
}

std::string LocalHost()
{
    return gQlSmtp ? gQlSmtp->local_host : "";
}

}  // namespace

TEST_F(SmtpTest, PlainDialogueOrderWithASplitEhloReply)
{
    int port = StartScript({"--ehlo-split"});
    ASSERT_GT(port, 0);
    QlMailRequestRec r = NetBaseRequest(port);
    r.to[1] = "second@quillory.test";
    r.to_count = 2;
    r.cc[0] = "copy1@quillory.test";
    r.cc[1] = "copy2@quillory.test";
    r.cc_count = 2;
    r.trace = 1;
    ASSERT_EQ(SMTP_EV_SENT, SendAndWait(r)) << gNetSmtpLog.terminalText();
    std::vector<std::string> expected = {"EHLO " + LocalHost(),
                                         "MAIL FROM: <sender@quillory.test>",
                                         "RCPT TO: <buyer@quillory.test>",
                                         "RCPT TO: <second@quillory.test>",
                                         "RCPT TO: <copy1@quillory.test>",
                                         "RCPT TO: <copy2@quillory.test>",
                                         "DATA",
                                         "DATA-END",
                                         "QUIT"};
    EXPECT_EQ(expected, ScriptLog());
    // Of the three-line EHLO reply, which came in four pieces, only the last
    // line reaches the client's handler (and its trace).
    std::vector<std::string> traces = gNetSmtpLog.traces();
    int ehloLines = 0;
    for (const std::string &t : traces) {
        EXPECT_EQ(std::string::npos, t.find("250-")) << t;
        ehloLines += t == "250 HELP\r\n";
    }
    EXPECT_EQ(1, ehloLines);
    EXPECT_EQ(0, SessionsInUse());
}

TEST_F(SmtpTest, StartTlsAndAuthLoginOrder)
{
    const NetCerts &c = NetTestCerts();
    int port = StartScript({"--cert", c.native("good.pem"), "--key", c.native("good.key")});
    ASSERT_GT(port, 0);
    const std::string user(99, 'u');   // 132 base64 characters: one line all the same
    QlMailRequestRec r = NetBaseRequest(port);
    r.host = "localhost";
    r.tls_mode = 1;
    r.use_auth = 1;
    r.user = user.c_str();
    r.password = "s3cret";
    r.ca_file = caFile_.c_str();
    ASSERT_EQ(SMTP_EV_SENT, SendAndWait(r)) << gNetSmtpLog.terminalText();
    std::vector<std::string> expected = {"EHLO " + LocalHost(),
                                         "STARTTLS",
                                         "TLS",
                                         "EHLO " + LocalHost(),
                                         "AUTH LOGIN",
                                         Base64(user),
                                         Base64("s3cret"),
                                         "MAIL FROM: <sender@quillory.test>",
                                         "RCPT TO: <buyer@quillory.test>",
                                         "DATA",
                                         "DATA-END",
                                         "QUIT"};
    EXPECT_EQ(expected, ScriptLog());
}

TEST_F(SmtpTest, GreetingsAndTheWelcomeTimer)
{
    // A line past the 2048 bytes of a reply whose tail looks like a welcome.
    const std::string overlong = "554 " + std::string(2100, 'x') + "220 ready\r\n";
    struct Case {
        std::string greeting;
        int terminal;
        std::string text;   // the start of the terminal text
        bool afterTimeout;
    } cases[] = {
        {"220\r\n", SMTP_EV_SENT, "", false},                           // the code alone is a reply
        {"220-first\r\n220\r\n", SMTP_EV_SENT, "", false},
        {"554 no service\r\n", SMTP_EV_LOCAL_ERROR, "no welcome", true},  // left to the timer
        {"421 busy\r\n", SMTP_EV_SERVER_ERROR, "421 busy\r\n", false},
        {overlong, SMTP_EV_SERVER_ERROR, "554 xxxx", false},               // discarded whole, a failed reply
        {"2" + std::string(3000, '2') + "\r\n220 ok\r\n", SMTP_EV_SERVER_ERROR, "2222", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.greeting.substr(0, 20));
        gNetSmtpLog = NetSmtpLog();
        // Still, until moved by hand, where the timer matters.
        NetClockStart(0xFFFFFF00u, c.afterTimeout ? 0 : 2);
        NetPeer peer;
        int port = peer.startListening({kNetPython, NetPeerScript("smtp_script.py"), "--log",
                                        folder_.nativeFile("greet.log"), "--greeting", c.greeting});
        ASSERT_GT(port, 0);
        QlMailRequestRec r = NetBaseRequest(port);
        QlSmtpSessionRec *session = NULL;
        ASSERT_EQ(0, QlSmtpSend(&r, &session));
        if (c.afterTimeout) {
            NetPumpUntil([] { return false; }, 500);   // the greeting arrives and is passed over
            NetClockAdvance(9999);
            NetPumpUntil([] { return false; }, 20);
            EXPECT_FALSE(gNetSmtpLog.ended()) << "before the 10 s";
            NetClockAdvance(1);
        }
        NetPumpUntil([] { return gNetSmtpLog.ended(); }, 10000);
        EXPECT_EQ(c.terminal, gNetSmtpLog.terminal()) << gNetSmtpLog.terminalText().substr(0, 40);
        EXPECT_EQ(0, gNetSmtpLog.terminalText().compare(0, c.text.size(), c.text)) << gNetSmtpLog.terminalText();
        if (c.terminal == SMTP_EV_SERVER_ERROR) {
            EXPECT_LT(gNetSmtpLog.terminalText().size(), 2048u);
        }
        EXPECT_EQ(0, SessionsInUse());
    }
}

TEST_F(SmtpTest, ServerAnswersThatEndTheSend)
{
    struct Case {
        std::vector<std::string> script;
        bool timeout;            // the clock is moved past the reply timer
        int terminal;
        const char *text;
    } cases[] = {
        // A prompt that differs in the case of one letter.
        {{"--auth-prompt", "334 vXNlcm5hbWU6\r\n"}, false, SMTP_EV_SERVER_ERROR, "334 vXNlcm5hbWU6\r\n"},
        // 250 to DATA is not the go-ahead: the reply timer ends the send.
        {{"--data-reply", "250 odd\r\n"}, true, SMTP_EV_LOCAL_ERROR, "no reply to data"},
        {{"--eom-reply", "451 try later\r\n"}, false, SMTP_EV_SERVER_ERROR, "451 try later\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        gNetSmtpLog = NetSmtpLog();
        NetPeer peer;
        std::vector<std::string> args = {kNetPython, NetPeerScript("smtp_script.py"), "--log",
                                         folder_.nativeFile("answer.log")};
        args.insert(args.end(), c.script.begin(), c.script.end());
        int port = peer.startListening(args);
        ASSERT_GT(port, 0);
        QlMailRequestRec r = NetBaseRequest(port);
        r.use_auth = 1;
        r.user = "user";
        r.password = "pass";
        QlSmtpSessionRec *session = NULL;
        ASSERT_EQ(0, QlSmtpSend(&r, &session));
        if (c.timeout) {
            // Until the peer has answered DATA, and a little longer for the
            // answer to arrive; then past the reply timer.
            std::string log = folder_.nativeFile("answer.log");
            NetPumpUntil([&] { return NetReadFile(log).find("\nDATA\n") != std::string::npos; }, 15000);
            NetPumpUntil([] { return false; }, 300);
            EXPECT_FALSE(gNetSmtpLog.ended());
            NetClockAdvance(10000);
        }
        NetPumpUntil([] { return gNetSmtpLog.ended(); }, 15000);
        EXPECT_EQ(c.terminal, gNetSmtpLog.terminal());
        EXPECT_EQ(c.text, gNetSmtpLog.terminalText());
        EXPECT_EQ(0, SessionsInUse());
    }
}

TEST_F(SmtpTest, AFurtherMessageOnTheSameConnection)
{
    int port = StartScript({});
    ASSERT_GT(port, 0);
    gNetSmtpLog.nextTo = {"next@quillory.test"};
    QlMailRequestRec r = NetBaseRequest(port);
    ASSERT_EQ(SMTP_EV_SENT, SendAndWait(r)) << gNetSmtpLog.terminalText();
    std::vector<std::string> expected = {"EHLO " + LocalHost(),
                                         "MAIL FROM: <sender@quillory.test>",
                                         "RCPT TO: <buyer@quillory.test>",
                                         "DATA",
                                         "DATA-END",
                                         "MAIL FROM: <sender@quillory.test>",
                                         "RCPT TO: <next@quillory.test>",
                                         "DATA",
                                         "DATA-END",
                                         "QUIT"};
    EXPECT_EQ(expected, ScriptLog());
    EXPECT_NE(std::string::npos, ScriptData().find("To: <next@quillory.test>\r\n"));
    EXPECT_EQ(2, gNetSmtpLog.count(SMTP_EV_NEXT_MESSAGE));
}
