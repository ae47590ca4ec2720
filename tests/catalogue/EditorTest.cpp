// The new-product and edit-product dialogs: what Save stores and lists, and
// what it refuses.
#include "CatTestSupport.h"
#include "UiTestSupport.h"

#include "catalogue/QlProducts.h"
#include "datastore/QlDb.h"
#include "resources/QlResCatalogue.h"

#include <string.h>

namespace {

int FailInserts(const char *sql)
{
    return strncmp(sql, "insert", 6) == 0;
}
int FailUpdates(const char *sql)
{
    return strncmp(sql, "update", 6) == 0;
}
int FailBarcodeQueries(const char *sql)
{
    return strncmp(sql, "select", 6) == 0 && strstr(sql, "barcode=") != NULL;
}

class EditorTest : public CatTest {
protected:
    void SetUp() override
    {
        CatTest::SetUp();
        AddProduct("0001", "501234567890", "COPPER PIPE", 12, 50, 40);
        QlProdRec pipe = Product("0001");
        DbTestSet(pipe.supplier_code, "SC-1");
        ASSERT_EQ(1, QlProdUpdate(&pipe, err)) << err;
        AddProduct("0002", "501234567891", "BRASS ELBOW", 1, 99, 3);
        OpenProducts();
    }
    int Selected() const { return (int)SendMessageA(List(), LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED); }
};

std::string Repeat(char c, int n)
{
    return std::string((size_t)n, c);
}

}  // namespace

