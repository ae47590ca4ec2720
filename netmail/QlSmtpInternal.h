// The SMTP client's records and the calls between its three files: the
// sessions and the pump (QlSmtpClient.cpp), the dialogue with the server
// (QlSmtpDialogue.cpp) and the message itself (QlSmtpCompose.cpp).
#pragma once

#include "netmail/QlSmtp.h"
#include "netmail/ZrOs.h"
#include "netmail/ZrSock.h"

#include <windows.h>
#include <stdint.h>

enum {
    QL_SMTP_SESSIONS = 3,
    QL_SMTP_ADDRESS_MAX = 80,
    QL_SMTP_SECRET_MAX = 99,
    QL_SMTP_LINE_MAX = 2048,
    QL_SMTP_HEADER_SIZE = 16384,
    QL_SMTP_READ_SIZE = 3072,
    QL_SMTP_B64_SIZE = 4296,
    QL_SMTP_SUBJECT_SIZE = 512,   // the Subject header's value, encoded and folded
    QL_SMTP_REPLY_MS = 10000,
    QL_SMTP_EOM_ATTACH_MS = 60000,
    QL_SMTP_END_MS = 1000,
};

// How a reply handler is called.
enum {
    SMTP_ON_REPLY = 1,
    SMTP_ON_TIMEOUT = 3,
    SMTP_ON_END_TIMER = 4,
    SMTP_ON_HANDSHAKE = 5,
    SMTP_ON_CONTINUE = 6,
};

typedef int (*QlSmtpReplyFn)(QlSmtpSessionRec *session, int kind, int value, const char *text);

struct QlSmtpSessionRec {
    char host[81];
    char ip_address[17];
    uint16_t port;
    int use_auth;
    char user[100];
    char password[100];
    char from[81];
    char to[QL_MAIL_MAX_RECIPIENTS][81];
    int to_count;
    int to_next;
    char subject[QL_SMTP_SUBJECT_SIZE];
    int subject_encode;
    char cc[QL_MAIL_MAX_RECIPIENTS][81];
    int cc_count;
    int cc_next;
    char *body;
    int body_len;
    int body_left;
    int body_sent;
    int sending;
    int64_t attach_size;
    int64_t attach_left;
    const char *reply;
    int reply_len;
    QlSmtpEventFn event_cb;
    uint32_t event_ctx;
    ZrSockSlotRec *slot;
    int in_use;
    QlSmtpReplyFn on_reply;
    ZrTimerRec reply_timer;
    ZrTimerRec end_timer;
    int has_attachment;
    char *attachment_path;
    HANDLE attach_file;
    char *read_buf;
    char *b64_buf;
    int b64_pending;
    int b64_sent;
    int b64_column;
    int trailer_due;
    char trailer[80];
    int trailer_sent;
    int trailer_left;
    int stage;
    int body_qp;
    // The texts' character set: 0 Windows-1252, 1 KOI8-R (a Cyrillic sender).
    int charset;
    // The encoded body ends with a line end of its own.
    int body_ends_line;
    char message_id[160];
    char rx_buf[QL_SMTP_LINE_MAX];
    char line_buf[QL_SMTP_LINE_MAX];
    int line_len;
    int cr_seen;
    // A reply line longer than line_buf is being discarded up to its CR LF.
    int line_overlong;
    int tls_mode;
    int handshake_due;
    int secure;
    int verify_peer;
    char header_buf[QL_SMTP_HEADER_SIZE];
    int trace;
    // The header block is queued as the queue takes it: what is still to go.
    int header_sent;
    int header_left;
    // Bytes received while the handshake was still unchecked, handed to the
    // dialogue once the certificate has been accepted.
    int rx_held;
    char ca_file[MAX_PATH];
    char cert_text[300];
};

struct QlSmtpClientRec {
    char local_host[65];
    QlSmtpSessionRec sessions[QL_SMTP_SESSIONS];
};

extern QlSmtpClientRec *gQlSmtp;

// Sessions (QlSmtpClient.cpp).
QlSmtpSessionRec *QlSmtpAllocSession(void);
void QlSmtpFreeSession(QlSmtpSessionRec *session);
void QlSmtpLocalError(QlSmtpSessionRec *session, const char *text);
void QlSmtpServerError(QlSmtpSessionRec *session, const char *line, int length);
int QlSmtpRaise(QlSmtpSessionRec *session, int event, void *data, int length);
void QlSmtpTrace(QlSmtpSessionRec *session, const char *text, int length);

