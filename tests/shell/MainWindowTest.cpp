#include "QlGTest.h"
#include "ShellTestSupport.h"
#include "ui/UiTestSupport.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlMsgDialog.h"
#include "print/QlPicture.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDb.h"
#include "resources/QlResIds.h"
#include "settings/QlLangTables.h"
#include "shell/QlAbout.h"
#include "shell/QlLangApply.h"
#include "shell/QlMain.h"
#include "shell/QlMainWindow.h"
#include "shell/QlPanels.h"
#include "shell/QlShellTables.h"

#include <windows.h>
#include <commctrl.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

int ThisYear()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wYear;
}

std::string MenuTitle(HWND window, int position)
{
    char text[64] = "";
    GetMenuStringA(GetMenu(window), position, text, sizeof text, MF_BYPOSITION);
    return text;
}

std::string ButtonText(HWND toolbar, int command)
{
    char text[128] = "";
    SendMessageA(toolbar, TB_GETBUTTONTEXTA, command, (LPARAM)text);
    return text;
}

void CloseAbout(HWND dialog)
{
    ClickButton(dialog, IDB_ABOUT_CLOSE);
}

void Cancel(HWND dialog)
{
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

// What the shell's seams were asked.
std::vector<std::string> gShellOpened;
HINSTANCE WINAPI RecordShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT)
{
    gShellOpened.push_back(std::string(verb ? verb : "<default>") + " " + (file ? file : ""));
    return (HINSTANCE)42;
}

std::vector<std::string> gBoxes;
int WINAPI RecordMessageBox(HWND, LPCSTR text, LPCSTR, UINT)
{
    gBoxes.push_back(text ? text : "");
    return IDOK;
}

// A system message box answered with gBoxAnswer, its caption and text and
// its type recorded.
std::vector<std::string> gAsked;
std::vector<UINT> gAskedTypes;
int gBoxAnswer = IDOK;
int WINAPI AnswerBox(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    gAsked.push_back(std::string(caption ? caption : "") + "|" + (text ? text : ""));
    gAskedTypes.push_back(type);
    return gBoxAnswer;
}

// The program's main window in a working folder of its own; the About box
// that the start shows is closed by the driver.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QlPictureLibLoad());
        ASSERT_TRUE(work_.copyImages());
        gShellOpened.clear();
        gBoxes.clear();
        QlSeamShellExecute = RecordShellExecute;
        QlSeamMessageBox = RecordMessageBox;
    }

    void TearDown() override
    {
        if (QlMainWnd) DestroyWindow(QlMainWnd);
        PumpMessages();
        QlLangFreeFlag();
        QlSeamsReset();
    }

    // Starts the main window on the remembered company 0 and waits for the
    // start to finish.
    HWND StartWith(const QlSettingsRec &company)
    {
        EXPECT_TRUE(WriteCompany(0, company));
        EXPECT_TRUE(WriteMconf(0, 0, 0));
        return Start({CloseAbout});
    }

    HWND Start(std::vector<std::function<void(HWND)>> steps)
    {
        DialogDriver driver(std::move(steps));
        HWND window = QlMainStart(GetModuleHandleA(NULL), SW_SHOWNORMAL);
        EXPECT_NE(nullptr, window);
        // The start-up message is waiting: the whole start, with its
        // dialogs, runs while it is dispatched.
        PumpMessages();
        stepsRun_ = driver.stepsRun();
        return window;
    }

    ShellStateGuard state_;
    WorkFolder work_;
    size_t stepsRun_ = 0;
};

RECT ClientRectOf(HWND window)
{
    RECT rc;
    GetClientRect(window, &rc);
    return rc;
}

}  // namespace

