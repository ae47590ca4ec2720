// The customers module window (dialog 120): the find box, the name list and
// the overview list of the enabled accounts with their balances (owner-data
// lists over the accounts held in memory), the form of the selected account,
// and the fourteen-button tool bar whose commands reach the account
// maintenance and the later screens.
#pragma once

#include "ui/QlAppState.h"
#include "core/QlDate.h"
#include "ui/QlListView.h"
#include "ui/QlToolbar.h"
#include "datastore/QlDbRecords.h"
#include "docmodel/QlAccountBlock.h"

#include <windows.h>

// Tool-bar commands (WM_COMMAND ids of the module window).
enum QlCustCommand {
    QL_CUST_CMD_NEW,
    QL_CUST_CMD_SAVE,
    QL_CUST_CMD_DELETE,
    QL_CUST_CMD_QUOTE,
    QL_CUST_CMD_INVOICE,
    QL_CUST_CMD_CREDIT,
    QL_CUST_CMD_PAY,
    QL_CUST_CMD_ACTIVITY,
    QL_CUST_CMD_STATEMENT,
    QL_CUST_CMD_LABELS,
    QL_CUST_CMD_LETTERS,
    QL_CUST_CMD_PRINT,
    QL_CUST_CMD_EXPORT,
    QL_CUST_CMD_CLOSE,
    QL_CUST_CMD_COUNT
};

// The tool bar's table (labels from the language when the window opens) and
// the two lists' column tables (titles likewise).
extern QlToolbarItem QlCustToolbarTable[QL_CUST_CMD_COUNT];
extern QlListColumnTable QlCustOverviewColumns;   // list 1035: A/C ref, company, balance, row id
extern QlListColumnTable QlCustNameColumns;       // list 1052: company, row id

// Column of the row id in each list.
#define QL_CUST_OVERVIEW_KEY_COLUMN 3
#define QL_CUST_NAMES_KEY_COLUMN 1

// Destroys the module window held in QlModuleWnd, creates the customers
// module as a child of parent and stores it there.  Returns it; NULL when it
// could not be created or was closed again while its lists were loading.
HWND QlCustOpenModule(HWND parent);
INT_PTR CALLBACK QlCustModuleDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// 1 while the module window exists.
int QlCustModuleIsOpen(void);
// Rebuilds the module at its parent's size with the same account selected.
HWND QlCustModuleRestore(HWND module);
// Forgets the account to select when the module opens next and the sort
// directions of the overview columns, as at program start (for another
// company's accounts).
void QlCustModuleForget(void);

// (The account block of the document forms, QlCustShowAddress:
// docmodel/QlAccountBlock.h.)
// Shows the account in the module's form with its balance computed from the
// invoices; NULL does nothing.
void QlCustShowRecord(HWND module, const QlCustRec *rec);
// The form's find edits and fields, enabled or not (the discount and rate
// lists follow their check boxes when enabled).
void QlCustEnableForm(HWND module, int enable);
// Tells the user that the account's row did not read whole (a text longer
// than its field): it is shown as far as it reads and never saved from the form.
void QlCustTellPartial(HWND owner, const char *acref);

// Row function of the module's loads: the account joins both lists with
// its balance from the load's grouped query; the message pump runs now and
// then, and the lists then show the rows read so far.
int QlCustListRowCb(const QlCustRec *rec);

// The module's accounts, for its commands (nothing, or -1 and 0, while the
// module is not open).  The account the form shows (0 for none): Save and
// Delete act on it.
int64_t QlCustShownKey(void);
// A new account at the end of both lists, with its balance, selected in the
// name list and made visible in both; its row, -1 when it could not be
// listed.  The form is the caller's to show.
int QlCustModuleAddAccount(const QlCustRec *rec);
// A saved account's A/C ref and company shown in its rows.
void QlCustModuleAccountChanged(const QlCustRec *rec);
// A deleted account taken out of both lists, no row left selected; the name
// list's row it had, -1 when it was not listed.
int QlCustModuleRemoveAccount(int64_t key);
// The number of accounts listed, and the account of a name-list row (0 for
// none).
int QlCustModuleRowCount(void);
int64_t QlCustModuleNamesKey(int row);

// List helpers of the customers screens.
int QlCustListSelected(HWND list);
void QlCustListSelect(HWND list, int row);
// Appends a row with its first cell and item data; its index or -1.
int QlCustListAppend(HWND list, const char *text, LPARAM data);
// The same with a row id as the first cell (item data 1).
int QlCustListAppendKey(HWND list, int64_t key);

// A date picker's date written in the picture format ("d/MM/yyyy",
// "MM/dd/yyyy"); empty when the picker has no date.
void QlCustPickerText(HWND dialog, int id, const char *format, char *text, int size);
// The picker's date; 0 (and a zeroed date) when it has none.
int QlCustPickerDate(HWND dialog, int id, QlDateRec *date);
// Sets the picker's date.
void QlCustSetPickerDate(HWND dialog, int id, const QlDateRec *date);
