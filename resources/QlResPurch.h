// Resource ids of the suppliers window and the purchasing screens.
#pragma once

#define IDD_SUPP_WINDOW 323
#define IDL_SUPP_LIST 1397

// Suppliers window 323: the A/C ref and the account form (labels above
// their edits).
#define IDT_SUPP_ACREF_LABEL 1159
#define IDT_SUPP_ACREF 1130
#define IDT_SUPP_COMPANY_LABEL 1322
#define IDE_SUPP_COMPANY 1026
#define IDT_SUPP_ADDRESS_LABEL 1323
#define IDE_SUPP_ADDR1 1028
#define IDE_SUPP_ADDR2 1029
#define IDE_SUPP_ADDR3 1030
#define IDT_SUPP_EMAIL_LABEL 1331
#define IDE_SUPP_EMAIL 1018
#define IDT_SUPP_CONTACT_LABEL 1056
#define IDE_SUPP_CONTACT 1027
#define IDT_SUPP_TEL_LABEL 1326
#define IDE_SUPP_TEL 1016
#define IDT_SUPP_MOBILE_LABEL 1327
#define IDE_SUPP_MOBILE 1017
#define IDT_SUPP_FAX_LABEL 1328
#define IDE_SUPP_FAX 1019

// Supplier activity 329: the supplier's purchase orders; its tool bar is
// made at run time along the bottom.
#define IDD_SUPP_ACTIVITY 329
#define IDL_SUPP_ACTIVITY_LIST 1399
