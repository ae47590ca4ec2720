// Openers of the suppliers and purchasing windows that the main window and
// the transactions window call.
#pragma once

#include "datastore/QlDbRecords.h"

#include <windows.h>

// The suppliers window as the module window (child of the main window);
// returns it, NULL when none was opened.
HWND QlSuppOpenWindow(HWND mainWindow);

// A stored purchase invoice (type 6) and a stored purchase order (type 5),
// each in the module slot; the record is copied.  The window, NULL when none
// was opened.
HWND QlPurchInvOpen(const QlTransRec *rec);
HWND QlOrderOpen(const QlTransRec *rec);
