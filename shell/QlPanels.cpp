#include "shell/QlPanels.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "print/QlPicture.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "resources/QlResShell.h"
#include "settings/QlCountries.h"
#include "settings/QlLangTables.h"
#include "shell/QlMainWindow.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

HWND QlDescBarWnd = NULL;

// The customers module's template: the main window is sized to hold it.
static const int kModuleTemplate = 120;
// Where the module template is measured: below the tool bar.
static const int kModuleTop = 56;

// The message panel: the text it holds (its own heap block), its colour and
// whether timer 3 of the main window is armed for it.
static struct {
    char *text;
    COLORREF colour;
    int timerArmed;
} gStatus;

// The main window's rectangles, recorded when it is sized and painted.
static RECT gMainWindowRect;
static RECT gMainClientRect;
static RECT gLangPanelClient;

// The panels' places before a maximize: message panel, language panel,
// description bar.
static QlUiRectRec gSavedPanels[3];
static int gPanelsSaved;

static HFONT gBannerFont;
static HBITMAP gFlag;
static QlPictureSizeRec gFlagSize;

// ---------------------------------------------------------------------------
// Message panel

static void StatusShow(HWND panel, const char *text)
{
    SetDlgItemTextA(panel, IDT_STATUS_TEXT, text);
}

// Frees the held text and disarms the timer.
static void StatusClear(void)
{
    free(gStatus.text);
    gStatus.text = NULL;
    if (gStatus.timerArmed) {
        if (QlMainWnd) KillTimer(QlMainWnd, QL_TIMER_STATUS);
        gStatus.timerArmed = 0;
    }
}

static void OnStatusText(HWND panel, COLORREF colour, char *text)
{
    gStatus.colour = 0;
    StatusShow(panel, "");
    StatusClear();
    if (!text) return;
    gStatus.text = text;
    gStatus.colour = colour;
    StatusShow(panel, text);
    if (!QlMainWnd || !IsWindow(QlMainWnd) || !SetTimer(QlMainWnd, QL_TIMER_STATUS, QL_STATUS_SHOW_MS, NULL)) {
        // Without the timer nothing would ever take the text away.
        gStatus.colour = 0;
        StatusShow(panel, "");
        free(gStatus.text);
        gStatus.text = NULL;
        return;
    }
    gStatus.timerArmed = 1;
}

INT_PTR CALLBACK QlStatusPanelDlgProc(HWND panel, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        QlUiMoveToRight(panel, 0);
        QlUiMoveToBottom(panel, 0);
        StatusShow(panel, "");
        StatusClear();
        return TRUE;
    case QL_WM_STATUS_SHOW:
        OnStatusText(panel, (COLORREF)wParam, (char *)lParam);
        return TRUE;
    case QL_WM_STATUS_CLEAR:
        StatusClear();
        gStatus.colour = 0;
        StatusShow(panel, "");
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if ((HWND)lParam != GetDlgItem(panel, IDT_STATUS_TEXT)) return FALSE;
        SetTextColor((HDC)wParam, gStatus.colour);
        SetBkColor((HDC)wParam, RGB(255, 255, 255));
        return (INT_PTR)(QlBrushWhite ? QlBrushWhite : (HBRUSH)GetStockObject(WHITE_BRUSH));
    case WM_DESTROY:
        StatusClear();
        return FALSE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Language panel and description bar

INT_PTR CALLBACK QlLangPanelDlgProc(HWND panel, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_INITDIALOG) return FALSE;
    QlUiMoveToBottom(panel, 0);
    GetClientRect(panel, &gLangPanelClient);
    return TRUE;
}

INT_PTR CALLBACK QlDescBarDlgProc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_INITDIALOG) return FALSE;
    int langWidth = 0, langTop = 0, langLeft = 0, statusLeft = 0, height = 0;
    QlUiGetRectInParent(QlLangPanelWnd, &langWidth, NULL, &langTop, &langLeft);
    QlUiGetRectInParent(QlStatusPanelWnd, NULL, NULL, NULL, &statusLeft);
    QlUiGetRectInParent(bar, NULL, &height, NULL, NULL);
    int left = langLeft + langWidth;
    MoveWindow(bar, left, langTop, statusLeft - left, height, TRUE);
    QlUiStretchItemRight(bar, IDT_DESC_TEXT, 0);
    return TRUE;
}

int QlMainCreatePanels(HWND mainWindow)
{
    HINSTANCE instance = QlUiInstance();
    QlStatusPanelWnd = QlUiCreateModeless(instance, mainWindow, QlStatusPanelDlgProc, IDD_STATUS_PANEL);
    QlLangPanelWnd = QlUiCreateModeless(instance, mainWindow, QlLangPanelDlgProc, IDD_LANG_PANEL);
    QlDescBarWnd = QlUiCreateModeless(instance, mainWindow, QlDescBarDlgProc, IDD_DESC_BAR);
    QlDescBarText = QlDescBarWnd ? GetDlgItem(QlDescBarWnd, IDT_DESC_TEXT) : NULL;
    return QlStatusPanelWnd && QlLangPanelWnd && QlDescBarWnd;
}

// ---------------------------------------------------------------------------
// Size and layout

static INT_PTR CALLBACK MeasureDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return msg == WM_INITDIALOG;
}

