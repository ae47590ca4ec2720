// The customer payment form (template 184): a new payment (QlPayNewDlgProc)
// and the view of a stored one (QlPayViewDlgProc), with the payment-item
// dialog 185 (QlPayItemDlgProc).
//
// The new form lists the open invoices of one account.  It remembers which
// account that is: Save pays those invoices only for that account.  The pay
// amounts live in column 5 of list 1161 until Save; the totals are sums in
// cents over the columns, recomputed after every change.  The view lists
// the invoices a stored payment paid, with their current balances.

#include "transactions/QlPay.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlListView.h"
#include "ui/QlMoneyControls.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlToolbar.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlOpeners.h"
#include "docmodel/QlTransLines.h"
#include "docmodel/QlTransTexts.h"
#include "docmodel/QlReadError.h"
#include "documents/QlDocOutput.h"
#include "resources/QlResCommon.h"
#include "resources/QlResCustomers.h"
#include "resources/QlResTransPane.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"
#include "transactions/QlPaneTexts.h"
#include "transactions/QlTransForm.h"
#include "transactions/QlTransFormParts.h"
#include "transactions/QlTransOpen.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

char QlPayPendingAcRef[6];
QlPayItemWorkRec QlPayItemWork;

// The open form (one at a time: it is the module window).
static HWND sForm;
static int64_t sListedAccount;   // whose invoices the new form lists
static HWND sToolbar;
static QlToolbarItem *sToolbarTable;
static HFONT sTitleFont;
static QlTransRec sViewRec;       // the payment the view shows (a copy)
static HWND sLoadList;           // the list a row callback fills

static QlToolbarItem sViewToolbarTable[2] = {
    {IDBMP_PRINT, QL_PAY_CMD_PRINT, NULL, "Print"},
    {IDBMP_CLOSE, QL_PAY_CMD_CLOSE, NULL, "Close"},
};

// The header block that follows the right edge, the totals with it.
static const int kHeaderBlock[] = {IDT_PAY_TITLE,      IDT_PAY_NUMBER_LABEL, IDT_PAY_NUMBER,      IDT_PAY_DATE_LABEL,
                                   IDP_PAY_DATE,       IDT_PAY_ACREF_LABEL,  IDT_PAY_ACREF,       IDT_PAY_TOTAL_LABEL,
                                   IDT_PAY_DUE_TOTAL,  IDT_PAY_TOTAL};
// What the maximised layout moves down to the tool bar.
static const int kBottomBlock[] = {IDT_PAY_TOTAL_LABEL, IDT_PAY_DUE_TOTAL, IDT_PAY_TOTAL, IDB_PAY_EDIT, IDB_PAY_FULL};
// Statics drawn black on white (the title is green on white).
static const int kWhiteBoxes[] = {IDT_PAY_ACREF,        IDT_PAY_NUMBER_LABEL, IDT_PAY_DATE_LABEL, IDT_PAY_ACREF_LABEL,
                                  IDT_PAY_TOTAL_LABEL,  IDT_PAY_DUE_TOTAL,    IDT_PAY_TOTAL,      IDT_PAY_NUMBER,
                                  IDT_PAY_TITLE};

// Column weights of list 1161 in the new form and the view, and of dialog
// 185's one-row list.
static const int kNewWeights[QL_PAY_COLUMNS] = {70, 80, 75, 285, 90, 90};
static const int kViewWeights[QL_PAY_COLUMNS] = {55, 75, 75, 305, 90, 90};
static const int kItemWeights[QL_PAY_COLUMNS] = {55, 75, 75, 160, 90, 90};
static const int kFormats[QL_PAY_COLUMNS] = {LVCFMT_LEFT, LVCFMT_LEFT,  LVCFMT_LEFT,
                                             LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_RIGHT};
#define COLUMN_MARGIN 10

#define TITLE_COLOUR RGB(0, 102, 0)

// ---------------------------------------------------------------------------
// Small helpers

static HWND List(HWND form)
{
    return GetDlgItem(form, IDL_PAY_DOCS);
}

