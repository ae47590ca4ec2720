#include "QlGTest.h"
#include "QlTestWindows.h"
#include "settings/QlLangDlg.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <windows.h>
#include <string.h>
#include <string>

namespace {

// The settings are put back afterwards, so that other tests see the
// language the program starts with.
class LangDlgTest : public ::testing::Test {
protected:
    void SetUp() override { savedSettings_ = QlSettings; }
    void TearDown() override { QlSettings = savedSettings_; }
    QlSettingsBlock savedSettings_;
};

}  // namespace

TEST(LangDlg, NewCompanyTakesTheLettersOfItsLanguage)
{
    QlSettingsRec fresh;
    QlCfgSetInitial(&fresh);
    QlLangCopyLetters(QL_LANG_FINNISH, &fresh);
    EXPECT_STREQ("Osoitteenmuutos", fresh.letters[0].title);
    EXPECT_EQ(0, memcmp(fresh.letters, QlLangTextTable[QL_LANG_FINNISH].Letters, sizeof fresh.letters));
}

TEST_F(LangDlgTest, CustomersDialogTexts)
{
    const int ids[] = {1319, 1320, 1321, 1322, 1323, 1324, 1325, 1056, 1326, 1327,
                       1328, 1329, 1330, 1331, 1159, 1255, 1011, 1012, 1054};
    HWND dialog = QlTestHostWindow();
    for (int id : ids) QlTestAddEdit(dialog, id, "");
    QlToolbarItem table[QL_CUST_TOOLBAR_COUNT] = {};

    QlSettings.cfg.language = QL_LANG_SPANISH;
    QlLangSetDlgTexts(dialog, table);
    EXPECT_STREQ("Nuevo", table[0].text);
    EXPECT_STREQ("Cerrar", table[13].text);
    EXPECT_EQ("Buscar", QlTestGetText(dialog, 1054));
    EXPECT_EQ("Empresa: ", QlTestGetText(dialog, 1322));
    EXPECT_EQ("Aplicar descuento", QlTestGetText(dialog, 1011));
    for (int id : ids) EXPECT_NE("", QlTestGetText(dialog, id)) << id;
    DestroyWindow(dialog);
}

TEST(LangDlg, LanguageAndCountryCombos)
{
    const struct {
        int language, country, shownLanguage, shownCountry;
    } cases[] = {{3, 19, 3, 19}, {0, 0, 0, 0}, {8, 29, 8, 29}, {12, 30, 0, 0}, {-1, -5, 0, 0}};
    for (const auto &c : cases) {
        HWND dialog = QlTestHostWindow();
        for (int id : {QL_LANG_COMBO_ID, QL_COUNTRY_COMBO_ID})
            CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 200, 200, dialog,
                            (HMENU)(INT_PTR)id, GetModuleHandleA(NULL), NULL);
        QlSettingsRec rec;
        QlCfgSetInitial(&rec);
        rec.language = c.language;
        rec.country = c.country;
        QlLangFillCombos(dialog, &rec);
        HWND languages = GetDlgItem(dialog, QL_LANG_COMBO_ID);
        HWND countries = GetDlgItem(dialog, QL_COUNTRY_COMBO_ID);
        EXPECT_EQ(QL_LANG_COUNT, (int)SendMessageA(languages, CB_GETCOUNT, 0, 0));
        EXPECT_EQ(QL_COUNTRY_COUNT, (int)SendMessageA(countries, CB_GETCOUNT, 0, 0));
        EXPECT_EQ(c.shownLanguage, (int)SendMessageA(languages, CB_GETCURSEL, 0, 0)) << c.language;
        EXPECT_EQ(c.shownCountry, (int)SendMessageA(countries, CB_GETCURSEL, 0, 0)) << c.country;
        DestroyWindow(dialog);
    }
}
