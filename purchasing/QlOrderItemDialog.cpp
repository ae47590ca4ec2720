// The order-item dialog (template 328): one product for a purchase-order
// line, chosen from the product list, by a find over three columns or by
// its barcode, with the line's description and quantity.  OK writes the
// product, the quantity and the line total (the purchase price as listed
// times the quantity) into the order window's working line, QlOrderLine,
// once the quantity is a whole number of 1 or more and the order stays
// within the largest amount.
//
// The row id column of the list lies beyond its visible width: it carries
// the product's row id, which the line keeps.

#include "purchasing/QlPurchDocs.h"
#include "purchasing/QlPurchDocTexts.h"

#include "catalogue/QlCatalogueLists.h"
#include "ui/QlAppState.h"
#include "ui/QlListView.h"
#include "core/QlMoney.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "core/QlQuantity.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlTransLines.h"
#include "docmodel/QlTransTexts.h"
#include "resources/QlResPurchDocs.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"
#include "transactions/QlTransFormParts.h"

#include <commctrl.h>
#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// Columns of the product list: the row id at no width, room for a vertical
// scroll bar.
enum { COL_CODE, COL_SUPP_CODE, COL_NAME, COL_COST, COL_STOCK, COL_BARCODE, COL_ROWID, COL_COUNT };

static QlListColumnTable sColumns = {IDL_OITEM_PRODUCTS,
                                     NULL,
                                     COL_COUNT,
                                     {{10, 0, "Code"},
                                      {14, 0, "Supplier Code"},
                                      {40, 0, "Product Name"},
                                      {12, 0, "Cost Price"},
                                      {9, 0, "Stock"},
                                      {11, 0, "Bar code"},
                                      {0, 0, "RowId"}}};

// The sort columns of QlOrderItemLoad.
static const char *const kSortColumns[6] = {"scode", "supplier_code", "name", "purchase_price", "stock_qty",
                                            "barcode"};

// The open dialog's product list (the dialog is modal: one at a time).
static HWND sList;

template <size_t N> static void Put(char (&field)[N], const char *text)
{
    snprintf(field, N, "%s", text ? text : "");
}

int64_t QlOrderLineCents(const char *unitPrice, int64_t quantity)
{
    int64_t units = 0;
    int hundredths = 0;
    QlMoneyParse(unitPrice, &units, &hundredths);
    const int64_t price = units * 100 + hundredths;
    // Refused before the product is formed: it cannot overflow.
    if (price < 0 || quantity < 0 || price > QL_MAX_GROSS_CENTS || quantity > QL_QTY_MAX) return -1;
    return price * quantity;
}

// ---------------------------------------------------------------------------
// The product list

int QlOrderItemRowCb(const QlProdRec *product)
{
    if (!sList) return 0;
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = (int)SendMessageA(sList, LVM_GETITEMCOUNT, 0, 0);
    item.pszText = (char *)product->scode;
    item.lParam = 1;
    int row = (int)SendMessageA(sList, LVM_INSERTITEMA, 0, (LPARAM)&item);
    if (row < 0) return 0;
    char text[40];
    QlListSetCell(sList, row, COL_SUPP_CODE, product->supplier_code);
    QlListSetCell(sList, row, COL_NAME, product->name);
    snprintf(text, sizeof text, "%d.%02d", product->purchase_price_units, (int)product->purchase_price_hundredths);
    QlListSetCell(sList, row, COL_COST, text);
    snprintf(text, sizeof text, "%d", product->stock_qty);
    QlListSetCell(sList, row, COL_STOCK, text);
    QlListSetCell(sList, row, COL_BARCODE, product->barcode);
    snprintf(text, sizeof text, QL_I64, product->iKey);
    QlListSetCell(sList, row, COL_ROWID, text);
    return 1;
}

