// The transactions window (template 156).
//
// The rows live in memory: one query, read row by row with the values as
// SQLite holds them, brings every enabled transaction into an array, and the
// list view (LVS_OWNERDATA) asks for the cells it draws (LVN_GETDISPINFO).  Sorting reorders an index over the rows; dates sort by
// date and amounts by their cents.
//
// The load runs the message pump once per row, so the user can click, sort,
// close the window or open another one while the rows come in.  A load
// therefore has a serial number and fills its own array: a load that was
// replaced, or whose window went away, stops and drops what it read; only
// the newest load hands its rows to the window.  A sort asked for during the
// load, and a barcode scanned during it, are carried out once the rows are in.

#include "transactions/QlTransPane.h"

#include "ui/QlAppState.h"
#include "core/QlDate.h"
#include "ui/QlLayout.h"
#include "ui/QlListView.h"
#include "core/QlMoney.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlToolbar.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlOpeners.h"
#include "resources/QlResTransPane.h"
#include "settings/QlLangTables.h"
#include "transactions/QlPaneTexts.h"
#include "transactions/QlPay.h"
#include "transactions/QlTransForm.h"
#include "transactions/QlTransFormParts.h"
#include "transactions/QlTransOpen.h"
#include "transactions/QlTransTables.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int QlTransPaneSortFlags[QL_PANE_COLUMNS];
int QlTransPaneSelectedRow;
QlTransRec QlTransPaneChosenRec;

// One listed transaction.
struct PaneRow {
    int64_t key;
    int64_t docRowid;
    int64_t grossCents;
    int64_t balanceCents;
    int32_t dateKey;        // year x 10000 + month x 100 + day, 0 when not a date
    uint8_t type;
    uint8_t productLines;
    char acref[6];
    char date[16];
    char gross[13];
    char balance[13];
    char desc[80];
};

// Rows and the order they are shown in.
struct RowSet {
    PaneRow *rows;
    int32_t *order;
    int count;
    int capacity;
};

// A running load.
struct Loader {
    RowSet set;
    HWND window;
    unsigned serial;
};

#define HEADING_COLOUR RGB(128, 0, 0)
#define LIST_RIGHT_MARGIN 10
#define LOAD_FAILED_CAPTION "Error loading transaction items"

// The window's state; one window exists at a time.
static HWND sWindow;
static HWND sList;
static HWND sCaption;
static HWND sToolbar;
static RowSet sRows;

static unsigned sLoadSerial;
static HWND sLoadWindow;       // the window whose load is running
static int sPendingSort = -1;  // a column clicked during the load
static int sPendingScan;       // a barcode entered during the load

// The tool bar: the table's entries but Delete, which this window lacks.
static QlToolbarItem sToolbarItems[QL_TRANS_PANE_TOOLBAR_COUNT];
static int sToolbarCount;

// The query's columns, in the order the row callback reads them.
enum { Q_KEY, Q_DATE, Q_TYPE, Q_SUBTYPE, Q_ACREF, Q_DESC, Q_GROSS, Q_BALANCE, Q_DOC, Q_GROSS_CENTS, Q_BALANCE_CENTS };
static const char kLoadSql[] =
    "select iKey,date,type,sub_type,acref,\"desc\",gross,gross_bal,doc_rowid,gross_cents,gross_bal_cents "
    "from trans where enabled='yes' order by iKey asc;";

// ---------------------------------------------------------------------------
// Rows

static void FreeRows(RowSet *set)
{
    free(set->rows);
    free(set->order);
    memset(set, 0, sizeof *set);
}

static int Grow(RowSet *set)
{
    int capacity = set->capacity ? set->capacity * 2 : 1024;
    PaneRow *rows = (PaneRow *)realloc(set->rows, (size_t)capacity * sizeof *rows);
    if (!rows) return 0;
    set->rows = rows;
    set->capacity = capacity;
    return 1;
}

