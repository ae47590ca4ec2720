// The doors between the modules.  A module opens another module's windows
// only through these tables, never through its headers: the shell fills them
// in at start-up (QlShellSetOpeners, shell/QlOpenerSetup.h), and an entry
// left empty opens nothing.  Here too: the one road from a stored
// transaction to the form that shows it, and the short message pump of long
// list loads.
#pragma once

#include "datastore/QlDbRecords.h"

#include <windows.h>
#include <stdint.h>

// The new-document commands refuse to start from this many transactions on.
#define QL_TRANS_LIMIT 32000

struct QlQuotePrefill;   // transactions/QlTransOpen.h

// Opens the form of a stored transaction by its type (1 invoice by sub-type,
// 2 credit note, 3 payment, 4 quotation, 5 purchase order, 6 purchase
// invoice) in the module slot; the views keep a copy of the record.  NULL for
// any other type, and for a type whose opener is not filled in.
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

// The other doors, each named by the module that opens and the module whose
// window it opens.
struct QlModuleOpenersRec {
    // customers to transactions: a new invoice, credit note and payment for
    // the account shown in the customers module (its A/C ref display); each
    // takes the module window, opens the form in the module slot and returns
    // it, NULL when none was opened.
    HWND (*invoiceForCust)(HWND customersModule);
    HWND (*creditForCust)(HWND customersModule);
    HWND (*paymentForCust)(HWND customersModule);
    // customers to transactions: a new quotation for the account reference
    // (NULL: none), filled from the prefill block (NULL: empty), which it
    // takes over.  The form, NULL when none was opened.
    HWND (*newQuote)(const char *accountRef, QlQuotePrefill *prefill);
    // transactions to customers: the select-customer dialog (182) modally
    // over owner.  Its result; *taken points to a copy of the account taken,
    // NULL when none was.
    INT_PTR (*selectCustomer)(HWND owner, const QlCustRec **taken);
    // catalogue to reports: the products window's Export command, the
    // products CSV export.
    void (*exportProducts)(HWND productsWindow);
    // documents, customers and purchasing to netmail: the e-mail dialog
    // modally over owner, as netmail/QlMail.h's QlMailOpenDialog runs it;
    // its result.
    int (*mailDialog)(HINSTANCE instance, HWND owner, const char *caption, const char *attachment,
                      const char *recipient, const char *subject, const char *message);
};
extern QlModuleOpenersRec QlModuleOpeners;

// Keeps the program responsive while a long list fills: called once per row,
// it runs up to 15 waiting messages of the thread (translated and
// dispatched), ending early when the queue is empty.  It looks into the queue
// at most once every QlUiPumpIntervalMs milliseconds (10; tests that need it
// to look at every call set 0); calls in between return at once.  A quit
// message is left in the queue for the main message loop.  1 when it looked
// into the queue (a load shows its rows so far before that), 0 when not.
extern DWORD QlUiPumpIntervalMs;
int QlUiPumpMessages(void);
