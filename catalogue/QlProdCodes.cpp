// Product codes and barcodes: the code panel of the new-product dialog
// (UPC-A and in-store EAN-13 codes with the first free product code), the
// barcode check on Enter, the short codes, the live preview of the symbol
// and its printing.
//
// Free numbers are found from one read of the enabled products (the codes
// in use marked in a table), not by one look-up per candidate.

#include "catalogue/QlCatTexts.h"
#include "catalogue/QlProducts.h"

#include "print/QlBarcode.h"
#include "ui/QlMsgDialog.h"
#include "print/QlPrint.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "resources/QlResCatalogue.h"
#include "settings/QlSettings.h"

#include <mmsystem.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

const char *const QlProdCodeTypeNames[3] = {"UPC-A", "EAN13", NULL};
const char *const QlProdBarcodeScales[14] = {"0.8", "0.9", "1.0", "1.1", "1.2", "1.3", "1.4",
                                             "1.5", "1.6", "1.7", "1.8", "1.9", "2.0", NULL};

#define PRODUCT_CODE_LENGTH 5
#define PRODUCT_CODE_END 99999     // product codes run from 1 while below this
#define SHORT_CODE_LAST 0xFFFE
#define EAN_PREFIX "2000000"
#define PREVIEW_DIGIT_DROP 6       // how far the symbol's digits reach below its bars' area

static int sSeeded;

static void Refuse(HWND dialog, const char *caption, const char *text)
{
    QlMsgBox(dialog, caption, text, QL_COLOUR_WARNING);
}

void QlProdReadBarcode(HWND dialog, char *text, int maxLength)
{
    text[0] = '\0';
    GetDlgItemTextA(dialog, IDE_PROD_BARCODE, text, maxLength + 1);
    text[strcspn(text, "\r\n")] = '\0';
}

void QlProdScanSound(const char *file)
{
    if (QlSettings.cfg.scanSounds) QlSeamPlaySound(file, NULL, SND_FILENAME | SND_ASYNC);
}

// ---------------------------------------------------------------------------
// Numbers in use

// One read of a column of the enabled products; each row marks what it uses.
static unsigned char *sUsed;
static const char *sUsedPrefix;
static int sUsedEan;

int QlProdMarkCodeUsed(unsigned char *used, size_t count, const char *prefix, int ean, const char *barcode)
{
    size_t length = strlen(prefix);
    if (length > 7 || strlen(barcode) != length + PRODUCT_CODE_LENGTH + 1 || strncmp(barcode, prefix, length) != 0 ||
        !QlBarcodeIsDigits(barcode))
        return 0;
    char body[16];
    memcpy(body, barcode, length + PRODUCT_CODE_LENGTH);
    body[length + PRODUCT_CODE_LENGTH] = '\0';
    char check = ean ? QlBarcodeEanCheckDigit(body) : QlBarcodeUpcCheckDigit(body);
    if (barcode[length + PRODUCT_CODE_LENGTH] != check) return 0;
    // Five digits reach 99999, one past the numbers the generator gives.
    size_t number = (size_t)atoi(body + length);
    if (number >= count) return 0;
    used[number] = 1;
    return 1;
}

static int MarkProductCodeCb(const QlProdRec *rec)
{
    QlProdMarkCodeUsed(sUsed, PRODUCT_CODE_END, sUsedPrefix, sUsedEan, rec->barcode);
    return 0;
}

static int MarkShortCodeCb(const QlProdRec *rec)
{
    const char *code = rec->scode;
    if (strlen(code) != 4 || strspn(code, "0123456789ABCDEF") != 4) return 0;
    sUsed[strtol(code, NULL, 16)] = 1;
    return 0;
}

// The code of prefix + product digits + check digit into code.
static void ComposeCode(const char *prefix, const char *product, int ean, char *code, size_t size)
{
    char body[16];
    snprintf(body, sizeof body, "%s%s", prefix, product);
    snprintf(code, size, "%s%c", body, ean ? QlBarcodeEanCheckDigit(body) : QlBarcodeUpcCheckDigit(body));
}

