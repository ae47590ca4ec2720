// The purchase-order window and its order-item dialog: lines chosen by list,
// find and barcode with their totals, edit and delete, saving as one order
// (or nothing), the stored order and its locked commands.
#include "QlGTest.h"
#include "PurchDocsTestSupport.h"

#include "QlTestWindows.h"

#include "ui/QlAppState.h"
#include "ui/QlListView.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "datastore/QlDbTables.h"
#include "purchasing/QlPurchDocs.h"
#include "purchasing/QlPurchOpen.h"
#include "purchasing/QlSuppCurrent.h"
#include "resources/QlResPurchDocs.h"
#include "resources/QlResTrans.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <functional>
#include <string>
#include <vector>

namespace {

using Step = std::function<void(HWND)>;
using Cells = std::vector<std::string>;

std::vector<std::string> sounds;

BOOL WINAPI RecordSound(LPCSTR sound, HMODULE, DWORD)
{
    sounds.push_back(sound);
    return TRUE;
}

class OrderTest : public PurchTest {
protected:
    void SetUp() override
    {
        PurchTest::SetUp();
        sounds.clear();
        QlSeamPlaySound = RecordSound;
        pipe = AddStock("P001", "CP-15", "COPPER PIPE 15MM", 2, 50, "501234567890");
        elbow = AddStock("P002", "BE-15", "Brass elbow", 0, 75, "501234567891");
        valve = AddStock("P003", "AV-22", "ANGLE VALVE", 12, 5, "501234567892");
    }
    HWND OpenNew()
    {
        FocusSupplier(supplier);
        form = QlOrderNew(main);
        return form;
    }
    // Picks list row row of the dialog, as a double click does.
    static void Pick(HWND dialog, int row)
    {
        QlListShowRow(GetDlgItem(dialog, IDL_OITEM_PRODUCTS), row);
        NMHDR header = {GetDlgItem(dialog, IDL_OITEM_PRODUCTS), IDL_OITEM_PRODUCTS, (UINT)NM_DBLCLK};
        SendMessageA(dialog, WM_NOTIFY, IDL_OITEM_PRODUCTS, (LPARAM)&header);
    }
    // A line through the dialog; a line that OK refuses is cancelled.
    void AddLine(int row, const char *qty)
    {
        DialogDriver driver({[=](HWND d) {
                                 Pick(d, row);
                                 SetField(d, IDE_OITEM_QTY, qty);
                             },
                             [](HWND d) { ClickButton(d, IDOK); }, [](HWND d) { ClickButton(d, IDCANCEL); }});
        QlOrderLineAdd(form);
    }
    int64_t pipe = 0, elbow = 0, valve = 0;
};

TEST_F(OrderTest, ANewOrderShowsTheSupplierAndAnAutomaticNumber)
{
    ASSERT_NE(nullptr, OpenNew());
    EXPECT_EQ(form, QlModuleWnd);
    EXPECT_EQ("<auto>", Text(IDT_DOC_NUMBER));
    EXPECT_EQ("SU001", Text(IDT_DOC_ACREF));
    EXPECT_EQ("Pipes & Co", Text(IDE_DOC_COMPANY));
    EXPECT_EQ("4 Mill Lane", Text(IDE_DOC_ADDR1));
    EXPECT_EQ("", Text(IDT_ORDER_TOTAL));
    EXPECT_EQ("Total (Euro)", Text(IDT_DOC_TOTAL_LABEL));
    EXPECT_EQ("ORDER", Text(IDT_DOC_TITLE));
    EXPECT_EQ(2, ToolbarButtons());
    char title[40] = "";
    QlListGetColumnText(Lines(), 1, title, sizeof title);
    EXPECT_STREQ("Product Name", title);
    FocusSupplier(0);
    EXPECT_EQ(nullptr, QlOrderNew(main));
}

TEST_F(OrderTest, ALineTakesTheProductsPurchasePriceTimesTheQuantity)
{
    OpenNew();
    AddLine(0, "3");
    EXPECT_EQ((Cells{"CP-15", "COPPER PIPE 15MM", "3", "2.50", "7.50", std::to_string(pipe), "P001"}), Row(0));
    EXPECT_EQ("7.50", Text(IDT_ORDER_TOTAL));
    AddLine(1, "7");
    EXPECT_EQ("5.25", Row(1)[QL_ORDER_COL_TOTAL]);
    EXPECT_EQ("12.75", Text(IDT_ORDER_TOTAL));

    const struct {
        const char *price;
        int64_t qty;
        int64_t cents;
    } cases[] = {{"2.50", 3, 750},  {"2.50", 0, 0},   {"0.05", 20, 100}, {"12.5", 2, 2410},
                 {"9999999.99", 9999999, 9999998990000001LL}, {"2.50", -1, -1}, {"-2.50", 1, -1}};
    for (const auto &c : cases) EXPECT_EQ(c.cents, QlOrderLineCents(c.price, c.qty)) << c.price << " x " << c.qty;
}

// Through the real dialog and the order's own fields: a line whose total
// would pass the largest amount (9999999 x 1234567.99) is refused with the
// sales lines' message and adds nothing; a line of exactly the largest
// amount is stored whole, with its point, and the order's gross is the sum
// of its lines; one cent more on another line, or an edit that raises the
// line past it, is refused.
TEST_F(OrderTest, TheOrderStaysWithinTheLargestAmount)
{
    AddStock("P004", "BIG-1", "BOILER PLANT", 1234567, 99, "501234567893");
    AddStock("P005", "MAX-1", "FACTORY", 999999999, 98, "501234567894");
    AddStock("P006", "CENT", "WASHER", 0, 1, "501234567895");
    AddStock("P007", "TWO", "SEAL", 0, 2, "501234567896");
    OpenNew();
    AddLine(3, "9999999");
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Error", messages[0].caption);
    EXPECT_EQ("Maximum Amount is 999999999.99", messages[0].text);
    EXPECT_EQ(0, RowCount(Lines()));

    AddLine(4, "1");                 // 999999999.98
    AddLine(5, "1");                 // + 0.01: exactly the largest amount
    ASSERT_EQ(2, RowCount(Lines()));
    EXPECT_EQ("999999999.99", Text(IDT_ORDER_TOTAL));
    messages.clear();
    AddLine(5, "1");                 // one cent more
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Maximum Amount is 999999999.99", messages[0].text);
    EXPECT_EQ(2, RowCount(Lines()));
    FocusRow(1);
    DialogDriver raise({[](HWND d) { SetField(d, IDE_OITEM_QTY, "2"); }, [](HWND d) { ClickButton(d, IDOK); },
                        [](HWND d) { ClickButton(d, IDCANCEL); }});
    QlOrderLineEdit(form);
    EXPECT_EQ(2u, messages.size());
    EXPECT_EQ("0.01", Row(1)[QL_ORDER_COL_TOTAL]);

    Toolbar(0);
    EXPECT_EQ(nullptr, QlModuleWnd);
    QlTransRec rec = Stored(1);
    EXPECT_STREQ("999999999.99", rec.gross);
    EXPECT_EQ("999999999.98|0.01", Scalar("select group_concat(total, '|') from (select * from orders order by iKey)"));
    EXPECT_EQ("99999999999", Scalar("select sum(cast(replace(total, '.', '') as integer)) from orders"));
}

// A quantity is a whole number of 1 or more, however it reached the field:
// typed, or pasted from the clipboard.  Anything else is refused with its
// message, the dialog stays open and nothing is added.
TEST_F(OrderTest, AQuantityMustBeAWholeNumberOfOneOrMore)
{
    OpenNew();
    const struct {
        const char *typed;
        const char *message;
    } cases[] = {{"3.5", "The quantity must be a whole number"}, {"12,5", "The quantity must be a whole number"},
                 {"-4", "The quantity cannot be negative"},      {"0", "Zero quantity"},
                 {"", "The quantity must be a whole number"},    {"2x", "The quantity must be a whole number"}};
    for (const auto &c : cases) {
        messages.clear();
        AddLine(0, c.typed);
        ASSERT_EQ(1u, messages.size()) << c.typed;
        EXPECT_EQ("Invalid Input", messages[0].caption);
        EXPECT_EQ(c.message, messages[0].text) << c.typed;
        EXPECT_EQ(0, RowCount(Lines())) << c.typed;
    }
    messages.clear();
    std::string pasted;
    DialogDriver paste({[&](HWND d) {
                            Pick(d, 0);
                            SetField(d, IDE_OITEM_QTY, "");
                            ASSERT_TRUE(QlTestSetClipboardText("3.5"));
                            SendDlgItemMessageA(d, IDE_OITEM_QTY, WM_PASTE, 0, 0);
                            pasted = DialogText(d, IDE_OITEM_QTY);
                            ClickButton(d, IDOK);
                        },
                        [](HWND d) { ClickButton(d, IDCANCEL); }});
    QlOrderLineAdd(form);
    EXPECT_EQ("3.5", pasted);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("The quantity must be a whole number", messages[0].text);
    EXPECT_EQ(0, RowCount(Lines()));
    // Typed key by key, the point stays in the field (it is not dropped to
    // make 35) and OK refuses it.
    messages.clear();
    std::string typed;
    DialogDriver keys({[&](HWND d) {
                           Pick(d, 0);
                           HWND qty = GetDlgItem(d, IDE_OITEM_QTY);
                           SetField(d, IDE_OITEM_QTY, "");
                           for (char c : std::string("12,5")) SendMessageA(qty, WM_CHAR, (WPARAM)c, 1);
                           typed = DialogText(d, IDE_OITEM_QTY);
                           ClickButton(d, IDOK);
                       },
                       [](HWND d) { ClickButton(d, IDCANCEL); }});
    QlOrderLineAdd(form);
    EXPECT_EQ("12,5", typed);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("The quantity must be a whole number", messages[0].text);
    EXPECT_EQ(0, RowCount(Lines()));
    AddLine(0, " 12 ");
    EXPECT_EQ("12", Row(0)[QL_ORDER_COL_QTY]);
}

TEST_F(OrderTest, OKWithoutAProductIsRefusedAndCancelAddsNothing)
{
    OpenNew();
    DialogDriver driver({[](HWND d) { SetField(d, IDE_OITEM_DESCR, "Something"); }, [](HWND d) { ClickButton(d, IDOK); },
                         [](HWND d) { ClickButton(d, IDCANCEL); }});
    QlOrderLineAdd(form);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Choose a product from the list", messages[0].text);
    EXPECT_EQ(0, RowCount(Lines()));
    EXPECT_EQ("", Text(IDT_ORDER_TOTAL));
}

TEST_F(OrderTest, FindSearchesTheChosenColumn)
{
    OpenNew();
    struct Probe {
        int kind;
        const char *text;
        std::string code;   // the code shown after the find, "" when none
        std::string status;
    };
    std::vector<Probe> probes = {{0, "p003", "P003", ""},      {1, "elbow", "", "not found"},
                                 {1, "valve", "P003", ""},      {2, "BE-15", "P002", ""},
                                 {2, "zz-99", "", "not found"}, {0, "", "", "not found"}};
    std::vector<Step> steps;
    for (auto &probe : probes) {
        steps.push_back([&probe](HWND d) {
            SetField(d, IDT_OITEM_CODE, "");
            SendDlgItemMessageA(d, IDC_OITEM_FIND_KIND, CB_SETCURSEL, probe.kind, 0);
            SetField(d, IDE_OITEM_FIND, probe.text);
            ClickButton(d, IDB_OITEM_FIND);
            probe.code = DialogText(d, IDT_OITEM_CODE);
            probe.status = DialogText(d, IDT_OITEM_FIND_STATUS);
        });
    }
    std::string statusAfterTyping = "?";
    steps.push_back([&](HWND d) {
        SetField(d, IDE_OITEM_FIND, "x");
        statusAfterTyping = DialogText(d, IDT_OITEM_FIND_STATUS);
    });
    steps.push_back([](HWND d) { ClickButton(d, IDCANCEL); });
    DialogDriver driver(steps);
    QlOrderLineAdd(form);
    EXPECT_EQ((std::vector<std::string>{"P003", "", "P003", "P002", "", ""}),
              (std::vector<std::string>{probes[0].code, probes[1].code, probes[2].code, probes[3].code, probes[4].code,
                                        probes[5].code}));
    EXPECT_EQ("", probes[0].status);
    EXPECT_EQ("not found", probes[1].status);
    EXPECT_EQ("not found", probes[4].status);
    EXPECT_EQ("", statusAfterTyping);
}

TEST_F(OrderTest, AScannedBarcodeChoosesItsProductWithASound)
{
    OpenNew();
    QlSettings.cfg.scanSounds = 1;
    std::string code, rowId, barcode, afterMiss;
    DialogDriver driver({[&](HWND d) {
                             SetField(d, IDE_OITEM_BARCODE, "501234567892");
                             SendMessageA(d, QL_WM_ENTER_KEY, 0, 0);
                             code = DialogText(d, IDT_OITEM_CODE);
                             rowId = DialogText(d, IDT_OITEM_ROWID);
                             barcode = DialogText(d, IDE_OITEM_BARCODE);
                             SetField(d, IDE_OITEM_BARCODE, "999");
                             SendMessageA(d, QL_WM_ENTER_KEY, 0, 0);
                             afterMiss = DialogText(d, IDT_OITEM_CODE);
                         },
                         [](HWND d) { ClickButton(d, IDOK); }});
    QlOrderLineAdd(form);
    EXPECT_EQ("P003", code);
    EXPECT_EQ(std::to_string(valve), rowId);
    EXPECT_EQ("501234567892", barcode);
    EXPECT_EQ("P003", afterMiss);
    EXPECT_EQ((std::vector<std::string>{"scan_ok.wav", "scan_err.wav"}), sounds);
    EXPECT_EQ((Cells{"AV-22", "ANGLE VALVE", "1", "12.05", "12.05", std::to_string(valve), "P003"}), Row(0));

    QlSettings.cfg.scanSounds = 0;
    sounds.clear();
    DialogDriver quiet({[&](HWND d) {
                            SetField(d, IDE_OITEM_BARCODE, "501234567890");
                            SendMessageA(d, QL_WM_ENTER_KEY, 0, 0);
                        },
                        [](HWND d) { ClickButton(d, IDCANCEL); }});
    QlOrderLineAdd(form);
    EXPECT_TRUE(sounds.empty());
}

TEST_F(OrderTest, AColumnClickSortsTheProducts)
{
    OpenNew();
    Cells before, byName, byPrice;
    auto column = [](HWND list, int c) {
        Cells cells;
        for (int r = 0; r < RowCount(list); r++) cells.push_back(QlTestGetCell(list, r, c));
        return cells;
    };
    auto click = [](HWND d, int c) {
        NMLISTVIEW nm = {};
        nm.hdr = {GetDlgItem(d, IDL_OITEM_PRODUCTS), IDL_OITEM_PRODUCTS, (UINT)LVN_COLUMNCLICK};
        nm.iSubItem = c;
        SendMessageA(d, WM_NOTIFY, IDL_OITEM_PRODUCTS, (LPARAM)&nm);
    };
    DialogDriver driver({[&](HWND d) {
                             HWND list = GetDlgItem(d, IDL_OITEM_PRODUCTS);
                             before = column(list, 0);
                             click(d, 2);
                             byName = column(list, 0);
                             click(d, 6);
                             byPrice = column(list, 0);
                         },
                         [](HWND d) { ClickButton(d, IDCANCEL); }});
    QlOrderLineAdd(form);
    EXPECT_EQ((Cells{"P001", "P002", "P003"}), before);
    EXPECT_EQ((Cells{"P003", "P002", "P001"}), byName);   // "ANGLE", "Brass", "COPPER"
    EXPECT_EQ((Cells{"P001", "P002", "P003"}), byPrice);
}

TEST_F(OrderTest, EditGivesBackTheRowAndAnotherProductReplacesEveryColumn)
{
    OpenNew();
    AddLine(0, "3");
    FocusRow(0);
    std::string descr, qty;
    DialogDriver same({[&](HWND d) {
                           descr = DialogText(d, IDE_OITEM_DESCR);
                           qty = DialogText(d, IDE_OITEM_QTY);
                           SetField(d, IDE_OITEM_QTY, "4");
                       },
                       [](HWND d) { ClickButton(d, IDOK); }});
    QlOrderLineEdit(form);
    EXPECT_EQ("COPPER PIPE 15MM", descr);
    EXPECT_EQ("3", qty);
    EXPECT_EQ((Cells{"CP-15", "COPPER PIPE 15MM", "4", "2.50", "10.00", std::to_string(pipe), "P001"}), Row(0));
    EXPECT_EQ("10.00", Text(IDT_ORDER_TOTAL));

    DialogDriver other({[](HWND d) {
                            Pick(d, 1);
                            SetField(d, IDE_OITEM_DESCR, "Brass elbow 15");
                        },
                        [](HWND d) { ClickButton(d, IDOK); }});
    NMHDR header = {Lines(), IDL_DOC_LINES, (UINT)NM_DBLCLK};
    SendMessageA(form, WM_NOTIFY, IDL_DOC_LINES, (LPARAM)&header);
    EXPECT_EQ((Cells{"BE-15", "Brass elbow 15", "4", "0.75", "3.00", std::to_string(elbow), "P002"}), Row(0));
    EXPECT_EQ("3.00", Text(IDT_ORDER_TOTAL));
}

TEST_F(OrderTest, DeleteTakesTheFocusedRowWithoutAQuestion)
{
    OpenNew();
    FormCommand(IDB_DOC_DELETE);
    AddLine(0, "5");   // 12.50
    AddLine(1, "1");   // 0.75
    AddLine(2, "1");   // 12.05
    EXPECT_EQ("25.30", Text(IDT_ORDER_TOTAL));
    FocusRow(2);
    FormCommand(IDB_DOC_DELETE);
    EXPECT_EQ(2, RowCount(Lines()));
    EXPECT_EQ("13.25", Text(IDT_ORDER_TOTAL));
    EXPECT_TRUE(messages.empty());
}

TEST_F(OrderTest, SaveStoresTheOrderAndItsLinesAndCloses)
{
    OpenNew();
    AddLine(0, "5");
    AddLine(1, "1");
    SYSTEMTIME day = {2026, 12, 0, 9};
    SendDlgItemMessageA(form, IDP_DOC_DATE, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&day);
    StatusPanel status;
    Toolbar(0);
    EXPECT_EQ(nullptr, QlModuleWnd);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ("Purchase order 1 saved", status.Posted());
    QlTransRec rec = Stored(1);
    EXPECT_EQ(5u, rec.type);
    EXPECT_EQ(supplier, rec.supp_rowid);
    EXPECT_STREQ("SU001", rec.acref);
    EXPECT_STREQ("13.25", rec.gross);
    EXPECT_STREQ("0.00", rec.gross_bal);
    EXPECT_STREQ("9/12/2026", rec.date);
    EXPECT_STREQ("COPPER PIPE 15MM", rec.desc);
    EXPECT_EQ(2u, rec.num_sub_items);
    EXPECT_EQ("1", Scalar("select count from transcount"));
    EXPECT_EQ(std::to_string(supplier) + "|" + std::to_string(pipe) + "|1|P001|CP-15|COPPER PIPE 15MM|5|2.50|12.50\n" +
                  std::to_string(supplier) + "|" + std::to_string(elbow) + "|1|P002|BE-15|Brass elbow|1|0.75|0.75",
              Scalar("select group_concat(iSupplierRowId||'|'||iProductRowId||'|'||iTxRowId||'|'||scode||'|'||"
                     "supplier_code||'|'||description||'|'||iQty||'|'||uprice||'|'||total, char(10)) from "
                     "(select * from orders order by iKey)"));
    EXPECT_EQ(std::to_string(rec.doc_rowid), Scalar("select min(iKey) from orders"));
}

TEST_F(OrderTest, SaveRefusesAnEmptyOrAZeroOrder)
{
    AddStock("P008", "FREE-1", "FREE SAMPLE", 0, 0, "501234567897");
    OpenNew();
    Toolbar(0);
    EXPECT_TRUE(messages.empty());
    AddLine(3, "2");
    Toolbar(0);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Error", messages[0].caption);
    EXPECT_EQ("Zero gross amount", messages[0].text);
    AddLine(0, "1");
    SetField(form, IDT_DOC_ACREF, "");
    Toolbar(0);
    EXPECT_EQ("Missing Account Number", messages.back().caption);
    EXPECT_EQ(form, QlModuleWnd);
    EXPECT_EQ("0", Scalar("select count(*) from trans"));
}

TEST_F(OrderTest, AFailedSaveStoresNothingAndKeepsTheLines)
{
    OpenNew();
    AddLine(0, "5");
    AddLine(1, "1");
    std::string before = Dump();
    // The statements of a save: the trans row (with the counter), each line,
    // the first line's key and description on the trans row.
    for (int failAt = 0; failAt < 8; failAt++) {
        StatementFault::Arm(failAt);
        Toolbar(0);
        const int seen = StatementFault::seen;
        StatementFault::Disarm();
        if (failAt >= seen) break;
        EXPECT_EQ(before, Dump()) << "failing statement " << failAt;
        EXPECT_EQ(form, QlModuleWnd);
        EXPECT_EQ(2, RowCount(Lines()));
    }
    EXPECT_GE(messages.size(), 3u);
    Toolbar(0);
    EXPECT_EQ(nullptr, QlModuleWnd);
    EXPECT_EQ("1", Scalar("select count(*) from trans"));
    EXPECT_EQ("2", Scalar("select count(*) from orders"));
}

TEST_F(OrderTest, CloseAsksWhenLinesWouldBeLost)
{
    OpenNew();
    Toolbar(1);
    EXPECT_EQ(nullptr, QlModuleWnd);
    OpenNew();
    AddLine(0, "1");
    answer = 0;
    Toolbar(1);
    EXPECT_EQ(form, QlModuleWnd);
    EXPECT_EQ("Confirmation", messages.back().caption);
    answer = 1;
    Toolbar(1);
    EXPECT_EQ(nullptr, QlModuleWnd);
}

TEST_F(OrderTest, TheStoredOrderIsShownReadOnly)
{
    OpenNew();
    AddLine(2, "2");
    AddLine(0, "1");
    Toolbar(0);
    QlTransRec rec = Stored(1);
    memset(&QlSuppCurrent, 0, sizeof QlSuppCurrent);
    form = QlOrderOpen(&rec);
    ASSERT_NE(nullptr, form);
    EXPECT_EQ("1", Text(IDT_DOC_NUMBER));
    EXPECT_EQ("SU001", Text(IDT_DOC_ACREF));
    EXPECT_EQ("Pipes & Co", Text(IDE_DOC_COMPANY));
    EXPECT_EQ("26.60", Text(IDT_ORDER_TOTAL));
    EXPECT_EQ(supplier, QlSuppCurrent.iKey);
    EXPECT_EQ("P003", Row(0)[QL_ORDER_COL_SCODE]);
    EXPECT_EQ((Cells{"CP-15", "COPPER PIPE 15MM", "1", "2.50", "2.50", std::to_string(pipe), "P001"}), Row(1));
    EXPECT_EQ(4, ToolbarButtons());
    for (int id : {IDB_DOC_ADD, IDB_DOC_EDIT, IDB_DOC_DELETE, IDE_DOC_COMPANY, IDP_DOC_DATE})
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, id))) << id;
    // Edit, a double click and Delete change nothing.
    FocusRow(0);
    QlOrderLineEdit(form);
    FormCommand(IDB_DOC_DELETE);
    EXPECT_EQ(2, RowCount(Lines()));
    Toolbar(3);
    EXPECT_EQ(nullptr, QlModuleWnd);
}

