// The transactions module's language record.
#include "LangRecordCheck.h"

#include "docmodel/QlTransTexts.h"
#include "docmodel/QlViewTexts.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"
#include "transactions/QlPaneTexts.h"

TEST(TransTexts, EveryLanguageHasEveryTextWithItsConversions)
{
    ExpectCompleteLangRecords(QlTransTextTable, sizeof QlTransTextTable[0], QlTransTextFields, QlTransTextFieldCount);
    ExpectCompleteLangRecords(QlViewTextTable, sizeof QlViewTextTable[0], QlViewTextFields, QlViewTextFieldCount);
}

TEST(TransTexts, TheCurrentLanguageIsTheSettings)
{
    int saved = QlSettings.cfg.language;
    QlSettings.cfg.language = QL_LANG_GERMAN;
    EXPECT_STREQ("Rechnung", QlTransText()->InvoiceTitle);
    QlSettings.cfg.language = 42;
    EXPECT_STREQ("Invoice", QlTransText()->InvoiceTitle);
    QlSettings.cfg.language = saved;
}

TEST(TransTexts, ThePaymentAndTransactionsWindowRecordsAreComplete)
{
    ExpectCompleteLangRecords(QlPaneTextTable, sizeof QlPaneTextTable[0], QlPaneTextFields, QlPaneTextFieldCount);
}
