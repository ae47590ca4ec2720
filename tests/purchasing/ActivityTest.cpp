// Supplier activity (template 329): the current supplier's purchase orders,
// their sorts, View, and the printed supplier orders report.  The dialog runs
// modeless here, so the test can send it messages; EndDialog then only hides
// it.
#include "SuppTestSupport.h"
#include "QlTestPrint.h"
#include "UiTestSupport.h"

#include "ui/QlSeams.h"
#include "ui/QlWindow.h"
#include "purchasing/QlSuppCurrent.h"
#include "purchasing/QlSuppliers.h"
#include "resources/QlResIds.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <functional>

namespace {

int sPrintDialogs;
BOOL WINAPI CountPrintDialog(LPPRINTDLGA)
{
    sPrintDialogs++;
    return FALSE;
}

class ActivityTest : public SuppTest {
protected:
    void SetUp() override
    {
        SuppTest::SetUp();
        supp = AddSupplier("PI000", "Pipe & Co");
        ASSERT_EQ(1, QlSuppGetByRowId(supp, &QlSuppCurrent, err)) << err;
    }
    void TearDown() override
    {
        if (view) DestroyWindow(view);
        SuppTest::TearDown();
    }

    HWND OpenView()
    {
        view = CreateDialogParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_SUPP_ACTIVITY), main, QlSuppActivityDlgProc, 0);
        EXPECT_NE(nullptr, view);
        ShowWindow(view, SW_SHOWNA);
        return view;
    }
    HWND ActList() const { return GetDlgItem(view, IDL_SUPP_ACTIVITY_LIST); }
    void Sort(int column)
    {
        NMLISTVIEW nm = {};
        nm.hdr.hwndFrom = ActList();
        nm.hdr.idFrom = IDL_SUPP_ACTIVITY_LIST;
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iSubItem = column;
        SendMessageA(view, WM_NOTIFY, IDL_SUPP_ACTIVITY_LIST, (LPARAM)&nm);
    }
    void FocusRow(int row)
    {
        LVITEMA item = {};
        item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(ActList(), LVM_SETITEMSTATE, row, (LPARAM)&item);
    }

    int64_t supp = 0;
    HWND view = NULL;
};

std::string Key(int64_t key)
{
    return std::to_string(key);
}

TEST_F(ActivityTest, ListsTheSuppliersLiveOrdersOnlyInNumberOrder)
{
    int64_t a = AddOrder(supp, "3/01/2026", "Copper pipe", "120.00");
    AddOrder(supp, "4/01/2026", "An invoice", "9.00", 6);
    ASSERT_EQ(1, QlDbDisableRow(AddOrder(supp, "5/01/2026", "Cancelled", "1.00"), "trans", err));
    AddOrder(AddSupplier("OT000", "Other"), "6/01/2026", "Not ours", "2.00");
    int64_t b = AddOrder(supp, "1/01/2026", "Elbows", "20.00");
    OpenView();

    EXPECT_EQ("Supplier account PI000 activity", WindowText(view));
    EXPECT_EQ((std::vector<std::string>{Key(a), Key(b)}), Column(ActList(), 0));
    EXPECT_EQ("3/01/2026", Cell(ActList(), 0, 1));
    EXPECT_EQ("Copper pipe", Cell(ActList(), 0, 2));
    EXPECT_EQ("120.00", Cell(ActList(), 0, 3));
    char title[64] = "";
    QlListGetColumnText(ActList(), 0, title, sizeof title);
    EXPECT_STREQ("Order No", title);

    // The list fills the dialog above the tool bar.
    RECT list = {}, client = {};
    GetClientRect(view, &client);
    GetWindowRect(ActList(), &list);
    MapWindowPoints(NULL, view, (POINT *)&list, 2);
    HWND bar = FindWindowExA(view, NULL, TOOLBARCLASSNAMEA, NULL);
    ASSERT_NE(nullptr, bar);
    RECT barRect = {};
    GetWindowRect(bar, &barRect);
    MapWindowPoints(NULL, view, (POINT *)&barRect, 2);
    EXPECT_EQ(client.right - client.left, list.right - list.left);
    EXPECT_LE(list.bottom, barRect.top + 1);
}

