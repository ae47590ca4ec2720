// The products module's language record.
#include "LangRecordCheck.h"

#include "catalogue/QlCatTexts.h"
#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

TEST(CatTexts, EveryLanguageHasEveryTextWithinItsField)
{
    ExpectCompleteLangRecords(QlCatTextTable, sizeof QlCatTextTable[0], QlCatTextFields, QlCatTextFieldCount);
}
