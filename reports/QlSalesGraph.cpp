// The sales statistics window (dialog 224) in the module slot: the months
// list with each month's invoiced sales, the year's total, the customers
// list (all customers first), the year combo and the graph panel, which
// paints twelve bars or a line scaled to the best month.
//
// The figures, the year and the customer they are for and the drawing mode
// live in QlSalesState and outlive the window; every new window starts on
// all customers, the current year and bars.

#include "reports/QlSalesGraph.h"

#include "reports/QlReportsOpen.h"
#include "reports/QlSalesGraphTexts.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlListView.h"
#include "ui/QlMoneyControls.h"
#include "core/QlPlatform.h"
#include "print/QlPrint.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlTransSums.h"
#include "docmodel/QlReadError.h"
#include "resources/QlResSalesGraph.h"
#include "settings/QlLangTables.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

QlSalesStateRec QlSalesState = {{0}, {0}, {0}, "", 1, "", NULL, NULL};

#define HEADING_COLOUR RGB(128, 0, 0)
#define BUTTON_RIGHT_GAP 3
#define MONTH_LABEL_GAP 12
#define MONTH_LABEL_SHIFT 22
#define TICK_LENGTH 10
#define BAR_LEFT 2
#define BAR_RIGHT 17
// The graph's right edge stands this far left of the window's visible right
// edge, so that December's label, which begins 22 pixels left of the panel's
// last eleventh, is not cut off.
#define GRAPH_RIGHT_MARGIN 20
#define LABEL_ABOVE_BUTTONS 2

static const char kPrevProc[] = "PREVWNDPROC";

// The customers list: the company name, and the row id beyond the visible width.
static QlListColumnTable sCustomerColumns = {IDL_SALES_CUSTOMERS, NULL, 2, {{100, 0, "Customer"}, {40, 0, "Row Id"}}};
// The list the customers row function fills.
static HWND sCustomerList;

static const char *const kAllQuery = "select * from trans where enabled='yes' and type='1'";

// ---------------------------------------------------------------------------
// Lists

// The customers list is owner-data: its rows are kept here and it asks for
// the cells it draws (LVN_GETDISPINFO).  Key 0 is "all customers".
struct SalesCustomer {
    int64_t key;
    char company[sizeof QlCustRec::company];
};
static SalesCustomer *sCustomers;
static int sCustomerCount, sCustomerCapacity;

static void FreeCustomers(void)
{
    free(sCustomers);
    sCustomers = NULL;
    sCustomerCount = sCustomerCapacity = 0;
}

void QlSalesListAddRow(HWND list, const QlCustRec *customer, int all)
{
    if (!all && !customer) return;
    if (sCustomerCount == sCustomerCapacity) {
        int capacity = sCustomerCapacity ? sCustomerCapacity * 2 : 256;
        SalesCustomer *grown = (SalesCustomer *)realloc(sCustomers, (size_t)capacity * sizeof *grown);
        if (!grown) return;
        sCustomers = grown;
        sCustomerCapacity = capacity;
    }
    SalesCustomer *row = &sCustomers[sCustomerCount++];
    row->key = all ? 0 : customer->iKey;
    const char *name = all ? QlSalesText()->AllCustomers : customer->company;
    size_t width = all ? strlen(name) : strnlen(customer->company, sizeof customer->company);
    snprintf(row->company, sizeof row->company, "%.*s", (int)width, name);
    // Outside the fill the row shows at once; the fill shows them all at its end.
    if (list != sCustomerList) SendMessageA(list, LVM_SETITEMCOUNT, sCustomerCount, LVSICF_NOSCROLL);
}

static void CustomerCell(NMLVDISPINFOA *info)
{
    LVITEMA *item = &info->item;
    if (!(item->mask & LVIF_TEXT) || !item->pszText || item->cchTextMax <= 0) return;
    item->pszText[0] = '\0';
    if (item->iItem < 0 || item->iItem >= sCustomerCount) return;
    const SalesCustomer *row = &sCustomers[item->iItem];
    if (item->iSubItem == 0)
        snprintf(item->pszText, (size_t)item->cchTextMax, "%s", row->company);
    else if (item->iSubItem == 1)
        snprintf(item->pszText, (size_t)item->cchTextMax, QL_I64, row->key);
}

