#include "QlGTest.h"
#include "LangRecordCheck.h"
#include "resources/QlResMenu.h"
#include "settings/QlCountries.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <windows.h>
#include <ctype.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

struct Record {
    const char *name;
    const QlLangFieldInfo *fields;
    int fieldCount;
    const char *base;
    size_t size;
};

Record TextRecord(int lang)
{
    return {"text", QlLangTextFields, QlLangTextFieldCount, (const char *)&QlLangTextTable[lang],
            sizeof(QlLangTextRec)};
}

Record MenuRecord(int lang)
{
    return {"menu", QlLangMenuFields, QlLangMenuFieldCount, (const char *)&QlLangMenuTable[lang],
            sizeof(QlLangMenuRec)};
}

// Calls check(field, element index, text of language lang, English text) for
// every text of both records.
template <typename Check>
void ForEachText(int lang, Check check)
{
    for (Record (*make)(int) : {TextRecord, MenuRecord}) {
        Record rec = make(lang), english = make(QL_LANG_ENGLISH);
        for (int f = 0; f < rec.fieldCount; f++) {
            const QlLangFieldInfo &info = rec.fields[f];
            for (size_t i = 0; i < info.count; i++) {
                size_t at = info.offset + i * info.stride;
                ASSERT_LE(at + info.width, rec.size) << info.name;
                check(info, i, rec.base + at, english.base + at);
            }
        }
    }
}

}  // namespace

TEST(LangTables, EveryTextEndsWithinItsField)
{
    for (int lang = 0; lang < QL_LANG_COUNT; lang++) {
        SCOPED_TRACE(lang);
        ForEachText(lang, [](const QlLangFieldInfo &info, size_t i, const char *text, const char *) {
            EXPECT_NE(nullptr, memchr(text, 0, info.width)) << info.name << "[" << i << "]";
        });
    }
}

TEST(LangTables, EveryLanguageTranslatesWhatEnglishHolds)
{
    // Empty exactly where English is empty (the unused tool-bar entries and
    // descriptions), and the same printf conversions in the same order.
    for (int lang = 1; lang < QL_LANG_COUNT; lang++) {
        SCOPED_TRACE(QlLanguageNameTable[lang]);
        ForEachText(lang, [](const QlLangFieldInfo &info, size_t i, const char *text, const char *english) {
            EXPECT_EQ(english[0] == '\0', text[0] == '\0') << info.name << "[" << i << "] " << english;
            EXPECT_EQ(LangTextConversions(english), LangTextConversions(text)) << info.name << "[" << i << "] " << text;
        });
    }
}

TEST(LangTables, MenusMatchMenu105)
{
    HMENU menu = LoadMenuA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    ASSERT_NE(nullptr, menu);
    for (int lang = 0; lang < QL_LANG_COUNT; lang++) {
        SCOPED_TRACE(QlLanguageNameTable[lang]);
        const QlLangMenuBar &bar = QlLangMenuTable[lang].bar;
        ASSERT_EQ(GetMenuItemCount(menu), bar.popupCount);
        for (int p = 0; p < bar.popupCount; p++) {
            HMENU popup = GetSubMenu(menu, p);
            ASSERT_EQ(GetMenuItemCount(popup), bar.popups[p].count) << "pop-up " << p;
            EXPECT_NE('\0', bar.titles[p][0]);
            for (int i = 0; i < bar.popups[p].count; i++) {
                EXPECT_EQ(GetMenuItemID(popup, i), (UINT)bar.popups[p].ids[i]) << "pop-up " << p << " item " << i;
                EXPECT_NE('\0', bar.popups[p].items[i][0]);
            }
        }
    }
    DestroyMenu(menu);

    EXPECT_STREQ("&Modules", QlLangMenuTable[QL_LANG_ENGLISH].bar.titles[1]);
    EXPECT_STREQ("Settin&gs / Configuration", QlLangMenuTable[QL_LANG_ENGLISH].bar.popups[1].items[5]);
    EXPECT_EQ(IDM_MOD_SETTINGS, QlLangMenuTable[QL_LANG_ENGLISH].bar.popups[1].ids[5]);
}

// The access key of a menu text (the letter after its one '&', lower case),
// or 0 when it has none or more than one.
static unsigned char AccessKey(const char *text)
{
    const char *amp = strchr(text, '&');
    if (!amp || !amp[1] || amp[1] == ' ' || strchr(amp + 1, '&')) return 0;
    char key[2] = {amp[1], '\0'};
    CharLowerA(key);
    return (unsigned char)key[0];
}

