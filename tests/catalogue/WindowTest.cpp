// The products window: its list, sorting, find, delete and layout.
#include "CatTestSupport.h"
#include "UiTestSupport.h"

#include "catalogue/QlCatalogueLists.h"
#include "catalogue/QlCatalogueOpen.h"
#include "catalogue/QlProducts.h"
#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "datastore/QlDb.h"
#include "resources/QlResCatalogue.h"

#include <commctrl.h>

namespace {

int gStatements;
int CountStatement(const char *)
{
    gStatements++;
    return 0;
}
int FailUpdates(const char *sql)
{
    return strncmp(sql, "update", 6) == 0;
}

class WindowTest : public CatTest {
protected:
    // Finds the text by the kind (0 code, 1 name, 2 supplier code).
    void Find(int kind, const char *text)
    {
        SendDlgItemMessageA(window, IDC_PROD_FIND_KIND, CB_SETCURSEL, kind, 0);
        Set(window, IDE_PROD_FIND, text);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDB_PROD_FIND, BN_CLICKED),
                     (LPARAM)GetDlgItem(window, IDB_PROD_FIND));
    }
    int Focused() const { return (int)SendMessageA(List(), LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED); }
    int64_t AddWithSupplierCode(const char *code, const char *supplierCode, const char *name, int units,
                                int hundredths, int stock)
    {
        int64_t key = AddProduct(code, "", name, units, hundredths, stock);
        QlProdRec rec = Product(code);
        DbTestSet(rec.supplier_code, supplierCode);
        EXPECT_EQ(1, QlProdUpdate(&rec, err)) << err;
        return key;
    }
};

}  // namespace

TEST_F(WindowTest, ListsEveryEnabledProductAndTurnsTheScanSoundsOn)
{
    AddProduct("0001", "501234567890", "CHILDREN'S TOYS", 12, 50, 40);
    int64_t gone = AddProduct("0002", "", "GONE", 1, 0, 0);
    AddProduct("0003", "", "O'BRIEN'S \"BEST\" NAILS", 0, 5, -2);
    ASSERT_EQ(1, QlProdDisable(gone, err));
    QlSettings.cfg.scanSounds = 0;
    OpenProducts();

    EXPECT_EQ(window, QlModuleWnd);
    EXPECT_EQ(1, QlSettings.cfg.scanSounds);
    ASSERT_EQ(2, RowCount(List()));
    EXPECT_EQ(std::vector<std::string>({"0001", "", "CHILDREN'S TOYS", "6.00", "12.50", "40", "1", "501234567890"}),
              std::vector<std::string>({Cell(List(), 0, 0), Cell(List(), 0, 1), Cell(List(), 0, 2), Cell(List(), 0, 3),
                                        Cell(List(), 0, 4), Cell(List(), 0, 5), Cell(List(), 0, 6),
                                        Cell(List(), 0, 7)}));
    EXPECT_EQ("O'BRIEN'S \"BEST\" NAILS", Cell(List(), 1, 2));
    EXPECT_EQ("0.05", Cell(List(), 1, 4));
    EXPECT_EQ("-2", Cell(List(), 1, 5));
    EXPECT_EQ(0, Focused());
    EXPECT_EQ(std::vector<std::string>({"0001", "0003"}), MemCodes());
}

