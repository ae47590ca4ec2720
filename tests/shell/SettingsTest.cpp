// The settings window and its six pages, in the running main window.
#include "QlGTest.h"
#include "picture/PictureFixtures.h"
#include "ShellTestSupport.h"
#include "QlTestWindows.h"
#include "ui/UiTestSupport.h"

#include "ui/QlAppState.h"
#include "ui/QlLayout.h"
#include "ui/QlListView.h"
#include "ui/QlMsgDialog.h"
#include "ui/QlSeams.h"
#include "resources/QlResIds.h"
#include "settings/QlCountries.h"
#include "settings/QlLangDlg.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"
#include "shell/QlCfgOpen.h"
#include "shell/QlCfgPages.h"
#include "shell/QlShellTables.h"
#include "shell/QlShellTexts.h"

#include <windows.h>
#include <commctrl.h>
#include <ctype.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

std::string TabText(HWND tabs, int index)
{
    char text[64] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabs, TCM_GETITEMA, index, (LPARAM)&item);
    return text;
}

std::string ButtonText(HWND toolbar, int command)
{
    char text[128] = "";
    SendMessageA(toolbar, TB_GETBUTTONTEXTA, command, (LPARAM)text);
    return text;
}

std::string ItemText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

// Every edit, check box and combo of a page changed.
BOOL CALLBACK Scribble(HWND control, LPARAM)
{
    char cls[32] = "";
    GetClassNameA(control, cls, sizeof cls);
    LONG style = GetWindowLongA(control, GWL_STYLE);
    if (strcmp(cls, "Edit") == 0) {
        SetWindowTextA(control, "9");
    } else if (strcmp(cls, "Button") == 0 && (style & 0x0F) == BS_AUTOCHECKBOX) {
        LRESULT checked = SendMessageA(control, BM_GETCHECK, 0, 0);
        SendMessageA(control, BM_SETCHECK, checked == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    } else if (strcmp(cls, "ComboBox") == 0) {
        SendMessageA(control, CB_SETCURSEL, 1, 0);
    }
    return TRUE;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QlCfgStartPage = 0;
        company_ = CompanySettings("Acme Widgets Ltd");
        strcpy(company_.email, "accounts@acme.example");
    }
    void TearDown() override
    {
        StopMainWindow();
        QlCfgStartPage = 0;
    }

    HWND Start()
    {
        HWND main = StartMainWindow(company_);
        EXPECT_NE(nullptr, main);
        return main;
    }

    // The settings window on a page; the page.
    HWND OpenPage(int index)
    {
        QlCfgStartPage = index;
        HWND container = QlCfgOpen(QlMainWnd);
        EXPECT_NE(nullptr, container);
        EXPECT_EQ(index, QlCfgPageIndex());
        return QlCfgPageWindow();
    }

    void Press(HWND page, int command)
    {
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), (LPARAM)QlCfgPageToolbar());
        PumpMessages();
    }

    std::string FileBytes() { return ReadFileBytes("COMP000\\cfg.dta"); }

    ShellStateGuard state_;
    WorkFolder work_;
    QlSettingsRec company_;
};

}  // namespace

TEST_F(SettingsTest, TabsShowOnePageAtATime)
{
    HWND main = Start();
    ASSERT_TRUE(main);
    QlModuleWnd = MakeModuleWindow(main);
    HWND module = QlModuleWnd;
    HWND container = QlCfgOpenFromMenu();
    ASSERT_NE(nullptr, container);
    EXPECT_FALSE(IsWindow(module));   // the settings window took the module's place
    EXPECT_EQ(container, QlModuleWnd);
    EXPECT_EQ(0, QlCfgPageIndex());
    HWND tabs = GetDlgItem(container, IDC_CFG_TABS);
    ASSERT_EQ(6, (int)SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < 6; i++) EXPECT_EQ(QlLangMenuTable[0].SettingsTabs[i], TabText(tabs, i)) << i;
    EXPECT_EQ(GetParent(QlCfgPageWindow()), tabs);
    EXPECT_NE(nullptr, QlCfgPageToolbar());
    EXPECT_EQ(" Save ", ButtonText(QlCfgPageToolbar(), QL_CFG_CMD_SAVE));

    // Choosing a tab shows its page; choosing the open one keeps it with its edits.
    SendMessageA(tabs, TCM_SETCURSEL, 1, 0);
    NMHDR change = {tabs, IDC_CFG_TABS, (UINT)TCN_SELCHANGE};
    SendMessageA(container, WM_NOTIFY, IDC_CFG_TABS, (LPARAM)&change);
    HWND page = QlCfgPageWindow();
    ASSERT_EQ(1, QlCfgPageIndex());
    SetDlgItemTextA(page, IDE_CFG_NAME, "Not saved yet");
    SendMessageA(container, WM_NOTIFY, IDC_CFG_TABS, (LPARAM)&change);
    EXPECT_EQ(page, QlCfgPageWindow());
    EXPECT_EQ("Not saved yet", ItemText(page, IDE_CFG_NAME));
    QlCfgShowPage(container, 6);
    EXPECT_EQ(page, QlCfgPageWindow());

    // Maximize and restore make the window anew, on the start page.
    PostMessageA(container, QL_WM_MAIN_MAXIMIZED, 0, 0);
    PumpMessages();
    EXPECT_FALSE(IsWindow(container));
    ASSERT_NE(nullptr, QlCfgWindow());
    EXPECT_EQ(QlCfgWindow(), QlModuleWnd);
    EXPECT_EQ(0, QlCfgPageIndex());
}

