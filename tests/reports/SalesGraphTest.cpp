// The sales statistics window: what it lists at start, the monthly figures
// of enabled invoices of the year, the scale, refreshing on a click or a
// change of year (not on a keyboard move), the drawing modes, the graph and
// the printed page drawn into metafiles, the maximized layout and the
// re-created window, and its language record.
#include "CustTestSupport.h"
#include "LangRecordCheck.h"
#include "QlTestPrint.h"
#include "UiTestSupport.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlListView.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "datastore/QlDb.h"
#include "datastore/QlDbTables.h"
#include "reports/QlReportsOpen.h"
#include "reports/QlSalesGraph.h"
#include "reports/QlSalesGraphTexts.h"
#include "resources/QlResSalesGraph.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <stdio.h>
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

std::string Date(int day, int month, int year)
{
    char text[32];
    snprintf(text, sizeof text, "%d/%02d/%d", day, month, year);
    return text;
}

int sPrintDialogs;
BOOL WINAPI CancelPrintDialog(LPPRINTDLGA)
{
    sPrintDialogs++;
    return FALSE;
}

int FailSelects(const char *sql)
{
    return strncmp(sql, "select", 6) == 0;
}

// Polylines of more than two points: the graph's line, drawn twice.
std::vector<EmfPolyline> Curves(const EmfRecords &page)
{
    std::vector<EmfPolyline> out;
    for (const EmfPolyline &p : page.polylines)
        if (p.points.size() > 2) out.push_back(p);
    return out;
}

std::vector<RECT> Bars(const EmfRecords &page)
{
    std::vector<RECT> out;
    for (const RECT &r : page.fills)
        if (r.bottom > r.top && r.right > r.left) out.push_back(r);
    return out;
}

// The graph panel's painting into a metafile of its own.
EmfRecords DrawGraph(int width, int height, const int64_t *cents, int bars)
{
    HDC dc = CreateEnhMetaFileA(NULL, NULL, NULL, NULL);
    QlSalesGraphDraw(dc, width, height, cents, bars);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    EmfRecords page = QlTestReadEmf(emf);
    DeleteEnhMetaFile(emf);
    return page;
}

class SalesGraphTest : public CustTest {
protected:
    void SetUp() override
    {
        CustTest::SetUp();
        if (!QlBrushGreen) QlBrushGreen = ownGreen = CreateSolidBrush(RGB(0, 255, 0));
        if (!QlPenRed) QlPenRed = ownRed = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
        if (!QlBrushWhite) QlBrushWhite = ownWhite = CreateSolidBrush(RGB(255, 255, 255));
        strcpy(QlSettings.cfg.companyName, "Acme Widgets Ltd");
        year = ThisYear();
        joe = AddCustomer("JO001", "Joe's Plumbing");
        ann = AddCustomer("AN001", "Ann's Bakery");
    }
    void TearDown() override
    {
        QlDbExecHook = NULL;
        CustTest::TearDown();
        if (ownGreen) DeleteObject(ownGreen), QlBrushGreen = NULL;
        if (ownRed) DeleteObject(ownRed), QlPenRed = NULL;
        if (ownWhite) DeleteObject(ownWhite), QlBrushWhite = NULL;
    }