// Each column keeps its own direction; prices compare as hundredths (in 64
// bits: 999999999.99 is the largest an edit takes), texts by strcmp, and the
// stored values count, not the texts shown.
TEST_F(WindowTest, SortsByTheStoredValuesOfEachColumn)
{
    AddWithSupplierCode("0001", "b-7", "WIDGET", 9, 99, 5);
    AddWithSupplierCode("0002", "B-7", "GADGET", 10, 5, 12);
    AddWithSupplierCode("0003", "a-1", "SPROCKET", 999999999, 99, -1);
    OpenProducts();
    const struct {
        int column;
        std::vector<std::string> ascending, descending;
    } cases[] = {
        {0, {"0001", "0002", "0003"}, {"0003", "0002", "0001"}},
        {1, {"0002", "0003", "0001"}, {"0001", "0003", "0002"}},
        {2, {"0002", "0003", "0001"}, {"0001", "0003", "0002"}},
        {3, {"0001", "0002", "0003"}, {"0003", "0002", "0001"}},   // 4.00, 5.00, 499999999.00
        {4, {"0001", "0002", "0003"}, {"0003", "0002", "0001"}},   // 9.99 before 10.05
        {5, {"0003", "0001", "0002"}, {"0002", "0001", "0003"}},
        {6, {"0001", "0002", "0003"}, {"0003", "0002", "0001"}},
    };
    gStatements = 0;
    QlDbExecHook = CountStatement;
    for (const auto &c : cases) {
        ColumnClick(c.column);
        EXPECT_EQ(c.ascending, Column(List(), 0)) << "column " << c.column;
        ColumnClick(c.column);
        EXPECT_EQ(c.descending, Column(List(), 0)) << "column " << c.column;
    }
    QlDbExecHook = NULL;
    EXPECT_EQ(0, gStatements) << "a sort compares the products held in memory";

    // Each column goes on from its own last direction.
    ColumnClick(5);
    ColumnClick(4);
    EXPECT_EQ(std::vector<std::string>({"0001", "0002", "0003"}), Column(List(), 0));
    ColumnClick(5);
    EXPECT_EQ(std::vector<std::string>({"0002", "0001", "0003"}), Column(List(), 0));

    // An edited price counts at the next sort.
    HWND dialog = EditDialog(2);
    ASSERT_EQ("0003", Text(dialog, IDT_PROD_CODE));
    Set(dialog, IDE_PROD_PRICE_UNITS, "1");
    Set(dialog, IDE_PROD_COST_UNITS, "1");   // within the ceiling of the dialogs (9999999.99)
    Toolbar(dialog, 0);
    DestroyWindow(dialog);
    ColumnClick(4);
    ColumnClick(4);
    EXPECT_EQ(std::vector<std::string>({"0003", "0001", "0002"}), Column(List(), 0));
}

TEST_F(WindowTest, FindsByCodeNameAndSupplierCode)
{
    AddWithSupplierCode("0009", "SC-12", "COPPER PIPE", 1, 0, 0);
    AddWithSupplierCode("000A", "sc-9", "BRASS PIPE ELBOW", 1, 0, 0);
    AddWithSupplierCode("000B", "XSC-1", "PIPE", 1, 0, 0);
    OpenProducts();
    const struct {
        int kind;
        const char *text;
        int row;   // -1: not found
    } cases[] = {
        {0, "000a", 1},        // the whole code, letter case ignored
        {0, "000", -1},
        {1, "pipe", 0},        // upper-cased, anywhere in the name: the first row wins
        {1, "elbow", 1},
        {1, "PIPE ELBOWS", -1},
        {2, "SC-1", 0},        // the beginning of the supplier code, as typed
        {2, "sc", 1},
        {2, "C-1", -1},
        {2, "", -1},
    };
    for (const auto &c : cases) {
        Focus(2);
        Find(c.kind, c.text);
        if (c.row >= 0) {
            EXPECT_EQ(c.row, Focused()) << c.kind << " " << c.text;
            EXPECT_EQ("", Text(window, IDT_PROD_FIND_RESULT)) << c.text;
        } else {
            EXPECT_EQ(2, Focused()) << c.kind << " " << c.text;
            EXPECT_EQ("not found", Text(window, IDT_PROD_FIND_RESULT)) << c.text;
        }
    }
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDE_PROD_FIND, EN_CHANGE), (LPARAM)GetDlgItem(window, IDE_PROD_FIND));
    EXPECT_EQ("", Text(window, IDT_PROD_FIND_RESULT));
}

