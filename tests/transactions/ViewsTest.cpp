// Stored invoices and credit notes opened again in their views: what they
// show, the delivery note, a line edited and written back, the view opened
// again, and the PDF command's report.
#include "TransTestSupport.h"
#include "UiTestSupport.h"

#include "ui/QlAppState.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "customers/QlCustModule.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlOpeners.h"
#include "docmodel/QlTransLines.h"
#include "documents/QlDocOutput.h"
#include "resources/QlResTrans.h"
#include "resources/QlResTransViews.h"
#include "transactions/QlItemDialogs.h"
#include "transactions/QlTransForm.h"
#include "transactions/QlTransViews.h"

#include <commctrl.h>
#include <stdlib.h>
#include <string.h>

namespace {

class ViewsTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        AddPipesAndElbows(200);
        // Print and PDF commands meet cancelled dialogs (the seams are reset
        // after every test).
        QlSeamPrintDialog = CancelDialog<LPPRINTDLGA>;
        QlSeamGetSaveFileName = CancelDialog<LPOPENFILENAMEA>;
        dialogsCancelled = 0;
    }
    template <typename T> static BOOL WINAPI CancelDialog(T)
    {
        dialogsCancelled++;
        return FALSE;
    }
    static int dialogsCancelled;
    // A service row as the service dialog writes it, no discount.
    static std::vector<std::string> ServiceRow(const char *descr, const char *price, const char *rate,
                                               const char *tax)
    {
        return {descr, rate, "0", price, "0.00", price, tax};
    }
    // Consulting 100.00 at 23 % and Travel 20.00 at 0 %, carriage 5.00 with
    // 1.15 tax, order PO-7; stored with a gross its lines do not add up to.
    int64_t StoreServiceInvoice(const char *gross = "99.99")
    {
        return Store(QL_DOC_INVOICE, 0, gross,
                     {ServiceRow("Consulting", "100.00", "23.00", "23.00"), ServiceRow("Travel", "20.00", "0.00", "0.00")},
                     "23.00", "5.00", "1.15", "PO-7");
    }
    // 3 copper pipes and 10 brass elbows: 37.50 + 8.63 and 19.90.
    int64_t StoreProductInvoice()
    {
        return Store(QL_DOC_INVOICE, 1, "66.03",
                     {ProductRow("P001", "Copper pipe", 3, 1250, 2300), ProductRow("P002", "Brass elbow", 10, 199, 0)},
                     "8.63");
    }
    HWND OpenStored(int64_t key)
    {
        opened = Stored(key);
        form = QlTransOpenByType(&opened);
        EXPECT_EQ(QlModuleWnd, form);
        return form;
    }
    bool ReadOnly(int id) const { return (GetWindowLongA(GetDlgItem(form, id), GWL_STYLE) & ES_READONLY) != 0; }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(form, id)) != 0; }
    // The date picker's range: "d/m/yyyy - d/m/yyyy".
    std::string DateRange() const
    {
        SYSTEMTIME range[2] = {};
        DWORD which = (DWORD)SendDlgItemMessageA(form, IDP_DOC_DATE, DTM_GETRANGE, 0, (LPARAM)range);
        if (which != (GDTR_MIN | GDTR_MAX)) return "open";
        char text[64];
        snprintf(text, sizeof text, "%d/%d/%d - %d/%d/%d", range[0].wDay, range[0].wMonth, range[0].wYear,
                 range[1].wDay, range[1].wMonth, range[1].wYear);
        return text;
    }
    // The Edit button with the line dialog answered by the steps.  The
    // question a stored document asks first (answered with `answer`) is
    // taken out of the messages into `asked`.
    void EditRow(int row, std::vector<std::function<void(HWND)>> steps)
    {
        SelectRow(row);
        DialogDriver driver(std::move(steps));
        size_t before = messages.size();
        FormCommand(IDB_DOC_EDIT);
        if (messages.size() > before && messages[before].caption == "Confirm operation") {
            asked.push_back(messages[before].text);
            messages.erase(messages.begin() + (long)before);
        }
    }
    std::vector<std::string> asked;

    QlTransRec opened = {};
};

// Fails the header's update, after the line's update has run.
int FailHeaderUpdate(const char *sql)
{
    return strncmp(sql, "update trans ", 13) == 0;
}

}  // namespace

