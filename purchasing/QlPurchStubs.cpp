// The suppliers window and the supplier select dialog are not part of the
// program yet: the opener leaves the main window as it is, and the dialog
// chooses no supplier.
#include "purchasing/QlPurchOpen.h"
#include "purchasing/QlSuppCurrent.h"

HWND QlSuppOpenWindow(HWND mainWindow)
{
    return NULL;
}

INT_PTR CALLBACK QlSuppSelectDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_INITDIALOG) return FALSE;
    EndDialog(dialog, 0);
    return TRUE;
}
