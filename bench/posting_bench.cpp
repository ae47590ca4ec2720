// Posting benchmark: a 50-line product invoice saved through the program's
// posting (QlTransSave's road from the form's snapshot: customer look-up,
// the trans row and its count, each product's stock and each line, the
// first-line fields, all in one database transaction), against the same
// rows written through the native SQLite C API with prepared statements in
// one transaction.  Each side posts the document kRuns times into its own
// database; the best and the mean time of one document are printed, with
// the number of database transactions (begin/commit pairs) one posting ran.
// Then a 10-line invoice posted into a company of 100 products and
// accounts and into one of 100,000 (a size given as the argument runs as
// well), the look-ups by account reference and product code through their
// indexes: the ratio of the two, and of the large one against the C API.
// Prints its figures; asserts nothing about speed.

#include "BenchSupport.h"
#include "core/QlMoney.h"
#include "core/QlPlatform.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlTransLines.h"
#include "transactions/QlTransPost.h"

#include <sqlite3.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

static int kLines = 50;
static const int kRuns = 20;
// Products and accounts besides the document's own (none: the first part).
static int gCatalogue = 0;

static std::string Money(int64_t cents)
{
    char text[32];
    QlMoneyFormatCents(cents, text, sizeof text);
    return text;
}

// Line i: 1 + i % 5 units of product P0ii at 1.25 + i cents, 23 % tax.
struct Line {
    std::string code, descr, qty, rate, discount, price, discountAmount, net, tax;
};

static std::vector<Line> MakeLines(int64_t *gross)
{
    std::vector<Line> lines;
    *gross = 0;
    for (int i = 0; i < kLines; i++) {
        char code[8], descr[64];
        snprintf(code, sizeof code, "P%03d", i);
        snprintf(descr, sizeof descr, "Fitting %d, 12\" 'brass'", i);
        int quantity = 1 + i % 5;
        QlLineFigures f = QlLineProduct(125 + i, quantity, 0, 2300);
        lines.push_back({code, descr, std::to_string(quantity), "23.00", "0", Money(125 + i), Money(0), Money(f.net),
                         Money(f.tax)});
        *gross += f.net + f.tax;
    }
    return lines;
}

// A company database with one account and the 50 products.
static int MakeDatabase(const char *path)
{
    char err[QL_DB_ERR_SIZE];
    if (!QlDbOpen(path, err)) {
        printf("open failed: %s\n", err);
        return 0;
    }
    QlCustRec cust = {};
    strcpy(cust.acref, "JO001");
    strcpy(cust.company, "Joe's Plumbing");
    int ok = QlCustAdd(&cust, err);
    for (int i = 0; ok && i < kLines; i++) {
        QlProdRec prod = {};
        snprintf(prod.scode, sizeof prod.scode, "P%03d", i);
        snprintf(prod.name, sizeof prod.name, "Fitting %d", i);
        prod.unit_price_units = 1;
        prod.unit_price_hundredths = 25;
        prod.stock_qty = 1000000;
        ok = QlProdAddRec(&prod, err);
    }
    if (ok && gCatalogue > 0) {
        char sql[1024];
        snprintf(sql, sizeof sql,
                 "begin; with recursive n(k) as (select 0 union all select k+1 from n where k<%d) "
                 "insert into products (enabled,scode,barcode,supplier_code,name,unit_price,purchase_price,stock_qty) "
                 "select 'yes',printf('X%%03d',k %% 1000),printf('5012%%08d',k),'','Other product','2.50','1.00','5' "
                 "from n where k<%d; "
                 "with recursive n(k) as (select 0 union all select k+1 from n where k<%d) "
                 "insert into customers (enabled,acref,company,balance,apply_discount,discount,apply_tax,"
                 "vat_rate_index) select 'yes',printf('%%05X',k),'Other account','0.00','0','0','0','0' from n "
                 "where k<%d; commit;",
                 gCatalogue, gCatalogue, gCatalogue, gCatalogue);
        ok = QlDbExec(sql, err);
    }
    if (!ok) printf("setup failed: %s\n", err);
    return ok;
}

static int gBegins, gCommits, gStatements;
static int CountStatement(const char *sql)
{
    gStatements++;
    if (strncmp(sql, "begin", 5) == 0) gBegins++;
    if (strncmp(sql, "commit", 6) == 0) gCommits++;
    return 0;
}

