// The purchase-order window (template 324) in the main window's pane.
//
// New mode, opened for the supplier focused in the suppliers list: lines are
// added, edited and deleted through the order-item dialog and live only in
// list 1161 until Save stores the order: one trans row of type 5 (its row id
// is the order number) and one orders row a line, in one database
// transaction.  Stored mode shows a saved order read-only, with Print,
// Email, PDF and Close (QlOrderOutput.cpp).
//
// Columns 5 and 6 of the list lie beyond its visible width: they carry the
// product's row id and code of each line for saving.

#include "purchasing/QlPurchDocs.h"
#include "purchasing/QlPurchDocTexts.h"
#include "purchasing/QlPurchOpen.h"
#include "purchasing/QlSuppCurrent.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlListView.h"
#include "ui/QlMoneyControls.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlToolbar.h"
#include "ui/QlWindow.h"
#include "datastore/QlDb.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlTransTexts.h"
#include "documents/QlDocOutput.h"
#include "documents/QlDocTexts.h"
#include "resources/QlResPurchDocs.h"
#include "resources/QlResTrans.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"
#include "transactions/QlTransFormParts.h"
#include "transactions/QlTransPost.h"

#include <commctrl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int QlOrderMode;
QlTransRec QlOrderHeader;
QlOrderRec QlOrderLine;
int QlOrderItemMode;
int64_t QlOrderOtherLinesCents;

// The open window's line list and the row being edited.
static HWND sLines;
static int sEditedRow = -1;

// The row id and code columns are kept at no width; the shown ones leave room
// for a vertical scroll bar, so that no horizontal one is needed.
static QlListColumnTable sColumns = {IDL_DOC_LINES,
                                     NULL,
                                     QL_ORDER_COLUMNS,
                                     {{14, 0, "Supplier Code"},
                                      {42, 0, "Description"},
                                      {10, 1, "QTY"},
                                      {15, 1, "Unit Price"},
                                      {15, 1, "Total Price"},
                                      {0, 0, "Rowid"},
                                      {0, 0, "Scode"}}};

// Copies text into a field, cut to fit.
template <size_t N> static void Put(char (&field)[N], const char *text)
{
    snprintf(field, N, "%s", text ? text : "");
}

// ---------------------------------------------------------------------------
// Layout

static HWND Bar(HWND window)
{
    HWND *slot = QlOrderMode == 1 ? &QlDocViewToolbar : &QlSaveCloseToolbar;
    return *slot && GetParent(*slot) == window ? *slot : NULL;
}

// Places the buttons, the list and the total above the bottom bar, and the
// header block with its right edge margin pixels from the window's, the
// total totalMargin pixels from it.
static void Place(HWND window, int margin, int totalMargin)
{
    RECT client;
    GetClientRect(window, &client);
    HWND bar = Bar(window);
    int barTop = client.bottom;
    if (bar) {
        SendMessageA(bar, TB_AUTOSIZE, 0, 0);
        QlUiGetRectInParent(bar, NULL, NULL, &barTop, NULL);
    }

    int height = 0, top = 0, left = 0, width = 0;
    static const int kButtons[] = {IDB_DOC_ADD, IDB_DOC_EDIT, IDB_DOC_DELETE};
    int buttonsTop = barTop;
    for (int id : kButtons) {
        HWND button = GetDlgItem(window, id);
        QlUiGetRectInParent(button, NULL, &height, NULL, &left);
        buttonsTop = barTop - height - 5;
        QlUiMoveItem(window, id, left, buttonsTop);
    }
    HWND list = GetDlgItem(window, IDL_DOC_LINES);
    QlUiGetRectInParent(list, NULL, NULL, &top, NULL);
    MoveWindow(list, 0, top, client.right - 3, buttonsTop - 5 - top, TRUE);

    HWND total = GetDlgItem(window, IDT_ORDER_TOTAL);
    QlUiGetRectInParent(total, &width, &height, NULL, NULL);
    QlUiMoveItem(window, IDT_ORDER_TOTAL, client.right - width - totalMargin, barTop - height - 5);
    QlUiMoveItemLeftOf(window, IDT_DOC_TOTAL_LABEL, IDT_ORDER_TOTAL);

    static const int kRight[] = {IDT_DOC_TITLE, IDT_DOC_NUMBER, IDP_DOC_DATE, IDT_DOC_ACREF};
    for (int id : kRight) {
        QlUiGetRectInParent(GetDlgItem(window, id), &width, NULL, &top, NULL);
        QlUiMoveItem(window, id, client.right - width - margin, top);
    }
    int titleLeft = 0;
    QlUiGetRectInParent(GetDlgItem(window, IDT_DOC_TITLE), NULL, NULL, NULL, &titleLeft);
    static const int kLabels[] = {IDT_DOC_NUMBER_LABEL, IDT_DOC_DATE_LABEL, IDT_DOC_ACREF_LABEL};
    for (int id : kLabels) {
        QlUiGetRectInParent(GetDlgItem(window, id), NULL, NULL, &top, NULL);
        QlUiMoveItem(window, id, titleLeft, top);
    }
}

