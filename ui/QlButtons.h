// Picture buttons with a caption drawn into the picture in "Arial Narrow",
// the font size fitted to the button; rows of such buttons from tables; the
// document button bar.
#pragma once

#include <windows.h>

// Posted by the document button bar to its parent: wParam the command
// (0 Save, 1 Print, 2 Email, 3 PDF, 4 Close), lParam 0.
#define QL_WM_DOC_BUTTON (WM_USER + 12)

// Caption placement modes of QlBitmapDrawCaption.
#define QL_CAPTION_CENTRED 1      // centred both ways on one line
#define QL_CAPTION_LEFT_MIDDLE 2  // from x, vertically centred on one line
#define QL_CAPTION_CENTRED_FROM 4 // centred horizontally from y down
#define QL_CAPTION_AT 8           // from (x, y)

struct QlButtonRowItem;
typedef void (*QlButtonRowFn)(int argument, QlButtonRowItem *item);

// One button of a row, in a static table of the window that owns the row.
struct QlButtonRowItem {
    int bitmapId;              // bitmap resource of the program
    HWND button;               // set when the row is created
    QlButtonRowFn command;     // called by QlUiRowDispatch; may be NULL
    int disabled;              // nonzero: the command is not called
    const char *statusText;    // shown in the status window when used; may be NULL
    char caption[80];
};

// The largest caption size of 10, 9, 8, 7 points at which the text is
// narrower than width - 5 on the window's device.  Returns 1 with *size set;
// 0 with *size = 10 when none fits; 0 without output when the window has no
// device context.
int QlUiFitFontSize(HWND window, int width, const char *text, int *size);
// Fits each text to the control's client width: *size = the smallest fitting
// size when all fit (result 1), else 7 (result 0).
int QlUiFitFontSize2(HWND dialog, int id, const char *t1, const char *t2, int *size);
int QlUiFitFontSize3(HWND dialog, int id, const char *t1, const char *t2, const char *t3, int *size);
int QlUiFitFontSize4(HWND dialog, int id, const char *t1, const char *t2, const char *t3, const char *t4, int *size);
int QlUiFitFontSize5(HWND dialog, int id, const char *t1, const char *t2, const char *t3, const char *t4,
                     const char *t5, int *size);
// Fits the row's widest caption (measured in the window's font).
int QlUiFitRowFontSize(HWND window, int width, const QlButtonRowItem *table, int count, int *size);

// The caption top for a size: one pixel lower for 9 points, two for 8 and 7,
// so that smaller captions sit at the same visual height.
int QlUiCaptionTop(int y, int pointSize);

// Draws the text into the bitmap (mode as above, taken from the low 16 bits;
// pointSize 0 keeps the default font; halo draws a white shadow first).
// Returns the bitmap, or NULL (nothing drawn) for a NULL bitmap, an unknown
// mode or when no device context can be made.
HBITMAP QlBitmapDrawCaption(HBITMAP bitmap, const char *text, COLORREF colour, int mode, int x, int y,
                            int pointSize, int halo);
// Loads the program's bitmap resource and draws the caption into it; the
// caller owns the result.  NULL when the resource cannot be loaded.
HBITMAP QlBitmapLoadWithCaption(int bitmapId, const char *text, COLORREF colour, int mode, int x, int y,
                                int pointSize, int halo);

// A child "BUTTON" (BS_BITMAP with the picture flag) whose picture carries the
// caption in black, fitted to the width (7 points when nothing fits) at top
// 21, 22 or 23 by size.  The picture belongs to the button: free it with
// QlUiFreeRowImages or BM_GETIMAGE when the window closes.
HWND QlUiCreatePictureButton(HINSTANCE instance, HWND parent, int x, int y, int width, int height, int picture,
                             int bitmapId, const char *caption);
// count picture-only buttons left to right at x + i x (width + gap); each
// window is stored in its item.  Returns count.
int QlUiCreatePictureRow(HWND parent, int x, int y, int width, int height, int gap, QlButtonRowItem *table,
                         int count);
// The same with each item's caption drawn in mode 4 at captionTop.  With fit
// the size is fitted once, at the first button, to the widest caption (7 when
// nothing fits), and topFromSize then takes the top 21, 22 or 23 by size.
int QlUiCreateCaptionRow(HWND parent, int x, int y, int width, int height, int gap, QlButtonRowItem *table, int count,
                         int captionTop, int pointSize, COLORREF colour, int halo, int fit, int topFromSize);
// Deletes the picture of each button of the row (and takes it off the button).
void QlUiFreeRowImages(QlButtonRowItem *table, int count);
// For the item whose button is the given window: calls its command with the
// argument unless it is disabled, then shows its status text in the status
// window (when both are given).  Returns 1 when the button is in the table,
// disabled or not, else 0.
int QlUiRowDispatch(HWND button, int argument, QlButtonRowItem *table, int count, HWND statusWindow);

// The document button bar: a child bar along the bottom of a document form
// with the Save, Print, Email, PDF and Close buttons (labels in the current
// language), left-aligned with the anchor control (1187 when anchorId is 0).
// Each button posts QL_WM_DOC_BUTTON to the form.  NULL on failure.
HWND QlDocButtonBarCreate(HWND form, int anchorId);
INT_PTR CALLBACK QlDocButtonBarDlgProc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam);
