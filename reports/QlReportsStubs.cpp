// The sales statistics window is not part of the program yet: its opener
// leaves the main window as it is.
#include "reports/QlReportsOpen.h"

HWND QlSalesGraphOpen(HWND mainWindow)
{
    return NULL;
}
