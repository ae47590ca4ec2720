// The e-mail dialog's own language record: one record of texts per
// user-interface language, the fields listed in netmail/QlMailTexts.def.
#pragma once

#include "settings/QlLangGen.h"

struct QlMailTextRec {
#define QL_LANG_DEF "netmail/QlMailTexts.def"
#include "settings/QlLangStruct.h"
};

extern const QlMailTextRec QlMailTextTable[QL_LANG_COUNT];
extern const QlLangFieldInfo QlMailTextFields[];
extern const int QlMailTextFieldCount;

// The record of the current language (the settings' language).
const QlMailTextRec *QlMailText(void);
