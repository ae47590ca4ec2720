// The company database's schema: the nine tables, the counter row, and the
// columns that older files of the trans table lack.

#include "datastore/QlDb.h"

#include "core/QlMoney.h"
#include "core/QlPlatform.h"

#include <windows.h>
#include <string.h>

// The stored schema; these texts are kept exactly as earlier versions wrote
// them (the trailing blank of the orders statement included).
static const char *const kCreateTables[] = {
    "create table if not exists customers (iKey INTEGER PRIMARY KEY, enabled TEXT, acref TEXT, company TEXT, "
    "contact TEXT, worktel TEXT, mobtel TEXT, wemail TEXT, fax TEXT, addr1 TEXT, addr2 TEXT, addr3 TEXT, "
    "balance TEXT, apply_discount TEXT, discount TEXT, apply_tax TEXT, vat_rate_index TEXT);",
    "create table if not exists suppliers (iKey INTEGER PRIMARY KEY, enabled TEXT, acref TEXT, company TEXT, "
    "contact TEXT, worktel TEXT, mobtel TEXT, wemail TEXT, fax TEXT, addr1 TEXT, addr2 TEXT, addr3 TEXT, "
    "balance TEXT);",
    "create table if not exists orders (iKey INTEGER PRIMARY KEY, enabled TEXT, iSupplierRowId INTEGER, "
    "iProductRowId INTEGER, iTxRowId INTEGER, scode TEXT, supplier_code TEXT, description TEXT, iQty INTEGER, "
    "uprice TEXT, total TEXT); ",
    "create table if not exists products (iKey INTEGER PRIMARY KEY, enabled TEXT, scode TEXT, barcode TEXT, "
    "supplier_code TEXT, name TEXT, unit_price TEXT, purchase_price TEXT, stock_qty TEXT);",
    "create table if not exists services (iKey INTEGER PRIMARY KEY, enabled TEXT, descr TEXT, price TEXT);",
    "create table if not exists trans (iKey INTEGER PRIMARY KEY, enabled TEXT, desc TEXT, type TEXT, "
    "sub_type TEXT, doc_rowid INTEGER, cust_rowid INTEGER, supp_rowid INTEGER, acref TEXT, date TEXT, "
    "num_sub_items TEXT, carriage TEXT, gross TEXT, gross_bal TEXT, vat TEXT, order_number TEXT, "
    "carriage_vat TEXT, gross_cents INTEGER, gross_bal_cents INTEGER);",
    "create table if not exists invoices (iKey INTEGER PRIMARY KEY, enabled TEXT, descr TEXT,tx_rowid INTEGER, "
    "vatr_str TEXT, subtotal TEXT, net TEXT, vat TEXT, disca TEXT, discr TEXT, sub_type TEXT, qty TEXT, "
    "prod_rowid INTEGER, scode TEXT);",
    "create table if not exists payments (iKey INTEGER PRIMARY KEY, enabled TEXT, tx_rowid INTEGER, "
    "iv_rowid INTEGER, paid TEXT);",
    "create table if not exists transcount (iKey INTEGER PRIMARY KEY, count INTEGER);",
};

// The columns rows are looked up by: an account by its reference, a product
// by its code or bar code, a customer's or supplier's transactions, a
// document's lines and payments, an order's items.  They only speed those
// reads up and change no stored table, so a file on which one cannot be made
// still opens; each is made at every open, for files of earlier versions too.
static const char *const kCreateIndexes[] = {
    "create index if not exists trans_cust_type on trans (cust_rowid, type);",
    "create index if not exists trans_supp on trans (supp_rowid);",
    "create index if not exists customers_acref on customers (acref);",
    "create index if not exists suppliers_acref on suppliers (acref);",
    "create index if not exists products_scode on products (scode);",
    "create index if not exists products_barcode on products (barcode);",
    "create index if not exists invoices_tx on invoices (tx_rowid);",
    "create index if not exists payments_tx on payments (tx_rowid);",
    "create index if not exists payments_iv on payments (iv_rowid);",
    "create index if not exists orders_tx on orders (iTxRowId);",
};

