// Transactions window benchmark: a company of 100,000 transactions.  Times
// the window opened until its list is complete and drawn (the best of three
// openings), a re-sort by Amount, and one SELECT of the same rows and columns
// through the native SQLite C API; prints them and their ratio.  Asserts
// nothing about speed; fails only when the window does not list every row or
// the re-sort is not in order of the amounts.

#include "BenchSupport.h"
#include "ui/QlAppState.h"
#include "core/QlMoney.h"
#include "core/QlPlatform.h"
#include "datastore/QlDbTables.h"
#include "resources/QlResTransPane.h"
#include "transactions/QlTransOpen.h"
#include "transactions/QlTransPane.h"

#include <windows.h>
#include <commctrl.h>
#include <sqlite3.h>
#include <stdio.h>
#include <string.h>

#define TRANSACTIONS 100000

// A new company database with the program's schema, filled through the C
// API with transactions of every type, dates over three years and amounts
// from -200.00 to 1,800.00.
static int MakeCompany(const char *path, int transactions)
{
    char err[QL_DB_ERR_SIZE];
    if (!QlDbOpen(path, err)) {
        printf("open failed: %s\n", err);
        return 0;
    }
    QlDbClose();
    sqlite3 *db = BenchOpenNative(path);
    if (!db) return 0;
    sqlite3_stmt *trans = NULL;
    int ok = sqlite3_prepare_v2(db,
                                "insert into trans (enabled,desc,type,sub_type,doc_rowid,cust_rowid,acref,date,gross,"
                                "gross_bal,gross_cents,gross_bal_cents) values ('yes',?,?,?,?,?,?,?,?,?,?,?);",
                                -1, &trans, NULL) == SQLITE_OK &&
             sqlite3_exec(db, "begin;", NULL, NULL, NULL) == SQLITE_OK;
    static const int kTypes[10] = {1, 1, 1, 1, 2, 3, 3, 4, 5, 6};
    for (int i = 0; ok && i < transactions; i++) {
        int64_t cents = (int64_t)(i * 7907 % 200000) - 20000;
        char money[32], balance[32], date[16], acref[8], desc[40];
        QlMoneyFormatCents(cents, money, sizeof money);
        QlMoneyFormatCents(i % 3 ? cents : 0, balance, sizeof balance);
        snprintf(date, sizeof date, "%d/%02d/%04d", 1 + i % 28, 1 + i / 28 % 12, 2023 + i % 3);
        snprintf(acref, sizeof acref, "%c%c%03d", 'A' + i % 26, 'A' + i / 26 % 26, i % 1000);
        snprintf(desc, sizeof desc, "Goods and services %05d", (i * 31) % 100000);
        sqlite3_bind_text(trans, 1, desc, -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(trans, 2, kTypes[i % 10]);
        sqlite3_bind_int(trans, 3, i % 2);
        sqlite3_bind_int64(trans, 4, i + 1);
        sqlite3_bind_int64(trans, 5, 1 + i % 500);
        sqlite3_bind_text(trans, 6, acref, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(trans, 7, date, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(trans, 8, money, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(trans, 9, balance, -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(trans, 10, cents);
        sqlite3_bind_int64(trans, 11, i % 3 ? cents : 0);
        ok = sqlite3_step(trans) == SQLITE_DONE;
        sqlite3_reset(trans);
    }
    ok = ok && sqlite3_exec(db, "commit;", NULL, NULL, NULL) == SQLITE_OK;
    if (!ok) printf("filling failed: %s\n", sqlite3_errmsg(db));
    sqlite3_finalize(trans);
    sqlite3_close(db);
    return ok;
}

// One SELECT of the rows and columns the window shows, every value read;
// the row count, the time in *seconds.
static int SelectRows(const char *path, double *seconds)
{
    sqlite3 *db = BenchOpenNative(path);
    if (!db) return -1;
    sqlite3_stmt *stmt = NULL;
    double start = BenchSeconds();
    int rows = 0;
    size_t bytes = 0;
    int64_t sum = 0;
    if (sqlite3_prepare_v2(db,
                           "select iKey,date,type,sub_type,acref,\"desc\",gross,gross_bal,doc_rowid,gross_cents,"
                           "gross_bal_cents from trans where enabled='yes' order by iKey asc;",
                           -1, &stmt, NULL) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            sum += sqlite3_column_int64(stmt, 0) + sqlite3_column_int(stmt, 2) + sqlite3_column_int(stmt, 3) +
                   sqlite3_column_int64(stmt, 8) + sqlite3_column_int64(stmt, 9) + sqlite3_column_int64(stmt, 10);
            static const int kTexts[] = {1, 4, 5, 6, 7};
            for (int c : kTexts) bytes += strlen((const char *)sqlite3_column_text(stmt, c));
            rows++;
        }
    }
    *seconds = BenchSeconds() - start;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    if (sum == 42 && bytes == 42) printf(" ");   // keeps the reads
    return rows;
}

static int __cdecl CountRowCb(void *rows, int, char **, char **)
{
    ++*(int *)rows;
    return 0;
}

// The same query through the data store's statement runner (sqlite3_exec,
// every value as text), the rows counted and not kept: the best of three.
static double StoreQueryAlone(void)
{
    double best = 1e9;
    for (int run = 0; run < 3; run++) {
        char err[QL_DB_ERR_SIZE];
        int rows = 0;
        double start = BenchSeconds();
        QlDbExecRows("select iKey,date,type,sub_type,acref,\"desc\",gross,gross_bal,doc_rowid,gross_cents,"
                     "gross_bal_cents from trans where enabled='yes' order by iKey asc;",
                     CountRowCb, &rows, err);
        double seconds = BenchSeconds() - start;
        if (seconds < best) best = seconds;
    }
    return best;
}

// The same query read row by row through the data store, as the window
// reads it: the best of three.
static double StoreQueryRows(void)
{
    double best = 1e9;
    for (int run = 0; run < 3; run++) {
        char err[QL_DB_ERR_SIZE];
        QlDbQuery query;
        int rows = 0;
        size_t bytes = 0;
        double start = BenchSeconds();
        if (QlDbQueryOpen("select iKey,date,type,sub_type,acref,\"desc\",gross,gross_bal,doc_rowid,gross_cents,"
                          "gross_bal_cents from trans where enabled='yes' order by iKey asc;",
                          &query, err)) {
            // The values the SELECT below reads.
            while (QlDbQueryNext(&query, err) == 1) {
                bytes += (size_t)(QlDbQueryInt64(&query, 0) + QlDbQueryInt64(&query, 2) + QlDbQueryInt64(&query, 3) +
                                  QlDbQueryInt64(&query, 8) + QlDbQueryInt64(&query, 9) + QlDbQueryInt64(&query, 10));
                static const int kTexts[] = {1, 4, 5, 6, 7};
                for (int c : kTexts) {
                    const char *text = QlDbQueryText(&query, c);
                    if (text) bytes += strlen(text);
                }
                rows++;
            }
            QlDbQueryClose(&query);
        }
        double seconds = BenchSeconds() - start;
        if (seconds < best) best = seconds;
        if (bytes == 42) printf(" ");   // keeps the reads
    }
    return best;
}

static HWND OpenWindow(HWND main, double *seconds)
{
    if (QlModuleWnd) DestroyWindow(QlModuleWnd);
    double start = BenchSeconds();
    HWND pane = QlTransPaneCreate(main);
    if (pane) UpdateWindow(GetDlgItem(pane, IDL_PANE_TRANS));
    *seconds = BenchSeconds() - start;
    return pane;
}

int main(void)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    HWND main = CreateWindowExA(0, "STATIC", "Quillory", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 580, NULL, NULL,
                                GetModuleHandleA(NULL), NULL);
    QlMainWnd = main;

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char path[MAX_PATH + 64];
    snprintf(path, sizeof path, "%sqltransbench_%lu.db", temp, (unsigned long)GetCurrentProcessId());
    if (!MakeCompany(path, TRANSACTIONS)) return 1;

    char err[QL_DB_ERR_SIZE];
    int ok = QlDbOpen(path, err);
    double open = 1e9, resort = 0, select = 1e9, store = 0, storeRows = 0, empty = 1e9;
    int rows = 0, sorted = 1;
    if (ok) {
        // Once before timing, so that the run pays for loading the controls
        // and pictures outside the figures; then the best of three.
        double seconds;
        ok = OpenWindow(main, &seconds) != NULL;
        HWND pane = NULL;
        for (int run = 0; ok && run < 3; run++) {
            pane = OpenWindow(main, &seconds);
            ok = pane != NULL;
            if (seconds < open) open = seconds;
        }
        if (ok) {
            HWND list = GetDlgItem(pane, IDL_PANE_TRANS);
            rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
            NMLISTVIEW click = {};
            click.hdr.hwndFrom = list;
            click.hdr.idFrom = IDL_PANE_TRANS;
            click.hdr.code = LVN_COLUMNCLICK;
            click.iSubItem = QL_PANE_COL_AMOUNT;
            double start = BenchSeconds();
            SendMessageA(pane, WM_NOTIFY, IDL_PANE_TRANS, (LPARAM)&click);
            UpdateWindow(list);
            resort = BenchSeconds() - start;
            int64_t last = INT64_MIN;
            char text[32];
            for (int row = 0; row < rows; row += rows / 100 + 1) {
                LVITEMA item = {};
                item.iSubItem = QL_PANE_COL_AMOUNT;
                item.pszText = text;
                item.cchTextMax = sizeof text;
                SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
                int64_t cents = QlMoneyParseCents(text);
                if (cents < last) sorted = 0;
                last = cents;
            }
            DestroyWindow(pane);
        }
        store = StoreQueryAlone();
        storeRows = StoreQueryRows();
        QlDbClose();
    }
    // The best of three SELECTs, as the window's best of three openings.
    int selected = -1;
    for (int run = 0; ok && run < 3; run++) {
        double seconds = 0;
        selected = SelectRows(path, &seconds);
        if (seconds < select) select = seconds;
    }
    // What the window costs without rows: opened and drawn on the same
    // company with its transactions gone.
    if (ok && QlDbOpen(path, err) && QlDbExec("delete from trans;", err)) {
        for (int run = 0; run < 3; run++) {
            double seconds;
            if (OpenWindow(main, &seconds) && seconds < empty) empty = seconds;
        }
        if (QlModuleWnd) DestroyWindow(QlModuleWnd);
    }
    QlDbClose();
    DeleteFileA(path);
    DestroyWindow(main);
    if (!ok) {
        printf("the transactions window did not open: %s\n", err);
        return 1;
    }

    printf("%d transactions:\n", TRANSACTIONS);
    printf("  transactions window opened, its list complete and drawn (%d rows): %6.3f s  %5.2f us a row\n", rows,
           open, open * 1e6 / (rows ? rows : 1));
    printf("    the query alone through the data store (sqlite3_exec, texts):     %6.3f s\n", store);
    printf("    the query alone read row by row (the window's read path):         %6.3f s\n", storeRows);
    printf("    the window opened and drawn without transactions:                 %6.3f s\n", empty);
    printf("  re-sorted by Amount (a click on its header):                        %6.3f s\n", resort);
    printf("  one SELECT of the same rows and columns (SQLite C API, %d rows):   %6.3f s\n", selected, select);
    printf("  ratio transactions list / C API: %.2f\n", open / select);
    if (rows != TRANSACTIONS || selected != TRANSACTIONS || !sorted) {
        printf("  MISMATCH: %d rows listed, %d selected, %s\n", rows, selected, sorted ? "sorted" : "not sorted");
        return 1;
    }
    return 0;
}
