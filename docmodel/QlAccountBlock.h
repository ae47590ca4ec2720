// The account block of the document forms and the statement window: the
// customer's A/C ref, company and address, as the invoice editor, the
// credit-note and quotation forms, the views and the statement show them.
#pragma once

#include "datastore/QlDbRecords.h"

#include <windows.h>

// Fills the customer block of a document form: acref into 1171 and 1159,
// company into 1173, the address lines into 1028-1030.
void QlCustShowAddress(HWND form, const QlCustRec *rec);