TEST_F(SettingsTest, AStartWithoutAnAddressOpensTheCompanyPage)
{
    company_.address1[0] = '\0';
    HWND main = StartMainWindow(company_);
    ASSERT_TRUE(main);
    EXPECT_EQ(QlCfgWindow(), QlModuleWnd);
    EXPECT_EQ(1, QlCfgPageIndex());
    EXPECT_EQ("Acme Widgets Ltd", ItemText(QlCfgPageWindow(), IDE_CFG_NAME));
}

// Close on any page closes the whole window and changes nothing, in memory
// or in the file, whatever was typed.
TEST_F(SettingsTest, CloseLeavesTheSettingsAsTheyWere)
{
    ASSERT_TRUE(Start());
    QlSettingsRec before = QlSettings.cfg;
    std::string file = FileBytes();
    MsgAnswers answers;
    for (int index = 0; index < 6; index++) {
        SCOPED_TRACE(index);
        HWND page = OpenPage(index);
        ASSERT_NE(nullptr, page);
        EnumChildWindows(page, Scribble, 0);
        Press(page, QL_CFG_CMD_CLOSE);
        EXPECT_EQ(nullptr, QlCfgWindow());
        EXPECT_EQ(nullptr, QlModuleWnd);
        EXPECT_EQ(0, memcmp(&before, &QlSettings.cfg, sizeof before));
        EXPECT_EQ(file, FileBytes());
    }
    EXPECT_TRUE(answers.asked.empty());
}

TEST_F(SettingsTest, CompanyPageSavesTheFileAndTheTitle)
{
    HWND main = Start();
    ASSERT_TRUE(main);
    HWND page = OpenPage(QL_CFG_PAGE_COMPANY);
    EXPECT_EQ(40, (int)SendDlgItemMessageA(page, IDE_CFG_CONTACT, EM_GETLIMITTEXT, 0, 0));
    EXPECT_EQ(39, (int)SendDlgItemMessageA(page, IDE_CFG_NAME, EM_GETLIMITTEXT, 0, 0));
    EXPECT_EQ("accounts@acme.example", ItemText(page, IDE_CFG_EMAIL));
    SetDlgItemTextA(page, IDE_CFG_NAME, "Beta Trading");
    SetDlgItemTextA(page, IDE_CFG_CONTACT, std::string(40, 'c').c_str());
    SetDlgItemTextA(page, IDE_CFG_BUSINESS_LABEL, "ABN:");
    SetDlgItemTextA(page, IDE_CFG_EMAIL, "sales@beta.example");
    CheckDlgButton(page, IDB_CFG_BACKUP_ON_EXIT, BST_CHECKED);
    Press(page, QL_CFG_CMD_SAVE);
    EXPECT_EQ(nullptr, QlCfgWindow());

    QlSettingsRec saved = ReadCompany(0);
    EXPECT_STREQ("Beta Trading", saved.companyName);
    EXPECT_EQ(std::string(40, 'c'), saved.contactName);
    EXPECT_STREQ("ABN:", saved.businessLabel);
    EXPECT_EQ(1, saved.backupOnExit);
    EXPECT_EQ(0, memcmp(&saved, &QlSettings.cfg, sizeof saved));
    EXPECT_EQ("Quillory 2.1.31 : Beta Trading", WindowText(main));

    // One address on both pages.
    page = OpenPage(QL_CFG_PAGE_MAIL);
    EXPECT_EQ("sales@beta.example", ItemText(page, IDE_CFG_MAIL_ADDRESS));
    SetDlgItemTextA(page, IDE_CFG_MAIL_ADDRESS, "mail@beta.example");
    Press(page, QL_CFG_CMD_SAVE);
    page = OpenPage(QL_CFG_PAGE_COMPANY);
    EXPECT_EQ("mail@beta.example", ItemText(page, IDE_CFG_EMAIL));
}

