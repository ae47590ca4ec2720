// The library binding, the connection, the schema and its upgrade, the
// company open, and the generic statement operations.
#include "DbTestSupport.h"

#include "QlTestPlatform.h"
#include "ui/QlSeams.h"

#include <sqlite3.h>
#include <string.h>
#include <unistd.h>

// ---------------------------------------------------------------------------
// Binding and connection

// A whole sqlite3.dll under another name (tests/datastore/CMakeLists.txt):
// the tests that see the library let go open through it, as the test
// program of the Windows build holds sqlite3.dll itself.
const char *const kSecondSqlite = "ql_sqlite3_second.dll";

class DbBindingTest : public ::testing::Test {
protected:
    void SetUp() override { folder = QlTestMakeFolder("qldb_"); }
    void TearDown() override
    {
        QlDbClose();
        QlDbLibraryName = "sqlite3.dll";
        QlTestRemoveFolder(folder);
    }
    std::string folder;
    char err[QL_DB_ERR_SIZE] = "untouched";
};

TEST_F(DbBindingTest, MissingLibraryNamesTheDatabasePath)
{
    QlDbLibraryName = "ql_no_such_sqlite3.dll";
    EXPECT_EQ(0, QlDbOpen("COMP004\\quilry.db", err));
    EXPECT_STREQ("Failed to load Sqlite3 DLL COMP004\\quilry.db", err);
    EXPECT_EQ(0, QlDbIsOpen());
}

TEST_F(DbBindingTest, LibraryWithoutAnEntryPointIsUnloadedAgain)
{
    QlDbLibraryName = "ql_sqlite3_partial.dll";
    std::string path = folder + "\\quilry.db";
    EXPECT_EQ(0, QlDbOpen(path.c_str(), err));
    EXPECT_STREQ("Failed to resolve one of sqlite3 function names", err);
    EXPECT_EQ(nullptr, GetModuleHandleA("ql_sqlite3_partial.dll"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str())) << "no file was made";
}

TEST_F(DbBindingTest, OpenRefusedClosesAndReportsSqliteText)
{
    QlDbLibraryName = kSecondSqlite;
    // A folder cannot be opened as a database; a file of other data opens
    // but fails at the first table.
    EXPECT_EQ(0, QlDbOpen(folder.c_str(), err));
    EXPECT_STREQ("unable to open database file", err);
    EXPECT_EQ(0, QlDbIsOpen());

    std::string junk = folder + "\\junk.db";
    HANDLE file = CreateFileA(junk.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    char bytes[4096];
    memset(bytes, 'x', sizeof bytes);
    DWORD written;
    WriteFile(file, bytes, sizeof bytes, &written, NULL);
    CloseHandle(file);
    EXPECT_EQ(0, QlDbOpen(junk.c_str(), err));
    EXPECT_STREQ("file is not a database", err);
    EXPECT_EQ(0, QlDbIsOpen());
    EXPECT_EQ(nullptr, GetModuleHandleA(kSecondSqlite));
}

// SQLite takes its paths in UTF-8 while the program speaks the ANSI code
// page: a database in a folder whose name has a letter outside ASCII opens
// there, and not under a name of its own making.
TEST_F(DbBindingTest, AFolderNameOutsideAsciiHoldsTheDatabase)
{
    const std::string named = folder + "\\Caf\xe9";
    ASSERT_TRUE(CreateDirectoryA(named.c_str(), NULL));
    ASSERT_EQ(1, QlDbOpen((named + "\\quilry.db").c_str(), err)) << err;
    EXPECT_EQ(1, QlDbExec("create table t(x);", err)) << err;
    QlDbClose();
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((named + "\\quilry.db").c_str()));
}

TEST_F(DbBindingTest, StatementsWithoutAConnectionFailInsteadOfCrashing)
{
    QlCustRec cust = {};
    int64_t count = 7;
    EXPECT_EQ(0, QlDbExec("select 1;", err));
    EXPECT_STREQ("Database is not open", err);
    EXPECT_EQ(0, QlCustAdd(&cust, err));
    EXPECT_EQ(0, QlCustGetByRowId(1, &cust, err));
    EXPECT_STREQ("Database is not open", err);
    EXPECT_EQ(0, QlTransGetCount(&count));
    EXPECT_EQ(0, count);
    EXPECT_EQ(0, QlDbRowExists("customers", "acref", "AB000"));
    QlDbClose();
    QlDbClose();
    QlCompanyDbClose();
}

