// The e-mail dialog (template 211) and the hand-off to the SMTP client.
//
// There is at most one dialog (it is modal) and at most one send.  A send
// runs from Send to its first terminal event (sent, closed, server error,
// local error, refused certificate) and outlives the dialog: Close ends the
// dialog at once, the timer keeps driving the client and the last event ends
// the send.  Events are shown in the dialog that started the send; once it
// has closed, the send's end (sent, or why not) goes to the main window's
// status line.
//
// An attachment written into a temporary folder of the program's own
// (QlTempFolderMake) belongs to the mail: the folder is removed as soon as
// neither the dialog nor a send needs the file.
#include "netmail/QlMail.h"
#include "netmail/QlMailTexts.h"
#include "netmail/QlSmtp.h"

#include "ui/QlAppState.h"
#include "ui/QlMsgDialog.h"
#include "core/QlTempFile.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "resources/QlResNetmail.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define QL_MAIL_COLOUR_SENDING ((COLORREF)0)

static struct {
    // Handed over by QlMailOpenDialog.
    char to[QL_MAIL_ADDRESS_SIZE];
    char subject[QL_MAIL_ADDRESS_SIZE];
    char attachment[QL_MAIL_PATH_SIZE];
    char message[QL_MAIL_MESSAGE_SIZE];
    const char *caption;
    // The send.
    QlMailFieldsRec fields;
    QlMailRequestRec request;
    QlSmtpSessionRec *session;
    int active;
    HWND dialog;       // the open dialog, NULL when none
    HWND sendDialog;   // the dialog that started the running send, NULL when it has closed
    COLORREF colour;   // of the status line
    // Temporary folders holding attachments: the open dialog's, and the
    // running send's (empty when none).
    char dialogFolder[MAX_PATH];
    char sendFolder[MAX_PATH];
} gMail;

// ---------------------------------------------------------------------------
// The request

void QlMailFillRequest(QlMailRequestRec *request, const QlMailFieldsRec *fields, const char *attachment,
                       const QlSettingsRec *cfg)
{
    memset(request, 0, sizeof *request);
    request->host = cfg->smtpServer;
    request->port = cfg->smtpPort;
    request->from = fields->from;
    request->to[0] = fields->to;
    request->to_count = 1;
    if (fields->cc[0]) request->cc[request->cc_count++] = fields->cc;
    if (fields->cc2[0]) request->cc[request->cc_count++] = fields->cc2;
    request->subject = fields->subject;
    request->body = fields->message;
    request->body_len = (int32_t)strlen(fields->message);
    request->use_auth = cfg->smtpAuth;
    if (cfg->smtpAuth) {
        request->user = cfg->smtpUser;
        request->password = cfg->smtpPassword;
    }
    // "Use SSL": TLS from the connection on at the port for it (465),
    // STARTTLS at any other port.
    request->tls_mode = !cfg->useSsl ? 0 : cfg->smtpPort == QL_MAIL_IMPLICIT_TLS_PORT ? 2 : 1;
    // A refused certificate is an event of its own, which ends the send.
    request->verify_peer = cfg->useSsl ? 1 : 0;
    request->event_cb = QlMailOnSessionEvent;
    request->event_ctx = 1;
    if (attachment && attachment[0]) {
        request->has_attachment = 1;
        request->attachment_path = attachment;
        request->body_qp = 1;
    }
}

// ---------------------------------------------------------------------------
// The hand-off

static int Refuse(HWND owner, const char *caption, const char *text)
{
    return QlMsgBox(owner, caption, text, QL_COLOUR_WARNING);
}

// Removes a temporary attachment folder that neither the dialog nor the
// running send uses any more.
static void ReleaseFolder(char *folder)
{
    if (!folder[0]) return;
    int dialogUses = gMail.dialog && strcmp(folder, gMail.dialogFolder) == 0 && folder != gMail.dialogFolder;
    int sendUses = gMail.active && strcmp(folder, gMail.sendFolder) == 0 && folder != gMail.sendFolder;
    if (!dialogUses && !sendUses) QlTempFolderRemove(folder);
    folder[0] = '\0';
}

