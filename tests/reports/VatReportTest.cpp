// The tax report: what a load lists (invoices with tax only, the range with
// both ends included, dates compared as dates), the totals, the range
// checks, a failed query; the printed pages (35 rows a page and a page of
// totals); the CSV file; and the window opened from the Reports dialog.
#include "CatTestSupport.h"
#include "QlTestPrint.h"
#include "UiTestSupport.h"

#include "ui/QlAppState.h"
#include "ui/QlListView.h"
#include "core/QlMoney.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "ui/QlWindow.h"
#include "datastore/QlDb.h"
#include "datastore/QlDbTables.h"
#include "reports/QlReportTables.h"
#include "reports/QlReportsOpen.h"
#include "reports/QlVatReport.h"
#include "resources/QlResReports.h"

#include <commctrl.h>
#include <string.h>

namespace {

int FailSelects(const char *sql)
{
    return strncmp(sql, "select", 6) == 0;
}

int gPrintDialogs;
BOOL WINAPI CancelPrint(LPPRINTDLGA)
{
    gPrintDialogs++;
    return FALSE;
}

std::string gSaveAnswer, gSaveFile;
int gSaveCalls;
BOOL WINAPI AnswerSave(LPOPENFILENAMEA ofn)
{
    gSaveCalls++;
    gSaveFile = ofn->lpstrFile;
    if (gSaveAnswer.empty()) return FALSE;
    lstrcpynA(ofn->lpstrFile, gSaveAnswer.c_str(), ofn->nMaxFile);
    SetCurrentDirectoryA("C:\\");  // as a save dialog may
    return TRUE;
}

class VatReportTest : public CatTest {
protected:
    void SetUp() override
    {
        CatTest::SetUp();
        gPrintDialogs = 0;
        gSaveCalls = 0;
        gSaveAnswer.clear();
        QlSeamPrintDialog = CancelPrint;
        QlSeamGetSaveFileName = AnswerSave;
        strcpy(QlSettings.cfg.companyName, "Acme Widgets Ltd");
        strcpy(QlReportTaxName, "VAT Report");
        GetCurrentDirectoryA(sizeof savedWorkDir, savedWorkDir);
        lstrcpynA(QlWorkDir, savedWorkDir, sizeof QlWorkDir);
    }
    void TearDown() override
    {
        QlDbExecHook = NULL;
        if (report) DestroyWindow(report);
        QlWorkDir[0] = '\0';
        SetCurrentDirectoryA(savedWorkDir);
        CatTest::TearDown();
    }
    int64_t AddInvoice(const char *date, const char *gross, const char *vat, const char *desc = "Pipes",
                       uint32_t type = 1)
    {
        QlTransRec rec = {};
        rec.type = type;
        rec.cust_rowid = customer;
        strcpy(rec.acref, "JO001");
        strcpy(rec.date, date);
        strcpy(rec.desc, desc);
        strcpy(rec.gross, gross);
        strcpy(rec.gross_bal, gross);
        strcpy(rec.carriage, "0.00");
        strcpy(rec.carriage_vat, "0.00");
        strcpy(rec.vat, vat);
        rec.num_sub_items = 1;
        EXPECT_EQ(1, QlTransAdd(&rec, err)) << err;
        return rec.iKey;
    }
    // The window, modeless over the main window, loaded with all dates.
    HWND Open()
    {
        report = CreateDialogParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_VAT_REPORT), main, QlVatReportDlgProc, 0);
        EXPECT_NE(nullptr, report);
        return report;
    }
    HWND ReportList() const { return GetDlgItem(report, IDL_VAT_LIST); }
    std::vector<std::string> Keys() const { return Column(ReportList(), 0); }
    void SetDate(int id, int day, int month, int year)
    {
        SYSTEMTIME st = {};
        st.wDay = (WORD)day;
        st.wMonth = (WORD)month;
        st.wYear = (WORD)year;
        SendDlgItemMessageA(report, id, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
    }
    void ChooseRange(int choice)
    {
        SendDlgItemMessageA(report, IDC_VAT_DATES, CB_SETCURSEL, choice, 0);
        SendMessageA(report, WM_COMMAND, MAKEWPARAM(IDC_VAT_DATES, CBN_SELCHANGE),
                     (LPARAM)GetDlgItem(report, IDC_VAT_DATES));
    }
    void Reload() { SendMessageA(report, WM_COMMAND, MAKEWPARAM(IDB_VAT_RELOAD, BN_CLICKED), 0); }
    std::string Total(int id) const { return WindowText(GetDlgItem(report, id)); }
    // The printout of the open window drawn into the printer.
    int Draw(MetafilePrinter &printer)
    {
        QlVatReportJob job;
        QlVatReportJobFrom(report, &job);
        int result = QlVatReportDraw(printer.target(), &job);
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
    std::string ExportTo(const char *name)
    {
        gSaveAnswer = folder + "\\" + name;
        EXPECT_EQ(1, QlVatReportExportCsv(report));
        return ReadNativeFile(DbTestNativePath(gSaveAnswer));
    }

    HWND report = NULL;
    char savedWorkDir[MAX_PATH] = "";
};

}  // namespace

