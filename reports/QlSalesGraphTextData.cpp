// The sales statistics window's language records.  Compiled to Windows-1252
// (see CMakeLists.txt).
#include "reports/QlSalesGraphTexts.h"

#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

const QlSalesTextRec QlSalesTextTable[QL_LANG_COUNT] = {
#define QL_LANG_DEF "reports/QlSalesGraphTexts.def"
#include "settings/QlLangData.h"
};

const QlLangFieldInfo QlSalesTextFields[] = {
#define QL_LANG_DEF "reports/QlSalesGraphTexts.def"
#define QL_LANG_REC QlSalesTextRec
#include "settings/QlLangFields.h"
};
const int QlSalesTextFieldCount = (int)(sizeof QlSalesTextFields / sizeof QlSalesTextFields[0]);

const QlSalesTextRec *QlSalesText(void)
{
    return &QlSalesTextTable[QlLangIndex(QlSettings.cfg.language)];
}
