// The add-customer dialog (147) and the New command of the customers module.

#include "customers/QlCustCommands.h"

#include "customers/QlCustModule.h"
#include "customers/QlCustTexts.h"

#include "ui/QlAppState.h"
#include "ui/QlMsgDialog.h"
#include "ui/QlToolbar.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "resources/QlResIds.h"
#include "settings/QlLangDlg.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <string.h>

enum { ADD_CMD_SAVE, ADD_CMD_CLOSE };

// " Save " and " Close ", labelled as the shared Save / Close bar of the forms.
static QlToolbarItem sAddToolbarTable[2] = {
    {IDBMP_SAVE, ADD_CMD_SAVE, NULL, " Save "},
    {IDBMP_CLOSE, ADD_CMD_CLOSE, NULL, " Close "},
};
static HWND sAddToolbar;

static const struct {
    int id;
    int limit;
} kAddLimits[] = {
    {IDE_CUSTADD_COMPANY, 39}, {IDE_CUST_ADDR1, 39}, {IDE_CUST_ADDR2, 39},     {IDE_CUST_ADDR3, 39},
    {IDE_CUSTADD_CONTACT, 39}, {IDE_CUSTADD_TEL, 24}, {IDE_CUSTADD_MOBILE, 24}, {IDE_CUSTADD_FAX, 24},
    {IDE_CUSTADD_EMAIL, 79},
};

// The module window the dialog adds to.
static HWND Module(HWND dialog)
{
    return (HWND)GetWindowLongPtrA(dialog, DWLP_USER);
}

static void FollowCheck(HWND dialog, int checkId, int listId)
{
    EnableWindow(GetDlgItem(dialog, listId), IsDlgButtonChecked(dialog, checkId) == BST_CHECKED);
}

// The new account at the end of both lists, selected and shown.
static void ShowInModule(HWND module, const QlCustRec *rec)
{
    if (QlCustModuleAddAccount(rec) >= 0) QlCustShowRecord(module, rec);
}

int QlCustAddSave(HWND dialog)
{
    QlCustRec rec;
    memset(&rec, 0, sizeof rec);
    // Blanks around the name and address count for nothing: a name of
    // spaces is an empty one, and the A/C ref is made from its letters.
    QlUiGetField(dialog, IDE_CUSTADD_COMPANY, rec.company);
    QlCustTrimBlanks(rec.company);
    if (strlen(rec.company) < 2) return QL_CUST_ADD_TOO_SHORT;
    QlUiGetField(dialog, IDE_CUST_ADDR1, rec.addr1);
    QlCustTrimBlanks(rec.addr1);
    if (!rec.addr1[0]) return QL_CUST_ADD_EMPTY_ADDRESS;
    QlUiGetField(dialog, IDE_CUST_ADDR2, rec.addr2);
    QlUiGetField(dialog, IDE_CUST_ADDR3, rec.addr3);
    QlUiGetField(dialog, IDE_CUSTADD_CONTACT, rec.contact);
    QlUiGetField(dialog, IDE_CUSTADD_TEL, rec.worktel);
    QlUiGetField(dialog, IDE_CUSTADD_FAX, rec.fax);
    QlUiGetField(dialog, IDE_CUSTADD_MOBILE, rec.mobtel);
    QlUiGetField(dialog, IDE_CUSTADD_EMAIL, rec.wemail);
    rec.apply_discount = IsDlgButtonChecked(dialog, IDB_CUST_APPLY_DISCOUNT) == BST_CHECKED;
    rec.discount = (uint16_t)QlUiComboSelection(dialog, IDC_CUST_DISCOUNT);
    rec.apply_tax = IsDlgButtonChecked(dialog, IDB_CUST_APPLY_TAX) == BST_CHECKED;
    rec.vat_rate_index = (uint16_t)QlUiComboSelection(dialog, IDC_CUST_RATE);

    // A look-up that failed is an error, never a free reference.
    int made = QlCustMakeAcRef(&rec);
    if (made == 0) return QL_CUST_ADD_NO_REFERENCE;
    char err[QL_DB_ERR_SIZE];
    if (made < 0 || !QlCustAdd(&rec, err)) return QL_CUST_ADD_SQL_ERROR;

    HWND module = Module(dialog);
    if (module && IsWindow(module)) ShowInModule(module, &rec);
    return QL_CUST_ADD_OK;
}

