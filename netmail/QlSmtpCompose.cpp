// What the client sends between the server's go-ahead for DATA and the end
// of the message: the header block (a subject beyond ASCII as encoded words,
// the date with its zone, a Message-ID, MIME on every mail), the text body in
// lines of at most 998 bytes with dot-stuffing (quoted-printable with soft
// line breaks wherever plain 7-bit text would not carry it whole), one
// attachment streamed as base64 in a MIME multipart message, the closing
// boundary and the end-of-data line.  One piece a pump pass; a piece the send
// queue refuses is offered again in the next pass.
#include "netmail/QlSmtpInternal.h"

#include <ctype.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define QL_MIME_BOUNDARY "----=_NextPart_000_0001_01C80074.E5884AE0"

static const int BODY_PIECE_MAX = 998;
static const char *const kDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
static const char *const kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
static const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
static const char *const kCharsetNames[2] = {"", "koi8-r"};
// The character set of the texts by QlSmtpSessionRec::charset: the program's
// own (the western languages), or KOI8-R for a Cyrillic sender.
static const char *const kTextCharsets[2] = {"windows-1252", "koi8-r"};

// RFC 2045 and 2047: an encoded line holds at most 76 characters, and so
// does a header line that holds encoded words; other header lines are folded
// before 78 where they can be.
static const int QP_LINE_MAX = 76;
static const int HEADER_LINE_SOFT_MAX = 78;

// Windows-1251 to KOI8-R for the bytes 128 to 255: the Cyrillic letters and
// the no-break space move, every other byte stays.
static const unsigned char win1251_koi8r[128] = {
    0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8D, 0x8E, 0x8F,
    0x90, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0x9B, 0x9C, 0x9D, 0x9E, 0x9F,
    0x9A, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xB3, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF,
    0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xA3, 0xB9, 0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF,
    0xE1, 0xE2, 0xF7, 0xE7, 0xE4, 0xE5, 0xF6, 0xFA, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, 0xF0,
    0xF2, 0xF3, 0xF4, 0xF5, 0xE6, 0xE8, 0xE3, 0xFE, 0xFB, 0xFD, 0xFF, 0xF9, 0xF8, 0xFC, 0xE0, 0xF1,
    0xC1, 0xC2, 0xD7, 0xC7, 0xC4, 0xC5, 0xD6, 0xDA, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF, 0xD0,
    0xD2, 0xD3, 0xD4, 0xD5, 0xC6, 0xC8, 0xC3, 0xDE, 0xDB, 0xDD, 0xDF, 0xD9, 0xD8, 0xDC, 0xC0, 0xD1,
};

static int IsBreak(unsigned char c)
{
    return c == '\r' || c == '\n';
}

// The length of the line break at i (CR LF, a lone CR or a lone LF), 0 when
// there is none.
static int BreakAt(const char *text, int length, int i)
{
    if (text[i] == '\r') return i + 1 < length && text[i + 1] == '\n' ? 2 : 1;
    return text[i] == '\n' ? 1 : 0;
}

int QlSmtpBodyNeedsQp(const char *body, int length, int multipart)
{
    int column = 0;
    for (int i = 0; i < length; i++) {
        unsigned char c = (unsigned char)body[i];
        int lineBreak = BreakAt(body, length, i);
        if (lineBreak) {
            i += lineBreak - 1;
            column = 0;
            continue;
        }
        if (c >= 127 || (c < 32 && c != '\t')) return 1;
        if (++column > QP_LINE_MAX) return 1;
    }
    // A single part ends with the body's last line end; only quoted-printable
    // can end it without one.
    return !multipart && length > 0 && !IsBreak((unsigned char)body[length - 1]);
}

namespace {

// Writes into out when there is one, and counts in any case.
struct Sink {
    char *out;
    int n;
    void put(const char *text, int count)
    {
        if (out) memcpy(out + n, text, (size_t)count);
        n += count;
    }
};

}  // namespace

