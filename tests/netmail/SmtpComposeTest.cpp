// The message as it goes out: header block, body pieces, quoted-printable,
// base64 and the attachment part, checked byte for byte (on the wire, through
// the scripted peer, where it matters).
#include "SmtpTestSupport.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <map>
#include <string>
#include <vector>

namespace {

const std::string kBoundary = "----=_NextPart_000_0001_01C80074.E5884AE0";

std::string Base64Lines(const std::string &bytes)
{
    std::vector<char> plain(bytes.size() * 2 + 8);
    QlSmtpBase64Plain(bytes.data(), (int)bytes.size(), plain.data(), (int)plain.size());
    std::string flat = plain.data(), out;
    for (size_t i = 0; i < flat.size(); i += 76) {
        out += flat.substr(i, 76);
        if (i + 76 <= flat.size()) out += "\r\n";
    }
    return out;
}

// The header block runs to the first empty line (a multipart message: to the
// empty line after the text part's header); the Date and Message-ID lines
// are checked for their form and then taken out.
std::string WithoutDate(const std::string &data, std::string *header)
{
    size_t end = data.find("\r\n\r\n");
    size_t part = data.find("Content-Transfer-Encoding: ");
    if (data.find("MIME-Version") != std::string::npos && part != std::string::npos) end = data.find("\r\n\r\n", part);
    if (end == std::string::npos) return data;
    *header = data.substr(0, end + 4);
    size_t date = header->find("Date: ");
    if (date != std::string::npos) {
        size_t eol = header->find("\r\n", date);
        std::string line = header->substr(date, eol - date);
        int day, year, h, m, s;
        char dayName[4], month[4], zone[6];
        EXPECT_EQ(8, sscanf(line.c_str(), "Date: %3s, %d %3s %d %d:%d:%d %5s", dayName, &day, month, &year, &h, &m,
                            &s, zone))
            << line;
        EXPECT_TRUE((zone[0] == '+' || zone[0] == '-') && strlen(zone) == 5) << line;
        header->erase(date, eol + 2 - date);
    }
    size_t id = header->find("Message-ID: <");
    if (id != std::string::npos) {
        size_t eol = header->find("\r\n", id);
        std::string line = header->substr(id, eol - id);
        EXPECT_EQ('>', line.back()) << line;
        EXPECT_NE(std::string::npos, line.find('@')) << line;
        header->erase(id, eol + 2 - id);
    }
    return data.substr(end + 4);
}

}  // namespace

