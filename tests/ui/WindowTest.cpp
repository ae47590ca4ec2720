#include "QlGTest.h"
#include "UiTestSupport.h"

#include <commctrl.h>
#include <shlobj.h>
#include <string.h>

#include "ui/QlAppState.h"
#include "ui/QlSeams.h"
#include "ui/QlWindow.h"
#include "resources/QlResIds.h"

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { frame = TestFrame(400, 300); }
    void TearDown() override
    {
        QlSeamsReset();
        DestroyWindow(frame);
    }
    HWND frame = NULL;
};

static HWND Popup(HWND owner, int width, int height)
{
    return CreateWindowExA(0, "QlTestFrame", "", WS_POPUP, 0, 0, width, height, owner, NULL,
                           GetModuleHandleA(NULL), NULL);
}

TEST_F(WindowTest, CenterWindowCentresOverTheOwnerTheScreenOrTheParentClient)
{
    RECT owner;
    GetWindowRect(frame, &owner);

    HWND narrow = Popup(frame, 100, 60);
    QlUiCenterWindow(narrow);
    RECT rc;
    GetWindowRect(narrow, &rc);
    EXPECT_EQ(owner.left + ((owner.right - owner.left) - 100) / 2, rc.left);
    EXPECT_EQ(owner.top + ((owner.bottom - owner.top) - 60) / 2, rc.top);
    EXPECT_EQ(100, rc.right - rc.left);

    HWND large = Popup(frame, 1000, 700);
    QlUiCenterWindow(large);
    GetWindowRect(large, &rc);
    EXPECT_LT(rc.left, owner.left) << "a dialog wider than its owner gets a negative offset";
    EXPECT_EQ(owner.left + ((owner.right - owner.left) - 1000) / 2, rc.left);

    HWND alone = Popup(NULL, 200, 100);
    QlUiCenterWindow(alone);
    GetWindowRect(alone, &rc);
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 200) / 2, rc.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 100) / 2, rc.top);

    // A child is placed in its parent's client coordinates.
    HWND child = TestChild(frame, 5, 0, 0, 100, 60);
    QlUiCenterWindow(child);
    RECT inParent = RectInParent(child);
    RECT frameRect;
    GetWindowRect(frame, &frameRect);
    POINT expected = {frameRect.left + ((frameRect.right - frameRect.left) - 100) / 2,
                      frameRect.top + ((frameRect.bottom - frameRect.top) - 60) / 2};
    ScreenToClient(frame, &expected);
    EXPECT_EQ(expected.x, inParent.left);
    EXPECT_EQ(expected.y, inParent.top);

    DestroyWindow(narrow);
    DestroyWindow(large);
    DestroyWindow(alone);
}

TEST_F(WindowTest, ComboFillSelectsTheFirstPrefixMatchAfterEntryZero)
{
    const struct {
        const char *strings[4];
        int index;
        int expected;
    } cases[] = {
        {{"Net", "Net 30", NULL}, 0, 1},            // the search starts after entry 0
        {{"Net 30", "Net", NULL}, 1, 1},
        {{"Euro", "Dollar", "Pound", NULL}, 0, 0},  // wraps round to entry 0
        {{"euro", "DOLLAR", NULL}, 1, 1},           // case-insensitive
        {{"a", "b", NULL}, 2, CB_ERR},              // past the strings: nothing selected
        {{"a", "b", NULL}, -1, CB_ERR},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.strings[0]);
        HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 100, 100, frame,
                                     (HMENU)77, GetModuleHandleA(NULL), NULL);
        EXPECT_EQ(c.expected, QlUiComboFill(frame, c.strings, 77, c.index));
        int count = 0;
        while (c.strings[count]) count++;
        EXPECT_EQ(count, SendMessageA(combo, CB_GETCOUNT, 0, 0));
        EXPECT_EQ(c.expected, SendMessageA(combo, CB_GETCURSEL, 0, 0));
        DestroyWindow(combo);
    }
}

TEST_F(WindowTest, CreateStaticAndSetText)
{
    HWND plain = QlUiCreateStatic(GetModuleHandleA(NULL), frame, 1, 2, 30, 40, SS_CENTERIMAGE, 0);
    HWND centred = QlUiCreateStatic(GetModuleHandleA(NULL), frame, 0, 0, 30, 40, 0, 1);
    ASSERT_TRUE(plain && centred);
    EXPECT_EQ(" ", WindowText(plain));
    EXPECT_EQ(0, GetDlgCtrlID(plain));
    LONG style = GetWindowLongA(plain, GWL_STYLE);
    EXPECT_TRUE((style & WS_VISIBLE) && (style & SS_CENTERIMAGE));
    EXPECT_EQ(0, style & SS_TYPEMASK);
    EXPECT_EQ(SS_CENTER, GetWindowLongA(centred, GWL_STYLE) & SS_TYPEMASK);
    RECT rc = RectInParent(plain);
    EXPECT_EQ(1, rc.left);
    EXPECT_EQ(42, rc.bottom);
    EXPECT_TRUE(QlUiSetText(plain, "Customers"));
    EXPECT_EQ("Customers", WindowText(plain));
}