int QlSmtpEncodeBody(const char *body, int length, int mode, char *out)
{
    static const char hex[] = "0123456789ABCDEF";
    Sink sink = {out, 0};
    int column = 0;
    for (int i = 0; i < length; i++) {
        unsigned char c = (unsigned char)body[i];
        int lineBreak = BreakAt(body, length, i);
        if (lineBreak) {
            // Every line break goes as CR LF: a lone CR or LF is no line end
            // to SMTP.
            sink.put("\r\n", 2);
            i += lineBreak - 1;
            column = 0;
            continue;
        }
        if (mode == QL_SMTP_BODY_PLAIN) {
            sink.put((const char *)&c, 1);
            continue;
        }
        char token[3];
        int size = 1;
        token[0] = (char)c;
        // A blank stays as it is unless it ends a line (where it could be
        // lost on the way).
        int blankAtEnd = (c == ' ' || c == '\t') && (i + 1 == length || IsBreak((unsigned char)body[i + 1]));
        if ((c < 33 && c != ' ' && c != '\t') || c > 126 || c == '=' || blankAtEnd) {
            token[0] = '=';
            token[1] = hex[c >> 4];
            token[2] = hex[c & 15];
            size = 3;
        }
        // A soft line break (a final "=") keeps every line within 76.
        if (column + size > QP_LINE_MAX - 1) {
            sink.put("=\r\n", 3);
            column = 0;
        }
        sink.put(token, size);
        column += size;
    }
    if (mode == QL_SMTP_BODY_QP_SOFT_END && length > 0 && !IsBreak((unsigned char)body[length - 1]))
        sink.put("=\r\n", 3);
    return sink.n;
}

// ---------------------------------------------------------------------------
// Header texts

// Bytes that stand for themselves inside a "Q" encoded word anywhere in a
// header (RFC 2047, 5 (3)).
static int QWordLiteral(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '!' || c == '*' ||
           c == '+' || c == '-' || c == '/';
}

// Printable ASCII that no reader could take for an encoded word.
static int PlainHeaderText(const char *text, int length)
{
    for (int i = 0; i < length; i++) {
        unsigned char c = (unsigned char)text[i];
        if (c < 32 || c > 126) return 0;
        if (c == '=' && i + 1 < length && text[i + 1] == '?') return 0;
    }
    return 1;
}

// Plain text folded at blanks: a word that would take the line past 78
// characters begins the next line (the blank before it stays, as the
// folding's white space).
static int FoldPlain(const char *text, int length, int column, Sink *sink, int outSize)
{
    if (length + length / 2 + 1 > outSize) return 0;
    int i = 0;
    while (i < length) {
        int end = i + 1;
        while (end < length && text[end] != ' ') end++;
        if (text[i] == ' ' && column + (end - i) > HEADER_LINE_SOFT_MAX && column > 1) {
            sink->put("\r\n", 2);
            column = 0;
        }
        sink->put(text + i, end - i);
        column += end - i;
        i = end;
    }
    return 1;
}

