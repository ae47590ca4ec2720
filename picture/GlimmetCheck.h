// The picture library's own check of a file's bytes before any decoder reads
// them.  It is pure code (no Windows header): the picture library runs it
// before the system loader sees a file, and the program runs the same check
// before the PDF logo reaches FreeImage or libharu.
#pragma once

#include <stddef.h>
#include <stdint.h>

// The ceiling on what any picture may cost to decode.  A 24-megapixel camera
// photo (6000 x 4000) is within it; a damaged header that declares more would
// make the decoder allocate gigabytes or run for minutes.
#define GLIMMET_MOST_SIDE 8192u
#define GLIMMET_MOST_PIXELS (GLIMMET_MOST_SIDE * GLIMMET_MOST_SIDE)
// Bytes once decoded, at the 32 bits a pixel the screen bitmaps use (more for
// a PNG file of 16-bit samples, which decoders keep as they are).
#define GLIMMET_MOST_DECODED_MB 256u
#define GLIMMET_MOST_DECODED_BYTES (GLIMMET_MOST_DECODED_MB * 1024u * 1024u)
// The largest file read at all: a picture at the ceiling, uncompressed, with
// its headers and colour table.
#define GLIMMET_MOST_FILE_BYTES (GLIMMET_MOST_DECODED_BYTES + 64u * 1024u)
// A GIF file's images and blocks: decoders read every image of the file and
// spend as much on a one-pixel image as on a sizeable one, so four hundred
// thousand tiny images held a decoder for a minute.
#define GLIMMET_MOST_GIF_IMAGES 1024u
#define GLIMMET_MOST_GIF_BLOCKS 4096u
// A PNG file's chunks other than its image data: decoders keep texts and
// other side data in memory, chunk by chunk.
#define GLIMMET_MOST_PNG_SIDE_CHUNKS 1024u

enum GlimmetKind { GLIMMET_NONE = 0, GLIMMET_BMP = 1, GLIMMET_JPEG = 2, GLIMMET_GIF = 3, GLIMMET_PNG = 4 };

// What the check found: the kind decided from the bytes (never from a name)
// and the picture's size in pixels (for a GIF, its logical screen).
struct GlimmetPictureInfo {
    int kind;
    uint32_t width;
    uint32_t height;
};

// 1 when data holds a whole bitmap, JPEG, GIF or PNG file within the ceiling:
// its headers and declared sizes fit the bytes given, its pixel data is all
// there and, for run-length bitmaps, the coded data stays inside the bitmap
// and reaches its last row; a PNG file's chunks are all there with their
// checksums, in their order, ending with IEND.  info (may be NULL) is filled on success and cleared
// otherwise.  0 for any other file, cut or inconsistent ones included.
int GlimmetPictureCheck(const unsigned char *data, size_t size, GlimmetPictureInfo *info);
// The same check without the details.
int GlimmetPictureIsWhole(const unsigned char *data, size_t size);
