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

// Another program's write lock on the file: a native connection inside an
// exclusive transaction, which keeps every other connection from reading or
// writing until it is let go (release, or the end of the object).
class DbTestLock {
public:
    explicit DbTestLock(const std::string &windowsPath);
    ~DbTestLock() { release(); }
    bool held() const { return db_ != nullptr; }
    void release();

private:
    void *db_ = nullptr;
};

// A file damaged inside as a failing disk or another tool damages it: the
// first page of the table (its root, from the schema) overwritten with 4 KB
// of junk, the file's header left as it was.  false when it cannot be done.
bool DbTestDamageTable(const std::string &windowsPath, const char *table);
// The file's bytes ("" when it cannot be read): a file nothing wrote to
// reads the same before and after.
std::string DbTestFileBytes(const std::string &windowsPath);

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
