// Decides whether the bytes of a picture file are a whole bitmap, JPEG, GIF or
// PNG file within the ceiling before any decoder sees them.  Decoders are not
// trusted with cut or inconsistent files: they may read past the data they
// were given or allocate whatever a damaged header says, so what they make of
// such files differs from machine to machine, or ends the program.
#include "GlimmetCheck.h"

#include <stdint.h>
#include <string.h>

namespace {

uint16_t Le16(const unsigned char *p) { return (uint16_t)(p[0] | (p[1] << 8)); }
uint32_t Le32(const unsigned char *p) { return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24); }
uint16_t Be16(const unsigned char *p) { return (uint16_t)((p[0] << 8) | p[1]); }
uint32_t Be32(const unsigned char *p) { return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3]; }

// 1 when a picture of width x height pixels, decoded at bytesPerPixel, is
// within the ceiling.
int WithinCeilingAt(uint64_t width, uint64_t height, unsigned bytesPerPixel)
{
    if (width == 0 || height == 0) return 0;
    if (width > GLIMMET_MOST_SIDE || height > GLIMMET_MOST_SIDE) return 0;
    const uint64_t pixels = width * height;
    return pixels <= GLIMMET_MOST_PIXELS && pixels * bytesPerPixel <= GLIMMET_MOST_DECODED_BYTES;
}

int WithinCeiling(uint64_t width, uint64_t height) { return WithinCeilingAt(width, height, 4); }

// Walks run-length coded pixels (BI_RLE8, or BI_RLE4 when fourBits) the way a
// decoder would, without drawing: every run and jump must stay inside the
// width x height bitmap and every literal run inside the data, and the data
// must reach the bitmap's last row.  One step a run: a damaged file costs no
// more than reading it.
int RunLengthFills(const unsigned char *data, size_t size, uint64_t width, uint64_t height, int fourBits)
{
    uint64_t x = 0, y = 0;
    size_t at = 0;
    while (at + 2 <= size) {
        const unsigned count = data[at], code = data[at + 1];
        at += 2;
        if (count > 0) {   // a run of count pixels of one colour pair
            if (y >= height || x + count > width) return 0;
            x += count;
            continue;
        }
        if (code == 0) {   // end of line
            if (y >= height) return 0;
            y++;
            x = 0;
        } else if (code == 1) {   // end of bitmap
            return y + 1 >= height;
        } else if (code == 2) {   // move right and down
            if (at + 2 > size) return 0;
            x += data[at];
            y += data[at + 1];
            at += 2;
            if (x > width || y >= height) return 0;
        } else {   // code literal pixels, padded to a whole 16-bit word
            if (y >= height || x + code > width) return 0;
            x += code;
            size_t bytes = fourBits ? (code + 1) / 2 : code;
            at += (bytes + 1) & ~(size_t)1;
            if (at > size) return 0;
        }
    }
    // Data that stops without its end-of-bitmap mark has still to reach the last row.
    return y + 1 >= height;
}

// BMP: file header, an info header of a known size, the colour table and the
// pixel rows all within the file, and the file as long as its header says.
int BitmapIsWhole(const unsigned char *data, size_t size, GlimmetPictureInfo *info)
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
        if (bits == 16 || bits == 32) return 0;   // the old header knows no such depths
    } else {
        width = (int32_t)Le32(data + 18);
        height = (int32_t)Le32(data + 22);
        planes = Le16(data + 26);
        bits = Le16(data + 28);
        compression = Le32(data + 30);
        imageSize = Le32(data + 34);
        coloursUsed = Le32(data + 46);
    }
    const int topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || planes != 1) return 0;
    if (!WithinCeiling((uint64_t)width, (uint64_t)height)) return 0;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return 0;

    // The colour table lies between the headers and the pixels.
    if (bits > 8 && coloursUsed > 256) return 0;
    uint64_t colours = bits <= 8 ? (coloursUsed ? coloursUsed : 1u << bits) : coloursUsed;
    if (bits <= 8 && colours > (1u << bits)) return 0;
    uint64_t tableEnd = fileHeader + infoSize + colours * (infoSize == 12 ? 3 : 4);
    if (compression == 3 && infoSize == 40) tableEnd += 12;   // the three masks after a short header
    if (pixelOffset < fileHeader + infoSize || pixelOffset >= size) return 0;
    if ((bits <= 8 || compression == 3) && tableEnd > pixelOffset) return 0;

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
        if (imageSize == 0 || topDown) return 0;   // coded rows always run bottom-up
        pixelBytes = imageSize;
        if ((uint64_t)pixelOffset + pixelBytes > size) return 0;
        if (!RunLengthFills(data + pixelOffset, imageSize, (uint64_t)width, (uint64_t)height, compression == 2))
            return 0;
        break;
    default:  // embedded JPEG or PNG, or unknown
        return 0;
    }
    if ((uint64_t)pixelOffset + pixelBytes > size) return 0;
    info->width = (uint32_t)width;
    info->height = (uint32_t)height;
    return 1;
}