// The window lists the enabled invoices and credit notes that carry tax,
// with their sums (a credit note negative, named in its details);
// the range keeps both its ends, compares dates as dates (31/1 and 1/2 are
// different days), and a reversed range is refused with the list kept.
TEST_F(VatReportTest, TheListHoldsTheInvoicesWithTaxOfTheRange)
{
    int64_t a = AddInvoice("10/3/2024", "10.00", "1.50");
    int64_t b = AddInvoice("31/1/2024", "20.00", "2.75");
    AddInvoice("5/3/2024", "30.00", "0.00");               // no tax
    int64_t credit = AddInvoice("6/3/2024", "40.00", "9.20", "Credit", 2);
    AddInvoice("6/3/2024", "40.00", "9.20", "Quote", 4);   // a quotation
    int64_t gone = AddInvoice("7/3/2024", "50.00", "11.50");
    ASSERT_EQ(1, QlDbDisableRow(gone, "trans", err)) << err;
    int64_t c = AddInvoice("1/2/2024", "4.00", "0.92");

    Open();
    EXPECT_EQ("VAT report for specified time period", WindowText(report));
    char title[40] = "";
    HWND list = ReportList();
    QlListGetColumnText(list, 5, title, sizeof title);
    EXPECT_STREQ("VAT", title);
    EXPECT_EQ(std::vector<std::string>({std::to_string(a), std::to_string(b), std::to_string(credit), std::to_string(c)}),
              Keys());
    EXPECT_EQ("31/1/2024", Cell(list, 1, 1));
    EXPECT_EQ("JO001", Cell(list, 1, 2));
    EXPECT_EQ("Pipes", Cell(list, 1, 3));
    EXPECT_EQ("17.25", Cell(list, 1, 4));   // the gross less its tax
    EXPECT_EQ("2.75", Cell(list, 1, 5));
    EXPECT_EQ("Credit Note: Credit", Cell(list, 2, 3));
    EXPECT_EQ("-30.80", Cell(list, 2, 4));
    EXPECT_EQ("-9.20", Cell(list, 2, 5));
    EXPECT_EQ("-1.97", Total(IDT_VAT_NET));   // 8.50 + 17.25 - 30.80 + 3.08
    EXPECT_EQ("-4.03", Total(IDT_VAT_TAX));   // 1.50 + 2.75 - 9.20 + 0.92
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(report, IDP_VAT_FROM)));

    ChooseRange(1);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(report, IDP_VAT_FROM)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(report, IDP_VAT_TO)));
    SetDate(IDP_VAT_FROM, 31, 1, 2024);
    SetDate(IDP_VAT_TO, 1, 2, 2024);
    Reload();
    EXPECT_EQ(std::vector<std::string>({std::to_string(b), std::to_string(c)}), Keys());
    EXPECT_EQ("20.33", Total(IDT_VAT_NET));
    EXPECT_EQ("3.67", Total(IDT_VAT_TAX));
    SetDate(IDP_VAT_FROM, 1, 2, 2024);
    SetDate(IDP_VAT_TO, 10, 3, 2024);
    Reload();
    EXPECT_EQ(std::vector<std::string>({std::to_string(a), std::to_string(credit), std::to_string(c)}), Keys());

    SetDate(IDP_VAT_FROM, 10, 3, 2024);
    SetDate(IDP_VAT_TO, 9, 3, 2024);
    Reload();
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Invalid date range", messages[0].text);
    EXPECT_EQ(QL_COLOUR_WARNING, messages[0].colour);
    EXPECT_EQ(std::vector<std::string>({std::to_string(a), std::to_string(credit), std::to_string(c)}), Keys());

    ChooseRange(0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(report, IDP_VAT_TO)));
    Reload();
    EXPECT_EQ(4, RowCount(list));
}

