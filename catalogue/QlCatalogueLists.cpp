#include "catalogue/QlCatalogueLists.h"

#include "catalogue/QlCatalogueCache.h"

#include "ui/QlListView.h"
#include "core/QlPlatform.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlReadError.h"
#include "resources/QlResTrans.h"

#include <ctype.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
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
    item.iItem = INT_MAX;   // after the last row, however many there are
    item.pszText = text;
    item.lParam = 1;
    int row = (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    if (row < 0) return row;
    QlListSetCell(list, row, 1, rec->descr);
    snprintf(text, sizeof text, "%d.%02d", rec->price_units, (int)rec->price_hundredths);
    QlListSetCell(list, row, 2, text);
    return row;
}

static int sServOrder;

static int CompareServices(const void *left, const void *right)
{
    const QlServRec *a = (const QlServRec *)left, *b = (const QlServRec *)right;
    int order = 0;
    if (sServOrder == 1) {
        order = strcmp(a->descr, b->descr);
    } else if (sServOrder == 2) {
        int64_t x = (int64_t)a->price_units * 100 + (int32_t)a->price_hundredths;
        int64_t y = (int64_t)b->price_units * 100 + (int32_t)b->price_hundredths;
        order = (x > y) - (x < y);
    }
    return order ? order : (a->iKey > b->iKey) - (a->iKey < b->iKey);
}

void QlServSortRecords(QlServRec *records, int count, int order)
{
    sServOrder = order;
    if (count > 1) qsort(records, (size_t)count, sizeof *records, CompareServices);
}

// The services read for an ordered load.
struct ServRead {
    QlServRec *records;
    int count, capacity, failed;
};
static ServRead sServRead;

static int ReadServiceCb(const QlServRec *rec)
{
    if (sServRead.failed) return 0;
    if (sServRead.count == sServRead.capacity) {
        int capacity = sServRead.capacity ? sServRead.capacity * 2 : 64;
        QlServRec *grown = (QlServRec *)realloc(sServRead.records, (size_t)capacity * sizeof *grown);
        if (!grown) {
            sServRead.failed = 1;
            return 0;
        }
        sServRead.records = grown;
        sServRead.capacity = capacity;
    }
    sServRead.records[sServRead.count++] = *rec;
    return 0;
}

int QlServReadAll(QlServRec **records, int *count, char *err)
{
    memset(&sServRead, 0, sizeof sServRead);
    int ok = QlServEnumSql(ReadServiceCb, "select * from services where enabled='yes' order by iKey", err);
    if (sServRead.failed) {
        QlDbSetError(err, "Out of memory");
        ok = 0;
    }
    if (!ok) {
        free(sServRead.records);
        sServRead.records = NULL;
        sServRead.count = 0;
    }
    *records = sServRead.records;
    *count = sServRead.count;
    memset(&sServRead, 0, sizeof sServRead);
    return ok;
}

int QlServListLoad(int order, HWND list, QlServRowFn rowFn)
{
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    QlServRec *records;
    int count;
    char err[QL_DB_ERR_SIZE];
    if (!QlServReadAll(&records, &count, err)) {
        QlShowReadError(GetParent(list), err);
        return 0;
    }
    QlServSortRecords(records, count, order);
    for (int i = 0; i < count; i++) rowFn(&records[i]);
    free(records);
    return 1;
}

// ---------------------------------------------------------------------------
// Product lists

int QlProdListAddRow(HWND list, const QlProdRec *rec)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = INT_MAX;   // after the last row, however many there are
    item.pszText = (char *)rec->scode;
    item.lParam = QlProdCodeParam(rec->scode);
    int row = (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    if (row < 0) return row;
    char text[40];
    QlListSetCell(list, row, 1, rec->supplier_code);
    QlListSetCell(list, row, 2, rec->name);
    snprintf(text, sizeof text, "%d.%02d", rec->purchase_price_units, (int)rec->purchase_price_hundredths);
    QlListSetCell(list, row, 3, text);
    snprintf(text, sizeof text, "%d.%02d", rec->unit_price_units, (int)rec->unit_price_hundredths);
    QlListSetCell(list, row, 4, text);
    snprintf(text, sizeof text, "%d", rec->stock_qty);
    QlListSetCell(list, row, 5, text);
    snprintf(text, sizeof text, QL_I64, rec->iKey);
    QlListSetCell(list, row, 6, text);
    QlListSetCell(list, row, 7, rec->barcode);
    return row;
}

