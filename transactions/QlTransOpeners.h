// The transactions side's doors that other modules open: the new-document
// openers for a customer account, the one road from a stored transaction to
// the form that shows it, and the short message pump of long list loads.
#pragma once

#include "datastore/QlDbRecords.h"
#include "transactions/QlTransOpen.h"

#include <windows.h>
#include <stdint.h>

// New invoice, credit note and payment for the account shown in the
// customers module (its A/C ref display).  Each takes the module slot and
// returns the new form, NULL when none was opened.
HWND QlInvNewForCust(HWND customersModule);
HWND QlCreditNewForCust(HWND customersModule);
HWND QlPayNew(HWND customersModule);

// Opens the form of a stored transaction by its type (1 invoice by sub-type,
// 2 credit note, 3 payment, 4 quotation, 5 purchase order, 6 purchase
// invoice) in the module slot; the views keep a copy of the record.  NULL for
// any other type.
HWND QlTransOpenByType(QlTransRec *rec);

// The openers QlTransOpenByType picks from: by type and, for invoices, by
// line mode (-1: any).  Each takes the module slot and returns the form.
struct QlTransOpener {
    uint32_t type;
    int lineMode;
    HWND (*open)(const QlTransRec *rec);
};
#define QL_TRANS_OPENER_COUNT 7
extern QlTransOpener QlTransOpenerTable[QL_TRANS_OPENER_COUNT];

// Keeps the program responsive while a long list fills: called once per row,
// it runs up to 15 waiting messages of the thread (translated and
// dispatched), ending early when the queue is empty.  It looks into the queue
// at most once every QlUiPumpIntervalMs milliseconds (10; tests that need it
// to look at every call set 0); calls in between return at once.  A quit
// message is left in the queue for the main message loop.  1 when it looked
// into the queue (a load shows its rows so far before that), 0 when not.
extern DWORD QlUiPumpIntervalMs;
int QlUiPumpMessages(void);