// Every menu title and item has one access key, and no two entries of the
// bar or of one pop-up share theirs, in every language.
TEST(LangTables, MenusHaveUniqueAccessKeys)
{
    for (int lang = 0; lang < QL_LANG_COUNT; lang++) {
        SCOPED_TRACE(QlLanguageNameTable[lang]);
        const QlLangMenuBar &bar = QlLangMenuTable[lang].bar;
        std::vector<std::vector<const char *>> menus(1);
        for (int p = 0; p < bar.popupCount; p++) {
            menus[0].push_back(bar.titles[p]);
            menus.emplace_back();
            for (int i = 0; i < bar.popups[p].count; i++) menus.back().push_back(bar.popups[p].items[i]);
        }
        for (const auto &entries : menus) {
            std::string seen;
            for (const char *text : entries) {
                unsigned char key = AccessKey(text);
                EXPECT_NE(0, key) << text;
                EXPECT_EQ(std::string::npos, seen.find((char)key)) << text << ": its key is taken in its menu";
                seen += (char)key;
            }
        }
    }
}

TEST(LangTables, TextsAreWindows1252)
{
    EXPECT_STREQ("Fran\xe7" "ais", QlLanguageNameTable[2]);
    EXPECT_STREQ("Espa\xf1ol", QlLanguageNameTable[3]);
    EXPECT_STREQ("Schlie\xdf" "en", QlLangTextTable[QL_LANG_GERMAN].Close);
    EXPECT_STREQ("St\xe4ng", QlLangTextTable[QL_LANG_SWEDISH].Close);
    EXPECT_STREQ("\xc0 &propos", QlLangMenuTable[QL_LANG_FRENCH].bar.popups[2].items[1]);
    EXPECT_STREQ("\xc5&terst\xe4ll", QlLangMenuTable[QL_LANG_SWEDISH].bar.popups[0].items[2]);
    EXPECT_STREQ("N\xb0 SIREN:", QlCountryTable[12].businessLabel);
}

TEST(LangTables, LanguageNamesAndCodes)
{
    const char *names[] = {"English", "Deutsch", "Fran\xe7" "ais", "Espa\xf1ol", "Dansk", "Svenska", "Norsk", "Suomi",
                           "Nederlands"};
    const char *codes[] = {"eng", "de", "fr", "es", "dk", "se", "no", "fi", "nl"};
    for (int i = 0; i < QL_LANG_COUNT; i++) {
        EXPECT_STREQ(names[i], QlLanguageNameTable[i]);
        EXPECT_STREQ(codes[i], QL_LANG_CODE(i));
    }
    EXPECT_EQ(nullptr, QlLanguageNameTable[QL_LANG_COUNT]);
    EXPECT_EQ(nullptr, QlLanguageNameTable[2 * QL_LANG_COUNT + 1]);
    EXPECT_STREQ(".\\images\\uk.bmp", QlLangTextTable[QL_LANG_ENGLISH].FlagPath);
    EXPECT_STREQ(".\\images\\netherland.bmp", QlLangTextTable[QL_LANG_DUTCH].FlagPath);
}

TEST(LangTables, CurrentLanguageFollowsTheSettings)
{
    int saved = QlSettings.cfg.language;
    const struct {
        int stored, used;
    } cases[] = {{0, 0}, {1, 1}, {8, 8}, {9, 0}, {-3, 0}};
    for (const auto &c : cases) {
        QlSettings.cfg.language = c.stored;
        EXPECT_EQ(&QlLangTextTable[c.used], QlLangText()) << c.stored;
        EXPECT_EQ(&QlLangMenuTable[c.used], QlLangMenu()) << c.stored;
    }
    QlSettings.cfg.language = saved;
}

