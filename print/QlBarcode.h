// UPC-A and EAN-13 barcode symbols drawn with GDI on any device context:
// check digits, module strings and the two drawing routines.
//
// A module string has one character per module, '1' a bar and '0' a space.
// Texts are digit strings; a text holding anything else (or nothing) is
// refused: no module string is built and nothing is drawn.
#pragma once

#include <windows.h>

// The buffer a module string is built in.
#define QL_BARCODE_MODULES_SIZE 256

// The standard digit patterns: L (odd parity), G (even parity) and R sets.
extern const char QlBarcodeTableL[10][8];
extern const char QlBarcodeTableG[10][8];
extern const char QlBarcodeTableR[10][8];

// 1 when the text is one or more of the digits 0-9 and nothing else.
int QlBarcodeIsDigits(const char *text);

// Check digits over every character of the text, as a character '0'..'9':
// UPC-A weighs the 1st, 3rd, ... digit 3 and the others 1; EAN-13 the other
// way round.  0 (no character) for a text holding anything but digits; an
// empty text gives '0'.
char QlBarcodeUpcCheckDigit(const char *digits);
char QlBarcodeEanCheckDigit(const char *digits);

// Appends the 7-module pattern of each digit of the text from the table at
// out (terminated).  The number of modules appended; 0 for a non-digit text.
int QlBarcodeEncodeDigits(const char *digits, const char (*table)[8], char *out);
// seven: the first digit and up to six left-half digits; appends each left
// digit from the L or the G table as the first digit's parity says.  The
// number of modules appended; 0 for a non-digit text.
int QlBarcodeEncodeEanLeft(const char *seven, char *out, const char (*tableL)[8], const char (*tableG)[8]);

// The whole symbols into out (QL_BARCODE_MODULES_SIZE bytes), returning the
// module count (0 when refused).  UPC-A: ten quiet modules, "101", the first
// digit and digits 2-6 in L, "01010", digits 7-11 and the check digit of the
// first 11 in R, "101", ten quiet modules: 115 modules for 11 digits; a
// shorter text gives a shorter right half.  EAN-13: nine quiet modules,
// "101", digits 2-7 in L/G by the first digit, "01010", digits 8-12 and the
// check digit of the first 12 in R, "101", nine quiet modules: 113 modules.
// Characters after the 11th (12th) are ignored.
int QlBarcodeUpcModules(const char *text, char *out);
int QlBarcodeEanModules(const char *text, char *out);

// How big a symbol is drawn: the width of one module in device units (at
// least 1) and the bars' bottom y.
struct QlBarcodeSize {
    int module;
    int bottom;
};
// UPC-A: 1.469 x 1.02 inches times mag, halved in height with halfHeight;
// with fit, fit->right / 113 per module and fit->bottom high (halved too).
QlBarcodeSize QlBarcodeUpcSize(int y, int pxPerMmX, int pxPerMmY, float mag, int halfHeight, const RECT *fit);
// EAN-13: 37.29 x 25.93 mm times mag, halved in height with halfHeight;
// with fit, fit->right / 113 per module and fit->bottom high (not halved).
// *moduleReal receives the unrounded module width the digits are placed by.
QlBarcodeSize QlBarcodeEanSize(int y, int pxPerMmX, int pxPerMmY, float mag, int halfHeight, const RECT *fit,
                               float *moduleReal);

// Draw a symbol with its quiet zone's top-left corner at (x, y), every bar
// filled with bar (a brush or a system colour index + 1).  printDigits
// writes the digits under the bars in "Arial" of 8 pt x mag (the bars
// above them are shortened), the first digit left of the symbol; UPC-A's
// shiftFirst moves the symbol right by one digit's width, which EAN-13 always
// does.  1 when drawn, 0 when the text was refused.
int QlBarcodeDrawUpcA(HDC dc, HBRUSH bar, int x, int y, int pxPerMmX, int pxPerMmY, float mag, int printDigits,
                      int halfHeight, const char *text, int shiftFirst, const RECT *fit);
int QlBarcodeDrawEan13(HDC dc, HBRUSH bar, int x, int y, int pxPerMmX, int pxPerMmY, float mag, int printDigits,
                       int halfHeight, const char *text, const RECT *fit);
