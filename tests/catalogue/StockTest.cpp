// Stock in and stock out: picking a product by scan, list or find, the
// limits and their messages, and the products list afterwards.
#include "CatTestSupport.h"
#include "UiTestSupport.h"

#include "catalogue/QlProducts.h"
#include "ui/QlListView.h"
#include "ui/QlUtil.h"
#include "ui/QlWindow.h"
#include "datastore/QlDb.h"
#include "resources/QlResCatalogue.h"

#include <commctrl.h>

namespace {

int FailUpdates(const char *sql)
{
    return strncmp(sql, "update", 6) == 0;
}

class StockTest : public CatTest {
protected:
    void TearDown() override
    {
        if (dialog) DestroyWindow(dialog);
        CatTest::TearDown();
    }
    HWND Open(int out)
    {
        dialog = CreateDialogParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_STOCK), main,
                                    out ? QlStockOutDlgProc : QlStockInDlgProc, 0);
        EXPECT_NE(nullptr, dialog);
        return dialog;
    }
    HWND StockList() const { return GetDlgItem(dialog, IDL_STOCK_LIST); }
    // A click on the row.
    void Pick(int row)
    {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(StockList(), LVM_SETITEMSTATE, row, (LPARAM)&item);
        NMITEMACTIVATE nm = {};
        nm.hdr.hwndFrom = StockList();
        nm.hdr.idFrom = IDL_STOCK_LIST;
        nm.hdr.code = NM_CLICK;
        nm.iItem = row;
        SendMessageA(dialog, WM_NOTIFY, IDL_STOCK_LIST, (LPARAM)&nm);
    }
    void Scan(const char *barcode)
    {
        Set(dialog, IDE_STOCK_BARCODE, barcode);
        SendMessageA(dialog, QL_WM_ENTER_KEY, 0, 0);
    }
    int Focused() const { return (int)SendMessageA(StockList(), LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED); }
    HWND dialog = NULL;
};

}  // namespace

TEST_F(StockTest, LimitsAndTheirMessages)
{
    const struct {
        int out, stock;
        const char *quantity;
        int after;
        const char *caption, *text;   // NULL: no message
        bool emptied;                 // quantity, barcode and details emptied
    } cases[] = {
        {0, 9999990, "9", 9999999, NULL, NULL, true},
        {0, 9999990, "10", 9999990, "Maximum stock level exceeded (9999999)", "Can accept only 9 more units", false},
        {0, 0, "9999999", 9999999, NULL, NULL, true},
        {1, 5, "5", 0, NULL, NULL, true},
        {1, 5, "6", 5, "Insufficient Stock Level", "Can release only 5 more units from stock", true},
        // A quantity that is not a whole number of 1 or more is refused
        // with its message and changes nothing.
        {0, 5, "", 5, "Invalid Input", "The quantity must be a whole number", false},
        {1, 5, "0", 5, "Invalid Input", "Zero quantity", false},
        {0, 5, "3.5", 5, "Invalid Input", "The quantity must be a whole number", false},
        {1, 5, "12,5", 5, "Invalid Input", "The quantity must be a whole number", false},
        {0, 5, "-4", 5, "Invalid Input", "The quantity cannot be negative", false},
        {0, 9999990, "99999999", 9999990, "Invalid Input", "The quantity is too large", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.out ? "out " : "in ") + std::to_string(c.stock) + " " + c.quantity);
        NativeExec("delete from products;");
        AddProduct("0001", "501234567890", "COPPER PIPE", 12, 50, c.stock);
        messages.clear();
        Open(c.out);
        EXPECT_EQ(c.out ? "Release products from stock" : "Accept products in stock", WindowText(dialog));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDE_STOCK_QTY)));
        Scan("501234567890");
        Set(dialog, IDE_STOCK_QTY, c.quantity);
        Toolbar(dialog, 0);
        EXPECT_EQ(c.after, Product("0001").stock_qty);
        EXPECT_EQ(std::to_string(c.after), Cell(StockList(), 0, 5));
        EXPECT_EQ(c.after != c.stock, QlProdState.stock_changed != 0);
        if (c.caption) {
            ASSERT_EQ(1u, messages.size());
            EXPECT_EQ(c.caption, messages[0].caption);
            EXPECT_EQ(c.text, messages[0].text);
            EXPECT_EQ(QL_COLOUR_WARNING, messages[0].colour);
        } else {
            EXPECT_TRUE(messages.empty());
        }
        bool emptied = Text(dialog, IDE_STOCK_QTY).empty() && Text(dialog, IDE_STOCK_BARCODE).empty() &&
                       Text(dialog, IDT_STOCK_DETAILS).empty();
        EXPECT_EQ(c.emptied, emptied);
        DestroyWindow(dialog);
        dialog = NULL;
    }
}

