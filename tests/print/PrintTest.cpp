#include "QlGTest.h"
#include "QlTestPrint.h"
#include "QlTestWindows.h"
#include "print/QlBarcode.h"
#include "print/QlGrid.h"
#include "print/QlPrint.h"
#include "ui/QlSeams.h"

#include <algorithm>
#include <string.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> CompanyLines(const QlPrintStyleRec *style, int contact)
{
    char lines[QL_COMPANY_LINE_MAX][QL_COMPANY_LINE_SIZE];
    int count = QlPrintCompanyLines(style, contact, lines);
    return std::vector<std::string>(lines, lines + count);
}

}  // namespace

TEST(PrintPage, MarginsAndPixelsPerMillimetreFromTheDeviceFigures)
{
    struct Case {
        const char *what;
        QlPrintCaps caps;   // dpi x/y, offset x/y, paper w/h, res w/h, size mm w/h
        RECT page;
        int perMmX, perMmY;
    } cases[] = {
        {"600 dpi, offsets of 100", {600, 600, 100, 100, 5160, 7216, 4960, 7016, 210, 297}, {500, 500, 4460, 6516}, 23,
         23},
        {"300 dpi, no offsets", {300, 300, 0, 0, 2480, 3508, 2480, 3508, 210, 297}, {300, 300, 2180, 3208}, 11, 11},
        {"no millimetres: from the pixels per inch", {600, 300, 0, 0, 4960, 3508, 4960, 3508, 0, 0}, {600, 300, 4360, 3208},
         23, 11},
        {"no paper size: the printable area", {96, 96, 0, 0, 0, 0, 794, 1123, 210, 297}, {96, 96, 698, 1027}, 3, 3},
        {"nothing at all", {}, {0, 0, 0, 0}, 1, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        RECT page;
        int x = -1, y = -1;
        QlPrintPageFromCaps(&c.caps, &page, &x, &y);
        EXPECT_EQ(c.page.left, page.left);
        EXPECT_EQ(c.page.top, page.top);
        EXPECT_EQ(c.page.right, page.right);
        EXPECT_EQ(c.page.bottom, page.bottom);
        EXPECT_EQ(c.perMmX, x);
        EXPECT_EQ(c.perMmY, y);
    }
}

namespace {

PRINTDLGA dialogSeen;
BOOL dialogAnswer;
HDC dialogDc;
HGLOBAL dialogBlocks[2];

BOOL WINAPI AnswerPrintDialog(LPPRINTDLGA pd)
{
    dialogSeen = *pd;
    pd->hDC = dialogDc;
    pd->hDevMode = dialogBlocks[0] = GlobalAlloc(GMEM_MOVEABLE, 64);
    pd->hDevNames = dialogBlocks[1] = GlobalAlloc(GMEM_MOVEABLE, 64);
    return dialogAnswer;
}

int drawCalls;
int CountDraw(QlPrintTarget *, void *)
{
    drawCalls++;
    return 1;
}

}  // namespace

class PrintSetup : public ::testing::Test {
protected:
    void SetUp() override { QlSeamPrintDialog = AnswerPrintDialog; }
    void TearDown() override { QlSeamsReset(); }
};

TEST_F(PrintSetup, AsksForOneCopyAndHandsBackTheDeviceContextAndItsPage)
{
    dialogAnswer = TRUE;
    dialogDc = CreateCompatibleDC(NULL);
    HWND owner = QlTestHostWindow();
    PRINTDLGA pd;
    DOCINFOA doc;
    RECT page = {};
    int x = 0, y = 0;
    ASSERT_EQ(1, QlPrintSetup(owner, &pd, &doc, &page, &x, &y));

    EXPECT_EQ(sizeof(PRINTDLGA), dialogSeen.lStructSize);
    EXPECT_EQ(owner, dialogSeen.hwndOwner);
    EXPECT_EQ(0x4010Cu, dialogSeen.Flags);
    EXPECT_EQ(1, dialogSeen.nCopies);
    EXPECT_EQ(0xFFFF, dialogSeen.nFromPage);
    EXPECT_EQ(0xFFFF, dialogSeen.nToPage);
    EXPECT_EQ(1, dialogSeen.nMinPage);
    EXPECT_EQ(0xFFFF, dialogSeen.nMaxPage);

    EXPECT_EQ(dialogDc, pd.hDC);
    EXPECT_EQ(sizeof(DOCINFOA), (size_t)doc.cbSize);
    EXPECT_STREQ("*", doc.lpszDocName);
    EXPECT_EQ(nullptr, doc.lpszOutput);

    // The page is the one of the device's own figures.
    QlPrintCaps caps;
    QlPrintCapsFromDc(dialogDc, &caps);
    RECT expected;
    int ex, ey;
    QlPrintPageFromCaps(&caps, &expected, &ex, &ey);
    EXPECT_TRUE(EqualRect(&expected, &page));
    EXPECT_EQ(ex, x);
    EXPECT_EQ(ey, y);

    // The dialog's blocks are freed; the device context is the caller's.
    EXPECT_EQ(nullptr, pd.hDevMode);
    EXPECT_EQ(nullptr, pd.hDevNames);
    for (HGLOBAL block : dialogBlocks) EXPECT_EQ((UINT)GMEM_INVALID_HANDLE, GlobalFlags(block));
    EXPECT_TRUE(DeleteDC(pd.hDC));
    DestroyWindow(owner);
}

TEST_F(PrintSetup, CancelOrNoDeviceContextPrintsNothing)
{
    struct Case {
        BOOL answer;
        bool withDc;
    } cases[] = {{FALSE, false}, {TRUE, false}, {FALSE, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.answer << " " << c.withDc);
        dialogAnswer = c.answer;
        dialogDc = c.withDc ? CreateCompatibleDC(NULL) : NULL;
        PRINTDLGA pd;
        DOCINFOA doc;
        RECT page;
        int x, y;
        EXPECT_EQ(0, QlPrintSetup(NULL, &pd, &doc, &page, &x, &y));
        EXPECT_EQ(nullptr, pd.hDC);
        for (HGLOBAL block : dialogBlocks) EXPECT_EQ((UINT)GMEM_INVALID_HANDLE, GlobalFlags(block));
        if (c.withDc) {
            EXPECT_FALSE(DeleteDC(dialogDc));   // already deleted
        }

        drawCalls = 0;
        dialogDc = c.withDc ? CreateCompatibleDC(NULL) : NULL;
        EXPECT_EQ(0, QlPrintDocument(NULL, CountDraw, NULL));
        EXPECT_EQ(0, drawCalls);
    }
}

namespace {

// A drawing core of three pages: each says which page it is, in a font of
// its own chosen on page one.
int ThreePages(QlPrintTarget *target, void *)
{
    LOGFONTA lf = {};
    lf.lfHeight = -20;
    lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ previous = SelectObject(target->dc, font);
    int ok = 1;
    for (int page = 1; page <= 3 && ok; page++) {
        if (page > 1) ok = QlPrintNextPage(target);
        if (!ok) break;
        char text[32];
        snprintf(text, sizeof text, "Page %d", target->pageCount);
        TextOutA(target->dc, target->page.left, target->page.top, text, (int)strlen(text));
    }
    SelectObject(target->dc, previous);
    DeleteObject(font);
    return ok;
}

}  // namespace

TEST(PrintHarness, PagesBreakIntoMetafilesKeepingTheFont)
{
    MetafilePrinter printer;
    ASSERT_EQ(1, ThreePages(printer.target(), NULL));
    printer.finish();
    ASSERT_EQ(3u, printer.pageCount());
    for (size_t i = 0; i < 3; i++) {
        EmfRecords page = printer.records(i);
        ASSERT_EQ(1u, page.texts.size());
        EXPECT_EQ("Page " + std::to_string(i + 1), page.texts[0].text);
        EXPECT_EQ(-20, page.texts[0].fontHeight);
        EXPECT_EQ(printer.target()->page.left, page.texts[0].x);
    }

    // A page the device refuses ends the drawing there.
    MetafilePrinter refusing;
    refusing.refuseNextPage();
    EXPECT_EQ(0, ThreePages(refusing.target(), NULL));
    EXPECT_EQ(1, refusing.target()->pageCount);
    refusing.finish();
    EXPECT_EQ(1u, refusing.pageCount());
}

TEST(PrintText, WritersMoveTheirPositionOneLineAndOnePixelDown)
{
    MetafilePrinter printer;
    HDC dc = printer.dc();
    SIZE line = {0, 40};

    POINT pos = {100, 200};
    EXPECT_EQ(200, QlPrintTextLine(dc, &pos, &line, "first"));
    EXPECT_EQ(241, pos.y);
    QlPrintTextLine(dc, &pos, &line, NULL);   // an empty line takes its place too
    EXPECT_EQ(282, pos.y);

    RECT r = {300, 1000, 600, 1000};
    QlPrintTextLineInRect(dc, &r, &line, "in rect");
    EXPECT_EQ(1041, r.top);
    EXPECT_EQ(1082, r.bottom);
    QlPrintTextRect(dc, &r, &line, "drawn");
    EXPECT_EQ(1082, r.top);
    EXPECT_EQ(1123, r.bottom);

    // Extra spacing of 10 moves both edges by 51 a line.
    RECT block = {50, 2000, 400, 2041};
    const char *texts[] = {"one", "two", "three"};
    EXPECT_EQ(3, QlPrintTextLines(dc, &block, &line, texts, 3, 10));
    EXPECT_EQ(2000 + 3 * 51, block.top);
    EXPECT_EQ(2041 + 3 * 51, block.bottom);
    printer.finish();

    EmfRecords page = printer.records(0);
    struct Expect {
        const char *text;
        int x, y;
    } expected[] = {{"first", 100, 200}, {"in rect", 300, 1000}, {"drawn", 300, 1041},
                    {"one", 50, 2000},   {"two", 50, 2051},      {"three", 50, 2102}};
    for (const Expect &e : expected) {
        SCOPED_TRACE(e.text);
        const EmfText *t = page.findText(e.text);
        ASSERT_NE(nullptr, t);
        EXPECT_EQ(e.x, t->x);
        EXPECT_EQ(e.y, t->y);
    }
}

// A label that fits keeps the selected font; one that does not is drawn
// whole in a smaller size of it, inside its place; the selected font is put
// back and every smaller one let go.
TEST(PrintText, LabelsAreSetSmallerToFitTheirPlaceNeverCut)
{
    MetafilePrinter printer;
    HDC dc = printer.dc();
    LOGFONTA lf = {};
    lf.lfHeight = -40;
    lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    HFONT body = CreateFontIndirectA(&lf);
    HGDIOBJ previous = SelectObject(dc, body);
    SIZE wide = {0, 0};
    GetTextExtentPoint32A(dc, "Total (Euro)", 12, &wide);
    struct Case {
        const char *text;
        int width, height;   // height 0: QlPrintFitTextOut
        UINT format;
        bool smaller;
    } cases[] = {
        {"Total (Euro)", wide.cx, 0, 0, false},                      // just fits
        {"Total (Euro)", wide.cx / 2, 0, 0, true},                   // half as wide
        {"Total (Euro)", wide.cx / 2, 200, DT_SINGLELINE, true},
        {"Total (Euro)", wide.cx * 3 / 4, 200, DT_WORDBREAK, false},  // wraps into two lines
        {"Total (Euro)", wide.cx * 3 / 4, 60, DT_WORDBREAK, true},    // two lines would be too tall
        {"Mehrwertsteuersatz", wide.cx / 2, 200, DT_WORDBREAK, true}, // one word wider than the cell
    };
    int y = 100;
    for (const Case &c : cases) {
        if (c.height == 0)
            QlPrintFitTextOut(dc, 100, y, c.text, c.width);
        else
            QlPrintFitDrawText(dc, c.text, {100, y, 100 + c.width, y + c.height}, c.format);
        EXPECT_EQ(body, GetCurrentObject(dc, OBJ_FONT)) << "the selected font is put back";
        y += 300;
    }
    SelectObject(dc, previous);
    DeleteObject(body);
    printer.finish();

    EmfRecords page = printer.records(0);
    EXPECT_EQ(page.fonts.size(), (size_t)page.fontsDeleted);
    y = 100;
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " in " << c.width << " x " << c.height);
        std::string drawn;
        int height = 0;
        for (const EmfText &t : page.texts) {
            if (t.y < y || t.y >= y + 300) continue;
            drawn += t.text;   // a wrapped line keeps its blank
            height = t.fontHeight;
            EXPECT_LE(t.right, 100 + c.width) << t.text;
            if (c.height) EXPECT_LE(t.y + abs(t.fontHeight) * 1117 / 1000, y + c.height) << t.text;
        }
        EXPECT_EQ(c.text, drawn);
        if (c.smaller)
            EXPECT_GT(height, -40);
        else
            EXPECT_EQ(-40, height);
        y += 300;
    }
}

