#define FREEIMAGE_LIB
#include <FreeImage.h>

#include "HostileFiles.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

typedef std::vector<uint8_t> Bytes;

void PutLe(Bytes &out, uint32_t value, int count)
{
    for (int i = 0; i < count; i++) out.push_back((uint8_t)(value >> (8 * i)));
}

void SetLe(Bytes &out, size_t at, uint32_t value, int count)
{
    for (int i = 0; i < count && at + i < out.size(); i++) out[at + i] = (uint8_t)(value >> (8 * i));
}

Bytes Fixture(const char *name)
{
    Bytes data;
    const char *source = getenv("QL_SOURCE_DIR");
    if (!source) return data;
    FILE *f = fopen((std::string(source) + "/tests/picture/data/" + name).c_str(), "rb");
    if (!f) return data;
    uint8_t buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + n);
    fclose(f);
    return data;
}

// A bitmap file: the file header, an info header of infoSize bytes (12, 40,
// 108 or 124), the colour table (colours entries, 3 bytes each under the old
// header) and the pixel bytes as given.  Negative height: top-down rows.
Bytes Bitmap(int infoSize, int width, int height, int bits, int compression, int colours, const Bytes &pixels,
             const uint32_t *masks = NULL)
{
    const int entry = infoSize == 12 ? 3 : 4;
    const int extraMasks = compression == 3 && infoSize == 40 ? 12 : 0;
    const uint32_t offset = 14 + infoSize + extraMasks + colours * entry;
    Bytes out = {'B', 'M'};
    PutLe(out, offset + (uint32_t)pixels.size(), 4);
    PutLe(out, 0, 4);
    PutLe(out, offset, 4);
    PutLe(out, (uint32_t)infoSize, 4);
    if (infoSize == 12) {
        PutLe(out, (uint32_t)width, 2);
        PutLe(out, (uint32_t)height, 2);
        PutLe(out, 1, 2);
        PutLe(out, (uint32_t)bits, 2);
    } else {
        PutLe(out, (uint32_t)width, 4);
        PutLe(out, (uint32_t)height, 4);
        PutLe(out, 1, 2);
        PutLe(out, (uint32_t)bits, 2);
        PutLe(out, (uint32_t)compression, 4);
        PutLe(out, (uint32_t)pixels.size(), 4);
        PutLe(out, 2835, 4);
        PutLe(out, 2835, 4);
        PutLe(out, (uint32_t)colours, 4);
        PutLe(out, 0, 4);
        if (infoSize >= 108) {
            for (int i = 0; i < 4; i++) PutLe(out, masks ? masks[i] : 0, 4);
            PutLe(out, 0x73524742, 4);   // sRGB
            while (out.size() < 14 + (size_t)infoSize) out.push_back(0);
        }
    }
    for (int i = 0; i < extraMasks / 4; i++) PutLe(out, masks ? masks[i] : 0, 4);
    for (int i = 0; i < colours; i++) {
        out.push_back((uint8_t)(i * 37));
        out.push_back((uint8_t)(255 - i * 11));
        out.push_back((uint8_t)(i * 5));
        if (entry == 4) out.push_back(0);
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// Rows of width pixels of bits each, padded to 32 bits, in a pattern.
Bytes Rows(int width, int height, int bits)
{
    const size_t stride = ((size_t)width * bits + 31) / 32 * 4;
    Bytes pixels(stride * (size_t)height);
    for (size_t i = 0; i < pixels.size(); i++) pixels[i] = (uint8_t)(i * 7 + i / stride * 13);
    return pixels;
}

// Run-length coded rows (8 or 4 bits a pixel): per row a run, a literal run
// and the end of line, then the end of bitmap.
Bytes RunLengthRows(int width, int height, int fourBits)
{
    Bytes data;
    for (int y = 0; y < height; y++) {
        const int run = width / 2, literal = width - run;
        data.push_back((uint8_t)run);
        data.push_back((uint8_t)(fourBits ? 0x12 : y));
        data.push_back(0);
        data.push_back((uint8_t)literal);
        const int bytes = fourBits ? (literal + 1) / 2 : literal;
        for (int i = 0; i < bytes; i++) data.push_back((uint8_t)(i * 3 + y));
        if (bytes & 1) data.push_back(0);
        data.push_back(0);
        data.push_back(0);
    }
    data.push_back(0);
    data.push_back(1);
    return data;
}

// A picture FreeImage encodes: 24-bit or 8-bit grey pixels in a pattern,
// saved as format with flags.
Bytes Encoded(FREE_IMAGE_FORMAT format, int flags, int width, int height, int bits)
{
    Bytes out;
    FIBITMAP *picture = FreeImage_Allocate(width, height, bits);
    if (!picture) return out;
    if (bits == 8) {
        RGBQUAD *palette = FreeImage_GetPalette(picture);
        for (int i = 0; i < 256; i++) palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = (BYTE)i;
    }
    for (int y = 0; y < height; y++) {
        BYTE *line = FreeImage_GetScanLine(picture, y);
        for (int x = 0; x < width * bits / 8; x++) line[x] = (BYTE)(x * 5 + y * 3 + (x / 7) * 40);
    }
    FIMEMORY *memory = FreeImage_OpenMemory(NULL, 0);
    BYTE *data = NULL;
    DWORD size = 0;
    if (memory && FreeImage_SaveToMemory(format, picture, memory, flags) &&
        FreeImage_AcquireMemory(memory, &data, &size))
        out.assign(data, data + size);
    if (memory) FreeImage_CloseMemory(memory);
    FreeImage_Unload(picture);
    return out;
}

// Offset of the first marker after the entropy-coded data that starts at at.
size_t JpegScanEnd(const Bytes &jpeg, size_t at)
{
    while (at + 1 < jpeg.size()) {
        if (jpeg[at] == 0xFF && jpeg[at + 1] != 0 && !(jpeg[at + 1] >= 0xD0 && jpeg[at + 1] <= 0xD7)) return at;
        at++;
    }
    return jpeg.size();
}

// Offset of the first segment with this marker; 0 when there is none.
size_t JpegFind(const Bytes &jpeg, uint8_t marker)
{
    size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        const uint8_t found = jpeg[at + 1];
        if (found == marker) return at;
        at += 2 + (size_t)(jpeg[at + 2] << 8 | jpeg[at + 3]);
        if (found == 0xDA) at = JpegScanEnd(jpeg, at);
    }
    return 0;
}

// The first scan (its header and data) repeated until the file holds scans of them.
Bytes JpegWithScans(const Bytes &jpeg, int scans)
{
    size_t sos = JpegFind(jpeg, 0xDA);
    if (!sos || jpeg.size() < 2) return jpeg;
    size_t end = JpegScanEnd(jpeg, sos + 2 + (size_t)(jpeg[sos + 2] << 8 | jpeg[sos + 3]));
    Bytes chunk(jpeg.begin() + (long)sos, jpeg.begin() + (long)end);
    Bytes out(jpeg.begin(), jpeg.end() - 2);
    int have = 0;
    for (size_t at = 0; at + 1 < out.size(); at++)
        if (out[at] == 0xFF && out[at + 1] == 0xDA) have++;
    for (int i = have; i < scans; i++) out.insert(out.end(), chunk.begin(), chunk.end());
    out.push_back(0xFF);
    out.push_back(0xD9);
    return out;
}

// The SOF segment's fields: precision at +4, height at +5, width at +7.
Bytes JpegWithFrame(Bytes jpeg, int marker, int precision, int width, int height)
{
    size_t sof = JpegFind(jpeg, 0xC0);
    if (!sof) sof = JpegFind(jpeg, 0xC2);
    if (!sof) return jpeg;
    if (marker >= 0) jpeg[sof + 1] = (uint8_t)marker;
    if (precision >= 0) jpeg[sof + 4] = (uint8_t)precision;
    if (height >= 0) jpeg[sof + 5] = (uint8_t)(height >> 8), jpeg[sof + 6] = (uint8_t)height;
    if (width >= 0) jpeg[sof + 7] = (uint8_t)(width >> 8), jpeg[sof + 8] = (uint8_t)width;
    return jpeg;
}

// A GIF file of images laid out on a screen: each image declared w x h,
// with a little coded data (not necessarily enough for its pixels).
Bytes GifOfImages(int screenWidth, int screenHeight, int images, int width, int height)
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    PutLe(out, (uint32_t)screenWidth, 2);
    PutLe(out, (uint32_t)screenHeight, 2);
    out.push_back(0x80);   // a global colour table of 2 entries
    out.push_back(0);
    out.push_back(0);
    const uint8_t table[6] = {0, 0, 0, 255, 255, 255};
    out.insert(out.end(), table, table + 6);
    for (int i = 0; i < images; i++) {
        out.push_back(0x2C);
        PutLe(out, 0, 4);
        PutLe(out, (uint32_t)width, 2);
        PutLe(out, (uint32_t)height, 2);
        out.push_back(0);
        out.push_back(2);   // code size
        const uint8_t data[] = {4, 0x84, 0x8F, 0xA9, 0x0B, 0};
        out.insert(out.end(), data, data + sizeof data);
    }
    out.push_back(0x3B);
    return out;
}

