// The sales statistics window (dialog 224, a module window): for one
// calendar year and for all customers or one, the invoiced sales of each
// month as a table, the year's total and a graph of twelve bars or a line
// scaled to the best month; and the same on one printed page.  Only enabled
// invoices (type 1) count, by their gross.  QlSalesGraphOpen
// (reports/QlReportsOpen.h) opens it.
#pragma once

#include "print/QlPrint.h"
#include "datastore/QlDbRecords.h"

#include <windows.h>
#include <stdint.h>

#define QL_SALES_MONTHS 12
#define QL_SALES_YEARS 10

// What the window shows, kept while the program runs: the figures, the year
// and the customer they are for, and the drawing mode.
struct QlSalesStateRec {
    int64_t units[QL_SALES_MONTHS];      // the monthly sums, index 0 = January
    int hundredths[QL_SALES_MONTHS];
    int64_t cents[QL_SALES_MONTHS + 1];  // each month in cents; [12] the best month, the graph's scale
    char year[80];                       // the year text the rows are matched against
    int bars;                            // 1 bars, 0 lines
    char customer[40];                   // whose figures: a company name or "ALL CUSTOMERS"
    HWND window;                         // the open window and its caption label
    HWND caption;
};
extern QlSalesStateRec QlSalesState;

INT_PTR CALLBACK QlSalesDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
// QlSalesGraphOpen under the window's parent: the restored main window's new
// sales window.
HWND QlSalesReopen(HWND window, HWND caption);

// One row of the customers list: "ALL CUSTOMERS" and "0" with all set,
// otherwise the company name and the row id.
void QlSalesListAddRow(HWND list, const QlCustRec *customer, int all);
int QlSalesCustRowCb(const QlCustRec *customer);
// Appends a row with the text (a month) to the months list.
void QlSalesMonthRow(HWND list, const char *text);

// Recomputes everything shown for the year text and the customer (all set:
// every customer, customer not read): the months list, the scale labels,
// the total and the figures of QlSalesState.  1 when the query ran; 0 when
// it failed, the months then at 0.00 and the graph empty.
int QlSalesMonthlyTotals(HWND window, const QlCustRec *customer, const char *year, int all);
// Adds an invoice to the sum of its month when its date ("d/m/yyyy") is in
// the kept year.
int QlSalesMonthRowCb(const QlTransRec *rec);
// Recomputes for the focused customer row and the selected year and
// repaints; nothing without a focused row or when the customer cannot be
// read (the figures stay).
void QlSalesRefresh(HWND window, HWND customers);
// Lays the window out for the maximized main window.
void QlSalesLayout(HWND window, HWND caption);

// The graph panel's subclass procedure; the panel's painting, for a client
// area of width x height with the figures of cents (13 values as kept).
LRESULT CALLBACK QlSalesGraphWndProc(HWND panel, UINT msg, WPARAM wParam, LPARAM lParam);
void QlSalesGraphDraw(HDC dc, int width, int height, const int64_t *cents, int bars);
// A month's height on a graph of height pixels: its whole percent of the
// best month (truncated, none below 0), as that share of the height.
int QlSalesBarHeight(const int64_t *cents, int month, int height);

// ---------------------------------------------------------------------------
// The printed page, from what the window shows

struct QlSalesPrintJob {
    char company[40];            // the company name of the settings
    char year[10];
    char customer[40];           // whose figures
    char months[QL_SALES_MONTHS][80];
    char amounts[QL_SALES_MONTHS][80];
    char scale[5][80];           // the scale labels, from the bottom
    char total[80];
    int64_t cents[QL_SALES_MONTHS + 1];
    int bars;
    QlPrintStyleRec style;
};
void QlSalesPrintJobFrom(HWND window, QlSalesPrintJob *job);
// The drawing core (QlPrintDocument): one page.
int QlSalesDrawPage(QlPrintTarget *target, void *job);
// Print: the print dialog, then the page; cancelling prints nothing.
void QlSalesGraphPrint(HWND window);
