#include "QlGTest.h"
#include "ShellTestSupport.h"
#include "ui/QlAppState.h"
#include "ui/UiTestSupport.h"

#include "resources/QlResShell.h"
#include "shell/QlCompanyManager.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <windows.h>
#include <limits.h>
#include <commctrl.h>
#include <string.h>
#include <functional>
#include <string>

namespace {

// Steps for the manager's dialogs.
void SelectRow(HWND dialog, int row)
{
    HWND list = GetDlgItem(dialog, IDL_COMPANY_LIST);
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&item);
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&item);
}

std::string Cell(HWND dialog, int row, int column)
{
    char text[64] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendDlgItemMessageA(dialog, IDL_COMPANY_LIST, LVM_GETITEMTEXTA, row, (LPARAM)&item);
    text[sizeof text - 1] = '\0';
    return text;
}

int RowCount(HWND dialog)
{
    return (int)SendDlgItemMessageA(dialog, IDL_COMPANY_LIST, LVM_GETITEMCOUNT, 0, 0);
}

void Cancel(HWND dialog)
{
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

// The Create Company dialog filled in and confirmed.
std::function<void(HWND)> CreateAs(const char *name, int language, int country)
{
    return [=](HWND dialog) {
        SetDlgItemTextA(dialog, IDE_COMPANY_NAME, name);
        SendDlgItemMessageA(dialog, IDC_COMPANY_LANGUAGE, CB_SETCURSEL, language, 0);
        SendDlgItemMessageA(dialog, IDC_COMPANY_COUNTRY, CB_SETCURSEL, country, 0);
        ClickButton(dialog, IDOK);
    };
}

std::string Text(HWND dialog, int id)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

class CompanyManagerTest : public ::testing::Test {
protected:
    ShellStateGuard state_;
    WorkFolder work_;
};

}  // namespace

