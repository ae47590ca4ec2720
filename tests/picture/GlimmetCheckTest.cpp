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

}  // namespace

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
