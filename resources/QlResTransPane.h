// Resources of the transactions window (156) and the customer payment forms:
// the payment form and view (184) and the payment-item dialog (185).
#pragma once

#define IDD_TRANS_PANE 156
#define IDD_PAY_FORM 184
#define IDD_PAY_ITEM 185

// Transactions window 156.
#define IDL_PANE_TRANS 1103
#define IDE_PANE_BARCODE 1141
#define IDT_PANE_BARCODE_PROMPT 1332

// Payment form 184: the account block.
#define IDT_PAY_ACCOUNT_LABEL 1333
#define IDE_PAY_ACREF 1171
#define IDB_PAY_SELECT 1172
#define IDT_PAY_COMPANY_LABEL 1322
#define IDE_PAY_COMPANY 1173

// Payment form 184: the header, moved to the right edge.
#define IDT_PAY_TITLE 1184
#define IDT_PAY_NUMBER_LABEL 1155
#define IDT_PAY_NUMBER 1158
#define IDT_PAY_DATE_LABEL 1156
#define IDP_PAY_DATE 1160
#define IDT_PAY_ACREF_LABEL 1157
#define IDT_PAY_ACREF 1159

// Payment form 184: the documents and the totals.
#define IDL_PAY_DOCS 1161
#define IDB_PAY_EDIT 1187
#define IDB_PAY_FULL 1188
#define IDT_PAY_TOTAL_LABEL 1162
#define IDT_PAY_DUE_TOTAL 1189
#define IDT_PAY_TOTAL 1190

// Payment-item dialog 185 (OK and Cancel are IDOK and IDCANCEL).
#define IDL_PAY_ITEM_ROW 1035
#define IDT_PAY_ITEM_AMOUNT_LABEL 1156
#define IDE_PAY_ITEM_UNITS 1177
#define IDE_PAY_ITEM_CENTS 1179
#define IDT_PAY_ITEM_CENTS_LABEL 1157
#define IDB_PAY_ITEM_FULL 3