static void OnSave(HWND dialog)
{
    const QlCustTextRec *text = QlCustText();
    const char *message = NULL;
    switch (QlCustAddSave(dialog)) {
    case QL_CUST_ADD_OK: EndDialog(dialog, 1); return;
    case QL_CUST_ADD_TOO_SHORT: message = text->CompanyTooShort; break;
    case QL_CUST_ADD_EMPTY_ADDRESS: message = text->EmptyAddress; break;
    case QL_CUST_ADD_NO_REFERENCE: message = text->ChooseOtherName; break;
    default: message = "SQL error"; break;
    }
    QlMsgBox(dialog, QlLangText()->Error, message, QL_COLOUR_WARNING);
}

static BOOL OnInitDialog(HWND dialog, HWND module)
{
    SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR)module);
    QlUiCenterWindow(dialog);
    const QlCustTextRec *text = QlCustText();
    SetWindowTextA(dialog, text->AddCaption);
    QlLangSetDlgTexts(dialog, NULL);
    SetDlgItemTextA(dialog, IDB_CUST_APPLY_DISCOUNT, text->AddApplyDiscount);
    SetDlgItemTextA(dialog, IDB_CUST_APPLY_TAX, text->AddApplyTax);
    if (QlLangIndex(QlSettings.cfg.language) == QL_LANG_FRENCH)
        SetDlgItemTextA(dialog, IDT_CUST_COMPANY_LABEL, text->Company);
    for (const auto &limit : kAddLimits) SendDlgItemMessageA(dialog, limit.id, EM_LIMITTEXT, limit.limit, 0);

    for (int i = 0; i < 2; i++) memcpy(sAddToolbarTable[i].text, QlSaveCloseToolbarTable[i].text, sizeof sAddToolbarTable[i].text);
    sAddToolbar = QlToolbarCreate(QlUiInstance(), dialog, sAddToolbarTable, 2, 1, 0);
    if (!sAddToolbar) return FALSE;

    HWND discount = GetDlgItem(dialog, IDC_CUST_DISCOUNT);
    for (int i = 0; i < 100; i++)
        if (QlPercentTextTable[i]) SendMessageA(discount, CB_ADDSTRING, 0, (LPARAM)QlPercentTextTable[i]);
    QlUiComboFill(dialog, QlRateTextPtrs, IDC_CUST_RATE, -1);
    EnableWindow(discount, FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_CUST_RATE), FALSE);
    return TRUE;
}

static void DestroyToolbar(void)
{
    QlToolbarDestroy(sAddToolbar, sAddToolbarTable, 2);
    sAddToolbar = NULL;
}

static void OnCommand(HWND dialog, int id, HWND sender)
{
    // Enter arrives as IDOK (1), the number of the bar's Close: only the
    // bar's own Close closes, so that Enter never throws the typed account
    // away (the dialog has no default button: Enter does nothing).
    if (id == ADD_CMD_CLOSE) {
        if (sender && sender == sAddToolbar) EndDialog(dialog, 0);
        return;
    }
    switch (id) {
    case ADD_CMD_SAVE: OnSave(dialog); return;
    case IDCANCEL: EndDialog(dialog, 0); return;
    case IDB_CUST_APPLY_DISCOUNT: FollowCheck(dialog, IDB_CUST_APPLY_DISCOUNT, IDC_CUST_DISCOUNT); return;
    case IDB_CUST_APPLY_TAX: FollowCheck(dialog, IDB_CUST_APPLY_TAX, IDC_CUST_RATE); return;
    }
}

INT_PTR CALLBACK QlCustAddDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog, lParam ? (HWND)lParam : GetParent(dialog));
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), (HWND)lParam); return TRUE;
    case WM_CLOSE:
        DestroyToolbar();
        return FALSE;
    case WM_DESTROY: DestroyToolbar(); return FALSE;
    }
    return FALSE;
}

void QlCustAddCmd(HWND module)
{
    INT_PTR added =
        DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_CUST_ADD), module, QlCustAddDlgProc, (LPARAM)module);
    if (added == 1 && QlCustModuleRowCount() == 1) QlCustEnableForm(module, 1);
}
