#include "QlGTest.h"

#include <math.h>

#include "QlTestPdf.h"
#include "QlTestPrint.h"
#include "QlTestWindows.h"
#include "picture/PictureFixtures.h"
#include "print/QlImageJpeg.h"
#include "print/QlPdf.h"
#include "print/QlPicture.h"
#include "core/QlPlatform.h"

#include <algorithm>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

std::string Native(const std::string &path)
{
    char native[MAX_PATH * 4];
    return QlPathToNative(path.c_str(), native, sizeof native) ? native : "";
}

bool FileExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A 32-bit top-down bitmap file of one colour.
bool WriteBmp32(const std::string &path, int width, int height)
{
    std::vector<uint8_t> out(54 + 4 * width * height, 0);
    BITMAPFILEHEADER *file = (BITMAPFILEHEADER *)out.data();
    BITMAPINFOHEADER *info = (BITMAPINFOHEADER *)(out.data() + sizeof(BITMAPFILEHEADER));
    file->bfType = 0x4D42;
    file->bfSize = (DWORD)out.size();
    file->bfOffBits = 54;
    info->biSize = sizeof *info;
    info->biWidth = width;
    info->biHeight = -height;
    info->biPlanes = 1;
    info->biBitCount = 32;
    for (size_t i = 54; i + 3 < out.size(); i += 4) out[i] = 200, out[i + 1] = 120, out[i + 2] = 20, out[i + 3] = 255;
    return QlTestWriteFile(path, out.data(), out.size());
}

}  // namespace

TEST(PdfGrid, LayoutTurnsIntoPointsUpwardsClosedAtTheRight)
{
    QlGridRec g = {};
    int percent[] = {33, 33, 33, 1};
    QlGridLayout(&g, 0, 100, 1000, 0, 3, 4, 26, percent);   // the last column line stands at 990
    QlPdfGridRec p = {};
    QlPdfGridFromLayout(&g, &p, 842);
    ASSERT_EQ(3, p.rowLineCount);
    ASSERT_EQ(4, p.columnLineCount);
    EXPECT_FLOAT_EQ(742, p.rowLines[0].y1);
    EXPECT_FLOAT_EQ(690, p.rowLines[2].y2);
    EXPECT_FLOAT_EQ(330, p.columnLines[1].x1);
    EXPECT_FLOAT_EQ(742, p.columnLines[1].y1);
    EXPECT_FLOAT_EQ(690, p.columnLines[1].y2);
    EXPECT_FLOAT_EQ(1000, p.columnLines[3].x1);   // moved from 990 to the rows' right end
    EXPECT_FLOAT_EQ(1000, p.columnLines[3].x2);

    // Counts past the capacity are not followed.
    g.rowLineCount = 99;
    g.columnLineCount = -5;
    QlPdfGridFromLayout(&g, &p, 842);
    EXPECT_EQ(QL_GRID_MAX_ROW_LINES, p.rowLineCount);
    EXPECT_EQ(0, p.columnLineCount);
}

TEST(PdfCell, BreaksAtTheLastBlankOfWhatFits)
{
    struct Case {
        const char *text;
        int fit;
        int first, rest;
    } cases[] = {
        {"hello world", 11, 11, 11},   // fits: one line
        {"hello world", 20, 11, 11},
        {"hello world", 8, 5, 6},      // inside "world": back to the blank, which is skipped
        {"hello world", 5, 5, 6},      // the cut falls on the blank
        {"helloworld", 4, 4, 4},       // one long word: cut where the width ends
        {"hello world", 0, 0, 0},
        {"a b", 2, 1, 2},
        {"abc ", 3, 3, 3},             // a lone blank left over is not skipped
        {"two  blanks", 3, 3, 4},      // only one blank is skipped
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " / " << c.fit);
        int first = -1;
        EXPECT_EQ(c.rest, QlPdfCellBreak(c.text, (int)strlen(c.text), c.fit, &first));
        EXPECT_EQ(c.first, first);
    }
}

