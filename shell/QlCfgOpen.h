// Openers of the settings window that the main window calls.
#pragma once

#include <windows.h>

// The page the settings window opens on: 0 language, 1 company details, ...
extern int QlCfgStartPage;

// The settings window as the module window (child of parent), on
// QlCfgStartPage; the window before it is destroyed first.  Returns it, NULL
// when it could not be created.  The main window's title is set again.
HWND QlCfgOpen(HWND parent);
// Opens the settings window on its language page from the menu or tool bar.
HWND QlCfgOpenFromMenu(void);
