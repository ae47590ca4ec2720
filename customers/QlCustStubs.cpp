// The customers module is not part of the program yet: its opener leaves the
// main window as it is.  The module replaces this file.
#include <windows.h>

HWND QlCustOpenModule(HWND parent)
{
    return NULL;
}
