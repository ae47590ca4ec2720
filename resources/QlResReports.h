// Resources of the reports module: the Reports dialog (193).
#pragma once

#define IDD_REPORTS 193
#define IDB_REPORTS_PRINT 1200
#define IDB_REPORTS_CLOSE 1201
#define IDB_REPORTS_EXPORT 1202
#define IDL_REPORTS_LIST 1203
#define IDT_REPORTS_DESC 1204
