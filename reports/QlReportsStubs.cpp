// The Reports dialog and the sales statistics window are not part of the
// program yet: their openers leave the main window as it is.
#include "reports/QlReportsOpen.h"

INT_PTR QlReportsShow(HWND mainWindow)
{
    return 0;
}

HWND QlSalesGraphOpen(HWND mainWindow)
{
    return NULL;
}

void QlReportExportProd(HWND productsWindow)
{
}
