// The customers module window (dialog 120).
//
// Both lists hold every enabled account.  Each overview row carries a slot
// number as its item data; the slot's entry of the balance table holds the
// account's balance in cents, which the balance column sorts by.  The table
// and the pool of free slots start at 2000 entries and grow when a load needs
// more.
//
// A load runs the message pump once per row, so the user can click, sort,
// close the window or open another module while the lists fill.  Every load
// therefore has a serial number: a load that another one replaced (a re-sort,
// a re-opened module) or whose window went away stops adding rows, and only
// the newest load finishes its work on the lists.

#include "customers/QlCustModule.h"

#include "customers/QlCustCommands.h"
#include "customers/QlCustOpeners.h"
#include "customers/QlCustTexts.h"

#include "common/QlAppState.h"
#include "common/QlFields.h"
#include "common/QlLayout.h"
#include "common/QlMoney.h"
#include "common/QlPlatform.h"
#include "common/QlSeams.h"
#include "common/QlUtil.h"
#include "common/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "resources/QlResIds.h"
#include "settings/QlLangDlg.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"
#include "transactions/QlTransOpeners.h"
#include "transactions/QlTransSums.h"

#include <commctrl.h>
#include <stdlib.h>
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

// The row-id columns lie beyond the visible width.
QlListColumnTable QlCustOverviewColumns = {IDL_CUST_OVERVIEW, NULL, 4, {
    {20, LVCFMT_LEFT, "A/C Ref"},
    {55, LVCFMT_LEFT, "Company Name"},
    {25, LVCFMT_LEFT, "Balance"},
    {30, LVCFMT_LEFT, "Row Id"},
}};

