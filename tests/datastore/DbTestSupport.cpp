#include "DbTestSupport.h"

#include "common/QlPlatform.h"

#include <sqlite3.h>
#include <string.h>

std::string DbTestMakeFolder(void)
{
    static unsigned serial;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    for (;;) {
        char folder[MAX_PATH + 32];
        snprintf(folder, sizeof folder, "%sqldb_%lu_%u", temp, (unsigned long)GetCurrentProcessId(), ++serial);
        if (CreateDirectoryA(folder, NULL)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return "";
    }
}

void DbTestRemoveFolder(const std::string &folder)
{
    if (folder.empty()) return;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DbTestRemoveFolder(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

std::string DbTestNativePath(const std::string &windowsPath)
{
    char native[MAX_PATH * 4];
    if (!QlPathToNative(windowsPath.c_str(), native, sizeof native)) return "";
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
    if (sqlite3_open_v2(DbTestNativePath(windowsPath).c_str(), &db, SQLITE_OPEN_READWRITE, NULL) != SQLITE_OK) {
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
    ASSERT_EQ(SQLITE_OK, sqlite3_open(DbTestNativePath(windowsPath).c_str(), &db));
    EXPECT_EQ(SQLITE_OK, sqlite3_exec(db, sql, NULL, NULL, NULL)) << sqlite3_errmsg(db) << " in " << sql;
    sqlite3_close(db);
}

void DataStoreTest::SetUp()
{
    folder = DbTestMakeFolder();
    ASSERT_FALSE(folder.empty());
    dbPath = folder + "\\quilry.db";
    ASSERT_EQ(1, QlDbOpen(dbPath.c_str(), err)) << err;
}

void DataStoreTest::TearDown()
{
    QlDbClose();
    QlDbLibraryName = "sqlite3.dll";
    DbTestRemoveFolder(folder);
}
