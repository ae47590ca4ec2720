// The statement window (dialog 186): its lines and running balance, the
// printed pages, the PDF file and the HTML file.
#include "CustTestSupport.h"
#include "UiTestSupport.h"
#include "QlTestPdf.h"
#include "QlTestPrint.h"
#include "QlTestPlatform.h"

#include "ui/QlAppState.h"
#include "print/QlPdf.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "customers/QlCustCommands.h"
#include "customers/QlCustOpeners.h"
#include "customers/QlStmt.h"
#include "resources/QlResIds.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

namespace {

int sPrintDialogs;
BOOL WINAPI CountPrintDialog(LPPRINTDLGA)
{
    sPrintDialogs++;
    return FALSE;
}

// The answer of the save dialog: a file name, or "" to cancel.
std::string sSaveAnswer;
int sSaveDialogs;
BOOL WINAPI AnswerSaveDialog(LPOPENFILENAMEA ofn)
{
    sSaveDialogs++;
    if (sSaveAnswer.empty()) return FALSE;
    snprintf(ofn->lpstrFile, ofn->nMaxFile, "%s", sSaveAnswer.c_str());
    return TRUE;
}

class StatementTest : public CustTest {
protected:
    void SetUp() override
    {
        CustTest::SetUp();
        savedSettings = QlSettings.cfg;
        savedWorkDir = QlWorkDir;
        GetCurrentDirectoryA(sizeof previousDir, previousDir);
        ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
        snprintf(QlWorkDir, sizeof QlWorkDir, "%s", folder.c_str());
        QlSettingsRec &cfg = QlSettings.cfg;
        strcpy(cfg.companyName, "Acme Widgets Ltd");
        strcpy(cfg.address1, "1 High Street");
        strcpy(cfg.address2, "Springfield");
        strcpy(cfg.address3, "SP1 2AB");
        strcpy(cfg.taxNumber, "GB123456");
        strcpy(cfg.taxName, "VAT");
        cfg.printTaxNumber = 1;
        cfg.printLogo = 0;
        sSaveDialogs = 0;
        sPrintDialogs = 0;
    }

    void TearDown() override
    {
        CustTest::TearDown();   // closes the window while the folder is current
        QlSettings.cfg = savedSettings;
        snprintf(QlWorkDir, sizeof QlWorkDir, "%s", savedWorkDir.c_str());
        SetCurrentDirectoryA(previousDir);
    }

    // The window for the account, its from date moved to the given one.
    HWND OpenStatement(const char *acref, int day = 1, int month = 1, int year = 2012)
    {
        memset(&QlCustContext, 0, sizeof QlCustContext);
        strcpy(QlCustContext.acref, acref);
        window = QlStmtOpen();
        EXPECT_NE(nullptr, window);
        if (!window) return NULL;
        SetDate(IDP_STMT_FROM, day, month, year);
        SetDate(IDP_STMT_DATE, 5, 2, 2025);
        Reload();
        return window;
    }

    void SetDate(int id, int day, int month, int year)
    {
        SYSTEMTIME st = {};
        st.wDay = (WORD)day;
        st.wMonth = (WORD)month;
        st.wYear = (WORD)year;
        SendDlgItemMessageA(window, id, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
    }

    void Reload()
    {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDB_STMT_RELOAD, BN_CLICKED),
                     (LPARAM)GetDlgItem(window, IDB_STMT_RELOAD));
    }

    void ToolbarCommand(int id)
    {
        HWND toolbar = FindWindowExA(window, NULL, TOOLBARCLASSNAMEA, NULL);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)toolbar);
    }

    HWND Lines() const { return GetDlgItem(window, IDL_STMT_LINES); }
    std::string Text(int id) const
    {
        char text[256] = "";
        GetDlgItemTextA(window, id, text, sizeof text);
        return text;
    }

    // count alternating invoices and payments of i.00 (i from 1) dated in
    // January 2025; their numbers.
    std::vector<std::string> AddLines(int64_t cust, int count)
    {
        std::vector<std::string> keys;
        for (int i = 1; i <= count; i++) {
            char gross[16];
            snprintf(gross, sizeof gross, "%d.00", i);
            keys.push_back(std::to_string(AddDoc(cust, i % 2 ? 1 : 3, "14/01/2025", gross)));
        }
        return keys;
    }

    // A statement of count such lines for a new account.
    std::vector<std::string> StatementOf(int count)
    {
        if (window) DestroyWindow(window);
        char acref[6];
        snprintf(acref, sizeof acref, "AC%03d", count);
        std::vector<std::string> keys = AddLines(AddCustomer(acref, "Joe's Plumbing"), count);
        OpenStatement(acref);
        EXPECT_EQ(count, RowCount(Lines()));
        return keys;
    }

    std::string Golden(const char *name)
    {
        const char *source = getenv("QL_SOURCE_DIR");
        return ReadNativeFile(DbTestNativePath(std::string(source ? source : ".") + "/tests/customers/golden/" + name));
    }

    HWND window = NULL;
    QlSettingsRec savedSettings;
    std::string savedWorkDir;
    char previousDir[MAX_PATH] = "";
};

}  // namespace

