// The purchase-invoice window and its line dialog: opening for the focused
// supplier, lines through the dialog with their tax and totals, refusals,
// delete and close questions, saving, the stored view, the rebuild after the
// main window was restored, and the transactions window's opener.
#include "QlGTest.h"
#include "PurchDocsTestSupport.h"

#include "ui/QlAppState.h"
#include "ui/QlListView.h"
#include "core/QlMoney.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "docmodel/QlOpeners.h"
#include "docmodel/QlTransLines.h"
#include "purchasing/QlPurchDocs.h"
#include "purchasing/QlPurchOpen.h"
#include "purchasing/QlSuppCurrent.h"
#include "resources/QlResPurchDocs.h"
#include "resources/QlResTrans.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"
#include "transactions/QlItemDialogs.h"
#include "transactions/QlTransForm.h"

#include <commctrl.h>
#include <functional>
#include <string>
#include <vector>

namespace {

using Step = std::function<void(HWND)>;
using Cells = std::vector<std::string>;

class PurchInvTest : public PurchTest {
protected:
    HWND OpenNew()
    {
        FocusSupplier(supplier);
        form = QlPurchInvNew(main);
        return form;
    }
    // One line through the dialog: price, rate entry, optional tax typed.
    static std::vector<Step> LineSteps(const char *descr, const char *units, const char *hundredths, int rate,
                                       const char *taxUnits = nullptr, const char *taxHundredths = nullptr)
    {
        std::vector<Step> steps = {[=](HWND d) {
            SetField(d, IDE_ITEM_DESCR, descr);
            Choose(d, IDC_ITEM_RATE, rate);
            SetField(d, IDE_ITEM_PRICE_UNITS, units);
            SetField(d, IDE_ITEM_PRICE_HUNDREDTHS, hundredths);
            if (taxUnits) {
                SetField(d, IDE_ITEM_TAX_UNITS, taxUnits);
                SetField(d, IDE_ITEM_TAX_HUNDREDTHS, taxHundredths);
            }
        }};
        steps.push_back([](HWND d) { ClickButton(d, IDOK); });
        return steps;
    }
    void AddLine(const char *descr, const char *units, const char *hundredths, int rate)
    {
        DialogDriver driver(LineSteps(descr, units, hundredths, rate));
        ASSERT_EQ(1, QlPurchLineAdd(form));
    }
    Cells Totals() const
    {
        return {Text(IDT_DOC_DISCOUNT), Text(IDT_DOC_NET), Text(IDT_DOC_TAX), Text(IDT_DOC_GROSS)};
    }
    int64_t StoreInvoice(const std::vector<Cells> &rows)
    {
        QlTransSnapshot snap = Snapshot(6, 0, "SU001", "36.90", {});
        for (const auto &row : rows) {
            std::vector<const char *> cells;
            for (const auto &cell : row) cells.push_back(cell.c_str());
            EXPECT_EQ(1, QlTransSnapshotAddRow(&snap, cells.data(), (int)cells.size()));
        }
        strcpy(snap.date, "9/12/2026");
        int64_t key = 0;
        EXPECT_EQ(1, Post(&snap, 6, &key));
        return key;
    }
};

TEST_F(PurchInvTest, OpensForTheFocusedSupplierWithEmptyTotals)
{
    ASSERT_NE(nullptr, OpenNew());
    EXPECT_EQ(form, QlModuleWnd);
    EXPECT_EQ("SU001", Text(IDT_DOC_ACREF));
    EXPECT_EQ("SU001", Text(IDE_DOC_ACREF));
    EXPECT_EQ("Pipes & Co", Text(IDE_DOC_COMPANY));
    EXPECT_EQ("BR4 9XY", Text(IDE_DOC_ADDR3));
    EXPECT_EQ((Cells{"0.00", "0.00", "0.00", ""}), Totals());
    EXPECT_EQ("PURCHASE INVOICE", Text(IDT_DOC_TITLE));
    EXPECT_EQ("Euro / Gross:", Text(IDT_DOC_GROSS_LABEL));
    EXPECT_EQ("Supplier-Acc", Text(IDT_DOC_ACCOUNT_LABEL));
    // The invoice type, number, barcode, order and carriage controls are gone.
    for (int id : {IDC_DOC_TYPE, IDT_DOC_NUMBER, IDE_DOC_BARCODE, IDE_DOC_ORDER, IDE_DOC_CUSTOM,
                   IDC_DOC_CARRIAGE_RATE, IDT_DOC_CARRIAGE})
        EXPECT_EQ(nullptr, GetDlgItem(form, id)) << id;
    HWND header = (HWND)SendMessageA(Lines(), LVM_GETHEADER, 0, 0);
    EXPECT_EQ(5, SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    char title[40] = "";
    QlListGetColumnText(Lines(), 1, title, sizeof title);
    EXPECT_STREQ("Tax %", title);
    EXPECT_EQ(2, ToolbarButtons());
}

TEST_F(PurchInvTest, WithoutAFocusedSupplierNothingOpens)
{
    FocusSupplier(0);
    EXPECT_EQ(nullptr, QlPurchInvNew(main));
    QlSuppWnd = NULL;
    EXPECT_EQ(nullptr, QlPurchInvNew(main));
    EXPECT_EQ(nullptr, QlModuleWnd);
    EXPECT_TRUE(messages.empty());
}

TEST_F(PurchInvTest, ALineShowsItsRateGrossNetAndTaxAndTheTotalsFollow)
{
    OpenNew();
    AddLine("Copper sheet", "10", "00", 1);
    EXPECT_EQ((Cells{"Copper sheet", "23.00", "12.30", "10.00", "2.30"}), Row(0));
    EXPECT_EQ((Cells{"12.30", "10.00", "2.30", "12.30"}), Totals());
    AddLine("Solder", "5", "50", 2);
    EXPECT_EQ((Cells{"Solder", "13.50", "6.24", "5.50", "0.74"}), Row(1));
    EXPECT_EQ((Cells{"18.54", "15.50", "3.04", "18.54"}), Totals());
}

TEST_F(PurchInvTest, TaxRoundsHalfUpAtTheRate)
{
    OpenNew();
    const struct {
        const char *hundredths, *tax;
    } cases[] = {{"10", "0.02"}, {"30", "0.07"}, {"50", "0.12"}};
    int row = 0;
    for (const auto &c : cases) {
        AddLine("Washer", "0", c.hundredths, 1);
        EXPECT_EQ(c.tax, Row(row++)[4]) << c.hundredths;
    }
}

TEST_F(PurchInvTest, ATaxCorrectedByHandCountsInThePrice)
{
    OpenNew();
    std::string total;
    std::vector<Step> steps = LineSteps("Copper sheet", "10", "00", 1, "3", "00");
    steps.insert(steps.begin() + 1, [&](HWND d) {
        total = DialogText(d, IDE_ITEM_TOTAL_UNITS) + "." + DialogText(d, IDE_ITEM_TOTAL_HUNDREDTHS);
    });
    DialogDriver driver(steps);
    ASSERT_EQ(1, QlPurchLineAdd(form));
    EXPECT_EQ("13.00", total);
    EXPECT_EQ((Cells{"Copper sheet", "23.00", "13.00", "10.00", "3.00"}), Row(0));
    EXPECT_EQ("13.00", Text(IDT_DOC_GROSS));
}

TEST_F(PurchInvTest, EditOpensAtTheRowsRateAndKeepsItsTax)
{
    QlSettings.cfg.defaultRate = 1;
    OpenNew();
    AddLine("Solder", "10", "00", 2);
    SelectRow(0);
    int selected = -1;
    std::string tax;
    DialogDriver driver({[&](HWND d) {
                             selected = (int)SendDlgItemMessageA(d, IDC_ITEM_RATE, CB_GETCURSEL, 0, 0);
                             SetField(d, IDE_ITEM_PRICE_UNITS, "20");
                             tax = DialogText(d, IDE_ITEM_TAX_UNITS) + "." + DialogText(d, IDE_ITEM_TAX_HUNDREDTHS);
                         },
                         [](HWND d) { ClickButton(d, IDOK); }});
    ASSERT_EQ(1, QlPurchLineEdit(form));
    EXPECT_EQ(2, selected);
    EXPECT_EQ("2.70", tax);
    EXPECT_EQ((Cells{"Solder", "13.50", "22.70", "20.00", "2.70"}), Row(0));
    // The window sums its totals after an edit.
    QlPurchInvSumLines(form);
    EXPECT_EQ("22.70", Text(IDT_DOC_GROSS));
}

TEST_F(PurchInvTest, EditWithOKAloneGivesBackAHandCorrectedTax)
{
    OpenNew();
    DialogDriver add(LineSteps("Copper sheet", "10", "00", 1, "3", "00"));
    ASSERT_EQ(1, QlPurchLineAdd(form));
    SelectRow(0);
    DialogDriver edit({[](HWND d) { ClickButton(d, IDOK); }});
    ASSERT_EQ(1, QlPurchLineEdit(form));
    EXPECT_EQ((Cells{"Copper sheet", "23.00", "13.00", "10.00", "3.00"}), Row(0));
}

TEST_F(PurchInvTest, TheLargestGrossIsKept)
{
    OpenNew();
    SetField(form, IDT_DOC_GROSS, "999999990.00");
    DialogDriver refused({[](HWND d) {
                              SetField(d, IDE_ITEM_DESCR, "Pipe");
                              SetField(d, IDE_ITEM_PRICE_UNITS, "10");
                          },
                          [](HWND d) { ClickButton(d, IDOK); }, [](HWND d) { ClickButton(d, IDCANCEL); }});
    EXPECT_EQ(0, QlPurchLineAdd(form));
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Maximum Amount is 999999999.99", messages[0].text);
    DialogDriver accepted(LineSteps("Pipe", "9", "99", 0));
    EXPECT_EQ(1, QlPurchLineAdd(form));
    EXPECT_EQ(1u, messages.size());
    // A tax typed above the rate's counts too.
    EXPECT_FALSE(QlPurchLineWithinCeiling(100, 200, 0, QL_MAX_GROSS_CENTS - 250, 0));
    EXPECT_TRUE(QlPurchLineWithinCeiling(100, 0, 2300, QL_MAX_GROSS_CENTS - 123, 0));
    // An edited row's old amount is taken out of the form's total.
    EXPECT_TRUE(QlPurchLineWithinCeiling(1000, 0, 0, QL_MAX_GROSS_CENTS, 1000));
}

TEST_F(PurchInvTest, ADescriptionAndAPriceAreRequired)
{
    OpenNew();
    DialogDriver driver({[](HWND d) { SetField(d, IDE_ITEM_PRICE_UNITS, "4"); }, [](HWND d) { ClickButton(d, IDOK); },
                         [](HWND d) {
                             SetField(d, IDE_ITEM_DESCR, "Pipe");
                             SetField(d, IDE_ITEM_PRICE_UNITS, "0");
                         },
                         [](HWND d) { ClickButton(d, IDOK); },
                         // A sign pasted past the digits-only edit is named as such.
                         [](HWND d) { SetField(d, IDE_ITEM_PRICE_UNITS, "-4"); }, [](HWND d) { ClickButton(d, IDOK); },
                         [](HWND d) { ClickButton(d, IDCANCEL); }});
    EXPECT_EQ(0, QlPurchLineAdd(form));
    ASSERT_EQ(3u, messages.size());
    EXPECT_EQ("Invalid Input", messages[0].caption);
    EXPECT_EQ("No service description", messages[0].text);
    EXPECT_EQ("Zero price is not allowed", messages[1].text);
    EXPECT_EQ("The price cannot be negative", messages[2].text);
    EXPECT_EQ(0, RowCount(Lines()));
    EXPECT_EQ("", Text(IDT_DOC_GROSS));
}

TEST_F(PurchInvTest, DeleteAsksAboutTheRowAndTheTotalsFollow)
{
    OpenNew();
    AddLine("A", "1", "00", 0);
    AddLine("B", "2", "00", 0);
    AddLine("C", "4", "00", 0);
    SelectRow(2);
    answer = 0;
    FormCommand(IDB_DOC_DELETE);
    EXPECT_EQ(3, RowCount(Lines()));
    answer = 1;
    FormCommand(IDB_DOC_DELETE);
    ASSERT_EQ(2u, messages.size());
    EXPECT_EQ("Invoice Line Delete Confirmation", messages[1].caption);
    EXPECT_EQ("Delete Invoice Line (3) ?", messages[1].text);
    EXPECT_EQ(2, RowCount(Lines()));
    EXPECT_EQ("3.00", Text(IDT_DOC_GROSS));
    // Nothing selected: nothing asked.
    LVITEMA none = {};
    none.stateMask = LVIS_SELECTED;
    SendMessageA(Lines(), LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&none);
    FormCommand(IDB_DOC_DELETE);
    EXPECT_EQ(2u, messages.size());
}

TEST_F(PurchInvTest, CloseAsksOnlyWhenThereAreLines)
{
    OpenNew();
    Toolbar(1);
    EXPECT_EQ(nullptr, QlModuleWnd);
    EXPECT_TRUE(messages.empty());
    OpenNew();
    AddLine("A", "1", "00", 0);
    answer = 0;
    Toolbar(1);
    EXPECT_EQ(form, QlModuleWnd);
    EXPECT_EQ("Confirmation", messages.back().caption);
    answer = 1;
    Toolbar(1);
    EXPECT_EQ(nullptr, QlModuleWnd);
    // Enter and Escape in its fields are not the bar's Close.
    OpenNew();
    AddLine("A", "1", "00", 0);
    size_t asked = messages.size();
    SendMessageA(form, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(form, QlModuleWnd);
    EXPECT_EQ(asked, messages.size());
}

TEST_F(PurchInvTest, SaveStoresTheInvoiceAgainstTheSupplierAndCloses)
{
    int64_t pipe = AddStock("P001", "CP-15", "Copper pipe", 2, 50, "501234567890");
    OpenNew();
    AddLine("Copper sheet", "10", "00", 1);
    AddLine("Solder", "5", "50", 2);
    SYSTEMTIME day = {2026, 12, 0, 9};
    SendDlgItemMessageA(form, IDP_DOC_DATE, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&day);
    StatusPanel status;
    Toolbar(0);
    EXPECT_EQ(nullptr, QlModuleWnd);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ("Purchase invoice 1 saved", status.Posted());
    EXPECT_EQ("1", Scalar("select count(*) from trans"));
    QlTransRec rec = Stored(1);
    EXPECT_EQ(6u, rec.type);
    EXPECT_EQ(0u, rec.sub_type);
    EXPECT_EQ(supplier, rec.supp_rowid);
    EXPECT_STREQ("SU001", rec.acref);
    EXPECT_STREQ("18.54", rec.gross);
    EXPECT_STREQ("3.04", rec.vat);
    EXPECT_STREQ("9/12/2026", rec.date);
    EXPECT_STREQ("Copper sheet", rec.desc);
    EXPECT_EQ(2u, rec.num_sub_items);
    EXPECT_EQ("Copper sheet|23.00|12.30|10.00|2.30\nSolder|13.50|6.24|5.50|0.74",
              Scalar("select group_concat(descr||'|'||vatr_str||'|'||subtotal||'|'||net||'|'||vat, char(10)) from "
                     "(select * from invoices where tx_rowid=1 order by iKey)"));
    EXPECT_EQ(std::to_string(rec.doc_rowid), Scalar("select min(iKey) from invoices"));
    QlProdRec product = {};
    ASSERT_EQ(1, QlProdGetByRowId(pipe, &product, err));
    EXPECT_EQ(5, product.stock_qty);
}

TEST_F(PurchInvTest, SaveRefusesAnEmptyInvoiceAndAMissingSupplier)
{
    OpenNew();
    Toolbar(0);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Zero gross amount", messages[0].text);
    AddLine("A", "1", "00", 0);
    SetField(form, IDT_DOC_ACREF, "");
    Toolbar(0);
    EXPECT_EQ("Missing Account Number", messages.back().caption);
    EXPECT_EQ("Please Select Customer Account Number", messages.back().text);
    SetField(form, IDT_DOC_ACREF, "ZZ999");
    Toolbar(0);
    EXPECT_EQ("Supplier account not found", messages.back().text);
    EXPECT_EQ(form, QlModuleWnd);
    EXPECT_EQ("0", Scalar("select count(*) from trans"));
}

// The stored view shows the lines in the order they were entered, as the
// sales documents do.
TEST_F(PurchInvTest, TheStoredViewShowsTheLinesReadOnlyInEntryOrder)
{
    int64_t key = StoreInvoice({{"A", "23.00", "12.30", "10.00", "2.30"},
                                {"B", "0.00", "20.00", "20.00", "0.00"},
                                {"C", "13.50", "4.60", "4.05", "0.55"}});
    QlTransRec rec = Stored(key);
    form = QlTransOpenByType(&rec);
    ASSERT_NE(nullptr, form);
    EXPECT_EQ(form, QlModuleWnd);
    EXPECT_EQ((Cells{"A", "23.00", "12.30", "10.00", "2.30"}), Row(0));
    EXPECT_EQ("B", Row(1)[0]);
    EXPECT_EQ("C", Row(2)[0]);
    EXPECT_EQ((Cells{"36.90", "34.05", "2.85", "36.90"}), Totals());
    EXPECT_EQ("SU001", Text(IDT_DOC_ACREF));
    EXPECT_EQ("Pipes & Co", Text(IDE_DOC_COMPANY));
    SYSTEMTIME day = {};
    SendDlgItemMessageA(form, IDP_DOC_DATE, DTM_GETSYSTEMTIME, 0, (LPARAM)&day);
    EXPECT_EQ(9, day.wDay);
    EXPECT_EQ(12, day.wMonth);
    EXPECT_EQ(2026, day.wYear);
    for (int id : {IDB_DOC_SELECT, IDB_DOC_ADD, IDB_DOC_EDIT, IDB_DOC_DELETE})
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, id))) << id;
    HWND bar = FindWindowExA(form, NULL, TOOLBARCLASSNAMEA, NULL);
    EXPECT_FALSE(SendMessageA(bar, TB_ISBUTTONENABLED, 0, 0));
    // Save is ignored, Close closes without a question.
    Toolbar(0);
    EXPECT_EQ(form, QlModuleWnd);
    EXPECT_EQ("1", Scalar("select count(*) from trans"));
    Toolbar(1);
    EXPECT_EQ(nullptr, QlModuleWnd);
    EXPECT_TRUE(messages.empty());
}

