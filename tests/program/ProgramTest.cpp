// The real program, started as a process of its own on the same Wine server
// and display, watched through its windows, with a window manager running as
// on a desktop.  The test runs alone (CTest RUN_SERIAL): the program's
// single-instance mutex and its windows are shared with every other Wine
// process of the prefix, and the window manager with the whole display.
#include "QlGTest.h"
#include "picture/PictureFixtures.h"
#include "QlTestPdf.h"
#include "QlTestPlatform.h"
#include "../shell/ShellTestSupport.h"
#include "../datastore/DbTestSupport.h"

#include "core/QlPlatform.h"
#include "resources/QlResCatalogue.h"
#include "resources/QlResCommon.h"
#include "resources/QlResCustomers.h"
#include "resources/QlResMenu.h"
#include "resources/QlResNetmail.h"
#include "resources/QlResReports.h"
#include "resources/QlResSalesGraph.h"
#include "resources/QlResSettings.h"
#include "resources/QlResShell.h"
#include "resources/QlResTrans.h"
#include "resources/QlVersion.h"
#include "settings/QlSettings.h"
#include "core/QlMoney.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlTransSums.h"

#include <windows.h>
#include <commctrl.h>
#include <stdlib.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

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

int ThisYear()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wYear;
}

const char kMainClass[] = " ";

std::string Quoted(const std::string &text) { return "'" + text + "'"; }

// Runs a shell command and waits for it; true when it ended with 0.
bool Shell(const std::string &command)
{
    int status = -1;
    QlTestRun(command, &status);
    return status == 0;
}

std::string ArtifactDir() { return Env("QL_ARTIFACT_DIR", "artifacts"); }

// A picture of the whole screen in the artifacts folder, read from the X
// server's screen as one image (ImageMagick's import: xwd -root reads the
// windows one by one and shows Wine's dialogs as black rectangles).  The
// pictures are for a person to look at; a Windows program cannot run the
// Unix tool and takes none (true).
bool Screenshot(const char *name)
{
    if (!QlTestHasUnix()) return true;
    Sleep(1000);
    return Shell("mkdir -p " + Quoted(ArtifactDir()) + " && import -window root " + Quoted(ArtifactDir() + "/" + name));
}

// The standard deviation (0-1) of the screenshot's pixels inside the
// rectangle (screen coordinates), or another of ImageMagick's measures (the
// mean of one channel: "mean.b"); -1 when it cannot be measured.  A window
// that did not paint is one flat colour: 0.
double Spread(const char *name, const RECT &area, const char *measure = "standard_deviation")
{
    std::string out = ArtifactDir() + "/spread.txt";
    char geometry[64];
    snprintf(geometry, sizeof geometry, "%ldx%ld+%ld+%ld", (long)(area.right - area.left),
             (long)(area.bottom - area.top), (long)area.left, (long)area.top);
    if (!Shell("convert " + Quoted(ArtifactDir() + "/" + name) + " -crop " + geometry +
               " +repage -format '%[fx:" + measure + "]' info: > " + Quoted(out)))
        return -1;
    double spread = -1;
    FILE *f = fopen(out.c_str(), "r");
    if (f) {
        if (fscanf(f, "%lf", &spread) != 1) spread = -1;
        fclose(f);
    }
    remove(out.c_str());
    return spread;
}

// The client area of a window in screen coordinates.
RECT ClientOnScreen(HWND window)
{
    RECT rect = {0, 0, 0, 0};
    GetClientRect(window, &rect);
    POINT topLeft = {rect.left, rect.top}, bottomRight = {rect.right, rect.bottom};
    ClientToScreen(window, &topLeft);
    ClientToScreen(window, &bottomRight);
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

// The program runs under Debian's openbox, as on a desktop: its windows are
// managed (framed, stacked, focused by the window manager) while the other
// test programs of the prefix keep Wine's own unmanaged windows.
class Program : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        windowManager_ = new QlTestProcess;
        if (!windowManager_->startUnix({"/usr/bin/openbox", "--sm-disable"})) return;
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kAppKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) == ERROR_SUCCESS) {
            RegSetValueExA(key, "Managed", 0, REG_SZ, (const BYTE *)"Y", 2);
            RegCloseKey(key);
        }
        Sleep(1500);   // time to take the screen over
    }

    static void TearDownTestSuite()
    {
        delete windowManager_;   // ends it
        windowManager_ = NULL;
    }

    void SetUp() override
    {
        // The window manager is a Unix program: a Windows test program runs
        // the program on Wine's own unmanaged windows.
        if (QlTestHasUnix()) {
            ASSERT_TRUE(Shell("test -x /usr/bin/openbox")) << "openbox is missing (tools/packages.txt)";
        }
    }

private:
    static constexpr const char *kAppKey = "Software\\Wine\\AppDefaults\\quillory.exe\\X11 Driver";
    static QlTestProcess *windowManager_;
};

QlTestProcess *Program::windowManager_ = NULL;

// A key pressed and released on the focused window of the display (with
// Shift held when asked).
void PressKey(WORD key, bool shift = false)
{
    INPUT input[4] = {};
    int n = 0;
    if (shift) {
        input[n].type = INPUT_KEYBOARD;
        input[n++].ki.wVk = VK_SHIFT;
    }
    input[n].type = INPUT_KEYBOARD;
    input[n++].ki.wVk = key;
    input[n].type = INPUT_KEYBOARD;
    input[n].ki.wVk = key;
    input[n++].ki.dwFlags = KEYEVENTF_KEYUP;
    if (shift) {
        input[n].type = INPUT_KEYBOARD;
        input[n].ki.wVk = VK_SHIFT;
        input[n++].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(n, input, sizeof(INPUT));
}

}  // namespace

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

TEST_F(Program, StartsOnceShowsItsCompanyAndEndsOnClose)
{
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    acme.saveYear = 0;
    ASSERT_TRUE(WriteCompany(0, acme));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    // Accounts with invoices, for the picture of the customers module.
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    const struct {
        const char *acref, *company, *balance;
    } accounts[] = {{"BR000", "Bright Electrics", "250.40"}, {"JO001", "Joe's Plumbing", "1290.45"},
                    {"CA000", "Castle Joinery Ltd", "-12.50"}};
    for (const auto &a : accounts) {
        QlCustRec rec = {};
        strcpy(rec.acref, a.acref);
        strcpy(rec.company, a.company);
        strcpy(rec.addr1, "1 Main Street");
        ASSERT_EQ(1, QlCustAdd(&rec, err)) << err;
        QlTransRec invoice = {};
        invoice.type = 1;
        invoice.cust_rowid = rec.iKey;
        strcpy(invoice.acref, a.acref);
        strcpy(invoice.date, "3/02/2025");
        strcpy(invoice.gross, a.balance);
        strcpy(invoice.gross_bal, a.balance);
        ASSERT_EQ(1, QlTransAdd(&invoice, err)) << err;
    }
    QlDbClose();
    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";

    QlTestProcess first;
    ASSERT_TRUE(first.startProgram("quillory", work.path()));
    // The About box greets the user at the start.
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
    ASSERT_NE(nullptr, main);

    // Pictures of the window for a person to look at (not compared): as it
    // starts, and with the customers module open.
    EXPECT_TRUE(Screenshot("main-window.png"));
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
    HWND module = NULL;
    EXPECT_TRUE(WaitFor([&] {
        module = ChildWithControl(main, 1035);   // the overview list
        return module && SendMessageA(GetDlgItem(module, 1035), LVM_GETITEMCOUNT, 0, 0) == 3 &&
               ControlText(module, 1133) == "250.40";
    }));
    EXPECT_TRUE(Screenshot("customers-module.png"));
    if (module && QlTestHasUnix()) EXPECT_GT(Spread("customers-module.png", ClientOnScreen(module)), 0.02);
    int code = -1;

    // A second start ends at once, without a window of its own.
    QlTestProcess second;
    ASSERT_TRUE(second.startProgram("quillory", work.path()));
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

BOOL CALLBACK CollectChild(HWND window, LPARAM lParam)
{
    Found *found = (Found *)lParam;
    char cls[64] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (strcmp(cls, found->className) == 0 && IsWindowVisible(window)) found->windows.push_back(window);
    return TRUE;
}

// The visible child windows of a window (any depth) with that class.
std::vector<HWND> ChildWindows(HWND parent, const char *className)
{
    Found found = {className, "", {}};
    EnumChildWindows(parent, CollectChild, (LPARAM)&found);
    return found.windows;
}

// The settings window's six pages, each painted on the screen, with a
// picture of each in the artifacts folder for a person to look at.
TEST_F(Program, SettingsPagesPaint)
{
    QL_TEST_REQUIRE_UNIX();   // measures the screen with ImageMagick
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    strcpy(acme.address2, "Harbour Road");
    strcpy(acme.telephone, "+353 1 555 0100");
    strcpy(acme.email, "accounts@acme.example");
    strcpy(acme.smtpServer, "smtp.acme.example");
    acme.smtpPort = 587;
    strcpy(acme.logoPath, ".\\images\\ireland.bmp");
    acme.printLogo = 1;
    ASSERT_TRUE(WriteCompany(0, acme));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";

    QlTestProcess program;
    ASSERT_TRUE(program.startProgram("quillory", work.path()));
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
    ASSERT_NE(nullptr, main);

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), 0);   // Settings
    std::vector<HWND> tabs;
    DWORD start = GetTickCount();
    while (tabs.empty() && GetTickCount() - start < 10000) {
        Sleep(100);
        tabs = ChildWindows(main, "SysTabControl32");
    }
    ASSERT_EQ(1u, tabs.size());
    static const char *const names[] = {"settings-language.png", "settings-company.png", "settings-invoices.png",
                                        "settings-tax.png",      "settings-email.png",   "settings-letters.png"};
    for (int page = 0; page < 6; page++) {
        SCOPED_TRACE(page);
        // Focus on a tab selects it and tells the window (a message without
        // pointers, which reaches another process whole).
        SendMessageA(tabs[0], TCM_SETCURFOCUS, page, 0);
        EXPECT_EQ(page, (int)SendMessageA(tabs[0], TCM_GETCURSEL, 0, 0));
        std::vector<HWND> pages = ChildWindows(tabs[0], "#32770");
        ASSERT_EQ(1u, pages.size());
        ASSERT_TRUE(Screenshot(names[page]));
        EXPECT_GT(Spread(names[page], ClientOnScreen(pages[0])), 0.02) << "the page is one flat colour";
        if (page != 2) continue;
        // The invoice page's cell-margin dialog.
        PostMessageA(GetDlgItem(pages[0], IDB_CFG_CELL_MARGIN), BM_CLICK, 0, 0);
        HWND margins = WaitForWindow("#32770", "Invoice cell margins", 10000);
        ASSERT_NE(nullptr, margins);
        ASSERT_TRUE(Screenshot("settings-cell-margins.png"));
        EXPECT_GT(Spread("settings-cell-margins.png", ClientOnScreen(margins)), 0.02);
        PostMessageA(margins, WM_COMMAND, IDCANCEL, 0);
        Sleep(500);

        // A logo the picture check refuses, chosen in the real file dialog:
        // the icon whose impossible bit count once crashed the PDF converter,
        // saved under a bitmap's name.  The page names it and keeps its logo.
        FILE *source = fopen((Env("QL_SOURCE_DIR", ".") + "/tests/picture/data/red-16x16.ico").c_str(), "rb");
        ASSERT_NE(nullptr, source);
        std::vector<unsigned char> icon(4096);
        icon.resize(fread(icon.data(), 1, icon.size(), source));
        fclose(source);
        ASSERT_GT(icon.size(), 36u);
        icon[36] = 36;
        const std::string damaged = work.path() + "\\damaged-logo.bmp";
        HANDLE file = CreateFileA(damaged.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file, icon.data(), (DWORD)icon.size(), &written, NULL));
        CloseHandle(file);
        PostMessageA(GetDlgItem(pages[0], IDB_CFG_LOGO_BROWSE), BM_CLICK, 0, 0);
        HWND picker = WaitForWindow("#32770", "Select Invoice Logo File", 10000);
        ASSERT_NE(nullptr, picker);
        std::vector<HWND> edits = ChildWindows(picker, "Edit");
        ASSERT_FALSE(edits.empty());
        SendMessageA(edits[0], WM_SETTEXT, 0, (LPARAM)damaged.c_str());
        PostMessageA(picker, WM_COMMAND, IDOK, 0);
        HWND refusal = WaitForWindow("#32770", "Error", 10000);
        ASSERT_NE(nullptr, refusal);
        char shown[512] = "";
        GetDlgItemTextA(refusal, IDT_MSG_TEXT, shown, sizeof shown);
        EXPECT_EQ(0u, std::string(shown).find("Cannot load logo image")) << shown;
        EXPECT_NE(std::string::npos, std::string(shown).find(damaged)) << shown;
        EXPECT_NE(std::string::npos, std::string(shown).find("8192 x 8192 pixels")) << shown;
        ASSERT_TRUE(Screenshot("settings-logo-refused.png"));
        EXPECT_GT(Spread("settings-logo-refused.png", ClientOnScreen(refusal)), 0.02);
        PressKey(VK_RETURN);   // Enter closes the message
        start = GetTickCount();
        while (IsWindow(refusal) && GetTickCount() - start < 5000) Sleep(100);
        EXPECT_FALSE(IsWindow(refusal));
        if (IsWindow(refusal)) PostMessageA(refusal, WM_COMMAND, IDOK, 0);
        Sleep(500);
        char logo[MAX_PATH] = "";
        GetDlgItemTextA(pages[0], IDE_CFG_LOGO_PATH, logo, sizeof logo);
        EXPECT_STREQ(".\\images\\ireland.bmp", logo);

        // The file dialog offers PNG files, and a PNG logo is taken and
        // previewed; the dialog cancelled changes nothing.
        picker = NULL;
        PostMessageA(GetDlgItem(pages[0], IDB_CFG_LOGO_BROWSE), BM_CLICK, 0, 0);
        picker = WaitForWindow("#32770", "Select Invoice Logo File", 10000);
        ASSERT_NE(nullptr, picker);
        ASSERT_TRUE(Screenshot("settings-logo-dialog.png"));   // the filter offers PNG files
        PressKey(VK_ESCAPE);   // Escape cancels the dialog
        start = GetTickCount();
        while (IsWindow(picker) && GetTickCount() - start < 5000) Sleep(100);
        EXPECT_FALSE(IsWindow(picker));
        if (IsWindow(picker)) PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
        Sleep(500);
        GetDlgItemTextA(pages[0], IDE_CFG_LOGO_PATH, logo, sizeof logo);
        EXPECT_STREQ(".\\images\\ireland.bmp", logo);
        const std::string png = work.path() + "\\logo.png";
        const std::vector<uint8_t> pngBytes = QlTestPngBytes(240, 80, RGB(0, 0, 0), RGB(30, 90, 200));
        ASSERT_TRUE(QlTestWriteFile(png, pngBytes.data(), pngBytes.size()));
        PostMessageA(GetDlgItem(pages[0], IDB_CFG_LOGO_BROWSE), BM_CLICK, 0, 0);
        picker = WaitForWindow("#32770", "Select Invoice Logo File", 10000);
        ASSERT_NE(nullptr, picker);
        edits = ChildWindows(picker, "Edit");
        ASSERT_FALSE(edits.empty());
        SendMessageA(edits[0], WM_SETTEXT, 0, (LPARAM)png.c_str());
        PostMessageA(picker, WM_COMMAND, IDOK, 0);
        start = GetTickCount();
        do {
            Sleep(200);
            GetDlgItemTextA(pages[0], IDE_CFG_LOGO_PATH, logo, sizeof logo);
        } while (png != logo && GetTickCount() - start < 10000);
        EXPECT_EQ(png, logo);
        EXPECT_EQ(nullptr, FindWindowA("#32770", "Error"));
        Sleep(500);
        ASSERT_TRUE(Screenshot("settings-logo-png.png"));
        // The preview is the blue picture: far more blue than red in it.
        const RECT preview = ClientOnScreen(GetDlgItem(pages[0], IDP_CFG_LOGO_PREVIEW));
        const double blue = Spread("settings-logo-png.png", preview, "mean.b");
        const double red = Spread("settings-logo-png.png", preview, "mean.r");
        EXPECT_GT(blue, red + 0.1) << "the preview does not show the PNG logo";
    }

    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    int code = -1;
    ASSERT_TRUE(program.wait(30000, &code));
    EXPECT_EQ(0, code);
}