// A row function that, like a list load letting the message pump run, meets
// the program closing the database or opening another while rows still come.
static int __cdecl CloseUnderneath(void *arg, int, char **, char **)
{
    char err[QL_DB_ERR_SIZE];
    EXPECT_EQ(1, QlDbIsBusy());
    EXPECT_EQ(0, QlDbOpen("elsewhere.db", err));
    EXPECT_STREQ("Database is busy", err);
    QlDbClose();
    EXPECT_EQ(0, QlDbIsOpen());
    EXPECT_EQ(0, QlDbExec("select 1;", err));   // no new statement after the close
    ++*(int *)arg;
    return 0;
}

TEST_F(DataStoreTest, CloseDuringARunningStatementWaitsForItsEnd)
{
    QlDbClose();
    QlDbLibraryName = kSecondSqlite;
    ASSERT_EQ(1, QlDbOpen(dbPath.c_str(), err)) << err;
    ASSERT_EQ(1, QlDbExec("insert into transcount (count) values (5); insert into transcount (count) values (6);", err));
    int rows = 0;
    EXPECT_EQ(1, QlDbExecRows("select count from transcount;", CloseUnderneath, &rows, err));
    EXPECT_GE(rows, 2);
    EXPECT_EQ(0, QlDbIsBusy());
    EXPECT_EQ(0, QlDbIsOpen());
    EXPECT_EQ(nullptr, GetModuleHandleA(kSecondSqlite));
}

// A query read row by row gives integers, texts and NULLs as stored, keeps
// the connection busy until it is closed, and reports what stopped it.
TEST_F(DataStoreTest, QueryReadsRowByRow)
{
    ASSERT_EQ(1, QlDbExec("insert into trans (enabled,type,desc,gross_cents) values ('yes','6','It''s',-1234);"
                          "insert into trans (enabled,type,desc,gross_cents) values ('yes','1',NULL,NULL);",
                          err));
    QlDbQuery query;
    ASSERT_EQ(1, QlDbQueryOpen("select type,desc,gross_cents from trans order by iKey;", &query, err)) << err;
    EXPECT_EQ(1, QlDbIsBusy());
    ASSERT_EQ(1, QlDbQueryNext(&query, err));
    EXPECT_EQ(6, QlDbQueryInt64(&query, 0));
    EXPECT_STREQ("It's", QlDbQueryText(&query, 1));
    EXPECT_EQ(-1234, QlDbQueryInt64(&query, 2));
    EXPECT_EQ(0, QlDbQueryIsNull(&query, 2));
    ASSERT_EQ(1, QlDbQueryNext(&query, err));
    EXPECT_EQ(nullptr, QlDbQueryText(&query, 1));
    EXPECT_EQ(1, QlDbQueryIsNull(&query, 2));
    QlDbClose();   // put off until the query is closed
    EXPECT_EQ(0, QlDbQueryNext(&query, err));
    QlDbQueryClose(&query);
    EXPECT_EQ(0, QlDbIsBusy());
    EXPECT_EQ(0, QlDbIsOpen());

    // Refusals: no connection, a statement the hook fails, bad SQL.
    strcpy(err, "");
    EXPECT_EQ(0, QlDbQueryOpen("select 1;", &query, err));
    EXPECT_STREQ(QL_DB_ERR_NOT_OPEN, err);
    ASSERT_EQ(1, QlDbOpen(dbPath.c_str(), err)) << err;
    QlDbExecHook = [](const char *) { return 1; };
    EXPECT_EQ(0, QlDbQueryOpen("select 1;", &query, err));
    QlDbExecHook = NULL;
    EXPECT_STREQ(QL_DB_ERR_INJECTED, err);
    EXPECT_EQ(0, QlDbQueryOpen("select 1 from nowhere;", &query, err));
    EXPECT_STREQ("no such table: nowhere", err);
    EXPECT_EQ(0, QlDbIsBusy());
}

// ---------------------------------------------------------------------------
// Schema

static const char *const kTables[] = {"customers", "suppliers", "orders", "products", "services",
                                      "trans",     "invoices",  "payments", "transcount"};

