// The products window (dialog 173): every enabled product in list 1137, the
// find row under it and the tool bar along the bottom.
//
// The products live in memory, as the copies in prod_list; the list view
// (LVS_OWNERDATA) asks for the cells it draws (LVN_GETDISPINFO) and shows
// the copies through an order of its own, which a sort rearranges.

#include "catalogue/QlCatalogueLists.h"
#include "catalogue/QlCatalogueOpen.h"
#include "catalogue/QlCatalogueTables.h"
#include "catalogue/QlCatTexts.h"
#include "catalogue/QlProducts.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlListView.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlOpeners.h"
#include "docmodel/QlReadError.h"
#include "resources/QlResCatalogue.h"
#include "settings/QlSettings.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

QlProdWindowState QlProdState;

#define HEADING_COLOUR RGB(128, 0, 0)
#define LIST_RIGHT_MARGIN 9
#define FIND_GAP 5

enum { COL_CODE, COL_SUPPLIER_CODE, COL_DETAILS, COL_COST, COL_PRICE, COL_STOCK, COL_ROW_ID, COL_BARCODE };

// The find row, moved as one along the tool bar's top.
static const int kFindRow[] = {IDC_PROD_FIND_KIND, IDE_PROD_FIND, IDB_PROD_FIND, IDT_PROD_FIND_RESULT};

static HWND sToolbar;
static HWND sHeading;
static HWND sList;

// The list's rows: the copy each shows, and its place before a sort (so
// that equal ones keep their order).
struct ProdRow {
    const QlProdRec *rec;
    int32_t place;
};
static ProdRow *sRows;
static int sRowCount, sRowCapacity;

// ---------------------------------------------------------------------------
// The in-memory products

QlDListNodeRec *QlProdMemFind(int64_t key)
{
    for (QlDListNodeRec *node = QlProdState.prod_list.first; node; node = node->next)
        if (node->length >= (int)sizeof(QlProdRec) && ((const QlProdRec *)node->data)->iKey == key) return node;
    return NULL;
}

int QlProdMemHasBarcode(const char *text, int n)
{
    for (QlDListNodeRec *node = QlProdState.prod_list.first; node; node = node->next)
        if (node->length >= (int)sizeof(QlProdRec) && strncmp(((const QlProdRec *)node->data)->barcode, text, n) == 0)
            return 1;
    return 0;
}

// ---------------------------------------------------------------------------
// The list

static int AppendRow(const QlProdRec *rec)
{
    if (sRowCount == sRowCapacity) {
        int capacity = sRowCapacity ? sRowCapacity * 2 : 1024;
        ProdRow *rows = (ProdRow *)realloc(sRows, (size_t)capacity * sizeof *rows);
        if (!rows) return -1;
        sRows = rows;
        sRowCapacity = capacity;
    }
    sRows[sRowCount].rec = rec;
    sRows[sRowCount].place = sRowCount;
    return sRowCount++;
}

static void FreeRows(void)
{
    free(sRows);
    sRows = NULL;
    sRowCount = sRowCapacity = 0;
}

static int ListRowCb(const QlProdRec *rec)
{
    QlDListNodeRec *node = QlDListAppendCopy(&QlProdState.prod_list, rec, (int)sizeof *rec);
    if (node) AppendRow((const QlProdRec *)node->data);
    return 0;
}

// The list's row count, every row drawn again.
static void ShowRows(void)
{
    SendMessageA(sList, LVM_SETITEMCOUNT, sRowCount, 0);
    InvalidateRect(sList, NULL, TRUE);
}

int QlProdListLoad(void)
{
    FreeRows();
    QlDListFree(&QlProdState.prod_list);
    QlDListInit(&QlProdState.prod_list);
    if (!sList) return 0;
    SendMessageA(sList, LVM_SETITEMCOUNT, 0, 0);
    char err[QL_DB_ERR_SIZE];
    int ok = QlProdEnum(ListRowCb, err);
    ShowRows();
    if (ok && sRowCount > 0) QlListShowRow(sList, 0);
    if (!ok) QlShowReadError(GetParent(sList), err);
    return ok;
}

void QlProdListAppend(const QlProdRec *rec)
{
    QlDListNodeRec *node = QlDListAppendCopy(&QlProdState.prod_list, rec, (int)sizeof *rec);
    if (!node || !sList) return;
    int row = AppendRow((const QlProdRec *)node->data);
    ShowRows();
    if (row >= 0) QlListShowRow(sList, row);
}

void QlProdListChanged(void)
{
    if (sList) InvalidateRect(sList, NULL, TRUE);
}

