// The printed list reports.  The four reports share one page model: the
// first row of a page begins it (the first page is the one the title block
// went onto), draws the boxed page header and the ruled grid with its
// column titles; the 35th row finishes it.  The rows come straight from the
// table walk, so a report of any length needs no memory of its own.  A walk
// that fails abandons the document: a part of a list would pass for all of
// it.

#include "reports/QlListReports.h"

#include "reports/QlRepTexts.h"
#include "reports/QlReportTables.h"

#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "datastore/QlDbTables.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <stdio.h>
#include <string.h>

QlListReportStateRec QlListReportState;

#define MAX_COLUMNS 6

// Fixed titles of the customer, transaction and service lists; the product
// list's follow the language.
static const char *const kCustTitles[] = {"A/C", "Account Name", "Telephone", "Fax"};
static const char *const kTransTitles[] = {"TX#", "Date", "Type", "A/C", "Desc", "Amt"};
static const char *const kServTitles[] = {"Code", "Details", "Price"};

// Column widths in percent; the grid layout reads one entry past the last column.
static const int QlReportCustWidthTable[] = {15, 35, 25, 25, 1, 1};
static const int QlReportTransWidthTable[] = {17, 13, 17, 14, 24, 15, 1, 1};
static const int QlReportProdWidthTable[] = {10, 60, 15, 15, 1, 1};
static const int QlReportServWidthTable[] = {10, 75, 15, 1, 1};

// Texts wrap inside their cells and the row grows to them; amounts and
// dates stand on one line.
#define WRAP (DT_LEFT | DT_WORDBREAK)
static const UINT kCustFormats[] = {WRAP, WRAP, WRAP, WRAP};
static const UINT kTransFormats[] = {WRAP, DT_RIGHT, WRAP, WRAP, WRAP, DT_RIGHT};
static const UINT kProdFormats[] = {WRAP, WRAP, DT_RIGHT, DT_RIGHT};
static const UINT kServFormats[] = {WRAP, WRAP, DT_RIGHT};

struct ListReport {
    int nameIndex;   // in QlReportNameTable
    int columns;
    const int *percent;
    const UINT *formats;
    const char *const *titles;   // NULL: the products list's language titles
};

static const ListReport kReports[] = {
    {1, 4, QlReportCustWidthTable, kCustFormats, kCustTitles},
    {2, 6, QlReportTransWidthTable, kTransFormats, kTransTitles},
    {6, 4, QlReportProdWidthTable, kProdFormats, NULL},
    {7, 3, QlReportServWidthTable, kServFormats, kServTitles},
};

// The length of a text field of a record, which need not be terminated.
#define FIELD(f) (int)strnlen((f), sizeof(f)), (f)

// ---------------------------------------------------------------------------
// Fonts and the title block

static HFONT MakeFont(HDC dc, int points, int weight, int italic, const char *face)
{
    LOGFONTA lf;
    memset(&lf, 0, sizeof lf);
    lf.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    lf.lfWeight = weight;
    lf.lfItalic = (BYTE)(italic ? 1 : 0);
    if (face) lstrcpynA(lf.lfFaceName, face, sizeof lf.lfFaceName);
    return CreateFontIndirectA(&lf);
}

static SIZE CharExtent(HDC dc)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, "e", 1, &size);
    if (size.cx < 1) size.cx = 1;
    if (size.cy < 1) size.cy = 1;
    return size;
}

void QlReportDrawTitleBlock(HDC dc, const RECT *page, const char *name)
{
    HFONT font = MakeFont(dc, 14, FW_BOLD, 1, NULL);
    HGDIOBJ previous = font ? SelectObject(dc, font) : NULL;
    RECT r = *page;
    r.top = 0;
    DrawTextA(dc, name, -1, &r, DT_CENTER | DT_NOPREFIX);
    r.top += CharExtent(dc).cy + 1;
    const QlSettingsRec &cfg = QlSettings.cfg;
    char company[64];
    snprintf(company, sizeof company, "(%.*s)", FIELD(cfg.companyName));
    DrawTextA(dc, company, -1, &r, DT_CENTER | DT_NOPREFIX);
    if (font) {
        SelectObject(dc, previous);
        DeleteObject(font);
    }
}

HFONT QlReportSelectBodyFont(HDC dc, SIZE *line, HGDIOBJ *previous)
{
    HFONT font = MakeFont(dc, 9, FW_NORMAL, 0, "Arial");
    if (!font) return NULL;
    *previous = SelectObject(dc, font);
    *line = CharExtent(dc);
    return font;
}