int QlProdBuildCode(const char *prefix, const char *productCode, int ean, char *code, size_t codeSize,
                    char *productOut)
{
    char err[QL_DB_ERR_SIZE];
    QlProdRec found;
    if (productCode[0]) {
        ComposeCode(prefix, productCode, ean, code, codeSize);
        if (QlProdFind("barcode", code, &found, err)) return QL_CODE_TAKEN;
        snprintf(productOut, PRODUCT_CODE_LENGTH + 1, "%s", productCode);
        return QL_CODE_MADE;
    }
    sUsed = (unsigned char *)calloc(PRODUCT_CODE_END, 1);
    if (!sUsed) return QL_CODE_FULL;
    sUsedPrefix = prefix;
    sUsedEan = ean;
    QlProdEnumSql(MarkProductCodeCb, "select barcode from products where enabled='yes'", err);
    int n = 1;
    while (n < PRODUCT_CODE_END && sUsed[n]) n++;
    free(sUsed);
    sUsed = NULL;
    if (n >= PRODUCT_CODE_END) return QL_CODE_FULL;
    char product[16];
    snprintf(product, sizeof product, "%05u", (unsigned)n);
    ComposeCode(prefix, product, ean, code, codeSize);
    memcpy(productOut, product, PRODUCT_CODE_LENGTH + 1);
    return QL_CODE_MADE;
}

int QlProdNextShortCode(QlProdRec *rec)
{
    sUsed = (unsigned char *)calloc(SHORT_CODE_LAST + 2, 1);
    if (!sUsed) return 0;
    char err[QL_DB_ERR_SIZE];
    QlProdEnumSql(MarkShortCodeCb, "select scode from products where enabled='yes'", err);
    int n = 1;
    while (n <= SHORT_CODE_LAST && sUsed[n]) n++;
    free(sUsed);
    sUsed = NULL;
    if (n > SHORT_CODE_LAST) return 0;
    snprintf(rec->scode, sizeof rec->scode, "%04X", (unsigned)n);
    return 1;
}

int QlProdRandomMfrCode(void)
{
    if (!sSeeded) {
        srand((unsigned)time(NULL));
        sSeeded = 1;
    }
    // Fifteen bits of each draw, whatever the width of the library's rand,
    // so that every proposal has five digits.
    for (int counter = 11111; counter < PRODUCT_CODE_END; counter++) {
        int value = (rand() & 0x7FFF) % PRODUCT_CODE_END + 11111;
        char text[16];
        snprintf(text, sizeof text, "%d", value);
        if (!QlProdMemHasBarcode(text + 1, PRODUCT_CODE_LENGTH)) return value;
    }
    return 11111;
}

// ---------------------------------------------------------------------------
// The code panel

static int IsDigitsOfLength(const char *text, size_t length)
{
    return strlen(text) == length && QlBarcodeIsDigits(text);
}

// Builds the code of the prefix and writes it into the dialog; the messages
// of the panel otherwise.
static void MakeCode(HWND dialog, const char *prefix, int ean)
{
    const QlCatTextRec *text = QlCatText();
    char product[PRODUCT_CODE_LENGTH + 1];
    GetDlgItemTextA(dialog, IDE_PROD_PRODUCT_CODE, product, sizeof product);
    if (product[0] && !IsDigitsOfLength(product, PRODUCT_CODE_LENGTH)) {
        Refuse(dialog, text->CannotGenerate, text->ProductCodeLength);
        return;
    }
    char code[32], productOut[PRODUCT_CODE_LENGTH + 1] = "";
    int result = QlProdBuildCode(prefix, product, ean, code, sizeof code, productOut);
    if (result == QL_CODE_TAKEN) {
        char message[200];
        snprintf(message, sizeof message, text->ProductCodeTaken, product);
        Refuse(dialog, text->CannotGenerate, message);
        return;
    }
    if (result == QL_CODE_FULL) {
        Refuse(dialog, text->CannotGenerate, text->MaxCodes);
        return;
    }
    SetDlgItemTextA(dialog, IDE_PROD_PRODUCT_CODE, productOut);
    SetDlgItemTextA(dialog, IDE_PROD_BARCODE, code);
    QlProdCheckBarcode(dialog);
}