TEST_F(ActivityTest, EveryColumnSortsAscendingAsText)
{
    int64_t a = AddOrder(supp, "9/01/2026", "Valves", "100.00");
    int64_t b = AddOrder(supp, "10/01/2026", "Brass", "20.00");
    int64_t c = AddOrder(supp, "1/02/2026", "Copper", "3.50");
    OpenView();
    const struct {
        int column;
        std::vector<int64_t> keys;
    } cases[] = {
        {3, {a, b, c}},   // "100.00" < "20.00" < "3.50"
        {3, {a, b, c}},   // the same click again: the same order
        {2, {b, c, a}},
        {1, {c, b, a}},   // "1/02/..." < "10/01/..." < "9/01/..."
        {0, {a, b, c}},
    };
    for (const auto &k : cases) {
        Sort(k.column);
        std::vector<std::string> want;
        for (int64_t key : k.keys) want.push_back(Key(key));
        EXPECT_EQ(want, Column(ActList(), 0)) << "column " << k.column;
    }
}

TEST_F(ActivityTest, ViewTakesTheFocusedOrderAndEndsTheDialog)
{
    AddOrder(supp, "9/01/2026", "Valves", "100.00");
    int64_t b = AddOrder(supp, "10/01/2026", "Brass", "20.00");
    OpenView();
    QlSuppActivityChosen = NULL;
    HWND bar = FindWindowExA(view, NULL, TOOLBARCLASSNAMEA, NULL);
    SendMessageA(view, WM_COMMAND, MAKEWPARAM(QL_SUPP_ACT_CMD_VIEW, BN_CLICKED), (LPARAM)bar);
    EXPECT_EQ(nullptr, QlSuppActivityChosen);   // no focused row
    EXPECT_TRUE(IsWindowVisible(view));
    SendMessageA(view, WM_COMMAND, IDOK, 0);   // Enter is not View
    EXPECT_EQ(nullptr, QlSuppActivityChosen);

    FocusRow(1);
    SendMessageA(view, WM_COMMAND, MAKEWPARAM(QL_SUPP_ACT_CMD_VIEW, BN_CLICKED), (LPARAM)bar);
    ASSERT_NE(nullptr, QlSuppActivityChosen);
    EXPECT_EQ(b, QlSuppActivityChosen->iKey);
    EXPECT_EQ(5u, QlSuppActivityChosen->type);
    EXPECT_STREQ("Brass", QlSuppActivityChosen->desc);
    EXPECT_FALSE(IsWindowVisible(view));
    QlSuppActivityChosen = NULL;
}

TEST_F(ActivityTest, AFailedQueryIsReported)
{
    QlDbExecHook = [](const char *sql) { return strstr(sql, "from trans") != NULL ? 1 : 0; };
    OpenView();
    QlDbExecHook = NULL;
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Transaction lookup failed", messages[0].caption);
    EXPECT_EQ(0, RowCount(ActList()));
}

TEST_F(ActivityTest, AnEmptyListIsNotPrintedAndAFullOneAsksForAPrinter)
{
    sPrintDialogs = 0;
    QlSeamPrintDialog = CountPrintDialog;
    OpenView();
    HWND bar = FindWindowExA(view, NULL, TOOLBARCLASSNAMEA, NULL);
    SendMessageA(view, WM_COMMAND, MAKEWPARAM(QL_SUPP_ACT_CMD_PRINT, BN_CLICKED), (LPARAM)bar);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Transaction List Empty", messages[0].caption);
    EXPECT_EQ("Nothing to print in this report", messages[0].text);
    EXPECT_EQ(0, sPrintDialogs);

    AddOrder(supp, "9/01/2026", "Valves", "100.00");
    QlSuppActivityLoad(view, 0);
    EXPECT_EQ(0, QlSuppPrintOrders(view));   // the printer dialog was cancelled
    EXPECT_EQ(1, sPrintDialogs);
    EXPECT_EQ(1u, messages.size());
}