TEST(PdfLogo, FitScaleMultipliesItsFactorsUp)
{
    float size[2] = {400, 300};
    QlPdfFitScale(size, 200, 100);   // 48 factors
    EXPECT_NEAR(127.2, size[0], 0.5);
    EXPECT_NEAR(95.4, size[1], 0.5);

    float fits[2] = {150, 80};
    QlPdfFitScale(fits, 200, 100);
    EXPECT_FLOAT_EQ(150, fits[0]);
    EXPECT_FLOAT_EQ(80, fits[1]);

    float huge[2] = {1e9f, 1e9f};   // the search ends after 1000 reductions
    QlPdfFitScale(huge, 1, 1);
    EXPECT_LT(huge[0], 1.0f);
}

class PdfFile : public ::testing::Test {
protected:
    std::string dir, savedDir;
    HWND form = NULL;
    HWND list = NULL;
    HPDF_Doc doc = NULL;
    QlPrintStyleRec style = {};

    void SetUp() override
    {
        dir = QlTestMakeFolder("qlpdf");
        ASSERT_FALSE(dir.empty());
        char current[MAX_PATH];
        GetCurrentDirectoryA(sizeof current, current);
        savedDir = current;
        ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));   // where nothing of the logo may go

        form = QlTestHostWindow();
        QlTestAddEdit(form, 1173, "Bright Sparks Ltd");
        QlTestAddEdit(form, 1028, "12 Market Road");
        QlTestAddEdit(form, 1029, "Northtown");
        QlTestAddEdit(form, 1030, "NT4 9ZZ");
        list = QlTestAddList(form, 1161, 7, 2);
        const char *rows[2][7] = {
            {"Consulting on the new warehouse inventory system and staff training", "21.00", "0", "100.00", "0.00",
             "100.00", "23.10"},
            {"Delivery", "21.00", "0", "15.00", "0.00", "15.00", "3.15"}};
        for (int r = 0; r < 2; r++)
            for (int c = 0; c < 7; c++) QlTestSetCell(list, r, c, rows[r][c]);

        style = QlTestSampleStyle();
        style.printRegNumber = 0;
        style.email[0] = style.webAddress[0] = '\0';
        style.cellMarginTop = 3;
        style.cellMarginRight = 6;

        doc = HPDF_New(NULL, NULL);
        ASSERT_NE(nullptr, doc);
    }

    void TearDown() override
    {
        if (doc) HPDF_Free(doc);
        if (form) DestroyWindow(form);
        SetCurrentDirectoryA(savedDir.c_str());
        QlTestRemoveFolder(dir);
    }

    std::string File(const char *name) { return dir + "\\" + name; }

    HPDF_Page NewPage(float size)
    {
        HPDF_Page page = HPDF_AddPage(doc);
        HPDF_Page_SetSize(page, HPDF_PAGE_SIZE_A4, HPDF_PAGE_PORTRAIT);
        HPDF_Page_SetTextLeading(page, 20);
        HPDF_Page_SetFontAndSize(page, HPDF_GetFont(doc, "Helvetica", "WinAnsiEncoding"), size);
        return page;
    }

    std::string Save(const char *name)
    {
        std::string path = Native(File(name));
        EXPECT_EQ(HPDF_OK, HPDF_SaveToFile(doc, path.c_str())) << HPDF_GetError(doc);
        return path;
    }
};

