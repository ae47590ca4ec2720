#include "QlGTest.h"
#include "ShellTestSupport.h"
#include "ui/UiTestSupport.h"

#include "ui/QlAppState.h"
#include "ui/QlSeams.h"
#include "resources/QlResShell.h"
#include "shell/QlAbout.h"

#include <windows.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> gOpened;
HINSTANCE WINAPI RecordShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir, INT show)
{
    gOpened.push_back(std::string(verb ? verb : "<default>") + " " + (file ? file : "") +
                      (params || dir || show != SW_SHOWNORMAL ? " <extra>" : ""));
    return (HINSTANCE)42;
}

HINSTANCE WINAPI NoProgramFor(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT)
{
    return (HINSTANCE)31;   // SE_ERR_NOASSOC
}

std::string Text(HWND dialog, int id)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

}  // namespace

TEST(About, ShowsTheProductAndOpensItsLinks)
{
    gOpened.clear();
    QlSeamShellExecute = RecordShellExecute;
    HWND host = TestFrame(400, 300);
    HWND module = MakeModuleWindow(host);
    QlModuleWnd = module;
    std::string caption, name, version, notice, web, email;
    DialogDriver driver({[&](HWND dialog) {
        caption = WindowText(dialog);
        name = Text(dialog, IDT_ABOUT_NAME);
        version = Text(dialog, IDT_ABOUT_VERSION);
        notice = Text(dialog, IDT_ABOUT_NOTICE);
        web = Text(dialog, IDT_ABOUT_WEB);
        email = Text(dialog, IDT_ABOUT_EMAIL);
        HWND link = GetDlgItem(dialog, IDT_ABOUT_WEB);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDT_ABOUT_WEB, STN_CLICKED), (LPARAM)link);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDT_ABOUT_WEB, STN_DBLCLK), (LPARAM)link);
        link = GetDlgItem(dialog, IDT_ABOUT_EMAIL);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDT_ABOUT_EMAIL, STN_CLICKED), (LPARAM)link);
        ClickButton(dialog, IDB_ABOUT_CLOSE);
    }});
    QlAboutShow(host);
    EXPECT_EQ(1u, driver.stepsRun());
    EXPECT_FALSE(IsWindow(module));   // the About box takes the module window's place
    EXPECT_EQ(nullptr, QlModuleWnd);
    EXPECT_EQ("About Quillory", caption);
    EXPECT_EQ("Quillory", name);
    EXPECT_EQ("Version 2.1.31", version);
    EXPECT_EQ("Invoices, quotations and accounts for small businesses.", notice);
    EXPECT_EQ(QL_ABOUT_WEB_ADDRESS, web);
    EXPECT_EQ(QL_ABOUT_SUPPORT_ADDRESS, email);

    ASSERT_EQ(2u, gOpened.size());
    EXPECT_EQ("open " QL_ABOUT_WEB_ADDRESS, gOpened[0]);
    EXPECT_EQ("open mailto:" QL_ABOUT_SUPPORT_ADDRESS, gOpened[1]);
    DestroyWindow(host);
    QlSeamsReset();
}

// Help opens the working folder's help file; without one, or when nothing
// opens it, the user is told so, with the file's full path.
TEST(About, HelpOpensTheFileOrSaysWhyNot)
{
    WorkFolder work;
    MsgAnswers answers;
    gOpened.clear();
    QlSeamShellExecute = RecordShellExecute;
    HWND host = TestFrame(400, 300);
    const std::string path = work.path() + "\\" QL_HELP_FILE;

    QlHelpOpen(host);
    EXPECT_TRUE(gOpened.empty());
    ASSERT_EQ(1u, answers.asked.size());
    EXPECT_EQ("The help file is not installed: " + path + " was not found.", answers.asked[0].text);

    HANDLE file = CreateFileA(QL_HELP_FILE, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    QlHelpOpen(host);
    ASSERT_EQ(1u, gOpened.size());
    EXPECT_EQ("<default> qlyhelp.chm", gOpened[0]);
    EXPECT_EQ(1u, answers.asked.size());

    // No program for the file: the shell's answer of 31 (no association).
    QlSeamShellExecute = NoProgramFor;
    QlHelpOpen(host);
    ASSERT_EQ(2u, answers.asked.size());
    EXPECT_EQ("The help file " + path + " could not be opened: no program to show it was found.",
              answers.asked[1].text);
    DeleteFileA(QL_HELP_FILE);
    DestroyWindow(host);
    QlSeamsReset();
}
