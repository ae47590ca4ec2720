// The invoice editor and the new credit-note form as a user drives them:
// opened from the customers module, lines added through the real line
// dialogs, saved into a real company database.
#include "TransTestSupport.h"
#include "UiTestSupport.h"

#include "catalogue/QlCatalogueLists.h"
#include "ui/QlAppState.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "customers/QlCustModule.h"
#include "datastore/QlDb.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlTransLines.h"
#include "resources/QlResTrans.h"
#include "transactions/QlItemDialogs.h"
#include "transactions/QlTransForm.h"

#include <algorithm>
#include <commctrl.h>
#include <string.h>

namespace {

class EditorTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        AddPipesAndElbows(0);
        AddService("Consulting", 85, 0);
    }
    // The customers module with the account shown, then its Invoice command.
    HWND OpenInvoice(int command = QL_CUST_CMD_INVOICE)
    {
        Open();
        Command(command);
        form = QlModuleWnd;
        return form != module ? form : NULL;
    }
    void SwitchType(int type)
    {
        SendDlgItemMessageA(form, IDC_DOC_TYPE, CB_SETCURSEL, type, 0);
        FormCommand(IDC_DOC_TYPE, CBN_CLOSEUP);
    }
};

}  // namespace

TEST_F(EditorTest, AServiceInvoiceForTheModulesAccount)
{
    ASSERT_NE(nullptr, OpenInvoice());
    EXPECT_EQ("JO001", Text(IDT_DOC_ACREF));
    EXPECT_EQ("Joe's Plumbing", Text(IDE_DOC_COMPANY));
    EXPECT_EQ("INVOICE", Text(IDT_DOC_TITLE));
    EXPECT_EQ("<auto>", Text(IDT_DOC_NUMBER));
    EXPECT_EQ(QL_SERV_COLUMNS, QlListColumnCount(Lines()));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, IDE_DOC_BARCODE)));

    std::string tax, total;
    {
        DialogDriver driver({[](HWND d) {
                                 SetField(d, IDE_ITEM_DESCR, "Joe's 12\" fitting");
                                 SetField(d, IDE_ITEM_PRICE_UNITS, "12");
                                 SetField(d, IDE_ITEM_PRICE_HUNDREDTHS, "34");
                                 Choose(d, IDC_ITEM_RATE, 1);       // B - 23.00%
                                 Choose(d, IDC_ITEM_DISCOUNT, 10);
                             },
                             [&](HWND d) {
                                 tax = DialogText(d, IDE_ITEM_TAX_UNITS) + "." + DialogText(d, IDE_ITEM_TAX_HUNDREDTHS);
                                 total = DialogText(d, IDE_ITEM_TOTAL_UNITS) + "." + DialogText(d, IDE_ITEM_TOTAL_HUNDREDTHS);
                                 ClickButton(d, IDOK);
                             }});
        FormCommand(IDB_DOC_ADD);
    }
    EXPECT_EQ("2.56", tax);
    EXPECT_EQ("13.67", total);
    ASSERT_EQ(1, RowCount(Lines()));
    EXPECT_EQ("12.34", Cell(Lines(), 0, 3));
    EXPECT_EQ("11.11", Cell(Lines(), 0, 5));
    EXPECT_EQ("13.67", Text(IDT_DOC_GROSS));

    // Carriage 5.00 at 23 %.
    SendDlgItemMessageA(form, IDC_DOC_CARRIAGE_RATE, CB_SETCURSEL, 1, 0);
    SetDlgItemTextA(form, IDE_DOC_CARRIAGE_UNITS, "5");
    EXPECT_EQ("5.00", Text(IDT_DOC_CARRIAGE));
    EXPECT_EQ("1.15", Text(IDT_DOC_CARRIAGE_TAX));
    EXPECT_EQ("19.82", Text(IDT_DOC_GROSS));

    StatusPanel status;
    Toolbar(QL_FORM_CMD_SAVE);
    EXPECT_FALSE(IsWindow(form));
    EXPECT_EQ(nullptr, QlModuleWnd);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ("Invoice " + Scalar("select iKey from trans;") + " saved", status.Posted());
    EXPECT_EQ("1|0|19.82|5.00|1.15|2.56|Joe's 12\" fitting",
              Scalar("select type||'|'||sub_type||'|'||gross||'|'||carriage||'|'||carriage_vat||'|'||vat||'|'||desc "
                     "from trans;"));
    EXPECT_EQ(1982, Balance());
}

