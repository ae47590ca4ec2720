// Resource ids of the purchase documents: the purchase-invoice line dialog
// (352), the purchase-order window (324) and its order-item dialog (328).
// The purchase invoice itself is the document form 140 (QlResTrans.h).
#pragma once

#define IDD_PURCH_LINE 352
#define IDD_ORDER_FORM 324
#define IDD_ORDER_ITEM 328
// The supplier select dialog runs on the select-customer template.
#define IDD_PURCH_SUPP_SELECT 182

// Purchase-invoice line dialog 352: the line dialogs' ids (QlResTrans.h)
// and the label of the price's hundredths.
#define IDT_PLINE_CENTS 1157

// Purchase-order window 324 (the other ids are those of form 140).
#define IDT_ORDER_TOTAL 1398

// Order-item dialog 328.
#define IDL_OITEM_PRODUCTS 1180
#define IDT_OITEM_PICK_LABEL 1159
#define IDC_OITEM_FIND_KIND 1186
#define IDE_OITEM_FIND 1387
#define IDB_OITEM_FIND 3
#define IDB_OITEM_SELECT 4
#define IDT_OITEM_FIND_STATUS 1119
#define IDT_OITEM_BARCODE_PROMPT 1142
#define IDE_OITEM_BARCODE 1141
#define IDT_OITEM_CODE_LABEL 1197
#define IDT_OITEM_CODE 1196
#define IDT_OITEM_SUPP_CODE_LABEL 1200
#define IDT_OITEM_SUPP_CODE 1390
#define IDT_OITEM_PRICE_LABEL 1163
#define IDT_OITEM_PRICE 1394
#define IDT_OITEM_DESCR_LABEL 1155
#define IDE_OITEM_DESCR 1176
#define IDT_OITEM_QTY_LABEL 1143
#define IDE_OITEM_QTY 1144
#define IDT_OITEM_ROWID_LABEL 1199
#define IDT_OITEM_ROWID 1198
