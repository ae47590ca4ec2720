// The main window's panels along its bottom edge (message panel, language
// panel, description bar), its size from the module templates, the layout on
// maximize and restore, the background text and the language panel's flag.
#pragma once

#include <windows.h>

// The description bar (its text static is QlDescBarText of QlWindow.h); the
// message panel is QlStatusPanelWnd (QlUtil.h), the language panel
// QlLangPanelWnd (QlLayout.h).
extern HWND QlDescBarWnd;

// The main window's timer that clears the message panel after 3 seconds.
#define QL_TIMER_STATUS 3
#define QL_STATUS_SHOW_MS 3000

INT_PTR CALLBACK QlStatusPanelDlgProc(HWND panel, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlLangPanelDlgProc(HWND panel, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlDescBarDlgProc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam);

// Creates the message panel, the language panel and the description bar, in
// that order (each places itself by the ones before it), and sets their
// program-wide handles.  1 when all three exist.
int QlMainCreatePanels(HWND mainWindow);

// Sizes the main window from the customers module's template (120) and the
// language panel's, then centres it on the screen.  Without template 120 the
// window keeps the size it was created with.
void QlMainFitToDialogs(HWND mainWindow);

// After a maximize: the panels go to the bottom (their places saved), the
// description bar and the tool bar stretch, the module window is told
// (WM_USER+10).  After the restore: the panels go back where they were and
// the module window is told (WM_USER+11).
void QlMainLayout(void);
void QlMainRestoreLayout(void);

// The product, the version and a notice in the middle of the background.
void QlMainPaint(HWND mainWindow, HDC dc);
// Deletes the background text's font (at shutdown).
void QlMainFreePaintFont(void);

// The flag picture for a language and country: the country's own when it has
// one, else the language's.
const char *QlLangFlagPath(int lang, int country);
// Shows that flag in the language panel; the panel keeps a bitmap of its own
// (a picture that does not load leaves it empty).  QlLangFreeFlag releases
// it: before each new flag and after the message loop.
void QlLangShowFlag(int lang, int country);
void QlLangFreeFlag(void);
// The flag bitmap held, NULL when none.
HBITMAP QlLangFlag(void);
