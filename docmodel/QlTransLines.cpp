#include "docmodel/QlTransLines.h"

#include "ui/QlAppState.h"
#include "print/QlGrid.h"
#include "ui/QlListView.h"
#include "ui/QlMoneyControls.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "core/QlQuantity.h"
#include "ui/QlWindow.h"
#include "docmodel/QlTransTexts.h"
#include "resources/QlResTrans.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

QlLineRec QlItemLine;
QlProdRec QlItemProdLine;
QlItemWorkRec QlItemWork;
QlItemRowKeyTableRec QlItemRowKeyTable;
QlItemQtyTableRec QlItemQtyTable;

const int QlServColumnWidths[QL_SERV_COLUMNS] = {210, 55, 60, 90, 90, 90, 90};
const int QlProdColumnWidths[QL_PROD_COLUMNS] = {40, 125, 40, 65, 60, 90, 90, 90, 90};

// Item data of a row that shows no stored line.
#define NO_KEY_PARAM ((LPARAM)-1)

// ---------------------------------------------------------------------------
// Tables beside the list

void QlItemRowKeyTableClear(void)
{
    memset(&QlItemRowKeyTable, 0, sizeof QlItemRowKeyTable);
}

int64_t QlItemRowKey(int row)
{
    if (row < 0 || row >= QlItemRowKeyTable.count || row >= QL_ITEM_TABLE_SIZE) return 0;
    return QlItemRowKeyTable.keys[row];
}

