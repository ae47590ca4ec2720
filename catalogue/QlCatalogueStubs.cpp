// The products and services windows are not part of the program yet: their
// openers leave the main window as it is.
#include "catalogue/QlCatalogueOpen.h"

HWND QlProdOpenWindow(HWND mainWindow)
{
    return NULL;
}

HWND QlServOpenWindow(HWND mainWindow)
{
    return NULL;
}
