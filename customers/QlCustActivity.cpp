// The account activity view (dialog 160).
//
// A load reads the account's transactions of the chosen type through the
// row function, which keeps the rows inside the date range; the kept rows
// are then sorted by the chosen column (dates as dates, amounts by their
// cents) and put into the list in one go.  The row function runs the short
// message pump, so the dialog answers while a long history loads; a load
// started meanwhile (Reload, a column click) replaces the running one, whose
// rows are dropped.

#include "customers/QlCustAccount.h"

#include "customers/QlCustCommands.h"
#include "customers/QlCustModule.h"
#include "customers/QlCustOpeners.h"
#include "customers/QlCustOutput.h"
#include "customers/QlCustTexts.h"

#include "ui/QlAppState.h"
#include "print/QlGrid.h"
#include "ui/QlListView.h"
#include "core/QlMoney.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlToolbar.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlOpeners.h"
#include "docmodel/QlReadError.h"
#include "resources/QlResIds.h"
#include "settings/QlLangTables.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

QlCustAccountFilterRec QlCustAccountFilter;
static QlTransRec sChosenRec;
QlTransRec *QlCustAccountChosen = NULL;

// clang-format off
static QlToolbarItem sToolbarItems[QL_ACT_CMD_COUNT] = {
    {IDBMP_PRINT, QL_ACT_CMD_PRINT, NULL, "Print"},
    {IDBMP_VIEW, QL_ACT_CMD_VIEW, NULL, "View"},
    {IDBMP_CLOSE, QL_ACT_CMD_CLOSE, NULL, "Close"},
};
// clang-format on

// Column weights over the list's client width less a margin; the amounts
// are right-aligned.
static const int kColumnWeights[QL_ACT_COLUMNS] = {94, 75, 120, 149, 90, 90};
static const int kColumnFormats[QL_ACT_COLUMNS] = {LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_LEFT,
                                                   LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_RIGHT};
#define COLUMN_MARGIN 10

// Printed list: column widths in percent (the last entry closes the table).
static const int kPrintPercent[QL_ACT_COLUMNS + 1] = {16, 12, 16, 22, 17, 17, 1};

static HWND sDialog;
static HWND sToolbar;

// ---------------------------------------------------------------------------
// Loading

// One kept row.
struct ActRow {
    int64_t key;
    int64_t grossCents;
    int64_t balanceCents;
    QlDateRec date;
    uint32_t type;
    char dateText[32];
    char desc[80];
    char gross[13];
    char balance[13];
};

struct ActRows {
    ActRow *rows;
    int count;
    int capacity;
    int sortColumn;
};

static ActRows sLoad;          // the rows of the running load
static ActRows sShown;         // the rows the list shows (owner-data)
static unsigned sLoadSerial;   // bumped by every load, and when the view goes
static unsigned sFeeding;      // the load whose rows arrive now

static int AddRow(ActRows *set, const QlTransRec *rec)
{
    if (set->count == set->capacity) {
        int capacity = set->capacity ? set->capacity * 2 : 256;
        ActRow *rows = (ActRow *)realloc(set->rows, (size_t)capacity * sizeof *rows);
        if (!rows) return 0;
        set->rows = rows;
        set->capacity = capacity;
    }
    ActRow *row = &set->rows[set->count++];
    memset(row, 0, sizeof *row);
    row->key = rec->iKey;
    row->type = rec->type;
    QlDateParseDmy(rec->date, &row->date);
    row->grossCents = QlMoneyParseCents(rec->gross);
    row->balanceCents = QlMoneyParseCents(rec->gross_bal);
    snprintf(row->dateText, sizeof row->dateText, "%s", rec->date);
    snprintf(row->desc, sizeof row->desc, "%s", rec->desc);
    snprintf(row->gross, sizeof row->gross, "%s", rec->gross);
    snprintf(row->balance, sizeof row->balance, "%s", rec->gross_bal);
    return 1;
}

int QlCustAccountRowCb(const QlTransRec *rec)
{
    if (QlCustAccountFilter.dateFilter) {
        QlDateRec date;
        QlDateParseDmy(rec->date, &date);
        if (!QlDateIsOnOrAfter(&date, &QlCustAccountFilter.from) || !QlDateIsOnOrAfter(&QlCustAccountFilter.to, &date))
            return 0;
    }
    // A load that a newer one replaced, or whose view went, keeps no rows.
    if (sFeeding != sLoadSerial) return 0;
    AddRow(&sLoad, rec);
    QlUiPumpMessages();
    return 0;
}

