// The price lists: the options dialog and what it keeps between runs, the
// pages drawn into metafiles (30 rows a page, the title with its page
// numbers, the messages, the logo and company block on the first page), and
// the commands up to the print dialog.
#include "CatTestSupport.h"
#include "UiTestSupport.h"
#include "QlTestPrint.h"
#include "picture/PictureFixtures.h"

#include "catalogue/QlPriceList.h"
#include "catalogue/QlProducts.h"
#include "catalogue/QlServices.h"
#include "print/QlPicture.h"
#include "ui/QlSeams.h"
#include "ui/QlWindow.h"
#include "resources/QlResCatalogue.h"

#include <commctrl.h>
#include <string.h>

namespace {

int gPrintDialogs;
BOOL WINAPI CancelPrintDialog(LPPRINTDLGA)
{
    gPrintDialogs++;
    return FALSE;
}
BOOL WINAPI CancelFileDialog(LPOPENFILENAMEA)
{
    return FALSE;
}

const char kBottom[] = "* All Prices Are Exclusive of Tax *";

class PriceListTest : public CatTest {
protected:
    void SetUp() override
    {
        CatTest::SetUp();
        gPrintDialogs = 0;
        QlSeamPrintDialog = CancelPrintDialog;
        QlSeamGetOpenFileName = CancelFileDialog;
        strcpy(QlSettings.cfg.companyName, "Acme Widgets Ltd");
        strcpy(QlSettings.cfg.telephone, "0123 456");
        QlSettings.cfg.fax[0] = '\0';
        QlSettings.cfg.logoPath[0] = '\0';
    }

    // Runs dialog 192 over the main window with the steps; its result.
    INT_PTR RunOptions(std::vector<std::function<void(HWND)>> steps)
    {
        DialogDriver driver(std::move(steps));
        return DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_PRICE_OPTIONS), main, QlPriceListOptionsDlgProc,
                               0);
    }
    static bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
    static bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

    // Draws the list of the open window into the printer.
    int Draw(MetafilePrinter &printer, int products, HBITMAP logo = NULL, QlPictureSizeRec size = {})
    {
        QlPriceListJob job = {};
        job.products = products;
        job.list = List();
        job.logo = logo;
        job.logoSize = size;
        job.style = QlTestSampleStyle();
        int result = QlPriceListDraw(printer.target(), &job);
        printer.finish();
        return result;
    }
    // The texts of a page whose first characters are prefix, top to bottom.
    static std::vector<std::string> TextsStarting(const EmfRecords &page, const std::string &prefix)
    {
        std::vector<std::string> found;
        for (const auto &t : page.texts)
            if (t.text.compare(0, prefix.size(), prefix) == 0) found.push_back(t.text);
        return found;
    }
    static void SavePng(const MetafilePrinter &printer, size_t page, const char *name)
    {
        std::string dir = QlTestArtifactDir();
        if (!dir.empty()) {
            EXPECT_TRUE(printer.savePng(page, dir + "/" + name));
        }
    }
};

}  // namespace

