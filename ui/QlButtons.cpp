#include "QlButtons.h"

#include <string.h>

#include "QlLayout.h"
#include "QlToolbar.h"
#include "QlUiText.h"
#include "QlWindow.h"
#include "resources/QlResCommon.h"

static const int kCaptionSizes[] = {10, 9, 8, 7};

static HFONT CreateCaptionFont(HDC dc, int pointSize)
{
    LOGFONTA font;
    memset(&font, 0, sizeof font);
    font.lfHeight = -MulDiv(pointSize, GetDeviceCaps(dc, LOGPIXELSY), 72);
    strcpy(font.lfFaceName, "Arial Narrow");
    return CreateFontIndirectA(&font);
}

static const char *TextOrEmpty(const char *text)
{
    return text ? text : "";
}

int QlUiFitFontSize(HWND window, int width, const char *text, int *size)
{
    HDC dc = GetDC(window);
    if (!dc) return 0;
    text = TextOrEmpty(text);
    HGDIOBJ previous = GetCurrentObject(dc, OBJ_FONT);
    int fitted = 0;
    for (int points : kCaptionSizes) {
        HFONT font = CreateCaptionFont(dc, points);
        if (!font) continue;
        SelectObject(dc, font);
        SIZE extent;
        BOOL measured = GetTextExtentPoint32A(dc, text, (int)strlen(text), &extent);
        SelectObject(dc, previous);
        DeleteObject(font);
        if (measured && extent.cx < width - 5) {
            fitted = points;
            break;
        }
    }
    ReleaseDC(window, dc);
    *size = fitted ? fitted : 10;
    return fitted ? 1 : 0;
}

static int FitTexts(HWND dialog, int id, const char *const *texts, int count, int *size)
{
    HWND control = GetDlgItem(dialog, id);
    RECT client = {0, 0, 0, 0};
    GetClientRect(control, &client);
    int smallest = 10;
    for (int i = 0; i < count; i++) {
        int fitted;
        if (!QlUiFitFontSize(control, client.right - client.left, texts[i], &fitted)) {
            *size = 7;
            return 0;
        }
        if (fitted < smallest) smallest = fitted;
    }
    *size = smallest;
    return 1;
}

int QlUiFitFontSize2(HWND dialog, int id, const char *t1, const char *t2, int *size)
{
    const char *texts[] = {t1, t2};
    return FitTexts(dialog, id, texts, ARRAYSIZE(texts), size);
}

int QlUiFitFontSize3(HWND dialog, int id, const char *t1, const char *t2, const char *t3, int *size)
{
    const char *texts[] = {t1, t2, t3};
    return FitTexts(dialog, id, texts, ARRAYSIZE(texts), size);
}

int QlUiFitFontSize4(HWND dialog, int id, const char *t1, const char *t2, const char *t3, const char *t4, int *size)
{
    const char *texts[] = {t1, t2, t3, t4};
    return FitTexts(dialog, id, texts, ARRAYSIZE(texts), size);
}

int QlUiFitFontSize5(HWND dialog, int id, const char *t1, const char *t2, const char *t3, const char *t4,
                     const char *t5, int *size)
{
    const char *texts[] = {t1, t2, t3, t4, t5};
    return FitTexts(dialog, id, texts, ARRAYSIZE(texts), size);
}

int QlUiFitRowFontSize(HWND window, int width, const QlButtonRowItem *table, int count, int *size)
{
    HDC dc = GetDC(window);
    if (!dc) return 0;
    HFONT font = (HFONT)SendMessageA(window, WM_GETFONT, 0, 0);
    HGDIOBJ previous = font ? SelectObject(dc, font) : NULL;
    const char *widest = "";
    int widestExtent = -1;
    for (int i = 0; i < count; i++) {
        SIZE extent;
        int length = (int)strnlen(table[i].caption, sizeof table[i].caption);
        if (GetTextExtentPoint32A(dc, table[i].caption, length, &extent) && extent.cx > widestExtent) {
            widestExtent = extent.cx;
            widest = table[i].caption;
        }
    }
    if (previous) SelectObject(dc, previous);
    ReleaseDC(window, dc);
    char caption[sizeof table->caption];
    strncpy(caption, widest, sizeof caption - 1);
    caption[sizeof caption - 1] = '\0';
    return QlUiFitFontSize(window, width, caption, size);
}

int QlUiCaptionTop(int y, int pointSize)
{
    if (pointSize == 9) return y + 1;
    if (pointSize == 8 || pointSize == 7) return y + 2;
    return y;
}

