// Printing with GDI: the print dialog and the page geometry it yields, the
// drawing harness every printer is built on, the line-by-line text writers,
// the company blocks that head documents, the document barcode, single lines
// and two small case-copy routines.  The printed grid and framed boxes are
// in QlGrid.h, the PDF twins in QlPdf.h.
//
// All positions are device units of the page's device context with the
// origin at the printable area's top-left corner, y growing downwards.
#pragma once

#include <windows.h>
#include <commdlg.h>

// What a printout shows of the company and which print options it follows.
// The print stack knows no settings: the modules fill this record from
// the current settings and language (documents/QlDocStyle.h) and pass it to
// every helper that needs it, always as the last argument.  A NULL style
// reads as all empty and all options off.
struct QlPrintStyleRec {
    char companyName[40];
    char address[3][40];
    char taxNumber[16];
    char telephone[25];
    char email[81];
    char webAddress[80];
    char businessLabel[40];    // e.g. "ABN:"
    char businessNumber[21];
    char taxNoLabel[40];       // the language's tax-number label with the tax name ("VAT No:")
    int printTaxNumber;        // "Include Company TAX / VAT number"
    int printRegNumber;        // "Include Company reg. number"
    int printGridLines;        // inner row lines of document tables
    int printRateColumn;       // "Include TAX Rate column"
    int printDiscountColumn;   // "Include Discount column"
    int cellMarginTop;         // inset of cell texts from the row line above
    int cellMarginRight;       // extra inset of right-aligned cell texts
};

// ---------------------------------------------------------------------------
// Page geometry

// The device figures the page geometry comes from (GetDeviceCaps).
struct QlPrintCaps {
    int logPixelsX, logPixelsY;        // pixels per inch
    int physicalOffsetX, physicalOffsetY;
    int physicalWidth, physicalHeight; // the paper, in pixels
    int horzRes, vertRes;              // the printable area, in pixels
    int horzSize, vertSize;            // the printable area, in millimetres
};

void QlPrintCapsFromDc(HDC dc, QlPrintCaps *caps);
// The margin rectangle one inch inside the paper on every side, relative to
// the printable area's origin, and the whole device pixels per millimetre.
// A device that reports no paper size is taken to be its printable area; one
// that reports no size in millimetres gets its pixels per millimetre from its
// pixels per inch; the pixels per millimetre are at least 1.
void QlPrintPageFromCaps(const QlPrintCaps *caps, RECT *page, int *pxPerMmX, int *pxPerMmY);

// Shows the print dialog (QlSeamPrintDialog).  1 when the user pressed OK:
// pd->hDC is the printer's device context, which the caller deletes; doc is
// ready for StartDocA (document name "*"); page and the pixels per millimetre
// are filled.  0 when the dialog was cancelled or failed (nothing is
// reported, pd->hDC is NULL).  The dialog's device-mode and device-names
// blocks are freed here on every path.
int QlPrintSetup(HWND owner, PRINTDLGA *pd, DOCINFOA *doc, RECT *page, int *pxPerMmX, int *pxPerMmY);

// ---------------------------------------------------------------------------
// The drawing harness.  A printer's drawing core draws onto a target and
// asks it for page breaks, so the same core draws on a printer or, in a
// test, into one enhanced metafile per page (tests/QlTestPrint.h).

struct QlPrintTarget;
// Ends the current page and starts the next; may replace target->dc.
typedef int (*QlPrintPageFn)(QlPrintTarget *target);

struct QlPrintTarget {
    HDC dc;                  // the current page's device context: read it again after a page break
    RECT page;               // the margin rectangle
    int pxPerMmX, pxPerMmY;  // whole device pixels per millimetre
    int pageCount;           // pages started, 1 while the first one is drawn
    QlPrintPageFn nextPage;
    void *pageData;          // the page function's own
};

// Ends the page and starts the next one.  1 on success; 0 when the device
// refused, and the drawing core then stops.  The new page keeps the font,
// pen and brush selected on the old one.
int QlPrintNextPage(QlPrintTarget *target);

// A printer's drawing core: draws the whole document, starting on page one;
// 1 when the document is complete, 0 to abort it.
typedef int (*QlPrintDrawFn)(QlPrintTarget *target, void *data);

// Shows the print dialog, starts the document and its first page, runs draw,
// ends the document (or aborts it when draw or the device failed) and
// deletes the printer's device context.  1 when the document was printed;
// 0 when the user cancelled or anything failed (nothing is reported).
int QlPrintDocument(HWND owner, QlPrintDrawFn draw, void *data);

// ---------------------------------------------------------------------------
// Text writers.  line->cy is the line height (GetTextExtentPoint32A).

