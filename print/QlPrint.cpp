#include "QlPrint.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include "QlBarcode.h"
#include "ui/QlSeams.h"

// The document-number control of the document forms.
#define QL_IDC_DOC_NUMBER 1158

static const QlPrintStyleRec emptyStyle = {};

static const QlPrintStyleRec *StyleOrEmpty(const QlPrintStyleRec *style)
{
    return style ? style : &emptyStyle;
}

// ---------------------------------------------------------------------------
// Page geometry

void QlPrintCapsFromDc(HDC dc, QlPrintCaps *caps)
{
    caps->logPixelsX = GetDeviceCaps(dc, LOGPIXELSX);
    caps->logPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
    caps->physicalOffsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
    caps->physicalOffsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
    caps->physicalWidth = GetDeviceCaps(dc, PHYSICALWIDTH);
    caps->physicalHeight = GetDeviceCaps(dc, PHYSICALHEIGHT);
    caps->horzRes = GetDeviceCaps(dc, HORZRES);
    caps->vertRes = GetDeviceCaps(dc, VERTRES);
    caps->horzSize = GetDeviceCaps(dc, HORZSIZE);
    caps->vertSize = GetDeviceCaps(dc, VERTSIZE);
}

static int PixelsPerMm(int resolution, int millimetres, int perInch)
{
    int perMm = 0;
    if (millimetres > 0)
        perMm = resolution / millimetres;
    else if (perInch > 0)
        perMm = perInch * 10 / 254;
    return perMm > 0 ? perMm : 1;
}

void QlPrintPageFromCaps(const QlPrintCaps *caps, RECT *page, int *pxPerMmX, int *pxPerMmY)
{
    int width = caps->physicalWidth > 0 ? caps->physicalWidth : caps->horzRes;
    int height = caps->physicalHeight > 0 ? caps->physicalHeight : caps->vertRes;
    page->left = caps->logPixelsX - caps->physicalOffsetX;
    page->top = caps->logPixelsY - caps->physicalOffsetY;
    page->right = width - caps->logPixelsX - caps->physicalOffsetX;
    page->bottom = height - caps->logPixelsY - caps->physicalOffsetY;
    *pxPerMmX = PixelsPerMm(caps->horzRes, caps->horzSize, caps->logPixelsX);
    *pxPerMmY = PixelsPerMm(caps->vertRes, caps->vertSize, caps->logPixelsY);
}

static void FreeDialogBlocks(PRINTDLGA *pd)
{
    if (pd->hDevMode) GlobalFree(pd->hDevMode);
    if (pd->hDevNames) GlobalFree(pd->hDevNames);
    pd->hDevMode = NULL;
    pd->hDevNames = NULL;
}

int QlPrintSetup(HWND owner, PRINTDLGA *pd, DOCINFOA *doc, RECT *page, int *pxPerMmX, int *pxPerMmY)
{
    memset(pd, 0, sizeof *pd);
    pd->lStructSize = sizeof *pd;
    pd->hwndOwner = owner;
    pd->Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    pd->nCopies = 1;
    pd->nFromPage = 0xFFFF;
    pd->nToPage = 0xFFFF;
    pd->nMinPage = 1;
    pd->nMaxPage = 0xFFFF;

    BOOL chosen = QlSeamPrintDialog(pd);
    FreeDialogBlocks(pd);
    if (chosen != 1 || !pd->hDC) {
        if (pd->hDC) DeleteDC(pd->hDC);
        pd->hDC = NULL;
        return 0;
    }

    memset(doc, 0, sizeof *doc);
    doc->cbSize = sizeof *doc;
    doc->lpszDocName = "*";

    QlPrintCaps caps;
    QlPrintCapsFromDc(pd->hDC, &caps);
    QlPrintPageFromCaps(&caps, page, pxPerMmX, pxPerMmY);
    return 1;
}

// ---------------------------------------------------------------------------
// The harness

int QlPrintNextPage(QlPrintTarget *target)
{
    if (!target->nextPage || !target->nextPage(target)) return 0;
    target->pageCount++;
    return 1;
}

static int PrinterNextPage(QlPrintTarget *target)
{
    return EndPage(target->dc) > 0 && StartPage(target->dc) > 0;
}

int QlPrintDocument(HWND owner, QlPrintDrawFn draw, void *data)
{
    PRINTDLGA pd;
    DOCINFOA doc;
    QlPrintTarget target = {};
    if (!QlPrintSetup(owner, &pd, &doc, &target.page, &target.pxPerMmX, &target.pxPerMmY)) return 0;
    target.dc = pd.hDC;
    target.nextPage = PrinterNextPage;

    int printed = 0;
    if (StartDocA(target.dc, &doc) > 0) {
        if (StartPage(target.dc) > 0) {
            target.pageCount = 1;
            printed = draw(&target, data) && EndPage(target.dc) > 0;
        }
        if (printed)
            printed = EndDoc(target.dc) > 0;
        else
            AbortDoc(target.dc);
    }
    DeleteDC(pd.hDC);
    return printed;
}

