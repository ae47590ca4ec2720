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

// The digit font of a symbol: "Arial" of 8 pt x mag, truncated.
static HFONT DigitFont(HDC dc, float mag)
{
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv((int)(8 * mag), GetDeviceCaps(dc, LOGPIXELSY), 72);
    lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    return CreateFontIndirectA(&lf);
}

static void FillBars(HDC dc, HBRUSH bar, const char *modules, int x0, int y, QlBarcodeSize size, int digitHeight,
                     const int shortRanges[2][2])
{
    for (int i = 0; modules[i]; i++) {
        if (modules[i] != '1') continue;
        int bottom = size.bottom;
        for (int k = 0; k < 2; k++)
            if (i >= shortRanges[k][0] && i <= shortRanges[k][1]) bottom -= digitHeight;
        RECT r = {x0 + i * size.module, y, x0 + (i + 1) * size.module, bottom};
        FillRect(dc, &r, bar);
    }
}

// Draws a group of digits from left on the digit row, as wide as its text.
static void DrawDigits(HDC dc, const char *text, int count, int left, int top, int bottom)
{
    int n = (int)strnlen(text, (size_t)count);
    if (n == 0) return;
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, n, &extent);
    RECT r = {left, top, left + extent.cx, bottom};
    DrawTextA(dc, text, n, &r, 0);
}

// The digit font, when asked for, selected; *previous holds what it replaced.
static int BeginDigits(HDC dc, int printDigits, float mag, HFONT *font, HGDIOBJ *previous)
{
    *font = NULL;
    *previous = NULL;
    if (!printDigits) return 1;
    *font = DigitFont(dc, mag);
    if (!*font) return 0;
    *previous = SelectObject(dc, *font);
    return 1;
}

static void EndDigits(HDC dc, HFONT font, HGDIOBJ previous)
{
    if (!font) return;
    if (previous) SelectObject(dc, previous);
    DeleteObject(font);
}

int QlBarcodeDrawUpcA(HDC dc, HBRUSH bar, int x, int y, int pxPerMmX, int pxPerMmY, float mag, int printDigits,
                      int halfHeight, const char *text, int shiftFirst, const RECT *fit)
{
    char modules[QL_BARCODE_MODULES_SIZE];
    if (!QlBarcodeUpcModules(text, modules)) return 0;
    char digits[12], check[2] = {0, 0};
    Head(text, 11, digits);
    check[0] = QlBarcodeUpcCheckDigit(digits);
    if (fit) mag = 1, pxPerMmX = pxPerMmY = 1;
    QlBarcodeSize size = QlBarcodeUpcSize(y, pxPerMmX, pxPerMmY, mag, halfHeight, fit);

    HFONT font;
    HGDIOBJ previous;
    if (!BeginDigits(dc, printDigits, mag, &font, &previous)) return 0;
    SIZE digit = {};
    GetTextExtentPoint32A(dc, check, 1, &digit);
    const int x0 = x + (shiftFirst ? digit.cx : 0);

    const int shortRanges[2][2] = {{20, 55}, {60, 94}};
    FillBars(dc, bar, modules, x0, y, size, printDigits ? digit.cy : 0, shortRanges);

    if (printDigits) {
        const int top = size.bottom - digit.cy + 5, bottom = size.bottom + 5;
        RECT first = {x0 - digit.cx, top, x0, bottom};
        DrawTextA(dc, digits, 1, &first, 0);
        DrawDigits(dc, digits + Tail(digits, 1), 5, x0 + 22 * size.module, top, bottom);
        DrawDigits(dc, digits + Tail(digits, 6), 5, x0 + 62 * size.module, top, bottom);
        DrawDigits(dc, check, 1, x0 + 114 * size.module, top, bottom);
    }
    EndDigits(dc, font, previous);
    return 1;
}

int QlBarcodeDrawEan13(HDC dc, HBRUSH bar, int x, int y, int pxPerMmX, int pxPerMmY, float mag, int printDigits,
                       int halfHeight, const char *text, const RECT *fit)
{
    char modules[QL_BARCODE_MODULES_SIZE];
    if (!QlBarcodeEanModules(text, modules)) return 0;
    char digits[13], check[2] = {0, 0};
    Head(text, 12, digits);
    check[0] = QlBarcodeEanCheckDigit(digits);
    if (fit) mag = 1, pxPerMmX = pxPerMmY = 1;
    float moduleReal = 1;
    QlBarcodeSize size = QlBarcodeEanSize(y, pxPerMmX, pxPerMmY, mag, halfHeight, fit, &moduleReal);

    HFONT font;
    HGDIOBJ previous;
    if (!BeginDigits(dc, printDigits, mag, &font, &previous)) return 0;
    SIZE digit = {};
    GetTextExtentPoint32A(dc, check, 1, &digit);
    const int x0 = x + digit.cx;   // the first digit always stands left of the symbol

    const int shortRanges[2][2] = {{13, 54}, {58, 100}};
    FillBars(dc, bar, modules, x0, y, size, printDigits ? digit.cy : 0, shortRanges);

    if (printDigits) {
        const int top = size.bottom - digit.cy + 5, bottom = size.bottom + 5;
        RECT first = {x0 - digit.cx, top, x0, bottom};
        DrawTextA(dc, digits, 1, &first, 0);
        DrawDigits(dc, digits + Tail(digits, 1), 6, (int)(x0 + 15 * moduleReal), top, bottom);
        char right[8] = "";
        Head(digits + Tail(digits, 7), 5, right);
        strcat(right, check);
        DrawDigits(dc, right, 6, (int)(x0 + 60 * moduleReal), top, bottom);
    }
    EndDigits(dc, font, previous);
    return 1;
}