static int RunPosting(const char *path, double *best, double *mean)
{
    if (!MakeDatabase(path)) return 0;
    int64_t grossCents = 0;
    std::vector<Line> lines = MakeLines(&grossCents);
    int ok = 1;
    double total = 0;
    *best = 1e9;
    for (int run = 0; ok && run < kRuns; run++) {
        QlTransSnapshot snap;
        QlTransSnapshotInit(&snap, QL_DOC_INVOICE, 1);
        strcpy(snap.acref, "JO001");
        snprintf(snap.gross, sizeof snap.gross, "%s", Money(grossCents).c_str());
        strcpy(snap.date, "14/3/2025");
        strcpy(snap.tax, "0.00");
        strcpy(snap.carriage, "0.00");
        strcpy(snap.carriageTax, "0.00");
        strcpy(snap.orderNumber, "PO'77");
        for (const Line &l : lines) {
            const char *cells[] = {l.code.c_str(),     l.descr.c_str(),          l.qty.c_str(),
                                   l.rate.c_str(),     l.discount.c_str(),       l.price.c_str(),
                                   l.discountAmount.c_str(), l.net.c_str(),      l.tax.c_str()};
            ok = ok && QlTransSnapshotAddRow(&snap, cells, 9);
        }
        if (run == 0) QlDbExecHook = CountStatement;
        double start = BenchSeconds();
        ok = ok && QlTransSaveSnapshot(NULL, &snap, QL_DOC_INVOICE, NULL);
        double seconds = BenchSeconds() - start;
        QlDbExecHook = NULL;
        QlTransSnapshotFree(&snap);
        total += seconds;
        if (seconds < *best) *best = seconds;
    }
    *mean = total / kRuns;
    QlDbClose();
    if (!ok) printf("posting failed\n");
    return ok;
}

static void BindText(sqlite3_stmt *stmt, int index, const char *text)
{
    sqlite3_bind_text(stmt, index, text, -1, SQLITE_STATIC);
}

static int RunCApi(const char *path, double *best, double *mean)
{
    if (!MakeDatabase(path)) return 0;
    QlDbClose();
    sqlite3 *db = BenchOpenNative(path);
    if (!db) return 0;
    int64_t grossCents = 0;
    std::vector<Line> lines = MakeLines(&grossCents);
    std::string gross = Money(grossCents);
    sqlite3_stmt *cust = NULL, *trans = NULL, *count = NULL, *find = NULL, *stock = NULL, *item = NULL, *first = NULL;
    int ok =
        sqlite3_prepare_v2(db, "select iKey from customers where acref=? and enabled='yes' limit 1;", -1, &cust,
                           NULL) == SQLITE_OK &&
        sqlite3_prepare_v2(db,
                           "insert into trans (iKey,enabled,desc,type,sub_type,doc_rowid,cust_rowid,supp_rowid,acref,"
                           "date,num_sub_items,carriage,gross,gross_bal,vat,order_number,carriage_vat,gross_cents,"
                           "gross_bal_cents) values (NULL,'yes','',1,1,0,?,0,?,?,?,'0.00',?,?,'0.00',?,'0.00',?,?);",
                           -1, &trans, NULL) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "update transcount set count = count + 1;", -1, &count, NULL) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "select iKey,stock_qty from products where scode=? and enabled='yes' limit 1;", -1,
                           &find, NULL) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "update products set stock_qty=? where iKey=?;", -1, &stock, NULL) == SQLITE_OK &&
        sqlite3_prepare_v2(db,
                           "insert into invoices (iKey,enabled,descr,tx_rowid,vatr_str,subtotal,net,vat,disca,discr,"
                           "sub_type,qty,prod_rowid,scode) values (NULL,'yes',?,?,?,?,?,?,?,?,1,?,?,?);",
                           -1, &item, NULL) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "update trans set doc_rowid=?,desc=? where iKey=?;", -1, &first, NULL) == SQLITE_OK;

    double total = 0;
    *best = 1e9;
    for (int run = 0; ok && run < kRuns; run++) {
        double start = BenchSeconds();
        BindText(cust, 1, "JO001");
        ok = sqlite3_step(cust) == SQLITE_ROW;
        int64_t custKey = ok ? sqlite3_column_int64(cust, 0) : 0;
        sqlite3_reset(cust);
        ok = ok && sqlite3_exec(db, "begin;", NULL, NULL, NULL) == SQLITE_OK;
        sqlite3_bind_int64(trans, 1, custKey);
        BindText(trans, 2, "JO001");
        BindText(trans, 3, "14/3/2025");
        sqlite3_bind_int(trans, 4, kLines);
        BindText(trans, 5, gross.c_str());
        BindText(trans, 6, gross.c_str());
        BindText(trans, 7, "PO'77");
        sqlite3_bind_int64(trans, 8, grossCents);
        sqlite3_bind_int64(trans, 9, grossCents);
        ok = ok && sqlite3_step(trans) == SQLITE_DONE && sqlite3_step(count) == SQLITE_DONE;
        sqlite3_reset(trans);
        sqlite3_reset(count);
        int64_t docKey = sqlite3_last_insert_rowid(db);
        for (int i = 0; ok && i < kLines; i++) {
            const Line &l = lines[i];
            BindText(find, 1, l.code.c_str());
            ok = sqlite3_step(find) == SQLITE_ROW;
            int64_t prodKey = sqlite3_column_int64(find, 0);
            int stockQty = sqlite3_column_int(find, 1);
            sqlite3_reset(find);
            sqlite3_bind_int(stock, 1, stockQty - atoi(l.qty.c_str()));
            sqlite3_bind_int64(stock, 2, prodKey);
            ok = ok && sqlite3_step(stock) == SQLITE_DONE;
            sqlite3_reset(stock);
            BindText(item, 1, l.descr.c_str());
            sqlite3_bind_int64(item, 2, docKey);
            const char *texts[] = {l.rate.c_str(), l.price.c_str(), l.net.c_str(), l.tax.c_str(),
                                   l.discountAmount.c_str(), l.discount.c_str()};
            for (int t = 0; t < 6; t++) BindText(item, t + 3, texts[t]);
            BindText(item, 9, l.qty.c_str());
            sqlite3_bind_int64(item, 10, prodKey);
            BindText(item, 11, l.code.c_str());
            ok = ok && sqlite3_step(item) == SQLITE_DONE;
            sqlite3_reset(item);
            if (ok && i == 0) {
                sqlite3_bind_int64(first, 1, sqlite3_last_insert_rowid(db));
                BindText(first, 2, l.descr.c_str());
                sqlite3_bind_int64(first, 3, docKey);
                ok = sqlite3_step(first) == SQLITE_DONE;
                sqlite3_reset(first);
            }
        }
        ok = ok && sqlite3_exec(db, "commit;", NULL, NULL, NULL) == SQLITE_OK;
        double seconds = BenchSeconds() - start;
        total += seconds;
        if (seconds < *best) *best = seconds;
    }
    *mean = total / kRuns;
    if (!ok) printf("C API: failed: %s\n", sqlite3_errmsg(db));
    for (sqlite3_stmt *stmt : {cust, trans, count, find, stock, item, first}) sqlite3_finalize(stmt);
    sqlite3_close(db);
    return ok;
}

