// Product codes and barcodes: the code panel of the new-product dialog, the
// barcode check on Enter, short codes, the manufacturer-code proposal, the
// preview and the printed barcode page.
#include "CatTestSupport.h"
#include "UiTestSupport.h"

#include "QlTestPrint.h"
#include "catalogue/QlProducts.h"
#include "print/QlBarcode.h"
#include "ui/QlSeams.h"
#include "ui/QlUtil.h"
#include "resources/QlResCatalogue.h"

#include <commctrl.h>
#include <string>
#include <vector>

namespace {

class CodesTest : public CatTest {
protected:
    void SetUp() override
    {
        CatTest::SetUp();
        dialog = NewDialog();
    }
    void TearDown() override
    {
        DestroyWindow(dialog);
        CatTest::TearDown();
    }
    void ChooseType(int index)
    {
        SendDlgItemMessageA(dialog, IDC_PROD_CODE_TYPE, CB_SETCURSEL, index, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PROD_CODE_TYPE, CBN_SELCHANGE),
                     (LPARAM)GetDlgItem(dialog, IDC_PROD_CODE_TYPE));
    }
    void Generate(const char *type, const char *mfr, const char *product)
    {
        Set(dialog, IDE_PROD_TYPE_DIGIT, type);
        Set(dialog, IDE_PROD_MFR_CODE, mfr);
        Set(dialog, IDE_PROD_PRODUCT_CODE, product);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDB_PROD_GENERATE, BN_CLICKED),
                     (LPARAM)GetDlgItem(dialog, IDB_PROD_GENERATE));
    }
    void Enter(const char *barcode)
    {
        Set(dialog, IDE_PROD_BARCODE, barcode);
        SendMessageA(dialog, QL_WM_ENTER_KEY, 0, 0);
    }
    std::string Barcode() const { return Text(dialog, IDE_PROD_BARCODE); }
    HWND dialog = NULL;
};

// Fills the products table through SQL: count products whose barcodes are
// the in-store EAN-13 codes of product codes 1 to count (check digit
// included), or whose short codes are "%04X" of 1 to count.
void FillEanCodes(const std::string &path, int count)
{
    char sql[1024];
    snprintf(sql, sizeof sql,
             "with recursive n(i) as (select 1 union all select i + 1 from n where i < %d) "
             "insert into products (enabled, scode, barcode, supplier_code, name, unit_price, purchase_price, "
             "stock_qty) select 'yes', '', '2000000' || printf('%%05d', i) || "
             "((10 - (2 + 3 * (i / 10000) + (i / 1000) %% 10 + 3 * ((i / 100) %% 10) + (i / 10) %% 10 + "
             "3 * (i %% 10)) %% 10) %% 10), '', 'X', '1.00', '1.00', '0' from n;",
             count);
    DbTestNativeExec(path, sql);
}

void FillShortCodes(const std::string &path, int count)
{
    char sql[512];
    snprintf(sql, sizeof sql,
             "with recursive n(i) as (select 1 union all select i + 1 from n where i < %d) "
             "insert into products (enabled, scode, barcode, supplier_code, name, unit_price, purchase_price, "
             "stock_qty) select 'yes', printf('%%04X', i), '', '', 'X', '1.00', '1.00', '0' from n;",
             count);
    DbTestNativeExec(path, sql);
}

}  // namespace

TEST_F(CodesTest, UpcAAndEanCodesTakeTheFirstFreeProductCode)
{
    EXPECT_EQ("4", Text(dialog, IDE_PROD_TYPE_DIGIT));
    Generate("4", "12345", "");
    EXPECT_EQ("412345000018", Barcode());
    EXPECT_EQ("00001", Text(dialog, IDE_PROD_PRODUCT_CODE));
    EXPECT_EQ(std::vector<std::string>({"scan_ok.wav"}), sounds);
    EXPECT_TRUE(messages.empty());

    // Stored, it is taken; a deleted product's code is free again.
    AddProduct("0001", "412345000018", "PIPE", 1, 0, 0);
    int64_t gone = AddProduct("0002", "412345000025", "GONE", 1, 0, 0);
    ASSERT_EQ(1, QlProdDisable(gone, err));
    Generate("4", "12345", "");
    EXPECT_EQ("412345000025", Barcode());
    EXPECT_EQ("00002", Text(dialog, IDE_PROD_PRODUCT_CODE));

    // A code given by the user is used as it is, unless it is stored.
    Generate("4", "12345", "00007");
    EXPECT_EQ("412345000070", Barcode());
    AddProduct("0003", "412345000070", "NAIL", 1, 0, 0);
    Set(dialog, IDE_PROD_BARCODE, "kept");
    Generate("4", "12345", "00007");
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Cannot generate product code", messages[0].caption);
    EXPECT_EQ("Product code 00007 already exists. Please select different code or leave blank", messages[0].text);
    EXPECT_EQ("kept", Barcode());

    // EAN-13: "20", five zeros, the product code; type digit and
    // manufacturer code are neither used nor read.
    ChooseType(1);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDE_PROD_TYPE_DIGIT)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDE_PROD_MFR_CODE)));
    Generate("", "", "");
    EXPECT_EQ("2000000000015", Barcode());
    EXPECT_EQ("00001", Text(dialog, IDE_PROD_PRODUCT_CODE));
    ChooseType(0);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDE_PROD_MFR_CODE)));
}