    HWND Open()
    {
        window = QlSalesGraphOpen(main);
        EXPECT_NE(nullptr, window);
        return window;
    }
    HWND Months() const { return GetDlgItem(window, IDL_SALES_MONTHS); }
    HWND Customers() const { return GetDlgItem(window, IDL_SALES_CUSTOMERS); }
    std::string Text(int id) const
    {
        char text[256] = "";
        GetDlgItemTextA(window, id, text, sizeof text);
        return text;
    }
    std::vector<std::string> Scale() const
    {
        std::vector<std::string> out;
        for (int id = IDT_SALES_SCALE_FIRST; id <= IDT_SALES_SCALE_LAST; id++) out.push_back(Text(id));
        return out;
    }
    int64_t Invoice(int64_t cust, const std::string &date, const char *gross, uint32_t type = 1)
    {
        return AddDoc(cust, type, date.c_str(), gross, gross);
    }
    // A keyboard move: the row becomes the focused and selected one, with no click.
    void KeyTo(int row)
    {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(Customers(), LVM_SETITEMSTATE, row, (LPARAM)&item);
    }
    void ChooseYear(int index)
    {
        SendDlgItemMessageA(window, IDC_SALES_YEAR, CB_SETCURSEL, index, 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_SALES_YEAR, CBN_SELCHANGE),
                     (LPARAM)GetDlgItem(window, IDC_SALES_YEAR));
    }
    void Click(int id) { SendDlgItemMessageA(window, id, BM_CLICK, 0, 0); }
    // A picture of the window's client area as it stands on the screen.
    static void Picture(HWND shown, const char *name)
    {
        RECT client;
        GetClientRect(shown, &client);
        QlPrintCaps caps = QlTestA4Caps();
        caps.physicalWidth = caps.horzRes = client.right;
        caps.physicalHeight = caps.vertRes = client.bottom;
        HDC screen = GetDC(shown);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
        ReleaseDC(shown, screen);
        MetafilePrinter picture(caps);
        BitBlt(picture.dc(), 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        picture.finish();
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        EXPECT_TRUE(picture.savePng(0, QlTestArtifactDir() + "/" + name));
    }

    HWND window = NULL;
    int year = 0;
    int64_t joe = 0, ann = 0;
    HBRUSH ownGreen = NULL, ownWhite = NULL;
    HPEN ownRed = NULL;
};

}  // namespace

TEST(SalesTexts, EveryLanguageHasEveryTextWithinItsField)
{
    ExpectCompleteLangRecords(QlSalesTextTable, sizeof QlSalesTextTable[0], QlSalesTextFields, QlSalesTextFieldCount);
}

TEST_F(SalesGraphTest, OpensInTheModuleSlotOnAllCustomersTheCurrentYearAndBars)
{
    HWND previous = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, main, NULL, NULL, NULL);
    QlModuleWnd = previous;
    QlSalesState.bars = 0;   // lines, left by an earlier window
    ASSERT_NE(nullptr, Open());
    EXPECT_FALSE(IsWindow(previous));
    EXPECT_EQ(window, QlModuleWnd);
    EXPECT_EQ(main, GetParent(window));

    EXPECT_EQ((std::vector<std::string>{"ALL CUSTOMERS", "Joe's Plumbing", "Ann's Bakery"}), Column(Customers(), 0));
    EXPECT_EQ((std::vector<std::string>{"0", std::to_string(joe), std::to_string(ann)}), Column(Customers(), 1));
    EXPECT_EQ(0, SendMessageA(Customers(), LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED));
    EXPECT_EQ(0, SendMessageA(Customers(), LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED));

    HWND years = GetDlgItem(window, IDC_SALES_YEAR);
    ASSERT_EQ(10, SendMessageA(years, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < 10; i++) {
        char text[16] = "";
        SendMessageA(years, CB_GETLBTEXT, i, (LPARAM)text);
        EXPECT_EQ(std::to_string(year - i), text);
    }
    EXPECT_EQ(std::to_string(year), Text(IDC_SALES_YEAR));

    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(window, IDB_SALES_BARS));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(window, IDB_SALES_LINES));
    EXPECT_EQ(1, QlSalesState.bars);

    // The module area is as wide as the main window's frame: Close, the
    // graph and December's label stay inside the main window's client area.
    RECT mainClient, pane = RectInParent(window);
    GetClientRect(main, &mainClient);
    ASSERT_GT(pane.right, mainClient.right);
    EXPECT_EQ(mainClient.right - 3, pane.left + RectInParent(GetDlgItem(window, IDB_SALES_CLOSE)).right);
    EXPECT_EQ(mainClient.right - 20, pane.left + RectInParent(GetDlgItem(window, IDT_SALES_GRAPH)).right);
    EXPECT_LE(pane.left + RectInParent(GetDlgItem(window, IDT_SALES_MONTH_LAST)).right, mainClient.right);
    EXPECT_EQ("Print", Text(IDB_SALES_PRINT));
    EXPECT_EQ("Close", Text(IDB_SALES_CLOSE));
    EXPECT_EQ("Graph appearance", Text(IDG_SALES_APPEARANCE));
    EXPECT_EQ("Total", Text(IDT_SALES_TOTAL_LABEL));
    EXPECT_EQ("Sales", WindowText(QlSalesState.caption));
    EXPECT_EQ("Jan", Text(IDT_SALES_MONTH_FIRST));
    EXPECT_EQ("Dec", Text(IDT_SALES_MONTH_LAST));
    char title[64] = "";
    ASSERT_TRUE(QlListGetColumnText(Months(), 1, title, sizeof title));
    EXPECT_STREQ("Sales", title);
    ASSERT_TRUE(QlListGetColumnText(Customers(), 0, title, sizeof title));
    EXPECT_STREQ("Customer", title);

    // A year without invoices: every month and label at 0.00.
    EXPECT_EQ((std::vector<std::string>{"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov",
                                        "Dec"}),
              Column(Months(), 0));
    EXPECT_EQ(std::vector<std::string>(12, "0.00"), Column(Months(), 1));
    EXPECT_EQ(std::vector<std::string>(5, "0.00"), Scale());
    EXPECT_EQ("0.00", Text(IDT_SALES_TOTAL));

    // Close empties the slot.
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDB_SALES_CLOSE, BN_CLICKED), (LPARAM)GetDlgItem(window, IDB_SALES_CLOSE));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, QlModuleWnd);
}

