// The suppliers screens' language records.  Compiled to Windows-1252 (see
// CMakeLists.txt).
#include "purchasing/QlPurchTexts.h"

#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

const QlPurchTextRec QlPurchTextTable[QL_LANG_COUNT] = {
#define QL_LANG_DEF "purchasing/QlPurchTexts.def"
#include "settings/QlLangData.h"
};

const QlLangFieldInfo QlPurchTextFields[] = {
#define QL_LANG_DEF "purchasing/QlPurchTexts.def"
#define QL_LANG_REC QlPurchTextRec
#include "settings/QlLangFields.h"
};
const int QlPurchTextFieldCount = (int)(sizeof QlPurchTextFields / sizeof QlPurchTextFields[0]);

const QlPurchTextRec *QlPurchText(void)
{
    return &QlPurchTextTable[QlLangIndex(QlSettings.cfg.language)];
}
