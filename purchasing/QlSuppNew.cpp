// The new-supplier dialog (template 147, the new-customer dialog's) and the
// suppliers' account references.

#include "purchasing/QlSuppliers.h"

#include "purchasing/QlPurchTexts.h"
#include "purchasing/QlSuppCurrent.h"

#include "ui/QlMsgDialog.h"
#include "ui/QlSeams.h"
#include "ui/QlToolbar.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "resources/QlResIds.h"
#include "settings/QlLangDlg.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

enum { NEW_CMD_SAVE, NEW_CMD_CLOSE };

// The forms' Save / Close bar, labelled from it; a copy of its own, so that
// the bitmaps of a form's bar made from the shared table are never touched.
static QlToolbarItem sNewToolbarTable[2] = {
    {IDBMP_SAVE, NEW_CMD_SAVE, NULL, " Save "},
    {IDBMP_CLOSE, NEW_CMD_CLOSE, NULL, " Close "},
};
static HWND sNewToolbar;

static const struct {
    int id;
    int limit;
} kNewLimits[] = {
    {IDE_CUSTADD_COMPANY, 39}, {IDE_CUSTADD_CONTACT, 39}, {IDE_CUSTADD_TEL, 24},
    {IDE_CUSTADD_FAX, 24},     {IDE_CUSTADD_MOBILE, 24},  {IDE_CUSTADD_EMAIL, 79},
};

// The customer's discount and tax choices, which a supplier has not.
static const int kCustomerOnly[] = {IDC_CUST_DISCOUNT, IDC_CUST_RATE, IDB_CUST_APPLY_DISCOUNT, IDB_CUST_APPLY_TAX};

// ---------------------------------------------------------------------------
// Account references