void QlOrderLayout(HWND window)
{
    QlTransFormFitPane(window);
    Place(window, 5, 20);
    QlListResizeColumns(window, &sColumns);
}

void QlOrderRestoreLayout(HWND window)
{
    QlTransFormFitPane(window);
    Place(window, 10, 25);
    QlListResizeColumns(window, &sColumns);
}

// ---------------------------------------------------------------------------
// Lines

int QlOrderLineAppend(const QlOrderRec *line)
{
    if (!sLines) return 0;
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = INT_MAX;   // after the last row, however many there are
    item.pszText = (char *)line->supplier_code;
    item.lParam = 1;
    int row = (int)SendMessageA(sLines, LVM_INSERTITEMA, 0, (LPARAM)&item);
    if (row < 0) return 0;
    char text[32];
    QlListSetCell(sLines, row, QL_ORDER_COL_DESCR, line->description);
    snprintf(text, sizeof text, QL_I64, line->iQty);
    QlListSetCell(sLines, row, QL_ORDER_COL_QTY, text);
    QlListSetCell(sLines, row, QL_ORDER_COL_UPRICE, line->uprice);
    QlListSetCell(sLines, row, QL_ORDER_COL_TOTAL, line->total);
    snprintf(text, sizeof text, QL_I64, line->iProductRowId);
    QlListSetCell(sLines, row, QL_ORDER_COL_ROWID, text);
    QlListSetCell(sLines, row, QL_ORDER_COL_SCODE, line->scode);
    return 1;
}

void QlOrderLineRewrite(const QlOrderRec *line)
{
    if (!sLines || sEditedRow < 0) return;
    char text[32];
    QlListSetCell(sLines, sEditedRow, QL_ORDER_COL_SUPP_CODE, line->supplier_code);
    QlListSetCell(sLines, sEditedRow, QL_ORDER_COL_DESCR, line->description);
    snprintf(text, sizeof text, QL_I64, line->iQty);
    QlListSetCell(sLines, sEditedRow, QL_ORDER_COL_QTY, text);
    QlListSetCell(sLines, sEditedRow, QL_ORDER_COL_UPRICE, line->uprice);
    QlListSetCell(sLines, sEditedRow, QL_ORDER_COL_TOTAL, line->total);
    snprintf(text, sizeof text, QL_I64, line->iProductRowId);
    QlListSetCell(sLines, sEditedRow, QL_ORDER_COL_ROWID, text);
    QlListSetCell(sLines, sEditedRow, QL_ORDER_COL_SCODE, line->scode);
}

void QlOrderTotal(HWND window)
{
    HWND list = GetDlgItem(window, IDL_DOC_LINES);
    int rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    QlUiSetCents(window, IDT_ORDER_TOTAL, QlListSumCents(list, QL_ORDER_COL_TOTAL, rows));
}

static INT_PTR RunItemDialog(HWND window)
{
    return DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_ORDER_ITEM), window, QlOrderItemDlgProc, 0);
}