static int RowCount(HWND list)
{
    return (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
}

int QlTransCopyProductQty(HWND form)
{
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    int rows = RowCount(list);
    if (rows >= QL_ITEM_TABLE_SIZE) return 0;
    memset(&QlItemQtyTable, 0, sizeof QlItemQtyTable);
    char qty[10];
    for (int row = 0; row < rows; row++) {
        QlItemQtyEntry *entry = &QlItemQtyTable.entries[row];
        QlListGetCell(list, row, 0, entry->code, sizeof entry->code);
        QlListGetCell(list, row, 2, qty, sizeof qty);
        entry->qty = atoi(qty);
    }
    QlItemQtyTable.count = rows;
    return 1;
}

int64_t QlItemQtyOnForm(const char *code)
{
    int64_t sum = 0;
    for (int i = 0; i < QlItemQtyTable.count; i++)
        if (strncmp(QlItemQtyTable.entries[i].code, code, sizeof QlItemQtyTable.entries[i].code) == 0)
            sum += QlItemQtyTable.entries[i].qty;
    return sum;
}

// ---------------------------------------------------------------------------
// Line arithmetic

int64_t QlLineDiscount(int64_t amountCents, int64_t percent)
{
    return amountCents * (percent * 100) / 10000;
}

QlLineFigures QlLineProduct(int64_t priceCents, int64_t quantity, int64_t discountPercent, int64_t rate)
{
    QlLineFigures f;
    f.gross = priceCents * quantity;
    f.discount = QlLineDiscount(f.gross, discountPercent);
    f.net = f.gross - f.discount;
    f.tax = QlMoneyApplyRate(rate, f.net);
    return f;
}

QlLineFigures QlLineService(int64_t priceCents, int64_t discountPercent, int64_t lineTax)
{
    QlLineFigures f;
    f.gross = priceCents;
    f.discount = QlLineDiscount(f.gross, discountPercent);
    f.net = f.gross - f.discount;
    f.tax = lineTax;
    return f;
}

// ---------------------------------------------------------------------------
// Row writers

// Inserts an empty row at row with the item text, or rewrites the item text
// of row row; the row's index, -1 on failure.
static int PutFirstCell(HWND list, int row, int inPlace, const char *text, LPARAM param)
{
    if (inPlace) {
        if (row < 0 || row >= RowCount(list)) return -1;
        QlListSetCell(list, row, 0, text);
        return row;
    }
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = (char *)text;
    item.lParam = param;
    return (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
}

static void SetCents(HWND list, int row, int column, int64_t cents)
{
    char text[32];
    QlMoneyFormatCents(cents, text, sizeof text);
    QlListSetCell(list, row, column, text);
}

static void SetInt(HWND list, int row, int column, int64_t value)
{
    char text[32];
    snprintf(text, sizeof text, QL_I64, value);
    QlListSetCell(list, row, column, text);
}

static void SetPair(HWND list, int row, int column, int32_t units, int32_t hundredths)
{
    char text[32];
    snprintf(text, sizeof text, "%d.%02d", units, hundredths);
    QlListSetCell(list, row, column, text);
}

int QlItemWriteServRow(HWND list, const QlLineRec *line, int row, int inPlace)
{
    row = PutFirstCell(list, row, inPlace, line->descr, NO_KEY_PARAM);
    if (row < 0) return -1;
    SetPair(list, row, 3, line->priceUnits, line->priceHundredths);
    QlLineFigures f = QlLineService((int64_t)line->priceUnits * 100 + line->priceHundredths, QlItemWork.discount,
                                    QlItemWork.lineTax);
    SetCents(list, row, 4, f.discount);
    SetCents(list, row, 1, QlItemWork.rate);
    SetInt(list, row, 2, QlItemWork.discount);
    SetCents(list, row, 6, f.tax);
    SetCents(list, row, 5, f.net);
    return row;
}

int QlItemWriteProdRow(HWND list, const QlProdRec *line, int row, int inPlace)
{
    row = PutFirstCell(list, row, inPlace, line->scode, NO_KEY_PARAM);
    if (row < 0) return -1;
    QlListSetCell(list, row, 1, line->name);
    SetInt(list, row, 2, line->stock_qty);
    SetPair(list, row, 5, line->unit_price_units, (int32_t)line->unit_price_hundredths);
    QlLineFigures f =
        QlLineProduct((int64_t)line->unit_price_units * 100 + (int32_t)line->unit_price_hundredths, line->stock_qty,
                      QlItemWork.discount, QlItemWork.rate);
    SetCents(list, row, 7, f.net);
    SetCents(list, row, 3, QlItemWork.rate);
    SetCents(list, row, 8, f.tax);
    SetInt(list, row, 4, QlItemWork.discount);
    SetCents(list, row, 6, f.discount);
    return row;
}

int QlItemWriteCreditRow(HWND list, const QlLineRec *line, int row, int inPlace)
{
    row = PutFirstCell(list, row, inPlace, line->descr, NO_KEY_PARAM);
    if (row < 0) return -1;
    SetPair(list, row, 1, line->priceUnits, line->priceHundredths);
    SetPair(list, row, 2, line->taxUnits, line->taxHundredths);
    return row;
}

// ---------------------------------------------------------------------------
// Stored rows

// Appends a row with the cells to the open form's list; its item data is its
// entry in the key table, -1 when the table is full.
static int AppendStoredRow(const QlItemRec *line, const char *const *cells, int count)
{
    HWND list = GetDlgItem(QlModuleWnd, IDL_DOC_LINES);
    if (!list) return 0;
    LPARAM param = NO_KEY_PARAM;
    if (QlItemRowKeyTable.count < QL_ITEM_TABLE_SIZE) {
        param = QlItemRowKeyTable.count;
        QlItemRowKeyTable.keys[QlItemRowKeyTable.count++] = line->iKey;
    }
    int row = PutFirstCell(list, RowCount(list), 0, cells[0], param);
    if (row < 0) return 0;
    for (int c = 1; c < count; c++) QlListSetCell(list, row, c, cells[c]);
    return 1;
}

int QlItemServRowCb(const QlItemRec *line)
{
    const char *cells[] = {line->descr, line->vatr_str, line->discr, line->subtotal,
                           line->disca, line->net,      line->vat};
    return AppendStoredRow(line, cells, QL_SERV_COLUMNS);
}

int QlItemProdRowCb(const QlItemRec *line)
{
    const char *cells[] = {line->scode, line->descr, line->qty, line->vatr_str, line->discr,
                           line->subtotal, line->disca, line->net, line->vat};
    return AppendStoredRow(line, cells, QL_PROD_COLUMNS);
}

int QlItemCreditRowCb(const QlItemRec *line)
{
    const char *cells[] = {line->descr, line->net, line->vat};
    return AppendStoredRow(line, cells, QL_CREDIT_COLUMNS);
}

// ---------------------------------------------------------------------------
// Column sets

int QlListColumnCount(HWND list)
{
    HWND header = (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0);
    return header ? (int)SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) : 0;
}

static void ReplaceColumns(HWND list, const char *const *titles, const int *widths, const int *formats, int count)
{
    while (QlListColumnCount(list) > 0)
        if (!SendMessageA(list, LVM_DELETECOLUMN, 0, 0)) break;
    for (int c = 0; c < count; c++) QlListInsertColumn(list, c, titles[c], widths[c], formats[c]);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, QL_LIST_GRID_STYLE);
}