// A day's documents posted as the forms post them: an invoice with taxed
// lines and taxed carriage, one whose only tax is its carriage's, one
// without tax, a credit note and a quotation.  Each listed row's Net + VAT
// is its document's gross (negative for the credit note); the totals are
// the sums worked out here from the documents' parts, and the printed page
// of totals and the CSV file show the same figures as the window.
TEST_F(VatReportTest, NetAndTaxOfADaysDocumentsAddUpToTheirGross)
{
    struct Doc {
        int type;
        int64_t lineNet, lineTax, carriage, carriageTax;
        bool listed;
    };
    const Doc docs[] = {
        {1, 24548, 4910, 1000, 200, true},   // 306.58 of which 51.10 tax
        {1, 10000, 0, 1500, 300, true},      // tax on the carriage only
        {1, 5000, 0, 0, 0, false},           // no tax at all
        {2, 4000, 800, 0, 0, true},          // a credit note
        {4, 9000, 1800, 0, 0, false},        // a quotation
    };
    auto money = [](int64_t cents) {
        char text[32];
        QlMoneyFormatCents(cents, text, sizeof text);
        return std::string(text);
    };
    int64_t expectNet = 0, expectTax = 0;
    std::vector<int64_t> keys;
    std::vector<int64_t> grossOf;
    for (const Doc &d : docs) {
        const int64_t gross = d.lineNet + d.lineTax + d.carriage + d.carriageTax;
        QlTransSnapshot snap;
        if (d.type == 2) {
            snap = Snapshot(2, 0, "JO001", money(gross).c_str(), {{"Returned pipes", money(d.lineNet), money(d.lineTax)}});
            strcpy(snap.carriageTax, money(d.lineTax).c_str());   // the credit form's tax total
        } else {
            snap = Snapshot(d.type, 0, "JO001", money(gross).c_str(),
                            {{"Fitting", d.lineTax ? "20.00" : "0.00", "0", money(d.lineNet), "0.00", money(d.lineNet),
                              money(d.lineTax)}});
            strcpy(snap.tax, money(d.lineTax).c_str());
            strcpy(snap.carriage, money(d.carriage).c_str());
            strcpy(snap.carriageTax, money(d.carriageTax).c_str());
        }
        int64_t key = 0;
        ASSERT_EQ(1, Post(&snap, d.type, &key));
        if (!d.listed) continue;
        const int sign = d.type == 2 ? -1 : 1;
        expectNet += sign * (d.lineNet + d.carriage);
        expectTax += sign * (d.lineTax + d.carriageTax);
        keys.push_back(key);
        grossOf.push_back(sign * gross);
    }
    ASSERT_EQ(25548 + 11500 - 4000, expectNet);   // the sums as a person adds them up
    ASSERT_EQ(5110 + 300 - 800, expectTax);

    Open();
    HWND list = ReportList();
    ASSERT_EQ(3, RowCount(list));
    for (int r = 0; r < 3; r++) {
        EXPECT_EQ(std::to_string(keys[r]), Cell(list, r, 0));
        EXPECT_EQ(grossOf[r], QlMoneyParseCents(Cell(list, r, 4).c_str()) + QlMoneyParseCents(Cell(list, r, 5).c_str()))
            << "row " << r;
    }
    EXPECT_EQ("255.48", Cell(list, 0, 4));
    EXPECT_EQ("51.10", Cell(list, 0, 5));
    EXPECT_EQ("115.00", Cell(list, 1, 4));
    EXPECT_EQ("3.00", Cell(list, 1, 5));
    EXPECT_EQ("Credit Note: Returned pipes", Cell(list, 2, 3));
    EXPECT_EQ("-40.00", Cell(list, 2, 4));
    EXPECT_EQ("-8.00", Cell(list, 2, 5));
    EXPECT_EQ(money(expectNet), Total(IDT_VAT_NET));
    EXPECT_EQ(money(expectTax), Total(IDT_VAT_TAX));

    MetafilePrinter printer;
    ASSERT_EQ(1, Draw(printer));
    ASSERT_EQ(2u, printer.pageCount());
    EmfRecords rows = printer.records(0);
    for (const char *cell : {"255.48", "51.10", "115.00", "3.00", "-40.00", "-8.00"})
        EXPECT_TRUE(rows.hasText(cell)) << cell;
    EmfRecords totals = printer.records(1);
    EXPECT_TRUE(totals.hasText("TOTAL NET (Exclusive of tax): " + money(expectNet))) << totals.allText();
    EXPECT_TRUE(totals.hasText("Total VAT: " + money(expectTax))) << totals.allText();
    SavePng(printer, 0, "vat-report-day.png");
    SavePng(printer, 1, "vat-report-day-totals.png");

    std::string csv = ExportTo("day.csv");
    EXPECT_NE(std::string::npos, csv.find("\r\n" + std::to_string(keys[0]) + ",14/3/2025,JO001,Fitting,255.48,51.10\r\n"))
        << csv;
    EXPECT_NE(std::string::npos, csv.find(",Credit Note: Returned pipes,-40.00,-8.00\r\n")) << csv;
    EXPECT_NE(std::string::npos, csv.find(",,,Total," + money(expectNet) + "," + money(expectTax) + "\r\n")) << csv;
}

