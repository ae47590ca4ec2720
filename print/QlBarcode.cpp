#include "QlBarcode.h"

#include <string.h>

const char QlBarcodeTableL[10][8] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                     "0110001", "0101111", "0111011", "0110111", "0001011"};
const char QlBarcodeTableG[10][8] = {"0100111", "0110011", "0011011", "0100001", "0011101",
                                     "0111001", "0000101", "0010001", "0001001", "0010111"};
const char QlBarcodeTableR[10][8] = {"1110010", "1100110", "1101100", "1000010", "1011100",
                                     "1001110", "1010000", "1000100", "1001000", "1110100"};

// The L/G choice of the six left-half digits of EAN-13, by the first digit.
static const char eanParity[10][7] = {"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
                                      "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"};

static const char upcQuietZone[] = "0000000000";
static const char eanQuietZone[] = "000000000";
static const char sideGuard[] = "101";
static const char centreGuard[] = "01010";

// Nominal sizes: UPC-A in inches, EAN-13 in millimetres; both 113 modules wide.
static const double upcWidthInches = 1.469, upcHeightInches = 1.02;
static const double eanWidthMm = 37.29, eanHeightMm = 25.93;
static const int nominalModules = 113;

int QlBarcodeIsDigits(const char *text)
{
    if (!text || !text[0]) return 0;
    for (const char *p = text; *p; p++)
        if (*p < '0' || *p > '9') return 0;
    return 1;
}

static char CheckDigit(const char *digits, int oddWeight, int evenWeight)
{
    if (!digits || (digits[0] && !QlBarcodeIsDigits(digits))) return 0;
    int sum = 0;
    for (int i = 0; digits[i]; i++) sum += (digits[i] - '0') * (i % 2 == 0 ? oddWeight : evenWeight);
    return (char)('0' + (10 - sum % 10) % 10);
}

char QlBarcodeUpcCheckDigit(const char *digits)
{
    return CheckDigit(digits, 3, 1);
}

char QlBarcodeEanCheckDigit(const char *digits)
{
    return CheckDigit(digits, 1, 3);
}

// Appends the patterns of at most count digits of the text; the modules appended.
static int AppendDigits(const char *digits, int count, const char (*table)[8], char *out)
{
    char *end = out + strlen(out);
    int modules = 0;
    for (int i = 0; i < count && digits[i]; i++) {
        memcpy(end + modules, table[digits[i] - '0'], 7);
        modules += 7;
    }
    end[modules] = '\0';
    return modules;
}

int QlBarcodeEncodeDigits(const char *digits, const char (*table)[8], char *out)
{
    if (!QlBarcodeIsDigits(digits)) return 0;
    return AppendDigits(digits, (int)strlen(digits), table, out);
}

int QlBarcodeEncodeEanLeft(const char *seven, char *out, const char (*tableL)[8], const char (*tableG)[8])
{
    if (!QlBarcodeIsDigits(seven)) return 0;
    const char *parity = eanParity[seven[0] - '0'];
    int modules = 0;
    for (int i = 1; i < 7 && seven[i]; i++)
        modules += AppendDigits(seven + i, 1, parity[i - 1] == 'G' ? tableG : tableL, out);
    return modules;
}

// The first count characters of text (fewer when it ends sooner), terminated.
static void Head(const char *text, int count, char *out)
{
    int n = (int)strnlen(text, (size_t)count);
    memcpy(out, text, (size_t)n);
    out[n] = '\0';
}

static int Tail(const char *text, int from)
{
    return (int)strlen(text) > from ? from : (int)strlen(text);
}

int QlBarcodeUpcModules(const char *text, char *out)
{
    out[0] = '\0';
    if (!QlBarcodeIsDigits(text)) return 0;
    char digits[12], check[2] = {0, 0};
    Head(text, 11, digits);
    check[0] = QlBarcodeUpcCheckDigit(digits);

    strcpy(out, upcQuietZone);
    strcat(out, sideGuard);
    AppendDigits(digits, 6, QlBarcodeTableL, out);
    strcat(out, centreGuard);
    AppendDigits(digits + Tail(digits, 6), 5, QlBarcodeTableR, out);
    AppendDigits(check, 1, QlBarcodeTableR, out);
    strcat(out, sideGuard);
    strcat(out, upcQuietZone);
    return (int)strlen(out);
}