TEST(PrintCompany, LinesFollowTheOptionsAndWhatIsSet)
{
    QlPrintStyleRec full = QlTestSampleStyle();
    EXPECT_EQ((std::vector<std::string>{"Acme Ltd", "1 High Street", "Springfield", "SP1 2AB", "TAX No: GB123456",
                                        "ABN: 99 888", "Tel: 0123 456", "sales@acme.test", "www.acme.test"}),
              CompanyLines(&full, 1));
    EXPECT_EQ(6u, CompanyLines(&full, 0).size());   // the block without the contact lines

    // Empty address lines keep their place; the tax line is written with the
    // option even without a number; the business line needs label and number.
    QlPrintStyleRec sparse = {};
    strcpy(sparse.companyName, "Solo");
    strcpy(sparse.taxNoLabel, "TAX No:");
    strcpy(sparse.businessLabel, "ABN:");
    sparse.printTaxNumber = 1;
    sparse.printRegNumber = 1;
    EXPECT_EQ((std::vector<std::string>{"Solo", "", "", "", "TAX No: "}), CompanyLines(&sparse, 1));

    sparse.printTaxNumber = 0;
    strcpy(sparse.businessNumber, "1");
    strcpy(sparse.businessLabel, "");
    EXPECT_EQ(4u, CompanyLines(&sparse, 1).size());
    EXPECT_EQ(4u, CompanyLines(NULL, 1).size());
}

