// The purchase-invoice line dialog (template 352): a description, a price
// in units and hundredths, one of the settings' three tax rates, the tax
// (computed, open to correction) and the total.  Add and Edit of the
// purchase-invoice window run it and write the accepted line into list 1161.
//
// The arithmetic and the working values are the line dialogs' of the
// transactions module (QlItemParts.h, docmodel/QlTransLines.h): the line in
// QlItemLine, the rate and tax in QlItemWork, integer cents throughout.

#include "purchasing/QlPurchDocs.h"

#include "ui/QlListView.h"
#include "ui/QlMoneyControls.h"
#include "ui/QlMsgDialog.h"
#include "ui/QlWindow.h"
#include "docmodel/QlTransLines.h"
#include "docmodel/QlTransTexts.h"
#include "resources/QlResPurchDocs.h"
#include "resources/QlResTrans.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"
#include "transactions/QlItemParts.h"
#include "transactions/QlTransFormParts.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

// The dialog fills its own fields: their notifications are not acted on.
static int sFilling;

int QlPurchLineWithinCeiling(int64_t price, int64_t lineTax, int64_t rate, int64_t formTotal, int64_t oldAmount)
{
    // A larger price is refused before its tax is computed, which keeps
    // price x rate well inside 64 bits.
    if (price > QL_MAX_GROSS_CENTS || lineTax > QL_MAX_GROSS_CENTS) return 0;
    int64_t tax = price * rate / 10000;
    if (lineTax > tax) tax = lineTax;
    return price + tax + formTotal - oldAmount <= QL_MAX_GROSS_CENTS;
}

// The part of a money text before its first '.' into one edit and the part
// after it into the other.
static void SplitIntoEdits(HWND dialog, const char *money, int idUnits, int idHundredths)
{
    char units[16] = "";
    const char *point = strchr(money, '.');
    size_t length = point ? (size_t)(point - money) : strlen(money);
    if (length >= sizeof units) length = sizeof units - 1;
    memcpy(units, money, length);
    units[length] = '\0';
    SetDlgItemTextA(dialog, idUnits, units);
    SetDlgItemTextA(dialog, idHundredths, point ? point + 1 : "");
}

static void SelectRate(HWND dialog, int index)
{
    if (index < 0 || index >= QL_RATE_COUNT) return;
    SendDlgItemMessageA(dialog, IDC_ITEM_RATE, CB_SETCURSEL, index, 0);
    QlItemWork.rate = QlSettings.rates[index];
}

static BOOL OnInitDialog(HWND dialog)
{
    const QlTransTextRec *t = QlTransText();
    sFilling = 1;
    QlUiCenterWindow(dialog);
    SetWindowTextA(dialog, t->ItemDescription);
    SetDlgItemTextA(dialog, IDT_ITEM_NAME_LABEL, t->ItemDescription);
    char label[80];
    snprintf(label, sizeof label, "%s (%s)", t->Price, QlSettings.cfg.currency);
    SetDlgItemTextA(dialog, IDT_ITEM_PRICE_LABEL, label);
    snprintf(label, sizeof label, "%s%c", QlSettings.cfg.taxName, '%');
    SetDlgItemTextA(dialog, IDT_ITEM_RATE_LABEL, label);
    snprintf(label, sizeof label, "%s :", QlSettings.cfg.taxName);
    SetDlgItemTextA(dialog, IDT_ITEM_TAX_LABEL, label);
    snprintf(label, sizeof label, "%s :", t->Total);
    SetDlgItemTextA(dialog, IDT_ITEM_TOTAL_LABEL, label);
    SetDlgItemTextA(dialog, IDOK, QlLangText()->Ok);
    SetDlgItemTextA(dialog, IDCANCEL, QlLangText()->Cancel);
    static const struct {
        int id, limit;
    } kLimits[] = {{IDE_ITEM_DESCR, 79},    {IDE_ITEM_PRICE_UNITS, 7}, {IDE_ITEM_PRICE_HUNDREDTHS, 2},
                   {IDE_ITEM_TAX_UNITS, 7}, {IDE_ITEM_TAX_HUNDREDTHS, 2}};
    for (const auto &l : kLimits) SendDlgItemMessageA(dialog, l.id, EM_LIMITTEXT, l.limit, 0);

    QlTransFillRateCombo(dialog, IDC_ITEM_RATE);
    SelectRate(dialog, QlSettings.cfg.defaultRate >= 0 && QlSettings.cfg.defaultRate < QL_RATE_COUNT
                           ? QlSettings.cfg.defaultRate
                           : 0);
    if (!QlItemAddMode) {
        SetDlgItemTextA(dialog, IDE_ITEM_DESCR, QlItemEditTexts.descr);
        SplitIntoEdits(dialog, QlItemEditTexts.net, IDE_ITEM_PRICE_UNITS, IDE_ITEM_PRICE_HUNDREDTHS);
        // A rate that none of the settings' rates matches keeps the default.
        SelectRate(dialog, QlItemRateIndexOfText(QlItemEditTexts.rate));
        // The stored tax, even when it had been corrected by hand.
        SplitIntoEdits(dialog, QlItemEditTexts.tax, IDE_ITEM_TAX_UNITS, IDE_ITEM_TAX_HUNDREDTHS);
        QlItemUpdateTotal(dialog);
    }
    sFilling = 0;
    return TRUE;
}