// Dialogue (QlSmtpDialogue.cpp).
void QlSmtpReadLines(QlSmtpSessionRec *session, const char *bytes, int count);
void QlSmtpParseReply(QlSmtpSessionRec *session, const char *line, int length);
int QlSmtpSendCommand(QlSmtpSessionRec *session, const char *command, const char *argument);
int QlSmtpSendMailFrom(QlSmtpSessionRec *session);
int QlSmtpSendRcptTo(QlSmtpSessionRec *session, const char *address);
void QlSmtpSendQuit(QlSmtpSessionRec *session);
int QlSmtpOnWelcome(QlSmtpSessionRec *session, int kind, int value, const char *text);
int QlSmtpOnEhloReply(QlSmtpSessionRec *session, int kind, int value, const char *text);
int QlSmtpOnStartTlsReply(QlSmtpSessionRec *session, int kind, int value, const char *text);
int QlSmtpOnTlsReady(QlSmtpSessionRec *session, int kind, int value, const char *text);
int QlSmtpOnCertHold(QlSmtpSessionRec *session, int kind, int value, const char *text);
int QlSmtpOnAuthLoginReply(QlSmtpSessionRec *session, int kind, int value, const char *text);
int QlSmtpOnUserReply(QlSmtpSessionRec *session, int kind, int value, const char *text);
int QlSmtpOnPasswordReply(QlSmtpSessionRec *session, int kind, int value, const char *text);
int QlSmtpOnMailFromReply(QlSmtpSessionRec *session, int kind, int value, const char *text);
int QlSmtpOnRcptReply(QlSmtpSessionRec *session, int kind, int value, const char *text);
int QlSmtpOnDataReply(QlSmtpSessionRec *session, int kind, int value, const char *text);
int QlSmtpOnEomReply(QlSmtpSessionRec *session, int kind, int value, const char *text);
int QlSmtpOnQuitReply(QlSmtpSessionRec *session, int kind, int value, const char *text);
// The certificate check once TLS is up (both TLS modes): 1 accepted, 0 the
// session was refused (held or ended).
int QlSmtpCheckPeer(QlSmtpSessionRec *session);

// Message composition (QlSmtpCompose.cpp).
// How the body goes: as it is (7-bit), quoted-printable, or quoted-printable
// ending in a soft line break when the body ends without a line end (a
// single part, whose last line end would otherwise become the text's).
enum { QL_SMTP_BODY_PLAIN = 0, QL_SMTP_BODY_QP = 1, QL_SMTP_BODY_QP_SOFT_END = 2 };
// 1 when the body cannot go as plain 7-bit text and arrive whole: bytes
// beyond ASCII or control bytes, a line over 76 characters, or (a single
// part) no line end at its end.
int QlSmtpBodyNeedsQp(const char *body, int length, int multipart);
// Writes the encoded body into out, or only counts when out is null; the
// encoded length.  Every line break (CR LF, lone CR, lone LF) goes as CR LF;
// quoted-printable keeps its lines within 76 characters with soft breaks.
int QlSmtpEncodeBody(const char *body, int length, int mode, char *out);
// A header value (the text after "Subject: ", which starts at column):
// printable ASCII folded at blanks before 78 characters; anything else as
// RFC 2047 encoded words on lines of at most 76, "Q" words in Windows-1252
// (charset 0) or "B" words in KOI8-R (charset 1, the text converted).  1, or
// 0 with out empty when it does not fit outSize.
int QlSmtpHeaderText(const char *text, int length, int charset, int column, char *out, int outSize);
// The header block for the given local time and its distance from UTC in
// minutes ("+0100" for 60) into header_buf; its length.
int QlSmtpComposeHeader(QlSmtpSessionRec *session, const SYSTEMTIME *now, int zoneMinutes);
// The local time now and its distance from UTC in minutes.
int QlSmtpLocalTime(SYSTEMTIME *now);
// A new Message-ID into message_id, "<unique@domain>".
void QlSmtpMakeMessageId(QlSmtpSessionRec *session);
// The attachment's content type by its file name's extension.
const char *QlSmtpAttachmentType(const char *name);
// Composes the header block from the local time and starts the message.
void QlSmtpStartMessage(QlSmtpSessionRec *session);
int QlSmtpSendBodyChunk(QlSmtpSessionRec *session);
void QlSmtpSendAttachment(QlSmtpSessionRec *session);
void QlSmtpBase64Encode(QlSmtpSessionRec *session, const void *input, int count, char *output, int *outLength);
// Base64 without line breaks, NUL-terminated; 0 when it does not fit.
int QlSmtpBase64Plain(const void *input, int count, char *output, int outSize);
int QlSmtpFindLineEnd(const char *bytes, int count, int *index);
int QlSmtpFileNameStart(const char *path);
int QlSmtpOpenAttachment(QlSmtpSessionRec *session);
int QlSmtpAttachmentSize(QlSmtpSessionRec *session, int64_t *size);
int QlSmtpReadAttachment(QlSmtpSessionRec *session, int *bytesRead);
void QlSmtpCloseAttachment(QlSmtpSessionRec *session);
void QlSmtpConvertCharset(const char *text, int length, char *out);
// Writes the encoded word into out (outSize bytes); 0 when it does not fit.
int QlSmtpEncodeHeaderWord(QlSmtpSessionRec *session, int charset, const char *text, char *out, int length,
                           int outSize);
// Rewinds the attachment for a further message on the same connection.
int QlSmtpRewindAttachment(QlSmtpSessionRec *session);
