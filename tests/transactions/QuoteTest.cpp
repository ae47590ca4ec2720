// The quotation form: a new quotation from the customers module with and
// without carriage (taxed at its chosen rate), the view of a stored one, its lines edited, and a clone
// into a new quotation through the block posted to the main window.
#include "TransTestSupport.h"
#include "UiTestSupport.h"
#include "QlTestPdf.h"
#include "QlTestPrint.h"

#include "ui/QlAppState.h"
#include "core/QlPlatform.h"
#include "ui/QlUtil.h"
#include "customers/QlCustModule.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlOpeners.h"
#include "docmodel/QlTransLines.h"
#include "documents/QlDocOutput.h"
#include "documents/QlDocPrint.h"
#include "resources/QlResTrans.h"
#include "resources/QlResTransViews.h"
#include "transactions/QlItemDialogs.h"
#include "transactions/QlTransForm.h"
#include "transactions/QlTransViews.h"

#include <commctrl.h>
#include <stdlib.h>
#include <string.h>

#include <map>

namespace {

// Every block released, and how often.
std::map<QlQuotePrefill *, int> gReleased;
void CountRelease(QlQuotePrefill *block)
{
    gReleased[block]++;
    free(block);
}

class QuoteTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        AddPipesAndElbows(200);
        gReleased.clear();
        savedRelease = QlQuotePrefillRelease;
        QlQuotePrefillRelease = CountRelease;
        QlSettings.cfg.printCarriage = 1;
    }
    void TearDown() override
    {
        QlQuotePrefillRelease = savedRelease;
        FormTest::TearDown();
    }
    // The customers module's Quote command for the account shown.
    HWND OpenNew()
    {
        Open();
        Command(3);
        form = QlModuleWnd;
        return form != module ? form : NULL;
    }
    // A service line through the line dialog: price, rate B (23 %).
    std::string AddService(const char *descr, const char *price)
    {
        std::string caption;
        DialogDriver driver({[&](HWND d) {
            caption = WindowText(d);
            SetField(d, IDE_ITEM_DESCR, descr);
            SetField(d, IDE_ITEM_PRICE_UNITS, price);
            Choose(d, IDC_ITEM_RATE, 1);
            ClickButton(d, IDOK);
        }});
        FormCommand(IDB_DOC_ADD);
        return caption;
    }
    HWND OpenStored(int64_t key)
    {
        opened = Stored(key);
        form = QlTransOpenByType(&opened);
        return form;
    }
    // The block a clone posted to the main window, taken from the queue.
    QlQuotePrefill *PostedBlock()
    {
        MSG msg;
        if (!PeekMessageA(&msg, QlMainWnd, QL_WM_QUOTE_COPY, QL_WM_QUOTE_COPY, PM_REMOVE)) return nullptr;
        return (QlQuotePrefill *)msg.lParam;
    }

    void (*savedRelease)(QlQuotePrefill *) = nullptr;
    QlTransRec opened = {};
};

}  // namespace

TEST_F(QuoteTest, ANewQuotationWithoutCarriageForTheModulesAccount)
{
    QlSettings.cfg.printCarriage = 0;
    ASSERT_NE(nullptr, OpenNew());
    EXPECT_EQ("QUOTATION", Text(IDT_DOC_TITLE));
    EXPECT_EQ("QUOTATION TO:", Text(IDT_DOC_TO_LABEL));
    EXPECT_EQ("JO001", Text(IDT_DOC_ACREF));
    EXPECT_EQ("<auto>", Text(IDT_DOC_NUMBER));
    for (int id : {IDE_DOC_ORDER, IDE_DOC_CUSTOM, IDE_DOC_CARRIAGE_TAX_UNITS})
        EXPECT_EQ(nullptr, GetDlgItem(form, id)) << id;
    for (int id : {IDT_DOC_CARRIAGE_LABEL, IDE_DOC_CARRIAGE_UNITS, IDE_DOC_CARRIAGE_HUNDREDTHS, IDC_DOC_CARRIAGE_RATE})
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, id))) << id;

    EXPECT_EQ("Select or Enter service for quotation line", AddService("Survey", "100"));
    AddService("Report", "50");
    EXPECT_EQ("150.00", Text(IDT_DOC_NET));
    EXPECT_EQ("34.50", Text(IDT_DOC_TAX));
    EXPECT_EQ("184.50", Text(IDT_DOC_GROSS));

    // Delete asks with the quotation's words and numbers rows from 1.
    SelectRow(1);
    answer = 0;
    FormCommand(IDB_DOC_DELETE);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Delete Quotation Line Confirmation", messages[0].caption);
    EXPECT_EQ("Delete Quotation Line (2) ?", messages[0].text);
    EXPECT_EQ("Delete", okLabels[0]);
    EXPECT_EQ(2, RowCount(Lines()));

    messages.clear();
    StatusPanel status;
    Toolbar(QL_FORM_CMD_SAVE);
    EXPECT_FALSE(IsWindow(form));
    EXPECT_TRUE(messages.empty()) << messages[0].text;
    EXPECT_EQ("Quotation " + Scalar("select iKey from trans;") + " saved", status.Posted());
    EXPECT_EQ("4|0|184.50|0.00|34.50|Survey", Scalar("select type||'|'||sub_type||'|'||gross||'|'||carriage||'|'||vat||'|'||"
                                                     "desc from trans;"));
    // A quotation is never outstanding.
    EXPECT_EQ(0, Balance());
}

