// The shell's language records.  Compiled to Windows-1252 (see CMakeLists.txt).
#include "shell/QlShellTexts.h"

#include "settings/QlLangTables.h"
#include "settings/QlSettings.h"

const QlShellTextRec QlShellTextTable[QL_LANG_COUNT] = {
#define QL_LANG_DEF "shell/QlShellTexts.def"
#include "settings/QlLangData.h"
};

const QlLangFieldInfo QlShellTextFields[] = {
#define QL_LANG_DEF "shell/QlShellTexts.def"
#define QL_LANG_REC QlShellTextRec
#include "settings/QlLangFields.h"
};
const int QlShellTextFieldCount = (int)(sizeof QlShellTextFields / sizeof QlShellTextFields[0]);

const QlShellTextRec *QlShellText(void)
{
    return &QlShellTextTable[QlLangIndex(QlSettings.cfg.language)];
}
