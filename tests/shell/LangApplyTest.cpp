#include "QlGTest.h"
#include "QlTestWindows.h"
#include "catalogue/QlCatalogueTables.h"
#include "ui/QlAppState.h"
#include "reports/QlReportTables.h"
#include "resources/QlResMenu.h"
#include "ui/QlLayout.h"
#include "ui/QlToolbar.h"
#include "shell/QlLangApply.h"
#include "settings/QlLangTables.h"
#include "shell/QlShellTables.h"
#include "transactions/QlTransTables.h"

#include <windows.h>
#include <commctrl.h>
#include <string.h>
#include <string>

namespace {

std::string MenuText(HMENU menu, UINT item, UINT flags)
{
    char text[128] = "";
    GetMenuStringA(menu, item, text, sizeof text, flags);
    return text;
}

// A main window with menu 105 and a language panel with its name static;
// English is applied again afterwards, so that other tests see the tables
// as the program starts with them.
class LangApplyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedSettings_ = QlSettings;
        HMENU menu = LoadMenuA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_MAIN_MENU));
        ASSERT_NE(nullptr, menu);
        QlMainWnd = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, NULL, menu,
                                    GetModuleHandleA(NULL), NULL);
        ASSERT_NE(nullptr, QlMainWnd);
        QlLangPanelWnd = QlTestHostWindow();
        CreateWindowExA(0, "STATIC", "English", WS_CHILD, 0, 0, 100, 20, QlLangPanelWnd,
                        (HMENU)(INT_PTR)QL_LANG_PANEL_NAME_ID, GetModuleHandleA(NULL), NULL);
    }

    void TearDown() override
    {
        QlLangApply(QL_LANG_ENGLISH, 0, 0);
        DestroyWindow(QlMainWnd);
        DestroyWindow(QlLangPanelWnd);
        QlMainWnd = NULL;
        QlLangPanelWnd = NULL;
        QlSettings = savedSettings_;
    }

    QlSettingsBlock savedSettings_;
};

}  // namespace

TEST_F(LangApplyTest, GermanMainMenu)
{
    QlLangApply(QL_LANG_GERMAN, 0, 0);
    HMENU menu = GetMenu(QlMainWnd);
    EXPECT_EQ("&Datei", MenuText(menu, 0, MF_BYPOSITION));
    EXPECT_EQ("&Module", MenuText(menu, 1, MF_BYPOSITION));
    EXPECT_EQ("&Hilfe", MenuText(menu, 2, MF_BYPOSITION));
    // The pop-ups stay where they were, with their items.
    ASSERT_EQ(3, GetMenuItemCount(menu));
    EXPECT_EQ(9, GetMenuItemCount(GetSubMenu(menu, 1)));
    EXPECT_EQ("&Meine Firmen", MenuText(menu, IDM_FILE_COMPANIES, MF_BYCOMMAND));
    EXPECT_EQ("&Einstellungen / Konfiguration", MenuText(menu, IDM_MOD_SETTINGS, MF_BYCOMMAND));
    EXPECT_EQ("&Vorg\xe4nge", MenuText(menu, IDM_MOD_TRANSACTIONS, MF_BYCOMMAND));
    EXPECT_EQ("&Info", MenuText(menu, IDM_HELP_ABOUT, MF_BYCOMMAND));
    EXPECT_EQ(IDM_MOD_SETTINGS, (int)GetMenuItemID(GetSubMenu(menu, 1), 5));

    QlLangApply(QL_LANG_ENGLISH, 0, 0);
    EXPECT_EQ("&File", MenuText(menu, 0, MF_BYPOSITION));
    EXPECT_EQ("C&leardown Transactions", MenuText(menu, IDM_MOD_CLEARDOWN, MF_BYCOMMAND));
}