// Carriage is taxed at the rate chosen beside it, as on an invoice: the
// form's totals, the stored record, the view and its print and PDF agree.
TEST_F(QuoteTest, CarriageIsTaxedAtItsChosenRateAsOnAnInvoice)
{
    ASSERT_NE(nullptr, OpenNew());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(form, IDE_DOC_CARRIAGE_UNITS)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(form, IDC_DOC_CARRIAGE_RATE)));
    AddService("Survey", "100");
    SetDlgItemTextA(form, IDE_DOC_CARRIAGE_UNITS, "7");
    SetDlgItemTextA(form, IDE_DOC_CARRIAGE_HUNDREDTHS, "50");
    Choose(form, IDC_DOC_CARRIAGE_RATE, 0);   // 0 %
    EXPECT_EQ("7.50", Text(IDT_DOC_CARRIAGE));
    EXPECT_EQ("0.00", Text(IDT_DOC_CARRIAGE_TAX));
    EXPECT_EQ("130.50", Text(IDT_DOC_GROSS));
    Choose(form, IDC_DOC_CARRIAGE_RATE, 1);   // 23 %: 1.725 to the cent
    EXPECT_EQ("1.73", Text(IDT_DOC_CARRIAGE_TAX));
    EXPECT_EQ("132.23", Text(IDT_DOC_GROSS));
    // Changing the carriage retaxes it at the chosen rate.
    SetDlgItemTextA(form, IDE_DOC_CARRIAGE_UNITS, "10");
    SetDlgItemTextA(form, IDE_DOC_CARRIAGE_HUNDREDTHS, "00");
    EXPECT_EQ("2.30", Text(IDT_DOC_CARRIAGE_TAX));
    EXPECT_EQ("135.30", Text(IDT_DOC_GROSS));
    Toolbar(QL_FORM_CMD_SAVE);
    EXPECT_EQ("135.30|10.00|2.30|23.00",
              Scalar("select gross||'|'||carriage||'|'||carriage_vat||'|'||vat from trans;"));

    const int64_t key = strtoll(Scalar("select iKey from trans;").c_str(), NULL, 10);
    ASSERT_NE(nullptr, OpenStored(key));
    EXPECT_EQ("10.00", Text(IDT_DOC_CARRIAGE));
    EXPECT_EQ("2.30", Text(IDT_DOC_CARRIAGE_TAX));
    EXPECT_EQ("135.30", Text(IDT_DOC_GROSS));
    EXPECT_EQ(1, (int)SendDlgItemMessageA(form, IDC_DOC_CARRIAGE_RATE, CB_GETCURSEL, 0, 0));

    QlDocPrintJob job;
    QlDocPrintJobInit(&job, QL_DOCK_QUOTE, form, 0);
    MetafilePrinter printer;
    ASSERT_EQ(1, QlDocPrintDraw(printer.target(), &job));
    printer.finish();
    EmfRecords page = printer.records(0);
    for (const char *text : {"10.00", "2.30", "135.30"}) EXPECT_TRUE(page.hasText(text)) << text;

    QL_TEST_REQUIRE_UNIX();
    char path[QL_DOC_PATH_SIZE] = "";
    int status = -1;
    ASSERT_EQ(1, QlQuoteSavePdfIn(form, 0, folder.c_str(), path, &status));
    char native[MAX_PATH * 4];
    ASSERT_EQ(1, QlPathToNative(path, native, sizeof native));
    const std::string text = QlTestPdfText(native);
    for (const char *value : {"10.00", "2.30", "135.30"}) EXPECT_NE(std::string::npos, text.find(value)) << value;
}