TEST_F(EditorTest, TheTransactionLimitOpensNoForm)
{
    NativeExec("update transcount set count=32000;");
    EXPECT_EQ(nullptr, OpenInvoice());
    ASSERT_EQ(1u, messages.size());
    EXPECT_NE(std::string::npos, messages[0].text.find("Maximum number of transactions"));
    EXPECT_EQ(module, QlModuleWnd);
}

TEST_F(EditorTest, ProductLinesByScanAndTheirRefusals)
{
    ASSERT_NE(nullptr, OpenInvoice());
    SwitchType(1);
    EXPECT_EQ(QL_PROD_COLUMNS, QlListColumnCount(Lines()));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(form, IDE_DOC_BARCODE)));

    SetDlgItemTextA(form, IDE_DOC_BARCODE, "50123456789");   // 11 characters
    SendMessageA(form, QL_WM_ENTER_KEY, 0, 0);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Invalid barcode", messages[0].caption);
    EXPECT_EQ("Minumum barcode length is 12 characters", messages[0].text);

    // A known barcode opens the product dialog with the product taken.
    std::string code, descr;
    {
        DialogDriver driver({[&](HWND d) {
            code = DialogText(d, IDT_ITEM_CODE);
            descr = DialogText(d, IDE_ITEM_DESCR);
            SetField(d, IDE_ITEM_QTY, "3");
            ClickButton(d, IDOK);
        }});
        SetDlgItemTextA(form, IDE_DOC_BARCODE, "501234567890");
        SendMessageA(form, QL_WM_ENTER_KEY, 0, 0);
    }
    EXPECT_EQ("P001", code);
    EXPECT_EQ("Copper pipe", descr);
    ASSERT_EQ(1, RowCount(Lines()));
    EXPECT_EQ("3", Cell(Lines(), 0, 2));
    EXPECT_EQ("37.50", Cell(Lines(), 0, 7));

    // OK without a product is refused; the dialog stays until Cancel.
    messages.clear();
    {
        DialogDriver driver({[](HWND d) {
                                 SetField(d, IDE_ITEM_DESCR, "Something");
                                 SetField(d, IDE_ITEM_PRICE_UNITS, "5");
                                 ClickButton(d, IDOK);
                             },
                             [](HWND d) { ClickButton(d, IDCANCEL); }});
        FormCommand(IDB_DOC_ADD);
        EXPECT_EQ(2u, driver.stepsRun());
    }
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Choose a product from the list", messages[0].text);
    EXPECT_EQ(1, RowCount(Lines()));

    // A quantity that is not a whole number of 1 or more is refused with its
    // message, typed or pasted; the dialog stays until Cancel.
    const struct {
        const char *qty, *text;
        bool paste;
    } quantities[] = {{"3.5", "The quantity must be a whole number", false},
                      {"12,5", "The quantity must be a whole number", true},
                      {"-4", "The quantity cannot be negative", true},
                      {"0", "Zero quantity", false}};
    for (const auto &q : quantities) {
        messages.clear();
        DialogDriver driver({[&](HWND d) {
                                 HWND pick = GetDlgItem(d, IDL_ITEM_PICK);
                                 NMITEMACTIVATE nm = {};
                                 nm.hdr.hwndFrom = pick;
                                 nm.hdr.idFrom = IDL_ITEM_PICK;
                                 nm.hdr.code = NM_DBLCLK;
                                 nm.iItem = 0;
                                 SendMessageA(d, WM_NOTIFY, IDL_ITEM_PICK, (LPARAM)&nm);
                                 SetField(d, IDE_ITEM_QTY, q.paste ? "" : q.qty);
                                 if (q.paste) {
                                     ASSERT_TRUE(QlTestSetClipboardText(q.qty));
                                     SendDlgItemMessageA(d, IDE_ITEM_QTY, WM_PASTE, 0, 0);
                                 }
                                 ClickButton(d, IDOK);
                             },
                             [](HWND d) { ClickButton(d, IDCANCEL); }});
        FormCommand(IDB_DOC_ADD);
        EXPECT_EQ(2u, driver.stepsRun()) << q.qty;
        ASSERT_EQ(1u, messages.size()) << q.qty;
        EXPECT_EQ("Invalid Input", messages[0].caption);
        EXPECT_EQ(q.text, messages[0].text) << q.qty;
        EXPECT_EQ(1, RowCount(Lines())) << q.qty;
    }

    // A product of no stock asks before it is taken; Cancel leaves it.
    messages.clear();
    answer = 0;
    std::string taken;
    {
        DialogDriver driver({[&](HWND d) {
                                 HWND pick = GetDlgItem(d, IDL_ITEM_PICK);
                                 NMITEMACTIVATE nm = {};
                                 nm.hdr.hwndFrom = pick;
                                 nm.hdr.idFrom = IDL_ITEM_PICK;
                                 nm.hdr.code = NM_DBLCLK;
                                 nm.iItem = 1;   // P002, stock 0
                                 SendMessageA(d, WM_NOTIFY, IDL_ITEM_PICK, (LPARAM)&nm);
                                 taken = DialogText(d, IDT_ITEM_CODE);
                             },
                             [](HWND d) { ClickButton(d, IDCANCEL); }});
        FormCommand(IDB_DOC_ADD);
    }
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Not enough stock!\nContinue anyway?", messages[0].text);
    EXPECT_EQ("", taken);

    Toolbar(QL_FORM_CMD_SAVE);
    EXPECT_EQ(37, Stock("P001"));
}