int QlBarcodeEanModules(const char *text, char *out)
{
    out[0] = '\0';
    if (!QlBarcodeIsDigits(text)) return 0;
    char digits[13], seven[8], check[2] = {0, 0};
    Head(text, 12, digits);
    Head(digits, 7, seven);
    check[0] = QlBarcodeEanCheckDigit(digits);

    strcpy(out, eanQuietZone);
    strcat(out, sideGuard);
    QlBarcodeEncodeEanLeft(seven, out, QlBarcodeTableL, QlBarcodeTableG);
    strcat(out, centreGuard);
    AppendDigits(digits + Tail(digits, 7), 5, QlBarcodeTableR, out);
    AppendDigits(check, 1, QlBarcodeTableR, out);
    strcat(out, sideGuard);
    strcat(out, eanQuietZone);
    return (int)strlen(out);
}

QlBarcodeSize QlBarcodeUpcSize(int y, int pxPerMmX, int pxPerMmY, float mag, int halfHeight, const RECT *fit)
{
    QlBarcodeSize size;
    if (fit) {
        double height = halfHeight ? fit->bottom / 2.0 : fit->bottom;
        size.module = fit->right / nominalModules;
        size.bottom = y + (int)height;
    } else {
        double height = halfHeight ? upcHeightInches / 2 : upcHeightInches;
        size.module = (int)(pxPerMmX * upcWidthInches * 25.4 * mag / nominalModules);
        size.bottom = y + (int)(pxPerMmY * height * 25.4 * mag);
    }
    // A module narrower than a device unit would draw nothing at all.
    if (size.module < 1) size.module = 1;
    return size;
}

QlBarcodeSize QlBarcodeEanSize(int y, int pxPerMmX, int pxPerMmY, float mag, int halfHeight, const RECT *fit,
                               float *moduleReal)
{
    QlBarcodeSize size;
    double module;
    if (fit) {
        module = (double)fit->right / nominalModules;
        size.bottom = y + fit->bottom;
    } else {
        double height = halfHeight ? eanHeightMm / 2 : eanHeightMm;
        module = pxPerMmX * eanWidthMm * mag / nominalModules;
        size.bottom = y + (int)(pxPerMmY * height * mag);
    }
    if (module < 1) module = 1;
    size.module = (int)module;
    if (moduleReal) *moduleReal = (float)module;
    return size;
}

// Draws a group of digits from left on the digit row, as wide as its text.
static void DrawDigits(HDC dc, const char *text, int left, int top, int bottom)
{
    int n = (int)strlen(text);
    if (n == 0) return;
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, n, &extent);
    RECT r = {left, top, left + extent.cx, bottom};
    DrawTextA(dc, text, n, &r, 0);
}

// What tells the two symbologies' drawings apart.
struct SymbolLayout {
    char first[2];              // the first digit, drawn left of the symbol
    char check[2];
    struct {
        char text[8];
        float atModule;         // where the group starts, in modules from x0
    } groups[3];                // the digits under the bars
    int shortRanges[2][2];      // modules whose bars make room for the digits
    QlBarcodeSize size;
    float moduleReal;
    int shiftFirst;             // the symbol moves right by one digit
};

