#include "documents/QlDocPage.h"

#include "print/QlBarcode.h"
#include "core/QlMoney.h"
#include "ui/QlWindow.h"
#include "documents/QlDocTexts.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define IDP_DOC_DATE 1160

// ---------------------------------------------------------------------------
// Column sets

namespace {

// The columns a line of each mode can have, in table order; the optional
// ones only with their option.
enum Head { H_DETAILS, H_RATE, H_PRICE, H_DISCOUNT, H_NET, H_TAX, H_CODE, H_QTY, H_PROD_RATE, H_UNIT_PRICE,
            H_AMOUNT };

const Head kServiceHeads[] = {H_DETAILS, H_RATE, H_PRICE, H_DISCOUNT, H_NET, H_TAX};
const Head kProductHeads[] = {H_CODE, H_DETAILS, H_QTY, H_PROD_RATE, H_UNIT_PRICE, H_DISCOUNT, H_NET, H_TAX};
const Head kCreditHeads[] = {H_DETAILS, H_AMOUNT, H_TAX};

// Percents of the columns present, in order, for the four option pairs
// [tax-rate column][discount column]; 0 ends a list.
struct Widths {
    int kind, output, lineMode;
    int percent[2][2][QL_DOC_MAX_COLUMNS + 1];
};

const Widths kWidths[] = {
    {QL_DOCK_INVOICE, QL_DOC_PRINTED, 0,
     {{{55, 15, 15, 15}, {40, 15, 15, 15, 15}}, {{43, 12, 15, 15, 15}, {28, 12, 15, 15, 15, 15}}}},
    {QL_DOCK_INVOICE, QL_DOC_PRINTED, 1,
     {{{8, 42, 7, 14, 15, 14}, {8, 27, 7, 14, 15, 15, 14}},
      {{8, 31, 7, 11, 14, 15, 14}, {8, 16, 7, 11, 14, 15, 15, 14}}}},
    {QL_DOCK_INVOICE, QL_DOC_PDF, 0,
     {{{55, 15, 15, 15}, {40, 15, 15, 15, 15}}, {{45, 10, 15, 15, 15}, {28, 12, 15, 15, 15, 15}}}},
    {QL_DOCK_INVOICE, QL_DOC_PDF, 1,
     {{{7, 41, 7, 15, 15, 15}, {7, 26, 7, 15, 15, 15, 15}},
      {{7, 31, 7, 10, 15, 15, 15}, {6, 19, 7, 9, 15, 15, 15, 14}}}},
    {QL_DOCK_QUOTE, QL_DOC_PRINTED, 0,
     {{{55, 15, 15, 15}, {40, 15, 15, 15, 15}}, {{45, 10, 15, 15, 15}, {30, 10, 15, 15, 15, 15}}}},
    {QL_DOCK_QUOTE, QL_DOC_PRINTED, 1,
     {{{10, 35, 10, 15, 15, 15}, {10, 20, 10, 15, 15, 15, 15}},
      {{10, 25, 10, 10, 15, 15, 15}, {8, 17, 6, 10, 15, 15, 15, 14}}}},
    {QL_DOCK_QUOTE, QL_DOC_PDF, 0,
     {{{55, 15, 15, 15}, {40, 15, 15, 15, 15}}, {{43, 12, 15, 15, 15}, {28, 12, 15, 15, 15, 15}}}},
    {QL_DOCK_QUOTE, QL_DOC_PDF, 1,
     {{{10, 35, 10, 15, 15, 15}, {10, 20, 10, 15, 15, 15, 15}},
      {{10, 25, 10, 10, 15, 15, 15}, {8, 17, 6, 10, 15, 15, 15, 14}}}},
};

const int kCreditWidths[QL_DOC_MAX_COLUMNS + 1] = {70, 15, 15};

void CopyTitle(char *slot, const char *text)
{
    snprintf(slot, QL_GRID_TITLE_SLOT, "%.*s", QL_GRID_TITLE_SLOT - 1, text ? text : "");
}

const char *HeadText(Head head, const char *productRate)
{
    const QlDocTextRec *t = QlDocText();
    switch (head) {
    case H_DETAILS: return t->DetailsTitle;
    case H_RATE: return QlDocTaxLabel();
    case H_PRICE: return t->PriceTitle;
    case H_DISCOUNT: return t->DiscAmtTitle;
    case H_NET: return t->NetTitle;
    case H_TAX: return QlSettings.cfg.taxName;
    case H_CODE: return t->ProductHeads[0];
    case H_QTY: return t->ProductHeads[2];
    case H_PROD_RATE: return productRate;
    case H_UNIT_PRICE: return t->ProductHeads[4];
    case H_AMOUNT: return t->AmountTitle;
    }
    return "";
}

}  // namespace

