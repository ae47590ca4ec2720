// The transactions window and the quotation form are not part of the program
// yet: their openers leave the main window as it is and free what they are
// handed.
#include "transactions/QlTransOpen.h"

#include <stdlib.h>

HWND QlTransPaneCreate(HWND parent)
{
    return NULL;
}

HWND QlQuoteOpenNew(const char *accountRef, QlQuotePrefill *prefill)
{
    free(prefill);
    return NULL;
}