TEST_F(EditorTest, ChangingTheFormTypeAsksWhenLinesWouldBeLost)
{
    ASSERT_NE(nullptr, OpenInvoice());
    QlItemLine = {};
    strcpy(QlItemLine.descr, "Consulting");
    QlItemLine.priceUnits = 85;
    QlItemWork = {0, 0, 0, 0};
    QlItemWriteServRow(Lines(), &QlItemLine, 0, 0);
    QlTransLineCount = 1;

    answer = 0;
    SwitchType(1);
    EXPECT_EQ(0, QlTransLineMode);
    EXPECT_EQ(1, RowCount(Lines()));
    EXPECT_EQ(0, (int)SendDlgItemMessageA(form, IDC_DOC_TYPE, CB_GETCURSEL, 0, 0));
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Confirm Change of Form Type", messages[0].caption);

    answer = 1;
    SwitchType(1);
    EXPECT_EQ(1, QlTransLineMode);
    EXPECT_EQ(0, RowCount(Lines()));
    EXPECT_EQ(QL_PROD_COLUMNS, QlListColumnCount(Lines()));
    EXPECT_EQ("0.00", Text(IDT_DOC_GROSS));
}

TEST_F(EditorTest, DeleteCloseAndSaveRefusals)
{
    ASSERT_NE(nullptr, OpenInvoice());
    // Close on an empty form closes without a question.
    Toolbar(QL_FORM_CMD_CLOSE);
    EXPECT_FALSE(IsWindow(form));
    EXPECT_TRUE(messages.empty());

    ASSERT_NE(nullptr, OpenInvoice());
    QlItemLine = {};
    strcpy(QlItemLine.descr, "Consulting");
    QlItemLine.priceUnits = 85;
    QlItemWork = {0, 0, 0, 0};
    for (int i = 0; i < 2; i++) QlItemWriteServRow(Lines(), &QlItemLine, i, 0);
    QlTransLineCount = 2;
    QlTransFormSumItems(form, 0);
    QlTransFormUpdateGross(form);

    FormCommand(IDB_DOC_DELETE);   // no row selected: nothing
    EXPECT_TRUE(messages.empty());
    SelectRow(1);
    FormCommand(IDB_DOC_DELETE);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Delete Invoice Line (2) ?", messages[0].text);
    EXPECT_EQ("Delete", okLabels[0]);
    EXPECT_EQ(1, RowCount(Lines()));
    EXPECT_EQ(1, QlTransLineCount);
    EXPECT_EQ("85.00", Text(IDT_DOC_GROSS));

    // Enter in a field sends IDOK, the number the tool bar's Close has.
    messages.clear();
    SendMessageA(form, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(form));

    // Without an account the form stays open with its line, and nothing is
    // said to be saved.
    SetDlgItemTextA(form, IDT_DOC_ACREF, "");
    StatusPanel status;
    Toolbar(QL_FORM_CMD_SAVE);
    EXPECT_TRUE(IsWindow(form));
    EXPECT_EQ("", status.Posted());
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Missing Account Number", messages[0].caption);
    EXPECT_EQ("0", Scalar("select count(*) from trans;"));

    answer = 0;
    Toolbar(QL_FORM_CMD_CLOSE);   // lines: the question, answered Cancel
    EXPECT_TRUE(IsWindow(form));
    EXPECT_EQ(2u, messages.size());
}

