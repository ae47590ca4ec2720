// The customers module's language record.
#include "QlGTest.h"

#include "customers/QlCustTexts.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

#include <ctype.h>
#include <string.h>
#include <string>

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

TEST(CustTexts, EveryLanguageHasEveryTextWithinItsField)
{
    for (int lang = 0; lang < QL_LANG_COUNT; lang++) {
        SCOPED_TRACE(lang);
        const char *base = (const char *)&QlCustTextTable[lang];
        const char *english = (const char *)&QlCustTextTable[QL_LANG_ENGLISH];
        for (int f = 0; f < QlCustTextFieldCount; f++) {
            const QlLangFieldInfo &info = QlCustTextFields[f];
            const char *text = base + info.offset;
            ASSERT_NE(nullptr, memchr(text, 0, info.width)) << info.name;
            EXPECT_NE('\0', text[0]) << info.name;
            EXPECT_EQ(Conversions(english + info.offset), Conversions(text)) << info.name;
        }
    }
}

TEST(CustTexts, TheCurrentLanguageIsTheSettings)
{
    int saved = QlSettings.cfg.language;
    QlSettings.cfg.language = QL_LANG_GERMAN;
    EXPECT_STREQ("Kundenkonten", QlCustText()->Heading);
    EXPECT_STREQ("Konto l\xf6schen", QlCustText()->DeleteAccount);
    QlSettings.cfg.language = 42;
    EXPECT_STREQ("Customer Accounts", QlCustText()->Heading);
    QlSettings.cfg.language = saved;
}
