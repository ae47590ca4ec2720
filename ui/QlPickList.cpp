#include "QlPickList.h"

#include "QlListView.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void Copy(char *field, size_t width, const char *text)
{
    size_t length = text ? strnlen(text, width - 1) : 0;
    if (length) memcpy(field, text, length);
    field[length] = '\0';
}

int QlPickListAppend(QlPickList *list, const char *acref, const char *company)
{
    if (list->count == list->capacity) {
        int capacity = list->capacity ? list->capacity * 2 : 256;
        QlPickRow *rows = (QlPickRow *)realloc(list->rows, (size_t)capacity * sizeof *rows);
        if (!rows) return 0;
        list->rows = rows;
        list->capacity = capacity;
    }
    QlPickRow *row = &list->rows[list->count];
    Copy(row->acref, sizeof row->acref, acref);
    Copy(row->company, sizeof row->company, company);
    row->place = list->count++;
    return 1;
}

static int sSortColumn;
static int sSortAscending;

static int CompareRows(const void *left, const void *right)
{
    const QlPickRow *a = (const QlPickRow *)left, *b = (const QlPickRow *)right;
    int order = sSortColumn == 1 ? strcmp(a->company, b->company) : strcmp(a->acref, b->acref);
    if (order) return sSortAscending ? order : -order;
    return (a->place > b->place) - (a->place < b->place);
}

void QlPickListSort(QlPickList *list, int column, int ascending)
{
    sSortColumn = column;
    sSortAscending = ascending;
    if (list->count > 1) qsort(list->rows, (size_t)list->count, sizeof *list->rows, CompareRows);
}

void QlPickListFree(QlPickList *list)
{
    free(list->rows);
    memset(list, 0, sizeof *list);
}

void QlPickListShow(const QlPickList *list, HWND view)
{
    // The selection and the focus go with the index, not with the account
    // under it: neither stays.
    static const UINT kStates[] = {LVNI_SELECTED, LVNI_FOCUSED};
    for (UINT state : kStates) {
        int row = (int)SendMessageA(view, LVM_GETNEXTITEM, (WPARAM)-1, state);
        if (row < 0) continue;
        LVITEMA none;
        memset(&none, 0, sizeof none);
        none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(view, LVM_SETITEMSTATE, row, (LPARAM)&none);
    }
    SendMessageA(view, LVM_SETITEMCOUNT, list->count, 0);
    InvalidateRect(view, NULL, TRUE);
}

void QlPickListCell(const QlPickList *list, NMLVDISPINFOA *info)
{
    if (!(info->item.mask & LVIF_TEXT) || !info->item.pszText || info->item.cchTextMax <= 0) return;
    int row = info->item.iItem;
    const char *text = "";
    if (row >= 0 && row < list->count) text = info->item.iSubItem == 1 ? list->rows[row].company : list->rows[row].acref;
    snprintf(info->item.pszText, (size_t)info->item.cchTextMax, "%s", text);
}

// The list being searched: the find callback takes only a row.
static const QlPickList *sFinding;

static const char *FindAcRef(int row)
{
    return row >= 0 && row < sFinding->count ? sFinding->rows[row].acref : NULL;
}

int QlPickListNotify(const QlPickList *list, HWND dialog, const NMHDR *header)
{
    if (header->code == LVN_GETDISPINFOA) {
        QlPickListCell(list, (NMLVDISPINFOA *)header);
        return 1;
    }
    if (header->code == LVN_ODFINDITEMA || header->code == LVN_ODFINDITEMW) {
        sFinding = list;
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, QlListOwnerDataFind(header, list->count, FindAcRef));
        sFinding = NULL;
        return 1;
    }
    return 0;
}