// A company name of blanks is refused on the company page: the file and the
// title stay, and the window stays open with what was typed.
TEST_F(SettingsTest, CompanyPageRefusesANameOfBlanks)
{
    HWND main = Start();
    ASSERT_TRUE(main);
    std::string file = FileBytes();
    HWND page = OpenPage(QL_CFG_PAGE_COMPANY);
    SetDlgItemTextA(page, IDE_CFG_NAME, "   ");
    SetDlgItemTextA(page, IDE_CFG_CONTACT, "Mary");
    MsgAnswers answers;
    Press(page, QL_CFG_CMD_SAVE);
    PumpMessages();
    ASSERT_EQ(1u, answers.asked.size());
    EXPECT_EQ("Please enter non-empty company name", answers.asked[0].text);
    EXPECT_EQ(file, FileBytes());
    EXPECT_STREQ("Acme Widgets Ltd", QlSettings.cfg.companyName);
    EXPECT_EQ("Quillory 2.1.31 : Acme Widgets Ltd", WindowText(main));
    ASSERT_NE(nullptr, QlCfgWindow());
    EXPECT_EQ(page, QlCfgPageWindow());
    EXPECT_EQ("Mary", ItemText(page, IDE_CFG_CONTACT));
}

// A country changes the tax name, currency and business-number label, never
// the company's own rate texts; a language alone changes none of them.  Save
// writes the company's file at once.
TEST_F(SettingsTest, LanguagePageCountryKeepsTheCompanysRates)
{
    memcpy(company_.rateTexts[1], "B - 21.00%", QL_RATE_TEXT_WIDTH);
    memcpy(company_.currency, "USD", 4);
    ASSERT_TRUE(Start());
    std::string file = FileBytes();

    HWND page = OpenPage(QL_CFG_PAGE_LANGUAGE);
    SendDlgItemMessageA(page, IDC_CFG_COUNTRY, CB_SETCURSEL, 4, 0);   // Australia
    Press(page, QL_CFG_CMD_SAVE);
    const QlSettingsRec &cfg = QlSettings.cfg;
    EXPECT_EQ(4, cfg.country);
    EXPECT_STREQ("GST", cfg.taxName);
    EXPECT_EQ(1, cfg.taxNameIndex);
    EXPECT_STREQ("AUD", cfg.currency);
    EXPECT_STREQ("ABN:", cfg.businessLabel);
    EXPECT_STREQ("GST %", QlTaxLabel);
    EXPECT_EQ(0, memcmp(company_.rateTexts, cfg.rateTexts, sizeof cfg.rateTexts));
    QlSettingsRec saved = ReadCompany(0);
    EXPECT_EQ(0, memcmp(&saved, &cfg, sizeof saved));
    EXPECT_NE(file, FileBytes());

    // The user's own currency stays while only the language changes.
    memcpy(QlSettings.cfg.currency, "NZD", 4);
    page = OpenPage(QL_CFG_PAGE_LANGUAGE);
    SendDlgItemMessageA(page, IDC_CFG_LANGUAGE, CB_SETCURSEL, QL_LANG_DUTCH, 0);
    Press(page, QL_CFG_CMD_SAVE);
    EXPECT_EQ(QL_LANG_DUTCH, cfg.language);
    EXPECT_STREQ("NZD", cfg.currency);
}

// Another language on the language page: the company's file keeps the
// letter the company wrote, and the stock ones come in the new language.
TEST_F(SettingsTest, ALanguageKeepsTheCompanysOwnLetterInItsFile)
{
    QlLangCopyLetters(QL_LANG_ENGLISH, &company_);
    strcpy(company_.letters[1].body, "Dear customer,\r\nplease pay by Friday.\r\nMary");
    ASSERT_TRUE(Start());
    HWND page = OpenPage(QL_CFG_PAGE_LANGUAGE);
    SendDlgItemMessageA(page, IDC_CFG_LANGUAGE, CB_SETCURSEL, QL_LANG_GERMAN, 0);
    Press(page, QL_CFG_CMD_SAVE);
    QlSettingsRec saved = ReadCompany(0);
    EXPECT_EQ(QL_LANG_GERMAN, saved.language);
    EXPECT_STREQ("Dear customer,\r\nplease pay by Friday.\r\nMary", saved.letters[1].body);
    EXPECT_STREQ(company_.letters[1].title, saved.letters[1].title);
    const QlLetterTemplate *german = QlLangTextTable[QL_LANG_GERMAN].Letters;
    for (int i : {0, 2, 3}) EXPECT_EQ(0, memcmp(&german[i], &saved.letters[i], sizeof german[i])) << i;
}

