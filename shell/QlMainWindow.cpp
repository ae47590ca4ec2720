#include "shell/QlMainWindow.h"

#include "catalogue/QlCatalogueOpen.h"
#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlMsgDialog.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "customers/QlCustModule.h"
#include "datastore/QlDb.h"
#include "netmail/QlMail.h"
#include "purchasing/QlPurchOpen.h"
#include "reports/QlReportsOpen.h"
#include "resources/QlResMenu.h"
#include "shell/QlAbout.h"
#include "shell/QlBackup.h"
#include "shell/QlCfgOpen.h"
#include "settings/QlLangTables.h"
#include "shell/QlMain.h"
#include "shell/QlPanels.h"
#include "settings/QlSettings.h"
#include "shell/QlShellTables.h"
#include "shell/QlShellTexts.h"
#include "transactions/QlTransOpen.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// The openers as commands of the main window.
static void OpenCustomers(HWND window)
{
    QlCustOpenModule(window);
}

static void OpenSuppliers(HWND window)
{
    QlSuppOpenWindow(window);
}

static void OpenTransactions(HWND window)
{
    QlTransPaneCreate(window);
}

static void OpenProducts(HWND window)
{
    QlProdOpenWindow(window);
}

static void OpenServices(HWND window)
{
    QlServOpenWindow(window);
}

static void OpenSettings(HWND window)
{
    QlCfgOpenFromMenu();
}

static void OpenReports(HWND window)
{
    QlReportsShow(window);
}

static void OpenSalesGraph(HWND window)
{
    QlSalesGraphOpen(window);
}

static void MakeBackup(HWND window)
{
    QlBackupCreate(window);
}

// The company manager, restore, settings, help and exit work without the
// company's data: they are the way to another company or back to the data.
QlMainCommand QlMainCommandTable[QL_MAIN_COMMAND_TABLE_COUNT] = {
    {0, IDM_MOD_CUSTOMERS, OpenCustomers, 1},
    {1, IDM_MOD_SUPPLIERS, OpenSuppliers, 1},
    {2, IDM_MOD_TRANSACTIONS, OpenTransactions, 1},
    {3, IDM_MOD_PRODUCTS, OpenProducts, 1},
    {4, IDM_MOD_SERVICES, OpenServices, 1},
    {5, IDM_MOD_SETTINGS, OpenSettings, 0},
    {6, IDM_FILE_COMPANIES, QlMainSwitchCompany, 0},
    {7, IDM_MOD_REPORTS, OpenReports, 1},
    {8, 0, OpenSalesGraph, 1},
    {10, IDM_HELP_CONTENTS, QlHelpOpen, 0},
    {-1, IDM_FILE_BACKUP, MakeBackup, 1},
    {-1, IDM_FILE_RESTORE, QlBackupRestore, 0},
    {-1, IDM_MOD_CLEARDOWN, QlTransCleardown, 1},
    {-1, IDM_HELP_ABOUT, QlAboutShow, 0},
    {-1, IDM_FILE_EXIT, QlMainExit, 0},
};

// Set on SC_MINIMIZE and SC_MAXIMIZE: a restore from the task bar keeps the
// layout; a restore from maximized lays the panels out again.
static int gMinimized;
static int gMaximized;

void QlMainSetTitle(void)
{
    if (!QlMainWnd) return;
    char title[256];
    snprintf(title, sizeof title, "%s %s : %s", QL_PRODUCT_NAME, QL_VERSION_TEXT, QlSettings.cfg.companyName);
    SetWindowTextA(QlMainWnd, title);
}

void QlMainExit(HWND mainWindow)
{
    const QlLangTextRec *text = QlLangText();
    if (QlSettings.cfg.backupOnExit) {
        // Yes: back up, and stay when no backup was made; No: end without
        // one; Cancel: back to the program.
        int answer = QlSeamMessageBox(mainWindow, text->BackupConfirmQuestion, text->BackupConfirmCaption,
                                      MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer != IDYES && answer != IDNO) return;
        if (answer == IDYES && !QlBackupCreate(mainWindow)) return;
    }
    DestroyWindow(mainWindow);
}

