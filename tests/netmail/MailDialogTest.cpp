// The e-mail dialog: the hand-off's checks, the request that Send builds,
// the texts the client's events post, and sends through the real dialog to
// a scripted peer on loopback: success, a server's refusal, a refused
// certificate, a refused request, Send while a send runs, and a send that
// outlives its dialog.
#include "QlGTest.h"
#include "MailTestSupport.h"
#include "NetTestSupport.h"
#include "QlTestPlatform.h"
#include "QlTestPrint.h"

#include "ui/QlAppState.h"
#include "ui/QlMsgDialog.h"
#include "core/QlTempFile.h"
#include "netmail/QlMail.h"
#include "netmail/QlSmtp.h"
#include "netmail/QlSmtpInternal.h"
#include "resources/QlResNetmail.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

struct Shown : MailDialogSeen {
    int result = -1;
};

// Opens the dialog, reads what it shows and closes it.
Shown OpenAndRead(const char *caption, const char *attachment, const char *recipient, const char *subject,
                  const char *message)
{
    Shown shown;
    MailSteps steps({[&](HWND d) {
                         static_cast<MailDialogSeen &>(shown) = ReadMailDialog(d);
                         return true;
                     },
                     MailClick(IDB_MAIL_CLOSE)},
                    10000);
    shown.result = QlMailOpenDialog(NULL, QlMainWnd, caption, attachment, recipient, subject, message);
    return shown;
}

class MailDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MailRecordDialogs();
        strcpy(QlSettings.cfg.email, "office@quillory.test");
        strcpy(QlSettings.cfg.smtpServer, "127.0.0.1");
        QlSettings.cfg.smtpAuth = 0;
        QlSettings.cfg.useSsl = 0;
        QlSettings.cfg.language = 0;
    }

    // Starts the scripted peer and points the settings at it.
    bool StartPeer(const std::vector<std::string> &extra)
    {
        std::vector<std::string> args = {kNetPython, NetPeerScript("smtp_script.py"), "--log",
                                         folder_.nativeFile("peer.log")};
        args.insert(args.end(), extra.begin(), extra.end());
        int port = peer_.startListening(args);
        QlSettings.cfg.smtpPort = (uint16_t)port;
        return port > 0;
    }
    std::string PeerLog()
    {
        Sleep(50);   // the peer writes its log as the connection ends
        return NetReadFile(folder_.nativeFile("peer.log"));
    }
    // Opens the dialog on an attachment (by default one in the test's folder)
    // and runs the steps.
    int Run(std::vector<std::function<bool(HWND)>> steps, const char *recipient = "buyer@quillory.test",
            std::string path = "")
    {
        if (path.empty()) path = folder_.winFile("INVOICE17.htm");
        NetWriteFile(path, "<html>\r\n<body>Invoice 17</body>\r\n</html>\r\n");
        MailSteps driver(std::move(steps));
        return QlMailOpenDialog(NULL, QlMainWnd, "Email Invoice to customer", path.c_str(), recipient,
                                "Quillory Ltd Invoice 17", "Dear Customer,\r\n\r\nPlease find attached.\r\n");
    }

    MailMainWindow main_;
    NetFolder folder_;
    NetPeer peer_;
};