// Columns titled from the language's line headings: the first leftColumns
// left-aligned, the others right-aligned.
static void SetHeadedColumns(HWND list, const char (*headings)[QL_HEADING_WIDTH], int count, const int *widths,
                             int leftColumns)
{
    const char *titles[QL_PROD_COLUMNS];
    int formats[QL_PROD_COLUMNS];
    for (int c = 0; c < count; c++) {
        titles[c] = headings[c];
        formats[c] = c < leftColumns ? LVCFMT_LEFT : LVCFMT_RIGHT;
    }
    ReplaceColumns(list, titles, widths, formats, count);
}

void QlTransSetServColumns(HWND list, const int *widths)
{
    SetHeadedColumns(list, QlServLineHeadings, QL_SERV_COLUMNS, widths, 1);
}

void QlTransSetProdColumns(HWND list, const int *widths)
{
    SetHeadedColumns(list, QlProdLineHeadings, QL_PROD_COLUMNS, widths, 2);
}

void QlTransSetCreditColumns(HWND list)
{
    static const int kWeights[QL_CREDIT_COLUMNS] = {510, 90, 90};
    static const int kFormats[QL_CREDIT_COLUMNS] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_RIGHT};
    int widths[QL_CREDIT_COLUMNS];
    QlListColumnWidths(list, kWeights, QL_CREDIT_COLUMNS, widths, 10);
    const char *titles[QL_CREDIT_COLUMNS] = {QlServLineHeadings[0], QlServLineHeadings[3], QlServLineHeadings[6]};
    ReplaceColumns(list, titles, widths, kFormats, QL_CREDIT_COLUMNS);
}

static int ColumnWidth(HWND list, int column)
{
    return (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0);
}

static int ColumnsSum(HWND list, int count)
{
    int sum = 0;
    for (int c = 0; c < count; c++) sum += ColumnWidth(list, c);
    return sum;
}

void QlTransFormSetColumnWidths(HWND form, int lineMode)
{
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    HWND gross = GetDlgItem(form, IDT_DOC_GROSS);
    if (!list || !gross) return;
    int count = lineMode == 1 ? QL_PROD_COLUMNS : QL_SERV_COLUMNS;
    int description = lineMode == 1 ? 1 : 0;
    RECT box, lines;
    GetWindowRect(gross, &box);
    GetWindowRect(list, &lines);
    MapWindowPoints(NULL, form, (POINT *)&box, 2);
    MapWindowPoints(NULL, form, (POINT *)&lines, 2);
    for (int c = count - 4; c < count; c++) SendMessageA(list, LVM_SETCOLUMNWIDTH, c, box.right - box.left);
    int sum = ColumnsSum(list, count);
    if (sum < box.right) {
        int grow = box.right - sum - lines.left - 5;
        SendMessageA(list, LVM_SETCOLUMNWIDTH, description, ColumnWidth(list, description) + grow);
    }
}

void QlTransFormFitColumns(HWND form, int lineMode)
{
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    if (!list) return;
    int count = lineMode == 1 ? QL_PROD_COLUMNS : QL_SERV_COLUMNS;
    int description = lineMode == 1 ? 1 : 0;
    RECT rc;
    GetWindowRect(list, &rc);
    int grow = (rc.right - rc.left) - ColumnsSum(list, count) - 25;
    SendMessageA(list, LVM_SETCOLUMNWIDTH, description, ColumnWidth(list, description) + grow);
}

// ---------------------------------------------------------------------------
// Totals

void QlTransFormInitTotals(HWND form)
{
    static const int kZeroTotals[] = {IDT_DOC_NET, IDT_DOC_TAX, IDT_DOC_CARRIAGE, IDT_DOC_CARRIAGE_TAX,
                                      IDT_DOC_DISCOUNT};
    for (int id : kZeroTotals) SetDlgItemTextA(form, id, "0.00");
    SendDlgItemMessageA(form, IDE_DOC_CARRIAGE_UNITS, EM_LIMITTEXT, 4, 0);
    SetDlgItemTextA(form, IDE_DOC_CARRIAGE_UNITS, "0");
    SendDlgItemMessageA(form, IDE_DOC_CARRIAGE_HUNDREDTHS, EM_LIMITTEXT, 2, 0);
    SetDlgItemTextA(form, IDE_DOC_CARRIAGE_HUNDREDTHS, "00");
}

