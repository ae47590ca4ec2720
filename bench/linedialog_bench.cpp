// Line dialog benchmark: the product line dialog (Add on a product invoice)
// over catalogues of 1,000, 10,000 and 100,000 products, and the service
// line dialog over 10,000 services.  Times the first Add (the catalogue read,
// the list complete and drawn, the dialog closed) and a second one (the
// catalogue unchanged), against the products' query through the native
// SQLite C API, every column read; prints them and their ratio (what the
// products add to the first Add, the best of three reads of the catalogue,
// beyond the dialog without products), the
// figure at 10,000 first.  A size given as the argument runs as well (by hand).
// Asserts nothing about speed; fails only when a dialog does not list every
// product or service.

#include "BenchSupport.h"
#include "catalogue/QlCatalogueCache.h"
#include "ui/QlAppState.h"
#include "core/QlPlatform.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlTransLines.h"
#include "resources/QlResTrans.h"
#include "transactions/QlItemDialogs.h"

#include <windows.h>
#include <commctrl.h>
#include <sqlite3.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// A company with the products (codes of four characters, barcodes, prices)
// and as many services.
static int MakeCompany(const char *path, int products, int services)
{
    char err[QL_DB_ERR_SIZE];
    if (!QlDbOpen(path, err)) {
        printf("open failed: %s\n", err);
        return 0;
    }
    char sql[1024];
    snprintf(sql, sizeof sql,
             "begin; with recursive n(k) as (select 0 union all select k+1 from n where k<%d) "
             "insert into products (enabled,scode,barcode,supplier_code,name,unit_price,purchase_price,stock_qty) "
             "select 'yes',printf('%%04X',k %% 65536),printf('5012%%08d',k),printf('S%%06d',k),"
             "printf('Fitting %%d, brass',k),printf('%%d.%%02d',k %% 500,k %% 100),printf('%%d.%%02d',k %% 300,"
             "k %% 97),cast(k %% 50 as text) from n where k<%d; commit;",
             products, products);
    int ok = QlDbExec(sql, err);
    snprintf(sql, sizeof sql,
             "begin; with recursive n(k) as (select 0 union all select k+1 from n where k<%d) "
             "insert into services (enabled,descr,price) select 'yes',printf('Service call %%d',k),"
             "printf('%%d.%%02d',k %% 900,k %% 100) from n where k<%d; commit;",
             services, services);
    ok = ok && QlDbExec(sql, err);
    if (!ok) printf("filling failed: %s\n", err);
    QlDbClose();
    return ok;
}

// The products' query through the C API, every column of every row read:
// the best of three; the row count.
static int SelectProducts(const char *path, double *best)
{
    sqlite3 *db = BenchOpenNative(path);
    if (!db) return -1;
    int rows = 0;
    *best = 1e9;
    for (int run = 0; run < 3; run++) {
        sqlite3_stmt *stmt = NULL;
        size_t bytes = 0;
        rows = 0;
        double start = BenchSeconds();
        if (sqlite3_prepare_v2(db, "select * from products where enabled='yes'", -1, &stmt, NULL) == SQLITE_OK) {
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                for (int c = 0; c < sqlite3_column_count(stmt); c++) {
                    const unsigned char *text = sqlite3_column_text(stmt, c);
                    if (text) bytes += strlen((const char *)text);
                }
                rows++;
            }
        }
        sqlite3_finalize(stmt);
        double seconds = BenchSeconds() - start;
        if (seconds < *best) *best = seconds;
        if (bytes == 42) printf(" ");   // keeps the reads
    }
    sqlite3_close(db);
    return rows;
}

// One Add: the dialog opened, drawn and closed; its row count in *rows, the
// time of its creation alone (the controls and the start-up, the pick list
// filled, nothing drawn) in *created.
static double OpenDialog(HWND main, int product, int *rows, double *created = NULL)
{
    QlItemAddMode = 1;
    QlItemQtyTable.count = 0;
    snprintf(QlItemDlgCaption, sizeof QlItemDlgCaption, "%s", product ? "Product" : "Service");
    double start = BenchSeconds();
    HWND dialog = CreateDialogParamA(QlUiInstance(), MAKEINTRESOURCEA(product ? IDD_ITEM_PRODUCT : IDD_ITEM_SERVICE),
                                     main, QlItemDlgProc, product);
    if (created) *created = BenchSeconds() - start;
    if (!dialog) {
        *rows = -1;
        return 0;
    }
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    *rows = (int)SendDlgItemMessageA(dialog, IDL_ITEM_PICK, LVM_GETITEMCOUNT, 0, 0);
    DestroyWindow(dialog);
    return BenchSeconds() - start;
}