TEST_F(MainWindowTest, StartsOnTheRememberedCompany)
{
    HWND main = StartWith(CompanySettings("Acme Widgets Ltd", QL_LANG_GERMAN, 24));
    ASSERT_TRUE(IsWindow(main));
    EXPECT_EQ(1u, stepsRun_);   // the About box at the start
    EXPECT_EQ("Quillory 2.1.31 : Acme Widgets Ltd", WindowText(main));
    ASSERT_NE(nullptr, QlPercentTextTable[99]);
    EXPECT_STREQ("0%", QlPercentTextTable[0]);
    EXPECT_STREQ("99%", QlPercentTextTable[99]);
    EXPECT_TRUE(FileExists("COMP000\\quilry.db"));
    EXPECT_TRUE(QlDbIsOpen());

    // The company's language, tax name and country.
    EXPECT_EQ("&Datei", MenuTitle(main, 0));
    ASSERT_NE(nullptr, QlMainToolbarWnd);
    EXPECT_EQ(10, (int)SendMessageA(QlMainToolbarWnd, TB_BUTTONCOUNT, 0, 0));
    EXPECT_EQ("Kunden", ButtonText(QlMainToolbarWnd, 0));
    EXPECT_EQ("Hilfe", ButtonText(QlMainToolbarWnd, 10));
    EXPECT_STREQ("MOMS %", QlTaxLabel);
    EXPECT_EQ("Deutsch", WindowText(GetDlgItem(QlLangPanelWnd, IDT_LANG_NAME)));
    HBITMAP flag = QlLangFlag();
    ASSERT_NE(nullptr, flag);
    EXPECT_EQ((LRESULT)flag, SendDlgItemMessageA(QlLangPanelWnd, IDP_LANG_FLAG, STM_GETIMAGE, IMAGE_BITMAP, 0));
    std::vector<DWORD> pixels = BitmapPixels(flag);
    ASSERT_EQ(24u * 16u, pixels.size());
    EXPECT_EQ(0xC8102Eu, pixels[0]);   // the red of Denmark's flag, the company's country

    // Without the customers module's template the window keeps its size.
    RECT frame;
    GetWindowRect(main, &frame);
    if (!FindResourceA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(120), (LPCSTR)RT_DIALOG)) {
        EXPECT_EQ(800, frame.right - frame.left);
        EXPECT_EQ(580, frame.bottom - frame.top);
    }

    // The three panels along the bottom: language, description, message.
    RECT client = ClientRectOf(main);
    RECT status = RectInParent(QlStatusPanelWnd);
    RECT lang = RectInParent(QlLangPanelWnd);
    RECT desc = RectInParent(QlDescBarWnd);
    EXPECT_EQ(client.right, status.right);
    EXPECT_EQ(client.bottom, status.bottom);
    POINT langOrigin = {0, 0};   // the panel's client area starts at the left edge
    MapWindowPoints(QlLangPanelWnd, main, &langOrigin, 1);
    EXPECT_EQ(0, langOrigin.x);
    EXPECT_EQ(client.bottom, lang.bottom);
    EXPECT_EQ(lang.right, desc.left);
    EXPECT_EQ(status.left, desc.right);
    EXPECT_EQ(lang.top, desc.top);
    EXPECT_EQ(ClientRectOf(QlDescBarWnd).right, RectInParent(QlDescBarText).right);
}

// The first start in an empty folder: the manager asks for a company, which
// is created through its dialogs; the program then starts with it.
TEST_F(MainWindowTest, FirstStartCreatesTheCompanyThroughTheManager)
{
    HWND main = Start({
        [](HWND dialog) { ClickButton(dialog, IDB_COMPANY_NEW); },
        [](HWND dialog) {
            SetDlgItemTextA(dialog, IDE_COMPANY_NAME, "Acme Widgets Ltd");
            ClickButton(dialog, IDOK);
        },
        [](HWND dialog) { ClickButton(dialog, IDB_COMPANY_LOAD); },
        CloseAbout,
    });
    EXPECT_EQ(4u, stepsRun_);
    ASSERT_TRUE(IsWindow(main));
    EXPECT_TRUE(FolderExists("COMP000"));
    EXPECT_TRUE(FileExists("COMP000\\cfg.dta"));
    EXPECT_TRUE(FileExists("COMP000\\quilry.db"));
    EXPECT_EQ("Quillory 2.1.31 : Acme Widgets Ltd", WindowText(main));
    QlMconfRec mconf;
    ASSERT_TRUE(ReadMconf(&mconf));
    EXPECT_EQ(0, mconf.company);
}

TEST_F(MainWindowTest, NoCompanyChosenEndsWithoutWritingSettings)
{
    HWND main = Start({Cancel});
    EXPECT_EQ(1u, stepsRun_);
    PumpMessages();
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(nullptr, QlMainWnd);
    EXPECT_FALSE(FolderExists("COMP000"));
    QlMconfRec mconf;
    ASSERT_TRUE(ReadMconf(&mconf));
    EXPECT_EQ(-1, mconf.company);
}

