// The records of the eight data tables and the row parsers that fill them.
//
// Records are plain structures, zero-filled before use.  A text field's
// width includes its terminator (a field of 6 holds at most 5 characters).
// Money is text ("units.hundredths") or a pair {units; hundredths 0..99};
// a negative pair keeps its sign in the units and the hundredths as they are
// ("-12.34" is -12 and 34).  Keys are signed 64-bit.  The in-use word after
// iKey belongs to the old-record import; the data store leaves it alone.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct QlCustRec {
    int64_t iKey;
    uint32_t inUse;
    char acref[6];
    char company[40];
    char contact[40];
    char worktel[25];
    char wemail[80];
    char mobtel[25];
    char fax[25];
    char addr1[40];
    char addr2[40];
    char addr3[40];
    int64_t balance_units;
    uint32_t balance_hundredths;
    uint16_t apply_discount;
    uint16_t discount;
    uint16_t apply_tax;
    uint16_t vat_rate_index;
};

struct QlSuppRec {
    int64_t iKey;
    uint32_t inUse;
    char acref[6];
    char company[40];
    char contact[40];
    char worktel[25];
    char wemail[80];
    char mobtel[25];
    char fax[25];
    char addr1[40];
    char addr2[40];
    char addr3[40];
    int64_t balance_units;
    uint32_t balance_hundredths;
};

struct QlProdRec {
    int64_t iKey;
    uint32_t inUse;
    char scode[5];
    char barcode[31];
    char supplier_code[20];
    char name[81];
    int32_t unit_price_units;
    uint32_t unit_price_hundredths;
    int32_t purchase_price_units;
    uint32_t purchase_price_hundredths;
    int32_t stock_qty;
};

struct QlServRec {
    int64_t iKey;
    uint32_t inUse;
    char descr[80];
    int32_t price_units;
    uint32_t price_hundredths;
};

struct QlTransRec {
    int64_t iKey;
    uint32_t inUse;
    char desc[80];
    uint32_t type;       // 1 invoice, 2 credit note, 3 payment, 4 quotation, 5 purchase order, 6 purchase invoice
    uint32_t sub_type;   // invoices: 1 product lines, 0 service lines
    int64_t doc_rowid;   // first line (invoices) or first payments row
    int64_t cust_rowid;
    int64_t supp_rowid;
    char acref[6];
    char date[32];
    uint32_t num_sub_items;
    char carriage[13];
    char carriage_vat[13];
    char gross[13];
    char gross_bal[13];
    char vat[13];
    char order_number[11];
};

struct QlItemRec {
    int64_t iKey;
    uint32_t inUse;
    char descr[80];
    int64_t tx_rowid;
    char vatr_str[6];
    char subtotal[13];
    char net[13];
    char vat[13];
    char disca[13];
    char discr[6];
    uint8_t sub_type;    // 1 product line
    char qty[10];
    int64_t prod_rowid;
    char scode[5];
};

struct QlPayRec {
    int64_t iKey;
    uint32_t inUse;
    int64_t tx_rowid;    // the payment's trans row
    int64_t iv_rowid;    // the paid document
    char paid[14];
};

struct QlOrderRec {
    int64_t iKey;
    uint32_t inUse;
    int64_t iSupplierRowId;
    int64_t iProductRowId;
    int64_t iTxRowId;    // the purchase order's trans row: its order number
    char scode[5];
    char supplier_code[20];
    char description[81];
    int64_t iQty;
    char uprice[13];
    char total[13];
};

// The product list copies records whole.
static_assert(sizeof(QlProdRec) == 176, "QlProdRec layout");

// Row functions: called once per record of an enumeration with a record that
// is valid only during the call; their result is not read.
typedef int (*QlCustRowFn)(const QlCustRec *rec);
typedef int (*QlSuppRowFn)(const QlSuppRec *rec);
typedef int (*QlProdRowFn)(const QlProdRec *rec);
typedef int (*QlServRowFn)(const QlServRec *rec);
typedef int (*QlTransRowFn)(const QlTransRec *rec);
typedef int (*QlItemRowFn)(const QlItemRec *rec);
typedef int (*QlPayRowFn)(const QlPayRec *rec);
typedef int (*QlOrderRowFn)(const QlOrderRec *rec);

// Copies text with its terminator into a field of the given width and
// answers 1 when it is shorter than the width; otherwise copies nothing and
// answers 0.  A null text is the empty text.
int QlDbCopyText(const char *text, char *field, size_t width);

// Row parsers: fill the record from the columns whose names (compared
// without case) are the record's; other columns are ignored, so "select *"
// and narrower selects both work.  A SQL NULL reads as the empty text or 0
// (carriage_vat as "0.00").  They answer 0 at the first text that does not
// fit its field, leaving the fields already filled.
int QlCustParseRow(int columnCount, char **values, char **names, QlCustRec *rec);
int QlSuppParseRow(int columnCount, char **values, char **names, QlSuppRec *rec);
int QlProdParseRow(int columnCount, char **values, char **names, QlProdRec *rec);
int QlServParseRow(int columnCount, char **values, char **names, QlServRec *rec);
int QlTransParseRow(int columnCount, char **values, char **names, QlTransRec *rec);
int QlItemParseRow(int columnCount, char **values, char **names, QlItemRec *rec);
int QlPayParseRow(int columnCount, char **values, char **names, QlPayRec *rec);
int QlOrderParseRow(int columnCount, char **values, char **names, QlOrderRec *rec);
// The same for a row of every column of the products table in its order
// (iKey, scode, barcode, supplier_code, name, unit_price, purchase_price,
// stock_qty), without looking for the names: a list of many reads them so.
#define QL_PROD_READ_COLUMNS "iKey,scode,barcode,supplier_code,name,unit_price,purchase_price,stock_qty"
int QlProdParseValues(int columnCount, char **values, QlProdRec *rec);
