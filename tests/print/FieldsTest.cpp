#include "QlGTest.h"
#include "ui/UiTestSupport.h"

#include <string>

#include "ui/QlButtons.h"
#include "print/QlFields.h"
#include "resources/QlResIds.h"

namespace {

class FieldsTest : public ::testing::Test {
protected:
    void SetUp() override { frame = TestFrame(600, 400); }
    void TearDown() override
    {
        QlUiPictureLoader = NULL;
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

TEST_F(FieldsTest, ButtonCaptionMovesSmallerSizesDown)
{
    const int y = 15;
    const struct {
        int pointSize, drawnSize, top;
    } cases[] = {{0, 10, y}, {10, 10, y}, {9, 9, y + 1}, {8, 8, y + 2}, {7, 7, y + 2}, {12, 12, y}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pointSize);
        HWND button = Button(200);
        HBITMAP made = QlUiSetButtonCaption(frame, IDBMP_PRINT_BARCODE, 200, y, "Print\nBarcode", c.pointSize);
        ASSERT_NE(nullptr, made);
        EXPECT_EQ(made, Image(button));
        HBITMAP expected = QlBitmapLoadWithCaption(IDBMP_PRINT_BARCODE, "Print\nBarcode", 0, 4, 0, c.top,
                                                   c.drawnSize, 0);
        EXPECT_EQ(BitmapPixels(expected), BitmapPixels(made));
        if (c.top != y) {
            HBITMAP unmoved = QlBitmapLoadWithCaption(IDBMP_PRINT_BARCODE, "Print\nBarcode", 0, 4, 0, y,
                                                      c.drawnSize, 0);
            EXPECT_NE(BitmapPixels(unmoved), BitmapPixels(made));
            DeleteObject(unmoved);
        }
        DeleteObject(expected);
        DestroyWindow(button);
        DeleteObject(made);
    }

    HWND button = Button(201);
    HBITMAP fixed = QlUiSetButtonCaptionFixed(frame, IDBMP_PRINT_BARCODE, 201, "Go", 8);
    HBITMAP expected = QlBitmapLoadWithCaption(IDBMP_PRINT_BARCODE, "Go", 0, 4, 0, 23, 8, 0);
    EXPECT_EQ(BitmapPixels(expected), BitmapPixels(fixed));
    EXPECT_EQ(nullptr, QlUiSetButtonCaption(frame, 31999, 201, 0, "Go", 8));
    EXPECT_EQ(fixed, Image(button)) << "a missing picture leaves the button as it was";
    DeleteObject(expected);
    DestroyWindow(button);
    DeleteObject(fixed);
}

static std::string gLoadedPath;
static HBITMAP gOwnPicture;
static HBITMAP LoadOwnPicture(const char *path)
{
    gLoadedPath = path;
    return gOwnPicture;
}

TEST_F(FieldsTest, PictureCaptionPutsACallerOwnedPictureOnTheButton)
{
    HWND button = Button(210);
    HBITMAP before = QlUiSetButtonBitmap(frame, IDBMP_SAVE, 210);
    ASSERT_NE(nullptr, before);
    EXPECT_EQ(before, Image(button));

    // No picture loader, or a picture that cannot be read: the button stays.
    EXPECT_EQ(nullptr, QlUiSetButtonPictureCaption(frame, "logo.bmp", 210, 5, 5, 0, 8, "Logo"));
    QlUiPictureLoader = LoadOwnPicture;
    gOwnPicture = NULL;
    EXPECT_EQ(nullptr, QlUiSetButtonPictureCaption(frame, "missing.bmp", 210, 5, 5, 0, 8, "Logo"));
    EXPECT_EQ("missing.bmp", gLoadedPath);
    EXPECT_EQ(before, Image(button));

    gOwnPicture = SolidBitmap(64, 48, RGB(255, 255, 255));
    EXPECT_EQ(gOwnPicture, QlUiSetButtonPictureCaption(frame, "logo.bmp", 210, 20, 4, RGB(0, 0, 0), 8, "Logo"));
    EXPECT_EQ(gOwnPicture, Image(button));
    Box box = DrawnBox(gOwnPicture, 0xFFFFFF);
    EXPECT_FALSE(box.empty());
    EXPECT_GE(box.left, 4);
    EXPECT_GE(box.top, 20);
    DestroyWindow(button);
    DeleteObject(gOwnPicture);
    DeleteObject(before);
    EXPECT_EQ(nullptr, QlUiSetButtonBitmap(frame, 31999, 210));
}

TEST_F(FieldsTest, EnableListAndTextWithFont)
{
    for (int id = 220; id < 223; id++) Button(id);
    const int none[] = {0};
    QlUiEnableList(frame, none, FALSE);
    for (int id = 220; id < 223; id++) EXPECT_TRUE(IsWindowEnabled(GetDlgItem(frame, id)));
    const int two[] = {220, 222, 0, 221};
    QlUiEnableList(frame, two, FALSE);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(frame, 220)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(frame, 221))) << "past the terminating 0";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(frame, 222)));
    QlUiEnableList(frame, two, TRUE);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(frame, 220)));

    HWND label = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 100, 20, frame, (HMENU)230, NULL, NULL);
    HFONT font = (HFONT)GetStockObject(ANSI_VAR_FONT);
    QlUiSetTextFont(frame, 230, "Quillory", font);
    EXPECT_EQ(font, (HFONT)SendMessageA(label, WM_GETFONT, 0, 0));
    EXPECT_EQ("Quillory", WindowText(label));
}

}  // namespace
