// The PDF documents read back with poppler and python3-fitz: A4 pages, the
// title and header boxes where they belong, the type sizes, page numbers and
// the continuation line, the totals; the save dialog and its answers; the
// credit note's PDF command with its messages.
#define NOMINMAX
#include "QlGTest.h"
#include "DocTestSupport.h"
#include "QlTestPdf.h"
#include "QlTestPlatform.h"
#include "QlTestPrint.h"
#include "picture/PictureFixtures.h"

#include "ui/QlAppState.h"
#include "ui/QlSeams.h"
#include "documents/QlDocOutput.h"
#include "resources/QlResTrans.h"
#include "settings/QlSettings.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <sstream>

namespace {

std::vector<std::vector<std::string>> Rows(int n)
{
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < n; i++)
        rows.push_back({"Service line " + std::to_string(i + 1), "23.00", "0", "10.00", "0.00", "10.00", "2.30"});
    return rows;
}

bool Near(double a, double b)
{
    return fabs(a - b) < 0.05;
}

bool HasRect(const std::vector<PdfShape> &shapes, int page, double x0, double y0, double x1, double y1)
{
    for (const PdfShape &s : shapes)
        if (s.page == page && s.kind == "rect" && Near(s.x0, x0) && Near(s.y0, y0) && Near(s.x1, x1) && Near(s.y1, y1))
            return true;
    return false;
}

bool HasHLine(const std::vector<PdfShape> &shapes, int page, double y, double x0, double x1)
{
    for (const PdfShape &s : shapes)
        if (s.page == page && s.kind == "line" && Near(s.y0, y) && Near(s.y1, y) &&
            Near(std::min(s.x0, s.x1), x0) && Near(std::max(s.x0, s.x1), x1))
            return true;
    return false;
}

const PdfWord *Word(const std::vector<PdfWord> &words, const std::string &text, int page = 1)
{
    for (const PdfWord &w : words)
        if (w.page == page && w.text == text) return &w;
    return nullptr;
}

// Every text span's font size by page (python3-fitz).
std::vector<std::pair<int, double>> SpanSizes(const std::string &pdf)
{
    const char *source = getenv("QL_SOURCE_DIR");
    std::string out = QlTestRun("/usr/bin/python3 " + std::string(source ? source : ".") +
                                "/tests/documents/pdf_font_sizes.py '" + pdf + "' 2>/dev/null");
    std::vector<std::pair<int, double>> sizes;
    std::istringstream in(out);
    int page;
    double size;
    std::string rest;
    while (in >> page >> size && std::getline(in, rest)) sizes.push_back({page, size});
    return sizes;
}

OPENFILENAMEA gSeen;
std::string gSeenFilter, gSeenTitle, gSeenFile, gAnswer;
int gAsked;
BOOL WINAPI AnswerSave(LPOPENFILENAMEA ofn)
{
    gAsked++;
    gSeen = *ofn;
    const char *f = ofn->lpstrFilter;
    gSeenFilter.clear();
    while (f && *f) {
        gSeenFilter += std::string(f) + "|";
        f += strlen(f) + 1;
    }
    gSeenTitle = ofn->lpstrTitle ? ofn->lpstrTitle : "";
    gSeenFile = ofn->lpstrFile;
    if (gAnswer.empty()) return FALSE;
    lstrcpynA(ofn->lpstrFile, gAnswer.c_str(), ofn->nMaxFile);
    return TRUE;
}

std::vector<std::string> gBoxes;
int WINAPI RecordBox(HWND, LPCSTR text, LPCSTR, UINT)
{
    gBoxes.push_back(text ? text : "");
    return IDOK;
}

class DocPdfTest : public DocTest {
protected:
    void SetUp() override
    {
        DocTest::SetUp();
        strcpy(savedWorkDir_, QlWorkDir);
        lstrcpynA(QlWorkDir, folder.c_str(), sizeof QlWorkDir);
        strcpy(QlTaxLabel, "VAT %");
        QlSeamGetSaveFileName = AnswerSave;
        QlSeamMessageBox = RecordBox;
        gAsked = 0;
        gAnswer.clear();
        gBoxes.clear();
    }
    void TearDown() override
    {
        QlSeamsReset();
        strcpy(QlWorkDir, savedWorkDir_);
        DocTest::TearDown();
    }
    std::string Native(const std::string &name) { return DbTestNativePath(folder + "\\" + name); }
    void Keep(const std::string &pdf, int pages, const std::string &name)
    {
        std::string dir = QlTestArtifactDir();
        if (dir.empty()) return;
        for (int p = 1; p <= pages; p++)
            EXPECT_TRUE(QlTestPdfToPng(pdf, p, 110, dir + "/" + name + "-page" + std::to_string(p) + ".png"));
    }
    char savedWorkDir_[MAX_PATH];
};

