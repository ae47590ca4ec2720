// The main window: its procedure, its commands from the menu and the tool
// bar, its title and the exit command.
#pragma once

#include <windows.h>

#include "resources/QlVersion.h"

// Posted to itself at the end of WM_CREATE: start-up goes on with the company.
#define QL_WM_STARTUP (WM_USER + 1)
// The mail sender's timer on the main window (100 ms while a mail is sent).
#define QL_TIMER_MAIL 2

// One command of the main window: its tool-bar button and menu item and the
// function it runs, given the main window.  The table is not const so that
// tests can point entries at functions of their own.
typedef void (*QlMainCommandFn)(HWND mainWindow);
struct QlMainCommand {
    int toolbarId;   // command id of the tool-bar button, -1 when none
    int menuId;      // menu command id, 0 when none
    QlMainCommandFn run;
    int needsData;   // 1: refused with a message while the company's data is not open
};
#define QL_MAIN_COMMAND_TABLE_COUNT 15
extern QlMainCommand QlMainCommandTable[QL_MAIN_COMMAND_TABLE_COUNT];

// The class procedure of the main window.
LRESULT CALLBACK QlMainWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// "Quillory 2.1.31 : <company name>".
void QlMainSetTitle(void);
// Exit: when the settings ask for it, offers a backup first (Yes backs up,
// No goes on, Cancel returns to the program, as does a backup not made),
// then destroys the main window.
void QlMainExit(HWND mainWindow);
// A quotation block posted with WM_USER+18: a quotation (type 4) opens a new
// quotation form, which takes the block; any other block is freed.
void QlMainFreePosted(void *block);

