// Row parsers: one table of {column, kind, offset, width} per record and one
// loop that fills a record from a result row by column name.

#include "datastore/QlDbRecords.h"

#include "core/QlMoney.h"
#include "core/QlPlatform.h"

#include <windows.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

int QlDbCopyText(const char *text, char *field, size_t width)
{
    if (!text) text = "";
    size_t len = strlen(text);
    if (len >= width) return 0;
    memcpy(field, text, len + 1);
    return 1;
}

enum QlFieldKind {
    QL_FIELD_TEXT,        // copied whole, or the row does not parse
    QL_FIELD_TEXT_MONEY,  // as a text; missing or empty reads as "0.00"
    QL_FIELD_I64,
    QL_FIELD_I32,
    QL_FIELD_U32,
    QL_FIELD_U16,
    QL_FIELD_U8,
    QL_FIELD_MONEY64,     // int64 units at offset, uint32 hundredths at offset2
    QL_FIELD_MONEY32,     // int32 units at offset, uint32 hundredths at offset2
};

struct QlDbField {
    const char *column;
    QlFieldKind kind;
    size_t offset;
    size_t width;         // text fields
    size_t offset2;       // money pairs: the hundredths
};

#define QL_COL(R, f, kind) {#f, kind, offsetof(R, f), sizeof(((R *)0)->f), 0}
#define QL_TEXT(R, f) QL_COL(R, f, QL_FIELD_TEXT)
#define QL_MONEY(R, column, kind, units, hundredths) \
    {column, kind, offsetof(R, units), sizeof(((R *)0)->units), offsetof(R, hundredths)}

static const QlDbField kCustFields[] = {
    QL_COL(QlCustRec, iKey, QL_FIELD_I64),
    QL_TEXT(QlCustRec, acref),
    QL_TEXT(QlCustRec, company),
    QL_TEXT(QlCustRec, contact),
    QL_TEXT(QlCustRec, worktel),
    QL_TEXT(QlCustRec, wemail),
    QL_TEXT(QlCustRec, mobtel),
    QL_TEXT(QlCustRec, fax),
    QL_TEXT(QlCustRec, addr1),
    QL_TEXT(QlCustRec, addr2),
    QL_TEXT(QlCustRec, addr3),
    QL_MONEY(QlCustRec, "balance", QL_FIELD_MONEY64, balance_units, balance_hundredths),
    QL_COL(QlCustRec, apply_discount, QL_FIELD_U16),
    QL_COL(QlCustRec, discount, QL_FIELD_U16),
    QL_COL(QlCustRec, apply_tax, QL_FIELD_U16),
    QL_COL(QlCustRec, vat_rate_index, QL_FIELD_U16),
};

static const QlDbField kSuppFields[] = {
    QL_COL(QlSuppRec, iKey, QL_FIELD_I64),
    QL_TEXT(QlSuppRec, acref),
    QL_TEXT(QlSuppRec, company),
    QL_TEXT(QlSuppRec, contact),
    QL_TEXT(QlSuppRec, worktel),
    QL_TEXT(QlSuppRec, wemail),
    QL_TEXT(QlSuppRec, mobtel),
    QL_TEXT(QlSuppRec, fax),
    QL_TEXT(QlSuppRec, addr1),
    QL_TEXT(QlSuppRec, addr2),
    QL_TEXT(QlSuppRec, addr3),
    QL_MONEY(QlSuppRec, "balance", QL_FIELD_MONEY64, balance_units, balance_hundredths),
};

static const QlDbField kProdFields[] = {
    QL_COL(QlProdRec, iKey, QL_FIELD_I64),
    QL_TEXT(QlProdRec, scode),
    QL_TEXT(QlProdRec, barcode),
    QL_TEXT(QlProdRec, supplier_code),
    QL_TEXT(QlProdRec, name),
    QL_MONEY(QlProdRec, "unit_price", QL_FIELD_MONEY32, unit_price_units, unit_price_hundredths),
    QL_MONEY(QlProdRec, "purchase_price", QL_FIELD_MONEY32, purchase_price_units, purchase_price_hundredths),
    QL_COL(QlProdRec, stock_qty, QL_FIELD_I32),
};

