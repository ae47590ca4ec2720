// The service and product line dialogs (templates 183 and 201) and their
// openers on a document form.
//
// The dialog's edits change each other (price -> tax -> total); notifications
// that arrive while the dialog fills its own fields are not acted on, and the
// figures are computed once at the end of the start-up instead.

#include "transactions/QlItemDialogs.h"

#include "catalogue/QlCatalogueCache.h"
#include "catalogue/QlCatalogueLists.h"
#include "catalogue/QlCatalogueTables.h"
#include "ui/QlAppState.h"
#include "ui/QlListView.h"
#include "ui/QlMoneyControls.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "core/QlQuantity.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDb.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlTransLines.h"
#include "docmodel/QlTransTexts.h"
#include "docmodel/QlReadError.h"
#include "resources/QlResTrans.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"
#include "transactions/QlTransForm.h"

#include <commctrl.h>
#include <ctype.h>
#include <mmsystem.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int QlItemAddMode;
int64_t QlItemOldAmount;
char QlItemDlgCaption[128];
QlItemEditTextsRec QlItemEditTexts;

// Columns of the product pick list.
enum { PICK_CODE, PICK_SUPPLIER_CODE, PICK_DETAILS, PICK_COST, PICK_PRICE, PICK_STOCK, PICK_ROW_ID };

// The product pick list: the stock dialogs' seven columns, on list 1180
// with titles of its own.
static QlListColumnTable sProdPickColumns;

// The dialog that is open (one at a time, modal).
static int sFilling;              // the dialog is filling its own fields
static HFONT sBarcodeFont;
static int sServSortFlags[3];
// The form's account, for the dialog's defaults.
static QlCustRec sCustomer;
static int sHaveCustomer;

// ---------------------------------------------------------------------------
// Arithmetic

int64_t QlItemDiscounted(int64_t priceCents, int64_t discountPercent)
{
    if (discountPercent == 0) return priceCents;
    return priceCents - priceCents * discountPercent / 100;
}

int QlItemWithinCeiling(int64_t testAmount, int64_t rate, int64_t formTotal, int64_t oldAmount)
{
    // A larger amount is refused before its tax is computed, which keeps
    // amount x rate well inside 64 bits.
    if (testAmount > QL_MAX_GROSS_CENTS) return 0;
    int64_t total = testAmount * rate / 10000 + testAmount + formTotal - oldAmount;
    return total <= QL_MAX_GROSS_CENTS;
}

void QlItemVatPerUnit(char *taxText, size_t size, int quantity)
{
    if (quantity == 0) return;
    QlMoneyFormatCents(QlMoneyParseCents(taxText) / quantity, taxText, size);
}

int QlItemRateIndexOfText(const char *rateText)
{
    if (!strchr(rateText, '.')) return -1;
    int64_t rate = QlMoneyParseCents(rateText);
    for (int i = 0; i < QL_RATE_COUNT; i++)
        if (QlSettings.rates[i] == rate) return i;
    return -1;
}

// ---------------------------------------------------------------------------
// Live arithmetic on the dialog

static int ComboSelection(HWND dialog, int id)
{
    HWND combo = GetDlgItem(dialog, id);
    return combo ? (int)SendMessageA(combo, CB_GETCURSEL, 0, 0) : CB_ERR;
}

static int64_t DiscountPercentOf(HWND dialog)
{
    int selection = ComboSelection(dialog, IDC_ITEM_DISCOUNT);
    return selection > 0 ? selection : 0;
}

int64_t QlItemGetPriceCents(HWND dialog)
{
    char units[40], hundredths[40];
    QlUiGetField(dialog, IDE_ITEM_PRICE_UNITS, units);
    QlUiGetField(dialog, IDE_ITEM_PRICE_HUNDREDTHS, hundredths);
    QlItemLine.priceUnits = (int32_t)atol(units);
    QlItemLine.priceHundredths = atoi(hundredths);
    return (int64_t)QlItemLine.priceUnits * 100 + QlItemLine.priceHundredths;
}

static int AllDigits(const char *text, size_t maxLength)
{
    size_t length = strlen(text);
    if (length > maxLength) return 0;
    for (size_t i = 0; i < length; i++)
        if (text[i] < '0' || text[i] > '9') return 0;
    return 1;
}

const char *QlItemPriceRefusal(HWND dialog)
{
    const QlTransTextRec *text = QlTransText();
    char units[40], hundredths[40];
    QlUiGetField(dialog, IDE_ITEM_PRICE_UNITS, units);
    QlUiGetField(dialog, IDE_ITEM_PRICE_HUNDREDTHS, hundredths);
    if (strchr(units, '-') || strchr(hundredths, '-')) return text->PriceNegative;
    // Nine digits of units still fit the line's 32-bit units.
    if (!AllDigits(units, 9) || !AllDigits(hundredths, 2)) return text->PriceNotDigits;
    if (QlItemGetPriceCents(dialog) == 0) return text->ZeroPrice;
    return NULL;
}

void QlItemUpdateTax(HWND dialog)
{
    int64_t price = QlItemDiscounted(QlItemGetPriceCents(dialog), DiscountPercentOf(dialog));
    QlItemWork.lineTax = QlMoneyApplyRate(QlItemWork.rate, price);
    QlUiSetCentsSplit(dialog, QlItemWork.lineTax, IDE_ITEM_TAX_UNITS, IDE_ITEM_TAX_HUNDREDTHS);
}

