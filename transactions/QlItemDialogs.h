// The line-item dialogs: a service line (template 183) or a product line
// (201) with QlItemDlgProc, a credit-note line (188) with
// QlCreditItemDlgProc.  A dialog shows the price, discount, tax rate, tax
// and total of the line live; on OK it leaves the line in QlItemLine or
// QlItemProdLine and QlItemWork (docmodel/QlTransLines.h), and the
// opener writes the row into the form's list.  The pieces other line dialogs
// use too: QlItemParts.h.
//
// All money is integer cents in 64 bits; no floating point is used.
#pragma once

#include "datastore/QlDbRecords.h"
#include "docmodel/QlTransLines.h"
#include "transactions/QlItemParts.h"

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

// Openers on a document form.  flag 1 gives the quotation captions.
// QlTransAddItem: 1 when a line was added (the totals are summed again).
int QlTransAddItem(HWND form, int flag);
// 1 when the selected row was changed; the caller sums the totals.
int QlTransEditItem(HWND form);
int QlCreditEditItem(HWND form);

// Dialog procedures; lParam of QlItemDlgProc is 1 for a product line.
INT_PTR CALLBACK QlItemDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlCreditItemDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Pick lists (owner-data: the rows of the catalogue cache,
// catalogue/QlCatalogueCache.h).
void QlItemTakeProductRow(HWND dialog, int row, const char *qtyText);
void QlItemShowService(HWND dialog, const QlServRec *service);
// (The product search, QlItemFindProduct: catalogue/QlCatalogueLists.h.)
// A barcode in field 1141: looked up and taken as the line.
void QlItemOnScan(HWND dialog, const char *qtyText);
