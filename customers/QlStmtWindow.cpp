// The statement window (dialog 186), a module window.
//
// A load lists the account's enabled invoices and payments in the order of
// their numbers and keeps those dated on or after the from date; each line
// carries the running balance after it: an invoice adds its gross, a
// payment takes its amount off.  Lines before the from date count for
// nothing, so the total is the balance of the listed lines.

#include "customers/QlStmt.h"

#include "customers/QlCustCommands.h"
#include "customers/QlCustModule.h"
#include "customers/QlCustOpeners.h"
#include "customers/QlCustSelect.h"
#include "customers/QlCustTexts.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlListView.h"
#include "core/QlMoney.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlToolbar.h"
#include "ui/QlWindow.h"
#include "datastore/QlDb.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlReadError.h"
#include "resources/QlResIds.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

QlDateRec QlStmtFromDate;
int64_t QlStmtRunningCents;

// clang-format off
static QlToolbarItem sToolbarItems[] = {
    {IDBMP_PRINT, QL_STMT_CMD_PRINT, NULL, "  Print  "},
    {IDBMP_EXPORT, QL_STMT_CMD_HTML, NULL, "  HTML  "},
    {IDBMP_PDF, QL_STMT_CMD_PDF, NULL, "  PDF  "},
    {IDBMP_CLOSE, QL_STMT_CMD_CLOSE, NULL, "  Close  "},
};

static QlListColumnTable sColumns = {IDL_STMT_LINES, NULL, QL_STMT_COLUMNS, {
    {15, LVCFMT_LEFT, "TX #:"},
    {15, LVCFMT_LEFT, "Date:"},
    {20, LVCFMT_LEFT, "Type:"},
    {15, LVCFMT_RIGHT, "Invoice Amount"},
    {15, LVCFMT_RIGHT, "Paid Amount:"},
    {15, LVCFMT_RIGHT, "Balance:"},
}};
// clang-format on
#define TOOLBAR_COUNT ((int)ARRAYSIZE(sToolbarItems))

// The right-hand group: shifted as one so that the title ends 3 pixels left
// of the right edge.
static const int kRightGroup[] = {IDT_STMT_TITLE,  IDP_STMT_DATE,  IDT_STMT_DATE_LABEL, IDT_STMT_ACREF_LABEL,
                                  IDT_STMT_ACREF,  IDT_STMT_TOTAL_LABEL, IDT_STMT_TOTAL, IDT_STMT_SPARE};
// The group below the list, kept 30 pixels above the tool bar when maximized.
static const int kBottomGroup[] = {IDT_STMT_TOTAL_LABEL, IDT_STMT_TOTAL, IDG_STMT_FROM, IDP_STMT_FROM,
                                   IDB_STMT_RELOAD};
// Statics drawn black on white.
static const int kWhiteStatics[] = {IDT_STMT_ACREF, IDT_STMT_TO, IDT_STMT_DATE_LABEL, IDT_STMT_ACREF_LABEL,
                                    IDT_STMT_TOTAL, IDT_STMT_TITLE};

#define LIST_RIGHT_MARGIN 6
#define TOTAL_ABOVE_TOOLBAR 30

static HWND sWindow;
static HWND sToolbar;
static HWND sList;
static HWND sLoadList;   // the list the running load fills

// ---------------------------------------------------------------------------
// Loading

// The lines of the window, kept in memory in the order of the load; the list
// is owner-data and asks for the cells it draws (LVN_GETDISPINFO), and the
// printers and writers read them back through it.
struct StmtLine {
    int64_t key;
    int64_t balance;   // cents, after this line
    int invoice;       // 1 an invoice, 0 a payment
    char date[sizeof QlTransRec::date];
    char gross[sizeof QlTransRec::gross + 1];
};
static StmtLine *sLines;
static int sLineCount, sLineCapacity;

static void FreeLines(void)
{
    free(sLines);
    sLines = NULL;
    sLineCount = sLineCapacity = 0;
}

// A record's field (not always ended within its width) as a text, cut to
// the size.
static void CopyField(char *out, size_t size, const char *field, size_t width)
{
    size_t length = strnlen(field, width);
    if (length >= size) length = size - 1;
    memcpy(out, field, length);
    out[length] = '\0';
}

void QlStmtAddRow(HWND list, const QlTransRec *rec)
{
    if (sLineCount == sLineCapacity) {
        int capacity = sLineCapacity ? sLineCapacity * 2 : 256;
        StmtLine *grown = (StmtLine *)realloc(sLines, (size_t)capacity * sizeof *grown);
        if (!grown) return;
        sLines = grown;
        sLineCapacity = capacity;
    }
    StmtLine *line = &sLines[sLineCount++];
    line->key = rec->iKey;
    CopyField(line->date, sizeof line->date, rec->date, sizeof rec->date);
    CopyField(line->gross, sizeof line->gross, rec->gross, sizeof rec->gross);
    int64_t cents = QlMoneyParseCents(line->gross);
    line->invoice = rec->type == 1;
    QlStmtRunningCents += line->invoice ? cents : -cents;
    line->balance = QlStmtRunningCents;
    // Outside a load the line shows at once; a load shows all of them at its end.
    if (list && list != sLoadList) SendMessageA(list, LVM_SETITEMCOUNT, sLineCount, LVSICF_NOSCROLL);
}