int ViewsTest::dialogsCancelled = 0;

TEST_F(ViewsTest, AServiceInvoiceShowsItsStoredFiguresReadOnly)
{
    int64_t key = StoreServiceInvoice();
    ASSERT_NE(nullptr, OpenStored(key));
    EXPECT_EQ("INVOICE", Text(IDT_DOC_TITLE));
    EXPECT_EQ(std::to_string(key), Text(IDT_DOC_NUMBER));
    EXPECT_EQ("JO001", Text(IDT_DOC_ACREF));
    EXPECT_EQ("Joe's Plumbing", Text(IDE_DOC_COMPANY));
    EXPECT_EQ("PO-7", Text(IDE_DOC_ORDER));
    // The stored gross, although the lines and carriage come to 149.15.
    EXPECT_EQ("99.99", Text(IDT_DOC_GROSS));
    EXPECT_EQ("120.00", Text(IDT_DOC_NET));
    EXPECT_EQ("23.00", Text(IDT_DOC_TAX));
    EXPECT_EQ("5.00", Text(IDT_DOC_CARRIAGE));
    EXPECT_EQ("1.15", Text(IDT_DOC_CARRIAGE_TAX));
    EXPECT_EQ("5", Text(IDE_DOC_CARRIAGE_UNITS));
    // The rate is not stored; the combo shows the one that gives the stored tax.
    EXPECT_EQ(1, (int)SendDlgItemMessageA(form, IDC_DOC_CARRIAGE_RATE, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(QL_SERV_COLUMNS, QlListColumnCount(Lines()));
    ASSERT_EQ(2, RowCount(Lines()));
    EXPECT_EQ("Travel", Cell(Lines(), 1, 0));
    EXPECT_EQ(0, QlTransLineMode);

    // Only Edit changes anything; account, number, type and date stay.
    for (int id : {IDE_DOC_BARCODE, IDT_DOC_BARCODE_PROMPT, IDE_DOC_CUSTOM, IDT_DOC_CUSTOM_LABEL})
        EXPECT_EQ(nullptr, GetDlgItem(form, id)) << id;
    for (int id : {IDB_DOC_SELECT, IDB_DOC_ADD, IDB_DOC_DELETE, IDC_DOC_TYPE, IDE_DOC_CARRIAGE_UNITS,
                   IDC_DOC_CARRIAGE_RATE})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(IDB_DOC_EDIT));
    for (int id : {IDE_DOC_ACREF, IDE_DOC_COMPANY, IDE_DOC_ADDR1, IDE_DOC_ORDER}) EXPECT_TRUE(ReadOnly(id)) << id;
    EXPECT_EQ("14/3/2025 - 14/3/2025", DateRange());
    EXPECT_EQ(4, ToolbarButtons());
    EXPECT_TRUE(messages.empty());

    Toolbar(3);   // Close
    EXPECT_FALSE(IsWindow(form));
    EXPECT_EQ(nullptr, QlModuleWnd);
}

TEST_F(ViewsTest, AProductInvoicesDeliveryNoteListsEveryLineFromOne)
{
    int64_t key = StoreProductInvoice();
    NativeExec(("update trans set order_number='PO-9' where iKey=" + std::to_string(key) + ";").c_str());
    ASSERT_NE(nullptr, OpenStored(key));
    EXPECT_EQ(QL_PROD_COLUMNS, QlListColumnCount(Lines()));
    EXPECT_EQ(1, QlTransLineMode);
    EXPECT_EQ(5, ToolbarButtons());
    EXPECT_EQ("66.03", Text(IDT_DOC_GROSS));

    std::vector<std::vector<std::string>> rows;
    std::string number, acref, company, order, title;
    bool openAfterPrint = false;
    {
        DialogDriver driver({[&](HWND d) {
                                 HWND list = GetDlgItem(d, IDL_DN_ITEMS);
                                 for (int r = 0; r < RowCount(list); r++)
                                     rows.push_back({Cell(list, r, 0), Cell(list, r, 1), Cell(list, r, 2),
                                                     Cell(list, r, 3)});
                                 number = DialogText(d, IDT_DOC_NUMBER);
                                 acref = DialogText(d, IDT_DOC_ACREF);
                                 company = DialogText(d, IDE_DOC_COMPANY);
                                 order = DialogText(d, IDE_DN_ORDER);
                                 title = DialogText(d, IDT_DOC_TITLE);
                                 HWND bar = FindWindowExA(d, NULL, TOOLBARCLASSNAMEA, NULL);
                                 SendMessageA(d, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), (LPARAM)bar);   // Print
                                 openAfterPrint = IsWindow(d) != 0;
                             },
                             [](HWND d) {
                                 HWND bar = FindWindowExA(d, NULL, TOOLBARCLASSNAMEA, NULL);
                                 SendMessageA(d, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), (LPARAM)bar);   // Close
                             }});
        Toolbar(3);
        EXPECT_EQ(2u, driver.stepsRun());
    }
    const std::vector<std::vector<std::string>> expected = {{"1", "P001", "3", "Copper pipe"},
                                                            {"2", "P002", "10", "Brass elbow"}};
    EXPECT_EQ(expected, rows);
    EXPECT_EQ(std::to_string(key), number);
    EXPECT_EQ("JO001", acref);
    EXPECT_EQ("Joe's Plumbing", company);
    EXPECT_EQ("PO-9", order);
    EXPECT_EQ("Delivery Note", title);
    EXPECT_TRUE(openAfterPrint);
    EXPECT_EQ(1, dialogsCancelled) << "the print dialog came";
    EXPECT_TRUE(IsWindow(form));
}