static int RowCount(HWND list)
{
    return (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
}

static int Selected(HWND list)
{
    return (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

// Appends a row of six cells (NULL cells stay empty); its index or -1.
static int AppendRow(HWND list, const char *const cells[QL_PAY_COLUMNS], LPARAM data)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = 0x7FFFFFFF;
    item.pszText = (char *)(cells[0] ? cells[0] : "");
    item.lParam = data;
    int row = (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    for (int c = 1; c < QL_PAY_COLUMNS && row >= 0; c++)
        if (cells[c]) QlListSetCell(list, row, c, cells[c]);
    return row;
}

static void SetColumns(HWND list, const int *weights)
{
    const QlPaneTextRec *text = QlPaneText();
    const char *titles[QL_PAY_COLUMNS];
    for (int c = 0; c < QL_PAY_COLUMNS; c++) titles[c] = text->PayColumns[c];
    int widths[QL_PAY_COLUMNS];
    QlListColumnWidths(list, weights, QL_PAY_COLUMNS, widths, COLUMN_MARGIN);
    QlListSetColumns(list, titles, QL_PAY_COLUMNS, widths, 0, kFormats);
}

static void ShiftHeader(HWND form)
{
    HWND title = GetDlgItem(form, IDT_PAY_TITLE);
    if (!title) return;
    RECT client;
    GetClientRect(form, &client);
    int width, left;
    QlUiGetRectInParent(title, &width, NULL, NULL, &left);
    int shift = client.right - (left + width) - 3;
    for (int id : kHeaderBlock) QlUiShiftItemX(form, id, shift);
}

static HWND OpenForm(DLGPROC procedure)
{
    QlUiDestroyModule();
    HWND form = QlUiCreateModeless(QlUiInstance(), QlMainWnd, procedure, IDD_PAY_FORM);
    if (!form || !IsWindow(form)) return NULL;
    QlModuleWnd = form;
    return form;
}

int64_t QlPayListedAccount(HWND form)
{
    return form && form == sForm ? sListedAccount : 0;
}

// ---------------------------------------------------------------------------
// Openers

HWND QlPayNew(HWND customersModule)
{
    int64_t count = 0;
    if (QlTransGetCount(&count) && count >= QL_TRANS_LIMIT) {
        QlMsgBox(customersModule, QlLangText()->Error, QlTransText()->MaxTransactions, QL_COLOUR_WARNING);
        return NULL;
    }
    QlPayPendingAcRef[0] = '\0';
    QlUiGetField(customersModule, IDT_CUST_ACREF, QlPayPendingAcRef);
    return OpenForm(QlPayNewDlgProc);
}

HWND QlPayNewEmpty(void)
{
    QlPayPendingAcRef[0] = '\0';
    return OpenForm(QlPayNewDlgProc);
}

HWND QlPayOpenView(const QlTransRec *payment)
{
    if (!payment) return NULL;
    if (payment != &sViewRec) sViewRec = *payment;
    return OpenForm(QlPayViewDlgProc);
}

// ---------------------------------------------------------------------------
// The documents and the totals

static int OpenDocRowCb(const QlTransRec *rec)
{
    if (!sLoadList) return 0;
    char key[24];
    snprintf(key, sizeof key, QL_I64, rec->iKey);
    const char *cells[QL_PAY_COLUMNS] = {key, rec->date, rec->type == 1 ? QlPaneText()->InvoiceWord : "",
                                         rec->desc, rec->gross_bal, "0.00"};
    AppendRow(sLoadList, cells, 0);
    return 0;
}

int QlPayLoadOpenDocs(HWND form, const QlCustRec *customer)
{
    HWND list = List(form);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    char sql[QL_DB_SQL_QUERY];
    char err[QL_DB_ERR_SIZE];
    sLoadList = list;
    int ok = QlDbFormatSql(sql, sizeof sql, err,
                           "select * from trans where enabled='yes' and cust_rowid='" QL_I64
                           "' and type='%d' and gross_bal<>'0.00'",
                           customer->iKey, 1) &&
             QlTransEnumSql(OpenDocRowCb, sql, err);
    sLoadList = NULL;
    if (!ok) QlSeamMessageBox(form, err, QL_CAPTION_TRANS_LOAD_FAILED, MB_OK);
    return ok;
}

void QlPayUpdateTotals(HWND form)
{
    HWND list = List(form);
    int count = RowCount(list);
    char text[32];
    QlMoneyFormatCents(QlListSumCents(list, QL_PAY_COL_DUE, count), text, sizeof text);
    SetDlgItemTextA(form, IDT_PAY_DUE_TOTAL, text);
    QlMoneyFormatCents(QlListSumCents(list, QL_PAY_COL_PAID, count), text, sizeof text);
    SetDlgItemTextA(form, IDT_PAY_TOTAL, text);
}

void QlPayShowAccount(HWND form, const QlCustRec *customer)
{
    if (!customer) return;
    SetDlgItemTextA(form, IDE_PAY_ACREF, customer->acref);
    SetDlgItemTextA(form, IDT_PAY_ACREF, customer->acref);
    SetDlgItemTextA(form, IDE_PAY_COMPANY, customer->company);
    if (form == sForm) sListedAccount = customer->iKey;
    QlPayLoadOpenDocs(form, customer);
    QlPayUpdateTotals(form);
}

int QlPayRowPayInFull(HWND list, int row)
{
    char due[41], paid[41];
    QlListGetCell(list, row, QL_PAY_COL_DUE, due, sizeof due);
    QlListGetCell(list, row, QL_PAY_COL_PAID, paid, sizeof paid);
    if (strcmp(due, paid) == 0) return 0;
    QlListSetCell(list, row, QL_PAY_COL_PAID, due);
    return 1;
}

void QlPaySelectNextUnpaid(HWND form)
{
    HWND list = List(form);
    int count = RowCount(list);
    if (count <= 0) return;
    int row = Selected(list);
    if (row >= 0) {
        QlPayRowPayInFull(list, row);
    } else {
        for (row = 0; row < count; row++)
            if (QlPayRowPayInFull(list, row)) break;
    }
    if (row + 1 < count) {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, row + 1, (LPARAM)&item);
        SendMessageA(list, LVM_ENSUREVISIBLE, row + 1, FALSE);
    }
    QlPayUpdateTotals(form);
}

int QlPayEnterItem(HWND form)
{
    HWND list = List(form);
    int row = Selected(list);
    if (row < 0) return 0;
    QlPayItemWorkRec *work = &QlPayItemWork;
    memset(work, 0, sizeof *work);
    QlListGetCell(list, row, QL_PAY_COL_REF, work->ref, sizeof work->ref);
    QlListGetCell(list, row, QL_PAY_COL_DATE, work->date, sizeof work->date);
    QlListGetCell(list, row, QL_PAY_COL_TYPE, work->type, sizeof work->type);
    QlListGetCell(list, row, QL_PAY_COL_DESC, work->desc, sizeof work->desc);
    QlListGetCell(list, row, QL_PAY_COL_PAID, work->paid, sizeof work->paid);
    QlListGetCell(list, row, QL_PAY_COL_DUE, work->due, sizeof work->due);
    if (DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_PAY_ITEM), form, QlPayItemDlgProc, 0) != 1) return 0;
    QlListSetCell(list, row, QL_PAY_COL_PAID, work->paid);
    QlPayUpdateTotals(form);
    return 1;
}

