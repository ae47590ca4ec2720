#include "catalogue/QlCatalogueTables.h"

#include <commctrl.h>

// clang-format off
QlToolbarItem QlProdToolbarTable[QL_PROD_TOOLBAR_COUNT] = {
    {318, 0, NULL, "New"},
    {337, 1, NULL, "Edit"},
    {320, 2, NULL, "Delete"},
    {338, 3, NULL, "Stock In"},
    {339, 4, NULL, "Stock Out"},
    {325, 5, NULL, "Price List"},
    {340, 6, NULL, "Export"},
    {321, 7, NULL, "Close"},
};

QlToolbarItem QlServToolbarTable[QL_SERV_TOOLBAR_COUNT] = {
    {318, 0, NULL, "New"},
    {337, 1, NULL, "Edit"},
    {320, 2, NULL, "Delete"},
    {325, 3, NULL, "Print"},
    {340, 4, NULL, "Export"},
    {321, 5, NULL, "Close"},
};

// The row id and barcode columns are kept at no width; the shown ones leave
// room for a vertical scroll bar, so that no horizontal one is needed.
QlListColumnTable QlProdListColumnTable = {1137, NULL, 8, {
    {13, LVCFMT_LEFT, "Code"},
    {15, LVCFMT_LEFT, "Supplier Code"},
    {26, LVCFMT_LEFT, "Details"},
    {14, LVCFMT_RIGHT, "Cost Price"},
    {14, LVCFMT_RIGHT, "Unit Price"},
    {14, LVCFMT_CENTER, "Stock"},
    {0, LVCFMT_LEFT, "Row Id"},
    {0, LVCFMT_LEFT, "Barcode"},
}};

QlListColumnTable QlStockListColumnTable = {1035, NULL, 7, {
    {13, LVCFMT_LEFT, "Code"},
    {15, LVCFMT_LEFT, "Supplier Code"},
    {26, LVCFMT_LEFT, "Details"},
    {14, LVCFMT_RIGHT, "Cost Price"},
    {14, LVCFMT_RIGHT, "Unit Price"},
    {14, LVCFMT_CENTER, "Stock"},
    {0, LVCFMT_LEFT, "Row Id"},
}};

QlListColumnTable QlServListColumnTable = {1137, NULL, 3, {
    {15, LVCFMT_LEFT, "Service Code"},
    {65, LVCFMT_LEFT, "Service Details"},
    {15, LVCFMT_RIGHT, "Price"},
}};
// clang-format on