TEST(SmtpCompose, Base64WithAndWithoutLineBreaks)
{
    struct Case {
        const char *in;
        const char *out;
    } vectors[] = {{"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},        {"foo", "Zm9v"},
                   {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}};
    for (const Case &v : vectors) {
        char out[32];
        ASSERT_EQ(1, QlSmtpBase64Plain(v.in, (int)strlen(v.in), out, sizeof(out)));
        EXPECT_STREQ(v.out, out) << v.in;
    }
    char tight[4];
    EXPECT_EQ(0, QlSmtpBase64Plain("foo", 3, tight, sizeof(tight))) << "no room for the NUL";

    QlSmtpSessionRec *session = (QlSmtpSessionRec *)calloc(1, sizeof(QlSmtpSessionRec));
    std::string in(57 + 2, 'M');
    char out[200];
    int length = -1;
    QlSmtpBase64Encode(session, in.data(), 57, out, &length);
    ASSERT_EQ(78, length) << "76 characters and a line end";
    EXPECT_EQ("\r\n", std::string(out + 76, 2));
    QlSmtpBase64Encode(session, in.data(), 2, out, &length);
    EXPECT_EQ("TU0=", std::string(out, (size_t)length)) << "the column runs on from the last call";
    length = -1;
    QlSmtpBase64Encode(session, in.data(), 0, out, &length);
    EXPECT_EQ(-1, length) << "nothing to encode leaves the length";
    free(session);
}

std::string Encode(const std::string &body, int mode)
{
    std::string out((size_t)QlSmtpEncodeBody(body.data(), (int)body.size(), mode, NULL), '?');
    EXPECT_EQ((int)out.size(), QlSmtpEncodeBody(body.data(), (int)body.size(), mode, &out[0]));
    return out;
}

TEST(SmtpCompose, BodyEncodingsKeepTheText)
{
    const std::string a100(100, 'a');
    struct Case {
        const char *what;
        std::string in;
        int mode;
        std::string out;
    } cases[] = {
        {"8-bit, DEL and equals", "caf\xE9 \x7F=1\r\n", QL_SMTP_BODY_QP, "caf=E9 =7F=3D1\r\n"},
        {"a plain copy", "caf\xE9 =1\r\n", QL_SMTP_BODY_PLAIN, "caf\xE9 =1\r\n"},
        {"lone line ends become CR LF", "a\nb\rc\r\n", QL_SMTP_BODY_PLAIN, "a\r\nb\r\nc\r\n"},
        {"a long line breaks softly", a100 + "\r\n", QL_SMTP_BODY_QP, a100.substr(0, 75) + "=\r\n" + a100.substr(75) + "\r\n"},
        {"an encoded byte is never split", std::string(74, 'a') + "\xFC" + "b", QL_SMTP_BODY_QP,
         std::string(74, 'a') + "=\r\n=FCb"},
        {"blanks before a line end", "a \r\nb\t\r\nc ", QL_SMTP_BODY_QP, "a=20\r\nb=09\r\nc=20"},
        {"blanks inside stay", "a b\tc", QL_SMTP_BODY_QP, "a b\tc"},
        {"a single part ends softly", "Gr\xFC\xDF" "e", QL_SMTP_BODY_QP_SOFT_END, "Gr=FC=DFe=\r\n"},
        {"a line end of its own is kept", "Ende\r\n", QL_SMTP_BODY_QP_SOFT_END, "Ende\r\n"},
        {"control bytes", std::string("a\0b\x1B", 4), QL_SMTP_BODY_QP, "a=00b=1B"},
    };
    for (const Case &c : cases) EXPECT_EQ(c.out, Encode(c.in, c.mode)) << c.what;

    struct Need {
        std::string body;
        int multipart;
        int qp;
    } needs[] = {
        {"Dear Customer\r\n", 0, 0},        {"Dear Customer", 0, 1},   // a single part must end with its line end
        {"Dear Customer", 1, 0},              {"Sehr geehrte Damen und Herren, Gr\xFC\xDF" "e\r\n", 1, 1},
        {std::string(76, 'x') + "\r\n", 1, 0}, {std::string(77, 'x') + "\r\n", 1, 1},
        {"tab\tis fine\r\n", 0, 0},          {std::string("nul\0\r\n", 6), 0, 1},
    };
    for (const Need &n : needs)
        EXPECT_EQ(n.qp, QlSmtpBodyNeedsQp(n.body.data(), (int)n.body.size(), n.multipart)) << n.body;
}

TEST(SmtpCompose, SubjectsAsEncodedWordsAndFolded)
{
    struct Case {
        const char *what;
        std::string text;
        int charset;
        std::string out;
    } cases[] = {
        {"plain ASCII", "Invoice 17", 0, "Invoice 17"},
        {"an accented company", "M\xFCller & S\xF6hne GmbH Rechnung 17", 0,
         "=?windows-1252?Q?M=FCller_=26_S=F6hne_GmbH_Rechnung_17?="},
        {"ASCII that looks encoded", "a =?x?Q?y?= b", 0, "=?windows-1252?Q?a_=3D=3Fx=3FQ=3Fy=3F=3D_b?="},
        {"a long plain subject folds at a blank",
         "Quillory Trading Company Limited of Northtown Invoice 1234567 for October 2025", 0,
         "Quillory Trading Company Limited of Northtown Invoice 1234567 for\r\n October 2025"},
        {"Cyrillic as KOI8-R", "\xF0\xD2\xC9\xD7\xC5\xD4", 1, "=?koi8-r?B?8NLJ18XU?="},
    };
    char out[QL_SMTP_SUBJECT_SIZE];
    for (const Case &c : cases) {
        ASSERT_EQ(1, QlSmtpHeaderText(c.text.data(), (int)c.text.size(), c.charset, 9, out, sizeof(out))) << c.what;
        EXPECT_EQ(c.out, std::string(out)) << c.what;
    }
    // The longest subjects: every line within 76 characters ("Subject: " on
    // the first), each encoded word whole on its line.
    for (int charset = 0; charset < 2; charset++) {
        std::string text(80, '\xE9');
        ASSERT_EQ(1, QlSmtpHeaderText(text.data(), 80, charset, 9, out, sizeof(out)));
        std::string value = "Subject: " + std::string(out);
        size_t start = 0, lines = 0;
        for (size_t eol; start <= value.size(); start = eol + 2, lines++) {
            eol = value.find("\r\n", start);
            if (eol == std::string::npos) eol = value.size();
            std::string line = value.substr(start, eol - start);
            EXPECT_LE(line.size(), 76u) << line;
            EXPECT_EQ("?=", line.substr(line.size() - 2)) << line;
            if (lines > 0) {
                EXPECT_EQ(' ', line[0]) << line;
            }
        }
        EXPECT_GT(lines, 1u);
    }
    char tight[20];
    EXPECT_EQ(0, QlSmtpHeaderText("M\xFCller", 6, 0, 9, tight, sizeof(tight)));
    EXPECT_STREQ("", tight);

    QlSmtpSessionRec *session = (QlSmtpSessionRec *)calloc(1, sizeof(QlSmtpSessionRec));
    const char subject[] = "\xCF\xF0\xE8\xE2\xE5\xF2";   // "Privet" in Windows-1251
    char converted[81], word[84];
    QlSmtpConvertCharset(subject, 6, converted);
    ASSERT_EQ(1, QlSmtpEncodeHeaderWord(session, 1, converted, word, 6, sizeof(word)));
    EXPECT_STREQ("=?koi8-r?B?8NLJ18XU?=", word);
    free(session);
}

TEST(SmtpCompose, AttachmentNamesAndTypes)
{
    struct Case {
        const char *path;
        int start;
    } names[] = {{"C:\\docs\\invoice 17.pdf", 8}, {"invoice.pdf", 0}, {"a/b/c.pdf", 0}, {"\\abc", 0}, {"x\\y", 2}};
    for (const Case &c : names) EXPECT_EQ(c.start, QlSmtpFileNameStart(c.path)) << c.path;
    struct Type {
        const char *name, *type;
    } types[] = {{"INVOICE17.pdf", "application/pdf"}, {"order3.PDF", "application/pdf"},
                 {"INVOICE17.htm", "text/html"},       {"statement.html", "text/html"},
                 {"notes.txt", "application/octet-stream"}, {"pdf", "application/octet-stream"}};
    for (const Type &t : types) EXPECT_STREQ(t.type, QlSmtpAttachmentType(t.name)) << t.name;
}

TEST(SmtpCompose, HeaderBlockByteForByte)
{
    QlSmtpSessionRec *s = (QlSmtpSessionRec *)calloc(1, sizeof(QlSmtpSessionRec));
    strcpy(s->from, "me@quillory.test");
    strcpy(s->to[0], "a@x.test");
    strcpy(s->to[1], "b@x.test");
    strcpy(s->to[2], "c@x.test");
    s->to_count = 3;
    strcpy(s->cc[0], "d@x.test");
    s->cc_count = 1;
    strcpy(s->subject, "Invoice 17");
    strcpy(s->message_id, "<1.2@quillory.test>");
    SYSTEMTIME now;
    memset(&now, 0, sizeof(now));
    now.wYear = 2025;
    now.wMonth = 1;
    now.wDay = 5;
    now.wDayOfWeek = 0;
    now.wHour = 9;
    now.wMinute = 7;
    now.wSecond = 3;
    int n = QlSmtpComposeHeader(s, &now, 60);
    EXPECT_EQ(std::string("From: <me@quillory.test>\r\n"
                          "To: <a@x.test>,\r\n <b@x.test>,\r\n <c@x.test>\r\n"
                          "CC: <d@x.test>\r\n"
                          "Subject: Invoice 17\r\n"
                          "Date: Sun, 5 Jan 2025 09:07:03 +0100\r\n"
                          "Message-ID: <1.2@quillory.test>\r\n"
                          "MIME-Version: 1.0\r\n"
                          "Content-Type: text/plain;\r\n\tcharset=\"us-ascii\"\r\n"
                          "Content-Transfer-Encoding: 7bit\r\n"
                          "\r\n"),
              std::string(s->header_buf, (size_t)n))
        << "every mail carries MIME";

    s->to_count = 0;
    s->cc_count = 0;
    s->has_attachment = 1;
    s->body_qp = 1;
    now.wMonth = 12;
    now.wDay = 31;
    now.wDayOfWeek = 3;
    struct Zone {
        int minutes;
        const char *text;
    } zones[] = {{0, "+0000"}, {-330, "-0530"}, {345, "+0545"}, {-600, "-1000"}};
    for (const Zone &z : zones) {
        n = QlSmtpComposeHeader(s, &now, z.minutes);
        EXPECT_EQ("From: <me@quillory.test>\r\n"
                  "Subject: Invoice 17\r\n"
                  "Date: Wed, 31 Dec 2025 09:07:03 " + std::string(z.text) + "\r\n"
                  "Message-ID: <1.2@quillory.test>\r\n"
                  "MIME-Version: 1.0\r\nContent-Type: multipart/mixed;\r\n\tboundary=\"" + kBoundary + "\"\r\n\r\n"
                  "This is a multi-part message in MIME format.\r\n\r\n--" + kBoundary + "\r\n"
                  "Content-Type: text/plain;\r\n\tcharset=\"windows-1252\"\r\n"
                  "Content-Transfer-Encoding: quoted-printable\r\n\r\n",
                  std::string(s->header_buf, (size_t)n))
            << "no To line without a To address";
    }
    s->charset = 1;
    n = QlSmtpComposeHeader(s, &now, 180);
    EXPECT_NE(std::string::npos, std::string(s->header_buf, (size_t)n).find("\tcharset=\"koi8-r\"\r\n"));
    free(s);
}

TEST_F(SmtpTest, BodyPiecesOnTheWire)
{
    int port = StartScript({});
    ASSERT_GT(port, 0);
    std::string longLine(200, 'x');
    longLine[75] = '.';   // the start of its first continuation
    std::string body = ".starts with a dot\r\n" + longLine + "\r\ncaf\xE9 = 1\r\nno line end";
    QlMailRequestRec r = NetBaseRequest(port);
    r.body = body.c_str();
    r.body_len = (int32_t)body.size();
    ASSERT_EQ(SMTP_EV_SENT, SendAndWait(r)) << gNetSmtpLog.terminalText();
    std::string header;
    std::string sent = WithoutDate(ScriptData(), &header);
    EXPECT_EQ("From: <sender@quillory.test>\r\nTo: <buyer@quillory.test>\r\nSubject: Invoice 17\r\n"
              "MIME-Version: 1.0\r\nContent-Type: text/plain;\r\n\tcharset=\"windows-1252\"\r\n"
              "Content-Transfer-Encoding: quoted-printable\r\n\r\n",
              header);
    // Quoted-printable with soft breaks, every line that starts with a full
    // stop stuffed (a continuation too), and a soft break at the end: the
    // text arrives without a line end it did not have.
    EXPECT_EQ("..starts with a dot\r\n" + longLine.substr(0, 75) + "=\r\n." + longLine.substr(75, 75) + "=\r\n" +
                  longLine.substr(150) + "\r\ncaf=E9 =3D 1\r\nno line end=\r\n",
              sent);
    int last = -1;
    for (const NetSmtpEvent &e : gNetSmtpLog.events)
        if (e.code == SMTP_EV_BODY_PERCENT) {
            EXPECT_GE((int)e.value, last);
            last = (int)e.value;
        }
    EXPECT_EQ(100, last);
    EXPECT_EQ(6, gNetSmtpLog.count(SMTP_EV_BODY_PERCENT)) << "one event a line";
}

TEST_F(SmtpTest, AttachmentPartsOnTheWire)
{
    int port = StartScript({});
    ASSERT_GT(port, 0);
    struct Case {
        size_t size;
        int percentEvents;
    } cases[] = {{3072, 1}, {0, 0}, {57, 1}, {7000, 3}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.size);
        gNetSmtpLog = NetSmtpLog();
        std::string bytes(c.size, '\0');
        for (size_t i = 0; i < c.size; i++) bytes[i] = (char)(i * 31 + i / 256);
        std::string path = folder_.winFile("invoice 17.pdf");
        ASSERT_TRUE(NetWriteFile(path, bytes));
        QlMailRequestRec r = NetBaseRequest(port);
        r.has_attachment = 1;
        r.attachment_path = path.c_str();
        r.body_qp = 1;
        ASSERT_EQ(SMTP_EV_SENT, SendAndWait(r)) << gNetSmtpLog.terminalText();
        std::string header;
        std::string sent = WithoutDate(ScriptData(), &header);
        EXPECT_NE(std::string::npos, header.find("Content-Transfer-Encoding: quoted-printable\r\n\r\n"));
        // The body's own last line end stays its own: the delimiter brings one.
        std::string expected = std::string(r.body) + "\r\n--" + kBoundary +
                               "\r\nContent-Type: application/pdf;\r\n\tname=\"invoice 17.pdf\"\r\n"
                               "Content-Transfer-Encoding: base64\r\nContent-Disposition: attachment;\r\n"
                               "\tfilename=\"invoice 17.pdf\"\r\n\r\n" +
                               Base64Lines(bytes) + "\r\n--" + kBoundary + "--\r\n\r\n";
        EXPECT_EQ(expected, sent);
        EXPECT_EQ(c.percentEvents, gNetSmtpLog.count(SMTP_EV_ATTACH_PERCENT));
        intptr_t last = -1;
        for (const NetSmtpEvent &e : gNetSmtpLog.events)
            if (e.code == SMTP_EV_ATTACH_PERCENT) last = e.value;
        if (c.percentEvents) {
            EXPECT_EQ(100, (int)last);
        }
    }
}

