#include "PictureFixtures.h"

#include <stdio.h>
#include <stdlib.h>
#include <stdint.h>
#include <string.h>

bool QlTestWriteFile(const std::string &path, const void *data, size_t size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = size == 0 || WriteFile(file, data, (DWORD)size, &written, NULL);
    CloseHandle(file);
    return ok && written == size;
}

static void PutLe(std::vector<uint8_t> &out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; i++) out.push_back((uint8_t)(value >> (8 * i)));
}

std::vector<uint8_t> QlTestBmpBytes(int width, int height, COLORREF topLeft, COLORREF rest)
{
    const uint32_t stride = ((uint32_t)width * 3 + 3) & ~3u;
    const uint32_t pixelBytes = stride * (uint32_t)height;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    PutLe(out, 54 + pixelBytes, 4);   // file size
    PutLe(out, 0, 4);
    PutLe(out, 54, 4);                // pixel offset
    PutLe(out, 40, 4);                // BITMAPINFOHEADER
    PutLe(out, (uint32_t)width, 4);
    PutLe(out, (uint32_t)height, 4);  // positive: bottom row first
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, 0, 4);                 // BI_RGB
    PutLe(out, pixelBytes, 4);
    PutLe(out, 2835, 4);
    PutLe(out, 2835, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    for (int row = height - 1; row >= 0; row--) {
        uint32_t start = (uint32_t)out.size();
        for (int x = 0; x < width; x++) {
            COLORREF c = (row == 0 && x == 0) ? topLeft : rest;
            out.push_back(GetBValue(c));
            out.push_back(GetGValue(c));
            out.push_back(GetRValue(c));
        }
        while (out.size() - start < stride) out.push_back(0);
    }
    return out;
}

// The file header and an info header of infoSize bytes (40, 108 or 124); for
// the longer ones the masks are red, green, blue and alpha of 32-bit pixels
// and the colour space sRGB.
static std::vector<uint8_t> BmpHeaders(int infoSize, int width, int height, int bits, int compression,
                                       int colours, uint32_t pixelBytes)
{
    const uint32_t offset = 14 + (uint32_t)infoSize + 4u * (uint32_t)colours;
    std::vector<uint8_t> out = {'B', 'M'};
    PutLe(out, offset + pixelBytes, 4);
    PutLe(out, 0, 4);
    PutLe(out, offset, 4);
    PutLe(out, (uint32_t)infoSize, 4);
    PutLe(out, (uint32_t)width, 4);
    PutLe(out, (uint32_t)height, 4);
    PutLe(out, 1, 2);
    PutLe(out, (uint32_t)bits, 2);
    PutLe(out, (uint32_t)compression, 4);
    PutLe(out, pixelBytes, 4);
    PutLe(out, 2835, 4);
    PutLe(out, 2835, 4);
    PutLe(out, (uint32_t)colours, 4);
    PutLe(out, (uint32_t)colours, 4);
    if (infoSize > 40) {
        const uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
        for (uint32_t mask : masks) PutLe(out, bits == 32 ? mask : 0, 4);
        PutLe(out, 0x73524742, 4);   // 'sRGB'
        while (out.size() < 14 + (size_t)infoSize) out.push_back(0);
    }
    return out;
}

std::vector<uint8_t> QlTestBmpNewHeaderBytes(int infoSize, int width, int height, COLORREF topLeft, COLORREF rest)
{
    std::vector<uint8_t> out = BmpHeaders(infoSize, width, height, 32, 3, 0, (uint32_t)(width * height * 4));
    for (int row = height - 1; row >= 0; row--)
        for (int x = 0; x < width; x++) {
            COLORREF c = (row == 0 && x == 0) ? topLeft : rest;
            out.insert(out.end(), {GetBValue(c), GetGValue(c), GetRValue(c), 255});
        }
    return out;
}

std::vector<uint8_t> QlTestBmpRle8Bytes(int width, int height, COLORREF topLeft, COLORREF rest)
{
    std::vector<uint8_t> runs;
    for (int row = height - 1; row >= 0; row--) {
        int x = 0;
        if (row == 0) runs.insert(runs.end(), {1, 0}), x = 1;   // the top-left pixel, colour 0
        while (x < width) {
            const int count = width - x < 255 ? width - x : 255;
            runs.insert(runs.end(), {(uint8_t)count, 1});
            x += count;
        }
        runs.insert(runs.end(), {0, 0});   // also after the last row, as ImageMagick writes it
    }
    runs.insert(runs.end(), {0, 1});
    std::vector<uint8_t> out = BmpHeaders(108, width, height, 8, 1, 2, (uint32_t)runs.size());
    for (COLORREF c : {topLeft, rest}) out.insert(out.end(), {GetBValue(c), GetGValue(c), GetRValue(c), 0});
    out.insert(out.end(), runs.begin(), runs.end());
    return out;
}

