// The customers and suppliers tables.

#include "datastore/QlDbTables.h"

#include "core/QlPlatform.h"
#include "ui/QlUtil.h"

// The texts of an account record, quoted for SQL literals: each slot holds
// its field's longest text with every character a quote.
struct QlAccountTexts {
    char acref[12];
    char company[80];
    char contact[80];
    char worktel[50];
    char wemail[160];
    char mobtel[50];
    char fax[50];
    char addr1[80];
    char addr2[80];
    char addr3[80];
};

#define QL_QUOTE(rec, q, f, err) QlDbQuoteField((rec)->f, sizeof (rec)->f, (q)->f, sizeof (q)->f, err)

template <class Rec> static int QuoteAccount(const Rec *rec, QlAccountTexts *q, char *err)
{
    return QL_QUOTE(rec, q, acref, err) && QL_QUOTE(rec, q, company, err) && QL_QUOTE(rec, q, contact, err) &&
           QL_QUOTE(rec, q, worktel, err) && QL_QUOTE(rec, q, wemail, err) && QL_QUOTE(rec, q, mobtel, err) &&
           QL_QUOTE(rec, q, fax, err) && QL_QUOTE(rec, q, addr1, err) && QL_QUOTE(rec, q, addr2, err) &&
           QL_QUOTE(rec, q, addr3, err);
}

// A reference a caller asks for, quoted; refused when it cannot be part of
// a single-row query.
static int QuoteLookup(const char *text, char *out, size_t outSize, char *err)
{
    if (QlSqlQuote(text, out, outSize)) return 1;
    QlDbSetError(err, QL_DB_ERR_TOO_LONG);
    return 0;
}

// ---------------------------------------------------------------------------
// Customers

static int __cdecl QlCustRowCb(void *arg, int columnCount, char **values, char **names)
{
    QlCustRec rec = {};
    QlCustParseRow(columnCount, values, names, &rec);   // delivered even when a text did not fit
    (*(const QlCustRowFn *)arg)(&rec);
    return 0;
}

struct QlCustGet {
    QlCustRec rec;
    int found;
    int partial;
};

static int __cdecl QlCustGetRowCb(void *arg, int columnCount, char **values, char **names)
{
    QlCustGet *get = (QlCustGet *)arg;
    get->partial = !QlCustParseRow(columnCount, values, names, &get->rec);
    get->found = 1;
    return 0;
}

// Runs a single-row query: 1 with the record, 0 when no row came back (err
// untouched), -1 when the statement failed (err set).
static int CustGet(const char *sql, QlCustRec *out, char *err)
{
    QlCustGet get = {};
    if (!QlDbExecRows(sql, QlCustGetRowCb, &get, err)) return -1;
    if (get.found) *out = get.rec;
    QlDbSetRowPartial(get.found && get.partial);
    return get.found;
}

int QlCustAdd(QlCustRec *rec, char *err)
{
    QlAccountTexts q;
    char sql[QL_DB_SQL_WRITE];
    if (!QuoteAccount(rec, &q, err) ||
        !QlDbFormatSql(sql, sizeof sql, err,
                       "insert into customers (iKey,enabled,acref,company,contact,worktel,mobtel,wemail,fax,"
                       "addr1,addr2,addr3,balance,apply_discount,discount,apply_tax,vat_rate_index) values "
                       "(NULL,'yes','%s','%s','%s','%s','%s','%s','%s','%s','%s','%s','" QL_I64
                       ".%02u','%d','%d','%d','%d');",
                       q.acref, q.company, q.contact, q.worktel, q.mobtel, q.wemail, q.fax, q.addr1, q.addr2,
                       q.addr3, rec->balance_units, rec->balance_hundredths, rec->apply_discount, rec->discount,
                       rec->apply_tax, rec->vat_rate_index) ||
        !QlDbExec(sql, err))
        return 0;
    rec->iKey = QlDbLastInsertRowId();
    return 1;
}