// A cell of a line as the list shows it.
static void LineCell(int index, int column, char *text, size_t size)
{
    text[0] = '\0';
    if (index < 0 || index >= sLineCount || size == 0) return;
    const StmtLine *line = &sLines[index];
    switch (column) {
    case QL_STMT_COL_KEY: snprintf(text, size, QL_I64, line->key); break;
    case QL_STMT_COL_DATE: snprintf(text, size, "%s", line->date); break;
    case QL_STMT_COL_TYPE:
        snprintf(text, size, "%s", line->invoice ? QlCustText()->TypeNames[0] : QlCustText()->PaymentWord);
        break;
    case QL_STMT_COL_INVOICE:
        if (line->invoice) snprintf(text, size, "%s", line->gross);
        break;
    case QL_STMT_COL_PAID:
        if (!line->invoice) snprintf(text, size, "%s", line->gross);
        break;
    case QL_STMT_COL_BALANCE: QlMoneyFormatCents(line->balance, text, size); break;
    }
}

static void OnGetDispInfo(NMLVDISPINFOA *info)
{
    if (!(info->item.mask & LVIF_TEXT) || !info->item.pszText || info->item.cchTextMax <= 0) return;
    LineCell(info->item.iItem, info->item.iSubItem, info->item.pszText, (size_t)info->item.cchTextMax);
}

int QlStmtRowCb(const QlTransRec *rec)
{
    QlDateRec date;
    QlDateParseDmy(rec->date, &date);
    if (sLoadList && QlDateIsOnOrAfter(&date, &QlStmtFromDate)) QlStmtAddRow(sLoadList, rec);
    return 0;
}

// The account's documents through the row function, read row by row (the
// fast way to read many): the columns a line shows, parsed by the row
// parser.  1 when the query ran to its end.
static int ReadLines(const char *sql, char *err)
{
    static const char *const kColumns[] = {"iKey", "type", "date", "gross"};
    const int count = (int)(sizeof kColumns / sizeof kColumns[0]);
    QlDbQuery query;
    if (!QlDbQueryOpen(sql, &query, err)) return 0;
    int step;
    while ((step = QlDbQueryNext(&query, err)) == 1) {
        char *values[sizeof kColumns / sizeof kColumns[0]];
        for (int c = 0; c < count; c++) values[c] = (char *)QlDbQueryText(&query, c);
        QlTransRec rec = {};
        if (QlTransParseRow(count, values, (char **)kColumns, &rec)) QlStmtRowCb(&rec);
    }
    QlDbQueryClose(&query);
    return step == 0;
}

int QlStmtLoad(HWND window, int listId, const QlCustRec *customer, const QlDateRec *from)
{
    HWND list = GetDlgItem(window, listId);
    // The lines are read anew into the room of the last load; the list asks
    // for none of them before it is given their count at the end.
    sLineCount = 0;
    QlStmtFromDate = *from;
    QlStmtRunningCents = 0;
    char sql[QL_DB_SQL_QUERY];
    char err[QL_DB_ERR_SIZE];
    snprintf(sql, sizeof sql,
             "select iKey,type,date,gross from trans where enabled='yes' and cust_rowid='" QL_I64
             "' and (type='1' or type='3') order by iKey asc",
             customer->iKey);
    sLoadList = list;
    int ok = ReadLines(sql, err);
    sLoadList = NULL;
    if (!ok) {
        // Part of a statement would mislead: its lines go, and the user is told.
        FreeLines();
        QlListSetRowCount(list, 0);
        SetDlgItemTextA(window, IDT_STMT_TOTAL, "");
        QlShowReadError(window, err);
        return 0;
    }
    QlListSetRowCount(list, sLineCount);
    char total[128] = "0.00";
    if (sLineCount > 0) LineCell(sLineCount - 1, QL_STMT_COL_BALANCE, total, sizeof total);
    SetDlgItemTextA(window, IDT_STMT_TOTAL, total);
    return 1;
}

// ---------------------------------------------------------------------------
// Commands

