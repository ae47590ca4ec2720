// The dialogue with the server: received bytes into reply lines, the final
// line of a reply to the session's current handler, and the handlers
// themselves.  Each handler sends the next command, names its successor in
// on_reply and arms the reply timer:
//
//   welcome -> EHLO -> [STARTTLS -> TLS ready -> [certificate hold ->] EHLO]
//   -> [AUTH LOGIN -> user -> password] -> MAIL FROM -> RCPT TO (each To,
//   then each CC) -> DATA -> end of message -> [MAIL FROM again] -> QUIT
//
// With TLS from the start of the connection the certificate is checked
// before the welcome is looked at.
#include "netmail/QlSmtpInternal.h"

#include <stdio.h>
#include <string.h>

static void Arm(QlSmtpSessionRec *session)
{
    ZrTimerStart(&session->reply_timer, QL_SMTP_REPLY_MS, NULL, 0);
}

static void Stop(QlSmtpSessionRec *session)
{
    ZrTimerStop(&session->reply_timer);
}

static void Fail(QlSmtpSessionRec *session)
{
    QlSmtpServerError(session, session->reply, session->reply_len);
}

// A reply line that does not fit line_buf: its first bytes stay there, the
// rest up to its CR LF is discarded, and at that CR LF it ends the send as a
// failed reply (its tail must never pass for a reply of its own).
static void OverlongLine(QlSmtpSessionRec *session)
{
    int kept = QL_SMTP_LINE_MAX - 1;
    while (kept > 0 && (session->line_buf[kept - 1] == '\r' || session->line_buf[kept - 1] == '\n')) kept--;
    if (session->trace) QlSmtpTrace(session, "reply line too long", 19);
    if (!session->in_use) return;
    QlSmtpServerError(session, session->line_buf, kept);
}

void QlSmtpReadLines(QlSmtpSessionRec *session, const char *bytes, int count)
{
    for (int i = 0; i < count; i++) {
        unsigned char c = (unsigned char)bytes[i];
        if (session->line_overlong) {
            // Discarding: only its CR LF matters.
            if (session->cr_seen && c == '\n') {
                session->line_overlong = 0;
                session->cr_seen = 0;
                OverlongLine(session);
                return;
            }
            session->cr_seen = c == '\r';
            continue;
        }
        session->line_buf[session->line_len++] = (char)c;
        if (session->cr_seen) {
            if (c == '\n') {
                int length = session->line_len;
                session->line_len = 0;
                session->cr_seen = 0;
                QlSmtpParseReply(session, session->line_buf, length);
                // A session that ended, or whose link has just switched to
                // TLS, takes nothing more of these bytes: what followed the
                // go-ahead for STARTTLS in plain text is not the server's.
                if (!session->in_use || session->handshake_due) return;
                continue;
            }
            session->cr_seen = 0;
        }
        if (session->line_len >= QL_SMTP_LINE_MAX) {
            // The buffer is full without a line end: the line is too long.
            session->line_len = 0;
            session->line_overlong = 1;
            session->cr_seen = c == '\r';
        } else if (c == '\r') {
            session->cr_seen = 1;
        }
    }
}

static int IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

void QlSmtpParseReply(QlSmtpSessionRec *session, const char *line, int length)
{
    if (length < 3 || !IsDigit(line[0]) || !IsDigit(line[1]) || !IsDigit(line[2])) return;
    // The code alone ("220" and the line end) is a final line too.
    if (length > 3 && line[3] != ' ' && line[3] != '\r') return;
    session->reply = line;
    session->reply_len = length;
    if (session->trace) QlSmtpTrace(session, line, length);
    if (session->on_reply) session->on_reply(session, SMTP_ON_REPLY, line[0] - '0', NULL);
}