void QlItemUpdateTotal(HWND dialog)
{
    QlItemWork.lineTax = QlUiGetCentsSplit(dialog, IDE_ITEM_TAX_UNITS, IDE_ITEM_TAX_HUNDREDTHS);
    int64_t price = QlItemDiscounted(QlUiGetCentsSplit(dialog, IDE_ITEM_PRICE_UNITS, IDE_ITEM_PRICE_HUNDREDTHS),
                                     DiscountPercentOf(dialog));
    QlUiSetCentsSplit(dialog, QlItemWork.lineTax + price, IDE_ITEM_TOTAL_UNITS, IDE_ITEM_TOTAL_HUNDREDTHS);
}

void QlItemOnTaxRateChange(HWND dialog)
{
    int selection = ComboSelection(dialog, IDC_ITEM_RATE);
    if (selection < 0 || selection >= QL_RATE_COUNT) return;
    QlItemWork.rate = QlSettings.rates[selection];
    QlItemUpdateTax(dialog);
    QlItemUpdateTotal(dialog);
}

int QlItemOnFieldChange(HWND dialog, int id, int code)
{
    if ((id == IDC_ITEM_RATE || id == IDC_ITEM_DISCOUNT) && code == CBN_SELCHANGE) {
        QlItemOnTaxRateChange(dialog);
    } else if ((id == IDE_ITEM_PRICE_UNITS || id == IDE_ITEM_PRICE_HUNDREDTHS) && code == EN_CHANGE) {
        QlItemUpdateTax(dialog);
        QlItemUpdateTotal(dialog);
    } else if ((id == IDE_ITEM_TAX_UNITS || id == IDE_ITEM_TAX_HUNDREDTHS) && code == EN_CHANGE) {
        QlItemUpdateTotal(dialog);
    } else {
        return 0;
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Pick lists

// The pick list is owner-data: it shows the catalogue's products or
// services as the catalogue cache keeps them (read once, not at every Add)
// and asks for the cells it draws.  Products show through an order of their
// own (row -> product), which a click on a column sorts; services are sorted
// in place.
static QlCatalogueProductList sProducts;
static QlServRec *sServices;
static int *sPickOrder;
static int sPickCount;
static int sPickProducts;     // 1 products, 0 services
static int sEditedProduct;    // the edited line's product: its quantity is still in stock
static int64_t sEditedQty;

static void ForgetPickRows(void)
{
    free(sPickOrder);
    sPickOrder = NULL;
    memset(&sProducts, 0, sizeof sProducts);
    sServices = NULL;
    sPickCount = 0;
    sEditedProduct = -1;
    sEditedQty = 0;
}

// The product of a row, NULL outside the list.
static const QlCatalogueProduct *PickProduct(int row)
{
    if (!sPickProducts || row < 0 || row >= sPickCount) return NULL;
    return &sProducts.rows[sPickOrder[row]];
}

static void PickCell(int row, int column, char *text, size_t size)
{
    text[0] = '\0';
    if (size == 0 || row < 0 || row >= sPickCount) return;
    if (!sPickProducts) {
        const QlServRec *service = &sServices[row];
        switch (column) {
        case 0: snprintf(text, size, QL_I64, service->iKey); break;
        case 1: snprintf(text, size, "%s", service->descr); break;
        case 2: snprintf(text, size, "%d.%02d", service->price_units, (int)service->price_hundredths); break;
        }
        return;
    }
    const QlCatalogueProduct *product = PickProduct(row);
    switch (column) {
    case PICK_CODE: snprintf(text, size, "%s", QlCatalogueCode(&sProducts, product)); break;
    case PICK_SUPPLIER_CODE: snprintf(text, size, "%s", QlCatalogueSupplierCode(&sProducts, product)); break;
    case PICK_DETAILS: snprintf(text, size, "%s", QlCatalogueName(&sProducts, product)); break;
    case PICK_COST: snprintf(text, size, "%d.%02d", product->costUnits, (int)product->costHundredths); break;
    case PICK_PRICE: snprintf(text, size, "%d.%02d", product->unitUnits, (int)product->unitHundredths); break;
    case PICK_STOCK: {
        int64_t stock = (int64_t)product->stock - QlItemQtyOnForm(QlCatalogueCode(&sProducts, product));
        if (sPickOrder[row] == sEditedProduct) stock += sEditedQty;
        snprintf(text, size, QL_I64, stock);
        break;
    }
    case PICK_ROW_ID: snprintf(text, size, QL_I64, product->iKey); break;
    }
}

// The item text of a row, for the list's own find (LVN_ODFINDITEM).
static const char *PickItemText(int row)
{
    static char text[40];
    PickCell(row, 0, text, sizeof text);
    return row >= 0 && row < sPickCount ? text : NULL;
}

// The list shows the rows from the top, nothing selected.
static void ShowPickRows(HWND list)
{
    LVITEMA none = {};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&none);
    SendMessageA(list, LVM_SETITEMCOUNT, sPickCount, 0);
    if (sPickCount > 0) SendMessageA(list, LVM_ENSUREVISIBLE, 0, FALSE);
    InvalidateRect(list, NULL, TRUE);
}

// The enabled products into the list, in the order the database gives
// them; 0 (with err) when they could not be read.
static int ListProducts(HWND list, char *err)
{
    ForgetPickRows();
    sPickProducts = 1;
    QlCatalogueProductList products;
    if (!QlCatalogueProducts(&products, err)) return 0;
    int count = products.count;
    sPickOrder = (int *)malloc((size_t)(count ? count : 1) * sizeof *sPickOrder);
    if (!sPickOrder) {
        QlDbSetError(err, "Out of memory");
        return 0;
    }
    for (int i = 0; i < count; i++) sPickOrder[i] = i;
    sProducts = products;
    sPickCount = count;
    ShowPickRows(list);
    return 1;
}

// The enabled services into the list, ordered as QlServSortRecords orders.
static int ListServices(HWND list, int order)
{
    char err[QL_DB_ERR_SIZE];
    if (sPickProducts || !sServices) {
        ForgetPickRows();
        sPickProducts = 0;
        if (!QlCatalogueServices(&sServices, &sPickCount, err)) return 0;
    }
    QlServSortRecords(sServices, sPickCount, order);
    ShowPickRows(list);
    return 1;
}

// A click on a product column: the column's direction flips and the rows
// are ordered by the products' stored values, equal ones as they stood.
static int sSortColumn;
struct PickPlace {
    int product, place;
};

static int ComparePlaces(const void *left, const void *right)
{
    const PickPlace *a = (const PickPlace *)left, *b = (const PickPlace *)right;
    int order = QlCatalogueCompare(&sProducts, &sProducts.rows[a->product], &sProducts.rows[b->product], sSortColumn);
    return order ? order : (a->place > b->place) - (a->place < b->place);
}

static void SortProducts(HWND list, int column)
{
    if (column < 0 || column >= QL_PROD_SORT_COLUMNS || !sPickProducts) return;
    QlProdSortFlags[column] = QlProdSortFlags[column] == 0 ? 1 : 0;
    PickPlace *places = (PickPlace *)malloc((size_t)(sPickCount ? sPickCount : 1) * sizeof *places);
    if (!places) return;
    for (int i = 0; i < sPickCount; i++) places[i] = {sPickOrder[i], i};
    sSortColumn = column;
    qsort(places, (size_t)sPickCount, sizeof *places, ComparePlaces);
    for (int i = 0; i < sPickCount; i++) sPickOrder[i] = places[i].product;
    free(places);
    ShowPickRows(list);
}

void QlItemTakeProductRow(HWND dialog, int row, const char *qtyText)
{
    HWND list = GetDlgItem(dialog, IDL_ITEM_PICK);
    char text[128];
    QlListGetCell(list, row, PICK_DETAILS, text, sizeof text);
    SetDlgItemTextA(dialog, IDE_ITEM_DESCR, text);
    QlListCellToMoneyEdits(dialog, list, row, PICK_PRICE, IDE_ITEM_PRICE_UNITS, IDE_ITEM_PRICE_HUNDREDTHS);
    QlListGetCell(list, row, PICK_COST, text, sizeof text);
    SetDlgItemTextA(dialog, IDT_ITEM_COST, text);
    SetDlgItemTextA(dialog, IDE_ITEM_QTY, qtyText);
    QlListGetCell(list, row, PICK_CODE, text, sizeof text);
    SetDlgItemTextA(dialog, IDT_ITEM_CODE, text);
}

void QlItemShowService(HWND dialog, const QlServRec *service)
{
    char text[40];
    SetDlgItemTextA(dialog, IDE_ITEM_DESCR, service->descr);
    snprintf(text, sizeof text, "%d", service->price_units);
    SetDlgItemTextA(dialog, IDE_ITEM_PRICE_UNITS, text);
    snprintf(text, sizeof text, "%02d", (int)service->price_hundredths);
    SetDlgItemTextA(dialog, IDE_ITEM_PRICE_HUNDREDTHS, text);
    snprintf(text, sizeof text, QL_I64, service->iKey);
    SetDlgItemTextA(dialog, IDT_ITEM_CODE, text);
}

static void ShowPickRow(HWND list, int row)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&item);
    SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
}

