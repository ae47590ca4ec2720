#include "QlGTest.h"
#include "UiTestSupport.h"

#include "ui/QlHyperlink.h"
#include "resources/QlResIds.h"

namespace {

static int gClicks, gLastClicked;

static INT_PTR CALLBACK AboutLikeProc(HWND, UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        gClicks++;
        gLastClicked = LOWORD(wParam);
        return TRUE;
    }
    return FALSE;
}

class HyperlinkTest : public ::testing::Test {
protected:
    // A dialog with the template's own static and two statics to become links.
    void Open()
    {
        dialog = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_MSG_BOX), NULL, AboutLikeProc, 0);
        ASSERT_NE(nullptr, dialog);
        HFONT font = (HFONT)SendMessageA(dialog, WM_GETFONT, 0, 0);
        web = CreateWindowExA(0, "STATIC", "www.quillory.example", WS_CHILD | WS_VISIBLE, 10, 10, 150, 16, dialog,
                              (HMENU)1410, NULL, NULL);
        mail = CreateWindowExA(0, "STATIC", "help@quillory.example", WS_CHILD | WS_VISIBLE, 10, 30, 150, 16, dialog,
                               (HMENU)1411, NULL, NULL);
        SendMessageA(web, WM_SETFONT, (WPARAM)font, FALSE);
        SendMessageA(mail, WM_SETFONT, (WPARAM)font, FALSE);
        original = font;
        gClicks = 0;
    }
    void TearDown() override
    {
        if (IsWindow(dialog)) DestroyWindow(dialog);
    }
    static bool Underlined(HWND link)
    {
        LOGFONTA lf = {};
        GetObjectA((HFONT)SendMessageA(link, WM_GETFONT, 0, 0), sizeof lf, &lf);
        return lf.lfUnderline != 0;
    }
    static COLORREF TextColour(HWND dialog, HWND control)
    {
        HDC dc = CreateCompatibleDC(NULL);
        SetTextColor(dc, RGB(1, 2, 3));
        SendMessageA(dialog, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)control);
        COLORREF colour = GetTextColor(dc);
        DeleteDC(dc);
        return colour;
    }
    static void MoveMouse(HWND link, int x, int y) { SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

    HWND dialog = NULL, web = NULL, mail = NULL;
    HFONT original = NULL;
};

TEST_F(HyperlinkTest, TwoLinksShareOneParentSubclassAndLightUpOnTheirOwn)
{
    Open();
    WNDPROC dialogProc = (WNDPROC)GetWindowLongPtrA(dialog, GWLP_WNDPROC);
    EXPECT_TRUE(QlLinkAttach(web));
    EXPECT_TRUE(QlLinkAttach(mail));
    EXPECT_TRUE(QlLinkAttach(mail)) << "attaching twice changes nothing";
    EXPECT_EQ((LONG_PTR)QlLinkParentWndProc, GetWindowLongPtrA(dialog, GWLP_WNDPROC));
    EXPECT_EQ((HANDLE)dialogProc, GetPropA(dialog, "_Hyperlink_Original_Proc_")) << "subclassed once";
    EXPECT_NE(0, GetWindowLongA(web, GWL_STYLE) & SS_NOTIFY);

    EXPECT_EQ(QL_LINK_COLOUR, TextColour(dialog, web));
    EXPECT_EQ(QL_LINK_COLOUR, TextColour(dialog, mail));
    EXPECT_NE(QL_LINK_COLOUR, TextColour(dialog, GetDlgItem(dialog, IDT_MSG_TEXT)));

    EXPECT_TRUE(SendMessageA(web, WM_SETCURSOR, (WPARAM)web, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(LoadCursorA(NULL, IDC_HAND), GetCursor());

    MoveMouse(web, 5, 5);
    EXPECT_TRUE(Underlined(web));
    EXPECT_FALSE(Underlined(mail));
    EXPECT_EQ(web, GetCapture());
    MoveMouse(web, 5, 25);  // onto the mail line: outside the web link
    EXPECT_FALSE(Underlined(web));
    EXPECT_EQ(original, (HFONT)SendMessageA(web, WM_GETFONT, 0, 0));
    EXPECT_NE(web, GetCapture());
    MoveMouse(mail, 5, 5);
    EXPECT_TRUE(Underlined(mail));
    EXPECT_EQ(mail, GetCapture());
    MoveMouse(mail, 400, 5);
    EXPECT_FALSE(Underlined(mail));

    SendMessageA(mail, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(mail, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(1, gClicks);
    EXPECT_EQ(1411, gLastClicked);
}

TEST_F(HyperlinkTest, ClosingTheDialogUndoesEverythingAndALaterOneWorksAlike)
{
    for (int round = 0; round < 2; round++) {
        SCOPED_TRACE(round);
        Open();
        QlLinkAttach(web);
        QlLinkAttach(mail);
        MoveMouse(web, 5, 5);
        HGDIOBJ underline = (HGDIOBJ)GetPropA(web, "_Hyperlink_Underline_Font_");
        ASSERT_NE(nullptr, underline);
        EXPECT_EQ(underline, (HGDIOBJ)SendMessageA(web, WM_GETFONT, 0, 0));
        EXPECT_EQ(QL_LINK_COLOUR, TextColour(dialog, web));

        // The static alone first: it takes its own font back before the underline one goes.
        DestroyWindow(web);
        EXPECT_EQ(0, GetObjectType(underline));
        EXPECT_EQ(OBJ_FONT, GetObjectType(original)) << "the dialog's font stays";
        DestroyWindow(dialog);
    }
}

}  // namespace
