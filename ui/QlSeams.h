// Calls that wait for the user or leave the program, reached through
// pointers that default to the real call.  Tests point them at answers of
// their own, so that no test ever waits on a dialog.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

typedef int(WINAPI *QlMessageBoxFn)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
typedef BOOL(WINAPI *QlFileDialogFn)(LPOPENFILENAMEA ofn);
typedef LPITEMIDLIST(WINAPI *QlBrowseFolderFn)(LPBROWSEINFOA info);
typedef HINSTANCE(WINAPI *QlShellExecuteFn)(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir,
                                            INT show);
typedef BOOL(WINAPI *QlPrintDialogFn)(LPPRINTDLGA pd);
typedef BOOL(WINAPI *QlPlaySoundFn)(LPCSTR sound, HMODULE module, DWORD flags);
// The program's own message dialogs (QlMsgDialog.h): gets the request,
// answers what the dialog would (1 / 0, the choice in request->choice), or
// -1 for a dialog that could not be shown.
struct QlMsgRequest;
typedef INT_PTR (*QlMsgDialogFn)(HWND owner, QlMsgRequest *request);

extern QlMessageBoxFn QlSeamMessageBox;
extern QlFileDialogFn QlSeamGetOpenFileName;
extern QlFileDialogFn QlSeamGetSaveFileName;
extern QlBrowseFolderFn QlSeamBrowseForFolder;
extern QlShellExecuteFn QlSeamShellExecute;
extern QlPrintDialogFn QlSeamPrintDialog;
extern QlPlaySoundFn QlSeamPlaySound;
extern QlMsgDialogFn QlSeamMsgDialog;

// Puts every seam back to the real call.
void QlSeamsReset(void);