static void PlayScanSound(const char *file)
{
    if (QlSettings.cfg.scanSounds) QlSeamPlaySound(file, NULL, SND_FILENAME | SND_ASYNC);
}

void QlItemOnScan(HWND dialog, const char *qtyText)
{
    const QlTransTextRec *text = QlTransText();
    char barcode[31];
    QlUiGetField(dialog, IDE_ITEM_BARCODE, barcode);
    SetDlgItemTextA(dialog, IDE_ITEM_BARCODE, "");
    char message[160];
    if (strlen(barcode) < QL_BARCODE_MIN_LENGTH) {
        snprintf(message, sizeof message, text->DialogBarcodeTooShort, (unsigned)QL_BARCODE_MIN_LENGTH);
        QlMsgBox(dialog, text->InvalidBarcode, message, QL_COLOUR_WARNING);
        return;
    }
    QlProdRec product;
    char err[QL_DB_ERR_SIZE];
    if (!QlProdFind("barcode", barcode, &product, err)) {
        if (!QlDbNotFound()) {
            QlShowReadError(dialog, err);
            return;
        }
        PlayScanSound("scan_err.wav");
        snprintf(message, sizeof message, text->NoBarcodeProduct, barcode);
        QlMsgBox(dialog, text->ProductMissingCaption, message, QL_COLOUR_WARNING);
        SetDlgItemTextA(dialog, IDE_ITEM_BARCODE, "");
        return;
    }
    SetDlgItemTextA(dialog, IDE_ITEM_BARCODE, product.barcode);
    PlayScanSound("scan_ok.wav");
    if (product.stock_qty <= 0) {
        snprintf(message, sizeof message, text->OutOfStock, barcode);
        QlMsgBox(dialog, QlLangText()->Error, message, QL_COLOUR_WARNING);
        SetDlgItemTextA(dialog, IDE_ITEM_BARCODE, "");
        return;
    }
    HWND list = GetDlgItem(dialog, IDL_ITEM_PICK);
    int row = QlListFindItemText(list, product.scode);
    if (row < 0) return;
    QlItemTakeProductRow(dialog, row, qtyText);
    QlItemOnTaxRateChange(dialog);
    ShowPickRow(list, row);
    SetFocus(GetDlgItem(dialog, IDE_ITEM_QTY));
}