// Apply puts the language on the whole program at once: menu, tool bars,
// the tabs, the heading and the page with its tool bar, the letters.
TEST_F(SettingsTest, GermanApplyRelabelsAtOnce)
{
    HWND main = Start();
    ASSERT_TRUE(main);
    HWND page = OpenPage(QL_CFG_PAGE_LANGUAGE);
    SendDlgItemMessageA(page, IDC_CFG_LANGUAGE, CB_SETCURSEL, QL_LANG_GERMAN, 0);
    SendDlgItemMessageA(page, IDB_CFG_APPLY, BM_CLICK, 0, 0);
    PumpMessages();

    EXPECT_EQ(QL_LANG_GERMAN, QlSettings.cfg.language);
    HWND tabs = GetDlgItem(QlCfgWindow(), IDC_CFG_TABS);
    EXPECT_EQ("Sprache", TabText(tabs, 0));
    EXPECT_EQ("Briefe", TabText(tabs, 5));
    EXPECT_EQ(page, QlCfgPageWindow());
    EXPECT_EQ(" Speichern ", ButtonText(QlCfgPageToolbar(), QL_CFG_CMD_SAVE));
    EXPECT_EQ(" Schlie\xdf" "en ", ButtonText(QlCfgPageToolbar(), QL_CFG_CMD_CLOSE));
    EXPECT_EQ("\xdc" "bernehmen", ItemText(page, IDB_CFG_APPLY));
    EXPECT_EQ("Kunden", ButtonText(QlMainToolbarWnd, 0));
    char title[64] = "";
    GetMenuStringA(GetMenu(main), 0, title, sizeof title, MF_BYPOSITION);
    EXPECT_STREQ("&Datei", title);
    EXPECT_EQ(0, memcmp(QlLangTextTable[QL_LANG_GERMAN].Letters, QlSettings.cfg.letters, sizeof QlSettings.cfg.letters));
}