void QlProdMakeUpcA(HWND dialog)
{
    const QlCatTextRec *text = QlCatText();
    char type[2], mfr[PRODUCT_CODE_LENGTH + 2];
    GetDlgItemTextA(dialog, IDE_PROD_TYPE_DIGIT, type, sizeof type);
    if (!IsDigitsOfLength(type, 1)) {
        Refuse(dialog, text->CannotGenerate, text->NoTypeDigit);
        return;
    }
    GetDlgItemTextA(dialog, IDE_PROD_MFR_CODE, mfr, sizeof mfr);
    if (!IsDigitsOfLength(mfr, PRODUCT_CODE_LENGTH)) {
        Refuse(dialog, text->CannotGenerate, text->MfrLength);
        return;
    }
    char prefix[8];
    snprintf(prefix, sizeof prefix, "%s%s", type, mfr);
    MakeCode(dialog, prefix, 0);
}

void QlProdMakeEan13(HWND dialog)
{
    MakeCode(dialog, EAN_PREFIX, 1);
}

void QlProdMakeCode(HWND dialog)
{
    switch (SendDlgItemMessageA(dialog, IDC_PROD_CODE_TYPE, CB_GETCURSEL, 0, 0)) {
    case 0: QlProdMakeUpcA(dialog); return;
    case 1: QlProdMakeEan13(dialog); return;
    }
}

void QlProdCodeTypeChanged(HWND dialog)
{
    LRESULT selection = SendDlgItemMessageA(dialog, IDC_PROD_CODE_TYPE, CB_GETCURSEL, 0, 0);
    if (selection != 0 && selection != 1) return;
    EnableWindow(GetDlgItem(dialog, IDE_PROD_TYPE_DIGIT), selection == 0);
    EnableWindow(GetDlgItem(dialog, IDE_PROD_MFR_CODE), selection == 0);
}

void QlProdCheckBarcode(HWND dialog)
{
    const QlCatTextRec *text = QlCatText();
    char barcode[31];
    QlProdReadBarcode(dialog, barcode, 30);
    char message[200];
    size_t length = strlen(barcode);
    if (length < QL_PROD_BARCODE_MIN) {
        snprintf(message, sizeof message, text->CheckBarcodeTooShort, (unsigned)QL_PROD_BARCODE_MIN);
        Refuse(dialog, text->BarcodeLength, message);
        SetDlgItemTextA(dialog, IDE_PROD_BARCODE, "");
        return;
    }
    QlProdRec found;
    char err[QL_DB_ERR_SIZE];
    if (QlProdFind("barcode", barcode, &found, err)) {
        QlProdScanSound("scan_err.wav");
        snprintf(message, sizeof message, text->ProductBarcodeExists, barcode);
        Refuse(dialog, text->DuplicateProductBarcode, message);
        SetDlgItemTextA(dialog, IDE_PROD_BARCODE, "");
        return;
    }
    if (length == 12 || length == 13) QlBarcodePreviewRefresh(dialog);
    QlProdScanSound("scan_ok.wav");
    SetFocus(GetDlgItem(dialog, IDE_PROD_NAME));
}

// ---------------------------------------------------------------------------
// The symbol: preview and print

// The digits the symbol is drawn from: a code of 12 (UPC-A) or 13 (EAN-13)
// digits without its last one.  0 for any other text.
static int SymbolDigits(const char *code, char *digits, int *ean)
{
    size_t length = strlen(code);
    if ((length != 12 && length != 13) || !QlBarcodeIsDigits(code)) return 0;
    memcpy(digits, code, length - 1);
    digits[length - 1] = '\0';
    *ean = length == 13;
    return 1;
}

