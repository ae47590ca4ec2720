// The tax and currency page of the settings window (dialog 205): the tax
// name, the three rates A, B, C with the default rate, the currency, and the
// list of the rates in force.
//
// Save writes the settings file at once, so that the rates the invoices use
// are the rates the company's file holds.  Choosing a pre-defined tax name
// takes effect at once, before Save.

#include "shell/QlCfgPages.h"
#include "shell/QlShellTexts.h"

#include "ui/QlAppState.h"
#include "ui/QlListView.h"
#include "ui/QlWindow.h"
#include "resources/QlResIds.h"
#include "settings/QlCountries.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

static const char kEuro[] = "Euro";
static const char kDefaultTaxName[] = "VAT";

// Whole-percent and hundredths edits of rates A, B, C.
static const int kRateEdits[QL_RATE_COUNT][2] = {
    {IDE_CFG_RATE_A_WHOLE, IDE_CFG_RATE_A_HUNDREDTHS},
    {IDE_CFG_RATE_B_WHOLE, IDE_CFG_RATE_B_HUNDREDTHS},
    {IDE_CFG_RATE_C_WHOLE, IDE_CFG_RATE_C_HUNDREDTHS},
};
static const int kRateLabels[QL_RATE_COUNT] = {IDT_CFG_RATE_A, IDT_CFG_RATE_B, IDT_CFG_RATE_C};
// Drawn black on white.
static const int kWhiteLabels[] = {IDT_CFG_CUSTOM_RATES, IDT_CFG_CUSTOM_TAX_NAME, IDT_CFG_CUSTOM_CURRENCY};

static void SetField(char *field, size_t width, const char *text)
{
    memset(field, 0, width);
    memcpy(field, text, strnlen(text, width - 1));
}

int QlCfgFindCurrency(const char *code, int *index)
{
    if (!code) return 0;
    for (int i = 0; i < QL_CURRENCY_COUNT && QlCurrencyTable[i]; i++) {
        if (strncmp(code, QlCurrencyTable[i], 3) == 0) {
            *index = i;
            return 1;
        }
    }
    return 0;
}

static void FillCombo(HWND page, int id, const char *const *items, int count, int selected)
{
    HWND combo = GetDlgItem(page, id);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count && items[i]; i++) SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)items[i]);
    SendMessageA(combo, CB_SETCURSEL, selected, 0);
}

int QlVatListAddRow(HWND list, const char *item, const char *text1, const char *text2, LPARAM data)
{
    LVITEMA row = {};
    row.mask = LVIF_TEXT | LVIF_PARAM;
    row.iItem = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    row.pszText = (char *)item;
    row.lParam = data;
    int index = (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&row);
    if (index < 0) return -1;
    QlListSetCell(list, index, 1, text1);
    QlListSetCell(list, index, 2, text2);
    QlListSetCell(list, index, 3, "%");
    return index;
}

void QlCfgTaxFillRateList(HWND page)
{
    HWND list = GetDlgItem(page, IDL_CFG_RATES);
    if (!list) return;
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < QL_RATE_COUNT; i++) {
        char whole[40] = "", hundredths[40] = "", letter[2] = {(char)('A' + i), '\0'}, cents[42];
        QlVatSplitRate(i, whole, sizeof whole, hundredths, sizeof hundredths);
        snprintf(cents, sizeof cents, ".%s", hundredths);
        QlVatListAddRow(list, letter, whole, cents, i);
    }
}

// The rate list's four columns: the letter, the whole percent (right), the
// hundredths and "%".
static void SetUpRateList(HWND page)
{
    HWND list = GetDlgItem(page, IDL_CFG_RATES);
    if (!list) return;
    static const char *const kTitles[4] = {"", "", "", ""};
    static const int kFormats[4] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_LEFT, LVCFMT_LEFT};
    RECT client;
    GetClientRect(list, &client);
    const int unit = client.right / 8;
    const int widths[4] = {2 * unit, 3 * unit, 2 * unit, client.right - 7 * unit};
    QlListSetColumns(list, kTitles, 4, widths, QL_RATE_COUNT, kFormats);
}