TEST_F(ViewsTest, AnEditedLineIsStoredAndTheReopenedViewShowsIt)
{
    int64_t product = StoreProductInvoice();
    int64_t service = StoreServiceInvoice();
    // A service invoice opened right after a product one edits with the
    // service dialog.
    ASSERT_NE(nullptr, OpenStored(product));
    ASSERT_NE(nullptr, OpenStored(service));
    bool serviceDialog = false;
    EditRow(0, {[&](HWND d) {
        serviceDialog = GetDlgItem(d, IDE_ITEM_SERV_CODE) != NULL;
        SetField(d, IDE_ITEM_DESCR, "Consulting, Joe's \"rush\" job");
        SetField(d, IDE_ITEM_PRICE_UNITS, "150");
        ClickButton(d, IDOK);
    }});
    EXPECT_TRUE(serviceDialog);
    EXPECT_TRUE(messages.empty()) << messages[0].text;
    // 150.00 at 23 % and 20.00, carriage 5.00 and 1.15: the gross of the lines now.
    EXPECT_EQ("210.65", Text(IDT_DOC_GROSS));
    EXPECT_EQ("150.00|34.50|Consulting, Joe's \"rush\" job",
              Scalar(("select subtotal||'|'||vat||'|'||descr from invoices where tx_rowid=" + std::to_string(service) +
                      " order by iKey limit 1;").c_str()));
    QlTransRec rec = Stored(service);
    EXPECT_STREQ("210.65", rec.gross);
    EXPECT_STREQ("210.65", rec.gross_bal);
    EXPECT_STREQ("34.50", rec.vat);
    EXPECT_STREQ("Consulting, Joe's \"rush\" job", rec.desc);

    // Restoring the main window opens the view again, from the database.
    HWND before = form;
    SendMessageA(form, QL_WM_MAIN_RESTORED, 0, 0);
    EXPECT_FALSE(IsWindow(before));
    form = QlModuleWnd;
    ASSERT_TRUE(IsWindow(form));
    EXPECT_EQ("210.65", Text(IDT_DOC_GROSS));
    EXPECT_EQ("150.00", Cell(Lines(), 0, 3));
}

