// The purchase documents: the purchase-invoice window (form 140) with its
// line dialog (352), and the purchase-order window (324) with its order-item
// dialog (328) and its printed, PDF and e-mailed output.
//
// Each window runs in one of two modes, set by its opener before the window
// is created: new (lines are added, edited and deleted, then saved) or
// stored (a saved document shown read-only).  The openers are declared in
// QlPurchOpen.h and QlSuppCurrent.h.  One window is open at a time (it is the
// module window), so the state of the open window is program-wide, as below.
#pragma once

#include "print/QlPicture.h"
#include "print/QlPrint.h"
#include "datastore/QlDbRecords.h"

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

// ---------------------------------------------------------------------------
// The purchase-invoice window

// 0 new, 1 stored; set by the opener, read when the window is rebuilt.
extern int QlPurchInvMode;
// Stored mode: a copy of the trans row handed to QlPurchInvOpen.
extern QlTransRec QlPurchInvHeader;

INT_PTR CALLBACK QlPurchInvDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlPurchInvViewDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// Creates the window again at the main window's size with what the user
// entered (new mode: the supplier fields, the date, every line) or, stored,
// from the database; the new window, NULL when nothing was rebuilt (no
// memory for the lines: the old window stays as it was).
HWND QlPurchInvRebuild(HWND window, int unused);
// Row function of the stored view: the line goes to the end of the list, so
// that the lines show in the order they were entered.
int QlPurchInvLineRowCb(const QlItemRec *line);
// The totals from the lines: 1187 price, 1163 net, 1164 tax, 1170 gross.
void QlPurchInvSumLines(HWND window);

// ---------------------------------------------------------------------------
// The purchase-invoice line dialog

// Add: a line through the dialog, appended to the list; the totals follow.
// 1 when a line was added.
int QlPurchLineAdd(HWND window);
// Edit: the selected line through the dialog, rewritten in place; 1 when the
// row was rewritten (the caller sums the totals), 0 without a selected row
// or when the dialog was cancelled.
int QlPurchLineEdit(HWND window);
INT_PTR CALLBACK QlPurchLineDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// Writes an accepted line (its description and price, with the rate in
// force and the line tax of QlItemWork) into row row: replace 0 inserts it
// there, 1 overwrites the row.  The row's index, -1 on failure.
int QlPurchMoneyText(HWND list, const struct QlLineRec *line, int row, int replace);
// 1 when a line of price and tax (cents) keeps the form's gross within the
// largest gross, once the edited row's old amount is taken out.  The larger
// of the tax shown and the tax at the rate counts.
int QlPurchLineWithinCeiling(int64_t price, int64_t lineTax, int64_t rate, int64_t formTotal, int64_t oldAmount);

// ---------------------------------------------------------------------------
// The purchase-order window

// 0 new, 1 stored; set by the opener.
extern int QlOrderMode;
// Stored mode: a copy of the trans row handed to QlOrderOpen.
extern QlTransRec QlOrderHeader;
// The line being added or edited, shared with the order-item dialog.
extern QlOrderRec QlOrderLine;
// 1 add, 0 edit; read by the order-item dialog.
extern int QlOrderItemMode;
// The order's total in cents without the line being added or edited: the
// order-item dialog keeps the order within the largest amount with it.
extern int64_t QlOrderOtherLinesCents;

// List columns of the order lines (5 and 6 lie beyond the visible width and
// carry the product's row id and code for saving).
enum {
    QL_ORDER_COL_SUPP_CODE,
    QL_ORDER_COL_DESCR,
    QL_ORDER_COL_QTY,
    QL_ORDER_COL_UPRICE,
    QL_ORDER_COL_TOTAL,
    QL_ORDER_COL_ROWID,
    QL_ORDER_COL_SCODE,
    QL_ORDER_COLUMNS
};