static int64_t LinesCents(HWND window)
{
    HWND list = GetDlgItem(window, IDL_DOC_LINES);
    return QlListSumCents(list, QL_ORDER_COL_TOTAL, (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

void QlOrderLineAdd(HWND window)
{
    memset(&QlOrderLine, 0, sizeof QlOrderLine);
    QlOrderItemMode = 1;
    QlOrderOtherLinesCents = LinesCents(window);
    if (RunItemDialog(window) != 1) return;
    QlOrderLineAppend(&QlOrderLine);
    QlOrderTotal(window);
}

static int FocusedRow(HWND window)
{
    return (int)SendDlgItemMessageA(window, IDL_DOC_LINES, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED);
}

void QlOrderLineEdit(HWND window)
{
    int row = FocusedRow(window);
    if (QlOrderMode == 1 || row < 0) return;
    sEditedRow = row;
    QlOrderItemMode = 0;
    memset(&QlOrderLine, 0, sizeof QlOrderLine);
    HWND list = GetDlgItem(window, IDL_DOC_LINES);
    char text[128];
    QlListGetCell(list, row, QL_ORDER_COL_ROWID, text, sizeof text);
    QlOrderLine.iProductRowId = strtoll(text, NULL, 10);
    QlListGetCell(list, row, QL_ORDER_COL_SCODE, QlOrderLine.scode, sizeof QlOrderLine.scode);
    QlListGetCell(list, row, QL_ORDER_COL_SUPP_CODE, QlOrderLine.supplier_code, sizeof QlOrderLine.supplier_code);
    QlListGetCell(list, row, QL_ORDER_COL_DESCR, QlOrderLine.description, sizeof QlOrderLine.description);
    QlListGetCell(list, row, QL_ORDER_COL_QTY, text, sizeof text);
    QlOrderLine.iQty = strtoll(text, NULL, 10);
    QlListGetCell(list, row, QL_ORDER_COL_UPRICE, QlOrderLine.uprice, sizeof QlOrderLine.uprice);
    QlListGetCell(list, row, QL_ORDER_COL_TOTAL, QlOrderLine.total, sizeof QlOrderLine.total);
    QlOrderOtherLinesCents = LinesCents(window) - QlListCellCents(list, QL_ORDER_COL_TOTAL, row);
    if (RunItemDialog(window) == 1) {
        QlOrderLineRewrite(&QlOrderLine);
        QlOrderTotal(window);
    }
    sEditedRow = -1;
}

void QlOrderLineDelete(HWND window)
{
    int row = FocusedRow(window);
    if (row < 0) return;
    SendDlgItemMessageA(window, IDL_DOC_LINES, LVM_DELETEITEM, row, 0);
    QlOrderTotal(window);
}

// ---------------------------------------------------------------------------
// Save

// The date picker's date, day first ("d/MM/yyyy"), as the documents store it.
static void ReadDate(HWND window, char *out, size_t size)
{
    out[0] = '\0';
    SYSTEMTIME date;
    if (SendDlgItemMessageA(window, IDP_DOC_DATE, DTM_GETSYSTEMTIME, 0, (LPARAM)&date) == GDT_VALID)
        snprintf(out, size, "%d/%02d/%04d", date.wDay, date.wMonth, date.wYear);
}

// A failure inside the database transaction: everything stored since it
// began is undone before the user is told.
static int Abandon(HWND owner, const char *caption, const char *err)
{
    QlDbRollback();
    QlSeamMessageBox(owner, err, caption, MB_OK);
    return 0;
}

int QlOrderSave(HWND window)
{
    HWND list = GetDlgItem(window, IDL_DOC_LINES);
    const int rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    if (rows <= 0) return 0;
    const QlTransTextRec *t = QlTransText();
    // The gross is the sum of the lines in cents, never the text of the
    // total shown, and it must fit the gross field whole.
    const int64_t totalCents = LinesCents(window);
    if (totalCents <= 0) {
        QlMsgBox(window, QlLangText()->Error, t->ZeroGross, QL_COLOUR_WARNING);
        return 0;
    }
    if (totalCents > QL_MAX_GROSS_CENTS) {
        QlMsgBox(window, QlLangText()->Error, t->MaxAmount, QL_COLOUR_WARNING);
        return 0;
    }
    char total[sizeof(QlTransRec::gross)], acref[6];
    QlMoneyFormatCents(totalCents, total, sizeof total);
    QlUiGetField(window, IDT_DOC_ACREF, acref);
    if (!acref[0]) {
        QlMsgBox(window, t->MissingAccountCaption, t->MissingAccountText, QL_COLOUR_WARNING);
        return 0;
    }

    QlTransRec rec;
    memset(&rec, 0, sizeof rec);
    Put(rec.acref, acref);
    rec.supp_rowid = QlSuppCurrent.iKey;
    rec.type = 5;
    rec.num_sub_items = (uint32_t)rows;
    ReadDate(window, rec.date, sizeof rec.date);
    Put(rec.gross, total);
    Put(rec.gross_bal, "0.00");
    Put(rec.vat, "0.00");

    char err[QL_DB_ERR_SIZE] = "";
    if (!QlDbBegin(err)) {
        QlSeamMessageBox(window, err, QL_CAPTION_ADD_TRANS_FAILED, MB_OK);
        return 0;
    }
    if (!QlTransAdd(&rec, err)) return Abandon(window, QL_CAPTION_ADD_TRANS_FAILED, err);
    for (int r = 0; r < rows; r++) {
        QlOrderRec line;
        memset(&line, 0, sizeof line);
        char text[128];
        line.iSupplierRowId = QlSuppCurrent.iKey;
        QlListGetCell(list, r, QL_ORDER_COL_ROWID, text, sizeof text);
        line.iProductRowId = strtoll(text, NULL, 10);
        line.iTxRowId = rec.iKey;
        QlListGetCell(list, r, QL_ORDER_COL_SCODE, line.scode, sizeof line.scode);
        QlListGetCell(list, r, QL_ORDER_COL_SUPP_CODE, line.supplier_code, sizeof line.supplier_code);
        QlListGetCell(list, r, QL_ORDER_COL_DESCR, line.description, sizeof line.description);
        QlListGetCell(list, r, QL_ORDER_COL_QTY, text, sizeof text);
        line.iQty = strtoll(text, NULL, 10);
        QlListGetCell(list, r, QL_ORDER_COL_UPRICE, line.uprice, sizeof line.uprice);
        QlListGetCell(list, r, QL_ORDER_COL_TOTAL, line.total, sizeof line.total);
        if (!QlOrderAdd(&line, err)) return Abandon(NULL, QlPurchDocText()->SaveOrderFailed, err);
        if (r == 0 && (!QlDbSetInt64("trans", "doc_rowid", rec.iKey, line.iKey, err) ||
                       !QlDbSetText("trans", "desc", rec.iKey, line.description, err)))
            return Abandon(window, QL_CAPTION_TRANS_UPDATE_FAILED, err);
    }
    if (!QlDbCommit(err)) return Abandon(window, QL_CAPTION_ADD_TRANS_FAILED, err);
    QlUiClosePane(window);
    QlTransPostSavedStatus(QL_DOC_ORDER, rec.iKey);
    return 1;
}

// ---------------------------------------------------------------------------
// Start-up

static void SetCaptions(HWND window)
{
    const QlPurchDocTextRec *p = QlPurchDocText();
    const QlTransTextRec *t = QlTransText();
    SetDlgItemTextA(window, IDT_DOC_COMPANY_LABEL, QlLangText()->CompanyNameLabel);
    SetDlgItemTextA(window, IDT_DOC_TO_LABEL, p->SupplierAddress);
    SetDlgItemTextA(window, IDT_DOC_NUMBER_LABEL, t->OrderNumber);
    SetDlgItemTextA(window, IDT_DOC_DATE_LABEL, QlDocText()->DateLabel);
    SetDlgItemTextA(window, IDT_DOC_ACREF_LABEL, p->SupplierAcc);
    char label[80];
    snprintf(label, sizeof label, "%s (%s)", t->Total, QlSettings.cfg.currency);
    SetDlgItemTextA(window, IDT_DOC_TOTAL_LABEL, label);
    SetDlgItemTextA(window, IDB_DOC_ADD, t->Add);
    SetDlgItemTextA(window, IDB_DOC_EDIT, t->Edit);
    SetDlgItemTextA(window, IDB_DOC_DELETE, t->Delete);
    SendDlgItemMessageA(window, IDE_DOC_COMPANY, EM_LIMITTEXT, 39, 0);
    QlUiLimitAddressEdits(window);
    SendDlgItemMessageA(window, IDP_DOC_DATE, DTM_SETFORMATA, 0,
                        (LPARAM)(QlSettings.cfg.dateFormat[0] ? QlSettings.cfg.dateFormat : "d/MM/yyyy"));
}

static void ShowSupplier(HWND window, const QlSuppRec *supplier)
{
    SetDlgItemTextA(window, IDE_DOC_COMPANY, supplier->company);
    SetDlgItemTextA(window, IDE_DOC_ADDR1, supplier->addr1);
    SetDlgItemTextA(window, IDE_DOC_ADDR2, supplier->addr2);
    SetDlgItemTextA(window, IDE_DOC_ADDR3, supplier->addr3);
}

static void LoadStored(HWND window)
{
    char err[QL_DB_ERR_SIZE];
    QlSuppRec supplier;
    if (!QlSuppGetByRowId(QlOrderHeader.supp_rowid, &supplier, err)) return;
    SetDlgItemTextA(window, IDT_DOC_ACREF, QlOrderHeader.acref);
    QlSuppCurrent = supplier;
    char number[32];
    snprintf(number, sizeof number, QL_I64, QlOrderHeader.iKey);
    SetDlgItemTextA(window, IDT_DOC_NUMBER, number);
    QlTransFixDate(window, QlOrderHeader.date);
    ShowSupplier(window, &supplier);
    SetDlgItemTextA(window, IDT_ORDER_TOTAL, QlOrderHeader.gross);
    QlOrderEnumByOrderNo(QlOrderLineAppend, QlOrderHeader.iKey, err);
    static const int kLocked[] = {IDE_DOC_COMPANY, IDP_DOC_DATE, IDE_DOC_ADDR1, IDE_DOC_ADDR2, IDE_DOC_ADDR3,
                                  IDB_DOC_ADD,     IDB_DOC_EDIT, IDB_DOC_DELETE};
    for (int id : kLocked) EnableWindow(GetDlgItem(window, id), FALSE);
}

static void LoadNew(HWND window)
{
    char err[QL_DB_ERR_SIZE];
    if (!QlSuppGetByRowId(QlSuppCurrent.iKey, &QlSuppCurrent, err)) return;
    SetDlgItemTextA(window, IDT_DOC_ACREF, QlSuppCurrent.acref);
    ShowSupplier(window, &QlSuppCurrent);
    SetDlgItemTextA(window, IDT_DOC_NUMBER, QlTransText()->AutoNumber);
}

static BOOL OnInitDialog(HWND window)
{
    QlModuleWnd = window;
    sLines = GetDlgItem(window, IDL_DOC_LINES);
    sEditedRow = -1;
    QlTransFormFitPane(window);
    SetCaptions(window);
    if (QlOrderMode == 1)
        QlTransFormStartPartsWith(window, QlPurchDocText()->OrderTitle, QlDocViewToolbarTable,
                                  ARRAYSIZE(QlDocViewToolbarTable));
    else
        QlTransFormStartParts(window, QlPurchDocText()->OrderTitle);
    if (QlTransMainMaximized())
        Place(window, 5, 20);
    else
        Place(window, 10, 25);

    const QlPurchDocTextRec *p = QlPurchDocText();
    for (int c = 0; c < QL_ORDER_COL_ROWID; c++) Put(sColumns.columns[c].title, p->OrderColumns[c]);
    sColumns.list = NULL;
    QlListSetupFromTable(window, &sColumns);

    SetDlgItemTextA(window, IDT_DOC_NUMBER, "");
    SetDlgItemTextA(window, IDT_DOC_ACREF, "");
    SetDlgItemTextA(window, IDT_ORDER_TOTAL, "");
    if (QlOrderMode == 1)
        LoadStored(window);
    else
        LoadNew(window);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Openers

HWND QlOrderNew(HWND owner)
{
    int row;
    if (!QlSuppGetSelected(&QlSuppCurrent, &row)) return NULL;
    QlOrderMode = 0;
    return QlTransOpenFormOn(QlOrderDlgProc, IDD_ORDER_FORM);
}

HWND QlOrderOpen(const QlTransRec *rec)
{
    if (!rec) return NULL;
    QlOrderMode = 1;
    QlOrderHeader = *rec;
    return QlTransOpenFormOn(QlOrderDlgProc, IDD_ORDER_FORM);
}

// ---------------------------------------------------------------------------
// Messages

static void OnToolbar(HWND window, int id)
{
    if (QlOrderMode == 0) {
        if (id == QL_ORDER_CMD_SAVE) {
            QlOrderSave(window);
        } else if (id == QL_ORDER_CMD_CLOSE) {
            // Lines entered are lost with the window: the user is asked first.
            if (SendDlgItemMessageA(window, IDL_DOC_LINES, LVM_GETITEMCOUNT, 0, 0) == 0 || QlMsgAskCloseForm(window))
                QlUiClosePane(window);
        }
        return;
    }
    switch (id) {
    case QL_ORDER_CMD_PRINT: QlOrderPrint(window); return;
    case QL_ORDER_CMD_EMAIL: QlOrderEmail(window); return;
    case QL_ORDER_CMD_PDF: {
        char path[QL_DOC_PATH_SIZE] = "";
        int status = QL_PDF_STATUS_OK;
        int written = QlOrderSavePdf(window, path, 1, &status);
        QlTransReportPdf(window, written, status, QlPurchDocText()->OrderSavedPdf, path);
        return;
    }
    case QL_ORDER_CMD_VIEW_CLOSE: QlUiClosePane(window); return;
    }
}

static void OnCommand(HWND window, int id, LPARAM lParam)
{
    if (QlTransFormIsToolbarCommand(window, id, lParam)) return OnToolbar(window, id);
    if (QlOrderMode == 1) return;
    switch (id) {
    case IDB_DOC_ADD: QlOrderLineAdd(window); return;
    case IDB_DOC_EDIT: QlOrderLineEdit(window); return;
    case IDB_DOC_DELETE: QlOrderLineDelete(window); return;
    }
}

static const int kWhiteStatics[] = {IDT_DOC_TITLE,       IDT_DOC_NUMBER,     IDT_DOC_NUMBER_LABEL,
                                    IDT_DOC_DATE_LABEL,  IDT_DOC_ACREF_LABEL, IDT_DOC_ACREF,
                                    IDT_DOC_TO_LABEL,    IDT_ORDER_TOTAL};

INT_PTR CALLBACK QlOrderDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(window);
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), lParam); return TRUE;
    case WM_NOTIFY: {
        const NMHDR *header = (const NMHDR *)lParam;
        if (header->idFrom == IDL_DOC_LINES && header->code == NM_DBLCLK) QlOrderLineEdit(window);
        return FALSE;
    }
    case WM_CTLCOLORSTATIC: {
        int id = GetDlgCtrlID((HWND)lParam);
        for (int white : kWhiteStatics) {
            if (id != white) continue;
            SetTextColor((HDC)wParam, RGB(0, 0, 0));
            SetBkColor((HDC)wParam, RGB(255, 255, 255));
            return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
        }
        return FALSE;
    }
    case QL_WM_MAIN_MAXIMIZED: QlOrderLayout(window); return TRUE;
    case QL_WM_MAIN_RESTORED: QlOrderRestoreLayout(window); return TRUE;
    case WM_CLOSE: return TRUE;   // not a command of the form
    case WM_DESTROY:
        if (sLines && GetParent(sLines) == window) sLines = NULL;
        return QlTransFormDestroyed(window);
    }
    return FALSE;
}
