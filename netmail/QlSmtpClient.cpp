// The SMTP client's block, its three sessions, the checks of a request, and
// the pump that moves every open session on by at most one received event
// and one piece of the message a pass.
#include "netmail/QlSmtpInternal.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

QlSmtpClientRec *gQlSmtp;

static const char kErrorTable[12][128] = {
    "success",
    "already initialised",
    "not initialised",
    "socket layer init failed",
    "cannot resolve hostname",
    "invalid parameters",
    "can't resolve hostname",
    "no memory",
    "failed to connect to server",
    "Session is not open",
    "file open error",
    "",
};

void QlSmtpErrorText(char *text, int code)
{
    if (!text) return;
    strcpy(text, (code >= 0 && code < 12) ? kErrorTable[code] : "unknown");
}

int QlSmtpRaise(QlSmtpSessionRec *session, int event, void *data, int length)
{
    if (!session->event_cb) return 0;
    return session->event_cb(session->event_ctx, event, data, length);
}

void QlSmtpTrace(QlSmtpSessionRec *session, const char *text, int length)
{
    QlSmtpRaise(session, SMTP_EV_TRACE, (void *)text, length);
}

QlSmtpSessionRec *QlSmtpAllocSession(void)
{
    if (!gQlSmtp) return NULL;
    for (int i = 0; i < QL_SMTP_SESSIONS; i++) {
        QlSmtpSessionRec *session = &gQlSmtp->sessions[i];
        if (session->in_use) continue;
        memset(session, 0, sizeof(*session));
        session->on_reply = QlSmtpOnWelcome;
        session->in_use = 1;
        return session;
    }
    return NULL;
}

void QlSmtpFreeSession(QlSmtpSessionRec *session)
{
    if (!session) return;
    free(session->attachment_path);
    session->attachment_path = NULL;
    QlSmtpCloseAttachment(session);
    free(session->read_buf);
    session->read_buf = NULL;
    free(session->b64_buf);
    session->b64_buf = NULL;
    free(session->body);
    session->body = NULL;
    if (session->slot) ZrSockClose(session->slot);
    session->slot = NULL;
    SecureZeroMemory(session->password, sizeof(session->password));
    SecureZeroMemory(session->user, sizeof(session->user));
    ZrTimerStop(&session->reply_timer);
    ZrTimerStop(&session->end_timer);
    session->sending = 0;
    session->handshake_due = 0;
    session->rx_held = 0;
    session->in_use = 0;
}

void QlSmtpLocalError(QlSmtpSessionRec *session, const char *text)
{
    QlSmtpRaise(session, SMTP_EV_LOCAL_ERROR, (void *)text, 0);
    QlSmtpFreeSession(session);
}

void QlSmtpServerError(QlSmtpSessionRec *session, const char *line, int length)
{
    QlSmtpRaise(session, SMTP_EV_SERVER_ERROR, (void *)line, length);
    QlSmtpFreeSession(session);
}

int QlSmtpInit(void)
{
    if (gQlSmtp) return SMTP_ALREADY_INIT;
    gQlSmtp = (QlSmtpClientRec *)calloc(1, sizeof(QlSmtpClientRec));
    if (!gQlSmtp) return SMTP_NO_MEMORY;
    int tls = 1;
    int code = SMTP_OK;
    if (ZrSockInit(&tls) != ZR_SOCK_OK) code = SMTP_SOCK_INIT_FAILED;
    else if (ZrSockGetHostName(gQlSmtp->local_host, sizeof(gQlSmtp->local_host)) != ZR_SOCK_OK)
        code = SMTP_LOCAL_HOST_FAILED;
    if (code != SMTP_OK) QlSmtpShutdown();
    return code;
}

int QlSmtpShutdown(void)
{
    if (!gQlSmtp) return SMTP_NOT_INIT;
    for (int i = 0; i < QL_SMTP_SESSIONS; i++)
        if (gQlSmtp->sessions[i].in_use) QlSmtpFreeSession(&gQlSmtp->sessions[i]);
    ZrSockCleanup();
    free(gQlSmtp);
    gQlSmtp = NULL;
    return SMTP_OK;
}

