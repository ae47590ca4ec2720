// Glimmet: turns a picture file into a GDI bitmap handle: a bitmap, JPEG or
// GIF file read by the system's OLE picture loader, a PNG file (which that
// loader does not read on Windows) by the system's imaging component (WIC).
// The decoders only see files that GlimmetPictureCheck has found whole and
// within the ceiling on pixels and decoded bytes (GlimmetCheck.h).
//
// The library keeps the picture behind the last handle it returned, because
// the bitmap belongs to that picture.  The handle stays valid until the next
// call of LoadPictureFile or until the library is unloaded; the caller never
// deletes it and takes a copy of its own for anything kept longer.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <wincodec.h>

#include "GlimmetCheck.h"

// The imaging component's factory and the pixel format asked of it, spelt
// out here so that no import library needs to carry them.
static const GUID kWicFactoryClass = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
static const GUID kWicFactoryInterface = {0xec5ec8a9, 0xc395, 0x4314, {0x9c, 0x77, 0x54, 0xd7, 0xa9, 0x35, 0xff, 0x70}};
static const GUID kWicPremultipliedBgra = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x10}};

// The picture behind the last handle returned, NULL when none is kept.
static IPicture *keptPicture = NULL;

static void ReleaseKeptPicture(void)
{
    // Forget it before anything else can fail, so that it is never released twice.
    IPicture *picture = keptPicture;
    keptPicture = NULL;
    if (picture) picture->Release();
}

// Reads the whole file into a new movable memory block; NULL on failure and
// for a file that is not a whole bitmap, JPEG, GIF or PNG file within the
// ceiling.  *kindOut says which it is.
static HGLOBAL ReadFileToGlobal(const char *path, DWORD *sizeOut, int *kindOut)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return NULL;

    HGLOBAL block = NULL;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    // A file larger than any picture within the ceiling is not read at all.
    if (size != INVALID_FILE_SIZE && size > 0 && high == 0 && size <= GLIMMET_MOST_FILE_BYTES)
        block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block) {
        void *data = GlobalLock(block);
        DWORD got = 0;
        GlimmetPictureInfo info = {GLIMMET_NONE, 0, 0};
        BOOL read = data && ReadFile(file, data, size, &got, NULL) && got == size &&
                    GlimmetPictureCheck((const unsigned char *)data, size, &info);
        *kindOut = info.kind;
        if (data) GlobalUnlock(block);
        if (!read) {
            GlobalFree(block);
            block = NULL;
        }
    }
    CloseHandle(file);
    *sizeOut = size;
    return block;
}

// A PNG picture read by the imaging component, laid on white where it is
// transparent (the paper and the page it is shown on), as a picture that owns
// its bitmap; NULL when it cannot be read.
static IPicture *LoadPngPicture(IStream *stream)
{
    const HRESULT com = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    IWICImagingFactory *factory = NULL;
    IWICBitmapDecoder *decoder = NULL;
    IWICBitmapFrameDecode *frame = NULL;
    IWICFormatConverter *converter = NULL;
    IPicture *picture = NULL;
    HBITMAP bitmap = NULL;
    UINT width = 0, height = 0;
    void *bits = NULL;
    if (SUCCEEDED(CoCreateInstance(kWicFactoryClass, NULL, CLSCTX_INPROC_SERVER, kWicFactoryInterface,
                                   (void **)&factory)) &&
        SUCCEEDED(factory->CreateDecoderFromStream(stream, NULL, WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, kWicPremultipliedBgra, WICBitmapDitherTypeNone, NULL, 0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&width, &height)) && width > 0 && height > 0 &&
        width <= GLIMMET_MOST_SIDE && height <= GLIMMET_MOST_SIDE) {
        BITMAPINFO format;
        ZeroMemory(&format, sizeof format);
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = (LONG)width;
        format.bmiHeader.biHeight = -(LONG)height;   // top row first, as the converter writes
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        bitmap = CreateDIBSection(NULL, &format, DIB_RGB_COLORS, &bits, NULL, 0);
    }
    const UINT stride = width * 4;
    if (bitmap && bits && SUCCEEDED(converter->CopyPixels(NULL, stride, stride * height, (BYTE *)bits))) {
        // Premultiplied: white shows through by what the pixel leaves uncovered.
        BYTE *pixel = (BYTE *)bits;
        for (UINT i = 0; i < width * height; i++, pixel += 4) {
            const BYTE uncovered = (BYTE)(255 - pixel[3]);
            pixel[0] = (BYTE)(pixel[0] + uncovered);
            pixel[1] = (BYTE)(pixel[1] + uncovered);
            pixel[2] = (BYTE)(pixel[2] + uncovered);
            pixel[3] = 0;
        }
        PICTDESC description;
        ZeroMemory(&description, sizeof description);
        description.cbSizeofstruct = sizeof description;
        description.picType = PICTYPE_BITMAP;
        description.bmp.hbitmap = bitmap;
        // The picture owns the bitmap from here and deletes it when released.
        if (SUCCEEDED(OleCreatePictureIndirect(&description, IID_IPicture, TRUE, (void **)&picture)) && picture)
            bitmap = NULL;
        else
            picture = NULL;
    }
    if (bitmap) DeleteObject(bitmap);
    if (converter) converter->Release();
    if (frame) frame->Release();
    if (decoder) decoder->Release();
    if (factory) factory->Release();
    if (SUCCEEDED(com)) CoUninitialize();
    return picture;
}

// The one export.  The result is a pointer-sized bitmap handle: never cut it
// to 32 bits.  0 on any failure.
extern "C" HBITMAP WINAPI LoadPictureFile(const char *path)
{
    // The previous handle is invalid from the moment the next call starts,
    // whether or not this call succeeds.
    ReleaseKeptPicture();
    if (!path) return NULL;

    DWORD size = 0;
    int kind = GLIMMET_NONE;
    HGLOBAL block = ReadFileToGlobal(path, &size, &kind);
    if (!block) return NULL;

    IStream *stream = NULL;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream)) || !stream) {
        GlobalFree(block);
        return NULL;
    }

    // From here the stream owns the block and frees it when released.
    HBITMAP result = NULL;
    IPicture *picture = NULL;
    HRESULT hr;
    if (kind == GLIMMET_PNG) {
        picture = LoadPngPicture(stream);
        hr = picture ? S_OK : E_FAIL;
    } else {
        hr = OleLoadPicture(stream, (LONG)size, FALSE, IID_IPicture, (void **)&picture);
    }
    if (SUCCEEDED(hr) && picture) {
        SHORT type = PICTYPE_UNINITIALIZED;
        OLE_HANDLE handle = 0;
        // Only a bitmap is handed out as a bitmap: an icon or metafile handle is not one.
        if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP &&
            SUCCEEDED(picture->get_Handle(&handle)) && handle) {
            // GDI handles carry 32 significant bits and are sign-extended to pointer size.
            result = (HBITMAP)(LONG_PTR)(LONG)handle;
            keptPicture = picture;
        } else {
            picture->Release();
        }
    }
    stream->Release();
    return result;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    // On FreeLibrary (reserved is NULL) the kept picture is released.  When the
    // process is ending, the libraries the picture lives in may already be gone,
    // so it is left to the system.
    if (reason == DLL_PROCESS_DETACH && reserved == NULL) ReleaseKeptPicture();
    return TRUE;
}
