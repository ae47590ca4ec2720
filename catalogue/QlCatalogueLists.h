// List routines of the products and services screens that other modules use
// too: the text finder over list-view cells, the services list (rows and
// ordered loads), and the product list's column sorting.
#pragma once

#include "datastore/QlDbRecords.h"

#include <windows.h>
#include <commctrl.h>

// Finds the first row whose cell in the column (its first 255 characters)
// begins with the text (mode 0) or, being not empty and at least as long as
// the text, contains it (mode 1); letter case counts.  1 with *row set; 0
// with *row unchanged for an empty text, an empty list, another mode or no
// match.
int QlListFindText(HWND list, const char *text, int column, int mode, int *row);

// Appends one service: item text its row id (item data 1), column 1 the
// description, column 2 the price "%d.%02d".  The new row's index.
int QlServListAddRow(const QlServRec *rec, HWND list);
// Empties the list and hands every enabled service to the row function, in
// ascending order of description (order 1), price (order 2, compared as
// text) or row id (any other order).  The row function knows its own list.
// 1 when the query ran, 0 when it failed.
int QlServListLoad(int order, HWND list, QlServRowFn rowFn);

// Product lists (code, supplier code, details, cost price, unit price, stock,
// row id, barcode): each column keeps its own direction (1 ascending),
// shared by every product list and flipped by each click on the column, so
// that the first click sorts ascending and the next descending.
#define QL_PROD_SORT_COLUMNS 8
extern int QlProdSortFlags[QL_PROD_SORT_COLUMNS];
// Flips the clicked column's direction and sorts the dialog's list by that
// column, comparing the stored products (item data: the product code's
// first four bytes).
void QlProdSortList(HWND dialog, int listId, const NMLISTVIEW *click);
// Compares the products of two rows by the column: -1, 0 or 1 (text columns
// strcmp's result), turned round when the column's direction is descending;
// rows whose products cannot be read are equal.
int CALLBACK QlProdCompareCb(LPARAM data1, LPARAM data2, LPARAM column);
// The item data of a product row: the first four bytes of its code.
LPARAM QlProdCodeParam(const char *scode);