TEST_F(StatementTest, RunningBalanceFromTheFromDate)
{
    struct Doc {
        uint32_t type;
        const char *date, *gross;
    };
    struct Line {
        const char *type, *invoice, *paid, *balance;
    };
    const struct {
        const char *name;
        std::vector<Doc> docs;
        std::vector<Line> lines;
        const char *total;
    } cases[] = {
        {"nothing on or after the from date", {{1, "31/12/2011", "50.00"}}, {}, "0.00"},
        {"invoice then payment",
         {{1, "1/01/2012", "120.00"}, {2, "2/01/2012", "9.00"}, {4, "3/01/2012", "7.00"}, {3, "4/01/2012", "20.00"}},
         {{"Invoice", "120.00", "", "120.00"}, {"Payment", "", "20.00", "100.00"}},
         "100.00"},
        {"the invoice before the from date", {{1, "15/12/2011", "40.00"}, {3, "2/01/2012", "40.00"}},
         {{"Payment", "", "40.00", "-40.00"}}, "-40.00"},
        {"a payment below one unit", {{3, "2/01/2012", "0.50"}}, {{"Payment", "", "0.50", "-0.50"}}, "-0.50"},
    };
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        char acref[6];
        snprintf(acref, sizeof acref, "AC%03d", n++);
        int64_t cust = AddCustomer(acref, "Acme Trading");
        for (const Doc &d : c.docs) AddDoc(cust, d.type, d.date, d.gross);
        ASSERT_NE(nullptr, OpenStatement(acref));
        ASSERT_EQ(c.lines.size(), (size_t)RowCount(Lines()));
        for (size_t i = 0; i < c.lines.size(); i++) {
            EXPECT_EQ(c.lines[i].type, Cell(Lines(), (int)i, 2));
            EXPECT_EQ(c.lines[i].invoice, Cell(Lines(), (int)i, 3));
            EXPECT_EQ(c.lines[i].paid, Cell(Lines(), (int)i, 4));
            EXPECT_EQ(c.lines[i].balance, Cell(Lines(), (int)i, 5));
        }
        EXPECT_EQ(c.total, Text(IDT_STMT_TOTAL));
        EXPECT_EQ(acref, Text(IDT_STMT_ACREF));
        EXPECT_EQ("Acme Trading", Text(IDE_STMT_COMPANY));
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(StatementTest, OpensFromTheFirstOfThisMonthInPlaceOfTheModule)
{
    int64_t cust = AddCustomer("JO001", "Joe's Plumbing");
    AddDoc(cust, 1, "1/01/2000", "10.00");
    Open();
    HWND customers = module;
    Command(8);   // Statmt
    window = QlModuleWnd;
    ASSERT_NE(nullptr, window);
    EXPECT_FALSE(IsWindow(customers));
    EXPECT_EQ("JO001", Text(IDT_STMT_ACREF));
    EXPECT_EQ("Joe's Plumbing", Text(IDE_STMT_COMPANY));
    EXPECT_EQ("1 High Street", Text(IDE_STMT_ADDR1));
    EXPECT_EQ("STATEMENT", Text(IDT_STMT_TITLE));

    // The from date is the first of the month by the local clock.
    SYSTEMTIME today, from = {};
    GetLocalTime(&today);
    ASSERT_EQ(GDT_VALID, SendDlgItemMessageA(window, IDP_STMT_FROM, DTM_GETSYSTEMTIME, 0, (LPARAM)&from));
    EXPECT_EQ(1, from.wDay);
    EXPECT_EQ(today.wMonth, from.wMonth);
    EXPECT_EQ(today.wYear, from.wYear);
    EXPECT_EQ(0, RowCount(Lines()));   // the invoice of 2000 is before it
    EXPECT_EQ("0.00", Text(IDT_STMT_TOTAL));

    // The title's right edge is 3 pixels inside the window.
    RECT client, title;
    GetClientRect(window, &client);
    GetWindowRect(GetDlgItem(window, IDT_STMT_TITLE), &title);
    MapWindowPoints(NULL, window, (POINT *)&title, 2);
    EXPECT_EQ(client.right - 3, title.right);

    // Close gives the slot up.
    ToolbarCommand(QL_STMT_CMD_CLOSE);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, QlModuleWnd);

    // An account that cannot be read opens nothing.
    messages.clear();
    strcpy(QlCustContext.acref, "ZZ999");
    EXPECT_EQ(nullptr, QlStmtOpen());
    EXPECT_EQ(nullptr, QlModuleWnd);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Customer not found", messages[0].caption);
}