TEST_F(PurchInvTest, RestoringTheMainWindowKeepsWhatWasEntered)
{
    OpenNew();
    AddLine("Copper sheet", "10", "00", 1);
    AddLine("Solder", "5", "50", 2);
    SetField(form, IDE_DOC_COMPANY, "Pipes and Company");
    SYSTEMTIME day = {2027, 1, 0, 3};
    SendDlgItemMessageA(form, IDP_DOC_DATE, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&day);
    SendMessageA(form, QL_WM_MAIN_MAXIMIZED, 0, 0);
    SendMessageA(form, QL_WM_MAIN_RESTORED, 0, 0);
    ASSERT_NE(form, QlModuleWnd);
    ASSERT_NE(nullptr, QlModuleWnd);
    form = QlModuleWnd;
    EXPECT_EQ("Pipes and Company", Text(IDE_DOC_COMPANY));
    EXPECT_EQ("SU001", Text(IDE_DOC_ACREF));
    EXPECT_EQ("SU001", Text(IDT_DOC_ACREF));
    SYSTEMTIME kept = {};
    SendDlgItemMessageA(form, IDP_DOC_DATE, DTM_GETSYSTEMTIME, 0, (LPARAM)&kept);
    EXPECT_EQ(3, kept.wDay);
    EXPECT_EQ(2027, kept.wYear);
    EXPECT_EQ((Cells{"Solder", "13.50", "6.24", "5.50", "0.74"}), Row(1));
    EXPECT_EQ((Cells{"18.54", "15.50", "3.04", "18.54"}), Totals());
    AddLine("Flux", "1", "00", 0);
    EXPECT_EQ("Flux", Row(2)[0]);
    EXPECT_EQ("19.54", Text(IDT_DOC_GROSS));
}