// ---------------------------------------------------------------------------
// Layout

static int Top(HWND form, int id)
{
    int top = 0;
    QlUiGetRectInParent(GetDlgItem(form, id), NULL, NULL, &top, NULL);
    return top;
}

static int Height(HWND form, int id)
{
    int height = 0;
    QlUiGetRectInParent(GetDlgItem(form, id), NULL, &height, NULL, NULL);
    return height;
}

// Column 3 takes the list's slack.
static void FitDescriptionColumn(HWND form)
{
    HWND list = List(form);
    int sum = 0;
    for (int c = 0; c < QL_PAY_COLUMNS; c++) sum += (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0);
    int width = 0;
    QlUiGetRectInParent(list, &width, NULL, NULL, NULL);
    int column = (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, QL_PAY_COL_DESC, 0) + (width - sum) - 25;
    if (column > 0) SendMessageA(list, LVM_SETCOLUMNWIDTH, QL_PAY_COL_DESC, column);
}

static HWND CreateToolbar(HWND form, QlToolbarItem *table)
{
    sToolbarTable = table;
    sToolbar = QlToolbarCreate(QlUiInstance(), form, table, 2, 1, 0);
    return sToolbar;
}

static void DestroyToolbar(void)
{
    if (sToolbar) QlToolbarDestroy(sToolbar, sToolbarTable, 2);
    sToolbar = NULL;
}

