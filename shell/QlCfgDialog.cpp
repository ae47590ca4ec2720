// The settings window (dialog 202): a module window with a tab control of six
// pages.  Only the page of the selected tab exists; it is a child dialog of
// the tab control, created when its tab is chosen.  Every page carries the
// same Save / Close tool bar: Save stores the page into the settings record
// (some pages also write the settings file), and both buttons close the
// whole window.  This file holds the window and what the pages share.

#include "shell/QlCfgOpen.h"
#include "shell/QlCfgPages.h"
#include "shell/QlShellTexts.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlMsgDialog.h"
#include "ui/QlToolbar.h"
#include "ui/QlWindow.h"
#include "resources/QlResIds.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"
#include "shell/QlMainWindow.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#define HEADING_COLOUR RGB(128, 0, 0)

int QlCfgStartPage = 0;

static const struct {
    int templateId;
    DLGPROC procedure;
} kPages[QL_CFG_PAGE_COUNT] = {
    {IDD_CFG_LANG, QlCfgLangPageDlgProc},       {IDD_CFG_COMPANY, QlCfgCompanyPageDlgProc},
    {IDD_CFG_INVOICE, QlCfgInvoicePageDlgProc}, {IDD_CFG_TAX, QlCfgTaxPageDlgProc},
    {IDD_CFG_MAIL, QlCfgMailPageDlgProc},       {IDD_CFG_LETTERS, QlCfgLettersPageDlgProc},
};

static HWND sContainer;
static HWND sHeading;
static HWND sPage;
static int sPageIndex = -1;

// The shared Save / Close bar of the forms, in a table of the pages' own.
static QlToolbarItem sPageToolbarTable[2] = {
    {IDBMP_SAVE, QL_CFG_CMD_SAVE, NULL, " Save "},
    {IDBMP_CLOSE, QL_CFG_CMD_CLOSE, NULL, " Close "},
};
static HWND sPageToolbar;

HWND QlCfgWindow(void)
{
    return sContainer;
}

HWND QlCfgPageWindow(void)
{
    return sPage;
}

int QlCfgPageIndex(void)
{
    return sPageIndex;
}

static void ForgetPage(void)
{
    sPage = NULL;
    sPageIndex = -1;
}

// ---------------------------------------------------------------------------
// Openers

HWND QlCfgOpen(HWND parent)
{
    ForgetPage();
    QlUiDestroyModule();
    HWND container = QlUiCreateModeless(QlUiInstance(), parent, QlCfgDlgProc, IDD_CFG);
    if (container && !IsWindow(container)) container = NULL;
    if (container) QlModuleWnd = container;
    QlMainSetTitle();
    return container;
}

HWND QlCfgOpenFromMenu(void)
{
    QlCfgStartPage = 0;
    return QlCfgOpen(QlMainWnd);
}

// ---------------------------------------------------------------------------
// The container

void QlCfgShowPage(HWND container, int index)
{
    if (index < 0 || index >= QL_CFG_PAGE_COUNT || !container) return;
    if (sPage && IsWindow(sPage) && sPageIndex == index) return;
    if (sPage) {
        HWND old = sPage;
        ForgetPage();
        DestroyWindow(old);
    }
    HWND tabs = GetDlgItem(container, IDC_CFG_TABS);
    if ((int)SendMessageA(tabs, TCM_GETCURSEL, 0, 0) != index) SendMessageA(tabs, TCM_SETCURSEL, index, 0);
    sPageIndex = index;
    sPage = QlUiCreateModeless(QlUiInstance(), tabs, kPages[index].procedure, kPages[index].templateId);
    if (!sPage) sPageIndex = -1;
}

void QlCfgRelabelTabs(HWND container)
{
    if (!container) return;
    HWND tabs = GetDlgItem(container, IDC_CFG_TABS);
    const QlLangMenuRec *menu = QlLangMenu();
    for (int i = 0; i < QL_CFG_PAGE_COUNT; i++) {
        TCITEMA item;
        memset(&item, 0, sizeof item);
        item.mask = TCIF_TEXT;
        item.pszText = (char *)menu->SettingsTabs[i];
        SendMessageA(tabs, TCM_SETITEMA, i, (LPARAM)&item);
    }
    if (container == sContainer && sHeading) QlUiSetText(sHeading, QlLangText()->Settings);
}

static BOOL OnInitDialog(HWND container)
{
    sContainer = container;
    QlUiFitPane(container);
    sHeading = QlUiCreateStatic(QlUiInstance(), container, 0, 0, 650, 20, 0, 1);
    if (QlFontBold12) SendMessageA(sHeading, WM_SETFONT, (WPARAM)QlFontBold12, FALSE);
    QlUiSetText(sHeading, QlLangText()->Settings);
    QlUiStretchRight(sHeading, 0);

    HWND tabs = GetDlgItem(container, IDC_CFG_TABS);
    QlUiStretchRight(tabs, 2);
    QlUiStretchDown(tabs, 2);
    const QlLangMenuRec *menu = QlLangMenu();
    for (int i = 0; i < QL_CFG_PAGE_COUNT; i++) {
        TCITEMA item;
        memset(&item, 0, sizeof item);
        item.mask = TCIF_TEXT;
        item.pszText = (char *)menu->SettingsTabs[i];
        SendMessageA(tabs, TCM_INSERTITEMA, i, (LPARAM)&item);
    }
    int start = QlCfgStartPage >= 0 && QlCfgStartPage < QL_CFG_PAGE_COUNT ? QlCfgStartPage : 0;
    QlCfgShowPage(container, start);
    return TRUE;
}

