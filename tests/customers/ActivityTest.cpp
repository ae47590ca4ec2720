// The account activity view (dialog 160): its filters, sorting, View and
// the printed list.  The dialog runs modeless here, so the test can send it
// messages; EndDialog then only hides it.
#include "CustTestSupport.h"
#include "QlTestPrint.h"

#include "ui/QlSeams.h"
#include "ui/QlWindow.h"
#include "customers/QlCustAccount.h"
#include "customers/QlCustCommands.h"
#include "customers/QlCustOpeners.h"
#include "resources/QlResIds.h"

#include <commctrl.h>
#include <string>
#include <vector>

namespace {

int sPrintDialogs;
BOOL WINAPI CountPrintDialog(LPPRINTDLGA)
{
    sPrintDialogs++;
    return FALSE;
}

class ActivityTest : public CustTest {
protected:
    void TearDown() override
    {
        if (view) DestroyWindow(view);
        CustTest::TearDown();
    }

    HWND OpenView(const char *acref)
    {
        memset(&QlCustContext, 0, sizeof QlCustContext);
        strcpy(QlCustContext.acref, acref);
        strcpy(QlCustContext.balance, "12.00");
        view = CreateDialogParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_CUST_ACTIVITY), main, QlCustAccountDlgProc, 0);
        EXPECT_NE(nullptr, view);
        ShowWindow(view, SW_SHOW);
        return view;
    }

    HWND List() const { return GetDlgItem(view, IDL_ACT_LIST); }
    std::vector<std::string> Keys() const { return Column(List(), 0); }

    void SetDate(int id, int day, int month, int year)
    {
        SYSTEMTIME st = {};
        st.wDay = (WORD)day;
        st.wMonth = (WORD)month;
        st.wYear = (WORD)year;
        SendDlgItemMessageA(view, id, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
    }

    void Choose(int comboId, int index)
    {
        SendDlgItemMessageA(view, comboId, CB_SETCURSEL, index, 0);
        SendMessageA(view, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), (LPARAM)GetDlgItem(view, comboId));
    }

    void Reload() { SendMessageA(view, WM_COMMAND, MAKEWPARAM(IDB_ACT_RELOAD, BN_CLICKED), 0); }

    void ClickColumn(int column)
    {
        NMLISTVIEW nm = {};
        nm.hdr.hwndFrom = List();
        nm.hdr.idFrom = IDL_ACT_LIST;
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iItem = -1;
        nm.iSubItem = column;
        SendMessageA(view, WM_NOTIFY, IDL_ACT_LIST, (LPARAM)&nm);
    }

    void ToolbarCommand(int id)
    {
        HWND toolbar = FindWindowExA(view, NULL, TOOLBARCLASSNAMEA, NULL);
        SendMessageA(view, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)toolbar);
    }

    static std::string Key(int64_t key) { return std::to_string(key); }

    HWND view = NULL;
};

}  // namespace

TEST_F(ActivityTest, ShowsTheAccountAndItsTransactionsInNumberOrder)
{
    int64_t cust = AddCustomer("JO001", "Joe's Plumbing");
    int64_t other = AddCustomer("AN000", "Another Ltd");
    int64_t a = AddDoc(cust, 1, "14/01/2025", "120.00", "100.00", "Boiler service");
    AddDoc(other, 1, "14/01/2025", "5.00");
    int64_t b = AddDoc(cust, 2, "15/01/2025", "10.00", "10.00", "Returned valve");
    int64_t c = AddDoc(cust, 3, "16/01/2025", "20.00");
    OpenView("JO001");

    char caption[128];
    GetWindowTextA(view, caption, sizeof caption);
    EXPECT_STREQ("Transaction History for Customer Account JO001", caption);
    char text[64];
    GetDlgItemTextA(view, IDT_ACT_ACREF, text, sizeof text);
    EXPECT_STREQ("JO001", text);
    GetDlgItemTextA(view, IDT_ACT_BALANCE, text, sizeof text);
    EXPECT_STREQ("12.00", text);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(view, IDP_ACT_FROM)));

    EXPECT_EQ((std::vector<std::string>{Key(a), Key(b), Key(c)}), Keys());
    EXPECT_EQ((std::vector<std::string>{"Invoice", "Credit note", "Payment"}), Column(List(), 2));
    EXPECT_EQ("Boiler service", Cell(List(), 0, 3));
    EXPECT_EQ("120.00", Cell(List(), 0, 4));
    EXPECT_EQ("100.00", Cell(List(), 0, 5));

    // "DATE RANGE" enables the pickers; back to "ALL DATES" disables them.
    Choose(IDC_ACT_DATES, 1);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(view, IDP_ACT_FROM)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(view, IDP_ACT_TO)));
    Choose(IDC_ACT_DATES, 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(view, IDP_ACT_TO)));
}