TEST_F(CodesTest, EachRefusalLeavesTheFieldsAsTheyWere)
{
    const struct {
        int type;
        const char *typeDigit, *mfr, *product, *text;
    } cases[] = {
        {0, "", "12345", "", "Product type digit is missing"},
        {0, "4", "", "", "Manufacturer code must be 5 digits long"},
        {0, "4", "1234", "", "Manufacturer code must be 5 digits long"},
        {0, "4", "12345", "123", "Product code must be 5 digits long or blank to auto-create"},
        {1, "", "", "1234", "Product code must be 5 digits long or blank to auto-create"},
    };
    for (const auto &c : cases) {
        messages.clear();
        ChooseType(c.type);
        Set(dialog, IDE_PROD_BARCODE, "kept");
        Generate(c.typeDigit, c.mfr, c.product);
        ASSERT_EQ(1u, messages.size()) << c.text;
        EXPECT_EQ("Cannot generate product code", messages[0].caption);
        EXPECT_EQ(c.text, messages[0].text);
        EXPECT_EQ("kept", Barcode()) << c.text;
        EXPECT_EQ(c.product, Text(dialog, IDE_PROD_PRODUCT_CODE));
    }
}

TEST_F(CodesTest, EveryProductCodeInUseIsReported)
{
    FillEanCodes(dbPath, 99998);
    ChooseType(1);
    Set(dialog, IDE_PROD_BARCODE, "kept");
    Generate("", "", "");
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Maximum number of product codes reached!", messages[0].text);
    EXPECT_EQ("kept", Barcode());

    // One free code anywhere in the range is found.
    NativeExec("update products set enabled='no' where barcode like '200000098765%';");
    Generate("", "", "");
    EXPECT_EQ("98765", Text(dialog, IDE_PROD_PRODUCT_CODE));
    EXPECT_EQ(13u, Barcode().size());
}

// The table of numbers in use has one entry for each number the generator
// gives (0 to 99998): a stored code with product number 99999 is left
// unmarked instead of being written one entry past the table; the highest
// number of the table and other prefixes' or check digits' codes behave.
TEST(ProductCodeTable, AStoredCode99999StaysInsideTheTable)
{
    const size_t count = 99999;
    std::vector<unsigned char> table(count + 8, 0);
    auto code = [](const char *prefix, const char *number, int ean) {
        std::string body = std::string(prefix) + number;
        char check = ean ? QlBarcodeEanCheckDigit(body.c_str()) : QlBarcodeUpcCheckDigit(body.c_str());
        return body + check;
    };
    EXPECT_EQ(0, QlProdMarkCodeUsed(table.data(), count, "2000000", 1, code("2000000", "99999", 1).c_str()));
    EXPECT_EQ(std::vector<unsigned char>(8, 0), std::vector<unsigned char>(table.begin() + count, table.end()));
    EXPECT_EQ(1, QlProdMarkCodeUsed(table.data(), count, "2000000", 1, code("2000000", "99998", 1).c_str()));
    EXPECT_EQ(1, table[99998]);
    EXPECT_EQ(1, QlProdMarkCodeUsed(table.data(), count, "012345", 0, code("012345", "00007", 0).c_str()));
    EXPECT_EQ(1, table[7]);
    EXPECT_EQ(0, QlProdMarkCodeUsed(table.data(), count, "2000000", 1, code("2100000", "00009", 1).c_str()));
    std::string wrongCheck = code("2000000", "00011", 1);
    wrongCheck.back() = wrongCheck.back() == '9' ? '0' : wrongCheck.back() + 1;
    EXPECT_EQ(0, QlProdMarkCodeUsed(table.data(), count, "2000000", 1, wrongCheck.c_str()));
    EXPECT_EQ(0, table[9] + table[11]);
}