int QlSalesCustRowCb(const QlCustRec *customer)
{
    if (sCustomerList) QlSalesListAddRow(sCustomerList, customer, 0);
    return 0;
}

void QlSalesMonthRow(HWND list, const char *text)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    item.pszText = (char *)text;
    SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
}

// ---------------------------------------------------------------------------
// The figures

int QlSalesMonthRowCb(const QlTransRec *rec)
{
    const char *first = strchr(rec->date, '/');
    if (!first) return 0;
    const char *second = strchr(first + 1, '/');
    if (!second) return 0;
    if (strcmp(second + 1, QlSalesState.year) != 0) return 0;
    int month = atoi(first + 1);
    if (month < 1 || month > QL_SALES_MONTHS) return 0;
    QlTransAddGross(rec, &QlSalesState.units[month - 1], &QlSalesState.hundredths[month - 1]);
    return 0;
}

static void SetCents(HWND window, int id, int64_t cents)
{
    char text[32];
    QlMoneyFormatCents(cents, text, sizeof text);
    SetDlgItemTextA(window, id, text);
}

int QlSalesMonthlyTotals(HWND window, const QlCustRec *customer, const char *year, int all)
{
    QlSalesStateRec &s = QlSalesState;
    lstrcpynA(s.year, year ? year : "", sizeof s.year);
    lstrcpynA(s.customer, all || !customer ? QlSalesText()->AllCustomers : customer->company, sizeof s.customer);
    s.cents[QL_SALES_MONTHS] = 0;
    HWND months = GetDlgItem(window, IDL_SALES_MONTHS);
    SendMessageA(months, LVM_DELETEALLITEMS, 0, 0);
    memset(s.units, 0, sizeof s.units);
    memset(s.hundredths, 0, sizeof s.hundredths);
    for (int i = 0; i < QL_SALES_MONTHS; i++) {
        s.cents[i] = 0;
        QlSalesMonthRow(months, QlLangText()->Months[i]);
        QlListSetCell(months, i, 1, "0.00");
    }
    for (int id = IDT_SALES_SCALE_FIRST; id <= IDT_SALES_SCALE_LAST; id++) SetDlgItemTextA(window, id, "0.00");
    // A failed query must not leave the total of the figures before it.
    SetDlgItemTextA(window, IDT_SALES_TOTAL, "0.00");

    char sql[160];
    if (all || !customer)
        lstrcpynA(sql, kAllQuery, sizeof sql);
    else
        snprintf(sql, sizeof sql, "select * from trans where enabled='yes' and cust_rowid='" QL_I64 "' and type='1'",
                 customer->iKey);
    char err[QL_DB_ERR_SIZE] = "";
    if (!QlTransEnumSql(QlSalesMonthRowCb, sql, err)) {
        memset(s.units, 0, sizeof s.units);
        memset(s.hundredths, 0, sizeof s.hundredths);
        QlShowReadError(window, err);
        return 0;
    }

    int64_t best = 0;
    for (int i = 0; i < QL_SALES_MONTHS; i++) {
        s.cents[i] = s.units[i] * 100 + s.hundredths[i];
        char text[32];
        QlMoneyFormatCents(s.cents[i], text, sizeof text);
        QlListSetCell(months, i, 1, text);
        if (s.cents[i] >= best) best = s.cents[i];
    }
    s.cents[QL_SALES_MONTHS] = best;
    SetCents(window, IDT_SALES_SCALE_LAST, best);
    int64_t quarter = best / 4;
    for (int k = 1; k <= 3; k++) SetCents(window, IDT_SALES_SCALE_FIRST + k, k * quarter);

    int64_t units = 0;
    int hundredths = 0;
    QlListSumMoney(months, 1, QL_SALES_MONTHS, &units, &hundredths);
    SetCents(window, IDT_SALES_TOTAL, units * 100 + hundredths);
    return 1;
}