struct LayoutColumns {
    int net, tax, discount;
};

static LayoutColumns ColumnsOf(int layout)
{
    switch (layout) {
    case QL_LAYOUT_PRODUCT: return {7, 8, 6};
    case QL_LAYOUT_PURCHASE: return {3, 4, 2};
    default: return {5, 6, 4};
    }
}

void QlTransFormSumItems(HWND form, int layout)
{
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    int rows = RowCount(list);
    LayoutColumns c = ColumnsOf(layout);
    QlUiSetCents(form, IDT_DOC_NET, QlListSumCents(list, c.net, rows));
    QlUiSetCents(form, IDT_DOC_TAX, QlListSumCents(list, c.tax, rows));
    QlUiSetCents(form, IDT_DOC_DISCOUNT, QlListSumCents(list, c.discount, rows));
}

int64_t QlTransFormRowAmount(HWND form, int layout, int row)
{
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    LayoutColumns c = ColumnsOf(layout);
    int64_t amount = QlListCellCents(list, c.net, row) + QlListCellCents(list, c.tax, row);
    if (layout != QL_LAYOUT_PURCHASE) amount -= QlListCellCents(list, c.discount, row);
    return amount;
}

void QlTransFormSumCredit(HWND form)
{
    HWND list = GetDlgItem(form, IDL_DOC_LINES);
    int rows = RowCount(list);
    int64_t price = QlListSumCents(list, 1, rows);
    int64_t tax = QlListSumCents(list, 2, rows);
    QlUiSetCents(form, IDT_DOC_TAX, price);
    QlUiSetCents(form, IDT_DOC_CARRIAGE_TAX, tax);
    QlUiSetCents(form, IDT_DOC_GROSS, price + tax);
}

void QlTransFormUpdateGross(HWND form)
{
    static const int kParts[] = {IDT_DOC_NET, IDT_DOC_TAX, IDT_DOC_CARRIAGE, IDT_DOC_CARRIAGE_TAX};
    int64_t gross = 0;
    for (int id : kParts)
        if (GetDlgItem(form, id)) gross += QlUiGetCents(form, id);
    QlUiSetCents(form, IDT_DOC_GROSS, gross);
}

void QlTransFormShowCarriage(HWND form)
{
    unsigned units = GetDlgItemInt(form, IDE_DOC_CARRIAGE_UNITS, NULL, FALSE);
    unsigned hundredths = GetDlgItemInt(form, IDE_DOC_CARRIAGE_HUNDREDTHS, NULL, FALSE);
    char text[32];
    snprintf(text, sizeof text, "%u.%02u", units, hundredths);
    SetDlgItemTextA(form, IDT_DOC_CARRIAGE, text);
}

// ---------------------------------------------------------------------------
// Print packing

static void PackCells(HWND list, int row, const int *columns, const UINT *formats, int count,
                      QlPrintRowCells *out)
{
    memset(out, 0, sizeof *out);
    for (int i = 0; i < count; i++) {
        if (columns[i] < 0) continue;
        QlListGetCell(list, row, columns[i], out->text[out->count], QL_LINE_CELL_SIZE);
        out->format[out->count] = formats[out->count];
        out->count++;
    }
}

// The service and product packings under the given print options.
static void PackServ(HWND list, int row, int rateColumn, int discountColumn, QlPrintRowCells *out)
{
    const int columns[] = {0, rateColumn ? 1 : -1, 3, discountColumn ? 4 : -1, 5, 6};
    static const UINT kFormats[] = {DT_WORDBREAK, DT_RIGHT, DT_RIGHT, DT_RIGHT, DT_RIGHT, DT_RIGHT};
    PackCells(list, row, columns, kFormats, ARRAYSIZE(columns), out);
}

static void PackProd(HWND list, int row, int rateColumn, int discountColumn, QlPrintRowCells *out)
{
    const int columns[] = {0, 1, 2, rateColumn ? 3 : -1, 5, discountColumn ? 6 : -1, 7, 8};
    static const UINT kFormats[] = {0, DT_WORDBREAK, DT_RIGHT, DT_RIGHT, DT_RIGHT, DT_RIGHT, DT_RIGHT, DT_RIGHT};
    PackCells(list, row, columns, kFormats, ARRAYSIZE(columns), out);
}