TEST_F(CodesTest, EnterChecksTheBarcode)
{
    AddProduct("0001", "501234567890", "PIPE", 1, 0, 0);
    const struct {
        const char *barcode;
        const char *caption, *text;   // NULL: taken
        const char *sound;
        const char *left;             // the field afterwards
    } cases[] = {
        {"50123456789", "Invalid barcode length", "Minimum barcode length is 12 characters", NULL, ""},
        {"501234567890", "Duplicate product barcode", "Product with barcode 501234567890\nalready exists in database",
         "scan_err.wav", ""},
        {"501234567891", NULL, NULL, "scan_ok.wav", "501234567891"},
        {"ABCDEFGHIJKLMNO", NULL, NULL, "scan_ok.wav", "ABCDEFGHIJKLMNO"},
    };
    for (const auto &c : cases) {
        messages.clear();
        sounds.clear();
        Enter(c.barcode);
        if (c.caption) {
            ASSERT_EQ(1u, messages.size()) << c.barcode;
            EXPECT_EQ(c.caption, messages[0].caption);
            EXPECT_EQ(c.text, messages[0].text);
        } else {
            EXPECT_TRUE(messages.empty()) << c.barcode;
        }
        EXPECT_EQ(c.sound ? std::vector<std::string>({c.sound}) : std::vector<std::string>(), sounds) << c.barcode;
        EXPECT_EQ(c.left, Barcode());
    }
    QlSettings.cfg.scanSounds = 0;
    sounds.clear();
    Enter("501234567890");
    Enter("501234567892");
    EXPECT_TRUE(sounds.empty());
}

TEST_F(CodesTest, ShortCodesAreTheFirstFreeHexNumbers)
{
    QlProdRec rec = {};
    ASSERT_EQ(1, QlProdNextShortCode(&rec));
    EXPECT_STREQ("0001", rec.scode);
    FillShortCodes(dbPath, 9);
    ASSERT_EQ(1, QlProdNextShortCode(&rec));
    EXPECT_STREQ("000A", rec.scode);
    NativeExec("update products set enabled='no' where scode='0004';");
    ASSERT_EQ(1, QlProdNextShortCode(&rec));
    EXPECT_STREQ("0004", rec.scode);

    // All 65534 in use: none is given, and a new product is refused.
    NativeExec("delete from products;");
    FillShortCodes(dbPath, 65534);
    EXPECT_EQ(0, QlProdNextShortCode(&rec));
    Set(dialog, IDE_PROD_NAME, "ONE TOO MANY");
    EXPECT_EQ(0, QlProdAdd(dialog));
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Error", messages[0].caption);
    EXPECT_EQ("Cannot create new product code", messages[0].text);
}

// The proposal keeps five digits whatever rand's width (31 bits here).
TEST_F(CodesTest, ManufacturerCodeProposalsHaveFiveDigits)
{
    int low = 99999, high = 0;
    for (int i = 0; i < 5000; i++) {
        int code = QlProdRandomMfrCode();
        low = code < low ? code : low;
        high = code > high ? code : high;
    }
    EXPECT_GE(low, 11111);
    EXPECT_LE(high, 11111 + 32767);
    EXPECT_GT(high, low);
    char proposal[16];
    snprintf(proposal, sizeof proposal, "%s", Text(dialog, IDE_PROD_MFR_CODE).c_str());
    EXPECT_EQ(5u, strlen(proposal));
}

