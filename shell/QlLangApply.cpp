#include "shell/QlLangApply.h"

#include "catalogue/QlCatalogueTables.h"
#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlToolbar.h"
#include "ui/QlUiText.h"
#include "ui/QlWindow.h"
#include "reports/QlReportTables.h"
#include "resources/QlResMenu.h"
#include "settings/QlCountries.h"
#include "settings/QlLangDlg.h"
#include "settings/QlLangTables.h"
#include "shell/QlShellTables.h"
#include "transactions/QlTransTables.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

// Copies text into a field of size bytes, cut to fit and terminated.
static void CopyText(char *field, size_t size, const char *text)
{
    size_t len = strnlen(text, size - 1);
    memcpy(field, text, len);
    field[len] = '\0';
}

template <size_t N>
static void CopyText(char (&field)[N], const char *text)
{
    CopyText(field, N, text);
}

// ---------------------------------------------------------------------------

void QlLangApplyMenus(int lang)
{
    HMENU menu = QlMainWnd ? GetMenu(QlMainWnd) : NULL;
    if (!menu) return;
    const QlLangMenuBar *bar = &QlLangMenuTable[QlLangIndex(lang)].bar;
    for (int p = 0; p < bar->popupCount && p < QL_MENU_POPUP_MAX; p++) {
        HMENU popup = GetSubMenu(menu, p);
        if (popup) ModifyMenuA(menu, p, MF_BYPOSITION | MF_POPUP | MF_STRING, (UINT_PTR)popup, bar->titles[p]);
    }
    for (int p = 0; p < bar->popupCount && p < QL_MENU_POPUP_MAX; p++) {
        const QlLangPopup *popup = &bar->popups[p];
        for (int i = 0; i < popup->count && i < QL_MENU_ITEM_MAX; i++)
            ModifyMenuA(menu, popup->ids[i], MF_BYCOMMAND | MF_STRING, popup->ids[i], popup->items[i]);
    }
    // Modules / Import has no action: it is shown, greyed (ModifyMenu above
    // enabled every entry again).
    EnableMenuItem(menu, IDM_MOD_IMPORT, MF_BYCOMMAND | MF_GRAYED);
    DrawMenuBar(QlMainWnd);
}

static void ApplyColumnTitles(QlListColumnTable *table, int count, const char (*titles)[40])
{
    for (int i = 0; i < count && i < table->count; i++) CopyText(table->columns[i].title, titles[i]);
}

static void ApplyMainToolbar(const QlLangTextRec *text, const QlLangMenuRec *menu, int recreate)
{
    for (int i = 0; i < QL_MAIN_TOOLBAR_COUNT; i++) {
        int command = QlMainToolbarTable[i].commandId;
        if (command >= 0 && command < QL_MAIN_COMMAND_COUNT)
            CopyText(QlMainToolbarTable[i].text, text->MainToolbar[command]);
    }
    // The description bar shows the last command's description: it shows
    // it in the new language too.
    int shown = -1;
    if (QlDescBarText) {
        char text[QL_TOOLBAR_TIP_WIDTH] = "";
        GetWindowTextA(QlDescBarText, text, sizeof text);
        for (int command = 0; command < QL_MAIN_COMMAND_COUNT && shown < 0 && text[0]; command++)
            if (!strcmp(text, QlToolbarTipTable[command])) shown = command;
    }
    for (int command = 0; command < QL_MAIN_COMMAND_COUNT; command++)
        CopyText(QlToolbarTipTable[command], menu->ToolbarTips[command]);
    if (shown >= 0) QlUiSetText(QlDescBarText, QlToolbarTipTable[shown]);

    if (recreate && QlMainToolbarWnd) {
        HWND parent = GetParent(QlMainToolbarWnd);
        QlToolbarDestroy(QlMainToolbarWnd, QlMainToolbarTable, QL_MAIN_TOOLBAR_COUNT);
        QlMainToolbarWnd = QlToolbarCreate(QlUiInstance(), parent, QlMainToolbarTable, QL_MAIN_TOOLBAR_COUNT, 0, 1);
        if (QlMainToolbarWnd && QlFontToolbar) SendMessageA(QlMainToolbarWnd, WM_SETFONT, (WPARAM)QlFontToolbar, TRUE);
    }
}

static void SetPaddedLabel(QlToolbarItem *item, const char *pad, const char *label)
{
    snprintf(item->text, sizeof item->text, "%s%s%s", pad, label, pad);
}

