// The suppliers screens' own language record: one record of texts per
// user-interface language, the fields listed in purchasing/QlPurchTexts.def.
#pragma once

#include "settings/QlLangGen.h"

struct QlPurchTextRec {
#define QL_LANG_DEF "purchasing/QlPurchTexts.def"
#include "settings/QlLangStruct.h"
};

extern const QlPurchTextRec QlPurchTextTable[QL_LANG_COUNT];
extern const QlLangFieldInfo QlPurchTextFields[];
extern const int QlPurchTextFieldCount;

// The record of the current language (the settings' language).
const QlPurchTextRec *QlPurchText(void);