int QlReportCellInset(HDC dc)
{
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    int inset = dpi > 0 ? MulDiv(10, dpi, 600) : 10;
    return inset < 2 ? 2 : inset;
}

int QlReportDrawCell(HDC dc, const QlGridRec *grid, const char *text, int row, int column, UINT format)
{
    RECT r;
    if (!text || !QlGridCellRect(grid, row, column, format, NULL, &r)) return 0;
    // QlGridCellRect keeps 10 units from the lines: the device's own inset instead.
    const int adjust = QlReportCellInset(dc) - 10;
    r.left += adjust;
    r.right -= adjust;
    r.top += adjust;
    // Whole: wrapped within the row, or set smaller, never cut.
    if (!(format & DT_WORDBREAK)) format |= DT_SINGLELINE;
    return QlPrintFitCellText(dc, text, r, format);
}

// The row height a cell's text needs (QlReportDrawCell's rectangle).
static int CellNeed(HDC dc, const QlGridRec *grid, const char *text, int column, UINT format)
{
    RECT r;
    if (!text || !QlGridCellRect(grid, 0, column, format, NULL, &r)) return 0;
    const int inset = QlReportCellInset(dc);
    const int height = QlPrintFitCellHeight(dc, text, r.right - r.left - 2 * (inset - 10), format);
    return inset + height + 1;
}

void QlReportDrawTitles(HDC dc, const QlGridRec *grid, const char *const *titles, int count)
{
    for (int c = 0; c < count; c++) QlReportDrawCell(dc, grid, titles[c], 0, c, DT_LEFT);
}

// ---------------------------------------------------------------------------
// Rows

const char *QlListReportTypeName(uint32_t type, uint32_t subType)
{
    const QlRepTextRec *text = QlRepText();
    switch (type) {
    case 1: return text->TransTypeNames[subType == 1 ? 1 : 0];
    case 3: return QlStrLowerTail(text->TransTypeNames[3]);
    case 2:
    case 4:
    case 5:
    case 6: return text->TransTypeNames[type];
    }
    return "";
}

// The page's table: its top, its row height and the heights of the rows
// drawn so far.
static struct {
    int top, base, rows;
    int heights[QL_LIST_REPORT_ROWS_PER_PAGE];
    QlGridRec grid;
} sTable;

static void LayoutTable(const ListReport *report, int rows)
{
    const RECT *p = &QlListReportState.page;
    QlGridLayoutRows(&sTable.grid, p->left, sTable.top, p->right, sTable.base, sTable.heights, rows,
                     report->columns + 1, report->percent);
}

