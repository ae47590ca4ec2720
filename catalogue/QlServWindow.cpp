// The services window (dialog 173, the products window's template): every
// enabled service in list 1137 and the tool bar along the bottom.
//
// The services are read into memory when the window opens, in row-id order,
// and the list view (LVS_OWNERDATA) asks for the cells it draws.  A click on
// a column orders them by it, always ascending (descriptions by strcmp,
// prices by their cents, row ids as numbers); the service dialogs and Delete
// change single rows and leave the order alone, so a new service stands last
// until the next sort.

#include "catalogue/QlCatalogueLists.h"
#include "catalogue/QlCatalogueOpen.h"
#include "catalogue/QlCatalogueTables.h"
#include "catalogue/QlCatTexts.h"
#include "catalogue/QlPriceList.h"
#include "catalogue/QlServices.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlListView.h"
#include "core/QlPlatform.h"
#include "ui/QlToolbar.h"
#include "ui/QlWindow.h"
#include "datastore/QlDb.h"
#include "docmodel/QlReadError.h"
#include "resources/QlResCatalogue.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

QlServWindowState QlServState;

#define HEADING_COLOUR RGB(128, 0, 0)
#define LIST_GAP 5

// The products window's find row, which this window does not use.
static const int kProductsOnly[] = {IDC_PROD_FIND_KIND, IDT_PROD_FIND_RESULT, IDB_PROD_FIND, IDE_PROD_FIND};

static HWND sList;

// The listed services, in the order shown.
static QlServRec *sRows;
static int sRowCount, sRowCapacity;

enum { COL_CODE, COL_DESCR, COL_PRICE };

static void FreeRows(void)
{
    free(sRows);
    sRows = NULL;
    sRowCount = sRowCapacity = 0;
}

static void ShowRows(void)
{
    SendMessageA(sList, LVM_SETITEMCOUNT, sRowCount, 0);
    InvalidateRect(sList, NULL, TRUE);
}

int QlServListRowCb(const QlServRec *rec)
{
    if (!sList) return 0;
    if (sRowCount == sRowCapacity) {
        int capacity = sRowCapacity ? sRowCapacity * 2 : 64;
        QlServRec *rows = (QlServRec *)realloc(sRows, (size_t)capacity * sizeof *rows);
        if (!rows) return 0;
        sRows = rows;
        sRowCapacity = capacity;
    }
    sRows[sRowCount++] = *rec;
    return 0;
}

static void LoadList(void)
{
    if (!sList) return;
    FreeRows();
    QlServRec *records;
    int count;
    char err[QL_DB_ERR_SIZE];
    int ok = QlServReadAll(&records, &count, err);
    if (ok) {
        sRows = records;
        sRowCount = sRowCapacity = count;
    }
    ShowRows();
    if (!ok) QlShowReadError(GetParent(sList), err);
}

// The focused row no longer focused: the rows under it change.
static void ClearFocus(void)
{
    int row = (int)SendMessageA(sList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED);
    if (row < 0) return;
    LVITEMA none = {};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(sList, LVM_SETITEMSTATE, row, (LPARAM)&none);
}

static void SortBy(int column)
{
    ClearFocus();
    QlServSortRecords(sRows, sRowCount, column);
    InvalidateRect(sList, NULL, TRUE);
}

int QlServWindowAppend(const QlServRec *rec)
{
    int before = sRowCount;
    QlServListRowCb(rec);
    if (sRowCount == before) return -1;
    ShowRows();
    return sRowCount - 1;
}

void QlServWindowUpdate(int row, const QlServRec *rec)
{
    if (!sList || row < 0 || row >= sRowCount) return;
    sRows[row] = *rec;
    InvalidateRect(sList, NULL, TRUE);
}

void QlServWindowRemove(int row)
{
    if (!sList || row < 0 || row >= sRowCount) return;
    ClearFocus();
    memmove(sRows + row, sRows + row + 1, (size_t)(sRowCount - row - 1) * sizeof *sRows);
    sRowCount--;
    ShowRows();
}

static void OnGetDispInfo(NMLVDISPINFOA *info)
{
    if (!(info->item.mask & LVIF_TEXT) || !info->item.pszText || info->item.cchTextMax <= 0) return;
    char *out = info->item.pszText;
    int size = info->item.cchTextMax;
    int row = info->item.iItem;
    out[0] = '\0';
    if (row < 0 || row >= sRowCount) return;
    const QlServRec *rec = &sRows[row];
    switch (info->item.iSubItem) {
    case COL_CODE: snprintf(out, size, QL_I64, rec->iKey); return;
    case COL_DESCR: snprintf(out, size, "%s", rec->descr); return;
    case COL_PRICE: snprintf(out, size, "%d.%02d", rec->price_units, (int)rec->price_hundredths); return;
    }
}

// The codes (row ids), for finds of the list.
static const char *CodeText(int row)
{
    static char text[24];
    if (row < 0 || row >= sRowCount) return NULL;
    snprintf(text, sizeof text, QL_I64, sRows[row].iKey);
    return text;
}

// ---------------------------------------------------------------------------
// Layout

static int ToolbarHeight(void)
{
    int height = 0;
    if (QlServState.toolbar) QlUiGetRectInParent(QlServState.toolbar, NULL, &height, NULL, NULL);
    return height;
}

