// Data-store tests: a temp folder of its own per test, a real database file
// in it, and a native SQLite connection to look into that file directly.
#pragma once

#include "QlGTest.h"
#include "QlTestFiles.h"

#include "datastore/QlDbTables.h"

#include <string>

std::string DbTestNativePath(const std::string &windowsPath);

// Runs SQL on the file through the native library, outside the data store.
void DbTestNativeExec(const std::string &windowsPath, const char *sql);
// First column of the first row as text; "<null>" for SQL NULL, "<none>"
// when no row came back, "<error: ...>" when the statement failed.
std::string DbTestNativeScalar(const std::string &windowsPath, const char *sql);

// A folder with a freshly opened company database "quilry.db" in it.
class DataStoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string Scalar(const char *sql) { return DbTestNativeScalar(dbPath, sql); }
    void NativeExec(const char *sql) { DbTestNativeExec(dbPath, sql); }

    std::string folder;
    std::string dbPath;
    char err[QL_DB_ERR_SIZE] = "";
};

// Fills a fixed-width field, for tests that build records by hand.
template <size_t N> void DbTestSet(char (&field)[N], const std::string &text)
{
    ASSERT_LT(text.size(), N);
    memcpy(field, text.c_str(), text.size() + 1);
}
