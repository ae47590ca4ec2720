// The purchase-invoice window: an invoice received from a supplier on the
// document form 140, in the main window's pane.
//
// New mode (QlPurchInvDlgProc) takes the supplier focused in the suppliers
// list; its lines live only in list 1161 until Save posts the invoice through
// the transactions module (QlTransSave, type 6: one trans row against the
// supplier and one invoices row a line, stock untouched) and closes the
// window.  Stored mode (QlPurchInvViewDlgProc) shows a saved invoice from
// its trans row, read-only: it can only be closed.
//
// The form's pieces (fitting the pane, the header block at the right edge,
// the Save / Close bar with the title, captions, colours, the delete
// question, the gross caption by language) are the transactions module's.

#include "purchasing/QlPurchDocs.h"
#include "purchasing/QlPurchDocTexts.h"
#include "purchasing/QlPurchOpen.h"
#include "purchasing/QlSuppCurrent.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlListView.h"
#include "ui/QlMsgDialog.h"
#include "ui/QlToolbar.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlTransLines.h"
#include "docmodel/QlTransTexts.h"
#include "documents/QlDocTexts.h"
#include "resources/QlResPurchDocs.h"
#include "resources/QlResTrans.h"
#include "settings/QlSettings.h"
#include "transactions/QlTransFormParts.h"
#include "transactions/QlTransPost.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int QlPurchInvMode;
QlTransRec QlPurchInvHeader;

// The stored view's line list, where QlPurchInvLineRowCb inserts rows.
static HWND sStoredList;

#define LINE_COLUMNS 5

// The controls of form 140 that a purchase invoice has no use for.
static const int kUnused[] = {IDT_DOC_TYPE_LABEL,   IDC_DOC_TYPE,
                              IDT_DOC_NUMBER,       IDT_DOC_NUMBER_LABEL,
                              IDT_DOC_BARCODE_PROMPT, IDE_DOC_BARCODE,
                              IDT_DOC_CUSTOM_LABEL, IDT_DOC_ORDER_LABEL,
                              IDE_DOC_ORDER,        IDE_DOC_CUSTOM,
                              IDT_DOC_CARRIAGE_LABEL, IDT_DOC_PRICE_LABEL,
                              IDT_DOC_CARRIAGE_TAX_LABEL, IDE_DOC_CARRIAGE_UNITS,
                              IDE_DOC_CARRIAGE_HUNDREDTHS, IDT_DOC_CARRIAGE_TOTAL_LABEL,
                              IDE_DOC_CARRIAGE_TAX_UNITS, IDE_DOC_CARRIAGE_TAX_HUNDREDTHS,
                              IDC_DOC_CARRIAGE_RATE, IDT_DOC_CARRIAGE_TAX,
                              IDT_DOC_CARRIAGE};

// Column widths in pixels before the description column is fitted.
static const int kLineWidths[LINE_COLUMNS] = {435, 80, 90, 90, 90};
static const int kLineFormats[LINE_COLUMNS] = {0, 1, 1, 1, 1};

// ---------------------------------------------------------------------------
// Start-up

static void ShowSupplier(HWND window, const QlSuppRec *supplier)
{
    SetDlgItemTextA(window, IDT_DOC_ACREF, supplier->acref);
    SetDlgItemTextA(window, IDE_DOC_ACREF, supplier->acref);
    SetDlgItemTextA(window, IDE_DOC_COMPANY, supplier->company);
    SetDlgItemTextA(window, IDE_DOC_ADDR1, supplier->addr1);
    SetDlgItemTextA(window, IDE_DOC_ADDR2, supplier->addr2);
    SetDlgItemTextA(window, IDE_DOC_ADDR3, supplier->addr3);
}

