#include "QlGTest.h"
#include "UiTestSupport.h"

#include <commctrl.h>
#include <string.h>
#include <algorithm>
#include <string>

#include "ui/QlButtons.h"
#include "ui/QlUiText.h"
#include "resources/QlResIds.h"

namespace {

class ButtonsTest : public ::testing::Test {
protected:
    void SetUp() override { frame = TestFrame(600, 400); }
    void TearDown() override
    {
        QlUiTextSource = NULL;
        DestroyWindow(frame);
    }
    HWND Button(int id, int width = 80)
    {
        return CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_BITMAP, 0, 0, width, 50, frame,
                               (HMENU)(INT_PTR)id, GetModuleHandleA(NULL), NULL);
    }
    static HBITMAP Image(HWND button) { return (HBITMAP)SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0); }
    HWND frame = NULL;
};

// Extent of the text in the caption font of that size on the window's device.
static int CaptionExtent(HWND window, const char *text, int points)
{
    HDC dc = GetDC(window);
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    strcpy(lf.lfFaceName, "Arial Narrow");
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size;
    GetTextExtentPoint32A(dc, text, (int)strlen(text), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(window, dc);
    return size.cx;
}

TEST_F(ButtonsTest, FitFontSizeTakesTheLargestSizeNarrowerThanWidthLessFive)
{
    const char *text = "Statement of account";
    int e[11];
    for (int points = 7; points <= 10; points++) e[points] = CaptionExtent(frame, text, points);
    ASSERT_TRUE(e[10] > e[9] && e[9] > e[8] && e[8] > e[7]) << "sizes must measure apart";
    const struct {
        int width, result, size;
    } cases[] = {
        {e[10] + 6, 1, 10}, {e[10] + 5, 1, 9}, {e[9] + 6, 1, 9}, {e[8] + 6, 1, 8},
        {e[7] + 6, 1, 7},   {e[7] + 5, 0, 10}, {5, 0, 10},       {0, 0, 10},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.width);
        int size = -1;
        EXPECT_EQ(c.result, QlUiFitFontSize(frame, c.width, text, &size));
        EXPECT_EQ(c.size, size);
    }
    int size = -1;
    EXPECT_EQ(1, QlUiFitFontSize(frame, 6, "", &size)) << "an empty caption fits any width above 5";
}

TEST_F(ButtonsTest, FitSeveralTextsTakesTheSmallestOrSeven)
{
    const char *shortText = "Save", *longText = "Statement of account";
    int width = CaptionExtent(frame, longText, 8) + 6;  // the long text fits at 8, not at 9
    ASSERT_GE(CaptionExtent(frame, longText, 9), width - 5);
    HWND button = Button(300, width);
    RECT client;
    GetClientRect(button, &client);
    ASSERT_EQ(width, client.right);
    int size = -1;
    EXPECT_EQ(1, QlUiFitFontSize2(frame, 300, shortText, longText, &size));
    EXPECT_EQ(8, size);
    EXPECT_EQ(1, QlUiFitFontSize3(frame, 300, shortText, shortText, shortText, &size));
    EXPECT_EQ(10, size);
    std::string tooLong(200, 'W');
    EXPECT_EQ(0, QlUiFitFontSize4(frame, 300, shortText, shortText, tooLong.c_str(), shortText, &size));
    EXPECT_EQ(7, size);
    EXPECT_EQ(1, QlUiFitFontSize5(frame, 300, shortText, longText, shortText, shortText, shortText, &size));
    EXPECT_EQ(8, size);
}

TEST_F(ButtonsTest, DrawCaptionPlacesTheTextByMode)
{
    const int W = 96, H = 48;
    const struct {
        const char *name;
        int mode, x, y;
        bool centredAcross, centredDown;
        int minLeft, minTop;
    } cases[] = {
        {"1 centred", 1, 40, 30, true, true, 0, 0},
        {"2 from x, middle", 2, 30, 40, false, true, 30, 0},
        {"4 centred from y", 4, 30, 24, true, false, 0, 24},
        {"8 from x, y", 8, 50, 26, false, false, 50, 26},
        {"mode in the low 16 bits", 0x30004, 0, 24, true, false, 0, 24},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        HBITMAP bitmap = SolidBitmap(W, H, RGB(255, 255, 255));
        EXPECT_EQ(bitmap, QlBitmapDrawCaption(bitmap, "Wx", RGB(0, 0, 0), c.mode, c.x, c.y, 10, 0));
        Box box = DrawnBox(bitmap, 0xFFFFFF);
        ASSERT_FALSE(box.empty());
        EXPECT_GE(box.left, c.minLeft);
        EXPECT_GE(box.top, c.minTop);
        if (c.centredAcross) {
            EXPECT_NEAR(box.left, W - box.right, 3);
        } else {
            EXPECT_LE(box.left, c.minLeft + 3) << "starts at x";
        }
        if (c.centredDown) {
            EXPECT_NEAR(box.top, H - box.bottom, 4);
        }
        DeleteObject(bitmap);
    }
}

