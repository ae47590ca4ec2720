#include "shell/QlMain.h"

#include "ui/QlAppState.h"
#include "ui/QlFormCopy.h"
#include "ui/QlLayout.h"
#include "ui/QlMsgDialog.h"
#include "print/QlPicture.h"
#include "ui/QlSeams.h"
#include "ui/QlToolbar.h"
#include "core/QlWidePath.h"
#include "ui/QlWindow.h"
#include "customers/QlCustModule.h"
#include "datastore/QlDb.h"
#include "netmail/QlMail.h"
#include "resources/QlResIds.h"
#include "shell/QlAbout.h"
#include "shell/QlCfgOpen.h"
#include "shell/QlCompanyManager.h"
#include "shell/QlLangApply.h"
#include "shell/QlOpenerSetup.h"
#include "settings/QlLangTables.h"
#include "shell/QlMainWindow.h"
#include "shell/QlPanels.h"
#include "settings/QlSettings.h"
#include "shell/QlShellTables.h"
#include "shell/QlShellTexts.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static HANDLE gInstanceMutex;

int QlMainCheckInstance(void)
{
    HANDLE mutex = CreateMutexA(NULL, TRUE, QL_INSTANCE_MUTEX);
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return 1;
    }
    gInstanceMutex = mutex;
    return 0;
}

void QlMainReleaseInstance(void)
{
    if (!gInstanceMutex) return;
    ReleaseMutex(gInstanceMutex);
    CloseHandle(gInstanceMutex);
    gInstanceMutex = NULL;
}

// ---------------------------------------------------------------------------
// Shared GDI objects

void QlMainCreateBrushes(void)
{
    if (!QlBrushModuleBack) QlBrushModuleBack = CreateSolidBrush(RGB(188, 194, 200));
    if (!QlBrushWhite) QlBrushWhite = CreateSolidBrush(RGB(255, 255, 255));
    if (!QlBrushGreen) QlBrushGreen = CreateSolidBrush(RGB(0, 255, 0));
    if (!QlPenRed) QlPenRed = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
}

static HFONT MakeFont(LONG height, LONG width, LONG weight, const char *face)
{
    LOGFONTA font;
    memset(&font, 0, sizeof font);
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfWeight = weight;
    if (face) memcpy(font.lfFaceName, face, strnlen(face, sizeof font.lfFaceName - 1));
    return CreateFontIndirectA(&font);
}

void QlMainCreateFonts(HWND mainWindow)
{
    int pixelsPerInch = 96;
    HDC dc = GetDC(mainWindow);
    if (dc) {
        pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(mainWindow, dc);
    }
    QlFontWide12 = MakeFont(0, 12, 0, NULL);
    QlFontWide10 = MakeFont(0, 10, 0, NULL);
    QlFontToolbar = MakeFont(-(8 * pixelsPerInch / 72), 0, 600, "MS Sans Serif");
    QlFontBold12 = MakeFont(0, 12, FW_BOLD, NULL);
}

template <typename T>
static void DeleteShared(T &handle)
{
    if (handle) DeleteObject(handle);
    handle = NULL;
}

void QlMainFreeGdiObjects(void)
{
    DeleteShared(QlBrushModuleBack);
    DeleteShared(QlBrushWhite);
    DeleteShared(QlBrushGreen);
    DeleteShared(QlPenRed);
    DeleteShared(QlFontWide12);
    DeleteShared(QlFontWide10);
    DeleteShared(QlFontToolbar);
    DeleteShared(QlFontBold12);
    QlMainFreePaintFont();
}

// ---------------------------------------------------------------------------
// The main window

int QlMainRegisterClass(HINSTANCE instance)
{
    if (QlUiRegisterClass(instance, CS_HREDRAW | CS_VREDRAW, QlMainWndProc, IDC_ARROW, (HBRUSH)(COLOR_WINDOW + 1),
                          QlSettings.className, MAKEINTRESOURCEA(IDI_QUILLORY), MAKEINTRESOURCEA(IDR_MAIN_MENU)))
        return 1;
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

int QlMainCreateWindow(HINSTANCE instance, int showCmd)
{
    QlAppInstance = instance;
    char caption[64];
    snprintf(caption, sizeof caption, "%s %s", QL_PRODUCT_NAME, QL_VERSION_TEXT);
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAIN_MENU));
    // A captioned window with minimize and maximize boxes but no sizing border.
    HWND window = CreateWindowExA(0, QlSettings.className, caption,
                                  WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN, 0, 0,
                                  800, 580, NULL, menu, instance, NULL);
    if (!window) {
        if (menu) DestroyMenu(menu);
        return 0;
    }
    QlMainWnd = window;
    ShowWindow(window, showCmd);
    UpdateWindow(window);
    return 1;
}

static int CurrentCompany(void)
{
    return QlCompanies.current;
}

HWND QlMainStart(HINSTANCE instance, int showCmd)
{
    QlDbCurrentCompany = CurrentCompany;
    QlShellSetOpeners();
    QlMainCreateBrushes();
    if (!QlMainRegisterClass(instance) || !QlMainCreateWindow(instance, showCmd)) return NULL;
    return QlMainWnd;
}