// Encoded words, each within a line of 76 characters, on folded lines.
// charset 1 takes "B" words (the text already converted), any other "Q".
static int EncodeWords(const char *text, int length, int charset, int column, Sink *sink, int outSize)
{
    static const char hex[] = "0123456789ABCDEF";
    const int base64 = charset == 1;
    char prefix[32];
    int prefixLength = snprintf(prefix, sizeof prefix, "=?%s?%c?", kTextCharsets[charset == 1 ? 1 : 0],
                                base64 ? 'B' : 'Q');
    int i = 0;
    while (i < length) {
        if (i > 0) {
            sink->put("\r\n ", 3);
            column = 1;
        }
        int room = QP_LINE_MAX - column - prefixLength - 2;
        char word[QP_LINE_MAX + 1];
        int n = 0;
        if (base64) {
            int take = room / 4 * 3;
            if (take > length - i) take = length - i;
            if (take <= 0 || !QlSmtpBase64Plain(text + i, take, word, sizeof word)) return 0;
            n = (int)strlen(word);
            i += take;
        } else {
            while (i < length) {
                unsigned char c = (unsigned char)text[i];
                int size = (QWordLiteral(c) || c == ' ') ? 1 : 3;
                if (n + size > room) break;
                if (c == ' ') word[n] = '_';
                else if (size == 1) word[n] = (char)c;
                else {
                    word[n] = '=';
                    word[n + 1] = hex[c >> 4];
                    word[n + 2] = hex[c & 15];
                }
                n += size;
                i++;
            }
            if (n == 0) return 0;
        }
        if (sink->n + prefixLength + n + 2 + 3 >= outSize) return 0;
        sink->put(prefix, prefixLength);
        sink->put(word, n);
        sink->put("?=", 2);
        column += prefixLength + n + 2;
    }
    return 1;
}

int QlSmtpHeaderText(const char *text, int length, int charset, int column, char *out, int outSize)
{
    if (!out || outSize <= 0) return 0;
    Sink sink = {out, 0};
    int ok = (charset != 1 && PlainHeaderText(text, length)) ? FoldPlain(text, length, column, &sink, outSize)
                                                              : EncodeWords(text, length, charset, column, &sink, outSize);
    if (!ok || sink.n >= outSize) {
        out[0] = '\0';
        return 0;
    }
    out[sink.n] = '\0';
    return 1;
}

// Appends to a text buffer, never past its end (the addresses and subject are
// bounded, so the header block always fits).
struct Writer {
    char *text;
    int size;
    int length;
};

static void Put(Writer *w, const char *format, ...)
{
    if (w->length >= w->size - 1) return;
    va_list args;
    va_start(args, format);
    int n = vsnprintf(w->text + w->length, (size_t)(w->size - w->length), format, args);
    va_end(args);
    if (n < 0) return;
    w->length += n;
    if (w->length > w->size - 1) w->length = w->size - 1;
}

static void PutAddressList(Writer *w, const char *label, char (*addresses)[81], int count)
{
    for (int i = 0; i < count; i++) {
        if (i == 0) Put(w, "%s", label);
        else Put(w, " ");
        Put(w, "<%s>%s\r\n", addresses[i], i + 1 < count ? "," : "");
    }
}

// The text part's header: its character set, and quoted-printable or 7-bit.
static void PutTextPartHeader(Writer *w, const QlSmtpSessionRec *session)
{
    if (session->body_qp)
        Put(w, "Content-Type: text/plain;\r\n\tcharset=\"%s\"\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n",
            kTextCharsets[session->charset == 1 ? 1 : 0]);
    else
        Put(w, "Content-Type: text/plain;\r\n\tcharset=\"us-ascii\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\n");
}

int QlSmtpComposeHeader(QlSmtpSessionRec *session, const SYSTEMTIME *now, int zoneMinutes)
{
    memset(session->header_buf, 0, sizeof(session->header_buf));
    Writer w = {session->header_buf, (int)sizeof(session->header_buf), 0};
    Put(&w, "From: <%s>\r\n", session->from);
    PutAddressList(&w, "To: ", session->to, session->to_count);
    PutAddressList(&w, "CC: ", session->cc, session->cc_count);
    int zone = zoneMinutes < 0 ? -zoneMinutes : zoneMinutes;
    Put(&w, "Subject: %s\r\nDate: %s, %d %s %d %02d:%02d:%02d %c%02d%02d\r\n", session->subject,
        kDayNames[now->wDayOfWeek % 7], now->wDay, kMonthNames[(now->wMonth + 11) % 12], now->wYear, now->wHour,
        now->wMinute, now->wSecond, zoneMinutes < 0 ? '-' : '+', zone / 60 % 100, zone % 60);
    if (session->message_id[0]) Put(&w, "Message-ID: %s\r\n", session->message_id);
    Put(&w, "MIME-Version: 1.0\r\n");
    if (session->has_attachment)
        Put(&w, "Content-Type: multipart/mixed;\r\n\tboundary=\"" QL_MIME_BOUNDARY
                "\"\r\n\r\nThis is a multi-part message in MIME format.\r\n\r\n--" QL_MIME_BOUNDARY "\r\n");
    PutTextPartHeader(&w, session);
    return w.length;
}

