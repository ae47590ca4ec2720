#include "QlHyperlink.h"

static const char kOriginalProc[] = "_Hyperlink_Original_Proc_";
static const char kOriginalFont[] = "_Hyperlink_Original_Font_";
static const char kUnderlineFont[] = "_Hyperlink_Underline_Font_";
static const char kFromStatic[] = "_Hyperlink_From_Static_";

static LRESULT PassOn(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = (WNDPROC)GetPropA(window, kOriginalProc);
    if (!previous) return DefWindowProcA(window, msg, wParam, lParam);
    return CallWindowProcA(previous, window, msg, wParam, lParam);
}

static void Subclass(HWND window, WNDPROC procedure)
{
    LONG_PTR previous = GetWindowLongPtrA(window, GWLP_WNDPROC);
    SetPropA(window, kOriginalProc, (HANDLE)previous);
    SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)procedure);
}

static void Unsubclass(HWND window)
{
    HANDLE previous = GetPropA(window, kOriginalProc);
    if (previous) SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)previous);
    RemovePropA(window, kOriginalProc);
}

BOOL QlLinkAttach(HWND staticWindow)
{
    if (GetPropA(staticWindow, kFromStatic)) return TRUE;  // already a link: subclassing twice would loop
    HWND parent = GetParent(staticWindow);
    if (parent && (WNDPROC)GetWindowLongPtrA(parent, GWLP_WNDPROC) != QlLinkParentWndProc)
        Subclass(parent, QlLinkParentWndProc);

    SetWindowLongA(staticWindow, GWL_STYLE, GetWindowLongA(staticWindow, GWL_STYLE) | SS_NOTIFY);
    Subclass(staticWindow, QlLinkWndProc);

    HFONT font = (HFONT)SendMessageA(staticWindow, WM_GETFONT, 0, 0);
    SetPropA(staticWindow, kOriginalFont, (HANDLE)font);
    LOGFONTA logFont;
    HGDIOBJ source = font ? (HGDIOBJ)font : GetStockObject(SYSTEM_FONT);
    if (GetObjectA(source, sizeof logFont, &logFont)) {
        logFont.lfUnderline = TRUE;
        SetPropA(staticWindow, kUnderlineFont, (HANDLE)CreateFontIndirectA(&logFont));
    }
    return SetPropA(staticWindow, kFromStatic, (HANDLE)1);
}

LRESULT CALLBACK QlLinkParentWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CTLCOLORSTATIC:
        if (GetPropA((HWND)lParam, kFromStatic)) {
            LRESULT brush = PassOn(window, msg, wParam, lParam);
            SetTextColor((HDC)wParam, QL_LINK_COLOUR);
            return brush;
        }
        break;
    case WM_DESTROY: {
        WNDPROC previous = (WNDPROC)GetPropA(window, kOriginalProc);
        Unsubclass(window);
        if (previous) return CallWindowProcA(previous, window, msg, wParam, lParam);
        return DefWindowProcA(window, msg, wParam, lParam);
    }
    }
    return PassOn(window, msg, wParam, lParam);
}

static void ShowFont(HWND link, const char *property)
{
    SendMessageA(link, WM_SETFONT, (WPARAM)GetPropA(link, property), FALSE);
    InvalidateRect(link, NULL, FALSE);
}

static void OnMouseMove(HWND link, LPARAM lParam)
{
    if (GetCapture() != link) {
        ShowFont(link, kUnderlineFont);
        SetCapture(link);
        return;
    }
    POINT pos = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    ClientToScreen(link, &pos);
    RECT rc;
    GetWindowRect(link, &rc);
    if (!PtInRect(&rc, pos)) {
        ShowFont(link, kOriginalFont);
        ReleaseCapture();
    }
}

static void OnLinkDestroy(HWND link)
{
    SendMessageA(link, WM_SETFONT, (WPARAM)GetPropA(link, kOriginalFont), FALSE);
    RemovePropA(link, kOriginalFont);
    HGDIOBJ underline = (HGDIOBJ)GetPropA(link, kUnderlineFont);
    if (underline) DeleteObject(underline);
    RemovePropA(link, kUnderlineFont);
    RemovePropA(link, kFromStatic);
}

LRESULT CALLBACK QlLinkWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SETCURSOR: {
        HCURSOR hand = LoadCursorA(NULL, IDC_HAND);
        SetCursor(hand ? hand : LoadCursorA(NULL, IDC_ARROW));
        return TRUE;
    }
    case WM_MOUSEMOVE:
        OnMouseMove(window, lParam);
        break;
    case WM_DESTROY: {
        WNDPROC previous = (WNDPROC)GetPropA(window, kOriginalProc);
        Unsubclass(window);
        OnLinkDestroy(window);
        if (previous) return CallWindowProcA(previous, window, msg, wParam, lParam);
        return DefWindowProcA(window, msg, wParam, lParam);
    }
    }
    return PassOn(window, msg, wParam, lParam);
}