TEST(LangTables, LettersOfEveryLanguage)
{
    for (int lang = 0; lang < QL_LANG_COUNT; lang++) {
        const QlLangTextRec &t = QlLangTextTable[lang];
        for (int i = 0; i < QL_LETTER_COUNT; i++) {
            EXPECT_STREQ(t.LetterNames[i], t.Letters[i].title) << lang << " " << i;
            EXPECT_GT(strlen(t.Letters[i].body), 40u) << lang << " " << i;
        }
        EXPECT_NE(nullptr, strstr(t.Letters[3].body, "10")) << lang;  // the ten days of the final reminder
    }
    EXPECT_STREQ("Despite our previous request for payment on your overdue account, the debt remains unpaid.\r\n\r\n"
                 "Take notice that if full payment is not received within 10 days we shall, without further notice, "
                 "take legal action to recover the debt, all costs and interest to be borne by you\r\n\r\n"
                 "This is our final comminication on this issue.",
                 QlLangTextTable[QL_LANG_ENGLISH].Letters[3].body);
}

TEST(Countries, TablesAsListed)
{
    for (int i = 0; i < QL_COUNTRY_COUNT; i++) {
        const QlCountryRec &c = QlCountryTable[i];
        SCOPED_TRACE(QlCountryNameTable[i]);
        EXPECT_EQ(i, c.number);
        EXPECT_GE(c.taxNameIndex, 0);
        EXPECT_LT(c.taxNameIndex, QL_TAX_NAME_COUNT);
        EXPECT_GE(c.currencyIndex, 0);
        EXPECT_LT(c.currencyIndex, QL_CURRENCY_COUNT);
        for (int r = 0; r < QL_RATE_COUNT; r++) {
            const char *t = c.rates[r];
            EXPECT_TRUE(strlen(t) == 5 && isdigit((unsigned char)t[0]) && isdigit((unsigned char)t[1]) &&
                        t[2] == '.' && isdigit((unsigned char)t[3]) && isdigit((unsigned char)t[4]))
                << t;
        }
        EXPECT_TRUE(c.flagPath[0] == '\0' || strncmp(c.flagPath, ".\\images\\", 9) == 0) << c.flagPath;
        EXPECT_STREQ("00.00", c.rates[0]);   // the same letter means the same kind of rate everywhere
    }
    EXPECT_EQ(nullptr, QlCountryNameTable[QL_COUNTRY_COUNT]);
    EXPECT_EQ(nullptr, QlTaxNameTable[QL_TAX_NAME_COUNT]);
    EXPECT_EQ(nullptr, QlCurrencyTable[QL_CURRENCY_COUNT]);

    // Rows as listed: name, tax name, rate B, currency code, label, flag.
    const struct {
        int index;
        const char *name, *tax, *rateB, *currency, *label, *flag;
    } rows[] = {
        {0, "United Kingdom", "VAT", "20.00", "GBP", "", ".\\images\\uk.bmp"},
        {2, "Canada", "GST", "05.00", "CAD", "BN:", ".\\images\\canada.bmp"},
        {4, "Australia", "GST", "10.00", "AUD", "ABN:", ".\\images\\australia.bmp"},
        {6, "India", "GST", "18.00", "INR", "", ".\\images\\india.bmp"},
        {7, "British Virgin Islands", "VAT", "00.00", "USD", "", ""},
        {14, "Austria", "UST", "20.00", "EUR", "", ".\\images\\austria.bmp"},
        {23, "Chile", "IVA", "19.00", "CLP", "RUT:", ".\\images\\chile.bmp"},
        {24, "Denmark", "MOMS", "25.00", "DKK", "Org. nr:", ".\\images\\denmark.bmp"},
        {27, "Finland", "ALV", "25.50", "EUR", "Y-tunnus:", ".\\images\\finland.bmp"},
        {28, "Netherlands", "BTW", "21.00", "EUR", "OB nr", ".\\images\\netherland.bmp"},
        {29, "Other", "VAT", "23.00", "EUR", "", ""},
    };
    for (const auto &r : rows) {
        const QlCountryRec &c = QlCountryTable[r.index];
        EXPECT_STREQ(r.name, QlCountryNameTable[r.index]);
        EXPECT_STREQ(r.tax, QlTaxNameTable[c.taxNameIndex]);
        EXPECT_STREQ(r.rateB, c.rates[1]);
        EXPECT_EQ(0, strncmp(r.currency, QlCurrencyTable[c.currencyIndex], 3)) << r.name;
        EXPECT_STREQ(r.label, c.businessLabel);
        EXPECT_STREQ(r.flag, c.flagPath);
    }
}

