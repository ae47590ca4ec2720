#include "QlGTest.h"
#include "QlTestWindows.h"
#include "picture/PictureFixtures.h"
#include "ui/QlAppState.h"
#include "print/QlPicture.h"
#include "ui/QlSeams.h"

#include <string.h>
#include <string>
#include <vector>

class PictureLib : public ::testing::Test {
protected:
    std::string dir;

    void SetUp() override
    {
        dir = QlTestMakeFolder("qlpic");
        ASSERT_FALSE(dir.empty());
        ASSERT_TRUE(QlTestWriteBmp(File("logo.bmp"), 7, 5, RGB(255, 0, 0), RGB(255, 255, 255)));
        ASSERT_TRUE(QlTestCopyFixture("blue-24x16.jpg", File("logo.jpg")));
        ASSERT_EQ(1, QlPictureLibLoad());
    }

    void TearDown() override
    {
        QlPictureLibFree();
        QlTestRemoveFolder(dir);
    }

    std::string File(const char *name) { return dir + "\\" + name; }
};

TEST_F(PictureLib, LoadGivesTheBitmapAndItsSize)
{
    QlPictureSizeRec size = {-1, -1, -1};
    HBITMAP bitmap = QlPictureLoad(File("logo.jpg").c_str(), &size);
    ASSERT_NE(nullptr, bitmap);
    EXPECT_EQ(24, size.width);
    EXPECT_EQ(16, size.height);
    EXPECT_EQ(-1, size.reserved);

    EXPECT_NE(nullptr, QlPictureLoad(File("logo.bmp").c_str(), NULL));

    // A file that cannot be read gives no bitmap and leaves the size alone.
    EXPECT_EQ(nullptr, QlPictureLoad(File("missing.bmp").c_str(), &size));
    EXPECT_EQ(24, size.width);
    EXPECT_EQ(16, size.height);
    EXPECT_EQ(nullptr, QlPictureLoad(NULL, &size));
}

TEST_F(PictureLib, CopyIsTheCallersAndOutlivesTheNextLoadAndTheLibrary)
{
    QlPictureSizeRec size = {};
    HBITMAP copy = QlPictureLoadCopy(File("logo.bmp").c_str(), &size);
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(7, size.width);
    EXPECT_EQ(5, size.height);

    HBITMAP shared = QlPictureLoad(File("logo.jpg").c_str(), NULL);
    ASSERT_NE(nullptr, shared);
    EXPECT_NE(copy, shared);
    QlPictureLibFree();

    int w = 0, h = 0;
    ASSERT_TRUE(QlTestBitmapSize(copy, &w, &h));
    EXPECT_EQ(7, w);
    EXPECT_EQ(5, h);
    EXPECT_EQ(RGB(255, 0, 0), QlTestBitmapPixel(copy, 0, 0));
    EXPECT_EQ(RGB(255, 255, 255), QlTestBitmapPixel(copy, 6, 4));
    EXPECT_TRUE(DeleteObject(copy));
    EXPECT_EQ(nullptr, QlPictureLoadCopy(File("missing.bmp").c_str(), NULL));
}

TEST_F(PictureLib, FreeingTheLibraryReleasesTheLastPictureAndUnbinds)
{
    // A second load of the binding must not keep the library loaded past the one free.
    ASSERT_EQ(1, QlPictureLibLoad());
    HBITMAP bitmap = QlPictureLoad(File("logo.bmp").c_str(), NULL);
    int w, h;
    ASSERT_TRUE(QlTestBitmapSize(bitmap, &w, &h));
    QlPictureLibFree();
    EXPECT_FALSE(QlTestBitmapSize(bitmap, &w, &h));
    EXPECT_EQ(nullptr, QlPictureLoad(File("logo.bmp").c_str(), NULL));

    ASSERT_EQ(1, QlPictureLibLoad());
    EXPECT_NE(nullptr, QlPictureLoad(File("logo.bmp").c_str(), NULL));
}

TEST(PictureFit, ShrinksInMultiplyingStepsUntilItFits)
{
    struct Case {
        int w, h;
        float maxW, maxH;
        int outW, outH;
    } cases[] = {
        {4600, 2300, 2100, 414, 803, 401},   // 59 factors, the last 0.942: bound by the height
        {100, 50, 2100, 414, 100, 50},       // already fits: the first factor is 1
        {2100, 414, 2100, 414, 2100, 414},   // exactly the box
        {100, 100, -1, -1, 0, 0},            // nothing fits: the steps still come to an end
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        int size[2] = {c.w, c.h};
        QlPictureFitScale(size, c.maxW, c.maxH);
        EXPECT_EQ(c.outW, size[0]);
        EXPECT_EQ(c.outH, size[1]);
    }
}