TEST_F(PurchInvTest, TheTotalsCaptionsFollowTheLanguage)
{
    QlSettings.cfg.language = QL_LANG_FRENCH;
    OpenNew();
    EXPECT_EQ("Montant TTC", Text(IDT_DOC_GROSS_LABEL));
    QlUiClosePane(form);
    QlSettings.cfg.language = QL_LANG_SPANISH;
    OpenNew();
    EXPECT_EQ("Subtotal", Text(IDT_DOC_TOTAL_LABEL));
    EXPECT_EQ("Euro / Total:", Text(IDT_DOC_GROSS_LABEL));
}

TEST_F(PurchInvTest, TheTransactionsWindowOpensStoredPurchaseDocumentsHere)
{
    QlTransRec order = {};
    order.iKey = 7;
    order.type = 5;
    order.supp_rowid = supplier;
    form = QlTransOpenByType(&order);
    ASSERT_NE(nullptr, form);
    EXPECT_EQ(IDD_ORDER_FORM, 324);
    EXPECT_NE(nullptr, GetDlgItem(form, IDT_ORDER_TOTAL));
    EXPECT_EQ(7, QlOrderHeader.iKey);
    QlTransRec invoice = {};
    invoice.iKey = 8;
    invoice.type = 6;
    invoice.supp_rowid = supplier;
    form = QlTransOpenByType(&invoice);
    ASSERT_NE(nullptr, form);
    EXPECT_EQ(form, QlModuleWnd);
    EXPECT_EQ(8, QlPurchInvHeader.iKey);
    EXPECT_EQ(nullptr, GetDlgItem(form, IDT_ORDER_TOTAL));
}

