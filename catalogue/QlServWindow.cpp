// The services window (dialog 173, the products window's template): every
// enabled service in list 1137 and the tool bar along the bottom.
//
// The list is loaded in row-id order when the window opens and again in the
// order of a clicked column (always ascending, as the table compares the
// column); the service dialogs and Delete change single rows and leave the
// order alone, so a new service stands last until the next load.

#include "catalogue/QlCatalogueLists.h"
#include "catalogue/QlCatalogueOpen.h"
#include "catalogue/QlCatalogueTables.h"
#include "catalogue/QlCatTexts.h"
#include "catalogue/QlPriceList.h"
#include "catalogue/QlServices.h"

#include "common/QlAppState.h"
#include "common/QlLayout.h"
#include "common/QlListView.h"
#include "common/QlToolbar.h"
#include "common/QlWindow.h"
#include "resources/QlResCatalogue.h"

#include <string.h>

QlServWindowState QlServState;

#define HEADING_COLOUR RGB(128, 0, 0)
#define LIST_GAP 5

// The products window's find row, which this window does not use.
static const int kProductsOnly[] = {IDC_PROD_FIND_KIND, IDT_PROD_FIND_RESULT, IDB_PROD_FIND, IDE_PROD_FIND};

static HWND sList;

int QlServListRowCb(const QlServRec *rec)
{
    if (sList) QlServListAddRow(rec, sList);
    return 0;
}

static void LoadList(int order)
{
    if (!sList) return;
    SendMessageA(sList, WM_SETREDRAW, FALSE, 0);
    QlServListLoad(order, sList, QlServListRowCb);
    SendMessageA(sList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(sList, NULL, TRUE);
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
    LoadList(0);
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

static void OnNotify(HWND window, const NMHDR *header)
{
    if (header->idFrom != IDL_PROD_LIST) return;
    if (header->code == LVN_COLUMNCLICK)
        LoadList(((const NMLISTVIEW *)header)->iSubItem);
    else if (header->code == NM_DBLCLK)
        QlServEditCmd(window);
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
}

INT_PTR CALLBACK QlServDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(window);
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), (HWND)lParam); return FALSE;
    case WM_NOTIFY: OnNotify(window, (const NMHDR *)lParam); return FALSE;
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
