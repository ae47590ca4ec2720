// What the client sends between the server's go-ahead for DATA and the end
// of the message: the header block, the body in lines of at most 998 bytes
// with dot-stuffing, one attachment streamed as base64 in a MIME multipart
// message, the closing boundary and the end-of-data line.  One piece a pump
// pass; a piece the send queue refuses is offered again in the next pass.
#include "netmail/QlSmtpInternal.h"

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

int QlSmtpEncodeBody(const char *body, int length, int quotedPrintable, char *out)
{
    static const char hex[] = "0123456789ABCDEF";
    int n = 0;
    for (int i = 0; i < length; i++) {
        unsigned char c = (unsigned char)body[i];
        if (quotedPrintable && (c >= 127 || c == '=')) {
            out[n++] = '=';
            out[n++] = hex[c >> 4];
            out[n++] = hex[c & 15];
        } else {
            out[n++] = (char)c;
        }
    }
    return n;
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

int QlSmtpComposeHeader(QlSmtpSessionRec *session, const SYSTEMTIME *now)
{
    memset(session->header_buf, 0, sizeof(session->header_buf));
    Writer w = {session->header_buf, (int)sizeof(session->header_buf), 0};
    Put(&w, "From: <%s>\r\n", session->from);
    PutAddressList(&w, "To: ", session->to, session->to_count);
    PutAddressList(&w, "CC: ", session->cc, session->cc_count);
    Put(&w, "Subject: %s\r\nDate: %s, %d %s %d %02d:%02d:%02d\r\n", session->subject,
        kDayNames[now->wDayOfWeek % 7], now->wDay, kMonthNames[(now->wMonth + 11) % 12], now->wYear, now->wHour,
        now->wMinute, now->wSecond);
    if (session->has_attachment) {
        Put(&w, "MIME-Version: 1.0\r\nContent-Type: multipart/mixed;\r\n\tboundary=\"" QL_MIME_BOUNDARY
                "\"\r\n\r\nThis is a multi-part message in MIME format.\r\n\r\n--" QL_MIME_BOUNDARY
                "\r\nContent-Type: text/plain;\r\n");
        if (session->body_qp)
            Put(&w, "\tcharset=\"iso-8859-1\"\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n");
        else
            Put(&w, "\tcharset=\"us-ascii\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\n");
    } else {
        Put(&w, "\r\n");
    }
    return w.length;
}

// Queues what is left of header_buf; 1 when all of it is queued.
static int QueueHeaderRest(QlSmtpSessionRec *session)
{
    if (session->header_left <= 0) return 1;
    int queued = 0;
    if (ZrSockTcpSend(session->slot, session->header_buf + session->header_sent, session->header_left, &queued) !=
        ZR_SOCK_OK)
        return 0;
    session->header_sent += queued;
    session->header_left -= queued;
    return session->header_left == 0;
}

void QlSmtpStartMessage(QlSmtpSessionRec *session)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    session->header_left = QlSmtpComposeHeader(session, &now);
    session->header_sent = 0;
    session->stage = 1;
    session->sending = 1;
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

// The attachment's part header goes out through header_buf, like the header
// block, so that a refused queueing is offered again.
static void StartAttachmentPart(QlSmtpSessionRec *session)
{
    const char *name = session->attachment_path + QlSmtpFileNameStart(session->attachment_path);
    Writer w = {session->header_buf, (int)sizeof(session->header_buf), 0};
    Put(&w,
        "--" QL_MIME_BOUNDARY "\r\nContent-Type: application/octet-stream;\r\n\tname=\"%s\"\r\n"
        "Content-Transfer-Encoding: base64\r\nContent-Disposition: attachment;\r\n\tfilename=\"%s\"\r\n\r\n",
        name, name);
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
