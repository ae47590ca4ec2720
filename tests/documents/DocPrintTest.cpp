// The printed documents drawn into metafiles, one per page: what each page
// carries (header on page one only, "Page x of n", the continuation line,
// totals on the last page), where the totals, words and footnotes stand,
// the options, and the fronts' checks and their release of what they made.
#define NOMINMAX
#include "QlGTest.h"
#include "DocTestSupport.h"
#include "QlTestPrint.h"

#include "ui/QlMsgDialog.h"
#include "ui/QlSeams.h"
#include "documents/QlDocOutput.h"
#include "documents/QlDocPrint.h"
#include "resources/QlResTrans.h"
#include "resources/QlResTransPane.h"
#include "resources/QlResTransViews.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>
#include <algorithm>
#include <memory>

namespace {

INT_PTR CALLBACK PlainProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG;
}

// The body font's line height on the metafiles' reference device.
int BodyLineHeight()
{
    HDC screen = GetDC(NULL);
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(10, GetDeviceCaps(screen, LOGPIXELSY), 72);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(screen, font);
    SIZE size;
    GetTextExtentPoint32A(screen, "e", 1, &size);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(NULL, screen);
    return size.cy;
}

std::vector<std::vector<std::string>> ServiceRows(int n)
{
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < n; i++)
        rows.push_back({"Service line " + std::to_string(i + 1), "23.00", "0", "10.00", "0.00", "10.00", "2.30"});
    return rows;
}

// Horizontal lines of a page.
struct HLine {
    int y, x1, x2;
};
std::vector<HLine> Horizontal(const EmfRecords &page)
{
    std::vector<HLine> lines;
    for (const EmfPolyline &p : page.polylines)
        if (p.points.size() == 2 && p.points[0].y == p.points[1].y)
            lines.push_back({(int)p.points[0].y, (int)std::min(p.points[0].x, p.points[1].x),
                             (int)std::max(p.points[0].x, p.points[1].x)});
    return lines;
}

// The lowest full-width line: the line table's bottom.
int TableBottom(const EmfRecords &page, const RECT &margins)
{
    int y = -1;
    for (const HLine &l : Horizontal(page))
        if (l.x1 == margins.left && l.x2 == margins.right) y = std::max(y, l.y);
    return y;
}

bool HasLine(const EmfRecords &page, int y, int x1, int x2)
{
    for (const HLine &l : Horizontal(page))
        if (l.y == y && l.x1 == x1 && l.x2 == x2) return true;
    return false;
}

// Columns and rows of a report list view, as a form fills it.
void FillList(HWND list, int columns, const std::vector<std::vector<std::string>> &rows)
{
    for (int c = 0; c < columns; c++) {
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH;
        column.cx = 60;
        SendMessageA(list, LVM_INSERTCOLUMNA, c, (LPARAM)&column);
    }
    for (size_t r = 0; r < rows.size(); r++) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = (int)r;
        item.pszText = (char *)rows[r][0].c_str();
        SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
        for (size_t c = 1; c < rows[r].size(); c++) {
            LVITEMA sub = {};
            sub.iSubItem = (int)c;
            sub.pszText = (char *)rows[r][c].c_str();
            SendMessageA(list, LVM_SETITEMTEXTA, r, (LPARAM)&sub);
        }
    }
}

class DocPrintTest : public DocTest {
protected:
    void SetUp() override
    {
        DocTest::SetUp();
        Set(IDT_DOC_TOTAL_LABEL, "Total");
        Set(IDT_DOC_ORDER_LABEL, "Order Number:");
        strcpy(QlTaxLabel, "VAT %");
        QlDocLogoLoader = QlPictureLoadCopy;
    }
    void TearDown() override
    {
        QlSeamsReset();
        QlDocLogoLoader = QlPictureLoadCopy;
        for (HWND w : extra_) DestroyWindow(w);
        DocTest::TearDown();
    }

