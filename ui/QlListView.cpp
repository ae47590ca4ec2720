#include "QlListView.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

static int ClientWidth(HWND list)
{
    RECT rc;
    if (!GetClientRect(list, &rc)) return 0;
    return rc.right - rc.left;
}

static void SetGridStyle(HWND list, DWORD style)
{
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, (LPARAM)style);
}

int QlListInsertColumn(HWND list, int index, const char *title, int width, int format)
{
    LVCOLUMNA column;
    memset(&column, 0, sizeof column);
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = (char *)(title ? title : "");
    column.iSubItem = 0;
    return (int)SendMessageA(list, LVM_INSERTCOLUMNA, index, (LPARAM)&column);
}

int QlListSetupFromTable(HWND dialog, QlListColumnTable *table)
{
    if (table->count < 0 || table->count > QL_LIST_MAX_COLUMNS) return 0;
    HWND list = GetDlgItem(dialog, table->controlId);
    if (!list) return 0;
    table->list = list;
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    int width = ClientWidth(list);
    for (int i = 0; i < table->count; i++) {
        const QlListColumn *column = &table->columns[i];
        char title[sizeof column->title];
        memcpy(title, column->title, sizeof title);
        title[sizeof title - 1] = '\0';
        QlListInsertColumn(list, i, title, column->percent * width / 100, column->format);
    }
    SetGridStyle(list, QL_LIST_GRID_STYLE);
    return 1;
}

QlListColumnTable *QlListResizeColumns(HWND dialog, QlListColumnTable *table)
{
    int width = ClientWidth(table->list);
    int count = table->count < QL_LIST_MAX_COLUMNS ? table->count : QL_LIST_MAX_COLUMNS;
    for (int i = 0; i < count; i++)
        SendMessageA(table->list, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(table->columns[i].percent * width / 100, 0));
    return table;
}

int QlListSetColumns(HWND list, const char *const *titles, int count, const int *widths, int itemCount,
                     const int *formats)
{
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < count; i++) QlListInsertColumn(list, i, titles[i], widths[i], formats ? formats[i] : 0);
    SendMessageA(list, LVM_SETITEMCOUNT, itemCount, 0);
    SetGridStyle(list, QL_LIST_GRID_STYLE);
    return 1;
}

int QlListSetColumnsFmt(HWND list, const char *const *titles, int count, const int *widths, int itemCount,
                        const int *formats)
{
    return QlListSetColumns(list, titles, count, widths, itemCount, formats);
}

int QlListColumnWidths(HWND list, const int *weights, int count, int *widths, int margin)
{
    int usable = ClientWidth(list) - margin;
    int sum = 0;
    for (int i = 0; i < count; i++) sum += weights[i];
    for (int i = 0; i < count; i++) {
        int percent = sum > 0 ? weights[i] * 100 / sum : 0;
        widths[i] = usable * percent / 100;
    }
    return sum > 0 ? 1 : 0;
}

void QlListFitFirstColumn(HWND dialog)
{
    HWND list = GetDlgItem(dialog, 1161);
    RECT rc;
    if (!list || !GetWindowRect(list, &rc)) return;
    int second = (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0);
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM((rc.right - rc.left) - second - 25, 0));
}

int QlListViewSetColumns(HWND dialog, int controlId, const char (*titles)[40], const int *widths, const int *formats,
                         int count, int grid)
{
    HWND list = GetDlgItem(dialog, controlId);
    if (!list) return 0;
    for (int i = 0; i < count; i++) {
        char title[40];
        memcpy(title, titles[i], sizeof title);
        title[sizeof title - 1] = '\0';
        QlListInsertColumn(list, i, title, widths[i], formats[i]);
    }
    SetGridStyle(list, grid ? QL_LIST_GRID_STYLE : LVS_EX_FULLROWSELECT);
    return 1;
}

int QlListFindRow(HWND list, const char *text, int column, int mode, int *row)
{
    int count = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    if (count <= 0 || !text || !text[0]) return 0;
    size_t length = strlen(text);
    for (int i = 0; i < count; i++) {
        char cell[256];
        QlListGetCell(list, i, column, cell, sizeof cell);
        int match;
        if (mode == 1)
            match = strlen(cell) >= length && strstr(cell, text) != NULL;
        else
            match = strcmp(cell, text) == 0;
        if (match) {
            *row = i;
            return 1;
        }
    }
    return 0;
}

