// Letters to a customer: command 10 of the customers module.  Dialog 220
// picks one of the four letter templates of the settings or a blank letter;
// dialog 221 shows it for the module's account, where the user edits it and
// prints it or e-mails it (as the text of the message).

#include "customers/QlCustOutput.h"
#include "customers/QlCustOpeners.h"

#include "customers/QlCustModule.h"
#include "customers/QlCustTexts.h"

#include "ui/QlAppState.h"
#include "ui/QlMsgDialog.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlOpeners.h"
#include "docmodel/QlReadError.h"
#include "netmail/QlMailRequest.h"
#include "documents/QlDocStyle.h"
#include "resources/QlResIds.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

int QlCustLetterChoice;
char QlCustLetterAcRef[6];

#define BLANK_LETTER 4
#define LETTER_COUNT 5
#define CLOSING_COUNT 7

// ---------------------------------------------------------------------------
// Opening

void QlCustOpenLetter(HWND module)
{
    if (SendDlgItemMessageA(module, IDL_CUST_OVERVIEW, LVM_GETITEMCOUNT, 0, 0) <= 0) {
        QlMsgBox(QlMainWnd ? QlMainWnd : module, QlCustText()->ListEmpty, QlCustText()->CreateCustomerFirst,
                 QL_COLOUR_WARNING);
        return;
    }
    HINSTANCE instance = QlUiInstance();
    if (DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CUST_LETTER_SELECT), module, QlCustLetterSelectDlgProc, 0) != 1)
        return;
    QlUiGetField(module, IDT_CUST_ACREF, QlCustLetterAcRef);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CUST_LETTER), module, QlCustLetterDlgProc, 0);
}

// ---------------------------------------------------------------------------
// Dialog 220

static BOOL OnSelectInit(HWND dialog)
{
    const QlCustTextRec *text = QlCustText();
    QlUiCenterWindow(dialog);
    SetWindowTextA(dialog, text->SelectLetterCaption);
    SetDlgItemTextA(dialog, IDB_LETSEL_RUN, text->Run);
    SetDlgItemTextA(dialog, IDB_LETSEL_CLOSE, text->LetterClose);
    for (int i = 0; i < LETTER_COUNT; i++)
        SendDlgItemMessageA(dialog, IDL_LETSEL_LIST, LB_ADDSTRING, 0, (LPARAM)QlLangText()->LetterNames[i]);
    SendDlgItemMessageA(dialog, IDL_LETSEL_LIST, LB_SETCURSEL, 0, 0);
    return TRUE;
}

