// The enabled products and services as the line dialogs list them, read
// once and kept while the company's data stays as it was: any change written
// on the program's connection, a change another program committed to the
// file, or another open of a company database reads them again.
#pragma once

#include "datastore/QlDbRecords.h"

// One enabled product as the line dialogs keep it: the numbers of its
// record, and its texts (code, supplier code, details) in the texts of the
// list, each ended by a zero.  Its barcode is not kept: the pick lists show
// none and a scan looks it up in the database.  Kept small: a catalogue of
// 100,000 products is read at a dialog's first Add, and every byte of it is
// memory written for the first time.
struct QlCatalogueProduct {
    int64_t iKey;
    int32_t unitUnits;
    uint32_t unitHundredths;
    int32_t costUnits;
    uint32_t costHundredths;
    int32_t stock;
    uint32_t scode, supplierCode, name;   // places in the texts
};
struct QlCatalogueProductList {
    const QlCatalogueProduct *rows;
    const char *texts;
    int count;
};

// The enabled products in the order the database gives them (their keys),
// every one whose record reads whole (QlProdParseRow); 1 with the list
// (valid until the next call), 0 with err set and none.
int QlCatalogueProducts(QlCatalogueProductList *list, char *err);
// The three texts of a product.
inline const char *QlCatalogueCode(const QlCatalogueProductList *list, const QlCatalogueProduct *row)
{
    return list->texts + row->scode;
}
inline const char *QlCatalogueSupplierCode(const QlCatalogueProductList *list, const QlCatalogueProduct *row)
{
    return list->texts + row->supplierCode;
}
inline const char *QlCatalogueName(const QlCatalogueProductList *list, const QlCatalogueProduct *row)
{
    return list->texts + row->name;
}
// Two products by a column of the product lists as QlProdCompare orders
// them (its directions); the barcode column (7) holds them equal.
int QlCatalogueCompare(const QlCatalogueProductList *list, const QlCatalogueProduct *a, const QlCatalogueProduct *b,
                       int column);
// The enabled services in the order of their keys, which the caller may
// reorder (QlServSortRecords); 1 with the rows (valid until the next call),
// 0 with err set and none.
int QlCatalogueServices(QlServRec **rows, int *count, char *err);
// Lets both go: the next call reads them again.
void QlCatalogueForget(void);
