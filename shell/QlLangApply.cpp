#include "shell/QlLangApply.h"

#include "catalogue/QlCatalogueTables.h"
#include "common/QlAppState.h"
#include "reports/QlReportTables.h"
#include "shell/QlCountries.h"
#include "shell/QlLangTables.h"
#include "shell/QlShellTables.h"
#include "transactions/QlTransTables.h"

#include <commctrl.h>
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
// Main tool bar re-creation, as the common tool-bar routines build it: large
// pictures with their labels, tooltips on, along the top.

static void DestroyMainToolbar(HWND toolbar, QlToolbarItem *items, int count)
{
    HIMAGELIST images = (HIMAGELIST)SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0);
    DestroyWindow(toolbar);
    if (images) ImageList_Destroy(images);
    for (int i = 0; i < count; i++) {
        if (items[i].bitmap) DeleteObject(items[i].bitmap);
        items[i].bitmap = NULL;
    }
}

static HWND CreateMainToolbar(HINSTANCE instance, HWND parent, QlToolbarItem *items, int count)
{
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, NULL, WS_CHILD | TBSTYLE_TRANSPARENT | TBSTYLE_TOOLTIPS,
                                   0, 0, 0, 0, parent, NULL, instance, NULL);
    if (!toolbar) return NULL;
    HIMAGELIST images = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, count, 0);
    if (!images) {
        DestroyWindow(toolbar);
        return NULL;
    }
    TBBUTTON buttons[QL_TOOLBAR_MAX_BUTTONS];
    memset(buttons, 0, sizeof buttons);
    for (int i = 0; i < count && i < QL_TOOLBAR_MAX_BUTTONS; i++) {
        items[i].bitmap = LoadBitmapA(instance, MAKEINTRESOURCEA(items[i].bitmapId));
        int image = items[i].bitmap ? ImageList_Add(images, items[i].bitmap, NULL) : -1;
        if (image < 0) {
            ImageList_Destroy(images);
            DestroyWindow(toolbar);
            return NULL;
        }
        buttons[i].iBitmap = image;
        buttons[i].idCommand = items[i].commandId;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_AUTOSIZE;
        buttons[i].iString = (INT_PTR)items[i].text;
    }
    SendMessageA(toolbar, TB_SETIMAGELIST, 0, (LPARAM)images);
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar, TB_ADDBUTTONSA, count, (LPARAM)buttons);
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    ShowWindow(toolbar, SW_SHOWNORMAL);
    return toolbar;
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
    DrawMenuBar(QlMainWnd);
}

static void ApplyToolbarLabels(QlToolbarItem *items, int count, const char (*labels)[80])
{
    for (int i = 0; i < count; i++) CopyText(items[i].text, labels[i]);
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
    for (int command = 0; command < QL_MAIN_COMMAND_COUNT; command++)
        CopyText(QlToolbarTipTable[command], menu->ToolbarTips[command]);

    if (recreate && QlMainToolbar) {
        HWND parent = GetParent(QlMainToolbar);
        DestroyMainToolbar(QlMainToolbar, QlMainToolbarTable, QL_MAIN_TOOLBAR_COUNT);
        QlMainToolbar = CreateMainToolbar(QlAppInstance, parent, QlMainToolbarTable, QL_MAIN_TOOLBAR_COUNT);
        if (QlMainToolbar && QlFontToolbar) SendMessageA(QlMainToolbar, WM_SETFONT, (WPARAM)QlFontToolbar, TRUE);
    }
}

void QlLangCopyLetters(int lang, QlSettingsRec *rec)
{
    memcpy(rec->letters, QlLangTextTable[QlLangIndex(lang)].Letters, sizeof rec->letters);
}