static int Compare64(int64_t a, int64_t b)
{
    return a < b ? -1 : a > b ? 1 : 0;
}

static int CompareDates(const QlDateRec *a, const QlDateRec *b)
{
    if (QlDateIsAfter(a, b)) return 1;
    return QlDateIsAfter(b, a) ? -1 : 0;
}

static int sSortColumn;

// Ascending by the sort column; equal rows by their numbers.
static int CompareRows(const void *pa, const void *pb)
{
    const ActRow *a = (const ActRow *)pa, *b = (const ActRow *)pb;
    int order = 0;
    switch (sSortColumn) {
    case QL_ACT_COL_DATE: order = CompareDates(&a->date, &b->date); break;
    case QL_ACT_COL_TYPE: order = Compare64(a->type, b->type); break;
    case QL_ACT_COL_DESC: order = strcmp(a->desc, b->desc); break;
    case QL_ACT_COL_GROSS: order = Compare64(a->grossCents, b->grossCents); break;
    case QL_ACT_COL_BALANCE: order = Compare64(a->balanceCents, b->balanceCents); break;
    }
    return order ? order : Compare64(a->key, b->key);
}

// The type's name, its first letter kept and the rest lower-cased; empty
// for a type without one.
static const char *TypeName(uint32_t type)
{
    if (type < 1 || type > 5) return "";
    return QlStrLowerTail(QlCustText()->TypeNames[type - 1]);
}

static void FreeRows(ActRows *set)
{
    free(set->rows);
    memset(set, 0, sizeof *set);
}

// The load's rows become the ones the list shows; the list asks for the
// cells it draws (LVN_GETDISPINFO).
static void ShowRows(HWND list)
{
    FreeRows(&sShown);
    sShown = sLoad;
    memset(&sLoad, 0, sizeof sLoad);
    SendMessageA(list, LVM_SETITEMCOUNT, sShown.count, 0);
    InvalidateRect(list, NULL, TRUE);
}

static void OnGetDispInfo(NMLVDISPINFOA *info)
{
    LVITEMA *item = &info->item;
    if (!(item->mask & LVIF_TEXT) || !item->pszText || item->cchTextMax <= 0) return;
    item->pszText[0] = '\0';
    if (item->iItem < 0 || item->iItem >= sShown.count) return;
    const ActRow *row = &sShown.rows[item->iItem];
    const size_t size = (size_t)item->cchTextMax;
    switch (item->iSubItem) {
    case QL_ACT_COL_KEY: snprintf(item->pszText, size, QL_I64, row->key); break;
    case QL_ACT_COL_DATE: snprintf(item->pszText, size, "%s", row->dateText); break;
    case QL_ACT_COL_TYPE: snprintf(item->pszText, size, "%s", TypeName(row->type)); break;
    case QL_ACT_COL_DESC: snprintf(item->pszText, size, "%s", row->desc); break;
    case QL_ACT_COL_GROSS: snprintf(item->pszText, size, "%s", row->gross); break;
    case QL_ACT_COL_BALANCE: snprintf(item->pszText, size, "%s", row->balance); break;
    }
}

int QlCustAccountLoad(HWND dialog, int listId, const char *acref, int dateFilter, int type, const QlDateRec *from,
                      const QlDateRec *to, int sortColumn)
{
    HWND list = GetDlgItem(dialog, listId);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    char err[QL_DB_ERR_SIZE];
    QlCustRec customer;
    if (!QlCustGetByAcRef(acref, &customer, err)) {
        if (!QlDbNotFound()) QlShowReadError(dialog, err);
        return 0;
    }

    memset(&QlCustAccountFilter, 0, sizeof QlCustAccountFilter);
    QlCustAccountFilter.dateFilter = dateFilter && from && to;
    if (QlCustAccountFilter.dateFilter) {
        QlCustAccountFilter.from = *from;
        QlCustAccountFilter.to = *to;
    }

    char sql[QL_DB_SQL_QUERY];
    if (type == 0)
        snprintf(sql, sizeof sql, "select * from trans where enabled='yes' and cust_rowid='" QL_I64 "' order by iKey asc",
                 customer.iKey);
    else
        snprintf(sql, sizeof sql,
                 "select * from trans where enabled='yes' and cust_rowid='" QL_I64 "' and type='%d' order by iKey asc",
                 customer.iKey, type);

    unsigned serial = ++sLoadSerial;
    unsigned outer = sFeeding;   // a load this one replaces while it pumps
    sFeeding = serial;
    sLoad.count = 0;
    int ok = QlTransEnumSql(QlCustAccountRowCb, sql, err);
    sFeeding = outer;
    // A load started while this one pumped messages has filled the list, or
    // the view went: what this one kept goes.
    if (serial != sLoadSerial || !IsWindow(list)) {
        FreeRows(&sLoad);
        return ok;
    }
    if (!ok) {
        // Part of an account's activity would mislead: none is shown.
        sLoad.count = 0;
        ShowRows(list);
        QlShowReadError(dialog, err);
        return 0;
    }
    sSortColumn = sortColumn;
    if (sLoad.count > 1) qsort(sLoad.rows, (size_t)sLoad.count, sizeof *sLoad.rows, CompareRows);
    ShowRows(list);
    return ok;
}

