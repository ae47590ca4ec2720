#include "catalogue/QlCatalogueLists.h"

#include "common/QlListView.h"
#include "common/QlPlatform.h"
#include "datastore/QlDbTables.h"

#include <stdio.h>
#include <string.h>

// ---------------------------------------------------------------------------
// Text finder

int QlListFindText(HWND list, const char *text, int column, int mode, int *row)
{
    if (!text || !text[0] || (mode != 0 && mode != 1)) return 0;
    int count = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    size_t length = strlen(text);
    char cell[256];
    for (int i = 0; i < count; i++) {
        QlListGetCell(list, i, column, cell, sizeof cell);
        int match = mode == 0 ? strncmp(cell, text, length) == 0
                              : cell[0] && strlen(cell) >= length && strstr(cell, text) != NULL;
        if (match) {
            *row = i;
            return 1;
        }
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Services list

int QlServListAddRow(const QlServRec *rec, HWND list)
{
    char text[40];
    snprintf(text, sizeof text, QL_I64, rec->iKey);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = 65535;
    item.pszText = text;
    item.lParam = 1;
    int row = (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    if (row < 0) return row;
    QlListSetCell(list, row, 1, rec->descr);
    snprintf(text, sizeof text, "%d.%02d", rec->price_units, (int)rec->price_hundredths);
    QlListSetCell(list, row, 2, text);
    return row;
}

int QlServListLoad(int order, HWND list, QlServRowFn rowFn)
{
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    const char *column = order == 1 ? "descr" : order == 2 ? "price" : "iKey";
    char sql[QL_DB_SQL_QUERY];
    char err[QL_DB_ERR_SIZE];
    snprintf(sql, sizeof sql, "select * from services where enabled='yes' order by %s", column);
    return QlServEnumSql(rowFn, sql, err);
}

// ---------------------------------------------------------------------------
// Product list sorting

int QlProdSortFlags[QL_PROD_SORT_COLUMNS];
static int *sSortFlag = &QlProdSortFlags[0];

LPARAM QlProdCodeParam(const char *scode)
{
    int32_t packed = 0;
    memcpy(&packed, scode, strnlen(scode, 4));
    return (LPARAM)packed;
}

static int ReadProduct(LPARAM data, QlProdRec *out)
{
    int32_t packed = (int32_t)data;
    char code[5] = "";
    memcpy(code, &packed, 4);
    char err[QL_DB_ERR_SIZE];
    return QlProdFind("scode", code, out, err);
}

static int CompareNumbers(int64_t a, int64_t b)
{
    return a > b ? 1 : a < b ? -1 : 0;
}

int CALLBACK QlProdCompareCb(LPARAM data1, LPARAM data2, LPARAM column)
{
    QlProdRec a, b;
    if (!ReadProduct(data1, &a) || !ReadProduct(data2, &b)) return 0;
    int result = 0;
    switch (column) {
    case 0: result = strcmp(a.scode, b.scode); break;
    case 1: result = strcmp(a.supplier_code, b.supplier_code); break;
    case 2: result = strcmp(a.name, b.name); break;
    case 3:
        result = CompareNumbers((int64_t)a.purchase_price_units * 100 + (int32_t)a.purchase_price_hundredths,
                                (int64_t)b.purchase_price_units * 100 + (int32_t)b.purchase_price_hundredths);
        break;
    case 4:
        result = CompareNumbers((int64_t)a.unit_price_units * 100 + (int32_t)a.unit_price_hundredths,
                                (int64_t)b.unit_price_units * 100 + (int32_t)b.unit_price_hundredths);
        break;
    case 5: result = CompareNumbers(a.stock_qty, b.stock_qty); break;
    case 6: result = CompareNumbers(a.iKey, b.iKey); break;
    case 7: result = strcmp(a.barcode, b.barcode); break;
    }
    if (*sSortFlag == 0 && result != 0) result = result == 1 ? -1 : 1;
    return result;
}

void QlProdSortList(HWND dialog, int listId, const NMLISTVIEW *click)
{
    int column = click->iSubItem;
    if (column < 0 || column >= QL_PROD_SORT_COLUMNS) return;
    sSortFlag = &QlProdSortFlags[column];
    *sSortFlag = *sSortFlag == 0 ? 1 : 0;
    SendMessageA(GetDlgItem(dialog, listId), LVM_SORTITEMS, (WPARAM)column, (LPARAM)QlProdCompareCb);
}
