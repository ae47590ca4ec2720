#include "DbTestSupport.h"

#include "common/QlPlatform.h"

#include <sqlite3.h>
#include <string.h>

std::string DbTestNativePath(const std::string &windowsPath)
{
    char native[MAX_PATH * 4];
    if (!QlPathToNative(windowsPath.c_str(), native, sizeof native)) return "";
    return native;
}

// SQLite takes its paths in UTF-8.
static std::string SqlitePath(const std::string &windowsPath)
{
    char native[MAX_PATH * 4];
    if (!QlPathToNativeUtf8(windowsPath.c_str(), native, sizeof native)) return "";
    return native;
}

static int ScalarRow(void *arg, int columnCount, char **values, char **names)
{
    std::string *out = (std::string *)arg;
    *out = columnCount > 0 && values[0] ? values[0] : "<null>";
    return 1;   // the first row is enough
}

std::string DbTestNativeScalar(const std::string &windowsPath, const char *sql)
{
    sqlite3 *db = NULL;
    std::string out = "<none>";
    if (sqlite3_open_v2(SqlitePath(windowsPath).c_str(), &db, SQLITE_OPEN_READWRITE, NULL) != SQLITE_OK) {
        out = std::string("<error: ") + (db ? sqlite3_errmsg(db) : "open") + ">";
    } else {
        int rc = sqlite3_exec(db, sql, ScalarRow, &out, NULL);
        if (rc != SQLITE_OK && rc != SQLITE_ABORT) out = std::string("<error: ") + sqlite3_errmsg(db) + ">";
    }
    sqlite3_close(db);
    return out;
}

void DbTestNativeExec(const std::string &windowsPath, const char *sql)
{
    sqlite3 *db = NULL;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(SqlitePath(windowsPath).c_str(), &db));
    EXPECT_EQ(SQLITE_OK, sqlite3_exec(db, sql, NULL, NULL, NULL)) << sqlite3_errmsg(db) << " in " << sql;
    sqlite3_close(db);
}

void DataStoreTest::SetUp()
{
    folder = QlTestMakeFolder("qldb_");
    ASSERT_FALSE(folder.empty());
    dbPath = folder + "\\quilry.db";
    ASSERT_EQ(1, QlDbOpen(dbPath.c_str(), err)) << err;
}

void DataStoreTest::TearDown()
{
    QlDbClose();
    QlDbLibraryName = "sqlite3.dll";
    QlTestRemoveFolder(folder);
}
