// Picture files for tests: a temp folder of the test's own, bitmaps written
// by hand and the small JPEG, GIF and icon files kept in tests/picture/data.
#pragma once

#include "QlTestFiles.h"

#include <stdint.h>
#include <string>
#include <vector>

#include <windows.h>


// Writes a 24-bit bottom-up bitmap file: the top-left pixel in topLeft, all
// others in rest.
std::vector<uint8_t> QlTestBmpBytes(int width, int height, COLORREF topLeft, COLORREF rest);
bool QlTestWriteBmp(const std::string &path, int width, int height, COLORREF topLeft, COLORREF rest);
bool QlTestWriteFile(const std::string &path, const void *data, size_t size);
// The bytes of a file (a Windows path); empty when it cannot be read.
std::vector<uint8_t> QlTestReadFile(const std::string &path);
// The bytes of a file of the source tree (through QL_SOURCE_DIR); empty when
// it cannot be read.
std::vector<uint8_t> QlTestReadSource(const std::string &relativePath);
// Copies tests/picture/data/<name> (found through QL_SOURCE_DIR) to path.
bool QlTestCopyFixture(const char *name, const std::string &path);

// Width and height of a bitmap from GetObjectA; false when the handle is not
// a live bitmap.
bool QlTestBitmapSize(HBITMAP bitmap, int *width, int *height);
// The colour of one pixel of a bitmap; CLR_INVALID on failure.
COLORREF QlTestBitmapPixel(HBITMAP bitmap, int x, int y);