TEST_F(SmtpTest, RefusedBodyPiecesAreOfferedAgain)
{
    // The client is pumped without a pause, far faster than the send thread
    // empties the queue (every millisecond), and the peer stops reading for
    // a while after the go-ahead: pieces are refused again and again.  The
    // clock runs at real time, so that a busy machine's peer has the whole
    // reply time to read the message after its pause.
    NetClockStart(0xFFFFFF00u, 1);
    int port = StartScript({"--stall-data", "1.5"});
    ASSERT_GT(port, 0);
    // Plain lines within 76 characters, which go as they are.
    std::string body;
    for (int i = 0; body.size() < 200000; i++) {
        std::string line(70, (char)('a' + i % 26));
        body += std::to_string(100000 + i) + line.substr(6) + "\r\n";
    }
    QlMailRequestRec r = NetBaseRequest(port);
    r.body = body.c_str();
    r.body_len = (int32_t)body.size();
    ASSERT_EQ(0, QlSmtpSend(&r, &session_));
    NetPumpUntil([] { return gNetSmtpLog.ended(); }, 60000, 0);
    ASSERT_EQ(SMTP_EV_SENT, gNetSmtpLog.terminal()) << gNetSmtpLog.terminalText();
    Sleep(50);
    std::string header;
    std::string sent = WithoutDate(ScriptData(), &header);
    ASSERT_EQ(body.size(), sent.size());
    EXPECT_TRUE(body == sent) << "every piece arrived once and in order";
}

