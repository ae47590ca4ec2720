// The customers module window (dialog 120).
//
// The accounts live in memory: a load reads every enabled account into an
// array, with its balance from one grouped query of all the invoices, and
// both list views (LVS_OWNERDATA) ask for the cells they draw
// (LVN_GETDISPINFO).  Each list shows the accounts through an order of its
// own, an index over the array: a sort by A/C ref, company or row id orders
// both, a sort by balance the overview only.
//
// A load runs the message pump now and then, so the user can click, sort,
// close the window or open another module while the accounts come in; the
// lists show the rows read so far each time the pump runs.  Every load has a
// serial number: a load that another one replaced (a re-opened module) or
// whose window went away stops adding rows, and only the newest load
// finishes its work on the lists.  A sort asked for during the load is
// carried out when the accounts are in.
//
// The form shows one account, whatever chose it (a click, the keyboard, find,
// a sort, a new account, a delete); Save and Delete act on that account.

#include "customers/QlCustModule.h"

#include "customers/QlCustCommands.h"
#include "customers/QlCustOpeners.h"
#include "customers/QlCustTexts.h"

#include "ui/QlAppState.h"
#include "print/QlFields.h"
#include "ui/QlLayout.h"
#include "core/QlMoney.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlOpeners.h"
#include "docmodel/QlTransSums.h"
#include "resources/QlResIds.h"
#include "settings/QlLangDlg.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <ctype.h>
#include <stdlib.h>
#include <stdio.h>
#include <string.h>

// clang-format off
QlToolbarItem QlCustToolbarTable[QL_CUST_CMD_COUNT] = {
    {IDBMP_NEW, QL_CUST_CMD_NEW, NULL, "New"},
    {IDBMP_SAVE, QL_CUST_CMD_SAVE, NULL, "Save"},
    {IDBMP_DELETE, QL_CUST_CMD_DELETE, NULL, "Delete"},
    {IDBMP_QUOTE, QL_CUST_CMD_QUOTE, NULL, "Quote"},
    {IDBMP_INVOICE, QL_CUST_CMD_INVOICE, NULL, "Invoice"},
    {IDBMP_CREDIT, QL_CUST_CMD_CREDIT, NULL, "Credit"},
    {IDBMP_PAY, QL_CUST_CMD_PAY, NULL, " Pay "},
    {IDBMP_ACTIVITY, QL_CUST_CMD_ACTIVITY, NULL, "Activity"},
    {IDBMP_STATEMENT, QL_CUST_CMD_STATEMENT, NULL, "Statmt"},
    {IDBMP_LABELS, QL_CUST_CMD_LABELS, NULL, "Labels"},
    {IDBMP_LETTERS, QL_CUST_CMD_LETTERS, NULL, "Letters"},
    {IDBMP_PRINT, QL_CUST_CMD_PRINT, NULL, "Print"},
    {IDBMP_EXPORT, QL_CUST_CMD_EXPORT, NULL, "Export"},
    {IDBMP_CLOSE, QL_CUST_CMD_CLOSE, NULL, "Close"},
};

// The row-id columns are kept at no width; the shown ones leave room for a
// vertical scroll bar, so that no horizontal one is needed.
QlListColumnTable QlCustOverviewColumns = {IDL_CUST_OVERVIEW, NULL, 4, {
    {19, LVCFMT_LEFT, "A/C Ref"},
    {53, LVCFMT_LEFT, "Company Name"},
    {24, LVCFMT_LEFT, "Balance"},
    {0, LVCFMT_LEFT, "Row Id"},
}};

QlListColumnTable QlCustNameColumns = {IDL_CUST_NAMES, NULL, 2, {
    {92, LVCFMT_LEFT, "Company Name"},
    {0, LVCFMT_LEFT, "Row Id"},
}};
// clang-format on

enum { COL_ACREF, COL_COMPANY, COL_BALANCE, COL_KEY };

// The find edits and the form: disabled while there is no account.
static const int kFormIds[] = {IDE_CUST_FIND_ACREF, IDE_CUST_FIND_COMPANY, IDE_CUST_COMPANY, IDE_CUST_ADDR1,
                               IDE_CUST_ADDR2,      IDE_CUST_ADDR3,        IDE_CUST_CONTACT, IDE_CUST_TEL,
                               IDE_CUST_FAX,        IDE_CUST_MOBILE,       IDE_CUST_EMAIL,   IDB_CUST_APPLY_DISCOUNT,
                               IDC_CUST_DISCOUNT,   IDB_CUST_APPLY_TAX,    IDC_CUST_RATE,    0};

// The form block, which the maximised layout moves down as one piece.
static const int kFormBlock[] = {
    IDE_CUST_COMPANY,        IDE_CUST_ADDR1,         IDE_CUST_ADDR2,       IDE_CUST_ADDR3,
    IDE_CUST_CONTACT,        IDE_CUST_TEL,           IDE_CUST_FAX,         IDE_CUST_MOBILE,
    IDE_CUST_EMAIL,          IDB_CUST_APPLY_DISCOUNT, IDC_CUST_DISCOUNT,   IDB_CUST_APPLY_TAX,
    IDC_CUST_RATE,           IDT_CUST_COMPANY_LABEL, IDT_CUST_ADDR1_LABEL, IDT_CUST_ADDR2_LABEL,
    IDT_CUST_ADDR3_LABEL,    IDT_CUST_CONTACT_LABEL, IDT_CUST_TEL_LABEL,   IDT_CUST_MOBILE_LABEL,
    IDT_CUST_EMAIL_LABEL,    IDT_CUST_FAX_LABEL,     IDT_CUST_ACREF_LABEL, IDT_CUST_ACREF,
    IDT_CUST_BALANCE_LABEL,  IDT_CUST_BALANCE,       IDT_CUST_FORM_TITLE,
};