TEST_F(StatementTest, SelectShowsAnotherAccount)
{
    AddDoc(AddCustomer("AB000", "Abbey Ltd", "1 Abbey Road"), 1, "2/01/2012", "10.00");
    int64_t bell = AddCustomer("BE000", "Bell & Co", "2 Bell Lane");
    AddDoc(bell, 1, "3/01/2012", "30.00");
    AddDoc(bell, 3, "4/01/2012", "5.25");
    OpenStatement("AB000");
    EXPECT_EQ("10.00", Text(IDT_STMT_TOTAL));

    DialogDriver driver({[](HWND select) {
        HWND list = GetDlgItem(select, 1035);
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, 1, (LPARAM)&item);   // BE000, second by A/C ref
        ClickButton(select, IDOK);
    }});
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDB_STMT_SELECT, BN_CLICKED), (LPARAM)GetDlgItem(window, IDB_STMT_SELECT));
    EXPECT_EQ(1u, driver.stepsRun());
    EXPECT_EQ("BE000", Text(IDT_STMT_ACREF));
    EXPECT_EQ("Bell & Co", Text(IDE_STMT_COMPANY));
    EXPECT_EQ("2 Bell Lane", Text(IDE_STMT_ADDR1));
    EXPECT_EQ(2, RowCount(Lines()));
    EXPECT_EQ("24.75", Text(IDT_STMT_TOTAL));
}

TEST_F(StatementTest, MaximizedTheListGrowsAndTheTotalStaysAboveTheToolBar)
{
    StatementOf(3);
    MoveWindow(main, 0, 0, 1200, 900, TRUE);
    SendMessageA(window, QL_WM_MAIN_MAXIMIZED, 0, 0);

    auto rectOf = [&](HWND item) {
        RECT r;
        GetWindowRect(item, &r);
        MapWindowPoints(NULL, window, (POINT *)&r, 2);
        return r;
    };
    RECT client;
    GetClientRect(window, &client);
    HWND toolbar = FindWindowExA(window, NULL, TOOLBARCLASSNAMEA, NULL);
    ASSERT_NE(nullptr, toolbar);
    RECT bar = rectOf(toolbar), total = rectOf(GetDlgItem(window, IDT_STMT_TOTAL));
    RECT list = rectOf(Lines()), title = rectOf(GetDlgItem(window, IDT_STMT_TITLE));
    RECT from = rectOf(GetDlgItem(window, IDG_STMT_FROM));
    EXPECT_EQ(bar.top - 30, total.bottom);
    EXPECT_LT(list.bottom, from.top);
    EXPECT_GT(list.bottom, from.top - 20);
    EXPECT_EQ(client.right - 6, list.right);
    EXPECT_EQ(client.right - 3, title.right);
    EXPECT_GT(client.right, 1000);
}

