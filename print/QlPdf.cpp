#include "QlPdf.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "QlImageJpeg.h"
#include "ui/QlListView.h"
#include "QlPicture.h"
#include "core/QlPlatform.h"
#include "core/QlTempFile.h"
#include "ui/QlWindow.h"

// Controls of the document forms.
#define QL_IDL_DOC_LINES 1161
// The recipient's name and three address lines.
static const int recipientIds[4] = {1173, 1028, 1029, 1030};

// The converted logo, in a temporary folder of the program's own that goes
// as soon as libharu has taken the picture in.
static const char jpegLogoName[] = "jpglogo.jpg";

const int QlPdfAlignService[7] = {0, 1, 1, 1, 1, 1, 1};
const int QlPdfAlignProduct[9] = {0, 0, 1, 1, 1, 1, 1, 1, 0};
const int QlPdfAlignCredit[3] = {0, 1, 1};

// Copies at most count characters of text (and QL_PDF_TEXT_SIZE - 1 in all) into out.
static int CopyText(const char *text, int count, char *out)
{
    int n = text ? (int)strnlen(text, QL_PDF_TEXT_SIZE - 1) : 0;
    if (count < n) n = count < 0 ? 0 : count;
    if (n) memcpy(out, text, (size_t)n);
    out[n] = '\0';
    return n;
}

// How many characters of text fit width in the page's font.
static int Fit(HPDF_Page page, const char *text, float width)
{
    if (!text[0] || width <= 0) return 0;
    return (int)HPDF_Page_MeasureText(page, text, width, HPDF_FALSE, NULL);
}

// ---------------------------------------------------------------------------
// Text

void QlPdfTextLine(HPDF_Page page, float *cursor, float fontSize, const char *text)
{
    HPDF_Page_TextOut(page, cursor[0], cursor[1], text ? text : "");
    cursor[1] -= fontSize + 5;
}

void QlPdfTextLineClip(HPDF_Page page, float *cursor, float width, float fontSize, const char *text)
{
    char whole[QL_PDF_TEXT_SIZE], line[QL_PDF_TEXT_SIZE];
    int length = CopyText(text, QL_PDF_TEXT_SIZE, whole);
    CopyText(whole, length ? Fit(page, whole, width) : 0, line);
    HPDF_Page_TextOut(page, cursor[0], cursor[1], line);
    cursor[1] -= fontSize + 5;
}

void QlPdfTextAt(HPDF_Page page, float x, float y, const char *text)
{
    HPDF_Page_BeginText(page);
    HPDF_Page_TextOut(page, x, y, text ? text : "");
    HPDF_Page_EndText(page);
}

void QlPdfTextRect(HPDF_Page page, float left, float top, float right, float bottom, const char *text, int align)
{
    HPDF_Page_BeginText(page);
    HPDF_Page_TextRect(page, left, top, right, bottom, text ? text : "", (HPDF_TextAlignment)align, NULL);
    HPDF_Page_EndText(page);
}

// ---------------------------------------------------------------------------
// Shapes

void QlPdfRect(HPDF_Page page, float x, float y, float w, float h, float lineWidth)
{
    HPDF_Page_SetLineWidth(page, lineWidth);
    HPDF_Page_Rectangle(page, x, y, w, h);
    HPDF_Page_Stroke(page);
}

void QlPdfLine(HPDF_Page page, float x1, float y1, float x2, float y2)
{
    HPDF_Page_MoveTo(page, x1, y1);
    HPDF_Page_LineTo(page, x2, y2);
    HPDF_Page_Stroke(page);
}

void QlPdfBoxWithText(HPDF_Page page, float x, float y, float w, float h, float lineWidth, const char *text,
                      float topInset, float leftInset, int align)
{
    QlPdfRect(page, x, y, w, h, lineWidth);
    QlPdfTextRect(page, x + leftInset, y + h - topInset, x + w, y, text, align);
}

// ---------------------------------------------------------------------------
// Grid

static QlPdfGridLine Flip(const QlGridLine &line, float pageHeight)
{
    return {(float)line.x1, pageHeight - line.y1, (float)line.x2, pageHeight - line.y2};
}

