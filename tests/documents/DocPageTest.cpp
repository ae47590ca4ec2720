// The page model without a page: page counts, the column sets of each
// document under the print options, the amount in words, where the header
// and the barcode stand.
#define NOMINMAX
#include "QlGTest.h"

#include "print/QlBarcode.h"
#include "documents/QlDocPage.h"
#include "settings/QlSettings.h"

#include <string.h>
#include <string>

namespace {

TEST(DocPage, PagesOfTenOrSixteenRows)
{
    struct Case {
        int rows, perPage, pages;
    } cases[] = {{0, 10, 1},  {1, 10, 1},  {10, 10, 1}, {11, 10, 2}, {20, 10, 2},
                 {21, 10, 3}, {16, 16, 1}, {17, 16, 2}, {32, 16, 2}, {33, 16, 3}};
    for (const Case &c : cases)
        EXPECT_EQ(c.pages, QlDocPageCount(c.rows, c.perPage)) << c.rows << " rows, " << c.perPage << " a page";
}

// "Title:percent ..." of a column set, with the price column marked.
std::string Describe(const QlDocColumnSet &set)
{
    std::string s;
    for (int i = 0; i < set.count; i++) {
        if (i) s += " ";
        if (i == set.priceColumn) s += "*";
        s += std::string(set.titles + QL_GRID_TITLE_SLOT * i) + ":" + std::to_string(set.percent[i]);
    }
    return s;
}

class DocColumns : public testing::Test {
protected:
    void SetUp() override
    {
        saved_ = QlSettings.cfg;
        memset(&QlSettings.cfg, 0, sizeof QlSettings.cfg);
        strcpy(QlSettings.cfg.taxName, "VAT");
        strcpy(savedLabel_, QlTaxLabel);
        strcpy(QlTaxLabel, "VAT %");
    }
    void TearDown() override
    {
        QlSettings.cfg = saved_;
        strcpy(QlTaxLabel, savedLabel_);
    }
    QlSettingsRec saved_;
    char savedLabel_[20];
};

TEST_F(DocColumns, EachDocumentOutputModeAndOptionPair)
{
    struct Case {
        int kind, output, mode, rate, discount;
        const char *columns;
    } cases[] = {
        {QL_DOCK_INVOICE, QL_DOC_PRINTED, 0, 1, 1, "Details:28 VAT %:12 *Price:15 Disc Amt:15 Net:15 VAT:15"},
        {QL_DOCK_INVOICE, QL_DOC_PRINTED, 0, 1, 0, "Details:43 VAT %:12 *Price:15 Net:15 VAT:15"},
        {QL_DOCK_INVOICE, QL_DOC_PRINTED, 0, 0, 1, "Details:40 *Price:15 Disc Amt:15 Net:15 VAT:15"},
        {QL_DOCK_INVOICE, QL_DOC_PRINTED, 0, 0, 0, "Details:55 *Price:15 Net:15 VAT:15"},
        {QL_DOCK_INVOICE, QL_DOC_PRINTED, 1, 1, 1,
         "Code:8 Details:16 QTY:7 VAT%:11 *Unit Price:14 Disc Amt:15 Net:15 VAT:14"},
        {QL_DOCK_INVOICE, QL_DOC_PRINTED, 1, 1, 0, "Code:8 Details:31 QTY:7 VAT%:11 *Unit Price:14 Net:15 VAT:14"},
        {QL_DOCK_INVOICE, QL_DOC_PRINTED, 1, 0, 1, "Code:8 Details:27 QTY:7 *Unit Price:14 Disc Amt:15 Net:15 VAT:14"},
        {QL_DOCK_INVOICE, QL_DOC_PRINTED, 1, 0, 0, "Code:8 Details:42 QTY:7 *Unit Price:14 Net:15 VAT:14"},
        {QL_DOCK_INVOICE, QL_DOC_PDF, 0, 1, 0, "Details:45 VAT %:10 *Price:15 Net:15 VAT:15"},
        {QL_DOCK_INVOICE, QL_DOC_PDF, 1, 1, 1,
         "Code:6 Details:19 QTY:7 VAT%:9 *Unit Price:15 Disc Amt:15 Net:15 VAT:14"},
        {QL_DOCK_INVOICE, QL_DOC_PDF, 1, 1, 0, "Code:7 Details:31 QTY:7 VAT%:10 *Unit Price:15 Net:15 VAT:15"},
        {QL_DOCK_INVOICE, QL_DOC_PDF, 1, 0, 1, "Code:7 Details:26 QTY:7 *Unit Price:15 Disc Amt:15 Net:15 VAT:15"},
        {QL_DOCK_INVOICE, QL_DOC_PDF, 1, 0, 0, "Code:7 Details:41 QTY:7 *Unit Price:15 Net:15 VAT:15"},
        {QL_DOCK_QUOTE, QL_DOC_PRINTED, 0, 1, 1, "Details:30 VAT %:10 *Price:15 Disc Amt:15 Net:15 VAT:15"},
        {QL_DOCK_QUOTE, QL_DOC_PRINTED, 0, 1, 0, "Details:45 VAT %:10 *Price:15 Net:15 VAT:15"},
        {QL_DOCK_QUOTE, QL_DOC_PRINTED, 1, 1, 0, "Code:10 Details:25 QTY:10 VAT%:10 *Unit Price:15 Net:15 VAT:15"},
        {QL_DOCK_QUOTE, QL_DOC_PDF, 0, 1, 1, "Details:28 VAT %:12 *Price:15 Disc Amt:15 Net:15 VAT:15"},
        {QL_DOCK_QUOTE, QL_DOC_PDF, 0, 1, 0, "Details:43 VAT %:12 *Price:15 Net:15 VAT:15"},
        {QL_DOCK_QUOTE, QL_DOC_PDF, 1, 0, 0, "Code:10 Details:35 QTY:10 *Unit Price:15 Net:15 VAT:15"},
        {QL_DOCK_CREDIT, QL_DOC_PRINTED, 0, 1, 1, "Details:70 *Amount:15 VAT:15"},
        {QL_DOCK_CREDIT, QL_DOC_PDF, 1, 0, 0, "Details:70 *Amount:15 VAT:15"},
    };
    for (const Case &c : cases) {
        QlDocColumnSet set;
        QlDocColumns(c.kind, c.output, c.mode, c.rate, c.discount, &set);
        EXPECT_EQ(c.columns, Describe(set)) << c.kind << " " << c.output << " " << c.mode << c.rate << c.discount;
    }

    // Every set fills the table's width exactly and closes with one line more.
    for (int kind : {QL_DOCK_INVOICE, QL_DOCK_CREDIT, QL_DOCK_QUOTE})
        for (int output = 0; output < 2; output++)
            for (int mode = 0; mode < 2; mode++)
                for (int options = 0; options < 4; options++) {
                    QlDocColumnSet set;
                    QlDocColumns(kind, output, mode, options & 1, options & 2, &set);
                    int sum = 0;
                    for (int i = 0; i < set.count; i++) sum += set.percent[i];
                    EXPECT_EQ(100, sum) << kind << " " << output << " " << mode << " " << options;
                    EXPECT_GT(set.percent[set.count], 0);
                }
}

TEST_F(DocColumns, TitlesFollowTheLanguageAndTheTaxName)
{
    strcpy(QlSettings.cfg.taxName, "MwSt");
    strcpy(QlTaxLabel, "MwSt %");
    QlSettings.cfg.language = 1;
    QlDocColumnSet set;
    QlDocColumns(QL_DOCK_INVOICE, QL_DOC_PDF, 1, 1, 1, &set);
    EXPECT_EQ("Nr.:6 Beschreibung:19 Menge:7 MwSt%:9 *Einzelpreis:15 Rabatt:15 Netto:15 MwSt:14", Describe(set));
    QlDocColumns(QL_DOCK_INVOICE, QL_DOC_PRINTED, 0, 1, 0, &set);
    EXPECT_EQ("Beschreibung:43 MwSt %:12 *Preis:15 Netto:15 MwSt:15", Describe(set));
}

TEST(DocPage, AmountInWords)
{
    struct Case {
        const char *gross;
        const char *line;   // NULL: left out
    } cases[] = {
        {"123.45", "Euro / Gross:  One Hundred Twenty Three .45 Only"},
        {"100.00", "Euro / Gross:  One Hundred Only"},
        {"100.05", "Euro / Gross:  One Hundred .05 Only"},
        {"7", "Euro / Gross:  Seven Only"},
        {"-12.50", "Euro / Gross: minus Twelve .50 Only"},
        // The sign is the text's: no units carry it.
        {"-0.50", "Euro / Gross: minus .50 Only"},
        {"999999999.99", "Euro / Gross:  Nine Hundred Ninety Nine Million Nine Hundred Ninety Nine Thousand Nine "
                         "Hundred Ninety Nine .99 Only"},
        {"1000000000.00", NULL},
        {"-1000000000.00", NULL},
        {"99999999999999999999.00", NULL},
        {"", NULL},
        {"-", NULL},
        {"abc", NULL},
        {"12.3x", NULL},
        {" 12.30", NULL},
    };
    for (const Case &c : cases) {
        char line[512] = "junk";
        EXPECT_EQ(c.line ? 1 : 0, QlDocWordsLine("Euro / Gross:", c.gross, line, sizeof line)) << c.gross;
        EXPECT_STREQ(c.line ? c.line : "", line) << c.gross;
    }
    char tight[20];
    EXPECT_EQ(0, QlDocWordsLine("Euro / Gross:", "123.45", tight, sizeof tight));
    EXPECT_STREQ("", tight);
}

TEST(DocPage, HeaderFrameBoxesAndLabels)
{
    const RECT page = {100, 100, 1100, 1500};   // W = 1000
    const int H = 20;
    struct Case {
        int kind, boxes;
        int titleLeft, boxLeft, end;
    } cases[] = {
        {QL_DOCK_INVOICE, 3, 680, 890, 100 + 14 * H},
        {QL_DOCK_INVOICE, 4, 680, 890, 100 + 17 * H},
        {QL_DOCK_CREDIT, 3, 680, 890, 100 + 14 * H},
        {QL_DOCK_QUOTE, 3, 767, 933, 100 + 14 * H},
        {QL_DOCK_DELIVERY, 4, 700, 900, 100 + 17 * H},
        {QL_DOCK_PAYMENT, 3, 710, 905, 100 + 11 * H},
    };
    for (const Case &c : cases) {
        QlDocHeaderPlace place;
        QlDocHeaderLayout(c.kind, &page, H, c.boxes, &place);
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(c.titleLeft, place.title.left);
        EXPECT_EQ(1100, place.title.right);
        EXPECT_EQ(100, place.title.top);
        EXPECT_EQ(140, place.title.bottom);
        EXPECT_EQ(c.boxLeft, place.boxLeft);
        EXPECT_EQ(180, place.boxTop);
        EXPECT_EQ(220, place.boxBottom);
        EXPECT_EQ(c.titleLeft, place.labelX);
        EXPECT_EQ(185, place.labelY);
        EXPECT_EQ(c.end, place.boxesEnd);
    }
}

TEST(DocPage, TheBarcodeFitsBetweenTheCompanyBlockAndTheTitle)
{
    // A4 at 96 and at 300 pixels an inch (margins of an inch).
    struct Case {
        RECT page;
        int pxPerMm;
        int titlePercent;   // of the width, from the right
        bool full;          // the symbol keeps magnification 1.2
    } cases[] = {
        {{96, 96, 698, 1027}, 3, 42, false},  {{300, 300, 2179, 3208}, 11, 42, false},
        {{300, 300, 2179, 3208}, 11, 33, true}, {{600, 600, 4358, 6416}, 23, 42, false},
    };
    for (const Case &c : cases) {
        const int W = c.page.right - c.page.left;
        const int titleLeft = c.page.right - W * c.titlePercent / 100;
        float mag = 0;
        int bottom = 0;
        int x = QlDocBarcodePlace(&c.page, titleLeft, c.page.top, c.pxPerMm, c.pxPerMm, &mag, &bottom);
        QlBarcodeSize size = QlBarcodeUpcSize(c.page.top, c.pxPerMm, c.pxPerMm, mag, 1, NULL);
        SCOPED_TRACE(testing::Message() << c.pxPerMm << " px/mm, title " << c.titlePercent << " %");
        EXPECT_GE(x, c.page.left + W * 37 / 100);
        EXPECT_LE(x + 115 * size.module, titleLeft);
        EXPECT_GE(mag, 0.8f - 0.001f);
        EXPECT_LE(mag, 1.2f + 0.001f);
        if (c.full) EXPECT_FLOAT_EQ(1.2f, mag);
        EXPECT_EQ(size.bottom, bottom);
        EXPECT_GT(bottom, c.page.top);
    }
}

}  // namespace
