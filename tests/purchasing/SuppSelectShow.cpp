// A small program that shows the select-supplier dialog over a company
// database, as the purchase documents show it, so that the program test can
// look at it on the screen: the command line is the database's path (a
// Windows path, from the working folder); the exit code is the dialog's
// result, 2 when the database did not open.
#include "ui/QlWindow.h"
#include "datastore/QlDb.h"
#include "purchasing/QlSuppliers.h"
#include "resources/QlResIds.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    char err[QL_DB_ERR_SIZE] = "";
    if (!QlDbOpen(commandLine, err)) return 2;
    INT_PTR result = DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_CUST_SELECT), NULL, QlSuppSelectDlgProc, 0);
    QlDbClose();
    return (int)result;
}
