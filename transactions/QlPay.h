// Customer payments: the new-payment form and the view of a stored payment
// (template 184), the payment-item dialog (185), and saving a payment.
//
// A payment settles one or more of an account's open sales invoices.  The
// form lists the invoices of the account it was opened for; the user gives
// an amount for each; Save stores one payment transaction (type 3), one
// payments row per paid invoice and every invoice's lowered balance, all in
// one database transaction.  Money is integer cents throughout.
#pragma once

#include "datastore/QlDbRecords.h"

#include <windows.h>
#include <stdint.h>

// Columns of the form's document list 1161 (and of dialog 185's row).
enum QlPayColumn {
    QL_PAY_COL_REF = 0,
    QL_PAY_COL_DATE,
    QL_PAY_COL_TYPE,
    QL_PAY_COL_DESC,
    QL_PAY_COL_DUE,
    QL_PAY_COL_PAID,
    QL_PAY_COLUMNS
};

// The form's tool-bar commands: Save / Print (0) and Close (1).
enum { QL_PAY_CMD_SAVE = 0, QL_PAY_CMD_PRINT = 0, QL_PAY_CMD_CLOSE = 1 };

#define QL_CAPTION_INSERT_PAYMENT_FAILED "Insert payment failed"
#define QL_CAPTION_TRANS_LOAD_FAILED "Trans load query failed"

// The account reference for which the next new payment form opens (5
// characters); the form reads it once, when it starts.
extern char QlPayPendingAcRef[6];

// A new payment for the account shown in the customers module is QlPayNew
// (transactions/QlTransOpen.h): it refuses, with a message, when the
// transaction counter has reached its limit.
// New payment without an account (the transactions window's Pay command).
HWND QlPayNewEmpty(void);
// The view of a stored payment, in the module slot.  The view keeps a copy
// of the record, from which it re-creates itself when the main window is
// restored.
HWND QlPayOpenView(const QlTransRec *payment);

INT_PTR CALLBACK QlPayNewDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlPayViewDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlPayItemDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// The account's open invoices into list 1161 (the account becomes the one
// whose invoices are listed), with the totals.
void QlPayShowAccount(HWND form, const QlCustRec *customer);
// Empties list 1161 and fills it with the account's enabled sales invoices
// whose balance is not "0.00", each paying "0.00".  1, or 0 after the
// message when the query failed.
int QlPayLoadOpenDocs(HWND form, const QlCustRec *customer);
// The key of the account whose invoices the form lists; 0 for none.
int64_t QlPayListedAccount(HWND form);
// Totals of the due (1189) and paid (1190) columns, summed in cents.
void QlPayUpdateTotals(HWND form);
// Pay in full: the selected row, else the first row not yet paid in full;
// the row after it becomes selected.
void QlPaySelectNextUnpaid(HWND form);
// Copies the due amount into the paid column of the row when they differ; 1
// when it changed the row.
int QlPayRowPayInFull(HWND list, int row);
// Edit: dialog 185 on the selected row; 1 when its amount was changed.
int QlPayEnterItem(HWND form);

// The row dialog 185 works on (one dialog at a time).
struct QlPayItemWorkRec {
    char ref[64];
    char date[14];
    char type[20];
    char desc[80];
    char due[13];
    char paid[13];
};
extern QlPayItemWorkRec QlPayItemWork;
// Splits a money text at its first '.' into the units (1177) and cents
// (1179) edits of dialog 185.
void QlPayItemShowAmount(HWND dialog, const char *money);
// The pay amount of dialog 185's edits in cents (units, cents up to 99).
int64_t QlPayItemReadCents(HWND dialog);
// What is wrong with the edits of dialog 185 as typed or pasted, NULL when
// nothing: a sign ("The price cannot be negative"), anything but digits or
// more than two digits of cents ("The price must be given in digits").  The
// edits take QL_PAY_ITEM_FIELD characters, more than an amount has.
#define QL_PAY_ITEM_FIELD 20
const char *QlPayItemRefusal(HWND dialog);

// ---------------------------------------------------------------------------
// Saving

// One row of the form as Save reads it.
struct QlPayRow {
    char ref[64];       // column 0: the invoice's number
    char paid[16];      // column 5: the amount paid towards it
};

// The form as texts: the account whose invoices it lists, the date and the
// rows.
struct QlPaySnapshot {
    int64_t listedAccount;   // iKey of the account whose invoices are listed, 0 for none
    char date[32];           // day first ("d/MM/yyyy")
    int rowCount;
    QlPayRow *rows;          // heap
};
// Reads the form; 0 when memory ran out.  Free it after.
int QlPaySnapshotTake(HWND form, QlPaySnapshot *snap);
void QlPaySnapshotFree(QlPaySnapshot *snap);

// Stores the payment for the customer (NULL: none found for the form's A/C
// ref).  Refuses, with a message and nothing stored, when there is no
// customer, when it is not the account whose invoices are listed, when
// nothing is paid, and when a paid invoice cannot be read as a live sales
// invoice of the account or its balance is lower than the amount paid.
// Rows paying 0 are skipped.  Everything else is one database transaction:
// the payment (its gross the sum of the paid amounts), per paid invoice the
// lowered balance and a payments row, the payment's first payments row,
// description and count.  1 when stored, *savedKey the payment's number.
int QlPaySaveSnapshot(HWND owner, const QlPaySnapshot *snap, const QlCustRec *customer, int64_t *savedKey);
// The same from the form.
int QlPaySave(HWND form, const QlCustRec *customer);