// A domain for the Message-ID: the sender's, else the local host's, else
// one that cannot be anybody's.
static const char *MessageIdDomain(const QlSmtpSessionRec *session)
{
    static const char kAllowed[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-";
    const char *at = strrchr(session->from, '@');
    if (at && at[1] && strspn(at + 1, kAllowed) == strlen(at + 1)) return at + 1;
    const char *host = gQlSmtp ? gQlSmtp->local_host : "";
    if (host[0] && strspn(host, kAllowed) == strlen(host)) return host;
    return "quillory.invalid";
}

void QlSmtpMakeMessageId(QlSmtpSessionRec *session)
{
    static LONG counter;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    LARGE_INTEGER ticks;
    QueryPerformanceCounter(&ticks);
    snprintf(session->message_id, sizeof(session->message_id), "<%08lX%08lX.%lX.%lX.%lX@%s>",
             (unsigned long)now.dwHighDateTime, (unsigned long)now.dwLowDateTime,
             (unsigned long)GetCurrentProcessId(), (unsigned long)InterlockedIncrement(&counter),
             (unsigned long)(ticks.QuadPart & 0xFFFFFFFF), MessageIdDomain(session));
}

int QlSmtpLocalTime(SYSTEMTIME *now)
{
    // One moment for both: the local time and its distance from UTC.
    FILETIME utc, local;
    GetSystemTimeAsFileTime(&utc);
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, now)) {
        GetSystemTime(now);
        return 0;
    }
    int64_t u = ((int64_t)utc.dwHighDateTime << 32) | utc.dwLowDateTime;
    int64_t l = ((int64_t)local.dwHighDateTime << 32) | local.dwLowDateTime;
    int64_t seconds = (l - u) / 10000000;
    return (int)((seconds >= 0 ? seconds + 30 : seconds - 30) / 60);
}

// While the message goes out, the reply timer measures the time since the
// socket layer last took a piece of it: a send that makes no progress for
// that long ends as a failure instead of waiting for ever.
static void Progress(QlSmtpSessionRec *session)
{
    ZrTimerStart(&session->reply_timer, QL_SMTP_REPLY_MS, NULL, 0);
}

// Queues what is left of header_buf; 1 when all of it is queued.
static int QueueHeaderRest(QlSmtpSessionRec *session)
{
    if (session->header_left <= 0) return 1;
    int queued = 0;
    if (ZrSockTcpSend(session->slot, session->header_buf + session->header_sent, session->header_left, &queued) !=
        ZR_SOCK_OK)
        return 0;
    if (queued > 0) Progress(session);
    session->header_sent += queued;
    session->header_left -= queued;
    return session->header_left == 0;
}

void QlSmtpStartMessage(QlSmtpSessionRec *session)
{
    SYSTEMTIME now;
    int zone = QlSmtpLocalTime(&now);
    QlSmtpMakeMessageId(session);
    session->header_left = QlSmtpComposeHeader(session, &now, zone);
    session->header_sent = 0;
    session->stage = 1;
    session->sending = 1;
    Progress(session);
    QueueHeaderRest(session);
}

static int Percent(int64_t total, int64_t left)
{
    if (total <= 0) return 100;
    return (int)((total - left) * 100 / total);
}