TEST_F(DataStoreTest, NewFileGetsNineTablesAndTheCounterRow)
{
    EXPECT_EQ("9", Scalar("select count(*) from sqlite_master where type='table';"));
    for (const char *table : kTables) {
        std::string sql = std::string("select count(*) from sqlite_master where type='table' and name='") + table + "';";
        EXPECT_EQ("1", Scalar(sql.c_str())) << table;
    }
    EXPECT_EQ("1", Scalar("select count(*) from transcount;"));
    EXPECT_EQ("0", Scalar("select count from transcount where iKey=1;"));
    int64_t count = -1;
    EXPECT_EQ(1, QlTransGetCount(&count));
    EXPECT_EQ(0, count);
}

TEST_F(DataStoreTest, EveryOpenAddsOneCounterRowAndKeepsTheCount)
{
    QlTransRec rec = {};
    ASSERT_EQ(1, QlTransAdd(&rec, err)) << err;
    ASSERT_EQ(1, QlDbOpen(dbPath.c_str(), err)) << err;
    ASSERT_EQ(1, QlDbOpen(dbPath.c_str(), err)) << err;
    EXPECT_EQ("3", Scalar("select count(*) from transcount;"));
    int64_t count = -1;
    EXPECT_EQ(1, QlTransGetCount(&count));
    EXPECT_EQ(1, count);
}

// The trans table of the first versions, before carriage_vat and the cents.
static const char kOldTrans[] =
    "create table trans (iKey INTEGER PRIMARY KEY, enabled TEXT, desc TEXT, type TEXT, sub_type TEXT, "
    "doc_rowid INTEGER, cust_rowid INTEGER, supp_rowid INTEGER, acref TEXT, date TEXT, num_sub_items TEXT, "
    "carriage TEXT, gross TEXT, gross_bal TEXT, vat TEXT, order_number TEXT);"
    "insert into trans (iKey,enabled,desc,gross,gross_bal) values (1,'yes','a','12.50','0.00');"
    "insert into trans (iKey,enabled,desc,gross,gross_bal) values (2,'yes','b','-12.34','1234.05');"
    "insert into trans (iKey,enabled,desc,gross,gross_bal) values (3,'yes','c',NULL,'7');";

TEST(DbUpgrade, OldTransGainsThreeColumnsAndCentsFromMoneyTexts)
{
    std::string folder = QlTestMakeFolder("qldb_");
    std::string path = folder + "\\quilry.db";
    DbTestNativeExec(path, kOldTrans);
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen(path.c_str(), err)) << err;

    struct {
        const char *sql;
        const char *want;
    } cases[] = {
        {"select gross_cents || '/' || gross_bal_cents from trans where iKey=1;", "1250/0"},
        {"select gross_cents || '/' || gross_bal_cents from trans where iKey=2;", "-1234/123405"},
        {"select gross_cents || '/' || gross_bal_cents from trans where iKey=3;", "0/0"},
        {"select typeof(carriage_vat) from trans where iKey=1;", "null"},
    };
    for (const auto &c : cases) EXPECT_EQ(c.want, DbTestNativeScalar(path, c.sql)) << c.sql;

    // The new column reads as "0.00" until written.
    QlTransRec rec = {};
    ASSERT_EQ(1, QlTransGetByRowId(1, &rec, err)) << err;
    EXPECT_STREQ("0.00", rec.carriage_vat);
    EXPECT_STREQ("12.50", rec.gross);

    // Opened again, nothing is added or filled twice.
    DbTestNativeExec(path, "update trans set gross_cents=99 where iKey=1;");
    ASSERT_EQ(1, QlDbOpen(path.c_str(), err)) << err;
    EXPECT_EQ("99", DbTestNativeScalar(path, "select gross_cents from trans where iKey=1;"));
    QlDbClose();
    QlTestRemoveFolder(folder);
}

TEST(DbUpgrade, MissingOnlyCarriageVatIsAddedWithoutBackfill)
{
    std::string folder = QlTestMakeFolder("qldb_");
    std::string path = folder + "\\quilry.db";
    DbTestNativeExec(path,
                     "create table trans (iKey INTEGER PRIMARY KEY, enabled TEXT, desc TEXT, gross TEXT, "
                     "gross_bal TEXT, gross_cents INTEGER, gross_bal_cents INTEGER);"
                     "insert into trans (iKey,enabled,gross,gross_bal) values (1,'yes','5.00','5.00');");
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen(path.c_str(), err)) << err;
    EXPECT_EQ("null", DbTestNativeScalar(path, "select typeof(carriage_vat) from trans;"));
    EXPECT_EQ("<null>", DbTestNativeScalar(path, "select gross_cents from trans;"));
    QlDbClose();
    QlTestRemoveFolder(folder);
}