HBITMAP QlBitmapDrawCaption(HBITMAP bitmap, const char *text, COLORREF colour, int mode, int x, int y,
                            int pointSize, int halo)
{
    if (!bitmap) return NULL;
    BITMAP info;
    if (!GetObjectA(bitmap, sizeof info, &info)) return NULL;
    RECT rc = {0, 0, info.bmWidth, info.bmHeight};
    UINT format;
    switch (mode & 0xFFFF) {
    case QL_CAPTION_CENTRED:
        format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        break;
    case QL_CAPTION_LEFT_MIDDLE:
        rc.left = x;
        format = DT_VCENTER | DT_SINGLELINE;
        break;
    case QL_CAPTION_CENTRED_FROM:
        rc.top = y;
        format = DT_CENTER;
        break;
    case QL_CAPTION_AT:
        rc.left = x;
        rc.top = y;
        format = DT_LEFT | DT_TOP;
        break;
    default:
        return NULL;
    }

    HDC screen = CreateDCA("DISPLAY", NULL, NULL, NULL);
    if (!screen) return NULL;
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previousBitmap = memory ? SelectObject(memory, bitmap) : NULL;
    if (!previousBitmap) {
        if (memory) DeleteDC(memory);
        DeleteDC(screen);
        return NULL;
    }
    SetBkMode(memory, TRANSPARENT);
    HFONT font = pointSize ? CreateCaptionFont(memory, pointSize) : NULL;
    HGDIOBJ previousFont = font ? SelectObject(memory, font) : NULL;
    text = TextOrEmpty(text);
    if (halo) {
        static const POINT kHalo[] = {{1, 1}, {2, 2}, {-1, -1}};
        SetTextColor(memory, RGB(255, 255, 255));
        for (const POINT &offset : kHalo) {
            RECT shadow = rc;
            OffsetRect(&shadow, offset.x, offset.y);
            DrawTextA(memory, text, -1, &shadow, format);
        }
    }
    SetTextColor(memory, colour);
    DrawTextA(memory, text, -1, &rc, format);
    if (font) {
        SelectObject(memory, previousFont);
        DeleteObject(font);
    }
    SelectObject(memory, previousBitmap);
    DeleteDC(memory);
    DeleteDC(screen);
    return bitmap;
}

HBITMAP QlBitmapLoadWithCaption(int bitmapId, const char *text, COLORREF colour, int mode, int x, int y,
                                int pointSize, int halo)
{
    HBITMAP bitmap = LoadBitmapA(QlUiInstance(), MAKEINTRESOURCEA(bitmapId));
    if (!bitmap) return NULL;
    if (!QlBitmapDrawCaption(bitmap, text, colour, mode, x, y, pointSize, halo)) {
        DeleteObject(bitmap);
        return NULL;
    }
    return bitmap;
}

static HWND CreateButton(HWND parent, int x, int y, int width, int height, int picture)
{
    DWORD style = WS_CHILD | WS_VISIBLE | (picture ? BS_BITMAP : 0);
    return CreateWindowExA(0, "BUTTON", "", style, x, y, width, height, parent, NULL, QlUiInstance(), NULL);
}

static void SetButtonImage(HWND button, HBITMAP bitmap)
{
    if (button && bitmap) SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap);
}

HWND QlUiCreatePictureButton(HINSTANCE instance, HWND parent, int x, int y, int width, int height, int picture,
                             int bitmapId, const char *caption)
{
    DWORD style = WS_CHILD | WS_VISIBLE | (picture ? BS_BITMAP : 0);
    HWND button = CreateWindowExA(0, "BUTTON", "", style, x, y, width, height, parent, NULL, instance, NULL);
    if (!button) return NULL;
    int size;
    if (!QlUiFitFontSize(button, width, caption, &size)) size = 7;
    if (picture)
        SetButtonImage(button, QlBitmapLoadWithCaption(bitmapId, caption, RGB(0, 0, 0), QL_CAPTION_CENTRED_FROM, 0,
                                                       QlUiCaptionTop(21, size), size, 0));
    return button;
}

int QlUiCreatePictureRow(HWND parent, int x, int y, int width, int height, int gap, QlButtonRowItem *table,
                         int count)
{
    for (int i = 0; i < count; i++) {
        QlButtonRowItem *item = &table[i];
        item->button = CreateButton(parent, x + i * (width + gap), y, width, height, 1);
        if (item->button) SetButtonImage(item->button, LoadBitmapA(QlUiInstance(), MAKEINTRESOURCEA(item->bitmapId)));
    }
    return count;
}

