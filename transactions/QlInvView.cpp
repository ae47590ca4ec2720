// The views of stored invoices (template 140 with QlInvViewServDlgProc and
// QlInvViewProdDlgProc), the context they show, reopening a view, and the
// pieces every view shares: the fixed date, the edit of a stored line and
// the report of the PDF command.
//
// A view shows the stored gross, whatever its lines add up to; only Edit
// changes it, writing the edited line and the recomputed totals back.

#include "transactions/QlTransViews.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlListView.h"
#include "ui/QlMoneyControls.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSaveDialog.h"
#include "ui/QlSeams.h"
#include "ui/QlToolbar.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlAccountBlock.h"
#include "docmodel/QlOpeners.h"
#include "docmodel/QlTransLines.h"
#include "docmodel/QlTransTexts.h"
#include "docmodel/QlViewTexts.h"
#include "documents/QlDocOutput.h"
#include "resources/QlResCommon.h"
#include "resources/QlResTrans.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"
#include "transactions/QlTransForm.h"
#include "transactions/QlTransFormParts.h"
#include "transactions/QlTransPost.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include <initializer_list>

QlTransRec QlTransContext;

// The stored document whose change the user agreed to in this view (0: none
// yet): asked once per opening, not again after each line.
static int64_t sChangeAgreedKey;

// The product-invoice view's bar: the view bar with the delivery note.
enum { CMD_PRINT = 0, CMD_EMAIL = 1, CMD_PDF = 2, CMD_DELIVERY = 3 };
static QlToolbarItem sProdViewBar[5] = {
    {IDBMP_PRINT, CMD_PRINT, NULL, "  Print  "}, {IDBMP_EMAIL, CMD_EMAIL, NULL, "  Email  "},
    {IDBMP_PDF, CMD_PDF, NULL, "  PDF  "},       {IDBMP_PRODUCTS, CMD_DELIVERY, NULL, "Delivery note"},
    {IDBMP_CLOSE, 4, NULL, "  Close  "},
};

// The controls a view has no use for, and those it shows but keeps fixed.
static const int kViewUnused[] = {IDE_DOC_BARCODE, IDT_DOC_BARCODE_PROMPT, IDE_DOC_CUSTOM, IDT_DOC_CUSTOM_LABEL};
static const int kViewDisabled[] = {IDB_DOC_SELECT, IDB_DOC_ADD, IDB_DOC_DELETE, IDT_DOC_CARRIAGE_LABEL,
                                    IDE_DOC_CARRIAGE_UNITS, IDE_DOC_CARRIAGE_HUNDREDTHS, IDE_DOC_CARRIAGE_TAX_UNITS,
                                    IDE_DOC_CARRIAGE_TAX_HUNDREDTHS, IDC_DOC_CARRIAGE_RATE, IDT_DOC_PRICE_LABEL,
                                    IDT_DOC_CARRIAGE_TAX_LABEL, IDC_DOC_TYPE};
static const int kAccountBlock[] = {IDE_DOC_ACREF, IDE_DOC_COMPANY, IDE_DOC_ADDR1, IDE_DOC_ADDR2, IDE_DOC_ADDR3,
                                    IDE_DOC_ORDER};

// ---------------------------------------------------------------------------
// Context and reopening

void QlTransSetContext(const QlTransRec *rec)
{
    // A view opened anew asks again; a view reopened on its own context
    // (after a resize or a failed write) keeps the answer.
    if (rec && rec != &QlTransContext) {
        QlTransContext = *rec;
        sChangeAgreedKey = 0;
    }
}

// The context as the database now has it (kept as it was when it cannot be read).
static void RefreshContext(void)
{
    QlTransRec fresh;
    char err[QL_DB_ERR_SIZE];
    if (QlTransContext.iKey && QlTransGetByRowId(QlTransContext.iKey, &fresh, err)) QlTransContext = fresh;
}

