// The views of stored documents (invoices of service or product lines,
// credit notes, quotations), the delivery note of a product invoice and the
// quotation form, with their openers.
//
// A view shows the stored document read-only, except that a line can be
// edited and is then written back at once (QlTransWriteBackLine).  Its tool
// bar prints, e-mails and saves the document as PDF through the document
// output (documents/QlDocOutput.h), which reads the view's own controls.
#pragma once

#include "ui/QlToolbar.h"
#include "datastore/QlDbRecords.h"
#include "transactions/QlTransFormParts.h"
#include "transactions/QlTransOpen.h"

#include <windows.h>

// The stored document the open view shows: a copy of the record its opener
// was given, read again from the database after a line was written back and
// before the view is reopened.  iKey 0 while no view has been opened.
extern QlTransRec QlTransContext;
// Takes the record as the context (a copy).
void QlTransSetContext(const QlTransRec *rec);

// Openers of the views: each takes the record as the context, destroys the
// module window and creates the view in its place; the view, NULL when none
// was opened.
HWND QlInvOpenServ(const QlTransRec *rec);
HWND QlInvOpenProd(const QlTransRec *rec);
HWND QlCreditOpen(const QlTransRec *rec);
HWND QlQuoteOpenView(const QlTransRec *rec);
// Opens the context's view again (its record read again from the database),
// so that it is laid out for the main window's new size; nothing while no
// context is set.  The view, NULL when none was opened.
HWND QlTransReopen(void);

INT_PTR CALLBACK QlInvViewServDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlInvViewProdDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlCreditViewDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlQuoteNewDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlQuoteEditDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam);

// Fills an invoice view from the context: captions, carriage, the account
// block (read-only), order number, number and the fixed date.
void QlInvLoad(HWND form);

// (The fixed date of a view, QlTransFixDate: QlTransFormParts.h.)

// Edit on a view: the selected line through its line dialog, written back
// with the header (type 1, 2 or 4).  When the line changed on the form but
// could not be stored (after the message), the view is opened again from
// the database, so that it shows what is stored.  1 when stored.  On an
// invoice or credit note the first Edit of a view asks first, naming the
// document ("Invoice 1 has been saved already. ..."); Cancel changes nothing.
int QlTransViewEdit(HWND form, int type);

// (The result of a view's PDF command, QlTransReportPdf: QlTransFormParts.h.)

// A view bar's label: the text with two blanks on each side.
void QlTransViewPadLabel(QlToolbarItem *item, const char *label);

// The delivery note of the stored invoice transKey: dialog 218, modal over
// owner; nothing when the invoice cannot be read.
void QlDeliveryNoteOpen(HWND owner, int64_t transKey);
INT_PTR CALLBACK QlDeliveryNoteDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// Row function of the delivery note's list: "#" from 1, code, quantity,
// description.
int QlDeliveryNoteRowCb(const QlItemRec *line);

// The quotation form.
// Loads the pending prefill's quotation lines into the new form (product or
// service rows by its line mode); its gross comes from its own figures.
void QlQuoteLoadPrefill(HWND form);
// Clone: closes the view and posts the main window a prefill block of the
// quotation (WM_USER+18); the block is freed here when it cannot be posted.
void QlQuoteCopyToNew(HWND view);
// Lays the quotation form out for the main window's size.
void QlQuoteLayout(HWND form, int lineMode);
// The description column back to 130 pixels (product lines) or 210 (service).
void QlTransFormResetColumnWidth(HWND form, int lineMode);
// Releases a prefill block; free() unless a test watches.
extern void (*QlQuotePrefillRelease)(QlQuotePrefill *block);
