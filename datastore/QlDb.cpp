#include "datastore/QlDb.h"

#include "core/QlPlatform.h"
#include "ui/QlUtil.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

// The entry points of sqlite3.dll, Windows calling convention.
typedef int(__cdecl *QlSqliteOpenFn)(const char *path, void **db);
typedef int(__cdecl *QlSqliteCloseFn)(void *db);
typedef int(__cdecl *QlSqliteExecFn)(void *db, const char *sql, QlDbRowCallback callback, void *arg,
                                     char **errmsg);
typedef const char *(__cdecl *QlSqliteErrmsgFn)(void *db);
typedef int64_t(__cdecl *QlSqliteLastInsertRowidFn)(void *db);
typedef int(__cdecl *QlSqlitePrepareFn)(void *db, const char *sql, int bytes, void **stmt, const char **tail);
typedef int(__cdecl *QlSqliteStepFn)(void *stmt);
typedef int(__cdecl *QlSqliteColumnTypeFn)(void *stmt, int column);
typedef int64_t(__cdecl *QlSqliteColumnInt64Fn)(void *stmt, int column);
typedef const unsigned char *(__cdecl *QlSqliteColumnTextFn)(void *stmt, int column);

// SQLite's result codes and type numbers that the statement reader tells apart.
#define QL_SQLITE_ROW 100
#define QL_SQLITE_DONE 101
#define QL_SQLITE_NULL 5

const char *QlDbLibraryName = "sqlite3.dll";

static HMODULE gLibrary;
static void *gDb;
static QlSqliteOpenFn gOpen;
static QlSqliteCloseFn gClose;
static QlSqliteExecFn gExec;
static QlSqliteErrmsgFn gErrmsg;
static QlSqliteLastInsertRowidFn gLastInsertRowid;
static QlSqlitePrepareFn gPrepare;
static QlSqliteStepFn gStep;
static QlSqliteStepFn gFinalize;
static QlSqliteColumnTypeFn gColumnType;
static QlSqliteColumnInt64Fn gColumnInt64;
static QlSqliteColumnTextFn gColumnText;
static int gExecDepth;       // statements running, nested through row functions
static int gClosePending;    // a close asked for while a statement ran

// ---------------------------------------------------------------------------
// Error texts and statement building

void QlDbSetError(char *err, const char *text)
{
    if (!err) return;
    if (!text) text = "";
    size_t len = strlen(text);
    if (len >= QL_DB_ERR_SIZE) {
        len = QL_DB_ERR_SIZE - 1;
        // Step back over UTF-8 continuation bytes so no character is split.
        while (len > 0 && ((unsigned char)text[len] & 0xC0) == 0x80) len--;
    }
    memcpy(err, text, len);
    err[len] = '\0';
}

void QlDbFormatError(char *err, const char *format, ...)
{
    char text[QL_DB_ERR_SIZE * 2];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    QlDbSetError(err, text);
}

static int gNotFound;   // the last read of one row found none

int QlDbNotFound(void)
{
    return gNotFound;
}

static int gRowPartial;  // the last row read did not parse whole

void QlDbReadStart(void)
{
    gNotFound = 0;
    gRowPartial = 0;
}

int QlDbRowPartial(void)
{
    return gRowPartial;
}

void QlDbSetRowPartial(int partial)
{
    gRowPartial = partial;
}

void QlDbNotFoundError(char *err, const char *format, ...)
{
    gNotFound = 1;
    if (!format) return;
    char text[QL_DB_ERR_SIZE * 2];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    QlDbSetError(err, text);
}

int QlDbFormatSql(char *sql, size_t size, char *err, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    int len = vsnprintf(sql, size, format, args);
    va_end(args);
    if (len < 0 || (size_t)len >= size) {
        sql[0] = '\0';
        QlDbSetError(err, QL_DB_ERR_TOO_LONG);
        return 0;
    }
    return 1;
}

int QlDbQuoteField(const char *field, size_t width, char *out, size_t outSize, char *err)
{
    if (strnlen(field, width) >= width) {
        out[0] = '\0';
        QlDbSetError(err, QL_DB_ERR_FIELD);
        return 0;
    }
    if (!QlSqlQuote(field, out, outSize)) {
        QlDbSetError(err, QL_DB_ERR_TOO_LONG);
        return 0;
    }
    return 1;
}

static void SetSqliteError(char *err)
{
    QlDbSetError(err, gDb && gErrmsg ? gErrmsg(gDb) : QL_DB_ERR_NOT_OPEN);
}

// ---------------------------------------------------------------------------
// Library and connection