void QlPrintPackServRow(HWND list, int row, QlPrintRowCells *out)
{
    PackServ(list, row, QlSettings.cfg.printRateColumn, QlSettings.cfg.printDiscountColumn, out);
}

void QlPrintPackProdRow(HWND list, int row, QlPrintRowCells *out)
{
    PackProd(list, row, QlSettings.cfg.printRateColumn, QlSettings.cfg.printDiscountColumn, out);
}

void QlPrintPackCreditRow(HWND list, int row, QlPrintRowCells *out)
{
    static const int kColumns[] = {0, 1, 2};
    static const UINT kFormats[] = {0, DT_RIGHT, DT_RIGHT};
    PackCells(list, row, kColumns, kFormats, ARRAYSIZE(kColumns), out);
}

// ---------------------------------------------------------------------------
// Printing a line

int QlPrintListCellAt(HDC dc, HWND list, int row, int column, const UINT *formats, const QlGridRec *grid,
                      int gridColumn, int gridRow, const QlPrintStyleRec *style)
{
    char text[QL_LINE_CELL_SIZE];
    QlListGetCell(list, row, column, text, sizeof text);
    return QlGridDrawCellText(dc, grid, text, gridRow, gridColumn, formats[gridColumn], style);
}

int QlPrintListCell(HDC dc, HWND list, int row, int column, const UINT *formats, const QlGridRec *grid,
                    int gridColumn, const QlPrintStyleRec *style)
{
    return QlPrintListCellAt(dc, list, row, column, formats, grid, gridColumn, row + 1, style);
}

static int DrawPacked(HDC dc, const QlPrintRowCells *cells, const QlGridRec *grid, int gridRow,
                      const QlPrintStyleRec *style)
{
    for (int i = 0; i < cells->count; i++)
        QlGridDrawCellText(dc, grid, cells->text[i], gridRow, i, cells->format[i], style);
    return cells->count;
}

int QlPrintServItemRow(HWND form, HDC dc, const QlGridRec *grid, int row, int gridRow, const QlPrintStyleRec *style)
{
    QlPrintRowCells cells;
    PackServ(GetDlgItem(form, IDL_DOC_LINES), row, style->printRateColumn, style->printDiscountColumn, &cells);
    return DrawPacked(dc, &cells, grid, gridRow, style);
}

int QlPrintProdItemRow(HWND form, HDC dc, const QlGridRec *grid, int row, int gridRow, const QlPrintStyleRec *style)
{
    QlPrintRowCells cells;
    PackProd(GetDlgItem(form, IDL_DOC_LINES), row, style->printRateColumn, style->printDiscountColumn, &cells);
    return DrawPacked(dc, &cells, grid, gridRow, style);
}

int QlPrintCreditItemRow(HWND form, HDC dc, const QlGridRec *grid, int row, int gridRow,
                         const QlPrintStyleRec *style)
{
    QlPrintRowCells cells;
    QlPrintPackCreditRow(GetDlgItem(form, IDL_DOC_LINES), row, &cells);
    return DrawPacked(dc, &cells, grid, gridRow, style);
}

int QlPrintServItemRowNext(HWND form, HDC dc, const QlGridRec *grid, int row, const QlPrintStyleRec *style)
{
    return QlPrintServItemRow(form, dc, grid, row, row + 1, style);
}

int QlPrintProdItemRowNext(HWND form, HDC dc, const QlGridRec *grid, int row, const QlPrintStyleRec *style)
{
    return QlPrintProdItemRow(form, dc, grid, row, row + 1, style);
}

// ---------------------------------------------------------------------------
// The quantity of a line

const char *QlItemQuantityRefusal(int result)
{
    const QlTransTextRec *text = QlTransText();
    switch (result) {
    case QL_QTY_ZERO: return text->ZeroQuantity;
    case QL_QTY_NEGATIVE: return text->QtyNegative;
    case QL_QTY_TOO_LARGE: return text->QtyTooLarge;
    default: return text->QtyNotWhole;
    }
}

int QlItemReadQuantity(HWND dialog, int id, int64_t max, int64_t *quantity)
{
    char field[64];
    QlUiGetField(dialog, id, field, sizeof field);
    int result = QlQuantityParse(field, max, quantity);
    if (result == QL_QTY_OK) return 1;
    QlMsgBox(dialog, QlTransText()->InvalidInput, QlItemQuantityRefusal(result), QL_COLOUR_WARNING);
    return 0;
}
