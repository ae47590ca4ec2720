/* sqlite3.dll: the program's SQLite, a winelib DLL over the system's native
 * libsqlite3.  Its exports keep SQLite's own names and arguments; they are
 * called with the Windows calling convention and call the native library
 * with the System V one.
 *
 * The row callback is the one value that goes the other way: the program
 * hands over a Windows-convention function, which native sqlite3_exec cannot
 * call directly, so the export passes a System V trampoline instead and the
 * trampoline calls the program's callback. */
#include <windows.h>
#include <sqlite3.h>

typedef int(CDECL *QlShimRowCb)(void *arg, int columnCount, char **values, char **names);

typedef struct {
    QlShimRowCb callback;
    void *arg;
} QlShimExecCtx;

static int ShimRowTrampoline(void *ctx, int columnCount, char **values, char **names)
{
    const QlShimExecCtx *exec = (const QlShimExecCtx *)ctx;
    return exec->callback(exec->arg, columnCount, values, names);
}

int CDECL QlShimOpen(const char *path, sqlite3 **db)
{
    return sqlite3_open(path, db);
}

int CDECL QlShimClose(sqlite3 *db)
{
    return sqlite3_close(db);
}

/* The error text of the fifth argument is SQLite's heap block, which only
 * sqlite3_free could release; the program reads sqlite3_errmsg instead, so
 * the text is freed here and the caller's pointer, if any, set to NULL. */
int CDECL QlShimExec(sqlite3 *db, const char *sql, QlShimRowCb callback, void *arg, char **errmsg)
{
    QlShimExecCtx exec;
    exec.callback = callback;
    exec.arg = arg;
    char *message = NULL;
    int rc = sqlite3_exec(db, sql, callback ? ShimRowTrampoline : NULL, &exec, &message);
    sqlite3_free(message);
    if (errmsg) *errmsg = NULL;
    return rc;
}

const char *CDECL QlShimErrmsg(sqlite3 *db)
{
    return sqlite3_errmsg(db);
}

LONGLONG CDECL QlShimLastInsertRowid(sqlite3 *db)
{
    return sqlite3_last_insert_rowid(db);
}

/* Reading a query row by row: the statement is SQLite's own, its values
 * read in place (a text stays valid until the next step or the finalize). */
int CDECL QlShimPrepareV2(sqlite3 *db, const char *sql, int bytes, sqlite3_stmt **stmt, const char **tail)
{
    return sqlite3_prepare_v2(db, sql, bytes, stmt, tail);
}

int CDECL QlShimStep(sqlite3_stmt *stmt)
{
    return sqlite3_step(stmt);
}

int CDECL QlShimFinalize(sqlite3_stmt *stmt)
{
    return sqlite3_finalize(stmt);
}

int CDECL QlShimColumnType(sqlite3_stmt *stmt, int column)
{
    return sqlite3_column_type(stmt, column);
}

LONGLONG CDECL QlShimColumnInt64(sqlite3_stmt *stmt, int column)
{
    return sqlite3_column_int64(stmt, column);
}

const unsigned char *CDECL QlShimColumnText(sqlite3_stmt *stmt, int column)
{
    return sqlite3_column_text(stmt, column);
}