static void Repaint(HWND window)
{
    // The children named too: the graph is a window of its own.
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_ERASENOW | RDW_ALLCHILDREN);
}

void QlSalesRefresh(HWND window, HWND customers)
{
    int row = (int)SendMessageA(customers, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED);
    if (row < 0) return;
    char key[80];
    QlListGetCell(customers, row, 1, key, sizeof key);
    int64_t rowId = QlAtoI64(key);
    QlCustRec customer = {};
    if (rowId != 0) {
        char err[QL_DB_ERR_SIZE] = "";
        if (!QlCustGetByRowId(rowId, &customer, err)) return;
    }
    char year[80];
    QlUiGetField(window, IDC_SALES_YEAR, year);
    if (rowId == 0)
        QlSalesMonthlyTotals(window, NULL, year, 1);
    else
        QlSalesMonthlyTotals(window, &customer, year, 0);
    Repaint(window);
}

// ---------------------------------------------------------------------------
// The graph

int QlSalesBarHeight(const int64_t *cents, int month, int height)
{
    int64_t best = cents[QL_SALES_MONTHS];
    if (best <= 0 || month < 0 || month >= QL_SALES_MONTHS) return 0;
    int64_t percent = cents[month] * 100 / best;
    if (percent < 0) percent = 0;
    return (int)(height * percent / 100);
}

void QlSalesGraphDraw(HDC dc, int width, int height, const int64_t *cents, int bars)
{
    const int W = width, H = height;
    QlDrawLine(dc, 0, H, W, H);
    QlDrawLine(dc, 0, 0, 0, H);
    // Room for December's bar: it would otherwise run up to 7 pixels past
    // the panel's edge.
    const int step = (W - BAR_RIGHT) / 11;
    for (int i = 0; i < QL_SALES_MONTHS; i++) QlDrawLine(dc, i * step, H, i * step, H - TICK_LENGTH);
    const int quarter = H / 4;
    for (int i = 0; i <= 4; i++) QlDrawLine(dc, 0, H - i * quarter, TICK_LENGTH, H - i * quarter);
    if (cents[QL_SALES_MONTHS] <= 0) return;

    POINT points[QL_SALES_MONTHS];
    for (int i = 0; i < QL_SALES_MONTHS; i++) {
        points[i].x = i * step;
        points[i].y = H - QlSalesBarHeight(cents, i, H);
    }
    if (bars) {
        if (!QlBrushGreen) return;
        for (const POINT &p : points) {
            RECT bar = {p.x + BAR_LEFT, p.y, p.x + BAR_RIGHT, H};
            FillRect(dc, &bar, QlBrushGreen);
        }
        return;
    }
    HGDIOBJ previous = QlPenRed ? SelectObject(dc, QlPenRed) : NULL;
    Polyline(dc, points, QL_SALES_MONTHS);
    for (POINT &p : points) {
        p.x += 1;
        p.y += 1;
    }
    Polyline(dc, points, QL_SALES_MONTHS);
    if (previous) SelectObject(dc, previous);
}

LRESULT CALLBACK QlSalesGraphWndProc(HWND panel, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(panel, &ps);
        RECT client;
        GetClientRect(panel, &client);
        int saved = SaveDC(dc);
        IntersectClipRect(dc, 0, 0, client.right, client.bottom);
        FillRect(dc, &client, QlBrushWhite ? QlBrushWhite : (HBRUSH)GetStockObject(WHITE_BRUSH));
        // The baseline and the months without sales lie on the client
        // area's last row, not on the row below it.
        QlSalesGraphDraw(dc, client.right, client.bottom - 1, QlSalesState.cents, QlSalesState.bars);
        RestoreDC(dc, saved);
        EndPaint(panel, &ps);
        return 0;
    }
    WNDPROC previous = (WNDPROC)GetPropA(panel, kPrevProc);
    return previous ? CallWindowProcA(previous, panel, msg, wParam, lParam) : DefWindowProcA(panel, msg, wParam, lParam);
}

