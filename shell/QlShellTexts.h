// The shell's own language record: the texts of the settings window and its
// pages, and of backup, restore and cleardown; one record per user-interface
// language, the fields listed in shell/QlShellTexts.def.
#pragma once

#include "settings/QlLangGen.h"

struct QlShellTextRec {
#define QL_LANG_DEF "shell/QlShellTexts.def"
#include "settings/QlLangStruct.h"
};

extern const QlShellTextRec QlShellTextTable[QL_LANG_COUNT];
extern const QlLangFieldInfo QlShellTextFields[];
extern const int QlShellTextFieldCount;

// The record of the current language (the settings' language).
const QlShellTextRec *QlShellText(void);
