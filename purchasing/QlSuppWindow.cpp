// The suppliers window (template 323) in the module slot.
//
// A load runs the short message pump once per row, so the user can click,
// sort, close the window or open another module while a long list fills.
// Every load therefore has a serial number: a load that another one replaced
// (a sort started meanwhile) or whose window went away adds no further rows
// and leaves the selection alone.

#include "purchasing/QlSuppliers.h"

#include "purchasing/QlPurchOpen.h"
#include "purchasing/QlPurchTexts.h"
#include "purchasing/QlSuppCurrent.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlOpeners.h"
#include "resources/QlResIds.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>

// clang-format off
QlToolbarItem QlSuppToolbarTable[QL_SUPP_TOOLBAR_COUNT] = {
    {IDBMP_NEW, QL_SUPP_CMD_NEW, NULL, "New"},
    {IDBMP_SAVE, QL_SUPP_CMD_SAVE, NULL, "Save"},
    {IDBMP_DELETE, QL_SUPP_CMD_DELETE, NULL, "Delete"},
    {IDBMP_INVOICE, QL_SUPP_CMD_INVOICE, NULL, "Invoice"},
    {IDBMP_PRODUCTS, QL_SUPP_CMD_ORDER, NULL, "Order"},
    {IDBMP_ACTIVITY, QL_SUPP_CMD_ACTIVITY, NULL, "Activity"},
    {IDBMP_CLOSE, QL_SUPP_CMD_CLOSE, NULL, "Close"},
};

// The row id is kept at no width; the shown columns leave room for a
// vertical scroll bar, so that no horizontal one is needed.
QlListColumnTable QlSuppListColumnTable = {IDL_SUPP_LIST, NULL, 3, {
    {29, LVCFMT_LEFT, "A/C Ref"},
    {66, LVCFMT_LEFT, "Company"},
    {0, LVCFMT_LEFT, "Row Id"},
}};
// clang-format on

// The controls of the right half, moved to the middle of the window at start.
static const int kRightHalf[] = {
    IDT_SUPP_COMPANY_LABEL, IDE_SUPP_COMPANY, IDT_SUPP_ADDRESS_LABEL, IDE_SUPP_ADDR1,     IDE_SUPP_ADDR2,
    IDE_SUPP_ADDR3,         IDT_SUPP_EMAIL_LABEL, IDE_SUPP_EMAIL,    IDT_SUPP_CONTACT_LABEL, IDE_SUPP_CONTACT,
    IDT_SUPP_TEL_LABEL,     IDE_SUPP_TEL,     IDT_SUPP_MOBILE_LABEL, IDE_SUPP_MOBILE,    IDT_SUPP_FAX_LABEL,
    IDE_SUPP_FAX,
};

static const struct {
    int id;
    int limit;
} kEditLimits[] = {
    {IDE_SUPP_CONTACT, 39}, {IDE_SUPP_TEL, 24}, {IDE_SUPP_MOBILE, 24}, {IDE_SUPP_FAX, 24}, {IDE_SUPP_EMAIL, 79},
};

#define HEADING_COLOUR RGB(128, 0, 0)

// Window state: one suppliers window exists at a time.  The sort flags and
// the remembered row outlive it.
static HWND sToolbar;
static HWND sHeading;
static int sSortFlags[3];      // per column: 1 when the next click sorts descending
static int sRowCount;          // rows of the running (or last) load
static int sRememberedRow;     // the row whose supplier the fields showed last

static HWND sLoadList;         // the list a running load fills, NULL when none runs
static unsigned sLoadSerial;

void QlSuppWindowForget(void)
{
    memset(sSortFlags, 0, sizeof sSortFlags);
    sRememberedRow = 0;
}

static HWND List(void)
{
    return QlSuppWnd ? GetDlgItem(QlSuppWnd, IDL_SUPP_LIST) : NULL;
}

static int RowCount(HWND list)
{
    return list ? (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) : 0;
}

static void SelectRow(HWND list, int row)
{
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&item);
    SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
}

// ---------------------------------------------------------------------------
// Rows and loads