namespace {

// The preview of a code drawn into a white bitmap: its pixels, and whether it drew.
std::vector<DWORD> Preview(const char *code, int *drawn)
{
    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = SolidBitmap(288, 100, RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT area = {0, 0, 288, 100};
    *drawn = QlBarcodePreviewDraw(dc, &area, code);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(NULL, screen);
    std::vector<DWORD> pixels = BitmapPixels(bitmap);
    DeleteObject(bitmap);
    return pixels;
}

int InkedPixels(const std::vector<DWORD> &pixels)
{
    int inked = 0;
    for (DWORD p : pixels) inked += (p & 0xFFFFFF) != 0xFFFFFF;   // bars are the system's frame colour
    return inked;
}

}  // namespace

// Only digits make a symbol: any other text draws nothing.  The symbol's
// check digit is its own, so a wrong last digit shows the same symbol.
TEST(BarcodePreview, DrawsTwelveOrThirteenDigitsOnly)
{
    const struct {
        const char *code;
        int drawn;
    } cases[] = {
        {"412345000018", 1}, {"2000000000015", 1}, {"41234500001A", 0}, {"4123450000 8", 0},
        {"41234500001", 0},  {"20000000000151", 0}, {"", 0},
    };
    for (const auto &c : cases) {
        int drawn = -1;
        std::vector<DWORD> pixels = Preview(c.code, &drawn);
        EXPECT_EQ(c.drawn, drawn) << c.code;
        if (c.drawn)
            EXPECT_GT(InkedPixels(pixels), 1000) << c.code;
        else
            EXPECT_EQ(0, InkedPixels(pixels)) << c.code;
    }
    int drawn;
    std::vector<DWORD> right = Preview("412345000018", &drawn);
    std::vector<DWORD> wrongCheck = Preview("412345000019", &drawn);
    EXPECT_TRUE(right == wrongCheck);
}

namespace {

BOOL gPrintDialogShown;
BOOL WINAPI CancelPrintDialog(LPPRINTDLGA)
{
    gPrintDialogShown = TRUE;
    return FALSE;
}

}  // namespace

TEST_F(CodesTest, PrintingTakesTwelveOrThirteenDigits)
{
    QlSeamPrintDialog = CancelPrintDialog;
    for (const char *code : {"41234500001A", "5012345678", "50123456789012"}) {
        messages.clear();
        gPrintDialogShown = FALSE;
        Set(dialog, IDE_PROD_BARCODE, code);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDB_PROD_PRINT_BARCODE, BN_CLICKED), 0);
        ASSERT_EQ(1u, messages.size()) << code;
        EXPECT_EQ("Cannot print barcode", messages[0].caption);
        EXPECT_EQ("UPC-A / EAN13 barcode must be 12 / 13 digits long", messages[0].text);
        EXPECT_FALSE(gPrintDialogShown) << code;
    }
    messages.clear();
    Set(dialog, IDE_PROD_BARCODE, "412345000018");
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDB_PROD_PRINT_BARCODE, BN_CLICKED), 0);
    EXPECT_TRUE(gPrintDialogShown);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ("1.0", Text(dialog, IDC_PROD_SCALE));
    EXPECT_EQ(13, (int)SendDlgItemMessageA(dialog, IDC_PROD_SCALE, CB_GETCOUNT, 0, 0));
}

// The printed page: the symbol at the top-left of the printable area at the
// chosen scale, with its digits; the first digit left of the bars.
TEST(BarcodePage, DrawsTheSymbolWithItsDigitsAtTheScale)
{
    const struct {
        const char *code;
        float scale;
        std::vector<std::string> digits;
        const char *picture;
    } cases[] = {
        {"412345000018", 1.5f, {"4", "12345", "00001", "8"}, "barcode-page-upca.png"},
        {"2000000000015", 1.0f, {"2", "000000", "000015"}, "barcode-page-ean13.png"},
    };
    for (const auto &c : cases) {
        // Drawn with a printer's pixels per millimetre (300 dpi) on the
        // metafile, so that the picture is legible.
        const int pxPerMm = 12;
        MetafilePrinter printer;
        ASSERT_EQ(1, QlBarcodePrintPage(printer.dc(), c.code, c.scale, pxPerMm, pxPerMm));
        printer.finish();
        EmfRecords page = printer.records(0);
        for (const std::string &digits : c.digits) EXPECT_TRUE(page.hasText(digits)) << c.code << " " << digits;
        char modules[QL_BARCODE_MODULES_SIZE];
        char body[13] = "";
        memcpy(body, c.code, strlen(c.code) - 1);
        strlen(c.code) == 12 ? QlBarcodeUpcModules(body, modules) : QlBarcodeEanModules(body, modules);
        size_t bars = 0;
        for (const char *m = modules; *m; m++) bars += *m == '1';
        ASSERT_EQ(bars, page.fills.size()) << c.code;
        int left = page.fills.front().left, right = page.fills.back().right;
        EXPECT_GT(left, 5) << c.code;
        EXPECT_EQ(0, page.fills.front().top);
        const EmfText *first = page.findText(c.digits[0]);
        ASSERT_NE(nullptr, first);
        EXPECT_LT(first->x, left);
        if (strlen(c.code) == 12) {   // 1.469 inches x 1.5 across 113 modules
            int module = (int)(pxPerMm * 1.469 * 25.4 * 1.5 / 113);
            EXPECT_EQ(module, page.fills.front().right - page.fills.front().left);
            EXPECT_EQ(95 * module, right - left);   // guard to guard
        }
        std::string dir = QlTestArtifactDir();
        if (!dir.empty()) {
            EXPECT_TRUE(printer.savePng(0, dir + "/" + c.picture));
        }
    }
    MetafilePrinter printer;
    EXPECT_EQ(0, QlBarcodePrintPage(printer.target()->dc, "41234500001A", 1.0f, 4, 4));
}