static void Copy(char *field, size_t width, const char *text)
{
    size_t length = text ? strnlen(text, width - 1) : 0;
    if (length) memcpy(field, text, length);
    field[length] = '\0';
}

// "d/MM/yyyy" as a number that sorts in date order; 0 when not a date.
static int32_t DateKey(const char *text)
{
    int parts[3] = {0, 0, 0};
    int part = 0, digits = 0;
    for (const char *p = text; p && *p; p++) {
        if (*p >= '0' && *p <= '9' && digits < 6) {
            parts[part] = parts[part] * 10 + (*p - '0');
            digits++;
        } else if (*p == '/' && digits && part < 2) {
            part++;
            digits = 0;
        } else {
            return 0;
        }
    }
    if (part != 2 || !digits || parts[1] > 12 || parts[0] > 31) return 0;
    return parts[2] * 10000 + parts[1] * 100 + parts[0];
}

// Reads the query's row into the load's rows; 0 when memory ran out.
static int ReadRow(Loader *load, const QlDbQuery *query)
{
    RowSet *set = &load->set;
    if (set->count == set->capacity && !Grow(set)) return 0;
    PaneRow *row = &set->rows[set->count++];
    row->key = QlDbQueryInt64(query, Q_KEY);
    row->docRowid = QlDbQueryInt64(query, Q_DOC);
    row->type = (uint8_t)QlDbQueryInt64(query, Q_TYPE);
    row->productLines = QlDbQueryInt64(query, Q_SUBTYPE) != 0;
    Copy(row->acref, sizeof row->acref, QlDbQueryText(query, Q_ACREF));
    Copy(row->date, sizeof row->date, QlDbQueryText(query, Q_DATE));
    Copy(row->gross, sizeof row->gross, QlDbQueryText(query, Q_GROSS));
    Copy(row->balance, sizeof row->balance, QlDbQueryText(query, Q_BALANCE));
    Copy(row->desc, sizeof row->desc, QlDbQueryText(query, Q_DESC));
    row->grossCents = QlDbQueryIsNull(query, Q_GROSS_CENTS) ? QlMoneyParseCents(row->gross)
                                                            : QlDbQueryInt64(query, Q_GROSS_CENTS);
    row->balanceCents = QlDbQueryIsNull(query, Q_BALANCE_CENTS) ? QlMoneyParseCents(row->balance)
                                                                : QlDbQueryInt64(query, Q_BALANCE_CENTS);
    row->dateKey = DateKey(row->date);
    return 1;
}

// Reads every row of the query, the message pump running between them; 1
// when all were read, 0 when the query failed (err set), -1 when the load
// was replaced or its window closed meanwhile.
static int ReadRows(Loader *load, char *err)
{
    QlDbQuery query;
    if (!QlDbQueryOpen(kLoadSql, &query, err)) return 0;
    int result = 1;
    for (;;) {
        int next = QlDbQueryNext(&query, err);
        if (next <= 0) {
            result = next < 0 ? 0 : 1;
            break;
        }
        if (!ReadRow(load, &query)) {
            QlDbSetError(err, "Out of memory");
            result = 0;
            break;
        }
        QlUiPumpMessages();
        if (load->serial != sLoadSerial || sLoadWindow != load->window) {
            result = -1;
            break;
        }
    }
    QlDbQueryClose(&query);
    return result;
}

// ---------------------------------------------------------------------------
// Sorting

static const PaneRow *sSortRows;
static int sSortColumn;
static int sSortDescending;

static int Order(int64_t a, int64_t b)
{
    return a < b ? -1 : a > b;
}

