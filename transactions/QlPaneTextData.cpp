// The language records of the transactions window and the payment forms.
// Compiled to Windows-1252 (see CMakeLists.txt).
#include "transactions/QlPaneTexts.h"

#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

const QlPaneTextRec QlPaneTextTable[QL_LANG_COUNT] = {
#define QL_LANG_DEF "transactions/QlPaneTexts.def"
#include "settings/QlLangData.h"
};

const QlLangFieldInfo QlPaneTextFields[] = {
#define QL_LANG_DEF "transactions/QlPaneTexts.def"
#define QL_LANG_REC QlPaneTextRec
#include "settings/QlLangFields.h"
};
const int QlPaneTextFieldCount = (int)(sizeof QlPaneTextFields / sizeof QlPaneTextFields[0]);

const QlPaneTextRec *QlPaneText(void)
{
    return &QlPaneTextTable[QlLangIndex(QlSettings.cfg.language)];
}
