// The stock-in and stock-out dialogs (one template, 180): a product is picked
// by its barcode (Enter ends a scan), from the dialog's own list or with the
// find row, and the quantity typed is added to or taken from its stock.
// Every change is stored at once; the dialog stays open for the next one,
// and the products window reloads its list afterwards when anything changed.
//
// Stock stays between 0 and QL_STOCK_MAX (seven digits).

#include "catalogue/QlCatalogueLists.h"
#include "catalogue/QlCatalogueTables.h"
#include "catalogue/QlCatTexts.h"
#include "catalogue/QlProducts.h"

#include "ui/QlAppState.h"
#include "ui/QlListView.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlToolbar.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlTransLines.h"
#include "docmodel/QlReadError.h"
#include "resources/QlResCatalogue.h"
#include "resources/QlResCommon.h"

#include <stdio.h>
#include <string.h>

enum { COL_CODE, COL_SUPPLIER_CODE, COL_DETAILS, COL_COST, COL_PRICE, COL_STOCK, COL_ROW_ID };
enum { CMD_STOCK, CMD_CLOSE };

QlToolbarItem QlStockInToolbarTable[2] = {
    {IDBMP_STOCK_IN, CMD_STOCK, NULL, "In"},
    {IDBMP_CLOSE, CMD_CLOSE, NULL, "Close"},
};
QlToolbarItem QlStockOutToolbarTable[2] = {
    {IDBMP_STOCK_OUT, CMD_STOCK, NULL, "Out"},
    {IDBMP_CLOSE, CMD_CLOSE, NULL, "Close"},
};

// The dialog that is open (one at a time, modal).
static HWND sToolbar;
static QlToolbarItem *sToolbarTable;
static HWND sList;

// ---------------------------------------------------------------------------
// The list

static int StockListRowCb(const QlProdRec *rec)
{
    QlProdListAddRow(sList, rec);
    return 0;
}

static void StockListLoad(HWND dialog)
{
    const QlCatTextRec *text = QlCatText();
    SetDlgItemTextA(dialog, IDT_STOCK_BARCODE_PROMPT, text->ScanPrompt);
    SetDlgItemTextA(dialog, IDT_STOCK_HINT, text->StockHint);
    SetDlgItemTextA(dialog, IDT_STOCK_CODE_LABEL, text->CodeLabel);
    SendDlgItemMessageA(dialog, IDE_STOCK_QTY, EM_LIMITTEXT, 7, 0);
    SendDlgItemMessageA(dialog, IDE_STOCK_BARCODE, EM_LIMITTEXT, 30, 0);
    if (QlFontWide10) SendDlgItemMessageA(dialog, IDE_STOCK_BARCODE, WM_SETFONT, (WPARAM)QlFontWide10, TRUE);
    QlListSetupFromTable(dialog, &QlStockListColumnTable);
    sList = GetDlgItem(dialog, IDL_STOCK_LIST);
    QlProdListFill(sList, StockListRowCb);
    EnableWindow(GetDlgItem(dialog, IDE_STOCK_QTY), FALSE);
    memset(QlProdSortFlags, 0, sizeof QlProdSortFlags);
    QlProdState.stock_changed = 0;
    QlProdFindRowSetup(dialog, IDB_STOCK_FIND);
}

// The quantity field ready for the picked product.
static void AskQuantity(HWND dialog)
{
    HWND quantity = GetDlgItem(dialog, IDE_STOCK_QTY);
    EnableWindow(quantity, TRUE);
    SetWindowTextA(quantity, "1");
    SetFocus(quantity);
    SendMessageA(quantity, EM_SETSEL, 0, -1);   // the next digits typed replace the 1
}

static void StockListSelect(HWND dialog)
{
    int row = (int)SendMessageA(sList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED);
    if (row < 0) return;
    char text[257];
    QlListGetCell(sList, row, COL_CODE, text, sizeof text);
    SetDlgItemTextA(dialog, IDT_STOCK_CODE, text);
    QlListGetCell(sList, row, COL_DETAILS, text, sizeof text);
    SetDlgItemTextA(dialog, IDT_STOCK_DETAILS, text);
    AskQuantity(dialog);
}

// ---------------------------------------------------------------------------
// Barcodes and the stock command

static void Warn(HWND dialog, const char *caption, const char *text)
{
    QlMsgBox(dialog, caption, text, QL_COLOUR_WARNING);
}

