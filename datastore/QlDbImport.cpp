// The import of the old record files (see QlDbImport.h).
//
// The files are arrays of fixed-size little-endian records without a header;
// texts end at a NUL inside their field, or at the field's end.  Every text
// is copied into its record field cut to fit and terminated, whatever the
// file holds.  A trailing part of a record is ignored.

#include "datastore/QlDbImport.h"

#include "datastore/QlDbTables.h"

#include "core/QlPlatform.h"
#include "ui/QlSeams.h"

#include <stdio.h>
#include <string.h>

// A line of invs.dta as the import keeps it: the record, and the key of the
// invoices row made from it in this run (0 while it has none).
struct QlLegacyLine {
    unsigned char raw[QL_LEGACY_LINE_SIZE];
    int64_t newKey;
};

// ---------------------------------------------------------------------------
// Reading records

static uint16_t U16(const unsigned char *p)
{
    return (uint16_t)(p[0] | p[1] << 8);
}

static uint32_t U32(const unsigned char *p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static int64_t I64(const unsigned char *p)
{
    return (int64_t)((uint64_t)U32(p) | (uint64_t)U32(p + 4) << 32);
}

// The text at offset (at most width bytes) into a field, cut to fit.
static void Text(char *field, size_t fieldWidth, const unsigned char *record, size_t offset, size_t width)
{
    size_t length = strnlen((const char *)record + offset, width);
    if (length > fieldWidth - 1) length = fieldWidth - 1;
    memset(field, 0, fieldWidth);
    memcpy(field, record + offset, length);
}
#define QL_TEXT_FIELD(rec, field, record, offset, width) Text((rec).field, sizeof (rec).field, record, offset, width)

// Units and hundredths with the hundredths below 100 (the sign stays in the units).
static void NormaliseMoney(int64_t *units, uint32_t *hundredths)
{
    int64_t carry = *hundredths / 100;
    *units += *units < 0 ? -carry : carry;
    *hundredths %= 100;
}

static int FileExists(const char *path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Calls fn once per whole record of the file, in file order, until it
// answers 0.  -1 when the file cannot be opened, 0 when fn stopped, else 1.
template <typename Fn>
static int ForEachRecord(const char *path, size_t size, Fn fn)
{
    FILE *file = QlFileOpen(path, "rb");
    if (!file) return -1;
    unsigned char record[QL_LEGACY_CUST_SIZE];
    int result = 1;
    while (fread(record, 1, size, file) == size) {
        if (!fn(record)) {
            result = 0;
            break;
        }
    }
    fclose(file);
    return result;
}

// ---------------------------------------------------------------------------
// Customers and products

int QlLegacyImportCust(const char *path)
{
    ForEachRecord(path, QL_LEGACY_CUST_SIZE, [](const unsigned char *r) {
        QlCustRec rec;
        memset(&rec, 0, sizeof rec);
        QL_TEXT_FIELD(rec, acref, r, 2, 6);
        QL_TEXT_FIELD(rec, company, r, 8, 40);
        QL_TEXT_FIELD(rec, contact, r, 48, 40);
        QL_TEXT_FIELD(rec, worktel, r, 88, 25);
        QL_TEXT_FIELD(rec, wemail, r, 113, 80);
        QL_TEXT_FIELD(rec, mobtel, r, 193, 25);
        QL_TEXT_FIELD(rec, fax, r, 218, 25);
        QL_TEXT_FIELD(rec, addr1, r, 243, 40);
        QL_TEXT_FIELD(rec, addr2, r, 283, 40);
        QL_TEXT_FIELD(rec, addr3, r, 323, 40);
        rec.balance_units = I64(r + 368);
        rec.balance_hundredths = U32(r + 376);
        NormaliseMoney(&rec.balance_units, &rec.balance_hundredths);
        rec.apply_discount = U16(r + 392);
        rec.discount = U16(r + 394);
        rec.apply_tax = U16(r + 396);
        rec.vat_rate_index = U16(r + 398);
        char err[QL_DB_ERR_SIZE];
        QlCustAdd(&rec, err);   // a record that does not go in is passed over
        return 1;
    });
    return 1;
}

int QlLegacyImportProd(const char *path)
{
    ForEachRecord(path, QL_LEGACY_PROD_SIZE, [](const unsigned char *r) {
        QlProdRec rec;
        memset(&rec, 0, sizeof rec);
        rec.inUse = 1;
        QL_TEXT_FIELD(rec, scode, r, 0, 5);
        QL_TEXT_FIELD(rec, barcode, r, 5, 51);
        QL_TEXT_FIELD(rec, name, r, 56, 84);
        int64_t units = (int32_t)U32(r + 140);
        uint32_t hundredths = U32(r + 144);
        NormaliseMoney(&units, &hundredths);
        if (units > INT32_MAX || units < INT32_MIN) return 1;   // no such price: passed over
        rec.unit_price_units = (int32_t)units;
        rec.unit_price_hundredths = hundredths;
        rec.stock_qty = (int32_t)U32(r + 148);
        char err[QL_DB_ERR_SIZE];
        QlProdAddRec(&rec, err);
        return 1;
    });
    return 1;
}

// ---------------------------------------------------------------------------
// Documents

int QlLegacyFindByKey(QlDListRec *list, uint32_t key, void *found, size_t size)
{
    unsigned char bytes[4] = {(unsigned char)key, (unsigned char)(key >> 8), (unsigned char)(key >> 16),
                              (unsigned char)(key >> 24)};
    QlDListNodeRec *node = QlDListFindPrefix(list, bytes, 4);
    if (!node) return 0;
    size_t length = (size_t)node->length < size ? (size_t)node->length : size;
    memcpy(found, node->data, length);
    return 1;
}

// The first line of the document, NULL when it has none.
static QlLegacyLine *FirstLine(QlDListRec *lines, uint32_t key)
{
    for (QlDListNodeRec *node = lines->first; node; node = node->next) {
        QlLegacyLine *line = (QlLegacyLine *)node->data;
        if (U32(line->raw) == key) return line;
    }
    return NULL;
}

// Reads a file of records into the list, each record in a node of its own
// of nodeSize bytes (the record, then zeros).  -1 when the file is missing, 0
// when the memory ran out, 1 when read.
static int ReadList(const char *path, size_t size, size_t nodeSize, QlDListRec *list)
{
    return ForEachRecord(path, size, [&](const unsigned char *r) {
        unsigned char node[sizeof(QlLegacyLine)];
        memset(node, 0, sizeof node);
        memcpy(node, r, size);
        return QlDListAppendCopy(list, node, (int)nodeSize) != NULL;
    });
}

static void Report(const char *text, const char *caption)
{
    QlSeamMessageBox(NULL, text, caption, MB_OK);
}

// The document's lines, each an invoices row of the new document.
static int ImportLines(QlDListRec *lines, uint32_t key, int64_t docKey)
{
    int first = 1;
    for (QlDListNodeRec *node = lines->first; node; node = node->next) {
        QlLegacyLine *line = (QlLegacyLine *)node->data;
        const unsigned char *r = line->raw;
        if (U32(r) != key) continue;
        QlItemRec item;
        memset(&item, 0, sizeof item);
        item.inUse = 1;
        item.tx_rowid = docKey;
        QL_TEXT_FIELD(item, descr, r, 4, 80);
        QL_TEXT_FIELD(item, vatr_str, r, 84, 6);
        QL_TEXT_FIELD(item, subtotal, r, 90, 13);
        QL_TEXT_FIELD(item, net, r, 103, 13);
        QL_TEXT_FIELD(item, vat, r, 116, 13);
        QL_TEXT_FIELD(item, disca, r, 129, 13);
        QL_TEXT_FIELD(item, discr, r, 142, 6);
        item.sub_type = r[148];
        QL_TEXT_FIELD(item, qty, r, 149, 10);
        QL_TEXT_FIELD(item, scode, r, 159, 5);
        char err[QL_DB_ERR_SIZE] = "";
        if (item.sub_type == 1) {
            QlProdRec product;
            if (QlProdFind("scode", item.scode, &product, err)) item.prod_rowid = product.iKey;
        }
        if (!QlItemAdd(&item, err)) {
            Report(err, "Add invoice item failed");
            return 0;
        }
        line->newKey = item.iKey;
        if (first && !QlDbSetInt64("trans", "doc_rowid", docKey, item.iKey, err)) {
            Report(err, "Transaction update failed");
            return 0;
        }
        first = 0;
    }
    return 1;
}

// The payment's allocations.  Each goes in only when a line of the same key
// exists; it names the invoices row made from that line in this run, or no
// document (0) when that line was not imported.
static void ImportPayments(QlDListRec *payments, QlDListRec *lines, uint32_t key, int64_t payKey)
{
    int first = 1;
    for (QlDListNodeRec *node = payments->first; node; node = node->next) {
        const unsigned char *r = (const unsigned char *)node->data;
        if (U32(r) != key) continue;
        int isFirst = first;
        first = 0;
        QlLegacyLine *line = FirstLine(lines, key);
        if (!line) continue;
        QlPayRec pay;
        memset(&pay, 0, sizeof pay);
        pay.inUse = 1;
        pay.tx_rowid = payKey;
        pay.iv_rowid = line->newKey;
        QL_TEXT_FIELD(pay, paid, r, 12, 14);
        char err[QL_DB_ERR_SIZE];
        if (!QlPayAdd(&pay, err) || !isFirst) continue;
        char text[81];
        Text(text, sizeof text, line->raw, 4, 80);
        QlDbSetInt64("trans", "doc_rowid", payKey, pay.iKey, err);
        QlDbSetText("trans", "desc", payKey, text, err);
    }
}

// One document of trans.dta: 1 when imported or passed over, 0 on a failure.
static int ImportDocument(const unsigned char *r, QlDListRec *lines, QlDListRec *payments)
{
    uint32_t type = U32(r);
    if (type & QL_LEGACY_NOT_IN_USE) return 1;   // a record not in use
    uint32_t key = U32(r + 12);
    QlTransRec rec;
    memset(&rec, 0, sizeof rec);
    rec.inUse = 1;
    rec.type = type;
    rec.sub_type = U32(r + 4);
    rec.num_sub_items = U32(r + 36);
    snprintf(rec.order_number, sizeof rec.order_number, "%d", (int32_t)U32(r + 104));
    QL_TEXT_FIELD(rec, acref, r, 40, 6);
    QL_TEXT_FIELD(rec, date, r, 20, 14);
    QL_TEXT_FIELD(rec, carriage, r, 46, 13);
    QL_TEXT_FIELD(rec, vat, r, 65, 13);
    QL_TEXT_FIELD(rec, gross, r, 78, 13);
    QL_TEXT_FIELD(rec, gross_bal, r, 91, 13);

    char err[QL_DB_ERR_SIZE] = "";
    QlCustRec customer;
    if (!QlCustGetByAcRef(rec.acref, &customer, err)) return 1;   // no such account: passed over
    rec.cust_rowid = customer.iKey;
    if (type == 1 || type == 2 || type == 4) {
        const QlLegacyLine *line = FirstLine(lines, key);
        if (line) Text(rec.desc, sizeof rec.desc, line->raw, 4, 80);
    }
    if (!QlTransAdd(&rec, err)) {
        char message[QL_DB_ERR_SIZE + 64];
        snprintf(message, sizeof message, "Add transaction failed: %s", err);
        Report(message, NULL);
        return 0;
    }
    if (type == 3) {
        ImportPayments(payments, lines, key, rec.iKey);
        return 1;
    }
    return ImportLines(lines, key, rec.iKey);
}

int QlLegacyImportTrans(const char *transPath, const char *linesPath, const char *paymentsPath)
{
    QlDListRec lines, payments;
    QlDListInit(&lines);
    QlDListInit(&payments);
    int result = 1;
    int read = ReadList(linesPath, QL_LEGACY_LINE_SIZE, sizeof(QlLegacyLine), &lines);
    if (read == 1) read = ReadList(paymentsPath, QL_LEGACY_PAY_SIZE, QL_LEGACY_PAY_SIZE, &payments);
    if (read == 0) result = 0;   // out of memory: nothing may be half imported
    if (read == 1) {
        int walked = ForEachRecord(transPath, QL_LEGACY_TRANS_SIZE, [&](const unsigned char *r) {
            return ImportDocument(r, &lines, &payments);
        });
        if (walked == 0) result = 0;
    }
    QlDListFree(&lines);
    QlDListFree(&payments);
    return result;
}

// ---------------------------------------------------------------------------
// The whole import

static int CompanyFile(unsigned company, const char *name, char *path, size_t size)
{
    int n = snprintf(path, size, "COMP%03u\\%s", company, name);
    return n > 0 && (size_t)n < size;
}

int QlLegacyImportAll(unsigned company)
{
    char marker[MAX_PATH], customers[MAX_PATH], products[MAX_PATH], trans[MAX_PATH], lines[MAX_PATH],
        payments[MAX_PATH];
    if (!CompanyFile(company, QL_LEGACY_MARKER, marker, sizeof marker) ||
        !CompanyFile(company, QL_LEGACY_CUSTOMERS, customers, sizeof customers) ||
        !CompanyFile(company, QL_LEGACY_PRODUCTS, products, sizeof products) ||
        !CompanyFile(company, QL_LEGACY_TRANS, trans, sizeof trans) ||
        !CompanyFile(company, QL_LEGACY_LINES, lines, sizeof lines) ||
        !CompanyFile(company, QL_LEGACY_PAYMENTS, payments, sizeof payments))
        return 0;
    if (FileExists(marker)) return 1;
    if (!FileExists(customers) && !FileExists(products) && !FileExists(trans) && !FileExists(lines) &&
        !FileExists(payments))
        return 1;

    // The marker is made before the commit and goes again when the commit
    // fails: the records are in the tables exactly when the marker is there.
    char err[QL_DB_ERR_SIZE];
    if (!QlDbExec("begin;", err)) return 0;
    QlLegacyImportCust(customers);
    QlLegacyImportProd(products);
    int imported = QlLegacyImportTrans(trans, lines, payments);
    HANDLE file = INVALID_HANDLE_VALUE;
    if (imported) file = CreateFileA(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        if (QlDbExec("commit;", err)) return 1;
        DeleteFileA(marker);
    }
    QlDbExec("rollback;", err);
    return 0;
}
