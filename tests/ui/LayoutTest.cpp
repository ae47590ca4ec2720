#include "QlGTest.h"
#include "UiTestSupport.h"

#include <commctrl.h>
#include <functional>

#include "ui/QlLayout.h"
#include "ui/QlListView.h"
#include "ui/QlToolbar.h"
#include "ui/QlUtil.h"

namespace {

static bool SameRect(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static std::string Show(const RECT &r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override { frame = TestFrame(800, 600); }
    void TearDown() override
    {
        QlMainToolbarWnd = QlLangPanelWnd = QlStatusPanelWnd = NULL;
        QlSaveCloseToolbar = QlDocViewToolbar = NULL;
        QlUiDocFitColumnsHook = NULL;
        DestroyWindow(frame);
    }
    HWND frame = NULL;
};

TEST_F(LayoutTest, AnchorHelpersPlaceItemsAgainstTheParentClientEdges)
{
    HWND dialog = TestChild(frame, 1, 0, 0, 400, 300);
    const struct {
        const char *name;
        std::function<BOOL(HWND dialog, HWND item)> move;
        BOOL result;
        RECT expected;
    } cases[] = {
        {"MoveWindow", [](HWND, HWND i) { return QlUiMoveWindow(i, 1, 2); }, TRUE, {1, 2, 101, 42}},
        {"MoveItem", [](HWND d, HWND) { return QlUiMoveItem(d, 10, 5, 6); }, TRUE, {5, 6, 105, 46}},
        {"ShiftItemX", [](HWND d, HWND) { return QlUiShiftItemX(d, 10, 15); }, TRUE, {35, 30, 135, 70}},
        {"MoveItemLeftOf, wider than the room", [](HWND d, HWND) { return QlUiMoveItemLeftOf(d, 10, 11); }, TRUE,
         {-50, 200, 50, 240}},
        {"MoveToRight", [](HWND, HWND i) { return QlUiMoveToRight(i, 7); }, TRUE, {293, 30, 393, 70}},
        {"MoveItemToRight", [](HWND d, HWND) { return QlUiMoveItemToRight(d, 10, 0); }, TRUE, {300, 30, 400, 70}},
        {"MoveToBottom", [](HWND, HWND i) { return QlUiMoveToBottom(i, 4); }, TRUE, {20, 256, 120, 296}},
        {"MoveItemToBottom", [](HWND d, HWND) { return QlUiMoveItemToBottom(d, 10, 250, 5); }, TRUE,
         {20, 205, 120, 245}},
        {"StretchRight", [](HWND, HWND i) { return QlUiStretchRight(i, 10); }, TRUE, {20, 30, 390, 70}},
        {"StretchItemRight", [](HWND d, HWND) { return QlUiStretchItemRight(d, 10, 0); }, TRUE, {20, 30, 400, 70}},
        {"StretchDown", [](HWND, HWND i) { return QlUiStretchDown(i, 8); }, TRUE, {20, 30, 120, 292}},
        {"StretchItemDown", [](HWND d, HWND) { return QlUiStretchItemDown(d, 10, 0); }, TRUE, {20, 30, 120, 300}},
        {"DockBottom mode 0", [](HWND, HWND i) { return QlUiDockBottom(i, 0, 0); }, TRUE, {300, 260, 400, 300}},
        {"DockBottom mode 1, margin 5", [](HWND, HWND i) { return QlUiDockBottom(i, 1, 5); }, TRUE,
         {20, 260, 120, 295}},
        {"DockBottom mode 2 does not exist", [](HWND, HWND i) { return QlUiDockBottom(i, 2, 0); }, FALSE,
         {20, 30, 120, 70}},
        {"missing item", [](HWND d, HWND) { return QlUiMoveItem(d, 99, 0, 0); }, FALSE, {20, 30, 120, 70}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        HWND item = TestChild(dialog, 10, 20, 30, 100, 40);
        HWND other = TestChild(dialog, 11, 50, 200, 60, 20);
        EXPECT_EQ(c.result, c.move(dialog, item));
        RECT got = RectInParent(item);
        EXPECT_TRUE(SameRect(c.expected, got)) << Show(got);
        DestroyWindow(item);
        DestroyWindow(other);
    }

    // A parent narrower than the margin leaves an empty control.
    HWND item = TestChild(dialog, 10, 20, 30, 100, 40);
    QlUiStretchRight(item, 500);
    RECT got = RectInParent(item);
    EXPECT_LE(got.right, got.left);

    QlUiRectRec saved = {42, 0, 0, 0, 0};
    EXPECT_EQ(&saved, QlUiSaveRectInParent(item, &saved));
    EXPECT_EQ(42, saved.id);
    EXPECT_EQ(20, saved.left);
    EXPECT_EQ(30, saved.top);
    int width = 0, height = 0, top = 0, left = 0;
    QlUiGetRectInParent(item, &width, &height, &top, &left);
    EXPECT_EQ(saved.width, width);
    EXPECT_EQ(40, height);
}

TEST_F(LayoutTest, ModuleWindowsFillThePaneBetweenToolbarAndPanels)
{
    QlMainToolbarWnd = TestChild(frame, 0, 0, 0, 800, 56);
    QlLangPanelWnd = TestChild(frame, 0, 0, 580, 150, 20);
    QlStatusPanelWnd = TestChild(frame, 0, 600, 575, 200, 25);
    HWND module = TestChild(frame, 0, 10, 100, 300, 200);

    EXPECT_TRUE(QlUiFillBelowToolbar(module));
    RECT got = RectInParent(module);
    EXPECT_TRUE(SameRect(RECT{10, 59, 800, 580}, got)) << Show(got);

    EXPECT_TRUE(QlUiFitPane(module));
    got = RectInParent(module);
    RECT window;
    GetWindowRect(frame, &window);
    EXPECT_TRUE(SameRect(RECT{0, 56, window.right - window.left, 575}, got)) << Show(got);

    QlStatusPanelWnd = NULL;  // none yet: down to the client bottom
    QlUiFitPane(module);
    EXPECT_EQ(600, RectInParent(module).bottom);

    RECT before;
    GetWindowRect(frame, &before);
    EXPECT_TRUE(QlUiSetClientSize(frame, 500, 400));
    RECT client, after;
    GetClientRect(frame, &client);
    GetWindowRect(frame, &after);
    EXPECT_EQ(500, client.right);
    EXPECT_EQ(400, client.bottom);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);
}

// A document form with a few controls of each list of the layout.
class DocLayoutTest : public LayoutTest {
protected:
    void SetUp() override
    {
        LayoutTest::SetUp();
        QlMainToolbarWnd = TestChild(frame, 0, 0, 0, 800, 40);
        QlLangPanelWnd = TestChild(frame, 0, 0, 580, 150, 20);
        form = TestChild(frame, 0, 0, 40, 600, 400);
        TestChild(form, 1184, 400, 10, 150, 20);  // title: header block
        TestChild(form, 1185, 300, 10, 50, 20);   // header block
        TestChild(form, 1149, 10, 350, 60, 20);   // bottom row
        TestChild(form, 1162, 380, 300, 60, 20);  // header block and totals
        TestChild(form, 1170, 450, 300, 100, 20); // gross: header block and totals
        TestChild(form, 1175, 10, 300, 60, 20);   // totals
        lines = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 60, 500, 200, form,
                                (HMENU)1161, GetModuleHandleA(NULL), NULL);
        QlUiDocFitColumnsHook = [](HWND f, int argument) {
            fitForm = f;
            fitArgument = argument;
            fitCalls++;
        };
        fitCalls = 0;
    }
    void TearDown() override
    {
        if (QlSaveCloseToolbar) QlToolbarDestroy(QlSaveCloseToolbar, QlSaveCloseToolbarTable, 2);
        if (QlDocViewToolbar) QlToolbarDestroy(QlDocViewToolbar, QlDocViewToolbarTable, 4);
        LayoutTest::TearDown();
    }
    RECT At(int id) { return RectInParent(GetDlgItem(form, id)); }

    HWND form = NULL, lines = NULL;
    static HWND fitForm;
    static int fitArgument, fitCalls;
};
HWND DocLayoutTest::fitForm;
int DocLayoutTest::fitArgument, DocLayoutTest::fitCalls;

TEST_F(DocLayoutTest, EditorFillsThePaneAndKeepsTheTotalsAboveTheNewToolbar)
{
    QlSaveCloseToolbar = QlToolbarCreate(GetModuleHandleA(NULL), form, QlSaveCloseToolbarTable, 2, 1, 0);
    ASSERT_NE(nullptr, QlSaveCloseToolbar);
    HWND oldToolbar = QlSaveCloseToolbar;

    QlUiLayoutDocEditor(form, 7);

    EXPECT_TRUE(SameRect(RECT{0, 43, 800, 580}, RectInParent(form))) << Show(RectInParent(form));
    EXPECT_EQ(797, At(1184).right) << "title ends 3 pixels from the right edge";
    EXPECT_EQ(547, At(1185).left) << "header block moved by the same dx (247)";
    EXPECT_EQ(10, At(1185).top);
    EXPECT_EQ(517, At(1149).top) << "bottom row docked to the bottom, x kept";
    EXPECT_EQ(10, At(1149).left);

    ASSERT_TRUE(IsWindow(QlSaveCloseToolbar));
    EXPECT_FALSE(IsWindow(oldToolbar));
    EXPECT_EQ(form, GetParent(QlSaveCloseToolbar));
    int barTop = RectInParent(QlSaveCloseToolbar).top;
    EXPECT_GT(barTop, 450);
    int dy = barTop - 20 - 300 - 15;
    EXPECT_EQ(dy, QlUiDocLayout.dy);
    EXPECT_EQ(barTop - 15, At(1170).bottom) << "totals end 15 pixels above the tool bar";
    EXPECT_EQ(697, At(1170).left);
    EXPECT_EQ(300 + dy, At(1175).top);
    EXPECT_EQ(10, At(1175).left);
    EXPECT_EQ(300 + dy, At(1162).top);
    EXPECT_EQ(800, At(1161).right) << "line list stretched to the right edge";
    EXPECT_EQ(200 + dy, At(1161).bottom - At(1161).top);

    EXPECT_EQ(1, fitCalls);
    EXPECT_EQ(form, fitForm);
    EXPECT_EQ(7, fitArgument);
    // The placements before the layout are kept, paired with their ids.
    EXPECT_EQ(1184, QlUiDocLayout.saved[2].id);
    EXPECT_EQ(400, QlUiDocLayout.saved[2].left);
    EXPECT_EQ(40, QlUiDocLayout.form.top);

    // Again without a size change: nothing moves, the tool bar is made anew.
    RECT title = At(1184), gross = At(1170), list = At(1161);
    QlUiLayoutDocEditor(form, 7);
    EXPECT_TRUE(SameRect(title, At(1184)));
    EXPECT_TRUE(SameRect(gross, At(1170)));
    EXPECT_TRUE(SameRect(list, At(1161)));
    EXPECT_EQ(0, QlUiDocLayout.dy);
    EXPECT_TRUE(IsWindow(QlSaveCloseToolbar));
    EXPECT_EQ(2, SendMessageA(QlSaveCloseToolbar, TB_BUTTONCOUNT, 0, 0));
}

TEST_F(DocLayoutTest, ViewsReCreateTheirFourButtonBar)
{
    QlDocViewToolbar = QlToolbarCreate(GetModuleHandleA(NULL), form, QlDocViewToolbarTable, 4, 1, 0);
    // Another form's bar in the other slot is not this form's.
    HWND elsewhere = TestChild(frame, 0, 0, 0, 10, 10);
    QlSaveCloseToolbar = QlToolbarCreate(GetModuleHandleA(NULL), elsewhere, QlSaveCloseToolbarTable, 2, 1, 0);
    HWND foreign = QlSaveCloseToolbar;

    QlUiLayoutDocEditor(form, 0);
    EXPECT_EQ(form, GetParent(QlDocViewToolbar));
    EXPECT_EQ(4, SendMessageA(QlDocViewToolbar, TB_BUTTONCOUNT, 0, 0));
    EXPECT_EQ(foreign, QlSaveCloseToolbar);
    EXPECT_EQ(RectInParent(QlDocViewToolbar).top - 15, At(1170).bottom);
}

TEST_F(DocLayoutTest, WithoutAToolbarTheTotalsStayAndTheListKeepsItsHeight)
{
    QlUiLayoutDocEditor(form, 0);
    EXPECT_EQ(797, At(1184).right);
    EXPECT_EQ(300, At(1170).top);
    EXPECT_EQ(300, At(1175).top);
    EXPECT_EQ(200, At(1161).bottom - At(1161).top);
    EXPECT_EQ(800, At(1161).right);
}

TEST_F(DocLayoutTest, CreditEditorFitsTheFirstColumnInsteadOfTheHook)
{
    const char *titles[] = {"Details", "Amount"};
    const int widths[] = {100, 90};
    QlListSetColumns(lines, titles, 2, widths, 0, NULL);
    QlSaveCloseToolbar = QlToolbarCreate(GetModuleHandleA(NULL), form, QlSaveCloseToolbarTable, 2, 1, 0);

    QlUiLayoutCreditEditor(form, 0);
    EXPECT_EQ(0, fitCalls);
    RECT list;
    GetWindowRect(lines, &list);
    EXPECT_EQ((list.right - list.left) - 90 - 25, SendMessageA(lines, LVM_GETCOLUMNWIDTH, 0, 0));
    EXPECT_EQ(RectInParent(QlSaveCloseToolbar).top - 15, At(1170).bottom);
}

}  // namespace