int QlProdListFill(HWND list, QlProdRowFn rowFn)
{
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    char err[QL_DB_ERR_SIZE];
    int ok = QlProdEnum(rowFn, err);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
    if (ok && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0) QlListShowRow(list, 0);
    if (!ok) QlShowReadError(GetParent(list), err);
    return ok;
}

// ---------------------------------------------------------------------------
// Product list sorting
//
// A sort compares the stored products of the rows, found by their short
// codes (the item data) in an index made once per sort: from the records a
// window keeps, or from one read of the enabled products.

int QlProdSortFlags[QL_PROD_SORT_COLUMNS];

LPARAM QlProdCodeParam(const char *scode)
{
    int32_t packed = 0;
    memcpy(&packed, scode, strnlen(scode, 4));
    return (LPARAM)packed;
}

struct ProdIndexEntry {
    int32_t code;          // the short code packed as item data
    int order;             // the record's place in its source: the first one wins
    const QlProdRec *rec;
};

static ProdIndexEntry *sIndex;
static int sIndexCount;

static int CompareEntries(const void *a, const void *b)
{
    const ProdIndexEntry *x = (const ProdIndexEntry *)a, *y = (const ProdIndexEntry *)b;
    if (x->code != y->code) return x->code < y->code ? -1 : 1;
    return x->order < y->order ? -1 : x->order > y->order;
}

// The first record of the code, NULL when none.
static const QlProdRec *IndexFind(LPARAM data)
{
    int32_t code = (int32_t)data;
    int low = 0, high = sIndexCount;
    while (low < high) {
        int mid = low + (high - low) / 2;
        if (sIndex[mid].code < code)
            low = mid + 1;
        else
            high = mid;
    }
    return low < sIndexCount && sIndex[low].code == code ? sIndex[low].rec : NULL;
}

static int CompareNumbers(int64_t a, int64_t b)
{
    return a > b ? 1 : a < b ? -1 : 0;
}

static int64_t Cents(int32_t units, uint32_t hundredths)
{
    return (int64_t)units * 100 + (int32_t)hundredths;
}

int CALLBACK QlProdCompareCb(LPARAM data1, LPARAM data2, LPARAM column)
{
    const QlProdRec *a = IndexFind(data1), *b = IndexFind(data2);
    if (!a || !b) return 0;
    return QlProdCompare(a, b, (int)column);
}

// A comparison's result as -1, 0 or 1, turned round while the column's
// direction is descending.
static int Directed(int result, int column)
{
    if (result != 0) result = result > 0 ? 1 : -1;
    if (column >= 0 && column < QL_PROD_SORT_COLUMNS && QlProdSortFlags[column] == 0) result = -result;
    return result;
}

int QlProdCompare(const QlProdRec *a, const QlProdRec *b, int column)
{
    int result = 0;
    switch (column) {
    case 0: result = strcmp(a->scode, b->scode); break;
    case 1: result = strcmp(a->supplier_code, b->supplier_code); break;
    case 2: result = strcmp(a->name, b->name); break;
    case 3:
        result = CompareNumbers(Cents(a->purchase_price_units, a->purchase_price_hundredths),
                                Cents(b->purchase_price_units, b->purchase_price_hundredths));
        break;
    case 4:
        result = CompareNumbers(Cents(a->unit_price_units, a->unit_price_hundredths),
                                Cents(b->unit_price_units, b->unit_price_hundredths));
        break;
    case 5: result = CompareNumbers(a->stock_qty, b->stock_qty); break;
    case 6: result = CompareNumbers(a->iKey, b->iKey); break;
    case 7: result = strcmp(a->barcode, b->barcode); break;
    }
    return Directed(result, column);
}

int QlCatalogueCompare(const QlCatalogueProductList *list, const QlCatalogueProduct *a, const QlCatalogueProduct *b,
                       int column)
{
    int result = 0;
    switch (column) {
    case 0: result = strcmp(QlCatalogueCode(list, a), QlCatalogueCode(list, b)); break;
    case 1: result = strcmp(QlCatalogueSupplierCode(list, a), QlCatalogueSupplierCode(list, b)); break;
    case 2: result = strcmp(QlCatalogueName(list, a), QlCatalogueName(list, b)); break;
    case 3: result = CompareNumbers(Cents(a->costUnits, a->costHundredths), Cents(b->costUnits, b->costHundredths)); break;
    case 4: result = CompareNumbers(Cents(a->unitUnits, a->unitHundredths), Cents(b->unitUnits, b->unitHundredths)); break;
    case 5: result = CompareNumbers(a->stock, b->stock); break;
    case 6: result = CompareNumbers(a->iKey, b->iKey); break;
    }
    return Directed(result, column);
}