TEST_F(SmtpTest, AMessageThatStopsGoingOutEndsTheSend)
{
    // The peer stops reading after the go-ahead and never reads again: once
    // the connection's buffers and the queue are full, nothing more goes
    // out, and the send ends when nothing has moved for the reply time.
    NetClockStart(0x10000000u, 0);
    int port = StartScript({"--stall-data", "3600"});
    ASSERT_GT(port, 0);
    std::string path = folder_.winFile("large.pdf");
    ASSERT_TRUE(NetWriteFile(path, std::string(24 << 20, 'q')));
    QlMailRequestRec r = NetBaseRequest(port);
    r.has_attachment = 1;
    r.attachment_path = path.c_str();
    ASSERT_EQ(0, QlSmtpSend(&r, &session_));
    // Until the pieces stop moving for a second.
    size_t seen = 0;
    DWORD still = GetTickCount();
    while (GetTickCount() - still < 1000) {
        NetPumpUntil([] { return false; }, 50, 0);
        size_t now = gNetSmtpLog.events.size();
        if (now != seen) {
            seen = now;
            still = GetTickCount();
        }
        ASSERT_FALSE(gNetSmtpLog.ended()) << gNetSmtpLog.terminalText();
    }
    // The reply time passes without a piece going out (on a busy machine a
    // last piece may still have moved, and the time starts again).
    for (int i = 0; i < 20 && !gNetSmtpLog.ended(); i++) {
        NetClockAdvance(10010);
        NetPumpUntil([] { return gNetSmtpLog.ended(); }, 300);
    }
    EXPECT_EQ(SMTP_EV_LOCAL_ERROR, gNetSmtpLog.terminal());
    EXPECT_EQ("message stalled", gNetSmtpLog.terminalText());
    session_ = NULL;
    NetClockStop();
}