TEST_F(DocPdfTest, InvoiceBoxesOnA4)
{
    Fill(DOC_SERVICE);
    char path[QL_DOC_PATH_SIZE] = "";
    int status = -1;
    ASSERT_EQ(1, QlInvSavePdf(form, 0, path, 0, &status));
    EXPECT_EQ(QL_PDF_STATUS_OK, status);
    EXPECT_STREQ("INVOICE123.pdf", path);
    const std::string pdf = Native("INVOICE123.pdf");
    PdfInfo info;
    ASSERT_TRUE(QlTestPdfInfo(pdf, &info));
    EXPECT_EQ(1, info.pages);
    EXPECT_NEAR(595.28, info.width, 0.01);
    EXPECT_NEAR(841.89, info.height, 0.01);
    EXPECT_TRUE(QlTestPdfCheck(pdf));

    std::vector<PdfShape> shapes = QlTestPdfShapes(pdf);
    EXPECT_TRUE(HasRect(shapes, 1, 333.74, 744.89, 523.28, 769.89)) << "title box";
    for (double bottom : {694.89, 657.39, 619.89})
        EXPECT_TRUE(HasRect(shapes, 1, 428.51, bottom, 523.28, bottom + 25)) << "value box at " << bottom;
    EXPECT_FALSE(HasRect(shapes, 1, 428.51, 582.39, 523.28, 607.39));
    EXPECT_TRUE(HasHLine(shapes, 1, 589.89, 72, 523)) << "the table's top";
    for (const PdfShape &s : shapes)
        if (s.kind == "rect" && Near(s.x0, 428.51)) EXPECT_NEAR(1.5, s.width, 0.01);

    std::vector<PdfWord> words = QlTestPdfWords(pdf);
    const PdfWord *title = Word(words, "INVOICE");
    ASSERT_NE(nullptr, title);
    EXPECT_GT(title->x0, 333.74);
    EXPECT_LT(title->x1, 523.28);
    EXPECT_GT(title->y0, 744.89);
    EXPECT_LT(title->y1, 769.89);
    EXPECT_NEAR((title->x0 + title->x1) / 2, (333.74 + 523.28) / 2, 1.0) << "centred";
    const PdfWord *number = Word(words, "123");
    ASSERT_NE(nullptr, number);
    EXPECT_NEAR(433.51, number->x0, 0.5);
    EXPECT_GT(number->y0, 694.89);
    for (const char *text : {"Consulting", "Travel", "170.00", "39.10", "215.25", "Total", "JO001"})
        EXPECT_NE(nullptr, Word(words, text)) << text;
    EXPECT_EQ(nullptr, Word(words, "PO-77")) << "no order number row without the option";
    Keep(pdf, 1, "pdf-invoice");

    // The order-number row: a fourth box and the table 37.5 points lower.
    QlSettings.cfg.printOrderNumber = 1;
    ASSERT_EQ(1, QlInvSavePdf(form, 0, path, 0, &status));
    shapes = QlTestPdfShapes(pdf);
    EXPECT_TRUE(HasRect(shapes, 1, 428.51, 582.39, 523.28, 607.39));
    EXPECT_TRUE(HasHLine(shapes, 1, 552.89, 72, 523));
    EXPECT_NE(nullptr, Word(QlTestPdfWords(pdf), "PO-77"));

    // A long company block pushes the table under the recipient's box.
    QlSettings.cfg.printOrderNumber = 0;
    QlSettings.cfg.printTaxNumber = 1;   // the seventh line
    ASSERT_EQ(1, QlInvSavePdf(form, 0, path, 0, &status));
    EXPECT_TRUE(HasHLine(QlTestPdfShapes(pdf), 1, 569.89, 72, 523));
}