// ---------------------------------------------------------------------------
// Start-up

void QlTransFillRateCombo(HWND dialog, int comboId)
{
    HWND combo = GetDlgItem(dialog, comboId);
    for (int i = 0; i < QL_RATE_COUNT; i++) SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)QlRateTextList[i]);
    int index = QlSettings.cfg.defaultRate;
    SendMessageA(combo, CB_SETCURSEL, index >= 0 && index < QL_RATE_COUNT ? index : 0, 0);
}

static void SelectRate(HWND dialog, int index)
{
    if (index < 0 || index >= QL_RATE_COUNT) return;
    SendDlgItemMessageA(dialog, IDC_ITEM_RATE, CB_SETCURSEL, index, 0);
    QlItemWork.rate = QlSettings.rates[index];
}

static void FillDiscountCombo(HWND dialog)
{
    HWND combo = GetDlgItem(dialog, IDC_ITEM_DISCOUNT);
    for (int i = 0; i < 100; i++) {
        char fallback[8];
        snprintf(fallback, sizeof fallback, "%d%%", i);
        SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)(QlPercentTextTable[i] ? QlPercentTextTable[i] : fallback));
    }
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
}

static void SetLabelWithName(HWND dialog, int id, const char *format, const char *name)
{
    char text[80];
    snprintf(text, sizeof text, format, name);
    SetDlgItemTextA(dialog, id, text);
}

static void SetCommonLabels(HWND dialog)
{
    const QlTransTextRec *text = QlTransText();
    SetDlgItemTextA(dialog, IDT_ITEM_DISCOUNT_LABEL, text->DiscountPercent);
    SetLabelWithName(dialog, IDT_ITEM_RATE_LABEL, "%s%%", QlSettings.cfg.taxName);
    SetLabelWithName(dialog, IDT_ITEM_QTY_LABEL, "%s :", text->Qty);
    SetLabelWithName(dialog, IDT_ITEM_TAX_LABEL, "%s :", QlSettings.cfg.taxName);
    SetLabelWithName(dialog, IDT_ITEM_TOTAL_LABEL, "%s :", text->Total);
    SetDlgItemTextA(dialog, IDCANCEL, QlLangText()->Cancel);
    char price[80];
    snprintf(price, sizeof price, "%s (%s)", text->Price, QlSettings.cfg.currency);
    SetDlgItemTextA(dialog, IDT_ITEM_PRICE_LABEL, price);
}

static void LimitEdits(HWND dialog)
{
    static const struct {
        int id, limit;
    } kLimits[] = {{IDE_ITEM_PRICE_UNITS, 7}, {IDE_ITEM_PRICE_HUNDREDTHS, 2}, {IDE_ITEM_TAX_UNITS, 7},
                   {IDE_ITEM_TAX_HUNDREDTHS, 2}, {IDE_ITEM_DESCR, 79}, {IDE_ITEM_SERV_CODE, 5}};
    for (const auto &l : kLimits) SendDlgItemMessageA(dialog, l.id, EM_LIMITTEXT, l.limit, 0);
}