namespace {

// The whole file, or "" when it cannot be read (yet).
std::string ReadFileText(const std::string &path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

}  // namespace

// A user's road to a first invoice: the customers module, Invoice for the
// shown account, a service line through the line dialog, Save; the invoice
// is then in the company's database and raises the account's balance.
TEST_F(Program, AnInvoiceForAnAccountFromTheCustomersModule)
{
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    ASSERT_EQ(1, acme.defaultRate);   // a new company's lines carry rate B, its country's standard rate
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
    // Services for the line dialog's pick list.
    for (const char *descr : {"Boiler service", "Call-out charge"}) {
        QlServRec service = {};
        strcpy(service.descr, descr);
        service.price_units = 85;
        ASSERT_EQ(1, QlServAdd(&service, err)) << err;
    }
    QlDbClose();

    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
    QlTestProcess running;
    ASSERT_TRUE(running.startProgram("quillory", work.path()));
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
    // The pick list shows the services (an owner-data list drawn from the
    // catalogue the program keeps).
    EXPECT_TRUE(WaitFor([&] { return SendDlgItemMessageA(line, 1180, LVM_GETITEMCOUNT, 0, 0) == 2; }));
    ASSERT_TRUE(Screenshot("invoice-service-line-dialog.png"));
    if (QlTestHasUnix()) EXPECT_GT(Spread("invoice-service-line-dialog.png", ClientOnScreen(line)), 0.02);
    SetDlgItemTextA(line, 1176, "Consulting");
    // A pasted negative price is named as such; the dialog stays.
    SetDlgItemTextA(line, 1177, "-5");
    PostMessageA(line, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    HWND negative = WaitForWindow("#32770", "Invalid Input", 20000);
    ASSERT_NE(nullptr, negative);
    EXPECT_EQ("The price cannot be negative", ControlText(negative, IDT_MSG_TEXT));
    ASSERT_TRUE(Screenshot("price-negative.png"));
    if (QlTestHasUnix()) EXPECT_GT(Spread("price-negative.png", ClientOnScreen(negative)), 0.02);
    PostMessageA(negative, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(negative); }));
    EXPECT_TRUE(IsWindow(line));
    SetDlgItemTextA(line, 1177, "100");
    EXPECT_TRUE(WaitFor([&] { return ControlText(line, 1184) == std::to_string(gross / 100); }));   // with its tax
    PostMessageA(line, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(GetDlgItem(form, 1161), LVM_GETITEMCOUNT, 0, 0) == 1; }));
    EXPECT_EQ(grossText, ControlText(form, 1170));

    HWND toolbar = FindWindowExA(form, NULL, "ToolbarWindow32", NULL);
    ASSERT_NE(nullptr, toolbar);
    PostMessageA(form, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)toolbar);   // Save
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(form); }));
    // The status line says what was saved.
    HWND status = ChildWithControl(main, IDT_STATUS_TEXT);
    ASSERT_NE(nullptr, status);
    EXPECT_TRUE(WaitFor([&] { return ControlText(status, IDT_STATUS_TEXT) == "Invoice 1 saved"; }, 2500));
    ASSERT_TRUE(Screenshot("invoice-saved-status.png"));

    // Help without its file says so, naming where it was looked for.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_HELP_CONTENTS, 0), 0);
    HWND help = WaitForWindow("#32770", "Error", 20000);
    ASSERT_NE(nullptr, help);
    EXPECT_NE(std::string::npos, ControlText(help, IDT_MSG_TEXT).find("qlyhelp.chm was not found"));
    ASSERT_TRUE(Screenshot("help-missing.png"));
    if (QlTestHasUnix()) EXPECT_GT(Spread("help-missing.png", ClientOnScreen(help)), 0.02);
    PostMessageA(help, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(help); }));

    // Modules / Import is shown greyed: the menu opened by a click on its
    // title, in the menu bar just above the client area ("File", then "Modules").
    POINT bar = {0, 0};
    ClientToScreen(main, &bar);
    SetForegroundWindow(main);
    SetCursorPos(bar.x + 55, bar.y - 10);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
    EXPECT_TRUE(WaitFor([] { return !ProgramWindows("#32768").empty(); }, 5000)) << "no menu opened";
    EXPECT_TRUE(Screenshot("modules-menu.png"));
    INPUT escape[2] = {};
    escape[0].type = escape[1].type = INPUT_KEYBOARD;
    escape[0].ki.wVk = escape[1].ki.wVk = VK_ESCAPE;
    escape[1].ki.dwFlags = KEYEVENTF_KEYUP;
    for (int i = 0; i < 2; i++) SendInput(2, escape, sizeof(INPUT));
    EXPECT_TRUE(WaitFor([] { return ProgramWindows("#32768").empty(); }, 5000));

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

// The customers window, the invoice form and the settings pages with the
// longest labels of a company in each language (and its country), for a
// person to look at: customers-<code>.png, invoice-form-<code>.png and
// settings-<page>-<code>.png in the artifacts folder.
TEST_F(Program, TheCustomersWindowAndTheInvoiceFormInEveryLanguage)
{
    const struct {
        const char *code;
        int country;
    } kLanguages[QL_LANG_COUNT] = {{"eng", 0},  {"de", 13}, {"fr", 12}, {"es", 19}, {"dk", 24},
                                   {"se", 25},  {"no", 26}, {"fi", 27}, {"nl", 28}};
    for (int lang = 0; lang < QL_LANG_COUNT; lang++) {
        SCOPED_TRACE(kLanguages[lang].code);
        ShellStateGuard state;
        WorkFolder work;
        ASSERT_TRUE(work.copyImages());
        ASSERT_TRUE(WriteCompany(0, CompanySettings("Acme Widgets Ltd", lang, kLanguages[lang].country)));
        ASSERT_TRUE(WriteMconf(lang, kLanguages[lang].country, 0));
        char err[QL_DB_ERR_SIZE];
        ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
        QlCustRec joe = {};
        strcpy(joe.acref, "JO001");
        strcpy(joe.company, "Joe's Plumbing");
        strcpy(joe.addr1, "12 Pipe Lane");
        ASSERT_EQ(1, QlCustAdd(&joe, err)) << err;
        QlDbClose();

        ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
        QlTestProcess running;
        ASSERT_TRUE(running.startProgram("quillory", work.path()));
        HWND about = NULL;
        ASSERT_TRUE(WaitFor(
            [&] {
                for (HWND w : ProgramWindows("#32770"))
                    if (GetDlgItem(w, IDB_ABOUT_CLOSE)) about = w;
                return about != NULL;
            },
            60000));
        PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
        HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
        ASSERT_NE(nullptr, main);

        PostMessageA(main, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
        HWND module = NULL;
        ASSERT_TRUE(WaitFor([&] {
            module = ChildWithControl(main, 1052);   // the accounts list
            return module && ControlText(module, 1130) == "JO001";
        }));
        std::string customers = std::string("customers-") + kLanguages[lang].code + ".png";
        EXPECT_TRUE(Screenshot(customers.c_str()));
        PostMessageA(module, WM_COMMAND, MAKEWPARAM(4, BN_CLICKED), 0);   // Invoice
        HWND form = NULL;
        ASSERT_TRUE(WaitFor([&] { return (form = ChildWithControl(main, 1161)) != NULL; }));
        EXPECT_TRUE(WaitFor([&] { return ControlText(form, 1159) == "JO001"; }));
        std::string invoice = std::string("invoice-form-") + kLanguages[lang].code + ".png";
        EXPECT_TRUE(Screenshot(invoice.c_str()));

        HWND toolbar = FindWindowExA(form, NULL, "ToolbarWindow32", NULL);
        ASSERT_NE(nullptr, toolbar);
        PostMessageA(form, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), (LPARAM)toolbar);   // Close
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(form); }));

        // The settings pages with the longest labels: invoices, tax, letters.
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), 0);   // Settings
        std::vector<HWND> tabs;
        EXPECT_TRUE(WaitFor([&] { return (tabs = ChildWindows(main, "SysTabControl32")).size() == 1; }, 10000));
        const struct {
            int page;
            const char *name;
        } kPages[] = {{2, "settings-invoices-"}, {3, "settings-tax-"}, {5, "settings-letters-"}};
        for (const auto &p : kPages) {
            if (tabs.size() != 1) break;
            SendMessageA(tabs[0], TCM_SETCURFOCUS, p.page, 0);
            std::string picture = std::string(p.name) + kLanguages[lang].code + ".png";
            EXPECT_TRUE(Screenshot(picture.c_str()));
        }
        PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
        int code = -1;
        ASSERT_TRUE(running.wait(30000, &code));
        EXPECT_EQ(0, code);
    }
}

// A quotation for an account from the customers module: its carriage is
// taxed at the rate chosen beside it, as an invoice's is, and the saved
// quotation holds the same totals as the form.
TEST_F(Program, AQuotationTaxesItsCarriageAtItsChosenRate)
{
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    acme.defaultRate = 1;
    acme.invoiceType = 0;
    acme.printCarriage = 1;
    const int64_t rate = QlVatParseRate(acme.rateTexts[1]);
    const int64_t carriageTax = QlMoneyApplyRate(rate, 750);
    const int64_t gross = 10000 + QlMoneyApplyRate(rate, 10000) + 750 + carriageTax;
    ASSERT_GT(carriageTax, 0);
    char taxText[32], grossText[32];
    QlMoneyFormatCents(carriageTax, taxText, sizeof taxText);
    QlMoneyFormatCents(gross, grossText, sizeof grossText);
    ASSERT_TRUE(WriteCompany(0, acme));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    QlCustRec joe = {};
    strcpy(joe.acref, "JO001");
    strcpy(joe.company, "Joe's Plumbing");
    ASSERT_EQ(1, QlCustAdd(&joe, err)) << err;
    QlDbClose();

    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
    QlTestProcess running;
    ASSERT_TRUE(running.startProgram("quillory", work.path()));
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
    ASSERT_NE(nullptr, main);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
    HWND module = NULL;
    ASSERT_TRUE(WaitFor([&] {
        module = ChildWithControl(main, 1052);
        return module && ControlText(module, 1130) == "JO001";
    }));
    PostMessageA(module, WM_COMMAND, MAKEWPARAM(3, BN_CLICKED), 0);   // Quote
    HWND form = NULL;
    ASSERT_TRUE(WaitFor([&] { return (form = ChildWithControl(main, 1161)) != NULL; }));
    PostMessageA(form, WM_COMMAND, MAKEWPARAM(1175, BN_CLICKED), (LPARAM)GetDlgItem(form, 1175));   // Add
    HWND line = WaitForWindow("#32770", "Select or Enter service for quotation line", 20000);
    ASSERT_NE(nullptr, line);
    SetDlgItemTextA(line, 1176, "Survey");
    SetDlgItemTextA(line, 1177, "100");
    PostMessageA(line, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(GetDlgItem(form, 1161), LVM_GETITEMCOUNT, 0, 0) == 1; }));

    SetDlgItemTextA(form, 1178, "7");
    SetDlgItemTextA(form, 1180, "50");
    HWND rates = GetDlgItem(form, 1179);
    ASSERT_NE(nullptr, rates);
    PostMessageA(rates, CB_SETCURSEL, 1, 0);
    PostMessageA(form, WM_COMMAND, MAKEWPARAM(1179, CBN_SELCHANGE), (LPARAM)rates);
    EXPECT_TRUE(WaitFor([&] { return ControlText(form, 1167) == taxText; }, 5000)) << ControlText(form, 1167);
    EXPECT_EQ(grossText, ControlText(form, 1170));
    ASSERT_TRUE(Screenshot("quotation-carriage-tax.png"));

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
    QlDbClose();
    ASSERT_EQ(1u, stored.size());
    EXPECT_EQ(4u, stored[0].type);
    EXPECT_STREQ("7.50", stored[0].carriage);
    EXPECT_STREQ(taxText, stored[0].carriage_vat);
    EXPECT_STREQ(grossText, stored[0].gross);
}

// A new user's first day, from an empty folder: the company manager's New
// creates the company, Load opens it, the customers module's New adds an
// account, Invoice makes its first invoice with a service line, Save stores
// it; the transactions window opens it by its barcode and its PDF command
// writes the file through the save dialog.  The PDF holds the company, the
// account, the line and the amount.
TEST_F(Program, AFirstStartCreatesACompanyAndAnInvoiceWrittenAsPdf)
{
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
    QlTestProcess running;
    ASSERT_TRUE(running.startProgram("quillory", work.path()));

    HWND manager = WaitForWindow("#32770", "Multi-Company Manager", 60000);
    ASSERT_NE(nullptr, manager);
    PostMessageA(manager, WM_COMMAND, MAKEWPARAM(IDB_COMPANY_NEW, BN_CLICKED), 0);
    HWND create = WaitForWindow("#32770", "Create Company", 20000);
    ASSERT_NE(nullptr, create);
    SetDlgItemTextA(create, IDE_COMPANY_NAME, "Harbour Books Ltd");
    PostMessageA(create, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] {
        return !IsWindow(create) && SendMessageA(GetDlgItem(manager, IDL_COMPANY_LIST), LVM_GETITEMCOUNT, 0, 0) == 1;
    }));
    PostMessageA(manager, WM_COMMAND, MAKEWPARAM(IDB_COMPANY_LOAD, BN_CLICKED), 0);
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Harbour Books Ltd", 30000);
    ASSERT_NE(nullptr, main);

    // A customer account through the customers module's New.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);   // Customers
    HWND module = NULL;
    ASSERT_TRUE(WaitFor([&] { return (module = ChildWithControl(main, 1052)) != NULL; }));
    PostMessageA(module, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);   // New
    HWND add = WaitForWindow("#32770", "Create New Customer", 20000);
    ASSERT_NE(nullptr, add);
    SetDlgItemTextA(add, IDE_CUSTADD_COMPANY, "Joe's Plumbing");
    SetDlgItemTextA(add, IDE_CUST_ADDR1, "12 Pipe Lane");
    PostMessageA(add, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);   // Save
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(add); }));
    std::string acref;
    ASSERT_TRUE(WaitFor([&] { return !(acref = ControlText(module, 1130)).empty(); }));

    // Its first invoice: one service line, saved.
    PostMessageA(module, WM_COMMAND, MAKEWPARAM(4, BN_CLICKED), 0);   // Invoice
    HWND form = NULL;
    ASSERT_TRUE(WaitFor([&] { return (form = ChildWithControl(main, 1161)) != NULL; }));
    EXPECT_EQ(acref, ControlText(form, 1159));
    PostMessageA(form, WM_COMMAND, MAKEWPARAM(1175, BN_CLICKED), (LPARAM)GetDlgItem(form, 1175));   // Add
    HWND line = WaitForWindow("#32770", "Select or Enter service for invoice line", 20000);
    ASSERT_NE(nullptr, line);
    SetDlgItemTextA(line, 1176, "Bookkeeping");
    SetDlgItemTextA(line, 1177, "250");
    PostMessageA(line, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(GetDlgItem(form, 1161), LVM_GETITEMCOUNT, 0, 0) == 1; }));
    const std::string gross = ControlText(form, 1170);
    ASSERT_FALSE(gross.empty());
    HWND toolbar = FindWindowExA(form, NULL, "ToolbarWindow32", NULL);
    ASSERT_NE(nullptr, toolbar);
    PostMessageA(form, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)toolbar);   // Save
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(form); }));

    // The stored invoice from the transactions window (its printed code is
    // 400000, 00001 and the check digit), written as PDF.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), 0);   // Transactions
    HWND pane = NULL;
    ASSERT_TRUE(WaitFor([&] { return (pane = ChildWithControl(main, 1103)) != NULL; }));
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(GetDlgItem(pane, 1103), LVM_GETITEMCOUNT, 0, 0) == 1; }));
    SetDlgItemTextA(pane, 1141, "400000000010");
    PostMessageA(pane, WM_USER + 4, 0, 0);
    HWND view = NULL;
    ASSERT_TRUE(WaitFor([&] {
        view = ChildWithControl(main, 1161);
        return view && ControlText(view, 1170) == gross &&
               (toolbar = FindWindowExA(view, NULL, "ToolbarWindow32", NULL)) != NULL;
    }));
    PostMessageA(view, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), (LPARAM)toolbar);   // PDF
    HWND save = WaitForWindow("#32770", "Save Invoice to PDF File", 20000);
    ASSERT_NE(nullptr, save);
    const std::string pdf = work.path() + "\\first-invoice.pdf";
    // The file name box: edt1 in Wine's dialog, the edit of cmb13 in Windows'.
    if (!SetDlgItemTextA(save, 0x480, pdf.c_str())) SetDlgItemTextA(save, 0x47c, pdf.c_str());
    PostMessageA(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return ReadFileText(pdf).find("%%EOF") != std::string::npos; }));

    // The close box; the new company asks for a backup, which is declined
    // (No: the program ends without one).
    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    HWND ask = WaitForWindow("#32770", "Backup confirmation", 20000);
    ASSERT_NE(nullptr, ask);
    PostMessageA(ask, WM_COMMAND, IDNO, 0);
    int code = -1;
    ASSERT_TRUE(running.wait(30000, &code));
    EXPECT_EQ(0, code);

    char native[MAX_PATH * 4];
    ASSERT_TRUE(QlPathToNative(pdf.c_str(), native, sizeof native));
    EXPECT_EQ("", QlTestPdfMissingTexts(native, {"Harbour Books Ltd", "Joe's Plumbing", "12 Pipe Lane", "Bookkeeping",
                                                 gross},
                                        "first-invoice"));
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    QlTransRec rec = {};
    ASSERT_EQ(1, QlTransGetByRowId(1, &rec, err)) << err;
    EXPECT_EQ(1u, rec.type);
    EXPECT_EQ(acref, rec.acref);
    EXPECT_EQ(gross, rec.gross);
    QlDbClose();
}

