#include "QlFormCopy.h"

#include "QlMoney.h"
#include "QlPlatform.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static QlFormCopyRec *formCopy = NULL;

static int ColumnCount(HWND list)
{
    HWND header = (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0);
    int columns = header ? (int)SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) : 0;
    return columns < QL_FORM_COPY_CELLS ? columns : QL_FORM_COPY_CELLS;
}

int QlFormCopyFill(HWND form, const QlFormCopyControls *controls)
{
    if (!form || !controls) return 0;
    HWND list = GetDlgItem(form, controls->listId);
    int rows = list ? (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) : 0;
    if (rows < 0 || rows > QL_FORM_COPY_ROWS) return 0;
    if (!formCopy) {
        formCopy = (QlFormCopyRec *)calloc(1, sizeof *formCopy);
        if (!formCopy) return 0;
    }
    memset(formCopy, 0, sizeof *formCopy);

    GetDlgItemTextA(form, controls->firstTextId, formCopy->firstText, sizeof formCopy->firstText);
    GetDlgItemTextA(form, controls->secondTextId, formCopy->secondText, sizeof formCopy->secondText);
    formCopy->amountCents = QlUiGetCentsSplit(form, controls->unitsId, controls->hundredthsId);

    int columns = list ? ColumnCount(list) : 0;
    for (int r = 0; r < rows; r++) {
        for (int c = 0; c < columns; c++) {
            LVITEMA item;
            memset(&item, 0, sizeof item);
            item.iSubItem = c;
            item.pszText = formCopy->cells[r][c];
            item.cchTextMax = QL_FORM_COPY_CELL_CHARS;
            SendMessageA(list, LVM_GETITEMTEXTA, (WPARAM)r, (LPARAM)&item);
            formCopy->cells[r][c][QL_FORM_COPY_CELL_CHARS - 1] = '\0';
        }
    }
    formCopy->rowCount = rows;
    return 1;
}

int QlFormCopyShow(HWND form, const QlFormCopyControls *controls)
{
    if (!formCopy || !form || !controls) return 0;
    SetDlgItemTextA(form, controls->firstTextId, formCopy->firstText);
    SetDlgItemTextA(form, controls->secondTextId, formCopy->secondText);

    // The sign goes with the units only ("-12" and "34" for -12.34, "-0" and
    // "50" for -0.50), the way the amount is read back.
    int64_t cents = formCopy->amountCents;
    uint64_t magnitude = cents < 0 ? 0 - (uint64_t)cents : (uint64_t)cents;
    char units[32], hundredths[8];
    snprintf(units, sizeof units, "%s" QL_U64, cents < 0 ? "-" : "", magnitude / 100);
    snprintf(hundredths, sizeof hundredths, "%u", (unsigned)(magnitude % 100));
    SetDlgItemTextA(form, controls->unitsId, units);
    SetDlgItemTextA(form, controls->hundredthsId, hundredths);

    HWND list = GetDlgItem(form, controls->listId);
    if (list) {
        int rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
        if (rows > formCopy->rowCount) rows = formCopy->rowCount;
        int columns = ColumnCount(list);
        for (int r = 0; r < rows; r++) {
            for (int c = 0; c < columns; c++) {
                LVITEMA item;
                memset(&item, 0, sizeof item);
                item.iSubItem = c;
                item.pszText = formCopy->cells[r][c];
                SendMessageA(list, LVM_SETITEMTEXTA, (WPARAM)r, (LPARAM)&item);
            }
        }
    }
    return 1;
}

const QlFormCopyRec *QlFormCopyCurrent(void)
{
    return formCopy;
}

void QlFormCopyFree(void)
{
    free(formCopy);
    formCopy = NULL;
}