void QlDocColumns(int kind, int output, int lineMode, int rateColumn, int discountColumn, QlDocColumnSet *set)
{
    memset(set, 0, sizeof *set);
    const int rate = rateColumn != 0, discount = discountColumn != 0;
    const Head *heads = kServiceHeads;
    int headCount = ARRAYSIZE(kServiceHeads);
    const int *percent = NULL;
    if (kind == QL_DOCK_CREDIT) {
        heads = kCreditHeads, headCount = ARRAYSIZE(kCreditHeads);
        percent = kCreditWidths;
    } else {
        const int mode = lineMode == 1 ? 1 : 0;
        if (mode) heads = kProductHeads, headCount = ARRAYSIZE(kProductHeads);
        const int family = kind == QL_DOCK_QUOTE ? QL_DOCK_QUOTE : QL_DOCK_INVOICE;
        for (const Widths &w : kWidths)
            if (w.kind == family && w.output == output && w.lineMode == mode) percent = w.percent[rate][discount];
    }

    // The product documents' tax-rate head is the tax name and a percent
    // sign without a blank ("VAT%"); the service documents' has the blank.
    char productRate[QL_GRID_TITLE_SLOT];
    snprintf(productRate, sizeof productRate, "%s%c", QlSettings.cfg.taxName, '%');
    int count = 0;
    for (int i = 0; i < headCount; i++) {
        if ((heads[i] == H_RATE || heads[i] == H_PROD_RATE) && !rate) continue;
        if (heads[i] == H_DISCOUNT && !discount) continue;
        if (heads[i] == H_PRICE || heads[i] == H_UNIT_PRICE) set->priceColumn = count;
        CopyTitle(set->titles + QL_GRID_TITLE_SLOT * count, HeadText(heads[i], productRate));
        set->percent[count] = percent ? percent[count] : 0;
        count++;
    }
    set->count = count;
    set->percent[count] = 1;
    if (kind == QL_DOCK_CREDIT) set->priceColumn = 1;
}

int QlDocPageCount(int rows, int perPage)
{
    if (rows <= 0 || perPage <= 0) return 1;
    return rows / perPage + (rows % perPage ? 1 : 0);
}

// ---------------------------------------------------------------------------
// Amount in words

int QlDocWordsLine(const char *label, const char *gross, char *out, size_t size)
{
    if (!out || size == 0) return 0;
    out[0] = '\0';
    if (!gross) return 0;
    // The sign is the text's own: "-0.50" has no negative units to carry it.
    const char *p = gross;
    const int negative = *p == '-';
    if (negative) p++;
    const size_t digits = strspn(p, "0123456789");
    if (digits == 0 || digits > 10) return 0;
    const char *dot = p + digits;
    if (*dot && (*dot != '.' || dot[1 + strspn(dot + 1, "0123456789")] != '\0')) return 0;
    const long long units = strtoll(p, NULL, 10);
    if (units > 999999999LL) return 0;

    // QlMoneyToWords of a positive amount starts with a blank and ends in one.
    char *words = QlMoneyToWords(units);
    if (!words) return 0;
    int n = snprintf(out, size, "%s %s%s", label ? label : "", negative ? "minus" : "", words);
    free(words);
    if (n < 0 || (size_t)n >= size) {
        out[0] = '\0';
        return 0;
    }
    if (*dot == '.' && atoi(dot + 1) != 0) n += snprintf(out + n, size - (size_t)n, "%s ", dot);
    if ((size_t)n < size) n += snprintf(out + n, size - (size_t)n, "Only");
    if ((size_t)n >= size) {
        out[0] = '\0';
        return 0;
    }
    return 1;
}

// ---------------------------------------------------------------------------
// The page-one header

void QlDocHeaderLayout(int kind, const RECT *page, int lineHeight, int boxCount, QlDocHeaderPlace *place)
{
    const int L = page->left, T = page->top, R = page->right, W = R - L, H = lineHeight;
    int titleWidth;
    switch (kind) {
    case QL_DOCK_QUOTE: titleWidth = W / 3; break;
    case QL_DOCK_DELIVERY: titleWidth = W * 40 / 100; break;
    case QL_DOCK_PAYMENT: titleWidth = W * 39 / 100; break;
    default: titleWidth = W * 42 / 100; break;
    }
    place->title = {R - titleWidth, T, R, T + 2 * H};
    place->boxLeft = R - titleWidth + titleWidth / 2;
    place->boxTop = T + 4 * H;
    place->boxBottom = T + 6 * H;
    place->boxCount = boxCount;
    place->labelX = R - titleWidth;
    place->labelY = T + 4 * H + 5;
    // The payment goes on from the middle of its last box, the others from
    // the middle of the slot after it.
    if (kind == QL_DOCK_PAYMENT)
        place->boxesEnd = T + 4 * H + (boxCount - 1) * 3 * H + H;
    else
        place->boxesEnd = T + 5 * H + 3 * H * boxCount;
}