    // Draws the document into metafiles through the drawing core.
    std::unique_ptr<MetafilePrinter> Draw(int kind, HWND window, int lineMode = 0, QlDocPrintJob *prepared = NULL)
    {
        QlDocPrintJob job;
        if (prepared)
            job = *prepared;
        else
            QlDocPrintJobInit(&job, kind, window, lineMode);
        std::unique_ptr<MetafilePrinter> printer(new MetafilePrinter());
        EXPECT_EQ(1, QlDocPrintDraw(printer->target(), &job));
        printer->finish();
        return printer;
    }
    void Keep(const MetafilePrinter &printer, const std::string &name)
    {
        std::string dir = QlTestArtifactDir();
        if (dir.empty()) return;
        for (size_t i = 0; i < printer.pageCount(); i++)
            EXPECT_TRUE(printer.savePng(i, dir + "/" + name + "-page" + std::to_string(i + 1) + ".png"));
    }

    HWND DeliveryNote(int lines)
    {
        HWND d = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_DELIVERY_NOTE), main_.hwnd,
                                    PlainProc, 0);
        EXPECT_NE(nullptr, d);
        extra_.push_back(d);
        const char *texts[][2] = {{"1157", "A/C Ref:"},  {"1156", "Issue Date:"}, {"1280", "Order Number:"},
                                  {"1155", "Per Invoice #:"}, {"1159", "JO001"}, {"1281", "PO-77"},
                                  {"1158", "123"},            {"1184", "Delivery Note"},
                                  {"1173", "Joe's Plumbing"}, {"1028", "1 High Street"}, {"1029", "Cork"}};
        for (auto &t : texts) SetDlgItemTextA(d, atoi(t[0]), t[1]);
        std::vector<std::vector<std::string>> rows;
        for (int r = 0; r < lines; r++)
            rows.push_back({std::to_string(r + 1), "P001", "3",
                            "Copper pipe, 15 mm, in lengths of three metres ready to fit"});
        FillList(GetDlgItem(d, IDL_DN_ITEMS), 4, rows);
        return d;
    }

    HWND PaymentView(int count)
    {
        HWND v = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_PAY_FORM), main_.hwnd, PlainProc, 0);
        EXPECT_NE(nullptr, v);
        extra_.push_back(v);
        const char *texts[][2] = {{"1155", "Payment No:"}, {"1156", "Paymt Date:"}, {"1157", "A/C Ref:"},
                                  {"1158", "88"},          {"1159", "JO001"},       {"1184", "PAYMENT"},
                                  {"1173", "Joe's Plumbing"}, {"1190", "300.00"}};
        for (auto &t : texts) SetDlgItemTextA(v, atoi(t[0]), t[1]);
        std::vector<std::vector<std::string>> rows;
        for (int r = 0; r < count; r++)
            rows.push_back({std::to_string(100 + r), "1/03/2025", "Invoice", "Consulting and travel in March", "100.00",
                            "100.00"});
        FillList(GetDlgItem(v, IDL_PAY_DOCS), 6, rows);
        return v;
    }

    std::vector<HWND> extra_;
};

TEST_F(DocPrintTest, InvoicePagesNumbersAndContinuation)
{
    const int bodyHeight = -MulDiv(10, 96, 72);
    struct Case {
        int lines, pages;
    } cases[] = {{10, 1}, {11, 2}, {20, 2}, {21, 3}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.lines << " lines");
        Fill(DOC_SERVICE);
        SetLines(ServiceRows(c.lines));
        auto printer = Draw(QL_DOCK_INVOICE, form);
        ASSERT_EQ((size_t)c.pages, printer->pageCount());
        const RECT &m = printer->target()->page;
        int rowsSeen = 0;
        for (int p = 0; p < c.pages; p++) {
            EmfRecords page = printer->records(p);
            std::string number = "Page " + std::to_string(p + 1) + " of " + std::to_string(c.pages);
            const EmfText *pageNumber = page.findText(number);
            EXPECT_EQ(c.pages > 1, pageNumber != nullptr) << number;
            if (pageNumber) EXPECT_EQ(0, pageNumber->clip.top);
            const EmfText *more = page.findText("* Continued on next page *");
            EXPECT_EQ(c.pages > 1 && p < c.pages - 1, more != nullptr) << "page " << p + 1;
            if (more) EXPECT_EQ(m.bottom, more->clip.bottom);
            // The header only on page one, the totals only on the last.
            EXPECT_EQ(p == 0, page.hasText("Quillory Ltd")) << "page " << p + 1;
            EXPECT_EQ(p == 0, page.hasText("INVOICE")) << "page " << p + 1;
            EXPECT_EQ(p == c.pages - 1, page.hasText("215.25")) << "page " << p + 1;
            for (const EmfText &t : page.texts)
                if (t.text.rfind("Service line ", 0) == 0) rowsSeen++;
            // Every text in the body font; the gross label, too wide for its
            // cell at this resolution, in a smaller size of it.
            for (const EmfText &t : page.texts) {
                if (t.text.rfind("Euro /", 0) == 0 || t.text == "Gross:") {
                    EXPECT_GT(t.fontHeight, bodyHeight) << t.text;
                    EXPECT_LT(t.fontHeight, 0) << t.text;
                } else {
                    EXPECT_EQ(bodyHeight, t.fontHeight) << t.text;
                }
            }
        }
        EXPECT_EQ(c.lines, rowsSeen);
        // A later page's table starts at the top margin.
        if (c.pages > 1) EXPECT_TRUE(HasLine(printer->records(1), m.top, m.left, m.right));
        EmfRecords last = printer->records(c.pages - 1);
        EXPECT_EQ(last.fonts.size(), (size_t)last.fontsDeleted) << "every font is let go";
        if (c.lines == 11) Keep(*printer, "print-invoice-11-lines");
    }
}

