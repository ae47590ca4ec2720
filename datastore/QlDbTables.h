// Operations on the tables of the company database.  The conventions of
// QlDb.h hold: 1 success, 0 failure with the text in err (last argument).
//
// Reads by key or reference answer 0 with "item with rowid '<key>' not
// found in database" (or "acref", "order no") when no row came back.
// Enumerations call the row function once per record and answer 1 when the
// statement ran; rows already delivered stay delivered when it fails.  A row
// whose texts do not fit their fields is skipped, except for customers,
// which are delivered with the fields read up to that column.  A row
// function may itself enumerate, the same table included.
#pragma once

#include "datastore/QlDb.h"
#include "datastore/QlDbRecords.h"

// Customers: live rows only (reads and enumerations select enabled='yes').
// Deleted through QlDbDisableRow(iKey, "customers", err).
int QlCustAdd(QlCustRec *rec, char *err);              // sets rec->iKey
int QlCustUpdate(const QlCustRec *rec, char *err);
int QlCustGetByRowId(int64_t iKey, QlCustRec *out, char *err);
int QlCustGetByAcRef(const char *acref, QlCustRec *out, char *err);
int QlCustEnum(QlCustRowFn rowFn, char *err);
int QlCustEnumSql(QlCustRowFn rowFn, const char *sql, char *err);

// Suppliers: reads by key and reference and QlSuppExists see deleted rows
// too; QlSuppEnum lists live rows.  A read reports a row it found even when
// a text did not fit (the fields before it filled).
int QlSuppAdd(QlSuppRec *rec, char *err);
int QlSuppUpdate(const QlSuppRec *rec, char *err);
int QlSuppDisable(int64_t iKey, char *err);
// 1 when a row with the reference exists; 0 when none does (err untouched)
// or on failure (err set).
int QlSuppExists(const char *acref, char *err);
int QlSuppGetByRowId(int64_t iKey, QlSuppRec *out, char *err);
int QlSuppGetByAcRef(const char *acref, QlSuppRec *out, char *err);
int QlSuppEnum(QlSuppRowFn rowFn, char *err);
int QlSuppEnumSql(QlSuppRowFn rowFn, const char *sql, char *err);

// Products: prices "%d.%02d", stock "%d".  QlProdGetByRowId sees deleted
// rows; QlProdFind (column "scode" or "barcode") the first live one, else
// "not found".
int QlProdAddRec(QlProdRec *rec, char *err);
int QlProdUpdate(const QlProdRec *rec, char *err);
int QlProdDisable(int64_t iKey, char *err);
int QlProdGetByRowId(int64_t iKey, QlProdRec *out, char *err);
int QlProdFind(const char *column, const char *text, QlProdRec *out, char *err);
int QlProdEnum(QlProdRowFn rowFn, char *err);
int QlProdEnumSql(QlProdRowFn rowFn, const char *sql, char *err);

// Services.  Deleted through QlDbDisableRow(iKey, "services", err).
int QlServAdd(QlServRec *rec, char *err);
int QlServUpdate(const QlServRec *rec, char *err);
int QlServGetByRowId(int64_t iKey, QlServRec *out, char *err);
int QlServEnum(QlServRowFn rowFn, char *err);
int QlServEnumSql(QlServRowFn rowFn, const char *sql, char *err);

// Purchase-order lines; the order number is the key of the order's trans
// row.  QlOrderGetByOrderNo sees deleted rows and reports a row it found
// even when a text did not fit.
int QlOrderAdd(QlOrderRec *rec, char *err);
int QlOrderEnumByOrderNo(QlOrderRowFn rowFn, int64_t orderNo, char *err);
int QlOrderEnumSql(QlOrderRowFn rowFn, const char *sql, char *err);
int QlOrderGetByOrderNo(int orderNo, QlOrderRec *out, char *err);
int QlOrderDeleteAll(char *err);

// Transactions.  QlTransAdd stores the row under rec->iKey when it is not 0
// (a new key otherwise), writes gross_cents and gross_bal_cents from gross
// and gross_bal, sets rec->iKey and raises the transaction counter: the row
// and the count are stored together or not at all.
int QlTransAdd(QlTransRec *rec, char *err);
int QlTransGetByRowId(int64_t iKey, QlTransRec *out, char *err);
int QlTransEnum(QlTransRowFn rowFn, char *err);
int QlTransEnumByCust(QlTransRowFn rowFn, int64_t custKey, char *err);
int QlTransEnumByCustType(QlTransRowFn rowFn, int64_t custKey, int type, char *err);
int QlTransEnumByCustTypes(QlTransRowFn rowFn, int64_t custKey, int type1, int type2, char *err);
int QlTransEnumSql(QlTransRowFn rowFn, const char *sql, char *err);

// Document lines (the invoices table).  QlItemFind answers the first live
// line whose integer column equals the value; 0 when none (err untouched) or
// on failure (err set).
int QlItemAdd(QlItemRec *rec, char *err);
int QlItemGetByRowId(int64_t iKey, QlItemRec *out, char *err);
int QlItemFind(const char *column, int64_t value, QlItemRec *out, char *err);
int QlItemEnumByTrans(QlItemRowFn rowFn, int64_t transKey, char *err);
int QlItemEnumSql(QlItemRowFn rowFn, const char *sql, char *err);

// Payments.  QlPayEnumByItem delivers at most one payment of the document.
int QlPayAdd(QlPayRec *rec, char *err);
int QlPayEnumByTrans(QlPayRowFn rowFn, int64_t payKey, char *err);
int QlPayEnumByItem(QlPayRowFn rowFn, int64_t docKey, char *err);

// The transaction counter: the count of row 1 of transcount, the number of
// trans rows added since the database was made or cleared.
// 1 and the counter (0 when the row is missing); 0 and 0 on failure.
int QlTransGetCount(int64_t *out);
int QlTransUpdateCount(int64_t value);
int QlTransCountIncrement(void);
int QlTransCountDecrement(void);
// 1 and the key of the newest trans row (0 when there is none); 0 and 0 on
// failure.
int QlTransGetLastRowId(int64_t *out);
// Empties orders, trans, invoices and payments and sets the counter to 0;
// stops at the first failure.
int QlTransClearAll(char *err);