static void StockFindBarcode(HWND dialog)
{
    const QlCatTextRec *text = QlCatText();
    char barcode[31] = "";
    GetDlgItemTextA(dialog, IDE_STOCK_BARCODE, barcode, sizeof barcode);
    barcode[strcspn(barcode, "\r\n")] = '\0';
    char message[200];
    if (strlen(barcode) < QL_PROD_BARCODE_MIN) {
        snprintf(message, sizeof message, text->StockBarcodeTooShort, (unsigned)QL_PROD_BARCODE_MIN);
        Warn(dialog, text->InvalidBarcode, message);
        SetDlgItemTextA(dialog, IDE_STOCK_BARCODE, "");
        return;
    }
    QlProdRec product;
    char err[QL_DB_ERR_SIZE];
    if (!QlProdFind("barcode", barcode, &product, err)) {
        if (!QlDbNotFound()) {
            QlShowReadError(dialog, err);
            return;
        }
        QlProdScanSound("scan_err.wav");
        snprintf(message, sizeof message, text->NoBarcodeProduct, barcode);
        Warn(dialog, text->ProductMissing, message);
        SetDlgItemTextA(dialog, IDE_STOCK_BARCODE, "");
        return;
    }
    QlProdScanSound("scan_ok.wav");
    SetDlgItemTextA(dialog, IDT_STOCK_CODE, product.scode);
    SetDlgItemTextA(dialog, IDT_STOCK_DETAILS, product.name);
    EnableWindow(GetDlgItem(dialog, IDE_STOCK_QTY), TRUE);
    LVFINDINFOA find = {};
    find.flags = LVFI_STRING;
    find.psz = product.scode;
    int row = (int)SendMessageA(sList, LVM_FINDITEMA, (WPARAM)-1, (LPARAM)&find);
    if (row < 0) return;
    QlListShowRow(sList, row);
    AskQuantity(dialog);
}

static void ClearPick(HWND dialog)
{
    SetDlgItemTextA(dialog, IDE_STOCK_QTY, "");
    SetDlgItemTextA(dialog, IDE_STOCK_BARCODE, "");
    SetDlgItemTextA(dialog, IDT_STOCK_DETAILS, "");
    SetFocus(GetDlgItem(dialog, IDE_STOCK_BARCODE));
}

static void StockCommand(HWND dialog, int out)
{
    const QlCatTextRec *text = QlCatText();
    int row = (int)SendMessageA(sList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED);
    if (row < 0) return;
    char key[81];
    QlListGetCell(sList, row, COL_ROW_ID, key, sizeof key);
    QlProdRec product;
    char err[QL_DB_ERR_SIZE];
    if (!QlProdGetByRowId(QlAtoI64(key), &product, err)) return;
    int64_t quantity = 0;
    if (!QlItemReadQuantity(dialog, IDE_STOCK_QTY, QL_STOCK_MAX, &quantity)) return;

    char caption[100], message[160];
    int64_t stock = product.stock_qty;
    if (!out) {
        if (stock + quantity > QL_STOCK_MAX) {
            snprintf(caption, sizeof caption, text->StockMaxCaption, QL_STOCK_MAX);
            snprintf(message, sizeof message, text->StockMaxText, (int)(QL_STOCK_MAX - stock));
            Warn(dialog, caption, message);
            return;
        }
        stock += quantity;
    } else {
        if (stock < quantity) {
            ClearPick(dialog);
            snprintf(message, sizeof message, text->StockShortText, product.stock_qty);
            Warn(dialog, text->StockShortCaption, message);
            return;
        }
        stock -= quantity;
    }
    product.stock_qty = (int32_t)stock;
    if (!QlProdUpdate(&product, err)) {
        Warn(dialog, text->StockNotChanged, err);
        return;
    }
    char cell[16];
    snprintf(cell, sizeof cell, "%d", product.stock_qty);
    QlListSetCell(sList, row, COL_STOCK, cell);
    ClearPick(dialog);
    QlProdState.stock_changed = 1;
}

static void OnFind(HWND dialog)
{
    if (QlProdFindRowRun(dialog, sList)) StockListSelect(dialog);
}

// ---------------------------------------------------------------------------
// The dialog

