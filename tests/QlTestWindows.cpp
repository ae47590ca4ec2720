#include "QlTestWindows.h"

HWND QlTestHostWindow(void)
{
    static bool initialised = false;
    if (!initialised) {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        initialised = true;
    }
    return CreateWindowExA(0, "STATIC", "test host", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, NULL, NULL,
                           GetModuleHandleA(NULL), NULL);
}

HWND QlTestAddEdit(HWND host, int id, const char *text)
{
    return CreateWindowExA(0, "EDIT", text, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 200, 20, host,
                           (HMENU)(INT_PTR)id, GetModuleHandleA(NULL), NULL);
}

HWND QlTestAddList(HWND host, int id, int columns, int rows)
{
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 600, 400, host,
                                (HMENU)(INT_PTR)id, GetModuleHandleA(NULL), NULL);
    for (int c = 0; c < columns; c++) {
        LVCOLUMNA col = {};
        col.mask = LVCF_WIDTH | LVCF_TEXT;
        col.cx = 80;
        col.pszText = (char *)"col";
        SendMessageA(list, LVM_INSERTCOLUMNA, c, (LPARAM)&col);
    }
    for (int r = 0; r < rows; r++) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = (char *)"";
        SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    }
    return list;
}

void QlTestSetCell(HWND list, int row, int column, const char *text)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = (char *)text;
    SendMessageA(list, LVM_SETITEMTEXTA, row, (LPARAM)&item);
}

std::string QlTestGetCell(HWND list, int row, int column)
{
    char buf[256] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buf;
    item.cchTextMax = sizeof buf;
    SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
    buf[sizeof buf - 1] = '\0';
    return buf;
}

std::string QlTestGetText(HWND host, int id)
{
    char buf[256] = "";
    GetDlgItemTextA(host, id, buf, sizeof buf);
    return buf;
}