TEST_F(StatementTest, PrintsSixteenLinesAPage)
{
    // Balances: 16 lines end at -8.00, 17 at 9.00.
    const struct {
        int lines;
        size_t pages;
        const char *total;
    } cases[] = {{16, 1, "Total Due Now:  -8.00"}, {17, 2, "Total Due Now:  9.00"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.lines);
        std::vector<std::string> keys = StatementOf(c.lines);
        QlStmtPrintJob job;
        QlStmtPrintJobFrom(window, &job);
        MetafilePrinter printer;
        ASSERT_EQ(1, QlStmtDrawPages(printer.target(), &job));
        printer.finish();
        ASSERT_EQ(c.pages, printer.pageCount());
        EmfRecords first = printer.records(0);
        for (const char *text : {"STATEMENT", "Acme Widgets Ltd", "VAT No: GB123456", "Joe's Plumbing", "5/02/2025", "1/01/2012",
                                 "Invoice Amount", "A/C Ref:", "From Date"})
            EXPECT_TRUE(first.hasText(text)) << text;
        EXPECT_TRUE(first.hasText(keys[15]));
        EmfRecords last = printer.records(c.pages - 1);
        EXPECT_TRUE(last.hasText(c.total));
        // The body font and any smaller size a cell was set in are let go.
        EXPECT_EQ(last.fonts.size(), (size_t)last.fontsDeleted);
        if (c.pages == 1) {
            EXPECT_EQ(std::string::npos, first.allText().find("Page")) << first.allText();
            EXPECT_FALSE(first.hasText("* Continued on next page *"));
            continue;
        }
        EmfRecords second = printer.records(1);
        EXPECT_TRUE(first.hasText("Page 1 of 2"));
        EXPECT_TRUE(first.hasText("* Continued on next page *"));
        EXPECT_FALSE(first.hasText(keys[16]));
        EXPECT_FALSE(first.hasText(c.total));
        EXPECT_TRUE(second.hasText("Page 2 of 2"));
        EXPECT_FALSE(second.hasText("* Continued on next page *"));
        EXPECT_TRUE(second.hasText(keys[16]));
        EXPECT_FALSE(second.hasText(keys[15]));
        std::string dir = QlTestArtifactDir();
        if (!dir.empty()) {
            EXPECT_TRUE(printer.savePng(0, dir + "/statement-print-page1.png"));
            EXPECT_TRUE(printer.savePng(1, dir + "/statement-print-page2.png"));
        }
    }

    // Without lines nothing is printed, and the user is told; without an
    // account it is refused.
    QlSeamPrintDialog = CountPrintDialog;
    SendMessageA(Lines(), LVM_DELETEALLITEMS, 0, 0);
    ToolbarCommand(QL_STMT_CMD_PRINT);
    EXPECT_EQ(0, sPrintDialogs);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("No form items", messages[0].text);
    messages.clear();
    SetDlgItemTextA(window, IDT_STMT_ACREF, "");
    ToolbarCommand(QL_STMT_CMD_PRINT);
    EXPECT_EQ(0, sPrintDialogs);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Missing Account Number", messages[0].caption);
    EXPECT_EQ("Please Select Customer Account Number", messages[0].text);
}

// A disk that fills while the statement's PDF is written: the file of that
// name stays as it was, and the outcome says that there was no room.
TEST_F(StatementTest, PdfOnAFullDiskLeavesTheOldFile)
{
    StatementOf(3);
    char path[MAX_PATH];
    int outcome = -1;
    ASSERT_EQ(1, QlStmtWritePdf(window, path, 0, &outcome));
    const std::string native = DbTestNativePath(folder + "\\STATEMENT.pdf");
    const std::string before = ReadNativeFile(native);
    ASSERT_GT(before.size(), 512u);
    {
        QlTestFileSizeLimit limit(512);
        if (!limit.ok()) GTEST_SKIP() << "this platform cannot fill a disk";
        EXPECT_EQ(0, QlStmtWritePdf(window, path, 0, &outcome));
        EXPECT_EQ(3, outcome);
    }
    EXPECT_EQ(before, ReadNativeFile(native));
}