QlListColumnTable QlCustNameColumns = {IDL_CUST_NAMES, NULL, 2, {
    {100, LVCFMT_LEFT, "Company Name"},
    {30, LVCFMT_LEFT, "Row Id"},
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
#define FIRST_SLOT_COUNT 2000
#define LIST_RIGHT_MARGIN 10

// Module state: it outlives the window.
static int sModuleOpen;
static HWND sModule;
static HWND sToolbar;
static HWND sHeading;
static int sRememberedRow;          // last row clicked, in either list
static int64_t sRememberedKey;      // and its account

static int64_t *sBalanceTable;      // balance in cents per slot
static int sSlotCount;              // entries of sBalanceTable
static QlRingRec sSlotPool;         // free slots

static int sSortFlags[4];           // per overview column: 1 ascending next
static int *sSortFlag;              // the column clicked last

static HWND sLoadWindow;            // the window whose load is running
static HWND sLoadOverview;          // and its two lists
static HWND sLoadNames;
static unsigned sLoadSerial;
static int sBalanceSortPending;     // a balance click met during a load

// ---------------------------------------------------------------------------
// The balance slots

// Every slot free again: 0, 1, ... in order.
static void ResetSlots(void)
{
    sSlotPool.write = sSlotPool.read = sSlotPool.count = 0;
    for (int i = 0; i < sSlotCount; i++) QlRingPush(&sSlotPool, i);
}

// Doubles the table and the pool (the first call makes them); the new slots
// join the pool.  Called when the pool is empty, so no free slot is lost.
static int GrowSlots(void)
{
    int count = sSlotCount ? sSlotCount * 2 : FIRST_SLOT_COUNT;
    int64_t *table = (int64_t *)realloc(sBalanceTable, (size_t)count * sizeof *table);
    if (!table) return 0;
    sBalanceTable = table;
    QlRingRec pool;
    if (!QlRingInit(&pool, count)) return 0;
    memset(table + sSlotCount, 0, (size_t)(count - sSlotCount) * sizeof *table);
    for (int i = 0; i < sSlotPool.count; i++) QlRingPush(&pool, sSlotPool.slots[(sSlotPool.read + i) % sSlotPool.slotCount]);
    for (int i = sSlotCount; i < count; i++) QlRingPush(&pool, i);
    QlRingFree(&sSlotPool);
    sSlotPool = pool;
    sSlotCount = count;
    return 1;
}

static int TakeSlot(int32_t *slot)
{
    return QlRingPop(&sSlotPool, slot) || (GrowSlots() && QlRingPop(&sSlotPool, slot));
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

int64_t QlCustListKey(HWND list, int row, int column)
{
    char text[128];
    QlListGetCell(list, row, column, text, sizeof text);
    return QlAtoI64(text);
}

int QlCustListFindKey(HWND list, int64_t key, int column)
{
    char text[24];
    snprintf(text, sizeof text, QL_I64, key);
    int row = -1;
    return QlListFindRow(list, text, column, 0, &row) ? row : -1;
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

static int RowCount(HWND list)
{
    return (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
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

// ---------------------------------------------------------------------------
// Rows

int QlCustRefListAddRow(HWND overview, const QlCustRec *rec)
{
    int64_t units;
    int cents;
    QlTransSumCustBalance(&units, &cents, rec);
    int64_t balance = units * 100 + cents;

    int32_t slot;
    if (TakeSlot(&slot))
        sBalanceTable[slot] = balance;
    else
        slot = 0x7FFFFFFF;   // out of memory: the row sorts as equal to any other
    int row = QlCustListAppend(overview, rec->acref, slot);
    if (row < 0) {
        if (slot < sSlotCount) QlRingPush(&sSlotPool, slot);
        return -1;
    }
    char text[32];
    QlListSetCell(overview, row, COL_COMPANY, rec->company);
    QlMoneyFormatCents(balance, text, sizeof text);
    QlListSetCell(overview, row, COL_BALANCE, text);
    snprintf(text, sizeof text, QL_I64, rec->iKey);
    QlListSetCell(overview, row, COL_KEY, text);
    return row;
}

int QlCustAccountsListAddRow(HWND names, const QlCustRec *rec)
{
    int row = QlCustListAppend(names, rec->company, 0);
    if (row < 0) return -1;
    char key[24];
    snprintf(key, sizeof key, QL_I64, rec->iKey);
    QlListSetCell(names, row, QL_CUST_NAMES_KEY_COLUMN, key);
    return row;
}

int QlCustListRowCb(const QlCustRec *rec)
{
    if (!sLoadWindow) return 0;   // the load was given up: its other rows are passed over
    QlCustRefListAddRow(sLoadOverview, rec);
    QlCustAccountsListAddRow(sLoadNames, rec);
    QlUiPumpMessages();
    return 0;
}

void QlCustListDeleteRow(int row)
{
    HWND overview = sModule ? GetDlgItem(sModule, IDL_CUST_OVERVIEW) : NULL;
    if (!overview) return;
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(overview, LVM_GETITEMA, 0, (LPARAM)&item))
        QlSeamMessageBox(NULL, "failed to get customer view item", NULL, MB_OK);
    else if (item.lParam >= 0 && item.lParam < sSlotCount)
        QlRingPush(&sSlotPool, (int32_t)item.lParam);
    SendMessageA(overview, LVM_DELETEITEM, row, 0);
}

int CALLBACK QlCustSortByBalanceCb(LPARAM slot1, LPARAM slot2, LPARAM column)
{
    if (column != COL_BALANCE || slot1 < 0 || slot2 < 0 || slot1 >= sSlotCount || slot2 >= sSlotCount) return 0;
    int64_t a = sBalanceTable[slot1];
    int64_t b = sBalanceTable[slot2];
    if (a == b) return 0;
    int order = a < b ? -1 : 1;
    return sSortFlag && *sSortFlag ? -order : order;
}

// ---------------------------------------------------------------------------
// Loading

static void EmptyLists(HWND module)
{
    SendDlgItemMessageA(module, IDL_CUST_OVERVIEW, LVM_DELETEALLITEMS, 0, 0);
    SendDlgItemMessageA(module, IDL_CUST_NAMES, LVM_DELETEALLITEMS, 0, 0);
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

static void SortByBalance(HWND module)
{
    SendDlgItemMessageA(module, IDL_CUST_OVERVIEW, LVM_SORTITEMS, COL_BALANCE, (LPARAM)QlCustSortByBalanceCb);
}

// Empties both lists and fills them from the query (all enabled accounts when
// sql is NULL), every slot free at the start.  1 when the query ran, 0 when
// it failed (err set); -1 when the load was given up because the window
// closed or another load started while rows were coming in.
static int LoadLists(HWND module, const char *sql, char *err)
{
    ResetSlots();
    EmptyLists(module);
    unsigned serial = ++sLoadSerial;
    sLoadWindow = module;
    sLoadOverview = GetDlgItem(module, IDL_CUST_OVERVIEW);
    sLoadNames = GetDlgItem(module, IDL_CUST_NAMES);
    sBalanceSortPending = 0;
    // The lists are drawn once, when they are whole.
    SetListsRedraw(module, FALSE);
    int ok = sql ? QlCustEnumSql(QlCustListRowCb, sql, err) : QlCustEnum(QlCustListRowCb, err);
    if (serial != sLoadSerial || !IsWindow(module)) return -1;
    sLoadWindow = NULL;
    if (sBalanceSortPending) {
        sBalanceSortPending = 0;
        SortByBalance(module);
    }
    SetListsRedraw(module, TRUE);
    return ok;
}

// ---------------------------------------------------------------------------
// The form

static void SetText(HWND dialog, int id, const char *text)
{
    SetDlgItemTextA(dialog, id, text);
}

void QlCustShowAddress(HWND form, const QlCustRec *rec)
{
    if (!rec) return;
    SetText(form, 1171, rec->acref);
    SetText(form, 1159, rec->acref);
    SetText(form, 1173, rec->company);
    SetText(form, IDE_CUST_ADDR1, rec->addr1);
    SetText(form, IDE_CUST_ADDR2, rec->addr2);
    SetText(form, IDE_CUST_ADDR3, rec->addr3);
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

    SendDlgItemMessageA(module, IDC_CUST_DISCOUNT, CB_SETCURSEL, rec->discount < 100 ? rec->discount : -1, 0);
    CheckDlgButton(module, IDB_CUST_APPLY_DISCOUNT, rec->apply_discount ? BST_CHECKED : BST_UNCHECKED);
    FollowCheck(module, IDB_CUST_APPLY_DISCOUNT, IDC_CUST_DISCOUNT);
    SendDlgItemMessageA(module, IDC_CUST_RATE, CB_SETCURSEL, rec->vat_rate_index < QL_RATE_COUNT ? rec->vat_rate_index : -1,
                        0);
    CheckDlgButton(module, IDB_CUST_APPLY_TAX, rec->apply_tax ? BST_CHECKED : BST_UNCHECKED);
    FollowCheck(module, IDB_CUST_APPLY_TAX, IDC_CUST_RATE);
}

void QlCustEnableForm(HWND module, int enable)
{
    QlUiEnableList(module, kFormIds, enable);
    if (!enable) return;
    FollowCheck(module, IDB_CUST_APPLY_DISCOUNT, IDC_CUST_DISCOUNT);
    FollowCheck(module, IDB_CUST_APPLY_TAX, IDC_CUST_RATE);
}

// Reads the account of the list row and shows it; 0 when it no longer reads
// (disabled meanwhile): then nothing changes.
static int ShowRow(HWND module, HWND list, int row, int keyColumn)
{
    char err[QL_DB_ERR_SIZE];
    QlCustRec rec;
    int64_t key = QlCustListKey(list, row, keyColumn);
    if (!QlCustGetByRowId(key, &rec, err)) return 0;
    QlCustShowRecord(module, &rec);
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
    int count = RowCount(names);
    int row = sRememberedKey ? QlCustListFindKey(names, sRememberedKey, QL_CUST_NAMES_KEY_COLUMN) : -1;
    if (row < 0) row = sRememberedRow >= 0 && sRememberedRow < count ? sRememberedRow : 0;
    QlCustListSelect(names, row);
    ShowRow(module, names, row, QL_CUST_NAMES_KEY_COLUMN);
}

static void LayoutMaximised(HWND module);

static BOOL OnInitDialog(HWND module)
{
    sModule = module;
    sModuleOpen = 1;
    // Any other opener running while the lists load closes this window.
    QlModuleWnd = module;
    if (!sSlotCount && !GrowSlots()) {
        QlSeamMessageBox(NULL, "Customer module initializatoin failed, out of memory", NULL, MB_OK);
        sModuleOpen = 0;
        return TRUE;
    }

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
    int loaded = LoadLists(module, NULL, err);
    if (!IsWindow(module)) return FALSE;   // closed, or replaced, while it loaded
    if (loaded == 0) {
        QlSeamMessageBox(module, err, "Failed to load customer database", MB_OK);
        return TRUE;
    }

    if (RowCount(GetDlgItem(module, IDL_CUST_OVERVIEW)) > 0)
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
    sSortFlag = NULL;
}

int QlCustModuleIsOpen(void)
{
    return sModuleOpen;
}

HWND QlCustModuleRestore(HWND module)
{
    HWND names = GetDlgItem(module, IDL_CUST_NAMES);
    int row = QlCustListSelected(names);
    if (row >= 0) Remember(row, QlCustListKey(names, row, QL_CUST_NAMES_KEY_COLUMN));
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

static void OnOverviewClick(HWND module)
{
    HWND overview = GetDlgItem(module, IDL_CUST_OVERVIEW);
    int row = QlCustListSelected(overview);
    if (row < 0) return;
    int64_t key = QlCustListKey(overview, row, QL_CUST_OVERVIEW_KEY_COLUMN);
    if (!ShowRow(module, overview, row, QL_CUST_OVERVIEW_KEY_COLUMN)) return;
    Remember(row, key);
    HWND names = GetDlgItem(module, IDL_CUST_NAMES);
    int nameRow = QlCustListFindKey(names, key, QL_CUST_NAMES_KEY_COLUMN);
    if (nameRow >= 0) QlCustListSelect(names, nameRow);
}

static void OnNamesClick(HWND module)
{
    HWND names = GetDlgItem(module, IDL_CUST_NAMES);
    int row = QlCustListSelected(names);
    if (row < 0) return;
    if (ShowRow(module, names, row, QL_CUST_NAMES_KEY_COLUMN))
        Remember(row, QlCustListKey(names, row, QL_CUST_NAMES_KEY_COLUMN));
}

// The A/C ref exactly, else the first company that contains the text.
static void OnFind(HWND module)
{
    char acref[6] = "";
    char company[41] = "";
    GetDlgItemTextA(module, IDE_CUST_FIND_ACREF, acref, sizeof acref);
    GetDlgItemTextA(module, IDE_CUST_FIND_COMPANY, company, sizeof company);
    HWND overview = GetDlgItem(module, IDL_CUST_OVERVIEW);
    int row = -1;
    if (!QlListFindRow(overview, acref, COL_ACREF, 0, &row) && !QlListFindRow(overview, company, COL_COMPANY, 1, &row))
        return;
    QlCustListSelect(overview, row);
    OnOverviewClick(module);
}

static void OnColumnClick(HWND module, int column)
{
    static const char *const kOrderColumns[] = {"acref", "company", NULL, "iKey"};
    if (column < 0 || column >= (int)ARRAYSIZE(kOrderColumns)) return;
    sSortFlags[column] = !sSortFlags[column];
    sSortFlag = &sSortFlags[column];
    if (column == COL_BALANCE) {
        if (sLoadWindow == module)
            sBalanceSortPending = 1;   // sorted once every row is in
        else
            SortByBalance(module);
        return;
    }

    char sql[QL_DB_SQL_QUERY];
    snprintf(sql, sizeof sql, "select * from customers where enabled='yes' order by %s %s", kOrderColumns[column],
             sSortFlags[column] ? "asc" : "desc");
    char err[QL_DB_ERR_SIZE];
    if (LoadLists(module, sql, err) != 1) return;
    HWND names = GetDlgItem(module, IDL_CUST_NAMES);
    if (RowCount(names) == 0) return;
    QlCustListSelect(names, 0);
    ShowRow(module, names, 0, QL_CUST_NAMES_KEY_COLUMN);
}

// ---------------------------------------------------------------------------
// Messages

static void OnCommand(HWND module, int id, int code)
{
    switch (id) {
    case QL_CUST_CMD_NEW:
        if (sLoadWindow != module) QlCustAddCmd(module);   // a new row could be listed twice mid-load
        return;
    case QL_CUST_CMD_SAVE: QlCustUpdateCmd(module); return;
    case QL_CUST_CMD_DELETE: QlCustDeleteCmd(module); return;
    case QL_CUST_CMD_QUOTE: QlCustNewQuote(module); return;
    case QL_CUST_CMD_INVOICE: QlInvNewForCust(module); return;
    case QL_CUST_CMD_CREDIT: QlCreditNewForCust(module); return;
    case QL_CUST_CMD_PAY: QlPayNew(module); return;
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

static void OnNotify(HWND module, const NMHDR *header)
{
    if (header->idFrom == IDL_CUST_OVERVIEW && header->code == LVN_COLUMNCLICK)
        OnColumnClick(module, ((const NMLISTVIEW *)header)->iSubItem);
    else if (header->idFrom == IDL_CUST_OVERVIEW && header->code == NM_CLICK)
        OnOverviewClick(module);
    else if (header->idFrom == IDL_CUST_NAMES && header->code == NM_CLICK)
        OnNamesClick(module);
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
}

INT_PTR CALLBACK QlCustModuleDlgProc(HWND module, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(module);
    case WM_COMMAND: OnCommand(module, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_NOTIFY: OnNotify(module, (const NMHDR *)lParam); return FALSE;
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(module, (HDC)wParam, (HWND)lParam);
    case QL_WM_MAIN_MAXIMIZED: LayoutMaximised(module); return TRUE;
    case QL_WM_MAIN_RESTORED: QlCustModuleRestore(module); return TRUE;
    case WM_CLOSE: return TRUE;   // not a command: the dialog manager would make it IDCANCEL (Delete)
    case WM_DESTROY: OnDestroy(module); return TRUE;
    }
    return FALSE;
}