static const QlDbField kServFields[] = {
    QL_COL(QlServRec, iKey, QL_FIELD_I64),
    QL_TEXT(QlServRec, descr),
    QL_MONEY(QlServRec, "price", QL_FIELD_MONEY32, price_units, price_hundredths),
};

static const QlDbField kTransFields[] = {
    QL_COL(QlTransRec, iKey, QL_FIELD_I64),
    QL_TEXT(QlTransRec, desc),
    QL_COL(QlTransRec, type, QL_FIELD_U32),
    QL_COL(QlTransRec, sub_type, QL_FIELD_U32),
    QL_COL(QlTransRec, doc_rowid, QL_FIELD_I64),
    QL_COL(QlTransRec, cust_rowid, QL_FIELD_I64),
    QL_COL(QlTransRec, supp_rowid, QL_FIELD_I64),
    QL_TEXT(QlTransRec, acref),
    QL_TEXT(QlTransRec, date),
    QL_COL(QlTransRec, num_sub_items, QL_FIELD_U32),
    QL_TEXT(QlTransRec, carriage),
    QL_COL(QlTransRec, carriage_vat, QL_FIELD_TEXT_MONEY),
    QL_TEXT(QlTransRec, gross),
    QL_TEXT(QlTransRec, gross_bal),
    QL_TEXT(QlTransRec, vat),
    QL_TEXT(QlTransRec, order_number),
};

static const QlDbField kItemFields[] = {
    QL_COL(QlItemRec, iKey, QL_FIELD_I64),
    QL_TEXT(QlItemRec, descr),
    QL_COL(QlItemRec, tx_rowid, QL_FIELD_I64),
    QL_TEXT(QlItemRec, vatr_str),
    QL_TEXT(QlItemRec, subtotal),
    QL_TEXT(QlItemRec, net),
    QL_TEXT(QlItemRec, vat),
    QL_TEXT(QlItemRec, disca),
    QL_TEXT(QlItemRec, discr),
    QL_COL(QlItemRec, sub_type, QL_FIELD_U8),
    QL_TEXT(QlItemRec, qty),
    QL_COL(QlItemRec, prod_rowid, QL_FIELD_I64),
    QL_TEXT(QlItemRec, scode),
};

static const QlDbField kPayFields[] = {
    QL_COL(QlPayRec, iKey, QL_FIELD_I64),
    QL_COL(QlPayRec, tx_rowid, QL_FIELD_I64),
    QL_COL(QlPayRec, iv_rowid, QL_FIELD_I64),
    QL_TEXT(QlPayRec, paid),
};

static const QlDbField kOrderFields[] = {
    QL_COL(QlOrderRec, iKey, QL_FIELD_I64),
    QL_COL(QlOrderRec, iSupplierRowId, QL_FIELD_I64),
    QL_COL(QlOrderRec, iProductRowId, QL_FIELD_I64),
    QL_COL(QlOrderRec, iTxRowId, QL_FIELD_I64),
    QL_TEXT(QlOrderRec, scode),
    QL_TEXT(QlOrderRec, supplier_code),
    QL_TEXT(QlOrderRec, description),
    QL_COL(QlOrderRec, iQty, QL_FIELD_I64),
    QL_TEXT(QlOrderRec, uprice),
    QL_TEXT(QlOrderRec, total),
};

// The field of the column, looked for from *next on (the columns of a row
// mostly come in the table's order), *next then the place after it.
static const QlDbField *FindField(const QlDbField *fields, size_t count, const char *column, size_t *next)
{
    for (size_t n = 0; n < count; n++) {
        size_t i = (*next + n) % count;
        if (strcasecmp(fields[i].column, column) == 0) {
            *next = i + 1;
            return &fields[i];
        }
    }
    return NULL;
}

template <class T> static void Store(char *record, size_t offset, T value)
{
    memcpy(record + offset, &value, sizeof value);
}