int QlSmtpSendCommand(QlSmtpSessionRec *session, const char *command, const char *argument)
{
    char line[256];
    int n;
    if (argument && argument[0])
        n = snprintf(line, sizeof(line), "%s %s\r\n", command, argument);
    else
        n = snprintf(line, sizeof(line), "%s\r\n", command);
    if (n < 0 || n >= (int)sizeof(line)) return 0;
    if (session->trace) QlSmtpTrace(session, line, n);
    int queued = 0;
    return ZrSockTcpSend(session->slot, line, n, &queued) == ZR_SOCK_OK && queued == n;
}

int QlSmtpSendMailFrom(QlSmtpSessionRec *session)
{
    char argument[90];
    snprintf(argument, sizeof(argument), "<%s>", session->from);
    return QlSmtpSendCommand(session, "MAIL FROM:", argument);
}

int QlSmtpSendRcptTo(QlSmtpSessionRec *session, const char *address)
{
    char argument[90];
    snprintf(argument, sizeof(argument), "<%s>", address);
    return QlSmtpSendCommand(session, "RCPT TO:", argument);
}

void QlSmtpSendQuit(QlSmtpSessionRec *session)
{
    session->sending = 0;
    session->on_reply = QlSmtpOnQuitReply;
    QlSmtpSendCommand(session, "QUIT", "");
    Arm(session);
}

// An AUTH LOGIN value as one base64 line, without line breaks.
static void SendBase64Line(QlSmtpSessionRec *session, const char *value)
{
    char encoded[200];
    if (!QlSmtpBase64Plain(value, (int)strlen(value), encoded, sizeof(encoded))) encoded[0] = '\0';
    QlSmtpSendCommand(session, encoded, "");
}

static void SendEhlo(QlSmtpSessionRec *session)
{
    session->on_reply = QlSmtpOnEhloReply;
    QlSmtpSendCommand(session, "EHLO", gQlSmtp->local_host);
    Arm(session);
}

int QlSmtpCheckPeer(QlSmtpSessionRec *session)
{
    char reason[256];
    memset(reason, 0, sizeof(reason));
    const char *name = session->host[0] ? session->host : session->ip_address;
    int result = ZrSockVerifyCert(session->slot, name, reason);
    if (result == 1) return 1;
    if (!reason[0]) snprintf(reason, sizeof(reason), "%s", "the connection ended");
    int length = snprintf(session->cert_text, sizeof(session->cert_text), "Bad peer certificate: %s", reason);
    if (length >= (int)sizeof(session->cert_text)) length = (int)sizeof(session->cert_text) - 1;
    if (session->verify_peer) {
        // The caller decides (QlSmtpContinue), within the reply timer.
        session->on_reply = QlSmtpOnCertHold;
        Arm(session);
        QlSmtpRaise(session, SMTP_EV_BAD_CERT, session->cert_text, length);
    } else {
        QlSmtpLocalError(session, session->cert_text);
    }
    return 0;
}

// The end of a handshake: a link without encryption is dropped; otherwise
// the certificate is checked.  1 when the dialogue may go on.
static int OnHandshake(QlSmtpSessionRec *session, int encrypted, const char *description)
{
    if (!encrypted) {
        const char *note = "SSL established with no encryption, disconnecting.";
        QlSmtpTrace(session, note, (int)strlen(note));
        if (!session->in_use) return 0;
        QlSmtpRaise(session, SMTP_EV_CLOSED, NULL, 0);
        QlSmtpFreeSession(session);
        return 0;
    }
    if (session->trace && description) QlSmtpTrace(session, description, (int)strlen(description));
    if (!session->in_use) return 0;
    session->secure = 1;
    return QlSmtpCheckPeer(session);
}

int QlSmtpOnWelcome(QlSmtpSessionRec *session, int kind, int value, const char *text)
{
    if (kind == SMTP_ON_REPLY && value == 2) {
        Stop(session);
        SendEhlo(session);
    } else if (kind == SMTP_ON_REPLY && value == 4) {
        Stop(session);
        Fail(session);
    } else if (kind == SMTP_ON_TIMEOUT) {
        QlSmtpLocalError(session, "no welcome");
    } else if (kind == SMTP_ON_HANDSHAKE) {
        // TLS from the start: the welcome comes once the peer is accepted,
        // within the timer armed at the connection.
        OnHandshake(session, value, text);
    }
    return 0;
}