// The window rectangle of the template created as a child at (x, y); 0 when
// it cannot be created.
static int MeasureTemplate(HWND mainWindow, int templateId, int x, int y, RECT *rect)
{
    HWND dialog = CreateDialogParamA(QlUiInstance(), MAKEINTRESOURCEA(templateId), mainWindow, MeasureDlgProc, 0);
    if (!dialog) return 0;
    SetWindowPos(dialog, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(dialog, rect);
    DestroyWindow(dialog);
    return 1;
}

static void RecordMainRects(HWND mainWindow)
{
    GetWindowRect(mainWindow, &gMainWindowRect);
    GetClientRect(mainWindow, &gMainClientRect);
}

void QlMainFitToDialogs(HWND mainWindow)
{
    RECT module, panel, frame;
    if (FindResourceA(QlUiInstance(), MAKEINTRESOURCEA(kModuleTemplate), (LPCSTR)RT_DIALOG) &&
        MeasureTemplate(mainWindow, kModuleTemplate, 0, kModuleTop, &module) &&
        MeasureTemplate(mainWindow, IDD_LANG_PANEL, 0, 0, &panel) && GetWindowRect(mainWindow, &frame)) {
        MoveWindow(mainWindow, module.left - 6, frame.top, (module.right - module.left) + 12,
                   (module.bottom - frame.top) + (panel.bottom - panel.top) + 2, TRUE);
    }
    QlUiCenterWindow(mainWindow);
    RecordMainRects(mainWindow);
}

static HWND PanelAt(int index)
{
    HWND panels[3] = {QlStatusPanelWnd, QlLangPanelWnd, QlDescBarWnd};
    return panels[index];
}

void QlMainLayout(void)
{
    for (int i = 0; i < 3; i++) QlUiSaveRectInParent(PanelAt(i), &gSavedPanels[i]);
    gPanelsSaved = 1;
    QlUiDockBottom(QlStatusPanelWnd, 0, 0);
    QlUiDockBottom(QlLangPanelWnd, 1, 0);
    QlUiDockBottom(QlDescBarWnd, 1, 0);
    int statusWidth = gSavedPanels[0].width;
    QlUiStretchRight(QlDescBarWnd, statusWidth + 3);
    if (QlDescBarWnd) QlUiStretchItemRight(QlDescBarWnd, IDT_DESC_TEXT, 0);
    if (QlMainToolbarWnd) QlUiStretchRight(QlMainToolbarWnd, statusWidth);
    if (QlModuleWnd) PostMessageA(QlModuleWnd, QL_WM_MAIN_MAXIMIZED, 0, 0);
}

void QlMainRestoreLayout(void)
{
    if (gPanelsSaved) {
        for (int i = 0; i < 3; i++) {
            const QlUiRectRec *r = &gSavedPanels[i];
            if (PanelAt(i)) MoveWindow(PanelAt(i), r->left, r->top, r->width, r->height, TRUE);
        }
    }
    if (QlModuleWnd) PostMessageA(QlModuleWnd, QL_WM_MAIN_RESTORED, 0, 0);
}

// ---------------------------------------------------------------------------
// Background

void QlMainPaint(HWND mainWindow, HDC dc)
{
    RecordMainRects(mainWindow);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(128, 0, 0));
    if (!gBannerFont) {
        LOGFONTA font;
        memset(&font, 0, sizeof font);
        font.lfHeight = -MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 72);
        gBannerFont = CreateFontIndirectA(&font);
    }
    HGDIOBJ previous = gBannerFont ? SelectObject(dc, gBannerFont) : NULL;
    TEXTMETRICA metrics;
    int lineHeight = GetTextMetricsA(dc, &metrics) ? metrics.tmHeight + metrics.tmExternalLeading : 16;
    char text[256];
    snprintf(text, sizeof text, "%s %s\n\n%s", QL_PRODUCT_NAME, QL_VERSION_TEXT, QlLangText()->BannerNotice);
    RECT box = gMainClientRect;
    box.top = (gMainClientRect.bottom - gMainClientRect.top) / 2 - (8 * lineHeight) / 2;
    DrawTextA(dc, text, -1, &box, DT_CENTER);
    if (previous) SelectObject(dc, previous);
}

void QlMainFreePaintFont(void)
{
    if (gBannerFont) DeleteObject(gBannerFont);
    gBannerFont = NULL;
}

// ---------------------------------------------------------------------------
// The flag

const char *QlLangFlagPath(int lang, int country)
{
    if (country >= 0 && country < QL_COUNTRY_COUNT && QlCountryTable[country].flagPath[0])
        return QlCountryTable[country].flagPath;
    return QlLangTextTable[QlLangIndex(lang)].FlagPath;
}

void QlLangShowFlag(int lang, int country)
{
    QlLangFreeFlag();
    // A copy of its own: the picture library's bitmap lasts only until the
    // next picture is loaded (a logo, a preview).
    gFlag = QlPictureLoadCopy(QlLangFlagPath(lang, country), &gFlagSize);
    if (QlLangPanelWnd) SendDlgItemMessageA(QlLangPanelWnd, IDP_LANG_FLAG, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)gFlag);
}

void QlLangFreeFlag(void)
{
    if (!gFlag) return;
    if (QlLangPanelWnd && IsWindow(QlLangPanelWnd))
        SendDlgItemMessageA(QlLangPanelWnd, IDP_LANG_FLAG, STM_SETIMAGE, IMAGE_BITMAP, 0);
    DeleteObject(gFlag);
    gFlag = NULL;
}

HBITMAP QlLangFlag(void)
{
    return gFlag;
}