TEST_F(EditorTest, ANewProductIsStoredListedAndSelected)
{
    HWND dialog = NewDialog();
    EXPECT_EQ("Create New Product", WindowText(dialog));
    EXPECT_EQ("0", Text(dialog, IDE_PROD_PRICE_UNITS));
    EXPECT_EQ("00", Text(dialog, IDE_PROD_PRICE_HUNDREDTHS));
    // The price fields take a pasted text whole, for the check to see it.
    EXPECT_GT((int)SendDlgItemMessageA(dialog, IDE_PROD_PRICE_UNITS, EM_GETLIMITTEXT, 0, 0), 11);
    std::string name = "CHILDREN'S " + Repeat('X', 69);   // 80 characters
    std::string supplierCode = "O'NEIL-" + Repeat('9', 12);  // 19
    Set(dialog, IDE_PROD_NAME, name.c_str());
    Set(dialog, IDE_PROD_PRICE_UNITS, "1234567");
    Set(dialog, IDE_PROD_PRICE_HUNDREDTHS, "5");
    Set(dialog, IDE_PROD_COST_UNITS, "");
    Set(dialog, IDE_PROD_SUPPLIER_CODE, supplierCode.c_str());
    Toolbar(dialog, 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(IsWindowVisible(dialog));   // ended
    DestroyWindow(dialog);

    QlProdRec rec = Product("0003");
    EXPECT_EQ(name, rec.name);
    EXPECT_EQ(supplierCode, rec.supplier_code);
    EXPECT_STREQ("", rec.barcode);
    EXPECT_EQ(1234567, rec.unit_price_units);
    EXPECT_EQ(5u, rec.unit_price_hundredths);
    EXPECT_EQ(0, rec.purchase_price_units);
    EXPECT_EQ(0, rec.stock_qty);
    ASSERT_EQ(3, RowCount(List()));
    EXPECT_EQ("0003", Cell(List(), 2, 0));
    EXPECT_EQ(name, Cell(List(), 2, 2));
    EXPECT_EQ("1234567.05", Cell(List(), 2, 4));
    EXPECT_EQ("0.00", Cell(List(), 2, 3));
    EXPECT_EQ(2, Selected());
    EXPECT_EQ(std::vector<std::string>({"0001", "0002", "0003"}), MemCodes());
}

TEST_F(EditorTest, ANewProductsDescriptionIsUpperCase)
{
    HWND dialog = NewDialog();
    HWND field = GetDlgItem(dialog, IDE_PROD_NAME);
    for (char c : std::string("nuts & bolts")) SendMessageA(field, WM_CHAR, (WPARAM)c, 0);
    EXPECT_EQ("NUTS & BOLTS", Text(dialog, IDE_PROD_NAME));
    DestroyWindow(dialog);
}

TEST_F(EditorTest, NewProductRefusalsResetTheScanFields)
{
    const struct {
        const char *barcode, *name;
        const char *caption, *text;
    } cases[] = {
        {"12345", "NAILS", "Invalid barcode", "Barcode mimum length is 12 digits long"},
        {"501234567890", "NAILS", "Duplicate barcode", "Product with Barcode 501234567890\nalready exists in database"},
        {"", "", "Invalid Input", "Product description must be filled in"},
    };
    HWND dialog = NewDialog();
    for (const auto &c : cases) {
        messages.clear();
        Set(dialog, IDE_PROD_BARCODE, c.barcode);
        Set(dialog, IDE_PROD_NAME, c.name);
        Set(dialog, IDE_PROD_PRICE_UNITS, "3");
        Set(dialog, IDE_PROD_COST_UNITS, "2");
        Set(dialog, IDE_PROD_SUPPLIER_CODE, "SC-9");
        Set(dialog, IDE_PROD_PRODUCT_CODE, "00042");
        Toolbar(dialog, 0);
        ASSERT_EQ(1u, messages.size()) << c.text;
        EXPECT_EQ(c.caption, messages[0].caption);
        EXPECT_EQ(c.text, messages[0].text);
        EXPECT_EQ(QL_COLOUR_WARNING, messages[0].colour);
        EXPECT_TRUE(IsWindowVisible(dialog)) << c.text;
        EXPECT_EQ("", Text(dialog, IDE_PROD_BARCODE));
        EXPECT_EQ("", Text(dialog, IDE_PROD_NAME));
        EXPECT_EQ("0", Text(dialog, IDE_PROD_PRICE_UNITS));
        EXPECT_EQ("2", Text(dialog, IDE_PROD_COST_UNITS));
        EXPECT_EQ("SC-9", Text(dialog, IDE_PROD_SUPPLIER_CODE));
        EXPECT_EQ("00042", Text(dialog, IDE_PROD_PRODUCT_CODE));
    }
    EXPECT_EQ(2, RowCount(List()));

    // A failed insert is the data store's message, in a box of its own.
    messages.clear();
    Set(dialog, IDE_PROD_NAME, "NAILS");
    QlDbExecHook = FailInserts;
    EXPECT_EQ(0, QlProdAdd(dialog));
    QlDbExecHook = NULL;
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Error adding product record", messages[0].caption);
    EXPECT_EQ(QL_DB_ERR_INJECTED, messages[0].text);
    EXPECT_EQ(2, RowCount(List()));

    // A duplicate check that the store cannot answer is no "no duplicate":
    // the save is refused with the store's text and nothing is added.
    messages.clear();
    Set(dialog, IDE_PROD_BARCODE, "501234567898");
    Set(dialog, IDE_PROD_NAME, "NAILS");
    QlDbExecHook = FailBarcodeQueries;
    EXPECT_EQ(0, QlProdAdd(dialog));
    QlDbExecHook = NULL;
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Error", messages[0].caption);
    EXPECT_EQ(QL_DB_ERR_INJECTED, messages[0].text);
    EXPECT_EQ(2, RowCount(List()));
    EXPECT_EQ("2", Scalar("select count(*) from products"));

    // A pasted barcode ends at its line break.
    Set(dialog, IDE_PROD_NAME, "NAILS");
    Set(dialog, IDE_PROD_BARCODE, "501234567899\r\n2nd line");
    EXPECT_EQ(1, QlProdAdd(dialog));
    EXPECT_STREQ("501234567899", Product("0003").barcode);
    DestroyWindow(dialog);
}

TEST_F(EditorTest, EditRewritesTheProductAndItsRow)
{
    HWND dialog = EditDialog(0);
    EXPECT_EQ("Edit Product", WindowText(dialog));
    EXPECT_EQ("0001", Text(dialog, IDT_PROD_CODE));
    EXPECT_EQ("COPPER PIPE", Text(dialog, IDE_PROD_NAME));
    EXPECT_EQ("501234567890", Text(dialog, IDE_PROD_BARCODE));
    EXPECT_EQ("SC-1", Text(dialog, IDE_PROD_SUPPLIER_CODE));
    EXPECT_EQ("12", Text(dialog, IDE_PROD_PRICE_UNITS));
    EXPECT_EQ("50", Text(dialog, IDE_PROD_PRICE_HUNDREDTHS));
    EXPECT_EQ("6", Text(dialog, IDE_PROD_COST_UNITS));
    EXPECT_EQ("00", Text(dialog, IDE_PROD_COST_HUNDREDTHS));

    // An empty supplier code or price field keeps what is stored; an empty
    // barcode removes it.
    Set(dialog, IDE_PROD_NAME, "PIPE, 15 MM");
    Set(dialog, IDE_PROD_BARCODE, "");
    Set(dialog, IDE_PROD_SUPPLIER_CODE, "");
    Set(dialog, IDE_PROD_PRICE_UNITS, "");
    Set(dialog, IDE_PROD_PRICE_HUNDREDTHS, "5");
    Set(dialog, IDE_PROD_COST_UNITS, "");
    Toolbar(dialog, 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(IsWindowVisible(dialog));
    DestroyWindow(dialog);

    QlProdRec rec = Product("0001");
    EXPECT_STREQ("PIPE, 15 MM", rec.name);
    EXPECT_STREQ("", rec.barcode);
    EXPECT_STREQ("SC-1", rec.supplier_code);
    EXPECT_EQ(12, rec.unit_price_units);
    EXPECT_EQ(5u, rec.unit_price_hundredths);
    EXPECT_EQ(6, rec.purchase_price_units);
    EXPECT_EQ(40, rec.stock_qty);
    EXPECT_EQ(std::vector<std::string>({"0001", "SC-1", "PIPE, 15 MM", "6.00", "12.05", "40", "1", ""}),
              std::vector<std::string>({Cell(List(), 0, 0), Cell(List(), 0, 1), Cell(List(), 0, 2), Cell(List(), 0, 3),
                                        Cell(List(), 0, 4), Cell(List(), 0, 5), Cell(List(), 0, 6),
                                        Cell(List(), 0, 7)}));
    const QlProdRec *held = (const QlProdRec *)QlProdMemFind(rec.iKey)->data;
    EXPECT_STREQ("PIPE, 15 MM", held->name);
}

// No two live products share a barcode: a scan must find the one product.
TEST_F(EditorTest, EditRefusesABarcodeAnotherProductCarries)
{
    int64_t gone = AddProduct("0003", "501234567892", "GONE", 1, 0, 0);
    ASSERT_EQ(1, QlProdDisable(gone, err));
    const struct {
        const char *name, *barcode;
        const char *caption, *text;   // NULL: saved
    } cases[] = {
        {"", "501234567890", "Invalid Input", "Product description must be filled in"},
        {"PIPE", "50123", "Invalid barcode", "Barcode must be at least 12 digits long"},
        {"PIPE", "501234567891", "Duplicate barcode", "Product with Barcode 501234567891\nalready exists in database"},
        {"PIPE", "501234567890", NULL, NULL},   // its own
        {"PIPE", "501234567892", NULL, NULL},   // a deleted product's
    };
    for (const auto &c : cases) {
        messages.clear();
        HWND dialog = EditDialog(0);
        Set(dialog, IDE_PROD_NAME, c.name);
        Set(dialog, IDE_PROD_BARCODE, c.barcode);
        Toolbar(dialog, 0);
        if (c.caption) {
            ASSERT_EQ(1u, messages.size()) << c.barcode;
            EXPECT_EQ(c.caption, messages[0].caption);
            EXPECT_EQ(c.text, messages[0].text);
            EXPECT_TRUE(IsWindowVisible(dialog));
            EXPECT_EQ(c.barcode, Text(dialog, IDE_PROD_BARCODE));   // as typed
        } else {
            EXPECT_TRUE(messages.empty()) << c.barcode;
            EXPECT_STREQ(c.barcode, Product("0001").barcode);
        }
        DestroyWindow(dialog);
    }

    // So does the edit: the product keeps its barcode.
    messages.clear();
    HWND checked = EditDialog(0);
    Set(checked, IDE_PROD_BARCODE, "501234567897");
    QlDbExecHook = FailBarcodeQueries;
    Toolbar(checked, 0);
    QlDbExecHook = NULL;
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Error", messages[0].caption);
    EXPECT_EQ(QL_DB_ERR_INJECTED, messages[0].text);
    EXPECT_TRUE(IsWindowVisible(checked));
    EXPECT_STREQ("501234567892", Product("0001").barcode);
    DestroyWindow(checked);

    // An update the data store refuses is its message.
    messages.clear();
    HWND dialog = EditDialog(0);
    QlDbExecHook = FailUpdates;
    Toolbar(dialog, 0);
    QlDbExecHook = NULL;
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Error", messages[0].caption);
    EXPECT_EQ(QL_DB_ERR_INJECTED, messages[0].text);
    DestroyWindow(dialog);
}

// A pasted price reaches the check whole: a sign, anything but digits and
// more than the ceiling are refused in both dialogs with their message, the
// fields stay as typed and nothing is stored.
TEST_F(EditorTest, PastedPricesAreRefusedAsTheyWereGiven)
{
    const struct {
        int field;
        const char *pasted, *text;   // text NULL: stored
    } cases[] = {
        {IDE_PROD_PRICE_UNITS, "-5", "The price cannot be negative"},
        {IDE_PROD_PRICE_HUNDREDTHS, "-5", "The price cannot be negative"},
        {IDE_PROD_PRICE_UNITS, "12345678901", "The highest price is 9999999.99"},
        {IDE_PROD_PRICE_UNITS, "999999999", "The highest price is 9999999.99"},
        {IDE_PROD_PRICE_UNITS, "1e5", "The price must be given in digits"},
        {IDE_PROD_PRICE_UNITS, "12,50", "The price must be given in digits"},
        {IDE_PROD_PRICE_HUNDREDTHS, "123", "The price must be given in digits"},
        {IDE_PROD_COST_UNITS, "-1", "The price cannot be negative"},
        {IDE_PROD_COST_UNITS, "10000000", "The highest price is 9999999.99"},
        {IDE_PROD_PRICE_UNITS, "9999999", NULL},
        {IDE_PROD_PRICE_UNITS, "0009999999", NULL},
    };
    for (int edit = 0; edit < 2; edit++) {
        for (const auto &c : cases) {
            SCOPED_TRACE(std::string(edit ? "edit " : "new ") + c.pasted);
            messages.clear();
            HWND dialog = edit ? EditDialog(1) : NewDialog();
            Set(dialog, IDE_PROD_NAME, "WASHER");
            SendDlgItemMessageA(dialog, c.field, EM_SETSEL, 0, -1);
            // The clipboard's way in: a replacement of the selection.
            SendDlgItemMessageA(dialog, c.field, EM_REPLACESEL, TRUE, (LPARAM)c.pasted);
            EXPECT_EQ(c.pasted, Text(dialog, c.field));
            const char *prices = "select group_concat(unit_price || '/' || purchase_price, ';') from products";
            std::string before = Scalar(prices);
            Toolbar(dialog, 0);
            if (c.text) {
                ASSERT_EQ(1u, messages.size());
                EXPECT_EQ("Invalid Input", messages[0].caption);
                EXPECT_EQ(c.text, messages[0].text);
                EXPECT_TRUE(IsWindowVisible(dialog));
                EXPECT_EQ(c.pasted, Text(dialog, c.field));
                EXPECT_EQ("WASHER", Text(dialog, IDE_PROD_NAME));
                EXPECT_EQ(before, Scalar(prices));
            } else {
                EXPECT_TRUE(messages.empty());
                EXPECT_FALSE(IsWindowVisible(dialog));   // saved and ended
                if (edit) {
                    EXPECT_EQ(9999999, Product("0002").unit_price_units);
                }
            }
            DestroyWindow(dialog);
        }
    }
}