TEST_F(DocPdfTest, PagesTypeSizesAndTotals)
{
    Options(1);
    QlSettings.cfg.printTotalInWords = 1;
    Fill(DOC_SERVICE);
    SetLines(Rows(11));
    char path[QL_DOC_PATH_SIZE];
    int status;
    ASSERT_EQ(1, QlInvSavePdf(form, 0, path, 0, &status));
    const std::string pdf = Native("INVOICE123.pdf");
    PdfInfo info;
    ASSERT_TRUE(QlTestPdfInfo(pdf, &info));
    ASSERT_EQ(2, info.pages);
    const std::string one = QlTestPdfText(pdf, 1), two = QlTestPdfText(pdf, 2);
    EXPECT_NE(std::string::npos, one.find("Page 1 of 2"));
    EXPECT_NE(std::string::npos, one.find("* Continued on next page *"));
    EXPECT_NE(std::string::npos, one.find("Quillory Ltd"));
    EXPECT_EQ(std::string::npos, one.find("215.25"));
    EXPECT_NE(std::string::npos, two.find("Page 2 of 2"));
    EXPECT_EQ(std::string::npos, two.find("Continued"));
    EXPECT_EQ(std::string::npos, two.find("Quillory Ltd"));
    EXPECT_NE(std::string::npos, two.find("Service line 11"));
    EXPECT_EQ(std::string::npos, two.find("Service line 10"));
    EXPECT_NE(std::string::npos, two.find("215.25"));
    EXPECT_NE(std::string::npos, two.find("Carriage"));
    EXPECT_NE(std::string::npos, two.find("Two Hundred Fifteen .25 Only"));
    EXPECT_NE(std::string::npos, two.find("Payment within 30 days"));

    // 9 points on page one, 10 on the next.
    int counted[3] = {0, 0, 0};
    for (const auto &span : SpanSizes(pdf)) {
        ASSERT_TRUE(span.first == 1 || span.first == 2);
        EXPECT_DOUBLE_EQ(span.first == 1 ? 9.0 : 10.0, span.second) << "page " << span.first;
        counted[span.first]++;
    }
    EXPECT_GT(counted[1], 20);
    EXPECT_GT(counted[2], 5);

    // The page number at the top right, the continuation under the margin.
    std::vector<PdfWord> words = QlTestPdfWords(pdf);
    const PdfWord *of = Word(words, "2", 1);
    for (const PdfWord &w : words)
        if (w.page == 1 && w.text == "2" && w.y1 > 800) of = &w;
    ASSERT_NE(nullptr, of);
    EXPECT_NEAR(523.28, of->x1, 1.0);
    const PdfWord *continued = Word(words, "Continued", 1);
    ASSERT_NE(nullptr, continued);
    EXPECT_LT(continued->y1, 72.5);
    Keep(pdf, 2, "pdf-invoice-11-lines");

    // The quotation is set in 10 points from its first page.
    Fill(DOC_QUOTE);
    SetLines(Rows(11));
    ASSERT_EQ(1, QlQuoteSavePdf(form, 0, path, 0, &status));
    for (const auto &span : SpanSizes(Native("QUOTATION45.pdf"))) EXPECT_DOUBLE_EQ(10.0, span.second);
}

TEST_F(DocPdfTest, ColumnTitlesTooWideForTheirCellsAreSetSmallerNeverCut)
{
    QlSettings.cfg.printRateColumn = 1;
    QlSettings.cfg.printDiscountColumn = 1;
    strcpy(QlTaxLabel, "Mehrwertsteuersatz");
    Fill(DOC_SERVICE);
    char path[QL_DOC_PATH_SIZE];
    int status;
    ASSERT_EQ(1, QlInvSavePdf(form, 0, path, 0, &status));
    const std::string pdf = Native("INVOICE123.pdf");
    std::vector<PdfWord> words = QlTestPdfWords(pdf);
    const PdfWord *title = Word(words, "Mehrwertsteuersatz");
    ASSERT_NE(nullptr, title) << QlTestPdfText(pdf);
    // The next title on its line starts 2 points right of the next column line.
    const PdfWord *next = nullptr;
    for (const PdfWord &w : words)
        if (w.page == 1 && fabs(w.y0 - title->y0) < 2 && w.x0 > title->x0 && (!next || w.x0 < next->x0)) next = &w;
    ASSERT_NE(nullptr, next);
    EXPECT_LE(title->x1, next->x0 - 4 + 0.5) << "inside its cell, 2 points from each line";
    double titleSize = 0, bodySize = 0;
    const char *source = getenv("QL_SOURCE_DIR");
    std::istringstream in(QlTestRun("/usr/bin/python3 " + std::string(source ? source : ".") +
                                    "/tests/documents/pdf_font_sizes.py '" + pdf + "' 2>/dev/null"));
    int page;
    double size;
    std::string text;
    while (in >> page >> size && std::getline(in, text)) {
        if (text == " Mehrwertsteuersatz") titleSize = size;
        if (text == " Details") bodySize = size;
    }
    EXPECT_GT(bodySize, 0);
    EXPECT_GT(titleSize, 0);
    EXPECT_LT(titleSize, bodySize);
}