TEST_F(QuoteTest, ACloneOpensANewProductQuotationWithTheLinesOnly)
{
    // Two product lines (46.13 and 19.90) and carriage 7.50: 73.53.
    int64_t key = Store(QL_DOC_QUOTE, 1, "73.53",
                        {ProductRow("P001", "Copper pipe", 3, 1250, 2300), ProductRow("P002", "Brass elbow", 10, 199, 0)},
                        "8.63", "7.50");
    ASSERT_NE(nullptr, OpenStored(key));
    EXPECT_EQ("7.50", Text(IDT_DOC_CARRIAGE));
    EXPECT_EQ("73.53", Text(IDT_DOC_GROSS));
    EXPECT_EQ(5, ToolbarButtons());
    // Laid out for a maximized main window, the view keeps its five buttons.
    SendMessageA(form, QL_WM_MAIN_MAXIMIZED, 0, 0);
    EXPECT_EQ(5, ToolbarButtons());

    HWND view = form;
    Toolbar(3);   // Clone
    EXPECT_FALSE(IsWindow(view));
    QlQuotePrefill *block = PostedBlock();
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(key, block->sourceKey);
    EXPECT_EQ(4, block->type);
    EXPECT_EQ(1, block->subType);

    // The main window hands a quotation's block to the new-quotation opener.
    form = QlQuoteOpenNew(NULL, block);
    ASSERT_NE(nullptr, form);
    EXPECT_EQ(1, gReleased[block]);
    EXPECT_EQ(1, QlTransLineMode);
    EXPECT_EQ(QL_PROD_COLUMNS, QlListColumnCount(Lines()));
    ASSERT_EQ(2, RowCount(Lines()));
    EXPECT_EQ("P002", Cell(Lines(), 1, 0));
    EXPECT_EQ("10", Cell(Lines(), 1, 2));
    EXPECT_EQ(2, QlTransLineCount);
    EXPECT_EQ("", Text(IDT_DOC_ACREF));
    EXPECT_EQ("<auto>", Text(IDT_DOC_NUMBER));
    EXPECT_EQ("0.00", Text(IDT_DOC_CARRIAGE));
    // Its gross is its own: the lines without the source's carriage.
    EXPECT_EQ("66.03", Text(IDT_DOC_GROSS));

    Toolbar(QL_FORM_CMD_SAVE);
    EXPECT_TRUE(IsWindow(form));
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Missing Account Number", messages[0].caption);
}

TEST_F(QuoteTest, APrefillBlockIsReleasedExactlyOnce)
{
    int64_t key = Store(QL_DOC_QUOTE, 0, "123.00", {{"Survey", "23.00", "0", "100.00", "0.00", "100.00", "23.00"}},
                        "23.00");
    QlQuotePrefill *first = (QlQuotePrefill *)malloc(sizeof *first);
    QlQuotePrefill *second = (QlQuotePrefill *)malloc(sizeof *second);
    *first = {key, 4, 0};
    *second = {key, 4, 0};

    // No form can open without the main window: the block waits.
    QlMainWnd = NULL;
    EXPECT_EQ(nullptr, QlQuoteOpenNew(NULL, first));
    EXPECT_EQ(0u, gReleased.size());
    QlMainWnd = main;

    // The next opening releases it, and its own block once its form is filled.
    form = QlQuoteOpenNew(NULL, second);
    ASSERT_NE(nullptr, form);
    EXPECT_EQ(1, RowCount(Lines()));
    form = QlQuoteOpenNew("JO001", NULL);
    ASSERT_NE(nullptr, form);
    EXPECT_EQ((std::map<QlQuotePrefill *, int>{{first, 1}, {second, 1}}), gReleased);

    // An account that does not exist opens no form; its block is released all the same.
    // (The count starts afresh: the new block may take a freed block's address.)
    gReleased.clear();
    QlQuotePrefill *third = (QlQuotePrefill *)malloc(sizeof *third);
    *third = {key, 4, 0};
    messages.clear();
    HWND refused = QlQuoteOpenNew("ZZ999", third);
    EXPECT_TRUE(refused == NULL || !IsWindow(refused));
    EXPECT_EQ(nullptr, QlModuleWnd);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Cannot find customer account", messages[0].caption);
    EXPECT_EQ(1, gReleased[third]);

    // A clone whose block cannot be posted releases it itself.
    gReleased.clear();
    ASSERT_NE(nullptr, OpenStored(key));
    QlMainWnd = NULL;
    Toolbar(3);
    QlMainWnd = main;
    ASSERT_EQ(1u, gReleased.size());
    EXPECT_EQ(1, gReleased.begin()->second);
}

TEST_F(QuoteTest, EditingTheFirstLineRenamesTheQuotationOthersDoNot)
{
    int64_t key = Store(QL_DOC_QUOTE, 0, "184.50",
                        {{"Survey", "23.00", "0", "100.00", "0.00", "100.00", "23.00"},
                         {"Report", "23.00", "0", "50.00", "0.00", "50.00", "11.50"}},
                        "34.50");
    ASSERT_NE(nullptr, OpenStored(key));
    EXPECT_EQ("QUOTATION", Text(IDT_DOC_TITLE));
    EXPECT_EQ(std::to_string(key), Text(IDT_DOC_NUMBER));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, IDB_DOC_ADD)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, IDP_DOC_DATE)));
    EXPECT_EQ(nullptr, GetDlgItem(form, IDE_DOC_BARCODE));

    const struct {
        int row;
        const char *descr;
        const char *desc;
    } cases[] = {{1, "Final report", "Survey"}, {0, "Site survey", "Site survey"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.row);
        SelectRow(c.row);
        {
            DialogDriver driver({[&](HWND d) {
                SetField(d, IDE_ITEM_DESCR, c.descr);
                ClickButton(d, IDOK);
            }});
            FormCommand(IDB_DOC_EDIT);
        }
        EXPECT_TRUE(messages.empty()) << messages[0].text;
        EXPECT_EQ(c.descr, Scalar(("select descr from invoices order by iKey limit 1 offset " + std::to_string(c.row) + ";")
                                      .c_str()));
        EXPECT_STREQ(c.desc, Stored(key).desc);
        EXPECT_STREQ("184.50", Stored(key).gross);
    }
}