// The kept handles never outlive what they stand for: a control destroyed
// and made again, another dialog with the same ids, a control given to
// another parent, a missing id and a changed id are all found as GetDlgItem
// finds them.
TEST_F(WindowTest, ControlLookupFollowsTheDialogsChildren)
{
    auto edit = [](HWND parent, int id, const char *text) {
        return CreateWindowExA(0, "EDIT", text, WS_CHILD, 0, 0, 50, 20, parent, (HMENU)(INT_PTR)id,
                               GetModuleHandleA(NULL), NULL);
    };
    HWND other = TestFrame(200, 100);
    HWND first = edit(frame, 501, "first");
    edit(other, 501, "other");
    char text[16];
    QlUiGetField(frame, 501, text, sizeof text);
    EXPECT_STREQ("first", text);
    QlUiGetField(other, 501, text, sizeof text);
    EXPECT_STREQ("other", text);

    DestroyWindow(first);
    EXPECT_EQ(NULL, QlUiControl(frame, 501));
    HWND again = edit(frame, 501, "again");
    EXPECT_EQ(again, QlUiControl(frame, 501));
    QlUiGetField(frame, 501, text, sizeof text);
    EXPECT_STREQ("again", text);

    SetParent(again, other);
    EXPECT_EQ(GetDlgItem(other, 501), QlUiControl(other, 501));
    EXPECT_EQ(NULL, QlUiControl(frame, 501));
    SetParent(again, frame);
    SetWindowLongPtrA(again, GWLP_ID, 502);
    EXPECT_EQ(NULL, QlUiControl(frame, 501));
    EXPECT_EQ(again, QlUiControl(frame, 502));
    QlUiGetField(frame, 503, text, sizeof text);
    EXPECT_STREQ("", text);
    DestroyWindow(other);
}

TEST_F(WindowTest, ClosePaneDestroysTheModuleEmptiesTheDescriptionAndTheSlot)
{
    HWND description = QlUiCreateStatic(GetModuleHandleA(NULL), frame, 0, 0, 100, 20, 0, 0);
    QlUiSetText(description, " Manage customer accounts");
    QlDescBarText = description;
    HWND module = TestChild(frame, 0, 0, 0, 100, 100);
    QlModuleWnd = module;
    QlUiClosePane(module);
    EXPECT_FALSE(IsWindow(module));
    EXPECT_EQ(NULL, QlModuleWnd);
    EXPECT_EQ("", WindowText(description));

    // A window that is not the held one leaves the slot alone.
    HWND held = TestChild(frame, 0, 0, 0, 10, 10);
    HWND other = TestChild(frame, 0, 0, 0, 10, 10);
    QlModuleWnd = held;
    QlUiClosePane(other);
    EXPECT_EQ(held, QlModuleWnd);
    QlModuleWnd = NULL;
    QlDescBarText = NULL;
}

TEST_F(WindowTest, AddressEditsAreLimitedAndDatesRead)
{
    for (int id = 1028; id <= 1030; id++)
        CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 100, 20, frame, (HMENU)(INT_PTR)id, NULL, NULL);
    QlUiLimitAddressEdits(frame);
    for (int id = 1028; id <= 1030; id++) EXPECT_EQ(39, SendDlgItemMessageA(frame, id, EM_GETLIMITTEXT, 0, 0));

    HWND edit = CreateWindowExA(0, "EDIT", "5/11/2023", WS_CHILD, 0, 0, 100, 20, frame, (HMENU)90, NULL, NULL);
    QlDateRec date = {};
    EXPECT_EQ(1, QlUiGetDate(frame, 90, &date));
    EXPECT_EQ(5, date.day);
    EXPECT_EQ(11, date.month);
    EXPECT_EQ(2023, date.year);
    SetWindowTextA(edit, "5 November");
    EXPECT_EQ(0, QlUiGetDate(frame, 90, &date));
}

static BROWSEINFOA gBrowseSeen;
static char gBrowseTitle[64];
static LPITEMIDLIST gBrowseAnswer;
static LPITEMIDLIST WINAPI BrowseSeam(LPBROWSEINFOA info)
{
    gBrowseSeen = *info;
    strcpy(gBrowseTitle, info->lpszTitle);
    if (gBrowseAnswer) strcpy(info->pszDisplayName, "windows");
    return gBrowseAnswer;
}

TEST_F(WindowTest, BrowseFolderWritesTheChosenPathAndNothingOnCancel)
{
    QlSeamBrowseForFolder = BrowseSeam;
    char path[MAX_PATH] = "old";
    gBrowseAnswer = NULL;
    EXPECT_EQ(0, QlUiBrowseFolder(frame, path, "Select backup folder"));
    EXPECT_STREQ("", path);
    EXPECT_STREQ("Select backup folder", gBrowseTitle);
    EXPECT_EQ(frame, gBrowseSeen.hwndOwner);
    EXPECT_EQ((UINT)BIF_RETURNONLYFSDIRS, gBrowseSeen.ulFlags);

    gBrowseAnswer = ILCreateFromPathA("C:\\windows");
    ASSERT_NE(nullptr, gBrowseAnswer);
    EXPECT_NE(0, QlUiBrowseFolder(frame, path, "Select backup folder"));
    EXPECT_STREQ("C:\\windows", path);
}

static INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

TEST_F(WindowTest, RegisterClassAndModelessWindows)
{
    ATOM atom = QlUiRegisterClass(GetModuleHandleA(NULL), CS_HREDRAW, DefWindowProcA, IDC_ARROW,
                                  (HBRUSH)GetStockObject(WHITE_BRUSH), "QlWindowTestClass",
                                  MAKEINTRESOURCEA(IDI_QUILLORY), NULL);
    ASSERT_NE(0, atom);
    HWND window = CreateWindowExA(0, "QlWindowTestClass", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                  GetModuleHandleA(NULL), NULL);
    EXPECT_NE(0, GetClassLongPtrA(window, GCLP_HICON)) << "icon 143";
    EXPECT_NE(0, GetClassLongPtrA(window, GCLP_HCURSOR));
    DestroyWindow(window);
    EXPECT_EQ(0, QlUiRegisterClass(GetModuleHandleA(NULL), 0, DefWindowProcA, NULL, NULL, "QlWindowTestClass", NULL,
                                   NULL)) << "registered twice";
    UnregisterClassA("QlWindowTestClass", GetModuleHandleA(NULL));

    HWND modeless = QlUiCreateModeless(GetModuleHandleA(NULL), frame, NoDialogProc, IDD_MSG_BOX);
    ASSERT_NE(nullptr, modeless);
    EXPECT_TRUE(IsWindowVisible(modeless));
    DestroyWindow(modeless);
    EXPECT_EQ(nullptr, QlUiCreateModeless(GetModuleHandleA(NULL), frame, NoDialogProc, 31999));
}

TEST(FileHelpers, PickCopyAndRewind)
{
    FILE *first = (FILE *)0x10, *second = (FILE *)0x20, *out = NULL;
    const struct {
        int flag, count;
        FILE *second, *expected;
    } cases[] = {
        {0, 1, second, second}, {1, 1, second, first}, {0, 0, second, first}, {0, 1, NULL, first},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.expected, QlFilePickCopy(&out, first, c.second, c.flag, c.count));
        EXPECT_EQ(c.expected, out);
    }

    EXPECT_EQ(0, QlFileRewind(NULL));
    FILE *stream = tmpfile();
    ASSERT_NE(nullptr, stream);
    fputs("12345", stream);
    EXPECT_EQ(0, QlFileRewind(stream));
    EXPECT_EQ(0, ftell(stream));
    fclose(stream);
}

}  // namespace

namespace {

INT_PTR CALLBACK SilentDlgProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG;
}

BOOL CALLBACK CollectDialogId(HMODULE, LPCSTR, LPSTR name, LONG_PTR list)
{
    if (IS_INTRESOURCE(name)) ((std::vector<int> *)list)->push_back((int)(ULONG_PTR)name);
    return TRUE;
}

BOOL CALLBACK CollectTypingEdit(HWND child, LPARAM list)
{
    char cls[16] = "";
    GetClassNameA(child, cls, sizeof cls);
    LONG style = GetWindowLongA(child, GWL_STYLE);
    // A barcode box (1141) is multi-line for the scanner's Enter, which it
    // answers itself.
    if (strcmp(cls, "Edit") == 0 && (style & ES_MULTILINE) && !(style & ES_READONLY) && !(style & ES_WANTRETURN) &&
        GetDlgCtrlID(child) != 1141)
        ((std::vector<int> *)list)->push_back(GetDlgCtrlID(child));
    return TRUE;
}

}  // namespace

// Every multi-line field of the program's templates that the user types
// into takes Enter as a new line: in a modal dialog the dialog manager would
// otherwise turn it into IDOK, and a letter or an e-mail's message would run
// together.
TEST(Templates, MultiLineFieldsTakeEnterAsANewLine)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    std::vector<int> ids;
    EnumResourceNamesA(GetModuleHandleA(NULL), (LPCSTR)RT_DIALOG, CollectDialogId, (LONG_PTR)&ids);
    ASSERT_GT(ids.size(), 20u);
    // A hidden owner, also the parent of the pages that are child windows.
    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 800, 600, NULL, NULL, NULL, NULL);
    ASSERT_NE(nullptr, host);
    int checked = 0;
    std::string found;
    for (int id : ids) {
        HWND dialog = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(id), host, SilentDlgProc, 0);
        if (!dialog) continue;
        checked++;
        std::vector<int> edits;
        EnumChildWindows(dialog, CollectTypingEdit, (LPARAM)&edits);
        for (int edit : edits) found += " " + std::to_string(id) + "/" + std::to_string(edit);
        DestroyWindow(dialog);
    }
    DestroyWindow(host);
    EXPECT_GT(checked, 20);
    EXPECT_EQ("", found) << "template/control of a multi-line edit without ES_WANTRETURN";
}