TEST_F(StatementTest, PdfHoldsTwentyFiveLinesAPage)
{
    // Balances: 25 lines end at 13.00, 26 at -13.00.
    const struct {
        int lines;
        int pages;
        const char *total;
    } cases[] = {{25, 1, "Total Due Now: 13.00"}, {26, 2, "Total Due Now: -13.00"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.lines);
        std::vector<std::string> keys = StatementOf(c.lines);
        char path[MAX_PATH];
        int cancelled = -1;
        ASSERT_EQ(1, QlStmtWritePdf(window, path, 0, &cancelled));
        EXPECT_EQ(0, cancelled);
        EXPECT_STREQ("STATEMENT.pdf", path);
        std::string pdf = DbTestNativePath(folder + "\\STATEMENT.pdf");
        PdfInfo info;
        ASSERT_TRUE(QlTestPdfInfo(pdf, &info));
        EXPECT_EQ(c.pages, info.pages);
        EXPECT_NEAR(595.3, info.width, 0.5);
        EXPECT_TRUE(QlTestPdfCheck(pdf));
        std::string text = QlTestPdfText(pdf);
        for (const char *expected : {"STATEMENT", "Acme Widgets Ltd", "VAT No: GB123456", "Joe's Plumbing", "Invoice Amount", "5/02/2025",
                                     "1/01/2012"})
            EXPECT_NE(std::string::npos, text.find(expected)) << expected;
        std::vector<std::string> lines = QlTestPdfLines(QlTestPdfWords(pdf));
        EXPECT_EQ(c.total, lines.back());
        // The amounts stand at their cells' right, inside the inner margin:
        // the balances (the last column) all end at the table's right less it.
        const double left = info.height * 25.4 / 297, right = info.width - left;
        int balances = 0;
        for (const PdfWord &w : QlTestPdfWords(pdf)) {
            const bool amount = w.text.find('.') != std::string::npos && w.text.find_first_not_of("-0123456789.") ==
                                                                              std::string::npos;
            if (!amount || w.x0 < right - 0.2 * (right - left)) continue;
            EXPECT_NEAR(right - QL_PDF_CELL_INSET, w.x1, 1.0) << w.text;
            balances++;
        }
        EXPECT_EQ(c.lines, balances);
        if (c.pages == 1) {
            EXPECT_EQ(std::string::npos, text.find("Page 1"));
            continue;
        }
        std::string one = QlTestPdfText(pdf, 1), two = QlTestPdfText(pdf, 2);
        EXPECT_NE(std::string::npos, one.find("Page 1 of 2"));
        EXPECT_NE(std::string::npos, one.find("* Continued on next page *"));
        EXPECT_NE(std::string::npos, two.find("Page 2 of 2"));
        EXPECT_EQ(std::string::npos, two.find("Continued"));
        EXPECT_EQ(std::string::npos, one.find(c.total));
        // Line 26 alone on page 2, in 10-point type against page 1's 9.
        double height1 = 0, height2 = 0;
        for (const PdfWord &w : QlTestPdfWords(pdf)) {
            if (w.text == keys[24]) {
                EXPECT_EQ(1, w.page);
                height1 = w.y1 - w.y0;
            }
            if (w.text == keys[25]) {
                EXPECT_EQ(2, w.page);
                height2 = w.y1 - w.y0;
            }
        }
        ASSERT_GT(height1, 0);
        EXPECT_NEAR(10.0 / 9.0, height2 / height1, 0.02);
        std::string dir = QlTestArtifactDir();
        if (!dir.empty()) {
            EXPECT_TRUE(QlTestPdfToPng(pdf, 1, 110, dir + "/statement-pdf-page1.png"));
            EXPECT_TRUE(QlTestPdfToPng(pdf, 2, 110, dir + "/statement-pdf-page2.png"));
        }
    }
}

TEST_F(StatementTest, SavePdfAsksForTheFileAndReports)
{
    StatementOf(2);
    QlSeamGetSaveFileName = AnswerSaveDialog;

    // Cancelled: no file, no message.
    sSaveAnswer = "";
    ToolbarCommand(QL_STMT_CMD_PDF);
    EXPECT_EQ(1, sSaveDialogs);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("STATEMENT.pdf"));

    sSaveAnswer = folder + "\\January statement.pdf";
    StatusPanel status;
    ToolbarCommand(QL_STMT_CMD_PDF);
    EXPECT_TRUE(messages.empty());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(sSaveAnswer.c_str()));
    EXPECT_EQ("Statement saved as " + sSaveAnswer, status.Posted());

    // A file that cannot be written.
    sSaveAnswer = folder + "\\missing folder\\statement.pdf";
    ToolbarCommand(QL_STMT_CMD_PDF);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Failed to create PDF file", messages[0].text);

    // Without lines there is nothing to save.
    messages.clear();
    sSaveDialogs = 0;
    SendMessageA(Lines(), LVM_DELETEALLITEMS, 0, 0);
    ToolbarCommand(QL_STMT_CMD_PDF);
    EXPECT_EQ(0, sSaveDialogs);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Error", messages[0].caption);
    EXPECT_EQ("No form items", messages[0].text);
}