TEST(PictureFit, KeepsTheProportionsAndComesCloseToTheBox)
{
    const int sizes[][2] = {{3000, 300}, {300, 3000}, {1200, 1000}, {40000, 30000}};
    for (const auto &start : sizes) {
        SCOPED_TRACE(testing::Message() << start[0] << " x " << start[1]);
        int size[2] = {start[0], start[1]};
        QlPictureFitScale(size, 1000, 800);
        EXPECT_LE(size[0], 1000);
        EXPECT_LE(size[1], 800);
        // Bound by one side, a little below it: the last step takes at most a tenth.
        EXPECT_TRUE(size[0] >= 900 || size[1] >= 720) << size[0] << " x " << size[1];
        double ratio = (double)start[0] / start[1];   // both sides are truncated: a pixel off at most
        EXPECT_NEAR(size[1] * ratio, size[0], 1.0 + ratio);
    }
}

// The StretchBlt records of an enhanced metafile.
static int CALLBACK CollectStretchBlt(HDC, HANDLETABLE *, const ENHMETARECORD *record, int, LPARAM param)
{
    if (record->iType == EMR_STRETCHBLT)
        ((std::vector<EMRSTRETCHBLT> *)param)->push_back(*(const EMRSTRETCHBLT *)record);
    return 1;
}

static std::vector<EMRSTRETCHBLT> PrintLogoRecords(HBITMAP bitmap, const QlPictureSizeRec &size, int pxPerMmX,
                                                   int pxPerMmY, HDC *memOut)
{
    HDC printer = CreateEnhMetaFileA(NULL, NULL, NULL, NULL);
    RECT page = {100, 300, 4100, 6000};   // half the width plus one line: 2100
    SIZE line = {50, 100};
    QlPicturePrintLogo(memOut, printer, bitmap, &page, &line, &size, pxPerMmX, pxPerMmY);
    HENHMETAFILE emf = CloseEnhMetaFile(printer);
    std::vector<EMRSTRETCHBLT> records;
    EnumEnhMetaFile(NULL, emf, CollectStretchBlt, &records, NULL);
    DeleteEnhMetaFile(emf);
    return records;
}

TEST(PictureLogo, PrintsAtTheTopLeftFittedInProportion)
{
    HDC screen = GetDC(NULL);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 100);
    ReleaseDC(NULL, screen);
    ASSERT_NE(nullptr, bitmap);
    QlPictureSizeRec size = {0, 200, 100};

    struct Case {
        int pxPerMmX, pxPerMmY;
        int outW, outH;   // 0: only the proportions are checked
    } cases[] = {
        {23, 23, 803, 401},   // 4600 x 2300 fitted into 2100 x 414
        {6, 24, 0, 0},        // not square: still twice as wide as high on paper
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pxPerMmX);
        HDC memory = NULL;
        std::vector<EMRSTRETCHBLT> records = PrintLogoRecords(bitmap, size, c.pxPerMmX, c.pxPerMmY, &memory);
        ASSERT_EQ(1u, records.size());
        EXPECT_EQ(100, records[0].xDest);   // the page's left edge
        EXPECT_EQ(0, records[0].yDest);     // the top of the printable area
        if (c.outW) {
            EXPECT_EQ(c.outW, records[0].cxDest);
            EXPECT_EQ(c.outH, records[0].cyDest);
        }
        double mmWide = (double)records[0].cxDest / c.pxPerMmX, mmHigh = (double)records[0].cyDest / c.pxPerMmY;
        EXPECT_NEAR(2.0, mmWide / mmHigh, 0.02);
        EXPECT_LE(mmHigh, 18.0);
        EXPECT_EQ(200, records[0].cxSrc);
        EXPECT_EQ(100, records[0].cySrc);

        // The memory context is the caller's; the bitmap is no longer in it.
        ASSERT_NE(nullptr, memory);
        EXPECT_NE((HGDIOBJ)bitmap, GetCurrentObject(memory, OBJ_BITMAP));
        EXPECT_TRUE(DeleteDC(memory));
    }
    EXPECT_TRUE(DeleteObject(bitmap));
}