static void SetCaptions(HWND window)
{
    const QlPurchDocTextRec *p = QlPurchDocText();
    const QlTransTextRec *t = QlTransText();
    SetDlgItemTextA(window, IDT_DOC_ACCOUNT_LABEL, p->SupplierAcc);
    SetDlgItemTextA(window, IDB_DOC_SELECT, t->Select);
    SetDlgItemTextA(window, IDT_DOC_COMPANY_LABEL, p->Supplier);
    SetDlgItemTextA(window, IDT_DOC_TO_LABEL, p->SupplierAddress);
    SetDlgItemTextA(window, IDT_DOC_DATE_LABEL, t->InvoiceDate);
    SetDlgItemTextA(window, IDT_DOC_ACREF_LABEL, p->SupplierAcc);
    SetDlgItemTextA(window, IDB_DOC_ADD, t->Add);
    SetDlgItemTextA(window, IDB_DOC_EDIT, t->Edit);
    SetDlgItemTextA(window, IDB_DOC_DELETE, t->Delete);
    // "Total" on 1162 and the gross caption 1168 by the language.
    QlTransFormShowGrossCaption(window);
    SendDlgItemMessageA(window, IDP_DOC_DATE, DTM_SETFORMATA, 0,
                        (LPARAM)(QlSettings.cfg.dateFormat[0] ? QlSettings.cfg.dateFormat : "d/MM/yyyy"));
}

static void SetColumns(HWND window)
{
    const QlPurchDocTextRec *p = QlPurchDocText();
    const QlDocTextRec *d = QlDocText();
    char rate[40];
    snprintf(rate, sizeof rate, "%s %c", p->TaxWord, '%');
    const char *titles[LINE_COLUMNS] = {d->DetailsTitle, rate, d->PriceTitle, d->NetTitle, p->TaxWord};
    QlUiStretchItemRight(window, IDL_DOC_LINES, 0);
    QlListSetColumnsFmt(GetDlgItem(window, IDL_DOC_LINES), titles, LINE_COLUMNS, kLineWidths, 10, kLineFormats);
    // The description takes what the money columns leave of the list.
    QlTransFormFitColumns(window, 0);
}

// The title in its large font is wider than the form's title box: the box
// grows to the left, keeping its right edge.
static void FitTitle(HWND window)
{
    HWND title = GetDlgItem(window, IDT_DOC_TITLE);
    char text[80] = "";
    GetWindowTextA(title, text, sizeof text);
    HDC dc = GetDC(title);
    HGDIOBJ previous = SelectObject(dc, (HFONT)SendMessageA(title, WM_GETFONT, 0, 0));
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, (int)strlen(text), &size);
    SelectObject(dc, previous);
    ReleaseDC(title, dc);
    int width, height, top, left;
    QlUiGetRectInParent(title, &width, &height, &top, &left);
    const int wanted = size.cx + 12;
    if (wanted > width) MoveWindow(title, left + width - wanted, top, wanted, height, TRUE);
}

// What both modes do first; the module slot holds the window from here on.
static void StartForm(HWND window)
{
    QlModuleWnd = window;
    for (int id : kUnused) {
        HWND control = GetDlgItem(window, id);
        if (control) DestroyWindow(control);
    }
    QlTransFormFitPane(window);
    QlTransFormShiftHeader(window);
    QlTransFormStartParts(window, QlPurchDocText()->PurchaseInvoiceTitle);
    FitTitle(window);
    QlUiDocFitColumnsHook = QlTransFormFitColumns;
    SetCaptions(window);
    SetColumns(window);
    SendDlgItemMessageA(window, IDE_DOC_ACREF, EM_LIMITTEXT, 5, 0);
    SendDlgItemMessageA(window, IDE_DOC_COMPANY, EM_LIMITTEXT, 39, 0);
    QlUiLimitAddressEdits(window);
    QlTransFormInitTotals(window);
    SetDlgItemTextA(window, IDT_DOC_DISCOUNT, "0.00");
    SetDlgItemTextA(window, IDT_DOC_GROSS, "");
}

static void DisableSave(HWND window)
{
    if (QlSaveCloseToolbar && GetParent(QlSaveCloseToolbar) == window)
        SendMessageA(QlSaveCloseToolbar, TB_ENABLEBUTTON, QL_FORM_CMD_SAVE, FALSE);
}

static void LayOut(HWND window)
{
    QlUiLayoutDocEditor(window, 0);
    if (QlPurchInvMode == 1) DisableSave(window);
}

static BOOL OnInitNew(HWND window)
{
    StartForm(window);
    char err[QL_DB_ERR_SIZE];
    if (!QlSuppGetByRowId(QlSuppCurrent.iKey, &QlSuppCurrent, err)) return TRUE;
    ShowSupplier(window, &QlSuppCurrent);
    if (QlTransMainMaximized()) LayOut(window);
    return TRUE;
}