// The first start in an empty folder: the company manager comes up painted
// (its client area is not one flat colour on the screen), and closing it
// without a company ends the program.
TEST_F(Program, FirstStartShowsThePaintedCompanyManager)
{
    QL_TEST_REQUIRE_UNIX();   // measures the screen with ImageMagick
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";

    QlTestProcess first;
    ASSERT_TRUE(first.startProgram("quillory", work.path()));
    HWND manager = WaitForWindow("#32770", "Multi-Company Manager", 60000);
    ASSERT_NE(nullptr, manager);
    RECT client = ClientOnScreen(manager);
    ASSERT_GT(client.right - client.left, 100);
    ASSERT_GT(client.bottom - client.top, 100);
    ASSERT_TRUE(Screenshot("company-manager.png"));
    double spread = Spread("company-manager.png", client);
    EXPECT_GT(spread, 0.02) << "the company manager's client area is one flat colour on the screen";

    // New, then OK without a name: the error, and the Create Company dialog
    // stays open with its name field focused.
    PostMessageA(manager, WM_COMMAND, MAKEWPARAM(IDB_COMPANY_NEW, BN_CLICKED), (LPARAM)GetDlgItem(manager, IDB_COMPANY_NEW));
    HWND create = WaitForWindow("#32770", "Create Company", 20000);
    ASSERT_NE(nullptr, create);
    PostMessageA(create, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    HWND noName = WaitForWindow("#32770", "Error", 20000);
    ASSERT_NE(nullptr, noName);
    EXPECT_EQ("Please enter non-empty company name", ControlText(noName, IDT_MSG_TEXT));
    ASSERT_TRUE(Screenshot("company-create-no-name.png"));
    PostMessageA(noName, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(noName); }));
    EXPECT_TRUE(IsWindow(create));
    GUITHREADINFO focus = {};
    focus.cbSize = sizeof focus;
    EXPECT_TRUE(WaitFor([&] {
        return GetGUIThreadInfo(GetWindowThreadProcessId(create, NULL), &focus) &&
               focus.hwndFocus == GetDlgItem(create, IDE_COMPANY_NAME);
    }, 5000));
    ASSERT_TRUE(Screenshot("company-create-after-no-name.png"));
    EXPECT_GT(Spread("company-create-after-no-name.png", ClientOnScreen(create)), 0.02);
    PostMessageA(create, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(create); }));

    PostMessageA(manager, WM_COMMAND, IDCANCEL, 0);
    int code = -1;
    ASSERT_TRUE(first.wait(30000, &code));
    EXPECT_TRUE(ProgramWindows(kMainClass).empty());
}

// Ten companies: New is refused at once, before the Create Company dialog.
TEST_F(Program, TheEleventhCompanyIsRefusedWhenNewIsPressed)
{
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    for (int i = 0; i < 10; i++) ASSERT_TRUE(WriteCompany(i, CompanySettings(("Company " + std::to_string(i)).c_str())));
    ASSERT_TRUE(WriteMconf(0, 0, -1));   // none chosen: the manager opens
    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
    QlTestProcess running;
    ASSERT_TRUE(running.startProgram("quillory", work.path()));
    HWND manager = WaitForWindow("#32770", "Multi-Company Manager", 60000);
    ASSERT_NE(nullptr, manager);
    PostMessageA(manager, WM_COMMAND, MAKEWPARAM(IDB_COMPANY_NEW, BN_CLICKED), (LPARAM)GetDlgItem(manager, IDB_COMPANY_NEW));
    HWND refused = WaitForWindow("#32770", "Error", 20000);
    ASSERT_NE(nullptr, refused);
    EXPECT_EQ("Cannot add a company, maximum number of companies is 10!", ControlText(refused, IDT_MSG_TEXT));
    EXPECT_TRUE(ProgramWindows("#32770", "Create Company").empty());
    ASSERT_TRUE(Screenshot("company-limit.png"));
    if (QlTestHasUnix()) EXPECT_GT(Spread("company-limit.png", ClientOnScreen(refused)), 0.02);
    PostMessageA(refused, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(refused); }));
    PostMessageA(manager, WM_COMMAND, IDCANCEL, 0);
    int code = -1;
    ASSERT_TRUE(running.wait(30000, &code));
}

// The company's data file, damaged and then missing, in the real program:
// the message that names the file and what to do, the company manager after
// it, a command refused while there is no data; the question before an
// empty data file is made; the exit's Yes / No / Cancel backup question.
// Pictures of each are kept for a person to look at.
TEST_F(Program, TheCompanysDataFileDamagedOrMissing)
{
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    ASSERT_TRUE(WriteCompany(0, acme));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    {
        HANDLE file = CreateFileA("COMP000\\quilry.db", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        std::string junk(4096, 'x');
        DWORD written = 0;
        WriteFile(file, junk.data(), (DWORD)junk.size(), &written, NULL);
        CloseHandle(file);
    }
    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
    auto shoot = [&](const char *picture, HWND window) {
        ASSERT_TRUE(Screenshot(picture));
        if (QlTestHasUnix()) EXPECT_GT(Spread(picture, ClientOnScreen(window)), 0.02) << picture;
    };
    {
        QlTestProcess running;
        ASSERT_TRUE(running.startProgram("quillory", work.path()));
        HWND about = WaitForWindow("#32770", "About Quillory", 60000);
        ASSERT_NE(nullptr, about);
        PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
        HWND damaged = WaitForWindow("#32770", "Company data cannot be opened", 30000);
        ASSERT_NE(nullptr, damaged);
        shoot("data-file-damaged.png", damaged);
        PostMessageA(damaged, WM_COMMAND, IDOK, 0);
        HWND manager = WaitForWindow("#32770", "Multi-Company Manager", 30000);
        ASSERT_NE(nullptr, manager);
        shoot("data-file-damaged-manager.png", manager);
        PostMessageA(manager, WM_COMMAND, IDCANCEL, 0);
        HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
        ASSERT_NE(nullptr, main);
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_MOD_CUSTOMERS, 0), 0);
        HWND refused = WaitForWindow("#32770", "Error", 30000);
        ASSERT_NE(nullptr, refused);
        shoot("data-not-open.png", refused);
        PostMessageA(refused, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(refused); }));
        PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
        int code = -1;
        ASSERT_TRUE(running.wait(30000, &code));
    }

    // Missing: the question, then an empty data file on OK; the exit asks
    // Yes / No / Cancel, and Cancel keeps the program.
    ASSERT_TRUE(DeleteFileA("COMP000\\quilry.db"));
    acme.backupOnExit = 1;
    ASSERT_TRUE(WriteCompany(0, acme));
    ASSERT_TRUE(DeleteFileA("COMP000\\quilry.db"));
    QlTestProcess running;
    ASSERT_TRUE(running.startProgram("quillory", work.path()));
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    HWND missing = WaitForWindow("#32770", "Company data missing", 30000);
    ASSERT_NE(nullptr, missing);
    shoot("data-file-missing.png", missing);
    PostMessageA(missing, WM_COMMAND, MAKEWPARAM(IDB_MSG_OK, BN_CLICKED), (LPARAM)GetDlgItem(missing, IDB_MSG_OK));
    HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
    ASSERT_NE(nullptr, main);
    EXPECT_TRUE(WaitFor([] { return FileExists("COMP000\\quilry.db"); }));
    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    HWND ask = WaitForWindow("#32770", "Backup confirmation", 30000);
    ASSERT_NE(nullptr, ask);
    shoot("exit-backup-question.png", ask);
    PostMessageA(ask, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(ask); }));
    Sleep(500);
    EXPECT_TRUE(IsWindow(main));   // Cancel returns to the program
    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    ask = WaitForWindow("#32770", "Backup confirmation", 30000);
    ASSERT_NE(nullptr, ask);
    PostMessageA(ask, WM_COMMAND, IDNO, 0);
    int code = -1;
    ASSERT_TRUE(running.wait(30000, &code));
    EXPECT_EQ(0, code);
}

// The company's data file damaged inside, its header whole (a page of the
// services table overwritten): the start refuses it with SQLite's words and
// writes nothing into it.  Then a sound file that another program holds
// locked while the program runs: the products and services windows say the
// data could not be read instead of showing empty lists.
TEST_F(Program, DataDamagedInsideOrLockedIsToldNotShownEmpty)
{
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    ASSERT_TRUE(WriteCompany(0, CompanySettings("Acme Widgets Ltd")));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    const char *file = "COMP000\\quilry.db";
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen(file, err)) << err;
    ASSERT_EQ(1, QlDbExec("with recursive n(i) as (select 1 union all select i + 1 from n where i < 400) "
                          "insert into services (enabled,descr,price) select 'yes', 'Service ' || i, '10.00' from n;",
                          err))
        << err;
    QlDbClose();
    ASSERT_TRUE(DbTestDamageTable(file, "services"));
    const std::string damagedBytes = DbTestFileBytes(file);
    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
    auto shoot = [&](const char *picture, HWND window) {
        ASSERT_TRUE(Screenshot(picture));
        if (QlTestHasUnix()) EXPECT_GT(Spread(picture, ClientOnScreen(window)), 0.02) << picture;
    };
    auto shown = [](HWND dialog) {
        char text[1024] = "";
        GetDlgItemTextA(dialog, IDT_MSG_TEXT, text, sizeof text);
        return std::string(text);
    };
    {
        QlTestProcess running;
        ASSERT_TRUE(running.startProgram("quillory", work.path()));
        HWND about = WaitForWindow("#32770", "About Quillory", 60000);
        ASSERT_NE(nullptr, about);
        PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
        HWND damaged = WaitForWindow("#32770", "Company data cannot be opened", 30000);
        ASSERT_NE(nullptr, damaged);
        EXPECT_NE(std::string::npos, shown(damaged).find("database disk image is malformed")) << shown(damaged);
        EXPECT_NE(std::string::npos, shown(damaged).find("File, Restore")) << shown(damaged);
        shoot("data-file-damaged-inside.png", damaged);
        PostMessageA(damaged, WM_COMMAND, IDOK, 0);
        HWND manager = WaitForWindow("#32770", "Multi-Company Manager", 30000);
        ASSERT_NE(nullptr, manager);
        PostMessageA(manager, WM_COMMAND, IDCANCEL, 0);
        HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
        ASSERT_NE(nullptr, main);
        PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
        int code = -1;
        ASSERT_TRUE(running.wait(30000, &code));
    }
    EXPECT_TRUE(damagedBytes == DbTestFileBytes(file)) << "the damaged file was written to";

    // A sound file, locked while the program runs.
    ASSERT_TRUE(DeleteFileA(file));
    ASSERT_EQ(1, QlDbOpen(file, err)) << err;
    QlServRec service = {};
    strcpy(service.descr, "Boiler service");
    service.price_units = 80;
    ASSERT_EQ(1, QlServAdd(&service, err)) << err;
    QlProdRec product = {};
    strcpy(product.scode, "P001");
    strcpy(product.name, "Copper pipe");
    ASSERT_EQ(1, QlProdAddRec(&product, err)) << err;
    QlDbClose();
    QlTestProcess running;
    ASSERT_TRUE(running.startProgram("quillory", work.path()));
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
    ASSERT_NE(nullptr, main);
    // The products as they read before the lock: the start-up is over.
    auto listed = [&](int count) {
        return WaitFor([&] {
            HWND window = ChildWithControl(main, IDL_PROD_LIST);
            return window && SendMessageA(GetDlgItem(window, IDL_PROD_LIST), LVM_GETITEMCOUNT, 0, 0) == count;
        });
    };
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_MOD_PRODUCTS, 0), 0);
    ASSERT_TRUE(listed(1));
    {
        DbTestLock lock(file);
        ASSERT_TRUE(lock.held());
        const struct {
            int command;
            const char *picture;
        } windows[] = {{IDM_MOD_PRODUCTS, "data-locked-products.png"}, {IDM_MOD_SERVICES, "data-locked-services.png"}};
        for (const auto &w : windows) {
            SCOPED_TRACE(w.picture);
            PostMessageA(main, WM_COMMAND, MAKEWPARAM(w.command, 0), 0);
            HWND told = WaitForWindow("#32770", "Cannot read the company's data", 30000);
            ASSERT_NE(nullptr, told);
            EXPECT_EQ("database is locked", shown(told));
            shoot(w.picture, told);
            PostMessageA(told, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(WaitFor([&] { return !IsWindow(told); }));
        }
    }
    // Let go, the list reads again.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_MOD_SERVICES, 0), 0);
    EXPECT_TRUE(listed(1));
    EXPECT_TRUE(ProgramWindows("#32770", "Cannot read the company's data").empty());
    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    int code = -1;
    ASSERT_TRUE(running.wait(30000, &code));
    EXPECT_EQ(0, code);
}

