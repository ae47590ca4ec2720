#include "QlGTest.h"
#include "PictureFixtures.h"

#include <windows.h>
#include <stdlib.h>

typedef HBITMAP(WINAPI *LoadPictureFileFn)(const char *path);

class Glimmet : public ::testing::Test {
protected:
    std::string dir;
    HMODULE lib = NULL;
    LoadPictureFileFn load = NULL;

    void SetUp() override
    {
        dir = QlTestMakeFolder("qlpic");
        ASSERT_FALSE(dir.empty());
        lib = LoadLibraryA("Glimmet.dll");
        ASSERT_NE(nullptr, lib);
        load = (LoadPictureFileFn)(void *)GetProcAddress(lib, "LoadPictureFile");
        ASSERT_NE(nullptr, load);
        ASSERT_TRUE(QlTestWriteBmp(File("red-dot.bmp"), 7, 5, RGB(255, 0, 0), RGB(255, 255, 255)));
        ASSERT_TRUE(QlTestCopyFixture("blue-24x16.jpg", File("blue.jpg")));
        ASSERT_TRUE(QlTestCopyFixture("green-10x6.gif", File("green.gif")));
        const std::vector<uint8_t> png = QlTestPngBytes(9, 3, RGB(255, 0, 0), RGB(30, 90, 200));
        ASSERT_TRUE(QlTestWriteFile(File("blue.png"), png.data(), png.size()));
        const std::vector<uint8_t> v5 = QlTestBmpNewHeaderBytes(124, 5, 4, RGB(255, 0, 0), RGB(240, 160, 0));
        ASSERT_TRUE(QlTestWriteFile(File("orange-v5.bmp"), v5.data(), v5.size()));
        const std::vector<uint8_t> rle = QlTestBmpRle8Bytes(300, 4, RGB(255, 0, 0), RGB(120, 0, 160));
        ASSERT_TRUE(QlTestWriteFile(File("purple-rle8.bmp"), rle.data(), rle.size()));
        // 4 x 1 pixels with alpha: opaque red, transparent, half-covered black, opaque green.
        std::vector<uint8_t> header = {0, 0, 0, 4, 0, 0, 0, 1, 8, 6, 0, 0, 0};
        const std::vector<uint8_t> row = {0, 255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 128, 0, 255, 0, 255};
        const std::vector<uint8_t> alpha = QlTestPngOfChunks({{"IHDR", header}, {"IDAT", QlTestZlibStored(row)}, {"IEND", {}}});
        ASSERT_TRUE(QlTestWriteFile(File("alpha.png"), alpha.data(), alpha.size()));
    }

    void TearDown() override
    {
        if (lib) FreeLibrary(lib);
        QlTestRemoveFolder(dir);
    }

    std::string File(const char *name) { return dir + "\\" + name; }
};

static bool Near(COLORREF a, COLORREF b)
{
    return abs(GetRValue(a) - GetRValue(b)) < 24 && abs(GetGValue(a) - GetGValue(b)) < 24 &&
           abs(GetBValue(a) - GetBValue(b)) < 24;
}

