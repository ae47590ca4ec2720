// Resources of the products module: the products window (173, also the
// services window), the stock-in and stock-out dialog (180), the new-product
// (200) and edit-product (209) dialogs, the service dialog (178) and the
// price-list options (192).
#pragma once

#define IDD_PROD_WINDOW 173
#define IDD_STOCK 180
#define IDD_PROD_NEW 200
#define IDD_PROD_EDIT 209
#define IDD_SERV_EDIT 178
#define IDD_PRICE_OPTIONS 192

// Products window 173 and the find row shared with the stock dialog.
#define IDL_PROD_LIST 1137
#define IDC_PROD_FIND_KIND 1186
#define IDE_PROD_FIND 1387
#define IDB_PROD_FIND 1400
#define IDT_PROD_FIND_RESULT 1119

// Stock dialog 180.
#define IDE_STOCK_BARCODE 1141
#define IDE_STOCK_QTY 1144
#define IDL_STOCK_LIST 1035
#define IDT_STOCK_DETAILS 1146
#define IDT_STOCK_CODE_LABEL 1404
#define IDT_STOCK_CODE 1403
#define IDT_STOCK_QTY_PROMPT 1143
#define IDT_STOCK_BARCODE_PROMPT 1142
#define IDT_STOCK_HINT 1145
#define IDB_STOCK_FIND 3

// Product dialogs 200 and 209.
#define IDE_PROD_BARCODE 1141
#define IDE_PROD_NAME 1005
#define IDT_PROD_NAME_LABEL 1138
#define IDE_PROD_PRICE_UNITS 1139
#define IDE_PROD_PRICE_HUNDREDTHS 1143
#define IDT_PROD_PRICE_LABEL 1140
#define IDE_PROD_COST_UNITS 1144
#define IDE_PROD_COST_HUNDREDTHS 1145
#define IDT_PROD_COST_LABEL 1394
#define IDE_PROD_SUPPLIER_CODE 1389
#define IDT_PROD_SUPPLIER_LABEL 1390
#define IDS_PROD_PREVIEW 1271
#define IDG_PROD_BARCODE_GROUP 1345      // 200: group box; 209: the barcode field's label
#define IDC_PROD_SCALE 1270
#define IDT_PROD_SCALE_LABEL 1346
#define IDB_PROD_PRINT_BARCODE 1042

// The code panel of dialog 200.
#define IDG_PROD_CODE_GROUP 1347
#define IDC_PROD_CODE_TYPE 1264
#define IDT_PROD_CODE_TYPE_LABEL 1348
#define IDE_PROD_TYPE_DIGIT 1269
#define IDT_PROD_TYPE_DIGIT_LABEL 1349
#define IDE_PROD_MFR_CODE 1265
#define IDT_PROD_MFR_CODE_LABEL 1350
#define IDE_PROD_PRODUCT_CODE 1267
#define IDT_PROD_PRODUCT_CODE_LABEL 1351
#define IDB_PROD_GENERATE 1268

// Dialog 209 only.
#define IDT_PROD_CODE 1198
#define IDT_PROD_CODE_LABEL 1353
#define IDT_PROD_DESCR_LABEL 1352

// Service dialog 178 (new and edit).
#define IDT_SERV_DESCR_LABEL 1138
#define IDE_SERV_DESCR 1005
#define IDT_SERV_PRICE_LABEL 1140
#define IDE_SERV_PRICE_UNITS 1139
#define IDE_SERV_PRICE_HUNDREDTHS 1143
#define IDT_SERV_CODE 1198
#define IDT_SERV_CODE_LABEL 1196

// Price-list options dialog 192.
#define IDB_PRICE_PRINT 1200
#define IDB_PRICE_CLOSE 1201
#define IDB_PRICE_OUT_OF_STOCK 1011
#define IDT_PRICE_TOP_LABEL 1354
#define IDE_PRICE_TOP 1005
#define IDT_PRICE_BOTTOM_LABEL 1355
#define IDB_PRICE_BOTTOM_ON 1012
#define IDE_PRICE_BOTTOM 1006
#define IDB_PRICE_LOGO 1013
#define IDB_PRICE_ADDRESS 1014