TEST_F(DocPrintTest, TotalsWordsAndFootnotesStandWhereTheyBelong)
{
    Options(1);   // discount column, carriage, order number, bottom lines
    QlSettings.cfg.printTotalInWords = 1;
    QlSettings.cfg.printGridLines = 1;
    QlSettings.cfg.printRateColumn = 1;
    Fill(DOC_PRODUCT);
    auto printer = Draw(QL_DOCK_INVOICE, form, 1);
    ASSERT_EQ(1u, printer->pageCount());
    EmfRecords page = printer->records(0);
    const RECT &m = printer->target()->page;
    const int H = BodyLineHeight(), rowHeight = 2 * (H + H / 3);

    // The totals block from the Unit Price column's left line, 15 under the
    // table, and its copy 5 right and 5 down; three rows with carriage.
    const int bottom = TableBottom(page, m);
    const int W = m.right - m.left;
    const int x0 = m.left + W * 8 / 100 + W * 16 / 100 + W * 7 / 100 + W * 11 / 100;
    EXPECT_TRUE(HasLine(page, bottom + 15, x0, m.right));
    EXPECT_TRUE(HasLine(page, bottom + 15 + 3 * rowHeight, x0, m.right));
    EXPECT_TRUE(HasLine(page, bottom + 20, x0 + 5, m.right + 5));
    const int copyBottom = bottom + 20 + 3 * rowHeight;
    EXPECT_TRUE(HasLine(page, copyBottom, x0 + 5, m.right + 5));
    for (const char *text : {"Total", "Carriage", "10.00", "170.00", "39.10", "5.00", "1.15"})
        EXPECT_TRUE(page.hasText(text)) << text;
    // The gross label, too wide for its narrow cell, whole in it: above the
    // first copy's line, which runs 5 above the cell's own.
    std::string grossLabel;
    for (const EmfText &t : page.texts)
        if (t.x == x0 + 5 + 10 && t.y > bottom + 20 + 2 * rowHeight && t.y < copyBottom) {
            grossLabel += t.text;   // a wrapped line keeps its blank
            EXPECT_LE(t.y + abs(t.fontHeight) * 1117 / 1000, copyBottom - 5) << t.text;
        }
    EXPECT_EQ("Euro / Gross:", grossLabel);
    const EmfText *gross = page.findText("215.25");
    ASSERT_NE(nullptr, gross);
    EXPECT_EQ(bottom + 20 + 2 * rowHeight + 10, gross->clip.top);

    // The words box on the copy's bottom line, from L to R + 5.
    EXPECT_TRUE(HasLine(page, copyBottom, m.left, m.right + 5));
    const EmfText *words = page.findText("Euro / Gross:  Two Hundred Fifteen .25 Only");
    ASSERT_NE(nullptr, words);
    EXPECT_EQ(copyBottom + 10, words->clip.top);

    // Four header boxes with the order number.
    EXPECT_TRUE(page.hasText("Order Number:"));
    EXPECT_TRUE(page.hasText("PO-77"));

    // The footnotes at their fixed place in their own point size; the empty
    // lines take their step too.
    const EmfText *first = page.findText("Payment within 30 days");
    const EmfText *second = page.findText("Bank: IE00 BANK 1234");
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(-MulDiv(7, 96, 72), first->fontHeight);
    const int footH = second->y - first->y - 1;
    EXPECT_EQ(m.bottom - 7 * (footH + 1) + footH, first->y);
    EXPECT_EQ(m.left, first->x);
    Keep(*printer, "print-invoice-options");

    // Words only in English.
    QlSettings.cfg.language = 1;
    auto german = Draw(QL_DOCK_INVOICE, form, 1);
    for (const EmfText &t : german->records(0).texts) EXPECT_EQ(std::string::npos, t.text.find("Only")) << t.text;
}

