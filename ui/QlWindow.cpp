#include "QlWindow.h"

#include <string.h>

#include "QlAppState.h"
#include "QlSeams.h"
#include "core/QlWidePath.h"

HWND QlDescBarText = NULL;

HINSTANCE QlUiInstance(void)
{
    return QlAppInstance ? QlAppInstance : GetModuleHandleA(NULL);
}

HWND QlUiCreateModeless(HINSTANCE instance, HWND parent, DLGPROC procedure, int templateId)
{
    HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, procedure, 0);
    if (!window) return NULL;
    ShowWindow(window, SW_SHOWDEFAULT);
    UpdateWindow(window);
    return window;
}

int QlUiComboFill(HWND dialog, const char *const *strings, int comboId, int index)
{
    HWND combo = GetDlgItem(dialog, comboId);
    if (!combo || !strings) return CB_ERR;
    int count = 0;
    for (; strings[count]; count++) SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)strings[count]);
    if (index < 0 || index >= count) return CB_ERR;
    return (int)SendMessageA(combo, CB_SELECTSTRING, 0, (LPARAM)strings[index]);
}

HWND QlUiCreateStatic(HINSTANCE instance, HWND parent, int x, int y, int width, int height, DWORD extraStyle,
                      int centred)
{
    DWORD style = WS_CHILD | WS_VISIBLE | extraStyle;
    if (centred) style |= SS_CENTER;
    return CreateWindowExA(0, "STATIC", " ", style, x, y, width, height, parent, NULL, instance, NULL);
}

LRESULT QlUiSetText(HWND window, const char *text)
{
    return SendMessageA(window, WM_SETTEXT, 0, (LPARAM)text);
}

ATOM QlUiRegisterClass(HINSTANCE instance, UINT classStyle, WNDPROC procedure, LPCSTR cursor, HBRUSH background,
                       const char *className, LPCSTR iconName, LPCSTR menuName)
{
    WNDCLASSEXA wc;
    memset(&wc, 0, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = iconName ? LoadIconA(instance, iconName) : NULL;
    wc.hCursor = cursor ? LoadCursorA(NULL, cursor) : NULL;
    wc.hbrBackground = background;
    wc.lpszMenuName = menuName;
    wc.lpszClassName = className;
    return RegisterClassExA(&wc);
}

void QlUiCenterWindow(HWND window)
{
    HWND parent = GetParent(window);
    RECT own, over;
    if (!GetWindowRect(window, &own)) return;
    if (!parent || !GetWindowRect(parent, &over)) GetWindowRect(GetDesktopWindow(), &over);
    POINT pos;
    pos.x = over.left + ((over.right - over.left) - (own.right - own.left)) / 2;
    pos.y = over.top + ((over.bottom - over.top) - (own.bottom - own.top)) / 2;
    if (parent && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) ScreenToClient(parent, &pos);
    SetWindowPos(window, HWND_TOP, pos.x, pos.y, 0, 0, SWP_NOSIZE);
}

BOOL QlUiClearAndDestroy(HWND toDestroy, HWND toClear)
{
    QlUiSetText(toClear, "");
    return DestroyWindow(toDestroy);
}

void QlUiClosePane(HWND moduleWindow)
{
    QlUiClearAndDestroy(moduleWindow, QlDescBarText);
    if (QlModuleWnd == moduleWindow) QlModuleWnd = NULL;
}

void QlUiDestroyModule(void)
{
    HWND previous = QlModuleWnd;
    QlModuleWnd = NULL;
    if (previous) DestroyWindow(previous);
}

void QlUiLimitAddressEdits(HWND dialog)
{
    static const int kAddressEdits[] = {1028, 1029, 1030};
    for (int id : kAddressEdits) SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, 39, 0);
}

int QlUiGetDate(HWND dialog, int id, QlDateRec *date)
{
    char text[40];
    memset(text, 0, sizeof text);
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return QlDateParseDmy(text, date);
}

int QlUiBrowseFolder(HWND owner, char *path, const char *title)
{
    path[0] = '\0';
    BROWSEINFOA info;
    memset(&info, 0, sizeof info);
    info.hwndOwner = owner;
    info.pszDisplayName = path;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    HRESULT com = CoInitialize(NULL);
    int found = 0;
    LPITEMIDLIST items = QlSeamBrowseForFolder(&info);
    if (items) {
        // The wide path, given in a form the ANSI calls take (a folder
        // whose name has letters outside the ANSI code page).
        WCHAR wide[MAX_PATH];
        found = SHGetPathFromIDListW(items, wide) && QlAnsiPathFromWide(wide, path, MAX_PATH) ? 1 : 0;
        CoTaskMemFree(items);
    }
    if (!found) path[0] = '\0';
    if (SUCCEEDED(com)) CoUninitialize();
    return found;
}

int QlFileRewind(FILE *stream)
{
    if (!stream) return 0;
    fseek(stream, 0, SEEK_END);
    ftell(stream);
    fseek(stream, 0, SEEK_SET);
    return 0;
}

FILE *QlFilePickCopy(FILE **out, FILE *first, FILE *second, int flag, int count)
{
    *out = (flag == 0 && count > 0 && second) ? second : first;
    return *out;
}

namespace {

struct ControlCache {
    HWND dialog;
    int count;
    struct {
        int id;
        HWND control;
    } slots[64];
};

thread_local ControlCache controlCache;

// A child of the dialog with the id: what GetDlgItem found before, if the
// window is still there and still that.  Reading a window's own fields makes
// no round trip.
int StillControl(HWND control, HWND dialog, int id)
{
    return IsWindow(control) && (GetWindowLongA(control, GWL_STYLE) & WS_CHILD) && GetParent(control) == dialog &&
           GetDlgCtrlID(control) == id;
}

}  // namespace

HWND QlUiControl(HWND dialog, int id)
{
    ControlCache &cache = controlCache;
    if (!dialog) return NULL;
    if (cache.dialog != dialog) {
        cache.dialog = dialog;
        cache.count = 0;
    }
    int slot = 0;
    while (slot < cache.count && cache.slots[slot].id != id) slot++;
    if (slot < cache.count && StillControl(cache.slots[slot].control, dialog, id)) return cache.slots[slot].control;
    HWND control = GetDlgItem(dialog, id);
    if (!control) return NULL;
    if (slot == cache.count) {
        if (cache.count == (int)ARRAYSIZE(cache.slots)) return control;
        cache.count++;
    }
    cache.slots[slot].id = id;
    cache.slots[slot].control = control;
    return control;
}

void QlUiGetField(HWND dialog, int id, char *text, int size)
{
    if (size <= 0) return;
    text[0] = '\0';
    HWND control = QlUiControl(dialog, id);
    if (control) SendMessageA(control, WM_GETTEXT, (WPARAM)size, (LPARAM)text);
    text[size - 1] = '\0';
}

int QlUiComboSelection(HWND dialog, int id)
{
    LRESULT index = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    return index >= 0 ? (int)index : 0;
}
