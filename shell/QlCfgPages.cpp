// The two simplest pages of the settings window: language and country
// (dialog 227), and the company's details (dialog 203).
//
// The language page changes only the settings in memory (the file follows
// with the next save of another page, or at exit); Apply and Save both put
// the chosen language on the whole program at once, so that no window opens
// in a language the menu and tool bars do not speak.  The company page
// writes the settings file.

#include "shell/QlCfgPages.h"
#include "shell/QlShellTexts.h"

#include "ui/QlMsgDialog.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "resources/QlResIds.h"
#include "settings/QlCountries.h"
#include "settings/QlLangDlg.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"
#include "shell/QlLangApply.h"
#include "shell/QlMainWindow.h"
#include "shell/QlPanels.h"

#include <string.h>

// Copies text into a field of width bytes, cut to fit, the rest zeroed.
static void SetField(char *field, size_t width, const char *text)
{
    memset(field, 0, width);
    memcpy(field, text, strnlen(text, width - 1));
}

// ---------------------------------------------------------------------------
// Language page

static void LabelLangPage(HWND page)
{
    const QlLangTextRec *text = QlLangText();
    SetDlgItemTextA(page, IDT_CFG_LANG_GROUP, QlShellText()->CfgLangGroup);
    SetDlgItemTextA(page, IDT_CFG_LANGUAGE, text->Language);
    SetDlgItemTextA(page, IDT_CFG_COUNTRY, text->Country);
    SetDlgItemTextA(page, IDB_CFG_APPLY, text->Apply);
}

int QlCfgLangPageApply(HWND page)
{
    QlSettingsRec *cfg = &QlSettings.cfg;
    int lang = (int)SendDlgItemMessageA(page, IDC_CFG_LANGUAGE, CB_GETCURSEL, 0, 0);
    if (lang < 0 || lang >= QL_LANG_COUNT) return 0;
    cfg->language = lang;
    int country = (int)SendDlgItemMessageA(page, IDC_CFG_COUNTRY, CB_GETCURSEL, 0, 0);
    if (country < 0 || country >= QL_COUNTRY_COUNT) return 0;
    // The country's defaults come with a change of country only: the user's
    // own tax name and currency stay while just the language changes.
    if (country != cfg->country) {
        const QlCountryRec *c = &QlCountryTable[country];
        cfg->country = country;
        cfg->taxNameIndex = c->taxNameIndex;
        SetField(cfg->taxName, sizeof cfg->taxName, QlTaxNameTable[c->taxNameIndex]);
        memset(cfg->currency, 0, sizeof cfg->currency);
        memcpy(cfg->currency, QlCurrencyTable[c->currencyIndex], 3);
        SetField(cfg->businessLabel, sizeof cfg->businessLabel, c->businessLabel);
    }
    QlVatUpdateLabels();
    return 1;
}

// The language and country go to the whole program: menu, tool bars, tax
// labels, flag, and this window's tabs and heading.
static void ApplyToProgram(HWND page)
{
    QlSettingsRec *cfg = &QlSettings.cfg;
    int before = cfg->language;
    QlCfgLangPageApply(page);
    QlLangApply(cfg->language, 1, cfg->language != before);
    QlVatUpdateLabels();
    QlLangShowFlag(cfg->language, cfg->country);
    QlCfgRelabelTabs(GetParent(GetParent(page)));
}

// Save and Apply keep the choice in the company's file at once.
static void SaveToProgram(HWND page)
{
    ApplyToProgram(page);
    QlCfgSaveFile(page);
}

// Apply: the page itself and its tool bar take the new language too.  (Save
// closes the window: its tool bar, which is sending the command, stays.)
static void OnApply(HWND page)
{
    SaveToProgram(page);
    LabelLangPage(page);
    QlCfgPageToolbarCreate(page);
    InvalidateRect(page, NULL, TRUE);
}

INT_PTR CALLBACK QlCfgLangPageDlgProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        QlCfgPageInit(page);
        LabelLangPage(page);
        QlLangFillCombos(page, &QlSettings.cfg);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDB_CFG_APPLY && HIWORD(wParam) == BN_CLICKED) {
            OnApply(page);
            return TRUE;
        }
        QlCfgPageCommand(page, LOWORD(wParam), HIWORD(wParam), SaveToProgram);
        return TRUE;
    case WM_DESTROY: QlCfgPageToolbarDestroy(); return FALSE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Company page

