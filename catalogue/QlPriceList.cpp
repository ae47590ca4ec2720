// The price lists: the options dialog (192) and the printed list of the
// products window or of the services window.
//
// Geometry, in device units of the printable area (L, T, R, B), with h the
// height of one character of the 10-point body font and the fixed distances
// (50, 100, d) in units of a 600 dpi printer, kept in proportion on others:
//   title frame   (L, T + d) to (R, T + 2h), 5 units thick
//   title         centred in (L, T + 50 + d, R, T + 2h)
//   top message   centred in (L, T + 100 + 2h + d, R, T + 50 + 4h + d)
//   table         from G = T + 50 + 4h + d: 32 row lines h + h / 3 apart,
//                 columns of 10, 75 and 15 % of the width
//   bottom        centred in (L, last row line + h, R, B + 3h)
// d is 10 for the products list and 0 for the services list.  The services
// list measures h again once its first row is drawn, so from then on its
// pages are spaced by the list font; the products list keeps h throughout.
//
// Everything is drawn inside a begun page: the logo and the company block
// go onto the first page, before its title.

#include "catalogue/QlPriceList.h"

#include "catalogue/QlCatTexts.h"
#include "catalogue/QlProducts.h"
#include "catalogue/QlServices.h"

#include "print/QlGrid.h"
#include "ui/QlListView.h"
#include "ui/QlMsgDialog.h"
#include "ui/QlWindow.h"
#include "documents/QlDocStyle.h"
#include "resources/QlResCatalogue.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

QlPriceListOptionsRec QlPriceListOptions = {1, 0, 0, 0, 0, "", ""};
HFONT QlPriceListFont = NULL;

#define GRID_ROW_LINES (QL_PRICE_ROWS_PER_PAGE + 2)
#define FRAME_THICKNESS 5
#define LIST_FONT_POINTS 10

// ---------------------------------------------------------------------------
// The options dialog

void QlPriceListTopMessage(char *out, size_t size)
{
    const QlSettingsRec &cfg = QlSettings.cfg;
    const int fax = (int)strnlen(cfg.fax, sizeof cfg.fax);
    snprintf(out, size, "%.*s Tel. %.*s %s%.*s", (int)strnlen(cfg.companyName, sizeof cfg.companyName),
             cfg.companyName, (int)strnlen(cfg.telephone, sizeof cfg.telephone), cfg.telephone,
             fax ? QlCatText()->TopMessageFax : "", fax, cfg.fax);
}

static BOOL OnOptionsInit(HWND dialog)
{
    const QlCatTextRec *text = QlCatText();
    QlPriceListOptionsRec *o = &QlPriceListOptions;
    QlUiCenterWindow(dialog);
    SetWindowTextA(dialog, text->PriceOptionsCaption);
    static const struct {
        int id;
        size_t offset;
    } kLabels[] = {
        {IDB_PRICE_PRINT, offsetof(QlCatTextRec, PricePrint)},
        {IDB_PRICE_CLOSE, offsetof(QlCatTextRec, PriceClose)},
        {IDT_PRICE_TOP_LABEL, offsetof(QlCatTextRec, TopMessageLabel)},
        {IDT_PRICE_BOTTOM_LABEL, offsetof(QlCatTextRec, BottomMessageLabel)},
        {IDB_PRICE_OUT_OF_STOCK, offsetof(QlCatTextRec, IncludeOutOfStock)},
        {IDB_PRICE_LOGO, offsetof(QlCatTextRec, PrintLogo)},
        {IDB_PRICE_ADDRESS, offsetof(QlCatTextRec, PrintAddress)},
    };
    for (const auto &label : kLabels) SetDlgItemTextA(dialog, label.id, (const char *)text + label.offset);

    o->bottom_message_on = 0;
    o->include_out_of_stock = 0;
    // The messages hold 79 characters: the edits take no more, so nothing
    // typed is cut away unseen.
    SendDlgItemMessageA(dialog, IDE_PRICE_TOP, EM_LIMITTEXT, QL_PRICE_MESSAGE_SIZE - 1, 0);
    SendDlgItemMessageA(dialog, IDE_PRICE_BOTTOM, EM_LIMITTEXT, QL_PRICE_MESSAGE_SIZE - 1, 0);
    CheckDlgButton(dialog, IDB_PRICE_LOGO, o->print_logo ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDB_PRICE_ADDRESS, o->print_address ? BST_CHECKED : BST_UNCHECKED);

    QlPriceListTopMessage(o->top_message, sizeof o->top_message);
    SetDlgItemTextA(dialog, IDE_PRICE_TOP, o->top_message);
    // A translation too long for the message is cut, as a typed one would be.
    if (snprintf(o->bottom_message, sizeof o->bottom_message, "* %s *", text->PricesExclusive) < 0)
        o->bottom_message[0] = '\0';
    SetDlgItemTextA(dialog, IDE_PRICE_BOTTOM, o->bottom_message);
    EnableWindow(GetDlgItem(dialog, IDE_PRICE_BOTTOM), FALSE);
    if (!o->products_kind) EnableWindow(GetDlgItem(dialog, IDB_PRICE_OUT_OF_STOCK), FALSE);
    return TRUE;
}