static int OpenDialog(HINSTANCE instance, HWND owner, const char *caption, const char *attachment,
                      const char *recipient, const char *subject, const char *message)
{
    const QlMailTextRec *t = QlMailText();
    memset(gMail.to, 0, sizeof gMail.to);
    memset(gMail.subject, 0, sizeof gMail.subject);
    memset(gMail.attachment, 0, sizeof gMail.attachment);
    memset(gMail.message, 0, sizeof gMail.message);
    if (!recipient) return Refuse(owner, t->MissingEmailCaption, t->SupplyEmail);
    if (strlen(recipient) >= sizeof gMail.to) return Refuse(owner, t->InvalidEmailCaption, t->EmailTooLong);
    strcpy(gMail.to, recipient);
    if (subject && strlen(subject) >= sizeof gMail.subject)
        return Refuse(owner, t->InvalidSubjectCaption, t->SubjectTooLong);
    if (subject) strcpy(gMail.subject, subject);
    if (attachment && strlen(attachment) >= sizeof gMail.attachment)
        return Refuse(owner, t->InvalidFilenameCaption, t->FilenameTooLong);
    if (attachment) strcpy(gMail.attachment, attachment);
    gMail.caption = caption;
    if (message && strlen(message) < sizeof gMail.message) strcpy(gMail.message, message);
    return (int)DialogBoxParamA(instance ? instance : QlUiInstance(), MAKEINTRESOURCEA(IDD_MAIL), owner,
                                QlMailDlgProc, 0);
}

int QlMailOpenDialog(HINSTANCE instance, HWND owner, const char *caption, const char *attachment,
                     const char *recipient, const char *subject, const char *message)
{
    // The mail takes over an attachment in a temporary folder of the
    // program's; refused or done, the folder goes when nothing needs it.
    char folder[MAX_PATH] = "";
    QlTempFolderOf(attachment, folder, sizeof folder);
    snprintf(gMail.dialogFolder, sizeof gMail.dialogFolder, "%s", folder);
    int result = OpenDialog(instance, owner, caption, attachment, recipient, subject, message);
    gMail.dialogFolder[0] = '\0';
    ReleaseFolder(folder);
    return result;
}

// ---------------------------------------------------------------------------
// The status line

static void ShowStatus(HWND dialog, COLORREF colour, const char *text)
{
    gMail.colour = colour;
    HWND status = GetDlgItem(dialog, IDT_MAIL_STATUS);
    SetWindowTextA(status, text);
    InvalidateRect(status, NULL, TRUE);
}

static void EnableSend(HWND dialog, BOOL enable)
{
    HWND send = GetDlgItem(dialog, IDB_MAIL_SEND);
    if (send) EnableWindow(send, enable);
}

// ---------------------------------------------------------------------------
// The dialog

static const struct {
    int id;
    size_t offset;   // of the text in QlMailTextRec
} kLabels[] = {
    {IDT_MAIL_FROM_LABEL, offsetof(QlMailTextRec, FromLabel)},
    {IDT_MAIL_TO_LABEL, offsetof(QlMailTextRec, ToLabel)},
    {IDT_MAIL_ATTACHMENT_LABEL, offsetof(QlMailTextRec, AttachmentLabel)},
    {IDT_MAIL_MESSAGE_LABEL, offsetof(QlMailTextRec, MessageLabel)},
    {IDB_MAIL_SEND, offsetof(QlMailTextRec, Send)},
    {IDB_MAIL_CLOSE, offsetof(QlMailTextRec, Close)},
};

static const struct {
    int id;
    int limit;
} kLimits[] = {
    {IDE_MAIL_FROM, QL_MAIL_ADDRESS_SIZE - 1},    {IDE_MAIL_TO, QL_MAIL_ADDRESS_SIZE - 1},
    {IDE_MAIL_CC, QL_MAIL_ADDRESS_SIZE - 1},      {IDE_MAIL_CC2, QL_MAIL_ADDRESS_SIZE - 1},
    {IDE_MAIL_SUBJECT, QL_MAIL_ADDRESS_SIZE - 1}, {IDE_MAIL_ATTACHMENT, QL_MAIL_PATH_SIZE - 1},
    {IDE_MAIL_MESSAGE, QL_MAIL_MESSAGE_SIZE - 1},
};

