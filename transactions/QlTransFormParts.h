// Pieces that the invoice editor and the new credit-note form share (one
// form is open at a time).  Internal to the transactions module.
#pragma once

#include <windows.h>

// Fills the main window's pane, no wider than its client area.
void QlTransFormFitPane(HWND form);
// Moves the header block (title, type, number, date, A/C ref) and the
// totals so that the title ends 3 pixels from the form's right edge.
void QlTransFormShiftHeader(HWND form);
// Creates the form's Save / Close tool bar along its bottom, the title font
// on 1184 and, when the form keeps it, the barcode font and Enter handling
// on 1141.
void QlTransFormStartParts(HWND form, const char *title);
// Releases what QlTransFormStartParts made.
void QlTransFormEndParts(HWND form);
// 1 when a WM_COMMAND with this id came from the form's tool bar.
int QlTransFormIsToolbarCommand(HWND form, int id, LPARAM lParam);
// The account block's captions and limits; the date picker's format; the
// pending account's address.
void QlTransFormStartAccount(HWND form, const char *toCaption, const char *numberCaption, const char *dateCaption);
// Select: dialog 182, the chosen account into the block.
void QlTransFormSelectAccount(HWND form);
// Delete: asks about the selected row and deletes it; 1 when deleted (the
// caller sums its totals again).
int QlTransFormDeleteLine(HWND form);
// Close: at once when there are no lines, else after the question.
void QlTransFormCloseCommand(HWND form);
// Black on white for the form's boxes; the brush, or FALSE for other statics.
INT_PTR QlTransFormStaticColour(HWND form, HDC dc, HWND control, COLORREF titleColour);
// 1 when the main window is maximized.
int QlTransMainMaximized(void);
// Destroys the module window and creates the form (template 140) with the
// procedure as the new one; the form, NULL on failure.
HWND QlTransOpenForm(DLGPROC procedure);