TEST_F(MailDialogTest, TheHandOffRefusesTooLongTextsAndDropsATooLongMessage)
{
    const std::string a80(80, 'a'), a81(81, 'a'), p259(259, 'p'), p260(260, 'p'), m511(511, 'm'), m512(512, 'm');
    struct Case {
        const char *name;
        const char *recipient, *subject, *path, *message;
        const char *refusalCaption, *refusalText;
        std::string shownMessage;
    } cases[] = {
        {"no recipient", NULL, "s", "f.htm", "m", "Missing Email Address", "Please supply destination email address", ""},
        {"recipient of 81", a81.c_str(), "s", "f.htm", "m", "Invalid Email Address",
         "Destination email address too long", ""},
        {"recipient of 80", a80.c_str(), "s", "f.htm", "m", NULL, NULL, "m"},
        {"empty recipient", "", "s", "f.htm", "m", NULL, NULL, "m"},
        {"subject of 81", "to@x.test", a81.c_str(), "f.htm", "m", "Invalid Subject", "Subject text too long", ""},
        {"subject of 80", "to@x.test", a80.c_str(), "f.htm", "m", NULL, NULL, "m"},
        {"path of 260", "to@x.test", "s", p260.c_str(), "m", "Invalid Filename", "Filename too long", ""},
        {"path of 259", "to@x.test", "s", p259.c_str(), "m", NULL, NULL, "m"},
        {"message of 511", "to@x.test", "s", "f.htm", m511.c_str(), NULL, NULL, m511},
        {"message of 512", "to@x.test", "s", "f.htm", m512.c_str(), NULL, NULL, ""},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        gMailShown.clear();
        Shown shown = OpenAndRead("Email Invoice to customer", k.path, k.recipient, k.subject, k.message);
        if (k.refusalCaption) {
            EXPECT_FALSE(shown.opened);
            ASSERT_EQ(1u, gMailShown.size());
            EXPECT_EQ(k.refusalCaption, gMailShown[0].caption);
            EXPECT_EQ(k.refusalText, gMailShown[0].text);
            EXPECT_EQ(QL_COLOUR_WARNING, gMailShown[0].colour);
            continue;
        }
        EXPECT_TRUE(shown.opened);
        EXPECT_TRUE(gMailShown.empty());
        EXPECT_EQ(0, shown.result);
        EXPECT_EQ(k.recipient, shown.to);
        EXPECT_EQ(k.subject, shown.subject);
        EXPECT_EQ(k.path, shown.attachment);
        EXPECT_EQ(k.shownMessage, shown.message);
    }
}

TEST_F(MailDialogTest, TheDialogShowsTheCaptionTheSenderAndTheAttachmentState)
{
    Shown with = OpenAndRead("Email Invoice to customer", "INVOICE1.htm", "to@x.test", NULL, NULL);
    EXPECT_EQ("Email Invoice to customer", with.title);
    EXPECT_EQ("office@quillory.test", with.from);
    EXPECT_EQ("Subject:", with.subjectLabel);
    EXPECT_TRUE(with.attachmentEnabled && with.attachmentLabelEnabled);
    EXPECT_EQ("", with.subject);

    Shown without = OpenAndRead(NULL, NULL, "to@x.test", "s", "m");
    EXPECT_EQ("Email", without.title);
    EXPECT_FALSE(without.attachmentEnabled);
    EXPECT_FALSE(without.attachmentLabelEnabled);
}

TEST_F(MailDialogTest, TheRequestComesFromTheFieldsAndTheMailSettings)
{
    QlSettingsRec cfg = {};
    strcpy(cfg.smtpServer, "mail.quillory.test");
    cfg.smtpPort = 587;
    strcpy(cfg.smtpUser, "user");
    strcpy(cfg.smtpPassword, "secret");
    QlMailFieldsRec f = {};
    strcpy(f.from, "office@quillory.test");
    strcpy(f.to, "buyer@quillory.test");
    strcpy(f.subject, "Invoice 17");
    strcpy(f.message, "Dear Customer");
    struct Case {
        const char *name;
        const char *cc, *cc2, *attachment;
        int auth, ssl, port, tls;
        int ccCount;
        const char *firstCc;
        int qp, verify;
    } cases[] = {
        {"no copies, no attachment", "", "", "", 0, 0, 587, 0, 0, NULL, 0, 0},
        {"both copies", "a@x.test", "b@x.test", "INVOICE17.htm", 0, 0, 587, 0, 2, "a@x.test", 1, 0},
        {"only the second copy", "", "b@x.test", "INVOICE17.htm", 1, 1, 587, 1, 1, "b@x.test", 1, 1},
        {"no attachment over STARTTLS", "a@x.test", "", NULL, 1, 1, 587, 1, 1, "a@x.test", 0, 1},
        // Port 465 is TLS from the start; without "use SSL" it stays plain.
        {"use SSL at port 465", "", "", NULL, 1, 1, 465, 2, 0, NULL, 0, 1},
        {"port 465 without SSL", "", "", NULL, 0, 0, 465, 0, 0, NULL, 0, 0},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        strcpy(f.cc, k.cc);
        strcpy(f.cc2, k.cc2);
        cfg.smtpAuth = k.auth;
        cfg.useSsl = k.ssl;
        cfg.smtpPort = (uint16_t)k.port;
        QlMailRequestRec r;
        memset(&r, 0x5A, sizeof r);
        QlMailFillRequest(&r, &f, k.attachment, &cfg);
        EXPECT_STREQ("mail.quillory.test", r.host);
        EXPECT_EQ(NULL, r.ip_address);
        EXPECT_EQ(k.port, r.port);
        EXPECT_STREQ("office@quillory.test", r.from);
        ASSERT_EQ(1, r.to_count);
        EXPECT_STREQ("buyer@quillory.test", r.to[0]);
        ASSERT_EQ(k.ccCount, r.cc_count);
        if (k.firstCc) {
            EXPECT_STREQ(k.firstCc, r.cc[0]);
        }
        EXPECT_STREQ("Invoice 17", r.subject);
        EXPECT_EQ(13, r.body_len);
        EXPECT_EQ(k.qp, r.body_qp);
        EXPECT_EQ(k.qp, r.has_attachment);
        if (k.qp) {
            EXPECT_STREQ(k.attachment, r.attachment_path);
        }
        EXPECT_EQ(k.auth, r.use_auth);
        EXPECT_EQ(k.auth ? cfg.smtpUser : NULL, r.user);
        EXPECT_EQ(k.auth ? cfg.smtpPassword : NULL, r.password);
        EXPECT_EQ(k.tls, r.tls_mode);
        EXPECT_EQ(k.verify, r.verify_peer);
        EXPECT_EQ(0, r.subject_encode);
        EXPECT_EQ(0, r.trace);
        EXPECT_EQ(NULL, r.ca_file);
        EXPECT_EQ(QlMailOnSessionEvent, r.event_cb);
        EXPECT_EQ(1u, r.event_ctx);
    }
}