// Edit limits of the find box and the form.
static const struct {
    int id;
    int limit;
} kEditLimits[] = {
    {IDE_CUST_FIND_ACREF, 5}, {IDE_CUST_FIND_COMPANY, 40}, {IDE_CUST_ADDR1, 39}, {IDE_CUST_ADDR2, 39},
    {IDE_CUST_ADDR3, 39},     {IDE_CUST_CONTACT, 39},      {IDE_CUST_TEL, 24},   {IDE_CUST_MOBILE, 24},
    {IDE_CUST_FAX, 24},       {IDE_CUST_EMAIL, 79},
};

#define HEADING_COLOUR RGB(128, 0, 0)
#define LIST_RIGHT_MARGIN 10

// One listed account.
struct CustRow {
    int64_t key;
    int64_t balance;   // cents
    char acref[sizeof ((QlCustRec *)0)->acref];
    char company[sizeof ((QlCustRec *)0)->company];
};

// Module state: it outlives the window.
static int sModuleOpen;
static HWND sModule;
static HWND sToolbar;
static HWND sHeading;
static int sRememberedRow;          // last row chosen, in either list
static int64_t sRememberedKey;      // and its account
static int64_t sShownKey;           // the account the form shows, 0 for none

// The accounts of the open window: every row read or added (a deleted one
// stays in the array), and the two lists' orders over them.
static CustRow *sRows;
static int sRowCount, sRowCapacity;
static int32_t *sOverviewOrder, *sNamesOrder;
static int sListed;                 // rows of each list

static int sSortFlags[4];           // per overview column: 1 ascending (balance: largest first) next
static int sQuiet;                  // selections made by the module itself: not followed

static HWND sLoadWindow;            // the window whose load is running
static HWND sLoadOverview;          // and its two lists
static HWND sLoadNames;
static unsigned sLoadSerial;
static const QlCustBalanceRec *sLoadBalances;
static int sLoadBalanceCount;
static int sPendingTextSort = -1;   // a sort by column 0, 1 or 3 met during a load
static int sPendingBalanceSort;     // a sort by balance met during a load, after it
static int sLoadOutOfMemory;        // a row of the load could not be kept

// ---------------------------------------------------------------------------
// The rows

static void FreeRows(void)
{
    free(sRows);
    free(sOverviewOrder);
    free(sNamesOrder);
    sRows = NULL;
    sOverviewOrder = sNamesOrder = NULL;
    sRowCount = sRowCapacity = sListed = 0;
}

static void CopyText(char *field, size_t width, const char *text)
{
    size_t length = strnlen(text, width - 1);
    memcpy(field, text, length);
    field[length] = '\0';
}

// Appends the account at the end of both lists; its row, -1 when memory ran
// out.
static int AppendRow(const QlCustRec *rec, int64_t balance)
{
    if (sRowCount == sRowCapacity) {
        int capacity = sRowCapacity ? sRowCapacity * 2 : 1024;
        CustRow *rows = (CustRow *)realloc(sRows, (size_t)capacity * sizeof *rows);
        if (rows) sRows = rows;
        int32_t *overview = rows ? (int32_t *)realloc(sOverviewOrder, (size_t)capacity * sizeof *overview) : NULL;
        if (overview) sOverviewOrder = overview;
        int32_t *names = overview ? (int32_t *)realloc(sNamesOrder, (size_t)capacity * sizeof *names) : NULL;
        if (!names) return -1;
        sNamesOrder = names;
        sRowCapacity = capacity;
    }
    CustRow *row = &sRows[sRowCount];
    row->key = rec->iKey;
    row->balance = balance;
    CopyText(row->acref, sizeof row->acref, rec->acref);
    CopyText(row->company, sizeof row->company, rec->company);
    sOverviewOrder[sListed] = sRowCount;
    sNamesOrder[sListed] = sRowCount;
    sRowCount++;
    return sListed++;
}

static const CustRow *OverviewRow(int row)
{
    return row >= 0 && row < sListed ? &sRows[sOverviewOrder[row]] : NULL;
}

static const CustRow *NamesRow(int row)
{
    return row >= 0 && row < sListed ? &sRows[sNamesOrder[row]] : NULL;
}

static int FindInOrder(const int32_t *order, int64_t key)
{
    for (int row = 0; row < sListed; row++)
        if (sRows[order[row]].key == key) return row;
    return -1;
}

static CustRow *RowOfKey(int64_t key)
{
    for (int i = 0; i < sRowCount; i++)
        if (sRows[i].key == key) return &sRows[i];
    return NULL;
}

