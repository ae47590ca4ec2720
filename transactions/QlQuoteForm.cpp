// The quotation form (template 214): the new quotation (QlQuoteNewDlgProc),
// optionally filled from a stored quotation, and the view of a stored one
// (QlQuoteEditDlgProc), whose lines can be edited one at a time and which
// can be printed, e-mailed, saved as PDF or cloned into a new quotation.
//
// The new quotation is the invoice editor with a carriage (only when the
// settings include carriage) taxed at the rate chosen beside it as on an
// invoice, no order or custom number, and the quotation's captions.

#include "transactions/QlTransViews.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlListView.h"
#include "ui/QlMoneyControls.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlToolbar.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlAccountBlock.h"
#include "docmodel/QlTransLines.h"
#include "docmodel/QlTransTexts.h"
#include "docmodel/QlViewTexts.h"
#include "documents/QlDocOutput.h"
#include "resources/QlResCommon.h"
#include "resources/QlResTrans.h"
#include "resources/QlResTransViews.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"
#include "transactions/QlItemDialogs.h"
#include "transactions/QlTransForm.h"
#include "transactions/QlTransFormParts.h"
#include "transactions/QlTransPost.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <initializer_list>

static void ReleaseWithFree(QlQuotePrefill *block)
{
    free(block);
}
void (*QlQuotePrefillRelease)(QlQuotePrefill *block) = ReleaseWithFree;

// The account and the prefill block for the next new quotation.
static char sPendingRef[10];
static QlQuotePrefill *sPendingPrefill;
// The quotation a new form is filled from.
static QlTransRec sPrefillSource;

// The view's bar.
enum { CMD_PRINT = 0, CMD_EMAIL = 1, CMD_PDF = 2, CMD_CLONE = 3 };
static QlToolbarItem sViewBar[5] = {
    {IDBMP_PRINT, CMD_PRINT, NULL, "  Print  "}, {IDBMP_EMAIL, CMD_EMAIL, NULL, "  Email  "},
    {IDBMP_PDF, CMD_PDF, NULL, "  PDF  "},       {IDBMP_CLONE, CMD_CLONE, NULL, "  Clone  "},
    {IDBMP_CLOSE, 4, NULL, "  Close  "},
};

// The carriage group: disabled without "Include carriage", and in the view.
static const int kCarriageGroup[] = {IDT_DOC_CARRIAGE_LABEL, IDT_DOC_PRICE_LABEL, IDT_QUOTE_CENTS_LABEL,
                                     IDE_DOC_CARRIAGE_UNITS, IDE_DOC_CARRIAGE_HUNDREDTHS, IDC_DOC_CARRIAGE_RATE};

// The carriage and its tax at the chosen rate, then the gross: the same
// arithmetic as an invoice's.
static void UpdateCarriage(HWND form)
{
    QlTransFormShowCarriage(form);
    const int rate = (int)SendDlgItemMessageA(form, IDC_DOC_CARRIAGE_RATE, CB_GETCURSEL, 0, 0);
    const int64_t carriage = QlUiGetCentsSplit(form, IDE_DOC_CARRIAGE_UNITS, IDE_DOC_CARRIAGE_HUNDREDTHS);
    const int64_t tax = rate >= 0 && rate < QL_RATE_COUNT ? QlMoneyApplyRate(QlSettings.rates[rate], carriage) : 0;
    QlUiSetCents(form, IDT_DOC_CARRIAGE_TAX, tax);
    QlTransFormUpdateGross(form);
}

// ---------------------------------------------------------------------------
// Shared by both modes

