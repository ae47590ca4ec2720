// Data store benchmark: 10,000 customers and 10,000 transactions of 5 lines
// each, added through the data store (statements built as text and run
// through sqlite3.dll), then the same rows through the native SQLite C API
// with prepared statements.  Both runs are one transaction each; a short
// third run shows what a customer add costs in the data store's usual
// autocommit mode.  Prints its figures; asserts nothing about speed.

#include "BenchSupport.h"
#include "core/QlMoney.h"
#include "core/QlPlatform.h"
#include "datastore/QlDbTables.h"

#include <sqlite3.h>
#include <stdio.h>
#include <string.h>

static const int kCustomers = 10000;
static const int kTransactions = 10000;
static const int kLinesPerTransaction = 5;
static const int kAutocommitCustomers = 200;

static void MakeCustomer(int i, QlCustRec *rec)
{
    memset(rec, 0, sizeof *rec);
    snprintf(rec->acref, sizeof rec->acref, "C%04d", i % 10000);
    snprintf(rec->company, sizeof rec->company, "O'Brien Trading %d Ltd", i);
    snprintf(rec->contact, sizeof rec->contact, "Contact %d", i);
    snprintf(rec->worktel, sizeof rec->worktel, "01 555 %04d", i % 10000);
    snprintf(rec->wemail, sizeof rec->wemail, "accounts%d@example.com", i);
    snprintf(rec->addr1, sizeof rec->addr1, "%d High Street", i);
    snprintf(rec->addr2, sizeof rec->addr2, "Town");
    rec->balance_units = i;
    rec->balance_hundredths = (uint32_t)(i % 100);
    rec->vat_rate_index = 1;
}

static void MakeTrans(int i, QlTransRec *rec)
{
    memset(rec, 0, sizeof *rec);
    snprintf(rec->desc, sizeof rec->desc, "Widget 'type %d'", i);
    rec->type = 1;
    rec->sub_type = 1;
    rec->cust_rowid = 1 + i % kCustomers;
    snprintf(rec->acref, sizeof rec->acref, "C%04d", i % 10000);
    snprintf(rec->date, sizeof rec->date, "%d/%d/2024", 1 + i % 28, 1 + i % 12);
    rec->num_sub_items = kLinesPerTransaction;
    snprintf(rec->carriage, sizeof rec->carriage, "0.00");
    snprintf(rec->carriage_vat, sizeof rec->carriage_vat, "0.00");
    snprintf(rec->gross, sizeof rec->gross, "%d.%02d", 100 + i, i % 100);
    snprintf(rec->gross_bal, sizeof rec->gross_bal, "%d.%02d", 100 + i, i % 100);
    snprintf(rec->vat, sizeof rec->vat, "23.00");
}

static void MakeItem(int64_t tx, int line, QlItemRec *rec)
{
    memset(rec, 0, sizeof *rec);
    snprintf(rec->descr, sizeof rec->descr, "Line %d of 'document' %d", line, (int)tx);
    rec->tx_rowid = tx;
    snprintf(rec->vatr_str, sizeof rec->vatr_str, "23.00");
    snprintf(rec->subtotal, sizeof rec->subtotal, "20.00");
    snprintf(rec->net, sizeof rec->net, "20.00");
    snprintf(rec->vat, sizeof rec->vat, "4.60");
    snprintf(rec->disca, sizeof rec->disca, "0.00");
    snprintf(rec->discr, sizeof rec->discr, "0%%");
    rec->sub_type = 1;
    snprintf(rec->qty, sizeof rec->qty, "%d", line + 1);
    rec->prod_rowid = line + 1;
    snprintf(rec->scode, sizeof rec->scode, "P%d", line);
}

// The data store's half; 1 when every row went in.
static int RunDataStore(const char *path, double *seconds)
{
    char err[QL_DB_ERR_SIZE];
    if (!QlDbOpen(path, err)) {
        printf("data store: open failed: %s\n", err);
        return 0;
    }
    double start = BenchSeconds();
    int ok = QlDbExec("begin;", err);
    for (int i = 0; ok && i < kCustomers; i++) {
        QlCustRec cust;
        MakeCustomer(i, &cust);
        ok = QlCustAdd(&cust, err);
    }
    for (int i = 0; ok && i < kTransactions; i++) {
        QlTransRec trans;
        MakeTrans(i, &trans);
        ok = QlTransAdd(&trans, err);
        for (int line = 0; ok && line < kLinesPerTransaction; line++) {
            QlItemRec item;
            MakeItem(trans.iKey, line, &item);
            ok = QlItemAdd(&item, err);
        }
    }
    ok = ok && QlDbExec("commit;", err);
    *seconds = BenchSeconds() - start;
    if (!ok) printf("data store: failed: %s\n", err);
    QlDbClose();
    return ok;
}

