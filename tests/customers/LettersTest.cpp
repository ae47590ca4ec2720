// Letters (dialogs 220 and 221) and the address label (dialog 199): what
// they show for the module's account, and the letter and label on paper.
#include "CustTestSupport.h"
#include "QlTestPrint.h"
#include "UiTestSupport.h"

#include "ui/QlSeams.h"
#include "ui/QlWindow.h"
#include "customers/QlCustOpeners.h"
#include "customers/QlCustOutput.h"
#include "resources/QlResIds.h"
#include "resources/QlResNetmail.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <functional>
#include <string>
#include <vector>

namespace {

int sPrintDialogs;
BOOL WINAPI CountPrintDialog(LPPRINTDLGA)
{
    sPrintDialogs++;
    return FALSE;
}

std::string DialogField(HWND dialog, int id)
{
    char text[600] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

class LettersTest : public CustTest {
protected:
    void SetUp() override
    {
        CustTest::SetUp();
        saved = QlSettings.cfg;
        QlSettingsRec &cfg = QlSettings.cfg;
        strcpy(cfg.companyName, "Acme Widgets Ltd");
        strcpy(cfg.address1, "1 High Street");
        strcpy(cfg.contactName, "Mary Manager");
        strcpy(cfg.letters[1].title, "First Payment Reminder");
        strcpy(cfg.letters[1].body,
               "Our records show that your account is overdue. We would be grateful if you could settle the "
               "outstanding balance within seven days.\r\nThank you for your business.");
        sPrintDialogs = 0;
        QlSeamPrintDialog = CountPrintDialog;
        QlCustLabelPosition = 0;
    }

    void TearDown() override
    {
        CustTest::TearDown();
        QlSettings.cfg = saved;
    }

    // Ann's account (with a contact) and Bob's (without).
    void AddAccounts()
    {
        QlCustRec ann = {};
        strcpy(ann.acref, "AN000");
        strcpy(ann.company, "Ann's Antiques");
        strcpy(ann.addr1, "3 Quay Street");
        strcpy(ann.addr2, "Galway");
        strcpy(ann.contact, "Ann");
        strcpy(ann.wemail, "ann@antiques.example");
        ASSERT_EQ(1, QlCustAdd(&ann, err)) << err;
        AddCustomer("BO000", "Bob's Bikes", "7 Long Walk");
    }

    // The letter dialog for the account, modeless.
    HWND OpenLetter(int choice, const char *acref)
    {
        QlCustLetterChoice = choice;
        strcpy(QlCustLetterAcRef, acref);
        HWND letter =
            CreateDialogParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_CUST_LETTER), main, QlCustLetterDlgProc, 0);
        EXPECT_NE(nullptr, letter);
        return letter;
    }

    QlSettingsRec saved;
};

}  // namespace

TEST_F(LettersTest, LettersNeedACustomer)
{
    Open();
    DialogDriver guard({});   // no dialog may open
    Command(10);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Customer List Empty", messages[0].caption);
    EXPECT_EQ("Please create a customer first", messages[0].text);
    EXPECT_EQ(0u, guard.stepsRun());
}