// A damaged data file (its header overwritten) no longer ends every start:
// the user is told which file and what to do, and the company manager opens,
// where another company is loaded.  The damaged file is left as it was.
TEST_F(MainWindowTest, ADamagedDataFileIsNamedAndAnotherCompanyCanBeLoaded)
{
    ASSERT_TRUE(WriteCompany(1, CompanySettings("Beta Trading")));
    ASSERT_TRUE(WriteCompany(0, CompanySettings("Acme Widgets Ltd")));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    const std::string junk(4096, 'x');
    {
        HANDLE file = CreateFileA("COMP000\\quilry.db", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, junk.data(), (DWORD)junk.size(), &written, NULL);
        CloseHandle(file);
    }
    MsgAnswers answers;
    HWND main = Start({CloseAbout, [](HWND dialog) {
                           HWND list = GetDlgItem(dialog, IDL_COMPANY_LIST);
                           LVITEMA item = {};
                           item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
                           item.state = LVIS_SELECTED | LVIS_FOCUSED;
                           SendMessageA(list, LVM_SETITEMSTATE, 1, (LPARAM)&item);   // Beta Trading
                           ClickButton(dialog, IDB_COMPANY_LOAD);
                       }});
    EXPECT_EQ(2u, stepsRun_);
    ASSERT_TRUE(IsWindow(main));
    ASSERT_EQ(1u, answers.asked.size());
    EXPECT_EQ("Company data cannot be opened", answers.asked[0].caption);
    const std::string &text = answers.asked[0].text;
    EXPECT_NE(std::string::npos, text.find(work_.path() + "\\COMP000\\quilry.db of Acme Widgets Ltd")) << text;
    EXPECT_NE(std::string::npos, text.find("not a database")) << text;
    EXPECT_NE(std::string::npos, text.find("Restore")) << text;
    EXPECT_TRUE(gBoxes.empty());
    EXPECT_EQ(1, QlCompanies.current);
    EXPECT_TRUE(QlDbIsOpen());
    EXPECT_NE(nullptr, QlMainToolbarWnd);
    EXPECT_EQ("Quillory 2.1.31 : Beta Trading", WindowText(main));
    EXPECT_EQ(junk, ReadFileBytes("COMP000\\quilry.db"));
}