TEST_F(LangApplyTest, TablesTakeTheLanguagesTexts)
{
    QlLangApply(QL_LANG_GERMAN, 0, 0);
    const QlLangTextRec &de = QlLangTextTable[QL_LANG_GERMAN];
    const QlLangMenuRec &deMenu = QlLangMenuTable[QL_LANG_GERMAN];

    EXPECT_STREQ("Kunden", QlMainToolbarTable[0].text);
    EXPECT_STREQ("Hilfe", QlMainToolbarTable[9].text);  // command 10
    EXPECT_STREQ(" Kundenkonten verwalten", QlToolbarTipTable[0]);
    for (int command : {6, 7, 9, 10}) EXPECT_STREQ("", QlToolbarTipTable[command]) << command;

    EXPECT_STREQ("Angebot", QlTransPaneToolbarTable[0].text);
    EXPECT_STREQ("Nr.:", QlTransPaneListColumnTable.columns[0].title);
    EXPECT_STREQ("Saldo:", QlTransPaneListColumnTable.columns[6].title);
    EXPECT_STREQ("Doc rowid", QlTransPaneListColumnTable.columns[7].title);  // not translated

    EXPECT_STREQ("Zugang", QlProdToolbarTable[3].text);
    EXPECT_STREQ("Bestand:", QlProdListColumnTable.columns[5].title);
    EXPECT_STREQ("Bestand:", QlStockListColumnTable.columns[5].title);
    EXPECT_STREQ("Row Id", QlProdListColumnTable.columns[6].title);
    EXPECT_STREQ("Preisliste", QlProdToolbarTable[5].text);
    EXPECT_STREQ("Drucken", QlServToolbarTable[3].text);
    EXPECT_STREQ("Preis:", QlServListColumnTable.columns[2].title);

    EXPECT_EQ(QlReportTaxName, QlReportNameTable[0]);
    EXPECT_EQ(deMenu.ReportNames[0], QlReportNameTable[1]);
    EXPECT_EQ(deMenu.ReportNames[6], QlReportNameTable[7]);
    EXPECT_EQ(nullptr, QlReportNameTable[8]);
    EXPECT_EQ(deMenu.ReportDescs[0], QlReportDescTable[0]);
    EXPECT_EQ(deMenu.ReportDescs[7], QlReportDescTable[7]);

    EXPECT_EQ(de.InvTypeService, QlInvoiceTypeTable[0]);
    EXPECT_EQ(de.InvTypeProduct, QlInvoiceTypeTable[1]);
    EXPECT_STREQ("Beschreibung", QlServLineHeadings[0]);
    EXPECT_STREQ("Einzelpreis", QlProdLineHeadings[5]);

    EXPECT_EQ("Deutsch", QlTestGetText(QlLangPanelWnd, QL_LANG_PANEL_NAME_ID));
    EXPECT_STREQ("Speichern", QlFormSaveCaption);
    EXPECT_STREQ("Schlie\xdf" "en", QlFormCloseCaption);
    EXPECT_STREQ("Lieferschein", QlDeliveryNoteCaption);
}

TEST_F(LangApplyTest, CloneCaptionIsThreeWordsOnly)
{
    const struct {
        int lang;
        const char *caption;
    } cases[] = {{QL_LANG_GERMAN, "Kopieren"}, {QL_LANG_FRENCH, "Copier"}, {QL_LANG_ENGLISH, "Clone"},
                 {QL_LANG_SPANISH, "Clone"},   {QL_LANG_DUTCH, "Clone"},   {42, "Clone"}};
    for (const auto &c : cases) {
        QlLangApply(c.lang, 0, 0);
        EXPECT_STREQ(c.caption, QlQuoteCloneCaption) << c.lang;
    }
}

