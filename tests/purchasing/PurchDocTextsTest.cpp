// The purchase documents' language record.
#include "LangRecordCheck.h"

#include "purchasing/QlPurchDocTexts.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

TEST(PurchDocTexts, EveryLanguageHasEveryTextWithItsConversions)
{
    ExpectCompleteLangRecords(QlPurchDocTextTable, sizeof QlPurchDocTextTable[0], QlPurchDocTextFields,
                              QlPurchDocTextFieldCount);
    int saved = QlSettings.cfg.language;
    QlSettings.cfg.language = QL_LANG_GERMAN;
    EXPECT_STREQ("Eingangsrechnung", QlPurchDocText()->PurchaseInvoiceTitle);
    QlSettings.cfg.language = saved;
}