TEST_F(DocPrintTest, ADocumentWithoutLinesPrintsAnEmptyTableAndItsTotals)
{
    Fill(DOC_SERVICE);
    SetLines({});
    Set(IDT_DOC_GROSS, "6.15");
    auto printer = Draw(QL_DOCK_INVOICE, form);
    ASSERT_EQ(1u, printer->pageCount());
    EmfRecords page = printer->records(0);
    const RECT &m = printer->target()->page;
    const int H = BodyLineHeight(), rowHeight = 2 * (H + H / 3);
    const int bottom = TableBottom(page, m);
    ASSERT_GT(bottom, m.top);
    // The table: its title row and one empty row.
    EXPECT_TRUE(HasLine(page, bottom - 2 * rowHeight, m.left, m.right));
    EXPECT_TRUE(page.hasText("Details"));
    const int W = m.right - m.left;
    EXPECT_TRUE(HasLine(page, bottom + 15, m.left + W * 55 / 100, m.right)) << "hanging from the Price column";
    EXPECT_TRUE(page.hasText("6.15"));
}

TEST_F(DocPrintTest, ColumnTitlesTooWideForTheirCellsAreSetSmallerNeverCut)
{
    QlSettings.cfg.printRateColumn = 1;
    QlSettings.cfg.printDiscountColumn = 1;
    strcpy(QlTaxLabel, "Mehrwertsteuersatz");
    Fill(DOC_SERVICE);
    auto printer = Draw(QL_DOCK_INVOICE, form);
    EmfRecords page = printer->records(0);
    const RECT &m = printer->target()->page;
    const int W = m.right - m.left;
    const int rateLeft = m.left + W * 28 / 100, priceLeft = rateLeft + W * 12 / 100;
    const EmfText *title = page.findText("Mehrwertsteuersatz");
    ASSERT_TRUE(title) << page.allText();
    EXPECT_EQ(rateLeft + 10, title->x);
    EXPECT_LE(title->right, priceLeft - 10);
    const EmfText *details = page.findText("Details");
    ASSERT_TRUE(details);
    EXPECT_LT(abs(title->fontHeight), abs(details->fontHeight)) << "a smaller size of the body font";
    EXPECT_EQ(details->fontFace, title->fontFace);
    EXPECT_EQ(details->y, title->y);
    EXPECT_EQ(page.fonts.size(), (size_t)page.fontsDeleted);
}

TEST_F(DocPrintTest, CreditNoteHasThreeBoxesAndItsOwnTotals)
{
    Options(1);
    QlSettings.cfg.printTotalInWords = 1;
    Fill(DOC_CREDIT);
    Set(IDT_DOC_TAX, "25.00");
    Set(IDT_DOC_CARRIAGE_TAX, "5.75");
    Set(IDT_DOC_GROSS_LABEL, "Euro / Total:");
    auto printer = Draw(QL_DOCK_CREDIT, form);
    EmfRecords page = printer->records(0);
    const RECT &m = printer->target()->page;
    EXPECT_FALSE(page.hasText("Order Number:"));
    EXPECT_FALSE(page.hasText("PO-77"));
    for (const char *text : {"Details", "Amount", "VAT", "Returned pipe", "Total:", "25.00", "5.75", "Gross",
                             "30.75"})
        EXPECT_TRUE(page.hasText(text)) << text;
    for (const EmfText &t : page.texts) {
        EXPECT_EQ(std::string::npos, t.text.find("Only")) << t.text;
        EXPECT_NE("Payment within 30 days", t.text);
    }
    // One Amount column's width left of the Amount column: 55 % of the width.
    const int W = m.right - m.left;
    EXPECT_TRUE(HasLine(page, TableBottom(page, m) + 15, m.left + W * 70 / 100 - W * 15 / 100, m.right));
    Keep(*printer, "print-credit-note");
}

