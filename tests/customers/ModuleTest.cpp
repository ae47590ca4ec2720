// The customers module window: its lists and balances, clicks, find,
// sorting, the maximised layout and restore.
#include "CustTestSupport.h"
#include "UiTestSupport.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "core/QlMoney.h"
#include "customers/QlCustModule.h"
#include "settings/QlSettings.h"

#include <algorithm>

namespace {

class ModuleTest : public CustTest {
protected:
    void SetUp() override
    {
        CustTest::SetUp();
        QlCustModuleForget();
    }

    // Four accounts whose A/C refs, companies, keys and balances all order
    // differently; one more that is deleted.
    void AddFour()
    {
        beta = AddCustomer("CC000", "Beta Ltd");
        gamma = AddCustomer("AA000", "Gamma plc");
        alpha = AddCustomer("BB000", "Alpha & Co");
        delta = AddCustomer("DD000", "Delta");
        AddTrans(beta, 1, "5.00");
        AddTrans(gamma, 1, "-20.00");
        AddTrans(alpha, 1, "60.00");
        AddTrans(alpha, 1, "40.00");
        AddTrans(alpha, 2, "30.00");   // a credit note does not count
        int64_t gone = AddCustomer("EE000", "Echo");
        ASSERT_EQ(1, QlDbDisableRow(gone, "customers", err));
    }

    std::string ShownKeyInNames() { return Cell(Names(), Selected(Names()), 1); }

    int64_t beta = 0, gamma = 0, alpha = 0, delta = 0;
};

const int kFormIds[] = {1057, 1058, 1026, 1028, 1029, 1030, 1027, 1016, 1019, 1017, 1018, 1011, 1181, 1012, 1178};

}  // namespace

