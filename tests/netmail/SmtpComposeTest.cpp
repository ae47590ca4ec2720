// The message as it goes out: header block, body pieces, quoted-printable,
// base64 and the attachment part, checked byte for byte (on the wire, through
// the scripted peer, where it matters).
#include "SmtpTestSupport.h"

#include <stdlib.h>
#include <string.h>
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
// empty line after the text part's header); the Date line is checked for its
// form and then taken out.
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
        char dayName[4], month[4];
        EXPECT_EQ(7, sscanf(line.c_str(), "Date: %3s, %d %3s %d %d:%d:%d", dayName, &day, month, &year, &h, &m, &s))
            << line;
        header->erase(date, eol + 2 - date);
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

TEST(SmtpCompose, BodyEncodingSubjectWordAndFileNames)
{
    char out[64];
    const char body[] = "caf\xE9 \x7F=1\r\n";
    int n = QlSmtpEncodeBody(body, (int)strlen(body), 1, out);
    EXPECT_EQ("caf=E9 =7F=3D1\r\n", std::string(out, (size_t)n));
    n = QlSmtpEncodeBody(body, (int)strlen(body), 0, out);
    EXPECT_EQ(std::string(body), std::string(out, (size_t)n)) << "a plain copy without quoted-printable";

    QlSmtpSessionRec *session = (QlSmtpSessionRec *)calloc(1, sizeof(QlSmtpSessionRec));
    const char subject[] = "\xCF\xF0\xE8\xE2\xE5\xF2";   // "Privet" in Windows-1251
    char converted[81], word[84];
    QlSmtpConvertCharset(subject, 6, converted);
    ASSERT_EQ(1, QlSmtpEncodeHeaderWord(session, 1, converted, word, 6, sizeof(word)));
    EXPECT_STREQ("=?koi8-r?B?8NLJ18XU?=", word);
    free(session);

    struct Case {
        const char *path;
        int start;
    } names[] = {{"C:\\docs\\invoice 17.pdf", 8}, {"invoice.pdf", 0}, {"a/b/c.pdf", 0}, {"\\abc", 0}, {"x\\y", 2}};
    for (const Case &c : names) EXPECT_EQ(c.start, QlSmtpFileNameStart(c.path)) << c.path;
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
    SYSTEMTIME now;
    memset(&now, 0, sizeof(now));
    now.wYear = 2025;
    now.wMonth = 1;
    now.wDay = 5;
    now.wDayOfWeek = 0;
    now.wHour = 9;
    now.wMinute = 7;
    now.wSecond = 3;
    int n = QlSmtpComposeHeader(s, &now);
    EXPECT_EQ(std::string("From: <me@quillory.test>\r\n"
                          "To: <a@x.test>,\r\n <b@x.test>,\r\n <c@x.test>\r\n"
                          "CC: <d@x.test>\r\n"
                          "Subject: Invoice 17\r\n"
                          "Date: Sun, 5 Jan 2025 09:07:03\r\n"
                          "\r\n"),
              std::string(s->header_buf, (size_t)n));

    s->to_count = 0;
    s->cc_count = 0;
    s->has_attachment = 1;
    s->body_qp = 1;
    now.wMonth = 12;
    now.wDay = 31;
    now.wDayOfWeek = 3;
    n = QlSmtpComposeHeader(s, &now);
    EXPECT_EQ("From: <me@quillory.test>\r\n"
              "Subject: Invoice 17\r\n"
              "Date: Wed, 31 Dec 2025 09:07:03\r\n"
              "MIME-Version: 1.0\r\nContent-Type: multipart/mixed;\r\n\tboundary=\"" + kBoundary + "\"\r\n\r\n"
              "This is a multi-part message in MIME format.\r\n\r\n--" + kBoundary + "\r\n"
              "Content-Type: text/plain;\r\n\tcharset=\"iso-8859-1\"\r\n"
              "Content-Transfer-Encoding: quoted-printable\r\n\r\n",
              std::string(s->header_buf, (size_t)n))
        << "no To line without a To address";
    free(s);
}

TEST_F(SmtpTest, BodyPiecesOnTheWire)
{
    int port = StartScript({});
    ASSERT_GT(port, 0);
    std::string longLine(2000, 'x');
    longLine[998] = '.';   // the start of its second piece
    longLine.replace(1996, 4, "wxyz");
    std::string body = ".starts with a dot\r\n" + longLine + "\r\ncaf\xE9 = 1\r\nno line end";
    QlMailRequestRec r = NetBaseRequest(port);
    r.body = body.c_str();
    r.body_len = (int32_t)body.size();
    r.body_qp = 1;
    ASSERT_EQ(SMTP_EV_SENT, SendAndWait(r)) << gNetSmtpLog.terminalText();
    std::string header;
    std::string sent = WithoutDate(ScriptData(), &header);
    EXPECT_EQ("From: <sender@quillory.test>\r\nTo: <buyer@quillory.test>\r\nSubject: Invoice 17\r\n\r\n", header);
    EXPECT_EQ("..starts with a dot\r\n" + longLine.substr(0, 998) + "\r\n." + longLine.substr(998, 998) +
                  "\r\nwxyz\r\ncaf=E9 =3D 1\r\nno line end\r\n\r\n",
              sent);
    int last = -1;
    for (const NetSmtpEvent &e : gNetSmtpLog.events)
        if (e.code == SMTP_EV_BODY_PERCENT) {
            EXPECT_GE((int)e.value, last);
            last = (int)e.value;
        }
    EXPECT_EQ(100, last);
    EXPECT_EQ(6, gNetSmtpLog.count(SMTP_EV_BODY_PERCENT)) << "one event a piece";
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
        std::string expected = std::string(r.body) + "--" + kBoundary +
                               "\r\nContent-Type: application/octet-stream;\r\n\tname=\"invoice 17.pdf\"\r\n"
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
    // a while after the go-ahead: pieces are refused again and again.
    int port = StartScript({"--stall-data", "1.5"});
    ASSERT_GT(port, 0);
    std::string body;
    for (int i = 0; body.size() < 400000; i++) {
        std::string line(988, (char)('a' + i % 26));
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
    ASSERT_EQ(body.size() + 2, sent.size());
    EXPECT_TRUE(body + "\r\n" == sent) << "every piece arrived once and in order";
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