static void SubclassGraph(HWND window)
{
    HWND panel = GetDlgItem(window, IDT_SALES_GRAPH);
    if (!panel || GetPropA(panel, kPrevProc)) return;
    LONG_PTR previous = SetWindowLongPtrA(panel, GWLP_WNDPROC, (LONG_PTR)QlSalesGraphWndProc);
    SetPropA(panel, kPrevProc, (HANDLE)previous);
}

static void UnsubclassGraph(HWND window)
{
    HWND panel = GetDlgItem(window, IDT_SALES_GRAPH);
    if (!panel) return;
    HANDLE previous = GetPropA(panel, kPrevProc);
    if (!previous) return;
    SetWindowLongPtrA(panel, GWLP_WNDPROC, (LONG_PTR)previous);
    RemovePropA(panel, kPrevProc);
}

// ---------------------------------------------------------------------------
// Layout

// How far the window's client area runs past the main window's client area
// on the right: the module area is as wide as the main window's frame.
static int HiddenRight(HWND window)
{
    RECT client, parent;
    GetClientRect(window, &client);
    GetClientRect(GetParent(window), &parent);
    int left = 0;
    QlUiGetRectInParent(window, NULL, NULL, NULL, &left);
    int hidden = left + client.right - parent.right;
    return hidden > 0 ? hidden : 0;
}

// Print and Close move together until Close's right edge stands a little
// left of the window's visible right edge.
static void PlaceButtons(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    int left = 0, width = 0;
    QlUiGetRectInParent(GetDlgItem(window, IDB_SALES_CLOSE), &width, NULL, NULL, &left);
    int dx = client.right - HiddenRight(window) - BUTTON_RIGHT_GAP - (left + width);
    QlUiShiftItemX(window, IDB_SALES_PRINT, dx);
    QlUiShiftItemX(window, IDB_SALES_CLOSE, dx);
}

// The twelve month labels in a row under the panel, each keeping its size.
static void PlaceMonthLabels(HWND window)
{
    int width = 0, height = 0, top = 0, left = 0;
    QlUiGetRectInParent(GetDlgItem(window, IDT_SALES_GRAPH), &width, &height, &top, &left);
    const int step = width / 11;
    for (int i = 0; i < QL_SALES_MONTHS; i++)
        QlUiMoveItem(window, IDT_SALES_MONTH_FIRST + i, left - MONTH_LABEL_SHIFT + i * step,
                     top + height + MONTH_LABEL_GAP);
}

void QlSalesLayout(HWND window, HWND caption)
{
    QlUiFillBelowToolbar(window);
    if (caption) QlUiStretchRight(caption, 0);

    PlaceButtons(window);
    QlUiDockBottom(GetDlgItem(window, IDB_SALES_PRINT), 1, 0);
    QlUiDockBottom(GetDlgItem(window, IDB_SALES_CLOSE), 1, 0);

    // The graph reaches down to twice a button's height above the bottom,
    // or less when its month labels would run into the buttons.
    int buttonHeight = 0, labelHeight = 0;
    QlUiGetRectInParent(GetDlgItem(window, IDB_SALES_PRINT), NULL, &buttonHeight, NULL, NULL);
    QlUiGetRectInParent(GetDlgItem(window, IDT_SALES_MONTH_LAST), NULL, &labelHeight, NULL, NULL);
    int below = buttonHeight + LABEL_ABOVE_BUTTONS + labelHeight + MONTH_LABEL_GAP;
    QlUiStretchItemRight(window, IDT_SALES_GRAPH, GRAPH_RIGHT_MARGIN + HiddenRight(window));
    QlUiStretchItemDown(window, IDT_SALES_GRAPH, below > 2 * buttonHeight ? below : 2 * buttonHeight);

    int panelHeight = 0, panelTop = 0;
    QlUiGetRectInParent(GetDlgItem(window, IDT_SALES_GRAPH), NULL, &panelHeight, &panelTop, NULL);
    const int quarter = panelHeight / 4;
    for (int k = 1; k <= 4; k++) {
        int id = IDT_SALES_SCALE_LAST - k;   // 1308 one quarter down, ... 1305 at the bottom
        int left = 0;
        QlUiGetRectInParent(GetDlgItem(window, id), NULL, NULL, NULL, &left);
        QlUiMoveItem(window, id, left, panelTop + k * quarter);
    }
    PlaceMonthLabels(window);
    QlUiStretchItemDown(window, IDL_SALES_CUSTOMERS, 0);
    // A static is not redrawn whole when it grows: the graph of the old
    // size would stay in the part that was already shown.
    Repaint(window);
}

