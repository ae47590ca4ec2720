#include "QlGTest.h"
#include "QlTestWindows.h"
#include "ui/QlUtil.h"

#include <stdlib.h>
#include <string.h>

TEST(SqlQuote, DoublesQuotesAndRefusesWhatDoesNotFit)
{
    char out[32];
    EXPECT_EQ(1, QlSqlQuote("O'Neil", out, sizeof out));
    EXPECT_STREQ("O''Neil", out);
    EXPECT_EQ(1, QlSqlQuote("''", out, sizeof out));
    EXPECT_STREQ("''''", out);
    EXPECT_EQ(1, QlSqlQuote("", out, sizeof out));
    EXPECT_STREQ("", out);

    // "O''Neil" is 7 characters: 8 bytes fit exactly, 7 do not.
    EXPECT_EQ(1, QlSqlQuote("O'Neil", out, 8));
    EXPECT_STREQ("O''Neil", out);
    EXPECT_EQ(0, QlSqlQuote("O'Neil", out, 7));
    EXPECT_STREQ("", out);
    // The edge falls between the two quotes of the pair: "O'" needs 4 bytes.
    EXPECT_EQ(0, QlSqlQuote("O'", out, 3));
    EXPECT_STREQ("", out);
    EXPECT_EQ(1, QlSqlQuote("O'", out, 4));
    EXPECT_STREQ("O''", out);
    EXPECT_EQ(0, QlSqlQuote("x", out, 1));
    EXPECT_EQ(0, QlSqlQuote("x", out, 0));
}

TEST(Csv, QuotesEveryField)
{
    char buf[64] = "";
    FILE *f = tmpfile();
    ASSERT_NE(nullptr, f);
    QlCsvWriteField(f, "a\"b");
    QlCsvWriteField(f, "");
    rewind(f);
    size_t n = fread(buf, 1, sizeof buf - 1, f);
    buf[n] = '\0';
    fclose(f);
    EXPECT_STREQ("\"a\"\"b\",\"\",", buf);
}

TEST(Ring, FifoWithFixedCapacity)
{
    QlRingRec ring;
    ASSERT_EQ(1, QlRingInit(&ring, 3));
    int32_t v;
    for (int round = 0; round < 4; round++) {   // keeps working across the index wrap
        EXPECT_EQ(1, QlRingPush(&ring, 1 + round));
        EXPECT_EQ(1, QlRingPush(&ring, 2 + round));
        EXPECT_EQ(1, QlRingPush(&ring, 3 + round));
        EXPECT_EQ(0, QlRingPush(&ring, 99));
        for (int k = 1; k <= 3; k++) {
            ASSERT_EQ(1, QlRingPop(&ring, &v));
            EXPECT_EQ(k + round, v);
        }
        EXPECT_EQ(0, QlRingPop(&ring, &v));
        EXPECT_EQ(1, QlRingPush(&ring, 7));   // shift the indices by one
        ASSERT_EQ(1, QlRingPop(&ring, &v));
    }
    QlRingFree(&ring);
    EXPECT_EQ(nullptr, ring.slots);
    EXPECT_EQ(0, QlRingPush(&ring, 1));
    EXPECT_EQ(0, QlRingPop(&ring, &v));
}

TEST(StatusPost, PostsOnlyToAPanel)
{
    MSG msg;
    QlStatusPanelWnd = NULL;
    QlStatusPost("nobody listens", RGB(0, 102, 0));
    HWND panel = QlTestHostWindow();
    QlStatusPanelWnd = panel;
    QlStatusPost(NULL, 0);
    EXPECT_FALSE(PeekMessageA(&msg, panel, QL_WM_STATUS_SHOW, QL_WM_STATUS_SHOW, PM_REMOVE));
    QlStatusPost("Saved", RGB(0, 102, 0));
    ASSERT_TRUE(PeekMessageA(&msg, panel, QL_WM_STATUS_SHOW, QL_WM_STATUS_SHOW, PM_REMOVE));
    EXPECT_EQ((WPARAM)RGB(0, 102, 0), msg.wParam);
    EXPECT_STREQ("Saved", (const char *)msg.lParam);
    free((void *)msg.lParam);
    EXPECT_FALSE(PeekMessageA(&msg, panel, QL_WM_STATUS_SHOW, QL_WM_STATUS_SHOW, PM_REMOVE));
    QlStatusPanelWnd = NULL;
    DestroyWindow(panel);
}

static int g_enterCount;
static LRESULT CALLBACK ParentProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == QL_WM_ENTER_KEY) g_enterCount++;
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

TEST(EditEnter, EnterReachesTheParentOncePerKeyDown)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "QlEnterParent";
    RegisterClassA(&wc);
    HWND parent = CreateWindowA("QlEnterParent", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL, NULL, NULL, NULL);
    HWND edit = QlTestAddEdit(parent, 10, "");
    QlEditEnterAttach(edit);
    g_enterCount = 0;
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x40000000);   // auto-repeat
    EXPECT_EQ(2, g_enterCount);
    SendMessageA(edit, WM_CHAR, 'x', 0);                       // other keys reach the edit
    EXPECT_EQ("x", QlTestGetText(parent, 10));
    QlEditEnterDetach(edit);
    EXPECT_EQ(nullptr, GetPropA(edit, "PREVWNDPROC"));
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(2, g_enterCount);
    DestroyWindow(parent);
}