TEST_F(StatementTest, HtmlIsTheTemplateFilledWithEscapedTexts)
{
    QlCustRec rec = {};
    strcpy(rec.acref, "JO001");
    strcpy(rec.company, "Joe's Plumbing");
    strcpy(rec.addr1, "12 Pipe Lane");
    strcpy(rec.addr2, "Dublin");
    ASSERT_EQ(1, QlCustAdd(&rec, err)) << err;
    AddDoc(rec.iKey, 1, "14/01/2025", "120.00");
    AddDoc(rec.iKey, 3, "20/01/2025", "20.00");
    OpenStatement("JO001", 1, 1, 2025);
    std::string expected = Golden("statement.htm");
    ASSERT_FALSE(expected.empty());

    char path[80];
    ASSERT_EQ(1, QlStmtWriteHtml(window, path, &rec));
    EXPECT_STREQ("Statement.htm", path);
    EXPECT_EQ(expected, ReadNativeFile(DbTestNativePath(folder + "\\Statement.htm")));

    // Written again, the file is replaced; texts with markup characters are
    // escaped, in the customer's name and in the company's.
    strcpy(rec.company, "Smith & <Sons>");
    strcpy(QlSettings.cfg.companyName, "A&B <Trading>");
    ASSERT_EQ(1, QlStmtWriteHtml(window, path, &rec));
    std::string smith = expected;
    for (size_t at; (at = smith.find("Joe's Plumbing")) != std::string::npos;)
        smith.replace(at, 14, "Smith &amp; &lt;Sons&gt;");
    smith.replace(smith.find("Acme Widgets Ltd"), 16, "A&amp;B &lt;Trading&gt;");
    EXPECT_EQ(smith, ReadNativeFile(DbTestNativePath(folder + "\\Statement.htm")));

    // The tool bar's HTML writes the shown account's statement.
    DeleteFileA("Statement.htm");
    StatusPanel status;
    ToolbarCommand(QL_STMT_CMD_HTML);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ("Statement saved as " + folder + "\\Statement.htm", status.Posted());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("Statement.htm"));
}

TEST_F(StatementTest, HtmlReportsAFileItCouldNotWrite)
{
    StatementOf(40);
    QlCustRec rec;
    ASSERT_EQ(1, QlCustGetByAcRef("AC040", &rec, err));
    char path[80];

    // A write that fails half-way: the part written is removed.
    {
        QlTestFileSizeLimit limit(4096);
        if (limit.ok()) {
            EXPECT_EQ(0, QlStmtWriteHtml(window, path, &rec));
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("Statement.htm"));
        }
    }

    // A file that cannot be created: the command says so.
    ASSERT_TRUE(CreateDirectoryA("Statement.htm", NULL));
    EXPECT_EQ(0, QlStmtWriteHtml(window, path, &rec));
    ToolbarCommand(QL_STMT_CMD_HTML);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Error", messages[0].caption);
    EXPECT_EQ("The file Statement.htm could not be written.", messages[0].text);
    RemoveDirectoryA("Statement.htm");

    // A file held by another handle without sharing is left as it was, and
    // the command says why.
    HANDLE held = CreateFileA("Statement.htm", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    DWORD written = 0;
    WriteFile(held, "old", 3, &written, NULL);
    messages.clear();
    EXPECT_EQ(2, QlStmtWriteHtml(window, path, &rec));
    ToolbarCommand(QL_STMT_CMD_HTML);
    CloseHandle(held);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("The file is in use (an e-mail is being sent with it, or another program has it open) and was not "
              "replaced.",
              messages[0].text);
    EXPECT_EQ("old", ReadNativeFile(DbTestNativePath(folder + "\\Statement.htm")));
    DeleteFileA("Statement.htm");
}