TEST_F(Glimmet, ReadsBitmapJpegGifAndPngFilesAtTheirSize)
{
    struct Case {
        const char *file;
        int width, height;
        int x, y;
        COLORREF colour;
    } cases[] = {
        {"red-dot.bmp", 7, 5, 0, 0, RGB(255, 0, 0)},          // odd width: padded rows, bottom-up order
        {"red-dot.bmp", 7, 5, 6, 4, RGB(255, 255, 255)},
        {"blue.jpg", 24, 16, 12, 8, RGB(0, 0, 255)},
        {"green.gif", 10, 6, 5, 3, RGB(0, 255, 0)},
        {"blue.png", 9, 3, 0, 0, RGB(255, 0, 0)},
        {"blue.png", 9, 3, 8, 2, RGB(30, 90, 200)},
        {"orange-v5.bmp", 5, 4, 0, 0, RGB(255, 0, 0)},
        {"orange-v5.bmp", 5, 4, 4, 3, RGB(240, 160, 0)},
        {"purple-rle8.bmp", 300, 4, 0, 0, RGB(255, 0, 0)},
        {"purple-rle8.bmp", 300, 4, 299, 3, RGB(120, 0, 160)},
        // Transparent parts of a PNG file lie on white, as on paper.
        {"alpha.png", 4, 1, 0, 0, RGB(255, 0, 0)},
        {"alpha.png", 4, 1, 1, 0, RGB(255, 255, 255)},
        {"alpha.png", 4, 1, 2, 0, RGB(127, 127, 127)},
        {"alpha.png", 4, 1, 3, 0, RGB(0, 255, 0)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        HBITMAP bitmap = load(File(c.file).c_str());
        int w = 0, h = 0;
        ASSERT_TRUE(QlTestBitmapSize(bitmap, &w, &h));
        EXPECT_EQ(c.width, w);
        EXPECT_EQ(c.height, h);
        COLORREF pixel = QlTestBitmapPixel(bitmap, c.x, c.y);
        EXPECT_TRUE(Near(c.colour, pixel)) << std::hex << pixel;
    }
}

TEST_F(Glimmet, EachCallReleasesThePreviousPicture)
{
    HBITMAP first = load(File("red-dot.bmp").c_str());
    ASSERT_NE(nullptr, first);
    HBITMAP second = load(File("blue.jpg").c_str());
    int w, h;
    ASSERT_TRUE(QlTestBitmapSize(second, &w, &h));
    EXPECT_FALSE(QlTestBitmapSize(first, &w, &h));
}

TEST_F(Glimmet, WhatIsNoBitmapGivesZeroAndTheNextLoadWorks)
{
    static const char text[] = "This is not a picture.\r\n";
    static const unsigned char cutBmp[] = {'B', 'M', 0x46, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0, 40, 0};
    ASSERT_TRUE(QlTestWriteFile(File("empty.bmp"), "", 0));
    ASSERT_TRUE(QlTestWriteFile(File("text.jpg"), text, sizeof text - 1));
    ASSERT_TRUE(QlTestWriteFile(File("cut.bmp"), cutBmp, sizeof cutBmp));
    ASSERT_TRUE(QlTestCopyFixture("red-16x16.ico", File("red.ico")));

    const char *names[] = {"missing.bmp", "empty.bmp", "text.jpg", "cut.bmp", "red.ico", "held.bmp", NULL};
    ASSERT_TRUE(QlTestWriteBmp(File("held.bmp"), 4, 4, RGB(0, 0, 0), RGB(0, 0, 0)));
    // A file another handle holds open cannot be read: the library opens without sharing.
    HANDLE held = CreateFileA(File("held.bmp").c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);

    int w, h;
    for (const char *name : names) {
        SCOPED_TRACE(name ? name : "(null path)");
        HBITMAP before = load(File("red-dot.bmp").c_str());
        ASSERT_TRUE(QlTestBitmapSize(before, &w, &h));
        EXPECT_EQ(nullptr, load(name ? File(name).c_str() : NULL));
        // The failed call has released the previous picture all the same...
        EXPECT_FALSE(QlTestBitmapSize(before, &w, &h));
        // ...and forgotten it: the next load works and unloading later releases nothing twice.
        HBITMAP after = load(File("blue.jpg").c_str());
        ASSERT_TRUE(QlTestBitmapSize(after, &w, &h));
        EXPECT_EQ(24, w);
        EXPECT_EQ(nullptr, load(File("missing.bmp").c_str()));
    }
    CloseHandle(held);
    EXPECT_NE(nullptr, load(File("held.bmp").c_str()));
}

TEST_F(Glimmet, UnloadingReleasesTheLastPicture)
{
    HBITMAP bitmap = load(File("blue.jpg").c_str());
    int w, h;
    ASSERT_TRUE(QlTestBitmapSize(bitmap, &w, &h));
    ASSERT_TRUE(FreeLibrary(lib));
    lib = NULL;
    EXPECT_FALSE(QlTestBitmapSize(bitmap, &w, &h));

    // Loaded again, the library starts afresh.
    lib = LoadLibraryA("Glimmet.dll");
    ASSERT_NE(nullptr, lib);
    load = (LoadPictureFileFn)(void *)GetProcAddress(lib, "LoadPictureFile");
    ASSERT_NE(nullptr, load);
    EXPECT_TRUE(QlTestBitmapSize(load(File("green.gif").c_str()), &w, &h));
}
