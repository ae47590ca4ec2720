// The language record of the transactions window and the customer payment
// forms: one record of texts per user-interface language, the fields listed
// in transactions/QlPaneTexts.def.
#pragma once

#include "settings/QlLangGen.h"

struct QlPaneTextRec {
#define QL_LANG_DEF "transactions/QlPaneTexts.def"
#include "settings/QlLangStruct.h"
};

extern const QlPaneTextRec QlPaneTextTable[QL_LANG_COUNT];
extern const QlLangFieldInfo QlPaneTextFields[];
extern const int QlPaneTextFieldCount;

// The record of the current language (the settings' language).
const QlPaneTextRec *QlPaneText(void);
