// The suppliers window (template 323): the list and its sorts, the fields of
// the focused supplier, Save and Delete.
#include "SuppTestSupport.h"

#include "ui/QlAppState.h"
#include "ui/QlSeams.h"
#include "ui/QlWindow.h"
#include "docmodel/QlOpeners.h"
#include "purchasing/QlPurchOpen.h"
#include "purchasing/QlSuppCurrent.h"
#include "purchasing/QlSuppliers.h"
#include "resources/QlResIds.h"
#include "settings/QlSettings.h"

#include <commctrl.h>

namespace {

class WindowTest : public SuppTest {
protected:
    std::vector<std::string> Refs() const { return Column(List(), 0); }
    int Focused() const { return (int)SendMessageA(List(), LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED); }
    std::string Stored(const char *column, int64_t key)
    {
        char sql[160];
        snprintf(sql, sizeof sql, "select %s from suppliers where iKey=%lld", column, (long long)key);
        return Scalar(sql);
    }
};

TEST_F(WindowTest, AnEmptyTableLeavesTheFieldsEmptyAndSaveAndDeleteDoNothing)
{
    OpenWindow();
    EXPECT_EQ(window, QlModuleWnd);
    EXPECT_EQ(window, QlSuppWnd);
    EXPECT_EQ(0, RowCount(List()));
    EXPECT_EQ("", Text(IDT_SUPP_ACREF));
    EXPECT_EQ("", Text(IDE_SUPP_COMPANY));
    Toolbar(window, QL_SUPP_CMD_SAVE);
    Toolbar(window, QL_SUPP_CMD_DELETE);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ("0", Scalar("select count(*) from suppliers"));
}

TEST_F(WindowTest, ListsTheEnabledSuppliersAndShowsTheFirst)
{
    int64_t bravo = AddSupplier("BR000", "Bravo Supplies");
    AddSupplier("AL000", "Alpha Metals");
    ASSERT_EQ(1, QlSuppDisable(AddSupplier("GO000", "Gone Ltd"), err));
    OpenWindow();

    EXPECT_EQ((std::vector<std::string>{"BR000", "AL000"}), Refs());
    EXPECT_EQ("Bravo Supplies", Cell(List(), 0, 1));
    EXPECT_EQ(std::to_string(bravo), Cell(List(), 0, 2));
    EXPECT_EQ(0, Focused());
    EXPECT_EQ("BR000", Text(IDT_SUPP_ACREF));
    EXPECT_EQ("Bravo Supplies", Text(IDE_SUPP_COMPANY));
    EXPECT_EQ("1 Mill Lane", Text(IDE_SUPP_ADDR1));

    // The labels, the list's titles and the heading in the language.
    EXPECT_EQ("Supplier-Acc", Text(IDT_SUPP_ACREF_LABEL));
    EXPECT_EQ("Company name:", Text(IDT_SUPP_COMPANY_LABEL));
    EXPECT_EQ("Company contact name", Text(IDT_SUPP_CONTACT_LABEL));
    char title[64] = "";
    QlListGetColumnText(List(), 0, title, sizeof title);
    EXPECT_STREQ("Supplier-Acc", title);
    EXPECT_STREQ("Activity", QlSuppToolbarTable[5].text);

    // The list takes the left half, the fields start right of the middle.
    RECT list = {}, company = {}, client = {};
    GetClientRect(window, &client);
    GetWindowRect(List(), &list);
    GetWindowRect(GetDlgItem(window, IDE_SUPP_COMPANY), &company);
    MapWindowPoints(NULL, window, (POINT *)&list, 2);
    MapWindowPoints(NULL, window, (POINT *)&company, 2);
    EXPECT_EQ(0, list.left);
    EXPECT_LT(list.right, company.left);
    EXPECT_GE(company.left, client.right / 2);
    EXPECT_LE(company.right, client.right);
}

TEST_F(WindowTest, TheFrenchFormNamesTheCompanyItsOwnWay)
{
    QlSettings.cfg.language = 2;
    AddSupplier("BR000", "Bravo Supplies");
    OpenWindow();
    EXPECT_EQ("Raison sociale: ", Text(IDT_SUPP_COMPANY_LABEL));
    QlSettings.cfg.language = 0;
}

TEST_F(WindowTest, FocusingARowShowsItsSupplierAndTheNextWindowSelectsThatRow)
{
    AddSupplier("BR000", "Bravo Supplies");
    AddSupplier("AL000", "Alpha Metals", "9 Foundry Road");
    OpenWindow();
    Focus(1);
    EXPECT_EQ("AL000", Text(IDT_SUPP_ACREF));
    EXPECT_EQ("9 Foundry Road", Text(IDE_SUPP_ADDR1));
    QlUiClosePane(window);
    EXPECT_EQ(nullptr, QlSuppWnd);
    OpenWindow();
    EXPECT_EQ(1, Focused());
    EXPECT_EQ("AL000", Text(IDT_SUPP_ACREF));
}

TEST_F(WindowTest, SaveWritesTheFieldsButNeverTheAcRefOrTheBalance)
{
    int64_t key = AddSupplier("BR000", "Bravo Supplies");
    AddSupplier("AL000", "Alpha Metals");
    NativeExec("update suppliers set balance='12.34' where acref='BR000'");
    OpenWindow();
    SetDlgItemTextA(window, IDE_SUPP_COMPANY, "Bravo O'Neill & Sons");
    SetDlgItemTextA(window, IDE_SUPP_ADDR2, "Upper Mill");
    SetDlgItemTextA(window, IDE_SUPP_EMAIL, "orders@bravo.test");
    SetDlgItemTextA(window, IDE_SUPP_FAX, "0123 999");
    Toolbar(window, QL_SUPP_CMD_SAVE);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ("Bravo O'Neill & Sons", Stored("company", key));
    EXPECT_EQ("Upper Mill", Stored("addr2", key));
    EXPECT_EQ("orders@bravo.test", Stored("wemail", key));
    EXPECT_EQ("0123 999", Stored("fax", key));
    EXPECT_EQ("BR000", Stored("acref", key));
    EXPECT_EQ("12.34", Stored("balance", key));
    // The list shows the new name at once and keeps its order.
    EXPECT_EQ("Bravo O'Neill & Sons", Cell(List(), 0, 1));
    EXPECT_EQ((std::vector<std::string>{"BR000", "AL000"}), Refs());
}

// A name or first address line of blanks only is an empty one.
TEST_F(WindowTest, SaveRefusesAnEmptyOrBlankCompanyOrAddress)
{
    int64_t key = AddSupplier("BR000", "Bravo Supplies");
    OpenWindow();
    const struct {
        const char *company, *addr1;
        bool refused;
    } cases[] = {{"", "1 Mill Lane", true},    {"Bravo", "", true},         {"   ", "1 Mill Lane", true},
                 {"Bravo", " \t ", true},     {" Bravo ", "1 Mill Lane", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string("'") + c.company + "' / '" + c.addr1 + "'");
        messages.clear();
        SetDlgItemTextA(window, IDE_SUPP_COMPANY, c.company);
        SetDlgItemTextA(window, IDE_SUPP_ADDR1, c.addr1);
        Toolbar(window, QL_SUPP_CMD_SAVE);
        if (c.refused) {
            ASSERT_EQ(1u, messages.size());
            EXPECT_EQ("Invalid Input", messages[0].caption);
            EXPECT_EQ("Fill in company name and address", messages[0].text);
            EXPECT_EQ((COLORREF)13311, messages[0].colour);
            EXPECT_EQ("Bravo Supplies", Stored("company", key));
        } else {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ("Bravo", Stored("company", key));
        }
    }
}

TEST_F(WindowTest, SaveNeverWritesOneSuppliersFieldsOverAnother)
{
    int64_t bravo = AddSupplier("BR000", "Bravo Supplies");
    OpenWindow();
    // The fields show another supplier than the focused row holds: nothing
    // is written, and the user is told so.
    SetDlgItemTextA(window, IDT_SUPP_ACREF, "AL000");
    SetDlgItemTextA(window, IDE_SUPP_COMPANY, "Alpha Metals");
    Toolbar(window, QL_SUPP_CMD_SAVE);
    EXPECT_EQ("Bravo Supplies", Stored("company", bravo));
    EXPECT_EQ("BR000", Stored("acref", bravo));
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Nothing was saved: choose the supplier in the list", messages[0].text);

    // No focused row (the user took the selection away): the same.
    messages.clear();
    SetDlgItemTextA(window, IDT_SUPP_ACREF, "BR000");
    LVITEMA none = {};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(List(), LVM_SETITEMSTATE, 0, (LPARAM)&none);
    Toolbar(window, QL_SUPP_CMD_SAVE);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Nothing was saved: choose the supplier in the list", messages[0].text);
    EXPECT_EQ("Bravo Supplies", Stored("company", bravo));
}

TEST_F(WindowTest, EnterAndEscapeAreNotSaveAndDelete)
{
    int64_t key = AddSupplier("BR000", "Bravo Supplies");
    OpenWindow();
    SetDlgItemTextA(window, IDE_SUPP_COMPANY, "Changed");
    SendMessageA(window, WM_COMMAND, IDOK, 0);
    SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ("Bravo Supplies", Stored("company", key));
    EXPECT_EQ("yes", Stored("enabled", key));
}

TEST_F(WindowTest, DeleteRefusesASupplierWithLiveOrdersOrTransactions)
{
    int64_t withLine = AddSupplier("LI000", "Line Only");
    int64_t withTrans = AddSupplier("TR000", "Trans Only");
    int64_t allGone = AddSupplier("GO000", "All Disabled");
    QlOrderRec line = {};
    line.iSupplierRowId = withLine;
    line.iTxRowId = 77;
    ASSERT_EQ(1, QlOrderAdd(&line, err)) << err;
    AddOrder(withTrans, "1/2/2026", "Pipes", "10.00");
    QlOrderRec oldLine = {};
    oldLine.iSupplierRowId = allGone;
    ASSERT_EQ(1, QlOrderAdd(&oldLine, err)) << err;
    int64_t oldOrder = AddOrder(allGone, "1/2/2026", "Old", "5.00");
    char sql[128];
    snprintf(sql, sizeof sql, "update orders set enabled='no' where iKey=%lld", (long long)oldLine.iKey);
    NativeExec(sql);
    ASSERT_EQ(1, QlDbDisableRow(oldOrder, "trans", err)) << err;
    OpenWindow();

    for (int row : {0, 1}) {
        messages.clear();
        Focus(row);
        Toolbar(window, QL_SUPP_CMD_DELETE);
        ASSERT_EQ(1u, messages.size()) << row;
        EXPECT_EQ("Cannot Delete Account", messages[0].caption);
        EXPECT_EQ("Supplier has transactions", messages[0].text);
    }
    EXPECT_EQ("yes", Stored("enabled", withLine));
    EXPECT_EQ("yes", Stored("enabled", withTrans));

    messages.clear();
    Focus(2);
    Toolbar(window, QL_SUPP_CMD_DELETE);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("ACCOUNT DELETE CONFIRMATION", messages[0].caption);
    EXPECT_EQ("Delete Account GO000. Are you sure?", messages[0].text);
    EXPECT_EQ("no", Stored("enabled", allGone));
    EXPECT_EQ((std::vector<std::string>{"LI000", "TR000"}), Refs());
}

TEST_F(WindowTest, DeleteAsksFirstAndTheLastRowGoneEmptiesTheFields)
{
    int64_t key = AddSupplier("BR000", "Bravo Supplies");
    OpenWindow();
    answer = 0;
    Toolbar(window, QL_SUPP_CMD_DELETE);
    EXPECT_EQ("yes", Stored("enabled", key));
    EXPECT_EQ(1, RowCount(List()));
    answer = 1;
    Toolbar(window, QL_SUPP_CMD_DELETE);
    EXPECT_EQ("no", Stored("enabled", key));
    EXPECT_EQ(0, RowCount(List()));
    EXPECT_EQ("", Text(IDT_SUPP_ACREF));
    EXPECT_EQ("", Text(IDE_SUPP_COMPANY));
}

TEST_F(WindowTest, DeleteWithAFailingTransQueryRefuses)
{
    int64_t key = AddSupplier("BR000", "Bravo Supplies");
    OpenWindow();
    QlDbExecHook = [](const char *sql) { return strstr(sql, "from trans") != NULL ? 1 : 0; };
    Toolbar(window, QL_SUPP_CMD_DELETE);
    QlDbExecHook = NULL;
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Supplier has transactions", messages[0].text);
    EXPECT_EQ("yes", Stored("enabled", key));
}

TEST_F(WindowTest, DeleteWithAFailingOrdersQuerySaysWhyAndRefuses)
{
    int64_t key = AddSupplier("BR000", "Bravo Supplies");
    OpenWindow();
    QlDbExecHook = [](const char *sql) { return strstr(sql, "from orders") != NULL ? 1 : 0; };
    Toolbar(window, QL_SUPP_CMD_DELETE);
    QlDbExecHook = NULL;
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ(QL_DB_ERR_INJECTED, messages[0].text);
    EXPECT_EQ("yes", Stored("enabled", key));
}

TEST_F(WindowTest, EachColumnSortsItsOwnWayAndTheSelectionKeepsItsPosition)
{
    AddSupplier("CH000", "Alpha");
    AddSupplier("AL000", "Charlie");
    AddSupplier("BR000", "Bravo");
    OpenWindow();
    Focus(1);
    EXPECT_EQ("AL000", Text(IDT_SUPP_ACREF));

    ColumnClick(1);
    EXPECT_EQ((std::vector<std::string>{"CH000", "BR000", "AL000"}), Refs());   // company ascending
    EXPECT_EQ(1, Focused());
    EXPECT_EQ("BR000", Text(IDT_SUPP_ACREF));   // the row at the same position
    ColumnClick(1);
    EXPECT_EQ((std::vector<std::string>{"AL000", "BR000", "CH000"}), Refs());   // company descending
    ColumnClick(0);
    EXPECT_EQ((std::vector<std::string>{"AL000", "BR000", "CH000"}), Refs());   // A/C ref ascending
    ColumnClick(0);
    EXPECT_EQ((std::vector<std::string>{"CH000", "BR000", "AL000"}), Refs());
    ColumnClick(2);
    EXPECT_EQ((std::vector<std::string>{"CH000", "AL000", "BR000"}), Refs());   // row id ascending
}

TEST_F(WindowTest, ARememberedRowBeyondTheListSelectsNothing)
{
    AddSupplier("AA000", "One");
    AddSupplier("BB000", "Two");
    int64_t third = AddSupplier("CC000", "Three");
    OpenWindow();
    Focus(2);
    QlUiClosePane(window);
    ASSERT_EQ(1, QlSuppDisable(third, err));
    OpenWindow();
    EXPECT_EQ(2, RowCount(List()));
    EXPECT_EQ(-1, Focused());
    EXPECT_EQ("", Text(IDT_SUPP_ACREF));
    Toolbar(window, QL_SUPP_CMD_SAVE);   // no focused row: nothing
    EXPECT_TRUE(messages.empty());
}

TEST_F(WindowTest, AFailedLoadSaysSoAndAMissingRowIsReported)
{
    AddSupplier("AA000", "One");
    QlDbExecHook = [](const char *sql) { return strstr(sql, "from suppliers") != NULL ? 1 : 0; };
    OpenWindow();
    QlDbExecHook = NULL;
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Failed to load supplier record", messages[0].caption);
    EXPECT_EQ(0, RowCount(List()));
}

TEST_F(WindowTest, MaximizeAndRestoreReplaceTheWindow)
{
    AddSupplier("AA000", "One");
    OpenWindow();
    HWND first = window;
    SendMessageA(first, QL_WM_MAIN_MAXIMIZED, 0, 0);
    EXPECT_FALSE(IsWindow(first));
    ASSERT_NE(nullptr, QlSuppWnd);
    EXPECT_EQ(QlSuppWnd, QlModuleWnd);
    window = QlSuppWnd;
    EXPECT_EQ(1, RowCount(List()));
    SendMessageA(window, QL_WM_MAIN_RESTORED, 0, 0);
    window = QlSuppWnd;
    EXPECT_EQ(QlSuppWnd, QlModuleWnd);
}

TEST_F(WindowTest, ClosingTheWindowWhileItsListLoadsStopsTheLoad)
{
    for (const char *ref : {"AA000", "BB000", "CC000", "DD000"}) AddSupplier(ref, "Some Supplier");
    OpenWindow();
    DWORD interval = QlUiPumpIntervalMs;
    QlUiPumpIntervalMs = 0;   // the pump looks at every row
    HWND toolbar = FindWindowExA(window, NULL, TOOLBARCLASSNAMEA, NULL);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(QL_SUPP_CMD_CLOSE, BN_CLICKED), (LPARAM)toolbar);
    ColumnClick(1);   // the close arrives with the first row
    QlUiPumpIntervalMs = interval;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, QlSuppWnd);
    EXPECT_EQ(nullptr, QlModuleWnd);
    EXPECT_TRUE(messages.empty());
}

TEST_F(WindowTest, AQuitArrivingWhileTheListLoadsStaysForTheMainLoop)
{
    for (const char *ref : {"AA000", "BB000"}) AddSupplier(ref, "Some Supplier");
    OpenWindow();
    DWORD interval = QlUiPumpIntervalMs;
    QlUiPumpIntervalMs = 0;
    PostQuitMessage(3);
    ColumnClick(0);
    QlUiPumpIntervalMs = interval;
    EXPECT_EQ(2, RowCount(List()));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3, (int)msg.wParam);
}

TEST_F(WindowTest, TheSelectedSupplierIsTheFocusedRowsRowId)
{
    AddSupplier("AA000", "One");
    int64_t two = AddSupplier("BB000", "Two");
    QlSuppRec rec = {};
    int row = -1;
    EXPECT_EQ(0, QlSuppGetSelected(&rec, &row));   // no window
    OpenWindow();
    Focus(1);
    strcpy(rec.company, "kept");
    ASSERT_EQ(1, QlSuppGetSelected(&rec, &row));
    EXPECT_EQ(two, rec.iKey);
    EXPECT_EQ(1, row);
    EXPECT_STREQ("kept", rec.company);
}

}  // namespace
