// The e-mail dialog (template 211) and the main window's hand-over to the
// mail sender.  A caller that has written an attachment opens the dialog with
// QlMailOpenDialog; Send hands the mail to the SMTP client (QlSmtp.h), which
// the main window's timer 2 drives through QlMailTimerTick.  The client's
// events are posted to the main window as QL_WM_MAIL_EVENT (WM_USER+8) and
// come back through QlMailShowEvent, which shows them in the dialog.
#pragma once

#include "netmail/QlMailRequest.h"
#include "settings/QlSettings.h"

#include <windows.h>
#include <stdint.h>

// The main window's timer that drives a send.
#define QL_MAIL_TIMER_ID 2
#define QL_MAIL_TIMER_MS 100
// The port of SMTP over TLS from the connection on ("use SSL" there: no
// STARTTLS).
#define QL_MAIL_IMPLICIT_TLS_PORT 465

// Text sizes of the dialog: netmail/QlMailRequest.h.

// Checks the texts and runs the e-mail dialog modally over owner.  Only the
// recipient is required (it may be empty); a recipient or subject longer than
// 80 characters or a path of 260 or more is refused with a message (and its
// result returned); a message text of 512 characters or more is dropped.
// caption (kept until the dialog has started) becomes the dialog's title.
// An attachment directly inside a temporary folder of the program's
// (core/QlTempFile.h) belongs to the mail from here on: the folder is
// removed when the dialog has closed and no send reads the file any more.
// Returns the dialog's result, 0.
int QlMailOpenDialog(HINSTANCE instance, HWND owner, const char *caption, const char *attachment,
                     const char *recipient, const char *subject, const char *message);
INT_PTR CALLBACK QlMailDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Timer 2 of the main window (100 ms): moves a running send on; nothing when
// none runs.
void QlMailTimerTick(void);
// A mail event posted to the main window: the event code (SMTP_EV_*) and a
// heap text (server error, trace, refused certificate) or a percent.  Shows
// it in the dialog that started the send and frees the text; a send's last
// event (sent or failed) ends the send, and when that dialog has closed it
// goes to the main window's status line.
void QlMailShowEvent(int event, char *text);
// The SMTP client's event function of every request: posts the event to the
// main window with a heap copy of its text.  Always 0.
int QlMailOnSessionEvent(uint32_t context, int event, void *data, int length);
// Ends a send: the timer, the SMTP client and the socket layer.  Safe when
// no send runs.
void QlMailStop(void);

// What Send reads from the dialog.
struct QlMailFieldsRec {
    char from[QL_MAIL_ADDRESS_SIZE];
    char to[QL_MAIL_ADDRESS_SIZE];
    char cc[QL_MAIL_ADDRESS_SIZE];
    char cc2[QL_MAIL_ADDRESS_SIZE];
    char subject[QL_MAIL_ADDRESS_SIZE];
    char message[QL_MAIL_MESSAGE_SIZE];
};
// Fills the request (zeroed first) from the fields, the attachment handed
// over (none when empty) and the mail settings: one To address, the copy
// addresses that are not empty, the body quoted-printable at least beside an
// attachment, "use SSL" as TLS from the start at port 465 and STARTTLS at
// any other, the server's certificate verified whenever TLS is on.  The
// request points into fields, attachment and cfg.
void QlMailFillRequest(QlMailRequestRec *request, const QlMailFieldsRec *fields, const char *attachment,
                       const QlSettingsRec *cfg);