// A failed query is reported with the data store's text and leaves neither
// rows nor totals of an earlier load.
TEST_F(VatReportTest, AFailedQueryIsReportedAndEmptiesTheList)
{
    AddInvoice("10/3/2024", "10.00", "1.50");
    Open();
    ASSERT_EQ(1, RowCount(ReportList()));
    QlDbExecHook = FailSelects;
    Reload();
    QlDbExecHook = NULL;
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Query failed", messages[0].caption);
    EXPECT_FALSE(messages[0].text.empty());
    EXPECT_EQ(0, RowCount(ReportList()));
    EXPECT_EQ("0.00", Total(IDT_VAT_NET));
    EXPECT_EQ("0.00", Total(IDT_VAT_TAX));
}

// 35 rows make one page of rows and a page of totals; 36 make two pages of
// rows, the second with the one row left.  Every page's header names the
// dates of the list's first and last rows and the page of all pages.
TEST_F(VatReportTest, ThePrintoutHas35RowsAPageAndAPageOfTotals)
{
    struct Case {
        int rows;
        size_t pages;
        int lastRowPageRows;
    };
    for (const Case &k : {Case{35, 2, 35}, Case{36, 3, 1}}) {
        SCOPED_TRACE(k.rows);
        ASSERT_EQ(1, QlDbExec("delete from trans", err)) << err;
        for (int i = 0; i < k.rows; i++) {
            char date[16];
            snprintf(date, sizeof date, "%d/4/2024", i % 28 + 1);
            AddInvoice(date, "10.00", "2.30", i == 0 ? "Pipes, copper & brass fittings for the new extension" : "Pipes");
        }
        Open();
        MetafilePrinter printer;
        ASSERT_EQ(1, Draw(printer));
        ASSERT_EQ(k.pages, printer.pageCount());
        std::string last = k.rows == 35 ? "7/4/2024" : "8/4/2024";
        for (size_t p = 0; p < k.pages; p++) {
            char header[128];
            snprintf(header, sizeof header, "VAT Report 1/4/2024 To: %s (Page %d of %d)", last.c_str(), (int)p + 1,
                     (int)k.pages);
            EXPECT_TRUE(printer.records(p).hasText(header)) << header;
        }
        EmfRecords first = printer.records(0);
        EXPECT_TRUE(first.hasText("VAT Report"));
        EXPECT_TRUE(first.hasText("(Acme Widgets Ltd)"));
        for (const char *t : {"Invoice No:", "Date:", "A/C Ref:", "Details", "Net", "VAT"}) EXPECT_TRUE(first.hasText(t)) << t;
        // The long description stops short of the Net column: clipped to its cell.
        const EmfText *longText = nullptr;
        for (const auto &t : first.texts)
            if (t.text.compare(0, 6, "Pipes,") == 0) longText = &t;
        ASSERT_NE(nullptr, longText);
        EXPECT_TRUE(longText->options & ETO_CLIPPED);
        EmfRecords lastRows = printer.records(k.pages - 2);
        int cells = 0;
        for (const auto &t : lastRows.texts) cells += t.text == "2.30";
        EXPECT_EQ(k.lastRowPageRows, cells);
        EmfRecords totals = printer.records(k.pages - 1);
        char net[64], tax[64];
        snprintf(net, sizeof net, "TOTAL NET (Exclusive of tax): %d.%02d", 770 * k.rows / 100, 770 * k.rows % 100);
        snprintf(tax, sizeof tax, "Total VAT: %d.%02d", 23 * k.rows / 10, 23 * k.rows % 10 * 10);
        EXPECT_TRUE(totals.hasText(net)) << totals.allText();
        EXPECT_TRUE(totals.hasText(tax)) << totals.allText();
        EXPECT_FALSE(totals.hasText("Invoice No:"));
        if (k.rows == 36) {
            SavePng(printer, 0, "vat-report-page1.png");
            SavePng(printer, 2, "vat-report-totals.png");
        }
        DestroyWindow(report);
        report = NULL;
    }
}

