// Report-mode list views described by static column tables.
#pragma once

#include <windows.h>

#define QL_LIST_MAX_COLUMNS 10

struct QlListColumn {
    int percent;       // width in percent of the list's client width
    int format;        // 0 left, 1 right, 2 centre (LVCFMT_ values)
    char title[128];
};

struct QlListColumnTable {
    int controlId;     // the list view's id in its dialog
    HWND list;         // set by QlListSetupFromTable
    int count;
    QlListColumn columns[QL_LIST_MAX_COLUMNS];
};
