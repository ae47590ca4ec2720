// The purchase-invoice and purchase-order windows are not part of the
// program yet: their openers leave the main window as it is.
#include "purchasing/QlPurchOpen.h"
#include "purchasing/QlSuppCurrent.h"

HWND QlPurchInvOpen(const QlTransRec *rec)
{
    return NULL;
}

HWND QlOrderOpen(const QlTransRec *rec)
{
    return NULL;
}

HWND QlPurchInvNew(HWND owner)
{
    return NULL;
}

HWND QlOrderNew(HWND owner)
{
    return NULL;
}