// A stored invoice or credit note may have been sent, paid or reported:
// the first Edit of a view asks, naming it; Cancel opens no line dialog and
// changes nothing.  Once agreed, the view asks no more, also after it was
// opened again on its own (a failed write, a restored main window); opened
// anew, it asks again.  A quotation asks nothing.
TEST_F(ViewsTest, EditAsksOnceBeforeAStoredDocumentChanges)
{
    int64_t key = StoreServiceInvoice();
    ASSERT_NE(nullptr, OpenStored(key));
    std::string before = Dump();
    answer = 0;
    EditRow(0, {});   // no line dialog may open
    EXPECT_EQ(std::vector<std::string>({"Invoice " + std::to_string(key) +
                                        " has been saved already. Change the stored invoice?"}),
              asked);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(before, Dump());
    EXPECT_EQ("100.00", Cell(Lines(), 0, 3));

    answer = 1;
    auto price = [](const char *units) {
        return [=](HWND d) {
            SetField(d, IDE_ITEM_PRICE_UNITS, units);
            ClickButton(d, IDOK);
        };
    };
    EditRow(0, {price("150")});
    EXPECT_EQ(2u, asked.size());
    EXPECT_STREQ("210.65", Stored(key).gross);
    SendMessageA(form, QL_WM_MAIN_RESTORED, 0, 0);   // opened again on its own
    form = QlModuleWnd;
    EditRow(0, {price("160")});
    EXPECT_EQ(2u, asked.size());
    EXPECT_STREQ("222.95", Stored(key).gross);
    EXPECT_TRUE(messages.empty()) << messages[0].text;

    // Opened anew: asked again.
    ASSERT_NE(nullptr, OpenStored(key));
    EditRow(0, {price("170")});
    EXPECT_EQ(3u, asked.size());

    // A credit note names itself.
    int64_t credit = Store(QL_DOC_CREDIT, 0, "12.30", {{"Returned pipe", "10.00", "2.30"}}, "0.00", "0.00", "2.30");
    ASSERT_NE(nullptr, OpenStored(credit));
    answer = 0;
    std::string stored = Dump();
    EditRow(0, {});
    ASSERT_EQ(4u, asked.size());
    EXPECT_EQ("Credit note " + std::to_string(credit) + " has been saved already. Change the stored credit note?",
              asked[3]);
    EXPECT_EQ(stored, Dump());
}

TEST_F(ViewsTest, AWriteBackThatFailsShowsTheStoredDocumentAgain)
{
    int64_t key = StoreServiceInvoice();
    ASSERT_NE(nullptr, OpenStored(key));
    std::string before = Dump();
    HWND view = form;
    QlDbExecHook = FailHeaderUpdate;
    EditRow(0, {[](HWND d) {
        SetField(d, IDE_ITEM_PRICE_UNITS, "150");
        ClickButton(d, IDOK);
    }});
    QlDbExecHook = NULL;
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Transaction update failed", messages[0].caption);
    EXPECT_EQ("injected failure", messages[0].text);
    EXPECT_EQ(before, Dump());
    // The edit is not on the screen either: the view was opened again.
    EXPECT_FALSE(IsWindow(view));
    form = QlModuleWnd;
    ASSERT_TRUE(IsWindow(form));
    EXPECT_EQ("100.00", Cell(Lines(), 0, 3));
    EXPECT_EQ("99.99", Text(IDT_DOC_GROSS));
}

TEST_F(ViewsTest, ThePdfCommandReportsWrittenCancelledInUseOrFailed)
{
    // A stand-in for the status panel, to see what is posted to it.
    HWND panel = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, main, NULL, GetModuleHandleA(NULL), NULL);
    QlStatusPanelWnd = panel;
    const struct {
        int written, status;
        const char *posted;
        const char *message;
    } cases[] = {{1, QL_PDF_STATUS_OK, "Invoice saved as C:\\data\\INVOICE7.pdf", ""},
                 {0, QL_PDF_STATUS_CANCELLED, "", ""},
                 {0, QL_PDF_STATUS_WRITE_FAILED, "", "Failed to create PDF file"},
                 {0, QL_PDF_STATUS_IN_USE, "",
                  "The file is in use (an e-mail is being sent with it, or another program has it open) and was not "
                  "replaced."},
                 {0, QL_PDF_STATUS_OK, "", "Failed to create PDF file"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.status);
        messages.clear();
        QlTransReportPdf(main, c.written, c.status, "Invoice saved as %s", "C:\\data\\INVOICE7.pdf");
        MSG msg;
        std::string posted;
        if (PeekMessageA(&msg, panel, QL_WM_STATUS_SHOW, QL_WM_STATUS_SHOW, PM_REMOVE)) {
            posted = (const char *)msg.lParam;
            EXPECT_EQ(QL_COLOUR_DONE, (COLORREF)msg.wParam);
            free((void *)msg.lParam);
        }
        EXPECT_EQ(c.posted, posted);
        EXPECT_EQ(c.message, messages.empty() ? "" : messages[0].text);
    }
    QlStatusPanelWnd = NULL;
    DestroyWindow(panel);

    // The view's PDF command asks where to save; cancelled, nothing is said
    // (the working folder is restored after the dialog).
    char savedWorkDir[MAX_PATH];
    strcpy(savedWorkDir, QlWorkDir);
    GetCurrentDirectoryA(sizeof QlWorkDir, QlWorkDir);
    messages.clear();
    ASSERT_NE(nullptr, OpenStored(StoreServiceInvoice()));
    Toolbar(2);
    strcpy(QlWorkDir, savedWorkDir);
    EXPECT_EQ(1, dialogsCancelled);
    EXPECT_TRUE(messages.empty()) << messages[0].text;
}

