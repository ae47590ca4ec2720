// The request by which a caller asks the SMTP client to send one mail.  The
// client checks it, copies what it needs and keeps no pointer into it, so the
// record and its texts need to live only for the call of QlSmtpSend.
#pragma once

#include <stdint.h>

enum { QL_MAIL_MAX_RECIPIENTS = 50 };

// Text sizes of the e-mail dialog (netmail/QlMail.h), the terminating zero included.
enum {
    QL_MAIL_ADDRESS_SIZE = 81,   // sender, recipients, subject: at most 80 characters
    QL_MAIL_PATH_SIZE = 260,     // the attachment's path: at most 259
    QL_MAIL_MESSAGE_SIZE = 512,  // the message: at most 511
    QL_MAIL_STATUS_SIZE = 300,   // a status text: at most 299
};

// The event function: context, event number (SMTP_EV_*), data, length.
typedef int (*QlSmtpEventFn)(uint32_t context, int event, void *data, int length);

struct QlMailRequestRec {
    const char *host;            // server host name, at most 80 characters
    const char *ip_address;      // server IPv4 address, dotted; when given no look-up is made
    uint16_t port;
    const char *from;            // sender address, 1 to 80 characters
    const char *to[QL_MAIL_MAX_RECIPIENTS];
    int32_t to_count;
    const char *cc[QL_MAIL_MAX_RECIPIENTS];
    int32_t cc_count;
    const char *subject;         // may be absent, at most 80 characters
    // 1: a Cyrillic sender: the subject and the body are Windows-1251 text and
    // go as KOI8-R; otherwise they are the program's Windows-1252 text.  A
    // subject beyond printable ASCII goes as encoded words either way.
    int32_t subject_encode;
    const char *body;            // required
    int32_t body_len;            // its length in bytes, not 0
    int32_t use_auth;            // AUTH LOGIN with user and password
    const char *user;            // at most 99 characters
    const char *password;        // at most 99 characters
    QlSmtpEventFn event_cb;      // required
    uint32_t event_ctx;
    int32_t has_attachment;      // one attachment, the file attachment_path
    const char *attachment_path;
    // 1: the body goes quoted-printable; otherwise it does whenever plain
    // 7-bit text would not carry it whole (bytes beyond ASCII, long lines).
    int32_t body_qp;
    int32_t tls_mode;            // 0 none, 1 STARTTLS after EHLO, 2 TLS from the connection on
    // The server's certificate is always checked (its chain, then its names
    // against host, or ip_address when host is absent) once TLS is up.  With
    // verify_peer 0 a refused certificate ends the send (SMTP_EV_LOCAL_ERROR);
    // with verify_peer set it raises SMTP_EV_BAD_CERT and holds the session
    // for the caller's QlSmtpContinue, under the reply timer.
    int32_t verify_peer;
    int32_t trace;               // every command and reply as trace events
    const char *ca_file;         // trusted certificates besides the system's store; may be absent
};
