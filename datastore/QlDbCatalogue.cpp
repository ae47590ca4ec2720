// The products, services and orders tables.

#include "datastore/QlDbTables.h"

#include "core/QlPlatform.h"
#include "ui/QlUtil.h"

#define QL_QUOTE(rec, q, f, err) QlDbQuoteField((rec)->f, sizeof (rec)->f, q.f, sizeof q.f, err)

// ---------------------------------------------------------------------------
// Products

struct QlProdTexts {
    char scode[10];
    char barcode[62];
    char supplier_code[40];
    char name[162];
};

static int QuoteProd(const QlProdRec *rec, QlProdTexts &q, char *err)
{
    return QL_QUOTE(rec, q, scode, err) && QL_QUOTE(rec, q, barcode, err) && QL_QUOTE(rec, q, supplier_code, err) &&
           QL_QUOTE(rec, q, name, err);
}

static int __cdecl QlProdRowCb(void *arg, int columnCount, char **values, char **names)
{
    QlProdRec rec = {};
    if (QlProdParseRow(columnCount, values, names, &rec)) (*(const QlProdRowFn *)arg)(&rec);
    return 0;
}

struct QlProdGet {
    QlProdRec rec;
    int found;
};

static int __cdecl QlProdGetRowCb(void *arg, int columnCount, char **values, char **names)
{
    QlProdGet *get = (QlProdGet *)arg;
    if (QlProdParseRow(columnCount, values, names, &get->rec)) get->found = 1;
    return 0;
}

// Runs a single-row query: 1 with the record, 0 when no row parsed (err
// untouched), -1 when the statement failed (err set).
static int ProdGet(const char *sql, QlProdRec *out, char *err)
{
    QlProdGet get = {};
    if (!QlDbExecRows(sql, QlProdGetRowCb, &get, err)) return -1;
    if (get.found) *out = get.rec;
    return get.found;
}

int QlProdAddRec(QlProdRec *rec, char *err)
{
    QlProdTexts q;
    char sql[QL_DB_SQL_WRITE];
    if (!QuoteProd(rec, q, err) ||
        !QlDbFormatSql(sql, sizeof sql, err,
                       "insert into products (iKey,enabled,scode,barcode,supplier_code,name,unit_price,"
                       "purchase_price,stock_qty) values (NULL,'yes','%s','%s','%s','%s','%d.%02d','%d.%02d','%d');",
                       q.scode, q.barcode, q.supplier_code, q.name, rec->unit_price_units,
                       (int)rec->unit_price_hundredths, rec->purchase_price_units, (int)rec->purchase_price_hundredths,
                       rec->stock_qty) ||
        !QlDbExec(sql, err))
        return 0;
    rec->iKey = QlDbLastInsertRowId();
    return 1;
}

int QlProdUpdate(const QlProdRec *rec, char *err)
{
    QlProdTexts q;
    char sql[QL_DB_SQL_WRITE];
    if (!QuoteProd(rec, q, err) ||
        !QlDbFormatSql(sql, sizeof sql, err,
                       "update products set scode='%s',barcode='%s',supplier_code='%s',name='%s',"
                       "unit_price='%d.%02d',purchase_price='%d.%02d',stock_qty='%d' where iKey='" QL_I64 "';",
                       q.scode, q.barcode, q.supplier_code, q.name, rec->unit_price_units,
                       (int)rec->unit_price_hundredths, rec->purchase_price_units, (int)rec->purchase_price_hundredths,
                       rec->stock_qty, rec->iKey))
        return 0;
    return QlDbExec(sql, err);
}

int QlProdDisable(int64_t iKey, char *err)
{
    return QlDbDisableRow(iKey, "products", err);
}

int QlProdGetByRowId(int64_t iKey, QlProdRec *out, char *err)
{
    QlDbReadStart();
    char sql[QL_DB_SQL_QUERY];
    if (!QlDbFormatSql(sql, sizeof sql, err, "select * from products where iKey='" QL_I64 "' limit 1;", iKey))
        return 0;
    int found = ProdGet(sql, out, err);
    if (found == 0) QlDbNotFoundError(err, "item with rowid '" QL_I64 "' not found in database", iKey);
    if (found != 1) return 0;
    out->iKey = iKey;
    return 1;
}

int QlProdFind(const char *column, const char *text, QlProdRec *out, char *err)
{
    QlDbReadStart();
    char quoted[QL_DB_SQL_QUERY];
    char sql[QL_DB_SQL_QUERY];
    if (!QlSqlQuote(text, quoted, sizeof quoted)) {
        QlDbSetError(err, QL_DB_ERR_TOO_LONG);
        return 0;
    }
    if (!QlDbFormatSql(sql, sizeof sql, err, "select * from products where %s='%s' and enabled='yes' limit 1;",
                       column, quoted))
        return 0;
    int found = ProdGet(sql, out, err);
    if (found == 0) QlDbNotFoundError(err, "not found");
    return found == 1;
}

int QlProdEnumSql(QlProdRowFn rowFn, const char *sql, char *err)
{
    return QlDbExecRows(sql, QlProdRowCb, &rowFn, err);
}

int QlProdEnum(QlProdRowFn rowFn, char *err)
{
    return QlProdEnumSql(rowFn, "select * from products where enabled='yes'", err);
}

// ---------------------------------------------------------------------------
// Services

static int __cdecl QlServRowCb(void *arg, int columnCount, char **values, char **names)
{
    QlServRec rec = {};
    if (QlServParseRow(columnCount, values, names, &rec)) (*(const QlServRowFn *)arg)(&rec);
    return 0;
}

struct QlServGet {
    QlServRec rec;
    int found;
};

