// The save-file dialogs of the files the program writes for the user (PDF
// and HTML documents, CSV exports, the account card): where they open, and
// the full path of the file chosen.
//
// Each kind of file remembers the folder the user last chose for it while
// the program runs; until one is chosen, and when that folder has gone, the
// dialog opens in the working folder.  A folder that holds a backup (its
// "*.bak" marker) is never where a dialog opens, even when the user saved
// into one.
#pragma once

#include <windows.h>

enum QlSaveKind { QL_SAVE_PDF, QL_SAVE_HTML, QL_SAVE_CSV, QL_SAVE_TEXT, QL_SAVE_KIND_COUNT };

// The save dialog (QlSeamGetSaveFileName) over path, size bytes holding the
// suggested file name: it opens in QlSaveFolder(kind), asks before
// overwriting a file, adds extension to a name typed without one and leaves
// the current folder alone; the working folder is made current again
// afterwards (when that fails and chdirFailed is given, that text is shown
// in a system message box).  1 with the chosen file's full path in path, its
// folder remembered for the kind; 0 when the user chose nothing.
int QlAskSavePath(HWND owner, int kind, char *path, int size, const char *title, const char *filter,
                  const char *extension, const char *chdirFailed);
// The folder a save dialog of the kind opens in, without a trailing
// backslash (size bytes; MAX_PATH is enough).
void QlSaveFolder(int kind, char *folder, int size);
// Forgets the folders chosen so far: every kind opens in the working folder.
void QlSaveFoldersForget(void);
// 1 when folder holds a backup's marker file ("*.bak").
int QlIsBackupFolder(const char *folder);
// path made whole against the working folder (the current folder when none
// is set): "C:\\data\\cust.csv" from "cust.csv".  A path that cannot be made
// whole is copied as it is.
void QlFullPath(const char *path, char *out, int size);
// Posts format (one "%s") with the file's full path to the main window's
// status panel in the colour of success: "Invoice saved as C:\\data\\INVOICE12.pdf".
void QlStatusPostSaved(const char *format, const char *path);