TEST_F(PriceListTest, TheDialogStartsFromTheDefaultsAndKeepsOnlyLogoAndAddress)
{
    std::vector<std::string> first;
    QlPriceListOptions.products_kind = 1;
    INT_PTR result = RunOptions({[&](HWND d) {
        first = {WindowText(d), DialogText(d, IDE_PRICE_TOP), DialogText(d, IDE_PRICE_BOTTOM)};
        EXPECT_FALSE(Enabled(d, IDE_PRICE_BOTTOM));
        EXPECT_TRUE(Enabled(d, IDB_PRICE_OUT_OF_STOCK));
        EXPECT_FALSE(Checked(d, IDB_PRICE_LOGO));
        ClickButton(d, IDB_PRICE_BOTTOM_ON);
        EXPECT_TRUE(Enabled(d, IDE_PRICE_BOTTOM));
        SetField(d, IDE_PRICE_BOTTOM, "Prices from May");
        SetField(d, IDE_PRICE_TOP, "Spring offers");
        ClickButton(d, IDB_PRICE_OUT_OF_STOCK);
        ClickButton(d, IDB_PRICE_LOGO);
        ClickButton(d, IDB_PRICE_PRINT);
    }});
    EXPECT_EQ(1, result);
    EXPECT_EQ(std::vector<std::string>({"Print Price List Options", "Acme Widgets Ltd Tel. 0123 456 ", kBottom}), first);
    const QlPriceListOptionsRec &o = QlPriceListOptions;
    EXPECT_EQ(std::vector<int>({1, 1, 1, 0}),
              std::vector<int>({o.include_out_of_stock, o.bottom_message_on, o.print_logo, o.print_address}));
    EXPECT_STREQ("Spring offers", o.top_message);
    EXPECT_STREQ("Prices from May", o.bottom_message);

    // The next run, for services: the defaults again, the out-of-stock box
    // off and disabled, the logo still ticked; Close keeps the choices.
    strcpy(QlSettings.cfg.fax, "0123 457");
    QlPriceListOptions.products_kind = 0;
    std::vector<std::string> second;
    result = RunOptions({[&](HWND d) {
        second = {DialogText(d, IDE_PRICE_TOP), DialogText(d, IDE_PRICE_BOTTOM)};
        EXPECT_FALSE(Enabled(d, IDB_PRICE_OUT_OF_STOCK));
        EXPECT_FALSE(Checked(d, IDB_PRICE_OUT_OF_STOCK));
        EXPECT_FALSE(Checked(d, IDB_PRICE_BOTTOM_ON));
        EXPECT_FALSE(Enabled(d, IDE_PRICE_BOTTOM));
        EXPECT_TRUE(Checked(d, IDB_PRICE_LOGO));
        EXPECT_FALSE(Checked(d, IDB_PRICE_ADDRESS));
        ClickButton(d, IDB_PRICE_CLOSE);
    }});
    EXPECT_EQ(0, result);
    EXPECT_EQ(std::vector<std::string>({"Acme Widgets Ltd Tel. 0123 456 Fax: 0123 457", kBottom}), second);
    EXPECT_EQ(0, o.include_out_of_stock);
    EXPECT_EQ(0, o.bottom_message_on);
    EXPECT_EQ(1, o.print_logo);
}

// The default top message can be longer than the 79 characters a message
// holds: it is cut, in the dialog and on the page, and nothing overflows.
TEST_F(PriceListTest, ALongDefaultTopMessageIsCut)
{
    DbTestSet(QlSettings.cfg.companyName, std::string(39, 'C'));
    DbTestSet(QlSettings.cfg.telephone, std::string(24, '1'));
    DbTestSet(QlSettings.cfg.fax, std::string(24, '2'));
    const std::string whole = std::string(39, 'C') + " Tel. " + std::string(24, '1') + " Fax: " + std::string(24, '2');
    const std::string cut = whole.substr(0, 79);

    char buffer[QL_PRICE_MESSAGE_SIZE + 8];
    memset(buffer, '#', sizeof buffer);
    QlPriceListTopMessage(buffer, QL_PRICE_MESSAGE_SIZE);
    EXPECT_EQ(cut, std::string(buffer));
    EXPECT_EQ(std::string(8, '#'), std::string(buffer + QL_PRICE_MESSAGE_SIZE, 8));

    std::string shown;
    QlPriceListOptions.products_kind = 0;
    RunOptions({[&](HWND d) {
        shown = DialogText(d, IDE_PRICE_TOP);
        ClickButton(d, IDB_PRICE_PRINT);
    }});
    EXPECT_EQ(cut, shown);
    EXPECT_EQ(cut, QlPriceListOptions.top_message);

    AddService("Survey", 7, 50);
    OpenServices();
    MetafilePrinter printer;
    ASSERT_EQ(1, Draw(printer, 0));
    ASSERT_EQ(1u, printer.pageCount());
    EXPECT_TRUE(printer.records(0).hasText(cut));
}

