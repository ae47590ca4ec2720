#include "purchasing/QlSuppCurrent.h"

#include "resources/QlResPurch.h"

#include <commctrl.h>
#include <stdlib.h>

QlSuppRec QlSuppCurrent;
HWND QlSuppWnd;

int QlSuppGetSelected(QlSuppRec *rec, int *index)
{
    if (!QlSuppWnd) return 0;
    HWND list = GetDlgItem(QlSuppWnd, IDL_SUPP_LIST);
    if (!list) return 0;
    int row = (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED);
    if (row < 0) return 0;
    char text[256] = "";
    LVITEMA item = {};
    item.iSubItem = 2;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
    text[sizeof text - 1] = '\0';   // a cell as long as the buffer comes without one
    rec->iKey = strtoll(text, NULL, 10);
    *index = row;
    return 1;
}