// A text of at most max characters without CR or LF (no command or header
// can be smuggled in); an address has no angle brackets either.
static int TextOk(const char *text, size_t max, int address)
{
    if (!text || strlen(text) > max) return 0;
    return strpbrk(text, address ? "\r\n<>" : "\r\n") == NULL;
}

static int RecipientsOk(const char *const *list, int count)
{
    for (int i = 0; i < count; i++)
        if (!list[i] || !list[i][0] || !TextOk(list[i], QL_SMTP_ADDRESS_MAX, 1)) return 0;
    return 1;
}

// The checks made before a session is taken.
static int RequestOk(const QlMailRequestRec *r)
{
    int hasHost = r->host && r->host[0];
    int hasIp = r->ip_address && r->ip_address[0];
    if (!hasHost && !hasIp) return 0;
    if (hasHost && !TextOk(r->host, QL_SMTP_ADDRESS_MAX, 1)) return 0;
    if (hasIp && strlen(r->ip_address) > 15) return 0;
    if (!r->from || !r->from[0] || !TextOk(r->from, QL_SMTP_ADDRESS_MAX, 1)) return 0;
    if (!r->body || r->body_len <= 0 || !r->event_cb) return 0;
    if (r->to_count < 0 || r->to_count > QL_MAIL_MAX_RECIPIENTS) return 0;
    if (r->cc_count < 0 || r->cc_count > QL_MAIL_MAX_RECIPIENTS) return 0;
    if (!RecipientsOk(r->to, r->to_count) || !RecipientsOk(r->cc, r->cc_count)) return 0;
    if (r->subject && !TextOk(r->subject, QL_SMTP_ADDRESS_MAX, 0)) return 0;
    if (r->use_auth && (!TextOk(r->user, QL_SMTP_SECRET_MAX, 0) || !TextOk(r->password, QL_SMTP_SECRET_MAX, 0)))
        return 0;
    if (r->has_attachment && (!r->attachment_path || !r->attachment_path[0])) return 0;
    if (r->ca_file && strlen(r->ca_file) >= MAX_PATH) return 0;
    return 1;
}