TEST_F(SettingsTest, InvoicePagePointSizeIsOneToSixteen)
{
    ASSERT_TRUE(Start());
    const struct {
        const char *typed;
        int stored;
        bool refused;
    } cases[] = {{"16", 16, false}, {"1", 1, false}, {"17", 7, true}, {"0", 7, true}, {"", 7, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        QlSettings.cfg.bottomPointSize = 9;
        HWND page = OpenPage(QL_CFG_PAGE_INVOICES);
        SetDlgItemTextA(page, IDE_CFG_POINT_SIZE, c.typed);
        SetDlgItemTextA(page, IDE_CFG_LINE9, "Payment within 30 days");
        MsgAnswers answers;
        Press(page, QL_CFG_CMD_SAVE);
        EXPECT_EQ(c.stored, QlSettings.cfg.bottomPointSize);
        EXPECT_EQ(c.stored, ReadCompany(0).bottomPointSize);
        EXPECT_STREQ("Payment within 30 days", ReadCompany(0).bottomLines[8]);   // the rest is saved too
        ASSERT_EQ(c.refused ? 1u : 0u, answers.asked.size());
        if (c.refused) {
            EXPECT_EQ("Footnote font size not changed", answers.asked[0].caption);
            EXPECT_EQ("Valid font is 1 to 16 points, default of 7 now set.", answers.asked[0].text);
        }
    }
}

// Load Defaults and the cell margins take effect at once, before Save and
// even with Close.
TEST_F(SettingsTest, InvoicePageDefaultsAndMarginsAtOnce)
{
    company_.invoiceType = 1;
    ASSERT_TRUE(Start());
    HWND page = OpenPage(QL_CFG_PAGE_INVOICES);
    EXPECT_EQ(1, (int)SendDlgItemMessageA(page, IDC_CFG_INVOICE_TYPE, CB_GETCURSEL, 0, 0));
    EXPECT_EQ("d/MM/yyyy", ItemText(page, IDC_CFG_DATE_FORMAT));
    SendDlgItemMessageA(page, IDB_CFG_LOAD_DEFAULTS, BM_CLICK, 0, 0);
    EXPECT_EQ(0, QlSettings.cfg.invoiceType);
    EXPECT_EQ(0, (int)SendDlgItemMessageA(page, IDC_CFG_INVOICE_TYPE, CB_GETCURSEL, 0, 0));

    DialogDriver driver({[](HWND dialog) {
        EXPECT_EQ(11, (int)SendDlgItemMessageA(dialog, IDC_CELL_MARGIN_TOP, CB_GETCOUNT, 0, 0));
        SendDlgItemMessageA(dialog, IDC_CELL_MARGIN_TOP, CB_SETCURSEL, 3, 0);
        SendDlgItemMessageA(dialog, IDC_CELL_MARGIN_RIGHT, CB_SETCURSEL, 10, 0);
        ClickButton(dialog, IDOK);
    }});
    SendDlgItemMessageA(page, IDB_CFG_CELL_MARGIN, BM_CLICK, 0, 0);
    EXPECT_EQ(1u, driver.stepsRun());
    EXPECT_EQ(3, QlSettings.cfg.cellMarginTop);
    EXPECT_EQ(10, QlSettings.cfg.cellMarginRight);
    Press(page, QL_CFG_CMD_CLOSE);
    EXPECT_EQ(0, QlSettings.cfg.invoiceType);
    EXPECT_EQ(3, QlSettings.cfg.cellMarginTop);
}

TEST_F(SettingsTest, InvoicePageLogoPreviewAndTotalInWords)
{
    company_.printTotalInWords = 1;
    ASSERT_TRUE(Start());
    ASSERT_TRUE(work_.copyImages());
    HWND page = OpenPage(QL_CFG_PAGE_INVOICES);
    EXPECT_EQ(nullptr, QlCfgLogoPreview());
    EXPECT_NE(nullptr, GetDlgItem(page, IDB_CFG_TOTAL_IN_WORDS));
    {
        PickerAnswers pickers("", work_.path() + "\\images\\ireland.bmp");
        MsgAnswers answers;
        SendDlgItemMessageA(page, IDB_CFG_LOGO_BROWSE, BM_CLICK, 0, 0);
        EXPECT_EQ(pickers.file, ItemText(page, IDE_CFG_LOGO_PATH));
        EXPECT_NE(nullptr, QlCfgLogoPreview());
        EXPECT_TRUE(answers.asked.empty());
        const std::string taken = pickers.file;
        HBITMAP preview = QlCfgLogoPreview();

        // A file that is no picture, and a bitmap header declaring 8192 x 8192
        // pixels over 2 KB of run-length data: each is refused as it is
        // chosen, named in the message, and the logo and its preview stay.
        std::string huge = work_.path() + "\\huge.bmp";
        std::vector<unsigned char> bytes = {'B', 'M'};
        auto le32 = [&bytes](uint32_t v) {
            for (int i = 0; i < 4; i++) bytes.push_back((unsigned char)(v >> (8 * i)));
        };
        le32(14 + 40 + 1024 + 2048), le32(0), le32(14 + 40 + 1024), le32(40), le32(8192), le32(8192);
        le32(1 | 8 << 16), le32(1), le32(2048), le32(0), le32(0), le32(256), le32(0);
        bytes.resize(bytes.size() + 1024);
        for (int i = 0; i < 1024; i++) bytes.push_back(i % 2 ? 0 : 255), bytes.push_back(0);
        HANDLE file = CreateFileA(huge.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL));
        CloseHandle(file);
        const std::string refusedFiles[] = {work_.path() + "\\COMP000\\cfg.dta", huge};
        for (const std::string &refused : refusedFiles) {
            SCOPED_TRACE(refused);
            answers.asked.clear();
            pickers.file = refused;
            SendDlgItemMessageA(page, IDB_CFG_LOGO_BROWSE, BM_CLICK, 0, 0);
            ASSERT_EQ(1u, answers.asked.size());
            EXPECT_EQ("Error", answers.asked[0].caption);
            EXPECT_EQ("Cannot load logo image\n\n" + refused +
                          "\n\nLogos are read from whole BMP, JPEG, GIF or PNG files of at most 8192 x 8192 pixels "
                          "(256 MB once decoded).",
                      answers.asked[0].text);
            EXPECT_EQ(IDD_MSG_BOX_TALL, answers.asked[0].dialogId);   // the tall box: room for a long path
            EXPECT_EQ(taken, ItemText(page, IDE_CFG_LOGO_PATH));
            EXPECT_EQ(preview, QlCfgLogoPreview());
        }
        Press(page, QL_CFG_CMD_SAVE);
        EXPECT_EQ(taken, QlSettings.cfg.logoPath);

        // A PNG logo and a bitmap of the newer header are taken and previewed.
        page = OpenPage(QL_CFG_PAGE_INVOICES);
        const struct {
            const char *name;
            std::vector<uint8_t> bytes;
        } logos[] = {
            {"logo.png", QlTestPngBytes(120, 40, RGB(0, 0, 0), RGB(220, 30, 30))},
            {"logo-v5.bmp", QlTestBmpNewHeaderBytes(124, 60, 20, RGB(0, 0, 0), RGB(240, 160, 0))},
        };
        for (const auto &logo : logos) {
            SCOPED_TRACE(logo.name);
            answers.asked.clear();
            pickers.file = work_.path() + "\\" + logo.name;
            ASSERT_TRUE(QlTestWriteFile(pickers.file, logo.bytes.data(), logo.bytes.size()));
            SendDlgItemMessageA(page, IDB_CFG_LOGO_BROWSE, BM_CLICK, 0, 0);
            EXPECT_TRUE(answers.asked.empty());
            EXPECT_EQ(pickers.file, ItemText(page, IDE_CFG_LOGO_PATH));
            int width = 0, height = 0;
            ASSERT_TRUE(QlTestBitmapSize(QlCfgLogoPreview(), &width, &height));
            EXPECT_EQ(logo.bytes[0] == 'B' ? 60 : 120, width);
            EXPECT_EQ(logo.bytes[0] == 'B' ? 20 : 40, height);
            EXPECT_EQ(logo.bytes[0] == 'B' ? RGB(240, 160, 0) : RGB(220, 30, 30),
                      QlTestBitmapPixel(QlCfgLogoPreview(), 5, 5));
        }
        Press(page, QL_CFG_CMD_SAVE);
        EXPECT_EQ(work_.path() + "\\logo-v5.bmp", QlSettings.cfg.logoPath);
    }
    EXPECT_EQ(nullptr, QlCfgLogoPreview());   // released with the page

    // Only English offers the total in words; other languages leave it as it is.
    QlSettings.cfg.language = QL_LANG_FRENCH;
    page = OpenPage(QL_CFG_PAGE_INVOICES);
    EXPECT_EQ(nullptr, GetDlgItem(page, IDB_CFG_TOTAL_IN_WORDS));
    Press(page, QL_CFG_CMD_SAVE);
    EXPECT_EQ(1, QlSettings.cfg.printTotalInWords);
}

