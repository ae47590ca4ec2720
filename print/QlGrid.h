// The printed grid: a table laid out as horizontal row lines and vertical
// column lines from a row height and column widths in percent, drawn with
// its titles and cell texts on a device context; and framed boxes, single
// or stacked, that head documents.  The PDF output converts the same grid
// record to points (QlPdf.h), so both outputs share one layout.
#pragma once

#include <windows.h>

#include "QlPrint.h"

#define QL_GRID_MAX_ROW_LINES 50
#define QL_GRID_MAX_COLUMN_LINES 20
#define QL_GRID_TITLE_SLOT 20   // width of a title in packed title tables

struct QlGridLine {
    int x1, y1, x2, y2;
};

// Device units, y downwards.  A table of n columns has n + 1 column lines;
// cell (r, c) lies between row lines r and r + 1 and column lines c and
// c + 1; row 0 is the title row.  Lines past the counts are not used, and
// readers never go past the record's capacity whatever the counts say.
struct QlGridRec {
    int rowLineCount;
    QlGridLine rowLines[QL_GRID_MAX_ROW_LINES];
    int columnLineCount;
    QlGridLine columnLines[QL_GRID_MAX_COLUMN_LINES];
};

// The counts of a record, held to 0 .. its capacity.
int QlGridRowLines(const QlGridRec *g);
int QlGridColumnLines(const QlGridRec *g);

// Row line i from (left, top + i x rowHeight) to (right, same y); column
// line j from the first row line's y to the last one's at x_j, with x_0 =
// left and x_(j+1) = x_j + width x percent[j] / 100 (per column, truncated),
// so the last column line may stand short of right.  percent holds
// columnLines values, the last of which places nothing.  The counts are held
// to the record's capacity (50 row lines, 20 column lines).  The fifth
// argument is not used.  Returns the column-line count.
int QlGridLayout(QlGridRec *g, int left, int top, int right, int ignored, int rowLines, int columnLines,
                 int rowHeight, const int *percent);

// The same with rows of their own heights: row line 0 at top, row line 1
// titleHeight below it, then row line i + 2 heights[i] below row line i + 1
// for the rows body rows.  Returns the column-line count.
int QlGridLayoutRows(QlGridRec *g, int left, int top, int right, int titleHeight, const int *heights, int rows,
                     int columnLines, const int *percent);

// How many body rows, from the first of heights (count of them), go on a
// page whose table starts at top under a title row of titleHeight and must
// end at limit or above: at most maxRows, and at least one when count > 0
// (a row higher than the page still gets a page of its own).
int QlGridRowsThatFit(const int *heights, int count, int maxRows, int top, int titleHeight, int limit);

// Pages of a table whose rows have heights of their own (rows grown to fit
// their wrapped texts): each page takes at most perPage rows and no more
// than end at limit or above, the first page's table starting at firstTop,
// the others' at otherTop, each under a title row of titleHeight.  counts
// (maxPages entries; rows + 1 is always enough) receives the rows of each
// page; returns the page count, 1 with counts[0] = 0 when there are no rows.
int QlGridPlanPages(const int *heights, int rows, int perPage, int firstTop, int otherTop, int titleHeight, int limit,
                    int *counts, int maxPages);

// The row height a cell's text needs in column of g (laid out with at
// least one row): wrapped (DT_WORDBREAK) to the cell's width, or one line,
// in the selected font, under the cell's top inset and margin, with one
// unit to spare above the next row line.
int QlGridCellNeed(HDC dc, const QlGridRec *g, int column, const char *text, UINT format,
                   const QlPrintStyleRec *style);

// The row height a row of a list view needs in g: the largest
// QlGridCellNeed of its cells, list column listColumns[c] (c itself when
// listColumns is NULL) into grid column c with formats[c], c = 0 .. count - 1,
// at least minimum.
int QlGridListRowNeed(HDC dc, const QlGridRec *g, HWND list, int listRow, const int *listColumns,
                      const UINT *formats, int count, int minimum, const QlPrintStyleRec *style);

// Whether row line i of a table of rowLines lines is ruled in a document
// table: the title row's two lines and the last always, the inner ones with
// the "Print grid lines" option.
int QlGridRowLineRuled(int i, int rowLines, int printGridLines);