static int CompareRows(const void *left, const void *right)
{
    const PaneRow *a = &sSortRows[*(const int32_t *)left];
    const PaneRow *b = &sSortRows[*(const int32_t *)right];
    int order;
    switch (sSortColumn) {
    case QL_PANE_COL_DATE: order = Order(a->dateKey, b->dateKey); break;
    case QL_PANE_COL_TYPE: order = Order(a->type, b->type); break;
    case QL_PANE_COL_ACREF: order = strcmp(a->acref, b->acref); break;
    case QL_PANE_COL_DESC: order = strcmp(a->desc, b->desc); break;
    case QL_PANE_COL_AMOUNT: order = Order(a->grossCents, b->grossCents); break;
    case QL_PANE_COL_BALANCE: order = Order(a->balanceCents, b->balanceCents); break;
    case QL_PANE_COL_DOC: order = Order(a->docRowid, b->docRowid); break;
    default: order = 0; break;
    }
    if (sSortColumn == QL_PANE_COL_KEY || order == 0) {
        // Equal keys keep the order of the transaction numbers.
        int byKey = Order(a->key, b->key);
        return sSortColumn == QL_PANE_COL_KEY && sSortDescending ? -byKey : byKey;
    }
    return sSortDescending ? -order : order;
}

// Orders the rows by the column (any value outside 1 to 7: the number).
static int SortRows(RowSet *set, int column, int descending)
{
    if (!set->order && set->count) {
        set->order = (int32_t *)malloc((size_t)set->count * sizeof *set->order);
        if (!set->order) return 0;
    }
    sSortColumn = column >= 1 && column < QL_PANE_COLUMNS ? column : QL_PANE_COL_KEY;
    sSortDescending = descending;
    // The rows were read in the order of their numbers.
    for (int i = 0; i < set->count; i++)
        set->order[i] = sSortColumn == QL_PANE_COL_KEY && descending ? set->count - 1 - i : i;
    if (sSortColumn == QL_PANE_COL_KEY || set->count < 2) return 1;
    sSortRows = set->rows;
    qsort(set->order, (size_t)set->count, sizeof *set->order, CompareRows);
    return 1;
}

static const PaneRow *RowAt(int row)
{
    if (row < 0 || row >= sRows.count || !sRows.order) return NULL;
    return &sRows.rows[sRows.order[row]];
}

int QlTransPaneRowCount(void)
{
    return sRows.order ? sRows.count : 0;
}

int64_t QlTransPaneRowKey(int row)
{
    const PaneRow *r = RowAt(row);
    return r ? r->key : 0;
}

// ---------------------------------------------------------------------------
// The list

const char *QlTransPaneTypeName(uint32_t type, uint32_t subType)
{
    const QlPaneTextRec *text = QlPaneText();
    switch (type) {
    case 1: return text->TypeNames[subType ? 0 : 1];
    case 2: case 3: case 4: case 5: case 6: return text->TypeNames[type];
    default: return "";
    }
}

static void CellText(const PaneRow *row, int column, char *out, int size)
{
    switch (column) {
    case QL_PANE_COL_KEY: snprintf(out, size, QL_I64, row->key); return;
    case QL_PANE_COL_DATE: snprintf(out, size, "%s", row->date); return;
    case QL_PANE_COL_TYPE: snprintf(out, size, "%s", QlTransPaneTypeName(row->type, row->productLines)); return;
    case QL_PANE_COL_ACREF: snprintf(out, size, "%s", row->acref); return;
    case QL_PANE_COL_DESC: snprintf(out, size, "%s", row->desc); return;
    case QL_PANE_COL_AMOUNT: snprintf(out, size, "%s", row->gross); return;
    case QL_PANE_COL_BALANCE: snprintf(out, size, "%s", row->balance); return;
    case QL_PANE_COL_DOC: snprintf(out, size, QL_I64, row->docRowid); return;
    default: out[0] = '\0'; return;
    }
}

// The document number of a row as the list shows it, for typing in the list.
static const char *KeyText(int row)
{
    static char text[24];
    const PaneRow *r = RowAt(row);
    if (!r) return NULL;
    CellText(r, QL_PANE_COL_KEY, text, sizeof text);
    return text;
}