// 30 rows a page: 30 services give one page, 31 two, the second with one
// row; the rows follow the window's order; every font made is let go.
TEST_F(PriceListTest, ThirtyServicesFillAPageAndTheThirtyFirstStartsTheNext)
{
    char descr[32];
    for (int i = 0; i < 30; i++) {
        snprintf(descr, sizeof descr, "Service %02d", 30 - i);
        AddService(descr, i, 5);
    }
    OpenServices();
    strcpy(QlPriceListOptions.top_message, "Spring offers");
    strcpy(QlPriceListOptions.bottom_message, kBottom);
    {
        MetafilePrinter printer;
        ASSERT_EQ(1, Draw(printer, 0));
        ASSERT_EQ(1u, printer.pageCount());
        EmfRecords page = printer.records(0);
        EXPECT_TRUE(page.hasText("PRICE LIST (Page 1 of 1)"));
        EXPECT_TRUE(page.hasText("Spring offers"));
        EXPECT_FALSE(page.hasText(kBottom)) << "the bottom message is off";
        EXPECT_EQ(30u, TextsStarting(page, "Service ").size());
        for (const char *title : {"Code", "Details", "Price"}) EXPECT_TRUE(page.hasText(title)) << title;
        EXPECT_TRUE(page.hasText("29.05"));
        EXPECT_EQ(nullptr, QlPriceListFont);
    }

    AddService("Service 00", 99, 0);
    OpenServices();
    ColumnClick(1);
    QlPriceListOptions.bottom_message_on = 1;
    MetafilePrinter printer;
    ASSERT_EQ(1, Draw(printer, 0));
    ASSERT_EQ(2u, printer.pageCount());
    EmfRecords first = printer.records(0), second = printer.records(1);
    EXPECT_TRUE(first.hasText("PRICE LIST (Page 1 of 2)"));
    EXPECT_TRUE(second.hasText("PRICE LIST (Page 2 of 2)"));
    std::vector<std::string> rows = TextsStarting(first, "Service ");
    ASSERT_EQ(30u, rows.size());
    EXPECT_EQ("Service 00", rows.front());
    EXPECT_EQ("Service 29", rows.back());
    EXPECT_EQ(std::vector<std::string>({"Service 30"}), TextsStarting(second, "Service "));
    EXPECT_TRUE(second.hasText("Spring offers"));
    for (const EmfRecords *page : {&first, &second}) {
        const EmfText *bottom = page->findText(kBottom);
        ASSERT_NE(nullptr, bottom);
        for (const auto &line : page->polylines) EXPECT_LT(line.points[0].y, bottom->y);
    }
    // The price stands at the right of its column, the code at the left of its own.
    const EmfText *price = first.findText("99.00"), *code = first.findText("31");
    ASSERT_NE(nullptr, price);
    ASSERT_NE(nullptr, code);
    const RECT &area = printer.target()->page;
    EXPECT_NEAR(area.right - 10, price->right, 4);
    EXPECT_EQ(area.left + 10, code->x);
    EXPECT_EQ(second.fonts.size(), (size_t)second.fontsDeleted);
    EXPECT_EQ(nullptr, QlPriceListFont);
}

