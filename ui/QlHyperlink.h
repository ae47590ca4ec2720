// Static texts that behave as links: link colour, a hand cursor, underlined
// while the mouse is over them, and STN_CLICKED to the dialog.  Everything is
// kept in window properties, so any number of links can live in a dialog and
// destroying the dialog undoes all of it.
#pragma once

#include <windows.h>

#define QL_LINK_COLOUR ((COLORREF)0xC00000)

// Turns the static into a link (once per static, in WM_INITDIALOG); the
// parent is subclassed once for all its links.  Returns the result of the
// last SetPropA.
BOOL QlLinkAttach(HWND staticWindow);

LRESULT CALLBACK QlLinkParentWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK QlLinkWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