static void SetCaptions(HWND form)
{
    const QlViewTextRec *view = QlViewText();
    const QlTransTextRec *text = QlTransText();
    QlTransFormSetAccountCaptions(form, view->QuoteTo, view->QuoteNo, view->QuoteDate);
    SetDlgItemTextA(form, IDT_DOC_TYPE_LABEL, view->QuoteType);
    SetDlgItemTextA(form, IDT_DOC_CARRIAGE_LABEL, text->Carriage);
    SetDlgItemTextA(form, IDT_DOC_CARRIAGE_TOTAL_LABEL, text->Carriage);
    SetDlgItemTextA(form, IDT_DOC_BARCODE_PROMPT, text->ScanPrompt);
    SetDlgItemTextA(form, IDT_QUOTE_CENTS_LABEL, view->Cents);
    QlTransFillRateCombo(form, IDC_DOC_CARRIAGE_RATE);
    char price[80];
    snprintf(price, sizeof price, "%s (%s)", text->Price, QlSettings.cfg.currency);
    SetDlgItemTextA(form, IDT_DOC_PRICE_LABEL, price);
    QlTransFormShowGrossCaption(form);
}

// Module window, pane, header, bar, captions, type combo and the service
// columns with zero totals.
static void StartQuoteForm(HWND form, QlToolbarItem *bar, int barCount)
{
    QlModuleWnd = form;
    QlTransFormFitPane(form);
    QlTransFormShiftHeader(form);
    QlTransFormStartPartsWith(form, QlViewText()->QuoteTitle, bar, barCount);
    QlUiDocFitColumnsHook = QlTransFormFitColumns;
    SetCaptions(form);

    HWND type = GetDlgItem(form, IDC_DOC_TYPE);
    SendMessageA(type, CB_ADDSTRING, 0, (LPARAM)QlLangText()->InvTypeService);
    SendMessageA(type, CB_ADDSTRING, 0, (LPARAM)QlLangText()->InvTypeProduct);
    SendMessageA(type, CB_SETCURSEL, 0, 0);
    QlTransLineMode = 0;
    QlTransLineCount = 0;
    QlUiStretchItemRight(form, IDL_DOC_LINES, 3);
    QlTransSetServColumns(GetDlgItem(form, IDL_DOC_LINES), QlServColumnWidths);
    QlTransFormInitTotals(form);
    SetDlgItemTextA(form, IDT_DOC_GROSS, "0.00");
}

static void SumLines(HWND form)
{
    QlTransFormSumItems(form, QlTransLineMode == 1 ? QL_LAYOUT_PRODUCT : QL_LAYOUT_SERVICE);
    QlTransFormUpdateGross(form);
}