// Closing the manager instead keeps the damaged company, without its data:
// its commands say what to do, while the manager, restore and exit work.
TEST_F(MainWindowTest, WithoutItsDataACompanyRefusesItsModules)
{
    ASSERT_TRUE(WriteCompany(0, CompanySettings("Acme Widgets Ltd")));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    {
        HANDLE file = CreateFileA("COMP000\\quilry.db", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD written = 0;
        WriteFile(file, "not a database at all, not even close to one", 44, &written, NULL);
        CloseHandle(file);
    }
    MsgAnswers answers;
    HWND main = Start({CloseAbout, Cancel});
    ASSERT_TRUE(IsWindow(main));
    EXPECT_EQ(0, QlCompanies.current);
    EXPECT_FALSE(QlDbIsOpen());
    EXPECT_EQ(nullptr, QlMainToolbarWnd);
    EXPECT_EQ("Quillory 2.1.31 : Acme Widgets Ltd", WindowText(main));
    answers.asked.clear();
    static int ran;
    ran = 0;
    QlMainCommandFn customers = QlMainCommandTable[0].run;
    QlMainCommandTable[0].run = [](HWND) { ran++; };
    SendMessageA(main, WM_COMMAND, IDM_MOD_CUSTOMERS, 0);
    QlMainCommandTable[0].run = customers;
    EXPECT_EQ(0, ran);
    ASSERT_EQ(1u, answers.asked.size());
    EXPECT_EQ("The data of Acme Widgets Ltd is not open. Load another company (File, My Companies) or restore a "
              "backup of this company (File, Restore).",
              answers.asked[0].text);
}

// A data file missing beside the company's settings is not replaced
// silently: the user is asked; Cancel goes back to the manager and makes
// nothing, OK makes an empty data file and the company opens.
TEST_F(MainWindowTest, AMissingDataFileIsMadeOnlyWhenTheUserAgrees)
{
    ASSERT_TRUE(WriteCompany(0, CompanySettings("Acme Widgets Ltd")));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    ASSERT_TRUE(DeleteFileA("COMP000\\quilry.db"));
    {
        MsgAnswers answers({0});
        HWND main = Start({CloseAbout, Cancel});
        EXPECT_EQ(2u, stepsRun_);   // the manager opened
        ASSERT_EQ(1u, answers.asked.size());
        EXPECT_EQ("Company data missing", answers.asked[0].caption);
        EXPECT_EQ("The data file " + work_.path() +
                      "\\COMP000\\quilry.db of Acme Widgets Ltd is missing.\nCreate an empty data file for this "
                      "company? Cancel goes back to the company manager.",
                  answers.asked[0].text);
        EXPECT_FALSE(FileExists("COMP000\\quilry.db"));
        EXPECT_FALSE(QlDbIsOpen());
        DestroyWindow(main);
        PumpMessages();
    }
    MsgAnswers answers({1});
    HWND main = Start({CloseAbout});
    EXPECT_EQ(1u, stepsRun_);
    ASSERT_TRUE(IsWindow(main));
    EXPECT_EQ(1u, answers.asked.size());
    EXPECT_TRUE(FileExists("COMP000\\quilry.db"));
    EXPECT_TRUE(QlDbIsOpen());
    EXPECT_NE(nullptr, QlMainToolbarWnd);
}

// Every button and menu item reaches its entry of the command table; a
// button also shows its description in the description bar.
TEST_F(MainWindowTest, CommandsReachTheirOpeners)
{
    HWND main = StartWith(CompanySettings("Acme Widgets Ltd", QL_LANG_GERMAN, 13));
    ASSERT_TRUE(IsWindow(main));
    static std::vector<HWND> calls;
    static std::vector<int> which;
    calls.clear();
    which.clear();
    // One recorder per entry, so that the entry that ran can be told.
    static const QlMainCommandFn recorders[QL_MAIN_COMMAND_TABLE_COUNT] = {
#define REC(i) [](HWND w) { calls.push_back(w); which.push_back(i); }
        REC(0), REC(1), REC(2), REC(3), REC(4), REC(5), REC(6), REC(7), REC(8), REC(9), REC(10), REC(11), REC(12),
        REC(13), REC(14)
#undef REC
    };
    for (int i = 0; i < QL_MAIN_COMMAND_TABLE_COUNT; i++) QlMainCommandTable[i].run = recorders[i];

    for (int i = 0; i < QL_MAIN_COMMAND_TABLE_COUNT; i++) {
        const QlMainCommand &command = QlMainCommandTable[i];
        if (command.toolbarId >= 0) {
            SCOPED_TRACE(command.toolbarId);
            QlUiSetText(QlDescBarText, "old");
            SendMessageA(main, WM_COMMAND, MAKEWPARAM(command.toolbarId, BN_CLICKED), (LPARAM)QlMainToolbarWnd);
            ASSERT_EQ(1u, which.size());
            EXPECT_EQ(i, which.back());
            EXPECT_EQ(main, calls.back());
            EXPECT_EQ(QlToolbarTipTable[command.toolbarId], WindowText(QlDescBarText));
            which.clear();
        }
        if (command.menuId) {
            SCOPED_TRACE(command.menuId);
            SendMessageA(main, WM_COMMAND, MAKEWPARAM(command.menuId, 0), 0);
            ASSERT_EQ(1u, which.size());
            EXPECT_EQ(i, which.back());
            which.clear();
        }
    }
    // The language's descriptions; the company, reports and help buttons have none.
    EXPECT_EQ(std::string(QlLangMenuTable[QL_LANG_GERMAN].ToolbarTips[0]), QlToolbarTipTable[0]);
    for (int id : {6, 7, 10}) EXPECT_STREQ("", QlToolbarTipTable[id]) << id;

    // Import has no action: it is greyed in the language's menu, and the
    // command reaches nothing; an unknown command reaches nothing either.
    EXPECT_TRUE(GetMenuState(GetMenu(main), IDM_MOD_IMPORT, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(GetMenu(main), IDM_MOD_REPORTS, MF_BYCOMMAND) & MF_GRAYED);
    SendMessageA(main, WM_COMMAND, IDM_MOD_IMPORT, 0);
    SendMessageA(main, WM_COMMAND, 9, 0);
    EXPECT_TRUE(which.empty());

    // The tool bar's tooltips are the descriptions.
    NMTTDISPINFOA tip = {};
    tip.hdr.code = TTN_GETDISPINFOA;
    tip.hdr.idFrom = 1;
    SendMessageA(main, WM_NOTIFY, 0, (LPARAM)&tip);
    EXPECT_EQ(QlToolbarTipTable[1], tip.lpszText);
}

// The description bar shows the last button's description in the language
// the program speaks now, also after the language page switched it.
TEST_F(MainWindowTest, TheDescriptionBarSpeaksTheNewLanguage)
{
    HWND main = StartWith(CompanySettings("Acme Widgets Ltd"));
    ASSERT_TRUE(IsWindow(main));
    for (QlMainCommand &command : QlMainCommandTable)
        if (command.toolbarId == 1) command.run = [](HWND) {};
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), (LPARAM)QlMainToolbarWnd);
    EXPECT_EQ(QlLangMenuTable[QL_LANG_ENGLISH].ToolbarTips[1], WindowText(QlDescBarText));

    const int languages[] = {QL_LANG_SWEDISH, QL_LANG_FRENCH, QL_LANG_ENGLISH};
    for (int lang : languages) {
        QlSettings.cfg.language = lang;
        QlLangApply(lang, 1, 0);   // as the language page does
        EXPECT_EQ(QlLangMenuTable[lang].ToolbarTips[1], WindowText(QlDescBarText)) << lang;
    }
    // An empty bar (no button used, or its module closed) stays empty.
    QlUiSetText(QlDescBarText, "");
    QlLangApply(QL_LANG_GERMAN, 1, 0);
    EXPECT_EQ("", WindowText(QlDescBarText));
    QlLangApply(QL_LANG_ENGLISH, 1, 0);
}