TEST_F(DocPdfTest, CreditNoteAndQuotationBoxes)
{
    Options(1);
    QlSettings.cfg.printTotalInWords = 1;
    Fill(DOC_CREDIT);
    Set(IDT_DOC_TAX, "25.00");
    Set(IDT_DOC_CARRIAGE_TAX, "5.75");
    char path[QL_DOC_PATH_SIZE];
    int status;
    ASSERT_EQ(1, QlCreditSavePdf(form, path, 0, &status));
    EXPECT_STREQ("CREDIT NOTE7.pdf", path);
    std::string pdf = Native(path);
    std::vector<PdfShape> shapes = QlTestPdfShapes(pdf);
    EXPECT_TRUE(HasRect(shapes, 1, 372.85, 744.89, 523.28, 769.89));
    for (double bottom : {694.89, 657.39, 619.89})
        EXPECT_TRUE(HasRect(shapes, 1, 448.06, bottom, 523.28, bottom + 25)) << bottom;
    EXPECT_FALSE(HasRect(shapes, 1, 448.06, 582.39, 523.28, 607.39));
    std::string text = QlTestPdfText(pdf);
    for (const char *t : {"CREDIT NOTE", "Returned pipe", "Amount", "(Euro)", "Euro / Gross", "25.00", "5.75", "30.75"})
        EXPECT_NE(std::string::npos, text.find(t)) << t;
    EXPECT_EQ(std::string::npos, text.find("Only"));
    EXPECT_EQ(std::string::npos, text.find("Payment within"));
    EXPECT_EQ(std::string::npos, text.find("Carriage"));
    Keep(pdf, 1, "pdf-credit-note");

    Fill(DOC_QUOTE);
    Set(IDT_DOC_TITLE, "INVOICE");
    ASSERT_EQ(1, QlQuoteSavePdf(form, 1, path, 0, &status));
    EXPECT_STREQ("QUOTATION45.pdf", path);
    pdf = Native(path);
    shapes = QlTestPdfShapes(pdf);
    EXPECT_TRUE(HasRect(shapes, 1, 372.85, 744.89, 523.28, 769.89));
    EXPECT_FALSE(HasRect(shapes, 1, 448.06, 582.39, 523.28, 607.39));
    text = QlTestPdfText(pdf);
    EXPECT_NE(std::string::npos, text.find("QUOTATION"));
    EXPECT_EQ(std::string::npos, text.find("INVOICE"));
    EXPECT_NE(std::string::npos, text.find("Carriage"));
    EXPECT_NE(std::string::npos, text.find("Brass elbow"));
    EXPECT_EQ(std::string::npos, text.find("Only"));
    EXPECT_EQ(std::string::npos, text.find("Payment within"));
    Keep(pdf, 1, "pdf-quotation");

    QlSettings.cfg.language = 1;
    ASSERT_EQ(1, QlQuoteSavePdf(form, 1, path, 0, &status));
    EXPECT_STREQ("ANGEBOT45.pdf", path);
}