// Columns added to trans after its first version: a probe that fails when
// the column is missing, and the statement that adds it.
struct QlColumnUpgrade {
    const char *probe;
    const char *add;
    int needsCents;   // adding it calls for the cents back-fill
};

static const QlColumnUpgrade kTransUpgrades[] = {
    {"select carriage_vat from trans limit 1;", "alter table trans add column carriage_vat TEXT;", 0},
    {"select gross_cents from trans limit 1;", "alter table trans add column gross_cents INTEGER;", 1},
    {"select gross_bal_cents from trans limit 1;", "alter table trans add column gross_bal_cents INTEGER;", 1},
};

// Row callback of "select iKey,gross,gross_bal from trans;": writes the two
// cents columns of the row from its money texts.  Always 0, so every row is
// visited; a failed update is passed over.
static int __cdecl QlDbBackfillCentsRowCb(void *arg, int columnCount, char **values, char **names)
{
    if (columnCount < 3) return 0;
    int64_t iKey = QlAtoI64(values[0]);
    char grossCents[24] = "0";
    char balCents[24] = "0";
    if (values[1]) QlMoneyToCentsText(values[1], grossCents);
    if (values[2]) QlMoneyToCentsText(values[2], balCents);

    char sql[512];
    char err[QL_DB_ERR_SIZE];
    if (QlDbFormatSql(sql, sizeof sql, err,
                      "update trans set gross_cents='%s',gross_bal_cents='%s' where iKey='" QL_I64 "';", grossCents,
                      balCents, iKey))
        QlDbExec(sql, err);
    return 0;
}

// Adds the missing trans columns and fills the cents of the existing rows,
// all in one transaction: an upgrade cut short leaves the file as it was and
// runs again at the next open, instead of leaving rows without cents.
static int UpgradeTrans(char *err)
{
    char probeErr[QL_DB_ERR_SIZE];
    int missing[ARRAYSIZE(kTransUpgrades)];
    int anyMissing = 0;
    for (size_t i = 0; i < ARRAYSIZE(kTransUpgrades); i++) {
        missing[i] = !QlDbExec(kTransUpgrades[i].probe, probeErr);
        // Only a column that is not there is added; any other failure (a
        // locked or unreadable table) fails the open with its own text.
        if (missing[i] && strncmp(probeErr, "no such column", 14) != 0) {
            QlDbSetError(err, probeErr);
            return 0;
        }
        anyMissing |= missing[i];
    }
    if (!anyMissing) return 1;

    if (!QlDbExec("begin;", err)) return 0;
    int backfill = 0;
    for (size_t i = 0; i < ARRAYSIZE(kTransUpgrades); i++) {
        if (!missing[i]) continue;
        if (!QlDbExec(kTransUpgrades[i].add, err)) {
            QlDbExec("rollback;", probeErr);
            return 0;
        }
        backfill |= kTransUpgrades[i].needsCents;
    }
    if (backfill) QlDbExecRows("select iKey,gross,gross_bal from trans;", QlDbBackfillCentsRowCb, NULL, probeErr);
    if (!QlDbExec("commit;", err)) {
        QlDbExec("rollback;", probeErr);
        return 0;
    }
    return 1;
}

static int sOpenCount;

int QlDbOpenCount(void)
{
    return sOpenCount;
}

int QlDbOpen(const char *path, char *err)
{
    if (!QlDbLoadLibrary(path, err)) return 0;
    // A damaged file is refused before the schema steps write to it.
    if (!QlDbCheckFile(err)) {
        QlDbClose();
        return 0;
    }
    for (size_t i = 0; i < ARRAYSIZE(kCreateTables); i++) {
        if (!QlDbExec(kCreateTables[i], err)) {
            QlDbClose();
            return 0;
        }
    }
    // One new row at every open; the counter is row 1, made by the first.
    if (!QlDbExec("insert into transcount (iKey,count) values (NULL,'0');", err) || !UpgradeTrans(err)) {
        QlDbClose();
        return 0;
    }
    char indexErr[QL_DB_ERR_SIZE];
    for (size_t i = 0; i < ARRAYSIZE(kCreateIndexes); i++) QlDbExec(kCreateIndexes[i], indexErr);
    sOpenCount++;
    return 1;
}
