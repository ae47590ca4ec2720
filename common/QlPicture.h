// Pictures through the picture library (Glimmet.dll, loaded by name), the
// logo dialog, fitting a picture into a box and printing the logo.
#pragma once

#include <windows.h>

struct QlPictureSizeRec {
    int reserved;
    int width;
    int height;
};

int QlPictureLibLoad(void);
void QlPictureLibFree(void);

// The bitmap belongs to the picture library and is valid only until the next
// load: use it at once (draw it, StretchBlt it) and never keep it.
HBITMAP QlPictureLoad(const char *path, QlPictureSizeRec *size);
// A caller-owned copy of the picture, for anything kept past the next load
// (button images, the flag, previews); delete it with DeleteObject.
HBITMAP QlPictureLoadCopy(const char *path, QlPictureSizeRec *size);

int QlPictureChooseLogo(HWND owner, char *path);
void QlPictureFitScale(int *size, float maxWidth, float maxHeight);
void QlPicturePrintLogo(HDC *memOut, HDC printer, HBITMAP bitmap, const RECT *page, const SIZE *line,
                        const QlPictureSizeRec *size, int pxPerMmX, int pxPerMmY);
void QlUiListBoxFill(HWND dlg, int id, const char **items, int selected);