// The logo and the company block go onto the first page only, before its
// title; the logo bitmap is the picture library's and stays alive.
TEST_F(PriceListTest, TheLogoAndCompanyBlockArePrintedOnTheFirstPage)
{
    std::string dir = QlTestMakeFolder("qlprice");
    ASSERT_FALSE(dir.empty());
    std::string logoPath = dir + "\\logo.bmp";
    ASSERT_TRUE(QlTestWriteBmp(logoPath, 40, 20, RGB(255, 0, 0), RGB(0, 0, 160)));
    ASSERT_EQ(1, QlPictureLibLoad());
    QlPictureSizeRec size = {};
    HBITMAP logo = QlPictureLoad(logoPath.c_str(), &size);
    ASSERT_NE(nullptr, logo);

    for (int i = 0; i < 31; i++) AddService(i % 2 ? "Boiler service" : "Radiator bleed", 40 + i, 50);
    OpenServices();
    QlPriceListOptions.print_logo = 1;
    QlPriceListOptions.print_address = 1;
    QlPriceListOptions.bottom_message_on = 1;
    strcpy(QlPriceListOptions.top_message, "Acme Ltd Tel. 0123 456");
    strcpy(QlPriceListOptions.bottom_message, kBottom);
    MetafilePrinter printer;
    ASSERT_EQ(1, Draw(printer, 0, logo, size));
    ASSERT_EQ(2u, printer.pageCount());
    EmfRecords first = printer.records(0), second = printer.records(1);
    ASSERT_EQ(1u, first.bitmaps.size());
    EXPECT_EQ(0, first.bitmaps[0].dest.top);
    EXPECT_TRUE(first.hasText("1 High Street"));
    auto drawnAt = [&](const std::string &text) {
        for (size_t i = 0; i < first.texts.size(); i++)
            if (first.texts[i].text == text) return (int)i;
        return -1;
    };
    EXPECT_LT(drawnAt("1 High Street"), drawnAt("PRICE LIST (Page 1 of 2)"));
    EXPECT_TRUE(second.bitmaps.empty());
    EXPECT_FALSE(second.hasText("1 High Street"));
    // The services list's title frame begins at the top of the printable area.
    ASSERT_FALSE(first.rectangles.empty());
    EXPECT_EQ(printer.target()->page.top, first.rectangles[0].top);
    int width = 0, height = 0;
    EXPECT_TRUE(QlTestBitmapSize(logo, &width, &height)) << "the logo bitmap was deleted";
    SavePng(printer, 0, "price-list-services-1.png");
    SavePng(printer, 1, "price-list-services-2.png");

    QlPictureLibFree();
    QlTestRemoveFolder(dir);
}

// The products list skips products of no stock unless asked (their rows
// still count toward the page) and prints a negative stock; its frame
// stands 10 units of a 600 dpi printer lower than the services list's.
TEST_F(PriceListTest, TheProductsListLeavesOutWhatIsOutOfStockUnlessAsked)
{
    AddProduct("0001", "", "COPPER PIPE 15MM", 12, 50, 40);
    AddProduct("0002", "", "BRASS ELBOW", 1, 99, 0);
    AddProduct("0003", "", "LEAD FLASHING", 30, 0, -2);
    OpenProducts();
    strcpy(QlPriceListOptions.top_message, "Acme Widgets Ltd Tel. 0123 456");
    QlPriceListOptions.print_address = 1;
    const struct {
        int include;
        std::vector<std::string> codes;
    } cases[] = {{0, {"0001", "0003"}}, {1, {"0001", "0002", "0003"}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.include);
        QlPriceListOptions.include_out_of_stock = c.include;
        MetafilePrinter printer;
        ASSERT_EQ(1, Draw(printer, 1));
        ASSERT_EQ(1u, printer.pageCount());
        EmfRecords page = printer.records(0);
        EXPECT_EQ(c.codes, TextsStarting(page, "000"));
        EXPECT_TRUE(page.hasText("PRICE LIST (Page 1 of 1)"));
        EXPECT_TRUE(page.hasText("12.50"));
        ASSERT_FALSE(page.rectangles.empty());
        const int dpi = QlTestA4Caps().logPixelsY;
        EXPECT_EQ(printer.target()->page.top + MulDiv(10, dpi, 600), page.rectangles[0].top);
        // The page is set in a 10-point body font, not the device's own
        // default (a printer's can be large enough to push rows off the page).
        ASSERT_FALSE(page.fonts.empty());
        EXPECT_EQ(-MulDiv(10, dpi, 72), page.fonts[0].height);
        // The rows close up: the second printed row lies in the table's second row.
        const EmfText *title = page.findText("Code"), *one = page.findText("0001"), *three = page.findText("0003");
        ASSERT_TRUE(title && one && three);
        const int rowHeight = one->y - title->y;
        EXPECT_EQ((c.include ? 2 : 1) * rowHeight, three->y - one->y);
        if (c.include) SavePng(printer, 0, "price-list-products.png");
    }
}