TEST_F(ButtonsTest, DrawCaptionRefusesNothingToDrawOn)
{
    EXPECT_EQ(nullptr, QlBitmapDrawCaption(NULL, "x", 0, 1, 0, 0, 10, 0));
    HBITMAP bitmap = SolidBitmap(40, 20, RGB(255, 255, 255));
    EXPECT_EQ(nullptr, QlBitmapDrawCaption(bitmap, "Wx", 0, 3, 0, 0, 10, 0)) << "no mode 3";
    EXPECT_TRUE(DrawnBox(bitmap, 0xFFFFFF).empty());
    EXPECT_EQ(nullptr, QlBitmapLoadWithCaption(31999, "x", 0, 1, 0, 0, 10, 0));
    DeleteObject(bitmap);
}

TEST_F(ButtonsTest, DrawCaptionHaloAndColour)
{
    HBITMAP plain = SolidBitmap(64, 32, RGB(0, 0, 0));
    HBITMAP haloed = SolidBitmap(64, 32, RGB(0, 0, 0));
    QlBitmapDrawCaption(plain, "Wx", RGB(0, 0, 0), 1, 0, 0, 10, 0);
    QlBitmapDrawCaption(haloed, "Wx", RGB(0, 0, 0), 1, 0, 0, 10, 1);
    EXPECT_TRUE(DrawnBox(plain, 0).empty()) << "black on black";
    EXPECT_FALSE(DrawnBox(haloed, 0).empty()) << "the white halo shows";

    HBITMAP red = SolidBitmap(64, 32, RGB(255, 255, 255));
    QlBitmapDrawCaption(red, "WWW", RGB(255, 0, 0), 1, 0, 0, 0, 0);  // size 0: the default font
    std::vector<DWORD> pixels = BitmapPixels(red);
    EXPECT_NE(pixels.end(), std::find(pixels.begin(), pixels.end(), 0xFF0000u));
    DeleteObject(plain);
    DeleteObject(haloed);
    DeleteObject(red);
}

static int gCalls, gLastArgument;
static QlButtonRowItem *gLastItem;
static void RowCommand(int argument, QlButtonRowItem *item)
{
    gCalls++;
    gLastArgument = argument;
    gLastItem = item;
}

TEST_F(ButtonsTest, PictureRowsAndDispatch)
{
    QlButtonRowItem row[3] = {
        {IDBMP_NEW, NULL, RowCommand, 0, "New account", "New"},
        {IDBMP_DELETE, NULL, RowCommand, 1, "Deleted", "Delete"},
        {IDBMP_CLOSE, NULL, NULL, 0, "Closed", "Close"},
    };
    EXPECT_EQ(3, QlUiCreatePictureRow(frame, 10, 20, 40, 40, 5, row, 3));
    for (int i = 0; i < 3; i++) {
        ASSERT_NE(nullptr, row[i].button);
        RECT rc = RectInParent(row[i].button);
        EXPECT_EQ(10 + i * 45, rc.left);
        EXPECT_EQ(20, rc.top);
        EXPECT_NE(0, GetWindowLongA(row[i].button, GWL_STYLE) & BS_BITMAP);
        EXPECT_NE(nullptr, Image(row[i].button));
    }

    HWND status = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 100, 20, frame, NULL, NULL, NULL);
    gCalls = 0;
    EXPECT_EQ(1, QlUiRowDispatch(row[0].button, 42, row, 3, status));
    EXPECT_EQ(1, gCalls);
    EXPECT_EQ(42, gLastArgument);
    EXPECT_EQ(&row[0], gLastItem);
    EXPECT_EQ("New account", WindowText(status));
    SetWindowTextA(status, "");
    EXPECT_EQ(1, QlUiRowDispatch(row[1].button, 1, row, 3, status)) << "disabled, yet the row's";
    EXPECT_EQ(1, QlUiRowDispatch(row[2].button, 1, row, 3, status)) << "no command";
    EXPECT_EQ(1, gCalls);
    EXPECT_EQ("", WindowText(status));
    EXPECT_EQ(1, QlUiRowDispatch(row[0].button, 1, row, 3, NULL));
    EXPECT_EQ(0, QlUiRowDispatch(status, 1, row, 3, status));

    HBITMAP images[3];
    for (int i = 0; i < 3; i++) images[i] = Image(row[i].button);
    QlUiFreeRowImages(row, 3);
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(0, GetObjectType(images[i])) << "deleted";
        EXPECT_EQ(nullptr, Image(row[i].button));
    }
}