// A list load lets the message pump run inside its database statement: a
// command that arrives then (it may close the module or the database) runs
// once the statement has ended.
static int gDeferredRuns;
static int __cdecl ClickDuringStatement(void *window, int, char **, char **)
{
    SendMessageA((HWND)window, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
    EXPECT_EQ(0, gDeferredRuns);
    return 0;
}

TEST_F(MainWindowTest, CommandsWaitForARunningStatement)
{
    HWND main = StartWith(CompanySettings("Acme Widgets Ltd", QL_LANG_ENGLISH, 0));
    ASSERT_TRUE(IsWindow(main));
    gDeferredRuns = 0;
    QlMainCommandTable[0].run = [](HWND) { gDeferredRuns++; };
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbExecRows("select 1;", ClickDuringStatement, main, err));
    PumpMessages();
    EXPECT_EQ(1, gDeferredRuns);
}

// With the real openers every command of the menu and the tool bar runs
// without harm; Exit then ends the program and saves the settings.
TEST_F(MainWindowTest, EveryCommandRunsAndExitSaves)
{
    HWND main = StartWith(CompanySettings("Acme Widgets Ltd"));
    ASSERT_TRUE(IsWindow(main));
    // The help file is there to be opened.
    HANDLE help = CreateFileA(QL_HELP_FILE, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, help);
    CloseHandle(help);
    MsgAnswers answers({0});   // no cleardown
    PickerAnswers pickers;   // no folder and no backup file chosen
    // A company manager, the Reports dialog, both again from the menu, one About box.
    DialogDriver driver({Cancel, Cancel, Cancel, Cancel, CloseAbout});
    const int ids[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10,
                       IDM_MOD_CUSTOMERS, IDM_MOD_SUPPLIERS, IDM_MOD_TRANSACTIONS, IDM_MOD_PRODUCTS,
                       IDM_MOD_SERVICES, IDM_MOD_SETTINGS, IDM_FILE_COMPANIES, IDM_MOD_REPORTS, IDM_HELP_CONTENTS,
                       IDM_FILE_BACKUP, IDM_FILE_RESTORE, IDM_MOD_CLEARDOWN, IDM_MOD_IMPORT, IDM_HELP_ABOUT};
    for (int id : ids) {
        SCOPED_TRACE(id);
        SendMessageA(main, WM_COMMAND, id, 0);
        PumpMessages();
        ASSERT_TRUE(IsWindow(main));
    }
    EXPECT_EQ(5u, driver.stepsRun());
    ASSERT_EQ(2u, gShellOpened.size());
    EXPECT_EQ("<default> qlyhelp.chm", gShellOpened[0]);
    EXPECT_EQ(0, QlCompanies.current);
    EXPECT_EQ("Quillory 2.1.31 : Acme Widgets Ltd", WindowText(main));

    ASSERT_EQ(1u, answers.asked.size());
    EXPECT_EQ("Cleardown Transactions", answers.asked[0].caption);
    EXPECT_EQ(1, pickers.folderAsks);
    EXPECT_EQ(1, pickers.fileAsks);

    SendMessageA(main, WM_COMMAND, IDM_FILE_EXIT, 0);
    PumpMessages();
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(1u, answers.asked.size());   // the backup question is off for this company
    EXPECT_EQ(ThisYear(), ReadCompany(0).saveYear);
    EXPECT_EQ(nullptr, QlPercentTextTable[0]);
    EXPECT_EQ(nullptr, QlBrushWhite);
}