TEST(PrintCompany, HeaderIsAColumnTo37PercentSteppingOneLineAtATime)
{
    struct Case {
        RECT area;
        int right;
    } cases[] = {{{0, 0, 1000, 500}, 370}, {{500, 100, 4460, 900}, 1965}, {{10, 0, 10, 0}, 10}};
    for (const Case &c : cases) {
        RECT column = QlPrintCompanyHeaderColumn(&c.area);
        EXPECT_EQ(c.area.left, column.left);
        EXPECT_EQ(c.right, column.right) << c.area.right;
        EXPECT_EQ(c.area.top, column.top);
    }

    QlPrintStyleRec style = QlTestSampleStyle();
    MetafilePrinter printer;
    RECT out;
    SIZE line = {0, 30};
    QlPrintCompanyHeader(printer.dc(), {20, 50, 1020, 900}, &out, line, &style);
    EXPECT_EQ(20, out.left);
    EXPECT_EQ(390, out.right);
    EXPECT_EQ(50 + 9 * 31, out.top);
    EXPECT_EQ(out.top + 31, out.bottom);
    printer.finish();

    EmfRecords page = printer.records(0);
    std::vector<std::string> lines = CompanyLines(&style, 1);
    ASSERT_EQ(lines.size(), page.texts.size());
    for (size_t i = 0; i < lines.size(); i++) {
        EXPECT_EQ(lines[i], page.texts[i].text);
        EXPECT_EQ(20, page.texts[i].x);
        EXPECT_EQ(50 + 31 * (int)i, page.texts[i].y);
        EXPECT_EQ(390, page.texts[i].clip.right);   // clipped to the column
    }
}