static std::string seamNextFolder;
static const char *seamAnswer;
static OPENFILENAMEA seamSeen;

static BOOL WINAPI AnswerOpenFileName(LPOPENFILENAMEA ofn)
{
    seamSeen = *ofn;
    SetCurrentDirectoryA(seamNextFolder.c_str());   // as a dialog may do
    if (!seamAnswer) return FALSE;
    lstrcpynA(ofn->lpstrFile, seamAnswer, ofn->nMaxFile);
    return TRUE;
}

TEST(PictureLogo, ChooserGivesThePathAndRestoresTheWorkingFolder)
{
    char savedWorkDir[MAX_PATH], savedCurrent[MAX_PATH];
    strcpy(savedWorkDir, QlWorkDir);
    GetCurrentDirectoryA(sizeof savedCurrent, savedCurrent);
    std::string work = QlTestMakeFolder("qlpic");
    std::string other = QlTestMakeFolder("qlpic");
    ASSERT_FALSE(work.empty());
    ASSERT_FALSE(other.empty());
    lstrcpynA(QlWorkDir, work.c_str(), sizeof QlWorkDir);
    seamNextFolder = other;
    QlSeamGetOpenFileName = AnswerOpenFileName;

    char path[MAX_PATH] = "unchanged";
    char current[MAX_PATH];
    seamAnswer = NULL;
    EXPECT_EQ(0, QlPictureChooseLogo(NULL, path));
    EXPECT_STREQ("unchanged", path);
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_STREQ(work.c_str(), current);

    EXPECT_STREQ("Select Invoice Logo File", seamSeen.lpstrTitle);
    // Every kind the picture check takes is offered, each pattern with its dot.
    static const char filter[] = "Graphics Files (*.bmp;*.jpg;*.gif;*.png)\0*.bmp;*.jpg;*.jpeg;*.gif;*.png\0";
    EXPECT_EQ(0, memcmp(seamSeen.lpstrFilter, filter, sizeof filter));
    std::string patterns = seamSeen.lpstrFilter + strlen(seamSeen.lpstrFilter) + 1;
    for (size_t at = 0; at < patterns.size();) {
        size_t end = patterns.find(';', at);
        if (end == std::string::npos) end = patterns.size();
        EXPECT_EQ("*.", patterns.substr(at, 2)) << patterns.substr(at, end - at);
        at = end + 1;
    }
    EXPECT_STREQ(".\\", seamSeen.lpstrInitialDir);
    EXPECT_EQ((DWORD)(OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR), seamSeen.Flags);
    EXPECT_EQ((DWORD)sizeof(OPENFILENAMEA), seamSeen.lStructSize);
    EXPECT_EQ((DWORD)MAX_PATH, seamSeen.nMaxFile);

    seamAnswer = "C:\\logos\\firm.bmp";
    EXPECT_EQ(1, QlPictureChooseLogo(NULL, path));
    EXPECT_STREQ("C:\\logos\\firm.bmp", path);
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_STREQ(work.c_str(), current);

    QlSeamsReset();
    SetCurrentDirectoryA(savedCurrent);
    strcpy(QlWorkDir, savedWorkDir);
    QlTestRemoveFolder(work);
    QlTestRemoveFolder(other);
}

TEST(ListBoxFill, AddsInOrderThenSelects)
{
    HWND host = QlTestHostWindow();
    HWND box = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, host, (HMENU)(INT_PTR)7,
                               GetModuleHandleA(NULL), NULL);
    ASSERT_NE(nullptr, box);
    const char *items[] = {"Pounds", "Euro", "Dollars", NULL};
    QlUiListBoxFill(host, 7, items, 1);
    ASSERT_EQ(3, SendMessageA(box, LB_GETCOUNT, 0, 0));
    char text[32];
    SendMessageA(box, LB_GETTEXT, 2, (LPARAM)text);
    EXPECT_STREQ("Dollars", text);
    EXPECT_EQ(1, SendMessageA(box, LB_GETCURSEL, 0, 0));

    // An empty array adds nothing but still sets the selection.
    const char *none[] = {NULL};
    QlUiListBoxFill(host, 7, none, 2);
    EXPECT_EQ(3, SendMessageA(box, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(2, SendMessageA(box, LB_GETCURSEL, 0, 0));
    DestroyWindow(host);
}