TEST_F(SettingsTest, TaxPageRatesFromTheirEdits)
{
    ASSERT_TRUE(Start());
    std::string file = FileBytes();
    const struct {
        int rate;
        const char *whole;
        const char *hundredths;
        const char *text;
        int64_t hundredthsOfPercent;
    } cases[] = {
        {1, "17", "5", "B - 17.05%", 1705}, {1, "7", "50", "B - 07.50%", 750},  {0, "99", "99", "A - 99.99%", 9999},
        {2, "", "", "C - 13.50%", 1350},    {2, "17", "", "C - 13.50%", 1350}, {0, "0", "0", "A - 00.00%", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.whole) + "." + c.hundredths);
        memcpy(QlSettings.cfg.rateTexts[c.rate], "X - 01.00%", QL_RATE_TEXT_WIDTH);
        QlSettings.cfg.rateTexts[c.rate][0] = (char)('A' + c.rate);
        QlVatBuildRateList();
        HWND page = OpenPage(QL_CFG_PAGE_TAX);
        EXPECT_EQ("01", ItemText(page, IDE_CFG_RATE_A_WHOLE + 2 * c.rate));
        SetDlgItemTextA(page, IDE_CFG_RATE_A_WHOLE + 2 * c.rate, c.whole);
        SetDlgItemTextA(page, IDE_CFG_RATE_A_HUNDREDTHS + 2 * c.rate, c.hundredths);
        Press(page, QL_CFG_CMD_SAVE);
        EXPECT_STREQ(c.text, QlSettings.cfg.rateTexts[c.rate]);
        EXPECT_STREQ(c.text, QlRateTextList[c.rate]);
        EXPECT_EQ(c.hundredthsOfPercent, QlSettings.rates[c.rate]);
        // Save reaches the company's file at once: a program ended now, by
        // any means, starts again with these rates.
        EXPECT_STREQ(c.text, ReadCompany(0).rateTexts[c.rate]);
    }
    EXPECT_NE(file, FileBytes());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("COMP000\\cfg.dta.new"));
}

