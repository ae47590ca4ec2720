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

// The account screens that the module opens: the activity view and the
// statement window.
#define IDD_CUST_ACTIVITY 160
#define IDD_CUST_STATEMENT 186
