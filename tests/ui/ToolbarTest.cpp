#include "QlGTest.h"
#include "UiTestSupport.h"

#include <commctrl.h>
#include <string.h>
#include <string>

#include "ui/QlToolbar.h"
#include "resources/QlResIds.h"

namespace {

class ToolbarTest : public ::testing::Test {
protected:
    void SetUp() override { frame = TestFrame(600, 400); }
    void TearDown() override { DestroyWindow(frame); }

    static BOOL CALLBACK CountChild(HWND, LPARAM count)
    {
        ++*(int *)count;
        return TRUE;
    }
    static int ChildCount(HWND parent)
    {
        int count = 0;
        EnumChildWindows(parent, CountChild, (LPARAM)&count);
        return count;
    }
    static std::string ButtonText(HWND toolbar, int command)
    {
        char text[128] = "";
        SendMessageA(toolbar, TB_GETBUTTONTEXTA, command, (LPARAM)text);
        return text;
    }

    HWND frame = NULL;
};

TEST_F(ToolbarTest, BuildsOneButtonPerItemAndReportsClicksToTheOwner)
{
    QlToolbarItem items[] = {
        {IDBMP_PRINT, 0, NULL, "Print"},
        {IDBMP_VIEW, 1, NULL, "View"},
        {IDBMP_CLOSE, 2, NULL, "Close"},
    };
    HWND toolbar = QlToolbarCreate(GetModuleHandleA(NULL), frame, items, 3, 1, 0);
    ASSERT_NE(nullptr, toolbar);
    EXPECT_TRUE(IsWindowVisible(toolbar));
    EXPECT_EQ(3, SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < 3; i++) {
        TBBUTTON button = {};
        SendMessageA(toolbar, TB_GETBUTTON, i, (LPARAM)&button);
        EXPECT_EQ(items[i].commandId, button.idCommand);
        EXPECT_EQ(items[i].text, ButtonText(toolbar, items[i].commandId));
        EXPECT_NE(nullptr, items[i].bitmap);
    }
    HIMAGELIST images = (HIMAGELIST)SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(32, cx);
    EXPECT_EQ(32, cy);
    EXPECT_EQ(3, ImageList_GetImageCount(images));

    // Docked along the owner's bottom edge (comctl32 may keep a 2-pixel border).
    RECT rc = RectInParent(toolbar);
    EXPECT_LE(rc.bottom, 400);
    EXPECT_GE(rc.bottom, 398);
    EXPECT_GT(rc.top, 300);
    EXPECT_EQ(0, GetWindowLongA(toolbar, GWL_STYLE) & TBSTYLE_TOOLTIPS);

    // A click on the second button reaches the owner as its command.
    RECT button;
    SendMessageA(toolbar, TB_GETITEMRECT, 1, (LPARAM)&button);
    LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    SendMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(toolbar, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(1, gFrameLog.commands);
    EXPECT_EQ(1, gFrameLog.lastCommandId);
    EXPECT_EQ(toolbar, gFrameLog.lastCommandControl);

    QlToolbarDestroy(toolbar, items, 3);
    EXPECT_FALSE(IsWindow(toolbar));
    for (const QlToolbarItem &item : items) EXPECT_EQ(nullptr, item.bitmap);
}

TEST_F(ToolbarTest, RecreatingFromTheSameTableHoldsEachBitmapOnce)
{
    QlToolbarItem items[] = {{IDBMP_SAVE, 0, NULL, " Save "}, {IDBMP_CLOSE, 1, NULL, " Close "}};
    HWND first = QlToolbarCreate(GetModuleHandleA(NULL), frame, items, 2, 0, 1);
    ASSERT_NE(nullptr, first);
    EXPECT_NE(0, GetWindowLongA(first, GWL_STYLE) & TBSTYLE_TOOLTIPS);
    EXPECT_EQ(0, RectInParent(first).top) << "a top tool bar";
    HBITMAP firstSave = items[0].bitmap;
    QlToolbarDestroy(first, items, 2);
    EXPECT_EQ(nullptr, items[0].bitmap);
    EXPECT_EQ(0, GetObjectType(firstSave)) << "deleted";

    HWND second = QlToolbarCreate(GetModuleHandleA(NULL), frame, items, 2, 0, 1);
    ASSERT_NE(nullptr, second);
    EXPECT_NE(nullptr, items[0].bitmap);
    EXPECT_NE(nullptr, items[1].bitmap);

    // Created again without being destroyed through the table: the handle
    // the table held is released, not leaked.
    HBITMAP stale = items[1].bitmap;
    HWND third = QlToolbarCreate(GetModuleHandleA(NULL), frame, items, 2, 0, 1);
    ASSERT_NE(nullptr, third);
    EXPECT_EQ(0, GetObjectType(stale));
    EXPECT_EQ(2, SendMessageA(second, TB_BUTTONCOUNT, 0, 0)) << "the older bar keeps its pictures";
    QlToolbarDestroy(second, NULL, 0);
    QlToolbarDestroy(third, items, 2);
}

TEST_F(ToolbarTest, AMissingBitmapLeavesNoWindowAndNoHandles)
{
    QlToolbarItem items[] = {{IDBMP_NEW, 0, NULL, "New"}, {IDBMP_SAVE, 1, NULL, "Save"}, {31999, 2, NULL, "Gone"},
                             {IDBMP_CLOSE, 3, NULL, "Close"}};
    EXPECT_EQ(nullptr, QlToolbarCreate(GetModuleHandleA(NULL), frame, items, 4, 1, 0));
    EXPECT_EQ(0, ChildCount(frame));
    for (const QlToolbarItem &item : items) EXPECT_EQ(nullptr, item.bitmap);
}

TEST_F(ToolbarTest, HoldsUpToTwentyButtonsAndRefusesMore)
{
    QlToolbarItem items[QL_TOOLBAR_MAX_BUTTONS + 1];
    for (int i = 0; i <= QL_TOOLBAR_MAX_BUTTONS; i++) {
        items[i] = QlToolbarItem{IDBMP_NEW + i % 4, i, NULL, ""};
        snprintf(items[i].text, sizeof items[i].text, "B%d", i);
    }
    HWND full = QlToolbarCreate(GetModuleHandleA(NULL), frame, items, QL_TOOLBAR_MAX_BUTTONS, 1, 0);
    ASSERT_NE(nullptr, full);
    EXPECT_EQ(QL_TOOLBAR_MAX_BUTTONS, SendMessageA(full, TB_BUTTONCOUNT, 0, 0));
    EXPECT_EQ("B19", ButtonText(full, 19));
    QlToolbarDestroy(full, items, QL_TOOLBAR_MAX_BUTTONS);

    EXPECT_EQ(nullptr, QlToolbarCreate(GetModuleHandleA(NULL), frame, items, QL_TOOLBAR_MAX_BUTTONS + 1, 1, 0));
    EXPECT_EQ(nullptr, QlToolbarCreate(GetModuleHandleA(NULL), frame, items, 0, 1, 0));
    EXPECT_EQ(0, ChildCount(frame));
    for (const QlToolbarItem &item : items) EXPECT_EQ(nullptr, item.bitmap);

    // A label that fills its whole field is cut at the field.
    memset(items[0].text, 'L', sizeof items[0].text);
    HWND one = QlToolbarCreate(GetModuleHandleA(NULL), frame, items, 1, 1, 0);
    ASSERT_NE(nullptr, one);
    EXPECT_EQ(std::string(63, 'L'), ButtonText(one, 0));
    QlToolbarDestroy(one, items, 1);
}

TEST_F(ToolbarTest, SharedFormTablesBuildTheirBars)
{
    const struct {
        QlToolbarItem *items;
        int count;
        const char *labels[4];
    } tables[] = {
        {QlSaveCloseToolbarTable, 2, {" Save ", " Close "}},
        {QlDocViewToolbarTable, 4, {"  Print  ", "  Email  ", "  PDF  ", "  Close  "}},
    };
    for (const auto &t : tables) {
        HWND toolbar = QlToolbarCreate(GetModuleHandleA(NULL), frame, t.items, t.count, 1, 0);
        ASSERT_NE(nullptr, toolbar);
        for (int i = 0; i < t.count; i++) {
            EXPECT_EQ(i, t.items[i].commandId);
            EXPECT_EQ(t.labels[i], ButtonText(toolbar, i));
        }
        QlToolbarDestroy(toolbar, t.items, t.count);
    }
}

}  // namespace