// Progressive files code the picture in a series of scans, and a decoder
// walks the whole picture for each one: a few dozen bytes a scan could make
// it run for minutes.  Encoders write about ten.
const int kMostJpegScans = 64;

// JPEG: every marker segment within the file, one baseline, extended or
// progressive frame of 8-bit samples before the first scan, every scan's
// components among the frame's, and the end-of-image marker after the last
// scan's data.
int JpegIsWhole(const unsigned char *data, size_t size, GlimmetPictureInfo *info)
{
    size_t at = 2;
    int frameComponents = 0, scans = 0;
    uint16_t width = 0, height = 0;
    while (at + 4 <= size) {
        if (data[at] != 0xFF) return 0;
        unsigned char marker = data[at + 1];
        if (marker == 0xFF) {   // fill byte
            at++;
            continue;
        }
        if (marker == 0xD9) return 0;   // end of image before any scan
        if (marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7)) return 0;
        size_t length = Be16(data + at + 2);
        if (length < 2 || at + 2 + length > size) return 0;
        const unsigned char *segment = data + at + 4;
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            // Lossless, hierarchical and arithmetic-coded frames are refused:
            // nothing the program shows is made that way.
            if (marker > 0xC2 || frameComponents) return 0;
            if (length < 8 || segment[0] != 8) return 0;
            height = Be16(segment + 1);
            width = Be16(segment + 3);
            frameComponents = segment[5];
            if (frameComponents != 1 && frameComponents != 3 && frameComponents != 4) return 0;
            if (length != 8 + 3 * (size_t)frameComponents) return 0;
            if (!WithinCeiling(width, height)) return 0;
        }
        at += 2 + length;
        if (marker != 0xDA) continue;
        if (!frameComponents || ++scans > kMostJpegScans) return 0;
        if (length < 6) return 0;
        const unsigned scanComponents = segment[0];
        if (scanComponents < 1 || scanComponents > (unsigned)frameComponents || length != 6 + 2 * scanComponents)
            return 0;
        // Entropy-coded data runs to the next marker that is neither a
        // stuffed zero nor a restart; more scans may follow.
        while (at + 1 < size) {
            if (data[at] == 0xFF && data[at + 1] != 0x00 && data[at + 1] != 0xFF &&
                !(data[at + 1] >= 0xD0 && data[at + 1] <= 0xD7))
                break;
            at++;
        }
        if (at + 1 >= size) return 0;
        if (data[at + 1] == 0xD9) {
            info->width = width;
            info->height = height;
            return 1;
        }
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
// sub-blocks within the file, at least one image, and the trailer.  Some
// decoders decode every image of the file at once, so the images' pixels
// together stay within the ceiling, as does the logical screen, and the
// number of images and of blocks is bounded: the work a decoder does for each
// one, however small, adds up.
int GifIsWhole(const unsigned char *data, size_t size, GlimmetPictureInfo *info)
{
    if (size < 13) return 0;
    const unsigned screenWidth = Le16(data + 6), screenHeight = Le16(data + 8);
    if (!WithinCeiling(screenWidth, screenHeight)) return 0;
    size_t at = 13;
    if (data[10] & 0x80) at += 3u << ((data[10] & 7) + 1);
    int images = 0;
    unsigned blocks = 0;
    uint64_t pixels = 0;
    while (at < size) {
        unsigned char block = data[at];
        if (block != 0x3B && ++blocks > GLIMMET_MOST_GIF_BLOCKS) return 0;
        if (block == 0x3B) {
            if (!images) return 0;
            info->width = screenWidth;
            info->height = screenHeight;
            return 1;
        }
        if (block == 0x21) {
            if (at + 2 > size) return 0;
            at = GifSkipSubBlocks(data, size, at + 2);
        } else if (block == 0x2C) {
            if (at + 10 > size) return 0;
            unsigned width = Le16(data + at + 5), height = Le16(data + at + 7);
            unsigned char flags = data[at + 9];
            if (!WithinCeiling(width, height)) return 0;
            if (++images > (int)GLIMMET_MOST_GIF_IMAGES) return 0;
            pixels += (uint64_t)width * height;
            if (pixels > GLIMMET_MOST_PIXELS || pixels * 4 > GLIMMET_MOST_DECODED_BYTES) return 0;
            at += 10;
            if (flags & 0x80) at += 3u << ((flags & 7) + 1);
            if (at + 1 > size) return 0;
            unsigned codeSize = data[at];
            if (codeSize < 2 || codeSize > 8) return 0;
            at = GifSkipSubBlocks(data, size, at + 1);
        } else {
            return 0;
        }
        if (at == 0) return 0;
    }
    return 0;
}

