#include "QlToolbar.h"

#include <commctrl.h>
#include <string.h>

#include "resources/QlResCommon.h"

QlToolbarItem QlSaveCloseToolbarTable[2] = {
    {IDBMP_SAVE, 0, NULL, " Save "},
    {IDBMP_CLOSE, 1, NULL, " Close "},
};

QlToolbarItem QlDocViewToolbarTable[4] = {
    {IDBMP_PRINT, 0, NULL, "  Print  "},
    {IDBMP_EMAIL, 1, NULL, "  Email  "},
    {IDBMP_PDF, 2, NULL, "  PDF  "},
    {IDBMP_CLOSE, 3, NULL, "  Close  "},
};

HWND QlSaveCloseToolbar = NULL;
HWND QlDocViewToolbar = NULL;
HWND QlFormOwnToolbar = NULL;
QlToolbarItem *QlFormOwnToolbarItems = NULL;
int QlFormOwnToolbarCount = 0;

static void ReleaseBitmaps(QlToolbarItem *items, int count)
{
    for (int i = 0; i < count; i++) {
        if (items[i].bitmap) DeleteObject(items[i].bitmap);
        items[i].bitmap = NULL;
    }
}

HWND QlToolbarCreate(HINSTANCE instance, HWND parent, QlToolbarItem *items, int count, int bottom, int tooltips)
{
    if (!items || count < 1 || count > QL_TOOLBAR_MAX_BUTTONS) return NULL;
    DWORD style = WS_CHILD | TBSTYLE_TRANSPARENT;
    if (bottom) style |= CCS_BOTTOM;
    if (tooltips) style |= TBSTYLE_TOOLTIPS;
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, NULL, style, 0, 0, 0, 0, parent, NULL, instance, NULL);
    if (!toolbar) return NULL;
    HIMAGELIST images = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, count, 0);
    if (!images) {
        DestroyWindow(toolbar);
        return NULL;
    }
    // A handle left in the table by a bar that was not destroyed through it:
    // the image list holds its own copy, so the old handle is only released.
    ReleaseBitmaps(items, count);
    TBBUTTON buttons[QL_TOOLBAR_MAX_BUTTONS];
    memset(buttons, 0, sizeof buttons);
    for (int i = 0; i < count; i++) {
        QlToolbarItem *item = &items[i];
        item->bitmap = LoadBitmapA(instance, MAKEINTRESOURCEA(item->bitmapId));
        int index = item->bitmap ? ImageList_Add(images, item->bitmap, NULL) : -1;
        if (index < 0) {
            ImageList_Destroy(images);
            DestroyWindow(toolbar);
            ReleaseBitmaps(items, i + 1);
            return NULL;
        }
        item->text[sizeof item->text - 1] = '\0';
        buttons[i].iBitmap = index;
        buttons[i].idCommand = item->commandId;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_AUTOSIZE;
        buttons[i].dwData = 0;
        buttons[i].iString = (INT_PTR)item->text;
    }
    SendMessageA(toolbar, TB_SETIMAGELIST, 0, (LPARAM)images);
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar, TB_ADDBUTTONSA, count, (LPARAM)buttons);
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    ShowWindow(toolbar, SW_SHOWNORMAL);
    return toolbar;
}

void QlToolbarDestroy(HWND toolbar, QlToolbarItem *items, int count)
{
    HIMAGELIST images = NULL;
    if (toolbar && IsWindow(toolbar)) {
        images = (HIMAGELIST)SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0);
        DestroyWindow(toolbar);
    }
    if (images) ImageList_Destroy(images);
    if (items) ReleaseBitmaps(items, count);
}
