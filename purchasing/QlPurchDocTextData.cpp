// The purchase documents' language records.  Compiled to Windows-1252 (see
// CMakeLists.txt).
#include "purchasing/QlPurchDocTexts.h"

#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

const QlPurchDocTextRec QlPurchDocTextTable[QL_LANG_COUNT] = {
#define QL_LANG_DEF "purchasing/QlPurchDocTexts.def"
#include "settings/QlLangData.h"
};

const QlLangFieldInfo QlPurchDocTextFields[] = {
#define QL_LANG_DEF "purchasing/QlPurchDocTexts.def"
#define QL_LANG_REC QlPurchDocTextRec
#include "settings/QlLangFields.h"
};
const int QlPurchDocTextFieldCount = (int)(sizeof QlPurchDocTextFields / sizeof QlPurchDocTextFields[0]);

const QlPurchDocTextRec *QlPurchDocText(void)
{
    return &QlPurchDocTextTable[QlLangIndex(QlSettings.cfg.language)];
}
