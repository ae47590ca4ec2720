#include "transactions/QlTransSums.h"

#include "common/QlMoney.h"
#include "common/QlPlatform.h"
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