// A few customers one statement (and one commit) each, as the program adds them.
static int RunAutocommit(const char *path, double *seconds)
{
    char err[QL_DB_ERR_SIZE];
    if (!QlDbOpen(path, err)) return 0;
    double start = BenchSeconds();
    int ok = 1;
    for (int i = 0; ok && i < kAutocommitCustomers; i++) {
        QlCustRec cust;
        MakeCustomer(i, &cust);
        ok = QlCustAdd(&cust, err);
    }
    *seconds = BenchSeconds() - start;
    QlDbClose();
    return ok;
}

static void BindText(sqlite3_stmt *stmt, int index, const char *text)
{
    sqlite3_bind_text(stmt, index, text, -1, SQLITE_STATIC);
}

// The native C API's half, on a file whose schema the data store made.
static int RunCApi(const char *path, int transactions, double *seconds)
{
    char err[QL_DB_ERR_SIZE];
    if (!QlDbOpen(path, err)) return 0;
    QlDbClose();
    sqlite3 *db = BenchOpenNative(path);
    if (!db) return 0;
    sqlite3_stmt *cust = NULL, *trans = NULL, *item = NULL, *count = NULL;
    int ok =
        sqlite3_prepare_v2(db,
                           "insert into customers (iKey,enabled,acref,company,contact,worktel,mobtel,wemail,fax,addr1,"
                           "addr2,addr3,balance,apply_discount,discount,apply_tax,vat_rate_index) values "
                           "(NULL,'yes',?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);",
                           -1, &cust, NULL) == SQLITE_OK &&
        sqlite3_prepare_v2(db,
                           "insert into trans (iKey,enabled,desc,type,sub_type,doc_rowid,cust_rowid,supp_rowid,acref,"
                           "date,num_sub_items,carriage,gross,gross_bal,vat,order_number,carriage_vat,gross_cents,"
                           "gross_bal_cents) values (NULL,'yes',?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);",
                           -1, &trans, NULL) == SQLITE_OK &&
        sqlite3_prepare_v2(db,
                           "insert into invoices (iKey,enabled,descr,tx_rowid,vatr_str,subtotal,net,vat,disca,discr,"
                           "sub_type,qty,prod_rowid,scode) values (NULL,'yes',?,?,?,?,?,?,?,?,?,?,?,?);",
                           -1, &item, NULL) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "update transcount set count = count + 1;", -1, &count, NULL) == SQLITE_OK;

    double start = BenchSeconds();
    ok = ok && sqlite3_exec(db, "begin;", NULL, NULL, NULL) == SQLITE_OK;
    for (int i = 0; ok && i < kCustomers; i++) {
        QlCustRec rec;
        MakeCustomer(i, &rec);
        char balance[32];
        snprintf(balance, sizeof balance, QL_I64 ".%02u", rec.balance_units, rec.balance_hundredths);
        const char *texts[] = {rec.acref, rec.company, rec.contact, rec.worktel, rec.mobtel,
                               rec.wemail, rec.fax,    rec.addr1,   rec.addr2,   rec.addr3, balance};
        for (int t = 0; t < 11; t++) BindText(cust, t + 1, texts[t]);
        sqlite3_bind_int(cust, 12, rec.apply_discount);
        sqlite3_bind_int(cust, 13, rec.discount);
        sqlite3_bind_int(cust, 14, rec.apply_tax);
        sqlite3_bind_int(cust, 15, rec.vat_rate_index);
        ok = sqlite3_step(cust) == SQLITE_DONE;
        sqlite3_reset(cust);
    }
    for (int i = 0; ok && i < transactions; i++) {
        QlTransRec rec;
        MakeTrans(i, &rec);
        BindText(trans, 1, rec.desc);
        sqlite3_bind_int(trans, 2, (int)rec.type);
        sqlite3_bind_int(trans, 3, (int)rec.sub_type);
        sqlite3_bind_int64(trans, 4, rec.doc_rowid);
        sqlite3_bind_int64(trans, 5, rec.cust_rowid);
        sqlite3_bind_int64(trans, 6, rec.supp_rowid);
        BindText(trans, 7, rec.acref);
        BindText(trans, 8, rec.date);
        sqlite3_bind_int(trans, 9, (int)rec.num_sub_items);
        BindText(trans, 10, rec.carriage);
        BindText(trans, 11, rec.gross);
        BindText(trans, 12, rec.gross_bal);
        BindText(trans, 13, rec.vat);
        BindText(trans, 14, rec.order_number);
        BindText(trans, 15, rec.carriage_vat);
        sqlite3_bind_int64(trans, 16, QlMoneyParseCents(rec.gross));
        sqlite3_bind_int64(trans, 17, QlMoneyParseCents(rec.gross_bal));
        ok = sqlite3_step(trans) == SQLITE_DONE && sqlite3_step(count) == SQLITE_DONE;
        sqlite3_reset(trans);
        sqlite3_reset(count);
        int64_t key = sqlite3_last_insert_rowid(db);
        for (int line = 0; ok && line < kLinesPerTransaction; line++) {
            QlItemRec it;
            MakeItem(key, line, &it);
            BindText(item, 1, it.descr);
            sqlite3_bind_int64(item, 2, it.tx_rowid);
            const char *texts[] = {it.vatr_str, it.subtotal, it.net, it.vat, it.disca, it.discr};
            for (int t = 0; t < 6; t++) BindText(item, t + 3, texts[t]);
            sqlite3_bind_int(item, 9, it.sub_type);
            BindText(item, 10, it.qty);
            sqlite3_bind_int64(item, 11, it.prod_rowid);
            BindText(item, 12, it.scode);
            ok = sqlite3_step(item) == SQLITE_DONE;
            sqlite3_reset(item);
        }
    }
    ok = ok && sqlite3_exec(db, "commit;", NULL, NULL, NULL) == SQLITE_OK;
    *seconds = BenchSeconds() - start;
    if (!ok) printf("C API: failed: %s\n", sqlite3_errmsg(db));
    sqlite3_finalize(cust);
    sqlite3_finalize(trans);
    sqlite3_finalize(item);
    sqlite3_finalize(count);
    sqlite3_close(db);
    return ok;
}

