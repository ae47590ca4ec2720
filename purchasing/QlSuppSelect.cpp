// The select-supplier dialog (template 182, the select-customer dialog's):
// every enabled supplier by A/C ref or company; the chosen one becomes the
// current supplier.

#include "purchasing/QlSuppliers.h"

#include "purchasing/QlPurchTexts.h"
#include "purchasing/QlSuppCurrent.h"

#include "common/QlListView.h"
#include "common/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "resources/QlResIds.h"
#include "settings/QlLangTables.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

static HWND sSelectList;
static int sSortFlags[2];   // per column: the direction of the next click, 1 ascending

static int QlSuppSelectRowCb(const QlSuppRec *rec)
{
    if (!sSelectList) return 0;
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = 65535;
    item.pszText = (char *)rec->acref;
    item.lParam = 1;
    int row = (int)SendMessageA(sSelectList, LVM_INSERTITEMA, 0, (LPARAM)&item);
    if (row >= 0) QlListSetCell(sSelectList, row, 1, rec->company);
    return 0;
}

int QlSuppSelectLoad(int column, int ascending)
{
    if (!sSelectList) return 0;
    SendMessageA(sSelectList, LVM_DELETEALLITEMS, 0, 0);
    char sql[QL_DB_SQL_QUERY];
    char err[QL_DB_ERR_SIZE];
    snprintf(sql, sizeof sql, "select * from suppliers where enabled='yes' order by %s %s",
             column == 0 ? "acref" : "company", ascending ? "asc" : "desc");
    return QlSuppEnumSql(QlSuppSelectRowCb, sql, err);   // a failed load leaves the list empty
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
    QlSuppSelectLoad(0, 1);
    return TRUE;
}

static void OnNotify(HWND dialog, const NMHDR *header)
{
    if (header->idFrom != IDL_CUSTSEL_LIST) return;
    if (header->code == LVN_COLUMNCLICK) {
        int column = ((const NMLISTVIEW *)header)->iSubItem;
        if (column < 0 || column > 1) return;
        int ascending = sSortFlags[column];
        sSortFlags[column] = !ascending;
        QlSuppSelectLoad(column, ascending);
    } else if (header->code == NM_DBLCLK) {
        if (QlSuppSelectGet()) EndDialog(dialog, 1);
    }
}

INT_PTR CALLBACK QlSuppSelectDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_NOTIFY: OnNotify(dialog, (const NMHDR *)lParam); return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) EndDialog(dialog, QlSuppSelectGet() ? 1 : 0);
        if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
        return TRUE;
    case WM_DESTROY: sSelectList = NULL; return FALSE;
    }
    return FALSE;
}
