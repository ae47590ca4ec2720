// Program-wide state: owned and set by the shell at start-up, read by every
// module.  Defined in the window toolkit (ui/) so that each library links alone.
#pragma once

#include <windows.h>

extern HINSTANCE QlAppInstance;
extern HWND QlMainWnd;
extern HWND QlModuleWnd;          // the one open module window or document form, NULL when none
extern char QlWorkDir[MAX_PATH];  // current directory at start-up

// Messages between the main window and the module window.  The main window
// posts the first two after it was maximized or restored (the module window
// lays itself out again) and sends the third when it is being destroyed.
#define QL_WM_MAIN_MAXIMIZED (WM_USER + 10)
#define QL_WM_MAIN_RESTORED (WM_USER + 11)
#define QL_WM_MAIN_CLOSING (WM_USER + 14)
// Posted to the main window: a mail event (wParam the event code, lParam a
// heap status text) and a quotation to copy into a new one (lParam a heap
// QlQuotePrefill block).  The main window owns both blocks.
#define QL_WM_MAIL_EVENT (WM_USER + 8)
#define QL_WM_QUOTE_COPY (WM_USER + 18)

// Shared GDI objects, created by the shell, never deleted by other code.
extern HBRUSH QlBrushModuleBack;  // RGB 188, 194, 200
extern HBRUSH QlBrushWhite;
extern HBRUSH QlBrushGreen;
extern HPEN QlPenRed;
extern HFONT QlFontWide12;
extern HFONT QlFontWide10;
extern HFONT QlFontToolbar;
extern HFONT QlFontBold12;

// "0%" .. "99%" for the discount combos.
extern char *QlPercentTextTable[100];

// Changes the current directory back to the working folder; 1 on success.
int QlRestoreWorkDir(void);
