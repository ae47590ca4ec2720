#include "QlGTest.h"
#include "UiTestSupport.h"

#include <string.h>

#include "ui/QlMsgDialog.h"
#include "ui/QlSeams.h"
#include "ui/QlUiText.h"
#include "resources/QlResIds.h"

namespace {

struct Seen {
    std::string title, text, okLabel, cancelLabel, firstLabel, secondLabel;
    COLORREF colour = 0;
    bool stillOpen = false;
    bool firstChecked = false, secondChecked = false, firstEnabled = false, secondEnabled = false;
};

class MsgDialogTest : public ::testing::Test {
protected:
    void SetUp() override { owner = TestFrame(400, 300); }
    void TearDown() override
    {
        QlSeamsReset();
        QlUiTextSource = NULL;
        DestroyWindow(owner);
    }

    // A step that records what the dialog shows.
    std::function<void(HWND)> Look(int textId)
    {
        return [this, textId](HWND dialog) {
            seen.title = WindowText(dialog);
            seen.text = WindowText(GetDlgItem(dialog, textId));
            seen.colour = StaticTextColour(dialog, textId);
            seen.okLabel = WindowText(GetDlgItem(dialog, IDB_MSG_OK));
            seen.cancelLabel = WindowText(GetDlgItem(dialog, IDB_MSG_CANCEL));
            seen.firstLabel = WindowText(GetDlgItem(dialog, IDB_MSG_CHOICE_FIRST));
            seen.secondLabel = WindowText(GetDlgItem(dialog, IDB_MSG_CHOICE_SECOND));
            seen.firstChecked = IsDlgButtonChecked(dialog, IDB_MSG_CHOICE_FIRST) == BST_CHECKED;
            seen.secondChecked = IsDlgButtonChecked(dialog, IDB_MSG_CHOICE_SECOND) == BST_CHECKED;
            seen.firstEnabled = IsWindowEnabled(GetDlgItem(dialog, IDB_MSG_CHOICE_FIRST));
            seen.secondEnabled = IsWindowEnabled(GetDlgItem(dialog, IDB_MSG_CHOICE_SECOND));
        };
    }
    // A step that checks the dialog survived whatever the step before did.
    std::function<void(HWND)> StillOpen()
    {
        return [this](HWND dialog) { seen.stillOpen = IsWindow(dialog) && IsWindowVisible(dialog); };
    }

    HWND owner = NULL;
    Seen seen;
};

typedef int (*MessageFn)(HWND, const char *, const char *, COLORREF);

TEST_F(MsgDialogTest, MessageBoxesShowTheTextInTheColourAndCloseOnlyByOk)
{
    const struct {
        MessageFn show;
        const char *name;
    } boxes[] = {{QlMsgBox, "normal"}, {QlMsgBoxLarge, "large"}, {QlMsgBoxTall, "tall"}};
    for (const auto &box : boxes) {
        SCOPED_TRACE(box.name);
        seen = Seen();
        DialogDriver driver({Look(IDT_MSG_TEXT), [](HWND d) { PressKey(d, VK_ESCAPE); },
                             [](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); }, StillOpen(),
                             [](HWND d) { ClickButton(d, IDOK); }});
        EXPECT_EQ(1, box.show(owner, "Error", "Customer account does not exist", QL_COLOUR_WARNING));
        EXPECT_EQ(5u, driver.stepsRun());
        EXPECT_EQ("Error", seen.title);
        EXPECT_EQ("Customer account does not exist", seen.text);
        EXPECT_EQ(QL_COLOUR_WARNING, seen.colour);
        EXPECT_TRUE(seen.stillOpen) << "Escape or the close message ended the box";
    }
}