static BOOL OnInitDialog(HWND dialog)
{
    const QlMailTextRec *t = QlMailText();
    gMail.dialog = dialog;
    QlUiCenterWindow(dialog);
    for (const auto &label : kLabels) SetDlgItemTextA(dialog, label.id, (const char *)t + label.offset);
    char subjectLabel[sizeof t->SubjectWord + 1];
    snprintf(subjectLabel, sizeof subjectLabel, "%s:", t->SubjectWord);
    SetDlgItemTextA(dialog, IDT_MAIL_SUBJECT_LABEL, subjectLabel);
    SetDlgItemTextA(dialog, IDT_MAIL_STATUS, "");
    for (const auto &limit : kLimits) SendDlgItemMessageA(dialog, limit.id, EM_LIMITTEXT, limit.limit, 0);
    SetDlgItemTextA(dialog, IDE_MAIL_FROM, QlSettings.cfg.email);
    SetDlgItemTextA(dialog, IDE_MAIL_TO, gMail.to);
    SetDlgItemTextA(dialog, IDE_MAIL_SUBJECT, gMail.subject);
    SetDlgItemTextA(dialog, IDE_MAIL_ATTACHMENT, gMail.attachment);
    SetDlgItemTextA(dialog, IDE_MAIL_MESSAGE, gMail.message);
    if (!gMail.attachment[0]) {
        EnableWindow(GetDlgItem(dialog, IDE_MAIL_ATTACHMENT), FALSE);
        EnableWindow(GetDlgItem(dialog, IDT_MAIL_ATTACHMENT_LABEL), FALSE);
    }
    if (gMail.caption) SetWindowTextA(dialog, gMail.caption);
    gMail.caption = NULL;
    return TRUE;
}

static void ReadFields(HWND dialog, QlMailFieldsRec *fields)
{
    memset(fields, 0, sizeof *fields);
    GetDlgItemTextA(dialog, IDE_MAIL_FROM, fields->from, sizeof fields->from);
    GetDlgItemTextA(dialog, IDE_MAIL_TO, fields->to, sizeof fields->to);
    GetDlgItemTextA(dialog, IDE_MAIL_CC, fields->cc, sizeof fields->cc);
    GetDlgItemTextA(dialog, IDE_MAIL_CC2, fields->cc2, sizeof fields->cc2);
    GetDlgItemTextA(dialog, IDE_MAIL_SUBJECT, fields->subject, sizeof fields->subject);
    GetDlgItemTextA(dialog, IDE_MAIL_MESSAGE, fields->message, sizeof fields->message);
}

static void OnSend(HWND dialog)
{
    if (gMail.active) return;
    const QlMailTextRec *t = QlMailText();
    char text[QL_MAIL_STATUS_SIZE];
    int code = QlSmtpInit();
    if (code != SMTP_OK) {
        // Whatever the client holds goes, so that the next Send starts afresh.
        QlSmtpShutdown();
        snprintf(text, sizeof text, "%s RC %u...", t->SmtpInitFailed, (unsigned)code);
        ShowStatus(dialog, QL_COLOUR_WARNING, text);
        return;
    }
    gMail.active = 1;
    if (!QlMainWnd || !SetTimer(QlMainWnd, QL_MAIL_TIMER_ID, QL_MAIL_TIMER_MS, NULL)) {
        ShowStatus(dialog, QL_COLOUR_WARNING, t->TimerFailed);
        QlMailStop();
        return;
    }
    ReadFields(dialog, &gMail.fields);
    QlMailFillRequest(&gMail.request, &gMail.fields, gMail.attachment, &QlSettings.cfg);
    ShowStatus(dialog, QL_MAIL_COLOUR_SENDING, t->Sending);
    EnableSend(dialog, FALSE);
    gMail.sendDialog = dialog;
    snprintf(gMail.sendFolder, sizeof gMail.sendFolder, "%s", gMail.dialogFolder);
    code = QlSmtpSend(&gMail.request, &gMail.session);
    if (code != SMTP_OK) {
        char reason[128];
        QlSmtpErrorText(reason, code);
        snprintf(text, sizeof text, "%s: %s", t->SendFailed, reason);
        ShowStatus(dialog, QL_COLOUR_WARNING, text);
        EnableSend(dialog, TRUE);
        QlMailStop();
    }
}

