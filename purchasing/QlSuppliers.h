// The suppliers window (template 323) and the supplier screens it opens: the
// new-supplier dialog (147, shared with the new-customer dialog), the
// select-supplier dialog (182, shared with the select-customer dialog) and
// the supplier activity (329) with its printed orders report.
//
// The window lists every enabled supplier in list 1397 (A/C ref, company and,
// beyond the visible width, the row id), shows the focused row's supplier in
// the fields on its right and runs the supplier commands from its tool bar.
// The list is the window's working copy of the table: the commands take the
// supplier by the row id of the focused row (QlSuppGetSelected).
#pragma once

#include "ui/QlListView.h"
#include "print/QlPrint.h"
#include "ui/QlToolbar.h"
#include "datastore/QlDbRecords.h"

#include <windows.h>

// Tool-bar commands of the suppliers window (WM_COMMAND ids sent by its bar).
enum {
    QL_SUPP_CMD_NEW = 0,
    QL_SUPP_CMD_SAVE = 1,
    QL_SUPP_CMD_DELETE = 2,
    QL_SUPP_CMD_INVOICE = 3,
    QL_SUPP_CMD_ORDER = 4,
    QL_SUPP_CMD_CLOSE = 5,
    QL_SUPP_CMD_ACTIVITY = 6,
};
#define QL_SUPP_TOOLBAR_COUNT 7

// The list's columns; the row id lies beyond the visible width.
enum { QL_SUPP_COL_ACREF, QL_SUPP_COL_COMPANY, QL_SUPP_COL_KEY };

// The New command refuses at this many listed suppliers.
#define QL_SUPP_MAX_ROWS 2000

extern QlToolbarItem QlSuppToolbarTable[QL_SUPP_TOOLBAR_COUNT];
extern QlListColumnTable QlSuppListColumnTable;

// ---------------------------------------------------------------------------
// The window

INT_PTR CALLBACK QlSuppDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
// Empties list 1397 and fills it with every enabled supplier in the
// database's order, then selects the remembered row.  1 when the query ran;
// 0 when it failed ("Failed to load supplier record" shows the data store's
// text).
int QlSuppListLoad(HWND window);
// Row function of the loads: the row, then one waiting message let through.
int QlSuppListRowCb(const QlSuppRec *rec);
// Appends one row to the suppliers window's list; its index, -1 when there
// is no window or the row could not be added.
int QlSuppListAddRow(const QlSuppRec *rec);
// Writes the record into the fields and the A/C ref; a zeroed record empties
// them.
void QlSuppShowFields(HWND window, const QlSuppRec *rec);
// The Save and Delete commands.
void QlSuppSave(HWND window);
void QlSuppDelete(HWND window);
// 1 when an enabled trans row names the supplier, or when that cannot be
// told (the query failed).
int QlSuppHasTrans(int64_t suppKey);
// Forgets the sort directions and the remembered row, as at program start
// (for another company's suppliers).
void QlSuppWindowForget(void);

// ---------------------------------------------------------------------------
// The new-supplier dialog

// Results of QlSuppInsert.
enum {
    QL_SUPP_INSERT_OK = 1,
    QL_SUPP_INSERT_FAILED = 0,       // address line 1 empty, or the insert failed (already shown)
    QL_SUPP_INSERT_NO_REF = -1,      // no free A/C ref
    QL_SUPP_INSERT_TOO_SHORT = -2,   // company name shorter than 2 characters
};

// The New command of the suppliers window.
void QlSuppNewCmd(HWND window);
INT_PTR CALLBACK QlSuppNewDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// Reads, checks and inserts the supplier of the dialog, then lists it in the
// suppliers window as the selected row.  A QL_SUPP_INSERT_ value.
int QlSuppInsert(HWND dialog);
// Writes rec->acref from rec->company: its first two characters, letters
// upper-cased, and the first number "000" to "998" that no supplier (enabled
// or not) holds.  1 when one was free, 0 when all 999 are taken, -1 when the
// database could not be asked (rec->acref is then untouched).
int QlSuppMakeAcRef(QlSuppRec *rec);

// ---------------------------------------------------------------------------
// The select-supplier dialog

// Run with DialogBoxParamA on template 182: 1 when a supplier was chosen and
// copied into QlSuppCurrent, 0 otherwise (QlSuppCurrent unchanged).
INT_PTR CALLBACK QlSuppSelectDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// Shows every enabled supplier in the open dialog's list (read once an
// opening), by A/C ref for column 0 and by company otherwise, ascending when
// ascending is not 0, no row focused; 1 when the suppliers were read.
int QlSuppSelectLoad(int column, int ascending);
// 1 when the focused row's supplier was read into QlSuppCurrent.
int QlSuppSelectGet(void);

// ---------------------------------------------------------------------------
// Supplier activity

// Tool-bar commands of the activity dialog.
enum { QL_SUPP_ACT_CMD_PRINT, QL_SUPP_ACT_CMD_VIEW, QL_SUPP_ACT_CMD_CLOSE, QL_SUPP_ACT_CMD_COUNT };
// The list's columns: order number, date, description, total.
#define QL_SUPP_ACT_COLUMNS 4
// Rows a printed page holds.
#define QL_SUPP_ACT_ROWS_PER_PAGE 35

extern QlToolbarItem QlSuppActivityToolbarTable[QL_SUPP_ACT_CMD_COUNT];
extern QlListColumnTable QlSuppActivityListColumnTable;

// The Activity command: the focused supplier's purchase orders in dialog
// 329; an order picked there opens in the purchase-order window.
void QlSuppActivityCmd(HWND window);
INT_PTR CALLBACK QlSuppActivityDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// Refills list 1399 with the current supplier's enabled purchase orders,
// ascending by column 1 date, 2 description, 3 total (as texts), any other
// value the order number.  1 when the query ran; 0 when it failed
// ("Transaction lookup failed" shows the data store's text).
int QlSuppActivityLoad(HWND dialog, int column);
int QlSuppActivityRowCb(const QlTransRec *rec);
// 1 with the focused row's order number and index; 0 when no row is focused.
int QlSuppActivityGetSelected(HWND dialog, int64_t *orderNo, int *index);
// 1 when the focused row's order was read and marked as the one to open.
int QlSuppActivityOpenSel(HWND dialog);
// The order picked in the activity dialog, NULL when none was.
extern QlTransRec *QlSuppActivityChosen;

// The supplier orders report: refuses an empty list ("Transaction List
// Empty"), then prints through the print dialog.  1 when printed.
int QlSuppPrintOrders(HWND dialog);

// What the report draws: the list's rows in the order shown, the supplier
// and the business's own name.
struct QlSuppOrdersJob {
    HWND list;
    int rows;
    char acref[6];
    char company[40];
    char business[40];
};
// The drawing core (QlPrintDocument): the supplier and business lines above
// the first page's heading, then 35 rows a page under a framed heading
// "Supplier orders (Page p of n)" in a ruled grid of four columns.
int QlSuppOrdersDraw(QlPrintTarget *target, void *job);
