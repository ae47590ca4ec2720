// The account activity view (dialog 160): the transactions of one account,
// all of them or one type, all dates or a date range, sorted by a clicked
// column; printed as a list, or one of them opened in its own view.  The
// customers module runs it modally for the account of QlCustContext and
// reads QlCustAccountChosen afterwards (customers/QlCustOpeners.h).
#pragma once

#include "core/QlDate.h"
#include "print/QlPrint.h"
#include "datastore/QlDbRecords.h"

#include <windows.h>

// Tool-bar commands of the view.
enum { QL_ACT_CMD_PRINT, QL_ACT_CMD_VIEW, QL_ACT_CMD_CLOSE, QL_ACT_CMD_COUNT };

// List columns: number, date, type, description, amount, the document's own
// balance.
enum { QL_ACT_COL_KEY, QL_ACT_COL_DATE, QL_ACT_COL_TYPE, QL_ACT_COL_DESC, QL_ACT_COL_GROSS, QL_ACT_COL_BALANCE,
       QL_ACT_COLUMNS };

// Rows a printed page holds.
#define QL_ACT_ROWS_PER_PAGE 35

// The filter of the current load.
struct QlCustAccountFilterRec {
    int dateFilter;
    QlDateRec from;
    QlDateRec to;
};
extern QlCustAccountFilterRec QlCustAccountFilter;

// Empties the dialog's list and fills it with the account's enabled
// transactions: of type t (1 invoices ... 5 orders) or all for 0, dated from
// *from to *to (both days included) when dateFilter is set, in ascending
// order of the sort column: the date as a date, the type, the description,
// the amount or the balance by its cents, anything else the number; rows
// that compare equal keep the order of their numbers.  1 when the query ran;
// 0 when the account cannot be read (the list stays empty) or the query
// failed (nothing is shown).
int QlCustAccountLoad(HWND dialog, int listId, const char *acref, int dateFilter, int type, const QlDateRec *from,
                      const QlDateRec *to, int sortColumn);
// The row function of the load: keeps the row when it passes the filter.
int QlCustAccountRowCb(const QlTransRec *rec);
// Reads the filter controls and loads sorted by the column; a from date after
// the to date is refused ("Invalid date range") and the list stays as it is.
void QlCustAccountApplyFilter(HWND dialog, int sortColumn);
// Takes the selected row's transaction into QlCustAccountChosen; 1 when one
// was taken, 0 when no row is selected or it cannot be read.
int QlCustAccountViewTrans(HWND dialog);
// Prints the list ("Transaction List Empty" when it has no rows).
void QlCustAccountPrint(HWND dialog);

// What the printed list draws: the list's rows and the column titles.
struct QlCustAccountPrintJob {
    HWND list;
    int rows;
    char titles[QL_ACT_COLUMNS][128];
};
// Fills the job from the dialog's list; its row count.
int QlCustAccountPrintJobFrom(HWND dialog, QlCustAccountPrintJob *job);
// The drawing core (QlPrintDocument): 35 rows a page under a framed heading
// "Transactions (Page p of n)", in a ruled grid with the column titles.
int QlCustAccountDrawList(QlPrintTarget *target, void *job);