TEST_F(StatementTest, LongTextsArePrintedAndWrittenWholeInRowsThatGrow)
{
    static const char kLong[] = "KIDS' SAFETY GOGGLES (EN166) WITH ANTI-FOG COATING AND ADJUSTABLE ELASTIC STRAP";
    StatementOf(20);
    // The window's own cells are dates, the type's word and amounts; the
    // printer and the PDF writer draw whatever its list holds, so a list
    // standing in for it (the same columns and cells) carries the long texts.
    HWND real = Lines();
    HWND stand = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 400, 200, window, NULL, NULL, NULL);
    ASSERT_NE(nullptr, stand);
    for (int c = 0; c < QL_STMT_COLUMNS; c++) {
        char title[128] = "";
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = title;
        column.cchTextMax = sizeof title;
        SendMessageA(real, LVM_GETCOLUMNA, c, (LPARAM)&column);
        SendMessageA(stand, LVM_INSERTCOLUMNA, c, (LPARAM)&column);
    }
    for (int r = 0; r < 20; r++) {
        LVITEMA row = {};
        row.mask = LVIF_TEXT;
        row.iItem = r;
        row.pszText = (char *)"";
        SendMessageA(stand, LVM_INSERTITEMA, 0, (LPARAM)&row);
        for (int c = 0; c < QL_STMT_COLUMNS; c++) {
            char cell[256] = "";
            LVITEMA get = {};
            get.iSubItem = c;
            get.pszText = cell;
            get.cchTextMax = sizeof cell;
            SendMessageA(real, LVM_GETITEMTEXTA, r, (LPARAM)&get);
            LVITEMA set = {};
            set.iSubItem = c;
            set.pszText = c == QL_STMT_COL_TYPE ? (char *)kLong : cell;
            SendMessageA(stand, LVM_SETITEMTEXTA, r, (LPARAM)&set);
        }
    }
    SetWindowLongPtrA(real, GWLP_ID, 0);
    SetWindowLongPtrA(stand, GWLP_ID, IDL_STMT_LINES);
    struct PutBack {
        HWND real, stand;
        ~PutBack()
        {
            SetWindowLongPtrA(stand, GWLP_ID, 0);
            SetWindowLongPtrA(real, GWLP_ID, IDL_STMT_LINES);
            DestroyWindow(stand);
        }
    } putBack = {real, stand};
    QlStmtPrintJob job;
    QlStmtPrintJobFrom(window, &job);
    MetafilePrinter printer;
    ASSERT_EQ(1, QlStmtDrawPages(printer.target(), &job));
    printer.finish();
    const std::string dir = QlTestArtifactDir();
    int seen = 0;
    for (size_t p = 0; p < printer.pageCount(); p++) {
        EmfRecords page = printer.records(p);
        for (size_t i = 0; i < page.texts.size(); i++) {
            if (page.texts[i].text.rfind("KIDS'", 0) != 0) continue;
            EmfRecords rest = page;
            rest.texts.erase(rest.texts.begin(), rest.texts.begin() + (long)i);
            EXPECT_EQ("", QlTestCellTextProblem(rest, kLong)) << "page " << p + 1;
            seen++;
        }
        if (!dir.empty()) printer.savePng(p, dir + "/statement-long-print-page" + std::to_string(p + 1) + ".png");
    }
    EXPECT_EQ(20, seen);
    EXPECT_TRUE(printer.records(printer.pageCount() - 1).hasText("Total Due Now:  -10.00"));
    if (printer.pageCount() > 1) EXPECT_TRUE(printer.records(0).hasText("* Continued on next page *"));

    QL_TEST_REQUIRE_UNIX();
    char path[MAX_PATH];
    int cancelled = -1;
    ASSERT_EQ(1, QlStmtWritePdf(window, path, 0, &cancelled));
    const std::string pdf = DbTestNativePath(folder + "\\STATEMENT.pdf");
    PdfInfo info;
    ASSERT_TRUE(QlTestPdfInfo(pdf, &info));
    const std::vector<PdfWord> words = QlTestPdfWords(pdf);
    const std::vector<PdfShape> shapes = QlTestPdfShapes(pdf);
    seen = 0;
    for (int p = 1; p <= info.pages; p++) {
        for (const PdfWord &w : words) {
            if (w.page != p || w.text != "KIDS'") continue;
            std::vector<PdfWord> from;
            for (const PdfWord &o : words)
                if (o.page == p && o.y1 <= w.y1 + 0.5) from.push_back(o);
            EXPECT_EQ("", QlTestPdfCellTextProblem(from, shapes, p, kLong)) << "page " << p;
            seen++;
        }
        if (!dir.empty()) QlTestPdfToPng(pdf, p, 110, dir + "/statement-long-pdf-page" + std::to_string(p) + ".png");
    }
    EXPECT_EQ(20, seen);
    EXPECT_NE(std::string::npos, QlTestPdfText(pdf, info.pages).find("Total Due Now: -10.00"));
}