// The cells of a row, as the product lists write them.
static void CellText(const QlProdRec *rec, int column, char *out, int size)
{
    switch (column) {
    case COL_CODE: snprintf(out, size, "%s", rec->scode); return;
    case COL_SUPPLIER_CODE: snprintf(out, size, "%s", rec->supplier_code); return;
    case COL_DETAILS: snprintf(out, size, "%s", rec->name); return;
    case COL_COST: snprintf(out, size, "%d.%02d", rec->purchase_price_units, (int)rec->purchase_price_hundredths); return;
    case COL_PRICE: snprintf(out, size, "%d.%02d", rec->unit_price_units, (int)rec->unit_price_hundredths); return;
    case COL_STOCK: snprintf(out, size, "%d", rec->stock_qty); return;
    case COL_ROW_ID: snprintf(out, size, QL_I64, rec->iKey); return;
    case COL_BARCODE: snprintf(out, size, "%s", rec->barcode); return;
    default: out[0] = '\0'; return;
    }
}

static void OnGetDispInfo(NMLVDISPINFOA *info)
{
    if (!(info->item.mask & LVIF_TEXT) || !info->item.pszText || info->item.cchTextMax <= 0) return;
    int row = info->item.iItem;
    if (row >= 0 && row < sRowCount)
        CellText(sRows[row].rec, info->item.iSubItem, info->item.pszText, info->item.cchTextMax);
    else
        info->item.pszText[0] = '\0';
}

// The codes, for finds of the list (the code find, typing in the list).
static const char *CodeText(int row)
{
    return row >= 0 && row < sRowCount ? sRows[row].rec->scode : NULL;
}

static int sSortColumn;

static int CompareRows(const void *left, const void *right)
{
    const ProdRow *a = (const ProdRow *)left, *b = (const ProdRow *)right;
    int order = QlProdCompare(a->rec, b->rec, sSortColumn);
    return order ? order : (a->place > b->place) - (a->place < b->place);
}

// A header click: the column's direction flipped, the rows ordered by the
// stored values, the focused product still focused.
static void SortByColumn(const NMLISTVIEW *click)
{
    int column = click->iSubItem;
    if (column < 0 || column >= QL_PROD_SORT_COLUMNS) return;
    QlProdSortFlags[column] = QlProdSortFlags[column] == 0 ? 1 : 0;
    int focused = (int)SendMessageA(sList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED);
    const QlProdRec *kept = focused >= 0 && focused < sRowCount ? sRows[focused].rec : NULL;
    for (int i = 0; i < sRowCount; i++) sRows[i].place = i;
    sSortColumn = column;
    if (sRowCount > 1) qsort(sRows, (size_t)sRowCount, sizeof *sRows, CompareRows);
    if (kept) {
        LVITEMA none = {};
        none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(sList, LVM_SETITEMSTATE, focused, (LPARAM)&none);
        for (int row = 0; row < sRowCount; row++) {
            if (sRows[row].rec == kept) {
                QlListShowRow(sList, row);
                break;
            }
        }
    }
    InvalidateRect(sList, NULL, TRUE);
}

// The row of the product with the key, -1 when none is listed.
static int RowOfKey(int64_t key)
{
    for (int row = 0; row < sRowCount; row++)
        if (sRows[row].rec->iKey == key) return row;
    return -1;
}

void QlProdFindRowSetup(HWND dialog, int findButtonId)
{
    const QlCatTextRec *text = QlCatText();
    HWND kind = GetDlgItem(dialog, IDC_PROD_FIND_KIND);
    for (int i = 0; i < 3; i++) SendMessageA(kind, CB_ADDSTRING, 0, (LPARAM)text->FindKinds[i]);
    SendMessageA(kind, CB_SETCURSEL, 0, 0);
    SetDlgItemTextA(dialog, findButtonId, text->Find);
    SendDlgItemMessageA(dialog, IDE_PROD_FIND, EM_LIMITTEXT, 79, 0);
}

int QlProdFindRowRun(HWND dialog, HWND list)
{
    int row;
    if (!QlItemFindProduct(dialog, list, &row)) {
        SetDlgItemTextA(dialog, IDT_PROD_FIND_RESULT, QlCatText()->NotFound);
        return 0;
    }
    QlListShowRow(list, row);
    SetDlgItemTextA(dialog, IDT_PROD_FIND_RESULT, "");
    return 1;
}

// ---------------------------------------------------------------------------
// Commands

static int SelectedRow(HWND list, int flag)
{
    return (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, flag);
}

void QlProdNewCmd(HWND window)
{
    DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_PROD_NEW), window, QlProdNewDlgProc, 0);
}

void QlProdEditCmd(HWND window)
{
    int row = SelectedRow(GetDlgItem(window, IDL_PROD_LIST), LVNI_SELECTED);
    if (row < 0) return;
    QlProdState.edit_row = row;
    DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_PROD_EDIT), window, QlProdEditDlgProc, 0);
}

