// The reports module's language record.
#include "LangRecordCheck.h"

#include "reports/QlRepTexts.h"

TEST(RepTexts, EveryLanguageHasEveryTextWithinItsField)
{
    ExpectCompleteLangRecords(QlRepTextTable, sizeof QlRepTextTable[0], QlRepTextFields, QlRepTextFieldCount);
}
