// The line list of the document forms (list view 1161): its column sets, the
// row writers for lines from the line dialogs and from stored rows, the
// tables kept beside it, the column sums that fill the form's totals, and the
// per-cell packing that printed documents use.
//
// The list is the form's only copy of its lines: every cell is a text, money
// "units.hundredths" (negative "-12.34"), the tax rate "23.00", the discount
// percent "10", the quantity "3".
#pragma once

#include "print/QlGrid.h"
#include "datastore/QlDbRecords.h"

#include <windows.h>
#include <stdint.h>

// Column counts of the three sets.
#define QL_SERV_COLUMNS 7    // details, tax %, disc %, price, disc amt, net, tax
#define QL_PROD_COLUMNS 9    // code, details, qty, tax %, disc %, unit price, disc amt, net, tax
#define QL_CREDIT_COLUMNS 3  // details, price, tax
#define QL_LINE_CELL_SIZE 80 // a cell as the forms read it

// Layouts of the column sums (QlTransFormSumItems, QlTransFormRowAmount).
enum QlLineLayout {
    QL_LAYOUT_SERVICE = 0,
    QL_LAYOUT_PRODUCT = 1,
    QL_LAYOUT_SERVICE_ALT = 2,
    QL_LAYOUT_PURCHASE = 3,
};

// A service or credit line as the line dialogs leave it.
struct QlLineRec {
    char descr[80];
    int32_t priceUnits;
    int32_t priceHundredths;
    int32_t taxUnits;
    int32_t taxHundredths;
};
extern QlLineRec QlItemLine;
// A product line: the product's row id and code, the line's description
// (name), the price entered (unit_price) and the quantity (stock_qty).
extern QlProdRec QlItemProdLine;

// Working values of the line being added or edited, all in 64 bits.
struct QlItemWorkRec {
    int64_t rate;            // hundredths of a percent (2300 = 23.00 %)
    int64_t discount;        // whole percent 0..99
    int64_t formTotal;       // the form's gross before the edit, cents
    int64_t lineTax;         // the line's tax as the dialog shows it, cents
};
extern QlItemWorkRec QlItemWork;

// The stored rows' keys of a document view: entry i is the invoices row shown
// in list row i, in the order the rows were added.
#define QL_ITEM_TABLE_SIZE 1000
struct QlItemRowKeyTableRec {
    int64_t keys[QL_ITEM_TABLE_SIZE];
    int count;
};
extern QlItemRowKeyTableRec QlItemRowKeyTable;
void QlItemRowKeyTableClear(void);
// The stored key of list row row; 0 when the row has none (past the table,
// or not a stored row).
int64_t QlItemRowKey(int row);

// The code and quantity of every product line of the open form.
struct QlItemQtyEntry {
    char code[5];
    int32_t qty;
};
struct QlItemQtyTableRec {
    QlItemQtyEntry entries[QL_ITEM_TABLE_SIZE];
    int count;
};
extern QlItemQtyTableRec QlItemQtyTable;
// Copies the form's product lines into the table: 0 (table unchanged) when
// the list holds 1000 rows or more.
int QlTransCopyProductQty(HWND form);
// The quantity of the code on the form's lines.
int64_t QlItemQtyOnForm(const char *code);

// Line arithmetic, integer cents throughout (64 bits; division truncates).
// The discount of an amount at a whole percent: amount x (percent x 100) / 10000.
int64_t QlLineDiscount(int64_t amountCents, int64_t percent);
// The figures of a line as the row writers compute them.
struct QlLineFigures {
    int64_t gross;      // price (x quantity for a product line)
    int64_t discount;
    int64_t net;
    int64_t tax;
};
// A product line: gross = price x quantity, tax from the net at the rate.
QlLineFigures QlLineProduct(int64_t priceCents, int64_t quantity, int64_t discountPercent, int64_t rate);
// A service line: tax is the tax the dialog showed (possibly typed).
QlLineFigures QlLineService(int64_t priceCents, int64_t discountPercent, int64_t lineTax);

// Row writers: insert a row at index row, or rewrite row row in place; the
// first cell is the item text.  The new row's index (-1 on failure).
int QlItemWriteServRow(HWND list, const QlLineRec *line, int row, int inPlace);
int QlItemWriteProdRow(HWND list, const QlProdRec *line, int row, int inPlace);
int QlItemWriteCreditRow(HWND list, const QlLineRec *line, int row, int inPlace);