// Each edit leaves room for its field's terminator.
static const QlCfgTextField kCompanyFields[] = {
    QL_CFG_FIELD(IDE_CFG_NAME, companyName, 39),
    QL_CFG_FIELD(IDE_CFG_ADDR1, address1, 39),
    QL_CFG_FIELD(IDE_CFG_ADDR2, address2, 39),
    QL_CFG_FIELD(IDE_CFG_ADDR3, address3, 39),
    QL_CFG_FIELD(IDE_CFG_TAXNO, taxNumber, 14),
    QL_CFG_FIELD(IDE_CFG_TEL, telephone, 24),
    QL_CFG_FIELD(IDE_CFG_FAX, fax, 24),
    QL_CFG_FIELD(IDE_CFG_CONTACT, contactName, 40),
    QL_CFG_FIELD(IDE_CFG_BUSINESS_LABEL, businessLabel, 12),
    QL_CFG_FIELD(IDE_CFG_BUSINESS_NO, businessNumber, 20),
    QL_CFG_FIELD(IDE_CFG_EMAIL, email, 80),
    QL_CFG_FIELD(IDE_CFG_WEB, webAddress, 79),
};
static const int kCompanyFieldCount = (int)(sizeof kCompanyFields / sizeof kCompanyFields[0]);

// The customers form's label of the control, from the language's list.
static const char *CustFormLabel(int id)
{
    const QlLangMenuRec *menu = QlLangMenu();
    const int capacity = (int)(sizeof menu->CustDlgTexts / sizeof menu->CustDlgTexts[0]);
    for (int i = 0; i < capacity && menu->CustDlgTexts[i].id != QL_LANG_DLG_END; i++)
        if (menu->CustDlgTexts[i].id == id) return menu->CustDlgTexts[i].text;
    return "";
}

static void LabelCompanyPage(HWND page)
{
    const QlShellTextRec *text = QlShellText();
    static const int custLabels[] = {IDT_CFG_NAME, IDT_CFG_ADDR1, IDT_CFG_ADDR2, IDT_CFG_ADDR3};
    for (int id : custLabels) SetDlgItemTextA(page, id, CustFormLabel(id));
    SetDlgItemTextA(page, IDT_CFG_COMPANY_GROUP, text->CfgCompanyGroup);
    SetDlgItemTextA(page, IDT_CFG_TAXNO, text->CfgTaxNumber);
    SetDlgItemTextA(page, IDT_CFG_TEL, text->CfgTelephone);
    SetDlgItemTextA(page, IDT_CFG_FAX, text->CfgFax);
    SetDlgItemTextA(page, IDT_CFG_CONTACT, text->CfgContact);
    SetDlgItemTextA(page, IDT_CFG_EMAIL, text->CfgEmail);
    SetDlgItemTextA(page, IDT_CFG_WEB, text->CfgWeb);
    SetDlgItemTextA(page, IDT_CFG_BUSINESS, text->CfgBusinessNo);
    SetDlgItemTextA(page, IDB_CFG_BACKUP_ON_EXIT, QlLangText()->BackupOnExit);
}

void QlCfgCompanyPageSave(HWND page)
{
    QlSettingsRec *cfg = &QlSettings.cfg;
    // The company is known by its name (the company manager, the title):
    // one of blanks only is refused, with nothing stored.
    char name[sizeof cfg->companyName + 8] = "";
    GetDlgItemTextA(page, IDE_CFG_NAME, name, sizeof name);
    QlTrimBlanks(name);
    if (!name[0]) {
        QlMsgBox(page, QlLangText()->Error, QlLangText()->CompanyNameEmpty, QL_COLOUR_WARNING);
        SendMessageA(page, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(page, IDE_CFG_NAME), TRUE);
        QlCfgSaveRefused = 1;
        return;
    }
    QlCfgStoreFields(page, kCompanyFields, kCompanyFieldCount, cfg);
    cfg->backupOnExit = IsDlgButtonChecked(page, IDB_CFG_BACKUP_ON_EXIT) == BST_CHECKED;
    QlCfgSaveFile(page);
    QlMainSetTitle();
}

INT_PTR CALLBACK QlCfgCompanyPageDlgProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        QlCfgPageInit(page);
        LabelCompanyPage(page);
        QlCfgFillFields(page, kCompanyFields, kCompanyFieldCount, &QlSettings.cfg);
        CheckDlgButton(page, IDB_CFG_BACKUP_ON_EXIT, QlSettings.cfg.backupOnExit ? BST_CHECKED : BST_UNCHECKED);
        PostMessageA(GetDlgItem(page, IDE_CFG_NAME), EM_SETSEL, (WPARAM)-1, 0);
        return TRUE;
    case WM_COMMAND: QlCfgPageCommand(page, LOWORD(wParam), HIWORD(wParam), QlCfgCompanyPageSave); return TRUE;
    case WM_DESTROY: QlCfgPageToolbarDestroy(); return FALSE;
    }
    return FALSE;
}
