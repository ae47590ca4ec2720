#include "QlGTest.h"
#include "UiTestSupport.h"

#include <commctrl.h>
#include <stdlib.h>
#include <string.h>

#include "ui/QlButtons.h"
#include "ui/QlUtil.h"

FrameLog gFrameLog;

static LRESULT CALLBACK FrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        gFrameLog.commands++;
        gFrameLog.lastCommandId = LOWORD(wParam);
        gFrameLog.lastCommandCode = HIWORD(wParam);
        gFrameLog.lastCommandControl = (HWND)lParam;
        return 0;
    case QL_WM_DOC_BUTTON:
        gFrameLog.docButtons++;
        gFrameLog.lastDocButton = (int)wParam;
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

static void RegisterOnce(void)
{
    static bool registered = false;
    if (registered) return;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = "QlTestFrame";
    RegisterClassA(&wc);
    registered = true;
}

HWND TestFrame(int width, int height)
{
    RegisterOnce();
    gFrameLog = FrameLog();
    RECT rc = {0, 0, width, height};
    DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    AdjustWindowRect(&rc, style, FALSE);
    HWND frame = CreateWindowExA(0, "QlTestFrame", "frame", style | WS_VISIBLE, 40, 40, rc.right - rc.left,
                                 rc.bottom - rc.top, NULL, NULL, GetModuleHandleA(NULL), NULL);
    RECT client;
    GetClientRect(frame, &client);
    if (client.right != width || client.bottom != height)
        SetWindowPos(frame, NULL, 0, 0, rc.right - rc.left + width - client.right,
                     rc.bottom - rc.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
    return frame;
}

HWND TestChild(HWND parent, int id, int x, int y, int width, int height)
{
    RegisterOnce();
    return CreateWindowExA(0, "QlTestFrame", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width, height, parent,
                           (HMENU)(INT_PTR)id, GetModuleHandleA(NULL), NULL);
}

void PumpMessages(void)
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

RECT RectInParent(HWND window)
{
    RECT rc;
    GetWindowRect(window, &rc);
    MapWindowPoints(NULL, GetAncestor(window, GA_PARENT), (POINT *)&rc, 2);
    return rc;
}

std::string WindowText(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::vector<DWORD> BitmapPixels(HBITMAP bitmap, int *width, int *height)
{
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = info.bmWidth;
    bi.bmiHeader.biHeight = -info.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels((size_t)info.bmWidth * info.bmHeight);
    HDC dc = GetDC(NULL);
    GetDIBits(dc, bitmap, 0, info.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(NULL, dc);
    for (DWORD &p : pixels) p &= 0xFFFFFF;
    if (width) *width = info.bmWidth;
    if (height) *height = info.bmHeight;
    return pixels;
}

Box DrawnBox(HBITMAP bitmap, DWORD background)
{
    int width = 0, height = 0;
    std::vector<DWORD> pixels = BitmapPixels(bitmap, &width, &height);
    Box box;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            if (pixels[(size_t)y * width + x] != background) {
                if (x < box.left) box.left = x;
                if (y < box.top) box.top = y;
                if (x + 1 > box.right) box.right = x + 1;
                if (y + 1 > box.bottom) box.bottom = y + 1;
            }
    return box;
}

HBITMAP SolidBitmap(int width, int height, COLORREF colour)
{
    HDC screen = GetDC(NULL);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT rc = {0, 0, width, height};
    FillRect(memory, &rc, brush);
    DeleteObject(brush);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return bitmap;
}

static DialogDriver *gDriver = nullptr;

static BOOL CALLBACK FindThreadDialog(HWND window, LPARAM found)
{
    char cls[16] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (strcmp(cls, "#32770") == 0 && IsWindowVisible(window) && IsWindowEnabled(window) &&
        !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
        *(HWND *)found = window;
        return FALSE;
    }
    return TRUE;
}

static void CALLBACK DriverTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (!gDriver) return;
    HWND dialog = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindThreadDialog, (LPARAM)&dialog);
    if (!dialog) return;
    if (gDriver->next < gDriver->steps.size()) {
        gDriver->steps[gDriver->next++](dialog);
    } else if (++gDriver->idleTicks > 10) {
        ADD_FAILURE() << "dialog still open after every step";
        EndDialog(dialog, 99);
    }
}

DialogDriver::DialogDriver(std::vector<std::function<void(HWND)>> steps) : steps(std::move(steps))
{
    gDriver = this;
    timer = SetTimer(NULL, 0, 20, DriverTick);
}

DialogDriver::~DialogDriver()
{
    KillTimer(NULL, timer);
    gDriver = nullptr;
}

void PressKey(HWND dialog, WPARAM key)
{
    HWND focus = GetFocus();
    HWND target = (focus && (focus == dialog || IsChild(dialog, focus))) ? focus : dialog;
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

void ClickButton(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

COLORREF StaticTextColour(HWND dialog, int id)
{
    HDC dc = CreateCompatibleDC(NULL);
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageA(dialog, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)GetDlgItem(dialog, id));
    COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}

bool QlTestSetClipboardText(const char *text)
{
    const size_t size = strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) return false;
    memcpy(GlobalLock(block), text, size);
    GlobalUnlock(block);
    if (!OpenClipboard(NULL)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    bool ok = SetClipboardData(CF_TEXT, block) != NULL;
    if (!ok) GlobalFree(block);
    CloseClipboard();
    return ok;
}

StatusPanel::StatusPanel()
{
    saved_ = QlStatusPanelWnd;
    panel_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, GetModuleHandleA(NULL), NULL);
    QlStatusPanelWnd = panel_;
}

StatusPanel::~StatusPanel()
{
    Posted();
    QlStatusPanelWnd = saved_;
    DestroyWindow(panel_);
}

std::string StatusPanel::Posted()
{
    std::string text;
    MSG msg;
    while (PeekMessageA(&msg, panel_, QL_WM_STATUS_SHOW, QL_WM_STATUS_SHOW, PM_REMOVE)) {
        text = (const char *)msg.lParam;
        free((void *)msg.lParam);
    }
    return text;
}