TEST_F(DocPdfTest, TheSaveDialogAndItsAnswers)
{
    Fill(DOC_SERVICE);
    char path[QL_DOC_PATH_SIZE] = "";
    int status = -1;
    // Cancelled: nothing written, status 1, the default name in the buffer.
    EXPECT_EQ(0, QlInvSavePdf(form, 0, path, 1, &status));
    EXPECT_EQ(QL_PDF_STATUS_CANCELLED, status);
    EXPECT_STREQ("INVOICE123.pdf", path);
    EXPECT_FALSE(FileExists("INVOICE123.pdf"));
    ASSERT_EQ(1, gAsked);
    EXPECT_EQ("Save Invoice to PDF File", gSeenTitle);
    EXPECT_EQ("PDF Files (*.pdf)|*.pdf|", gSeenFilter);
    EXPECT_EQ("INVOICE123.pdf", gSeenFile);
    EXPECT_STREQ("pdf", gSeen.lpstrDefExt);
    EXPECT_TRUE(gSeen.Flags & OFN_OVERWRITEPROMPT);
    EXPECT_EQ((DWORD)MAX_PATH, gSeen.nMaxFile);
    EXPECT_EQ(form, gSeen.hwndOwner);
    EXPECT_TRUE(gBoxes.empty());

    // A file chosen elsewhere.
    CreateDirectoryA("sub", NULL);
    gAnswer = folder + "\\sub\\chosen.pdf";
    EXPECT_EQ(1, QlInvSavePdf(form, 0, path, 1, &status));
    EXPECT_EQ(QL_PDF_STATUS_OK, status);
    EXPECT_TRUE(FileExists("sub\\chosen.pdf"));
    EXPECT_TRUE(QlTestPdfCheck(Native("sub\\chosen.pdf")));
    EXPECT_EQ(gAnswer, path);   // the file's full path, for the message that names it

    // A folder that does not exist: status 2.
    gAnswer = folder + "\\missing\\chosen.pdf";
    EXPECT_EQ(0, QlInvSavePdf(form, 0, path, 1, &status));
    EXPECT_EQ(QL_PDF_STATUS_WRITE_FAILED, status);

    // A file held without sharing (a send reading its attachment) is not
    // replaced, and says so; once let go it is replaced whole.  No temporary
    // file stays behind either way.
    gAnswer = folder + "\\sub\\chosen.pdf";
    const std::string before = FileBytes("sub\\chosen.pdf");
    HANDLE reader = CreateFileA("sub\\chosen.pdf", GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    Set(IDT_DOC_GROSS, "999.99");
    EXPECT_EQ(0, QlInvSavePdf(form, 0, path, 1, &status));
    EXPECT_EQ(QL_PDF_STATUS_IN_USE, status);
    CloseHandle(reader);
    EXPECT_EQ(before, FileBytes("sub\\chosen.pdf"));
    EXPECT_EQ(1, QlInvSavePdf(form, 0, path, 1, &status));
    EXPECT_NE(std::string::npos, QlTestPdfText(Native("sub\\chosen.pdf"), 1).find("999.99"));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("sub\\*.tmp", &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << "no temporary file is left";
    if (search != INVALID_HANDLE_VALUE) FindClose(search);

    // The other documents' dialogs.
    gAnswer.clear();
    Fill(DOC_QUOTE);
    EXPECT_EQ(0, QlQuoteSavePdf(form, 1, path, 1, &status));
    EXPECT_EQ("Save quotation to PDF file", gSeenTitle);
    EXPECT_EQ("PDF (*.pdf)|*.pdf|", gSeenFilter);
    Fill(DOC_CREDIT);
    EXPECT_EQ(0, QlCreditSavePdf(form, path, 1, &status));
    EXPECT_EQ(QL_PDF_STATUS_CANCELLED, status);
    EXPECT_EQ("Save Credit note to PDF File", gSeenTitle);

    // The working folder cannot be restored: said, and the save goes on.
    QlWorkDir[0] = '\0';
    Fill(DOC_SERVICE);
    gAnswer = folder + "\\again.pdf";
    EXPECT_EQ(1, QlInvSavePdf(form, 0, path, 1, &status));
    ASSERT_EQ(1u, gBoxes.size());
    EXPECT_EQ("Cannot change directory", gBoxes[0]);
    EXPECT_TRUE(FileExists("again.pdf"));
}

// A full disk: libharu's own writer would answer success for an empty file.
// Every document's PDF is checked as it is written: the good file of that
// name stays, no temporary file is left, and the user is told why.
TEST_F(DocPdfTest, AFullDiskLeavesTheOldFileAndSaysWhy)
{
    Fill(DOC_SERVICE);
    char path[QL_DOC_PATH_SIZE] = "";
    int status = -1;
    gAnswer = folder + "\\full.pdf";
    ASSERT_EQ(1, QlInvSavePdf(form, 0, path, 1, &status));
    const std::string good = FileBytes("full.pdf");
    ASSERT_GT(good.size(), 1000u);
    Set(IDT_DOC_GROSS, "999.99");
    {
        QlTestFileSizeLimit limit(512);
        if (!limit.ok()) GTEST_SKIP() << "this platform cannot fill a disk";
        EXPECT_EQ(0, QlInvSavePdf(form, 0, path, 1, &status));
        EXPECT_EQ(QL_PDF_STATUS_NO_SPACE, status);
        EXPECT_EQ(0, QlQuoteSavePdf(form, 0, path, 1, &status));
        EXPECT_EQ(QL_PDF_STATUS_NO_SPACE, status);
        char attachment[QL_DOC_PATH_SIZE] = "";
        EXPECT_EQ(0, QlInvSavePdfIn(form, 0, folder.c_str(), attachment, &status));
        EXPECT_EQ(QL_PDF_STATUS_NO_SPACE, status);
        Fill(DOC_CREDIT);
        gMailShown.clear();
        QlCreditSavePdfFromView(form);
    }
    EXPECT_EQ(good, FileBytes("full.pdf"));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("*.tmp", &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << "no temporary file is left";
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    ASSERT_EQ(1u, gMailShown.size());
    EXPECT_EQ("The disk is full: the file could not be written whole. A file of that name was left as it was.",
              gMailShown[0].text);
}

// The logo of the settings: a picture is placed; a file the picture check
// refuses (the icon whose impossible bit count once crashed the converter,
// saved under a bitmap's name) is left out, the user is told, and the PDF is
// written all the same.
TEST_F(DocPdfTest, ARefusedLogoIsLeftOutAndReported)
{
    QlSettings.cfg.printLogo = 1;
    snprintf(QlSettings.cfg.logoPath, sizeof QlSettings.cfg.logoPath, "%s\\logo.bmp", folder.c_str());
    std::vector<uint8_t> icon = QlTestReadSource("tests/picture/data/red-16x16.ico");
    ASSERT_GT(icon.size(), 36u);
    icon[36] = 36;
    const struct {
        const char *name;
        bool picture;
    } cases[] = {{"a bitmap", true}, {"the damaged icon", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.picture)
            ASSERT_TRUE(QlTestWriteBmp(QlSettings.cfg.logoPath, 120, 40, RGB(0, 0, 0), RGB(30, 90, 200)));
        else
            ASSERT_TRUE(QlTestWriteFile(QlSettings.cfg.logoPath, icon.data(), icon.size()));
        Fill(DOC_SERVICE);
        gMailShown.clear();
        char path[QL_DOC_PATH_SIZE] = "";
        int status = -1;
        ASSERT_EQ(1, QlInvSavePdf(form, 0, path, 0, &status));
        EXPECT_EQ(QL_PDF_STATUS_OK, status);
        const std::string pdf = Native("INVOICE123.pdf");
        EXPECT_TRUE(QlTestPdfCheck(pdf));
        int images = 0;
        for (const PdfShape &shape : QlTestPdfShapes(pdf)) images += shape.kind == "image";
        EXPECT_EQ(c.picture ? 1 : 0, images);
        EXPECT_NE(nullptr, Word(QlTestPdfWords(pdf), "Consulting"));
        if (c.picture) {
            EXPECT_TRUE(gMailShown.empty());
        } else {
            ASSERT_EQ(1u, gMailShown.size());
            EXPECT_EQ("Error", gMailShown[0].caption);
            EXPECT_EQ("Failed to load logo bitmap! Logo shall not be printed", gMailShown[0].text);
            Keep(pdf, 1, "pdf-refused-logo");
        }
    }
}

TEST_F(DocPdfTest, TheCreditNoteCommandChecksAndReports)
{
    struct Case {
        const char *name, *acref, *gross;
        bool noLines;
        const char *answer;   // the save dialog's answer, "" for cancel
        const char *message;  // NULL: none
    } cases[] = {
        {"unknown account", "NO999", "30.75", false, "", "Customer account does not exist"},
        {"no account", "", "30.75", false, "", "Customer account does not exist"},
        {"no lines", "JO001", "30.75", true, "", "No form items"},
        {"zero gross", "JO001", "0.00", false, "", "Zero gross amount"},
        {"cancelled", "JO001", "30.75", false, "", NULL},
        {"saved", "JO001", "30.75", false, "credit.pdf", NULL},
        {"cannot write", "JO001", "30.75", false, "missing\\credit.pdf", "Failed to create PDF file"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Fill(DOC_CREDIT);
        Set(IDE_DOC_ACREF, c.acref);
        Set(IDT_DOC_GROSS, c.gross);
        if (c.noLines) SetLines({});
        gAnswer = c.answer[0] ? folder + "\\" + c.answer : "";
        gMailShown.clear();
        QlCreditSavePdfFromView(form);
        ASSERT_EQ(c.message ? 1u : 0u, gMailShown.size());
        if (c.message) {
            EXPECT_EQ("Error", gMailShown[0].caption);
            EXPECT_EQ(c.message, gMailShown[0].text);
        }
    }
    EXPECT_TRUE(FileExists("credit.pdf"));
}

const char kLongDescription[] = "KIDS' SAFETY GOGGLES (EN166) WITH ANTI-FOG COATING AND ADJUSTABLE ELASTIC STRAP";

TEST_F(DocPdfTest, LongDescriptionsAreWrittenWholeInRowsThatGrowAndPagesStillBreakRight)
{
    QL_TEST_REQUIRE_UNIX();
    QlSettings.cfg.printRateColumn = 1;
    QlSettings.cfg.printDiscountColumn = 1;
    QlSettings.cfg.printGridLines = 1;
    struct Case {
        const char *name;
        DocFormKind kind;
        int lineMode, rows;
        const char *file;
    } cases[] = {
        {"invoice-product", DOC_PRODUCT, 1, 10, "INVOICE123.pdf"},
        {"invoice-service", DOC_SERVICE, 0, 3, "INVOICE123.pdf"},
        {"credit", DOC_CREDIT, 0, 3, "CREDIT NOTE7.pdf"},
        {"quotation", DOC_QUOTE, 1, 3, "QUOTATION45.pdf"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Fill(c.kind);
        std::vector<std::string> model =
            c.kind == DOC_CREDIT ? kCreditRows[0] : c.lineMode == 1 ? kProdRows[0] : kServRows[0];
        model[c.lineMode == 1 && c.kind != DOC_CREDIT ? 1 : 0] = kLongDescription;
        SetLines(std::vector<std::vector<std::string>>(c.rows, model));
        char path[QL_DOC_PATH_SIZE];
        int status;
        if (c.kind == DOC_CREDIT)
            ASSERT_EQ(1, QlCreditSavePdf(form, path, 0, &status));
        else if (c.kind == DOC_QUOTE)
            ASSERT_EQ(1, QlQuoteSavePdf(form, c.lineMode, path, 0, &status));
        else
            ASSERT_EQ(1, QlInvSavePdf(form, c.lineMode, path, 0, &status));
        const std::string pdf = Native(c.file);
        PdfInfo info;
        ASSERT_TRUE(QlTestPdfInfo(pdf, &info));
        const std::vector<PdfWord> words = QlTestPdfWords(pdf);
        const std::vector<PdfShape> shapes = QlTestPdfShapes(pdf);
        int seen = 0;
        for (int p = 1; p <= info.pages; p++) {
            SCOPED_TRACE(testing::Message() << "page " << p);
            // Each description from its first word, whole, no rule through it.
            std::vector<PdfWord> rest;
            for (const PdfWord &w : words)
                if (w.page == p) rest.push_back(w);
            std::sort(rest.begin(), rest.end(), [](const PdfWord &a, const PdfWord &b) { return a.y1 > b.y1; });
            for (size_t i = 0; i < rest.size(); i++) {
                if (rest[i].text != "KIDS'") continue;
                std::vector<PdfWord> from;
                for (const PdfWord &w : rest)
                    if (w.y1 <= rest[i].y1 + 0.5) from.push_back(w);
                EXPECT_EQ("", QlTestPdfCellTextProblem(from, shapes, p, kLongDescription));
                seen++;
            }
            const std::string text = QlTestPdfText(pdf, p);
            if (info.pages > 1) {
                const std::string number = "Page " + std::to_string(p) + " of " + std::to_string(info.pages);
                EXPECT_NE(std::string::npos, text.find(number)) << number;
            }
            if (p < info.pages) {
                EXPECT_NE(std::string::npos, text.find("Continued on next page"));
                // The table ends above the bottom margin.
                for (const PdfShape &s : shapes)
                    if (s.page == p && s.kind == "line") EXPECT_GE(std::min(s.y0, s.y1), 72.0 - 0.5);
            }
        }
        EXPECT_EQ(c.rows, seen);
        Keep(pdf, info.pages, std::string("pdf-long-") + c.name);
    }
}

}  // namespace
