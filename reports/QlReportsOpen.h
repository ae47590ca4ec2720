// Openers of the Reports dialog and the sales statistics window.
#pragma once

#include <windows.h>

// Runs the Reports dialog modally over the main window; its result.
INT_PTR QlReportsShow(HWND mainWindow);
// The sales statistics window as the module window; returns it, NULL when
// none was opened.
HWND QlSalesGraphOpen(HWND mainWindow);
// The products window's Export command: the products CSV export.
void QlReportExportProd(HWND productsWindow);

// The Reports dialog's procedure, and the description of report index
// (texts[index]) put into control id.
INT_PTR CALLBACK QlReportsDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
void QlReportSetDescription(HWND dialog, int id, int index, const char **texts);