static int __cdecl QlServGetRowCb(void *arg, int columnCount, char **values, char **names)
{
    QlServGet *get = (QlServGet *)arg;
    if (QlServParseRow(columnCount, values, names, &get->rec)) get->found = 1;
    return 0;
}

int QlServAdd(QlServRec *rec, char *err)
{
    char descr[2 * sizeof rec->descr];
    char sql[QL_DB_SQL_WRITE];
    if (!QlDbQuoteField(rec->descr, sizeof rec->descr, descr, sizeof descr, err) ||
        !QlDbFormatSql(sql, sizeof sql, err,
                       "insert into services (iKey,enabled,descr,price) values (NULL,'yes','%s','%d.%02d');", descr,
                       rec->price_units, (int)rec->price_hundredths) ||
        !QlDbExec(sql, err))
        return 0;
    rec->iKey = QlDbLastInsertRowId();
    return 1;
}

int QlServUpdate(const QlServRec *rec, char *err)
{
    char descr[2 * sizeof rec->descr];
    char sql[QL_DB_SQL_WRITE];
    if (!QlDbQuoteField(rec->descr, sizeof rec->descr, descr, sizeof descr, err) ||
        !QlDbFormatSql(sql, sizeof sql, err, "update services set descr='%s',price='%d.%02d' where iKey='" QL_I64 "';",
                       descr, rec->price_units, (int)rec->price_hundredths, rec->iKey))
        return 0;
    return QlDbExec(sql, err);
}

int QlServGetByRowId(int64_t iKey, QlServRec *out, char *err)
{
    QlDbReadStart();
    char sql[QL_DB_SQL_QUERY];
    if (!QlDbFormatSql(sql, sizeof sql, err, "select * from services where iKey='" QL_I64 "' limit 1;", iKey))
        return 0;
    QlServGet get = {};
    if (!QlDbExecRows(sql, QlServGetRowCb, &get, err)) return 0;
    if (!get.found) {
        QlDbNotFoundError(err, "item with rowid '" QL_I64 "' not found in database", iKey);
        return 0;
    }
    *out = get.rec;
    out->iKey = iKey;
    return 1;
}

int QlServEnumSql(QlServRowFn rowFn, const char *sql, char *err)
{
    return QlDbExecRows(sql, QlServRowCb, &rowFn, err);
}

int QlServEnum(QlServRowFn rowFn, char *err)
{
    return QlServEnumSql(rowFn, "select * from services where enabled='yes'", err);
}

// ---------------------------------------------------------------------------
// Purchase-order lines

struct QlOrderTexts {
    char scode[10];
    char supplier_code[40];
    char description[162];
    char uprice[26];
    char total[26];
};

static int __cdecl QlOrderRowCb(void *arg, int columnCount, char **values, char **names)
{
    QlOrderRec rec = {};
    if (QlOrderParseRow(columnCount, values, names, &rec)) (*(const QlOrderRowFn *)arg)(&rec);
    return 0;
}

struct QlOrderGet {
    QlOrderRec rec;
    int found;
};

static int __cdecl QlOrderGetRowCb(void *arg, int columnCount, char **values, char **names)
{
    QlOrderGet *get = (QlOrderGet *)arg;
    QlOrderParseRow(columnCount, values, names, &get->rec);   // found even when a text did not fit
    get->found = 1;
    return 0;
}

int QlOrderAdd(QlOrderRec *rec, char *err)
{
    QlOrderTexts q;
    char sql[QL_DB_SQL_WRITE];
    if (!QL_QUOTE(rec, q, scode, err) || !QL_QUOTE(rec, q, supplier_code, err) ||
        !QL_QUOTE(rec, q, description, err) || !QL_QUOTE(rec, q, uprice, err) || !QL_QUOTE(rec, q, total, err) ||
        !QlDbFormatSql(sql, sizeof sql, err,
                       "insert into orders (iKey,enabled,iSupplierRowId,iProductRowId,iTxRowId,scode,"
                       "supplier_code,description,iQty,uprice,total) values (NULL,'yes','" QL_I64 "','" QL_I64
                       "','" QL_I64 "','%s','%s','%s','" QL_I64 "','%s','%s');",
                       rec->iSupplierRowId, rec->iProductRowId, rec->iTxRowId, q.scode, q.supplier_code,
                       q.description, rec->iQty, q.uprice, q.total) ||
        !QlDbExec(sql, err))
        return 0;
    rec->iKey = QlDbLastInsertRowId();
    return 1;
}

int QlOrderEnumSql(QlOrderRowFn rowFn, const char *sql, char *err)
{
    return QlDbExecRows(sql, QlOrderRowCb, &rowFn, err);
}

// The order number is written whole (the same text as "%d" for every key
// that fits 32 bits).
int QlOrderEnumByOrderNo(QlOrderRowFn rowFn, int64_t orderNo, char *err)
{
    char sql[QL_DB_SQL_QUERY];
    if (!QlDbFormatSql(sql, sizeof sql, err, "select * from orders where enabled='yes' and iTxRowId='" QL_I64 "'",
                       orderNo))
        return 0;
    return QlOrderEnumSql(rowFn, sql, err);
}

int QlOrderGetByOrderNo(int orderNo, QlOrderRec *out, char *err)
{
    QlDbReadStart();
    char sql[QL_DB_SQL_QUERY];
    if (!QlDbFormatSql(sql, sizeof sql, err, "select * from orders where iTxRowId='%d' limit 1;", orderNo))
        return 0;
    QlOrderGet get = {};
    if (!QlDbExecRows(sql, QlOrderGetRowCb, &get, err)) return 0;
    if (!get.found) {
        QlDbNotFoundError(err, "item with order no '%d' not found in database", orderNo);
        return 0;
    }
    *out = get.rec;
    return 1;
}

int QlOrderDeleteAll(char *err)
{
    return QlDbExec("delete from orders;", err);
}
