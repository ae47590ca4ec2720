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
