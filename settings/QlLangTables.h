// The language tables of the shell and the window toolkit: one text record
// and one menu record per user-interface language, indexed by the settings'
// language (QlSettings.cfg.language).  Code never holds a translatable text:
// it takes the field of the current language's record, e.g.
// QlLangText()->Error.  The fields and their nine translations are listed in
// settings/QlLangTexts.def, settings/QlLangMenuTexts.def and settings/QlLangMenu.def.
#pragma once

#include "settings/QlLangGen.h"

enum QlLanguage {
    QL_LANG_ENGLISH,
    QL_LANG_GERMAN,
    QL_LANG_FRENCH,
    QL_LANG_SPANISH,
    QL_LANG_DANISH,
    QL_LANG_SWEDISH,
    QL_LANG_NORWEGIAN,
    QL_LANG_FINNISH,
    QL_LANG_DUTCH
};

// Captions, messages, labels and the letter templates.
struct QlLangTextRec {
#define QL_LANG_DEF "settings/QlLangTexts.def"
#include "settings/QlLangStruct.h"
};

// The main menu: the three pop-up titles and, per pop-up, its items' texts
// and command ids (the same ids in every language, those of menu 105).
#define QL_MENU_POPUP_MAX 3
#define QL_MENU_ITEM_MAX 10
#define QL_MENU_TEXT_WIDTH 40
struct QlLangPopup {
    int32_t count;
    char items[QL_MENU_ITEM_MAX][QL_MENU_TEXT_WIDTH];
    int32_t ids[QL_MENU_ITEM_MAX];
};
struct QlLangMenuBar {
    char titles[QL_MENU_POPUP_MAX][QL_MENU_TEXT_WIDTH];
    int32_t popupCount;
    QlLangPopup popups[QL_MENU_POPUP_MAX];
};

// The menu, the customers module's dialog texts, tool-bar descriptions, list
// column titles, report names and descriptions, settings tabs.
struct QlLangMenuRec {
    QlLangMenuBar bar;
#define QL_LANG_DEF "settings/QlLangMenuTexts.def"
#include "settings/QlLangStruct.h"
};

extern const QlLangTextRec QlLangTextTable[QL_LANG_COUNT];
extern const QlLangMenuRec QlLangMenuTable[QL_LANG_COUNT];

// The fields of both records, for checks over every text.
extern const QlLangFieldInfo QlLangTextFields[];
extern const int QlLangTextFieldCount;
extern const QlLangFieldInfo QlLangMenuFields[];
extern const int QlLangMenuFieldCount;

// The language index within 0-8 (anything else is English).
int QlLangIndex(int lang);
// The records of the current language (the settings' language).
const QlLangTextRec *QlLangText(void);
const QlLangMenuRec *QlLangMenu(void);
// The current language's tax-number label with the settings' tax name
// ("VAT No:"; "TAX No:" when the settings name none), cut to size bytes.
void QlLangTaxNoLabel(char *out, int size);

// Language names and codes: "English" ... "Nederlands", a null, "eng" ...
// "nl", a null.  The names are entries 0-8, the codes entries 10-18.
extern const char *QlLanguageNameTable[2 * QL_LANG_COUNT + 2];
#define QL_LANG_CODE(lang) (QlLanguageNameTable[QL_LANG_COUNT + 1 + (lang)])