TEST_F(StockTest, ScansAndFindsPickTheProduct)
{
    AddProduct("0001", "501234567890", "COPPER PIPE", 12, 50, 4);
    AddProduct("0002", "501234567891", "BRASS ELBOW", 1, 99, 3);
    Open(0);
    EXPECT_EQ(0, Focused());

    Scan("50123456789");
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Invalid barcode", messages[0].caption);
    EXPECT_EQ("Minumum barcode length is 12 characters", messages[0].text);
    EXPECT_EQ("", Text(dialog, IDE_STOCK_BARCODE));
    EXPECT_TRUE(sounds.empty());

    messages.clear();
    Scan("999999999999");
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Product does not exist", messages[0].caption);
    EXPECT_EQ("There is no product with barcode 999999999999\nin database", messages[0].text);
    EXPECT_EQ("", Text(dialog, IDE_STOCK_BARCODE));
    EXPECT_EQ(std::vector<std::string>({"scan_err.wav"}), sounds);

    messages.clear();
    sounds.clear();
    Scan("501234567891");
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(std::vector<std::string>({"scan_ok.wav"}), sounds);
    EXPECT_EQ("0002", Text(dialog, IDT_STOCK_CODE));
    EXPECT_EQ("BRASS ELBOW", Text(dialog, IDT_STOCK_DETAILS));
    EXPECT_EQ(1, Focused());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDE_STOCK_QTY)));
    EXPECT_EQ("1", Text(dialog, IDE_STOCK_QTY));

    // The find row picks a product the same way.
    SendDlgItemMessageA(dialog, IDC_PROD_FIND_KIND, CB_SETCURSEL, 1, 0);
    Set(dialog, IDE_PROD_FIND, "pipe");
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDB_STOCK_FIND, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDB_STOCK_FIND));
    EXPECT_EQ(0, Focused());
    EXPECT_EQ("0001", Text(dialog, IDT_STOCK_CODE));
    EXPECT_EQ("COPPER PIPE", Text(dialog, IDT_STOCK_DETAILS));
    Set(dialog, IDE_PROD_FIND, "hinge");
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDB_STOCK_FIND, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDB_STOCK_FIND));
    EXPECT_EQ("not found", Text(dialog, IDT_PROD_FIND_RESULT));

    // A change the data store refuses is its message, not a change.
    messages.clear();
    Set(dialog, IDE_STOCK_QTY, "2");
    QlDbExecHook = FailUpdates;
    Toolbar(dialog, 0);
    QlDbExecHook = NULL;
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Stock was not changed", messages[0].caption);
    EXPECT_EQ(QL_DB_ERR_INJECTED, messages[0].text);
    EXPECT_EQ(4, Product("0001").stock_qty);
    EXPECT_EQ("4", Cell(StockList(), 0, 5));
    EXPECT_EQ(0, QlProdState.stock_changed);

    // The list sorts by the stored stock, the change just made included.
    Toolbar(dialog, 0);
    EXPECT_EQ(6, Product("0001").stock_qty);
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = StockList();
    click.hdr.idFrom = IDL_STOCK_LIST;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 5;
    SendMessageA(dialog, WM_NOTIFY, IDL_STOCK_LIST, (LPARAM)&click);
    EXPECT_EQ(std::vector<std::string>({"0002", "0001"}), Column(StockList(), 0));
}

TEST_F(StockTest, TheProductsListIsReloadedAfterAChangeOnly)
{
    AddProduct("0001", "501234567890", "COPPER PIPE", 12, 50, 40);
    AddProduct("0002", "501234567891", "BRASS ELBOW", 1, 99, 3);
    OpenProducts();
    // A mark on the window's copy of a product: a reload would put the
    // stored product back.
    snprintf((char *)((QlProdRec *)QlProdMemFind(Product("0002").iKey)->data)->name, 80, "marked");
    {
        DialogDriver driver({[](HWND d) { SendMessageA(d, WM_COMMAND, IDCANCEL, 0); }});   // the close box
        Toolbar(window, 3);
        EXPECT_EQ(1u, driver.stepsRun());
    }
    EXPECT_EQ("marked", Cell(List(), 1, 2));

    {
        DialogDriver driver({[](HWND d) {
                                 SetDlgItemTextA(d, IDE_STOCK_BARCODE, "501234567891");
                                 SendMessageA(d, QL_WM_ENTER_KEY, 0, 0);
                                 SetDlgItemTextA(d, IDE_STOCK_QTY, "2");
                                 Toolbar(d, 0);
                             },
                             [](HWND d) { Toolbar(d, 1); }});
        Toolbar(window, 4);
        EXPECT_EQ(2u, driver.stepsRun());
    }
    EXPECT_EQ("BRASS ELBOW", Cell(List(), 1, 2));
    EXPECT_EQ("1", Cell(List(), 1, 5));
    EXPECT_EQ(0, (int)SendMessageA(List(), LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED));
    EXPECT_EQ(0, QlProdState.stock_changed);

    // An empty list opens no stock dialog.
    SendMessageA(List(), LVM_DELETEALLITEMS, 0, 0);
    DialogDriver driver({});
    Toolbar(window, 3);
    EXPECT_EQ(0u, driver.stepsRun());
}