int QlSmtpFindLineEnd(const char *bytes, int count, int *index)
{
    int crSeen = 0;
    for (int i = 0; i < count; i++) {
        if (bytes[i] == '\n' && crSeen) {
            *index = i + 1;
            return 1;
        }
        crSeen = bytes[i] == '\r';
    }
    return 0;
}

int QlSmtpFileNameStart(const char *path)
{
    int length = (int)strlen(path);
    for (int i = length - 1; i >= 1; i--)
        if (path[i] == '\\') return i + 1;
    return 0;
}

const char *QlSmtpAttachmentType(const char *name)
{
    const char *dot = strrchr(name, '.');
    if (dot && lstrcmpiA(dot, ".pdf") == 0) return "application/pdf";
    if (dot && (lstrcmpiA(dot, ".htm") == 0 || lstrcmpiA(dot, ".html") == 0)) return "text/html";
    return "application/octet-stream";
}

// A file name as a MIME parameter: quoted when it is printable ASCII without
// quotes or backslashes, otherwise in the extended form of RFC 2231
// (name*=windows-1252''%E9...).
static void PutNameParameter(Writer *w, const char *parameter, const char *name)
{
    int plain = 1;
    for (const unsigned char *p = (const unsigned char *)name; *p; p++)
        if (*p < 32 || *p > 126 || *p == '"' || *p == '\\') plain = 0;
    if (plain) {
        Put(w, "\t%s=\"%s\"\r\n", parameter, name);
        return;
    }
    static const char hex[] = "0123456789ABCDEF";
    static const char kAttrChars[] = "!#$&+-.^_`|~";
    Put(w, "\t%s*=windows-1252''", parameter);
    for (const unsigned char *p = (const unsigned char *)name; *p; p++) {
        if ((*p < 128 && isalnum(*p)) || (*p && strchr(kAttrChars, *p))) Put(w, "%c", *p);
        else Put(w, "%%%c%c", hex[*p >> 4], hex[*p & 15]);
    }
    Put(w, "\r\n");
}

// The attachment's part header goes out through header_buf, like the header
// block, so that a refused queueing is offered again.  A body that ended
// with a line end of its own keeps it: the line end before the delimiter
// belongs to the delimiter.
static void StartAttachmentPart(QlSmtpSessionRec *session)
{
    const char *name = session->attachment_path + QlSmtpFileNameStart(session->attachment_path);
    Writer w = {session->header_buf, (int)sizeof(session->header_buf), 0};
    Put(&w, "%s--" QL_MIME_BOUNDARY "\r\nContent-Type: %s;\r\n", session->body_ends_line ? "\r\n" : "",
        QlSmtpAttachmentType(name));
    PutNameParameter(&w, "name", name);
    Put(&w, "Content-Transfer-Encoding: base64\r\nContent-Disposition: attachment;\r\n");
    PutNameParameter(&w, "filename", name);
    Put(&w, "\r\n");
    session->header_sent = 0;
    session->header_left = w.length;
    session->stage = 2;
    QueueHeaderRest(session);
}

int QlSmtpSendBodyChunk(QlSmtpSessionRec *session)
{
    if (session->header_left > 0) {
        QueueHeaderRest(session);
        return 1;
    }
    if (session->stage == 2) {
        QlSmtpSendAttachment(session);
        return 1;
    }
    const char *piece = session->body + session->body_sent;
    int limit = session->body_left < BODY_PIECE_MAX ? session->body_left : BODY_PIECE_MAX;
    char out[QL_SMTP_LINE_MAX];
    int n = 0, length = 0;
    if (limit > 0 && piece[0] == '.') out[n++] = '.';
    if (QlSmtpFindLineEnd(piece, limit, &length)) {
        memcpy(out + n, piece, (size_t)length);
        n += length;
    } else {
        length = limit;
        memcpy(out + n, piece, (size_t)length);
        n += length;
        out[n++] = '\r';
        out[n++] = '\n';
    }
    int queued = 0;
    if (ZrSockTcpSend(session->slot, out, n, &queued) != ZR_SOCK_OK || queued != n) return 0;
    Progress(session);
    session->body_sent += length;
    session->body_left -= length;
    QlSmtpRaise(session, SMTP_EV_BODY_PERCENT, (void *)(intptr_t)Percent(session->body_len, session->body_left), 0);
    if (!session->in_use || session->body_left > 0) return 1;
    if (session->has_attachment) {
        StartAttachmentPart(session);
    } else {
        ZrTimerStart(&session->end_timer, QL_SMTP_END_MS, NULL, 0);
        session->sending = 0;
    }
    return 1;
}

