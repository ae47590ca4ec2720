// The company database: SQLite loaded at run time from "sqlite3.dll", the
// one connection of the process, the generic statement operations, and the
// company-level open and close.
//
// Every data-store function answers 1 on success and 0 on failure, and takes
// the caller's error-text buffer last: on failure the SQLite error text (or
// the operation's own text) is written there, cut to QL_DB_ERR_SIZE bytes;
// on success the buffer is not touched.
//
// Statements are built into fixed buffers (inserts and updates 2048 bytes,
// single-row queries and enumerations 256, soft deletes and counter updates
// 128).  Every text value goes in as a quoted literal with its single quotes
// doubled; a statement that does not fit its buffer is refused with
// QL_DB_ERR_TOO_LONG and never run.  All calls come from the user-interface
// thread.
#pragma once

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

// Callers give error buffers of at least this many bytes (128 or 256).
#define QL_DB_ERR_SIZE 128

// Failure texts of the data store's own.
#define QL_DB_ERR_LOAD "Failed to load Sqlite3 DLL %s"
#define QL_DB_ERR_RESOLVE "Failed to resolve one of sqlite3 function names"
#define QL_DB_ERR_NOT_OPEN "Database is not open"
#define QL_DB_ERR_PATH "Cannot convert database path %s"
#define QL_DB_ERR_TOO_LONG "SQL statement too long"
#define QL_DB_ERR_FIELD "Text does not fit its field"
#define QL_DB_ERR_BUSY "Database is busy"

// Statement buffer sizes.
#define QL_DB_SQL_WRITE 2048
#define QL_DB_SQL_QUERY 256
#define QL_DB_SQL_SMALL 128

// The file name LoadLibraryA is given; tests point it at other DLLs.
extern const char *QlDbLibraryName;

// A row callback in the form sqlite3_exec calls it: (argument, column count,
// column values, column names); a SQL NULL arrives as a null value.  It has
// the Windows calling convention because sqlite3.dll calls it back.  A
// non-zero result stops the walk and fails the statement.
typedef int(__cdecl *QlDbRowCallback)(void *arg, int columnCount, char **values, char **names);

// Loads the library, binds its entry points and opens the connection on the
// file (a Windows path; a missing file is created).
int QlDbLoadLibrary(const char *path, char *err);
// Closes the connection and unloads the library; harmless when closed.
void QlDbClose(void);
// QlDbLoadLibrary, QlDbCheckFile, then creates and upgrades the schema; a
// file that fails the check is closed again untouched.
int QlDbOpen(const char *path, char *err);
// Checks the open file's structure before anything is written to it
// (SQLite's quick_check: every page of every table and index read once).  1
// when sound; 0 when damaged, with SQLite's words for the first fault, or
// when the check could not run (a locked file), with the store's text.
int QlDbCheckFile(char *err);
// How many opens of a company database succeeded in this process: each one
// is a connection of its own (what is kept from one is not kept for another).
int QlDbOpenCount(void);
// 1 while a connection is open.
int QlDbIsOpen(void);
// 1 while a statement runs (a row function further down the stack, e.g. a
// list load that lets the message pump run).  Closing the connection then is
// put off until the statement has ended, and opening another is refused.
int QlDbIsBusy(void);

// Runs the caller's statement(s) without a row callback.
int QlDbExec(const char *sql, char *err);
// Test hook of the statement runner: when set, it sees every statement
// before it runs, and a non-zero answer fails that statement (with the text
// QL_DB_ERR_INJECTED) as if SQLite had refused it.  NULL in the program.
typedef int (*QlDbExecHookFn)(const char *sql);
extern QlDbExecHookFn QlDbExecHook;
#define QL_DB_ERR_INJECTED "injected failure"