// Product dialog: search, scanner and the products to pick from; 0 when the
// products could not be listed.
static int StartProducts(HWND dialog)
{
    const QlTransTextRec *text = QlTransText();
    HWND kind = GetDlgItem(dialog, IDC_ITEM_SEARCH_KIND);
    for (int i = 0; i < 3; i++) SendMessageA(kind, CB_ADDSTRING, 0, (LPARAM)text->SearchKinds[i]);
    SendMessageA(kind, CB_SETCURSEL, 0, 0);
    SetDlgItemTextA(dialog, IDT_ITEM_NAME_LABEL, text->ProductName);
    SetDlgItemTextA(dialog, IDT_ITEM_PICK_LABEL, text->PickProduct);
    SetDlgItemTextA(dialog, IDT_ITEM_CODE_LABEL, text->Code);
    SetDlgItemTextA(dialog, IDT_ITEM_CODE_ENTRY_LABEL, text->ProductCode);
    SetDlgItemTextA(dialog, IDB_ITEM_FIND, text->Find);
    SendDlgItemMessageA(dialog, IDE_ITEM_SEARCH, EM_LIMITTEXT, 79, 0);
    SetDlgItemTextA(dialog, IDT_ITEM_COST_LABEL, text->CostPrice);
    SetDlgItemTextA(dialog, IDT_ITEM_BARCODE_PROMPT, text->ScanPrompt);
    SendDlgItemMessageA(dialog, IDE_ITEM_BARCODE, EM_LIMITTEXT, 30, 0);
    sBarcodeFont = QlTransMakeBarcodeFont();
    if (sBarcodeFont) SendDlgItemMessageA(dialog, IDE_ITEM_BARCODE, WM_SETFONT, (WPARAM)sBarcodeFont, TRUE);

    sProdPickColumns = QlStockListColumnTable;
    sProdPickColumns.controlId = IDL_ITEM_PICK;
    sProdPickColumns.list = NULL;
    for (int i = 0; i < sProdPickColumns.count; i++)
        snprintf(sProdPickColumns.columns[i].title, sizeof sProdPickColumns.columns[i].title, "%s",
                 text->ProdPickColumns[i]);
    QlListSetupFromTable(dialog, &sProdPickColumns);
    char err[QL_DB_ERR_SIZE];
    if (!ListProducts(GetDlgItem(dialog, IDL_ITEM_PICK), err)) return 0;
    SendDlgItemMessageA(dialog, IDE_ITEM_QTY, EM_LIMITTEXT, 7, 0);
    SetDlgItemTextA(dialog, IDE_ITEM_QTY, "1");
    if (QlTransScanBuffer[0]) {
        SetDlgItemTextA(dialog, IDE_ITEM_BARCODE, QlTransScanBuffer);
        QlProdRec product;
        if (QlProdFind("barcode", QlTransScanBuffer, &product, err)) QlItemOnScan(dialog, "1");
    }
    SendDlgItemMessageA(dialog, IDE_ITEM_BARCODE, EM_SETSEL, 30, 30);
    return 1;
}

static void StartServices(HWND dialog)
{
    const QlTransTextRec *text = QlTransText();
    SetDlgItemTextA(dialog, IDB_ITEM_FIND, text->Select);
    SetDlgItemTextA(dialog, IDT_ITEM_NAME_LABEL, text->ServiceName);
    SetDlgItemTextA(dialog, IDT_ITEM_PICK_LABEL, text->PickService);
    // The code typed to find a service, and the chosen line's code (as in
    // the product line dialog): two labels that say which is which.
    SetDlgItemTextA(dialog, IDT_ITEM_CODE_LABEL, text->Code);
    SetDlgItemTextA(dialog, IDT_ITEM_CODE_ENTRY_LABEL, text->ServiceCode);

    HWND list = GetDlgItem(dialog, IDL_ITEM_PICK);
    static const int kWeights[3] = {95, 265, 93};
    static const int kFormats[3] = {LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_RIGHT};
    int widths[3];
    QlListColumnWidths(list, kWeights, 3, widths, 10);
    const QlLangMenuRec *menu = QlLangMenu();
    const char *titles[3] = {menu->ServColumns[0], menu->ServColumns[1], menu->ServColumns[2]};
    QlListSetColumnsFmt(list, titles, 3, widths, 0, kFormats);
    memset(sServSortFlags, 0, sizeof sServSortFlags);
    ListServices(list, 0);
    EnableWindow(GetDlgItem(dialog, IDT_ITEM_QTY_LABEL), FALSE);
    EnableWindow(GetDlgItem(dialog, IDE_ITEM_QTY), FALSE);
}

static void ApplyCustomerDefaults(HWND dialog)
{
    if (!sHaveCustomer) return;
    if (sCustomer.apply_discount && sCustomer.discount < 100)
        SendDlgItemMessageA(dialog, IDC_ITEM_DISCOUNT, CB_SETCURSEL, sCustomer.discount, 0);
    if (sCustomer.apply_tax) SelectRate(dialog, sCustomer.vat_rate_index);
}

// Editing: the row's texts into the fields.
static void ShowEditedRow(HWND dialog, int product)
{
    const QlItemEditTextsRec *row = &QlItemEditTexts;
    SetDlgItemTextA(dialog, IDE_ITEM_DESCR, row->descr);
    int64_t units;
    int hundredths;
    QlMoneyParse(row->price, &units, &hundredths);
    QlUiSetMoneySplit(dialog, IDE_ITEM_PRICE_UNITS, IDE_ITEM_PRICE_HUNDREDTHS, units, hundredths);
    SelectRate(dialog, QlItemRateIndexOfText(row->rate));
    int discount = atoi(row->discount);
    if (discount >= 0 && discount < 100) SendDlgItemMessageA(dialog, IDC_ITEM_DISCOUNT, CB_SETCURSEL, discount, 0);
    char tax[32];
    snprintf(tax, sizeof tax, "%s", row->tax);
    if (product) QlItemVatPerUnit(tax, sizeof tax, atoi(row->qty));
    QlUiSetCentsSplit(dialog, QlMoneyParseCents(tax), IDE_ITEM_TAX_UNITS, IDE_ITEM_TAX_HUNDREDTHS);
    QlItemUpdateTotal(dialog);
    if (!product) return;

    SetDlgItemTextA(dialog, IDE_ITEM_QTY, row->qty);
    SetDlgItemTextA(dialog, IDT_ITEM_CODE, row->code);
    HWND list = GetDlgItem(dialog, IDL_ITEM_PICK);
    int pick = QlListFindItemText(list, row->code);
    if (pick >= 0) {
        // The line's quantity goes back to its product's stock while it is edited.
        sEditedProduct = sPickOrder[pick];
        sEditedQty = atoi(row->qty);
        InvalidateRect(list, NULL, TRUE);
        char text[40];
        QlListGetCell(list, pick, PICK_COST, text, sizeof text);
        SetDlgItemTextA(dialog, IDT_ITEM_COST, text);
    }
    SetDlgItemTextA(dialog, IDE_ITEM_BARCODE, "");
    SetFocus(GetDlgItem(dialog, IDE_ITEM_QTY));
}

