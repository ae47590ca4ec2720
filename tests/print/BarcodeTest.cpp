#include "QlGTest.h"
#include "QlTestPrint.h"
#include "print/QlBarcode.h"

#include <string.h>
#include <string>

namespace {

std::string Modules(int (*build)(const char *, char *), const char *text)
{
    char out[QL_BARCODE_MODULES_SIZE];
    int n = build(text, out);
    EXPECT_EQ((int)strlen(out), n);
    return out;
}

// The digit whose pattern in the table is the seven modules at, or '?'.
char Lookup(const std::string &modules, size_t at, const char (*table)[8])
{
    for (int d = 0; d < 10; d++)
        if (modules.compare(at, 7, table[d]) == 0) return (char)('0' + d);
    return '?';
}

// Reads a UPC-A module string back: its digits, check digit included.
std::string DecodeUpc(const std::string &m)
{
    EXPECT_EQ("0000000000101", m.substr(0, 13));
    std::string digits;
    size_t at = 13;
    for (int i = 0; i < 6; i++, at += 7) digits += Lookup(m, at, QlBarcodeTableL);
    EXPECT_EQ("01010", m.substr(at, 5));
    for (at += 5; at + 7 <= m.size() - 13; at += 7) digits += Lookup(m, at, QlBarcodeTableR);
    EXPECT_EQ("1010000000000", m.substr(at));
    return digits;
}

// Reads an EAN-13 module string back; the first digit from the left half's
// parity pattern.
std::string DecodeEan(const std::string &m)
{
    static const char *parity[10] = {"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
                                     "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"};
    EXPECT_EQ("000000000101", m.substr(0, 12));
    std::string left, pattern;
    size_t at = 12;
    for (int i = 0; i < 6; i++, at += 7) {
        char l = Lookup(m, at, QlBarcodeTableL), g = Lookup(m, at, QlBarcodeTableG);
        left += l != '?' ? l : g;
        pattern += l != '?' ? 'L' : 'G';
    }
    std::string first = "?";
    for (int d = 0; d < 10; d++)
        if (pattern == parity[d]) first = std::string(1, (char)('0' + d));
    EXPECT_EQ("01010", m.substr(at, 5));
    std::string right;
    for (at += 5; at + 7 <= m.size() - 12; at += 7) right += Lookup(m, at, QlBarcodeTableR);
    EXPECT_EQ("101000000000", m.substr(at));
    return first + left + right;
}

}  // namespace

TEST(BarcodeCheckDigit, KnownCodes)
{
    struct Case {
        char (*fn)(const char *);
        const char *digits;
        char check;
    } cases[] = {
        {QlBarcodeUpcCheckDigit, "03600029145", '2'},
        {QlBarcodeUpcCheckDigit, "04210000526", '4'},
        {QlBarcodeUpcCheckDigit, "40000012345", '5'},
        {QlBarcodeEanCheckDigit, "400638133393", '1'},
        {QlBarcodeEanCheckDigit, "978030640615", '7'},
        {QlBarcodeEanCheckDigit, "000000000000", '0'},
        {QlBarcodeUpcCheckDigit, "0360002914X", 0},   // refused
        {QlBarcodeEanCheckDigit, "4006 8133393", 0},
        {QlBarcodeUpcCheckDigit, NULL, 0},
    };
    for (const Case &c : cases) EXPECT_EQ(c.check, c.fn(c.digits)) << (c.digits ? c.digits : "(null)");
}

TEST(BarcodeModules, StandardPatterns)
{
    EXPECT_STREQ("0001101", QlBarcodeTableL[0]);
    EXPECT_STREQ("0001011", QlBarcodeTableL[9]);
    EXPECT_STREQ("0100111", QlBarcodeTableG[0]);
    EXPECT_STREQ("1110010", QlBarcodeTableR[0]);
    EXPECT_STREQ("1110100", QlBarcodeTableR[9]);

    char out[64] = "x";
    EXPECT_EQ(14, QlBarcodeEncodeDigits("09", QlBarcodeTableR, out));
    EXPECT_STREQ("x11100101110100", out);   // appended
    out[0] = '\0';
    EXPECT_EQ(0, QlBarcodeEncodeDigits("0a", QlBarcodeTableR, out));
    EXPECT_STREQ("", out);
    // First digit 0: six L digits; 4: L G L L G G.
    out[0] = '\0';
    EXPECT_EQ(42, QlBarcodeEncodeEanLeft("0111111", out, QlBarcodeTableL, QlBarcodeTableG));
    EXPECT_EQ(std::string(QlBarcodeTableL[1]) + QlBarcodeTableL[1] + QlBarcodeTableL[1] + QlBarcodeTableL[1] +
                  QlBarcodeTableL[1] + QlBarcodeTableL[1],
              out);
    out[0] = '\0';
    QlBarcodeEncodeEanLeft("4111111", out, QlBarcodeTableL, QlBarcodeTableG);
    EXPECT_EQ(std::string(QlBarcodeTableL[1]) + QlBarcodeTableG[1] + QlBarcodeTableL[1] + QlBarcodeTableL[1] +
                  QlBarcodeTableG[1] + QlBarcodeTableG[1],
              out);
}

