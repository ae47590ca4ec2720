// The document output module's language records.  Compiled to Windows-1252 (see
// CMakeLists.txt).
#include "documents/QlDocTexts.h"

#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

const QlDocTextRec QlDocTextTable[QL_LANG_COUNT] = {
#define QL_LANG_DEF "documents/QlDocTexts.def"
#include "settings/QlLangData.h"
};

const QlLangFieldInfo QlDocTextFields[] = {
#define QL_LANG_DEF "documents/QlDocTexts.def"
#define QL_LANG_REC QlDocTextRec
#include "settings/QlLangFields.h"
};
const int QlDocTextFieldCount = (int)(sizeof QlDocTextFields / sizeof QlDocTextFields[0]);

const QlDocTextRec *QlDocText(void)
{
    return &QlDocTextTable[QlLangIndex(QlSettings.cfg.language)];
}