// The CRC-32 of PNG chunks (ISO 3309), a byte at a time from a table.
struct CrcTable {
    uint32_t entry[256];
    CrcTable()
    {
        for (uint32_t n = 0; n < 256; n++) {
            uint32_t c = n;
            for (int k = 0; k < 8; k++) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entry[n] = c;
        }
    }
};

uint32_t Crc32(const unsigned char *data, size_t size)
{
    static const CrcTable table;
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; i++) crc = table.entry[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

// Bytes a decoder keeps for a pixel of this colour type and bit depth: the
// screen's four, or more for 16-bit samples; 0 for a combination PNG does
// not allow.
unsigned PngBytesPerPixel(unsigned colourType, unsigned depth)
{
    // By colour type (grey, -, RGB, palette, grey and alpha, -, RGBA): its
    // channels and the bit depths it allows, one bit a depth.
    static const struct {
        unsigned channels;
        uint32_t depths;
    } kTypes[7] = {
        {1, 1u << 1 | 1u << 2 | 1u << 4 | 1u << 8 | 1u << 16},
        {0, 0},
        {3, 1u << 8 | 1u << 16},
        {1, 1u << 1 | 1u << 2 | 1u << 4 | 1u << 8},
        {2, 1u << 8 | 1u << 16},
        {0, 0},
        {4, 1u << 8 | 1u << 16},
    };
    if (colourType > 6 || depth > 16 || !(kTypes[colourType].depths >> depth & 1)) return 0;
    const unsigned bytes = kTypes[colourType].channels * (depth == 16 ? 2 : 1);
    return bytes > 4 ? bytes : 4;
}

// PNG: the signature, then chunks each within the file with its checksum:
// IHDR first with a known colour type and bit depth within the ceiling, a
// palette where one is needed (before the image data), image data in one
// unbroken series of IDAT chunks opening a zlib stream, and IEND.  Unknown
// chunks a decoder must understand (their name starting in a capital) are
// refused; others a decoder skips, and there may be a bounded number of them.
int PngIsWhole(const unsigned char *data, size_t size, GlimmetPictureInfo *info)
{
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 8 || memcmp(data, signature, 8) != 0) return 0;
    size_t at = 8;
    uint32_t width = 0, height = 0;
    unsigned colourType = 0, sideChunks = 0, streamBytes = 0;
    unsigned char stream[2] = {0, 0};
    int header = 0, palette = 0, imageData = 0, imageDataEnded = 0;
    while (at + 12 <= size) {
        const uint32_t length = Be32(data + at);
        const unsigned char *type = data + at + 4;
        if (length > 0x7FFFFFFFu || length > size - at - 12) return 0;
        for (int i = 0; i < 4; i++)
            if (!((type[i] >= 'A' && type[i] <= 'Z') || (type[i] >= 'a' && type[i] <= 'z'))) return 0;
        const unsigned char *body = data + at + 8;
        if (Crc32(type, 4 + (size_t)length) != Be32(body + length)) return 0;
        at += 12 + (size_t)length;

        const int isIdat = memcmp(type, "IDAT", 4) == 0;
        if (imageData && !isIdat) imageDataEnded = 1;
        if (!header) {
            // IHDR first: width, height, depth, colour type, compression 0,
            // filter 0, interlace 0 or 1.
            if (memcmp(type, "IHDR", 4) != 0 || length != 13) return 0;
            width = Be32(body);
            height = Be32(body + 4);
            colourType = body[9];
            const unsigned bytesPerPixel = PngBytesPerPixel(colourType, body[8]);
            if (!bytesPerPixel || body[10] != 0 || body[11] != 0 || body[12] > 1) return 0;
            if (!WithinCeilingAt(width, height, bytesPerPixel)) return 0;
            header = 1;
        } else if (memcmp(type, "IHDR", 4) == 0) {
            return 0;
        } else if (memcmp(type, "PLTE", 4) == 0) {
            if (palette || imageData || colourType == 0 || colourType == 4) return 0;
            if (length == 0 || length % 3 != 0 || length > 3 * 256) return 0;
            palette = 1;
        } else if (isIdat) {
            if (imageDataEnded) return 0;   // image data split by other chunks
            if (colourType == 3 && !palette) return 0;
            for (uint32_t i = 0; i < length && streamBytes < 2; i++) stream[streamBytes++] = body[i];
            imageData = 1;
        } else if (memcmp(type, "IEND", 4) == 0) {
            if (length != 0 || !imageData || streamBytes < 2) return 0;
            // A zlib stream of deflate data with no preset dictionary.
            if ((stream[0] & 0x0F) != 8 || (stream[0] >> 4) > 7 || (stream[1] & 0x20) ||
                ((unsigned)stream[0] << 8 | stream[1]) % 31 != 0)
                return 0;
            info->width = width;
            info->height = height;
            return 1;
        } else if (!(type[0] & 0x20)) {
            return 0;   // a critical chunk this check does not know
        } else if (++sideChunks > GLIMMET_MOST_PNG_SIDE_CHUNKS) {
            return 0;
        }
    }
    return 0;
}

}  // namespace

int GlimmetPictureCheck(const unsigned char *data, size_t size, GlimmetPictureInfo *info)
{
    GlimmetPictureInfo found = {GLIMMET_NONE, 0, 0};
    int kind = GLIMMET_NONE;
    if (data && size >= 4 && size <= GLIMMET_MOST_FILE_BYTES) {
        if (data[0] == 'B' && data[1] == 'M') {
            if (BitmapIsWhole(data, size, &found)) kind = GLIMMET_BMP;
        } else if (data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
            if (JpegIsWhole(data, size, &found)) kind = GLIMMET_JPEG;
        } else if (size >= 6 && (memcmp(data, "GIF87a", 6) == 0 || memcmp(data, "GIF89a", 6) == 0)) {
            if (GifIsWhole(data, size, &found)) kind = GLIMMET_GIF;
        } else if (data[0] == 0x89 && data[1] == 'P') {
            if (PngIsWhole(data, size, &found)) kind = GLIMMET_PNG;
        }
    }
    found.kind = kind;
    if (!kind) found.width = found.height = 0;
    if (info) *info = found;
    return kind != GLIMMET_NONE;
}

int GlimmetPictureIsWhole(const unsigned char *data, size_t size)
{
    return GlimmetPictureCheck(data, size, NULL);
}
