// The printed documents: one drawing core for all five (QlDocPrintDraw) and
// the fronts that check the form and run the print dialog.
//
// Page one carries the header: the company block, the title frame, the
// barcode, the header boxes with their labels, the recipient's address box
// and the logo (the payment has the paying customer's block instead of the
// company block, address box and logo).  Then come the pages of the line
// table, ten rows a page (sixteen on the delivery note), and under the last
// page's table the totals (or the delivery note's receipt and signature
// row), the amount in words and the footnote lines.
//
// Every page is drawn in the 10-point body font, and the line height H is
// the height of "e" in it: the printer's own default font can be anything
// (Wine's PostScript driver makes it 24 points), and a table of ten rows
// measured in it does not fit a page.
#include "documents/QlDocPrint.h"

#include "print/QlBarcode.h"
#include "ui/QlListView.h"
#include "ui/QlMsgDialog.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlTransLines.h"
#include "docmodel/QlViewTexts.h"
#include "docmodel/QlReadError.h"
#include "documents/QlDocOutput.h"
#include "documents/QlDocStyle.h"
#include "documents/QlDocTexts.h"
#include "resources/QlResTrans.h"
#include "resources/QlResTransPane.h"
#include "resources/QlResTransViews.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

HBITMAP (*QlDocLogoLoader)(const char *path, QlPictureSizeRec *size) = QlPictureLoadCopy;

namespace {

// The drawing state of one print.
struct Sheet {
    QlPrintTarget *target;
    QlDocPrintJob *job;
    HDC dc;
    int L, T, R, B, W;
    SIZE line;
    int H;
    int rowHeight;
};

HFONT MakeFont(HDC dc, int points)
{
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    return CreateFontIndirectA(&lf);
}

SIZE LineSize(HDC dc)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, "extent", 1, &size);
    if (size.cy <= 0) size.cy = 1;
    return size;
}

void Field(const Sheet &s, int id, char *text, int size)
{
    QlDocField(s.job->form, id, text, size);
}

void DrawText(HDC dc, const char *text, RECT r, UINT format)
{
    DrawTextA(dc, text, (int)strlen(text), &r, format | DT_NOPREFIX);
}

// ---------------------------------------------------------------------------
// Page one

struct HeaderKind {
    int kind;
    int labels[4];        // label controls, in box order
    int values[4];        // value controls (the date through QlDocReadDate)
    int logoFirst;        // the logo before the company block
};

const HeaderKind kHeaders[] = {
    {QL_DOCK_INVOICE, {IDT_DOC_NUMBER_LABEL, IDT_DOC_DATE_LABEL, IDT_DOC_ACREF_LABEL, IDT_DOC_ORDER_LABEL},
     {IDT_DOC_NUMBER, IDP_DOC_DATE, IDT_DOC_ACREF, IDE_DOC_ORDER}, 0},
    {QL_DOCK_CREDIT, {IDT_DOC_NUMBER_LABEL, IDT_DOC_DATE_LABEL, IDT_DOC_ACREF_LABEL, 0},
     {IDT_DOC_NUMBER, IDP_DOC_DATE, IDT_DOC_ACREF, 0}, 0},
    {QL_DOCK_QUOTE, {IDT_DOC_NUMBER_LABEL, IDT_DOC_DATE_LABEL, IDT_DOC_ACREF_LABEL, 0},
     {IDT_DOC_NUMBER, IDP_DOC_DATE, IDT_DOC_ACREF, 0}, 0},
    {QL_DOCK_DELIVERY, {IDT_DOC_ACREF_LABEL, IDT_DOC_DATE_LABEL, IDT_DN_ORDER_LABEL, IDT_DOC_NUMBER_LABEL},
     {IDT_DOC_ACREF, IDP_DOC_DATE, IDE_DN_ORDER, IDT_DOC_NUMBER}, 1},
    {QL_DOCK_PAYMENT, {IDT_PAY_NUMBER_LABEL, IDT_PAY_DATE_LABEL, IDT_PAY_ACREF_LABEL, 0},
     {IDT_PAY_NUMBER, IDP_PAY_DATE, 0, 0}, 0},
};

