// What the document forms call to print, save and e-mail the document they
// show.  Each function reads what it needs from the form's own controls
// (header fields and the line list 1161), so a form passes only its window
// and its line mode (0 service lines, 1 product lines).
#pragma once

#include <windows.h>

// Path buffers handed to the PDF writers hold at least this many bytes.
#define QL_DOC_PATH_SIZE MAX_PATH

// Status of the PDF writers.
#define QL_PDF_STATUS_OK 0
#define QL_PDF_STATUS_CANCELLED 1
#define QL_PDF_STATUS_WRITE_FAILED 2
// The file of that name is held by another handle (an attachment being sent,
// a viewer): it was left as it was.
#define QL_PDF_STATUS_IN_USE 3
// The disk is full: the file was not written, a file of that name was left
// as it was.
#define QL_PDF_STATUS_NO_SPACE 4

// Prints the invoice shown in an invoice form on a printer the user picks.
// flag is always 0; the result means nothing to callers.
int QlInvPrint(HWND form, int flag, int lineMode);
// E-mails the invoice shown in the form (PDF or HTML attachment by the
// user's choice); the result means nothing to callers.
int QlInvEmail(HWND form, int flag, int lineMode);
// Writes the invoice shown in the form as a PDF file.  path (at least
// QL_DOC_PATH_SIZE bytes) receives the default file name before any dialog;
// with ask non-zero a save dialog (QlAskSavePath, PDF files) chooses the
// file, and path then holds its full path.  Returns 1 when the file
// was written; *status is QL_PDF_STATUS_CANCELLED when the user cancelled,
// QL_PDF_STATUS_WRITE_FAILED when the file could not be written,
// QL_PDF_STATUS_IN_USE when the file there is in use and was left as it was,
// QL_PDF_STATUS_NO_SPACE when the disk is full (a file there left as it was),
// 0 otherwise.  The file is written whole or not at all.
int QlInvSavePdf(HWND form, int lineMode, char *path, int ask, int *status);

// Prints the delivery note from the delivery-note dialog (its header and list).
int QlDeliveryNotePrint(HWND dialog);

// Credit notes: print, e-mail, save as PDF (as QlInvSavePdf), and save from
// the view with its own messages.
int QlCreditPrint(HWND form);
int QlCreditEmail(HWND form);
int QlCreditSavePdf(HWND form, char *path, int ask, int *status);
void QlCreditSavePdfFromView(HWND form);

// Quotations: print, e-mail and save as PDF (as QlInvSavePdf).
int QlQuotePrint(HWND form, int lineMode);
int QlQuoteEmail(HWND form, int lineMode);
int QlQuoteSavePdf(HWND form, int lineMode, char *path, int ask, int *status);

// The e-mail attachments: as the PDF writers above without asking, written
// as "<title><number>.pdf" into folder (the mail's own temporary folder);
// path receives the file's full name.
int QlInvSavePdfIn(HWND form, int lineMode, const char *folder, char *path, int *status);
int QlCreditSavePdfIn(HWND form, const char *folder, char *path, int *status);
int QlQuoteSavePdfIn(HWND form, int lineMode, const char *folder, char *path, int *status);

// Prints the payment shown in the payment view.
int QlPayPrint(HWND view);

// Writes one HTML table row of two cells (label, value, both escaped) to an
// open file; TRUE when every byte was written.
BOOL QlHtmlWriteTotalRow(HANDLE file, const char *label, const char *value);
