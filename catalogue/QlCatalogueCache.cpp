#include "catalogue/QlCatalogueCache.h"

#include "catalogue/QlCatalogueLists.h"
#include "datastore/QlDb.h"
#include "datastore/QlDbTables.h"

#include <stdlib.h>
#include <string.h>

// What the data looked like when the rows were read: the open, the changes
// made on the connection (total_changes counts every row written, rolled
// back or not) and the file's version as other connections leave it.
struct Stamp {
    int open;
    int64_t changes;
    int64_t version;
};

static int ReadStamp(Stamp *stamp)
{
    memset(stamp, 0, sizeof *stamp);
    if (!QlDbIsOpen()) return 0;
    QlDbQuery query;
    char err[QL_DB_ERR_SIZE];
    if (!QlDbQueryOpen("select total_changes(), (select data_version from pragma_data_version);", &query, err))
        return 0;
    int ok = QlDbQueryNext(&query, err) == 1;
    if (ok) {
        stamp->open = QlDbOpenCount();
        stamp->changes = QlDbQueryInt64(&query, 0);
        stamp->version = QlDbQueryInt64(&query, 1);
    }
    QlDbQueryClose(&query);
    return ok;
}

static int SameStamp(const Stamp *a, const Stamp *b)
{
    return a->open == b->open && a->changes == b->changes && a->version == b->version;
}

struct ProdCache {
    QlProdRec *rows;
    int count, capacity, failed;
    int valid;
    Stamp stamp;
};
static ProdCache sProducts;

struct ServCache {
    QlServRec *rows;
    int count;
    int valid;
    Stamp stamp;
};
static ServCache sServices;

static int KeepProductCb(const QlProdRec *rec)
{
    if (sProducts.failed) return 0;
    if (sProducts.count == sProducts.capacity) {
        int capacity = sProducts.capacity ? sProducts.capacity * 2 : 256;
        QlProdRec *grown = (QlProdRec *)realloc(sProducts.rows, (size_t)capacity * sizeof *grown);
        if (!grown) {
            sProducts.failed = 1;
            return 0;
        }
        sProducts.rows = grown;
        sProducts.capacity = capacity;
    }
    sProducts.rows[sProducts.count++] = *rec;
    return 0;
}

// The enabled products as QlProdEnum gives them, read row by row (the fast
// way to read many): the record's columns, parsed by the row parser.
static int ReadProducts(char *err)
{
    static const char *const kColumns[] = {"iKey",          "scode", "barcode",        "supplier_code",
                                           "name",          "unit_price", "purchase_price", "stock_qty"};
    const int count = (int)(sizeof kColumns / sizeof kColumns[0]);
    QlDbQuery query;
    if (!QlDbQueryOpen("select iKey,scode,barcode,supplier_code,name,unit_price,purchase_price,stock_qty from "
                       "products where enabled='yes'",
                       &query, err))
        return 0;
    int step;
    while ((step = QlDbQueryNext(&query, err)) == 1) {
        char *values[sizeof kColumns / sizeof kColumns[0]];
        for (int c = 0; c < count; c++) values[c] = (char *)QlDbQueryText(&query, c);
        QlProdRec rec = {};
        if (QlProdParseRow(count, values, (char **)kColumns, &rec)) KeepProductCb(&rec);
    }
    QlDbQueryClose(&query);
    return step == 0;
}

static void ForgetProducts(void)
{
    free(sProducts.rows);
    memset(&sProducts, 0, sizeof sProducts);
}

static void ForgetServices(void)
{
    free(sServices.rows);
    memset(&sServices, 0, sizeof sServices);
}

void QlCatalogueForget(void)
{
    ForgetProducts();
    ForgetServices();
}

int QlCatalogueProducts(const QlProdRec **rows, int *count, char *err)
{
    *rows = NULL;
    *count = 0;
    Stamp now;
    int stamped = ReadStamp(&now);
    if (!(stamped && sProducts.valid && SameStamp(&now, &sProducts.stamp))) {
        ForgetProducts();
        int ok = ReadProducts(err);
        if (ok && sProducts.failed) {
            QlDbSetError(err, "Out of memory");
            ok = 0;
        }
        if (!ok) {
            ForgetProducts();
            return 0;
        }
        // Without a stamp the rows serve this call only.
        sProducts.valid = stamped;
        sProducts.stamp = now;
    }
    *rows = sProducts.rows;
    *count = sProducts.count;
    return 1;
}

int QlCatalogueServices(QlServRec **rows, int *count, char *err)
{
    *rows = NULL;
    *count = 0;
    Stamp now;
    int stamped = ReadStamp(&now);
    if (!(stamped && sServices.valid && SameStamp(&now, &sServices.stamp))) {
        ForgetServices();
        if (!QlServReadAll(&sServices.rows, &sServices.count, err)) {
            ForgetServices();
            return 0;
        }
        sServices.valid = stamped;
        sServices.stamp = now;
    }
    *rows = sServices.rows;
    *count = sServices.count;
    return 1;
}