// The commands of the window's bottom tool bars.
enum { QL_ORDER_CMD_SAVE = 0, QL_ORDER_CMD_CLOSE = 1 };
enum { QL_ORDER_CMD_PRINT = 0, QL_ORDER_CMD_EMAIL = 1, QL_ORDER_CMD_PDF = 2, QL_ORDER_CMD_VIEW_CLOSE = 3 };

INT_PTR CALLBACK QlOrderDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
// Appends a row from a line record (also the stored view's row function).
int QlOrderLineAppend(const QlOrderRec *line);
void QlOrderLineAdd(HWND window);
void QlOrderLineEdit(HWND window);
void QlOrderLineDelete(HWND window);
// Writes the working line into the row being edited.
void QlOrderLineRewrite(const QlOrderRec *line);
// 1398 = the sum of the rows' totals.
void QlOrderTotal(HWND window);
// Saves the new order: the trans row (type 5) and one orders row a line, in
// one database transaction; the window is closed when it was stored.  1
// when stored; 0 after a refusal or a failure (nothing is then stored).
int QlOrderSave(HWND window);
// The window laid out for the maximized and the normal main window.
void QlOrderLayout(HWND window);
void QlOrderRestoreLayout(HWND window);

// ---------------------------------------------------------------------------
// The order-item dialog

INT_PTR CALLBACK QlOrderItemDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// Sort columns of the product list: 0 code, 1 supplier code, 2 name, 3 cost
// price, 4 stock, 5 barcode; 6 the database's order.  Fills the open
// dialog's list.
void QlOrderItemLoad(int sortColumn);
int QlOrderItemRowCb(const QlProdRec *product);
// The focused product row into the fields.
void QlOrderItemShow(HWND dialog);
// Finds the find text in the chosen column; 1 with the row.
int QlOrderItemFind(HWND dialog, int *row);
// Reads the fields into the line: 1 when taken; 0 after telling the user
// why not (no product chosen; a quantity that is not a whole number of 1 or
// more; a line that takes the order past the largest amount).
int QlOrderItemRead(HWND dialog, QlOrderRec *line);
// The line total in cents of a unit price text and a quantity; -1 for a
// negative price or quantity or one beyond the largest amount or quantity.
int64_t QlOrderLineCents(const char *unitPrice, int64_t quantity);

// ---------------------------------------------------------------------------
// The purchase order's output, read from the open stored order window

// Prints the order on a printer the user picks; 1 when printed.
int QlOrderPrint(HWND window);
// Writes the PDF: path (at least QL_DOC_PATH_SIZE bytes) receives the
// default file name ("order15.pdf"); with ask 1 a save dialog (QlAskSavePath,
// PDF files) chooses the file and path holds its full path.  1 when the
// file was saved; *status as the document writers' (QlDocOutput.h).
int QlOrderSavePdf(HWND window, char *path, int ask, int *status);
// As QlOrderSavePdf without asking, into folder (the mail's own temporary
// folder); path receives the file's full name.
int QlOrderSavePdfIn(HWND window, const char *folder, char *path, int *status);
// The PDF written under its default name in a temporary folder of its own
// and handed to the e-mail dialog.
int QlOrderEmail(HWND window);
// The subject and message of an order's mail.
void QlOrderMailCompose(const char *number, char *subject, size_t subjectSize, char *message, size_t messageSize);

// One print of an order: what the front found out before the print dialog.
struct QlOrderPrintJob {
    HWND window;
    QlPrintStyleRec style;
    HBITMAP logo;              // the job's own copy, NULL for none
    QlPictureSizeRec logoSize;
    int barcode;               // the order number as a barcode
};
// Fills the job from the settings for the window (no logo is loaded).
void QlOrderPrintJobInit(QlOrderPrintJob *job, HWND window);
// The printing core for QlPrintDocument: draws the order of job->window
// from its first page; 1 when drawn whole.
int QlOrderPrintDraw(QlPrintTarget *target, void *job);
