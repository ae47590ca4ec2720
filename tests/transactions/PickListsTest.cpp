// The catalogue's list routines that the line dialogs use: the text finder,
// the services list in its three orders, and sorting products by the stored
// values of a column.
#include "TransTestSupport.h"

#include "QlTestWindows.h"
#include "catalogue/QlCatalogueLists.h"
#include "datastore/QlDbTables.h"
#include "transactions/QlItemDialogs.h"

TEST(ListFindText, PrefixAndSubstring)
{
    HWND host = QlTestHostWindow();
    HWND list = QlTestAddList(host, 100, 2, 5);
    const char *cells[] = {"", "xABC", "AB", "ABC", "ab"};
    for (int r = 0; r < 5; r++) QlTestSetCell(list, r, 1, cells[r]);
    const struct {
        const char *text;
        int mode, found, row;
    } cases[] = {
        {"AB", 0, 1, 2},      // the first match wins over a longer one
        {"ABC", 0, 1, 3},
        {"AB", 1, 1, 1},      // contains: xABC comes first
        {"ab", 1, 1, 4},      // letter case counts
        {"abc", 0, 0, -1},
        {"ABCD", 1, 0, -1},   // no cell is as long
        {"", 0, 0, -1},
        {"AB", 2, 0, -1},     // no such mode
    };
    for (const auto &c : cases) {
        int row = -1;
        EXPECT_EQ(c.found, QlListFindText(list, c.text, 1, c.mode, &row)) << c.text << " mode " << c.mode;
        EXPECT_EQ(c.row, row) << c.text << " mode " << c.mode;
    }
    int row = -1;
    HWND empty = QlTestAddList(host, 101, 2, 0);
    EXPECT_EQ(0, QlListFindText(empty, "A", 0, 0, &row));
    DestroyWindow(host);
}

static HWND gServList;
static int ServRow(const QlServRec *rec)
{
    return QlServListAddRow(rec, gServList);
}

TEST_F(TransTest, ServicesListInTheirThreeOrders)
{
    AddService("banana", 9, 50);
    AddService("Apple", 10, 0);
    AddService("cherry", 2, 0);
    int64_t gone = AddService("gone", 1, 0);
    ASSERT_EQ(1, QlDbDisableRow(gone, "services", err));
    HWND host = QlTestHostWindow();
    gServList = QlTestAddList(host, 100, 3, 1);
    const struct {
        int order;
        std::vector<std::string> descr;
    } cases[] = {
        {0, {"banana", "Apple", "cherry"}},
        {1, {"Apple", "banana", "cherry"}},
        {2, {"cherry", "banana", "Apple"}},   // prices by their cents: 2.00, 9.50, 10.00
    };
    for (const auto &c : cases) {
        ASSERT_EQ(1, QlServListLoad(c.order, gServList, ServRow));
        EXPECT_EQ(c.descr, Column(gServList, 1)) << c.order;
    }
    EXPECT_EQ(std::vector<std::string>({"3", "1", "2"}), Column(gServList, 0));   // row ids
    EXPECT_EQ("10.00", Cell(gServList, 2, 2));
    DestroyWindow(host);
}

TEST_F(TransTest, ProductsSortByTheirStoredValues)
{
    AddProduct("A1", "", "Widget", 9, 99, 5);
    AddProduct("B2", "", "Gadget", 10, 5, 1);
    AddProduct("C3", "", "Sprocket", 1, 0, 9);
    HWND host = QlTestHostWindow();
    HWND list = QlTestAddList(host, 1180, 7, 0);
    QlItemQtyTable.count = 0;
    QlProdRec rec;
    for (const char *code : {"A1", "B2", "C3"}) {
        ASSERT_EQ(1, QlProdFind("scode", code, &rec, err));
        QlProdListAddRow(list, &rec);
    }
    memset(QlProdSortFlags, 0, sizeof QlProdSortFlags);
    NMLISTVIEW click = {};
    click.iSubItem = 4;   // unit price: 10.05 after 9.99 ascending
    QlProdSortList(host, 1180, &click);
    EXPECT_EQ(std::vector<std::string>({"C3", "A1", "B2"}), Column(list, 0));
    QlProdSortList(host, 1180, &click);
    EXPECT_EQ(std::vector<std::string>({"B2", "A1", "C3"}), Column(list, 0));
    click.iSubItem = 5;   // stock, its own direction: ascending first
    QlProdSortList(host, 1180, &click);
    EXPECT_EQ(std::vector<std::string>({"B2", "A1", "C3"}), Column(list, 0));
    DestroyWindow(host);
}