TEST_F(EditorTest, ARebuiltFormKeepsItsContentsAndAddsAfterThem)
{
    ASSERT_NE(nullptr, OpenInvoice());
    SwitchType(1);
    QlItemProdLine = {};
    strcpy(QlItemProdLine.scode, "P001");
    strcpy(QlItemProdLine.name, "Copper pipe");
    QlItemProdLine.unit_price_units = 12;
    QlItemProdLine.unit_price_hundredths = 50;
    QlItemProdLine.stock_qty = 2;
    QlItemWork = {0, 0, 0, 0};
    for (int i = 0; i < 2; i++) QlItemWriteProdRow(Lines(), &QlItemProdLine, i, 0);
    QlTransLineCount = 2;
    QlTransFormSumItems(form, 1);
    QlTransFormUpdateGross(form);
    SetDlgItemTextA(form, IDE_DOC_ORDER, "PO-9");

    SendMessageA(form, QL_WM_MAIN_RESTORED, 0, 0);
    EXPECT_FALSE(IsWindow(form));
    form = QlModuleWnd;
    ASSERT_TRUE(IsWindow(form));
    EXPECT_EQ(1, QlTransLineMode);
    EXPECT_EQ(2, RowCount(Lines()));
    EXPECT_EQ("Copper pipe", Cell(Lines(), 1, 1));
    EXPECT_EQ("50.00", Text(IDT_DOC_GROSS));
    EXPECT_EQ("PO-9", Text(IDE_DOC_ORDER));
    EXPECT_EQ("JO001", Text(IDT_DOC_ACREF));

    {
        DialogDriver driver({[](HWND d) {
            HWND pick = GetDlgItem(d, IDL_ITEM_PICK);
            NMITEMACTIVATE nm = {};
            nm.hdr.hwndFrom = pick;
            nm.hdr.idFrom = IDL_ITEM_PICK;
            nm.hdr.code = NM_DBLCLK;
            nm.iItem = 0;
            SendMessageA(d, WM_NOTIFY, IDL_ITEM_PICK, (LPARAM)&nm);
            SetField(d, IDE_ITEM_QTY, "1");
            ClickButton(d, IDOK);
        }});
        FormCommand(IDB_DOC_ADD);
    }
    ASSERT_EQ(3, RowCount(Lines()));
    EXPECT_EQ("1", Cell(Lines(), 2, 2));
    EXPECT_EQ("2", Cell(Lines(), 0, 2));
}

TEST_F(EditorTest, EditingAStoredRowWithoutAKeyIsRefused)
{
    ASSERT_NE(nullptr, OpenInvoice());
    QlItemLine = {};
    strcpy(QlItemLine.descr, "Consulting");
    QlItemLine.priceUnits = 85;
    QlItemWriteServRow(Lines(), &QlItemLine, 0, 0);
    SelectRow(0);
    QlItemRowKeyTableClear();
    DialogDriver driver({});
    EXPECT_EQ(0, QlTransViewEditLine(form, QL_DOC_INVOICE, 1));
    EXPECT_EQ(0u, driver.stepsRun());
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("This line is not stored and cannot be edited", messages[0].text);
}

