// Stand-ins for the views of stored invoices, credit notes and quotations,
// which come with their own screens: until then opening such a document
// leaves everything as it is.
#include "transactions/QlTransOpeners.h"

HWND QlInvOpenServ(const QlTransRec *rec)
{
    return NULL;
}

HWND QlInvOpenProd(const QlTransRec *rec)
{
    return NULL;
}

HWND QlCreditOpen(const QlTransRec *rec)
{
    return NULL;
}

HWND QlQuoteOpenView(const QlTransRec *rec)
{
    return NULL;
}