static int PdfRows(const QlPdfGridRec *p)
{
    return p->rowLineCount < 0 ? 0 : p->rowLineCount > QL_GRID_MAX_ROW_LINES ? QL_GRID_MAX_ROW_LINES : p->rowLineCount;
}

static int PdfColumns(const QlPdfGridRec *p)
{
    return p->columnLineCount < 0                         ? 0
           : p->columnLineCount > QL_GRID_MAX_COLUMN_LINES ? QL_GRID_MAX_COLUMN_LINES
                                                          : p->columnLineCount;
}

void QlPdfGridFromLayout(const QlGridRec *g, QlPdfGridRec *p, float pageHeight)
{
    p->rowLineCount = QlGridRowLines(g);
    p->columnLineCount = QlGridColumnLines(g);
    for (int i = 0; i < p->rowLineCount; i++) p->rowLines[i] = Flip(g->rowLines[i], pageHeight);
    for (int j = 0; j < p->columnLineCount; j++) p->columnLines[j] = Flip(g->columnLines[j], pageHeight);
    if (p->rowLineCount > 0 && p->columnLineCount > 0) {
        QlPdfGridLine &last = p->columnLines[p->columnLineCount - 1];
        last.x1 = last.x2 = p->rowLines[p->rowLineCount - 1].x2;
    }
}

void QlPdfGridDrawLines(HPDF_Page page, const QlPdfGridRec *p, const QlPrintStyleRec *style)
{
    const int R = PdfRows(p);
    for (int i = 0; i < R; i++) {
        const QlPdfGridLine &line = p->rowLines[i];
        if (QlGridRowLineRuled(i, R, style && style->printGridLines)) QlPdfLine(page, line.x1, line.y1, line.x2, line.y2);
    }
    for (int j = 0; j < PdfColumns(p); j++) {
        const QlPdfGridLine &line = p->columnLines[j];
        QlPdfLine(page, line.x1, line.y1, line.x2, line.y2);
    }
}

void QlPdfGridDrawColumnTitles(HPDF_Page page, const QlPdfGridRec *p, const char *titles)
{
    for (int j = 0; titles && j < PdfColumns(p) - 1; j++) {
        char title[QL_GRID_TITLE_SLOT + 1];
        CopyText(titles + QL_GRID_TITLE_SLOT * j, QL_GRID_TITLE_SLOT, title);
        QlPdfTextAt(page, p->columnLines[j].x1 + QL_PDF_CELL_INSET, p->columnLines[j].y1 - 10, title);
    }
}

int QlPdfCellBreak(const char *text, int length, int fit, int *firstLength)
{
    int k = fit < 0 ? 0 : fit > length ? length : fit;
    if (k < length && text[k] != ' ') {
        for (int i = k - 1; i >= 0; i--)
            if (text[i] == ' ') {
                k = i;
                break;
            }
    }
    *firstLength = k;
    int rest = k;
    if (length - rest > 1 && text[rest] == ' ') rest++;
    return rest;
}

// Cell text: the width between the column lines less QL_PDF_CELL_INSET on
// each side (and, right-aligned, the settings' cell right margin).  The
// text is wrapped at blanks into as many lines as it takes, one under the
// other from the row line less QL_PDF_CELL_INSET_TOP and the settings' cell
// top margin.  When a word is wider than the cell, or the lines are higher
// than the row, the whole text is set smaller (down to half the size) until
// it fits: nothing is cut and no line runs over the next row line.  A
// writer whose rows grow to QlPdfCellNeed keeps the page's size.

