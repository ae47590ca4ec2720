// The statement window (dialog 186): every sales invoice and customer
// payment of one account dated on or after a "from" date, each with the
// running balance after it, and the "Total Due Now".  It prints the
// statement, saves it as a PDF file and writes it as an HTML file, all from
// what the window shows.  It is a module window; QlStmtOpen (QlCustOpeners.h)
// opens it for the account of QlCustContext.
#pragma once

#include "core/QlDate.h"
#include "print/QlPicture.h"
#include "print/QlPrint.h"
#include "datastore/QlDbRecords.h"

#include <windows.h>
#include <stdint.h>

// Tool-bar commands.
enum { QL_STMT_CMD_PRINT, QL_STMT_CMD_HTML, QL_STMT_CMD_PDF, QL_STMT_CMD_CLOSE };

// Statement columns: number, date, type, invoice amount, paid amount,
// running balance.
enum { QL_STMT_COL_KEY, QL_STMT_COL_DATE, QL_STMT_COL_TYPE, QL_STMT_COL_INVOICE, QL_STMT_COL_PAID,
       QL_STMT_COL_BALANCE, QL_STMT_COLUMNS };

// Statement lines a page holds on paper and in the PDF file.
#define QL_STMT_LINES_PER_PAGE 16
#define QL_STMT_LINES_PER_PDF_PAGE 25

// The from date of the current load and the running balance in cents.
extern QlDateRec QlStmtFromDate;
extern int64_t QlStmtRunningCents;

INT_PTR CALLBACK QlStmtDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Empties the list and fills it with the account's enabled invoices and
// payments dated on or after from, in the order of their numbers, each with
// the running balance; the total is the last line's balance, "0.00" without
// lines.  1 when the query ran; 0 when it failed (the total keeps its text).
int QlStmtLoad(HWND window, int listId, const QlCustRec *customer, const QlDateRec *from);
// The row function of the load.
int QlStmtRowCb(const QlTransRec *rec);
// Appends one statement line to the lines the window keeps (the list is
// owner-data) and moves the running balance; outside a load the list shows
// it at once, a load shows its lines when it ends.
void QlStmtAddRow(HWND list, const QlTransRec *rec);
// Lays the window out for the main window's maximized size.
void QlStmtLayout(HWND window);

// ---------------------------------------------------------------------------
// Output, from the window's contents

// What the printed statement draws, read from the window.
struct QlStmtPrintJob {
    HWND list;
    int lines;
    char titles[QL_STMT_COLUMNS][128];
    char title[80];            // "STATEMENT"
    char boxLabels[3][80];     // "A/C Ref:", "Date:", "From Date"
    char boxValues[3][80];     // the account reference, the statement date, the from date
    char address[4][40];       // company and address lines of the account
    char total[160];           // "Total Due Now:  100.00"
    HBITMAP logo;              // NULL: no logo
    QlPictureSizeRec logoSize;
    QlPrintStyleRec style;
};
void QlStmtPrintJobFrom(HWND window, QlStmtPrintJob *job);
// The drawing core (QlPrintDocument): 16 lines a page.
int QlStmtDrawPages(QlPrintTarget *target, void *job);

// Prints: refused without an account ("Missing Account Number"), nothing
// without lines.
void QlStmtPrint(HWND window);
// Tool-bar command PDF: "No form items" without lines; the file dialog; the
// result in the status panel or a message.
void QlStmtSavePdf(HWND window);
// Writes the statement as an A4 PDF file (25 lines a page).  path (at least
// MAX_PATH bytes) receives the suggested name "<title>.pdf" and, with ask
// set, the name the user chose.  The file is written whole or not at all
// (under a temporary name, moved into place when complete).  1 when the file
// was written; 0 otherwise, *outcome 1 when the user cancelled the file
// dialog, 2 when the file there is in use (held by another handle) and was
// left as it was, 3 when the disk is full (a file there left as it was),
// else 0.
int QlStmtWritePdf(HWND window, char *path, int ask, int *outcome);

// Writes the statement as "<Title>.htm" (the title with its first letter
// kept and the rest lower-cased) in the working folder; the name goes to
// path (at least 80 bytes).  Company and customer texts are escaped.  1 when
// the whole file was written; 2 (QL_FILE_IN_USE) when the file there is in
// use and was left as it was; 0 when it could not be created or written.
// Nothing is left of a file that was not written whole.
int QlStmtWriteHtml(HWND window, char *path, const QlCustRec *customer);
// Tool-bar command HTML: writes the file for the account shown and reports
// the result.
void QlStmtSaveHtml(HWND window);
