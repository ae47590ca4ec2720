// The line list of a document form: the cells the row writers put in, the
// totals summed from them, the key and quantity tables, and the packing of a
// row for a printed grid.
#include "TransTestSupport.h"
#include "QlTestPrint.h"

#include "ui/QlAppState.h"
#include "print/QlGrid.h"
#include "ui/QlListView.h"
#include "docmodel/QlTransLines.h"
#include "resources/QlResTrans.h"
#include "transactions/QlTransForm.h"

#include <string.h>

namespace {

class LinesTest : public TransTest {
protected:
    void SetUp() override
    {
        TransTest::SetUp();
        form = QlInvNew();
        ASSERT_NE(nullptr, form);
        list = GetDlgItem(form, IDL_DOC_LINES);
    }
    std::vector<std::string> Row(int row) const
    {
        std::vector<std::string> cells;
        for (int c = 0; c < QlListColumnCount(list); c++) cells.push_back(Cell(list, row, c));
        return cells;
    }
    std::string Text(int id) const
    {
        char text[64] = "";
        GetDlgItemTextA(form, id, text, sizeof text);
        return text;
    }
    void SwitchToProducts()
    {
        SendDlgItemMessageA(form, IDC_DOC_TYPE, CB_SETCURSEL, 1, 0);
        ASSERT_EQ(1, QlTransChangeFormType(form, QlServColumnWidths, 0));
    }
    HWND form = NULL;
    HWND list = NULL;
};

using Cells = std::vector<std::string>;

}  // namespace

TEST_F(LinesTest, ServiceRowsAndTheirTotals)
{
    QlItemLine = {};
    strcpy(QlItemLine.descr, "Consulting");
    QlItemLine.priceUnits = 100;
    QlItemWork = {2300, 15, 0, 1955};
    ASSERT_EQ(0, QlItemWriteServRow(list, &QlItemLine, 0, 0));
    EXPECT_EQ(Cells({"Consulting", "23.00", "15", "100.00", "15.00", "85.00", "19.55"}), Row(0));

    // In place: the row is rewritten, not added.
    QlItemWork.discount = 0;
    QlItemWork.lineTax = 2300;
    ASSERT_EQ(0, QlItemWriteServRow(list, &QlItemLine, 0, 1));
    EXPECT_EQ(1, RowCount(list));
    EXPECT_EQ(Cells({"Consulting", "23.00", "0", "100.00", "0.00", "100.00", "23.00"}), Row(0));

    QlItemLine.priceUnits = 12;
    QlItemLine.priceHundredths = 34;
    QlItemWork = {2300, 10, 0, 256};
    ASSERT_EQ(1, QlItemWriteServRow(list, &QlItemLine, 1, 0));
    QlTransFormSumItems(form, QL_LAYOUT_SERVICE);
    QlTransFormUpdateGross(form);
    EXPECT_EQ("111.11", Text(IDT_DOC_NET));
    EXPECT_EQ("25.56", Text(IDT_DOC_TAX));
    EXPECT_EQ("1.23", Text(IDT_DOC_DISCOUNT));
    EXPECT_EQ("136.67", Text(IDT_DOC_GROSS));
    EXPECT_EQ(11111 + 2556 - 123, QlTransFormRowAmount(form, QL_LAYOUT_SERVICE, 0) +
                                      QlTransFormRowAmount(form, QL_LAYOUT_SERVICE, 1));

    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    QlTransFormSumItems(form, QL_LAYOUT_SERVICE);
    for (int id : {IDT_DOC_NET, IDT_DOC_TAX, IDT_DOC_DISCOUNT}) EXPECT_EQ("0.00", Text(id)) << id;
}