TEST_F(SalesGraphTest, OnlyEnabledInvoicesOfTheYearCountInTheirMonth)
{
    Invoice(joe, Date(5, 3, year), "100.50");
    Invoice(ann, "05/03/" + std::to_string(year), "20.75");   // day first: March
    Invoice(joe, Date(28, 12, year), "10.00");
    Invoice(joe, Date(1, 1, year), "0.99");
    Invoice(joe, Date(2, 1, year), "0.02");                    // hundredths carry into units
    Invoice(joe, Date(5, 3, year - 1), "1000.00");             // another year
    char twoDigit[16];
    snprintf(twoDigit, sizeof twoDigit, "5/3/%02d", year % 100);
    Invoice(joe, twoDigit, "1000.00");                         // never a four-digit year
    Invoice(joe, Date(5, 13, year), "1000.00");                // no such month
    Invoice(joe, Date(5, 0, year), "1000.00");
    Invoice(joe, "5-3-" + std::to_string(year), "1000.00");     // no slashes
    Invoice(joe, Date(5, 3, year) + " ", "1000.00");           // the year text must match exactly
    Invoice(joe, Date(6, 3, year), "500.00", 2);                // credit note
    Invoice(joe, Date(6, 3, year), "500.00", 3);                // payment
    Invoice(joe, Date(6, 3, year), "500.00", 4);                // quotation
    int64_t gone = Invoice(joe, Date(6, 3, year), "500.00");
    ASSERT_EQ(1, QlDbDisableRow(gone, "trans", err)) << err;

    ASSERT_NE(nullptr, Open());
    std::vector<std::string> months(12, "0.00");
    months[0] = "1.01";
    months[2] = "121.25";
    months[11] = "10.00";
    EXPECT_EQ(months, Column(Months(), 1));
    EXPECT_EQ("132.26", Text(IDT_SALES_TOTAL));
    EXPECT_EQ(12125, QlSalesState.cents[12]);
    EXPECT_EQ(101, QlSalesState.cents[0]);
    EXPECT_EQ(std::to_string(year), QlSalesState.year);
    EXPECT_STREQ("ALL CUSTOMERS", QlSalesState.customer);
}