// ---------------------------------------------------------------------------
// Start and messages

static void SetTexts(HWND window)
{
    const QlSalesTextRec *text = QlSalesText();
    SetDlgItemTextA(window, IDB_SALES_PRINT, QlLangText()->Print);
    SetDlgItemTextA(window, IDB_SALES_CLOSE, QlLangText()->Close);
    SetDlgItemTextA(window, IDG_SALES_APPEARANCE, text->Appearance);
    SetDlgItemTextA(window, IDB_SALES_BARS, text->Bars);
    SetDlgItemTextA(window, IDB_SALES_LINES, text->Lines);
    SetDlgItemTextA(window, IDT_SALES_TOTAL_LABEL, text->Total);
    for (int i = 0; i < QL_SALES_MONTHS; i++) SetDlgItemTextA(window, IDT_SALES_MONTH_FIRST + i, QlLangText()->Months[i]);
}

static void FillCustomers(HWND window)
{
    lstrcpynA(sCustomerColumns.columns[0].title, QlSalesText()->Customer, sizeof sCustomerColumns.columns[0].title);
    QlListSetupFromTable(window, &sCustomerColumns);
    HWND list = GetDlgItem(window, IDL_SALES_CUSTOMERS);
    FreeCustomers();
    sCustomerList = list;
    QlSalesListAddRow(list, NULL, 1);
    char err[QL_DB_ERR_SIZE] = "";
    int read = QlCustEnum(QlSalesCustRowCb, err);
    sCustomerList = NULL;
    if (!read) QlShowReadError(window, err);
    SendMessageA(list, LVM_SETITEMCOUNT, sCustomerCount, 0);
    InvalidateRect(list, NULL, TRUE);
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, (LPARAM)&state);
}

static void FillYears(HWND window)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    HWND combo = GetDlgItem(window, IDC_SALES_YEAR);
    for (int i = 0; i < QL_SALES_YEARS; i++) {
        char text[16];
        snprintf(text, sizeof text, "%u", (unsigned)(now.wYear - i));
        SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)text);
    }
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
}

static BOOL OnInitDialog(HWND window)
{
    QlSalesStateRec &s = QlSalesState;
    s.window = window;
    QlModuleWnd = window;
    QlUiFitPane(window);
    SubclassGraph(window);

    s.caption = QlUiCreateStatic(QlUiInstance(), window, 0, 0, 650, 20, SS_CENTERIMAGE | SS_CENTER, 1);
    if (QlFontBold12) SendMessageA(s.caption, WM_SETFONT, (WPARAM)QlFontBold12, FALSE);
    QlUiSetText(s.caption, QlSalesText()->Heading);
    QlUiStretchRight(s.caption, 0);

    PlaceButtons(window);
    QlUiStretchItemRight(window, IDT_SALES_GRAPH, GRAPH_RIGHT_MARGIN + HiddenRight(window));
    PlaceMonthLabels(window);

    SetTexts(window);
    s.bars = 1;
    CheckRadioButton(window, IDB_SALES_BARS, IDB_SALES_LINES, IDB_SALES_BARS);
    static const int kWidths[2] = {60, 100};
    static const int kFormats[2] = {0, 1};
    const char *titles[2] = {QlSalesText()->Month, QlSalesText()->Sales};
    QlListSetColumnsFmt(GetDlgItem(window, IDL_SALES_MONTHS), titles, 2, kWidths, QL_SALES_MONTHS, kFormats);

    FillCustomers(window);
    FillYears(window);
    char year[80];
    QlUiGetField(window, IDC_SALES_YEAR, year);
    QlSalesMonthlyTotals(window, NULL, year, 1);

    if (QlMainWnd && IsZoomed(QlMainWnd)) QlSalesLayout(window, s.caption);
    return TRUE;
}