int QlSmtpOnEhloReply(QlSmtpSessionRec *session, int kind, int value, const char *text)
{
    if (kind == SMTP_ON_REPLY && value == 2) {
        Stop(session);
        if (session->tls_mode == 1 && !session->secure) {
            session->on_reply = QlSmtpOnStartTlsReply;
            QlSmtpSendCommand(session, "STARTTLS", "");
        } else if (session->use_auth) {
            session->on_reply = QlSmtpOnAuthLoginReply;
            QlSmtpSendCommand(session, "AUTH LOGIN", "");
        } else {
            session->on_reply = QlSmtpOnMailFromReply;
            QlSmtpSendMailFrom(session);
        }
        Arm(session);
    } else if (kind == SMTP_ON_REPLY && (value == 4 || value == 5)) {
        Stop(session);
        Fail(session);
    } else if (kind == SMTP_ON_TIMEOUT) {
        QlSmtpLocalError(session, "no reply to helo");
    }
    return 0;
}

// Plain bytes already queued when the link switched are not the server's
// words after STARTTLS: they are dropped.  1 unless the connection closed.
static int DropPlainLeftovers(QlSmtpSessionRec *session)
{
    int kind = 0, length = 0;
    while (ZrSockTcpPoll(session->slot, &kind, session->rx_buf, &length) == ZR_SOCK_OK)
        if (kind == ZR_EV_CLOSED) return 0;
    return 1;
}

int QlSmtpOnStartTlsReply(QlSmtpSessionRec *session, int kind, int value, const char *text)
{
    if (kind == SMTP_ON_REPLY && value == 2) {
        Arm(session);
        session->on_reply = QlSmtpOnTlsReady;
        ZrSockSecureParamRec params;
        memset(&params, 0, sizeof(params));
        params.method = 3;
        params.caFile = session->ca_file[0] ? session->ca_file : NULL;
        params.serverName = session->host;
        int result = ZrSockTcpSwitchToSecureMode(session->slot, &params);
        if (result == ZR_SOCK_OK) {
            session->handshake_due = 1;
            session->line_len = 0;
            session->cr_seen = 0;
            session->line_overlong = 0;
            if (!DropPlainLeftovers(session)) {
                QlSmtpRaise(session, SMTP_EV_CLOSED, NULL, 0);
                QlSmtpFreeSession(session);
            }
        } else {
            char note[64];
            int n = snprintf(note, sizeof(note), "ZrSockTcpSwitchToSecureMode, rc=%d", result);
            QlSmtpTrace(session, note, n);
        }
    } else if (kind == SMTP_ON_REPLY && (value == 4 || value == 5)) {
        Stop(session);
        Fail(session);
    } else if (kind == SMTP_ON_TIMEOUT) {
        QlSmtpLocalError(session, "No reply to STARTTLS");
    }
    return 0;
}

int QlSmtpOnTlsReady(QlSmtpSessionRec *session, int kind, int value, const char *text)
{
    if (kind == SMTP_ON_HANDSHAKE) {
        Stop(session);
        if (OnHandshake(session, value, text)) SendEhlo(session);
    } else if (kind == SMTP_ON_TIMEOUT) {
        QlSmtpLocalError(session, "SSL negotiation not complete");
    }
    return 0;
}

int QlSmtpOnCertHold(QlSmtpSessionRec *session, int kind, int value, const char *text)
{
    if (kind == SMTP_ON_REPLY && (value == 4 || value == 5)) {
        Stop(session);
        Fail(session);
    } else if (kind == SMTP_ON_CONTINUE) {
        if (session->tls_mode == 2) {
            // The welcome is still to come (or waits among the held bytes).
            session->on_reply = QlSmtpOnWelcome;
            Arm(session);
        } else {
            SendEhlo(session);
        }
    } else if (kind == SMTP_ON_TIMEOUT) {
        QlSmtpLocalError(session, session->cert_text);
    }
    return 0;
}