// The file check at every open (QlDbCheckFile, SQLite's quick_check) on a
// company of kCheckDocuments documents: the check alone, and the whole open
// that runs it.  1 when both ran.
static const int kCheckDocuments = 100000;

// The process's processor time (user and kernel) in seconds: the check's
// own cost, apart from what a busy machine adds to the clock.
static double CpuSeconds(void)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime, k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime, u.HighPart = user.dwHighDateTime;
    return (double)(k.QuadPart + u.QuadPart) / 1e7;
}

static int RunCheck(const char *path, double *check, double *checkCpu, double *open, double *megabytes)
{
    double unused;
    if (!RunCApi(path, kCheckDocuments, &unused)) return 0;
    char err[QL_DB_ERR_SIZE];
    WIN32_FILE_ATTRIBUTE_DATA info;
    *megabytes = GetFileAttributesExA(path, GetFileExInfoStandard, &info)
                     ? ((double)info.nFileSizeHigh * 4294967296.0 + info.nFileSizeLow) / 1048576.0
                     : 0;
    if (!QlDbLoadLibrary(path, err)) return 0;
    double start = BenchSeconds(), cpu = CpuSeconds();
    int ok = QlDbCheckFile(err);
    *check = BenchSeconds() - start;
    *checkCpu = CpuSeconds() - cpu;
    QlDbClose();
    start = BenchSeconds();
    ok = ok && QlDbOpen(path, err);
    *open = BenchSeconds() - start;
    QlDbClose();
    if (!ok) printf("check: failed: %s\n", err);
    return ok;
}

static void RemoveFile(const char *path)
{
    DeleteFileA(path);
}

int main(void)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char folder[MAX_PATH + 32], storePath[MAX_PATH + 64], apiPath[MAX_PATH + 64], autoPath[MAX_PATH + 64];
    snprintf(folder, sizeof folder, "%sqlbench_%lu", temp, (unsigned long)GetCurrentProcessId());
    CreateDirectoryA(folder, NULL);
    snprintf(storePath, sizeof storePath, "%s\\store.db", folder);
    snprintf(apiPath, sizeof apiPath, "%s\\capi.db", folder);
    snprintf(autoPath, sizeof autoPath, "%s\\autocommit.db", folder);

    const int rows = kCustomers + kTransactions * (1 + kLinesPerTransaction);
    printf("Adding %d customers and %d transactions of %d lines (%d rows) to a new database.\n", kCustomers,
           kTransactions, kLinesPerTransaction, rows);
    double store = 0, api = 0, autocommit = 0;
    int ok = RunDataStore(storePath, &store) && RunCApi(apiPath, kTransactions, &api) && RunAutocommit(autoPath, &autocommit);
    if (ok) {
        printf("data store (sqlite3.dll, SQL text per row, in one begin/commit run by QlDbExec): %8.3f s  %9.0f rows/s\n", store,
               rows / store);
        printf("native SQLite C API (libsqlite3 linked directly, prepared statements, one transaction): %8.3f s  %9.0f rows/s\n", api,
               rows / api);
        printf("ratio data store / C API: %.2f\n", store / api);
        printf("data store, autocommit (one commit per add): %d customers in %.3f s, %.2f ms each\n",
               kAutocommitCustomers, autocommit, autocommit * 1000.0 / kAutocommitCustomers);
    }
    char checkPath[MAX_PATH + 64];
    snprintf(checkPath, sizeof checkPath, "%s\\check.db", folder);
    double check = 0, checkCpu = 0, open = 0, megabytes = 0;
    if (ok && RunCheck(checkPath, &check, &checkCpu, &open, &megabytes)) {
        printf("file check at open (quick_check) on %d documents of %d lines (%.1f MB): %.3f s (processor %.3f s); "
               "the whole open: %.3f s\n",
               kCheckDocuments, kLinesPerTransaction, megabytes, check, checkCpu, open);
        printf("ratio quick_check / 1 s budget: %.2f\n", check);
    } else {
        ok = 0;
    }
    RemoveFile(checkPath);
    RemoveFile(storePath);
    RemoveFile(apiPath);
    RemoveFile(autoPath);
    RemoveDirectoryA(folder);
    return ok ? 0 : 1;
}
