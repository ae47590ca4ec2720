// The language record of the stored-document views, the delivery note and
// the quotation form: one record of texts per user-interface language, the
// fields listed in docmodel/QlViewTexts.def.
#pragma once

#include "settings/QlLangGen.h"

struct QlViewTextRec {
#define QL_LANG_DEF "docmodel/QlViewTexts.def"
#include "settings/QlLangStruct.h"
};

extern const QlViewTextRec QlViewTextTable[QL_LANG_COUNT];
extern const QlLangFieldInfo QlViewTextFields[];
extern const int QlViewTextFieldCount;

// The record of the current language (the settings' language).
const QlViewTextRec *QlViewText(void);