TEST_F(DocPrintTest, QuotationTitleAndColumns)
{
    Options(1);
    QlSettings.cfg.printTotalInWords = 1;
    QlSettings.cfg.printRateColumn = 1;
    QlSettings.cfg.printBarcode = 1;
    Fill(DOC_QUOTE);
    Set(IDT_DOC_TITLE, "SOMETHING ELSE");
    auto printer = Draw(QL_DOCK_QUOTE, form, 1);
    EmfRecords page = printer->records(0);
    const RECT &m = printer->target()->page;
    const int W = m.right - m.left;
    // The heading of the language, inside a frame a third of the width wide.
    const EmfText *title = page.findText("QUOTATION");
    ASSERT_NE(nullptr, title);
    EXPECT_GE(title->x, m.right - W / 3);
    EXPECT_GE(title->y, m.top);
    EXPECT_LE(title->y, m.top + 2 * BodyLineHeight());
    EXPECT_FALSE(page.hasText("SOMETHING ELSE"));
    EXPECT_FALSE(page.hasText("Order Number:"));
    EXPECT_FALSE(page.hasText("Payment within 30 days"));
    EXPECT_TRUE(page.hasText("Carriage"));
    EXPECT_TRUE(page.hasText("VAT%"));
    // The barcode's bars between the company block and the title frame.
    int bars = 0;
    for (const RECT &f : page.fills) {
        bars++;
        EXPECT_GE(f.left, m.left + W * 37 / 100);
        EXPECT_LE(f.right, m.right - W / 3);
    }
    EXPECT_GT(bars, 20);
    Keep(*printer, "print-quotation");
}

TEST_F(DocPrintTest, DeliveryNoteSixteenLinesAPageThenReceiptAndSignature)
{
    struct Case {
        int lines, pages;
    } cases[] = {{16, 1}, {17, 2}, {0, 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.lines << " lines");
        HWND note = DeliveryNote(c.lines);
        auto printer = Draw(QL_DOCK_DELIVERY, note);
        ASSERT_EQ((size_t)c.pages, printer->pageCount());
        const RECT &m = printer->target()->page;
        EmfRecords first = printer->records(0);
        EXPECT_TRUE(first.hasText("Delivery Note"));
        EXPECT_TRUE(first.hasText("Per Invoice #:"));
        EXPECT_TRUE(first.hasText("PO-77"));
        EXPECT_EQ(c.pages > 1, first.hasText("* Continued on next page *"));
        EmfRecords last = printer->records(c.pages - 1);
        const int H = BodyLineHeight(), rowHeight = std::max(H + H / 3, H + 12);
        const EmfText *receipt = last.findText("Goods received in good order");
        ASSERT_NE(nullptr, receipt);
        // The receipt frame two rows under the table, one row high.
        int tableBottom = -1;
        for (const HLine &l : Horizontal(last))
            if (l.x1 == m.left && l.x2 == m.right && l.y < receipt->clip.top) tableBottom = std::max(tableBottom, l.y);
        EXPECT_EQ(tableBottom + 2 * rowHeight, receipt->clip.top);
        EXPECT_EQ(tableBottom + 3 * rowHeight, receipt->clip.bottom);
        EXPECT_TRUE(HasLine(last, tableBottom + 3 * rowHeight, m.left, m.right));
        EXPECT_TRUE(HasLine(last, tableBottom + 5 * rowHeight, m.left, m.right));
        for (const char *text : {"Name:", "Signed:", "Date:"}) EXPECT_TRUE(last.hasText(text)) << text;
        if (c.pages > 1) {
            EXPECT_TRUE(HasLine(last, m.top, m.left, m.right));
            EXPECT_FALSE(last.hasText("Delivery Note"));
        }
        if (c.lines == 17) Keep(*printer, "print-delivery-note");
    }
}