static int ReplyBegins(QlSmtpSessionRec *session, const char *prefix)
{
    size_t length = strlen(prefix);
    return session->reply && session->reply_len >= (int)length && memcmp(session->reply, prefix, length) == 0;
}

int QlSmtpOnAuthLoginReply(QlSmtpSessionRec *session, int kind, int value, const char *text)
{
    if (kind == SMTP_ON_REPLY && value == 3) {
        Stop(session);
        if (ReplyBegins(session, "334 VXNlcm5hbWU6")) {
            session->on_reply = QlSmtpOnUserReply;
            SendBase64Line(session, session->user);
            Arm(session);
        } else {
            Fail(session);
        }
    } else if (kind == SMTP_ON_REPLY && (value == 4 || value == 5)) {
        Stop(session);
        Fail(session);
    } else if (kind == SMTP_ON_TIMEOUT) {
        QlSmtpLocalError(session, "no reply to auth request");
    }
    return 0;
}

int QlSmtpOnUserReply(QlSmtpSessionRec *session, int kind, int value, const char *text)
{
    if (kind == SMTP_ON_REPLY && value == 3) {
        Stop(session);
        if (ReplyBegins(session, "334 UGFzc3dvcmQ6")) {
            session->on_reply = QlSmtpOnPasswordReply;
            SendBase64Line(session, session->password);
            Arm(session);
        } else {
            Fail(session);
        }
    } else if (kind == SMTP_ON_REPLY && (value == 4 || value == 5)) {
        Stop(session);
        Fail(session);
    } else if (kind == SMTP_ON_TIMEOUT) {
        QlSmtpLocalError(session, "no reply to auth username");
    }
    return 0;
}

int QlSmtpOnPasswordReply(QlSmtpSessionRec *session, int kind, int value, const char *text)
{
    if (kind == SMTP_ON_REPLY && value == 2) {
        Stop(session);
        session->on_reply = QlSmtpOnMailFromReply;
        QlSmtpSendMailFrom(session);
        Arm(session);
    } else if (kind == SMTP_ON_REPLY && (value == 4 || value == 5)) {
        Stop(session);
        Fail(session);
    } else if (kind == SMTP_ON_TIMEOUT) {
        QlSmtpLocalError(session, "No reply to AUTH username");
    }
    return 0;
}

int QlSmtpOnMailFromReply(QlSmtpSessionRec *session, int kind, int value, const char *text)
{
    if (kind == SMTP_ON_REPLY && value == 2) {
        Stop(session);
        session->on_reply = QlSmtpOnRcptReply;
        // Without any To address the first RCPT TO carries "<>".
        const char *address = session->to_next < session->to_count ? session->to[session->to_next] : "";
        session->to_next++;
        QlSmtpSendRcptTo(session, address);
        Arm(session);
    } else if (kind == SMTP_ON_REPLY && (value == 4 || value == 5)) {
        Stop(session);
        Fail(session);
    } else if (kind == SMTP_ON_TIMEOUT) {
        QlSmtpLocalError(session, "no reply to mail");
    }
    return 0;
}

int QlSmtpOnRcptReply(QlSmtpSessionRec *session, int kind, int value, const char *text)
{
    if (kind == SMTP_ON_REPLY && value == 2) {
        Stop(session);
        if (session->to_next < session->to_count) {
            QlSmtpSendRcptTo(session, session->to[session->to_next++]);
        } else if (session->cc_next < session->cc_count) {
            QlSmtpSendRcptTo(session, session->cc[session->cc_next++]);
        } else {
            session->on_reply = QlSmtpOnDataReply;
            QlSmtpSendCommand(session, "DATA", "");
        }
        Arm(session);
    } else if (kind == SMTP_ON_REPLY && (value == 4 || value == 5)) {
        Stop(session);
        Fail(session);
    } else if (kind == SMTP_ON_TIMEOUT) {
        QlSmtpLocalError(session, "no reply to rcpt");
    }
    return 0;
}