TEST_F(LettersTest, TheChosenLetterIsFilledForTheShownAccount)
{
    AddAccounts();
    const struct {
        int row;                 // of the name list
        int choice;
        const char *acref, *company, *addressee, *subject;
        bool body;
    } cases[] = {
        {0, 1, "AN000", "Ann's Antiques", "Ann", "First Payment Reminder", true},
        {1, 4, "BO000", "Bob's Bikes", "Customer", "", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.acref);
        Open();
        Click(Names(), c.row);
        std::vector<std::string> letterNames;
        std::string shown[8];
        DialogDriver driver({
            [&](HWND choose) {
                char text[64];
                for (int i = 0; i < (int)SendDlgItemMessageA(choose, IDL_LETSEL_LIST, LB_GETCOUNT, 0, 0); i++) {
                    SendDlgItemMessageA(choose, IDL_LETSEL_LIST, LB_GETTEXT, i, (LPARAM)text);
                    letterNames.push_back(text);
                }
                SendDlgItemMessageA(choose, IDL_LETSEL_LIST, LB_SETCURSEL, c.choice, 0);
                ClickButton(choose, IDB_LETSEL_RUN);
            },
            [&](HWND letter) {
                const int ids[8] = {IDT_LET_ACREF,     IDE_LET_COMPANY, IDE_CUST_ADDR1,   IDE_LET_ADDRESSEE,
                                    IDE_LET_SUBJECT,   IDE_LET_BODY,    IDE_LET_OPENING,  IDE_LET_SIGNATURE};
                for (int i = 0; i < 8; i++) shown[i] = DialogField(letter, ids[i]);
                ClickButton(letter, IDB_LET_CLOSE);
            },
        });
        Command(10);
        ASSERT_EQ(2u, driver.stepsRun());
        EXPECT_EQ((std::vector<std::string>{"Address Change", "First Payment Reminder", "Second Payment Reminder",
                                            "Final Payment Reminder", "New Empty Letter"}),
                  letterNames);
        EXPECT_EQ(c.choice, QlCustLetterChoice);
        EXPECT_EQ(c.acref, shown[0]);
        EXPECT_EQ(c.company, shown[1]);
        EXPECT_FALSE(shown[2].empty());
        EXPECT_EQ(c.addressee, shown[3]);
        EXPECT_EQ(c.subject, shown[4]);
        EXPECT_EQ(c.body ? std::string(QlSettings.cfg.letters[1].body) : "", shown[5]);
        EXPECT_EQ("Dear", shown[6]);
        EXPECT_EQ("Mary Manager", shown[7]);
        EXPECT_TRUE(messages.empty());
    }
}

TEST_F(LettersTest, TheLetterOnPaperAndByEmail)
{
    AddAccounts();
    HWND letter = OpenLetter(1, "AN000");
    ASSERT_NE(nullptr, letter);
    EXPECT_EQ("Sincerely", DialogField(letter, IDC_LET_CLOSING));

    QlLetterJob job;
    QlLetterRead(letter, &job.letter);
    memset(&job.style, 0, sizeof job.style);
    job.style = QlTestSampleStyle();
    MetafilePrinter printer;
    ASSERT_EQ(1, QlLetterDraw(printer.target(), &job));
    printer.finish();
    ASSERT_EQ(1u, printer.pageCount());
    EmfRecords page = printer.records(0);
    for (const char *text : {"Acme Ltd", "Ann's Antiques", "3 Quay Street", "A/C Ref: AN000", "First Payment Reminder",
                             "Dear Ann,", "Thank you for your business.", "Sincerely", "Mary Manager"})
        EXPECT_TRUE(page.hasText(text)) << text << "\n" << page.allText();
    // The body is wrapped inside the margins.
    for (const EmfText &t : page.texts) EXPECT_LE(t.right, printer.target()->page.right + 1) << t.text;
    EXPECT_EQ(3, page.fontsDeleted);   // the letter's two and the company block's
    std::string dir = QlTestArtifactDir();
    if (!dir.empty()) {
        EXPECT_TRUE(printer.savePng(0, dir + "/letter.png"));
    }

    // E-mail: the letter is the message, to the account's address.
    std::string to, subject, message;
    {
        DialogDriver driver({[&](HWND mail) {
            to = DialogField(mail, IDE_MAIL_TO);
            subject = DialogField(mail, IDE_MAIL_SUBJECT);
            message = DialogField(mail, IDE_MAIL_MESSAGE);
            ClickButton(mail, IDB_MAIL_CLOSE);
        }});
        SendMessageA(letter, WM_COMMAND, MAKEWPARAM(IDB_LET_EMAIL, BN_CLICKED), 0);
        EXPECT_EQ(1u, driver.stepsRun());
    }
    EXPECT_EQ("ann@antiques.example", to);
    EXPECT_EQ("First Payment Reminder", subject);
    EXPECT_EQ(std::string("Dear Ann,\r\n\r\n") + QlSettings.cfg.letters[1].body + "\r\n\r\nSincerely\r\nMary Manager",
              message);

    // A letter longer than a message can hold is refused, not cut.
    SetDlgItemTextA(letter, IDE_LET_BODY, std::string(500, 'x').c_str());
    {
        DialogDriver guard({});
        SendMessageA(letter, WM_COMMAND, MAKEWPARAM(IDB_LET_EMAIL, BN_CLICKED), 0);
        EXPECT_EQ(0u, guard.stepsRun());
    }
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("The letter is too long for an e-mail message (at most 511 characters). Please shorten it or print it.",
              messages[0].text);
    DestroyWindow(letter);
}