static void OnGetDispInfo(NMLVDISPINFOA *info)
{
    if (!(info->item.mask & LVIF_TEXT) || !info->item.pszText || info->item.cchTextMax <= 0) return;
    const PaneRow *row = RowAt(info->item.iItem);
    if (row)
        CellText(row, info->item.iSubItem, info->item.pszText, info->item.cchTextMax);
    else
        info->item.pszText[0] = '\0';
}

static int SelectedRow(void)
{
    return (int)SendMessageA(sList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

static void SelectRow(int row)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(sList, LVM_SETITEMSTATE, row, (LPARAM)&item);
    SendMessageA(sList, LVM_ENSUREVISIBLE, row, FALSE);
}

// Shows the rows: the count, and every row drawn again.
static void ShowRows(void)
{
    SendMessageA(sList, LVM_SETITEMCOUNT, QlTransPaneRowCount(), 0);
    InvalidateRect(sList, NULL, TRUE);
}

// The list view works out its row height and scroll ranges at its first
// paint with rows, and on Wine sets both scroll bars twice while doing so,
// each time drawing them again through the visual style, a few hundred
// round trips to the window server.  Printed into a one-pixel bitmap while
// the window is still hidden, the list does that work where nothing is
// drawn; its first paint on screen then draws the rows and bars once.
static void MeasureListHidden(void)
{
    if (!sList || IsWindowVisible(sList) || !QlTransPaneRowCount()) return;
    HDC screen = GetDC(NULL);
    HDC dc = screen ? CreateCompatibleDC(screen) : NULL;
    HBITMAP bitmap = screen ? CreateCompatibleBitmap(screen, 1, 1) : NULL;
    if (screen) ReleaseDC(NULL, screen);
    if (dc && bitmap) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        SendMessageA(sList, WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
        SelectObject(dc, old);
    }
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
}

// A header click: the column's own direction, flipped for the next click.
static void SortByColumn(int column)
{
    int descending = QlTransPaneSortFlags[column];
    QlTransPaneSortFlags[column] = !descending;
    if (sLoadWindow == sWindow) {
        sPendingSort = column;   // carried out when the rows are in
        return;
    }
    int selected = SelectedRow();
    int64_t selectedKey = QlTransPaneRowKey(selected);
    if (!SortRows(&sRows, column, descending)) return;
    // The document that was selected stays selected.
    if (selected >= 0) {
        LVITEMA none = {};
        none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(sList, LVM_SETITEMSTATE, selected, (LPARAM)&none);
    }
    ShowRows();
    if (selectedKey) {
        for (int row = 0; row < sRows.count; row++) {
            if (QlTransPaneRowKey(row) == selectedKey) {
                SelectRow(row);
                break;
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Loading

static void FindBarcode(HWND window);

// Reads every enabled transaction into the window, ordered by number.  1
// when the query ran, 0 when it failed (the rows read before the failure are
// shown, after the message), -1 when the load was given up because its
// window went away or another load replaced it.
static int Load(HWND window)
{
    Loader load = {};
    load.window = window;
    load.serial = ++sLoadSerial;
    sLoadWindow = window;
    sPendingSort = -1;
    sPendingScan = 0;
    char err[QL_DB_ERR_SIZE] = "";
    int ok = ReadRows(&load, err);
    if (ok < 0 || load.serial != sLoadSerial || sLoadWindow != window || !IsWindow(window)) {
        FreeRows(&load.set);
        return -1;
    }
    sLoadWindow = NULL;
    FreeRows(&sRows);
    sRows = load.set;
    SortRows(&sRows, QL_PANE_COL_KEY, 0);
    if (sPendingSort >= 0) SortRows(&sRows, sPendingSort, !QlTransPaneSortFlags[sPendingSort]);
    sPendingSort = -1;
    ShowRows();
    MeasureListHidden();
    if (!ok) QlSeamMessageBox(window, err, LOAD_FAILED_CAPTION, MB_OK);
    return ok;
}

// ---------------------------------------------------------------------------
// Opening

static void OpenRow(int row)
{
    const PaneRow *r = RowAt(row);
    if (!r) return;
    QlTransPaneSelectedRow = row;
    char err[QL_DB_ERR_SIZE];
    if (QlTransGetByRowId(r->key, &QlTransPaneChosenRec, err)) QlTransOpenByType(&QlTransPaneChosenRec);
}

static void OpenSelected(void)
{
    int row = SelectedRow();
    if (row >= 0) OpenRow(row);
}

int QlTransPaneParseBarcode(const char *text, int64_t *number)
{
    if (!text || strlen(text) != QL_SCAN_LENGTH) return QL_SCAN_BAD_LENGTH;
    if (strncmp(text, "400000", 6) != 0) return QL_SCAN_NOT_DOCUMENT;
    // The five digits after the prefix are the number, zero-padded on the
    // printed symbol; the check digit last is left to the scanner.
    int64_t value = 0;
    for (int i = 6; i < 11; i++) {
        if (text[i] < '0' || text[i] > '9') return QL_SCAN_NOT_DOCUMENT;
        value = value * 10 + (text[i] - '0');
    }
    if (number) *number = value;
    return QL_SCAN_DOCUMENT;
}

static void ShowScanError(HWND window, const char *caption, const char *text)
{
    QlMsgBox(window, caption, text, QL_COLOUR_WARNING);
}

static void FindBarcode(HWND window)
{
    HWND box = GetDlgItem(window, IDE_PANE_BARCODE);
    char text[50] = "";
    GetWindowTextA(box, text, sizeof text);
    const QlPaneTextRec *words = QlPaneText();
    int64_t number = 0;
    char message[240];
    switch (QlTransPaneParseBarcode(text, &number)) {
    case QL_SCAN_BAD_LENGTH:
        snprintf(message, sizeof message, "%s %u", words->BarcodeLength, (unsigned)QL_SCAN_LENGTH);
        ShowScanError(window, QlLangText()->Error, message);
        break;
    case QL_SCAN_NOT_DOCUMENT: ShowScanError(window, QlLangText()->Error, words->NotDocumentBarcode); break;
    default: {
        int found = -1;
        for (int row = 0; row < QlTransPaneRowCount() && found < 0; row++)
            if (QlTransPaneRowKey(row) == number) found = row;
        if (found >= 0) {
            SelectRow(found);
            OpenRow(found);
        } else {
            char digits[24];
            snprintf(digits, sizeof digits, QL_I64, number);
            snprintf(message, sizeof message, "%s %s %s", words->TransDocumentNumber, digits, words->NotFound);
            ShowScanError(window, words->TransNotFoundCaption, message);
        }
        break;
    }
    }
    // Opening a document replaced the window; otherwise ready for the next scan.
    if (!IsWindow(window) || window != sWindow) return;
    SetWindowTextA(box, "");
    SetFocus(box);
}

static void OnScan(HWND window)
{
    if (sLoadWindow == window)
        sPendingScan = 1;
    else
        FindBarcode(window);
}

// ---------------------------------------------------------------------------
// Layout

// The barcode box 5 pixels above the tool bar, its prompt 5 above it, the
// list down to 5 above the prompt.
static void PlaceAboveToolbar(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    int barTop = client.bottom;
    if (sToolbar) QlUiGetRectInParent(sToolbar, NULL, NULL, &barTop, NULL);
    QlUiMoveItemToBottom(window, IDE_PANE_BARCODE, barTop, 5);
    int boxTop = 0;
    QlUiGetRectInParent(GetDlgItem(window, IDE_PANE_BARCODE), NULL, NULL, &boxTop, NULL);
    QlUiMoveItemToBottom(window, IDT_PANE_BARCODE_PROMPT, boxTop, 5);
    int promptTop = 0;
    QlUiGetRectInParent(GetDlgItem(window, IDT_PANE_BARCODE_PROMPT), NULL, NULL, &promptTop, NULL);
    QlUiStretchItemDown(window, IDL_PANE_TRANS, client.bottom - promptTop + 5);
}

// The window filling the pane of the maximized main window.
static void Layout(HWND window)
{
    QlUiFillBelowToolbar(window);
    if (sCaption) QlUiStretchRight(sCaption, 0);
    QlUiStretchItemRight(window, IDL_PANE_TRANS, LIST_RIGHT_MARGIN);
    if (sToolbar) {
        RECT client;
        GetClientRect(window, &client);
        int barWidth, barHeight;
        QlUiGetRectInParent(sToolbar, &barWidth, &barHeight, NULL, NULL);
        MoveWindow(sToolbar, 0, client.bottom - barHeight, barWidth, barHeight, TRUE);
        QlUiStretchRight(sToolbar, 0);
    }
    PlaceAboveToolbar(window);
    QlListResizeColumns(window, &QlTransPaneListColumnTable);
}

// ---------------------------------------------------------------------------
// Creation

static void MakeToolbar(HWND window)
{
    sToolbarCount = 0;
    for (int i = 0; i < QL_TRANS_PANE_TOOLBAR_COUNT; i++) {
        const QlToolbarItem &item = QlTransPaneToolbarTable[i];
        if (item.commandId == 5) continue;   // Delete: not a command of this window
        sToolbarItems[sToolbarCount] = item;
        sToolbarItems[sToolbarCount].bitmap = NULL;
        sToolbarCount++;
    }
    sToolbar = QlToolbarCreate(QlUiInstance(), window, sToolbarItems, sToolbarCount, 1, 0);
}

static BOOL OnInitDialog(HWND window)
{
    QlModuleWnd = window;
    sWindow = window;
    sList = GetDlgItem(window, IDL_PANE_TRANS);
    QlUiFitPane(window);

    HWND box = GetDlgItem(window, IDE_PANE_BARCODE);
    QlEditEnterAttach(box);
    sCaption = QlUiCreateStatic(QlUiInstance(), window, 0, 0, 650, 20, SS_CENTERIMAGE, 1);
    if (QlFontBold12) SendMessageA(sCaption, WM_SETFONT, (WPARAM)QlFontBold12, FALSE);
    QlUiSetText(sCaption, QlPaneText()->Heading);
    QlUiStretchRight(sCaption, 0);
    SetDlgItemTextA(window, IDT_PANE_BARCODE_PROMPT, QlPaneText()->ScanPrompt);
    SendMessageA(box, EM_LIMITTEXT, QL_SCAN_LENGTH, 0);
    if (QlFontWide12) SendMessageA(box, WM_SETFONT, (WPARAM)QlFontWide12, FALSE);

    QlUiStretchItemRight(window, IDL_PANE_TRANS, LIST_RIGHT_MARGIN);
    QlListSetupFromTable(window, &QlTransPaneListColumnTable);
    MakeToolbar(window);
    PlaceAboveToolbar(window);

    memset(QlTransPaneSortFlags, 0, sizeof QlTransPaneSortFlags);
    if (Load(window) < 0) return FALSE;   // closed, or replaced, while it loaded

    if (QlTransPaneSelectedRow >= 0 && QlTransPaneSelectedRow < QlTransPaneRowCount())
        SelectRow(QlTransPaneSelectedRow);
    if (QlTransMainMaximized()) Layout(window);
    if (sPendingScan) {
        sPendingScan = 0;
        FindBarcode(window);
    }
    return TRUE;
}

HWND QlTransPaneCreate(HWND parent)
{
    QlUiDestroyModule();
    HWND window = QlUiCreateModeless(QlUiInstance(), parent, QlTransPaneDlgProc, IDD_TRANS_PANE);
    if (!window || !IsWindow(window)) return NULL;
    QlModuleWnd = window;
    return window;
}

// ---------------------------------------------------------------------------
// Messages

static void OnCommand(HWND window, int id, LPARAM lParam)
{
    // Enter and Escape send IDOK and IDCANCEL, whose numbers the tool bar's
    // commands share: only the bar's own clicks count.
    if (!lParam || (HWND)lParam != sToolbar) return;
    switch (id) {
    case QL_PANE_CMD_QUOTE: QlQuoteOpenNew(NULL, NULL); return;
    case QL_PANE_CMD_INVOICE:
        QlTransPendingAcRef[0] = '\0';
        QlInvNew();
        return;
    case QL_PANE_CMD_CREDIT: QlCreditNew(); return;
    case QL_PANE_CMD_PAY: QlPayNewEmpty(); return;
    case QL_PANE_CMD_VIEW: OpenSelected(); return;
    case QL_PANE_CMD_CLOSE: QlUiClosePane(window); return;
    }
}

static INT_PTR OnNotify(HWND window, const NMHDR *header)
{
    if (header->hwndFrom != sList) return FALSE;
    switch (header->code) {
    case LVN_GETDISPINFOA: OnGetDispInfo((NMLVDISPINFOA *)header); return FALSE;
    case LVN_ODFINDITEMA:
    case LVN_ODFINDITEMW:
        // Typing a document number finds the first row whose number begins
        // with what was typed.
        SetWindowLongPtrA(window, DWLP_MSGRESULT, QlListOwnerDataFind(header, QlTransPaneRowCount(), KeyText));
        return TRUE;
    case LVN_COLUMNCLICK: {
        int column = ((const NMLISTVIEW *)header)->iSubItem;
        if (column >= 0 && column < QL_PANE_COLUMNS) SortByColumn(column);
        return FALSE;
    }
    case NM_CLICK: {
        int row = SelectedRow();
        if (row >= 0) QlTransPaneSelectedRow = row;
        return FALSE;
    }
    case NM_DBLCLK: OpenSelected(); return FALSE;
    }
    return FALSE;
}

static INT_PTR OnCtlColor(HWND window, UINT msg, HDC dc, HWND control)
{
    if (msg == WM_CTLCOLOREDIT && control == GetDlgItem(window, IDE_PANE_BARCODE)) {
        SetTextColor(dc, QL_COLOUR_WARNING);
        SetBkColor(dc, RGB(255, 255, 255));
        return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
    }
    if (msg == WM_CTLCOLORSTATIC && control && control == sCaption) {
        SetTextColor(dc, HEADING_COLOUR);
        SetBkMode(dc, TRANSPARENT);
        return (INT_PTR)(QlBrushModuleBack ? QlBrushModuleBack : GetSysColorBrush(COLOR_BTNFACE));
    }
    return FALSE;
}

static void OnDestroy(HWND window)
{
    if (sLoadWindow == window) sLoadWindow = NULL;
    if (QlModuleWnd == window) QlModuleWnd = NULL;
    QlEditEnterDetach(GetDlgItem(window, IDE_PANE_BARCODE));
    if (window != sWindow) return;
    QlToolbarDestroy(sToolbar, sToolbarItems, sToolbarCount);
    sToolbar = NULL;
    sCaption = NULL;
    sList = NULL;
    sWindow = NULL;
    FreeRows(&sRows);
}

INT_PTR CALLBACK QlTransPaneDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(window);
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), lParam); return TRUE;
    case WM_NOTIFY: return OnNotify(window, (const NMHDR *)lParam);
    case QL_WM_ENTER_KEY: OnScan(window); return TRUE;
    case QL_WM_MAIN_MAXIMIZED:
    case QL_WM_MAIN_RESTORED: QlTransPaneCreate(GetParent(window)); return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: return OnCtlColor(window, msg, (HDC)wParam, (HWND)lParam);
    case WM_CLOSE: QlEditEnterDetach(GetDlgItem(window, IDE_PANE_BARCODE)); return TRUE;
    case WM_DESTROY: OnDestroy(window); return FALSE;
    }
    return FALSE;
}