// The plan SQLite makes for a statement, one line per step.
static std::string NativePlan(const std::string &path, const std::string &sql)
{
    sqlite3 *db = NULL;
    std::string plan;
    if (sqlite3_open(DbTestNativePath(path).c_str(), &db) == SQLITE_OK)
        sqlite3_exec(
            db, ("explain query plan " + sql).c_str(),
            [](void *out, int columns, char **values, char **) {
                *(std::string *)out += std::string(values[columns - 1] ? values[columns - 1] : "") + "\n";
                return 0;
            },
            &plan, NULL);
    sqlite3_close(db);
    return plan;
}

TEST(DbUpgrade, OldFileGainsTheLookUpIndexesAndKeepsItsTables)
{
    // A file of an earlier version: the stored tables without any index, an
    // account reference and a product code each held twice.
    std::string folder = QlTestMakeFolder("qldb_");
    std::string path = folder + "\\quilry.db";
    DbTestNativeExec(path,
                     "create table customers (iKey INTEGER PRIMARY KEY, enabled TEXT, acref TEXT, company TEXT, "
                     "contact TEXT, worktel TEXT, mobtel TEXT, wemail TEXT, fax TEXT, addr1 TEXT, addr2 TEXT, "
                     "addr3 TEXT, balance TEXT, apply_discount TEXT, discount TEXT, apply_tax TEXT, "
                     "vat_rate_index TEXT);"
                     "create table products (iKey INTEGER PRIMARY KEY, enabled TEXT, scode TEXT, barcode TEXT, "
                     "supplier_code TEXT, name TEXT, unit_price TEXT, purchase_price TEXT, stock_qty TEXT);"
                     "insert into customers (iKey,enabled,acref,company) values (7,'yes','ACME','First');"
                     "insert into customers (iKey,enabled,acref,company) values (3,'no','ACME','Gone');"
                     "insert into customers (iKey,enabled,acref,company) values (9,'yes','ACME','Second');"
                     "insert into products (iKey,enabled,scode,name) values (5,'yes','W1','Widget');"
                     "insert into products (iKey,enabled,scode,name) values (2,'yes','W1','Older');");
    std::string tablesBefore = DbTestNativeScalar(
        path, "select group_concat(sql, '|') from sqlite_master where type='table' and name in "
              "('customers','products');");
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen(path.c_str(), err)) << err;

    struct {
        const char *sql;
        const char *index;
    } lookups[] = {
        {"select * from customers where enabled='yes' and acref='ACME' limit 1;", "customers_acref"},
        {"select * from suppliers where acref='ACME' limit 1;", "suppliers_acref"},
        {"select * from products where scode='W1' and enabled='yes' limit 1;", "products_scode"},
        {"select * from products where barcode='123' and enabled='yes' limit 1;", "products_barcode"},
        {"select * from invoices where enabled='yes' and tx_rowid='4' order by iKey", "invoices_tx"},
        {"select * from payments where enabled='yes' and iv_rowid='4' limit 1", "payments_iv"},
        {"select * from payments where enabled='yes' and tx_rowid='4'", "payments_tx"},
        {"select * from orders where enabled='yes' and iTxRowId='4'", "orders_tx"},
        {"select * from trans where enabled='yes' and supp_rowid='4' limit 1;", "trans_supp"},
    };
    for (const auto &lookup : lookups) {
        std::string plan = NativePlan(path, lookup.sql);
        EXPECT_NE(std::string::npos, plan.find(std::string("USING INDEX ") + lookup.index)) << lookup.sql << "\n"
                                                                                            << plan;
    }
    // The tables are as they were, and a look-up still finds the first row
    // in key order, as the scan did.
    EXPECT_EQ(tablesBefore, DbTestNativeScalar(path, "select group_concat(sql, '|') from sqlite_master where "
                                                     "type='table' and name in ('customers','products');"));
    QlCustRec customer = {};
    ASSERT_EQ(1, QlCustGetByAcRef("ACME", &customer, err)) << err;
    EXPECT_EQ(7, customer.iKey);
    QlProdRec product = {};
    ASSERT_EQ(1, QlProdFind("scode", "W1", &product, err)) << err;
    EXPECT_EQ(2, product.iKey);
    QlDbClose();
    QlTestRemoveFolder(folder);
}