TEST_F(DocPrintTest, PaymentRowsAndTotal)
{
    HWND view = PaymentView(3);
    QlDocPrintJob job;
    QlDocPrintJobInit(&job, QL_DOCK_PAYMENT, view, 0);
    strcpy(job.acref, "JO001");
    strcpy(job.address[0], "1 High Street");
    strcpy(job.address[1], "Cork");
    auto printer = Draw(QL_DOCK_PAYMENT, view, 0, &job);
    ASSERT_EQ(1u, printer->pageCount());
    EmfRecords page = printer->records(0);
    const RECT &m = printer->target()->page;
    for (const char *text : {"PAYMENT", "Payment No:", "88", "JO001", "From:", "Joe's Plumbing", "1 High Street",
                             "Cork", "Invoice No:", "Details", "Amount", "100", "102", "Total", "300.00"})
        EXPECT_TRUE(page.hasText(text)) << text;
    EXPECT_FALSE(page.hasText("Quillory Ltd")) << "no company block";
    // The totals: one amount column left of the amount column, 15 under the
    // table, its copy 5 right and 5 down with the right edge kept.
    const int W = m.right - m.left;
    const int x2 = m.left + W * 20 / 100 + W * 60 / 100, x3 = x2 + W * 20 / 100;
    const int bottom = TableBottom(page, m);
    EXPECT_TRUE(HasLine(page, bottom + 15, x2 - (x3 - x2), m.right));
    EXPECT_TRUE(HasLine(page, bottom + 20, x2 - (x3 - x2) + 5, m.right));
    Keep(*printer, "print-payment");

    HWND many = PaymentView(11);
    job.form = many;
    auto two = Draw(QL_DOCK_PAYMENT, many, 0, &job);
    ASSERT_EQ(2u, two->pageCount());
    EXPECT_TRUE(two->records(0).hasText("Page 1 of 2"));
    EXPECT_TRUE(two->records(1).hasText("Page 2 of 2"));
    EXPECT_FALSE(two->records(1).hasText("From:"));
    EXPECT_TRUE(two->records(1).hasText("300.00"));
}

// ---------------------------------------------------------------------------
// The fronts

int gDialogs;
HDC gDialogDc;
BOOL WINAPI AnswerPrintDialog(LPPRINTDLGA pd)
{
    gDialogs++;
    pd->hDC = gDialogDc;
    return gDialogDc != NULL;
}

std::vector<HBITMAP> gLogos;
HBITMAP MakeLogo(const char *, QlPictureSizeRec *size)
{
    HDC screen = GetDC(NULL);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 20);
    ReleaseDC(NULL, screen);
    size->width = 40;
    size->height = 20;
    gLogos.push_back(bitmap);
    return bitmap;
}
HBITMAP NoLogo(const char *, QlPictureSizeRec *)
{
    return NULL;
}