TEST(PrintCompany, RightBlockIsRightAlignedInItsOwnFontAndReleasesIt)
{
    QlPrintStyleRec style = QlTestSampleStyle();
    MetafilePrinter printer;
    RECT area = {100, 300, 1100, 900};
    const int dpi = GetDeviceCaps(printer.dc(), LOGPIXELSY);
    EXPECT_EQ(1, QlPrintCompanyBlockRight(printer.dc(), &area, &style));
    strcpy(style.taxNumber, "");
    EXPECT_EQ(1, QlPrintCompanyBlockRight(printer.dc(), &area, &style));
    printer.finish();

    EmfRecords page = printer.records(0);
    ASSERT_EQ(5u + 4u, page.texts.size());   // no tax line without a number, whatever the option
    EXPECT_EQ("TAX No: GB123456", page.texts[4].text);
    EXPECT_EQ("Acme Ltd", page.texts[5].text);
    for (size_t i = 0; i < 5; i++) {
        const EmfText &t = page.texts[i];
        EXPECT_NEAR(1100, t.right, 1) << t.text;
        EXPECT_EQ("Arial", t.fontFace);
        EXPECT_EQ(-MulDiv(8, dpi, 72), t.fontHeight);
        if (i > 0) {
            EXPECT_GT(t.y, page.texts[i - 1].y);
        }
    }
    EXPECT_EQ(0, page.texts[0].clip.top);   // from the top of the printable area
    ASSERT_EQ(2u, page.fonts.size());
    EXPECT_EQ(2, page.fontsDeleted);
}