TEST_F(OrderTest, AnUnreadableSupplierLeavesTheWindowEmpty)
{
    QlTransRec rec = {};
    rec.iKey = 4;
    rec.type = 5;
    rec.supp_rowid = 999;
    DbTestSet(rec.acref, "XX001");
    form = QlOrderOpen(&rec);
    ASSERT_NE(nullptr, form);
    EXPECT_EQ("", Text(IDT_DOC_NUMBER));
    EXPECT_EQ("", Text(IDT_DOC_ACREF));
    EXPECT_EQ(0, RowCount(Lines()));
}

// The pictures show the windows painted: the lines, the total and the
// product list hold what the test put there, and nothing is drawn black.
TEST_F(OrderTest, Pictures)
{
    ShowWindow(main, SW_SHOW);
    OpenNew();
    AddLine(0, "12");
    AddLine(1, "40");
    AddLine(2, "2");
    EXPECT_TRUE(SaveWindowPng(main, "purchase-order.png", {Lines(), GetDlgItem(form, IDT_ORDER_TOTAL)}));
    bool shot = false;
    DialogDriver driver({[&](HWND d) {
                             Pick(d, 2);
                             SetField(d, IDE_OITEM_QTY, "3");
                         },
                         [&](HWND d) {
                             shot = SaveWindowPng(d, "order-item-dialog.png",
                                                  {GetDlgItem(d, IDL_OITEM_PRODUCTS), GetDlgItem(d, IDT_OITEM_CODE),
                                                   GetDlgItem(d, IDE_OITEM_QTY)});
                         },
                         [](HWND d) { ClickButton(d, IDCANCEL); }});
    QlOrderLineAdd(form);
    EXPECT_TRUE(shot);
    Toolbar(0);
    QlTransRec rec = Stored(1);
    form = QlOrderOpen(&rec);
    EXPECT_TRUE(SaveWindowPng(main, "purchase-order-stored.png", {Lines(), GetDlgItem(form, IDT_ORDER_TOTAL)}));
    MoveWindow(main, 0, 0, 1100, 700, TRUE);
    SendMessageA(form, QL_WM_MAIN_MAXIMIZED, 0, 0);
    EXPECT_TRUE(SaveWindowPng(main, "purchase-order-wide.png", {Lines(), GetDlgItem(form, IDT_ORDER_TOTAL)}));
    ShowWindow(main, SW_HIDE);
}

}  // namespace