// The event posted to the main window for one client event.
struct Posted {
    bool posted = false;
    WPARAM event = 0;
    LPARAM data = 0;
    std::string text;
};

Posted PostedBy(int event, const void *data, int length, bool carriesText)
{
    Posted p;
    EXPECT_EQ(0, QlMailOnSessionEvent(1, event, (void *)data, length));
    MSG msg;
    if (PeekMessageA(&msg, QlMainWnd, QL_WM_MAIL_EVENT, QL_WM_MAIL_EVENT, PM_REMOVE)) {
        p.posted = true;
        p.event = msg.wParam;
        p.data = msg.lParam;
        if (carriesText && msg.lParam) {
            p.text = (const char *)msg.lParam;
            free((void *)msg.lParam);
        }
    }
    return p;
}

TEST_F(MailDialogTest, EventsArePostedWithTheirTexts)
{
    const char reply[] = "550 5.7.1 Relay denied\r\n550 more";
    Posted p = PostedBy(SMTP_EV_SERVER_ERROR, reply, (int)strlen(reply), true);
    EXPECT_TRUE(p.posted);
    EXPECT_EQ((WPARAM)SMTP_EV_SERVER_ERROR, p.event);
    EXPECT_EQ("Mail Server Error: 550 5.7.1 Relay denied", p.text);

    // A reply line (not terminated) longer than the status line is cut.
    std::string longReply = "554 " + std::string(600, 'x');
    p = PostedBy(SMTP_EV_SERVER_ERROR, longReply.data(), (int)longReply.size(), true);
    EXPECT_EQ(299u, p.text.size());
    EXPECT_EQ(0u, p.text.find("Mail Server Error: 554 xxx"));

    const char trace[] = "SSL established with no encryption, disconnecting.";
    p = PostedBy(SMTP_EV_TRACE, trace, 20, true);
    EXPECT_EQ(std::string(trace, 20), p.text);
    const char cert[] = "Bad peer certificate: Common name doesn't match host name";
    p = PostedBy(SMTP_EV_BAD_CERT, cert, (int)strlen(cert), true);
    EXPECT_EQ((WPARAM)SMTP_EV_BAD_CERT, p.event);
    EXPECT_EQ(cert, p.text);

    p = PostedBy(SMTP_EV_ATTACH_PERCENT, (void *)(intptr_t)42, 0, false);
    EXPECT_EQ((WPARAM)SMTP_EV_ATTACH_PERCENT, p.event);
    EXPECT_EQ(42, p.data);
    for (int event : {SMTP_EV_SENT, SMTP_EV_CLOSED, SMTP_EV_LOCAL_ERROR}) {
        p = PostedBy(event, "local text", 10, false);
        EXPECT_TRUE(p.posted);
        EXPECT_EQ((WPARAM)event, p.event);
        EXPECT_EQ(0, p.data);
    }
    EXPECT_FALSE(PostedBy(SMTP_EV_NEXT_MESSAGE, NULL, 0, false).posted);
}