// A user's road to a payment: the customers module's Pay for an account with
// two open invoices, the first paid in full, part of the second through the
// item dialog, Save; then the transactions window, where the payment's
// printed barcode opens its view.  Pictures of the form, the dialog, the
// window and the view are kept for a person to look at.
TEST_F(Program, APaymentAgainstOpenInvoicesAndTheTransactionsWindow)
{
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    ASSERT_TRUE(WriteCompany(0, acme));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    QlCustRec joe = {};
    strcpy(joe.acref, "JO001");
    strcpy(joe.company, "Joe's Plumbing");
    strcpy(joe.addr1, "12 Pipe Lane");
    ASSERT_EQ(1, QlCustAdd(&joe, err)) << err;
    const char *invoices[][2] = {{"Boiler service and new valves", "1250.40"}, {"Bathroom tap", "86.10"}};
    int64_t keys[2] = {0, 0};
    for (int i = 0; i < 2; i++) {
        QlTransRec rec = {};
        rec.type = 1;
        rec.cust_rowid = joe.iKey;
        strcpy(rec.acref, "JO001");
        strcpy(rec.date, i ? "3/02/2025" : "14/01/2025");
        strcpy(rec.desc, invoices[i][0]);
        strcpy(rec.gross, invoices[i][1]);
        strcpy(rec.gross_bal, invoices[i][1]);
        ASSERT_EQ(1, QlTransAdd(&rec, err)) << err;
        keys[i] = rec.iKey;
    }
    QlDbClose();

    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
    QlTestProcess running;
    ASSERT_TRUE(running.startProgram("quillory", work.path()));
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
    ASSERT_NE(nullptr, main);

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
    HWND module = NULL;
    ASSERT_TRUE(WaitFor([&] {
        module = ChildWithControl(main, 1052);
        return module && ControlText(module, 1130) == "JO001";
    }));
    PostMessageA(module, WM_COMMAND, MAKEWPARAM(6, BN_CLICKED), 0);   // Pay
    HWND form = NULL;
    ASSERT_TRUE(WaitFor([&] { return (form = ChildWithControl(main, 1190)) != NULL; }));
    EXPECT_EQ("JO001", ControlText(form, 1159));
    EXPECT_TRUE(WaitFor([&] { return ControlText(form, 1189) == "1336.50"; }));

    PostMessageA(form, WM_COMMAND, MAKEWPARAM(1188, BN_CLICKED), (LPARAM)GetDlgItem(form, 1188));   // Pay in full
    EXPECT_TRUE(WaitFor([&] { return ControlText(form, 1190) == "1250.40"; }));
    EXPECT_TRUE(Screenshot("payment-form.png"));
    PostMessageA(form, WM_COMMAND, MAKEWPARAM(1187, BN_CLICKED), (LPARAM)GetDlgItem(form, 1187));   // Edit
    HWND item = WaitForWindow("#32770", "Edit Payment Item", 20000);
    ASSERT_NE(nullptr, item);
    SetDlgItemTextA(item, 1177, "40");
    SetDlgItemTextA(item, 1179, "5");
    EXPECT_TRUE(Screenshot("payment-item-dialog.png"));
    PostMessageA(item, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(WaitFor([&] { return ControlText(form, 1190) == "1290.45"; }));

    HWND toolbar = FindWindowExA(form, NULL, "ToolbarWindow32", NULL);
    ASSERT_NE(nullptr, toolbar);
    PostMessageA(form, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)toolbar);   // Save
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(form); }));

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), 0);   // Transactions
    HWND pane = NULL;
    ASSERT_TRUE(WaitFor([&] { return (pane = ChildWithControl(main, 1103)) != NULL; }));
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(GetDlgItem(pane, 1103), LVM_GETITEMCOUNT, 0, 0) == 3; }));
    EXPECT_TRUE(Screenshot("transactions-window.png"));
    // The payment is transaction 3: its printed code is 400000, 00003 and
    // the check digit.
    SetDlgItemTextA(pane, 1141, "400000000039");
    PostMessageA(pane, WM_USER + 4, 0, 0);
    HWND view = NULL;
    ASSERT_TRUE(WaitFor([&] { return (view = ChildWithControl(main, 1190)) != NULL; }));
    EXPECT_EQ("3", ControlText(view, 1158));
    EXPECT_EQ("1290.45", ControlText(view, 1190));
    EXPECT_EQ("46.05", ControlText(view, 1189));   // what the two invoices still owe
    EXPECT_TRUE(Screenshot("payment-view.png"));

    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    int code = -1;
    ASSERT_TRUE(running.wait(30000, &code));
    EXPECT_EQ(0, code);

    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    QlTransRec rec = {};
    ASSERT_EQ(1, QlTransGetByRowId(keys[0], &rec, err)) << err;
    EXPECT_STREQ("0.00", rec.gross_bal);
    ASSERT_EQ(1, QlTransGetByRowId(keys[1], &rec, err)) << err;
    EXPECT_STREQ("46.05", rec.gross_bal);
    ASSERT_EQ(1, QlTransGetByRowId(3, &rec, err)) << err;
    EXPECT_EQ(3u, rec.type);
    EXPECT_STREQ("1290.45", rec.gross);
    int64_t units = 0;
    int cents = 0;
    ASSERT_EQ(1, QlTransSumCustBalance(&units, &cents, &joe));
    EXPECT_EQ(4605, units * 100 + cents);
    QlDbClose();
}

// The products window and its dialogs, opened as a user opens them, each
// painted on the screen (the barcode previews show bars), with a picture of
// each in the artifacts folder.
TEST_F(Program, TheProductsWindowAndItsDialogsPaint)
{
    QL_TEST_REQUIRE_UNIX();   // measures the screen with ImageMagick
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    ASSERT_TRUE(WriteCompany(0, acme));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    const struct {
        const char *code, *barcode, *name;
        int units, stock;
    } stored[] = {{"0001", "412345000018", "COPPER PIPE 15MM", 12, 40}, {"0002", "2000000000015", "BRASS ELBOW", 1, 3}};
    for (const auto &p : stored) {
        QlProdRec rec = {};
        strcpy(rec.scode, p.code);
        strcpy(rec.barcode, p.barcode);
        strcpy(rec.name, p.name);
        rec.unit_price_units = p.units;
        rec.stock_qty = p.stock;
        ASSERT_EQ(1, QlProdAddRec(&rec, err)) << err;
    }
    QlDbClose();

    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
    QlTestProcess running;
    ASSERT_TRUE(running.startProgram("quillory", work.path()));
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
    ASSERT_NE(nullptr, main);

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(3, BN_CLICKED), 0);   // Products
    HWND products = NULL;
    ASSERT_TRUE(WaitFor([&] {
        products = ChildWithControl(main, 1137);
        return products && SendMessageA(GetDlgItem(products, 1137), LVM_GETITEMCOUNT, 0, 0) == 2;
    }));
    ASSERT_TRUE(Screenshot("products-window.png"));
    EXPECT_GT(Spread("products-window.png", ClientOnScreen(products)), 0.02);
    HWND toolbar = FindWindowExA(products, NULL, "ToolbarWindow32", NULL);
    ASSERT_NE(nullptr, toolbar);

    // Each dialog of a tool-bar command: painted, and for the product
    // dialogs the preview with bars; closed with Escape's IDCANCEL.
    const struct {
        int command;
        const char *title, *picture;
        bool generate;
    } dialogs[] = {
        {1, "Edit Product", "product-edit-dialog.png", false},
        {0, "Create New Product", "product-new-dialog.png", true},
        {3, "Accept products in stock", "stock-in-dialog.png", false},
        {4, "Release products from stock", "stock-out-dialog.png", false},
    };
    for (const auto &d : dialogs) {
        SCOPED_TRACE(d.title);
        PostMessageA(products, WM_COMMAND, MAKEWPARAM(d.command, BN_CLICKED), (LPARAM)toolbar);
        HWND dialog = WaitForWindow("#32770", d.title, 20000);
        ASSERT_NE(nullptr, dialog);
        if (d.generate) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(1268, BN_CLICKED), (LPARAM)GetDlgItem(dialog, 1268));
            EXPECT_TRUE(WaitFor([&] { return ControlText(dialog, 1141).size() == 12; }));
        }
        ASSERT_TRUE(Screenshot(d.picture));
        EXPECT_GT(Spread(d.picture, ClientOnScreen(dialog)), 0.02);
        HWND preview = GetDlgItem(dialog, 1271);
        if (preview) {
            EXPECT_GT(Spread(d.picture, ClientOnScreen(preview)), 0.1) << "no bars in the preview";
        }
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    }

    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    int code = -1;
    ASSERT_TRUE(running.wait(30000, &code));
    EXPECT_EQ(0, code);
}

// The services window, its service dialog for a new and an edited service
// and the price-list options, opened as a user opens them, each painted,
// with a picture of each in the artifacts folder.
TEST_F(Program, TheServicesWindowAndItsDialogsPaint)
{
    QL_TEST_REQUIRE_UNIX();   // measures the screen with ImageMagick
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    ASSERT_TRUE(WriteCompany(0, acme));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    const struct {
        const char *descr;
        int units, hundredths;
    } stored[] = {{"Boiler service and safety check", 85, 0}, {"Call-out charge", 45, 50}, {"O'Brien's \"quick\" fix", 9, 5}};
    for (const auto &s : stored) {
        QlServRec rec = {};
        strcpy(rec.descr, s.descr);
        rec.price_units = s.units;
        rec.price_hundredths = (uint32_t)s.hundredths;
        ASSERT_EQ(1, QlServAdd(&rec, err)) << err;
    }
    QlDbClose();

    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
    QlTestProcess running;
    ASSERT_TRUE(running.startProgram("quillory", work.path()));
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
    ASSERT_NE(nullptr, main);

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(4, BN_CLICKED), 0);   // Services
    HWND services = NULL;
    ASSERT_TRUE(WaitFor([&] {
        services = ChildWithControl(main, 1137);
        return services && SendMessageA(GetDlgItem(services, 1137), LVM_GETITEMCOUNT, 0, 0) == 3;
    }));
    // The first row takes the focus, as Home in the list gives it.
    HWND list = GetDlgItem(services, 1137);
    PostMessageA(list, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED) == 0; }));
    ASSERT_TRUE(Screenshot("services-window.png"));
    EXPECT_GT(Spread("services-window.png", ClientOnScreen(services)), 0.02);
    HWND toolbar = FindWindowExA(services, NULL, "ToolbarWindow32", NULL);
    ASSERT_NE(nullptr, toolbar);

    const struct {
        int command;
        const char *title, *picture;
    } dialogs[] = {
        {0, "Create New Service", "service-new-dialog.png"},
        {1, "Edit Service", "service-edit-dialog.png"},
        {3, "Print Price List Options", "price-list-options-dialog.png"},
    };
    for (const auto &d : dialogs) {
        SCOPED_TRACE(d.title);
        PostMessageA(services, WM_COMMAND, MAKEWPARAM(d.command, BN_CLICKED), (LPARAM)toolbar);
        HWND dialog = WaitForWindow("#32770", d.title, 20000);
        ASSERT_NE(nullptr, dialog);
        if (d.command == 0) SetDlgItemTextA(dialog, 1005, "Annual gas safety certificate");
        if (d.command == 1) {
            EXPECT_EQ("Boiler service and safety check", ControlText(dialog, 1005));
        }
        ASSERT_TRUE(Screenshot(d.picture));
        EXPECT_GT(Spread(d.picture, ClientOnScreen(dialog)), 0.02);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    }

    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    int code = -1;
    ASSERT_TRUE(running.wait(30000, &code));
    EXPECT_EQ(0, code);
}

// The account screens of the customers module, opened as a user opens them,
// each painted on the screen, with a picture of each in the artifacts
// folder: the activity view, the statement window, the two letter dialogs
// and the label dialog.
TEST_F(Program, TheAccountScreensPaint)
{
    QL_TEST_REQUIRE_UNIX();   // measures the screen with ImageMagick
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    strcpy(acme.contactName, "Mary Manager");
    ASSERT_TRUE(WriteCompany(0, acme));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    QlCustRec joe = {};
    strcpy(joe.acref, "JO001");
    strcpy(joe.company, "Joe's Plumbing");
    strcpy(joe.addr1, "12 Pipe Lane");
    strcpy(joe.addr2, "Dublin 8");
    strcpy(joe.contact, "Joe Murphy");
    ASSERT_EQ(1, QlCustAdd(&joe, err)) << err;
    SYSTEMTIME today;
    GetLocalTime(&today);
    const struct {
        uint32_t type;
        const char *desc, *gross, *balance, *vat;
    } docs[] = {{1, "Boiler service", "1250.40", "250.40", "287.59"}, {3, "Payment", "1000.00", "0.00", "0.00"},
                {1, "Bathroom tap", "86.10", "86.10", "19.80"},       {2, "Returned valve", "12.30", "12.30", "2.83"},
                {4, "New radiators", "640.00", "640.00", "147.20"}};
    for (const auto &d : docs) {
        QlTransRec rec = {};
        rec.type = d.type;
        rec.cust_rowid = joe.iKey;
        strcpy(rec.acref, "JO001");
        snprintf(rec.date, sizeof rec.date, "%d/%02d/%04d", today.wDay, today.wMonth, today.wYear);
        strcpy(rec.desc, d.desc);
        strcpy(rec.gross, d.gross);
        strcpy(rec.gross_bal, d.balance);
        strcpy(rec.vat, d.vat);
        ASSERT_EQ(1, QlTransAdd(&rec, err)) << err;
    }
    QlDbClose();

    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
    QlTestProcess running;
    ASSERT_TRUE(running.startProgram("quillory", work.path()));
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
    ASSERT_NE(nullptr, main);

    auto openCustomers = [&]() {
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
        HWND module = NULL;
        EXPECT_TRUE(WaitFor([&] {
            module = ChildWithControl(main, 1052);
            return module && ControlText(module, 1130) == "JO001";
        }));
        return module;
    };
    auto shoot = [&](const char *picture, HWND window) {
        ASSERT_TRUE(Screenshot(picture));
        if (QlTestHasUnix()) EXPECT_GT(Spread(picture, ClientOnScreen(window)), 0.02) << picture;
    };

    // The activity view, with every transaction of the account.
    HWND module = openCustomers();
    ASSERT_NE(nullptr, module);
    PostMessageA(module, WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), 0);
    HWND activity = WaitForWindow("#32770", "Transaction History for Customer Account JO001", 20000);
    ASSERT_NE(nullptr, activity);
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(GetDlgItem(activity, 1116), LVM_GETITEMCOUNT, 0, 0) == 5; }));
    shoot("activity-view.png", activity);
    PostMessageA(activity, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(activity); }));

    // The statement: the invoices and the payment of this month.
    PostMessageA(module, WM_COMMAND, MAKEWPARAM(8, BN_CLICKED), 0);
    HWND statement = NULL;
    ASSERT_TRUE(WaitFor([&] { return (statement = ChildWithControl(main, 1189)) != NULL; }));
    EXPECT_TRUE(WaitFor([&] { return ControlText(statement, 1189) == "336.50"; }));
    shoot("statement-window.png", statement);
    // HTML: written into the working folder, and the status line names it
    // with its path.
    HWND statementBar = FindWindowExA(statement, NULL, "ToolbarWindow32", NULL);
    ASSERT_NE(nullptr, statementBar);
    PostMessageA(statement, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), (LPARAM)statementBar);
    HWND status = ChildWithControl(main, IDT_STATUS_TEXT);
    ASSERT_NE(nullptr, status);
    EXPECT_TRUE(WaitFor([&] { return ControlText(status, IDT_STATUS_TEXT).find("Statement.htm") != std::string::npos; },
                        2500));
    EXPECT_TRUE(FileExists("Statement.htm"));
    ASSERT_TRUE(Screenshot("statement-html-saved.png"));
    // PDF: the save dialog opens in the working folder.
    PostMessageA(statement, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), (LPARAM)statementBar);
    HWND save = WaitForWindow("#32770", "Save Statement to PDF File", 20000);
    ASSERT_NE(nullptr, save);
    shoot("save-dialog-pdf.png", save);
    PostMessageA(save, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(save); }));

    // Letters: the choice, then the letter for the account.
    module = openCustomers();
    ASSERT_NE(nullptr, module);
    PostMessageA(module, WM_COMMAND, MAKEWPARAM(10, BN_CLICKED), 0);
    HWND choose = WaitForWindow("#32770", "Select Letter to Generate", 20000);
    ASSERT_NE(nullptr, choose);
    SendDlgItemMessageA(choose, 1282, LB_SETCURSEL, 1, 0);
    shoot("letter-select-dialog.png", choose);
    PostMessageA(choose, WM_COMMAND, MAKEWPARAM(1116, BN_CLICKED), (LPARAM)GetDlgItem(choose, 1116));
    HWND letter = WaitForWindow("#32770", "Customer Letter", 20000);
    ASSERT_NE(nullptr, letter);
    EXPECT_EQ("Joe Murphy", ControlText(letter, 1174));
    shoot("letter-dialog.png", letter);
    // E-mail opens the mail dialog over the letter, with the letter as its message.
    PostMessageA(letter, WM_COMMAND, MAKEWPARAM(IDB_LET_EMAIL, BN_CLICKED), (LPARAM)GetDlgItem(letter, IDB_LET_EMAIL));
    HWND mail = WaitForWindow("#32770", "Email Letter", 20000);
    ASSERT_NE(nullptr, mail);
    shoot("mail-dialog.png", mail);
    PostMessageA(mail, WM_COMMAND, MAKEWPARAM(IDB_MAIL_CLOSE, BN_CLICKED), (LPARAM)GetDlgItem(mail, IDB_MAIL_CLOSE));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(mail); }));
    PostMessageA(letter, WM_COMMAND, MAKEWPARAM(1115, BN_CLICKED), (LPARAM)GetDlgItem(letter, 1115));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(letter); }));

    // The label dialog.
    PostMessageA(module, WM_COMMAND, MAKEWPARAM(9, BN_CLICKED), 0);
    HWND label = WaitForWindow("#32770", "Print Customer Labels", 20000);
    ASSERT_NE(nullptr, label);
    EXPECT_EQ("Joe's Plumbing", ControlText(label, 1005));
    shoot("label-dialog.png", label);
    PostMessageA(label, WM_COMMAND, MAKEWPARAM(1254, BN_CLICKED), (LPARAM)GetDlgItem(label, 1254));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(label); }));

    // The Reports dialog from the menu, in place of the customers module.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_MOD_REPORTS, 0), 0);
    HWND reports = WaitForWindow("#32770", "Quillory Reports", 20000);
    ASSERT_NE(nullptr, reports);
    EXPECT_FALSE(IsWindow(module));
    shoot("reports-dialog.png", reports);
    // Print of the tax report (the first entry) opens its window in place
    // of the Reports dialog, with the two invoices that carry tax and the
    // credit note: net 962.81 + 66.30 - 9.47, tax 287.59 + 19.80 - 2.83.
    PostMessageA(reports, WM_COMMAND, MAKEWPARAM(IDB_REPORTS_PRINT, BN_CLICKED), (LPARAM)GetDlgItem(reports, IDB_REPORTS_PRINT));
    HWND vat = WaitForWindow("#32770", "VAT report for specified time period", 20000);
    ASSERT_NE(nullptr, vat);
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(GetDlgItem(vat, 1116), LVM_GETITEMCOUNT, 0, 0) == 3; }));
    EXPECT_EQ("1019.64", ControlText(vat, 1135));
    EXPECT_EQ("304.56", ControlText(vat, 1136));
    EXPECT_FALSE(IsWindowVisible(reports));
    shoot("vat-report-window.png", vat);
    PostMessageA(vat, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(vat) && !IsWindow(reports); }));

    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    int code = -1;
    ASSERT_TRUE(running.wait(30000, &code));
    EXPECT_EQ(0, code);
}

