// Decides whether the bytes of a picture file are a whole bitmap, JPEG or GIF
// file before the system's picture loader sees them.  The loader is not
// trusted with cut or inconsistent files: it may read past the data it was
// given, so what it makes of them differs from machine to machine.
#include "GlimmetCheck.h"

#include <stdint.h>
#include <string.h>

namespace {

// Pictures larger than this many pixels are refused: no logo or flag comes
// near it, and the loader would try to allocate whatever a damaged header says.
const uint64_t kMostPixels = 64ull * 1024 * 1024;

uint16_t Le16(const unsigned char *p) { return (uint16_t)(p[0] | (p[1] << 8)); }
uint32_t Le32(const unsigned char *p) { return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24); }
uint16_t Be16(const unsigned char *p) { return (uint16_t)((p[0] << 8) | p[1]); }

// BMP: file header, an info header of a known size, the colour table and the
// pixel rows all within the file, and the file as long as its header says.
int BitmapIsWhole(const unsigned char *data, size_t size)
{
    const size_t fileHeader = 14;
    if (size < fileHeader + 12) return 0;
    uint32_t declaredSize = Le32(data + 2);
    uint32_t pixelOffset = Le32(data + 10);
    uint32_t infoSize = Le32(data + 14);
    if (declaredSize != 0 && declaredSize > size) return 0;
    if (infoSize != 12 && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 &&
        infoSize != 124)
        return 0;
    if (fileHeader + infoSize > size) return 0;

    int64_t width, height;
    unsigned planes, bits;
    uint32_t compression = 0, imageSize = 0, coloursUsed = 0;
    if (infoSize == 12) {
        width = Le16(data + 18);
        height = (int16_t)Le16(data + 20);
        planes = Le16(data + 22);
        bits = Le16(data + 24);
    } else {
        width = (int32_t)Le32(data + 18);
        height = (int32_t)Le32(data + 22);
        planes = Le16(data + 26);
        bits = Le16(data + 28);
        compression = Le32(data + 30);
        imageSize = Le32(data + 34);
        coloursUsed = Le32(data + 46);
    }
    if (height < 0) height = -height;
    if (width <= 0 || height <= 0 || planes != 1) return 0;
    if ((uint64_t)width * (uint64_t)height > kMostPixels) return 0;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return 0;

    // The colour table lies between the headers and the pixels.
    uint64_t colours = bits <= 8 ? (coloursUsed ? coloursUsed : 1u << bits) : coloursUsed;
    if (bits <= 8 && colours > (1u << bits)) return 0;
    uint64_t tableEnd = fileHeader + infoSize + colours * (infoSize == 12 ? 3 : 4);
    if (compression == 3 && infoSize == 40) tableEnd += 12;   // the three masks after a short header
    if (pixelOffset < fileHeader + infoSize || pixelOffset >= size) return 0;
    if (bits <= 8 && tableEnd > pixelOffset) return 0;

    uint64_t pixelBytes;
    switch (compression) {
    case 0:   // BI_RGB
    case 3:   // BI_BITFIELDS
        if (compression == 3 && bits != 16 && bits != 32) return 0;
        pixelBytes = ((uint64_t)width * bits + 31) / 32 * 4 * (uint64_t)height;
        break;
    case 1:   // BI_RLE8
    case 2:   // BI_RLE4
        if ((compression == 1 && bits != 8) || (compression == 2 && bits != 4)) return 0;
        if (imageSize == 0) return 0;
        pixelBytes = imageSize;
        break;
    default:  // embedded JPEG or PNG, or unknown
        return 0;
    }
    return (uint64_t)pixelOffset + pixelBytes <= size;
}

// JPEG: every marker segment within the file, a frame header before the
// first scan, and the end-of-image marker after the scan data.
int JpegIsWhole(const unsigned char *data, size_t size)
{
    size_t at = 2;
    int frame = 0, scan = 0;
    while (at + 4 <= size) {
        if (data[at] != 0xFF) return 0;
        unsigned char marker = data[at + 1];
        if (marker == 0xFF) {   // fill byte
            at++;
            continue;
        }
        if (marker == 0xD9) return 0;   // end of image before any scan
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) return 0;
        size_t length = Be16(data + at + 2);
        if (length < 2 || at + 2 + length > size) return 0;
        if ((marker >= 0xC0 && marker <= 0xCF) && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            if (length < 8) return 0;
            uint16_t height = Be16(data + at + 5), width = Be16(data + at + 7);
            if (width == 0 || height == 0) return 0;
            frame = 1;
        }
        at += 2 + length;
        if (marker != 0xDA) continue;
        if (!frame) return 0;
        scan = 1;
        // Entropy-coded data runs to the next marker that is neither a
        // stuffed zero nor a restart; more scans may follow.
        while (at + 1 < size) {
            if (data[at] == 0xFF && data[at + 1] != 0x00 && data[at + 1] != 0xFF &&
                !(data[at + 1] >= 0xD0 && data[at + 1] <= 0xD7))
                break;
            at++;
        }
        if (at + 1 >= size) return 0;
        if (data[at + 1] == 0xD9) return scan;
    }
    return 0;
}

// Skips a run of GIF data sub-blocks ending with a zero-length block; the
// position after it, or 0 when the run leaves the file.
size_t GifSkipSubBlocks(const unsigned char *data, size_t size, size_t at)
{
    while (at < size) {
        size_t length = data[at];
        at += 1 + length;
        if (length == 0) return at <= size ? at : 0;
    }
    return 0;
}

// GIF: header, colour tables, every extension and image with its data
// sub-blocks within the file, at least one image, and the trailer.
int GifIsWhole(const unsigned char *data, size_t size)
{
    if (size < 13) return 0;
    if (Le16(data + 6) == 0 || Le16(data + 8) == 0) return 0;
    size_t at = 13;
    if (data[10] & 0x80) at += 3u << ((data[10] & 7) + 1);
    int images = 0;
    while (at < size) {
        unsigned char block = data[at];
        if (block == 0x3B) return images > 0;
        if (block == 0x21) {
            if (at + 2 > size) return 0;
            at = GifSkipSubBlocks(data, size, at + 2);
        } else if (block == 0x2C) {
            if (at + 10 > size) return 0;
            unsigned width = Le16(data + at + 5), height = Le16(data + at + 7);
            unsigned char flags = data[at + 9];
            if (width == 0 || height == 0) return 0;
            at += 10;
            if (flags & 0x80) at += 3u << ((flags & 7) + 1);
            if (at + 1 > size) return 0;
            unsigned codeSize = data[at];
            if (codeSize < 2 || codeSize > 8) return 0;
            at = GifSkipSubBlocks(data, size, at + 1);
            images++;
        } else {
            return 0;
        }
        if (at == 0) return 0;
    }
    return 0;
}

}  // namespace

int GlimmetPictureIsWhole(const unsigned char *data, size_t size)
{
    if (!data || size < 4) return 0;
    if (data[0] == 'B' && data[1] == 'M') return BitmapIsWhole(data, size);
    if (data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return JpegIsWhole(data, size);
    if (size >= 6 && (memcmp(data, "GIF87a", 6) == 0 || memcmp(data, "GIF89a", 6) == 0)) return GifIsWhole(data, size);
    return 0;
}