// A long caption widens the box so that its title bar holds it whole (in the
// caption font, beside the icon and the buttons); the OK button keeps to the
// right edge and the text grows with the box.  A short caption changes nothing.
TEST_F(MsgDialogTest, MessageBoxIsAsWideAsItsCaption)
{
    const char *const captions[] = {"Error", "Transaction Cleardown Complete", "Löschen der Vorgänge fehlgeschlagen"};
    int templateWidth = 0, okRightGapTemplate = -1;
    for (const char *caption : captions) {
        SCOPED_TRACE(caption);
        int width = 0, captionWidth = 0, okRightGap = -1, textWidth = 0;
        DialogDriver driver({[&](HWND d) {
                                 RECT window, client, ok, text;
                                 GetWindowRect(d, &window);
                                 GetClientRect(d, &client);
                                 GetWindowRect(GetDlgItem(d, IDOK), &ok);
                                 GetWindowRect(GetDlgItem(d, IDT_MSG_TEXT), &text);
                                 MapWindowPoints(NULL, d, (POINT *)&ok, 2);
                                 width = window.right - window.left;
                                 okRightGap = client.right - ok.right;
                                 textWidth = text.right - text.left;
                                 NONCLIENTMETRICSA metrics = {};
                                 metrics.cbSize = sizeof metrics;
                                 SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
                                 metrics.lfCaptionFont.lfWeight = FW_BOLD;
                                 HFONT font = CreateFontIndirectA(&metrics.lfCaptionFont);
                                 HDC dc = GetDC(d);
                                 HGDIOBJ old = SelectObject(dc, font);
                                 SIZE size = {};
                                 GetTextExtentPoint32A(dc, caption, (int)strlen(caption), &size);
                                 SelectObject(dc, old);
                                 ReleaseDC(d, dc);
                                 DeleteObject(font);
                                 captionWidth = size.cx;
                             },
                             [](HWND d) { ClickButton(d, IDOK); }});
        EXPECT_EQ(1, QlMsgBoxLarge(owner, caption, "Done", QL_COLOUR_DONE));
        if (caption == captions[0]) {
            templateWidth = width;
            okRightGapTemplate = okRightGap;
            EXPECT_GT(width, captionWidth + 4 * GetSystemMetrics(SM_CXSIZE)) << "a short caption needs no more room";
            continue;
        }
        EXPECT_GE(width, captionWidth * 4 / 3 + 4 * GetSystemMetrics(SM_CXSIZE)) << "the caption is cut";
        EXPECT_GT(width, templateWidth);
        EXPECT_EQ(okRightGapTemplate, okRightGap);
        EXPECT_GT(textWidth, templateWidth / 2);
    }
}

TEST_F(MsgDialogTest, MessageBoxWithNoCaptionAndEmptyTextShowsBlanks)
{
    DialogDriver driver({Look(IDT_MSG_TEXT), [](HWND d) { PressKey(d, VK_RETURN); }});
    EXPECT_EQ(1, QlMsgBox(owner, NULL, "", QL_COLOUR_DONE));
    EXPECT_EQ("", seen.title);
    EXPECT_EQ("", seen.text);
    EXPECT_EQ(QL_COLOUR_DONE, seen.colour);
}

