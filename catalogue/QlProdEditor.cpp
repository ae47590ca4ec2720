// The product dialogs: new product (dialog 200) and edit product (209), both
// modal over the products window, with Save and Close along the bottom.
//
// The new-product dialog takes a scanned, typed or generated barcode (the
// code panel is in QlProdCodes.cpp), gives the product the first free short
// code and lists it; the edit-product dialog rewrites the products window's
// row that the Edit command took (QlProdState.edit_row).

#include "catalogue/QlCatalogueLists.h"
#include "catalogue/QlCatTexts.h"
#include "catalogue/QlProducts.h"

#include "ui/QlAppState.h"
#include "ui/QlButtons.h"
#include "print/QlFields.h"
#include "ui/QlListView.h"
#include "ui/QlMoneyControls.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlToolbar.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlTransTexts.h"
#include "resources/QlResCatalogue.h"
#include "resources/QlResCommon.h"

#include <stddef.h>
#include <stdio.h>
#include <string.h>

enum { COL_CODE, COL_SUPPLIER_CODE, COL_DETAILS, COL_COST, COL_PRICE, COL_STOCK, COL_ROW_ID, COL_BARCODE };
enum { CMD_SAVE, CMD_CLOSE };

// A label and the field of the language record it shows.
struct LabelText {
    int id;
    size_t offset;
};
#define QL_LABEL(id, field) {id, offsetof(QlCatTextRec, field)}
static const LabelText kNewLabels[] = {
    QL_LABEL(IDT_PROD_NAME_LABEL, ProductName),          QL_LABEL(IDT_PROD_PRICE_LABEL, Price),
    QL_LABEL(IDT_PROD_COST_LABEL, CostPriceNew),         QL_LABEL(IDT_PROD_SUPPLIER_LABEL, SupplierCode),
    QL_LABEL(IDG_PROD_CODE_GROUP, GenerateGroup),        QL_LABEL(IDT_PROD_CODE_TYPE_LABEL, Standard),
    QL_LABEL(IDT_PROD_TYPE_DIGIT_LABEL, ProductType),    QL_LABEL(IDT_PROD_MFR_CODE_LABEL, ManufacturerCode),
    QL_LABEL(IDT_PROD_PRODUCT_CODE_LABEL, ProductCodeLabel), QL_LABEL(IDB_PROD_GENERATE, Generate),
    QL_LABEL(IDG_PROD_BARCODE_GROUP, ScanPrompt),        QL_LABEL(IDT_PROD_SCALE_LABEL, Scale),
};
static const LabelText kEditLabels[] = {
    QL_LABEL(IDT_PROD_CODE_LABEL, Code),          QL_LABEL(IDT_PROD_DESCR_LABEL, ProductDescription),
    QL_LABEL(IDG_PROD_BARCODE_GROUP, ProductBarcode), QL_LABEL(IDT_PROD_PRICE_LABEL, Price),
    QL_LABEL(IDT_PROD_COST_LABEL, CostPrice),     QL_LABEL(IDT_PROD_SUPPLIER_LABEL, SupplierCode),
    QL_LABEL(IDT_PROD_SCALE_LABEL, Scale),
};
#undef QL_LABEL

// Edit limits.  The price fields take more than a price may have, so that a
// pasted text reaches the check whole instead of being cut to fit
// (PriceRefusal: up to 7 digits of units and 2 of hundredths).
struct EditLimit {
    int id, limit;
};
#define QL_PROD_PRICE_FIELD 20
static const EditLimit kNewLimits[] = {{IDE_PROD_PRICE_UNITS, QL_PROD_PRICE_FIELD},
                                       {IDE_PROD_PRICE_HUNDREDTHS, QL_PROD_PRICE_FIELD},
                                       {IDE_PROD_COST_UNITS, QL_PROD_PRICE_FIELD},
                                       {IDE_PROD_COST_HUNDREDTHS, QL_PROD_PRICE_FIELD},
                                       {IDE_PROD_NAME, 80},
                                       {IDE_PROD_BARCODE, 30},
                                       {IDE_PROD_SUPPLIER_CODE, 19}};
