// The customers module's language record.
#include "LangRecordCheck.h"

#include "customers/QlCustTexts.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

TEST(CustTexts, EveryLanguageHasEveryTextWithinItsField)
{
    ExpectCompleteLangRecords(QlCustTextTable, sizeof QlCustTextTable[0], QlCustTextFields, QlCustTextFieldCount);
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
