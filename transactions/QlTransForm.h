// The document forms on template 140: the invoice editor (service and
// product lines) and the new credit-note form, their openers and the state
// they share with the line dialogs.
//
// One document form is open at a time (it is the module window), so the
// state of the open form is program-wide, as below.
#pragma once

#include "transactions/QlTransFormParts.h"

#include <windows.h>

// The open form's line mode: 0 service lines, 1 product lines.  It is also
// the saved document's sub_type.
extern int QlTransLineMode;
// Lines added on the open form: the next line's row.
extern int QlTransLineCount;
// The A/C ref for which the next new document opens (5 characters).
extern char QlTransPendingAcRef[6];
// The barcode read in the form's barcode field, for the product dialog that
// opens next (30 characters).
extern char QlTransScanBuffer[31];

// Barcodes shorter than this are refused.
#define QL_BARCODE_MIN_LENGTH 12
// (The largest gross of a document and the form's tool-bar commands:
// QlTransFormParts.h.)

// Openers: each destroys the module window, creates the form in the main
// window's pane as the new module window and returns it (NULL when none was
// opened).  The ...ForCust openers take the account shown in the customers
// module (its A/C ref display 1130) and refuse, with a message, when the
// transaction counter has reached its limit.
HWND QlInvNew(void);
HWND QlCreditNew(void);
// (QlInvNewForCust and QlCreditNewForCust: transactions/QlTransOpen.h.)

INT_PTR CALLBACK QlInvNewDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlCreditNewDlgProc(HWND form, UINT msg, WPARAM wParam, LPARAM lParam);

// Switches the line mode to the selection of combo 1154, asking first when
// lines would be lost; 1 when the mode changed.  fit widens the description
// column when the main window is maximized.
int QlTransChangeFormType(HWND form, const int *serviceWidths, int fit);
// Carriage changed: its tax, the carriage totals and the gross.
void QlTransUpdateCarriage(HWND form);
// Enter in the barcode field: a barcode of 12 characters or more opens the
// product dialog, which looks it up (flag as QlTransAddItem).
void QlTransOnBarcodeEnter(HWND form, int flag);
// Creates the editor again with the same contents (after the main window was
// restored); the new form, NULL when nothing was rebuilt.
HWND QlTransFormRebuild(HWND form);

// Fonts of the forms and line dialogs: the large title and the barcode field.
// Each call makes a new font, which the window deletes when it closes.
HFONT QlTransMakeTitleFont(void);
HFONT QlTransMakeBarcodeFont(void);