void QlOrderItemLoad(int sortColumn)
{
    if (!sList) return;
    char sql[128];
    if (sortColumn >= 0 && sortColumn < (int)ARRAYSIZE(kSortColumns))
        snprintf(sql, sizeof sql, "select * from products where enabled='yes' order by %s", kSortColumns[sortColumn]);
    else
        snprintf(sql, sizeof sql, "select * from products where enabled='yes'");
    SendMessageA(sList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(sList, LVM_DELETEALLITEMS, 0, 0);
    char err[QL_DB_ERR_SIZE];
    // A failed query leaves the list empty.
    QlProdEnumSql(QlOrderItemRowCb, sql, err);
    SendMessageA(sList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(sList, NULL, TRUE);
}

void QlOrderItemShow(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDL_OITEM_PRODUCTS);
    int row = (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED);
    if (row < 0) return;
    static const struct {
        int column, id;
    } kFields[] = {{COL_NAME, IDE_OITEM_DESCR},        {COL_COST, IDT_OITEM_PRICE},       {COL_CODE, IDT_OITEM_CODE},
                   {COL_SUPP_CODE, IDT_OITEM_SUPP_CODE}, {COL_BARCODE, IDE_OITEM_BARCODE}, {COL_ROWID, IDT_OITEM_ROWID}};
    for (const auto &f : kFields) {
        char text[256];
        QlListGetCell(list, row, f.column, text, sizeof text);
        SetDlgItemTextA(dialog, f.id, text);
    }
}

int QlOrderItemFind(HWND dialog, int *row)
{
    int kind = (int)SendDlgItemMessageA(dialog, IDC_OITEM_FIND_KIND, CB_GETCURSEL, 0, 0);
    char text[80];
    QlUiGetField(dialog, IDE_OITEM_FIND, text);
    if (kind < 0 || kind > 2 || !text[0]) return 0;
    for (char *p = text; *p; p++) *p = (char)toupper((unsigned char)*p);
    // Code: an equal code; Product Name: a name that contains the text;
    // Supplier Code: an equal supplier code.
    static const int kColumns[3] = {COL_CODE, COL_NAME, COL_SUPP_CODE};
    static const int kModes[3] = {0, 1, 0};
    return QlListFindRow(GetDlgItem(dialog, IDL_OITEM_PRODUCTS), text, kColumns[kind], kModes[kind], row);
}

static void OnFind(HWND dialog)
{
    int row;
    if (!QlOrderItemFind(dialog, &row)) {
        SetDlgItemTextA(dialog, IDT_OITEM_FIND_STATUS, QlTransText()->NotFound);
        return;
    }
    QlListShowRow(GetDlgItem(dialog, IDL_OITEM_PRODUCTS), row);
    SetDlgItemTextA(dialog, IDT_OITEM_FIND_STATUS, "");
    QlOrderItemShow(dialog);
}

static void OnBarcode(HWND dialog)
{
    char barcode[256];
    QlUiGetField(dialog, IDE_OITEM_BARCODE, barcode);
    SetDlgItemTextA(dialog, IDE_OITEM_BARCODE, "");
    int row;
    if (!QlListFindRow(GetDlgItem(dialog, IDL_OITEM_PRODUCTS), barcode, COL_BARCODE, 0, &row)) {
        QlProdScanSound("scan_err.wav");
        return;
    }
    QlProdScanSound("scan_ok.wav");
    QlListShowRow(GetDlgItem(dialog, IDL_OITEM_PRODUCTS), row);
    QlOrderItemShow(dialog);
}

int QlOrderItemRead(HWND dialog, QlOrderRec *line)
{
    const QlTransTextRec *t = QlTransText();
    char text[80];
    QlUiGetField(dialog, IDT_OITEM_ROWID, text);
    if (!text[0]) {
        // A line needs a product: the dialog stays open with what was typed.
        QlMsgBox(dialog, t->InvalidInput, t->NoProductChosen, QL_COLOUR_WARNING);
        return 0;
    }
    int64_t quantity = 0;
    if (!QlItemReadQuantity(dialog, IDE_OITEM_QTY, QL_QTY_MAX, &quantity)) return 0;
    char price[sizeof line->uprice];
    QlUiGetField(dialog, IDT_OITEM_PRICE, price);
    // The line and the order it joins stay within the largest amount, which
    // is also what the line's total field and the order's gross can hold.
    const int64_t total = QlOrderLineCents(price, quantity);
    if (total < 0 || total > QL_MAX_GROSS_CENTS || total > QL_MAX_GROSS_CENTS - QlOrderOtherLinesCents) {
        QlMsgBox(dialog, QlLangText()->Error, t->MaxAmount, QL_COLOUR_WARNING);
        return 0;
    }
    line->iProductRowId = strtoll(text, NULL, 10);
    line->iQty = quantity;
    QlUiGetField(dialog, IDE_OITEM_DESCR, line->description);
    memcpy(line->uprice, price, sizeof line->uprice);
    QlUiGetField(dialog, IDT_OITEM_CODE, line->scode);
    QlUiGetField(dialog, IDT_OITEM_SUPP_CODE, line->supplier_code);
    QlMoneyFormatCents(total, line->total, sizeof line->total);
    return 1;
}

// ---------------------------------------------------------------------------
// Start-up

static void SetTexts(HWND dialog)
{
    const QlPurchDocTextRec *p = QlPurchDocText();
    const QlTransTextRec *t = QlTransText();
    SetWindowTextA(dialog, p->OrderItemCaption);
    char label[40];
    snprintf(label, sizeof label, "%s :", t->Qty);
    SetDlgItemTextA(dialog, IDT_OITEM_QTY_LABEL, label);
    SetDlgItemTextA(dialog, IDOK, QlLangText()->Ok);
    SetDlgItemTextA(dialog, IDCANCEL, QlLangText()->Cancel);
    HWND kinds = GetDlgItem(dialog, IDC_OITEM_FIND_KIND);
    for (int i = 0; i < 3; i++) SendMessageA(kinds, CB_ADDSTRING, 0, (LPARAM)t->SearchKinds[i]);
    SendMessageA(kinds, CB_SETCURSEL, 0, 0);
    SetDlgItemTextA(dialog, IDT_OITEM_DESCR_LABEL, t->ProductName);
    SetDlgItemTextA(dialog, IDT_OITEM_PICK_LABEL, t->PickProduct);
    SetDlgItemTextA(dialog, IDT_OITEM_CODE_LABEL, t->Code);
    SetDlgItemTextA(dialog, IDT_OITEM_SUPP_CODE_LABEL, p->ItemColumns[COL_SUPP_CODE]);
    SetDlgItemTextA(dialog, IDB_OITEM_FIND, t->Find);
    SetDlgItemTextA(dialog, IDB_OITEM_SELECT, t->Select);
    SetDlgItemTextA(dialog, IDT_OITEM_PRICE_LABEL, t->CostPrice);
    SetDlgItemTextA(dialog, IDT_OITEM_BARCODE_PROMPT, t->ScanPrompt);
    SendDlgItemMessageA(dialog, IDE_OITEM_FIND, EM_LIMITTEXT, 79, 0);
    SendDlgItemMessageA(dialog, IDE_OITEM_BARCODE, EM_LIMITTEXT, 30, 0);
    if (QlFontWide10) SendDlgItemMessageA(dialog, IDE_OITEM_BARCODE, WM_SETFONT, (WPARAM)QlFontWide10, TRUE);
    SendDlgItemMessageA(dialog, IDE_OITEM_QTY, EM_LIMITTEXT, 7, 0);
    SetDlgItemTextA(dialog, IDE_OITEM_QTY, "1");
    SendDlgItemMessageA(dialog, IDE_OITEM_DESCR, EM_LIMITTEXT, 79, 0);
}

static BOOL OnInitDialog(HWND dialog)
{
    QlUiCenterWindow(dialog);
    QlEditEnterAttach(GetDlgItem(dialog, IDE_OITEM_BARCODE));
    SetTexts(dialog);
    const QlPurchDocTextRec *p = QlPurchDocText();
    for (int c = 0; c < COL_ROWID; c++) Put(sColumns.columns[c].title, p->ItemColumns[c]);
    sColumns.list = NULL;
    QlListSetupFromTable(dialog, &sColumns);
    sList = GetDlgItem(dialog, IDL_OITEM_PRODUCTS);
    QlOrderItemLoad(6);
    PostMessageA(GetDlgItem(dialog, IDE_OITEM_BARCODE), EM_SETSEL, (WPARAM)-1, 0);

    if (QlOrderItemMode == 0) {
        char text[32];
        SetDlgItemTextA(dialog, IDE_OITEM_DESCR, QlOrderLine.description);
        snprintf(text, sizeof text, QL_I64, QlOrderLine.iQty);
        SetDlgItemTextA(dialog, IDE_OITEM_QTY, text);
        SetDlgItemTextA(dialog, IDT_OITEM_PRICE, QlOrderLine.uprice);
        SetDlgItemTextA(dialog, IDT_OITEM_CODE, QlOrderLine.scode);
        SetDlgItemTextA(dialog, IDT_OITEM_SUPP_CODE, QlOrderLine.supplier_code);
        snprintf(text, sizeof text, QL_I64, QlOrderLine.iProductRowId);
        SetDlgItemTextA(dialog, IDT_OITEM_ROWID, text);
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Messages

static void OnOk(HWND dialog)
{
    QlOrderRec line = QlOrderLine;
    if (!QlOrderItemRead(dialog, &line)) return;
    QlOrderLine = line;
    EndDialog(dialog, 1);
}

static void OnCommand(HWND dialog, int id, int code)
{
    switch (id) {
    case IDOK:
        // Enter in the barcode field reaches the field itself (a multi-line
        // edit); any other Enter means OK.
        OnOk(dialog);
        return;
    case IDCANCEL: EndDialog(dialog, 0); return;
    case IDB_OITEM_FIND: OnFind(dialog); return;
    case IDB_OITEM_SELECT: QlOrderItemShow(dialog); return;
    case IDE_OITEM_FIND:
        if (code == EN_CHANGE) SetDlgItemTextA(dialog, IDT_OITEM_FIND_STATUS, "");
        return;
    }
}

static void OnNotify(HWND dialog, const NMHDR *header)
{
    if (header->idFrom != IDL_OITEM_PRODUCTS) return;
    if (header->code == NM_DBLCLK) {
        QlOrderItemShow(dialog);
    } else if (header->code == LVN_COLUMNCLICK) {
        QlOrderItemLoad(((const NMLISTVIEW *)header)->iSubItem);
    }
}

static INT_PTR WhiteBox(HDC dc, COLORREF text)
{
    SetTextColor(dc, text);
    SetBkColor(dc, RGB(255, 255, 255));
    return (INT_PTR)(QlBrushWhite ? QlBrushWhite : GetStockObject(WHITE_BRUSH));
}

INT_PTR CALLBACK QlOrderItemDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_NOTIFY: OnNotify(dialog, (const NMHDR *)lParam); return FALSE;
    case QL_WM_ENTER_KEY: OnBarcode(dialog); return TRUE;
    case WM_CTLCOLOREDIT:
        if (GetDlgCtrlID((HWND)lParam) != IDE_OITEM_BARCODE) return FALSE;
        return WhiteBox((HDC)wParam, QL_COLOUR_WARNING);
    case WM_CTLCOLORSTATIC: {
        int id = GetDlgCtrlID((HWND)lParam);
        if (id == IDT_OITEM_CODE || id == IDT_OITEM_PRICE || id == IDT_OITEM_SUPP_CODE || id == IDT_OITEM_ROWID)
            return WhiteBox((HDC)wParam, RGB(0, 0, 0));
        return FALSE;
    }
    case WM_DESTROY:
        QlEditEnterDetach(GetDlgItem(dialog, IDE_OITEM_BARCODE));
        sList = NULL;
        return FALSE;
    }
    return FALSE;
}
