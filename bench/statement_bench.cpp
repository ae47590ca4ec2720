// Statement window benchmark: an account of 1,000 and of 10,000 statement
// lines (invoices and payments, among as many documents of another
// account).  Times Reload until the list is complete and drawn (the best of
// three) against the statement's query through the native SQLite C API,
// every column read; prints them and their ratio, the figure at 10,000 first.
// A size given as the argument runs as well (by hand: `statement_bench.exe.so
// 100000`).  Asserts nothing about speed; fails only when the window does
// not list every line or its total is not the sum of them.

#include "BenchSupport.h"
#include "ui/QlAppState.h"
#include "core/QlMoney.h"
#include "core/QlPlatform.h"
#include "ui/QlWindow.h"
#include "customers/QlCustCommands.h"
#include "customers/QlCustOpeners.h"
#include "customers/QlStmt.h"
#include "datastore/QlDbTables.h"
#include "resources/QlResCustomers.h"

#include <windows.h>
#include <commctrl.h>
#include <sqlite3.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// A company with the account JO001 (key 1) and another (key 2): each has
// lines invoices and payments (one payment in three), dated in 2024.  The
// expected total in *total.
static int MakeCompany(const char *path, int lines, int64_t *total)
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
    strcpy(cust.acref, "AN002");
    strcpy(cust.company, "Another Ltd");
    ok = ok && QlCustAdd(&cust, err);
    QlDbClose();
    sqlite3 *db = ok ? BenchOpenNative(path) : NULL;
    if (!db) return 0;
    sqlite3_stmt *trans = NULL;
    ok = sqlite3_prepare_v2(db,
                            "insert into trans (enabled,desc,type,sub_type,cust_rowid,acref,date,gross,gross_bal,"
                            "vat,carriage,carriage_vat,gross_cents,gross_bal_cents) values "
                            "('yes','Goods',?,0,?,?,?,?,?,'0.00','0.00','0.00',?,?);",
                            -1, &trans, NULL) == SQLITE_OK &&
         sqlite3_exec(db, "begin;", NULL, NULL, NULL) == SQLITE_OK;
    *total = 0;
    for (int i = 0; ok && i < 2 * lines; i++) {
        int mine = i % 2 == 0;
        int type = i / 2 % 3 == 2 ? 3 : 1;
        int64_t cents = 1000 + (int64_t)(i * 7907 % 100000);
        char money[32], date[16];
        QlMoneyFormatCents(cents, money, sizeof money);
        snprintf(date, sizeof date, "%d/%d/2024", 1 + i % 28, 1 + i / 28 % 12);
        if (mine) *total += type == 1 ? cents : -cents;
        sqlite3_bind_int(trans, 1, type);
        sqlite3_bind_int(trans, 2, mine ? 1 : 2);
        sqlite3_bind_text(trans, 3, mine ? "JO001" : "AN002", -1, SQLITE_STATIC);
        sqlite3_bind_text(trans, 4, date, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(trans, 5, money, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(trans, 6, money, -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(trans, 7, cents);
        sqlite3_bind_int64(trans, 8, cents);
        ok = sqlite3_step(trans) == SQLITE_DONE;
        sqlite3_reset(trans);
    }
    ok = ok && sqlite3_exec(db, "commit;", NULL, NULL, NULL) == SQLITE_OK;
    if (!ok) printf("filling failed: %s\n", sqlite3_errmsg(db));
    sqlite3_finalize(trans);
    sqlite3_close(db);
    return ok;
}

// The statement's query through the C API, every column of every row read:
// the best of three; the row count.
static int SelectLines(const char *path, double *best)
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
        if (sqlite3_prepare_v2(db,
                               "select * from trans where enabled='yes' and cust_rowid='1' and (type='1' or "
                               "type='3') order by iKey asc",
                               -1, &stmt, NULL) == SQLITE_OK) {
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

struct Result {
    int lines;
    double reload, load, select;
    int ok;
};

static Result Measure(HWND main, int lines)
{
    Result result = {lines, 0, 1e9, 0, 0};
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char path[MAX_PATH + 64];
    snprintf(path, sizeof path, "%sqlstmtbench_%lu_%d.db", temp, (unsigned long)GetCurrentProcessId(), lines);
    int64_t total = 0;
    if (!MakeCompany(path, lines, &total)) return result;
    char err[QL_DB_ERR_SIZE];
    if (!QlDbOpen(path, err)) {
        printf("open failed: %s\n", err);
        DeleteFileA(path);
        return result;
    }
    strcpy(QlCustContext.acref, "JO001");
    HWND window = QlStmtOpen();
    int shown = 0;
    char totalText[64] = "";
    result.reload = 1e9;
    if (window) {
        SYSTEMTIME from = {};
        from.wDay = 1;
        from.wMonth = 1;
        from.wYear = 2000;
        SendDlgItemMessageA(window, IDP_STMT_FROM, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&from);
        HWND list = GetDlgItem(window, IDL_STMT_LINES);
        for (int run = 0; run < 3; run++) {
            double start = BenchSeconds();
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDB_STMT_RELOAD, BN_CLICKED),
                         (LPARAM)GetDlgItem(window, IDB_STMT_RELOAD));
            UpdateWindow(list);
            double seconds = BenchSeconds() - start;
            if (seconds < result.reload) result.reload = seconds;
        }
        // The load alone, without the drawing.
        QlCustRec customer;
        QlDateRec since = {1, 1, 2000};
        if (QlCustGetByAcRef("JO001", &customer, err)) {
            for (int run = 0; run < 3; run++) {
                double start = BenchSeconds();
                QlStmtLoad(window, IDL_STMT_LINES, &customer, &since);
                double seconds = BenchSeconds() - start;
                if (seconds < result.load) result.load = seconds;
            }
            UpdateWindow(list);
        }
        shown = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
        GetDlgItemTextA(window, IDT_STMT_TOTAL, totalText, sizeof totalText);
        DestroyWindow(window);
    }
    QlDbClose();
    int selected = SelectLines(path, &result.select);
    DeleteFileA(path);
    char want[64];
    QlMoneyFormatCents(total, want, sizeof want);
    result.ok = window && shown == lines && selected == lines && strcmp(totalText, want) == 0;
    printf("%7d lines: Reload, the list complete and drawn %8.4f s (the load alone %8.4f s); the query through the C "
           "API %8.4f s%s\n",
           lines, result.reload, result.load, result.select, result.ok ? "" : "  MISMATCH");
    if (!result.ok)
        printf("  %d listed, %d selected, total %s (want %s)\n", shown, selected, totalText, want);
    return result;
}

int main(int argc, char **argv)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES |
                                                ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
    HWND main = CreateWindowExA(0, "STATIC", "Quillory", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 580, NULL, NULL,
                                GetModuleHandleA(NULL), NULL);
    QlMainWnd = main;

    Result few = Measure(main, 1000);
    Result many = Measure(main, 10000);
    int ok = few.ok && many.ok;
    if (argc > 1 && atoi(argv[1]) > 0) ok = Measure(main, atoi(argv[1])).ok && ok;
    printf("ratio statement reload: %.2f at 10,000 lines, %.2f at 1,000 (Reload / the query through the C API); the "
           "load without the drawing: %.2f at 10,000, %.2f at 1,000\n",
           many.reload / many.select, few.reload / few.select, many.load / many.select, few.load / few.select);
    DestroyWindow(main);
    return ok ? 0 : 1;
}