static void LabelPage(HWND page)
{
    const QlShellTextRec *text = QlShellText();
    SetDlgItemTextA(page, IDT_CFG_TAX_GROUP, text->CfgTaxGroup);
    SetDlgItemTextA(page, IDT_CFG_CURRENCY_GROUP, text->CfgCurrencyGroup);
    SetDlgItemTextA(page, IDT_CFG_TAX_NAMES, text->CfgTaxNames);
    SetDlgItemTextA(page, IDT_CFG_DEFAULT_RATE, text->CfgDefaultRate);
    SetDlgItemTextA(page, IDT_CFG_CURRENCY, text->CfgCurrency);
    SetDlgItemTextA(page, IDT_CFG_CURRENCIES, text->CfgCurrencies);
    SetDlgItemTextA(page, IDT_CFG_CUSTOM_RATES, text->CfgCustomRates);
    SetDlgItemTextA(page, IDT_CFG_CUSTOM_TAX_NAME, text->CfgCustomTaxName);
    SetDlgItemTextA(page, IDT_CFG_CUSTOM_CURRENCY, text->CfgCustomCurrency);
    SetDlgItemTextA(page, IDT_CFG_RATES_GROUP, text->CfgRatesInForce);
    for (int i = 0; i < QL_RATE_COUNT; i++) SetDlgItemTextA(page, kRateLabels[i], text->CfgRateLabels[i]);
}

void QlCfgTaxPageFill(HWND page)
{
    QlSettingsRec *cfg = &QlSettings.cfg;
    FillCombo(page, IDC_CFG_DEFAULT_RATE, QlRateTextPtrs, QL_RATE_COUNT, cfg->defaultRate);
    for (int i = 0; i < QL_RATE_COUNT; i++) {
        char whole[40] = "", hundredths[40] = "";
        QlVatSplitRate(i, whole, sizeof whole, hundredths, sizeof hundredths);
        SendDlgItemMessageA(page, kRateEdits[i][0], EM_LIMITTEXT, 2, 0);
        SendDlgItemMessageA(page, kRateEdits[i][1], EM_LIMITTEXT, 2, 0);
        SetDlgItemTextA(page, kRateEdits[i][0], whole);
        SetDlgItemTextA(page, kRateEdits[i][1], hundredths);
    }
    char name[sizeof cfg->taxName];
    memcpy(name, cfg->taxName, sizeof name);
    name[sizeof name - 1] = '\0';
    SendDlgItemMessageA(page, IDE_CFG_TAX_NAME, EM_LIMITTEXT, sizeof name - 1, 0);
    SetDlgItemTextA(page, IDE_CFG_TAX_NAME, name);
    FillCombo(page, IDC_CFG_TAX_NAMES, QlTaxNameTable, QL_TAX_NAME_COUNT, cfg->taxNameIndex);

    // A stored "Euro" is shown as its code.
    char currency[sizeof cfg->currency];
    memcpy(currency, cfg->currency, sizeof currency);
    currency[sizeof currency - 1] = '\0';
    if (strcmp(currency, kEuro) == 0) strcpy(currency, "EUR");
    SendDlgItemMessageA(page, IDE_CFG_CURRENCY, EM_LIMITTEXT, 3, 0);
    SetDlgItemTextA(page, IDE_CFG_CURRENCY, currency);
    int index = 0;
    if (!QlCfgFindCurrency(currency, &index)) index = 0;
    FillCombo(page, IDC_CFG_CURRENCIES, QlCurrencyTable, QL_CURRENCY_COUNT, index);
    QlCfgTaxFillRateList(page);
}

