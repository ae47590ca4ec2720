// Program-wide tables and windows of the shell that the language application
// writes into and that the main window, its panels and the forms read.
#pragma once

#include "ui/QlToolbar.h"

#include <windows.h>

// The main tool bar: ten buttons, command ids 0-8 and 10 (9 is not used).
#define QL_MAIN_TOOLBAR_COUNT 10
#define QL_MAIN_COMMAND_COUNT 11
#define QL_TOOLBAR_TIP_WIDTH 128
extern QlToolbarItem QlMainToolbarTable[QL_MAIN_TOOLBAR_COUNT];
// Each button's description (tooltip and description bar), by command id.
extern char QlToolbarTipTable[QL_MAIN_COMMAND_COUNT][QL_TOOLBAR_TIP_WIDTH];

#define QL_LANG_PANEL_NAME_ID 1343  // its static showing the language's name

// The default-invoice-type list of the invoice settings: "Service", "Product", null.
extern const char *QlInvoiceTypeTable[3];

// Button captions of the forms and document views in the current language.
#define QL_CAPTION_WIDTH 80
extern char QlFormSaveCaption[QL_CAPTION_WIDTH];
extern char QlFormPrintCaption[QL_CAPTION_WIDTH];
extern char QlFormCloseCaption[QL_CAPTION_WIDTH];
extern char QlViewPrintCaption[QL_CAPTION_WIDTH];
extern char QlViewEmailCaption[QL_CAPTION_WIDTH];
extern char QlViewPdfCaption[QL_CAPTION_WIDTH];
extern char QlDeliveryNoteCaption[QL_CAPTION_WIDTH];
extern char QlQuoteCloneCaption[QL_CAPTION_WIDTH];
