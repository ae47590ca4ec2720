// The trans, invoices (document lines) and payments tables, and the
// transaction counter.

#include "datastore/QlDbTables.h"

#include "core/QlMoney.h"
#include "core/QlPlatform.h"

#include <strings.h>

#define QL_QUOTE(rec, q, f, err) QlDbQuoteField((rec)->f, sizeof (rec)->f, q.f, sizeof q.f, err)

// ---------------------------------------------------------------------------
// Transactions

struct QlTransTexts {
    char desc[160];
    char acref[12];
    char date[64];
    char carriage[26];
    char gross[26];
    char gross_bal[26];
    char vat[26];
    char order_number[22];
    char carriage_vat[26];
};

static int __cdecl QlTransRowCb(void *arg, int columnCount, char **values, char **names)
{
    QlTransRec rec = {};
    if (QlTransParseRow(columnCount, values, names, &rec)) (*(const QlTransRowFn *)arg)(&rec);
    return 0;
}

struct QlTransGet {
    QlTransRec rec;
    int found;
};

static int __cdecl QlTransGetRowCb(void *arg, int columnCount, char **values, char **names)
{
    QlTransGet *get = (QlTransGet *)arg;
    if (QlTransParseRow(columnCount, values, names, &get->rec)) get->found = 1;
    return 0;
}

int QlTransAdd(QlTransRec *rec, char *err)
{
    QlTransTexts q;
    if (!QL_QUOTE(rec, q, desc, err) || !QL_QUOTE(rec, q, acref, err) || !QL_QUOTE(rec, q, date, err) ||
        !QL_QUOTE(rec, q, carriage, err) || !QL_QUOTE(rec, q, gross, err) || !QL_QUOTE(rec, q, gross_bal, err) ||
        !QL_QUOTE(rec, q, vat, err) || !QL_QUOTE(rec, q, order_number, err) || !QL_QUOTE(rec, q, carriage_vat, err))
        return 0;

    // A key of 0 lets SQLite choose the next one.
    char key[32] = "NULL";
    if (rec->iKey != 0) snprintf(key, sizeof key, "'" QL_I64 "'", rec->iKey);
    char grossCents[24];
    char balCents[24];
    QlMoneyToCentsText(rec->gross, grossCents);
    QlMoneyToCentsText(rec->gross_bal, balCents);

    // The row and its count are one change: a savepoint (inside a caller's
    // transaction, or a transaction of its own) keeps either both or none.
    char sql[QL_DB_SQL_WRITE];
    char undoErr[QL_DB_ERR_SIZE];
    if (!QlDbFormatSql(sql, sizeof sql, err,
                       "insert into trans (iKey,enabled,desc,type,sub_type,doc_rowid,cust_rowid,supp_rowid,acref,"
                       "date,num_sub_items,carriage,gross,gross_bal,vat,order_number,carriage_vat,gross_cents,"
                       "gross_bal_cents) values (%s,'yes','%s','%u','%u','" QL_I64 "','" QL_I64 "','" QL_I64
                       "','%s','%s','%u','%s','%s','%s','%s','%s','%s','%s','%s');",
                       key, q.desc, rec->type, rec->sub_type, rec->doc_rowid, rec->cust_rowid, rec->supp_rowid,
                       q.acref, q.date, rec->num_sub_items, q.carriage, q.gross, q.gross_bal, q.vat, q.order_number,
                       q.carriage_vat, grossCents, balCents) ||
        !QlDbExec("savepoint ql_trans_add;", err))
        return 0;
    if (!QlDbExec(sql, err)) {
        QlDbExec("rollback to ql_trans_add; release ql_trans_add;", undoErr);
        return 0;
    }
    int64_t newKey = QlDbLastInsertRowId();
    if (!QlDbExec("update transcount set count = count + 1;", err) || !QlDbExec("release ql_trans_add;", err)) {
        QlDbExec("rollback to ql_trans_add; release ql_trans_add;", undoErr);
        return 0;
    }
    rec->iKey = newKey;
    return 1;
}

int QlTransGetByRowId(int64_t iKey, QlTransRec *out, char *err)
{
    QlDbReadStart();
    char sql[QL_DB_SQL_QUERY];
    if (!QlDbFormatSql(sql, sizeof sql, err, "select * from trans where iKey='" QL_I64 "' limit 1;", iKey))
        return 0;
    QlTransGet get = {};
    if (!QlDbExecRows(sql, QlTransGetRowCb, &get, err)) return 0;
    if (!get.found) {
        QlDbNotFoundError(err, "item with rowid '" QL_I64 "' not found in database", iKey);
        return 0;
    }
    *out = get.rec;
    out->iKey = iKey;
    return 1;
}

int QlTransEnumSql(QlTransRowFn rowFn, const char *sql, char *err)
{
    return QlDbExecRows(sql, QlTransRowCb, &rowFn, err);
}

int QlTransEnum(QlTransRowFn rowFn, char *err)
{
    return QlTransEnumSql(rowFn, "select * from trans where enabled='yes'", err);
}