static void OnDestroy(HWND dialog)
{
    if (gMail.dialog == dialog) gMail.dialog = NULL;
    if (gMail.sendDialog == dialog) gMail.sendDialog = NULL;
}

// The status line in its colour on white; the other statics as usual.
static INT_PTR OnCtlColorStatic(HWND dialog, HDC dc, HWND control)
{
    if (control != GetDlgItem(dialog, IDT_MAIL_STATUS)) return FALSE;
    SetTextColor(dc, gMail.colour);
    SetBkColor(dc, RGB(255, 255, 255));
    return (INT_PTR)(QlBrushWhite ? QlBrushWhite : (HBRUSH)GetStockObject(WHITE_BRUSH));
}

INT_PTR CALLBACK QlMailDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDB_MAIL_SEND) {
            OnSend(dialog);
            return TRUE;
        }
        if (LOWORD(wParam) == IDB_MAIL_CLOSE) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        // Stops the send and says so; the dialog ends only through Close.
        if (gMail.active) {
            QlMailStop();
            ShowStatus(dialog, QL_COLOUR_WARNING, QlMailText()->SendStopped);
            EnableSend(dialog, TRUE);
        }
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(dialog, (HDC)wParam, (HWND)lParam);
    case WM_DESTROY:
        OnDestroy(dialog);
        return FALSE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// The send

void QlMailStop(void)
{
    if (QlMainWnd) KillTimer(QlMainWnd, QL_MAIL_TIMER_ID);
    QlSmtpShutdown();
    gMail.active = 0;
    gMail.session = NULL;
    // The client has let the attachment go.
    ReleaseFolder(gMail.sendFolder);
}

void QlMailTimerTick(void)
{
    if (gMail.active) QlSmtpPump();
}

// Posts an event to the main window; a text that cannot be posted is freed.
static void Post(int event, LPARAM data, char *text)
{
    if (QlMainWnd && PostMessageA(QlMainWnd, QL_WM_MAIL_EVENT, (WPARAM)event, text ? (LPARAM)text : data)) return;
    free(text);
}

// A heap copy of length bytes of data, terminated; NULL when out of memory.
static char *CopyText(const void *data, int length)
{
    if (length < 0) length = 0;
    char *text = (char *)calloc((size_t)length + 1, 1);
    if (text && data) memcpy(text, data, (size_t)length);
    return text;
}

// "Mail Server Error: <reply up to its first CR>", at most 299 characters.
static char *ServerErrorText(const char *reply, int length)
{
    char line[QL_MAIL_STATUS_SIZE];
    memset(line, 0, sizeof line);
    if (reply && length > 0) memcpy(line, reply, (size_t)(length < (int)sizeof line - 1 ? length : (int)sizeof line - 1));
    char *cr = strchr(line, '\r');
    if (cr) *cr = '\0';
    char *text = (char *)calloc(QL_MAIL_STATUS_SIZE, 1);
    if (text) snprintf(text, QL_MAIL_STATUS_SIZE, QlMailText()->ServerError, line);
    return text;
}