static void OnNotify(HWND container, const NMHDR *header)
{
    if (header->idFrom == IDC_CFG_TABS && header->code == TCN_SELCHANGE)
        QlCfgShowPage(container, (int)SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0));
}

static INT_PTR OnCtlColorStatic(HDC dc, HWND control)
{
    if (!control || control != sHeading) return FALSE;
    SetTextColor(dc, HEADING_COLOUR);
    SetBkMode(dc, TRANSPARENT);
    return (INT_PTR)GetSysColorBrush(COLOR_BTNFACE);
}

static void OnDestroy(HWND container)
{
    if (QlModuleWnd == container) QlModuleWnd = NULL;
    if (sContainer != container) return;
    sContainer = NULL;
    sHeading = NULL;
    ForgetPage();
}

INT_PTR CALLBACK QlCfgDlgProc(HWND container, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(container);
    case WM_NOTIFY: OnNotify(container, (const NMHDR *)lParam); return FALSE;
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic((HDC)wParam, (HWND)lParam);
    case QL_WM_CFG_CLOSE:
        ForgetPage();
        QlUiClosePane(container);
        return TRUE;
    // A new window takes the new size of the module area.
    case QL_WM_MAIN_MAXIMIZED:
    case QL_WM_MAIN_RESTORED: QlCfgOpen(GetParent(container)); return TRUE;
    case WM_CLOSE: return TRUE;   // the dialog manager would make it IDCANCEL
    case WM_DESTROY: OnDestroy(container); return FALSE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// What the pages share

HWND QlCfgPageToolbarCreate(HWND page)
{
    QlCfgPageToolbarDestroy();
    for (int i = 0; i < 2; i++)
        memcpy(sPageToolbarTable[i].text, QlSaveCloseToolbarTable[i].text, sizeof sPageToolbarTable[i].text);
    sPageToolbar = QlToolbarCreate(QlUiInstance(), page, sPageToolbarTable, 2, 1, 0);
    if (sPageToolbar && QlFontToolbar) SendMessageA(sPageToolbar, WM_SETFONT, (WPARAM)QlFontToolbar, TRUE);
    return sPageToolbar;
}

void QlCfgPageToolbarDestroy(void)
{
    QlToolbarDestroy(sPageToolbar, sPageToolbarTable, 2);
    sPageToolbar = NULL;
}

HWND QlCfgPageToolbar(void)
{
    return sPageToolbar;
}

void QlCfgPageInit(HWND page)
{
    HWND tabs = GetParent(page);
    RECT area;
    GetClientRect(tabs, &area);
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, (LPARAM)&area);
    MoveWindow(page, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    QlCfgPageToolbarCreate(page);
}

int QlCfgSaveRefused;

int QlCfgPageCommand(HWND page, int id, int code, void (*save)(HWND page))
{
    if (code != BN_CLICKED || (id != QL_CFG_CMD_SAVE && id != QL_CFG_CMD_CLOSE)) return 0;
    QlCfgSaveRefused = 0;
    if (id == QL_CFG_CMD_SAVE && save) save(page);
    if (QlCfgSaveRefused) {
        QlCfgSaveRefused = 0;
        return 1;
    }
    HWND container = GetParent(GetParent(page));
    if (container) PostMessageA(container, QL_WM_CFG_CLOSE, 0, 0);
    return 1;
}

void QlCfgSaveFile(HWND page)
{
    if (!QlCfgSave()) QlMsgBox(page, QlLangText()->Error, QlShellText()->CfgSaveFailed, QL_COLOUR_WARNING);
}

void QlCfgFillFields(HWND page, const QlCfgTextField *fields, int count, const QlSettingsRec *rec)
{
    for (int i = 0; i < count; i++) {
        const QlCfgTextField *f = &fields[i];
        char text[1024];
        size_t width = f->width < sizeof text ? f->width : sizeof text;
        memcpy(text, (const char *)rec + f->offset, width);
        text[width - 1] = '\0';
        SendDlgItemMessageA(page, f->id, EM_LIMITTEXT, f->limit, 0);
        SetDlgItemTextA(page, f->id, text);
    }
}

void QlCfgStoreFields(HWND page, const QlCfgTextField *fields, int count, QlSettingsRec *rec)
{
    for (int i = 0; i < count; i++) {
        char *field = (char *)rec + fields[i].offset;
        memset(field, 0, fields[i].width);
        QlUiGetField(page, fields[i].id, field, (int)fields[i].width);
    }
}

int QlCfgParseNumber(const char *text, int maxDigits, unsigned *value)
{
    unsigned v = 0;
    int digits = 0;
    for (const char *p = text; *p; p++, digits++) {
        if (*p < '0' || *p > '9' || digits >= maxDigits) return 0;
        v = v * 10 + (unsigned)(*p - '0');
    }
    if (digits == 0) return 0;
    *value = v;
    return 1;
}

int QlCfgReadNumber(HWND page, int id, int maxDigits, unsigned *value)
{
    char text[32];
    QlUiGetField(page, id, text, sizeof text);
    return QlCfgParseNumber(text, maxDigits, value);
}