TEST_F(LangApplyTest, LettersChangeOnlyWhenAskedTo)
{
    QlCfgSetInitial(&QlSettings.cfg);
    strcpy(QlSettings.cfg.letters[1].body, "Our own reminder.");

    // Start-up, or loading a company: the company's letters stay.
    QlLangApply(QL_LANG_FRENCH, 0, 0);
    EXPECT_STREQ("Our own reminder.", QlSettings.cfg.letters[1].body);

    // The user chose another language: the stock letters take it, the
    // company's own reminder stays.
    QlLangApply(QL_LANG_FRENCH, 0, 1);
    const QlLetterTemplate *french = QlLangTextTable[QL_LANG_FRENCH].Letters;
    EXPECT_EQ(0, memcmp(&QlSettings.cfg.letters[0], &french[0], sizeof french[0]));
    EXPECT_STREQ("Our own reminder.", QlSettings.cfg.letters[1].body);
    EXPECT_EQ(0, memcmp(&QlSettings.cfg.letters[2], &french[2], 2 * sizeof french[0]));
}

// Switching the language replaces a letter template only while it is still
// a stock one: any language's text for its place, or empty.  A template the
// company wrote (its title or body changed, or another place's stock text)
// stays, byte for byte.
TEST_F(LangApplyTest, SwitchingTheLanguageKeepsEveryEditedLetter)
{
    const QlLetterTemplate *english = QlLangTextTable[QL_LANG_ENGLISH].Letters;
    const QlLetterTemplate *german = QlLangTextTable[QL_LANG_GERMAN].Letters;
    const QlLetterTemplate *dutch = QlLangTextTable[QL_LANG_DUTCH].Letters;
    QlSettingsRec &cfg = QlSettings.cfg;
    QlCfgSetInitial(&cfg);
    cfg.letters[0] = german[0];                           // stock, another language
    strcpy(cfg.letters[1].title, "Reminder from Acme");   // title edited only
    cfg.letters[2] = english[3];                          // another place's stock text
    memset(&cfg.letters[3], 0, sizeof cfg.letters[3]);   // empty
    QlLetterTemplate edited[4];
    memcpy(edited, cfg.letters, sizeof edited);

    EXPECT_EQ(2, QlLangSwitchLetters(QL_LANG_DUTCH, &cfg));
    EXPECT_EQ(0, memcmp(&cfg.letters[0], &dutch[0], sizeof dutch[0]));
    EXPECT_EQ(0, memcmp(&cfg.letters[1], &edited[1], sizeof edited[1]));
    EXPECT_EQ(0, memcmp(&cfg.letters[2], &edited[2], sizeof edited[2]));
    EXPECT_EQ(0, memcmp(&cfg.letters[3], &dutch[3], sizeof dutch[3]));

    // A template whose body ends in a blank the stock one lacks is the user's.
    strcpy(cfg.letters[0].body, dutch[0].body);
    strcat(cfg.letters[0].body, " ");
    EXPECT_EQ(1, QlLangSwitchLetters(QL_LANG_ENGLISH, &cfg));
    EXPECT_EQ(std::string(dutch[0].body) + " ", cfg.letters[0].body);
    EXPECT_EQ(0, memcmp(&cfg.letters[3], &english[3], sizeof english[3]));
}

TEST_F(LangApplyTest, RecreatingTheMainToolbarReplacesTheOldOne)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    HWND old = CreateWindowExA(0, TOOLBARCLASSNAMEA, NULL, WS_CHILD, 0, 0, 0, 0, QlMainWnd, NULL,
                               GetModuleHandleA(NULL), NULL);
    ASSERT_NE(nullptr, old);
    QlMainToolbarWnd = old;
    QlLangApply(QL_LANG_SWEDISH, 1, 0);
    EXPECT_FALSE(IsWindow(old));
    ASSERT_NE(nullptr, QlMainToolbarWnd);
    EXPECT_EQ(QL_MAIN_TOOLBAR_COUNT, (int)SendMessageA(QlMainToolbarWnd, TB_BUTTONCOUNT, 0, 0));
    QlToolbarDestroy(QlMainToolbarWnd, QlMainToolbarTable, QL_MAIN_TOOLBAR_COUNT);
    QlMainToolbarWnd = NULL;
    EXPECT_STREQ("Kunder", QlMainToolbarTable[0].text);

    // Without a tool bar nothing is created.
    QlLangApply(QL_LANG_SWEDISH, 1, 0);
    EXPECT_EQ(nullptr, QlMainToolbarWnd);
}
