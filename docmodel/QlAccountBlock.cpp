// The account block of the document forms.

#include "docmodel/QlAccountBlock.h"

#include "resources/QlResCustomers.h"

static void SetText(HWND dialog, int id, const char *text)
{
    SetDlgItemTextA(dialog, id, text);
}

void QlCustShowAddress(HWND form, const QlCustRec *rec)
{
    if (!rec) return;
    SetText(form, 1171, rec->acref);
    SetText(form, 1159, rec->acref);
    SetText(form, 1173, rec->company);
    SetText(form, IDE_CUST_ADDR1, rec->addr1);
    SetText(form, IDE_CUST_ADDR2, rec->addr2);
    SetText(form, IDE_CUST_ADDR3, rec->addr3);
}
