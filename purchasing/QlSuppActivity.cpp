// Supplier activity (template 329): the purchase orders of the supplier
// focused in the suppliers window, printed as the supplier orders report or
// one of them opened in the purchase-order window.

#include "purchasing/QlSuppliers.h"

#include "purchasing/QlPurchOpen.h"
#include "purchasing/QlPurchTexts.h"
#include "purchasing/QlSuppCurrent.h"

#include "print/QlGrid.h"
#include "ui/QlLayout.h"
#include "ui/QlListView.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlWindow.h"
#include "customers/QlCustOutput.h"
#include "datastore/QlDbTables.h"
#include "resources/QlResIds.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>

// clang-format off
QlToolbarItem QlSuppActivityToolbarTable[QL_SUPP_ACT_CMD_COUNT] = {
    {IDBMP_PRINT, QL_SUPP_ACT_CMD_PRINT, NULL, "Print"},
    {IDBMP_VIEW, QL_SUPP_ACT_CMD_VIEW, NULL, "View"},
    {IDBMP_CLOSE, QL_SUPP_ACT_CMD_CLOSE, NULL, "Close"},
};

QlListColumnTable QlSuppActivityListColumnTable = {IDL_SUPP_ACTIVITY_LIST, NULL, QL_SUPP_ACT_COLUMNS, {
    {20, LVCFMT_LEFT, "Order No"},
    {20, LVCFMT_LEFT, "Date"},
    {40, LVCFMT_LEFT, "Description"},
    {20, LVCFMT_LEFT, "Total"},
}};
// clang-format on

// Printed report: column widths in percent (the last entry closes the table)
// and the titles.
static const int kPrintPercent[QL_SUPP_ACT_COLUMNS + 1] = {15, 15, 55, 15, 1};
static const char *const kPrintTitles[QL_SUPP_ACT_COLUMNS] = {"Order #", "Date", "Description", "Total"};

static HWND sToolbar;
static HWND sList;
static QlTransRec sChosenRec;
QlTransRec *QlSuppActivityChosen = NULL;

// ---------------------------------------------------------------------------
// The list

int QlSuppActivityRowCb(const QlTransRec *rec)
{
    if (!sList) return 0;
    char key[24];
    snprintf(key, sizeof key, QL_I64, rec->iKey);
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = INT_MAX;   // after the last row, however many there are
    item.pszText = key;
    item.lParam = 1;
    int row = (int)SendMessageA(sList, LVM_INSERTITEMA, 0, (LPARAM)&item);
    if (row < 0) return 0;
    QlListSetCell(sList, row, 1, rec->date);
    QlListSetCell(sList, row, 2, rec->desc);
    QlListSetCell(sList, row, 3, rec->gross);
    return 0;
}

int QlSuppActivityLoad(HWND dialog, int column)
{
    // Quoted: "desc" is also a word of the query language.
    static const char *const kColumns[] = {"iKey", "date", "desc", "gross"};
    const char *order = column >= 1 && column <= 3 ? kColumns[column] : kColumns[0];
    sList = GetDlgItem(dialog, IDL_SUPP_ACTIVITY_LIST);
    if (!sList) return 0;
    SendMessageA(sList, LVM_DELETEALLITEMS, 0, 0);
    char sql[QL_DB_SQL_QUERY];
    char err[QL_DB_ERR_SIZE] = "";
    snprintf(sql, sizeof sql,
             "select * from trans where enabled='yes' and type='5' and supp_rowid='" QL_I64 "' order by \"%s\" asc",
             QlSuppCurrent.iKey, order);
    if (!QlTransEnumSql(QlSuppActivityRowCb, sql, err)) {
        QlSeamMessageBox(NULL, err, "Transaction lookup failed", MB_OK);
        return 0;
    }
    return 1;
}

int QlSuppActivityGetSelected(HWND dialog, int64_t *orderNo, int *index)
{
    HWND list = GetDlgItem(dialog, IDL_SUPP_ACTIVITY_LIST);
    int row = list ? (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED) : -1;
    if (row < 0) return 0;
    char text[256];
    QlListGetCell(list, row, 0, text, sizeof text);
    *orderNo = QlAtoI64(text);
    *index = row;
    return 1;
}

int QlSuppActivityOpenSel(HWND dialog)
{
    int64_t orderNo = 0;
    int row = -1;
    if (!QlSuppActivityGetSelected(dialog, &orderNo, &row)) return 0;
    char err[QL_DB_ERR_SIZE];
    QlTransRec rec;
    if (!QlTransGetByRowId(orderNo, &rec, err)) return 0;
    sChosenRec = rec;
    QlSuppActivityChosen = &sChosenRec;
    return 1;
}