static HBRUSH BarBrush(void)
{
    return (HBRUSH)(INT_PTR)(COLOR_WINDOWFRAME + 1);
}

int QlBarcodePreviewDraw(HDC dc, const RECT *area, const char *code)
{
    char digits[13];
    int ean;
    if (!SymbolDigits(code, digits, &ean)) return 0;
    FillRect(dc, area, GetSysColorBrush(COLOR_WINDOW));
    int horzSize = GetDeviceCaps(dc, HORZSIZE), vertSize = GetDeviceCaps(dc, VERTSIZE);
    int pxPerMmX = horzSize ? GetDeviceCaps(dc, HORZRES) / horzSize : 1;
    int pxPerMmY = vertSize ? GetDeviceCaps(dc, VERTRES) / vertSize : 1;
    // The digits hang below the bars' area: the bars stop short of the
    // bottom, and both symbols show their first digit left of the bars.
    RECT bars = {0, 0, area->right, area->bottom - PREVIEW_DIGIT_DROP};
    if (ean) return QlBarcodeDrawEan13(dc, BarBrush(), 0, 0, pxPerMmX, pxPerMmY, 1.0f, 1, 0, digits, &bars);
    return QlBarcodeDrawUpcA(dc, BarBrush(), 0, 0, pxPerMmX, pxPerMmY, 1.0f, 1, 0, digits, 1, &bars);
}

// Paints the symbol of the parent's barcode field; 0 (nothing painted) when
// the field holds no code of 12 or 13 digits.
static int PaintPreview(HWND preview)
{
    char code[20], digits[13];
    int ean;
    QlProdReadBarcode(GetParent(preview), code, 19);
    if (!SymbolDigits(code, digits, &ean)) return 0;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(preview, &paint);
    RECT area;
    GetClientRect(preview, &area);
    QlBarcodePreviewDraw(dc, &area, code);
    EndPaint(preview, &paint);
    return 1;
}

LRESULT CALLBACK QlBarcodePreviewWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT && PaintPreview(window)) return 0;
    return QlUiCallPrevious(window, msg, wParam, lParam);
}

void QlBarcodePreviewRefresh(HWND dialog)
{
    HWND preview = GetDlgItem(dialog, IDS_PROD_PREVIEW);
    InvalidateRect(preview, NULL, TRUE);
    UpdateWindow(preview);
}

int QlBarcodePrintPage(HDC dc, const char *code, float magnification, int pxPerMmX, int pxPerMmY)
{
    char digits[13];
    int ean;
    if (!SymbolDigits(code, digits, &ean)) return 0;
    if (ean) return QlBarcodeDrawEan13(dc, BarBrush(), 5, 0, pxPerMmX, pxPerMmY, magnification, 1, 0, digits, NULL);
    return QlBarcodeDrawUpcA(dc, BarBrush(), 5, 0, pxPerMmX, pxPerMmY, magnification, 1, 0, digits, 1, NULL);
}

struct BarcodeJob {
    char code[20];
    float magnification;
};

static int DrawBarcodeJob(QlPrintTarget *target, void *data)
{
    const BarcodeJob *job = (const BarcodeJob *)data;
    return QlBarcodePrintPage(target->dc, job->code, job->magnification, target->pxPerMmX, target->pxPerMmY);
}

void QlBarcodePrint(HWND dialog)
{
    BarcodeJob job;
    QlProdReadBarcode(dialog, job.code, 19);
    char digits[13];
    int ean;
    if (!SymbolDigits(job.code, digits, &ean)) {
        Refuse(dialog, QlCatText()->CannotPrint, QlCatText()->PrintNeedsDigits);
        return;
    }
    char scale[20] = "";
    GetDlgItemTextA(dialog, IDC_PROD_SCALE, scale, sizeof scale);
    job.magnification = (float)atof(scale);
    if (job.magnification <= 0) job.magnification = 1.0f;
    QlPrintDocument(dialog, DrawBarcodeJob, &job);
}