// Every country has its own currency and its rates of today in the places of
// the other countries: A zero, B the standard rate, C the reduced rate.
TEST(Countries, EachCountryHasItsOwnCurrencyAndTodaysRates)
{
    const struct {
        const char *name, *currency, *a, *b, *c;
    } rows[QL_COUNTRY_COUNT] = {
        {"United Kingdom", "GBP", "00.00", "20.00", "05.00"}, {"United States", "USD", "00.00", "00.00", "00.00"},
        {"Canada", "CAD", "00.00", "05.00", "00.00"},         {"Ireland", "EUR", "00.00", "23.00", "13.50"},
        {"Australia", "AUD", "00.00", "10.00", "00.00"},      {"New Zealand", "NZD", "00.00", "15.00", "00.00"},
        {"India", "INR", "00.00", "18.00", "05.00"},          {"British Virgin Islands", "USD", "00.00", "00.00", "00.00"},
        {"Cayman Islands", "KYD", "00.00", "00.00", "00.00"}, {"Isle of Man", "GBP", "00.00", "20.00", "05.00"},
        {"Singapore", "SGD", "00.00", "09.00", "00.00"},      {"South Africa", "ZAR", "00.00", "15.00", "00.00"},
        {"France", "EUR", "00.00", "20.00", "05.50"},         {"Germany", "EUR", "00.00", "19.00", "07.00"},
        {"Austria", "EUR", "00.00", "20.00", "10.00"},        {"Belgium", "EUR", "00.00", "21.00", "06.00"},
        {"Liechtenstein", "CHF", "00.00", "08.10", "02.60"},  {"Luxembourg", "EUR", "00.00", "17.00", "08.00"},
        {"Switzerland", "CHF", "00.00", "08.10", "02.60"},    {"Spain", "EUR", "00.00", "21.00", "10.00"},
        {"Andorra", "EUR", "00.00", "04.50", "01.00"},        {"Mexico", "MXN", "00.00", "16.00", "00.00"},
        {"Argentina", "ARS", "00.00", "21.00", "10.50"},      {"Chile", "CLP", "00.00", "19.00", "00.00"},
        {"Denmark", "DKK", "00.00", "25.00", "00.00"},        {"Sweden", "SEK", "00.00", "25.00", "12.00"},
        {"Norway", "NOK", "00.00", "25.00", "15.00"},         {"Finland", "EUR", "00.00", "25.50", "13.50"},
        {"Netherlands", "EUR", "00.00", "21.00", "09.00"},    {"Other", "EUR", "00.00", "23.00", "13.50"},
    };
    for (int i = 0; i < QL_COUNTRY_COUNT; i++) {
        const QlCountryRec &c = QlCountryTable[i];
        SCOPED_TRACE(rows[i].name);
        EXPECT_STREQ(rows[i].name, QlCountryNameTable[i]);
        EXPECT_EQ(0, strncmp(rows[i].currency, QlCurrencyTable[c.currencyIndex], 3)) << QlCurrencyTable[c.currencyIndex];
        EXPECT_STREQ(rows[i].a, c.rates[0]);
        EXPECT_STREQ(rows[i].b, c.rates[1]);
        EXPECT_STREQ(rows[i].c, c.rates[2]);
    }
    // Each code stands once in the list.
    for (int i = 0; i < QL_CURRENCY_COUNT; i++)
        for (int j = i + 1; j < QL_CURRENCY_COUNT; j++)
            EXPECT_NE(0, strncmp(QlCurrencyTable[i], QlCurrencyTable[j], 3)) << QlCurrencyTable[i];
}

TEST(Countries, CurrenciesAreCodeAndName)
{
    for (int i = 0; i < QL_CURRENCY_COUNT; i++) {
        const char *c = QlCurrencyTable[i];
        ASSERT_NE(nullptr, c);
        size_t len = strlen(c);
        EXPECT_TRUE(len > 6 && isupper((unsigned char)c[0]) && isupper((unsigned char)c[1]) &&
                    isupper((unsigned char)c[2]) && c[3] == ' ' && c[4] == '(' && c[len - 1] == ')')
            << c;
    }
    EXPECT_STREQ("GBP (Pound Sterling)", QlCurrencyTable[0]);
    EXPECT_STREQ("USD (US Dollar)", QlCurrencyTable[1]);
    EXPECT_STREQ("EUR (Euro)", QlCurrencyTable[2]);
    EXPECT_STREQ("ZMK (Zambian Kwacha)", QlCurrencyTable[153]);
}