// ---------------------------------------------------------------------------
// Filters

static void ContextAcRef(char *acref, int size)
{
    snprintf(acref, (size_t)size, "%s", QlCustContext.acref);
}

void QlCustAccountApplyFilter(HWND dialog, int sortColumn)
{
    int dates = (int)SendDlgItemMessageA(dialog, IDC_ACT_DATES, CB_GETCURSEL, 0, 0);
    int type = (int)SendDlgItemMessageA(dialog, IDC_ACT_TYPE, CB_GETCURSEL, 0, 0);
    if (dates == CB_ERR || type == CB_ERR) return;
    char acref[sizeof QlCustContext.acref];
    ContextAcRef(acref, sizeof acref);
    if (dates == 1) {
        QlDateRec from, to;
        QlCustPickerDate(dialog, IDP_ACT_FROM, &from);
        QlCustPickerDate(dialog, IDP_ACT_TO, &to);
        if (QlDateIsAfter(&from, &to)) {
            QlMsgBox(dialog, QlLangText()->Error, QlCustText()->InvalidDateRange, QL_COLOUR_WARNING);
            return;
        }
        QlCustAccountLoad(dialog, IDL_ACT_LIST, acref, 1, type, &from, &to, sortColumn);
    } else {
        QlCustAccountLoad(dialog, IDL_ACT_LIST, acref, 0, type, NULL, NULL, sortColumn);
    }
}

static void FollowDateChoice(HWND dialog)
{
    int range = SendDlgItemMessageA(dialog, IDC_ACT_DATES, CB_GETCURSEL, 0, 0) == 1;
    EnableWindow(GetDlgItem(dialog, IDP_ACT_FROM), range);
    EnableWindow(GetDlgItem(dialog, IDP_ACT_TO), range);
}

// ---------------------------------------------------------------------------
// View

int QlCustAccountViewTrans(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDL_ACT_LIST);
    int row = (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    if (row < 0) return 0;
    char text[129];
    QlListGetCell(list, row, QL_ACT_COL_KEY, text, sizeof text);
    char err[QL_DB_ERR_SIZE];
    QlTransRec rec;
    if (!QlTransGetByRowId(QlAtoI64(text), &rec, err)) return 0;
    sChosenRec = rec;
    QlCustAccountChosen = &sChosenRec;
    return 1;
}

// ---------------------------------------------------------------------------
// Printing

int QlCustAccountPrintJobFrom(HWND dialog, QlCustAccountPrintJob *job)
{
    memset(job, 0, sizeof *job);
    job->list = GetDlgItem(dialog, IDL_ACT_LIST);
    job->rows = (int)SendMessageA(job->list, LVM_GETITEMCOUNT, 0, 0);
    for (int c = 0; c < QL_ACT_COLUMNS; c++) QlListGetColumnText(job->list, c, job->titles[c], sizeof job->titles[c]);
    return job->rows;
}

