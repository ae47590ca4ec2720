// List routines of the products and services screens that other modules use
// too: the text finder over list-view cells, the services list (rows and
// ordered loads), the product lists' rows and their column sorting, the
// product search, and the scan sound.
#pragma once

#include "core/QlDList.h"
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
// ascending order of description (order 1, strcmp), price (order 2, by its
// cents) or row id (any other order); equal ones by row id.  The row
// function knows its own list.  1 when the services were read, 0 when not.
int QlServListLoad(int order, HWND list, QlServRowFn rowFn);
// Every enabled service into *records (free it), in row-id order; 1, or 0
// with err set and nothing read.
int QlServReadAll(QlServRec **records, int *count, char *err);
// Orders services as QlServListLoad hands them over.
void QlServSortRecords(QlServRec *records, int count, int order);

// Product lists (code, supplier code, details, cost price, unit price, stock,
// row id, barcode).  Appends one product: item text and data its short
// code, the other columns as listed, prices "%d.%02d", stock "%d", row id
// (a list of fewer columns drops the rest).  The new row's index.
int QlProdListAddRow(HWND list, const QlProdRec *rec);
// Hands every enabled product to the row function, the list's drawing held
// back until it is whole; row 0 selected when the products were read and
// there are rows.  1 when the products were read.
int QlProdListFill(HWND list, QlProdRowFn rowFn);

// Each column keeps its own direction (1 ascending), shared by every product
// list and flipped by each click on the column, so that the first click
// sorts ascending and the next descending.
#define QL_PROD_SORT_COLUMNS 8
extern int QlProdSortFlags[QL_PROD_SORT_COLUMNS];
// Flips the clicked column's direction and sorts the dialog's list by that
// column, comparing the stored products of the rows (item data: the short
// code's first four bytes): those of records (QlProdRec copies) when given,
// else the enabled products read once for the sort.
void QlProdSortListFrom(HWND dialog, int listId, const NMLISTVIEW *click, const QlDListRec *records);
void QlProdSortList(HWND dialog, int listId, const NMLISTVIEW *click);
// Compares the products of two rows by the column during a sort: -1, 0 or 1
// (text columns strcmp's result), turned round when the column's direction
// is descending; rows whose products are unknown are equal.
int CALLBACK QlProdCompareCb(LPARAM data1, LPARAM data2, LPARAM column);
// The same over two products: -1, 0 or 1 by the column's stored values, turned
// round while the column's direction is descending.
int QlProdCompare(const QlProdRec *a, const QlProdRec *b, int column);

// The product search of the line dialogs and the products window: searches
// a product list by the kind of combo 1186 (0 code, 1 details, 2 supplier
// code) and the text of 1387: 1 with the row when found.
#define QL_PROD_LIST_SUPPLIER_CODE 1
#define QL_PROD_LIST_DETAILS 2
int QlItemFindProduct(HWND dialog, HWND list, int *row);

// Plays a scan sound ("scan_ok.wav", "scan_err.wav") while the settings ask
// for them.
void QlProdScanSound(const char *file);
// The item data of a product row: the first four bytes of its code.
LPARAM QlProdCodeParam(const char *scode);