TEST_F(WindowTest, DeleteIsRefusedWhileALiveLineUsesTheProduct)
{
    int64_t pipe = AddProduct("0001", "", "COPPER PIPE", 12, 50, 40);
    AddProduct("0002", "", "BRASS ELBOW", 1, 99, 3);
    QlItemRec line = {};
    DbTestSet(line.descr, "COPPER PIPE");
    line.prod_rowid = pipe;
    ASSERT_EQ(1, QlItemAdd(&line, err)) << err;
    OpenProducts();

    Focus(0);
    Toolbar(window, 2);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Cannot delete product", messages[0].caption);
    EXPECT_EQ("Product has transactions - it cannot be deleted", messages[0].text);
    EXPECT_EQ(QL_COLOUR_WARNING, messages[0].colour);
    EXPECT_EQ(2, RowCount(List()));

    // Once the line is gone the user is asked; Cancel keeps the product.
    ASSERT_EQ(1, QlDbDisableRow(line.iKey, "invoices", err));
    messages.clear();
    answer = 0;
    Toolbar(window, 2);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("PRODUCT DELETE CONFIRMATION", messages[0].caption);
    EXPECT_EQ("Are you sure you want to delete product? (Product Code 0001)\n", messages[0].text);
    EXPECT_EQ(2, RowCount(List()));

    // A soft delete the data store refuses is reported, not taken as done.
    answer = 1;
    messages.clear();
    QlDbExecHook = FailUpdates;
    Toolbar(window, 2);
    QlDbExecHook = NULL;
    ASSERT_EQ(2u, messages.size());
    EXPECT_EQ("Product was not deleted", messages[1].caption);
    EXPECT_EQ(QL_DB_ERR_INJECTED, messages[1].text);
    EXPECT_EQ(2, RowCount(List()));
    EXPECT_EQ("yes", Scalar("select enabled from products where scode='0001'"));

    Toolbar(window, 2);
    EXPECT_EQ(1, RowCount(List()));
    EXPECT_EQ("0002", Cell(List(), 0, 0));
    EXPECT_EQ(std::vector<std::string>({"0002"}), MemCodes());
    EXPECT_EQ("no", Scalar("select enabled from products where scode='0001'"));

    // Nothing focused: nothing happens.
    SendMessageA(List(), LVM_DELETEALLITEMS, 0, 0);
    messages.clear();
    Toolbar(window, 2);
    EXPECT_TRUE(messages.empty());
}

TEST_F(WindowTest, TheFindRowAndListStayAboveTheToolBarWhenMaximisedAndRestored)
{
    AddProduct("0001", "", "COPPER PIPE", 12, 50, 40);
    OpenProducts();
    auto check = [&](const char *when) {
        HWND toolbar = FindWindowExA(window, NULL, TOOLBARCLASSNAMEA, NULL);
        RECT bar = RectInParent(toolbar), combo = RectInParent(GetDlgItem(window, IDC_PROD_FIND_KIND));
        RECT edit = RectInParent(GetDlgItem(window, IDE_PROD_FIND)), list = RectInParent(List());
        RECT client;
        GetClientRect(window, &client);
        EXPECT_NEAR(client.bottom, bar.bottom, 4) << when;
        EXPECT_EQ(bar.top - 5, edit.bottom) << when;
        EXPECT_EQ(bar.top - 5, combo.bottom) << when;
        EXPECT_LE(list.bottom, combo.top) << when;
        EXPECT_GT(list.bottom - list.top, 50) << when;
    };
    check("opened");
    ShowWindow(main, SW_MAXIMIZE);
    SendMessageA(window, QL_WM_MAIN_MAXIMIZED, 0, 0);
    check("maximised");

    ShowWindow(main, SW_RESTORE);
    QlProdSortFlags[4] = 1;
    HWND old = window;
    SendMessageA(window, QL_WM_MAIN_RESTORED, 0, 0);
    window = QlModuleWnd;
    EXPECT_NE(old, window);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(0, QlProdSortFlags[4]);
    EXPECT_EQ(1, RowCount(List()));
    check("restored");
}
