// Stand-ins for the views of stored invoices, credit notes and quotations,
// which come with their own screens: until then opening such a document
// leaves everything as it is.
#include "transactions/QlTransOpeners.h"

HWND QlInvOpenServ(QlTransRec *rec)
{
    return NULL;
}

HWND QlInvOpenProd(QlTransRec *rec)
{
    return NULL;
}

HWND QlCreditOpen(QlTransRec *rec)
{
    return NULL;
}

HWND QlQuoteOpenView(QlTransRec *rec)
{
    return NULL;
}
