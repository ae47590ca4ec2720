// The library's own check of picture bytes: whole bitmap, JPEG, GIF and PNG
// files pass, anything cut or inconsistent is refused before the system loader
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

void PutBe32(std::vector<uint8_t> &bytes, uint32_t value)
{
    for (int i = 3; i >= 0; i--) bytes.push_back((uint8_t)(value >> (8 * i)));
}

// A PNG header chunk's data.
std::vector<uint8_t> PngHeader(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType,
                               uint8_t interlace = 0)
{
    std::vector<uint8_t> out;
    PutBe32(out, width);
    PutBe32(out, height);
    out.insert(out.end(), {depth, colourType, 0, 0, interlace});
    return out;
}

// A GIF file of one-pixel images, each after `extensions` comment blocks.
std::vector<uint8_t> GifOfTinyImages(int images, int extensionsBefore)
{
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
    for (int i = 0; i < images; i++) {
        for (int e = 0; e < extensionsBefore; e++) out.insert(out.end(), {0x21, 0xFE, 1, 'x', 0});
        out.insert(out.end(), {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0});
    }
    out.push_back(0x3B);
    return out;
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
        {QlTestPngBytes(9, 4, RGB(0, 0, 0), RGB(0, 128, 255)), GLIMMET_PNG, 9, 4},
        {QlTestBmpNewHeaderBytes(108, 6, 3, RGB(0, 0, 0), RGB(9, 9, 9)), GLIMMET_BMP, 6, 3},
        {QlTestBmpNewHeaderBytes(124, 5, 2, RGB(0, 0, 0), RGB(9, 9, 9)), GLIMMET_BMP, 5, 2},
        {QlTestBmpRle8Bytes(300, 4, RGB(0, 0, 0), RGB(9, 9, 9)), GLIMMET_BMP, 300, 4},
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
        {"png", QlTestPngBytes(7, 5, RGB(255, 0, 0), RGB(255, 255, 255))},
        {"bmp v5", QlTestBmpNewHeaderBytes(124, 3, 2, RGB(255, 0, 0), RGB(255, 255, 255))},
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

// PNG files are walked chunk by chunk: every chunk within the file with its
// checksum, the header first and within the ceiling, the palette where one
// is needed, the image data unbroken and opening a zlib stream, IEND last.
TEST(GlimmetCheck, PngChunksMustBeWholeAndInOrder)
{
    typedef std::vector<std::pair<std::string, std::vector<uint8_t>>> Chunks;
    const std::vector<uint8_t> rgb = PngHeader(2, 2, 8, 2), data = QlTestZlibStored(std::vector<uint8_t>(14, 0));
    const std::vector<uint8_t> half1(data.begin(), data.begin() + 5), half2(data.begin() + 5, data.end());
    const std::vector<uint8_t> palette = {0, 0, 0, 255, 255, 255}, text = {'a', 0, 'b'};
    Chunks sideChunks = {{"IHDR", rgb}};
    for (unsigned i = 0; i < GLIMMET_MOST_PNG_SIDE_CHUNKS; i++) sideChunks.push_back({"tEXt", text});
    sideChunks.push_back({"IDAT", data});
    sideChunks.push_back({"IEND", {}});
    Chunks tooManySide = sideChunks;
    tooManySide.insert(tooManySide.begin() + 1, {"tEXt", text});
    const struct {
        const char *what;
        Chunks chunks;
        bool whole;
    } cases[] = {
        {"header, data, end", {{"IHDR", rgb}, {"IDAT", data}, {"IEND", {}}}, true},
        {"data in two chunks", {{"IHDR", rgb}, {"IDAT", half1}, {"IDAT", half2}, {"IEND", {}}}, true},
        {"side chunks a decoder skips", {{"IHDR", rgb}, {"tEXt", text}, {"IDAT", data}, {"tIME", {}}, {"IEND", {}}}, true},
        {"a palette picture with its palette", {{"IHDR", PngHeader(2, 2, 8, 3)}, {"PLTE", palette}, {"IDAT", data}, {"IEND", {}}}, true},
        {"interlaced", {{"IHDR", PngHeader(2, 2, 8, 2, 1)}, {"IDAT", data}, {"IEND", {}}}, true},
        {"16-bit grey with alpha", {{"IHDR", PngHeader(2, 2, 16, 4)}, {"IDAT", data}, {"IEND", {}}}, true},
        {"as many side chunks as are read", sideChunks, true},
        {"one side chunk more", tooManySide, false},
        {"a palette picture without its palette", {{"IHDR", PngHeader(2, 2, 8, 3)}, {"IDAT", data}, {"IEND", {}}}, false},
        {"a palette in a grey picture", {{"IHDR", PngHeader(2, 2, 8, 0)}, {"PLTE", palette}, {"IDAT", data}, {"IEND", {}}}, false},
        {"data split by another chunk", {{"IHDR", rgb}, {"IDAT", half1}, {"tEXt", text}, {"IDAT", half2}, {"IEND", {}}}, false},
        {"no image data", {{"IHDR", rgb}, {"IEND", {}}}, false},
        {"no end", {{"IHDR", rgb}, {"IDAT", data}}, false},
        {"the header not first", {{"tEXt", text}, {"IHDR", rgb}, {"IDAT", data}, {"IEND", {}}}, false},
        {"two headers", {{"IHDR", rgb}, {"IHDR", rgb}, {"IDAT", data}, {"IEND", {}}}, false},
        {"a chunk a decoder must know and cannot", {{"IHDR", rgb}, {"QLXX", text}, {"IDAT", data}, {"IEND", {}}}, false},
        {"a chunk name that is not letters", {{"IHDR", rgb}, {"t3Xt", text}, {"IDAT", data}, {"IEND", {}}}, false},
        {"data that opens no zlib stream", {{"IHDR", rgb}, {"IDAT", {0x12, 0x34, 0x56}}, {"IEND", {}}}, false},
        {"a 16-bit palette", {{"IHDR", PngHeader(2, 2, 16, 3)}, {"PLTE", palette}, {"IDAT", data}, {"IEND", {}}}, false},
        {"3-bit samples", {{"IHDR", PngHeader(2, 2, 3, 0)}, {"IDAT", data}, {"IEND", {}}}, false},
        {"an unknown interlace", {{"IHDR", PngHeader(2, 2, 8, 2, 2)}, {"IDAT", data}, {"IEND", {}}}, false},
        {"zero width", {{"IHDR", PngHeader(0, 2, 8, 2)}, {"IDAT", data}, {"IEND", {}}}, false},
    };
    for (const auto &c : cases) EXPECT_EQ(c.whole, Whole(QlTestPngOfChunks(c.chunks))) << c.what;

    // A checksum that does not match, anywhere; bytes after the end are left alone.
    std::vector<uint8_t> good = QlTestPngBytes(3, 3, RGB(1, 2, 3), RGB(4, 5, 6));
    for (size_t at = 8; at < good.size(); at += 7) {
        std::vector<uint8_t> damaged = good;
        damaged[at] ^= 0x10;
        EXPECT_FALSE(Whole(damaged)) << "byte " << at << " changed";
    }
    good.insert(good.end(), {'t', 'a', 'i', 'l'});
    EXPECT_TRUE(Whole(good));
}

// The ceiling takes a 24-megapixel camera photo and anything up to 8192
// pixels a side and 256 MB decoded; a side or a decoded size beyond is
// refused from the header alone.
TEST(GlimmetCheck, CeilingTakesCameraPhotosAndNoMore)
{
    const std::vector<uint8_t> data = QlTestZlibStored(std::vector<uint8_t>(14, 0));
    auto png = [&data](uint32_t w, uint32_t h, uint8_t depth, uint8_t type) {
        return Whole(QlTestPngOfChunks({{"IHDR", PngHeader(w, h, depth, type)}, {"IDAT", data}, {"IEND", {}}}));
    };
    const std::vector<uint8_t> jpeg = Fixture("blue-24x16.jpg");
    ASSERT_FALSE(jpeg.empty());
    auto jpegOf = [&jpeg](unsigned w, unsigned h) {
        std::vector<uint8_t> bytes = jpeg;
        for (size_t at = 2; at + 9 < bytes.size(); at++)
            if (bytes[at] == 0xFF && (bytes[at + 1] == 0xC0 || bytes[at + 1] == 0xC2)) {
                bytes[at + 5] = (uint8_t)(h >> 8), bytes[at + 6] = (uint8_t)h;
                bytes[at + 7] = (uint8_t)(w >> 8), bytes[at + 8] = (uint8_t)w;
                break;
            }
        return Whole(bytes);
    };
    EXPECT_TRUE(jpegOf(6000, 4000));
    EXPECT_TRUE(jpegOf(4000, 6000));
    EXPECT_TRUE(jpegOf(8192, 8192));
    EXPECT_FALSE(jpegOf(8193, 100));
    EXPECT_FALSE(jpegOf(100, 8193));
    EXPECT_TRUE(png(6000, 4000, 8, 6));
    EXPECT_TRUE(png(8192, 8192, 8, 2));
    EXPECT_FALSE(png(8193, 1, 8, 2));
    // 16-bit samples stay 16-bit in a decoder: eight bytes a pixel with alpha.
    EXPECT_TRUE(png(8192, 4096, 16, 6));
    EXPECT_FALSE(png(8192, 4097, 16, 6));
    EXPECT_EQ(256u * 1024 * 1024, GLIMMET_MOST_DECODED_BYTES);
    EXPECT_EQ(8192u * 8192u, GLIMMET_MOST_PIXELS);
}

// However small its images, a GIF file holds a bounded number of them and of
// blocks in all: 400,000 one-pixel images held a decoder for a minute.
TEST(GlimmetCheck, GifImagesAndBlocksAreCounted)
{
    const int most = (int)GLIMMET_MOST_GIF_IMAGES;
    EXPECT_TRUE(Whole(GifOfTinyImages(most, 0)));
    EXPECT_FALSE(Whole(GifOfTinyImages(most + 1, 0)));
    EXPECT_FALSE(Whole(GifOfTinyImages(20000, 0)));
    // Blocks of any kind count: three comments before each of 1024 images fill them.
    EXPECT_EQ(4096u, GLIMMET_MOST_GIF_BLOCKS);
    EXPECT_TRUE(Whole(GifOfTinyImages(most, 3)));
    std::vector<uint8_t> oneMore = GifOfTinyImages(most, 3);
    oneMore.insert(oneMore.end() - 1, {0x21, 0xFE, 1, 'x', 0});
    EXPECT_FALSE(Whole(oneMore));
}
