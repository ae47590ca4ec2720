// Totals of the money texts of transaction rows: a customer's outstanding
// balance, the gross of a customer's paid documents, the gross of one
// transaction added to a running total, and a document line's quantity
// given back to its product's stock.
//
// A money text is read as QlMoneyParse reads it ("10.60" is 10 units and 60
// hundredths, "5.5" is 5 and 5, "-12.34" is -12 and -34; a text without "."
// counts nothing).  Totals are kept in cents and handed out as a pair whose
// units x 100 + cents is the amount: both parts carry its sign (17.10 is 17
// and 10, -1.50 is -1 and -50).
#pragma once

#include "datastore/QlDbRecords.h"

#include <stdint.h>

// Adds the record's gross to the caller's running pair.
void QlTransAddGross(const QlTransRec *rec, int64_t *units, int *cents);

// The customer's outstanding balance: the gross_bal of its enabled sales
// invoices (type 1).  Credit notes, payments and quotations do not count;
// payments act through the invoices' gross_bal.  Answers 1, or 0 when the
// query failed (the pair then holds what was summed before the failure).
int QlTransSumCustBalance(int64_t *units, int *cents, const QlCustRec *cust);

// Every customer's outstanding balance in one grouped query, to the cent the
// figure QlTransSumCustBalance gives: an account whose invoices all carry
// their balance in cents is summed by the query, any other (rows of a file
// older than the cents columns) one by one as QlTransSumCustBalance sums it.
// *rows (free it) holds one entry per customer that has enabled invoices,
// in ascending order of cust_rowid; accounts without any are not listed and
// owe 0.  1, or 0 with err set and *rows NULL when the query failed.
struct QlCustBalanceRec {
    int64_t custRowId;
    int64_t cents;
};
int QlTransSumAllCustBalances(QlCustBalanceRec **rows, int *count, char *err);
// The balance in cents of the customer in a table QlTransSumAllCustBalances
// made; 0 when the customer is not listed.
int64_t QlTransFindCustBalance(const QlCustBalanceRec *rows, int count, int64_t custRowId);

// The gross of the customer's fully paid documents of one type (gross_bal
// exactly "0.00", gross not "0.00").  Answers as QlTransSumCustBalance.
int QlTransSumCustPaidGross(int64_t custRowId, int type, int64_t *units, int *cents);

// Gives the line's quantity back to the stock of its product (prod_rowid).
// 1 when the stock was written; 0 when the product is missing or the update
// failed (nothing is shown).
int QlProdAddStockQty(const QlItemRec *line);