static BOOL OnInitDialog(HWND dialog, int product)
{
    SetWindowLongPtrA(dialog, DWLP_USER, product);
    sFilling = 1;
    ForgetPickRows();
    QlUiCenterWindow(dialog);
    QlEditEnterAttach(GetDlgItem(dialog, IDE_ITEM_BARCODE));
    SetCommonLabels(dialog);
    int listed = 1;
    if (product)
        listed = StartProducts(dialog);
    else
        StartServices(dialog);
    LimitEdits(dialog);
    SetWindowTextA(dialog, QlItemDlgCaption);
    QlTransFillRateCombo(dialog, IDC_ITEM_RATE);
    SelectRate(dialog, QlSettings.cfg.defaultRate);
    FillDiscountCombo(dialog);
    if (listed) {
        ApplyCustomerDefaults(dialog);
        if (!QlItemAddMode) ShowEditedRow(dialog, product);
    }
    sFilling = 0;
    if (QlItemAddMode) {
        QlItemUpdateTax(dialog);
        QlItemUpdateTotal(dialog);
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// OK

static int Refuse(HWND dialog, const char *caption, const char *text)
{
    QlMsgBox(dialog, caption, text, QL_COLOUR_WARNING);
    return 0;
}

// Product dialog: the line into QlItemProdLine; 0 (with a message) when it
// cannot be taken.
static int TakeProductLine(HWND dialog)
{
    const QlTransTextRec *text = QlTransText();
    memset(&QlItemProdLine, 0, sizeof QlItemProdLine);
    QlUiGetField(dialog, IDE_ITEM_DESCR, QlItemProdLine.name, 80);
    if (!QlItemProdLine.name[0]) return Refuse(dialog, text->InvalidInput, text->NoProductName);
    char field[40];
    QlUiGetField(dialog, IDT_ITEM_CODE, QlItemProdLine.scode);
    int64_t quantity = 0;
    if (!QlItemReadQuantity(dialog, IDE_ITEM_QTY, QL_QTY_MAX, &quantity)) return 0;
    HWND list = GetDlgItem(dialog, IDL_ITEM_PICK);
    int row = QlListFindItemText(list, QlItemProdLine.scode);
    // A line always carries a product of the list: without one it could not
    // be posted (its stock and its product row would be unknown).
    if (row < 0) return Refuse(dialog, text->InvalidInput, text->NoProductChosen);
    QlUiGetField(dialog, IDE_ITEM_PRICE_UNITS, field);
    QlItemProdLine.unit_price_units = (int32_t)atol(field);
    QlUiGetField(dialog, IDE_ITEM_PRICE_HUNDREDTHS, field);
    QlItemProdLine.unit_price_hundredths = (uint32_t)atoi(field);
    QlItemProdLine.stock_qty = (int32_t)quantity;
    int64_t price = (int64_t)QlItemProdLine.unit_price_units * 100 + (int32_t)QlItemProdLine.unit_price_hundredths;
    int64_t test = price * quantity + price;
    if (!QlItemWithinCeiling(test, QlItemWork.rate, QlItemWork.formTotal, QlItemAddMode ? 0 : QlItemOldAmount))
        return Refuse(dialog, QlLangText()->Error, text->MaxAmount);
    QlListGetCell(list, row, PICK_ROW_ID, field, sizeof field);
    QlItemProdLine.iKey = QlAtoI64(field);
    return 1;
}

static int TakeServiceLine(HWND dialog)
{
    const QlTransTextRec *text = QlTransText();
    memset(&QlItemLine, 0, sizeof QlItemLine);
    QlUiGetField(dialog, IDE_ITEM_DESCR, QlItemLine.descr);
    if (!QlItemLine.descr[0]) return Refuse(dialog, text->InvalidInput, text->NoServiceDesc);
    const char *refusal = QlItemPriceRefusal(dialog);
    if (refusal) return Refuse(dialog, text->InvalidInput, refusal);
    int64_t price = QlItemGetPriceCents(dialog);
    if (!QlItemWithinCeiling(price, QlItemWork.rate, QlItemWork.formTotal, QlItemAddMode ? 0 : QlItemOldAmount))
        return Refuse(dialog, QlLangText()->Error, text->MaxAmount);
    return 1;
}

static void OnOk(HWND dialog, int product)
{
    // Enter in the barcode field is a scan, not OK.
    if (product && GetFocus() == GetDlgItem(dialog, IDE_ITEM_BARCODE)) {
        char qty[16];
        QlUiGetField(dialog, IDE_ITEM_QTY, qty);
        QlItemOnScan(dialog, qty);
        return;
    }
    int rate = ComboSelection(dialog, IDC_ITEM_RATE);
    if (rate >= 0 && rate < QL_RATE_COUNT) QlItemWork.rate = QlSettings.rates[rate];
    QlItemWork.discount = DiscountPercentOf(dialog);
    if (product ? TakeProductLine(dialog) : TakeServiceLine(dialog)) EndDialog(dialog, 1);
}

// ---------------------------------------------------------------------------
// Events

static void OnPickDoubleClick(HWND dialog, int product, int row)
{
    HWND list = GetDlgItem(dialog, IDL_ITEM_PICK);
    if (row < 0) row = (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    if (row < 0) return;
    char text[40];
    if (!product) {
        QlListGetCell(list, row, 0, text, sizeof text);
        QlServRec service;
        char err[QL_DB_ERR_SIZE];
        if (QlServGetByRowId(QlAtoI64(text), &service, err)) QlItemShowService(dialog, &service);
        return;
    }
    QlListGetCell(list, row, PICK_STOCK, text, 20);
    if (atoi(text) <= 0 && !QlMsgAskOkCancel(dialog, QlTransText()->WarningCaption, QlTransText()->NotEnoughStock,
                                             QL_COLOUR_WARNING))
        return;
    char qty[16];
    QlUiGetField(dialog, IDE_ITEM_QTY, qty);
    QlItemTakeProductRow(dialog, row, qty);
    QlItemOnTaxRateChange(dialog);
}

static void OnSelectService(HWND dialog)
{
    char code[6];
    QlUiGetField(dialog, IDE_ITEM_SERV_CODE, code);
    SetDlgItemTextA(dialog, IDE_ITEM_SERV_CODE, "");
    QlServRec service;
    char err[QL_DB_ERR_SIZE];
    if (code[0] && QlServGetByRowId(QlAtoI64(code), &service, err)) QlItemShowService(dialog, &service);
}

static void OnFindProduct(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDL_ITEM_PICK);
    int row;
    if (QlItemFindProduct(dialog, list, &row)) {
        ShowPickRow(list, row);
        SetFocus(list);
        SetDlgItemTextA(dialog, IDT_ITEM_SEARCH_STATUS, "");
    } else {
        SetDlgItemTextA(dialog, IDT_ITEM_SEARCH_STATUS, QlTransText()->NotFound);
    }
}

static void OnCommand(HWND dialog, int product, int id, int code)
{
    switch (id) {
    case IDOK: OnOk(dialog, product); return;
    case IDCANCEL: EndDialog(dialog, 0); return;
    case IDB_ITEM_FIND:
        if (product)
            OnFindProduct(dialog);
        else
            OnSelectService(dialog);
        return;
    }
    if (sFilling || QlItemOnFieldChange(dialog, id, code)) return;
    if (id == IDE_ITEM_SEARCH && code == EN_CHANGE) SetDlgItemTextA(dialog, IDT_ITEM_SEARCH_STATUS, "");
}

// 1 when the notification was answered with a result of its own.
static int OnNotify(HWND dialog, int product, const NMHDR *header)
{
    if (header->idFrom != IDL_ITEM_PICK) return 0;
    if (header->code == LVN_GETDISPINFOA) {
        NMLVDISPINFOA *info = (NMLVDISPINFOA *)header;
        if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0)
            PickCell(info->item.iItem, info->item.iSubItem, info->item.pszText, (size_t)info->item.cchTextMax);
    } else if (header->code == LVN_ODFINDITEMA || header->code == LVN_ODFINDITEMW) {
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, QlListOwnerDataFind(header, sPickCount, PickItemText));
        return 1;
    } else if (header->code == LVN_COLUMNCLICK) {
        const NMLISTVIEW *click = (const NMLISTVIEW *)header;
        if (product) {
            SortProducts(header->hwndFrom, click->iSubItem);
        } else if (click->iSubItem >= 0 && click->iSubItem < 3) {
            sServSortFlags[click->iSubItem] = !sServSortFlags[click->iSubItem];
            ListServices(GetDlgItem(dialog, IDL_ITEM_PICK), click->iSubItem);
        }
    } else if (header->code == NM_DBLCLK) {
        OnPickDoubleClick(dialog, product, ((const NMITEMACTIVATE *)header)->iItem);
    }
    return 0;
}