// A 10-line invoice into a company of the given number of products and
// accounts: the mean time of one posting, and of the C API's.
static int RunCatalogue(const char *folder, int catalogue, double *post, double *api)
{
    char postPath[MAX_PATH + 64], apiPath[MAX_PATH + 64];
    snprintf(postPath, sizeof postPath, "%s\\post%d.db", folder, catalogue);
    snprintf(apiPath, sizeof apiPath, "%s\\capi%d.db", folder, catalogue);
    kLines = 10;
    gCatalogue = catalogue;
    double best = 0, apiBest = 0;
    int ok = RunPosting(postPath, &best, post) && RunCApi(apiPath, &apiBest, api);
    DeleteFileA(postPath);
    DeleteFileA(apiPath);
    if (ok)
        printf("%7d products and accounts: posting %8.3f ms, the C API %8.3f ms per document (mean of %d)\n",
               catalogue, *post * 1000, *api * 1000, kRuns);
    return ok;
}

int main(int argc, char **argv)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char folder[MAX_PATH + 32], postPath[MAX_PATH + 64], apiPath[MAX_PATH + 64];
    snprintf(folder, sizeof folder, "%sqlpostbench_%lu", temp, (unsigned long)GetCurrentProcessId());
    CreateDirectoryA(folder, NULL);
    snprintf(postPath, sizeof postPath, "%s\\post.db", folder);
    snprintf(apiPath, sizeof apiPath, "%s\\capi.db", folder);

    printf("Posting a %d-line product invoice %d times (stock of each product, each line, the trans row and its "
           "count).\n",
           kLines, kRuns);
    double postBest = 0, postMean = 0, apiBest = 0, apiMean = 0;
    int ok = RunPosting(postPath, &postBest, &postMean) && RunCApi(apiPath, &apiBest, &apiMean);
    if (ok) {
        printf("posting (QlTransSave's posting through sqlite3.dll): best %8.3f ms  mean %8.3f ms per document\n",
               postBest * 1000, postMean * 1000);
        printf("native SQLite C API (prepared statements, one transaction): best %8.3f ms  mean %8.3f ms per document\n",
               apiBest * 1000, apiMean * 1000);
        printf("ratio posting / C API: %.2f (best), %.2f (mean)\n", postBest / apiBest, postMean / apiMean);
        printf("database transactions in one posting: %d begin, %d commit, %d statements\n", gBegins, gCommits,
               gStatements);
    }
    DeleteFileA(postPath);
    DeleteFileA(apiPath);
    int counted = gBegins == 1 && gCommits == 1;

    printf("A 10-line product invoice into small and large catalogues:\n");
    double smallPost = 0, smallApi = 0, largePost = 0, largeApi = 0;
    int largeOk = ok && RunCatalogue(folder, 100, &smallPost, &smallApi) &&
                RunCatalogue(folder, 100000, &largePost, &largeApi);
    if (largeOk)
        printf("ratio posting large catalogue: %.2f (100,000 products and accounts against 100), %.2f against the C "
               "API at 100,000\n",
               largePost / smallPost, largePost / largeApi);
    if (largeOk && argc > 1 && atoi(argv[1]) > 0) {
        double post = 0, api = 0;
        largeOk = RunCatalogue(folder, atoi(argv[1]), &post, &api);
        if (largeOk) printf("  at %d: %.2f against 100\n", atoi(argv[1]), post / smallPost);
    }
    RemoveDirectoryA(folder);
    return ok && largeOk && counted ? 0 : 1;
}
