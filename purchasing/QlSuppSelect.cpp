// The select-supplier dialog (template 182, the select-customer dialog's):
// every enabled supplier by A/C ref or company; the chosen one becomes the
// current supplier.  The suppliers are read once when it opens and shown
// through the owner-data list; a click on a column orders them in memory.

#include "purchasing/QlSuppliers.h"

#include "purchasing/QlPurchTexts.h"
#include "purchasing/QlSuppCurrent.h"

#include "ui/QlListView.h"
#include "ui/QlPickList.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "resources/QlResIds.h"
#include "settings/QlLangTables.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

static HWND sSelectList;
static int sSortFlags[2];   // per column: the direction of the next click, 1 ascending

static QlPickList sRows;
static int sRead;           // the suppliers are in sRows
static int sReadOk;

static int QlSuppSelectRowCb(const QlSuppRec *rec)
{
    QlPickListAppend(&sRows, rec->acref, rec->company);
    return 0;
}

int QlSuppSelectLoad(int column, int ascending)
{
    if (!sSelectList) return 0;
    if (!sRead) {
        char err[QL_DB_ERR_SIZE];
        QlPickListFree(&sRows);
        sReadOk = QlSuppEnumSql(QlSuppSelectRowCb, "select * from suppliers where enabled='yes' order by iKey", err);
        sRead = 1;
    }
    QlPickListSort(&sRows, column == 0 ? 0 : 1, ascending);
    QlPickListShow(&sRows, sSelectList);
    return sReadOk;
}

int QlSuppSelectGet(void)
{
    int row = sSelectList ? (int)SendMessageA(sSelectList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED) : -1;
    if (row < 0) return 0;
    char acref[128];
    QlListGetCell(sSelectList, row, 0, acref, sizeof acref);
    char err[QL_DB_ERR_SIZE];
    QlSuppRec rec;
    if (!QlSuppGetByAcRef(acref, &rec, err)) return 0;
    QlSuppCurrent = rec;
    return 1;
}

static BOOL OnInitDialog(HWND dialog)
{
    QlUiCenterWindow(dialog);
    sSelectList = GetDlgItem(dialog, IDL_CUSTSEL_LIST);
    const QlPurchTextRec *text = QlPurchText();
    SetWindowTextA(dialog, text->SelectCaption);
    SetDlgItemTextA(dialog, IDOK, text->SelectButton);
    SetDlgItemTextA(dialog, IDCANCEL, QlLangText()->Cancel);
    const char *titles[] = {text->AcRef, text->CompanyName};
    const int widths[] = {80, 300};
    QlListSetColumns(sSelectList, titles, 2, widths, 10, NULL);
    sSortFlags[0] = sSortFlags[1] = 0;
    sRead = 0;
    QlSuppSelectLoad(0, 1);
    return TRUE;
}

static INT_PTR OnNotify(HWND dialog, const NMHDR *header)
{
    if (header->idFrom != IDL_CUSTSEL_LIST) return FALSE;
    if (QlPickListNotify(&sRows, dialog, header)) return TRUE;
    if (header->code == LVN_COLUMNCLICK) {
        int column = ((const NMLISTVIEW *)header)->iSubItem;
        if (column < 0 || column > 1) return FALSE;
        int ascending = sSortFlags[column];
        sSortFlags[column] = !ascending;
        QlSuppSelectLoad(column, ascending);
    } else if (header->code == NM_DBLCLK) {
        if (QlSuppSelectGet()) EndDialog(dialog, 1);
    }
    return FALSE;
}

INT_PTR CALLBACK QlSuppSelectDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_NOTIFY: return OnNotify(dialog, (const NMHDR *)lParam);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) EndDialog(dialog, QlSuppSelectGet() ? 1 : 0);
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
