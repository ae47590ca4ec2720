// The Reports dialog's names and descriptions.  Entries 1-7 of the names and
// all descriptions point into the current language's record once the
// language is applied; entry 0 of the names is QlReportTaxName.
#pragma once

#define QL_REPORT_COUNT 8
extern const char *QlReportNameTable[QL_REPORT_COUNT + 1];  // null-ended
extern const char *QlReportDescTable[QL_REPORT_COUNT];
// The tax report's name, rebuilt when the Reports dialog starts ("VAT Report").
extern char QlReportTaxName[80];