// The scale: the best month at the top, quarters of it (truncated to whole
// cents) between, 0.00 at the bottom.
TEST_F(SalesGraphTest, ScaleLabelsAreQuartersOfTheBestMonth)
{
    const struct {
        std::vector<const char *> invoices;   // one each in January, February, ...
        std::vector<std::string> scale;       // from the bottom
    } cases[] = {
        {{"", "", "", "", "", "300.00"}, {"0.00", "75.00", "150.00", "225.00", "300.00"}},
        {{"1.01"}, {"0.00", "0.25", "0.50", "0.75", "1.01"}},
        {{"0.03"}, {"0.00", "0.00", "0.00", "0.00", "0.03"}},
        {{"40.00", "99.99", "99.99", "12.00"}, {"0.00", "24.99", "49.98", "74.97", "99.99"}},
    };
    ASSERT_NE(nullptr, Open());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.scale.back());
        DbTestNativeExec(dbPath, "delete from trans");
        for (size_t m = 0; m < c.invoices.size(); m++)
            if (*c.invoices[m]) Invoice(joe, Date(1, (int)m + 1, year), c.invoices[m]);
        ASSERT_EQ(1, QlSalesMonthlyTotals(window, NULL, std::to_string(year).c_str(), 1));
        EXPECT_EQ(c.scale, Scale());
    }
}

TEST_F(SalesGraphTest, AClickOrAYearRefreshesAKeyboardMoveDoesNot)
{
    Invoice(joe, Date(1, 2, year), "10.00");
    Invoice(ann, Date(1, 2, year), "5.00");
    Invoice(ann, Date(1, 4, year - 1), "7.00");
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ("15.00", Text(IDT_SALES_TOTAL));

    CustTest::Click(Customers(), 1);   // Joe
    EXPECT_EQ("10.00", Text(IDT_SALES_TOTAL));
    EXPECT_EQ("10.00", Cell(Months(), 1, 1));
    EXPECT_STREQ("Joe's Plumbing", QlSalesState.customer);

    KeyTo(2);   // Ann, by the keyboard: nothing is recomputed
    EXPECT_EQ("10.00", Text(IDT_SALES_TOTAL));
    EXPECT_STREQ("Joe's Plumbing", QlSalesState.customer);

    ChooseYear(1);   // last year, for the focused row (Ann)
    EXPECT_EQ("7.00", Text(IDT_SALES_TOTAL));
    EXPECT_EQ("7.00", Cell(Months(), 3, 1));
    EXPECT_EQ(std::to_string(year - 1), QlSalesState.year);
    EXPECT_STREQ("Ann's Bakery", QlSalesState.customer);

    CustTest::Click(Customers(), 0);   // all customers
    EXPECT_EQ("7.00", Text(IDT_SALES_TOTAL));
    EXPECT_STREQ("ALL CUSTOMERS", QlSalesState.customer);

    // A customer that can no longer be read leaves the figures as they were.
    ASSERT_EQ(1, QlDbDisableRow(joe, "customers", err)) << err;
    ChooseYear(0);
    EXPECT_EQ("15.00", Text(IDT_SALES_TOTAL));
    CustTest::Click(Customers(), 1);
    EXPECT_EQ("15.00", Text(IDT_SALES_TOTAL));
    EXPECT_STREQ("ALL CUSTOMERS", QlSalesState.customer);
}

TEST_F(SalesGraphTest, AFailedQueryShowsNothingAtAll)
{
    Invoice(joe, Date(1, 2, year), "10.00");
    ASSERT_NE(nullptr, Open());
    ASSERT_EQ("10.00", Text(IDT_SALES_TOTAL));
    QlDbExecHook = FailSelects;
    EXPECT_EQ(0, QlSalesMonthlyTotals(window, NULL, std::to_string(year).c_str(), 1));
    QlDbExecHook = NULL;
    EXPECT_EQ(std::vector<std::string>(12, "0.00"), Column(Months(), 1));
    EXPECT_EQ(std::vector<std::string>(5, "0.00"), Scale());
    EXPECT_EQ("0.00", Text(IDT_SALES_TOTAL));
    EXPECT_EQ(0, QlSalesState.cents[12]);
    EXPECT_EQ(0, QlSalesState.cents[1]);
}