static const EditLimit kEditLimits[] = {{IDE_PROD_PRICE_UNITS, QL_PROD_PRICE_FIELD},
                                        {IDE_PROD_PRICE_HUNDREDTHS, QL_PROD_PRICE_FIELD},
                                        {IDE_PROD_COST_UNITS, QL_PROD_PRICE_FIELD},
                                        {IDE_PROD_COST_HUNDREDTHS, QL_PROD_PRICE_FIELD},
                                        {IDE_PROD_NAME, 80},
                                        {IDE_PROD_BARCODE, 30},
                                        {IDE_PROD_SUPPLIER_CODE, 19}};
// The ceiling of a price: 9999999.99.
#define QL_PROD_PRICE_UNIT_DIGITS 7

// The dialog that is open (one at a time, modal).
static HWND sToolbar;
static HBITMAP sPrintFace;

// ---------------------------------------------------------------------------
// Shared set-up

static void SetLabels(HWND dialog, const LabelText *labels, size_t count)
{
    const char *record = (const char *)QlCatText();
    for (size_t i = 0; i < count; i++) SetDlgItemTextA(dialog, labels[i].id, record + labels[i].offset);
}

static void SetLimits(HWND dialog, const EditLimit *limits, size_t count)
{
    for (size_t i = 0; i < count; i++) SendDlgItemMessageA(dialog, limits[i].id, EM_LIMITTEXT, limits[i].limit, 0);
}

static int CreateToolbar(HWND dialog)
{
    sToolbar = QlToolbarCreate(QlUiInstance(), dialog, QlSaveCloseToolbarTable, 2, 1, 0);
    return sToolbar != NULL;
}

static void FillScales(HWND dialog)
{
    QlUiComboFill(dialog, QlProdBarcodeScales, IDC_PROD_SCALE, 2);
}

static void SetBarcodeFont(HWND dialog)
{
    if (QlFontWide10) SendDlgItemMessageA(dialog, IDE_PROD_BARCODE, WM_SETFONT, (WPARAM)QlFontWide10, TRUE);
}

static INT_PTR WhiteBox(HDC dc, COLORREF colour)
{
    SetTextColor(dc, colour);
    SetBkColor(dc, RGB(255, 255, 255));
    return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
}

static void OnDestroy(HWND dialog)
{
    QlToolbarDestroy(sToolbar, QlSaveCloseToolbarTable, 2);
    sToolbar = NULL;
    QlEditEnterDetach(GetDlgItem(dialog, IDE_PROD_BARCODE));
    QlUiUnsubclass(GetDlgItem(dialog, IDS_PROD_PREVIEW));
    if (sPrintFace) DeleteObject(sPrintFace);
    sPrintFace = NULL;
}

static int Refuse(HWND dialog, const char *caption, const char *text)
{
    QlMsgBox(dialog, caption, text, QL_COLOUR_WARNING);
    return 0;
}

// What is wrong with one price's two fields, NULL when nothing (an empty
// field is allowed: it leaves that half as it is): the line dialogs'
// messages, and the ceiling of a product's price.
static const char *PriceRefusal(HWND dialog, int unitsId, int hundredthsId)
{
    const QlTransTextRec *lines = QlTransText();
    char units[QL_PROD_PRICE_FIELD + 8], hundredths[QL_PROD_PRICE_FIELD + 8];
    GetDlgItemTextA(dialog, unitsId, units, sizeof units);
    GetDlgItemTextA(dialog, hundredthsId, hundredths, sizeof hundredths);
    if (strchr(units, '-') || strchr(hundredths, '-')) return lines->PriceNegative;
    size_t unitDigits = strspn(units, "0123456789"), hundredthDigits = strspn(hundredths, "0123456789");
    if (units[unitDigits] || hundredths[hundredthDigits] || hundredthDigits > 2) return lines->PriceNotDigits;
    // Leading zeros count for nothing.
    size_t zeros = strspn(units, "0");
    if (unitDigits - zeros > QL_PROD_PRICE_UNIT_DIGITS) return QlCatText()->PriceTooLarge;
    return NULL;
}