TEST_F(PriceListTest, TheCommandsStopAtCloseCancelAndAnEmptyList)
{
    // An empty products or services list: no dialog, the user is told.
    OpenProducts();
    {
        DialogDriver none({});
        Toolbar(window, 5);   // Price List of an empty products list
        EXPECT_EQ(0u, none.stepsRun());
    }
    OpenServices();
    {
        DialogDriver none({});
        Toolbar(window, 3);
        EXPECT_EQ(0u, none.stepsRun());
    }
    ASSERT_EQ(2u, messages.size());
    for (const auto &m : messages) EXPECT_EQ("The list is empty: there is nothing to print.", m.text);
    messages.clear();

    AddService("Survey", 7, 50);
    OpenServices();
    {
        DialogDriver driver({[](HWND d) { ClickButton(d, IDB_PRICE_CLOSE); }});
        Toolbar(window, 3);
        EXPECT_EQ(1u, driver.stepsRun());
    }
    EXPECT_EQ(0, gPrintDialogs);
    EXPECT_EQ(0, QlPriceListOptions.products_kind);

    // A logo that loads neither from the settings nor from a picked file is
    // left out after one message; the print dialog comes next.
    strcpy(QlSettings.cfg.logoPath, "C:\\no\\such\\logo.bmp");
    {
        DialogDriver driver({[](HWND d) {
            ClickButton(d, IDB_PRICE_LOGO);
            ClickButton(d, IDB_PRICE_PRINT);
        }});
        EXPECT_EQ(0, QlServPrintPriceList(window));
    }
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Error", messages[0].caption);
    EXPECT_EQ("Failed to load logo bitmap! Logo shall not be printed", messages[0].text);
    EXPECT_EQ(1, gPrintDialogs);
}

// A description of 79 characters in long words is printed whole, wrapped in
// its row, which grows; no rule runs through it, and the pages still hold
// every row.
TEST_F(PriceListTest, LongDescriptionsArePrintedWholeInRowsThatGrow)
{
    static const char kLong[] = "KIDS' SAFETY GOGGLES (EN166) WITH ANTI-FOG COATING AND ADJUSTABLE ELASTIC STRAP";
    for (int i = 0; i < 30; i++) AddService(kLong, 10 + i, 0);
    OpenServices();
    MetafilePrinter printer;
    ASSERT_EQ(1, Draw(printer, 0));
    int seen = 0;
    for (size_t p = 0; p < printer.pageCount(); p++) {
        EmfRecords page = printer.records(p);
        const std::string title = "PRICE LIST (Page " + std::to_string(p + 1) + " of " +
                                  std::to_string(printer.pageCount()) + ")";
        EXPECT_TRUE(page.hasText(title)) << title;
        for (size_t i = 0; i < page.texts.size(); i++) {
            if (page.texts[i].text.rfind("KIDS'", 0) != 0) continue;
            EmfRecords rest = page;
            rest.texts.erase(rest.texts.begin(), rest.texts.begin() + (long)i);
            EXPECT_EQ("", QlTestCellTextProblem(rest, kLong)) << "page " << p + 1;
            seen++;
        }
        // The table stays inside the margins.
        for (const auto &line : page.polylines)
            for (const POINT &pt : line.points) EXPECT_LE(pt.y, printer.target()->page.bottom);
        printer.savePng(p, QlTestArtifactDir() + "/price-list-long-page" + std::to_string(p + 1) + ".png");
    }
    EXPECT_EQ(30, seen);
    EXPECT_GT(printer.pageCount(), 1u);
}
