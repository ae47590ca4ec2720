// No windows.h here: FreeImage.h declares Windows types of its own.
// FREEIMAGE_LIB keeps it from declaring the functions __stdcall, which
// winelib turns into the Microsoft calling convention; the Debian library
// uses the System V one.
#define FREEIMAGE_LIB
#include <FreeImage.h>

#include "QlImageJpeg.h"
#include "picture/GlimmetCheck.h"

// Messages FreeImage reports while a picture loads: a JPEG file that ends
// early still loads, grey where its data stops, and only says so here.
static int loadMessages;

static void CountMessage(FREE_IMAGE_FORMAT, const char *)
{
    loadMessages++;
}

// Decodes the bytes as the given format; NULL when FreeImage cannot.
static FIBITMAP *LoadFromBytes(FREE_IMAGE_FORMAT format, const unsigned char *data, size_t size)
{
    if (!data || size == 0 || size > GLIMMET_MOST_FILE_BYTES) return NULL;
    // FreeImage only reads through a memory handle opened on the caller's bytes.
    FIMEMORY *memory = FreeImage_OpenMemory((BYTE *)data, (DWORD)size);
    if (!memory) return NULL;
    FIBITMAP *picture = FreeImage_LoadFromMemory(format, memory, 0);
    FreeImage_CloseMemory(memory);
    return picture;
}

int QlImageJpegIsWhole(const unsigned char *data, size_t size)
{
    loadMessages = 0;
    FreeImage_SetOutputMessage(CountMessage);
    FIBITMAP *picture = LoadFromBytes(FIF_JPEG, data, size);
    FreeImage_SetOutputMessage(NULL);
    if (!picture) return 0;
    FreeImage_Unload(picture);
    return loadMessages == 0;
}

// Saves the picture as JPEG after making it 24-bit: samples of 16 bits are
// brought to 8, and transparent parts are laid on white.
static int SaveAs24BitJpeg(FIBITMAP *picture, const char *nativeOut)
{
    FIBITMAP *eight = picture;
    if (FreeImage_GetImageType(picture) != FIT_BITMAP) eight = FreeImage_ConvertTo32Bits(picture);
    FIBITMAP *saved = eight;
    if (eight && FreeImage_IsTransparent(eight)) {
        RGBQUAD white = {255, 255, 255, 0};
        FIBITMAP *opaque = FreeImage_GetBPP(eight) == 32 || FreeImage_GetBPP(eight) == 8
                               ? eight
                               : FreeImage_ConvertTo32Bits(eight);
        saved = opaque ? FreeImage_Composite(opaque, FALSE, &white, NULL) : NULL;
        if (opaque && opaque != eight) FreeImage_Unload(opaque);
    } else if (eight && FreeImage_GetBPP(eight) != 24) {
        saved = FreeImage_ConvertTo24Bits(eight);
    }
    int written = saved && FreeImage_Save(FIF_JPEG, saved, nativeOut, 128);
    if (saved && saved != eight) FreeImage_Unload(saved);
    if (eight && eight != picture) FreeImage_Unload(eight);
    return written ? 1 : 0;
}

int QlImageSaveAsJpeg(const unsigned char *data, size_t size, int kind, const char *nativeOut)
{
    FREE_IMAGE_FORMAT format = kind == GLIMMET_BMP   ? FIF_BMP
                               : kind == GLIMMET_GIF ? FIF_GIF
                               : kind == GLIMMET_PNG ? FIF_PNG
                                                     : FIF_UNKNOWN;
    if (format == FIF_UNKNOWN || !nativeOut) return 0;
    FIBITMAP *picture = LoadFromBytes(format, data, size);
    if (!picture) return 0;
    int written = SaveAs24BitJpeg(picture, nativeOut);
    FreeImage_Unload(picture);
    return written;
}

int QlImageSaveRowsAsJpeg(const unsigned char *rows, int width, int height, int pitch, const char *nativeOut)
{
    if (!rows || width <= 0 || height <= 0 || pitch < width * 3 || !nativeOut) return 0;
    if ((uint64_t)width * (uint64_t)height > GLIMMET_MOST_PIXELS) return 0;
    FIBITMAP *picture = FreeImage_ConvertFromRawBits((BYTE *)rows, width, height, pitch, 24, FI_RGBA_RED_MASK,
                                                     FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
    if (!picture) return 0;
    int written = FreeImage_Save(FIF_JPEG, picture, nativeOut, 128);
    FreeImage_Unload(picture);
    return written ? 1 : 0;
}