// Both prices checked; 0 after the message (the fields stay as typed).
static int PricesAccepted(HWND dialog)
{
    const char *refusal = PriceRefusal(dialog, IDE_PROD_PRICE_UNITS, IDE_PROD_PRICE_HUNDREDTHS);
    int field = IDE_PROD_PRICE_UNITS;
    if (!refusal) {
        refusal = PriceRefusal(dialog, IDE_PROD_COST_UNITS, IDE_PROD_COST_HUNDREDTHS);
        field = IDE_PROD_COST_UNITS;
    }
    if (!refusal) return 1;
    QlMsgBox(dialog, QlCatText()->InvalidInput, refusal, QL_COLOUR_WARNING);
    SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, field), TRUE);
    return 0;
}

// The four price fields into the record; an empty field leaves its half.
static void ReadPrices(HWND dialog, QlProdRec *rec)
{
    long value = rec->unit_price_units;
    QlUiGetLong(dialog, IDE_PROD_PRICE_UNITS, &value);
    rec->unit_price_units = (int32_t)value;
    value = (long)rec->unit_price_hundredths;
    QlUiGetLong(dialog, IDE_PROD_PRICE_HUNDREDTHS, &value);
    rec->unit_price_hundredths = (uint32_t)value;
    value = rec->purchase_price_units;
    QlUiGetLong(dialog, IDE_PROD_COST_UNITS, &value);
    rec->purchase_price_units = (int32_t)value;
    value = (long)rec->purchase_price_hundredths;
    QlUiGetLong(dialog, IDE_PROD_COST_HUNDREDTHS, &value);
    rec->purchase_price_hundredths = (uint32_t)value;
}

// A barcode of 1 to 11 characters (an empty one is allowed): refused with
// the text, 0.
static int BarcodeLongEnough(HWND dialog, const char *barcode, const char *format)
{
    size_t length = strlen(barcode);
    if (length == 0 || length >= QL_PROD_BARCODE_MIN) return 1;
    char message[160];
    snprintf(message, sizeof message, format, (unsigned)QL_PROD_BARCODE_MIN);
    return Refuse(dialog, QlCatText()->InvalidBarcode, message);
}

static int RefuseDuplicate(HWND dialog, const char *barcode)
{
    char message[200];
    snprintf(message, sizeof message, QlCatText()->BarcodeExists, barcode);
    return Refuse(dialog, QlCatText()->DuplicateBarcode, message);
}

// Another enabled product than the one with the key (0: any product)
// carries the barcode: 1 yes, 0 no, -1 when the store could not tell (its
// text in err).
static int sOtherFound;
static int OtherFoundCb(const QlProdRec *)
{
    sOtherFound = 1;
    return 0;
}

static int BarcodeOfAnother(const char *barcode, int64_t key, char *err)
{
    char quoted[2 * 31];
    char sql[QL_DB_SQL_QUERY];
    if (!QlSqlQuote(barcode, quoted, sizeof quoted)) {
        QlDbSetError(err, QL_DB_ERR_TOO_LONG);
        return -1;
    }
    snprintf(sql, sizeof sql,
             "select iKey from products where enabled='yes' and barcode='%s' and iKey<>'" QL_I64 "' limit 1;", quoted,
             key);
    sOtherFound = 0;
    if (!QlProdEnumSql(OtherFoundCb, sql, err)) return -1;
    return sOtherFound;
}

// A barcode that another product carries, or that could not be checked, is
// refused with its message; 1 when the barcode may be stored.
static int BarcodeFree(HWND dialog, const char *barcode, int64_t key)
{
    if (!barcode[0]) return 1;
    char err[QL_DB_ERR_SIZE] = "";
    switch (BarcodeOfAnother(barcode, key, err)) {
    case 0: return 1;
    case 1: return RefuseDuplicate(dialog, barcode);
    default: return Refuse(dialog, QlCatText()->Error, err);
    }
}