TEST_F(EditorTest, ACreditNoteForTheModulesAccount)
{
    ASSERT_NE(nullptr, OpenInvoice(QL_CUST_CMD_CREDIT));
    EXPECT_EQ("CREDIT NOTE", Text(IDT_DOC_TITLE));
    EXPECT_EQ("JO001", Text(IDT_DOC_ACREF));
    EXPECT_EQ(nullptr, GetDlgItem(form, IDE_DOC_BARCODE));
    EXPECT_EQ(QL_CREDIT_COLUMNS, QlListColumnCount(Lines()));

    // The rate shown and the tax computed agree from the start: the default
    // rate (B) gives the tax without being chosen again; a typed tax that no
    // rate gives shows no rate, and one that a rate gives shows that rate.
    QlSettings.cfg.defaultRate = 1;
    std::string taxAtDefault, rateShown, rateOfTypedTax, rateOfRateTax;
    {
        auto tax = [](HWND d) { return DialogText(d, IDE_ITEM_TAX_UNITS) + "." + DialogText(d, IDE_ITEM_TAX_HUNDREDTHS); };
        DialogDriver driver({[&](HWND d) {
            SetField(d, IDE_ITEM_DESCR, "Returned pipe");
            SetField(d, IDE_ITEM_PRICE_UNITS, "10");
            taxAtDefault = tax(d);
            rateShown = DialogText(d, IDC_ITEM_RATE);
            SetField(d, IDE_ITEM_TAX_UNITS, "1");
            rateOfTypedTax = DialogText(d, IDC_ITEM_RATE);
            SetField(d, IDE_ITEM_TAX_HUNDREDTHS, "35");   // 1.35 = 13.50 % of 10.00
            rateOfRateTax = DialogText(d, IDC_ITEM_RATE);
            SetField(d, IDE_ITEM_TAX_UNITS, "2");
            SetField(d, IDE_ITEM_TAX_HUNDREDTHS, "30");
            ClickButton(d, IDOK);
        }});
        FormCommand(IDB_DOC_ADD);
    }
    EXPECT_EQ("2.30", taxAtDefault);
    EXPECT_EQ("B - 23.00%", rateShown);
    EXPECT_EQ("", rateOfTypedTax);
    EXPECT_EQ("C - 13.50%", rateOfRateTax);
    EXPECT_EQ("10.00", Text(IDT_DOC_TAX));
    EXPECT_EQ("2.30", Text(IDT_DOC_CARRIAGE_TAX));
    EXPECT_EQ("12.30", Text(IDT_DOC_GROSS));
    StatusPanel status;
    Toolbar(QL_FORM_CMD_SAVE);
    EXPECT_FALSE(IsWindow(form));
    EXPECT_EQ("Credit note " + Scalar("select iKey from trans;") + " saved", status.Posted());
    EXPECT_EQ("2|12.30|2.30|Returned pipe|10.00|2.30",
              Scalar("select type||'|'||gross||'|'||trans.vat||'|'||descr||'|'||net||'|'||invoices.vat from trans, "
                     "invoices where invoices.tx_rowid=trans.iKey;"));
}

// A price that cannot be taken is named for what is wrong with it, in the
// invoice's service dialog and the credit note's alike; the dialog stays
// until Cancel and no line is added.
TEST_F(EditorTest, APriceThatCannotBeTakenIsNamed)
{
    const struct {
        const char *units, *hundredths, *text;
    } prices[] = {{"0", "00", "Zero price is not allowed"},
                  {"", "", "Zero price is not allowed"},
                  {"-4", "00", "The price cannot be negative"},
                  {"4", "-1", "The price cannot be negative"},
                  {"4x", "00", "The price must be given in digits"},
                  {"4", "150", "The price must be given in digits"}};
    for (int command : {QL_CUST_CMD_INVOICE, QL_CUST_CMD_CREDIT}) {
        ASSERT_NE(nullptr, OpenInvoice(command));
        for (const auto &p : prices) {
            messages.clear();
            DialogDriver driver({[&](HWND d) {
                                     SetField(d, IDE_ITEM_DESCR, "Survey");
                                     SetField(d, IDE_ITEM_PRICE_UNITS, p.units);
                                     SetField(d, IDE_ITEM_PRICE_HUNDREDTHS, p.hundredths);
                                     ClickButton(d, IDOK);
                                 },
                                 [](HWND d) { ClickButton(d, IDCANCEL); }});
            FormCommand(IDB_DOC_ADD);
            EXPECT_EQ(2u, driver.stepsRun()) << command << " " << p.units << "." << p.hundredths;
            ASSERT_EQ(1u, messages.size()) << p.units << "." << p.hundredths;
            EXPECT_EQ("Invalid Input", messages[0].caption);
            EXPECT_EQ(p.text, messages[0].text) << command << " " << p.units << "." << p.hundredths;
            EXPECT_EQ(0, RowCount(Lines()));
        }
    }
}

