// The transactions module's own language record: one record of texts per
// user-interface language, the fields listed in docmodel/QlTransTexts.def.
#pragma once

#include "settings/QlLangGen.h"

struct QlTransTextRec {
#define QL_LANG_DEF "docmodel/QlTransTexts.def"
#include "settings/QlLangStruct.h"
};

extern const QlTransTextRec QlTransTextTable[QL_LANG_COUNT];
extern const QlLangFieldInfo QlTransTextFields[];
extern const int QlTransTextFieldCount;

// The record of the current language (the settings' language).
const QlTransTextRec *QlTransText(void);