// The graph on a panel of 200 x 100: axes, 12 month ticks 16 apart (room
// for December's bar of 2 + 15: (200 - 17) / 11), 5 scale ticks 25 apart;
// each month's height is its whole percent of the best month.
TEST(SalesGraphDraw, BarsAndLinesAreScaledToTheBestMonthInWholePercent)
{
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HBRUSH savedGreen = QlBrushGreen;
    HPEN savedRed = QlPenRed;
    QlBrushGreen = green;
    QlPenRed = red;

    int64_t cents[13] = {0};
    EmfRecords empty = DrawGraph(200, 100, cents, 1);
    EXPECT_EQ(2u + 12u + 5u, empty.polylines.size());
    EXPECT_TRUE(Bars(empty).empty());
    ASSERT_GE(empty.polylines.size(), 3u);
    EXPECT_EQ(176, empty.polylines[2 + 11].points[0].x);   // December's tick
    EXPECT_EQ(0, empty.polylines[2 + 12 + 4].points[0].y);

    cents[0] = 100000;   // the best month
    cents[1] = 99900;    // 99.9 %: drawn at 99 %
    cents[5] = 50049;    // 50 %
    cents[12] = 100000;
    EmfRecords bars = DrawGraph(200, 100, cents, 1);
    std::vector<RECT> drawn = Bars(bars);
    ASSERT_EQ(3u, drawn.size());
    EXPECT_EQ(0, drawn[0].top);
    EXPECT_EQ(2, drawn[0].left);
    EXPECT_EQ(17, drawn[0].right);
    EXPECT_EQ(100, drawn[0].bottom);
    EXPECT_EQ(1, drawn[1].top);
    EXPECT_EQ(18, drawn[1].left);
    EXPECT_EQ(50, drawn[2].top);
    EXPECT_EQ(5 * 16 + 2, drawn[2].left);
    EXPECT_TRUE(Curves(bars).empty());

    EmfRecords lines = DrawGraph(200, 100, cents, 0);
    EXPECT_TRUE(Bars(lines).empty());
    std::vector<EmfPolyline> curves = Curves(lines);
    ASSERT_EQ(2u, curves.size());
    ASSERT_EQ(12u, curves[0].points.size());
    const POINT expected[] = {{0, 0}, {16, 1}, {32, 100}, {48, 100}, {64, 100}, {80, 50}};
    for (int i = 0; i < 6; i++) {
        EXPECT_EQ(expected[i].x, curves[0].points[i].x) << i;
        EXPECT_EQ(expected[i].y, curves[0].points[i].y) << i;
        EXPECT_EQ(expected[i].x + 1, curves[1].points[i].x) << i;
        EXPECT_EQ(expected[i].y + 1, curves[1].points[i].y) << i;
    }

    // A month below zero stays on the baseline.
    cents[3] = -500;
    EXPECT_EQ(0, QlSalesBarHeight(cents, 3, 100));
    EXPECT_EQ(99, QlSalesBarHeight(cents, 1, 100));

    QlBrushGreen = savedGreen;
    QlPenRed = savedRed;
    DeleteObject(green);
    DeleteObject(red);
}

// The mode follows the radio buttons; the window is repainted only when the
// mode changes.  On the screen the panel shows a green bar in bars mode and
// none in lines mode.
TEST_F(SalesGraphTest, ChoosingADrawingModeRepaintsOnlyOnAChange)
{
    Invoice(joe, Date(1, 1, year), "300.00");
    ShowWindow(main, SW_SHOWNOACTIVATE);
    ASSERT_NE(nullptr, Open());
    HWND panel = GetDlgItem(window, IDT_SALES_GRAPH);
    UpdateWindow(main);
    PumpMessages();
    ASSERT_FALSE(GetUpdateRect(panel, NULL, FALSE));

    RECT client;
    GetClientRect(panel, &client);
    auto pixel = [&](int x, int y) {
        HDC dc = GetDC(panel);
        COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(panel, dc);
        return colour;
    };
    EXPECT_EQ(RGB(0, 255, 0), pixel(8, client.bottom / 2)) << "January's bar";
    EXPECT_EQ(RGB(255, 255, 255), pixel(client.right / 2, client.bottom / 2));

    Click(IDB_SALES_BARS);   // already bars
    EXPECT_FALSE(GetUpdateRect(panel, NULL, FALSE));
    EXPECT_EQ(1, QlSalesState.bars);

    Click(IDB_SALES_LINES);
    EXPECT_EQ(0, QlSalesState.bars);
    EXPECT_TRUE(GetUpdateRect(panel, NULL, FALSE));
    UpdateWindow(main);
    PumpMessages();
    EXPECT_EQ(RGB(255, 255, 255), pixel(8, client.bottom / 2)) << "no bar in lines mode";

    Click(IDB_SALES_LINES);   // already lines
    EXPECT_FALSE(GetUpdateRect(panel, NULL, FALSE));

    Click(IDB_SALES_BARS);
    EXPECT_EQ(1, QlSalesState.bars);
    EXPECT_TRUE(GetUpdateRect(panel, NULL, FALSE));
}