// The digit font, when asked for, then the bars and the digits; the font is
// restored and deleted.  0 when the font could not be made (nothing drawn).
static int DrawSymbol(HDC dc, HBRUSH bar, int x, int y, float mag, int printDigits, const char *modules,
                      const SymbolLayout &layout)
{
    HFONT font = NULL;
    HGDIOBJ previous = NULL;
    if (printDigits) {
        LOGFONTA lf = {};
        lf.lfHeight = -MulDiv((int)(8 * mag), GetDeviceCaps(dc, LOGPIXELSY), 72);
        lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
        font = CreateFontIndirectA(&lf);
        if (!font) return 0;
        previous = SelectObject(dc, font);
    }
    SIZE digit = {};
    GetTextExtentPoint32A(dc, layout.check, 1, &digit);
    const int x0 = x + (layout.shiftFirst ? digit.cx : 0);
    const QlBarcodeSize &size = layout.size;

    for (int i = 0; modules[i]; i++) {
        if (modules[i] != '1') continue;
        int bottom = size.bottom;
        for (const auto &range : layout.shortRanges)
            if (printDigits && i >= range[0] && i <= range[1]) bottom -= digit.cy;
        RECT r = {x0 + i * size.module, y, x0 + (i + 1) * size.module, bottom};
        FillRect(dc, &r, bar);
    }

    if (printDigits) {
        const int top = size.bottom - digit.cy + 5, bottom = size.bottom + 5;
        RECT first = {x0 - digit.cx, top, x0, bottom};
        DrawTextA(dc, layout.first, (int)strlen(layout.first), &first, 0);
        for (const auto &group : layout.groups)
            DrawDigits(dc, group.text, (int)(x0 + group.atModule * layout.moduleReal), top, bottom);
        if (previous) SelectObject(dc, previous);
        DeleteObject(font);
    }
    return 1;
}

// Fills a group with up to count characters of text from index from.
static void Group(SymbolLayout *layout, int index, const char *text, int from, int count, float atModule)
{
    Head(text + Tail(text, from), count, layout->groups[index].text);
    layout->groups[index].atModule = atModule;
}

int QlBarcodeDrawUpcA(HDC dc, HBRUSH bar, int x, int y, int pxPerMmX, int pxPerMmY, float mag, int printDigits,
                      int halfHeight, const char *text, int shiftFirst, const RECT *fit)
{
    char modules[QL_BARCODE_MODULES_SIZE];
    if (!QlBarcodeUpcModules(text, modules)) return 0;
    char digits[12];
    Head(text, 11, digits);
    if (fit) mag = 1, pxPerMmX = pxPerMmY = 1;

    SymbolLayout layout = {};
    Head(digits, 1, layout.first);
    layout.check[0] = QlBarcodeUpcCheckDigit(digits);
    Group(&layout, 0, digits, 1, 5, 22);
    Group(&layout, 1, digits, 6, 5, 62);
    Group(&layout, 2, layout.check, 0, 1, 114);
    layout.shortRanges[0][0] = 20, layout.shortRanges[0][1] = 55;
    layout.shortRanges[1][0] = 60, layout.shortRanges[1][1] = 94;
    layout.size = QlBarcodeUpcSize(y, pxPerMmX, pxPerMmY, mag, halfHeight, fit);
    layout.moduleReal = (float)layout.size.module;
    layout.shiftFirst = shiftFirst;
    return DrawSymbol(dc, bar, x, y, mag, printDigits, modules, layout);
}

int QlBarcodeDrawEan13(HDC dc, HBRUSH bar, int x, int y, int pxPerMmX, int pxPerMmY, float mag, int printDigits,
                       int halfHeight, const char *text, const RECT *fit)
{
    char modules[QL_BARCODE_MODULES_SIZE];
    if (!QlBarcodeEanModules(text, modules)) return 0;
    char digits[13];
    Head(text, 12, digits);
    if (fit) mag = 1, pxPerMmX = pxPerMmY = 1;

    SymbolLayout layout = {};
    Head(digits, 1, layout.first);
    layout.check[0] = QlBarcodeEanCheckDigit(digits);
    Group(&layout, 0, digits, 1, 6, 15);
    Group(&layout, 1, digits, 7, 5, 60);   // digits 8-12 and the check digit after them
    char *right = layout.groups[1].text;
    size_t n = strlen(right);
    right[n] = layout.check[0];
    right[n + 1] = '\0';
    layout.shortRanges[0][0] = 13, layout.shortRanges[0][1] = 54;
    layout.shortRanges[1][0] = 58, layout.shortRanges[1][1] = 100;
    layout.size = QlBarcodeEanSize(y, pxPerMmX, pxPerMmY, mag, halfHeight, fit, &layout.moduleReal);
    layout.shiftFirst = 1;   // the first digit always stands left of the symbol
    return DrawSymbol(dc, bar, x, y, mag, printDigits, modules, layout);
}