// Loads the account of the reference shown; nothing when it cannot be read.
static void Reload(HWND window)
{
    QlDateRec from;
    QlCustPickerDate(window, IDP_STMT_FROM, &from);
    char acref[80];
    QlUiGetField(window, IDT_STMT_ACREF, acref);
    char err[QL_DB_ERR_SIZE];
    QlCustRec customer;
    if (!QlCustGetByAcRef(acref, &customer, err)) {
        if (!QlDbNotFound()) QlShowReadError(window, err);
        return;
    }
    QlStmtLoad(window, IDL_STMT_LINES, &customer, &from);
}

static void Select(HWND window)
{
    INT_PTR taken =
        DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_CUST_SELECT), window, QlCustSelectDlgProc, 0);
    if (taken <= 0 || !QlCustSelected) return;
    QlCustShowAddress(window, QlCustSelected);
    Reload(window);
}

// ---------------------------------------------------------------------------
// Layout

static int ItemTop(HWND window, int id, int *height)
{
    int top = 0;
    QlUiGetRectInParent(GetDlgItem(window, id), NULL, height, &top, NULL);
    return top;
}

static void ShiftItem(HWND window, int id, int dx, int dy)
{
    HWND item = GetDlgItem(window, id);
    if (!item) return;
    int left = 0, top = 0;
    QlUiGetRectInParent(item, NULL, NULL, &top, &left);
    QlUiMoveWindow(item, left + dx, top + dy);
}

static void ShiftRightGroup(HWND window)
{
    HWND title = GetDlgItem(window, IDT_STMT_TITLE);
    if (!title) return;
    RECT client;
    GetClientRect(window, &client);
    int left = 0, width = 0;
    QlUiGetRectInParent(title, &width, NULL, NULL, &left);
    int dx = client.right - 3 - (left + width);
    for (int id : kRightGroup) ShiftItem(window, id, dx, 0);
}

static void CreateToolbar(HWND window)
{
    for (int i = 0; i < TOOLBAR_COUNT; i++)
        snprintf(sToolbarItems[i].text, sizeof sToolbarItems[i].text, "%s", QlCustText()->StmtToolbar[i]);
    sToolbar = QlToolbarCreate(QlUiInstance(), window, sToolbarItems, TOOLBAR_COUNT, 1, 0);
}

void QlStmtLayout(HWND window)
{
    QlUiFillBelowToolbar(window);
    ShiftRightGroup(window);
    QlToolbarDestroy(sToolbar, sToolbarItems, TOOLBAR_COUNT);
    sToolbar = NULL;
    CreateToolbar(window);

    int barTop = 0;
    if (sToolbar) {
        QlUiGetRectInParent(sToolbar, NULL, NULL, &barTop, NULL);
    } else {
        RECT client;
        GetClientRect(window, &client);
        barTop = client.bottom;
    }
    int totalHeight = 0;
    int totalTop = ItemTop(window, IDT_STMT_TOTAL, &totalHeight);
    int dy = (barTop - TOTAL_ABOVE_TOOLBAR) - (totalTop + totalHeight);
    for (int id : kBottomGroup) ShiftItem(window, id, 0, dy);

    QlUiStretchItemRight(window, IDL_STMT_LINES, LIST_RIGHT_MARGIN);
    HWND list = GetDlgItem(window, IDL_STMT_LINES);
    int left = 0, top = 0, width = 0, height = 0;
    QlUiGetRectInParent(list, &width, &height, &top, &left);
    MoveWindow(list, left, top, width, height + dy > 0 ? height + dy : 0, TRUE);
    QlListResizeColumns(window, &sColumns);
}

// ---------------------------------------------------------------------------
// Messages

static void SetTexts(HWND window)
{
    const QlCustTextRec *text = QlCustText();
    SetDlgItemTextA(window, IDT_STMT_ACREF_EDIT_LABEL, text->AcRef);
    SetDlgItemTextA(window, IDB_STMT_SELECT, text->SelectButton);
    SetDlgItemTextA(window, IDT_STMT_COMPANY_LABEL, text->StmtCompanyName);
    SetDlgItemTextA(window, IDT_STMT_TO, text->StatementTo);
    SetDlgItemTextA(window, IDT_STMT_TITLE, text->StatementTitle);
    SetDlgItemTextA(window, IDT_STMT_DATE_LABEL, text->DateLabel);
    SetDlgItemTextA(window, IDT_STMT_ACREF_LABEL, text->AcRef);
    SetDlgItemTextA(window, IDG_STMT_FROM, text->FromDate);
    SetDlgItemTextA(window, IDB_STMT_RELOAD, text->Reload);
    SetDlgItemTextA(window, IDT_STMT_TOTAL_LABEL, text->TotalDueNow);
    if (QlFontWide12) SendDlgItemMessageA(window, IDT_STMT_TITLE, WM_SETFONT, (WPARAM)QlFontWide12, FALSE);
    for (int c = 0; c < QL_STMT_COLUMNS; c++)
        snprintf(sColumns.columns[c].title, sizeof sColumns.columns[c].title, "%s", text->StmtColumns[c]);
}

