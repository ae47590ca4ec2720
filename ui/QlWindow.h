// Thin wrappers over the window functions that every window of the program
// uses: modeless windows from templates, combos, statics, window classes,
// centring, closing the module window, address edits, dates, folders.
#pragma once

#include <windows.h>
#include <stddef.h>
#include <stdio.h>

#include "core/QlDate.h"

// The description bar's text static (static 1382 of the description bar),
// set by the shell when it creates the bar; QlUiClosePane empties it.
extern HWND QlDescBarText;

// The program instance for templates and bitmaps: QlAppInstance, or the
// module of the process while the shell has not set it (tests).
HINSTANCE QlUiInstance(void);

// CreateDialogParamA(instance, template, parent, procedure, 0), then shown
// (SW_SHOWDEFAULT) and updated; NULL when creation failed.
HWND QlUiCreateModeless(HINSTANCE instance, HWND parent, DLGPROC procedure, int templateId);

// Adds the NULL-ended strings to the (empty) combo in order, then selects the
// first entry after entry 0, wrapping round to entry 0, whose text begins with
// strings[index] (case-insensitive).  Returns the selected index, or CB_ERR
// (also when index is not one of the strings).
int QlUiComboFill(HWND dialog, const char *const *strings, int comboId, int index);

// A visible child "STATIC" with the text " ", id 0, SS_CENTER when centred is
// nonzero, plus the extra style bits.
HWND QlUiCreateStatic(HINSTANCE instance, HWND parent, int x, int y, int width, int height, DWORD extraStyle,
                      int centred);

// WM_SETTEXT; returns its result.
LRESULT QlUiSetText(HWND window, const char *text);

// The dialog's control with the id, as GetDlgItem finds it, NULL when there
// is none.  GetDlgItem asks the window server for the dialog's children on
// every call, a round trip that a busy machine makes slow; the handles found
// for the last dialog are kept (each thread its own) and checked locally (a
// child window of the dialog with the same id) before they are used again.
HWND QlUiControl(HWND dialog, int id);

// Reads a control's text (WM_GETTEXT, as GetDlgItemTextA) into a field of
// size bytes: always terminated, empty when the control is missing.
void QlUiGetField(HWND dialog, int id, char *text, int size);
template <size_t N> inline void QlUiGetField(HWND dialog, int id, char (&field)[N])
{
    QlUiGetField(dialog, id, field, (int)N);
}
// The selected index of a combo box, 0 when nothing is selected.
int QlUiComboSelection(HWND dialog, int id);

// Registers a class with no extra bytes; cursor is a system cursor id
// (IDC_ARROW ...) or NULL, icon a resource name of the instance or NULL.
// Returns the class atom, 0 on failure.
ATOM QlUiRegisterClass(HINSTANCE instance, UINT classStyle, WNDPROC procedure, LPCSTR cursor, HBRUSH background,
                       const char *className, LPCSTR iconName, LPCSTR menuName);

// Centres the window over its parent's (owner's) window rectangle, or over the
// desktop when it has none, and brings it to the top; the size is kept.  A
// child window is placed in its parent's client coordinates.
void QlUiCenterWindow(HWND window);

// Empties the text of toClear, then destroys toDestroy; DestroyWindow's result.
BOOL QlUiClearAndDestroy(HWND toDestroy, HWND toClear);

// Closes a module window: empties the description bar, destroys the window
// and, when it is the one held in QlModuleWnd, empties that slot.
void QlUiClosePane(HWND moduleWindow);

// Destroys the window held in QlModuleWnd, if any, emptying the slot first:
// the window's own teardown sees that it no longer holds the slot.  Every
// opener of a module window or document form calls this first.
void QlUiDestroyModule(void);

// Limits the three address-line edits 1028, 1029 and 1030 to 39 characters.
void QlUiLimitAddressEdits(HWND dialog);

// Reads the control (at most 39 characters) as a day-first date; 1 or 0 as
// QlDateParseDmy.
int QlUiGetDate(HWND dialog, int id, QlDateRec *date);

// Lets the user pick a folder (through QlSeamBrowseForFolder); path must hold
// MAX_PATH bytes.  Returns nonzero with the full path written, 0 with path
// empty when the user cancelled or the choice has no file-system path.
int QlUiBrowseFolder(HWND owner, char *path, const char *title);

// When stream is not NULL: seek to its end, read the position, seek back to
// the start.  Returns 0.
int QlFileRewind(FILE *stream);

// *out = first, unless flag is 0, count > 0 and second is not NULL: then
// *out = second.  Returns *out.
FILE *QlFilePickCopy(FILE **out, FILE *first, FILE *second, int flag, int count);