TEST_F(EditorTest, TheAccountsDefaultsAndAServiceByItsCode)
{
    QlCustRec mary = {};
    DbTestSet(mary.acref, "MA001");
    DbTestSet(mary.company, "Mary Bakery");
    mary.apply_discount = 1;
    mary.discount = 10;
    mary.apply_tax = 1;
    mary.vat_rate_index = 2;
    ASSERT_EQ(1, QlCustAdd(&mary, err)) << err;
    int64_t service = AddService("Oven repair", 120, 0);
    strcpy(QlTransPendingAcRef, "MA001");
    form = QlInvNew();
    ASSERT_NE(nullptr, form);
    EXPECT_EQ("Mary Bakery", Text(IDE_DOC_COMPANY));

    int discount = -1, rate = -1;
    std::string descr, code, tax;
    {
        DialogDriver driver({[&](HWND d) {
                                 discount = (int)SendDlgItemMessageA(d, IDC_ITEM_DISCOUNT, CB_GETCURSEL, 0, 0);
                                 rate = (int)SendDlgItemMessageA(d, IDC_ITEM_RATE, CB_GETCURSEL, 0, 0);
                                 SetField(d, IDE_ITEM_SERV_CODE, std::to_string(service).c_str());
                                 ClickButton(d, IDB_ITEM_FIND);
                             },
                             [&](HWND d) {
                                 descr = DialogText(d, IDE_ITEM_DESCR);
                                 code = DialogText(d, IDT_ITEM_CODE);
                                 tax = DialogText(d, IDE_ITEM_TAX_UNITS) + "." + DialogText(d, IDE_ITEM_TAX_HUNDREDTHS);
                                 ClickButton(d, IDCANCEL);
                             }});
        FormCommand(IDB_DOC_ADD);
    }
    EXPECT_EQ(10, discount);
    EXPECT_EQ(2, rate);
    EXPECT_EQ("Oven repair", descr);
    EXPECT_EQ(std::to_string(service), code);
    EXPECT_EQ("14.58", tax);   // 108.00 at 13.5 %
    EXPECT_EQ(0, RowCount(Lines()));
}

TEST_F(EditorTest, EditingALineOfAStoredProductDocument)
{
    // 3 x 12.50 at 23 %: 37.50 + 8.63.
    QlTransSnapshot snap = Snapshot(QL_DOC_INVOICE, 1, "JO001", "46.13", {ProductRow("P001", "Copper pipe", 3, 1250, 2300)});
    strcpy(snap.tax, "8.63");
    int64_t key = 0;
    ASSERT_EQ(1, Post(&snap, QL_DOC_INVOICE, &key));
    ASSERT_EQ(37, Stock("P001"));

    // A view shows the document's account and lists its lines with their keys.
    form = QlInvNew();
    ASSERT_NE(nullptr, form);
    SwitchType(1);
    SetDlgItemTextA(form, IDT_DOC_ACREF, "JO001");
    QlItemRowKeyTableClear();
    ASSERT_EQ(1, QlItemEnumByTrans(QlItemProdRowCb, key, err)) << err;
    ASSERT_EQ(1, RowCount(Lines()));
    SelectRow(0);

    std::string qty, unitTax, stock;
    {
        DialogDriver driver({[&](HWND d) {
            qty = DialogText(d, IDE_ITEM_QTY);
            unitTax = DialogText(d, IDE_ITEM_TAX_UNITS) + "." + DialogText(d, IDE_ITEM_TAX_HUNDREDTHS);
            stock = Cell(GetDlgItem(d, IDL_ITEM_PICK), 0, 5);
            SetField(d, IDE_ITEM_QTY, "5");
            ClickButton(d, IDOK);
        }});
        EXPECT_EQ(1, QlTransViewEditLine(form, QL_DOC_INVOICE, key));
    }
    EXPECT_EQ("3", qty);
    EXPECT_EQ("2.87", unitTax);   // 8.63 / 3, truncated
    EXPECT_EQ("37", stock);
    EXPECT_TRUE(messages.empty()) << messages[0].text;
    EXPECT_EQ(35, Stock("P001"));
    EXPECT_EQ("5|62.50|14.38", Scalar("select qty||'|'||net||'|'||vat from invoices;"));
    EXPECT_EQ("76.88|76.88", Scalar("select gross||'|'||gross_bal from trans;"));
}