TEST(PrintBarcode, DocumentSymbolIsCentredAndHoldsTheNumberAfter400000)
{
    int width = 0;
    EXPECT_EQ(600 + 1900 - 514, QlPrintDocBarcodeLeft(600, 4400, 23, &width));
    EXPECT_EQ(1029, width);   // 1.2 x 37.3126 mm at 23 pixels a millimetre

    char text[20];
    // Numbers of up to five digits fill the symbol's five number digits, as
    // the transactions window's look-up reads them.
    const struct {
        const char *number;
        const char *symbol;
    } kCases[] = {{"1", "40000000001"}, {"123", "40000000123"}, {"1234", "40000001234"}, {"12345", "40000012345"},
                  {"", "400000"}, {"12a", "40000012a"}};
    for (const auto &c : kCases) {
        QlPrintDocBarcodeText(c.number, text);
        EXPECT_STREQ(c.symbol, text) << c.number;
    }
    QlPrintDocBarcodeText("12345678901234567", text);
    EXPECT_STREQ("4000001234567890123", text);   // 13 characters of the number

    // Drawn: the bars of "40000000123" at half height, nothing for a number
    // that is not one.
    MetafilePrinter printer;
    HDC dc = printer.dc();
    HWND form = QlTestHostWindow();
    QlTestAddEdit(form, 1158, "123");
    EXPECT_EQ(1, QlPrintDocBarcode(form, dc, 600, 100, 4400, 0, 23, 23));
    SetDlgItemTextA(form, 1158, "12a");
    EXPECT_EQ(0, QlPrintDocBarcode(form, dc, 600, 100, 4400, 0, 23, 23));
    SetDlgItemTextA(form, 1158, "");
    EXPECT_EQ(1, QlPrintDocBarcode(form, dc, 600, 100, 4400, 0, 23, 23));   // "400000" alone
    DestroyWindow(form);
    printer.finish();

    char modules[QL_BARCODE_MODULES_SIZE];
    int count = QlBarcodeUpcModules("40000000123", modules);
    int bars = 0;
    for (int i = 0; i < count; i++) bars += modules[i] == '1';
    EmfRecords page = printer.records(0);
    ASSERT_GE(page.fills.size(), (size_t)bars);
    const int module = (int)(23 * 1.469 * 25.4 * 1.2 / 113);
    const int bottom = 100 + (int)(23 * 0.51 * 25.4 * 1.2);
    EXPECT_EQ(1986 + 10 * module, page.fills[0].left);   // the first bar of the left guard
    for (int i = 0; i < bars; i++) {
        EXPECT_EQ(100, page.fills[i].top);
        EXPECT_EQ(bottom, page.fills[i].bottom);
    }
    EXPECT_TRUE(page.texts.empty());
    EXPECT_TRUE(page.fonts.empty());
}