int QlTransEnumByCust(QlTransRowFn rowFn, int64_t custKey, char *err)
{
    char sql[QL_DB_SQL_QUERY];
    if (!QlDbFormatSql(sql, sizeof sql, err, "select * from trans where enabled='yes' and cust_rowid='" QL_I64 "'",
                       custKey))
        return 0;
    return QlTransEnumSql(rowFn, sql, err);
}

int QlTransEnumByCustType(QlTransRowFn rowFn, int64_t custKey, int type, char *err)
{
    char sql[QL_DB_SQL_QUERY];
    if (!QlDbFormatSql(sql, sizeof sql, err,
                       "select * from trans where enabled='yes' and cust_rowid='" QL_I64 "' and type='%d'", custKey,
                       type))
        return 0;
    return QlTransEnumSql(rowFn, sql, err);
}

int QlTransEnumByCustTypes(QlTransRowFn rowFn, int64_t custKey, int type1, int type2, char *err)
{
    char sql[QL_DB_SQL_QUERY];
    if (!QlDbFormatSql(sql, sizeof sql, err,
                       "select * from trans where enabled='yes' and cust_rowid='" QL_I64
                       "' and (type='%d' or type='%d')",
                       custKey, type1, type2))
        return 0;
    return QlTransEnumSql(rowFn, sql, err);
}

// ---------------------------------------------------------------------------
// Document lines

struct QlItemTexts {
    char descr[160];
    char vatr_str[12];
    char subtotal[26];
    char net[26];
    char vat[26];
    char disca[26];
    char discr[12];
    char qty[20];
    char scode[10];
};

static int __cdecl QlItemRowCb(void *arg, int columnCount, char **values, char **names)
{
    QlItemRec rec = {};
    if (QlItemParseRow(columnCount, values, names, &rec)) (*(const QlItemRowFn *)arg)(&rec);
    return 0;
}

struct QlItemGet {
    QlItemRec rec;
    int found;
};

static int __cdecl QlItemGetRowCb(void *arg, int columnCount, char **values, char **names)
{
    QlItemGet *get = (QlItemGet *)arg;
    if (QlItemParseRow(columnCount, values, names, &get->rec)) get->found = 1;
    return 0;
}

// Runs a single-row query: 1 with the record, 0 when no row parsed (err
// untouched), -1 when the statement failed (err set).
static int ItemGet(const char *sql, QlItemRec *out, char *err)
{
    QlItemGet get = {};
    if (!QlDbExecRows(sql, QlItemGetRowCb, &get, err)) return -1;
    if (get.found) *out = get.rec;
    return get.found;
}

int QlItemAdd(QlItemRec *rec, char *err)
{
    QlItemTexts q;
    char sql[QL_DB_SQL_WRITE];
    if (!QL_QUOTE(rec, q, descr, err) || !QL_QUOTE(rec, q, vatr_str, err) || !QL_QUOTE(rec, q, subtotal, err) ||
        !QL_QUOTE(rec, q, net, err) || !QL_QUOTE(rec, q, vat, err) || !QL_QUOTE(rec, q, disca, err) ||
        !QL_QUOTE(rec, q, discr, err) || !QL_QUOTE(rec, q, qty, err) || !QL_QUOTE(rec, q, scode, err) ||
        !QlDbFormatSql(sql, sizeof sql, err,
                       "insert into invoices (iKey,enabled,descr,tx_rowid,vatr_str,subtotal,net,vat,disca,discr,"
                       "sub_type,qty,prod_rowid,scode) values (NULL,'yes','%s','" QL_I64
                       "','%s','%s','%s','%s','%s','%s','%u','%s','" QL_I64 "','%s');",
                       q.descr, rec->tx_rowid, q.vatr_str, q.subtotal, q.net, q.vat, q.disca, q.discr,
                       (unsigned)rec->sub_type, q.qty, rec->prod_rowid, q.scode) ||
        !QlDbExec(sql, err))
        return 0;
    rec->iKey = QlDbLastInsertRowId();
    return 1;
}

int QlItemGetByRowId(int64_t iKey, QlItemRec *out, char *err)
{
    QlDbReadStart();
    char sql[QL_DB_SQL_QUERY];
    if (!QlDbFormatSql(sql, sizeof sql, err, "select * from invoices where iKey='" QL_I64 "' limit 1;", iKey))
        return 0;
    int found = ItemGet(sql, out, err);
    if (found == 0) QlDbNotFoundError(err, "item with rowid '" QL_I64 "' not found in database", iKey);
    if (found != 1) return 0;
    out->iKey = iKey;
    return 1;
}

int QlItemFind(const char *column, int64_t value, QlItemRec *out, char *err)
{
    QlDbReadStart();
    char sql[QL_DB_SQL_QUERY];
    if (!QlDbFormatSql(sql, sizeof sql, err, "select * from invoices where enabled='yes' and %s='" QL_I64 "' limit 1;",
                       column, value))
        return 0;
    int found = ItemGet(sql, out, err);
    if (found == 0) QlDbNotFoundError(err, NULL);
    return found == 1;
}

