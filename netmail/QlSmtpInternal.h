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
    QL_SMTP_SUBJECT_SIZE = 84,
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
    char rx_buf[QL_SMTP_LINE_MAX];
    char line_buf[QL_SMTP_LINE_MAX];
    int line_len;
    int cr_seen;
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
// Writes the body encoding of body (length bytes) into out (3 bytes a body
// byte); returns the encoded length.
int QlSmtpEncodeBody(const char *body, int length, int quotedPrintable, char *out);
// The header block for the given local time into header_buf; its length.
int QlSmtpComposeHeader(QlSmtpSessionRec *session, const SYSTEMTIME *now);
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