TEST_F(LinesTest, ProductRowsTaxTheirNet)
{
    SwitchToProducts();
    ASSERT_EQ(QL_PROD_COLUMNS, QlListColumnCount(list));
    QlItemProdLine = {};
    strcpy(QlItemProdLine.scode, "P001");
    strcpy(QlItemProdLine.name, "Brass elbow");
    QlItemProdLine.unit_price_hundredths = 99;
    QlItemProdLine.stock_qty = 3;
    QlItemWork = {1350, 0, 0, 13};
    ASSERT_EQ(0, QlItemWriteProdRow(list, &QlItemProdLine, 0, 0));
    EXPECT_EQ(Cells({"P001", "Brass elbow", "3", "13.50", "0", "0.99", "0.00", "2.97", "0.40"}), Row(0));
    QlTransFormSumItems(form, QL_LAYOUT_PRODUCT);
    QlTransFormUpdateGross(form);
    EXPECT_EQ("2.97", Text(IDT_DOC_NET));
    EXPECT_EQ("0.40", Text(IDT_DOC_TAX));
    EXPECT_EQ("3.37", Text(IDT_DOC_GROSS));
}

TEST_F(LinesTest, TheQuantityTableHoldsFewerThanAThousandLines)
{
    SwitchToProducts();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < 999; i++) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = (char *)(i == 998 ? "P999" : "P001");
        SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
        QlListSetCell(list, i, 2, "2");
    }
    ASSERT_EQ(1, QlTransCopyProductQty(form));
    EXPECT_EQ(999, QlItemQtyTable.count);
    EXPECT_EQ(998 * 2, QlItemQtyOnForm("P001"));
    EXPECT_EQ(2, QlItemQtyOnForm("P999"));

    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = 999;
    item.pszText = (char *)"P002";
    SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    EXPECT_EQ(0, QlTransCopyProductQty(form));
    EXPECT_EQ(999, QlItemQtyTable.count);
    EXPECT_EQ(0, QlItemQtyOnForm("P002"));
}

TEST_F(LinesTest, StoredRowsKeepTheirKeysUpToTheTablesEnd)
{
    QlItemRec line = {};
    strcpy(line.descr, "Stored line");
    strcpy(line.net, "10.00");
    line.iKey = 77;
    ASSERT_EQ(1, QlItemServRowCb(&line));
    EXPECT_EQ("Stored line", Cell(list, 0, 0));
    EXPECT_EQ("10.00", Cell(list, 0, 5));
    EXPECT_EQ(77, QlItemRowKey(0));

    QlItemRowKeyTable.count = QL_ITEM_TABLE_SIZE - 1;
    line.iKey = 78;
    ASSERT_EQ(1, QlItemServRowCb(&line));   // the table's last entry
    line.iKey = 79;
    ASSERT_EQ(1, QlItemServRowCb(&line));   // shown, without a key
    EXPECT_EQ(3, RowCount(list));
    EXPECT_EQ(78, QlItemRowKey(QL_ITEM_TABLE_SIZE - 1));
    EXPECT_EQ(0, QlItemRowKey(QL_ITEM_TABLE_SIZE));
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = 2;
    SendMessageA(list, LVM_GETITEMA, 0, (LPARAM)&item);
    EXPECT_EQ(-1, (int)item.lParam);
}

