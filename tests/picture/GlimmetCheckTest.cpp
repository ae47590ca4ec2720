// The library's own check of picture bytes: whole bitmap, JPEG and GIF files
// pass, anything cut or inconsistent is refused before the system loader
// could read past it.
#include "QlGTest.h"
#include "PictureFixtures.h"
#include "picture/GlimmetCheck.h"

#include <dirent.h>
#include <stdint.h>
#include <stdlib.h>
#include <string>
#include <vector>

namespace {

bool Whole(const std::vector<uint8_t> &bytes) { return GlimmetPictureIsWhole(bytes.data(), bytes.size()) == 1; }

void Put32(std::vector<uint8_t> &bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; i++) bytes[at + i] = (uint8_t)(value >> (8 * i));
}

std::vector<uint8_t> Fixture(const char *name)
{
    return QlTestReadSource(std::string("tests/picture/data/") + name);
}

// A run-length coded 8-bit bitmap of width x height over the coded data given.
std::vector<uint8_t> RleBitmap(int width, int height, const std::vector<uint8_t> &data)
{
    std::vector<uint8_t> out(14 + 40 + 1024, 0);
    out[0] = 'B', out[1] = 'M';
    Put32(out, 2, (uint32_t)(out.size() + data.size()));
    Put32(out, 10, (uint32_t)out.size());
    Put32(out, 14, 40);
    Put32(out, 18, (uint32_t)width);
    Put32(out, 22, (uint32_t)height);
    out[26] = 1, out[28] = 8;
    Put32(out, 30, 1);
    Put32(out, 34, (uint32_t)data.size());
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

}  // namespace

TEST(GlimmetCheck, SaysWhatItFoundFromTheBytes)
{
    const struct {
        std::vector<uint8_t> bytes;
        int kind;
        uint32_t width, height;
    } cases[] = {
        {QlTestBmpBytes(7, 5, RGB(255, 0, 0), RGB(255, 255, 255)), GLIMMET_BMP, 7, 5},
        {Fixture("blue-24x16.jpg"), GLIMMET_JPEG, 24, 16},
        {Fixture("green-10x6.gif"), GLIMMET_GIF, 10, 6},
        {Fixture("red-16x16.ico"), GLIMMET_NONE, 0, 0},
    };
    for (const auto &c : cases) {
        GlimmetPictureInfo info = {9, 9, 9};
        EXPECT_EQ(c.kind != GLIMMET_NONE, GlimmetPictureCheck(c.bytes.data(), c.bytes.size(), &info) == 1);
        EXPECT_EQ(c.kind, info.kind);
        EXPECT_EQ(c.width, info.width);
        EXPECT_EQ(c.height, info.height);
    }
}