// The list of the rates in force shows each rate as saved: its letter, the
// whole percent, the hundredths and "%", with its index as the item data.
TEST_F(SettingsTest, TaxPageListsTheRatesInForce)
{
    ASSERT_TRUE(Start());
    HWND page = OpenPage(QL_CFG_PAGE_TAX);
    HWND list = GetDlgItem(page, IDL_CFG_RATES);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ("20", QlTestGetCell(list, 1, 1));   // a United Kingdom company's standard rate
    HWND defaultRate = GetDlgItem(page, IDC_CFG_DEFAULT_RATE);
    auto choices = [&] {
        std::vector<std::string> texts;
        for (int i = 0; i < (int)SendMessageA(defaultRate, CB_GETCOUNT, 0, 0); i++) {
            char text[64] = "";
            SendMessageA(defaultRate, CB_GETLBTEXT, i, (LPARAM)text);
            texts.push_back(text);
        }
        return texts;
    };
    EXPECT_EQ((std::vector<std::string>{"A - 00.00%", "B - 20.00%", "C - 05.00%"}), choices());
    EXPECT_EQ(1, (int)SendMessageA(defaultRate, CB_GETCURSEL, 0, 0));   // a new company's default: rate B
    SetDlgItemTextA(page, IDE_CFG_RATE_B_WHOLE, "17");
    SetDlgItemTextA(page, IDE_CFG_RATE_B_HUNDREDTHS, "50");
    EXPECT_EQ("20", QlTestGetCell(list, 1, 1));   // not before Save
    SendMessageA(defaultRate, CB_SETCURSEL, 2, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(QL_CFG_CMD_SAVE, BN_CLICKED), (LPARAM)QlCfgPageToolbar());
    const char *rows[3][4] = {{"A", "00", ".00", "%"}, {"B", "17", ".50", "%"}, {"C", "05", ".00", "%"}};
    // The default rate's choices are the rates as saved, the choice kept.
    EXPECT_EQ((std::vector<std::string>{"A - 00.00%", "B - 17.50%", "C - 05.00%"}), choices());
    EXPECT_EQ(2, (int)SendMessageA(defaultRate, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(2, QlSettings.cfg.defaultRate);
    ASSERT_EQ(3, (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < 3; r++) {
        for (int c = 0; c < 4; c++) EXPECT_EQ(rows[r][c], QlTestGetCell(list, r, c)) << r << "," << c;
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = r;
        SendMessageA(list, LVM_GETITEMA, 0, (LPARAM)&item);
        EXPECT_EQ(r, (int)item.lParam);
    }
    EXPECT_EQ("Rates in force", ItemText(page, IDT_CFG_RATES_GROUP));
    PumpMessages();

    // The row writer on its own: the fourth column is always "%".
    HWND other = CreateWindowExA(0, WC_LISTVIEWA, "", LVS_REPORT, 0, 0, 200, 100, QlMainWnd, NULL, NULL, NULL);
    const char *titles[4] = {"", "", "", ""};
    const int widths[4] = {20, 20, 20, 20};
    QlListSetColumns(other, titles, 4, widths, 1, NULL);
    EXPECT_EQ(0, QlVatListAddRow(other, "X", "1", "2", 77));
    EXPECT_EQ(1, QlVatListAddRow(other, "Y", "", "", 78));
    EXPECT_EQ("X", QlTestGetCell(other, 0, 0));
    EXPECT_EQ("2", QlTestGetCell(other, 0, 2));
    EXPECT_EQ("%", QlTestGetCell(other, 1, 3));
    DestroyWindow(other);
}

TEST_F(SettingsTest, TaxPageNamesAndCurrency)
{
    ASSERT_TRUE(Start());
    const struct {
        const char *taxName;
        const char *currency;
        const char *storedName;
        const char *storedCurrency;
    } cases[] = {
        {"GST", "eur", "GST", "eur"}, {"", "EUR", "VAT", "Euro"}, {"MOMS", "", "MOMS", "Euro"}, {"ST", "USD", "ST", "USD"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.taxName) + "/" + c.currency);
        HWND page = OpenPage(QL_CFG_PAGE_TAX);
        SetDlgItemTextA(page, IDE_CFG_TAX_NAME, c.taxName);
        SetDlgItemTextA(page, IDE_CFG_CURRENCY, c.currency);
        Press(page, QL_CFG_CMD_SAVE);
        EXPECT_STREQ(c.storedName, QlSettings.cfg.taxName);
        EXPECT_STREQ(c.storedCurrency, QlSettings.cfg.currency);
        EXPECT_EQ(std::string(c.storedName) + " %", QlTaxLabel);
    }

    // "Euro" shows as its code; a pre-defined tax name counts at once, a
    // pre-defined currency goes into the edit.
    HWND page = OpenPage(QL_CFG_PAGE_TAX);
    EXPECT_EQ("USD", ItemText(page, IDE_CFG_CURRENCY));
    EXPECT_EQ(1, (int)SendDlgItemMessageA(page, IDC_CFG_CURRENCIES, CB_GETCURSEL, 0, 0));
    SendDlgItemMessageA(page, IDC_CFG_TAX_NAMES, CB_SETCURSEL, 1, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_CFG_TAX_NAMES, CBN_SELCHANGE), 0);
    EXPECT_STREQ("GST", QlSettings.cfg.taxName);
    EXPECT_STREQ("GST %", QlTaxLabel);
    EXPECT_EQ("GST", ItemText(page, IDE_CFG_TAX_NAME));
    SendDlgItemMessageA(page, IDC_CFG_CURRENCIES, CB_SETCURSEL, 3, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_CFG_CURRENCIES, CBN_SELCHANGE), 0);
    EXPECT_EQ("CHF", ItemText(page, IDE_CFG_CURRENCY));
    EXPECT_STREQ("USD", QlSettings.cfg.currency);

    int index = -1;
    EXPECT_EQ(1, QlCfgFindCurrency("USD", &index));
    EXPECT_EQ(1, index);
    EXPECT_EQ(1, QlCfgFindCurrency("EUR (Euro)", &index));
    EXPECT_EQ(2, index);
    EXPECT_EQ(0, QlCfgFindCurrency("XYZ", &index));
}

