// Moving controls by hand on resize: anchoring a window or dialog item to the
// right or bottom edge of its parent's client area, stretching it to that edge,
// placing it next to another, and the shared layout of the document editors.
// Coordinates are pixels in the parent's client area; every move repaints.
#pragma once

#include <windows.h>

// Saved placement of a control; the helpers leave the id to the caller.
struct QlUiRectRec {
    int id;
    int left;
    int top;
    int width;
    int height;
};

// The shell's windows that the pane helpers measure; the shell sets them when
// it creates them (the status panel is QlStatusPanelWnd of QlUtil.h).
extern HWND QlMainToolbarWnd;
extern HWND QlLangPanelWnd;

// Placement in the parent's client coordinates (any out pointer may be NULL).
void QlUiGetRectInParent(HWND window, int *width, int *height, int *top, int *left);
// Stores left, top, width and height; the id is left alone.  Returns rec.
QlUiRectRec *QlUiSaveRectInParent(HWND window, QlUiRectRec *rec);

// Each returns MoveWindow's result (0 for a missing window or item).
BOOL QlUiMoveWindow(HWND window, int x, int y);
BOOL QlUiMoveItem(HWND dialog, int id, int x, int y);
BOOL QlUiShiftItemX(HWND dialog, int id, int dx);
// The item's right edge meets the other's left edge, at the other's top.
BOOL QlUiMoveItemLeftOf(HWND dialog, int id, int otherId);
BOOL QlUiMoveToRight(HWND window, int margin);
BOOL QlUiMoveItemToRight(HWND dialog, int id, int margin);
BOOL QlUiMoveToBottom(HWND window, int margin);
// top = bottom - height - margin, bottom being a y the caller gives.
BOOL QlUiMoveItemToBottom(HWND dialog, int id, int bottom, int margin);
BOOL QlUiStretchRight(HWND window, int margin);
BOOL QlUiStretchItemRight(HWND dialog, int id, int margin);
BOOL QlUiStretchDown(HWND window, int margin);
BOOL QlUiStretchItemDown(HWND dialog, int id, int margin);
// Mode 0: to the parent's bottom-right corner; mode 1: to the bottom, x kept;
// then margin pixels shorter (the top stays).  Other modes move nothing (0).
BOOL QlUiDockBottom(HWND window, int mode, int margin);
// From the window's own x to the parent's right edge, from the main tool bar's
// height + 3 down to the top of the language panel.
BOOL QlUiFillBelowToolbar(HWND moduleWindow);
// At x 0 under the main tool bar, as wide as the main window, down to the top
// of the status panel (the parent's client bottom while there is none).
BOOL QlUiFitPane(HWND moduleWindow);
// Sizes a top-level window so that its client area is cx x cy; the position is kept.
BOOL QlUiSetClientSize(HWND window, int cx, int cy);

// What the document layout keeps for the form: its own placement and that of
// each control of the saved list (entry i pairs with the id in .id), and the
// last dy by which the totals moved down.
#define QL_DOC_LAYOUT_SAVED 35
struct QlUiDocLayoutRec {
    QlUiRectRec form;
    QlUiRectRec saved[QL_DOC_LAYOUT_SAVED];
    int dy;
};
extern QlUiDocLayoutRec QlUiDocLayout;

// Widens the description column of a document form's line list; filled by the
// transactions work (QlTransFormFitColumns).  NULL: the columns stay.
typedef void (*QlUiDocFitColumnsFn)(HWND form, int argument);
extern QlUiDocFitColumnsFn QlUiDocFitColumnsHook;

// Lays a document form (template 140 and the order form) out for its parent's
// size: fills the pane, moves the header block to the right edge, docks the
// bottom row, re-creates the form's bottom tool bar (QlSaveCloseToolbar or
// QlDocViewToolbar or QlFormOwnToolbar, whichever belongs to the form), moves the totals block to
// 15 pixels above it, stretches the line list 1161 and fits its columns
// through QlUiDocFitColumnsHook with the argument.  Ids the form lacks are skipped.
void QlUiLayoutDocEditor(HWND form, int argument);
// The same for the credit-note forms, which fit the list with QlListFitFirstColumn.
void QlUiLayoutCreditEditor(HWND form, int argument);
