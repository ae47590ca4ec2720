// The customers module's own language record: one record of texts per
// user-interface language, the fields listed in customers/QlCustTexts.def.
#pragma once

#include "settings/QlLangGen.h"

struct QlCustTextRec {
#define QL_LANG_DEF "customers/QlCustTexts.def"
#include "settings/QlLangStruct.h"
};

extern const QlCustTextRec QlCustTextTable[QL_LANG_COUNT];
extern const QlLangFieldInfo QlCustTextFields[];
extern const int QlCustTextFieldCount;

// The record of the current language (the settings' language).
const QlCustTextRec *QlCustText(void);
