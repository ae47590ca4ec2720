// Pieces that the document forms share (one form is open at a time): the
// invoice editor, the new credit-note form, the views, and the purchase
// windows, which are built on the same template.
#pragma once

#include "ui/QlToolbar.h"

#include <windows.h>

// The largest gross of a document, in cents.
#define QL_MAX_GROSS_CENTS 99999999999LL

// The form's tool-bar commands (WM_COMMAND ids sent by its tool bar).
enum { QL_FORM_CMD_SAVE = 0, QL_FORM_CMD_CLOSE = 1 };

// Fills the main window's pane, no wider than its client area.
void QlTransFormFitPane(HWND form);
// Moves the header block (title, type, number, date, A/C ref) and the
// totals so that the title ends 3 pixels from the form's right edge.
void QlTransFormShiftHeader(HWND form);
// Creates the form's Save / Close tool bar along its bottom, the title font
// on 1184 and, when the form keeps it, the barcode font and Enter handling
// on 1141.
void QlTransFormStartParts(HWND form, const char *title);
// The same with a bottom bar made from the given table (a view's bar); the
// layout finds it in QlSaveCloseToolbar, QlDocViewToolbar or QlFormOwnToolbar.
void QlTransFormStartPartsWith(HWND form, const char *title, QlToolbarItem *items, int count);
// Releases what QlTransFormStartParts made.
void QlTransFormEndParts(HWND form);
// 1 when a WM_COMMAND with this id came from the form's tool bar (ids 0 to
// its button count - 1).
int QlTransFormIsToolbarCommand(HWND form, int id, LPARAM lParam);
// The account block's captions and limits; the date picker's format; the
// pending account's address.
void QlTransFormStartAccount(HWND form, const char *toCaption, const char *numberCaption, const char *dateCaption);
// Its two halves: captions, limits and date format; the pending account.
void QlTransFormSetAccountCaptions(HWND form, const char *toCaption, const char *numberCaption,
                                   const char *dateCaption);
void QlTransFormShowPendingAccount(HWND form);
// The invoice's captions (account block, header, carriage, prices, gross
// caption by language) and the carriage rate combo, as the editor shows them.
void QlTransFormSetInvoiceCaptions(HWND form);
// Gross caption 1168 (and 1162) by the user-interface language.
void QlTransFormShowGrossCaption(HWND form);
// Select: dialog 182, the chosen account into the block.
void QlTransFormSelectAccount(HWND form);
// Delete: asks about the selected row and deletes it; 1 when deleted (the
// caller sums its totals again).
int QlTransFormDeleteLine(HWND form);
// The commands the invoice editor and the new quotation share: the bar's
// Save (as docType) and Close, Add (addFlag as QlTransAddItem), Edit,
// Select and the form type.  1 when the command was one of those.
int QlTransFormLineCommand(HWND form, int id, int code, LPARAM lParam, int docType, int addFlag);
// WM_DESTROY of a document form: its parts released, the module slot emptied.
INT_PTR QlTransFormDestroyed(HWND form);
// Close: at once when there are no lines, else after the question.
void QlTransFormCloseCommand(HWND form);
// Black on white for the form's boxes; the brush, or FALSE for other statics.
INT_PTR QlTransFormStaticColour(HWND form, HDC dc, HWND control, COLORREF titleColour);
// The same with a black title.
INT_PTR QlTransFormCtlColor(HWND form, HDC dc, HWND control);
// 1 when the main window is maximized.
int QlTransMainMaximized(void);
// Destroys the module window and creates the form (template 140) with the
// procedure as the new one; the form, NULL on failure.
HWND QlTransOpenForm(DLGPROC procedure);
// The same on another template with the document form's ids (the quotation form).
HWND QlTransOpenFormOn(DLGPROC procedure, int templateId);

// Sets the date picker to the stored day-first date and lets it show no
// other day; 0 (picker disabled) when the text is not a date.
int QlTransFixDate(HWND form, const char *storedDate);
// The result of a view's PDF command: written (the saved text, a format
// with one "%s", with the file's full path in the status panel), cancelled
// (nothing), the file in use and left as it was (a message saying so) or
// failed ("Failed to create PDF file").
void QlTransReportPdf(HWND form, int written, int status, const char *savedText, const char *path);
