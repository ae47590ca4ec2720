#include "QlFormCopy.h"

#include "QlListView.h"
#include "QlMoneyControls.h"
#include "core/QlPlatform.h"

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
            QlListGetCell(list, r, c, formCopy->cells[r][c], QL_FORM_COPY_CELL_CHARS);
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
    QlUiSetMoneySplit(form, controls->unitsId, controls->hundredthsId, cents / 100, (int)(cents % 100));

    HWND list = GetDlgItem(form, controls->listId);
    if (list) {
        int rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
        if (rows > formCopy->rowCount) rows = formCopy->rowCount;
        int columns = ColumnCount(list);
        for (int r = 0; r < rows; r++) {
            for (int c = 0; c < columns; c++) {
                QlListSetCell(list, r, c, formCopy->cells[r][c]);
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
