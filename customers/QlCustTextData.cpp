// The customers module's language records.  Compiled to Windows-1252 (see
// CMakeLists.txt).
#include "customers/QlCustTexts.h"

#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

const QlCustTextRec QlCustTextTable[QL_LANG_COUNT] = {
#define QL_LANG_DEF "customers/QlCustTexts.def"
#include "settings/QlLangData.h"
};

const QlLangFieldInfo QlCustTextFields[] = {
#define QL_LANG_DEF "customers/QlCustTexts.def"
#define QL_LANG_REC QlCustTextRec
#include "settings/QlLangFields.h"
};
const int QlCustTextFieldCount = (int)(sizeof QlCustTextFields / sizeof QlCustTextFields[0]);

const QlCustTextRec *QlCustText(void)
{
    return &QlCustTextTable[QlLangIndex(QlSettings.cfg.language)];
}