// The sales statistics window from the main tool bar, on the invoices of
// this year: painted, its graph showing bars, then a line, with a picture of
// each.  (The main window has no sizing border, so the window manager does
// not maximize it: the maximized layout is pictured in the reports tests.)
TEST_F(Program, TheSalesWindowPaintsItsGraph)
{
    QL_TEST_REQUIRE_UNIX();   // measures the screen with ImageMagick
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    ASSERT_TRUE(WriteCompany(0, acme));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    const char *names[] = {"Joe's Plumbing", "Ann's Bakery"};
    int64_t keys[2] = {0, 0};
    for (int i = 0; i < 2; i++) {
        QlCustRec rec = {};
        strcpy(rec.acref, i ? "AN001" : "JO001");
        strcpy(rec.company, names[i]);
        ASSERT_EQ(1, QlCustAdd(&rec, err)) << err;
        keys[i] = rec.iKey;
    }
    const struct {
        int customer, month;
        const char *gross;
    } invoices[] = {{0, 1, "820.00"}, {1, 2, "410.50"}, {0, 3, "1290.00"}, {1, 5, "640.25"}, {0, 6, "300.00"},
                    {1, 8, "1105.75"}, {0, 9, "760.00"}, {1, 11, "980.00"}, {0, 12, "455.10"}};
    for (const auto &inv : invoices) {
        QlTransRec rec = {};
        rec.type = 1;
        rec.sub_type = 0;
        rec.cust_rowid = keys[inv.customer];
        strcpy(rec.acref, inv.customer ? "AN001" : "JO001");
        snprintf(rec.date, sizeof rec.date, "%d/%02d/%04d", 15, inv.month, ThisYear());
        strcpy(rec.desc, "Work");
        strcpy(rec.gross, inv.gross);
        strcpy(rec.gross_bal, inv.gross);
        ASSERT_EQ(1, QlTransAdd(&rec, err)) << err;
    }
    QlDbClose();

    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
    QlTestProcess running;
    ASSERT_TRUE(running.startProgram("quillory", work.path()));
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
    ASSERT_NE(nullptr, main);

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(8, BN_CLICKED), 0);   // Sales
    HWND sales = NULL;
    ASSERT_TRUE(WaitFor([&] {
        sales = ChildWithControl(main, IDL_SALES_MONTHS);
        return sales && ControlText(sales, IDT_SALES_TOTAL) == "6761.60";
    }));
    EXPECT_EQ("1290.00", ControlText(sales, IDT_SALES_SCALE_LAST));
    HWND graph = GetDlgItem(sales, IDT_SALES_GRAPH);
    ASSERT_TRUE(Screenshot("sales-window.png"));
    EXPECT_GT(Spread("sales-window.png", ClientOnScreen(sales)), 0.02);
    EXPECT_GT(Spread("sales-window.png", ClientOnScreen(graph)), 0.1) << "no bars in the graph";

    // Lines.
    PostMessageA(GetDlgItem(sales, IDB_SALES_LINES), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return IsDlgButtonChecked(sales, IDB_SALES_LINES) == BST_CHECKED; }));
    ASSERT_TRUE(Screenshot("sales-window-lines.png"));
    EXPECT_GT(Spread("sales-window-lines.png", ClientOnScreen(graph)), 0.02) << "no line in the graph";

    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    int code = -1;
    ASSERT_TRUE(running.wait(30000, &code));
    EXPECT_EQ(0, code);
}

// The suppliers window from the menu, its new-supplier dialog and the
// supplier activity, opened as a user opens them, each painted, with a
// picture of each in the artifacts folder; and a fresh window after the
// main window was maximized.
TEST_F(Program, TheSuppliersWindowAndItsDialogsPaint)
{
    QL_TEST_REQUIRE_UNIX();   // measures the screen with ImageMagick
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    ASSERT_TRUE(WriteCompany(0, acme));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    const struct {
        const char *acref, *company, *addr1, *contact, *tel;
    } stored[] = {{"CO000", "Copper Pipe Supplies", "4 Dock Road", "Ann O'Hara", "0123 456 789"},
                  {"BR000", "Brass Fittings Ltd", "Unit 9, Mill Lane", "Tom Byrne", "0987 654"}};
    int64_t first = 0;
    for (const auto &s : stored) {
        QlSuppRec rec = {};
        strcpy(rec.acref, s.acref);
        strcpy(rec.company, s.company);
        strcpy(rec.addr1, s.addr1);
        strcpy(rec.addr2, "Springfield");
        strcpy(rec.contact, s.contact);
        strcpy(rec.worktel, s.tel);
        strcpy(rec.wemail, "orders@supplier.test");
        ASSERT_EQ(1, QlSuppAdd(&rec, err)) << err;
        if (!first) first = rec.iKey;
    }
    QlProdRec pipe = {};
    strcpy(pipe.scode, "0001");
    strcpy(pipe.barcode, "036000291452");
    strcpy(pipe.supplier_code, "CP-15");
    strcpy(pipe.name, "COPPER PIPE 15MM");
    pipe.unit_price_units = 12;
    pipe.unit_price_hundredths = 40;
    pipe.purchase_price_units = 8;
    pipe.purchase_price_hundredths = 5;
    pipe.stock_qty = 40;
    ASSERT_EQ(1, QlProdAddRec(&pipe, err)) << err;
    const struct {
        const char *date, *desc, *gross;
    } orders[] = {{"2/03/2026", "Copper pipe 15mm x 40", "480.00"}, {"9/03/2026", "Elbows and tees", "62.50"}};
    for (const auto &o : orders) {
        QlTransRec rec = {};
        rec.type = 5;
        rec.supp_rowid = first;
        strcpy(rec.acref, "CO000");
        strcpy(rec.date, o.date);
        strcpy(rec.desc, o.desc);
        strcpy(rec.gross, o.gross);
        strcpy(rec.gross_bal, o.gross);
        ASSERT_EQ(1, QlTransAdd(&rec, err)) << err;
    }
    QlDbClose();

    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
    QlTestProcess running;
    ASSERT_TRUE(running.startProgram("quillory", work.path()));
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
    ASSERT_NE(nullptr, main);

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_MOD_SUPPLIERS, 0), 0);
    HWND suppliers = NULL;
    ASSERT_TRUE(WaitFor([&] {
        suppliers = ChildWithControl(main, 1397);
        return suppliers && ControlText(suppliers, 1130) == "CO000";
    }));
    EXPECT_EQ(2, SendMessageA(GetDlgItem(suppliers, 1397), LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ("Copper Pipe Supplies", ControlText(suppliers, 1026));
    ASSERT_TRUE(Screenshot("suppliers-window.png"));
    EXPECT_GT(Spread("suppliers-window.png", ClientOnScreen(suppliers)), 0.02);
    HWND toolbar = FindWindowExA(suppliers, NULL, "ToolbarWindow32", NULL);
    ASSERT_NE(nullptr, toolbar);

    // New, with a company typed in; closed with Escape's IDCANCEL.
    PostMessageA(suppliers, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)toolbar);
    HWND added = WaitForWindow("#32770", "Create New Supplier", 20000);
    ASSERT_NE(nullptr, added);
    SetDlgItemTextA(added, 1131, "Valve World");
    SetDlgItemTextA(added, 1028, "22 Harbour Street");
    ASSERT_TRUE(Screenshot("supplier-new-dialog.png"));
    EXPECT_GT(Spread("supplier-new-dialog.png", ClientOnScreen(added)), 0.02);
    PostMessageA(added, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(added); }));

    // Activity of the focused supplier, with its two orders.
    PostMessageA(suppliers, WM_COMMAND, MAKEWPARAM(6, BN_CLICKED), (LPARAM)toolbar);
    HWND activity = WaitForWindow("#32770", "Supplier account CO000 activity", 20000);
    ASSERT_NE(nullptr, activity);
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(GetDlgItem(activity, 1399), LVM_GETITEMCOUNT, 0, 0) == 2; }));
    ASSERT_TRUE(Screenshot("supplier-activity-dialog.png"));
    EXPECT_GT(Spread("supplier-activity-dialog.png", ClientOnScreen(activity)), 0.02);
    PostMessageA(activity, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(activity); }));

    // Order and Invoice start the purchase documents for the focused supplier,
    // each in place of the suppliers window.
    HWND bar = FindWindowExA(suppliers, NULL, "ToolbarWindow32", NULL);
    ASSERT_NE(nullptr, bar);
    PostMessageA(suppliers, WM_COMMAND, MAKEWPARAM(4, BN_CLICKED), (LPARAM)bar);
    HWND order = NULL;
    ASSERT_TRUE(WaitFor([&] {
        order = ChildWithControl(main, 1398);   // the order's total
        return order && ControlText(order, 1159) == "CO000";
    }));
    EXPECT_EQ("Copper Pipe Supplies", ControlText(order, 1173));
    ASSERT_TRUE(Screenshot("purchase-order-from-suppliers.png"));
    EXPECT_GT(Spread("purchase-order-from-suppliers.png", ClientOnScreen(order)), 0.02);
    // Add: the order-item dialog over the order, listing the catalogue.
    PostMessageA(order, WM_COMMAND, MAKEWPARAM(1175, BN_CLICKED), 0);   // Add
    HWND item = WaitForWindow("#32770", "Select Product Item to Order", 20000);
    ASSERT_NE(nullptr, item);
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(GetDlgItem(item, 1180), LVM_GETITEMCOUNT, 0, 0) == 1; }));
    ASSERT_TRUE(Screenshot("order-item-dialog-program.png"));
    EXPECT_GT(Spread("order-item-dialog-program.png", ClientOnScreen(item)), 0.02);
    PostMessageA(item, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(item); }));

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_MOD_SUPPLIERS, 0), 0);
    HWND again = NULL;
    ASSERT_TRUE(WaitFor([&] {
        again = ChildWithControl(main, 1397);
        return again && ControlText(again, 1130) == "CO000";
    }));
    bar = FindWindowExA(again, NULL, "ToolbarWindow32", NULL);
    ASSERT_NE(nullptr, bar);
    PostMessageA(again, WM_COMMAND, MAKEWPARAM(3, BN_CLICKED), (LPARAM)bar);
    HWND invoice = NULL;
    ASSERT_TRUE(WaitFor([&] {
        invoice = ChildWithControl(main, 1161);   // the document form's line list
        return invoice && ControlText(invoice, 1159) == "CO000";
    }));
    EXPECT_EQ("Copper Pipe Supplies", ControlText(invoice, 1173));
    ASSERT_TRUE(Screenshot("purchase-invoice-from-suppliers.png"));
    EXPECT_GT(Spread("purchase-invoice-from-suppliers.png", ClientOnScreen(invoice)), 0.02);
    // Add: the purchase-invoice line dialog over the invoice.
    PostMessageA(invoice, WM_COMMAND, MAKEWPARAM(1175, BN_CLICKED), 0);   // Add
    HWND line = WaitForWindow("#32770", "Item Description", 20000);
    ASSERT_NE(nullptr, line);
    ASSERT_TRUE(Screenshot("purchase-line-dialog-program.png"));
    EXPECT_GT(Spread("purchase-line-dialog-program.png", ClientOnScreen(line)), 0.02);
    PostMessageA(line, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(line); }));

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_MOD_SUPPLIERS, 0), 0);
    ASSERT_TRUE(WaitFor([&] {
        suppliers = ChildWithControl(main, 1397);
        return suppliers && ControlText(suppliers, 1130) == "CO000";
    }));

    // Maximized: a fresh suppliers window laid out for the new size.
    PostMessageA(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    HWND maximized = NULL;
    ASSERT_TRUE(WaitFor([&] {
        maximized = ChildWithControl(main, 1397);
        return maximized && maximized != suppliers && ControlText(maximized, 1130) == "CO000";
    }));

    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    int code = -1;
    ASSERT_TRUE(running.wait(30000, &code));
    EXPECT_EQ(0, code);
}

