// Glimmet: turns a picture file (a bitmap, JPEG or GIF file, read by the
// system's OLE picture loader) into a GDI bitmap handle.  The loader only
// sees files that GlimmetPictureIsWhole has found whole and within the
// ceiling on pixels and decoded bytes (GlimmetCheck.h).
//
// The library keeps the picture behind the last handle it returned, because
// the bitmap belongs to that picture.  The handle stays valid until the next
// call of LoadPictureFile or until the library is unloaded; the caller never
// deletes it and takes a copy of its own for anything kept longer.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include "GlimmetCheck.h"

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
// for a file that is not a whole bitmap, JPEG or GIF file within the ceiling.
static HGLOBAL ReadFileToGlobal(const char *path, DWORD *sizeOut)
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
        BOOL read = data && ReadFile(file, data, size, &got, NULL) && got == size &&
                    GlimmetPictureIsWhole((const unsigned char *)data, size);
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

// The one export.  The result is a pointer-sized bitmap handle: never cut it
// to 32 bits.  0 on any failure.
extern "C" HBITMAP WINAPI LoadPictureFile(const char *path)
{
    // The previous handle is invalid from the moment the next call starts,
    // whether or not this call succeeds.
    ReleaseKeptPicture();
    if (!path) return NULL;

    DWORD size = 0;
    HGLOBAL block = ReadFileToGlobal(path, &size);
    if (!block) return NULL;

    IStream *stream = NULL;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream)) || !stream) {
        GlobalFree(block);
        return NULL;
    }

    // From here the stream owns the block and frees it when released.
    HBITMAP result = NULL;
    IPicture *picture = NULL;
    HRESULT hr = OleLoadPicture(stream, (LONG)size, FALSE, IID_IPicture, (void **)&picture);
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