// The rectangle cell texts are drawn into: column line c + 10 to column line
// c + 1 - 10 (less the right margin when format holds DT_RIGHT), row line r +
// 10 + the top margin down to row line r + 1.  0 when the cell is not in the
// grid.
int QlGridCellRect(const QlGridRec *g, int row, int column, UINT format, const QlPrintStyleRec *style, RECT *r);

// Every row line, then every column line, one two-point Polyline each.
void QlGridDrawLines(HDC dc, const QlGridRec *g);
// The same, but inner row lines only with the style's "Print grid lines".
void QlGridDrawLinesOption(HDC dc, const QlGridRec *g, const QlPrintStyleRec *style);
// Title j (j = 0 .. column lines - 2) with TextOutA at (column line j x1 +
// 10, its y1 + 10).  titles holds one text per column.
void QlGridDrawColumnTitles(HDC dc, const QlGridRec *g, const char *const *titles);
// The same with the titles packed in slots of QL_GRID_TITLE_SLOT characters.
void QlGridDrawColumnTitlesFixed(HDC dc, const QlGridRec *g, const char *titles);
// DrawTextA of the text into the cell's rectangle (QlGridCellRect) with the
// caller's format (0 or DT_LEFT, DT_RIGHT, DT_WORDBREAK).  The text is drawn
// whole (QlPrintFitCellText): wrapped within the cell's height, or on one
// line, in a smaller size of the font when it does not fit otherwise; a
// table whose rows grow to QlGridCellNeed keeps the body size.  DrawText's
// result; 0 when the cell is not in the grid.
int QlGridDrawCellText(HDC dc, const QlGridRec *g, const char *text, int row, int column, UINT format,
                       const QlPrintStyleRec *style);
// The same for a label, which is never cut: in a smaller size of the font
// when it does not fit the cell (QlPrintFitDrawText).
int QlGridDrawCellLabel(HDC dc, const QlGridRec *g, const char *text, int row, int column, UINT format,
                        const QlPrintStyleRec *style);

// n nested rectangles with the selected pen and brush, Rectangle(left + i,
// top + i, right - i, bottom - i) for i = 0 .. n - 1.  Returns n, 0 for n <= 0.
int QlDrawFrame(HDC dc, int left, int top, int right, int bottom, int n);

// Box i of a stack whose first box is top..bottom: each box's top stands a
// box height and a half (H + H / 2) below the previous one's.
void QlBoxStackPlace(int top, int bottom, int index, int *boxTop, int *boxBottom);

// count framed boxes (QlDrawFrame) of the first box's size, one below the
// other.  lefts and tops (count entries) receive each box's corner,
// *lastBottom the last box's bottom, *yAfter one box height below the last
// box's bottom less half a box height (where the callers go on).  Any out
// pointer may be NULL.  Returns *yAfter.
int QlDrawBoxStack(HDC dc, int left, int top, int right, int bottom, int thickness, int count, int *yAfter,
                   int *lastBottom, int *lefts, int *tops);
// The same, but the arrays and *lastBottom take only the first count - 1
// boxes; the last box's corner goes to *lastLeft and *lastTop, *yAfter is the
// last box's middle (bottom - H / 2) and *afterLast = *yAfter + H + H / 2.
// Returns *afterLast; 0 and nothing drawn for count <= 0.
int QlDrawBoxStackEx(HDC dc, int left, int top, int right, int bottom, int thickness, int count, int *yAfter,
                     int *lastBottom, int *lefts, int *tops, int *lastLeft, int *lastTop, int *afterLast);

// ---------------------------------------------------------------------------
// Line rows of the document forms (list 1161) in printed tables.  Grid
// columns are filled from the left; an optional column left out shifts the
// following ones.  Service lines: list columns 0, 1 (tax rate, with its
// option), 3, 4 (discount, with its option), 5, 6.  Product lines: 0, 1, 2, 3
// (tax rate, option), 5, 6 (discount, option), 7, 8.  Credit lines: 0, 1, 2.

enum QlLineKind { QL_LINE_SERVICE, QL_LINE_PRODUCT, QL_LINE_CREDIT };

#define QL_LINE_MAX_CELLS 8

struct QlLineCell {
    int listColumn;
    int gridColumn;
};

// The cells a line of the kind prints, in grid column order; returns their count.
int QlLineCells(int kind, const QlPrintStyleRec *style, QlLineCell *cells);