// The printed page: title, company, year and customer, the months table, the
// total, and the graph with its labels; every font made is let go.
TEST_F(SalesGraphTest, PrintsTheFiguresAndTheGraphOnOnePage)
{
    Invoice(joe, Date(1, 1, year), "120.00");
    Invoice(joe, Date(1, 3, year), "300.00");
    Invoice(ann, Date(1, 7, year), "45.50");
    Invoice(ann, Date(1, 11, year), "210.25");
    ASSERT_NE(nullptr, Open());
    KeyTo(1);   // moved, not clicked: the figures are still all customers'

    QlSalesPrintJob job;
    QlSalesPrintJobFrom(window, &job);
    EXPECT_STREQ("ALL CUSTOMERS", job.customer);
    for (int mode = 1; mode >= 0; mode--) {
        SCOPED_TRACE(mode ? "bars" : "lines");
        job.bars = mode;
        MetafilePrinter printer;
        ASSERT_EQ(1, QlSalesDrawPage(printer.target(), &job));
        printer.finish();
        ASSERT_EQ(1u, printer.pageCount());
        EmfRecords page = printer.records(0);
        const char *texts[] = {"Sales Report", "(Acme Widgets Ltd)", "Month", "Sales", "Jan", "Dec", "120.00",
                               "300.00", "210.25", "0.00", "75.00", "150.00", "225.00", "Sales total: 675.75"};
        for (const char *text : texts) EXPECT_TRUE(page.hasText(text)) << text;
        EXPECT_TRUE(page.hasText("Sales year " + std::to_string(year) + ", Customer: ALL CUSTOMERS"));
        EXPECT_EQ(page.fonts.size(), (size_t)page.fontsDeleted);

        // The graph: the heading above the table, the table above the graph,
        // the graph in the lower half of the margin rectangle.
        const RECT &margins = printer.target()->page;
        const EmfText *heading = page.findText("Month");
        const EmfText *total = page.findText("Sales total: 675.75");
        ASSERT_TRUE(heading && total);
        EXPECT_LT(total->y, margins.top + (margins.bottom - margins.top) / 2);
        if (mode) {
            std::vector<RECT> bars = Bars(page);
            ASSERT_EQ(4u, bars.size());
            EXPECT_EQ(bars[1].bottom, bars[0].bottom);
            EXPECT_EQ(margins.top + (margins.bottom - margins.top) / 2, bars[1].top);   // March, the best month
            EXPECT_LT(bars[1].top, bars[3].top);
            EXPECT_LT(bars[3].top, bars[0].top);
            EXPECT_LT(bars[0].top, bars[2].top);
            EXPECT_TRUE(printer.savePng(0, QlTestArtifactDir() + "/sales-graph-page.png"));
        } else {
            EXPECT_TRUE(Bars(page).empty());
            std::vector<EmfPolyline> curves = Curves(page);
            ASSERT_EQ(2u, curves.size());
            EXPECT_EQ(12u, curves[0].points.size());
            EXPECT_TRUE(printer.savePng(0, QlTestArtifactDir() + "/sales-graph-lines-page.png"));
        }
    }

    // Print asks for the printer; cancelled, nothing is printed or said.
    sPrintDialogs = 0;
    QlSeamPrintDialog = CancelPrintDialog;
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDB_SALES_PRINT, BN_CLICKED), (LPARAM)GetDlgItem(window, IDB_SALES_PRINT));
    EXPECT_EQ(1, sPrintDialogs);
    EXPECT_TRUE(messages.empty());
}