static void Refuse(HWND dialog, const char *caption, const char *text)
{
    QlMsgBox(dialog, caption, text, QL_COLOUR_WARNING);
}

static void OnOk(HWND dialog)
{
    const QlTransTextRec *t = QlTransText();
    int selection = (int)SendDlgItemMessageA(dialog, IDC_ITEM_RATE, CB_GETCURSEL, 0, 0);
    if (selection >= 0 && selection < QL_RATE_COUNT) QlItemWork.rate = QlSettings.rates[selection];
    memset(&QlItemLine, 0, sizeof QlItemLine);
    QlUiGetField(dialog, IDE_ITEM_DESCR, QlItemLine.descr);
    if (!QlItemLine.descr[0]) return Refuse(dialog, t->InvalidInput, t->NoServiceDesc);
    const char *refusal = QlItemPriceRefusal(dialog);
    if (refusal) return Refuse(dialog, t->InvalidInput, refusal);
    int64_t price = QlItemGetPriceCents(dialog);
    // The tax as the dialog shows it, typed or computed.
    QlItemUpdateTotal(dialog);
    if (QlItemAddMode) QlItemOldAmount = 0;
    if (QlItemWork.lineTax < 0 ||
        !QlPurchLineWithinCeiling(price, QlItemWork.lineTax, QlItemWork.rate, QlItemWork.formTotal, QlItemOldAmount))
        return Refuse(dialog, QlLangText()->Error, t->MaxAmount);
    QlItemLine.taxUnits = (int32_t)(QlItemWork.lineTax / 100);
    QlItemLine.taxHundredths = (int32_t)(QlItemWork.lineTax % 100);
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK QlPurchLineDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) return OnInitDialog(dialog);
    if (msg != WM_COMMAND) return FALSE;
    int id = LOWORD(wParam);
    if (id == IDOK) {
        OnOk(dialog);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, 0);
    } else if (!sFilling) {
        QlItemOnFieldChange(dialog, id, HIWORD(wParam));
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// The window's Add and Edit

int QlPurchMoneyText(HWND list, const QlLineRec *line, int row, int replace)
{
    char text[40];
    if (replace) {
        QlListSetCell(list, row, 0, line->descr);
    } else {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = row;
        item.pszText = (char *)line->descr;
        item.lParam = row;
        row = (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
        if (row < 0) return -1;
    }
    snprintf(text, sizeof text, "%d.%02d", (int)line->priceUnits, (int)line->priceHundredths);
    QlListSetCell(list, row, 3, text);
    QlMoneyFormatCents(QlItemWork.rate, text, sizeof text);
    QlListSetCell(list, row, 1, text);
    QlMoneyFormatCents(QlItemWork.lineTax, text, sizeof text);
    QlListSetCell(list, row, 4, text);
    QlMoneyFormatCents((int64_t)line->priceUnits * 100 + line->priceHundredths + QlItemWork.lineTax, text,
                       sizeof text);
    QlListSetCell(list, row, 2, text);
    return row;
}

static INT_PTR RunDialog(HWND window)
{
    return DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_PURCH_LINE), window, QlPurchLineDlgProc, 0);
}

int QlPurchLineAdd(HWND window)
{
    QlItemWork.lineTax = 0;
    QlItemAddMode = 1;
    QlItemOldAmount = 0;
    QlItemWork.formTotal = QlUiGetCents(window, IDT_DOC_GROSS);
    if (RunDialog(window) != 1) return 0;
    HWND list = GetDlgItem(window, IDL_DOC_LINES);
    if (QlPurchMoneyText(list, &QlItemLine, (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 0) < 0) return 0;
    QlPurchInvSumLines(window);
    return 1;
}

int QlPurchLineEdit(HWND window)
{
    HWND list = GetDlgItem(window, IDL_DOC_LINES);
    int row = (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    if (row < 0) return 0;
    QlItemOldAmount = QlTransFormRowAmount(window, QL_LAYOUT_PURCHASE, row);
    memset(&QlItemEditTexts, 0, sizeof QlItemEditTexts);
    QlListGetCell(list, row, 0, QlItemEditTexts.descr, sizeof QlItemEditTexts.descr);
    QlListGetCell(list, row, 1, QlItemEditTexts.rate, sizeof QlItemEditTexts.rate);
    QlListGetCell(list, row, 2, QlItemEditTexts.price, sizeof QlItemEditTexts.price);
    QlListGetCell(list, row, 3, QlItemEditTexts.net, sizeof QlItemEditTexts.net);
    QlListGetCell(list, row, 4, QlItemEditTexts.tax, sizeof QlItemEditTexts.tax);
    QlItemWork.formTotal = QlUiGetCents(window, IDT_DOC_GROSS);
    QlItemAddMode = 0;
    if (RunDialog(window) != 1) return 0;
    return QlPurchMoneyText(list, &QlItemLine, row, 1) >= 0;
}
