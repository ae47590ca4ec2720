// The enabled products and services as the line dialogs list them, read
// once and kept while the company's data stays as it was: any change written
// on the program's connection, a change another program committed to the
// file, or another open of a company database reads them again.
#pragma once

#include "datastore/QlDbRecords.h"

// The enabled products in the order the database gives them (their keys);
// 1 with the rows (valid until the next call), 0 with err set and none.
int QlCatalogueProducts(const QlProdRec **rows, int *count, char *err);
// The enabled services in the order of their keys, which the caller may
// reorder (QlServSortRecords); 1 with the rows (valid until the next call),
// 0 with err set and none.
int QlCatalogueServices(QlServRec **rows, int *count, char *err);
// Lets both go: the next call reads them again.
void QlCatalogueForget(void);