// The select-supplier dialog, which the purchase documents open: shown by a
// small program of its own over a company database (tests/purchasing), under
// the window manager as the program's windows are, painted, with a picture in
// the artifacts folder; Cancel ends it with 0.
TEST_F(Program, TheSelectSupplierDialogPaints)
{
    QL_TEST_REQUIRE_UNIX();   // measures the screen with ImageMagick
    ShellStateGuard state;
    WorkFolder work;
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    ASSERT_TRUE(WriteCompany(0, acme));
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    const struct {
        const char *acref, *company;
    } stored[] = {{"CO000", "Copper Pipe Supplies"}, {"BR000", "Brass Fittings Ltd"}, {"VA000", "Valve World"}};
    for (const auto &s : stored) {
        QlSuppRec rec = {};
        strcpy(rec.acref, s.acref);
        strcpy(rec.company, s.company);
        strcpy(rec.addr1, "1 Dock Road");
        ASSERT_EQ(1, QlSuppAdd(&rec, err)) << err;
    }
    QlDbClose();

    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\supp_select_show.exe\\X11 Driver",
                                             0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL));
    RegSetValueExA(key, "Managed", 0, REG_SZ, (const BYTE *)"Y", 2);
    RegCloseKey(key);

    QlTestProcess running;
    ASSERT_TRUE(running.startProgram("supp_select_show", work.path(), {"COMP000\\quilry.db"}));
    HWND dialog = WaitForWindow("#32770", "Supplier", 60000);
    ASSERT_NE(nullptr, dialog);
    HWND list = GetDlgItem(dialog, 1035);
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 3; }));
    EXPECT_EQ("Select", ControlText(dialog, IDOK));
    ASSERT_TRUE(Screenshot("supplier-select-dialog.png"));
    EXPECT_GT(Spread("supplier-select-dialog.png", ClientOnScreen(dialog)), 0.02);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    int code = -1;
    ASSERT_TRUE(running.wait(30000, &code));
    EXPECT_EQ(0, code);
}

namespace {


// The control of the program's thread that has the keyboard focus.
HWND ProgramFocus(HWND main)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(main, NULL), &info)) return NULL;
    return info.hwndFocus;
}

// The focus's control id once it has left `from` (0 when it stays).
int NextFocusId(HWND main, HWND from)
{
    HWND focus = NULL;
    WaitFor([&] { return (focus = ProgramFocus(main)) != from; }, 3000);
    return focus && focus != from ? GetDlgCtrlID(focus) : 0;
}

RECT MainWindowRect(HWND main)
{
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(main, &rect);
    return rect;
}

}  // namespace

// The keyboard in the customers module: Tab walks its fields top to bottom,
// the left column first, then the account's columns (greyed combos are
// skipped), and comes round again; Shift+Tab walks back.  Enter in a field
// runs no command.  A second start gives the main window the size of the first.
TEST_F(Program, TabWalksTheCustomersFormInOrder)
{
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    ASSERT_TRUE(WriteCompany(0, CompanySettings("Acme Widgets Ltd")));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    QlCustRec joe = {};
    strcpy(joe.acref, "JO001");
    strcpy(joe.company, "Joe's Plumbing");
    strcpy(joe.addr1, "12 Pipe Lane");
    ASSERT_EQ(1, QlCustAdd(&joe, err)) << err;
    QlDbClose();
    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";

    RECT firstSize = {0, 0, 0, 0};
    for (int run = 0; run < 2; run++) {
        SCOPED_TRACE(run == 0 ? "first start" : "second start");
        QlTestProcess running;
        ASSERT_TRUE(running.startProgram("quillory", work.path()));
        HWND about = WaitForWindow("#32770", "About Quillory", 60000);
        ASSERT_NE(nullptr, about);
        PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
        HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
        ASSERT_NE(nullptr, main);
        RECT size = MainWindowRect(main);
        if (run == 0) {
            firstSize = size;
        } else {
            EXPECT_EQ(firstSize.right - firstSize.left, size.right - size.left);
            EXPECT_EQ(firstSize.bottom - firstSize.top, size.bottom - size.top);
            PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
            int code = -1;
            ASSERT_TRUE(running.wait(30000, &code));
            break;
        }

        PostMessageA(main, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
        HWND module = NULL;
        ASSERT_TRUE(WaitFor([&] {
            module = ChildWithControl(main, IDL_CUST_NAMES);
            return module && ControlText(module, IDT_CUST_ACREF) == "JO001";
        }));
        SetForegroundWindow(main);
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }, 5000));
        HWND start = GetDlgItem(module, IDE_CUST_FIND_ACREF);
        PostMessageA(module, WM_NEXTDLGCTL, (WPARAM)start, TRUE);
        ASSERT_TRUE(WaitFor([&] { return ProgramFocus(main) == start; }, 5000));

        const int order[] = {IDE_CUST_FIND_COMPANY, IDB_CUST_FIND,  IDL_CUST_NAMES,        IDL_CUST_OVERVIEW,
                             IDE_CUST_COMPANY,      IDE_CUST_ADDR1, IDE_CUST_ADDR2,        IDE_CUST_ADDR3,
                             IDE_CUST_CONTACT,      IDE_CUST_EMAIL, IDB_CUST_APPLY_DISCOUNT, IDE_CUST_TEL,
                             IDE_CUST_MOBILE,       IDE_CUST_FAX,   IDB_CUST_APPLY_TAX,    IDE_CUST_FIND_ACREF};
        HWND from = start;
        std::string walked;
        for (int id : order) {
            PressKey(VK_TAB);
            int got = NextFocusId(main, from);
            walked += " " + std::to_string(got);
            ASSERT_EQ(id, got) << "Tab from " << GetDlgCtrlID(from) << ", walked" << walked;
            from = GetDlgItem(module, id);
        }
        // Shift+Tab goes back: to the tax box, then the fax field.
        PressKey(VK_TAB, true);
        EXPECT_EQ(IDB_CUST_APPLY_TAX, NextFocusId(main, from));
        from = GetDlgItem(module, IDB_CUST_APPLY_TAX);
        PressKey(VK_TAB, true);
        EXPECT_EQ(IDE_CUST_FAX, NextFocusId(main, from));

        // Enter and Escape in a field: no command, the module stays.
        PressKey(VK_RETURN);
        PressKey(VK_ESCAPE);
        Sleep(500);
        EXPECT_TRUE(IsWindow(module));
        EXPECT_EQ(module, ChildWithControl(main, IDL_CUST_NAMES));
        EXPECT_EQ(GetDlgItem(module, IDE_CUST_FAX), ProgramFocus(main));
        EXPECT_TRUE(Screenshot("customers-module-keyboard.png"));

        // Create New Customer, for a person to look at (its tax combo whole).
        PostMessageA(module, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);   // New
        HWND add = WaitForWindow("#32770", "Create New Customer", 20000);
        ASSERT_NE(nullptr, add);
        EXPECT_TRUE(Screenshot("customer-new-dialog.png"));
        PostMessageA(add, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(add); }));

        // The invoice form: Tab goes on from the company to its address lines.
        PostMessageA(module, WM_COMMAND, MAKEWPARAM(4, BN_CLICKED), 0);   // Invoice
        HWND form = NULL;
        ASSERT_TRUE(WaitFor([&] { return (form = ChildWithControl(main, IDL_DOC_LINES)) != NULL; }));
        SetForegroundWindow(main);
        HWND company = GetDlgItem(form, IDE_DOC_COMPANY);
        PostMessageA(form, WM_NEXTDLGCTL, (WPARAM)company, TRUE);
        ASSERT_TRUE(WaitFor([&] { return ProgramFocus(main) == company; }, 5000));
        PressKey(VK_TAB);
        EXPECT_EQ(IDE_DOC_ADDR1, NextFocusId(main, company));
        PressKey(VK_TAB);
        EXPECT_EQ(IDE_DOC_ADDR2, NextFocusId(main, GetDlgItem(form, IDE_DOC_ADDR1)));

        // A settings page: what is typed after Tab lands in the next field.
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), 0);   // Settings
        std::vector<HWND> tabs;
        ASSERT_TRUE(WaitFor([&] { return !(tabs = ChildWindows(main, "SysTabControl32")).empty(); }, 10000));
        SendMessageA(tabs[0], TCM_SETCURFOCUS, 1, 0);   // the company page
        std::vector<HWND> pages;
        ASSERT_TRUE(WaitFor([&] {
            pages = ChildWindows(tabs[0], "#32770");
            return pages.size() == 1 && GetDlgItem(pages[0], IDE_CFG_ADDR2);
        }, 10000));
        HWND page = pages[0], name = GetDlgItem(page, IDE_CFG_NAME);
        SetForegroundWindow(main);
        PostMessageA(page, WM_NEXTDLGCTL, (WPARAM)name, TRUE);
        ASSERT_TRUE(WaitFor([&] { return ProgramFocus(main) == name; }, 5000));
        std::string nameBefore = ControlText(page, IDE_CFG_NAME);
        PressKey(VK_TAB);
        EXPECT_EQ(IDE_CFG_ADDR1, NextFocusId(main, name));
        PressKey(VK_TAB);
        EXPECT_EQ(IDE_CFG_ADDR2, NextFocusId(main, GetDlgItem(page, IDE_CFG_ADDR1)));
        PressKey('Q');   // the field's text is selected on Tab: typing replaces it
        EXPECT_TRUE(WaitFor([&] { return ControlText(page, IDE_CFG_ADDR2) == "q"; }, 3000))
            << ControlText(page, IDE_CFG_ADDR2);
        EXPECT_EQ(nameBefore, ControlText(page, IDE_CFG_NAME));
        EXPECT_TRUE(Screenshot("settings-company-keyboard.png"));

        PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
        int code = -1;
        ASSERT_TRUE(running.wait(30000, &code));
        EXPECT_EQ(0, code);
    }
}

namespace {

// A control's whole text (ControlText stops at 127 characters).
std::string LongControlText(HWND dialog, int id)
{
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// The first visible dialog of another process with that title other than
// the one given.
HWND OtherDialog(const std::string &title, HWND besides)
{
    for (HWND window : ProgramWindows("#32770", title))
        if (window != besides) return window;
    return NULL;
}

// An invoice of account AC001 (rowid 1, printed code 400000000010) in the
// working folder's company 0.
void SeedInvoice(const char *company)
{
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    QlCustRec rec = {};
    strcpy(rec.acref, "AC001");
    strcpy(rec.company, company);
    strcpy(rec.addr1, "1 Main Street");
    ASSERT_EQ(1, QlCustAdd(&rec, err)) << err;
    QlTransRec invoice = {};
    invoice.type = 1;
    invoice.cust_rowid = rec.iKey;
    strcpy(invoice.acref, "AC001");
    strcpy(invoice.date, "3/02/2025");
    strcpy(invoice.gross, "24.60");
    strcpy(invoice.gross_bal, "24.60");
    ASSERT_EQ(1, QlTransAdd(&invoice, err)) << err;
    QlDbClose();
}

// The stored invoice 1 opened from the transactions window by its printed
// code, and its PDF command: the save dialog that it opens (NULL when none).
HWND OpenInvoicePdfDialog(HWND main)
{
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), 0);   // Transactions
    HWND pane = NULL;
    if (!WaitFor([&] { return (pane = ChildWithControl(main, 1103)) != NULL; })) return NULL;
    if (!WaitFor([&] { return SendMessageA(GetDlgItem(pane, 1103), LVM_GETITEMCOUNT, 0, 0) == 1; })) return NULL;
    SetDlgItemTextA(pane, 1141, "400000000010");
    PostMessageA(pane, WM_USER + 4, 0, 0);
    HWND view = NULL, toolbar = NULL;
    if (!WaitFor([&] {
            view = ChildWithControl(main, 1161);
            return view && ControlText(view, 1159) == "AC001" &&
                   (toolbar = FindWindowExA(view, NULL, "ToolbarWindow32", NULL)) != NULL;
        }))
        return NULL;
    PostMessageA(view, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), (LPARAM)toolbar);   // PDF
    return WaitForWindow("#32770", "Save Invoice to PDF File", 20000);
}

// Types the file name into a file dialog and presses its OK.
void ChooseFile(HWND dialog, const std::string &name)
{
    // The file name box: edt1 in Wine's dialog, the edit of cmb13 in Windows'.
    if (!SetDlgItemTextA(dialog, 0x480, name.c_str())) SetDlgItemTextA(dialog, 0x47c, name.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}  // namespace

// A working folder in which no file can be made: the company manager's file
// cannot be created there, and the program says that the folder cannot be
// written, naming it, before it ends.
TEST_F(Program, AReadOnlyWorkingFolderIsNamed)
{
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    QlTestReadOnlyFolder readOnly(work.path());
    if (!readOnly.ok()) GTEST_SKIP() << "no folder can be made read-only here";
    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
    QlTestProcess running;
    ASSERT_TRUE(running.startProgram("quillory", work.path()));
    HWND refused = WaitForWindow("#32770", "Error", 60000);
    ASSERT_NE(nullptr, refused);
    const std::string text = LongControlText(refused, IDT_MSG_TEXT);
    const std::string folderName = work.path().substr(work.path().rfind('\\') + 1);
    EXPECT_EQ(0u, text.find("The working folder ")) << text;
    EXPECT_NE(std::string::npos, text.find("\\" + folderName + " cannot be written: the program keeps its companies "
                                                                 "there. Start it in a folder that can be written."))
        << text;
    ASSERT_TRUE(Screenshot("working-folder-read-only.png"));
    if (QlTestHasUnix()) EXPECT_GT(Spread("working-folder-read-only.png", ClientOnScreen(refused)), 0.02);
    PostMessageA(refused, WM_COMMAND, IDOK, 0);
    int code = -1;
    ASSERT_TRUE(running.wait(30000, &code));
    EXPECT_TRUE(ProgramWindows(kMainClass).empty());
}

// A disk that fills while a PDF is written (once the invoice is open, the
// program's files may not grow past 512 bytes): the invoice's PDF over a good file of the same name is
// refused with the reason, and the good file stays as it was.
TEST_F(Program, APdfOnAFullDiskLeavesTheGoodFile)
{
    QL_TEST_REQUIRE_UNIX();   // the limit is the Unix process's
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    ASSERT_TRUE(WriteCompany(0, CompanySettings("Acme Widgets Ltd")));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    SeedInvoice("Alpha Traders");
    const std::string good = "%PDF-1.4 a good file that must not be lost\n%%EOF\n";
    {
        HANDLE file = CreateFileA("INVOICE1.pdf", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, good.data(), (DWORD)good.size(), &written, NULL);
        CloseHandle(file);
    }
    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
    QlTestProcess running;
    ASSERT_TRUE(running.startProgram("quillory", work.path()));
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
    ASSERT_NE(nullptr, main);
    HWND save = OpenInvoicePdfDialog(main);
    ASSERT_NE(nullptr, save);
    ASSERT_TRUE(running.limitFileSize(512));   // the disk fills now
    ChooseFile(save, work.path() + "\\INVOICE1.pdf");
    // The dialog asks before it replaces the file: Yes.
    HWND refused = NULL;
    ASSERT_TRUE(WaitFor([&] {
        HWND replace = OtherDialog("Save Invoice to PDF File", save);
        if (replace) PostMessageA(replace, WM_COMMAND, IDYES, 0);
        return (refused = WaitForWindow("#32770", "Error", 50)) != NULL;
    }, 30000));
    EXPECT_EQ("The disk is full: the file could not be written whole. A file of that name was left as it was.",
              LongControlText(refused, IDT_MSG_TEXT));
    ASSERT_TRUE(Screenshot("pdf-disk-full.png"));
    EXPECT_EQ(good, ReadFileText(work.path() + "\\INVOICE1.pdf"));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("*.tmp", &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << "no temporary file is left";
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    PostMessageA(refused, WM_COMMAND, IDOK, 0);
    // Its settings could not be saved at the end either: the program is
    // stopped rather than closed.
    running.stop();
}

namespace {

// A UTF-8 path as the WCHAR text the wide calls take (no std::wstring: under
// winelib the C++ library's wide characters are not WCHAR's).
struct WidePath {
    explicit WidePath(const std::string &utf8)
    {
        if (!MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, text, MAX_PATH * 2)) text[0] = 0;
    }
    WCHAR text[MAX_PATH * 2];
};

bool WideFileExists(const std::string &utf8)
{
    return GetFileAttributesW(WidePath(utf8).text) != INVALID_FILE_ATTRIBUTES;
}

// The message dialog of the program with that caption, answered with OK
// (a picture of the screen kept first when a name is given); its text (""
// when none came).
std::string AnswerMessage(const char *caption, const char *picture = NULL)
{
    HWND box = WaitForWindow("#32770", caption, 30000);
    if (!box) return "";
    std::string text = LongControlText(box, IDT_MSG_TEXT);
    if (picture) Screenshot(picture);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !IsWindow(box); }, 10000);
    return text;
}