static BOOL OnInitDialog(HWND dialog, int out)
{
    const QlCatTextRec *text = QlCatText();
    SetWindowLongPtrA(dialog, DWLP_USER, out);
    QlUiCenterWindow(dialog);
    QlEditEnterAttach(GetDlgItem(dialog, IDE_STOCK_BARCODE));
    sToolbarTable = out ? QlStockOutToolbarTable : QlStockInToolbarTable;
    snprintf(sToolbarTable[0].text, sizeof sToolbarTable[0].text, "%s", out ? text->StockOut : text->StockIn);
    snprintf(sToolbarTable[1].text, sizeof sToolbarTable[1].text, "%s", text->Close);
    sToolbar = QlToolbarCreate(QlUiInstance(), dialog, sToolbarTable, 2, 1, 0);
    SetWindowTextA(dialog, out ? text->StockOutCaption : text->StockInCaption);
    StockListLoad(dialog);
    SetDlgItemTextA(dialog, IDT_STOCK_QTY_PROMPT, out ? text->StockOutPrompt : text->StockInPrompt);
    SetFocus(GetDlgItem(dialog, IDE_STOCK_BARCODE));
    return FALSE;
}

static void Close(HWND dialog)
{
    QlToolbarDestroy(sToolbar, sToolbarTable, 2);
    sToolbar = NULL;
    EndDialog(dialog, 0);
}

static void OnCommand(HWND dialog, int out, int id, int code, HWND control)
{
    if (control && control == sToolbar) {
        if (id == CMD_STOCK)
            StockCommand(dialog, out);
        else if (id == CMD_CLOSE)
            Close(dialog);
        return;
    }
    switch (id) {
    case IDOK:
        // Enter: a scan in the barcode field, nothing elsewhere.
        if (GetFocus() == GetDlgItem(dialog, IDE_STOCK_BARCODE)) StockFindBarcode(dialog);
        return;
    case IDCANCEL: Close(dialog); return;
    case IDB_STOCK_FIND: OnFind(dialog); return;
    case IDE_PROD_FIND:
        if (code == EN_CHANGE) SetDlgItemTextA(dialog, IDT_PROD_FIND_RESULT, "");
        return;
    }
}

static void OnNotify(HWND dialog, const NMHDR *header)
{
    if (header->idFrom != IDL_STOCK_LIST) return;
    if (header->code == LVN_COLUMNCLICK)
        QlProdSortList(dialog, IDL_STOCK_LIST, (const NMLISTVIEW *)header);
    else if (header->code == NM_CLICK)
        StockListSelect(dialog);
}

static INT_PTR StockCtlColor(HWND dialog, UINT msg, HDC dc, HWND control)
{
    if (msg == WM_CTLCOLOREDIT && control == GetDlgItem(dialog, IDE_STOCK_BARCODE))
        SetTextColor(dc, QL_COLOUR_WARNING);
    else if (msg == WM_CTLCOLORSTATIC && control == GetDlgItem(dialog, IDT_STOCK_DETAILS))
        SetTextColor(dc, RGB(0, 0, 0));
    else
        return FALSE;
    SetBkColor(dc, RGB(255, 255, 255));
    return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
}

static INT_PTR StockDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam, int outOnInit)
{
    int out = (int)GetWindowLongPtrA(dialog, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog, outOnInit);
    case WM_COMMAND: OnCommand(dialog, out, LOWORD(wParam), HIWORD(wParam), (HWND)lParam); return TRUE;
    case WM_NOTIFY: OnNotify(dialog, (const NMHDR *)lParam); return FALSE;
    case QL_WM_ENTER_KEY: StockFindBarcode(dialog); return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: return StockCtlColor(dialog, msg, (HDC)wParam, (HWND)lParam);
    case WM_DESTROY:
        QlEditEnterDetach(GetDlgItem(dialog, IDE_STOCK_BARCODE));
        if (sToolbar) QlToolbarDestroy(sToolbar, sToolbarTable, 2);
        sToolbar = NULL;
        sList = NULL;
        return FALSE;
    }
    return FALSE;
}

INT_PTR CALLBACK QlStockInDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return StockDlgProc(dialog, msg, wParam, lParam, 0);
}

INT_PTR CALLBACK QlStockOutDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return StockDlgProc(dialog, msg, wParam, lParam, 1);
}

// ---------------------------------------------------------------------------
// The products window's commands

static void RunStockDialog(HWND window, DLGPROC procedure)
{
    if (SendDlgItemMessageA(window, IDL_PROD_LIST, LVM_GETITEMCOUNT, 0, 0) <= 0) return;
    DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_STOCK), window, procedure, 0);
    if (!QlProdState.stock_changed) return;
    QlProdState.stock_changed = 0;
    QlProdListLoad();
}

void QlStockInCmd(HWND window)
{
    RunStockDialog(window, QlStockInDlgProc);
}

void QlStockOutCmd(HWND window)
{
    RunStockDialog(window, QlStockOutDlgProc);
}