HWND QlTransReopen(void)
{
    if (!QlTransContext.iKey) return NULL;
    RefreshContext();
    return QlTransOpenByType(&QlTransContext);
}

// ---------------------------------------------------------------------------
// Pieces of every view

int QlTransFixDate(HWND form, const char *storedDate)
{
    HWND picker = GetDlgItem(form, IDP_DOC_DATE);
    if (!picker) return 0;
    QlDateRec date;
    SYSTEMTIME day = {};
    int valid = QlDateParseDmy(storedDate, &date) && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
                date.day <= QlDateDaysInMonth(date.month, date.year) && date.year >= 1753 && date.year <= 9999;
    if (valid) {
        day.wYear = (WORD)date.year;
        day.wMonth = (WORD)date.month;
        day.wDay = (WORD)date.day;
        valid = SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&day) != 0;
    }
    if (!valid) {
        // A date that cannot be shown must not be offered for change either.
        EnableWindow(picker, FALSE);
        return 0;
    }
    SYSTEMTIME range[2] = {day, day};
    SendMessageA(picker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, (LPARAM)range);
    return 1;
}

// An invoice or credit note may have been sent, paid or reported since it
// was saved: the first change of a line in a view is asked for, naming the
// document; 1 when it may be changed.
static int MayChangeStored(HWND form, int type)
{
    if (type != QL_DOC_INVOICE && type != QL_DOC_CREDIT) return 1;
    if (QlTransContext.iKey && sChangeAgreedKey == QlTransContext.iKey) return 1;
    if (SendDlgItemMessageA(form, IDL_DOC_LINES, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED) < 0) return 0;
    const QlViewTextRec *text = QlViewText();
    char number[24], question[256];
    snprintf(number, sizeof number, QL_I64, QlTransContext.iKey);
    snprintf(question, sizeof question, type == QL_DOC_CREDIT ? text->ChangeStoredCredit : text->ChangeStoredInvoice,
             number);
    if (!QlMsgAskOkCancel(form, QlLangText()->ConfirmOperation, question, QL_COLOUR_WARNING)) return 0;
    sChangeAgreedKey = QlTransContext.iKey;
    return 1;
}

int QlTransViewEdit(HWND form, int type)
{
    if (!MayChangeStored(form, type)) return 0;
    int result = QlTransViewEditLine(form, type, QlTransContext.iKey);
    if (result == 1) {
        RefreshContext();
        return 1;
    }
    // The form shows an edit that the database does not hold: show it as stored.
    if (result < 0) QlTransReopen();
    return 0;
}

void QlTransReportPdf(HWND form, int written, int status, const char *savedText, const char *path)
{
    if (written)
        QlStatusPostSaved(savedText, path);
    else if (status == QL_PDF_STATUS_IN_USE)
        QlMsgBox(form, QlLangText()->Error, QlLangText()->FileInUseText, QL_COLOUR_WARNING);
    else if (status == QL_PDF_STATUS_NO_SPACE)
        QlMsgBox(form, QlLangText()->Error, QlLangText()->DiskFullText, QL_COLOUR_WARNING);
    else if (status != QL_PDF_STATUS_CANCELLED)
        QlMsgBox(form, QlLangText()->Error, QlViewText()->PdfFailed, QL_COLOUR_WARNING);
}

// ---------------------------------------------------------------------------
// Loading an invoice

static void SetReadOnly(HWND form, const int *ids, size_t count)
{
    for (size_t i = 0; i < count; i++) SendDlgItemMessageA(form, ids[i], EM_SETREADONLY, TRUE, 0);
}