static BOOL OnInitStored(HWND window)
{
    sStoredList = GetDlgItem(window, IDL_DOC_LINES);
    StartForm(window);
    char err[QL_DB_ERR_SIZE];
    if (!QlSuppGetByRowId(QlPurchInvHeader.supp_rowid, &QlSuppCurrent, err)) return TRUE;
    QlTransFixDate(window, QlPurchInvHeader.date);
    static const int kLocked[] = {IDB_DOC_SELECT, IDB_DOC_ADD, IDB_DOC_DELETE, IDB_DOC_EDIT};
    for (int id : kLocked) EnableWindow(GetDlgItem(window, id), FALSE);
    DisableSave(window);
    QlItemEnumByTrans(QlPurchInvLineRowCb, QlPurchInvHeader.iKey, err);
    QlPurchInvSumLines(window);
    ShowSupplier(window, &QlSuppCurrent);
    if (QlTransMainMaximized()) LayOut(window);
    return TRUE;
}

int QlPurchInvLineRowCb(const QlItemRec *line)
{
    if (!sStoredList) return 0;
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = (int)SendMessageA(sStoredList, LVM_GETITEMCOUNT, 0, 0);   // in the order they were entered
    item.pszText = (char *)line->descr;
    int row = (int)SendMessageA(sStoredList, LVM_INSERTITEMA, 0, (LPARAM)&item);
    if (row < 0) return 0;
    QlListSetCell(sStoredList, row, 1, line->vatr_str);
    QlListSetCell(sStoredList, row, 2, line->subtotal);
    QlListSetCell(sStoredList, row, 3, line->net);
    QlListSetCell(sStoredList, row, 4, line->vat);
    return 1;
}

void QlPurchInvSumLines(HWND window)
{
    QlTransFormSumItems(window, QL_LAYOUT_PURCHASE);
    QlTransFormUpdateGross(window);
}

// ---------------------------------------------------------------------------
// Openers

HWND QlPurchInvNew(HWND owner)
{
    int row;
    if (!QlSuppGetSelected(&QlSuppCurrent, &row)) return NULL;
    QlPurchInvMode = 0;
    return QlTransOpenForm(QlPurchInvDlgProc);
}

HWND QlPurchInvOpen(const QlTransRec *rec)
{
    if (!rec) return NULL;
    QlPurchInvMode = 1;
    QlPurchInvHeader = *rec;
    return QlTransOpenForm(QlPurchInvViewDlgProc);
}

// ---------------------------------------------------------------------------
// Rebuild

#define KEPT_CELLS 16
#define KEPT_CELL 128

static const struct {
    int id;
    int size;
} kKeptTexts[] = {{IDE_DOC_ACREF, 6}, {IDE_DOC_COMPANY, 40}, {IDE_DOC_ADDR1, 40}, {IDE_DOC_ADDR2, 40},
                  {IDE_DOC_ADDR3, 40}, {IDT_DOC_NET, 64},    {IDT_DOC_TAX, 64},   {IDT_DOC_GROSS, 64}};

struct KeptWindow {
    char texts[ARRAYSIZE(kKeptTexts)][64];
    SYSTEMTIME date;
    int haveDate;
    int rows;
    int columns;
    char (*cells)[KEPT_CELLS][KEPT_CELL];   // one entry a row
};

