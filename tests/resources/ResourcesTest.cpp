#include "QlGTest.h"
#include "resources/QlResIds.h"

#include <windows.h>

TEST(Resources, MainMenuHasItsThreePopups)
{
    HMENU menu = LoadMenuA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(3, GetMenuItemCount(menu));
    char text[64];
    EXPECT_GT(GetMenuStringA(menu, IDM_MOD_CUSTOMERS, text, sizeof text, MF_BYCOMMAND), 0);
    EXPECT_STREQ("&Customer Accounts", text);
    EXPECT_EQ(9, GetMenuItemCount(GetSubMenu(menu, 1)));
    DestroyMenu(menu);
}

TEST(Resources, EveryToolbarAndButtonPictureExists)
{
    const int toolbarPictures[] = {
        IDBMP_CUSTOMERS, IDBMP_SUPPLIERS, IDBMP_INVOICE, IDBMP_PRODUCTS,  IDBMP_SERVICES, IDBMP_SETTINGS,
        IDBMP_COMPANY,   IDBMP_REPORTS,   IDBMP_SALES,   IDBMP_HELP,      IDBMP_NEW,      IDBMP_SAVE,
        IDBMP_DELETE,    IDBMP_CLOSE,     IDBMP_ACTIVITY, IDBMP_PRINT,    IDBMP_EMAIL,    IDBMP_PDF,
        IDBMP_VIEW,      IDBMP_QUOTE,     IDBMP_CREDIT,  IDBMP_PAY,       IDBMP_STATEMENT, IDBMP_LABELS,
        IDBMP_LETTERS,   IDBMP_EDIT,      IDBMP_STOCK_IN, IDBMP_STOCK_OUT, IDBMP_EXPORT,  IDBMP_CLONE,
    };
    for (int id : toolbarPictures) {
        SCOPED_TRACE(id);
        HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(id));
        ASSERT_NE(nullptr, bitmap);
        BITMAP info = {};
        GetObjectA(bitmap, sizeof info, &info);
        EXPECT_EQ(32, info.bmWidth);
        EXPECT_EQ(32, info.bmHeight);
        DeleteObject(bitmap);
    }
    for (int id : {IDBMP_ABOUT, IDBMP_PRINT_BARCODE}) {
        HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(id));
        EXPECT_NE(nullptr, bitmap) << id;
        DeleteObject(bitmap);
    }
    HICON icon = LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDI_QUILLORY));
    EXPECT_NE(nullptr, icon);
}

static INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG;
}

TEST(Resources, MessageDialogTemplatesHaveTheirGeometry)
{
    const struct {
        int dialog, control, x, y, width, height;
    } cases[] = {
        {IDD_MSG_BOX, IDOK, 134, 27, 50, 14},
        {IDD_MSG_BOX, IDT_MSG_TEXT, 2, 4, 182, 18},
        {IDD_MSG_BOX_LARGE, IDOK, 152, 41, 50, 14},
        {IDD_MSG_BOX_LARGE, IDT_MSG_TEXT, 2, 6, 200, 28},
        {IDD_MSG_BOX_TALL, IDOK, 186, 134, 50, 14},
        {IDD_MSG_BOX_TALL, IDT_MSG_TEXT, 1, 3, 235, 126},
        {IDD_MSG_ASK, IDB_MSG_CANCEL, 164, 44, 56, 29},
        {IDD_MSG_ASK, IDB_MSG_OK, 102, 44, 56, 29},
        {IDD_MSG_ASK, IDT_MSG_ASK_TEXT, 3, 11, 319, 28},
        {IDD_MSG_CHOICE, IDB_MSG_OK, 134, 2, 50, 14},
        {IDD_MSG_CHOICE, IDB_MSG_CANCEL, 134, 20, 50, 14},
        {IDD_MSG_CHOICE, IDB_MSG_CHOICE_FIRST, 15, 18, 108, 10},
        {IDD_MSG_CHOICE, IDB_MSG_CHOICE_SECOND, 15, 33, 108, 10},
    };
    const struct {
        int dialog, width, height;
        bool closeBox;
    } sizes[] = {{IDD_MSG_BOX, 186, 42, false},     {IDD_MSG_BOX_LARGE, 203, 57, false},
                 {IDD_MSG_BOX_TALL, 238, 150, false}, {IDD_MSG_ASK, 324, 79, true},
                 {IDD_MSG_CHOICE, 186, 57, false}};
    for (const auto &s : sizes) {
        SCOPED_TRACE(s.dialog);
        HWND dialog = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(s.dialog), NULL, PlainDialogProc, 0);
        ASSERT_NE(nullptr, dialog);
        RECT units = {0, 0, s.width, s.height}, client;
        MapDialogRect(dialog, &units);
        GetClientRect(dialog, &client);
        EXPECT_EQ(units.right, client.right);
        EXPECT_EQ(units.bottom, client.bottom);
        EXPECT_EQ(s.closeBox, (GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU) != 0);
        for (const auto &c : cases) {
            if (c.dialog != s.dialog) continue;
            SCOPED_TRACE(c.control);
            HWND control = GetDlgItem(dialog, c.control);
            ASSERT_NE(nullptr, control);
            RECT expected = {c.x, c.y, c.width, c.height}, got;  // position and size map apart
            MapDialogRect(dialog, &expected);
            GetWindowRect(control, &got);
            MapWindowPoints(NULL, dialog, (POINT *)&got, 2);
            EXPECT_EQ(expected.left, got.left);
            EXPECT_EQ(expected.top, got.top);
            EXPECT_EQ(expected.right, got.right - got.left);
            EXPECT_EQ(expected.bottom, got.bottom - got.top);
        }
        DestroyWindow(dialog);
    }
    // Cancel comes first in the question's tab order.
    HWND ask = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_MSG_ASK), NULL, PlainDialogProc, 0);
    EXPECT_EQ(GetDlgItem(ask, IDB_MSG_CANCEL), GetNextDlgTabItem(ask, NULL, FALSE));
    DestroyWindow(ask);
}