// The fixture's images repeated: a GIF file with two images.
Bytes GifTwice(const Bytes &gif)
{
    if (gif.size() < 14) return gif;
    size_t start = 13 + ((gif[10] & 0x80) ? 3u << ((gif[10] & 7) + 1) : 0);
    if (start >= gif.size()) return gif;
    Bytes out(gif.begin(), gif.end() - 1);
    out.insert(out.end(), gif.begin() + (long)start, gif.end() - 1);
    out.push_back(0x3B);
    return out;
}

void PutBe32(Bytes &out, uint32_t value)
{
    for (int i = 3; i >= 0; i--) out.push_back((uint8_t)(value >> (8 * i)));
}

uint32_t Crc32(const uint8_t *data, size_t size)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; i++) {
        crc ^= data[i];
        for (int k = 0; k < 8; k++) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return crc ^ 0xFFFFFFFFu;
}

// The chunks of a PNG file: offsets of each chunk's length field.
std::vector<size_t> PngChunks(const Bytes &png)
{
    std::vector<size_t> at;
    for (size_t i = 8; i + 12 <= png.size();) {
        at.push_back(i);
        i += 12 + ((size_t)png[i] << 24 | (size_t)png[i + 1] << 16 | (size_t)png[i + 2] << 8 | png[i + 3]);
    }
    return at;
}