TEST_F(SalesGraphTest, MaximizedLayoutAndTheRestoredMainWindowsNewWindow)
{
    const struct {
        int customer, month;
        const char *gross;
    } invoices[] = {{0, 1, "820.00"}, {1, 2, "410.50"}, {0, 3, "1290.00"}, {1, 5, "640.25"}, {0, 6, "300.00"},
                    {1, 8, "1105.75"}, {0, 9, "760.00"}, {1, 11, "980.00"}, {0, 12, "455.10"}};
    for (const auto &inv : invoices) Invoice(inv.customer ? ann : joe, Date(15, inv.month, year), inv.gross);
    SetWindowPos(main, NULL, 0, 0, 1200, 900, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(main, SW_SHOWNOACTIVATE);
    ASSERT_NE(nullptr, Open());
    SendMessageA(window, QL_WM_MAIN_MAXIMIZED, 0, 0);
    UpdateWindow(main);
    PumpMessages();
    Picture(main, "sales-window-maximized.png");
    RECT parent, client;
    GetClientRect(main, &parent);
    GetClientRect(window, &client);
    EXPECT_EQ(parent.right, client.right);
    EXPECT_EQ(parent.bottom - 3, client.bottom);

    RECT print = RectInParent(GetDlgItem(window, IDB_SALES_PRINT));
    RECT close = RectInParent(GetDlgItem(window, IDB_SALES_CLOSE));
    EXPECT_EQ(client.right - 3, close.right);
    EXPECT_EQ(client.bottom, close.bottom);
    EXPECT_EQ(client.bottom, print.bottom);
    EXPECT_LT(print.right, close.left);

    // The graph: 20 pixels from the right edge (December's label fits),
    // twice a button's height above the bottom or, here, as far up as its
    // month labels need to stand clear of the buttons.
    RECT panel = RectInParent(GetDlgItem(window, IDT_SALES_GRAPH));
    EXPECT_EQ(client.right - 20, panel.right);
    RECT december = RectInParent(GetDlgItem(window, IDT_SALES_MONTH_LAST));
    EXPECT_LE(december.right, client.right);
    EXPECT_LT(december.bottom, close.top);
    EXPECT_LE(panel.bottom, client.bottom - 2 * (print.bottom - print.top));
    int quarter = (panel.bottom - panel.top) / 4;
    for (int k = 1; k <= 4; k++)
        EXPECT_EQ(panel.top + k * quarter, RectInParent(GetDlgItem(window, IDT_SALES_SCALE_LAST - k)).top) << k;
    int step = (panel.right - panel.left) / 11;
    for (int i = 0; i < 12; i++) {
        RECT label = RectInParent(GetDlgItem(window, IDT_SALES_MONTH_FIRST + i));
        EXPECT_EQ(panel.left - 22 + i * step, label.left) << i;
        EXPECT_EQ(panel.bottom + 12, label.top) << i;
    }
    EXPECT_EQ(client.bottom, RectInParent(Customers()).bottom);

    // Restored: a new window on all customers, the current year and bars.
    CustTest::Click(Customers(), 1);
    Click(IDB_SALES_LINES);
    HWND old = window;
    SendMessageA(window, QL_WM_MAIN_RESTORED, 0, 0);
    EXPECT_FALSE(IsWindow(old));
    window = QlModuleWnd;
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(window, QlSalesState.window);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(window, IDB_SALES_BARS));
    EXPECT_EQ(1, QlSalesState.bars);
    EXPECT_EQ(0, SendMessageA(Customers(), LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED));
    EXPECT_STREQ("ALL CUSTOMERS", QlSalesState.customer);
}
