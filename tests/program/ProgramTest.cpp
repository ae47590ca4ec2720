// The real program, started as a process of its own on the same Wine server
// and display, watched through its windows.  The test runs alone (CTest
// RUN_SERIAL): the program's single-instance mutex and its windows are
// shared with every other Wine process of the prefix.
#include "QlGTest.h"
#include "../shell/ShellTestSupport.h"

#include "common/QlPlatform.h"
#include "resources/QlResShell.h"
#include "settings/QlSettings.h"
#include "datastore/QlDbTables.h"
#include "common/QlMoney.h"
#include "transactions/QlTransSums.h"

#include <commctrl.h>

#include <windows.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>
#ifdef __WINE__
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char **environ;
#endif

namespace {

// A Unix process started with posix_spawn; killed if still running when the
// object goes.
class UnixProcess {
public:
    UnixProcess() = default;
    UnixProcess(const UnixProcess &) = delete;
    UnixProcess &operator=(const UnixProcess &) = delete;
    ~UnixProcess()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, NULL, 0);
        }
    }

    bool start(const std::vector<std::string> &args, const std::string &folder)
    {
        std::vector<char *> argv;
        for (const std::string &arg : args) argv.push_back((char *)arg.c_str());
        argv.push_back(NULL);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
        int result = posix_spawn(&pid_, argv[0], &actions, NULL, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (result != 0) pid_ = -1;
        return result == 0;
    }

    // Waits for the process to end; true with its exit code when it did.
    bool wait(int milliseconds, int *exitCode)
    {
        DWORD start = GetTickCount();
        for (;;) {
            int status = 0;
            pid_t done = waitpid(pid_, &status, WNOHANG);
            if (done == pid_) {
                pid_ = -1;
                *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                return true;
            }
            if (done < 0 || (int)(GetTickCount() - start) > milliseconds) return false;
            Sleep(50);
        }
    }

private:
    pid_t pid_ = -1;
};

struct Found {
    const char *className;
    std::string title;   // "" for any
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam)
{
    Found *found = (Found *)lParam;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    char cls[64] = "", title[256] = "";
    GetClassNameA(window, cls, sizeof cls);
    GetWindowTextA(window, title, sizeof title);
    if (strcmp(cls, found->className) == 0 && (found->title.empty() || found->title == title))
        found->windows.push_back(window);
    return TRUE;
}

// The visible top-level windows of other processes with that class (and title).
std::vector<HWND> ProgramWindows(const char *className, const std::string &title = "")
{
    Found found = {className, title, {}};
    EnumWindows(CollectWindow, (LPARAM)&found);
    return found.windows;
}

HWND WaitForWindow(const char *className, const std::string &title, int milliseconds)
{
    DWORD start = GetTickCount();
    while ((int)(GetTickCount() - start) < milliseconds) {
        std::vector<HWND> windows = ProgramWindows(className, title);
        if (!windows.empty()) return windows[0];
        Sleep(50);
    }
    return NULL;
}

std::string Env(const char *name, const char *fallback)
{
    const char *value = getenv(name);
    return value && *value ? value : fallback;
}

std::string NativePath(const std::string &windowsPath)
{
    char native[MAX_PATH * 4];
    return QlPathToNative(windowsPath.c_str(), native, sizeof native) ? native : "";
}

int ThisYear()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wYear;
}

const char kMainClass[] = " ";

}  // namespace

TEST(Program, StartsOnceShowsItsCompanyAndEndsOnClose)
{
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    acme.saveYear = 0;
    ASSERT_TRUE(WriteCompany(0, acme));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    std::string folder = NativePath(work.path());
    ASSERT_FALSE(folder.empty());
    std::string wine = Env("QL_WINE64", "/usr/lib/wine/wine64");
    std::string program = Env("QL_BIN_DIR", ".") + "/quillory.exe.so";
    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";

    UnixProcess first;
    ASSERT_TRUE(first.start({wine, program}, folder));
    // The About box greets the user at the start.
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
    ASSERT_NE(nullptr, main);

    // Pictures of the window for a person to look at (not compared): as it
    // starts, and with the customers module open.
    std::string artifacts = Env("QL_ARTIFACT_DIR", "artifacts");
    auto takeScreenshot = [&](const char *name) {
        Sleep(1000);
        UnixProcess screenshot;
        ASSERT_TRUE(screenshot.start({"/bin/sh", "-c", "mkdir -p '" + artifacts + "' && xwd -root -silent | convert xwd:- '" +
                                                           artifacts + "/" + name + "'"},
                                     ""));
        int exitCode = -1;
        EXPECT_TRUE(screenshot.wait(30000, &exitCode));
        EXPECT_EQ(0, exitCode);
    };
    takeScreenshot("main-window.png");
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
    takeScreenshot("customers-module.png");
    int code = -1;

    // A second start ends at once, without a window of its own.
    UnixProcess second;
    ASSERT_TRUE(second.start({wine, program}, folder));
    code = -1;
    EXPECT_TRUE(second.wait(30000, &code));
    EXPECT_EQ(0, code);
    EXPECT_EQ(1u, ProgramWindows(kMainClass).size());
    EXPECT_TRUE(IsWindow(main));

    // The close box (the company asks for no backup) ends the program,
    // which saves the company's settings on the way out.
    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    code = -1;
    ASSERT_TRUE(first.wait(30000, &code));
    EXPECT_EQ(0, code);
    EXPECT_TRUE(ProgramWindows(kMainClass).empty());
    QlSettingsRec saved = ReadCompany(0);
    EXPECT_EQ(ThisYear(), saved.saveYear);
    EXPECT_STREQ("Acme Widgets Ltd", saved.companyName);
    EXPECT_TRUE(FileExists("COMP000\\quilry.db"));
}

