// The products screens: the products window (dialog 173) with its list and
// commands, the new-product and edit-product dialogs (200, 209), product
// codes and barcodes, and the stock-in and stock-out dialogs (180).
//
// The products window keeps a copy of every product it lists (prod_list,
// in the order they were read and added) and shows the copies through its
// owner-data list.  The product screens keep the copies current: a new
// product is appended, an edited one rewritten, a deleted one removed, and
// a stock change reloads the list.  Sorting the window's list orders its
// rows by these copies, so a sort reads nothing from the database.
#pragma once

#include "catalogue/QlCatalogueLists.h"
#include "core/QlDList.h"
#include "datastore/QlDbRecords.h"

#include <windows.h>
#include <commctrl.h>
#include <stdint.h>

// The window-wide values of the product screens; one instance.
struct QlProdWindowState {
    HWND window;         // the products window while it is open
    QlDListRec prod_list;// QlProdRec copies of the listed products
    int edit_row;        // the list row the Edit or Delete command took
    int stock_changed;   // a stock dialog stored a change
};
extern QlProdWindowState QlProdState;

// Stock limits kept by the stock dialogs; barcodes shorter than the minimum
// are refused everywhere.
#define QL_STOCK_MAX 9999999
#define QL_PROD_BARCODE_MIN 12

// ---------------------------------------------------------------------------
// The products window

INT_PTR CALLBACK QlProdDlgProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
// Lays the window out for the main window's current size.
void QlProdLayout(HWND window);
// Empties and reloads the window's list and prod_list from the enabled
// products, row 0 selected; 1 when the products were read.
int QlProdListLoad(void);
// A new product: its copy appended to prod_list and its row to the end of
// the list, selected and shown.
void QlProdListAppend(const QlProdRec *rec);
// A copy in prod_list was rewritten: the list draws its rows again.
void QlProdListChanged(void);
// The find row of the window and of the stock dialogs (combo 1186, edit
// 1387, status 1119): its kinds, Code selected, and the button's label; and
// the search by kind and text: the row found selected and shown (1), or "not
// found" (0).
void QlProdFindRowSetup(HWND dialog, int findButtonId);
int QlProdFindRowRun(HWND dialog, HWND list);
// The commands.
void QlProdNewCmd(HWND window);
void QlProdEditCmd(HWND window);
void QlProdDelete(HWND window);
void QlStockInCmd(HWND window);
void QlStockOutCmd(HWND window);
// The Price List command: the options and print dialogs, then the list
// (QlPriceList.h); nothing when the list is empty.
void QlProdPrintPriceList(HWND window);

// The node of prod_list whose product has the row id, NULL when none.
QlDListNodeRec *QlProdMemFind(int64_t key);
// 1 when a listed product's barcode compares equal to text over n
// characters (strncmp), else 0.
int QlProdMemHasBarcode(const char *text, int n);

// ---------------------------------------------------------------------------
// The product dialogs

INT_PTR CALLBACK QlProdNewDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlProdEditDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// Dialog 200's Save: 1 when the product was stored and listed, 0 after a
// message, -1 after a refused price (negative, not digits, above 9999999.99:
// the fields stay as typed).
int QlProdAdd(HWND dialog);
// Dialog 200 ready for the next product: description, barcode and selling
// price emptied (code panel, cost price and supplier code kept).
void QlProdNewReset(HWND dialog);
// Dialog 209's Save: 1 when the product row and the list row were rewritten,
// 0 after a message.
int QlProdEditSave(HWND dialog);

// ---------------------------------------------------------------------------
// Codes and barcodes (dialog 200's code panel, the preview and printing)

// The code types of combo 1264 and the print scales of combo 1270.
extern const char *const QlProdCodeTypeNames[3];
extern const char *const QlProdBarcodeScales[14];

// The Generate command: a UPC-A or EAN-13 code by the code type's selection.
void QlProdMakeCode(HWND dialog);
void QlProdMakeUpcA(HWND dialog);
void QlProdMakeEan13(HWND dialog);
// The code type changed: the type digit and manufacturer code are used by
// UPC-A only.
void QlProdCodeTypeChanged(HWND dialog);
// Checks the barcode field (Enter there, or a generated code): a short or a
// stored barcode is refused and the field emptied; a new one is shown.
void QlProdCheckBarcode(HWND dialog);

// Generated codes without a dialog.  prefix: the first digits of the code
// (the type digit and manufacturer code of UPC-A, "2000000" for EAN-13);
// productCode: five digits, or "" for the first free one.  The full code
// (prefix, product code, check digit) goes into code, the product code into
// productOut (6 bytes).  Answers one of the results below.
enum {
    QL_CODE_MADE = 0,
    QL_CODE_TAKEN,   // the given product code's barcode is stored
    QL_CODE_FULL,    // every product code of the prefix is in use
};
int QlProdBuildCode(const char *prefix, const char *productCode, int ean, char *code, size_t codeSize,
                    char *productOut);

// Marks used[n] when the barcode is the generated code of prefix, product
// number n and its check digit (EAN-13 or UPC-A), and n is below count (a
// number of the table); 1 when it marked one.
int QlProdMarkCodeUsed(unsigned char *used, size_t count, const char *prefix, int ean, const char *barcode);

// The manufacturer code proposed when dialog 200 opens: 11111 to 43878.
int QlProdRandomMfrCode(void);
// The first free short code ("%04X" of 1 to 65534, not used by an enabled
// product) into rec->scode; 0 when every one is used.
int QlProdNextShortCode(QlProdRec *rec);

// The preview static 1271 (subclassed with QlUiSubclass): paints the symbol
// of the barcode field when it holds 12 or 13 digits.
LRESULT CALLBACK QlBarcodePreviewWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
// Draws the preview of a code of 12 or 13 digits into the area (white, the
// symbol filling its width in whole pixels per module, digits under it); 0,
// with nothing drawn, for any other text.
int QlBarcodePreviewDraw(HDC dc, const RECT *area, const char *code);
// Redraws the preview.
void QlBarcodePreviewRefresh(HWND dialog);
// The print-barcode command: the symbol of the barcode field on one page at
// the scale of combo 1270.
void QlBarcodePrint(HWND dialog);

// The barcode field's text (up to maxLength characters), ending at its first
// line break.
void QlProdReadBarcode(HWND dialog, char *text, int maxLength);
// (The scan sound, QlProdScanSound: QlCatalogueLists.h.)

// Draws one barcode page: the code's symbol at (5, 0) of the printable area
// at the magnification, digits printed.  The text is the code of 12 (UPC-A)
// or 13 (EAN-13) digits whose last digit is left to the symbol's own check
// digit.  1 when drawn, 0 for any other text.
int QlBarcodePrintPage(HDC dc, const char *code, float magnification, int pxPerMmX, int pxPerMmY);

// ---------------------------------------------------------------------------
// Stock in and stock out

INT_PTR CALLBACK QlStockInDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlStockOutDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