void QlLangApply(int lang, int recreateToolbar, int replaceLetters)
{
    lang = QlLangIndex(lang);
    const QlLangTextRec *text = &QlLangTextTable[lang];
    const QlLangMenuRec *menu = &QlLangMenuTable[lang];

    QlLangApplyMenus(lang);
    ApplyMainToolbar(text, menu, recreateToolbar);

    ApplyToolbarLabels(QlTransPaneToolbarTable, QL_TRANS_PANE_TOOLBAR_COUNT, text->TransToolbar);
    ApplyColumnTitles(&QlTransPaneListColumnTable, 7, menu->TransColumns);

    ApplyToolbarLabels(QlProdToolbarTable, QL_PROD_TOOLBAR_COUNT, text->ProdToolbar);
    ApplyColumnTitles(&QlProdListColumnTable, 6, menu->ProdColumns);
    ApplyColumnTitles(&QlStockListColumnTable, 6, menu->ProdColumns);

    ApplyToolbarLabels(QlServToolbarTable, QL_SERV_TOOLBAR_COUNT, text->ServToolbar);
    ApplyColumnTitles(&QlServListColumnTable, 3, menu->ServColumns);

    for (int i = 0; i < QL_REPORT_COUNT - 1; i++) QlReportNameTable[i + 1] = menu->ReportNames[i];
    for (int i = 0; i < QL_REPORT_COUNT; i++) QlReportDescTable[i] = menu->ReportDescs[i];

    QlInvoiceTypeTable[0] = text->InvTypeService;
    QlInvoiceTypeTable[1] = text->InvTypeProduct;

    memcpy(QlServLineHeadings, text->ServHeadings, sizeof QlServLineHeadings);
    memcpy(QlProdLineHeadings, text->ProdHeadings, sizeof QlProdLineHeadings);

    if (replaceLetters) QlLangCopyLetters(lang, &QlSettings.cfg);

    if (QlLangPanel) SetDlgItemTextA(QlLangPanel, QL_LANG_PANEL_NAME_ID, QlLanguageNameTable[lang]);

    CopyText(QlFormSaveCaption, text->Save);
    CopyText(QlFormPrintCaption, text->Print);
    CopyText(QlFormCloseCaption, text->Close);
    CopyText(QlViewPrintCaption, text->ViewPrint);
    CopyText(QlViewEmailCaption, text->ViewEmail);
    CopyText(QlViewPdfCaption, text->ViewPdf);
    CopyText(QlDeliveryNoteCaption, text->DeliveryNote);
    // The clone button's word is the program's own, not the language record's.
    CopyText(QlQuoteCloneCaption, lang == QL_LANG_GERMAN ? "Kopieren" : lang == QL_LANG_FRENCH ? "Copier" : "Clone");
}

void QlLangSetDlgTexts(HWND dialog, QlToolbarItem *table)
{
    const QlLangTextRec *text = QlLangText();
    const QlLangMenuRec *menu = QlLangMenu();
    if (table) ApplyToolbarLabels(table, QL_CUST_TOOLBAR_COUNT, text->CustToolbar);
    const int capacity = (int)(sizeof menu->CustDlgTexts / sizeof menu->CustDlgTexts[0]);
    for (int i = 0; i < capacity && menu->CustDlgTexts[i].id != QL_LANG_DLG_END; i++)
        SetDlgItemTextA(dialog, menu->CustDlgTexts[i].id, menu->CustDlgTexts[i].text);
}

// Adds the texts of a null-ended list to a combo box and selects the first
// entry that begins with entry index, as the common combo filler does.
static int FillCombo(HWND dialog, const char *const *texts, int id, int index)
{
    HWND combo = GetDlgItem(dialog, id);
    if (!combo) return CB_ERR;
    for (int i = 0; texts[i]; i++) SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)texts[i]);
    return (int)SendMessageA(combo, CB_SELECTSTRING, 0, (LPARAM)texts[index]);
}

void QlLangFillCombos(HWND dialog, const QlSettingsRec *rec)
{
    int country = rec->country >= 0 && rec->country < QL_COUNTRY_COUNT ? rec->country : 0;
    FillCombo(dialog, QlLanguageNameTable, QL_LANG_COMBO_ID, QlLangIndex(rec->language));
    FillCombo(dialog, QlCountryNameTable, QL_COUNTRY_COMBO_ID, country);
}
