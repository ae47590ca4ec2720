// Openers of the products and services windows that the main window calls.
#pragma once

#include <windows.h>

// Each opens its window as the module window (child of the main window) and
// returns it, NULL when none was opened.
HWND QlProdOpenWindow(HWND mainWindow);
HWND QlServOpenWindow(HWND mainWindow);
