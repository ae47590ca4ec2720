// The price lists of products and services: the options dialog (192) they
// share, and the printed list, 30 rows a page under a framed title with the
// page numbers, the user's top message and, when chosen, a bottom message,
// the company logo and the company's address.
#pragma once

#include "print/QlPicture.h"
#include "print/QlPrint.h"

#include <windows.h>

#define QL_PRICE_MESSAGE_SIZE 80
#define QL_PRICE_ROWS_PER_PAGE 30

// What the options dialog asked; one instance for the program's run.  The
// out-of-stock choice and the bottom message's box start clear in every run
// of the dialog and both messages start from their defaults; the logo and
// address choices are kept from the last Print.
struct QlPriceListOptionsRec {
    int products_kind;          // 1 products (the out-of-stock choice applies), 0 services
    int include_out_of_stock;
    int bottom_message_on;
    int print_logo;
    int print_address;
    char top_message[QL_PRICE_MESSAGE_SIZE];
    char bottom_message[QL_PRICE_MESSAGE_SIZE];
};
extern QlPriceListOptionsRec QlPriceListOptions;
// The list font while a price list prints; NULL between prints.
extern HFONT QlPriceListFont;

// Dialog 192: ends with 1 for Print, 0 for Close and the close box.
INT_PTR CALLBACK QlPriceListOptionsDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// The default top message from the settings, "<company> Tel. <telephone>"
// and " Fax: <fax>" when there is a fax number, cut to fit size bytes.
void QlPriceListTopMessage(char *out, size_t size);

// One print: the list the rows come from (products: code, details, price
// and stock in columns 0, 2, 4 and 5; services: code, details and price in
// columns 0, 1 and 2), and the logo when one was loaded.  The logo bitmap
// belongs to the picture library and is never deleted here.
struct QlPriceListJob {
    int products;
    HWND list;
    HBITMAP logo;
    QlPictureSizeRec logoSize;
    QlPrintStyleRec style;     // the company block and the cell margins
};

// The drawing core (a QlPrintDrawFn over a QlPriceListJob) under the options
// of QlPriceListOptions: the logo and the company block on the first page,
// then one page for every 30 rows of the list (none for an empty list).
int QlPriceListDraw(QlPrintTarget *target, void *job);

// The services window's Print command: the options and print dialogs, then
// the list.  1 when a list was printed.
int QlServPrintPriceList(HWND window);
