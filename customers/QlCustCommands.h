// The account commands of the customers module: adding an account through
// dialog 147 with its generated A/C ref, saving the form, deleting an account
// without transactions, a new quotation within the transaction limit, and
// handing the account to the activity view and the statement window.
// Each command takes the module window.
#pragma once

#include "datastore/QlDbRecords.h"
#include "docmodel/QlOpeners.h"

#include <windows.h>

// The new-document commands refuse to start from QL_TRANS_LIMIT
// transactions on (docmodel/QlOpeners.h).

// The account handed to the activity view and the statement window: the
// A/C ref, the balance text as the form shows it, and a third text that the
// module leaves empty.
struct QlCustContextRec {
    char acref[6];
    char balance[40];
    char third[40];
};
extern QlCustContextRec QlCustContext;

// Command 0: runs the add dialog; after the first account the find edits
// and the form are enabled.
void QlCustAddCmd(HWND module);
// Command 1: saves the form into the account selected in the name list.
void QlCustUpdateCmd(HWND module);
// Command 2: disables the selected account after confirmation; refused
// while the account has transactions.
void QlCustDeleteCmd(HWND module);
// Command 3: a new quotation for the shown account.
void QlCustNewQuote(HWND module);
// Command 7: the activity view (dialog 160); a transaction chosen there is
// opened in the module's place.
void QlCustOpenAccount(HWND module);
// Command 8: the statement window in the module's place.
void QlCustOpenStatement(HWND module);

// Fills rec->acref from the first two characters of rec->company, upper-cased,
// and the first of 000..998 that no customers row (enabled or not) has.
// 1 on success; 0 when every number is taken; -1 when the look-up failed.
int QlCustMakeAcRef(QlCustRec *rec);
// 1 when the account has an enabled transaction of any type, or when that
// cannot be told (the query failed); 0 when it has none.
int QlCustHasTrans(int64_t iKey);
// Removes the blanks (spaces, tabs) before and after a text in place: a
// name or address of blanks alone is an empty one.
void QlCustTrimBlanks(char *text);
// Adds 100 sample accounts "company name<i> ltd"; 0 at the first failure.
int QlCustMakeSamples(void);

// Add dialog 147: the owner is the module window (DialogBoxParamA's lParam
// may carry it too).  QlCustAddSave validates and inserts the account and adds
// it to the module's lists; it answers one of the results below.
enum QlCustAddResult {
    QL_CUST_ADD_OK,
    QL_CUST_ADD_TOO_SHORT,
    QL_CUST_ADD_EMPTY_ADDRESS,
    QL_CUST_ADD_NO_REFERENCE,
    QL_CUST_ADD_SQL_ERROR
};
INT_PTR CALLBACK QlCustAddDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
int QlCustAddSave(HWND dialog);
