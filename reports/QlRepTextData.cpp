// The reports module's language records.  Compiled to Windows-1252 (see
// CMakeLists.txt).
#include "reports/QlRepTexts.h"

#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

const QlRepTextRec QlRepTextTable[QL_LANG_COUNT] = {
#define QL_LANG_DEF "reports/QlRepTexts.def"
#include "settings/QlLangData.h"
};

const QlLangFieldInfo QlRepTextFields[] = {
#define QL_LANG_DEF "reports/QlRepTexts.def"
#define QL_LANG_REC QlRepTextRec
#include "settings/QlLangFields.h"
};
const int QlRepTextFieldCount = (int)(sizeof QlRepTextFields / sizeof QlRepTextFields[0]);

const QlRepTextRec *QlRepText(void)
{
    return &QlRepTextTable[QlLangIndex(QlSettings.cfg.language)];
}
