// The settings window is not part of the program yet: its openers leave the
// main window as it is.
#include "shell/QlCfgOpen.h"

int QlCfgStartPage = 0;

HWND QlCfgOpen(HWND parent)
{
    return NULL;
}

HWND QlCfgOpenFromMenu(void)
{
    QlCfgStartPage = 0;
    return NULL;
}