static int Checked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

static void OnOptionsCommand(HWND dialog, int id)
{
    QlPriceListOptionsRec *o = &QlPriceListOptions;
    switch (id) {
    case IDB_PRICE_BOTTOM_ON:
        o->bottom_message_on = Checked(dialog, IDB_PRICE_BOTTOM_ON);
        EnableWindow(GetDlgItem(dialog, IDE_PRICE_BOTTOM), o->bottom_message_on);
        return;
    case IDB_PRICE_OUT_OF_STOCK: o->include_out_of_stock = Checked(dialog, IDB_PRICE_OUT_OF_STOCK); return;
    case IDB_PRICE_PRINT:
        o->print_logo = Checked(dialog, IDB_PRICE_LOGO);
        o->print_address = Checked(dialog, IDB_PRICE_ADDRESS);
        GetDlgItemTextA(dialog, IDE_PRICE_TOP, o->top_message, sizeof o->top_message);
        if (o->bottom_message_on) GetDlgItemTextA(dialog, IDE_PRICE_BOTTOM, o->bottom_message, sizeof o->bottom_message);
        EndDialog(dialog, 1);
        return;
    case IDB_PRICE_CLOSE:
    case IDCANCEL: EndDialog(dialog, 0); return;
    }
}

INT_PTR CALLBACK QlPriceListOptionsDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnOptionsInit(dialog);
    case WM_COMMAND: OnOptionsCommand(dialog, LOWORD(wParam)); return TRUE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// The drawing core

static int CharHeight(HDC dc)
{
    SIZE extent = {};
    GetTextExtentPoint32A(dc, "extent", 1, &extent);
    return extent.cy;
}

// The body font of the page, 10 points on every device: a printer's own
// default font can be anything (Wine's PostScript driver gives 24 points,
// and 30 rows of it run off an A4 page).  The line height is measured in it;
// a device that cannot measure (an enhanced metafile's reference) is given
// the stock system font.
static HFONT MakeBodyFont(HDC dc)
{
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(LIST_FONT_POINTS, GetDeviceCaps(dc, LOGPIXELSY), 72);
    strcpy(lf.lfFaceName, "Arial");
    return CreateFontIndirectA(&lf);
}

static int BodyCharHeight(HDC dc)
{
    int h = CharHeight(dc);
    if (h > 0) return h;
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    return CharHeight(dc);
}

// The page's fixed distances are given in units of a 600 dpi printer; a
// device of another resolution keeps them in proportion.
static int Units(HDC dc, int n)
{
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    return dpi > 0 ? MulDiv(n, dpi, 600) : n;
}

static void DrawCentred(HDC dc, const char *text, int left, int top, int right, int bottom)
{
    // The rectangle can stand upside down where the default font is small
    // (a low-resolution device): the text is then still drawn at its top.
    RECT r = {left, top, right, bottom};
    DrawTextA(dc, text, (int)strlen(text), &r, DT_CENTER | DT_NOCLIP | DT_NOPREFIX);
}

struct PriceColumns {
    int code, details, price, stock;   // list columns; stock -1 when the list has none
};

// Where a row's texts go: the details wrap and the row grows to them.
static const UINT kCellFormats[3] = {DT_LEFT, DT_LEFT | DT_WORDBREAK, DT_RIGHT};
static const int kPercent[] = {10, 75, 15, 1};

static PriceColumns ColumnsOf(const QlPriceListJob *job)
{
    return job->products ? PriceColumns{0, 2, 4, 5} : PriceColumns{0, 1, 2, -1};
}

// A product out of stock, left out unless asked for.
static int Skipped(const QlPriceListJob *job, int row)
{
    const PriceColumns columns = ColumnsOf(job);
    if (columns.stock < 0 || QlPriceListOptions.include_out_of_stock) return 0;
    char cell[80];
    QlListGetCell(job->list, row, columns.stock, cell, sizeof cell);
    return atoi(cell) == 0;
}

