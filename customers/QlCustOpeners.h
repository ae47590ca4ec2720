// Openers of the account screens that the customers module starts: labels
// and letters, the printed and exported account, the activity view and the
// statement window.
#pragma once

#include "datastore/QlDbRecords.h"

#include <windows.h>

// The dialogs of letters (220, 221) and labels (199).
INT_PTR CALLBACK QlCustLetterSelectDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlCustLetterDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlCustLabelDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Commands 9-12 of the module, each with the module window.
void QlCustOpenLabel(HWND module);
void QlCustOpenLetter(HWND module);
void QlCustPrintList(HWND module);
// 1 when the file was written; 0 when nothing was (no account, cancelled,
// or a file that could not be written, which is reported).
int QlCustExportList(HWND module);

// The activity view (dialog 160), run modally for the account of
// QlCustContext; QlCustAccountChosen points to the transaction the user chose
// to open, NULL when none.
INT_PTR CALLBACK QlCustAccountDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
extern QlTransRec *QlCustAccountChosen;

// The statement window (dialog 186) for the account of QlCustContext, in the
// module slot (the window there is destroyed first).  Returns it.
HWND QlStmtOpen(void);
