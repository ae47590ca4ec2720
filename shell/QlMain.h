// Start-up and shutdown: the single-instance guard, the shared GDI objects,
// the main window's class and creation, the message loop, the start with a
// company and switching to another.  WinMain is QlMainRun.
#pragma once

#include <windows.h>

// The named mutex that tells a second copy of the program to end.
#define QL_INSTANCE_MUTEX "AppReenterCheck"

// Takes the single-instance mutex; 1 when another copy holds it (the program
// then ends), 0 when this copy now holds it.
int QlMainCheckInstance(void);
// Releases and closes the mutex (at shutdown); harmless when not held.
void QlMainReleaseInstance(void);

// The shared brushes and pen; the four fonts of the main window (created for
// its screen); deleting every shared GDI object (each only when created).
void QlMainCreateBrushes(void);
void QlMainCreateFonts(HWND mainWindow);
void QlMainFreeGdiObjects(void);

// Registers the main window's class (an existing one is kept).  1 on success.
int QlMainRegisterClass(HINSTANCE instance);
// Creates, shows and updates the main window ("Quillory 2.1.31", 800 x 580);
// 1 on success.  Its WM_CREATE posts the start-up message.
int QlMainCreateWindow(HINSTANCE instance, int showCmd);
// The doors between the modules, brushes, class and main window: what the
// program does between taking the working folder and the message loop.  The main window, NULL on failure.
HWND QlMainStart(HINSTANCE instance, int showCmd);

// The dialog whose keys move the focus for a window: the outermost of the
// nested dialogs (DS_CONTROL) that hold it (a module window, a document
// form, a settings page); NULL for the main window and its tool bars.
HWND QlMainKeyDialog(HWND window);
// Dialog navigation for the windows the main loop feeds: in a control of
// such a dialog Tab and Shift+Tab move the focus along the tab stops, and
// the arrow keys within a group, where the control does not take them
// itself.  Enter and Escape stay with the control, as before (a barcode
// box's scanner ends with Enter).  1 when the key was taken (the message
// is then not dispatched).
int QlMainDialogMessage(MSG *msg);

// The whole program: the guard, the tax defaults, the working folder, the
// picture library, the main window, the message loop and what follows it.
// Returns the program's exit code.
int QlMainRun(HINSTANCE instance, int showCmd);

// The start-up message: the company (from mconf.bin or the manager), its
// language, the About box, the flag, the database, the tool bar and the
// title.  Without a company the main window is destroyed; a company whose
// data does not open is named with what to do and the manager opens, so
// that another company can be loaded (or, closing it, a backup restored).
void QlMainStartCompany(HWND mainWindow);
// The My Companies command: the manager over the open company; another
// company loaded there becomes the open one (the old one's settings saved
// and its database closed first).  A company whose data does not open is
// named with what to do, and the manager opens again.
void QlMainSwitchCompany(HWND mainWindow);
// Opens the current company's database: when the file is missing (and no
// old record files will make it) the user is asked before an empty one is
// made; a file that cannot be opened is named with the store's text and
// what to do.  1 when open; 0 after the user was told or declined.
int QlMainOpenCompanyData(HWND owner);
// The main window once the company's data is open: its tool bar and title.
void QlMainDataOpened(HWND mainWindow);
// WM_DESTROY of the main window: everything the program holds is released,
// the settings saved, and the message loop told to end.
void QlMainShutdown(HWND mainWindow);