int QlItemEnumSql(QlItemRowFn rowFn, const char *sql, char *err)
{
    return QlDbExecRows(sql, QlItemRowCb, &rowFn, err);
}

int QlItemEnumByTrans(QlItemRowFn rowFn, int64_t transKey, char *err)
{
    char sql[QL_DB_SQL_QUERY];
    if (!QlDbFormatSql(sql, sizeof sql, err, "select * from invoices where enabled='yes' and tx_rowid='" QL_I64 "' order by iKey",
                       transKey))
        return 0;
    return QlItemEnumSql(rowFn, sql, err);
}

// ---------------------------------------------------------------------------
// Payments

static int __cdecl QlPayRowCb(void *arg, int columnCount, char **values, char **names)
{
    QlPayRec rec = {};
    if (QlPayParseRow(columnCount, values, names, &rec)) (*(const QlPayRowFn *)arg)(&rec);
    return 0;
}

int QlPayAdd(QlPayRec *rec, char *err)
{
    char paid[2 * sizeof rec->paid];
    char sql[QL_DB_SQL_WRITE];
    if (!QlDbQuoteField(rec->paid, sizeof rec->paid, paid, sizeof paid, err) ||
        !QlDbFormatSql(sql, sizeof sql, err,
                       "insert into payments (iKey,enabled,tx_rowid,iv_rowid,paid) values (NULL,'yes','" QL_I64
                       "','" QL_I64 "','%s');",
                       rec->tx_rowid, rec->iv_rowid, paid) ||
        !QlDbExec(sql, err))
        return 0;
    rec->iKey = QlDbLastInsertRowId();
    return 1;
}

int QlPayEnumByTrans(QlPayRowFn rowFn, int64_t payKey, char *err)
{
    char sql[QL_DB_SQL_QUERY];
    if (!QlDbFormatSql(sql, sizeof sql, err, "select * from payments where enabled='yes' and tx_rowid='" QL_I64 "'",
                       payKey))
        return 0;
    return QlDbExecRows(sql, QlPayRowCb, &rowFn, err);
}

int QlPayEnumByItem(QlPayRowFn rowFn, int64_t docKey, char *err)
{
    char sql[QL_DB_SQL_QUERY];
    if (!QlDbFormatSql(sql, sizeof sql, err,
                       "select * from payments where enabled='yes' and iv_rowid='" QL_I64 "' limit 1", docKey))
        return 0;
    return QlDbExecRows(sql, QlPayRowCb, &rowFn, err);
}

// ---------------------------------------------------------------------------
// The transaction counter and clearing

// Reads the "count" column into the int64 its argument points to; a row
// without one stops the walk, which fails the statement.
static int __cdecl QlTransCountRowCb(void *arg, int columnCount, char **values, char **names)
{
    for (int c = 0; c < columnCount; c++) {
        if (names[c] && strcasecmp(names[c], "count") == 0) {
            *(int64_t *)arg = QlAtoI64(values[c]);
            return 0;
        }
    }
    return 1;
}

int QlTransGetCount(int64_t *out)
{
    char err[QL_DB_ERR_SIZE];
    int64_t count = 0;   // stays 0 when the counter row is missing
    int ok = QlDbExecRows("select * from transcount where iKey='1' limit 1;", QlTransCountRowCb, &count, err);
    *out = ok ? count : 0;
    return ok;
}

int QlTransUpdateCount(int64_t value)
{
    char err[QL_DB_ERR_SIZE];
    char sql[QL_DB_SQL_SMALL];
    return QlDbFormatSql(sql, sizeof sql, err, "update transcount set count='" QL_I64 "';", value) &&
           QlDbExec(sql, err);
}

int QlTransCountIncrement(void)
{
    char err[QL_DB_ERR_SIZE];
    return QlDbExec("update transcount set count = count + 1;", err);
}

int QlTransCountDecrement(void)
{
    char err[QL_DB_ERR_SIZE];
    return QlDbExec("update transcount set count = count - 1;", err);
}

// Reads the first column of the row as an int64.
static int __cdecl QlTransLastRowCb(void *arg, int columnCount, char **values, char **names)
{
    if (columnCount > 0) *(int64_t *)arg = QlAtoI64(values[0]);
    return 0;
}

int QlTransGetLastRowId(int64_t *out)
{
    char err[QL_DB_ERR_SIZE];
    int64_t last = 0;
    int ok = QlDbExecRows("select * from trans order by rowid desc limit 1;", QlTransLastRowCb, &last, err);
    *out = ok ? last : 0;
    return ok;
}

int QlTransClearAll(char *err)
{
    static const char *const kClear[] = {
        "delete from orders;",
        "delete from trans;",
        "delete from invoices;",
        "delete from payments;",
    };
    for (size_t i = 0; i < ARRAYSIZE(kClear); i++)
        if (!QlDbExec(kClear[i], err)) return 0;
    if (!QlTransUpdateCount(0)) {
        QlDbSetError(err, "QlTransUpdateCount failed");
        return 0;
    }
    return 1;
}
