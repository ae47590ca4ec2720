// Resources of the customers module: the module window (120), the
// add-customer dialog (147) and the select-customer dialog (182).
#pragma once

#define IDD_CUST_MODULE 120
#define IDD_CUST_ADD 147
#define IDD_CUST_SELECT 182

// Module window 120: find block.
#define IDT_CUST_FIND_TITLE 1330
#define IDT_CUST_FIND_ACREF_LABEL 1319
#define IDE_CUST_FIND_ACREF 1057
#define IDT_CUST_FIND_COMPANY_LABEL 1320
#define IDE_CUST_FIND_COMPANY 1058
#define IDB_CUST_FIND 1054

// Module window 120: the two lists.
#define IDT_CUST_NAMES_TITLE 1321
#define IDL_CUST_NAMES 1052
#define IDL_CUST_OVERVIEW 1035

// The account form (module window 120; the add dialog shares the labels,
// the address lines and the discount and tax controls).
#define IDT_CUST_FORM_TITLE 1329
#define IDT_CUST_COMPANY_LABEL 1322
#define IDT_CUST_ADDR1_LABEL 1323
#define IDT_CUST_ADDR2_LABEL 1324
#define IDT_CUST_ADDR3_LABEL 1325
#define IDT_CUST_CONTACT_LABEL 1056
#define IDT_CUST_TEL_LABEL 1326
#define IDT_CUST_MOBILE_LABEL 1327
#define IDT_CUST_FAX_LABEL 1328
#define IDT_CUST_EMAIL_LABEL 1331
#define IDT_CUST_ACREF_LABEL 1159
#define IDT_CUST_BALANCE_LABEL 1255
#define IDE_CUST_COMPANY 1026
#define IDE_CUST_ADDR1 1028
#define IDE_CUST_ADDR2 1029
#define IDE_CUST_ADDR3 1030
#define IDE_CUST_CONTACT 1027
#define IDE_CUST_TEL 1016
#define IDE_CUST_MOBILE 1017
#define IDE_CUST_FAX 1019
#define IDE_CUST_EMAIL 1018
#define IDT_CUST_ACREF 1130
#define IDT_CUST_BALANCE 1133
#define IDB_CUST_APPLY_DISCOUNT 1011
#define IDC_CUST_DISCOUNT 1181
#define IDB_CUST_APPLY_TAX 1012
#define IDC_CUST_RATE 1178

// Add-customer dialog 147: the fields of its own.
#define IDE_CUSTADD_COMPANY 1131
#define IDE_CUSTADD_CONTACT 1132
#define IDE_CUSTADD_TEL 1051
#define IDE_CUSTADD_MOBILE 1048
#define IDE_CUSTADD_FAX 1049
#define IDE_CUSTADD_EMAIL 1046

// Select-customer dialog 182 (Select is IDOK, Cancel IDCANCEL).
#define IDL_CUSTSEL_LIST 1035

// The account screens that the module opens: the activity view, the
// statement window, the letter dialogs and the label dialog.
#define IDD_CUST_ACTIVITY 160
#define IDD_CUST_STATEMENT 186
#define IDD_CUST_LABEL 199
#define IDD_CUST_LETTER_SELECT 220
#define IDD_CUST_LETTER 221

// Activity view 160.
#define IDL_ACT_LIST 1116
#define IDT_ACT_ACREF_LABEL 1159
#define IDT_ACT_ACREF 1130
#define IDT_ACT_BALANCE_LABEL 1255
#define IDT_ACT_BALANCE 1133
#define IDT_ACT_TURNOVER_LABEL 1256
#define IDT_ACT_TURNOVER 1134
#define IDG_ACT_RANGE 1336
#define IDC_ACT_DATES 1191
#define IDT_ACT_FROM_LABEL 1192
#define IDT_ACT_TO_LABEL 1193
#define IDP_ACT_FROM 1160
#define IDP_ACT_TO 1161
#define IDC_ACT_TYPE 1195
#define IDB_ACT_RELOAD 1119

// Statement window 186.
#define IDT_STMT_ACREF_EDIT_LABEL 1334
#define IDE_STMT_ACREF 1171
#define IDB_STMT_SELECT 1172
#define IDT_STMT_COMPANY_LABEL 1322
#define IDE_STMT_COMPANY 1173
#define IDT_STMT_TO 1153
#define IDE_STMT_ADDR1 1028
#define IDE_STMT_ADDR2 1029
#define IDE_STMT_ADDR3 1030
#define IDT_STMT_TITLE 1184
#define IDT_STMT_DATE_LABEL 1156
#define IDP_STMT_DATE 1160
#define IDT_STMT_ACREF_LABEL 1157
#define IDT_STMT_ACREF 1159
#define IDG_STMT_FROM 1337
#define IDP_STMT_FROM 1162
#define IDB_STMT_RELOAD 1119
#define IDL_STMT_LINES 1161
#define IDT_STMT_TOTAL_LABEL 1164
#define IDT_STMT_TOTAL 1189
#define IDT_STMT_SPARE 1187

// Letter choice 220.
#define IDL_LETSEL_LIST 1282
#define IDB_LETSEL_RUN 1116
#define IDB_LETSEL_CLOSE 1115

// Customer letter 221 (1173 and 1028-1030 as in the statement window).
#define IDT_LET_TO 1153
#define IDE_LET_COMPANY 1173
#define IDT_LET_DATE_LABEL 1156
#define IDP_LET_DATE 1160
#define IDT_LET_ACREF_LABEL 1157
#define IDT_LET_ACREF 1159
#define IDT_LET_OPENING_LABEL 1339
#define IDE_LET_OPENING 1284
#define IDT_LET_ADDRESSEE_LABEL 1340
#define IDE_LET_ADDRESSEE 1174
#define IDT_LET_SUBJECT_LABEL 1341
#define IDE_LET_SUBJECT 1176
#define IDE_LET_BODY 1285
#define IDT_LET_CLOSING_LABEL 1342
#define IDC_LET_CLOSING 1283
#define IDT_LET_SIGNATURE_LABEL 1155
#define IDE_LET_SIGNATURE 1175
#define IDB_LET_PRINT 1194
#define IDB_LET_EMAIL 1116
#define IDB_LET_CLOSE 1115

// Label dialog 199: the fourteen positions 1257, 1259 ... 1271 (1258 is
// not one of them), the address (labels 1322-1325 as in the module's form).
#define IDG_LABEL_GROUP 1338
#define IDB_LABEL_FIRST 1257
#define IDE_LABEL_COMPANY 1005
#define IDB_LABEL_PRINT 1200
#define IDB_LABEL_CLOSE 1254
