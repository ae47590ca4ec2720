// Small windows for in-process tests: a hidden host with edits and a list view.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <string>

// A hidden top-level window; free it with DestroyWindow.
HWND QlTestHostWindow(void);
// An edit control with the given id on the host.
HWND QlTestAddEdit(HWND host, int id, const char *text);
// A report-mode list view with the given number of columns and rows (cells empty).
HWND QlTestAddList(HWND host, int id, int columns, int rows);
void QlTestSetCell(HWND list, int row, int column, const char *text);
std::string QlTestGetCell(HWND list, int row, int column);
std::string QlTestGetText(HWND host, int id);
