// Openers of the transactions module that the main window calls.
#pragma once

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

// The transactions window as the module window (child of parent); returns
// it, NULL when none was opened.
HWND QlTransPaneCreate(HWND parent);

// Posted (WM_USER+18) by a quotation view whose quotation is copied into a
// new one: a heap block that belongs to whoever receives it.
#pragma pack(push, 1)
struct QlQuotePrefill {
    int64_t sourceKey;   // iKey of the quotation copied
    int32_t type;        // document type, 4 for a quotation
    int32_t subType;     // its line mode
};
#pragma pack(pop)
static_assert(sizeof(QlQuotePrefill) == 16, "prefill block of 16 bytes");
static_assert(offsetof(QlQuotePrefill, type) == 8, "document type is the third 32-bit field");

// New invoice, credit note and payment for the account shown in the
// customers module (its A/C ref display).  Each takes the module slot and
// returns the new form, NULL when none was opened.  (The customers module
// reaches them through the openers of docmodel/QlOpeners.h.)
HWND QlInvNewForCust(HWND customersModule);
HWND QlCreditNewForCust(HWND customersModule);
HWND QlPayNew(HWND customersModule);

// Opens a new quotation form as the module window, for the account reference
// (NULL: none) and filled from the prefill block (NULL: empty).  Takes the
// block over: it is freed with free() once no form needs it.  Returns the
// form, NULL when none was opened.
HWND QlQuoteOpenNew(const char *accountRef, QlQuotePrefill *prefill);