// Copies the request into the session; a code other than SMTP_OK when it
// cannot be made.
static int FillSession(QlSmtpSessionRec *s, const QlMailRequestRec *r)
{
    if (r->host) snprintf(s->host, sizeof(s->host), "%s", r->host);
    if (r->ip_address) snprintf(s->ip_address, sizeof(s->ip_address), "%s", r->ip_address);
    s->port = r->port;
    snprintf(s->from, sizeof(s->from), "%s", r->from);
    s->to_count = r->to_count;
    for (int i = 0; i < r->to_count; i++) snprintf(s->to[i], sizeof(s->to[i]), "%s", r->to[i]);
    s->cc_count = r->cc_count;
    for (int i = 0; i < r->cc_count; i++) snprintf(s->cc[i], sizeof(s->cc[i]), "%s", r->cc[i]);
    s->subject_encode = r->subject_encode;
    // A Cyrillic sender's texts (Windows-1251) go as KOI8-R, everybody
    // else's as the program's own Windows-1252.
    s->charset = r->subject_encode == 1 ? 1 : 0;
    if (r->subject) {
        int length = (int)strlen(r->subject);
        char converted[QL_SMTP_ADDRESS_MAX + 1];
        if (s->charset == 1) QlSmtpConvertCharset(r->subject, length, converted);
        else memcpy(converted, r->subject, (size_t)length);
        if (!QlSmtpHeaderText(converted, length, s->charset, (int)strlen("Subject: "), s->subject,
                              (int)sizeof(s->subject)))
            return SMTP_INVALID_PARAMS;
    }
    const char *text = r->body;
    char *converted = NULL;
    if (s->charset == 1) {
        converted = (char *)malloc((size_t)r->body_len);
        if (!converted) return SMTP_NO_MEMORY;
        QlSmtpConvertCharset(r->body, r->body_len, converted);
        text = converted;
    }
    const int multipart = r->has_attachment != 0;
    s->body_qp = r->body_qp || QlSmtpBodyNeedsQp(text, r->body_len, multipart);
    int mode = !s->body_qp ? QL_SMTP_BODY_PLAIN : multipart ? QL_SMTP_BODY_QP : QL_SMTP_BODY_QP_SOFT_END;
    int length = QlSmtpEncodeBody(text, r->body_len, mode, NULL);
    s->body = (char *)calloc((size_t)length + 1, 1);
    if (s->body) {
        s->body_len = QlSmtpEncodeBody(text, r->body_len, mode, s->body);
        s->body_left = s->body_len;
        s->body_ends_line = s->body_len >= 2 && memcmp(s->body + s->body_len - 2, "\r\n", 2) == 0;
    }
    free(converted);
    if (!s->body) return SMTP_NO_MEMORY;
    s->event_cb = r->event_cb;
    s->event_ctx = r->event_ctx;
    s->use_auth = r->use_auth;
    if (s->use_auth) {
        snprintf(s->user, sizeof(s->user), "%s", r->user);
        snprintf(s->password, sizeof(s->password), "%s", r->password);
    }
    if (r->has_attachment) {
        size_t size = strlen(r->attachment_path) + 1;
        s->attachment_path = (char *)malloc(size);
        if (!s->attachment_path) return SMTP_INVALID_PARAMS;
        memcpy(s->attachment_path, r->attachment_path, size);
        s->has_attachment = 1;
        if (!QlSmtpOpenAttachment(s) || !QlSmtpAttachmentSize(s, &s->attach_size)) return SMTP_FILE_ERROR;
        s->attach_left = s->attach_size;
    }
    s->tls_mode = r->tls_mode;
    s->verify_peer = r->verify_peer;
    s->trace = r->trace;
    if (r->ca_file) snprintf(s->ca_file, sizeof(s->ca_file), "%s", r->ca_file);
    return SMTP_OK;
}

int QlSmtpSend(const QlMailRequestRec *request, QlSmtpSessionRec **out)
{
    if (!gQlSmtp) return SMTP_NOT_INIT;
    if (!request || !out || !RequestOk(request)) return SMTP_INVALID_PARAMS;
    QlSmtpSessionRec *session = QlSmtpAllocSession();
    if (!session) return SMTP_NO_SESSION;
    int code = FillSession(session, request);
    if (code == SMTP_OK && !session->ip_address[0] &&
        ZrSockResolveHost(session->host, session->ip_address) != ZR_SOCK_OK)
        code = SMTP_RESOLVE_FAILED;
    ZrSockSlotRec *slot = NULL;
    if (code == SMTP_OK && ZrSockTcpConnect(session->ip_address, session->port, &slot) != ZR_SOCK_OK)
        code = SMTP_CONNECT_FAILED;
    if (code != SMTP_OK) {
        QlSmtpFreeSession(session);
        return code;
    }
    session->slot = slot;
    // The connection and the welcome must both come within it.
    ZrTimerStart(&session->reply_timer, QL_SMTP_REPLY_MS, NULL, 0);
    *out = session;
    return SMTP_OK;
}

// TLS from the start: the switch as soon as the connection is up.
static void StartImplicitTls(QlSmtpSessionRec *session)
{
    ZrSockSecureParamRec params;
    memset(&params, 0, sizeof(params));
    params.method = 3;
    params.caFile = session->ca_file[0] ? session->ca_file : NULL;
    params.serverName = session->host;
    int result = ZrSockTcpSwitchToSecureMode(session->slot, &params);
    if (result == ZR_SOCK_OK) {
        session->handshake_due = 1;
    } else {
        char note[64];
        int n = snprintf(note, sizeof(note), "ZrSockTcpSwitchToSecureMode, rc=%d", result);
        QlSmtpTrace(session, note, n);
    }
}