TEST(PrintLine, IsOnePolylineOfTwoPoints)
{
    MetafilePrinter printer;
    QlDrawLine(printer.dc(), 10, 20, 300, 400);
    printer.finish();
    EmfRecords page = printer.records(0);
    ASSERT_EQ(1u, page.polylines.size());
    ASSERT_EQ(2u, page.polylines[0].points.size());
    EXPECT_EQ(10, page.polylines[0].points[0].x);
    EXPECT_EQ(400, page.polylines[0].points[1].y);
}

TEST(PrintStrings, CaseCopies)
{
    char upper[16] = "";
    QlStrUpper("acme ltd", upper);
    EXPECT_STREQ("ACME LTD", upper);

    char part[16] = "";
    QlStrUpperN("abcdef", part, 3);
    EXPECT_STREQ("ABC", part);
    char shortText[16] = "";
    QlStrUpperN("ab", shortText, 10);   // stops at the end of the text
    EXPECT_STREQ("AB", shortText);

    struct Case {
        const char *in, *out;
    } cases[] = {{"ACME LTD", "Acme ltd"}, {"SMITH", "Smith"}, {"x", "x"}, {"", ""}, {"PAYMENT", "Payment"}};
    for (const Case &c : cases) EXPECT_STREQ(c.out, QlStrLowerTail(c.in)) << c.in;

    std::string longText(100, 'A');
    std::string cut = QlStrLowerTail(longText.c_str());
    EXPECT_EQ(80u, cut.size());
    EXPECT_EQ('A', cut[0]);
    EXPECT_EQ('a', cut[79]);
    EXPECT_STREQ("", QlStrLowerTail(NULL));
}