void QlSmtpSendAttachment(QlSmtpSessionRec *session)
{
    if (!session->read_buf) {
        session->read_buf = (char *)malloc(QL_SMTP_READ_SIZE);
        session->b64_buf = (char *)malloc(QL_SMTP_B64_SIZE);
        if (!session->read_buf || !session->b64_buf) {
            // Without the final dot the server discards what it has.
            QlSmtpLocalError(session, "no memory for the attachment");
            return;
        }
        session->b64_pending = session->b64_sent = session->trailer_due = session->b64_column = 0;
        strcpy(session->trailer, "\r\n--" QL_MIME_BOUNDARY "--\r\n\r\n.\r\n");
        session->trailer_sent = 0;
        session->trailer_left = (int)strlen(session->trailer);
    }
    int queued = 0;
    if (session->trailer_due) {
        if (ZrSockTcpSend(session->slot, session->trailer + session->trailer_sent, session->trailer_left, &queued) !=
            ZR_SOCK_OK)
            return;
        if (queued > 0) Progress(session);
        session->trailer_sent += queued;
        session->trailer_left -= queued;
        if (session->trailer_left > 0) return;
        if (session->trace) QlSmtpTrace(session, "all transmitted", 16);
        session->sending = 0;
        ZrTimerStart(&session->reply_timer, QL_SMTP_EOM_ATTACH_MS, NULL, 0);
        return;
    }
    if (session->b64_pending == 0) {
        if (session->attach_left <= 0) {
            session->trailer_due = 1;
            return;
        }
        int got = 0;
        if (!QlSmtpReadAttachment(session, &got) || got <= 0) {
            // A short or failed read must not pass for the whole file.
            QlSmtpLocalError(session, "attachment read error");
            return;
        }
        QlSmtpBase64Encode(session, session->read_buf, got, session->b64_buf, &session->b64_pending);
        session->b64_sent = 0;
        session->attach_left -= got;
        QlSmtpRaise(session, SMTP_EV_ATTACH_PERCENT,
                    (void *)(intptr_t)Percent(session->attach_size, session->attach_left), 0);
        if (!session->in_use) return;
    }
    if (ZrSockTcpSend(session->slot, session->b64_buf + session->b64_sent, session->b64_pending, &queued) !=
        ZR_SOCK_OK)
        return;
    if (queued > 0) Progress(session);
    session->b64_pending -= queued;
    session->b64_sent += queued;
}

void QlSmtpBase64Encode(QlSmtpSessionRec *session, const void *input, int count, char *output, int *outLength)
{
    if (!input || !output || !outLength || count <= 0) return;
    const unsigned char *in = (const unsigned char *)input;
    int n = 0;
    for (int i = 0; i < count; i += 3) {
        int left = count - i;
        unsigned v = (unsigned)in[i] << 16;
        if (left > 1) v |= (unsigned)in[i + 1] << 8;
        if (left > 2) v |= in[i + 2];
        char group[4] = {kBase64[(v >> 18) & 63], kBase64[(v >> 12) & 63], left > 1 ? kBase64[(v >> 6) & 63] : '=',
                         left > 2 ? kBase64[v & 63] : '='};
        for (int k = 0; k < 4; k++) {
            output[n++] = group[k];
            if (++session->b64_column == 76) {
                output[n++] = '\r';
                output[n++] = '\n';
                session->b64_column = 0;
            }
        }
    }
    *outLength = n;
}

