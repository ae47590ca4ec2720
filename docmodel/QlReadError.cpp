#include "docmodel/QlReadError.h"

#include "ui/QlMsgDialog.h"
#include "settings/QlLangTables.h"

void QlShowReadError(HWND owner, const char *err)
{
    QlMsgBox(owner, QlLangText()->DbReadFailed, err && err[0] ? err : QlLangText()->DbReadFailed, QL_COLOUR_WARNING);
}