int QlSmtpOnDataReply(QlSmtpSessionRec *session, int kind, int value, const char *text)
{
    if (kind == SMTP_ON_REPLY && value == 3) {
        Stop(session);
        session->on_reply = QlSmtpOnEomReply;
        QlSmtpStartMessage(session);
    } else if (kind == SMTP_ON_REPLY && (value == 4 || value == 5)) {
        Stop(session);
        Fail(session);
    } else if (kind == SMTP_ON_TIMEOUT) {
        QlSmtpLocalError(session, "no reply to data");
    }
    return 0;
}

static int AddressOk(const char *address)
{
    if (!address || !address[0] || strlen(address) > QL_SMTP_ADDRESS_MAX) return 0;
    return strpbrk(address, "\r\n<>") == NULL;
}

// The server took the message: the caller may name further recipients of the
// same message; otherwise QUIT.
static void AfterMessage(QlSmtpSessionRec *session)
{
    QlMailRequestRec next;
    memset(&next, 0, sizeof(next));
    int more = QlSmtpRaise(session, SMTP_EV_NEXT_MESSAGE, &next, 0);
    if (!session->in_use) return;
    int ok = more && next.to_count > 0 && next.to_count <= QL_MAIL_MAX_RECIPIENTS;
    for (int i = 0; ok && i < next.to_count; i++) ok = AddressOk(next.to[i]);
    if (ok) ok = QlSmtpRewindAttachment(session);
    if (!ok) {
        QlSmtpSendQuit(session);
        return;
    }
    session->to_count = next.to_count;
    for (int i = 0; i < next.to_count; i++) snprintf(session->to[i], sizeof(session->to[i]), "%s", next.to[i]);
    session->to_next = 0;
    session->cc_next = 0;
    session->body_left = session->body_len;
    session->body_sent = 0;
    session->stage = 0;
    session->on_reply = QlSmtpOnMailFromReply;
    QlSmtpSendMailFrom(session);
    Arm(session);
}

int QlSmtpOnEomReply(QlSmtpSessionRec *session, int kind, int value, const char *text)
{
    if (kind == SMTP_ON_REPLY && value == 2) {
        Stop(session);
        AfterMessage(session);
    } else if (kind == SMTP_ON_REPLY && (value == 4 || value == 5)) {
        Stop(session);
        Fail(session);
    } else if (kind == SMTP_ON_TIMEOUT) {
        // While the message is still going out, the timer measured its
        // progress (QlSmtpSendBodyChunk).
        QlSmtpLocalError(session, session->sending ? "message stalled" : "no reply to eom");
    } else if (kind == SMTP_ON_END_TIMER) {
        // The body ended with its line end: the end-of-data line follows it,
        // so the text arrives as it was written.
        int queued = 0;
        if (ZrSockTcpSend(session->slot, ".\r\n", 3, &queued) == ZR_SOCK_OK) {
            Arm(session);
        } else {
            // The queue is full: try again shortly.
            ZrTimerStart(&session->end_timer, 100, NULL, 0);
        }
    }
    return 0;
}

int QlSmtpOnQuitReply(QlSmtpSessionRec *session, int kind, int value, const char *text)
{
    if (kind == SMTP_ON_REPLY && value == 2) {
        Stop(session);
        QlSmtpRaise(session, SMTP_EV_SENT, NULL, 0);
        QlSmtpFreeSession(session);
    } else if (kind == SMTP_ON_REPLY && value == 5) {
        Stop(session);
        Fail(session);
    } else if (kind == SMTP_ON_TIMEOUT) {
        QlSmtpLocalError(session, "no reply to quit");
    }
    return 0;
}