static INT_PTR StaticColour(HDC dc, HWND control)
{
    static const int kWhite[] = {IDT_DOC_TO_LABEL, IDT_DOC_NUMBER, IDT_DOC_ACREF,        IDT_DOC_NET,
                                 IDT_DOC_TAX,      IDT_DOC_CARRIAGE, IDT_DOC_CARRIAGE_TAX, IDT_DOC_GROSS,
                                 IDT_DOC_ORDER_LABEL, IDT_DOC_DISCOUNT, IDT_DOC_TITLE};
    int id = GetDlgCtrlID(control);
    int white = 0;
    for (int box : kWhite) white |= box == id;
    if (!white) return FALSE;
    SetTextColor(dc, id == IDT_DOC_TITLE ? RGB(0, 0, 255) : RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
}

void QlQuoteLayout(HWND form, int lineMode)
{
    // The document layout re-creates whichever bar the form has (the new
    // form's two buttons, the view's five) along the new bottom.
    QlUiLayoutDocEditor(form, lineMode);
}

void QlTransFormResetColumnWidth(HWND form, int lineMode)
{
    SendDlgItemMessageA(form, IDL_DOC_LINES, LVM_SETCOLUMNWIDTH, lineMode == 1 ? 1 : 0, lineMode == 1 ? 130 : 210);
}

// ---------------------------------------------------------------------------
// The new quotation

void QlQuoteLoadPrefill(HWND form)
{
    if (!sPendingPrefill) return;
    char err[QL_DB_ERR_SIZE];
    if (!QlTransGetByRowId(sPendingPrefill->sourceKey, &sPrefillSource, err)) return;
    QlItemRowKeyTableClear();
    QlItemEnumByTrans(QlTransLineMode == 1 ? QlItemProdRowCb : QlItemServRowCb, sPrefillSource.iKey, err);
    QlTransLineCount = (int)SendDlgItemMessageA(form, IDL_DOC_LINES, LVM_GETITEMCOUNT, 0, 0);
    // The rows are new lines of this form, not the source's stored ones.
    QlItemRowKeyTableClear();
    // The gross is this form's own: the source's would hold a carriage that
    // the new form's carriage fields do not show.
    SumLines(form);
    QlTransFormSetColumnWidths(form, QlTransLineMode);
}

static void FinishNewForm(QlQuotePrefill *taken)
{
    if (taken) QlQuotePrefillRelease(taken);
    if (sPendingPrefill == taken) sPendingPrefill = NULL;
}

static BOOL OnInitNew(HWND form)
{
    QlQuotePrefill *taken = sPendingPrefill;
    StartQuoteForm(form, QlSaveCloseToolbarTable, ARRAYSIZE(QlSaveCloseToolbarTable));

    if (sPendingRef[0]) {
        QlCustRec customer;
        char err[QL_DB_ERR_SIZE];
        if (!QlCustGetByAcRef(sPendingRef, &customer, err)) {
            QlSeamMessageBox(form, err, QlViewText()->NoCustomerCaption, MB_OK);
            FinishNewForm(taken);
            QlUiClosePane(form);
            return TRUE;
        }
        QlCustShowAddress(form, &customer);
    }
    if (!QlSettings.cfg.printCarriage)
        for (int id : kCarriageGroup) EnableWindow(GetDlgItem(form, id), FALSE);
    SetDlgItemTextA(form, IDT_DOC_NUMBER, QlTransText()->AutoNumber);

    int mode = taken ? (taken->subType == 1 ? 1 : 0) : (QlSettings.cfg.invoiceType == 1 ? 1 : 0);
    if (mode == 1) {
        SendDlgItemMessageA(form, IDC_DOC_TYPE, CB_SETCURSEL, 1, 0);
        QlTransChangeFormType(form, QlServColumnWidths, 0);
    } else {
        EnableWindow(GetDlgItem(form, IDE_DOC_BARCODE), FALSE);
        EnableWindow(GetDlgItem(form, IDT_DOC_BARCODE_PROMPT), FALSE);
    }
    QlTransFormSetColumnWidths(form, QlTransLineMode);
    if (QlTransMainMaximized()) QlQuoteLayout(form, QlTransLineMode);
    if (taken) QlQuoteLoadPrefill(form);
    FinishNewForm(taken);
    return TRUE;
}

static void DeleteLine(HWND form)
{
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    int row = (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    if (row < 0) return;
    const QlViewTextRec *text = QlViewText();
    char caption[160], question[120];
    snprintf(caption, sizeof caption, "%s %s", text->DeleteQuoteLine, QlLangText()->Confirmation);
    snprintf(question, sizeof question, "%s (%d) ?", text->DeleteQuoteLine, row + 1);
    if (!QlMsgAskOkCancelLabel(form, caption, question, QL_COLOUR_WARNING, QlTransText()->Delete)) return;
    if (!SendMessageA(list, LVM_DELETEITEM, row, 0)) return;
    if (QlTransLineCount > 0) QlTransLineCount--;
    SumLines(form);
}

static void OnNewCommand(HWND form, int id, int code, LPARAM lParam)
{
    if (QlTransFormLineCommand(form, id, code, lParam, QL_DOC_QUOTE, 1)) return;
    if (id == IDB_DOC_DELETE) {
        DeleteLine(form);
    } else if (((id == IDE_DOC_CARRIAGE_UNITS || id == IDE_DOC_CARRIAGE_HUNDREDTHS) && code == EN_CHANGE) ||
               (id == IDC_DOC_CARRIAGE_RATE && code == CBN_SELCHANGE)) {
        UpdateCarriage(form);
    }
}

INT_PTR CALLBACK QlQuoteNewDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitNew(form);
    case WM_COMMAND: OnNewCommand(form, LOWORD(wParam), HIWORD(wParam), lParam); return TRUE;
    case WM_NOTIFY: {
        const NMHDR *header = (const NMHDR *)lParam;
        if (header->idFrom == IDL_DOC_LINES && header->code == NM_DBLCLK && QlTransEditItem(form)) SumLines(form);
        return FALSE;
    }
    case QL_WM_ENTER_KEY:
        if (QlTransLineMode == 1) QlTransOnBarcodeEnter(form, 1);
        return TRUE;
    // The form keeps its contents; it follows the main window's size.
    case QL_WM_MAIN_MAXIMIZED:
    case QL_WM_MAIN_RESTORED: QlQuoteLayout(form, QlTransLineMode); return TRUE;
    case WM_CTLCOLOREDIT:
        if ((HWND)lParam != GetDlgItem(form, IDE_DOC_BARCODE)) return FALSE;
        SetTextColor((HDC)wParam, QL_COLOUR_WARNING);
        SetBkColor((HDC)wParam, RGB(255, 255, 255));
        return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
    case WM_CTLCOLORSTATIC: return StaticColour((HDC)wParam, (HWND)lParam);
    case WM_CLOSE: return TRUE;
    case WM_DESTROY: return QlTransFormDestroyed(form);
    }
    return FALSE;
}