// The form filling the pane of the maximised main window: the tool bar at
// the bottom, the totals and buttons 15 pixels above it, the list down to
// them and across.
static void LayoutMaximised(HWND form)
{
    QlUiFillBelowToolbar(form);
    ShiftHeader(form);
    QlToolbarItem *table = sToolbarTable;
    DestroyToolbar();
    if (table) CreateToolbar(form, table);
    if (!sToolbar) return;
    int barTop = 0;
    QlUiGetRectInParent(sToolbar, NULL, NULL, &barTop, NULL);
    int dy = barTop - (Top(form, IDT_PAY_DUE_TOTAL) + Height(form, IDT_PAY_DUE_TOTAL)) - 15;
    for (int id : kBottomBlock) {
        HWND item = GetDlgItem(form, id);
        int left, top;
        QlUiGetRectInParent(item, NULL, NULL, &top, &left);
        if (item) QlUiMoveWindow(item, left, top + dy);
    }
    HWND list = List(form);
    QlUiStretchItemRight(form, IDL_PAY_DOCS, 3);
    int left, top, width, height;
    QlUiGetRectInParent(list, &width, &height, &top, &left);
    MoveWindow(list, left, top, width, height + dy, TRUE);
    FitDescriptionColumn(form);
}

// ---------------------------------------------------------------------------
// Creation shared by the new form and the view

static void SetTexts(HWND form)
{
    const QlTransTextRec *trans = QlTransText();
    const QlPaneTextRec *text = QlPaneText();
    SetDlgItemTextA(form, IDT_PAY_ACCOUNT_LABEL, trans->AcRef);
    SetDlgItemTextA(form, IDB_PAY_SELECT, trans->Select);
    SetDlgItemTextA(form, IDT_PAY_COMPANY_LABEL, trans->CompanyName);
    SetDlgItemTextA(form, IDT_PAY_TITLE, text->PayTitle);
    SetDlgItemTextA(form, IDT_PAY_NUMBER_LABEL, text->PaymentNo);
    SetDlgItemTextA(form, IDT_PAY_DATE_LABEL, text->PaymentDate);
    SetDlgItemTextA(form, IDT_PAY_ACREF_LABEL, trans->AcRef);
    SetDlgItemTextA(form, IDB_PAY_EDIT, trans->Edit);
    SetDlgItemTextA(form, IDB_PAY_FULL, text->PayInFull);
    SetDlgItemTextA(form, IDT_PAY_TOTAL_LABEL, trans->Total);
    SetDlgItemTextA(form, IDT_PAY_NUMBER, trans->AutoNumber);
}

static int StartForm(HWND form, QlToolbarItem *toolbar, const int *weights)
{
    QlModuleWnd = form;
    sForm = form;
    sListedAccount = 0;
    QlTransFormFitPane(form);
    ShiftHeader(form);
    if (!CreateToolbar(form, toolbar)) return 0;
    SetTexts(form);
    sTitleFont = QlTransMakeTitleFont();
    SendDlgItemMessageA(form, IDT_PAY_TITLE, WM_SETFONT, (WPARAM)sTitleFont, TRUE);
    SendDlgItemMessageA(form, IDP_PAY_DATE, DTM_SETFORMATA, 0,
                        (LPARAM)(QlSettings.cfg.dateFormat[0] ? QlSettings.cfg.dateFormat : "d/MM/yyyy"));
    SendDlgItemMessageA(form, IDE_PAY_ACREF, EM_LIMITTEXT, 5, 0);
    SendDlgItemMessageA(form, IDE_PAY_COMPANY, EM_LIMITTEXT, 39, 0);
    QlUiStretchItemRight(form, IDL_PAY_DOCS, 3);
    SetColumns(List(form), weights);
    QlPayUpdateTotals(form);
    return 1;
}

static void EndForm(HWND form)
{
    if (form != sForm) return;
    DestroyToolbar();
    if (sTitleFont) DeleteObject(sTitleFont);
    sTitleFont = NULL;
    sForm = NULL;
    sListedAccount = 0;
}

static int IsToolbarCommand(HWND form, int id, LPARAM lParam)
{
    // Enter and Escape in the fields send IDOK and IDCANCEL, whose numbers
    // the tool bar's commands share: only the bar's own clicks count.
    return (id == QL_PAY_CMD_SAVE || id == QL_PAY_CMD_CLOSE) && sToolbar && (HWND)lParam == sToolbar &&
           form == sForm;
}

