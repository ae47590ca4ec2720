// The suppliers screens' language record.
#include "LangRecordCheck.h"

#include "purchasing/QlPurchTexts.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

TEST(PurchTexts, EveryLanguageHasEveryTextWithinItsField)
{
    ExpectCompleteLangRecords(QlPurchTextTable, sizeof QlPurchTextTable[0], QlPurchTextFields, QlPurchTextFieldCount);
}

TEST(PurchTexts, TheCurrentLanguageIsTheSettings)
{
    int saved = QlSettings.cfg.language;
    QlSettings.cfg.language = QL_LANG_GERMAN;
    EXPECT_STREQ("Lieferantenkonten", QlPurchText()->Heading);
    EXPECT_STREQ("Schlie\xdf" "en", QlPurchText()->Toolbar[6]);
    QlSettings.cfg.language = 42;
    EXPECT_STREQ("Supplier Accounts", QlPurchText()->Heading);
    QlSettings.cfg.language = saved;
}