void QlCfgTaxBuildRates(HWND page)
{
    QlSettingsRec *cfg = &QlSettings.cfg;
    for (int i = 0; i < QL_RATE_COUNT; i++) {
        char whole[8], hundredths[8];
        QlUiGetField(page, kRateEdits[i][0], whole, sizeof whole);
        QlUiGetField(page, kRateEdits[i][1], hundredths, sizeof hundredths);
        if (!whole[0] || !hundredths[0]) {
            memcpy(cfg->rateTexts[i], QlDefaultRateTexts[i], QL_RATE_TEXT_WIDTH);
            continue;
        }
        // Anything but one or two digits leaves the rate as it was.
        unsigned w = 0, h = 0;
        if (!QlCfgParseNumber(whole, 2, &w) || !QlCfgParseNumber(hundredths, 2, &h)) continue;
        QlSettings.rates[i] = (int64_t)w * 100 + h;
        memset(cfg->rateTexts[i], 0, QL_RATE_TEXT_WIDTH);
        snprintf(cfg->rateTexts[i], QL_RATE_TEXT_WIDTH, "%c - %02u.%02u%c", 'A' + i, w, h, '%');
    }
}

void QlCfgTaxPageSaveNames(HWND page)
{
    QlSettingsRec *cfg = &QlSettings.cfg;
    memset(cfg->taxName, 0, sizeof cfg->taxName);
    QlUiGetField(page, IDE_CFG_TAX_NAME, cfg->taxName);
    memset(cfg->currency, 0, sizeof cfg->currency);
    QlUiGetField(page, IDE_CFG_CURRENCY, cfg->currency);
    if (!cfg->currency[0] || strncmp(cfg->currency, "EUR", 3) == 0) SetField(cfg->currency, sizeof cfg->currency, kEuro);
    if (!cfg->taxName[0]) SetField(cfg->taxName, sizeof cfg->taxName, kDefaultTaxName);

    int rate = (int)SendDlgItemMessageA(page, IDC_CFG_DEFAULT_RATE, CB_GETCURSEL, 0, 0);
    if (rate >= 0 && rate < QL_RATE_COUNT) cfg->defaultRate = rate;
    int name = (int)SendDlgItemMessageA(page, IDC_CFG_TAX_NAMES, CB_GETCURSEL, 0, 0);
    if (name >= 0 && name < QL_TAX_NAME_COUNT) cfg->taxNameIndex = name;

    QlCfgTaxBuildRates(page);
    QlVatUpdateLabels();
    QlVatBuildRateList();
}

// Save: the page into the settings, the settings into the company's file,
// and the rates in force shown as saved, in their list and in the default
// rate's choices.
static void SavePage(HWND page)
{
    QlCfgTaxPageSaveNames(page);
    QlCfgSaveFile(page);
    QlCfgTaxFillRateList(page);
    FillCombo(page, IDC_CFG_DEFAULT_RATE, QlRateTextPtrs, QL_RATE_COUNT, QlSettings.cfg.defaultRate);
}

// A pre-defined tax name becomes the tax name at once; a pre-defined
// currency only goes into the currency edit.
static void OnSelChange(HWND page, int id)
{
    char text[64];
    QlUiGetField(page, id, text, sizeof text);
    if (id == IDC_CFG_TAX_NAMES) {
        SetField(QlSettings.cfg.taxName, sizeof QlSettings.cfg.taxName, text);
        SetDlgItemTextA(page, IDE_CFG_TAX_NAME, QlSettings.cfg.taxName);
        QlVatUpdateLabels();
    } else if (id == IDC_CFG_CURRENCIES) {
        text[3] = '\0';
        SetDlgItemTextA(page, IDE_CFG_CURRENCY, text);
    }
}

static INT_PTR OnCtlColorStatic(HWND page, HDC dc, HWND control)
{
    for (int id : kWhiteLabels) {
        if (control && control == GetDlgItem(page, id)) {
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
        }
    }
    return FALSE;
}

INT_PTR CALLBACK QlCfgTaxPageDlgProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        QlCfgPageInit(page);
        LabelPage(page);
        SetUpRateList(page);
        QlCfgTaxPageFill(page);
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == CBN_SELCHANGE) {
            OnSelChange(page, LOWORD(wParam));
            return TRUE;
        }
        QlCfgPageCommand(page, LOWORD(wParam), HIWORD(wParam), SavePage);
        return TRUE;
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(page, (HDC)wParam, (HWND)lParam);
    case WM_DESTROY: QlCfgPageToolbarDestroy(); return FALSE;
    }
    return FALSE;
}
