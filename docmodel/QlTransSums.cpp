#include "docmodel/QlTransSums.h"

#include "core/QlMoney.h"
#include "core/QlPlatform.h"
#include "datastore/QlDbTables.h"

#include <stdlib.h>

// Adds the money text of the first column of every row to the total in cents
// that the argument points to.  A NULL column counts nothing.
static int __cdecl SumFirstColumnCb(void *total, int columnCount, char **values, char **names)
{
    if (columnCount > 0 && values[0]) *(int64_t *)total += QlMoneyParseCents(values[0]);
    return 0;
}

static int SumQuery(const char *sql, int64_t *units, int *cents)
{
    char err[QL_DB_ERR_SIZE];
    int64_t total = 0;
    int ok = QlDbExecRows(sql, SumFirstColumnCb, &total, err);
    QlMoneySplitCents(total, units, cents);
    return ok;
}

void QlTransAddGross(const QlTransRec *rec, int64_t *units, int *cents)
{
    int64_t total = *units * 100 + *cents + QlMoneyParseCents(rec->gross);
    QlMoneySplitCents(total, units, cents);
}

int QlTransSumCustBalance(int64_t *units, int *cents, const QlCustRec *cust)
{
    // Only the one column is read: the list of a large company sums every
    // account's invoices, served by the trans (cust_rowid, type) index.
    char sql[QL_DB_SQL_QUERY];
    char err[QL_DB_ERR_SIZE];
    *units = 0;
    *cents = 0;
    if (!QlDbFormatSql(sql, sizeof sql, err,
                       "select gross_bal from trans where enabled='yes' and cust_rowid='" QL_I64 "' and type='1'",
                       cust->iKey))
        return 0;
    return SumQuery(sql, units, cents);
}

namespace {

// The grouped query's rows as they come in; an entry whose rows lack their
// cents keeps the customer and is summed from the texts afterwards.
struct GroupedRead {
    QlCustBalanceRec *rows;
    unsigned char *fromTexts;
    int count, capacity, failed;
};

int __cdecl GroupedRowCb(void *arg, int columnCount, char **values, char **names)
{
    GroupedRead *read = (GroupedRead *)arg;
    if (columnCount < 3 || !values[0]) return 0;   // invoices of no customer
    if (read->count == read->capacity) {
        int capacity = read->capacity ? read->capacity * 2 : 1024;
        QlCustBalanceRec *rows = (QlCustBalanceRec *)realloc(read->rows, (size_t)capacity * sizeof *rows);
        unsigned char *flags = rows ? (unsigned char *)realloc(read->fromTexts, (size_t)capacity) : NULL;
        if (rows) read->rows = rows;
        if (!rows || !flags) {
            read->failed = 1;
            return 1;
        }
        read->fromTexts = flags;
        read->capacity = capacity;
    }
    QlCustBalanceRec *row = &read->rows[read->count];
    row->custRowId = QlAtoI64(values[0]);
    row->cents = values[1] ? QlAtoI64(values[1]) : 0;
    read->fromTexts[read->count] = values[2] && QlAtoI64(values[2]) != 0;
    read->count++;
    return 0;
}

int CompareCustRowIds(const void *a, const void *b)
{
    int64_t x = ((const QlCustBalanceRec *)a)->custRowId, y = ((const QlCustBalanceRec *)b)->custRowId;
    return x < y ? -1 : x > y;
}

}  // namespace

int QlTransSumAllCustBalances(QlCustBalanceRec **rows, int *count, char *err)
{
    // The predicate is QlTransSumCustBalance's; the third column counts the
    // rows whose cents are missing.  Every row is read either way: straight
    // through the table is a quarter quicker than through the (cust_rowid,
    // type) index, which would look each row up again.
    static const char kSql[] =
        "select cust_rowid,sum(gross_bal_cents),count(*)-count(gross_bal_cents) from trans not indexed "
        "where enabled='yes' and type='1' group by cust_rowid order by cust_rowid;";
    GroupedRead read = {};
    *rows = NULL;
    *count = 0;
    int ok = QlDbExecRows(kSql, GroupedRowCb, &read, err);
    if (read.failed) QlDbSetError(err, "Out of memory");
    for (int i = 0; ok && !read.failed && i < read.count; i++) {
        if (!read.fromTexts[i]) continue;
        QlCustRec cust = {};
        cust.iKey = read.rows[i].custRowId;
        int64_t units;
        int cents;
        if (!QlTransSumCustBalance(&units, &cents, &cust)) {
            QlDbSetError(err, "Failed to sum a customer's invoices");
            ok = 0;
        }
        read.rows[i].cents = units * 100 + cents;
    }
    free(read.fromTexts);
    if (!ok || read.failed) {
        free(read.rows);
        return 0;
    }
    // The query orders its groups; a row id stored as another type would
    // not be, and the look-up needs the order.
    for (int i = 1; i < read.count; i++) {
        if (read.rows[i - 1].custRowId > read.rows[i].custRowId) {
            qsort(read.rows, (size_t)read.count, sizeof *read.rows, CompareCustRowIds);
            break;
        }
    }
    *rows = read.rows;
    *count = read.count;
    return 1;
}

int64_t QlTransFindCustBalance(const QlCustBalanceRec *rows, int count, int64_t custRowId)
{
    int low = 0, high = count;
    while (low < high) {
        int mid = low + (high - low) / 2;
        if (rows[mid].custRowId < custRowId)
            low = mid + 1;
        else
            high = mid;
    }
    return low < count && rows[low].custRowId == custRowId ? rows[low].cents : 0;
}

int QlTransSumCustPaidGross(int64_t custRowId, int type, int64_t *units, int *cents)
{
    char sql[QL_DB_SQL_QUERY];
    char err[QL_DB_ERR_SIZE];
    *units = 0;
    *cents = 0;
    if (!QlDbFormatSql(sql, sizeof sql, err,
                       "select gross from trans where enabled='yes' and cust_rowid='" QL_I64
                       "' and type='%d' and gross_bal='0.00' and gross<>'0.00'",
                       custRowId, type))
        return 0;
    return SumQuery(sql, units, cents);
}

int QlProdAddStockQty(const QlItemRec *line)
{
    char err[QL_DB_ERR_SIZE];
    QlProdRec product;
    if (!QlProdGetByRowId(line->prod_rowid, &product, err)) return 0;
    char stock[24];
    snprintf(stock, sizeof stock, QL_I64, (int64_t)product.stock_qty + atoi(line->qty));
    return QlDbSetText("products", "stock_qty", product.iKey, stock, err);
}