TEST_F(ActivityTest, FiltersByTypeAndByAnExactDateRange)
{
    int64_t cust = AddCustomer("JO001", "Joe's Plumbing");
    int64_t feb = AddDoc(cust, 1, "29/02/2012", "1.00");
    int64_t first = AddDoc(cust, 1, "1/03/2012", "2.00");
    int64_t credit = AddDoc(cust, 2, "10/03/2012", "3.00");
    int64_t payment = AddDoc(cust, 3, "15/03/2012", "4.00");
    int64_t last = AddDoc(cust, 1, "31/03/2012", "5.00");
    int64_t april = AddDoc(cust, 1, "1/04/2012", "6.00");
    int64_t quote = AddDoc(cust, 4, "20/03/2012", "7.00");
    AddDoc(AddCustomer("AN000", "Another Ltd"), 1, "5/03/2012", "8.00");
    OpenView("JO001");

    const struct {
        int dates, type;
        std::vector<int64_t> keys;
    } cases[] = {
        {0, 0, {feb, first, credit, payment, last, april, quote}},
        {0, 3, {payment}},
        {0, 4, {quote}},
        // March only: neither the last day of February nor the first of April.
        {1, 0, {first, credit, payment, last, quote}},
        {1, 1, {first, last}},
        {1, 2, {credit}},
    };
    SetDate(IDP_ACT_FROM, 1, 3, 2012);
    SetDate(IDP_ACT_TO, 31, 3, 2012);
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.dates) + " " + std::to_string(c.type));
        Choose(IDC_ACT_DATES, c.dates);
        Choose(IDC_ACT_TYPE, c.type);
        Reload();
        std::vector<std::string> expected;
        for (int64_t key : c.keys) expected.push_back(Key(key));
        EXPECT_EQ(expected, Keys());
    }
    EXPECT_TRUE(messages.empty());

    // A from date after the to date is refused and the list stays.
    std::vector<std::string> before = Keys();
    SetDate(IDP_ACT_FROM, 1, 4, 2012);
    Choose(IDC_ACT_DATES, 1);
    Choose(IDC_ACT_TYPE, 0);
    Reload();
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Error", messages[0].caption);
    EXPECT_EQ("Invalid date range", messages[0].text);
    EXPECT_EQ(before, Keys());
}

TEST_F(ActivityTest, SortsDatesAsDatesAndAmountsByValue)
{
    int64_t cust = AddCustomer("JO001", "Joe's Plumbing");
    int64_t a = AddDoc(cust, 1, "10/01/2025", "100.00", "20.00", "b");
    int64_t b = AddDoc(cust, 1, "2/01/2025", "20.00", "100.00", "c");
    int64_t c = AddDoc(cust, 3, "1/12/2024", "5.50", "-0.50", "a");
    OpenView("JO001");

    const struct {
        int column;
        std::vector<int64_t> keys;
    } cases[] = {
        {1, {c, b, a}},   // 1/12/2024, 2/01/2025, 10/01/2025
        {3, {c, a, b}},
        {4, {c, b, a}},   // 5.50, 20.00, 100.00
        {5, {c, a, b}},   // -0.50, 20.00, 100.00
        {2, {a, b, c}},   // invoices, then the payment; equal types by number
        {0, {a, b, c}},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.column);
        std::vector<std::string> expected;
        for (int64_t key : k.keys) expected.push_back(Key(key));
        // Every click sorts ascending.
        for (int click = 0; click < 2; click++) {
            ClickColumn(k.column);
            EXPECT_EQ(expected, Keys());
        }
    }
}