TEST_F(ActivityTest, TheReportPrintsThirtyFiveRowsAPageInTheListsOrder)
{
    for (int count : {35, 36}) {
        SCOPED_TRACE(count);
        NativeExec("delete from trans");
        for (int i = 0; i < count; i++) {
            char desc[32], gross[16];
            snprintf(desc, sizeof desc, "Order line %02d", i + 1);
            snprintf(gross, sizeof gross, "%d.00", 1000 - i);
            AddOrder(supp, "2/03/2026", desc, gross);
        }
        if (view) DestroyWindow(view);
        OpenView();
        Sort(3);   // by total as text: the last order first
        strcpy(QlSettings.cfg.companyName, "Acme Widgets Ltd");

        QlSuppOrdersJob job = {};
        job.list = ActList();
        job.rows = RowCount(ActList());
        strcpy(job.acref, QlSuppCurrent.acref);
        strcpy(job.company, QlSuppCurrent.company);
        strcpy(job.business, QlSettings.cfg.companyName);
        MetafilePrinter printer;
        ASSERT_EQ(1, QlSuppOrdersDraw(printer.target(), &job));
        printer.finish();
        ASSERT_EQ(count == 35 ? 1u : 2u, printer.pageCount());

        EmfRecords first = printer.records(0);
        EXPECT_TRUE(first.hasText("Supplier Orders (Supplier: PI000, Pipe & Co)"));
        EXPECT_TRUE(first.hasText("(Acme Widgets Ltd)"));
        EXPECT_TRUE(first.hasText(count == 35 ? "Supplier orders (Page 1 of 1)" : "Supplier orders (Page 1 of 2)"));
        for (const char *t : {"Order #", "Date", "Description", "Total"}) EXPECT_TRUE(first.hasText(t)) << t;
        EXPECT_TRUE(first.hasText("Order line " + std::to_string(count)));   // the smallest total, first
        EXPECT_TRUE(first.hasText("1000.00"));
        // The rows come in the list's order: the first printed row is the
        // list's first.
        const EmfText *top = first.findText(Cell(ActList(), 0, 2));
        const EmfText *next = first.findText(Cell(ActList(), 1, 2));
        ASSERT_NE(nullptr, top);
        ASSERT_NE(nullptr, next);
        EXPECT_LT(top->y, next->y);
        if (count == 36) {
            EmfRecords second = printer.records(1);
            EXPECT_TRUE(second.hasText("Supplier orders (Page 2 of 2)"));
            EXPECT_FALSE(second.hasText("Supplier Orders (Supplier: PI000, Pipe & Co)"));
            EXPECT_TRUE(second.hasText(Cell(ActList(), 35, 2)));
            EXPECT_TRUE(second.hasText(Cell(ActList(), 35, 3)));
            EXPECT_FALSE(second.hasText(Cell(ActList(), 34, 2)));
            std::string dir = QlTestArtifactDir();
            if (!dir.empty()) {
                EXPECT_TRUE(printer.savePng(0, dir + "/supplier-orders-page1.png"));
                EXPECT_TRUE(printer.savePng(1, dir + "/supplier-orders-page2.png"));
            }
        }
        // Every font made was let go.
        size_t fonts = 0;
        int deleted = 0;
        for (size_t p = 0; p < printer.pageCount(); p++) {
            fonts += printer.records(p).fonts.size();
            deleted += printer.records(p).fontsDeleted;
        }
        EXPECT_GE(deleted, 2);
    }
}

TEST_F(ActivityTest, TheActivityCommandShowsTheFocusedSupplier)
{
    AddSupplier("AA000", "First Supplier");
    AddOrder(supp, "9/01/2026", "Valves", "100.00");
    memset(&QlSuppCurrent, 0, sizeof QlSuppCurrent);
    OpenWindow();
    Focus(0);   // PI000, added first
    std::string caption;
    int rows = -1;
    {
        DialogDriver driver({[&](HWND d) {
                                 caption = WindowText(d);
                                 rows = RowCount(GetDlgItem(d, IDL_SUPP_ACTIVITY_LIST));
                             },
                             [](HWND d) { SendMessageA(d, WM_COMMAND, IDCANCEL, 0); }});
        Toolbar(window, QL_SUPP_CMD_ACTIVITY);
        EXPECT_EQ(2u, driver.stepsRun());
    }
    EXPECT_EQ("Supplier account PI000 activity", caption);
    EXPECT_EQ(1, rows);
    EXPECT_STREQ("Pipe & Co", QlSuppCurrent.company);
    EXPECT_STREQ("1 Mill Lane", QlSuppCurrent.addr1);
    EXPECT_TRUE(IsWindow(window));   // nothing picked: the suppliers window stays
}

}  // namespace