TEST(BarcodeModules, SymbolsReadBackToTheirDigitsAndCheckDigit)
{
    struct Case {
        const char *what;
        bool ean;
        const char *text;
        size_t length;
        const char *decoded;
    } cases[] = {
        {"UPC-A of 11 digits", false, "03600029145", 115, "036000291452"},
        {"the 12th digit is not read", false, "036000291459", 115, "036000291452"},
        {"document number 123: right half 1, 2, 3 and the check digit", false, "400000123", 101, "4000001234"},
        {"five-digit document number: a full symbol", false, "40000012345", 115, "400000123455"},
        {"EAN-13 of 12 digits", true, "400638133393", 113, "4006381333931"},
        {"the 13th character is not read", true, "4006381333935", 113, "4006381333931"},
        {"first digit 0", true, "012345678905", 113, "0123456789050"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string m = Modules(c.ean ? QlBarcodeEanModules : QlBarcodeUpcModules, c.text);
        EXPECT_EQ(c.length, m.size());
        EXPECT_EQ(c.decoded, c.ean ? DecodeEan(m) : DecodeUpc(m));
    }
}

TEST(BarcodeModules, TextsThatAreNotDigitsAreRefused)
{
    const char *texts[] = {"", "12a45", "-1", " 123", "123 ", "４5", NULL};
    for (const char *text : texts) {
        SCOPED_TRACE(text ? text : "(null)");
        EXPECT_EQ("", Modules(QlBarcodeUpcModules, text));
        EXPECT_EQ("", Modules(QlBarcodeEanModules, text));
    }
}

TEST(BarcodeSize, ModuleWidthAndBarHeight)
{
    RECT fit = {0, 0, 226, 60};
    struct Case {
        const char *what;
        bool ean;
        int pxX, pxY;
        float mag;
        int half;
        const RECT *fit;
        int module, height;
    } cases[] = {
        {"UPC-A fitted: 226 / 113", false, 0, 0, 1, 0, &fit, 2, 60},
        {"UPC-A fitted, half height", false, 0, 0, 1, 1, &fit, 2, 30},
        {"UPC-A at 23 px/mm", false, 23, 23, 1, 0, NULL, 7, 595},
        {"UPC-A at 23 px/mm, x 1.2, half", false, 23, 23, 1.2f, 1, NULL, 9, 357},
        {"UPC-A at 3 px/mm: at least one unit a module", false, 3, 3, 1, 0, NULL, 1, 77},
        {"EAN-13 at 23 px/mm", true, 23, 23, 1, 0, NULL, 7, 596},
        {"EAN-13 fitted: never halved", true, 0, 0, 1, 1, &fit, 2, 60},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QlBarcodeSize size = c.ean ? QlBarcodeEanSize(100, c.pxX, c.pxY, c.mag, c.half, c.fit, NULL)
                                   : QlBarcodeUpcSize(100, c.pxX, c.pxY, c.mag, c.half, c.fit);
        EXPECT_EQ(c.module, size.module);
        EXPECT_EQ(100 + c.height, size.bottom);
    }
}

namespace {

int DarkModules(const std::string &m)
{
    int n = 0;
    for (char c : m) n += c == '1';
    return n;
}

}  // namespace

TEST(BarcodeDraw, UpcASymbolWithDigits)
{
    MetafilePrinter printer;
    HDC dc = printer.dc();
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    RECT fit = {0, 0, 226, 120};
    ASSERT_EQ(1, QlBarcodeDrawUpcA(dc, (HBRUSH)(COLOR_WINDOWFRAME + 1), 50, 40, 0, 0, 1.2f, 1, 0, "03600029145", 1,
                                   &fit));
    printer.finish();
    EmfRecords page = printer.records(0);

    std::string m = Modules(QlBarcodeUpcModules, "03600029145");
    ASSERT_EQ((size_t)DarkModules(m), page.fills.size());   // one fill a dark module

    // The digit font: "Arial" 8 points (magnification 1 with a fitted box), created and deleted.
    ASSERT_EQ(1u, page.fonts.size());
    EXPECT_EQ("Arial", page.fonts[0].face);
    EXPECT_EQ(-MulDiv(8, dpi, 72), page.fonts[0].height);
    EXPECT_EQ(1, page.fontsDeleted);

    // Digits: the first left of the symbol, then the two halves, the check digit right of it.
    ASSERT_EQ(4u, page.texts.size());
    EXPECT_EQ("0", page.texts[0].text);
    EXPECT_EQ("36000", page.texts[1].text);
    EXPECT_EQ("29145", page.texts[2].text);
    EXPECT_EQ("2", page.texts[3].text);
    const int digitWidth = page.texts[3].right - page.texts[3].x;
    const int x0 = 50 + digitWidth;   // shifted by one digit
    EXPECT_EQ(x0 - digitWidth, page.texts[0].x);
    EXPECT_EQ(x0 + 22 * 2, page.texts[1].x);
    EXPECT_EQ(x0 + 62 * 2, page.texts[2].x);
    EXPECT_EQ(x0 + 114 * 2, page.texts[3].x);

    // Bars: guard and outer-digit bars full height, the others shortened for the digits.
    int shortened = 0, full = 0, k = 0;
    for (size_t i = 0; i < m.size(); i++) {
        if (m[i] != '1') continue;
        const RECT &bar = page.fills[k++];
        EXPECT_EQ(x0 + 2 * (int)i, bar.left) << i;
        EXPECT_EQ(x0 + 2 * (int)i + 2, bar.right) << i;
        EXPECT_EQ(40, bar.top);
        bool inner = (i >= 20 && i <= 55) || (i >= 60 && i <= 94);
        if (inner) {
            EXPECT_LT(bar.bottom, 160) << i;
            shortened++;
        } else {
            EXPECT_EQ(160, bar.bottom) << i;
            full++;
        }
    }
    EXPECT_GT(shortened, 0);
    EXPECT_GT(full, 0);
}

TEST(BarcodeDraw, WithoutDigitsNoFontAndNoShortBars)
{
    MetafilePrinter printer;
    HDC dc = printer.dc();
    ASSERT_EQ(1, QlBarcodeDrawUpcA(dc, (HBRUSH)(COLOR_WINDOWFRAME + 1), 0, 0, 23, 23, 1, 0, 1, "03600029145", 0, NULL));
    ASSERT_EQ(1, QlBarcodeDrawEan13(dc, (HBRUSH)(COLOR_WINDOWFRAME + 1), 0, 1000, 23, 23, 1, 0, 0, "400638133393", NULL));
    EXPECT_EQ(0, QlBarcodeDrawUpcA(dc, (HBRUSH)(COLOR_WINDOWFRAME + 1), 0, 0, 23, 23, 1, 1, 0, "0360002914x", 0, NULL));
    EXPECT_EQ(0, QlBarcodeDrawEan13(dc, (HBRUSH)(COLOR_WINDOWFRAME + 1), 0, 0, 23, 23, 1, 1, 0, "", NULL));
    printer.finish();
    EmfRecords page = printer.records(0);
    EXPECT_TRUE(page.texts.empty());
    EXPECT_TRUE(page.fonts.empty());
    const int upcBars = DarkModules(Modules(QlBarcodeUpcModules, "03600029145"));
    const int eanBars = DarkModules(Modules(QlBarcodeEanModules, "400638133393"));
    ASSERT_EQ((size_t)(upcBars + eanBars), page.fills.size());
    for (int i = 0; i < upcBars; i++) EXPECT_EQ(297, page.fills[i].bottom);   // half of 595, truncated
    for (size_t i = upcBars; i < page.fills.size(); i++) EXPECT_EQ(1000 + 596, page.fills[i].bottom);
}

TEST(BarcodeDraw, Ean13DigitsAndTheMagnifiedFont)
{
    MetafilePrinter printer;
    HDC dc = printer.dc();
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ASSERT_EQ(1, QlBarcodeDrawEan13(dc, (HBRUSH)(COLOR_WINDOWFRAME + 1), 100, 100, 8, 8, 1.2f, 1, 0, "4006381333935",
                                    NULL));
    printer.finish();
    EmfRecords page = printer.records(0);
    ASSERT_EQ(1u, page.fonts.size());
    EXPECT_EQ(-MulDiv(9, dpi, 72), page.fonts[0].height);   // 8 x 1.2 truncated: 9 points
    EXPECT_EQ(1, page.fontsDeleted);
    ASSERT_EQ(3u, page.texts.size());
    EXPECT_EQ("4", page.texts[0].text);
    EXPECT_EQ("006381", page.texts[1].text);
    EXPECT_EQ("333931", page.texts[2].text);   // the computed check digit, not the text's 13th
    const float module = 8 * 37.29f * 1.2f / 113;
    const int x0 = 100 + (page.texts[0].right - page.texts[0].x);
    EXPECT_EQ(x0 - (page.texts[0].right - page.texts[0].x), page.texts[0].x);
    EXPECT_EQ((int)(x0 + 15 * module), page.texts[1].x);
    EXPECT_EQ((int)(x0 + 60 * module), page.texts[2].x);
    EXPECT_EQ(x0 + 9 * (int)module, page.fills[0].left);   // the left guard's first bar
}
