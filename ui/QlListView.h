// Report-mode list views described by static column tables.
#pragma once

#include <windows.h>

#define QL_LIST_MAX_COLUMNS 10

struct QlListColumn {
    int percent;       // width in percent of the list's client width
    int format;        // 0 left, 1 right, 2 centre (LVCFMT_ values)
    char title[128];
};

struct QlListColumnTable {
    int controlId;     // the list view's id in its dialog
    HWND list;         // set by QlListSetupFromTable
    int count;
    QlListColumn columns[QL_LIST_MAX_COLUMNS];
};

// The extended style of every list: grid lines and full-row selection (33).
#define QL_LIST_GRID_STYLE (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT)

// Binds the table to its list view (the dialog's control table->controlId),
// deletes all items, inserts the table's columns with width = percent x client
// width / 100 and sets the grid style.  Called once, when the dialog starts:
// existing columns stay.  Returns 1, or 0 when the control is missing or the
// count is outside 0..QL_LIST_MAX_COLUMNS (then nothing is changed).
int QlListSetupFromTable(HWND dialog, QlListColumnTable *table);

// Sets every column's width from its percentage and the list's current client
// width (the handle stored in the table); returns the table.
QlListColumnTable *QlListResizeColumns(HWND dialog, QlListColumnTable *table);

// Deletes all items, inserts count columns (format 0 when formats is NULL),
// reserves room for itemCount rows and sets the grid style.  Returns 1.
int QlListSetColumns(HWND list, const char *const *titles, int count, const int *widths, int itemCount,
                     const int *formats);
// The same with a required formats array.
int QlListSetColumnsFmt(HWND list, const char *const *titles, int count, const int *widths, int itemCount,
                        const int *formats);

// Inserts one column at index; the new column's index, -1 on failure.
int QlListInsertColumn(HWND list, int index, const char *title, int width, int format);

// Widths from weights: usable = client width - margin, p = weight x 100 / sum,
// width = usable x p / 100 (integer divisions).  Returns 1, or 0 with every
// width 0 when the weights add up to 0 or less.
int QlListColumnWidths(HWND list, const int *weights, int count, int *widths, int margin);

// On the dialog's list 1161: column 0 = list window width - column 1 - 25.
void QlListFitFirstColumn(HWND dialog);

// Inserts the columns (titles in 40-character fields) without deleting items;
// extended style full-row selection, plus grid lines when grid is set.
// Returns 1, or 0 when the control is missing.
int QlListViewSetColumns(HWND dialog, int controlId, const char (*titles)[40], const int *widths, const int *formats,
                         int count, int grid);

// Finds the first row whose cell in the column (its first 255 characters)
// equals the text (mode 0 and any other mode) or, in mode 1, contains it
// (case-sensitive).  Returns 1 with *row set, or 0 with *row unchanged (also
// for an empty text or list).
int QlListFindRow(HWND list, const char *text, int column, int mode, int *row);

// The first row whose item text (column 0) is the text, letter case
// ignored (LVM_FINDITEMA); -1 when none or the text is empty.
int QlListFindItemText(HWND list, const char *text);

// Selects and focuses the row and scrolls it into view (whole).
void QlListShowRow(HWND list, int row);

// Reads one cell into text (size bytes), always terminated: Wine fills the
// whole buffer without a terminator when the cell is longer.
void QlListGetCell(HWND list, int row, int column, char *text, int size);
// Writes one cell.
void QlListSetCell(HWND list, int row, int column, const char *text);

// The answer to LVN_ODFINDITEMA or LVN_ODFINDITEMW (LVM_FINDITEMA on the
// list, or the user typing in it) for an owner-data list of count rows whose
// first-column text the function gives: the first row from the find's start
// whose text equals the find's string (LVFI_STRING) or begins with it
// (LVFI_PARTIAL), letter case aside, going round to the top with LVFI_WRAP;
// -1 when none does.
typedef const char *(*QlListRowTextFn)(int row);
int QlListOwnerDataFind(const NMHDR *header, int count, QlListRowTextFn text);

// Reads a column's title; the list view's result (nonzero on success).
int QlListGetColumnText(HWND list, int column, char *buffer, int bufferSize);

// Gives an owner-data list its rows anew: count rows, none selected or
// focused (as a count of 0 and then of count would), drawn at the next
// paint.  With the same count and nothing selected or focused, the count and
// the scroll bar stay as they are and the rows are drawn again.  Otherwise
// the list, its scroll bar and border included, is drawn once: the list
// draws its scroll bar at once at every count it is given while it shows
// (twice each time), so the counts are given while it is marked hidden.  The
// header is not drawn again (the list clips its children): it shows the same
// columns.
void QlListSetRowCount(HWND list, int count);