void QlInvLoad(HWND form)
{
    const QlTransRec *rec = &QlTransContext;
    QlTransFormSetInvoiceCaptions(form);

    int64_t carriage = QlMoneyParseCents(rec->carriage);
    int64_t carriageTax = QlMoneyParseCents(rec->carriage_vat);
    QlUiSetCentsSplit(form, carriage, IDE_DOC_CARRIAGE_UNITS, IDE_DOC_CARRIAGE_HUNDREDTHS);
    QlUiSetCents(form, IDT_DOC_CARRIAGE, carriage);
    QlUiSetCentsSplit(form, carriageTax, IDE_DOC_CARRIAGE_TAX_UNITS, IDE_DOC_CARRIAGE_TAX_HUNDREDTHS);
    QlUiSetCents(form, IDT_DOC_CARRIAGE_TAX, carriageTax);
    // The rate is not stored: the combo shows the one that gives the stored tax.
    int rate = -1;
    for (int i = QL_RATE_COUNT - 1; i >= 0; i--)
        if (QlMoneyApplyRate(QlSettings.rates[i], carriage) == carriageTax) rate = i;
    SendDlgItemMessageA(form, IDC_DOC_CARRIAGE_RATE, CB_SETCURSEL, rate, 0);
    for (int id : {IDT_DOC_NET, IDT_DOC_TAX, IDT_DOC_DISCOUNT}) SetDlgItemTextA(form, id, "0.00");

    // Number and date are the stored document's whatever else can be read.
    char number[32];
    snprintf(number, sizeof number, QL_I64, rec->iKey);
    SetDlgItemTextA(form, IDT_DOC_NUMBER, number);
    QlTransFixDate(form, rec->date);
    for (int id : kViewDisabled) EnableWindow(GetDlgItem(form, id), FALSE);
    SetReadOnly(form, kAccountBlock, ARRAYSIZE(kAccountBlock));

    const QlViewTextRec *text = QlViewText();
    QlCustRec customer;
    char err[QL_DB_ERR_SIZE];
    if (!QlCustGetByRowId(rec->cust_rowid, &customer, err)) {
        QlSeamMessageBox(form, err, text->NoCustomerCaption, MB_OK);
        return;
    }
    QlCustShowAddress(form, &customer);
    SetDlgItemTextA(form, IDE_DOC_ORDER, rec->order_number);

    QlItemRec first;
    if (!QlItemGetByRowId(rec->doc_rowid, &first, err)) QlSeamMessageBox(form, err, text->NoInvoiceCaption, MB_OK);
}

// Lists the context's stored lines through the row function; the message
// when they cannot be read.
static void ListStoredLines(HWND form, QlItemRowFn rowFn)
{
    QlItemRowKeyTableClear();
    char err[QL_DB_ERR_SIZE];
    if (!QlItemEnumByTrans(rowFn, QlTransContext.iKey, err))
        QlSeamMessageBox(form, err, QlViewText()->LinesLookupCaption, MB_OK);
}

// ---------------------------------------------------------------------------
// The two invoice views

void QlTransViewPadLabel(QlToolbarItem *item, const char *label)
{
    // The view bars' pictures expect two blanks on each side.
    snprintf(item->text, sizeof item->text, "  %.59s  ", label);
}

static void StartViewBar(HWND form, int lineMode, const char *title)
{
    if (lineMode == 1) {
        const QlLangTextRec *lang = QlLangText();
        QlTransViewPadLabel(&sProdViewBar[0], lang->ViewPrint);
        QlTransViewPadLabel(&sProdViewBar[1], lang->ViewEmail);
        QlTransViewPadLabel(&sProdViewBar[2], lang->ViewPdf);
        snprintf(sProdViewBar[3].text, sizeof sProdViewBar[3].text, "%s", QlViewText()->DeliveryButton);
        QlTransViewPadLabel(&sProdViewBar[4], lang->Close);
        QlTransFormStartPartsWith(form, title, sProdViewBar, ARRAYSIZE(sProdViewBar));
    } else {
        QlTransFormStartPartsWith(form, title, QlDocViewToolbarTable, ARRAYSIZE(QlDocViewToolbarTable));
    }
}