TEST_F(CompanyManagerTest, MconfIsCreatedReadAndWritten)
{
    QlMconfRec rec;
    ASSERT_EQ(1, QlMconfLoad());
    ASSERT_TRUE(ReadMconf(&rec));
    EXPECT_EQ(0, rec.language);
    EXPECT_EQ(0, rec.country);
    EXPECT_EQ(-1, rec.company);

    ASSERT_TRUE(WriteMconf(3, 24, 5));
    ASSERT_EQ(1, QlMconfLoad());
    EXPECT_EQ(3, QlMconf.language);
    EXPECT_EQ(24, QlMconf.country);
    EXPECT_EQ(5, QlMconf.company);

    QlMconf.company = 2;
    ASSERT_EQ(1, QlMconfSave());
    ASSERT_TRUE(ReadMconf(&rec));
    EXPECT_EQ(2, rec.company);
    EXPECT_EQ(24, rec.country);

    // A file cut short while it was written does not stop every start: it
    // is written again with no company remembered.
    HANDLE file = CreateFileA(QL_MCONF_FILE, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    WriteFile(file, "\x01\x00\x00\x00\x02", 5, &written, NULL);
    CloseHandle(file);
    EXPECT_EQ(1, QlMconfLoad());
    EXPECT_EQ(-1, QlMconf.company);
    ASSERT_TRUE(ReadMconf(&rec));
    EXPECT_EQ(-1, rec.company);

    // Something that cannot be opened as the file: neither read nor written.
    DeleteFileA(QL_MCONF_FILE);
    ASSERT_TRUE(CreateDirectoryA(QL_MCONF_FILE, NULL));
    EXPECT_EQ(0, QlMconfLoad());
    EXPECT_EQ(0, QlMconfSave());
    RemoveDirectoryA(QL_MCONF_FILE);
}

TEST_F(CompanyManagerTest, ScanCountsFoldersWithReadableSettings)
{
    ASSERT_TRUE(WriteCompany(0, CompanySettings("Acme Widgets Ltd")));
    ASSERT_TRUE(WriteCompany(2, CompanySettings("Short File"), 60));   // a part of it still names the company
    ASSERT_TRUE(WriteCompany(3, CompanySettings("Empty"), 0));          // no bytes: not a company
    ASSERT_TRUE(CreateDirectoryA("COMP004", NULL));                     // no settings file
    HANDLE plain = CreateFileA("COMP005", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);  // not a folder
    CloseHandle(plain);
    QlSettingsRec longName = CompanySettings("");
    memset(longName.companyName, 'N', sizeof longName.companyName);      // no terminator in the file
    ASSERT_TRUE(WriteCompany(9, longName));

    QlCompanyTable table;
    memset(&table, 0x55, sizeof table);
    int count = -1;
    EXPECT_EQ(3, QlCompanyScan(&table, &count));
    EXPECT_EQ(3, count);
    EXPECT_EQ(-1, table.current);
    const struct {
        int number, present;
        const char *name;
    } expected[] = {{0, 1, "Acme Widgets Ltd"}, {1, 0, ""}, {2, 1, "Short File"}, {3, 0, ""}, {4, 0, ""},
                    {5, 0, ""},                 {9, 1, "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN"}};
    for (const auto &e : expected) {
        SCOPED_TRACE(e.number);
        EXPECT_EQ(e.number, table.slots[e.number].number);
        EXPECT_EQ(e.present, table.slots[e.number].present);
        EXPECT_STREQ(e.name, table.slots[e.number].name);
    }
}

TEST_F(CompanyManagerTest, NewCompanyTakesItsCountrysAndLanguagesDefaults)
{
    const struct {
        int language, country;
        const char *rates[3];
        const char *currency, *taxName, *label;
        int taxNameIndex;
    } cases[] = {
        {QL_LANG_ENGLISH, 0, {"A - 00.00%", "B - 20.00%", "C - 05.00%"}, "GBP", "VAT", "", 0},
        {QL_LANG_DANISH, 24, {"A - 00.00%", "B - 25.00%", "C - 00.00%"}, "DKK", "MOMS", "Org. nr:", 14},
        {QL_LANG_GERMAN, 13, {"A - 00.00%", "B - 19.00%", "C - 07.00%"}, "EUR", "MWST", "", 2},
        {QL_LANG_ENGLISH, 29, {"A - 00.00%", "B - 23.00%", "C - 13.50%"}, "EUR", "VAT", "", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.country);
        QlSettingsRec rec;
        memset(&rec, 0x77, sizeof rec);
        QlCompanyPrepareSettings(&rec, "Nordic Trading", c.language, c.country);
        EXPECT_STREQ("Nordic Trading", rec.companyName);
        EXPECT_EQ(c.language, rec.language);
        EXPECT_EQ(c.country, rec.country);
        EXPECT_EQ(c.taxNameIndex, rec.taxNameIndex);
        for (int i = 0; i < 3; i++) EXPECT_STREQ(c.rates[i], rec.rateTexts[i]);
        EXPECT_EQ(1, rec.defaultRate);   // rate B, the country's standard rate
        EXPECT_STREQ(c.currency, rec.currency);
        EXPECT_STREQ(c.taxName, rec.taxName);
        EXPECT_STREQ(c.label, rec.businessLabel);
        EXPECT_EQ(0, memcmp(rec.letters, QlLangTextTable[c.language].Letters, sizeof rec.letters));
        // Nothing else of any company: the initial settings.
        EXPECT_STREQ("", rec.address1);
        EXPECT_STREQ("", rec.smtpServer);
        EXPECT_EQ(1, rec.backupOnExit);
        EXPECT_STREQ("d/MM/yyyy", rec.dateFormat);
    }
}

TEST_F(CompanyManagerTest, StartOpensTheRememberedCompanyWithoutTheDialog)
{
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd", QL_LANG_DANISH, 24);
    ASSERT_TRUE(WriteCompany(1, acme));
    ASSERT_TRUE(WriteMconf(0, 0, 1));
    QlCompanyScan(&QlCompanies, NULL);
    MsgAnswers answers;
    DialogDriver driver({});   // fails when any dialog shows

    QlCompanyManagerOpen(&QlCompanies, &QlSettings.cfg);
    EXPECT_EQ(1, QlCompanies.current);
    EXPECT_EQ(0, memcmp(&acme, &QlSettings.cfg, sizeof acme));
    EXPECT_EQ(2500, QlSettings.rates[1]);
    EXPECT_STREQ("MOMS %", QlTaxLabel);
    EXPECT_TRUE(answers.asked.empty());
    EXPECT_EQ(0u, driver.stepsRun());
}

// A company whose settings cannot be read whole is never made current: the
// user is told and chooses in the manager.
TEST_F(CompanyManagerTest, StartWithUnreadableSettingsAsksForAnotherCompany)
{
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    ASSERT_TRUE(WriteCompany(0, acme));
    ASSERT_TRUE(WriteCompany(1, CompanySettings("Half Written"), 2000));
    ASSERT_TRUE(WriteMconf(0, 0, 1));
    QlCompanyScan(&QlCompanies, NULL);
    MsgAnswers answers;
    std::string rowName;
    DialogDriver driver({[&](HWND dialog) {
        SelectRow(dialog, 1);          // the half-written company: refused, the dialog stays
        ClickButton(dialog, IDB_COMPANY_LOAD);
    },
                         [&](HWND dialog) {
                             SelectRow(dialog, 0);
                             rowName = Cell(dialog, 0, 1);
                             ClickButton(dialog, IDB_COMPANY_LOAD);
                         }});

    QlCompanyManagerOpen(&QlCompanies, &QlSettings.cfg);
    EXPECT_EQ(2u, driver.stepsRun());
    ASSERT_EQ(2u, answers.asked.size());
    for (const MsgRecord &asked : answers.asked) {
        EXPECT_EQ("Error", asked.caption);
        EXPECT_NE(std::string::npos, asked.text.find("Half Written")) << asked.text;
    }
    EXPECT_EQ("Acme Widgets Ltd", rowName);
    EXPECT_EQ(0, QlCompanies.current);
    EXPECT_EQ(0, memcmp(&acme, &QlSettings.cfg, sizeof acme));
    QlMconfRec mconf;
    ASSERT_TRUE(ReadMconf(&mconf));
    EXPECT_EQ(0, mconf.company);
    // The half-written file is left as it was.
    EXPECT_EQ(2000u, ReadFileBytes("COMP001\\cfg.dta").size());
}

TEST_F(CompanyManagerTest, RememberedCompanyWithoutFolderAndNoChoiceLeavesNoCompany)
{
    ASSERT_TRUE(WriteMconf(0, 0, 4));
    QlCompanyScan(&QlCompanies, NULL);
    QlSettingsBlock before = QlSettings;
    MsgAnswers answers;
    DialogDriver driver({Cancel});

    QlCompanyManagerOpen(&QlCompanies, &QlSettings.cfg);
    EXPECT_EQ(-1, QlCompanies.current);
    EXPECT_EQ(0, memcmp(&before.cfg, &QlSettings.cfg, sizeof before.cfg));
    ASSERT_EQ(1u, answers.asked.size());
    EXPECT_NE(std::string::npos, answers.asked[0].text.find("COMP004")) << answers.asked[0].text;
    EXPECT_FALSE(FolderExists("COMP004"));
}

// A damaged file naming a company no folder can have remembers none: the
// manager opens with no message about a settings file.
TEST_F(CompanyManagerTest, RememberedCompanyOutOfRangeIsNoneRemembered)
{
    for (int company : {1707205086, 10, -2, INT_MIN}) {
        SCOPED_TRACE(company);
        ASSERT_TRUE(WriteMconf(0, 0, company));
        ASSERT_EQ(1, QlMconfLoad());
        EXPECT_EQ(-1, QlMconf.company);
    }
    ASSERT_TRUE(WriteMconf(0, 0, 1707205086));
    QlCompanyScan(&QlCompanies, NULL);
    MsgAnswers answers;
    DialogDriver driver({Cancel});
    QlCompanyManagerOpen(&QlCompanies, &QlSettings.cfg);
    EXPECT_EQ(1u, driver.stepsRun());
    EXPECT_TRUE(answers.asked.empty());
    EXPECT_EQ(-1, QlCompanies.current);
}

TEST_F(CompanyManagerTest, UnreadableMconfLeavesNoCompany)
{
    ASSERT_TRUE(CreateDirectoryA(QL_MCONF_FILE, NULL));
    MsgAnswers answers;
    DialogDriver driver({});
    QlCompanyManagerOpen(&QlCompanies, &QlSettings.cfg);
    EXPECT_EQ(-1, QlCompanies.current);
    ASSERT_EQ(1u, answers.asked.size());
    // The message names the file with its full path.
    EXPECT_EQ("The file " + std::string(QlWorkDir) + "\\mconf.bin cannot be opened for reading and writing (it is "
              "read-only, or another program holds it).",
              answers.asked[0].text);
    RemoveDirectoryA(QL_MCONF_FILE);
}

TEST_F(CompanyManagerTest, FirstStartCreatesCompaniesInTurnAndLoadsOne)
{
    QlCompanyScan(&QlCompanies, NULL);
    MsgAnswers answers;
    int rowsAfterCreate = 0;
    std::string editAfterCreate, createStayed;
    bool nameFocused = false;
    DialogDriver driver({
        [](HWND dialog) { ClickButton(dialog, IDB_COMPANY_NEW); },
        CreateAs("Acme Widgets Ltd", QL_LANG_GERMAN, 13),
        [](HWND dialog) { ClickButton(dialog, IDB_COMPANY_NEW); },
        CreateAs("Second Shop", QL_LANG_ENGLISH, 0),
        [](HWND dialog) { ClickButton(dialog, IDB_COMPANY_NEW); },
        CreateAs("   ", QL_LANG_ENGLISH, 0),   // refused: blanks are no name, and the dialog stays
        [&](HWND dialog) {
            createStayed = WindowText(dialog);
            nameFocused = GetFocus() == GetDlgItem(dialog, IDE_COMPANY_NAME);
            Cancel(dialog);
        },
        [&](HWND dialog) {
            rowsAfterCreate = RowCount(dialog);
            editAfterCreate = Text(dialog, IDE_COMPANY_NAME);
            SelectRow(dialog, 0);
            ClickButton(dialog, IDB_COMPANY_LOAD);
        },
    });

    QlCompanyManagerOpen(&QlCompanies, &QlSettings.cfg);
    EXPECT_EQ(8u, driver.stepsRun());
    EXPECT_EQ("Create Company", createStayed);
    EXPECT_TRUE(nameFocused);
    EXPECT_EQ(2, rowsAfterCreate);
    EXPECT_EQ("Second Shop", editAfterCreate);   // the company last created, still selected
    ASSERT_EQ(1u, answers.asked.size());
    EXPECT_EQ("Please enter non-empty company name", answers.asked[0].text);

    EXPECT_TRUE(FolderExists("COMP000"));
    EXPECT_TRUE(FolderExists("COMP001"));
    EXPECT_EQ(4144u, ReadFileBytes("COMP000\\cfg.dta").size());
    QlSettingsRec first = ReadCompany(0);
    EXPECT_STREQ("Acme Widgets Ltd", first.companyName);
    EXPECT_EQ(QL_LANG_GERMAN, first.language);
    EXPECT_EQ(13, first.country);
    EXPECT_STREQ("MWST", first.taxName);
    EXPECT_STREQ("Second Shop", ReadCompany(1).companyName);

    EXPECT_EQ(0, QlCompanies.current);
    EXPECT_STREQ("Acme Widgets Ltd", QlSettings.cfg.companyName);
    EXPECT_EQ(0, QlSettings.rates[0]);
    EXPECT_EQ(1900, QlSettings.rates[1]);   // Germany's standard rate is rate B
    EXPECT_EQ(700, QlSettings.rates[2]);
    EXPECT_EQ(1, QlSettings.cfg.defaultRate);   // and a new company's lines carry it
    QlMconfRec mconf;
    ASSERT_TRUE(ReadMconf(&mconf));
    EXPECT_EQ(0, mconf.company);
    EXPECT_EQ(0, mconf.country);   // the country last chosen
}

// A name of blanks is no name for Save either: the company keeps its own.
TEST_F(CompanyManagerTest, SaveRefusesANameOfBlanks)
{
    ASSERT_TRUE(WriteCompany(0, CompanySettings("Other Company")));
    ASSERT_TRUE(WriteMconf(0, 0, -1));
    QlCompanyScan(&QlCompanies, NULL);
    MsgAnswers answers;
    std::string row;
    DialogDriver driver({
        [](HWND dialog) {
            SelectRow(dialog, 0);
            SetDlgItemTextA(dialog, IDE_COMPANY_NAME, "  \t ");
            ClickButton(dialog, IDB_COMPANY_SAVE);
        },
        [&](HWND dialog) {
            char text[64] = "";
            ListView_GetItemText(GetDlgItem(dialog, IDL_COMPANY_LIST), 0, 1, text, sizeof text);
            row = text;
            Cancel(dialog);
        },
    });
    QlCompanyManagerOpen(&QlCompanies, &QlSettings.cfg);
    EXPECT_EQ(2u, driver.stepsRun());
    ASSERT_EQ(1u, answers.asked.size());
    EXPECT_EQ("Please enter non-empty company name", answers.asked[0].text);
    EXPECT_EQ("Other Company", row);
    EXPECT_STREQ("Other Company", ReadCompany(0).companyName);
}

TEST_F(CompanyManagerTest, NoEleventhCompany)
{
    for (int i = 0; i < QL_COMPANY_MAX; i++) ASSERT_TRUE(WriteCompany(i, CompanySettings("Busy")));
    QlCompanyScan(&QlCompanies, NULL);
    MsgAnswers answers;
    // New is refused at once: the next step finds the manager, not the
    // create dialog.
    std::string afterNew;
    int columnsWidth = 0, listWidth = 0;
    bool horizontalBar = true;
    DialogDriver driver({[](HWND dialog) { ClickButton(dialog, IDB_COMPANY_NEW); },
                         [&](HWND dialog) {
                             afterNew = WindowText(dialog);
                             // Ten companies: the columns fit beside the vertical scroll bar.
                             HWND list = GetDlgItem(dialog, IDL_COMPANY_LIST);
                             RECT client;
                             GetClientRect(list, &client);
                             columnsWidth = (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0) +
                                            (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0);
                             listWidth = client.right;
                             horizontalBar = (GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL) != 0;
                             SelectRow(dialog, 4);
                             Cancel(dialog);
                         }});
    QlCompanyManagerOpen(&QlCompanies, &QlSettings.cfg);
    EXPECT_EQ(2u, driver.stepsRun());
    EXPECT_EQ("Multi-Company Manager", afterNew);
    EXPECT_GT(columnsWidth, 200);
    EXPECT_LE(columnsWidth, listWidth);
    EXPECT_FALSE(horizontalBar);
    ASSERT_EQ(1u, answers.asked.size());
    EXPECT_EQ("Cannot add a company, maximum number of companies is 10!", answers.asked[0].text);
    for (int i = 0; i < QL_COMPANY_MAX; i++) EXPECT_STREQ("Busy", ReadCompany(i).companyName);
    // Escape loads nothing but remembers the selected company for the next start.
    QlMconfRec mconf;
    ASSERT_TRUE(ReadMconf(&mconf));
    EXPECT_EQ(4, mconf.company);
    EXPECT_EQ(-1, QlCompanies.current);
}

// The manager over an open company: it cannot be deleted, renaming it renames
// its settings too, creating another leaves its settings alone.
TEST_F(CompanyManagerTest, OpenCompanyIsProtected)
{
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    strcpy(acme.smtpPassword, "secret");
    ASSERT_TRUE(WriteCompany(0, CompanySettings("Other Company")));
    ASSERT_TRUE(WriteCompany(1, acme));
    ASSERT_TRUE(WriteMconf(0, 0, 1));
    QlCompanyScan(&QlCompanies, NULL);
    QlCompanies.current = 1;
    QlSettingsRec open = acme;
    MsgAnswers answers;
    std::string editAfterKeys;
    DialogDriver driver({
        [](HWND dialog) {
            SelectRow(dialog, 1);
            ClickButton(dialog, IDB_COMPANY_DELETE);
        },
        [&](HWND dialog) {
            SelectRow(dialog, 0);   // as the arrow keys do: the edit follows
            editAfterKeys = Text(dialog, IDE_COMPANY_NAME);
            SelectRow(dialog, 1);
            SetDlgItemTextA(dialog, IDE_COMPANY_NAME, "Acme Holdings");
            ClickButton(dialog, IDB_COMPANY_SAVE);
        },
        [](HWND dialog) { ClickButton(dialog, IDB_COMPANY_NEW); },
        CreateAs("Third Company", QL_LANG_FRENCH, 12),
        Cancel,
    });

    int chosen = -1;
    QlSettingsRec loaded;
    EXPECT_EQ(0, QlCompanyManagerChoose(NULL, &QlCompanies, &open, &chosen, &loaded));
    EXPECT_EQ(5u, driver.stepsRun());
    ASSERT_EQ(1u, answers.asked.size());
    EXPECT_EQ("The company that is open cannot be deleted. Load another company first.", answers.asked[0].text);
    EXPECT_EQ("Other Company", editAfterKeys);

    EXPECT_EQ(1, QlCompanies.current);
    EXPECT_TRUE(FileExists("COMP001\\cfg.dta"));
    EXPECT_STREQ("Acme Holdings", ReadCompany(1).companyName);
    EXPECT_STREQ("Acme Holdings", open.companyName);
    EXPECT_STREQ("Other Company", ReadCompany(0).companyName);
    // Everything but the name of the open record is as it was.
    memset(acme.companyName, 0, sizeof acme.companyName);
    strcpy(acme.companyName, "Acme Holdings");
    EXPECT_EQ(0, memcmp(&acme, &open, sizeof acme));

    QlSettingsRec third = ReadCompany(2);
    EXPECT_STREQ("Third Company", third.companyName);
    EXPECT_STREQ("", third.address1);
    EXPECT_STREQ("", third.smtpPassword);
    EXPECT_STREQ("TVA", third.taxName);
}

TEST_F(CompanyManagerTest, LoadingAnotherCompanyHandsItsSettingsBack)
{
    QlSettingsRec other = CompanySettings("Other Company", QL_LANG_SWEDISH, 25);
    ASSERT_TRUE(WriteCompany(0, CompanySettings("Acme Widgets Ltd")));
    ASSERT_TRUE(WriteCompany(3, other));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    QlCompanyScan(&QlCompanies, NULL);
    QlCompanies.current = 0;
    QlSettingsRec open = CompanySettings("Acme Widgets Ltd");
    std::string selectedAtStart;
    DialogDriver driver({[&](HWND dialog) {
        // The open company's row is the one selected when the manager opens.
        selectedAtStart = Text(dialog, IDE_COMPANY_NAME);
        SelectRow(dialog, 1);
        ClickButton(dialog, IDB_COMPANY_LOAD);
    }});

    int chosen = -1;
    QlSettingsRec loaded;
    ASSERT_EQ(1, QlCompanyManagerChoose(NULL, &QlCompanies, &open, &chosen, &loaded));
    EXPECT_EQ("Acme Widgets Ltd", selectedAtStart);
    EXPECT_EQ(3, chosen);
    EXPECT_EQ(0, memcmp(&other, &loaded, sizeof other));
    EXPECT_EQ(0, QlCompanies.current);   // switching is the caller's
    QlMconfRec mconf;
    ASSERT_TRUE(ReadMconf(&mconf));
    EXPECT_EQ(3, mconf.company);
}

TEST_F(CompanyManagerTest, DeleteAsksTwiceAndRemovesTheCompany)
{
    ASSERT_TRUE(WriteCompany(0, CompanySettings("Keep Me")));
    ASSERT_TRUE(WriteCompany(2, CompanySettings("Old Shop")));
    HANDLE db = CreateFileA("COMP002\\quilry.db", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    CloseHandle(db);
    ASSERT_TRUE(WriteMconf(0, 0, 2));
    ASSERT_TRUE(WriteCompany(1, CompanySettings("Orphan"), 0));
    QlCompanyScan(&QlCompanies, NULL);
    QlCompanies.current = 0;
    QlSettingsRec open = CompanySettings("Keep Me");
    MsgAnswers answers({0, 1, 1});   // the first time the first question is declined
    int rowsAfter = -1;
    DialogDriver driver({
        [](HWND dialog) {
            SelectRow(dialog, 1);
            ClickButton(dialog, IDB_COMPANY_DELETE);
        },
        [](HWND dialog) {
            SelectRow(dialog, 1);
            ClickButton(dialog, IDB_COMPANY_DELETE);
        },
        [&](HWND dialog) {
            rowsAfter = RowCount(dialog);
            Cancel(dialog);
        },
    });

    int chosen = -1;
    QlSettingsRec loaded;
    EXPECT_EQ(0, QlCompanyManagerChoose(NULL, &QlCompanies, &open, &chosen, &loaded));
    ASSERT_EQ(3u, answers.asked.size());
    EXPECT_EQ("Confirm operation", answers.asked[0].caption);
    EXPECT_EQ("ARE YOU SURE? DELETE COMPANY Old Shop ?", answers.asked[0].text);
    EXPECT_EQ("ARE YOU SURE? DELETE COMPANY Old Shop ?", answers.asked[1].text);
    EXPECT_NE(std::string::npos, answers.asked[2].text.find("CONTINUE TO DELETE COMPANY Old Shop ?"));
    EXPECT_EQ(1, rowsAfter);
    EXPECT_FALSE(FolderExists("COMP002"));
    EXPECT_FALSE(QlCompanies.slots[2].present);
    EXPECT_TRUE(FileExists("COMP000\\cfg.dta"));
    // The deleted company was the remembered one: the next start asks.
    QlMconfRec mconf;
    ASSERT_TRUE(ReadMconf(&mconf));
    EXPECT_EQ(-1, mconf.company);
}

TEST_F(CompanyManagerTest, LanguageChoiceChangesOnlyTheManagersTexts)
{
    ASSERT_TRUE(WriteCompany(0, CompanySettings("Acme Widgets Ltd")));
    QlCompanyScan(&QlCompanies, NULL);
    QlSettings.cfg.language = QL_LANG_ENGLISH;
    std::string englishCaption, germanCaption, germanLoad, germanColumn, createCaption;
    DialogDriver driver({
        [&](HWND dialog) {
            englishCaption = WindowText(dialog);
            HWND combo = GetDlgItem(dialog, IDC_COMPANY_LANGUAGE);
            SendMessageA(combo, CB_SETCURSEL, QL_LANG_GERMAN, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_COMPANY_LANGUAGE, CBN_SELCHANGE), (LPARAM)combo);
            germanCaption = WindowText(dialog);
            germanLoad = Text(dialog, IDB_COMPANY_LOAD);
            char title[64] = "";
            LVCOLUMNA column = {};
            column.mask = LVCF_TEXT;
            column.pszText = title;
            column.cchTextMax = sizeof title;
            SendDlgItemMessageA(dialog, IDL_COMPANY_LIST, LVM_GETCOLUMNA, 1, (LPARAM)&column);
            germanColumn = title;
            ClickButton(dialog, IDB_COMPANY_NEW);
        },
        [&](HWND dialog) {
            createCaption = WindowText(dialog);
            ClickButton(dialog, IDCANCEL);
        },
        Cancel,
    });
    QlCompanyManagerOpen(&QlCompanies, &QlSettings.cfg);
    EXPECT_EQ("Multi-Company Manager", englishCaption);
    EXPECT_EQ("Firmenverwaltung", germanCaption);
    EXPECT_EQ("Laden", germanLoad);
    EXPECT_EQ("Firmenname:", germanColumn);
    EXPECT_EQ("Firma anlegen", createCaption);
    EXPECT_EQ(QL_LANG_ENGLISH, QlSettings.cfg.language);
    QlMconfRec mconf;
    ASSERT_TRUE(ReadMconf(&mconf));
    EXPECT_EQ(QL_LANG_GERMAN, mconf.language);
}

TEST_F(CompanyManagerTest, ManagerReopensOnTheRowLastSelected)
{
    ASSERT_TRUE(WriteCompany(0, CompanySettings("First")));
    ASSERT_TRUE(WriteCompany(4, CompanySettings("Second")));
    ASSERT_TRUE(WriteCompany(7, CompanySettings("Third")));
    QlCompanyScan(&QlCompanies, NULL);
    std::string shownAtStart;
    DialogDriver driver({[](HWND dialog) {
                             SelectRow(dialog, 1);
                             Cancel(dialog);
                         },
                         [&](HWND dialog) {
                             shownAtStart = Text(dialog, IDE_COMPANY_NAME);
                             Cancel(dialog);
                         }});
    QlCompanyManagerOpen(&QlCompanies, &QlSettings.cfg);
    EXPECT_EQ(-1, QlCompanies.current);
    // Escape loads nothing; the next start opens the company that was selected.
    QlMconfRec mconf;
    ASSERT_TRUE(ReadMconf(&mconf));
    EXPECT_EQ(4, mconf.company);

    ASSERT_TRUE(WriteMconf(0, 0, -1));
    QlCompanyManagerOpen(&QlCompanies, &QlSettings.cfg);
    EXPECT_EQ("Second", shownAtStart);
    ASSERT_TRUE(ReadMconf(&mconf));
    EXPECT_EQ(4, mconf.company);
}