TEST_F(MailDialogTest, ASentMailTurnsTheStatusGreenAndRemovesSend)
{
    ASSERT_TRUE(StartPeer({}));
    std::string status;
    COLORREF colour = 0;
    int position = -1;
    bool sendGone = false, timerGone = false;
    int result = Run({MailClick(IDB_MAIL_SEND), MailWaitStatus("Email has been sent."),
                      [&](HWND d) {
                          status = DlgText(d, IDT_MAIL_STATUS);
                          colour = MailStatusColour(d);
                          position = (int)SendDlgItemMessageA(d, IDP_MAIL_PROGRESS, PBM_GETPOS, 0, 0);
                          sendGone = GetDlgItem(d, IDB_MAIL_SEND) == NULL;
                          timerGone = !KillTimer(QlMainWnd, QL_MAIL_TIMER_ID);
                          return true;
                      },
                      MailClick(IDB_MAIL_CLOSE)});
    EXPECT_EQ(0, result);
    EXPECT_EQ("Email has been sent.", status);
    EXPECT_EQ(QL_COLOUR_DONE, colour);
    EXPECT_EQ(100, position);
    EXPECT_TRUE(sendGone);
    EXPECT_TRUE(timerGone);
    EXPECT_EQ(NULL, gQlSmtp) << "the client is shut down";
    std::string log = PeerLog();
    EXPECT_NE(std::string::npos, log.find("MAIL FROM: <office@quillory.test>")) << log;
    EXPECT_NE(std::string::npos, log.find("RCPT TO: <buyer@quillory.test>")) << log;
    EXPECT_NE(std::string::npos, log.find("DATA-END")) << log;
}

TEST_F(MailDialogTest, FailuresShowInTheWarningColourAndSendWorksAgain)
{
    ASSERT_TRUE(StartPeer({"--eom-reply", "550 5.7.1 Message refused\r\n"}));
    std::vector<std::string> statuses;
    std::vector<COLORREF> colours;
    std::vector<bool> sendEnabled;
    auto record = [&](HWND d) {
        statuses.push_back(DlgText(d, IDT_MAIL_STATUS));
        colours.push_back(MailStatusColour(d));
        sendEnabled.push_back(IsWindowEnabled(GetDlgItem(d, IDB_MAIL_SEND)) != 0);
        return true;
    };
    auto waitEnabled = [](HWND d) { return IsWindowEnabled(GetDlgItem(d, IDB_MAIL_SEND)) != 0; };
    const std::string refused = "Mail Server Error: 550 5.7.1 Message refused";
    // The server refuses the mail, twice: the client starts afresh each time.
    // Then an emptied To field, which the client refuses before connecting.
    int result = Run({MailClick(IDB_MAIL_SEND), MailWaitStatus(refused), record, MailClick(IDB_MAIL_SEND),
                      [&](HWND d) { return !waitEnabled(d); }, MailWaitStatus(refused), record,
                      [](HWND d) {
                          SetDlgItemTextA(d, IDE_MAIL_TO, "");
                          return true;
                      },
                      MailClick(IDB_MAIL_SEND), MailWaitStatus("Send failed: invalid parameters"), record,
                      MailClick(IDB_MAIL_CLOSE)});
    EXPECT_EQ(0, result);
    ASSERT_EQ(3u, statuses.size());
    for (size_t i = 0; i < statuses.size(); i++) {
        EXPECT_EQ(QL_COLOUR_WARNING, colours[i]) << statuses[i];
        EXPECT_TRUE(sendEnabled[i]) << statuses[i];
    }
    EXPECT_EQ(NULL, gQlSmtp);
    EXPECT_TRUE(gMailStatusPosts.empty()) << "the dialog said it all";
}

TEST_F(MailDialogTest, AFailureAfterTheDialogClosedGoesToTheStatusLine)
{
    ASSERT_TRUE(StartPeer({"--stall-data", "1", "--eom-reply", "550 5.7.1 Message refused\r\n"}));
    Run({MailClick(IDB_MAIL_SEND), MailClick(IDB_MAIL_CLOSE)});
    DWORD start = GetTickCount();
    MSG msg;
    while ((gQlSmtp || gMailStatusPosts.empty()) && GetTickCount() - start < 30000) {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(5);
    }
    ASSERT_EQ(1u, gMailStatusPosts.size());
    EXPECT_EQ("Email to buyer@quillory.test not sent: Mail Server Error: 550 5.7.1 Message refused",
              gMailStatusPosts[0].text);
    EXPECT_EQ(QL_COLOUR_WARNING, gMailStatusPosts[0].colour);
}