// The product pick list shows every product the database reads whole, as it
// reads it, in its order (texts at the ends of their fields, empty columns,
// prices beyond their field, a key far beyond the others), and a click on any
// column orders the rows as the products window's comparison does.
namespace {
std::vector<QlProdRec> *gStored;
}  // namespace

TEST_F(EditorTest, ThePickListShowsEveryProductAsTheDatabaseReadsIt)
{
    const std::string barcode30(30, '7'), supplier19(19, 's'), name80(80, 'n');
    NativeExec(("insert into products (iKey,enabled,scode,barcode,supplier_code,name,unit_price,purchase_price,"
                "stock_qty) values (10,'yes','P010','" + barcode30 + "','" + supplier19 + "','" + name80 +
                "','2147483647.99','-3.05','-7'),"
                "(11,'yes','P011','" + barcode30 + "8','S','Barcode too long','1.00','1.00','1'),"
                "(12,'yes','P012','','S','" + name80 + "n','1.00','1.00','1'),"
                "(13,'yes','P013',NULL,NULL,NULL,NULL,NULL,NULL),"
                "(14,'yes','P014','','Z','Dear','99999999999.00','0.5','abc'),"
                "(15,'no','P015','','S','Gone','1.00','1.00','1'),"
                "(5000000,'yes','P5M','','A','Far','0.07','2.00','3');")
                   .c_str());
    std::vector<QlProdRec> stored;
    gStored = &stored;
    ASSERT_EQ(1, QlProdEnum(
                     [](const QlProdRec *rec) {
                         gStored->push_back(*rec);
                         return 0;
                     },
                     err))
        << err;
    ASSERT_EQ(6u, stored.size());   // the two pipes and four of the seven
    auto cells = [](const QlProdRec &p) {
        char cost[32], price[32];
        snprintf(cost, sizeof cost, "%d.%02d", p.purchase_price_units, (int)p.purchase_price_hundredths);
        snprintf(price, sizeof price, "%d.%02d", p.unit_price_units, (int)p.unit_price_hundredths);
        return std::vector<std::string>{p.scode, p.supplier_code, p.name, cost, price, std::to_string(p.stock_qty),
                                        std::to_string(p.iKey)};
    };
    auto shown = [](HWND d) {
        std::vector<std::vector<std::string>> rows;
        HWND pick = GetDlgItem(d, IDL_ITEM_PICK);
        for (int r = 0; r < RowCount(pick); r++) {
            rows.emplace_back();
            for (int c = 0; c < 7; c++) rows.back().push_back(Cell(pick, r, c));
        }
        return rows;
    };
    std::vector<std::vector<std::string>> expected;
    for (const QlProdRec &p : stored) expected.push_back(cells(p));

    ASSERT_NE(nullptr, OpenInvoice());
    SwitchType(1);
    memset(QlProdSortFlags, 0, sizeof QlProdSortFlags);
    std::vector<std::vector<std::vector<std::string>>> sorted, wanted;
    std::vector<std::vector<std::string>> first;
    {
        DialogDriver driver({[&](HWND d) {
            first = shown(d);
            // Each column in turn, each from the order the last one left.
            std::vector<QlProdRec> order = stored;
            for (int column = 0; column < 7; column++) {
                NMLISTVIEW click = {};
                click.hdr.hwndFrom = GetDlgItem(d, IDL_ITEM_PICK);
                click.hdr.idFrom = IDL_ITEM_PICK;
                click.hdr.code = LVN_COLUMNCLICK;
                click.iSubItem = column;
                SendMessageA(d, WM_NOTIFY, IDL_ITEM_PICK, (LPARAM)&click);
                std::stable_sort(order.begin(), order.end(), [column](const QlProdRec &a, const QlProdRec &b) {
                    return QlProdCompare(&a, &b, column) < 0;
                });
                sorted.push_back(shown(d));
                wanted.emplace_back();
                for (const QlProdRec &p : order) wanted.back().push_back(cells(p));
            }
            ClickButton(d, IDCANCEL);
        }});
        FormCommand(IDB_DOC_ADD);
    }
    EXPECT_EQ(expected, first);
    for (size_t column = 0; column < wanted.size(); column++) EXPECT_EQ(wanted[column], sorted[column]) << column;
}

