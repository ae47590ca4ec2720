// The document output module's own language record: one record of texts per
// user-interface language, the fields listed in documents/QlDocTexts.def.
#pragma once

#include "settings/QlLangGen.h"

struct QlDocTextRec {
#define QL_LANG_DEF "documents/QlDocTexts.def"
#include "settings/QlLangStruct.h"
};

extern const QlDocTextRec QlDocTextTable[QL_LANG_COUNT];
extern const QlLangFieldInfo QlDocTextFields[];
extern const int QlDocTextFieldCount;

// The record of the current language (the settings' language).
const QlDocTextRec *QlDocText(void);