namespace {

#define CELL_MAX_LINES 64

struct CellLines {
    int count;
    int start[CELL_MAX_LINES], length[CELL_MAX_LINES];
    float widest;   // the widest word, at the measured size
};

// The text's lines at the page's current size.
void WrapCell(HPDF_Page page, const char *text, int length, float width, CellLines *out)
{
    out->count = 0;
    out->widest = 0;
    char word[QL_PDF_TEXT_SIZE];
    for (int i = 0; i < length;) {
        while (i < length && text[i] == ' ') i++;
        int j = i;
        while (j < length && text[j] != ' ') j++;
        if (j > i) {
            CopyText(text + i, j - i, word);
            const float w = HPDF_Page_TextWidth(page, word);
            if (w > out->widest) out->widest = w;
        }
        i = j;
    }
    int at = 0;
    while (at < length && out->count < CELL_MAX_LINES) {
        int first;
        int fit = Fit(page, text + at, width);
        if (fit <= 0) fit = 1;
        const int rest = at + QlPdfCellBreak(text + at, length - at, fit, &first);
        if (first > 0) {
            out->start[out->count] = at;
            out->length[out->count] = first;
            out->count++;
        }
        at = rest > at ? rest : at + 1;
    }
}

struct CellBox {
    float left, right, top, bottom;
    float marginTop, marginRight;
};

// The height count lines take at size under the top margin, with half a
// point to spare above the next row line.
float LinesHeight(HPDF_Font font, float size, int count, float marginTop)
{
    const float ascent = (float)HPDF_Font_GetAscent(font) * size / 1000;
    const float descent = -(float)HPDF_Font_GetDescent(font) * size / 1000;
    const float step = size * 1.15f;
    return marginTop + (count > 0 ? count - 1 : 0) * step + ascent + descent + 0.5f;
}

// The largest size, in steps of 5 % down to half, at which every word fits
// the width and the lines fit the height; the page's size is left at it.
float ChooseSize(HPDF_Page page, HPDF_Font font, float size, const char *text, int length, float width, float height,
                 float marginTop, CellLines *lines)
{
    float used = size;
    for (int step = 0; step <= 10; step++) {
        used = size * (1.0f - 0.05f * (float)step);
        HPDF_Page_SetFontAndSize(page, font, used);
        WrapCell(page, text, length, width, lines);
        if (lines->widest <= width && LinesHeight(font, used, lines->count, marginTop) <= height) break;
    }
    return used;
}

}  // namespace

float QlPdfCellNeed(HPDF_Page page, float width, const char *text, const QlPrintStyleRec *style, int align)
{
    char whole[QL_PDF_TEXT_SIZE];
    const int length = CopyText(text, QL_PDF_TEXT_SIZE, whole);
    HPDF_Font font = HPDF_Page_GetCurrentFont(page);
    const float size = HPDF_Page_GetCurrentFontSize(page);
    const float marginTop = QL_PDF_CELL_INSET_TOP + (style ? (float)style->cellMarginTop : 0);
    if (!font || size <= 0) return 0;
    if (length == 0) return LinesHeight(font, size, 1, marginTop);
    const float inner = width - 2 * QL_PDF_CELL_INSET - (style && align == 1 ? (float)style->cellMarginRight : 0);
    // As the text will be drawn in a row as high as it needs.
    CellLines lines;
    const float used = ChooseSize(page, font, size, whole, length, inner, 1e6f, marginTop, &lines);
    HPDF_Page_SetFontAndSize(page, font, size);
    return LinesHeight(font, used, lines.count, marginTop);
}

void QlPdfGridDrawCellText(HPDF_Page page, const QlPdfGridRec *p, const char *text, int row, int column, int align,
                           const QlPrintStyleRec *style)
{
    if (row < 0 || column < 0 || row + 1 >= PdfRows(p) || column + 1 >= PdfColumns(p)) return;
    char whole[QL_PDF_TEXT_SIZE], line[QL_PDF_TEXT_SIZE];
    const int length = CopyText(text, QL_PDF_TEXT_SIZE, whole);
    if (length == 0) return;
    HPDF_Font font = HPDF_Page_GetCurrentFont(page);
    const float size = HPDF_Page_GetCurrentFontSize(page);
    if (!font || size <= 0) return;

    const float left = p->columnLines[column].x1 + QL_PDF_CELL_INSET;
    const float marginRight = style && align == 1 ? (float)style->cellMarginRight : 0;
    const float right = p->columnLines[column + 1].x1 - QL_PDF_CELL_INSET - marginRight;
    const float top = p->rowLines[row].y1, bottom = p->rowLines[row + 1].y1;
    const float width = right - left;
    const float marginTop = QL_PDF_CELL_INSET_TOP + (style ? (float)style->cellMarginTop : 0);

    CellLines lines;
    const float used = ChooseSize(page, font, size, whole, length, width, top - bottom, marginTop, &lines);

    const float ascent = (float)HPDF_Font_GetAscent(font) * used / 1000;
    HPDF_Page_BeginText(page);
    for (int i = 0; i < lines.count; i++) {
        if (!CopyText(whole + lines.start[i], lines.length[i], line)) continue;
        const float w = HPDF_Page_TextWidth(page, line);
        const float x = align == 1 ? right - w : align == 2 ? left + (width - w) / 2 : left;
        HPDF_Page_TextOut(page, x, top - marginTop - ascent - (float)i * used * 1.15f, line);
    }
    HPDF_Page_EndText(page);
    HPDF_Page_SetFontAndSize(page, font, size);
}

