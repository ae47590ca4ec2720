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

int QlImageSaveAsJpeg(const unsigned char *data, size_t size, int kind, const char *nativeOut)
{
    FREE_IMAGE_FORMAT format = kind == GLIMMET_BMP ? FIF_BMP : kind == GLIMMET_GIF ? FIF_GIF : FIF_UNKNOWN;
    if (format == FIF_UNKNOWN || !nativeOut) return 0;
    FIBITMAP *picture = LoadFromBytes(format, data, size);
    if (!picture) return 0;

    FIBITMAP *saved = picture;
    if (FreeImage_GetImageType(picture) != FIT_BITMAP || FreeImage_GetBPP(picture) != 24)
        saved = FreeImage_ConvertTo24Bits(picture);
    int written = saved && FreeImage_Save(FIF_JPEG, saved, nativeOut, 128);
    if (saved && saved != picture) FreeImage_Unload(saved);
    FreeImage_Unload(picture);
    return written ? 1 : 0;
}