void QlServLayout(HWND window, HWND titleLabel)
{
    QlUiFillBelowToolbar(window);
    if (titleLabel) QlUiStretchRight(titleLabel, 0);
    QlUiStretchItemRight(window, IDL_PROD_LIST, 0);
    RECT client;
    GetClientRect(window, &client);
    int barHeight = ToolbarHeight();
    if (QlServState.toolbar) {
        int barWidth = 0;
        QlUiGetRectInParent(QlServState.toolbar, &barWidth, NULL, NULL, NULL);
        MoveWindow(QlServState.toolbar, 0, client.bottom - barHeight, barWidth, barHeight, TRUE);
        QlUiStretchRight(QlServState.toolbar, 0);
    }
    QlUiStretchItemDown(window, IDL_PROD_LIST, barHeight + LIST_GAP);
    QlListResizeColumns(window, &QlServListColumnTable);
}

// ---------------------------------------------------------------------------
// Start and messages

static BOOL OnInitDialog(HWND window)
{
    QlServState.window = window;
    sList = GetDlgItem(window, IDL_PROD_LIST);
    QlUiFitPane(window);

    HWND title = QlUiCreateStatic(QlUiInstance(), window, 0, 0, 650, 20, SS_CENTERIMAGE, 1);
    QlServState.title_label = title;
    QlUiSetText(title, QlCatText()->ServHeading);
    if (QlFontBold12) SendMessageA(title, WM_SETFONT, (WPARAM)QlFontBold12, FALSE);
    QlUiStretchRight(title, 0);

    for (int id : kProductsOnly) DestroyWindow(GetDlgItem(window, id));

    QlServState.toolbar = QlToolbarCreate(QlUiInstance(), window, QlServToolbarTable, QL_SERV_TOOLBAR_COUNT, 1, 0);
    QlUiStretchItemDown(window, IDL_PROD_LIST, ToolbarHeight() + LIST_GAP);
    QlUiStretchItemRight(window, IDL_PROD_LIST, 0);

    QlListSetupFromTable(window, &QlServListColumnTable);
    if (QlMainWnd && IsZoomed(QlMainWnd)) QlServLayout(window, title);
    LoadList();
    return TRUE;
}

static void OnToolbarCommand(HWND window, int id)
{
    switch (id) {
    case 0: QlServAddCmd(window); return;
    case 1: QlServEditCmd(window); return;
    case 2: QlServDelete(window); return;
    case 3: QlServPrintPriceList(window); return;
    case 4: QlServExportCsv(window); return;
    case 5: QlUiClosePane(window); return;
    }
}

static void OnCommand(HWND window, int id, HWND control)
{
    // Only the tool bar's own commands count: Enter and Escape would bring
    // the dialog manager's IDOK and IDCANCEL, which share their ids with Edit
    // and Delete.
    if (control && control == QlServState.toolbar) OnToolbarCommand(window, id);
}

static INT_PTR OnNotify(HWND window, const NMHDR *header)
{
    if (header->idFrom != IDL_PROD_LIST) return FALSE;
    switch (header->code) {
    case LVN_GETDISPINFOA: OnGetDispInfo((NMLVDISPINFOA *)header); return FALSE;
    case LVN_ODFINDITEMA:
    case LVN_ODFINDITEMW: SetWindowLongPtrA(window, DWLP_MSGRESULT, QlListOwnerDataFind(header, sRowCount, CodeText)); return TRUE;
    case LVN_COLUMNCLICK: SortBy(((const NMLISTVIEW *)header)->iSubItem); return FALSE;
    case NM_DBLCLK: QlServEditCmd(window); return FALSE;
    }
    return FALSE;
}

static INT_PTR OnCtlColorStatic(HDC dc, HWND control)
{
    if (!control || control != QlServState.title_label) return FALSE;
    SetTextColor(dc, HEADING_COLOUR);
    SetBkMode(dc, TRANSPARENT);
    return (INT_PTR)(QlBrushModuleBack ? QlBrushModuleBack : GetSysColorBrush(COLOR_BTNFACE));
}

static void OnDestroy(HWND window)
{
    if (QlModuleWnd == window) QlModuleWnd = NULL;
    if (QlServState.window != window) return;
    if (QlServState.toolbar) QlToolbarDestroy(QlServState.toolbar, QlServToolbarTable, QL_SERV_TOOLBAR_COUNT);
    QlServState.toolbar = NULL;
    QlServState.title_label = NULL;
    QlServState.window = NULL;
    sList = NULL;
    FreeRows();
}

INT_PTR CALLBACK QlServDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(window);
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), (HWND)lParam); return FALSE;
    case WM_NOTIFY: return OnNotify(window, (const NMHDR *)lParam);
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic((HDC)wParam, (HWND)lParam);
    case QL_WM_MAIN_MAXIMIZED: QlServLayout(window, QlServState.title_label); return TRUE;
    case QL_WM_MAIN_RESTORED: QlServOpenWindow(GetParent(window)); return TRUE;
    case WM_CLOSE: return TRUE;   // not a command: the dialog manager would make it IDCANCEL (Delete)
    case WM_DESTROY: OnDestroy(window); return TRUE;
    }
    return FALSE;
}

HWND QlServOpenWindow(HWND parent)
{
    QlUiDestroyModule();
    HWND window = QlUiCreateModeless(QlUiInstance(), parent, QlServDlgProc, IDD_PROD_WINDOW);
    if (!window) return NULL;
    QlModuleWnd = window;
    return window;
}