TEST_F(SettingsTest, MailPagePortIsOneTo65535)
{
    ASSERT_TRUE(Start());
    const struct {
        const char *typed;
        int stored;
        bool refused;
    } cases[] = {{"587", 587, false}, {"", 25, false}, {"65535", 65535, false},
                 {"70000", 25, true}, {"65536", 25, true}, {"0", 25, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        QlSettings.cfg.smtpPort = 25;
        HWND page = OpenPage(QL_CFG_PAGE_MAIL);
        EXPECT_EQ("25", ItemText(page, IDE_CFG_SMTP_PORT));
        SetDlgItemTextA(page, IDE_CFG_SMTP_PORT, c.typed);
        SetDlgItemTextA(page, IDE_CFG_SMTP_SERVER, "smtp.example.com");
        CheckDlgButton(page, IDB_CFG_USE_SSL, BST_CHECKED);
        MsgAnswers answers;
        Press(page, QL_CFG_CMD_SAVE);
        EXPECT_EQ(c.stored, QlSettings.cfg.smtpPort);
        QlSettingsRec saved = ReadCompany(0);
        EXPECT_EQ(c.stored, saved.smtpPort);
        EXPECT_STREQ("smtp.example.com", saved.smtpServer);
        EXPECT_EQ(1, saved.useSsl);
        ASSERT_EQ(c.refused ? 1u : 0u, answers.asked.size());
        if (c.refused) {
            EXPECT_EQ("SMTP port not changed", answers.asked[0].caption);
            EXPECT_EQ("The SMTP port is a number from 1 to 65535; the port stays 25.", answers.asked[0].text);
        }
    }
    HWND page = OpenPage(QL_CFG_PAGE_MAIL);
    for (int id : {IDE_CFG_SMTP_SERVER, IDE_CFG_MAIL_ADDRESS, IDE_CFG_SMTP_USER, IDE_CFG_SMTP_PASSWORD})
        EXPECT_EQ(80, (int)SendDlgItemMessageA(page, id, EM_GETLIMITTEXT, 0, 0)) << id;
}

TEST_F(SettingsTest, LettersKeepTheirLineBreaks)
{
    ASSERT_TRUE(Start());
    HWND page = OpenPage(QL_CFG_PAGE_LETTERS);
    EXPECT_EQ(" First Payment Reminder ", ItemText(page, IDT_CFG_LETTER2_GROUP));
    EXPECT_EQ(QlSettings.cfg.letters[3].title, ItemText(page, IDE_CFG_LETTER4_TITLE));
    const char body[] = "Dear customer,\r\n\r\nplease pay.\r\nThank you";
    SetDlgItemTextA(page, IDE_CFG_LETTER2_BODY, body);
    SetDlgItemTextA(page, IDE_CFG_LETTER2_TITLE, "Reminder");
    Press(page, QL_CFG_CMD_SAVE);

    QlSettingsRec saved;
    ASSERT_EQ(1, QlCfgLoad(0, &saved));
    EXPECT_STREQ(body, saved.letters[1].body);
    EXPECT_STREQ("Reminder", saved.letters[1].title);
    page = OpenPage(QL_CFG_PAGE_LETTERS);
    EXPECT_EQ(body, ItemText(page, IDE_CFG_LETTER2_BODY));
}

namespace {

// The printf conversions of a text, in order ("%s %u" gives "su").
std::string Conversions(const char *text)
{
    std::string out;
    for (const char *p = strchr(text, '%'); p; p = strchr(p, '%')) {
        p++;
        if (*p == '%') {
            p++;
            continue;
        }
        while (*p && strchr("-+ #0123456789.lhI", *p)) p++;
        if (*p && isalpha((unsigned char)*p)) out += *p;
    }
    return out;
}

}  // namespace

TEST(ShellTexts, EveryLanguageHasEveryTextWithinItsField)
{
    const char *english = (const char *)&QlShellTextTable[QL_LANG_ENGLISH];
    for (int lang = 0; lang < QL_LANG_COUNT; lang++) {
        SCOPED_TRACE(lang);
        const char *base = (const char *)&QlShellTextTable[lang];
        for (int f = 0; f < QlShellTextFieldCount; f++) {
            const QlLangFieldInfo &info = QlShellTextFields[f];
            for (size_t i = 0; i < info.count; i++) {
                size_t at = info.offset + i * info.stride;
                ASSERT_NE(nullptr, memchr(base + at, 0, info.width)) << info.name << "[" << i << "]";
                EXPECT_NE('\0', base[at]) << info.name << "[" << i << "]";
                EXPECT_EQ(Conversions(english + at), Conversions(base + at)) << info.name << "[" << i << "]";
            }
        }
    }
}

// The French tax page's headings carry the grave accent ("PARAM\xc8TRES"), which
// the dialog font draws as a single pixel over the capital E.
TEST(ShellTexts, FrenchTaxPageHeadingsHaveTheGraveAccent)
{
    const QlShellTextRec &french = QlShellTextTable[QL_LANG_FRENCH];
    EXPECT_STREQ("PARAM\xc8" "TRES DE TVA", french.CfgTaxGroup);
    EXPECT_STREQ("PARAM\xc8" "TRES DE DEVISE", french.CfgCurrencyGroup);
}
