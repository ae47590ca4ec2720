// What winelib and Windows do differently, in one place.
//
// Formatting: glibc's printf does not know "%I64d"; QL_I64 and QL_U64 give the
// same text on both platforms ("-12" for a signed 64-bit -12).
// Paths: native libraries and the C runtime under Wine take Unix paths, while
// the program speaks in Windows paths ("COMP000\\quilry.db").  QlPathToNative
// turns one into the other; on Windows it copies the path unchanged.
#pragma once

#include <windows.h>
#include <inttypes.h>
#include <stdint.h>
#include <stdio.h>
#include <stddef.h>

#define QL_I64 "%" PRId64
#define QL_U64 "%" PRIu64

// Signed 64-bit decimal text to integer: leading blanks, an optional sign,
// digits up to the first other character; no digits give 0.
int64_t QlAtoI64(const char *text);

// Writes the native form of a Windows path (relative paths are taken from the
// current directory) into out.  Returns 1, or 0 with out empty when the path
// cannot be converted or does not fit.
int QlPathToNative(const char *path, char *out, size_t outSize);

// fopen for a Windows path.
FILE *QlFileOpen(const char *path, const char *mode);