HWND QlQuoteOpenNew(const char *accountRef, QlQuotePrefill *prefill)
{
    memset(sPendingRef, 0, sizeof sPendingRef);
    if (accountRef) snprintf(sPendingRef, sizeof sPendingRef, "%s", accountRef);
    // A new-quotation form open now ends first; a block that no form took
    // (its form never opened) is released here, once.
    QlUiDestroyModule();
    if (sPendingPrefill && sPendingPrefill != prefill) QlQuotePrefillRelease(sPendingPrefill);
    sPendingPrefill = prefill;
    return QlTransOpenFormOn(QlQuoteNewDlgProc, IDD_QUOTE_FORM);
}

// ---------------------------------------------------------------------------
// The view of a stored quotation

static BOOL OnInitView(HWND form)
{
    const QlTransRec *rec = &QlTransContext;
    const QlLangTextRec *lang = QlLangText();
    QlTransViewPadLabel(&sViewBar[0], lang->ViewPrint);
    QlTransViewPadLabel(&sViewBar[1], lang->ViewEmail);
    QlTransViewPadLabel(&sViewBar[2], lang->ViewPdf);
    QlTransViewPadLabel(&sViewBar[3], QlViewText()->Clone);
    QlTransViewPadLabel(&sViewBar[4], lang->Close);
    DestroyWindow(GetDlgItem(form, IDE_DOC_BARCODE));
    DestroyWindow(GetDlgItem(form, IDT_DOC_BARCODE_PROMPT));
    StartQuoteForm(form, sViewBar, ARRAYSIZE(sViewBar));

    const int64_t carriage = QlMoneyParseCents(rec->carriage), carriageTax = QlMoneyParseCents(rec->carriage_vat);
    QlUiSetCentsSplit(form, carriage, IDE_DOC_CARRIAGE_UNITS, IDE_DOC_CARRIAGE_HUNDREDTHS);
    QlTransFormShowCarriage(form);
    QlUiSetCents(form, IDT_DOC_CARRIAGE_TAX, carriageTax);
    // The rate is not stored: the combo shows the one that gives the stored tax.
    int rate = -1;
    for (int i = QL_RATE_COUNT - 1; i >= 0; i--)
        if (QlMoneyApplyRate(QlSettings.rates[i], carriage) == carriageTax) rate = i;
    SendDlgItemMessageA(form, IDC_DOC_CARRIAGE_RATE, CB_SETCURSEL, rate, 0);

    // The view changes only lines: its account, number, date and type stay.
    for (int id : kCarriageGroup) EnableWindow(GetDlgItem(form, id), FALSE);
    for (int id : {IDB_DOC_SELECT, IDB_DOC_ADD, IDB_DOC_DELETE, IDC_DOC_TYPE, IDP_DOC_DATE})
        EnableWindow(GetDlgItem(form, id), FALSE);
    for (int id : {IDE_DOC_ACREF, IDE_DOC_COMPANY, IDE_DOC_ADDR1, IDE_DOC_ADDR2, IDE_DOC_ADDR3})
        SendDlgItemMessageA(form, id, EM_SETREADONLY, TRUE, 0);
    char number[32];
    snprintf(number, sizeof number, QL_I64, rec->iKey);
    SetDlgItemTextA(form, IDT_DOC_NUMBER, number);
    QlTransFixDate(form, rec->date);
    int mode = rec->sub_type == 1 ? 1 : 0;
    SendDlgItemMessageA(form, IDC_DOC_TYPE, CB_SETCURSEL, mode, 0);
    QlTransLineMode = mode;
    if (mode == 1) QlTransSetProdColumns(GetDlgItem(form, IDL_DOC_LINES), QlProdColumnWidths);

    QlCustRec customer;
    char err[QL_DB_ERR_SIZE];
    if (!QlCustGetByRowId(rec->cust_rowid, &customer, err)) {
        QlSeamMessageBox(form, err, QlViewText()->NoCustomerCaption, MB_OK);
        return TRUE;
    }
    QlCustShowAddress(form, &customer);
    QlItemRowKeyTableClear();
    if (!QlItemEnumByTrans(mode == 1 ? QlItemProdRowCb : QlItemServRowCb, rec->iKey, err))
        QlSeamMessageBox(form, err, QlViewText()->LinesLookupCaption, MB_OK);
    QlTransFormSumItems(form, mode == 1 ? QL_LAYOUT_PRODUCT : QL_LAYOUT_SERVICE);
    SetDlgItemTextA(form, IDT_DOC_GROSS, rec->gross);
    QlTransFormSetColumnWidths(form, mode);
    if (QlTransMainMaximized()) QlQuoteLayout(form, mode);
    return TRUE;
}

