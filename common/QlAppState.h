// Program-wide state: owned and set by the shell at start-up, read by every
// module.  Defined in the common library so that each library links alone.
#pragma once

#include <windows.h>

extern HINSTANCE QlAppInstance;
extern HWND QlMainWnd;
extern HWND QlModuleWnd;          // the one open module window or document form, NULL when none
extern char QlWorkDir[MAX_PATH];  // current directory at start-up

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
