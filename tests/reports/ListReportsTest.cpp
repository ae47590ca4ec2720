// The printed list reports: each report's title block, page header, column
// titles and cells drawn into metafiles; the transaction reports' types and
// filters; the paging (35 rows a page, pages begun by their first row);
// cells drawn whole (wrapped or set smaller); the print dialog from the Reports dialog.
#include "CatTestSupport.h"
#include "QlTestPrint.h"
#include "UiTestSupport.h"

#include "print/QlGrid.h"
#include "ui/QlSeams.h"
#include "datastore/QlDb.h"
#include "datastore/QlDbTables.h"
#include "reports/QlListReports.h"
#include "reports/QlReportTables.h"
#include "reports/QlReportsOpen.h"
#include "resources/QlResReports.h"
#include "settings/QlLangTables.h"

#include <string.h>

namespace {

int gPrintDialogs;
BOOL WINAPI CancelPrint(LPPRINTDLGA)
{
    gPrintDialogs++;
    return FALSE;
}

class ListReportsTest : public CatTest {
protected:
    void SetUp() override
    {
        CatTest::SetUp();
        gPrintDialogs = 0;
        QlSeamPrintDialog = CancelPrint;
        strcpy(QlSettings.cfg.companyName, "Acme Widgets Ltd");
    }
    void AddTrans(uint32_t type, uint32_t subType, const char *desc, const char *gross)
    {
        QlTransRec rec = {};
        rec.type = type;
        rec.sub_type = subType;
        rec.cust_rowid = customer;
        strcpy(rec.acref, "JO001");
        strcpy(rec.date, "10/3/2024");
        strcpy(rec.desc, desc);
        strcpy(rec.gross, gross);
        strcpy(rec.gross_bal, gross);
        strcpy(rec.carriage, "0.00");
        strcpy(rec.carriage_vat, "0.00");
        strcpy(rec.vat, "0.00");
        EXPECT_EQ(1, QlTransAdd(&rec, err)) << err;
    }
    // The report drawn into printer; the transaction list of the type.
    int Draw(MetafilePrinter &printer, int report, int transType = 0)
    {
        QlListReportState.transType = transType;
        int result = QlListReportDraw(printer.target(), report);
        printer.finish();
        return result;
    }
    static void SavePng(const MetafilePrinter &printer, size_t page, const char *name)
    {
        std::string dir = QlTestArtifactDir();
        if (!dir.empty()) {
            EXPECT_TRUE(printer.savePng(page, dir + "/" + name));
        }
    }
};

// The texts of the page that appear in texts, in drawing order.
std::vector<std::string> Found(const EmfRecords &page, const std::vector<std::string> &texts)
{
    std::vector<std::string> found;
    for (const auto &t : page.texts)
        for (const auto &want : texts)
            if (t.text == want) found.push_back(t.text);
    return found;
}

}  // namespace