TEST_F(LettersTest, TheLabelPositionIsRememberedAndPrinted)
{
    AddAccounts();
    Open();
    Click(Names(), 0);
    const struct {
        int choose;        // position to check, -1 to close
        int checkedFirst;  // position checked when the dialog opened
    } runs[] = {{4, 0}, {-1, 4}, {13, 4}};
    for (const auto &run : runs) {
        SCOPED_TRACE(run.choose);
        int checked = -1;
        std::string company, caption;
        DialogDriver driver({[&](HWND dialog) {
            caption = WindowText(dialog);
            for (int i = 0; i < 14; i++) {
                int id = i == 0 ? 1257 : 1258 + i;
                if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) checked = i;
            }
            company = DialogField(dialog, IDE_LABEL_COMPANY);
            if (run.choose < 0) {
                ClickButton(dialog, IDB_LABEL_CLOSE);
                return;
            }
            int id = run.choose == 0 ? 1257 : 1258 + run.choose;
            ClickButton(dialog, id);
            SetDlgItemTextA(dialog, IDE_CUST_ADDR3, "Ireland");
            ClickButton(dialog, IDB_LABEL_PRINT);
        }});
        int printsBefore = sPrintDialogs;
        Command(9);
        EXPECT_EQ(1u, driver.stepsRun());
        EXPECT_EQ("Print Customer Labels", caption);
        EXPECT_EQ(run.checkedFirst, checked);
        EXPECT_EQ("Ann's Antiques", company);
        EXPECT_EQ(run.choose < 0 ? printsBefore : printsBefore + 1, sPrintDialogs);
    }
    EXPECT_EQ(13, QlCustLabelPosition);

    // Position 5 (index 4) is the left label of the third row.
    QlLabelJob job = {4, {"Ann's Antiques", "3 Quay Street", "Galway", "Ireland"}};
    MetafilePrinter printer;
    ASSERT_EQ(1, QlLabelDraw(printer.target(), &job));
    RECT label = QlLabelRect(printer.target(), 4);
    RECT right = QlLabelRect(printer.target(), 5);
    printer.finish();
    int dpiX = QlTestA4Caps().logPixelsX, dpiY = QlTestA4Caps().logPixelsY;
    EXPECT_NEAR(MulDiv(465, dpiX, 2540), label.left, 1);
    EXPECT_NEAR(MulDiv(1515 + 2 * 3810, dpiY, 2540), label.top, 1);
    EXPECT_NEAR(MulDiv(465 + 10160, dpiX, 2540), right.left, 1);
    EXPECT_EQ(label.top, right.top);
    EmfRecords page = printer.records(0);
    for (const char *line : job.lines) {
        const EmfText *t = page.findText(line);
        ASSERT_NE(nullptr, t) << line;
        EXPECT_GT(t->x, label.left);
        EXPECT_LT(t->right, label.right);
        EXPECT_GT(t->y, label.top);
        EXPECT_LT(t->y, label.bottom);
    }
    std::string dir = QlTestArtifactDir();
    if (!dir.empty()) {
        EXPECT_TRUE(printer.savePng(0, dir + "/label.png"));
    }
}