// ---------------------------------------------------------------------------
// Company open

static std::string gBoxText;
static int WINAPI RecordBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    gBoxText = text ? text : "";
    return IDOK;
}

static int Company3(void)
{
    return 3;
}

static int QuitPosted(void)
{
    MSG msg;
    return PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
}

class CompanyDbTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = QlTestMakeFolder("qldb_");
        GetCurrentDirectoryA(sizeof oldDir, oldDir);
        ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
        QlSeamMessageBox = RecordBox;
        QlDbCurrentCompany = Company3;
        gBoxText.clear();
    }
    void TearDown() override
    {
        QlCompanyDbClose();
        QlDbLibraryName = "sqlite3.dll";
        QlSeamsReset();
        SetCurrentDirectoryA(oldDir);
        QlTestRemoveFolder(folder);
    }
    std::string folder;
    char oldDir[MAX_PATH];
};

TEST_F(CompanyDbTest, OpensCompanyFolderDatabaseAsANativePath)
{
    ASSERT_TRUE(CreateDirectoryA("COMP003", NULL));
    char err[QL_DB_ERR_SIZE] = "";
    ASSERT_EQ(1, QlCompanyDbOpen(err)) << err;
    EXPECT_EQ("", gBoxText);
    EXPECT_EQ(0, QuitPosted());
    EXPECT_EQ("9", DbTestNativeScalar(folder + "\\COMP003\\quilry.db",
                                      "select count(*) from sqlite_master where type='table';"));
    // Not one file with a backslash in its name beside the folder (a Unix
    // file system allows it).
    if (QlTestHasUnix()) {
        std::string odd = DbTestNativePath(folder) + "/COMP003\\quilry.db";
        EXPECT_NE(0, access(odd.c_str(), F_OK));
    }
    QlCompanyDbClose();
    EXPECT_EQ(0, QlDbIsOpen());
}