int QlMailOnSessionEvent(uint32_t context, int event, void *data, int length)
{
    char *text;
    switch (event) {
    case SMTP_EV_SENT:
    case SMTP_EV_CLOSED:
    case SMTP_EV_LOCAL_ERROR:
        Post(event, 0, NULL);
        break;
    case SMTP_EV_SERVER_ERROR:
        if ((text = ServerErrorText((const char *)data, length)) != NULL) Post(event, 0, text);
        break;
    case SMTP_EV_BODY_PERCENT:
    case SMTP_EV_ATTACH_PERCENT:
        Post(event, (LPARAM)(intptr_t)data, NULL);
        break;
    case SMTP_EV_TRACE:
    case SMTP_EV_BAD_CERT:
        if ((text = CopyText(data, length)) != NULL) Post(event, 0, text);
        break;
    }
    return 0;
}

static int CarriesText(int event)
{
    return event == SMTP_EV_SERVER_ERROR || event == SMTP_EV_TRACE || event == SMTP_EV_BAD_CERT;
}

static int IsTerminal(int event)
{
    return event == SMTP_EV_SENT || event == SMTP_EV_CLOSED || event == SMTP_EV_LOCAL_ERROR ||
           event == SMTP_EV_SERVER_ERROR || event == SMTP_EV_BAD_CERT;
}

// A failure: the text in the warning colour, Send usable again.
static void ShowFailure(HWND dialog, const char *text)
{
    ShowStatus(dialog, QL_COLOUR_WARNING, text);
    EnableSend(dialog, TRUE);
}

// The end of a send whose dialog has closed, in the main window's status
// line: sent, or why not.
static void ReportInStatusLine(int event, const char *copy)
{
    const QlMailTextRec *t = QlMailText();
    char line[QL_MAIL_STATUS_SIZE + QL_MAIL_ADDRESS_SIZE + 80];
    const char *to = gMail.fields.to;
    switch (event) {
    case SMTP_EV_SENT:
        snprintf(line, sizeof line, t->MailSentTo, to);
        QlStatusPost(line, QL_COLOUR_DONE);
        return;
    case SMTP_EV_CLOSED:
        snprintf(line, sizeof line, t->MailNotSentTo, to, t->ConnectionClosed);
        break;
    case SMTP_EV_LOCAL_ERROR:
        snprintf(line, sizeof line, t->MailNotSentTo, to, t->NoResponse);
        break;
    default:
        snprintf(line, sizeof line, t->MailNotSentTo, to, copy);
        break;
    }
    QlStatusPost(line, QL_COLOUR_WARNING);
}

void QlMailShowEvent(int event, char *text)
{
    char copy[QL_MAIL_STATUS_SIZE];
    copy[0] = '\0';
    if (CarriesText(event)) {
        if (!text) return;
        snprintf(copy, sizeof copy, "%s", text);
        free(text);
    }
    // An event of a send that has ended (or of none) changes nothing.
    if (!gMail.active) return;
    HWND dialog = gMail.dialog && gMail.dialog == gMail.sendDialog ? gMail.dialog : NULL;
    if (dialog) {
        const QlMailTextRec *t = QlMailText();
        switch (event) {
        case SMTP_EV_SENT:
            ShowStatus(dialog, QL_COLOUR_DONE, t->MailSent);
            DestroyWindow(GetDlgItem(dialog, IDB_MAIL_SEND));
            break;
        case SMTP_EV_CLOSED:
            ShowFailure(dialog, t->ConnectionClosed);
            break;
        case SMTP_EV_LOCAL_ERROR:
            ShowFailure(dialog, t->NoResponse);
            break;
        case SMTP_EV_SERVER_ERROR:
        case SMTP_EV_BAD_CERT:
            ShowFailure(dialog, copy);
            break;
        case SMTP_EV_BODY_PERCENT:
        case SMTP_EV_ATTACH_PERCENT:
            SendDlgItemMessageA(dialog, IDP_MAIL_PROGRESS, PBM_SETPOS, (WPARAM)(intptr_t)text, 0);
            break;
        case SMTP_EV_TRACE:
            ShowStatus(dialog, QL_COLOUR_WARNING, copy);
            break;
        }
    }
    if (IsTerminal(event)) {
        if (!dialog) ReportInStatusLine(event, copy);
        QlMailStop();
    }
}
