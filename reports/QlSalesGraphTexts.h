// The sales statistics window's language record: one record of texts per
// user-interface language, the fields listed in reports/QlSalesGraphTexts.def.
#pragma once

#include "settings/QlLangGen.h"

struct QlSalesTextRec {
#define QL_LANG_DEF "reports/QlSalesGraphTexts.def"
#include "settings/QlLangStruct.h"
};

extern const QlSalesTextRec QlSalesTextTable[QL_LANG_COUNT];
extern const QlLangFieldInfo QlSalesTextFields[];
extern const int QlSalesTextFieldCount;

// The record of the current language (the settings' language).
const QlSalesTextRec *QlSalesText(void);