// TextOutA at *pos, then pos->y += cy + 1.  Returns the y written at.
int QlPrintTextLine(HDC dc, POINT *pos, const SIZE *line, const char *text);
// TextOutA at (r->left, r->top), then r->top += cy + 1, r->bottom = r->top + cy + 1.
void QlPrintTextLineInRect(HDC dc, RECT *r, const SIZE *line, const char *text);
// DrawTextA into *r with format 0, then r->top += cy + 1, r->bottom = r->top + cy + 1.
void QlPrintTextRect(HDC dc, RECT *r, const SIZE *line, const char *text);
// Each text with TextOutA at (r->left, r->top) as QlPrintTextLine, then
// r->top += spacing and r->bottom += cy + spacing + 1.  NULL texts take their
// line.  Returns count.
int QlPrintTextLines(HDC dc, RECT *r, const SIZE *line, const char *const *lines, int count, int spacing);

// Labels are never cut.  These draw a label in the selected font when it
// fits its place, and otherwise in the largest smaller size of the same font
// that fits (down to a quarter of the size), so that a label keeps its cell
// in a wider substitute face or a longer language.  The smaller font is
// deleted and the selected one put back.
//
// TextOutA at (x, y) in at most width device units.
void QlPrintFitTextOut(HDC dc, int x, int y, const char *text, int width);
// DrawTextA into r with format (DT_NOPREFIX added): the text must fit r's
// width and height; with DT_WORDBREAK its lines are wrapped first, and every
// word must fit the width.  DrawText's result.
int QlPrintFitDrawText(HDC dc, const char *text, RECT r, UINT format);
// A cell's value, drawn whole: with DT_WORDBREAK as QlPrintFitDrawText, but
// r is taken at least one line high; without it on one line, set smaller
// only when wider than r.  DrawText's result.
int QlPrintFitCellText(HDC dc, const char *text, RECT r, UINT format);
// The height QlPrintFitCellText's text takes in a cell of width as high as
// it needs: the wrapped lines (DT_WORDBREAK) in the size in which every word
// fits the width, else one line of the selected font.
int QlPrintFitCellHeight(HDC dc, const char *text, int width, UINT format);

// ---------------------------------------------------------------------------
// Company blocks

#define QL_COMPANY_LINE_MAX 9
#define QL_COMPANY_LINE_SIZE 256

// The lines of the company block of documents: the name and the three
// address lines (always, empty or not); the tax-number line "%s %s" of the
// label and number when its option is on; the business-number line when
// its option is on and both label and number are set; then, with contact
// set, "Tel: %s", the e-mail and the web address, each when set.  Returns
// the number of lines.
int QlPrintCompanyLines(const QlPrintStyleRec *style, int contact, char lines[][QL_COMPANY_LINE_SIZE]);
// The column of the company block: the area from its left edge to 37 % of
// its width, where a centred document barcode and the title box at the
// right leave it room.
RECT QlPrintCompanyHeaderColumn(const RECT *area);
// Writes the company block into that column with QlPrintTextRect from the
// area's top, one line each; *out is left below the last line.
void QlPrintCompanyHeader(HDC dc, RECT area, RECT *out, SIZE line, const QlPrintStyleRec *style);
// The name, the three address lines and, when the tax number is set, the
// tax-number line, right-aligned in the right half of the area in "Arial"
// 8 pt from the top of the printable area.  1, or 0 when the font could not
// be made (nothing is drawn).
int QlPrintCompanyBlockRight(HDC dc, const RECT *area, const QlPrintStyleRec *style);

// ---------------------------------------------------------------------------
// The document barcode

// Where the document barcode goes: *width = truncate(1.2 x 37.3126 x
// pxPerMmX), its left edge centred between left and right.  Returns the left.
int QlPrintDocBarcodeLeft(int left, int right, int pxPerMmX, int *width);
// The symbol text "400000" and the document number (the first 13 characters
// of it) into text (at least 20 bytes); a number of one to four digits is
// padded with zeros to five ("123" gives "40000000123").
void QlPrintDocBarcodeText(const char *number, char *text);
// Draws the document number as a UPC-A symbol, at magnification 1.2, half
// height, without digits, centred between left and right with its top at y.
// 1 when drawn; 0 when the number is not all digits (nothing is drawn).
int QlPrintDocBarcodeNumber(HDC dc, const char *number, int left, int y, int right, int pxPerMmX, int pxPerMmY);
// The same for the number in control 1158 of the form.
int QlPrintDocBarcode(HWND form, HDC dc, int left, int y, int right, int ignored, int pxPerMmX, int pxPerMmY);

// One Polyline segment with the selected pen.
void QlDrawLine(HDC dc, int x1, int y1, int x2, int y2);

// ---------------------------------------------------------------------------
// Case copies

// dst[i] = toupper(src[i]) for every character of src; no terminator.
void QlStrUpper(const char *src, char *dst);
// The same for the first n characters (fewer when src ends sooner).
void QlStrUpperN(const char *src, char *dst, int n);
// One static 81-byte buffer, cleared on each call: the first character of
// src as it is and up to 79 more lower-cased (SMITH gives Smith).
char *QlStrLowerTail(const char *src);