TEST_F(MailDialogTest, ARefusedCertificateEndsTheSendBeforeAnythingIsSaid)
{
    const NetCerts &c = NetTestCerts();
    ASSERT_FALSE(c.nativeDir.empty());
    MailTrustFile trust(c.native("ca.pem"));
    ASSERT_TRUE(StartPeer({"--cert", c.native("wrong.pem"), "--key", c.native("wrong.key")}));
    strcpy(QlSettings.cfg.smtpServer, "localhost");
    QlSettings.cfg.useSsl = 1;
    QlSettings.cfg.smtpAuth = 1;
    strcpy(QlSettings.cfg.smtpUser, "user");
    strcpy(QlSettings.cfg.smtpPassword, "never-sent");
    std::string status;
    COLORREF colour = 0;
    bool sendEnabled = false;
    Run({MailClick(IDB_MAIL_SEND),
         [](HWND d) { return DlgText(d, IDT_MAIL_STATUS).compare(0, 21, "Bad peer certificate:") == 0; },
         [&](HWND d) {
             status = DlgText(d, IDT_MAIL_STATUS);
             colour = MailStatusColour(d);
             sendEnabled = IsWindowEnabled(GetDlgItem(d, IDB_MAIL_SEND)) != 0;
             // The whole reason fits the status line, in the dialog's font.
             HWND line = GetDlgItem(d, IDT_MAIL_STATUS);
             RECT box, need;
             GetClientRect(line, &box);
             need = box;
             need.bottom = 0;
             HDC dc = GetDC(line);
             HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(line, WM_GETFONT, 0, 0));
             DrawTextA(dc, status.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK);
             SelectObject(dc, old);
             ReleaseDC(line, dc);
             EXPECT_LE(need.right, box.right) << status;
             EXPECT_LE(need.bottom, box.bottom) << status;
             return true;
         },
         [&](HWND d) {
             if (!QlTestHasUnix()) return true;
             UpdateWindow(d);
             RECT r;
             GetWindowRect(d, &r);
             std::string picture = QlTestArtifactDir() + "/mail-dialog-certificate.png";
             char command[512];
             snprintf(command, sizeof(command), "import -window root -crop %ldx%ld+%ld+%ld +repage '%s'",
                      (long)(r.right - r.left), (long)(r.bottom - r.top), (long)r.left, (long)r.top, picture.c_str());
             Sleep(300);
             EXPECT_EQ(0, system(command)) << command;
             return true;
         },
         MailClick(IDB_MAIL_CLOSE)});
    EXPECT_EQ("Bad peer certificate: Common name doesn't match host name", status);
    EXPECT_EQ(QL_COLOUR_WARNING, colour);
    EXPECT_TRUE(sendEnabled);
    EXPECT_EQ(NULL, gQlSmtp);
    std::string log = PeerLog();
    EXPECT_NE(std::string::npos, log.find("TLS")) << log;
    EXPECT_EQ(std::string::npos, log.find("AUTH")) << log;
    EXPECT_EQ(std::string::npos, log.find("MAIL FROM")) << log;
}

TEST_F(MailDialogTest, ClosingTheWindowDuringASendStopsItAndSaysSo)
{
    // The peer stops reading after DATA for a while: the send still runs.
    ASSERT_TRUE(StartPeer({"--stall-data", "3"}));
    std::string status;
    COLORREF colour = 0;
    bool sendEnabled = false, stopped = false;
    std::string picture = QlTestArtifactDir() + "/mail-dialog-stopped.png";
    remove(picture.c_str());
    Run({MailClick(IDB_MAIL_SEND), MailWaitStatus("Sending email..."),
         [&](HWND d) {
             // Alt+F4: the system's close.
             SendMessageA(d, WM_CLOSE, 0, 0);
             status = DlgText(d, IDT_MAIL_STATUS);
             colour = MailStatusColour(d);
             sendEnabled = IsWindowEnabled(GetDlgItem(d, IDB_MAIL_SEND)) != 0;
             stopped = gQlSmtp == NULL;
             return true;
         },
         [&](HWND d) {
             // A picture of the dialog as the screen shows it.
             UpdateWindow(d);
             RECT r;
             GetWindowRect(d, &r);
             char command[512];
             snprintf(command, sizeof(command), "import -window root -crop %ldx%ld+%ld+%ld +repage '%s'",
                      (long)(r.right - r.left), (long)(r.bottom - r.top), (long)r.left, (long)r.top, picture.c_str());
             Sleep(300);
             EXPECT_EQ(0, system(command)) << command;
             return true;
         },
         MailClick(IDB_MAIL_CLOSE)});
    EXPECT_EQ("Sending stopped: the email was not sent.", status);
    EXPECT_EQ(QL_COLOUR_WARNING, colour);
    EXPECT_TRUE(sendEnabled);
    EXPECT_TRUE(stopped) << "the client is shut down";
    EXPECT_FALSE(KillTimer(QlMainWnd, QL_MAIL_TIMER_ID));
    EXPECT_EQ(std::string::npos, PeerLog().find("DATA-END"));
}