static INT_PTR WhiteBox(HDC dc, COLORREF colour)
{
    SetTextColor(dc, colour);
    SetBkColor(dc, RGB(255, 255, 255));
    return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
}

INT_PTR CALLBACK QlItemDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    int product = (int)GetWindowLongPtrA(dialog, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog, lParam == 1);
    case WM_COMMAND: OnCommand(dialog, product, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_NOTIFY: return OnNotify(dialog, product, (const NMHDR *)lParam) ? TRUE : FALSE;
    case QL_WM_ENTER_KEY:
        if (product) {
            char qty[16];
            QlUiGetField(dialog, IDE_ITEM_QTY, qty);
            QlItemOnScan(dialog, qty);
        }
        return TRUE;
    case WM_CTLCOLOREDIT:
        if ((HWND)lParam == GetDlgItem(dialog, IDE_ITEM_BARCODE)) return WhiteBox((HDC)wParam, QL_COLOUR_WARNING);
        return FALSE;
    case WM_CTLCOLORSTATIC:
        if ((HWND)lParam == GetDlgItem(dialog, IDT_ITEM_CODE) || (product && (HWND)lParam == GetDlgItem(dialog, IDT_ITEM_COST)))
            return WhiteBox((HDC)wParam, RGB(0, 0, 0));
        return FALSE;
    case WM_DESTROY:
        QlEditEnterDetach(GetDlgItem(dialog, IDE_ITEM_BARCODE));
        if (sBarcodeFont) DeleteObject(sBarcodeFont);
        sBarcodeFont = NULL;
        ForgetPickRows();
        return FALSE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Openers

static int LineMode(void)
{
    return QlTransLineMode == 1 ? 1 : 0;
}

// The form's gross and account, read before the dialog opens.
static void ReadFormForDialog(HWND form)
{
    QlItemWork.formTotal = QlUiGetCents(form, IDT_DOC_GROSS);
    char acref[6];
    char err[QL_DB_ERR_SIZE];
    QlUiGetField(form, IDT_DOC_ACREF, acref);
    sHaveCustomer = acref[0] && QlCustGetByAcRef(acref, &sCustomer, err);
}

static INT_PTR RunLineDialog(HWND form, int product)
{
    return DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(product ? IDD_ITEM_PRODUCT : IDD_ITEM_SERVICE), form,
                           QlItemDlgProc, product);
}