TEST_F(DocPrintTest, FrontsCheckTheFormBeforeTheDialog)
{
    QlSeamPrintDialog = AnswerPrintDialog;
    gDialogDc = NULL;
    struct Case {
        int kind;
        const char *acref, *gross;
        const char *caption, *text;   // NULL: no message, the dialog opens
    } cases[] = {
        {QL_DOCK_INVOICE, "", "0.00", "Missing Account Number", "Please Select Customer Account Number"},
        {QL_DOCK_INVOICE, "JO001", "0.00", "Error", "No form items"},
        {QL_DOCK_INVOICE, "JO001", "0.0", NULL, NULL},
        {QL_DOCK_CREDIT, "", "30.75", "Missing Account Number", "Please Select Customer Account Number"},
        {QL_DOCK_CREDIT, "JO001", "0.00", "Error", "No form items"},
        {QL_DOCK_QUOTE, "", "0.00", "Missing Account Number", "Please Select Customer Account Number"},
        {QL_DOCK_QUOTE, "JO001", "0.00", "Error", "No form items"},
        {QL_DOCK_QUOTE, "JO001", "5.00", NULL, NULL},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << " '" << c.acref << "' " << c.gross);
        Fill(c.kind == QL_DOCK_CREDIT ? DOC_CREDIT : DOC_SERVICE);
        Set(IDT_DOC_ACREF, c.acref);
        Set(IDT_DOC_GROSS, c.gross);
        gMailShown.clear();
        gDialogs = 0;
        if (c.kind == QL_DOCK_INVOICE) QlInvPrint(form, 0, 0);
        if (c.kind == QL_DOCK_CREDIT) QlCreditPrint(form);
        if (c.kind == QL_DOCK_QUOTE) QlQuotePrint(form, 0);
        EXPECT_EQ(c.caption ? 0 : 1, gDialogs);
        ASSERT_EQ(c.caption ? 1u : 0u, gMailShown.size());
        if (c.caption) {
            EXPECT_EQ(c.caption, gMailShown[0].caption);
            EXPECT_EQ(c.text, gMailShown[0].text);
            EXPECT_EQ(QL_COLOUR_WARNING, gMailShown[0].colour);
        }
    }

    // The payment looks its account up, quoted: an apostrophe finds its own
    // account and no other.
    QlCustRec quoted = {};
    strcpy(quoted.acref, "O'B1");
    strcpy(quoted.company, "O'Brien's");
    ASSERT_EQ(1, QlCustAdd(&quoted, err)) << err;
    HWND view = PaymentView(1);
    struct PayCase {
        const char *acref;
        bool found;
    } pays[] = {{"O'B1", true}, {"", false}, {"NO999", false}, {"J' or", false}};
    for (const PayCase &c : pays) {
        SetDlgItemTextA(view, IDT_PAY_ACREF, c.acref);
        gMailShown.clear();
        gDialogs = 0;
        QlPayPrint(view);
        EXPECT_EQ(c.found ? 1 : 0, gDialogs) << c.acref;
        ASSERT_EQ(c.found ? 0u : 1u, gMailShown.size()) << c.acref;
        if (!c.found) EXPECT_EQ("Customer account does not exist", gMailShown[0].text);
    }
}

TEST_F(DocPrintTest, EveryEarlyEndReleasesTheLogoAndTheDevice)
{
    QlSeamPrintDialog = AnswerPrintDialog;
    QlSettings.cfg.printLogo = 1;
    strcpy(QlSettings.cfg.logoPath, "logo.bmp");
    Fill(DOC_SERVICE);
    HWND note = DeliveryNote(2);

    // A logo that cannot be loaded is reported and the print goes on.
    QlDocLogoLoader = NoLogo;
    gDialogDc = NULL;
    gDialogs = 0;
    gMailShown.clear();
    QlInvPrint(form, 0, 0);
    ASSERT_EQ(1u, gMailShown.size());
    EXPECT_EQ("Failed to load logo bitmap! Logo shall not be printed", gMailShown[0].text);
    EXPECT_EQ(1, gDialogs);

    // Cancelled, or a device that cannot start the document: the logo
    // bitmap and the device context are let go.
    QlDocLogoLoader = MakeLogo;
    for (int cancelled = 1; cancelled >= 0; cancelled--) {
        for (int which = 0; which < 3; which++) {
            gLogos.clear();
            gDialogDc = cancelled ? NULL : CreateCompatibleDC(NULL);
            HDC dc = gDialogDc;
            if (which == 0) EXPECT_EQ(0, QlInvPrint(form, 0, 0));
            if (which == 1) EXPECT_EQ(0, QlQuotePrint(form, 0));
            if (which == 2) EXPECT_EQ(0, QlDeliveryNotePrint(note));
            ASSERT_EQ(1u, gLogos.size());
            EXPECT_EQ(0u, GetObjectType(gLogos[0])) << cancelled << " " << which;
            if (dc) EXPECT_EQ(0u, GetObjectType(dc)) << "device context deleted";
        }
    }

    // Drawn: the logo on page one, the memory device context gone, the
    // bitmap the job's to delete.
    gLogos.clear();
    QlDocPrintJob job;
    QlDocPrintJobInit(&job, QL_DOCK_INVOICE, form, 0);
    job.logo = MakeLogo("", &job.logoSize);
    auto printer = Draw(QL_DOCK_INVOICE, form, 0, &job);
    ASSERT_EQ(1u, printer->records(0).bitmaps.size());
    EXPECT_EQ(printer->target()->page.left, printer->records(0).bitmaps[0].dest.left);
    EXPECT_EQ(0, printer->records(0).bitmaps[0].dest.top);
    DeleteObject(job.logo);
}

}  // namespace

