// The credit-note line dialog (template 188): a description, a price and its
// tax.  The tax follows the rate the combo shows (the default rate at first)
// and may be typed; the combo always shows the rate that gives the tax shown,
// or no rate when the tax was typed and no rate gives it.

#include "transactions/QlItemDialogs.h"

#include "ui/QlListView.h"
#include "ui/QlMoneyControls.h"
#include "ui/QlMsgDialog.h"
#include "ui/QlWindow.h"
#include "docmodel/QlTransLines.h"
#include "docmodel/QlTransTexts.h"
#include "resources/QlResTrans.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int sFilling;
static int sComputing;   // the tax edits are being written from the rate

// Shows in the combo the rate whose tax on the price is the tax shown (the
// rate already shown first), and works with it; no rate when none gives it.
static void ShowRateOfTax(HWND dialog)
{
    const int64_t price = QlUiGetCentsSplit(dialog, IDE_ITEM_PRICE_UNITS, IDE_ITEM_PRICE_HUNDREDTHS);
    const int64_t tax = QlUiGetCentsSplit(dialog, IDE_ITEM_TAX_UNITS, IDE_ITEM_TAX_HUNDREDTHS);
    const int shown = (int)SendDlgItemMessageA(dialog, IDC_ITEM_RATE, CB_GETCURSEL, 0, 0);
    int candidates[QL_RATE_COUNT + 1];
    int count = 0;
    if (shown >= 0 && shown < QL_RATE_COUNT) candidates[count++] = shown;
    for (int i = 0; i < QL_RATE_COUNT; i++) candidates[count++] = i;
    for (int k = 0; k < count; k++) {
        const int i = candidates[k];
        if (QlMoneyApplyRate(QlSettings.rates[i], price) != tax) continue;
        if (i != shown) SendDlgItemMessageA(dialog, IDC_ITEM_RATE, CB_SETCURSEL, i, 0);
        QlItemWork.rate = QlSettings.rates[i];
        return;
    }
    SendDlgItemMessageA(dialog, IDC_ITEM_RATE, CB_SETCURSEL, (WPARAM)-1, 0);
}

static void SplitIntoEdits(HWND dialog, const char *money, int idUnits, int idHundredths)
{
    int64_t units;
    int hundredths;
    QlMoneyParse(money, &units, &hundredths);
    QlUiSetMoneySplit(dialog, idUnits, idHundredths, units, hundredths);
}

static BOOL OnInitDialog(HWND dialog)
{
    const QlTransTextRec *text = QlTransText();
    sFilling = 1;
    char label[80];
    snprintf(label, sizeof label, "%s (%s)", text->Price, QlSettings.cfg.currency);
    SetDlgItemTextA(dialog, IDT_ITEM_PRICE_LABEL, label);
    SetDlgItemTextA(dialog, IDT_ITEM_NAME_LABEL, text->ItemDescription);
    SetDlgItemTextA(dialog, IDCANCEL, QlLangText()->Cancel);
    QlUiCenterWindow(dialog);
    SendDlgItemMessageA(dialog, IDE_ITEM_PRICE_UNITS, EM_LIMITTEXT, 7, 0);
    SendDlgItemMessageA(dialog, IDE_ITEM_PRICE_HUNDREDTHS, EM_LIMITTEXT, 2, 0);
    SendDlgItemMessageA(dialog, IDE_ITEM_DESCR, EM_LIMITTEXT, 79, 0);
    SetWindowTextA(dialog, text->CreditLineCaption);
    QlTransFillRateCombo(dialog, IDC_ITEM_RATE);
    const int rate = (int)SendDlgItemMessageA(dialog, IDC_ITEM_RATE, CB_GETCURSEL, 0, 0);
    QlItemWork.rate = rate >= 0 && rate < QL_RATE_COUNT ? QlSettings.rates[rate] : 0;
    snprintf(label, sizeof label, "%s%%", QlSettings.cfg.taxName);
    SetDlgItemTextA(dialog, IDT_CREDIT_RATE_LABEL, label);
    snprintf(label, sizeof label, "%s :", QlSettings.cfg.taxName);
    SetDlgItemTextA(dialog, IDT_ITEM_TAX_LABEL, label);
    snprintf(label, sizeof label, "%s :", text->Total);
    SetDlgItemTextA(dialog, IDT_ITEM_TOTAL_LABEL, label);
    if (QlItemAddMode) {
        QlUiSetCentsSplit(dialog, 0, IDE_ITEM_TAX_UNITS, IDE_ITEM_TAX_HUNDREDTHS);
    } else {
        SetDlgItemTextA(dialog, IDE_ITEM_DESCR, QlItemEditTexts.descr);
        SplitIntoEdits(dialog, QlItemEditTexts.price, IDE_ITEM_PRICE_UNITS, IDE_ITEM_PRICE_HUNDREDTHS);
        SplitIntoEdits(dialog, QlItemEditTexts.tax, IDE_ITEM_TAX_UNITS, IDE_ITEM_TAX_HUNDREDTHS);
    }
    sFilling = 0;
    QlItemUpdateTotal(dialog);
    ShowRateOfTax(dialog);
    return TRUE;
}

static void OnOk(HWND dialog)
{
    const QlTransTextRec *text = QlTransText();
    memset(&QlItemLine, 0, sizeof QlItemLine);
    QlUiGetField(dialog, IDE_ITEM_DESCR, QlItemLine.descr);
    if (!QlItemLine.descr[0]) {
        QlMsgBox(dialog, text->InvalidInput, text->NoServiceDesc, QL_COLOUR_WARNING);
        return;
    }
    const char *refusal = QlItemPriceRefusal(dialog);
    if (refusal) {
        QlMsgBox(dialog, text->InvalidInput, refusal, QL_COLOUR_WARNING);
        return;
    }
    char field[40];
    QlUiGetField(dialog, IDE_ITEM_TAX_UNITS, field);
    QlItemLine.taxUnits = (int32_t)atol(field);
    QlUiGetField(dialog, IDE_ITEM_TAX_HUNDREDTHS, field);
    QlItemLine.taxHundredths = atoi(field);
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK QlCreditItemDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) return OnInitDialog(dialog);
    if (msg != WM_COMMAND) return FALSE;
    int id = LOWORD(wParam);
    int code = HIWORD(wParam);
    if (id == IDOK) {
        OnOk(dialog);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, 0);
    } else if (!sFilling && code == EN_CHANGE && (id == IDE_ITEM_TAX_UNITS || id == IDE_ITEM_TAX_HUNDREDTHS)) {
        QlItemOnFieldChange(dialog, id, code);
        if (!sComputing) ShowRateOfTax(dialog);
    } else if (!sFilling) {
        sComputing = 1;
        int changed = QlItemOnFieldChange(dialog, id, code);
        sComputing = 0;
        if (changed) ShowRateOfTax(dialog);
    }
    return TRUE;
}

int QlCreditEditItem(HWND form)
{
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    int row = (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    if (row < 0) return 0;
    memset(&QlItemEditTexts, 0, sizeof QlItemEditTexts);
    QlListGetCell(list, row, 0, QlItemEditTexts.descr, sizeof QlItemEditTexts.descr);
    QlListGetCell(list, row, 1, QlItemEditTexts.price, sizeof QlItemEditTexts.price);
    QlListGetCell(list, row, 2, QlItemEditTexts.tax, sizeof QlItemEditTexts.tax);
    QlItemAddMode = 0;
    if (DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_ITEM_CREDIT), form, QlCreditItemDlgProc, 0) != 1)
        return 0;
    return QlItemWriteCreditRow(list, &QlItemLine, row, 1) >= 0;
}