static void DrawPage(HDC dc, const RECT *page, const QlCustAccountPrintJob *job, int pageNumber, int pages, int h)
{
    char heading[160];
    const QlCustTextRec *text = QlCustText();
    snprintf(heading, sizeof heading, "%s (%s %d %s %d)", text->TransactionsHeading, text->PageWord, pageNumber,
             text->OfWord, pages);
    QlDrawFrame(dc, page->left, page->top, page->right, page->top + 2 * h, 5);
    RECT band = {page->left, page->top, page->right, page->top + 2 * h};
    DrawTextA(dc, heading, -1, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    QlGridRec grid;
    QlGridLayout(&grid, page->left, page->top + 4 * h, page->right, 0, QL_ACT_ROWS_PER_PAGE + 2, QL_ACT_COLUMNS + 1,
                 h + h / 3, kPrintPercent);
    QlGridDrawLines(dc, &grid);
    for (int c = 0; c < QL_ACT_COLUMNS; c++) QlCustGridCellText(dc, &grid, job->titles[c], 0, c, DT_LEFT);

    int first = (pageNumber - 1) * QL_ACT_ROWS_PER_PAGE;
    for (int r = 0; r < QL_ACT_ROWS_PER_PAGE && first + r < job->rows; r++) {
        for (int c = 0; c < QL_ACT_COLUMNS; c++) {
            char cell[256];
            QlListGetCell(job->list, first + r, c, cell, sizeof cell);
            UINT format = c == QL_ACT_COL_GROSS || c == QL_ACT_COL_BALANCE ? DT_RIGHT : DT_LEFT;
            QlCustGridCellText(dc, &grid, cell, r + 1, c, format);
        }
    }
}

int QlCustAccountDrawList(QlPrintTarget *target, void *data)
{
    const QlCustAccountPrintJob *job = (const QlCustAccountPrintJob *)data;
    HFONT font = QlCustPrintFont(target->dc, 9, 0);
    if (!font) return 0;
    HGDIOBJ previous = SelectObject(target->dc, font);
    SetBkMode(target->dc, TRANSPARENT);
    int h = QlCustPrintLineHeight(target->dc);
    int pages = job->rows / QL_ACT_ROWS_PER_PAGE + (job->rows % QL_ACT_ROWS_PER_PAGE ? 1 : 0);
    if (pages < 1) pages = 1;
    int ok = 1;
    for (int p = 1; p <= pages && ok; p++) {
        if (p > 1) ok = QlPrintNextPage(target);
        if (ok) DrawPage(target->dc, &target->page, job, p, pages, h);
    }
    SelectObject(target->dc, previous);
    DeleteObject(font);
    return ok;
}

void QlCustAccountPrint(HWND dialog)
{
    QlCustAccountPrintJob job;
    if (QlCustAccountPrintJobFrom(dialog, &job) == 0) {
        QlMsgBox(dialog, QlCustText()->ListEmptyCaption, QlCustText()->NothingToPrint, QL_COLOUR_WARNING);
        return;
    }
    char err[QL_DB_ERR_SIZE];
    QlCustRec customer;
    if (!QlCustGetByAcRef(QlCustContext.acref, &customer, err)) return;
    QlPrintDocument(dialog, QlCustAccountDrawList, &job);
}

// ---------------------------------------------------------------------------
// The dialog

static void FillCombo(HWND dialog, int id, const char (*items)[40], int count)
{
    for (int i = 0; i < count; i++) SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, (LPARAM)items[i]);
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, 0, 0);
}

static void SetTexts(HWND dialog)
{
    const QlCustTextRec *text = QlCustText();
    char caption[160];
    snprintf(caption, sizeof caption, "%s %s", text->ActivityCaption, QlCustContext.acref);
    SetWindowTextA(dialog, caption);
    SetDlgItemTextA(dialog, IDT_ACT_ACREF_LABEL, text->AcRef);
    SetDlgItemTextA(dialog, IDT_ACT_ACREF, QlCustContext.acref);
    SetDlgItemTextA(dialog, IDT_ACT_BALANCE_LABEL, text->Balance);
    SetDlgItemTextA(dialog, IDT_ACT_BALANCE, QlCustContext.balance);
    SetDlgItemTextA(dialog, IDT_ACT_TURNOVER_LABEL, text->TurnoverYtd);
    SetDlgItemTextA(dialog, IDT_ACT_TURNOVER, QlCustContext.third);
    SetDlgItemTextA(dialog, IDG_ACT_RANGE, text->TransRange);
    SetDlgItemTextA(dialog, IDT_ACT_FROM_LABEL, text->FromDate);
    SetDlgItemTextA(dialog, IDT_ACT_TO_LABEL, text->ToDate);
    SetDlgItemTextA(dialog, IDB_ACT_RELOAD, text->Reload);
}

static void SetUpColumns(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDL_ACT_LIST);
    const char *titles[QL_ACT_COLUMNS];
    for (int c = 0; c < QL_ACT_COLUMNS; c++) titles[c] = QlCustText()->ActivityColumns[c];
    int widths[QL_ACT_COLUMNS];
    QlListColumnWidths(list, kColumnWeights, QL_ACT_COLUMNS, widths, COLUMN_MARGIN);
    QlListSetColumns(list, titles, QL_ACT_COLUMNS, widths, 0, kColumnFormats);
}

