// The transactions window (template 156, QlTransPaneDlgProc): every enabled
// transaction of the company in one list, sorted by any column, opened in its
// own form, or found by the barcode printed on a document.  Opened with
// QlTransPaneCreate (transactions/QlTransOpen.h).
//
// The window keeps the rows itself, in memory, and the list view asks it for
// the cells it draws (an owner-data list): a company with a hundred thousand
// documents opens at once, and sorting reorders the rows in memory.
#pragma once

#include "datastore/QlDbRecords.h"

#include <windows.h>
#include <stdint.h>

#define QL_PANE_COLUMNS 8

// The columns of the list.
enum QlPaneColumn {
    QL_PANE_COL_KEY = 0,
    QL_PANE_COL_DATE,
    QL_PANE_COL_TYPE,
    QL_PANE_COL_ACREF,
    QL_PANE_COL_DESC,
    QL_PANE_COL_AMOUNT,
    QL_PANE_COL_BALANCE,
    QL_PANE_COL_DOC,
};

// The tool bar's commands.
enum {
    QL_PANE_CMD_QUOTE = 0,
    QL_PANE_CMD_INVOICE = 1,
    QL_PANE_CMD_CREDIT = 2,
    QL_PANE_CMD_PAY = 3,
    QL_PANE_CMD_VIEW = 4,
    QL_PANE_CMD_CLOSE = 6,
};

// Per column: 0 when the next click sorts it ascending, 1 descending.
// Cleared whenever the window is created.
extern int QlTransPaneSortFlags[QL_PANE_COLUMNS];
// The row last clicked or opened; a new window selects that position again.
extern int QlTransPaneSelectedRow;
// The transaction being opened: it outlives the window, which the form that
// shows it replaces.
extern QlTransRec QlTransPaneChosenRec;

INT_PTR CALLBACK QlTransPaneDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// The type name shown for a transaction (language text), "" for an unknown
// type.
const char *QlTransPaneTypeName(uint32_t type, uint32_t subType);

// A scanned document barcode: "400000", the document number in five digits
// and a check digit.
enum QlPaneScan {
    QL_SCAN_DOCUMENT = 0,      // *number holds the document number
    QL_SCAN_BAD_LENGTH = 1,    // not 12 characters
    QL_SCAN_NOT_DOCUMENT = 2,  // not "400000" and five digits
};
#define QL_SCAN_LENGTH 12
int QlTransPaneParseBarcode(const char *text, int64_t *number);

// The rows the open window shows, in list order: their number and the key
// of row row (0 outside).
int QlTransPaneRowCount(void);
int64_t QlTransPaneRowKey(int row);