TEST_F(ButtonsTest, CaptionRowsDrawEachCaptionAtTheFittedSize)
{
    QlButtonRowItem row[2] = {
        {IDBMP_PRINT_BARCODE, NULL, NULL, 0, NULL, "Print"},
        {IDBMP_PRINT_BARCODE, NULL, NULL, 0, NULL, "Barcode"},
    };
    // Fixed size and top.
    QlUiCreateCaptionRow(frame, 0, 0, 80, 50, 2, row, 2, 20, 8, RGB(0, 0, 128), 0, 0, 0);
    for (int i = 0; i < 2; i++) {
        HBITMAP expected = QlBitmapLoadWithCaption(IDBMP_PRINT_BARCODE, row[i].caption, RGB(0, 0, 128), 4, 0, 20, 8, 0);
        EXPECT_EQ(BitmapPixels(expected), BitmapPixels(Image(row[i].button))) << i;
        DeleteObject(expected);
    }
    QlUiFreeRowImages(row, 2);
    DestroyWindow(row[0].button);
    DestroyWindow(row[1].button);

    // Fitted on buttons too narrow for any size: 7 points at the top for 7 points.
    QlUiCreateCaptionRow(frame, 0, 0, 12, 50, 2, row, 2, 3, 10, 0, 1, 1, 1);
    for (int i = 0; i < 2; i++) {
        HBITMAP expected = QlBitmapLoadWithCaption(IDBMP_PRINT_BARCODE, row[i].caption, 0, 4, 0, 23, 7, 1);
        EXPECT_EQ(BitmapPixels(expected), BitmapPixels(Image(row[i].button))) << i;
        DeleteObject(expected);
    }
    QlUiFreeRowImages(row, 2);

    int size = -1;
    EXPECT_EQ(0, QlUiFitRowFontSize(row[0].button, 12, row, 2, &size));
    EXPECT_EQ(10, size);
    EXPECT_EQ(1, QlUiFitRowFontSize(row[0].button, 400, row, 2, &size));
    EXPECT_EQ(10, size);
}

TEST_F(ButtonsTest, PictureButtonCarriesItsFittedCaption)
{
    HWND button = QlUiCreatePictureButton(GetModuleHandleA(NULL), frame, 5, 6, 12, 50, 1, IDBMP_PRINT_BARCODE, "Go");
    ASSERT_NE(nullptr, button);
    EXPECT_NE(0, GetWindowLongA(button, GWL_STYLE) & BS_BITMAP);
    HBITMAP expected = QlBitmapLoadWithCaption(IDBMP_PRINT_BARCODE, "Go", 0, 4, 0, 23, 7, 0);  // nothing fits 12
    EXPECT_EQ(BitmapPixels(expected), BitmapPixels(Image(button)));
    DeleteObject(expected);
    DeleteObject(Image(button));

    HWND plain = QlUiCreatePictureButton(GetModuleHandleA(NULL), frame, 5, 6, 80, 50, 0, IDBMP_SAVE, "Go");
    EXPECT_EQ(0, GetWindowLongA(plain, GWL_STYLE) & BS_BITMAP);
    EXPECT_EQ(nullptr, Image(plain));
}

TEST_F(ButtonsTest, DocumentButtonBarSitsUnderTheAnchorAndReportsItsButtons)
{
    QlUiTextSource = [](int id) -> const char * { return id == QL_TEXT_SAVE ? "Speichern" : NULL; };
    TestChild(frame, 1187, 120, 300, 60, 20);
    TestChild(frame, 1190, 200, 300, 60, 20);
    HWND bar = QlDocButtonBarCreate(frame, 0);
    ASSERT_NE(nullptr, bar);
    HWND toolbar = FindWindowExA(bar, NULL, TOOLBARCLASSNAMEA, NULL);
    ASSERT_NE(nullptr, toolbar);
    EXPECT_EQ(5, SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    const char *labels[] = {"Speichern", "Print", "Email", "PDF", "Close"};
    for (int i = 0; i < 5; i++) {
        char text[64] = "";
        SendMessageA(toolbar, TB_GETBUTTONTEXTA, i, (LPARAM)text);
        EXPECT_STREQ(labels[i], text);
    }
    RECT tb = RectInParent(toolbar), placed = RectInParent(bar);
    EXPECT_EQ(0, tb.left);
    EXPECT_EQ(0, tb.top);
    EXPECT_EQ(120, placed.left);
    EXPECT_EQ(600, placed.right);
    EXPECT_EQ(400 - (tb.bottom - tb.top) - 2, placed.top);
    EXPECT_EQ((tb.bottom - tb.top) + 2, placed.bottom - placed.top);

    RECT button;
    SendMessageA(toolbar, TB_GETITEMRECT, 3, (LPARAM)&button);
    LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    SendMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(toolbar, WM_LBUTTONUP, 0, at);
    PumpMessages();
    EXPECT_EQ(1, gFrameLog.docButtons);
    EXPECT_EQ(3, gFrameLog.lastDocButton);
    SendMessageA(bar, WM_COMMAND, IDCANCEL, 0);  // not from the tool bar
    PumpMessages();
    EXPECT_EQ(1, gFrameLog.docButtons);

    DestroyWindow(bar);
    EXPECT_FALSE(IsWindow(toolbar));

    HWND named = QlDocButtonBarCreate(frame, 1190);
    ASSERT_NE(nullptr, named);
    EXPECT_EQ(200, RectInParent(named).left);
    DestroyWindow(named);
}

}  // namespace