// The table's top on every page.
static int TableTop(HDC dc, const QlPrintTarget *t, const QlPriceListJob *job, int h)
{
    const int d = job->products ? Units(dc, 10) : 0;
    return t->page.top + Units(dc, 50) + 4 * h + d;
}

// One page: its frame, title, top message and table, the page's rows of the
// list from *next (count of them, heights by list row), and the bottom
// message.  The table is filled up with empty rows to its thirty as far as
// the page has room.
static void DrawPage(HDC dc, const QlPrintTarget *t, const QlPriceListJob *job, int page, int pages, int count,
                     const int *heights, int base, int *next, int *h, int listFontHeight)
{
    const QlPriceListOptionsRec *o = &QlPriceListOptions;
    const QlCatTextRec *text = QlCatText();
    const int L = t->page.left, T = t->page.top, R = t->page.right, B = t->page.bottom;
    const int d = job->products ? Units(dc, 10) : 0;
    const int u50 = Units(dc, 50), u100 = Units(dc, 100);
    const PriceColumns columns = ColumnsOf(job);

    QlDrawFrame(dc, L, T + d, R, T + 2 * *h, FRAME_THICKNESS);
    char title[128];
    snprintf(title, sizeof title, "%s (%s %d %s %d)", text->PriceListTitle, text->PricePage, page + 1, text->PriceOf,
             pages);
    DrawCentred(dc, title, L, T + u50 + d, R, T + 2 * *h);
    DrawCentred(dc, o->top_message, L, T + u100 + 2 * *h + d, R, T + u50 + 4 * *h + d);

    const int top = TableTop(dc, t, job, *h);
    // The printed rows close up; a row left out gives its place to an
    // empty one at the end.
    int rowHeights[QL_PRICE_ROWS_PER_PAGE];
    int rowsShown = 0, y = top + base;
    for (int k = 0; k < count && rowsShown < QL_PRICE_ROWS_PER_PAGE; k++) {
        if (Skipped(job, *next + k)) continue;
        rowHeights[rowsShown] = heights[*next + k];
        y += rowHeights[rowsShown++];
    }
    while (rowsShown < QL_PRICE_ROWS_PER_PAGE && y + base <= B) {
        rowHeights[rowsShown++] = base;
        y += base;
    }
    QlGridRec grid;
    QlGridLayoutRows(&grid, L, top, R, base, rowHeights, rowsShown, 4, kPercent);
    QlGridDrawLines(dc, &grid);
    const char *titles[] = {text->PriceColumns[0], text->PriceColumns[1], text->PriceColumns[2]};
    QlGridDrawColumnTitles(dc, &grid, titles);

    int row = 1;
    for (int k = 0; k < count; k++, (*next)++) {
        char cell[80];
        if (Skipped(job, *next)) continue;   // takes its place on the page, printed or not
        QlListGetCell(job->list, *next, columns.code, cell, sizeof cell);
        QlGridDrawCellText(dc, &grid, cell, row, 0, kCellFormats[0], &job->style);
        QlListGetCell(job->list, *next, columns.details, cell, sizeof cell);
        QlGridDrawCellText(dc, &grid, cell, row, 1, kCellFormats[1], &job->style);
        QlListGetCell(job->list, *next, columns.price, cell, sizeof cell);
        QlGridDrawCellText(dc, &grid, cell, row, 2, kCellFormats[2], &job->style);
        if (!job->products) *h = listFontHeight;
        row++;
    }

    if (o->bottom_message_on) {
        const int lastLine = grid.rowLines[QlGridRowLines(&grid) - 1].y1;
        DrawCentred(dc, o->bottom_message, L, lastLine + *h, R, B + 3 * *h);
    }
}