void QlProdDelete(HWND window)
{
    const QlCatTextRec *text = QlCatText();
    HWND list = GetDlgItem(window, IDL_PROD_LIST);
    int row = SelectedRow(list, LVNI_FOCUSED);
    if (row < 0) return;
    QlProdState.edit_row = row;
    char code[41], key[65];
    QlListGetCell(list, row, COL_CODE, code, sizeof code);
    QlListGetCell(list, row, COL_ROW_ID, key, sizeof key);
    int64_t rowId = QlAtoI64(key);

    // A failed look-up is no proof that no document uses the product.
    char err[QL_DB_ERR_SIZE] = "";
    QlItemRec line;
    if (QlItemFind("prod_rowid", rowId, &line, err)) {
        QlMsgBox(window, text->CannotDelete, text->HasTransactions, QL_COLOUR_WARNING);
        return;
    }
    if (err[0]) {
        QlMsgBox(window, text->DeleteFailed, err, QL_COLOUR_WARNING);
        return;
    }
    char question[160];
    snprintf(question, sizeof question, text->DeleteQuestion, code);
    if (!QlMsgAskOkCancel(window, text->DeleteCaption, question, QL_COLOUR_WARNING)) return;
    if (!QlProdDisable(rowId, err)) {
        QlMsgBox(window, text->DeleteFailed, err, QL_COLOUR_WARNING);
        return;
    }
    // The row goes first: it shows the copy that goes with it.
    int listed = RowOfKey(rowId);
    if (listed >= 0) {
        memmove(sRows + listed, sRows + listed + 1, (size_t)(sRowCount - listed - 1) * sizeof *sRows);
        sRowCount--;
        LVITEMA none = {};
        none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&none);
        ShowRows();
    }
    QlDListNodeRec *node = QlProdMemFind(rowId);
    if (node) QlDListRemove(&QlProdState.prod_list, node);
}

static void OnToolbarCommand(HWND window, int id)
{
    switch (id) {
    case 0: QlProdNewCmd(window); return;
    case 1: QlProdEditCmd(window); return;
    case 2: QlProdDelete(window); return;
    case 3: QlStockInCmd(window); return;
    case 4: QlStockOutCmd(window); return;
    case 5: QlProdPrintPriceList(window); return;
    case 6:
        if (QlModuleOpeners.exportProducts) QlModuleOpeners.exportProducts(window);
        return;
    case 7: QlUiClosePane(window); return;
    }
}

static void OnCommand(HWND window, int id, int code, HWND control)
{
    // The tool bar's commands 0 to 7 share their ids with the dialog
    // manager's IDOK and IDCANCEL: only the tool bar's own count.
    if (control && control == sToolbar) {
        OnToolbarCommand(window, id);
        return;
    }
    if (id == IDB_PROD_FIND)
        QlProdFindRowRun(window, GetDlgItem(window, IDL_PROD_LIST));
    else if (id == IDE_PROD_FIND && code == EN_CHANGE)
        SetDlgItemTextA(window, IDT_PROD_FIND_RESULT, "");
}

