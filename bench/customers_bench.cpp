// Customers module benchmark: a company of 10,000 accounts and 100,000
// transactions, and one of 100,000 accounts and 1,000,000 transactions.
// Times the fill of the customers module's two lists with every account's
// balance, the window's closing, and one grouped SELECT of the same sums
// through the native SQLite C API; prints them (the fill as the best of the
// openings), their ratio, the process's working set before the module
// opened and at its peak, and the select-customer dialog opened on the same
// accounts.  Asserts nothing about speed; fails only when the
// module's balances differ from the SELECT's.

#include "BenchSupport.h"
#include "ui/QlAppState.h"
#include "core/QlMoney.h"
#include "core/QlPlatform.h"
#include "customers/QlCustModule.h"
#include "customers/QlCustSelect.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlOpeners.h"
#include "docmodel/QlTransSums.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <sqlite3.h>
#include <stdio.h>
#include <string.h>

// A new company database with the program's schema, filled through the C
// API: the accounts, then transactions spread over them (seven in ten
// invoices, the rest credit notes, payments and quotations).
static int MakeCompany(const char *path, int accounts, int transactions)
{
    char err[QL_DB_ERR_SIZE];
    if (!QlDbOpen(path, err)) {
        printf("open failed: %s\n", err);
        return 0;
    }
    QlDbClose();
    sqlite3 *db = BenchOpenNative(path);
    if (!db) return 0;
    sqlite3_stmt *cust = NULL, *trans = NULL;
    int ok = sqlite3_prepare_v2(db,
                                "insert into customers (enabled,acref,company,addr1,balance,apply_discount,discount,"
                                "apply_tax,vat_rate_index) values ('yes',?,?,'1 High Street','0.00','0','0','1','1');",
                                -1, &cust, NULL) == SQLITE_OK &&
             sqlite3_prepare_v2(db,
                                "insert into trans (enabled,desc,type,sub_type,cust_rowid,acref,date,gross,gross_bal,"
                                "gross_cents,gross_bal_cents) values ('yes','Goods',?,'1',?,?,'1/2/2025',?,?,?,?);",
                                -1, &trans, NULL) == SQLITE_OK &&
             sqlite3_exec(db, "begin;", NULL, NULL, NULL) == SQLITE_OK;
    for (int i = 0; ok && i < accounts; i++) {
        char acref[8], company[40];
        snprintf(acref, sizeof acref, "%c%c%03d", 'A' + i / 26000 % 26, 'A' + i / 1000 % 26, i % 1000);
        snprintf(company, sizeof company, "Trading Company %05d Ltd", (i * 7919) % accounts);
        sqlite3_bind_text(cust, 1, acref, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(cust, 2, company, -1, SQLITE_TRANSIENT);
        ok = sqlite3_step(cust) == SQLITE_DONE;
        sqlite3_reset(cust);
    }
    static const int kTypes[10] = {1, 1, 1, 1, 1, 1, 1, 2, 3, 4};
    for (int i = 0; ok && i < transactions; i++) {
        int64_t customer = 1 + (int64_t)i * 7 % accounts;
        int64_t cents = (int64_t)(i * 7907 % 200000) - 20000;
        char money[32];
        QlMoneyFormatCents(cents, money, sizeof money);
        sqlite3_bind_int(trans, 1, kTypes[i % 10]);
        sqlite3_bind_int64(trans, 2, customer);
        sqlite3_bind_text(trans, 3, "AA000", -1, SQLITE_STATIC);
        sqlite3_bind_text(trans, 4, money, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(trans, 5, money, -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(trans, 6, cents);
        sqlite3_bind_int64(trans, 7, cents);
        ok = sqlite3_step(trans) == SQLITE_DONE;
        sqlite3_reset(trans);
    }
    ok = ok && sqlite3_exec(db, "commit;", NULL, NULL, NULL) == SQLITE_OK;
    if (!ok) printf("filling failed: %s\n", sqlite3_errmsg(db));
    sqlite3_finalize(cust);
    sqlite3_finalize(trans);
    sqlite3_close(db);
    return ok;
}

// The same sums in one grouped SELECT; their total in cents, the time in *seconds.
static int GroupedSums(const char *path, int64_t *total, double *seconds)
{
    char native[MAX_PATH * 4];
    sqlite3 *db = NULL;
    sqlite3_stmt *stmt = NULL;
    if (!QlPathToNative(path, native, sizeof native) || sqlite3_open(native, &db) != SQLITE_OK) {
        sqlite3_close(db);
        return 0;
    }
    double start = BenchSeconds();
    int ok = sqlite3_prepare_v2(db,
                                "select cust_rowid, sum(gross_bal_cents) from trans where enabled='yes' and type='1' "
                                "group by cust_rowid;",
                                -1, &stmt, NULL) == SQLITE_OK;
    int rc = SQLITE_ERROR;
    *total = 0;
    while (ok && (rc = sqlite3_step(stmt)) == SQLITE_ROW) *total += sqlite3_column_int64(stmt, 1);
    *seconds = BenchSeconds() - start;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return ok && rc == SQLITE_DONE;
}

struct Figures {
    double fill;       // the module opened and filled: the best of the openings
    double close;      // the module window destroyed: the best of the closings
    double resort;     // a click on the A/C ref column
    double pump;       // the message pump alone, once per account
    double select;     // the select-customer dialog opened with every account
    double grouped;    // the grouped SELECT
    double before;     // the process's working set before the first opening (MB)
    double peak;       // and its peak after the openings (MB)
    int64_t shownTotal, groupedTotal;
    int rows;
};

static double Megabytes(SIZE_T bytes)
{
    return (double)bytes / (1024.0 * 1024.0);
}

static int Measure(const char *path, HWND main, int openings, Figures *f)
{
    char err[QL_DB_ERR_SIZE];
    if (!QlDbOpen(path, err)) return 0;

    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    f->before = Megabytes(memory.WorkingSetSize);

    HWND module = NULL;
    f->fill = 1e9;
    f->close = 1e9;
    for (int run = 0; run < openings; run++) {
        if (module) {
            double start = BenchSeconds();
            DestroyWindow(module);
            double close = BenchSeconds() - start;
            if (close < f->close) f->close = close;
        }
        double start = BenchSeconds();
        module = QlCustOpenModule(main);
        double fill = BenchSeconds() - start;
        if (!module) return 0;
        if (fill < f->fill) f->fill = fill;
    }
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    f->peak = Megabytes(memory.PeakWorkingSetSize);

    HWND overview = GetDlgItem(module, 1035);
    f->rows = (int)SendMessageA(overview, LVM_GETITEMCOUNT, 0, 0);
    f->shownTotal = 0;
    for (int row = 0; row < f->rows; row++) {
        char text[32] = "";
        LVITEMA item = {};
        item.iSubItem = 2;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(overview, LVM_GETITEMTEXTA, row, (LPARAM)&item);
        f->shownTotal += QlMoneyParseCents(text);
    }

    NMLISTVIEW click = {};
    click.hdr.hwndFrom = overview;
    click.hdr.idFrom = 1035;
    click.hdr.code = LVN_COLUMNCLICK;
    double start = BenchSeconds();
    SendMessageA(module, WM_NOTIFY, 1035, (LPARAM)&click);
    f->resort = BenchSeconds() - start;
    start = BenchSeconds();
    DestroyWindow(module);
    double close = BenchSeconds() - start;
    if (close < f->close) f->close = close;

    // The select-customer dialog (as a document form opens it), made
    // modeless so that it can be timed and closed.
    start = BenchSeconds();
    HWND select = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(182), main, QlCustSelectDlgProc, 0);
    f->select = BenchSeconds() - start;
    if (select) DestroyWindow(select);

    start = BenchSeconds();
    for (int i = 0; i < f->rows; i++) QlUiPumpMessages();
    f->pump = BenchSeconds() - start;
    QlDbClose();
    return GroupedSums(path, &f->groupedTotal, &f->grouped);
}

int main(void)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    static char percent[100][4];
    for (int i = 0; i < 100; i++) {
        snprintf(percent[i], sizeof percent[i], "%d%%", i);
        QlPercentTextTable[i] = percent[i];
    }
    HWND main = CreateWindowExA(0, "STATIC", "Quillory", WS_OVERLAPPEDWINDOW, 0, 0, 800, 580, NULL, NULL,
                                GetModuleHandleA(NULL), NULL);
    QlMainWnd = main;

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char folder[MAX_PATH + 32];
    snprintf(folder, sizeof folder, "%sqlcustbench_%lu", temp, (unsigned long)GetCurrentProcessId());
    CreateDirectoryA(folder, NULL);

    // Once on an empty company before timing, so that the first window of
    // the run pays for loading the controls and the pictures.
    char err[QL_DB_ERR_SIZE];
    char path[MAX_PATH + 64];
    snprintf(path, sizeof path, "%s\\empty.db", folder);
    if (QlDbOpen(path, err)) {
        HWND module = QlCustOpenModule(main);
        if (module) DestroyWindow(module);
        QlDbClose();
    }
    DeleteFileA(path);

    // Ten transactions an account; the smaller company first, so that the
    // peak working set at the larger one is the larger one's.
    const int sizes[][3] = {{10000, 100000, 3}, {100000, 1000000, 2}};
    Figures figures[2] = {};
    int ok = 1;
    for (int s = 0; ok && s < 2; s++) {
        snprintf(path, sizeof path, "%s\\company%d.db", folder, s);
        ok = MakeCompany(path, sizes[s][0], sizes[s][1]) && Measure(path, main, sizes[s][2], &figures[s]);
        DeleteFileA(path);
        if (!ok) break;
        const Figures &f = figures[s];
        printf("%d accounts, %d transactions:\n", sizes[s][0], sizes[s][1]);
        printf("  customers module opened and filled (%6d rows a list, balances included): %6.3f s  %5.1f us a row\n",
               f.rows, f.fill, f.fill * 1e6 / f.rows);
        printf("    the message pump alone (called once a row):                             %6.3f s\n", f.pump);
        printf("  the module window closed:                                                 %6.3f s\n", f.close);
        printf("  both lists sorted by a click on A/C Ref:                                  %6.3f s\n", f.resort);
        printf("  the select-customer dialog opened with every account:                    %6.3f s\n", f.select);
        printf("  working set before the module opened %.0f MB, peak after it opened %.0f MB\n", f.before, f.peak);
        printf("  one grouped SELECT of the same sums (SQLite C API):                       %6.3f s\n", f.grouped);
        printf("  ratio fill / grouped SELECT at %d accounts: %.1f\n", sizes[s][0], f.fill / f.grouped);
        if (f.rows != sizes[s][0] || f.shownTotal != f.groupedTotal) {
            printf("  MISMATCH: %d rows, balances shown " QL_I64 " cents, grouped SELECT " QL_I64 " cents\n", f.rows,
                   f.shownTotal, f.groupedTotal);
            ok = 0;
        }
    }
    if (ok)
        printf("growth of the fill from %d to %d accounts: x%.2f (linear: x10)\n", sizes[0][0], sizes[1][0],
               figures[1].fill / figures[0].fill);
    RemoveDirectoryA(folder);
    DestroyWindow(main);
    return ok ? 0 : 1;
}
