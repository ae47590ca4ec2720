// The file dialogs of the program's ANSI calls, run as wide dialogs so that
// they show and take folders whose names the ANSI code page cannot write
// (QlWidePath.h).
#pragma once

#include <windows.h>
#include <commdlg.h>

// GetSaveFileNameA and GetOpenFileNameA as the wide dialogs run them: the
// dialog shows and takes folders of any name, and the chosen path comes back
// in the ANSI form of QlAnsiPathFromWide (a chosen name that has no such form
// answers as if nothing was chosen).  For single files without hooks or
// templates, as the program asks them.
BOOL WINAPI QlGetSaveFileNameWide(LPOPENFILENAMEA ofn);
BOOL WINAPI QlGetOpenFileNameWide(LPOPENFILENAMEA ofn);