struct Result {
    int products;
    double first, again, select;
    double created;   // the first Add's dialog created, nothing drawn (best of three, the catalogue read each time)
    double createdAgain;
    int ok;
};

static Result Measure(HWND main, int products, int services, double *serviceFirst)
{
    Result result = {products, 0, 1e9, 0, 0, 1e9, 0};
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char path[MAX_PATH + 64];
    snprintf(path, sizeof path, "%sqllinebench_%lu_%d.db", temp, (unsigned long)GetCurrentProcessId(), products);
    char err[QL_DB_ERR_SIZE];
    if (!MakeCompany(path, products, services) || !QlDbOpen(path, err)) {
        DeleteFileA(path);
        return result;
    }
    int rows = 0, again = 0, serviceRows = services;
    result.first = OpenDialog(main, 1, &rows, &result.created);
    // The first Add again, the catalogue read anew each time (as after a
    // change to it): the best of three, so that a busy moment of the machine
    // is not taken for the catalogue's cost.
    for (int run = 0; run < 2; run++) {
        double created = 0;
        int reread = 0;
        QlCatalogueForget();
        OpenDialog(main, 1, &reread, &created);
        if (created < result.created) result.created = created;
        if (reread != products) rows = reread;
    }
    for (int run = 0; run < 3; run++) {
        double created = 0;
        double seconds = OpenDialog(main, 1, &again, &created);
        if (seconds < result.again) result.again = seconds;
        if (created < result.createdAgain) result.createdAgain = created;
    }
    if (serviceFirst) *serviceFirst = OpenDialog(main, 0, &serviceRows);
    QlDbClose();
    int selected = SelectProducts(path, &result.select);
    DeleteFileA(path);
    result.ok = rows == products && again == products && selected == products && serviceRows == services;
    printf("%7d products: first Add %8.4f s (created, best of three reads: %8.4f s), the next ones %8.4f s (created %8.4f s); the query "
           "through the C API %8.4f s%s\n",
           products, result.first, result.created, result.again, result.createdAgain, result.select,
           result.ok ? "" : "  MISMATCH");
    if (!result.ok)
        printf("  listed %d, then %d, selected %d; services %d of %d\n", rows, again, selected, serviceRows, services);
    if (serviceFirst)
        printf("%7d services: first Add %8.4f s\n", services, *serviceFirst);
    return result;
}

int main(int argc, char **argv)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    HWND main = CreateWindowExA(0, "STATIC", "Quillory", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 580, NULL, NULL,
                                GetModuleHandleA(NULL), NULL);
    QlMainWnd = main;

    // The dialog without products first: what an Add costs whatever the
    // catalogue (and the first dialog's loading of controls and pictures).
    double services = 0;
    Result none = Measure(main, 0, 0, NULL);
    Result few = Measure(main, 1000, 0, NULL);
    Result middle = Measure(main, 10000, 10000, &services);
    Result many = Measure(main, 100000, 0, NULL);
    int ok = none.ok && few.ok && middle.ok && many.ok;
    if (argc > 1 && atoi(argv[1]) > 0) ok = Measure(main, atoi(argv[1]), 0, NULL).ok && ok;
    // What the products add to the first Add's dialog (created, nothing
    // drawn: the drawing shows the same rows whatever the catalogue).
    const double empty = none.createdAgain;
    printf("ratio line dialog products: %.2f at 10,000 products, %.2f at 1,000, %.2f at 100,000 (what the products "
           "add to the first Add's dialog, beyond its own %.3f s, / the query through the C API); the first Add at "
           "100,000: %.3f s, the next ones %.3f s\n",
           (middle.created - empty) / middle.select, (few.created - empty) / few.select,
           (many.created - empty) / many.select, empty, many.first, many.again);
    DestroyWindow(main);
    return ok ? 0 : 1;
}
