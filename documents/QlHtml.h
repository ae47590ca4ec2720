// HTML documents: the invoice, quotation and credit note open in a
// transaction form written as an HTML file, for the e-mailing of documents.
// The writers read the form's controls and its line list 1161, the customer
// record the caller looked up, the settings and the current language; each
// writes "<title><number>.htm" (the form's title and the number given) into
// folder (the mail's own temporary folder; NULL or empty: the working
// directory) and leaves the file's path in path (QL_DOC_PATH_SIZE bytes).
//
// Every text put into the markup has &, <, > and " escaped; the fixed parts
// are written as they stand.  Every write is checked: the file is written
// under a temporary name and moved into place only when it is whole; a
// writer that fails leaves nothing and answers 0.
#pragma once

#include "datastore/QlDbRecords.h"

#include <windows.h>

// lineMode 0 service lines (QlInvWriteHtmlServ), 1 product lines
// (QlInvWriteHtmlProd), anything else 0 without a file.  quote 1 leaves out
// the order-number row and the bottom lines.
int QlInvWriteHtml(HWND form, int lineMode, const char *folder, char *path, const char *number,
                   const QlCustRec *customer, int quote);
int QlInvWriteHtmlServ(HWND form, const char *folder, char *path, const char *number, const QlCustRec *customer,
                       int quote);
int QlInvWriteHtmlProd(HWND form, const char *folder, char *path, const char *number, const QlCustRec *customer,
                       int quote);
int QlCreditWriteHtml(HWND form, const char *folder, char *path, const char *number, const QlCustRec *customer);

// One line of the form's line list 1161 (looked up once per document) as a
// row of the line table (service, product and credit-note columns); 1 when
// it was written.
int QlHtmlWriteServRow(HWND lines, HANDLE file, int row);
int QlHtmlWriteProdRow(HWND lines, HANDLE file, int row);
int QlHtmlWriteCreditRow(HWND lines, HANDLE file, int row);

// Writes an HTML template: each "%s" takes the next of the count values
// (NULL is empty), escaped; each "%c" is a percent sign; everything else is
// copied.  1 when every byte was written and the template took exactly count
// values.
int QlHtmlPut(HANDLE file, const char *format, const char *const *values, int count);
