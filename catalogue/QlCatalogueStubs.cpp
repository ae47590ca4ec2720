// The services window is not part of the program yet: its opener leaves the
// main window as it is.
#include "catalogue/QlCatalogueOpen.h"

HWND QlServOpenWindow(HWND mainWindow)
{
    return NULL;
}
