// The printed list reports of the Reports dialog: customers, transactions
// (all, or the invoices, credit notes or payments only), products and
// services, each a ruled grid of 35 rows a page under a boxed page header,
// after a title block on the first page.
#pragma once

#include "print/QlGrid.h"
#include "print/QlPrint.h"
#include "datastore/QlDb.h"
#include "datastore/QlDbRecords.h"

#include <windows.h>

#define QL_LIST_REPORT_ROWS_PER_PAGE 35

// The one print state, valid while a report draws.
struct QlListReportStateRec {
    QlPrintTarget *target;   // NULL outside a print
    HDC dc;                  // the current page's
    RECT page;               // the printable rectangle with its margins
    SIZE line;               // extent of one character of the body font
    int pageCount;           // pages finished so far
    int row;                 // row on the page, 0 .. 34
    int transType;           // 0 all types, 1 invoices, 2 credit notes, 3 payments
    int failed;              // the device refused a page: nothing more is drawn
    int report;              // the report drawing (QL_LIST_REPORT_...)
    char error[QL_DB_ERR_SIZE];  // why the table walk failed, "" when it did not
};
extern QlListReportStateRec QlListReportState;

enum { QL_LIST_REPORT_CUST, QL_LIST_REPORT_TRANS, QL_LIST_REPORT_PROD, QL_LIST_REPORT_SERV };

// Entries 1 to 7 of the Reports dialog's print table.  Each shows the print
// dialog and prints; 1 when printed, 0 when cancelled or the device failed.
// A table walk that fails abandons the document (a part of a list would
// pass for all of it) and the user is told why.
int QlReportPrintCust(HWND owner);
int QlReportPrintTransAll(HWND owner);
int QlReportPrintInvoices(HWND owner);
int QlReportPrintCredits(HWND owner);
int QlReportPrintPayments(HWND owner);
int QlReportPrintProd(HWND owner);
int QlReportPrintServ(HWND owner);
// The transaction list of the type the print state holds.
int QlReportPrintTrans(HWND owner);

// The row functions: one row of the report's grid each.
int QlReportCustRowCb(const QlCustRec *rec);
int QlReportTransRowCb(const QlTransRec *rec);
int QlReportProdRowCb(const QlProdRec *rec);
int QlReportServRowCb(const QlServRec *rec);

// The drawing core of a report (QlPrintDocument), for the transaction list
// with the print state's type.  1 when the document is whole; 0 when the
// device refused a page or the table walk failed (its text in the state's
// error).
int QlListReportDraw(QlPrintTarget *target, int report);
// The type name a transaction prints with ("Invoice-S", "Payment", ...).
const char *QlListReportTypeName(uint32_t type, uint32_t subType);

// Shared by the printed reports.  The title block: the name, and under it
// the company name in brackets, centred across the page from the top of the
// printable area in a 14-point bold italic font, which is deleted again.
void QlReportDrawTitleBlock(HDC dc, const RECT *page, const char *name);
// The 9-point "Arial" body font, selected into the device context; *line
// receives the extent of one character in it (at least 1 x 1) and *previous
// the font it replaced.  NULL when the font could not be made.
HFONT QlReportSelectBodyFont(HDC dc, SIZE *line, HGDIOBJ *previous);
// The inset of cell texts from the grid's lines: 10 units on a 600 dpi
// printer, in proportion on other devices, at least 2, so that a text keeps
// inside its row on a device of low resolution too.
int QlReportCellInset(HDC dc);
// A text into grid cell (row, column) with the format (DT_LEFT, DT_RIGHT),
// on one line, cut off at the inset before the cell's edges.
int QlReportDrawCell(HDC dc, const QlGridRec *grid, const char *text, int row, int column, UINT format);
// The column titles into row 0, left-aligned.
void QlReportDrawTitles(HDC dc, const QlGridRec *grid, const char *const *titles, int count);