static BOOL OnInitView(HWND form, int lineMode)
{
    QlModuleWnd = form;
    QlTransFormFitPane(form);
    QlTransFormShiftHeader(form);
    for (int id : kViewUnused) DestroyWindow(GetDlgItem(form, id));
    StartViewBar(form, lineMode, QlTransText()->InvoiceTitle);
    QlUiDocFitColumnsHook = QlTransFormFitColumns;

    HWND type = GetDlgItem(form, IDC_DOC_TYPE);
    SendMessageA(type, CB_ADDSTRING, 0, (LPARAM)QlLangText()->InvTypeService);
    SendMessageA(type, CB_ADDSTRING, 0, (LPARAM)QlLangText()->InvTypeProduct);
    SendMessageA(type, CB_SETCURSEL, lineMode, 0);
    QlUiStretchItemRight(form, IDL_DOC_LINES, 3);
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    if (lineMode == 1)
        QlTransSetProdColumns(list, QlProdColumnWidths);
    else
        QlTransSetServColumns(list, QlServColumnWidths);
    QlTransLineMode = lineMode;
    QlTransLineCount = 0;

    QlInvLoad(form);
    ListStoredLines(form, lineMode == 1 ? QlItemProdRowCb : QlItemServRowCb);
    QlTransFormSumItems(form, lineMode == 1 ? QL_LAYOUT_PRODUCT : QL_LAYOUT_SERVICE);
    SetDlgItemTextA(form, IDT_DOC_GROSS, QlTransContext.gross);
    QlTransFormSetColumnWidths(form, lineMode);
    if (QlTransMainMaximized()) QlUiLayoutDocEditor(form, lineMode);
    return TRUE;
}

static void OnViewCommand(HWND form, int lineMode, int id, LPARAM lParam)
{
    if (QlTransFormIsToolbarCommand(form, id, lParam)) {
        if (id == CMD_PRINT) {
            QlInvPrint(form, 0, lineMode);
        } else if (id == CMD_EMAIL) {
            QlInvEmail(form, 0, lineMode);
        } else if (id == CMD_PDF) {
            char path[QL_DOC_PATH_SIZE] = "";
            int status = QL_PDF_STATUS_OK;
            int written = QlInvSavePdf(form, lineMode, path, 1, &status);
            QlTransReportPdf(form, written, status, QlViewText()->InvoiceSavedPdf, path);
        } else if (id == CMD_DELIVERY && lineMode == 1) {
            char number[32];
            QlUiGetField(form, IDT_DOC_NUMBER, number);
            QlDeliveryNoteOpen(form, QlAtoI64(number));
        } else {
            QlUiClosePane(form);
        }
        return;
    }
    if (id == IDB_DOC_EDIT) QlTransViewEdit(form, QL_DOC_INVOICE);
}

static INT_PTR ViewProc(HWND form, int lineMode, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitView(form, lineMode);
    case WM_COMMAND: OnViewCommand(form, lineMode, LOWORD(wParam), lParam); return TRUE;
    case QL_WM_MAIN_MAXIMIZED: QlUiLayoutDocEditor(form, lineMode); return TRUE;
    case QL_WM_MAIN_RESTORED: QlTransReopen(); return TRUE;
    case WM_CTLCOLORSTATIC: return QlTransFormCtlColor(form, (HDC)wParam, (HWND)lParam);
    case WM_CLOSE: return TRUE;
    case WM_DESTROY: return QlTransFormDestroyed(form);
    }
    return FALSE;
}

INT_PTR CALLBACK QlInvViewServDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ViewProc(form, 0, msg, wParam, lParam);
}

INT_PTR CALLBACK QlInvViewProdDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ViewProc(form, 1, msg, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Openers

HWND QlInvOpenServ(const QlTransRec *rec)
{
    QlTransSetContext(rec);
    return QlTransOpenForm(QlInvViewServDlgProc);
}

HWND QlInvOpenProd(const QlTransRec *rec)
{
    QlTransSetContext(rec);
    return QlTransOpenForm(QlInvViewProdDlgProc);
}
