// What the benchmarks share: the clock and a native SQLite connection to a
// database file that the data store made.
#pragma once

#include "core/QlPlatform.h"

#include <windows.h>
#include <sqlite3.h>

// Seconds from a fixed point, at the performance counter's resolution.
inline double BenchSeconds(void)
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

// The native library's own connection to the file (a Windows path); NULL
// when it cannot be opened.
inline sqlite3 *BenchOpenNative(const char *path)
{
    char native[MAX_PATH * 4];
    sqlite3 *db = NULL;
    if (!QlPathToNative(path, native, sizeof native) || sqlite3_open(native, &db) != SQLITE_OK) {
        sqlite3_close(db);
        return NULL;
    }
    return db;
}