int QlDocBarcodePlace(const RECT *page, int titleLeft, int top, int pxPerMmX, int pxPerMmY, float *mag, int *bottom)
{
    const int gapLeft = page->left + (page->right - page->left) * 37 / 100;
    const int gap = titleLeft - gapLeft;
    // The symbol with its quiet zones is 115 modules wide.
    float m = 1.2f;
    QlBarcodeSize size = QlBarcodeUpcSize(top, pxPerMmX, pxPerMmY, m, 1, NULL);
    while (m > 0.8f + 0.001f && 115 * size.module > gap) {
        m -= 0.05f;
        size = QlBarcodeUpcSize(top, pxPerMmX, pxPerMmY, m, 1, NULL);
    }
    if (mag) *mag = m;
    if (bottom) *bottom = size.bottom;
    return gapLeft + (gap - 115 * size.module) / 2;
}

// ---------------------------------------------------------------------------
// Column titles fitted to their cells

void QlDocDrawTitles(HDC dc, const QlGridRec *grid, const char *titles)
{
    const int columns = QlGridColumnLines(grid);
    for (int j = 0; titles && j < columns - 1; j++) {
        char title[QL_GRID_TITLE_SLOT];
        snprintf(title, sizeof title, "%.*s", QL_GRID_TITLE_SLOT - 1, titles + QL_GRID_TITLE_SLOT * j);
        const QlGridLine &line = grid->columnLines[j];
        const int width = grid->columnLines[j + 1].x1 - line.x1 - 20;
        if (title[0] && width > 0) QlPrintFitTextOut(dc, line.x1 + 10, line.y1 + 10, title, width);
    }
}

void QlDocPdfDrawTitles(HPDF_Page page, const QlPdfGridRec *grid, const char *titles)
{
    const int columns = grid->columnLineCount < QL_GRID_MAX_COLUMN_LINES ? grid->columnLineCount
                                                                          : QL_GRID_MAX_COLUMN_LINES;
    HPDF_Font font = HPDF_Page_GetCurrentFont(page);
    const HPDF_REAL size = HPDF_Page_GetCurrentFontSize(page);
    for (int j = 0; titles && j < columns - 1; j++) {
        char title[QL_GRID_TITLE_SLOT];
        snprintf(title, sizeof title, "%.*s", QL_GRID_TITLE_SLOT - 1, titles + QL_GRID_TITLE_SLOT * j);
        const QlPdfGridLine &line = grid->columnLines[j];
        const float width = grid->columnLines[j + 1].x1 - line.x1 - 2 * QL_PDF_CELL_INSET;
        if (!title[0] || width <= 0) continue;
        // A title wider than its cell is set smaller, never cut.
        const HPDF_REAL wide = HPDF_Page_TextWidth(page, title);
        const bool smaller = font && size > 0 && wide > width;
        if (smaller) HPDF_Page_SetFontAndSize(page, font, size * width / wide);
        QlPdfTextAt(page, line.x1 + QL_PDF_CELL_INSET, line.y1 - 10, title);
        if (smaller) HPDF_Page_SetFontAndSize(page, font, size);
    }
}

// ---------------------------------------------------------------------------
// Reading the form

void QlDocField(HWND form, int id, char *text, int size)
{
    if (!text || size <= 0) return;
    text[0] = '\0';
    QlUiGetField(form, id, text, size);
    text[size - 1] = '\0';
}

void QlDocReadDate(HWND form, char *text, int size)
{
    text[0] = '\0';
    HWND control = QlUiControl(form, IDP_DOC_DATE);
    char cls[32] = "";
    if (control) GetClassNameA(control, cls, sizeof cls);
    SYSTEMTIME date;
    if (control && lstrcmpiA(cls, DATETIMEPICK_CLASSA) == 0 &&
        SendMessageA(control, DTM_GETSYSTEMTIME, 0, (LPARAM)&date) == GDT_VALID) {
        const char *format = QlSettings.cfg.dateFormat[0] ? QlSettings.cfg.dateFormat : "d/MM/yyyy";
        if (GetDateFormatA(LOCALE_USER_DEFAULT, 0, &date, format, text, size) > 0) return;
        text[0] = '\0';
    }
    QlDocField(form, IDP_DOC_DATE, text, size);
}

int QlDocListCount(HWND form, int id)
{
    HWND list = QlUiControl(form, id);
    int count = list ? (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) : 0;
    return count > 0 ? count : 0;
}

const char *QlDocTaxLabel(void)
{
    if (QlTaxLabel[0]) return QlTaxLabel;
    static char label[20];
    snprintf(label, sizeof label, "%s %c", QlSettings.cfg.taxName, '%');
    return label;
}