static void SumForm(HWND form)
{
    QlTransFormSumItems(form, LineMode());
    QlTransFormUpdateGross(form);
}

int QlTransAddItem(HWND form, int flag)
{
    const QlTransTextRec *text = QlTransText();
    int product = LineMode();
    QlItemWork.lineTax = 0;
    QlItemAddMode = 1;
    QlItemOldAmount = 0;
    const char *caption = product ? (flag ? text->ProdQuoteCaption : text->ProdInvoiceCaption)
                                  : (flag ? text->ServQuoteCaption : text->ServInvoiceCaption);
    snprintf(QlItemDlgCaption, sizeof QlItemDlgCaption, "%s", caption);
    if (product && !QlTransCopyProductQty(form)) {
        QlMsgBox(form, text->CannotAddCaption, text->TooManyItems, QL_COLOUR_WARNING);
        return 0;
    }
    ReadFormForDialog(form);
    if (RunLineDialog(form, product) != 1) return 0;

    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    int rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    int row = QlTransLineCount >= 0 && QlTransLineCount <= rows ? QlTransLineCount : rows;
    int written = product ? QlItemWriteProdRow(list, &QlItemProdLine, row, 0)
                          : QlItemWriteServRow(list, &QlItemLine, row, 0);
    if (written < 0) return 0;
    QlTransLineCount = written + 1;
    SumForm(form);
    return 1;
}

static int SelectedRow(HWND form)
{
    return (int)SendDlgItemMessageA(form, IDL_DOC_LINES, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

// Which field of QlItemEditTexts each column of a row fills, by line mode.
struct EditTextColumn {
    size_t offset;
    int size;
};
#define QL_EDIT_TEXT(name) {offsetof(QlItemEditTextsRec, name), (int)sizeof(QlItemEditTextsRec::name)}
static const EditTextColumn kServiceColumns[] = {QL_EDIT_TEXT(descr), QL_EDIT_TEXT(rate),
                                                 QL_EDIT_TEXT(discount), QL_EDIT_TEXT(price),
                                                 QL_EDIT_TEXT(discountAmount), QL_EDIT_TEXT(net),
                                                 QL_EDIT_TEXT(tax)};
static const EditTextColumn kProductColumns[] = {QL_EDIT_TEXT(code), QL_EDIT_TEXT(descr), QL_EDIT_TEXT(qty),
                                                 QL_EDIT_TEXT(rate), QL_EDIT_TEXT(discount), QL_EDIT_TEXT(price),
                                                 QL_EDIT_TEXT(discountAmount), QL_EDIT_TEXT(net),
                                                 QL_EDIT_TEXT(tax)};
#undef QL_EDIT_TEXT

static void CopyEditTexts(HWND list, int row, int product)
{
    const EditTextColumn *columns = product ? kProductColumns : kServiceColumns;
    int count = product ? (int)ARRAYSIZE(kProductColumns) : (int)ARRAYSIZE(kServiceColumns);
    memset(&QlItemEditTexts, 0, sizeof QlItemEditTexts);
    for (int c = 0; c < count; c++)
        QlListGetCell(list, row, c, (char *)&QlItemEditTexts + columns[c].offset, columns[c].size);
}

int QlTransEditItem(HWND form)
{
    int row = SelectedRow(form);
    if (row < 0) return 0;
    const QlTransTextRec *text = QlTransText();
    int product = LineMode();
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    QlItemOldAmount = QlTransFormRowAmount(form, product, row);
    CopyEditTexts(list, row, product);
    snprintf(QlItemDlgCaption, sizeof QlItemDlgCaption, "%s", product ? text->SelectProduct : text->SelectService);
    if (product && !QlTransCopyProductQty(form)) memset(&QlItemQtyTable, 0, sizeof QlItemQtyTable);
    ReadFormForDialog(form);
    QlItemAddMode = 0;
    QlTransScanBuffer[0] = '\0';
    INT_PTR result = RunLineDialog(form, product);
    SetDlgItemTextA(form, IDE_DOC_BARCODE, "");
    if (GetDlgItem(form, IDE_DOC_BARCODE)) SetFocus(GetDlgItem(form, IDE_DOC_BARCODE));
    if (result != 1) return 0;
    int written = product ? QlItemWriteProdRow(list, &QlItemProdLine, row, 1)
                          : QlItemWriteServRow(list, &QlItemLine, row, 1);
    return written >= 0;
}