// ---------------------------------------------------------------------------
// Text writers

static const char *TextOrEmpty(const char *text)
{
    return text ? text : "";
}

int QlPrintTextLine(HDC dc, POINT *pos, const SIZE *line, const char *text)
{
    text = TextOrEmpty(text);
    int y = pos->y;
    TextOutA(dc, pos->x, y, text, (int)strlen(text));
    pos->y += line->cy + 1;
    return y;
}

void QlPrintTextLineInRect(HDC dc, RECT *r, const SIZE *line, const char *text)
{
    text = TextOrEmpty(text);
    TextOutA(dc, r->left, r->top, text, (int)strlen(text));
    r->top += line->cy + 1;
    r->bottom = r->top + line->cy + 1;
}

void QlPrintTextRect(HDC dc, RECT *r, const SIZE *line, const char *text)
{
    text = TextOrEmpty(text);
    DrawTextA(dc, text, (int)strlen(text), r, DT_NOPREFIX);
    r->top += line->cy + 1;
    r->bottom = r->top + line->cy + 1;
}

int QlPrintTextLines(HDC dc, RECT *r, const SIZE *line, const char *const *lines, int count, int spacing)
{
    for (int i = 0; i < count; i++) {
        POINT pos = {r->left, r->top};
        QlPrintTextLine(dc, &pos, line, lines ? lines[i] : NULL);
        r->top = pos.y + spacing;
        r->bottom += line->cy + spacing + 1;
    }
    return count;
}

// ---------------------------------------------------------------------------
// Labels fitted to their place

namespace {

struct FitPlace {
    int length;
    int width, height;   // height 0: one line at a point, no height to keep
    UINT format;         // DrawTextA's format; 0 and height 0 for TextOutA
};

bool Fits(HDC dc, const char *text, const FitPlace &place)
{
    if (place.height == 0) {
        SIZE size = {0, 0};
        return GetTextExtentPoint32A(dc, text, place.length, &size) && size.cx <= place.width;
    }
    RECT calc = {0, 0, place.width, place.height};
    const UINT format = (place.format | DT_CALCRECT | DT_NOPREFIX) & ~(UINT)(DT_VCENTER | DT_BOTTOM);
    if (!DrawTextA(dc, text, place.length, &calc, format)) return false;
    return calc.right - calc.left <= place.width && calc.bottom - calc.top <= place.height;
}

// Selects the largest smaller size of the selected font in which the text
// fits its place (the smallest tried when none does) and returns it for the
// caller to delete; NULL when the text fits as it is or the font cannot be
// read.
HFONT SelectFittingFont(HDC dc, const char *text, const FitPlace &place)
{
    if (place.length <= 0 || place.width <= 0 || Fits(dc, text, place)) return NULL;
    HGDIOBJ selected = GetCurrentObject(dc, OBJ_FONT);
    LOGFONTA lf;
    TEXTMETRICA tm;
    if (!selected || GetObjectA(selected, sizeof lf, &lf) != sizeof lf || !GetTextMetricsA(dc, &tm)) return NULL;
    // lfHeight < 0 is the character height, > 0 the cell height; a font
    // of no height stands at its cell height.
    const int sign = lf.lfHeight < 0 ? -1 : 1;
    const int size = lf.lfHeight != 0 ? sign * lf.lfHeight : tm.tmHeight;
    const int width = lf.lfWidth;
    // Steps of 5 %, from the size the width alone would allow.
    int height = size;
    SIZE extent = {0, 0};
    if (GetTextExtentPoint32A(dc, text, place.length, &extent) && extent.cx > place.width && place.height == 0)
        height = (int)((long long)size * place.width / extent.cx) + 1;
    const int floor = size / 4 > 1 ? size / 4 : 1, step = size / 20 > 1 ? size / 20 : 1;
    HFONT font = NULL;
    for (height = height < size ? height : size - step; ; height -= step) {
        if (height < floor) height = floor;
        lf.lfHeight = sign * height;
        lf.lfWidth = (int)((long long)width * height / size);
        HFONT smaller = CreateFontIndirectA(&lf);
        if (!smaller) break;
        SelectObject(dc, smaller);
        if (font) DeleteObject(font);
        font = smaller;
        if (height == floor || Fits(dc, text, place)) break;
    }
    if (!font) SelectObject(dc, selected);
    return font;
}

void PutBack(HDC dc, HGDIOBJ selected, HFONT font)
{
    if (!font) return;
    SelectObject(dc, selected);
    DeleteObject(font);
}

}  // namespace

