// Resources of the sales statistics window (224).
#pragma once

#define IDD_SALES_GRAPH 224
#define IDC_SALES_YEAR 1003
#define IDB_SALES_CLOSE 1115
#define IDB_SALES_PRINT 1149
#define IDT_SALES_TOTAL 1170
#define IDG_SALES_APPEARANCE 1195
#define IDL_SALES_CUSTOMERS 1289
#define IDL_SALES_MONTHS 1290
#define IDT_SALES_GRAPH 1292
// Month labels under the graph, January to December.
#define IDT_SALES_MONTH_FIRST 1293
#define IDT_SALES_MONTH_2 1294
#define IDT_SALES_MONTH_3 1295
#define IDT_SALES_MONTH_4 1296
#define IDT_SALES_MONTH_5 1297
#define IDT_SALES_MONTH_6 1298
#define IDT_SALES_MONTH_7 1299
#define IDT_SALES_MONTH_8 1300
#define IDT_SALES_MONTH_9 1301
#define IDT_SALES_MONTH_10 1302
#define IDT_SALES_MONTH_11 1303
#define IDT_SALES_MONTH_LAST 1304
// Scale labels beside the graph, from the bottom (0) to the top (the best month).
#define IDT_SALES_SCALE_FIRST 1305
#define IDT_SALES_SCALE_2 1306
#define IDT_SALES_SCALE_3 1307
#define IDT_SALES_SCALE_4 1308
#define IDT_SALES_SCALE_LAST 1309
#define IDB_SALES_BARS 1310
#define IDB_SALES_LINES 1311
#define IDT_SALES_TOTAL_LABEL 1373
