// Static tables of the products and services windows: tool bars and list
// columns.  The language application rewrites their labels and titles.
#pragma once

#include "ui/QlListView.h"
#include "ui/QlToolbar.h"

#define QL_PROD_TOOLBAR_COUNT 8
#define QL_SERV_TOOLBAR_COUNT 6
extern QlToolbarItem QlProdToolbarTable[QL_PROD_TOOLBAR_COUNT];
extern QlToolbarItem QlServToolbarTable[QL_SERV_TOOLBAR_COUNT];

// Products window list 1137 (8 columns) and the stock dialogs' list 1035
// (its first 7); the first six titles of both are translated.
extern QlListColumnTable QlProdListColumnTable;
extern QlListColumnTable QlStockListColumnTable;
// Services window list 1137.
extern QlListColumnTable QlServListColumnTable;