// Begins a page (unless it is the first, which is begun already) and draws
// its header box and the column titles; the rules follow when the page is
// finished.
static int BeginPage(const ListReport *report)
{
    QlListReportStateRec *s = &QlListReportState;
    if (s->pageCount > 0) {
        if (!QlPrintNextPage(s->target)) {
            s->failed = 1;
            return 0;
        }
        s->dc = s->target->dc;
    }
    const int h = s->line.cy;
    const RECT *p = &s->page;
    QlDrawFrame(s->dc, p->left, p->top, p->right, p->top + 2 * h, 5);
    char header[160];
    snprintf(header, sizeof header, "%s (%s %d)", QlReportNameTable[report->nameIndex], QlRepText()->PageWord,
             s->pageCount + 1);
    RECT box = {p->left, p->top, p->right, p->top + 2 * h};
    DrawTextA(s->dc, header, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    sTable.top = p->top + 4 * h;
    sTable.base = h + h / 3;
    sTable.rows = 0;
    LayoutTable(report, 0);
    const char *titles[MAX_COLUMNS];
    for (int c = 0; c < report->columns; c++) {
        const QlLangMenuRec *menu = QlLangMenu();
        static const int kProdTitles[] = {0, 2, 4, 5};
        titles[c] = report->titles ? report->titles[c] : menu->ProdColumns[kProdTitles[c]];
    }
    QlReportDrawTitles(s->dc, &sTable.grid, titles, report->columns);
    return 1;
}

// Rules the page's table: its rows, then empty rows up to the page's
// thirty-five as far as they fit above the bottom margin.
static void FinishPage(const ListReport *report)
{
    QlListReportStateRec *s = &QlListReportState;
    int rows = sTable.rows, y = sTable.top + sTable.base;
    for (int i = 0; i < rows; i++) y += sTable.heights[i];
    while (rows < QL_LIST_REPORT_ROWS_PER_PAGE && y + sTable.base <= s->page.bottom) {
        sTable.heights[rows++] = sTable.base;
        y += sTable.base;
    }
    LayoutTable(report, rows);
    QlGridDrawLines(s->dc, &sTable.grid);
    s->row = 0;
    s->pageCount++;
}

// One row of cells into the next grid row, as high as its wrapped texts
// need: beginning the page when it is the page's first, and finishing it
// after the 35th or when the row would run past the bottom margin.
static void DrawRow(int which, const char *const *cells)
{
    QlListReportStateRec *s = &QlListReportState;
    if (!s->target || s->failed || s->report != which) return;
    const ListReport *report = &kReports[which];
    if (s->row == 0 && !BeginPage(report)) return;
    int height = sTable.base;
    for (int c = 0; c < report->columns; c++) {
        const int need = CellNeed(s->dc, &sTable.grid, cells[c], c, report->formats[c]);
        if (need > height) height = need;
    }
    int y = sTable.top + sTable.base;
    for (int i = 0; i < sTable.rows; i++) y += sTable.heights[i];
    if (s->row > 0 && y + height > s->page.bottom) {
        FinishPage(report);
        if (!BeginPage(report)) return;
    }
    sTable.heights[sTable.rows++] = height;
    LayoutTable(report, sTable.rows);
    for (int c = 0; c < report->columns; c++)
        QlReportDrawCell(s->dc, &sTable.grid, cells[c], s->row + 1, c, report->formats[c]);
    if (++s->row == QL_LIST_REPORT_ROWS_PER_PAGE) FinishPage(report);
}

int QlReportCustRowCb(const QlCustRec *rec)
{
    char cells[4][48];
    snprintf(cells[0], sizeof cells[0], "%.*s", FIELD(rec->acref));
    snprintf(cells[1], sizeof cells[1], "%.*s", FIELD(rec->company));
    snprintf(cells[2], sizeof cells[2], "%.*s", FIELD(rec->worktel));
    snprintf(cells[3], sizeof cells[3], "%.*s", FIELD(rec->fax));
    const char *row[] = {cells[0], cells[1], cells[2], cells[3]};
    DrawRow(QL_LIST_REPORT_CUST, row);
    return 0;
}

int QlReportTransRowCb(const QlTransRec *rec)
{
    char key[24], date[40], acref[8], desc[88], gross[16];
    snprintf(key, sizeof key, QL_I64, rec->iKey);
    snprintf(date, sizeof date, "%.*s", FIELD(rec->date));
    snprintf(acref, sizeof acref, "%.*s", FIELD(rec->acref));
    snprintf(desc, sizeof desc, "%.*s", FIELD(rec->desc));
    snprintf(gross, sizeof gross, "%.*s", FIELD(rec->gross));
    const char *row[] = {key, date, QlListReportTypeName(rec->type, rec->sub_type), acref, desc, gross};
    DrawRow(QL_LIST_REPORT_TRANS, row);
    return 0;
}

int QlReportProdRowCb(const QlProdRec *rec)
{
    char code[8], name[88], price[24], stock[16];
    snprintf(code, sizeof code, "%.*s", FIELD(rec->scode));
    snprintf(name, sizeof name, "%.*s", FIELD(rec->name));
    snprintf(price, sizeof price, "%d.%02u", (int)rec->unit_price_units, (unsigned)rec->unit_price_hundredths);
    snprintf(stock, sizeof stock, "%d", (int)rec->stock_qty);
    const char *row[] = {code, name, price, stock};
    DrawRow(QL_LIST_REPORT_PROD, row);
    return 0;
}

int QlReportServRowCb(const QlServRec *rec)
{
    char key[24], descr[88], price[24];
    snprintf(key, sizeof key, QL_I64, rec->iKey);
    snprintf(descr, sizeof descr, "%.*s", FIELD(rec->descr));
    snprintf(price, sizeof price, "%d.%02u", (int)rec->price_units, (unsigned)rec->price_hundredths);
    const char *row[] = {key, descr, price};
    DrawRow(QL_LIST_REPORT_SERV, row);
    return 0;
}

// ---------------------------------------------------------------------------
// The document

static int Walk(int report, char *err)
{
    switch (report) {
    case QL_LIST_REPORT_CUST: return QlCustEnum(QlReportCustRowCb, err);
    case QL_LIST_REPORT_PROD: return QlProdEnum(QlReportProdRowCb, err);
    case QL_LIST_REPORT_SERV: return QlServEnum(QlReportServRowCb, err);
    }
    int type = QlListReportState.transType;
    if (type < 1 || type > 3) return QlTransEnumSql(QlReportTransRowCb, "select * from trans where enabled='yes'", err);
    char sql[96];
    snprintf(sql, sizeof sql, "select * from trans where enabled='yes' and type='%d'", type);
    return QlTransEnumSql(QlReportTransRowCb, sql, err);
}

int QlListReportDraw(QlPrintTarget *target, int report)
{
    if (report < 0 || report > QL_LIST_REPORT_SERV) return 0;
    HDC dc = target->dc;
    SetBkMode(dc, TRANSPARENT);
    QlReportDrawTitleBlock(dc, &target->page, QlReportNameTable[kReports[report].nameIndex]);
    SIZE line;
    HGDIOBJ previous = NULL;
    HFONT body = QlReportSelectBodyFont(dc, &line, &previous);
    if (!body) return 0;

    QlListReportStateRec *s = &QlListReportState;
    int transType = s->transType;
    memset(s, 0, sizeof *s);
    s->transType = transType;
    s->target = target;
    s->dc = dc;
    s->page = target->page;
    s->line = line;
    s->report = report;
    char err[QL_DB_ERR_SIZE] = "";
    int ok = Walk(report, err);
    if (!ok) snprintf(s->error, sizeof s->error, "%s", err[0] ? err : "?");
    if (ok && !s->failed && s->row > 0) FinishPage(&kReports[report]);
    if (s->failed) ok = 0;
    SelectObject(s->target->dc, previous);
    DeleteObject(body);
    s->target = NULL;
    s->dc = NULL;
    return ok;
}

static int DrawCust(QlPrintTarget *target, void *)
{
    return QlListReportDraw(target, QL_LIST_REPORT_CUST);
}

static int DrawTrans(QlPrintTarget *target, void *)
{
    return QlListReportDraw(target, QL_LIST_REPORT_TRANS);
}

static int DrawProd(QlPrintTarget *target, void *)
{
    return QlListReportDraw(target, QL_LIST_REPORT_PROD);
}

static int DrawServ(QlPrintTarget *target, void *)
{
    return QlListReportDraw(target, QL_LIST_REPORT_SERV);
}

// 1 when the report's table has a row to list (a failed look-up counts as
// one: the walk then says what failed).
static int HasRows(int report)
{
    const char *table = report == QL_LIST_REPORT_CUST   ? "customers"
                        : report == QL_LIST_REPORT_PROD ? "products"
                        : report == QL_LIST_REPORT_SERV ? "services"
                                                        : "trans";
    char sql[128];
    int type = QlListReportState.transType;
    if (report == QL_LIST_REPORT_TRANS && type >= 1 && type <= 3)
        snprintf(sql, sizeof sql, "select 1 from trans where enabled='yes' and type='%d' limit 1;", type);
    else
        snprintf(sql, sizeof sql, "select 1 from %s where enabled='yes' limit 1;", table);
    int found = 0;
    char err[QL_DB_ERR_SIZE] = "";
    if (!QlDbExecRows(sql, QlDbRowFoundCb, &found, err)) return 1;
    return found;
}

// Prints with the drawing core; an empty list is not printed but said, a
// failed table walk is reported.
static int Print(HWND owner, int report, QlPrintDrawFn draw)
{
    if (!HasRows(report)) {
        QlMsgBox(owner, QlRepText()->Error, QlLangText()->NothingToPrint, QL_COLOUR_WARNING);
        return 0;
    }
    QlListReportState.error[0] = '\0';
    int printed = QlPrintDocument(owner, draw, NULL);
    if (QlListReportState.error[0]) QlMsgBox(owner, QlRepText()->Error, QlListReportState.error, QL_COLOUR_WARNING);
    QlListReportState.error[0] = '\0';
    return printed;
}

int QlReportPrintCust(HWND owner)
{
    return Print(owner, QL_LIST_REPORT_CUST, DrawCust);
}

int QlReportPrintTrans(HWND owner)
{
    return Print(owner, QL_LIST_REPORT_TRANS, DrawTrans);
}

static int PrintTransType(HWND owner, int type)
{
    QlListReportState.transType = type;
    return QlReportPrintTrans(owner);
}

int QlReportPrintTransAll(HWND owner)
{
    return PrintTransType(owner, 0);
}

int QlReportPrintInvoices(HWND owner)
{
    return PrintTransType(owner, 1);
}

int QlReportPrintCredits(HWND owner)
{
    return PrintTransType(owner, 2);
}

int QlReportPrintPayments(HWND owner)
{
    return PrintTransType(owner, 3);
}

int QlReportPrintProd(HWND owner)
{
    return Print(owner, QL_LIST_REPORT_PROD, DrawProd);
}

int QlReportPrintServ(HWND owner)
{
    return Print(owner, QL_LIST_REPORT_SERV, DrawServ);
}