// File / Restore with the marker chosen by the name given (relative to the
// company's folder, where the dialog opens), confirmed.
void RestoreFrom(HWND main, const char *marker)
{
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_FILE_RESTORE, 0), 0);
    HWND pick = WaitForWindow("#32770", "Select Backup File", 30000);
    ASSERT_NE(nullptr, pick);
    ChooseFile(pick, marker);
    HWND confirm = WaitForWindow("#32770", "Confirm Restore Operation", 30000);
    ASSERT_NE(nullptr, confirm);
    PostMessageA(confirm, WM_COMMAND, MAKEWPARAM(IDB_MSG_OK, BN_CLICKED), (LPARAM)GetDlgItem(confirm, IDB_MSG_OK));
}

}  // namespace

// A working folder whose name holds letters outside the ANSI code page
// ("Łukasz Dvořák", as a user's profile folder may be named): backup finds
// the company's data folder, the PDF's save dialog opens in the working
// folder and the file lands there, restore works, and the settings are saved
// at the end.  The restore is also made while the company's settings file is
// held open without sharing: neither of the backup's files stays, and the
// message says so.
TEST_F(Program, AWorkingFolderNamedOutsideTheCodePage)
{
    ShellStateGuard state;
    WorkFolder work;
    // "Łukasz Dvořák" (the source is UTF-8): Ł and ř are outside Windows-1252.
    const std::string folder = work.path() + "\\\xc5\x81ukasz Dvo\xc5\x99\xc3\xa1k";
    const std::string working = folder + "\\Quillory";
    ASSERT_TRUE(CreateDirectoryW(WidePath(folder).text, NULL)) << GetLastError();
    ASSERT_TRUE(CreateDirectoryW(WidePath(working).text, NULL)) << GetLastError();
    ASSERT_TRUE(SetCurrentDirectoryW(WidePath(working).text));
    // Everything written by relative paths, as a user's files would be.
    ASSERT_TRUE(CreateDirectoryA("images", NULL));
    {
        const std::string images = QlTestWindowsPath(Env("QL_SOURCE_DIR", ".") + "/resources/images");
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((images + "\\*.bmp").c_str(), &found);
        ASSERT_NE(INVALID_HANDLE_VALUE, find);
        do {
            CopyFileA((images + "\\" + found.cFileName).c_str(), (std::string("images\\") + found.cFileName).c_str(),
                      FALSE);
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    acme.saveYear = 0;
    ASSERT_TRUE(WriteCompany(0, acme));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    SeedInvoice("Alpha Traders");
    // A backup by hand inside the company's folder, then a second account.
    ASSERT_TRUE(CreateDirectoryA("COMP000\\bk", NULL));
    ASSERT_TRUE(CopyFileA("COMP000\\quilry.db", "COMP000\\bk\\quilry.db", FALSE));
    ASSERT_TRUE(CopyFileA("COMP000\\cfg.dta", "COMP000\\bk\\cfg.dta", FALSE));
    {
        HANDLE marker = CreateFileA("COMP000\\bk\\old.bak", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, marker);
        CloseHandle(marker);
        char err[QL_DB_ERR_SIZE];
        ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
        QlCustRec beta = {};
        strcpy(beta.acref, "BE002");
        strcpy(beta.company, "Beta Stores");
        ASSERT_EQ(1, QlCustAdd(&beta, err)) << err;
        QlDbClose();
    }
    ASSERT_TRUE(SetCurrentDirectoryA(work.path().c_str()));
    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";

    QlTestProcess running;
    ASSERT_TRUE(running.startProgramInUtf8Folder("quillory", working));
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
    ASSERT_NE(nullptr, main);

    // Backup: the data folder is found, and the destination is asked for
    // (cancelled here), not "Could not change to data directory".
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_FILE_BACKUP, 0), 0);
    std::string shown;
    HWND asked = NULL;
    ASSERT_TRUE(WaitFor([&] {
        for (HWND window : ProgramWindows("#32770")) {
            char title[128] = "";
            GetWindowTextA(window, title, sizeof title);
            if (strcmp(title, "About Quillory") == 0) continue;
            shown = title;
            asked = window;
            return true;
        }
        return false;
    }, 30000));
    EXPECT_NE("BackUp Failed!", shown) << LongControlText(asked, IDT_MSG_TEXT);
    ASSERT_TRUE(Screenshot("wide-folder-backup.png"));
    PostMessageA(asked, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(asked); }));

    // The invoice's PDF by its bare name: into the working folder.
    HWND save = OpenInvoicePdfDialog(main);
    ASSERT_NE(nullptr, save);
    ASSERT_TRUE(Screenshot("wide-folder-save-dialog.png"));
    ChooseFile(save, "wide-invoice.pdf");
    const std::string pdf = working + "\\wide-invoice.pdf";
    EXPECT_TRUE(WaitFor([&] { return WideFileExists(pdf); }));
    Sleep(500);
    EXPECT_TRUE(ProgramWindows("#32770", "Error").empty()) << "a message came after the save";

    // Restore, first with the settings file held without sharing: the
    // company keeps both its files; then let go: both come back.
    {
        HANDLE held = CreateFileW(WidePath(working + "\\COMP000\\cfg.dta").text, GENERIC_READ | GENERIC_WRITE, 0,
                                  NULL, OPEN_EXISTING, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        RestoreFrom(main, "bk\\old.bak");
        std::string text = AnswerMessage("Restore Failed!", "restore-settings-in-use.png");
        CloseHandle(held);
        EXPECT_EQ(0u, text.find("Restore Failed! The backup's settings file could not replace ")) << text;
        EXPECT_NE(std::string::npos, text.find("\\COMP000\\cfg.dta, so the backup's database was taken out again: "
                                               "the company's database and settings file are the ones it had before."))
            << text;
    }
    RestoreFrom(main, "bk\\old.bak");
    EXPECT_EQ("Restore Operation Completed Successfully!", AnswerMessage("Restore Complete!"));

    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    int code = -1;
    ASSERT_TRUE(running.wait(30000, &code));
    EXPECT_EQ(0, code);

    ASSERT_TRUE(SetCurrentDirectoryW(WidePath(working).text));
    EXPECT_EQ(ThisYear(), ReadCompany(0).saveYear);   // saved at the end, in its folder
    char err[QL_DB_ERR_SIZE];
    EXPECT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    QlCustRec beta = {};
    EXPECT_EQ(0, QlCustGetByAcRef("BE002", &beta, err));   // the backup's data: Alpha alone
    QlDbClose();
    HANDLE file = CreateFileW(WidePath(pdf).text, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    std::string bytes;
    if (file != INVALID_HANDLE_VALUE) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0) bytes.append(buffer, got);
        CloseHandle(file);
    }
    EXPECT_NE(std::string::npos, bytes.find("%%EOF"));
    ASSERT_TRUE(SetCurrentDirectoryA(work.path().c_str()));
    // The folder's name is beyond the ANSI calls that remove the work folder.
    if (QlTestHasUnix()) {
        char native[MAX_PATH * 4];
        ASSERT_TRUE(QlPathToNative(work.path().c_str(), native, sizeof native));
        QlTestRun("rm -rf '" + std::string(native) + "'/*");
    }
}

// (tests/ui/UiTestSupport.cpp) The text on the clipboard, as a user's
// copy puts it there; a WM_PASTE then pastes it in the program.
bool QlTestSetClipboardText(const char *text);

namespace {

// The program's window in front, its field focused (the keyboard reaches
// that field); false when it did not come.
bool FocusField(HWND main, HWND window, HWND field)
{
    SetForegroundWindow(window);
    if (!WaitFor([&] { return GetForegroundWindow() == window; }, 5000)) return false;
    PostMessageA(window, WM_NEXTDLGCTL, (WPARAM)field, TRUE);
    return WaitFor([&] { return ProgramFocus(main) == field; }, 5000);
}

// The clipboard's text pasted into the program's field over its whole text.
void PasteInto(HWND field, const char *text)
{
    ASSERT_TRUE(QlTestSetClipboardText(text));
    PostMessageA(field, EM_SETSEL, 0, -1);
    PostMessageA(field, WM_PASTE, 0, 0);
}

HWND StartOn(QlTestProcess &running, const WorkFolder &work, const char *title)
{
    if (!running.startProgram("quillory", work.path())) return NULL;
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    if (!about) return NULL;
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    return WaitForWindow(kMainClass, title, 30000);
}

}  // namespace

// Enter in the add dialogs of the customers, products and services (which
// have no default button) keeps the dialog with what was typed; in the
// multi-line fields of a letter and of the e-mail dialog it starts a new
// line.  A price pasted into the product dialog is checked as it was given;
// a supplier's name of blanks is refused.
TEST_F(Program, EnterKeepsWhatWasTypedAndBreaksLinesInMessages)
{
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    strcpy(acme.email, "accounts@acme.example");
    ASSERT_TRUE(WriteCompany(0, acme));
    ASSERT_TRUE(WriteMconf(0, 0, 0));
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    QlCustRec joe = {};
    strcpy(joe.acref, "JO001");
    strcpy(joe.company, "Joe's Plumbing");
    strcpy(joe.addr1, "12 Pipe Lane");
    strcpy(joe.contact, "Joe Murphy");
    strcpy(joe.wemail, "joe@plumbing.example");
    ASSERT_EQ(1, QlCustAdd(&joe, err)) << err;
    QlDbClose();
    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
    QlTestProcess running;
    HWND main = StartOn(running, work, "Quillory 2.1.31 : Acme Widgets Ltd");
    ASSERT_NE(nullptr, main);

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);   // Customers
    HWND module = NULL;
    ASSERT_TRUE(WaitFor([&] {
        module = ChildWithControl(main, IDL_CUST_NAMES);
        return module && ControlText(module, IDT_CUST_ACREF) == "JO001";
    }));

    // Create New Customer: Enter in the address keeps the dialog and the text.
    PostMessageA(module, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);   // New
    HWND add = WaitForWindow("#32770", "Create New Customer", 20000);
    ASSERT_NE(nullptr, add);
    SetDlgItemTextA(add, IDE_CUSTADD_COMPANY, "Harbour Books");
    SetDlgItemTextA(add, IDE_CUST_ADDR1, "2 Quay Street");
    ASSERT_TRUE(FocusField(main, add, GetDlgItem(add, IDE_CUST_ADDR1)));
    PressKey(VK_RETURN);
    Sleep(700);
    EXPECT_TRUE(IsWindow(add)) << "Enter closed Create New Customer";
    EXPECT_EQ("Harbour Books", ControlText(add, IDE_CUSTADD_COMPANY));
    EXPECT_EQ("2 Quay Street", ControlText(add, IDE_CUST_ADDR1));
    EXPECT_TRUE(Screenshot("customer-new-after-enter.png"));
    PostMessageA(add, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(add); }));

    // A letter's body and the e-mail dialog's message take Enter as a new line.
    PostMessageA(module, WM_COMMAND, MAKEWPARAM(10, BN_CLICKED), 0);   // Letters
    HWND choose = WaitForWindow("#32770", "Select Letter to Generate", 20000);
    ASSERT_NE(nullptr, choose);
    SendDlgItemMessageA(choose, 1282, LB_SETCURSEL, 1, 0);
    PostMessageA(choose, WM_COMMAND, MAKEWPARAM(1116, BN_CLICKED), (LPARAM)GetDlgItem(choose, 1116));
    HWND letter = WaitForWindow("#32770", "Customer Letter", 20000);
    ASSERT_NE(nullptr, letter);
    HWND body = GetDlgItem(letter, IDE_LET_BODY);
    SetWindowTextA(body, "Dear Joe,");
    ASSERT_TRUE(FocusField(main, letter, body));
    PostMessageA(body, EM_SETSEL, 9, 9);
    PressKey(VK_RETURN);
    PressKey('P');
    EXPECT_TRUE(WaitFor([&] { return ControlText(letter, IDE_LET_BODY) == "Dear Joe,\r\np"; }, 3000))
        << ControlText(letter, IDE_LET_BODY);
    EXPECT_TRUE(IsWindow(letter));
    PostMessageA(letter, WM_COMMAND, MAKEWPARAM(IDB_LET_EMAIL, BN_CLICKED), (LPARAM)GetDlgItem(letter, IDB_LET_EMAIL));
    HWND mail = WaitForWindow("#32770", "Email Letter", 20000);
    ASSERT_NE(nullptr, mail);
    HWND message = GetDlgItem(mail, IDE_MAIL_MESSAGE);
    SetWindowTextA(message, "Dear Joe,");
    ASSERT_TRUE(FocusField(main, mail, message));
    PostMessageA(message, EM_SETSEL, 9, 9);
    PressKey(VK_RETURN);
    PressKey('P');
    PressKey(VK_RETURN);
    PressKey('M');
    EXPECT_TRUE(WaitFor([&] { return ControlText(mail, IDE_MAIL_MESSAGE) == "Dear Joe,\r\np\r\nm"; }, 3000))
        << ControlText(mail, IDE_MAIL_MESSAGE);
    EXPECT_TRUE(IsWindow(mail));
    EXPECT_TRUE(Screenshot("mail-dialog-message-lines.png"));
    PostMessageA(mail, WM_COMMAND, MAKEWPARAM(IDB_MAIL_CLOSE, BN_CLICKED), (LPARAM)GetDlgItem(mail, IDB_MAIL_CLOSE));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(mail); }));
    PostMessageA(letter, WM_COMMAND, MAKEWPARAM(1115, BN_CLICKED), (LPARAM)GetDlgItem(letter, 1115));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(letter); }));

    // Create New Product: Enter in the description keeps the dialog; a
    // pasted negative or too long price is refused, the text as pasted.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(3, BN_CLICKED), 0);   // Products
    HWND products = NULL, productsBar = NULL;
    ASSERT_TRUE(WaitFor([&] {
        products = ChildWithControl(main, 1137);
        return products && (productsBar = FindWindowExA(products, NULL, "ToolbarWindow32", NULL)) != NULL;
    }));
    PostMessageA(products, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)productsBar);   // New
    HWND product = WaitForWindow("#32770", "Create New Product", 20000);
    ASSERT_NE(nullptr, product);
    SetDlgItemTextA(product, 1005, "BRASS TAP");   // the description
    ASSERT_TRUE(FocusField(main, product, GetDlgItem(product, 1005)));
    PressKey(VK_RETURN);
    Sleep(700);
    EXPECT_TRUE(IsWindow(product)) << "Enter closed Create New Product";
    EXPECT_EQ("BRASS TAP", ControlText(product, 1005));
    HWND productBar = FindWindowExA(product, NULL, "ToolbarWindow32", NULL);
    ASSERT_NE(nullptr, productBar);
    const struct {
        const char *pasted, *text, *picture;
    } prices[] = {{"-5", "The price cannot be negative", "product-price-negative.png"},
                  {"12345678901", "The highest price is 9999999.99", "product-price-too-large.png"}};
    for (const auto &p : prices) {
        SCOPED_TRACE(p.pasted);
        HWND units = GetDlgItem(product, 1139);   // the price's units
        PasteInto(units, p.pasted);
        EXPECT_TRUE(WaitFor([&] { return ControlText(product, 1139) == p.pasted; }, 3000)) << ControlText(product, 1139);
        PostMessageA(product, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)productBar);   // Save
        HWND refusal = WaitForWindow("#32770", "Invalid Input", 20000);
        ASSERT_NE(nullptr, refusal);
        EXPECT_EQ(p.text, ControlText(refusal, IDT_MSG_TEXT));
        ASSERT_TRUE(Screenshot(p.picture));
        PostMessageA(refusal, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(refusal); }));
        EXPECT_TRUE(IsWindow(product));
        EXPECT_EQ(p.pasted, ControlText(product, 1139));
        EXPECT_EQ("BRASS TAP", ControlText(product, 1005));
    }
    PostMessageA(product, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(product); }));

    // Create New Service: Enter in the description keeps it.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(4, BN_CLICKED), 0);   // Services
    HWND services = NULL, servicesBar = NULL;
    ASSERT_TRUE(WaitFor([&] {
        services = ChildWithControl(main, 1137);
        return services && !IsWindow(products) &&
               (servicesBar = FindWindowExA(services, NULL, "ToolbarWindow32", NULL)) != NULL;
    }));
    PostMessageA(services, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)servicesBar);   // New
    HWND service = WaitForWindow("#32770", "Create New Service", 20000);
    ASSERT_NE(nullptr, service);
    SetDlgItemTextA(service, 1005, "Annual gas safety certificate");
    ASSERT_TRUE(FocusField(main, service, GetDlgItem(service, 1005)));
    PressKey(VK_RETURN);
    Sleep(700);
    EXPECT_TRUE(IsWindow(service)) << "Enter closed Create New Service";
    EXPECT_EQ("Annual gas safety certificate", ControlText(service, 1005));
    EXPECT_TRUE(Screenshot("service-new-after-enter.png"));
    PostMessageA(service, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(service); }));

    // Create New Supplier: a name of blanks is refused as too short, and the
    // dialog keeps what was typed.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_MOD_SUPPLIERS, 0), 0);
    HWND suppliers = NULL, suppliersBar = NULL;
    ASSERT_TRUE(WaitFor([&] {
        suppliers = ChildWithControl(main, 1397);
        return suppliers && (suppliersBar = FindWindowExA(suppliers, NULL, "ToolbarWindow32", NULL)) != NULL;
    }));
    PostMessageA(suppliers, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)suppliersBar);   // New
    HWND supplier = WaitForWindow("#32770", "Create New Supplier", 20000);
    ASSERT_NE(nullptr, supplier);
    SetDlgItemTextA(supplier, IDE_CUSTADD_COMPANY, "     ");
    SetDlgItemTextA(supplier, IDE_CUST_ADDR1, "22 Harbour Street");
    HWND supplierBar = FindWindowExA(supplier, NULL, "ToolbarWindow32", NULL);
    ASSERT_NE(nullptr, supplierBar);
    PostMessageA(supplier, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)supplierBar);   // Save
    HWND tooShort = WaitForWindow("#32770", "Error", 20000);
    ASSERT_NE(nullptr, tooShort);
    EXPECT_EQ("Company name too short", ControlText(tooShort, IDT_MSG_TEXT));
    ASSERT_TRUE(Screenshot("supplier-blank-name.png"));
    PostMessageA(tooShort, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(tooShort); }));
    EXPECT_TRUE(IsWindow(supplier));
    EXPECT_EQ("22 Harbour Street", ControlText(supplier, IDE_CUST_ADDR1));
    PostMessageA(supplier, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(supplier); }));
    EXPECT_EQ(0, SendMessageA(GetDlgItem(suppliers, 1397), LVM_GETITEMCOUNT, 0, 0));

    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    int code = -1;
    ASSERT_TRUE(running.wait(30000, &code));
    EXPECT_EQ(0, code);
    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    QlCustRec none = {};
    EXPECT_EQ(0, QlCustGetByAcRef("HA000", &none, err));   // Enter added nothing either
    QlDbClose();
}

