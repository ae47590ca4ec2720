#include "QlPicture.h"

#include "ui/QlAppState.h"
#include "ui/QlSeams.h"

#include <commdlg.h>
#include <stdlib.h>
#include <string.h>

// The binding, set once at start-up and read afterwards.
static HMODULE pictureLib = NULL;
static QlLoadPictureFileFn pictureLoadFile = NULL;

int QlPictureLibLoad(void)
{
    if (pictureLib && pictureLoadFile) return 1;
    HMODULE lib = LoadLibraryA("Glimmet.dll");
    if (!lib) return 0;
    QlLoadPictureFileFn load = (QlLoadPictureFileFn)(void *)GetProcAddress(lib, "LoadPictureFile");
    if (!load) {
        FreeLibrary(lib);
        return 0;
    }
    pictureLib = lib;
    pictureLoadFile = load;
    return 1;
}

void QlPictureLibFree(void)
{
    HMODULE lib = pictureLib;
    pictureLib = NULL;
    pictureLoadFile = NULL;
    if (lib) FreeLibrary(lib);
}

HBITMAP QlPictureLoad(const char *path, QlPictureSizeRec *size)
{
    if (!pictureLoadFile || !path) return NULL;
    HBITMAP bitmap = pictureLoadFile(path);
    if (!bitmap) return NULL;
    if (size) {
        BITMAP info;
        if (GetObjectA(bitmap, sizeof info, &info) != (int)sizeof info) return NULL;
        size->width = info.bmWidth;
        size->height = info.bmHeight;
    }
    return bitmap;
}

HBITMAP QlPictureLoadCopy(const char *path, QlPictureSizeRec *size)
{
    HBITMAP shared = QlPictureLoad(path, size);
    if (!shared) return NULL;
    return (HBITMAP)CopyImage(shared, IMAGE_BITMAP, 0, 0, 0);
}

unsigned char *QlPictureReadChecked(const char *path, size_t *sizeOut, GlimmetPictureInfo *info)
{
    if (sizeOut) *sizeOut = 0;
    if (info) *info = GlimmetPictureInfo{GLIMMET_NONE, 0, 0};
    if (!path || !path[0]) return NULL;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return NULL;
    LARGE_INTEGER size;
    unsigned char *data = NULL;
    // The size is looked at before anything is allocated: a larger file is no picture the program shows.
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= GLIMMET_MOST_FILE_BYTES)
        data = (unsigned char *)malloc((size_t)size.QuadPart);
    DWORD got = 0;
    int whole = data && ReadFile(file, data, (DWORD)size.QuadPart, &got, NULL) && got == (DWORD)size.QuadPart &&
                GlimmetPictureCheck(data, got, info);
    CloseHandle(file);
    if (!whole) {
        free(data);
        if (info) *info = GlimmetPictureInfo{GLIMMET_NONE, 0, 0};
        return NULL;
    }
    if (sizeOut) *sizeOut = got;
    return data;
}

int QlPictureFileChecks(const char *path)
{
    unsigned char *data = QlPictureReadChecked(path, NULL, NULL);
    free(data);
    return data != NULL;
}

// Every kind the picture check takes, each pattern with its dot.
const char QlPictureLogoFilter[] =
    "Graphics Files (*.bmp;*.jpg;*.gif;*.png)\0*.bmp;*.jpg;*.jpeg;*.gif;*.png\0";

int QlPictureChooseLogo(HWND owner, char *path)
{
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn;
    memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = QlPictureLogoFilter;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = ".\\";
    ofn.lpstrTitle = "Select Invoice Logo File";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    ofn.lpstrDefExt = "bmp";   // the extension alone: it is appended to a name typed without one

    BOOL chosen = QlSeamGetOpenFileName(&ofn);
    QlRestoreWorkDir();
    file[sizeof file - 1] = '\0';
    if (!chosen || !file[0] || !path) return 0;
    memcpy(path, file, strlen(file) + 1);
    return 1;
}

void QlPictureFitScale(int *size, float maxWidth, float maxHeight)
{
    float w = (float)size[0];
    float h = (float)size[1];
    float s = 1.0f;
    // The factors multiply up: 1, then 0.999, 0.998, ... on the running values.
    for (int reductions = 0;; reductions++) {
        w *= s;
        h *= s;
        if (maxWidth >= w && maxHeight >= h) break;
        if (reductions == 1000) break;
        s -= 0.001f;
    }
    size[0] = (int)w;
    size[1] = (int)h;
}

void QlPicturePrintLogo(HDC *memOut, HDC printer, HBITMAP bitmap, const RECT *page, const SIZE *line,
                        const QlPictureSizeRec *size, int pxPerMmX, int pxPerMmY)
{
    if (memOut) *memOut = NULL;
    if (!memOut || !printer || !bitmap || !page || !line || !size) return;

    const float maxWidth = (float)((page->right - page->left) / 2 + line->cy);
    const float maxHeight = (float)(18 * pxPerMmY);
    // One bitmap pixel per millimetre of paper before fitting, in each direction.
    int printed[2] = {size->width * pxPerMmX, size->height * pxPerMmY};
    QlPictureFitScale(printed, maxWidth, maxHeight);

    HDC memory = CreateCompatibleDC(printer);
    if (!memory) return;
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (previous) {
        StretchBlt(printer, page->left, 0, printed[0], printed[1], memory, 0, 0, size->width, size->height,
                   SRCCOPY);
        // The bitmap belongs to the picture library: never leave it selected.
        SelectObject(memory, previous);
    }
    *memOut = memory;
}

void QlUiListBoxFill(HWND dlg, int id, const char **items, int selected)
{
    for (int i = 0; items && items[i]; i++) SendDlgItemMessageA(dlg, id, LB_ADDSTRING, 0, (LPARAM)items[i]);
    SendDlgItemMessageA(dlg, id, LB_SETCURSEL, (WPARAM)selected, 0);
}
