// The shell's templates: the main window's three panels, the company manager
// with its create dialog, and the About box.
#pragma once

// Message panel (bottom right): the coloured status text.
#define IDD_STATUS_PANEL 164
#define IDT_STATUS_TEXT 1374

// Language panel (bottom left): the flag and the language's name.
#define IDD_LANG_PANEL 280
#define IDP_LANG_FLAG 1383
#define IDT_LANG_NAME 1343

// Description bar (between them): the description of the last tool-bar button.
#define IDD_DESC_BAR 288
#define IDT_DESC_TEXT 1382

// Multi-Company Manager.
#define IDD_COMPANY_MANAGER 225
#define IDT_COMPANY_HEADING 1311
#define IDL_COMPANY_LIST 1312
#define IDE_COMPANY_NAME 1313
#define IDT_COMPANY_NAME 1316
#define IDC_COMPANY_LANGUAGE 1317
#define IDB_COMPANY_LOAD 1147
#define IDB_COMPANY_NEW 1148
#define IDB_COMPANY_SAVE 1149
#define IDB_COMPANY_DELETE 1151

// Create Company (the name, language and country edits share the manager's ids).
#define IDD_COMPANY_CREATE 285
#define IDT_COMPANY_LANGUAGE 1343
#define IDT_COMPANY_COUNTRY 1372
#define IDC_COMPANY_COUNTRY 1318

// About box.
#define IDD_ABOUT 166
#define IDP_ABOUT_PICTURE 1405
#define IDP_ABOUT_ICON 1406
#define IDT_ABOUT_NAME 1407
#define IDT_ABOUT_VERSION 1408
#define IDT_ABOUT_NOTICE 1409
#define IDT_ABOUT_WEB 1410
#define IDT_ABOUT_EMAIL 1411
#define IDT_ABOUT_WEB_LABEL 1412
#define IDT_ABOUT_EMAIL_LABEL 1413
#define IDB_ABOUT_CLOSE 1201