// A page as a document printer lays it out, drawn by the helpers into a
// metafile and kept as a picture to look at (build/artifacts).
TEST(PrintPage, SamplePageRendersToPng)
{
    MetafilePrinter printer;
    QlPrintTarget *t = printer.target();
    HDC dc = t->dc;
    const RECT &rt = t->page;
    const int W = rt.right - rt.left;
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 72);
    HFONT body = CreateFontIndirectA(&lf);
    HGDIOBJ previous = SelectObject(dc, body);
    SIZE line = {};
    GetTextExtentPoint32A(dc, "e", 1, &line);
    const int H = line.cy;

    QlPrintStyleRec style = QlTestSampleStyle();
    RECT out;
    QlPrintCompanyHeader(dc, rt, &out, line, &style);
    const int w42 = W * 42 / 100;
    QlDrawFrame(dc, rt.right - w42, rt.top, rt.right, rt.top + 2 * H, 5);
    RECT title = {rt.right - w42, rt.top, rt.right, rt.top + 2 * H};
    DrawTextA(dc, "INVOICE", -1, &title, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    QlPrintDocBarcodeNumber(dc, "12345", rt.left, rt.top, rt.right, t->pxPerMmX, t->pxPerMmY);
    int yAfter, lastBottom, lefts[3], tops[3];
    QlDrawBoxStack(dc, rt.right - w42 + w42 / 2, rt.top + 4 * H, rt.right, rt.top + 6 * H, 5, 3, &yAfter, &lastBottom,
                   lefts, tops);
    RECT labels = {rt.right - w42, rt.top + 4 * H + 5, rt.right, rt.top + 5 * H};
    const char *labelTexts[] = {"Invoice No:", "Date:", "A/C Ref:"};
    QlPrintTextLines(dc, &labels, &line, labelTexts, 3, 2 * H);

    QlGridRec g = {};
    int percent[] = {55, 15, 15, 15, 1};
    QlGridLayout(&g, rt.left, yAfter + H, rt.right, 0, 5, 5, 2 * (H + H / 3), percent);
    style.cellMarginRight = 5;
    QlGridDrawLinesOption(dc, &g, &style);
    QlGridDrawColumnTitles(dc, &g, std::vector<const char *>{"Details", "Price", "Net", "VAT"}.data());
    QlGridDrawCellText(dc, &g, "Consulting on the new warehouse inventory system", 1, 0, DT_WORDBREAK, &style);
    QlGridDrawCellText(dc, &g, "100.00", 1, 1, DT_RIGHT, &style);
    QlGridDrawCellText(dc, &g, "100.00", 1, 2, DT_RIGHT, &style);
    QlGridDrawCellText(dc, &g, "23.00", 1, 3, DT_RIGHT, &style);

    const int y = g.rowLines[4].y1 + 3 * H;
    QlBarcodeDrawUpcA(dc, (HBRUSH)(COLOR_WINDOWFRAME + 1), rt.left, y, t->pxPerMmX, t->pxPerMmY, 1, 1, 0,
                      "03600029145", 1, NULL);
    QlBarcodeDrawEan13(dc, (HBRUSH)(COLOR_WINDOWFRAME + 1), rt.left + W / 2, y, t->pxPerMmX, t->pxPerMmY, 1, 1, 0,
                       "400638133393", NULL);
    QlPrintCompanyBlockRight(dc, &rt, &style);
    SelectObject(dc, previous);
    DeleteObject(body);
    printer.finish();

    EmfRecords page = printer.records(0);
    EXPECT_TRUE(page.hasText("INVOICE"));
    EXPECT_EQ(page.fonts.size(), (size_t)page.fontsDeleted);   // every font made was let go
    std::string artifacts = QlTestArtifactDir();
    if (!artifacts.empty()) {
        EXPECT_TRUE(printer.savePng(0, artifacts + "/print-helpers.png"));
    }
}

// Printed data is drawn as it stands: an ampersand in a name is no mnemonic.
TEST(PrintCompany, AmpersandsInNamesArePrinted)
{
    QlPrintStyleRec style = QlTestSampleStyle();
    strcpy(style.companyName, "Smith & Sons");
    MetafilePrinter printer;
    RECT out;
    QlPrintCompanyHeader(printer.dc(), {20, 50, 1020, 900}, &out, {0, 30}, &style);
    RECT area = {100, 300, 1100, 900};
    QlPrintCompanyBlockRight(printer.dc(), &area, &style);
    QlGridRec g = {};
    int percent[] = {100, 1};
    QlGridLayout(&g, 100, 1000, 1100, 0, 3, 2, 60, percent);
    QlPrintStyleRec plain = {};
    QlGridDrawCellText(printer.dc(), &g, "Pipes & Co", 1, 0, DT_LEFT, &plain);
    printer.finish();

    std::vector<std::string> texts;
    for (const auto &t : printer.records(0).texts) texts.push_back(t.text);
    EXPECT_EQ(2, std::count(texts.begin(), texts.end(), "Smith & Sons"));
    EXPECT_EQ(1, std::count(texts.begin(), texts.end(), "Pipes & Co"));
}