static void SystemMessage(const char *text)
{
    QlSeamMessageBox(NULL, text, NULL, MB_OK);
}

HWND QlMainKeyDialog(HWND window)
{
    HWND dialog = NULL;
    for (HWND w = window; w; w = (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : NULL) {
        char cls[16] = "";
        GetClassNameA(w, cls, sizeof cls);
        if (strcmp(cls, "#32770") != 0) {
            if (dialog) break;   // a dialog inside another kind of window (a settings page in its tabs)
            continue;
        }
        dialog = w;
        if (!(GetWindowLongA(w, GWL_STYLE) & DS_CONTROL)) break;   // a dialog of its own
    }
    return dialog;
}

// The dialog's own navigation (IsDialogMessage) would also take Enter and
// Escape: it asks the focused control with the message, which puts an edit
// into its dialog mode, and an edit in that mode answers Enter with IDOK to
// its dialog.  The forms number their tool-bar commands from 0, so IDOK and
// IDCANCEL are tool-bar commands there: only the moving keys are taken here,
// through WM_NEXTDLGCTL, and the controls are asked without the message.
int QlMainDialogMessage(MSG *msg)
{
    if (msg->message != WM_KEYDOWN) return 0;
    WPARAM key = msg->wParam;
    int arrow = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
    if ((key != VK_TAB && !arrow) || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return 0;
    HWND dialog = QlMainKeyDialog(msg->hwnd);
    if (!dialog || !IsWindowEnabled(dialog)) return 0;
    LRESULT wants = SendMessageA(msg->hwnd, WM_GETDLGCODE, 0, 0);
    if (wants & DLGC_WANTMESSAGE) return 0;
    if (key == VK_TAB) {
        if (wants & DLGC_WANTTAB) return 0;
        SendMessageA(dialog, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0, FALSE);
        return 1;
    }
    if (wants & DLGC_WANTARROWS) return 0;
    HWND next = GetNextDlgGroupItem(dialog, msg->hwnd, key == VK_LEFT || key == VK_UP);
    if (!next || next == msg->hwnd) return 0;
    SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)next, TRUE);
    return 1;
}

