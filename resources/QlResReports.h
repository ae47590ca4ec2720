// Resources of the reports module: the Reports dialog (193).
#pragma once

#define IDD_REPORTS 193
#define IDB_REPORTS_PRINT 1200
#define IDB_REPORTS_CLOSE 1201
#define IDB_REPORTS_EXPORT 1202
#define IDL_REPORTS_LIST 1203
#define IDT_REPORTS_DESC 1204

// The tax report window 196: the invoices with tax, the range to list, the
// two totals, and a tool bar along the bottom (Print, Export, Close).
#define IDD_VAT_REPORT 196
#define IDL_VAT_LIST 1116
#define IDG_VAT_RANGE 1336
#define IDC_VAT_DATES 1191
#define IDT_VAT_FROM_LABEL 1192
#define IDT_VAT_TO_LABEL 1193
#define IDP_VAT_FROM 1160
#define IDP_VAT_TO 1161
#define IDB_VAT_RELOAD 1119
#define IDT_VAT_NET 1135
#define IDT_VAT_TAX 1136
#define IDT_VAT_TOTAL_LABEL 1137
