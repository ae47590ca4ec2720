// The transactions module's language record.
#include "QlGTest.h"

#include "settings/QlLangTables.h"
#include "transactions/QlTransTexts.h"

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

TEST(TransTexts, EveryLanguageHasEveryTextWithItsConversions)
{
    for (int lang = 0; lang < QL_LANG_COUNT; lang++) {
        SCOPED_TRACE(lang);
        const char *base = (const char *)&QlTransTextTable[lang];
        const char *english = (const char *)&QlTransTextTable[QL_LANG_ENGLISH];
        for (int f = 0; f < QlTransTextFieldCount; f++) {
            const QlLangFieldInfo &info = QlTransTextFields[f];
            for (size_t i = 0; i < info.count; i++) {
                size_t offset = info.offset + i * info.stride;
                ASSERT_NE(nullptr, memchr(base + offset, 0, info.width)) << info.name;
                EXPECT_NE('\0', base[offset]) << info.name;
                EXPECT_EQ(Conversions(english + offset), Conversions(base + offset)) << info.name;
            }
        }
    }
}