void QlDbClose(void)
{
    // Closing under a running statement would pull SQLite away beneath it:
    // the close happens when the outermost statement has returned.
    if (gExecDepth > 0) {
        gClosePending = 1;
        return;
    }
    gClosePending = 0;
    if (gDb) {
        gClose(gDb);
        gDb = NULL;
    }
    if (gLibrary) {
        FreeLibrary(gLibrary);
        gLibrary = NULL;
    }
    gOpen = NULL;
    gClose = NULL;
    gExec = NULL;
    gErrmsg = NULL;
    gLastInsertRowid = NULL;
    gPrepare = NULL;
    gStep = NULL;
    gFinalize = NULL;
    gColumnType = NULL;
    gColumnInt64 = NULL;
    gColumnText = NULL;
}

template <class Fn> static Fn BindEntry(const char *name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(gLibrary, name)));
}

int QlDbLoadLibrary(const char *path, char *err)
{
    if (gExecDepth > 0) {
        QlDbSetError(err, QL_DB_ERR_BUSY);
        return 0;
    }
    // A second open replaces the first instead of leaking its connection.
    QlDbClose();

    gLibrary = LoadLibraryA(QlDbLibraryName);
    if (!gLibrary) {
        QlDbFormatError(err, QL_DB_ERR_LOAD, path);
        return 0;
    }
    gOpen = BindEntry<QlSqliteOpenFn>("sqlite3_open");
    gClose = BindEntry<QlSqliteCloseFn>("sqlite3_close");
    gExec = BindEntry<QlSqliteExecFn>("sqlite3_exec");
    gErrmsg = BindEntry<QlSqliteErrmsgFn>("sqlite3_errmsg");
    gLastInsertRowid = BindEntry<QlSqliteLastInsertRowidFn>("sqlite3_last_insert_rowid");
    gPrepare = BindEntry<QlSqlitePrepareFn>("sqlite3_prepare_v2");
    gStep = BindEntry<QlSqliteStepFn>("sqlite3_step");
    gFinalize = BindEntry<QlSqliteStepFn>("sqlite3_finalize");
    gColumnType = BindEntry<QlSqliteColumnTypeFn>("sqlite3_column_type");
    gColumnInt64 = BindEntry<QlSqliteColumnInt64Fn>("sqlite3_column_int64");
    gColumnText = BindEntry<QlSqliteColumnTextFn>("sqlite3_column_text");
    if (!gOpen || !gClose || !gExec || !gErrmsg || !gLastInsertRowid || !gPrepare || !gStep || !gFinalize ||
        !gColumnType || !gColumnInt64 || !gColumnText) {
        QlDbSetError(err, QL_DB_ERR_RESOLVE);
        QlDbClose();
        return 0;
    }

    // SQLite takes native paths in UTF-8: "COMP000\quilry.db" is the file
    // COMP000/quilry.db below the current directory.
    char native[MAX_PATH * 4];
    if (!QlPathToNativeUtf8(path, native, sizeof native)) {
        QlDbFormatError(err, QL_DB_ERR_PATH, path);
        QlDbClose();
        return 0;
    }
    void *db = NULL;
    if (gOpen(native, &db) == 0) {
        gDb = db;
        return 1;
    }
    if (db) QlDbSetError(err, gErrmsg(db));
    gDb = db;
    QlDbClose();
    return 0;
}

int QlDbIsOpen(void)
{
    return gDb != NULL && !gClosePending;
}

int QlDbIsBusy(void)
{
    return gExecDepth > 0;
}

// ---------------------------------------------------------------------------
// Statements

QlDbExecHookFn QlDbExecHook = NULL;

// Whether a statement may run: the database is open and no test hook
// refuses it (err set when not).
static int MayRun(const char *sql, char *err)
{
    if (!gDb || gClosePending) {
        QlDbSetError(err, QL_DB_ERR_NOT_OPEN);
        return 0;
    }
    if (QlDbExecHook && QlDbExecHook(sql)) {
        QlDbSetError(err, QL_DB_ERR_INJECTED);
        return 0;
    }
    return 1;
}

int QlDbExecRows(const char *sql, QlDbRowCallback callback, void *arg, char *err)
{
    if (!MayRun(sql, err)) return 0;
    gExecDepth++;
    int failed = gExec(gDb, sql, callback, arg, NULL) != 0;
    if (failed) SetSqliteError(err);
    gExecDepth--;
    if (gExecDepth == 0 && gClosePending) QlDbClose();
    return !failed;
}

int QlDbQueryOpen(const char *sql, QlDbQuery *query, char *err)
{
    query->stmt = NULL;
    if (!MayRun(sql, err)) return 0;
    void *stmt = NULL;
    if (gPrepare(gDb, sql, -1, &stmt, NULL) != 0 || !stmt) {
        SetSqliteError(err);
        if (stmt) gFinalize(stmt);
        return 0;
    }
    query->stmt = stmt;
    gExecDepth++;
    return 1;
}

int QlDbQueryNext(QlDbQuery *query, char *err)
{
    if (!query->stmt) return 0;
    int rc = gStep(query->stmt);
    if (rc == QL_SQLITE_ROW) return 1;
    if (rc == QL_SQLITE_DONE) return 0;
    SetSqliteError(err);
    return -1;
}

