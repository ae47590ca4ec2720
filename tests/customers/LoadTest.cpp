// The user acting while the module's lists are still filling: every load runs
// the message pump once per row, so a click, a sort, closing the window or
// opening the module again run in the middle of it.
#include "CustTestSupport.h"

#include "ui/QlAppState.h"
#include "core/QlMoney.h"
#include "customers/QlCustModule.h"
#include "docmodel/QlOpeners.h"

#include <algorithm>
#include <functional>
#include <set>

namespace {

const int kAccounts = 300;

// Acts from inside a load: a message posted to a hidden window is passed
// along, each time the pump runs, until the module's overview list holds a
// number of rows; then the action runs.
struct MidLoad {
    int rows = 0;
    std::function<void()> action;
    int rowsAtAction = -1;
};
MidLoad *gMidLoad = nullptr;

LRESULT CALLBACK MidLoadProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_APP) return DefWindowProcA(window, msg, wParam, lParam);
    int rows = QlModuleWnd ? RowCount(GetDlgItem(QlModuleWnd, 1035)) : 0;
    if (gMidLoad && rows < gMidLoad->rows) {
        PostMessageA(window, WM_APP, 0, 0);
    } else if (gMidLoad) {
        MidLoad *mid = gMidLoad;
        gMidLoad = nullptr;
        mid->rowsAtAction = rows;
        mid->action();
    }
    return 0;
}

class LoadTest : public CustTest {
protected:
    void SetUp() override
    {
        CustTest::SetUp();
        QlCustModuleForget();
        QlUiPumpIntervalMs = 0;   // the pump looks at every row
        // A/C refs run against the keys; every account has a different
        // balance, and many share their whole units with others (-3.45,
        // -3.99): a sort must tell them apart by their cents.
        ASSERT_EQ(1, QlDbExec("begin;", err));
        for (int i = 0; i < kAccounts; i++) {
            char acref[6], company[40], balance[16];
            snprintf(acref, sizeof acref, "C%04d", kAccounts - i);
            snprintf(company, sizeof company, "Company %04d", i);
            // Accounts i and i + 150 share their units; their cents differ by 50.
            QlMoneyFormatCents(((i * 919) % 150 - 40) * 100 + (i * 37) % 100, balance, sizeof balance);
            AddTrans(AddCustomer(acref, company), 1, balance);
        }
        ASSERT_EQ(1, QlDbExec("commit;", err));

        WNDCLASSA wc = {};
        wc.lpfnWndProc = MidLoadProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "QlMidLoad";
        RegisterClassA(&wc);
        poster = CreateWindowExA(0, "QlMidLoad", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, GetModuleHandleA(NULL), NULL);
        ASSERT_NE(nullptr, poster);
    }

    void TearDown() override
    {
        gMidLoad = nullptr;
        QlUiPumpIntervalMs = 10;
        DestroyWindow(poster);
        CustTest::TearDown();
    }

    // Runs the action some rows into the next load.
    void During(std::function<void()> action)
    {
        mid.rows = kAccounts / 5;
        mid.action = std::move(action);
        gMidLoad = &mid;
        PostMessageA(poster, WM_APP, 0, 0);
    }

    void ExpectActedMidLoad()
    {
        EXPECT_GT(mid.rowsAtAction, 0);
        EXPECT_LT(mid.rowsAtAction, kAccounts);
    }

    // Both lists hold every account once, in the same order.
    void ExpectWholeLists(HWND window)
    {
        HWND overview = GetDlgItem(window, 1035), names = GetDlgItem(window, 1052);
        ASSERT_EQ(kAccounts, RowCount(overview));
        ASSERT_EQ(kAccounts, RowCount(names));
        std::vector<std::string> keys;
        for (int row = 0; row < kAccounts; row++) keys.push_back(Cell(overview, row, 3));
        EXPECT_EQ(kAccounts, (int)std::set<std::string>(keys.begin(), keys.end()).size());
    }