int QlListFindItemText(HWND list, const char *text)
{
    if (!text || !text[0]) return -1;
    LVFINDINFOA find = {};
    find.flags = LVFI_STRING;
    find.psz = text;
    return (int)SendMessageA(list, LVM_FINDITEMA, (WPARAM)-1, (LPARAM)&find);
}

int QlListOwnerDataFind(const NMHDR *header, int count, QlListRowTextFn text)
{
    // Wine's list view sends the wide form to ANSI windows too, with its
    // LVFINDINFOW as it stands.
    const NMLVFINDITEMA *find = (const NMLVFINDITEMA *)header;
    UINT flags = find->lvfi.flags;
    if (!(flags & (LVFI_STRING | LVFI_PARTIAL)) || !find->lvfi.psz || count <= 0) return -1;
    char wanted[260];
    if (header->code == LVN_ODFINDITEMW) {
        const NMLVFINDITEMW *wide = (const NMLVFINDITEMW *)header;
        if (!WideCharToMultiByte(CP_ACP, 0, wide->lvfi.psz, -1, wanted, sizeof wanted, NULL, NULL)) return -1;
    } else {
        snprintf(wanted, sizeof wanted, "%s", find->lvfi.psz);
    }
    size_t length = strlen(wanted);
    int start = find->iStart >= 0 && find->iStart < count ? find->iStart : 0;
    for (int i = 0; i < count; i++) {
        int row = start + i;
        if (row >= count) {
            if (!(flags & LVFI_WRAP)) break;
            row -= count;
        }
        const char *cell = text(row);
        if (!cell) continue;
        int match = flags & LVFI_PARTIAL ? strncasecmp(cell, wanted, length) == 0 : strcasecmp(cell, wanted) == 0;
        if (match) return row;
    }
    return -1;
}

int QlListGetColumnText(HWND list, int column, char *buffer, int bufferSize)
{
    LVCOLUMNA col;
    memset(&col, 0, sizeof col);
    col.mask = LVCF_TEXT;
    col.pszText = buffer;
    col.cchTextMax = bufferSize;
    int result = (int)SendMessageA(list, LVM_GETCOLUMNA, column, (LPARAM)&col);
    if (bufferSize > 0) buffer[bufferSize - 1] = '\0';
    return result;
}

void QlListGetCell(HWND list, int row, int column, char *text, int size)
{
    if (size <= 0) return;
    LVITEMA item;
    memset(&item, 0, sizeof item);
    text[0] = '\0';
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = size;
    SendMessageA(list, LVM_GETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
    text[size - 1] = '\0';
}

void QlListSetCell(HWND list, int row, int column, const char *text)
{
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.iSubItem = column;
    item.pszText = (char *)text;
    SendMessageA(list, LVM_SETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
}

void QlListShowRow(HWND list, int row)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&item);
    SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
}

void QlListSetRowCount(HWND list, int count)
{
    // The list draws its rows only; its header stays as it is drawn.
    LONG style = GetWindowLongA(list, GWL_STYLE);
    if (!(style & WS_CLIPCHILDREN)) SetWindowLongA(list, GWL_STYLE, style | WS_CLIPCHILDREN);
    int before = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    int chosen = SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) > 0 ||
                 (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED) >= 0;
    if (count == before && !chosen) {
        // Nothing to take back and nothing to scroll anew: the rows are drawn again.
        RedrawWindow(list, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
        return;
    }
    // WM_SETREDRAW as the default window procedure takes it marks the list
    // hidden (the list's own procedure stops drawing its rows but still draws
    // its scroll bar at each count, twice); it also takes back what was
    // waiting to be drawn, which the header is given back.
    int shown = (GetWindowLongA(list, GWL_STYLE) & WS_VISIBLE) != 0;
    HWND header = (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0);
    int headerDue = shown && header && GetUpdateRect(header, NULL, FALSE);
    if (shown) DefWindowProcA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_SETITEMCOUNT, 0, 0);
    SendMessageA(list, LVM_SETITEMCOUNT, count, 0);
    if (!shown) return;
    DefWindowProcA(list, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(list, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_NOCHILDREN);
    if (headerDue) InvalidateRect(header, NULL, TRUE);
}