// Run-length data is walked as a decoder would walk it: it must stay inside
// the bitmap and the data, and reach the last row.
TEST(GlimmetCheck, RunLengthDataMustFillItsBitmapAndNoMore)
{
    const std::vector<uint8_t> row = {4, 1};   // four pixels of colour 1: one whole row of a 4-wide bitmap
    const std::vector<uint8_t> eol = {0, 0}, eob = {0, 1};
    auto join = [](std::initializer_list<std::vector<uint8_t>> parts) {
        std::vector<uint8_t> out;
        for (const auto &p : parts) out.insert(out.end(), p.begin(), p.end());
        return out;
    };
    const struct {
        const char *what;
        std::vector<uint8_t> data;
        bool whole;
    } cases[] = {
        {"rows ended and the bitmap ended", join({row, eol, row, eol, row, eol, eob}), true},
        {"the last row ended by the bitmap's end", join({row, eol, row, eol, row, eob}), true},
        {"no end-of-bitmap mark after the last row", join({row, eol, row, eol, row, eol}), true},
        {"a jump down to the last row", join({row, eol, {0, 2, 0, 1}, row, eob}), true},
        {"literal pixels, padded", join({{0, 3, 7, 8, 9, 0, 1, 5}, eol, row, eol, row, eob}), true},
        {"ended after the first row", join({row, eol, eob}), false},
        {"data that stops short", join({row, eol}), false},
        {"a run past the row's end", join({{5, 1}, eol, row, eol, row, eob}), false},
        {"a run below the last row", join({row, eol, row, eol, row, eol, row, eob}), false},
        {"a jump past the right edge", join({{0, 2, 5, 0}, eol, row, eol, row, eob}), false},
        {"a jump below the bitmap", join({row, {0, 2, 0, 3}, eob}), false},
        {"literal pixels past the data", {0, 4, 7, 8}, false},
        {"no data at all", {}, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.whole, Whole(RleBitmap(4, 3, c.data))) << c.what;

    // 8192 x 8192 declared over 2 KB, and 4096 x 4096 over data that ends
    // after 512 rows: refused without walking further than the data.
    std::vector<uint8_t> runs;
    for (int i = 0; i < 512; i++) runs.insert(runs.end(), {255, 7, 0, 0});
    runs.insert(runs.end(), eob.begin(), eob.end());
    EXPECT_FALSE(Whole(RleBitmap(8192, 8192, runs)));
    EXPECT_FALSE(Whole(RleBitmap(4096, 4096, runs)));
    // Top-down rows cannot be run-length coded.
    std::vector<uint8_t> topDown = RleBitmap(4, 3, join({row, eol, row, eol, row, eob}));
    Put32(topDown, 22, (uint32_t)-3);
    EXPECT_FALSE(Whole(topDown));
}

TEST(GlimmetCheck, WholeFilesPassAndEveryCutOfThemIsRefused)
{
    std::vector<std::pair<std::string, std::vector<uint8_t>>> files = {
        {"bmp 7x5", QlTestBmpBytes(7, 5, RGB(255, 0, 0), RGB(255, 255, 255))},
        {"bmp 1x1", QlTestBmpBytes(1, 1, RGB(0, 0, 0), RGB(0, 0, 0))},
        {"jpeg", Fixture("blue-24x16.jpg")},
        {"gif", Fixture("green-10x6.gif")},
    };
    for (const auto &file : files) {
        SCOPED_TRACE(file.first);
        ASSERT_FALSE(file.second.empty());
        EXPECT_TRUE(Whole(file.second));
        for (size_t size = 0; size < file.second.size(); size++)
            EXPECT_EQ(0, GlimmetPictureIsWhole(file.second.data(), size)) << "cut to " << size << " bytes";
    }
}

TEST(GlimmetCheck, ThePicturesTheProgramShipsPass)
{
    const char *source = getenv("QL_SOURCE_DIR");
    ASSERT_NE(nullptr, source);
    DIR *folder = opendir((std::string(source) + "/resources/images").c_str());
    ASSERT_NE(nullptr, folder);
    int seen = 0;
    while (struct dirent *entry = readdir(folder)) {
        if (entry->d_name[0] == '.') continue;
        std::vector<uint8_t> bytes = QlTestReadSource(std::string("resources/images/") + entry->d_name);
        EXPECT_TRUE(Whole(bytes)) << entry->d_name;
        seen++;
    }
    closedir(folder);
    EXPECT_GT(seen, 20);
}

TEST(GlimmetCheck, InconsistentBitmapHeadersAreRefused)
{
    const std::vector<uint8_t> good = QlTestBmpBytes(7, 5, RGB(255, 0, 0), RGB(255, 255, 255));
    const struct {
        const char *what;
        size_t at;
        uint32_t value;
        int size;   // bytes written at `at`
    } cases[] = {
        {"declared file size past the end", 2, (uint32_t)good.size() + 1, 4},
        {"pixel offset past the end", 10, (uint32_t)good.size(), 4},
        {"pixel offset inside the headers", 10, 20, 4},
        {"unknown info header size", 14, 41, 4},
        {"zero width", 18, 0, 4},
        {"width beyond the pixel data", 18, 9, 4},
        {"height beyond the pixel data", 22, 6, 4},
        {"huge picture", 18, 0x7FFFFFFF, 4},
        {"two planes", 26, 2, 2},
        {"seven bits a pixel", 28, 7, 2},
        {"run-length coding on 24 bits", 30, 1, 4},
        {"embedded JPEG", 30, 4, 4},
    };
    for (const auto &c : cases) {
        std::vector<uint8_t> bytes = good;
        if (c.size == 4) Put32(bytes, c.at, c.value);
        else {
            bytes[c.at] = (uint8_t)c.value;
            bytes[c.at + 1] = (uint8_t)(c.value >> 8);
        }
        EXPECT_FALSE(Whole(bytes)) << c.what;
    }
    // A declared size of 0 is allowed (old writers leave it so) when the pixels are all there.
    std::vector<uint8_t> zeroSize = good;
    Put32(zeroSize, 2, 0);
    EXPECT_TRUE(Whole(zeroSize));
    // Top-down rows (negative height) are a whole picture too.
    std::vector<uint8_t> topDown = good;
    Put32(topDown, 22, (uint32_t)-5);
    EXPECT_TRUE(Whole(topDown));
}

TEST(GlimmetCheck, DamagedJpegAndGifStructureIsRefused)
{
    const std::vector<uint8_t> jpeg = Fixture("blue-24x16.jpg");
    const std::vector<uint8_t> gif = Fixture("green-10x6.gif");
    ASSERT_FALSE(jpeg.empty());
    ASSERT_FALSE(gif.empty());

    // The first segment after the start marker claims more bytes than the file has.
    std::vector<uint8_t> longSegment = jpeg;
    longSegment[4] = 0xFF;
    longSegment[5] = 0xFF;
    EXPECT_FALSE(Whole(longSegment));
    // Scan data with no end-of-image marker behind it.
    std::vector<uint8_t> noEnd(jpeg.begin(), jpeg.end() - 2);
    noEnd.push_back(0x00);
    noEnd.push_back(0x00);
    EXPECT_FALSE(Whole(noEnd));
    // A start marker and nothing of a picture.
    EXPECT_FALSE(Whole({0xFF, 0xD8, 0xFF, 0xD9}));

    // No trailer; a zero-sized screen; an image's code size out of range.
    std::vector<uint8_t> noTrailer(gif.begin(), gif.end() - 1);
    noTrailer.push_back(0x00);
    EXPECT_FALSE(Whole(noTrailer));
    std::vector<uint8_t> noScreen = gif;
    noScreen[6] = noScreen[7] = 0;
    EXPECT_FALSE(Whole(noScreen));
    // A header and trailer with no image between.
    std::vector<uint8_t> noImage(gif.begin(), gif.begin() + 13);
    if (gif[10] & 0x80) noImage.insert(noImage.end(), gif.begin() + 13, gif.begin() + 13 + (3u << ((gif[10] & 7) + 1)));
    noImage.push_back(0x3B);
    EXPECT_FALSE(Whole(noImage));
}

TEST(GlimmetCheck, OtherFormatsNeverReachTheLoader)
{
    std::vector<uint8_t> icon = Fixture("red-16x16.ico");
    ASSERT_FALSE(icon.empty());
    EXPECT_FALSE(Whole(icon));
    const std::string text = "This is not a picture.\r\n";
    EXPECT_FALSE(Whole(std::vector<uint8_t>(text.begin(), text.end())));
    EXPECT_EQ(0, GlimmetPictureIsWhole(NULL, 100));
}