int BoxCount(const QlDocPrintJob *job)
{
    if (job->kind == QL_DOCK_DELIVERY || (job->kind == QL_DOCK_INVOICE && job->orderBox)) return 4;
    return 3;
}

void DrawLogo(const Sheet &s)
{
    if (!s.job->logo) return;
    HDC memory = NULL;
    RECT page = {s.L, s.T, s.R, s.B};
    QlPicturePrintLogo(&memory, s.dc, s.job->logo, &page, &s.line, &s.job->logoSize, s.target->pxPerMmX,
                       s.target->pxPerMmY);
    if (memory) DeleteDC(memory);
}

// The title frame and its title.
void DrawTitle(const Sheet &s, const RECT &frame)
{
    QlDrawFrame(s.dc, frame.left, frame.top, frame.right, frame.bottom, 5);
    char title[80];
    if (s.job->kind == QL_DOCK_QUOTE)
        snprintf(title, sizeof title, "%s", QlDocText()->QuotationHeading);
    else
        Field(s, IDT_DOC_TITLE, title, sizeof title);
    // Centred both ways in the frame, whatever the device's resolution.
    QlPrintFitDrawText(s.dc, title, frame, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// The document number as a barcode between the company block and the title
// frame; returns the y under it.
int DrawBarcode(const Sheet &s, const RECT &frame)
{
    char number[80], text[20];
    Field(s, IDT_DOC_NUMBER, number, sizeof number);
    QlPrintDocBarcodeText(number, text);
    float mag;
    int bottom;
    RECT page = {s.L, s.T, s.R, s.B};
    const int x = QlDocBarcodePlace(&page, frame.left, s.T, s.target->pxPerMmX, s.target->pxPerMmY, &mag, &bottom);
    if (!QlBarcodeDrawUpcA(s.dc, (HBRUSH)(COLOR_WINDOWFRAME + 1), x, s.T, s.target->pxPerMmX, s.target->pxPerMmY,
                           mag, 0, 1, text, 0, NULL))
        return s.T;
    return bottom;
}

// The labels and values of the header boxes.
void DrawBoxes(const Sheet &s, const HeaderKind &h, const QlDocHeaderPlace &place)
{
    char labels[4][40];
    const char *labelPtrs[4];
    int lefts[4] = {0}, tops[4] = {0};
    QlDrawBoxStack(s.dc, place.boxLeft, place.boxTop, s.R, place.boxBottom, 5, place.boxCount, NULL, NULL, lefts,
                   tops);
    for (int i = 0; i < place.boxCount; i++) {
        Field(s, h.labels[i], labels[i], sizeof labels[i]);
        labelPtrs[i] = labels[i];
    }
    // Each label one line down from the last by the boxes' step, fitted to
    // the room left of its box.
    RECT cursor = {place.labelX, place.labelY, s.R, place.labelY + s.H};
    for (int i = 0; i < place.boxCount; i++) {
        QlPrintFitTextOut(s.dc, cursor.left, cursor.top, labelPtrs[i], place.boxLeft - 10 - cursor.left);
        cursor.top += s.line.cy + 1 + 2 * s.H;
    }

    for (int i = 0; i < place.boxCount; i++) {
        char value[80];
        if (h.values[i] == IDP_DOC_DATE)
            QlDocReadDate(s.job->form, value, sizeof value);
        else if (s.job->kind == QL_DOCK_PAYMENT && i == 2)
            snprintf(value, sizeof value, "%s", s.job->acref);
        else
            Field(s, h.values[i], value, h.values[i] == IDE_DOC_ORDER ? 20 : (int)sizeof value);
        POINT at = {lefts[i] + 10, tops[i] + 10};
        QlPrintTextLine(s.dc, &at, &s.line, value);
    }
}

// The recipient's address box; returns its bottom.
int DrawAddressBox(const Sheet &s, int top)
{
    const int right = s.L + s.W / 2 + s.H;
    const int bottom = top + 5 * (s.H + 1);
    Rectangle(s.dc, s.L, top, right, bottom);
    return bottom;
}

void DrawAddressText(const Sheet &s, int top)
{
    static const int ids[4] = {IDE_DOC_COMPANY, IDE_DOC_ADDR1, IDE_DOC_ADDR2, IDE_DOC_ADDR3};
    RECT cursor = {s.L + 10, top + 10, s.L + s.W / 2 + s.H - 5, top + 5 * (s.H + 1) + 10};
    for (int id : ids) {
        char text[80];
        Field(s, id, text, sizeof text);
        QlPrintTextRect(s.dc, &cursor, &s.line, text);
    }
}

// The payment's customer block: "From:", a blank line, the name from the
// form and the address of the account.
void DrawPayerBlock(const Sheet &s)
{
    char name[80];
    Field(s, IDE_PAY_COMPANY, name, sizeof name);
    const char *lines[6] = {QlDocText()->FromLabel, " ", name, s.job->address[0], s.job->address[1],
                            s.job->address[2]};
    POINT at = {s.L, s.T + 10};
    for (const char *text : lines) QlPrintTextLine(s.dc, &at, &s.line, text);
}

// Draws page one's header; returns the y of the first table's top.
int DrawHeader(const Sheet &s)
{
    const QlDocPrintJob *job = s.job;
    const HeaderKind *h = &kHeaders[0];
    for (const HeaderKind &k : kHeaders)
        if (k.kind == job->kind) h = &k;
    QlDocHeaderPlace place;
    RECT page = {s.L, s.T, s.R, s.B};
    QlDocHeaderLayout(job->kind, &page, s.H, BoxCount(job), &place);

    if (job->kind == QL_DOCK_PAYMENT) {
        DrawTitle(s, place.title);
        DrawBoxes(s, *h, place);
        DrawPayerBlock(s);
        return place.boxesEnd + 100;
    }

    if (h->logoFirst) DrawLogo(s);
    RECT company;
    QlPrintCompanyHeader(s.dc, page, &company, s.line, &job->style);
    int addressTop = company.bottom + s.H + 1;
    DrawTitle(s, place.title);
    if (job->barcode && job->kind != QL_DOCK_DELIVERY) {
        const int below = DrawBarcode(s, place.title) + s.H + 1;
        if (below > addressTop) addressTop = below;
    }
    DrawBoxes(s, *h, place);
    const int addressBottom = DrawAddressBox(s, addressTop);
    if (!h->logoFirst) DrawLogo(s);
    DrawAddressText(s, addressTop);
    if (job->kind == QL_DOCK_DELIVERY) return place.boxesEnd + 100;
    return (place.boxesEnd > addressBottom ? place.boxesEnd : addressBottom) + s.H + 1;
}

// ---------------------------------------------------------------------------
// The line table

struct TableKind {
    int rowsPerPage;
    int listId;
    QlDocColumnSet columns;
};

void TableOf(const QlDocPrintJob *job, TableKind *table)
{
    memset(table, 0, sizeof *table);
    table->rowsPerPage = QL_DOC_ROWS_PER_PAGE;
    table->listId = IDL_DOC_LINES;
    QlDocColumnSet &c = table->columns;
    const QlDocTextRec *t = QlDocText();
    if (job->kind == QL_DOCK_DELIVERY) {
        table->rowsPerPage = QL_DOC_DELIVERY_ROWS_PER_PAGE;
        table->listId = IDL_DN_ITEMS;
        static const int percent[5] = {10, 10, 10, 70, 1};
        c.count = 4;
        memcpy(c.percent, percent, sizeof percent);
        for (int i = 0; i < 4; i++)
            snprintf(c.titles + QL_GRID_TITLE_SLOT * i, QL_GRID_TITLE_SLOT, "%s", QlViewText()->DeliveryColumns[i]);
    } else if (job->kind == QL_DOCK_PAYMENT) {
        table->listId = IDL_PAY_DOCS;
        static const int percent[4] = {20, 60, 20, 1};
        c.count = 3;
        memcpy(c.percent, percent, sizeof percent);
        const char *titles[3] = {t->PayInvoiceHead, t->DetailsTitle, t->AmountTitle};
        for (int i = 0; i < 3; i++) snprintf(c.titles + QL_GRID_TITLE_SLOT * i, QL_GRID_TITLE_SLOT, "%s", titles[i]);
    } else {
        QlDocColumns(job->kind, QL_DOC_PRINTED, job->lineMode, job->style.printRateColumn,
                     job->style.printDiscountColumn, &c);
    }
}

// The cells of one list row as the row printers draw them: texts and
// formats by grid column.
void RowCells(const Sheet &s, HWND list, int listRow, QlPrintRowCells *cells)
{
    const QlDocPrintJob *job = s.job;
    memset(cells, 0, sizeof *cells);
    if (job->kind == QL_DOCK_DELIVERY) {
        static const UINT formats[4] = {0, 0, 0, DT_WORDBREAK};
        cells->count = 4;
        for (int c = 0; c < 4; c++) {
            QlListGetCell(list, listRow, c, cells->text[c], sizeof cells->text[c]);
            cells->format[c] = formats[c];
        }
    } else if (job->kind == QL_DOCK_PAYMENT) {
        static const UINT formats[3] = {0, DT_WORDBREAK, DT_RIGHT};
        static const int listColumns[3] = {0, 3, 5};
        cells->count = 3;
        for (int c = 0; c < 3; c++) {
            QlListGetCell(list, listRow, listColumns[c], cells->text[c], sizeof cells->text[c]);
            cells->format[c] = formats[c];
        }
    } else if (job->kind == QL_DOCK_CREDIT) {
        QlPrintPackCreditRow(list, listRow, cells);
    } else if (job->lineMode == 1) {
        QlPrintPackProdRow(list, listRow, cells);
    } else {
        QlPrintPackServRow(list, listRow, cells);
    }
}

void DrawRow(const Sheet &s, const QlPrintRowCells &cells, const QlGridRec *grid, int gridRow)
{
    for (int c = 0; c < cells.count; c++)
        QlGridDrawCellText(s.dc, grid, cells.text[c], gridRow, c, cells.format[c], &s.job->style);
}

// Each row's height: the table's row height, or more where a wrapped text
// needs more.
void RowHeights(const Sheet &s, HWND list, const TableKind &table, int rows, int *heights)
{
    QlGridRec probe;
    QlGridLayout(&probe, s.L, 0, s.R, 0, 2, table.columns.count + 1, s.rowHeight, table.columns.percent);
    for (int r = 0; r < rows; r++) {
        QlPrintRowCells cells;
        RowCells(s, list, r, &cells);
        heights[r] = s.rowHeight;
        for (int c = 0; c < cells.count; c++) {
            const int need = QlGridCellNeed(s.dc, &probe, c, cells.text[c], cells.format[c], &s.job->style);
            if (need > heights[r]) heights[r] = need;
        }
    }
}

// Draws every page of the table from the first; *grid is the last page's.
// Rows grow to their texts, and a page takes no more rows than end above
// the continuation line.
int DrawTable(Sheet &s, int firstTop, QlGridRec *grid)
{
    TableKind table;
    TableOf(s.job, &table);
    HWND list = GetDlgItem(s.job->form, table.listId);
    const int rows = QlDocListCount(s.job->form, table.listId);
    int *heights = (int *)calloc((size_t)rows + 1, sizeof(int));
    int *counts = (int *)calloc((size_t)rows + 1, sizeof(int));
    if (!heights || !counts) {
        free(heights);
        free(counts);
        return 0;
    }
    RowHeights(s, list, table, rows, heights);
    const int pages = QlGridPlanPages(heights, rows, table.rowsPerPage, firstTop, s.T, s.rowHeight, s.B - s.H - 2,
                                     counts, rows + 1);
    const QlDocTextRec *t = QlDocText();
    int listRow = 0, ok = 1;
    for (int p = 0; p < pages && ok; p++) {
        if (p > 0) {
            if (!QlPrintNextPage(s.target)) {
                ok = 0;
                break;
            }
            s.dc = s.target->dc;
        }
        if (pages > 1) {
            char text[160];
            snprintf(text, sizeof text, "%s %u %s %u", t->PageWord, (unsigned)(p + 1), t->OfWord, (unsigned)pages);
            DrawText(s.dc, text, {s.L, 0, s.R, s.B}, DT_RIGHT);
        }
        const int n = counts[p];
        // A document without lines shows its table with one empty row.
        const int empty = s.rowHeight;
        QlGridLayoutRows(grid, s.L, p == 0 ? firstTop : s.T, s.R, s.rowHeight, n > 0 ? heights + listRow : &empty,
                         n > 0 ? n : 1, table.columns.count + 1, table.columns.percent);
        QlGridDrawLinesOption(s.dc, grid, &s.job->style);
        QlDocDrawTitles(s.dc, grid, table.columns.titles);
        for (int i = 0; i < n; i++) {
            QlPrintRowCells cells;
            RowCells(s, list, listRow++, &cells);
            DrawRow(s, cells, grid, i + 1);
        }
        if (pages > 1 && p < pages - 1) {
            char text[120];
            snprintf(text, sizeof text, "* %s *", t->ContinuedText);
            DrawText(s.dc, text, {s.L, s.B - s.H, s.R, s.B}, DT_CENTER);
        }
    }
    free(heights);
    free(counts);
    return ok;
}

int GridBottom(const QlGridRec *grid)
{
    const int rows = QlGridRowLines(grid);
    return rows > 0 ? grid->rowLines[rows - 1].y1 : 0;
}

int ColumnX(const QlGridRec *grid, int column)
{
    const int columns = QlGridColumnLines(grid);
    if (column >= columns) column = columns - 1;
    return column >= 0 ? grid->columnLines[column].x1 : 0;
}

// ---------------------------------------------------------------------------
// Under the table

void Cell(const Sheet &s, const QlGridRec *grid, int row, int column, int id, UINT format)
{
    char text[80];
    Field(s, id, text, sizeof text);
    QlGridDrawCellText(s.dc, grid, text, row, column, format, &s.job->style);
}

// A label of the totals, which is never cut.  Totals drawn twice have their
// text in the second copy, 5 down: lift 5 keeps it above the first copy's
// line too.
void Label(const Sheet &s, const QlGridRec *grid, int row, int column, const char *text, UINT format, int lift)
{
    RECT r;
    if (!QlGridCellRect(grid, row, column, format, &s.job->style, &r)) return;
    r.bottom -= lift;
    QlPrintFitDrawText(s.dc, text, r, format);
}

void LabelCell(const Sheet &s, const QlGridRec *grid, int row, int column, int id, UINT format, int lift)
{
    char text[80];
    Field(s, id, text, sizeof text);
    Label(s, grid, row, column, text, format, lift);
}

// Invoices and quotations: two or three rows (carriage) of three or four
// columns (discount), drawn twice, the second copy 5 right and 5 down.
// Returns the second copy's bottom.
int DrawTotals(const Sheet &s, const QlGridRec *table, int priceColumn)
{
    const QlDocPrintJob *job = s.job;
    const int discount = job->style.printDiscountColumn != 0;
    static const int four[5] = {25, 25, 25, 25, 1}, three[4] = {33, 33, 34, 1};
    const int rows = job->carriage ? 4 : 3;
    const int x0 = ColumnX(table, priceColumn), y0 = GridBottom(table) + 15;
    QlGridRec totals;
    QlGridLayout(&totals, x0, y0, s.R, 0, rows, discount ? 5 : 4, s.rowHeight, discount ? four : three);
    QlGridDrawLines(s.dc, &totals);
    QlGridLayout(&totals, x0 + 5, y0 + 5, s.R + 5, 0, rows, discount ? 5 : 4, s.rowHeight, discount ? four : three);
    QlGridDrawLines(s.dc, &totals);

    const int n = discount ? 2 : 1, tax = n + 1, last = rows - 2;
    LabelCell(s, &totals, 0, 0, IDT_DOC_TOTAL_LABEL, 0, 5);
    if (discount) Cell(s, &totals, 0, 1, IDT_DOC_DISCOUNT, DT_RIGHT);
    Cell(s, &totals, 0, n, IDT_DOC_NET, DT_RIGHT);
    Cell(s, &totals, 0, tax, IDT_DOC_TAX, DT_RIGHT);
    if (job->carriage) {
        Label(s, &totals, 1, 0, QlDocText()->CarriageLabel, 0, 5);
        Cell(s, &totals, 1, n, IDT_DOC_CARRIAGE, DT_RIGHT);
        Cell(s, &totals, 1, tax, IDT_DOC_CARRIAGE_TAX, DT_RIGHT);
    }
    LabelCell(s, &totals, last, 0, IDT_DOC_GROSS_LABEL, DT_WORDBREAK, 5);
    Cell(s, &totals, last, tax, IDT_DOC_GROSS, DT_RIGHT);
    return GridBottom(&totals);
}

// Credit notes: net and tax under the form's total label, the gross under
// currency / "Gross", from one Amount column's width left of it.
void DrawCreditTotals(const Sheet &s, const QlGridRec *table)
{
    static const int percent[4] = {33, 33, 34, 1};
    const int x1 = ColumnX(table, 1), x2 = ColumnX(table, 2);
    QlGridRec totals;
    QlGridLayout(&totals, x1 - (x2 - x1), GridBottom(table) + 15, s.R, 0, 3, 4, s.rowHeight, percent);
    QlGridDrawLines(s.dc, &totals);
    LabelCell(s, &totals, 0, 0, IDT_DOC_GROSS_LABEL, DT_WORDBREAK, 0);
    Cell(s, &totals, 0, 1, IDT_DOC_TAX, DT_RIGHT);
    Cell(s, &totals, 0, 2, IDT_DOC_CARRIAGE_TAX, DT_RIGHT);
    char gross[80];
    snprintf(gross, sizeof gross, "%s / %s", QlSettings.cfg.currency, QlDocText()->GrossTitle);
    Label(s, &totals, 1, 0, gross, DT_WORDBREAK, 0);
    Cell(s, &totals, 1, 2, IDT_DOC_GROSS, DT_RIGHT);
}

// Payments: "Total" and the total paid, drawn twice as on the invoice.
void DrawPayTotals(const Sheet &s, const QlGridRec *table)
{
    static const int percent[3] = {50, 50, 1};
    const int x2 = ColumnX(table, 2), x3 = ColumnX(table, 3), left = x2 - (x3 - x2), top = GridBottom(table) + 15;
    QlGridRec totals;
    QlGridLayout(&totals, left, top, s.R, 0, 2, 3, s.rowHeight, percent);
    QlGridDrawLines(s.dc, &totals);
    QlGridLayout(&totals, left + 5, top + 5, s.R, 0, 2, 3, s.rowHeight, percent);
    QlGridDrawLines(s.dc, &totals);
    Label(s, &totals, 0, 0, QlDocText()->TotalTitle, 0, 5);
    Cell(s, &totals, 0, 1, IDT_PAY_TOTAL, DT_RIGHT);
}

// The delivery note: the receipt line two rows under the table, then the
// signature row across the page.
void DrawReceipt(const Sheet &s, const QlGridRec *table)
{
    const QlDocTextRec *t = QlDocText();
    const int y = GridBottom(table), h = s.rowHeight;
    QlDrawFrame(s.dc, s.L, y + 2 * h, s.R, y + 3 * h, 1);
    QlPrintFitDrawText(s.dc, t->GoodsReceivedText, {s.L, y + 2 * h, s.R, y + 3 * h},
                       DT_SINGLELINE | DT_VCENTER | DT_CENTER);

    static const int percent[7] = {10, 23, 12, 22, 10, 23, 1};
    char titles[6 * QL_GRID_TITLE_SLOT] = {};
    const char *heads[6] = {t->NameLabel, " ", t->SignedLabel, " ", t->DateLabel, " "};
    for (int i = 0; i < 6; i++) snprintf(titles + QL_GRID_TITLE_SLOT * i, QL_GRID_TITLE_SLOT, "%s", heads[i]);
    QlGridRec row;
    QlGridLayout(&row, s.L, y + 3 * h, s.R, 0, 2, 7, 2 * h, percent);
    QlGridDrawLinesOption(s.dc, &row, &s.job->style);
    QlDocDrawTitles(s.dc, &row, titles);
}

// The gross in words in one box from L to R + 5 under the totals.
void DrawWords(const Sheet &s, int top)
{
    char label[80], gross[80], line[512];
    Field(s, IDT_DOC_GROSS_LABEL, label, sizeof label);
    Field(s, IDT_DOC_GROSS, gross, sizeof gross);
    if (!QlDocWordsLine(label, gross, line, sizeof line)) return;
    static const int percent[2] = {100, 1};
    QlGridRec box;
    QlGridLayout(&box, s.L, top, s.R + 5, 0, 2, 2, s.rowHeight, percent);
    QlGridDrawLines(s.dc, &box);
    QlGridDrawCellText(s.dc, &box, line, 0, 0, DT_WORDBREAK, &s.job->style);
}

// The settings' bottom lines at a fixed place above the bottom margin, in
// their own point size, under a thin separator.
void DrawFootnotes(const Sheet &s)
{
    int points = s.job->footnoteSize;
    if (points < 1 || points > 16) points = 7;
    HFONT font = MakeFont(s.dc, points);
    if (!font) return;
    HGDIOBJ body = SelectObject(s.dc, font);
    const SIZE line = LineSize(s.dc);
    const int y = s.B - 7 * (line.cy + 1);
    SIZE probe = {0, 0};
    GetTextExtentPoint32A(s.dc, "WWWWWWWWWWWWWWWWWWWW", 20, &probe);
    // The separator ends at the probe's width as an x of its own.
    const int right = probe.cx > s.L ? probe.cx : s.L + 1;
    QlDrawFrame(s.dc, s.L, y, right, y + 5, 1);
    POINT at = {s.L, y + line.cy};
    for (int i = 0; i < QL_BOTTOM_LINE_COUNT; i++) {
        char text[41];
        snprintf(text, sizeof text, "%.40s", QlSettings.cfg.bottomLines[i]);
        QlPrintTextLine(s.dc, &at, &line, text);
    }
    SelectObject(s.dc, body);
    DeleteObject(font);
}

int DrawAll(Sheet &s)
{
    const QlDocPrintJob *job = s.job;
    const int firstTop = DrawHeader(s);
    QlGridRec table = {};
    if (!DrawTable(s, firstTop, &table)) return 0;
    switch (job->kind) {
    case QL_DOCK_CREDIT: DrawCreditTotals(s, &table); break;
    case QL_DOCK_DELIVERY: DrawReceipt(s, &table); break;
    case QL_DOCK_PAYMENT: DrawPayTotals(s, &table); break;
    default: {
        TableKind kind;
        TableOf(job, &kind);
        const int bottom = DrawTotals(s, &table, kind.columns.priceColumn);
        if (job->words) DrawWords(s, bottom);
        if (job->footnotes) DrawFootnotes(s);
        break;
    }
    }
    return 1;
}

}  // namespace

void QlDocPrintJobInit(QlDocPrintJob *job, int kind, HWND form, int lineMode)
{
    memset(job, 0, sizeof *job);
    const QlSettingsRec &cfg = QlSettings.cfg;
    job->kind = kind;
    job->form = form;
    job->lineMode = lineMode;
    QlDocPrintStyle(&job->style);
    const int trans = kind == QL_DOCK_INVOICE || kind == QL_DOCK_CREDIT || kind == QL_DOCK_QUOTE;
    job->barcode = trans && cfg.printBarcode != 0;
    job->orderBox = kind == QL_DOCK_INVOICE && cfg.printOrderNumber != 0;
    job->carriage = (kind == QL_DOCK_INVOICE || kind == QL_DOCK_QUOTE) && cfg.printCarriage != 0;
    job->words = kind == QL_DOCK_INVOICE && cfg.printTotalInWords != 0 && cfg.language == 0;
    job->footnotes = kind == QL_DOCK_INVOICE && cfg.printBottomLines != 0;
    job->footnoteSize = cfg.bottomPointSize;
}

int QlDocPrintDraw(QlPrintTarget *target, void *data)
{
    Sheet s = {};
    s.target = target;
    s.job = (QlDocPrintJob *)data;
    s.dc = target->dc;
    s.L = target->page.left, s.T = target->page.top, s.R = target->page.right, s.B = target->page.bottom;
    s.W = s.R - s.L;

    HFONT body = MakeFont(s.dc, 10);
    if (!body) return 0;
    HGDIOBJ previous = SelectObject(s.dc, body);
    s.line = LineSize(s.dc);
    s.H = s.line.cy;
    s.rowHeight = s.job->kind == QL_DOCK_DELIVERY ? s.H + s.H / 3 : 2 * (s.H + s.H / 3);
    // Cell texts stand 10 device units under their row line: on a device of
    // few pixels an inch the delivery note's low rows would cut them.
    if (s.rowHeight < s.H + 12) s.rowHeight = s.H + 12;

    const int drawn = DrawAll(s);
    // A page break may have replaced the device context.
    SelectObject(target->dc, previous);
    DeleteObject(body);
    return drawn;
}

int QlDocPrintRun(QlDocPrintJob *job)
{
    const int printed = QlPrintDocument(job->form, QlDocPrintDraw, job);
    if (job->logo) DeleteObject(job->logo);
    job->logo = NULL;
    return printed;
}

// ---------------------------------------------------------------------------
// The fronts

namespace {

int Refuse(HWND form, const char *caption, const char *text)
{
    QlMsgBox(form, caption, text, QL_COLOUR_WARNING);
    return 0;
}

// The account and gross checks of invoices, credit notes and quotations.
int CheckForm(HWND form)
{
    const QlDocTextRec *t = QlDocText();
    char acref[20], gross[80];
    QlDocField(form, IDT_DOC_ACREF, acref, sizeof acref);
    if (!acref[0]) return Refuse(form, t->MissingAccountCaption, t->SelectAccountText);
    QlDocField(form, IDT_DOC_GROSS, gross, sizeof gross);
    if (strcmp(gross, "0.00") == 0) return Refuse(form, QlLangText()->Error, t->NoFormItemsText);
    return 1;
}

// The logo of the settings, when asked for; a logo that cannot be loaded is
// reported and left out.
void LoadLogo(QlDocPrintJob *job)
{
    const QlSettingsRec &cfg = QlSettings.cfg;
    if (!cfg.printLogo) return;
    job->logo = QlDocLogoLoader ? QlDocLogoLoader(cfg.logoPath, &job->logoSize) : NULL;
    if (!job->logo) Refuse(job->form, QlLangText()->Error, QlLangText()->LogoLoadFailed);
}

int PrintTransaction(HWND form, int kind, int lineMode)
{
    if (!CheckForm(form)) return 0;
    QlDocPrintJob job;
    QlDocPrintJobInit(&job, kind, form, lineMode);
    LoadLogo(&job);
    return QlDocPrintRun(&job);
}

}  // namespace

int QlInvPrint(HWND form, int, int lineMode)
{
    return PrintTransaction(form, QL_DOCK_INVOICE, lineMode);
}

int QlCreditPrint(HWND form)
{
    return PrintTransaction(form, QL_DOCK_CREDIT, 0);
}

int QlQuotePrint(HWND form, int lineMode)
{
    return PrintTransaction(form, QL_DOCK_QUOTE, lineMode);
}

int QlDeliveryNotePrint(HWND dialog)
{
    QlDocPrintJob job;
    QlDocPrintJobInit(&job, QL_DOCK_DELIVERY, dialog, 1);
    LoadLogo(&job);
    return QlDocPrintRun(&job);
}

int QlPayPrint(HWND view)
{
    QlDocPrintJob job;
    QlDocPrintJobInit(&job, QL_DOCK_PAYMENT, view, 0);
    QlDocField(view, IDT_PAY_ACREF, job.acref, sizeof job.acref);
    QlCustRec customer;
    memset(&customer, 0, sizeof customer);
    char err[QL_DB_ERR_SIZE];
    if (!job.acref[0] || !QlCustGetByAcRef(job.acref, &customer, err)) {
        if (job.acref[0] && !QlDbNotFound()) {
            QlShowReadError(view, err);
            return 0;
        }
        return Refuse(view, QlLangText()->Error, QlDocText()->NoCustomerText);
    }
    snprintf(job.address[0], sizeof job.address[0], "%s", customer.addr1);
    snprintf(job.address[1], sizeof job.address[1], "%s", customer.addr2);
    snprintf(job.address[2], sizeof job.address[2], "%s", customer.addr3);
    return QlDocPrintRun(&job);
}