// The module area, no wider than the main window's client area (the pane
// fit takes the main window's outer width), so that what is placed at the
// right edge stays in sight.
static void FitPane(HWND window)
{
    QlUiFitPane(window);
    RECT parent;
    GetClientRect(GetParent(window), &parent);
    int left = 0, top = 0, width = 0, height = 0;
    QlUiGetRectInParent(window, &width, &height, &top, &left);
    if (left + width > parent.right) MoveWindow(window, left, top, parent.right - left, height, TRUE);
}

static BOOL OnInitDialog(HWND window)
{
    sWindow = window;
    sList = GetDlgItem(window, IDL_STMT_LINES);
    FitPane(window);
    CreateToolbar(window);
    ShiftRightGroup(window);
    SetTexts(window);

    SendDlgItemMessageA(window, IDP_STMT_DATE, DTM_SETFORMATA, 0, (LPARAM) "d/MM/yyyy");
    SendDlgItemMessageA(window, IDP_STMT_FROM, DTM_SETFORMATA, 0, (LPARAM) "d/MM/yyyy");
    // The first of the current month by the local clock: a statement opened
    // just after midnight of the first shows that month, whatever the zone.
    SYSTEMTIME today;
    GetLocalTime(&today);
    QlDateRec from = {1, today.wMonth, today.wYear};
    QlCustSetPickerDate(window, IDP_STMT_FROM, &from);

    char err[QL_DB_ERR_SIZE] = "";
    QlCustRec customer;
    if (!QlCustGetByAcRef(QlCustContext.acref, &customer, err)) {
        if (QlDbNotFound())
            QlSeamMessageBox(window, err, "Customer not found", MB_OK);
        else
            QlShowReadError(window, err);
        QlUiClosePane(window);
        return FALSE;
    }
    QlUiStretchItemRight(window, IDL_STMT_LINES, LIST_RIGHT_MARGIN);
    QlListSetupFromTable(window, &sColumns);
    QlCustShowAddress(window, &customer);
    QlStmtLoad(window, IDL_STMT_LINES, &customer, &from);
    HWND main = QlMainWnd ? QlMainWnd : GetParent(window);
    if (main && IsZoomed(main)) QlStmtLayout(window);
    return TRUE;
}

HWND QlStmtOpen(void)
{
    QlUiDestroyModule();
    HWND window = QlUiCreateModeless(QlUiInstance(), QlMainWnd, QlStmtDlgProc, IDD_CUST_STATEMENT);
    if (!window || !IsWindow(window)) return NULL;
    QlModuleWnd = window;
    return window;
}

static void OnCommand(HWND window, int id, int code, HWND sender)
{
    // Enter and Escape arrive as IDOK and IDCANCEL, the numbers of two of
    // the tool bar's commands: only the tool bar's own are its.
    if (sender && sender == sToolbar) {
        switch (id) {
        case QL_STMT_CMD_PRINT: QlStmtPrint(window); return;
        case QL_STMT_CMD_HTML: QlStmtSaveHtml(window); return;
        case QL_STMT_CMD_PDF: QlStmtSavePdf(window); return;
        case QL_STMT_CMD_CLOSE: QlUiClosePane(window); return;
        }
        return;
    }
    if (code != BN_CLICKED) return;
    if (id == IDB_STMT_RELOAD) Reload(window);
    else if (id == IDB_STMT_SELECT) Select(window);
}

static INT_PTR OnCtlColorStatic(HWND window, HDC dc, HWND control)
{
    for (int id : kWhiteStatics) {
        if (control != GetDlgItem(window, id)) continue;
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
    }
    return FALSE;
}

static void OnDestroy(HWND window)
{
    if (QlModuleWnd == window) QlModuleWnd = NULL;
    if (sWindow != window) return;
    QlToolbarDestroy(sToolbar, sToolbarItems, TOOLBAR_COUNT);
    sToolbar = NULL;
    sList = NULL;
    sWindow = NULL;
    FreeLines();
}

INT_PTR CALLBACK QlStmtDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(window);
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), HIWORD(wParam), (HWND)lParam); return TRUE;
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(window, (HDC)wParam, (HWND)lParam);
    case WM_NOTIFY:
        if (((const NMHDR *)lParam)->idFrom == IDL_STMT_LINES && ((const NMHDR *)lParam)->code == LVN_GETDISPINFOA) {
            OnGetDispInfo((NMLVDISPINFOA *)lParam);
            return TRUE;
        }
        return FALSE;
    case QL_WM_MAIN_MAXIMIZED: QlStmtLayout(window); return TRUE;
    case QL_WM_MAIN_RESTORED: QlStmtOpen(); return TRUE;
    case WM_CLOSE: return TRUE;
    case WM_DESTROY: OnDestroy(window); return TRUE;
    }
    return FALSE;
}
