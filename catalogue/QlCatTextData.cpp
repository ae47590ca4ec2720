// The products module's language records.  Compiled to Windows-1252 (see
// CMakeLists.txt).
#include "catalogue/QlCatTexts.h"

#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

const QlCatTextRec QlCatTextTable[QL_LANG_COUNT] = {
#define QL_LANG_DEF "catalogue/QlCatTexts.def"
#include "settings/QlLangData.h"
};

const QlLangFieldInfo QlCatTextFields[] = {
#define QL_LANG_DEF "catalogue/QlCatTexts.def"
#define QL_LANG_REC QlCatTextRec
#include "settings/QlLangFields.h"
};
const int QlCatTextFieldCount = (int)(sizeof QlCatTextFields / sizeof QlCatTextFields[0]);

const QlCatTextRec *QlCatText(void)
{
    return &QlCatTextTable[QlLangIndex(QlSettings.cfg.language)];
}
