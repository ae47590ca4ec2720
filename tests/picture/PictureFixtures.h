// Picture files for tests: a temp folder of the test's own, bitmaps written
// by hand and the small JPEG, GIF and icon files kept in tests/picture/data.
#pragma once

#include "QlTestFiles.h"

#include <stdint.h>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>


// Writes a 24-bit bottom-up bitmap file: the top-left pixel in topLeft, all
// others in rest.
std::vector<uint8_t> QlTestBmpBytes(int width, int height, COLORREF topLeft, COLORREF rest);
bool QlTestWriteBmp(const std::string &path, int width, int height, COLORREF topLeft, COLORREF rest);
// The same picture as editors and ImageMagick write bitmaps: a 108-byte (v4)
// or 124-byte (v5) info header with bit masks, 32 bits a pixel, all opaque.
std::vector<uint8_t> QlTestBmpNewHeaderBytes(int infoSize, int width, int height, COLORREF topLeft, COLORREF rest);
// The same picture as ImageMagick's run-length coded bitmap: a v4 header, a
// two-colour table and 8-bit runs, every row (the last too) ended by an
// end-of-line mark, then an end-of-bitmap mark.
std::vector<uint8_t> QlTestBmpRle8Bytes(int width, int height, COLORREF topLeft, COLORREF rest);
// The same picture as a PNG file (8-bit RGB, its image data stored in
// uncompressed deflate blocks, every checksum right).
std::vector<uint8_t> QlTestPngBytes(int width, int height, COLORREF topLeft, COLORREF rest);
// A PNG file of these chunks after the signature: each a name and its data,
// given its length and checksum here.
std::vector<uint8_t> QlTestPngOfChunks(const std::vector<std::pair<std::string, std::vector<uint8_t>>> &chunks);
// Raw bytes as a zlib stream of stored (uncompressed) deflate blocks.
std::vector<uint8_t> QlTestZlibStored(const std::vector<uint8_t> &raw);
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
