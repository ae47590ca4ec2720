#include "reports/QlReportTables.h"

#include <stddef.h>

char QlReportTaxName[80] = "VAT Report";

const char *QlReportNameTable[QL_REPORT_COUNT + 1] = {
    QlReportTaxName,  "Customer List",     "Transaction List",  "Invoices List", "Credits List",
    "Payments List", "Product Full List", "Service Full List", NULL};

const char *QlReportDescTable[QL_REPORT_COUNT] = {
    "View, print or export tax invoices report",
    "Print or export full customer list",
    "Print or export full transaction list\n(invoices, credits, payments, quotes)",
    "Print or export full list of invoices",
    "Print or export full list of issued credits",
    "Print or export full list of received payments",
    "Print or export full product list",
    "Print or export full service list",
};