namespace {
int gProductReads;
int CountProductReads(const char *sql)
{
    if (strncmp(sql, "select ", 7) == 0 && strstr(sql, " from products where enabled='yes'")) gProductReads++;
    return 0;
}
}  // namespace

TEST_F(EditorTest, TheProductPickListIsReadOnceWhileTheCatalogueStays)
{
    ASSERT_NE(nullptr, OpenInvoice());
    SwitchType(1);
    gProductReads = 0;
    QlDbExecHook = CountProductReads;
    // One Add: what the list shows, and a click on Unit Price (ascending,
    // then descending) with the stock shown as before.
    std::vector<std::string> codes, byPrice, byPriceDown, stock;
    auto clickColumn = [](HWND d, int column) {
        NMLISTVIEW click = {};
        click.hdr.hwndFrom = GetDlgItem(d, IDL_ITEM_PICK);
        click.hdr.idFrom = IDL_ITEM_PICK;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iSubItem = column;
        SendMessageA(d, WM_NOTIFY, IDL_ITEM_PICK, (LPARAM)&click);
    };
    auto column = [](HWND d, int c) {
        std::vector<std::string> cells;
        HWND pick = GetDlgItem(d, IDL_ITEM_PICK);
        for (int r = 0; r < RowCount(pick); r++) cells.push_back(Cell(pick, r, c));
        return cells;
    };
    memset(QlProdSortFlags, 0, sizeof QlProdSortFlags);
    {
        DialogDriver driver({[&](HWND d) {
            codes = column(d, 0);
            stock = column(d, 5);
            clickColumn(d, 4);
            byPrice = column(d, 0);
            clickColumn(d, 4);
            byPriceDown = column(d, 0);
            ClickButton(d, IDCANCEL);
        }});
        FormCommand(IDB_DOC_ADD);
    }
    EXPECT_EQ(std::vector<std::string>({"P001", "P002"}), codes);
    EXPECT_EQ(std::vector<std::string>({"40", "0"}), stock);
    EXPECT_EQ(std::vector<std::string>({"P002", "P001"}), byPrice);   // 1.99, 12.50
    EXPECT_EQ(std::vector<std::string>({"P001", "P002"}), byPriceDown);

    // A second Add reads nothing again; a product added since, or one changed
    // by another program, is there at the next Add.
    std::vector<std::vector<std::string>> seen;
    auto addAndLook = [&]() {
        DialogDriver driver({[&](HWND d) {
            seen.push_back(column(d, 2));
            ClickButton(d, IDCANCEL);
        }});
        FormCommand(IDB_DOC_ADD);
    };
    addAndLook();
    EXPECT_EQ(1, gProductReads);
    AddProduct("P003", "", "Steel tee", 3, 10, 7);
    addAndLook();
    NativeExec("update products set name='Copper tube' where scode='P001';");
    addAndLook();
    QlDbExecHook = NULL;
    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ(std::vector<std::string>({"Copper pipe", "Brass elbow"}), seen[0]);
    EXPECT_EQ(std::vector<std::string>({"Copper pipe", "Brass elbow", "Steel tee"}), seen[1]);
    EXPECT_EQ(std::vector<std::string>({"Copper tube", "Brass elbow", "Steel tee"}), seen[2]);
    EXPECT_EQ(3, gProductReads);
}
