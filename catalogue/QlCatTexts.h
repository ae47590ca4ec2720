// The products module's own language record: one record of texts per
// user-interface language, the fields listed in catalogue/QlCatTexts.def.
#pragma once

#include "settings/QlLangGen.h"

struct QlCatTextRec {
#define QL_LANG_DEF "catalogue/QlCatTexts.def"
#include "settings/QlLangStruct.h"
};

extern const QlCatTextRec QlCatTextTable[QL_LANG_COUNT];
extern const QlLangFieldInfo QlCatTextFields[];
extern const int QlCatTextFieldCount;

// The record of the current language (the settings' language).
const QlCatTextRec *QlCatText(void);
