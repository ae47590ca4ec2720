// The e-mail dialog's language records.  Compiled to Windows-1252 (see
// CMakeLists.txt).
#include "netmail/QlMailTexts.h"

#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

const QlMailTextRec QlMailTextTable[QL_LANG_COUNT] = {
#define QL_LANG_DEF "netmail/QlMailTexts.def"
#include "settings/QlLangData.h"
};

const QlLangFieldInfo QlMailTextFields[] = {
#define QL_LANG_DEF "netmail/QlMailTexts.def"
#define QL_LANG_REC QlMailTextRec
#include "settings/QlLangFields.h"
};
const int QlMailTextFieldCount = (int)(sizeof QlMailTextFields / sizeof QlMailTextFields[0]);

const QlMailTextRec *QlMailText(void)
{
    return &QlMailTextTable[QlLangIndex(QlSettings.cfg.language)];
}