int QlCustUpdate(const QlCustRec *rec, char *err)
{
    QlAccountTexts q;
    char sql[QL_DB_SQL_WRITE];
    if (!QuoteAccount(rec, &q, err) ||
        !QlDbFormatSql(sql, sizeof sql, err,
                       "update customers set acref='%s',company='%s',contact='%s',worktel='%s',mobtel='%s',"
                       "wemail='%s',fax='%s',addr1='%s',addr2='%s',addr3='%s',balance='" QL_I64
                       ".%02u',apply_discount='%d',discount='%d',apply_tax='%d',vat_rate_index='%d' where iKey='" QL_I64
                       "';",
                       q.acref, q.company, q.contact, q.worktel, q.mobtel, q.wemail, q.fax, q.addr1, q.addr2,
                       q.addr3, rec->balance_units, rec->balance_hundredths, rec->apply_discount, rec->discount,
                       rec->apply_tax, rec->vat_rate_index, rec->iKey))
        return 0;
    return QlDbExec(sql, err);
}

int QlCustGetByRowId(int64_t iKey, QlCustRec *out, char *err)
{
    QlDbReadStart();
    char sql[QL_DB_SQL_QUERY];
    if (!QlDbFormatSql(sql, sizeof sql, err,
                       "select * from customers where enabled='yes' and iKey='" QL_I64 "' limit 1;", iKey))
        return 0;
    int found = CustGet(sql, out, err);
    if (found == 0) QlDbNotFoundError(err, "item with rowid '" QL_I64 "' not found in database", iKey);
    if (found != 1) return 0;
    out->iKey = iKey;
    return 1;
}

int QlCustGetByAcRef(const char *acref, QlCustRec *out, char *err)
{
    QlDbReadStart();
    char quoted[QL_DB_SQL_QUERY];
    char sql[QL_DB_SQL_QUERY];
    if (!QuoteLookup(acref, quoted, sizeof quoted, err) ||
        !QlDbFormatSql(sql, sizeof sql, err, "select * from customers where enabled='yes' and acref='%s' limit 1;",
                       quoted))
        return 0;
    int found = CustGet(sql, out, err);
    if (found == 0) QlDbNotFoundError(err, "item with acref '%s' not found in database", acref);
    return found == 1;
}

int QlCustEnumSql(QlCustRowFn rowFn, const char *sql, char *err)
{
    return QlDbExecRows(sql, QlCustRowCb, &rowFn, err);
}

int QlCustEnum(QlCustRowFn rowFn, char *err)
{
    return QlCustEnumSql(rowFn, "select * from customers where enabled='yes'", err);
}

// ---------------------------------------------------------------------------
// Suppliers

static int __cdecl QlSuppRowCb(void *arg, int columnCount, char **values, char **names)
{
    QlSuppRec rec = {};
    if (QlSuppParseRow(columnCount, values, names, &rec)) (*(const QlSuppRowFn *)arg)(&rec);
    return 0;
}

struct QlSuppGet {
    QlSuppRec rec;
    int found;
    int partial;
};

static int __cdecl QlSuppGetRowCb(void *arg, int columnCount, char **values, char **names)
{
    QlSuppGet *get = (QlSuppGet *)arg;
    get->partial = !QlSuppParseRow(columnCount, values, names, &get->rec);   // found even when a text did not fit
    get->found = 1;
    return 0;
}

// As CustGet.
static int SuppGet(const char *sql, QlSuppRec *out, char *err)
{
    QlSuppGet get = {};
    if (!QlDbExecRows(sql, QlSuppGetRowCb, &get, err)) return -1;
    if (get.found) *out = get.rec;
    QlDbSetRowPartial(get.found && get.partial);
    return get.found;
}