// ---------------------------------------------------------------------------
// New product

void QlProdNewReset(HWND dialog)
{
    SetDlgItemTextA(dialog, IDE_PROD_NAME, "");
    SetDlgItemTextA(dialog, IDE_PROD_BARCODE, "");
    SetDlgItemTextA(dialog, IDE_PROD_PRICE_UNITS, "0");
    SetDlgItemTextA(dialog, IDE_PROD_PRICE_HUNDREDTHS, "00");
    SetFocus(GetDlgItem(dialog, IDE_PROD_BARCODE));
    QlBarcodePreviewRefresh(dialog);
}

static void ListNewProduct(const QlProdRec *rec)
{
    QlProdListAppend(rec);
}

int QlProdAdd(HWND dialog)
{
    const QlCatTextRec *text = QlCatText();
    QlProdRec rec = {};
    char err[QL_DB_ERR_SIZE];
    QlProdReadBarcode(dialog, rec.barcode, (int)sizeof rec.barcode - 1);
    if (!BarcodeLongEnough(dialog, rec.barcode, text->NewBarcodeTooShort)) return 0;
    if (!BarcodeFree(dialog, rec.barcode, 0)) return 0;
    QlUiGetField(dialog, IDE_PROD_NAME, rec.name);
    if (!rec.name[0]) return Refuse(dialog, text->InvalidInput, text->NoDescription);
    if (!PricesAccepted(dialog)) return -1;
    ReadPrices(dialog, &rec);
    QlUiGetField(dialog, IDE_PROD_SUPPLIER_CODE, rec.supplier_code);
    if (!QlProdNextShortCode(&rec)) return Refuse(dialog, text->Error, text->NoShortCode);
    if (!QlProdAddRec(&rec, err)) {
        QlSeamMessageBox(NULL, err, text->AddFailed, MB_OK);
        return 0;
    }
    ListNewProduct(&rec);
    return 1;
}

static BOOL OnNewInit(HWND dialog)
{
    const QlCatTextRec *text = QlCatText();
    QlUiCenterWindow(dialog);
    QlEditEnterAttach(GetDlgItem(dialog, IDE_PROD_BARCODE));
    QlUiSubclass(GetDlgItem(dialog, IDS_PROD_PREVIEW), QlBarcodePreviewWndProc);
    if (!CreateToolbar(dialog)) return FALSE;
    SetDlgItemTextA(dialog, IDB_PROD_PRINT_BARCODE, text->PrintBarcode);
    QlUiComboFill(dialog, QlProdCodeTypeNames, IDC_PROD_CODE_TYPE, 0);
    SendDlgItemMessageA(dialog, IDE_PROD_TYPE_DIGIT, EM_LIMITTEXT, 1, 0);
    SetDlgItemTextA(dialog, IDE_PROD_TYPE_DIGIT, "4");
    SendDlgItemMessageA(dialog, IDE_PROD_MFR_CODE, EM_LIMITTEXT, 5, 0);
    char proposal[16];
    snprintf(proposal, sizeof proposal, "%d", QlProdRandomMfrCode());
    SetDlgItemTextA(dialog, IDE_PROD_MFR_CODE, proposal);
    SendDlgItemMessageA(dialog, IDE_PROD_PRODUCT_CODE, EM_LIMITTEXT, 5, 0);
    FillScales(dialog);
    SetWindowTextA(dialog, text->NewCaption);
    SetLabels(dialog, kNewLabels, ARRAYSIZE(kNewLabels));
    SetLimits(dialog, kNewLimits, ARRAYSIZE(kNewLimits));
    SetBarcodeFont(dialog);
    SetDlgItemTextA(dialog, IDE_PROD_PRICE_UNITS, "0");
    SetDlgItemTextA(dialog, IDE_PROD_PRICE_HUNDREDTHS, "00");
    SetDlgItemTextA(dialog, IDE_PROD_COST_UNITS, "0");
    SetDlgItemTextA(dialog, IDE_PROD_COST_HUNDREDTHS, "00");
    SetDlgItemTextA(dialog, IDE_PROD_NAME, "");
    SetFocus(GetDlgItem(dialog, IDE_PROD_BARCODE));
    return FALSE;
}

