// The select-customer dialog (182).  The accounts are read once when it
// opens and shown through the owner-data list (LVS_OWNERDATA); a click on a
// column orders them again in memory.

#include "customers/QlCustSelect.h"

#include "customers/QlCustTexts.h"

#include "ui/QlListView.h"
#include "ui/QlPickList.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "resources/QlResIds.h"
#include "settings/QlLangTables.h"

#include <commctrl.h>
#include <string.h>

QlCustRec QlCustSelectedRec;
QlCustRec *QlCustSelected = NULL;

static_assert(sizeof(QlCustRec) == 400, "the taken account is a 400-byte copy");

static HWND sSelectList;
static int sSortFlags[2];   // per column: 1 when the next click sorts ascending

static QlPickList sRows;
static int sRead;           // the accounts are in sRows

static int QlCustSelectRowCb(const QlCustRec *rec)
{
    QlPickListAppend(&sRows, rec->acref, rec->company);
    return 0;
}

void QlCustSelectLoad(int column, int ascending)
{
    if (!sSelectList) return;
    if (!sRead) {
        char err[QL_DB_ERR_SIZE];
        QlPickListFree(&sRows);
        QlCustEnumSql(QlCustSelectRowCb, "select * from customers where enabled='yes' order by iKey", err);
        sRead = 1;   // a failed read leaves the list with what was read
    }
    QlPickListSort(&sRows, column == 1 ? 1 : 0, ascending);
    QlPickListShow(&sRows, sSelectList);
}

int QlCustSelectTake(void)
{
    int row = sSelectList ? (int)SendMessageA(sSelectList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED) : -1;
    if (row < 0) return 0;
    char acref[128];
    QlListGetCell(sSelectList, row, 0, acref, sizeof acref);
    char err[QL_DB_ERR_SIZE];
    QlCustRec rec;
    if (!QlCustGetByAcRef(acref, &rec, err)) return 0;
    QlCustSelectedRec = rec;
    QlCustSelected = &QlCustSelectedRec;
    return 1;
}

static BOOL OnInitDialog(HWND dialog)
{
    QlUiCenterWindow(dialog);
    const QlCustTextRec *text = QlCustText();
    SetWindowTextA(dialog, text->SelectCaption);
    SetDlgItemTextA(dialog, IDOK, text->SelectButton);
    SetDlgItemTextA(dialog, IDCANCEL, QlLangText()->Cancel);

    sSelectList = GetDlgItem(dialog, IDL_CUSTSEL_LIST);
    const char *titles[] = {text->AcRef, text->CompanyName};
    const int widths[] = {80, 300};
    QlListSetColumns(sSelectList, titles, 2, widths, 0, NULL);
    sSortFlags[0] = sSortFlags[1] = 0;
    sRead = 0;
    QlCustSelectLoad(0, 1);
    QlCustSelected = NULL;
    return TRUE;
}

static INT_PTR OnNotify(HWND dialog, const NMHDR *header)
{
    if (header->idFrom != IDL_CUSTSEL_LIST) return FALSE;
    if (QlPickListNotify(&sRows, dialog, header)) return TRUE;
    if (header->code == LVN_COLUMNCLICK) {
        int column = ((const NMLISTVIEW *)header)->iSubItem;
        if (column < 0 || column > 1) return FALSE;
        int wasAscending = sSortFlags[column];
        sSortFlags[column] = !wasAscending;
        QlCustSelectLoad(column, wasAscending);
    } else if (header->code == NM_DBLCLK) {
        if (QlCustSelectTake()) EndDialog(dialog, 1);
    }
    return FALSE;
}

INT_PTR CALLBACK QlCustSelectDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_NOTIFY: return OnNotify(dialog, (const NMHDR *)lParam);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) EndDialog(dialog, QlCustSelectTake() ? 1 : 0);
        if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
        return TRUE;
    case WM_DESTROY:
        sSelectList = NULL;
        QlPickListFree(&sRows);
        sRead = 0;
        return FALSE;
    }
    return FALSE;
}

INT_PTR QlCustSelectRun(HWND owner, const QlCustRec **taken)
{
    INT_PTR chosen = DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_CUST_SELECT), owner, QlCustSelectDlgProc, 0);
    *taken = QlCustSelected;
    return chosen;
}