// The records read for a sort of a list that keeps none.
struct ProdReadRec {
    QlProdRec *records;
    int count, capacity, failed;
};
static ProdReadRec sRead;

static int ReadRowCb(const QlProdRec *rec)
{
    if (sRead.failed) return 0;
    if (sRead.count == sRead.capacity) {
        int capacity = sRead.capacity ? sRead.capacity * 2 : 256;
        QlProdRec *grown = (QlProdRec *)realloc(sRead.records, (size_t)capacity * sizeof *grown);
        if (!grown) {
            sRead.failed = 1;
            return 0;
        }
        sRead.records = grown;
        sRead.capacity = capacity;
    }
    sRead.records[sRead.count++] = *rec;
    return 0;
}

// The index over the records (NULL: the enabled products, read once); 0
// when it could not be made.
static int BuildIndex(const QlDListRec *records)
{
    memset(&sRead, 0, sizeof sRead);
    int count = 0;
    if (records) {
        for (QlDListNodeRec *node = records->first; node; node = node->next) count++;
    } else {
        char err[QL_DB_ERR_SIZE];
        QlProdEnum(ReadRowCb, err);   // a failed read leaves the rows it gave: the others compare equal
        if (sRead.failed) {
            free(sRead.records);
            return 0;
        }
        count = sRead.count;
    }
    sIndex = (ProdIndexEntry *)malloc((size_t)(count ? count : 1) * sizeof *sIndex);
    if (!sIndex) {
        free(sRead.records);
        return 0;
    }
    sIndexCount = 0;
    if (records) {
        for (QlDListNodeRec *node = records->first; node; node = node->next) {
            if (node->length < (int)sizeof(QlProdRec)) continue;
            const QlProdRec *rec = (const QlProdRec *)node->data;
            sIndex[sIndexCount] = {(int32_t)QlProdCodeParam(rec->scode), sIndexCount, rec};
            sIndexCount++;
        }
    } else {
        for (int i = 0; i < count; i++) {
            sIndex[sIndexCount] = {(int32_t)QlProdCodeParam(sRead.records[i].scode), i, &sRead.records[i]};
            sIndexCount++;
        }
    }
    qsort(sIndex, (size_t)sIndexCount, sizeof *sIndex, CompareEntries);
    return 1;
}

static void FreeIndex(void)
{
    free(sIndex);
    free(sRead.records);
    sIndex = NULL;
    sIndexCount = 0;
    memset(&sRead, 0, sizeof sRead);
}

void QlProdSortListFrom(HWND dialog, int listId, const NMLISTVIEW *click, const QlDListRec *records)
{
    int column = click->iSubItem;
    if (column < 0 || column >= QL_PROD_SORT_COLUMNS) return;
    QlProdSortFlags[column] = QlProdSortFlags[column] == 0 ? 1 : 0;
    if (!BuildIndex(records)) return;
    SendMessageA(GetDlgItem(dialog, listId), LVM_SORTITEMS, (WPARAM)column, (LPARAM)QlProdCompareCb);
    FreeIndex();
}

void QlProdSortList(HWND dialog, int listId, const NMLISTVIEW *click)
{
    QlProdSortListFrom(dialog, listId, click, NULL);
}

// ---------------------------------------------------------------------------
// The product search of the line dialogs and the products window

static void UpperCase(char *text)
{
    for (; *text; text++) *text = (char)toupper((unsigned char)*text);
}

int QlItemFindProduct(HWND dialog, HWND list, int *row)
{
    HWND combo = GetDlgItem(dialog, IDC_ITEM_SEARCH_KIND);
    int kind = combo ? (int)SendMessageA(combo, CB_GETCURSEL, 0, 0) : CB_ERR;
    char text[128];
    QlUiGetField(dialog, IDE_ITEM_SEARCH, text);
    switch (kind) {
    case 0: {
        UpperCase(text);
        int found = QlListFindItemText(list, text);
        if (found < 0) return 0;
        *row = found;
        return 1;
    }
    case 1: UpperCase(text); return QlListFindText(list, text, QL_PROD_LIST_DETAILS, 1, row);
    case 2: return QlListFindText(list, text, QL_PROD_LIST_SUPPLIER_CODE, 0, row);
    default: return 0;
    }
}