// The close box asks the exit's backup question, Yes / No / Cancel: Cancel
// returns to the program, No ends it without a backup.
TEST_F(MainWindowTest, CloseBoxOffersTheBackupWhenTheSettingsAskForIt)
{
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    acme.backupOnExit = 1;
    HWND main = StartWith(acme);
    ASSERT_TRUE(IsWindow(main));
    HWND module = MakeModuleWindow(main);
    QlModuleWnd = module;
    std::vector<std::string> &asked = gAsked;
    std::vector<UINT> &types = gAskedTypes;
    asked.clear();
    types.clear();
    QlSeamMessageBox = AnswerBox;
    gBoxAnswer = IDCANCEL;
    SendMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    ASSERT_EQ(1u, asked.size());
    EXPECT_EQ("Backup confirmation|Would you like to backup data before exit?", asked[0]);
    EXPECT_EQ((UINT)MB_YESNOCANCEL, types[0] & MB_TYPEMASK);
    EXPECT_TRUE(IsWindow(main));   // Cancel returns to the program
    EXPECT_EQ(module, QlModuleWnd);

    gBoxAnswer = IDNO;
    SendMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    EXPECT_EQ(2u, asked.size());
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(1, gModuleLog.closing);
    EXPECT_EQ(nullptr, QlModuleWnd);
    EXPECT_EQ(ThisYear(), ReadCompany(0).saveYear);
}