// ---------------------------------------------------------------------------
// The supplier orders report

static void DrawPage(HDC dc, const RECT *page, const QlSuppOrdersJob *job, int pageIndex, int pages, int h, int *next)
{
    const QlPurchTextRec *text = QlPurchText();
    char heading[160];
    snprintf(heading, sizeof heading, "%s (%s %d %s %d)", text->OrdersHeading, text->PageWord, pageIndex + 1,
             text->OfWord, pages);
    QlDrawFrame(dc, page->left, page->top, page->right, page->top + 2 * h, 5);
    RECT band = {page->left, page->top, page->right, page->top + 2 * h};
    DrawTextA(dc, heading, -1, &band, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);

    QlGridRec grid;
    QlGridLayout(&grid, page->left, page->top + 4 * h, page->right, 0, QL_SUPP_ACT_ROWS_PER_PAGE + 2,
                 QL_SUPP_ACT_COLUMNS + 1, h + h / 3, kPrintPercent);
    QlGridDrawLines(dc, &grid);
    // The titles sit in their cells as the rows do, inset in proportion to
    // the device's resolution.
    for (int c = 0; c < QL_SUPP_ACT_COLUMNS; c++) QlCustGridCellText(dc, &grid, kPrintTitles[c], 0, c, DT_LEFT);

    for (int r = 0; r < QL_SUPP_ACT_ROWS_PER_PAGE && *next < job->rows; r++, (*next)++) {
        for (int c = 0; c < QL_SUPP_ACT_COLUMNS; c++) {
            char cell[256];
            QlListGetCell(job->list, *next, c, cell, sizeof cell);
            QlCustGridCellText(dc, &grid, cell, r + 1, c, DT_LEFT);
        }
    }
}