// Sets the checksum of the chunk at `at` right for its bytes as they now are.
void PngResum(Bytes &png, size_t at)
{
    const size_t length = (size_t)png[at] << 24 | (size_t)png[at + 1] << 16 | (size_t)png[at + 2] << 8 | png[at + 3];
    if (at + 12 + length > png.size()) return;
    const uint32_t crc = Crc32(png.data() + at + 4, 4 + length);
    for (int i = 0; i < 4; i++) png[at + 8 + length + i] = (uint8_t)(crc >> (24 - 8 * i));
}

// The PNG file with its header's width and height replaced, checksum right.
Bytes PngSized(Bytes png, uint32_t width, uint32_t height)
{
    if (png.size() < 33) return png;
    for (int i = 0; i < 4; i++) png[16 + i] = (uint8_t)(width >> (24 - 8 * i)), png[20 + i] = (uint8_t)(height >> (24 - 8 * i));
    PngResum(png, 8);
    return png;
}

// A chunk of the given name and data inserted before the chunk at `at`.
Bytes PngWithChunk(const Bytes &png, size_t at, const char *name, const Bytes &data)
{
    Bytes chunk;
    PutBe32(chunk, (uint32_t)data.size());
    chunk.insert(chunk.end(), name, name + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    PutBe32(chunk, Crc32(chunk.data() + 4, 4 + data.size()));
    Bytes out(png.begin(), png.begin() + (long)at);
    out.insert(out.end(), chunk.begin(), chunk.end());
    out.insert(out.end(), png.begin() + (long)at, png.end());
    return out;
}

uint64_t Next(uint64_t *state)
{
    // xorshift64*: the same files from the same state on every machine.
    uint64_t x = *state;
    x ^= x >> 12;
    x ^= x << 25;
    x ^= x >> 27;
    *state = x;
    return x * 2685821657736338717ull;
}

size_t Offset(const Bytes &bytes, uint64_t *state)
{
    // Headers are where damage tells: half the edits fall in the first 64 bytes.
    size_t span = (Next(state) & 1) && bytes.size() > 64 ? 64 : bytes.size();
    return span ? (size_t)(Next(state) % span) : 0;
}

}  // namespace