// One database transaction around several writes: all of them are stored at
// QlDbCommit, or none when QlDbRollback ends it (also after a failed commit).
// A transaction does not nest; QlDbBegin inside one fails.
int QlDbBegin(char *err);
int QlDbCommit(char *err);
void QlDbRollback(void);
// Runs the statement(s) with a row callback and its argument.
int QlDbExecRows(const char *sql, QlDbRowCallback callback, void *arg, char *err);
// A query read row by row, its values as SQLite holds them: integers as
// integers, texts in place, no text form of every value and no row callback
// (the fast way to read many rows).  QlDbQueryOpen answers 1 with the query
// ready (close it whatever happens), or 0 with err set; it sees
// QlDbExecHook as the statement runner does, and the query counts as a
// running statement (QlDbIsBusy) until it is closed.  QlDbQueryNext answers
// 1 for a row, 0 after the last one, -1 when the query failed (err set).
// A text is NULL for a SQL NULL and lasts until the next row.
struct QlDbQuery {
    void *stmt;
};
int QlDbQueryOpen(const char *sql, QlDbQuery *query, char *err);
int QlDbQueryNext(QlDbQuery *query, char *err);
int QlDbQueryIsNull(const QlDbQuery *query, int column);
int64_t QlDbQueryInt64(const QlDbQuery *query, int column);
const char *QlDbQueryText(const QlDbQuery *query, int column);
void QlDbQueryClose(QlDbQuery *query);

// After a read of one row (the Get, Find and Exists operations of
// QlDbTables.h) answered 0: 1 when the row is not there (err holds the
// not-found text, or is untouched where the operation says so), 0 when it
// could not be read (err holds the store's text: a locked or damaged file, a
// refused statement).  Callers tell "not found" from "could not read" by it.
int QlDbNotFound(void);
// For the reads: a new read starts (not found cleared), and a read that found
// no row (err = the not-found text, printf-formatted; NULL leaves err alone).
void QlDbReadStart(void);
// After a read of one customer, supplier or order line answered 1: 1 when
// the row did not read whole (a text longer than its field, written by
// another tool), its fields from that column on left empty.  Such a record
// is shown for what it is and never written back.
int QlDbRowPartial(void);
void QlDbSetRowPartial(int partial);
void QlDbNotFoundError(char *err, const char *format, ...) __attribute__((format(printf, 2, 3)));

// The key of the last row inserted on the connection (0 when closed).
int64_t QlDbLastInsertRowId(void);

// Row callback of the existence tests: sets the int its argument points to
// to 1 and returns 0.
int __cdecl QlDbRowFoundCb(void *found, int columnCount, char **values, char **names);
// 1 when "select * from <table> where <column>='<text>' limit 1;" returns a
// row; 0 when none does and also when the statement fails or does not fit.
int QlDbRowExists(const char *table, const char *column, const char *text);
// Soft delete: enabled='no' for the row.
int QlDbDisableRow(int64_t iKey, const char *table, char *err);
// One column of one row; a key no row has is no failure.
int QlDbSetInt64(const char *table, const char *column, int64_t iKey, int64_t value, char *err);
int QlDbSetText(const char *table, const char *column, int64_t iKey, const char *text, char *err);

// Internal helpers of the table functions.
// Copies text into err, cut to QL_DB_ERR_SIZE bytes (never inside a UTF-8
// character).
void QlDbSetError(char *err, const char *text);
// printf into err, bounded as QlDbSetError.
void QlDbFormatError(char *err, const char *format, ...) __attribute__((format(printf, 2, 3)));
// printf into a statement buffer; 1 when the whole text fitted, otherwise
// err = QL_DB_ERR_TOO_LONG and 0.
int QlDbFormatSql(char *sql, size_t size, char *err, const char *format, ...)
    __attribute__((format(printf, 4, 5)));
// Quotes a text for a literal (single quotes doubled).  field/width: a record
// field, whose text must end inside it (QL_DB_ERR_FIELD otherwise).  out must
// hold 2 * width bytes; a fixed-width field always fits.
int QlDbQuoteField(const char *field, size_t width, char *out, size_t outSize, char *err);

// Company level.  The database is "COMP%03u\quilry.db" below the current
// directory, with the number QlDbCurrentCompany answers (the shell points it
// at its company table; until then it answers -1, no company).
typedef int (*QlDbCompanyNumberFn)(void);
extern QlDbCompanyNumberFn QlDbCurrentCompany;
// The current company's database file, "COMP%03u\quilry.db" below the
// current directory, into path; 0 without a company.
int QlCompanyDbPath(char *path, size_t size);
// Opens the current company's database and imports old record files.  1
// when open; 0 with the store's text in err (QL_DB_ERR_SIZE bytes): telling
// the user, and what follows, is the caller's.
int QlCompanyDbOpen(char *err);
// Closes the database once a company database has been opened.
void QlCompanyDbClose(void);
