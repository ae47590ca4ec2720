// Tool bars of large picture buttons built from static tables.
#pragma once

#include <windows.h>

#define QL_TOOLBAR_MAX_BUTTONS 20

struct QlToolbarItem {
    int bitmapId;      // 32 x 32 bitmap resource
    int commandId;     // WM_COMMAND id sent to the owner, as a rule the position
    HBITMAP bitmap;    // set by QlToolbarCreate, released by QlToolbarDestroy
    char text[64];     // shown under the picture
};

// Creates a tool bar from the table; NULL (and no window) on failure.
HWND QlToolbarCreate(HINSTANCE instance, HWND parent, QlToolbarItem *items, int count, int bottom, int tooltips);
// Destroys the tool bar, its image list and the items' bitmaps.
void QlToolbarDestroy(HWND toolbar, QlToolbarItem *items, int count);