static void OnCommand(HWND window, int id, int code)
{
    QlSalesStateRec &s = QlSalesState;
    switch (id) {
    case IDB_SALES_BARS:
    case IDB_SALES_LINES: {
        if (code != BN_CLICKED) return;
        int bars = id == IDB_SALES_BARS ? IsDlgButtonChecked(window, IDB_SALES_BARS) == BST_CHECKED
                                        : IsDlgButtonChecked(window, IDB_SALES_LINES) != BST_CHECKED;
        if (bars == s.bars) return;
        s.bars = bars;
        Repaint(window);
        return;
    }
    case IDB_SALES_PRINT:
        if (code == BN_CLICKED) QlSalesGraphPrint(window);
        return;
    case IDB_SALES_CLOSE:
        if (code == BN_CLICKED) QlUiClosePane(window);
        return;
    case IDC_SALES_YEAR:
        if (code == CBN_SELCHANGE) QlSalesRefresh(window, GetDlgItem(window, IDL_SALES_CUSTOMERS));
        return;
    }
}

static INT_PTR OnCtlColorStatic(HWND window, HDC dc, HWND control)
{
    if (control && control == GetDlgItem(window, IDT_SALES_TOTAL)) {
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
    }
    if (control && control == QlSalesState.caption) {
        SetTextColor(dc, HEADING_COLOUR);
        SetBkMode(dc, TRANSPARENT);
        return (INT_PTR)(QlBrushModuleBack ? QlBrushModuleBack : GetSysColorBrush(COLOR_BTNFACE));
    }
    return FALSE;
}

static void OnDestroy(HWND window)
{
    UnsubclassGraph(window);
    if (QlModuleWnd == window) QlModuleWnd = NULL;
    if (QlSalesState.window == window) {
        QlSalesState.window = NULL;
        QlSalesState.caption = NULL;
        FreeCustomers();
        QlPlatformReleaseFreedMemory();
    }
}

INT_PTR CALLBACK QlSalesDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(window);
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_NOTIFY: {
        const NMHDR *header = (const NMHDR *)lParam;
        if (header->idFrom == IDL_SALES_CUSTOMERS && header->code == LVN_GETDISPINFOA)
            CustomerCell((NMLVDISPINFOA *)lParam);
        else if (header->idFrom == IDL_SALES_CUSTOMERS && header->code == NM_CLICK)
            QlSalesRefresh(window, header->hwndFrom);
        return FALSE;
    }
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(window, (HDC)wParam, (HWND)lParam);
    case QL_WM_MAIN_MAXIMIZED: QlSalesLayout(window, QlSalesState.caption); return TRUE;
    case QL_WM_MAIN_RESTORED: QlSalesReopen(window, QlSalesState.caption); return TRUE;
    case QL_WM_MAIN_CLOSING: UnsubclassGraph(window); return TRUE;
    // Not a command: the dialog manager would make it IDCANCEL.  The window
    // goes, and with it the graph's subclass.
    case WM_CLOSE: QlUiClosePane(window); return TRUE;
    case WM_DESTROY: OnDestroy(window); return TRUE;
    }
    return FALSE;
}

HWND QlSalesGraphOpen(HWND mainWindow)
{
    QlUiDestroyModule();
    HWND window = QlUiCreateModeless(QlUiInstance(), mainWindow, QlSalesDlgProc, IDD_SALES_GRAPH);
    if (!window) return NULL;
    QlModuleWnd = window;
    return window;
}

HWND QlSalesReopen(HWND window, HWND caption)
{
    (void)caption;
    return QlSalesGraphOpen(GetParent(window));
}
