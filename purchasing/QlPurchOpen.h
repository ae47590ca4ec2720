// Openers of the suppliers and purchasing windows that the main window calls.
#pragma once

#include <windows.h>

// The suppliers window as the module window (child of the main window);
// returns it, NULL when none was opened.
HWND QlSuppOpenWindow(HWND mainWindow);