// The toolkit's own texts (question buttons, the document button bar).
static const char *LangUiText(int id)
{
    const QlLangTextRec *text = QlLangText();
    switch (id) {
    case QL_TEXT_OK: return text->Ok;
    case QL_TEXT_CANCEL: return text->Cancel;
    case QL_TEXT_CONFIRMATION: return text->Confirmation;
    case QL_TEXT_CLOSE_FORM_QUESTION: return text->CloseFormQuestion;
    case QL_TEXT_SAVE: return text->Save;
    case QL_TEXT_PRINT: return text->ViewPrint;
    case QL_TEXT_EMAIL: return text->ViewEmail;
    case QL_TEXT_PDF: return text->ViewPdf;
    case QL_TEXT_CLOSE: return text->Close;
    default: return NULL;
    }
}

void QlLangApply(int lang, int recreateToolbar, int replaceLetters)
{
    lang = QlLangIndex(lang);
    const QlLangTextRec *text = &QlLangTextTable[lang];
    const QlLangMenuRec *menu = &QlLangMenuTable[lang];

    QlLangApplyMenus(lang);
    ApplyMainToolbar(text, menu, recreateToolbar);

    QlLangCopyLabels(QlTransPaneToolbarTable, QL_TRANS_PANE_TOOLBAR_COUNT, text->TransToolbar);
    ApplyColumnTitles(&QlTransPaneListColumnTable, 7, menu->TransColumns);

    QlLangCopyLabels(QlProdToolbarTable, QL_PROD_TOOLBAR_COUNT, text->ProdToolbar);
    ApplyColumnTitles(&QlProdListColumnTable, 6, menu->ProdColumns);
    ApplyColumnTitles(&QlStockListColumnTable, 6, menu->ProdColumns);

    QlLangCopyLabels(QlServToolbarTable, QL_SERV_TOOLBAR_COUNT, text->ServToolbar);
    ApplyColumnTitles(&QlServListColumnTable, 3, menu->ServColumns);

    for (int i = 0; i < QL_REPORT_COUNT - 1; i++) QlReportNameTable[i + 1] = menu->ReportNames[i];
    for (int i = 0; i < QL_REPORT_COUNT; i++) QlReportDescTable[i] = menu->ReportDescs[i];

    QlInvoiceTypeTable[0] = text->InvTypeService;
    QlInvoiceTypeTable[1] = text->InvTypeProduct;

    memcpy(QlServLineHeadings, text->ServHeadings, sizeof QlServLineHeadings);
    memcpy(QlProdLineHeadings, text->ProdHeadings, sizeof QlProdLineHeadings);

    if (replaceLetters) QlLangSwitchLetters(lang, &QlSettings.cfg);

    if (QlLangPanelWnd) SetDlgItemTextA(QlLangPanelWnd, QL_LANG_PANEL_NAME_ID, QlLanguageNameTable[lang]);

    CopyText(QlFormSaveCaption, text->Save);
    CopyText(QlFormPrintCaption, text->Print);
    CopyText(QlFormCloseCaption, text->Close);
    CopyText(QlViewPrintCaption, text->ViewPrint);
    CopyText(QlViewEmailCaption, text->ViewEmail);
    CopyText(QlViewPdfCaption, text->ViewPdf);
    CopyText(QlDeliveryNoteCaption, text->DeliveryNote);
    // The clone button's word is the program's own, not the language record's.
    CopyText(QlQuoteCloneCaption, lang == QL_LANG_GERMAN ? "Kopieren" : lang == QL_LANG_FRENCH ? "Copier" : "Clone");

    // The shared tool bars of the forms and views, padded as their pictures expect.
    SetPaddedLabel(&QlSaveCloseToolbarTable[0], " ", text->Save);
    SetPaddedLabel(&QlSaveCloseToolbarTable[1], " ", text->Close);
    SetPaddedLabel(&QlDocViewToolbarTable[0], "  ", text->ViewPrint);
    SetPaddedLabel(&QlDocViewToolbarTable[1], "  ", text->ViewEmail);
    SetPaddedLabel(&QlDocViewToolbarTable[2], "  ", text->ViewPdf);
    SetPaddedLabel(&QlDocViewToolbarTable[3], "  ", text->Close);

    QlUiTextSource = LangUiText;
}