static void PutBe32(std::vector<uint8_t> &out, uint32_t value)
{
    for (int i = 3; i >= 0; i--) out.push_back((uint8_t)(value >> (8 * i)));
}

static uint32_t Crc32(const uint8_t *data, size_t size)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; i++) {
        crc ^= data[i];
        for (int k = 0; k < 8; k++) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return crc ^ 0xFFFFFFFFu;
}

std::vector<uint8_t> QlTestZlibStored(const std::vector<uint8_t> &raw)
{
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t length = raw.size() - at < 65535 ? raw.size() - at : 65535;
        out.push_back(at + length == raw.size() ? 1 : 0);   // the last block says so
        PutLe(out, (uint32_t)length, 2);
        PutLe(out, (uint32_t)(~length & 0xFFFF), 2);
        out.insert(out.end(), raw.begin() + (long)at, raw.begin() + (long)(at + length));
        at += length;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) a = (a + byte) % 65521, b = (b + a) % 65521;
    PutBe32(out, b << 16 | a);
    return out;
}

std::vector<uint8_t> QlTestPngOfChunks(const std::vector<std::pair<std::string, std::vector<uint8_t>>> &chunks)
{
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const auto &chunk : chunks) {
        PutBe32(out, (uint32_t)chunk.second.size());
        const size_t start = out.size();
        out.insert(out.end(), chunk.first.begin(), chunk.first.end());
        out.insert(out.end(), chunk.second.begin(), chunk.second.end());
        PutBe32(out, Crc32(out.data() + start, out.size() - start));
    }
    return out;
}

std::vector<uint8_t> QlTestPngBytes(int width, int height, COLORREF topLeft, COLORREF rest)
{
    std::vector<uint8_t> header;
    PutBe32(header, (uint32_t)width);
    PutBe32(header, (uint32_t)height);
    header.insert(header.end(), {8, 2, 0, 0, 0});   // 8-bit RGB, not interlaced
    std::vector<uint8_t> raw;
    for (int y = 0; y < height; y++) {
        raw.push_back(0);   // no filter
        for (int x = 0; x < width; x++) {
            COLORREF c = (x == 0 && y == 0) ? topLeft : rest;
            raw.insert(raw.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
        }
    }
    return QlTestPngOfChunks({{"IHDR", header}, {"IDAT", QlTestZlibStored(raw)}, {"IEND", {}}});
}

bool QlTestWriteBmp(const std::string &path, int width, int height, COLORREF topLeft, COLORREF rest)
{
    std::vector<uint8_t> out = QlTestBmpBytes(width, height, topLeft, rest);
    return QlTestWriteFile(path, out.data(), out.size());
}

std::vector<uint8_t> QlTestReadFile(const std::string &path)
{
    std::vector<uint8_t> data;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return data;
    DWORD size = GetFileSize(file, NULL), got = 0;
    if (size != INVALID_FILE_SIZE) data.resize(size);
    if (size == INVALID_FILE_SIZE || !ReadFile(file, data.data(), size, &got, NULL) || got != size) data.clear();
    CloseHandle(file);
    return data;
}

std::vector<uint8_t> QlTestReadSource(const std::string &relativePath)
{
    std::vector<uint8_t> data;
    const char *source = getenv("QL_SOURCE_DIR");
    if (!source) return data;
    // The source folder is a Unix path: read it through the C runtime.
    FILE *f = fopen((std::string(source) + "/" + relativePath).c_str(), "rb");
    if (!f) return data;
    uint8_t buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + n);
    fclose(f);
    return data;
}

bool QlTestCopyFixture(const char *name, const std::string &path)
{
    std::vector<uint8_t> data = QlTestReadSource(std::string("tests/picture/data/") + name);
    return !data.empty() && QlTestWriteFile(path, data.data(), data.size());
}

bool QlTestBitmapSize(HBITMAP bitmap, int *width, int *height)
{
    BITMAP info;
    if (!bitmap || GetObjectA(bitmap, sizeof info, &info) != (int)sizeof info) return false;
    *width = info.bmWidth;
    *height = info.bmHeight;
    return true;
}

COLORREF QlTestBitmapPixel(HBITMAP bitmap, int x, int y)
{
    HDC dc = CreateCompatibleDC(NULL);
    if (!dc) return CLR_INVALID;
    HGDIOBJ old = SelectObject(dc, bitmap);
    COLORREF colour = old ? GetPixel(dc, x, y) : CLR_INVALID;
    if (old) SelectObject(dc, old);
    DeleteDC(dc);
    return colour;
}