void QlPrintFitTextOut(HDC dc, int x, int y, const char *text, int width)
{
    text = TextOrEmpty(text);
    const FitPlace place = {(int)strlen(text), width, 0, 0};
    HGDIOBJ selected = GetCurrentObject(dc, OBJ_FONT);
    HFONT font = SelectFittingFont(dc, text, place);
    TextOutA(dc, x, y, text, place.length);
    PutBack(dc, selected, font);
}

int QlPrintFitDrawText(HDC dc, const char *text, RECT r, UINT format)
{
    text = TextOrEmpty(text);
    format |= DT_NOPREFIX;
    const int height = r.bottom - r.top;
    const FitPlace place = {(int)strlen(text), r.right - r.left, height > 0 ? height : 1, format};
    HGDIOBJ selected = GetCurrentObject(dc, OBJ_FONT);
    HFONT font = SelectFittingFont(dc, text, place);
    const int drawn = DrawTextA(dc, text, place.length, &r, format);
    PutBack(dc, selected, font);
    return drawn;
}

int QlPrintFitCellText(HDC dc, const char *text, RECT r, UINT format)
{
    text = TextOrEmpty(text);
    format |= DT_NOPREFIX;
    int height = 0;
    if (format & DT_WORDBREAK) {
        TEXTMETRICA tm;
        height = r.bottom - r.top;
        if (GetTextMetricsA(dc, &tm) && height < tm.tmHeight) height = tm.tmHeight;
        if (height <= 0) height = 1;
    }
    const FitPlace place = {(int)strlen(text), r.right - r.left, height, format};
    HGDIOBJ selected = GetCurrentObject(dc, OBJ_FONT);
    HFONT font = SelectFittingFont(dc, text, place);
    const int drawn = DrawTextA(dc, text, place.length, &r, format);
    PutBack(dc, selected, font);
    return drawn;
}

int QlPrintFitCellHeight(HDC dc, const char *text, int width, UINT format)
{
    text = TextOrEmpty(text);
    TEXTMETRICA tm;
    const int line = GetTextMetricsA(dc, &tm) ? tm.tmHeight : 0;
    if (!(format & DT_WORDBREAK) || !text[0] || width <= 0) return line;
    format = (format | DT_NOPREFIX | DT_CALCRECT) & ~(UINT)(DT_VCENTER | DT_BOTTOM);
    // As high as the page: only the width decides the size.
    const FitPlace place = {(int)strlen(text), width, 0x3fffffff, format};
    HGDIOBJ selected = GetCurrentObject(dc, OBJ_FONT);
    HFONT font = SelectFittingFont(dc, text, place);
    RECT calc = {0, 0, width, 0};
    DrawTextA(dc, text, place.length, &calc, format);
    PutBack(dc, selected, font);
    const int height = calc.bottom - calc.top;
    return height > line ? height : line;
}

// ---------------------------------------------------------------------------
// Company blocks

static int AddLine(char lines[][QL_COMPANY_LINE_SIZE], int count, const char *format, const char *a,
                   const char *b = NULL)
{
    snprintf(lines[count], QL_COMPANY_LINE_SIZE, format, a, b);
    return count + 1;
}

int QlPrintCompanyLines(const QlPrintStyleRec *style, int contact, char lines[][QL_COMPANY_LINE_SIZE])
{
    const QlPrintStyleRec *s = StyleOrEmpty(style);
    int n = 0;
    n = AddLine(lines, n, "%s", s->companyName);
    for (int i = 0; i < 3; i++) n = AddLine(lines, n, "%s", s->address[i]);
    if (s->printTaxNumber) n = AddLine(lines, n, "%s %s", s->taxNoLabel, s->taxNumber);
    if (s->printRegNumber && s->businessLabel[0] && s->businessNumber[0])
        n = AddLine(lines, n, "%s %s", s->businessLabel, s->businessNumber);
    if (!contact) return n;
    if (s->telephone[0]) n = AddLine(lines, n, "Tel: %s", s->telephone);
    if (s->email[0]) n = AddLine(lines, n, "%s", s->email);
    if (s->webAddress[0]) n = AddLine(lines, n, "%s", s->webAddress);
    return n;
}

RECT QlPrintCompanyHeaderColumn(const RECT *area)
{
    RECT column = *area;
    column.right = area->left + (area->right - area->left) * 37 / 100;
    return column;
}

