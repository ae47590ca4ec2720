// A product's life as a user lives it: created with a generated barcode in
// the products window, received into stock by scanning it, sold on an
// invoice by scanning it again, released from stock; the stock figures agree
// with every movement.
#include "CatTestSupport.h"
#include "UiTestSupport.h"

#include "catalogue/QlProducts.h"
#include "ui/QlAppState.h"
#include "ui/QlUtil.h"
#include "customers/QlCustModule.h"
#include "resources/QlResCatalogue.h"
#include "resources/QlResTrans.h"
#include "transactions/QlTransForm.h"

#include <commctrl.h>

namespace {

void Scan(HWND dialog, int fieldId, const std::string &barcode)
{
    SetDlgItemTextA(dialog, fieldId, barcode.c_str());
    SendMessageA(dialog, QL_WM_ENTER_KEY, 0, 0);
}

}  // namespace

TEST_F(CatTest, AProductIsCreatedStockedAndSoldByItsBarcode)
{
    OpenProducts();

    // New: a generated UPC-A code, a description and a price.
    std::string barcode;
    {
        DialogDriver driver({[&](HWND d) {
            ClickButton(d, IDB_PROD_GENERATE);
            barcode = Text(d, IDE_PROD_BARCODE);
            SetDlgItemTextA(d, IDE_PROD_NAME, "COPPER PIPE");
            SetDlgItemTextA(d, IDE_PROD_PRICE_UNITS, "12");
            SetDlgItemTextA(d, IDE_PROD_PRICE_HUNDREDTHS, "50");
            Toolbar(d, 0);
        }});
        Toolbar(window, 0);
        EXPECT_EQ(1u, driver.stepsRun());
    }
    ASSERT_EQ(12u, barcode.size());
    EXPECT_EQ('4', barcode[0]);
    EXPECT_EQ("00001", barcode.substr(6, 5));
    ASSERT_EQ(1, RowCount(List()));
    EXPECT_EQ("0001", Cell(List(), 0, 0));
    EXPECT_EQ(barcode, Cell(List(), 0, 7));
    EXPECT_EQ("0", Cell(List(), 0, 5));

    // Stock in: 10 by scanning the barcode.
    {
        DialogDriver driver({[&](HWND d) {
                                 Scan(d, IDE_STOCK_BARCODE, barcode);
                                 SetDlgItemTextA(d, IDE_STOCK_QTY, "10");
                                 Toolbar(d, 0);
                             },
                             [](HWND d) { Toolbar(d, 1); }});
        Toolbar(window, 3);
        EXPECT_EQ(2u, driver.stepsRun());
    }
    EXPECT_EQ("10", Cell(List(), 0, 5));
    EXPECT_EQ(std::vector<std::string>({"scan_ok.wav", "scan_ok.wav"}), sounds);

    // Sold: an invoice for the account, the line found by scanning, and by
    // its code in the product dialog's find row.
    Open();
    Command(QL_CUST_CMD_INVOICE);
    HWND form = QlModuleWnd;
    ASSERT_NE(module, form);
    SendDlgItemMessageA(form, IDC_DOC_TYPE, CB_SETCURSEL, 1, 0);
    SendMessageA(form, WM_COMMAND, MAKEWPARAM(IDC_DOC_TYPE, CBN_CLOSEUP), (LPARAM)GetDlgItem(form, IDC_DOC_TYPE));
    std::string scanned, found;
    {
        DialogDriver driver({[&](HWND d) {
            scanned = Text(d, IDT_ITEM_CODE);
            SendDlgItemMessageA(d, IDC_ITEM_SEARCH_KIND, CB_SETCURSEL, 0, 0);
            SetDlgItemTextA(d, IDE_ITEM_SEARCH, "0001");
            ClickButton(d, IDB_ITEM_FIND);
            int row = (int)SendDlgItemMessageA(d, IDL_ITEM_PICK, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
            found = row >= 0 ? Cell(GetDlgItem(d, IDL_ITEM_PICK), row, 0) : "";
            SetDlgItemTextA(d, IDE_ITEM_QTY, "3");
            ClickButton(d, IDOK);
        }});
        Scan(form, IDE_DOC_BARCODE, barcode);
        EXPECT_EQ(1u, driver.stepsRun());
    }
    EXPECT_EQ("0001", scanned);
    EXPECT_EQ("0001", found);
    ASSERT_EQ(1, RowCount(GetDlgItem(form, IDL_DOC_LINES)));
    HWND toolbar = FindWindowExA(form, NULL, TOOLBARCLASSNAMEA, NULL);
    SendMessageA(form, WM_COMMAND, MAKEWPARAM(QL_FORM_CMD_SAVE, BN_CLICKED), (LPARAM)toolbar);
    EXPECT_EQ(7, Product("0001").stock_qty);

    // Stock out: 2 more; the products window shows what is left.
    OpenProducts();
    EXPECT_EQ("7", Cell(List(), 0, 5));
    {
        DialogDriver driver({[&](HWND d) {
                                 Scan(d, IDE_STOCK_BARCODE, barcode);
                                 SetDlgItemTextA(d, IDE_STOCK_QTY, "2");
                                 Toolbar(d, 0);
                             },
                             [](HWND d) { Toolbar(d, 1); }});
        Toolbar(window, 4);
    }
    EXPECT_EQ("5", Cell(List(), 0, 5));
    EXPECT_EQ(5, Product("0001").stock_qty);

    // The sold product cannot be deleted.
    messages.clear();
    Toolbar(window, 2);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Product has transactions - it cannot be deleted", messages[0].text);
}