// The supplier and the business, centred in the title font in the top margin
// of the first page, their last line ending just above the page's heading
// box (which stays where every page has it).
static void DrawTitle(HDC dc, const RECT *page, const QlSuppOrdersJob *job)
{
    LOGFONTA lf;
    memset(&lf, 0, sizeof lf);
    lf.lfHeight = -MulDiv(14, GetDeviceCaps(dc, LOGPIXELSY), 72);
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = TRUE;
    HFONT font = CreateFontIndirectA(&lf);
    if (!font) return;
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE e = {0, 0};
    GetTextExtentPoint32A(dc, "e", 1, &e);
    int step = e.cy + 1;

    char supplier[160];
    snprintf(supplier, sizeof supplier, "Supplier Orders (Supplier: %s, %s)", job->acref, job->company);
    char business[64];
    snprintf(business, sizeof business, "(%s)", job->business);
    RECT r = {page->left, page->top - 2 * step - step / 2, page->right, page->top - step - step / 2};
    if (r.top < 0) OffsetRect(&r, 0, -r.top);   // a device without a top margin: at its top edge
    DrawTextA(dc, supplier, -1, &r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    OffsetRect(&r, 0, step);
    DrawTextA(dc, business, -1, &r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);

    SelectObject(dc, previous);
    DeleteObject(font);
}

int QlSuppOrdersDraw(QlPrintTarget *target, void *data)
{
    const QlSuppOrdersJob *job = (const QlSuppOrdersJob *)data;
    SetBkMode(target->dc, TRANSPARENT);
    DrawTitle(target->dc, &target->page, job);

    HFONT font = QlCustPrintFont(target->dc, 9, 0);
    if (!font) return 0;
    HGDIOBJ previous = SelectObject(target->dc, font);
    SIZE e = {0, 0};
    GetTextExtentPoint32A(target->dc, "e", 1, &e);
    int h = e.cy;
    int pages = job->rows / QL_SUPP_ACT_ROWS_PER_PAGE + (job->rows % QL_SUPP_ACT_ROWS_PER_PAGE > 0 ? 1 : 0);
    int ok = 1, next = 0;
    for (int p = 0; p < pages && ok; p++) {
        if (p > 0) ok = QlPrintNextPage(target);
        if (ok) DrawPage(target->dc, &target->page, job, p, pages, h, &next);
    }
    SelectObject(target->dc, previous);
    DeleteObject(font);
    return ok;
}

int QlSuppPrintOrders(HWND dialog)
{
    QlSuppOrdersJob job;
    memset(&job, 0, sizeof job);
    job.list = GetDlgItem(dialog, IDL_SUPP_ACTIVITY_LIST);
    job.rows = job.list ? (int)SendMessageA(job.list, LVM_GETITEMCOUNT, 0, 0) : 0;
    if (job.rows <= 0) {
        QlMsgBox(dialog, QlPurchText()->ListEmptyCaption, QlPurchText()->NothingToPrint, QL_COLOUR_WARNING);
        return 0;
    }
    snprintf(job.acref, sizeof job.acref, "%s", QlSuppCurrent.acref);
    snprintf(job.company, sizeof job.company, "%s", QlSuppCurrent.company);
    snprintf(job.business, sizeof job.business, "%s", QlSettings.cfg.companyName);
    return QlPrintDocument(dialog, QlSuppOrdersDraw, &job);
}

// ---------------------------------------------------------------------------
// The dialog

static BOOL OnInitDialog(HWND dialog)
{
    QlUiCenterWindow(dialog);
    char caption[160];
    snprintf(caption, sizeof caption, QlPurchText()->ActivityCaption, QlSuppCurrent.acref);
    SetWindowTextA(dialog, caption);
    sToolbar = QlToolbarCreate(QlUiInstance(), dialog, QlSuppActivityToolbarTable, QL_SUPP_ACT_CMD_COUNT, 1, 0);

    int width = 0, barTop = 0;
    RECT client;
    GetClientRect(dialog, &client);
    width = client.right;
    barTop = client.bottom;
    if (sToolbar) QlUiGetRectInParent(sToolbar, NULL, NULL, &barTop, NULL);
    MoveWindow(GetDlgItem(dialog, IDL_SUPP_ACTIVITY_LIST), 0, 0, width, barTop, TRUE);

    QlListSetupFromTable(dialog, &QlSuppActivityListColumnTable);
    QlSuppActivityLoad(dialog, 0);
    return TRUE;
}

static void View(HWND dialog)
{
    if (QlSuppActivityOpenSel(dialog)) EndDialog(dialog, 0);
}

static void OnCommand(HWND dialog, int id, HWND sender)
{
    // Enter and Escape arrive as IDOK (1) and IDCANCEL (2), which are also
    // the tool bar's View and Close: only the tool bar's own are its.
    if (sender && sender == sToolbar) {
        switch (id) {
        case QL_SUPP_ACT_CMD_PRINT: QlSuppPrintOrders(dialog); return;
        case QL_SUPP_ACT_CMD_VIEW: View(dialog); return;
        case QL_SUPP_ACT_CMD_CLOSE: EndDialog(dialog, 0); return;
        }
        return;
    }
    if (id == IDCANCEL) EndDialog(dialog, 0);
}

static void OnNotify(HWND dialog, const NMHDR *header)
{
    if (header->idFrom != IDL_SUPP_ACTIVITY_LIST) return;
    if (header->code == LVN_COLUMNCLICK)
        QlSuppActivityLoad(dialog, ((const NMLISTVIEW *)header)->iSubItem);
    else if (header->code == NM_DBLCLK)
        View(dialog);
}

static void DestroyToolbar(void)
{
    if (!sToolbar) return;
    QlToolbarDestroy(sToolbar, QlSuppActivityToolbarTable, QL_SUPP_ACT_CMD_COUNT);
    sToolbar = NULL;
}

INT_PTR CALLBACK QlSuppActivityDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), (HWND)lParam); return TRUE;
    case WM_NOTIFY: OnNotify(dialog, (const NMHDR *)lParam); return FALSE;
    case WM_CLOSE: DestroyToolbar(); return FALSE;
    case WM_DESTROY:
        DestroyToolbar();
        sList = NULL;
        return FALSE;
    }
    return FALSE;
}

void QlSuppActivityCmd(HWND window)
{
    QlSuppRec rec;
    memset(&rec, 0, sizeof rec);
    int row = -1;
    if (!QlSuppGetSelected(&rec, &row)) return;
    char err[QL_DB_ERR_SIZE];
    if (!QlSuppGetByRowId(rec.iKey, &rec, err)) return;
    QlSuppCurrent = rec;
    QlSuppActivityChosen = NULL;
    DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_SUPP_ACTIVITY), window, QlSuppActivityDlgProc, 0);
    if (QlSuppActivityChosen) {
        QlTransRec order = *QlSuppActivityChosen;
        QlSuppActivityChosen = NULL;
        QlOrderOpen(&order);
    }
}