// Every report: its name and the company in the title block, its name and
// page number in the page header, its column titles and one row's cells.
TEST_F(ListReportsTest, EachReportPrintsItsTitlesAndCells)
{
    AddTrans(1, 1, "Copper pipes", "120.00");
    AddTrans(2, 0, "Returned elbow", "10.00");
    AddTrans(3, 0, "Cheque", "50.00");
    AddTrans(1, 0, "Call-out", "80.00");
    AddTrans(4, 0, "Bathroom", "900.00");
    AddTrans(5, 0, "Restock", "300.00");
    AddProduct("00A1", "501234567890", "Copper pipe", 12, 50, -3);
    int64_t serv = AddService("Boiler service", 75, 5);
    QlCustRec joe = {};
    ASSERT_EQ(1, QlCustGetByAcRef("JO001", &joe, err)) << err;
    strcpy(joe.worktel, "0123 456");
    strcpy(joe.fax, "0123 457");
    ASSERT_EQ(1, QlCustUpdate(&joe, err)) << err;

    struct Case {
        int report, type;
        std::string name;
        std::vector<std::string> titles, cells;
        size_t rows;   // rows of the report (cells of the first column counted)
    };
    const std::string s = std::to_string(serv);
    const std::vector<std::string> transTitles = {"TX#", "Date", "Type", "A/C", "Desc", "Amt"};
    const Case cases[] = {
        {QL_LIST_REPORT_CUST, 0, "Customer List", {"A/C", "Account Name", "Telephone", "Fax"},
         {"JO001", "Joe's Plumbing", "0123 456", "0123 457"}, 1},
        {QL_LIST_REPORT_TRANS, 0, "Transaction List", transTitles,
         {"Invoice-P", "Copper pipes", "120.00", "Credit Note", "Payment", "Invoice-S", "Quotation", "Order"}, 6},
        {QL_LIST_REPORT_TRANS, 1, "Transaction List", transTitles, {"Invoice-P", "Invoice-S"}, 2},
        {QL_LIST_REPORT_TRANS, 2, "Transaction List", transTitles, {"Credit Note", "Returned elbow"}, 1},
        {QL_LIST_REPORT_TRANS, 3, "Transaction List", transTitles, {"Payment", "Cheque", "50.00"}, 1},
        {QL_LIST_REPORT_PROD, 0, "Product Full List", {"Code", "Product Details:", "Unit Price:", "Stock:"},
         {"00A1", "Copper pipe", "12.50", "-3"}, 1},
        {QL_LIST_REPORT_SERV, 0, "Service Full List", {"Code", "Details", "Price"}, {s, "Boiler service", "75.05"}, 1},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name + " " + std::to_string(k.type));
        MetafilePrinter printer;
        ASSERT_EQ(1, Draw(printer, k.report, k.type));
        ASSERT_EQ(1u, printer.pageCount());
        EmfRecords page = printer.records(0);
        EXPECT_EQ(std::vector<std::string>({k.name, "(Acme Widgets Ltd)", k.name + " (Page 1)"}),
                  Found(page, {k.name, "(Acme Widgets Ltd)", k.name + " (Page 1)"}));
        EXPECT_EQ(k.titles, Found(page, k.titles));
        EXPECT_EQ(k.cells, Found(page, k.cells));
        if (k.report == QL_LIST_REPORT_TRANS) {
            int types = 0;
            for (const auto &t : page.texts)
                types += t.text == "10/3/2024";
            EXPECT_EQ((int)k.rows, types);
        }
        if (k.report == QL_LIST_REPORT_TRANS && k.type == 0) SavePng(printer, 0, "transaction-list.png");
    }

    // The product list's titles follow the language; the others stay English.
    QlSettings.cfg.language = QL_LANG_GERMAN;
    for (int report : {QL_LIST_REPORT_PROD, QL_LIST_REPORT_CUST}) {
        MetafilePrinter printer;
        ASSERT_EQ(1, Draw(printer, report));
        EmfRecords page = printer.records(0);
        if (report == QL_LIST_REPORT_PROD)
            EXPECT_TRUE(page.hasText(QlLangMenu()->ProdColumns[0])) << page.allText();
        else
            EXPECT_TRUE(page.hasText("Account Name"));
        EXPECT_TRUE(page.hasText(std::string(QlReportNameTable[report == QL_LIST_REPORT_PROD ? 6 : 1]) + " (Seite 1)"))
            << page.allText();
    }
}

// Pages hold 35 rows: none makes only the title block, 35 one page, 36 a
// second page numbered 2 with the whole grid ruled and one row in it.  A
// description too wide for its cell is cut at the cell inset before the next column
// line (10 units on a 600 dpi printer).  A device that refuses a page or a
// failing table walk ends the document unfinished.
TEST_F(ListReportsTest, PagesHold35RowsAndCellsAreNeverCut)
{
    {
        MetafilePrinter printer;
        ASSERT_EQ(1, Draw(printer, QL_LIST_REPORT_SERV));
        ASSERT_EQ(1u, printer.pageCount());
        EmfRecords page = printer.records(0);
        EXPECT_TRUE(page.hasText("Service Full List"));
        EXPECT_FALSE(page.hasText("Service Full List (Page 1)"));
        EXPECT_TRUE(page.polylines.empty());
    }
    const std::string wide(79, 'W');
    AddService(wide.c_str(), 1, 0);
    for (int i = 1; i < 35; i++) AddService("Drain clearing", 40, 0);
    for (int rows : {35, 36}) {
        SCOPED_TRACE(rows);
        if (rows == 36) AddService("Last one", 9, 99);
        MetafilePrinter printer;
        ASSERT_EQ(1, Draw(printer, QL_LIST_REPORT_SERV));
        ASSERT_EQ(rows == 35 ? 1u : 2u, printer.pageCount());
        EmfRecords first = printer.records(0);
        int cells = 0;
        for (const auto &t : first.texts) cells += t.text == "Drain clearing";
        EXPECT_EQ(34, cells);
        // 37 row lines and 4 column lines.
        EXPECT_EQ(41u, first.polylines.size());
        // A word too wide for its cell is set smaller, whole, inside the cell.
        const EmfText *whole = first.findText(wide);
        ASSERT_NE(nullptr, whole);
        const RECT &p = printer.target()->page;
        int detailsRight = p.left + (p.right - p.left) * 10 / 100 + (p.right - p.left) * 75 / 100;
        HDC screen = GetDC(NULL);  // the resolution the metafiles refer to
        EXPECT_LE(whole->right, detailsRight - QlReportCellInset(screen));
        ReleaseDC(NULL, screen);
        EXPECT_GT(whole->fontHeight, first.findText("Drain clearing")->fontHeight);
        EXPECT_EQ("", QlTestCellTextProblem(first, wide));
        if (rows == 36) {
            EmfRecords second = printer.records(1);
            EXPECT_TRUE(second.hasText("Service Full List (Page 2)"));
            EXPECT_FALSE(second.hasText("(Acme Widgets Ltd)"));
            EXPECT_EQ(41u, second.polylines.size());
            EXPECT_TRUE(second.hasText("Last one"));
            EXPECT_TRUE(second.hasText("9.99"));
            EXPECT_FALSE(second.hasText("Drain clearing"));
            SavePng(printer, 0, "service-list-page1.png");
            SavePng(printer, 1, "service-list-page2.png");
        }
    }
    // A failing table walk abandons the document with the data store's text.
    QlDbExecHook = [](const char *sql) { return strncmp(sql, "select", 6) == 0 ? 1 : 0; };
    MetafilePrinter broken;
    EXPECT_EQ(0, Draw(broken, QL_LIST_REPORT_SERV));
    QlDbExecHook = NULL;
    EXPECT_STRNE("", QlListReportState.error);
    // A device that refuses the second page ends the report there.
    MetafilePrinter refusing;
    refusing.refuseNextPage();
    EXPECT_EQ(0, Draw(refusing, QL_LIST_REPORT_SERV));
    EXPECT_EQ(1u, refusing.pageCount());
}