int QlUiCreateCaptionRow(HWND parent, int x, int y, int width, int height, int gap, QlButtonRowItem *table, int count,
                         int captionTop, int pointSize, COLORREF colour, int halo, int fit, int topFromSize)
{
    int size = pointSize;
    int top = captionTop;
    for (int i = 0; i < count; i++) {
        QlButtonRowItem *item = &table[i];
        item->button = CreateButton(parent, x + i * (width + gap), y, width, height, 1);
        if (!item->button) continue;
        if (i == 0 && fit) {
            if (!QlUiFitRowFontSize(item->button, width, table, count, &size)) size = 7;
            if (topFromSize) top = QlUiCaptionTop(21, size);
        }
        item->caption[sizeof item->caption - 1] = '\0';
        SetButtonImage(item->button, QlBitmapLoadWithCaption(item->bitmapId, item->caption, colour,
                                                             QL_CAPTION_CENTRED_FROM, 0, top, size, halo));
    }
    return count;
}

void QlUiFreeRowImages(QlButtonRowItem *table, int count)
{
    for (int i = 0; i < count; i++) {
        if (!table[i].button || !IsWindow(table[i].button)) continue;
        HBITMAP bitmap = (HBITMAP)SendMessageA(table[i].button, BM_SETIMAGE, IMAGE_BITMAP, 0);
        if (bitmap) DeleteObject(bitmap);
    }
}

int QlUiRowDispatch(HWND button, int argument, QlButtonRowItem *table, int count, HWND statusWindow)
{
    for (int i = 0; i < count; i++) {
        QlButtonRowItem *item = &table[i];
        if (item->button != button) continue;
        if (item->command && !item->disabled) {
            item->command(argument, item);
            if (item->statusText && statusWindow) SetWindowTextA(statusWindow, item->statusText);
        }
        return 1;
    }
    return 0;
}

// The document button bar's table; the labels are the current language's.
static QlToolbarItem gDocBarTable[5] = {
    {IDBMP_SAVE, 0, NULL, "Save"},   {IDBMP_PRINT, 1, NULL, "Print"}, {IDBMP_EMAIL, 2, NULL, "Email"},
    {IDBMP_PDF, 3, NULL, "PDF"},     {IDBMP_CLOSE, 4, NULL, "Close"},
};
static const int kDocBarTexts[5] = {QL_TEXT_SAVE, QL_TEXT_PRINT, QL_TEXT_EMAIL, QL_TEXT_PDF, QL_TEXT_CLOSE};
static const int kDefaultAnchor = 1187;

HWND QlDocButtonBarCreate(HWND form, int anchorId)
{
    return CreateDialogParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_DOC_BUTTON_BAR), form, QlDocButtonBarDlgProc,
                              anchorId);
}

static BOOL OnDocBarInit(HWND bar, int anchorId)
{
    for (int i = 0; i < 5; i++) {
        strncpy(gDocBarTable[i].text, QlUiText(kDocBarTexts[i]), sizeof gDocBarTable[i].text - 1);
        gDocBarTable[i].text[sizeof gDocBarTable[i].text - 1] = '\0';
    }
    HWND toolbar = QlToolbarCreate(QlUiInstance(), bar, gDocBarTable, ARRAYSIZE(gDocBarTable), 1, 0);
    SetWindowLongPtrA(bar, DWLP_USER, (LONG_PTR)toolbar);
    if (!toolbar) return TRUE;
    int width, height;
    QlUiGetRectInParent(toolbar, &width, &height, NULL, NULL);
    MoveWindow(toolbar, 0, 0, width, height, TRUE);

    HWND form = GetParent(bar);
    int left = 0;
    HWND anchor = GetDlgItem(form, anchorId ? anchorId : kDefaultAnchor);
    if (anchor) QlUiGetRectInParent(anchor, NULL, NULL, NULL, &left);
    RECT client;
    GetClientRect(form, &client);
    MoveWindow(bar, left, client.bottom - height - 2, client.right - left, height + 2, TRUE);
    return TRUE;
}

static void DestroyDocBarToolbar(HWND bar)
{
    HWND toolbar = (HWND)GetWindowLongPtrA(bar, DWLP_USER);
    if (!toolbar) return;
    QlToolbarDestroy(toolbar, gDocBarTable, ARRAYSIZE(gDocBarTable));
    SetWindowLongPtrA(bar, DWLP_USER, 0);
}

INT_PTR CALLBACK QlDocButtonBarDlgProc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        return OnDocBarInit(bar, (int)lParam);
    case WM_COMMAND: {
        HWND toolbar = (HWND)GetWindowLongPtrA(bar, DWLP_USER);
        int id = LOWORD(wParam);
        if (!toolbar || (HWND)lParam != toolbar || id < 0 || id > 4) return FALSE;
        PostMessageA(GetParent(bar), QL_WM_DOC_BUTTON, id, 0);
        return TRUE;
    }
    case WM_CLOSE:
    case WM_DESTROY:
        DestroyDocBarToolbar(bar);
        return FALSE;
    }
    return FALSE;
}
