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
    EXPECT_STREQ("Customer Accounts", text);
    EXPECT_EQ(9, GetMenuItemCount(GetSubMenu(menu, 1)));
    DestroyMenu(menu);
}