static void OnNewCommand(HWND dialog, int id, int code, HWND control)
{
    if (control && control == sToolbar) {
        if (id == CMD_SAVE) {
            int added = QlProdAdd(dialog);
            if (added == 1)
                EndDialog(dialog, 1);
            else if (added == 0)
                QlProdNewReset(dialog);
        } else if (id == CMD_CLOSE) {
            EndDialog(dialog, 0);
        }
        return;
    }
    switch (id) {
    case IDOK:
        // Enter in the barcode field is a scan, whoever delivers it; in any
        // other field it does nothing (the dialog has no default button), so
        // that what was typed stays.
        if (GetFocus() == GetDlgItem(dialog, IDE_PROD_BARCODE)) QlProdCheckBarcode(dialog);
        return;
    case IDCANCEL: EndDialog(dialog, 0); return;
    case IDB_PROD_PRINT_BARCODE: QlBarcodePrint(dialog); return;
    case IDC_PROD_CODE_TYPE: QlProdCodeTypeChanged(dialog); return;
    case IDB_PROD_GENERATE: QlProdMakeCode(dialog); return;
    }
}

INT_PTR CALLBACK QlProdNewDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnNewInit(dialog);
    case WM_COMMAND: OnNewCommand(dialog, LOWORD(wParam), HIWORD(wParam), (HWND)lParam); return TRUE;
    case QL_WM_ENTER_KEY: QlProdCheckBarcode(dialog); return TRUE;
    case WM_CTLCOLOREDIT:
        if ((HWND)lParam == GetDlgItem(dialog, IDE_PROD_BARCODE)) return WhiteBox((HDC)wParam, QL_COLOUR_WARNING);
        return FALSE;
    case WM_DESTROY: OnDestroy(dialog); return FALSE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Edit product

static HWND ProductsList(void)
{
    return QlProdState.window ? GetDlgItem(QlProdState.window, IDL_PROD_LIST) : NULL;
}

int QlProdEditSave(HWND dialog)
{
    const QlCatTextRec *text = QlCatText();
    char name[81], barcode[31], supplierCode[20];
    QlUiGetField(dialog, IDE_PROD_NAME, name);
    if (!name[0]) return Refuse(dialog, text->InvalidInput, text->NoDescription);
    QlProdReadBarcode(dialog, barcode, (int)sizeof barcode - 1);
    if (!BarcodeLongEnough(dialog, barcode, text->EditBarcodeTooShort)) return 0;
    if (!PricesAccepted(dialog)) return 0;

    HWND list = ProductsList();
    int row = QlProdState.edit_row;
    char key[64] = "";
    if (list) QlListGetCell(list, row, COL_ROW_ID, key, sizeof key);
    QlProdRec rec;
    char err[QL_DB_ERR_SIZE];
    if (!QlProdGetByRowId(QlAtoI64(key), &rec, err)) return Refuse(dialog, text->Error, err);
    // A scan must never find the wrong product: no two live products share
    // a barcode.
    if (!BarcodeFree(dialog, barcode, rec.iKey)) return 0;

    memcpy(rec.name, name, sizeof rec.name);
    memcpy(rec.barcode, barcode, sizeof rec.barcode);
    QlUiGetField(dialog, IDE_PROD_SUPPLIER_CODE, supplierCode);
    if (supplierCode[0]) memcpy(rec.supplier_code, supplierCode, sizeof rec.supplier_code);
    ReadPrices(dialog, &rec);
    if (!QlProdUpdate(&rec, err)) return Refuse(dialog, text->Error, err);

    // The window's row shows the product's copy.
    QlDListNodeRec *node = QlProdMemFind(rec.iKey);
    if (node) memcpy(node->data, &rec, sizeof rec);
    QlProdListChanged();
    return 1;
}