TEST_F(SmtpTest, AnAttachmentThatCannotBeReadEndsWithoutTheFinalDot)
{
    int port = StartScript({});
    ASSERT_GT(port, 0);
    std::string path = folder_.winFile("shrinks.pdf");
    ASSERT_TRUE(NetWriteFile(path, std::string(300000, 'z')));
    QlMailRequestRec r = NetBaseRequest(port);
    r.has_attachment = 1;
    r.attachment_path = path.c_str();
    QlSmtpSessionRec *session = NULL;
    ASSERT_EQ(0, QlSmtpSend(&r, &session));
    ASSERT_TRUE(NetPumpUntil([] { return gNetSmtpLog.count(SMTP_EV_ATTACH_PERCENT) > 0; }, 20000));
    // Cut short behind the client's back (the native side ignores the share mode).
    ASSERT_TRUE(QlTestTruncate(SmtpNative(path), 10000));
    NetPumpUntil([] { return gNetSmtpLog.ended(); }, 20000);
    EXPECT_EQ(SMTP_EV_LOCAL_ERROR, gNetSmtpLog.terminal());
    EXPECT_EQ("attachment read error", gNetSmtpLog.terminalText());
    EXPECT_EQ(0, gNetSmtpLog.count(SMTP_EV_SENT));
    std::vector<std::string> log;
    for (int i = 0; i < 100; i++) {
        log = ScriptLog();
        if (!log.empty() && log.back() == "ABORTED") break;
        Sleep(20);
    }
    ASSERT_FALSE(log.empty());
    EXPECT_EQ("ABORTED", log.back()) << "the server saw no end of data";
}