// A failure tells no one and ends nothing: the caller, which knows what the
// user can do next, gets the store's text.  A damaged file is one failure.
TEST_F(CompanyDbTest, FailureGivesTheStoresTextAndEndsNothing)
{
    ASSERT_TRUE(CreateDirectoryA("COMP003", NULL));
    char path[MAX_PATH] = "";
    ASSERT_EQ(1, QlCompanyDbPath(path, sizeof path));
    EXPECT_STREQ("COMP003\\quilry.db", path);
    char err[QL_DB_ERR_SIZE] = "";
    QlDbLibraryName = "ql_no_such_sqlite3.dll";
    EXPECT_EQ(0, QlCompanyDbOpen(err));
    EXPECT_STRNE("", err);
    QlDbLibraryName = "sqlite3.dll";

    // A file whose header is overwritten.
    HANDLE file = CreateFileA("COMP003\\quilry.db", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    std::string junk(4096, 'x');
    DWORD written = 0;
    WriteFile(file, junk.data(), (DWORD)junk.size(), &written, NULL);
    CloseHandle(file);
    err[0] = '\0';
    EXPECT_EQ(0, QlCompanyDbOpen(err));
    EXPECT_NE(std::string::npos, std::string(err).find("not a database")) << err;
    EXPECT_EQ(0, QlDbIsOpen());

    // No company chosen.
    QlDbCurrentCompany = [] { return -1; };
    EXPECT_EQ(0, QlCompanyDbPath(path, sizeof path));
    EXPECT_EQ(0, QlCompanyDbOpen(err));
    EXPECT_EQ("", gBoxText);
    EXPECT_EQ(0, QuitPosted());
}

// A file damaged inside, its header whole (a page of one table overwritten,
// as a failing disk or another tool leaves it): the open refuses it with
// SQLite's words before the schema steps write anything, whichever table
// holds the damage.
TEST(DbDamage, ADamagedTableIsRefusedBeforeAnythingIsWritten)
{
    static const struct {
        const char *table;
        const char *fill;   // rows enough for the table to span pages
    } cases[] = {
        {"services", "insert into services (enabled,descr,price) select 'yes', 'Service ' || i || ' of a longer list', "
                     "'10.00' from n;"},
        {"trans", "insert into trans (enabled,desc,type,acref,date,gross,gross_bal) select 'yes', 'Invoice ' || i, '1', "
                  "'JO001', '3/02/2025', '12.50', '12.50' from n;"},
        {"customers", "insert into customers (enabled,acref,company,addr1) select 'yes', 'C' || i, 'Customer ' || i, "
                      "'1 Main Street' from n;"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.table);
        std::string folder = QlTestMakeFolder("qldb_");
        std::string path = folder + "\\quilry.db";
        char err[QL_DB_ERR_SIZE] = "";
        ASSERT_EQ(1, QlDbOpen(path.c_str(), err)) << err;
        QlDbClose();
        std::string fill = std::string("with recursive n(i) as (select 1 union all select i + 1 from n where i < 400) ") + c.fill;
        DbTestNativeExec(path, fill.c_str());
        ASSERT_TRUE(DbTestDamageTable(path, c.table));
        std::string before = DbTestFileBytes(path);
        ASSERT_FALSE(before.empty());

        for (int open = 0; open < 2; open++) {
            err[0] = '\0';
            EXPECT_EQ(0, QlDbOpen(path.c_str(), err));
            EXPECT_EQ(0u, std::string(err).find("database disk image is malformed")) << err;
            EXPECT_EQ(0, QlDbIsOpen());
        }
        EXPECT_TRUE(before == DbTestFileBytes(path)) << "the damaged file was written to";
        QlTestRemoveFolder(folder);
    }
}

// Every look-up of one row tells a row that is not there from a read that
// failed: another program's write lock is no "not found".
TEST_F(DataStoreTest, LookupsTellNotFoundFromCouldNotRead)
{
    const struct {
        const char *what;
        int (*lookup)(char *err);
    } cases[] = {
        {"customer by acref", [](char *e) { QlCustRec r; return QlCustGetByAcRef("ZZ999", &r, e); }},
        {"customer by key", [](char *e) { QlCustRec r; return QlCustGetByRowId(999, &r, e); }},
        {"supplier by acref", [](char *e) { QlSuppRec r; return QlSuppGetByAcRef("ZZ999", &r, e); }},
        {"supplier by key", [](char *e) { QlSuppRec r; return QlSuppGetByRowId(999, &r, e); }},
        {"supplier exists", [](char *e) { return QlSuppExists("ZZ999", e); }},
        {"product by key", [](char *e) { QlProdRec r; return QlProdGetByRowId(999, &r, e); }},
        {"product by code", [](char *e) { QlProdRec r; return QlProdFind("scode", "ZZ9", &r, e); }},
        {"service", [](char *e) { QlServRec r; return QlServGetByRowId(999, &r, e); }},
        {"order", [](char *e) { QlOrderRec r; return QlOrderGetByOrderNo(999, &r, e); }},
        {"document", [](char *e) { QlTransRec r; return QlTransGetByRowId(999, &r, e); }},
        {"line by key", [](char *e) { QlItemRec r; return QlItemGetByRowId(999, &r, e); }},
        {"line by product", [](char *e) { QlItemRec r; return QlItemFind("prod_rowid", 999, &r, e); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        char text[QL_DB_ERR_SIZE] = "";
        EXPECT_EQ(0, c.lookup(text));
        EXPECT_EQ(1, QlDbNotFound());
        DbTestLock lock(dbPath);
        ASSERT_TRUE(lock.held());
        strcpy(text, "");
        EXPECT_EQ(0, c.lookup(text));
        EXPECT_EQ(0, QlDbNotFound());
        EXPECT_STREQ("database is locked", text);
    }
}

// An account row with a text longer than its field is found, its fields
// from that text on empty, and marked as not read whole; a whole one is not.
TEST_F(DataStoreTest, AnAccountRowThatDoesNotReadWholeIsMarked)
{
    NativeExec("insert into customers (enabled,acref,company,contact,addr1) values ('yes','AB000','Abbey','Ann','1 Road');"
               "insert into customers (enabled,acref,company,contact,addr1) values ('yes','BE000','Bell',"
               "'A contact name far longer than the forty characters','2 Road');"
               "insert into suppliers (enabled,acref,company,addr1) values ('yes','SU000',"
               "'A supplier name far longer than the forty characters','3 Road');");
    QlCustRec cust = {};
    ASSERT_EQ(1, QlCustGetByAcRef("AB000", &cust, err)) << err;
    EXPECT_EQ(0, QlDbRowPartial());
    ASSERT_EQ(1, QlCustGetByAcRef("BE000", &cust, err)) << err;
    EXPECT_EQ(1, QlDbRowPartial());
    EXPECT_STREQ("Bell", cust.company);
    EXPECT_STREQ("", cust.addr1);
    ASSERT_EQ(1, QlCustGetByRowId(1, &cust, err)) << err;
    EXPECT_EQ(0, QlDbRowPartial());
    QlSuppRec supp = {};
    ASSERT_EQ(1, QlSuppGetByAcRef("SU000", &supp, err)) << err;
    EXPECT_EQ(1, QlDbRowPartial());
    EXPECT_STREQ("", supp.addr1);
}

// ---------------------------------------------------------------------------
// Generic operations

TEST_F(DataStoreTest, SetTextAndRowExistsCarryQuotes)
{
    QlServRec serv = {};
    ASSERT_EQ(1, QlServAdd(&serv, err)) << err;
    static const char *const texts[] = {"O'Neil", "'", "''", "it's 'quoted'", "\xEF\xBC\xB1\xEF\xBC\x87s"};
    for (const char *text : texts) {
        ASSERT_EQ(1, QlDbSetText("services", "descr", serv.iKey, text, err)) << err;
        EXPECT_EQ(text, Scalar("select descr from services;"));
        EXPECT_EQ(1, QlDbRowExists("services", "descr", text)) << text;
    }
    EXPECT_EQ(0, QlDbRowExists("services", "descr", "O'Neal"));
    EXPECT_EQ(0, QlDbRowExists("no_such_table", "descr", "x"));
}

TEST_F(DataStoreTest, UpdatesOfMissingKeysSucceedAndChangeNothing)
{
    QlServRec serv = {};
    ASSERT_EQ(1, QlServAdd(&serv, err)) << err;
    EXPECT_EQ(1, QlDbSetInt64("services", "price", serv.iKey + 1, 5, err));
    EXPECT_EQ(1, QlDbSetText("services", "descr", serv.iKey + 1, "x", err));
    EXPECT_EQ(1, QlDbDisableRow(serv.iKey + 1, "services", err));
    EXPECT_EQ("0.00|yes", Scalar("select price || '|' || enabled from services;"));

    EXPECT_EQ(1, QlDbSetInt64("services", "price", serv.iKey, -9223372036854775807LL - 1, err));
    EXPECT_EQ("-9223372036854775808", Scalar("select price from services;"));
}

TEST_F(DataStoreTest, OverlongStatementIsRefusedNotCut)
{
    QlServRec a = {}, b = {};
    DbTestSet(a.descr, "first");
    DbTestSet(b.descr, "second");
    ASSERT_EQ(1, QlServAdd(&a, err));
    ASSERT_EQ(1, QlServAdd(&b, err));

    // Cut at 2048 bytes this update would lose its WHERE and rename both rows.
    std::string longText(2010, 'x');
    EXPECT_EQ(0, QlDbSetText("services", "descr", a.iKey, longText.c_str(), err));
    EXPECT_STREQ("SQL statement too long", err);
    // Doubling makes 1100 quotes too long although 1100 characters would fit.
    std::string quotes(1100, '\'');
    EXPECT_EQ(0, QlDbSetText("services", "descr", a.iKey, quotes.c_str(), err));
    EXPECT_STREQ("SQL statement too long", err);
    EXPECT_EQ("first,second", Scalar("select group_concat(descr) from services;"));
    EXPECT_EQ(0, QlDbRowExists("services", "descr", longText.c_str()));
}

TEST_F(DataStoreTest, SqliteErrorTextIsCutToTheBuffer)
{
    char buffer[QL_DB_ERR_SIZE + 16];
    memset(buffer, '#', sizeof buffer);
    std::string sql = "select * from " + std::string(300, 't') + ";";
    EXPECT_EQ(0, QlDbExec(sql.c_str(), buffer));
    EXPECT_EQ(QL_DB_ERR_SIZE - 1, (int)strlen(buffer));
    EXPECT_EQ(0, strncmp("no such table: ttt", buffer, 18));
    EXPECT_EQ('#', buffer[QL_DB_ERR_SIZE]);

    // Success leaves the buffer alone.
    strcpy(buffer, "kept");
    EXPECT_EQ(1, QlDbExec("select 1;", buffer));
    EXPECT_STREQ("kept", buffer);
}
