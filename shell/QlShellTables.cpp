#include "shell/QlShellTables.h"

// clang-format off
QlToolbarItem QlMainToolbarTable[QL_MAIN_TOOLBAR_COUNT] = {
    {306, 0, NULL, " Clients "},
    {307, 1, NULL, "Supplier"},
    {308, 2, NULL, "Transact"},
    {309, 3, NULL, "Products"},
    {310, 4, NULL, "Services"},
    {312, 5, NULL, "Settings"},
    {313, 6, NULL, "Company"},
    {314, 7, NULL, "Reports"},
    {315, 8, NULL, "Sales"},
    {317, 10, NULL, "Help"},
};

char QlToolbarTipTable[QL_MAIN_COMMAND_COUNT][QL_TOOLBAR_TIP_WIDTH] = {
    " Manage customer accounts",
    " Manage supplier accounts",
    " Manage invoices, credit notes and payments",
    " Manage products",
    " Manage services",
    " Program settings / configuration",
    " Multi-company manager",
    " Reports",
    " Sales stats and graphs",
    "",
    " Online help",
};
// clang-format on


const char *QlInvoiceTypeTable[3] = {"Service", "Product", NULL};

char QlFormSaveCaption[QL_CAPTION_WIDTH] = "Save";
char QlFormPrintCaption[QL_CAPTION_WIDTH] = "Print";
char QlFormCloseCaption[QL_CAPTION_WIDTH] = "Close";
char QlViewPrintCaption[QL_CAPTION_WIDTH] = "Print";
char QlViewEmailCaption[QL_CAPTION_WIDTH] = "Email";
char QlViewPdfCaption[QL_CAPTION_WIDTH] = "PDF";
char QlDeliveryNoteCaption[QL_CAPTION_WIDTH] = "Delivery Note";
char QlQuoteCloneCaption[QL_CAPTION_WIDTH] = "Clone";