    static void SendToModule(int id)
    {
        HWND toolbar = FindWindowExA(QlModuleWnd, NULL, TOOLBARCLASSNAMEA, NULL);
        SendMessageA(QlModuleWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)toolbar);
    }

    static void ColumnClickOnModule(int column)
    {
        NMLISTVIEW nm = {};
        nm.hdr.hwndFrom = GetDlgItem(QlModuleWnd, 1035);
        nm.hdr.idFrom = 1035;
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iSubItem = column;
        SendMessageA(QlModuleWnd, WM_NOTIFY, 1035, (LPARAM)&nm);
    }

    int ModuleWindowsOfMain()
    {
        int count = 0;
        for (HWND child = FindWindowExA(main, NULL, "#32770", NULL); child;
             child = FindWindowExA(main, child, "#32770", NULL))
            count++;
        return count;
    }

    HWND poster = NULL;
    MidLoad mid;
};

}  // namespace

TEST_F(LoadTest, ClosingTheWindowWhileItFillsStopsTheLoad)
{
    During([] { SendToModule(13); });
    EXPECT_EQ(nullptr, QlCustOpenModule(main));
    ExpectActedMidLoad();
    EXPECT_EQ(nullptr, QlModuleWnd);
    EXPECT_EQ(0, QlCustModuleIsOpen());
    EXPECT_EQ(0, ModuleWindowsOfMain());

    // The module opens whole again afterwards.
    Open();
    ExpectWholeLists(module);
}

TEST_F(LoadTest, ResortingWhileItFillsShowsTheWholeSortedList)
{
    During([] { ColumnClickOnModule(0); });
    Open();
    ExpectActedMidLoad();
    ExpectWholeLists(module);
    std::vector<std::string> acrefs = Column(Overview(), 0);
    EXPECT_TRUE(std::is_sorted(acrefs.begin(), acrefs.end()));
    EXPECT_EQ("C0001", acrefs[0]);
    EXPECT_EQ(Column(Overview(), 1), Column(Names(), 0));
    EXPECT_EQ(Cell(Names(), Selected(Names()), 0), Field(1026));
}

TEST_F(LoadTest, BalanceSortMetWhileFillingAppliesToTheWholeList)
{
    During([] { ColumnClickOnModule(2); });
    Open();
    ExpectActedMidLoad();
    ExpectWholeLists(module);
    std::vector<int64_t> cents;
    for (const std::string &text : Column(Overview(), 2)) cents.push_back(QlMoneyParseCents(text.c_str()));
    EXPECT_TRUE(std::is_sorted(cents.rbegin(), cents.rend()));
    // The fixture holds balances that only their cents tell apart.
    std::set<int64_t> units;
    size_t sharing = 0;
    for (int64_t c : cents) sharing += !units.insert(c / 100).second;
    EXPECT_EQ(150u, sharing);
}

TEST_F(LoadTest, OpeningTheModuleAgainWhileItFillsLeavesOneWholeWindow)
{
    HWND inner = NULL;
    During([this, &inner] { inner = QlCustOpenModule(main); });
    EXPECT_EQ(nullptr, QlCustOpenModule(main));
    ExpectActedMidLoad();
    ASSERT_NE(nullptr, inner);
    EXPECT_EQ(inner, QlModuleWnd);
    EXPECT_EQ(1, ModuleWindowsOfMain());
    EXPECT_EQ(1, QlCustModuleIsOpen());
    ExpectWholeLists(inner);
}

TEST_F(LoadTest, ASortReordersTheListedAccountsWithoutALoad)
{
    // The accounts are in memory: a sort reads nothing and runs no pump, so
    // nothing can close the window in the middle of it.
    Open();
    During([] { SendToModule(13); });
    ColumnClick(1);
    EXPECT_EQ(-1, mid.rowsAtAction);
    ExpectWholeLists(module);
    std::vector<std::string> companies = Column(Overview(), 1);
    EXPECT_TRUE(std::is_sorted(companies.begin(), companies.end()));
    EXPECT_EQ(companies, Column(Names(), 0));

    // The close waiting in the queue then closes it whole.
    MSG msg;
    while (gMidLoad && PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_GT(mid.rowsAtAction, 0);
    EXPECT_FALSE(IsWindow(module));
    EXPECT_EQ(nullptr, QlModuleWnd);
    EXPECT_EQ(0, QlCustModuleIsOpen());
}