static void SetPrintFace(HWND dialog)
{
    const char *caption = QlCatText()->PrintBarcode;
    HWND button = GetDlgItem(dialog, IDB_PROD_PRINT_BARCODE);
    RECT client = {};
    GetClientRect(button, &client);
    int size = 7;
    if (!QlUiFitFontSize(button, client.right, caption, &size)) size = 7;
    sPrintFace = QlUiSetButtonCaption(dialog, IDBMP_PRINT_BARCODE, IDB_PROD_PRINT_BARCODE, 15, caption, size);
}

static BOOL OnEditInit(HWND dialog)
{
    const QlCatTextRec *text = QlCatText();
    QlUiCenterWindow(dialog);
    QlUiSubclass(GetDlgItem(dialog, IDS_PROD_PREVIEW), QlBarcodePreviewWndProc);
    SetWindowTextA(dialog, text->EditCaption);
    SetLabels(dialog, kEditLabels, ARRAYSIZE(kEditLabels));
    if (!CreateToolbar(dialog)) return FALSE;
    SetPrintFace(dialog);
    FillScales(dialog);
    SetLimits(dialog, kEditLimits, ARRAYSIZE(kEditLimits));
    SetBarcodeFont(dialog);
    SetDlgItemTextA(dialog, IDE_PROD_COST_UNITS, "0");
    SetDlgItemTextA(dialog, IDE_PROD_COST_HUNDREDTHS, "00");

    HWND list = ProductsList();
    if (!list) return TRUE;
    int row = QlProdState.edit_row;
    QlListCellToMoneyEdits(dialog, list, row, COL_PRICE, IDE_PROD_PRICE_UNITS, IDE_PROD_PRICE_HUNDREDTHS);
    QlListCellToMoneyEdits(dialog, list, row, COL_COST, IDE_PROD_COST_UNITS, IDE_PROD_COST_HUNDREDTHS);
    static const struct {
        int id, column;
    } kFromRow[] = {{IDE_PROD_NAME, COL_DETAILS},
                    {IDE_PROD_SUPPLIER_CODE, COL_SUPPLIER_CODE},
                    {IDT_PROD_CODE, COL_CODE},
                    {IDE_PROD_BARCODE, COL_BARCODE}};
    for (const auto &field : kFromRow) {
        char cell[256];
        QlListGetCell(list, row, field.column, cell, sizeof cell);
        SetDlgItemTextA(dialog, field.id, cell);
    }
    return TRUE;
}

static void OnEditCommand(HWND dialog, int id, int code, HWND control)
{
    if (control && control == sToolbar) {
        if (id == CMD_SAVE) {
            if (QlProdEditSave(dialog)) EndDialog(dialog, 1);
        } else if (id == CMD_CLOSE) {
            EndDialog(dialog, 0);
        }
        return;
    }
    switch (id) {
    case IDOK: return;   // Enter: no default button, the fields stay as typed
    case IDCANCEL: EndDialog(dialog, 0); return;
    case IDB_PROD_PRINT_BARCODE: QlBarcodePrint(dialog); return;
    case IDE_PROD_BARCODE:
        if (code == EN_CHANGE) QlBarcodePreviewRefresh(dialog);
        return;
    }
}

INT_PTR CALLBACK QlProdEditDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnEditInit(dialog);
    case WM_COMMAND: OnEditCommand(dialog, LOWORD(wParam), HIWORD(wParam), (HWND)lParam); return TRUE;
    case WM_CTLCOLOREDIT:
        if ((HWND)lParam == GetDlgItem(dialog, IDE_PROD_BARCODE)) return WhiteBox((HDC)wParam, QL_COLOUR_WARNING);
        return FALSE;
    case WM_CTLCOLORSTATIC:
        if ((HWND)lParam == GetDlgItem(dialog, IDT_PROD_CODE)) return WhiteBox((HDC)wParam, RGB(0, 0, 0));
        return FALSE;
    case WM_DESTROY: OnDestroy(dialog); return FALSE;
    }
    return FALSE;
}