// The row counts of both lists: the rows so far while a load runs.
static void ShowCounts(HWND overview, HWND names)
{
    SendMessageA(overview, LVM_SETITEMCOUNT, sListed, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    SendMessageA(names, LVM_SETITEMCOUNT, sListed, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

// ---------------------------------------------------------------------------
// Sorting

static int sCompareColumn;
static int sCompareDescending;

static int Order(int64_t a, int64_t b)
{
    return a < b ? -1 : a > b;
}

static int CompareRows(const void *left, const void *right)
{
    const CustRow *a = &sRows[*(const int32_t *)left];
    const CustRow *b = &sRows[*(const int32_t *)right];
    int order;
    switch (sCompareColumn) {
    case COL_ACREF: order = strcmp(a->acref, b->acref); break;
    case COL_COMPANY: order = strcmp(a->company, b->company); break;
    case COL_BALANCE: order = Order(a->balance, b->balance); break;
    default: order = Order(a->key, b->key); break;
    }
    if (order == 0 && sCompareColumn != COL_KEY) return Order(a->key, b->key);   // equal ones by row id
    return sCompareDescending ? -order : order;
}

static void SortOrder(int32_t *order, int column, int descending)
{
    sCompareColumn = column;
    sCompareDescending = descending;
    if (sListed > 1) qsort(order, (size_t)sListed, sizeof *order, CompareRows);
}

// ---------------------------------------------------------------------------
// List helpers

int QlCustListSelected(HWND list)
{
    return (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

void QlCustListSelect(HWND list, int row)
{
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&item);
    SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
}

void QlCustPickerText(HWND dialog, int id, const char *format, char *text, int size)
{
    SYSTEMTIME st;
    text[0] = '\0';
    if (SendDlgItemMessageA(dialog, id, DTM_GETSYSTEMTIME, 0, (LPARAM)&st) != GDT_VALID ||
        !GetDateFormatA(LOCALE_USER_DEFAULT, 0, &st, format, text, size))
        text[0] = '\0';
}

int QlCustPickerDate(HWND dialog, int id, QlDateRec *date)
{
    SYSTEMTIME st;
    memset(date, 0, sizeof *date);
    if (SendDlgItemMessageA(dialog, id, DTM_GETSYSTEMTIME, 0, (LPARAM)&st) != GDT_VALID) return 0;
    date->day = st.wDay;
    date->month = st.wMonth;
    date->year = st.wYear;
    return 1;
}

void QlCustSetPickerDate(HWND dialog, int id, const QlDateRec *date)
{
    SYSTEMTIME st;
    memset(&st, 0, sizeof st);
    st.wDay = (WORD)date->day;
    st.wMonth = (WORD)date->month;
    st.wYear = (WORD)date->year;
    SendDlgItemMessageA(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
}

int QlCustListAppend(HWND list, const char *text, LPARAM data)
{
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = 0x7FFFFFFF;
    item.pszText = (char *)text;
    item.lParam = data;
    return (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
}

int QlCustListAppendKey(HWND list, int64_t key)
{
    char text[24];
    snprintf(text, sizeof text, QL_I64, key);
    return QlCustListAppend(list, text, 1);
}

// A selection the module makes itself: the form is shown by the caller.
static void SelectQuietly(HWND list, int row)
{
    sQuiet++;
    QlCustListSelect(list, row);
    sQuiet--;
}

// No row selected: the one that is, cleared (the list keeps its index when
// the rows under it are reordered).
static void ClearSelection(HWND list)
{
    int row = QlCustListSelected(list);
    if (row < 0) return;
    LVITEMA none;
    memset(&none, 0, sizeof none);
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    sQuiet++;
    SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&none);
    sQuiet--;
}

static void Redraw(HWND module)
{
    InvalidateRect(GetDlgItem(module, IDL_CUST_OVERVIEW), NULL, TRUE);
    InvalidateRect(GetDlgItem(module, IDL_CUST_NAMES), NULL, TRUE);
}

// ---------------------------------------------------------------------------
// The cells

static void OverviewCell(const CustRow *row, int column, char *out, int size)
{
    switch (column) {
    case COL_ACREF: snprintf(out, size, "%s", row->acref); return;
    case COL_COMPANY: snprintf(out, size, "%s", row->company); return;
    case COL_BALANCE: QlMoneyFormatCents(row->balance, out, (size_t)size); return;
    case COL_KEY: snprintf(out, size, QL_I64, row->key); return;
    default: out[0] = '\0'; return;
    }
}

static void NamesCell(const CustRow *row, int column, char *out, int size)
{
    if (column == 0)
        snprintf(out, size, "%s", row->company);
    else if (column == QL_CUST_NAMES_KEY_COLUMN)
        snprintf(out, size, QL_I64, row->key);
    else
        out[0] = '\0';
}

static void OnGetDispInfo(int listId, NMLVDISPINFOA *info)
{
    if (!(info->item.mask & LVIF_TEXT) || !info->item.pszText || info->item.cchTextMax <= 0) return;
    const CustRow *row = listId == IDL_CUST_OVERVIEW ? OverviewRow(info->item.iItem) : NamesRow(info->item.iItem);
    if (!row)
        info->item.pszText[0] = '\0';
    else if (listId == IDL_CUST_OVERVIEW)
        OverviewCell(row, info->item.iSubItem, info->item.pszText, info->item.cchTextMax);
    else
        NamesCell(row, info->item.iSubItem, info->item.pszText, info->item.cchTextMax);
}

// The first column's texts, for finds of the lists (typing in them).
static const char *OverviewFindText(int row)
{
    const CustRow *r = OverviewRow(row);
    return r ? r->acref : NULL;
}

static const char *NamesFindText(int row)
{
    const CustRow *r = NamesRow(row);
    return r ? r->company : NULL;
}

// ---------------------------------------------------------------------------
// Rows added and removed by the commands

int QlCustModuleAddAccount(const QlCustRec *rec)
{
    if (!sModule) return -1;
    int64_t units;
    int cents;
    QlTransSumCustBalance(&units, &cents, rec);
    int row = AppendRow(rec, units * 100 + cents);
    if (row < 0) return -1;
    HWND overview = GetDlgItem(sModule, IDL_CUST_OVERVIEW), names = GetDlgItem(sModule, IDL_CUST_NAMES);
    ShowCounts(overview, names);
    SelectQuietly(names, row);
    SelectQuietly(overview, row);
    Redraw(sModule);
    return row;
}

void QlCustModuleAccountChanged(const QlCustRec *rec)
{
    CustRow *row = sModule ? RowOfKey(rec->iKey) : NULL;
    if (!row) return;
    CopyText(row->acref, sizeof row->acref, rec->acref);
    CopyText(row->company, sizeof row->company, rec->company);
    Redraw(sModule);
}

static void RemoveFromOrder(int32_t *order, int row)
{
    memmove(order + row, order + row + 1, (size_t)(sListed - row - 1) * sizeof *order);
}

int QlCustModuleRemoveAccount(int64_t key)
{
    if (!sModule) return -1;
    int namesRow = FindInOrder(sNamesOrder, key);
    int overviewRow = FindInOrder(sOverviewOrder, key);
    if (namesRow < 0 || overviewRow < 0) return -1;
    HWND overview = GetDlgItem(sModule, IDL_CUST_OVERVIEW), names = GetDlgItem(sModule, IDL_CUST_NAMES);
    ClearSelection(overview);
    ClearSelection(names);
    RemoveFromOrder(sNamesOrder, namesRow);
    RemoveFromOrder(sOverviewOrder, overviewRow);
    sListed--;
    ShowCounts(overview, names);
    Redraw(sModule);
    return namesRow;
}

int64_t QlCustShownKey(void)
{
    return sModule ? sShownKey : 0;
}

int QlCustModuleRowCount(void)
{
    return sModule ? sListed : 0;
}

int64_t QlCustModuleNamesKey(int row)
{
    const CustRow *r = sModule ? NamesRow(row) : NULL;
    return r ? r->key : 0;
}

// ---------------------------------------------------------------------------
// Loading

int QlCustListRowCb(const QlCustRec *rec)
{
    if (!sLoadWindow) return 0;   // the load was given up: its other rows are passed over
    if (AppendRow(rec, QlTransFindCustBalance(sLoadBalances, sLoadBalanceCount, rec->iKey)) < 0) sLoadOutOfMemory = 1;
    if (QlUiPumpMessages() == 0) return 0;
    // The pump ran: the lists show what is in so far, unless it ended the
    // load (the window closed, or another load took over).
    if (sLoadWindow) ShowCounts(sLoadOverview, sLoadNames);
    return 0;
}

static void SetListsRedraw(HWND module, BOOL redraw)
{
    static const int kLists[] = {IDL_CUST_OVERVIEW, IDL_CUST_NAMES};
    for (int id : kLists) {
        HWND list = GetDlgItem(module, id);
        SendMessageA(list, WM_SETREDRAW, redraw, 0);
        if (redraw) InvalidateRect(list, NULL, TRUE);
    }
}

// Both lists ordered by the text or key column in the column's direction.
static void SortByColumn(int column)
{
    SortOrder(sNamesOrder, column, !sSortFlags[column]);
    if (sListed) memcpy(sOverviewOrder, sNamesOrder, (size_t)sListed * sizeof *sOverviewOrder);
}

// The overview by balance, the largest first when the flag is 1; the account
// selected there stays selected.
static void SortByBalance(HWND module)
{
    HWND overview = GetDlgItem(module, IDL_CUST_OVERVIEW);
    const CustRow *selected = OverviewRow(QlCustListSelected(overview));
    int64_t key = selected ? selected->key : 0;
    ClearSelection(overview);
    SortOrder(sOverviewOrder, COL_BALANCE, sSortFlags[COL_BALANCE]);
    int row = key ? FindInOrder(sOverviewOrder, key) : -1;
    if (row >= 0) SelectQuietly(overview, row);
    InvalidateRect(overview, NULL, TRUE);
}

// Empties both lists and fills them with every enabled account.  1 when the
// accounts were read, 0 when a query failed (err set); -1 when the load was
// given up because the window closed or another load started while rows
// were coming in.
static int LoadLists(HWND module, char *err)
{
    unsigned serial = ++sLoadSerial;
    sLoadWindow = module;
    sLoadOverview = GetDlgItem(module, IDL_CUST_OVERVIEW);
    sLoadNames = GetDlgItem(module, IDL_CUST_NAMES);
    sPendingTextSort = -1;
    sPendingBalanceSort = 0;
    sLoadOutOfMemory = 0;
    FreeRows();
    ShowCounts(sLoadOverview, sLoadNames);

    QlCustBalanceRec *balances = NULL;
    int balanceCount = 0;
    if (!QlTransSumAllCustBalances(&balances, &balanceCount, err)) {
        sLoadWindow = NULL;
        return 0;
    }
    sLoadBalances = balances;
    sLoadBalanceCount = balanceCount;
    // The lists are drawn once, when they are whole.
    SetListsRedraw(module, FALSE);
    int ok = QlCustEnum(QlCustListRowCb, err);
    free(balances);
    if (serial != sLoadSerial || !IsWindow(module)) return -1;
    sLoadWindow = NULL;
    sLoadBalances = NULL;
    sLoadBalanceCount = 0;
    if (ok && sLoadOutOfMemory) {
        QlDbSetError(err, "Out of memory");
        ok = 0;
    }
    if (sPendingTextSort >= 0) SortByColumn(sPendingTextSort);
    ShowCounts(sLoadOverview, sLoadNames);
    if (sPendingBalanceSort) SortByBalance(module);
    sPendingTextSort = -1;
    sPendingBalanceSort = 0;
    SetListsRedraw(module, TRUE);
    return ok;
}

// ---------------------------------------------------------------------------
// The form

static void SetText(HWND dialog, int id, const char *text)
{
    SetDlgItemTextA(dialog, id, text);
}

static void FollowCheck(HWND module, int checkId, int listId)
{
    EnableWindow(GetDlgItem(module, listId), IsDlgButtonChecked(module, checkId) == BST_CHECKED);
}

void QlCustShowRecord(HWND module, const QlCustRec *rec)
{
    if (!rec) return;
    SetText(module, IDE_CUST_COMPANY, rec->company);
    SetText(module, IDE_CUST_CONTACT, rec->contact);
    SetText(module, IDE_CUST_TEL, rec->worktel);
    SetText(module, IDE_CUST_MOBILE, rec->mobtel);
    SetText(module, IDE_CUST_FAX, rec->fax);
    SetText(module, IDE_CUST_EMAIL, rec->wemail);
    SetText(module, IDE_CUST_ADDR1, rec->addr1);
    SetText(module, IDE_CUST_ADDR2, rec->addr2);
    SetText(module, IDE_CUST_ADDR3, rec->addr3);
    SetText(module, IDT_CUST_ACREF, rec->acref);

    int64_t units;
    int cents;
    QlTransSumCustBalance(&units, &cents, rec);
    char balance[32];
    QlMoneyFormatCents(units * 100 + cents, balance, sizeof balance);
    SetText(module, IDT_CUST_BALANCE, balance);
    if (module == sModule) {
        // The form's account; its list rows show the balance just read.
        sShownKey = rec->iKey;
        CustRow *row = rec->iKey ? RowOfKey(rec->iKey) : NULL;
        if (row && row->balance != units * 100 + cents) {
            row->balance = units * 100 + cents;
            InvalidateRect(GetDlgItem(module, IDL_CUST_OVERVIEW), NULL, FALSE);
        }
    }

    SendDlgItemMessageA(module, IDC_CUST_DISCOUNT, CB_SETCURSEL, rec->discount < 100 ? rec->discount : -1, 0);
    CheckDlgButton(module, IDB_CUST_APPLY_DISCOUNT, rec->apply_discount ? BST_CHECKED : BST_UNCHECKED);
    FollowCheck(module, IDB_CUST_APPLY_DISCOUNT, IDC_CUST_DISCOUNT);
    SendDlgItemMessageA(module, IDC_CUST_RATE, CB_SETCURSEL, rec->vat_rate_index < QL_RATE_COUNT ? rec->vat_rate_index : -1,
                        0);
    CheckDlgButton(module, IDB_CUST_APPLY_TAX, rec->apply_tax ? BST_CHECKED : BST_UNCHECKED);
    FollowCheck(module, IDB_CUST_APPLY_TAX, IDC_CUST_RATE);
}

void QlCustTellPartial(HWND owner, const char *acref)
{
    char message[512];
    snprintf(message, sizeof message, QlCustText()->PartialRow, acref);
    QlMsgBox(owner, QlCustText()->PartialCaption, message, QL_COLOUR_WARNING);
}

void QlCustEnableForm(HWND module, int enable)
{
    QlUiEnableList(module, kFormIds, enable);
    if (!enable) return;
    FollowCheck(module, IDB_CUST_APPLY_DISCOUNT, IDC_CUST_DISCOUNT);
    FollowCheck(module, IDB_CUST_APPLY_TAX, IDC_CUST_RATE);
}

// Reads the account and shows it; 0 when it no longer reads (disabled
// meanwhile): then nothing changes.
static int ShowAccount(HWND module, int64_t key)
{
    char err[QL_DB_ERR_SIZE];
    QlCustRec rec;
    if (!key || !QlCustGetByRowId(key, &rec, err)) return 0;
    int partial = QlDbRowPartial();
    QlCustShowRecord(module, &rec);
    // Told once while the account stays shown (a click both selects and
    // clicks the row).
    static int64_t toldKey;
    if (partial && toldKey != key) QlCustTellPartial(module, rec.acref);
    toldKey = partial ? key : 0;
    return 1;
}

static void Remember(int row, int64_t key)
{
    sRememberedRow = row;
    sRememberedKey = key;
}

// ---------------------------------------------------------------------------
// Creation

static void FillDiscountList(HWND dialog)
{
    HWND combo = GetDlgItem(dialog, IDC_CUST_DISCOUNT);
    for (int i = 0; i < 100; i++)
        if (QlPercentTextTable[i]) SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)QlPercentTextTable[i]);
}

static void CopyTitle(QlListColumn *column, const char *text)
{
    snprintf(column->title, sizeof column->title, "%s", text);
}

static void ApplyColumnTitles(void)
{
    const QlCustTextRec *text = QlCustText();
    CopyTitle(&QlCustOverviewColumns.columns[COL_ACREF], text->AcRef);
    CopyTitle(&QlCustOverviewColumns.columns[COL_COMPANY], text->Company);
    CopyTitle(&QlCustOverviewColumns.columns[COL_BALANCE], text->Balance);
    CopyTitle(&QlCustNameColumns.columns[0], text->Company);
}

// Selects and shows the account selected when the window was last left: the
// same account when it is still listed, else the row at the same index.
static void SelectRemembered(HWND module)
{
    HWND names = GetDlgItem(module, IDL_CUST_NAMES);
    int row = sRememberedKey ? FindInOrder(sNamesOrder, sRememberedKey) : -1;
    if (row < 0) row = sRememberedRow >= 0 && sRememberedRow < sListed ? sRememberedRow : 0;
    SelectQuietly(names, row);
    const CustRow *r = NamesRow(row);
    if (!r || !ShowAccount(module, r->key)) return;
    int overviewRow = FindInOrder(sOverviewOrder, r->key);
    if (overviewRow >= 0) SelectQuietly(GetDlgItem(module, IDL_CUST_OVERVIEW), overviewRow);
}

static void LayoutMaximised(HWND module);

static BOOL OnInitDialog(HWND module)
{
    sModule = module;
    sModuleOpen = 1;
    sShownKey = 0;
    // Any other opener running while the lists load closes this window.
    QlModuleWnd = module;

    QlUiFitPane(module);
    QlLangSetDlgTexts(module, QlCustToolbarTable);
    ApplyColumnTitles();
    sToolbar = QlToolbarCreate(QlUiInstance(), module, QlCustToolbarTable, QL_CUST_CMD_COUNT, 1, 1);
    if (QlLangIndex(QlSettings.cfg.language) == QL_LANG_FRENCH)
        SetText(module, IDT_CUST_COMPANY_LABEL, QlCustText()->Company);

    sHeading = QlUiCreateStatic(QlUiInstance(), module, 0, 0, 650, 20, 0, 1);
    if (QlFontBold12) SendMessageA(sHeading, WM_SETFONT, (WPARAM)QlFontBold12, FALSE);
    QlUiSetText(sHeading, QlCustText()->Heading);
    QlUiStretchRight(sHeading, 0);

    SendDlgItemMessageA(module, IDE_CUST_COMPANY, EM_LIMITTEXT, 39, 0);
    QlUiStretchItemRight(module, IDL_CUST_OVERVIEW, LIST_RIGHT_MARGIN);
    QlListSetupFromTable(module, &QlCustOverviewColumns);
    QlListSetupFromTable(module, &QlCustNameColumns);
    FillDiscountList(module);
    QlUiComboFill(module, QlRateTextPtrs, IDC_CUST_RATE, -1);

    char err[QL_DB_ERR_SIZE] = "";
    int loaded = LoadLists(module, err);
    if (!IsWindow(module)) return FALSE;   // closed, or replaced, while it loaded
    if (loaded == 0) {
        QlSeamMessageBox(module, err, "Failed to load customer database", MB_OK);
        return TRUE;
    }

    if (sListed > 0)
        SelectRemembered(module);
    else
        QlCustEnableForm(module, 0);

    for (const auto &limit : kEditLimits) SendDlgItemMessageA(module, limit.id, EM_LIMITTEXT, limit.limit, 0);
    PostMessageA(GetDlgItem(module, IDE_CUST_COMPANY), EM_SETSEL, (WPARAM)-1, 0);

    HWND main = QlMainWnd ? QlMainWnd : GetParent(module);
    if (main && IsZoomed(main)) LayoutMaximised(module);
    return TRUE;
}

HWND QlCustOpenModule(HWND parent)
{
    QlUiDestroyModule();
    HWND module = QlUiCreateModeless(QlUiInstance(), parent, QlCustModuleDlgProc, IDD_CUST_MODULE);
    if (!module || !IsWindow(module)) return NULL;
    QlModuleWnd = module;
    return module;
}

void QlCustModuleForget(void)
{
    Remember(0, 0);
    memset(sSortFlags, 0, sizeof sSortFlags);
}

int QlCustModuleIsOpen(void)
{
    return sModuleOpen;
}

HWND QlCustModuleRestore(HWND module)
{
    int row = QlCustListSelected(GetDlgItem(module, IDL_CUST_NAMES));
    const CustRow *r = module == sModule ? NamesRow(row) : NULL;
    if (r) Remember(row, r->key);
    return QlCustOpenModule(GetParent(module));
}

// ---------------------------------------------------------------------------
// Layout

static int Top(HWND module, int id)
{
    int top = 0;
    QlUiGetRectInParent(GetDlgItem(module, id), NULL, NULL, &top, NULL);
    return top;
}

static int Bottom(HWND module, int id)
{
    int top = 0, height = 0;
    QlUiGetRectInParent(GetDlgItem(module, id), NULL, &height, &top, NULL);
    return top + height;
}

static void SetItemHeight(HWND module, int id, int bottom)
{
    HWND item = GetDlgItem(module, id);
    int left, top, width, height;
    QlUiGetRectInParent(item, &width, &height, &top, &left);
    MoveWindow(item, left, top, width, bottom > top ? bottom - top : 0, TRUE);
}

// From the main tool bar down to the language bar, the module's tool bar at
// its bottom, the form block level with the bottom of the name list.
static void LayoutMaximised(HWND module)
{
    QlUiFillBelowToolbar(module);
    RECT client;
    GetClientRect(module, &client);

    int barHeight = 0;
    if (sToolbar) {
        int barWidth;
        SendMessageA(sToolbar, TB_AUTOSIZE, 0, 0);
        QlUiGetRectInParent(sToolbar, &barWidth, &barHeight, NULL, NULL);
        MoveWindow(sToolbar, 0, client.bottom - barHeight, barWidth, barHeight, TRUE);
        QlUiStretchRight(sToolbar, 0);
    }

    QlUiStretchItemRight(module, IDL_CUST_OVERVIEW, LIST_RIGHT_MARGIN);
    int namesBottom = client.bottom - (barHeight + 5);
    SetItemHeight(module, IDL_CUST_NAMES, namesBottom);

    int formTop = Top(module, IDE_CUST_COMPANY);
    int formHeight = Bottom(module, IDC_CUST_DISCOUNT) - formTop;
    int dy = (namesBottom - formHeight) - formTop;
    for (int id : kFormBlock) {
        HWND item = GetDlgItem(module, id);
        int left, top;
        QlUiGetRectInParent(item, NULL, NULL, &top, &left);
        if (item) QlUiMoveWindow(item, left, top + dy);
    }

    SetItemHeight(module, IDL_CUST_OVERVIEW, client.bottom - (barHeight + formHeight + 10));
    if (sHeading) QlUiStretchRight(sHeading, 0);
    QlListResizeColumns(module, &QlCustOverviewColumns);
}

// ---------------------------------------------------------------------------
// Clicks, find and sorting

// The overview's row chosen (clicked, moved to with the keyboard, found):
// its account shown, remembered and selected in the name list too.
static void ShowOverviewRow(HWND module, int row)
{
    const CustRow *r = OverviewRow(row);
    if (!r) return;
    int64_t key = r->key;
    if (!ShowAccount(module, key)) return;
    Remember(row, key);
    int nameRow = FindInOrder(sNamesOrder, key);
    if (nameRow >= 0) SelectQuietly(GetDlgItem(module, IDL_CUST_NAMES), nameRow);
}

static void ShowNamesRow(HWND module, int row)
{
    const CustRow *r = NamesRow(row);
    if (!r) return;
    int64_t key = r->key;
    if (!ShowAccount(module, key)) return;
    Remember(row, key);
    int overviewRow = FindInOrder(sOverviewOrder, key);
    if (overviewRow >= 0) SelectQuietly(GetDlgItem(module, IDL_CUST_OVERVIEW), overviewRow);
}

// The A/C ref exactly, else the first company that contains the text.
static void OnFind(HWND module)
{
    char acref[6] = "";
    char company[41] = "";
    GetDlgItemTextA(module, IDE_CUST_FIND_ACREF, acref, sizeof acref);
    GetDlgItemTextA(module, IDE_CUST_FIND_COMPANY, company, sizeof company);
    int found = -1;
    for (int row = 0; acref[0] && found < 0 && row < sListed; row++)
        if (strcmp(OverviewRow(row)->acref, acref) == 0) found = row;
    size_t length = strlen(company);
    for (int row = 0; length && found < 0 && row < sListed; row++) {
        const char *text = OverviewRow(row)->company;
        if (strlen(text) >= length && strstr(text, company)) found = row;
    }
    if (found < 0) return;
    SelectQuietly(GetDlgItem(module, IDL_CUST_OVERVIEW), found);
    ShowOverviewRow(module, found);
}

static void OnColumnClick(HWND module, int column)
{
    if (column < 0 || column >= (int)ARRAYSIZE(sSortFlags)) return;
    sSortFlags[column] = !sSortFlags[column];
    if (sLoadWindow == module) {
        // Carried out once every row is in, in the order they were asked for.
        if (column == COL_BALANCE) {
            sPendingBalanceSort = 1;
        } else {
            sPendingTextSort = column;
            sPendingBalanceSort = 0;
        }
        return;
    }
    if (column == COL_BALANCE) {
        SortByBalance(module);
        return;
    }

    // Both lists in the new order, the first account of the name list shown.
    HWND overview = GetDlgItem(module, IDL_CUST_OVERVIEW), names = GetDlgItem(module, IDL_CUST_NAMES);
    ClearSelection(overview);
    ClearSelection(names);
    SortByColumn(column);
    Redraw(module);
    if (sListed == 0) return;
    SelectQuietly(names, 0);
    SelectQuietly(overview, 0);
    ShowAccount(module, NamesRow(0)->key);
}

// A row became the selected one, by the mouse, the keyboard or a test: the
// form follows.  The module's own selections are not followed (it shows what
// it selects itself).
static void OnItemChanged(HWND module, const NMLISTVIEW *change)
{
    if (sQuiet || sLoadWindow == module || !(change->uChanged & LVIF_STATE) ||
        !(change->uNewState & LVIS_SELECTED) || (change->uOldState & LVIS_SELECTED) || change->iItem < 0)
        return;
    if (change->hdr.idFrom == IDL_CUST_OVERVIEW)
        ShowOverviewRow(module, change->iItem);
    else
        ShowNamesRow(module, change->iItem);
}

// ---------------------------------------------------------------------------
// Messages

// A new document for the shown account, through the transactions' door.
static void OpenForCust(HWND (*open)(HWND customersModule), HWND module)
{
    if (open) open(module);
}

static void OnCommand(HWND module, int id, int code)
{
    switch (id) {
    case QL_CUST_CMD_NEW:
        if (sLoadWindow != module) QlCustAddCmd(module);   // a new row could be listed twice mid-load
        return;
    case QL_CUST_CMD_SAVE: QlCustUpdateCmd(module); return;
    case QL_CUST_CMD_DELETE:
        if (sLoadWindow != module) QlCustDeleteCmd(module);
        return;
    case QL_CUST_CMD_QUOTE: QlCustNewQuote(module); return;
    case QL_CUST_CMD_INVOICE: OpenForCust(QlModuleOpeners.invoiceForCust, module); return;
    case QL_CUST_CMD_CREDIT: OpenForCust(QlModuleOpeners.creditForCust, module); return;
    case QL_CUST_CMD_PAY: OpenForCust(QlModuleOpeners.paymentForCust, module); return;
    case QL_CUST_CMD_ACTIVITY: QlCustOpenAccount(module); return;
    case QL_CUST_CMD_STATEMENT: QlCustOpenStatement(module); return;
    case QL_CUST_CMD_LABELS: QlCustOpenLabel(module); return;
    case QL_CUST_CMD_LETTERS: QlCustOpenLetter(module); return;
    case QL_CUST_CMD_PRINT: QlCustPrintList(module); return;
    case QL_CUST_CMD_EXPORT: QlCustExportList(module); return;
    case QL_CUST_CMD_CLOSE: QlUiClosePane(module); return;
    case IDB_CUST_FIND: OnFind(module); return;
    case IDB_CUST_APPLY_DISCOUNT: FollowCheck(module, IDB_CUST_APPLY_DISCOUNT, IDC_CUST_DISCOUNT); return;
    case IDB_CUST_APPLY_TAX: FollowCheck(module, IDB_CUST_APPLY_TAX, IDC_CUST_RATE); return;
    }
}

static INT_PTR OnNotify(HWND module, const NMHDR *header)
{
    int listId = (int)header->idFrom;
    if (listId != IDL_CUST_OVERVIEW && listId != IDL_CUST_NAMES) return FALSE;
    HWND list = GetDlgItem(module, listId);
    switch (header->code) {
    case LVN_GETDISPINFOA: OnGetDispInfo(listId, (NMLVDISPINFOA *)header); return FALSE;
    case LVN_ODFINDITEMA:
    case LVN_ODFINDITEMW:
        SetWindowLongPtrA(module, DWLP_MSGRESULT,
                          QlListOwnerDataFind(header, sListed,
                                              listId == IDL_CUST_OVERVIEW ? OverviewFindText : NamesFindText));
        return TRUE;
    case LVN_ITEMCHANGED: OnItemChanged(module, (const NMLISTVIEW *)header); return FALSE;
    case LVN_COLUMNCLICK:
        if (listId == IDL_CUST_OVERVIEW) OnColumnClick(module, ((const NMLISTVIEW *)header)->iSubItem);
        return FALSE;
    case NM_CLICK: {
        // A click shows the account again, also when its row was selected.
        int row = QlCustListSelected(list);
        if (row < 0 || sLoadWindow == module) return FALSE;
        if (listId == IDL_CUST_OVERVIEW)
            ShowOverviewRow(module, row);
        else
            ShowNamesRow(module, row);
        return FALSE;
    }
    }
    return FALSE;
}

static INT_PTR OnCtlColorStatic(HWND module, HDC dc, HWND control)
{
    if (control && control == sHeading) {
        // Drawn over the module's own background, which fills what the
        // stretched heading uncovers.
        SetTextColor(dc, HEADING_COLOUR);
        SetBkMode(dc, TRANSPARENT);
        return (INT_PTR)GetSysColorBrush(COLOR_BTNFACE);
    }
    if (control == GetDlgItem(module, IDT_CUST_ACREF) || control == GetDlgItem(module, IDT_CUST_BALANCE)) {
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
    }
    return FALSE;
}

static void OnDestroy(HWND module)
{
    if (sLoadWindow == module) sLoadWindow = NULL;
    if (QlModuleWnd == module) QlModuleWnd = NULL;
    if (sModule != module) return;
    QlToolbarDestroy(sToolbar, QlCustToolbarTable, QL_CUST_CMD_COUNT);
    sToolbar = NULL;
    sHeading = NULL;
    sModuleOpen = 0;
    sModule = NULL;
    sShownKey = 0;
    FreeRows();
}

INT_PTR CALLBACK QlCustModuleDlgProc(HWND module, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(module);
    case WM_COMMAND: OnCommand(module, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_NOTIFY: return OnNotify(module, (const NMHDR *)lParam);
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(module, (HDC)wParam, (HWND)lParam);
    case QL_WM_MAIN_MAXIMIZED: LayoutMaximised(module); return TRUE;
    case QL_WM_MAIN_RESTORED: QlCustModuleRestore(module); return TRUE;
    case WM_CLOSE: return TRUE;   // not a command: the dialog manager would make it IDCANCEL (Delete)
    case WM_DESTROY: OnDestroy(module); return TRUE;
    }
    return FALSE;
}
