// The tax report: the enabled invoices and credit notes that carry tax, for
// all dates or a date range, in a window of their own with the sums of their net and tax
// amounts, printed or written to a CSV file from what the list shows.
#pragma once

#include "core/QlDate.h"
#include "print/QlPrint.h"
#include "datastore/QlDbRecords.h"

#include <windows.h>
#include <stdint.h>

// The range of the last load: mode 0 all dates, 1 the dates from .. to
// (both included).  The list is the one the row function fills.
struct QlVatReportRangeRec {
    int mode;
    QlDateRec from;
    QlDateRec to;
    HWND list;
};
extern QlVatReportRangeRec QlVatReportRange;

#define QL_VAT_COLUMNS 6
#define QL_VAT_ROWS_PER_PAGE 35

// Entry 0 of the Reports dialog's print and export tables: ends the Reports
// dialog (owner) and runs the tax report window modally over the main
// window.  The window's result, 0.
int QlVatReportShow(HWND owner);
INT_PTR CALLBACK QlVatReportDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// Fills the window's list with the invoices of the range (mode 0: from and
// to are not read) and sets the two totals.  1 when the query ran; 0 after
// telling the user it failed (the list and the totals are then empty).
int QlVatReportLoad(HWND window, int listId, int mode, const QlDateRec *from, const QlDateRec *to);
// A document's amounts as the report lists them: tax = the lines' tax and
// the carriage's tax, net = the gross less that tax, both negative for a
// credit note (type 2).  1 when the document carries tax.
int QlVatReportAmounts(const QlTransRec *rec, int64_t *net, int64_t *tax);
// The load's row function: appends the document when it carries tax and its
// date is in range.
int QlVatReportRowCb(const QlTransRec *rec);

// Prints the list (the print dialog first); 1 when printed.  An empty list
// is refused with a message.
int QlVatReportPrint(HWND window);
// Writes the list to a CSV file chosen with the save dialog; 1 when written
// whole.  An empty list is refused with a message; a file that cannot be
// written is reported and removed.
int QlVatReportExportCsv(HWND window);

// What the printout draws, taken from the window.
struct QlVatReportJob {
    HWND list;
    int rows;
    char net[40];   // the two totals as the window shows them
    char tax[40];
};
// Fills the job from the window; its row count.
int QlVatReportJobFrom(HWND window, QlVatReportJob *job);
// The printout's drawing core (QlPrintDocument): the title lines, the pages
// of 35 rows and the page of totals.
int QlVatReportDraw(QlPrintTarget *target, void *job);
