// The supplier that the purchasing screens share, and the suppliers list the
// purchase-document commands take it from.
#pragma once

#include "datastore/QlDbRecords.h"

#include <windows.h>

// The current supplier: set from the suppliers list, by the supplier select
// dialog or from a stored purchase document; it outlives every window.
extern QlSuppRec QlSuppCurrent;

// The suppliers window while it exists, NULL otherwise.
extern HWND QlSuppWnd;

// 1 when the suppliers list has a focused row: the row id shown in its column
// 2 goes into rec->iKey (nothing else of rec changes) and the row's index
// into *index; 0 when there is no suppliers window or no focused row.
int QlSuppGetSelected(QlSuppRec *rec, int *index);

// A new purchase invoice and a new purchase order for the supplier focused in
// the suppliers list, in the module slot; nothing (NULL) when none is focused.
HWND QlPurchInvNew(HWND owner);
HWND QlOrderNew(HWND owner);

// The supplier select dialog (template 182): nonzero when the chosen
// supplier was loaded into QlSuppCurrent.
INT_PTR CALLBACK QlSuppSelectDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
