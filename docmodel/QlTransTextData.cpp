// The transactions module's language records.  Compiled to Windows-1252 (see
// CMakeLists.txt).
#include "docmodel/QlTransTexts.h"

#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

const QlTransTextRec QlTransTextTable[QL_LANG_COUNT] = {
#define QL_LANG_DEF "docmodel/QlTransTexts.def"
#include "settings/QlLangData.h"
};

const QlLangFieldInfo QlTransTextFields[] = {
#define QL_LANG_DEF "docmodel/QlTransTexts.def"
#define QL_LANG_REC QlTransTextRec
#include "settings/QlLangFields.h"
};
const int QlTransTextFieldCount = (int)(sizeof QlTransTextFields / sizeof QlTransTextFields[0]);

const QlTransTextRec *QlTransText(void)
{
    return &QlTransTextTable[QlLangIndex(QlSettings.cfg.language)];
}