// Names of blanks are no names for the company manager; Edit on a line of a
// stored invoice asks once, naming the invoice, before anything is written
// (Cancel leaves it as it was); the payment item refuses a pasted amount
// that is not one.
TEST_F(Program, AStoredInvoiceAsksBeforeItChangesAndPastedAmountsAreChecked)
{
    ShellStateGuard state;
    WorkFolder work;
    ASSERT_TRUE(work.copyImages());
    QlSettingsRec acme = CompanySettings("Acme Widgets Ltd");
    acme.invoiceType = 0;
    acme.defaultRate = 0;
    ASSERT_TRUE(WriteCompany(0, acme));
    ASSERT_TRUE(WriteMconf(0, 0, -1));   // the manager opens
    char err[QL_DB_ERR_SIZE];
    ASSERT_EQ(1, QlDbOpen("COMP000\\quilry.db", err)) << err;
    QlCustRec joe = {};
    strcpy(joe.acref, "JO001");
    strcpy(joe.company, "Joe's Plumbing");
    strcpy(joe.addr1, "12 Pipe Lane");
    ASSERT_EQ(1, QlCustAdd(&joe, err)) << err;
    QlDbClose();
    ASSERT_TRUE(ProgramWindows(kMainClass).empty()) << "another copy of the program is running";
    QlTestProcess running;
    ASSERT_TRUE(running.startProgram("quillory", work.path()));

    // The company manager: a new company named with blanks is refused.
    HWND manager = WaitForWindow("#32770", "Multi-Company Manager", 60000);
    ASSERT_NE(nullptr, manager);
    PostMessageA(manager, WM_COMMAND, MAKEWPARAM(IDB_COMPANY_NEW, BN_CLICKED), 0);
    HWND create = WaitForWindow("#32770", "Create Company", 20000);
    ASSERT_NE(nullptr, create);
    SetDlgItemTextA(create, IDE_COMPANY_NAME, "    ");
    PostMessageA(create, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    HWND blank = WaitForWindow("#32770", "Error", 20000);
    ASSERT_NE(nullptr, blank);
    EXPECT_EQ("Please enter non-empty company name", ControlText(blank, IDT_MSG_TEXT));
    ASSERT_TRUE(Screenshot("company-create-blank-name.png"));
    PostMessageA(blank, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(blank); }));
    EXPECT_TRUE(IsWindow(create));
    PostMessageA(create, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(create); }));
    EXPECT_EQ(1, (int)SendMessageA(GetDlgItem(manager, IDL_COMPANY_LIST), LVM_GETITEMCOUNT, 0, 0));
    EXPECT_FALSE(FolderExists("COMP001"));
    PostMessageA(manager, WM_COMMAND, MAKEWPARAM(IDB_COMPANY_LOAD, BN_CLICKED), 0);
    HWND about = WaitForWindow("#32770", "About Quillory", 60000);
    ASSERT_NE(nullptr, about);
    PostMessageA(about, WM_COMMAND, IDB_ABOUT_CLOSE, 0);
    HWND main = WaitForWindow(kMainClass, "Quillory 2.1.31 : Acme Widgets Ltd", 30000);
    ASSERT_NE(nullptr, main);

    // Invoice 1 with one service line of 100.00, saved.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);   // Customers
    HWND module = NULL;
    ASSERT_TRUE(WaitFor([&] {
        module = ChildWithControl(main, IDL_CUST_NAMES);
        return module && ControlText(module, IDT_CUST_ACREF) == "JO001";
    }));
    PostMessageA(module, WM_COMMAND, MAKEWPARAM(4, BN_CLICKED), 0);   // Invoice
    HWND form = NULL;
    ASSERT_TRUE(WaitFor([&] { return (form = ChildWithControl(main, 1161)) != NULL; }));
    PostMessageA(form, WM_COMMAND, MAKEWPARAM(1175, BN_CLICKED), (LPARAM)GetDlgItem(form, 1175));   // Add
    HWND line = WaitForWindow("#32770", "Select or Enter service for invoice line", 20000);
    ASSERT_NE(nullptr, line);
    SetDlgItemTextA(line, 1176, "Consulting");
    SetDlgItemTextA(line, 1177, "100");
    PostMessageA(line, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(GetDlgItem(form, 1161), LVM_GETITEMCOUNT, 0, 0) == 1; }));
    std::string gross = ControlText(form, 1170);
    HWND formBar = FindWindowExA(form, NULL, "ToolbarWindow32", NULL);
    ASSERT_NE(nullptr, formBar);
    PostMessageA(form, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)formBar);   // Save
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(form); }));

    // Opened from the transactions window by its barcode (4, 00000, 00001
    // and the check digit 5).
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), 0);   // Transactions
    HWND pane = NULL;
    ASSERT_TRUE(WaitFor([&] { return (pane = ChildWithControl(main, 1103)) != NULL; }));
    SetDlgItemTextA(pane, 1141, "400000000015");
    PostMessageA(pane, WM_USER + 4, 0, 0);
    HWND view = NULL;
    ASSERT_TRUE(WaitFor([&] { return (view = ChildWithControl(main, IDB_DOC_EDIT)) != NULL; }));
    HWND lines = GetDlgItem(view, 1161);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(lines, LVM_GETITEMCOUNT, 0, 0) == 1; }));
    PostMessageA(lines, WM_KEYDOWN, VK_HOME, 0);   // the line selected, as Home does
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(lines, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED) == 0; }));
    auto pressEdit = [&] {
        PostMessageA(view, WM_COMMAND, MAKEWPARAM(IDB_DOC_EDIT, BN_CLICKED), (LPARAM)GetDlgItem(view, IDB_DOC_EDIT));
    };
    // The stored gross of invoice 1, read while the program runs (a read
    // that meets the program's write is tried again).
    auto storedGross = [&] {
        std::string text = "(unread)";
        WaitFor([&] {
            char dbErr[QL_DB_ERR_SIZE];
            QlTransRec rec = {};
            if (QlDbOpen("COMP000\\quilry.db", dbErr)) {
                if (QlTransGetByRowId(1, &rec, dbErr)) text = rec.gross;
                QlDbClose();
            }
            return text != "(unread)";
        }, 5000);
        return text;
    };

    // Cancel: no line dialog, nothing written.
    pressEdit();
    HWND question = WaitForWindow("#32770", "Confirm operation", 20000);
    ASSERT_NE(nullptr, question);
    EXPECT_EQ("Invoice 1 has been saved already. Change the stored invoice?", ControlText(question, IDT_MSG_ASK_TEXT));
    ASSERT_TRUE(Screenshot("stored-invoice-question.png"));
    PostMessageA(question, WM_COMMAND, MAKEWPARAM(IDB_MSG_CANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }));
    Sleep(700);
    EXPECT_TRUE(ProgramWindows("#32770", "Select Service").empty());
    EXPECT_EQ(gross, storedGross());

    // OK: the line dialog, and the change is stored.
    pressEdit();
    question = WaitForWindow("#32770", "Confirm operation", 20000);
    ASSERT_NE(nullptr, question);
    PostMessageA(question, WM_COMMAND, MAKEWPARAM(IDB_MSG_OK, BN_CLICKED), 0);
    line = WaitForWindow("#32770", "Select Service", 20000);
    ASSERT_NE(nullptr, line);
    SetDlgItemTextA(line, 1177, "200");
    PostMessageA(line, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(line); }));
    std::string changed;
    EXPECT_TRUE(WaitFor([&] { return (changed = storedGross()) != gross; }, 5000)) << changed;

    // Asked once per opening of the view: the next Edit goes straight on.
    view = NULL;
    ASSERT_TRUE(WaitFor([&] { return (view = ChildWithControl(main, IDB_DOC_EDIT)) != NULL; }));
    lines = GetDlgItem(view, 1161);
    PostMessageA(lines, WM_KEYDOWN, VK_HOME, 0);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(lines, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED) == 0; }));
    pressEdit();
    line = WaitForWindow("#32770", "Select Service", 20000);
    ASSERT_NE(nullptr, line);
    EXPECT_TRUE(ProgramWindows("#32770", "Confirm operation").empty());
    PostMessageA(line, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(line); }));
    EXPECT_EQ(changed, storedGross());

    // A payment of the invoice: the item dialog refuses what is not an amount.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);   // Customers
    ASSERT_TRUE(WaitFor([&] {
        module = ChildWithControl(main, IDL_CUST_NAMES);
        return module && ControlText(module, IDT_CUST_ACREF) == "JO001";
    }));
    PostMessageA(module, WM_COMMAND, MAKEWPARAM(6, BN_CLICKED), 0);   // Pay
    HWND pay = NULL;
    ASSERT_TRUE(WaitFor([&] { return (pay = ChildWithControl(main, 1190)) != NULL; }));
    HWND docs = GetDlgItem(pay, 1161);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(docs, LVM_GETITEMCOUNT, 0, 0) == 1; }));
    PostMessageA(docs, WM_KEYDOWN, VK_HOME, 0);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(docs, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED) == 0; }));
    PostMessageA(pay, WM_COMMAND, MAKEWPARAM(1187, BN_CLICKED), (LPARAM)GetDlgItem(pay, 1187));   // Edit
    HWND item = WaitForWindow("#32770", "Edit Payment Item", 20000);
    ASSERT_NE(nullptr, item);
    const struct {
        const char *pasted, *text, *picture;
    } amounts[] = {{"1e5", "The price must be given in digits", "payment-item-refused.png"},
                   {"12,50", "The price must be given in digits", NULL},
                   {"-5", "The price cannot be negative", NULL}};
    for (const auto &a : amounts) {
        SCOPED_TRACE(a.pasted);
        PasteInto(GetDlgItem(item, 1177), a.pasted);   // the units
        EXPECT_TRUE(WaitFor([&] { return ControlText(item, 1177) == a.pasted; }, 3000)) << ControlText(item, 1177);
        PostMessageA(item, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        HWND refusal = WaitForWindow("#32770", "Invalid Input", 20000);
        ASSERT_NE(nullptr, refusal);
        EXPECT_EQ(a.text, ControlText(refusal, IDT_MSG_TEXT));
        if (a.picture) ASSERT_TRUE(Screenshot(a.picture));
        PostMessageA(refusal, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(refusal); }));
        EXPECT_TRUE(IsWindow(item));
        EXPECT_EQ(a.pasted, ControlText(item, 1177));
    }
    PostMessageA(item, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(item); }));
    EXPECT_EQ("0.00", ControlText(pay, 1190));   // nothing paid

    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    // Closing with the payment form open asks before its entries are lost.
    HWND lose = WaitForWindow("#32770", "Confirmation", 5000);
    if (lose) PostMessageA(lose, WM_COMMAND, MAKEWPARAM(IDB_MSG_OK, BN_CLICKED), 0);
    int code = -1;
    ASSERT_TRUE(running.wait(30000, &code));
    EXPECT_EQ(0, code);
}

// The version information of the program file, which Windows shows in the
// file's properties, is the version of the About box and the title bar.
// Wine reads no version resource from a winelib program's .so: there the
// test program's own resources stand in (it links the program's).
TEST(ProgramFile, CarriesTheVersionOfTheAboutBox)
{
    std::string file = QlTestWindowsPath(QlTestProgramFile("quillory"));
    std::vector<char> info(GetFileVersionInfoSizeA(file.c_str(), NULL));
    bool fromFile = !info.empty() && GetFileVersionInfoA(file.c_str(), 0, (DWORD)info.size(), info.data());
    if (!fromFile) {
        ASSERT_TRUE(QlTestHasUnix()) << "no version information in " << file;
        HRSRC found = FindResourceA(NULL, MAKEINTRESOURCEA(VS_VERSION_INFO), MAKEINTRESOURCEA(16));
        ASSERT_TRUE(found);
        const char *bytes = (const char *)LockResource(LoadResource(NULL, found));
        ASSERT_TRUE(bytes);
        info.assign(bytes, bytes + SizeofResource(NULL, found));
        info.resize(info.size() * 3);   // VerQueryValueA writes its ANSI texts behind the block
    }
    VS_FIXEDFILEINFO *fixed = NULL;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", (void **)&fixed, &size));
    EXPECT_EQ((DWORD)MAKELONG(QL_VERSION_MINOR, QL_VERSION_MAJOR), fixed->dwFileVersionMS);
    EXPECT_EQ((DWORD)MAKELONG(0, QL_VERSION_PATCH), fixed->dwFileVersionLS);
    for (const char *name : {"ProductVersion", "FileVersion"}) {
        char *text = NULL;
        std::string key = std::string("\\StringFileInfo\\040904b0\\") + name;
        ASSERT_TRUE(VerQueryValueA(info.data(), key.c_str(), (void **)&text, &size)) << name;
        EXPECT_STREQ(QL_VERSION_TEXT, text) << name;
    }
    char *product = NULL;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904b0\\ProductName", (void **)&product, &size));
    EXPECT_STREQ(QL_PRODUCT_NAME, product);
}