// Row functions of QlItemEnumByTrans for the document views: each appends
// the stored line to list 1161 of QlModuleWnd and records its key.
int QlItemServRowCb(const QlItemRec *line);
int QlItemProdRowCb(const QlItemRec *line);
int QlItemCreditRowCb(const QlItemRec *line);

// Column sets of list 1161 (titles from the language's line headings).
void QlTransSetServColumns(HWND list, const int *widths);
void QlTransSetProdColumns(HWND list, const int *widths);
void QlTransSetCreditColumns(HWND list);
extern const int QlServColumnWidths[QL_SERV_COLUMNS];
extern const int QlProdColumnWidths[QL_PROD_COLUMNS];
// The number of columns (the header's item count).
int QlListColumnCount(HWND list);

// Totals of the form.
void QlTransFormInitTotals(HWND form);
void QlTransFormSumItems(HWND form, int layout);
int64_t QlTransFormRowAmount(HWND form, int layout, int row);
void QlTransFormSumCredit(HWND form);
void QlTransFormUpdateGross(HWND form);
void QlTransFormShowCarriage(HWND form);

// Column sizing of list 1161: the four money columns as wide as the gross
// box, the description column filling up to the gross box's right edge
// (QlTransFormSetColumnWidths) or to the list's own width (QlTransFormFitColumns).
void QlTransFormSetColumnWidths(HWND form, int lineMode);
void QlTransFormFitColumns(HWND form, int lineMode);

// The quantity typed or pasted into a dialog's field: a whole number from
// 1 to max (QlQuantityParse).  0 after telling the user why it was refused.
int QlItemReadQuantity(HWND dialog, int id, int64_t max, int64_t *quantity);
// The message for a refused quantity (a QlQuantityParse result).
const char *QlItemQuantityRefusal(int result);

// Printing a line: the cells of one list row packed into consecutive grid
// columns, each with its DrawText format, as the settings' print options ask
// (tax-rate and discount columns only when asked for).
#define QL_PRINT_MAX_CELLS 9
struct QlPrintRowCells {
    int count;
    char text[QL_PRINT_MAX_CELLS][QL_LINE_CELL_SIZE];   // at most 79 characters a cell
    UINT format[QL_PRINT_MAX_CELLS];                    // DT_WORDBREAK, DT_RIGHT or 0 (left)
};
void QlPrintPackServRow(HWND list, int row, QlPrintRowCells *out);
void QlPrintPackProdRow(HWND list, int row, QlPrintRowCells *out);
void QlPrintPackCreditRow(HWND list, int row, QlPrintRowCells *out);

// Drawing lines of a form's list 1161 into a printed grid (the printers'
// row operations).  A cell's text (at most 79 characters) goes into grid
// row gridRow (QlPrintListCell: list row + 1) and grid column gridColumn with
// that grid column's format from formats.  The item-row printers pack the
// row as above, under the style's print options, into grid columns 0, 1, ...
// of grid row gridRow (the ...Next ones: list row + 1); each answers the
// number of cells drawn.
int QlPrintListCellAt(HDC dc, HWND list, int row, int column, const UINT *formats, const QlGridRec *grid,
                      int gridColumn, int gridRow, const QlPrintStyleRec *style);
int QlPrintListCell(HDC dc, HWND list, int row, int column, const UINT *formats, const QlGridRec *grid,
                    int gridColumn, const QlPrintStyleRec *style);
int QlPrintServItemRow(HWND form, HDC dc, const QlGridRec *grid, int row, int gridRow, const QlPrintStyleRec *style);
int QlPrintProdItemRow(HWND form, HDC dc, const QlGridRec *grid, int row, int gridRow, const QlPrintStyleRec *style);
int QlPrintCreditItemRow(HWND form, HDC dc, const QlGridRec *grid, int row, int gridRow,
                         const QlPrintStyleRec *style);
int QlPrintServItemRowNext(HWND form, HDC dc, const QlGridRec *grid, int row, const QlPrintStyleRec *style);
int QlPrintProdItemRowNext(HWND form, HDC dc, const QlGridRec *grid, int row, const QlPrintStyleRec *style);