int QlSuppAdd(QlSuppRec *rec, char *err)
{
    QlAccountTexts q;
    char sql[QL_DB_SQL_WRITE];
    if (!QuoteAccount(rec, &q, err) ||
        !QlDbFormatSql(sql, sizeof sql, err,
                       "insert into suppliers (iKey,enabled,acref,company,contact,worktel,mobtel,wemail,fax,"
                       "addr1,addr2,addr3,balance) values (NULL,'yes','%s','%s','%s','%s','%s','%s','%s','%s',"
                       "'%s','%s','" QL_I64 ".%02u');",
                       q.acref, q.company, q.contact, q.worktel, q.mobtel, q.wemail, q.fax, q.addr1, q.addr2,
                       q.addr3, rec->balance_units, rec->balance_hundredths) ||
        !QlDbExec(sql, err))
        return 0;
    rec->iKey = QlDbLastInsertRowId();
    return 1;
}

int QlSuppUpdate(const QlSuppRec *rec, char *err)
{
    QlAccountTexts q;
    char sql[QL_DB_SQL_WRITE];
    if (!QuoteAccount(rec, &q, err) ||
        !QlDbFormatSql(sql, sizeof sql, err,
                       "update suppliers set acref='%s',company='%s',contact='%s',worktel='%s',mobtel='%s',"
                       "wemail='%s',fax='%s',addr1='%s',addr2='%s',addr3='%s',balance='" QL_I64
                       ".%02u' where iKey='" QL_I64 "';",
                       q.acref, q.company, q.contact, q.worktel, q.mobtel, q.wemail, q.fax, q.addr1, q.addr2,
                       q.addr3, rec->balance_units, rec->balance_hundredths, rec->iKey))
        return 0;
    return QlDbExec(sql, err);
}

int QlSuppDisable(int64_t iKey, char *err)
{
    return QlDbDisableRow(iKey, "suppliers", err);
}

int QlSuppExists(const char *acref, char *err)
{
    QlDbReadStart();
    char quoted[QL_DB_SQL_QUERY];
    char sql[QL_DB_SQL_QUERY];
    if (!QuoteLookup(acref, quoted, sizeof quoted, err) ||
        !QlDbFormatSql(sql, sizeof sql, err, "select * from suppliers where acref='%s' limit 1;", quoted))
        return 0;
    int found = 0;
    if (!QlDbExecRows(sql, QlDbRowFoundCb, &found, err)) return 0;
    if (!found) QlDbNotFoundError(err, NULL);
    return found;
}

int QlSuppGetByRowId(int64_t iKey, QlSuppRec *out, char *err)
{
    QlDbReadStart();
    char sql[QL_DB_SQL_QUERY];
    if (!QlDbFormatSql(sql, sizeof sql, err, "select * from suppliers where iKey='" QL_I64 "' limit 1;", iKey))
        return 0;
    int found = SuppGet(sql, out, err);
    if (found == 0) QlDbNotFoundError(err, "item with rowid '" QL_I64 "' not found in database", iKey);
    if (found != 1) return 0;
    out->iKey = iKey;
    return 1;
}

int QlSuppGetByAcRef(const char *acref, QlSuppRec *out, char *err)
{
    QlDbReadStart();
    char quoted[QL_DB_SQL_QUERY];
    char sql[QL_DB_SQL_QUERY];
    if (!QuoteLookup(acref, quoted, sizeof quoted, err) ||
        !QlDbFormatSql(sql, sizeof sql, err, "select * from suppliers where acref='%s' limit 1;", quoted))
        return 0;
    int found = SuppGet(sql, out, err);
    if (found == 0) QlDbNotFoundError(err, "item with acref '%s' not found in database", acref);
    return found == 1;
}

int QlSuppEnumSql(QlSuppRowFn rowFn, const char *sql, char *err)
{
    return QlDbExecRows(sql, QlSuppRowCb, &rowFn, err);
}

int QlSuppEnum(QlSuppRowFn rowFn, char *err)
{
    return QlSuppEnumSql(rowFn, "select * from suppliers where enabled='yes'", err);
}
