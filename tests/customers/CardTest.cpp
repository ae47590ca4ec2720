// The account card: printed from the module's form, exported from the
// stored account.
#include "CustTestSupport.h"
#include "UiTestSupport.h"
#include "QlTestPrint.h"

#include "ui/QlAppState.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "customers/QlCustOpeners.h"
#include "customers/QlCustOutput.h"
#include "resources/QlResIds.h"

#include <stdio.h>
#include <string>

namespace {

std::string sSaveAnswer;
int sSaveDialogs;
OPENFILENAMEA sAsked;
char sAskedTitle[80];
BOOL WINAPI AnswerSaveDialog(LPOPENFILENAMEA ofn)
{
    sSaveDialogs++;
    sAsked = *ofn;
    snprintf(sAskedTitle, sizeof sAskedTitle, "%s", ofn->lpstrTitle ? ofn->lpstrTitle : "");
    if (sSaveAnswer.empty()) return FALSE;
    snprintf(ofn->lpstrFile, ofn->nMaxFile, "%s", sSaveAnswer.c_str());
    return TRUE;
}

int sPrintDialogs;
BOOL WINAPI CountPrintDialog(LPPRINTDLGA)
{
    sPrintDialogs++;
    return FALSE;
}

class CardTest : public CustTest {
protected:
    void SetUp() override
    {
        CustTest::SetUp();
        sSaveDialogs = 0;
        sPrintDialogs = 0;
        sSaveAnswer.clear();
        QlSeamGetSaveFileName = AnswerSaveDialog;
        QlSeamPrintDialog = CountPrintDialog;
    }

    // Ann's account, stored with every field.
    void AddAnn()
    {
        QlCustRec rec = {};
        strcpy(rec.acref, "AN000");
        strcpy(rec.company, "Ann's Antiques");
        strcpy(rec.addr1, "3 Quay Street");
        strcpy(rec.addr3, "Galway");
        strcpy(rec.contact, "Ann");
        strcpy(rec.worktel, "091 555");
        strcpy(rec.fax, "091 556");
        strcpy(rec.mobtel, "087 1");
        strcpy(rec.wemail, "ann@antiques.example");
        ASSERT_EQ(1, QlCustAdd(&rec, err)) << err;
    }
};

const char kAnnExported[] =
    "A/C Ref: AN000\r\n"
    "Company name: Ann's Antiques\r\n"
    "\r\n"
    "Company Address:\r\n"
    "3 Quay Street\r\n"
    "\r\n"
    "Galway\r\n"
    "\r\n"
    "Contact Name:  Ann\r\n"
    "Telephone:  091 555 Fax:  091 556\r\n"
    "Mobile:  087 1\r\n"
    "Email:  ann@antiques.example\r\n";

}  // namespace

TEST_F(CardTest, ExportWritesTheStoredAccountToTheChosenPath)
{
    AddAnn();
    Open();
    SetDlgItemTextA(module, IDE_CUST_CONTACT, "Bob");   // edited, not saved

    // A full path longer than the 80 characters of a file name.
    sSaveAnswer = folder + "\\" + std::string(90, 'x') + ".txt";
    StatusPanel status;
    EXPECT_EQ(1, QlCustExportList(module));
    EXPECT_EQ("Account card saved as " + sSaveAnswer, status.Posted());
    EXPECT_EQ(1, sSaveDialogs);
    EXPECT_STREQ("Export", sAskedTitle);
    EXPECT_STREQ("txt", sAsked.lpstrDefExt);
    EXPECT_STREQ("(*.txt)", sAsked.lpstrFilter);
    EXPECT_GE(sAsked.nMaxFile, (DWORD)MAX_PATH);
    EXPECT_TRUE(sAsked.Flags & OFN_OVERWRITEPROMPT);
    EXPECT_EQ(kAnnExported, ReadNativeFile(DbTestNativePath(sSaveAnswer)));
    EXPECT_TRUE(messages.empty());

    // Cancelled: nothing written, nothing said.
    sSaveAnswer.clear();
    EXPECT_EQ(0, QlCustExportList(module));
    EXPECT_TRUE(messages.empty());

    // A file that cannot be opened is reported.
    sSaveAnswer = folder + "\\no such folder\\ann.txt";
    EXPECT_EQ(0, QlCustExportList(module));
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Error", messages[0].caption);
    EXPECT_EQ("The file " + sSaveAnswer + " could not be written.", messages[0].text);
}

TEST_F(CardTest, PrintTakesTheFormAsShown)
{
    AddAnn();
    Open();
    SetDlgItemTextA(module, IDE_CUST_CONTACT, "Bob");
    char lines[QL_CARD_LINES][QL_CARD_LINE_SIZE];
    ASSERT_EQ(16, QlCustCardLines(module, lines));
    const char *expected[16] = {"A/C Ref: AN000", " ",       "Company name:", "Ann's Antiques",
                                " ",              "Company Address:", "3 Quay Street", "",
                                "Galway",         " ",       "Contact Name:  Bob", " ",
                                "Telephone:  091 555", "Fax:  091 556", "Mobile:  087 1", "Email:  ann@antiques.example"};
    for (int i = 0; i < 16; i++) EXPECT_STREQ(expected[i], lines[i]) << i;

    MetafilePrinter printer;
    ASSERT_EQ(1, QlCustCardDraw(printer.target(), lines));
    printer.finish();
    EmfRecords page = printer.records(0);
    const EmfText *first = page.findText("A/C Ref: AN000");
    const EmfText *last = page.findText("Email:  ann@antiques.example");
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, last);
    EXPECT_EQ(printer.target()->page.left, first->x);
    EXPECT_EQ(printer.target()->page.top, first->y);
    const EmfText *second = page.findText("Company name:");
    ASSERT_NE(nullptr, second);
    int step = (second->y - first->y) / 2;
    EXPECT_GT(step, 10);
    EXPECT_EQ(1, page.fontsDeleted);
    EXPECT_EQ(first->y + 15 * step, last->y);   // one line height and a pixel apart
}

TEST_F(CardTest, NeitherCommandRunsWithoutAccounts)
{
    Open();
    Command(11);
    Command(12);
    EXPECT_EQ(0, sPrintDialogs);
    EXPECT_EQ(0, sSaveDialogs);
    EXPECT_TRUE(messages.empty());
}