// Received bytes wait while the peer is not yet accepted.
static int Holding(QlSmtpSessionRec *session)
{
    return session->handshake_due || session->on_reply == QlSmtpOnCertHold;
}

static void WatchHandshake(QlSmtpSessionRec *session)
{
    int done = 0, encrypted = 0;
    char description[256];
    memset(description, 0, sizeof(description));
    int result = ZrSockGetSecureInfo(session->slot, &done, &encrypted, description);
    if (result == ZR_SOCK_OK && done) {
        session->handshake_due = 0;
        session->on_reply(session, SMTP_ON_HANDSHAKE, encrypted, description);
    } else if (result == ZR_SOCK_BAD_STATE) {
        // The connection ended before the handshake did: its closed event
        // ends the session.
        session->handshake_due = 0;
        session->rx_held = 0;
    }
}

static void ReceiveStep(QlSmtpSessionRec *session)
{
    if (session->rx_held > 0) {
        if (Holding(session)) return;
        int held = session->rx_held;
        session->rx_held = 0;
        QlSmtpReadLines(session, session->rx_buf, held);
        return;
    }
    int kind = 0, length = 0;
    if (ZrSockTcpPoll(session->slot, &kind, session->rx_buf, &length) != ZR_SOCK_OK) return;
    if (kind == ZR_EV_DATA) {
        if (Holding(session)) session->rx_held = length;
        else QlSmtpReadLines(session, session->rx_buf, length);
    } else if (kind == ZR_EV_CLOSED) {
        QlSmtpRaise(session, session->on_reply == QlSmtpOnQuitReply ? SMTP_EV_SENT : SMTP_EV_CLOSED, NULL, 0);
        QlSmtpFreeSession(session);
    } else if (kind == ZR_EV_CONNECTED && session->tls_mode == 2) {
        StartImplicitTls(session);
    }
}

int QlSmtpPump(void)
{
    if (!gQlSmtp) return SMTP_NOT_INIT;
    for (int i = 0; i < QL_SMTP_SESSIONS; i++) {
        QlSmtpSessionRec *session = &gQlSmtp->sessions[i];
        if (!session->in_use) continue;
        // The handshake is looked at before anything received is handed on,
        // so that no reply is taken from a peer not yet checked.
        if (session->handshake_due) WatchHandshake(session);
        if (session->in_use) ReceiveStep(session);
        if (session->in_use && !session->handshake_due && session->sending) QlSmtpSendBodyChunk(session);
        if (session->in_use && ZrTimerPoll(&session->reply_timer) && session->on_reply)
            session->on_reply(session, SMTP_ON_TIMEOUT, 0, NULL);
        if (session->in_use && ZrTimerPoll(&session->end_timer) && session->on_reply)
            session->on_reply(session, SMTP_ON_END_TIMER, 0, NULL);
    }
    return SMTP_OK;
}

static int CheckSession(QlSmtpSessionRec *session)
{
    if (!gQlSmtp) return SMTP_NOT_INIT;
    if (!session) return SMTP_INVALID_PARAMS;
    if (session < &gQlSmtp->sessions[0] || session >= &gQlSmtp->sessions[QL_SMTP_SESSIONS] || !session->in_use)
        return SMTP_NOT_OPEN;
    return SMTP_OK;
}

int QlSmtpQuit(QlSmtpSessionRec *session)
{
    int code = CheckSession(session);
    if (code == SMTP_OK) QlSmtpSendQuit(session);
    return code;
}

int QlSmtpContinue(QlSmtpSessionRec *session)
{
    int code = CheckSession(session);
    if (code == SMTP_OK && session->on_reply) session->on_reply(session, SMTP_ON_CONTINUE, 0, NULL);
    return code;
}