int QlPriceListDraw(QlPrintTarget *t, void *data)
{
    const QlPriceListJob *job = (const QlPriceListJob *)data;
    const QlPriceListOptionsRec *o = &QlPriceListOptions;
    HDC dc = t->dc;

    HFONT body = MakeBodyFont(dc);
    HGDIOBJ before = body ? SelectObject(dc, body) : NULL;
    int h = BodyCharHeight(dc);
    const SIZE line = {0, h};

    HDC logoDc = NULL;
    if (job->logo && o->print_logo)
        QlPicturePrintLogo(&logoDc, dc, job->logo, &t->page, &line, &job->logoSize, t->pxPerMmX, t->pxPerMmY);
    if (o->print_address) QlPrintCompanyBlockRight(dc, &t->page, &job->style);

    if (QlPriceListFont) DeleteObject(QlPriceListFont);
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(LIST_FONT_POINTS, GetDeviceCaps(dc, LOGPIXELSY), 72);
    QlPriceListFont = CreateFontIndirectA(&lf);
    HGDIOBJ previous = QlPriceListFont ? SelectObject(dc, QlPriceListFont) : NULL;
    const int listFontHeight = CharHeight(dc);

    const int rows = job->list ? (int)SendMessageA(job->list, LVM_GETITEMCOUNT, 0, 0) : 0;
    // Each row as high as its wrapped details need; a row left out (out of
    // stock) keeps the table's row height.
    int *heights = (int *)calloc((size_t)rows + 1, sizeof(int));
    int *counts = (int *)calloc((size_t)rows + 1, sizeof(int));
    int ok = heights && counts, pages = 0, base = h + h / 3;
    if (ok) {
        const PriceColumns columns = ColumnsOf(job);
        QlGridRec probe;
        QlGridLayout(&probe, t->page.left, 0, t->page.right, 0, 2, 4, base, kPercent);
        // Every row, the titles' too, at least one line under the cells' inset.
        const int line = QlGridCellNeed(dc, &probe, 0, "", DT_LEFT, &job->style);
        if (line > base) base = line;
        for (int r = 0; r < rows; r++) {
            const int listColumns[3] = {columns.code, columns.details, columns.price};
            heights[r] = Skipped(job, r) ? base
                                         : QlGridListRowNeed(dc, &probe, job->list, r, listColumns, kCellFormats, 3,
                                                             base, &job->style);
        }
        pages = rows > 0 ? QlGridPlanPages(heights, rows, QL_PRICE_ROWS_PER_PAGE, TableTop(dc, t, job, h),
                                           TableTop(dc, t, job, h), base, t->page.bottom, counts, rows + 1)
                         : 0;
    }
    int next = 0;
    for (int page = 0; page < pages && ok; page++) {
        if (page > 0 && !QlPrintNextPage(t)) {
            ok = 0;
            break;
        }
        DrawPage(t->dc, t, job, page, pages, counts[page], heights, base, &next, &h, listFontHeight);
    }
    free(heights);
    free(counts);

    if (previous) SelectObject(t->dc, previous);
    if (QlPriceListFont) DeleteObject(QlPriceListFont);
    QlPriceListFont = NULL;
    if (before) SelectObject(t->dc, before);
    if (body) DeleteObject(body);
    // The bitmap is the picture library's: only the memory DC is ours.
    if (logoDc) DeleteDC(logoDc);
    return ok;
}

// ---------------------------------------------------------------------------
// The commands

// The settings' logo, else one the user picks for this print; NULL, after a
// message, when neither loads.
static HBITMAP LoadLogo(HWND owner, QlPictureSizeRec *size)
{
    HBITMAP logo = QlPictureLoad(QlSettings.cfg.logoPath, size);
    if (logo) return logo;
    char path[MAX_PATH] = "";
    if (QlPictureChooseLogo(owner, path)) logo = QlPictureLoad(path, size);
    if (!logo) QlMsgBox(owner, QlCatText()->Error, QlLangText()->LogoLoadFailed, QL_COLOUR_WARNING);
    return logo;
}

static int PrintPriceList(HWND window, HWND list, int products)
{
    QlPriceListOptions.products_kind = products;
    if (DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_PRICE_OPTIONS), window, QlPriceListOptionsDlgProc, 0) !=
        1)
        return 0;
    QlPriceListJob job = {};
    job.products = products;
    job.list = list;
    if (QlPriceListOptions.print_logo) job.logo = LoadLogo(window, &job.logoSize);
    QlDocPrintStyle(&job.style);
    return QlPrintDocument(window, QlPriceListDraw, &job);
}

// An empty list prints nothing: the user is told, before any dialog.
static int RefuseEmpty(HWND window, HWND list)
{
    if (list && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0) return 0;
    QlMsgBox(window, QlCatText()->Error, QlLangText()->NothingToPrint, QL_COLOUR_WARNING);
    return 1;
}

void QlProdPrintPriceList(HWND window)
{
    HWND list = GetDlgItem(window, IDL_PROD_LIST);
    if (RefuseEmpty(window, list)) return;
    PrintPriceList(window, list, 1);
}

int QlServPrintPriceList(HWND window)
{
    HWND list = GetDlgItem(window, IDL_PROD_LIST);
    if (RefuseEmpty(window, list)) return 0;
    return PrintPriceList(window, list, 0);
}