void QlPdfListCell(HPDF_Page page, HWND list, int listRow, int listColumn, const int *align, const QlPdfGridRec *p,
                   int gridRow, int gridColumn, const QlPrintStyleRec *style)
{
    char cell[80];
    QlListGetCell(list, listRow, listColumn, cell, sizeof cell);
    QlPdfGridDrawCellText(page, p, cell, gridRow, gridColumn, align ? align[gridColumn] : 0, style);
}

void QlPdfListCellSameRow(HPDF_Page page, HWND list, int listRow, int listColumn, const int *align,
                          const QlPdfGridRec *p, int gridColumn, const QlPrintStyleRec *style)
{
    QlPdfListCell(page, list, listRow, listColumn, align, p, listRow + 1, gridColumn, style);
}

void QlPdfLineRow(HPDF_Page page, HWND list, int kind, const QlPdfGridRec *p, int listRow, int gridRow,
                  const QlPrintStyleRec *style)
{
    const int *align = kind == QL_LINE_PRODUCT ? QlPdfAlignProduct
                       : kind == QL_LINE_CREDIT ? QlPdfAlignCredit
                                                : QlPdfAlignService;
    QlLineCell cells[QL_LINE_MAX_CELLS];
    int count = QlLineCells(kind, style, cells);
    for (int i = 0; i < count; i++)
        QlPdfListCell(page, list, listRow, cells[i].listColumn, align, p, gridRow, cells[i].gridColumn, style);
}

float QlPdfListRowNeed(HPDF_Page page, HWND list, int listRow, const int *listColumns, const int *align, int count,
                       const QlPdfGridRec *p, float minimum, const QlPrintStyleRec *style)
{
    float need = minimum;
    for (int c = 0; c < count && c + 1 < PdfColumns(p); c++) {
        char cell[80];
        QlListGetCell(list, listRow, listColumns ? listColumns[c] : c, cell, sizeof cell);
        const float h =
            QlPdfCellNeed(page, p->columnLines[c + 1].x1 - p->columnLines[c].x1, cell, style, align ? align[c] : 0);
        if (h > need) need = h;
    }
    return need;
}

float QlPdfLineRowNeed(HPDF_Page page, HWND list, int kind, const QlPdfGridRec *p, int listRow,
                       const QlPrintStyleRec *style)
{
    const int *align = kind == QL_LINE_PRODUCT ? QlPdfAlignProduct
                       : kind == QL_LINE_CREDIT ? QlPdfAlignCredit
                                                : QlPdfAlignService;
    QlLineCell cells[QL_LINE_MAX_CELLS];
    const int count = QlLineCells(kind, style, cells);
    float need = 0;
    for (int i = 0; i < count; i++) {
        const int c = cells[i].gridColumn;
        if (c + 1 >= PdfColumns(p)) continue;
        char cell[80];
        QlListGetCell(list, listRow, cells[i].listColumn, cell, sizeof cell);
        const float h = QlPdfCellNeed(page, p->columnLines[c + 1].x1 - p->columnLines[c].x1, cell, style, align[c]);
        if (h > need) need = h;
    }
    return need;
}