void QlMainFreePosted(void *block)
{
    if (!block) return;
    QlQuotePrefill *prefill = (QlQuotePrefill *)block;
    if (prefill->type == 4) {
        QlQuoteOpenNew(NULL, prefill);
        return;
    }
    free(block);
}

// ---------------------------------------------------------------------------
// Messages

static int FillPercentTable(void)
{
    for (int i = 0; i < 100; i++) {
        char *text = (char *)calloc(1, 5);
        if (!text) return 0;
        snprintf(text, 5, "%d%c", i, '%');
        QlPercentTextTable[i] = text;
    }
    return 1;
}

static LRESULT OnCreate(HWND window)
{
    QlMainWnd = window;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    InitCommonControls();
    QlMainCreateFonts(window);
    QlMainFitToDialogs(window);
    QlMainCreatePanels(window);
    SetFocus(window);
    FillPercentTable();
    PostMessageA(window, QL_WM_STARTUP, 0, 0);
    return 0;
}

// A tool-bar button's description for its tooltip.
static void OnToolTip(NMHDR *header)
{
    UINT_PTR command = header->idFrom;
    if (header->code == TTN_GETDISPINFOA) {
        NMTTDISPINFOA *info = (NMTTDISPINFOA *)header;
        info->hinst = QlUiInstance();
        if (command < QL_MAIN_COMMAND_COUNT) info->lpszText = QlToolbarTipTable[command];
    } else {
        static WCHAR wide[QL_TOOLBAR_TIP_WIDTH];
        NMTTDISPINFOW *info = (NMTTDISPINFOW *)header;
        info->hinst = QlUiInstance();
        if (command < QL_MAIN_COMMAND_COUNT &&
            MultiByteToWideChar(CP_ACP, 0, QlToolbarTipTable[command], -1, wide, ARRAYSIZE(wide)))
            info->lpszText = wide;
    }
}

static LRESULT OnCommand(HWND window, int id, WPARAM wParam, LPARAM lParam)
{
    // A list still loading lets the message pump run inside its database
    // statement: commands wait until it has ended (they may close the module,
    // switch the company or replace its database).
    if (QlDbIsBusy()) {
        PostMessageA(window, WM_COMMAND, wParam, lParam);
        return 0;
    }
    if (id >= 0 && id < QL_MAIN_COMMAND_COUNT && QlDescBarText) QlUiSetText(QlDescBarText, QlToolbarTipTable[id]);
    for (const QlMainCommand &command : QlMainCommandTable) {
        bool fromToolbar = command.toolbarId >= 0 && command.toolbarId == id;
        bool fromMenu = command.menuId != 0 && command.menuId == id;
        if (!fromToolbar && !fromMenu) continue;
        if (command.needsData && !QlDbIsOpen()) {
            char name[sizeof QlSettings.cfg.companyName + 1], message[512];
            snprintf(name, sizeof name, "%.*s", (int)strnlen(QlSettings.cfg.companyName, sizeof name - 1),
                     QlSettings.cfg.companyName);
            snprintf(message, sizeof message, QlShellText()->DbNotOpen, name);
            QlMsgBoxTall(window, QlLangText()->Error, message, QL_COLOUR_WARNING);
            return 0;
        }
        if (command.run) command.run(window);
        return 0;
    }
    return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

static LRESULT OnSysCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    if ((wParam & 0xFFF0) == SC_CLOSE && QlDbIsBusy()) {
        PostMessageA(window, WM_SYSCOMMAND, wParam, lParam);
        return 0;
    }
    switch (wParam & 0xFFF0) {
    case SC_MINIMIZE:
        gMinimized = 1;
        break;
    case SC_MAXIMIZE:
        gMinimized = 0;
        gMaximized = 1;
        PostMessageA(window, QL_WM_MAIN_MAXIMIZED, 0, 0);
        break;
    case SC_RESTORE:
        if (gMinimized) {
            gMinimized = 0;
            break;
        }
        ShowWindow(window, SW_SHOWNORMAL);
        if (gMaximized) {
            gMaximized = 0;
            PostMessageA(window, QL_WM_MAIN_RESTORED, 0, 0);
        }
        break;
    case SC_CLOSE:
        QlMainExit(window);
        return 0;   // the window is gone
    }
    return DefWindowProcA(window, WM_SYSCOMMAND, wParam, lParam);
}

