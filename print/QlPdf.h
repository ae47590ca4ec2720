// PDF drawing helpers over libharu, shared by the PDF writers: text at a
// moving cursor and clipped to a width, text rectangles, framed boxes, the
// printed grid in points, cell text wrapped onto a second line, line-list
// rows copied into grid rows, the logo and the company header block.
//
// Coordinates are points with the origin at the page's bottom-left corner,
// y upwards.  The writer creates the document and its pages and sets the
// font and size before calling these; helpers marked "inside a text object"
// run between the writer's HPDF_Page_BeginText and HPDF_Page_EndText, the
// others outside one.  Like the printing helpers, those that follow company
// details or print options take the style as their last argument.
#pragma once

#include <windows.h>
#include <hpdf.h>

#include "QlGrid.h"
#include "QlPrint.h"

struct QlPdfGridLine {
    float x1, y1, x2, y2;
};

// The points twin of QlGridRec, filled by QlPdfGridFromLayout.
struct QlPdfGridRec {
    int rowLineCount;
    QlPdfGridLine rowLines[QL_GRID_MAX_ROW_LINES];
    int columnLineCount;
    QlPdfGridLine columnLines[QL_GRID_MAX_COLUMN_LINES];
};

// Alignments of printed line columns, indexed by grid column: 0 left, 1 right
// (HPDF_TALIGN_LEFT, HPDF_TALIGN_RIGHT).
extern const int QlPdfAlignService[7];   // {0, 1, 1, 1, 1, 1, 1}
extern const int QlPdfAlignProduct[9];   // {0, 0, 1, 1, 1, 1, 1, 1, 0}
extern const int QlPdfAlignCredit[3];    // {0, 1, 1}

// Texts are cut to this many characters (less one) wherever a helper copies them.
#define QL_PDF_TEXT_SIZE 256

// Saves the document to path (a Windows path) whole or not at all: written
// under a temporary name in the same folder and moved into place when
// complete; the bytes are checked as they are written (libharu's own file
// writer does not see a failing close).  QL_FILE_DONE, QL_FILE_IN_USE (the
// file there is held by another handle, an attachment being sent: left as
// it is), QL_FILE_NO_SPACE (the disk is full: a file there is left as it is)
// or QL_FILE_FAILED (core/QlTempFile.h).
int QlPdfSaveFile(HPDF_Doc doc, const char *path);

// ---------------------------------------------------------------------------
// Text

// TextOut at the cursor {x, y}, then y -= fontSize + 5.  Inside a text object.
void QlPdfTextLine(HPDF_Page page, float *cursor, float fontSize, const char *text);
// As QlPdfTextLine, but only as many characters as fit width are written.
void QlPdfTextLineClip(HPDF_Page page, float *cursor, float width, float fontSize, const char *text);
// A text object of its own with one TextOut at (x, y).
void QlPdfTextAt(HPDF_Page page, float x, float y, const char *text);
// A text object of its own with one TextRect (align: 0 left, 1 right, 2
// centre); what does not fit the rectangle is not written.
void QlPdfTextRect(HPDF_Page page, float left, float top, float right, float bottom, const char *text, int align);

// ---------------------------------------------------------------------------
// Shapes

// Sets the line width (it stays in force) and strokes the rectangle.
void QlPdfRect(HPDF_Page page, float x, float y, float w, float h, float lineWidth);
void QlPdfLine(HPDF_Page page, float x1, float y1, float x2, float y2);
// QlPdfRect, then the text with QlPdfTextRect from (x + leftInset, y + h -
// topInset) to (x + w, y).
void QlPdfBoxWithText(HPDF_Page page, float x, float y, float w, float h, float lineWidth, const char *text,
                      float topInset, float leftInset, int align);

// ---------------------------------------------------------------------------
// Grid

// A grid laid out by QlGridLayout in points with y measured down from the
// page's top, turned into PDF coordinates (y = pageHeight - y); the last
// column line is moved to the right end of the last row line, so the table
// closes exactly.
void QlPdfGridFromLayout(const QlGridRec *g, QlPdfGridRec *p, float pageHeight);
// Row lines 0, 1 and the last always, the inner ones with the style's "Print
// grid lines"; every column line; in the page's current line width.
void QlPdfGridDrawLines(HPDF_Page page, const QlPdfGridRec *p, const QlPrintStyleRec *style);
// The inner margin of a cell's text: from the column lines on each side and
// from the row line above (the settings' cell margins come on top).
#define QL_PDF_CELL_INSET 4.0f
#define QL_PDF_CELL_INSET_TOP 3.0f
// Title j (20-character slots) at (column line j x1 + QL_PDF_CELL_INSET, its y1 - 10).
void QlPdfGridDrawColumnTitles(HPDF_Page page, const QlPdfGridRec *p, const char *titles);

// Where a cell text breaks.  fit is how many characters of the text fit the
// cell's width; *firstLength receives the first line's length and the
// result is where the second line starts (== length when there is none).
// A cut inside a word goes back to the last blank before it; a word longer
// than the cell is cut where the width ends; one blank at the start of the
// second line is skipped.
int QlPdfCellBreak(const char *text, int length, int fit, int *firstLength);
// The text in the cell, whole (algorithm in QlPdf.cpp): wrapped at blanks
// into as many lines as it takes inside the inner margin, from the cell's
// top inset down (align 0 left, 1 right, 2 centred); set smaller when a word
// is wider than the cell or the lines are higher than the row.  style may be
// NULL: no settings' margins.
void QlPdfGridDrawCellText(HPDF_Page page, const QlPdfGridRec *p, const char *text, int row, int column, int align,
                           const QlPrintStyleRec *style);