int QlMainRun(HINSTANCE instance, int showCmd)
{
    if (QlMainCheckInstance()) return 0;
    QlCfgFillTaxDefaults();   // also parses the rates from the rate texts
    // Taken through the wide call: a folder whose name has letters outside
    // the ANSI code page is kept in a form that every later path built on
    // it can use.
    if (!QlCurrentDirAnsi(QlWorkDir, sizeof QlWorkDir)) {
        QlWorkDir[0] = '\0';
        SystemMessage(QlLangText()->NoWorkDir);
        QlMainReleaseInstance();
        return 0;
    }
    if (!QlPictureLibLoad()) {
        SystemMessage(QlLangText()->GraphicsLibFailed);
        QlMainReleaseInstance();
        return 0;
    }
    if (!QlMainStart(instance, showCmd)) {
        QlPictureLibFree();
        QlMainReleaseInstance();
        return 0;
    }

    // The resources define no accelerators: every message is translated and
    // dispatched as it comes, the keys of the modeless dialogs through dialog
    // navigation.
    MSG msg;
    memset(&msg, 0, sizeof msg);
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (QlMainDialogMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (QlMainWnd) DestroyWindow(QlMainWnd);

    QlLangFreeFlag();
    QlPictureLibFree();
    QlFormCopyFree();
    return msg.message == WM_QUIT ? (int)msg.wParam : 0;
}

// ---------------------------------------------------------------------------
// The company

static void CreateMainToolbar(HWND mainWindow)
{
    if (QlMainToolbarWnd) return;
    QlMainToolbarWnd = QlToolbarCreate(QlUiInstance(), mainWindow, QlMainToolbarTable, QL_MAIN_TOOLBAR_COUNT, 0, 1);
    if (QlMainToolbarWnd && QlFontToolbar) SendMessageA(QlMainToolbarWnd, WM_SETFONT, (WPARAM)QlFontToolbar, TRUE);
}

// The old record files that a company brought from an earlier version: its
// database is made from them at the first open.
static int HasOldRecordFiles(int company)
{
    static const char *const kFiles[] = {"customers.dta", "prod.dta", "trans.dta"};
    for (const char *file : kFiles) {
        char path[MAX_PATH];
        int n = snprintf(path, sizeof path, QL_COMPANY_FOLDER_FORMAT "\\%s", (unsigned)company, file);
        if (n > 0 && (size_t)n < sizeof path && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return 1;
    }
    return 0;
}

int QlMainOpenCompanyData(HWND owner)
{
    const QlShellTextRec *text = QlShellText();
    char file[MAX_PATH], path[2 * MAX_PATH], err[QL_DB_ERR_SIZE] = "", message[1024];
    char name[sizeof QlSettings.cfg.companyName + 1];
    snprintf(name, sizeof name, "%.*s", (int)strnlen(QlSettings.cfg.companyName, sizeof name - 1),
             QlSettings.cfg.companyName);
    if (!QlCompanyDbPath(file, sizeof file)) return 0;
    snprintf(path, sizeof path, "%s%s%s", QlWorkDir, QlWorkDir[0] ? "\\" : "", file);
    // A company's database goes missing only by accident: an empty one is
    // made only when the user agrees.
    if (GetFileAttributesA(file) == INVALID_FILE_ATTRIBUTES && !HasOldRecordFiles(QlCompanies.current)) {
        snprintf(message, sizeof message, text->DbMissing, path, name);
        if (!QlMsgAskOkCancel(owner, text->DbMissingCaption, message, QL_COLOUR_WARNING)) return 0;
    }
    if (QlCompanyDbOpen(err)) return 1;
    snprintf(message, sizeof message, text->DbDamaged, path, name, err);
    QlMsgBoxTall(owner, text->DbDamagedCaption, message, QL_COLOUR_WARNING);
    return 0;
}

void QlMainDataOpened(HWND mainWindow)
{
    CreateMainToolbar(mainWindow);
    QlMainSetTitle();
}

// Everything that follows the open company: language, labels, flag,
// database, tool bar, title; the first start also shows the About box.
// 0 when the company's data did not open (the user was told why).
static int EnterCompany(HWND mainWindow, int firstStart)
{
    const QlSettingsRec *cfg = &QlSettings.cfg;
    QlLangApply(cfg->language, !firstStart, 0);
    QlVatUpdateLabels();
    if (firstStart) QlAboutShow(mainWindow);
    QlLangShowFlag(cfg->language, cfg->country);
    QlMainSetTitle();   // the title names the company whatever follows
    if (!QlMainOpenCompanyData(mainWindow)) return 0;
    QlMainDataOpened(mainWindow);
    if (!cfg->companyName[0] || !cfg->address1[0]) {
        QlCfgStartPage = 1;
        QlCfgOpen(mainWindow);
    }
    return 1;
}

// Makes the company loaded in the manager the current one.
static void TakeCompany(int company, const QlSettingsRec *loaded)
{
    if (company == QlCompanies.current) return;
    QlCfgSave();
    QlCompanyDbClose();
    QlCustModuleForget();   // the remembered account belonged to the old company
    QlCompanies.current = company;
    memcpy(&QlSettings.cfg, loaded, sizeof QlSettings.cfg);
    QlVatBuildRateList();
}

// The company's data did not open: the manager, until a company whose data
// opens is loaded, or the user closes it (the company stays, without data:
// its backups can be restored into it, and another company loaded).
static void ChooseAnotherCompany(HWND mainWindow)
{
    static QlSettingsRec loaded;
    for (;;) {
        int company = -1;
        if (!QlCompanyManagerChoose(mainWindow, &QlCompanies, &QlSettings.cfg, &company, &loaded)) {
            QlMainSetTitle();
            return;
        }
        TakeCompany(company, &loaded);
        if (EnterCompany(mainWindow, 0)) return;
    }
}

void QlMainStartCompany(HWND mainWindow)
{
    QlCompanyScan(&QlCompanies, NULL);
    QlCompanyManagerOpen(&QlCompanies, &QlSettings.cfg);
    if (QlCompanies.current == -1) {
        DestroyWindow(mainWindow);
        return;
    }
    if (!EnterCompany(mainWindow, 1)) ChooseAnotherCompany(mainWindow);
}

void QlMainSwitchCompany(HWND mainWindow)
{
    static QlSettingsRec loaded;
    int company = -1;
    int chosen = QlCompanyManagerChoose(mainWindow, &QlCompanies, &QlSettings.cfg, &company, &loaded);
    // The open company chosen again: its data opened again when it had none.
    if (!chosen || (company == QlCompanies.current && QlDbIsOpen())) {
        QlMainSetTitle();   // the open company may have been renamed
        return;
    }
    TakeCompany(company, &loaded);
    if (!EnterCompany(mainWindow, 0)) ChooseAnotherCompany(mainWindow);
}

// ---------------------------------------------------------------------------
// Shutdown

static void FreePercentTable(void)
{
    for (int i = 0; i < 100 && QlPercentTextTable[i]; i++) {
        free(QlPercentTextTable[i]);
        QlPercentTextTable[i] = NULL;
    }
}

void QlMainShutdown(HWND mainWindow)
{
    QlMailStop();   // a send still running ends with the program
    if (QlModuleWnd) SendMessageA(QlModuleWnd, QL_WM_MAIN_CLOSING, 0, 0);
    QlMainFreeGdiObjects();
    QlCompanyDbClose();
    QlMainReleaseInstance();
    QlCfgSave();
    FreePercentTable();
    QlToolbarDestroy(QlMainToolbarWnd, QlMainToolbarTable, QL_MAIN_TOOLBAR_COUNT);
    QlMainToolbarWnd = NULL;
    PostQuitMessage(0);
}