TEST_F(MsgDialogTest, QuestionAnswersOneOnlyForOk)
{
    const struct {
        const char *name;
        std::function<void(HWND)> answer;
        int expected;
    } cases[] = {
        {"OK", [](HWND d) { ClickButton(d, IDB_MSG_OK); }, 1},
        {"Cancel", [](HWND d) { ClickButton(d, IDB_MSG_CANCEL); }, 0},
        {"Escape", [](HWND d) { PressKey(d, VK_ESCAPE); }, 0},
        {"close box", [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, 0},
        {"Enter on the first focus", [](HWND d) { PressKey(d, VK_RETURN); }, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        seen = Seen();
        DialogDriver driver({Look(IDT_MSG_ASK_TEXT), c.answer});
        EXPECT_EQ(c.expected, QlMsgAskOkCancel(owner, "Backup confirmation",
                                               "Would you like to backup data before exit?", QL_COLOUR_WARNING));
        EXPECT_EQ("Backup confirmation", seen.title);
        EXPECT_EQ("Would you like to backup data before exit?", seen.text);
        EXPECT_EQ(QL_COLOUR_WARNING, seen.colour);
        EXPECT_EQ("OK", seen.okLabel);
        EXPECT_EQ("Cancel", seen.cancelLabel);
    }
}

TEST_F(MsgDialogTest, QuestionButtonsFollowTheCurrentLanguage)
{
    QlUiTextSource = [](int id) -> const char * {
        switch (id) {
        case QL_TEXT_OK: return "Ja";
        case QL_TEXT_CANCEL: return "Abbrechen";
        case QL_TEXT_CONFIRMATION: return "Bestätigung";
        }
        return NULL;
    };
    DialogDriver driver({Look(IDT_MSG_ASK_TEXT), [](HWND d) { ClickButton(d, IDB_MSG_OK); }});
    EXPECT_EQ(1, QlMsgAskCloseForm(owner));
    EXPECT_EQ("Ja", seen.okLabel);
    EXPECT_EQ("Abbrechen", seen.cancelLabel);
    EXPECT_EQ("Bestätigung", seen.title);
    EXPECT_EQ("Warning: All entered data will be lost.\nProceed to close form?", seen.text);
    EXPECT_EQ(QL_COLOUR_WARNING, seen.colour);
}

TEST_F(MsgDialogTest, ChoiceDialogReturnsTheCheckedChoiceOnOk)
{
    int choice = 7;
    {
        DialogDriver driver({Look(0), [](HWND d) { ClickButton(d, IDB_MSG_CHOICE_FIRST); },
                             [](HWND d) { ClickButton(d, IDB_MSG_OK); }});
        EXPECT_EQ(1, QlMsgAskChoice(owner, "Email sending options", "Send as PDF attachment",
                                    "Send as HTML attachment", 5, &choice, 0, 0));
    }
    EXPECT_EQ(0, choice);
    EXPECT_EQ("Email sending options", seen.title);
    EXPECT_EQ("Send as PDF attachment", seen.firstLabel);
    EXPECT_EQ("Send as HTML attachment", seen.secondLabel);
    EXPECT_TRUE(seen.secondChecked) << "any nonzero initial choice checks the second";
    EXPECT_FALSE(seen.firstChecked);
    EXPECT_EQ("Cancel", seen.cancelLabel);
}

TEST_F(MsgDialogTest, ChoiceDialogCancelLeavesTheChoiceAndEscapeDoesNothing)
{
    int choice = 7;
    DialogDriver driver({[](HWND d) { PressKey(d, VK_ESCAPE); }, StillOpen(),
                         [](HWND d) { ClickButton(d, IDB_MSG_CHOICE_SECOND); },
                         [](HWND d) { ClickButton(d, IDB_MSG_CANCEL); }});
    EXPECT_EQ(0, QlMsgAskChoice(owner, "Choose", "first", "second", 0, &choice, 0, 0));
    EXPECT_EQ(7, choice);
    EXPECT_TRUE(seen.stillOpen);
}

TEST_F(MsgDialogTest, ChoiceWithBothButtonsDisabledStillAnswersTheInitialChoice)
{
    int choice = -1;
    DialogDriver driver({Look(0), [](HWND d) { ClickButton(d, IDB_MSG_OK); }});
    EXPECT_EQ(1, QlMsgAskChoice(owner, "Choose", "first", "second", 1, &choice, 1, 1));
    EXPECT_EQ(1, choice);
    EXPECT_FALSE(seen.firstEnabled);
    EXPECT_FALSE(seen.secondEnabled);
    EXPECT_TRUE(seen.secondChecked);
}

// What the seam saw and answers.
static QlMsgRequest gLastRequest;
static INT_PTR gSeamAnswer;
static int gSeamChoice;
static INT_PTR AnswerFromSeam(HWND, QlMsgRequest *request)
{
    gLastRequest = *request;
    request->choice = gSeamChoice;
    return gSeamAnswer;
}

TEST_F(MsgDialogTest, ADialogThatCannotOpenIsNeverAYes)
{
    QlSeamMsgDialog = AnswerFromSeam;
    gSeamChoice = 1;
    for (INT_PTR failure : {(INT_PTR)-1, (INT_PTR)0, (INT_PTR)2}) {
        SCOPED_TRACE(failure);
        gSeamAnswer = failure;
        EXPECT_EQ(0, QlMsgAskCloseForm(owner)) << "unsaved data discarded";
        EXPECT_EQ(0, QlMsgAskOkCancel(owner, "c", "q", QL_COLOUR_WARNING));
        int choice = 0;
        EXPECT_EQ(0, QlMsgAskChoice(owner, "c", "a", "b", 0, &choice, 0, 0));
        EXPECT_EQ(0, choice);
        EXPECT_EQ(0, QlMsgBox(owner, "c", "t", 0));
    }
    gSeamAnswer = 1;
    EXPECT_EQ(1, QlMsgAskCloseForm(owner));
    EXPECT_EQ(IDD_MSG_ASK, gLastRequest.dialogId);
    EXPECT_STREQ("Confirmation", gLastRequest.caption);
    EXPECT_EQ(QL_COLOUR_WARNING, gLastRequest.colour);
    int choice = 0;
    EXPECT_EQ(1, QlMsgAskChoice(owner, "c", "a", "b", 0, &choice, 0, 1));
    EXPECT_EQ(1, choice);
    EXPECT_EQ(IDD_MSG_CHOICE, gLastRequest.dialogId);
    EXPECT_EQ(1, gLastRequest.disableSecond);
}

TEST_F(MsgDialogTest, RealDialogWithADeadOwnerCountsAsNo)
{
    HWND dead = TestFrame(10, 10);
    DestroyWindow(dead);
    DialogDriver driver({[](HWND d) { ClickButton(d, IDB_MSG_OK); }});
    EXPECT_EQ(0, QlMsgAskOkCancel(dead, "c", "q", QL_COLOUR_WARNING));
}

}  // namespace