// An empty list is neither printed nor exported: the user is told, and no
// print or save dialog opens.  The Enter key does not run the tool bar's
// Export, whose command shares IDOK's number.
TEST_F(VatReportTest, AnEmptyListIsRefused)
{
    Open();
    SendMessageA(report, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 (LPARAM)FindWindowExA(report, NULL, TOOLBARCLASSNAMEA, NULL));
    EXPECT_EQ(0, QlVatReportExportCsv(report));
    ASSERT_EQ(2u, messages.size());
    for (const auto &m : messages) {
        EXPECT_EQ("Transaction List Empty", m.caption);
        EXPECT_EQ("Nothing to print in this report", m.text);
        EXPECT_EQ(QL_COLOUR_WARNING, m.colour);
    }
    EXPECT_EQ(0, gPrintDialogs);
    EXPECT_EQ(0, gSaveCalls);

    AddInvoice("10/3/2024", "10.00", "1.50");
    Reload();
    SendMessageA(report, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(0, gSaveCalls);
    Toolbar(report, 0);
    EXPECT_EQ(1, gPrintDialogs);
    Toolbar(report, 1);
    EXPECT_EQ(1, gSaveCalls);
    EXPECT_EQ("VAT.csv", gSaveFile);
}

// The CSV file: the heading with the first and last rows' dates, the titles,
// one line a row (a comma in a text keeps its field, quoted), an empty line
// and the totals, CR LF throughout; the default name follows the tax name,
// and the working directory is restored after the save dialog.
TEST_F(VatReportTest, TheExportWritesTheListAndItsTotals)
{
    int64_t a = AddInvoice("10/3/2024", "10.00", "1.50", "Pipes, copper");
    int64_t b = AddInvoice("2/1/2024", "20.00", "2.75");
    strcpy(QlSettings.cfg.taxName, "GST");
    Open();
    std::string expected = "GST Report 10/3/2024 To: 2/1/2024\r\n\r\n"
                           "Invoice No:,Date:,A/C Ref:,Details,Net,GST\r\n" +
                           std::to_string(a) + ",10/3/2024,JO001,\"Pipes, copper\",8.50,1.50\r\n" + std::to_string(b) +
                           ",2/1/2024,JO001,Pipes,17.25,2.75\r\n,,,,,\r\n,,,Total,25.75,4.25\r\n";
    EXPECT_EQ(expected, ExportTo("gst.csv"));
    EXPECT_EQ("GST.csv", gSaveFile);
    char now[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof now, now);
    EXPECT_STREQ(savedWorkDir, now);

    // Cancel writes nothing and says nothing.
    gSaveAnswer.clear();
    EXPECT_EQ(0, QlVatReportExportCsv(report));
    EXPECT_TRUE(messages.empty());
    // A file that cannot be made is reported.
    gSaveAnswer = folder + "\\missing\\gst.csv";
    EXPECT_EQ(0, QlVatReportExportCsv(report));
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Error", messages[0].caption);
}

// Past 65,535 rows (books that came from an import: the program's own limit
// is lower) every document is listed in the order of its number, and the
// heading of the export names the dates of the first and the last.
TEST_F(VatReportTest, MoreThan65535DocumentsAreListedInOrderWithTheirHeadingDates)
{
    const int count = 65540;
    char sql[1024];
    // Dates rise with the number: day 1..28, month 1..12, from 2000 on.
    snprintf(sql, sizeof sql,
             "with recursive n(k) as (select 1 union all select k+1 from n where k<%d) "
             "insert into trans (iKey,enabled,desc,type,sub_type,cust_rowid,acref,date,gross,gross_bal,vat,"
             "carriage,carriage_vat,num_sub_items) select k,'yes','Pipes','1','0','" QL_I64 "','JO001',"
             "printf('%%d/%%d/%%d', 1 + k %% 28, 1 + (k / 28) %% 12, 2000 + k / 336),'12.00','12.00','2.00',"
             "'0.00','0.00','1' from n;",
             count, customer);
    ASSERT_EQ(1, QlDbExec(sql, err)) << err;
    Open();
    std::vector<std::string> keys = Keys();
    ASSERT_EQ((size_t)count, keys.size());
    int outOfPlace = 0;
    for (int i = 0; i < count; i++)
        if (keys[i] != std::to_string(i + 1) && outOfPlace++ < 5) ADD_FAILURE() << "row " << i << ": " << keys[i];
    EXPECT_EQ(0, outOfPlace);
    EXPECT_EQ("2/1/2000", Cell(ReportList(), 0, 1));
    EXPECT_EQ("21/1/2195", Cell(ReportList(), count - 1, 1));
    EXPECT_EQ("655400.00", Total(IDT_VAT_NET));
    EXPECT_EQ("131080.00", Total(IDT_VAT_TAX));

    std::string csv = ExportTo("many.csv");
    EXPECT_EQ(0u, csv.find("VAT Report 2/1/2000 To: 21/1/2195\r\n")) << csv.substr(0, 80);
    std::string tail = std::to_string(count) + ",21/1/2195,JO001,Pipes,10.00,2.00\r\n,,,,,\r\n";
    EXPECT_NE(std::string::npos, csv.find(tail, csv.size() - 200));
}

// Print and Export of the tax report in the Reports dialog close it and
// open the report window over the main window; closing that returns to the
// main window.
TEST_F(VatReportTest, TheReportsDialogHandsOverToTheReportWindow)
{
    AddInvoice("10/3/2024", "10.00", "1.50");
    for (int button : {IDB_REPORTS_PRINT, IDB_REPORTS_EXPORT}) {
        HWND reports = NULL;
        DialogDriver driver({[&](HWND dialog) {
                                 reports = dialog;
                                 SendDlgItemMessageA(dialog, IDL_REPORTS_LIST, LB_SETCURSEL, 0, 0);
                                 SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDL_REPORTS_LIST, LBN_SELCHANGE),
                                              (LPARAM)GetDlgItem(dialog, IDL_REPORTS_LIST));
                                 ClickButton(dialog, button);
                             },
                             [&](HWND dialog) {
                                 EXPECT_NE(reports, dialog);
                                 EXPECT_FALSE(IsWindowVisible(reports));
                                 EXPECT_EQ(main, GetWindow(dialog, GW_OWNER));
                                 EXPECT_EQ("VAT report for specified time period", WindowText(dialog));
                                 EXPECT_EQ(1, RowCount(GetDlgItem(dialog, IDL_VAT_LIST)));
                                 PressKey(dialog, VK_ESCAPE);
                             }});
        EXPECT_EQ(0, QlReportsShow(main));
        EXPECT_EQ(2u, driver.stepsRun());
        EXPECT_FALSE(IsWindow(reports));
    }
    EXPECT_EQ(0, gPrintDialogs);
    EXPECT_EQ(0, gSaveCalls);
}
