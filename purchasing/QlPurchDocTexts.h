// The purchase documents' own language record: one record of texts per
// user-interface language, the fields listed in purchasing/QlPurchDocTexts.def.
#pragma once

#include "settings/QlLangGen.h"

struct QlPurchDocTextRec {
#define QL_LANG_DEF "purchasing/QlPurchDocTexts.def"
#include "settings/QlLangStruct.h"
};

extern const QlPurchDocTextRec QlPurchDocTextTable[QL_LANG_COUNT];
extern const QlLangFieldInfo QlPurchDocTextFields[];
extern const int QlPurchDocTextFieldCount;

// The record of the current language (the settings' language).
const QlPurchDocTextRec *QlPurchDocText(void);