TEST_F(ActivityTest, ViewTakesTheSelectedTransaction)
{
    int64_t cust = AddCustomer("JO001", "Joe's Plumbing");
    AddDoc(cust, 1, "14/01/2025", "120.00");
    int64_t payment = AddDoc(cust, 3, "16/01/2025", "20.00");
    OpenView("JO001");

    // Nothing selected: the view stays open and nothing is chosen.
    ToolbarCommand(QL_ACT_CMD_VIEW);
    EXPECT_EQ(nullptr, QlCustAccountChosen);
    EXPECT_TRUE(IsWindowVisible(view));
    // Enter's IDOK is not the tool bar's View.
    Click(List(), 1);
    SendMessageA(view, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(nullptr, QlCustAccountChosen);

    ToolbarCommand(QL_ACT_CMD_VIEW);
    ASSERT_NE(nullptr, QlCustAccountChosen);
    EXPECT_EQ(payment, QlCustAccountChosen->iKey);
    EXPECT_EQ(3u, QlCustAccountChosen->type);
    EXPECT_FALSE(IsWindowVisible(view));   // the dialog ended
}

TEST_F(ActivityTest, PrintsThirtyFiveRowsAPage)
{
    int64_t cust = AddCustomer("JO001", "Joe's Plumbing");
    for (int i = 1; i <= 36; i++) {
        char gross[16];
        snprintf(gross, sizeof gross, "%d.00", i * 10);
        AddDoc(cust, i % 3 == 0 ? 3 : 1, "14/01/2025", gross, gross, "Monthly maintenance");
    }
    OpenView("JO001");

    const struct {
        int rows;
        size_t pages;
    } cases[] = {{36, 2}, {35, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.rows);
        while (RowCount(List()) > c.rows) SendMessageA(List(), LVM_DELETEITEM, RowCount(List()) - 1, 0);
        QlCustAccountPrintJob job;
        ASSERT_EQ(c.rows, QlCustAccountPrintJobFrom(view, &job));
        MetafilePrinter printer;
        ASSERT_EQ(1, QlCustAccountDrawList(printer.target(), &job));
        printer.finish();
        ASSERT_EQ(c.pages, printer.pageCount());
        for (size_t p = 0; p < c.pages; p++) {
            EmfRecords page = printer.records(p);
            char heading[64];
            snprintf(heading, sizeof heading, "Transactions (Page %d of %d)", (int)p + 1, (int)c.pages);
            EXPECT_TRUE(page.hasText(heading)) << page.allText();
            EXPECT_TRUE(page.hasText("Description"));
        }
        EmfRecords last = printer.records(c.pages - 1);
        EXPECT_EQ(1, last.fontsDeleted);
        EXPECT_TRUE(last.hasText(std::to_string(c.rows * 10) + ".00"));
        if (c.pages == 2) {
            // The second page holds the 36th row alone.
            EXPECT_FALSE(last.hasText("350.00"));
            EXPECT_FALSE(printer.records(0).hasText("360.00"));
            // Amounts end inside their column's right line, descriptions
            // start inside their left line, by 10 pixels on a 600 dpi
            // printer and 2 on the screen's resolution.
            const RECT &margins = printer.target()->page;
            int width = margins.right - margins.left;
            int x[6] = {margins.left};
            const int percent[] = {16, 12, 16, 22, 17};
            for (int j = 0; j < 5; j++) x[j + 1] = x[j] + width * percent[j] / 100;
            EmfRecords first = printer.records(0);
            const EmfText *amount = first.findText("350.00");
            ASSERT_NE(nullptr, amount);
            int inset = MulDiv(10, QlTestA4Caps().logPixelsX, 600);
            if (inset < 2) inset = 2;
            EXPECT_NEAR(x[5] - inset, amount->right, 2);
            const EmfText *desc = first.findText("Monthly maintenance");
            ASSERT_NE(nullptr, desc);
            EXPECT_EQ(x[3] + inset, desc->x);
            std::string dir = QlTestArtifactDir();
            if (!dir.empty()) {
                EXPECT_TRUE(printer.savePng(0, dir + "/activity-list-page1.png"));
                EXPECT_TRUE(printer.savePng(1, dir + "/activity-list-page2.png"));
            }
        }
    }

    // An empty list is not printed.
    SendMessageA(List(), LVM_DELETEALLITEMS, 0, 0);
    sPrintDialogs = 0;
    QlSeamPrintDialog = CountPrintDialog;
    ToolbarCommand(QL_ACT_CMD_PRINT);
    EXPECT_EQ(0, sPrintDialogs);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Transaction List Empty", messages[0].caption);
    EXPECT_EQ("Nothing to print in this report", messages[0].text);
}