// The pictures show the windows painted: the lines and the totals hold what
// the test put there, and nothing is drawn black.
TEST_F(PurchInvTest, Pictures)
{
    ShowWindow(main, SW_SHOW);
    OpenNew();
    AddLine("Copper sheet 1 m x 2 m", "10", "00", 1);
    AddLine("Solder, lead free", "5", "50", 2);
    EXPECT_TRUE(SaveWindowPng(main, "purchase-invoice.png", {Lines(), GetDlgItem(form, IDT_DOC_GROSS)}));
    bool shot = false;
    DialogDriver driver({[&](HWND d) {
                             SetField(d, IDE_ITEM_DESCR, "Flux paste");
                             Choose(d, IDC_ITEM_RATE, 1);
                             SetField(d, IDE_ITEM_PRICE_UNITS, "3");
                             SetField(d, IDE_ITEM_PRICE_HUNDREDTHS, "40");
                         },
                         [&](HWND d) {
                             shot = SaveWindowPng(d, "purchase-line-dialog.png",
                                                  {GetDlgItem(d, IDE_ITEM_DESCR), GetDlgItem(d, IDC_ITEM_RATE),
                                                   GetDlgItem(d, IDE_ITEM_TAX_UNITS)});
                         },
                         [](HWND d) { ClickButton(d, IDCANCEL); }});
    QlPurchLineAdd(form);
    EXPECT_TRUE(shot);
    // Laid out for a larger main window.
    MoveWindow(main, 0, 0, 1100, 700, TRUE);
    SendMessageA(form, QL_WM_MAIN_MAXIMIZED, 0, 0);
    EXPECT_TRUE(SaveWindowPng(main, "purchase-invoice-wide.png", {Lines(), GetDlgItem(form, IDT_DOC_GROSS)}));
    ShowWindow(main, SW_HIDE);
}

}  // namespace