TEST_F(MainWindowTest, MaximizeAndRestoreRelayToTheModuleWindow)
{
    HWND main = StartWith(CompanySettings("Acme Widgets Ltd"));
    ASSERT_TRUE(IsWindow(main));
    QlModuleWnd = MakeModuleWindow(main);
    HWND panels[3] = {QlStatusPanelWnd, QlLangPanelWnd, QlDescBarWnd};
    RECT before[3];
    for (int i = 0; i < 3; i++) before[i] = RectInParent(panels[i]);
    int statusWidth = before[0].right - before[0].left;

    SendMessageA(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(PumpUntil([] { return gModuleLog.maximized > 0; }));
    EXPECT_EQ(1, gModuleLog.maximized);
    EXPECT_EQ(0, gModuleLog.restored);
    RECT client = ClientRectOf(main);
    RECT status = RectInParent(QlStatusPanelWnd);
    RECT desc = RectInParent(QlDescBarWnd);
    EXPECT_EQ(client.right, status.right);
    EXPECT_EQ(client.bottom, status.bottom);
    EXPECT_EQ(client.bottom, RectInParent(QlLangPanelWnd).bottom);
    EXPECT_EQ(client.bottom, desc.bottom);
    EXPECT_EQ(client.right - statusWidth - 3, desc.right);

    SendMessageA(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(PumpUntil([] { return gModuleLog.restored > 0; }));
    EXPECT_EQ(1, gModuleLog.maximized);
    for (int i = 0; i < 3; i++) {
        SCOPED_TRACE(i);
        RECT after = RectInParent(panels[i]);
        EXPECT_EQ(0, memcmp(&before[i], &after, sizeof after));
    }

    // Minimize, then restore from the task bar: the layout stays, nothing is relayed.
    SendMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    SendMessageA(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    PumpFor(100);
    EXPECT_EQ(1, gModuleLog.maximized);
    EXPECT_EQ(1, gModuleLog.restored);
}

TEST_F(MainWindowTest, MessagePanelShowsATextUntilItsTimer)
{
    HWND main = StartWith(CompanySettings("Acme Widgets Ltd"));
    ASSERT_TRUE(IsWindow(main));
    HWND text = GetDlgItem(QlStatusPanelWnd, IDT_STATUS_TEXT);
    QlStatusPost("Customer saved", QL_COLOUR_DONE);
    PumpMessages();
    EXPECT_EQ("Customer saved", WindowText(text));
    EXPECT_EQ(QL_COLOUR_DONE, StaticTextColour(QlStatusPanelWnd, IDT_STATUS_TEXT));
    // A second text replaces the first at once.
    QlStatusPost("Failed to save", QL_COLOUR_WARNING);
    PumpMessages();
    EXPECT_EQ("Failed to save", WindowText(text));
    EXPECT_EQ(QL_COLOUR_WARNING, StaticTextColour(QlStatusPanelWnd, IDT_STATUS_TEXT));
    // Timer 3 of the main window takes it away.
    SendMessageA(main, WM_TIMER, QL_TIMER_STATUS, 0);
    PumpMessages();
    EXPECT_EQ("", WindowText(text));
    EXPECT_EQ(0u, StaticTextColour(QlStatusPanelWnd, IDT_STATUS_TEXT));

    // Without a timer nothing would take a text away: it is not shown.
    HWND dead = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    DestroyWindow(dead);
    QlMainWnd = dead;
    SendMessageA(QlStatusPanelWnd, QL_WM_STATUS_SHOW, QL_COLOUR_DONE, (LPARAM)strdup("Lost"));
    QlMainWnd = main;
    EXPECT_EQ("", WindowText(text));
}

TEST_F(MainWindowTest, MyCompaniesSwitchesToTheCompanyLoaded)
{
    ASSERT_TRUE(WriteCompany(1, CompanySettings("Berg GmbH", QL_LANG_GERMAN, 13)));
    HWND main = StartWith(CompanySettings("Acme Widgets Ltd"));
    ASSERT_TRUE(IsWindow(main));
    strcpy(QlSettings.cfg.address2, "Unit 7");   // changed since the last save
    HWND module = MakeModuleWindow(main);
    QlModuleWnd = module;

    DialogDriver driver({Cancel, [](HWND dialog) {
                             HWND list = GetDlgItem(dialog, IDL_COMPANY_LIST);
                             LVITEMA item = {};
                             item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
                             SendMessageA(list, LVM_SETITEMSTATE, 1, (LPARAM)&item);
                             ClickButton(dialog, IDB_COMPANY_LOAD);
                         }});
    SendMessageA(main, WM_COMMAND, 6, (LPARAM)QlMainToolbarWnd);   // closed: nothing changes
    EXPECT_EQ(0, QlCompanies.current);
    EXPECT_EQ("Quillory 2.1.31 : Acme Widgets Ltd", WindowText(main));
    EXPECT_FALSE(IsWindow(module));   // the manager takes the module window's place

    SendMessageA(main, WM_COMMAND, IDM_FILE_COMPANIES, 0);
    EXPECT_EQ(2u, driver.stepsRun());
    EXPECT_EQ(1, QlCompanies.current);
    EXPECT_STREQ("Unit 7", ReadCompany(0).address2);   // the old company saved first
    EXPECT_EQ("Quillory 2.1.31 : Berg GmbH", WindowText(main));
    EXPECT_TRUE(FileExists("COMP001\\quilry.db"));
    EXPECT_TRUE(QlDbIsOpen());
    EXPECT_EQ("&Datei", MenuTitle(main, 0));
    ASSERT_NE(nullptr, QlMainToolbarWnd);
    EXPECT_EQ("Kunden", ButtonText(QlMainToolbarWnd, 0));
    EXPECT_EQ("Deutsch", WindowText(GetDlgItem(QlLangPanelWnd, IDT_LANG_NAME)));
    EXPECT_STREQ("MWST %", QlTaxLabel);
    EXPECT_EQ(1900, QlSettings.rates[1]);   // Germany's standard rate

    // The new company's settings are the ones saved at exit.
    DestroyWindow(main);
    PumpMessages();
    EXPECT_EQ(ThisYear(), ReadCompany(1).saveYear);
    EXPECT_STREQ("Unit 7", ReadCompany(0).address2);
}

TEST(MainWindowFlag, CountryFlagOrTheLanguages)
{
    const struct {
        int lang, country;
        const char *path;
    } cases[] = {
        {QL_LANG_ENGLISH, 0, ".\\images\\uk.bmp"},
        {QL_LANG_ENGLISH, 13, ".\\images\\germany.bmp"},
        {QL_LANG_GERMAN, 7, ".\\images\\germany.bmp"},    // a country without a flag
        {QL_LANG_DANISH, 29, ".\\images\\denmark.bmp"},
        {QL_LANG_DUTCH, 28, ".\\images\\netherland.bmp"},
        {QL_LANG_SPANISH, 99, ".\\images\\spain.bmp"},    // out of range: the language's
    };
    for (const auto &c : cases) EXPECT_STREQ(c.path, QlLangFlagPath(c.lang, c.country)) << c.country;
}

namespace {

// A module-like form: the customers template as a child dialog of a frame,
// recording the IDOK and IDCANCEL it receives (the forms number their
// tool-bar commands from 0, so these would be commands).
std::vector<int> gFormCommands;

INT_PTR CALLBACK RecordingFormProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        gFormCommands.push_back(LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// What the message loop does with one key message for the window.
void LoopKey(HWND window, UINT message, WPARAM key)
{
    MSG msg = {};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = key;
    msg.lParam = 1;
    if (QlMainDialogMessage(&msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

}  // namespace

// The loop's dialog navigation: Tab and Shift+Tab move along the form's tab
// stops, from any control inside it (the form, not a dialog nested in it,
// is the one asked); Enter and Escape go to the control as they come, and
// even after a Tab (which asks the edit about its keys) the form receives
// no IDOK or IDCANCEL.  The main window's own keys are left alone.
TEST(MainKeyboard, TabMovesThroughAFormAndEnterRunsNoCommand)
{
    HWND frame = TestFrame(900, 600);
    ASSERT_NE(nullptr, frame);
    HWND form = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(120), frame, RecordingFormProc, 0);
    ASSERT_NE(nullptr, form);
    ShowWindow(form, SW_SHOW);
    SetForegroundWindow(frame);
    gFormCommands.clear();
    HWND acref = GetDlgItem(form, 1057), company = GetDlgItem(form, 1058), find = GetDlgItem(form, 1054);
    EXPECT_EQ(form, QlMainKeyDialog(acref));
    EXPECT_EQ(form, QlMainKeyDialog(form));
    EXPECT_EQ(nullptr, QlMainKeyDialog(frame));

    SetFocus(acref);
    ASSERT_EQ(acref, GetFocus());
    LoopKey(acref, WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(company, GetFocus());
    LoopKey(company, WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(find, GetFocus());
    SetFocus(company);
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        LoopKey(company, WM_KEYDOWN, key);
        LoopKey(company, WM_CHAR, key == VK_RETURN ? '\r' : 0x1B);
        LoopKey(company, WM_KEYUP, key);
    }
    MSG pending;
    while (PeekMessageA(&pending, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&pending);
    EXPECT_EQ(company, GetFocus());
    EXPECT_TRUE(gFormCommands.empty()) << "first command " << (gFormCommands.empty() ? -1 : gFormCommands[0]);
    EXPECT_TRUE(IsWindow(form));

    // Other keys and other windows pass on to the ordinary dispatch.
    MSG letter = {};
    letter.hwnd = company;
    letter.message = WM_KEYDOWN;
    letter.wParam = 'A';
    EXPECT_EQ(0, QlMainDialogMessage(&letter));
    MSG outside = letter;
    outside.hwnd = frame;
    outside.wParam = VK_TAB;
    EXPECT_EQ(0, QlMainDialogMessage(&outside));
    DestroyWindow(form);
    DestroyWindow(frame);
}
