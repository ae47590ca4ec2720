// What the printed and the PDF documents share: the documents' column sets
// under the print options, the page count, the amount in words, the place
// of the page-one header and of the document barcode, column titles cut to
// their cells, and reading the open form's controls.
//
// Every value a document shows is read from the open form (its controls and
// its line list 1161), the settings and the current language at the moment
// of output; nothing here reads the database.
#pragma once

#include <windows.h>
#include <hpdf.h>
#include <stddef.h>

#include "print/QlGrid.h"
#include "print/QlPdf.h"

// The documents.
enum QlDocKind {
    QL_DOCK_INVOICE,
    QL_DOCK_CREDIT,
    QL_DOCK_QUOTE,
    QL_DOCK_DELIVERY,
    QL_DOCK_PAYMENT,
};
// The two outputs, whose column widths differ.
enum QlDocOutput { QL_DOC_PRINTED, QL_DOC_PDF };

// Lines a page: the delivery note's rows are lower.
#define QL_DOC_ROWS_PER_PAGE 10
#define QL_DOC_DELIVERY_ROWS_PER_PAGE 16

#define QL_DOC_MAX_COLUMNS 8

// The columns of a document's line table: its titles in 20-character slots
// (QlGridDrawColumnTitlesFixed), the percent of the table width of each
// (one entry more, which only places the closing line), and the column at
// whose left line the totals block starts (the price column).
struct QlDocColumnSet {
    int count;
    int percent[QL_DOC_MAX_COLUMNS + 1];
    char titles[QL_DOC_MAX_COLUMNS * QL_GRID_TITLE_SLOT];
    int priceColumn;
};

// The column set of an invoice, credit note or quotation (kind) of service
// (lineMode 0) or product lines (1) in one output, under the "Include TAX
// Rate column" and "Include Discount column" options.  Titles come from the
// current language and the settings' tax name; a title is cut to 19
// characters.  A credit note has the same three columns whatever the mode
// and options.
void QlDocColumns(int kind, int output, int lineMode, int rateColumn, int discountColumn, QlDocColumnSet *set);

// Pages of a table of rows: perPage rows a page, at least one page (a
// document without lines still prints its header, an empty table and its
// totals).
int QlDocPageCount(int rows, int perPage);

// The amount-in-words line of a gross text ("123.45") under the form's
// gross label: "%s %s" of the label and the words of the whole units
// ("minus" first when the text starts with '-'), then the cents part as
// written (".45 ") when it is not zero, then "Only".  0 and out empty when
// the text is not an amount, its units lie beyond 999,999,999, the words
// cannot be made or the line does not fit out.
int QlDocWordsLine(const char *label, const char *gross, char *out, size_t size);

// ---------------------------------------------------------------------------
// The page-one header of the printed documents

// Where the title frame and the header boxes of a printed document stand in
// the margin rectangle page, with the line height H: the frame from the
// right edge leftwards (invoice and credit note 42 %, quotation a third,
// delivery note 40 %, payment 39 % of the width), T to T + 2H; the boxes
// from the middle of the frame's width to R, 2H high, the first at T + 4H,
// each 3H below the previous one; the labels left of the boxes from
// (frame left, T + 4H + 5), 3H + 1 apart.
struct QlDocHeaderPlace {
    RECT title;
    int boxLeft, boxTop, boxBottom;   // the first box
    int boxCount;
    int labelX, labelY;
    int boxesEnd;                     // y where the header's right column ends
};
void QlDocHeaderLayout(int kind, const RECT *page, int lineHeight, int boxCount, QlDocHeaderPlace *place);

// The document barcode stands between the company block's column (to 37 %
// of the width) and the title frame, centred in that gap at the largest
// magnification up to 1.2 whose symbol (quiet zones included) fits it, never
// under 0.8.  Returns its left edge; *mag and *bottom (the bars' lower end
// when drawn from top) receive the rest.
int QlDocBarcodePlace(const RECT *page, int titleLeft, int top, int pxPerMmX, int pxPerMmY, float *mag, int *bottom);

// Column titles of a printed grid, each at (its column line + 10, the grid's
// top + 10) and fitted to its cell (column line to next column line, less 10
// on each side): a title that does not fit is set smaller, never cut
// (QlPrintFitTextOut).
void QlDocDrawTitles(HDC dc, const QlGridRec *grid, const char *titles);
// The same on a PDF page: each at (its column line + QL_PDF_CELL_INSET, the
// top line - 10) in the page's font, set smaller when it is wider than its
// cell less that inner margin on each side.
void QlDocPdfDrawTitles(HPDF_Page page, const QlPdfGridRec *grid, const char *titles);

// ---------------------------------------------------------------------------
// Reading the form

// A control's text, at most size - 1 characters.
void QlDocField(HWND form, int id, char *text, int size);
// The document date as the form shows it: the date picker's date in the
// settings' date format, or the control's text.
void QlDocReadDate(HWND form, char *text, int size);
// The number of lines of a list control of the form.
int QlDocListCount(HWND form, int id);
// The tax-rate head of service lines ("VAT %").
const char *QlDocTaxLabel(void);
