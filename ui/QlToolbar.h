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

// Creates a tool bar from the table: one button per item, in table order, each
// sending WM_COMMAND with its command id (and the tool bar as control) to the
// parent.  bottom docks it along the parent's bottom edge (CCS_BOTTOM),
// tooltips asks the parent for tool tips (TTN_GETDISPINFO).  Returns NULL, and
// leaves no window and no bitmap in the items, when count is outside
// 1..QL_TOOLBAR_MAX_BUTTONS or any bitmap cannot be loaded or added.
HWND QlToolbarCreate(HINSTANCE instance, HWND parent, QlToolbarItem *items, int count, int bottom, int tooltips);
// Destroys the tool bar (when not NULL), its image list and the items'
// bitmaps, and clears the items' bitmap handles.
void QlToolbarDestroy(HWND toolbar, QlToolbarItem *items, int count);

// The two-button bar of the forms in edit mode (customer account, line-item
// and payment forms, settings pages, new documents): " Save " (319, command 0)
// and " Close " (321, command 1).  The language work writes the labels.
extern QlToolbarItem QlSaveCloseToolbarTable[2];
// The four-button bar of the document views (statement, stored invoice,
// order and quotation views): Print, Email, PDF, Close (commands 0-3).
extern QlToolbarItem QlDocViewToolbarTable[4];

// The forms' slots for those bars: a form that creates its bar from one of
// the two tables keeps it here, so that the document layout
// (QlUiLayoutDocEditor) finds it and can re-create it along the new bottom.
extern HWND QlSaveCloseToolbar;
extern HWND QlDocViewToolbar;
// A form whose bottom bar has buttons of its own (the product-invoice view's
// delivery note, the quotation view's clone) keeps the bar here with its
// table and count, for the same purpose.
extern HWND QlFormOwnToolbar;
extern QlToolbarItem *QlFormOwnToolbarItems;
extern int QlFormOwnToolbarCount;