TEST_F(MailDialogTest, AnAttachmentInAMailFolderGoesWhenNothingNeedsIt)
{
    // Closed without a send: the folder goes with the dialog.
    char folder[MAX_PATH];
    ASSERT_TRUE(QlTempFolderMake(folder, sizeof folder));
    std::string path = std::string(folder) + "\\INVOICE17.htm";
    std::string attachment;
    Run({[&](HWND d) {
             attachment = DlgText(d, IDE_MAIL_ATTACHMENT);
             return true;
         },
         MailClick(IDB_MAIL_CLOSE)},
        "buyer@quillory.test", path);
    EXPECT_EQ(path, attachment);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder));

    // Refused before the dialog opens: gone too.
    ASSERT_TRUE(QlTempFolderMake(folder, sizeof folder));
    path = std::string(folder) + "\\INVOICE17.pdf";
    ASSERT_TRUE(NetWriteFile(path, "%PDF-1.4\n"));
    std::string a81(81, 'a');
    QlMailOpenDialog(NULL, QlMainWnd, "Email", path.c_str(), a81.c_str(), "s", "m");
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder));

    // A file of the user's is never touched.
    Run({MailClick(IDB_MAIL_CLOSE)});
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder_.winFile("INVOICE17.htm").c_str()));
}

TEST_F(MailDialogTest, ASendOutlivesItsDialogAndBlocksSendUntilItEnds)
{
    // The peer stops reading after DATA for a while, so that the send is
    // still running when the dialog closes.  The attachment is in a mail
    // folder of the program's, which the send keeps until it ends.
    ASSERT_TRUE(StartPeer({"--stall-data", "1.5"}));
    char folder[MAX_PATH];
    ASSERT_TRUE(QlTempFolderMake(folder, sizeof folder));
    Run({MailClick(IDB_MAIL_SEND), MailClick(IDB_MAIL_SEND), MailClick(IDB_MAIL_CLOSE)}, "buyer@quillory.test",
        std::string(folder) + "\\INVOICE17.htm");
    ASSERT_NE(nullptr, gQlSmtp) << "the send goes on";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder)) << "the send still reads the attachment";

    // A second dialog's Send does nothing while it runs.
    std::string status = "?";
    Run({MailClick(IDB_MAIL_SEND),
         [&](HWND d) {
             status = DlgText(d, IDT_MAIL_STATUS);
             return true;
         },
         MailClick(IDB_MAIL_CLOSE)});
    EXPECT_EQ("", status);

    // Its events change no window; the last one ends it.
    DWORD start = GetTickCount();
    MSG msg;
    while (gQlSmtp && GetTickCount() - start < 30000) {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(5);
    }
    EXPECT_EQ(NULL, gQlSmtp);
    EXPECT_FALSE(KillTimer(QlMainWnd, QL_MAIL_TIMER_ID));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder)) << "the attachment's folder goes with the send";
    // The main window's status line says how the send ended.
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    ASSERT_EQ(1u, gMailStatusPosts.size());
    EXPECT_EQ("Email to buyer@quillory.test has been sent.", gMailStatusPosts[0].text);
    EXPECT_EQ(QL_COLOUR_DONE, gMailStatusPosts[0].colour);
    std::string log = PeerLog();
    size_t first = log.find("MAIL FROM");
    EXPECT_NE(std::string::npos, first) << log;
    EXPECT_EQ(std::string::npos, log.find("MAIL FROM", first + 1)) << "one mail only: " << log;
    EXPECT_NE(std::string::npos, log.find("DATA-END")) << log;
}

}  // namespace

#include "LangRecordCheck.h"
#include "netmail/QlMailTexts.h"

TEST(MailTexts, EveryLanguageHasEveryTextWithItsConversions)
{
    ExpectCompleteLangRecords(QlMailTextTable, sizeof QlMailTextTable[0], QlMailTextFields, QlMailTextFieldCount);
}