static BOOL OnInitDialog(HWND dialog)
{
    sDialog = dialog;
    for (int i = 0; i < QL_ACT_CMD_COUNT; i++)
        snprintf(sToolbarItems[i].text, sizeof sToolbarItems[i].text, "%s", QlCustText()->ActivityToolbar[i]);
    sToolbar = QlToolbarCreate(QlUiInstance(), dialog, sToolbarItems, QL_ACT_CMD_COUNT, 1, 0);
    QlUiCenterWindow(dialog);
    SetTexts(dialog);
    QlCustAccountChosen = NULL;
    SendDlgItemMessageA(dialog, IDP_ACT_FROM, DTM_SETFORMATA, 0, (LPARAM) "d/MM/yyyy");
    SendDlgItemMessageA(dialog, IDP_ACT_TO, DTM_SETFORMATA, 0, (LPARAM) "d/MM/yyyy");
    FillCombo(dialog, IDC_ACT_DATES, QlCustText()->DateChoices, 2);
    FillCombo(dialog, IDC_ACT_TYPE, QlCustText()->TypeChoices, 6);
    FollowDateChoice(dialog);
    SetUpColumns(dialog);
    char acref[sizeof QlCustContext.acref];
    ContextAcRef(acref, sizeof acref);
    QlCustAccountLoad(dialog, IDL_ACT_LIST, acref, 0, 0, NULL, NULL, QL_ACT_COL_KEY);
    return TRUE;
}

static void View(HWND dialog)
{
    if (QlCustAccountViewTrans(dialog)) EndDialog(dialog, 0);
}

static void OnCommand(HWND dialog, int id, int code, HWND sender)
{
    // Enter and Escape arrive as IDOK (1) and IDCANCEL (2), which are also
    // the tool bar's View and Close: only the tool bar's own are its.
    int fromToolbar = sender && sender == sToolbar;
    if (fromToolbar) {
        switch (id) {
        case QL_ACT_CMD_PRINT: QlCustAccountPrint(dialog); return;
        case QL_ACT_CMD_VIEW: View(dialog); return;
        case QL_ACT_CMD_CLOSE: EndDialog(dialog, 0); return;
        }
        return;
    }
    switch (id) {
    case IDCANCEL: EndDialog(dialog, 0); return;
    case IDB_ACT_RELOAD: QlCustAccountApplyFilter(dialog, QL_ACT_COL_KEY); return;
    case IDC_ACT_DATES:
        if (code == CBN_SELCHANGE) FollowDateChoice(dialog);
        return;
    }
}

static void OnNotify(HWND dialog, const NMHDR *header)
{
    if (header->idFrom != IDL_ACT_LIST) return;
    if (header->code == LVN_GETDISPINFOA)
        OnGetDispInfo((NMLVDISPINFOA *)header);
    else if (header->code == LVN_COLUMNCLICK)
        QlCustAccountApplyFilter(dialog, ((const NMLISTVIEW *)header)->iSubItem);
    else if (header->code == NM_DBLCLK)
        View(dialog);
}

static INT_PTR OnCtlColorStatic(HWND dialog, HDC dc, HWND control)
{
    static const int kWhite[] = {IDT_ACT_BALANCE, IDT_ACT_TURNOVER, IDT_ACT_ACREF};
    for (int id : kWhite) {
        if (control != GetDlgItem(dialog, id)) continue;
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
    }
    return FALSE;
}

static void OnDestroy(HWND dialog)
{
    if (sDialog != dialog) return;
    QlToolbarDestroy(sToolbar, sToolbarItems, QL_ACT_CMD_COUNT);
    sToolbar = NULL;
    sDialog = NULL;
    // A load still running keeps no more rows; the view's rows go, and so
    // does the memory they took.
    sLoadSerial++;
    FreeRows(&sShown);
    FreeRows(&sLoad);
    QlPlatformReleaseFreedMemory();
}

INT_PTR CALLBACK QlCustAccountDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam), (HWND)lParam); return TRUE;
    case WM_NOTIFY: OnNotify(dialog, (const NMHDR *)lParam); return FALSE;
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(dialog, (HDC)wParam, (HWND)lParam);
    case WM_DESTROY: OnDestroy(dialog); return TRUE;
    }
    return FALSE;
}
