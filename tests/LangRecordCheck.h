// Checks a module's language records (see settings/QlLangGen.h): in every
// language every text ends inside its field, is not empty, and has the
// printf conversions of the English text.
#pragma once

#include "QlGTest.h"

#include "settings/QlLangGen.h"

#include <ctype.h>
#include <string.h>
#include <string>

// The printf conversions of a text, in order ("%s %u" gives "su").
inline std::string LangTextConversions(const char *text)
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

// table: the QL_LANG_COUNT records, English first, recordSize bytes apart.
inline void ExpectCompleteLangRecords(const void *table, size_t recordSize, const QlLangFieldInfo *fields, int count)
{
    const char *english = (const char *)table;
    for (int lang = 0; lang < QL_LANG_COUNT; lang++) {
        SCOPED_TRACE(lang);
        const char *base = english + lang * recordSize;
        for (int f = 0; f < count; f++) {
            const QlLangFieldInfo &info = fields[f];
            for (size_t i = 0; i < info.count; i++) {
                size_t offset = info.offset + i * info.stride;
                ASSERT_NE(nullptr, memchr(base + offset, 0, info.width)) << info.name;
                EXPECT_NE('\0', base[offset]) << info.name;
                EXPECT_EQ(LangTextConversions(english + offset), LangTextConversions(base + offset)) << info.name;
            }
        }
    }
}
