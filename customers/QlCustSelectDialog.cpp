// The select-customer dialog (182).

#include "customers/QlCustSelect.h"

#include "customers/QlCustTexts.h"

#include "common/QlListView.h"
#include "common/QlWindow.h"
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

static int QlCustSelectRowCb(const QlCustRec *rec)
{
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.mask = LVIF_TEXT;
    item.iItem = 0x7FFFFFFF;
    item.pszText = (char *)rec->acref;
    int row = (int)SendMessageA(sSelectList, LVM_INSERTITEMA, 0, (LPARAM)&item);
    if (row < 0) return 0;
    QlListSetCell(sSelectList, row, 1, rec->company);
    return 0;
}

void QlCustSelectLoad(int column, int ascending)
{
    if (!sSelectList) return;
    SendMessageA(sSelectList, LVM_DELETEALLITEMS, 0, 0);
    char sql[QL_DB_SQL_QUERY];
    char err[QL_DB_ERR_SIZE];
    snprintf(sql, sizeof sql, "select * from customers where enabled='yes' order by %s %s",
             column == 1 ? "company" : "acref", ascending ? "asc" : "desc");
    QlCustEnumSql(QlCustSelectRowCb, sql, err);   // a failed load leaves the list empty
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
    QlCustSelectLoad(0, 1);
    QlCustSelected = NULL;
    return TRUE;
}

static void OnNotify(HWND dialog, const NMHDR *header)
{
    if (header->idFrom != IDL_CUSTSEL_LIST) return;
    if (header->code == LVN_COLUMNCLICK) {
        int column = ((const NMLISTVIEW *)header)->iSubItem;
        if (column < 0 || column > 1) return;
        int wasAscending = sSortFlags[column];
        sSortFlags[column] = !wasAscending;
        QlCustSelectLoad(column, wasAscending);
    } else if (header->code == NM_DBLCLK) {
        if (QlCustSelectTake()) EndDialog(dialog, 1);
    }
}

INT_PTR CALLBACK QlCustSelectDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_NOTIFY: OnNotify(dialog, (const NMHDR *)lParam); return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) EndDialog(dialog, QlCustSelectTake() ? 1 : 0);
        if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
        return TRUE;
    case WM_DESTROY: sSelectList = NULL; return FALSE;
    }
    return FALSE;
}