namespace {

// Python's ascii() of a Windows-1252 text, its CR LF as "\n" (as
// check_mail.py prints the texts it decoded).
std::string PyAscii(const std::string &text)
{
    static const char *const kHigh[32] = {"\\u20ac", "?", "\\u201a", "\\u0192", "\\u201e", "\\u2026", "\\u2020", "\\u2021",
                                          "\\u02c6", "\\u2030", "\\u0160", "\\u2039", "\\u0152", "?", "\\u017d", "?",
                                          "?", "\\u2018", "\\u2019", "\\u201c", "\\u201d", "\\u2022", "\\u2013", "\\u2014",
                                          "\\u02dc", "\\u2122", "\\u0161", "\\u203a", "\\u0153", "?", "\\u017e", "\\u0178"};
    std::string out = "'";
    for (size_t i = 0; i < text.size(); i++) {
        unsigned char c = (unsigned char)text[i];
        char hex[8];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "\\n";
            i++;
        } else if (c >= 0x80 && c < 0xA0) {
            out += kHigh[c - 0x80];
        } else if (c >= 0xA0) {
            snprintf(hex, sizeof(hex), "\\x%02x", c);
            out += hex;
        } else {
            out += (char)c;
        }
    }
    return out + "'";
}

}  // namespace

// A letter and an invoice from a company with accented characters, as a
// real server (aiosmtpd) stores them and Python's email package reads them:
// the subject, the text and the attachment exactly as written, MIME on both,
// the date with its zone, a Message-ID, no line over 78 characters.
TEST_F(SmtpTest, AccentedMailsArriveWholeAtARealServer)
{
    const NetCerts &c = NetTestCerts();
    NetPeer server;
    int port = server.startListening({kNetPython, NetPeerScript("smtp_aio.py"), "--mode", "starttls", "--cert",
                                      c.native("good.pem"), "--key", c.native("good.key"), "--out", folder_.native,
                                      "--user", "quillory", "--password", "pa$$word"});
    ASSERT_GT(port, 0);
    const std::string pdf = "%PDF-1.4\n" + std::string(5000, '\xE4') + "\n%%EOF\n";
    const std::string attachment = folder_.winFile("Gr\xF6\xDF" "e Rechnung 17.pdf");
    ASSERT_TRUE(NetWriteFile(attachment, pdf));
    struct Mail {
        const char *what;
        std::string subject, body;
        bool attach;
    } mails[] = {
        {"a German letter without an attachment", "Adress\xE4nderung \x96 M\xFCller & S\xF6hne GmbH",
         "Sehr geehrte Damen und Herren,\r\n\r\nbitte beachten Sie unsere neue Anschrift: M\xFCllerstra\xDF" "e 12, "
         "80331 M\xFCnchen. F\xFCr R\xFC" "ckfragen stehen wir gern zur Verf\xFCgung.\r\n.\r\n"
         "Mit freundlichen Gr\xFC\xDF" "en \x80 \xE9\xE8 = 100%\r\nM\xFCller & S\xF6hne GmbH",
         false},
        {"an invoice with its PDF", "M\xFCller & S\xF6hne GmbH Rechnung 17",
         "Sehr geehrte Damen und Herren,\r\n\r\nanbei erhalten Sie die Rechnung von M\xFCller & S\xF6hne GmbH.\r\n", true},
    };
    int n = 0;
    for (const Mail &m : mails) {
        SCOPED_TRACE(m.what);
        gNetSmtpLog = NetSmtpLog();
        QlMailRequestRec r = NetBaseRequest(port);
        r.host = "localhost";
        r.tls_mode = 1;
        r.use_auth = 1;
        r.user = "quillory";
        r.password = "pa$$word";
        r.ca_file = caFile_.c_str();
        r.from = "office@mueller-soehne.test";
        r.subject = m.subject.c_str();
        r.body = m.body.c_str();
        r.body_len = (int32_t)m.body.size();
        if (m.attach) {
            r.has_attachment = 1;
            r.attachment_path = attachment.c_str();
            r.body_qp = 1;
        }
        time_t sent = time(NULL);
        ASSERT_EQ(SMTP_EV_SENT, SendAndWait(r, 60000)) << gNetSmtpLog.terminalText();
        std::map<std::string, std::string> mail =
            NetCheckMail(folder_.nativeFile(("msg-" + std::to_string(++n) + ".eml").c_str()));
        EXPECT_EQ(PyAscii(m.subject), mail["subject-text"]);
        EXPECT_EQ(PyAscii(m.body), mail["body-text"]);
        EXPECT_EQ("text/plain; charset=windows-1252", mail["text-type"]);
        EXPECT_EQ("quoted-printable", mail["text-encoding"]);
        EXPECT_EQ("1.0", mail["mime-version"]);
        EXPECT_NE(std::string::npos, mail["message-id"].find("@mueller-soehne.test>")) << mail["message-id"];
        EXPECT_LE(std::abs((long)(atol(mail["date-utc"].c_str()) - (long)sent)), 120L)
            << mail["date"] << ": the local time and its zone make the moment of sending";
        EXPECT_LE(atoi(mail["longest-line"].c_str()), 78);
        EXPECT_EQ(m.attach ? "1" : "0", mail["multipart"]);
        if (m.attach) {
            EXPECT_EQ("application/pdf", mail["attachment-type"]);
            EXPECT_EQ("'Gr\\xf6\\xdfe Rechnung 17.pdf'", mail["attachment-filename-text"]);
            EXPECT_EQ(NetSha256Of(SmtpNative(attachment)), mail["attachment-bytes"]);
        }
        EXPECT_EQ("0", mail["defects"]);
    }
}