int QlSuppListAddRow(const QlSuppRec *rec)
{
    HWND list = List();
    if (!list) return -1;
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = INT_MAX;   // after the last row, however many there are
    item.pszText = (char *)rec->acref;
    item.lParam = 1;
    int row = (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    if (row < 0) return -1;
    QlListSetCell(list, row, QL_SUPP_COL_COMPANY, rec->company);
    char key[24];
    snprintf(key, sizeof key, QL_I64, rec->iKey);
    QlListSetCell(list, row, QL_SUPP_COL_KEY, key);
    return row;
}

int QlSuppListRowCb(const QlSuppRec *rec)
{
    if (!sLoadList) return 0;   // the load was given up: its other rows are passed over
    QlSuppListAddRow(rec);
    QlUiPumpMessages();
    sRowCount++;
    return 0;
}

// Empties the list and fills it from the query (every enabled supplier when
// sql is NULL).  1 when the query ran, 0 when it failed (err set), -1 when
// the load was given up because the window closed or another load started
// while the rows were coming in.
static int Load(HWND window, const char *sql, char *err)
{
    HWND list = GetDlgItem(window, IDL_SUPP_LIST);
    if (!list) return -1;
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    unsigned serial = ++sLoadSerial;
    sLoadList = list;
    sRowCount = 0;
    int ok = sql ? QlSuppEnumSql(QlSuppListRowCb, sql, err) : QlSuppEnum(QlSuppListRowCb, err);
    if (serial != sLoadSerial || !IsWindow(window) || QlSuppWnd != window) return -1;
    sLoadList = NULL;
    return ok;
}

// The row at the remembered index selected, focused and in view; a position
// beyond the list selects nothing.
static void SelectRemembered(HWND window)
{
    HWND list = GetDlgItem(window, IDL_SUPP_LIST);
    if (sRowCount > 0 && sRememberedRow >= 0 && sRememberedRow < RowCount(list)) SelectRow(list, sRememberedRow);
}

int QlSuppListLoad(HWND window)
{
    char err[QL_DB_ERR_SIZE] = "";
    int ok = Load(window, NULL, err);
    if (ok < 0) return 1;
    if (!ok) {
        QlSeamMessageBox(NULL, err, "Failed to load supplier record", MB_OK);
        return 0;
    }
    SelectRemembered(window);
    return 1;
}

static void OnColumnClick(HWND window, int column)
{
    static const char *const kOrderColumns[] = {"acref", "company", "iKey"};
    if (column < 0 || column >= (int)ARRAYSIZE(kOrderColumns)) return;
    int descending = sSortFlags[column];
    sSortFlags[column] = !descending;
    char sql[QL_DB_SQL_QUERY];
    snprintf(sql, sizeof sql, "select * from suppliers where enabled='yes' order by %s %s", kOrderColumns[column],
             descending ? "desc" : "asc");
    char err[QL_DB_ERR_SIZE];
    if (Load(window, sql, err) != 1) return;
    SelectRemembered(window);
}

// ---------------------------------------------------------------------------
// The fields

void QlSuppShowFields(HWND window, const QlSuppRec *rec)
{
    SetDlgItemTextA(window, IDT_SUPP_ACREF, rec->acref);
    SetDlgItemTextA(window, IDE_SUPP_COMPANY, rec->company);
    SetDlgItemTextA(window, IDE_SUPP_ADDR1, rec->addr1);
    SetDlgItemTextA(window, IDE_SUPP_ADDR2, rec->addr2);
    SetDlgItemTextA(window, IDE_SUPP_ADDR3, rec->addr3);
    SetDlgItemTextA(window, IDE_SUPP_EMAIL, rec->wemail);
    SetDlgItemTextA(window, IDE_SUPP_CONTACT, rec->contact);
    SetDlgItemTextA(window, IDE_SUPP_TEL, rec->worktel);
    SetDlgItemTextA(window, IDE_SUPP_MOBILE, rec->mobtel);
    SetDlgItemTextA(window, IDE_SUPP_FAX, rec->fax);
}

static void OnSelectionChange(HWND window)
{
    QlSuppRec rec;
    memset(&rec, 0, sizeof rec);
    int row = -1;
    if (!QlSuppGetSelected(&rec, &row)) return;
    char err[QL_DB_ERR_SIZE];
    QlSuppRec found;
    if (!QlSuppGetByRowId(rec.iKey, &found, err)) {
        QlSeamMessageBox(NULL, err, "Lookup by rowid failed", MB_OK);
        return;
    }
    sRememberedRow = row;
    QlSuppShowFields(window, &found);
}

// ---------------------------------------------------------------------------
// Save and Delete

void QlSuppSave(HWND window)
{
    QlSuppRec rec;
    memset(&rec, 0, sizeof rec);
    int row = -1;
    if (RowCount(List()) == 0) return;   // no supplier, nothing to save
    if (!QlSuppGetSelected(&rec, &row)) {
        // Fields that show a supplier are never dropped without a word.
        QlUiGetField(window, IDT_SUPP_ACREF, rec.acref);
        if (rec.acref[0])
            QlMsgBox(window, QlPurchText()->InvalidInput, QlPurchText()->ChooseSupplier, QL_COLOUR_WARNING);
        return;
    }

    QlUiGetField(window, IDT_SUPP_ACREF, rec.acref);
    QlUiGetField(window, IDE_SUPP_COMPANY, rec.company);
    QlUiGetField(window, IDE_SUPP_ADDR1, rec.addr1);
    QlUiGetField(window, IDE_SUPP_ADDR2, rec.addr2);
    QlUiGetField(window, IDE_SUPP_ADDR3, rec.addr3);
    // A name or first address line of blanks only is an empty one.
    QlTrimBlanks(rec.company);
    QlTrimBlanks(rec.addr1);
    if (!rec.company[0] || !rec.addr1[0]) {
        QlMsgBox(window, QlPurchText()->InvalidInput, QlPurchText()->FillNameAddress, QL_COLOUR_WARNING);
        return;
    }
    QlUiGetField(window, IDE_SUPP_EMAIL, rec.wemail);
    QlUiGetField(window, IDE_SUPP_CONTACT, rec.contact);
    QlUiGetField(window, IDE_SUPP_TEL, rec.worktel);
    QlUiGetField(window, IDE_SUPP_MOBILE, rec.mobtel);
    QlUiGetField(window, IDE_SUPP_FAX, rec.fax);

    // The window has no balance field: the stored balance is kept.  The
    // fields are written only over the supplier they show, so a row whose
    // supplier could not be shown is never given another one's details.
    char err[QL_DB_ERR_SIZE];
    QlSuppRec stored;
    if (!QlSuppGetByRowId(rec.iKey, &stored, err)) {
        QlSeamMessageBox(NULL, err, "Lookup by rowid failed", MB_OK);
        return;
    }
    if (strcmp(stored.acref, rec.acref) != 0) {
        QlMsgBox(window, QlPurchText()->InvalidInput, QlPurchText()->ChooseSupplier, QL_COLOUR_WARNING);
        return;
    }
    rec.balance_units = stored.balance_units;
    rec.balance_hundredths = stored.balance_hundredths;

    if (!QlSuppUpdate(&rec, err)) {
        QlSeamMessageBox(NULL, err, "Database row update failed", MB_OK);
        return;
    }
    QlListSetCell(List(), row, QL_SUPP_COL_COMPANY, rec.company);
}

static int sOrderFound;
static int sTransFound;

static int QlSuppOrderFoundRowCb(const QlOrderRec *)
{
    sOrderFound = 1;
    return 0;
}

static int QlSuppTransFoundRowCb(const QlTransRec *)
{
    sTransFound = 1;
    return 0;
}

int QlSuppHasTrans(int64_t suppKey)
{
    char sql[QL_DB_SQL_QUERY];
    char err[QL_DB_ERR_SIZE];
    snprintf(sql, sizeof sql, "select * from trans where enabled='yes' and supp_rowid='" QL_I64 "' limit 1;", suppKey);
    sTransFound = 0;
    if (!QlTransEnumSql(QlSuppTransFoundRowCb, sql, err)) sTransFound = 1;
    return sTransFound;
}

void QlSuppDelete(HWND window)
{
    HWND list = List();
    QlSuppRec rec;
    memset(&rec, 0, sizeof rec);
    int row = -1;
    if (RowCount(list) == 0 || !QlSuppGetSelected(&rec, &row)) return;

    char sql[QL_DB_SQL_QUERY];
    char err[QL_DB_ERR_SIZE];
    snprintf(sql, sizeof sql, "select * from %s where enabled='yes' and iSupplierRowId='" QL_I64 "' limit 1", "orders",
             rec.iKey);
    sOrderFound = 0;
    const QlPurchTextRec *text = QlPurchText();
    if (!QlOrderEnumSql(QlSuppOrderFoundRowCb, sql, err)) {
        // No proof that the supplier has no orders: not deleted.
        QlMsgBox(window, text->CannotDelete, err, QL_COLOUR_WARNING);
        return;
    }
    int used = sOrderFound ? 1 : QlSuppHasTrans(rec.iKey);
    if (used) {
        QlMsgBox(window, text->CannotDelete, text->HasTransactions, QL_COLOUR_WARNING);
        return;
    }

    // The question names the row that goes: its A/C ref as listed.
    char acref[128];
    QlListGetCell(list, row, QL_SUPP_COL_ACREF, acref, sizeof acref);
    char question[320];
    snprintf(question, sizeof question, "%s %s. %s", text->DeleteAccount, acref, text->AreYouSure);
    if (!QlMsgAskOkCancel(window, text->DeleteCaption, question, QL_COLOUR_WARNING)) return;

    if (!QlSuppDisable(rec.iKey, err)) {
        QlSeamMessageBox(NULL, err, "Failed to delete supplier", MB_OK);
        return;
    }
    SendMessageA(list, LVM_DELETEITEM, row, 0);
    if (RowCount(list) == 0) {
        QlSuppRec empty;
        memset(&empty, 0, sizeof empty);
        QlSuppShowFields(window, &empty);
    }
}

// ---------------------------------------------------------------------------
// Start

static void ApplyTexts(HWND window)
{
    const QlPurchTextRec *text = QlPurchText();
    for (int i = 0; i < QL_SUPP_TOOLBAR_COUNT; i++)
        snprintf(QlSuppToolbarTable[i].text, sizeof QlSuppToolbarTable[i].text, "%s", text->Toolbar[i]);
    snprintf(QlSuppListColumnTable.columns[0].title, sizeof QlSuppListColumnTable.columns[0].title, "%s",
             text->SupplierAcc);
    snprintf(QlSuppListColumnTable.columns[1].title, sizeof QlSuppListColumnTable.columns[1].title, "%s",
             text->CompanyNameLabel);

    const struct {
        int id;
        const char *text;
    } labels[] = {
        {IDT_SUPP_ACREF_LABEL, text->SupplierAcc},  {IDT_SUPP_COMPANY_LABEL, text->CompanyNameLabel},
        {IDT_SUPP_ADDRESS_LABEL, text->CompanyAddress}, {IDT_SUPP_EMAIL_LABEL, text->EmailLabel},
        {IDT_SUPP_CONTACT_LABEL, text->ContactLabel}, {IDT_SUPP_TEL_LABEL, text->TelLabel},
        {IDT_SUPP_MOBILE_LABEL, text->MobileLabel}, {IDT_SUPP_FAX_LABEL, text->FaxLabel},
    };
    for (const auto &label : labels) SetDlgItemTextA(window, label.id, label.text);
}

// The list on the left half down to the tool bar, the fields from the middle.
static void Layout(HWND window)
{
    int width = 0, listTop = 0, barTop = 0;
    QlUiGetRectInParent(window, &width, NULL, NULL, NULL);
    HWND list = GetDlgItem(window, IDL_SUPP_LIST);
    QlUiGetRectInParent(list, NULL, NULL, &listTop, NULL);
    if (sToolbar) {
        QlUiGetRectInParent(sToolbar, NULL, NULL, &barTop, NULL);
    } else {
        RECT client;
        GetClientRect(window, &client);
        barTop = client.bottom;
    }
    MoveWindow(list, 0, listTop, width / 2 - 10, barTop > listTop ? barTop - listTop : 0, TRUE);
    for (int id : kRightHalf) {
        HWND item = GetDlgItem(window, id);
        int top = 0;
        QlUiGetRectInParent(item, NULL, NULL, &top, NULL);
        if (item) QlUiMoveWindow(item, width / 2 + 10, top);
    }
    // The A/C ref above them goes along, its label first.
    int labelLeft = 0;
    QlUiGetRectInParent(GetDlgItem(window, IDT_SUPP_ACREF_LABEL), NULL, NULL, NULL, &labelLeft);
    QlUiShiftItemX(window, IDT_SUPP_ACREF_LABEL, width / 2 + 10 - labelLeft);
    QlUiShiftItemX(window, IDT_SUPP_ACREF, width / 2 + 10 - labelLeft);
}

static BOOL OnInitDialog(HWND window)
{
    QlSuppWnd = window;
    // Any other opener running while the list loads closes this window.
    QlModuleWnd = window;
    QlUiFitPane(window);
    ApplyTexts(window);
    sToolbar = QlToolbarCreate(QlUiInstance(), window, QlSuppToolbarTable, QL_SUPP_TOOLBAR_COUNT, 1, 0);
    Layout(window);
    if (QlLangIndex(QlSettings.cfg.language) == QL_LANG_FRENCH)
        SetDlgItemTextA(window, IDT_SUPP_COMPANY_LABEL, QlPurchText()->Company);

    sHeading = QlUiCreateStatic(QlUiInstance(), window, 0, 0, 650, 20, SS_CENTERIMAGE, 1);
    QlUiSetText(sHeading, QlPurchText()->Heading);
    if (QlFontBold12) SendMessageA(sHeading, WM_SETFONT, (WPARAM)QlFontBold12, FALSE);
    QlUiStretchRight(sHeading, 0);

    SendDlgItemMessageA(window, IDE_SUPP_COMPANY, EM_LIMITTEXT, 39, 0);
    QlListSetupFromTable(window, &QlSuppListColumnTable);
    QlSuppListLoad(window);
    if (!IsWindow(window) || QlSuppWnd != window) return FALSE;   // closed, or replaced, while it loaded

    QlUiLimitAddressEdits(window);
    for (const auto &limit : kEditLimits) SendDlgItemMessageA(window, limit.id, EM_LIMITTEXT, limit.limit, 0);
    PostMessageA(GetDlgItem(window, IDE_SUPP_COMPANY), EM_SETSEL, (WPARAM)-1, 0);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Messages

static void OnToolbarCommand(HWND window, int id)
{
    switch (id) {
    case QL_SUPP_CMD_NEW:
        if (!sLoadList) QlSuppNewCmd(window);   // a new row could be listed twice mid-load
        return;
    case QL_SUPP_CMD_SAVE: QlSuppSave(window); return;
    case QL_SUPP_CMD_DELETE: QlSuppDelete(window); return;
    case QL_SUPP_CMD_INVOICE: QlPurchInvNew(window); return;
    case QL_SUPP_CMD_ORDER: QlOrderNew(window); return;
    case QL_SUPP_CMD_ACTIVITY: QlSuppActivityCmd(window); return;
    case QL_SUPP_CMD_CLOSE: QlUiClosePane(window); return;
    }
}

static void OnCommand(HWND window, int id, HWND control)
{
    // Only the tool bar's own commands count: Enter and Escape bring the
    // dialog manager's IDOK and IDCANCEL, which share their ids with Save
    // and Delete.
    if (control && control == sToolbar) OnToolbarCommand(window, id);
}

static void OnNotify(HWND window, const NMHDR *header)
{
    if (header->idFrom != IDL_SUPP_LIST) return;
    if (header->code == LVN_COLUMNCLICK)
        OnColumnClick(window, ((const NMLISTVIEW *)header)->iSubItem);
    else if (header->code == LVN_ITEMCHANGED && !sLoadList)
        OnSelectionChange(window);
}

static INT_PTR OnCtlColorStatic(HWND window, HDC dc, HWND control)
{
    if (control && control == GetDlgItem(window, IDT_SUPP_ACREF)) {
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
    }
    if (control && control == sHeading) {
        SetTextColor(dc, HEADING_COLOUR);
        SetBkMode(dc, TRANSPARENT);
        return (INT_PTR)(QlBrushModuleBack ? QlBrushModuleBack : GetSysColorBrush(COLOR_BTNFACE));
    }
    return FALSE;
}

static void OnDestroy(HWND window)
{
    if (QlModuleWnd == window) QlModuleWnd = NULL;
    if (QlSuppWnd != window) return;
    if (sLoadList && GetParent(sLoadList) == window) sLoadList = NULL;
    QlToolbarDestroy(sToolbar, QlSuppToolbarTable, QL_SUPP_TOOLBAR_COUNT);
    sToolbar = NULL;
    sHeading = NULL;
    QlSuppWnd = NULL;
}

INT_PTR CALLBACK QlSuppDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(window);
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), (HWND)lParam); return TRUE;
    case WM_NOTIFY: OnNotify(window, (const NMHDR *)lParam); return FALSE;
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(window, (HDC)wParam, (HWND)lParam);
    case QL_WM_MAIN_MAXIMIZED:
    case QL_WM_MAIN_RESTORED: QlSuppOpenWindow(GetParent(window)); return TRUE;
    case WM_CLOSE: return TRUE;   // not a command: the dialog manager would make it IDCANCEL (Delete)
    case WM_DESTROY: OnDestroy(window); return TRUE;
    }
    return FALSE;
}

HWND QlSuppOpenWindow(HWND parent)
{
    QlUiDestroyModule();
    HWND window = QlUiCreateModeless(QlUiInstance(), parent, QlSuppDlgProc, IDD_SUPP_WINDOW);
    if (!window || !IsWindow(window)) return NULL;
    QlModuleWnd = window;
    return window;
}