void QlHostileMutate(std::vector<uint8_t> *bytes, uint64_t *state)
{
    static const uint32_t kTelling[] = {0,      1,          2,          0x7F,       0x80,       0xFF,
                                        0x100,  0x7FFF,     0x8000,     0xFFFF,     4096,       4097,
                                        8192,   0x10000,    0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFFE};
    Bytes &b = *bytes;
    const int edits = 1 + (int)(Next(state) % 4);
    for (int e = 0; e < edits && !b.empty(); e++) {
        const size_t at = Offset(b, state);
        const uint32_t telling = kTelling[Next(state) % (sizeof kTelling / sizeof kTelling[0])];
        switch (Next(state) % 8) {
        case 0: b[at] = (uint8_t)Next(state); break;
        case 1: b[at] ^= (uint8_t)(1u << (Next(state) % 8)); break;
        case 2: SetLe(b, at, telling, 2); break;
        case 3: SetLe(b, at, telling, 4); break;
        case 4:   // a big-endian word, as JPEG writes its sizes
            if (at + 1 < b.size()) b[at] = (uint8_t)(telling >> 8), b[at + 1] = (uint8_t)telling;
            break;
        case 5: b.resize(at); break;
        case 6: {   // a piece repeated in place
            size_t length = 1 + (size_t)(Next(state) % 64);
            if (at + length > b.size()) length = b.size() - at;
            Bytes piece(b.begin() + (long)at, b.begin() + (long)(at + length));
            b.insert(b.begin() + (long)at, piece.begin(), piece.end());
            break;
        }
        default: {   // a run of one byte value
            size_t length = 1 + (size_t)(Next(state) % 16);
            uint8_t value = (Next(state) & 1) ? 0xFF : 0x00;
            for (size_t i = at; i < at + length && i < b.size(); i++) b[i] = value;
            break;
        }
        }
    }
}