static INT_PTR OnNotify(HWND window, const NMHDR *header)
{
    if (header->idFrom != IDL_PROD_LIST) return FALSE;
    switch (header->code) {
    case LVN_GETDISPINFOA: OnGetDispInfo((NMLVDISPINFOA *)header); return FALSE;
    case LVN_ODFINDITEMA:
    case LVN_ODFINDITEMW: SetWindowLongPtrA(window, DWLP_MSGRESULT, QlListOwnerDataFind(header, sRowCount, CodeText)); return TRUE;
    case LVN_COLUMNCLICK: SortByColumn((const NMLISTVIEW *)header); return FALSE;
    case NM_DBLCLK: QlProdEditCmd(window); return FALSE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Layout

static int ItemHeight(HWND window, int id)
{
    int height = 0;
    QlUiGetRectInParent(GetDlgItem(window, id), NULL, &height, NULL, NULL);
    return height;
}

static void SetListBottom(HWND window, int bottom)
{
    HWND list = GetDlgItem(window, IDL_PROD_LIST);
    int left, top, width, height;
    QlUiGetRectInParent(list, &width, &height, &top, &left);
    MoveWindow(list, left, top, width, bottom > top ? bottom - top : 0, TRUE);
}

// The find row's bottoms FIND_GAP above the tool bar's top; the top of the
// find row.
static int PlaceFindRow(HWND window, int barTop)
{
    int rowTop = barTop;
    for (int id : kFindRow) {
        int top = barTop - FIND_GAP - ItemHeight(window, id);
        int left = 0;
        QlUiGetRectInParent(GetDlgItem(window, id), NULL, NULL, NULL, &left);
        QlUiMoveItem(window, id, left, top);
        if (top < rowTop) rowTop = top;
    }
    return rowTop;
}

static int ToolbarHeight(void)
{
    int height = 0;
    if (sToolbar) QlUiGetRectInParent(sToolbar, NULL, &height, NULL, NULL);
    return height;
}

// Where the tool bar begins: it places itself along the bottom.
static int ToolbarTop(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    int top = client.bottom;
    if (sToolbar) QlUiGetRectInParent(sToolbar, NULL, NULL, &top, NULL);
    return top;
}

void QlProdLayout(HWND window)
{
    QlUiFillBelowToolbar(window);
    if (sHeading) QlUiStretchRight(sHeading, 0);
    QlUiStretchItemRight(window, IDL_PROD_LIST, LIST_RIGHT_MARGIN);
    RECT client;
    GetClientRect(window, &client);
    int barHeight = ToolbarHeight();
    if (sToolbar) {
        int barWidth = 0;
        QlUiGetRectInParent(sToolbar, &barWidth, NULL, NULL, NULL);
        MoveWindow(sToolbar, 0, client.bottom - barHeight, barWidth, barHeight, TRUE);
        QlUiStretchRight(sToolbar, 0);
    }
    PlaceFindRow(window, ToolbarTop(window));
    int comboTop = 0;
    QlUiGetRectInParent(GetDlgItem(window, IDC_PROD_FIND_KIND), NULL, NULL, &comboTop, NULL);
    SetListBottom(window, comboTop - 10);
    QlListResizeColumns(window, &QlProdListColumnTable);
}

// ---------------------------------------------------------------------------
// Start and messages

static BOOL OnInitDialog(HWND window)
{
    const QlCatTextRec *text = QlCatText();
    QlProdState.window = window;
    sList = GetDlgItem(window, IDL_PROD_LIST);
    QlUiFitPane(window);

    sHeading = QlUiCreateStatic(QlUiInstance(), window, 0, 0, 650, 20, 0, 1);
    if (QlFontBold12) SendMessageA(sHeading, WM_SETFONT, (WPARAM)QlFontBold12, FALSE);
    QlUiSetText(sHeading, text->Heading);
    QlUiStretchRight(sHeading, 0);
    QlUiStretchItemRight(window, IDL_PROD_LIST, LIST_RIGHT_MARGIN);

    sToolbar = QlToolbarCreate(QlUiInstance(), window, QlProdToolbarTable, QL_PROD_TOOLBAR_COUNT, 1, 0);
    if (!sToolbar) return FALSE;
    RECT client;
    GetClientRect(window, &client);
    PlaceFindRow(window, ToolbarTop(window));
    SetListBottom(window, client.bottom - (ToolbarHeight() + ItemHeight(window, IDE_PROD_FIND) + 10));

    QlProdFindRowSetup(window, IDB_PROD_FIND);

    QlListSetupFromTable(window, &QlProdListColumnTable);
    QlProdListLoad();

    memset(QlProdSortFlags, 0, sizeof QlProdSortFlags);
    QlSettings.cfg.scanSounds = 1;
    if (QlMainWnd && IsZoomed(QlMainWnd)) QlProdLayout(window);
    return TRUE;
}

static INT_PTR OnCtlColorStatic(HDC dc, HWND control)
{
    if (!control || control != sHeading) return FALSE;
    SetTextColor(dc, HEADING_COLOUR);
    SetBkMode(dc, TRANSPARENT);
    return (INT_PTR)(QlBrushModuleBack ? QlBrushModuleBack : GetSysColorBrush(COLOR_BTNFACE));
}

static void OnDestroy(HWND window)
{
    if (QlModuleWnd == window) QlModuleWnd = NULL;
    if (QlProdState.window != window) return;
    QlToolbarDestroy(sToolbar, QlProdToolbarTable, QL_PROD_TOOLBAR_COUNT);
    sToolbar = NULL;
    sHeading = NULL;
    sList = NULL;
    QlProdState.window = NULL;
    FreeRows();
}

INT_PTR CALLBACK QlProdDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(window);
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), HIWORD(wParam), (HWND)lParam); return TRUE;
    case WM_NOTIFY: return OnNotify(window, (const NMHDR *)lParam);
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic((HDC)wParam, (HWND)lParam);
    case QL_WM_MAIN_MAXIMIZED: QlProdLayout(window); return TRUE;
    case QL_WM_MAIN_RESTORED: QlProdOpenWindow(GetParent(window)); return TRUE;
    case WM_CLOSE: return TRUE;   // not a command: the dialog manager would make it IDCANCEL (Delete)
    case WM_DESTROY: OnDestroy(window); return TRUE;
    }
    return FALSE;
}

HWND QlProdOpenWindow(HWND parent)
{
    QlUiDestroyModule();
    HWND window = QlUiCreateModeless(QlUiInstance(), parent, QlProdDlgProc, IDD_PROD_WINDOW);
    if (!window) return NULL;
    QlModuleWnd = window;
    return window;
}