TEST_F(ModuleTest, NoAccountsLeaveTheListsEmptyAndTheFormDisabled)
{
    Open();
    EXPECT_EQ(module, QlModuleWnd);
    EXPECT_EQ(1, QlCustModuleIsOpen());
    EXPECT_EQ(0, RowCount(Overview()));
    EXPECT_EQ(0, RowCount(Names()));
    for (int id : kFormIds) EXPECT_FALSE(IsWindowEnabled(GetDlgItem(module, id))) << id;
    HWND toolbar = FindWindowExA(module, NULL, TOOLBARCLASSNAMEA, NULL);
    EXPECT_EQ(14, (int)SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    EXPECT_NE(nullptr, FindWindowExA(module, NULL, "STATIC", "Customer Accounts"));
    EXPECT_TRUE(messages.empty());

    Command(13);
    EXPECT_FALSE(IsWindow(module));
    EXPECT_EQ(nullptr, QlModuleWnd);
    EXPECT_EQ(0, QlCustModuleIsOpen());
}

TEST_F(ModuleTest, ListsShowTheEnabledAccountsWithTheirInvoiceBalances)
{
    AddFour();
    Open();
    ASSERT_EQ(4, RowCount(Overview()));
    ASSERT_EQ(4, RowCount(Names()));
    EXPECT_EQ((std::vector<std::string>{"CC000", "AA000", "BB000", "DD000"}), Column(Overview(), 0));
    EXPECT_EQ((std::vector<std::string>{"Beta Ltd", "Gamma plc", "Alpha & Co", "Delta"}), Column(Overview(), 1));
    EXPECT_EQ((std::vector<std::string>{"5.00", "-20.00", "100.00", "0.00"}), Column(Overview(), 2));
    EXPECT_EQ((std::vector<std::string>{"1", "2", "3", "4"}), Column(Overview(), 3));
    EXPECT_EQ(Column(Overview(), 1), Column(Names(), 0));
    EXPECT_EQ(Column(Overview(), 3), Column(Names(), 1));

    char title[64] = "";
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT;
    col.pszText = title;
    col.cchTextMax = sizeof title;
    SendMessageA(Overview(), LVM_GETCOLUMNA, 2, (LPARAM)&col);
    EXPECT_STREQ("Current Balance", title);

    // The first account is shown; a click on a name shows that account.
    EXPECT_EQ(0, Selected(Names()));
    EXPECT_EQ("Beta Ltd", Field(1026));
    EXPECT_EQ("CC000", Field(1130));
    EXPECT_EQ("5.00", Field(1133));
    Click(Names(), 2);
    EXPECT_EQ("Alpha & Co", Field(1026));
    EXPECT_EQ("100.00", Field(1133));
    for (int id : kFormIds) EXPECT_TRUE(id == 1181 || id == 1178 || IsWindowEnabled(GetDlgItem(module, id))) << id;

    // A click on the overview shows the account and selects it in the name list.
    Click(Overview(), 1);
    EXPECT_EQ("Gamma plc", Field(1026));
    EXPECT_EQ("-20.00", Field(1133));
    EXPECT_EQ(std::to_string(gamma), ShownKeyInNames());
}

TEST_F(ModuleTest, EachColumnSortsBothWays)
{
    AddFour();
    Open();
    const struct {
        int column;
        std::vector<std::string> ascending;   // overview column 1 (company) in ascending order
    } cases[] = {
        {0, {"Gamma plc", "Alpha & Co", "Beta Ltd", "Delta"}},
        {1, {"Alpha & Co", "Beta Ltd", "Delta", "Gamma plc"}},
        {3, {"Beta Ltd", "Gamma plc", "Alpha & Co", "Delta"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.column);
        std::vector<std::string> descending(c.ascending.rbegin(), c.ascending.rend());
        const std::vector<std::string> *orders[] = {&c.ascending, &descending};
        for (const auto *order : orders) {
            ColumnClick(c.column);
            EXPECT_EQ(*order, Column(Overview(), 1));
            EXPECT_EQ(*order, Column(Names(), 0));   // the name list follows
            EXPECT_EQ(0, Selected(Names()));
            EXPECT_EQ((*order)[0], Field(1026));
        }
    }

    // Balance: the largest first, then the smallest first; a negative balance is
    // the smallest.  The name list keeps its order.
    std::vector<std::string> names = Column(Names(), 0);
    ColumnClick(2);
    EXPECT_EQ((std::vector<std::string>{"100.00", "5.00", "0.00", "-20.00"}), Column(Overview(), 2));
    EXPECT_EQ((std::vector<std::string>{"BB000", "CC000", "DD000", "AA000"}), Column(Overview(), 0));
    ColumnClick(2);
    EXPECT_EQ((std::vector<std::string>{"-20.00", "0.00", "5.00", "100.00"}), Column(Overview(), 2));
    EXPECT_EQ(names, Column(Names(), 0));
}

TEST_F(ModuleTest, FindByAcRefFirstThenByPartOfTheCompany)
{
    AddFour();
    Open();
    const struct {
        const char *acref, *company, *found;
    } cases[] = {
        {"BB000", "Gamma", "Alpha & Co"},   // the A/C ref wins over an earlier company match
        {"", "amm", "Gamma plc"},
        {"ZZ999", "elt", "Delta"},
        {"", "Ltd", "Beta Ltd"},
        {"", "beta", "Beta Ltd"},           // no match (case counts): nothing changes
        {"", "", "Beta Ltd"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.acref) + "/" + c.company);
        SetDlgItemTextA(module, 1057, c.acref);
        SetDlgItemTextA(module, 1058, c.company);
        SendMessageA(module, WM_COMMAND, MAKEWPARAM(1054, BN_CLICKED), (LPARAM)GetDlgItem(module, 1054));
        EXPECT_EQ(c.found, Field(1026));
        EXPECT_EQ(c.found, Cell(Overview(), Selected(Overview()), 1));
        EXPECT_EQ(c.found, Cell(Names(), Selected(Names()), 0));
    }
}

TEST_F(ModuleTest, TypingInAListFindsTheAccountAndTheFormFollows)
{
    AddFour();
    Open();
    // The name list: the next company that begins with the letter; the
    // overview: the A/C ref.
    SetFocus(Names());
    SendMessageA(Names(), WM_CHAR, 'g', 1);
    EXPECT_EQ("Gamma plc", Cell(Names(), Selected(Names()), 0));
    EXPECT_EQ("Gamma plc", Field(1026));
    SetFocus(Overview());
    SendMessageA(Overview(), WM_CHAR, 'd', 1);
    EXPECT_EQ("DD000", Cell(Overview(), Selected(Overview()), 0));
    EXPECT_EQ("Delta", Field(1026));
    EXPECT_EQ(std::to_string(delta), ShownKeyInNames());
}

TEST_F(ModuleTest, MaximisedLayoutAndRestoreKeepTheAccount)
{
    AddFour();
    Open();
    SendMessageA(module, QL_WM_MAIN_MAXIMIZED, 0, 0);
    RECT client;
    GetClientRect(module, &client);
    HWND toolbar = FindWindowExA(module, NULL, TOOLBARCLASSNAMEA, NULL);
    RECT bar = RectInParent(toolbar);
    RECT names = RectInParent(Names());
    RECT discount = RectInParent(GetDlgItem(module, 1181));
    RECT company = RectInParent(GetDlgItem(module, 1026));
    RECT overview = RectInParent(Overview());
    EXPECT_EQ(client.bottom, bar.bottom);
    EXPECT_EQ(client.bottom - (bar.bottom - bar.top) - 5, names.bottom);
    EXPECT_EQ(names.bottom, discount.bottom);
    EXPECT_EQ(company.top - 5, overview.bottom);

    // Sorted by company, an account chosen: the rebuilt module shows it again.
    ColumnClick(1);
    Click(Names(), 2);
    std::string shown = Field(1026);
    HWND before = module;
    SendMessageA(module, QL_WM_MAIN_RESTORED, 0, 0);
    module = QlModuleWnd;
    ASSERT_NE(nullptr, module);
    EXPECT_NE(before, module);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(shown, Field(1026));
    EXPECT_EQ(shown, Cell(Names(), Selected(Names()), 0));
}

TEST_F(ModuleTest, ThousandsOfAccountsLoadSortAndShow)
{
    // Beyond the first 2000 slots of the balance table, twice over.
    const int kAccounts = 2500;
    ASSERT_EQ(1, QlDbExec("begin;", err));
    for (int i = 0; i < kAccounts; i++) {
        char acref[6], company[40], balance[16];
        snprintf(acref, sizeof acref, "C%04d", i);
        snprintf(company, sizeof company, "Company %04d", i);
        int64_t key = AddCustomer(acref, company);
        snprintf(balance, sizeof balance, "%d.%02d", (i * 37) % 1000 - 500, i % 100);
        if (i % 5) AddTrans(key, 1, balance);
    }
    ASSERT_EQ(1, QlDbExec("commit;", err));

    for (int opening = 0; opening < 2; opening++) {
        SCOPED_TRACE(opening);
        Open();
        ASSERT_EQ(kAccounts, RowCount(Overview()));
        ASSERT_EQ(kAccounts, RowCount(Names()));
        EXPECT_EQ("C2499", Cell(Overview(), kAccounts - 1, 0));
        for (int click = 0; click < 2; click++) {
            ColumnClick(2);
            std::vector<int64_t> cents;
            for (const std::string &text : Column(Overview(), 2)) cents.push_back(QlMoneyParseCents(text.c_str()));
            if (click == 0)
                EXPECT_TRUE(std::is_sorted(cents.rbegin(), cents.rend()));   // the largest first
            else
                EXPECT_TRUE(std::is_sorted(cents.begin(), cents.end()));
            EXPECT_NE(cents.front(), cents.back());
        }
        Command(13);
    }
}

TEST_F(ModuleTest, TextsFollowTheLanguage)
{
    QlSettings.cfg.language = 2;   // French: the form takes the short company label
    Open();
    EXPECT_EQ("Soci\xe9t\xe9", Field(1322));
    EXPECT_EQ("Rechercher", Field(1054));
    EXPECT_NE(nullptr, FindWindowExA(module, NULL, "STATIC", "Comptes clients"));
    HWND toolbar = FindWindowExA(module, NULL, TOOLBARCLASSNAMEA, NULL);
    char label[64] = "";
    SendMessageA(toolbar, TB_GETBUTTONTEXTA, 0, (LPARAM)label);
    EXPECT_STREQ("Nouveau", label);
    QlSettings.cfg.language = 0;
}
