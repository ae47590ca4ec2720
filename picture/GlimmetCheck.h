// The picture library's own check of a file's bytes before any decoder reads
// them.  It is pure code (no Windows header): the picture library runs it
// before the system loader sees a file, and the program runs the same check
// before the PDF logo reaches FreeImage or libharu.
#pragma once

#include <stddef.h>
#include <stdint.h>

// The ceiling on what any picture may cost to decode.  No logo, flag or
// product picture comes near it; a damaged header that declares more would
// make the decoder allocate gigabytes or run for minutes.
#define GLIMMET_MOST_PIXELS (4096u * 4096u)
// Bytes once decoded, at the 32 bits a pixel the screen bitmaps use.
#define GLIMMET_MOST_DECODED_BYTES (64u * 1024u * 1024u)
// The largest file read at all: a picture at the ceiling, uncompressed, with
// its headers and colour table.
#define GLIMMET_MOST_FILE_BYTES (GLIMMET_MOST_DECODED_BYTES + 64u * 1024u)

enum GlimmetKind { GLIMMET_NONE = 0, GLIMMET_BMP = 1, GLIMMET_JPEG = 2, GLIMMET_GIF = 3 };

// What the check found: the kind decided from the bytes (never from a name)
// and the picture's size in pixels (for a GIF, its logical screen).
struct GlimmetPictureInfo {
    int kind;
    uint32_t width;
    uint32_t height;
};

// 1 when data holds a whole bitmap, JPEG or GIF file within the ceiling: its
// headers and declared sizes fit the bytes given, its pixel data is all there
// and, for run-length bitmaps, the coded data stays inside the bitmap and
// reaches its last row.  info (may be NULL) is filled on success and cleared
// otherwise.  0 for any other file, cut or inconsistent ones included.
int GlimmetPictureCheck(const unsigned char *data, size_t size, GlimmetPictureInfo *info);
// The same check without the details.
int GlimmetPictureIsWhole(const unsigned char *data, size_t size);