// Print in the Reports dialog runs the selected list report: the print
// dialog opens (cancelled: nothing printed, nothing said) and the Reports
// dialog stays open.  A list with no rows is not printed: the user is told
// so, and no print dialog opens.
TEST_F(ListReportsTest, PrintInTheReportsDialogAsksForAPrinter)
{
    auto printEach = [&](HWND dialog) {
        for (int i = 1; i < 8; i++) {
            SendDlgItemMessageA(dialog, IDL_REPORTS_LIST, LB_SETCURSEL, i, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDL_REPORTS_LIST, LBN_SELCHANGE),
                         (LPARAM)GetDlgItem(dialog, IDL_REPORTS_LIST));
            ClickButton(dialog, IDB_REPORTS_PRINT);
            EXPECT_TRUE(IsWindowVisible(dialog));
        }
        ClickButton(dialog, IDB_REPORTS_CLOSE);
    };
    // The customer of the fixture is the only row: every other list is empty.
    {
        DialogDriver driver({printEach});
        EXPECT_EQ(0, QlReportsShow(main));
        EXPECT_EQ(1u, driver.stepsRun());
    }
    EXPECT_EQ(1, gPrintDialogs);
    ASSERT_EQ(6u, messages.size());
    for (const auto &m : messages) EXPECT_EQ("The list is empty: there is nothing to print.", m.text);

    messages.clear();
    gPrintDialogs = 0;
    AddTrans(1, 0, "Call-out", "80.00");
    AddTrans(2, 0, "Returned elbow", "10.00");
    AddTrans(3, 0, "Cheque", "50.00");
    AddProduct("00A1", "501234567890", "Copper pipe", 12, 50, 3);
    AddService("Boiler service", 75, 5);
    {
        DialogDriver driver({printEach});
        EXPECT_EQ(0, QlReportsShow(main));
        EXPECT_EQ(1u, driver.stepsRun());
    }
    EXPECT_EQ(7, gPrintDialogs);
    EXPECT_EQ(3, QlListReportState.transType);  // the payments list ran last of the four
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(nullptr, QlListReportState.target);
}

// A description of 79 characters in long words wraps inside its cell and
// the row grows: whole, no rule through it, in the body size; rows that
// grow still end above the page's bottom margin.
TEST_F(ListReportsTest, LongDescriptionsWrapWholeInRowsThatGrow)
{
    static const char kLong[] = "KIDS' SAFETY GOGGLES (EN166) WITH ANTI-FOG COATING AND ADJUSTABLE ELASTIC STRAP";
    for (int i = 0; i < 40; i++) AddService(kLong, 10 + i, 0);
    for (int i = 0; i < 3; i++) AddTrans(1, 0, kLong, "12.00");
    for (int report : {QL_LIST_REPORT_SERV, QL_LIST_REPORT_TRANS}) {
        SCOPED_TRACE(report);
        MetafilePrinter printer;
        ASSERT_EQ(1, Draw(printer, report));
        int seen = 0, body = 0;
        for (size_t p = 0; p < printer.pageCount(); p++) {
            EmfRecords page = printer.records(p);
            if (!body && !page.texts.empty()) body = page.findText(report == QL_LIST_REPORT_SERV ? "Code" : "TX#")->fontHeight;
            for (size_t i = 0; i < page.texts.size(); i++) {
                if (page.texts[i].text.rfind("KIDS'", 0) != 0) continue;
                EmfRecords rest = page;
                rest.texts.erase(rest.texts.begin(), rest.texts.begin() + (long)i);
                EXPECT_EQ("", QlTestCellTextProblem(rest, kLong)) << "page " << p + 1;
                EXPECT_EQ(body, page.texts[i].fontHeight);
                seen++;
            }
            for (const auto &line : page.polylines)
                for (const POINT &pt : line.points) EXPECT_LE(pt.y, printer.target()->page.bottom);
        }
        EXPECT_EQ(report == QL_LIST_REPORT_SERV ? 40 : 3, seen);
        SavePng(printer, 0, report == QL_LIST_REPORT_SERV ? "service-list-long-page1.png" : "trans-list-long-page1.png");
    }
}
