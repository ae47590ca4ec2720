// The reports module's own language record: one record of texts per
// user-interface language, the fields listed in reports/QlRepTexts.def.
#pragma once

#include "settings/QlLangGen.h"

struct QlRepTextRec {
#define QL_LANG_DEF "reports/QlRepTexts.def"
#include "settings/QlLangStruct.h"
};

extern const QlRepTextRec QlRepTextTable[QL_LANG_COUNT];
extern const QlLangFieldInfo QlRepTextFields[];
extern const int QlRepTextFieldCount;

// The record of the current language (the settings' language).
const QlRepTextRec *QlRepText(void);