int QlSuppMakeAcRef(QlSuppRec *rec)
{
    char acref[sizeof rec->acref];
    memset(acref, 0, sizeof acref);
    for (int i = 0; i < 2; i++) {
        char c = rec->company[i];
        acref[i] = c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c;
    }
    for (int n = 0; n < 999; n++) {
        snprintf(acref + 2, sizeof acref - 2, "%03d", n);
        char err[QL_DB_ERR_SIZE] = "";
        if (QlSuppExists(acref, err)) continue;
        // No row, or no answer: a failed look-up is never a free reference.
        if (err[0]) return -1;
        memcpy(rec->acref, acref, sizeof acref);
        return 1;
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Insert

int QlSuppInsert(HWND dialog)
{
    QlSuppRec rec;
    memset(&rec, 0, sizeof rec);
    // Blanks around the name and address count for nothing: a name of
    // blanks is an empty one, and the A/C ref is made from its letters.
    QlUiGetField(dialog, IDE_CUSTADD_COMPANY, rec.company);
    QlTrimBlanks(rec.company);
    if (strlen(rec.company) < 2) return QL_SUPP_INSERT_TOO_SHORT;
    QlUiGetField(dialog, IDE_CUST_ADDR1, rec.addr1);
    QlTrimBlanks(rec.addr1);
    if (!rec.addr1[0]) return QL_SUPP_INSERT_FAILED;
    QlUiGetField(dialog, IDE_CUST_ADDR2, rec.addr2);
    QlUiGetField(dialog, IDE_CUST_ADDR3, rec.addr3);
    QlUiGetField(dialog, IDE_CUSTADD_CONTACT, rec.contact);
    QlUiGetField(dialog, IDE_CUSTADD_TEL, rec.worktel);
    QlUiGetField(dialog, IDE_CUSTADD_FAX, rec.fax);
    QlUiGetField(dialog, IDE_CUSTADD_MOBILE, rec.mobtel);
    QlUiGetField(dialog, IDE_CUSTADD_EMAIL, rec.wemail);

    char err[QL_DB_ERR_SIZE] = "";
    int made = QlSuppMakeAcRef(&rec);
    if (made == 0) return QL_SUPP_INSERT_NO_REF;
    if (made < 0 || !QlSuppAdd(&rec, err)) {
        if (made < 0) snprintf(err, sizeof err, "%s", "Cannot read the supplier accounts");
        QlSeamMessageBox(NULL, err, "Supplier Database Insert Failed", MB_OK);
        return QL_SUPP_INSERT_FAILED;
    }

    // At the end of the list, whatever its order, selected: the list's change
    // notification shows it in the fields.
    int row = QlSuppListAddRow(&rec);
    HWND list = QlSuppWnd ? GetDlgItem(QlSuppWnd, IDL_SUPP_LIST) : NULL;
    if (row >= 0 && list) {
        LVITEMA item;
        memset(&item, 0, sizeof item);
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&item);
        SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
    }
    return QL_SUPP_INSERT_OK;
}

// ---------------------------------------------------------------------------
// The dialog

static void OnSave(HWND dialog)
{
    const QlPurchTextRec *text = QlPurchText();
    const char *message = NULL;
    switch (QlSuppInsert(dialog)) {
    case QL_SUPP_INSERT_OK: EndDialog(dialog, 1); return;
    case QL_SUPP_INSERT_TOO_SHORT: message = text->CompanyTooShort; break;
    case QL_SUPP_INSERT_NO_REF: message = text->ChooseOtherName; break;
    default: {
        // Insert failures have shown the data store's text already.
        char addr1[64] = "";
        GetDlgItemTextA(dialog, IDE_CUST_ADDR1, addr1, sizeof addr1);
        QlTrimBlanks(addr1);
        if (addr1[0]) return;
        message = text->EmptyAddress;
        break;
    }
    }
    QlMsgBox(dialog, QlLangText()->Error, message, QL_COLOUR_WARNING);
}

static void DestroyToolbar(void)
{
    if (!sNewToolbar) return;
    QlToolbarDestroy(sNewToolbar, sNewToolbarTable, 2);
    sNewToolbar = NULL;
}

static BOOL OnInitDialog(HWND dialog)
{
    QlUiCenterWindow(dialog);
    SetWindowTextA(dialog, QlPurchText()->NewCaption);
    QlLangSetDlgTexts(dialog, NULL);
    if (QlLangIndex(QlSettings.cfg.language) == QL_LANG_FRENCH)
        SetDlgItemTextA(dialog, IDT_CUST_COMPANY_LABEL, QlPurchText()->Company);
    QlUiLimitAddressEdits(dialog);
    for (const auto &limit : kNewLimits) SendDlgItemMessageA(dialog, limit.id, EM_LIMITTEXT, limit.limit, 0);
    for (int id : kCustomerOnly) DestroyWindow(GetDlgItem(dialog, id));
    for (int i = 0; i < 2; i++)
        memcpy(sNewToolbarTable[i].text, QlSaveCloseToolbarTable[i].text, sizeof sNewToolbarTable[i].text);
    sNewToolbar = QlToolbarCreate(QlUiInstance(), dialog, sNewToolbarTable, 2, 1, 0);
    return sNewToolbar ? TRUE : FALSE;
}

static void OnCommand(HWND dialog, int id, HWND sender)
{
    // Enter arrives as IDOK (1), the tool bar's Close: only the bar's own
    // Close closes, so that Enter never throws the typed details away.
    if (sender && sender == sNewToolbar) {
        if (id == NEW_CMD_SAVE) OnSave(dialog);
        if (id == NEW_CMD_CLOSE) EndDialog(dialog, 0);
        return;
    }
    if (id == IDCANCEL) EndDialog(dialog, 0);
}

INT_PTR CALLBACK QlSuppNewDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), (HWND)lParam); return TRUE;
    case WM_CLOSE:
        DestroyToolbar();
        return FALSE;
    case WM_DESTROY: DestroyToolbar(); return FALSE;
    }
    return FALSE;
}

void QlSuppNewCmd(HWND window)
{
    HWND list = GetDlgItem(window, IDL_SUPP_LIST);
    if (list && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) >= QL_SUPP_MAX_ROWS) {
        QlMsgBox(window, QlPurchText()->CannotAdd, QlPurchText()->MaxAccounts, QL_COLOUR_WARNING);
        return;
    }
    DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_CUST_ADD), window, QlSuppNewDlgProc, 0);
}