int QlSmtpBase64Plain(const void *input, int count, char *output, int outSize)
{
    const unsigned char *in = (const unsigned char *)input;
    int needed = (count + 2) / 3 * 4 + 1;
    if (count < 0 || outSize < needed) return 0;
    int n = 0;
    for (int i = 0; i < count; i += 3) {
        int left = count - i;
        unsigned v = (unsigned)in[i] << 16;
        if (left > 1) v |= (unsigned)in[i + 1] << 8;
        if (left > 2) v |= in[i + 2];
        output[n++] = kBase64[(v >> 18) & 63];
        output[n++] = kBase64[(v >> 12) & 63];
        output[n++] = left > 1 ? kBase64[(v >> 6) & 63] : '=';
        output[n++] = left > 2 ? kBase64[v & 63] : '=';
    }
    output[n] = '\0';
    return 1;
}

int QlSmtpOpenAttachment(QlSmtpSessionRec *session)
{
    session->attach_file = CreateFileA(session->attachment_path, GENERIC_READ, 0, NULL, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, NULL);
    if (session->attach_file == INVALID_HANDLE_VALUE) {
        session->attach_file = NULL;
        return 0;
    }
    return 1;
}

int QlSmtpAttachmentSize(QlSmtpSessionRec *session, int64_t *size)
{
    LARGE_INTEGER value;
    if (!session->attach_file || !GetFileSizeEx(session->attach_file, &value)) return 0;
    *size = value.QuadPart;
    return 1;
}

int QlSmtpReadAttachment(QlSmtpSessionRec *session, int *bytesRead)
{
    DWORD want = QL_SMTP_READ_SIZE;
    if (session->attach_left < (int64_t)want) want = (DWORD)session->attach_left;
    DWORD got = 0;
    *bytesRead = 0;
    if (!session->attach_file || !ReadFile(session->attach_file, session->read_buf, want, &got, NULL)) return 0;
    *bytesRead = (int)got;
    return 1;
}

void QlSmtpCloseAttachment(QlSmtpSessionRec *session)
{
    if (!session->attach_file) return;
    CloseHandle(session->attach_file);
    session->attach_file = NULL;
}

int QlSmtpRewindAttachment(QlSmtpSessionRec *session)
{
    if (!session->has_attachment) return 1;
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    if (!session->attach_file || !SetFilePointerEx(session->attach_file, zero, NULL, FILE_BEGIN)) return 0;
    session->attach_left = session->attach_size;
    session->b64_pending = session->b64_sent = session->b64_column = 0;
    session->trailer_due = 0;
    session->trailer_sent = 0;
    session->trailer_left = (int)strlen(session->trailer);
    return 1;
}

void QlSmtpConvertCharset(const char *text, int length, char *out)
{
    for (int i = 0; i < length; i++) {
        unsigned char c = (unsigned char)text[i];
        out[i] = (char)(c < 128 ? c : win1251_koi8r[c - 128]);
    }
}

int QlSmtpEncodeHeaderWord(QlSmtpSessionRec *session, int charset, const char *text, char *out, int length,
                           int outSize)
{
    const char *name = (charset >= 0 && charset < 2) ? kCharsetNames[charset] : "";
    // "=?" name "?B?" base64 "?=" and the NUL, without line breaks.
    int encoded = (length + 2) / 3 * 4;
    if ((int)strlen(name) + 5 + encoded + 2 + 1 > outSize) return 0;
    int n = snprintf(out, (size_t)outSize, "=?%s?B?", name);
    session->b64_column = 0;
    int written = 0;
    if (length > 0) QlSmtpBase64Encode(session, text, length, out + n, &written);
    session->b64_column = 0;
    n += written;
    memcpy(out + n, "?=", 3);
    return 1;
}
