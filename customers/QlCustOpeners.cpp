// The account screens still to come.  Until they are built each opener
// leaves everything as it is: nothing opens, the module stays.

#include "customers/QlCustOpeners.h"

QlTransRec *QlCustAccountChosen = NULL;

void QlCustOpenLabel(HWND module)
{
}

void QlCustOpenLetter(HWND module)
{
}

void QlCustPrintList(HWND module)
{
}

int QlCustExportList(HWND module)
{
    return 0;
}

INT_PTR CALLBACK QlCustAccountDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        QlCustAccountChosen = NULL;
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

HWND QlStmtOpen(void)
{
    return NULL;
}