void QlQuoteCopyToNew(HWND view)
{
    int64_t key = QlTransContext.iKey;
    int subType = QlTransContext.sub_type == 1 ? 1 : 0;
    QlUiClosePane(view);
    QlQuotePrefill *block = (QlQuotePrefill *)malloc(sizeof *block);
    if (!block) return;
    block->sourceKey = key;
    block->type = 4;
    block->subType = subType;
    if (!QlMainWnd || !PostMessageA(QlMainWnd, QL_WM_QUOTE_COPY, 0, (LPARAM)block)) QlQuotePrefillRelease(block);
}

static void OnViewCommand(HWND form, int id, LPARAM lParam)
{
    if (QlTransFormIsToolbarCommand(form, id, lParam)) {
        switch (id) {
        case CMD_PRINT: QlQuotePrint(form, QlTransLineMode); break;
        case CMD_EMAIL: QlQuoteEmail(form, QlTransLineMode); break;
        case CMD_PDF: {
            char path[QL_DOC_PATH_SIZE] = "";
            int status = QL_PDF_STATUS_OK;
            int written = QlQuoteSavePdf(form, QlTransLineMode, path, 1, &status);
            QlTransReportPdf(form, written, status, QlViewText()->QuoteSavedPdf, path);
            break;
        }
        case CMD_CLONE: QlQuoteCopyToNew(form); break;
        default: QlUiClosePane(form); break;
        }
        return;
    }
    if (id == IDB_DOC_EDIT) QlTransViewEdit(form, QL_DOC_QUOTE);
}

INT_PTR CALLBACK QlQuoteEditDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitView(form);
    case WM_COMMAND: OnViewCommand(form, LOWORD(wParam), lParam); return TRUE;
    case QL_WM_MAIN_MAXIMIZED: QlQuoteLayout(form, QlTransLineMode); return TRUE;
    case QL_WM_MAIN_RESTORED: QlTransReopen(); return TRUE;
    case WM_CTLCOLORSTATIC: return StaticColour((HDC)wParam, (HWND)lParam);
    case WM_CLOSE: return TRUE;
    case WM_DESTROY: return QlTransFormDestroyed(form);
    }
    return FALSE;
}

HWND QlQuoteOpenView(const QlTransRec *rec)
{
    QlTransSetContext(rec);
    return QlTransOpenFormOn(QlQuoteEditDlgProc, IDD_QUOTE_FORM);
}