TEST(Resources, ShellTemplatesHaveTheirGeometry)
{
    const struct {
        int dialog, control, x, y, width, height;
    } controls[] = {
        {IDD_STATUS_PANEL, IDT_STATUS_TEXT, 0, 1, 199, 9},
        {IDD_LANG_PANEL, IDT_LANG_NAME, 19, 2, 89, 8},
        {IDD_DESC_BAR, IDT_DESC_TEXT, 1, 1, 149, 9},
    };
    const struct {
        int dialog, width, height;
        bool child;
    } sizes[] = {{IDD_STATUS_PANEL, 200, 13, true},      {IDD_LANG_PANEL, 111, 13, true},
                 {IDD_DESC_BAR, 158, 13, true},          {IDD_COMPANY_MANAGER, 185, 186, false},
                 {IDD_COMPANY_CREATE, 203, 97, false},   {IDD_ABOUT, 230, 124, false}};
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, NULL, NULL, NULL, NULL);
    for (const auto &s : sizes) {
        SCOPED_TRACE(s.dialog);
        HWND dialog = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(s.dialog), s.child ? parent : NULL,
                                         PlainDialogProc, 0);
        ASSERT_NE(nullptr, dialog);
        RECT units = {0, 0, s.width, s.height}, client;
        MapDialogRect(dialog, &units);
        GetClientRect(dialog, &client);
        EXPECT_EQ(units.right, client.right);
        EXPECT_EQ(units.bottom, client.bottom);
        LONG style = GetWindowLongA(dialog, GWL_STYLE);
        EXPECT_EQ(s.child, (style & WS_CHILD) != 0);
        if (s.child) {
            EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_STATICEDGE);
        }
        for (const auto &c : controls) {
            if (c.dialog != s.dialog) continue;
            SCOPED_TRACE(c.control);
            HWND control = GetDlgItem(dialog, c.control);
            ASSERT_NE(nullptr, control);
            RECT expected = {c.x, c.y, c.width, c.height}, got;
            MapDialogRect(dialog, &expected);
            GetWindowRect(control, &got);
            MapWindowPoints(NULL, dialog, (POINT *)&got, 2);
            EXPECT_EQ(expected.left, got.left);
            EXPECT_EQ(expected.top, got.top);
            EXPECT_EQ(expected.right, got.right - got.left);
            EXPECT_EQ(expected.bottom, got.bottom - got.top);
        }
        DestroyWindow(dialog);
    }
    // A saved file's path too long for the status panel loses its middle, not its name.
    HWND status = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_STATUS_PANEL), parent,
                                     PlainDialogProc, 0);
    EXPECT_EQ(SS_PATHELLIPSIS, GetWindowLongA(GetDlgItem(status, IDT_STATUS_TEXT), GWL_STYLE) & SS_ELLIPSISMASK);
    DestroyWindow(status);
    // The language panel's flag is a picture static; the About box carries the picture 347.
    HWND lang = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_LANG_PANEL), parent, PlainDialogProc, 0);
    ASSERT_NE(nullptr, GetDlgItem(lang, IDP_LANG_FLAG));
    EXPECT_EQ(SS_BITMAP, GetWindowLongA(GetDlgItem(lang, IDP_LANG_FLAG), GWL_STYLE) & SS_TYPEMASK);
    DestroyWindow(parent);
    HWND about = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_ABOUT), NULL, PlainDialogProc, 0);
    EXPECT_NE(0, SendDlgItemMessageA(about, IDP_ABOUT_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0));
    DestroyWindow(about);
}
