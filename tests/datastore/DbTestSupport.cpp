#include "DbTestSupport.h"

#include "core/QlPlatform.h"

#include <sqlite3.h>
#include <stdio.h>
#include <stdlib.h>
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

DbTestLock::DbTestLock(const std::string &windowsPath)
{
    sqlite3 *db = NULL;
    if (sqlite3_open_v2(SqlitePath(windowsPath).c_str(), &db, SQLITE_OPEN_READWRITE, NULL) != SQLITE_OK ||
        sqlite3_exec(db, "begin exclusive;", NULL, NULL, NULL) != SQLITE_OK) {
        ADD_FAILURE() << "cannot lock " << windowsPath << ": " << (db ? sqlite3_errmsg(db) : "open");
        sqlite3_close(db);
        return;
    }
    db_ = db;
}

void DbTestLock::release()
{
    if (!db_) return;
    sqlite3 *db = (sqlite3 *)db_;
    sqlite3_exec(db, "rollback;", NULL, NULL, NULL);
    sqlite3_close(db);
    db_ = nullptr;
}

bool DbTestDamageTable(const std::string &windowsPath, const char *table)
{
    std::string sql = std::string("select rootpage from sqlite_master where type='table' and name='") + table + "';";
    long root = atol(DbTestNativeScalar(windowsPath, sql.c_str()).c_str());
    long pageSize = atol(DbTestNativeScalar(windowsPath, "pragma page_size;").c_str());
    if (root < 2 || pageSize < 512) return false;
    FILE *file = QlFileOpen(windowsPath.c_str(), "r+b");
    if (!file) return false;
    std::string junk((size_t)pageSize, '\0');
    for (size_t i = 0; i < junk.size(); i++) junk[i] = (char)(0x5A ^ (i * 7));
    bool ok = fseek(file, (root - 1) * pageSize, SEEK_SET) == 0 && fwrite(junk.data(), 1, junk.size(), file) == junk.size();
    return fclose(file) == 0 && ok;
}

std::string DbTestFileBytes(const std::string &windowsPath)
{
    FILE *file = QlFileOpen(windowsPath.c_str(), "rb");
    if (!file) return "";
    std::string bytes;
    char block[65536];
    size_t n;
    while ((n = fread(block, 1, sizeof block, file)) > 0) bytes.append(block, n);
    fclose(file);
    return bytes;
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