// Fills one field from a column value; 0 when a text does not fit.
static int ParseField(const QlDbField *f, const char *value, char *record)
{
    const char *text = value ? value : "";
    switch (f->kind) {
    case QL_FIELD_TEXT:
        return QlDbCopyText(text, record + f->offset, f->width);
    case QL_FIELD_TEXT_MONEY:
        return QlDbCopyText(text[0] ? text : "0.00", record + f->offset, f->width);
    case QL_FIELD_I64:
        Store<int64_t>(record, f->offset, QlAtoI64(text));
        return 1;
    case QL_FIELD_I32:
        Store<int32_t>(record, f->offset, (int32_t)strtol(text, NULL, 10));
        return 1;
    case QL_FIELD_U32:
        Store<uint32_t>(record, f->offset, (uint32_t)strtoll(text, NULL, 10));
        return 1;
    case QL_FIELD_U16:
        Store<uint16_t>(record, f->offset, (uint16_t)strtol(text, NULL, 10));
        return 1;
    case QL_FIELD_U8:
        Store<uint8_t>(record, f->offset, (uint8_t)strtol(text, NULL, 10));
        return 1;
    case QL_FIELD_MONEY64:
    case QL_FIELD_MONEY32: {
        int64_t units;
        int hundredths;
        QlMoneyParse(text, &units, &hundredths);
        // A stored amount a 32-bit field cannot hold is no amount, never a wrapped one.
        if (f->kind == QL_FIELD_MONEY32 && (units > INT32_MAX || units < INT32_MIN)) units = 0, hundredths = 0;
        if (f->kind == QL_FIELD_MONEY64)
            Store<int64_t>(record, f->offset, units);
        else
            Store<int32_t>(record, f->offset, (int32_t)units);
        // The sign lives in the units: "-12.34" is -12 and 34.
        Store<uint32_t>(record, f->offset2, (uint32_t)(hundredths < 0 ? -hundredths : hundredths));
        return 1;
    }
    }
    return 1;
}

static int ParseRow(const QlDbField *fields, size_t count, int columnCount, char **values, char **names,
                    void *record)
{
    size_t next = 0;
    for (int c = 0; c < columnCount; c++) {
        if (!names || !names[c]) continue;
        const QlDbField *f = FindField(fields, count, names[c], &next);
        if (f && !ParseField(f, values ? values[c] : NULL, (char *)record)) return 0;
    }
    return 1;
}

int QlCustParseRow(int columnCount, char **values, char **names, QlCustRec *rec)
{
    return ParseRow(kCustFields, ARRAYSIZE(kCustFields), columnCount, values, names, rec);
}

int QlSuppParseRow(int columnCount, char **values, char **names, QlSuppRec *rec)
{
    return ParseRow(kSuppFields, ARRAYSIZE(kSuppFields), columnCount, values, names, rec);
}

int QlProdParseRow(int columnCount, char **values, char **names, QlProdRec *rec)
{
    return ParseRow(kProdFields, ARRAYSIZE(kProdFields), columnCount, values, names, rec);
}

int QlProdParseValues(int columnCount, char **values, QlProdRec *rec)
{
    int count = columnCount < (int)ARRAYSIZE(kProdFields) ? columnCount : (int)ARRAYSIZE(kProdFields);
    for (int c = 0; c < count; c++)
        if (!ParseField(&kProdFields[c], values ? values[c] : NULL, (char *)rec)) return 0;
    return 1;
}

int QlServParseRow(int columnCount, char **values, char **names, QlServRec *rec)
{
    return ParseRow(kServFields, ARRAYSIZE(kServFields), columnCount, values, names, rec);
}

int QlTransParseRow(int columnCount, char **values, char **names, QlTransRec *rec)
{
    return ParseRow(kTransFields, ARRAYSIZE(kTransFields), columnCount, values, names, rec);
}

int QlItemParseRow(int columnCount, char **values, char **names, QlItemRec *rec)
{
    return ParseRow(kItemFields, ARRAYSIZE(kItemFields), columnCount, values, names, rec);
}

int QlPayParseRow(int columnCount, char **values, char **names, QlPayRec *rec)
{
    return ParseRow(kPayFields, ARRAYSIZE(kPayFields), columnCount, values, names, rec);
}

int QlOrderParseRow(int columnCount, char **values, char **names, QlOrderRec *rec)
{
    return ParseRow(kOrderFields, ARRAYSIZE(kOrderFields), columnCount, values, names, rec);
}
