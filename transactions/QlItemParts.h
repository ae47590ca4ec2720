// The pieces of the line-item dialogs that a module's own line dialogs use
// too (the purchase-invoice line dialog): the edited row's state and texts,
// the live arithmetic on a dialog's price, tax and total edits, the same
// arithmetic on numbers and the rate combo.  The dialogs themselves and
// their openers: QlItemDialogs.h.
//
// All money is integer cents in 64 bits; no floating point is used.
#pragma once

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

// 1 while a line is added, 0 while a row is edited.
extern int QlItemAddMode;
// The edited row's amount (net + tax - discount), 0 while adding.
extern int64_t QlItemOldAmount;
// The title the opener chose for the dialog.
extern char QlItemDlgCaption[128];

// The texts of the row being edited, copied from the list before the dialog
// opens (service rows leave code and qty empty; credit rows use descr,
// price and tax).
struct QlItemEditTextsRec {
    char code[5];
    char descr[80];
    char qty[10];
    char rate[6];
    char discount[6];
    char price[13];
    char discountAmount[13];
    char net[13];
    char tax[13];
};
extern QlItemEditTextsRec QlItemEditTexts;

// Live arithmetic on a dialog with the price edits 1177/1179, the rate combo
// 1178, the tax edits 1182/1183, the total edits 1184/1185 and optionally
// the discount combo 1181.
int64_t QlItemGetPriceCents(HWND dialog);
// Why the price the edits hold cannot be taken, NULL when it can: a minus
// sign in either edit (pasted past the digits-only style), anything else but
// digits (the hundredths at most two), or a price of zero.
const char *QlItemPriceRefusal(HWND dialog);
void QlItemUpdateTax(HWND dialog);
void QlItemUpdateTotal(HWND dialog);
void QlItemOnTaxRateChange(HWND dialog);
// A change of the rate or discount combo, the price or the tax edits: the
// figures that follow from it; 1 when the control was one of those.
int QlItemOnFieldChange(HWND dialog, int id, int code);

// The same arithmetic on numbers.
// price less its discount at a whole percent (truncated).
int64_t QlItemDiscounted(int64_t priceCents, int64_t discountPercent);
// 1 when a line whose test amount (its price, or price x quantity + price
// for a product line) at the rate keeps the form's gross within the largest
// gross, once the edited row's old amount is taken out.
int QlItemWithinCeiling(int64_t testAmount, int64_t rate, int64_t formTotal, int64_t oldAmount);
// The tax of one unit from a row's tax text and quantity ("%I64d.%02u",
// truncated); the text unchanged for a quantity of 0.
void QlItemVatPerUnit(char *taxText, size_t size, int quantity);
// Index of the first of the settings' three rates equal to the rate text of
// a row ("23.00"); -1 when none is.
int QlItemRateIndexOfText(const char *rateText);

// (The quantity of a line, QlItemReadQuantity: docmodel/QlTransLines.h.)

// Fills a rate combo with the settings' three rate texts, the default rate
// selected.
void QlTransFillRateCombo(HWND dialog, int comboId);