static void OnTimer(UINT_PTR id)
{
    if (id == QL_TIMER_MAIL) QlMailTimerTick();
    else if (id == QL_TIMER_STATUS && QlStatusPanelWnd) PostMessageA(QlStatusPanelWnd, QL_WM_STATUS_CLEAR, 0, 0);
}

// The control that had the keyboard focus when the program lost the
// activation (a modal dialog opened, another program was chosen): it gets
// the focus back, so that Tab goes on in the module window or form.
static HWND gFocusKept;

static void OnActivate(HWND window, WPARAM wParam)
{
    if (LOWORD(wParam) != WA_INACTIVE) return;
    HWND focus = GetFocus();
    gFocusKept = focus && IsChild(window, focus) ? focus : NULL;
}

static void OnSetFocus(HWND window)
{
    HWND target = gFocusKept;
    gFocusKept = NULL;
    if (!target || !IsWindow(target) || !IsChild(window, target) || !IsWindowVisible(target) ||
        !IsWindowEnabled(target))
        target = QlModuleWnd && IsWindow(QlModuleWnd) ? GetNextDlgTabItem(QlModuleWnd, NULL, FALSE) : NULL;
    if (target) SetFocus(target);
}

static void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc) QlMainPaint(window, dc);
    EndPaint(window, &paint);
}

// The window and everything that lived in it are gone: the program-wide
// handles must not point at them any more.
static void OnFinalDestroy(void)
{
    QlMainWnd = NULL;
    QlModuleWnd = NULL;
    QlMainToolbarWnd = NULL;
    QlStatusPanelWnd = NULL;
    QlLangPanelWnd = NULL;
    QlDescBarWnd = NULL;
    QlDescBarText = NULL;
    gMinimized = 0;
    gMaximized = 0;
    gFocusKept = NULL;
}

LRESULT CALLBACK QlMainWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        return OnCreate(window);
    case QL_WM_STARTUP:
        QlMainStartCompany(window);
        return 0;
    case QL_WM_MAIL_EVENT:
        QlMailShowEvent((int)wParam, (char *)lParam);
        return 0;
    case QL_WM_MAIN_MAXIMIZED:
        QlMainLayout();
        return 0;
    case QL_WM_MAIN_RESTORED:
        QlMainRestoreLayout();
        return 0;
    case QL_WM_QUOTE_COPY:
        QlMainFreePosted((void *)lParam);
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_NOTIFY: {
        NMHDR *header = (NMHDR *)lParam;
        if (header->code == TTN_GETDISPINFOA || header->code == TTN_GETDISPINFOW) {
            OnToolTip(header);
            return 0;
        }
        break;
    }
    case WM_COMMAND:
        return OnCommand(window, LOWORD(wParam), wParam, lParam);
    case WM_SYSCOMMAND:
        return OnSysCommand(window, wParam, lParam);
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_ACTIVATE:
        OnActivate(window, wParam);
        break;
    case WM_SETFOCUS:
        OnSetFocus(window);
        return 0;
    case WM_DESTROY:
        QlMainShutdown(window);
        return 0;
    case WM_NCDESTROY:
        OnFinalDestroy();
        break;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}