TEST_F(ViewsTest, ANewCreditNoteLineAndItsDeletion)
{
    Open();
    Command(QL_CUST_CMD_CREDIT);
    form = QlModuleWnd;
    ASSERT_NE(module, form);
    {
        DialogDriver driver({[](HWND d) {
            SetField(d, IDE_ITEM_DESCR, "Returned pipe");
            SetField(d, IDE_ITEM_PRICE_UNITS, "10");
            SetField(d, IDE_ITEM_TAX_UNITS, "2");
            SetField(d, IDE_ITEM_TAX_HUNDREDTHS, "30");
            ClickButton(d, IDOK);
        }});
        FormCommand(IDB_DOC_ADD);
    }
    EXPECT_EQ("10.00", Text(IDT_DOC_TAX));
    EXPECT_EQ("2.30", Text(IDT_DOC_CARRIAGE_TAX));
    EXPECT_EQ("12.30", Text(IDT_DOC_GROSS));

    SelectRow(0);
    FormCommand(IDB_DOC_DELETE);
    EXPECT_EQ(0, RowCount(Lines()));
    for (int id : {IDT_DOC_TAX, IDT_DOC_CARRIAGE_TAX, IDT_DOC_GROSS}) EXPECT_EQ("0.00", Text(id)) << id;
    messages.clear();
    Toolbar(QL_FORM_CMD_SAVE);
    EXPECT_TRUE(IsWindow(form));
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Zero gross amount", messages[0].text);
    EXPECT_EQ("0", Scalar("select count(*) from trans;"));
}

TEST_F(ViewsTest, ACreditNoteViewShowsItsNumberAndWritesAnEditBack)
{
    int64_t key = Store(QL_DOC_CREDIT, 0, "12.30", {{"Returned pipe", "10.00", "2.30"}}, "0.00", "0.00", "2.30");
    ASSERT_NE(nullptr, OpenStored(key));
    EXPECT_EQ("CREDIT NOTE", Text(IDT_DOC_TITLE));
    EXPECT_EQ(std::to_string(key), Text(IDT_DOC_NUMBER));
    EXPECT_EQ("10.00", Text(IDT_DOC_TAX));
    EXPECT_EQ("2.30", Text(IDT_DOC_CARRIAGE_TAX));
    EXPECT_EQ("12.30", Text(IDT_DOC_GROSS));
    EXPECT_EQ(QL_CREDIT_COLUMNS, QlListColumnCount(Lines()));
    EXPECT_EQ(nullptr, GetDlgItem(form, IDE_DOC_CUSTOM));
    EXPECT_FALSE(Enabled(IDB_DOC_ADD));
    EXPECT_EQ("14/3/2025 - 14/3/2025", DateRange());
    EXPECT_EQ(4, ToolbarButtons());

    EditRow(0, {[](HWND d) {
        SetField(d, IDE_ITEM_DESCR, "Returned pipes");
        SetField(d, IDE_ITEM_PRICE_UNITS, "20");
        SetField(d, IDE_ITEM_TAX_UNITS, "4");
        SetField(d, IDE_ITEM_TAX_HUNDREDTHS, "60");
        ClickButton(d, IDOK);
    }});
    EXPECT_TRUE(messages.empty()) << messages[0].text;
    EXPECT_EQ("24.60", Text(IDT_DOC_GROSS));
    EXPECT_EQ("Returned pipes|20.00|4.60", Scalar("select descr||'|'||net||'|'||vat from invoices;"));
    QlTransRec rec = Stored(key);
    EXPECT_STREQ("24.60", rec.gross);
    EXPECT_STREQ("4.60", rec.vat);
    EXPECT_STREQ("Returned pipes", rec.desc);
}
