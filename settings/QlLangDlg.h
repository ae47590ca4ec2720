// Language helpers the modules call: labelling a dialog and its tool bar
// from the current language, filling the language and country combos, and
// the letter templates of a language.
#pragma once

#include "ui/QlToolbar.h"
#include "settings/QlSettings.h"

#include <windows.h>

#define QL_LANG_COMBO_ID 1317
#define QL_COUNTRY_COMBO_ID 1318
#define QL_CUST_TOOLBAR_COUNT 14

// Copies count labels into the tool-bar items' texts, cut to fit.
void QlLangCopyLabels(QlToolbarItem *items, int count, const char (*labels)[80]);

// Copies the language's letter templates into a settings record (a new
// company gets the templates of its language).
void QlLangCopyLetters(int lang, QlSettingsRec *rec);

// Another language for a company: each of the record's letter templates that
// is still a stock one (a template of any language, or empty) becomes the
// language's; a template the company edited stays as it is.  The number of
// templates replaced.
int QlLangSwitchLetters(int lang, QlSettingsRec *rec);

// Customers module: copies the current language's 14 tool-bar labels into
// table (14 entries) and sets the dialog's labels.
void QlLangSetDlgTexts(HWND dialog, QlToolbarItem *table);

// Fills combo 1317 with the language names and combo 1318 with the country
// names, selecting the record's language and country.
void QlLangFillCombos(HWND dialog, const QlSettingsRec *rec);
