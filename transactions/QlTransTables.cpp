#include "transactions/QlTransTables.h"

#include <commctrl.h>

// clang-format off
QlToolbarItem QlTransPaneToolbarTable[QL_TRANS_PANE_TOOLBAR_COUNT] = {
    {331, 0, NULL, "Quote"},
    {308, 1, NULL, "Invoice"},
    {332, 2, NULL, "Credit"},
    {333, 3, NULL, " Pay "},
    {330, 4, NULL, "View"},
    {320, 5, NULL, "Delete"},
    {321, 6, NULL, "Close"},
};

QlListColumnTable QlTransPaneListColumnTable = {1103, NULL, 8, {
    {8, LVCFMT_LEFT, "TX. #"},
    {11, LVCFMT_LEFT, "Date"},
    {15, LVCFMT_LEFT, "Type"},
    {10, LVCFMT_LEFT, "A/C Ref"},
    {25, LVCFMT_LEFT, "Description"},
    {13, LVCFMT_RIGHT, "Amount"},
    {14, LVCFMT_RIGHT, "Balance"},
    {0, LVCFMT_RIGHT, "Doc rowid"},
}};
// clang-format on
