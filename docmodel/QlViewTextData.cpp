// The language records of the stored-document views and the quotation form.
// Compiled to Windows-1252 (see CMakeLists.txt).
#include "docmodel/QlViewTexts.h"

#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

const QlViewTextRec QlViewTextTable[QL_LANG_COUNT] = {
#define QL_LANG_DEF "docmodel/QlViewTexts.def"
#include "settings/QlLangData.h"
};

const QlLangFieldInfo QlViewTextFields[] = {
#define QL_LANG_DEF "docmodel/QlViewTexts.def"
#define QL_LANG_REC QlViewTextRec
#include "settings/QlLangFields.h"
};
const int QlViewTextFieldCount = (int)(sizeof QlViewTextFields / sizeof QlViewTextFields[0]);

const QlViewTextRec *QlViewText(void)
{
    return &QlViewTextTable[QlLangIndex(QlSettings.cfg.language)];
}
