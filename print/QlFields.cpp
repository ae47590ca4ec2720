#include "QlFields.h"
#include "QlPicture.h"

#include "ui/QlButtons.h"
#include "ui/QlWindow.h"

// Buttons keep their pictures: they get a copy of their own.
static HBITMAP LoadOwnedPicture(const char *path)
{
    return QlPictureLoadCopy(path, NULL);
}

QlUiPictureLoadFn QlUiPictureLoader = LoadOwnedPicture;

void QlUiSetTextFont(HWND dialog, int id, const char *text, HFONT font)
{
    SendDlgItemMessageA(dialog, id, WM_SETFONT, (WPARAM)font, TRUE);
    SetDlgItemTextA(dialog, id, text);
}

static void SetImage(HWND dialog, int id, HBITMAP bitmap)
{
    SendDlgItemMessageA(dialog, id, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap);
}

HBITMAP QlUiSetButtonBitmap(HWND dialog, WORD bitmapId, int id)
{
    HBITMAP bitmap = LoadBitmapA(QlUiInstance(), MAKEINTRESOURCEA(bitmapId));
    if (bitmap) SetImage(dialog, id, bitmap);
    return bitmap;
}

HBITMAP QlUiSetButtonCaption(HWND dialog, int bitmapId, int id, int y, const char *caption, int pointSize)
{
    int size = pointSize ? pointSize : 10;
    HBITMAP bitmap = QlBitmapLoadWithCaption(bitmapId, caption, RGB(0, 0, 0), QL_CAPTION_CENTRED_FROM, 0,
                                             QlUiCaptionTop(y, size), size, 0);
    if (bitmap) SetImage(dialog, id, bitmap);
    return bitmap;
}

HBITMAP QlUiSetButtonCaptionFixed(HWND dialog, int bitmapId, int id, const char *caption, int pointSize)
{
    return QlUiSetButtonCaption(dialog, bitmapId, id, 21, caption, pointSize);
}

HBITMAP QlUiSetButtonPictureCaption(HWND dialog, const char *path, int id, int y, int x, COLORREF colour, int mode,
                                    const char *caption)
{
    HBITMAP bitmap = QlUiPictureLoader ? QlUiPictureLoader(path) : NULL;
    if (!bitmap) return NULL;
    if (!QlBitmapDrawCaption(bitmap, caption, colour, mode, x, y, 10, 0)) {
        DeleteObject(bitmap);
        return NULL;
    }
    SetImage(dialog, id, bitmap);
    return bitmap;
}

void QlUiEnableList(HWND dialog, const int *ids, int enable)
{
    for (; ids && *ids; ids++) EnableWindow(GetDlgItem(dialog, *ids), enable);
}
