// Setting up a dialog's controls: a text with its font, a picture on a push
// button with or without a caption drawn into it, enabling a list of controls.
#pragma once

#include <windows.h>

// WM_SETFONT of the font (redraw), then the control's text.
void QlUiSetTextFont(HWND dialog, int id, const char *text, HFONT font);

// Puts the program's bitmap resource on the push button (BM_SETIMAGE); the
// bitmap stays with the button.  Returns it (NULL when it cannot be loaded).
HBITMAP QlUiSetButtonBitmap(HWND dialog, WORD bitmapId, int id);

// Puts the bitmap resource with the caption drawn in black, centred from y
// down (moved down 1 pixel for 9 points, 2 for 8 and 7; pointSize 0 means
// 10), on the button.  Returns the new bitmap, which the caller deletes when
// the window closes; NULL (button unchanged) when it cannot be made.
HBITMAP QlUiSetButtonCaption(HWND dialog, int bitmapId, int id, int y, const char *caption, int pointSize);
// The same at y = 21.
HBITMAP QlUiSetButtonCaptionFixed(HWND dialog, int bitmapId, int id, const char *caption, int pointSize);

// Loads a picture file into a bitmap the caller owns (DeleteObject), NULL on
// failure.  It defaults to the copying loader (QlPictureLoadCopy): a bitmap
// that the picture library keeps itself must never be put on a button.
// Tests may point it elsewhere; NULL: no picture can be loaded.
typedef HBITMAP (*QlUiPictureLoadFn)(const char *path);
extern QlUiPictureLoadFn QlUiPictureLoader;

// Loads the picture file, draws the caption into it (colour, mode, x, y,
// 10 points, no halo) and puts it on the button.  Returns the bitmap, which
// the caller deletes when the window closes; NULL, with the button left as it
// was, when the picture cannot be loaded or drawn on.
HBITMAP QlUiSetButtonPictureCaption(HWND dialog, const char *path, int id, int y, int x, COLORREF colour, int mode,
                                    const char *caption);

// EnableWindow for each control id up to the terminating 0.
void QlUiEnableList(HWND dialog, const int *ids, int enable);
