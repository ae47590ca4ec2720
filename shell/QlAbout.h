// The About box (dialog 166) and the help file.
#pragma once

#include <windows.h>

// The product's web page and the support address shown as links.
#define QL_ABOUT_WEB_ADDRESS "https://quillory.example.com"
#define QL_ABOUT_SUPPORT_ADDRESS "support@quillory.example.com"
#define QL_HELP_FILE "qlyhelp.chm"

// Closes the module window, then runs the About box modally over the main window.
void QlAboutShow(HWND mainWindow);
INT_PTR CALLBACK QlAboutDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Asks the shell to open the help file of the working folder.  A help file
// that is not there, or that no program opens, is said in a message that
// names its full path.
void QlHelpOpen(HWND window);