TEST_F(LinesTest, PrintPackingFollowsTheOptions)
{
    QlItemLine = {};
    strcpy(QlItemLine.descr, "Consulting");
    QlItemLine.priceUnits = 100;
    QlItemWork = {2300, 15, 0, 1955};
    QlItemWriteServRow(list, &QlItemLine, 0, 0);
    const struct {
        int rate, discount;
        Cells texts;
        std::vector<UINT> formats;
    } service[] = {
        {0, 0, {"Consulting", "100.00", "85.00", "19.55"}, {DT_WORDBREAK, DT_RIGHT, DT_RIGHT, DT_RIGHT}},
        {1, 0, {"Consulting", "23.00", "100.00", "85.00", "19.55"}, {DT_WORDBREAK, DT_RIGHT, DT_RIGHT, DT_RIGHT, DT_RIGHT}},
        {1, 1, {"Consulting", "23.00", "100.00", "15.00", "85.00", "19.55"},
         {DT_WORDBREAK, DT_RIGHT, DT_RIGHT, DT_RIGHT, DT_RIGHT, DT_RIGHT}},
    };
    for (const auto &c : service) {
        QlSettings.cfg.printRateColumn = c.rate;
        QlSettings.cfg.printDiscountColumn = c.discount;
        QlPrintRowCells cells;
        QlPrintPackServRow(list, 0, &cells);
        ASSERT_EQ((int)c.texts.size(), cells.count) << c.rate << c.discount;
        for (int i = 0; i < cells.count; i++) {
            EXPECT_EQ(c.texts[i], cells.text[i]);
            EXPECT_EQ(c.formats[i], cells.format[i]);
        }
    }

    SwitchToProducts();
    QlItemProdLine = {};
    strcpy(QlItemProdLine.scode, "P001");
    strcpy(QlItemProdLine.name, "Brass elbow");
    QlItemProdLine.unit_price_units = 10;
    QlItemProdLine.stock_qty = 2;
    QlItemWork = {2300, 10, 0, 0};
    QlItemWriteProdRow(list, &QlItemProdLine, 0, 0);
    QlSettings.cfg.printRateColumn = 0;
    QlSettings.cfg.printDiscountColumn = 1;
    QlPrintRowCells cells;
    QlPrintPackProdRow(list, 0, &cells);
    const Cells prodTexts = {"P001", "Brass elbow", "2", "10.00", "2.00", "18.00", "4.14"};
    const std::vector<UINT> prodFormats = {0, DT_WORDBREAK, DT_RIGHT, DT_RIGHT, DT_RIGHT, DT_RIGHT, DT_RIGHT};
    ASSERT_EQ((int)prodTexts.size(), cells.count);
    for (int i = 0; i < cells.count; i++) {
        EXPECT_EQ(prodTexts[i], cells.text[i]);
        EXPECT_EQ(prodFormats[i], cells.format[i]);
    }
}

TEST_F(LinesTest, ARowPrintsIntoItsGridCellsByTheStylesOptions)
{
    QlItemLine = {};
    strcpy(QlItemLine.descr, "Consulting");
    QlItemLine.priceUnits = 100;
    QlItemWork = {2300, 15, 0, 1955};
    QlItemWriteServRow(list, &QlItemLine, 0, 0);
    // The settings ask for both optional columns; the style the printer
    // was given does not, and it is the style that counts.
    QlSettings.cfg.printRateColumn = 1;
    QlSettings.cfg.printDiscountColumn = 1;
    QlPrintStyleRec style = QlTestSampleStyle();

    MetafilePrinter printer;
    QlGridRec grid;
    const int percent[] = {40, 20, 20, 20, 0};
    const RECT &page = printer.target()->page;
    QlGridLayout(&grid, page.left, page.top, page.right, 0, 4, 5, 60, percent);
    EXPECT_EQ(4, QlPrintServItemRowNext(form, printer.dc(), &grid, 0, &style));
    printer.finish();
    EmfRecords records = printer.records(0);
    const char *expected[] = {"Consulting", "100.00", "85.00", "19.55"};
    const UINT formats[] = {DT_WORDBREAK, DT_RIGHT, DT_RIGHT, DT_RIGHT};
    for (int column = 0; column < 4; column++) {
        SCOPED_TRACE(column);
        const EmfText *text = records.findText(expected[column]);
        ASSERT_NE(nullptr, text);
        RECT cell;
        ASSERT_EQ(1, QlGridCellRect(&grid, 1, column, formats[column], &style, &cell));
        EXPECT_GE(text->x, cell.left);
        EXPECT_LE(text->right, cell.right + 1);
        EXPECT_GE(text->y, grid.rowLines[1].y1);
        EXPECT_LT(text->y, grid.rowLines[2].y1);
    }
    EXPECT_FALSE(records.hasText("23.00"));
    EXPECT_FALSE(records.hasText("15.00"));
}
