// The suppliers window is not part of the program yet: its opener leaves the
// main window as it is.
#include "purchasing/QlPurchOpen.h"

HWND QlSuppOpenWindow(HWND mainWindow)
{
    return NULL;
}