static void Run(HWND dialog)
{
    int chosen = (int)SendDlgItemMessageA(dialog, IDL_LETSEL_LIST, LB_GETCURSEL, 0, 0);
    if (chosen < 0 || chosen >= LETTER_COUNT) {
        EndDialog(dialog, 0);
        return;
    }
    QlCustLetterChoice = chosen;
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK QlCustLetterSelectDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnSelectInit(dialog);
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDB_LETSEL_RUN: Run(dialog); return TRUE;
        case IDCANCEL:
        case IDB_LETSEL_CLOSE: EndDialog(dialog, 0); return TRUE;
        case IDL_LETSEL_LIST:
            if (HIWORD(wParam) == LBN_DBLCLK) Run(dialog);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Dialog 221

struct LabelText {
    int id;
    size_t offset;
};
#define QL_LABEL(id, field) {id, offsetof(QlCustTextRec, field)}
static const LabelText kLabels[] = {
    QL_LABEL(IDT_LET_TO, LetterTo),           QL_LABEL(IDT_LET_DATE_LABEL, LetterDate),
    QL_LABEL(IDT_LET_ACREF_LABEL, AcRef),     QL_LABEL(IDT_LET_OPENING_LABEL, Opening),
    QL_LABEL(IDT_LET_ADDRESSEE_LABEL, AddressedTo), QL_LABEL(IDT_LET_SUBJECT_LABEL, Subject),
    QL_LABEL(IDT_LET_CLOSING_LABEL, Closing), QL_LABEL(IDT_LET_SIGNATURE_LABEL, Signature),
    QL_LABEL(IDB_LET_PRINT, LetterPrint),     QL_LABEL(IDB_LET_EMAIL, LetterEmail),
    QL_LABEL(IDB_LET_CLOSE, LetterClose),
};
#undef QL_LABEL

static const struct {
    int id, limit;
} kLimits[] = {{IDE_LET_COMPANY, 39}, {IDE_CUST_ADDR1, 39},  {IDE_CUST_ADDR2, 39},    {IDE_CUST_ADDR3, 39},
               {IDE_LET_SUBJECT, 127}, {IDE_LET_BODY, 511},  {IDE_LET_OPENING, 80},   {IDE_LET_ADDRESSEE, 39},
               {IDE_LET_SIGNATURE, 40}};

static const int kWhiteStatics[] = {IDT_LET_TO, IDT_LET_DATE_LABEL, IDT_LET_ACREF_LABEL, IDT_LET_ACREF};

static const char *DateFormat(void)
{
    return QlSettings.cfg.dateFormat[0] ? QlSettings.cfg.dateFormat : "d/MM/yyyy";
}

static BOOL OnLetterInit(HWND dialog)
{
    const QlCustTextRec *text = QlCustText();
    QlUiCenterWindow(dialog);
    SetWindowTextA(dialog, text->LetterCaption);
    for (const LabelText &label : kLabels) SetDlgItemTextA(dialog, label.id, (const char *)text + label.offset);
    for (const auto &limit : kLimits) SendDlgItemMessageA(dialog, limit.id, EM_LIMITTEXT, limit.limit, 0);

    char title[128] = "", body[512] = "";
    if (QlCustLetterChoice >= 0 && QlCustLetterChoice < BLANK_LETTER) {
        const QlLetterTemplate &letter = QlSettings.cfg.letters[QlCustLetterChoice];
        snprintf(title, sizeof title, "%.*s", (int)sizeof letter.title - 1, letter.title);
        snprintf(body, sizeof body, "%.*s", (int)sizeof letter.body - 1, letter.body);
    }
    char err[QL_DB_ERR_SIZE];
    QlCustRec customer;
    if (!QlCustGetByAcRef(QlCustLetterAcRef, &customer, err)) {
        if (!QlDbNotFound()) QlShowReadError(dialog, err);
        EndDialog(dialog, 0);
        return TRUE;
    }
    QlCustShowAddress(dialog, &customer);
    SetDlgItemTextA(dialog, IDE_LET_ADDRESSEE, customer.contact[0] ? customer.contact : text->CustomerAddressee);
    SetDlgItemTextA(dialog, IDE_LET_OPENING, text->Dear);
    for (int i = 0; i < CLOSING_COUNT; i++)
        SendDlgItemMessageA(dialog, IDC_LET_CLOSING, CB_ADDSTRING, 0, (LPARAM)text->Closings[i]);
    SendDlgItemMessageA(dialog, IDC_LET_CLOSING, CB_SETCURSEL, 0, 0);
    SetDlgItemTextA(dialog, IDE_LET_SUBJECT, title);
    SetDlgItemTextA(dialog, IDE_LET_BODY, body);
    char signature[sizeof QlSettings.cfg.contactName];
    snprintf(signature, sizeof signature, "%.*s", (int)sizeof signature - 1, QlSettings.cfg.contactName);
    SetDlgItemTextA(dialog, IDE_LET_SIGNATURE, signature);
    SendDlgItemMessageA(dialog, IDP_LET_DATE, DTM_SETFORMATA, 0, (LPARAM)DateFormat());
    return TRUE;
}

void QlLetterRead(HWND dialog, QlLetterRec *letter)
{
    memset(letter, 0, sizeof *letter);
    static const int kAddress[4] = {IDE_LET_COMPANY, IDE_CUST_ADDR1, IDE_CUST_ADDR2, IDE_CUST_ADDR3};
    for (int i = 0; i < 4; i++) QlUiGetField(dialog, kAddress[i], letter->address[i]);
    QlCustPickerText(dialog, IDP_LET_DATE, DateFormat(), letter->date, sizeof letter->date);
    QlUiGetField(dialog, IDT_LET_ACREF_LABEL, letter->acrefLabel);
    QlUiGetField(dialog, IDT_LET_ACREF, letter->acref);
    QlUiGetField(dialog, IDE_LET_OPENING, letter->opening);
    QlUiGetField(dialog, IDE_LET_ADDRESSEE, letter->addressee);
    QlUiGetField(dialog, IDE_LET_SUBJECT, letter->subject);
    QlUiGetField(dialog, IDE_LET_BODY, letter->body);
    QlUiGetField(dialog, IDC_LET_CLOSING, letter->closing);
    QlUiGetField(dialog, IDE_LET_SIGNATURE, letter->signature);
}

size_t QlLetterMessage(const QlLetterRec *letter, char *out, size_t size)
{
    int n = snprintf(out, size, "%s %s,\r\n\r\n%s\r\n\r\n%s\r\n%s", letter->opening, letter->addressee, letter->body,
                     letter->closing, letter->signature);
    return n > 0 ? (size_t)n : 0;
}

static void PrintLetter(HWND dialog)
{
    QlLetterJob job;
    QlLetterRead(dialog, &job.letter);
    QlDocPrintStyle(&job.style);
    QlPrintDocument(dialog, QlLetterDraw, &job);
}

static void EmailLetter(HWND dialog)
{
    QlLetterRec letter;
    QlLetterRead(dialog, &letter);
    char message[1400];
    size_t length = QlLetterMessage(&letter, message, sizeof message);
    if (length >= QL_MAIL_MESSAGE_SIZE) {
        char refusal[256];
        snprintf(refusal, sizeof refusal, QlCustText()->LetterTooLong, QL_MAIL_MESSAGE_SIZE - 1);
        QlMsgBox(dialog, QlLangText()->Error, refusal, QL_COLOUR_WARNING);
        return;
    }
    char err[QL_DB_ERR_SIZE];
    QlCustRec customer;
    const char *recipient = QlCustGetByAcRef(letter.acref, &customer, err) ? customer.wemail : "";
    if (QlModuleOpeners.mailDialog)
        QlModuleOpeners.mailDialog(QlUiInstance(), dialog, QlCustText()->EmailLetterCaption, "", recipient,
                                   letter.subject, message);
}

static INT_PTR OnLetterCtlColor(HWND dialog, HDC dc, HWND control)
{
    for (int id : kWhiteStatics) {
        if (control != GetDlgItem(dialog, id)) continue;
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
    }
    return FALSE;
}

INT_PTR CALLBACK QlCustLetterDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnLetterInit(dialog);
    case WM_CTLCOLORSTATIC: return OnLetterCtlColor(dialog, (HDC)wParam, (HWND)lParam);
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDB_LET_PRINT: PrintLetter(dialog); return TRUE;
        case IDB_LET_EMAIL: EmailLetter(dialog); return TRUE;
        case IDCANCEL:
        case IDB_LET_CLOSE: EndDialog(dialog, 0); return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// The printed letter

static void Line(HDC dc, int x, int y, const char *text)
{
    TextOutA(dc, x, y, text, (int)strlen(text));
}

int QlLetterDraw(QlPrintTarget *target, void *data)
{
    const QlLetterJob *job = (const QlLetterJob *)data;
    const QlLetterRec &letter = job->letter;
    HDC dc = target->dc;
    const RECT page = target->page;
    QlPrintCompanyBlockRight(dc, &page, &job->style);

    HFONT font = QlCustPrintFont(dc, 10, FW_NORMAL);
    HFONT bold = QlCustPrintFont(dc, 10, FW_BOLD);
    if (!font || !bold) {
        if (font) DeleteObject(font);
        if (bold) DeleteObject(bold);
        return 0;
    }
    HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const int step = QlCustPrintLineHeight(dc) + 1;

    int y = page.top + 2 * step;
    for (int i = 0; i < 4; i++, y += step) Line(dc, page.left, y, letter.address[i]);

    y += step;
    char text[160];
    RECT band = {page.left, y, page.right, y + step};
    DrawTextA(dc, letter.date, -1, &band, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
    snprintf(text, sizeof text, "%s %s", letter.acrefLabel, letter.acref);
    OffsetRect(&band, 0, step);
    DrawTextA(dc, text, -1, &band, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);

    y += 4 * step;
    SelectObject(dc, bold);
    Line(dc, page.left, y, letter.subject);
    SelectObject(dc, font);
    y += 2 * step;
    snprintf(text, sizeof text, "%s %s,", letter.opening, letter.addressee);
    Line(dc, page.left, y, text);
    y += 2 * step;

    RECT body = {page.left, y, page.right, page.bottom};
    const UINT format = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
    RECT measure = body;
    DrawTextA(dc, letter.body, -1, &measure, format | DT_CALCRECT);
    DrawTextA(dc, letter.body, -1, &body, format);
    y += (measure.bottom - measure.top) + 2 * step;

    Line(dc, page.left, y, letter.closing);
    y += 4 * step;
    Line(dc, page.left, y, letter.signature);

    SelectObject(dc, previous);
    DeleteObject(font);
    DeleteObject(bold);
    return 1;
}
