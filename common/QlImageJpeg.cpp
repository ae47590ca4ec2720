// No windows.h here: FreeImage.h declares Windows types of its own.
// FREEIMAGE_LIB keeps it from declaring the functions __stdcall, which
// winelib turns into the Microsoft calling convention; the Debian library
// uses the System V one.
#define FREEIMAGE_LIB
#include <FreeImage.h>

#include "QlImageJpeg.h"

int QlImageKindOf(const char *nativePath)
{
    if (!nativePath || !nativePath[0]) return QL_IMAGE_UNKNOWN;
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(nativePath, 0);
    if (format == FIF_UNKNOWN) return QL_IMAGE_UNKNOWN;
    return format == FIF_JPEG ? QL_IMAGE_JPEG : QL_IMAGE_OTHER;
}

// Messages FreeImage reports while a picture loads: a JPEG file that ends
// early still loads, grey where its data stops, and only says so here.
static int loadMessages;

static void CountMessage(FREE_IMAGE_FORMAT, const char *)
{
    loadMessages++;
}

int QlImageJpegIsWhole(const char *nativePath)
{
    loadMessages = 0;
    FreeImage_SetOutputMessage(CountMessage);
    FIBITMAP *picture = FreeImage_Load(FIF_JPEG, nativePath, 0);
    FreeImage_SetOutputMessage(NULL);
    if (!picture) return 0;
    FreeImage_Unload(picture);
    return loadMessages == 0;
}

int QlImageSaveAsJpeg(const char *nativePath, const char *nativeOut)
{
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(nativePath, 0);
    if (format == FIF_UNKNOWN) return 0;
    FIBITMAP *picture = FreeImage_Load(format, nativePath, 0);
    if (!picture) return 0;

    FIBITMAP *saved = picture;
    if (FreeImage_GetImageType(picture) != FIT_BITMAP || FreeImage_GetBPP(picture) != 24)
        saved = FreeImage_ConvertTo24Bits(picture);
    int written = saved && FreeImage_Save(FIF_JPEG, saved, nativeOut, 128);
    if (saved && saved != picture) FreeImage_Unload(saved);
    FreeImage_Unload(picture);
    return written ? 1 : 0;
}