namespace {

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindDialogWithControl(HWND child, LPARAM lParam)
{
    ControlSearch *search = (ControlSearch *)lParam;
    char cls[16] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (strcmp(cls, "#32770") == 0 && GetDlgItem(child, search->id)) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

// The program's child dialog of the main window that has the control.
HWND ChildWithControl(HWND main, int controlId)
{
    ControlSearch search = {controlId, NULL};
    EnumChildWindows(main, FindDialogWithControl, (LPARAM)&search);
    return search.found;
}

template <typename F> bool WaitFor(F done, int milliseconds = 20000)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if ((int)(GetTickCount() - start) > milliseconds) return false;
        Sleep(50);
    }
    return true;
}

std::string ControlText(HWND dialog, int id)
{
    char text[128] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

}  // namespace

// A user's road to a first invoice: the customers module, Invoice for the
// shown account, a service line through the line dialog, Save; the invoice
// is then in the company's database and raises the account's balance.
TEST(Program, AnInvoiceForAnAccountFromTheCustomersModule)
{
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    acme.defaultRate = 1;   // the second rate of the company's country
    acme.invoiceType = 0;
    int64_t gross = 10000 + QlMoneyApplyRate(QlVatParseRate(acme.rateTexts[1]), 10000);
    ASSERT_GT(gross, 10000);
    char grossText[32];
    QlMoneyFormatCents(gross, grossText, sizeof grossText);
    ASSERT_TRUE(WriteCompany(0, acme));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    QlCustRec joe = {};
    strcpy(joe.acref, "JO001");
    strcpy(joe.company, "Joe's Plumbing");
    strcpy(joe.addr1, "12 Pipe Lane");
    ASSERT_EQ(1, QlCustAdd(&joe, err)) << err;
    QlDbClose();

    std::string folder = NativePath(work.path());
    std::string wine = Env("QL_WINE64", "/usr/lib/wine/wine64");
    std::string program = Env("QL_BIN_DIR", ".") + "/quillory.exe.so";
    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
    UnixProcess running;
    ASSERT_TRUE(running.start({wine, program}, folder));
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
    ASSERT_NE(nullptr, main);

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
    HWND module = NULL;
    ASSERT_TRUE(WaitFor([&] {
        module = ChildWithControl(main, 1052);   // the accounts list
        return module && ControlText(module, 1130) == "JO001";
    }));
    PostMessageA(module, WM_COMMAND, MAKEWPARAM(4, BN_CLICKED), 0);   // Invoice
    HWND form = NULL;
    ASSERT_TRUE(WaitFor([&] { return (form = ChildWithControl(main, 1161)) != NULL; }));
    EXPECT_EQ("JO001", ControlText(form, 1159));

    PostMessageA(form, WM_COMMAND, MAKEWPARAM(1175, BN_CLICKED), (LPARAM)GetDlgItem(form, 1175));   // Add
    HWND line = WaitForWindow("#32770", "Select or Enter service for invoice line", 20000);
    ASSERT_NE(nullptr, line);
    SetDlgItemTextA(line, 1176, "Consulting");
    SetDlgItemTextA(line, 1177, "100");
    EXPECT_TRUE(WaitFor([&] { return ControlText(line, 1184) == std::to_string(gross / 100); }));   // with its tax
    PostMessageA(line, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(GetDlgItem(form, 1161), LVM_GETITEMCOUNT, 0, 0) == 1; }));
    EXPECT_EQ(grossText, ControlText(form, 1170));

    HWND toolbar = FindWindowExA(form, NULL, "ToolbarWindow32", NULL);
    ASSERT_NE(nullptr, toolbar);
    PostMessageA(form, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)toolbar);   // Save
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(form); }));

    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    int code = -1;
    ASSERT_TRUE(running.wait(30000, &code));
    EXPECT_EQ(0, code);

    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    std::vector<QlTransRec> stored;
    static std::vector<QlTransRec> *sink;
    sink = &stored;
    ASSERT_EQ(1, QlTransEnum([](const QlTransRec *rec) {
                  sink->push_back(*rec);
                  return 0;
              },
                             err));
    ASSERT_EQ(1u, stored.size());
    EXPECT_EQ(1u, stored[0].type);
    EXPECT_STREQ("JO001", stored[0].acref);
    EXPECT_STREQ("Consulting", stored[0].desc);
    EXPECT_STREQ(grossText, stored[0].gross);
    EXPECT_STREQ(grossText, stored[0].gross_bal);
    QlCustRec account = {};
    ASSERT_EQ(1, QlCustGetByAcRef("JO001", &account, err));
    int64_t units = 0;
    int cents = 0;
    ASSERT_EQ(1, QlTransSumCustBalance(&units, &cents, &account));
    EXPECT_EQ(gross, units * 100 + cents);
    QlDbClose();
}