std::vector<QlHostileFile> QlHostileSeeds(void)
{
    const uint32_t masks565[4] = {0xF800, 0x07E0, 0x001F, 0};
    const uint32_t masks8888[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    std::vector<QlHostileFile> seeds = {
        {"rgb24.bmp", Bitmap(40, 13, 7, 24, 0, 0, Rows(13, 7, 24)), QL_HOSTILE_PASSES},
        {"top-down-rgb24.bmp", Bitmap(40, 9, -6, 24, 0, 0, Rows(9, 6, 24)), QL_HOSTILE_PASSES},
        {"palette8.bmp", Bitmap(40, 11, 6, 8, 0, 16, Rows(11, 6, 8)), QL_HOSTILE_PASSES},
        {"palette4.bmp", Bitmap(40, 11, 6, 4, 0, 16, Rows(11, 6, 4)), QL_HOSTILE_PASSES},
        {"mono.bmp", Bitmap(40, 19, 5, 1, 0, 2, Rows(19, 5, 1)), QL_HOSTILE_PASSES},
        {"rle8.bmp", Bitmap(40, 12, 6, 8, 1, 256, RunLengthRows(12, 6, 0)), QL_HOSTILE_PASSES},
        {"rle4.bmp", Bitmap(40, 12, 6, 4, 2, 16, RunLengthRows(12, 6, 1)), QL_HOSTILE_PASSES},
        {"rgb16.bmp", Bitmap(40, 10, 4, 16, 0, 0, Rows(10, 4, 16)), QL_HOSTILE_PASSES},
        {"masks565.bmp", Bitmap(40, 10, 4, 16, 3, 0, Rows(10, 4, 16), masks565), QL_HOSTILE_PASSES},
        {"v5-argb.bmp", Bitmap(124, 8, 5, 32, 3, 0, Rows(8, 5, 32), masks8888), QL_HOSTILE_PASSES},
        {"core8.bmp", Bitmap(12, 10, 4, 8, 0, 256, Rows(10, 4, 8)), QL_HOSTILE_PASSES},
        {"baseline.jpg", Fixture("blue-24x16.jpg"), QL_HOSTILE_PASSES},
        {"progressive.jpg", Encoded(FIF_JPEG, JPEG_PROGRESSIVE | 75, 40, 24, 24), QL_HOSTILE_PASSES},
        {"grey.jpg", Encoded(FIF_JPEG, 90, 30, 20, 8), QL_HOSTILE_PASSES},
        {"one.gif", Fixture("green-10x6.gif"), QL_HOSTILE_PASSES},
        {"encoded.gif", Encoded(FIF_GIF, 0, 33, 17, 8), QL_HOSTILE_PASSES},
        {"two.gif", GifTwice(Fixture("green-10x6.gif")), QL_HOSTILE_PASSES},
        {"v4-rgb24.bmp", Bitmap(108, 13, 7, 24, 0, 0, Rows(13, 7, 24)), QL_HOSTILE_PASSES},
        {"v4-rle8.bmp", Bitmap(108, 12, 6, 8, 1, 256, RunLengthRows(12, 6, 0)), QL_HOSTILE_PASSES},
        {"v5-rle8.bmp", Bitmap(124, 12, 6, 8, 1, 256, RunLengthRows(12, 6, 0)), QL_HOSTILE_PASSES},
        {"rgb.png", Encoded(FIF_PNG, 0, 21, 9, 24), QL_HOSTILE_PASSES},
        {"grey.png", Encoded(FIF_PNG, PNG_Z_BEST_COMPRESSION, 17, 11, 8), QL_HOSTILE_PASSES},
        {"rgba.png", Encoded(FIF_PNG, 0, 12, 12, 32), QL_HOSTILE_PASSES},
        {"interlaced.png", Encoded(FIF_PNG, PNG_INTERLACED, 19, 13, 24), QL_HOSTILE_PASSES},
    };
    return seeds;
}

std::vector<QlHostileFile> QlHostileCorpus(int perSeed)
{
    std::vector<QlHostileFile> corpus = QlHostileSeeds();
    const size_t seedCount = corpus.size();
    auto add = [&corpus](const char *name, const Bytes &bytes, int verdict) {
        corpus.push_back({name, bytes, verdict});
    };

    // The icon that crashed FreeImage: its bit count (byte 36) made
    // impossible, saved under a bitmap's name.  Its bytes say it is no bitmap.
    const Bytes icon = Fixture("red-16x16.ico");
    const int iconBits[] = {36, 48, 64, 255};
    for (int bits : iconBits) {
        Bytes damaged = icon;
        if (damaged.size() > 36) damaged[36] = (uint8_t)bits;
        add(("icon-bits-" + std::to_string(bits) + ".bmp").c_str(), damaged, QL_HOSTILE_REFUSED);
    }

    // Run-length bitmaps whose data cannot be what they declare.
    Bytes runs;
    for (int i = 0; i < 1024; i++) runs.push_back(i % 2 ? 0 : 255), runs.push_back(i % 2 ? 0 : 7);
    runs.push_back(0);
    runs.push_back(1);
    add("rle8-8192-2kb.bmp", Bitmap(40, 8192, 8192, 8, 1, 256, runs), QL_HOSTILE_REFUSED);
    add("rle8-4096-early-end.bmp", Bitmap(40, 4096, 4096, 8, 1, 256, runs), QL_HOSTILE_REFUSED);
    Bytes overrun = RunLengthRows(12, 6, 0);
    overrun[0] = 200;   // the first run leaves the row
    add("rle8-overrun.bmp", Bitmap(40, 12, 6, 8, 1, 256, overrun), QL_HOSTILE_REFUSED);
    Bytes jump = {0, 2, 250, 0, 0, 1};   // a jump past the right edge
    add("rle8-jump-out.bmp", Bitmap(40, 12, 6, 8, 1, 256, jump), QL_HOSTILE_REFUSED);
    Bytes literal = {0, 12, 1, 2, 3};   // a literal run past the data's end
    add("rle8-literal-cut.bmp", Bitmap(40, 12, 6, 8, 1, 256, literal), QL_HOSTILE_REFUSED);
    Bytes topDown = Bitmap(40, 12, -6, 8, 1, 256, RunLengthRows(12, 6, 0));
    add("rle8-top-down.bmp", topDown, QL_HOSTILE_REFUSED);

    // Bitmaps beyond the ceiling or with impossible headers.
    add("mono-8193x64.bmp", Bitmap(40, 8193, 64, 1, 0, 2, Rows(8193, 64, 1)), QL_HOSTILE_REFUSED);
    Bytes huge = Bitmap(40, 13, 7, 24, 0, 0, Rows(13, 7, 24));
    SetLe(huge, 18, 0x7FFFFFFF, 4);
    add("width-max.bmp", huge, QL_HOSTILE_REFUSED);
    Bytes lowest = Bitmap(40, 13, 7, 24, 0, 0, Rows(13, 7, 24));
    SetLe(lowest, 22, 0x80000000, 4);
    add("height-min.bmp", lowest, QL_HOSTILE_REFUSED);
    Bytes colours = Bitmap(40, 13, 7, 24, 0, 0, Rows(13, 7, 24));
    SetLe(colours, 46, 0xFFFFFFFF, 4);
    add("colours-max.bmp", colours, QL_HOSTILE_REFUSED);
    Bytes core32 = Bitmap(12, 10, 4, 32, 0, 0, Rows(10, 4, 32));
    add("core-32-bits.bmp", core32, QL_HOSTILE_REFUSED);
    Bytes embedded = Bitmap(40, 13, 7, 24, 0, 0, Rows(13, 7, 24));
    SetLe(embedded, 30, 4, 4);
    add("embedded-jpeg.bmp", embedded, QL_HOSTILE_REFUSED);

    // GIF files that declare more than they hold.
    add("gif-48-bytes-65535.gif", GifOfImages(0xFFFF, 0xFFFF, 1, 0xFFFF, 0xFFFF), QL_HOSTILE_REFUSED);
    add("gif-images-past-ceiling.gif", GifOfImages(8000, 2000, 5, 8000, 2000), QL_HOSTILE_REFUSED);
    // Tiny images by the thousand: each costs a decoder the same work.
    add("gif-1025-one-pixel-images.gif", GifOfImages(1, 1, 1025, 1, 1), QL_HOSTILE_REFUSED);
    add("gif-1024-one-pixel-images.gif", GifOfImages(1, 1, 1024, 1, 1), QL_HOSTILE_PASSES);

    // PNG files that declare more than they hold, or are not what they say.
    const Bytes png = Encoded(FIF_PNG, 0, 21, 9, 24);
    const std::vector<size_t> chunks = PngChunks(png);
    add("png-65535.png", PngSized(png, 0xFFFF, 0xFFFF), QL_HOSTILE_REFUSED);
    add("png-8193-wide.png", PngSized(png, 8193, 9), QL_HOSTILE_REFUSED);
    add("png-camera-size-over-little-data.png", PngSized(png, 6000, 4000), QL_HOSTILE_ANY);
    Bytes badSum = png;
    if (badSum.size() > 40) badSum[40] ^= 1;
    add("png-bad-checksum.png", badSum, QL_HOSTILE_REFUSED);
    if (chunks.size() >= 2) {
        add("png-unknown-critical-chunk.png", PngWithChunk(png, chunks[1], "QLXX", Bytes(4, 1)), QL_HOSTILE_REFUSED);
        add("png-no-end.png", Bytes(png.begin(), png.begin() + (long)chunks.back()), QL_HOSTILE_REFUSED);
        Bytes noData(png.begin(), png.begin() + (long)chunks[1]);
        noData.insert(noData.end(), png.begin() + (long)chunks.back(), png.end());
        add("png-no-data.png", noData, QL_HOSTILE_REFUSED);
        Bytes huge = png;
        if (huge.size() > chunks[1] + 4) SetLe(huge, chunks[1], 0xFFFFFF7F, 4);   // a chunk length of 2 GB
        add("png-chunk-2gb.png", huge, QL_HOSTILE_REFUSED);
    }

    // JPEG files beyond the ceiling or of kinds no decoder here should see.
    const Bytes baseline = Fixture("blue-24x16.jpg");
    const Bytes progressive = Encoded(FIF_JPEG, JPEG_PROGRESSIVE | 75, 40, 24, 24);
    add("jpeg-65535.jpg", JpegWithFrame(baseline, -1, -1, 0xFFFF, 0xFFFF), QL_HOSTILE_REFUSED);
    add("jpeg-lossless.jpg", JpegWithFrame(baseline, 0xC3, -1, -1, -1), QL_HOSTILE_REFUSED);
    add("jpeg-12-bits.jpg", JpegWithFrame(baseline, -1, 12, -1, -1), QL_HOSTILE_REFUSED);
    add("jpeg-500-scans.jpg", JpegWithScans(progressive, 500), QL_HOSTILE_REFUSED);

    // Cut files, files of no picture at all.
    for (size_t i = 0; i < seedCount; i++) {
        const Bytes &seed = corpus[i].bytes;
        add(("cut-" + corpus[i].name).c_str(), Bytes(seed.begin(), seed.begin() + (long)(seed.size() / 2)),
            QL_HOSTILE_REFUSED);
    }
    add("empty.bmp", Bytes(), QL_HOSTILE_REFUSED);
    const char text[] = "This is not a picture.\r\n";
    add("text.gif", Bytes(text, text + sizeof text - 1), QL_HOSTILE_REFUSED);
    const uint8_t pngStart[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    add("png-start-named.jpg", Bytes(pngStart, pngStart + sizeof pngStart), QL_HOSTILE_REFUSED);
    const uint8_t tiff[] = {'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0};
    add("tiff.tif", Bytes(tiff, tiff + sizeof tiff), QL_HOSTILE_REFUSED);
    add("icon.ico", icon, QL_HOSTILE_REFUSED);

    // A camera photo's size: taken, and decoded within bounded time and memory.
    add("mono-6000x4000.bmp", Bitmap(40, 6000, 4000, 1, 0, 2, Rows(6000, 4000, 1)), QL_HOSTILE_PASSES);
    add("camera-6000x4000.jpg", Encoded(FIF_JPEG, 75, 6000, 4000, 24), QL_HOSTILE_PASSES);

    uint64_t state = 0x9E3779B97F4A7C15ull;
    for (size_t i = 0; i < seedCount; i++) {
        for (int m = 0; m < perSeed; m++) {
            Bytes mutant = corpus[i].bytes;
            QlHostileMutate(&mutant, &state);
            add(("mutant-" + std::to_string(m) + "-" + corpus[i].name).c_str(), mutant, QL_HOSTILE_ANY);
        }
    }
    return corpus;
}

long QlHostilePeakKb(void)
{
    // A winelib program is a Linux process: /proc/self is its own.
    FILE *status = fopen("/proc/self/status", "r");
    if (!status) return -1;
    char line[256];
    long peak = -1;
    while (fgets(line, sizeof line, status))
        if (strncmp(line, "VmHWM:", 6) == 0) peak = atol(line + 6);
    fclose(status);
    return peak;
}

int QlHostilePeakReset(void)
{
    FILE *refs = fopen("/proc/self/clear_refs", "w");
    if (!refs) return 0;
    int written = fputs("5", refs) >= 0;
    return fclose(refs) == 0 && written;
}