static INT_PTR StaticColour(HDC dc, HWND control)
{
    int id = GetDlgCtrlID(control);
    int white = 0;
    for (int box : kWhiteBoxes) white |= box == id;
    if (!white) return FALSE;
    SetTextColor(dc, id == IDT_PAY_TITLE ? TITLE_COLOUR : RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
}

// ---------------------------------------------------------------------------
// The new form

static BOOL OnNewInit(HWND form)
{
    if (!StartForm(form, QlSaveCloseToolbarTable, kNewWeights)) return FALSE;
    QlCustRec customer;
    char err[QL_DB_ERR_SIZE];
    if (QlPayPendingAcRef[0] && QlCustGetByAcRef(QlPayPendingAcRef, &customer, err)) QlPayShowAccount(form, &customer);
    if (QlTransMainMaximized()) LayoutMaximised(form);
    return TRUE;
}

static void OnSave(HWND form)
{
    char acref[80];
    QlUiGetField(form, IDE_PAY_ACREF, acref);
    QlCustRec customer;
    char err[QL_DB_ERR_SIZE];
    int found = acref[0] && QlCustGetByAcRef(acref, &customer, err);
    if (acref[0] && !found && !QlDbNotFound()) {
        QlShowReadError(form, err);   // not read: the payment is no "unknown account"
        return;
    }
    if (QlPaySave(form, found ? &customer : NULL)) QlUiClosePane(form);
}

static void OnSelect(HWND form)
{
    const QlCustRec *taken = NULL;
    INT_PTR chosen = QlModuleOpeners.selectCustomer ? QlModuleOpeners.selectCustomer(form, &taken) : 0;
    if (chosen == 1 && taken) QlPayShowAccount(form, taken);
}

static void OnNewCommand(HWND form, int id, LPARAM lParam)
{
    if (IsToolbarCommand(form, id, lParam)) {
        if (id == QL_PAY_CMD_SAVE)
            OnSave(form);
        else if (RowCount(List(form)) == 0 || QlMsgAskCloseForm(form))
            QlUiClosePane(form);
        return;
    }
    switch (id) {
    case IDB_PAY_SELECT: OnSelect(form); return;
    case IDB_PAY_EDIT: QlPayEnterItem(form); return;
    case IDB_PAY_FULL: QlPaySelectNextUnpaid(form); return;
    }
}

static void OnDestroy(HWND form)
{
    EndForm(form);
    if (QlModuleWnd == form) QlModuleWnd = NULL;
}

INT_PTR CALLBACK QlPayNewDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnNewInit(form);
    case WM_COMMAND: OnNewCommand(form, LOWORD(wParam), lParam); return TRUE;
    case WM_NOTIFY: {
        const NMHDR *header = (const NMHDR *)lParam;
        if (header->idFrom == IDL_PAY_DOCS && header->code == NM_DBLCLK) QlPayEnterItem(form);
        return FALSE;
    }
    case QL_WM_MAIN_MAXIMIZED: LayoutMaximised(form); return TRUE;
    case WM_CTLCOLORSTATIC: return StaticColour((HDC)wParam, (HWND)lParam);
    case WM_CLOSE: return TRUE;   // not a command of the form
    case WM_DESTROY: OnDestroy(form); return FALSE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// The view

static int ViewRowCb(const QlPayRec *pay)
{
    if (!sLoadList) return 0;
    LPARAM data = -1;
    if (QlItemRowKeyTable.count < QL_ITEM_TABLE_SIZE) {
        data = QlItemRowKeyTable.count;
        QlItemRowKeyTable.keys[QlItemRowKeyTable.count++] = pay->iKey;
    }
    char key[24];
    snprintf(key, sizeof key, QL_I64, pay->iv_rowid);
    QlTransRec doc;
    char err[QL_DB_ERR_SIZE];
    int read = QlTransGetByRowId(pay->iv_rowid, &doc, err);
    const char *cells[QL_PAY_COLUMNS] = {key, sViewRec.date, QlPaneText()->InvoiceWord,
                                         read ? doc.desc : NULL, read ? doc.gross_bal : NULL, pay->paid};
    AppendRow(sLoadList, cells, data);
    return 0;
}

static void ShowViewAccount(HWND form)
{
    QlCustRec customer;
    char err[QL_DB_ERR_SIZE];
    if (!QlCustGetByRowId(sViewRec.cust_rowid, &customer, err)) return;
    SetDlgItemTextA(form, IDE_PAY_ACREF, customer.acref);
    SetDlgItemTextA(form, IDT_PAY_ACREF, customer.acref);
    SetDlgItemTextA(form, IDE_PAY_COMPANY, customer.company);
    SendDlgItemMessageA(form, IDE_PAY_ACREF, EM_SETREADONLY, TRUE, 0);
    SendDlgItemMessageA(form, IDE_PAY_COMPANY, EM_SETREADONLY, TRUE, 0);
    QlDateRec date;
    if (!QlDateParseDmy(sViewRec.date, &date)) return;
    SYSTEMTIME range[2] = {};
    range[0].wYear = (WORD)date.year;
    range[0].wMonth = (WORD)date.month;
    range[0].wDay = (WORD)date.day;
    range[1] = range[0];
    SendDlgItemMessageA(form, IDP_PAY_DATE, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&range[0]);
    SendDlgItemMessageA(form, IDP_PAY_DATE, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, (LPARAM)range);
}

static BOOL OnViewInit(HWND form)
{
    const QlLangTextRec *lang = QlLangText();
    const char *labels[2] = {lang->Print, lang->Close};
    for (int i = 0; i < 2; i++)
        snprintf(sViewToolbarTable[i].text, sizeof sViewToolbarTable[i].text, "%.*s",
                 (int)sizeof sViewToolbarTable[i].text - 1, labels[i]);
    if (!StartForm(form, sViewToolbarTable, kViewWeights)) return FALSE;
    char number[24];
    snprintf(number, sizeof number, QL_I64, sViewRec.iKey);
    SetDlgItemTextA(form, IDT_PAY_NUMBER, number);
    // A stored payment is not edited here.
    static const int kLocked[] = {IDB_PAY_SELECT, IDB_PAY_EDIT, IDB_PAY_FULL};
    for (int id : kLocked) EnableWindow(GetDlgItem(form, id), FALSE);
    ShowViewAccount(form);

    QlItemRowKeyTableClear();
    HWND list = List(form);
    char err[QL_DB_ERR_SIZE];
    sLoadList = list;
    QlPayEnumByTrans(ViewRowCb, sViewRec.iKey, err);
    sLoadList = NULL;
    SetDlgItemTextA(form, IDT_PAY_TOTAL, sViewRec.gross);
    int64_t units;
    int cents;
    QlListSumMoney(list, QL_PAY_COL_DUE, RowCount(list), &units, &cents);
    char due[32];
    QlMoneyFormatCents(units * 100 + cents, due, sizeof due);
    SetDlgItemTextA(form, IDT_PAY_DUE_TOTAL, due);
    if (QlTransMainMaximized()) LayoutMaximised(form);
    return TRUE;
}

static void OnViewCommand(HWND form, int id, LPARAM lParam)
{
    if (!IsToolbarCommand(form, id, lParam)) return;
    if (id == QL_PAY_CMD_PRINT)
        QlPayPrint(form);
    else
        QlUiClosePane(form);
}

INT_PTR CALLBACK QlPayViewDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnViewInit(form);
    case WM_COMMAND: OnViewCommand(form, LOWORD(wParam), lParam); return TRUE;
    case QL_WM_MAIN_MAXIMIZED: LayoutMaximised(form); return TRUE;
    case QL_WM_MAIN_RESTORED: QlPayOpenView(&sViewRec); return TRUE;
    case WM_CTLCOLORSTATIC: return StaticColour((HDC)wParam, (HWND)lParam);
    case WM_CLOSE: return TRUE;
    case WM_DESTROY: OnDestroy(form); return FALSE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Dialog 185: the amount paid on one row

void QlPayItemShowAmount(HWND dialog, const char *money)
{
    char units[40];
    snprintf(units, sizeof units, "%s", money ? money : "");
    char *dot = strchr(units, '.');
    const char *cents = "";
    if (dot) {
        *dot = '\0';
        cents = dot + 1;
    }
    SetDlgItemTextA(dialog, IDE_PAY_ITEM_UNITS, units);
    SetDlgItemTextA(dialog, IDE_PAY_ITEM_CENTS, cents);
}

int64_t QlPayItemReadCents(HWND dialog)
{
    char units[QL_PAY_ITEM_FIELD + 8], cents[QL_PAY_ITEM_FIELD + 8];
    GetDlgItemTextA(dialog, IDE_PAY_ITEM_UNITS, units, sizeof units);
    GetDlgItemTextA(dialog, IDE_PAY_ITEM_CENTS, cents, sizeof cents);
    // More units than any amount due has (the ceiling is 999999999.99):
    // taken as that much, so that OK brings it down to the amount due.
    if (strlen(units) - strspn(units, "0") > 9) return (int64_t)1000000000 * 100;
    int64_t whole = QlAtoI64(units);
    int hundredths = atoi(cents);
    if (whole < 0) whole = 0;
    if (hundredths < 0 || hundredths > 99) hundredths = 0;
    return whole * 100 + hundredths;
}

static void OnItemInit(HWND dialog)
{
    const QlPaneTextRec *text = QlPaneText();
    const QlLangTextRec *lang = QlLangText();
    QlUiCenterWindow(dialog);
    SetWindowTextA(dialog, text->EditItemCaption);
    SetDlgItemTextA(dialog, IDT_PAY_ITEM_AMOUNT_LABEL, text->PayAmount);
    SetDlgItemTextA(dialog, IDT_PAY_ITEM_CENTS_LABEL, text->Cents);
    SetDlgItemTextA(dialog, IDB_PAY_ITEM_FULL, text->PayInFull);
    SetDlgItemTextA(dialog, IDOK, lang->Ok);
    SetDlgItemTextA(dialog, IDCANCEL, lang->Cancel);
    // Room for more than an amount has, so that a pasted text reaches the
    // check whole instead of being cut to fit.
    SendDlgItemMessageA(dialog, IDE_PAY_ITEM_UNITS, EM_LIMITTEXT, QL_PAY_ITEM_FIELD, 0);
    SendDlgItemMessageA(dialog, IDE_PAY_ITEM_CENTS, EM_LIMITTEXT, QL_PAY_ITEM_FIELD, 0);
    HWND list = GetDlgItem(dialog, IDL_PAY_ITEM_ROW);
    SetColumns(list, kItemWeights);
    const QlPayItemWorkRec *work = &QlPayItemWork;
    const char *cells[QL_PAY_COLUMNS] = {work->ref, work->date, work->type, work->desc, work->due, work->paid};
    AppendRow(list, cells, 0);
    QlPayItemShowAmount(dialog, work->paid);
}

const char *QlPayItemRefusal(HWND dialog)
{
    const QlTransTextRec *text = QlTransText();
    char units[QL_PAY_ITEM_FIELD + 8], cents[QL_PAY_ITEM_FIELD + 8];
    GetDlgItemTextA(dialog, IDE_PAY_ITEM_UNITS, units, sizeof units);
    GetDlgItemTextA(dialog, IDE_PAY_ITEM_CENTS, cents, sizeof cents);
    if (strchr(units, '-') || strchr(cents, '-')) return text->PriceNegative;
    size_t unitDigits = strspn(units, "0123456789"), centDigits = strspn(cents, "0123456789");
    if (units[unitDigits] || cents[centDigits] || centDigits > 2) return text->PriceNotDigits;
    return NULL;
}

// OK: the amount typed, no more than the amount due.  A larger one is
// brought down to the amount due and shown again for a second OK; one that
// is not an amount is refused with its message, the edits as typed.
static void OnItemOk(HWND dialog)
{
    QlPayItemWorkRec *work = &QlPayItemWork;
    const char *refusal = QlPayItemRefusal(dialog);
    if (refusal) {
        QlMsgBox(dialog, QlTransText()->InvalidInput, refusal, QL_COLOUR_WARNING);
        return;
    }
    int64_t paid = QlPayItemReadCents(dialog);
    int64_t due = QlMoneyParseCents(work->due);
    if (paid > due) {
        QlMoneyFormatCents(due, work->paid, sizeof work->paid);
        QlPayItemShowAmount(dialog, work->paid);
        return;
    }
    QlMoneyFormatCents(paid, work->paid, sizeof work->paid);
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK QlPayItemDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: OnItemInit(dialog); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: OnItemOk(dialog); return TRUE;
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        case IDB_PAY_ITEM_FULL: QlPayItemShowAmount(dialog, QlPayItemWork.due); return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}
