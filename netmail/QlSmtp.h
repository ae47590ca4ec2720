// The SMTP client: one client block with three sessions, each one mail over
// one TCP connection (optionally TLS, STARTTLS or from the start, and AUTH
// LOGIN), never blocking its caller.  QlSmtpSend starts a session and
// returns; QlSmtpPump, called from a timer, moves every open session on and
// reports through the request's event function.  Everything runs on the
// caller's thread; the event function must not call QlSmtpShutdown.
//
// Results: 0 success, else a code 1 to 11 (QlSmtpErrorText).
#pragma once

#include "netmail/QlMailRequest.h"

enum {
    SMTP_OK = 0,
    SMTP_ALREADY_INIT = 1,
    SMTP_NOT_INIT = 2,
    SMTP_SOCK_INIT_FAILED = 3,
    SMTP_LOCAL_HOST_FAILED = 4,
    SMTP_INVALID_PARAMS = 5,
    SMTP_RESOLVE_FAILED = 6,
    SMTP_NO_SESSION = 7,
    SMTP_CONNECT_FAILED = 8,
    SMTP_NOT_OPEN = 9,
    SMTP_FILE_ERROR = 10,
    SMTP_NO_MEMORY = 11,
};

// Events (the request's event_cb).
enum {
    SMTP_EV_SENT = 1,             // the server took the mail and the connection ended
    SMTP_EV_CLOSED = 2,           // the connection ended at any other moment
    SMTP_EV_SERVER_ERROR = 4,     // data: the reply line (not NUL-terminated), length
    SMTP_EV_LOCAL_ERROR = 5,      // data: a NUL-terminated text
    SMTP_EV_BODY_PERCENT = 6,     // data: the percent in place of the pointer
    SMTP_EV_ATTACH_PERCENT = 7,
    SMTP_EV_NEXT_MESSAGE = 8,     // data: a QlMailRequestRec whose to and to_count the receiver may fill
    SMTP_EV_BAD_CERT = 9,         // data: "Bad peer certificate: %s", length
    SMTP_EV_TRACE = 10,           // data: a text, length
};

struct QlSmtpSessionRec;

int QlSmtpInit(void);
int QlSmtpShutdown(void);
int QlSmtpSend(const QlMailRequestRec *request, QlSmtpSessionRec **session);
int QlSmtpPump(void);
int QlSmtpQuit(QlSmtpSessionRec *session);
int QlSmtpContinue(QlSmtpSessionRec *session);
// Copies the code's text (at most 27 characters and the NUL) into text.
void QlSmtpErrorText(char *text, int code);
