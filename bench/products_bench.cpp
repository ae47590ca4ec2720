// Products window benchmark: a company of 10,000 products.  Times the
// products window opened until its list is complete (the best of three
// openings) and a click on the Unit Price column, against one SELECT ...
// ORDER BY of the same rows by their price in hundredths through the native
// SQLite C API; prints both and their ratio.  Asserts nothing about speed;
// fails only when the window's order differs from the SELECT's.

#include "BenchSupport.h"
#include "catalogue/QlCatalogueLists.h"
#include "catalogue/QlCatalogueOpen.h"
#include "ui/QlAppState.h"
#include "core/QlMoney.h"
#include "datastore/QlDbTables.h"

#include <windows.h>
#include <commctrl.h>
#include <sqlite3.h>
#include <stdio.h>
#include <string.h>
#include <vector>

#define PRODUCTS 10000
#define LIST_ID 1137
#define PRICE_COLUMN 4

// A new company database with the program's schema and the products,
// filled through the C API: codes "%04X", prices spread over 0.01 to
// 99999.99 in no order, so that the text order is not the price order.
static int MakeCompany(const char *path)
{
    char err[QL_DB_ERR_SIZE];
    if (!QlDbOpen(path, err)) {
        printf("open failed: %s\n", err);
        return 0;
    }
    QlDbClose();
    sqlite3 *db = BenchOpenNative(path);
    if (!db) return 0;
    sqlite3_stmt *insert = NULL;
    int ok = sqlite3_prepare_v2(db,
                                "insert into products (enabled,scode,barcode,supplier_code,name,unit_price,"
                                "purchase_price,stock_qty) values ('yes',?,?,?,?,?,?,?);",
                                -1, &insert, NULL) == SQLITE_OK &&
             sqlite3_exec(db, "begin;", NULL, NULL, NULL) == SQLITE_OK;
    for (int i = 1; ok && i <= PRODUCTS; i++) {
        char code[8], barcode[16], supplier[20], name[40], price[16], cost[16];
        int cents = 1 + (int)((int64_t)i * 7919 % 9999999);
        snprintf(code, sizeof code, "%04X", i);
        snprintf(barcode, sizeof barcode, "4123450%05d", i);
        snprintf(supplier, sizeof supplier, "SUP-%05d", (i * 31) % PRODUCTS);
        snprintf(name, sizeof name, "PRODUCT NUMBER %05d", (i * 7) % PRODUCTS);
        snprintf(price, sizeof price, "%d.%02d", cents / 100, cents % 100);
        snprintf(cost, sizeof cost, "%d.%02d", cents / 200, cents % 100);
        sqlite3_bind_text(insert, 1, code, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, barcode, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, supplier, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, name, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 5, price, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 6, cost, -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 7, i % 100);
        ok = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    ok = ok && sqlite3_exec(db, "commit;", NULL, NULL, NULL) == SQLITE_OK;
    if (!ok) printf("filling failed: %s\n", sqlite3_errmsg(db));
    sqlite3_finalize(insert);
    sqlite3_close(db);
    return ok;
}

// The enabled products ordered by their price in hundredths, every column
// read; their prices in cents, the time in *seconds.
static int OrderedSelect(const char *path, std::vector<int64_t> *prices, double *seconds)
{
    sqlite3 *db = BenchOpenNative(path);
    if (!db) return 0;
    sqlite3_stmt *stmt = NULL;
    double start = BenchSeconds();
    int ok = sqlite3_prepare_v2(db,
                                "select * from products where enabled='yes' order by "
                                "cast(substr(unit_price, 1, instr(unit_price, '.') - 1) as integer) * 100 + "
                                "cast(substr(unit_price, instr(unit_price, '.') + 1) as integer);",
                                -1, &stmt, NULL) == SQLITE_OK;
    int rc = SQLITE_ERROR;
    prices->clear();
    int columns = ok ? sqlite3_column_count(stmt) : 0;
    while (ok && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const char *price = "";
        for (int c = 0; c < columns; c++) {
            const char *text = (const char *)sqlite3_column_text(stmt, c);
            if (strcmp(sqlite3_column_name(stmt, c), "unit_price") == 0 && text) price = text;
        }
        prices->push_back(QlMoneyParseCents(price));
    }
    *seconds = BenchSeconds() - start;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return ok && rc == SQLITE_DONE;
}

static std::vector<int64_t> ListedPrices(HWND list)
{
    std::vector<int64_t> prices;
    int rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int row = 0; row < rows; row++) {
        char text[32] = "";
        LVITEMA item = {};
        item.iSubItem = PRICE_COLUMN;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
        prices.push_back(QlMoneyParseCents(text));
    }
    return prices;
}

static int IgnoreRow(const QlProdRec *)
{
    return 0;
}

static NMLISTVIEW PriceClick(HWND list)
{
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = LIST_ID;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = PRICE_COLUMN;
    return click;
}

int main(void)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    HWND main = CreateWindowExA(0, "STATIC", "Quillory", WS_OVERLAPPEDWINDOW, 0, 0, 800, 580, NULL, NULL,
                                GetModuleHandleA(NULL), NULL);
    QlMainWnd = main;

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char path[MAX_PATH + 64];
    snprintf(path, sizeof path, "%sqlprodbench_%lu.db", temp, (unsigned long)GetCurrentProcessId());
    char err[QL_DB_ERR_SIZE];
    int ok = MakeCompany(path) && QlDbOpen(path, err);
    if (!ok) {
        DeleteFileA(path);
        return 1;
    }

    // Once before timing, so that the first window of the run pays for
    // loading the controls and the pictures; then the best of three, each
    // opening followed by a click on Unit Price.
    QlProdOpenWindow(main);
    double open = 1e9, sort = 1e9;
    HWND window = NULL, list = NULL;
    for (int run = 0; run < 3; run++) {
        double start = BenchSeconds();
        window = QlProdOpenWindow(main);
        double opened = BenchSeconds() - start;
        if (!window) return 1;
        list = GetDlgItem(window, LIST_ID);
        memset(QlProdSortFlags, 0, sizeof QlProdSortFlags);
        NMLISTVIEW click = PriceClick(list);
        start = BenchSeconds();
        SendMessageA(window, WM_NOTIFY, LIST_ID, (LPARAM)&click);
        double sorted = BenchSeconds() - start;
        if (opened < open) open = opened;
        if (sorted < sort) sort = sorted;
    }
    std::vector<int64_t> shown = ListedPrices(list);

    DestroyWindow(window);
    double start = BenchSeconds();
    QlProdEnum(IgnoreRow, err);
    double read = BenchSeconds() - start;
    QlDbClose();

    std::vector<int64_t> selected;
    double select = 0;
    ok = OrderedSelect(path, &selected, &select);
    DeleteFileA(path);
    DestroyWindow(main);
    if (!ok) return 1;

    int rows = (int)shown.size();
    printf("%d products:\n", PRODUCTS);
    printf("  products window opened, list complete (%5d rows):        %7.3f s  %5.1f us a row\n", rows, open,
           open * 1e6 / rows);
    printf("    the products read alone (data store, no list):          %7.3f s\n", read);
    printf("  sorted by Unit Price (the products held in memory):       %7.3f s\n", sort);
    printf("  window opened and sorted:                                 %7.3f s\n", open + sort);
    printf("  one SELECT ... ORDER BY of the same rows (SQLite C API):  %7.3f s\n", select);
    printf("  ratio products list / C API: %.1f\n", (open + sort) / select);
    if (shown != selected) {
        printf("  MISMATCH: the window's order of the prices differs from the SELECT's\n");
        return 1;
    }
    return 0;
}