void QlPdfServItemRow(HWND form, HPDF_Page page, const QlPdfGridRec *p, int listRow, int gridRow,
                      const QlPrintStyleRec *style)
{
    QlPdfLineRow(page, QlUiControl(form, QL_IDL_DOC_LINES), QL_LINE_SERVICE, p, listRow, gridRow, style);
}

void QlPdfProdItemRow(HWND form, HPDF_Page page, const QlPdfGridRec *p, int listRow, int gridRow,
                      const QlPrintStyleRec *style)
{
    QlPdfLineRow(page, QlUiControl(form, QL_IDL_DOC_LINES), QL_LINE_PRODUCT, p, listRow, gridRow, style);
}

void QlPdfCreditItemRow(HWND form, HPDF_Page page, const QlPdfGridRec *p, int listRow, int gridRow,
                        const QlPrintStyleRec *style)
{
    QlPdfLineRow(page, QlUiControl(form, QL_IDL_DOC_LINES), QL_LINE_CREDIT, p, listRow, gridRow, style);
}

void QlPdfServItemRowSameRow(HWND form, HPDF_Page page, const QlPdfGridRec *p, int listRow,
                             const QlPrintStyleRec *style)
{
    QlPdfServItemRow(form, page, p, listRow, listRow + 1, style);
}

void QlPdfProdItemRowAll(HWND form, HPDF_Page page, const QlPdfGridRec *p, int listRow, const QlPrintStyleRec *style)
{
    HWND list = QlUiControl(form, QL_IDL_DOC_LINES);
    static const int listColumns[8] = {0, 1, 2, 3, 5, 6, 7, 8};
    for (int g = 0; g < 8; g++)
        QlPdfListCellSameRow(page, list, listRow, listColumns[g], QlPdfAlignProduct, p, g, style);
}

// ---------------------------------------------------------------------------
// Logo and header

void QlPdfFitScale(float *size, float maxWidth, float maxHeight)
{
    float s = 1.0f;
    // The factors multiply up: 1, then 0.999, 0.998, ... on the running values.
    for (int reductions = 0;; reductions++) {
        size[0] *= s;
        size[1] *= s;
        if (maxWidth >= size[0] && maxHeight >= size[1]) break;
        if (reductions == 1000) break;
        s -= 0.001f;
    }
}

// Saves the picture the picture library (the screen's own loader) makes of
// the file as a JPEG file at nativeOut: bitmaps that FreeImage refuses but
// the screen shows (the newer bitmap headers, some run-length data) still
// reach the PDF as they look in the settings.  The library's last bitmap is
// replaced.
static int SaveScreenPictureAsJpeg(const char *path, const char *nativeOut)
{
    HBITMAP bitmap = QlPictureLoad(path, NULL);
    BITMAP shape;
    if (!bitmap || GetObjectA(bitmap, sizeof shape, &shape) != (int)sizeof shape) return 0;
    const int width = shape.bmWidth, height = shape.bmHeight;
    if (width <= 0 || height <= 0 || (unsigned)width > GLIMMET_MOST_SIDE || (unsigned)height > GLIMMET_MOST_SIDE)
        return 0;
    const int pitch = (width * 3 + 3) & ~3;
    unsigned char *rows = (unsigned char *)malloc((size_t)pitch * (size_t)height);
    if (!rows) return 0;
    BITMAPINFO format;
    memset(&format, 0, sizeof format);
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = height;   // bottom-up rows
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(NULL);
    const int got = screen ? GetDIBits(screen, bitmap, 0, (UINT)height, rows, &format, DIB_RGB_COLORS) : 0;
    if (screen) ReleaseDC(NULL, screen);
    const int written = got == height && QlImageSaveRowsAsJpeg(rows, width, height, pitch, nativeOut);
    free(rows);
    return written;
}