HWND QlPurchInvRebuild(HWND window, int unused)
{
    KeptWindow kept;
    memset(&kept, 0, sizeof kept);
    for (size_t i = 0; i < ARRAYSIZE(kKeptTexts); i++)
        QlUiGetField(window, kKeptTexts[i].id, kept.texts[i], kKeptTexts[i].size);
    kept.haveDate =
        SendDlgItemMessageA(window, IDP_DOC_DATE, DTM_GETSYSTEMTIME, 0, (LPARAM)&kept.date) == GDT_VALID;
    HWND list = GetDlgItem(window, IDL_DOC_LINES);
    kept.rows = list ? (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) : 0;
    kept.columns = QlListColumnCount(list);
    if (kept.columns > KEPT_CELLS) kept.columns = KEPT_CELLS;
    if (kept.rows > 0) {
        kept.cells = (char(*)[KEPT_CELLS][KEPT_CELL])calloc((size_t)kept.rows, sizeof *kept.cells);
        if (!kept.cells) return NULL;
        for (int r = 0; r < kept.rows; r++)
            for (int c = 0; c < kept.columns; c++) QlListGetCell(list, r, c, kept.cells[r][c], KEPT_CELL);
    }

    const int stored = QlPurchInvMode == 1;
    if (QlModuleWnd != window) DestroyWindow(window);
    HWND rebuilt = QlTransOpenForm(stored ? QlPurchInvViewDlgProc : QlPurchInvDlgProc);
    if (rebuilt) {
        for (size_t i = 0; i < ARRAYSIZE(kKeptTexts); i++) SetDlgItemTextA(rebuilt, kKeptTexts[i].id, kept.texts[i]);
        if (kept.haveDate)
            SendDlgItemMessageA(rebuilt, IDP_DOC_DATE, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&kept.date);
        HWND lines = GetDlgItem(rebuilt, IDL_DOC_LINES);
        for (int r = 0; !stored && r < kept.rows; r++) {
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = (int)SendMessageA(lines, LVM_GETITEMCOUNT, 0, 0);
            item.pszText = kept.cells[r][0];
            int row = (int)SendMessageA(lines, LVM_INSERTITEMA, 0, (LPARAM)&item);
            for (int c = 1; row >= 0 && c < kept.columns; c++) QlListSetCell(lines, row, c, kept.cells[r][c]);
        }
        QlPurchInvSumLines(rebuilt);
    }
    free(kept.cells);
    return rebuilt;
}

// ---------------------------------------------------------------------------
// Messages

static void SelectSupplier(HWND window)
{
    INT_PTR chosen = DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_PURCH_SUPP_SELECT), window,
                                     QlSuppSelectDlgProc, 0);
    if (chosen > 0) ShowSupplier(window, &QlSuppCurrent);
}

static void OnCommandNew(HWND window, int id, LPARAM lParam)
{
    if (QlTransFormIsToolbarCommand(window, id, lParam)) {
        if (id == QL_FORM_CMD_SAVE) {
            if (QlTransSave(window, QL_DOC_PURCHASE, 0)) QlUiClosePane(window);
        } else {
            QlTransFormCloseCommand(window);
        }
        return;
    }
    switch (id) {
    case IDB_DOC_SELECT: SelectSupplier(window); return;
    case IDB_DOC_ADD: QlPurchLineAdd(window); return;
    case IDB_DOC_EDIT:
        if (QlPurchLineEdit(window)) QlPurchInvSumLines(window);
        return;
    case IDB_DOC_DELETE:
        if (QlTransFormDeleteLine(window)) QlPurchInvSumLines(window);
        return;
    }
}

static INT_PTR CommonMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case QL_WM_MAIN_MAXIMIZED: LayOut(window); return TRUE;
    case QL_WM_MAIN_RESTORED: QlPurchInvRebuild(window, 0); return TRUE;
    case WM_CTLCOLORSTATIC: return QlTransFormStaticColour(window, (HDC)wParam, (HWND)lParam, QL_COLOUR_WARNING);
    case WM_CLOSE: return TRUE;   // not a command of the form
    case WM_DESTROY:
        if (sStoredList && GetParent(sStoredList) == window) sStoredList = NULL;
        return QlTransFormDestroyed(window);
    }
    return FALSE;
}

INT_PTR CALLBACK QlPurchInvDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitNew(window);
    case WM_COMMAND: OnCommandNew(window, LOWORD(wParam), lParam); return TRUE;
    case WM_NOTIFY: {
        const NMHDR *header = (const NMHDR *)lParam;
        if (header->idFrom == IDL_DOC_LINES && header->code == NM_DBLCLK && QlPurchLineEdit(window))
            QlPurchInvSumLines(window);
        return FALSE;
    }
    }
    return CommonMessage(window, msg, wParam, lParam);
}

INT_PTR CALLBACK QlPurchInvViewDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitStored(window);
    case WM_COMMAND:
        if (QlTransFormIsToolbarCommand(window, LOWORD(wParam), lParam) && LOWORD(wParam) == QL_FORM_CMD_CLOSE)
            QlUiClosePane(window);
        return TRUE;
    }
    return CommonMessage(window, msg, wParam, lParam);
}
