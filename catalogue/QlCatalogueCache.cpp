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

// The products: their numbers, and their texts one after another.  Both
// keep their room from one read to the next (a read after a posting, whose
// stock changed, writes into memory already in use), and the room for a
// read is taken at once, as much as its products can need: room that no
// product fills is never written, and so costs no memory.
struct ProdCache {
    QlCatalogueProduct *rows;
    char *texts;
    int count, capacity, failed;
    size_t textLength, textCapacity;
    int valid;
    Stamp stamp;
};
static ProdCache sProducts;

// The most one product's texts take: its code, supplier code and details,
// each with its zero.
#define PROD_TEXTS_MOST (sizeof QlProdRec::scode + sizeof QlProdRec::supplier_code + sizeof QlProdRec::name)

struct ServCache {
    QlServRec *rows;
    int count;
    int valid;
    Stamp stamp;
};
static ServCache sServices;

// Room for at least rows products and their texts; 0 when there is none.
static int ProductRoom(int64_t rows)
{
    if (rows > sProducts.capacity) {
        QlCatalogueProduct *grown = (QlCatalogueProduct *)realloc(sProducts.rows, (size_t)rows * sizeof *grown);
        if (!grown) return 0;
        sProducts.rows = grown;
        sProducts.capacity = (int)rows;
    }
    size_t texts = (size_t)rows * PROD_TEXTS_MOST;
    if (texts > sProducts.textCapacity) {
        char *grown = (char *)realloc(sProducts.texts, texts);
        if (!grown) return 0;
        sProducts.texts = grown;
        sProducts.textCapacity = texts;
    }
    return 1;
}

static uint32_t KeepText(const char *text)
{
    size_t length = strlen(text) + 1;
    uint32_t place = (uint32_t)sProducts.textLength;
    memcpy(sProducts.texts + place, text, length);
    sProducts.textLength += length;
    return place;
}

static int KeepProductCb(const QlProdRec *rec)
{
    if (sProducts.failed) return 0;
    if (sProducts.count == sProducts.capacity &&
        !ProductRoom(sProducts.capacity ? (int64_t)sProducts.capacity * 2 : 256)) {
        sProducts.failed = 1;
        return 0;
    }
    QlCatalogueProduct *row = &sProducts.rows[sProducts.count++];
    row->iKey = rec->iKey;
    row->unitUnits = rec->unit_price_units;
    row->unitHundredths = rec->unit_price_hundredths;
    row->costUnits = rec->purchase_price_units;
    row->costHundredths = rec->purchase_price_hundredths;
    row->stock = rec->stock_qty;
    row->scode = KeepText(rec->scode);
    row->supplierCode = KeepText(rec->supplier_code);
    row->name = KeepText(rec->name);
    return 0;
}

// Room for every product of the next read at once: their keys are row ids,
// so the largest one bounds their number.  Without a bound, or with one far
// off, the room grows as the rows come.
static void ReserveProducts(void)
{
    QlDbQuery query;
    char err[QL_DB_ERR_SIZE];
    if (!QlDbQueryOpen("select max(iKey) from products;", &query, err)) return;
    int64_t most = QlDbQueryNext(&query, err) == 1 ? QlDbQueryInt64(&query, 0) : 0;
    QlDbQueryClose(&query);
    if (most > 0 && most <= 4000000) ProductRoom(most);
}

// The enabled products as QlProdEnum gives them, read row by row (the fast
// way to read many): the record's columns in their order, parsed by the row
// parser.
static int ReadProducts(char *err)
{
    sProducts.count = 0;
    sProducts.textLength = 0;
    sProducts.failed = 0;
    ReserveProducts();
    QlDbQuery query;
    if (!QlDbQueryOpen("select " QL_PROD_READ_COLUMNS " from products where enabled='yes'", &query, err)) return 0;
    int step;
    while ((step = QlDbQueryNext(&query, err)) == 1) {
        // The key is the row id, an integer: read as one, not as a text.
        char *values[8];
        values[0] = NULL;
        for (int c = 1; c < 8; c++) values[c] = (char *)QlDbQueryText(&query, c);
        QlProdRec rec;
        memset(&rec, 0, sizeof rec);
        if (!QlProdParseValues(8, values, &rec)) continue;
        rec.iKey = QlDbQueryInt64(&query, 0);
        KeepProductCb(&rec);
    }
    QlDbQueryClose(&query);
    return step == 0;
}

static void ForgetProducts(void)
{
    free(sProducts.rows);
    free(sProducts.texts);
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

int QlCatalogueProducts(QlCatalogueProductList *list, char *err)
{
    memset(list, 0, sizeof *list);
    Stamp now;
    int stamped = ReadStamp(&now);
    if (!(stamped && sProducts.valid && SameStamp(&now, &sProducts.stamp))) {
        sProducts.valid = 0;
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
    list->rows = sProducts.rows;
    list->texts = sProducts.texts;
    list->count = sProducts.count;
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