int QlPdfDrawLogo(HPDF_Doc doc, HPDF_Page page, const char *path, float left, float top, float pageWidth,
                  float pageHeight, float margin)
{
    // Read once and checked by the picture library's own check before any
    // decoder sees a byte: only a whole BMP, JPEG, GIF or PNG file within
    // the ceiling goes on, and what FreeImage decodes is exactly what was
    // checked.
    size_t byteCount = 0;
    GlimmetPictureInfo picture;
    unsigned char *bytes = QlPictureReadChecked(path, &byteCount, &picture);
    if (!bytes) return 0;

    HPDF_Image image = NULL;
    if (picture.kind == GLIMMET_JPEG) {
        // libharu reads only the file's header and copies the rest as it is:
        // a damaged file would make a damaged page.
        if (QlImageJpegIsWhole(bytes, byteCount)) image = HPDF_LoadJpegImageFromMem(doc, bytes, (HPDF_UINT)byteCount);
    } else {
        char folder[MAX_PATH], converted[MAX_PATH], jpeg[MAX_PATH * 4];
        if (QlTempFolderMake(folder, sizeof folder)) {
            const int length = snprintf(converted, sizeof converted, "%s\\%s", folder, jpegLogoName);
            // FreeImage first; what it cannot read goes through the screen's
            // loader, which runs the same check on the file.
            if (length > 0 && length < (int)sizeof converted && QlPathToNative(converted, jpeg, sizeof jpeg) &&
                (QlImageSaveAsJpeg(bytes, byteCount, picture.kind, jpeg) || SaveScreenPictureAsJpeg(path, jpeg)))
                image = HPDF_LoadJpegImageFromFile(doc, jpeg);
            QlTempFolderRemove(folder);
        }
    }
    free(bytes);
    if (!image) {
        // A JPEG file libharu cannot read leaves the document in an error
        // state that would refuse every later call, the save included.
        HPDF_ResetError(doc);
        return 0;
    }

    HPDF_Point natural = HPDF_Image_GetSize(image);
    float size[2] = {natural.x, natural.y};
    QlPdfFitScale(size, (pageWidth - 2 * margin) / 2, margin - pageHeight * 10 / 297);
    HPDF_Page_DrawImage(page, image, left, top + 15, size[0], size[1]);
    return 1;
}

static void CompanyLines(HPDF_Page page, float pageWidth, float margin, float top, float left, int contact,
                         float *cursorOut, const QlPrintStyleRec *style)
{
    char lines[QL_COMPANY_LINE_MAX][QL_COMPANY_LINE_SIZE];
    const int count = QlPrintCompanyLines(style, contact, lines);
    const float width = (pageWidth - 2 * margin) / 2;
    float cursor[2] = {left, top - 10};
    HPDF_Page_BeginText(page);
    for (int i = 0; i < count; i++) QlPdfTextLineClip(page, cursor, width, 10, lines[i]);
    HPDF_Page_EndText(page);
    if (cursorOut) cursorOut[0] = cursor[0], cursorOut[1] = cursor[1];
}

void QlPdfCompanyBlock(HPDF_Page page, float pageWidth, float margin, float top, float left, float *cursorOut,
                       const QlPrintStyleRec *style)
{
    CompanyLines(page, pageWidth, margin, top, left, 0, cursorOut, style);
}

void QlPdfRecipientBox(HWND form, HPDF_Page page, float bottom, float pageWidth, float margin, float left,
                       float *cursorOut)
{
    const float width = (pageWidth - 2 * margin) / 2;
    QlPdfRect(page, left, bottom, width, 70, 1);
    float cursor[2] = {left + 5, bottom + 70 - 15};
    char text[QL_PDF_TEXT_SIZE];
    HPDF_Page_BeginText(page);
    for (int id : recipientIds) {
        QlUiGetField(form, id, text, sizeof text);
        QlPdfTextLineClip(page, cursor, width - 5, 10, text);
    }
    HPDF_Page_EndText(page);
    if (cursorOut) cursorOut[0] = cursor[0], cursorOut[1] = cursor[1];
}

void QlPdfCompanyHeader(HWND form, HPDF_Page page, float pageWidth, float margin, float top, float left,
                        float *cursorOut, const QlPrintStyleRec *style)
{
    float cursor[2];
    CompanyLines(page, pageWidth, margin, top, left, 1, cursor, style);
    QlPdfRecipientBox(form, page, cursor[1] - 70, pageWidth, margin, left, cursorOut);
}