int QlDbQueryIsNull(const QlDbQuery *query, int column)
{
    return gColumnType(query->stmt, column) == QL_SQLITE_NULL;
}

int64_t QlDbQueryInt64(const QlDbQuery *query, int column)
{
    return gColumnInt64(query->stmt, column);
}

const char *QlDbQueryText(const QlDbQuery *query, int column)
{
    return (const char *)gColumnText(query->stmt, column);
}

void QlDbQueryClose(QlDbQuery *query)
{
    if (!query->stmt) return;
    gFinalize(query->stmt);
    query->stmt = NULL;
    gExecDepth--;
    if (gExecDepth == 0 && gClosePending) QlDbClose();
}

// SQLite's own words for a damaged file, the name of SQLITE_CORRUPT.
static const char kMalformed[] = "database disk image is malformed";

// Row callback of the file check: keeps the first row's text ("ok" for a
// sound file, else the first problem found) and stops the walk there.
static int __cdecl CheckRowCb(void *arg, int columnCount, char **values, char **names)
{
    char *first = (char *)arg;
    const char *text = columnCount > 0 && values && values[0] ? values[0] : "";
    // A problem starts with the database it lies in: the file is the only one.
    static const char kPrefix[] = "*** in database main ***\n";
    if (strncmp(text, kPrefix, sizeof kPrefix - 1) == 0) text += sizeof kPrefix - 1;
    QlDbSetError(first, text);
    return 0;
}

int QlDbCheckFile(char *err)
{
    char first[QL_DB_ERR_SIZE] = "";
    if (!QlDbExecRows("pragma quick_check(1);", CheckRowCb, first, err)) return 0;
    if (strcmp(first, "ok") == 0) return 1;
    // The first problem is cut at its end of line: one line under SQLite's
    // name for the fault.
    first[strcspn(first, "\r\n")] = '\0';
    if (first[0])
        QlDbFormatError(err, "%s: %s", kMalformed, first);
    else
        QlDbSetError(err, kMalformed);
    return 0;
}

int QlDbExec(const char *sql, char *err)
{
    return QlDbExecRows(sql, NULL, NULL, err);
}

int QlDbBegin(char *err)
{
    return QlDbExec("begin;", err);
}

int QlDbCommit(char *err)
{
    return QlDbExec("commit;", err);
}

void QlDbRollback(void)
{
    // Harmless when SQLite has already ended the transaction itself.
    char err[QL_DB_ERR_SIZE];
    QlDbExec("rollback;", err);
}

int64_t QlDbLastInsertRowId(void)
{
    return gDb ? gLastInsertRowid(gDb) : 0;
}

int __cdecl QlDbRowFoundCb(void *found, int columnCount, char **values, char **names)
{
    *(int *)found = 1;
    return 0;
}

int QlDbRowExists(const char *table, const char *column, const char *text)
{
    char err[QL_DB_ERR_SIZE];
    char quoted[QL_DB_SQL_QUERY];
    char sql[QL_DB_SQL_QUERY];
    if (!QlSqlQuote(text, quoted, sizeof quoted)) return 0;
    if (!QlDbFormatSql(sql, sizeof sql, err, "select * from %s where %s='%s' limit 1;", table, column, quoted))
        return 0;
    int found = 0;
    if (!QlDbExecRows(sql, QlDbRowFoundCb, &found, err)) return 0;
    return found;
}

int QlDbDisableRow(int64_t iKey, const char *table, char *err)
{
    char sql[QL_DB_SQL_SMALL];
    if (!QlDbFormatSql(sql, sizeof sql, err, "update %s set enabled='no' where iKey='" QL_I64 "';", table, iKey))
        return 0;
    return QlDbExec(sql, err);
}

int QlDbSetInt64(const char *table, const char *column, int64_t iKey, int64_t value, char *err)
{
    char sql[QL_DB_SQL_WRITE];
    if (!QlDbFormatSql(sql, sizeof sql, err, "update %s set %s='" QL_I64 "' where iKey='" QL_I64 "';", table,
                       column, value, iKey))
        return 0;
    return QlDbExec(sql, err);
}

int QlDbSetText(const char *table, const char *column, int64_t iKey, const char *text, char *err)
{
    char quoted[QL_DB_SQL_WRITE];
    char sql[QL_DB_SQL_WRITE];
    if (!QlSqlQuote(text, quoted, sizeof quoted)) {
        QlDbSetError(err, QL_DB_ERR_TOO_LONG);
        return 0;
    }
    if (!QlDbFormatSql(sql, sizeof sql, err, "update %s set %s='%s' where iKey='" QL_I64 "';", table, column,
                       quoted, iKey))
        return 0;
    return QlDbExec(sql, err);
}