// The row height (points) the text needs in a cell of width (column line to
// column line) at the page's current font and size, wrapped as above.
float QlPdfCellNeed(HPDF_Page page, float width, const char *text, const QlPrintStyleRec *style, int align);

// A list-view cell (at most 79 characters) into grid cell (gridRow,
// gridColumn) with align[gridColumn]; SameRow takes gridRow = listRow + 1.
void QlPdfListCell(HPDF_Page page, HWND list, int listRow, int listColumn, const int *align, const QlPdfGridRec *p,
                   int gridRow, int gridColumn, const QlPrintStyleRec *style);
void QlPdfListCellSameRow(HPDF_Page page, HWND list, int listRow, int listColumn, const int *align,
                          const QlPdfGridRec *p, int gridColumn, const QlPrintStyleRec *style);

// One row of a document's line list (QL_LINE_SERVICE, QL_LINE_PRODUCT or
// QL_LINE_CREDIT lines) into a grid row, its cells packed by QlLineCells and
// aligned as the kind's table says.  A writer looks the list up once per
// document: every look-up of a control is a round trip to the window server.
void QlPdfLineRow(HPDF_Page page, HWND list, int kind, const QlPdfGridRec *p, int listRow, int gridRow,
                  const QlPrintStyleRec *style);
// The row height (points) a row of a list view needs in p: the largest
// QlPdfCellNeed of list column listColumns[c] (c when NULL) in grid column c
// with align[c] (NULL: left), c = 0 .. count - 1, at least minimum.
float QlPdfListRowNeed(HPDF_Page page, HWND list, int listRow, const int *listColumns, const int *align, int count,
                       const QlPdfGridRec *p, float minimum, const QlPrintStyleRec *style);
// The row height (points) the cells of that row need (QlPdfCellNeed).
float QlPdfLineRowNeed(HPDF_Page page, HWND list, int kind, const QlPdfGridRec *p, int listRow,
                       const QlPrintStyleRec *style);
// The same from the form's line list 1161, looked up for the row.  ...SameRow and ...All take gridRow = listRow + 1; ProdItemRowAll
// writes every product column whatever the options (list 0-3 into grid 0-3,
// list 5-8 into grid 4-7).
void QlPdfServItemRow(HWND form, HPDF_Page page, const QlPdfGridRec *p, int listRow, int gridRow,
                      const QlPrintStyleRec *style);
void QlPdfProdItemRow(HWND form, HPDF_Page page, const QlPdfGridRec *p, int listRow, int gridRow,
                      const QlPrintStyleRec *style);
void QlPdfCreditItemRow(HWND form, HPDF_Page page, const QlPdfGridRec *p, int listRow, int gridRow,
                        const QlPrintStyleRec *style);
void QlPdfServItemRowSameRow(HWND form, HPDF_Page page, const QlPdfGridRec *p, int listRow,
                             const QlPrintStyleRec *style);
void QlPdfProdItemRowAll(HWND form, HPDF_Page page, const QlPdfGridRec *p, int listRow, const QlPrintStyleRec *style);

// ---------------------------------------------------------------------------
// Logo and header

// Shrinks {width, height} in place by the factors 1, 0.999, 0.998, ...
// applied to the running values until it fits; at most 1000 reductions.
void QlPdfFitScale(float *size, float maxWidth, float maxHeight);
// The logo file (a Windows path) as a JPEG image.  The file is read once and
// must pass the picture library's check (a whole BMP, JPEG, GIF or PNG file within
// the ceiling on pixels and decoded bytes, GlimmetCheck.h) before any decoder
// sees it: a JPEG file then goes in directly, a BMP, GIF or PNG file is
// converted to "jpglogo.jpg" in a temporary folder of the program's own first
// (removed once the picture is loaded), by FreeImage or, for a file FreeImage
// cannot read, from the picture library's bitmap (which replaces the
// library's last one).  Fitted into half the printable width by the
// margin less 10 mm of an A4 page, and drawn standing 15 points above top.
// 1 when drawn; 0 when the file is refused or cannot be loaded or converted
// (the document's error state is then cleared, so the writer goes on without
// the logo and saves; the writer tells the user).
int QlPdfDrawLogo(HPDF_Doc doc, HPDF_Page page, const char *path, float left, float top, float pageWidth,
                  float pageHeight, float margin);
// The company block of QlPrintCompanyLines at 15-point steps from (left,
// top - 10), each line cut to half the printable width (size 10), then the
// recipient box (QlPdfRecipientBox) below it.  cursorOut receives the cursor
// after the last recipient line.
void QlPdfCompanyHeader(HWND form, HPDF_Page page, float pageWidth, float margin, float top, float left,
                        float *cursorOut, const QlPrintStyleRec *style);
// Only the name, address, tax-number and business-number lines.
void QlPdfCompanyBlock(HPDF_Page page, float pageWidth, float margin, float top, float left, float *cursorOut,
                       const QlPrintStyleRec *style);
// A box 70 points high and half the printable width wide standing on bottom
// (line width 1), and in it, from 5 points in and 15 below its top, the
// form's recipient: name (control 1173) and address (1028, 1029, 1030).
// cursorOut (may be NULL) receives the cursor after the last line.
void QlPdfRecipientBox(HWND form, HPDF_Page page, float bottom, float pageWidth, float margin, float left,
                       float *cursorOut);