TEST_F(PdfFile, LogoFromJpegDirectlyFromOtherPicturesConvertedAndUnreadableSkipped)
{
    ASSERT_TRUE(QlTestCopyFixture("blue-24x16.jpg", File("logo.jpg")));
    ASSERT_TRUE(QlTestWriteBmp(File("logo.bmp"), 160, 60, RGB(0, 0, 0), RGB(200, 30, 30)));
    std::vector<char> jpeg(292);
    HANDLE fixture = CreateFileA(File("logo.jpg").c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    DWORD read = 0;
    ReadFile(fixture, jpeg.data(), (DWORD)jpeg.size(), &read, NULL);
    CloseHandle(fixture);
    ASSERT_TRUE(QlTestWriteFile(File("cut.jpg"), jpeg.data(), 20));   // the header ends before the picture's size
    ASSERT_TRUE(QlTestWriteFile(File("short.jpg"), jpeg.data(), 200));   // the picture's data ends early
    ASSERT_TRUE(QlTestWriteFile(File("notes.txt"), "just some text\r\n", 16));

    const float W = 595.276f, H = 841.89f, u = H * 25.4f / 297;
    HPDF_Page page = NewPage(9);
    EXPECT_EQ(1, QlPdfDrawLogo(doc, page, File("logo.jpg").c_str(), u, H - u, W, H, u));
    EXPECT_FALSE(FileExists(File("jpglogo.jpg")));   // a JPEG goes in as it is

    page = NewPage(9);
    EXPECT_EQ(1, QlPdfDrawLogo(doc, page, "logo.bmp", u, H - u, W, H, u));   // relative to the current folder
    EXPECT_FALSE(FileExists(File("jpglogo.jpg")));   // converted in a temporary folder of its own

    page = NewPage(9);
    EXPECT_EQ(0, QlPdfDrawLogo(doc, page, File("cut.jpg").c_str(), u, H - u, W, H, u));
    EXPECT_EQ(0, QlPdfDrawLogo(doc, page, File("short.jpg").c_str(), u, H - u, W, H, u));
    EXPECT_EQ(HPDF_OK, HPDF_GetError(doc));   // the document goes on
    EXPECT_EQ(0, QlPdfDrawLogo(doc, page, File("missing.png").c_str(), u, H - u, W, H, u));
    EXPECT_EQ(0, QlPdfDrawLogo(doc, page, File("notes.txt").c_str(), u, H - u, W, H, u));
    EXPECT_EQ(0, QlPdfDrawLogo(doc, page, "", u, H - u, W, H, u));
    QlPdfTextAt(page, u, H / 2, "no logo here");
    std::string pdf = Save("logos.pdf");

    std::string report;
    EXPECT_TRUE(QlTestPdfCheck(pdf, &report)) << report;
    PdfInfo info;
    ASSERT_TRUE(QlTestPdfInfo(pdf, &info));
    EXPECT_EQ(3, info.pages);
    EXPECT_NEAR(595.28, info.width, 0.01);
    EXPECT_NEAR(841.89, info.height, 0.01);
    EXPECT_NE(std::string::npos, QlTestPdfText(pdf, 3).find("no logo here"));

    std::vector<PdfShape> images;
    for (const PdfShape &s : QlTestPdfShapes(pdf))
        if (s.kind == "image") images.push_back(s);
    ASSERT_EQ(2u, images.size());
    // The small JPEG keeps its size; the bitmap is fitted into half the
    // printable width by the margin less 10 mm, standing 15 points above the top.
    EXPECT_EQ(1, images[0].page);
    EXPECT_NEAR(24, images[0].x1 - images[0].x0, 0.1);
    EXPECT_NEAR(16, images[0].y1 - images[0].y0, 0.1);
    EXPECT_NEAR(u, images[0].x0, 0.1);
    EXPECT_NEAR(H - u + 15, images[0].y0, 0.1);
    EXPECT_EQ(2, images[1].page);
    const double maxHeight = u - H * 10 / 297;
    EXPECT_LE(images[1].y1 - images[1].y0, maxHeight + 0.01);
    EXPECT_GT(images[1].y1 - images[1].y0, maxHeight * 0.9);
    EXPECT_NEAR(160.0 / 60.0, (images[1].x1 - images[1].x0) / (images[1].y1 - images[1].y0), 0.02);
}

TEST_F(PdfFile, PicturesJpegCannotHoldAreConvertedTo24Bits)
{
    ASSERT_TRUE(WriteBmp32(File("deep.bmp"), 40, 20));
    ASSERT_TRUE(QlTestCopyFixture("green-10x6.gif", File("palette.gif")));
    const struct {
        const char *name;
        int kind;
    } sources[] = {{"deep.bmp", GLIMMET_BMP}, {"palette.gif", GLIMMET_GIF}};
    for (const auto &source : sources) {
        SCOPED_TRACE(source.name);
        std::string out = Native(File("out.jpg"));
        DeleteFileA(File("out.jpg").c_str());
        size_t size = 0;
        GlimmetPictureInfo info;
        unsigned char *bytes = QlPictureReadChecked(File(source.name).c_str(), &size, &info);
        ASSERT_NE(nullptr, bytes);
        EXPECT_EQ(source.kind, info.kind);
        EXPECT_EQ(1, QlImageSaveAsJpeg(bytes, size, info.kind, out.c_str()));
        // Told a kind the bytes are not, FreeImage refuses them rather than guessing.
        EXPECT_EQ(0, QlImageSaveAsJpeg(bytes, size, info.kind == GLIMMET_BMP ? GLIMMET_GIF : GLIMMET_BMP,
                                       Native(File("x.jpg")).c_str()));
        EXPECT_EQ(0, QlImageSaveAsJpeg(bytes, size, GLIMMET_JPEG, Native(File("x.jpg")).c_str()));
        free(bytes);
        EXPECT_NE(nullptr, HPDF_LoadJpegImageFromFile(doc, out.c_str()));
        std::vector<uint8_t> jpeg = QlTestReadFile(File("out.jpg"));
        GlimmetPictureInfo written;
        EXPECT_EQ(1, GlimmetPictureCheck(jpeg.data(), jpeg.size(), &written));
        EXPECT_EQ(GLIMMET_JPEG, written.kind);
    }
    EXPECT_EQ(nullptr, QlPictureReadChecked(File("missing.bmp").c_str(), NULL, NULL));
}

// A PNG logo's transparent parts are printed as the paper they lie on: white,
// not the colour values hidden under them.
TEST_F(PdfFile, TransparentPartsOfAPngLogoComeOutWhite)
{
    ASSERT_EQ(1, QlPictureLibLoad());
    // 16 x 8 pixels: the left half black but wholly transparent, the right opaque blue.
    std::vector<uint8_t> raw;
    for (int y = 0; y < 8; y++) {
        raw.push_back(0);
        for (int x = 0; x < 16; x++) raw.insert(raw.end(), {0, 0, (uint8_t)(x < 8 ? 0 : 200), (uint8_t)(x < 8 ? 0 : 255)});
    }
    const std::vector<uint8_t> header = {0, 0, 0, 16, 0, 0, 0, 8, 8, 6, 0, 0, 0};
    const std::vector<uint8_t> png = QlTestPngOfChunks({{"IHDR", header}, {"IDAT", QlTestZlibStored(raw)}, {"IEND", {}}});
    size_t size = 0;
    GlimmetPictureInfo info;
    ASSERT_TRUE(QlTestWriteFile(File("clear.png"), png.data(), png.size()));
    unsigned char *bytes = QlPictureReadChecked(File("clear.png").c_str(), &size, &info);
    ASSERT_NE(nullptr, bytes);
    EXPECT_EQ(GLIMMET_PNG, info.kind);
    EXPECT_EQ(1, QlImageSaveAsJpeg(bytes, size, info.kind, Native(File("clear.jpg")).c_str()));
    free(bytes);
    QlPictureSizeRec shape = {};
    HBITMAP jpeg = QlPictureLoadCopy(File("clear.jpg").c_str(), &shape);
    ASSERT_NE(nullptr, jpeg);
    EXPECT_EQ(16, shape.width);
    const COLORREF left = QlTestBitmapPixel(jpeg, 2, 4), right = QlTestBitmapPixel(jpeg, 13, 4);
    EXPECT_GT(GetRValue(left), 230) << std::hex << left;
    EXPECT_GT(GetGValue(left), 230) << std::hex << left;
    EXPECT_LT(GetRValue(right), 40) << std::hex << right;
    EXPECT_GT(GetBValue(right), 160) << std::hex << right;
    DeleteObject(jpeg);
    QlPictureLibFree();
}

// Every kind of logo the picture check takes reaches the page with its
// colours: the JPEG as it is, GIF and PNG through FreeImage, and the bitmaps
// FreeImage may refuse (the newer headers, ImageMagick's run-length data)
// through the screen's own loader.  All six stand on one page, kept with the
// artefacts as pdf-logo-kinds.pdf and .png.
TEST_F(PdfFile, EveryLogoKindTheCheckTakesReachesThePage)
{
    ASSERT_EQ(1, QlPictureLibLoad());
    const struct {
        const char *name;
        std::vector<uint8_t> bytes;
        COLORREF colour;   // of all but the top-left pixel
        double aspect;
    } logos[] = {
        {"logo.jpg", QlTestReadSource("tests/picture/data/blue-24x16.jpg"), RGB(0, 0, 255), 24.0 / 16},
        {"logo.gif", QlTestReadSource("tests/picture/data/green-10x6.gif"), RGB(0, 255, 0), 10.0 / 6},
        {"logo.png", QlTestPngBytes(120, 40, RGB(0, 0, 0), RGB(220, 30, 30)), RGB(220, 30, 30), 3},
        {"logo-v4.bmp", QlTestBmpNewHeaderBytes(108, 150, 30, RGB(0, 0, 0), RGB(30, 160, 30)), RGB(30, 160, 30), 5},
        {"logo-v5.bmp", QlTestBmpNewHeaderBytes(124, 80, 40, RGB(0, 0, 0), RGB(240, 160, 0)), RGB(240, 160, 0), 2},
        {"logo-rle8.bmp", QlTestBmpRle8Bytes(300, 60, RGB(0, 0, 0), RGB(120, 0, 160)), RGB(120, 0, 160), 5},
    };
    const float W = 595.276f, H = 841.89f, u = H * 25.4f / 297;
    HPDF_Page page = NewPage(9);
    int row = 0;
    for (const auto &logo : logos) {
        SCOPED_TRACE(logo.name);
        ASSERT_FALSE(logo.bytes.empty());
        ASSERT_TRUE(QlTestWriteFile(File(logo.name), logo.bytes.data(), logo.bytes.size()));
        const float top = H - u - 90 * (float)row++;
        EXPECT_EQ(1, QlPdfDrawLogo(doc, page, File(logo.name).c_str(), u, top, W, H, u));
        QlPdfTextAt(page, W / 2, top + 30, logo.name);
    }
    EXPECT_EQ(HPDF_OK, HPDF_GetError(doc));
    std::string pdf = Save("kinds.pdf");
    std::string report;
    EXPECT_TRUE(QlTestPdfCheck(pdf, &report)) << report;

    std::vector<PdfShape> images;
    for (const PdfShape &s : QlTestPdfShapes(pdf))
        if (s.kind == "image") images.push_back(s);
    ASSERT_EQ(6u, images.size());
    std::sort(images.begin(), images.end(), [](const PdfShape &a, const PdfShape &b) { return a.y0 > b.y0; });

    // The page as pdftoppm draws it, one pixel a point, read back through the
    // picture library: each image's middle has its picture's colour.
    const std::string png = QlTestArtifactDir() + "/pdf-logo-kinds.png";
    ASSERT_TRUE(QlTestPdfToPng(pdf, 1, 72, png));
    CopyFileA(QlTestWindowsPath(pdf).c_str(), QlTestWindowsPath(QlTestArtifactDir() + "/pdf-logo-kinds.pdf").c_str(),
              FALSE);
    QlPictureSizeRec size = {};
    HBITMAP drawn = QlPictureLoadCopy(QlTestWindowsPath(png).c_str(), &size);
    ASSERT_NE(nullptr, drawn);
    for (size_t i = 0; i < images.size(); i++) {
        const PdfShape &image = images[i];
        SCOPED_TRACE(logos[i].name);
        EXPECT_NEAR(u, image.x0, 0.1);
        EXPECT_NEAR(H - u - 90 * (double)i + 15, image.y0, 0.1);
        EXPECT_NEAR(logos[i].aspect, (image.x1 - image.x0) / (image.y1 - image.y0), 0.05);
        const int x = (int)((image.x0 + image.x1) / 2 * size.width / W);
        const int y = (int)((H - (image.y0 + image.y1) / 2) * size.height / H);
        const COLORREF seen = QlTestBitmapPixel(drawn, x, y), want = logos[i].colour;
        EXPECT_NEAR(GetRValue(want), GetRValue(seen), 40) << std::hex << seen;
        EXPECT_NEAR(GetGValue(want), GetGValue(seen), 40) << std::hex << seen;
        EXPECT_NEAR(GetBValue(want), GetBValue(seen), 40) << std::hex << seen;
    }
    DeleteObject(drawn);
    QlPictureLibFree();
}

TEST_F(PdfFile, HeaderGridAndWrappedCellsReadBack)
{
    const float W = 595.276f, H = 841.89f, u = H * 25.4f / 297;
    HPDF_Page page = NewPage(9);
    ASSERT_TRUE(QlTestWriteBmp(File("logo.bmp"), 160, 60, RGB(0, 0, 0), RGB(200, 30, 30)));
    EXPECT_EQ(1, QlPdfDrawLogo(doc, page, File("logo.bmp").c_str(), u, H - u, W, H, u));

    float cursor[2] = {};
    QlPdfCompanyHeader(form, page, W, u, H - u, u, cursor, &style);
    // Name, three address lines, the tax line and "Tel: ..." at 15 points a
    // line, then the 70-point box and the recipient's four lines.
    const float boxBottom = H - u - 10 - 6 * 15 - 70;
    EXPECT_FLOAT_EQ(u + 5, cursor[0]);
    EXPECT_NEAR(boxBottom + 55 - 4 * 15, cursor[1], 0.01);

    // A service table without the optional columns: Details, Price, Net, VAT.
    QlGridRec g = {};
    int percent[] = {55, 15, 15, 15, 1};
    const int top = 320;
    QlGridLayout(&g, (int)u, top, (int)(W - u), 0, 4, 5, 26, percent);
    QlPdfGridRec p = {};
    QlPdfGridFromLayout(&g, &p, H);
    QlPdfGridDrawLines(page, &p, &style);
    char titles[4 * QL_GRID_TITLE_SLOT] = {};
    const char *heads[] = {"Details", "Price", "Net", "VAT"};
    for (int j = 0; j < 4; j++) strcpy(titles + j * QL_GRID_TITLE_SLOT, heads[j]);
    QlPdfGridDrawColumnTitles(page, &p, titles);
    QlPdfServItemRow(form, page, &p, 0, 1, &style);
    QlPdfServItemRowSameRow(form, page, &p, 1, &style);

    // A narrow right-aligned cell that wraps, in a second table.
    QlGridRec g2 = {};
    int percent2[] = {100, 1};
    QlGridLayout(&g2, 300, 500, 360, 0, 2, 2, 30, percent2);
    QlPdfGridRec p2 = {};
    QlPdfGridFromLayout(&g2, &p2, H);
    QlPdfGridDrawLines(page, &p2, &style);
    QlPdfGridDrawCellText(page, &p2, "Euro Total Gross", 0, 0, 1, &style);
    QlPdfGridDrawCellText(page, &p2, "", 0, 0, 1, &style);                  // nothing visible
    QlPdfGridDrawCellText(page, &p2, "outside the grid", 1, 0, 0, &style);  // no such cell
    // More lines than the row holds: the whole text set smaller.  Texts too
    // big for their rectangles leave the document able to save.
    QlGridRec g3 = {};
    QlGridLayout(&g3, 400, 500, 460, 0, 2, 2, 30, percent2);
    QlPdfGridRec p3 = {};
    QlPdfGridFromLayout(&g3, &p3, H);
    QlPdfGridDrawCellText(page, &p3, "one two three four five six seven eight nine ten", 0, 0, 0, &style);
    // One word wider than its cell (a product code) is drawn smaller, whole.
    QlGridRec g4 = {};
    QlGridLayout(&g4, 200, 560, 230, 0, 2, 2, 30, percent2);
    QlPdfGridRec p4 = {};
    QlPdfGridFromLayout(&g4, &p4, H);
    QlPdfGridDrawCellText(page, &p4, "P19077", 0, 0, 0, &style);
    QlPdfBoxWithText(page, 100, 100, 50, 25, 1.5f, "A title far too long for its little box", 7, 0, 2);
    float clipped[2] = {100, 60};
    HPDF_Page_BeginText(page);
    QlPdfTextLineClip(page, clipped, 40, 9, "Clipped at forty points wide");
    HPDF_Page_EndText(page);
    EXPECT_FLOAT_EQ(60 - 14, clipped[1]);
    std::string pdf = Save("page.pdf");
    ASSERT_EQ(HPDF_OK, HPDF_GetError(doc));

    std::string report;
    EXPECT_TRUE(QlTestPdfCheck(pdf, &report)) << report;
    std::string text = QlTestPdfText(pdf);
    for (const char *expected : {"Acme Ltd", "SP1 2AB", "TAX No: GB123456", "Tel: 0123 456", "Bright Sparks Ltd",
                                 "NT4 9ZZ", "Details", "Delivery"})
        EXPECT_NE(std::string::npos, text.find(expected)) << expected;
    EXPECT_EQ(std::string::npos, text.find("outside"));
    EXPECT_NE(std::string::npos, text.find("one two"));
    EXPECT_NE(std::string::npos, text.find("seven"));
    EXPECT_NE(std::string::npos, text.find("ten"));
    EXPECT_EQ(std::string::npos, text.find("wide"));
    EXPECT_EQ(std::string::npos, text.find("21.00"));   // the tax-rate column is off

    std::vector<PdfWord> words = QlTestPdfWords(pdf);
    auto find = [&](const std::string &w, int nth = 0) -> const PdfWord * {
        for (const PdfWord &word : words)
            if (word.text == w && nth-- == 0) return &word;
        return nullptr;
    };

    // The company block starts at the margin, 10 points below the top margin.
    const PdfWord *name = find("Acme");
    ASSERT_NE(nullptr, name);
    EXPECT_NEAR(u, name->x0, 0.5);
    EXPECT_LT(name->y0, H - u - 10 + 0.5);
    EXPECT_GT(name->y1, H - u - 10);

    // Row 1: the long description breaks at a blank into two lines, the
    // first at the cell's top inset, the second one line under it.
    const float rowTop = H - (top + 26), rowBottom = H - (top + 52), middle = rowTop - 13;
    const float detailsRight = (float)g.columnLines[1].x1 - QL_PDF_CELL_INSET;
    std::string first, second;
    for (const PdfWord &w : words) {
        if (w.x0 < u || w.x1 > detailsRight + 0.5 || w.y1 > rowTop || w.y0 < rowBottom - 1) continue;
        if (w.y1 > middle + 1) {
            // Below the row line by the inner margin and the settings' top margin.
            EXPECT_LE(w.y1, rowTop - QL_PDF_CELL_INSET_TOP - style.cellMarginTop + 0.5) << w.text;
            first += (first.empty() ? "" : " ") + w.text;
        } else {
            EXPECT_LE(w.y1, middle + 0.5) << w.text;
            second += (second.empty() ? "" : " ") + w.text;
        }
    }
    const std::string description = "Consulting on the new warehouse inventory system and staff training";
    EXPECT_FALSE(first.empty());
    EXPECT_FALSE(second.empty());
    EXPECT_EQ(0u, description.find(first + " " + second)) << first << " | " << second;

    // Both options off: price, net and tax in grid columns 1, 2, 3, right-aligned inside the margins.
    struct Cell {
        const char *text;
        int column;
    } cells[] = {{"100.00", 1}, {"23.10", 3}, {"15.00", 1}, {"3.15", 3}};
    for (const Cell &c : cells) {
        const PdfWord *w = find(c.text);
        ASSERT_NE(nullptr, w) << c.text;
        EXPECT_NEAR(p.columnLines[c.column + 1].x1 - QL_PDF_CELL_INSET - style.cellMarginRight, w->x1, 1.0) << c.text;
    }
    const PdfWord *delivery = find("Delivery");
    ASSERT_NE(nullptr, delivery);
    EXPECT_NEAR(u + QL_PDF_CELL_INSET, delivery->x0, 0.5);
    EXPECT_LT(delivery->y1, H - (top + 52));   // row 2

    // The right-aligned wrap: every line inside the right margins.
    std::vector<const PdfWord *> narrow;
    for (const PdfWord &w : words)
        if (w.x0 >= 300 && w.x1 <= 362 && w.y1 <= H - 500 && w.y0 >= H - 530 - 1) narrow.push_back(&w);
    ASSERT_GE(narrow.size(), 2u);
    double firstRight = 0, secondRight = 0;
    for (const PdfWord *w : narrow) {
        if (w->y1 > H - 515 + 1)
            firstRight = w->x1 > firstRight ? w->x1 : firstRight;
        else
            secondRight = w->x1 > secondRight ? w->x1 : secondRight;
    }
    EXPECT_NEAR(360 - QL_PDF_CELL_INSET - style.cellMarginRight, firstRight, 1.0);
    EXPECT_NEAR(360 - QL_PDF_CELL_INSET - style.cellMarginRight, secondRight, 1.0);

    const PdfWord *code = find("P19077");
    ASSERT_NE(nullptr, code);
    EXPECT_GE(code->x0, 200 + QL_PDF_CELL_INSET - 0.5);
    EXPECT_LE(code->x1, 230 - QL_PDF_CELL_INSET + 0.5);

    // Shapes: the recipient box, the grid closed at the right, only the ruled rows.
    std::vector<PdfShape> shapes = QlTestPdfShapes(pdf);
    int boxes = 0, rows = 0, columns = 0;
    for (const PdfShape &s : shapes) {
        if (s.kind == "rect" && fabs(s.x0 - u) < 0.1 && fabs(s.y0 - boxBottom) < 0.1) {
            EXPECT_NEAR((W - 2 * u) / 2, s.x1 - s.x0, 0.1);
            EXPECT_NEAR(70, s.y1 - s.y0, 0.1);
            boxes++;
        }
        if (s.kind == "line" && fabs(s.y0 - s.y1) < 0.01 && fabs(s.x0 - (int)u) < 0.1) {
            EXPECT_NEAR((int)(W - u), s.x1, 0.1);
            rows++;
        }
        if (s.kind == "line" && fabs(s.x0 - s.x1) < 0.01 && fabs(s.y0 - (H - top)) < 0.1) columns++;
    }
    EXPECT_EQ(1, boxes);
    EXPECT_EQ(3, rows);       // four row lines, "Print grid lines" off: 0, 1 and the last
    EXPECT_EQ(5, columns);

    std::string artifacts = QlTestArtifactDir();
    if (!artifacts.empty()) {
        EXPECT_TRUE(QlTestPdfToPng(pdf, 1, 72, artifacts + "/pdf-helpers.png"));
    }
}
