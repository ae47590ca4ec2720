#include "QlUiText.h"

#include <stddef.h>

QlUiTextFn QlUiTextSource = NULL;

static const char *const kEnglish[QL_TEXT_COUNT] = {
    "OK",
    "Cancel",
    "Confirmation",
    "Warning: All entered data will be lost.\nProceed to close form?",
    "Save",
    "Print",
    "Email",
    "PDF",
    "Close",
};

const char *QlUiText(int id)
{
    if (id < 0 || id >= QL_TEXT_COUNT) return "";
    const char *text = QlUiTextSource ? QlUiTextSource(id) : NULL;
    return text ? text : kEnglish[id];
}