void QlPrintCompanyHeader(HDC dc, RECT area, RECT *out, SIZE line, const QlPrintStyleRec *style)
{
    char lines[QL_COMPANY_LINE_MAX][QL_COMPANY_LINE_SIZE];
    int count = QlPrintCompanyLines(style, 1, lines);
    *out = QlPrintCompanyHeaderColumn(&area);
    for (int i = 0; i < count; i++) QlPrintTextRect(dc, out, &line, lines[i]);
}

int QlPrintCompanyBlockRight(HDC dc, const RECT *area, const QlPrintStyleRec *style)
{
    const QlPrintStyleRec *s = StyleOrEmpty(style);
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
    lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&lf);
    if (!font) return 0;
    HGDIOBJ previous = SelectObject(dc, font);

    SIZE extent = {};
    GetTextExtentPoint32A(dc, "*", 1, &extent);
    const int h = extent.cy;

    char lines[5][QL_COMPANY_LINE_SIZE];
    int count = 0;
    count = AddLine(lines, count, "%s", s->companyName);
    for (int i = 0; i < 3; i++) count = AddLine(lines, count, "%s", s->address[i]);
    if (s->taxNumber[0]) count = AddLine(lines, count, "%s %s", s->taxNoLabel, s->taxNumber);

    RECT r = {area->left + (area->right - area->left) / 2 + h, 0, area->right, area->top + 200};
    for (int i = 0; i < count; i++) {
        DrawTextA(dc, lines[i], (int)strlen(lines[i]), &r, DT_RIGHT | DT_NOPREFIX);
        r.top += h + 1;
        r.bottom = r.top + h + 1;
    }

    if (previous) SelectObject(dc, previous);
    DeleteObject(font);
    return 1;
}

// ---------------------------------------------------------------------------
// The document barcode

int QlPrintDocBarcodeLeft(int left, int right, int pxPerMmX, int *width)
{
    // 37.3126 mm is the nominal UPC-A width of 1.469 inches.
    const int w = (int)(1.2f * 37.3126f * (float)pxPerMmX);
    if (width) *width = w;
    return left + (right - left) / 2 - w / 2;
}

void QlPrintDocBarcodeText(const char *number, char *text)
{
    // The transactions window reads the five digits after the prefix as the
    // number: a shorter number is padded with zeros to five digits, so that
    // the symbol holds eleven digits and a scan finds the document again.
    const char *digits = TextOrEmpty(number);
    size_t length = strlen(digits);
    if (length > 0 && length < 5 && strspn(digits, "0123456789") == length)
        snprintf(text, 20, "400000%.*s%s", (int)(5 - length), "0000", digits);
    else
        snprintf(text, 20, "400000%s", digits);
}

int QlPrintDocBarcodeNumber(HDC dc, const char *number, int left, int y, int right, int pxPerMmX, int pxPerMmY)
{
    char text[20];
    QlPrintDocBarcodeText(number, text);
    int x = QlPrintDocBarcodeLeft(left, right, pxPerMmX, NULL);
    return QlBarcodeDrawUpcA(dc, (HBRUSH)(COLOR_WINDOWFRAME + 1), x, y, pxPerMmX, pxPerMmY, 1.2f, 0, 1, text, 0,
                             NULL);
}

int QlPrintDocBarcode(HWND form, HDC dc, int left, int y, int right, int ignored, int pxPerMmX, int pxPerMmY)
{
    char number[80] = "";
    GetDlgItemTextA(form, QL_IDC_DOC_NUMBER, number, sizeof number);
    return QlPrintDocBarcodeNumber(dc, number, left, y, right, pxPerMmX, pxPerMmY);
}

void QlDrawLine(HDC dc, int x1, int y1, int x2, int y2)
{
    POINT points[2] = {{x1, y1}, {x2, y2}};
    Polyline(dc, points, 2);
}

// ---------------------------------------------------------------------------
// Case copies

void QlStrUpper(const char *src, char *dst)
{
    for (int i = 0; src[i]; i++) dst[i] = (char)toupper((unsigned char)src[i]);
}

void QlStrUpperN(const char *src, char *dst, int n)
{
    for (int i = 0; i < n && src[i]; i++) dst[i] = (char)toupper((unsigned char)src[i]);
}

char *QlStrLowerTail(const char *src)
{
    static char buffer[81];
    memset(buffer, 0, sizeof buffer);
    if (!src || !src[0]) return buffer;
    buffer[0] = src[0];
    for (int i = 1; i < 80 && src[i]; i++) buffer[i] = (char)tolower((unsigned char)src[i]);
    return buffer;
}