// A description of 79 characters in long words, as a product catalogue has them.
const char kLongDescription[] = "KIDS' SAFETY GOGGLES (EN166) WITH ANTI-FOG COATING AND ADJUSTABLE ELASTIC STRAP";

static void SetColumnText(HWND list, int row, int column, const char *text)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = (char *)text;
    SendMessageA(list, LVM_SETITEMTEXTA, row, (LPARAM)&item);
}

TEST_F(DocPrintTest, LongDescriptionsAreDrawnWholeInRowsThatGrowAndPagesStillBreakRight)
{
    QlSettings.cfg.printRateColumn = 1;
    QlSettings.cfg.printDiscountColumn = 1;
    QlSettings.cfg.printGridLines = 1;
    // wide: the description's column takes its longest word in the body
    // size; in a narrower one the whole description is set smaller.
    struct Case {
        const char *name;
        int kind, lineMode;
        int rows;
        bool wide;
    } cases[] = {
        {"invoice-product", QL_DOCK_INVOICE, 1, 10, false}, {"invoice-service", QL_DOCK_INVOICE, 0, 10, true},
        {"credit", QL_DOCK_CREDIT, 0, 3, false},            {"quotation", QL_DOCK_QUOTE, 1, 3, false},
        {"delivery", QL_DOCK_DELIVERY, 1, 16, true},        {"payment", QL_DOCK_PAYMENT, 0, 3, true},
    };
    const int body = -MulDiv(10, 96, 72);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        HWND window = form;
        HWND list = NULL;
        int column = 0;
        if (c.kind == QL_DOCK_DELIVERY) {
            window = DeliveryNote(c.rows);
            list = GetDlgItem(window, IDL_DN_ITEMS);
            column = 3;
        } else if (c.kind == QL_DOCK_PAYMENT) {
            window = PaymentView(c.rows);
            list = GetDlgItem(window, IDL_PAY_DOCS);
            column = 3;
        } else {
            Fill(c.kind == QL_DOCK_CREDIT ? DOC_CREDIT : c.kind == QL_DOCK_QUOTE ? DOC_QUOTE
                 : c.lineMode == 1       ? DOC_PRODUCT
                                         : DOC_SERVICE);
            const std::vector<std::string> &model =
                c.kind == QL_DOCK_CREDIT ? kCreditRows[0] : c.lineMode == 1 ? kProdRows[0] : kServRows[0];
            SetLines(std::vector<std::vector<std::string>>(c.rows, model));
            list = GetDlgItem(form, IDL_DOC_LINES);
            column = c.lineMode == 1 && c.kind != QL_DOCK_CREDIT ? 1 : 0;
        }
        for (int r = 0; r < c.rows; r++) SetColumnText(list, r, column, kLongDescription);

        auto printer = Draw(c.kind, window, c.lineMode);
        const RECT &m = printer->target()->page;
        const int pages = (int)printer->pageCount();
        int seen = 0;
        for (int p = 0; p < pages; p++) {
            SCOPED_TRACE(testing::Message() << "page " << p + 1);
            EmfRecords page = printer->records(p);
            // Every description on the page whole, no rule through it.
            for (size_t i = 0; i < page.texts.size(); i++) {
                if (page.texts[i].text.rfind("KIDS'", 0) != 0) continue;
                EmfRecords rest = page;
                rest.texts.erase(rest.texts.begin(), rest.texts.begin() + (long)i);
                EXPECT_EQ("", QlTestCellTextProblem(rest, kLongDescription));
                if (c.wide) EXPECT_EQ(body, page.texts[i].fontHeight);
                seen++;
            }
            if (pages > 1) {
                const std::string number = "Page " + std::to_string(p + 1) + " of " + std::to_string(pages);
                EXPECT_TRUE(page.hasText(number)) << number;
            }
            if (p < pages - 1) {
                // The table ends above the continuation line.
                EXPECT_TRUE(page.hasText("* Continued on next page *"));
                for (const HLine &l : Horizontal(page))
                    if (l.x1 == m.left && l.x2 == m.right) EXPECT_LE(l.y, m.bottom - BodyLineHeight());
            }
        }
        EXPECT_EQ(c.rows, seen);
        Keep(*printer, std::string("print-long-") + c.name);
    }
}
